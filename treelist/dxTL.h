// The tree list: a grid whose rows are the nodes of a tree. This header is what users
// include; it holds the control in three layers: TCustomdxTreeList (nodes and rows)
// here, TCustomdxTreeListControl (text nodes that keep their cell texts, the columns
// and the bands) and TdxTreeList (the automatic re-sort check) in dxTL_Control.h,
// which it includes at its end. Its pieces: dxTL_Types.h (the
// exception, options, looks and event types; the records of the layout and painting
// join them there), dxTL_Events.h (the band and column kinds and events) and
// dxTL_Nodes.h (the nodes); the bands and columns are in dxTL_Bands.h and
// dxTL_Columns.h, the edit style and the mask column in dxTL_MaskColumn.h. The
// control's members are implemented by topic: dxTL.cpp (node operations, focus,
// updates), dxTL_Rows.cpp (the visible-row index, whose rows dxTL_RowList.h keeps),
// dxTL_Props.cpp (appearance), dxTL_Published.cpp (form files), dxTL_Control.cpp (the
// column and band layer) and
// dxTL_Answers.cpp (the band and column answers), dxTL_Layout.cpp (the size pass, the
// layout record, row heights and level footers), dxTL_LayoutBands.cpp (bands, header
// cells and widths under auto width) and dxTL_Scroll.cpp (the scroll state, the top row
// and the left coordinate). The painting: dxTL_Paint.cpp (the panels and the paint
// itself), dxTL_PaintRows.cpp (the rows), dxTL_PaintCells.cpp (the overridable draw
// operations), dxTL_PaintState.cpp (what outlives a paint), with the painter's context
// in dxTL_Painter.h and what the draw operations are handed in dxTL_CellPaint.h. The
// sort is in dxTL_Sort.cpp (its keys and comparers in dxTL_Sort.h), the stored layout
// in dxTL_StoredLayout.cpp, the "Data" node stream in dxTL_Stream.cpp and the in-place
// editing in dxTL_Editing.cpp. Dragging: dxTL_Drag.cpp (node drags, the drag object,
// the arrows and the marks' bracket, with the drag state in dxTL_Drag.h),
// dxTL_HeaderDrag.cpp (band and column headers) and dxTL_Pan.cpp (middle-button
// panning, its motion in dxTL_Pan.h).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "editors/dxCntner.h"
#include "treelist/dxTL_CellPaint.h"
#include "treelist/dxTL_Drag.h"
#include "treelist/dxTL_Events.h"
#include "treelist/dxTL_HitTest.h"
#include "treelist/dxTL_Nodes.h"
#include "treelist/dxTL_RowList.h"
#include "treelist/dxTL_Types.h"

class TdxTreeListBands;
class TdxInplaceEdit;
class TCustomIniFile;
class TdxRegIniWrapper;
class TStream;
class TFiler;
class TStrings;
class TNodeKeyChains;

// ---------------------------------------------------------------------------------
// The tree list

class TCustomdxTreeList : public TCustomdxContainer {
  TCLASS_DECL(TCustomdxTreeList, TCustomdxContainer)
 public:
  explicit TCustomdxTreeList(TComponent* AOwner);
  ~TCustomdxTreeList() override;
  // Marks the control as being destroyed and frees every node (OnDeletion fires for
  // each), then the inherited destruction.
  void BeforeDestruction() override;

  // Nodes
  TdxTreeListNode* Add();
  void ClearNodes();
  int Count() const { return FNodes.Count(); }
  TdxTreeListNode* Items(int Index) const { return FNodes.Items(Index); }
  TdxTreeListNode* FocusedNode() const { return FFocusedNode; }
  TdxTreeListNode* TopVisibleNode() const { return FTopVisibleNode; }
  TdxTreeListNode* GetFirstNode() const { return FNodes.First(); }
  TdxTreeListNode* GetLastNode() const;
  int FocusedColumn() const;
  void SetFocusedColumn(int Value);
  bool Clearing() const { return FClearing; }
  bool Destroying() const { return ComponentState().Contains(csDestroying); }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Rows
  int GetVisibleNodeCount();
  int GetNodeRowIndex(const TdxTreeListNode* Node);
  TdxTreeListNode* GetNodeAtRow(int Index);
  int GetFocusedRowIndex();
  virtual void SetFocusedRowIndex(int Index);
  // The index answers row questions (else they walk the tree).
  bool RowIndexValid() const { return !FRows.Empty() && !Destroying(); }
  // The index itself, for what it tells of its work (SlotsMoved).
  const TdxTreeListRowList& RowList() const { return FRows; }
  bool RowIndexBuilt() const { return FRowIndexBuilt; }

  virtual void SetFocusedNode(TdxTreeListNode* Node, int Column, bool MakeVisible);
  virtual void SetTopVisibleNode(TdxTreeListNode* Node);

  // ----- Sorting (dxTL_Sort.cpp). Level -1 sorts the top-level nodes and then every
  // child list, each parent's before its children's; Level n >= 0 sorts only the child
  // lists n levels below the top (0: the top level); a Level below -1 sorts nothing.
  // The focus, the selection and the top node stay on their nodes; the rows are
  // rebuilt once.
  virtual void SortNodesByColumn(int Level, int Column, bool Descending);
  // One list in place: by every sort column under multi-sort with two or more of
  // them, else by Column. Rewritten only after a sort that did not raise.
  void SortNodes(TdxTreeListNodeList* List, int Column, bool Descending);
  // The same, the keys made in Chains, which a walk over many lists passes to each.
  void SortNodes(TdxTreeListNodeList* List, int Column, bool Descending, TNodeKeyChains& Chains);
  // The sort state the sort reads; the core has no sort columns.
  virtual int SortColumnCount() const { return 0; }
  virtual int SortColumnIndex(int I) const { return I; }
  virtual bool IsSortColumnDescending(int /*I*/) const { return false; }
  virtual void ClearSortColumns() {}
  // The last tie-break of the locale comparer: the two nodes' addresses, compared
  // unsigned.
  virtual int CompareNodes(TdxTreeListNode* Node1, TdxTreeListNode* Node2);
  // What a node sorts by in a column: the empty string in the core.
  virtual Variant GetNodeSortValue(TdxTreeListNode* Node, int Column);

  TdxTreeListOptions Options() const { return FOptions; }
  virtual void SetOptions(TdxTreeListOptions Value);
  TdxTreeListOptionsEx OptionsEx() const { return FOptionsEx; }
  virtual void SetOptionsEx(TdxTreeListOptionsEx Value);
  int MaxRowLineCount() const { return FMaxRowLineCount; }
  void SetMaxRowLineCount(int Value);

