#include "classlib/ModuleInit.h"

#include <exception>
#include <new>

#include "classlib/Exceptions.h"

HINSTANCE HInstance = nullptr;

namespace {
const TUnitEntry* CurrentTable = nullptr;
std::size_t InitializedCount = 0;

void DebugLine(const AnsiString& Text) {
  AnsiString Line = "Tarvik: " + Text + "\n";
  OutputDebugStringA(Line.c_str());
}

void ShowAsDebugLine(const AnsiString& Message) { DebugLine(Message); }

AnsiString CurrentExceptionMessage();

// Inside a catch block: writes "unit NAME failed to DOING: message". Never raises.
void ReportUnitFailure(const char* UnitName, const char* Doing) noexcept {
  try {
    DebugLine(AnsiString("unit ") + UnitName + " failed to " + Doing + ": " + CurrentExceptionMessage());
  } catch (...) {
    OutputDebugStringA("Tarvik: a unit failed to start or end\n");
  }
}

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
    ReportUnitFailure(Table[InitializedCount].Name, "start");
    FinalizeUnits();
    throw;
  }
}

void FinalizeUnits(TUnitsEnd How) {
  if (How == TUnitsEnd::ProcessExit) {
    InitializedCount = 0;
    CurrentTable = nullptr;
    return;
  }
  TDebugLineDisplay Display;
  while (InitializedCount > 0) {
    const TUnitEntry& Unit = CurrentTable[--InitializedCount];
    if (!Unit.Finalization) continue;
    try {
      Unit.Finalization();
    } catch (...) {
      // A finalization that fails must not keep the units before it from ending.
      ReportUnitFailure(Unit.Name, "end");
    }
  }
  CurrentTable = nullptr;
}

std::size_t InitializedUnitCount() { return InitializedCount; }
