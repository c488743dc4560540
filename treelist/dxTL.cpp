// The tree list's owner operations on nodes: adding, deleting, clearing, expanding
// and collapsing, the focus and top-node rules with their events, updates, and the
// text-node and auto-sort layers.
#include "treelist/dxTL.h"

#include <exception>
#include <utility>

#include "classlib/Format.h"
#include "classlib/Lists.h"
#include "classlib/Memory.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TCustomdxTreeList)
TCLASS_IMPL(TCustomdxTreeListControl)
TCLASS_IMPL(TdxTreeList)

// ---------------------------------------------------------------------------------
// TCustomdxTreeList: life

TCustomdxTreeList::TCustomdxTreeList(TComponent* AOwner) : TCustomdxContainer(AOwner) {
  SetTabStop(true);
  FParentColor = false;
  FColor = clWindow;
  Brush()->SetColor(clWindow);
  for (TFont** Field : {&FBandFont, &FHeaderFont, &FPreviewFont}) {
    *Field = NewObject<TFont>();
    (*Field)->Assign(Font());
    (*Field)->OnChange = TNotifyEvent::Bind<&TCustomdxTreeList::FontChanged>(this);
  }
  for (TChangeLink** Link : {&FImageChangeLink, &FStateChangeLink}) {
    *Link = NewObject<TChangeLink>();
    (*Link)->OnChange = TNotifyEvent::Bind<&TCustomdxTreeList::ImageListChange>(this);
  }
}

TCustomdxTreeList::~TCustomdxTreeList() {
  FreeAndNil(FStateChangeLink);
  FreeAndNil(FImageChangeLink);
  FreeAndNil(FPreviewFont);
  FreeAndNil(FHeaderFont);
  FreeAndNil(FBandFont);
}

void TCustomdxTreeList::BeforeDestruction() {
  // The marker of TComponent: the query of the same name only reads it.
  TComponent::Destroying();
  HideCornerHint();
  DropRowIndex();
  ClearNodes();
  inherited::BeforeDestruction();
}

// ---------------------------------------------------------------------------------
// Nodes

TdxTreeListNode* TCustomdxTreeList::Add() {
  TdxTreeListNode* Node = CreateNode();
  FNodes.Add(Node);
  ShapeChanged();
  NodeInserted(Node);
  return Node;
}

void TCustomdxTreeList::ClearNodes() {
  const bool Destroyed = Destroying();
  if (!Destroyed) BeginUpdate();
  const bool WasFrozen = FRowIndexFrozen;
  std::exception_ptr Error;
  {
    auto Done = ScopeExit([&] {
      FRowIndexFrozen = WasFrozen;
      FClearing = false;
    });
    FClearing = true;
    ClearSelection();
    DropRowIndex();
    FRowIndexFrozen = true;
    try {
      ClearNodeReferences();
    } catch (...) {
      Error = std::current_exception();
    }
    // The top-level list is detached first, so that an OnDeletion handler walking the
    // tree meets no node that is already freed. Every node is freed: a handler that
    // raises is reported to the application and keeps no node alive.
    TdxTreeListNodeList Nodes;
    std::swap(Nodes, FNodes);
    ShapeChanged();
    for (int I = 0; I < Nodes.Count(); ++I) FreeObjectSafely(Nodes.Items(I));
  }
  if (!Destroyed) EndUpdate();
  if (Error) std::rethrow_exception(Error);
}

TdxTreeListNode* TCustomdxTreeList::GetLastNode() const {
  TdxTreeListNode* Result = FNodes.Last();
  while (Result && Result->Expanded() && Result->Count() > 0) Result = Result->GetLastChild();
  return Result;
}

void TCustomdxTreeList::NodeInserted(TdxTreeListNode* Node) {
  AbandonEdit();
  if (!FTopVisibleNode) SetTopVisibleNode(Node);
  if (!FFocusedNode) FFocusedNode = FTopVisibleNode;
  if (FUpdateCount == 0) {
    TdxTreeListNode* Start = Node->GetPrevSiblingOrParent();
    if (!Start) Start = Node;
    if (!ComponentState().Contains(csLoading) && !Destroying()) NodeStructureChanged(Node, false);
    NodeChanged(Start, true);
  }
}

