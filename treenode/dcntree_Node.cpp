#include "treenode/dcntree_Node.h"

#include <climits>
#include <vector>

#include "classlib/Lists.h"
#include "classlib/UpdateScope.h"
#include "treenode/dcntree.h"
#include "treenode/dcntree_Tree.h"

TCLASS_IMPL(TDCTreeNode)
TCLASS_IMPL(TDCTreeNodes)

std::vector<TDCTreeNode*> SubtreeNodes(TDCTreeNode* Node) {
  std::vector<TDCTreeNode*> Result;
  for (TDCTreeNode* C = Node->FirstChild(); C;) {
    Result.push_back(C);
    if (C->FirstChild()) {
      C = C->FirstChild();
      continue;
    }
    while (C != Node && !C->NextSibling()) C = C->Holder();
    if (C == Node) break;
    C = C->NextSibling();
  }
  return Result;
}

// ---------------------------------------------------------------------------------
// Life

TDCTreeNode::TDCTreeNode(TDCTreeNodes* AOwner) : FOwner(AOwner) {
  if (AOwner) {
    FTree = AOwner->Tree();
    if (FTree) FColor = FTree->Color();
  }
}

TDCTreeNode::~TDCTreeNode() { FreeAndNil(FFont); }

void TDCTreeNode::BeforeDestruction() {
  SetFlag(nfDestroying, true);
  // The children go first, deepest last-made first, without recursion.
  std::vector<TDCTreeNode*> Subtree = SubtreeNodes(this);
  for (auto It = Subtree.rbegin(); It != Subtree.rend(); ++It) {
    (*It)->SetFlag(nfDestroying, true);
    FreeObjectSafely(*It);
  }
  if (FTree) FTree->NodeRemoved(this);
  if (FHolder) {
    TDCTreeNode* Holder = FHolder;
    Detach();
    // A child of a node being freed leaves no upkeep: its holder goes next.
    if (FTree && !FTree->IsDestroying() && !Holder->Flag(nfDestroying)) {
      Holder->AfterChildRemoved();
      FTree->WidthShrank(this, Holder);
      FTree->StructureChanged();
    }
  }
  inherited::BeforeDestruction();
}

void TDCTreeNode::Assign(TPersistent* Source) {
  auto* Src = ObjectAs<TDCTreeNode>(Source);
  if (!Src) {
    inherited::Assign(Source);
    return;
  }
  SetState(Src->State() == cbChecked ? cbChecked : cbUnchecked);
  FData = Src->FData;
  SetAllowGrayed(Src->AllowGrayed());
  SetParentColor(Src->ParentColor());
  if (!ParentColor()) SetColor(Src->Color());
  SetExpanded(Src->Expanded());
  if (!Src->FFirstChild) SetHasChildren(Src->HasChildren());
  SetImageIndex(Src->ImageIndex());
  SetNodeType(Src->NodeType());
  SetOverlayIndex(Src->OverlayIndex());
  SetParentFont(Src->ParentFont());
  SetReadOnly(Src->ReadOnly());
  SetSelectedIndex(Src->SelectedIndex());
  SetState(Src->State());
  SetStateIndex(Src->StateIndex());
  SetText(Src->Text());
  if (!Src->ParentFont()) SetFont(Src->Font());
}

// ---------------------------------------------------------------------------------
// Structure

int TDCTreeNode::Level() const {
  int Result = 0;
  for (TDCTreeNode* P = FParent; P; P = P->FParent) ++Result;
  return Result;
}

bool TDCTreeNode::HasAsDescendant(const TDCTreeNode* Node) const {
  for (const TDCTreeNode* P = Node ? Node->FHolder : nullptr; P; P = P->FHolder)
    if (P == this) return true;
  return false;
}

void TDCTreeNode::AddToCounters(TDCTreeNode* Holder, int Visible, int Descendants) {
  bool VisibleRises = true;
  for (TDCTreeNode* H = Holder; H; H = H->FHolder) {
    H->FDescendantCount += Descendants;
    if (VisibleRises) H->FVisibleCount += Visible;
    // The rows of a collapsed node's subtree are not rows of its holders.
    if (H->FHolder && !H->Expanded()) VisibleRises = false;
  }
}

