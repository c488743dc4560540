// The tree list's hit test on a real window: band and column sizing zones, row edges
// only beside the indicator, the empty area below the rows, the area right of the
// bands, points outside, and the indent glyphs (no button on a top-level node without
// root lines, an empty indent for a leaf without them).
#include <gtest/gtest.h>

#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

class TreeListHitTestTest : public tltest::TreeListWindowTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TdxTreeList>(ShownForm(500, 400));
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->HandleNeeded();
  }
  TdxTreeListColumn* Column(int Width, int BandIndex = 0) {
    auto* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    C->SetBandIndex(BandIndex);
    C->SetWidth(Width);
    return C;
  }
  TdxTreeListHitInfo At(int X, int Y) { return Tree->GetHitInfo(TPoint{X, Y}); }
  void AddRows(int Count) {
    for (int I = 0; I < Count; ++I) Tree->Add();
    Pump();
  }
};

TEST_F(TreeListHitTestTest, ABandsEdgeZoneReachesFourPixelsInside) {
  Tree->SetShowBands(true);
  Tree->Bands()->Items(0)->SetWidth(150);
  Column(150);
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  const int Right = DI.Bands[0].BandRect.right;
  const int Y = (DI.BandRect.top + DI.BandRect.bottom) / 2;
  EXPECT_EQ(htBandEdge, At(Right - 1, Y).HitTest);
  EXPECT_EQ(0, At(Right - 1, Y).BandIndex);
  EXPECT_EQ(htBandEdge, At(Right - 4, Y).HitTest);
  EXPECT_EQ(htBand, At(Right - 5, Y).HitTest);
  // A band that may not be sized has no edge.
  Tree->Bands()->Items(0)->SetSizing(false);
  Pump();
  EXPECT_EQ(htBand, At(Right - 1, Y).HitTest);
}

TEST_F(TreeListHitTestTest, AColumnsEdgeZoneReachesIntoTheNextCell) {
  TdxTreeListColumn* Left = Column(100);
  TdxTreeListColumn* Right = Column(100);
  Tree->Bands()->Items(0)->SetWidth(200);
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_EQ(2u, DI.Headers.size());
  const TRect Cell = DI.Headers[0].CellRect;
  const int Y = (Cell.top + Cell.bottom) / 2;
  TdxTreeListHitInfo Hit = At(Cell.right + 3, Y);
  EXPECT_EQ(htColumnEdge, Hit.HitTest);
  EXPECT_EQ(Left->Index(), Hit.Column);
  Hit = At(Cell.right - 2, Y);
  EXPECT_EQ(htColumnEdge, Hit.HitTest);
  EXPECT_EQ(Left->Index(), Hit.Column);
  Hit = At(Cell.right + 10, Y);
  EXPECT_EQ(htColumn, Hit.HitTest);
  EXPECT_EQ(Right->Index(), Hit.Column);
}

TEST_F(TreeListHitTestTest, RowEdgesOnlyBesideTheIndicator) {
  Column(200);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoRowSizing});
  AddRows(3);
  const TdxTreeListDrawInfo DI = Layout();
  const int Boundary = DI.CellsRect.top + DI.Rows[0].RowHeight;
  // Without the indicator the point lies in the row's indent.
  TdxTreeListHitInfo Hit = At(DI.CellsRect.left + 2, Boundary - 1);
  EXPECT_NE(htRowEdge, Hit.HitTest);
  EXPECT_EQ(Tree->Items(0), Hit.Node);

  Tree->SetShowIndicator(true);
  Pump();
  Hit = At(3, Boundary - 1);
  EXPECT_EQ(htRowEdge, Hit.HitTest);
  EXPECT_EQ(Tree->Items(0), Hit.Node);
  // The first pixels of the next row size the row above it.
  Hit = At(3, Boundary + 2);
  EXPECT_EQ(htRowEdge, Hit.HitTest);
  EXPECT_EQ(Tree->Items(0), Hit.Node);
  Hit = At(3, RowMiddle(1));
  EXPECT_EQ(htIndicator, Hit.HitTest);
  EXPECT_EQ(Tree->Items(1), Hit.Node);
  EXPECT_EQ(1, Hit.RowIndex);
}

