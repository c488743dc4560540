// The tree list's drawing routines (see the header).
#include "treelist/dxTL_Draw.h"

#include <algorithm>

#include "classlib/GdiScopes.h"
#include "editors/dxDrawing.h"

namespace {

void Edge(HDC DC, TRect& R, UINT Kind, UINT Flags) { DrawEdge(DC, &R, Kind, Flags); }

// The raised edge of a header cell's left or right side over the rows the edge kind
// gives it.
void SideEdge(HDC DC, const TRect& R, bool Right, int EdgeKind) {
  TRect Side = R;
  if (Right) {
    const bool Short = EdgeKind == hekFirst || EdgeKind == hekInner;
    Side.top = R.top + (Short ? 2 : 0);
    Side.bottom = R.bottom - (Short ? 2 : 1);
  } else {
    const bool Short = EdgeKind == hekLast || EdgeKind == hekInner;
    Side.top = R.top + (Short ? 2 : 1);
    Side.bottom = R.bottom - (Short ? 2 : 1);
  }
  DrawEdge(DC, &Side, BDR_RAISEDINNER, Right ? BF_RIGHT : BF_LEFT);
}

// A line from one point to another, the end point left out, in the pen selected.
void Line(HDC DC, int X1, int Y1, int X2, int Y2) {
  MoveToEx(DC, X1, Y1, nullptr);
  LineTo(DC, X2, Y2);
}

UINT AlignmentFlag(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

void DrawButtonFace(HDC DC, TRect& R, HBRUSH Brush, TdxLookAndFeel Look, int EdgeKind, bool Pressed) {
  if (Look == lfStandard) {
    Edge(DC, R, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
    if (Pressed) {
      Edge(DC, R, BDR_SUNKENOUTER, BF_LEFT | BF_TOP | BF_ADJUST);
    } else {
      Edge(DC, R, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
      Edge(DC, R, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_ADJUST);
    }
    FillRect(DC, &R, Brush);
    return;
  }
  if (EdgeKind == hekButton) {
    if (Look == lfUltraFlat)
      InflateRect(&R, -1, -1);
    else
      Edge(DC, R, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    FillRect(DC, &R, Brush);
    InflateRect(&R, -1, 0);
    return;
  }
  FillRect(DC, &R, Brush);
  TRect Frame = R;
  if (Look == lfUltraFlat) {
    DrawEdge(DC, &Frame, BDR_SUNKENOUTER, BF_TOP | BF_FLAT);
    DrawEdge(DC, &Frame, BDR_SUNKENOUTER, BF_BOTTOM | BF_FLAT);
  } else {
    DrawEdge(DC, &Frame, BDR_RAISEDINNER, BF_TOP);
    DrawEdge(DC, &Frame, BDR_RAISEDINNER, BF_BOTTOM);
    SideEdge(DC, R, false, EdgeKind);
  }
  SideEdge(DC, R, true, EdgeKind);
  InflateRect(&R, -2, -1);
}

void DrawButtonFaceInverted(HDC DC, const TRect& R, HBRUSH Brush, TdxLookAndFeel Look, int EdgeKind,
                            bool Pressed, bool InvertPressed) {
  TRect Inner = R;
  DrawButtonFace(DC, Inner, Brush, Look, EdgeKind, Pressed);
  if (Pressed && InvertPressed)
    BitBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, nullptr, 0, 0, DSTINVERT);
}

void DrawSortMark(HDC DC, const TRect& Cell, TdxTreeListColumnSort Sort) {
  if (Sort == csNone) return;
  const int X0 = (Cell.left + Cell.right) / 2 - 4;
  const int Centre = (Cell.top + Cell.bottom) / 2;
  const int Top = Centre - 3;
  const int Bottom = Centre + 4;
  TSharedObject<HPEN> Shadow(AcquireSharedPen(LOGPEN{PS_SOLID, {1, 0}, GetSysColor(COLOR_BTNSHADOW)}));
  TSharedObject<HPEN> Light(AcquireSharedPen(LOGPEN{PS_SOLID, {1, 0}, GetSysColor(COLOR_BTNHIGHLIGHT)}));
  TSelection Pen(DC, Shadow.Handle());
  if (Sort == csUp) {
    Line(DC, X0 + 3, Top, X0, Bottom);
    Line(DC, X0 + 2, Top + 1, X0, Bottom - 1);
    Pen.Select(Light.Handle());
    const POINT Points[] = {{X0 + 1, Bottom - 1}, {X0 + 7, Bottom - 1}, {X0 + 4, Top - 1}};
    Polyline(DC, Points, 3);
    Line(DC, X0 + 4, Top + 1, X0 + 7, Bottom - 1);
  } else {
    const POINT Points[] = {{X0 + 7, Top}, {X0, Top}, {X0 + 3, Bottom}};
    Polyline(DC, Points, 3);
    Line(DC, X0 + 1, Top + 1, X0 + 3, Bottom - 1);
    Pen.Select(Light.Handle());
    Line(DC, X0 + 7, Top + 1, X0 + 4, Bottom);
    Line(DC, X0 + 6, Top + 1, X0 + 4, Bottom - 1);
  }
}

POINT CenteredOrigin(const TRect& R, int Width, int Height) {
  return POINT{(R.left + R.right - Width + 1) / 2, (R.top + R.bottom - Height + 1) / 2};
}

void DrawHeaderButton(HDC DC, const THeaderButton& Button) {
  TRect R = Button.Bounds;
  DrawButtonFace(DC, R, Button.Brush, Button.Look, Button.EdgeKind, Button.Pressed);
  if (Button.Pressed && Button.Look == lfStandard)
    OffsetRect(&R, 3, 3);
  else
    InflateRect(&R, -1, -1);
  R.bottom -= 1;
  if (Button.DropDown && R.right - R.left >= 15) {
    TRect Drop{R.right - 15, R.top, R.right, R.bottom};
    DrawFrameControl(DC, &Drop, DFC_SCROLL, DFCS_SCROLLDOWN | (Button.Pressed ? DFCS_PUSHED : 0));
    R.right -= 15;
  }
  if (Button.Sort != csNone && R.right - R.left >= 16) {
    DrawSortMark(DC, TRect{R.right - 16, R.top, R.right, R.bottom}, Button.Sort);
    R.right -= 16;
  }
  if (Button.Glyph) {
    BITMAP Info{};
    GetObject(Button.Glyph, sizeof(Info), &Info);
    TMemoryDC Source(DC);
    TSelection Selected(Source.DC(), Button.Glyph);
    const COLORREF Transparent = GetPixel(Source.DC(), 0, Info.bmHeight - 1);
    const int Y = (R.top + R.bottom - Info.bmHeight + 1) / 2;
    TransparentBlt(DC, R.left, Y, Info.bmWidth, Info.bmHeight, Source.DC(), 0, 0, Info.bmWidth, Info.bmHeight,
                   Transparent);
    R.left += Info.bmWidth;
  }
  if (Button.Text.empty() || R.right <= R.left) return;
  TSavedTextState Text(DC);
  SetBkMode(DC, TRANSPARENT);
  UINT Flags = DT_NOPREFIX | DT_EXPANDTABS | AlignmentFlag(Button.Alignment);
  if (Button.MultiLine) {
    Flags |= DT_WORDBREAK;
  } else {
    Flags |= DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;
    SIZE Extent{};
    GetTextExtentPoint32A(DC, Button.Text.data(), static_cast<int>(Button.Text.size()), &Extent);
    if (Extent.cx <= R.right - R.left) Flags |= DT_NOCLIP;
  }
  DrawTextA(DC, Button.Text.data(), static_cast<int>(Button.Text.size()), &R, Flags);
}

void DrawCellText(HDC DC, const TCellText& Cell) {
  TRect R = Cell.Bounds;
  const int Inset = Cell.WideVerticalInset ? 2 : 1;
  const COLORREF Background = ColorToRGB(Cell.Background);
  const bool Pure = GetNearestColor(DC, Background) == Background;
  const int Count = Cell.Count < 0 ? static_cast<int>(Cell.Text.size())
                                   : std::min(Cell.Count, static_cast<int>(Cell.Text.size()));
  TSavedTextState Text(DC);
  if (Cell.Pass == 0 && (Cell.MultiLine || Cell.EndEllipsis || !Pure)) {
    FillRect(DC, &R, Cell.Brush);
    SetBkMode(DC, TRANSPARENT);
    R.left += 2;
    R.right -= 2;
    R.top += Inset;
    R.bottom -= Inset;
    UINT Flags = DT_NOPREFIX | DT_EXPANDTABS | AlignmentFlag(Cell.Alignment);
    Flags |= Cell.MultiLine ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    if (Cell.EndEllipsis) Flags |= DT_END_ELLIPSIS;
    DrawTextA(DC, Cell.Text.data(), static_cast<int>(Cell.Text.size()), &R, Flags);
    return;
  }
  TRect TextRect = R;
  TextRect.right -= 2;
  if (Cell.Alignment != taLeftJustify) TextRect.left += 2;
  SIZE Extent{};
  GetTextExtentPoint32A(DC, Cell.Text.data(), Count, &Extent);
  int X = TextRect.left;
  switch (Cell.Alignment) {
    case taLeftJustify: X = R.left + 2; break;
    case taRightJustify: X = TextRect.right - Extent.cx; break;
    case taCenter: X = TextRect.left + ((TextRect.right - TextRect.left) / 2 - Extent.cx / 2); break;
  }
  UINT Options = ETO_CLIPPED;
  SetBkColor(DC, Background);
  if (Cell.Pass == 0)
    Options |= ETO_OPAQUE;
  else
    SetBkMode(DC, OPAQUE);
  // A text wider than its cell goes out only as far as it shows (dxShownText).
  TdxShownText Shown{0, Count, X};
  if (Extent.cx > TextRect.right - TextRect.left)
    Shown = dxShownText(DC, Cell.Text.data(), Count, X, TextRect.left, TextRect.right);
  ExtTextOutA(DC, Shown.X, R.top + Inset, Options, &TextRect, Cell.Text.data() + Shown.First,
              static_cast<UINT>(Shown.Count), nullptr);
  if (Cell.Pass != 0) return;
  TRect Strip{TextRect.right, R.top, R.right, R.bottom};
  FillRect(DC, &Strip, Cell.Brush);
  if (TextRect.left > R.left) {
    Strip = TRect{R.left, R.top, TextRect.left, R.bottom};
    FillRect(DC, &Strip, Cell.Brush);
  }
}

void DrawPreviewText(HDC DC, const TRect& Bounds, HBRUSH Brush, HFONT Font, TColor TextColor, int Indent,
                     const std::string& Text) {
  TRect R = Bounds;
  FillRect(DC, &R, Brush);
  TSavedTextState Saved(DC);
  SetBkMode(DC, TRANSPARENT);
  InflateRect(&R, -1, -1);
  R.left += Indent;
  SetTextColor(DC, ColorToRGB(TextColor));
  Saved.SelectFont(Font);
  DrawTextA(DC, Text.data(), static_cast<int>(Text.size()), &R,
            DT_END_ELLIPSIS | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
}
