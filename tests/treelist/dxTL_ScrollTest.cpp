// The tree list's vertical scroll state on a real window: rows in view, the bar's
// range and page, the top row clamped to the last page, a short scroll moving pixels
// and a long jump repainting all, unchanged bar state left alone, both bars removed
// when everything fits, the 32-bit thumb position, the horizontal thumb rule, the top
// row brought back into range when rows below it go, and the bar going with the last
// node.
#include <gtest/gtest.h>

#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

// Counts the scroll bar states set.
class TScrollCountingTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int Sets = 0;

 protected:
  void ApplyScrollInfo(int Bar, const SCROLLINFO& Info) override {
    ++Sets;
    TdxTreeList::ApplyScrollInfo(Bar, Info);
  }
};

class TreeListScrollTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TScrollCountingTree>(ShownForm(500, 400));
    Tree->SetBorderStyle(bsNone);
    Tree->SetShowHeader(false);
    Tree->SetBounds(0, 0, 300, 300);
    Tree->HandleNeeded();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  // Makes the client (the data area: no header) Height pixels high.
  void SetDataHeight(int Height) {
    TRect Client = Tree->ClientRect();
    TRect Window;
    GetWindowRect(Tree->Handle(), &Window);
    const int Frame = (Window.bottom - Window.top) - (Client.bottom - Client.top);
    Tree->SetBounds(0, 0, 300, Height + Frame);
    Pump();
  }
  void FitRows(int Rows) { SetDataHeight(Rows * Tree->DefaultRowHeight()); }
  void AddRows(int Count) {
    Tree->BeginUpdate();
    for (int I = 0; I < Count; ++I) Tree->Add();
    Tree->EndUpdate();
    Pump();
  }
  SCROLLINFO Bar(int Which) {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_ALL;
    Tree->GetScrollInfo(Which, Info);
    return Info;
  }
  bool Invalid(int X, int Y) { return tltest::InUpdateRegion(Tree->Handle(), X, Y); }
  TScrollCountingTree* Tree = nullptr;
};

TEST_F(TreeListScrollTest, RowsInViewCountWholeAndPartRows) {
  AddRows(50);
  const int H = Tree->DefaultRowHeight();
  // A data area below one row still has one row in view.
  SetDataHeight(H / 2);
  Tree->CalcRowsInView();
  EXPECT_EQ(Tree->GetVisibleRowCount(), 1);
  EXPECT_EQ(Tree->FullRowCount(), 1);
  FitRows(10);
  EXPECT_EQ(Tree->FullRowCount(), 10);
  EXPECT_EQ(Tree->GetVisibleRowCount(), 10);
  int Visible = 0, Full = 0;
  Tree->CountRowsInView(Tree->Items(0), 10 * H + H / 2, Visible, Full);
  EXPECT_EQ(Full, 10);
  EXPECT_EQ(Visible, 11);
  // At the end of the list the rows above the start that would fit count.
  Tree->CountRowsInView(Tree->Items(47), 10 * H, Visible, Full);
  EXPECT_EQ(Full, 10);
}

TEST_F(TreeListScrollTest, TheBarReportsRowsAndTheTopRow) {
  FitRows(10);
  AddRows(10);
  int Min, Max, Page, Pos;
  Tree->GetVertScrollInfo(Min, Max, Page, Pos);
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 0);
  EXPECT_EQ(Page, 10);
  EXPECT_EQ(Pos, 0);
  AddRows(30);
  Tree->SetTopIndex(5);
  Tree->GetVertScrollInfo(Min, Max, Page, Pos);
  EXPECT_EQ(Max, 39);
  EXPECT_EQ(Pos, 5);
  const SCROLLINFO Info = Bar(SB_VERT);
  EXPECT_EQ(Info.nMax, 39);
  EXPECT_EQ(static_cast<int>(Info.nPage), 10);
  EXPECT_EQ(Info.nPos, 5);
}

