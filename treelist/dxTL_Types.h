// The tree list's vocabulary, shared by its nodes, the control and the layout and
// painting that read them: the exception of a wrong tree-list operation, the option
// sets and looks, and the event types. Included through treelist/dxTL.h.
#pragma once

#include <vector>

#include "classlib/Controls.h"
#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"
#include "classlib/TypInfo.h"

class TdxTreeListColumn;
class TdxTreeListNode;

TCLASS_EXCEPTION(EInvaliddxTreeListOperation, Exception)

inline constexpr const char* SInvalidOwnerNode = "Invalid Owner TdxTreeListNode";

// The widest band or column and the tallest default row the list takes, from code, a
// form file or a stored layout: far beyond what sizing by the mouse reaches, and small
// enough that the list's sums of widths and heights stay within 32 bits.
inline constexpr int dxTLMaxWidth = 1000000;
inline constexpr int dxTLMaxRowHeight = 32767;

// ---------------------------------------------------------------------------------
// Options

enum TdxTreeListOption : Byte {
  aoColumnSizing, aoColumnMoving, aoEditing, aoTabs, aoTabThrough, aoRowSelect,
  aoMultiSelect, aoImmediateEditor, aoPreview, aoDrawEndEllipsis, aoAutoWidth,
  aoExtMultiSelect, aoExtCustomizing, aoHideFocusRect, aoAutoSort, aoCaseInsensitive,
  aoStoreToRegistry, aoStoreToIniFile
};
using TdxTreeListOptions = TSet<TdxTreeListOption>;
TENUM_INFO(TdxTreeListOption, "aoColumnSizing", "aoColumnMoving", "aoEditing", "aoTabs",
           "aoTabThrough", "aoRowSelect", "aoMultiSelect", "aoImmediateEditor", "aoPreview",
           "aoDrawEndEllipsis", "aoAutoWidth", "aoExtMultiSelect", "aoExtCustomizing",
           "aoHideFocusRect", "aoAutoSort", "aoCaseInsensitive", "aoStoreToRegistry",
           "aoStoreToIniFile")

enum TdxTreeListOptionEx : Byte {
  aoInvertSelect, aoUseBitmap, aoBandHeaderWidth, aoAutoCalcPreviewLines, aoBandSizing,
  aoBandMoving, aoHorzThrough, aoVertThrough, aoCellMultiSelect, aoEnterThrough,
  aoEnterShowEditor, aoFullSizing, aoDragScroll, aoDragExpand, aoDragCollapse,
  aoRowAutoHeight, aoShowHourGlass, aoBandButtonClicking, aoBandPanelSizing,
  aoHeaderButtonClicking, aoHeaderPanelSizing, aoRowSizing, aoMultiSort,
  aoAutoSortRefresh, aoShowButtonAlways, aoAutoHeaderPanelHeight, aoKeepColumnWidth,
  aoAnsiSort, aoMouseScroll, aoAutoSearch, aoHotTrack, aoAutoCopySelectedToClipboard
};
using TdxTreeListOptionsEx = TSet<TdxTreeListOptionEx>;
TENUM_INFO(TdxTreeListOptionEx, "aoInvertSelect", "aoUseBitmap", "aoBandHeaderWidth",
           "aoAutoCalcPreviewLines", "aoBandSizing", "aoBandMoving", "aoHorzThrough",
           "aoVertThrough", "aoCellMultiSelect", "aoEnterThrough", "aoEnterShowEditor",
           "aoFullSizing", "aoDragScroll", "aoDragExpand", "aoDragCollapse", "aoRowAutoHeight",
           "aoShowHourGlass", "aoBandButtonClicking", "aoBandPanelSizing",
           "aoHeaderButtonClicking", "aoHeaderPanelSizing", "aoRowSizing", "aoMultiSort",
           "aoAutoSortRefresh", "aoShowButtonAlways", "aoAutoHeaderPanelHeight",
           "aoKeepColumnWidth", "aoAnsiSort", "aoMouseScroll", "aoAutoSearch", "aoHotTrack",
           "aoAutoCopySelectedToClipboard")

inline constexpr TdxTreeListOptions DefaultTreeListOptions{
    aoColumnSizing, aoColumnMoving, aoEditing, aoTabThrough, aoRowSelect};
inline constexpr TdxTreeListOptionsEx DefaultTreeListOptionsEx{
    aoUseBitmap, aoBandHeaderWidth, aoAutoCalcPreviewLines, aoBandSizing, aoBandMoving,
    aoDragScroll, aoDragExpand};

enum TdxTreeListPaintStyle : Byte { psStandard, psOutlook };
TENUM_INFO(TdxTreeListPaintStyle, "psStandard", "psOutlook")
enum TdxTreeLineStyle : Byte { tlSolid, tlDot };
TENUM_INFO(TdxTreeLineStyle, "tlSolid", "tlDot")

// ---------------------------------------------------------------------------------
// Events

// What OnHotTrackNode reports: the hot node (nil over a header), the hot column (-1
// none) and the hot kind (0 cell, 1 header, 2 header button zone).
struct TdxTreeListHotTrackInfo {
  TdxTreeListNode* Node;
  int Column;
  Byte Kind;
};

using TTLExpandedEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node)>;
using TTLExpandingEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node, bool& Allow)>;
using TTLChangeNodeEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* OldNode, TdxTreeListNode* Node)>;
using TTLChangeColumnEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node, int Column)>;
using TTLGetImageEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node, int& Index)>;
using TSelectionChangedEvent = TEvent<void(TObject* Sender, TdxTreeListNode* ANode)>;
using TdxTLCanNodeSelected = TEvent<void(TObject* Sender, TdxTreeListNode* ANode, bool& Allow)>;
using TdxTLCompareEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* Node1, TdxTreeListNode* Node2, int& Compare)>;
using TdxTLEditValidateEvent =
    TEvent<void(TObject* Sender, AnsiString& ErrorText, bool& Accept)>;
using TdxTLGetEditColorEvent = TEvent<void(TObject* Sender, TColor& AColor)>;
using TdxTLImmediateEditorQuery =
    TEvent<void(TObject* Sender, int ColumnIndex, bool& Immediate)>;
using TdxTLHotTrackNodeEvent =
    TEvent<void(TObject* Sender, TdxTreeListHotTrackInfo& AHotTrackInfo, TCursor& ACursor)>;
using TdxTLGetPreviewTextEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* ANode, AnsiString& AText)>;
using TdxTLGetFooterCellTextEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* ANode, TdxTreeListColumn* AColumn,
                int AFooterIndex, AnsiString& AText)>;
using TdxTLIsExistRowFooterCellEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* ANode, TdxTreeListColumn* AColumn,
                int AFooterIndex, bool& AExist)>;
using TdxTLIsLevelFooterEvent = TEvent<void(TObject* Sender, int ALevel, bool& AExist)>;
using TdxTLGetRowLineCountEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* ANode, int& LCount)>;
using TdxTLGetPreviewLineCountEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* ANode, int& LCount)>;
// Measures one cell in place of the column's editor; Done keeps the answer as given.
using TdxTLCalcRowLineHeightEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* Node, TdxTreeListColumn* Column,
                const AnsiString& Text, int BoundsWidth, int TextHeight, int MaxLineCount,
                bool InflateFlag, bool GridFlag, int& LineCount, int& LineHeight, bool& Done)>;

// ---------------------------------------------------------------------------------
// The layout record: what every paint, hit test and move computes first
// (TCustomdxTreeList::CalcDrawInfo). Rectangles are in client coordinates.

// A placed band: its rectangle at its scrolled place and the part of it inside the
// scrolling area.
struct TdxTreeListBandInfo {
  int Index = -1;  // visible band index
  TRect BandRect{0, 0, 0, 0};
  TRect BandClipRect{0, 0, 0, 0};
};

// A placed header cell.
struct TdxTreeListHeaderInfo {
  int Column = -1;     // absolute column index
  int VisibleColumn = -1;  // its visible index
  int BandIndex = -1;  // visible band index
  int RowIndex = 0;
  int ColIndex = 0;
  int LineCount = 1;  // header rows the cell spans
  TRect CellRect{0, 0, 0, 0};
  TRect CellClipRect{0, 0, 0, 0};
  // Down to the header panel's bottom when the cell leaves header rows below it.
  TRect ExtendedRect{0, 0, 0, 0};
  bool FirstInRow = false;
  bool LastInRow = false;
  bool FirstCell = false;
  bool LastCell = false;
  bool MultiLine = false;
};

// A band without columns: the area under it, as high as the header panel.
struct TdxTreeListEmptyBandInfo {
  int BandIndex = -1;
  TRect Rect{0, 0, 0, 0};
  bool Cut = false;  // the band is clipped on the right
};

// A row on the screen, top to bottom.
struct TdxTreeListRowInfo {
  TdxTreeListNode* Node = nullptr;
  bool Group = false;
  bool Selected = false;
  int RowHeight = 0;
  int LevelFooterCount = 0;
  int LevelFooterHeight = 0;
  Byte IndicatorKind = 0;
  int PreviewLineCount = 0;
  int RowLineCount = -1;
};

struct TdxTreeListDrawInfo {
  TRect CR{0, 0, 0, 0};                // the client rectangle
  TRect BandRect{0, 0, 0, 0};          // band panel
  TRect BandButtonRect{0, 0, 0, 0};    // its indicator corner
  TRect HeaderRect{0, 0, 0, 0};        // header panel
  TRect HeaderButtonRect{0, 0, 0, 0};  // its indicator corner
  TRect CellsRect{0, 0, 0, 0};         // the data area
  TRect IndRect{0, 0, 0, 0};           // the row indicator
  TRect FooterRect{0, 0, 0, 0};
  TRect EmptyRectRight{0, 0, 0, 0};    // right of the bands when they are narrower
  TRect EmptyRectBottom{0, 0, 0, 0};   // below the last row
  TRect FixedBandLeftRect{0, 0, 0, 0};
  TRect FixedBandRightRect{0, 0, 0, 0};
  std::vector<TdxTreeListBandInfo> Bands;
  std::vector<TdxTreeListHeaderInfo> Headers;
  std::vector<TdxTreeListEmptyBandInfo> EmptyBands;
  std::vector<TdxTreeListRowInfo> Rows;
  int FixedLeftIndex = -1;   // entry of the fixed-left band
  int FixedRightIndex = -1;  // entry of the fixed-right band
  int LastScrolledIndex = -1;
  int BandsRightEdge = 0;  // last pixel column of the bands
  int LastRowBottom = -1;  // last pixel row of the rows; -1 when they fill the area
  int FirstBandWidth = 0;
  int RowSeparatorWidth = 0;
};
