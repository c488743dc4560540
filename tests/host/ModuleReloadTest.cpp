// Loading and unloading the module many times in one process: the C++ runtime it
// carries gives back what each load takes. The runtime probe is a DLL with the module's
// runtime services and nothing else; through it, exceptions and function-local statics
// are checked inside such a DLL, across threads and unloads.
#include "tests/host/HostTestSupport.h"

#include <vector>

namespace {

// The lowest free TLS index: the same after a load and unload that gave its slots back.
DWORD NextTlsIndex() {
  DWORD Index = TlsAlloc();
  TlsFree(Index);
  return Index;
}

DWORD NextFlsIndex() {
  DWORD Index = FlsAlloc(nullptr);
  FlsFree(Index);
  return Index;
}

// Bytes in use in all of the process's heaps.
SIZE_T HeapBytesInUse() {
  SIZE_T Total = 0;
  std::vector<HANDLE> Heaps(GetProcessHeaps(0, nullptr) + 8);
  Heaps.resize(GetProcessHeaps(static_cast<DWORD>(Heaps.size()), Heaps.data()));
  for (HANDLE Heap : Heaps) {
    if (!HeapLock(Heap)) continue;
    PROCESS_HEAP_ENTRY Entry{};
    while (HeapWalk(Heap, &Entry))
      if (Entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) Total += Entry.cbData;
    HeapUnlock(Heap);
  }
  return Total;
}

// ---------------------------------------------------------------------------------
// The module

class ModuleReloadTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    if (HasFatalFailure()) return;
    std::string Error;
    ASSERT_TRUE(Host->LoadWorkspace(Error)) << Error;
    ASSERT_TRUE(Host->LoadEditor(Error)) << Error;
  }

  // One host cycle: load the module, make its server module, release it, unload it.
  ::testing::AssertionResult RunModuleOnce() {
    std::string Error;
    HMODULE Module = LoadHostModule(TestHostRoot(), "Tarvik.dll", Error);
    if (!Module) return ::testing::AssertionFailure() << Error;
    auto Factory = HostProcAddress<TServerFactory>(Module, "ServerFactory");
    IServerModule* Server = nullptr;
    if (Factory) Factory(&Server, Client);
    ULONG Left = Server ? Server->Release() : 1;
    if (!FreeLibrary(Module)) return ::testing::AssertionFailure() << "FreeLibrary failed";
    if (!Server) return ::testing::AssertionFailure() << "no server module";
    if (Left != 0) return ::testing::AssertionFailure() << Left << " references left";
    if (GetModuleHandleA("Tarvik.dll"))
      return ::testing::AssertionFailure() << "the module stayed loaded";
    return ::testing::AssertionSuccess();
  }
};

// A slot kept per load shows after one cycle, and a buffer of the runtime's 18 KB kept
// per load would pass the allowance of 1 KB a load many times over within these cycles.
TEST_F(ModuleReloadTest, ThreeHundredLoadsInOneProcessTakeNoSlotAndKeepNoBuffer) {
  // The first cycle loads the system libraries that stay with the process.
  ASSERT_TRUE(RunModuleOnce());
  const DWORD TlsIndex = NextTlsIndex();
  const DWORD FlsIndex = NextFlsIndex();
  const SIZE_T HeapBytes = HeapBytesInUse();
  constexpr int Cycles = 300;
  for (int Cycle = 0; Cycle < Cycles; ++Cycle)
    ASSERT_TRUE(RunModuleOnce()) << "cycle " << Cycle;
  EXPECT_EQ(NextTlsIndex(), TlsIndex);
  EXPECT_EQ(NextFlsIndex(), FlsIndex);
  // The runtime's emergency exception buffer alone is 18 KB a load.
  EXPECT_LT(HeapBytesInUse(), HeapBytes + Cycles * 1024);
}

TEST_F(HostTest, HostCyclesWithTheWorkspaceAndEditorModulesTakeNoSlot) {
  std::string Error;
  ASSERT_TRUE(Host->Start("Tarvik.dll", Error)) << Error;
  ASSERT_TRUE(Host->Stop(&Error)) << Error;
  const DWORD TlsIndex = NextTlsIndex();
  const DWORD FlsIndex = NextFlsIndex();
  for (int Cycle = 0; Cycle < 100; ++Cycle) {
    ASSERT_TRUE(Host->Start("Tarvik.dll", Error)) << "cycle " << Cycle << ": " << Error;
    ASSERT_TRUE(Host->Stop(&Error)) << "cycle " << Cycle << ": " << Error;
  }
  EXPECT_EQ(NextTlsIndex(), TlsIndex);
  EXPECT_EQ(NextFlsIndex(), FlsIndex);
}

// ---------------------------------------------------------------------------------
// The runtime probe

// A check inside the probe: 0 when it holds, otherwise the failing step.
using TProbeCheck = int (*)();
using TProbeLastErrorInHandler = DWORD (*)(DWORD);
using TProbeThrowAndCatch = int (*)(int);
using TProbeSlowStatic = int (*)(LONG*);

class RuntimeProbeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Load()); }
  void TearDown() override {
    if (Probe) FreeLibrary(Probe);
  }

  bool Load() {
    Probe = LoadLibraryA((HostFolder() + "RuntimeProbe.dll").c_str());
    return Probe != nullptr;
  }
  void Unload() {
    ASSERT_TRUE(FreeLibrary(Probe));
    Probe = nullptr;
    ASSERT_EQ(GetModuleHandleA("RuntimeProbe.dll"), nullptr);
  }
  template <class Function>
  Function Get(const char* Name) {
    return HostProcAddress<Function>(Probe, Name);
  }

  HMODULE Probe = nullptr;
};

