#include "editors/dxCntner_Popup.h"

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxDrawing.h"

TCLASS_IMPL(TdxInplacePopupControl)

TdxInplacePopupControl::TdxInplacePopupControl(TComponent* AOwner) : TCustomControl(AOwner) {}

int TdxInplacePopupControl::BorderWidth(TdxPopupBorder Border) {
  switch (Border) {
    case pbSingle: return 1;
    case pbFrame3D: return 4;
    case pbFlat: return 2;
    default: return 0;
  }
}

void TdxInplacePopupControl::SetPopupBorder(TdxPopupBorder Value) {
  if (FPopupBorder == Value) return;
  FPopupBorder = Value;
  RecreateWnd();
}

void TdxInplacePopupControl::SetShadow(bool Value) {
  if (FShadow == Value) return;
  FShadow = Value;
  RecreateWnd();
}

HWND TdxInplacePopupControl::EditorFormHandle() {
  if (!FEditor) return nullptr;
  TCustomForm* Form = GetParentForm(FEditor);
  return Form && Form->HandleAllocated() ? Form->Handle() : nullptr;
}

void TdxInplacePopupControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (!FIsPopup) return;
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
  TCustomForm* Form = FEditor ? GetParentForm(FEditor) : nullptr;
  Params.WndParent = Form ? Form->Handle() : nullptr;
}

void TdxInplacePopupControl::ShowPopup() {
  if (!FIsPopup) return;
  ShowWindow(Handle(), SW_SHOW);
  if (HWND Form = EditorFormHandle()) SendMessageA(Form, WM_NCACTIVATE, TRUE, 0);
}

void TdxInplacePopupControl::ClosePopup() {
  // Giving the focus back takes it from the popup, whose loss of the focus would close
  // it again: one close, one notification.
  if (!FIsPopup || FClosing) return;
  FClosing = true;
  auto Done = ScopeExit([&] { FClosing = false; });
  if (HandleAllocated() && IsWindowVisible(FHandle)) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (Application->Active() && FEditor && FEditor->HandleAllocated()) ::SetFocus(FEditor->Handle());
  }
  if (FEditor && FEditor->HandleAllocated()) PostMessageA(FEditor->Handle(), WM_DXPOPUPCLOSED, 0, 0);
}

// ---------------------------------------------------------------------------------
// Messages

void TdxInplacePopupControl::WndProc(TMessage& Message) {
  TdxInplaceEdit::TUserStep Step(TdxInplaceEdit::IsUserInput(Message.Msg) ? FEditor : nullptr);
  inherited::WndProc(Message);
}

void TdxInplacePopupControl::Dispatch(TMessage& Message) {
  if (!FIsPopup) {
    inherited::Dispatch(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

// The popup gives way to another window than the editor's form: the form's caption,
// kept active while the popup was open, turns inactive.
void TdxInplacePopupControl::WMActivate(TMessage& Message) {
  inherited::Dispatch(Message);
  if (LOWORD(Message.WParam) != WA_INACTIVE) return;
  HWND Form = EditorFormHandle();
  if (Form && reinterpret_cast<HWND>(Message.LParam) != Form) SendMessageA(Form, WM_NCACTIVATE, FALSE, 0);
}

void TdxInplacePopupControl::WMKillFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  ClosePopup();
  if (FEditor) FEditor->FocusLost(Message);
}

void TdxInplacePopupControl::WMNCCalcSize(TMessage& Message) {
  inherited::Dispatch(Message);
  // Both forms of the message start with the proposed window rectangle.
  if (Message.LParam) ShrinkByPopupFrame(*reinterpret_cast<RECT*>(Message.LParam), FPopupBorder, FShadow, FShadowSize);
}

void TdxInplacePopupControl::WMNCPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!FDrawFrame) return;
  TWindowDC DC(FHandle);
  if (DC.DC()) DrawPopupFrame(FHandle, DC.DC(), FPopupBorder, FShadow, FShadowSize);
}

void TdxInplacePopupControl::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  SetPopupShadowRegion(FHandle, FShadow, FShadowSize);
}

// ---------------------------------------------------------------------------------
// The frame of every popup

void ShrinkByPopupFrame(RECT& R, TdxPopupBorder Border, bool Shadow, int ShadowSize) {
  const int Width = TdxInplacePopupControl::BorderWidth(Border);
  InflateRect(&R, -Width, -Width);
  if (Shadow) {
    R.right -= ShadowSize;
    R.bottom -= ShadowSize;
  }
  if (R.right < R.left) R.right = R.left;
  if (R.bottom < R.top) R.bottom = R.top;
}

// The shadow band belongs to the window: the region is the window less the band's
// width on the right and bottom, joined with the same rectangle moved by it.
void SetPopupShadowRegion(HWND Wnd, bool Shadow, int ShadowSize) {
  if (!Shadow) {
    SetWindowRgn(Wnd, nullptr, TRUE);
    return;
  }
  RECT W;
  GetWindowRect(Wnd, &W);
  const int Width = W.right - W.left;
  const int Height = W.bottom - W.top;
  TOwnedRegion Region(CountHandle(CreateRectRgn(0, 0, Width - ShadowSize, Height - ShadowSize)));
  {
    TOwnedRegion Moved(CountHandle(CreateRectRgn(ShadowSize, ShadowSize, Width, Height)));
    CombineRgn(Region.Handle(), Region.Handle(), Moved.Handle(), RGN_OR);
  }
  SetWindowRegion(Wnd, std::move(Region), true);
}

void DrawPopupFrame(HWND Wnd, HDC DC, TdxPopupBorder Border, bool Shadow, int ShadowSize) {
  RECT W;
  GetWindowRect(Wnd, &W);
  RECT R{0, 0, W.right - W.left, W.bottom - W.top};
  RECT ShadowRect{};
  if (Shadow) {
    R.right -= ShadowSize;
    R.bottom -= ShadowSize;
    ShadowRect = R;
    OffsetRect(&ShadowRect, ShadowSize, ShadowSize);
  }
  switch (Border) {
    case pbSingle: DrawEdge(DC, &R, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST | BF_MONO); break;
    case pbFrame3D:
      DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | BF_ADJUST);
      DrawEdge(DC, &R, BDR_SUNKENINNER, BF_RECT | BF_ADJUST | BF_FLAT);
      DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
      break;
    case pbFlat: DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | BF_ADJUST); break;
    default: break;
  }
  if (Shadow && dxEditShadowBrush()) DrawShadow(DC, ShadowRect, ShadowSize, dxEditShadowBrush());
  const LONG Style = GetWindowLongA(Wnd, GWL_STYLE);
  if ((Style & WS_HSCROLL) && (Style & WS_VSCROLL)) {
    RECT Corner{R.right - GetSystemMetrics(SM_CXVSCROLL), R.bottom - GetSystemMetrics(SM_CYHSCROLL), R.right,
                R.bottom};
    FillRect(DC, &Corner, GetSysColorBrush(COLOR_BTNFACE));
  }
}
