#include "classlib/FileUtils.h"

namespace {

bool IsPathDelimiter(char C) { return C == '\\' || C == '/'; }

// The index of the last character of S that is in Delimiters, or npos.
std::size_t LastDelimiter(const char* Delimiters, const AnsiString& S) {
  return S.find_last_of(Delimiters);
}

constexpr const char* NameDelimiters = "\\/:";
constexpr const char* ExtDelimiters = ".\\/:";

// Calls Fill(Buffer, Size), which answers the length written (less than Size) or the
// size it needs, until the text fits.
template <class F>
AnsiString ReadSystemString(F Fill) {
  AnsiString Buffer(MAX_PATH, '\0');
  for (;;) {
    const DWORD Length = Fill(Buffer.data(), static_cast<DWORD>(Buffer.size()));
    if (Length == 0) return AnsiString();
    if (Length < Buffer.size()) {
      Buffer.resize(Length);
      return Buffer;
    }
    Buffer.resize(Length > Buffer.size() ? Length + 1 : Buffer.size() * 2);
  }
}

// Days from 1601-01-01 (the system file time's origin) to 1899-12-30.
constexpr double FileTimeEpochOffsetDays = 109205.0;
constexpr double FileTimeTicksPerDay = 864000000000.0;  // 100 ns units

TDateTime FileTimeToLocalDateTime(const FILETIME& Utc) {
  FILETIME Local;
  if (!FileTimeToLocalFileTime(&Utc, &Local)) Local = Utc;
  const ULONGLONG Ticks = (static_cast<ULONGLONG>(Local.dwHighDateTime) << 32) | Local.dwLowDateTime;
  return static_cast<double>(Ticks) / FileTimeTicksPerDay - FileTimeEpochOffsetDays;
}

// Skips the entries whose attributes are excluded and fills F from the first other
// one; answers 0 or the system's error code.
int FindMatchingFile(TSearchRec& F) {
  while (F.FindData.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) {
    if (!FindNextFileA(F.FindHandle, &F.FindData)) return static_cast<int>(GetLastError());
  }
  F.Time = FileTimeToLocalDateTime(F.FindData.ftLastWriteTime);
  F.Size = static_cast<Int64>((static_cast<ULONGLONG>(F.FindData.nFileSizeHigh) << 32) |
                              F.FindData.nFileSizeLow);
  F.Attr = static_cast<int>(F.FindData.dwFileAttributes);
  F.Name = F.FindData.cFileName;
  return 0;
}

}  // namespace

AnsiString ExtractFilePath(const AnsiString& FileName) {
  const std::size_t I = LastDelimiter(NameDelimiters, FileName);
  return I == AnsiString::npos ? AnsiString() : FileName.substr(0, I + 1);
}

AnsiString ExtractFileDir(const AnsiString& FileName) {
  std::size_t I = LastDelimiter(NameDelimiters, FileName);
  if (I == AnsiString::npos) return AnsiString();
  // Drop the trailing delimiter unless it belongs to a root such as "C:\" or "\".
  if (I > 0 && IsPathDelimiter(FileName[I]) && !IsPathDelimiter(FileName[I - 1]) &&
      FileName[I - 1] != ':')
    return FileName.substr(0, I);
  return FileName.substr(0, I + 1);
}

AnsiString ExtractFileName(const AnsiString& FileName) {
  const std::size_t I = LastDelimiter(NameDelimiters, FileName);
  return I == AnsiString::npos ? FileName : FileName.substr(I + 1);
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
  const std::size_t I = LastDelimiter(ExtDelimiters, FileName);
  return I != AnsiString::npos && FileName[I] == '.' ? FileName.substr(I) : AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
  const std::size_t I = LastDelimiter(ExtDelimiters, FileName);
  const std::size_t Keep = I != AnsiString::npos && FileName[I] == '.' ? I : FileName.size();
  return FileName.substr(0, Keep) + Extension;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S) {
  return !S.empty() && IsPathDelimiter(S.back()) ? S : S + '\\';
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S) {
  return !S.empty() && IsPathDelimiter(S.back()) ? S.substr(0, S.size() - 1) : S;
}

AnsiString ExpandFileName(const AnsiString& FileName) {
  if (FileName.empty()) return AnsiString();
  return ReadSystemString([&](char* Buffer, DWORD Size) {
    return GetFullPathNameA(FileName.c_str(), Size, Buffer, nullptr);
  });
}

bool FileExists(const AnsiString& FileName) {
  if (FileName.empty()) return false;
  const DWORD Attr = GetFileAttributesA(FileName.c_str());
  return Attr != INVALID_FILE_ATTRIBUTES && !(Attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const AnsiString& Dir) {
  if (Dir.empty()) return false;
  const DWORD Attr = GetFileAttributesA(Dir.c_str());
  return Attr != INVALID_FILE_ATTRIBUTES && (Attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const AnsiString& Dir) {
  if (Dir.empty()) return false;
  const AnsiString Path = ExcludeTrailingPathDelimiter(Dir);
  if (Path.empty()) return DirectoryExists(Dir);  // the root "\"
  if (DirectoryExists(Path)) return true;
  // Make the parent first. A parent that cannot be made (a drive or a share name)
  // is not a failure by itself: the creation of Path tells. The parent is shorter
  // than Path unless Path is a root, which ends the recursion.
  const AnsiString Parent = ExtractFileDir(Path);
  if (!Parent.empty() && Parent != Path) ForceDirectories(Parent);
  CreateDirectoryA(Path.c_str(), nullptr);
  return DirectoryExists(Path);
}

bool CreateDir(const AnsiString& Dir) { return CreateDirectoryA(Dir.c_str(), nullptr) != 0; }

bool RemoveDir(const AnsiString& Dir) { return RemoveDirectoryA(Dir.c_str()) != 0; }

bool DeleteFileName(const AnsiString& FileName) { return DeleteFileA(FileName.c_str()) != 0; }

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
  return MoveFileA(OldName.c_str(), NewName.c_str()) != 0;
}

AnsiString GetCurrentDir() {
  return ReadSystemString([](char* Buffer, DWORD Size) { return GetCurrentDirectoryA(Size, Buffer); });
}

AnsiString GetModuleFileNameStr(HMODULE Module) {
  // GetModuleFileNameA answers the buffer size when the name is cut short, so a
  // result of Size - 1 or more asks for a larger buffer.
  return ReadSystemString([Module](char* Buffer, DWORD Size) -> DWORD {
    const DWORD Length = GetModuleFileNameA(Module, Buffer, Size);
    return Length >= Size - 1 ? Size * 2 : Length;
  });
}

int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F) {
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  F.FindHandle = FindFirstFileA(Path.c_str(), &F.FindData);
  if (F.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  const int Result = FindMatchingFile(F);
  if (Result != 0) FindClose(F);
  return Result;
}

int FindNext(TSearchRec& F) {
  if (!FindNextFileA(F.FindHandle, &F.FindData)) return static_cast<int>(GetLastError());
  return FindMatchingFile(F);
}

void FindClose(TSearchRec& F) {
  if (F.FindHandle != INVALID_HANDLE_VALUE) {
    ::FindClose(F.FindHandle);
    F.FindHandle = INVALID_HANDLE_VALUE;
  }
}
