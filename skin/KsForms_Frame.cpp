// TKsCustomForm: the skinned frame's component, its metrics and hit test, the
// non-client messages, and the painting of the frame and the client background.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>

#include "classlib/GdiScopes.h"
#include "classlib/ModuleInit.h"
#include "classlib/UpdateScope.h"
#include "skin/KsControls.h"
#include "skin/KsForms.h"
#include "skin/KsItems.h"
#include "skin/KsMenuBar.h"
#include "skin/KsUtils.h"
#include "skin/TeThemeXPImpl.h"

TCLASS_IMPL(TKsCustomForm)

namespace {

bool InRect(const TRect& R, int X, int Y) { return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom; }

// The hit code of each caption button, by TKsBorderIcon ordinal.
constexpr Byte ButtonCodes[] = {khtClose, khtSysMenu, khtMinimize, khtMaximize, khtHelp, khtRollup, khtTray};

// Whether a buffer of a whole window of that size is within the cap of the kit's
// buffers (a window far larger than the screen would ask for gigabytes).
bool WholeWindowFits(int WindowWidth, int WindowHeight) {
  return static_cast<long long>(WindowWidth) * WindowHeight <= KsWholeBufferPixels;
}

// A buffer of the whole window while that fits the cap and the system gives it;
// otherwise one of the part a screen can show, at the window's corner until
// PlaceFrameBuffer moves it. A size the system cannot give leaves the buffer empty; it
// then draws nothing.
void SizeToWindow(TKsBitmap* Buffer, int WindowWidth, int WindowHeight) {
  if (WholeWindowFits(WindowWidth, WindowHeight) && Buffer->TrySetSize(WindowWidth, WindowHeight) &&
      !Buffer->Empty()) {
    Buffer->SetOrigin(TPoint{0, 0});
    return;
  }
  const TPoint Shown = ShownBufferExtent(WindowWidth, WindowHeight);
  Buffer->TrySetSize(Shown.x, Shown.y);
  Buffer->SetOrigin(TPoint{0, 0});
}

// The part of a window at ScreenRect (screen coordinates) that lies on the virtual
// screen, in screen coordinates; empty when none does.
TRect OnScreen(const TRect& ScreenRect) {
  const int X = GetSystemMetrics(SM_XVIRTUALSCREEN), Y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT Screen{X, Y, X + GetSystemMetrics(SM_CXVIRTUALSCREEN), Y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const RECT Window = ScreenRect;
  RECT Shown;
  if (!IntersectRect(&Shown, &Window, &Screen)) return TRect{0, 0, 0, 0};
  return Shown;
}

TRect Moved(const TRect& R, int DX, int DY) { return TRect{R.left + DX, R.top + DY, R.right + DX, R.bottom + DY}; }

}  // namespace

// ---------------------------------------------------------------------------------
// Life

TKsCustomForm::TKsCustomForm(TComponent* AOwner) : TKsHookComponent(AOwner) {
  FBackgroundBuffer = NewObject<TKsBitmap>();
  if (auto* Form = ObjectAs<TCustomForm>(AOwner)) {
    // The form's client size was set against its own frame: it stays that size under
    // the sizeable style, whose frame is thicker.
    const int ClientWidth = Form->ClientWidth();
    const int ClientHeight = Form->ClientHeight();
    Form->SetBorderStyle(bsSizeable);
    Form->SetBorderIcons(TBorderIcons{});
    Form->SetClientWidth(ClientWidth);
    Form->SetClientHeight(ClientHeight);
    FHookedControl = Form;
    if (Form->FormStyle() == fsMDIChild) {
      const TKsFrameStart Start = KsFrameStart(true);
      FBorderIcons = Start.BorderIcons;
      FMagneticValue = Start.MagneticValue;
      FMinimizeApplication = Start.MinimizeApplication;
    }
  } else if (auto* Control = ObjectAs<TWinControl>(AOwner)) {
    FHookedControl = Control;
  }
  FTrayWindow = AllocateHWnd(TWndMethod::Bind<&TKsCustomForm::TrayWndProc>(this));
  std::memset(&FTrayIconData, 0, sizeof(FTrayIconData));
  FTrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
  FTrayIconData.hWnd = FTrayWindow;
  FTrayIconData.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(this));
  FTrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FTrayIconData.uCallbackMessage = KM_TRAYNOTIFY;
  FFramePaintEnabled = true;
}

void TKsCustomForm::BeforeDestruction() {
  Destroying();
  UnhookShortCuts();
  UnhookApplication();
  UnhookMDIClient();
  SetActive(false);
  TKsHookComponent::BeforeDestruction();
}

TKsCustomForm::~TKsCustomForm() {
  Shell_NotifyIconA(NIM_DELETE, &FTrayIconData);
  if (FTrayWindow) DeallocateHWnd(FTrayWindow);
  FreeAndNil(FFrameBuffer);
  FreeAndNil(FBackgroundBuffer);
  FreeAndNil(FAnimationBitmap);
  FreeAndNil(FSystemMenu);
}

void TKsCustomForm::Loaded() {
  if (FBlend && !FFrameBuffer) {
    FFrameBuffer = NewObject<TKsBitmap>();
    SizeToWindow(FFrameBuffer, FWindowWidth, FWindowHeight);
  }
  TKsHookComponent::Loaded();
  if (!ComponentState().Contains(csDesigning)) Initialize();
}

