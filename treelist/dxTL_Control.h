// The tree list's upper layers, included by dxTL.h (include that): the control that
// keeps cell texts and holds the columns and bands (implemented in dxTL_Control.cpp,
// dxTL_Answers.cpp and the topic files dxTL.h names), and TdxTreeList, the published
// control with the automatic re-sort check.
#pragma once

#include "treelist/dxTL.h"

// The tree list that keeps cell texts and image indexes in its nodes, and holds the
// columns and bands: the column list (a column's Index is its place there), the band
// collection, the header and band row counts, the single-band default layout, the
// sort-column list and the layout caches. It answers the core's band and column
// questions and fires the band and column events (dxTL_Answers.cpp).
class TCustomdxTreeListControl : public TCustomdxTreeList {
  TCLASS_DECL(TCustomdxTreeListControl, TCustomdxTreeList)
 public:
  // One band, added before the band collection knows the tree list.
  explicit TCustomdxTreeListControl(TComponent* AOwner);
  ~TCustomdxTreeListControl() override;
  // Frees the columns last to first and the bands, then the core's destruction.
  void BeforeDestruction() override;
  // Packs the header rows, rebuilds the sort-column list in the stored order, then
  // restores a stored layout.
  void Loaded() override;
  // The controls and the columns that Root owns.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  // The column steps: aoAutoSort newly set, aoMultiSort switched off and aoAnsiSort
  // changed reset every column's sort; aoAutoHeaderPanelHeight switched on fits the
  // header rows to the columns.
  void SetOptions(TdxTreeListOptions Value) override;
  void SetOptionsEx(TdxTreeListOptionsEx Value) override;
  // A change of the locale's settings reaches every column.
  void Dispatch(TMessage& Message) override;

  // ----- Columns
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  // Raises EListError out of range.
  TdxTreeListColumn* Columns(int Index) const;
  // Nullptr out of range.
  TdxTreeListColumn* FindColumn(int Index) const;
  int IndexOfColumn(const TdxTreeListColumn* Column) const;
  void AddColumn(TdxTreeListColumn* Column);
  void RemoveColumn(TdxTreeListColumn* Column);
  // A column of that class owned by AOwner, named after the tree list ("tlColumn3").
  TdxTreeListColumn* CreateColumnEx(TComponentClass ColumnClass, TComponent* AOwner);
  TdxTreeListColumn* CreateColumn(TComponentClass ColumnClass) {
    return CreateColumnEx(ColumnClass, Owner());
  }
  // Copies Source's columns: same classes, values and names.
  void AssignColumns(TCustomdxTreeListControl* Source);
  void DestroyColumns();
  // Column is nullptr for a change of the whole layout.
  virtual void ColumnChanged(TdxTreeListColumn* Column);
  // Moves every text node's cell text from one column index to another.
  void ColumnMoved(int FromIndex, int ToIndex);
  // Fits one column, or every column (nullptr) inside one update.
  void ApplyBestFit(TdxTreeListColumn* Column);

  // ----- Bands and header rows
  // The most rows of band captions, of header lines and of header rows: far more than
  // a screen shows, and few enough that no panel height leaves 32 bits.
  static constexpr int RowCountLimit = 1000;
  TdxTreeListBands* Bands() const { return FBands; }
  void SetBands(TdxTreeListBands* Value);
  int BandRowCount() const { return FBandRowCount; }
  void SetBandRowCount(int Value);
  int BandMaxRowCount() const { return FBandMaxRowCount; }
  void SetBandMaxRowCount(int Value);
  int HeaderPanelRowCount() const { return FHeaderPanelRowCount; }
  // Clamped to 1..HeaderPanelMaxRowCount; an assignment of its own switches
  // aoAutoHeaderPanelHeight off, and more than one row ends the default layout.
  void SetHeaderPanelRowCount(int Value);
  int HeaderPanelMaxRowCount() const { return FHeaderPanelMaxRowCount; }
  void SetHeaderPanelMaxRowCount(int Value);
  int HeaderMinRowCount() const { return FHeaderMinRowCount; }
  void SetHeaderMinRowCount(int Value);
  // True applies one visible band holding every column under one header row.
  bool DefaultLayout() const { return FDefaultLayout; }
  void SetDefaultLayout(bool Value);
  int GetBandMaxRowCount() override { return FBandMaxRowCount; }
  int GetBandRowCount() override { return FBandRowCount; }
  int GetHeaderPanelMaxRowCount() override { return FHeaderPanelMaxRowCount; }
  int GetHeaderPanelRowCount() override { return FHeaderPanelRowCount; }
  int GetHeaderMinRowCount() override { return FHeaderMinRowCount; }
  // Clamps every column's row into the header and removes the empty header rows of
  // every band.
  void PackHeaderRows();
  // One more than the largest row of the visible columns; 0 without any.
  int ColumnsHeaderRowCount() const;
  // Whether a form file holds the header's row count: always without automatic header
  // rows; with them, only when reading would not count the same rows from the columns
  // (none shown, or rows kept from before the columns came).
  bool HeaderPanelRowCountStored() const;
  // What the band collection's change notification asks of the tree list.
  void BandsChanged();

