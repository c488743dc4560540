// A DLL linked as the module is, with the module's runtime services and nothing else of
// it: the host's tests load it to check C++ exceptions and function-local statics inside
// a DLL that carries its own runtime, across threads and across unloads.
#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "framework/ModuleRuntime.h"

#define PROBE_EXPORT extern "C" __declspec(dllexport)

namespace {

// Counts the exceptions in flight while it is destroyed.
struct TUnwindWitness {
  int* Seen;
  ~TUnwindWitness() { *Seen = std::uncaught_exceptions(); }
};

struct TSlowStatic {
  int Value;
  explicit TSlowStatic(LONG* Constructions) : Value(7) {
    InterlockedIncrement(Constructions);
    Sleep(50);  // long enough for the other threads to arrive and wait
  }
};

LONG FlakyConstructions = 0;

// Throws on its first construction, so that its static is built on the second call.
struct TFlakyStatic {
  TFlakyStatic() {
    if (InterlockedIncrement(&FlakyConstructions) == 1) throw std::runtime_error("first");
  }
};

}  // namespace

// Exceptions thrown and caught in the DLL: nested, rethrown, held and rethrown, and
// counted while the stack unwinds. 0 when every step behaves; otherwise the failing step.
PROBE_EXPORT int ProbeExceptions() {
  int Seen = -1;
  try {
    TUnwindWitness Witness{&Seen};
    throw std::runtime_error("outer");
  } catch (const std::runtime_error&) {
    if (Seen != 1) return 1;
    try {
      throw 42;
    } catch (int Value) {
      if (Value != 42) return 2;
    }
    // Back in the outer handler: its exception is the current one again.
    try {
      throw;
    } catch (const std::runtime_error& Error) {
      if (std::string(Error.what()) != "outer") return 3;
    }
  }
  std::exception_ptr Held;
  try {
    throw std::logic_error("held");
  } catch (...) {
    Held = std::current_exception();
  }
  if (std::current_exception() || std::uncaught_exceptions() != 0) return 4;
  try {
    std::rethrow_exception(Held);
  } catch (const std::logic_error& Error) {
    if (std::string(Error.what()) != "held") return 5;
  }
  return 0;
}

// The last error a handler sees after an exception thrown just after a failing call.
PROBE_EXPORT DWORD ProbeLastErrorInHandler(DWORD Error) {
  try {
    SetLastError(Error);
    throw std::runtime_error("failed");
  } catch (const std::exception&) {
    return GetLastError();
  }
}

// Throws an exception and catches it, returning from inside the handler's own catch:
// a thread that calls it has the DLL's exception state for the rest of its life.
PROBE_EXPORT int ProbeThrowAndCatch(int Value) {
  try {
    throw Value;
  } catch (int Caught) {
    return Caught;
  }
}

// A function-local static built by the first caller while the others wait: the value,
// with Constructions counting the constructor's runs.
PROBE_EXPORT int ProbeSlowStatic(LONG* Constructions) {
  static TSlowStatic Static(Constructions);
  return Static.Value;
}

// A function-local static whose constructor throws the first time: 0 when the failed
// construction left it unbuilt and the next call built it; otherwise the failing step.
PROBE_EXPORT int ProbeFlakyStatic() {
  auto Get = []() -> TFlakyStatic& {
    static TFlakyStatic Static;
    return Static;
  };
  try {
    Get();
    return 1;
  } catch (const std::runtime_error&) {
  }
  Get();
  Get();
  return FlakyConstructions == 2 ? 0 : 2;
}

namespace {

int RecursiveStatic();

// Its constructor uses the static it builds.
struct TRecursiveStatic {
  int Value;
  TRecursiveStatic() : Value(RecursiveStatic()) {}
};

int RecursiveStatic() {
  static TRecursiveStatic Static;
  return Static.Value;
}

}  // namespace

// Uses a static whose construction uses itself.
PROBE_EXPORT int ProbeRecursiveStatic() { return RecursiveStatic(); }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_DETACH) ReleaseModuleRuntime();
  return TRUE;
}
