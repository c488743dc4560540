// The blob popup's non-client parts: the button bar, its separator, the size grip,
// the sizing hit test and the smallest tracking size.
#include <algorithm>

#include "classlib/GdiScopes.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_BlobPopup.h"

namespace {

int TextHeight(HDC DC, const char* Text) {
  SIZE Size{};
  GetTextExtentPoint32A(DC, Text, static_cast<int>(strlen(Text)), &Size);
  return Size.cy;
}

int TextWidth(HDC DC, const AnsiString& Text) {
  SIZE Size{};
  GetTextExtentPoint32A(DC, Text.c_str(), static_cast<int>(Text.size()), &Size);
  return Size.cx;
}

LRESULT CornerHitCode(TdxCorner Corner) {
  switch (Corner) {
    case coTopLeft: return HTTOPLEFT;
    case coTopRight: return HTTOPRIGHT;
    case coBottomLeft: return HTBOTTOMLEFT;
    default: return HTBOTTOMRIGHT;
  }
}

}  // namespace

int TCustomdxBlobPopup::ShownButtons(TdxBlobPopupButton* Buttons) {
  if (FReadOnly) {
    Buttons[0] = bpbClose;
    return 1;
  }
  Buttons[0] = bpbOK;
  Buttons[1] = bpbCancel;
  return 2;
}

TdxBlobBarMetrics TCustomdxBlobPopup::BarMetrics() {
  if (FMetricsValid) return FMetrics;
  TdxBlobBarMetrics& M = FMetrics;
  M = TdxBlobBarMetrics{};
  TScreenDC DC;
  TSelection Selected(DC.DC(), Font()->Handle());
  const int Height = TextHeight(DC.DC(), "Wg");
  M.Spacing = Height / 3;
  M.ButtonHeight = MulDiv(Height, 20, 13);
  TdxBlobPopupButton Shown[3];
  const int Count = ShownButtons(Shown);
  for (int I = 0; I < Count; ++I)
    M.ButtonWidth = std::max(M.ButtonWidth, TextWidth(DC.DC(), dxBlobButtonCaption(Shown[I]) + "00"));
  M.Gap = TextWidth(DC.DC(), "0");
  M.Separator = PopupBorder() == pbSingle || PopupBorder() == pbFlat ? 2 : 4;
  M.GripAllowance = FSizeablePopup ? GetSystemMetrics(SM_CXVSCROLL) : M.Gap;
  FMetricsValid = true;
  return M;
}

// The window less the border and the shadow band, at the origin.
TRect TCustomdxBlobPopup::InnerRect() {
  RECT W;
  GetWindowRect(FHandle, &W);
  RECT R{0, 0, W.right - W.left, W.bottom - W.top};
  ShrinkByPopupFrame(R, PopupBorder(), Shadow(), ShadowSize());
  return R;
}

TRect TCustomdxBlobPopup::BarRect() {
  if (!HandleAllocated()) return TRect{};
  const TdxBlobBarMetrics M = BarMetrics();
  TRect R = InnerRect();
  if (BarAtBottom()) {
    R.top = R.bottom - M.Height() + M.Separator;
  } else {
    R.bottom = R.top + M.Height() - M.Separator;
  }
  return R;
}

TRect TCustomdxBlobPopup::ButtonRect(TdxBlobPopupButton Button) {
  if (!HandleAllocated()) return TRect{};
  const TdxBlobBarMetrics M = BarMetrics();
  const TRect Bar = BarRect();
  TdxBlobPopupButton Shown[3];
  const int Count = ShownButtons(Shown);
  int Right = Bar.right - M.GripAllowance;
  for (int I = Count - 1; I >= 0; --I) {
    const TRect R{Right - M.ButtonWidth, Bar.top + M.Spacing, Right, Bar.top + M.Spacing + M.ButtonHeight};
    if (Shown[I] == Button) return R;
    Right = R.left - M.Gap;
  }
  return TRect{};
}

TdxBlobPopupButton TCustomdxBlobPopup::ButtonAt(const TPoint& WindowPoint) {
  TdxBlobPopupButton Shown[3];
  const int Count = ShownButtons(Shown);
  for (int I = 0; I < Count; ++I) {
    const TRect R = ButtonRect(Shown[I]);
    if (PtInRect(&R, WindowPoint)) return Shown[I];
  }
  return bpbNone;
}

