// The dialogs' theming: the kit's theme engine and themed frame on every dialog.
#include <set>

#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"
#include "framework/Rt_Util.h"
#include "framework/Rt_forms.h"
#include "skin/KsThemeCheckBoxs.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "skin/KsThemeGroupBoxs.h"
#include "skin/KsThemeXP.h"
#include "skin/XPEdits2.h"

namespace {

// The painter a dialog's engine gets: the visual-styles one where the system has
// visual styles, else the atlas painter.
TTeTheme* NewDialogPainter() {
  if (IsWindowsXPOrLater()) return NewObject<TTeThemeXP>();
  return FallbackThemeClass ? FallbackThemeClass->Create() : nullptr;
}

// Grey text reads better as the dark shadow colour in Arial on the themed faces.
void GreyTextToDarkShadow(TFont* Font) {
  if (Font->Color() != clGrayText) return;
  Font->SetColor(cl3DDkShadow);
  Font->SetName("Arial");
}

// An edit on the dialog's face writes in pure blue; one in a themed group box or a
// frame takes the system's window colours and draws its own background.
void ThemeXPEdit(TCustomXPEdit* Edit) {
  TWinControl* Parent = Edit->Parent();
  if (!ObjectAs<TTeThemeGroupBox>(Parent) && !ObjectAs<TCustomFrame>(Parent)) {
    Edit->Font()->SetColor(static_cast<TColor>(0xFF0000));
    return;
  }
  Edit->Colors()->SetFrameColor(clBtnShadow);
  Edit->Colors()->SetColor(clWindow);
  Edit->Font()->SetColor(clWindowText);
  Edit->SetTransparent(false);
}

void ApplyTheme(TComponent* Component, TTeThemeEngine* Engine, std::set<TComponent*>& Done) {
  if (!Component || !Done.insert(Component).second) return;
  if (IsPublishedProp(Component, "ThemeEngine")) SetObjectProp(Component, "ThemeEngine", Engine);
  if (auto* Control = ObjectAs<TWinControl>(Component))
    for (int I = 0; I < Control->ControlCount(); ++I) ApplyTheme(Control->Controls(I), Engine, Done);
  for (int I = 0; I < Component->ComponentCount(); ++I) ApplyTheme(Component->Components(I), Engine, Done);
  if (auto* Label = ObjectAs<TLabel>(Component)) GreyTextToDarkShadow(Label->Font());
  if (auto* Check = ObjectAs<TTeThemeCheckBox>(Component)) {
    Check->SetHeight(19);
    GreyTextToDarkShadow(Check->Font());
  }
  if (auto* Edit = ObjectAs<TCustomXPEdit>(Component)) ThemeXPEdit(Edit);
}

}  // namespace

TKsBorderIcons TServerDialog::ThemeBorderIcons() { return TKsBorderIcons{kbiClose, kbiHelp}; }

void TServerDialog::SetupDialogTheme() {
  for (int I = ComponentCount() - 1; I >= 0; --I) {
    if (auto* Engine = ObjectAs<TTeThemeEngine>(Components(I))) FThemeEngine = Engine;
    if (auto* Form = ObjectAs<TTeThemeForm>(Components(I))) FThemeForm = Form;
  }
  if (!FThemeEngine) FThemeEngine = NewObject<TTeThemeEngine>(this);
  // Read before a new frame makes the dialog sizeable.
  const bool Sizeable = BorderStyle() == bsSizeable || BorderStyle() == bsSizeToolWin;
  const bool NewForm = !FThemeForm;
  if (NewForm) FThemeForm = NewObject<TTeThemeForm>(this);

  FThemeEngine->SetDeltaBrightness(0);
  FThemeEngine->SetDeltaHue(0);
  if (TTeTheme* Painter = NewDialogPainter()) FThemeEngine->SetTheme(Painter);
  if (IsWindowsXPOrLater()) FThemeEngine->SetUseNativeXPTheme(true);

  TTeThemeForm* F = FThemeForm;
  F->SetActive(true);
  F->SetBlend(false);
  F->SetBlendValue(150);
  F->SetBorderIcons(ThemeBorderIcons());
  F->SetBorderStyle(kbsStandard);
  F->SetDropShadow(false);
  F->SetShadowWidth(4);
  F->SetMagnetic(true);
  F->SetMagneticValue(20);
  F->SetSimpleDrag(false);
  F->SetShowAnimation(kaNone);
  F->SetShowAnimationTime(400);
  F->SetStayOnTop(false);
  F->SetSysMenuBlend(false);
  F->SetSysMenuBlendValue(150);
  F->SetSysMenuDropShadow(false);
  F->SetSysMenuShadowWidth(4);
  F->SetSysMenuShowAnimation(kaNone);
  F->SetSysMenuShowAnimationTime(300);
  F->SetWindowState(kwsNormal);
  F->SetThemeEngine(FThemeEngine);
  F->SetCanMove(true);
  if (NewForm) F->SetCanResize(Sizeable);
}

void TServerDialog::Loaded() {
  inherited::Loaded();
  // The frame's metrics follow the painter: the client area is what the form file
  // asked for, whatever frame ends up round it.
  const int Width = ClientWidth(), Height = ClientHeight();
  SetupDialogTheme();
  // Both are told that loading is done (through the base, where Loaded is public).
  static_cast<TComponent*>(FThemeEngine)->Loaded();
  static_cast<TComponent*>(FThemeForm)->Loaded();
  ApplyDialogTheme(this);
  SetClientWidth(Width);
  SetClientHeight(Height);
}

void TServerDialog::ApplyDialogTheme(TComponent* Component) {
  std::set<TComponent*> Done;
  ApplyTheme(Component, FThemeEngine, Done);
}

void TServerDialog::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FThemeEngine) FThemeEngine = nullptr;
    if (AComponent == FThemeForm) FThemeForm = nullptr;
    return;
  }
  if (FThemeEngine && !ComponentState().Contains(csLoading) && ObjectAs<TControl>(AComponent))
    ApplyDialogTheme(AComponent);
}

void TServerDialog::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_CONTROLCHANGE && Message.LParam && FThemeEngine)
    ApplyDialogTheme(reinterpret_cast<TControl*>(Message.WParam));
  inherited::Dispatch(Message);
}

void ThemedInsertControl(TControl* Control) {
  TServerDialog* Dialog = nullptr;
  for (TControl* C = Control; C && !Dialog; C = C->Parent()) Dialog = ObjectAs<TServerDialog>(C);
  if (!Dialog || !Dialog->ThemeEngine()) return;
  if (auto* Frame = ObjectAs<TCustomFrame>(Control))
    if (TTeTheme* Painter = Dialog->ThemeEngine()->Theme()) Frame->SetColor(Painter->GetColor(11));
  Dialog->ApplyDialogTheme(Control);
}
