#include "classlib/Streams.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "classlib/Memory.h"

// ---------------------------------------------------------------------------------
// TStream

TCLASS_IMPL(TStream)

Int64 TStream::Size() {
  Int64 Pos = Seek(0, soCurrent);
  Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::ReadBuffer(void* Buffer, int Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, int Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(SWriteError);
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Count < 0) throw EReadError(SReadError);
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  const Int64 MaxBufSize = 0xF000;
  std::vector<char> Buffer(static_cast<std::size_t>(std::min(Count, MaxBufSize)));
  Int64 Left = Count;
  while (Left > 0) {
    int N = static_cast<int>(std::min(Left, MaxBufSize));
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Left -= N;
  }
  return Count;
}

// ---------------------------------------------------------------------------------
// TCustomMemoryStream

TCLASS_IMPL(TCustomMemoryStream)

int TCustomMemoryStream::Read(void* Buffer, int Count) {
  if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
  int Result = static_cast<int>(std::min<Int64>(FSize - FPosition, Count));
  std::memcpy(Buffer, static_cast<const char*>(FMemory) + FPosition, Result);
  FPosition += Result;
  return Result;
}

int TCustomMemoryStream::Write(const void*, int) {
  throw EStreamError(SCantWriteResourceStreamError);
}

void TCustomMemoryStream::SetSize(Int64) { throw EStreamError(SCantWriteResourceStreamError); }

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
  }
  return FPosition;
}

void TCustomMemoryStream::SetPointer(void* Ptr, int Size) {
  FMemory = Ptr;
  FSize = Size;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (FSize != 0) Stream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
  TOwned<TFileStream> Stream(NewObject<TFileStream>(FileName, fmCreate));
  SaveToStream(Stream.get());
}

// ---------------------------------------------------------------------------------
// TMemoryStream

TCLASS_IMPL(TMemoryStream)

namespace {
// Blocks grow in steps of this size, as few reallocations as a growing stream needs.
constexpr int MemoryDelta = 0x2000;
}  // namespace

TMemoryStream::~TMemoryStream() {
  void* P = Memory();
  SetPointer(nullptr, 0);
  FreeMem(P);
}

void TMemoryStream::SetCapacity(int NewCapacity) {
  if (NewCapacity == FCapacity) return;
  void* P = Memory();
  int Size = static_cast<int>(TCustomMemoryStream::Size());
  if (NewCapacity > 0) {
    // Rounded up to the step; the overflow check keeps the rounding inside int.
    if (NewCapacity > INT_MAX - MemoryDelta) throw EStreamError(SMemoryStreamError);
    NewCapacity = (NewCapacity + (MemoryDelta - 1)) & ~(MemoryDelta - 1);
  }
  if (NewCapacity != FCapacity) {
    try {
      ReallocMem(P, NewCapacity);
    } catch (const EOutOfMemory&) {
      throw EStreamError(SMemoryStreamError);
    }
  }
  FCapacity = NewCapacity;
  SetPointer(P, std::min(Size, NewCapacity));
}