void TKsCustomForm::Initialize() {
  if (FInitialized) return;
  FInitialized = true;
  if (FBlend || FDropShadow) SizeToWindow(FBackgroundBuffer, FWindowWidth, FWindowHeight);
  HookMDIClient();
  HookShortCuts();
  UpdateFrame();
  TCustomForm* Form = GetHookedForm();
  HICON Icon = nullptr;
  if (Form && !Form->Icon()->Empty())
    Icon = Form->Icon()->Handle();
  else if (!Application->Icon()->Empty())
    Icon = Application->Icon()->Handle();
  FTrayIconData.hIcon = Icon;
  Shell_NotifyIconA(NIM_MODIFY, &FTrayIconData);
  ApplyPendingState();
}

void TKsCustomForm::HookShortCuts() {
  auto* Form = ObjectAs<TCustomForm>(FHookedControl);
  const auto Ours = TShortCutEvent::Bind<&TKsCustomForm::FormShortCut>(this);
  if (!Form || Form->OnShortCut == Ours) return;
  FOldOnShortCut = Form->OnShortCut;
  Form->OnShortCut = Ours;
}

// The form outlives this component: its shortcut handler must not lead here any more.
void TKsCustomForm::UnhookShortCuts() {
  auto* Form = ObjectAs<TCustomForm>(FHookedControl);
  if (Form && Form->OnShortCut == TShortCutEvent::Bind<&TKsCustomForm::FormShortCut>(this))
    Form->OnShortCut = FOldOnShortCut;
}

void TKsCustomForm::FormShortCut(TMessage& Msg, bool& Handled) {
  // The menu bar's shortcuts are asked first.
  if (auto* Bar = ObjectAs<TKsCustomMenuBar>(FMenuBar); Bar && Bar->IsShortCut(Msg)) {
    Handled = true;
    return;
  }
  if (FOldOnShortCut.Assigned()) FOldOnShortCut(Msg, Handled);
}

void TKsCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TKsHookComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenuBar) FMenuBar = nullptr;
  if (AComponent == FTrayMenu) FTrayMenu = nullptr;
}

TKsCustomItem* TKsCustomForm::CreateItem(TComponent* AOwner) { return NewObject<TKsCustomItem>(AOwner); }

HICON TKsCustomForm::SystemMenuIcon() const { return WindowIcon(GetHookedForm()); }

TCustomForm* TKsCustomForm::HookedFormOf(TFormStyle Style) const {
  TCustomForm* Form = GetHookedForm();
  return Form && Form->FormStyle() == Style ? Form : nullptr;
}

// ---------------------------------------------------------------------------------
// Setters

void TKsCustomForm::SetBorderStyle(TKsBorderStyle Value) { SetFrameValue(FBorderStyle, Value); }

void TKsCustomForm::SetBorderIcons(TKsBorderIcons Value) { SetFrameValue(FBorderIcons, Value); }

void TKsCustomForm::SetCanMove(bool Value) { SetFrameValue(FCanMove, Value); }

void TKsCustomForm::SetCanResize(bool Value) { SetFrameValue(FCanResize, Value); }

void TKsCustomForm::SetBlend(bool Value) { SetFrameValue(FBlend, Value); }

void TKsCustomForm::SetBlendValue(int Value) { SetFrameValue(FBlendValue, Value); }

void TKsCustomForm::SetMenuBar(TComponent* Value) {
  FMenuBar = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  // A frame made in code is never loaded: its bar is asked for shortcuts from now on.
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning)) HookShortCuts();
}

