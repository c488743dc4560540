// Sizing with the mouse on a real window: the inverted line read from the screen, its
// limits, the widths applied on release, the divider's double click and Escape.
#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

class TreeListSizingTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(500, 400);
    Tree = AddChild<TdxTreeList>(Form);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->SetBounds(0, 0, 400, 300);
    for (int I = 0; I < 2; ++I) Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(150);
    Tree->Bands()->Items(0)->SetWidth(300);
    Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoRowSelect, aoEditing});
    Tree->OnChangedColumnsWidth = Changes.Event();
    Tree->HandleNeeded();
    SetForegroundWindow(Form->Handle());
    Tree->SetFocus();
    Pump();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  TdxTreeListDrawInfo Layout() {
    TdxTreeListDrawInfo DI;
    Tree->CalcDrawInfo(DI);
    return DI;
  }
  // The right edge of column Col's header cell (its sizing zone).
  POINT ColumnEdge(int Col) {
    const TdxTreeListDrawInfo DI = Layout();
    const TRect R = DI.Headers[Col].CellRect;
    return POINT{R.right - 1, (R.top + R.bottom) / 2};
  }
  POINT BandEdge(int Band) {
    const TdxTreeListDrawInfo DI = Layout();
    const TRect R = DI.Bands[Band].BandRect;
    return POINT{R.right - 1, (R.top + R.bottom) / 2};
  }
  // A point of the empty data area, below every row, at x.
  int EmptyY() { return Layout().CellsRect.bottom - 10; }
  COLORREF Pixel(int X, int Y) { return ScreenPixel(Tree->Handle(), X, Y) & 0xFFFFFF; }
  static LPARAM At(POINT P) { return MAKELPARAM(P.x, P.y); }
  void Down(POINT P) { SendMessageA(Tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(P)); }
  void Move(POINT P) { SendMessageA(Tree->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(P)); }
  void Up(POINT P) { SendMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At(P)); }
  void Drag(POINT From, POINT To) {
    Down(From);
    Move(To);
    Up(To);
    Pump();
  }
  int Width(int Column) { return Tree->Columns(Column)->Width(); }
  void ShowThreeBands() {
    Tree->BeginUpdate();
    for (int I = 0; I < 2; ++I) Tree->Bands()->Add();
    for (int I = 0; I < 3; ++I) Tree->Bands()->Items(I)->SetWidth(100);
    Tree->Columns(1)->SetBandIndex(1);
    Tree->SetShowBands(true);
    Tree->EndUpdate();
    Pump();
  }

  TForm* Form = nullptr;
  TdxTreeList* Tree = nullptr;
  TChangeCounter Changes;
};

TEST_F(TreeListSizingTest, AColumnLineIsInvertedWhileItFollowsTheMouseAndGoesOnRelease) {
  const POINT Edge = ColumnEdge(0);
  const int Y = EmptyY();
  const COLORREF Background = Pixel(Edge.x + 30, Y);
  Down(Edge);
  EXPECT_EQ(tsColumnSizing, Tree->State());
  EXPECT_EQ(0xFFFFFF & ~Pixel(Edge.x + 30, Y), Pixel(Edge.x, Y) & 0xFFFFFF)
      << "the line at the press inverts the area under it";
  EXPECT_EQ(Background, Pixel(Edge.x + 1, Y)) << "a column line is 1 pixel wide";
  Move(POINT{Edge.x + 30, Edge.y});
  EXPECT_EQ(Background, Pixel(Edge.x, Y)) << "the old line is erased";
  EXPECT_EQ(0xFFFFFF & ~Background, Pixel(Edge.x + 30, Y));
  EXPECT_EQ(150, Width(0)) << "nothing changes before the release";
  Up(POINT{Edge.x + 30, Edge.y});
  Pump();
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(Background, Pixel(Edge.x + 30, Y));
  // With the band following its header the band grows with the column.
  EXPECT_EQ(180, Width(0));
  EXPECT_EQ(150, Width(1));
  EXPECT_EQ(330, Tree->Bands()->Items(0)->Width());
  EXPECT_EQ(1, Changes.Count);
}