  // ----- Sorting
  int SortColumnCount() const override { return static_cast<int>(FSortColumns.size()); }
  TdxTreeListColumn* SortColumns(int I) const { return FSortColumns[I]; }
  int SortColumnIndex(int I) const override;
  bool IsSortColumnDescending(int I) const override;
  void AddSortColumn(TdxTreeListColumn* Column);
  void RemoveSortColumn(TdxTreeListColumn* Column);
  // Empties the sort-column list and sets every column's sort to csNone without
  // re-sorting, events or repainting.
  void ClearSortColumns() override;
  // The header click's sort: OnColumnSorting may refuse; ClearSort sets csNone, else
  // csUp and csDown alternate. AddToSort keeps the other sort columns.
  void ToggleColumnSort(TdxTreeListColumn* Column, bool AddToSort = false,
                        bool ClearSort = false);
  bool ExtendingSort() const { return FExtendingSort; }

  // ----- Stored layout (dxTL_StoredLayout.cpp): the grid values, the bands and the
  // columns under one root section, in the registry (below the current user's key) or
  // in an ini file.
  const AnsiString& IniFileName() const { return FIniFileName; }
  void SetIniFileName(const AnsiString& Value) { FIniFileName = Value; }
  const AnsiString& IniSectionName() const { return FIniSectionName; }
  void SetIniSectionName(const AnsiString& Value) { FIniSectionName = Value; }
  const AnsiString& RegistryPath() const { return FRegistryPath; }
  void SetRegistryPath(const AnsiString& Value) { FRegistryPath = Value; }
  // A missing key loads nothing.
  void LoadLayoutFromRegistry(const AnsiString& Path);
  void LoadLayoutFromIniFile(const AnsiString& FileName);
  void SaveLayoutToRegistry(const AnsiString& Path);
  void SaveLayoutToIniFile(const AnsiString& FileName);
  void LoadLayout(TCustomIniFile* IniObject, const AnsiString& Path);
  void SaveLayout(TCustomIniFile* IniObject, const AnsiString& Path);
  // "\" in front, no "\" at the end; empty stays empty.
  static AnsiString NormalizeLayoutPath(const AnsiString& Path);
  // The root section of the ini layout: IniSectionName, else the form name, "_" and
  // the control's Name (the current parent form's name when Loading, else the one
  // remembered when the control last got a parent).
  AnsiString IniLayoutSection(bool Loading);
  // An update in which re-sorting waits: the end of the outermost one re-sorts once.
  virtual void BeginLayoutUpdate();
  virtual void EndLayoutUpdate();
  int LayoutUpdateCount() const { return FLayoutUpdateCount; }
  bool ApplyingLayout() const { return FApplyingLayout; }
  // The sort-column list from the columns that sort, by their stored sort positions.
  void RebuildSortColumns();

