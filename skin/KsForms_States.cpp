// TKsCustomForm: the five window states, the frame's mouse (moving, resizing with
// magnetic edges, the caption buttons), the system menu, the application's minimize
// and restore handlers, the tray icon, and the caption kept off the system's frame.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/Menus.h"
#include "classlib/ModuleInit.h"
#include "classlib/UpdateScope.h"
#include "skin/KsForms.h"
#include "skin/KsItems.h"
#include "skin/KsMenuBar.h"
#include "skin/KsPopupMenu.h"
#include "skin/KsUtils.h"

namespace {

// The forms whose handlers sit in the application's minimize and restore chains, so
// that a form leaving the chain can hand its saved handlers to the form that saved its.
std::vector<TKsCustomForm*>& AppHookedForms() {
  static std::vector<TKsCustomForm*> Forms;
  return Forms;
}

// Reaches the form's close event, which the class library keeps for its descendants.
struct TFormCloseAccess : TCustomForm {
  static void RunClose(TCustomForm* Form, TCloseAction& Action) { (Form->*(&TFormCloseAccess::DoClose))(Action); }
};

TShiftState ShiftOf(Byte Bits) {
  TShiftState Shift;
  if (Bits & 8) Shift.Include(ssLeft);
  if (Bits & 16) Shift.Include(ssRight);
  if (Bits & 64) Shift.Include(ssDouble);
  return Shift;
}

// Whether the window's bounds are its normal bounds in a state it leaves: not in the
// states named (whose bounds are their own), and never in the tray, where the window
// is hidden with whatever bounds the state before the tray gave it.
template <class... S>
bool HoldsNormalBounds(TKsWindowState Left, S... Own) {
  return Left != kwsTray && ((Left != Own) && ...);
}

constexpr int RestoreCaptionStyle = 13;
// Posted to the tray window when the window in the tray is destroyed to be made again:
// the new one, made shown, is hidden.
constexpr UINT KM_HIDEINTRAY = 0x56F;
constexpr UINT MaxTipLength = 63;
// A window that never validates must not hold SetBoundsAndFlush in its loop.
constexpr int MaxFlushedPaints = 1000;

}  // namespace

AnsiString KsResourceText(UINT Id) {
  char Buffer[256];
  const int Length = LoadStringA(HInstance, Id, Buffer, sizeof(Buffer));
  return Length > 0 ? AnsiString(Buffer, static_cast<std::size_t>(Length)) : AnsiString();
}

// ---------------------------------------------------------------------------------
// Window states

void TKsCustomForm::SetWindowState(TKsWindowState Value) {
  if (Value == FWindowState) return;
  if (ComponentState().Contains(csLoading)) {
    FPendingState = Value;
    return;
  }
  switch (Value) {
    case kwsNormal: Restore(); break;
    case kwsMaximized: Maximize(); break;
    case kwsMinimized: Minimize(); break;
    case kwsRollup: Rollup(); break;
    case kwsTray: MinimizeToTray(); break;
  }
}

void TKsCustomForm::ApplyPendingState() {
  const TKsWindowState Pending = FPendingState;
  FPendingState = kwsNormal;
  if (Pending != kwsNormal) SetWindowState(Pending);
}

void TKsCustomForm::SaveRestoreBounds() {
  if (TWinControl* Control = GetHookedControl()) FRestoreBounds = Control->BoundsRect();
}

