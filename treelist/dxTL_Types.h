// The tree list's vocabulary, shared by its nodes, the control and the layout and
// painting that read them: the exception of a wrong tree-list operation, the option
// sets and looks, and the event types. Included through treelist/dxTL.h.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"
#include "classlib/TypInfo.h"

class TdxTreeListColumn;
class TdxTreeListNode;

TCLASS_EXCEPTION(EInvaliddxTreeListOperation, Exception)

inline constexpr const char* SInvalidOwnerNode = "Invalid Owner TdxTreeListNode";

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
