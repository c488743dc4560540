#include "skin/KsThemeForms.h"

#include <windows.h>

#include "classlib/GdiScopes.h"
#include "classlib/ModuleInit.h"
#include "classlib/TypInfo.h"
#include "skin/KsItems.h"
#include "skin/KsThemeMenus.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TTeThemeForm)

namespace {

constexpr const char* NativeThemeName = "XP ThemeAPI";
constexpr UINT CaptionTextFlags = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
// The caption buttons in paint order, with the hit code of each.
constexpr int PaintOrder[] = {kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray};
constexpr Byte CodeOf[] = {khtClose, khtSysMenu, khtMinimize, khtMaximize, khtHelp, khtRollup, khtTray};

bool RefreshThemeForm(TComponent* Component, TTeThemeEngine* Engine) {
  auto* Form = ObjectAs<TTeThemeForm>(Component);
  if (!Form || Form->ThemeEngine() != Engine) return false;
  Form->UpdateFrame();
  Form->ApplyTheme();
  Form->InvalidateControls();
  return true;
}

}  // namespace

TTeThemeForm::TTeThemeForm(TComponent* AOwner) : TKsCustomForm(AOwner) {
  SetActive(true);
  FHotTimer = NewObject<TTimer>(this);
  FHotTimer->SetInterval(100);
  FHotTimer->SetEnabled(!ComponentState().Contains(csDesigning));
  FHotTimer->OnTimer = TNotifyEvent::Bind<&TTeThemeForm::HotTrackTimer>(this);
}

void TTeThemeForm::BeforeDestruction() {
  // Before the owner frees its components: the timer must not tick into a form that
  // is going.
  FreeAndNil(FHotTimer);
  inherited::BeforeDestruction();
}

void TTeThemeForm::Loaded() {
  inherited::Loaded();
  InvalidateControls();
}

void TTeThemeForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FThemeEngine) SetThemeEngine(nullptr);
}

void TTeThemeForm::SetThemeEngine(TTeThemeEngine* Value) {
  if (FThemeEngine && FThemeEngine != Value) FThemeEngine->RemoveFreeNotification(this);
  FThemeEngine = Value;
  if (FThemeEngine) FThemeEngine->FreeNotification(this);
  if (ComponentState().Contains(csDestroying) || !GetHookedForm()) return;
  UpdateFrame();
  InvalidateControls();
}

bool TTeThemeForm::IsThemed() const {
  const TComponentState State = ComponentState();
  if (State.Contains(csLoading) || State.Contains(csDestroying)) return false;
  return FThemeEngine && FThemeEngine->ThemeAvailable();
}

bool TTeThemeForm::NoExtraButtons() const {
  TTeTheme* T = Painter();
  return T && T->ThemeClass()->Name() == NativeThemeName;
}

void TTeThemeForm::ApplyTheme() {
  const TComponentState State = ComponentState();
  TCustomForm* Form = GetHookedForm();
  if (State.Contains(csLoading) || State.Contains(csDestroying) || !Form) return;
  PaintNonClient();
  Form->Invalidate();
  if (TTeTheme* T = Painter()) T->SetBiDiMode(Form->BiDiMode());
}

void TTeThemeForm::InvalidateControls() {
  const TComponentState State = ComponentState();
  TCustomForm* Form = GetHookedForm();
  if (State.Contains(csLoading) || State.Contains(csDestroying) || !Form) return;
  for (int I = 0; I < Form->ComponentCount(); ++I)
    if (auto* Control = ObjectAs<TControl>(Form->Components(I))) Control->Invalidate();
}

TKsCustomItem* TTeThemeForm::CreateItem(TComponent* AOwner) {
  auto* Item = NewObject<TTeThemeItem>(AOwner);
  Item->SetThemeEngine(FThemeEngine);
  return Item;
}

// ---------------------------------------------------------------------------------
// Metrics

