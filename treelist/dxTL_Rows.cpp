// The tree list's visible rows: the row index (the node of every row and the row of
// every node, TdxTreeListRowList), its rebuild, its patches for one inserted, deleted,
// expanded or collapsed node, its drop for the length of an update, and the walking
// answers given while it is not valid.
//
// Costs: both questions are answered in constant time. A patch costs the rows it
// inserts or removes, plus the rows between it and the change before (none for a run
// of changes going down the list).
#include <algorithm>

#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

namespace {

// Calls Visit for every visible descendant of Node in row order (Node's own Expanded
// is not asked), walking without recursion: after a node comes its first child when
// it is expanded, else the next sibling of it or of its nearest ancestor below Node.
template <class TVisit>
void ForEachVisibleDescendant(const TdxTreeListNode* Node, TVisit Visit) {
  TdxTreeListNode* N = Node->GetFirstChild();
  while (N) {
    Visit(N);
    if (N->Expanded() && N->Count() > 0) {
      N = N->GetFirstChild();
      continue;
    }
    while (N != Node) {
      if (TdxTreeListNode* Sibling = N->GetNextSibling()) {
        N = Sibling;
        break;
      }
      N = N->Parent();
    }
    if (N == Node) break;
  }
}


}  // namespace

// ---------------------------------------------------------------------------------
// Drop, rebuild, patch

void TCustomdxTreeList::DropRowIndex() {
  if (FRowIndexFrozen) return;
  FRowIndexBuilt = false;
  FRows.Clear();
  FFocusedAbsoluteIndex = -1;
  ResetRowHeightCache();
}

void TCustomdxTreeList::ResetRowHeightCache() {
  if (FClearing || Destroying()) return;
  // Every node's cached height is stamped with the generation it was computed in.
  if (++FRowHeightGeneration == 0) FRowHeightGeneration = 1;
}

void TCustomdxTreeList::UpdateLayout() {
  if (FUpdateCount > 0) return;
  {
    TCountScope Updating(FUpdateCount);
    CalcSizes();
    DropRowIndex();
    AfterLayout();
    // The index is rebuilt before the scroll state, which then counts rows through it.
    UpdateRowIndex();
    CalcRowsInView();
    KeepTopInRange();
    ClampLeftCoord();
    RefreshScrollBars();
    RemoveScrollBarsIfFit();
  }
  InvalidateClient();
  // A running edit stays over its cell (or ends storing when the cell left the view).
  KeepEditorOnCell();
}

void TCustomdxTreeList::UpdateRowIndex() {
  if (!FChangedNode) {
    RebuildRowIndex();
  } else if (FChangedNodeVisible && RowIndexValid()) {
    if (FChangedNodeDeleted)
      PatchDeletion(FChangedNode);
    else
      PatchInsertion(FChangedNode);
  }
  if (!FRowIndexFrozen && IsRowAutoHeight()) ResetRowHeightCache();
  FRowIndexBuilt = true;
}

void TCustomdxTreeList::NodeStructureChanged(TdxTreeListNode* Node, bool Deleted) {
  FChangedNode = Node;
  FChangedNodeDeleted = Deleted;
  FChangedNodeVisible = Deleted ? FDeletedNodeVisible : Node->IsVisible();
  struct TReset {
    TCustomdxTreeList* Self;
    ~TReset() {
      Self->FChangedNode = nullptr;
      Self->FChangedNodeVisible = false;
      Self->FChangedNodeDeleted = false;
    }
  } Reset{this};
  UpdateRowIndex();
}

void TCustomdxTreeList::RebuildRowIndex() {
  FRows.Clear();
  FRows.Reserve(FNodes.Count());
  for (int I = 0, N = FNodes.Count(); I < N; ++I) {
    TdxTreeListNode* Node = FNodes.Items(I);
    FRows.Append(Node);
    if (Node->Expanded())
      ForEachVisibleDescendant(Node, [this](TdxTreeListNode* Child) { FRows.Append(Child); });
  }
}