void TDCTreeNode::Detach() {
  TDCTreeNode* Holder = FHolder;
  if (!Holder) return;
  AddToCounters(Holder, -VisibleWeight(), -(FDescendantCount + 1));
  --Holder->FChildCount;
  UnlinkNode(this);
  if (Holder->FRadioChild == this) Holder->FRadioChild = nullptr;
}

void TDCTreeNode::Attach(TDCTreeNode* Destination, Byte Mode) {
  TDCTreeNode* Root = FTree ? FTree->Root() : nullptr;
  TDCTreeNode* Holder;
  switch (Mode) {
    case naAddChild:
    case naAddChildFirst:
      Holder = Destination;
      if (Mode == naAddChild)
        AppendNode(Holder, this);
      else
        PrependNode(Holder, this);
      Destination->SetFlag(nfHasChildren, true);
      FParent = Destination;
      break;
    case naInsert:
      Holder = Destination->FHolder;
      InsertNodeBefore(Destination, this);
      FParent = Destination->FParent;
      break;
    default:
      Holder = Destination ? Destination->FHolder : Root;
      if (Mode == naAddFirst)
        PrependNode(Holder, this);
      else
        AppendNode(Holder, this);
      FParent = Destination ? Destination->FParent : nullptr;
      break;
  }
  ++Holder->FChildCount;
  AddToCounters(Holder, VisibleWeight(), FDescendantCount + 1);
  if (FNodeType == ntRadioButton && FState == cbChecked) TakeRadioPlace();
}

void TDCTreeNode::TakeRadioPlace() {
  if (!FHolder || FHolder->FRadioChild == this) return;
  TDCTreeNode* Previous = FHolder->FRadioChild;
  FHolder->FRadioChild = this;
  if (Previous && Previous->FState == cbChecked) Previous->SetState(cbUnchecked);
}

void TDCTreeNode::AfterChildRemoved() {
  if (FDescendantCount > 0 || !FHolder) return;  // the hidden root keeps its bits
  SetFlag(nfExpanded, false);
  SetFlag(nfHasChildren, false);
  if (FTree && !FTree->IsDestroying()) RepaintParts(PartMask(npButton));
}

// ---------------------------------------------------------------------------------
// Properties

void TDCTreeNode::SetAllowGrayed(bool Value) {
  SetFlag(nfAllowGrayed, Value);
  if (!Value && FState == cbGrayed) SetState(cbUnchecked);
}

TColor TDCTreeNode::Color() const { return ParentColor() && FTree ? FTree->Color() : FColor; }

void TDCTreeNode::SetColor(TColor Value) {
  FColor = Value;
  SetFlag(nfParentColor, false);
  RepaintParts(PartMask(npText));
}

void TDCTreeNode::SetParentColor(bool Value) {
  SetFlag(nfParentColor, Value);
  if (Value && FTree) FColor = FTree->Color();
  RepaintParts(PartMask(npText));
}

void TDCTreeNode::SetExpanded(bool Value) {
  if (Value == Expanded()) return;
  if (Value)
    Expand(false);
  else
    Collapse(false);
}

TFont* TDCTreeNode::Font() {
  if (!FFont) {
    bool KeepParent = ParentFont();
    FFont = NewObject<TFont>();
    if (FTree) FFont->Assign(FTree->Font());
    FFont->OnChange = TNotifyEvent::Bind<&TDCTreeNode::FontChanged>(this);
    SetFlag(nfParentFont, KeepParent);
  }
  return FFont;
}

void TDCTreeNode::FontChanged(TObject* /*Sender*/) {
  SetFlag(nfParentFont, false);
  Remeasure();
}

void TDCTreeNode::SetFont(TFont* Value) {
  if (!Value || (FFont && SameFont(FFont, Value))) return;
  if (FFont) {
    FFont->Assign(Value);  // FontChanged follows
    return;
  }
  Font();
  FFont->OnChange = nullptr;
  FFont->Assign(Value);
  FFont->OnChange = TNotifyEvent::Bind<&TDCTreeNode::FontChanged>(this);
  SetFlag(nfParentFont, false);
  Remeasure();
}

void TDCTreeNode::SetParentFont(bool Value) {
  if (Value) {
    FreeAndNil(FFont);
    SetFlag(nfParentFont, true);
    Remeasure();
  } else {
    SetFlag(nfParentFont, false);
    Font();
  }
}

