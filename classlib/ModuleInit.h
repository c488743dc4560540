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

// The module whose resources are used: the DLL, or the test executable.
extern HINSTANCE HInstance;

// Starts Table: the tables it uses that have not started yet, then its own units, in
// order. When an initialization raises, the units this call initialized are finalized
// in reverse and the exception propagates; what had started before stays started.
void InitializeUnits(const TUnitTable& Table);
// Runs the finalizations of every initialized unit in reverse order of their start.
// Every finalization runs even when an earlier one raises; nothing propagates.
void FinalizeUnits();
// How many units are initialized.
std::size_t InitializedUnitCount();
// Whether the unit of that name is initialized.
bool IsUnitInitialized(const std::string& Name);
// The names of the tables started, in the order they started.
std::vector<std::string> StartedUnitTables();
