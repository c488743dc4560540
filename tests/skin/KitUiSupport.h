// Shared by the tests of the kit's windowed parts: the user-interface fixture of the
// class library's tests (with its screen pixels), kit colours without their alpha, and
// a windowed control that logs the messages its own window procedure receives.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <functional>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "classlib/Exceptions.h"
#include "skin/KsLowLevel.h"
#include "tests/classlib/UiTestSupport.h"

namespace kittest {

using namespace uitest;

// Messages that the tests send to see who receives them.
inline constexpr UINT WM_PING = WM_APP + 1;
inline constexpr UINT WM_STOPPED = WM_APP + 2;

// The colour of a kit pixel without its alpha.
inline TKsColor Rgb(TKsColor C) { return C & 0x00FFFFFF; }

// A step of a script: it runs at the first tick at which Ready holds (at once when it
// has no condition).
struct TStep {
  template <class F>
    requires std::is_invocable_v<F&>
  TStep(F Fn) : Run(std::move(Fn)) {}
  TStep(std::function<bool()> AReady, std::function<void()> ARun) : Ready(std::move(AReady)), Run(std::move(ARun)) {}
  std::function<bool()> Ready;
  std::function<void()> Run;
};
// A step that waits, tick after tick, for the state it acts on.
inline TStep When(std::function<bool()> Ready, std::function<void()> Run) { return TStep(std::move(Ready), std::move(Run)); }

// How long a step waits for its state, and a loop may stay open after the last step.
inline constexpr DWORD StepPatienceMs = 5000;

// Steps run from whatever loop is dispatching (the menus' tracking loops among them),
// at most one per timer tick; the timer stops after the last. A step that fails
// fatally (or throws, or waits in vain) ends the script and every menu loop, so that
// the loop it was to end cannot keep the program waiting; so does a loop still open
// long after the last step.
inline std::vector<TStep> Steps;
inline std::size_t NextStep = 0;
inline UINT_PTR StepTimer = 0;
inline DWORD StepWaitSince = 0;  // 0: not waiting
inline bool StepsAborted = false;
inline int AbortTicks = 0;

inline bool StepsDone() { return NextStep >= Steps.size(); }

// Ends the kit's tracking loops: each peeks a non-client click, closes its menu and
// leaves the message queued for the loop outside it.
inline void EndMenuLoops() {
  if (Application && Application->Handle()) PostMessageA(Application->Handle(), WM_NCMBUTTONDBLCLK, HTNOWHERE, 0);
  ReleaseCapture();
}
inline bool MenuLoopOpen() { return GetCapture() != nullptr; }

inline void StopSteps() {
  if (StepTimer) KillTimer(nullptr, StepTimer);
  StepTimer = 0;
}
inline void AbortSteps() {
  StepsAborted = true;
  AbortTicks = 0;
  EndMenuLoops();
}
// Whether Since lies more than the patience ago (0 starts the clock).
inline bool OutOfPatience(DWORD& Since) {
  const DWORD Now = GetTickCount() | 1;
  if (!Since) Since = Now;
  return Now - Since > StepPatienceMs;
}

// One tick: the next step when its state is there.
inline void TickSteps() {
  if (StepsAborted) {
    EndMenuLoops();
    if (++AbortTicks > 50 || !MenuLoopOpen()) StopSteps();
    return;
  }
  if (Steps.empty()) return StopSteps();
  if (StepsDone()) {
    if (!MenuLoopOpen()) return StopSteps();
    if (!OutOfPatience(StepWaitSince)) return;
    ADD_FAILURE() << "a menu loop was still open " << StepPatienceMs << " ms after the last step";
    return AbortSteps();
  }
  const std::size_t Step = NextStep;
  if (Steps[Step].Ready && !Steps[Step].Ready()) {
    if (!OutOfPatience(StepWaitSince)) return;
    ADD_FAILURE() << "step " << Step + 1 << " waited " << StepPatienceMs << " ms in vain for its state";
    return AbortSteps();
  }
  // Taken before it runs: a step may start a loop in which the next ones run.
  ++NextStep;
  StepWaitSince = 0;
  const bool FailedBefore = ::testing::Test::HasFatalFailure();
  bool Threw = true;
  try {
    const std::function<void()> Run = Steps[Step].Run;  // a step may start another script
    Run();
    Threw = false;
  } catch (const Exception& E) {
    ADD_FAILURE() << "step " << Step + 1 << " raised: " << E.Message();
  } catch (const std::exception& E) {
    ADD_FAILURE() << "step " << Step + 1 << " threw: " << E.what();
  } catch (...) {
    ADD_FAILURE() << "step " << Step + 1 << " threw";
  }
  if (Threw || (!FailedBefore && ::testing::Test::HasFatalFailure())) AbortSteps();
}
inline void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) { TickSteps(); }
inline void StartSteps(std::vector<TStep> Script) {
  StopSteps();
  Steps = std::move(Script);
  NextStep = 0;
  StepWaitSince = 0;
  StepsAborted = false;
  StepTimer = SetTimer(nullptr, 0, 30, RunNextStep);
}

// A windowed control that notes the pings and the end of its windows, in a shared log.
class TLogControl : public TCustomControl {
 public:
  TLogControl(TComponent* AOwner, std::vector<std::string>* ALog) : TCustomControl(AOwner), FLog(ALog) {
    SetBounds(10, 10, 60, 30);
  }
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_PING: Note("ping"); Message.Result = 5; return;
      case WM_STOPPED: Note("stopped"); return;
      case WM_DESTROY: Note("destroy"); break;
      case WM_NCDESTROY: Note("ncdestroy"); break;
    }
    TCustomControl::Dispatch(Message);
  }
  void Note(const std::string& What) {
    if (FLog) FLog->push_back("window:" + What);
  }

 private:
  std::vector<std::string>* FLog;
};

// Refuses a font taller than it can hold, as the memo refuses one in which it cannot hold
// its text: the font is undone and the change raises.
class TFontRefuser : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_FONTCHANGED && std::abs(Font()->Height()) > 1000)
      throw EInvalidOperation("The font is too large");
    TCustomControl::Dispatch(Message);
  }
};

}  // namespace kittest