template <class Body>
DWORD WINAPI RunBody(void* Work) {
  return (*static_cast<Body*>(Work))();
}

// Runs Work on Count threads at once and waits for them; each thread's exit code is
// Work's answer, 0 for success.
template <class Body>
void RunOnThreads(int Count, Body& Work) {
  std::vector<HANDLE> Threads;
  for (int I = 0; I < Count; ++I) {
    HANDLE Thread = CreateThread(nullptr, 0, RunBody<Body>, &Work, 0, nullptr);
    ASSERT_NE(Thread, nullptr);
    Threads.push_back(Thread);
  }
  ASSERT_EQ(WaitForMultipleObjects(static_cast<DWORD>(Threads.size()), Threads.data(), TRUE,
                                   60000),
            WAIT_OBJECT_0);
  for (HANDLE Thread : Threads) {
    DWORD ExitCode = 1;
    GetExitCodeThread(Thread, &ExitCode);
    EXPECT_EQ(ExitCode, 0u);
    CloseHandle(Thread);
  }
}

TEST_F(RuntimeProbeTest, ThreadsThrowAndCatchAtOnceEachWithItsOwnState) {
  auto ThrowAndCatch = Get<TProbeThrowAndCatch>("ProbeThrowAndCatch");
  auto Exceptions = Get<TProbeCheck>("ProbeExceptions");
  auto Work = [&]() -> DWORD {
    for (int I = 0; I < 500; ++I)
      if (ThrowAndCatch(I) != I || Exceptions() != 0) return 1;
    return 0;
  };
  RunOnThreads(8, Work);
}

TEST_F(RuntimeProbeTest, AStaticIsBuiltOnceWhileOtherThreadsWaitForIt) {
  auto SlowStatic = Get<TProbeSlowStatic>("ProbeSlowStatic");
  LONG Constructions = 0;
  auto Work = [&]() -> DWORD { return SlowStatic(&Constructions) == 7 ? 0 : 1; };
  RunOnThreads(8, Work);
  EXPECT_EQ(Constructions, 1);
}

TEST_F(RuntimeProbeTest, AStaticUsedByItsOwnConstructionEndsTheProcessInsteadOfWaiting) {
  auto RecursiveStatic = Get<TProbeCheck>("ProbeRecursiveStatic");
  EXPECT_DEATH(RecursiveStatic(), "used by its own initialization");
}

// A thread that throws and catches in the DLL, says so, and ends when told.
struct TWaiter {
  TProbeThrowAndCatch ThrowAndCatch;
  HANDLE Thrown;
  HANDLE Unloaded;
};

DWORD WINAPI ThrowThenWait(void* Data) {
  auto* Waiter = static_cast<TWaiter*>(Data);
  DWORD Result = Waiter->ThrowAndCatch(5) == 5 ? 0 : 1;
  SetEvent(Waiter->Thrown);
  WaitForSingleObject(Waiter->Unloaded, INFINITE);
  return Result;
}

TEST_F(RuntimeProbeTest, UnloadGivesBackTheStateOfThreadsThatOutliveIt) {
  // Nothing has thrown in the DLL yet, so it holds no slot.
  const DWORD FlsIndex = NextFlsIndex();

  // A thread that threw inside the DLL waits while the DLL is unloaded, then ends: its
  // state is freed with the unload, and its end calls nothing of the unloaded DLL.
  TWaiter Waiter{Get<TProbeThrowAndCatch>("ProbeThrowAndCatch"),
                 CreateEventA(nullptr, TRUE, FALSE, nullptr),
                 CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HANDLE Thread = CreateThread(nullptr, 0, ThrowThenWait, &Waiter, 0, nullptr);
  ASSERT_NE(Thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(Waiter.Thrown, 60000), WAIT_OBJECT_0);
  EXPECT_EQ(Get<TProbeThrowAndCatch>("ProbeThrowAndCatch")(6), 6);
  Unload();
  EXPECT_EQ(NextFlsIndex(), FlsIndex);
  SetEvent(Waiter.Unloaded);
  ASSERT_EQ(WaitForSingleObject(Thread, 60000), WAIT_OBJECT_0);
  DWORD ExitCode = 1;
  GetExitCodeThread(Thread, &ExitCode);
  EXPECT_EQ(ExitCode, 0u);
  CloseHandle(Thread);
  CloseHandle(Waiter.Thrown);
  CloseHandle(Waiter.Unloaded);
}

// Exceptions nest, rethrow and count inside the DLL, a handler sees the last error set
// before the throw, and a static whose constructor threw is built by the next call: on
// the first load and on each of many reloads, which take no slot.
TEST_F(RuntimeProbeTest, ExceptionsAndStaticsWorkAfterEveryReloadWhichTakesNoSlot) {
  const DWORD TlsIndex = NextTlsIndex();
  const DWORD FlsIndex = NextFlsIndex();
  for (int Cycle = 0; Cycle <= 200; ++Cycle) {
    if (Cycle > 0) {
      Unload();
      ASSERT_TRUE(Load());
    }
    ASSERT_EQ(Get<TProbeCheck>("ProbeExceptions")(), 0) << "cycle " << Cycle;
    ASSERT_EQ(Get<TProbeCheck>("ProbeFlakyStatic")(), 0) << "cycle " << Cycle;
    ASSERT_EQ(Get<TProbeLastErrorInHandler>("ProbeLastErrorInHandler")(1234), 1234u);
  }
  Unload();
  EXPECT_EQ(NextTlsIndex(), TlsIndex);
  EXPECT_EQ(NextFlsIndex(), FlsIndex);
}

}  // namespace
