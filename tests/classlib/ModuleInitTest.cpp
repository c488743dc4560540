#include <gtest/gtest.h>

#include <string>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"
#include "classlib/ModuleInit.h"

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

// Runs a table of its own, then restarts the module's table for the tests that follow.
class UnitTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FinalizeUnits();
    Trace.clear();
  }
  void TearDown() override {
    FinalizeUnits();
    InitializeUnits(ModuleUnits, ModuleUnitCount);
  }
};

TEST_F(UnitTableTest, RunsInOrderAndFinalizesInReverse) {
  const TUnitEntry Table[] = {{"A", InitA, FinalA}, {"B", InitB, nullptr}, {"C", InitC, FinalC}};
  InitializeUnits(Table, 3);
  EXPECT_EQ(Trace, "+A+B+C");
  EXPECT_EQ(InitializedUnitCount(), 3u);
  FinalizeUnits();  // C's failure does not keep A from ending
  EXPECT_EQ(Trace, "+A+B+C-C-A");
  EXPECT_EQ(InitializedUnitCount(), 0u);
}

TEST_F(UnitTableTest, AFailedStartEndsTheUnitsAlreadyStarted) {
  const TUnitEntry Table[] = {{"A", InitA, FinalA}, {"Fails", InitFails, FinalA}, {"B", InitB, nullptr}};
  EXPECT_THROW(InitializeUnits(Table, 3), EInvalidOperation);
  EXPECT_EQ(Trace, "+A-A");
  EXPECT_EQ(InitializedUnitCount(), 0u);
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