TFont* TDCTreeNode::GetFont() {
  if (!ParentFont() && FFont) return FFont;
  return FTree ? FTree->Font() : Font();
}

void TDCTreeNode::SetHasChildren(bool Value) {
  SetFlag(nfHasChildren, Value);
  if (FTree) InvalidateSizes();
}

void TDCTreeNode::SetImageIndex(int Value) {
  FImageIndex = Value;
  RepaintParts(PartMask(npImage));
}

void TDCTreeNode::SetOverlayIndex(int Value) {
  FOverlayIndex = Value;
  RepaintParts(PartMask(npImage));
}

void TDCTreeNode::SetSelectedIndex(int Value) {
  FSelectedIndex = Value;
  RepaintParts(PartMask(npImage));
}

void TDCTreeNode::SetStateIndex(int Value) {
  const bool SignChanged = (Value < 0) != (FStateIndex < 0);
  const int OldColumn = StateImageWidth();
  FStateIndex = Value;
  // A state image that comes or goes changes the row's width: an index that turns
  // negative or not, or one that leaves the state list or comes into it.
  if (SignChanged || StateImageWidth() != OldColumn)
    Remeasure();
  else
    RepaintParts(PartMask(npStateImage));
}

void TDCTreeNode::SetNodeType(TDCNodeType Value) {
  if (Value == FNodeType) return;
  RepaintParts(PartMask(npCheckBox));
  bool WasRadio = FNodeType == ntRadioButton;
  FNodeType = Value;
  if (WasRadio && FHolder && FHolder->FRadioChild == this) FHolder->FRadioChild = nullptr;
  if (Value == ntRadioButton) {
    if (FState == cbGrayed) FState = cbUnchecked;
    if (FState == cbChecked) TakeRadioPlace();
  }
  if (FTree && !FTree->Updating() && IsVisible()) Remeasure();
}

void TDCTreeNode::SetState(TCheckBoxState Value) {
  if (!TakeState(Value)) return;
  if (FTree && FTree->AutoCheck()) {
    if (FTree->FUpwardPasses == 0) PushStateDown();
    if (FTree->FDownwardPasses == 0) PushStateUp();
  }
  StateTaken();
}

bool TDCTreeNode::TakeState(TCheckBoxState Value) {
  if (FTree && FTree->OnStateChanging.Assigned()) FTree->OnStateChanging(FTree, this, Value);
  if (Value == FState) return false;
  if (FNodeType == ntRadioButton && Value == cbGrayed) return false;
  FState = Value;
  if (FNodeType == ntRadioButton && Value == cbChecked) TakeRadioPlace();
  return true;
}

void TDCTreeNode::StateTaken() {
  RepaintParts(PartMask(npCheckBox));
  if (FTree && FTree->OnStateChanged.Assigned()) FTree->OnStateChanged(FTree, this);
}

// The downward pass: each child is set to its parent's new state, and a child that
// changes passes its state on to its own children before its change is told; as
// setting each child would, without a call per level.
void TDCTreeNode::PushStateDown() {
  TCountScope Pass(FTree->FDownwardPasses);
  struct TLevel {
    TDCTreeNode* Parent;
    TDCTreeNode* Next;  // the next child to set
  };
  std::vector<TLevel> Levels{{this, FFirstChild}};
  while (!Levels.empty()) {
    TLevel& Level = Levels.back();
    if (TDCTreeNode* Child = Level.Next) {
      Level.Next = Child->FNext;
      if (Child->TakeState(Level.Parent->FState)) Levels.push_back({Child, Child->FFirstChild});
      continue;
    }
    TDCTreeNode* Done = Level.Parent;
    Levels.pop_back();
    if (Done != this) Done->StateTaken();
  }
}

// The upward pass: the parent is set to the common state of its check-box children
// (grayed when they differ or one is grayed), and so on up while a state changes; the
// changes are told from the top down, as nested setters would tell them.
void TDCTreeNode::PushStateUp() {
  TCountScope Pass(FTree->FUpwardPasses);
  std::vector<TDCTreeNode*> Changed;
  for (TDCTreeNode* P = FParent; P; P = P->FParent) {
    bool Any = false;
    TCheckBoxState Common = cbUnchecked;
    for (TDCTreeNode* C = P->FFirstChild; C; C = C->FNext) {
      if (C->FNodeType != ntCheckBox) continue;
      if (!Any)
        Common = C->FState;
      else if (C->FState != Common)
        Common = cbGrayed;
      if (C->FState == cbGrayed) Common = cbGrayed;
      Any = true;
    }
    if (!Any || !P->TakeState(Common)) break;
    Changed.push_back(P);
  }
  for (auto It = Changed.rbegin(); It != Changed.rend(); ++It) (*It)->StateTaken();
}