void TTeThemeForm::GetClientArea(TRect& R) {
  if (!IsThemed() || BorderStyle() == kbsNone || MaximizedMDIChild()) return inherited::GetClientArea(R);
  TTeTheme* T = Painter();
  const bool Tool = BorderStyle() == kbsToolWindow;
  const int B = T->GetSize(Tool ? 1 : 0);
  R = TRect{B, T->GetSize(Tool ? 3 : 2), FrameWidth() - B, FrameHeight() - B};
}

Byte TTeThemeForm::HitTest(int X, int Y) {
  Byte Code = inherited::HitTest(X, Y);
  if (!IsThemed()) return Code;
  if (Code == khtTop || Code == khtTopLeft || Code == khtTopRight) {
    TRect C;
    GetClientArea(C);
    const int Border = Painter()->GetSize(BorderStyle() == kbsToolWindow ? 1 : 0);
    if (X > C.left && X < C.right && Y > Border) Code = khtCaption;
  }
  return Code;
}

void TTeThemeForm::GetMaximizedRect(TRect& R) {
  if (!IsThemed() || HookedFormOf(fsMDIChild)) return inherited::GetMaximizedRect(R);
  RECT Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  const RECT Desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT Both;
  IntersectRect(&Both, &Work, &Desktop);
  R = Both;
}

HRGN TTeThemeForm::GetRegion() {
  // A maximized child window has no frame to shape.
  if (!IsThemed() || MaximizedMDIChild()) return inherited::GetRegion();
  return Painter()->GetWindowRegion(FrameWidth(), FrameHeight(), BorderStyle());
}

void TTeThemeForm::GetButtonRect(int Kind, TRect& R) {
  if (!IsThemed()) return inherited::GetButtonRect(Kind, R);
  R = TRect{0, 0, 0, 0};
  if (Kind < 0 || Kind >= 7 || !BorderIcons().Contains(static_cast<TKsBorderIcon>(Kind))) return;
  TTeTheme* T = Painter();
  const bool Tool = BorderStyle() == kbsToolWindow;
  const int Border = T->GetSize(Tool ? 1 : 0);
  const TRect Band{Border, Border, FrameWidth() - Border, T->GetSize(Tool ? 3 : 2)};
  if (Kind == kbiSystemMenu) {
    R = TRect{Band.left, Band.top, Band.left + RectHeight(Band), Band.bottom};
    return;
  }
  const int W = T->GetSize(Tool ? 7 : 5), H = T->GetSize(Tool ? 8 : 6);
  const int Top = T->GetSize(Tool ? 13 : 10), Gap = T->GetSize(11);
  int X = FrameWidth() - T->GetSize(Tool ? 12 : 9) - W;
  const TKsWindowState S = WindowState();
  const bool Minimized = S == kwsMinimized;
  const bool Extra = !Minimized && !NoExtraButtons();
  // Each button that is shown takes its place; the first that matches Kind is R.
  auto Place = [&](int Which, bool Shown) {
    if (!Shown || !BorderIcons().Contains(static_cast<TKsBorderIcon>(Which))) return false;
    if (Which == Kind) {
      R = TRect{X, Top, X + W, Top + H};
      return true;
    }
    X -= Gap + W;
    return false;
  };
  if (Place(kbiClose, true) || Tool) return;
  if (Place(kbiMaximize, !Minimized) || Place(kbiMinimize, true) || Place(kbiRollup, Extra) ||
      Place(kbiTray, Extra))
    return;
  Place(kbiHelp, S != kwsRollup && !Minimized);
}

// ---------------------------------------------------------------------------------
// Painting

