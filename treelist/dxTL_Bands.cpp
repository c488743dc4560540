// Bands: their values and setters, pinning to an edge, moves that carry their columns,
// the visible-band mapping and the collection's change notification.
#include "treelist/dxTL_Bands.h"

#include <algorithm>

#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"

TCLASS_IMPL(TdxTreeListBand)
TCLASS_IMPL(TdxTreeListBands)

// ---------------------------------------------------------------------------------
// TdxTreeListBand

TdxTreeListBands* TdxTreeListBand::Bands() const {
  return ObjectAs<TdxTreeListBands>(Collection());
}

TCustomdxTreeListControl* TdxTreeListBand::TreeList() const {
  TdxTreeListBands* Owner = Bands();
  return Owner ? Owner->TreeList() : nullptr;
}

void TdxTreeListBand::BeforeDestruction() {
  SetCollection(nullptr);
  inherited::BeforeDestruction();
}

void TdxTreeListBand::RestoreDefaults() {
  FAlignment = taCenter;
  FFixed = bfNone;
  FMinWidth = 30;
  FOnlyOwnColumns = false;
  FSizing = true;
  FWidth = 250;
  Changed(true);
}

void TdxTreeListBand::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListBand>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  TCollection* Owner = Collection();
  if (Owner) Owner->BeginUpdate();
  auto Done = ScopeExit([Owner] {
    if (Owner) Owner->EndUpdate();
  });
  RestoreDefaults();
  SetAlignment(Other->FAlignment);
  SetCaption(Other->FCaption);
  SetFixed(Other->FFixed);
  SetMinWidth(Other->FMinWidth);
  FOnlyOwnColumns = Other->FOnlyOwnColumns;
  SetSizing(Other->FSizing);
  SetVisible(Other->FVisible);
  SetWidth(Other->FWidth);
}

int TdxTreeListBand::VisibleIndex() const {
  TdxTreeListBands* Owner = Bands();
  return Owner ? Owner->GetVisibleIndex(Index()) : -1;
}

int TdxTreeListBand::RowCount() const {
  TCustomdxTreeListControl* Tree = TreeList();
  return Tree ? Tree->GetHeaderRowCount(VisibleIndex()) : 0;
}

int TdxTreeListBand::RowColumnCount(int Row) const {
  TCustomdxTreeListControl* Tree = TreeList();
  return Tree ? Tree->GetHeaderColumnCount(VisibleIndex(), Row) : 0;
}

TdxTreeListColumn* TdxTreeListBand::RowColumns(int Row, int Col) const {
  TCustomdxTreeListControl* Tree = TreeList();
  if (!Tree) return nullptr;
  return Tree->FindColumn(Tree->GetHeaderAbsoluteColumnIndex(VisibleIndex(), Row, Col));
}

void TdxTreeListBand::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Changed(false);
}

void TdxTreeListBand::SetCaption(const AnsiString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed(false);
}

void TdxTreeListBand::SetDisableCustomizing(bool Value) {
  if (Value == FDisableCustomizing) return;
  FDisableCustomizing = Value;
  Changed(false);
}

void TdxTreeListBand::SetSizing(bool Value) {
  if (Value == FSizing) return;
  FSizing = Value;
  Changed(false);
}

void TdxTreeListBand::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  if (!Value) FFixed = bfNone;
  Changed(true);
}

void TdxTreeListBand::SetMinWidth(int Value) {
  FMinWidth = std::clamp(Value, 0, dxTLMaxWidth);
  SetWidth(FWidth);
}

void TdxTreeListBand::SetWidth(int Value) {
  Value = std::clamp(Value, FMinWidth, dxTLMaxWidth);
  if (Value == FWidth) {
    // A width derived from the header or the default layout is recomputed.
    TCustomdxTreeListControl* Tree = TreeList();
    if (Tree && (Tree->DefaultLayout() || Tree->IsBandHeaderWidth())) Changed(true);
    return;
  }
  FWidth = Value;
  Changed(true);
}

void TdxTreeListBand::SetFixed(TdxGridBandFixed Value) {
  if (Value == FFixed) return;
  FFixed = bfNone;
  TdxTreeListBands* Owner = Bands();
  if (Value != bfNone && Owner) {
    for (int I = 0; I < Owner->Count(); ++I)
      if (Owner->Items(I)->FFixed == Value) Owner->Items(I)->FFixed = bfNone;
    SetIndex(Value == bfLeft ? 0 : Owner->Count() - 1);
  }
  if (FVisible) FFixed = Value;
  Changed(true);
}