void TKsCustomForm::SetTrayMenu(TPopupMenu* Value) {
  FTrayMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TKsCustomForm::SetStayOnTop(bool Value) {
  if (Value == FStayOnTop) return;
  FStayOnTop = Value;
  TCustomForm* Form = GetHookedForm();
  if (ComponentState().Contains(csDesigning) || !Form || !Form->HandleAllocated()) return;
  SetWindowPos(Form->Handle(), Value ? HWND_TOPMOST : HWND_NOTOPMOST, Form->Left(), Form->Top(),
               FFrameWidth, FFrameHeight, 0x113);
}

// ---------------------------------------------------------------------------------
// Frame

TKsBitmap* TKsCustomForm::GetFrameBuffer() const { return FFrameBuffer ? FFrameBuffer : SharedBitmap; }

void TKsCustomForm::UpdateFrame() {
  TCustomForm* Form = GetHookedForm();
  if (!Active() || !Form || ComponentState().Contains(csDesigning) || FUpdatingFrame) return;
  {
    TFlagScope UpdatingFrame(FUpdatingFrame);
    FSavedClientWidth = Form->ClientWidth();
    FSavedClientHeight = Form->ClientHeight();
    const int Height = Form->Height();
    Form->SetHeight(Height + 1);
    Form->SetHeight(Height);
    if (FSavedClientWidth != 0) {
      const int DW = FSavedClientWidth - Form->ClientWidth();
      const int DH = FSavedClientHeight - Form->ClientHeight();
      if (DW != 0 || DH != 0) Form->SetBounds(Form->Left(), Form->Top(), Form->Width() + DW, Form->Height() + DH);
    }
  }
  if (Form->HandleAllocated()) {
    RECT R{0, 0, FFrameWidth, FFrameHeight};
    InvalidateRect(Form->Handle(), &R, TRUE);
    // An MDI parent's client is painted from the frame's client area too.
    if (FMDIClient) InvalidateRect(FMDIClient, nullptr, TRUE);
  }
}

bool TKsCustomForm::VisualStyles() const { return IsVisualStyleAvailable(); }

int TKsCustomForm::CaptionHeight() const {
  switch (FBorderStyle) {
    case kbsNone: return 0;
    case kbsToolWindow: return VisualStyles() ? 15 : GetSystemMetrics(SM_CYSMCAPTION);
    default: return VisualStyles() ? 19 : GetSystemMetrics(SM_CYCAPTION);
  }
}

int TKsCustomForm::FrameBorderWidth() const { return VisualStyles() ? 3 : GetSystemMetrics(SM_CXFRAME); }

void TKsCustomForm::GetClientArea(TRect& R) {
  R = TRect{0, 0, FFrameWidth, FFrameHeight};
  if (FBorderStyle == kbsNone || MaximizedMDIChild()) return;
  const int B = FrameBorderWidth();
  R = TRect{B, B + CaptionHeight(), FFrameWidth - B, FFrameHeight - B};
}

void TKsCustomForm::GetButtonRect(int Kind, TRect& R) {
  R = TRect{0, 0, 0, 0};
  if (Kind < 0 || Kind >= 7 || !FBorderIcons.Contains(static_cast<TKsBorderIcon>(Kind))) return;
  if (FBorderStyle == kbsNone) return;
  const bool Tool = FBorderStyle == kbsToolWindow;
  if (Tool && Kind != kbiClose) return;  // a tool window shows its close button only
  TRect C;
  GetClientArea(C);
  const TRect Band{C.left, C.top - CaptionHeight(), C.right, C.top - 1};
  if (Kind == kbiSystemMenu) {
    R = TRect{Band.left, Band.top, Band.left + (Band.bottom - Band.top), Band.bottom};
    return;
  }
  int W, H;
  if (VisualStyles()) {
    W = CaptionHeight() - 1;
    H = CaptionHeight() - 4;
  } else if (Tool) {
    W = GetSystemMetrics(SM_CXSMSIZE) - 2;
    H = GetSystemMetrics(SM_CYSMSIZE) - 4;
  } else {
    W = GetSystemMetrics(SM_CXSIZE) - 2;
    H = GetSystemMetrics(SM_CYSIZE) - 4;
  }
  const int Top = Band.top + 2;
  auto Place = [&](int X) { R = TRect{X, Top, X + W, Top + H}; };
  auto Has = [&](TKsBorderIcon I) { return FBorderIcons.Contains(I); };
  const bool Minimized = FWindowState == kwsMinimized;
  int X = Band.right - 2 - W;
  if (Kind == kbiClose) return Place(X);
  if (Has(kbiClose)) X -= W + 2;
  if (!Minimized && Has(kbiMaximize)) {
    if (Kind == kbiMaximize) return Place(X);
    X -= W;
  }
  if (Has(kbiMinimize)) {
    if (Kind == kbiMinimize) return Place(X);
    X -= W;
  }
  if (!Minimized && Has(kbiRollup)) {
    if (Kind == kbiRollup) return Place(X - 2);
    X = X - 2 - W;
  }
  if (!Minimized && Has(kbiTray)) {
    if (Kind == kbiTray) return Place(X);
    X -= W;
  }
  if (!Minimized && FWindowState != kwsRollup && Kind == kbiHelp) Place(X - 2);
}

Byte TKsCustomForm::HitTest(int X, int Y) {
  TRect C;
  GetClientArea(C);
  Byte Code = khtClient;
  if (Y < C.top) Code = khtCaption;
  static const int Order[] = {kbiSystemMenu, kbiClose, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray};
  for (int Kind : Order) {
    TRect R;
    GetButtonRect(Kind, R);
    if (InRect(R, X, Y)) Code = ButtonCodes[Kind];
  }
  if (FWindowState == kwsNormal || FWindowState == kwsTray) {
    const int Zone = 20;
    if (Y < C.top - CaptionHeight()) Code = X < Zone ? khtTopLeft : X > FFrameWidth - Zone ? khtTopRight : khtTop;
    if (Y >= C.bottom && Y < FFrameHeight)
      Code = X < Zone ? khtBottomLeft : X > FFrameWidth - Zone ? khtBottomRight : khtBottom;
    if (X < C.left) Code = Y < Zone ? khtTopLeft : Y > FFrameHeight - Zone ? khtBottomLeft : khtLeft;
    if (X >= C.right && X < FFrameWidth)
      Code = Y < Zone ? khtTopRight : Y > FFrameHeight - Zone ? khtBottomRight : khtRight;
  }
  return Code;
}

void TKsCustomForm::GetMinTrackSize(TPoint& P) {
  P = TPoint{150, 40};
  if (TControl* Control = GetHookedControl()) {
    if (Control->Constraints()->MinWidth() != 0) P.x = Control->Constraints()->MinWidth();
    if (Control->Constraints()->MinHeight() != 0) P.y = Control->Constraints()->MinHeight();
  }
}

void TKsCustomForm::GetMaxTrackSize(TPoint& P) {
  TRect R;
  GetMaximizedRect(R);
  P = TPoint{R.right - R.left, R.bottom - R.top};
  if (TControl* Control = GetHookedControl()) {
    if (Control->Constraints()->MaxWidth() != 0) P.x = Control->Constraints()->MaxWidth();
    if (Control->Constraints()->MaxHeight() != 0) P.y = Control->Constraints()->MaxHeight();
  }
}

void TKsCustomForm::GetMaximizedRect(TRect& R) {
  // A child window fills its MDI client.
  if (TCustomForm* Form = HookedFormOf(fsMDIChild)) {
    const TCustomForm* Parent = Form->MDIParent();
    RECT Client{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Parent && Parent->ClientHandle()) GetClientRect(Parent->ClientHandle(), &Client);
    R = TRect{Client.left, Client.top, Client.right + 1, Client.bottom + 1};
    return;
  }
  RECT Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  const RECT Desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT Both;
  IntersectRect(&Both, &Work, &Desktop);
  TRect C;
  GetClientArea(C);
  R = TRect{Both.left - C.left, Both.top - C.left, Both.right + C.left, Both.bottom + C.left};
}

void TKsCustomForm::GetMinimizedRect(TRect& R) {
  TControl* Control = GetHookedControl();
  const int NonClient = FFrameHeight - (Control ? Control->ClientHeight() : 0);
  const int Bottom = ParentArea().bottom;
  R = TRect{0, Bottom - NonClient, GetSystemMetrics(SM_CXMINIMIZED), Bottom};
}

TRect TKsCustomForm::ParentArea() const {
  RECT R;
  TWinControl* Control = GetHookedControl();
  const HWND Window = GetHookedHandle();
  if (Control && Control->Parent() && Control->Parent()->HandleAllocated()) {
    GetClientRect(Control->Parent()->Handle(), &R);
  } else if (Window && (GetWindowLongA(Window, GWL_STYLE) & WS_CHILD) && GetParent(Window)) {
    // An MDI child's parent window is its MDI client.
    GetClientRect(GetParent(Window), &R);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &R, 0);
  }
  return R;
}

