// The DLL entry: starts the module's units when the host loads the module and ends
// them when it is unloaded.
#include <windows.h>

#include "classlib/ModuleInit.h"
#include "framework/ModuleRuntime.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  switch (Reason) {
    case DLL_PROCESS_ATTACH:
      HInstance = Instance;
      DisableThreadLibraryCalls(Instance);
      try {
        InitializeUnits(ModuleUnits, ModuleUnitCount);
      } catch (...) {
        return FALSE;  // the loader reports the module as failing to load
      }
      return TRUE;
    case DLL_PROCESS_DETACH:
      FinalizeUnits();
      ReleaseModuleRuntime();
      return TRUE;
  }
  return TRUE;
}
