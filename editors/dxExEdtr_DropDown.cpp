#include "editors/dxExEdtr_DropDown.h"

#include <windowsx.h>

#include <utility>

#include "classlib/Forms.h"
#include "classlib/Messages.h"
#include "classlib/UpdateScope.h"
#include "editors/dxCntner.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_PopupList.h"

TCLASS_IMPL(TdxDropDownEditViewData)
TCLASS_IMPL(TdxInplaceDropDownEdit)

TdxInplaceDropDownEdit::TdxInplaceDropDownEdit(TComponent* AOwner) : TdxInplaceMaskEdit(AOwner) {}

TdxInplaceDropDownEdit::~TdxInplaceDropDownEdit() { FreeAndNil(FButtonGlyph); }

// ---------------------------------------------------------------------------------
// Class operations

void TdxInplaceDropDownEdit::CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                                          TdxEditDrawInfo& DrawInfo) {
  inherited::CalcDrawInfo(Self, ViewData, AutoHeight, DrawInfo);
  auto* Data = dynamic_cast<TdxDropDownEditViewData*>(ViewData);
  if (!Data) return;
  for (int I = 0; I < Data->ButtonCount; ++I) {
    if (Data->Buttons[I].LeftAlignment)
      DrawInfo.ContentRect.left += Data->Buttons[I].Width;
    else
      DrawInfo.ContentRect.right -= Data->Buttons[I].Width;
  }
}

void TdxInplaceDropDownEdit::GetButtonRects(const TdxEditDrawInfo& DrawInfo,
                                            const TdxDropDownEditViewData* ViewData, TRect* Rects) {
  TRect R = DrawInfo.BorderRect;
  InflateRect(&R, -DrawInfo.BorderSize, -DrawInfo.BorderSize);
  for (int I = ViewData->ButtonCount - 1; I >= 0; --I) {
    const TdxEditButtonDrawData& Button = ViewData->Buttons[I];
    if (Button.LeftAlignment) {
      Rects[I] = TRect{R.left, R.top, R.left + Button.Width, R.bottom};
      R.left += Button.Width;
    } else {
      Rects[I] = TRect{R.right - Button.Width, R.top, R.right, R.bottom};
      R.right -= Button.Width;
    }
  }
}

void TdxInplaceDropDownEdit::DrawBorder(MetaType::TSelf Self, HDC DC, const TdxEditDrawInfo& DrawInfo,
                                        TdxEditViewData* ViewData) {
  inherited::DrawBorder(Self, DC, DrawInfo, ViewData);
  auto* Data = dynamic_cast<TdxDropDownEditViewData*>(ViewData);
  if (!Data || Data->ButtonCount == 0) return;
  TRect Rects[dxMaxEditButtonCount];
  GetButtonRects(DrawInfo, Data, Rects);
  TdxEditButtonLook Look{Data->ButtonStyle, Data->Brush, Data->Enabled};
  for (int I = Data->ButtonCount - 1; I >= 0; --I) {
    bool Hot = I == Data->HotButton;
    DrawEditButton(DC, Rects[I], Data->Buttons[I], Look, Hot && I == Data->PressedButton,
                   Data->ButtonTransparent, Hot);
  }
}

TdxEditViewDataClass TdxInplaceDropDownEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxDropDownEditViewData::StaticClass();
}

TdxEditViewData* TdxInplaceDropDownEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  if (auto* Data = dynamic_cast<TdxDropDownEditViewData*>(ViewData.get())) {
    Data->ButtonGlyph = HasButtonGlyph() ? FButtonGlyph : nullptr;
    Data->ButtonsHidden = !IsHot() && Style()->ButtonTransparence() == ebtHideInactive;
    Data->HotButton = FHotButton;
    Data->PressedButton = FPressedButton;
    FillButtons(Data);
  }
  return ViewData.release();
}

void TdxInplaceDropDownEdit::FillButtons(TdxDropDownEditViewData* ViewData) {
  for (auto& Button : ViewData->Buttons) Button = TdxEditButtonDrawData{};
  ViewData->ButtonCount = 0;
  if (ViewData->ButtonsHidden) return;
  ViewData->ButtonCount = 1;
  TdxEditButtonDrawData& Button = ViewData->Buttons[0];
  Button.Glyph = ViewData->ButtonGlyph;
  Button.Index = 0;
  Button.Kind = ViewData->ButtonGlyph ? bkGlyph : bkDown;
  Button.LeftAlignment = false;
  Button.Width = DefaultButtonWidth(ViewData, Button);
}