void TKsCustomForm::KeepStateBounds(const TMessage& Message) {
  TCustomForm* Form = GetHookedForm();
  const HWND Window = GetHookedHandle();
  if (!Form || !Window) return;
  if (Message.Msg == WM_DESTROY) {
    const bool Kept = FWindowState == kwsRollup || FWindowState == kwsMinimized;
    FStateWindow = Kept ? Window : nullptr;
    if (Kept) FStateBounds = Form->BoundsRect();
    return;
  }
  if (!FStateWindow || FStateWindow == Window) return;
  FStateWindow = nullptr;
  if (FWindowState == kwsRollup || FWindowState == kwsMinimized) Form->SetBoundsRect(FStateBounds);
}

void TKsCustomForm::GetRollupRect(TRect& R) {
  TControl* Control = GetHookedControl();
  const int NonClient = FFrameHeight - (Control ? Control->ClientHeight() : 0);
  const int L = Control ? Control->Left() : 0;
  const int T = Control ? Control->Top() : 0;
  R = TRect{L, T, L + FFrameWidth, T + NonClient};
}

// ---------------------------------------------------------------------------------
// Messages

void TKsCustomForm::Dispatch(TMessage& Message) {
  if (!Active() || ComponentState().Contains(csDestroying)) return;
  // A parent's window made again brings a new MDI client.
  if (TCustomForm* Form = GetHookedForm(); Form && Form->ClientHandle() != FMDIClient) HookMDIClient();
  KeepStateBounds(Message);
  switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); return;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); return;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_NCACTIVATE: WMNCActivate(Message); return;
    case WM_NCPAINT:
      PaintNonClient();
      Message.Result = 0;
      SetHandled(true);
      return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_PAINT: WMPaint(Message); return;
    case KM_ISFORMBLENDED:
      Message.Result = FBlend ? 1 : 0;
      SetHandled(true);
      return;
    default: StatesDispatch(Message); return;
  }
}

void TKsCustomForm::WMNCCalcSize(TMessage& Message) {
  if (Message.WParam) {
    auto* Params = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    TRect C;
    GetClientArea(C);
    const int Right = FWindowWidth - C.right;
    const int Bottom = FWindowHeight - C.bottom;
    const WINDOWPOS* Pos = Params->lppos;
    RECT R{Pos->x, Pos->y, Pos->x + Pos->cx, Pos->y + Pos->cy};
    R.left += C.left;
    R.top += C.top;
    R.right -= Right;
    R.bottom -= Bottom;
    if (R.right < R.left) R.right = R.left;
    if (R.bottom < R.top) R.bottom = R.top;
    Params->rgrc[0] = R;
    Params->rgrc[1] = R;
  }
  // Inside the frame, the form's own border ring.
  if (TCustomForm* Form = GetHookedForm(); Form && Form->BorderWidth() > 0) {
    RECT* Client = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                  : reinterpret_cast<RECT*>(Message.LParam);
    InflateRect(Client, -Form->BorderWidth(), -Form->BorderWidth());
    if (Client->right < Client->left) Client->right = Client->left;
    if (Client->bottom < Client->top) Client->bottom = Client->top;
  }
  Message.Result = 0;
  SetHandled(true);
}

