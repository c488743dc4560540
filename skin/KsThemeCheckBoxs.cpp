#include "skin/KsThemeCheckBoxs.h"

#include "classlib/TypInfo.h"

TCLASS_IMPL(TTeThemeCheckBox)
TCLASS_IMPL(TTeThemeRadioButton)

Byte CheckDrawState(const TKsCustomControl* Control, bool Pressed) {
  if (!Control->Enabled()) return tdsDisabled;
  if (Pressed) return tdsPressed;
  if (Control->MouseInControl()) return tdsHot;
  return tdsNormal;
}

// ---------------------------------------------------------------------------------
// TTeThemeCheckBox

void TTeThemeCheckBox::SetThemeEngine(TTeThemeEngine* Value) {
  if (FLink.Set(Value)) Invalidate();
}

void TTeThemeCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (FLink.Removed(AComponent, Operation) && !ComponentState().Contains(csDestroying))
    Invalidate();
}

TPoint TTeThemeCheckBox::GetCheckSize() {
  if (!IsThemed()) return inherited::GetCheckSize();
  return TPoint{FLink.Theme()->GetSize(16), FLink.Theme()->GetSize(17)};
}

void TTeThemeCheckBox::DrawCheck() {
  if (!IsThemed()) {
    inherited::DrawCheck();
    return;
  }
  TRect R = CheckRect();
  OffsetRect(&R, 0, 2);
  FLink.Theme()->DrawCheckBox(Buffer(), R, CheckDrawState(this, Pressed()),
                              static_cast<Byte>(State()));
}

// ---------------------------------------------------------------------------------
// TTeThemeRadioButton

void TTeThemeRadioButton::SetThemeEngine(TTeThemeEngine* Value) {
  if (FLink.Set(Value)) Invalidate();
}

void TTeThemeRadioButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (FLink.Removed(AComponent, Operation) && !ComponentState().Contains(csDestroying))
    Invalidate();
}

TPoint TTeThemeRadioButton::GetCheckSize() {
  if (!IsThemed()) return inherited::GetCheckSize();
  return TPoint{FLink.Theme()->GetSize(18), FLink.Theme()->GetSize(19)};
}

void TTeThemeRadioButton::DrawCheck() {
  if (!IsThemed()) {
    inherited::DrawCheck();
    return;
  }
  FLink.Theme()->DrawRadioButton(Buffer(), CheckRect(), CheckDrawState(this, Pressed()),
                                 Checked());
}

// ---------------------------------------------------------------------------------
// The unit

namespace {

template <class T>
void PublishThemed() {
  RegisterClass(&T::StaticClass());
  TPublish<T> P;
  P.Prop("ThemeEngine", &T::ThemeEngine, &T::SetThemeEngine);
  P.Prop("Version", &T::Version, &T::SetVersion).Stored(false);
}

template <class T>
void UnpublishThemed() {
  UnRegisterPublished(&T::StaticClass());
  UnRegisterClass(&T::StaticClass());
}

}  // namespace

void InitKsThemeCheckBoxs() {
  PublishThemed<TTeThemeCheckBox>();
  PublishThemed<TTeThemeRadioButton>();
}

void DoneKsThemeCheckBoxs() {
  UnpublishThemed<TTeThemeRadioButton>();
  UnpublishThemed<TTeThemeCheckBox>();
}
