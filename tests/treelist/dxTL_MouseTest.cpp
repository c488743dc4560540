// The tree list's mouse on a real window, driven by the messages a user's input
// produces (Shift and Ctrl held through the key-state seam): focus and column changes
// in their order, the deferred selection of a clicked selected node, Shift and Ctrl
// ranges, the drag threshold of a pressed header, the selection's scroll ticks,
// expanding by button and by double click, hot tracking, and the profile page's
// settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

class TMouseLog : public tltest::TLineLog {
 public:
  void ChangeNode(TObject*, TdxTreeListNode*, TdxTreeListNode*) { Lines.push_back("node"); }
  void ChangeColumn(TObject*, TdxTreeListNode*, int) { Lines.push_back("column"); }
  void CountChange(TObject*) { Lines.push_back("count"); }
  void DblClick(TObject*) { Lines.push_back("dblclick"); }
  void StartDrag(TObject*, TdxTreeListColumn*) { Lines.push_back("drag"); }
  void ColumnClick(TObject*, TdxTreeListColumn*) { Lines.push_back("columnclick"); }
  void BandClick(TObject*, TdxTreeListBand*) { Lines.push_back("bandclick"); }
  void HotTrack(TObject*, TdxTreeListHotTrackInfo& Info, TCursor& Cursor) {
    Lines.push_back("hot");
    if (Info.Node) Cursor = crHandPoint;
  }
};

class TreeListMouseTest : public tltest::TreeListWindowTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Log = Keep(NewObject<TMouseLog>());
    MakePlainTree(2, 150, TRect{0, 0, 400, 300});
    FocusTree();
  }
  void AddRows(int Count) {
    Tree->BeginUpdate();
    for (int I = 0; I < Count; ++I) Tree->Add();
    Tree->EndUpdate();
    Pump();
  }
  // A point in the cell of the row Row (from the top row) and visible column Col.
  POINT Cell(int Row, int Col) {
    const TRect R = Layout().Headers.at(Col).CellRect;
    return POINT{R.right - 20, RowMiddle(Row)};
  }
  WPARAM Keys() const {
    WPARAM Result = 0;
    for (int K : HeldKeys) {
      if (K == VK_SHIFT) Result |= MK_SHIFT;
      if (K == VK_CONTROL) Result |= MK_CONTROL;
    }
    return Result;
  }
  void Down(POINT P) { TreeListWindowTest::Down(P, Keys()); }
  void Up(POINT P) { TreeListWindowTest::Up(P, Keys()); }
  void Move(POINT P) { TreeListWindowTest::Move(P, Keys()); }
  void Click(POINT P) {
    Down(P);
    Up(P);
  }
  void DoubleClick(POINT P) {
    Click(P);
    SendMessageA(Tree->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(P));
    Up(P);
  }
  void MultiSelect() { Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoMultiSelect}); }

  TMouseLog* Log = nullptr;
};

TEST_F(TreeListMouseTest, AClickOnAnotherNodeAndColumnFiresNodeColumnAndOneCount) {
  MultiSelect();
  AddRows(5);
  ASSERT_EQ(Tree->Items(0), Tree->FocusedNode());
  ASSERT_EQ(0, Tree->FocusedColumn());
  Tree->OnChangeNode = TTLChangeNodeEvent::Bind<&TMouseLog::ChangeNode>(Log);
  Tree->OnChangeColumn = TTLChangeColumnEvent::Bind<&TMouseLog::ChangeColumn>(Log);
  Tree->OnSelectedCountChange = TNotifyEvent::Bind<&TMouseLog::CountChange>(Log);
  Click(Cell(3, 1));
  EXPECT_EQ(Tree->Items(3), Tree->FocusedNode());
  EXPECT_EQ(1, Tree->FocusedColumn());
  EXPECT_EQ((std::vector<std::string>{"node", "column", "count"}), Log->Lines);
  EXPECT_EQ(1, Tree->SelectedCount());
  EXPECT_EQ(Tree->Items(3), Tree->SelectedNodes(0));
  EXPECT_EQ(tsNormal, Tree->State());
}

