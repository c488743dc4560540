// The band and column answers of the tree list: what the layout, painting, sizing,
// dragging and editing ask about bands and columns by index, the visible column
// order, the band and column actions with their events, the editor cache and the
// custom-draw questions and firing order.
#include <algorithm>

#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

// ---------------------------------------------------------------------------------
// Bands

int TCustomdxTreeListControl::GetBandCount() const { return FBands->Count(); }
int TCustomdxTreeListControl::GetVisibleBandCount() const { return FBands->VisibleCount(); }
int TCustomdxTreeListControl::GetAbsoluteBandIndex(int VisibleIndex) const {
  return FBands->GetAbsoluteIndex(VisibleIndex);
}
int TCustomdxTreeListControl::GetVisibleBandIndex(int AbsoluteIndex) const {
  return FBands->GetVisibleIndex(AbsoluteIndex);
}
TAlignment TCustomdxTreeListControl::GetBandAlignment(int AbsoluteIndex) const {
  return FBands->Items(AbsoluteIndex)->Alignment();
}
AnsiString TCustomdxTreeListControl::GetBandCaption(int AbsoluteIndex) const {
  return FBands->Items(AbsoluteIndex)->Caption();
}
int TCustomdxTreeListControl::GetBandWidth(int AbsoluteIndex) const {
  return FBands->Items(AbsoluteIndex)->Width();
}
int TCustomdxTreeListControl::GetBandMinWidth(int VisibleIndex) const {
  TdxTreeListBand* Band = FBands->VisibleItems(VisibleIndex);
  return Band ? Band->MinWidth() : 0;
}
bool TCustomdxTreeListControl::IsBandOnlyOwnColumns(int VisibleIndex) const {
  TdxTreeListBand* Band = FBands->VisibleItems(VisibleIndex);
  return Band && Band->OnlyOwnColumns();
}

int TCustomdxTreeListControl::GetBandFixedLeft() const {
  TdxTreeListBand* Band = FBands->VisibleItems(0);
  return Band && Band->Fixed() == bfLeft ? 0 : -1;
}

int TCustomdxTreeListControl::GetBandFixedRight() const {
  const int Last = FBands->VisibleCount() - 1;
  TdxTreeListBand* Band = FBands->VisibleItems(Last);
  return Band && Band->Fixed() == bfRight ? Last : -1;
}

bool TCustomdxTreeListControl::CanBandSizing(int VisibleIndex) {
  TdxTreeListBand* Band = FBands->VisibleItems(VisibleIndex);
  return Band && OptionsEx().Contains(aoBandSizing) && Band->Sizing();
}

bool TCustomdxTreeListControl::IsBandHidden(int AbsoluteIndex) const {
  return !FBands->Items(AbsoluteIndex)->Visible();
}

bool TCustomdxTreeListControl::IsBandDisableCustomizing(int AbsoluteIndex) const {
  return FBands->Items(AbsoluteIndex)->DisableCustomizing();
}

bool TCustomdxTreeListControl::CanBandDragging(int VisibleIndex) {
  TdxTreeListBand* Band = FBands->VisibleItems(VisibleIndex);
  if (!Band || !IsBandMoving() || Band->Fixed() != bfNone || Band->DisableDragging())
    return false;
  bool Allow = true;
  if (OnCanBandDragging.Assigned()) OnCanBandDragging(this, Band, Allow);
  return Allow;
}

int TCustomdxTreeListControl::GetHeaderRowCount(int VisibleBand) const {
  if (VisibleBand < 0) return 0;
  if (const auto* Rows = CachedBandRows(VisibleBand)) return static_cast<int>(Rows->size());
  if (FCachesFilled) return 0;
  const int Band = GetAbsoluteBandIndex(VisibleBand);
  if (Band < 0) return 0;
  std::vector<bool> Used(FHeaderPanelRowCount + 1, false);
  for (TdxTreeListColumn* Column : FColumns)
    if (Column->FVisible && Column->FBandIndex == Band) Used[Column->RowIndex()] = true;
  return static_cast<int>(std::count(Used.begin(), Used.end(), true));
}

int TCustomdxTreeListControl::GetHeaderColumnCount(int VisibleBand, int Row) const {
  if (VisibleBand < 0 || Row < 0) return 0;
  if (const auto* Rows = CachedBandRows(VisibleBand))
    return Row < static_cast<int>(Rows->size()) ? static_cast<int>((*Rows)[Row].size()) : 0;
  if (FCachesFilled) return 0;
  const int Band = GetAbsoluteBandIndex(VisibleBand);
  if (Band < 0) return 0;
  int Result = 0;
  for (TdxTreeListColumn* Column : FColumns)
    if (Column->FVisible && Column->FBandIndex == Band && Column->RowIndex() == Row)
      ++Result;
  return Result;
}