void TCustomdxTreeList::NodeDeleted(TdxTreeListNode* Node, TdxTreeListNode* Prev,
                                    bool WasVisible, bool /*WasLast*/, TdxTreeListNode* Next) {
  // The visibility the deletion recorded counts for this notification only.
  const bool RecordedVisible = FDeletedNodeVisible;
  auto Forget = ScopeExit([this] { FDeletedNodeVisible = false; });
  // A deletion is a destruction: a handler that raises is reported to the application
  // and the node still leaves, with the focus and the rows kept right.
  if (OnDeletion.Assigned()) {
    try {
      OnDeletion(this, Node);
    } catch (...) {
      HandleWindowException(this);
    }
  }
  // However the node reached the selection, it leaves it with its life.
  if (!FClearing && IsNodeSelected(Node)) SetNodeSelected(Node, false);
  RemoveFromSelection(Node);
  if (FClearing) return;
  if (Count() > 0) {
    TdxTreeListNode* Replacement = nullptr;
    if (Node == FTopVisibleNode) {
      SetTopVisibleNode(Prev);
      if (!FTopVisibleNode) SetTopVisibleNode(Next);
      Replacement = FTopVisibleNode;
    }
    if (Node == FFocusedNode) {
      FFocusedNode = Prev ? Prev : Next;
      if (!Replacement) Replacement = FFocusedNode;
    }
    ReleaseNodeReferences(Node, Prev ? Prev : Next);
    AbandonEdit();
    if (RecordedVisible && FUpdateCount == 0 && !Destroying()) NodeStructureChanged(Node, true);
    if (WasVisible) {
      if (!Replacement) Replacement = Prev ? Prev : Next;
      if (Replacement) NodeChanged(Replacement, true);
    }
  } else {
    if (!Destroying()) DropRowIndex();
    ClearNodeReferences();
    if (FUpdateCount == 0 && !Destroying()) {
      RefreshScrollBars();
      InvalidateClient();
    }
  }
}

void TCustomdxTreeList::ReleaseNodeReferences(TdxTreeListNode* Node,
                                              TdxTreeListNode* Replacement) {
  if (FEditNode == Node) SetEditCell(nullptr, -1);
  if (FSelectionAnchor == Node) FSelectionAnchor = Replacement;
  if (FTopVisibleNode == Node) FTopVisibleNode = nullptr;
  if (FFocusedNode == Node) FFocusedNode = nullptr;
  if (FDownHit.Node == Node) FDownHit.Node = nullptr;
  if (FDragNode == Node) FDragNode = nullptr;
  if (FDragState.ExpandNode == Node) FDragState.ExpandNode = nullptr;
  if (FFocusedBeforeClick == Node) FFocusedBeforeClick = nullptr;
  if (FHotNode == Node) FHotNode = nullptr;
  if (FRangeStartNode == Node) FRangeStartNode = nullptr;
}

void TCustomdxTreeList::ClearNodeReferences() {
  SetTopVisibleNode(nullptr);
  FFocusedNode = nullptr;
  SetEditCell(nullptr, -1);
  FSelectionAnchor = nullptr;
  FDownHit.Node = nullptr;
  FDragNode = nullptr;
  FDragState.ExpandNode = nullptr;
  FFocusedBeforeClick = nullptr;
  FHotNode = nullptr;
  FRangeStartNode = nullptr;
  FRangeExtending = false;
}

bool TCustomdxTreeList::FocusNodeOnCollapse(TdxTreeListNode* Node) {
  SetFocusedNode(Node, FocusedColumn(), false);
  return true;
}

void TCustomdxTreeList::NodeChanged(TdxTreeListNode* Node, bool Relayout) {
  if (!Node || Node->Deleting() || FUpdateCount > 0 || Destroying() || !Node->IsVisible())
    return;
  if (!HandleAllocated()) return;
  if (Relayout) {
    // Rows from this one down move: they repaint, and the scroll bars follow.
    Node->ResetCachedRowHeight();
    RowsChanged(GetNodeRowIndex(Node));
    return;
  }
  TRect R;
  GetNodeRowRect(Node, R);
  if (R.top != -1) InvalidateArea(R);
}

Variant TCustomdxTreeList::GetNodeValue(TdxTreeListNode* Node, int Column) {
  return Variant(GetNodeString(Node, Column));
}

