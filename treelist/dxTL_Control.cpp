// The column and band layer of the tree list: construction with its first band,
// loading, destruction, the column list and its operations, the header and band row
// counts, the default layout, the option steps that touch columns, the header-row
// packing, the sort-column list and the layout caches.
#include <algorithm>

#include "classlib/Format.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

// ---------------------------------------------------------------------------------
// Life

TCustomdxTreeListControl::TCustomdxTreeListControl(TComponent* AOwner)
    : TCustomdxTreeList(AOwner) {
  FBands = NewObject<TdxTreeListBands>(nullptr, &TdxTreeListBand::StaticClass());
  // The first band notifies nobody: the collection learns of the tree list after it.
  FBands->Add();
  FBands->SetTreeList(this);
  FDefaultLayout = true;
}

TCustomdxTreeListControl::~TCustomdxTreeListControl() { FreeAndNil(FBands); }

void TCustomdxTreeListControl::BeforeDestruction() {
  // The layout is stored while the control is whole, so overrides take part. A store
  // that fails cannot leave a destruction: it is reported and the control goes.
  try {
    StoreLayout();
  } catch (...) {
    HandleWindowException(this);
  }
  TComponent::Destroying();
  AbandonEdit();
  DropLayoutCaches();
  DestroyColumns();
  FSortColumns.clear();
  inherited::BeforeDestruction();
}

void TCustomdxTreeListControl::Loaded() {
  inherited::Loaded();
  // A count the file held is kept: it was written because counting differs.
  if (IsAutoHeaderPanelHeight() && !FHeaderRowsRead) {
    const int Rows = ColumnsHeaderRowCount();
    FHeaderPanelRowCount = std::clamp(Rows, 1, FHeaderPanelMaxRowCount);
    if (FHeaderPanelRowCount > 1) FDefaultLayout = false;
  }
  FHeaderRowsRead = false;
  PackHeaderRows();
  RebuildSortColumns();
  RestoreLayout();
  UpdateLayout();
}

void TCustomdxTreeListControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  for (TdxTreeListColumn* Column : FColumns)
    if (Column->Owner() == Root) Proc(Column);
}

void TCustomdxTreeListControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  auto At = std::find(FEditors.begin(), FEditors.end(), AComponent);
  if (At != FEditors.end()) FEditors.erase(At);
}

// ---------------------------------------------------------------------------------
// Options

void TCustomdxTreeListControl::SetOptions(TdxTreeListOptions Value) {
  if (Value == Options()) return;
  EndEdit(true);
  // Auto width switched off under aoKeepColumnWidth keeps the fitted widths: the
  // first column's in the one-band default layout, else band 0's.
  const bool Keep = Options().Contains(aoAutoWidth) && !Value.Contains(aoAutoWidth) &&
                    OptionsEx().Contains(aoKeepColumnWidth);
  const bool KeepColumn = Keep && FDefaultLayout && FBands->Count() == 1 && GetVisibleColumnCount() > 0;
  const int KeptColumn = KeepColumn ? GetAbsoluteColumnIndex(0) : -1;
  const int KeptWidth = !Keep ? 0
                        : KeepColumn ? GetColumnDisplayWidth(KeptColumn)
                                     : GetBandDisplayWidth(0);
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  if (Value.Contains(aoAutoSort) && !Options().Contains(aoAutoSort)) ClearSortColumns();
  inherited::SetOptions(Value);
  if (KeepColumn)
    Columns(KeptColumn)->SetWidth(KeptWidth);
  else if (Keep && GetVisibleBandCount() > 0)
    FBands->VisibleItems(0)->SetWidth(KeptWidth);
}

void TCustomdxTreeListControl::SetOptionsEx(TdxTreeListOptionsEx Value) {
  const TdxTreeListOptionsEx Old = OptionsEx();
  if (Value == Old) return;
  EndEdit(true);
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  if ((Old.Contains(aoMultiSort) && !Value.Contains(aoMultiSort)) ||
      Old.Contains(aoAnsiSort) != Value.Contains(aoAnsiSort))
    ClearSortColumns();
  inherited::SetOptionsEx(Value);
  if (Value.Contains(aoAutoHeaderPanelHeight) && !Old.Contains(aoAutoHeaderPanelHeight)) {
    const int Rows = ColumnsHeaderRowCount();
    if (Rows > 0) {
      FAutoHeaderRows = true;
      auto Reset = ScopeExit([this] { FAutoHeaderRows = false; });
      SetHeaderPanelRowCount(Rows);
    }
  }
}