int TCustomdxTreeListControl::GetHeaderAbsoluteColumnIndex(int VisibleBand, int Row,
                                                           int Col) const {
  if (VisibleBand < 0 || Row < 0 || Col < 0) return -1;
  if (const auto* Rows = CachedBandRows(VisibleBand)) {
    if (Row >= static_cast<int>(Rows->size())) return -1;
    const std::vector<int>& Columns = (*Rows)[Row];
    return Col < static_cast<int>(Columns.size()) ? Columns[Col] : -1;
  }
  if (FCachesFilled) return -1;
  const int Band = GetAbsoluteBandIndex(VisibleBand);
  if (Band < 0) return -1;
  for (int I = 0; I < ColumnCount(); ++I) {
    TdxTreeListColumn* Column = FColumns[I];
    if (Column->FVisible && Column->FBandIndex == Band && Column->RowIndex() == Row &&
        Col-- == 0)
      return I;
  }
  return -1;
}

// ---------------------------------------------------------------------------------
// Columns

bool TCustomdxTreeListControl::IsColumnShown(int Column) const {
  TdxTreeListColumn* C = FindColumn(Column);
  if (!C || !C->FVisible || C->FBandIndex < 0 || C->FBandIndex >= FBands->Count())
    return false;
  return FBands->Items(C->FBandIndex)->Visible();
}

namespace {

// Walks the shown columns in visible order: header row by header row, band by band
// (a band with no more header rows than the row's number is skipped), then by
// position. Visit answers false to stop.
template <class F>
void WalkVisibleColumns(const TCustomdxTreeListControl* Tree, F Visit) {
  const int Bands = Tree->GetVisibleBandCount();
  for (int Row = 0; Row < Tree->HeaderPanelRowCount(); ++Row)
    for (int Band = 0; Band < Bands; ++Band) {
      if (Tree->GetHeaderRowCount(Band) <= Row) continue;
      const int Count = Tree->GetHeaderColumnCount(Band, Row);
      for (int Col = 0; Col < Count; ++Col)
        if (!Visit(Tree->GetHeaderAbsoluteColumnIndex(Band, Row, Col))) return;
    }
}

}  // namespace

int TCustomdxTreeListControl::GetVisibleColumnCount() const {
  if (FCachesFilled && FCacheVisiblePositions.size() == FColumns.size())
    return static_cast<int>(FCacheVisibleColumns.size());
  int Result = 0;
  WalkVisibleColumns(this, [&Result](int) {
    ++Result;
    return true;
  });
  return Result;
}

int TCustomdxTreeListControl::GetAbsoluteColumnIndex(int VisibleIndex) const {
  if (FCachesFilled && FCacheVisiblePositions.size() == FColumns.size())
    return VisibleIndex >= 0 && VisibleIndex < static_cast<int>(FCacheVisibleColumns.size())
               ? FCacheVisibleColumns[VisibleIndex]
               : -1;
  int Result = -1;
  WalkVisibleColumns(this, [&](int Column) {
    if (VisibleIndex-- > 0) return true;
    Result = Column;
    return false;
  });
  return Result;
}

int TCustomdxTreeListControl::GetVisibleColumnIndex(int AbsoluteIndex) const {
  if (FCachesFilled && FCacheVisiblePositions.size() == FColumns.size()) {
    if (AbsoluteIndex < 0 || AbsoluteIndex >= ColumnCount()) return 0;
    return std::max(FCacheVisiblePositions[AbsoluteIndex], 0);
  }
  int Result = 0, Step = 0;
  WalkVisibleColumns(this, [&](int Column) {
    if (Column == AbsoluteIndex) {
      Result = Step;
      return false;
    }
    ++Step;
    return true;
  });
  return Result;
}

AnsiString TCustomdxTreeListControl::GetHeaderColumnText(int AbsoluteIndex) const {
  return GetHeaderCaption(AbsoluteIndex);
}

AnsiString TCustomdxTreeListControl::GetHeaderCaption(int Column) const {
  TdxTreeListColumn* C = Columns(Column);
  return C->DisableCaption() ? AnsiString() : C->Caption();
}