TEST_F(TreeListScrollTest, AnIndexPastTheEndShowsTheLastPage) {
  FitRows(10);
  AddRows(40);
  Tree->SetTopIndex(1000);
  EXPECT_EQ(Tree->GetTopIndex(), 30);
  Tree->SetTopIndex(-5);
  EXPECT_EQ(Tree->GetTopIndex(), 0);
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Tree->GetTopIndex(), 30);
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(Tree->GetTopIndex(), 29);
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(Tree->GetTopIndex(), 19);
  // Making a row below the screen visible puts it in the last place.
  Tree->Items(35)->MakeVisible();
  EXPECT_EQ(Tree->GetTopIndex(), 26);
}

TEST_F(TreeListScrollTest, AShortScrollMovesPixelsAndALongJumpRepaintsAll) {
  FitRows(10);
  AddRows(100);
  const int H = Tree->DefaultRowHeight();
  const int MiddleY = 5 * H + H / 2;
  Tree->SetTreeLineStyle(tlSolid);
  Pump();
  ValidateRect(Tree->Handle(), nullptr);
  Tree->SetTopIndex(2);
  EXPECT_FALSE(Invalid(50, MiddleY));  // moved on the screen
  EXPECT_TRUE(Invalid(50, 9 * H + H / 2));  // the uncovered rows
  Pump();
  // Dotted tree lines repaint the first band's strip after the move.
  Tree->SetTreeLineStyle(tlDot);
  Pump();
  ValidateRect(Tree->Handle(), nullptr);
  Tree->SetTopIndex(3);
  EXPECT_TRUE(Invalid(50, MiddleY));
  EXPECT_FALSE(Invalid(260, MiddleY));
  Pump();
  ValidateRect(Tree->Handle(), nullptr);
  Tree->SetTopIndex(50);
  EXPECT_TRUE(Invalid(50, MiddleY));
}

TEST_F(TreeListScrollTest, AnUnchangedBarIsNotSetAgain) {
  FitRows(10);
  AddRows(40);
  Tree->Sets = 0;
  Tree->RefreshScrollBars();
  EXPECT_EQ(Tree->Sets, 0);
  Tree->SetTopIndex(3);
  EXPECT_EQ(Tree->Sets, 1);
  // A run of expansions sets the bar once, after the queue runs.
  TdxTreeListNode* Node = Tree->Items(20);
  for (int I = 0; I < 5; ++I) Node->AddChild();
  Pump();
  Tree->Sets = 0;
  Node->SetExpanded(true);
  Node->SetExpanded(false);
  Node->SetExpanded(true);
  EXPECT_EQ(Tree->Sets, 0);
  Pump();
  EXPECT_EQ(Tree->Sets, 1);
  EXPECT_EQ(Bar(SB_VERT).nMax, 44);
}

TEST_F(TreeListScrollTest, BothBarsGoAtOnceWhenEverythingFits) {
  Tree->Bands()->Items(0)->SetWidth(400);
  AddRows(20);
  Tree->SetBounds(0, 0, 200, 200);
  Pump();
  LONG Style = GetWindowLongA(Tree->Handle(), GWL_STYLE);
  EXPECT_TRUE(Style & WS_VSCROLL);
  EXPECT_TRUE(Style & WS_HSCROLL);
  Tree->Bands()->Items(0)->SetWidth(100);
  Tree->SetBounds(0, 0, 200, 21 * Tree->DefaultRowHeight());
  Pump();
  Style = GetWindowLongA(Tree->Handle(), GWL_STYLE);
  EXPECT_FALSE(Style & WS_VSCROLL);
  EXPECT_FALSE(Style & WS_HSCROLL);
}

TEST_F(TreeListScrollTest, TheThumbGoesPastSixteenBits) {
  FitRows(10);
  AddRows(100000);
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_POS;
  Info.nPos = 70000;
  SetScrollInfo(Tree->Handle(), SB_VERT, &Info, FALSE);
  // The message's 16-bit position is wrong on purpose: the bar's own is read.
  SendMessageA(Tree->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 70000 & 0xFFFF), 0);
  EXPECT_EQ(Tree->GetTopIndex(), 70000);
  EXPECT_EQ(Tree->TopVisibleNode(), Tree->Items(70000));
  Pump();
  EXPECT_EQ(Bar(SB_VERT).nPos, 70000);
}