void TCustomdxTreeListControl::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == CM_WININICHANGE)
    for (TdxTreeListColumn* Column : FColumns) Column->LocaleChanged();
}

// ---------------------------------------------------------------------------------
// Columns

TdxTreeListColumn* TCustomdxTreeListControl::Columns(int Index) const {
  if (Index < 0 || Index >= ColumnCount()) throw EListError(Format(SListIndexError, Index));
  return FColumns[Index];
}

TdxTreeListColumn* TCustomdxTreeListControl::FindColumn(int Index) const {
  return Index >= 0 && Index < ColumnCount() ? FColumns[Index] : nullptr;
}

int TCustomdxTreeListControl::IndexOfColumn(const TdxTreeListColumn* Column) const {
  auto At = std::find(FColumns.begin(), FColumns.end(), Column);
  return At == FColumns.end() ? -1 : static_cast<int>(At - FColumns.begin());
}

void TCustomdxTreeListControl::AddColumn(TdxTreeListColumn* Column) {
  FColumns.push_back(Column);
  Column->FTreeList = this;
  // A band index the band setter would give: none beyond the last band (-1 without
  // bands), so that a form file's index reads back as it was.
  Column->FBandIndex = std::min(Column->FBandIndex, FBands->Count() - 1);
  Column->FJoinOrder = FColumnsJoined++;
  ColumnChanged(nullptr);
}

void TCustomdxTreeListControl::RemoveColumn(TdxTreeListColumn* Column) {
  // No editor calls into the column once it has left.
  for (TdxInplaceEdit* Editor : FEditors) Column->ReleaseEditor(Editor);
  Column->FTreeList = nullptr;
  Column->FJoinOrder = -1;
  auto At = std::find(FColumns.begin(), FColumns.end(), Column);
  const int Index = At != FColumns.end() ? static_cast<int>(At - FColumns.begin()) : -1;
  if (At != FColumns.end()) FColumns.erase(At);
  RemoveSortColumn(Column);
  if (Destroying()) return;
  if (Index >= 0) {
    DropLayoutCaches();
    ColumnIndexMoved(Index, -1);
  }
  ColumnChanged(nullptr);
}

TdxTreeListColumn* TCustomdxTreeListControl::CreateColumnEx(TComponentClass ColumnClass,
                                                            TComponent* AOwner) {
  TOwned<TComponent> Made(ColumnClass->Create(AOwner));
  auto* Column = ObjectAs<TdxTreeListColumn>(Made.get());
  if (!Column)
    throw EInvalidOperation("%s is not a tree list column", {ColumnClass->ClassName()});
  // A name already taken (or refused) moves on to the next number.
  for (int Number = ColumnCount() + 1;; ++Number) {
    try {
      Column->SetName(Name() + "Column" + IntToStr(Number));
      break;
    } catch (const Exception&) {
    }
  }
  Column->SetTreeList(this);
  Made.release();
  return Column;
}

void TCustomdxTreeListControl::AssignColumns(TCustomdxTreeListControl* Source) {
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  TComponent* ColumnOwner = FColumns.empty() ? this : FColumns.front()->Owner();
  DestroyColumns();
  for (TdxTreeListColumn* From : Source->FColumns) {
    auto* Class = AsComponentClass(From->ClassType());
    TOwned<TComponent> Made(Class->Create(ColumnOwner));
    auto* Column = static_cast<TdxTreeListColumn*>(Made.get());
    Column->SetTreeList(this);
    Made.release();
    Column->Assign(From);
    if (!ColumnOwner || !ColumnOwner->FindComponent(From->Name()))
      Column->SetName(From->Name());
  }
}

void TCustomdxTreeListControl::DestroyColumns() {
  while (!FColumns.empty()) FColumns.back()->Free();
}

