#include "framework/ModuleRuntime.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace __gnu_cxx {
// The runtime's clean-up hook: frees its emergency exception buffer.
void __freeres();
}  // namespace __gnu_cxx

namespace {

// ---------------------------------------------------------------------------------
// Per-thread exception state

// The runtime's per-thread exception state, laid out as its exception code reads it: the
// stack of exceptions being handled and the number thrown and not yet caught.
struct TEhGlobals {
  void* CaughtExceptions;
  unsigned int UncaughtExceptions;
};

INIT_ONCE EhSlotOnce = INIT_ONCE_STATIC_INIT;
DWORD EhSlot = FLS_OUT_OF_INDEXES;
// Set when the module is unloaded: from then on the unloading thread's last steps use
// ReleasedEhGlobals, which holds what its own record held.
bool EhSlotReleased = false;
TEhGlobals ReleasedEhGlobals = {};

// Runs when a thread or fiber ends, and for every thread's record when the slot is freed.
void WINAPI FreeEhGlobals(void* Globals) { HeapFree(GetProcessHeap(), 0, Globals); }

BOOL CALLBACK AllocateEhSlot(INIT_ONCE*, void*, void**) {
  EhSlot = FlsAlloc(FreeEhGlobals);
  return EhSlot != FLS_OUT_OF_INDEXES;
}

// The calling thread's record, made on first use. Keeps the thread's last error: the
// runtime asks for the record while it throws and catches, between a failing system call
// and the handler that reads the error. Like the runtime's own version, ends the process
// when the system has no slot or no memory left for it.
TEhGlobals* ThreadEhGlobals() {
  if (EhSlotReleased) return &ReleasedEhGlobals;
  DWORD LastError = GetLastError();
  if (!InitOnceExecuteOnce(&EhSlotOnce, AllocateEhSlot, nullptr, nullptr)) std::abort();
  auto* Globals = static_cast<TEhGlobals*>(FlsGetValue(EhSlot));
  if (!Globals) {
    Globals = static_cast<TEhGlobals*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(TEhGlobals)));
    if (!Globals || !FlsSetValue(EhSlot, Globals)) std::abort();
  }
  SetLastError(LastError);
  return Globals;
}

// ---------------------------------------------------------------------------------
// Guards of function-local statics

// The compiler's guard of a function-local static (64 bits): the first byte is set once
// the object is built, and the compiler's inline test reads it before calling
// __cxa_guard_acquire; the second word names the thread building the object.
struct TStaticGuard {
  unsigned char Built;
  unsigned char Unused[3];
  DWORD Builder;  // 0 when no thread is building the object
};
static_assert(sizeof(TStaticGuard) == sizeof(std::int64_t));

// Guards every static's Builder; threads waiting for another thread's object sleep on
// StaticDone, which wakes them whenever a construction ends. Neither holds anything the
// unload would have to free.
SRWLOCK StaticLock = SRWLOCK_INIT;
CONDITION_VARIABLE StaticDone = CONDITION_VARIABLE_INIT;

TStaticGuard* AsStaticGuard(std::int64_t* Guard) {
  return reinterpret_cast<TStaticGuard*>(Guard);
}

std::atomic_ref<unsigned char> BuiltFlag(TStaticGuard* Static) {
  return std::atomic_ref<unsigned char>(Static->Built);
}

// Ends a construction, built or not, and wakes the threads waiting for one.
void EndConstruction(TStaticGuard* Static, bool Built) {
  AcquireSRWLockExclusive(&StaticLock);
  if (Built) BuiltFlag(Static).store(1, std::memory_order_release);
  Static->Builder = 0;
  ReleaseSRWLockExclusive(&StaticLock);
  WakeAllConditionVariable(&StaticDone);
}

}  // namespace

// ---------------------------------------------------------------------------------
// The runtime's entry points that the module provides itself

extern "C" void* __cxa_get_globals() noexcept { return ThreadEhGlobals(); }

extern "C" void* __cxa_get_globals_fast() noexcept { return ThreadEhGlobals(); }

// 1 when the caller is to build the object; 0 when it is built (waiting while another
// thread builds it). A static used by its own construction raises std::logic_error, as
// the runtime's own version raises its error, instead of waiting for itself for ever;
// the compiler takes this call for one that cannot throw, so either ends the process.
extern "C" int __cxa_guard_acquire(std::int64_t* Guard) {
  TStaticGuard* Static = AsStaticGuard(Guard);
  if (BuiltFlag(Static).load(std::memory_order_acquire)) return 0;
  const DWORD Self = GetCurrentThreadId();
  AcquireSRWLockExclusive(&StaticLock);
  for (;;) {
    if (BuiltFlag(Static).load(std::memory_order_relaxed)) {
      ReleaseSRWLockExclusive(&StaticLock);
      return 0;
    }
    if (Static->Builder == 0) {
      Static->Builder = Self;
      ReleaseSRWLockExclusive(&StaticLock);
      return 1;
    }
    if (Static->Builder == Self) {
      ReleaseSRWLockExclusive(&StaticLock);
      throw std::logic_error("a function-local static is used by its own initialization");
    }
    SleepConditionVariableSRW(&StaticDone, &StaticLock, INFINITE, 0);
  }
}

extern "C" void __cxa_guard_release(std::int64_t* Guard) noexcept {
  EndConstruction(AsStaticGuard(Guard), true);
}

// The constructor threw: the next caller tries again.
extern "C" void __cxa_guard_abort(std::int64_t* Guard) noexcept {
  EndConstruction(AsStaticGuard(Guard), false);
}

// The threading library's pthread_once, which the module's link redirects here: the
// control (a long, 0 before the first call) is used as the system's one-time
// initialization. When Routine throws, the next caller runs it again.
extern "C" int __wrap_pthread_once(long* Control, void (*Routine)()) {
  static_assert(sizeof(long) == sizeof(INIT_ONCE));
  auto* Once = reinterpret_cast<INIT_ONCE*>(Control);
  BOOL Pending = FALSE;
  if (!Control || !Routine || !InitOnceBeginInitialize(Once, 0, &Pending, nullptr))
    return EINVAL;
  if (!Pending) return 0;
  try {
    Routine();
  } catch (...) {
    InitOnceComplete(Once, INIT_ONCE_INIT_FAILED, nullptr);
    throw;
  }
  InitOnceComplete(Once, 0, nullptr);
  return 0;
}

void ReleaseModuleRuntime() {
  if (EhSlot != FLS_OUT_OF_INDEXES) {
    if (auto* Globals = static_cast<TEhGlobals*>(FlsGetValue(EhSlot)))
      ReleasedEhGlobals = *Globals;
    EhSlotReleased = true;
    FlsFree(EhSlot);  // frees the record of every thread
    EhSlot = FLS_OUT_OF_INDEXES;
  }
  EhSlotReleased = true;
  __gnu_cxx::__freeres();
}
