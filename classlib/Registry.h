// Access to the system registry through one open key at a time.
//
// Key paths follow one rule everywhere: a path that starts with "\" is taken from the
// root key; any other path is taken from the current key when one is open, else from
// the root key.
#pragma once

#include <windows.h>

#include "classlib/Exceptions.h"
#include "classlib/Objects.h"

class TStrings;

// The kinds of data a value can hold, as far as this class reads and writes them.
enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  FILETIME FileTime{};
};

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

inline constexpr const char* SRegCreateFailed = "Failed to create key %s";
inline constexpr const char* SRegSetDataFailed = "Failed to set data for '%s'";
inline constexpr const char* SRegGetDataFailed = "Failed to get data for '%s'";
inline constexpr const char* SInvalidRegType = "Invalid data type for '%s'";

class TRegistry : public TObject {
  TCLASS_DECL(TRegistry, TObject)
 public:
  explicit TRegistry(REGSAM AAccess = KEY_ALL_ACCESS);
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Changing the root key closes the current key.
  void SetRootKey(HKEY Value);
  HKEY CurrentKey() const { return FCurrentKey; }
  // The path of the current key below the root key, without a leading "\".
  const AnsiString& CurrentPath() const { return FCurrentPath; }
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM Value) { FAccess = Value; }
  // Kept for compatibility; keys are always closed without an explicit flush.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool Value) { FLazyWrite = Value; }

  // Makes Key the current key; with CanCreate a missing key is created. False when
  // the key cannot be opened (the current key then stays as it was).
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  // Opens Key for reading only; writes through it fail.
  bool OpenKeyReadOnly(const AnsiString& Key);
  void CloseKey();
  // Creates Key (raises ERegistryException "Failed to create key %s" on failure)
  // without changing the current key.
  bool CreateKey(const AnsiString& Key);
  // Deletes Key with all its subkeys and values.
  bool DeleteKey(const AnsiString& Key);
  bool DeleteValue(const AnsiString& Name);
  bool KeyExists(const AnsiString& Key);
  bool ValueExists(const AnsiString& Name);
  bool HasSubKeys();
  bool GetKeyInfo(TRegKeyInfo& Value);
  bool GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value);
  // The names of the current key's subkeys or values, replacing the list's contents.
  void GetKeyNames(TStrings* Strings);
  void GetValueNames(TStrings* Strings);

  TRegDataType GetDataType(const AnsiString& ValueName);
  // The size in bytes of the value's data, -1 when there is no such value.
  int GetDataSize(const AnsiString& ValueName);

  // A missing value reads as ""; a value that is not a string raises.
  AnsiString ReadString(const AnsiString& Name);
  void WriteString(const AnsiString& Name, const AnsiString& Value);
  void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
  // A missing value or one of another type raises ERegistryException.
  int ReadInteger(const AnsiString& Name);
  void WriteInteger(const AnsiString& Name, int Value);
  bool ReadBool(const AnsiString& Name);
  void WriteBool(const AnsiString& Name, bool Value);
  // Double values are stored as 8 bytes of binary data.
  double ReadFloat(const AnsiString& Name);
  void WriteFloat(const AnsiString& Name, double Value);
  // Copies the data into Buffer and returns its size; 0 for a missing value; raises
  // when the value is not binary or does not fit.
  int ReadBinaryData(const AnsiString& Name, void* Buffer, int BufSize);
  void WriteBinaryData(const AnsiString& Name, const void* Buffer, int BufSize);

 private:
  // Opens Key (by the path rule) with the given access; nullptr when it fails.
  HKEY GetKey(const AnsiString& Key, REGSAM Access);
  HKEY GetBaseKey(bool Relative) const;
  bool OpenKeyWith(const AnsiString& Key, bool CanCreate, REGSAM Access);
  void ChangeKey(HKEY Value, const AnsiString& Path);
  // Reads at most BufSize bytes; raises "Failed to get data" when the query fails.
  int GetData(const AnsiString& Name, void* Buffer, DWORD BufSize, TRegDataType& RegData);
  void PutData(const AnsiString& Name, const void* Buffer, DWORD BufSize, DWORD Type);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  AnsiString FCurrentPath;
  REGSAM FAccess;
  bool FLazyWrite = true;
};