TColor TCustomdxTreeListControl::GetColumnColor(int Column) const {
  return Columns(Column)->Color();
}
TFont* TCustomdxTreeListControl::GetColumnFont(int Column) const {
  return Columns(Column)->Font();
}
bool TCustomdxTreeListControl::IsColumnFontAssigned(int Column) const {
  return Columns(Column)->AssignedValues().Contains(cvFont);
}
TAlignment TCustomdxTreeListControl::GetColumnAlignment(int Column) const {
  return Columns(Column)->Alignment();
}
TAlignment TCustomdxTreeListControl::GetColumnHeaderAlignment(int Column) const {
  return Columns(Column)->HeaderAlignment();
}
bool TCustomdxTreeListControl::HasHeaderGlyph(int Column) const {
  return Columns(Column)->HasHeaderGlyph();
}
TBitmap* TCustomdxTreeListControl::GetHeaderGlyph(int Column) const {
  return Columns(Column)->HeaderGlyph();
}
int TCustomdxTreeListControl::GetHeaderLineCount(int Column) const {
  return Columns(Column)->HeaderMaxLineCount();
}
int TCustomdxTreeListControl::GetColumnWidth(int Column) const {
  return Columns(Column)->Width();
}
int TCustomdxTreeListControl::GetColumnMinWidth(int Column) const {
  TdxTreeListColumn* C = Columns(Column);
  return C->Sizing() ? C->MinWidth() : C->Width();
}
int TCustomdxTreeListControl::GetColumnBandIndex(int Column) const {
  return Columns(Column)->BandIndex();
}
int TCustomdxTreeListControl::GetColumnRowIndex(int Column) const {
  return Columns(Column)->RowIndex();
}
int TCustomdxTreeListControl::GetColumnColIndex(int Column) const {
  return Columns(Column)->ColIndex();
}
bool TCustomdxTreeListControl::IsColumnTabStop(int Column) const {
  return Columns(Column)->TabStop();
}
bool TCustomdxTreeListControl::IsColumnDisableCustomizing(int Column) const {
  return Columns(Column)->DisableCustomizing();
}

TdxTreeListColumnSort TCustomdxTreeListControl::GetColumnSorted(int Column) {
  TdxTreeListColumn* C = Columns(Column);
  TdxTreeListColumnSort Result = C->Sorted();
  if (OnColumnSorted.Assigned()) OnColumnSorted(this, C, Result);
  return Result;
}

bool TCustomdxTreeListControl::CanColumnDragging(int Column) {
  TdxTreeListColumn* C = Columns(Column);
  if (!IsColumnMoving() || C->DisableDragging()) return false;
  bool Allow = true;
  if (OnCanHeaderDragging.Assigned()) OnCanHeaderDragging(this, C, Allow);
  return Allow;
}

int TCustomdxTreeListControl::GetCellTextWidth(TCanvas* Canvas, int Column,
                                               TdxTreeListNode* Node) {
  return std::max(Canvas->TextWidth(Node->Strings(Column)),
                  Columns(Column)->GetTextWidth(Canvas, Node));
}

bool TCustomdxTreeListControl::IsExistFooterCell(int Column) {
  bool Exist = false;
  if (OnIsExistFooterCell.Assigned()) OnIsExistFooterCell(this, Columns(Column), Exist);
  return Exist;
}

// ---------------------------------------------------------------------------------
// Band actions

void TCustomdxTreeListControl::SetBandWidth(int VisibleIndex, int Width) {
  if (TdxTreeListBand* Band = FBands->VisibleItems(VisibleIndex)) Band->SetWidth(Width);
}

void TCustomdxTreeListControl::ScaleBandWidths(int Numerator, int Denominator) {
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  for (int I = 0; I < FBands->Count(); ++I) {
    TdxTreeListBand* Band = FBands->Items(I);
    if (!Band->Visible() && Band->Sizing())
      Band->SetWidth(MulDiv(Band->Width(), Numerator, Denominator));
  }
}

void TCustomdxTreeListControl::MoveBand(int FromVisible, int ToVisible) {
  TdxTreeListBand* Band = FBands->VisibleItems(FromVisible);
  const int Target = GetAbsoluteBandIndex(ToVisible);
  if (Band && Target >= 0) Band->SetIndex(Target);
}

void TCustomdxTreeListControl::HideBand(int AbsoluteIndex) {
  TdxTreeListBand* Band = FBands->Items(AbsoluteIndex);
  Band->SetVisible(false);
  if (OnHideBand.Assigned()) OnHideBand(this, Band);
}

