// The memory-manager hook over a counting fake manager: exact forwarding, the default
// routine behind an empty entry, the notification of watched frees (once, with
// handlers that free again or withdraw themselves), far-apart addresses, nested starts
// and the end restoring the manager that was in force.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"
#include "classlib/ModuleInit.h"
#include "treenode/Units.h"
#include "treenode/dcMemHook.h"

namespace {

// The manager the hook wrapped when the test program started (the process heap).
TMemoryManager Real{};

// Blocks inside this buffer are the fake manager's own: it "frees" them by counting,
// so a test can free one any number of times.
alignas(16) char FakeBlocks[64];
bool IsFakeBlock(void* P) {
  return P >= static_cast<void*>(FakeBlocks) && P < static_cast<void*>(FakeBlocks + sizeof(FakeBlocks));
}

struct TFakeCounts {
  int Gets = 0, Frees = 0, Reallocs = 0;
  int FakeBlockFrees = 0;
  int LastSize = 0;
  void* LastPointer = nullptr;
  void* LastResult = nullptr;
};
TFakeCounts Fake;

void* FakeGetMem(int Size) {
  ++Fake.Gets;
  Fake.LastSize = Size;
  return Fake.LastResult = Real.GetMem(Size);
}
int FakeFreeMem(void* P) {
  ++Fake.Frees;
  Fake.LastPointer = P;
  if (IsFakeBlock(P)) {
    ++Fake.FakeBlockFrees;
    return 7;
  }  // an answer of its own, to see it passed on
  return Real.FreeMem(P);
}
void* FakeReallocMem(void* P, int Size) {
  ++Fake.Reallocs;
  Fake.LastPointer = P;
  Fake.LastSize = Size;
  return Fake.LastResult = Real.ReallocMem(P, Size);
}

constexpr TMemoryManager FakeManager = {FakeGetMem, FakeFreeMem, FakeReallocMem};

int* volatile Escaped = nullptr;

// Frees through the manager in force, as operator delete does.
int Free(void* P) {
  TMemoryManager Current;
  GetMemoryManager(Current);
  return Current.FreeMem(P);
}

// Handlers that note their calls and can act inside them.
class THandlers : public TObject {
 public:
  void First(void* Address) { Calls.push_back({1, Address}); OnFirst(this, Address); }
  void Second(void* Address) { Calls.push_back({2, Address}); }
  void Third(void* Address) { Calls.push_back({3, Address}); }
  TFreeNotifyEvent FirstEvent() { return TFreeNotifyEvent::Bind<&THandlers::First>(this); }
  TFreeNotifyEvent SecondEvent() { return TFreeNotifyEvent::Bind<&THandlers::Second>(this); }
  TFreeNotifyEvent ThirdEvent() { return TFreeNotifyEvent::Bind<&THandlers::Third>(this); }

