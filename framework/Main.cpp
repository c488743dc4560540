#include "framework/Main.h"

#include <type_traits>

#include "framework/RT_ServerImplementation.h"

static_assert(std::is_same_v<decltype(&ServerFactory), TServerFactory>);

extern "C" void WINAPI ServerFactory(IServerModule** Module, IClient* Client) {
  if (!Module) return;
  *Module = nullptr;
  try {
    TTarvikServerModule* ServerModule = NewObject<TTarvikServerModule>(Client, "Tarvik");
    // The new module has no reference yet: this first one is the host's.
    *Module = static_cast<IServerModule*>(ServerModule);
    ServerModule->AddRef();
  } catch (...) {
    *Module = nullptr;
  }
}
