// The functions the host executable exports for the module, undecorated (the build
// links every program that uses the host core with --kill-at). The module binds them
// by name with GetProcAddress(GetModuleHandle(nullptr), ...).
#include <type_traits>

#include "host/HostCom.h"
#include "host/HostCore.h"

extern "C" {

// Stores the current host's IClient (counted), or nullptr while no host exists.
__declspec(dllexport) void WINAPI ClientAPI_GetClientInterface(IClient** Client) {
  HostGuardVoid([&] {
    if (!Client) return;
    *Client = nullptr;
    if (THost* Host = GetCurrentHost()) HostHandOut(Host->Client(), Client);
  });
}

// Whether a file or a folder exists at Path.
__declspec(dllexport) BOOL WINAPI ClientAPI_ExistSpecific(const char* Path) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    if (!Path || !*Path) return FALSE;
    return GetFileAttributesA(Path) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
  });
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&ClientAPI_GetClientInterface), TClientAPI_GetClientInterface>);
static_assert(std::is_same_v<decltype(&ClientAPI_ExistSpecific), TClientAPI_ExistSpecific>);