void TCustomdxTreeList::ChangeExpanded(TdxTreeListNode* Node, bool Value) {
  if (!Node->HasChildren() || Value == Node->Expanded()) return;
  bool Allow = true;
  if (Value)
    DoExpanding(Node, Allow);
  else
    DoCollapsing(Node, Allow);
  if (!Allow) return;
  if (!Value) {
    if (FTopVisibleNode && FTopVisibleNode->HasAsParent(Node)) SetTopVisibleNode(Node);
    if (FFocusedNode && FFocusedNode->HasAsParent(Node) && !FocusNodeOnCollapse(Node)) return;
  }
  Node->FExpanded = Value;
  ShapeChanged();
  if (FUpdateCount == 0 && !Destroying() && !PatchExpanded(Node)) UpdateRowIndex();
  NodeChanged(Node, true);
  if (Value)
    DoExpanded(Node);
  else
    DoCollapsed(Node);
}

// ---------------------------------------------------------------------------------
// Focus

int TCustomdxTreeList::FocusedColumn() const {
  if (FOptions.Contains(aoRowSelect)) return 0;
  int Count = GetVisibleColumnCount();
  return FFocusedColumn >= 0 && FFocusedColumn < Count ? FFocusedColumn : 0;
}

int TCustomdxTreeList::FindVisibleColumn(int AbsoluteIndex) const {
  for (int V = 0, Count = GetVisibleColumnCount(); V < Count; ++V)
    if (GetAbsoluteColumnIndex(V) == AbsoluteIndex) return V;
  return -1;
}

void TCustomdxTreeList::SetFocusedColumn(int Value) {
  if (Value < 0 || Value >= GetVisibleColumnCount()) return;
  if (Value != FocusedColumn())
    SetFocusedNode(FFocusedNode, Value, true);
  else if (!FOptions.Contains(aoRowSelect))
    // Nothing changes but where the view is: a column scrolled away comes back.
    MakeColumnVisible(GetAbsoluteColumnIndex(Value));
}

void TCustomdxTreeList::SetFocusedNode(TdxTreeListNode* Node, int Column, bool MakeVisible) {
  if (!Node) return;
  EndEdit(true);
  FFocusedAbsoluteIndex = -1;
  TdxTreeListNode* OldNode = FFocusedNode;
  const int OldColumn = FocusedColumn();
  const bool RowSelect = FOptions.Contains(aoRowSelect);
  if (FUpdateCount > 0) {
    if (FSearching && FSearchCounter == 0) FSearching = false;
    FFocusedNode = Node;
    FFocusedColumn = Column;
  } else {
    if (Node == OldNode && (RowSelect || Column == OldColumn)) {
      // Nothing changes but where the view is: a cell scrolled away comes back.
      if (MakeVisible) {
        if (!RowSelect) MakeColumnVisible(GetAbsoluteColumnIndex(Column));
        Node->MakeVisible();
      }
      return;
    }
    // A focus change that the search did not make ends it.
    if (FSearching && FSearchCounter == 0) EndSearch();
    if (!RowSelect) {
      FFocusedColumn = Column;
      MakeColumnVisible(GetAbsoluteColumnIndex(FocusedColumn()));
    }
    NodeChanged(OldNode, false);
    FFocusedNode = Node;
    NodeChanged(Node, false);
  }
  if (MakeVisible) Node->MakeVisible();
  if (Node != OldNode) DoChangeNode(OldNode, Node);
  const int NewColumn = FocusedColumn();
  if (NewColumn != OldColumn) DoChangeColumn(Node, NewColumn);
}

void TCustomdxTreeList::SetTopVisibleNode(TdxTreeListNode* Node) {
  FTopVisibleNode = Node;
  if (OnChangeTopVisibleNode.Assigned()) OnChangeTopVisibleNode(this);
}

void TCustomdxTreeList::SetOptions(TdxTreeListOptions Value) {
  if (Value == FOptions) return;
  EndEdit(true);
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  if (Value.Contains(aoRowSelect)) FOptionsEx.Exclude(aoInvertSelect);
  FOptions = Value;
  if (ComponentState().Contains(csLoading)) return;
  // The selection starts again from the focused node.
  ClearSelection();
  if (FFocusedNode) FFocusedNode->SetSelected(true);
}

void TCustomdxTreeList::SetOptionsEx(TdxTreeListOptionsEx Value) {
  if (Value == FOptionsEx) return;
  EndEdit(true);
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  if (Value.Contains(aoInvertSelect)) FOptions.Exclude(aoRowSelect);
  if (!Value.Contains(aoAutoSearch) && FSearching) EndSearch();
  FOptionsEx = Value;
}

void TCustomdxTreeList::SetMaxRowLineCount(int Value) {
  if (Value < -1) Value = -1;
  if (Value == FMaxRowLineCount) return;
  FMaxRowLineCount = Value;
  UpdateLayout();
}

