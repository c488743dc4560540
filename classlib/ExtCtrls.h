// Extended controls; for now the timer.
#pragma once

#include "classlib/Classes.h"
#include "classlib/Graphics.h"

inline constexpr const char* SNoTimers = "Not enough timers available";

// Runs OnTimer every Interval milliseconds while Enabled, from the message loop of the
// thread that made it. Its hidden window is made when the timer first runs.
class TTimer : public TComponent {
  TCLASS_DECL(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner) : TComponent(AOwner) {}
  // Starts the timer (Enabled with an Interval of 1000 by default).
  void AfterConstruction() override;
  // Stops the timer and releases its window.
  void BeforeDestruction() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);

  TNotifyEvent OnTimer;

 protected:
  // Runs OnTimer; an exception goes to Application->HandleException.
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool FEnabled = true;
  unsigned FInterval = 1000;
  HWND FWindowHandle = nullptr;
};