  struct TCall {
    int Handler;
    void* Address;
    bool operator==(const TCall&) const = default;
  };
  std::vector<TCall> Calls;
  void (*OnFirst)(THandlers*, void*) = [](THandlers*, void*) {};
};

// Each test runs with the hook wrapped around the fake manager instead of the real
// one, and puts the real one back afterwards.
class MemHookTest : public ::testing::Test {
 protected:
  void SetUp() override { Install(FakeManager); }
  void TearDown() override {
    while (FreeNotifiers()) DonedcMemHook();
    SetMemoryManager(Real);
    InitdcMemHook();
  }
  // Ends the hook the test program started and starts it again over Manager.
  static void Install(const TMemoryManager& Manager) {
    DonedcMemHook();
    GetMemoryManager(Real);
    Fake = TFakeCounts{};
    SetMemoryManager(Manager);
    InitdcMemHook();
  }
  static TMemoryManager Current() {
    TMemoryManager M;
    GetMemoryManager(M);
    return M;
  }
};

TEST_F(MemHookTest, TheHookIsTheManagerWhileInstalled) {
  TMemoryManager M = Current();
  EXPECT_EQ(M.GetMem, &HookGetMem);
  EXPECT_EQ(M.FreeMem, &HookFreeMem);
  EXPECT_EQ(M.ReallocMem, &HookReallocMem);
  ASSERT_NE(FreeNotifiers(), nullptr);
  EXPECT_EQ(FreeNotifiers()->GetCount(), 0);
}

TEST_F(MemHookTest, WithoutWatchesEachOperationReturnsExactlyWhatTheSavedManagerReturns) {
  TMemoryManager M = Current();
  int Gets = Fake.Gets;
  void* P = M.GetMem(24);
  EXPECT_EQ(Fake.Gets, Gets + 1);
  EXPECT_EQ(Fake.LastSize, 24);
  EXPECT_EQ(P, Fake.LastResult);

  int Reallocs = Fake.Reallocs;
  void* Q = M.ReallocMem(P, 4000);
  EXPECT_EQ(Fake.Reallocs, Reallocs + 1);
  EXPECT_EQ(Fake.LastPointer, P);
  EXPECT_EQ(Fake.LastSize, 4000);
  EXPECT_EQ(Q, Fake.LastResult);

  int Frees = Fake.Frees;
  EXPECT_EQ(M.FreeMem(Q), 0);
  EXPECT_EQ(Fake.Frees, Frees + 1);
  EXPECT_EQ(Fake.LastPointer, Q);
  EXPECT_EQ(M.FreeMem(FakeBlocks), 7) << "the saved manager's own answer";
}

TEST_F(MemHookTest, CppAllocationsPassThroughTheHook) {
  int Gets = Fake.Gets, Frees = Fake.Frees;
  auto* Value = new int(5);
  Escaped = Value;  // so that the pair is not left out
  delete Value;
  EXPECT_EQ(Fake.Gets, Gets + 1);
  EXPECT_EQ(Fake.Frees, Frees + 1);
}

TEST_F(MemHookTest, AnEmptySavedEntryReachesTheDefaultRoutine) {
  TMemoryManager Partial = {FakeGetMem, FakeFreeMem, nullptr};
  TearDown();
  Install(Partial);
  TMemoryManager M = Current();
  void* P = M.GetMem(16);
  int Reallocs = Fake.Reallocs;
  void* Q = M.ReallocMem(P, 300);
  ASSERT_NE(Q, nullptr);
  EXPECT_EQ(Fake.Reallocs, Reallocs) << "the fake has no reallocation";
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, Q), 300u) << "the process heap resized it";
  EXPECT_EQ(M.FreeMem(Q), 0);
}

TEST_F(MemHookTest, AnEmptyFreeEntryReachesTheDefaultRoutineAndTheEndSurvivesIt) {
  TMemoryManager Partial = {FakeGetMem, nullptr, FakeReallocMem};
  TearDown();
  Install(Partial);
  TMemoryManager M = Current();
  void* P = M.GetMem(16);
  int Frees = Fake.Frees;
  EXPECT_EQ(M.FreeMem(P), 0);
  EXPECT_EQ(Fake.Frees, Frees);
  // The watch list is freed while the hook still forwards its frees.
  THandlers Handlers;
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  DonedcMemHook();
  TMemoryManager After = Current();
  SetMemoryManager(Real);  // before anything frees again
  EXPECT_EQ(After.FreeMem, nullptr);
  EXPECT_EQ(After.GetMem, &FakeGetMem);
  EXPECT_TRUE(Handlers.Calls.empty());
}

TEST_F(MemHookTest, AWatchedFreeCallsEveryHandlerOnceWithTheAddress) {
  THandlers Handlers;
  AddFreeNotifier(FakeBlocks, Handlers.FirstEvent());
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  AddFreeNotifier(FakeBlocks + 8, Handlers.ThirdEvent());
  EXPECT_EQ(FreeNotifiers()->GetCount(), 2);

  EXPECT_EQ(Free(FakeBlocks), 7);
  EXPECT_EQ(Handlers.Calls, (std::vector<THandlers::TCall>{{1, FakeBlocks}, {2, FakeBlocks}}));
  EXPECT_EQ(FreeNotifiers()->GetCount(), 1) << "a watch ends with its free";
  Free(FakeBlocks);
  EXPECT_EQ(Handlers.Calls.size(), 2u);
  Free(FakeBlocks + 8);
  EXPECT_EQ(Handlers.Calls.back(), (THandlers::TCall{3, FakeBlocks + 8}));
  EXPECT_EQ(FreeNotifiers()->GetCount(), 0);
}