void TKsCustomForm::SetBoundsAndFlush(const TRect& R) {
  TWinControl* Control = GetHookedControl();
  if (!Control) return;
  Control->SetBoundsRect(R);
  MSG Msg;
  for (int I = 0; I < MaxFlushedPaints && PeekMessageA(&Msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++I) {
    if (Msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
    DispatchMessageA(&Msg);
  }
}

void TKsCustomForm::Maximize() {
  TWinControl* Control = GetHookedControl();
  if (!Control) return;
  if (FWindowState == kwsMaximized) return Restore();
  LeaveTray();
  ShowHiddenMDIChild();
  ActivateMDIChild();
  FPreviousState = FWindowState;
  if (HoldsNormalBounds(FPreviousState, kwsRollup, kwsMinimized)) SaveRestoreBounds();
  FWindowState = kwsMaximized;
  TRect R;
  GetMaximizedRect(R);
  SetBoundsAndFlush(R);
  Control->Invalidate();
  PaintNonClient();
  MDIChildMaximized();
}

void TKsCustomForm::Minimize() {
  TCustomForm* Form = GetHookedForm();
  if (!GetHookedControl() || (Form && Form->FormState().Contains(fsModal))) return;
  if (FWindowState == kwsMinimized) return Restore();
  LeaveTray();
  FPreviousState = FWindowState;
  FWindowState = kwsMinimized;
  if (HoldsNormalBounds(FPreviousState, kwsRollup, kwsMaximized)) SaveRestoreBounds();
  MDIChildNotMaximized();
  if (!FMinimizeApplication) {
    TRect R;
    GetMinimizedRect(R);
    SetBoundsAndFlush(R);
  } else {
    Application->Minimize();
  }
}

void TKsCustomForm::Rollup() {
  if (!GetHookedControl()) return;
  if (FWindowState == kwsRollup) return Restore();
  LeaveTray();
  FPreviousState = FWindowState;
  FWindowState = kwsRollup;
  if (HoldsNormalBounds(FPreviousState, kwsMinimized, kwsMaximized)) SaveRestoreBounds();
  TRect R;
  GetRollupRect(R);
  SetBoundsAndFlush(R);
  if (FPreviousState == kwsMaximized) MDIChildNotMaximized();
}

void TKsCustomForm::MinimizeToTray() {
  TWinControl* Control = GetHookedControl();
  TCustomForm* Form = GetHookedForm();
  if (!Control || (Form && Form->FormState().Contains(fsModal))) return;
  if (FWindowState == kwsTray) return Restore();
  FPreviousState = FWindowState;
  FWindowState = kwsTray;
  if (HoldsNormalBounds(FPreviousState, kwsMinimized, kwsMaximized, kwsRollup)) SaveRestoreBounds();
  if (FPreviousState == kwsMaximized) MDIChildNotMaximized();
  AnsiString Tip;
  if (FMinimizeApplication) {
    Tip = Application->Title();
    Application->Minimize();
    if (HWND AppWindow = Application->Handle()) ShowWindow(AppWindow, SW_HIDE);
  } else {
    Tip = Form ? Form->Caption() : AnsiString();
    if (Control->HandleAllocated()) ShowWindow(Control->Handle(), SW_HIDE);
  }
  std::memset(FTrayIconData.szTip, 0, sizeof(FTrayIconData.szTip));
  std::memcpy(FTrayIconData.szTip, Tip.c_str(), std::min<std::size_t>(Tip.size(), MaxTipLength));
  Shell_NotifyIconA(NIM_ADD, &FTrayIconData);
}

void TKsCustomForm::Restore() {
  TWinControl* Control = GetHookedControl();
  if (!Control) return;
  auto ToNormal = [&] {
    LeaveTray();
    FWindowState = kwsNormal;
    SetBoundsAndFlush(FRestoreBounds);
  };
  // Back from minimized or the tray: to the state the window had before.
  auto Unminimize = [&] {
    if (FPreviousState == kwsMaximized) {
      Maximize();
      FPreviousState = kwsNormal;
    } else if (FPreviousState == kwsRollup) {
      Rollup();
      FPreviousState = kwsNormal;
    } else {
      ToNormal();
    }
  };
  switch (FWindowState) {
    case kwsNormal: break;  // already there: nothing changes
    case kwsMaximized: {
      // Maximized straight from minimized (by code) goes back to the normal bounds too;
      // maximized from rolled up rolls up again, once the child is no longer maximized.
      const bool BackToRollup = FPreviousState == kwsRollup;
      FPreviousState = kwsMaximized;
      ToNormal();
      if (FDropShadow && !BackToRollup) {
        Control->Invalidate();
        PaintNonClient();
      }
      MDIChildNotMaximized();
      if (BackToRollup) Rollup();
      break;
    }
    case kwsMinimized: Unminimize(); break;
    case kwsRollup: {
      TRect Max;
      GetMaximizedRect(Max);
      if (RectWidth(Max) == FFrameWidth || FPreviousState == kwsMaximized) {
        Maximize();
        FPreviousState = kwsNormal;
      } else {
        // Unrolls in place: the saved size at the window's current position.
        FRestoreBounds = Bounds(Control->Left(), Control->Top(), RectWidth(FRestoreBounds),
                                RectHeight(FRestoreBounds));
        ToNormal();
      }
      break;
    }
    case kwsTray:
      // Whichever state comes next shows the window and takes the icon away first; a
      // child window back from the tray is the active one, as a window brought to the
      // foreground is.
      Unminimize();
      ActivateMDIChild();
      break;
  }
}

void TKsCustomForm::LeaveTray() {
  TWinControl* Control = GetHookedControl();
  if (FWindowState != kwsTray || !Control) return;
  TFlagScope Leaving(FLeavingTray);
  if (!FMinimizeApplication) {
    // A form hidden meanwhile (its close event hid it) is shown again with its window.
    if (!Control->Visible()) Control->SetVisible(true);
    if (Control->HandleAllocated()) {
      ShowWindow(Control->Handle(), SW_RESTORE);
      SetForegroundWindow(Control->Handle());
    }
  } else {
    Application->Restore();
    if (HWND AppWindow = Application->Handle()) {
      ShowWindow(AppWindow, SW_RESTORE);
      SetForegroundWindow(AppWindow);
    }
  }
  Shell_NotifyIconA(NIM_DELETE, &FTrayIconData);
}

void TKsCustomForm::CloseForm() {
  TCustomForm* Form = GetHookedForm();
  if (!Form) return;
  if (Form->FormState().Contains(fsModal)) {
    Form->SetModalResult(mrCancel);
    return;
  }
  if (!Form->CloseQuery()) return;
  TCloseAction Action = caHide;
  // A child window only minimizes, and only when it can.
  if (Form->FormStyle() == fsMDIChild) Action = FBorderIcons.Contains(kbiMinimize) ? caMinimize : caNone;
  TFormCloseAccess::RunClose(Form, Action);
  if (Action == caNone) return;
  if (Application->MainForm() == Form) {
    Application->Terminate();
  } else if (Action == caHide) {
    LeaveMDIParent();
    Form->Hide();
  } else if (Action == caMinimize) {
    Minimize();
  } else if (Action == caFree) {
    LeaveMDIParent();
    Form->Release();
  }
}

void TKsCustomForm::ShowHelp() {
  if (HWND Window = GetHookedHandle()) SendMessageA(Window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
}

// ---------------------------------------------------------------------------------
// Application handlers

void TKsCustomForm::HookApplication() {
  if (FAppHooked || !Application) return;
  FOldOnMinimize = Application->OnMinimize;
  FOldOnRestore = Application->OnRestore;
  Application->OnMinimize = TNotifyEvent::Bind<&TKsCustomForm::AppMinimize>(this);
  Application->OnRestore = TNotifyEvent::Bind<&TKsCustomForm::AppRestore>(this);
  FAppHooked = true;
  AppHookedForms().push_back(this);
}

void TKsCustomForm::UnhookApplication() {
  if (!FAppHooked) return;
  FAppHooked = false;
  auto& Forms = AppHookedForms();
  Forms.erase(std::remove(Forms.begin(), Forms.end(), this), Forms.end());
  const TNotifyEvent MyMinimize = TNotifyEvent::Bind<&TKsCustomForm::AppMinimize>(this);
  const TNotifyEvent MyRestore = TNotifyEvent::Bind<&TKsCustomForm::AppRestore>(this);
  // This form's handlers are either the application's or saved by a later form: the
  // one that holds them gets this form's saved handlers instead.
  if (Application && Application->OnMinimize == MyMinimize) Application->OnMinimize = FOldOnMinimize;
  if (Application && Application->OnRestore == MyRestore) Application->OnRestore = FOldOnRestore;
  for (TKsCustomForm* Other : Forms) {
    if (Other->FOldOnMinimize == MyMinimize) Other->FOldOnMinimize = FOldOnMinimize;
    if (Other->FOldOnRestore == MyRestore) Other->FOldOnRestore = FOldOnRestore;
  }
  FOldOnMinimize = TNotifyEvent();
  FOldOnRestore = TNotifyEvent();
}

void TKsCustomForm::AppMinimize(TObject* Sender) {
  if (FWindowState != kwsMinimized && FWindowState != kwsTray) Minimize();
  if (FOldOnMinimize.Assigned()) FOldOnMinimize(Sender);
}

void TKsCustomForm::AppRestore(TObject* Sender) {
  if (FWindowState == kwsMinimized) {
    Restore();
    PaintNonClient();
  }
  if (FOldOnRestore.Assigned()) FOldOnRestore(Sender);
}

// ---------------------------------------------------------------------------------
// Mouse

TPoint TKsCustomForm::ToWindow(const TPoint& Screen) {
  RECT W{0, 0, 0, 0};
  if (HWND Window = GetHookedHandle()) GetWindowRect(Window, &W);
  return TPoint{Screen.x - W.left, Screen.y - W.top};
}

void TKsCustomForm::MouseDown(TMouseButton Button, TShiftState /*Shift*/, int X, int Y) {
  if (Button != mbLeft) return;
  FMouseDownCode = FHoverCode = HitTest(X, Y);
  FDragStart = FDragLast = TPoint{X, Y};
  PaintNonClient();
  if (FMouseDownCode >= khtCaption && FMouseDownCode <= khtBottomRight) {
    FDragging = true;
    FDragOutline = TRect{0, 0, 0, 0};
    if (FSimpleDrag) {
      FFramePaintEnabled = false;
      FDragFromStart = true;
    }
  }
  if (HWND Window = GetHookedHandle()) SetCapture(Window);
}

void TKsCustomForm::MouseMove(TShiftState Shift, int X, int Y) {
  TWinControl* Control = GetHookedControl();
  if (!Control) return;
  if (!(Shift.Contains(ssLeft) && FDragging)) {
    if (HitTest(X, Y) == khtSysMenu)
      if (TCustomForm* Form = GetHookedForm()) Form->SetHint("Sytem Menu");
    FHoverCode = 0;
    return;
  }
  TRect R = Control->BoundsRect();
  TPoint Min;
  GetMinTrackSize(Min);
  const bool Resizable = FCanResize && FWindowState != kwsMaximized && FWindowState != kwsMinimized &&
                         FWindowState != kwsRollup;
  const int FromX = FDragFromStart ? FDragStart.x : FDragLast.x;
  const int FromY = FDragFromStart ? FDragStart.y : FDragLast.y;
  auto Left = [&] { R.left = std::min(R.left + X - FDragStart.x, R.right - Min.x); };
  auto Top = [&] { R.top = std::min(R.top + Y - FDragStart.y, R.bottom - Min.y); };
  auto Right = [&] { R.right += X - FromX; };
  auto Bottom = [&] { R.bottom += Y - FromY; };
  switch (FMouseDownCode) {
    case khtCaption:
      if (FCanMove && FWindowState != kwsMaximized) {
        OffsetRect(&R, X - FDragStart.x, Y - FDragStart.y);
        SnapToEdges(R);
      }
      break;
    default:
      if (!Resizable) break;
      switch (FMouseDownCode) {
        case khtLeft: Left(); break;
        case khtTop: Top(); break;
        case khtRight: Right(); break;
        case khtBottom: Bottom(); break;
        case khtTopLeft: Top(); Left(); break;
        case khtTopRight: Top(); Right(); break;
        case khtBottomLeft: Bottom(); Left(); break;
        case khtBottomRight: Bottom(); Right(); break;
      }
  }
  if (!FSimpleDrag) {
    SetBoundsAndFlush(R);
    FHoverCode = HitTest(X, Y);
    PaintNonClient();
  } else {
    DrawDragFrame(R);
  }
  FDragLast = TPoint{X, Y};
}

void TKsCustomForm::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    const Byte Pressed = FMouseDownCode;
    const bool WasDragging = FDragging;
    FMouseDownCode = 0;
    FDragging = false;
    // After the press is over: the capture change this sends finds nothing to end.
    ReleaseCapture();
    if (Shift.Contains(ssDouble)) {
      if (Pressed == khtCaption && FBorderIcons.Contains(kbiMaximize)) {
        if (FWindowState == kwsMinimized)
          Restore();
        else
          Maximize();
        return;
      }
      if (Pressed == khtSysMenu) {
        CloseForm();
        return;
      }
    }
    if (Pressed == HitTest(X, Y)) {
      switch (Pressed) {
        case khtClose: CloseForm(); return;
        case khtHelp: ShowHelp(); break;
        case khtMinimize: Minimize(); break;
        case khtMaximize: Maximize(); break;
        case khtRollup: Rollup(); break;
        case khtTray: MinimizeToTray(); break;
        case khtSysMenu: ShowSystemMenu(); break;
      }
    }
    EndDrag(Pressed, WasDragging, X, Y);
    return;
  }
  if (Button == mbRight && HitTest(X, Y) == khtCaption) {
    RECT W{0, 0, 0, 0};
    if (HWND Window = GetHookedHandle()) GetWindowRect(Window, &W);
    FMenuPoint = TPoint{X + W.left, Y + W.top};
    ShowSystemMenu();
    FMenuPoint = TPoint{0, 0};
  }
  FMouseDownCode = 0;
}

void TKsCustomForm::EndDrag(Byte Pressed, bool WasDragging, int X, int Y) {
  if (FSimpleDrag && WasDragging) {
    DrawDragFrame(TRect{0, 0, 0, 0});
    // The final bounds, taken once as a live drag would.
    FSimpleDrag = false;
    FDragging = true;
    FMouseDownCode = Pressed;
    MouseMove(ShiftOf(8), X, Y);
    FMouseDownCode = 0;
    FDragging = false;
    FSimpleDrag = true;
    FDragFromStart = false;
    FFramePaintEnabled = true;
    PaintNonClient();
    if (TWinControl* Control = GetHookedControl()) Control->Invalidate();
  } else {
    PaintNonClient();
  }
}

void TKsCustomForm::EndPressOnCaptureLoss() {
  if (FNonClientShift == 0) return;
  FNonClientShift = 0;
  // A release where the mouse was last seen, that runs no caption button's command.
  const Byte Pressed = FMouseDownCode;
  const bool WasDragging = FDragging;
  FMouseDownCode = 0;
  FDragging = false;
  if (GetCapture() == GetHookedHandle()) ReleaseCapture();
  EndDrag(Pressed, WasDragging, FDragLast.x, FDragLast.y);
}

void TKsCustomForm::SnapToEdges(TRect& R) {
  if (!FMagnetic) return;
  TRect Test = R;
  if (FDropShadow) {
    Test.right -= FShadowWidth;
    Test.bottom -= FShadowWidth;
  }
  const TRect P = ParentArea();
  int DX = 0, DY = 0;
  if (std::abs(Test.left - P.left) < FMagneticValue)
    DX = P.left - Test.left;
  else if (std::abs(Test.right - P.right) < FMagneticValue)
    DX = P.right - Test.right;
  if (std::abs(Test.top - P.top) < FMagneticValue)
    DY = P.top - Test.top;
  else if (std::abs(Test.bottom - P.bottom) < FMagneticValue)
    DY = P.bottom - Test.bottom;
  OffsetRect(&R, DX, DY);
}

void TKsCustomForm::DrawDragFrame(const TRect& R) {
  if (FWindowState == kwsMaximized) return;
  const LOGPEN Outline{PS_INSIDEFRAME, POINT{2, 0}, RGB(255, 255, 255)};
  const TSharedObject<HPEN> Pen(AcquireSharedPen(Outline));
  // A child window's outline is drawn in its MDI client's client area, over the
  // children there (not clipped); any other window's on the desktop.
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  const HWND Client = Form && Form->HandleAllocated() ? GetParent(Form->Handle()) : nullptr;
  const HWND Window = Client ? Client : GetDesktopWindow();
  const TReleasedDC Target(Window, Client ? GetDCEx(Client, nullptr, DCX_CACHE) : GetWindowDC(Window));
  const HDC DC = Target.DC();
  if (!DC) return;
  TSavedDC Saved(DC);  // the pen, the brush and the mix mode
  SelectObject(DC, Pen.Handle());
  SelectObject(DC, GetStockObject(NULL_BRUSH));
  SetROP2(DC, R2_XORPEN);
  if (!IsEmptyRect(FDragOutline))
    Rectangle(DC, FDragOutline.left, FDragOutline.top, FDragOutline.right, FDragOutline.bottom);
  if (!IsEmptyRect(R)) Rectangle(DC, R.left, R.top, R.right, R.bottom);
  FDragOutline = R;
}

// ---------------------------------------------------------------------------------
// System menu

void TKsCustomForm::AddSystemMenuItem(const AnsiString& Caption, TShortCut ShortCut, int ImageIndex) {
  TKsCustomItem* Item = CreateItem(nullptr);
  Item->SetCaption(Caption);
  Item->SetShortCut(ShortCut);
  Item->SetImages(CaptionButtonImages);
  Item->SetImageIndex(ImageIndex);
  Item->OnClick = TNotifyEvent::Bind<&TKsCustomForm::SystemMenuClick>(this);
  FSystemMenu->Add(Item);
}

void TKsCustomForm::BuildSystemMenu() {
  FreeAndNil(FSystemMenu);
  FSystemMenu = CreateItem(nullptr);
  const TKsWindowState S = FWindowState;
  auto Has = [&](TKsBorderIcon I) { return FBorderIcons.Contains(I); };
  if (S != kwsNormal) AddSystemMenuItem(KsResourceText(SKsRestoreId), 0, ciRestore);
  if (Has(kbiMinimize) && (S == kwsNormal || S == kwsMaximized || S == kwsRollup))
    AddSystemMenuItem(KsResourceText(SKsMinimizeId), 0, ciMinimize);
  if (Has(kbiMaximize) && (S == kwsNormal || S == kwsRollup))
    AddSystemMenuItem(KsResourceText(SKsMaximizeId), 0, ciMaximize);
  if (Has(kbiRollup) && (S == kwsNormal || S == kwsMaximized))
    AddSystemMenuItem(KsResourceText(SKsRollupId), 0, ciRollup);
  if (Has(kbiTray) && (S == kwsNormal || S == kwsMaximized || S == kwsRollup))
    AddSystemMenuItem(KsResourceText(SKsMinimizeToTrayId), 0, ciTray);
  if (Has(kbiClose)) {
    if (FSystemMenu->Count() > 0) AddSystemMenuItem("-", 0, -1);
    AddSystemMenuItem(KsResourceText(SKsCloseId), TextToShortCut("Alt+F4"), ciClose);
  }
  FSystemMenu->SetPopupBlend(FSysMenuBlend);
  FSystemMenu->SetPopupBlendValue(FSysMenuBlendValue);
  FSystemMenu->SetDropShadow(FSysMenuDropShadow);
  FSystemMenu->SetShadowWidth(FSysMenuShadowWidth);
  FSystemMenu->SetShowAnimation(FSysMenuShowAnimation);
  FSystemMenu->SetShowAnimationTime(FSysMenuShowAnimationTime);
}

void TKsCustomForm::SystemMenuClick(TObject* Sender) {
  auto* Item = ObjectAs<TKsCustomItem>(Sender);
  if (!Item) return;
  const AnsiString Caption = Item->Caption();
  if (Caption == KsResourceText(SKsCloseId)) CloseForm();
  if (Caption == KsResourceText(SKsMaximizeId)) Maximize();
  if (Caption == KsResourceText(SKsMinimizeId)) Minimize();
  if (Caption == KsResourceText(SKsRollupId)) Rollup();
  if (Caption == KsResourceText(SKsMinimizeToTrayId)) MinimizeToTray();
  if (Caption == KsResourceText(SKsRestoreId)) Restore();
}

void TKsCustomForm::ShowSystemMenu() {
  TPoint P{0, 0};
  if (FWindowState == kwsTray) {
    POINT Cursor;
    GetCursorPos(&Cursor);
    P = TPoint{Cursor.x, Cursor.y};
  } else if (FMenuPoint.x != 0 || FMenuPoint.y != 0) {
    P = FMenuPoint;
  } else if (TWinControl* Control = GetHookedControl()) {
    P = Control->ClientOrigin();
  }
  if (FWindowState == kwsTray && FTrayMenu) {
    if (auto* KitMenu = ObjectAs<TKsCustomPopupMenu>(FTrayMenu); KitMenu && KitMenu->Items())
      KitMenu->Items()->SetSetForeground(true);
    FTrayMenu->Popup(P.x, P.y);
    return;
  }
  BuildSystemMenu();
  FSystemMenu->SetSetForeground(FWindowState == kwsTray);
  PopupItem(FSystemMenu, nullptr, P, TRect{0, 0, 0, 0});
}

// ---------------------------------------------------------------------------------
// Messages

void TKsCustomForm::WMNCMouse(TMessage& Message) {
  const TPoint P = ToWindow(Message.Pos());
  const HWND Window = GetHookedHandle();
  switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
      const bool Left = Message.Msg == WM_NCLBUTTONDOWN;
      if (Window && GetActiveWindow() != Window) ::SetFocus(Window);
      FNonClientShift = Left ? 8 : 16;
      MouseDown(Left ? mbLeft : mbRight, ShiftOf(FNonClientShift), P.x, P.y);
      Message.Result = 0;
      break;
    }
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
      FNonClientShift = 0;
      MouseUp(Message.Msg == WM_NCLBUTTONUP ? mbLeft : mbRight, TShiftState{}, P.x, P.y);
      Message.Result = 0;
      break;
    case WM_NCLBUTTONDBLCLK:
      MouseDown(mbLeft, ShiftOf(72), P.x, P.y);
      MouseUp(mbLeft, ShiftOf(72), P.x, P.y);
      FNonClientShift = 0;
      Message.Result = 1;
      break;
    case WM_NCMOUSEMOVE:
      MouseMove(ShiftOf(FNonClientShift), P.x, P.y);
      Message.Result = 0;
      break;
  }
  SetHandled(true);
}

