// Loading modules the way the host does: from the host's install folder.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running executable, with a trailing backslash.
std::string HostFolder();

// Folder with a trailing backslash (Folder itself when it has one or is empty).
std::string WithTrailingBackslash(const std::string& Folder);

// Loads Folder + FileName. Returns nullptr and fills Error on failure.
HMODULE LoadHostModule(const std::string& Folder, const std::string& FileName, std::string& Error);

// A typed export of Module, or nullptr.
template <class Function>
inline Function HostProcAddress(HMODULE Module, const char* Name) {
  // Through void(*)() so that the compiler accepts the change of function type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(Module, Name)));
}
