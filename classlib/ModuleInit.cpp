#include "classlib/ModuleInit.h"

#include <algorithm>
#include <exception>
#include <new>

#include "classlib/Exceptions.h"
#include "classlib/ScopeExit.h"

HINSTANCE HInstance = nullptr;

namespace {

// What has started, in order. A table is recorded once the tables it uses have
// started, before its own units, so that a table reached twice starts once.
std::vector<const TUnitTable*> StartedTables;
std::vector<const TUnitEntry*> InitializedUnits;

void DebugLine(const AnsiString& Text) {
  AnsiString Line = "Tarvik: " + Text + "\n";
  OutputDebugStringA(Line.c_str());
}

void ShowAsDebugLine(const AnsiString& Message) { DebugLine(Message); }

// Inside a catch block: the message of what is being handled.
AnsiString CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Exception& E) {
    return E.Message();
  } catch (const std::bad_alloc&) {
    return SOutOfMemory;
  } catch (const std::exception& E) {
    return E.what();
  } catch (...) {
    return "Unknown error";
  }
}

// Inside a catch block: writes "unit NAME failed to DOING: message". Never raises.
void ReportUnitFailure(const char* UnitName, const char* Doing) noexcept {
  try {
    DebugLine(AnsiString("unit ") + UnitName + " failed to " + Doing + ": " +
              CurrentExceptionMessage());
  } catch (...) {
    OutputDebugStringA("Tarvik: a unit failed to start or end\n");
  }
}

// While the units end, errors that would be shown are written for a debugger instead.
class TDebugLineDisplay {
 public:
  TDebugLineDisplay() : FSaved(ShowExceptionProc) { ShowExceptionProc = ShowAsDebugLine; }
  ~TDebugLineDisplay() { ShowExceptionProc = FSaved; }
  TDebugLineDisplay(const TDebugLineDisplay&) = delete;
  TDebugLineDisplay& operator=(const TDebugLineDisplay&) = delete;

 private:
  TShowExceptionProc FSaved;
};

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
    try {
      if (Unit.Initialization) Unit.Initialization();
    } catch (...) {
      ReportUnitFailure(Unit.Name, "start");
      throw;
    }
    InitializedUnits.push_back(&Unit);
  }
}

// Finalizes the initialized units past the first Keep, in reverse.
void FinalizeDownTo(std::size_t Keep) {
  TDebugLineDisplay Display;
  while (InitializedUnits.size() > Keep) {
    const TUnitEntry* Unit = InitializedUnits.back();
    InitializedUnits.pop_back();
    if (!Unit->Finalization) continue;
    try {
      Unit->Finalization();
    } catch (...) {
      // A finalization that fails must not keep the units before it from ending.
      ReportUnitFailure(Unit->Name, "end");
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

void FinalizeUnits(TUnitsEnd How) {
  if (How == TUnitsEnd::Unload) FinalizeDownTo(0);
  InitializedUnits.clear();
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