TPoint TCustomdxBlobPopup::MinTrackSize() {
  const TdxBlobBarMetrics M = BarMetrics();
  TdxBlobPopupButton Shown[3];
  const int Count = ShownButtons(Shown);
  const int Frame = 2 * BorderWidth(PopupBorder()) + (Shadow() ? ShadowSize() : 0);
  const int Grip = GetSystemMetrics(SM_CXVSCROLL);
  const int Width = 2 * Grip + Count * M.ButtonWidth + (Count - 1) * M.Gap + Frame;
  const int Height = M.Height() + 3 * GetSystemMetrics(SM_CYHSCROLL) + Frame;
  return TPoint{Width, Height};
}

// ---------------------------------------------------------------------------------
// Messages

void TCustomdxBlobPopup::WMGetMinMaxInfo(TMessage& Message) {
  inherited::Dispatch(Message);
  auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  Info->ptMinTrackSize = MinTrackSize();
}

void TCustomdxBlobPopup::WMNCCalcSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!Message.LParam) return;
  auto& R = *reinterpret_cast<RECT*>(Message.LParam);
  const int Height = BarMetrics().Height();
  if (BarAtBottom())
    R.bottom = std::max(R.top, R.bottom - Height);
  else
    R.top = std::min(R.bottom, R.top + Height);
}

void TCustomdxBlobPopup::WMNCHitTest(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FSizeablePopup && FPressedButton == bpbNone) {
    RECT W;
    GetWindowRect(FHandle, &W);
    const TPoint P{Message.XPos() - W.left, Message.YPos() - W.top};
    TRect Grip = BarRect();
    const int GW = GetSystemMetrics(SM_CXVSCROLL);
    const int GH = GetSystemMetrics(SM_CYHSCROLL);
    const bool Right = FGripCorner == coTopRight || FGripCorner == coBottomRight;
    if (Right)
      Grip.left = Grip.right - GW;
    else
      Grip.right = Grip.left + GW;
    if (BarAtBottom())
      Grip.top = Grip.bottom - GH;
    else
      Grip.bottom = Grip.top + GH;
    if (PtInRect(&Grip, P)) {
      Message.Result = CornerHitCode(FGripCorner);
      return;
    }
    const int FX = GetSystemMetrics(SM_CXDLGFRAME);
    const int FY = GetSystemMetrics(SM_CYDLGFRAME);
    const int Width = W.right - W.left;
    const int Height = W.bottom - W.top;
    if (BarAtBottom() ? P.y >= Height - FY : P.y < FY) {
      Message.Result = BarAtBottom() ? HTBOTTOM : HTTOP;
      return;
    }
    if (Right ? P.x >= Width - FX : P.x < FX) {
      Message.Result = Right ? HTRIGHT : HTLEFT;
      return;
    }
  }
  if (Message.Result == HTNOWHERE) Message.Result = HTBORDER;
}

void TCustomdxBlobPopup::WMNCLButtonDown(TMessage& Message) {
  RECT W;
  GetWindowRect(FHandle, &W);
  const TPoint P{Message.XPos() - W.left, Message.YPos() - W.top};
  const TdxBlobPopupButton Button = ButtonAt(P);
  if (Button == bpbNone || (Button == bpbOK && !GetModified())) {
    inherited::Dispatch(Message);
    return;
  }
  FPressedButton = Button;
  FButtonPushed = true;
  SetCapture(FHandle);
  RepaintBar();
}

void TCustomdxBlobPopup::WMMouseMoveCaptured(TMessage& Message) {
  POINT P{Message.XPos(), Message.YPos()};
  ::ClientToScreen(FHandle, &P);
  RECT W;
  GetWindowRect(FHandle, &W);
  const bool Over = ButtonAt(TPoint{P.x - W.left, P.y - W.top}) == FPressedButton;
  if (Over == FButtonPushed) return;
  FButtonPushed = Over;
  RepaintBar();
}

void TCustomdxBlobPopup::WMLButtonUpCaptured(TMessage& Message) {
  POINT P{Message.XPos(), Message.YPos()};
  ::ClientToScreen(FHandle, &P);
  RECT W;
  GetWindowRect(FHandle, &W);
  const TdxBlobPopupButton Button = FPressedButton;
  const bool Over = ButtonAt(TPoint{P.x - W.left, P.y - W.top}) == Button;
  FPressedButton = bpbNone;
  FButtonPushed = false;
  ReleaseCapture();
  RepaintBar();
  if (Over) ButtonClick(Button);
}

// ---------------------------------------------------------------------------------
// Painting

void TCustomdxBlobPopup::WMNCPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  TWindowDC DC(FHandle);
  if (!DC.DC()) return;
  DrawPopupFrame(FHandle, DC.DC(), PopupBorder(), Shadow(), ShadowSize());
  DrawBar(DC.DC());
}

