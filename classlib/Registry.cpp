#include "classlib/Registry.h"

#include <cstring>
#include <vector>

#include "classlib/StringLists.h"

TCLASS_IMPL(TRegistry)

namespace {

// The read rights enough to test for a key and to list it.
constexpr REGSAM KeyReadAccess = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

// Splits off a leading "\": true when Key is relative (no leading "\").
bool SplitRelative(const AnsiString& Key, AnsiString& Path) {
  bool Relative = Key.empty() || Key[0] != '\\';
  Path = Relative ? Key : Key.substr(1);
  return Relative;
}

TRegDataType DataTypeOf(DWORD Type) {
  switch (Type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

[[noreturn]] void ReadError(const AnsiString& Name) {
  throw ERegistryException(SInvalidRegType, {Name});
}

// Deletes the subkeys of Key, depth first, so that the key itself can be deleted.
void DeleteSubKeys(HKEY Key) {
  DWORD NumSubKeys = 0, MaxSubKeyLen = 0;
  if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, &NumSubKeys, &MaxSubKeyLen, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<char> Name(MaxSubKeyLen + 1);
  // From the last index down, so deleting does not shift the ones still to visit.
  for (DWORD I = NumSubKeys; I-- > 0;) {
    DWORD Len = static_cast<DWORD>(Name.size());
    if (RegEnumKeyExA(Key, I, Name.data(), &Len, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      continue;
    HKEY Sub = nullptr;
    if (RegOpenKeyExA(Key, Name.data(), 0, KEY_ALL_ACCESS, &Sub) == ERROR_SUCCESS) {
      DeleteSubKeys(Sub);
      RegCloseKey(Sub);
    }
    RegDeleteKeyA(Key, Name.data());
  }
}

}  // namespace

TRegistry::TRegistry(REGSAM AAccess) : FAccess(AAccess) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  FRootKey = Value;
  CloseKey();
}

HKEY TRegistry::GetBaseKey(bool Relative) const {
  return FCurrentKey && Relative ? FCurrentKey : FRootKey;
}

HKEY TRegistry::GetKey(const AnsiString& Key, REGSAM Access) {
  AnsiString Path;
  bool Relative = SplitRelative(Key, Path);
  HKEY Result = nullptr;
  if (RegOpenKeyExA(GetBaseKey(Relative), Path.c_str(), 0, Access, &Result) != ERROR_SUCCESS)
    return nullptr;
  return Result;
}

void TRegistry::ChangeKey(HKEY Value, const AnsiString& Path) {
  CloseKey();
  FCurrentKey = Value;
  FCurrentPath = Path;
}

bool TRegistry::OpenKeyWith(const AnsiString& Key, bool CanCreate, REGSAM Access) {
  AnsiString Path;
  bool Relative = SplitRelative(Key, Path);
  HKEY Temp = nullptr;
  LONG Status;
  if (!CanCreate || Path.empty())
    Status = RegOpenKeyExA(GetBaseKey(Relative), Path.c_str(), 0, Access, &Temp);
  else
    Status = RegCreateKeyExA(GetBaseKey(Relative), Path.c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, Access, nullptr, &Temp, nullptr);
  if (Status != ERROR_SUCCESS) return false;
  // A relative path continues the current one.
  if (FCurrentKey && Relative && !FCurrentPath.empty())
    Path = Path.empty() ? FCurrentPath : FCurrentPath + "\\" + Path;
  ChangeKey(Temp, Path);
  return true;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
  return OpenKeyWith(Key, CanCreate, FAccess);
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
  return OpenKeyWith(Key, false, KEY_READ);
}

void TRegistry::CloseKey() {
  if (FCurrentKey) RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

bool TRegistry::CreateKey(const AnsiString& Key) {
  AnsiString Path;
  bool Relative = SplitRelative(Key, Path);
  HKEY Temp = nullptr;
  if (RegCreateKeyExA(GetBaseKey(Relative), Path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &Temp, nullptr) != ERROR_SUCCESS)
    throw ERegistryException(SRegCreateFailed, {Key});
  RegCloseKey(Temp);
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
  AnsiString Path;
  bool Relative = SplitRelative(Key, Path);
  // Deleting the root key itself (an empty path) is never meant.
  if (Path.empty()) return false;
  if (HKEY Doomed = GetKey(Key, KEY_ALL_ACCESS)) {
    DeleteSubKeys(Doomed);
    RegCloseKey(Doomed);
  }
  return RegDeleteKeyA(GetBaseKey(Relative), Path.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
  return RegDeleteValueA(FCurrentKey, Name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const AnsiString& Key) {
  HKEY Temp = GetKey(Key, KeyReadAccess);
  if (!Temp) return false;
  RegCloseKey(Temp);
  return true;
}

bool TRegistry::ValueExists(const AnsiString& Name) {
  TRegDataInfo Info;
  return GetDataInfo(Name, Info);
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& Value) {
  Value = TRegKeyInfo();
  DWORD NumSubKeys = 0, MaxSubKeyLen = 0, NumValues = 0, MaxValueLen = 0, MaxDataLen = 0;
  if (RegQueryInfoKeyA(FCurrentKey, nullptr, nullptr, nullptr, &NumSubKeys, &MaxSubKeyLen,
                       nullptr, &NumValues, &MaxValueLen, &MaxDataLen, nullptr,
                       &Value.FileTime) != ERROR_SUCCESS)
    return false;
  Value.NumSubKeys = static_cast<int>(NumSubKeys);
  Value.MaxSubKeyLen = static_cast<int>(MaxSubKeyLen);
  Value.NumValues = static_cast<int>(NumValues);
  Value.MaxValueLen = static_cast<int>(MaxValueLen);
  Value.MaxDataLen = static_cast<int>(MaxDataLen);
  return true;
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo Info;
  return GetKeyInfo(Info) && Info.NumSubKeys > 0;
}

bool TRegistry::GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value) {
  Value = TRegDataInfo();
  DWORD Type = REG_NONE, Size = 0;
  if (RegQueryValueExA(FCurrentKey, ValueName.c_str(), nullptr, &Type, nullptr, &Size) !=
      ERROR_SUCCESS)
    return false;
  Value.RegData = DataTypeOf(Type);
  Value.DataSize = static_cast<int>(Size);
  return true;
}

TRegDataType TRegistry::GetDataType(const AnsiString& ValueName) {
  TRegDataInfo Info;
  return GetDataInfo(ValueName, Info) ? Info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const AnsiString& ValueName) {
  TRegDataInfo Info;
  return GetDataInfo(ValueName, Info) ? Info.DataSize : -1;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  Strings->Clear();
  TRegKeyInfo Info;
  if (!GetKeyInfo(Info)) return;
  std::vector<char> Name(Info.MaxSubKeyLen + 1);
  for (int I = 0; I < Info.NumSubKeys; ++I) {
    DWORD Len = static_cast<DWORD>(Name.size());
    if (RegEnumKeyExA(FCurrentKey, I, Name.data(), &Len, nullptr, nullptr, nullptr, nullptr) ==
        ERROR_SUCCESS)
      Strings->Add(AnsiString(Name.data(), Len));
  }
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->Clear();
  TRegKeyInfo Info;
  if (!GetKeyInfo(Info)) return;
  std::vector<char> Name(Info.MaxValueLen + 1);
  for (int I = 0; I < Info.NumValues; ++I) {
    DWORD Len = static_cast<DWORD>(Name.size());
    if (RegEnumValueA(FCurrentKey, I, Name.data(), &Len, nullptr, nullptr, nullptr, nullptr) ==
        ERROR_SUCCESS)
      Strings->Add(AnsiString(Name.data(), Len));
  }
}

int TRegistry::GetData(const AnsiString& Name, void* Buffer, DWORD BufSize,
                       TRegDataType& RegData) {
  DWORD Type = REG_NONE;
  if (RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &Type, static_cast<BYTE*>(Buffer),
                       &BufSize) != ERROR_SUCCESS)
    throw ERegistryException(SRegGetDataFailed, {Name});
  RegData = DataTypeOf(Type);
  return static_cast<int>(BufSize);
}

void TRegistry::PutData(const AnsiString& Name, const void* Buffer, DWORD BufSize, DWORD Type) {
  if (RegSetValueExA(FCurrentKey, Name.c_str(), 0, Type, static_cast<const BYTE*>(Buffer),
                     BufSize) != ERROR_SUCCESS)
    throw ERegistryException(SRegSetDataFailed, {Name});
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
  TRegDataInfo Info;
  if (!GetDataInfo(Name, Info) || Info.DataSize <= 0) return AnsiString();
  if (Info.RegData != rdString && Info.RegData != rdExpandString) ReadError(Name);
  // One spare byte: stored strings need not end with a zero.
  std::vector<char> Buffer(Info.DataSize + 1, '\0');
  TRegDataType RegData;
  GetData(Name, Buffer.data(), static_cast<DWORD>(Info.DataSize), RegData);
  return AnsiString(Buffer.data(), std::strlen(Buffer.data()));
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
  PutData(Name, Value.c_str(), static_cast<DWORD>(Value.size() + 1), REG_SZ);
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value) {
  PutData(Name, Value.c_str(), static_cast<DWORD>(Value.size() + 1), REG_EXPAND_SZ);
}

int TRegistry::ReadInteger(const AnsiString& Name) {
  TRegDataInfo Info;
  if (!GetDataInfo(Name, Info)) throw ERegistryException(SRegGetDataFailed, {Name});
  if (Info.RegData != rdInteger || Info.DataSize != sizeof(DWORD)) ReadError(Name);
  DWORD Result = 0;
  TRegDataType RegData;
  GetData(Name, &Result, sizeof(Result), RegData);
  return static_cast<int>(Result);
}

void TRegistry::WriteInteger(const AnsiString& Name, int Value) {
  DWORD Data = static_cast<DWORD>(Value);
  PutData(Name, &Data, sizeof(Data), REG_DWORD);
}

bool TRegistry::ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value); }

double TRegistry::ReadFloat(const AnsiString& Name) {
  TRegDataInfo Info;
  if (!GetDataInfo(Name, Info)) throw ERegistryException(SRegGetDataFailed, {Name});
  if (Info.RegData != rdBinary || Info.DataSize != sizeof(double)) ReadError(Name);
  double Result = 0;
  TRegDataType RegData;
  GetData(Name, &Result, sizeof(Result), RegData);
  return Result;
}

void TRegistry::WriteFloat(const AnsiString& Name, double Value) {
  PutData(Name, &Value, sizeof(Value), REG_BINARY);
}

int TRegistry::ReadBinaryData(const AnsiString& Name, void* Buffer, int BufSize) {
  TRegDataInfo Info;
  if (!GetDataInfo(Name, Info)) return 0;
  if ((Info.RegData != rdBinary && Info.RegData != rdUnknown) || Info.DataSize > BufSize)
    ReadError(Name);
  TRegDataType RegData;
  return GetData(Name, Buffer, static_cast<DWORD>(Info.DataSize), RegData);
}

void TRegistry::WriteBinaryData(const AnsiString& Name, const void* Buffer, int BufSize) {
  PutData(Name, Buffer, static_cast<DWORD>(BufSize), REG_BINARY);
}