// ---------------------------------------------------------------------------------
// Columns and bands that move or leave

namespace {

// Where an absolute index Index goes when the item at From moves to To (To -1: it
// leaves); -1 when Index was the item that left.
int FollowIndex(int Index, int From, int To) {
  if (Index < 0) return Index;
  if (Index == From) return To;
  if (To < 0) return Index > From ? Index - 1 : Index;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (To < From && Index >= To && Index < From) return Index + 1;
  return Index;
}

}  // namespace

void TCustomdxTreeList::ColumnIndexMoved(int From, int To) {
  if (Destroying()) return;
  const bool EditLeaves = FEditNode && FEditColumn >= 0 && FEditAbsoluteColumn == From && To < 0;
  const bool PressLeaves = FState == tsColumnDown && FPressedColumn == From && To < 0;
  const bool DragLeaves = FState == tsColumnDragging && FDragState.Column == From && To < 0;
  FEditAbsoluteColumn = FollowIndex(FEditAbsoluteColumn, From, To);
  FSearchColumn = FollowIndex(FSearchColumn, From, To);
  FDownHit.Column = FollowIndex(FDownHit.Column, From, To);
  FPressedColumn = FollowIndex(FPressedColumn, From, To);
  FDragState.Column = FollowIndex(FDragState.Column, From, To);
  FHotColumn = FollowIndex(FHotColumn, From, To);
  if (FHotColumn < 0) {
    FHotNode = nullptr;
    FHotKind = 0;
  }
  if (PressLeaves) {
    FState = tsNormal;
    SetPressedLook(false);
  } else if (FPressedLook) {
    PressedLookChanged();
  }
  if (DragLeaves) EndHeaderDrag(false);
  // Nothing of the edit is stored: the cell it was bound to is gone.
  if (EditLeaves) AbandonEdit();
}

void TCustomdxTreeList::BandIndexMoved(int From, int To) {
  if (Destroying()) return;
  // A pressed or sized band is known by its visible place, which this changes: the
  // press or the sizing ends.
  if (FState == tsBandSizing) CancelSizing();
  if (FState == tsBandDown) {
    FState = tsNormal;
    FPressedBand = -1;
    SetPressedLook(false);
  }
  const bool DragLeaves = FState == tsBandDragging && FDragState.Band == From && To < 0;
  FDragState.Band = FollowIndex(FDragState.Band, From, To);
  if (DragLeaves) EndHeaderDrag(false);
}

// ---------------------------------------------------------------------------------
// Updates and editing

void TCustomdxTreeList::BeginUpdate() {
  AbandonEdit();
  DropRowIndex();
  BeginSelectionUpdate();
  ++FUpdateCount;
}

void TCustomdxTreeList::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  auto Close = AtScopeEnd([this] { EndSelectionUpdate(); });
  UpdateLayout();
}

void TCustomdxTreeList::AbandonEdit() {
  SetEditCell(nullptr, -1);
  EndEdit(false);
}

void TCustomdxTreeList::InvalidateArea(const RECT& Rect) {
  if (HandleAllocated()) InvalidateRect(Handle(), &Rect, FALSE);
}

