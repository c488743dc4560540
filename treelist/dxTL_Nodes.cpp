// The tree list's nodes: their lists, structure, navigation and the forwarding of
// their cell data, focus and selection to the owner.
#include "treelist/dxTL_Nodes.h"

#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

TCLASS_IMPL(EInvaliddxTreeListOperation)
TCLASS_IMPL(TdxTreeListNode)
TCLASS_IMPL(TdxTreeListTextNode)

// ---------------------------------------------------------------------------------
// TdxTreeListNodeList

TdxTreeListNode* TdxTreeListNodeList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[FStart + Index];
}

int TdxTreeListNodeList::IndexOf(const TdxTreeListNode* Node) const {
  int Index = Node->FIndexStamp - FBase;
  return Items(Index) == Node ? Index : -1;
}

void TdxTreeListNodeList::Renumber(int From) {
  for (int I = From, N = Count(); I < N; ++I) FItems[FStart + I]->FIndexStamp = FBase + I;
}

void TdxTreeListNodeList::Insert(int Index, TdxTreeListNode* Node) {
  if (Index < 0 || Index > Count()) Index = Count();
  if (Index == 0 && FStart > 0) {
    FItems[--FStart] = Node;
    Node->FIndexStamp = --FBase;
    return;
  }
  FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(FStart + Index), Node);
  Renumber(Index);
}

void TdxTreeListNodeList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  if (Index == Count() - 1) {
    FItems.pop_back();
  } else if (Index == 0) {
    FItems[FStart++] = nullptr;
    ++FBase;
    // Stamps stay valid when the dead front is dropped.
    if (FStart >= 16 && FStart * 2 >= FItems.size()) {
      FItems.erase(FItems.begin(), FItems.begin() + static_cast<std::ptrdiff_t>(FStart));
      FStart = 0;
    }
  } else {
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(FStart + Index));
    Renumber(Index);
  }
  if (Count() == 0) Clear();
}

void TdxTreeListNodeList::Rearrange(const std::vector<TdxTreeListNode*>& Order) {
  FItems = Order;
  FStart = 0;
  FBase = 0;
  Renumber(0);
}

void TdxTreeListNodeList::Clear() {
  FItems.clear();
  FStart = 0;
  FBase = 0;
}

// ---------------------------------------------------------------------------------
// TdxTreeListNode

namespace {
TCustomdxTreeList* CheckedOwner(TCustomdxTreeList* AOwner) {
  if (!AOwner) throw EInvaliddxTreeListOperation(SInvalidOwnerNode);
  return AOwner;
}
}  // namespace

TdxTreeListNode::TdxTreeListNode(TCustomdxTreeList* AOwner) : FOwner(CheckedOwner(AOwner)) {}

TdxTreeListNode::~TdxTreeListNode() { delete FChildren; }

void TdxTreeListNode::BeforeDestruction() {
  TCustomdxTreeList* O = FOwner;
  FDeleting = true;
  DeleteChildren();

  TdxTreeListNode* Prev = nullptr;
  TdxTreeListNode* Next = nullptr;
  bool WasLast = false, WasVisible = false;
  if (!O->FClearing) {
    Prev = GetPrevSiblingOrParent();
    bool Visible = false;
    if (O->FDeletionHint.Node == this) {
      // A subtree's deletion already knows the answers that would walk up the tree.
      Visible = O->FDeletionHint.Visible;
      Next = NextVisible(Visible, O->FDeletionHint.PastSubtree);
      O->FDeletionHint = {};
    } else {
      Next = GetNextVisible();
      Visible = IsVisible();
    }
    WasLast = IsLast();
    O->FDeletedNodeVisible = Visible;
    // The children of a node being deleted cause no repaint of their own.
    WasVisible = Visible && !(FParent && FParent->FDeleting);
  }

  // Unlinking. A list that is detached (while clearing) holds this node no more.
  if (TdxTreeListNodeList* List = Siblings()) {
    List->Remove(this);
    if (FParent && List->Count() == 0) {
      delete FParent->FChildren;
      FParent->FChildren = nullptr;
      FParent->FHasChildren = O->NodeHasChildren(FParent);
      FParent->FExpanded = false;
    }
    O->ShapeChanged();
  }
  delete FChildren;
  FChildren = nullptr;

  O->NodeDeleted(this, Prev, WasVisible, WasLast, Next);
  TObject::BeforeDestruction();
}