void TCustomdxTreeListControl::ShowBand(int AbsoluteIndex, int VisiblePos) {
  TdxTreeListBand* Band = FBands->Items(AbsoluteIndex);
  {
    BeginUpdate();
    auto Done = ScopeExit([this] { EndUpdate(); });
    Band->SetVisible(true);
    if (FBands->VisibleCount() > 1) {
      const int Target = GetAbsoluteBandIndex(VisiblePos);
      Band->SetIndex(Target >= 0 ? Target : FBands->Count() - 1);
    }
  }
  if (OnShowBand.Assigned()) OnShowBand(this, Band, VisiblePos);
}

void TCustomdxTreeListControl::BandClick(int AbsoluteIndex) {
  if (OnBandClick.Assigned()) OnBandClick(this, FBands->Items(AbsoluteIndex));
}

void TCustomdxTreeListControl::BandButtonClick() {
  if (OnBandButtonClick.Assigned()) OnBandButtonClick(this);
}

void TCustomdxTreeListControl::HeaderButtonClick() {
  if (OnHeaderButtonClick.Assigned()) OnHeaderButtonClick(this);
}

void TCustomdxTreeListControl::StartBandDragging(int AbsoluteIndex) {
  if (OnStartBandDragging.Assigned())
    OnStartBandDragging(this, FBands->Items(AbsoluteIndex));
}

void TCustomdxTreeListControl::DragOverBand(int AbsoluteIndex, TPoint P, bool& Accept) {
  if (OnDragOverBand.Assigned())
    OnDragOverBand(this, FBands->Items(AbsoluteIndex), P, Accept);
}

void TCustomdxTreeListControl::DragEndBand(int AbsoluteIndex, TPoint P, int VisibleIndex,
                                           int& NewIndex, bool& Accept) {
  if (OnDragEndBand.Assigned())
    OnDragEndBand(this, FBands->Items(AbsoluteIndex), P, AbsoluteIndex, VisibleIndex,
                  NewIndex, Accept);
}

// ---------------------------------------------------------------------------------
// Column actions

void TCustomdxTreeListControl::SetColumnWidth(int Column, int Width) {
  TdxTreeListColumn* C = Columns(Column);
  if (!C->Sizing()) return;
  C->FWidth = std::clamp(Width, C->MinWidth(), dxTLMaxWidth);
  C->FAssignedValues.Include(cvWidth);
}

void TCustomdxTreeListControl::ScaleColumnWidths(int VisibleBand, int Numerator,
                                                 int Denominator) {
  const int Band = GetAbsoluteBandIndex(VisibleBand);
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  for (TdxTreeListColumn* Column : FColumns)
    if (Column->BandIndex() == Band && !Column->Visible() && Column->Sizing())
      Column->SetWidth(MulDiv(Column->Width(), Numerator, Denominator));
}

void TCustomdxTreeListControl::FitBandColumns(int VisibleBand) {
  {
    BeginUpdate();
    auto Done = ScopeExit([this] { EndUpdate(); });
    std::vector<TdxTreeListColumn*> Fit;
    for (int Row = 0, Rows = GetHeaderRowCount(VisibleBand); Row < Rows; ++Row)
      for (int Col = 0, Count = GetHeaderColumnCount(VisibleBand, Row); Col < Count; ++Col)
        Fit.push_back(Columns(GetHeaderAbsoluteColumnIndex(VisibleBand, Row, Col)));
    for (TdxTreeListColumn* Column : Fit) ApplyBestFit(Column);
  }
  if (OnChangedColumnsWidth.Assigned()) OnChangedColumnsWidth(this);
}

void TCustomdxTreeListControl::FitColumn(int Column) {
  {
    BeginUpdate();
    auto Done = ScopeExit([this] { EndUpdate(); });
    ApplyBestFit(Columns(Column));
  }
  if (OnChangedColumnsWidth.Assigned()) OnChangedColumnsWidth(this);
}

void TCustomdxTreeListControl::MoveColumn(int Column, int VisibleBand, int Row, int Col) {
  TdxTreeListColumn* C = Columns(Column);
  {
    BeginUpdate();
    auto Done = ScopeExit([this] { EndUpdate(); });
    C->SetBandIndex(GetAbsoluteBandIndex(VisibleBand));
    C->SetRowIndex(Row);
    C->SetColIndex(Col);
  }
  if (OnHeaderMoved.Assigned()) OnHeaderMoved(this, C);
}

