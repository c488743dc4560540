// File-name and file helpers over the Windows "A" functions.
//
// In the name functions both "\" and "/" separate folders and ":" ends a drive.
// The delete function is DeleteFileName: the system headers make DeleteFile a macro.
#pragma once

#include <windows.h>

#include "classlib/SysTypes.h"

// File attribute bits, as the system's FILE_ATTRIBUTE_* values.
inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

// The folder part with its trailing delimiter ("C:\dir\" of "C:\dir\a.txt", "C:" of
// "C:a.txt"); empty when the name has no folder.
AnsiString ExtractFilePath(const AnsiString& FileName);
// The folder part without its trailing delimiter, except for a root ("C:\").
AnsiString ExtractFileDir(const AnsiString& FileName);
// The part after the last delimiter.
AnsiString ExtractFileName(const AnsiString& FileName);
// The extension with its dot (".txt"); empty when the last part has no dot.
AnsiString ExtractFileExt(const AnsiString& FileName);
// Replaces the extension (or appends one when there is none); Extension has its dot.
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
// Appends "\" unless S already ends with "\" or "/".
AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);
// Removes one trailing "\" or "/".
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);
// The full path of FileName from the current folder; empty when the system refuses.
AnsiString ExpandFileName(const AnsiString& FileName);

// True for an existing file (not a folder).
bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Dir);
// Creates Dir and every missing folder above it. False for an empty name; otherwise
// whether the folder exists at the end.
bool ForceDirectories(const AnsiString& Dir);
// Create or remove one folder; true on success.
bool CreateDir(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);
bool DeleteFileName(const AnsiString& FileName);
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);

AnsiString GetCurrentDir();
// The full path of a loaded module (nullptr: the program's executable).
AnsiString GetModuleFileNameStr(HMODULE Module);

// One entry found by FindFirst/FindNext.
struct TSearchRec {
  TDateTime Time = 0;  // last write, local time
  Int64 Size = 0;
  int Attr = 0;
  AnsiString Name;  // the name alone, without the folder
  int ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA FindData{};
};

// Enumerates the entries matching Path (a folder and a wildcard mask). Normal files
// are always reported; folders, hidden and system entries only when their fa bit is
// in Attr ("." and ".." are folders). Both return 0 for an entry found, otherwise a
// system error code (ERROR_NO_MORE_FILES at the end, ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND when nothing matches). After a successful FindFirst, call
// FindClose once the enumeration is done; a failing FindFirst leaves nothing open.
int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