  // ----- Layout (dxTL_LayoutBands.cpp): widths under aoAutoWidth, by visible band.
  // A band's smallest width: MinWidth (Width when it may not be sized), at least each
  // row's column minimums.
  int GetBandMinimumWidth(int VisibleBand) const;
  // Its width before sharing: Width, or with aoBandHeaderWidth its widest row.
  int GetBandNaturalWidth(int VisibleBand) const;
  // What every visible band is shown at (auto width shares the rows area).
  std::vector<int> GetBandDisplayWidths();
  int GetBandDisplayWidth(int VisibleBand);
  int GetTotalBandWidth() override;
  int GetScrollableWidth() override;
  TRect GetScrollingArea() override;
  // The summed display widths of the bands before it; 0 for a fixed band.
  int GetBandOffset(int VisibleBand);
  // Scrolls LeftCoord so the band or column shows (its left edge first).
  void MakeBandVisible(int VisibleBand);
  void MakeColumnVisible(int Column) override;
  // The display width of a shown column: its share of its band row.
  int GetColumnDisplayWidth(int Column) override;
  // Fills the column-widths cache with every column's display width.
  void BuildColumnWidthCache();
  // Shares Avail among a band row's columns: MinWidth and Sizing kept, the last
  // column takes the rest.
  std::vector<int> ShareRowWidths(int Avail, const std::vector<int>& Columns) const;
  // The cell of Node in a visible column, from a fresh layout; all -1 when the column
  // has no header cell on the screen or the node no row.
  void GetCellRect(TdxTreeListNode* Node, int VisibleColumn, TRect& Rect);
  // Where the in-place editor of that cell goes.
  void GetEditRect(TdxTreeListNode* Node, int VisibleColumn, TRect& Rect) override;
  // Measures a cell through its column's editor class, without a window.
  bool CalcRowLineHeight(TdxTreeListNode* Node, int Column, const AnsiString& Text,
                         int BoundsWidth, int TextHeight, int MaxLineCount, bool InflateFlag,
                         bool GridFlag, int& LineCount, int& LineHeight) override;
  TdxTLCalcRowLineHeightEvent OnCalcRowLineHeight;

  // ----- Layout caches, filled by each layout pass and dropped by every change.
  bool LayoutCachesFilled() const { return FCachesFilled; }
  void DropLayoutCaches();
  void BuildLayoutCaches();
  // The display width of each column (0 for one not shown), kept by the sizing.
  std::vector<int>& ColumnWidthCache() { return FCacheColumnWidths; }

  // ----- Band answers
  int GetBandCount() const;
  int GetVisibleBandCount() const;
  int GetAbsoluteBandIndex(int VisibleIndex) const;
  int GetVisibleBandIndex(int AbsoluteIndex) const;
  virtual TAlignment GetBandAlignment(int AbsoluteIndex) const;
  virtual AnsiString GetBandCaption(int AbsoluteIndex) const;
  int GetBandWidth(int AbsoluteIndex) const;
  int GetBandMinWidth(int VisibleIndex) const;
  bool IsBandOnlyOwnColumns(int VisibleIndex) const;
  int GetBandFixedLeft() const;
  int GetBandFixedRight() const;
  bool CanBandSizing(int VisibleIndex);
  bool IsBandHidden(int AbsoluteIndex) const;
  bool IsBandDisableCustomizing(int AbsoluteIndex) const;
  bool CanBandDragging(int VisibleIndex);
  int GetHeaderRowCount(int VisibleBand) const;
  int GetHeaderColumnCount(int VisibleBand, int Row) const;
  // The absolute index of the shown column at that place; -1 when none.
  int GetHeaderAbsoluteColumnIndex(int VisibleBand, int Row, int Col) const;

