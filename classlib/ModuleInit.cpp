#include "classlib/ModuleInit.h"

#include <algorithm>

#include "classlib/ScopeExit.h"

HINSTANCE HInstance = nullptr;

namespace {

// What has started, in order. A table is recorded once the tables it uses have
// started, before its own units, so that a table reached twice starts once.
std::vector<const TUnitTable*> StartedTables;
std::vector<const TUnitEntry*> InitializedUnits;

bool IsStarted(const TUnitTable& Table) {
  return std::find(StartedTables.begin(), StartedTables.end(), &Table) !=
         StartedTables.end();
}

void StartTable(const TUnitTable& Table) {
  if (IsStarted(Table)) return;
  for (const TUnitTable* Used : Table.Uses) StartTable(*Used);
  StartedTables.push_back(&Table);
  for (const TUnitEntry& Unit : Table.Units) {
    // Room first, so that a unit that started is always recorded, and so finalized.
    if (InitializedUnits.size() == InitializedUnits.capacity())
      InitializedUnits.reserve(InitializedUnits.size() * 2 + 16);
    if (Unit.Initialization) Unit.Initialization();
    InitializedUnits.push_back(&Unit);
  }
}

// Finalizes the initialized units past the first Keep, in reverse.
void FinalizeDownTo(std::size_t Keep) {
  while (InitializedUnits.size() > Keep) {
    const TUnitEntry* Unit = InitializedUnits.back();
    InitializedUnits.pop_back();
    if (!Unit->Finalization) continue;
    try {
      Unit->Finalization();
    } catch (...) {
      // A finalization that fails must not keep the units before it from ending.
    }
  }
}

}  // namespace

void InitializeUnits(const TUnitTable& Table) {
  const std::size_t UnitsBefore = InitializedUnits.size();
  const std::size_t TablesBefore = StartedTables.size();
  auto Undo = ScopeExit([&] {
    FinalizeDownTo(UnitsBefore);
    StartedTables.resize(TablesBefore);
  });
  StartTable(Table);
  Undo.Dismiss();
}

void FinalizeUnits() {
  FinalizeDownTo(0);
  StartedTables.clear();
}

std::size_t InitializedUnitCount() { return InitializedUnits.size(); }

bool IsUnitInitialized(const std::string& Name) {
  return std::any_of(InitializedUnits.begin(), InitializedUnits.end(),
                     [&](const TUnitEntry* Unit) { return Name == Unit->Name; });
}

std::vector<std::string> StartedUnitTables() {
  std::vector<std::string> Names;
  for (const TUnitTable* Table : StartedTables) Names.emplace_back(Table->Name);
  return Names;
}
