#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Exceptions.h"
#include "classlib/Memory.h"
#include "classlib/ModuleInit.h"
#include "classlib/Units.h"
#include "tests/classlib/UiTestSupport.h"

namespace {

std::string Trace;

void InitA() { Trace += "+A"; }
void FinalA() { Trace += "-A"; }
void InitB() { Trace += "+B"; }
void InitC() { Trace += "+C"; }
void FinalC() {
  Trace += "-C";
  throw Exception("finalization failed");
}
void InitFails() { throw EInvalidOperation("cannot start"); }

// A unit that owns a window, as the class library's units do.
HWND UnitWindow = nullptr;
void InitWindow() {
  UnitWindow = CreateWindowExA(0, "STATIC", "unit", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  Trace += "+W";
}
void FinalWindow() {
  Trace += "-W";
  DestroyWindow(UnitWindow);
}

// A unit whose end shows an error, as a form freed at the end whose OnDestroy raises.
void FinalShows() {
  Trace += "-S";
  try {
    throw Exception("shown while ending");
  } catch (...) {
    HandleWindowException(nullptr);
  }
}

#ifndef DBG_PRINTEXCEPTION_C
#define DBG_PRINTEXCEPTION_C 0x40010006L
#endif

// What OutputDebugString writes in this process while it is installed: the system
// raises it as an exception for a debugger, which a vectored handler sees first.
class TDebugOutput {
 public:
  TDebugOutput() {
    Lines.clear();
    FHandler = AddVectoredExceptionHandler(1, Seen);
  }
  ~TDebugOutput() { RemoveVectoredExceptionHandler(FHandler); }
  TDebugOutput(const TDebugOutput&) = delete;
  TDebugOutput& operator=(const TDebugOutput&) = delete;

  static inline std::vector<std::string> Lines;

 private:
  static LONG CALLBACK Seen(EXCEPTION_POINTERS* Info) {
    const EXCEPTION_RECORD* Record = Info->ExceptionRecord;
    if (Record->ExceptionCode == static_cast<DWORD>(DBG_PRINTEXCEPTION_C) && Record->NumberParameters >= 2)
      Lines.emplace_back(reinterpret_cast<const char*>(Record->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH;
  }
  void* FHandler;
};

// Runs tables of its own, then restarts the class library's table for the tests that
// follow.
class UnitTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FinalizeUnits();
    Trace.clear();
  }
  void TearDown() override {
    FinalizeUnits();
    InitializeUnits(ClasslibUnits);
  }
};

const TUnitEntry EntriesAB[] = {{"A", InitA, FinalA}, {"B", InitB, nullptr}};
const TUnitEntry EntriesC[] = {{"C", InitC, FinalC}};
const TUnitEntry EntriesFails[] = {{"A", InitA, FinalA}, {"Fails", InitFails, FinalA}};
const TUnitTable Lower = {"lower", {}, EntriesAB};
const TUnitTable* const UsesLower[] = {&Lower};
const TUnitTable Middle = {"middle", UsesLower, EntriesC};
// Reaches the lower table twice: directly and through the middle one.
const TUnitTable* const UsesBoth[] = {&Lower, &Middle};
const TUnitTable Upper = {"upper", UsesBoth, {}};
const TUnitTable Failing = {"failing", UsesLower, EntriesFails};

TEST_F(UnitTableTest, StartsUsedTablesFirstAndOnceAndFinalizesInReverse) {
  InitializeUnits(Upper);
  EXPECT_EQ(Trace, "+A+B+C");
  EXPECT_EQ(StartedUnitTables(), (std::vector<std::string>{"lower", "middle", "upper"}));
  EXPECT_EQ(InitializedUnitCount(), 3u);
  InitializeUnits(Middle);  // started already: nothing runs again
  EXPECT_EQ(Trace, "+A+B+C");
  FinalizeUnits();  // C's failure does not keep A from ending
  EXPECT_EQ(Trace, "+A+B+C-C-A");
  EXPECT_EQ(InitializedUnitCount(), 0u);
  EXPECT_TRUE(StartedUnitTables().empty());
}

TEST_F(UnitTableTest, AtProcessExitNoUnitEndsAndNoWindowIsTouched) {
  const TUnitEntry Entries[] = {{"A", InitA, FinalA}, {"Window", InitWindow, FinalWindow}};
  const TUnitTable Table = {"window", {}, Entries};
  InitializeUnits(Table);
  ASSERT_TRUE(IsWindow(UnitWindow));
  FinalizeUnits(TUnitsEnd::ProcessExit);
  EXPECT_EQ(Trace, "+A+W");
  EXPECT_EQ(InitializedUnitCount(), 0u);
  EXPECT_TRUE(IsWindow(UnitWindow));
  DestroyWindow(UnitWindow);
}

TEST_F(UnitTableTest, ErrorsWhileEndingGoToTheDebuggerNotToTheDisplay) {
  uitest::TShownExceptions Display;
  const TUnitEntry Entries[] = {{"A", InitA, FinalA}, {"Shows", nullptr, FinalShows}, {"C", InitC, FinalC}};
  const TUnitTable Table = {"shows", {}, Entries};
  InitializeUnits(Table);
  {
    TDebugOutput Output;
    FinalizeUnits();
    EXPECT_EQ(Trace, "+A+C-C-S-A");
    EXPECT_EQ(Output.Lines, (std::vector<std::string>{"Tarvik: unit C failed to end: finalization failed\n",
                                                      "Tarvik: shown while ending\n"}));
  }
  EXPECT_TRUE(uitest::ShownMessages.empty());
  // The display is the caller's again afterwards.
  EXPECT_EQ(ShowExceptionProc, &uitest::RecordShown);
}

TEST_F(UnitTableTest, AFailedStartEndsOnlyWhatItStarted) {
  // A first start that fails leaves nothing started.
  EXPECT_THROW(InitializeUnits(Failing), EInvalidOperation);
  EXPECT_EQ(Trace, "+A+B+A-A-A");
  EXPECT_EQ(InitializedUnitCount(), 0u);
  EXPECT_TRUE(StartedUnitTables().empty());
  Trace.clear();
  InitializeUnits(Lower);
  EXPECT_THROW(InitializeUnits(Failing), EInvalidOperation);
  // The failing table's own A ended; the lower table, started before, still runs.
  EXPECT_EQ(Trace, "+A+B+A-A");
  EXPECT_EQ(StartedUnitTables(), std::vector<std::string>{"lower"});
  EXPECT_EQ(InitializedUnitCount(), 2u);
  FinalizeUnits();
  EXPECT_EQ(Trace, "+A+B+A-A-A");
}

// The class library's test program starts the class library alone: no unit of the
// libraries above it.
TEST(TestProgramStartTest, StartsTheClassLibraryAlone) {
  EXPECT_EQ(StartedUnitTables(), std::vector<std::string>{"classlib"});
  EXPECT_TRUE(IsUnitInitialized("Forms"));
  EXPECT_EQ(InitializedUnitCount(), ClasslibUnits.Units.size());
  for (const char* Above : {"KsBitmap", "PCBProcs", "ClientProcs"})
    EXPECT_FALSE(IsUnitInitialized(Above)) << Above;
}

// Counts what passes through the manager table while it is installed.
struct CountingManager {
  static inline TMemoryManager Previous;
  static inline int Gets = 0, Frees = 0;
  static void* Get(int Size) {
    ++Gets;
    return Previous.GetMem(Size);
  }
  static int Free(void* P) {
    ++Frees;
    return Previous.FreeMem(P);
  }
  static void* Realloc(void* P, int Size) { return Previous.ReallocMem(P, Size); }
};

int* volatile Sink = nullptr;

TEST(MemoryManagerTest, NewAndDeleteGoThroughTheTable) {
  GetMemoryManager(CountingManager::Previous);
  SetMemoryManager({CountingManager::Get, CountingManager::Free, CountingManager::Realloc});
  CountingManager::Gets = CountingManager::Frees = 0;
  Sink = new int(5);
  delete Sink;
  void* Block = GetMem(16);
  ReallocMem(Block, 0);  // frees through the table
  SetMemoryManager(CountingManager::Previous);
  EXPECT_EQ(CountingManager::Gets, 2);
  EXPECT_EQ(CountingManager::Frees, 2);
  EXPECT_EQ(Block, nullptr);
}

TEST(MemoryManagerTest, ExhaustionRaisesOutOfMemory) {
  static TMemoryManager Previous;
  GetMemoryManager(Previous);
  SetMemoryManager({[](int) -> void* { return nullptr; }, Previous.FreeMem, Previous.ReallocMem});
  bool Raised = false;
  try {
    GetMem(10);
  } catch (const EOutOfMemory&) {
    Raised = true;
  }
  SetMemoryManager(Previous);
  EXPECT_TRUE(Raised);
}

}  // namespace