void TKsCustomForm::WMSysCommand(TMessage& Message) {
  switch (Message.WParam & 0xFFF0) {
    case SC_KEYMENU:
      // Alt+Space opens the system menu; Alt alone or F10 tracks the menu bar.
      if (Message.LParam == ' ') {
        ShowSystemMenu();
      } else if (auto* Bar = ObjectAs<TKsCustomMenuBar>(FMenuBar); Bar && Message.LParam == 0) {
        Bar->StartTracking();
        Message.Result = 0;
        SetHandled(true);
      }
      break;
    case SC_MOUSEMENU: ShowSystemMenu(); break;
    case SC_MAXIMIZE:
    case SC_MINIMIZE:
    case SC_RESTORE:
      // A child window's states are the frame's: the system's would name the child in
      // the parent's caption a second time and keep it there after the frame restores.
      if (HookedFormOf(fsMDIChild)) {
        MDISysCommand(Message.WParam & 0xFFF0);
        Message.Result = 0;
        SetHandled(true);
      }
      break;
    case SC_CLOSE:
      // Handled here: the default handler would send WM_CLOSE and close a second time.
      CloseForm();
      Message.Result = 0;
      SetHandled(true);
      break;
  }
}

bool TKsCustomForm::StatesDispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSEMOVE: WMNCMouse(Message); return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (Alt+Tab, a message box): the press is over.
      if (reinterpret_cast<HWND>(Message.LParam) != GetHookedHandle()) EndPressOnCaptureLoss();
      return true;
    case WM_CANCELMODE: EndPressOnCaptureLoss(); return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      // A press on the frame captured the mouse: the client messages carry the drag on.
      if (FNonClientShift == 0) return true;
      if (Message.Msg == WM_MOUSEMOVE && (FNonClientShift & 8) && !(Message.WParam & MK_LBUTTON)) {
        // The left button went up where no release reached the window.
        EndPressOnCaptureLoss();
        return true;
      }
      const HWND Window = GetHookedHandle();
      POINT S = Message.Pos();
      if (Window) ClientToScreen(Window, &S);
      const TPoint P = ToWindow(TPoint{S.x, S.y});
      if (Message.Msg == WM_MOUSEMOVE) {
        MouseMove(ShiftOf(FNonClientShift), P.x, P.y);
      } else {
        FNonClientShift = 0;
        MouseUp(mbLeft, TShiftState{}, P.x, P.y);
      }
      return true;
    }
    case WM_SYSCOMMAND: WMSysCommand(Message); return true;
    case WM_ACTIVATE:
      if (LOWORD(Message.WParam) == WA_INACTIVE && HIWORD(Message.WParam)) Minimize();
      return true;
    case WM_MDIACTIVATE: WMMDIActivate(Message); return true;
    case WM_SHOWWINDOW:
      // The form shown in the tray (not by its owner coming back): the window leaves
      // the tray for the state it had before, as every other move out of it does.
      if (Message.WParam && Message.LParam == 0 && FWindowState == kwsTray && !FLeavingTray) Restore();
      return true;
    case WM_DESTROY:
      if (FWindowState == kwsTray && !FMinimizeApplication) PostMessageA(FTrayWindow, KM_HIDEINTRAY, 0, 0);
      return true;
    case KM_MAXIMIZECHILD:
      KMMaximizeChild();
      Message.Result = 0;
      SetHandled(true);
      return true;
    case KM_RESTORECAPTION:
      if (const HWND Window = GetHookedHandle(); Window && Message.WParam == RestoreCaptionStyle)
        SetWindowLongA(Window, GWL_STYLE, GetWindowLongA(Window, GWL_STYLE) | WS_CAPTION);
      PaintNonClient();
      Message.Result = 0;
      SetHandled(true);
      return true;
  }
  return false;
}

