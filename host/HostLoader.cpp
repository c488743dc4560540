#include "host/HostLoader.h"

std::string HostFolder() {
  char Path[MAX_PATH];
  DWORD Length = GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Folder(Path, Length);
  return Folder.substr(0, Folder.find_last_of("\\/") + 1);
}

HMODULE LoadServerModule(const std::string& FileName, std::string& Error) {
  std::string Path = HostFolder() + FileName;
  HMODULE Module = LoadLibraryA(Path.c_str());
  if (!Module) Error = "cannot load " + Path + " (error " + std::to_string(GetLastError()) + ")";
  return Module;
}