void TDCTreeNode::SetText(const AnsiString& Value) {
  if (Value == FText) return;
  FText = Value;
  SetFlag(nfWidthValid, false);
  if (FTree && FTree->SortedByText()) Reposition();
  Remeasure();
}

// ---------------------------------------------------------------------------------
// Marks

void TDCTreeNode::SetSelected(bool Value) {
  if (Value == Selected()) return;
  if (Value && FTree && FTree->MultiSelect() && FTree->SelectSameLevel() &&
      !FTree->Selection().empty() && FTree->Selection().front()->Level() != Level())
    return;
  SetFlag(nfSelected, Value);
  if (FTree) FTree->SelectionChanged(this, Value);
}

void TDCTreeNode::SetFocused(bool Value) {
  if (Value == Focused()) return;
  SetFlag(nfFocused, Value);
  if (FTree) FTree->FocusMarkChanged(this, Value);
  if (Value) MakeVisible();
}

void TDCTreeNode::SetHot(bool Value) {
  if (Value == Hot()) return;
  SetFlag(nfHot, Value);
  if (FTree) FTree->HotMarkChanged(this, Value);
}

// ---------------------------------------------------------------------------------
// Sizes

int TDCTreeNode::Height() {
  if (!FTree || !FTree->HandleAllocated()) return 0;
  if (!Flag(nfHeightValid)) {
    FHeight = FTree->MeasureNodeHeight(this);
    SetFlag(nfHeightValid, true);
  }
  return FHeight;
}

int TDCTreeNode::Width() {
  if (!FTree || !FTree->HandleAllocated()) return 0;
  if (!Flag(nfWidthValid)) {
    FWidth = FTree->MeasureNodeWidth(this);
    SetFlag(nfWidthValid, true);
  }
  return FWidth;
}

void TDCTreeNode::InvalidateSizes() {
  SetFlag(nfWidthValid, false);
  SetFlag(nfHeightValid, false);
}

void TDCTreeNode::Remeasure() {
  if (!FTree) {
    InvalidateSizes();
    return;
  }
  FTree->EndEdit(false);
  InvalidateSizes();
  if (FTree->Updating() || FTree->IsDestroying() || !FHolder || !IsVisible()) return;
  FTree->RowWidthChanged(this);
  FTree->UpdateScrollBars(false, false);
  FTree->InvalidateRow(this);
}

// ---------------------------------------------------------------------------------
// Navigation

TDCTreeNode* TDCTreeNode::GetNextVisible() const {
  if (Expanded() && FFirstChild) return FFirstChild;
  for (const TDCTreeNode* N = this; N && N->FHolder; N = N->FHolder)
    if (N->FNext) return N->FNext;
  return nullptr;
}

TDCTreeNode* TDCTreeNode::LastVisibleDescendant() const {
  const TDCTreeNode* N = this;
  while (N->Expanded() && N->FLastChild) N = N->FLastChild;
  return const_cast<TDCTreeNode*>(N);
}

TDCTreeNode* TDCTreeNode::GetPrevVisible() const {
  if (FPrev) return FPrev->LastVisibleDescendant();
  return FParent;
}

bool TDCTreeNode::IsVisible() const {
  if (FTree && FTree->Suppressed()) return true;
  for (TDCTreeNode* P = FParent; P; P = P->FParent)
    if (!P->Expanded()) return false;
  return true;
}

void TDCTreeNode::MakeVisible() {
  std::vector<TDCTreeNode*> Ancestors;
  for (TDCTreeNode* P = FParent; P; P = P->FParent) Ancestors.push_back(P);
  for (auto It = Ancestors.rbegin(); It != Ancestors.rend(); ++It)
    if (!(*It)->Expanded()) (*It)->Expand(false);
}

// ---------------------------------------------------------------------------------
// Expanding and collapsing