void TKsCustomForm::AfterMessage(TMessage& Message, bool& /*Handled*/) {
  if (!Active() || ComponentState().Contains(csDestroying)) return;
  if (Message.Msg == WM_SIZE) {
    AfterMDIParentSize();
    if (Message.WParam == SIZE_MAXIMIZED || Message.WParam == SIZE_MINIMIZED) AfterMDIChildSystemSized();
  }
  // A window in the tray shown by other means than its form's showing (a position
  // change that shows it, a command that changes its state as well) leaves the tray as
  // it would have then. (A window made again in the tray is shown before the frame
  // watches it, and hidden again by the tray window.)
  if (Message.Msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags & SWP_SHOWWINDOW) &&
      FWindowState == kwsTray && !FMinimizeApplication && !FLeavingTray)
    Restore();
  // A child window hidden by other means than the frame's close (its form's Hide or
  // Close, Visible switched off) leaves its parent as the frame's close would have.
  if (Message.Msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags & SWP_HIDEWINDOW))
    MDIChildHidden();
  // A maximized child's frame is not painted, so nothing else reads its new caption; a
  // maximized child behind the active one is not named in the parent's.
  if (Message.Msg == WM_SETTEXT && MaximizedMDIChild() && IsActiveMDIChild()) UpdateMDICaption();
  // An MDI child's activation has run the system's procedure, which paints the
  // system's caption over the frame: the frame goes back over it.
  if (Message.Msg == WM_NCACTIVATE && Message.WParam != 0 && HookedFormOf(fsMDIChild)) PaintNonClient();
  if (Message.Msg != WM_GETTEXT) return;
  const HWND Window = GetHookedHandle();
  const auto* Text = reinterpret_cast<const char*>(Message.LParam);
  if (!Window || !Text || Message.WParam == 0) return;
  const AnsiString Now(Text, static_cast<std::size_t>(std::max<LRESULT>(Message.Result, 0)));
  if (Now == FLastCaption) return;
  // The system would paint its own caption when the text changes: the caption style
  // goes until the posted message puts it back and the kit's frame repaints.
  SetWindowLongA(Window, GWL_STYLE, GetWindowLongA(Window, GWL_STYLE) & ~WS_CAPTION);
  PostMessageA(Window, KM_RESTORECAPTION, RestoreCaptionStyle, 0);
  FLastCaption = Now;
  // The result stays the text's length: the caller reads the text it was given.
}

