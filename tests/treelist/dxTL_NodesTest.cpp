// The tree list's nodes on a shown control: the first node becoming top and focused
// silently, the focus moving past deleted nodes without OnChangeNode, clearing in
// post-order with a handler that walks the tree, refused collapses, the last child
// leaving, node references and a running edit when nodes come and go, text nodes, and
// chains a hundred thousand levels deep.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"
#include "tests/support/MemorySupport.h"
#include "tests/treelist/DeepStack.h"
#include "treelist/dxTL.h"

using namespace uitest;

namespace {

// A tree list that shows what the core keeps to itself: the edit cell, the selection
// anchor, and every end of an edit.
class TTestTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  std::vector<bool> EditEnds;  // StoreValue of each EndEdit while an edit ran
  bool Editing = false;
  void StartEdit(TdxTreeListNode* Node, int Column) {
    SetEditCell(Node, Column);
    Editing = true;
  }
  TdxTreeListNode* Anchor() const { return SelectionAnchor(); }
  void SetAnchor(TdxTreeListNode* Node) { SetSelectionAnchor(Node); }

 protected:
  void EndEdit(bool StoreValue) override {
    if (!Editing) return;
    Editing = false;
    EditEnds.push_back(StoreValue);
    // Validating inside a node's insertion or deletion would be a fault.
    if (StoreValue) throw Exception("validated");
  }
};

// Records the node events as text: "delete A", "change A>B", "top", ...
class TEventLog : public TObject {
 public:
  std::vector<std::string> Events;
  std::vector<TdxTreeListNode*> FocusedAtDeletion;
  TTestTreeList* Tree = nullptr;

  static std::string Name(TdxTreeListNode* Node) { return Node ? Node->Strings(0) : "nil"; }

  void Deletion(TObject*, TdxTreeListNode* Node) {
    Events.push_back("delete " + Name(Node));
    FocusedAtDeletion.push_back(Tree->FocusedNode());
  }
  void ChangeNode(TObject*, TdxTreeListNode* Old, TdxTreeListNode* Node) {
    Events.push_back("change " + Name(Old) + ">" + Name(Node));
  }
  void ChangeTop(TObject*) { Events.push_back("top " + Name(Tree->TopVisibleNode())); }
  void Collapsing(TObject*, TdxTreeListNode* Node, bool& Allow) {
    Events.push_back("collapsing " + Name(Node));
    Allow = AllowCollapse;
  }
  void Collapsed(TObject*, TdxTreeListNode* Node) { Events.push_back("collapsed " + Name(Node)); }
  bool AllowCollapse = true;

  void Attach(TTestTreeList* ATree) {
    Tree = ATree;
    Tree->OnDeletion = TTLExpandedEvent::Bind<&TEventLog::Deletion>(this);
    Tree->OnChangeNode = TTLChangeNodeEvent::Bind<&TEventLog::ChangeNode>(this);
    Tree->OnChangeTopVisibleNode = TNotifyEvent::Bind<&TEventLog::ChangeTop>(this);
    Tree->OnCollapsing = TTLExpandingEvent::Bind<&TEventLog::Collapsing>(this);
    Tree->OnCollapsed = TTLExpandedEvent::Bind<&TEventLog::Collapsed>(this);
  }
};

class TreeListNodesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TForm* Form = ShownForm();
    Tree = AddChild<TTestTreeList>(Form);
    Tree->SetBounds(0, 0, 200, 200);
    Tree->HandleNeeded();
    Events = NewObject<TEventLog>();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    FreeAndNil(Events);
    UiTest::TearDown();
  }
  TdxTreeListNode* AddNamed(const char* Name, TdxTreeListNode* Parent = nullptr) {
    TdxTreeListNode* Node = Parent ? Parent->AddChild() : Tree->Add();
    Node->SetStrings(0, Name);
    return Node;
  }
  TTestTreeList* Tree = nullptr;
  TEventLog* Events = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(TreeListNodesTest, FirstNodeBecomesTopAndFocusedWithoutChangeNode) {
  Events->Attach(Tree);
  TdxTreeListNode* A = Tree->Add();
  ASSERT_EQ(Events->Events.size(), 1u);
  EXPECT_EQ(Events->Events[0].substr(0, 3), "top");
  EXPECT_EQ(Tree->TopVisibleNode(), A);
  EXPECT_EQ(Tree->FocusedNode(), A);
  EXPECT_TRUE(A->Focused());
  Tree->Add();
  EXPECT_EQ(Events->Events.size(), 1u) << "a second node changes neither top nor focus";
  EXPECT_EQ(Tree->FocusedNode(), A);
}

TEST_F(TreeListNodesTest, NilOwnerIsRefused) {
  ExpectRaises<EInvaliddxTreeListOperation>([] { TdxTreeListNode Node(nullptr); },
                                            "Invalid Owner TdxTreeListNode");
}

TEST_F(TreeListNodesTest, DeletingTheFocusedFirstNodeFocusesTheSecond) {
  TdxTreeListNode* A = AddNamed("A");
  AddNamed("A1", A);
  TdxTreeListNode* B = AddNamed("B");
  Events->Attach(Tree);
  A->Free();
  EXPECT_EQ(Tree->FocusedNode(), B);
  EXPECT_EQ(Tree->TopVisibleNode(), B);
  EXPECT_EQ(Events->Events, (Strings{"delete A1", "delete A", "top nil", "top B"}));
}

TEST_F(TreeListNodesTest, DeletingAFocusedChildFocusesItsPreviousSiblingThenItsParent) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* C1 = AddNamed("C1", P);
  TdxTreeListNode* C2 = AddNamed("C2", P);
  P->SetExpanded(true);
  Tree->SetFocusedNode(C2, 0, false);
  Events->Attach(Tree);
  C2->Free();
  EXPECT_EQ(Tree->FocusedNode(), C1);
  C1->Free();
  EXPECT_EQ(Tree->FocusedNode(), P);
  EXPECT_EQ(Events->Events, (Strings{"delete C2", "delete C1"}));
}

TEST_F(TreeListNodesTest, DeletingTheParentOfTheFocusedNodeMovesTheFocusUpThenOn) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* C = AddNamed("C", P);
  TdxTreeListNode* Q = AddNamed("Q");
  P->SetExpanded(true);
  Tree->SetFocusedNode(C, 0, false);
  Events->Attach(Tree);
  P->Free();
  EXPECT_EQ(Events->Events, (Strings{"delete C", "delete P", "top nil", "top Q"}));
  ASSERT_EQ(Events->FocusedAtDeletion.size(), 2u);
  EXPECT_EQ(Events->FocusedAtDeletion[0], C);
  EXPECT_EQ(Events->FocusedAtDeletion[1], P);
  EXPECT_EQ(Tree->FocusedNode(), Q);
}

TEST_F(TreeListNodesTest, DeletingTheLastNodeLeavesNoTopAndNoFocus) {
  TdxTreeListNode* A = AddNamed("A");
  Events->Attach(Tree);
  A->Free();
  EXPECT_EQ(Events->Events, (Strings{"delete A", "top nil"}));
  EXPECT_EQ(Tree->FocusedNode(), nullptr);
  EXPECT_EQ(Tree->TopVisibleNode(), nullptr);
  EXPECT_EQ(Tree->Count(), 0);
}

// Walks the whole tree from the owner and from the deleted node in every OnDeletion
// and notes any node met that an earlier OnDeletion already reported (freed since).
class TTreeWalker : public TObject {
 public:
  TTestTreeList* Tree = nullptr;
  std::set<TdxTreeListNode*> Freed;
  std::vector<std::string> Order;
  int FreedMet = 0;
  int FocusedSeen = 0;