void TDCTreeNode::Expand(bool Recursive) {
  if (!HasChildren() || (Expanded() && !Recursive)) return;
  if (!Expanded() && !Recursive && FTree && FTree->OnExpanding.Assigned()) {
    bool Allow = true;
    FTree->OnExpanding(FTree, this, Allow);
    if (!Allow) return;
  }
  if (FOwner) FOwner->Changed();
  if (FTree) FTree->EndEdit(false);
  int OldWeight = FHolder ? VisibleWeight() : 0;
  if (FFirstChild) SetFlag(nfExpanded, true);
  if (Recursive) {
    for (TDCTreeNode* D : SubtreeNodes(this)) {
      if (!D->HasChildren() || D->Expanded()) continue;
      bool Allow = true;
      if (FTree && FTree->OnExpanding.Assigned()) FTree->OnExpanding(FTree, D, Allow);
      if (Allow && D->FFirstChild) D->SetFlag(nfExpanded, true);
    }
  }
  if (Recursive && FTree) FTree->CountVisible(this);
  if (FHolder) AddToCounters(FHolder, VisibleWeight() - OldWeight, 0);
  if (FTree && !FTree->Updating() && IsVisible()) {
    FTree->RecomputeWidest(this);
    FTree->WidthGrew(FWidest ? FWidest : this);
    FTree->UpdateScrollBars(false, false);
    FTree->Invalidate();
  }
  if (FTree && FTree->OnExpanded.Assigned()) FTree->OnExpanded(FTree, this);
}

void TDCTreeNode::Collapse(bool Recursive) {
  if (!HasChildren() || (!Expanded() && !Recursive)) return;
  if (Expanded() && !Recursive && FTree && FTree->OnCollapsing.Assigned()) {
    bool Allow = true;
    FTree->OnCollapsing(FTree, this, Allow);
    if (!Allow) return;
  }
  int OldWeight = FHolder ? VisibleWeight() : 0;
  SetFlag(nfExpanded, false);
  if (Recursive) {
    for (TDCTreeNode* D : SubtreeNodes(this)) {
      if (!D->Expanded()) continue;
      bool Allow = true;
      if (FTree && FTree->OnCollapsing.Assigned()) FTree->OnCollapsing(FTree, D, Allow);
      if (Allow) D->SetFlag(nfExpanded, false);
    }
    if (FTree) FTree->CountVisible(this);
  }
  if (FHolder) AddToCounters(FHolder, VisibleWeight() - OldWeight, 0);
  if (FTree) {
    if (HasAsDescendant(FTree->TopNode())) FTree->SetTopNode(this);
    if (HasAsDescendant(FTree->FocusedNode())) FTree->SetFocusedNode(this);
    FTree->ClearSelection(FTree->FocusedNode());
    if (!FTree->Updating() && IsVisible()) {
      TDCTreeNode* OldWidest = FWidest;
      FTree->RecomputeWidest(this);
      if (OldWidest && OldWidest != this) FTree->WidthShrank(OldWidest, FHolder);
      FTree->UpdateScrollBars(false, false);
      FTree->Invalidate();
    }
    if (FTree->OnCollapsed.Assigned()) FTree->OnCollapsed(FTree, this);
  }
}

// ---------------------------------------------------------------------------------
// Sorting and moving

bool TDCTreeNode::CustomSort(TDCNodeCompare Compare, void* Data) {
  if (FChildCount < 2) return true;
  std::vector<TDCTreeNode*> Chain;
  Chain.reserve(FChildCount);
  for (TDCTreeNode* C = FFirstChild; C; C = C->FNext) Chain.push_back(C);
  TOwnerTree* Tree = FTree;
  if (Compare)
    MergeSort(Chain, [Compare, Data](TDCTreeNode* A, TDCTreeNode* B) { return Compare(A, B, Data); });
  else if (Tree)
    MergeSort(Chain, [Tree, Data](TDCTreeNode* A, TDCTreeNode* B) {
      return Tree->DefaultNodeCompare(A, B, Data);
    });
  if (Tree && Tree->SortDescending()) std::reverse(Chain.begin(), Chain.end());
  // Rebuild the chain in the new order.
  FFirstChild = FLastChild = nullptr;
  for (TDCTreeNode* C : Chain) {
    C->FPrev = FLastChild;
    C->FNext = nullptr;
    if (FLastChild)
      FLastChild->FNext = C;
    else
      FFirstChild = C;
    FLastChild = C;
  }
  if (FOwner) FOwner->Changed();
  if (Tree && !Tree->Updating()) Tree->StructureChanged();
  return true;
}