void TCustomdxTreeListControl::ColumnChanged(TdxTreeListColumn* /*Column*/) {
  if (ComponentState().Contains(csLoading) || Destroying()) return;
  DropLayoutCaches();
  // A stored layout being applied packs once, after every column has its row.
  if (!FApplyingLayout) PackHeaderRows();
  UpdateLayout();
}

void TCustomdxTreeListControl::ColumnMoved(int FromIndex, int ToIndex) {
  const std::size_t Needed = static_cast<std::size_t>(std::max(FromIndex, ToIndex)) + 1;
  for (TdxTreeListNode* Node = GetFirstNode(); Node; Node = Node->GetNext()) {
    auto* Text = ObjectAs<TdxTreeListTextNode>(Node);
    if (!Text) continue;
    TdxTreeListTexts* Texts = &Text->FTexts;
    if (Texts->size() < Needed) Texts->resize(Needed);
    AnsiString Moving = (*Texts)[FromIndex];
    if (FromIndex >= ToIndex) {
      Texts->insert(Texts->begin() + ToIndex, std::move(Moving));
      Texts->erase(Texts->begin() + FromIndex + 1);
    } else {
      Texts->insert(Texts->begin() + ToIndex + 1, std::move(Moving));
      Texts->erase(Texts->begin() + FromIndex);
    }
  }
  ColumnIndexMoved(FromIndex, ToIndex);
}

void TCustomdxTreeListControl::DeleteColumnTexts(int Index) {
  if (Index < 0) return;
  for (TdxTreeListNode* Node = GetFirstNode(); Node; Node = Node->GetNext()) {
    auto* Text = ObjectAs<TdxTreeListTextNode>(Node);
    if (Text && Text->FTexts.size() > static_cast<std::size_t>(Index))
      Text->FTexts.erase(Text->FTexts.begin() + Index);
  }
}

void TCustomdxTreeListControl::ApplyBestFit(TdxTreeListColumn* Column) {
  if (Column) {
    Column->ApplyBestFit();
    return;
  }
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  for (TdxTreeListColumn* Each : FColumns) Each->ApplyBestFit();
}

// ---------------------------------------------------------------------------------
// Bands and header rows

void TCustomdxTreeListControl::SetBands(TdxTreeListBands* Value) { FBands->Assign(Value); }

void TCustomdxTreeListControl::SetBandRowCount(int Value) {
  Value = std::clamp(Value, 1, FBandMaxRowCount);
  if (Value == FBandRowCount) return;
  FBandRowCount = Value;
  UpdateLayout();
}

void TCustomdxTreeListControl::SetBandMaxRowCount(int Value) {
  FBandMaxRowCount = std::clamp(Value, 1, RowCountLimit);
  SetBandRowCount(FBandRowCount);
}

void TCustomdxTreeListControl::SetHeaderPanelRowCount(int Value) {
  Value = std::clamp(Value, 1, FHeaderPanelMaxRowCount);
  if (Value == FHeaderPanelRowCount) return;
  if (!FAutoHeaderRows && OptionsEx().Contains(aoAutoHeaderPanelHeight)) {
    TdxTreeListOptionsEx Options = OptionsEx();
    Options.Exclude(aoAutoHeaderPanelHeight);
    TCustomdxTreeList::SetOptionsEx(Options);
  }
  FHeaderPanelRowCount = Value;
  if (Value > 1) FDefaultLayout = false;
  if (ComponentState().Contains(csLoading)) {
    FHeaderRowsRead = true;
    return;
  }
  PackHeaderRows();
  UpdateLayout();
}

void TCustomdxTreeListControl::SetHeaderPanelMaxRowCount(int Value) {
  FHeaderPanelMaxRowCount = std::clamp(Value, 1, RowCountLimit);
  SetHeaderPanelRowCount(FHeaderPanelRowCount);
}

void TCustomdxTreeListControl::SetHeaderMinRowCount(int Value) {
  Value = std::clamp(Value, 1, RowCountLimit);
  if (Value == FHeaderMinRowCount) return;
  FHeaderMinRowCount = Value;
  UpdateLayout();
}