  // ----- Column answers (by absolute index)
  bool IsColumnShown(int Column) const;
  // Shown columns, header row by header row, band by band, then by position.
  int GetVisibleColumnCount() const override;
  int GetAbsoluteColumnIndex(int VisibleIndex) const override;
  // 0 for a column that is not shown.
  int GetVisibleColumnIndex(int AbsoluteIndex) const;
  AnsiString GetHeaderColumnText(int AbsoluteIndex) const override;
  // '' while DisableCaption.
  virtual AnsiString GetHeaderCaption(int Column) const;
  virtual TColor GetColumnColor(int Column) const;
  virtual TFont* GetColumnFont(int Column) const;
  virtual bool IsColumnFontAssigned(int Column) const;
  TAlignment GetColumnAlignment(int Column) const;
  virtual TAlignment GetColumnHeaderAlignment(int Column) const;
  virtual bool HasHeaderGlyph(int Column) const;
  virtual TBitmap* GetHeaderGlyph(int Column) const;
  int GetHeaderLineCount(int Column) const;
  int GetColumnWidth(int Column) const;
  // A column that may not be sized keeps its width.
  int GetColumnMinWidth(int Column) const;
  int GetColumnBandIndex(int Column) const;
  int GetColumnRowIndex(int Column) const;
  int GetColumnColIndex(int Column) const;
  bool IsColumnTabStop(int Column) const;
  // The keys' column questions (dxTL_Keys.cpp).
  bool IsVisibleColumnTabStop(int VisibleIndex) override;
  bool FindVertColumn(int Dir, int& VisibleColumn, int& RowStep) override;
  bool IsColumnDisableCustomizing(int Column) const;
  // The sort mark of the header, through OnColumnSorted.
  virtual TdxTreeListColumnSort GetColumnSorted(int Column);
  bool CanColumnDragging(int Column);
  int GetCellTextWidth(TCanvas* Canvas, int Column, TdxTreeListNode* Node);
  virtual bool IsExistFooterCell(int Column);

  // ----- Band and column actions
  void SetBandWidth(int VisibleIndex, int Width);
  // Only for a column that may be sized; no notification.
  void SetColumnWidth(int Column, int Width);
  void ScaleBandWidths(int Numerator, int Denominator);
  void ScaleColumnWidths(int VisibleBand, int Numerator, int Denominator);
  void FitBandColumns(int VisibleBand);
  void FitColumn(int Column);
  void MoveBand(int FromVisible, int ToVisible);
  void HideBand(int AbsoluteIndex);
  void ShowBand(int AbsoluteIndex, int VisiblePos);
  void BandClick(int AbsoluteIndex);
  void BandButtonClick();
  void HeaderButtonClick();
  void StartBandDragging(int AbsoluteIndex);
  void DragOverBand(int AbsoluteIndex, TPoint P, bool& Accept);
  void DragEndBand(int AbsoluteIndex, TPoint P, int VisibleIndex, int& NewIndex, bool& Accept);
  void MoveColumn(int Column, int VisibleBand, int Row, int Col);
  void ShowColumn(int Column, int VisibleBand, int Row, int Col);
  void HideColumn(int Column);
  void StartHeaderDragging(int Column);
  void DragOverHeader(int Column, TPoint P, bool& Accept);
  void DragEndHeader(int Column, TPoint P, TdxHeaderPosInfo& NewPosInfo, bool& Accept);
  void ColumnMovedByDrag(int FromIndex, int ToIndex);
  // OnColumnClick, then, with aoAutoSort, the sort toggle.
  void ColumnClick(int Column, bool AddToSort = false, bool ClearSort = false);

  // ----- Sizing by the mouse (dxTL_Sizing.cpp)
  int ClampSizingPos(TdxTreeListState Sizing, int Pos) override;
  void EndSizing(TdxTreeListState Sizing, int Pos) override;
  void BandBestFit(int VisibleBand) override { FitBandColumns(VisibleBand); }
  void ColumnBestFit(int Column) override { FitColumn(Column); }
  void ChangedColumnsWidth();

 private:
  // The widths a released sizing applies.
  void ApplyBandWidth(int VisibleBand, int NewWidth, int OldWidth);
  void ShareBandWidth(int VisibleBand, int NewWidth, int OldWidth);
  void ShareRowWidth(const TdxTreeListHeaderInfo& Cell, int NewWidth, int OldWidth);
  void GrowBandWithColumn(const TdxTreeListHeaderInfo& Cell, int NewWidth, int OldWidth);
  // The absolute columns of a band's header row, left to right.
  std::vector<int> BandRowColumns(int VisibleBand, int Row) const;
  // A panel's line snapped to its row boundaries, with the rows above it.
  int SnapPanelLine(TdxTreeListState Sizing, int Pos, int& Rows);
  // The top of Node's row on the screen; -1 when it has none.
  static int RowTop(const TdxTreeListDrawInfo& DI, const TdxTreeListNode* Node);

