// What the tree list's paint hands to its overridable draw operations: one cell to
// draw (a data cell, a footer or row-footer cell, a preview area), the view data a
// column's editor kind paints a data cell from, the header hot state, the buttons
// held down, and the paint's own objects kept by the control between paints (the
// scratch font, the cell view data, the Outlook style's two expand glyphs).
#pragma once

#include <windows.h>

#include <string>

#include "classlib/Controls.h"
#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/Objects.h"

class TCanvas;
class TdxTreeListNode;

// One cell given to the draw operations; the paint fills it, the operation may
// change Color, TextColor and Brush while it draws.
struct TdxTreeListCellPaint {
  TCanvas* Canvas = nullptr;
  TRect Rect{0, 0, 0, 0};
  TdxTreeListNode* Node = nullptr;
  int Column = -1;       // absolute column index; -1 for a preview
  int FooterIndex = -1;  // footer cells: -1 the footer panel, else the row footer
  bool Selected = false;
  bool Focused = false;  // the focused cell
  TColor Color = clWindow;
  TColor TextColor = clWindowText;
  HBRUSH Brush = nullptr;
  bool MultiLine = false;
  bool LeftEdge = false;   // first cell of the first band
  bool RightEdge = false;  // last cell of the last band
  // The column's own colour and brush (the control's Color and brush when the column
  // has none of its own).
  TColor ColumnColor = clWindow;
  HBRUSH ColumnBrush = nullptr;
};

// The record a data cell is drawn from, one per control, filled again for each cell.
struct TdxTreeListCellViewData {
  HBRUSH Brush = nullptr;
  HFONT Font = nullptr;
  TColor Color = clWindow;
  TColor TextColor = clWindowText;
  TAlignment Alignment = taLeftJustify;
  std::string Text;
  int PrefixLength = 0;  // the incremental search's text length in the prefix pass
  bool Selected = false;
  bool InvertSelect = false;
  bool LeftEdge = false;
  bool RightEdge = false;
  bool MultiLine = false;
  bool PrefixPass = false;
  bool EndEllipsis = false;
  TdxTreeListNode* Node = nullptr;
  bool NewItemRow = false;
  TColor SelectionColor = clHighlight;
  TColor ColumnColor = clWindow;
  HBRUSH ColumnBrush = nullptr;
  bool Hot = false;
  TRect Bounds{0, 0, 0, 0};  // (0, 0, width, height) inflated by 2
};

// The state of a header button as the header routine sees it.
enum TdxHeaderHotStateItem : Byte { hhsTracking, hhsButtonZone, hhsPressed };
using TdxHeaderHotState = TSet<TdxHeaderHotStateItem>;

// The band or header button held down (-1: none), and the two corner buttons.
struct TdxTreeListPressedState {
  int Band = -1;    // absolute band index
  int Header = -1;  // absolute column index
  bool BandCorner = false;
  bool HeaderCorner = false;
  bool operator==(const TdxTreeListPressedState& O) const {
    return Band == O.Band && Header == O.Header && BandCorner == O.BandCorner && HeaderCorner == O.HeaderCorner;
  }
  bool operator!=(const TdxTreeListPressedState& O) const { return !(*this == O); }
};

// The Outlook style's expand glyphs: two 12 x 12 bitmaps (collapsed, expanded) in the
// system's button colours.
class TdxTreeListExpandGlyphs {
 public:
  static constexpr int Size = 12;
  // Draws both again (after a look or a system colour change).
  void Make();
  HBITMAP Collapsed() const { return FCollapsed.Handle(); }
  HBITMAP Expanded() const { return FExpanded.Handle(); }

 private:
  TOwnedBitmap FCollapsed, FExpanded;
};

// What a paint keeps in the control between paints.
struct TdxTreeListPaintState {
  TdxTreeListPaintState();
  ~TdxTreeListPaintState();
  TdxTreeListCellViewData ViewData;
  // A copy of the canvas font while a handler or a column font replaces it.
  TFont* ScratchFont = nullptr;
  TdxTreeListExpandGlyphs Glyphs;
};
struct TdxTreeListPaintStateFree {
  void operator()(TdxTreeListPaintState* State) const;
};

// The row indicator's glyphs (indicator kinds 1 to 5 draw images 0 to 4); made when
// the unit starts.
class TCustomImageList;
TCustomImageList* dxTreeListIndicatorImages();
void InitdxTLPaint();
void DonedxTLPaint();
