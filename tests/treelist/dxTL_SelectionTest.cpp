// The tree list's selection list on a real window: what clearing repaints, deleted
// nodes leaving the list whatever the options, deleting the selection, clearing the
// nodes, the options' fresh start from the focused node, the count reported once per
// bracket, tree order, and the selection cleared when the control is destroyed.
#include <gtest/gtest.h>

#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

class TSelectionLog : public TObject {
 public:
  int Counts = 0;
  std::vector<TdxTreeListNode*> Changed;
  void Count(TObject*) { ++Counts; }
  void Selection(TObject*, TdxTreeListNode* Node) { Changed.push_back(Node); }
};

class TreeListSelectionTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Log = Keep(NewObject<TSelectionLog>());
    Tree = AddChild<TdxTreeList>(ShownForm(500, 500));
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->SetShowHeader(false);
    Tree->SetBounds(0, 0, 300, 460);
    Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(200);
    Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoMultiSelect});
    Tree->HandleNeeded();
    Tree->BeginUpdate();
    for (int I = 0; I < 20; ++I) Tree->Add();
    Tree->EndUpdate();
    Pump();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  void Select(int From, int To) {
    for (int I = From; I <= To; ++I) Tree->Items(I)->SetSelected(true);
  }
  // Paints now, so that only what follows is left to repaint.
  void Settle() {
    PaintNow(Tree);
    Pump();
  }
  bool Invalid(int X, int Y) { return tltest::InUpdateRegion(Tree->Handle(), X, Y); }
  int RowY(int Row) { return Row * Tree->DefaultRowHeight() + Tree->DefaultRowHeight() / 2; }

  TdxTreeList* Tree = nullptr;
  TSelectionLog* Log = nullptr;
};

TEST_F(TreeListSelectionTest, ClearingTwelveRepaintsAllAndThreeOnlyTheirRows) {
  ASSERT_GT(Tree->ClientRect().bottom, RowY(19));
  Select(2, 13);
  Settle();
  Tree->ClearSelection();
  EXPECT_TRUE(Invalid(50, RowY(17)));
  EXPECT_EQ(0, Tree->SelectedCount());

  Select(5, 7);
  Settle();
  Tree->ClearSelection();
  for (int Row : {0, 5, 6, 7}) EXPECT_TRUE(Invalid(50, RowY(Row))) << Row;  // focused, selected
  for (int Row : {3, 9, 17}) EXPECT_FALSE(Invalid(50, RowY(Row))) << Row;
}

TEST_F(TreeListSelectionTest, ClearingFiresForEachNodeLastFirstAndCountsOnce) {
  Select(3, 5);
  Tree->OnSelectionChanged = TSelectionChangedEvent::Bind<&TSelectionLog::Selection>(Log);
  Tree->OnSelectedCountChange = TNotifyEvent::Bind<&TSelectionLog::Count>(Log);
  std::vector<TdxTreeListNode*> Expected;
  for (int I = Tree->SelectedCount() - 1; I >= 0; --I) Expected.push_back(Tree->SelectedNodes(I));
  Tree->ClearSelection();
  EXPECT_EQ(Expected, Log->Changed);
  EXPECT_EQ(1, Log->Counts);
  // Inside a bracket the count is reported once at its end, and only when it changed.
  Tree->BeginSelectionUpdate();
  Select(1, 4);
  Tree->Items(1)->SetSelected(false);
  EXPECT_EQ(1, Log->Counts);
  Tree->EndSelectionUpdate();
  EXPECT_EQ(2, Log->Counts);
  Tree->BeginSelectionUpdate();
  Tree->Items(1)->SetSelected(true);
  Tree->Items(1)->SetSelected(false);
  Tree->EndSelectionUpdate();
  EXPECT_EQ(2, Log->Counts);
}

// Destroying the control clears its selection first, as a clearing does: one
// OnSelectionChanged per selected node, the last first, also when its form frees it.
TEST_F(TreeListSelectionTest, DestroyingTheControlFiresForEachSelectedNode) {
  Select(4, 5);
  Tree->OnSelectionChanged = TSelectionChangedEvent::Bind<&TSelectionLog::Selection>(Log);
  const std::vector<TdxTreeListNode*> Expected = {Tree->SelectedNodes(1), Tree->SelectedNodes(0)};
  FreeAndNil(Tree);
  EXPECT_EQ(Expected, Log->Changed);

  // The usual way: the list goes with its form, already marked as being destroyed.
  TForm* Form = NewObject<TForm>(nullptr);
  auto* Other = AddChild<TdxTreeList>(Form);
  Other->SetOptions(Other->Options() + TdxTreeListOptions{aoMultiSelect});
  for (int I = 0; I < 4; ++I) Other->Add();
  Other->Items(1)->SetSelected(true);
  Other->Items(3)->SetSelected(true);
  ASSERT_EQ(2, Other->SelectedCount());
  const std::vector<TdxTreeListNode*> Leaving = {Other->SelectedNodes(1), Other->SelectedNodes(0)};
  Other->OnSelectionChanged = TSelectionChangedEvent::Bind<&TSelectionLog::Selection>(Log);
  Log->Changed.clear();
  Form->Free();
  EXPECT_EQ(Leaving, Log->Changed);
}