  void Meet(TdxTreeListNode* Node) {
    if (!Node) return;
    if (Freed.count(Node)) {
      ++FreedMet;
      return;  // never read a freed node
    }
    for (int I = 0; I < Node->Count(); ++I) Meet(Node->Items(I));
  }
  void Deletion(TObject*, TdxTreeListNode* Node) {
    Order.push_back(Node->Strings(0));
    if (Tree->FocusedNode()) ++FocusedSeen;
    for (int I = 0; I < Tree->Count(); ++I) Meet(Tree->Items(I));
    for (TdxTreeListNode* P = Node->Parent(); P; P = P->Parent()) {
      if (Freed.count(P)) ++FreedMet;
    }
    Meet(Node->GetNextSibling());
    Meet(Node->GetPrevSibling());
    Freed.insert(Node);
  }
};

TEST_F(TreeListNodesTest, ClearNodesDeletesInPostOrderAndNoHandlerMeetsAFreedNode) {
  TdxTreeListNode* P = AddNamed("P");
  AddNamed("A", P);
  AddNamed("B", P);
  AddNamed("Q");
  P->SetExpanded(true);
  TOwned<TTreeWalker> Walker(NewObject<TTreeWalker>());
  Walker->Tree = Tree;
  Tree->OnDeletion = TTLExpandedEvent::Bind<&TTreeWalker::Deletion>(Walker.get());
  Tree->ClearNodes();
  EXPECT_EQ(Walker->Order, (Strings{"A", "B", "P", "Q"}));
  EXPECT_EQ(Walker->FocusedSeen, 0) << "no node is focused while clearing";
  EXPECT_EQ(Walker->FreedMet, 0);
  EXPECT_EQ(Tree->Count(), 0);
  EXPECT_EQ(Tree->FocusedNode(), nullptr);
  EXPECT_EQ(Tree->TopVisibleNode(), nullptr);
  // The tree list is usable again.
  TdxTreeListNode* N = AddNamed("N");
  EXPECT_EQ(Tree->FocusedNode(), N);
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 1);
  Tree->OnDeletion = nullptr;
}

TEST_F(TreeListNodesTest, DestroyingTheControlFiresOnDeletionForEveryNode) {
  TdxTreeListNode* P = AddNamed("P");
  AddNamed("A", P);
  AddNamed("Q");
  Events->Attach(Tree);
  FreeAndNil(Tree);
  EXPECT_EQ(Events->Events, (Strings{"top nil", "delete A", "delete P", "delete Q"}));
}

TEST_F(TreeListNodesTest, ARefusedCollapseChangesNothing) {
  TdxTreeListNode* P = AddNamed("P");
  AddNamed("A", P);
  TdxTreeListNode* B = AddNamed("B", P);
  P->SetExpanded(true);
  Tree->SetTopVisibleNode(B);
  Tree->SetFocusedNode(B, 0, false);
  Events->Attach(Tree);
  Events->AllowCollapse = false;
  P->SetExpanded(false);
  EXPECT_EQ(Events->Events, (Strings{"collapsing P"}));
  EXPECT_TRUE(P->Expanded());
  EXPECT_EQ(Tree->TopVisibleNode(), B);
  EXPECT_EQ(Tree->FocusedNode(), B);
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 3);
  EXPECT_EQ(B->GetVisibleIndex(), 2);
}

TEST_F(TreeListNodesTest, CollapsingMovesTopAndFocusUpToTheNode) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* A = AddNamed("A", P);
  P->SetExpanded(true);
  Tree->SetTopVisibleNode(A);
  Tree->SetFocusedNode(A, 0, false);
  Events->Attach(Tree);
  P->SetExpanded(false);
  EXPECT_EQ(Events->Events,
            (Strings{"collapsing P", "top P", "change A>P", "collapsed P"}));
  EXPECT_FALSE(P->Expanded());
  EXPECT_EQ(Tree->FocusedNode(), P);
}

