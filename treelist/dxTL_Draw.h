// The tree list's drawing routines: button faces of the corners, bands, headers and
// indicator cells, the header button with its caption, glyph and sort mark, the
// centring rule for images, and the text routines of data, footer and preview cells.
// Each draws on the DC it is given and leaves the DC's objects and colours as it
// found them.
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "editors/dxCntner.h"
#include "treelist/dxTL_Events.h"


// Edge kinds of a header button: 0 a free-standing button, 1 to 3 cells inside a
// multi-row header (1: last in its row, 2: first in its row, 3: neither).
enum THeaderEdgeKind : int { hekButton = 0, hekLast = 1, hekFirst = 2, hekInner = 3 };

// The face of a button; R becomes the inner rectangle left for the content.
void DrawButtonFace(HDC DC, TRect& R, HBRUSH Brush, TdxLookAndFeel Look, int EdgeKind, bool Pressed);
// The face, then, when pressed and asked to, the whole rectangle as passed in
// inverted.
void DrawButtonFaceInverted(HDC DC, const TRect& R, HBRUSH Brush, TdxLookAndFeel Look, int EdgeKind,
                            bool Pressed, bool InvertPressed);

// The sort arrow in its 16-pixel cell.
void DrawSortMark(HDC DC, const TRect& Cell, TdxTreeListColumnSort Sort);

struct THeaderButton {
  TRect Bounds{};
  HBRUSH Brush = nullptr;
  bool DropDown = false;
  TdxLookAndFeel Look = lfStandard;
  int EdgeKind = hekButton;
  HBITMAP Glyph = nullptr;
  TdxTreeListColumnSort Sort = csNone;
  TAlignment Alignment = taLeftJustify;
  bool MultiLine = false;
  bool Pressed = false;
  std::string Text;
};
// A complete band, header or corner button: face, drop-down button, sort mark, glyph
// and caption (in the DC's font and text colour).
void DrawHeaderButton(HDC DC, const THeaderButton& Button);

// The top-left corner at which an image of the given size is centred in R.
POINT CenteredOrigin(const TRect& R, int Width, int Height);

struct TCellText {
  TRect Bounds{};
  HBRUSH Brush = nullptr;
  int Pass = 0;  // 0 the whole text, 1 the incremental search's prefix
  bool WideVerticalInset = false;  // 2 pixels above and below, else 1
  TAlignment Alignment = taLeftJustify;
  bool MultiLine = false;
  bool EndEllipsis = false;
  int Count = -1;  // characters drawn on the fast path; -1 all
  std::string Text;
  TColor Background = clWindow;
};
// A cell's text in the DC's font and text colour over the brush.
void DrawCellText(HDC DC, const TCellText& Cell);

// A preview area: filled, then the wrapped text in the font and colour given, its
// left edge moved in by Indent.
void DrawPreviewText(HDC DC, const TRect& R, HBRUSH Brush, HFONT Font, TColor TextColor, int Indent,
                     const std::string& Text);