int TdxInplaceDropDownEdit::DefaultButtonWidth(TdxDropDownEditViewData* ViewData,
                                               const TdxEditButtonDrawData& Button) {
  return DefaultEditButtonWidth(ViewData->ButtonStyle, Button);
}

// ---------------------------------------------------------------------------------
// Values and state

TBitmap* TdxInplaceDropDownEdit::ButtonGlyph() {
  if (!FButtonGlyph) FButtonGlyph = NewObject<TBitmap>();
  return FButtonGlyph;
}

void TdxInplaceDropDownEdit::SetButtonGlyph(TBitmap* Value) {
  if (!Value || Value->Empty())
    FreeAndNil(FButtonGlyph);
  else
    ButtonGlyph()->Assign(Value);
  StyleLayoutChanged();
}

TdxPopupBorder TdxInplaceDropDownEdit::ResolvedPopupBorder() {
  if (FPopupBorder != pbDefault) return FPopupBorder;
  TdxEditBorderStyle Border = Style()->BorderStyle();
  if (TCustomdxContainer* Host = GetContainer())
    return static_cast<TdxPopupBorder>(Host->GetPopupBorderStyle(static_cast<Byte>(Border)));
  switch (Border) {
    case xbsSingle:
    case xbs3D: return pbSingle;
    case xbsFlat: return pbFlat;
    default: return pbFrame3D;
  }
}

bool TdxInplaceDropDownEdit::IsPopupVisible() {
  return FPopup && FPopup->HandleAllocated() && IsWindowVisible(FPopup->Handle()) &&
         (FPopup->Focused() || FPopupKeepsEditorFocus);
}

void TdxInplaceDropDownEdit::SetDroppedDown(bool Value) {
  if (Value == IsPopupVisible()) return;
  if (!Value)
    CloseUp(false);
  else if (HandleAllocated())
    PostMessageA(Handle(), WM_DXDROPDOWN, 0, 0);
}

void TdxInplaceDropDownEdit::SetHotButton(int Index) {
  if (FHotButton == Index) return;
  FHotButton = Index;
  if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 0, 0);
}

void TdxInplaceDropDownEdit::ReleasePressedButton() {
  if (FPressedButton == -1) return;
  FPressedButton = -1;
  if (HandleAllocated()) {
    if (GetCapture() == Handle()) ReleaseCapture();
    SendMessageA(Handle(), WM_NCPAINT, 0, 0);
  }
}

void TdxInplaceDropDownEdit::PopupMouseUp(TObject* /*Sender*/, TMouseButton Button, TShiftState /*Shift*/,
                                          int X, int Y) {
  if (Button != mbLeft || !FPopup) return;
  TRect Client = FPopup->ClientRect();
  POINT P{X, Y};
  CloseUp(PtInRect(&Client, P) != 0);
}

void TdxInplaceDropDownEdit::RemovePendingChar() {
  MSG Removed;
  if (HandleAllocated() && PeekMessageA(&Removed, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE) &&
      Removed.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(Removed.wParam));
}

// ---------------------------------------------------------------------------------
// The drop-down operations

void TdxInplaceDropDownEdit::PositionPopup(TWinControl* APopup, bool AdjustWidth) {
  if (!APopup || !HandleAllocated()) return;
  RECT Window;
  GetWindowRect(Handle(), &Window);
  TRect R = Window;
  TOwned<TdxEditViewData> ViewData(CreateViewData(false));
  TdxEditDrawInfo DrawInfo;
  EditClass()->CalcDrawInfo(ViewData.get(), false, DrawInfo);
  int W = DrawInfo.BorderRect.right - DrawInfo.BorderRect.left + (ViewData->Shadow ? 2 : 0);
  if (AdjustWidth && W > APopup->Width()) APopup->SetWidth(W);
  R.left += DrawInfo.BorderRect.left;
  R.right = R.left + W;
  TdxEditBorderStyle Border = Style()->BorderStyle();
  if (Border == xbsNone || Border == xbsSingle) InflateRect(&R, 0, -1);
  if (!InPlace() && Border == xbsNone) InflateRect(&R, 0, -1);
  TPoint P{R.left, R.bottom};
  if (FPopupAlignment == taRightJustify)
    P.x = R.right - APopup->Width();
  else if (FPopupAlignment == taCenter)
    P.x = (R.left + R.right) / 2 - APopup->Width() / 2;
  PlacePopup(P, APopup->Width(), APopup->Height(), R.bottom - R.top);
  APopup->SetBounds(P.x, P.y, APopup->Width(), APopup->Height());
}