TEST_F(TreeListNodesTest, RemovingTheLastChildClearsHasChildrenAndExpanded) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* A = AddNamed("A", P);
  TdxTreeListNode* B = AddNamed("B", P);
  P->SetExpanded(true);
  A->Free();
  EXPECT_TRUE(P->HasChildren());
  EXPECT_TRUE(P->Expanded());
  B->Free();
  EXPECT_FALSE(P->HasChildren());
  EXPECT_FALSE(P->Expanded());
  EXPECT_EQ(P->Count(), 0);
  EXPECT_EQ(P->GetFirstChild(), nullptr);
}

TEST_F(TreeListNodesTest, ExpandRecursesOnlyFromANodeWithChildren) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* A = AddNamed("A", P);
  AddNamed("A1", A);
  TdxTreeListNode* L = AddNamed("L");
  L->Expand(true);
  EXPECT_FALSE(L->Expanded());
  P->Expand(true);
  EXPECT_TRUE(P->Expanded());
  EXPECT_TRUE(A->Expanded());
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 4);
}

TEST_F(TreeListNodesTest, SiblingIndexesFollowInsertsAndDeletes) {
  TdxTreeListNode* P = AddNamed("P");
  std::vector<TdxTreeListNode*> Kids;
  for (int I = 0; I < 40; ++I) Kids.push_back(P->AddChild());
  TdxTreeListNode* Front = P->InsertChild(Kids[0]);
  EXPECT_EQ(Front->Index(), 0);
  EXPECT_EQ(Kids[39]->Index(), 40);
  for (int I = 0; I < 30; ++I) P->GetFirstChild()->Free();  // from the front
  for (int I = 0; I < P->Count(); ++I) EXPECT_EQ(P->Items(I)->Index(), I);
  EXPECT_EQ(P->Items(0), Kids[29]);
  TdxTreeListNode* Mid = P->InsertChild(Kids[33]);
  EXPECT_EQ(Mid->Index(), 4);
  EXPECT_EQ(Kids[33]->Index(), 5);
  EXPECT_EQ(P->IndexOf(Kids[33]), 5);
  EXPECT_EQ(P->Items(-1), nullptr);
  EXPECT_EQ(P->Items(P->Count()), nullptr);
}

TEST_F(TreeListNodesTest, NavigationFollowsTheTree) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* A = AddNamed("A", P);
  TdxTreeListNode* A1 = AddNamed("A1", A);
  TdxTreeListNode* Q = AddNamed("Q");
  EXPECT_EQ(P->GetNext(), A);
  EXPECT_EQ(A1->GetNext(), Q);
  EXPECT_EQ(Q->GetPrev(), A1);
  EXPECT_EQ(P->GetNextVisible(), Q);  // collapsed
  EXPECT_EQ(A1->Level(), 2);
  EXPECT_TRUE(A1->HasAsParent(P));
  EXPECT_FALSE(P->HasAsParent(P));
  EXPECT_FALSE(A1->IsVisible());
  EXPECT_EQ(A1->GetVisibleIndex(), -1);
  A1->MakeVisible();
  EXPECT_TRUE(P->Expanded());
  EXPECT_TRUE(A->Expanded());
  EXPECT_EQ(A1->GetVisibleIndex(), 2);
  EXPECT_EQ(Tree->GetLastNode(), Q);
}

