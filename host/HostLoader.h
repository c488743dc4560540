// Loading the server module the way the host does: from the host's own folder.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running executable, with a trailing backslash.
std::string HostFolder();

// Loads the module from the host's folder. Returns nullptr and fills Error on failure.
HMODULE LoadServerModule(const std::string& FileName, std::string& Error);