void TCustomdxTreeListControl::ShowColumn(int Column, int VisibleBand, int Row, int Col) {
  TdxTreeListColumn* C = Columns(Column);
  {
    BeginUpdate();
    auto Done = ScopeExit([this] { EndUpdate(); });
    C->SetBandIndex(GetAbsoluteBandIndex(VisibleBand));
    C->SetVisible(true);
    C->SetRowIndex(Row);
    C->SetColIndex(Col);
  }
  if (OnShowHeader.Assigned())
    OnShowHeader(this, C, C->BandIndex(), C->RowIndex(), C->ColIndex());
}

void TCustomdxTreeListControl::HideColumn(int Column) {
  TdxTreeListColumn* C = Columns(Column);
  C->SetVisible(false);
  if (OnHideHeader.Assigned()) OnHideHeader(this, C);
}

void TCustomdxTreeListControl::StartHeaderDragging(int Column) {
  if (OnStartHeaderDragging.Assigned()) OnStartHeaderDragging(this, Columns(Column));
}

void TCustomdxTreeListControl::DragOverHeader(int Column, TPoint P, bool& Accept) {
  if (OnDragOverHeader.Assigned()) OnDragOverHeader(this, Columns(Column), P, Accept);
}

void TCustomdxTreeListControl::DragEndHeader(int Column, TPoint P,
                                             TdxHeaderPosInfo& NewPosInfo, bool& Accept) {
  if (OnDragEndHeader.Assigned())
    OnDragEndHeader(this, Columns(Column), P, NewPosInfo, Accept);
}

void TCustomdxTreeListControl::ColumnMovedByDrag(int FromIndex, int ToIndex) {
  if (OnColumnMoved.Assigned()) OnColumnMoved(this, FromIndex, ToIndex);
  if (OnEndDragColumn.Assigned()) OnEndDragColumn(this, FindColumn(ToIndex));
}

void TCustomdxTreeListControl::ColumnClick(int Column, bool AddToSort, bool ClearSort) {
  TdxTreeListColumn* C = Columns(Column);
  if (OnColumnClick.Assigned()) OnColumnClick(this, C);
  if (IsAutoSort()) ToggleColumnSort(C, AddToSort && IsMultiSort(), ClearSort);
}

void TCustomdxTreeListControl::GetNodeDragText(TdxTreeListNode* Node, int Column,
                                               AnsiString& Text) {
  if (OnGetNodeDragText.Assigned()) OnGetNodeDragText(this, Node, Column, Text);
}

// ---------------------------------------------------------------------------------
// Editing

TdxInplaceEdit* TCustomdxTreeListControl::GetColumnEditor(int Column) {
  TdxInplaceEditClass Class = Columns(Column)->GetEditorClass();
  for (TdxInplaceEdit* Editor : FEditors)
    if (Editor->ClassType() == Class) return Editor;
  TOwned<TComponent> Made(Class->Create(this));
  auto* Editor = static_cast<TdxInplaceEdit*>(Made.get());
  FEditors.push_back(Editor);
  Made.release();
  return Editor;
}

void TCustomdxTreeListControl::DoEditing(TdxTreeListNode* Node, bool& Allow) {
  inherited::DoEditing(Node, Allow);
  if (!Allow) return;
  if (TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(FocusedColumn())))
    Allow = C->CanShowEditor();
}

bool TCustomdxTreeListControl::ShowButtonAlways() {
  const bool Default = inherited::ShowButtonAlways();
  TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(FocusedColumn()));
  return C ? C->IsShowButton(Default) : Default;
}

void TCustomdxTreeListControl::DoHotTrackNode(TdxTreeListHotTrackInfo& Info, TCursor& Cursor) {
  if (Info.Node && Info.Kind == 0)
    if (TdxTreeListColumn* C = FindColumn(Info.Column)) {
      const TCursor Shape = C->GetCellCursor(Info.Node);
      if (Shape != crDefault) Cursor = Shape;
    }
  inherited::DoHotTrackNode(Info, Cursor);
}

void TCustomdxTreeListControl::AssignNodeToEditor(TdxTreeListNode* Node,
                                                  TdxInplaceEdit* Editor, Variant& Value) {
  if (TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(FocusedColumn())))
    C->AssignNodeToEditor(Node, Editor, Value);
}

// ---------------------------------------------------------------------------------
// Custom drawing

bool TCustomdxTreeListControl::IsCellCustomDraw(int Column) const {
  if (OnCustomDrawCell.Assigned() || OnCustomDraw.Assigned()) return true;
  TdxTreeListColumn* C = FindColumn(Column);
  return C && C->HasCustomDrawCell();
}