TEST_F(TreeListNodesTest, TextNodesKeepTextsImagesAndValues) {
  TdxTreeListNode* A = Tree->Add();
  EXPECT_EQ(A->ImageIndex(), 0);
  EXPECT_EQ(A->SelectedIndex(), -1);
  EXPECT_EQ(A->StateIndex(), -1);
  A->SetStrings(0, "x");
  A->SetStrings(1, "y");
  A->SetStrings(5, "z");
  EXPECT_EQ(A->Strings(2), "");
  EXPECT_EQ(A->Strings(5), "z");
  EXPECT_EQ(A->Strings(9), "");
  A->SetValues(1, Variant(42));
  EXPECT_EQ(A->Strings(1), "42");
  EXPECT_EQ(VarToStr(A->Values(1)), "42");
  int Dummy = 0;
  EXPECT_TRUE(A->SetData(&Dummy));
  EXPECT_EQ(A->Data(), &Dummy);
  EXPECT_FALSE(A->HasChildren());
  ExpectRaises<EListError>([&] { A->Strings(-1); }, "List index out of bounds (-1)");
  // A column past what a node's texts can reach raises the list's error, one that
  // memory cannot give the class library's; the texts stay.
  ExpectRaises<EListError>([&] { A->SetStrings(0x7FFFFFFF, "far"); },
                           "List index out of bounds (2147483647)");
  {
    TBlockLimit Limit(1 << 20);
    ExpectRaises<EOutOfMemory>([&] { A->SetStrings(1000000, "far"); }, "Out of memory");
  }
  EXPECT_EQ(A->Strings(5), "z");
}

// A node's insertion or deletion abandons a running edit without validating it, and
// the references the control keeps are released in one place.
TEST_F(TreeListNodesTest, InsertingOrDeletingANodeAbandonsAnEditWithoutValidating) {
  TdxTreeListNode* A = AddNamed("A");
  TdxTreeListNode* B = AddNamed("B");
  Tree->StartEdit(A, 0);
  AddNamed("C");
  EXPECT_EQ(Tree->EditEnds, std::vector<bool>{false});
  EXPECT_EQ(Tree->EditNode(), nullptr);
  EXPECT_EQ(Tree->EditColumn(), -1);
  Tree->StartEdit(A, 0);
  B->Free();
  EXPECT_EQ(Tree->EditEnds, (std::vector<bool>{false, false}));
  EXPECT_EQ(Tree->EditNode(), nullptr);
  EXPECT_TRUE(Log->Messages.empty());
}

TEST_F(TreeListNodesTest, TheAnchorMovesPastADeletedNode) {
  TdxTreeListNode* A = AddNamed("A");
  TdxTreeListNode* B = AddNamed("B");
  TdxTreeListNode* C = AddNamed("C");
  Tree->SetAnchor(B);
  B->Free();
  EXPECT_EQ(Tree->Anchor(), A);
  Tree->SetAnchor(A);
  A->Free();
  EXPECT_EQ(Tree->Anchor(), C);
  C->Free();
  EXPECT_EQ(Tree->Anchor(), nullptr);
}

TEST_F(TreeListNodesTest, SetFocusedNodeFiresChangeNodeOnceAndIgnoresNil) {
  TdxTreeListNode* A = AddNamed("A");
  TdxTreeListNode* B = AddNamed("B");
  Events->Attach(Tree);
  Tree->SetFocusedNode(nullptr, 0, true);
  Tree->SetFocusedNode(A, 0, true);
  B->SetFocused(true);
  B->SetFocused(false);
  EXPECT_EQ(Events->Events, (Strings{"change A>B"}));
  Tree->BeginUpdate();
  Tree->SetFocusedNode(A, 0, false);
  Tree->EndUpdate();
  EXPECT_EQ(Tree->FocusedNode(), A);
}

TEST_F(TreeListNodesTest, AChangedVisibleNodeInvalidatesTheWindowOutsideUpdatesOnly) {
  TdxTreeListNode* P = AddNamed("P");
  TdxTreeListNode* Hidden = AddNamed("H", P);
  Pump();
  HWND Window = Tree->Handle();
  ValidateRect(Window, nullptr);
  Hidden->SetImageIndex(3);
  EXPECT_FALSE(GetUpdateRect(Window, nullptr, FALSE)) << "a hidden node repaints nothing";
  Tree->BeginUpdate();
  P->SetImageIndex(3);
  EXPECT_FALSE(GetUpdateRect(Window, nullptr, FALSE));
  Tree->EndUpdate();
  ValidateRect(Window, nullptr);
  P->SetImageIndex(4);
  EXPECT_TRUE(GetUpdateRect(Window, nullptr, FALSE));
  EXPECT_EQ(P->ImageIndex(), 4);
}