TEST_F(TreeListMouseTest, AClickOnASelectedNodeKeepsTheOthersUntilRelease) {
  MultiSelect();
  AddRows(5);
  Click(Cell(1, 0));
  HeldKeys = {VK_SHIFT};
  Click(Cell(3, 0));
  HeldKeys.clear();
  ASSERT_EQ(3, Tree->SelectedCount());
  Down(Cell(2, 0));
  EXPECT_EQ(3, Tree->SelectedCount());
  EXPECT_EQ(tsSelecting, Tree->State());
  Up(Cell(2, 0));
  EXPECT_EQ(1, Tree->SelectedCount());
  EXPECT_TRUE(Tree->Items(2)->Selected());
  EXPECT_EQ(Tree->Items(2), Tree->FocusedNode());
}

TEST_F(TreeListMouseTest, ShiftAfterCtrlSelectsTheRangeAndCtrlShiftAddsIt) {
  MultiSelect();
  AddRows(10);
  Click(Cell(0, 0));
  HeldKeys = {VK_CONTROL};
  Click(Cell(2, 0));  // node 2 joins node 0 and becomes the anchor
  ASSERT_EQ(2, Tree->SelectedCount());
  HeldKeys = {VK_SHIFT};
  Click(Cell(4, 0));
  ASSERT_EQ(3, Tree->SelectedCount());
  for (int I = 2; I <= 4; ++I) EXPECT_TRUE(Tree->Items(I)->Selected()) << I;
  EXPECT_FALSE(Tree->Items(0)->Selected());

  // Ctrl+Shift adds the range from the anchor (still node 2) to the clicked node.
  HeldKeys = {VK_CONTROL};
  Click(Cell(8, 0));
  HeldKeys = {VK_CONTROL, VK_SHIFT};
  Click(Cell(9, 0));
  HeldKeys.clear();
  EXPECT_EQ(5, Tree->SelectedCount());
  for (int I : {2, 3, 4, 8, 9}) EXPECT_TRUE(Tree->Items(I)->Selected()) << I;
  // The list is in address order: each node is found by search.
  for (int I = 1; I < Tree->SelectedCount(); ++I)
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(Tree->SelectedNodes(I - 1)),
              reinterpret_cast<std::uintptr_t>(Tree->SelectedNodes(I)));
}

class TMouseRefuse : public TObject {
 public:
  std::vector<TdxTreeListNode*> Refused;
  void Can(TObject*, TdxTreeListNode* Node, bool& Allow) {
    for (TdxTreeListNode* N : Refused)
      if (N == Node) Allow = false;
  }
};

TEST_F(TreeListMouseTest, AWhollyRefusedRangeLeavesTheSelection) {
  MultiSelect();
  AddRows(8);
  auto* Refuse = Keep(NewObject<TMouseRefuse>());
  Click(Cell(0, 0));
  HeldKeys = {VK_CONTROL};
  Click(Cell(1, 0));
  ASSERT_EQ(2, Tree->SelectedCount());
  Refuse->Refused = {Tree->Items(1), Tree->Items(2), Tree->Items(3), Tree->Items(4)};
  Tree->OnCanNodeSelected = TdxTLCanNodeSelected::Bind<&TMouseRefuse::Can>(Refuse);
  // Ctrl+click on a refused node: the anchor moves there, nothing joins.
  Click(Cell(4, 0));
  HeldKeys = {VK_CONTROL, VK_SHIFT};
  Click(Cell(2, 0));
  HeldKeys.clear();
  EXPECT_EQ(2, Tree->SelectedCount());
  EXPECT_TRUE(Tree->Items(0)->Selected());
  EXPECT_TRUE(Tree->Items(1)->Selected());
}