void TTeThemeForm::PaintFrame(TKsBitmap* Bitmap) {
  if (!IsThemed()) return inherited::PaintFrame(Bitmap);
  TTeTheme* T = Painter();
  const bool Tool = BorderStyle() == kbsToolWindow;
  TRect C;
  GetClientArea(C);
  T->DrawWindowFrame(Bitmap, FrameWidth(), FrameHeight(), C, WindowActive(), BorderStyle());
  if (TCustomForm* Form = GetHookedForm()) {
    Bitmap->SetFont(Tool ? SmallCaptionFont : CaptionFont);
    const Byte FontKind = Tool ? 1 : 0;
    AnsiString Name = Bitmap->Font()->Name();
    T->GetFontName(FontKind, Name);
    Bitmap->Font()->SetName(Name);
    Bitmap->Font()->SetSize(T->GetFontSize(FontKind));
    Bitmap->Font()->SetStyle(T->GetFontStyle(FontKind));
    TRect R;
    GetCaptionTextRect(R);
    const UINT Flags = static_cast<UINT>(Form->DrawTextBiDiModeFlags(CaptionTextFlags));
    const AnsiString Text = Form->Caption();
    const TColor Shadow = T->GetColor(2);
    if (Shadow != static_cast<TColor>(-1) && WindowActive()) {
      const TColor TextColor = ColorToRGB(T->GetColor(3));
      const bool Dark = GetRValue(TextColor) < 20 && GetGValue(TextColor) < 20 && GetBValue(TextColor) < 20;
      Bitmap->Font()->SetColor(Dark ? clBtnHighlight : Shadow);
      const TRect Moved{R.left + 1, R.top + 1, R.right + 1, R.bottom + 1};
      if (Moved.right > Moved.left) Bitmap->DrawText(Text, Moved, Flags);
    }
    Bitmap->Font()->SetColor(T->GetColor(WindowActive() ? 3 : 5));
    if (R.right > R.left) Bitmap->DrawText(Text, R, Flags);
  }
  const bool Dragging = this->Dragging();
  auto Paint = [&](int Kind) {
    TRect B;
    GetButtonRect(Kind, B);
    const Byte Code = CodeOf[Kind];
    const bool Icon = Kind == kbiSystemMenu;
    const bool Hot = !Icon && FHotCode == Code && !Dragging;
    const bool Pressed = !Icon && (NonClientShift() & 8) && MouseDownCode() == Code && HoverCode() == Code;
    PaintCaptionButton(Bitmap, B, Kind, Hot, Pressed);
  };
  Paint(kbiClose);
  if (Tool) return;
  for (int Kind : PaintOrder)
    if (BorderIcons().Contains(static_cast<TKsBorderIcon>(Kind))) Paint(Kind);
}

void TTeThemeForm::GetCaptionTextRect(TRect& R) {
  R = TRect{0, 0, 0, 0};
  if (!IsThemed()) return;
  TTeTheme* T = Painter();
  const bool Tool = BorderStyle() == kbsToolWindow;
  R = Tool ? TRect{T->GetSize(12) + 4, T->GetSize(13), FrameWidth() - T->GetSize(12), T->GetSize(3)}
           : TRect{T->GetSize(9), T->GetSize(10), FrameWidth() - T->GetSize(9), T->GetSize(2)};
  if (!Tool && BorderIcons().Contains(kbiSystemMenu)) R.left += RectHeight(R);
  if (Tool) {
    R.right -= T->GetSize(7);
  } else if (WindowState() == kwsMinimized) {
    R.right -= 2 * T->GetSize(5);
  } else {
    int N = 0;
    for (TKsBorderIcon I : {kbiClose, kbiMinimize, kbiMaximize, kbiHelp})
      if (BorderIcons().Contains(I)) ++N;
    if (!NoExtraButtons())
      for (TKsBorderIcon I : {kbiRollup, kbiTray})
        if (BorderIcons().Contains(I)) ++N;
    R.right -= (T->GetSize(5) + T->GetSize(9)) * N;
  }
}

void TTeThemeForm::PaintCaptionButton(TKsBitmap* Bitmap, const TRect& R, int Kind, bool Hot, bool Pressed) {
  if (IsEmptyRect(R)) return;
  if (Kind == kbiSystemMenu) {
    HICON Icon = SystemMenuIcon();
    const int W = GetSystemMetrics(SM_CXSMICON), H = GetSystemMetrics(SM_CYSMICON);
    DrawIconEx(Bitmap->DC(), R.left + (RectWidth(R) - W) / 2, R.top + (RectHeight(R) - H) / 2, Icon, W, H, 0,
               nullptr, DI_NORMAL);
    GdiFlush();
    return;
  }
  const TKsWindowState S = WindowState();
  Byte Button = 0;
  switch (Kind) {
    case kbiClose: Button = 0; break;
    case kbiMinimize: Button = S == kwsMinimized ? 4 : 2; break;
    case kbiMaximize: Button = S == kwsMaximized ? 4 : 3; break;
    case kbiHelp: Button = 1; break;
    case kbiRollup: Button = S == kwsRollup ? 6 : 5; break;
    case kbiTray: Button = 7; break;
  }
  Painter()->DrawCaptionButton(Bitmap, R, Button, Hot, Pressed, WindowActive(), BorderStyle());
}