TdxTreeListNodeList* TdxTreeListNode::Siblings() const {
  TdxTreeListNodeList* List = FParent ? FParent->FChildren : &FOwner->FNodes;
  return List && List->IndexOf(this) >= 0 ? List : nullptr;
}

TdxTreeListNode* TdxTreeListNode::InsertChild(TdxTreeListNode* BeforeNode) {
  TdxTreeListNode* Node = FOwner->CreateNode();
  Node->FParent = this;
  if (!FChildren) {
    FChildren = new TdxTreeListNodeList;
    FChildren->Add(Node);
  } else {
    int At = BeforeNode ? FChildren->IndexOf(BeforeNode) : -1;
    FChildren->Insert(At >= 0 ? At : FChildren->Count(), Node);
  }
  FOwner->ShapeChanged();
  SetHasChildren(true);
  FOwner->NodeInserted(Node);
  return Node;
}

// Both ways of deleting children free the nodes in post-order (a node's children
// before the node, siblings first to last) without recursing, so a tree of any depth
// goes; each node's own Free runs its own notifications.
void TdxTreeListNode::DeleteChildren() {
  if (!FChildren) return;
  if (FOwner->FClearing)
    FreeDetachedDescendants();
  else
    FreeDescendantsOneByOne();
}

void TdxTreeListNode::FreeDetachedDescendants() {
  // A node's child list is detached before its children go, so that no handler meets
  // a freed node in a list; the node itself goes when its list is done.
  struct TLevel {
    TdxTreeListNode* Node;
    TdxTreeListNodeList* Children;
    int Next;
  };
  std::vector<TLevel> Levels{{this, FChildren, 0}};
  FChildren = nullptr;
  while (!Levels.empty()) {
    TLevel& Level = Levels.back();
    if (TdxTreeListNode* Child = Level.Children->Items(Level.Next)) {
      ++Level.Next;
      if (Child->FChildren) {
        // The child's destruction begins here, as its own Free would begin it.
        Child->FDeleting = true;
        Levels.push_back({Child, Child->FChildren, 0});
        Child->FChildren = nullptr;
      } else {
        FreeObjectSafely(Child);
      }
      continue;
    }
    const TLevel Done = Level;
    Levels.pop_back();
    delete Done.Children;
    if (Done.Node != this) FreeObjectSafely(Done.Node);
  }
}

void TdxTreeListNode::FreeDescendantsOneByOne() {
  // Always the first remaining child goes, each firing its own deletion and moving the
  // focus before its parent's. The path from this node down to the next node to free
  // knows each node's visibility and the node past its subtree, which the freed node
  // would otherwise find by walking up the tree (a walk as long as the tree is deep);
  // a change of the tree's shape that is not the freeing itself (a handler's) has the
  // path asked again.
  struct TStep {
    TdxTreeListNode* Node;
    bool Visible;
    TdxTreeListNode* PastSubtree;
  };
  TCustomdxTreeList* O = FOwner;
  std::vector<TStep> Path{{this, false, nullptr}};
  auto Below = [](const TStep& Parent, TdxTreeListNode* Child) {
    TdxTreeListNode* Sibling = Child->GetNextSibling();
    return TStep{Child, Parent.Visible && Parent.Node->FExpanded,
                 Sibling ? Sibling : Parent.PastSubtree};
  };
  bool Stale = true;
  auto Refresh = [&] {
    Path[0].Visible = IsVisible();
    Path[0].PastSubtree = NextPastSubtree();
    for (std::size_t I = 1; I < Path.size(); ++I)
      Path[I] = Below(Path[I - 1], Path[I].Node);
    Stale = false;
  };
  while (true) {
    TdxTreeListNode* Node = Path.back().Node;
    if (TdxTreeListNode* Child = Node->GetFirstChild()) {
      if (Stale) Refresh();
      Child->FDeleting = true;
      Path.push_back(Below(Path.back(), Child));
      continue;
    }
    if (Node == this) break;
    if (Stale) Refresh();
    O->FDeletionHint = {Node, Path.back().Visible, Path.back().PastSubtree};
    Path.pop_back();
    const unsigned Expected = O->FShapeChanges + 1;
    auto Forget = ScopeExit([O] { O->FDeletionHint = {}; });
    Node->Free();
    if (O->FShapeChanges != Expected) Stale = true;
  }
}