// ---------------------------------------------------------------------------------
// Tray

void TKsCustomForm::TrayWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_QUERYENDSESSION: Message.Result = 1; return;
    case WM_ENDSESSION: Shell_NotifyIconA(NIM_DELETE, &FTrayIconData); break;
    case KM_HIDEINTRAY:
      if (const HWND Window = GetHookedHandle(); Window && FWindowState == kwsTray && !FMinimizeApplication)
        ShowWindow(Window, SW_HIDE);
      Message.Result = 0;
      return;
    case KM_TRAYNOTIFY:
      if (Message.LParam == WM_LBUTTONDBLCLK)
        Restore();
      else if (Message.LParam == WM_RBUTTONUP)
        ShowSystemMenu();
      Message.Result = 0;
      return;
  }
  Message.Result = DefWindowProcA(FTrayWindow, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------------
// Show animation

void TKsCustomForm::ComposeAnimationImage() {
  TKsBitmap* Image = FAnimationBitmap;
  // The frame as an active window's, then the client background.
  const bool WasActive = FWindowActive;
  FWindowActive = true;
  PaintNonClient();
  FWindowActive = WasActive;
  PaintBackground(Image);
  // What lies outside the window's shape stays see-through.
  if (HRGN Shape = GetRegion()) {
    if (FDropShadow && FWindowState != kwsMaximized)
      if (HRGN Shadow = GetRegion()) {
        OffsetRgn(Shadow, FShadowWidth, FShadowWidth);
        CombineRgn(Shape, Shape, Shadow, RGN_OR);
        DeleteCountedObject(Shadow);
      }
    HRGN Outside = CountHandle(CreateRectRgn(0, 0, FWindowWidth, FWindowHeight));
    CombineRgn(Outside, Outside, Shape, RGN_DIFF);
    DeleteCountedObject(Shape);
    const HDC DC = Image->DC();
    SelectClipRgn(DC, Outside);
    Image->FillRect(TRect{0, 0, FWindowWidth, FWindowHeight}, KsColorTransparent);
    SelectClipRgn(DC, nullptr);
    DeleteCountedObject(Outside);
  }
  // The form's controls as they will show, at the client area's offset.
  TWinControl* Control = GetHookedControl();
  TRect C;
  GetClientArea(C);
  const HDC DC = Image->DC();
  POINT OldOrigin;
  SetWindowOrgEx(DC, -C.left, -C.top, &OldOrigin);
  Control->PaintControls(DC, nullptr);
  SetWindowOrgEx(DC, OldOrigin.x, OldOrigin.y, nullptr);
  for (int I = 0; I < Control->ControlCount(); ++I) {
    auto* Child = ObjectAs<TWinControl>(Control->Controls(I));
    if (Child && Child->Visible()) Child->PaintTo(DC, Child->Left() + C.left, Child->Top() + C.top);
  }
  GdiFlush();
}

void TKsCustomForm::ShowAnimated(const TRect& ScreenRect) {
  if (FBlend || FShowAnimation == kaNone || !GetHookedControl() || !GetFrameBuffer() || FAnimating) return;
  TOwned<TKsBitmap> Image(NewObject<TKsBitmap>());
  // A size the system cannot give leaves no image, and the window shows unanimated.
  if (!Image->TrySetSize(FWindowWidth, FWindowHeight) || Image->Empty()) return;
  FAnimating = true;
  FAnimationBitmap = Image.get();
  // The flag and the bitmap end with the scope, however it is left.
  struct TEnd {
    TKsCustomForm* Form;
    ~TEnd() {
      Form->FAnimating = false;
      Form->FAnimationBitmap = nullptr;
    }
  } End{this};
  FCapturedRect = TRect{0, 0, 0, 0};
  CaptureBackground(ScreenRect);
  ComposeAnimationImage();
  TKsAnimation Kind = FShowAnimation;
  if (Kind == kaRandom) {
    static const TKsAnimation Choices[] = {kaFade, kaSlide, kaRect};
    Kind = Choices[std::rand() % 3];
  }
  const TScreenDC Screen;
  if (!Screen.DC()) return;
  if (KsShowAnimationProc)
    KsShowAnimationProc(Kind, Screen.DC(), FBackgroundBuffer, TRect{0, 0, FWindowWidth, FWindowHeight},
                        FShowAnimationTime, ScreenRect, Image.get());
}

TKsShowAnimationProc KsShowAnimationProc = RunShowAnimation;

void RunShowAnimation(TKsAnimation Kind, HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                      const TRect& ScreenRect, TKsBitmap* Foreground) {
  switch (Kind) {
    case kaFade: FadeAnimation(DC, Background, BackgroundRect, Time, ScreenRect, Foreground); break;
    case kaSlide: SlideAnimation(DC, Background, BackgroundRect, Time, std::rand() % 8, ScreenRect, Foreground); break;
    case kaRect: RectAnimation(DC, Background, BackgroundRect, Time, std::rand() % 5, ScreenRect, Foreground); break;
    default: break;
  }
}