void TDCTreeNode::MoveTo(TDCTreeNode* Destination, Byte Mode, bool Select) {
  if (Destination && HasAsDescendant(Destination)) RaiseInvalidOperation(SMoveToChild);
  if (Destination == this ||
      (!Destination && (Mode == naAddChild || Mode == naAddChildFirst || Mode == naInsert)))
    RaiseInvalidOperation(SInvalidOperation);
  if (Destination && Destination->FTree != FTree) RaiseInvalidOperation(SInvalidNode);
  if (!FTree || !FHolder) RaiseInvalidOperation(SInvalidOperation);
  if (Mode > naInsert) RaiseInvalidOperation(SInvalidOperation);

  FTree->EndEdit(false);
  if (FOwner) FOwner->Changed();
  TDCTreeNode* Top = FTree->TopNode();
  if (Top == this || HasAsDescendant(Top)) Top = LastVisibleDescendant()->GetNextVisible();
  TDCTreeNode* OldHolder = FHolder;
  Detach();
  OldHolder->AfterChildRemoved();
  FTree->WidthShrank(this, OldHolder);
  Attach(Destination, Mode);
  if (IsVisible()) FTree->WidthGrew(this);
  if (FTree->SortedByText()) FHolder->CustomSort(nullptr, nullptr);
  if (Select) FTree->SetFocusedNode(this);
  FTree->StructureChanged();
  if (Top) FTree->SetTopNode(Top);
}

void TDCTreeNode::Reposition() {
  if (!FTree || !FTree->SortedByText() || !FHolder || FHolder->FChildCount < 2 ||
      FTree->Updating() || FTree->IsDestroying())
    return;
  int Sign = FTree->SortDescending() ? -1 : 1;
  auto Cmp = [&](TDCTreeNode* A, TDCTreeNode* B) {
    return Sign * FTree->DefaultNodeCompare(A, B, nullptr);
  };
  bool Before = FPrev && Cmp(this, FPrev) < 0;
  bool After = FNext && Cmp(this, FNext) > 0;
  if (!Before && !After) return;
  TDCTreeNode* Holder = FHolder;
  UnlinkNode(this);
  TDCTreeNode* Target = Holder->FFirstChild;
  while (Target && Cmp(Target, this) <= 0) Target = Target->FNext;
  if (Target)
    InsertNodeBefore(Target, this);
  else
    AppendNode(Holder, this);
  FTree->Invalidate();
}

// ---------------------------------------------------------------------------------
// Parts

TRect TDCTreeNode::GetPartRect(TDCNodePart Part) {
  return FTree ? FTree->NodePartRect(this, Part) : TRect{};
}

void TDCTreeNode::RepaintParts(unsigned Mask) {
  if (!FTree || !FHolder || FTree->Updating() || !FTree->HandleAllocated() || !IsVisible())
    return;
  for (int P = npIndent; P <= npText; ++P)
    if (Mask & (1u << P)) FTree->InvalidateNode(this, GetPartRect(static_cast<TDCNodePart>(P)));
}

void TDCTreeNode::DrawCheckBox(TCanvas* Canvas, const TRect& R) {
  TRect Box{0, 0, CheckBoxWidth(), CheckBoxHeight()};
  CenterRect(Box, R);
  ++Box.right;
  ++Box.bottom;
  UINT State = FNodeType == ntCheckBox ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO;
  if (FTree && FTree->Flat()) State |= DFCS_FLAT;
  if (FState == cbChecked) State |= DFCS_CHECKED;
  if (FState == cbGrayed) State |= DFCS_CHECKED | DFCS_INACTIVE;
  DrawFrameControl(Canvas->Handle(), &Box, DFC_BUTTON, State);
}

int TDCTreeNode::StateImageWidth() {
  TCustomImageList* States = FTree ? FTree->StateImages() : nullptr;
  return States && FStateIndex >= 0 && FStateIndex < States->Count() ? States->Width() : 0;
}

int TDCTreeNode::ImageColumnWidth() {
  TCustomImageList* Images = FTree ? FTree->Images() : nullptr;
  return Images ? Images->Width() + 3 : 0;
}

