#include "host/HostLoader.h"

std::string HostFolder() {
  char Path[MAX_PATH];
  DWORD Length = GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Folder(Path, Length);
  return Folder.substr(0, Folder.find_last_of("\\/") + 1);
}

std::string WithTrailingBackslash(const std::string& Folder) {
  if (Folder.empty() || Folder.back() == '\\' || Folder.back() == '/') return Folder;
  return Folder + '\\';
}

HMODULE LoadHostModule(const std::string& Folder, const std::string& FileName, std::string& Error) {
  std::string Path = WithTrailingBackslash(Folder) + FileName;
  HMODULE Module = LoadLibraryA(Path.c_str());
  if (!Module) Error = "cannot load " + Path + " (error " + std::to_string(GetLastError()) + ")";
  return Module;
}
