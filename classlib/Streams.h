// Byte streams: the abstract TStream, streams over memory, files, resources and
// strings.
#pragma once

#include <windows.h>

#include "classlib/Exceptions.h"
#include "classlib/Objects.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// TFileStream modes: one access mode, or'ed with one share mode. fmCreate creates the
// file or empties an existing one and opens it for reading and writing.
inline constexpr Word fmCreate = 0xFF00;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SFCreateErrorEx = "Cannot create file \"%s\". %s";
inline constexpr const char* SFOpenErrorEx = "Cannot open file \"%s\". %s";
inline constexpr const char* SCantWriteResourceStreamError =
    "Can't write to a read-only memory stream";
inline constexpr const char* SResNotFound = "Resource %s not found";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";

class TStream : public TObject {
  TCLASS_DECL(TStream, TObject)
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Up to Count bytes; the number moved (0 at the end).
  virtual int Read(void* Buffer, int Count) = 0;
  virtual int Write(const void* Buffer, int Count) = 0;
  // The new position.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  // By default measured by seeking to the end and back.
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize) = 0;

  // Exactly Count bytes, or EReadError "Stream read error" / EWriteError
  // "Stream write error".
  void ReadBuffer(void* Buffer, int Count);
  void WriteBuffer(const void* Buffer, int Count);
  // Copies Count bytes from Source's position; Count 0 copies the whole of Source
  // from its start, and a negative Count raises EReadError. Returns the number of
  // bytes copied.
  Int64 CopyFrom(TStream* Source, Int64 Count);
};

// A stream over a block of memory it does not own; reading and seeking only (writing
// or resizing raises EStreamError "Can't write to a read-only memory stream").
// Seeking past the end is allowed; reading there gives nothing.
class TCustomMemoryStream : public TStream {
  TCLASS_DECL(TCustomMemoryStream, TStream)
 public:
  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FSize; }
  void SetSize(Int64 NewSize) override;

  void* Memory() const { return FMemory; }
  // Makes the stream show Size bytes at Ptr.
  void SetPointer(void* Ptr, int Size);

  void SaveToStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);

 protected:
  Int64 FPosition = 0;

 private:
  void* FMemory = nullptr;
  int FSize = 0;
};

// A stream in memory of its own, taken from the memory manager; it grows as it is
// written and can be resized.
class TMemoryStream : public TCustomMemoryStream {
  TCLASS_DECL(TMemoryStream, TCustomMemoryStream)
 public:
  ~TMemoryStream() override;

  int Write(const void* Buffer, int Count) override;
  // The bytes past the old size are undefined; a position past the new end moves to it.
  void SetSize(Int64 NewSize) override;
  void Clear();
  // Replaces the contents with the whole of Stream (or the file); position 0 after.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const AnsiString& FileName);

  int Capacity() const { return FCapacity; }

 private:
  void SetCapacity(int NewCapacity);

  int FCapacity = 0;
};

// A stream over an open file handle that it does not close.
class THandleStream : public TStream {
  TCLASS_DECL(THandleStream, TStream)
 public:
  explicit THandleStream(HANDLE AHandle) : FHandle(AHandle) {}

  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  // -1 when the system refuses.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Truncates or extends the file at NewSize (raises EOSError on failure).
  void SetSize(Int64 NewSize) override;

  HANDLE Handle() const { return FHandle; }

 protected:
  HANDLE FHandle;
};

// A stream over a file it opens and closes. Raises EFCreateError
// "Cannot create file "<name>". <system message>" or EFOpenError
// "Cannot open file "<name>". <system message>".
class TFileStream : public THandleStream {
  TCLASS_DECL(TFileStream, THandleStream)
 public:
  TFileStream(const AnsiString& AFileName, Word Mode);
  ~TFileStream() override;

  const AnsiString& FileName() const { return FFileName; }

 private:
  AnsiString FFileName;
};

// A read-only stream over a resource of a module: FindResourceA and LoadResource.
// A missing resource raises EResNotFound "Resource <name> not found".
class TResourceStream : public TCustomMemoryStream {
  TCLASS_DECL(TResourceStream, TCustomMemoryStream)
 public:
  // ResType is a name or a MAKEINTRESOURCE id such as RT_RCDATA.
  TResourceStream(HINSTANCE Instance, const AnsiString& ResName, const char* ResType);
  TResourceStream(HINSTANCE Instance, int ResID, const char* ResType);

 private:
  void Initialize(HINSTANCE Instance, const char* Name, const char* ResType,
                  const AnsiString& DisplayName);
};

// A stream over a string. Seeking is limited to the string; writing past the end
// lengthens it. A size past 2 GB - 1 or past what memory gives raises EStreamError
// "Out of memory while expanding memory stream".
class TStringStream : public TStream {
  TCLASS_DECL(TStringStream, TStream)
 public:
  explicit TStringStream(const AnsiString& AString = AnsiString()) : FDataString(AString) {}

  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return static_cast<Int64>(FDataString.size()); }
  void SetSize(Int64 NewSize) override;

  // Up to Count characters from the position.
  AnsiString ReadString(int Count);
  void WriteString(const AnsiString& S);
  const AnsiString& DataString() const { return FDataString; }

 private:
  AnsiString FDataString;
  Int64 FPosition = 0;
};