  // Appearance. Colour setters repaint; size, font and show-flag setters re-run the
  // layout. The "at least" clamps keep every stored value in range.
  TColor ArrowsColor() const { return FArrowsColor; }
  void SetArrowsColor(TColor Value) { ChangeColor(FArrowsColor, Value); }
  TColor AutoSearchColor() const { return FAutoSearchColor; }
  void SetAutoSearchColor(TColor Value) { ChangeColor(FAutoSearchColor, Value); }
  TColor AutoSearchTextColor() const { return FAutoSearchTextColor; }
  void SetAutoSearchTextColor(TColor Value) { ChangeColor(FAutoSearchTextColor, Value); }
  TColor GroupNodeColor() const { return FGroupNodeColor; }
  void SetGroupNodeColor(TColor Value) { ChangeColor(FGroupNodeColor, Value); }
  TColor GroupNodeTextColor() const { return FGroupNodeTextColor; }
  void SetGroupNodeTextColor(TColor Value) { ChangeColor(FGroupNodeTextColor, Value); }
  TColor RowFooterColor() const { return FRowFooterColor; }
  void SetRowFooterColor(TColor Value) { ChangeColor(FRowFooterColor, Value); }
  TColor RowFooterTextColor() const { return FRowFooterTextColor; }
  void SetRowFooterTextColor(TColor Value) { ChangeColor(FRowFooterTextColor, Value); }
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor Value) { ChangeColor(FHeaderColor, Value); }
  TColor BandColor() const { return FBandColor; }
  void SetBandColor(TColor Value) { ChangeColor(FBandColor, Value); }
  TColor FixedBandLineColor() const { return FFixedBandLineColor; }
  void SetFixedBandLineColor(TColor Value) { ChangeColor(FFixedBandLineColor, Value); }
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value) { ChangeColor(FHighlightColor, Value); }
  TColor HighlightTextColor() const { return FHighlightTextColor; }
  void SetHighlightTextColor(TColor Value) { ChangeColor(FHighlightTextColor, Value); }
  TColor TreeLineColor() const { return FTreeLineColor; }
  void SetTreeLineColor(TColor Value) { ChangeColor(FTreeLineColor, Value); }
  TColor HideSelectionColor() const { return FHideSelectionColor; }
  void SetHideSelectionColor(TColor Value) { ChangeColor(FHideSelectionColor, Value); }
  TColor HideSelectionTextColor() const { return FHideSelectionTextColor; }
  void SetHideSelectionTextColor(TColor Value) { ChangeColor(FHideSelectionTextColor, Value); }
  TColor GridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor Value) { ChangeColor(FGridLineColor, Value); }

  TFont* BandFont() const { return FBandFont; }
  void SetBandFont(TFont* Value) { FBandFont->Assign(Value); }
  TFont* HeaderFont() const { return FHeaderFont; }
  void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
  TFont* PreviewFont() const { return FPreviewFont; }
  void SetPreviewFont(TFont* Value) { FPreviewFont->Assign(Value); }

  bool AutoExpandOnSearch() const { return FAutoExpandOnSearch; }
  void SetAutoExpandOnSearch(bool Value) { FAutoExpandOnSearch = Value; }
  bool DblClkExpanding() const { return FDblClkExpanding; }
  void SetDblClkExpanding(bool Value) { FDblClkExpanding = Value; }
  bool HideFocusRectFlag() const { return FHideFocusRect; }
  void SetHideFocusRectFlag(bool Value) { ChangeFlag(FHideFocusRect, Value); }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { ChangeFlag(FHideSelection, Value); }
  bool ShowBands() const { return FShowBands; }
  void SetShowBands(bool Value) { ChangeFlag(FShowBands, Value); }
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { ChangeFlag(FShowButtons, Value); }
  bool ShowGrid() const { return FShowGrid; }
  void SetShowGrid(bool Value) { ChangeFlag(FShowGrid, Value); }
  bool ShowPreviewGrid() const { return FShowPreviewGrid; }
  void SetShowPreviewGrid(bool Value) { ChangeFlag(FShowPreviewGrid, Value); }
  bool ShowHeader() const { return FShowHeader; }
  void SetShowHeader(bool Value) { ChangeFlag(FShowHeader, Value); }
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { ChangeFlag(FShowLines, Value); }
  // The Outlook paint style always shows the root lines.
  bool ShowRoot() const { return FShowRoot || FPaintStyle == psOutlook; }
  void SetShowRoot(bool Value) { ChangeFlag(FShowRoot, Value); }
  bool ShowRowFooter() const { return FShowRowFooter; }
  void SetShowRowFooter(bool Value) { ChangeFlag(FShowRowFooter, Value); }
  bool ShowIndicator() const { return FShowIndicator; }
  void SetShowIndicator(bool Value) { ChangeFlag(FShowIndicator, Value); }
  bool ShowFooter() const { return FShowFooter; }
  void SetShowFooter(bool Value) { ChangeFlag(FShowFooter, Value); }
  // There is no customizing box: these three are kept for the form file only.
  bool SimpleCustomizeBox() const { return FSimpleCustomizeBox; }
  void SetSimpleCustomizeBox(bool Value) { FSimpleCustomizeBox = Value; }
  bool ShowHiddenInCustomizeBox() const { return FShowHiddenInCustomizeBox; }
  void SetShowHiddenInCustomizeBox(bool Value) { FShowHiddenInCustomizeBox = Value; }
  int CustomizingRowCount() const { return FCustomizingRowCount; }
  void SetCustomizingRowCount(int Value) { FCustomizingRowCount = Value < 2 ? 2 : Value; }

  int IndentDesc() const { return FIndentDesc; }
  void SetIndentDesc(int Value) { ChangeSize(FIndentDesc, Value < 0 ? 0 : Value); }
  int FixedBandLineWidth() const { return FFixedBandLineWidth; }
  void SetFixedBandLineWidth(int Value) { ChangeSize(FFixedBandLineWidth, Value < 1 ? 1 : Value); }
  int RowSeparatorLineWidth() const { return FRowSeparatorLineWidth; }
  void SetRowSeparatorLineWidth(int Value) {
    ChangeSize(FRowSeparatorLineWidth, Value < 1 ? 1 : Value);
  }
  int PreviewLines() const { return FPreviewLines; }
  void SetPreviewLines(int Value) { ChangeSize(FPreviewLines, Value < -1 ? -1 : Value); }
  // An assigned height stays assigned until the layout finds it equal to the text-based
  // minimum; the layout raises an unassigned or smaller one to that minimum.
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  bool DefaultRowHeightAssigned() const { return FDefaultRowHeightAssigned; }
  Cardinal WaitForExpandNodeTime() const { return FWaitForExpandNodeTime; }
  void SetWaitForExpandNodeTime(Cardinal Value) { FWaitForExpandNodeTime = Value; }

  TdxTreeListPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxTreeListPaintStyle Value);
  TdxTreeLineStyle TreeLineStyle() const { return FTreeLineStyle; }
  void SetTreeLineStyle(TdxTreeLineStyle Value);
  // bsNone or bsSingle; a change recreates the window.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // Ends editing without storing, recreates the window for the scroll bars' style and
  // re-runs the layout.
  void SetLookAndFeel(TdxLookAndFeel Value);

  // The image lists, followed through a change link and freed notification.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { ChangeImages(FImages, FImageChangeLink, Value); }
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value) {
    ChangeImages(FStateImages, FStateChangeLink, Value);
  }

  // Option questions: what the control reads the options through.
  virtual bool IsAnsiSort() { return FOptionsEx.Contains(aoAnsiSort); }
  virtual bool IsAutoCalcPreviewLines() { return FOptionsEx.Contains(aoAutoCalcPreviewLines); }
  virtual bool IsAutoHeaderPanelHeight() { return FOptionsEx.Contains(aoAutoHeaderPanelHeight); }
  virtual bool IsAutoSearch() { return FOptionsEx.Contains(aoAutoSearch); }
  virtual bool IsAutoSort() { return FOptions.Contains(aoAutoSort); }
  virtual bool IsAutoSortRefresh() { return FOptionsEx.Contains(aoAutoSortRefresh); }
  virtual bool IsAutoWidth() { return FOptions.Contains(aoAutoWidth); }
  virtual bool IsBandHeaderWidth() { return FOptionsEx.Contains(aoBandHeaderWidth); }
  virtual bool IsCaseInsensitive() { return FOptions.Contains(aoCaseInsensitive); }
  virtual bool IsCellMultiSelect() { return FOptionsEx.Contains(aoCellMultiSelect); }
  virtual bool IsDragCollapse() { return FOptionsEx.Contains(aoDragCollapse); }
  virtual bool IsDrawEndEllipsis() { return FOptions.Contains(aoDrawEndEllipsis); }
  virtual bool IsDragExpand() { return FOptionsEx.Contains(aoDragExpand); }
  virtual bool IsDragScroll() { return FOptionsEx.Contains(aoDragScroll); }
  virtual bool IsEditing() { return FOptions.Contains(aoEditing); }
  virtual bool IsEnterShowEditor() { return FOptionsEx.Contains(aoEnterShowEditor); }
  // Enter moves on only when it also opens the editor.
  virtual bool IsEnterThrough() {
    return FOptionsEx.Contains(aoEnterThrough) && FOptionsEx.Contains(aoEnterShowEditor);
  }
  virtual bool IsExtCustomizing() { return FOptions.Contains(aoExtCustomizing); }
  virtual bool IsExtMultiSelect() { return FOptions.Contains(aoExtMultiSelect); }
  virtual bool IsHorzThrough() { return FOptionsEx.Contains(aoHorzThrough); }
  virtual bool IsHorzScrollBar() { return FScrollBars == ssHorizontal || FScrollBars == ssBoth; }
  // A cell-editing grid (aoEditing without aoRowSelect) never scrolls by mouse selection.
  virtual bool IsMouseScroll() {
    return FOptionsEx.Contains(aoMouseScroll) &&
           !(FOptions.Contains(aoEditing) && !FOptions.Contains(aoRowSelect));
  }
  virtual bool IsMultiSelect() { return FOptions.Contains(aoMultiSelect); }
  virtual bool IsMultiSort() { return FOptionsEx.Contains(aoMultiSort); }
  virtual bool IsRowAutoHeight() const {
    return FOptionsEx.Contains(aoRowAutoHeight) && FMaxRowLineCount != 0;
  }
  virtual bool IsRowSelect() { return FOptions.Contains(aoRowSelect); }
  virtual bool IsShowHourGlass() { return FOptionsEx.Contains(aoShowHourGlass); }
  virtual bool IsShowRowFooter() { return FShowRowFooter; }
  virtual bool IsShowPreview() { return FOptions.Contains(aoPreview) && FPreviewLines != 0; }
  virtual bool IsTabThrough() { return FOptions.Contains(aoTabThrough); }
  virtual bool IsVertThrough() { return FOptionsEx.Contains(aoVertThrough); }
  virtual bool IsVertScrollBar() { return FScrollBars == ssVertical || FScrollBars == ssBoth; }
  virtual bool IsUseBitmap() { return FOptionsEx.Contains(aoUseBitmap); }
  virtual bool IsBandButtonClicking() { return FOptionsEx.Contains(aoBandButtonClicking); }
  virtual bool IsBandFullSizing() { return FOptionsEx.Contains(aoFullSizing); }
  virtual bool IsBandPanelSizing() { return FOptionsEx.Contains(aoBandPanelSizing); }
  virtual bool IsBandHeaderWidthWithoutBands() {
    return FOptionsEx.Contains(aoBandHeaderWidth) && !FShowBands;
  }
  virtual bool IsHeaderButtonClicking() { return FOptionsEx.Contains(aoHeaderButtonClicking); }
  virtual bool IsHeaderFullSizing() { return FOptionsEx.Contains(aoFullSizing); }
  virtual bool IsHeaderPanelSizing() { return FOptionsEx.Contains(aoHeaderPanelSizing); }
  virtual bool CanColumnSizing(int /*ColumnIndex*/) { return FOptions.Contains(aoColumnSizing); }
  virtual bool IsRowSizing() { return FOptionsEx.Contains(aoRowSizing); }
  virtual bool IsBandMoving() { return FOptionsEx.Contains(aoBandMoving); }
  virtual bool IsColumnMoving() { return FOptions.Contains(aoColumnMoving); }
  bool HideFocusRect() override { return FOptions.Contains(aoHideFocusRect); }
  bool ShowButtonAlways() override { return FOptionsEx.Contains(aoShowButtonAlways); }
  bool WantTabs() override;

  // ----- Layout (dxTL_Layout.cpp). The sizes the size pass sets from the fonts,
  // options and counts; the layout record; row heights; level footers.
  int BandLineHeight() const { return FBandLineHeight; }
  int BandPanelHeight() const { return FBandPanelHeight; }
  int HeaderLineCount() const { return FHeaderLineCount; }
  int HeaderRowHeight() const { return FHeaderRowHeight; }
  int HeaderPanelHeight() const { return FHeaderPanelHeight; }
  int TextHeight() const { return FTextHeight; }
  int RowLineHeight() const { return FRowLineHeight; }
  int FooterLineHeight() const { return FFooterLineHeight; }
  int FooterPanelHeight() const { return FFooterPanelHeight; }
  int RowFooterHeight() const { return FRowFooterHeight; }
  int PreviewLineHeight() const { return FPreviewLineHeight; }
  int IndicatorWidth() const { return FIndicatorWidth; }
  int DigitWidth() const { return FDigitWidth; }
  int LevelIndent() const { return 16; }
  // The size pass: measures on the shared screen DC, then relayouts. Nothing while
  // loading or being destroyed.
  void CalcSizes();
  void CalcRegions(TdxTreeListDrawInfo& DrawInfo);
  void CalcDrawInfo(TdxTreeListDrawInfo& DrawInfo);
  // Lines of Text wrapped into Width (less Indent); Height is lines x line height + 3.
  int CalcTextLineCount(const AnsiString& Text, int Width, int LineHeight, int& Height,
                        int Indent, bool Flat, TFont* Font, int MaxLines);
  // The row height of Node with LineHeight as base line height, cached per node.
  int GetRowHeight(TdxTreeListNode* Node, int LineHeight, bool NoCache = false);
  virtual int GetPreviewLineCount(TdxTreeListNode* Node);
  int GetNodeContentOffset(TdxTreeListNode* Node);
  // The lines Node's row needs under row auto height (-1 when no cell was measured);
  // LineHeight comes in as the base line height and leaves as the one the row needs.
  virtual int GetRowLineCount(TdxTreeListNode* Node, int& LineHeight);
  // Measures one cell; the base measures nothing.
  virtual bool CalcRowLineHeight(TdxTreeListNode* /*Node*/, int /*Column*/,
                                 const AnsiString& /*Text*/, int /*BoundsWidth*/,
                                 int /*TextHeight*/, int /*MaxLineCount*/, bool /*InflateFlag*/,
                                 bool /*GridFlag*/, int& /*LineCount*/, int& /*LineHeight*/) {
    return false;
  }
  int GetLevelFooterCount(TdxTreeListNode* Node);
  int GetLevelFooterLevel(TdxTreeListNode* Node, int Index);
  int GetFooterCountAboveLevel(TdxTreeListNode* Node, int Level);
  void CalcRowFooterRect(TdxTreeListNode* Node, int Index, TRect& Rect,
                         const TdxTreeListDrawInfo& DrawInfo, int GridPixel, int Top);
  // The data area, reaching left over the row indicator.
  virtual void GetRowsAreaRect(TRect& Rect);
  // (-1, -1, -1, -1) for a node not on the screen.
  void GetNodeRowRect(TdxTreeListNode* Node, TRect& Rect);
  void GetRowRectToBottom(TdxTreeListNode* Node, TRect& Rect);
  // Horizontal areas: the client less the indicator; that less the fixed bands.
  TRect GetGridArea();
  virtual TRect GetScrollingArea() { return GetGridArea(); }
  int GetVisibleWidth();
  // The width of the bands that scroll; the width of all bands.
  virtual int GetScrollableWidth() { return 0; }
  virtual int GetTotalBandWidth() { return 0; }
  int LeftCoord() const { return FLeftCoord; }
  // Clamped; scrolls the window by the shift when it can, else repaints all.
  void SetLeftCoord(int Value);
  // Keeps LeftCoord within the hidden width after the widths or the client changed.
  void ClampLeftCoord();

  // ----- Vertical scroll state (dxTL_Scroll.cpp)
  // Rows at least partly (Visible) and wholly (Full) shown from StartNode in Height.
  void CountRowsInView(TdxTreeListNode* StartNode, int Height, int& VisibleRows, int& FullRows);
  virtual void CalcRowsInView();
  virtual int GetVisibleRowCount() { return FVisibleRowCount; }
  int FullRowCount() const { return FFullRowCount; }
  virtual void GetVertScrollInfo(int& Min, int& Max, int& Page, int& Pos);
  // Both bars, twice: showing one shrinks the client for the other.
  virtual void RefreshScrollBars();
  void UpdateHorzScrollBar();
  void UpdateVertScrollBar();
  int GetTopIndex();
  // Puts row Index at the top (clamped so the last page is full) and scrolls.
  void SetTopIndex(int Index);
  int RowsHeight(int Rows);
  int TopIndexForLastRow(int Index);
  void RemoveScrollBarsIfFit();
  // The sizing line, the insertion arrows and the drag pictures taken off the screen
  // around a paint or a scroll, and put back by the matching show; they nest
  // (dxTL_Drag.cpp).
  virtual void HideDragMarks();
  virtual void ShowDragMarks();
  bool DragMarksHidden() const { return FDragState.MarksHidden > 0; }

  // Row-count questions; the base answers for a grid without bands or columns.
  virtual int GetBandMaxRowCount() { return 5; }
  virtual int GetBandRowCount() { return 1; }
  virtual int GetHeaderPanelMaxRowCount() { return 4; }
  virtual int GetHeaderPanelRowCount() { return 1; }
  virtual int GetHeaderMinRowCount() { return 1; }

  // Data questions; the base has no preview text, footer texts or footers.
  virtual void GetPreviewText(TdxTreeListNode* /*Node*/, AnsiString& Text) { Text = AnsiString(); }
  virtual void GetFooterCellText(TdxTreeListNode* /*Node*/, int /*Column*/, int /*FooterIndex*/,
                                 AnsiString& Text) {
    Text = AnsiString();
  }
  virtual bool IsExistRowFooterCell(TdxTreeListNode* /*Node*/, int /*Column*/,
                                    int /*FooterIndex*/) {
    return false;
  }
  virtual bool IsLevelFooter(int /*Level*/) { return false; }

  // The rows as text, for the copy commands: the header texts of the visible columns in
  // visible order, tab-separated and ended by CR LF; a node's texts the same way,
  // without a line end.
  AnsiString GetHeaderLineText();
  AnsiString GetNodeLineText(TdxTreeListNode* Node);

  // Whether Node may join the selection: OnCanNodeSelected first, then, without
  // aoExtMultiSelect, only a node of the same parent as the selection's reference node.
  virtual bool CanNodeSelected(TdxTreeListNode* Node);
  // The node a new selection member must share its parent with: the first selected
  // node, else the first node of the range being collected; nil while none.
  virtual TdxTreeListNode* GetSelectionReferenceNode();

  // ----- Selection (dxTL_Selection.cpp). The base keeps no selection of its own: a
  // node is selected when it is focused.
  // Brackets around every selection change; the outermost end reports a changed
  // count once (OnSelectedCountChange).
  void BeginSelectionUpdate();
  void EndSelectionUpdate();
  virtual void ClearSelection();
  // -1, 0 or 1: Node's row above, at or below the anchor's (no anchor: row -1).
  virtual int CompareWithAnchor(TdxTreeListNode* Node);
  virtual void DeleteSelection();
  virtual int SelectedCount() { return 0; }
  virtual TdxTreeListNode* SelectedNodes(int /*Index*/) { return nullptr; }
  // The focused row and the selected rows repaint; more than 10 repaint all.
  virtual void InvalidateSelection();
  // Selects the rows from one node to the other.
  virtual void SelectRange(TdxTreeListNode* From, TdxTreeListNode* To);
  virtual void SetAnchorNode(TdxTreeListNode* Node) { FSelectionAnchor = Node; }
  // The first node of the range SelectRange is collecting; nil outside it.
  TdxTreeListNode* RangeStartNode() const { return FRangeStartNode; }
  // The keyboard's range extension, dropped by every clearing and press.
  bool RangeExtending() const { return FRangeExtending; }
  void SetRangeExtending(bool Value) { FRangeExtending = Value; }
  // Below zero when A comes before B in the tree (a parent before its children).
  static int CompareTreeOrder(const TdxTreeListNode* A, const TdxTreeListNode* B);

  // ----- Hit test (dxTL_HitTest.cpp)
  virtual TdxTreeListHitInfo GetHitInfo(TPoint P);
  // htIndent, htButton, htStateIcon, htIcon or htNowhere for P in Node's indent.
  TdxTreeListHitTest GetNodeHitKind(TPoint P, TdxTreeListNode* Node, int RowTop,
                                    const TdxTreeListDrawInfo& DrawInfo);
  // The glyphs of Node's indent from the left of its first band, over [Top, Bottom).
  void GetNodeIndentRects(TdxTreeListNode* Node, int Top, int Bottom,
                          TdxTreeListIndentRects& Rects);
  // Sizing questions of the hit test, answered by the column layer.
  virtual bool IsBandSizable(int /*VisibleBand*/) { return false; }
  virtual bool IsColumnSizable(int Column) { return CanColumnSizing(Column); }
  // One band's header row stands for the bands (default layout without the band panel).
  virtual bool IsHeaderForBands() { return false; }
  // The last column of a band's header row; -1 none.
  virtual int GetBandRowLastColumn(int /*VisibleBand*/, int /*Row*/) { return -1; }

  // ----- Mouse, focus and hot tracking (dxTL_Mouse.cpp)
  TdxTreeListState State() const { return FState; }
  const TdxTreeListHitInfo& DownHitInfo() const { return FDownHit; }
  TdxTreeListNode* DragNode() const { return FDragNode; }
  int PressedBand() const { return FPressedBand; }
  int PressedColumn() const { return FPressedColumn; }
  bool PressedLook() const { return FPressedLook; }
  // Where the sizing line is, where it started, and whether it is on the screen.
  int SizingPos() const { return FSizingPos; }
  int SizingStart() const { return FSizingStart; }
  bool SizingLineShown() const { return FSizingLineShown; }
  // Ends any sizing, pressing or dragging: the sizing line goes, the cursor comes back
  // and the state is normal again.
  void CancelMode();
  // Ends a sizing without applying it: the line goes, the mouse and the cursor come back.
  void CancelSizing();
  TdxTreeListNode* HotNode() const { return FHotNode; }
  int HotColumn() const { return FHotColumn; }
  Byte HotKind() const { return FHotKind; }
  TCursor HotCursor() const { return FHotCursor; }
  void SetHotCursor(TCursor Value) { FHotCursor = Value; }
  bool IsHotCell(TdxTreeListNode* Node, int Column) const {
    return Node == FHotNode && Column == FHotColumn;
  }
  virtual bool IsHotCellAt(const TdxTreeListHitInfo& /*Hit*/, int /*Column*/,
                           TdxTreeListNode* /*Node*/) {
    return FOptionsEx.Contains(aoHotTrack);
  }
  // Kind 1, or 2 in the 15-pixel button zone at the right of the column's header cell.
  virtual bool IsHotHeaderAt(int X, int Y, Byte& Kind, int Column);
  void UpdateHotTrack(const TdxTreeListHitInfo& Hit);

  // ----- Dragging (dxTL_Drag.cpp, dxTL_HeaderDrag.cpp) and panning (dxTL_Pan.cpp)
  const TdxTreeListDragState& DragState() const { return FDragState; }
  // The drag over the control, nil when none; setting it repaints the focused row.
  TDragObject* DragObject() const { return FDragState.Object; }
  void SetDragObject(TDragObject* Value);
  TDragImageList* GetDragImages() override;
  // Draws the insertion arrows at the place given, or erases them (the same call
  // alternates); with HideImage the drag picture stays off them meanwhile.
  void DrawDragArrows(bool HideImage);
  // Whether a drag with Ctrl held copies; never in the tree list.
  virtual bool IsDragCopy() { return false; }
  // The text and picture of a node drag.
  virtual AnsiString GetNodeDragCaption(TdxTreeListNode* Node);
  // Pans the view toward the mouse until a click, Escape or a lost capture ends it.
  void Pan();

  // ----- Keyboard (dxTL_Keys.cpp): moves of the focused node and column, the
  // selection keys, expanding and collapsing, the Ctrl keys and the key press.
  // Node's neighbour by kind: 0 the first node, 1 the row above, 2 the row below (with
  // Deep the next node depth first), 3 the last row (with Deep its last descendant).
  virtual TdxTreeListNode* GetNodeByKind(TdxTreeListNode* Node, int Kind, bool Deep);
  // Focuses the focused node's neighbour by kind; a lone selected focused node hands
  // the selection on under aoMultiSelect.
  virtual TdxTreeListNode* MoveFocusByKind(int Kind, bool Deep);
  bool IsFirstFocused();
  bool IsLastFocused();
  // The control or a window inside it has the input focus.
  bool IsFocused();

  // ----- Incremental search and copying (dxTL_Search.cpp)
  // Takes Column (the focused column when -1), searches Text from the focused node;
  // true when Text is not empty.
  virtual bool StartSearch(int Column, const AnsiString& Text);
  virtual void EndSearch();
  // Mode 0 from the focused node down, 1 upward from the row above, 2 downward from
  // the row below; a miss drops the text (FromStart) or its last character (mode 0).
  virtual void SearchNext(const AnsiString& Text, int Mode, bool FromStart);
  // The first row, one pass round from the focused one, whose text in Column starts
  // with Text in any case.
  virtual bool FindNode(int Column, const AnsiString& Text, TdxTreeListNode*& Node, int Mode);
  bool Searching() const { return FSearching; }
  const AnsiString& SearchText() const { return FSearchText; }
  // The absolute index of the column searched; -1 none.
  int SearchColumn() const { return FSearchColumn; }
  // The header line, then the selected rows in tree order (the focused row without
  // aoMultiSelect).
  void CollectSelectedText(TStrings* Strings);
  // The header line, then every visible row.
  void CollectAllText(TStrings* Strings);
  void CopySelectedToClipboard();

  // ----- The corner button's hint (dxTL_Hint.cpp)
  // The hint's text; a descendant gives one.
  virtual AnsiString GetHintText() { return AnsiString(); }
  // Now: shows the hint beside the corner button for five seconds; else starts the
  // one-second delay.
  void ShowCornerHint(bool Now);
  void HideCornerHint();
  // The 12 x 11 button of the indicator corner; false when there is no corner.
  bool GetCornerButtonRect(TRect& Rect);
  // Hot tracking of the corner button: P in client coordinates; a change starts the
  // delay or hides the hint.
  void TrackCornerButton(const TPoint& P, bool Idle);
  TCustomControl* CornerHintWindow() const { return FCornerHint; }
  bool CornerHintDelayRunning() const { return FCornerShowTimer != 0; }
  bool CornerHintShowRunning() const { return FCornerHideTimer != 0; }
  bool MouseOverCornerButton() const { return FMouseOverCornerButton; }

  void SetParent(TWinControl* AParent) override;
  // The Name of the form that was the parent form when the control last got a parent.
  const AnsiString& FormName() const { return FFormName; }
  void Dispatch(TMessage& Message) override;

  // ----- Painting (dxTL_Paint*.cpp)
  // The row indicator's glyph of Node: 0 none, 1 arrow, 2 edit, 3 insert, 4 multi-dot,
  // 5 multi-arrow.
  virtual Byte GetNodeIndicatorKind(TdxTreeListNode* /*Node*/) { return 0; }
  // The incremental search in progress, its column and text; false while none.
  virtual bool GetSearchState(int& Column, AnsiString& Text);
  // What the paint keeps between paints; made on first use.
  TdxTreeListPaintState& PaintState();

  // ----- In-place editing (dxTL_Editing.cpp). The cell being edited (nullptr, -1 when
  // none), the column the editor was last set up for, and the editor bound to the cell.
  TdxTreeListNode* EditNode() const { return FEditNode; }
  int EditColumn() const { return FEditColumn; }
  int EditSetupColumn() const { return FEditSetupColumn; }
  TdxInplaceEdit* InplaceEditor() const { return FInplaceEditor; }
  // Opens the editor on the focused cell; the others then hand the opened editor a
  // typed key (Ctrl+V pastes, Ctrl+X cuts), the press point or the press's release.
  virtual void ShowEditor();
  void ShowEditorChar(char Key);
  void ShowEditorMouse(int X, int Y);
  virtual void ShowEditorMouseUp();
  // Hides the editor, storing a modified value of the bound cell (PostEditor) and
  // firing OnEdited; the control takes the focus when Refocus or the editor had it.
  void HideEditor(bool Refocus);
  void PostEditor();
  // Validates (a refusal raises and keeps the edit), then ends it storing the value.
  void EndEditing();
  // Binds the editor to the focused cell again and reloads its value, storing nothing.
  void RefreshEditor();
  AnsiString GetEditingText();
  void SetEditingText(const AnsiString& Text);
  virtual void StoreEditorValue(TdxTreeListNode* Node, int ColumnIndex, TdxInplaceEdit* Editor,
                                Variant& Value);
  virtual bool CanShowEditor();
  virtual TdxInplaceEdit* CreateEditor(int ColumnIndex);
  virtual TdxInplaceEdit* FindEditor(int /*ColumnIndex*/) { return FInplaceEditor; }
  virtual void SetupEditor(TdxInplaceEdit* Editor);
  virtual void LoadEditorValue(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value);
  virtual bool CanShowEditorOnClick(int X, int Y, int ColumnIndex, bool WasFocused);
  // The cell's place for the editor and the scroll that shows a column (absolute
  // index); the column layer answers them.
  virtual void GetEditRect(TdxTreeListNode* /*Node*/, int /*VisibleColumn*/, TRect& Rect) {
    Rect = TRect{-1, -1, -1, -1};
  }
  virtual void MakeColumnVisible(int /*Column*/) {}
  // The container's questions.
  bool CanEditModify() override { return true; }
  bool CanEditAcceptKey(char /*Key*/) override { return true; }
  bool SkipEditKeyMessage() override { return FocusedColumn() != FEditSetupColumn; }
  bool ImmediateEditor(int Column) override;
  // A drop-down editor's popup border by the look: single in the flat looks, the
  // 3-D frame in the standard one.
  Byte GetPopupBorderStyle(Byte EditBorderStyle) override;
  void MoveEditColumn(bool Backward) override;
  void EditorFocusChanged() override { InvalidateSelection(); }
  TdxTLImmediateEditorQuery OnImmediateEditorQuery;

  // Node events
  TTLExpandedEvent OnDeletion;
  TTLExpandedEvent OnExpanded;
  TTLExpandedEvent OnCollapsed;
  TTLExpandingEvent OnExpanding;
  TTLExpandingEvent OnCollapsing;
  TTLChangeNodeEvent OnChangeNode;
  TTLChangeColumnEvent OnChangeColumn;
  TNotifyEvent OnChangeTopVisibleNode;
  TTLGetImageEvent OnGetImageIndex;
  TTLGetImageEvent OnGetSelectedIndex;
  TTLGetImageEvent OnGetStateIndex;
  TTLExpandedEvent OnEdited;
  TTLExpandedEvent OnBeginDragNode;
  TTLExpandingEvent OnEditing;
  TNotifyEvent OnChangeLeftCoord;
  TNotifyEvent OnEditChange;
  TNotifyEvent OnSelectedCountChange;
  TNotifyEvent OnEndColumnsCustomizing;  // never fired: there is no customizing box
  TNotifyEvent OnChangedColumnsWidth;
  TdxTLEditValidateEvent OnEditValidate;
  TdxTLGetEditColorEvent OnGetEditColor;
  TdxTLHotTrackNodeEvent OnHotTrackNode;
  TdxTLCanNodeSelected OnCanNodeSelected;
  TSelectionChangedEvent OnSelectionChanged;
  TdxTLCompareEvent OnCompare;

 protected:
  friend class TdxTreeListNode;
  friend class TdxTreeListNodeLinker;

  // Dragging (dxTL_Drag.cpp): automatic drag mode starts node drags here, not on the
  // press; the node drag's steps; the messages of a drag.
  void WndProc(TMessage& Message) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  bool DispatchDragMessage(TMessage& Message);
  // Arms the horizontal drag scroll when P lies near the left or right edge of Area
  // and the vertical one (Up or down) for a node drag; Kind 0 stops them.
  void StartDragScroll(int Kind);
  void StopDragScroll();
  // Ends a node drag of this control without a drop and a panning of it, and stops
  // the drag scroll (a cancelled mode).
  void CancelDragAndPan();
  void DragScrollTick();
  void DragExpandTick();
  void FreeDragImages();
  // The drag picture of a node: its image and caption with a focus frame.
  void MakeNodeDragImages(TdxTreeListNode* Node);
  TdxTreeListDragState FDragState;

  // Node hooks
  virtual void NodeInserted(TdxTreeListNode* Node);
  virtual void NodeDeleted(TdxTreeListNode* Node, TdxTreeListNode* Prev, bool WasVisible,
                           bool WasLast, TdxTreeListNode* Next);
  virtual bool FocusNodeOnCollapse(TdxTreeListNode* Node);
  virtual void NodeChanged(TdxTreeListNode* Node, bool Relayout);
  virtual bool CanSetNodeData() { return true; }
  virtual bool NodeHasChildren(TdxTreeListNode* Node) { return Node->Count() > 0; }
  virtual TdxTreeListNode* CreateNode() = 0;
  virtual int GetNodeImageIndex(TdxTreeListNode* /*Node*/) { return -1; }
  virtual int GetNodeSelectedIndex(TdxTreeListNode* /*Node*/) { return -1; }
  virtual int GetNodeStateIndex(TdxTreeListNode* /*Node*/) { return -1; }
  virtual Variant GetNodeValue(TdxTreeListNode* Node, int Column);
  virtual AnsiString GetNodeString(TdxTreeListNode* Node, int Column) = 0;
  virtual void SetNodeImageIndex(TdxTreeListNode* /*Node*/, int /*Value*/) {}
  virtual void SetNodeSelectedIndex(TdxTreeListNode* /*Node*/, int /*Value*/) {}
  virtual void SetNodeStateIndex(TdxTreeListNode* /*Node*/, int /*Value*/) {}
  virtual void SetNodeString(TdxTreeListNode* /*Node*/, int /*Column*/,
                             const AnsiString& /*Text*/) {}
  virtual void SetNodeValue(TdxTreeListNode* Node, int Column, const Variant& Value) = 0;
  virtual bool IsNodeSelected(TdxTreeListNode* Node) { return Node == FFocusedNode; }
  virtual void SetNodeSelected(TdxTreeListNode* Node, bool Value);
  virtual int GetVisibleColumnCount() const { return 0; }
  // The column (its index among all columns) shown at a visible position; -1 none.
  virtual int GetAbsoluteColumnIndex(int /*VisibleIndex*/) const { return -1; }
  // The first visible position that shows the column AbsoluteIndex; -1 when none does.
  int FindVisibleColumn(int AbsoluteIndex) const;
  virtual AnsiString GetHeaderColumnText(int /*AbsoluteIndex*/) const { return AnsiString(); }

  // Events
  virtual void DoExpanding(TdxTreeListNode* Node, bool& Allow);
  virtual void DoCollapsing(TdxTreeListNode* Node, bool& Allow);
  virtual void DoExpanded(TdxTreeListNode* Node);
  virtual void DoCollapsed(TdxTreeListNode* Node);
  virtual void DoChangeNode(TdxTreeListNode* OldNode, TdxTreeListNode* Node);
  virtual void DoChangeColumn(TdxTreeListNode* Node, int Column);
  virtual void DoEdited(TdxTreeListNode* Node);
  virtual void DoEditing(TdxTreeListNode* Node, bool& Allow);
  virtual void DoChangeLeftCoord();
  // The editor's text changed; Sender is the column.
  virtual void DoEditChange(TObject* Sender);
  virtual void DoEditValidate(TObject* Sender, AnsiString& ErrorText, bool& Accept);
  virtual void DoBeginDragNode(TdxTreeListNode* Node);
  virtual void DoHotTrackNode(TdxTreeListHotTrackInfo& Info, TCursor& Cursor);
  // Not while the control is being destroyed.
  virtual void DoSelectedCountChange();
  TColor GetEditColor() override;
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Runs when an image list in use changed.
  virtual void ImageListChange(TObject* Sender);

  // Layout hooks the column layer fills: bands and header cells of the record, the
  // header lines the columns need, the tallest column font's line height, a column's
  // display width.
  virtual void CalcBandsAndHeaders(TdxTreeListDrawInfo& /*DrawInfo*/) {}
  virtual int GetColumnsHeaderLineCount() { return 1; }
  virtual int GetColumnFontsLineHeight(TCanvas* /*Canvas*/) { return 0; }
  virtual int GetColumnDisplayWidth(int /*AbsoluteIndex*/) { return 0; }
  // Sets a scroll bar's state; the one place that does.
  virtual void ApplyScrollInfo(int Bar, const SCROLLINFO& Info);
  void CreateWnd() override;
  // The scroll and size messages, and the font and colour notifications.
  void WMVScroll(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMSize(TMessage& Message);
  void ScrollRows(int DY);
  void ScrollColumns(int DX);
  // Row Node's row and the rows below it changed: they repaint and the scroll bars
  // are brought up to date once for a run of changes, through a posted message.
  void RowsChanged(int Row);
  void ApplyRowsChanged();
  // The scroll, size and row-change messages; false for any other.
  bool DispatchScrollMessage(TMessage& Message);
  // The background and the non-client frame of the flat looks; false for any other
  // message.
  bool DispatchFrameMessage(TMessage& Message);
  // The one-pixel ring of a flat look with a single border, inside the window.
  bool HasFlatBorder() const;
  void PaintFlatBorder();
  // Draws the Outlook style's expand glyphs again when they exist (a look or system
  // colour change) and repaints.
  void RedrawExpandGlyphs();
  // Moves the top row up when rows below it are left unused.
  void KeepTopInRange();
  // The client size changed: the column layer refits auto widths.
  virtual void SizeChanged() {}
  virtual bool HasFixedBands() { return false; }
  virtual int GetFirstBandWidth() { return GetVisibleWidth(); }

  // Rows
  virtual void DropRowIndex();
  virtual void ResetRowHeightCache();
  virtual void UpdateLayout();
  virtual void UpdateRowIndex();
  // Runs in the layout pass after the row index is dropped and before it is rebuilt.
  virtual void AfterLayout() {}
  void NodeStructureChanged(TdxTreeListNode* Node, bool Deleted);
  void ClearNodeReferences();
  void InvalidateArea(const RECT& Rect);
  void InvalidateClient();

  // Editing. EndEdit is where everything else ends a running edit: storing its value
  // after validating it (a refusal raises and keeps the edit), or dropping it.
  virtual void EndEdit(bool StoreValue);
  // The focus left for another control of the form: the edit ends storing its value.
  void DoExit() override;
  // Forgets the edit cell and ends a running edit without validating or storing it:
  // what inserting and deleting nodes and every update do.
  void AbandonEdit();
  void SetEditCell(TdxTreeListNode* Node, int Column) {
    FEditNode = Node;
    FEditColumn = Column;
  }

 public:
  // The column at absolute index From moved to To, or left the control (To -1). What
  // the control keeps of a column by its absolute index (the edited column, the search
  // column, the hot, pressed, clicked and dragged header) follows it; what it kept of a
  // column that left is let go: an edit on it ends storing nothing, a press or a drag of
  // its header ends without a click or a drop.
  void ColumnIndexMoved(int From, int To);
  // The same for the band at absolute index From: a drag of its header follows it, or
  // ends when it left; a press or a sizing of a band header ends (it is known by its
  // visible place).
  void BandIndexMoved(int From, int To);

 protected:
  // Forgets Node wherever the control remembers it, when the node goes while others
  // remain; a reference that has to stay on a node moves to Replacement.
  virtual void ReleaseNodeReferences(TdxTreeListNode* Node, TdxTreeListNode* Replacement);
  TdxTreeListNode* SelectionAnchor() const { return FSelectionAnchor; }
  void SetSelectionAnchor(TdxTreeListNode* Node) { FSelectionAnchor = Node; }

  unsigned RowHeightGeneration() const { return FRowHeightGeneration; }

  // Keys (dxTL_Keys.cpp). The editing hooks the keys call; the base has no editor.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  virtual bool CanProcessKeys() { return true; }
  virtual bool EditorShown();
  // Opens the editor and hands it Key; false when no editor opened.
  virtual bool ShowEditorWithKey(char Key);
  // Escape: the editor goes back to its value at the opening and closes.
  virtual void EditorEscape();
  // Whether the column at a visible position takes the Tab key.
  virtual bool IsVisibleColumnTabStop(int /*VisibleIndex*/) { return true; }
  // The column above (Dir -1) or below (+1) the focused one in a band of several
  // column rows: its visible index and whether it lies on the row before or after.
  virtual bool FindVertColumn(int /*Dir*/, int& /*VisibleColumn*/, int& /*RowStep*/) {
    return false;
  }
  // The messages of keys, hints and timers (dxTL_Hint.cpp); false for any other.
  bool DispatchKeyMessage(TMessage& Message);

  // Mouse handlers and the messages of the mouse, focus, cursor and timers
  // (dxTL_Mouse.cpp).
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The platform's double click runs only from the mouse-down rule.
  void DblClick() override {}
  bool DispatchMouseMessage(TMessage& Message);
  // Hooks of the sizing, dragging, best fit, clicks and editing that build on the
  // mouse; the base has none of them.
  virtual void BandBestFit(int /*VisibleBand*/) {}
  virtual void ColumnBestFit(int /*Column*/) {}
  // A sizing ended on mouse up at Pos (x or y by the state).
  virtual void EndSizing(TdxTreeListState /*Sizing*/, int /*Pos*/) {}
  // The sizing line (dxTL_Sizing.cpp). Pos kept inside the limits of the sizing in
  // progress (snapped to row boundaries for the panels); the base leaves it.
  virtual int ClampSizingPos(TdxTreeListState /*Sizing*/, int Pos) { return Pos; }
  // The inverted line at SizingPos: drawn and erased by the same call.
  void ToggleSizingLine();
  void HideSizingLine();
  // Draws it when a sizing runs and it is not on the screen.
  void ShowSizingLine();
  // Clamps Pos and moves the line there.
  void MoveSizingLine(int Pos);
  virtual bool CanBandDrag(int /*VisibleBand*/) { return false; }
  virtual bool CanColumnDrag(int /*Column*/) { return false; }
  virtual void StartBandDrag(int /*VisibleBand*/) { FState = tsBandDragging; }
  virtual void StartColumnDrag(int /*Column*/) { FState = tsColumnDragging; }
  // The header drag after its start: each move, and the end with or without the drop
  // (dxTL_HeaderDrag.cpp in the column layer); the base only leaves the state.
  virtual void MoveHeaderDrag(int /*X*/, int /*Y*/) {}
  virtual void EndHeaderDrag(bool /*Drop*/) { FState = tsNormal; }
  virtual void DoBandClick(int /*VisibleBand*/) {}
  virtual void DoColumnClick(int /*Column*/, bool /*AddToSort*/, bool /*Ctrl*/) {}
  virtual void DoBandButtonClick() {}
  virtual void DoHeaderButtonClick() {}
  // The click-to-edit timer fired in the normal state; a mouse up may open the editor.
  virtual void ClickEditTimer() { ShowEditor(); }
  virtual void StartMousePanning() { Pan(); }
  // The node drag of automatic drag mode.
  virtual void StartNodeDrag();
  // The pressed look of a band, header or corner button changed; the base repaints
  // the panels.
  virtual void PressedLookChanged() { InvalidateHeaderPiece(); }
  void InvalidateHeaderPiece();
  // Node leaves the selection, whatever the options (it is being freed).
  virtual void RemoveFromSelection(TdxTreeListNode* /*Node*/) {}

 private:
  // The mouse (dxTL_Mouse.cpp)
  void MouseDownOnHeader(const TdxTreeListHitInfo& Hit, bool Double, int X, int Y);
  void MouseDownOnRow(const TdxTreeListHitInfo& Hit, TMouseButton Button, TShiftState Shift,
                      int X, int Y);
  void MouseMoveSelecting(const TdxTreeListHitInfo& Hit, int X, int Y);
  void FollowPressedLooks(const TdxTreeListHitInfo& Hit);
  void SetPressedLook(bool Value);
  void SelectionScrollTick();
  void WMTimer(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void InvalidateHot(TdxTreeListNode* Node, int Column, Byte Kind);
  void FocusChanged(bool Gained, HWND Other);
  // The editing side of the messages, of focus arrival, of a press and of a layout
  // (dxTL_Editing.cpp).
  bool DispatchEditMessage(TMessage& Message);
  void EditorFocusArrived(bool FromEditor);
  bool EndEditForPress();
  void KeepEditorOnCell();
  void ShowEditing(bool AllowAfterShow);
  TdxInplaceEdit* FInplaceEditor = nullptr;
  int FEditSetupColumn = -1;
  // The edited column's absolute index, kept on it by ColumnIndexMoved.
  int FEditAbsoluteColumn = -1;
  bool FHidingEditor = false;
  bool FRefocusEditor = false;

  TdxTreeListState FState = tsNormal;
  TdxTreeListHitInfo FDownHit;
  TPoint FDownPoint{0, 0};
  int FSizingStart = 0;
  int FSizingPos = 0;
  bool FSizingLineShown = false;
  int FPressedBand = -1;
  int FPressedColumn = -1;
  bool FPressedLook = false;
  TdxTreeListNode* FDragNode = nullptr;
  TdxTreeListNode* FFocusedBeforeClick = nullptr;
  bool FSelectingInProgress = false;
  bool FDeferredSelect = false;
  bool FScrollingUp = false;
  TdxTreeListNode* FHotNode = nullptr;
  int FHotColumn = -1;
  Byte FHotKind = 0;
  TCursor FHotCursor = crDefault;
  bool FHotCursorAssigning = false;
  TPoint FHitTestPoint{0, 0};
  // The selection brackets (dxTL_Selection.cpp)
  int FSelectionUpdateCount = 0;
  int FSelectionCountAtBegin = 0;
  TdxTreeListNode* FRangeStartNode = nullptr;
  bool FRangeExtending = false;

 protected:
  void SetRangeStartNode(TdxTreeListNode* Node) { FRangeStartNode = Node; }

 private:
  void ChangeExpanded(TdxTreeListNode* Node, bool Value);
  // Patches the rows after Node was expanded or collapsed; false when the index
  // could not be patched.
  bool PatchExpanded(TdxTreeListNode* Node);
  void PatchInsertion(TdxTreeListNode* Node);
  void PatchDeletion(TdxTreeListNode* Node);
  void RebuildRowIndex();
  // Walking answers.
  int WalkRowCount() const;
  int WalkRowOf(const TdxTreeListNode* Node) const;
  TdxTreeListNode* WalkNodeAt(int Index) const;
  static TdxTreeListNode* WalkNext(const TdxTreeListNode* Node);

  TdxTreeListNodeList FNodes;
  TdxTreeListNode* FFocusedNode = nullptr;
  TdxTreeListNode* FTopVisibleNode = nullptr;
  TdxTreeListNode* FEditNode = nullptr;
  TdxTreeListNode* FSelectionAnchor = nullptr;
  int FEditColumn = -1;
  int FFocusedColumn = 0;
  int FFocusedAbsoluteIndex = -1;
  int FUpdateCount = 0;
  bool FClearing = false;
  TdxTreeListOptions FOptions = DefaultTreeListOptions;
  TdxTreeListOptionsEx FOptionsEx = DefaultTreeListOptionsEx;
  int FMaxRowLineCount = -1;

  void ChangeColor(TColor& Field, TColor Value);
  void ChangeFlag(bool& Field, bool Value);
  void ChangeSize(int& Field, int Value);
  void ChangeImages(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);
  void FontChanged(TObject* Sender);

  TColor FArrowsColor = clLime;
  TColor FAutoSearchColor = clNone;
  TColor FAutoSearchTextColor = clNone;
  TColor FGroupNodeColor = clBtnFace;
  TColor FGroupNodeTextColor = clNone;
  TColor FRowFooterColor = cl3DLight;
  TColor FRowFooterTextColor = clWindowText;
  TColor FHeaderColor = clBtnFace;
  TColor FBandColor = clBtnFace;
  TColor FFixedBandLineColor = clWindowFrame;
  TColor FHighlightColor = clHighlight;
  TColor FHighlightTextColor = clHighlightText;
  TColor FTreeLineColor = clBtnShadow;
  TColor FHideSelectionColor = clBtnFace;
  TColor FHideSelectionTextColor = clBtnText;
  TColor FGridLineColor = clNone;
  TFont* FBandFont = nullptr;
  TFont* FHeaderFont = nullptr;
  TFont* FPreviewFont = nullptr;
  bool FAutoExpandOnSearch = true;
  bool FDblClkExpanding = true;
  bool FHideFocusRect = true;
  bool FHideSelection = true;
  bool FShowBands = false;
  bool FShowButtons = true;
  bool FShowGrid = false;
  bool FShowPreviewGrid = true;
  bool FShowHeader = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FShowRowFooter = false;
  bool FShowIndicator = false;
  bool FShowFooter = false;
  bool FSimpleCustomizeBox = false;
  bool FShowHiddenInCustomizeBox = false;
  int FCustomizingRowCount = 11;
  int FIndentDesc = 20;
  int FFixedBandLineWidth = 2;
  int FRowSeparatorLineWidth = 1;
  int FPreviewLines = 2;
  int FDefaultRowHeight = 18;
  bool FDefaultRowHeightAssigned = false;
  Cardinal FWaitForExpandNodeTime = 500;
  TdxTreeListPaintStyle FPaintStyle = psStandard;
  TdxTreeLineStyle FTreeLineStyle = tlDot;
  TFormBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  TChangeLink* FImageChangeLink = nullptr;
  TChangeLink* FStateChangeLink = nullptr;
  AnsiString FFormName;

  // The sizes of the size pass.
  int FBandLineHeight = 0;
  int FBandPanelHeight = 0;
  int FHeaderLineCount = 1;
  int FHeaderRowHeight = 0;
  int FHeaderPanelHeight = 0;
  int FTextHeight = 13;
  int FRowLineHeight = 16;
  int FFooterLineHeight = 0;
  int FFooterPanelHeight = 0;
  int FRowFooterHeight = 0;
  int FPreviewLineHeight = 0;
  int FIndicatorWidth = 0;
  int FImageWidth = 0;
  int FImageHeight = 0;
  int FStateImageWidth = 0;
  int FStateImageHeight = 0;
  int FDigitWidth = 0;
  int FLeftCoord = 0;
  int FChangedFromRow = -1;
  bool FRowsChangePosted = false;
  int FVisibleRowCount = 1;
  int FFullRowCount = 1;

  // The visible-row index: the node of every row and the row of every node.
  TdxTreeListRowList FRows;
  bool FRowIndexBuilt = false;
  bool FRowIndexFrozen = false;
  TdxTreeListNode* FChangedNode = nullptr;
  bool FChangedNodeVisible = false;
  bool FChangedNodeDeleted = false;
  // The visibility a deletion recorded before unlinking its node.
  bool FDeletedNodeVisible = false;

  // Counts the changes of the tree's shape: a node linked or unlinked, a node expanded
  // or collapsed. Whatever else relinks nodes or sets Expanded counts through it too.
  void ShapeChanged() { ++FShapeChanges; }
  unsigned FShapeChanges = 0;
  // What the deletion of a subtree already knows of the next node it frees: whether
  // the node is visible and the node past its subtree (TdxTreeListNode::NextVisible).
  struct TDeletionHint {
    const TdxTreeListNode* Node = nullptr;
    bool Visible = false;
    TdxTreeListNode* PastSubtree = nullptr;
  };
  TDeletionHint FDeletionHint;
  unsigned FRowHeightGeneration = 1;
  std::unique_ptr<TdxTreeListPaintState, TdxTreeListPaintStateFree> FPaintState;

  // Keys and search (dxTL_Keys.cpp, dxTL_Search.cpp)
  void PlainKey(Word Key, TShiftState Shift);
  void CtrlKey(Word Key, TShiftState Shift);
  int PageMoveTarget(int Dir);
  void RangeMove(int Row, bool Extend);
  void RowMove(int Dir, bool Extend);
  // The focused row, and outside row select its column, scrolled into view.
  void MakeFocusedCellVisible();
  bool NextTabColumn(int From, int Dir, int& Column);
  void MoveToRowColumn(int Row, int Column);
  std::vector<TdxTreeListNode*> SelectedInTreeOrder();
  bool FSearching = false;
  AnsiString FSearchText;
  int FSearchColumn = -1;
  int FSearchCounter = 0;
  // The corner hint (dxTL_Hint.cpp)
  UINT_PTR FCornerShowTimer = 0;
  UINT_PTR FCornerHideTimer = 0;
  TCustomControl* FCornerHint = nullptr;
  bool FMouseOverCornerButton = false;
};

// Registers the tree list's classes and published properties for form files.
void InitdxTL();
void DonedxTL();

// The control with its columns and bands, and the published tree list.
#include "treelist/dxTL_Control.h"
