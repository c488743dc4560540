// The kinds and events of the tree list's bands and columns: the sort state of a
// column, the edge a band is pinned to, and the events that name a band or a column
// (clicks, showing and hiding, dragging, sorting, footers, custom drawing).
#pragma once

#include "classlib/Controls.h"
#include "classlib/TypInfo.h"

class TCanvas;
class TFont;
class TdxTreeListBand;
class TdxTreeListColumn;
class TdxTreeListNode;

enum TdxTreeListColumnSort : Byte { csNone, csDown, csUp };
TENUM_INFO(TdxTreeListColumnSort, "csNone", "csDown", "csUp")
enum TdxGridBandFixed : Byte { bfNone, bfLeft, bfRight };
TENUM_INFO(TdxGridBandFixed, "bfNone", "bfLeft", "bfRight")

// Where a dragged header lands: the absolute band, the header row and the position.
struct TdxHeaderPosInfo {
  int BandIndex;
  int RowIndex;
  int ColIndex;
};

using TdxTLBandEvent = TEvent<void(TObject* Sender, TdxTreeListBand* ABand)>;
using TdxTLColumnEvent = TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn)>;
// AIndex is the visible position the band was shown at.
using TdxTLShowBandEvent =
    TEvent<void(TObject* Sender, TdxTreeListBand* ABand, int AIndex)>;
using TdxTLShowHeaderEvent = TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn,
                                         int BandIndex, int RowIndex, int ColIndex)>;
using TdxTLCanBandDraggingEvent =
    TEvent<void(TObject* Sender, TdxTreeListBand* ABand, bool& Allow)>;
using TdxTLCanHeaderDraggingEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn, bool& Allow)>;
using TdxTLDragOverBandEvent =
    TEvent<void(TObject* Sender, TdxTreeListBand* ABand, TPoint P, bool& Accept)>;
using TdxTLDragOverHeaderEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn, TPoint P, bool& Accept)>;
using TdxTLDragEndBandEvent =
    TEvent<void(TObject* Sender, TdxTreeListBand* ABand, TPoint P, int AbsoluteIndex,
                int VisibleIndex, int& NewIndex, bool& Accept)>;
using TdxTLDragEndHeaderEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn, TPoint P,
                TdxHeaderPosInfo& NewPosInfo, bool& Accept)>;
using TdxTLColumnSortingEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* Column, bool& Allow)>;
// Sorted arrives as the column's sort state and may be changed for the header's mark.
using TdxTLColumnSortedEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* Column, TdxTreeListColumnSort& Sorted)>;
using TdxTLColumnMovedEvent = TEvent<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TdxTLIsExistFooterCellEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn, bool& AExist)>;
using TdxTLGetLevelColorEvent = TEvent<void(TObject* Sender, int ALevel, TColor& AColor)>;
using TdxTLGetNodeDragTextEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* Node, int Column, AnsiString& AText)>;

// Custom drawing: each handler may change the text, colour and alignment it is given,
// draw itself and set ADone to skip the default drawing.
using TdxTLCustomDrawBandEvent = TEvent<void(
    TObject* Sender, TdxTreeListBand* ABand, TCanvas* ACanvas, TRect ARect,
    AnsiString& AText, TColor& AColor, TFont* AFont, TAlignment& AAlignment, bool& ADone)>;
using TdxTLCustomDrawHeaderEvent =
    TEvent<void(TObject* Sender, TdxTreeListColumn* AColumn, TCanvas* ACanvas, TRect ARect,
                AnsiString& AText, TColor& AColor, TFont* AFont, TAlignment& AAlignment,
                TdxTreeListColumnSort& ASorted, bool& ADone)>;
using TdxTLCustomDrawCellEvent = TEvent<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TdxTreeListNode* ANode,
    TdxTreeListColumn* AColumn, bool ASelected, bool AFocused, bool ANewItemRow,
    AnsiString& AText, TColor& AColor, TFont* AFont, TAlignment& AAlignment, bool& ADone)>;
using TdxTLCustomDrawEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TdxTreeListNode* ANode,
                TdxTreeListColumn* AColumn, const AnsiString& AText, TFont* AFont,
                TColor& AColor, bool ASelected, bool AFocused, bool& ADone)>;
using TdxTLCustomDrawFooterEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TdxTreeListNode* ANode,
                TdxTreeListColumn* AColumn, AnsiString& AText, TColor& AColor, TFont* AFont,
                TAlignment& AAlignment, bool& ADone)>;
using TdxTLCustomDrawFooterNodeEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TdxTreeListNode* ANode,
                TdxTreeListColumn* AColumn, int AFooterIndex, AnsiString& AText,
                TColor& AColor, TFont* AFont, TAlignment& AAlignment, bool& ADone)>;
using TdxTLCustomDrawPreviewEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TdxTreeListNode* ANode,
                bool ASelected, const AnsiString& AText, bool& ADone)>;
using TdxTLCustomDrawPreviewCellEvent = TEvent<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TdxTreeListNode* ANode, bool ASelected,
    AnsiString& AText, TColor& AColor, TColor& ATextColor, TFont* AFont, bool& ADone)>;

// What one custom-draw call of a cell carries: the painting passes it through the
// three cell events in turn.
struct TdxTLCellDrawArgs {
  TCanvas* Canvas;
  TRect Rect;
  TdxTreeListNode* Node;
  TdxTreeListColumn* Column;
  bool Selected;
  bool Focused;
  bool NewItemRow;
  AnsiString Text;
  TColor Color;
  TFont* Font;
  TAlignment Alignment;
  bool Done;
};
