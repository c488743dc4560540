// What the tree list keeps while a header, a node or the view is dragged with the
// mouse: the dragged band or column, the insertion arrows, the drag picture, the node
// that expands after a wait, and the nesting of the marks hidden around painting.
// Included through treelist/dxTL.h.
#pragma once

#include "classlib/Types.h"

class TDragImageList;
class TDragObject;
class TdxTreeListNode;

// Where a dragged header would land: a visible band index for a band; the visible
// band, header row and position in the row for a column. Band -1: nowhere (hide).
struct TdxTreeListDropPlace {
  int Band = -1;
  int Row = -1;
  int Col = -1;
  // The arrows' top-left corner on the screen; meaningful only with Band >= 0.
  TPoint Arrow{-100, -100};
  bool operator==(const TdxTreeListDropPlace& O) const {
    return Band == O.Band && Row == O.Row && Col == O.Col;
  }
};

struct TdxTreeListDragState {
  // The header drag: the band (absolute) and its visible index at the start, or the
  // column (absolute); -1 none.
  int Band = -1;
  int BandVisibleAtStart = -1;
  int Column = -1;
  // The arrows' place on the screen ((-100, -100) none), their height, and whether
  // they are drawn there now.
  TPoint ArrowPos{-100, -100};
  int ArrowHeight = 0;
  bool ArrowsShown = false;
  // The last mouse point of the header drag (client coordinates) and whether its
  // cursor says the drop would hide the header.
  TPoint LastPoint{0, 0};
  bool DeleteCursor = false;
  // How many times the arrows were drawn since the drag began (each erase-and-draw
  // of a changed place counts once).
  int ArrowDraws = 0;
  // The picture under the mouse of a header or node drag; owned by the tree list.
  TDragImageList* Images = nullptr;
  // The node under a node drag that expands when the wait is over.
  TdxTreeListNode* ExpandNode = nullptr;
  // A drag over the control (the control's own or a foreign one) and its object.
  TDragObject* Object = nullptr;
  // The marks' hiding bracket: its depth and what the outermost hide took away.
  int MarksHidden = 0;
  bool MarksArrows = false;
  bool MarksImage = false;
  TDragObject* MarksObject = nullptr;
};

// The horizontal drag scroll a mouse at X starts in Area: 1 (left) within a few
// pixels of its left edge, 3 (right) of its right edge, else 0.
inline int SideDragScrollKind(int X, const TRect& Area) {
  constexpr int Zone = 12;
  if (X >= Area.left && X < Area.left + Zone) return 1;
  if (X < Area.right && X >= Area.right - Zone) return 3;
  return 0;
}

// Frees the screen background the arrows of the last header drag kept.
void ReleaseDragArrowBackground();