void TdxInplaceDropDownEdit::PrepareList(TCustomdxPopupListBox* List) {
  List->SetParent(this);
  List->SetColor(Color());
  List->Font()->Assign(Font());
  List->SetPopupBorder(ResolvedPopupBorder());
  List->SetShadow(Style()->Shadow());
  List->HandleNeeded();
}

void TdxInplaceDropDownEdit::ShowList(TCustomdxPopupListBox* List) {
  PositionPopup(List, true);
  SetWindowPos(List->Handle(), HWND_TOP, List->Left(), List->Top(), 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetDroppedDownValue(true);
  Invalidate();
}

void TdxInplaceDropDownEdit::HideList(TCustomdxPopupListBox* List) {
  if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
  // Closed because the focus left, the list leaves it where it went.
  if (!FLosingFocus && HandleAllocated() && GetFocus() != Handle() && CanFocus() && IsWindowVisible(Handle()) &&
      Application->Active())
    ::SetFocus(Handle());
  if (List->HandleAllocated())
    SetWindowPos(List->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetDroppedDownValue(false);
  Invalidate();
}

void TdxInplaceDropDownEdit::ButtonDown(bool IsClientClick, int Index) {
  if (FPopup && FDroppedDown && FPopupKeepsEditorFocus) {
    CloseUp(false);
    return;
  }
  if (FDroppedDown) return;
  FPressedButton = FHotButton;
  if (!HandleAllocated()) return;
  if (!IsClientClick) SetCapture(Handle());
  SendMessageA(Handle(), WM_NCPAINT, 0, 0);
  if (Index != -1) SetDroppedDown(true);
}

void TdxInplaceDropDownEdit::DoCloseUp(Variant& Value, bool& Accept) {
  if (OnCloseUpHook.Assigned()) OnCloseUpHook(this, Value, Accept);
}

void TdxInplaceDropDownEdit::DropDownKeyDown(Word& Key, TShiftState Shift) {
  bool Alt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && Alt) || (Key == VK_F4 && !Alt)) {
    if (FDroppedDown)
      CloseUp(true);
    else
      DropDown();
    Key = 0;
  } else if ((Key == VK_RETURN || Key == VK_ESCAPE) && !Alt && FDroppedDown) {
    bool Enter = Key == VK_RETURN;
    CloseUp(Enter);
    if (Enter)
      RemovePendingChar();
    else if (FForwardNavigationKeysOnly)
      // The text typed with the list open is the edit's: Escape gives back the text and
      // value the edit began with, as it does with the list closed.
      RevertToSaved();
    Key = 0;
  } else if (Key == VK_TAB && !Alt && FDroppedDown) {
    // Tab leaves the editor with what the list shows chosen, as Enter would choose it,
    // and goes on to the host: a list left open never swallows the key that ends an edit.
    CloseUp(true);
  }
}

void TdxInplaceDropDownEdit::DoEditButtonClick() {
  if (OnEditButtonClickHook.Assigned()) OnEditButtonClickHook(this);
  if (OnEditButtonClick.Assigned()) OnEditButtonClick(this);
}

// ---------------------------------------------------------------------------------
// The editor base's steps

void TdxInplaceDropDownEdit::AfterShow() {
  inherited::AfterShow();
  if (FImmediatePopup) SetDroppedDown(true);
}

void TdxInplaceDropDownEdit::Show() {
  FDroppedDown = false;
  inherited::Show();
}

void TdxInplaceDropDownEdit::Hide() {
  if (FDroppedDown && FPopup && FPopup->HandleAllocated()) PostMessageA(FPopup->Handle(), WM_CLOSE, 0, 0);
  FDroppedDown = false;
  inherited::Hide();
}

bool TdxInplaceDropDownEdit::EditFocused() {
  return inherited::EditFocused() || (FPopup && FPopup->Focused());
}

void TdxInplaceDropDownEdit::SetMouseInside(bool Value) {
  inherited::SetMouseInside(Value);
  if (!Value) SetHotButton(-1);
}

void TdxInplaceDropDownEdit::HostMouseMove(int X, int Y) {
  inherited::HostMouseMove(X, Y);
  TCustomdxContainer* Host = GetContainer();
  if (!Host || !HandleAllocated()) return;
  TPoint P = Host->ClientToScreen(TPoint{X, Y});
  ReleaseCapture();
  LPARAM Where = MAKELPARAM(P.x, P.y);
  LRESULT Code = SendMessageA(Handle(), WM_NCHITTEST, 0, Where);
  SendMessageA(Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(Code), Where);
}