TEST_F(TreeListScrollTest, TheHorizontalThumbStepsByFour) {
  Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  Tree->Bands()->Items(0)->SetWidth(1000);
  Pump();
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_POS;
  Info.nPos = 37;
  SetScrollInfo(Tree->Handle(), SB_HORZ, &Info, FALSE);
  SendMessageA(Tree->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 37), 0);
  EXPECT_EQ(Tree->LeftCoord(), 36);
  SendMessageA(Tree->Handle(), WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Tree->LeftCoord(), Tree->GetScrollableWidth() - Tree->GetVisibleWidth());
  EXPECT_EQ(Bar(SB_HORZ).nPos, Tree->LeftCoord());
}

TEST_F(TreeListScrollTest, TheWindowClipsItsChildrenTakesTabsAndDoubleClicks) {
  const LONG Style = GetWindowLongA(Tree->Handle(), GWL_STYLE);
  EXPECT_TRUE(Style & WS_CLIPCHILDREN);
  EXPECT_TRUE(Style & WS_TABSTOP);
  EXPECT_FALSE(Style & WS_BORDER);
  const DWORD ClassStyle = GetClassLongA(Tree->Handle(), GCL_STYLE);
  EXPECT_EQ(ClassStyle & (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS),
            static_cast<DWORD>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
}

}  // namespace

namespace {

// Four lines for the first five top-level nodes, one for the rest.
class TTallFirstRows : public TObject {
 public:
  void LineCount(TObject*, TdxTreeListNode* Node, int& Count) {
    if (!Node->Parent() && Node->Index() < 5) Count = 4;
  }
};

}  // namespace

TEST_F(TreeListScrollTest, TheLastPageCountsTheRowsThatFitFromTheNewTop) {
  TTallFirstRows Tall;
  Tree->OnGetRowLineCount = TdxTLGetRowLineCountEvent::Bind<&TTallFirstRows::LineCount>(&Tall);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoRowAutoHeight});
  FitRows(10);
  AddRows(30);
  ASSERT_GT(Tree->GetRowHeight(Tree->Items(0), Tree->DefaultRowHeight()),
            2 * Tree->DefaultRowHeight());
  // From the top only a few tall rows fit; at the end ten short ones do.
  ASSERT_LT(Tree->FullRowCount(), 5);
  Tree->SetTopIndex(1000);
  EXPECT_EQ(Tree->GetTopIndex(), 20);
  EXPECT_EQ(Tree->FullRowCount(), 10);
  // Back at the top, a jump to the end of the tall rows keeps its place.
  Tree->SetTopIndex(0);
  Tree->SetTopIndex(3);
  EXPECT_EQ(Tree->GetTopIndex(), 3);
}

// Rows leaving below the top row, by a collapse or by deletions, bring the top row
// back so that the last page stays full.
TEST_F(TreeListScrollTest, TheTopRowStaysInRangeWhenRowsBelowItGo) {
  FitRows(10);
  Tree->BeginUpdate();
  for (int I = 0; I < 30; ++I) Tree->Add();
  TdxTreeListNode* Last = Tree->Items(29);
  for (int I = 0; I < 50; ++I) Last->AddChild();
  Last->SetExpanded(true);
  Tree->EndUpdate();
  Pump();
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  ASSERT_EQ(Tree->GetTopIndex(), 70);
  Last->SetExpanded(false);
  Pump();
  EXPECT_EQ(Tree->GetTopIndex(), 20);
  EXPECT_EQ(Bar(SB_VERT).nPos, 20);

  for (int I = 0; I < 30; ++I) Tree->Add();
  Pump();
  Tree->SetTopIndex(50);
  ASSERT_EQ(Tree->GetTopIndex(), 50);
  for (int I = 59; I >= 40; --I) Tree->Items(I)->Free();
  Pump();
  EXPECT_EQ(Tree->GetTopIndex(), 30);
  EXPECT_EQ(Bar(SB_VERT).nPos, 30);
}