void TdxTreeListNode::Expand(bool Recurse) {
  if (!FHasChildren) return;
  // The outermost expansion brackets the whole walk.
  TUpdateScope Updating(FOwner->UpdateCount() == 0 ? FOwner : nullptr);
  SetExpanded(true);
  // With Recurse every descendant that has children, in walking order (a node, then
  // its children first to last), without recursing: one level a node being walked.
  struct TLevel {
    TdxTreeListNode* Node;
    int Next;
  };
  std::vector<TLevel> Levels;
  if (Recurse) Levels.push_back({this, 0});
  while (!Levels.empty()) {
    TLevel& Level = Levels.back();
    TdxTreeListNode* Child = Level.Node->Items(Level.Next++);
    if (!Child) {
      Levels.pop_back();
    } else if (Child->FHasChildren) {
      Child->SetExpanded(true);
      Levels.push_back({Child, 0});
    }
  }
}

void TdxTreeListNode::SetExpanded(bool Value) { FOwner->ChangeExpanded(this, Value); }

void TdxTreeListNode::SetHasChildren(bool Value) {
  if (Value == FHasChildren) return;
  FHasChildren = Value || Count() > 0;
  FOwner->NodeChanged(this, false);
}

bool TdxTreeListNode::SetData(void* Value) {
  if (!FOwner->CanSetNodeData()) return false;
  FData = Value;
  return true;
}

int TdxTreeListNode::Index() const {
  const TdxTreeListNodeList* List = FParent ? FParent->FChildren : &FOwner->FNodes;
  return List ? List->IndexOf(this) : -1;
}

int TdxTreeListNode::IndexOf(const TdxTreeListNode* Child) const {
  if (!FChildren || !Child) return -1;
  return FChildren->IndexOf(Child);
}

int TdxTreeListNode::Level() const {
  int Result = 0;
  for (TdxTreeListNode* P = FParent; P; P = P->FParent) ++Result;
  return Result;
}

TdxTreeListNode* TdxTreeListNode::GetNextSibling() const {
  const TdxTreeListNodeList* List = FParent ? FParent->FChildren : &FOwner->FNodes;
  if (!List) return nullptr;
  int I = List->IndexOf(this);
  return I >= 0 ? List->Items(I + 1) : nullptr;
}

TdxTreeListNode* TdxTreeListNode::GetPrevSibling() const {
  const TdxTreeListNodeList* List = FParent ? FParent->FChildren : &FOwner->FNodes;
  if (!List) return nullptr;
  int I = List->IndexOf(this);
  return I > 0 ? List->Items(I - 1) : nullptr;
}

TdxTreeListNode* TdxTreeListNode::GetPrevSiblingOrParent() const {
  TdxTreeListNode* Result = GetPrevSibling();
  return Result ? Result : FParent;
}

