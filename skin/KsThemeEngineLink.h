// A themed control's reference to its theme engine: not owned, and dropped when the
// engine is freed, whoever owns it (the link asks the engine for its free
// notification; the control passes its Notification on to Removed).
#pragma once

#include "skin/KsThemeEngine.h"

class TTeThemeEngineLink {
 public:
  explicit TTeThemeEngineLink(TComponent* AControl) : FControl(AControl) {}
  TTeThemeEngineLink(const TTeThemeEngineLink&) = delete;
  TTeThemeEngineLink& operator=(const TTeThemeEngineLink&) = delete;

  TTeThemeEngine* Engine() const { return FEngine; }
  // Stores Value with its free notification; answers whether it changed.
  bool Set(TTeThemeEngine* Value) {
    if (Value == FEngine) return false;
    if (FEngine) FEngine->RemoveFreeNotification(FControl);
    FEngine = Value;
    if (FEngine) FEngine->FreeNotification(FControl);
    return true;
  }
  // For the control's Notification: the engine's removal clears the reference and
  // answers true.
  bool Removed(TComponent* AComponent, TOperation Operation) {
    if (Operation != opRemove || AComponent != FEngine || !FEngine) return false;
    FEngine = nullptr;
    return true;
  }
  // The painter draws: the control is neither being destroyed nor loading, and the
  // engine's painter is available.
  bool Themed() const {
    const TComponentState State = FControl->ComponentState();
    if (State.Contains(csDestroying) || State.Contains(csLoading)) return false;
    return FEngine && FEngine->ThemeAvailable();
  }
  // The painter; only while Themed().
  TTeTheme* Theme() const { return FEngine->Theme(); }

 private:
  TComponent* FControl;
  TTeThemeEngine* FEngine = nullptr;
};
