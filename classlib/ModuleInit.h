// Module start and end. Each library lists its units, in the order they start, in one
// unit table of its own, which names the tables of the libraries below it that must
// start first. Starting a table starts the tables it uses (each once, depth first, in
// the order listed), then its own units; the module starts its table from the DLL
// entry, and a test program the table of the library it tests. The finalizations of
// the units that were initialized run in reverse when the module is unloaded.
// Initializations may load system libraries and make GDI objects; they never create
// windows, start threads or wait.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <vector>

struct TUnitEntry {
  const char* Name;
  void (*Initialization)();  // may be nullptr
  void (*Finalization)();    // may be nullptr
};

struct TUnitTable {
  const char* Name;
  // The tables that start before this one's units.
  std::span<const TUnitTable* const> Uses;
  std::span<const TUnitEntry> Units;
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

// Starts Table: the tables it uses that have not started yet, then its own units, in
// order. When an initialization raises, the units this call initialized are finalized
// in reverse and the exception propagates; what had started before stays started.
void InitializeUnits(const TUnitTable& Table);
// Ends every initialized unit. On Unload their finalizations run in reverse order of
// their start; every one runs even when an earlier one raises, and nothing propagates.
// The loader lock may be held, so no message box opens meanwhile: a failing
// finalization, and any error shown while they run, go to OutputDebugString.
void FinalizeUnits(TUnitsEnd How = TUnitsEnd::Unload);
// How many units are initialized.
std::size_t InitializedUnitCount();
// Whether the unit of that name is initialized.
bool IsUnitInitialized(const std::string& Name);
// The names of the tables started, in the order they started.
std::vector<std::string> StartedUnitTables();
