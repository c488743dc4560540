// The Highlight painter: track bars, progress bars, side bars, group boxes, scroll
// bars, tabs, spin, edit and combo parts, tool bars, grippers, cells and the window
// region.
#include <algorithm>

#include "skin/KsThemeMenuPaint.h"
#include "skin/KsUtils.h"
#include "skin/TeThemeHighlight.h"
#include "skin/TeThemeHighlightDraw.h"

using namespace highlight;

namespace {

// A filled downward triangle 7 x 4 centred in R, moved by (DX, DY).
void DownArrow(TKsBitmap* B, const TRect& R, int DX, int DY, TKsColor Color) {
  const int L = R.left + (RectWidth(R) - 7) / 2 + DX, T = R.top + (RectHeight(R) - 4) / 2 + DY;
  const TPoint Points[] = {{L, T}, {L + 6, T}, {L + 3, T + 3}};
  B->FillPolygon(Points, Color);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Track and progress bars

void TTeThemeHighlight::DrawTrackThumb(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical,
                                       Byte Pointer, Byte State) {
  const TKsColor Face = StateFace(State);
  const bool Pressed = State == tdsPressed;
  if (Pointer == 0) {
    Bitmap->RoundRect(Rect, 3, KsColorNavy);
    const TRect R = Inset(Rect);
    Bitmap->FillRect(R, Face);
    Bevel(Bitmap, R, Face, Pressed, 30);
    return;
  }
  // A pentagon whose point lies on the pointer side, as deep as half the thumb's
  // other dimension; the four directions mirror each other.
  const int L = Rect.left, T = Rect.top, R = Rect.right - 1, B = Rect.bottom - 1;
  TPoint P[5];
  if (!Vertical) {
    const int D = RectWidth(Rect) / 2, Mid = (L + R) / 2;
    if (Pointer == 1)
      P[0] = {L, T}, P[1] = {R, T}, P[2] = {R, B - D}, P[3] = {Mid, B}, P[4] = {L, B - D};
    else
      P[0] = {L, B}, P[1] = {R, B}, P[2] = {R, T + D}, P[3] = {Mid, T}, P[4] = {L, T + D};
  } else {
    const int D = RectHeight(Rect) / 2, Mid = (T + B) / 2;
    if (Pointer == 1)
      P[0] = {L, T}, P[1] = {R - D, T}, P[2] = {R, Mid}, P[3] = {R - D, B}, P[4] = {L, B};
    else
      P[0] = {R, T}, P[1] = {L + D, T}, P[2] = {L, Mid}, P[3] = {L + D, B}, P[4] = {R, B};
  }
  Bitmap->FillPolygon(P, Face);
  const TKsColor Light = LightenKsColor(Face, 30), Dark = DarkenKsColor(Face, 30);
  Bitmap->MoveTo(P[4].x + 1, P[4].y);
  Bitmap->LineTo(P[0].x + 1, P[0].y + 1, Pressed ? Dark : Light);
  Bitmap->MoveTo(P[1].x - 1, P[1].y + 1);
  Bitmap->LineTo(P[2].x - 1, P[2].y, Pressed ? Light : Dark);
  Bitmap->Polygon(P, Color(7));
}

void TTeThemeHighlight::DrawTrackBar(TKsBitmap* Bitmap, const TRect& ChannelRect,
                                     const TRect& SelectionRect) {
  Bitmap->FillRect(ChannelRect, Color(11));
  Bitmap->RoundRect(ChannelRect, 3, Color(7));
  Bitmap->FillRect(Inset(SelectionRect), Color(8));
}

void TTeThemeHighlight::DrawProgressBar(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->RoundRect(Rect, 3, Color(7));
  Bitmap->FillRect(Inset(Rect), Color(6));
}

void TTeThemeHighlight::DrawProgressChunk(TKsBitmap* Bitmap, const TRect& Rect,
                                          const TRect& FilledRect, bool Vertical, bool Smooth) {
  const TKsColor Chunk = Color(8);
  if (Smooth) {
    Bitmap->FillRect(FilledRect, Chunk);
    return;
  }
  const int Thickness = Vertical ? RectWidth(Rect) : RectHeight(Rect);
  const int Pitch = KsRound(0.64 * Thickness) + 2;
  const int Count = (Vertical ? RectHeight(FilledRect) : RectWidth(FilledRect)) / Pitch;
  for (int I = 0; I <= Count; ++I) {
    TRect C = Rect;
    if (Vertical) {
      C.bottom = FilledRect.bottom - I * Pitch;
      C.top = C.bottom - (Pitch - 2);
    } else {
      C.left = FilledRect.left + I * Pitch;
      C.right = C.left + (Pitch - 2);
    }
    RECT Clipped;
    const RECT A = C, B = Rect;
    if (IntersectRect(&Clipped, &A, &B)) Bitmap->FillRect(Clipped, Chunk);
  }
}

// ---------------------------------------------------------------------------------
// Side bars and group boxes

void TTeThemeHighlight::DrawBarBackground(TKsBitmap* Bitmap, const TRect& Rect, Integer /*Param1*/,
                                          Integer /*Param2*/) {
  Bitmap->FillRoundRect(Rect, 3, Color(6));
  Bitmap->RoundRect(Rect, 3, Color(7));
}

void TTeThemeHighlight::DrawBarHeader(TKsBitmap* Bitmap, const TRect& Rect, const AnsiString& Caption) {
  Bitmap->FillRect(TRect{Rect.left, Rect.bottom, Rect.right, Rect.bottom + 1}, Color(7));
  Bitmap->FillRect(Rect, Color(11));
  Bevel(Bitmap, Rect, Color(11), false, 30);
  TRect Text = Rect;
  InflateRect(&Text, -5, 0);
  SetThemeFont(this, Bitmap, 4);
  Bitmap->Font()->SetColor(GetColor(23));
  Bitmap->DrawText(Caption, Text, DrawTextBiDiModeFlags(TextLeft));
}

void TTeThemeHighlight::DrawBarButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte Kind,
                                      bool Hot) {
  const TKsColor Face = StateFace(State);
  const bool Pressed = State == tdsPressed;
  Bitmap->RoundRect(Rect, 3, Color(7));
  const TRect R = Inset(Rect);
  Bitmap->FillRect(R, Face);
  Bevel(Bitmap, R, Face, Pressed, 30);
  TKsBitmap* Glyph = Scratch(RectWidth(Rect), RectHeight(Rect));
  if (Glyph->Empty()) return;
  RECT Box{0, 0, Glyph->Width(), Glyph->Height()};
  const UINT Push = Pressed ? DFCS_PUSHED : 0;
  if (Kind == 1)
    DrawFrameControl(Glyph->DC(), &Box, DFC_CAPTION, DFCS_CAPTIONCLOSE | Push);
  else
    DrawFrameControl(Glyph->DC(), &Box, DFC_SCROLL, (Hot ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | Push);
  StampBlack(Glyph, Bitmap, Rect.left, Rect.top, Color(7));
}

void TTeThemeHighlight::DrawGroupBox(TKsBitmap* Bitmap, const TRect& Rect, const TRect& CaptionRect,
                                     const AnsiString& Caption) {
  const int L = Rect.left, T = Rect.top, R = Rect.right - 1, B = Rect.bottom - 1;
  const TKsColor Line = Color(7);
  const TPoint Path[] = {{L + 2, T}, {L, T + 2}, {L, B - 2}, {L + 2, B}, {R - 2, B},
                         {R, B - 2}, {R, T + 2}, {R - 2, T}, {CaptionRect.right, T}};
  Bitmap->MoveTo(CaptionRect.left, T);
  for (const TPoint& P : Path) Bitmap->LineTo(P.x, P.y, Line);
  Bitmap->DrawText(Caption, CaptionRect, DrawTextBiDiModeFlags(TextCentre));
  GdiFlush();
}

// ---------------------------------------------------------------------------------
// Scroll bars, tabs, spin, edit and combo parts

void TTeThemeHighlight::DrawScrollTrack(TKsBitmap* Bitmap, const TRect& Rect, bool /*Vertical*/) {
  Bitmap->RoundRect(Rect, 3, Color(7));
}

void TTeThemeHighlight::DrawScrollArrow(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical,
                                        bool UpOrLeft, Byte State) {
  UINT Kind = Vertical ? (UpOrLeft ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                       : (UpOrLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  if (State == tdsPressed) Kind |= DFCS_PUSHED | DFCS_FLAT;
  RECT Box = Rect;
  DrawFrameControl(Bitmap->DC(), &Box, DFC_SCROLL, Kind);
  const TKsColor Face = StateFace(State), Ink = Color(7);
  ForEachPixel(Bitmap, Rect, [Face, Ink](TKsColor P) { return (P & 0x00FFFFFF) ? Face : Ink; });
  Bitmap->RoundRect(Rect, 3, Ink);
  Bevel(Bitmap, Inset(Rect), Face, State == tdsPressed, 30);
}

void TTeThemeHighlight::DrawScrollThumb(TKsBitmap* Bitmap, const TRect& Rect, Byte /*Vertical*/,
                                        Byte State) {
  const TKsColor Face = StateFace(State);
  Bitmap->RoundRect(Rect, 3, Color(7));
  const TRect R = Inset(Rect);
  Bitmap->FillRect(R, Face);
  Bevel(Bitmap, R, Face, State == tdsPressed, 30);
}

void TTeThemeHighlight::DrawTabPane(TKsBitmap* Bitmap, const TRect& Rect) {
  const TKsColor Face = Color(11);
  Bitmap->RoundRect(Rect, 3, Color(7));
  TRect R = Inset(Rect);
  Bevel(Bitmap, R, Face, false, 30);
  R = Inset(R);
  Bevel(Bitmap, R, Face, false, 15);
  Bitmap->FillRect(Inset(R), Face);
}

void TTeThemeHighlight::DrawTabItem(TKsBitmap* Bitmap, const TRect& Rect, Byte Position, Byte State) {
  const TKsColor Face = Color(State == tdsHot ? 12 : State == tdsFocused ? 8 : 11);
  Bitmap->RoundRect(Rect, 3, Color(7));
  TRect R = Inset(Rect);
  Bevel(Bitmap, R, Face, false, 30);
  Bitmap->FillRect(Inset(R), Face);
  // The strip on the pane's side opens the tab into the pane.
  TRect Strip = Rect;
  switch (Position) {
    case 0: Strip.top = Strip.bottom - 2; break;
    case 1: Strip.bottom = Strip.top + 2; break;
    case 2: Strip.left = Strip.right - 2; break;
    default: Strip.right = Strip.left + 2; break;
  }
  Bitmap->FillRect(Strip, Face);
}

void TTeThemeHighlight::DrawSpinButton(TKsBitmap* Bitmap, const TRect& Rect, bool Up,
                                       Byte /*Reserved*/, Byte State) {
  DrawScrollArrow(Bitmap, Rect, 0, Up, State);
}

void TTeThemeHighlight::DrawEditFrame(TKsBitmap* Bitmap, const TRect& Rect, Byte State) {
  const bool Enabled = State != tdsDisabled;
  TRect R = Rect;
  Bitmap->FrameRect(R, Color(Enabled ? 10 : 7));
  for (int I = 0; I < 2; ++I) {
    R = Inset(R);
    Bitmap->FrameRect(R, Color(Enabled ? 9 : 6));
  }
}

void TTeThemeHighlight::DrawComboButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State) {
  const TKsColor Face = StateFace(State);
  const bool Pressed = State == tdsPressed;
  Bitmap->RoundRect(Rect, 3, Color(7));
  const TRect R = Inset(Rect);
  Bitmap->FillRect(R, Face);
  Bevel(Bitmap, R, Face, Pressed, 30);
  DownArrow(Bitmap, Rect, Pressed ? 1 : 0, Pressed ? 2 : 1, Color(7));
}

// ---------------------------------------------------------------------------------
// Tool bars, grippers, panels and cells

void TTeThemeHighlight::DrawToolButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat,
                                       bool Checked) {
  int Fill = -1;
  int Outline = 7;
  int BevelKind = 0;  // 0 none, 1 raised, 2 sunken
  if (State == tdsDisabled) {
    Fill = Flat ? 6 : 11;
    Outline = 9;
  } else if (!Flat) {
    if (State == tdsNormal || State == tdsPressed) {
      Fill = Checked ? 8 : 11;
      BevelKind = Checked ? 0 : State == tdsNormal ? 1 : 2;
    }
  } else if (State == tdsHot) {
    Fill = 12;
    BevelKind = 1;
  } else if (State == tdsPressed) {
    Fill = 11;
    BevelKind = 2;
  } else if (State == tdsNormal && Checked) {
    Fill = 8;
  }
  if (Fill < 0) return;
  const TKsColor Face = Color(static_cast<Byte>(Fill));
  Bitmap->FillRoundRect(Rect, 3, Face);
  Bitmap->RoundRect(Rect, 3, Color(static_cast<Byte>(Outline)));
  if (BevelKind != 0) Bevel(Bitmap, Inset(Rect), Face, BevelKind == 2, 30);
}

void TTeThemeHighlight::DrawToolDropDown(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat,
                                         bool Checked) {
  DrawToolButton(Bitmap, Rect, State, Flat, Checked);
  const int Shift = State == tdsPressed ? 1 : 0;
  if (State != tdsDisabled) {
    DownArrow(Bitmap, Rect, Shift, Shift, Color(7));
    return;
  }
  const int L = Rect.left + (RectWidth(Rect) - 7) / 2, T = Rect.top + (RectHeight(Rect) - 4) / 2;
  const TPoint Bottom{L + 3, T + 3}, TopLeft{L, T}, TopRight{L + 6, T};
  Bitmap->MoveTo(Bottom.x, Bottom.y);
  Bitmap->LineTo(TopLeft.x, TopLeft.y, Color(9));
  Bitmap->LineTo(TopRight.x, TopRight.y, Color(9));
  Bitmap->LineTo(Bottom.x, Bottom.y, Color(7));
}

void TTeThemeHighlight::DrawToolBarBackground(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->FillRect(Rect, Color(11));
}

void TTeThemeHighlight::DrawGripper(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect) {
  const TKsColor Face = Color(11);
  Bitmap->RoundRect(Rect, 3, Color(7));
  TRect R = Inset(Rect);
  Bitmap->FillRect(R, Face);
  Bevel(Bitmap, R, Face, false, 50);
  TRect Grip = BarRect;
  InflateRect(&Grip, -3, -1);
  const TKsColor GripFace = Color(GripColorIndex());
  Bitmap->RoundRect(Grip, 3, Color(7));
  R = Inset(Grip);
  Bitmap->FillRect(R, GripFace);
  Bevel(Bitmap, R, GripFace, false, 50);
}

void TTeThemeHighlight::DrawPanelBackground(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->FillRect(Rect, Color(11));
}

void TTeThemeHighlight::DrawArrowButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                                        Integer /*Reserved*/) {
  DrawToolButton(Bitmap, Rect, State, State != tdsNormal, false);
}

void TTeThemeHighlight::DrawCell(TKsBitmap* Bitmap, const TRect& Rect, Integer Flags) {
  if (Flags & 4) {
    Bitmap->FillRect(Rect, Color(11));
    Bevel(Bitmap, Rect, Color(11), false, 30);
    return;
  }
  Bitmap->FillRect(Rect, Color((Flags & 2) ? 12 : (Flags & 1) ? 8 : 6));
}

HRGN TTeThemeHighlight::GetWindowRegion(int Width, int Height, TKsBorderStyle /*BorderStyle*/) {
  return CountHandle(CreateRoundRectRgn(0, 0, Width + 1, Height + 1, 3, 3));
}