void TdxTreeListBand::SetIndex(int Value) {
  TdxTreeListBands* Owner = Bands();
  const int Current = Index();
  if (!Owner || Current < 0) return;
  Value = std::clamp(Value, 0, Owner->Count() - 1);
  if (FFixed != bfNone || Value == Current) return;
  if (TCustomdxTreeListControl* Tree = Owner->TreeList()) {
    // The columns follow their bands; -2 marks the moving band's columns for the
    // length of the shift (written straight: the setter would clamp it).
    const int Step = Value > Current ? -1 : 1;
    const int Low = std::min(Value, Current), High = std::max(Value, Current);
    for (int I = 0; I < Tree->ColumnCount(); ++I) {
      TdxTreeListColumn* Column = Tree->Columns(I);
      if (Column->FBandIndex == Current) Column->FBandIndex = -2;
    }
    for (int I = 0; I < Tree->ColumnCount(); ++I) {
      TdxTreeListColumn* Column = Tree->Columns(I);
      if (Column->FBandIndex >= Low && Column->FBandIndex <= High)
        Column->FBandIndex += Step;
    }
    for (int I = 0; I < Tree->ColumnCount(); ++I) {
      TdxTreeListColumn* Column = Tree->Columns(I);
      if (Column->FBandIndex == -2) Column->FBandIndex = Value;
    }
    Tree->BandIndexMoved(Current, Value);
  }
  inherited::SetIndex(Value);
}

// ---------------------------------------------------------------------------------
// TdxTreeListBands

TPersistent* TdxTreeListBands::GetOwner() { return FTreeList; }

int TdxTreeListBands::VisibleCount() const {
  if (FTreeList && FTreeList->LayoutCachesFilled())
    return static_cast<int>(FTreeList->FCacheVisibleBands.size());
  int Result = 0;
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->FVisible) ++Result;
  return Result;
}

int TdxTreeListBands::GetAbsoluteIndex(int VisibleIndex) const {
  if (VisibleIndex < 0) return -1;
  if (FTreeList && FTreeList->LayoutCachesFilled()) {
    const std::vector<int>& Cache = FTreeList->FCacheVisibleBands;
    return VisibleIndex < static_cast<int>(Cache.size()) ? Cache[VisibleIndex] : -1;
  }
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->FVisible && VisibleIndex-- == 0) return I;
  return -1;
}

int TdxTreeListBands::GetVisibleIndex(int AbsoluteIndex) const {
  if (AbsoluteIndex < 0 || AbsoluteIndex >= Count()) return -1;
  if (FTreeList && FTreeList->LayoutCachesFilled())
    return FTreeList->FCacheBandPositions[AbsoluteIndex];
  if (!Items(AbsoluteIndex)->FVisible) return -1;
  int Result = 0;
  for (int I = 0; I < AbsoluteIndex; ++I)
    if (Items(I)->FVisible) ++Result;
  return Result;
}

TdxTreeListBand* TdxTreeListBands::VisibleItems(int VisibleIndex) const {
  const int Index = GetAbsoluteIndex(VisibleIndex);
  return Index >= 0 ? Items(Index) : nullptr;
}

void TdxTreeListBands::NormalizeFixed() {
  TdxTreeListBand* Left = nullptr;
  TdxTreeListBand* Right = nullptr;
  bool Wrong = false;
  const int LastVisible = VisibleCount() - 1;
  for (int I = 0; I < Count(); ++I) {
    TdxTreeListBand* Band = Items(I);
    if (Band->FFixed == bfLeft) {
      if (Left)
        Wrong = true;
      else {
        Left = Band;
        if (GetVisibleIndex(I) != 0) Wrong = true;
      }
    } else if (Band->FFixed == bfRight) {
      if (Right)
        Wrong = true;
      else {
        Right = Band;
        if (GetVisibleIndex(I) != LastVisible) Wrong = true;
      }
    }
  }
  if (!Wrong) return;
  for (int I = 0; I < Count(); ++I) Items(I)->FFixed = bfNone;
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  if (Left) Left->SetFixed(bfLeft);
  if (Right) Right->SetFixed(bfRight);
}

void TdxTreeListBands::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  inherited::Notify(Item, Action);
  // Every way out (freed, deleted, cleared, taken out or moved to another collection)
  // passes here while the band still has its index.
  if (Action == cnExtracting) BandLeaving(Item->Index());
}

void TdxTreeListBands::BandLeaving(int Index) {
  if (!FTreeList || Index < 0) return;
  FTreeList->BandIndexMoved(Index, -1);
  if (FTreeList->Destroying() || FTreeList->ComponentState().Contains(csAncestor)) return;
  // The columns keep their bands: the going band's columns are left without one and
  // the later bands' columns follow them down. This holds inside an update too, so
  // that nothing done later in it, nor its end, finds a column in a stranger's band.
  for (int I = 0; I < FTreeList->ColumnCount(); ++I) {
    TdxTreeListColumn* Column = FTreeList->Columns(I);
    if (Column->FBandIndex == Index)
      Column->FBandIndex = -1;
    else if (Column->FBandIndex > Index)
      --Column->FBandIndex;
  }
}

void TdxTreeListBands::Update(TCollectionItem* /*Item*/) {
  if (FTreeList) FTreeList->BandsChanged();
}
