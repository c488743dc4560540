#include "skin/KsThemeButtons.h"

#include "classlib/TypInfo.h"

TCLASS_IMPL(TTeThemeButton)

void TTeThemeButton::SetThemeEngine(TTeThemeEngine* Value) {
  if (Value == FThemeEngine) return;
  if (FThemeEngine) FThemeEngine->RemoveFreeNotification(this);
  FThemeEngine = Value;
  if (FThemeEngine) FThemeEngine->FreeNotification(this);
  Invalidate();
}

bool TTeThemeButton::IsThemed() const {
  const TComponentState State = ComponentState();
  if (State.Contains(csDestroying) || State.Contains(csLoading)) return false;
  return FThemeEngine && FThemeEngine->ThemeAvailable();
}

Byte TTeThemeButton::ThemeState() const {
  if (!Enabled()) return tdsDisabled;
  if (Down()) return tdsPressed;
  if (MouseInControl()) return tdsHot;
  if (HasFocus()) return tdsFocused;
  if (DefaultActive()) return tdsDefault;
  return tdsNormal;
}

void TTeThemeButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FThemeEngine) return;
  FThemeEngine = nullptr;
  if (!ComponentState().Contains(csDestroying)) Invalidate();
}

void TTeThemeButton::DrawFace() {
  if (IsThemed())
    FThemeEngine->Theme()->DrawButton(Buffer(), Width(), Height(), ThemeState());
  else
    inherited::DrawFace();
}

// ---------------------------------------------------------------------------------

void InitKsThemeButtons() {
  RegisterClass(&TTeThemeButton::StaticClass());
  TPublish<TTeThemeButton> P;
  P.Prop("ThemeEngine", &TTeThemeButton::ThemeEngine, &TTeThemeButton::SetThemeEngine);
  P.Prop("Version", &TTeThemeButton::Version, &TTeThemeButton::SetVersion).Stored(false);
}

void DoneKsThemeButtons() {
  UnRegisterPublished(&TTeThemeButton::StaticClass());
  UnRegisterClass(&TTeThemeButton::StaticClass());
}
