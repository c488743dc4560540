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

// The module whose resources are used: the DLL, or the test executable.
extern HINSTANCE HInstance;

// Runs the initializations of Table in order. When one raises, the units already
// initialized are finalized in reverse and the exception propagates.
void InitializeUnits(const TUnitEntry* Table, std::size_t Count);
// Runs the finalizations of the initialized units of the table in reverse order.
// Every finalization runs even when an earlier one raises; nothing propagates.
void FinalizeUnits();
// How many units of the current table are initialized.
std::size_t InitializedUnitCount();

// The module's own table (defined once, at the top of the module).
extern const TUnitEntry ModuleUnits[];
extern const std::size_t ModuleUnitCount;