TEST_F(TreeListSelectionTest, ADeletedNodeLeavesTheListWithAndWithoutMultiSelect) {
  Select(2, 4);
  TdxTreeListNode* Gone = Tree->Items(3);
  Gone->Free();
  EXPECT_EQ(2, Tree->SelectedCount());
  for (int I = 0; I < Tree->SelectedCount(); ++I) EXPECT_NE(Gone, Tree->SelectedNodes(I));

  // Without aoMultiSelect a node can still reach the list through a range; freed, it
  // leaves it all the same.
  Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoMultiSelect});
  EXPECT_EQ(0, Tree->SelectedCount());
  Tree->SelectRange(Tree->Items(6), Tree->Items(9));
  ASSERT_EQ(4, Tree->SelectedCount());
  Gone = Tree->Items(7);
  Gone->Free();
  EXPECT_EQ(3, Tree->SelectedCount());
  for (int I = 0; I < Tree->SelectedCount(); ++I) EXPECT_NE(Gone, Tree->SelectedNodes(I));
  // So deleting the selection frees each node once and ends.
  const int Before = Tree->Count();
  Tree->DeleteSelection();
  EXPECT_EQ(0, Tree->SelectedCount());
  EXPECT_EQ(Before - 3, Tree->Count());
}

TEST_F(TreeListSelectionTest, DeletingTheSelectionFreesParentsAndSelectedChildren) {
  TdxTreeListNode* Parent = Tree->Items(1);
  TdxTreeListNode* Child = Parent->AddChild();
  Child->AddChild();
  Parent->Expand(true);
  // New options select the focused node again.
  Tree->Items(4)->SetFocused(true);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoExtMultiSelect});
  Parent->SetSelected(true);
  Child->SetSelected(true);
  ASSERT_EQ(3, Tree->SelectedCount());
  Tree->DeleteSelection();
  EXPECT_EQ(0, Tree->SelectedCount());
  EXPECT_EQ(18, Tree->Count());
}

TEST_F(TreeListSelectionTest, ClearingTheNodesEmptiesTheSelection) {
  Select(0, 5);
  Tree->ClearNodes();
  EXPECT_EQ(0, Tree->SelectedCount());
  EXPECT_EQ(nullptr, Tree->SelectedNodes(0));
}

TEST_F(TreeListSelectionTest, NewOptionsStartTheSelectionAgainFromTheFocusedNode) {
  Tree->Items(6)->SetFocused(true);
  Select(2, 4);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoHotTrack});
  EXPECT_EQ(3, Tree->SelectedCount());  // only Options restarts it
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoExtMultiSelect});
  ASSERT_EQ(1, Tree->SelectedCount());
  EXPECT_EQ(Tree->Items(6), Tree->SelectedNodes(0));
}

TEST_F(TreeListSelectionTest, TreeOrderPutsParentsFirstAndComparesAtTheSharedParent) {
  TdxTreeListNode* A = Tree->Items(2);
  TdxTreeListNode* A1 = A->AddChild();
  TdxTreeListNode* A11 = A1->AddChild();
  TdxTreeListNode* B = Tree->Items(3);
  TdxTreeListNode* B1 = B->AddChild();
  EXPECT_LT(TCustomdxTreeList::CompareTreeOrder(A, A11), 0);
  EXPECT_GT(TCustomdxTreeList::CompareTreeOrder(A11, A), 0);
  EXPECT_LT(TCustomdxTreeList::CompareTreeOrder(A11, B1), 0);
  EXPECT_GT(TCustomdxTreeList::CompareTreeOrder(B, A11), 0);
  EXPECT_EQ(0, TCustomdxTreeList::CompareTreeOrder(B1, B1));
  // A range given bottom-up is taken top-down, rows under collapsed parents left out.
  Tree->SelectRange(B, A);
  EXPECT_EQ(2, Tree->SelectedCount());
  EXPECT_TRUE(A->Selected());
  EXPECT_TRUE(B->Selected());
  EXPECT_FALSE(A1->Selected());
}

}  // namespace