TdxTreeListNode* TdxTreeListNode::NextPastSubtree() const {
  for (const TdxTreeListNode* N = this; N; N = N->FParent)
    if (TdxTreeListNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

TdxTreeListNode* TdxTreeListNode::GetNext() const {
  if (TdxTreeListNode* C = GetFirstChild()) return C;
  return NextPastSubtree();
}

TdxTreeListNode* TdxTreeListNode::GetPrev() const {
  TdxTreeListNode* Result = GetPrevSibling();
  if (!Result) return FParent;
  while (TdxTreeListNode* L = Result->GetLastChild()) Result = L;
  return Result;
}

TdxTreeListNode* TdxTreeListNode::GetNextVisible() const {
  if (FOwner->RowIndexValid()) {
    int Row = FOwner->GetNodeRowIndex(this);
    return Row >= 0 ? FOwner->GetNodeAtRow(Row + 1) : nullptr;
  }
  if (FExpanded && Count() > 0) return GetFirstChild();
  return NextPastSubtree();
}

TdxTreeListNode* TdxTreeListNode::NextVisible(bool Visible,
                                              TdxTreeListNode* PastSubtree) const {
  if (FOwner->RowIndexValid()) {
    // GetNodeRowIndex with the visibility known.
    const int Row = Visible && FOwner->FNodes.Count() > 0 ? FOwner->FRows.RowOf(this) : -1;
    return Row >= 0 ? FOwner->GetNodeAtRow(Row + 1) : nullptr;
  }
  if (FExpanded && Count() > 0) return GetFirstChild();
  return PastSubtree;
}

TdxTreeListNode* TdxTreeListNode::GetPrevVisible() const {
  if (FOwner->RowIndexValid()) {
    int Row = FOwner->GetNodeRowIndex(this);
    return Row > 0 ? FOwner->GetNodeAtRow(Row - 1) : nullptr;
  }
  TdxTreeListNode* Result = GetPrevSibling();
  if (!Result) return FParent;
  while (Result->FExpanded && Result->Count() > 0) Result = Result->GetLastChild();
  return Result;
}

bool TdxTreeListNode::IsLast() const { return !GetNextSibling(); }

bool TdxTreeListNode::IsVisible() const {
  for (TdxTreeListNode* P = FParent; P; P = P->FParent)
    if (!P->FExpanded) return false;
  return true;
}

bool TdxTreeListNode::HasAsParent(const TdxTreeListNode* Node) const {
  if (!Node) return false;
  for (TdxTreeListNode* P = FParent; P; P = P->FParent)
    if (P == Node) return true;
  return false;
}

int TdxTreeListNode::GetVisibleIndex() const { return FOwner->GetNodeRowIndex(this); }

void TdxTreeListNode::MakeVisible() {
  std::vector<TdxTreeListNode*> Collapsed;
  for (TdxTreeListNode* P = FParent; P; P = P->FParent)
    if (!P->FExpanded) Collapsed.push_back(P);
  if (!Collapsed.empty()) {
    TUpdateScope Updating(FOwner);
    for (auto It = Collapsed.rbegin(); It != Collapsed.rend(); ++It) (*It)->SetExpanded(true);
  }
  // A row above the top row becomes the top row; one below the last whole row on the
  // screen becomes the last row.
  if (!FOwner->TopVisibleNode()) return;
  const int Row = FOwner->GetNodeRowIndex(this);
  const int Top = FOwner->GetTopIndex();
  if (Row < 0) return;
  if (Row < Top)
    FOwner->SetTopIndex(Row);
  else if (FOwner->HandleAllocated() && Row >= Top + FOwner->FullRowCount())
    FOwner->SetTopIndex(FOwner->TopIndexForLastRow(Row));
}

bool TdxTreeListNode::Focused() const { return FOwner->FocusedNode() == this; }

void TdxTreeListNode::SetFocused(bool Value) {
  if (Value && !Focused()) FOwner->SetFocusedNode(this, FOwner->FocusedColumn(), true);
}

bool TdxTreeListNode::Selected() const {
  if (FOwner->Options().Contains(aoMultiSelect))
    return FOwner->IsNodeSelected(const_cast<TdxTreeListNode*>(this));
  return Focused();
}

void TdxTreeListNode::SetSelected(bool Value) { FOwner->SetNodeSelected(this, Value); }

int TdxTreeListNode::ImageIndex() const {
  return FOwner->GetNodeImageIndex(const_cast<TdxTreeListNode*>(this));
}
void TdxTreeListNode::SetImageIndex(int Value) { FOwner->SetNodeImageIndex(this, Value); }
int TdxTreeListNode::SelectedIndex() const {
  return FOwner->GetNodeSelectedIndex(const_cast<TdxTreeListNode*>(this));
}
void TdxTreeListNode::SetSelectedIndex(int Value) { FOwner->SetNodeSelectedIndex(this, Value); }
int TdxTreeListNode::StateIndex() const {
  return FOwner->GetNodeStateIndex(const_cast<TdxTreeListNode*>(this));
}
void TdxTreeListNode::SetStateIndex(int Value) { FOwner->SetNodeStateIndex(this, Value); }

AnsiString TdxTreeListNode::Strings(int Column) const {
  return FOwner->GetNodeString(const_cast<TdxTreeListNode*>(this), Column);
}
void TdxTreeListNode::SetStrings(int Column, const AnsiString& Text) {
  FOwner->SetNodeString(this, Column, Text);
}
Variant TdxTreeListNode::Values(int Column) const {
  return FOwner->GetNodeValue(const_cast<TdxTreeListNode*>(this), Column);
}
void TdxTreeListNode::SetValues(int Column, const Variant& Value) {
  FOwner->SetNodeValue(this, Column, Value);
}

int TdxTreeListNode::CachedRowHeight() const {
  return FRowHeightGeneration == FOwner->RowHeightGeneration() ? FRowHeight : 0;
}
int TdxTreeListNode::CachedRowLineCount() const {
  return FRowHeightGeneration == FOwner->RowHeightGeneration() ? FRowLineCount : 0;
}
void TdxTreeListNode::SetCachedRowHeight(int Height, int LineCount) {
  FRowHeight = Height;
  FRowLineCount = LineCount;
  FRowHeightGeneration = FOwner->RowHeightGeneration();
}