// The last node going takes the vertical bar with it.
TEST_F(TreeListScrollTest, TheBarGoesWithTheLastNode) {
  FitRows(10);
  Tree->BeginUpdate();
  TdxTreeListNode* Root = Tree->Add();
  for (int I = 0; I < 50; ++I) Root->AddChild();
  Root->SetExpanded(true);
  Tree->EndUpdate();
  Pump();
  ASSERT_EQ(Bar(SB_VERT).nMax, 50);
  Root->Free();
  Pump();
  EXPECT_EQ(Tree->Count(), 0);
  EXPECT_EQ(Bar(SB_VERT).nMax, 0);
  EXPECT_EQ(GetWindowLongA(Tree->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
}

namespace {

// Forty lines for the last top-level node: a row taller than the list's view.
class TTallLastRow : public TObject {
 public:
  void LineCount(TObject* Sender, TdxTreeListNode* Node, int& Count) {
    auto* Tree = static_cast<TCustomdxTreeList*>(Sender);
    if (Node == Tree->Items(Tree->Count() - 1)) Count = 40;
  }
};

}  // namespace

// Every scroll past the end leaves the last row at the top, never an empty list:
// with a last row taller than the view, and with a data area shorter than one row.
TEST_F(TreeListScrollTest, TheLastRowStaysAtTheTopWhenItDoesNotFit) {
  const HWND Window = Tree->Handle();
  // Each input, repeated past the end, must end on Last and never lose the top.
  auto Expect = [&](const char* What, auto Send, int Times, int Last) {
    Tree->SetTopIndex(0);
    for (int I = 0; I < Times; ++I) {
      Send();
      ASSERT_NE(Tree->TopVisibleNode(), nullptr) << What << " " << I;
      ASSERT_GE(Tree->GetTopIndex(), 0) << What << " " << I;
    }
    // The thumb ends where the bar's last page begins, which holds the last row.
    if (Last < 0) Last = Bar(SB_VERT).nPos;
    EXPECT_EQ(Tree->GetTopIndex(), Last) << What;
    EXPECT_EQ(Tree->TopVisibleNode(), Tree->GetNodeAtRow(Last)) << What;
    Pump();
  };
  auto Scroll = [&](WPARAM Code) {
    return [&, Code] { SendMessageA(Window, WM_VSCROLL, Code, 0); };
  };
  auto Wheel = [&] {
    SendMessageA(Window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  };
  auto Thumb = [&] {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_POS;
    Info.nPos = Tree->GetVisibleNodeCount();
    SetScrollInfo(Window, SB_VERT, &Info, FALSE);
    SendMessageA(Window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  };
  // Last is where each input ends; the thumb ends on its bar's last page.
  auto ExpectEveryInput = [&](int Last) {
    Expect("line", Scroll(SB_LINEDOWN), Last + 5, Last);
    Expect("page", Scroll(SB_PAGEDOWN), Last + 5, Last);
    Expect("wheel", Wheel, Last + 5, Last);
    Expect("bottom", Scroll(SB_BOTTOM), 2, Last);
    Expect("thumb", Thumb, 2, -1);
    Tree->SetTopIndex(Last + 10);
    EXPECT_EQ(Tree->GetTopIndex(), Last);
  };

  TTallLastRow Tall;
  Tree->OnGetRowLineCount = TdxTLGetRowLineCountEvent::Bind<&TTallLastRow::LineCount>(&Tall);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoRowAutoHeight});
  FitRows(8);
  AddRows(20);
  ASSERT_GT(Tree->GetRowHeight(Tree->Items(19), Tree->DefaultRowHeight()),
            Tree->ClientRect().bottom);
  ExpectEveryInput(19);
  // The row before it, shown at the top, has the tall row partly below it.
  Tree->SetTopIndex(18);
  EXPECT_EQ(Tree->GetTopIndex(), 18);

  Tree->OnGetRowLineCount = TdxTLGetRowLineCountEvent();
  Tree->ClearNodes();
  AddRows(5);
  SetDataHeight(Tree->DefaultRowHeight() - 1);
  ExpectEveryInput(4);
}