void TTeThemeForm::PaintBackground(TKsBitmap* Bitmap) {
  if (!IsThemed()) return inherited::PaintBackground(Bitmap);
  TRect C;
  GetClientArea(C);
  const bool Blend = Bitmap->AlphaBlend();
  Bitmap->SetAlphaBlend(false);
  Bitmap->FillRect(C, ColorToKsColor(Painter()->GetColor(11), 255));
  Bitmap->SetAlphaBlend(Blend);
}

// ---------------------------------------------------------------------------------
// Messages

void TTeThemeForm::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCPAINT && Active() && !ComponentState().Contains(csDestroying)) WMNCPaint(Message);
  inherited::Dispatch(Message);
}

void TTeThemeForm::WMNCPaint(TMessage& /*Message*/) {
  TCustomForm* Form = GetHookedForm();
  const HWND Window = GetHookedHandle();
  if (!Form || !Window || Form->BorderWidth() == 0) return;
  const TWindowDC WindowDC(Window);
  const HDC DC = WindowDC.DC();
  if (!DC) return;
  RECT Outer, Client;
  GetWindowRect(Window, &Outer);
  GetClientRect(Window, &Client);
  MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&Client), 2);
  OffsetRect(&Client, -Outer.left, -Outer.top);
  // Only the ring: the client rectangle out, the rectangle grown by the ring's width in.
  ExcludeClipRect(DC, Client.left, Client.top, Client.right, Client.bottom);
  IntersectClipRect(DC, Client.left - Form->BorderWidth(), Client.top - Form->BorderWidth(),
                    Client.right + Form->BorderWidth(), Client.bottom + Form->BorderWidth());
  // The engine's colour whenever it has a painter, available or not.
  const TColor Ring = Painter() ? Painter()->GetColor(11) : Form->Color();
  SetDCBrushColor(DC, static_cast<COLORREF>(ColorToRGB(Ring)));
  const RECT Whole{0, 0, Outer.right - Outer.left, Outer.bottom - Outer.top};
  FillRect(DC, &Whole, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// ---------------------------------------------------------------------------------
// Hot tracking

void TTeThemeForm::HotTrackTimer(TObject* /*Sender*/) {
  const TComponentState State = ComponentState();
  if (State.Contains(csLoading) || State.Contains(csDestroying) || !WindowActive() || !IsThemed()) return;
  const HWND Window = GetHookedHandle();
  if (!Window) return;
  POINT P;
  GetCursorPos(&P);
  RECT W;
  GetWindowRect(Window, &W);
  FHotCode = HitTest(P.x - W.left, P.y - W.top);
  if (FHotCode != FLastHotCode) {
    PaintNonClient();
    FLastHotCode = FHotCode;
  }
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsThemeForms() {
  RegisterClass(&TTeThemeForm::StaticClass());
  using F = TTeThemeForm;
  TPublish<F> P;
  // The themed window starts active.
  P.Prop("Active", &F::Active, &F::SetActive).Default(true);
  P.Prop("ThemeEngine", &F::ThemeEngine, &F::SetThemeEngine);
  P.Prop("Version", &F::Version, &F::SetVersion).Stored(false);
  P.Prop("WindowState", &F::WindowState, &F::SetWindowState).Default(kwsNormal);
  ThemeFormRefresher = RefreshThemeForm;
}

void DoneKsThemeForms() {
  ThemeFormRefresher = nullptr;
  UnRegisterPublished(&TTeThemeForm::StaticClass());
  UnRegisterClass(&TTeThemeForm::StaticClass());
}