void TCustomdxTreeList::PatchInsertion(TdxTreeListNode* Node) {
  // The new node (a leaf) takes the row of the node that follows it in walking order.
  TdxTreeListNode* Following = Node->NextPastSubtree();
  int Row = Following ? FRows.RowOf(Following) : -1;
  if (Row < 0) Row = FRows.Count();
  FRows.Insert(Row, &Node, 1);
  TdxTreeListNode* Parent = Node->Parent();
  if (Parent && Node->IsLast() && Parent->Count() >= 2)
    if (TdxTreeListNode* Former = Node->GetPrevSibling()) Former->ResetCachedRowHeight();
}

void TCustomdxTreeList::PatchDeletion(TdxTreeListNode* Node) {
  const int Row = FRows.RowOf(Node);
  if (Row >= 0) FRows.Erase(Row, 1);
}

bool TCustomdxTreeList::PatchExpanded(TdxTreeListNode* Node) {
  if (!RowIndexValid()) return false;
  if (Node->IsVisible()) {
    const int Row = FRows.RowOf(Node);
    if (Row < 0) return false;
    if (Node->Expanded()) {
      std::vector<TdxTreeListNode*> Shown;
      ForEachVisibleDescendant(Node, [&](TdxTreeListNode* Child) { Shown.push_back(Child); });
      FRows.Insert(Row + 1, Shown.data(), static_cast<int>(Shown.size()));
    } else {
      // The rows up to the node past its subtree (visible, as the node is) were its.
      TdxTreeListNode* Following = Node->NextPastSubtree();
      const int End = Following ? FRows.RowOf(Following) : FRows.Count();
      if (End < Row + 1) return false;
      FRows.Erase(Row + 1, End - Row - 1);
    }
  }
  if (!FRowIndexFrozen && IsRowAutoHeight()) ResetRowHeightCache();
  FRowIndexBuilt = true;
  return true;
}

// ---------------------------------------------------------------------------------
// Row questions

TdxTreeListNode* TCustomdxTreeList::WalkNext(const TdxTreeListNode* Node) {
  if (Node->Expanded() && Node->Count() > 0) return Node->GetFirstChild();
  return Node->NextPastSubtree();
}

int TCustomdxTreeList::WalkRowCount() const {
  int Result = 0;
  for (TdxTreeListNode* N = FNodes.First(); N; N = WalkNext(N)) ++Result;
  return Result;
}

int TCustomdxTreeList::WalkRowOf(const TdxTreeListNode* Node) const {
  int Row = 0;
  for (TdxTreeListNode* N = FNodes.First(); N; N = WalkNext(N), ++Row)
    if (N == Node) return Row;
  return -1;
}

TdxTreeListNode* TCustomdxTreeList::WalkNodeAt(int Index) const {
  if (Index < 0) return nullptr;
  TdxTreeListNode* N = FNodes.First();
  for (; N && Index > 0; --Index) N = WalkNext(N);
  return N;
}

int TCustomdxTreeList::GetVisibleNodeCount() {
  return RowIndexValid() ? FRows.Count() : WalkRowCount();
}

int TCustomdxTreeList::GetNodeRowIndex(const TdxTreeListNode* Node) {
  if (!Node || FNodes.Count() == 0) return -1;
  if (!RowIndexValid()) return WalkRowOf(Node);
  if (Node->Owner() != this || !Node->IsVisible()) return -1;
  return FRows.RowOf(Node);
}

TdxTreeListNode* TCustomdxTreeList::GetNodeAtRow(int Index) {
  if (!RowIndexValid()) return WalkNodeAt(Index);
  if (Index < 0 || Index >= FRows.Count()) return nullptr;
  return FRows.At(Index);
}

int TCustomdxTreeList::GetFocusedRowIndex() {
  return FFocusedNode ? GetNodeRowIndex(FFocusedNode) : 0;
}

void TCustomdxTreeList::SetFocusedRowIndex(int Index) {
  if (FNodes.Count() == 0) return;
  Index = std::clamp(Index, 0, std::max(GetVisibleNodeCount() - 1, 0));
  // Without a focused node the current row counts as 0: asking for it does nothing.
  if (!FFocusedNode && Index == 0) return;
  // The row already focused is brought into view all the same.
  SetFocusedNode(GetNodeAtRow(Index), FocusedColumn(), true);
}