 public:
  void GetNodeDragText(TdxTreeListNode* Node, int Column, AnsiString& Text);
  // The cached editor of the column's editor class, made (owned by the control) on
  // first use.
  TdxInplaceEdit* GetColumnEditor(int Column);
  int EditorCacheCount() const { return static_cast<int>(FEditors.size()); }
  // The focused column's value for its editor.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value);
  // Editing through the focused column (dxTL_Editing.cpp): its editor class (one
  // cached editor per class), its settings, value, colour, font and read-only flag.
  TdxInplaceEdit* CreateEditor(int ColumnIndex) override;
  TdxInplaceEdit* FindEditor(int ColumnIndex) override;
  void SetupEditor(TdxInplaceEdit* Editor) override;
  void LoadEditorValue(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  bool CanShowEditorOnClick(int X, int Y, int ColumnIndex, bool WasFocused) override;
  bool CanEditModify() override;
  TColor GetEditColor() override;
  TFont* GetEditFont() override;

  // ----- The mouse's questions and hooks (dxTL_Mouse.cpp)
  bool IsBandSizable(int VisibleBand) override;
  bool IsColumnSizable(int Column) override;
  bool IsHeaderForBands() override;
  int GetBandRowLastColumn(int VisibleBand, int Row) override;
  bool IsHotHeaderAt(int X, int Y, Byte& Kind, int Column) override;

  // ----- Custom drawing: whether an event would run, and the firing order. These and
  // the band and column answers the paint reads are virtual, so that a descendant
  // can paint from answers of its own.
  virtual bool IsBandCustomDraw() const { return OnCustomDrawBand.Assigned(); }
  virtual bool IsCellCustomDraw(int Column) const;
  virtual bool IsFooterCustomDraw(int FooterIndex) const;
  virtual bool IsHeaderCustomDraw(int Column) const;
  virtual bool IsPreviewCustomDraw() const;
  virtual bool IsLevelColorEvent() const { return OnGetLevelColor.Assigned(); }
  virtual void CustomDrawBand(int AbsoluteIndex, TCanvas* Canvas, TRect Rect, AnsiString& Text,
                              TColor& Color, TFont* Font, TAlignment& Alignment, bool& Done);
  virtual void CustomDrawCell(TdxTLCellDrawArgs& Args);
  virtual void CustomDrawHeader(int Column, TCanvas* Canvas, TRect Rect, AnsiString& Text,
                                TColor& Color, TFont* Font, TAlignment& Alignment,
                                TdxTreeListColumnSort& Sorted, bool& Done);
  virtual void CustomDrawPreview(TCanvas* Canvas, TRect Rect, TdxTreeListNode* Node, bool Selected,
                                 AnsiString& Text, TColor& Color, TColor& TextColor, TFont* Font,
                                 bool& Done);
  virtual void CustomDrawFooter(TCanvas* Canvas, TRect Rect, TdxTreeListNode* Node, int Column,
                                int FooterIndex, AnsiString& Text, TColor& Color, TFont* Font,
                                TAlignment& Alignment, bool& Done);
  virtual void GetLevelColor(int Level, TColor& Color);

  // ----- The paint's steps (dxTL_PaintCells.cpp), each overridable: the bracket
  // around a row, the three draw operations and the content of a data cell (drawn by
  // the column's editor kind from the cell view data).
  virtual void BeginRow(TdxTreeListNode* /*Node*/) {}
  virtual void EndRow(TdxTreeListNode* /*Node*/) {}
  virtual void DrawDataCell(TdxTreeListCellPaint& Cell);
  virtual void DrawFooterCell(TdxTreeListCellPaint& Cell);
  virtual void DrawPreview(TdxTreeListCellPaint& Cell);
  virtual void DrawCellContent(TCanvas* Canvas, const TRect& Rect, TdxTreeListCellViewData& Data, int Column);
  // Header hot tracking is never on here: the empty set.
  virtual TdxHeaderHotState GetHeaderHotState(int /*Column*/) { return TdxHeaderHotState(); }
  // GridLineColor, or the button shadow when it is clNone.
  TColor GetGridLineColorOrDefault() const;
  // The band, header or corner button held down; a change repaints.
  const TdxTreeListPressedState& PressedState() const { return FPressed; }
  void SetPressedState(const TdxTreeListPressedState& Value);

  // Band and column events.
  TdxTLColumnEvent OnColumnClick;
  TdxTLShowBandEvent OnShowBand;
  TdxTLBandEvent OnHideBand;
  TdxTLBandEvent OnBandClick;
  TNotifyEvent OnBandButtonClick;
  TNotifyEvent OnHeaderButtonClick;
  TdxTLShowHeaderEvent OnShowHeader;
  TdxTLColumnEvent OnHideHeader;
  TdxTLColumnEvent OnHeaderMoved;
  TdxTLColumnMovedEvent OnColumnMoved;
  TdxTLColumnEvent OnEndDragColumn;
  TdxTLCanBandDraggingEvent OnCanBandDragging;
  TdxTLBandEvent OnStartBandDragging;
  TdxTLDragOverBandEvent OnDragOverBand;
  TdxTLDragEndBandEvent OnDragEndBand;
  TdxTLCanHeaderDraggingEvent OnCanHeaderDragging;
  TdxTLColumnEvent OnStartHeaderDragging;
  TdxTLDragOverHeaderEvent OnDragOverHeader;
  TdxTLDragEndHeaderEvent OnDragEndHeader;
  TdxTLColumnSortingEvent OnColumnSorting;
  TdxTLColumnSortedEvent OnColumnSorted;
  TdxTLIsExistFooterCellEvent OnIsExistFooterCell;
  TdxTLGetLevelColorEvent OnGetLevelColor;
  TdxTLGetNodeDragTextEvent OnGetNodeDragText;
  TdxTLCustomDrawBandEvent OnCustomDrawBand;
  TdxTLCustomDrawHeaderEvent OnCustomDrawColumnHeader;
  TdxTLCustomDrawCellEvent OnCustomDrawCell;
  TdxTLCustomDrawEvent OnCustomDraw;
  TdxTLCustomDrawFooterEvent OnCustomDrawFooter;
  TdxTLCustomDrawFooterNodeEvent OnCustomDrawFooterNode;
  TdxTLCustomDrawPreviewEvent OnCustomDrawPreview;
  TdxTLCustomDrawPreviewCellEvent OnCustomDrawPreviewCell;

 protected:
  TdxTreeListNode* CreateNode() override;
  int GetNodeImageIndex(TdxTreeListNode* Node) override;
  int GetNodeSelectedIndex(TdxTreeListNode* Node) override;
  int GetNodeStateIndex(TdxTreeListNode* Node) override;
  AnsiString GetNodeString(TdxTreeListNode* Node, int Column) override;
  void SetNodeImageIndex(TdxTreeListNode* Node, int Value) override;
  void SetNodeSelectedIndex(TdxTreeListNode* Node, int Value) override;
  void SetNodeStateIndex(TdxTreeListNode* Node, int Value) override;
  void SetNodeString(TdxTreeListNode* Node, int Column, const AnsiString& Text) override;
  void SetNodeValue(TdxTreeListNode* Node, int Column, const Variant& Value) override;
  // A TdxTreeListEditStyle: the tree list answers the values an editor leaves unset.
  TdxEditStyle* CreateEditStyle(TdxInplaceEdit* Edit) override;
  // The core's answer, then the focused column's CanShowEditor.
  void DoEditing(TdxTreeListNode* Node, bool& Allow) override;
  // The focused column decides from aoShowButtonAlways whether its editor's buttons
  // show (a kind may always or never show them).
  bool ShowButtonAlways() override;
  // The hot cell's column picks the cursor first (a link cell's hand), then the event.
  void DoHotTrackNode(TdxTreeListHotTrackInfo& Info, TCursor& Cursor) override;
  void AfterLayout() override;
  void CalcBandsAndHeaders(TdxTreeListDrawInfo& DrawInfo) override;
  // The whole control, composed off-screen and copied once (dxTL_Paint.cpp).
  void Paint() override;
  int GetColumnsHeaderLineCount() override;
  int GetColumnFontsLineHeight(TCanvas* Canvas) override;
  void SizeChanged() override;
  bool HasFixedBands() override { return GetBandFixedLeft() >= 0 || GetBandFixedRight() >= 0; }
  int GetFirstBandWidth() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Re-sorts the nodes: SortNodesByColumn(-1, the first sort column, its direction);
  // nothing without a sort column. While a layout update runs, its end sorts instead
  // (dxTL_Sort.cpp).
  virtual void ResortNodes();
  // Loads the stored layout once, from the registry and then the ini file, as the
  // options ask; runs from Loaded (dxTL_StoredLayout.cpp).
  virtual void RestoreLayout();
  // Stores the layout once, the same way; runs first in the destruction. A store that
  // fails there is reported through the application's exception display.
  virtual void StoreLayout();
  // What the layout reader and writer store per column and for the grid; descendants
  // add their own values.
  virtual void LoadColumnLayout(TdxRegIniWrapper* Wrapper, const AnsiString& Section,
                                TdxTreeListColumn* Column);
  virtual void LoadGridLayout(TdxRegIniWrapper* Wrapper, const AnsiString& Section);
  virtual void SaveColumnLayout(TdxRegIniWrapper* Wrapper, const AnsiString& Section,
                                TdxTreeListColumn* Column);
  virtual void SaveGridLayout(TdxRegIniWrapper* Wrapper, const AnsiString& Section);
  // The sort state of every column goes back to csNone (the sort-column list too).
  void ResetColumnsSorted();
  bool CanBandDrag(int VisibleBand) override;
  bool CanColumnDrag(int Column) override;
  void StartBandDrag(int VisibleBand) override;
  void StartColumnDrag(int Column) override;
  // Header drags (dxTL_HeaderDrag.cpp).
  void MoveHeaderDrag(int X, int Y) override;
  void EndHeaderDrag(bool Drop) override;
  void EndBandDrag(bool Drop);
  void EndColumnDrag(bool Drop);
  void LeaveHeaderDrag();
  // The place under P (client coordinates) where the dragged band or column would go.
  virtual TdxTreeListDropPlace CalcDropPosition(TPoint P);
  // The picture of the dragged band's or column's header.
  void MakeHeaderDragImages(int Column, int VisibleBand);
  // The caption of the node drag: the cell text through OnGetNodeDragText.
  AnsiString GetNodeDragCaption(TdxTreeListNode* Node) override;
  void DoBandClick(int VisibleBand) override;
  void DoColumnClick(int Column, bool AddToSort, bool Ctrl) override;
  void DoBandButtonClick() override { BandButtonClick(); }
  void DoHeaderButtonClick() override { HeaderButtonClick(); }
  // The painted pressed state follows the mouse's pressed look.
  void PressedLookChanged() override;

 private:
  friend class TdxTreeListColumn;
  friend class TdxTreeListBands;
  friend class TTreeListPainter;

  // Deletes the cell text at Index from every text node.
  void DeleteColumnTexts(int Index);
  const std::vector<std::vector<int>>* CachedBandRows(int VisibleBand) const;

  std::vector<TdxTreeListColumn*> FColumns;
  int FColumnsJoined = 0;  // counts the columns that joined, for their JoinOrder
  std::vector<TdxTreeListColumn*> FSortColumns;
  std::vector<TdxInplaceEdit*> FEditors;
  TdxTreeListBands* FBands = nullptr;
  int FBandRowCount = 1;
  int FBandMaxRowCount = 5;
  int FHeaderPanelRowCount = 1;
  int FHeaderPanelMaxRowCount = 5;
  int FHeaderMinRowCount = 1;
  bool FDefaultLayout = false;
  bool FAutoHeaderRows = false;
  // The header's row count came from the form file being read.
  bool FHeaderRowsRead = false;
  bool FExtendingSort = false;
  int FLayoutUpdateCount = 0;
  bool FApplyingLayout = false;
  bool FLayoutRestored = false;
  bool FLayoutStored = false;
  AnsiString FIniFileName;
  AnsiString FIniSectionName;
  AnsiString FRegistryPath;
  // The layout caches: the absolute index of each visible band, the visible index of
  // each band, the rows of shown columns of each visible band, the display widths.
  bool FCachesFilled = false;
  std::vector<int> FCacheVisibleBands;
  std::vector<int> FCacheBandPositions;
  std::vector<std::vector<std::vector<int>>> FCacheBandRows;
  std::vector<int> FCacheColumnWidths;
  // The display width of each visible band, filled with the column widths.
  std::vector<int> FCacheBandWidths;
  // The visible column order, and each column's first visible index (-1 not shown).
  std::vector<int> FCacheVisibleColumns;
  std::vector<int> FCacheVisiblePositions;
  TdxTreeListPressedState FPressed;
};

// The tree list of forms: re-sorts after node changes when aoAutoSortRefresh is set.
class TdxTreeList : public TCustomdxTreeListControl {
  TCLASS_DECL(TdxTreeList, TCustomdxTreeListControl)
 public:
  using TCustomdxTreeListControl::TCustomdxTreeListControl;
  // The selection is cleared first, while the control is whole: OnSelectionChanged
  // fires for every selected node (dxTL_Selection.cpp).
  void BeforeDestruction() override;

