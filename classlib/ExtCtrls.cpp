#include "classlib/ExtCtrls.h"

TCLASS_IMPL(TTimer)

void TTimer::AfterConstruction() {
  inherited::AfterConstruction();
  UpdateTimer();
}

void TTimer::BeforeDestruction() {
  FEnabled = false;
  if (FWindowHandle) {
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
    FWindowHandle = nullptr;
  }
  inherited::BeforeDestruction();
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

// A change starts the count again.
void TTimer::UpdateTimer() {
  if (FWindowHandle) KillTimer(FWindowHandle, 1);
  if (!FEnabled || FInterval == 0 || ComponentState().Contains(csDestroying)) return;
  if (!FWindowHandle) FWindowHandle = AllocateHWnd(TWndMethod::Bind<&TTimer::WndProc>(this));
  if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources(SNoTimers);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    Timer();
  } catch (...) {
    HandleWindowException(this);
  }
}

void TTimer::Timer() {
  if (FEnabled && OnTimer.Assigned()) OnTimer(this);
}