void TDCTreeNode::DrawStateImage(TCanvas* Canvas, const TRect& R) {
  TCustomImageList* States = FTree ? FTree->StateImages() : nullptr;
  if (!States) return;
  TRect Picture{0, 0, States->Width(), States->Height()};
  CenterRect(Picture, R);
  States->Draw(Canvas, Picture.left, Picture.top, FStateIndex);
}

// ---------------------------------------------------------------------------------
// TDCTreeNodes

TDCTreeNode* TDCTreeNodes::AddChild(TDCTreeNode* Parent, const AnsiString& Text) {
  TDCTreeNode* Node = NewObject<TDCTreeNode>(this);
  Node->FText = Text;
  if (Parent)
    Node->Attach(Parent, naAddChild);
  else
    Node->Attach(nullptr, naAdd);
  if (FTree) {
    if (FTree->SortedByText()) Node->Reposition();
    if (!Updating() && Node->IsVisible()) FTree->WidthGrew(Node);
    if (!Updating()) FTree->StructureChanged();
  }
  Changed();
  return Node;
}

TDCTreeNode* TDCTreeNodes::Insert(TDCTreeNode* Sibling, const AnsiString& Text) {
  if (!Sibling) return AddChild(nullptr, Text);
  TDCTreeNode* Node = NewObject<TDCTreeNode>(this);
  Node->FText = Text;
  Node->Attach(Sibling, naInsert);
  if (FTree && !Updating()) {
    if (Node->IsVisible()) FTree->WidthGrew(Node);
    FTree->StructureChanged();
  }
  Changed();
  return Node;
}

void TDCTreeNodes::Clear() {
  if (!FTree) return;
  BeginUpdate();
  while (TDCTreeNode* Node = FTree->Root()->LastChild()) FreeObjectSafely(Node);
  EndUpdate();
}

int TDCTreeNodes::Count() const { return FTree ? FTree->Root()->DescendantCount() : 0; }

void TDCTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TDCTreeNodes::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FTree) FTree->FullRecalc();
}

void TDCTreeNodes::Changed() { ++FChangeCount; }

// ---------------------------------------------------------------------------------
// Streaming

void RegisterDCTreeNodeProperties() {
  TPublish<TDCTreeNode> P;
  P.Prop("AllowGrayed", &TDCTreeNode::AllowGrayed, &TDCTreeNode::SetAllowGrayed).Default(false);
  P.Prop("Color", &TDCTreeNode::Color, &TDCTreeNode::SetColor).Stored(&TDCTreeNode::ColorStored);
  P.Prop("Expanded", &TDCTreeNode::Expanded, &TDCTreeNode::SetExpanded).Default(false);
  P.Prop("Font", &TDCTreeNode::Font, &TDCTreeNode::SetFont).Stored(&TDCTreeNode::FontStored);
  P.Prop("HasChildren", &TDCTreeNode::HasChildren, &TDCTreeNode::SetHasChildren).Default(false);
  P.Prop("ImageIndex", &TDCTreeNode::ImageIndex, &TDCTreeNode::SetImageIndex).Default(0);
  P.Prop("NodeType", &TDCTreeNode::NodeType, &TDCTreeNode::SetNodeType).Default(ntNone);
  P.Prop("OverlayIndex", &TDCTreeNode::OverlayIndex, &TDCTreeNode::SetOverlayIndex).Default(-1);
  P.Prop("ReadOnly", &TDCTreeNode::ReadOnly, &TDCTreeNode::SetReadOnly).Default(false);
  P.Prop("ParentColor", &TDCTreeNode::ParentColor, &TDCTreeNode::SetParentColor).Default(true);
  P.Prop("ParentFont", &TDCTreeNode::ParentFont, &TDCTreeNode::SetParentFont).Default(true);
  P.Prop("SelectedIndex", &TDCTreeNode::SelectedIndex, &TDCTreeNode::SetSelectedIndex).Default(0);
  P.Prop("State", &TDCTreeNode::State, &TDCTreeNode::SetState).Default(cbUnchecked);
  P.Prop("StateIndex", &TDCTreeNode::StateIndex, &TDCTreeNode::SetStateIndex).Default(-1);
  P.Prop("Text", &TDCTreeNode::Text, &TDCTreeNode::SetText);
}

void UnRegisterDCTreeNodeProperties() { UnRegisterPublished(&TDCTreeNode::StaticClass()); }
