// The host stand-in's executable. It loads the server module from its own folder,
// asks for the module's factory and unloads the module again.
#include <cstdio>

#include "host/HostLoader.h"

int main() {
  std::string Error;
  HMODULE Module = LoadServerModule("Tarvik.dll", Error);
  if (!Module) {
    std::fprintf(stderr, "PcbHost: %s\n", Error.c_str());
    return 1;
  }
  std::printf("PcbHost: loaded Tarvik.dll; its units started.\n");
  if (GetProcAddress(Module, "ServerFactory"))
    std::printf("PcbHost: the module exports ServerFactory.\n");
  else
    std::printf("PcbHost: the module has no server factory yet, so there are no commands to run.\n");
  FreeLibrary(Module);
  std::printf("PcbHost: unloaded Tarvik.dll.\n");
  return 0;
}
