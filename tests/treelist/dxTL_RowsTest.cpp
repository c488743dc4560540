// The visible-row index against the walking answers: random inserts, deletes, expands
// and collapses checked after each step, a deleted expanded node taking its rows with
// it, the first node before any rebuild, the focused-row setter's clamping, and a run
// of expands or collapses moving the rows about once.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"

using namespace uitest;

namespace {

// The rows as a depth-first walk that descends only into expanded nodes gives them.
void WalkRows(TdxTreeListNode* Node, std::vector<TdxTreeListNode*>& Rows) {
  Rows.push_back(Node);
  if (Node->Expanded())
    for (int I = 0; I < Node->Count(); ++I) WalkRows(Node->Items(I), Rows);
}

std::vector<TdxTreeListNode*> ExpectedRows(TCustomdxTreeList* Tree) {
  std::vector<TdxTreeListNode*> Rows;
  for (int I = 0; I < Tree->Count(); ++I) WalkRows(Tree->Items(I), Rows);
  return Rows;
}

void AllNodes(TdxTreeListNode* Node, std::vector<TdxTreeListNode*>& Nodes) {
  Nodes.push_back(Node);
  for (int I = 0; I < Node->Count(); ++I) AllNodes(Node->Items(I), Nodes);
}

class TCountingTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  std::vector<TdxTreeListNode*> Changes;
  void Changed(TObject*, TdxTreeListNode*, TdxTreeListNode* Node) { Changes.push_back(Node); }
};

class TreeListRowsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TCountingTree>(ShownForm());
    Tree->SetBounds(0, 0, 200, 200);
    Tree->HandleNeeded();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  // Every row question against the walk; every node's row, the hidden ones' -1.
  void CheckRows() {
    const std::vector<TdxTreeListNode*> Rows = ExpectedRows(Tree);
    ASSERT_EQ(Tree->GetVisibleNodeCount(), static_cast<int>(Rows.size()));
    for (int R = 0; R < static_cast<int>(Rows.size()); ++R) {
      ASSERT_EQ(Tree->GetNodeAtRow(R), Rows[R]) << "row " << R;
      ASSERT_EQ(Rows[R]->GetVisibleIndex(), R) << "row " << R;
      ASSERT_EQ(Rows[R]->GetNextVisible(), R + 1 < static_cast<int>(Rows.size()) ? Rows[R + 1] : nullptr);
      ASSERT_EQ(Rows[R]->GetPrevVisible(), R > 0 ? Rows[R - 1] : nullptr);
    }
    EXPECT_EQ(Tree->GetNodeAtRow(-1), nullptr);
    EXPECT_EQ(Tree->GetNodeAtRow(static_cast<int>(Rows.size())), nullptr);
    std::vector<TdxTreeListNode*> Nodes;
    for (int I = 0; I < Tree->Count(); ++I) AllNodes(Tree->Items(I), Nodes);
    for (TdxTreeListNode* Node : Nodes)
      if (!Node->IsVisible()) {
        ASSERT_EQ(Node->GetVisibleIndex(), -1);
      }
  }
  TCountingTree* Tree = nullptr;
};

TEST_F(TreeListRowsTest, RandomChangesKeepTheIndexEqualToTheWalk) {
  std::mt19937 Random(26);
  std::vector<TdxTreeListNode*> Nodes;
  for (int I = 0; I < 5; ++I) Nodes.push_back(Tree->Add());
  Nodes[0]->AddChild();
  Nodes[0]->SetExpanded(true);  // builds the index
  ASSERT_TRUE(Tree->RowIndexValid());
  for (int Step = 0; Step < 600; ++Step) {
    Nodes.clear();
    for (int I = 0; I < Tree->Count(); ++I) AllNodes(Tree->Items(I), Nodes);
    TdxTreeListNode* Node = Nodes.empty() ? nullptr : Nodes[Random() % Nodes.size()];
    switch (Random() % 6) {
      case 0:
        Tree->Add();
        break;
      case 1:
      case 2:
        if (Node) Node->InsertChild(Node->Count() ? Node->Items(Random() % Node->Count()) : nullptr);
        break;
      case 3:
        if (Node && Nodes.size() > 3) Node->Free();
        break;
      default:
        if (Node) Node->SetExpanded(!Node->Expanded());
        break;
    }
    CheckRows();
    if (HasFatalFailure()) {
      ADD_FAILURE() << "at step " << Step;
      return;
    }
  }
  EXPECT_TRUE(Tree->RowIndexValid());
}

