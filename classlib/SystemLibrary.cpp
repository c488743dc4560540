#include "classlib/SystemLibrary.h"

#include <cstring>
#include <string>

TLoadLibraryExProc LoadLibraryExProc = LoadLibraryExA;

HMODULE LoadSystemLibrary(const char* Name) {
  if (!Name || !*Name || std::strpbrk(Name, "\\/:")) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (HMODULE Library = LoadLibraryExProc(Name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    return Library;
  // A system that knows the flag has answered: the library is not there. One that does
  // not know it refuses the call as a whole.
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  char Folder[MAX_PATH];
  const UINT Length = GetSystemDirectoryA(Folder, MAX_PATH);
  if (Length == 0 || Length >= MAX_PATH) return nullptr;
  std::string Path(Folder, Length);
  if (Path.back() != '\\') Path += '\\';
  Path += Name;
  // The library's own imports are looked for beside it, in the system folder.
  return LoadLibraryExProc(Path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