void TKsCustomForm::WMWindowPosChanging(TMessage& Message) {
  auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  const HWND Window = GetHookedHandle();
  // Neither moved nor sized: the frame stays as it is; a window being shown so still
  // gets its show animation.
  if ((Pos->flags & SWP_NOSIZE) && (Pos->flags & SWP_NOMOVE)) {
    if ((Pos->flags & SWP_SHOWWINDOW) && Window) {
      RECT W;
      GetWindowRect(Window, &W);
      ShowAnimated(TRect{W.left, W.top, W.right, W.bottom});
    }
    return;
  }
  if (!(Pos->flags & SWP_NOSIZE)) {
    TPoint Max, Min;
    GetMaxTrackSize(Max);
    Pos->cx = std::min(Pos->cx, static_cast<int>(Max.x));
    Pos->cy = std::min(Pos->cy, static_cast<int>(Max.y));
    if (FWindowState != kwsRollup && FWindowState != kwsMinimized) {
      GetMinTrackSize(Min);
      Pos->cx = std::max(Pos->cx, static_cast<int>(Min.x));
      Pos->cy = std::max(Pos->cy, static_cast<int>(Min.y));
    }
  } else if (Window) {
    RECT W;
    GetWindowRect(Window, &W);
    Pos->cx = W.right - W.left;
    Pos->cy = W.bottom - W.top;
  }
  bool SizeChanged = false;
  const bool Shadowed = FDropShadow && FWindowState != kwsMaximized;
  const int NewFrameWidth = Shadowed ? Pos->cx - FShadowWidth : Pos->cx;
  const int NewFrameHeight = Shadowed ? Pos->cy - FShadowWidth : Pos->cy;
  if (NewFrameWidth != FFrameWidth || NewFrameHeight != FFrameHeight || FWindowWidth != Pos->cx ||
      FWindowHeight != Pos->cy) {
    FWindowWidth = Pos->cx;
    FWindowHeight = Pos->cy;
    FFrameWidth = NewFrameWidth;
    FFrameHeight = NewFrameHeight;
    SizeChanged = true;
  }
  if ((FBlend || FDropShadow) && Window) {
    RECT W;
    GetWindowRect(Window, &W);
    const int X = (Pos->flags & SWP_NOMOVE) ? W.left : Pos->x;
    const int Y = (Pos->flags & SWP_NOMOVE) ? W.top : Pos->y;
    CaptureBackground(TRect{X, Y, X + Pos->cx, Y + Pos->cy});
  }
  if (SizeChanged) UpdateRegion();
  if ((Pos->flags & SWP_SHOWWINDOW) && Window) {
    RECT W;
    GetWindowRect(Window, &W);
    const int X = (Pos->flags & SWP_NOMOVE) ? W.left : Pos->x;
    const int Y = (Pos->flags & SWP_NOMOVE) ? W.top : Pos->y;
    const TRect Shown{X, Y, X + Pos->cx, Y + Pos->cy};
    if (FBlend || FDropShadow) {
      FCapturedRect = TRect{0, 0, 0, 0};
      CaptureBackground(Shown);
    }
    ShowAnimated(Shown);
  }
  if (FBlend || FDropShadow) Pos->flags |= SWP_NOCOPYBITS;
  Message.Result = 0;
  SetHandled(true);
}

void TKsCustomForm::WMNCHitTest(TMessage& Message) {
  const HWND Window = GetHookedHandle();
  RECT W{0, 0, 0, 0};
  if (Window) GetWindowRect(Window, &W);
  const int X = Message.XPos() - W.left;
  const int Y = Message.YPos() - W.top;
  const Byte Code = HitTest(X, Y) & 0x7F;
  LRESULT Answer = HTCLIENT;
  switch (Code) {
    case khtCaption: Answer = FCanMove ? HTCAPTION : HTCLIENT; break;
    case khtLeft: Answer = FCanResize ? HTLEFT : HTCLIENT; break;
    case khtTop: Answer = FCanResize ? HTTOP : HTCLIENT; break;
    case khtRight: Answer = FCanResize ? HTRIGHT : HTCLIENT; break;
    case khtBottom: Answer = FCanResize ? HTBOTTOM : HTCLIENT; break;
    case khtBorder: Answer = HTBORDER; break;
    case khtTopLeft: Answer = FCanResize ? HTTOPLEFT : HTCLIENT; break;
    case khtTopRight: Answer = FCanResize ? HTTOPRIGHT : HTCLIENT; break;
    case khtBottomLeft: Answer = FCanResize ? HTBOTTOMLEFT : HTCLIENT; break;
    case khtBottomRight: Answer = FCanResize ? HTBOTTOMRIGHT : HTCLIENT; break;
    case khtClose: Answer = HTCLOSE; break;
    case khtHelp: Answer = HTHELP; break;
    case khtMaximize: Answer = HTMAXBUTTON; break;
    case khtMinimize:
    case khtRollup:
    case khtTray:
    case khtSysMenu: Answer = HTMINBUTTON; break;
    default: Answer = HTCLIENT; break;
  }
  Message.Result = Answer;
  SetHandled(true);
}

void TKsCustomForm::WMNCActivate(TMessage& Message) {
  FWindowActive = Message.WParam != 0;
  if (FMinimizeApplication) HookApplication();
  // An MDI child's activation goes on to the system's MDI child procedure.
  if (FWindowActive && HookedFormOf(fsMDIChild)) {
    Message.Result = 0;
    return;
  }
  PaintNonClient();
  Message.Result = FWindowActive ? 0 : 1;
  SetHandled(true);
}

void TKsCustomForm::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  SetHandled(true);
  // An MDI parent's background is painted only on request: its client window's and
  // its transparent kit controls'.
  if (HookedFormOf(fsMDIForm) && !(Message.LParam & KsEraseIntoDC)) return;
  if (!FFramePaintEnabled) return;
  const HDC DC = reinterpret_cast<HDC>(Message.WParam);
  TKsBitmap* Buffer = GetFrameBuffer();
  if (!DC || !Buffer) return;
  const TKsOriginScope Placed = PlaceFrameBuffer();
  TRect C;
  GetClientArea(C);
  PaintBackground(Buffer);
  if (!(Message.LParam & KsEraseIntoDC)) {
    if (FBlend) {
      Buffer->SetAlphaRect(C, static_cast<Byte>(FBlendValue));
      Buffer->DrawUnder(FBackgroundBuffer, C, C.left, C.top);
    }
    if (OnPaint.Assigned() && !ComponentState().Contains(csLoading)) {
      TOwned<TCanvas> Canvas(NewObject<TCanvas>());
      Canvas->SetHandle(Buffer->DC());
      OnPaint(this, Canvas.get());
      Canvas->SetHandle(nullptr);
    }
  }
  Buffer->DrawRectToDC(DC, 0, 0, C);
}