TEST_F(TreeListSizingTest, AColumnLineStaysBetweenTheMinimumWidthAndTheClientEdge) {
  const POINT Edge = ColumnEdge(1);
  Down(Edge);
  Move(POINT{1000, Edge.y});
  EXPECT_EQ(399, Tree->SizingPos()) << "the client width - 1 without bands shown";
  Move(POINT{0, Edge.y});
  EXPECT_EQ(150 + Tree->Columns(1)->MinWidth() - 1, Tree->SizingPos());
  Up(POINT{0, Edge.y});
  EXPECT_EQ(Tree->Columns(1)->MinWidth(), Width(1));
  EXPECT_EQ(150, Width(0));
}

TEST_F(TreeListSizingTest, ReleasingAtTheStartOrEscapeChangesNothingAndLeavesNoLine) {
  const POINT Edge = ColumnEdge(0);
  const int Y = EmptyY();
  const COLORREF Background = Pixel(Edge.x, Y);
  Drag(Edge, Edge);
  EXPECT_EQ(0, Changes.Count);
  EXPECT_EQ(Background, Pixel(Edge.x, Y));

  Down(Edge);
  Move(POINT{Edge.x + 40, Edge.y});
  SendMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(Background, Pixel(Edge.x + 40, Y));
  Up(POINT{Edge.x + 40, Edge.y});
  Pump();
  EXPECT_EQ(150, Width(0));
  EXPECT_EQ(0, Changes.Count);

  Down(Edge);
  Move(POINT{Edge.x - 40, Edge.y});
  SendMessageA(Tree->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(Background, Pixel(Edge.x - 40, Y));
  EXPECT_EQ(150, Width(0));

  // The sizing holds the mouse; another window taking it ends the sizing.
  Down(Edge);
  EXPECT_EQ(Tree->Handle(), GetCapture());
  Move(POINT{Edge.x + 20, Edge.y});
  SetCapture(Form->Handle());
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(Background, Pixel(Edge.x + 20, Y));
  ReleaseCapture();
  Up(POINT{Edge.x + 20, Edge.y});
  EXPECT_EQ(150, Width(0));
  EXPECT_EQ(0, Changes.Count);
}

TEST_F(TreeListSizingTest, ADividerDoubleClickFitsTheColumnOnceWithoutALine) {
  Tree->Add()->SetStrings(0, "a rather long text that needs room");
  Pump();
  const POINT Edge = ColumnEdge(0);
  Down(Edge);
  Up(Edge);
  SendMessageA(Tree->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(Edge));
  EXPECT_FALSE(Tree->SizingLineShown());
  Up(Edge);
  Pump();
  EXPECT_GT(Width(0), 150);
  EXPECT_EQ(1, Changes.Count);
}

TEST_F(TreeListSizingTest, ABandLineIsTwoPixelsAndTheBandTakesItsNewWidth) {
  ShowThreeBands();
  const POINT Edge = BandEdge(0);
  const int Y = EmptyY();
  const COLORREF Background = Pixel(Edge.x + 20, Y);
  Down(Edge);
  EXPECT_EQ(tsBandSizing, Tree->State());
  Move(POINT{Edge.x + 20, Edge.y});
  EXPECT_EQ(0xFFFFFF & ~Background, Pixel(Edge.x + 20, Y));
  EXPECT_EQ(0xFFFFFF & ~Background, Pixel(Edge.x + 21, Y));
  // A paint during the sizing keeps the line, once.
  RedrawWindow(Tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(0xFFFFFF & ~Background, Pixel(Edge.x + 20, Y));
  EXPECT_TRUE(Tree->SizingLineShown());
  Up(POINT{Edge.x + 20, Edge.y});
  Pump();
  EXPECT_EQ(Background, Pixel(Edge.x + 21, Y));
  EXPECT_EQ(120, Tree->Bands()->Items(0)->Width());
  EXPECT_EQ(100, Tree->Bands()->Items(1)->Width());
  EXPECT_EQ(1, Changes.Count);
}

TEST_F(TreeListSizingTest, UnderAutoWidthTheLastBandTakesFromTheBandsBeforeIt) {
  ShowThreeBands();
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  int Before[3];
  for (int I = 0; I < 3; ++I) Before[I] = DI.Bands[I].BandRect.right - DI.Bands[I].BandRect.left;
  // The last band's right edge lies at the client's; size it by 40 to the left.
  const POINT Edge = BandEdge(2);
  Drag(Edge, POINT{Edge.x - 40, Edge.y});
  const TdxTreeListDrawInfo After = Layout();
  const int Last = After.Bands[2].BandRect.right - After.Bands[2].BandRect.left;
  const int First = After.Bands[0].BandRect.right - After.Bands[0].BandRect.left;
  const int Second = After.Bands[1].BandRect.right - After.Bands[1].BandRect.left;
  EXPECT_EQ(Before[0] + Before[1] + Before[2], First + Second + Last);
  EXPECT_LT(Last, Before[2]);
  EXPECT_GT(First, Before[0]);
  EXPECT_GT(Second, Before[1]);
}

TEST_F(TreeListSizingTest, HiddenSizableBandsKeepTheirProportionUnderAutoWidth) {
  ShowThreeBands();
  Tree->Bands()->Add()->SetWidth(200);
  Tree->Bands()->Items(3)->SetVisible(false);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  Pump();
  const POINT Edge = BandEdge(0);
  Drag(Edge, POINT{Edge.x + 30, Edge.y});
  // The bands right of the first gave up 30 pixels of what they had: the hidden band
  // shrinks by the same factor.
  const TdxTreeListDrawInfo DI = Layout();
  const int Given = (DI.Bands[1].BandRect.right - DI.Bands[1].BandRect.left) +
                    (DI.Bands[2].BandRect.right - DI.Bands[2].BandRect.left);
  EXPECT_EQ(MulDiv(200, Given, Given + 30), Tree->Bands()->Items(3)->Width());
}

TEST_F(TreeListSizingTest, AColumnInsideItsRowSharesWithTheColumnsAfterItOrBeforeTheLast) {
  // Without the band following its header the row keeps its width: the columns right
  // of the sized one give and take in proportion, all before it when it is the last.
  Tree->SetOptionsEx(Tree->OptionsEx() - TdxTreeListOptionsEx{aoBandHeaderWidth});
  Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  for (int I = 0; I < 3; ++I) Tree->Columns(I)->SetWidth(100);
  Pump();
  POINT Edge = ColumnEdge(0);
  Drag(Edge, POINT{Edge.x + 30, Edge.y});
  EXPECT_EQ(130, Width(0));
  EXPECT_EQ(MulDiv(100, 170, 200), Width(1));
  EXPECT_EQ(170 - MulDiv(100, 170, 200), Width(2));
  EXPECT_EQ(300, Tree->Bands()->Items(0)->Width());
  EXPECT_EQ(1, Changes.Count);

  Edge = ColumnEdge(2);
  const int Left = Width(0);
  const int Middle = Width(1);
  Drag(Edge, POINT{Edge.x - 30, Edge.y});
  const int Given = Left + Middle + 30;
  EXPECT_EQ(Width(2), 170 - MulDiv(100, 170, 200) - 30);
  EXPECT_EQ(MulDiv(Left, Given, Left + Middle), Width(0));
  EXPECT_EQ(Given - MulDiv(Left, Given, Left + Middle), Width(1));
  EXPECT_EQ(300, Width(0) + Width(1) + Width(2));
  EXPECT_EQ(2, Changes.Count);
}

TEST_F(TreeListSizingTest, WithFullSizingAColumnGoesPastItsBandsEdge) {
  Tree->SetShowBands(true);
  Pump();
  const POINT Edge = ColumnEdge(0);
  Down(Edge);
  EXPECT_EQ(tsColumnSizing, Tree->State());
  Move(POINT{Edge.x + 300, Edge.y});
  EXPECT_EQ(Layout().Bands[0].BandRect.right - 1, Tree->SizingPos()) << "the band's right edge";
  SendMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);

  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoFullSizing});
  Pump();
  Down(Edge);
  Move(POINT{Edge.x + 300, Edge.y});
  EXPECT_EQ(Edge.x + 300, Tree->SizingPos());
  Up(POINT{Edge.x + 300, Edge.y});
  EXPECT_EQ(450, Width(0));
  EXPECT_EQ(600, Tree->Bands()->Items(0)->Width());
}