  bool ResortPending() const { return FResortPending; }

  // The cell text, upper-cased under aoCaseInsensitive.
  Variant GetNodeSortValue(TdxTreeListNode* Node, int Column) override;
  // Stores the edited text in the node through the column, lays auto-height rows out
  // again and re-sorts with the node kept in view (dxTL_Editing.cpp).
  void StoreEditorValue(TdxTreeListNode* Node, int ColumnIndex, TdxInplaceEdit* Editor,
                        Variant& Value) override;

  // The "Data" node stream of form files (dxTL_Stream.cpp): written when there is a
  // top-level node; reading replaces every node inside one update.
  void DefineProperties(TFiler* Filer) override;
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  // -1 after a stream of the current format was read, 0 after an old one.
  int StreamMarker() const { return FStreamMarker; }

  // The data questions, each answered by the core and then by its event.
  void GetPreviewText(TdxTreeListNode* Node, AnsiString& Text) override;
  void GetFooterCellText(TdxTreeListNode* Node, int Column, int FooterIndex,
                         AnsiString& Text) override;
  bool IsExistRowFooterCell(TdxTreeListNode* Node, int Column, int FooterIndex) override;
  bool IsLevelFooter(int Level) override;
  // The core's answers, then their events.
  int GetRowLineCount(TdxTreeListNode* Node, int& LineHeight) override;
  int GetPreviewLineCount(TdxTreeListNode* Node) override;
  // The focused node shows the arrow (the multi-arrow when selected under
  // aoMultiSelect), any other selected node the multi-dot.
  Byte GetNodeIndicatorKind(TdxTreeListNode* Node) override;