void TKsCustomForm::WMPaint(TMessage& Message) {
  TWinControl* Control = GetHookedControl();
  const HWND Window = GetHookedHandle();
  if (!Control || !Window || Message.WParam) return;  // a paint into a given DC goes on
  {
    TPaintDC Painting(Window, 0);
    Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Painting.DC()), 0);
  }
  Message.Result = 0;
  SetHandled(true);
}

// ---------------------------------------------------------------------------------
// Background and region

void TKsCustomForm::CaptureBackground(const TRect& R) {
  if (SameRect(R, FCapturedRect) || FUpdatingFrame || !GetHookedControl()) return;
  if (!FBlend && (FWindowState == kwsMaximized || FPreviousState == kwsMaximized)) {
    if (FPreviousState == kwsMaximized) FPreviousState = kwsNormal;
    return;
  }
  // The whole of R while that fits and the system gives it; else the part of R on the
  // screen, the buffer's origin at that part (in window coordinates). Held and OldHeld
  // are the parts of the screen that the new and the old buffer hold.
  TOwned<TKsBitmap> Fresh(NewObject<TKsBitmap>());
  TRect Held = R;
  if (!WholeWindowFits(RectWidth(R), RectHeight(R)) || !Fresh->TrySetSize(RectWidth(R), RectHeight(R)) ||
      Fresh->Empty()) {
    Held = OnScreen(R);
    if (!IsEmptyRect(Held) && Fresh->TrySetSize(RectWidth(Held), RectHeight(Held)))
      Fresh->SetOrigin(TPoint{Held.left - R.left, Held.top - R.top});
  }
  const TRect OldHeld = IsEmptyRect(FCapturedRect)
                            ? TRect{0, 0, 0, 0}
                            : Moved(FBackgroundBuffer->Bounds(), FCapturedRect.left, FCapturedRect.top);
  if (!Fresh->Empty()) {
    // Both buffers' DCs count in their own window's coordinates.
    const TScreenDC Screen;
    auto CopyFromScreen = [&](const TRect& Part) {
      if (IsEmptyRect(Part)) return;
      BitBlt(Fresh->DC(), Part.left - R.left, Part.top - R.top, RectWidth(Part), RectHeight(Part), Screen.DC(),
             Part.left, Part.top, SRCCOPY);
    };
    RECT Overlap;
    const RECT A = Held, B = OldHeld;
    if (IsEmptyRect(OldHeld) || !IntersectRect(&Overlap, &A, &B)) {
      CopyFromScreen(Held);
    } else {
      // The strips left of, above, right of and below the part the old capture holds.
      CopyFromScreen(TRect{Held.left, Held.top, Overlap.left, Held.bottom});
      CopyFromScreen(TRect{Overlap.left, Held.top, Overlap.right, Overlap.top});
      CopyFromScreen(TRect{Overlap.right, Held.top, Held.right, Held.bottom});
      CopyFromScreen(TRect{Overlap.left, Overlap.bottom, Overlap.right, Held.bottom});
      BitBlt(Fresh->DC(), Overlap.left - R.left, Overlap.top - R.top, Overlap.right - Overlap.left,
             Overlap.bottom - Overlap.top, FBackgroundBuffer->DC(), Overlap.left - FCapturedRect.left,
             Overlap.top - FCapturedRect.top, SRCCOPY);
    }
  }
  // A buffer that could not be had (or a window wholly off the screen) holds nothing,
  // and nothing is composed over it.
  FreeAndNil(FBackgroundBuffer);
  FBackgroundBuffer = Fresh.release();
  FCapturedRect = R;
}

TKsOriginScope TKsCustomForm::PlaceFrameBuffer() {
  TKsBitmap* Buffer = GetFrameBuffer();
  const HWND Window = GetHookedHandle();
  if (!Buffer || Buffer->Empty() || !Window) return TKsOriginScope(nullptr, TPoint{0, 0});
  RECT W;
  GetWindowRect(Window, &W);
  const TRect Shown = Moved(OnScreen(W), -W.left, -W.top);
  const TRect Held = Buffer->Bounds();
  if (IsEmptyRect(Shown) || (Held.left <= Shown.left && Held.top <= Shown.top && Shown.right <= Held.right &&
                             Shown.bottom <= Held.bottom))
    return TKsOriginScope(nullptr, TPoint{0, 0});
  // As far as the shown part's corner, but never past the window's far end, so that the
  // buffer holds as much of the window as it can.
  const TPoint Origin{std::max(0, std::min<int>(Shown.left, FWindowWidth - Buffer->Width())),
                      std::max(0, std::min<int>(Shown.top, FWindowHeight - Buffer->Height()))};
  if (Buffer != FFrameBuffer) return TKsOriginScope(Buffer, Origin);
  Buffer->SetOrigin(Origin);
  return TKsOriginScope(nullptr, TPoint{0, 0});
}

