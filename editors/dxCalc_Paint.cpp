// Painting of the calculator keypad: each button is drawn in the unit's bitmap and
// copied in one piece; what lies between the buttons is filled with the control's
// colour.
#include <windows.h>

#include <algorithm>

#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCalc.h"
#include "editors/dxDrawing.h"

void TCustomdxCalculator::InvalidateButton(TdxCalcButtonKind Kind) {
  if (Kind >= cbNone || !HandleAllocated()) return;
  InvalidateRect(FHandle, &FButtons[Kind].Bounds, FALSE);
}

void TCustomdxCalculator::Paint() {
  HDC DC = Canvas()->Handle();
  auto Unclip = ScopeExit([&] { SelectClipRgn(DC, nullptr); });
  for (int I = 0; I < dxCalcButtonCount; ++I) {
    const TRect& R = FButtons[I].Bounds;
    if (RectVisible(DC, &R)) PaintButton(DC, static_cast<TdxCalcButtonKind>(I));
    ExcludeClipRect(DC, R.left, R.top, R.right, R.bottom);
  }
  const TRect Client = GetClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(Client);
}

void TCustomdxCalculator::PaintButton(HDC DC, TdxCalcButtonKind Kind) {
  const TdxCalcButton& B = FButtons[Kind];
  const int W = B.Bounds.right - B.Bounds.left, H = B.Bounds.bottom - B.Bounds.top;
  if (W <= 0 || H <= 0) return;
  TBitmap* Bitmap = ButtonBitmap();
  if (!Bitmap) return;
  // The bitmap holds the part of the button the DC shows (a button of a keypad larger
  // than the screen is larger than it too); the button is drawn in its own coordinates,
  // the bitmap's window origin at that part's corner, patterns in their phase.
  const TRect Shown = ShownPart(DC, B.Bounds);
  const int ShownWidth = Shown.right - Shown.left, ShownHeight = Shown.bottom - Shown.top;
  if (ShownWidth <= 0 || ShownHeight <= 0) return;
  if (Bitmap->Width() < ShownWidth || Bitmap->Height() < ShownHeight)
    Bitmap->SetSize(std::max(ShownWidth, Bitmap->Width()), std::max(ShownHeight, Bitmap->Height()));
  TCanvas* C = Bitmap->Canvas();
  HDC BitmapDC = C->Handle();
  const int DX = Shown.left - B.Bounds.left, DY = Shown.top - B.Bounds.top;
  SetWindowOrgEx(BitmapDC, DX, DY, nullptr);
  SetBrushOrgEx(BitmapDC, ((-DX) % 8 + 8) % 8, ((-DY) % 8 + 8) % 8, nullptr);
  auto Origins = ScopeExit([BitmapDC] {
    SetWindowOrgEx(BitmapDC, 0, 0, nullptr);
    SetBrushOrgEx(BitmapDC, 0, 0, nullptr);
  });
  TRect R{0, 0, W, H};

  // The face and its edge.
  if (FButtonStyle == bsStandard) {
    TRect Face = R;
    DrawFrameControl(BitmapDC, &Face, DFC_BUTTON, DFCS_BUTTONPUSH | (B.Down ? DFCS_PUSHED : 0));
  } else {
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    if (FButtonStyle == bsFlat || Kind == FHotButton || B.Down) {
      TRect Edge = R;
      DrawEdge(BitmapDC, &Edge, B.Down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  }
  if (FShowButtonFrame) {
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(clBtnShadow);
    C->RoundRect(3, 3, W - 3, H - 3, 6, 6);
  }

  // The caption, centred on one line.
  C->Font()->Assign(Font());
  if (FAutoFontSize) {
    C->Font()->SetSize(FFontSize);
    C->Font()->SetStyle(FFontSize >= 10 ? TFontStyles{fsBold} : TFontStyles{});
  }
  C->Brush()->SetStyle(bsClear);
  const TSize Size = C->TextExtent(B.Caption);
  int X = (W - Size.cx) / 2, Y = (H - Size.cy) / 2;
  if (B.Down) X += 2, Y += 2;
  if (!Enabled()) {
    C->Font()->SetColor(clBtnHighlight);
    C->TextOut(X + 1, Y + 1, B.Caption);
    C->Font()->SetColor(clBtnShadow);
  } else {
    C->Font()->SetColor(B.Grayed ? clBtnShadow : B.Color);
  }
  C->TextOut(X, Y, B.Caption);

  if (Kind == cbEqual && FShowFocusRect && Focused()) {
    TRect Focus = R;
    InflateRect(&Focus, -3, -3);
    TSavedTextState Text(BitmapDC);
    SetTextColor(BitmapDC, RGB(0, 0, 0));
    SetBkColor(BitmapDC, RGB(255, 255, 255));
    DrawFocusRect(BitmapDC, &Focus);
  }
  BitBlt(DC, Shown.left, Shown.top, ShownWidth, ShownHeight, BitmapDC, DX, DY, SRCCOPY);
}