  // The selection list (dxTL_Selection.cpp).
  int SelectedCount() override { return static_cast<int>(FSelection.size()); }
  TdxTreeListNode* SelectedNodes(int Index) override;
  void ClearSelection() override;
  // Frees every selected node inside one update.
  void DeleteSelection() override;
  // The rows between the two nodes in tree order, merged into the list in one pass.
  void SelectRange(TdxTreeListNode* From, TdxTreeListNode* To) override;

  TdxTLGetRowLineCountEvent OnGetRowLineCount;
  TdxTLGetPreviewLineCountEvent OnGetPreviewLineCount;
  TdxTLGetPreviewTextEvent OnGetPreviewText;
  TdxTLGetFooterCellTextEvent OnGetFooterCellText;
  TdxTLIsExistRowFooterCellEvent OnIsExistRowFooterCell;
  TdxTLIsLevelFooterEvent OnIsLevelFooter;

 protected:
  void NodeInserted(TdxTreeListNode* Node) override;
  void NodeDeleted(TdxTreeListNode* Node, TdxTreeListNode* Prev, bool WasVisible,
                   bool WasLast, TdxTreeListNode* Next) override;
  void SetNodeString(TdxTreeListNode* Node, int Column, const AnsiString& Text) override;
  void AfterLayout() override;
  bool IsNodeSelected(TdxTreeListNode* Node) override;
  void SetNodeSelected(TdxTreeListNode* Node, bool Value) override;
  void RemoveFromSelection(TdxTreeListNode* Node) override;

 private:
  void AutoSortCheck();

  bool FResortPending = false;
  // The selected nodes in ascending order of their addresses (dxTL_Selection.cpp).
  std::vector<TdxTreeListNode*> FSelection;
  int FStreamMarker = -1;
};
