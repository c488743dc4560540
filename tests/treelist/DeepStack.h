// Runs a test's body on a stack of a known size, small enough that one stack frame per
// level of a deep tree would overflow it long before the end (the thread's own stack
// may be larger or smaller).
#pragma once

#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include "classlib/ScopeExit.h"

namespace deepstack {

constexpr SIZE_T SmallStackBytes = 512 * 1024;

struct TFiberRun {
  const std::function<void()>* Body;
  LPVOID Caller;
};

inline void WINAPI FiberMain(LPVOID Parameter) {
  auto* Run = static_cast<TFiberRun*>(Parameter);
  try {
    (*Run->Body)();
  } catch (...) {
    ADD_FAILURE() << "an exception left the test's body";
  }
  SwitchToFiber(Run->Caller);
}

// Body runs on a fiber of this thread (so its windows stay with it); the thread is a
// fiber only meanwhile.
inline void RunOnSmallStack(const std::function<void()>& Body) {
  TFiberRun Run{&Body, ConvertThreadToFiber(nullptr)};
  ASSERT_NE(Run.Caller, nullptr);
  auto Back = ScopeExit([] { ConvertFiberToThread(); });
  LPVOID Fiber = CreateFiberEx(SmallStackBytes, SmallStackBytes, 0, FiberMain, &Run);
  ASSERT_NE(Fiber, nullptr);
  SwitchToFiber(Fiber);
  DeleteFiber(Fiber);
}

}  // namespace deepstack