void TCustomdxBlobPopup::DrawBar(HDC DC) {
  const TdxBlobBarMetrics M = BarMetrics();
  if (M.Height() == 0) return;
  TSavedDC Saved(DC);
  TRect R = InnerRect();
  const LONG Style = GetWindowLongA(FHandle, GWL_STYLE);
  if ((Style & WS_HSCROLL) && (Style & WS_VSCROLL)) {
    TRect Corner{R.right - GetSystemMetrics(SM_CXVSCROLL), R.bottom - GetSystemMetrics(SM_CYHSCROLL), R.right,
                 R.bottom};
    if (BarAtBottom()) OffsetRect(&Corner, 0, -M.Height());
    FillRect(DC, &Corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  TRect Bar = R;
  if (BarAtBottom())
    Bar.top = Bar.bottom - M.Height();
  else
    Bar.bottom = Bar.top + M.Height();
  // The separator along the edge that faces the client area.
  const int D = BarAtBottom() ? 0 : M.Height() - M.Separator;
  const int T = Bar.top + D;
  if (PopupBorder() == pbSingle || PopupBorder() == pbFlat) {
    RECT A{Bar.left, T, Bar.right, T + 1};
    DrawEdge(DC, &A, BDR_RAISEDINNER, BF_TOP);
    RECT B{Bar.left, T + 1, Bar.right, T + 2};
    DrawEdge(DC, &B, BDR_SUNKENOUTER, BF_TOP);
  } else {
    RECT A{Bar.left - 2, T, Bar.right + 1, T + 2};
    DrawEdge(DC, &A, EDGE_RAISED, BF_TOP);
    RECT B{Bar.left - 2, T + 2, Bar.right + 2, T + 5};
    DrawEdge(DC, &B, BDR_SUNKENINNER, BF_LEFT | BF_TOP | BF_RIGHT | BF_FLAT);
    RECT C{Bar.left - 1, T + 3, Bar.right + 1, T + 6};
    DrawEdge(DC, &C, BDR_SUNKENOUTER, BF_LEFT | BF_TOP | BF_RIGHT);
  }
  if (BarAtBottom())
    Bar.top += M.Separator;
  else
    Bar.bottom -= M.Separator;
  TdxBlobPopupButton Shown[3];
  const int Count = ShownButtons(Shown);
  const bool Unmodified = !GetModified();
  for (int I = 0; I < Count; ++I) {
    const TRect B = ButtonRect(Shown[I]);
    DrawButton(DC, B, Shown[I], FPressedButton == Shown[I] && FButtonPushed, Shown[I] == bpbOK && Unmodified);
    ExcludeClipRect(DC, B.left, B.top, B.right, B.bottom);
  }
  if (FSizeablePopup) {
    TRect Grip = Bar;
    DrawSizeGrip(DC, Grip, FGripCorner);
    ExcludeClipRect(DC, Grip.left, Grip.top, Grip.right, Grip.bottom);
  }
  FillRect(DC, &Bar, GetSysColorBrush(COLOR_BTNFACE));
}

void TCustomdxBlobPopup::DrawButton(HDC DC, TRect R, TdxBlobPopupButton Button, bool Pushed, bool Greyed) {
  if (PopupBorder() == pbSingle || PopupBorder() == pbFlat) {
    DrawEdge(DC, &R, Pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    InflateRect(&R, -1, -1);
  } else if (!Pushed) {
    DrawEdge(DC, &R, EDGE_RAISED, BF_RIGHT | BF_BOTTOM);
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_LEFT | BF_TOP);
    InflateRect(&R, -1, -1);
    DrawEdge(DC, &R, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
    InflateRect(&R, 1, 1);
    const COLORREF Face = GetSysColor(COLOR_BTNFACE);
    SetPixel(DC, R.left + 1, R.bottom - 2, Face);
    SetPixel(DC, R.right - 2, R.top + 1, Face);
    InflateRect(&R, -2, -2);
  } else {
    DrawFrameControl(DC, &R, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    InflateRect(&R, -2, -2);
  }
  TSelection Selected(DC, Font()->Handle());
  TSavedTextState Text(DC);
  SetTextColor(DC, GetSysColor(Greyed ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
  SetBkColor(DC, GetSysColor(COLOR_BTNFACE));
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  const AnsiString& Caption = dxBlobButtonCaption(Button);
  DrawTextA(DC, Caption.c_str(), static_cast<int>(Caption.size()), &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}