void TCustomdxTreeListControl::SetDefaultLayout(bool Value) {
  if (Value == FDefaultLayout) return;
  FDefaultLayout = Value;
  if (!Value || ComponentState().Contains(csLoading)) return;
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  SetShowBands(false);
  SetHeaderPanelRowCount(1);
  {
    FBands->BeginUpdate();
    auto BandsDone = ScopeExit([this] { FBands->EndUpdate(); });
    while (FBands->Count() > 1) FBands->Delete(FBands->Count() - 1);
    if (FBands->Count() == 0) FBands->Add();
    FBands->Items(0)->SetVisible(true);
  }
  for (TdxTreeListColumn* Column : FColumns) Column->SetBandIndex(0);
  FDefaultLayout = true;
}

void TCustomdxTreeListControl::BandsChanged() {
  if (FBands->Count() != 1) FDefaultLayout = false;
  if (ComponentState().Contains(csLoading) || Destroying()) return;
  DropLayoutCaches();
  FBands->NormalizeFixed();
  if (IsAutoHeaderPanelHeight()) {
    BeginUpdate();
    auto Done = ScopeExit([this] { EndUpdate(); });
    const int Rows = ColumnsHeaderRowCount();
    if (Rows > 0) {
      FAutoHeaderRows = true;
      auto Reset = ScopeExit([this] { FAutoHeaderRows = false; });
      SetHeaderPanelRowCount(Rows);
    }
  } else {
    UpdateLayout();
  }
}

bool TCustomdxTreeListControl::HeaderPanelRowCountStored() const {
  if (!OptionsEx().Contains(aoAutoHeaderPanelHeight)) return true;
  return FHeaderPanelRowCount != std::clamp(ColumnsHeaderRowCount(), 1, FHeaderPanelMaxRowCount);
}

int TCustomdxTreeListControl::ColumnsHeaderRowCount() const {
  int Result = 0;
  for (TdxTreeListColumn* Column : FColumns)
    if (Column->FVisible) Result = std::max(Result, Column->FStoredRowIndex + 1);
  return Result;
}

void TCustomdxTreeListControl::PackHeaderRows() {
  DropLayoutCaches();
  const int Rows = FHeaderPanelRowCount;
  for (TdxTreeListColumn* Column : FColumns)
    Column->FRowIndex = std::min(Column->FRowIndex, Rows - 1);
  for (int Band = 0; Band < FBands->Count(); ++Band) {
    for (int Row = 0; Row < Rows - 1;) {
      bool Used = false, Below = false;
      for (TdxTreeListColumn* Column : FColumns) {
        if (Column->FBandIndex != Band) continue;
        const int At = Column->RowIndex();
        if (At == Row && Column->FVisible) Used = true;
        if (At > Row) Below = true;
      }
      if (Used || !Below) {
        ++Row;
        continue;
      }
      // An empty row: the rows below move up by one.
      for (TdxTreeListColumn* Column : FColumns)
        if (Column->FBandIndex == Band && Column->RowIndex() > Row) {
          const int NewRow = Column->RowIndex() - 1;
          Column->FRowIndex = NewRow;
          Column->FStoredRowIndex = NewRow;
        }
    }
  }
}

// ---------------------------------------------------------------------------------
// Sorting

int TCustomdxTreeListControl::SortColumnIndex(int I) const {
  return FSortColumns[I]->Index();
}

bool TCustomdxTreeListControl::IsSortColumnDescending(int I) const {
  return FSortColumns[I]->FSorted == csDown;
}

void TCustomdxTreeListControl::AddSortColumn(TdxTreeListColumn* Column) {
  if (Column->FSorted == csNone) return;
  if (std::find(FSortColumns.begin(), FSortColumns.end(), Column) == FSortColumns.end())
    FSortColumns.push_back(Column);
}

void TCustomdxTreeListControl::RemoveSortColumn(TdxTreeListColumn* Column) {
  auto At = std::find(FSortColumns.begin(), FSortColumns.end(), Column);
  if (At != FSortColumns.end()) FSortColumns.erase(At);
}