// Counts the re-sorts the auto-sort check asks for.
class TSortingTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int Resorts = 0;

 protected:
  void ResortNodes() override { ++Resorts; }
};

TEST_F(TreeListNodesTest, AutoSortRefreshResortsAfterChangesOrOnceAfterAnUpdate) {
  auto* Sorting = AddChild<TSortingTree>(Tree->Parent());
  TOwned<TSortingTree> Owned(Sorting);
  TdxTreeListNode* A = Sorting->Add();
  EXPECT_EQ(Sorting->Resorts, 0) << "off by default";
  Sorting->SetOptionsEx(Sorting->OptionsEx() + TdxTreeListOptionsEx{aoAutoSortRefresh});
  Sorting->Add();
  A->SetStrings(0, "a");
  A->AddChild()->Free();
  EXPECT_EQ(Sorting->Resorts, 4);  // insert, text, insert, delete
  Sorting->BeginUpdate();
  Sorting->Add();
  A->SetStrings(0, "b");
  EXPECT_EQ(Sorting->Resorts, 4);
  EXPECT_TRUE(Sorting->ResortPending());
  Sorting->EndUpdate();
  EXPECT_EQ(Sorting->Resorts, 5);
  EXPECT_FALSE(Sorting->ResortPending());
  Sorting->ClearNodes();
  EXPECT_EQ(Sorting->Resorts, 5) << "clearing re-sorts nothing";
}

// Raises from OnDeletion for one node.
class TRaisingHandler : public TObject {
 public:
  int Calls = 0;
  void Deletion(TObject*, TdxTreeListNode* Node) {
    ++Calls;
    if (Node->Strings(0) == "A") throw Exception("refused");
  }
};

TEST_F(TreeListNodesTest, AHandlerRaisingWhileClearingLeavesNoNodeBehind) {
  TdxTreeListNode* P = AddNamed("P");
  AddNamed("A", P);
  AddNamed("B", P);
  AddNamed("Q");
  TOwned<TRaisingHandler> Handler(NewObject<TRaisingHandler>());
  Tree->OnDeletion = TTLExpandedEvent::Bind<&TRaisingHandler::Deletion>(Handler.get());
  Tree->ClearNodes();
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"refused"});
  EXPECT_EQ(Handler->Calls, 4);
  EXPECT_EQ(Tree->Count(), 0);
  EXPECT_FALSE(Tree->Clearing());
  EXPECT_EQ(Tree->UpdateCount(), 0);
  Tree->OnDeletion = nullptr;
}

TEST_F(TreeListNodesTest, AHandlerRaisingOnDeletionStillLetsTheNodeGo) {
  TdxTreeListNode* A = AddNamed("A");
  AddNamed("A1", A);
  TdxTreeListNode* B = AddNamed("B");
  A->SetExpanded(true);
  TOwned<TRaisingHandler> Handler(NewObject<TRaisingHandler>());
  Tree->OnDeletion = TTLExpandedEvent::Bind<&TRaisingHandler::Deletion>(Handler.get());
  A->Free();
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"refused"});
  EXPECT_EQ(Handler->Calls, 2);
  EXPECT_EQ(Tree->Count(), 1);
  EXPECT_EQ(Tree->FocusedNode(), B);
  EXPECT_EQ(Tree->TopVisibleNode(), B);
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 1);
  EXPECT_EQ(B->GetVisibleIndex(), 0);
  Tree->OnDeletion = nullptr;
}

// Deep chains, run on a small stack (deepstack::RunOnSmallStack) that one stack frame
// a level would overflow long before the end.
constexpr int ChainDepth = 100000;

