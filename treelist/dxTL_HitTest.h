// What lies under a point of the tree list, and the state of its mouse: the hit kinds,
// the hit record, the control's interaction states and the glyph rectangles of a row's
// indent. Included through treelist/dxTL.h.
#pragma once

#include "classlib/Graphics.h"

class TdxTreeListNode;

// The kind of place under a point. The strips above the bands, below the footer and
// of a new item are never produced: they have no height in this control.
enum TdxTreeListHitTest : Byte {
  htNowhere,          // inside the client area, on nothing below
  htColumn,           // a column header cell
  htColumnEdge,       // the sizing zone of a column header's right edge
  htButton,           // a node's expand button
  htIcon,             // a node's image
  htStateIcon,        // a node's state image
  htIndent,           // a node's indent left of its glyphs
  htLabel,            // a node's cells
  htRight,            // a row right of the last band
  htOutside,          // outside the client area
  htTopStrip,
  htBandButton,       // the indicator corner of the band panel
  htBand,             // a band header
  htBandEdge,         // the sizing zone of a band's right edge
  htHeaderButton,     // the indicator corner of the header panel
  htIndicator,        // the row indicator
  htNewRow,
  htRowFooter,        // a level footer line below a node
  htFooter,           // the footer panel
  htBandPanelEdge,    // the sizing zone of the band panel's bottom edge
  htHeaderPanelEdge,  // the sizing zone of the header panel's bottom edge
  htRowEdge,          // the sizing zone of a row's bottom edge in the indicator
  htPreview,          // a node's preview text
  htLowerStrip
};

// Clicks on these act on the node's cell.
inline bool IsCellHit(TdxTreeListHitTest Kind) {
  return Kind == htIcon || Kind == htStateIcon || Kind == htLabel || Kind == htRowFooter ||
         Kind == htPreview;
}

// The answer of GetHitInfo: the point, the visible band, the column (its index among
// all columns), the row's node and index, the level footer line, and the kind.
struct TdxTreeListHitInfo {
  int X = 0;
  int Y = 0;
  int BandIndex = -1;
  int Column = -1;
  TdxTreeListNode* Node = nullptr;
  int RowIndex = -1;
  int FooterIndex = -1;
  TdxTreeListHitTest HitTest = htNowhere;
};

// What the mouse is doing to the control.
enum TdxTreeListState : Byte {
  tsNormal,
  tsColumnSizing,
  tsEditing,
  tsColumnDragging,
  tsColumnDown,
  tsNodeDragging,
  tsSelecting,
  tsHeaderButtonDown,
  tsBandSizing,
  tsBandDragging,
  tsBandDown,
  tsBandButtonDown,
  tsBandPanelSizing,
  tsHeaderPanelSizing,
  tsRowSizing,
  tsCustomizingButtonDown = 16
};

// The glyphs in a row's indent, as x ranges from the left of the node's first band
// (scrolling ignored) over the row's height; an absent glyph is an empty rectangle.
struct TdxTreeListIndentRects {
  TRect Indent{0, 0, 0, 0};
  TRect Button{0, 0, 0, 0};
  TRect StateImage{0, 0, 0, 0};
  TRect Image{0, 0, 0, 0};
};