TEST_F(MemHookTest, AReallocationNotifiesNobody) {
  THandlers Handlers;
  void* P = GetMem(16);
  void* Watched = P;
  AddFreeNotifier(Watched, Handlers.SecondEvent());
  ReallocMem(P, 100000);  // the block may move
  EXPECT_TRUE(Handlers.Calls.empty());
  RemoveFreeNotifier(Watched, Handlers.SecondEvent());
  FreeMem(P);
  EXPECT_TRUE(Handlers.Calls.empty());
}

TEST_F(MemHookTest, AHandlerFreeingTheAddressAgainIsNotCalledTwice) {
  THandlers Handlers;
  Handlers.OnFirst = [](THandlers*, void* Address) { Free(Address); };
  AddFreeNotifier(FakeBlocks, Handlers.FirstEvent());
  Free(FakeBlocks);
  EXPECT_EQ(Fake.FakeBlockFrees, 2) << "both frees reached the manager";
  EXPECT_EQ(Handlers.Calls.size(), 1u);
}

TEST_F(MemHookTest, AHandlerWithdrawingItselfDoesNotSkipTheNext) {
  THandlers Handlers;
  Handlers.OnFirst = [](THandlers* Self, void* Address) { RemoveFreeNotifier(Address, Self->FirstEvent()); };
  AddFreeNotifier(FakeBlocks, Handlers.FirstEvent());
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  AddFreeNotifier(FakeBlocks, Handlers.ThirdEvent());
  Free(FakeBlocks);
  EXPECT_EQ(Handlers.Calls,
            (std::vector<THandlers::TCall>{{1, FakeBlocks}, {2, FakeBlocks}, {3, FakeBlocks}}));
}

TEST_F(MemHookTest, AHandlerWithdrawingTheLastRegistrationEndsThePassCleanly) {
  THandlers Handlers;
  Handlers.OnFirst = [](THandlers* Self, void* Address) { RemoveFreeNotifier(Address, Self->FirstEvent()); };
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  AddFreeNotifier(FakeBlocks, Handlers.FirstEvent());
  Free(FakeBlocks);
  EXPECT_EQ(Handlers.Calls, (std::vector<THandlers::TCall>{{2, FakeBlocks}, {1, FakeBlocks}}));
  EXPECT_EQ(FreeNotifiers()->GetCount(), 0);
}

std::vector<AnsiString> Reported;
void RecordReported(TObject*) {
  try {
    throw;
  } catch (const Exception& E) {
    Reported.push_back(E.Message());
  }
}

TEST_F(MemHookTest, AFailingHandlerIsReportedAndTheFreeStillAnswers) {
  auto SavedHandler = ApplicationHandleException;
  ApplicationHandleException = RecordReported;
  Reported.clear();
  THandlers Handlers;
  Handlers.OnFirst = [](THandlers*, void*) { throw Exception("handler failed"); };
  AddFreeNotifier(FakeBlocks, Handlers.FirstEvent());
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  EXPECT_EQ(Free(FakeBlocks), 7);
  ApplicationHandleException = SavedHandler;
  EXPECT_EQ(Reported, (std::vector<AnsiString>{"handler failed"}));
  EXPECT_EQ(FreeNotifiers()->GetCount(), 0) << "the watch ended with its free";
}