// A chain of Depth levels under a new top-level node, added inside an update; answers
// the deepest node.
TdxTreeListNode* AddChain(TCustomdxTreeList* Tree, int Depth) {
  Tree->BeginUpdate();
  TdxTreeListNode* Node = Tree->Add();
  for (int Level = 1; Level < Depth; ++Level) Node = Node->AddChild();
  Tree->EndUpdate();
  return Node;
}

// Counts OnDeletion and keeps the first and the last node it named (never read).
class TDeletionCount : public TObject {
 public:
  int Count = 0;
  const void* First = nullptr;
  const void* Last = nullptr;
  void Deletion(TObject*, TdxTreeListNode* Node) {
    if (Count++ == 0) First = Node;
    Last = Node;
  }
};

TEST_F(TreeListNodesTest, AHundredThousandLevelChainExpandsCollapsesClearsAndGoes) {
  deepstack::RunOnSmallStack([&] {
    TdxTreeListNode* Deepest = AddChain(Tree, ChainDepth);
    TdxTreeListNode* Top = Tree->Items(0);
    Top->Expand(true);
    EXPECT_TRUE(Deepest->Parent()->Expanded());
    EXPECT_EQ(Tree->GetVisibleNodeCount(), ChainDepth);
    EXPECT_EQ(Deepest->GetVisibleIndex(), ChainDepth - 1);
    EXPECT_EQ(Deepest->Level(), ChainDepth - 1);
    Top->SetExpanded(false);
    EXPECT_EQ(Tree->GetVisibleNodeCount(), 1);
    EXPECT_EQ(Deepest->GetVisibleIndex(), -1);
    Top->SetExpanded(true);
    EXPECT_EQ(Tree->GetNodeAtRow(ChainDepth - 1), Deepest);

    TOwned<TDeletionCount> Deletions(NewObject<TDeletionCount>());
    Tree->OnDeletion = TTLExpandedEvent::Bind<&TDeletionCount::Deletion>(Deletions.get());
    Tree->ClearNodes();
    EXPECT_EQ(Deletions->Count, ChainDepth);
    EXPECT_EQ(Deletions->First, Deepest);
    EXPECT_EQ(Deletions->Last, Top);
    EXPECT_EQ(Tree->Count(), 0);
    EXPECT_EQ(Tree->GetVisibleNodeCount(), 0);

    AddChain(Tree, ChainDepth);
    Tree->Items(0)->Expand(true);
    Deletions->Count = 0;
    FreeAndNil(Tree);
    EXPECT_EQ(Deletions->Count, ChainDepth);
  });
}

TEST_F(TreeListNodesTest, FreeingADeepChainsTopGoesDeepestFirstAndMovesFocusAndRowsOn) {
  deepstack::RunOnSmallStack([&] {
    TdxTreeListNode* Deepest = AddChain(Tree, ChainDepth);
    TdxTreeListNode* Top = Tree->Items(0);
    TdxTreeListNode* After = Tree->Add();
    Top->Expand(true);
    Tree->SetFocusedNode(Deepest, 0, false);
    TOwned<TDeletionCount> Deletions(NewObject<TDeletionCount>());
    Tree->OnDeletion = TTLExpandedEvent::Bind<&TDeletionCount::Deletion>(Deletions.get());
    Top->Free();
    EXPECT_EQ(Deletions->Count, ChainDepth);
    EXPECT_EQ(Deletions->First, Deepest);
    EXPECT_EQ(Deletions->Last, Top);
    EXPECT_EQ(Tree->FocusedNode(), After);
    EXPECT_EQ(Tree->TopVisibleNode(), After);
    EXPECT_TRUE(Tree->RowIndexValid());
    EXPECT_EQ(Tree->GetVisibleNodeCount(), 1);
    EXPECT_EQ(Tree->GetNodeAtRow(0), After);
    Tree->OnDeletion = nullptr;
  });
}

}  // namespace