TEST_F(TreeListMouseTest, ARangeKeepsToTheParentOfTheSelection) {
  MultiSelect();
  TdxTreeListNode* A = Tree->Add();
  for (int I = 0; I < 3; ++I) A->AddChild();
  TdxTreeListNode* B = Tree->Add();
  for (int I = 0; I < 3; ++I) B->AddChild();
  A->Expand(false);
  B->Expand(false);
  Pump();
  // Rows: A, a0, a1, a2, B, b0, b1, b2.
  Click(Cell(1, 0));
  HeldKeys = {VK_CONTROL};
  Click(Cell(2, 0));
  ASSERT_EQ(2, Tree->SelectedCount());
  HeldKeys = {VK_CONTROL, VK_SHIFT};
  Click(Cell(6, 0));
  HeldKeys.clear();
  EXPECT_EQ(3, Tree->SelectedCount());
  for (int I = 0; I < 3; ++I) EXPECT_TRUE(A->Items(I)->Selected()) << I;
  EXPECT_FALSE(B->Selected());
  EXPECT_FALSE(B->Items(0)->Selected());
  EXPECT_FALSE(B->Items(1)->Selected());

  // With nothing selected the range's first node decides the parent.
  Tree->ClearSelection();
  Tree->SelectRange(A->Items(2), B->Items(1));
  EXPECT_EQ(1, Tree->SelectedCount());
  EXPECT_TRUE(A->Items(2)->Selected());
}

TEST_F(TreeListMouseTest, APressedHeaderStartsDraggingPastFivePixels) {
  AddRows(2);
  Tree->OnStartHeaderDragging = TdxTLColumnEvent::Bind<&TMouseLog::StartDrag>(Log);
  Tree->OnColumnClick = TdxTLColumnEvent::Bind<&TMouseLog::ColumnClick>(Log);
  const TRect R = Layout().Headers[0].CellRect;
  const POINT P{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
  Down(P);
  EXPECT_EQ(tsColumnDown, Tree->State());
  EXPECT_TRUE(Tree->PressedLook());
  EXPECT_EQ(0, Tree->PressedState().Header);  // what the paint draws pressed
  Move(POINT{P.x + 5, P.y});
  Move(POINT{P.x, P.y - 5});
  EXPECT_EQ(0, Log->Count("drag"));
  EXPECT_EQ(tsColumnDown, Tree->State());
  Move(POINT{P.x + 6, P.y});
  EXPECT_EQ(1, Log->Count("drag"));
  EXPECT_EQ(tsColumnDragging, Tree->State());
  Up(POINT{P.x + 6, P.y});
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(0, Log->Count("columnclick"));

  // Released on the pressed header it is a click; pressed looks follow the pointer
  // (here where it cannot be dragged away).
  Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoColumnMoving});
  Down(P);
  Move(POINT{P.x, R.bottom + 30});
  EXPECT_FALSE(Tree->PressedLook());
  EXPECT_EQ(-1, Tree->PressedState().Header);
  Move(P);
  EXPECT_TRUE(Tree->PressedLook());
  Up(P);
  EXPECT_EQ(1, Log->Count("columnclick"));
}

TEST_F(TreeListMouseTest, ABandClickNeedsTheReleaseOnTheSameBand) {
  Tree->SetShowBands(true);
  Tree->SetOptionsEx(Tree->OptionsEx() - TdxTreeListOptionsEx{aoBandMoving});
  Tree->OnBandClick = TdxTLBandEvent::Bind<&TMouseLog::BandClick>(Log);
  Pump();
  const TRect B = Layout().Bands[0].BandRect;
  const POINT P{B.left + 20, (B.top + B.bottom) / 2};
  Down(P);
  EXPECT_EQ(tsBandDown, Tree->State());
  EXPECT_EQ(0, Tree->PressedBand());
  Up(POINT{P.x, B.bottom + 40});
  EXPECT_EQ(0, Log->Count("bandclick"));
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(-1, Tree->PressedBand());
  Click(P);
  EXPECT_EQ(1, Log->Count("bandclick"));
}

