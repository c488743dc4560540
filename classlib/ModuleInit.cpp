#include "classlib/ModuleInit.h"

HINSTANCE HInstance = nullptr;

namespace {
const TUnitEntry* CurrentTable = nullptr;
std::size_t InitializedCount = 0;
}  // namespace

void InitializeUnits(const TUnitEntry* Table, std::size_t Count) {
  CurrentTable = Table;
  InitializedCount = 0;
  try {
    for (std::size_t I = 0; I < Count; ++I) {
      if (Table[I].Initialization) Table[I].Initialization();
      InitializedCount = I + 1;
    }
  } catch (...) {
    FinalizeUnits();
    throw;
  }
}

void FinalizeUnits() {
  while (InitializedCount > 0) {
    const TUnitEntry& Unit = CurrentTable[--InitializedCount];
    if (!Unit.Finalization) continue;
    try {
      Unit.Finalization();
    } catch (...) {
      // A finalization that fails must not keep the units before it from ending.
    }
  }
  CurrentTable = nullptr;
}

std::size_t InitializedUnitCount() { return InitializedCount; }
