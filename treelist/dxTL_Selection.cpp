// The tree list's selection: the brackets that report a changed count once, the base's
// answers (the focused node is the selection), tree order, and TdxTreeList's selection
// list, kept in ascending order of the nodes' addresses so that a node is found by
// binary search and a range is merged into it in one pass.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

namespace {

bool ByAddress(const TdxTreeListNode* A, const TdxTreeListNode* B) {
  return reinterpret_cast<std::uintptr_t>(A) < reinterpret_cast<std::uintptr_t>(B);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Brackets

void TCustomdxTreeList::BeginSelectionUpdate() {
  if (FSelectionUpdateCount++ == 0) FSelectionCountAtBegin = SelectedCount();
}

void TCustomdxTreeList::EndSelectionUpdate() {
  if (FSelectionUpdateCount == 0) return;
  if (--FSelectionUpdateCount == 0 && SelectedCount() != FSelectionCountAtBegin)
    DoSelectedCountChange();
}

// ---------------------------------------------------------------------------------
// The base: no selection of its own

TdxTreeListNode* TCustomdxTreeList::GetSelectionReferenceNode() {
  if (SelectedCount() > 0) return SelectedNodes(0);
  return FRangeStartNode;
}

void TCustomdxTreeList::ClearSelection() {
  FRangeExtending = false;
  DoSelectedCountChange();
}

int TCustomdxTreeList::CompareWithAnchor(TdxTreeListNode* Node) {
  const int Row = GetNodeRowIndex(Node);
  const int Anchor = FSelectionAnchor ? GetNodeRowIndex(FSelectionAnchor) : -1;
  return Row < Anchor ? -1 : Row > Anchor ? 1 : 0;
}

void TCustomdxTreeList::DeleteSelection() { FRangeExtending = false; }

void TCustomdxTreeList::InvalidateSelection() {
  if (!HandleAllocated()) return;
  TRect R;
  GetNodeRowRect(FFocusedNode, R);
  if (R.top != -1) InvalidateArea(R);
  const int Count = SelectedCount();
  if (Count > 10) {
    InvalidateClient();
    return;
  }
  for (int I = 0; I < Count; ++I) {
    GetNodeRowRect(SelectedNodes(I), R);
    if (R.top != -1) InvalidateArea(R);
  }
}

void TCustomdxTreeList::SetNodeSelected(TdxTreeListNode* Node, bool Value) {
  if (Value && !FOptions.Contains(aoMultiSelect)) SetFocusedNode(Node, FocusedColumn(), true);
  if (!Destroying() && OnSelectionChanged.Assigned()) OnSelectionChanged(this, Node);
  DoSelectedCountChange();
}

void TCustomdxTreeList::SelectRange(TdxTreeListNode* From, TdxTreeListNode* To) {
  if (!From || !To) return;
  BeginSelectionUpdate();
  auto Close = ScopeExit([this] { EndSelectionUpdate(); });
  int R1 = GetNodeRowIndex(From), R2 = GetNodeRowIndex(To);
  if (R1 > R2) {
    std::swap(R1, R2);
    std::swap(From, To);
  }
  const int Rows = std::abs(R1 - R2) + 1;
  TdxTreeListNode* N = From;
  for (int I = 0; N && I < Rows; ++I) {
    N->SetSelected(true);
    if (N == To) break;
    N = N->GetNextVisible();
  }
}

int TCustomdxTreeList::CompareTreeOrder(const TdxTreeListNode* A, const TdxTreeListNode* B) {
  if (A == B) return 0;
  if (B->HasAsParent(const_cast<TdxTreeListNode*>(A))) return -1;
  if (A->HasAsParent(const_cast<TdxTreeListNode*>(B))) return 1;
  int LA = A->Level(), LB = B->Level();
  for (; LA > LB; --LA) A = A->Parent();
  for (; LB > LA; --LB) B = B->Parent();
  while (A->Parent() != B->Parent()) {
    A = A->Parent();
    B = B->Parent();
  }
  return A->Index() - B->Index();
}

// ---------------------------------------------------------------------------------
// TdxTreeList: the selection list

TdxTreeListNode* TdxTreeList::SelectedNodes(int Index) {
  return Index >= 0 && Index < SelectedCount() ? FSelection[Index] : nullptr;
}

bool TdxTreeList::IsNodeSelected(TdxTreeListNode* Node) {
  return std::binary_search(FSelection.begin(), FSelection.end(), Node, ByAddress);
}

void TdxTreeList::SetNodeSelected(TdxTreeListNode* Node, bool Value) {
  if (!IsMultiSelect() || !Node) return;
  const auto At = std::lower_bound(FSelection.begin(), FSelection.end(), Node, ByAddress);
  const bool Present = At != FSelection.end() && *At == Node;
  if (Value) {
    if (!CanNodeSelected(Node)) return;
    if (!Present) FSelection.insert(At, Node);
  } else if (Present) {
    FSelection.erase(At);
  }
  NodeChanged(Node, false);
  inherited::SetNodeSelected(Node, Value);
}

void TdxTreeList::RemoveFromSelection(TdxTreeListNode* Node) {
  const auto At = std::lower_bound(FSelection.begin(), FSelection.end(), Node, ByAddress);
  if (At != FSelection.end() && *At == Node) FSelection.erase(At);
}

void TdxTreeList::ClearSelection() {
  if (FSelection.empty()) return;
  if (!Destroying() && !Clearing()) InvalidateSelection();
  // Also while the control is being destroyed, by itself or with its form: the
  // handler hears of every node that leaves the selection.
  if (OnSelectionChanged.Assigned()) {
    while (!FSelection.empty()) {
      TdxTreeListNode* Node = FSelection.back();
      FSelection.pop_back();
      OnSelectionChanged(this, Node);
    }
  }
  FSelection.clear();
  inherited::ClearSelection();
}

void TdxTreeList::BeforeDestruction() {
  // A handler that raises cannot stop the destruction: it is reported.
  try {
    ClearSelection();
  } catch (...) {
    HandleWindowException(this);
  }
  inherited::BeforeDestruction();
}

void TdxTreeList::DeleteSelection() {
  inherited::DeleteSelection();
  BeginUpdate();
  auto Done = AtScopeEnd([this] { EndUpdate(); });
  // Each deletion takes its node (and its selected descendants) out of the list.
  while (!FSelection.empty()) FSelection.front()->Free();
  FSelection.clear();
}

void TdxTreeList::SelectRange(TdxTreeListNode* From, TdxTreeListNode* To) {
  if (!From || !To) return;
  BeginSelectionUpdate();
  auto CloseSelection = AtScopeEnd([this] { EndSelectionUpdate(); });
  if (CompareTreeOrder(From, To) > 0) std::swap(From, To);
  BeginUpdate();
  auto Close = AtScopeEnd([this] { EndUpdate(); });
  auto ForgetStart = ScopeExit([this] { SetRangeStartNode(nullptr); });
  UpdateRowIndex();
  const int R1 = GetNodeRowIndex(From), R2 = GetNodeRowIndex(To);
  std::vector<TdxTreeListNode*> Range;
  if (R2 >= R1) Range.reserve(R2 - R1 + 1);
  for (int Row = R1; Row <= R2; ++Row) {
    TdxTreeListNode* N = GetNodeAtRow(Row);
    if (!N) continue;
    if (!RangeStartNode()) SetRangeStartNode(N);
    if (CanNodeSelected(N)) Range.push_back(N);
  }
  if (Range.empty()) return;
  std::sort(Range.begin(), Range.end(), ByAddress);
  std::vector<TdxTreeListNode*> Merged;
  Merged.reserve(Range.size() + FSelection.size());
  std::set_union(Range.begin(), Range.end(), FSelection.begin(), FSelection.end(),
                 std::back_inserter(Merged), ByAddress);
  FSelection.swap(Merged);
  if (OnSelectionChanged.Assigned())
    for (std::size_t I = 0; I < FSelection.size(); ++I) OnSelectionChanged(this, FSelection[I]);
}