void TCustomdxTreeListControl::ClearSortColumns() {
  FSortColumns.clear();
  for (TdxTreeListColumn* Column : FColumns) Column->FSorted = csNone;
}

void TCustomdxTreeListControl::ResetColumnsSorted() { ClearSortColumns(); }

void TCustomdxTreeListControl::RebuildSortColumns() {
  // Stable for equal positions: those keep the column order.
  FSortColumns.clear();
  for (TdxTreeListColumn* Column : FColumns)
    if (Column->FSorted != csNone) FSortColumns.push_back(Column);
  std::stable_sort(FSortColumns.begin(), FSortColumns.end(),
                   [](TdxTreeListColumn* A, TdxTreeListColumn* B) {
                     return A->FStoredSortOrder < B->FStoredSortOrder;
                   });
}

void TCustomdxTreeListControl::ToggleColumnSort(TdxTreeListColumn* Column, bool AddToSort,
                                                bool ClearSort) {
  bool Allow = true;
  if (OnColumnSorting.Assigned()) OnColumnSorting(this, Column, Allow);
  if (!Allow) return;
  const bool WasExtending = FExtendingSort;
  FExtendingSort = AddToSort;
  auto Reset = ScopeExit([this, WasExtending] { FExtendingSort = WasExtending; });
  if (ClearSort)
    Column->SetSorted(csNone);
  else
    Column->SetSorted(Column->Sorted() == csUp ? csDown : csUp);
}

// ---------------------------------------------------------------------------------
// Layout caches

void TCustomdxTreeListControl::DropLayoutCaches() {
  FCachesFilled = false;
  FCacheVisibleBands.clear();
  FCacheBandPositions.clear();
  FCacheBandRows.clear();
  FCacheColumnWidths.clear();
  FCacheBandWidths.clear();
  FCacheVisibleColumns.clear();
  FCacheVisiblePositions.clear();
}

void TCustomdxTreeListControl::BuildLayoutCaches() {
  DropLayoutCaches();
  const int Count = FBands->Count();
  FCacheBandPositions.assign(Count, -1);
  for (int I = 0; I < Count; ++I)
    if (FBands->Items(I)->Visible()) {
      FCacheBandPositions[I] = static_cast<int>(FCacheVisibleBands.size());
      FCacheVisibleBands.push_back(I);
    }
  FCacheBandRows.resize(FCacheVisibleBands.size());
  for (std::size_t V = 0; V < FCacheVisibleBands.size(); ++V) {
    const int Band = FCacheVisibleBands[V];
    for (int Row = 0; Row < FHeaderPanelRowCount; ++Row) {
      std::vector<int> Columns;
      for (int I = 0; I < ColumnCount(); ++I)
        if (FColumns[I]->FVisible && FColumns[I]->FBandIndex == Band &&
            FColumns[I]->RowIndex() == Row)
          Columns.push_back(I);
      if (!Columns.empty()) FCacheBandRows[V].push_back(std::move(Columns));
    }
  }
  FCachesFilled = true;
  BuildColumnWidthCache();
  // The visible order, walked through the band rows just cached (the order's own
  // cache counts once both of its lists are there).
  std::vector<int> Order;
  for (int V = 0, Count = TCustomdxTreeListControl::GetVisibleColumnCount(); V < Count; ++V)
    Order.push_back(TCustomdxTreeListControl::GetAbsoluteColumnIndex(V));
  std::vector<int> Positions(FColumns.size(), -1);
  for (int V = 0; V < static_cast<int>(Order.size()); ++V)
    if (Positions[Order[V]] < 0) Positions[Order[V]] = V;
  FCacheVisibleColumns = std::move(Order);
  FCacheVisiblePositions = std::move(Positions);
}

void TCustomdxTreeListControl::AfterLayout() {
  inherited::AfterLayout();
  if (!Destroying()) BuildLayoutCaches();
}

const std::vector<std::vector<int>>* TCustomdxTreeListControl::CachedBandRows(
    int VisibleBand) const {
  if (!FCachesFilled || VisibleBand < 0 ||
      VisibleBand >= static_cast<int>(FCacheBandRows.size()))
    return nullptr;
  return &FCacheBandRows[VisibleBand];
}