void TKsCustomForm::UpdateRegion() {
  const HWND Window = GetHookedHandle();
  if (FFrameBuffer) {
    SizeToWindow(FFrameBuffer, FWindowWidth, FWindowHeight);
    FFrameBuffer->Fill(KsColorTransparent);
  }
  if (SharedBitmap) SharedBitmap->FillRect(TRect{0, 0, FWindowWidth, FWindowHeight}, KsColorTransparent);
  FFramePaintEnabled = false;
  TOwnedRegion Region(GetRegion());
  if (Region && FDropShadow && FWindowState != kwsMaximized) {
    TOwnedRegion Shadow(GetRegion());
    if (Shadow) {
      OffsetRgn(Shadow.Handle(), FShadowWidth, FShadowWidth);
      CombineRgn(Region.Handle(), Region.Handle(), Shadow.Handle(), RGN_OR);
    }
  }
  if (Window) SetWindowRegion(Window, std::move(Region), IsWindowVisible(Window));
  FFramePaintEnabled = true;
}

// ---------------------------------------------------------------------------------
// Painting

void TKsCustomForm::PaintNonClient() {
  TKsBitmap* Buffer = GetFrameBuffer();
  const HWND Window = GetHookedHandle();
  if (!Buffer || !FFramePaintEnabled || !Window || MaximizedMDIChild()) return;
  // An animation paints into its bitmap; otherwise the frame goes to the window.
  std::optional<TWindowDC> WindowDC;
  if (!(FAnimating && FAnimationBitmap)) WindowDC.emplace(Window);
  const HDC DC = WindowDC ? WindowDC->DC() : FAnimationBitmap->DC();
  if (!DC) return;
  const TKsOriginScope Placed = PlaceFrameBuffer();
  TRect C;
  GetClientArea(C);
  if (FDropShadow) {
    // The shadow's bands, each filled and then composed over the screen under it.
    const int S = FShadowWidth;
    const TKsColor Shade = 0x903F3F3F;
    Buffer->SetAlphaBlend(false);
    const TRect CaptionBand{S, S, FFrameWidth, C.top};
    const TRect LeftBand{S, S, C.left, FFrameHeight};
    const TRect RightBand{C.right, 0, FWindowWidth, FWindowHeight};
    const TRect BottomBand{0, C.bottom, FFrameWidth, FWindowHeight};
    Buffer->FillRect(CaptionBand, Shade);
    Buffer->DrawUnder(FBackgroundBuffer, CaptionBand, CaptionBand.left, CaptionBand.top);
    Buffer->FillRect(LeftBand, Shade);
    Buffer->DrawUnder(FBackgroundBuffer, LeftBand, LeftBand.left, LeftBand.top);
    Buffer->FillRect(TRect{C.right, 0, FWindowWidth, S}, KsColorTransparent);
    Buffer->FillRect(TRect{C.right, S, FWindowWidth, FWindowHeight}, Shade);
    Buffer->DrawUnder(FBackgroundBuffer, RightBand, RightBand.left, RightBand.top);
    Buffer->FillRect(TRect{0, C.bottom, S, FWindowHeight}, KsColorTransparent);
    Buffer->FillRect(TRect{S, C.bottom, FFrameWidth, FWindowHeight}, Shade);
    Buffer->DrawUnder(FBackgroundBuffer, BottomBand, BottomBand.left, BottomBand.top);
  }
  if (!FBlend) {
    PaintFrame(Buffer);
  } else {
    Buffer->SetAlphaBlend(true);
    PaintFrame(Buffer);
    const TRect Bands[] = {TRect{0, 0, FFrameWidth, C.top}, TRect{0, C.bottom, FFrameWidth, FFrameHeight},
                           TRect{0, C.top, C.left, FFrameHeight}, TRect{C.right, C.top, FFrameWidth, FFrameHeight}};
    for (const TRect& Band : Bands) {
      Buffer->SetAlphaRect(Band, static_cast<Byte>(FBlendValue));
      Buffer->DrawUnder(FBackgroundBuffer, Band, Band.left, Band.top);
    }
    Buffer->SetAlphaBlend(false);
  }
  GdiFlush();
  const TRect Copies[] = {TRect{0, 0, FWindowWidth, C.top}, TRect{0, C.top, C.left, FWindowHeight},
                          TRect{C.left, C.bottom, C.right, FWindowHeight},
                          TRect{C.right, C.top, FWindowWidth, FWindowHeight}};
  for (const TRect& Part : Copies)
    if (!IsEmptyRect(Part)) Buffer->DrawRectToDC(DC, Part.left, Part.top, Part);
}

void TKsCustomForm::PaintFrame(TKsBitmap* Bitmap) {
  if (FBorderStyle == kbsNone) return;
  RECT Outer{0, 0, FFrameWidth, FFrameHeight};
  ::DrawEdge(Bitmap->DC(), &Outer, EDGE_RAISED, BF_RECT);
  GdiFlush();
  TRect C;
  GetClientArea(C);
  const TRect In{2, 2, FFrameWidth - 2, FFrameHeight - 2};
  const TKsColor Face = ColorToKsColor(clBtnFace, 255);
  const bool Blend = Bitmap->AlphaBlend();
  Bitmap->SetAlphaBlend(false);
  Bitmap->FillRect(TRect{In.left, In.top, In.right, C.top}, Face);
  Bitmap->FillRect(TRect{In.left, C.bottom, In.right, In.bottom}, Face);
  Bitmap->FillRect(TRect{In.left, C.top, C.left, C.bottom}, Face);
  Bitmap->FillRect(TRect{C.right, C.top, In.right, C.bottom}, Face);
  Bitmap->SetAlphaBlend(Blend);
  PaintCaption(Bitmap);
}