// A change costs the rows it inserts or removes, not the rows behind it: expanding and
// then collapsing 200 top-level nodes of 20 children each, one after another down the
// list, moves the rows of the index about once in all (to where the run starts), not
// once per node.
TEST_F(TreeListRowsTest, ARunOfExpandsOrCollapsesDownTheListMovesTheRowsAboutOnce) {
  constexpr int Tops = 200, Rows = Tops * 21;
  Tree->BeginUpdate();
  for (int I = 0; I < Tops; ++I) {
    TdxTreeListNode* Node = Tree->Add();
    for (int C = 0; C < 20; ++C) Node->AddChild();
  }
  Tree->EndUpdate();
  ASSERT_TRUE(Tree->RowIndexValid());
  long long Moved = Tree->RowList().SlotsMoved();
  for (int I = 0; I < Tops; ++I) Tree->Items(I)->SetExpanded(true);
  EXPECT_LE(Tree->RowList().SlotsMoved() - Moved, Rows + 2 * Tops);
  CheckRows();
  Moved = Tree->RowList().SlotsMoved();
  for (int I = 0; I < Tops; ++I) Tree->Items(I)->SetExpanded(false);
  EXPECT_LE(Tree->RowList().SlotsMoved() - Moved, Rows + 2 * Tops);
  CheckRows();
}

TEST_F(TreeListRowsTest, DeletingAnExpandedNodeWithThreeChildrenRemovesFourRows) {
  TdxTreeListNode* A = Tree->Add();
  TdxTreeListNode* P = Tree->Add();
  for (int I = 0; I < 3; ++I) P->AddChild();
  TdxTreeListNode* B = Tree->Add();
  TdxTreeListNode* C = Tree->Add();
  P->SetExpanded(true);
  ASSERT_TRUE(Tree->RowIndexValid());
  ASSERT_EQ(Tree->GetVisibleNodeCount(), 7);
  EXPECT_EQ(B->GetVisibleIndex(), 5);
  P->Free();
  EXPECT_TRUE(Tree->RowIndexValid());
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 3);
  EXPECT_EQ(A->GetVisibleIndex(), 0);
  EXPECT_EQ(B->GetVisibleIndex(), 1);
  EXPECT_EQ(C->GetVisibleIndex(), 2);
  CheckRows();
}

TEST_F(TreeListRowsTest, TheFirstNodeIsCountedByWalkingUntilARebuild) {
  TdxTreeListNode* A = Tree->Add();
  EXPECT_FALSE(Tree->RowIndexValid());
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 1);
  EXPECT_EQ(A->GetVisibleIndex(), 0);
  TdxTreeListNode* Hidden = A->AddChild();
  EXPECT_EQ(Hidden->GetVisibleIndex(), -1);
  Tree->BeginUpdate();
  Tree->EndUpdate();
  EXPECT_TRUE(Tree->RowIndexValid());
  EXPECT_EQ(Hidden->GetVisibleIndex(), -1);
  // A child under a collapsed node changes no row.
  A->AddChild();
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 1);
  A->SetExpanded(true);
  EXPECT_EQ(Hidden->GetVisibleIndex(), 1);
  CheckRows();
}

TEST_F(TreeListRowsTest, AnUpdateDropsTheIndexAndItsEndRebuildsIt) {
  for (int I = 0; I < 3; ++I) Tree->Add()->AddChild();
  Tree->BeginUpdate();
  EXPECT_FALSE(Tree->RowIndexValid());
  Tree->Items(1)->SetExpanded(true);
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 4);  // walking
  Tree->EndUpdate();
  EXPECT_TRUE(Tree->RowIndexValid());
  CheckRows();
}