TEST_F(TreeListHitTestTest, BelowTheRowsRightOfTheBandsAndOutside) {
  Column(200);
  Tree->Bands()->Items(0)->SetWidth(200);
  AddRows(2);
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_GE(DI.LastRowBottom, 0);
  TdxTreeListHitInfo Hit = At(50, DI.LastRowBottom + 10);
  EXPECT_EQ(htNowhere, Hit.HitTest);
  EXPECT_EQ(nullptr, Hit.Node);
  EXPECT_EQ(-1, Hit.RowIndex);

  Hit = At(300, RowMiddle(1));
  EXPECT_EQ(htRight, Hit.HitTest);
  EXPECT_EQ(Tree->Items(1), Hit.Node);
  EXPECT_EQ(1, Hit.RowIndex);

  Hit = At(150, RowMiddle(1));
  EXPECT_EQ(htLabel, Hit.HitTest);
  EXPECT_EQ(0, Hit.Column);

  for (TPoint P : {TPoint{-3, 20}, TPoint{20, 400}, TPoint{401, 20}}) {
    Hit = At(P.x, P.y);
    EXPECT_EQ(htOutside, Hit.HitTest);
    EXPECT_EQ(-1, Hit.BandIndex);
    EXPECT_EQ(-1, Hit.Column);
    EXPECT_EQ(-1, Hit.RowIndex);
    EXPECT_EQ(-1, Hit.FooterIndex);
    EXPECT_EQ(nullptr, Hit.Node);
  }
}

TEST_F(TreeListHitTestTest, TheIndentHoldsTheButtonOnlyWithRootLines) {
  Column(200);
  TdxTreeListNode* Parent = Tree->Add();
  Parent->AddChild();
  TdxTreeListNode* Leaf = Tree->Add();
  Pump();
  const int Y = RowMiddle(0);
  const int Left = Layout().CellsRect.left;
  const int I = Tree->LevelIndent();
  EXPECT_EQ(htButton, At(Left + I / 2, Y).HitTest);
  Tree->SetShowRoot(false);
  Pump();
  EXPECT_NE(htButton, At(Left + I / 2, Y).HitTest);
  EXPECT_EQ(htLabel, At(Left + I / 2, Y).HitTest);

  // A leaf without root lines and images has an empty indent; with them, it is one
  // level wide.
  TdxTreeListIndentRects Rects;
  Tree->GetNodeIndentRects(Leaf, 0, 10, Rects);
  EXPECT_TRUE(IsRectEmpty(&Rects.Indent));
  EXPECT_TRUE(IsRectEmpty(&Rects.Button));
  Tree->SetShowRoot(true);
  Tree->GetNodeIndentRects(Leaf, 0, 10, Rects);
  EXPECT_EQ(0, Rects.Indent.left);
  EXPECT_EQ(I, Rects.Indent.right);
  Tree->GetNodeIndentRects(Parent, 0, 10, Rects);
  EXPECT_EQ(0, Rects.Button.left);
  EXPECT_EQ(I, Rects.Button.right);
  EXPECT_TRUE(IsRectEmpty(&Rects.Indent));
}

TEST_F(TreeListHitTestTest, TheRowIndexCountsFromTheFirstRowNotTheTop) {
  Column(200);
  AddRows(40);
  Tree->SetTopIndex(5);
  Pump();
  const TdxTreeListHitInfo Hit = At(100, RowMiddle(2));
  EXPECT_EQ(7, Hit.RowIndex);
  EXPECT_EQ(Tree->Items(7), Hit.Node);
}

}  // namespace