TEST_F(TreeListMouseTest, ARightClickFocusesTheRowWithoutSelecting) {
  AddRows(4);
  SendMessageA(Tree->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(Cell(2, 0)));
  EXPECT_EQ(Tree->Items(2), Tree->FocusedNode());
  EXPECT_EQ(tsNormal, Tree->State());
  SendMessageA(Tree->Handle(), WM_RBUTTONUP, 0, At(Cell(2, 0)));
}

TEST_F(TreeListMouseTest, HoldingBelowTheRowsMovesTheFocusOneRowPerTick) {
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoMouseScroll});
  AddRows(60);
  const int Full = Tree->FullRowCount();
  ASSERT_LT(Full, 60);
  Down(Cell(0, 0));
  ASSERT_EQ(tsSelecting, Tree->State());
  const TdxTreeListDrawInfo DI = Layout();
  Move(POINT{50, DI.CellsRect.bottom + 10});
  EXPECT_EQ(Full - 1, Tree->GetFocusedRowIndex());
  // The 60 ms timer runs; its ticks are delivered here one by one.
  EXPECT_TRUE(KillTimer(Tree->Handle(), 1));
  SendMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(Full, Tree->GetFocusedRowIndex());
  SendMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(Full + 1, Tree->GetFocusedRowIndex());
  EXPECT_EQ(Full + 1, Tree->GetTopIndex() + Tree->FullRowCount() - 1);
  // Released, the ticks stop moving it.
  Up(POINT{50, DI.CellsRect.bottom + 10});
  SendMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(Full + 1, Tree->GetFocusedRowIndex());
}

TEST_F(TreeListMouseTest, ADoubleClickTogglesOnlyWithDblClkExpandingTheButtonAlways) {
  TdxTreeListNode* Parent = Tree->Add();
  Parent->AddChild();
  Pump();
  Tree->SetDblClkExpanding(false);
  DoubleClick(Cell(0, 0));
  EXPECT_FALSE(Parent->Expanded());
  Tree->SetDblClkExpanding(true);
  DoubleClick(Cell(0, 0));
  EXPECT_TRUE(Parent->Expanded());
  const TdxTreeListDrawInfo DI = Layout();
  const POINT Button{DI.CellsRect.left + Tree->LevelIndent() / 2, Cell(0, 0).y};
  Tree->SetDblClkExpanding(false);
  Click(Button);
  EXPECT_FALSE(Parent->Expanded());
  Click(Button);
  EXPECT_TRUE(Parent->Expanded());
}

TEST_F(TreeListMouseTest, HotTrackingFollowsTheMouseAndSetsTheCursor) {
  AddRows(3);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoHotTrack});
  Tree->OnHotTrackNode = TdxTLHotTrackNodeEvent::Bind<&TMouseLog::HotTrack>(Log);
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, At(Cell(1, 1)));
  EXPECT_EQ(Tree->Items(1), Tree->HotNode());
  EXPECT_EQ(1, Tree->HotColumn());
  EXPECT_TRUE(Tree->IsHotCell(Tree->Items(1), 1));
  EXPECT_EQ(crHandPoint, Tree->Cursor());
  EXPECT_EQ(crDefault, Tree->HotCursor());
  // The same cell again changes nothing.
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, At(Cell(1, 1)));
  EXPECT_EQ(1, Log->Count("hot"));
  // A header: kind 2 in the right-most 15 pixels inside its 2-pixel border (left of
  // the sizing zone of its edge).
  const TRect R = Layout().Headers[0].CellRect;
  const int Y = (R.top + R.bottom) / 2;
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(R.right - 6, Y));
  EXPECT_EQ(nullptr, Tree->HotNode());
  EXPECT_EQ(0, Tree->HotColumn());
  EXPECT_EQ(2, Tree->HotKind());
  EXPECT_EQ(crDefault, Tree->Cursor());
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(R.right - 2 - 16, Y));
  EXPECT_EQ(1, Tree->HotKind());
  // The control's own cursor becomes the one shown when nothing is hot.
  Tree->SetCursor(crCross);
  EXPECT_EQ(crCross, Tree->HotCursor());
  SendMessageA(Tree->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, Tree->HotColumn());
}

