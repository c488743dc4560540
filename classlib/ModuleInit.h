// Module start and end. One explicit, ordered table of unit initializations runs when
// the module is loaded (from the DLL entry, or from a test program's main), and the
// finalizations of the units that were initialized run in reverse when it is unloaded.
// Initializations may load system libraries and make GDI objects; they never create
// windows, start threads or wait.
#pragma once

#include <windows.h>

#include <cstddef>

struct TUnitEntry {
  const char* Name;
  void (*Initialization)();  // may be nullptr
  void (*Finalization)();    // may be nullptr
};

// How the module ends.
enum class TUnitsEnd {
  // The module is unloaded from a process that goes on (FreeLibrary, or the end of a
  // test program's main): the finalizations run.
  Unload,
  // The process is exiting (DLL_PROCESS_DETACH with a non-null lpReserved). Its other
  // threads are gone, window calls may wait on them for ever and the heap may be left
  // inconsistent, while the process takes the windows, GDI objects and memory with it:
  // no finalization runs.
  ProcessExit,
};

// The module whose resources are used: the DLL, or the test executable.
extern HINSTANCE HInstance;

// Runs the initializations of Table in order. When one raises, the units already
// initialized are finalized in reverse and the exception propagates.
void InitializeUnits(const TUnitEntry* Table, std::size_t Count);
// Ends the initialized units of the current table. On Unload their finalizations run
// in reverse order; every one runs even when an earlier one raises, and nothing
// propagates. The loader lock may be held, so no message box opens meanwhile: a
// failing finalization, and any error shown while they run, go to OutputDebugString.
void FinalizeUnits(TUnitsEnd How = TUnitsEnd::Unload);
// How many units of the current table are initialized.
std::size_t InitializedUnitCount();

// The module's own table (defined once, at the top of the module).
extern const TUnitEntry ModuleUnits[];
extern const std::size_t ModuleUnitCount;