bool TCustomdxTreeListControl::IsFooterCustomDraw(int FooterIndex) const {
  return FooterIndex == -1 ? OnCustomDrawFooter.Assigned()
                           : OnCustomDrawFooterNode.Assigned();
}

bool TCustomdxTreeListControl::IsHeaderCustomDraw(int Column) const {
  if (OnCustomDrawColumnHeader.Assigned()) return true;
  TdxTreeListColumn* C = FindColumn(Column);
  return C && C->OnCustomDrawColumnHeader.Assigned();
}

bool TCustomdxTreeListControl::IsPreviewCustomDraw() const {
  return OnCustomDrawPreviewCell.Assigned() || OnCustomDrawPreview.Assigned();
}

void TCustomdxTreeListControl::CustomDrawBand(int AbsoluteIndex, TCanvas* Canvas,
                                              TRect Rect, AnsiString& Text, TColor& Color,
                                              TFont* Font, TAlignment& Alignment,
                                              bool& Done) {
  if (OnCustomDrawBand.Assigned())
    OnCustomDrawBand(this, FBands->Items(AbsoluteIndex), Canvas, Rect, Text, Color, Font,
                     Alignment, Done);
}

void TCustomdxTreeListControl::CustomDrawCell(TdxTLCellDrawArgs& A) {
  if (!A.Done && OnCustomDraw.Assigned())
    OnCustomDraw(this, A.Canvas, A.Rect, A.Node, A.Column, A.Text, A.Font, A.Color,
                 A.Selected, A.Focused, A.Done);
  if (!A.Done && OnCustomDrawCell.Assigned())
    OnCustomDrawCell(this, A.Canvas, A.Rect, A.Node, A.Column, A.Selected, A.Focused,
                     A.NewItemRow, A.Text, A.Color, A.Font, A.Alignment, A.Done);
  if (!A.Done && A.Column) A.Column->DoCustomDrawCell(A);
}

void TCustomdxTreeListControl::CustomDrawHeader(int Column, TCanvas* Canvas, TRect Rect,
                                                AnsiString& Text, TColor& Color,
                                                TFont* Font, TAlignment& Alignment,
                                                TdxTreeListColumnSort& Sorted, bool& Done) {
  TdxTreeListColumn* C = Columns(Column);
  if (!Done && OnCustomDrawColumnHeader.Assigned())
    OnCustomDrawColumnHeader(this, C, Canvas, Rect, Text, Color, Font, Alignment, Sorted,
                             Done);
  if (!Done && C->OnCustomDrawColumnHeader.Assigned())
    C->OnCustomDrawColumnHeader(C, C, Canvas, Rect, Text, Color, Font, Alignment, Sorted,
                                Done);
}

void TCustomdxTreeListControl::CustomDrawPreview(TCanvas* Canvas, TRect Rect,
                                                 TdxTreeListNode* Node, bool Selected,
                                                 AnsiString& Text, TColor& Color,
                                                 TColor& TextColor, TFont* Font,
                                                 bool& Done) {
  if (!Done && OnCustomDrawPreview.Assigned())
    OnCustomDrawPreview(this, Canvas, Rect, Node, Selected, Text, Done);
  if (!Done && OnCustomDrawPreviewCell.Assigned())
    OnCustomDrawPreviewCell(this, Canvas, Rect, Node, Selected, Text, Color, TextColor,
                            Font, Done);
}

void TCustomdxTreeListControl::CustomDrawFooter(TCanvas* Canvas, TRect Rect,
                                                TdxTreeListNode* Node, int Column,
                                                int FooterIndex, AnsiString& Text,
                                                TColor& Color, TFont* Font,
                                                TAlignment& Alignment, bool& Done) {
  TdxTreeListColumn* C = FindColumn(Column);
  if (FooterIndex == -1) {
    if (OnCustomDrawFooter.Assigned())
      OnCustomDrawFooter(this, Canvas, Rect, Node, C, Text, Color, Font, Alignment, Done);
  } else if (OnCustomDrawFooterNode.Assigned()) {
    OnCustomDrawFooterNode(this, Canvas, Rect, Node, C, FooterIndex, Text, Color, Font,
                           Alignment, Done);
  }
}

void TCustomdxTreeListControl::GetLevelColor(int Level, TColor& Color) {
  if (OnGetLevelColor.Assigned()) OnGetLevelColor(this, Level, Color);
}