int TMemoryStream::Write(const void* Buffer, int Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  Int64 End = FPosition + Count;
  if (End > INT_MAX - MemoryDelta) throw EStreamError(SMemoryStreamError);
  int Size = static_cast<int>(TCustomMemoryStream::Size());
  if (End > Size) {
    if (End > FCapacity) {
      // Grow by half again at least, so many small writes cost linear time overall.
      Int64 Wanted = std::max<Int64>(End, static_cast<Int64>(FCapacity) + FCapacity / 2);
      SetCapacity(static_cast<int>(std::min<Int64>(Wanted, INT_MAX - MemoryDelta)));
    }
    // Bytes between the old end and a position past it are zero, not left over.
    if (FPosition > Size)
      std::memset(static_cast<char*>(Memory()) + Size, 0, static_cast<size_t>(FPosition - Size));
    SetPointer(Memory(), static_cast<int>(End));
  }
  std::memcpy(static_cast<char*>(Memory()) + FPosition, Buffer, Count);
  FPosition = End;
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || NewSize > INT_MAX - MemoryDelta) throw EStreamError(SMemoryStreamError);
  Int64 OldPosition = FPosition;
  SetCapacity(static_cast<int>(NewSize));
  SetPointer(Memory(), static_cast<int>(NewSize));
  if (OldPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  SetCapacity(0);
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 Count = Stream->Size();
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(Memory(), static_cast<int>(Count));
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
  TOwned<TFileStream> Stream(NewObject<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

// ---------------------------------------------------------------------------------
// THandleStream

TCLASS_IMPL(THandleStream)

int THandleStream::Read(void* Buffer, int Count) {
  DWORD Done = 0;
  if (Count <= 0 || !ReadFile(FHandle, Buffer, static_cast<DWORD>(Count), &Done, nullptr))
    return 0;
  return static_cast<int>(Done);
}

int THandleStream::Write(const void* Buffer, int Count) {
  DWORD Done = 0;
  if (Count <= 0 || !WriteFile(FHandle, Buffer, static_cast<DWORD>(Count), &Done, nullptr))
    return 0;
  return static_cast<int>(Done);
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  static const DWORD Methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER Distance, Result;
  Distance.QuadPart = Offset;
  if (!SetFilePointerEx(FHandle, Distance, &Result, Methods[Origin])) return -1;
  return Result.QuadPart;
}

void THandleStream::SetSize(Int64 NewSize) {
  Seek(NewSize, soBeginning);
  Win32Check(SetEndOfFile(FHandle) != FALSE);
}

// ---------------------------------------------------------------------------------
// TFileStream

TCLASS_IMPL(TFileStream)

namespace {

DWORD ShareModeOf(Word Mode) {
  switch (Mode & 0xF0) {
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // compatibility and exclusive
  }
}

HANDLE OpenFileHandle(const AnsiString& FileName, Word Mode) {
  if ((Mode & fmCreate) == fmCreate) {
    HANDLE H = CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareModeOf(Mode),
                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (H == INVALID_HANDLE_VALUE)
      throw EFCreateError(SFCreateErrorEx, {FileName, SysErrorMessage(GetLastError())});
    return H;
  }
  static const DWORD Access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, 0};
  HANDLE H = CreateFileA(FileName.c_str(), Access[Mode & 3], ShareModeOf(Mode), nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE)
    throw EFOpenError(SFOpenErrorEx, {FileName, SysErrorMessage(GetLastError())});
  return H;
}

}  // namespace

TFileStream::TFileStream(const AnsiString& AFileName, Word Mode)
    : THandleStream(OpenFileHandle(AFileName, Mode)), FFileName(AFileName) {}

TFileStream::~TFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

// ---------------------------------------------------------------------------------
// TResourceStream

TCLASS_IMPL(TResourceStream)

TResourceStream::TResourceStream(HINSTANCE Instance, const AnsiString& ResName,
                                 const char* ResType) {
  Initialize(Instance, ResName.c_str(), ResType, ResName);
}

TResourceStream::TResourceStream(HINSTANCE Instance, int ResID, const char* ResType) {
  Initialize(Instance, MAKEINTRESOURCEA(ResID), ResType, std::to_string(ResID));
}

void TResourceStream::Initialize(HINSTANCE Instance, const char* Name, const char* ResType,
                                 const AnsiString& DisplayName) {
  HRSRC Info = FindResourceA(Instance, Name, ResType);
  if (!Info) throw EResNotFound(SResNotFound, {DisplayName});
  HGLOBAL Data = LoadResource(Instance, Info);
  if (!Data) throw EResNotFound(SResNotFound, {DisplayName});
  SetPointer(LockResource(Data), static_cast<int>(SizeofResource(Instance, Info)));
}

// ---------------------------------------------------------------------------------
// TStringStream

TCLASS_IMPL(TStringStream)

namespace {
// The string of a string stream made Size bytes long. Past what a stream's counts
// reach, or past what memory gives, the stream's error is raised, as a memory
// stream's, and the string stays as it was.
void ResizeData(AnsiString& Data, Int64 Size) {
  if (Size > INT_MAX) throw EStreamError(SMemoryStreamError);
  try {
    GrowOrRaise([&] { Data.resize(static_cast<std::size_t>(Size)); });
  } catch (const EOutOfMemory&) {
    throw EStreamError(SMemoryStreamError);
  }
}
}  // namespace

int TStringStream::Read(void* Buffer, int Count) {
  Int64 Size = static_cast<Int64>(FDataString.size());
  if (Count <= 0 || FPosition >= Size) return 0;
  int Result = static_cast<int>(std::min<Int64>(Size - FPosition, Count));
  std::memcpy(Buffer, FDataString.data() + FPosition, Result);
  FPosition += Result;
  return Result;
}

int TStringStream::Write(const void* Buffer, int Count) {
  if (Count <= 0) return 0;
  const Int64 End = FPosition + Count;
  if (End > static_cast<Int64>(FDataString.size())) ResizeData(FDataString, End);
  std::memcpy(FDataString.data() + FPosition, Buffer, Count);
  FPosition += Count;
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 Size = static_cast<Int64>(FDataString.size());
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = Size + Offset; break;
  }
  FPosition = std::clamp<Int64>(FPosition, 0, Size);
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
  ResizeData(FDataString, std::max<Int64>(NewSize, 0));
  if (FPosition > NewSize) FPosition = static_cast<Int64>(FDataString.size());
}

AnsiString TStringStream::ReadString(int Count) {
  Int64 Size = static_cast<Int64>(FDataString.size());
  if (Count <= 0 || FPosition >= Size) return AnsiString();
  std::size_t Len = static_cast<std::size_t>(std::min<Int64>(Size - FPosition, Count));
  AnsiString Result = FDataString.substr(static_cast<std::size_t>(FPosition), Len);
  FPosition += static_cast<Int64>(Len);
  return Result;
}

void TStringStream::WriteString(const AnsiString& S) {
  Write(S.data(), static_cast<int>(S.size()));
}
