#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"
#include "classlib/ModuleInit.h"
#include "classlib/Units.h"

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

TEST_F(UnitTableTest, AFailedStartEndsOnlyWhatItStarted) {
  InitializeUnits(Lower);
  EXPECT_THROW(InitializeUnits(Failing), EInvalidOperation);
  // The failing table's own A ended; the lower table, started before, still runs.
  EXPECT_EQ(Trace, "+A+B+A-A");
  EXPECT_EQ(StartedUnitTables(), std::vector<std::string>{"lower"});
  EXPECT_EQ(InitializedUnitCount(), 2u);
  FinalizeUnits();
  EXPECT_EQ(Trace, "+A+B+A-A-A");
}

TEST_F(UnitTableTest, AFailedFirstStartLeavesNothingStarted) {
  EXPECT_THROW(InitializeUnits(Failing), EInvalidOperation);
  EXPECT_EQ(Trace, "+A+B+A-A-A");
  EXPECT_EQ(InitializedUnitCount(), 0u);
  EXPECT_TRUE(StartedUnitTables().empty());
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