void TdxInplaceDropDownEdit::HostMouseUp() {
  if (ClientAreaIsButton && !FDroppedDown) DropDown();
  inherited::HostMouseUp();
}

void TdxInplaceDropDownEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!FPopupKeepsEditorFocus) {
    bool Alt = Shift.Contains(ssAlt);
    if (((Key == VK_UP || Key == VK_DOWN) && Alt) || (Key == VK_F4 && !Alt)) {
      DropDown();
      Key = 0;
      return;
    }
  }
  inherited::KeyDown(Key, Shift);
}

// A press held on a button (or on a client area that acts as one) and dragged into the
// open popup becomes a press in the popup.
bool TdxInplaceDropDownEdit::ForwardToPopup(int X, int Y) {
  if (!FDroppedDown || !FPopup || !FPopup->HandleAllocated()) return false;
  TPoint P = FPopup->ScreenToClient(ClientToScreen(TPoint{X, Y}));
  TRect Client = FPopup->ClientRect();
  POINT Point{P.x, P.y};
  if (!PtInRect(&Client, Point)) return false;
  ReleasePressedButton();
  SendMessageA(FPopup->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.x, P.y));
  return true;
}

void TdxInplaceDropDownEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if ((FPressedButton != -1 || (ClientAreaIsButton && Shift.Contains(ssLeft))) && ForwardToPopup(X, Y)) return;
  inherited::MouseMove(Shift, X, Y);
}

// ---------------------------------------------------------------------------------
// Messages