void TCustomdxTreeList::InvalidateClient() {
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TCustomdxTreeList::DoExpanding(TdxTreeListNode* Node, bool& Allow) {
  if (OnExpanding.Assigned()) OnExpanding(this, Node, Allow);
}
void TCustomdxTreeList::DoCollapsing(TdxTreeListNode* Node, bool& Allow) {
  if (OnCollapsing.Assigned()) OnCollapsing(this, Node, Allow);
}
void TCustomdxTreeList::DoExpanded(TdxTreeListNode* Node) {
  if (OnExpanded.Assigned()) OnExpanded(this, Node);
}
void TCustomdxTreeList::DoCollapsed(TdxTreeListNode* Node) {
  if (OnCollapsed.Assigned()) OnCollapsed(this, Node);
}
void TCustomdxTreeList::DoChangeNode(TdxTreeListNode* OldNode, TdxTreeListNode* Node) {
  if (OnChangeNode.Assigned()) OnChangeNode(this, OldNode, Node);
}
void TCustomdxTreeList::DoChangeColumn(TdxTreeListNode* Node, int Column) {
  if (OnChangeColumn.Assigned()) OnChangeColumn(this, Node, Column);
}

// ---------------------------------------------------------------------------------
// TCustomdxTreeListControl: text nodes

namespace {
TdxTreeListTextNode* TextNode(TdxTreeListNode* Node) {
  return static_cast<TdxTreeListTextNode*>(Node);
}
}  // namespace

TdxTreeListNode* TCustomdxTreeListControl::CreateNode() {
  return NewObject<TdxTreeListTextNode>(this);
}

int TCustomdxTreeListControl::GetNodeImageIndex(TdxTreeListNode* Node) {
  int Result = TextNode(Node)->FImageIndex;
  if (OnGetImageIndex.Assigned()) OnGetImageIndex(this, Node, Result);
  return Result;
}

int TCustomdxTreeListControl::GetNodeSelectedIndex(TdxTreeListNode* Node) {
  int Result = TextNode(Node)->FSelectedIndex;
  if (OnGetSelectedIndex.Assigned()) OnGetSelectedIndex(this, Node, Result);
  return Result;
}

int TCustomdxTreeListControl::GetNodeStateIndex(TdxTreeListNode* Node) {
  int Result = TextNode(Node)->FStateIndex;
  if (OnGetStateIndex.Assigned()) OnGetStateIndex(this, Node, Result);
  return Result;
}

void TCustomdxTreeListControl::SetNodeImageIndex(TdxTreeListNode* Node, int Value) {
  if (Value == GetNodeImageIndex(Node)) return;
  TextNode(Node)->FImageIndex = Value;
  NodeChanged(Node, false);
}

void TCustomdxTreeListControl::SetNodeSelectedIndex(TdxTreeListNode* Node, int Value) {
  if (Value == GetNodeSelectedIndex(Node)) return;
  TextNode(Node)->FSelectedIndex = Value;
  NodeChanged(Node, false);
}

void TCustomdxTreeListControl::SetNodeStateIndex(TdxTreeListNode* Node, int Value) {
  if (Value == GetNodeStateIndex(Node)) return;
  TextNode(Node)->FStateIndex = Value;
  NodeChanged(Node, false);
}

AnsiString TCustomdxTreeListControl::GetNodeString(TdxTreeListNode* Node, int Column) {
  const TdxTreeListTexts& Texts = TextNode(Node)->FTexts;
  if (Column < 0) throw EListError(Format(SListIndexError, Column));
  return static_cast<std::size_t>(Column) < Texts.size() ? Texts[Column] : AnsiString();
}

void TCustomdxTreeListControl::SetNodeString(TdxTreeListNode* Node, int Column,
                                             const AnsiString& Text) {
  TdxTreeListTexts& Texts = TextNode(Node)->FTexts;
  // The texts are a list: a column past what one holds is out of its bounds.
  if (Column < 0 || !classlib_detail::FitsList(Texts, Column + 1LL))
    throw EListError(Format(SListIndexError, Column));
  if (Texts.size() <= static_cast<std::size_t>(Column))
    GrowOrRaise([&] { Texts.resize(Column + 1); });
  Texts[Column] = Text;
}

void TCustomdxTreeListControl::SetNodeValue(TdxTreeListNode* Node, int Column,
                                            const Variant& Value) {
  Node->SetStrings(Column, VarToStr(Value));
  if (UpdateCount() == 0) NodeChanged(Node, false);
}

// ---------------------------------------------------------------------------------
// TdxTreeList: the auto-sort check

void TdxTreeList::AutoSortCheck() {
  if (Clearing() || Destroying() || !OptionsEx().Contains(aoAutoSortRefresh)) return;
  if (UpdateCount() > 0)
    FResortPending = true;
  else
    ResortNodes();
}

void TdxTreeList::NodeInserted(TdxTreeListNode* Node) {
  inherited::NodeInserted(Node);
  AutoSortCheck();
}

void TdxTreeList::NodeDeleted(TdxTreeListNode* Node, TdxTreeListNode* Prev, bool WasVisible,
                              bool WasLast, TdxTreeListNode* Next) {
  inherited::NodeDeleted(Node, Prev, WasVisible, WasLast, Next);
  AutoSortCheck();
}

void TdxTreeList::SetNodeString(TdxTreeListNode* Node, int Column, const AnsiString& Text) {
  inherited::SetNodeString(Node, Column, Text);
  AutoSortCheck();
}

void TdxTreeList::AfterLayout() {
  inherited::AfterLayout();
  if (FResortPending) {
    FResortPending = false;
    ResortNodes();
  }
}
