// The tree list's visible rows: the row index (the node of every row, and every row's
// number kept in its node), its rebuild, its patches for one inserted, deleted,
// expanded or collapsed node, its drop for the length of an update, and the walking
// answers given while it is not valid.
//
// Costs: the node of a row is read in constant time; the row of a node in constant
// time once the rows above it are numbered. A change renumbers nothing at once: it
// lowers the mark below which numbers are current, and the next question numbers on
// from there as far as it needs, so a run of changes costs one pass, not one each.
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

void AppendVisibleDescendants(const TdxTreeListNode* Node, std::vector<TdxTreeListNode*>& Rows) {
  ForEachVisibleDescendant(Node, [&](TdxTreeListNode* Child) { Rows.push_back(Child); });
}

int CountVisibleDescendants(const TdxTreeListNode* Node) {
  int Result = 0;
  ForEachVisibleDescendant(Node, [&](TdxTreeListNode*) { ++Result; });
  return Result;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Drop, rebuild, patch

void TCustomdxTreeList::DropRowIndex() {
  if (FRowIndexFrozen) return;
  FRowIndexBuilt = false;
  FRowNodes.clear();
  FRowsNumbered = 0;
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
  FRowNodes.clear();
  FRowNodes.reserve(FNodes.Count());
  for (int I = 0, N = FNodes.Count(); I < N; ++I) {
    TdxTreeListNode* Node = FNodes.Items(I);
    FRowNodes.push_back(Node);
    if (Node->Expanded()) AppendVisibleDescendants(Node, FRowNodes);
  }
  const int Count = static_cast<int>(FRowNodes.size());
  for (int R = 0; R < Count; ++R) FRowNodes[R]->FRow = R;
  FRowsNumbered = Count;
}

int TCustomdxTreeList::FindRow(const TdxTreeListNode* Node) {
  const int Count = static_cast<int>(FRowNodes.size());
  const int Known = Node->FRow;
  if (Known >= 0 && Known < FRowsNumbered && FRowNodes[Known] == Node) return Known;
  for (int R = FRowsNumbered; R < Count; ++R) {
    TdxTreeListNode* At = FRowNodes[R];
    At->FRow = R;
    if (At == Node) {
      FRowsNumbered = R + 1;
      return R;
    }
  }
  FRowsNumbered = Count;
  return -1;
}

void TCustomdxTreeList::PatchInsertion(TdxTreeListNode* Node) {
  // The new node (a leaf) takes the row of the node that follows it in walking order.
  TdxTreeListNode* Following = Node->NextPastSubtree();
  int Row = Following ? FindRow(Following) : -1;
  if (Row < 0) Row = static_cast<int>(FRowNodes.size());
  FRowNodes.insert(FRowNodes.begin() + Row, Node);
  FRowsNumbered = std::min(FRowsNumbered, Row);
  TdxTreeListNode* Parent = Node->Parent();
  if (Parent && Node->IsLast() && Parent->Count() >= 2)
    if (TdxTreeListNode* Former = Node->GetPrevSibling()) Former->ResetCachedRowHeight();
}

void TCustomdxTreeList::PatchDeletion(TdxTreeListNode* Node) {
  const int Row = FindRow(Node);
  if (Row < 0) return;
  FRowNodes.erase(FRowNodes.begin() + Row);
  FRowsNumbered = std::min(FRowsNumbered, Row);
}

bool TCustomdxTreeList::PatchExpanded(TdxTreeListNode* Node) {
  if (!RowIndexValid()) return false;
  if (Node->IsVisible()) {
    const int Row = FindRow(Node);
    if (Row < 0) return false;
    const auto At = FRowNodes.begin() + Row + 1;
    if (Node->Expanded()) {
      std::vector<TdxTreeListNode*> Shown;
      AppendVisibleDescendants(Node, Shown);
      FRowNodes.insert(At, Shown.begin(), Shown.end());
    } else {
      FRowNodes.erase(At, At + CountVisibleDescendants(Node));
    }
    FRowsNumbered = std::min(FRowsNumbered, Row + 1);
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
  return RowIndexValid() ? static_cast<int>(FRowNodes.size()) : WalkRowCount();
}

int TCustomdxTreeList::GetNodeRowIndex(const TdxTreeListNode* Node) {
  if (!Node || FNodes.Count() == 0) return -1;
  if (!RowIndexValid()) return WalkRowOf(Node);
  if (Node->Owner() != this || !Node->IsVisible()) return -1;
  return FindRow(Node);
}

TdxTreeListNode* TCustomdxTreeList::GetNodeAtRow(int Index) {
  if (!RowIndexValid()) return WalkNodeAt(Index);
  if (Index < 0 || Index >= static_cast<int>(FRowNodes.size())) return nullptr;
  return FRowNodes[Index];
}

int TCustomdxTreeList::GetFocusedRowIndex() {
  return FFocusedNode ? GetNodeRowIndex(FFocusedNode) : 0;
}

void TCustomdxTreeList::SetFocusedRowIndex(int Index) {
  if (FNodes.Count() == 0) return;
  const int Current = GetFocusedRowIndex();
  if (Index == Current) return;
  Index = std::clamp(Index, 0, std::max(GetVisibleNodeCount() - 1, 0));
  if (Index == Current) return;
  SetFocusedNode(GetNodeAtRow(Index), FocusedColumn(), true);
}