void TKsCustomForm::PaintCaption(TKsBitmap* Bitmap) {
  TRect C;
  GetClientArea(C);
  const TRect Caption{C.left, C.top - CaptionHeight(), C.right, C.top};
  if (IsEmptyRect(Caption)) return;
  FillGradient(Bitmap->DC(), Caption, FWindowActive ? clActiveCaption : clInactiveCaption,
               FWindowActive ? SystemColor(COLOR_GRADIENTACTIVECAPTION) : SystemColor(COLOR_GRADIENTINACTIVECAPTION),
               true);
  const bool Tool = FBorderStyle == kbsToolWindow;
  if (TCustomForm* Form = GetHookedForm()) {
    Bitmap->SetFont(Tool ? SmallCaptionFont : CaptionFont);
    Bitmap->Font()->SetColor(FWindowActive ? SystemColor(COLOR_CAPTIONTEXT) : SystemColor(COLOR_INACTIVECAPTIONTEXT));
    const int H = CaptionHeight();
    TRect Text = Caption;
    if (!Tool && FBorderIcons.Contains(kbiSystemMenu)) Text.left += H;
    int Buttons = 2;
    if (!Tool) {
      Buttons = 0;
      for (TKsBorderIcon I : {kbiClose, kbiMaximize, kbiMinimize, kbiHelp, kbiRollup, kbiTray})
        if (FBorderIcons.Contains(I)) ++Buttons;
    }
    Text.right -= H * Buttons;
    Text.left += 2;
    Text.right -= 2;
    if (Text.right > Text.left)
      Bitmap->DrawText(Form->Caption(), Text, static_cast<UINT>(Form->DrawTextBiDiModeFlags(0x8024)));
  }
  DrawCaptionButton(Bitmap, kbiClose);
  if (Tool) return;
  for (int Kind : {kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray, kbiHelp})
    DrawCaptionButton(Bitmap, Kind);
}

void TKsCustomForm::DrawCaptionButton(TKsBitmap* Bitmap, int Kind) {
  TRect R;
  GetButtonRect(Kind, R);
  if (IsEmptyRect(R)) return;
  const bool Pressed = (FNonClientShift & 8) && FMouseDownCode == ButtonCodes[Kind] && FHoverCode == ButtonCodes[Kind];
  RECT Box = R;
  const HDC DC = Bitmap->DC();
  const UINT Push = Pressed ? DFCS_PUSHED : 0;
  switch (Kind) {
    case kbiClose: DrawFrameControl(DC, &Box, DFC_CAPTION, DFCS_CAPTIONCLOSE | Push); break;
    case kbiMinimize:
      DrawFrameControl(DC, &Box, DFC_CAPTION,
                       (FWindowState == kwsMinimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) | Push);
      break;
    case kbiMaximize:
      DrawFrameControl(DC, &Box, DFC_CAPTION,
                       (FWindowState == kwsMaximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) | Push);
      break;
    case kbiHelp: DrawFrameControl(DC, &Box, DFC_CAPTION, DFCS_CAPTIONHELP | Push); break;
    case kbiSystemMenu: {
      HICON Icon = SystemMenuIcon();
      int W = GetSystemMetrics(SM_CXSMICON), H = GetSystemMetrics(SM_CYSMICON);
      if (W == 0 || H == 0) {
        W = GetSystemMetrics(SM_CXSIZE);
        H = GetSystemMetrics(SM_CYSIZE);
      }
      DrawIconEx(DC, R.left + (RectWidth(R) - W) / 2, R.top + (RectHeight(R) - H) / 2, Icon, W, H, 0, nullptr,
                 DI_NORMAL);
      break;
    }
    case kbiRollup: {
      DrawFrameControl(DC, &Box, DFC_BUTTON, DFCS_BUTTONPUSH | Push);
      GdiFlush();
      TRect T{R.left + 4, R.top + 5, R.right - 4, R.bottom - 5};
      if (!Pressed) T = TRect{T.left - 1, T.top - 1, T.right - 1, T.bottom - 1};
      const int Mid = (T.left + T.right) / 2;
      const bool Down = FWindowState == kwsRollup;
      const TPoint Up[] = {{T.left, T.bottom}, {T.right, T.bottom}, {Mid, T.top}};
      const TPoint Dn[] = {{T.left, T.top}, {T.right, T.top}, {Mid, T.bottom}};
      Bitmap->FillPolygon(Down ? std::span<const TPoint>(Dn) : std::span<const TPoint>(Up), 0xFF000000);
      break;
    }
    case kbiTray: {
      DrawFrameControl(DC, &Box, DFC_BUTTON, DFCS_BUTTONPUSH | Push);
      GdiFlush();
      TRect T{R.left + 5, R.top + 5 + 2, R.right - 5, R.bottom - 5 + 2};
      if (Pressed) T = TRect{T.left + 1, T.top + 1, T.right + 1, T.bottom + 1};
      Bitmap->FillRect(T, 0xFF000000);
      break;
    }
  }
  GdiFlush();
}

void TKsCustomForm::PaintBackground(TKsBitmap* Bitmap) {
  TRect C;
  GetClientArea(C);
  TControl* Control = GetHookedControl();
  const TColor Color = Control ? Control->Color() : clBtnFace;
  const bool Blend = Bitmap->AlphaBlend();
  Bitmap->SetAlphaBlend(false);
  Bitmap->FillRect(C, ColorToKsColor(Color, 255));
  Bitmap->SetAlphaBlend(Blend);
}