TEST_F(MemHookTest, AWithdrawnWatchIsNotNotified) {
  THandlers Handlers;
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  AddFreeNotifier(FakeBlocks, Handlers.ThirdEvent());
  RemoveFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  EXPECT_EQ(FreeNotifiers()->GetCount(), 1);
  RemoveFreeNotifier(FakeBlocks, Handlers.ThirdEvent());
  EXPECT_EQ(FreeNotifiers()->GetCount(), 0) << "an entry without handlers leaves the list";
  Free(FakeBlocks);
  EXPECT_TRUE(Handlers.Calls.empty());
}

TEST_F(MemHookTest, AddressesTwoGigabytesApartStillOrderAndMatch) {
  // The addresses are only watched, never freed through the heap.
  auto* Low = reinterpret_cast<void*>(std::uintptr_t{0x00100000});
  auto* High = reinterpret_cast<void*>(std::uintptr_t{0xC0000000});
  auto* Middle = reinterpret_cast<void*>(std::uintptr_t{0x7FFF0000});
  THandlers Handlers;
  AddFreeNotifier(High, Handlers.ThirdEvent());
  AddFreeNotifier(Low, Handlers.FirstEvent());
  AddFreeNotifier(Middle, Handlers.SecondEvent());
  TFreeNotifiersList* List = FreeNotifiers();
  ASSERT_EQ(List->GetCount(), 3);
  EXPECT_EQ(static_cast<TFreeNotifierEntry*>(List->GetItem(0))->Address(), Low);
  EXPECT_EQ(static_cast<TFreeNotifierEntry*>(List->GetItem(2))->Address(), High);
  EXPECT_EQ(FindFreeNotifier(List, High)->Address(), High);
  EXPECT_EQ(FindFreeNotifier(List, Low)->Address(), Low);
  EXPECT_EQ(FindFreeNotifier(List, reinterpret_cast<void*>(std::uintptr_t{0xC0000010})), nullptr);
  NotifyFree(List, High);
  EXPECT_EQ(Handlers.Calls, (std::vector<THandlers::TCall>{{3, High}}));
  RemoveFreeNotifier(Low, Handlers.FirstEvent());
  RemoveFreeNotifier(Middle, Handlers.SecondEvent());
}

TEST_F(MemHookTest, OnlyTheLastEndRestoresAndTheEndRestoresTheFake) {
  InitdcMemHook();  // a second start does nothing
  EXPECT_EQ(Current().FreeMem, &HookFreeMem);
  DonedcMemHook();  // nor its end
  EXPECT_EQ(Current().FreeMem, &HookFreeMem);
  ASSERT_NE(FreeNotifiers(), nullptr);

  THandlers Handlers;
  AddFreeNotifier(FakeBlocks, Handlers.SecondEvent());
  DonedcMemHook();
  TMemoryManager After = Current();
  EXPECT_EQ(After.GetMem, &FakeGetMem);
  EXPECT_EQ(After.FreeMem, &FakeFreeMem);
  EXPECT_EQ(After.ReallocMem, &FakeReallocMem);
  EXPECT_EQ(FreeNotifiers(), nullptr);
  EXPECT_TRUE(Handlers.Calls.empty()) << "ending frees the watches without notifying";
  EXPECT_THROW(AddFreeNotifier(FakeBlocks, Handlers.SecondEvent()), EInvalidOperation);
}

// The library's table leaves the hook to the module; this program starts it itself.
TEST(MemHookUnitTest, IsStartedByTheProgramNotByTheTreeNodeLibrary) {
  EXPECT_TRUE(IsUnitInitialized("dcMemHook"));
  EXPECT_NE(FreeNotifiers(), nullptr);
  for (const TUnitEntry& Unit : TreenodeUnits.Units) EXPECT_STRNE(Unit.Name, "dcMemHook");
}

TEST(DefaultProcTest, TakesTheFirstWhenAssigned) {
  EXPECT_EQ(DefaultProc<void* (*)(int)>(nullptr, &HookGetMem), &HookGetMem);
  EXPECT_EQ(DefaultProc<void* (*)(int)>(&HookGetMem, nullptr), &HookGetMem);
}

}  // namespace