TEST_F(TreeListMouseTest, TheProfilePagesSettingsFocusOnClickAndReportDoubleClicks) {
  // One column, row select, no header: as the wizard's profile page has it.
  Tree->SetShowHeader(false);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoRowSelect});
  while (Tree->ColumnCount() > 1) Tree->Columns(1)->Free();
  AddRows(4);
  Tree->OnChangeNode = TTLChangeNodeEvent::Bind<&TMouseLog::ChangeNode>(Log);
  Tree->OnDblClick = TNotifyEvent::Bind<&TMouseLog::DblClick>(Log);
  const TdxTreeListDrawInfo DI = Layout();
  const POINT P{100, DI.CellsRect.top + Tree->DefaultRowHeight() * 2 + 3};
  Click(P);
  EXPECT_EQ(Tree->Items(2), Tree->FocusedNode());
  EXPECT_EQ(1, Log->Count("node"));
  EXPECT_EQ(0, Log->Count("dblclick"));
  SendMessageA(Tree->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(P));
  Up(P);
  EXPECT_EQ(1, Log->Count("dblclick"));
  // A double click on the header panel is no double click of a row.
  Tree->SetShowHeader(true);
  Pump();
  const TRect H = Layout().Headers[0].CellRect;
  SendMessageA(Tree->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(H.left + 10, H.top + 3));
  Up(POINT{H.left + 10, H.top + 3});
  EXPECT_EQ(1, Log->Count("dblclick"));
}

}  // namespace

namespace {

// Counts the click-to-edit timer's firings that reach the editor's hook.
class TClickEditTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int Opened = 0;

 protected:
  void ClickEditTimer() override { ++Opened; }
};

TEST_F(TreeListMouseTest, ASecondClickOnTheFocusedCellArmsTheEditorTimer) {
  FreeAndNil(Tree);
  auto* Edit = AddChild<TClickEditTree>(Form);
  Tree = Edit;
  Edit->SetBounds(0, 0, 400, 300);
  Edit->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(150);
  Edit->SetFocus();
  AddRows(3);
  Click(Cell(1, 0));
  // The first click moved the focus: no timer.
  EXPECT_FALSE(KillTimer(Edit->Handle(), 2));
  Click(Cell(1, 0));
  EXPECT_TRUE(KillTimer(Edit->Handle(), 2));
  SendMessageA(Edit->Handle(), WM_TIMER, 2, 0);
  EXPECT_EQ(1, Edit->Opened);
  // A press that follows kills it before it fires.
  Click(Cell(1, 0));
  Down(Cell(2, 0));
  EXPECT_FALSE(KillTimer(Edit->Handle(), 2));
  Up(Cell(2, 0));
}

TEST_F(TreeListMouseTest, SizingZonesShowTheSplitCursors) {
  AddRows(3);
  const TRect R = Layout().Headers[0].CellRect;
  auto CursorAt = [&](int X, int Y) {
    POINT P{X, Y};
    ClientToScreen(Tree->Handle(), &P);
    SendMessageA(Tree->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y));
    SendMessageA(Tree->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Tree->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(Screen->Cursors(crHSplit), CursorAt(R.right - 1, (R.top + R.bottom) / 2));
  EXPECT_NE(Screen->Cursors(crHSplit), CursorAt(R.left + 20, (R.top + R.bottom) / 2));
}

TEST_F(TreeListMouseTest, LosingTheFocusEndsTheSelecting) {
  AddRows(3);
  Down(Cell(1, 0));
  ASSERT_EQ(tsSelecting, Tree->State());
  SendMessageA(Tree->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(tsNormal, Tree->State());
  // A cancelled mode leaves a pressed header unpressed.
  const TRect R = Layout().Headers[0].CellRect;
  Down(POINT{R.left + 20, (R.top + R.bottom) / 2});
  ASSERT_EQ(tsColumnDown, Tree->State());
  SendMessageA(Tree->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_FALSE(Tree->PressedLook());
  EXPECT_EQ(-1, Tree->PressedColumn());
}

}  // namespace
