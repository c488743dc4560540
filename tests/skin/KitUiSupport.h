// Shared by the tests of the kit's windowed parts: the user-interface fixture of the
// class library's tests (with its screen pixels), kit colours without their alpha, and
// a windowed control that logs the messages its own window procedure receives.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "skin/KsLowLevel.h"
#include "tests/classlib/UiTestSupport.h"

namespace kittest {

using namespace uitest;

// Messages that the tests send to see who receives them.
inline constexpr UINT WM_PING = WM_APP + 1;
inline constexpr UINT WM_STOPPED = WM_APP + 2;

// The colour of a kit pixel without its alpha.
inline TKsColor Rgb(TKsColor C) { return C & 0x00FFFFFF; }

// Steps run one per timer tick, from whatever loop is dispatching (the menus' tracking
// loops among them); the timer stops after the last.
inline std::vector<std::function<void()>> Steps;
inline std::size_t NextStep = 0;
inline void CALLBACK RunNextStep(HWND, UINT, UINT_PTR Timer, DWORD) {
  if (NextStep >= Steps.size()) {
    KillTimer(nullptr, Timer);
    return;
  }
  // Taken before it runs: a step may start a loop in which the next ones run.
  const std::size_t Step = NextStep++;
  Steps[Step]();
}
inline void StartSteps(std::vector<std::function<void()>> Script) {
  Steps = std::move(Script);
  NextStep = 0;
  SetTimer(nullptr, 0, 30, RunNextStep);
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

}  // namespace kittest
