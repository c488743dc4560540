// The DLL entry: starts the module's units when the host loads the module and ends
// them when it is unloaded.
#include <windows.h>

#include "framework/ModuleRuntime.h"
#include "module/ModuleUnits.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID Reserved) {
  switch (Reason) {
    case DLL_PROCESS_ATTACH:
      HInstance = Instance;
      DisableThreadLibraryCalls(Instance);
      try {
        InitializeUnits(ModuleUnits);
      } catch (...) {
        return FALSE;  // the loader reports the module as failing to load
      }
      return TRUE;
    case DLL_PROCESS_DETACH:
      // A non-null Reserved: the process is exiting, and takes what the units and the
      // runtime hold.
      FinalizeUnits(Reserved ? TUnitsEnd::ProcessExit : TUnitsEnd::Unload);
      if (!Reserved) ReleaseModuleRuntime();
      return TRUE;
  }
  return TRUE;
}