// The keys while the popup keeps the focus with the editor: the open and close keys
// first, then, dropped down, the popup's share.
bool TdxInplaceDropDownEdit::RouteKey(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN) {
    Word Key = static_cast<Word>(Message.WParam);
    DropDownKeyDown(Key, KeyDataToShiftState(Message.LParam));
    if (Key == 0) {
      Message.Result = 0;
      return true;
    }
  }
  if (!FDroppedDown) return false;
  HWND PopupWnd = FPopup && FPopup->HandleAllocated() ? FPopup->Handle() : nullptr;
  if (!FForwardNavigationKeysOnly) {
    if (PopupWnd) Message.Result = SendMessageA(PopupWnd, Message.Msg, Message.WParam, Message.LParam);
    return true;
  }
  Word Key = static_cast<Word>(Message.WParam);
  if (Message.Msg == WM_CHAR || (Message.Msg == WM_KEYDOWN && (Key == VK_BACK || Key == VK_DELETE))) {
    {
      TFlagScope Typing(FTypingInList);
      inherited::WndProc(Message);
    }
    FListBehind = true;
    return true;
  }
  if (Message.Msg == WM_SYSKEYDOWN) return Key == VK_F4 ? false : true;
  // An undo or a redo is the text's, list open or not; the list follows what it gives
  // back (Change).
  const UINT Command = EditKeyMessage(Key, KeyDataToShiftState(Message.LParam));
  if (Command == EM_UNDO || Command == EM_REDO) return false;
  bool EditorKey = Key == VK_END || Key == VK_HOME || Key == VK_LEFT || Key == VK_RIGHT;
  if (EditorKey && IsNativeEdit()) return false;
  bool Navigation = EditorKey || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
  if (Navigation && PopupWnd) Message.Result = SendMessageA(PopupWnd, Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TdxInplaceDropDownEdit::WndProc(TMessage& Message) {
  TUserStep Step(IsUserInput(Message.Msg) ? this : nullptr);
  if (FPopupKeepsEditorFocus &&
      (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN || Message.Msg == WM_CHAR) &&
      RouteKey(Message))
    return;
  inherited::WndProc(Message);
}

// A list the text stays in the editor for follows every change of it while it is open:
// a character typed, the one that dropped the list down among them, a deletion, a paste,
// a cut or an undo. What it then selects is what closing it takes.
void TdxInplaceDropDownEdit::Change() {
  inherited::Change();
  if (!FDroppedDown || !FForwardNavigationKeysOnly || FTypingInList || !HandleAllocated()) return;
  if (InUserStep())
    FListBehind = true;
  else
    DropDownTextChanged(GetText());
}

void TdxInplaceDropDownEdit::UserStepEnded(bool TextChanged) {
  inherited::UserStepEnded(TextChanged);
  if (!std::exchange(FListBehind, false) || !TextChanged) return;
  if (FDroppedDown && FForwardNavigationKeysOnly && HandleAllocated()) DropDownTextChanged(GetText());
}

void TdxInplaceDropDownEdit::WMNCHitTest(TMessage& Message) {
  inherited::Dispatch(Message);
  if (ComponentState().Contains(csDesigning) || !HandleAllocated()) return;
  TOwned<TdxEditViewData> ViewData(CreateViewData(false));
  auto* Data = dynamic_cast<TdxDropDownEditViewData*>(ViewData.get());
  if (!Data) return;
  TdxEditDrawInfo DrawInfo;
  EditClass()->CalcDrawInfo(Data, false, DrawInfo);
  TRect Rects[dxMaxEditButtonCount];
  GetButtonRects(DrawInfo, Data, Rects);
  TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  WindowPointFromScreen(Handle(), P);
  POINT Point{P.x, P.y};
  for (int I = Data->ButtonCount - 1; I >= 0; --I) {
    if (!PtInRect(&Rects[I], Point)) continue;
    HWND Capture = GetCapture();
    if (!Capture || Capture == Handle() || FPressedButton != -1) {
      SetHotButton(FPressedButton != -1 && FPressedButton != I ? -1 : I);
      Message.Result = HTBORDER;
    }
    return;
  }
  SetHotButton(-1);
}

void TdxInplaceDropDownEdit::WMMouseWheel(TMessage& Message) {
  int Delta = static_cast<short>(HIWORD(Message.WParam));
  bool Open = IsPopupVisible();
  if (Delta < 1) {
    if (Open)
      SendMessageA(FPopup->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    else
      ScrollValue(1, false);
  } else {
    if (Open)
      SendMessageA(FPopup->Handle(), WM_VSCROLL, SB_LINEUP, 0);
    else
      ScrollValue(-1, false);
  }
  Message.Result = 1;
}

void TdxInplaceDropDownEdit::WMLButtonUp(TMessage& Message) {
  if (FPressedButton != -1) {
    int Clicked = FHotButton != -1 ? FPressedButton : -1;
    ReleasePressedButton();
    if (Clicked != -1) ButtonClick(Clicked);
  }
  inherited::Dispatch(Message);
}

void TdxInplaceDropDownEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CANCELMODE:
      ReleasePressedButton();
      inherited::Dispatch(Message);
      break;
    case WM_CAPTURECHANGED:
      inherited::Dispatch(Message);
      ReleasePressedButton();
      break;
    case CN_KEYDOWN:
      // Tab and Shift+Tab leave an editor outside a grid as dialog keys, before its own
      // key handling sees them: an open list that leaves the focus with the editor gives
      // its choice first, as Tab in a grid's cell takes it (DropDownKeyDown).
      if (Message.WParam == VK_TAB && FDroppedDown && FPopupKeepsEditorFocus &&
          !KeyDataToShiftState(Message.LParam).Contains(ssAlt))
        CloseUp(true);
      inherited::Dispatch(Message);
      break;
    case WM_KILLFOCUS: {
      inherited::Dispatch(Message);
      TFlagScope Losing(FLosingFocus);
      CloseUp(false);
      break;
    }
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      if (InPlace() || IsPopupVisible()) Message.Result |= DLGC_WANTALLKEYS;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (ClientAreaIsButton) ButtonDown(true, 0);
      inherited::Dispatch(Message);
      break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCLBUTTONDOWN:
      inherited::Dispatch(Message);
      if (FHotButton != -1) {
        ButtonDown(false, FHotButton);
        if (HandleAllocated() && GetFocus() != Handle()) ::SetFocus(Handle());
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      inherited::Dispatch(Message);
      if (HandleAllocated()) SendMessageA(Handle(), WM_NCLBUTTONDOWN, Message.WParam, Message.LParam);
      break;
    case CM_CANCELMODE: {
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (Sender != this && Sender != FPopup) CloseUp(false);
      inherited::Dispatch(Message);
      break;
    }
    case CM_HINTSHOW:
      if (IsPopupVisible())
        Message.Result = 1;
      else
        inherited::Dispatch(Message);
      break;
    case WM_DXDROPDOWN: DropDown(); break;
    case WM_DXPOPUPCLOSED: FDroppedDown = false; break;
    default: inherited::Dispatch(Message); break;
  }
}