TEST_F(TreeListRowsTest, AppendingALastChildResetsTheFormerLastChildsRowHeight) {
  TdxTreeListNode* P = Tree->Add();
  TdxTreeListNode* A = P->AddChild();
  P->SetExpanded(true);
  A->SetCachedRowHeight(20, 1);
  TdxTreeListNode* Other = Tree->Add();
  Other->SetCachedRowHeight(18, 1);
  EXPECT_EQ(A->CachedRowHeight(), 20);
  P->AddChild();
  EXPECT_EQ(A->CachedRowHeight(), 0);
  EXPECT_EQ(Other->CachedRowHeight(), 18);
  Tree->BeginUpdate();  // drops the index: every cached height goes
  EXPECT_EQ(Other->CachedRowHeight(), 0);
  Tree->EndUpdate();
}

TEST_F(TreeListRowsTest, CollapsingMakesTheNextSiblingFollowTheNode) {
  TdxTreeListNode* P = Tree->Add();
  P->AddChild();
  P->AddChild();
  TdxTreeListNode* Q = Tree->Add();
  P->SetExpanded(true);
  EXPECT_EQ(P->GetNextVisible()->Parent(), P);
  P->SetExpanded(false);
  EXPECT_EQ(P->GetNextVisible(), Q);
  EXPECT_EQ(Tree->GetNodeAtRow(1), Q);
}

TEST_F(TreeListRowsTest, SetFocusedRowIndexClampsToTheRows) {
  for (int I = 0; I < 5; ++I) Tree->Add();
  Tree->BeginUpdate();
  Tree->EndUpdate();
  Tree->SetFocusedNode(Tree->Items(2), 0, false);
  Tree->OnChangeNode = TTLChangeNodeEvent::Bind<&TCountingTree::Changed>(Tree);
  Tree->SetFocusedRowIndex(2);
  EXPECT_TRUE(Tree->Changes.empty());
  Tree->SetFocusedRowIndex(1000);
  EXPECT_EQ(Tree->FocusedNode(), Tree->Items(4));
  EXPECT_EQ(Tree->GetFocusedRowIndex(), 4);
  Tree->SetFocusedRowIndex(-3);
  EXPECT_EQ(Tree->FocusedNode(), Tree->Items(0));
  EXPECT_EQ(Tree->Changes, (std::vector<TdxTreeListNode*>{Tree->Items(4), Tree->Items(0)}));
  Tree->SetFocusedRowIndex(-3);
  EXPECT_EQ(Tree->Changes.size(), 2u);
}

TEST_F(TreeListRowsTest, RowAutoHeightResetsEveryCachedHeightOnIndexUpdates) {
  TdxTreeListNode* A = Tree->Add();
  TdxTreeListNode* B = Tree->Add();
  B->AddChild();
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoRowAutoHeight});
  A->SetCachedRowHeight(30, 2);
  B->SetExpanded(true);
  EXPECT_EQ(A->CachedRowHeight(), 0);
  Tree->SetMaxRowLineCount(0);
  A->SetCachedRowHeight(30, 2);
  B->SetExpanded(false);
  EXPECT_EQ(A->CachedRowHeight(), 30);
}

// Expands a node when another is deleted.
class TExpandOnDeletion : public TObject {
 public:
  TdxTreeListNode* When = nullptr;
  TdxTreeListNode* Expand = nullptr;
  void Deletion(TObject*, TdxTreeListNode* Node) {
    if (Node == When) Expand->SetExpanded(true);
  }
};

TEST_F(TreeListRowsTest, AHandlerShowingNodesWhileASubtreeGoesLeavesNoneInTheIndex) {
  TdxTreeListNode* A = Tree->Add();
  TdxTreeListNode* B = A->AddChild();
  TdxTreeListNode* C = B->AddChild();
  TdxTreeListNode* D = C->AddChild();
  C->AddChild();
  Tree->Add();
  B->SetExpanded(true);
  C->SetExpanded(true);
  TOwned<TExpandOnDeletion> Handler(NewObject<TExpandOnDeletion>());
  Handler->When = D;
  Handler->Expand = A;  // shows B and C, whose deletion is under way
  Tree->OnDeletion = TTLExpandedEvent::Bind<&TExpandOnDeletion::Deletion>(Handler.get());
  B->Free();
  Tree->OnDeletion = nullptr;
  EXPECT_EQ(Tree->GetVisibleNodeCount(), 2);
  CheckRows();
}

}  // namespace