TEST_F(TreeListSizingTest, PanelLinesSnapToRowsAndSetTheRowCounts) {
  ShowThreeBands();
  Tree->SetOptionsEx(Tree->OptionsEx() +
                     TdxTreeListOptionsEx{aoBandPanelSizing, aoHeaderPanelSizing});
  Pump();
  TdxTreeListDrawInfo DI = Layout();
  const int X = 50;
  const int Y = EmptyY();
  Down(POINT{X, DI.BandRect.bottom - 1});
  EXPECT_EQ(tsBandPanelSizing, Tree->State());
  const int Line = Tree->BandLineHeight();
  Move(POINT{X, DI.BandRect.bottom + Line + Line / 2 + 1});
  EXPECT_EQ(DI.BandRect.bottom + 2 * Line, Tree->SizingPos()) << "three rows";
  const COLORREF Background = Pixel(X, Y);
  Up(POINT{X, DI.BandRect.bottom + Line + Line / 2 + 1});
  Pump();
  EXPECT_EQ(3, Tree->BandRowCount());

  DI = Layout();
  const int Row = Tree->HeaderRowHeight();
  Down(POINT{X, DI.HeaderRect.bottom - 1});
  EXPECT_EQ(tsHeaderPanelSizing, Tree->State());
  Move(POINT{X, DI.HeaderRect.bottom + Row / 2 + 2});
  EXPECT_EQ(DI.HeaderRect.top + 2 * Row, Tree->SizingPos());
  EXPECT_NE(Background, Pixel(X, DI.HeaderRect.top + 2 * Row + 1)) << "a panel line is 2 pixels";
  Up(POINT{X, DI.HeaderRect.bottom + Row / 2 + 2});
  Pump();
  EXPECT_EQ(2, Tree->HeaderPanelRowCount());
}

TEST_F(TreeListSizingTest, ARowEdgeSetsTheDefaultRowHeightNoLowerThanTheLine) {
  Tree->SetShowIndicator(true);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoRowSizing});
  for (int I = 0; I < 3; ++I) Tree->Add();
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  const int Top = DI.CellsRect.top;
  const int Height = DI.Rows[0].RowHeight;
  const POINT Edge{DI.IndRect.left + 2, Top + Height - 1};
  Down(Edge);
  EXPECT_EQ(tsRowSizing, Tree->State());
  Move(POINT{Edge.x, Top + Height + 10});
  Up(POINT{Edge.x, Top + Height + 10});
  Pump();
  EXPECT_EQ(Height + 10, Tree->DefaultRowHeight());

  Down(POINT{Edge.x, Top + Height + 9});
  Move(POINT{Edge.x, Top + 1});
  EXPECT_EQ(Top + Tree->RowLineHeight(), Tree->SizingPos()) << "the row's height at the least";
  Up(POINT{Edge.x, Top + 1});
  EXPECT_EQ(Tree->RowLineHeight(), Tree->DefaultRowHeight());
}

}  // namespace
