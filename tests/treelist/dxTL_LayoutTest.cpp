// The tree list's layout record on a real window: the regions with and without the
// band panel and the indicator, bands narrower than the client, the sharing of a band
// row among its columns, header cells spanning rows, rows and the empty area below,
// auto width, LeftCoord's clamp, row rectangles, row auto height measured through the
// column's editor, level footers, and huge row counts bounded. Expected pixels come
// from measured font metrics.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;
using tltest::TextHeightOf;
using tltest::TextWidthOf;

namespace {

class TLevelFooters : public TObject {
 public:
  std::vector<int> Levels;
  void IsLevelFooter(TObject*, int Level, bool& Exist) {
    for (int L : Levels)
      if (L == Level) Exist = true;
  }
};

class TMeasureCounter : public TObject {
 public:
  int Calls = 0;
  void Calc(TObject*, TdxTreeListNode*, TdxTreeListColumn*, const AnsiString&, int, int, int, bool,
            bool, int& LineCount, int& LineHeight, bool& Done) {
    ++Calls;
    LineCount = 1;
    LineHeight = 20;
    Done = true;
  }
};

class TreeListLayoutTest : public tltest::TreeListWindowTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TdxTreeList>(ShownForm(500, 400));
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->HandleNeeded();
  }
  TdxTreeListColumn* Column(int Width, int BandIndex = 0, int Row = 0) {
    auto* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    C->SetBandIndex(BandIndex);
    C->SetRowIndex(Row);
    C->SetWidth(Width);
    return C;
  }
  static std::vector<int> CellWidths(const TdxTreeListDrawInfo& DI) {
    std::vector<int> Result;
    for (const TdxTreeListHeaderInfo& H : DI.Headers) Result.push_back(H.CellRect.right - H.CellRect.left);
    return Result;
  }
};

// Row counts have a bound far above any screen's rows, so that no panel height leaves
// 32 bits: huge counts, and a caption of very many lines, lay out and paint without
// error, the panels filling the client and leaving no rows.
TEST_F(TreeListLayoutTest, HugeRowCountsAreBoundedAndPaintWithoutError) {
  Column(100);
  Tree->Add();
  Tree->SetShowBands(true);
  Tree->SetShowFooter(true);
  Tree->SetHeaderMinRowCount(536870911);
  Tree->SetBandMaxRowCount(INT_MAX);
  Tree->SetBandRowCount(INT_MAX);
  Tree->SetHeaderPanelMaxRowCount(INT_MAX);
  Tree->SetHeaderPanelRowCount(INT_MAX);
  const int Bound = TCustomdxTreeListControl::RowCountLimit;
  EXPECT_EQ(Tree->HeaderMinRowCount(), Bound);
  EXPECT_EQ(Tree->BandMaxRowCount(), Bound);
  EXPECT_EQ(Tree->BandRowCount(), Bound);
  EXPECT_EQ(Tree->HeaderPanelMaxRowCount(), Bound);
  EXPECT_EQ(Tree->HeaderPanelRowCount(), Bound);
  PaintNow(Tree);
  Pump();
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
  TdxTreeListDrawInfo DI = Layout();
  EXPECT_GT(DI.HeaderRect.bottom, DI.HeaderRect.top);
  EXPECT_EQ(DI.CellsRect.bottom, DI.CellsRect.top);
  EXPECT_TRUE(DI.Rows.empty());

  Tree->Columns(0)->SetCaption(AnsiString(200000, '\n'));
  PaintNow(Tree);
  Pump();
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
  EXPECT_GT(Tree->HeaderPanelHeight(), 0);
}

TEST_F(TreeListLayoutTest, RegionsFollowTheMeasuredPanelHeightsAndTheIndicator) {
  const int HeaderRow = TextHeightOf(Tree->HeaderFont()) + 5 + 1;
  TdxTreeListDrawInfo DI = Layout();
  EXPECT_TRUE(IsRectEmpty(&DI.BandRect));
  EXPECT_EQ(DI.HeaderRect.top, 0);
  EXPECT_EQ(DI.HeaderRect.bottom, HeaderRow);
  EXPECT_EQ(DI.CellsRect.top, HeaderRow);
  EXPECT_EQ(DI.CellsRect.left, 0);
  EXPECT_EQ(DI.CellsRect.bottom, 300);

  Tree->SetShowBands(true);
  Tree->SetShowIndicator(true);
  DI = Layout();
  const int BandPanel = TextHeightOf(Tree->BandFont()) + 5 + 1;
  EXPECT_EQ(DI.BandRect.bottom, BandPanel);
  EXPECT_EQ(DI.HeaderRect.top, BandPanel);
  for (const TRect* R : {&DI.BandRect, &DI.HeaderRect, &DI.CellsRect}) EXPECT_EQ(R->left, 12);
  EXPECT_EQ(DI.BandButtonRect.right, 12);
  EXPECT_EQ(DI.IndRect.left, 0);
  EXPECT_EQ(DI.IndRect.right, 12);

  // The flat looks leave out the standard look's extra pixel.
  Tree->SetLookAndFeel(lfFlat);
  Tree->HandleNeeded();
  DI = Layout();
  EXPECT_EQ(DI.BandRect.bottom, BandPanel - 1);
}

TEST_F(TreeListLayoutTest, TheRowLineHeightAndDefaultRowHeightComeFromTheFont) {
  const int Text = TextHeightOf(Tree->Font());
  EXPECT_EQ(Tree->TextHeight(), Text);
  EXPECT_EQ(Tree->RowLineHeight(), std::max(Text + 3, 16));
  EXPECT_GE(Tree->DefaultRowHeight(), Tree->RowLineHeight());
  // A height below the line is raised to it and counts as not set.
  Tree->SetDefaultRowHeight(2);
  EXPECT_EQ(Tree->DefaultRowHeight(), Tree->RowLineHeight());
  EXPECT_FALSE(Tree->DefaultRowHeightAssigned());
  Tree->SetDefaultRowHeight(40);
  EXPECT_EQ(Tree->DefaultRowHeight(), 40);
  EXPECT_TRUE(Tree->DefaultRowHeightAssigned());
  // A bigger font makes the line taller.
  Tree->Font()->SetSize(24);
  EXPECT_EQ(Tree->RowLineHeight(), std::max(TextHeightOf(Tree->Font()) + 3, 16));
}

TEST_F(TreeListLayoutTest, BandsNarrowerThanTheClientLeaveAnEmptyRightArea) {
  Tree->Bands()->Items(0)->SetWidth(150);
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_EQ(DI.Bands.size(), 1u);
  EXPECT_EQ(DI.Bands[0].BandRect.right, 150);
  EXPECT_EQ(DI.HeaderRect.right, 150);
  EXPECT_EQ(DI.EmptyRectRight.left, 150);
  EXPECT_EQ(DI.EmptyRectRight.right, 400);
  EXPECT_EQ(DI.EmptyRectRight.bottom, DI.CellsRect.bottom);
  // A band without columns gets an empty-band entry under it.
  ASSERT_EQ(DI.EmptyBands.size(), 1u);
  EXPECT_EQ(DI.EmptyBands[0].Rect.right, 150);
  EXPECT_EQ(DI.BandsRightEdge, 149);
}

TEST_F(TreeListLayoutTest, ABandRowIsSharedAmongItsColumns) {
  Tree->Bands()->Items(0)->SetWidth(301);
  TdxTreeListColumn* A = Column(100);
  TdxTreeListColumn* B = Column(100);
  TdxTreeListColumn* C = Column(100);
  EXPECT_EQ(CellWidths(Layout()), (std::vector<int>{100, 100, 101}));

  // A column that may not be sized keeps its width; the others absorb the rest.
  Tree->Bands()->Items(0)->SetWidth(400);
  A->SetSizing(false);
  std::vector<int> Widths = CellWidths(Layout());
  EXPECT_EQ(Widths[0], 100);
  EXPECT_EQ(Widths[0] + Widths[1] + Widths[2], 400);
  EXPECT_EQ(Widths[1], 150);

  // One scaled below its minimum gets it; the others share what remains by width.
  A->SetSizing(true);
  B->SetWidth(200);
  C->SetWidth(20);
  C->SetMinWidth(60);
  Tree->Bands()->Items(0)->SetWidth(320);
  Widths = CellWidths(Layout());
  EXPECT_EQ(Widths[0] + Widths[1] + Widths[2], 320);
  EXPECT_EQ(Widths[2], 60);
  // What the minimums leave (320 - 100) goes by width, on top of each minimum.
  EXPECT_EQ(Widths[0], MulDiv(220, 100, 300) + 20);
  EXPECT_EQ(Widths[1], MulDiv(220, 200, 300) + 20);
  // The display widths the row auto height reads are the same shares.
  EXPECT_EQ(Tree->GetColumnDisplayWidth(C->Index()), 60);
}

TEST_F(TreeListLayoutTest, HeaderCellsOfTheLastBandRowSpanDownToThePanelBottom) {
  Tree->SetHeaderPanelRowCount(3);
  Tree->Bands()->Add();
  Tree->Bands()->Items(0)->SetWidth(150);
  Tree->Bands()->Items(1)->SetWidth(150);
  Column(100, 0, 0);
  TdxTreeListColumn* Lower = Column(100, 0, 1);
  Lower->SetHeaderMaxLineCount(5);
  TdxTreeListColumn* Alone = Column(100, 1, 0);
  Alone->SetHeaderMaxLineCount(0);
  const TdxTreeListDrawInfo DI = Layout();
  const int Row = Tree->HeaderRowHeight();
  ASSERT_EQ(DI.Headers.size(), 3u);
  for (const TdxTreeListHeaderInfo& H : DI.Headers) {
    if (H.Column == Lower->Index()) {
      EXPECT_EQ(H.LineCount, 2);
      EXPECT_EQ(H.CellRect.top, DI.HeaderRect.top + Row);
      EXPECT_EQ(H.CellRect.bottom, DI.HeaderRect.bottom);
    } else if (H.Column == Alone->Index()) {
      EXPECT_EQ(H.LineCount, 3);
      EXPECT_EQ(H.CellRect.bottom, DI.HeaderRect.bottom);
    } else {
      EXPECT_EQ(H.LineCount, 1);
      EXPECT_EQ(H.CellRect.bottom, DI.HeaderRect.top + Row);
    }
  }
}

TEST_F(TreeListLayoutTest, RowsFillTheDataAreaFromTheTopNode) {
  TdxTreeListDrawInfo DI = Layout();
  EXPECT_TRUE(DI.Rows.empty());
  EXPECT_EQ(DI.LastRowBottom, DI.CellsRect.top - 1);
  EXPECT_TRUE(EqualRect(&DI.EmptyRectBottom, &DI.CellsRect));

  for (int I = 0; I < 3; ++I) Tree->Add();
  const int H = Tree->DefaultRowHeight();
  DI = Layout();
  ASSERT_EQ(DI.Rows.size(), 3u);
  EXPECT_EQ(DI.Rows[1].RowHeight, H);
  EXPECT_EQ(DI.LastRowBottom, DI.CellsRect.top + 3 * H - 1);
  EXPECT_EQ(DI.EmptyRectBottom.top, DI.CellsRect.top + 3 * H);

  for (int I = 0; I < 100; ++I) Tree->Add();
  DI = Layout();
  EXPECT_EQ(DI.LastRowBottom, -1);
  const int Height = DI.CellsRect.bottom - DI.CellsRect.top;
  EXPECT_EQ(static_cast<int>(DI.Rows.size()), (Height + H - 1) / H);
}

TEST_F(TreeListLayoutTest, RowRectanglesOfRowsOnAndOffTheScreen) {
  for (int I = 0; I < 100; ++I) Tree->Add();
  Tree->SetShowIndicator(true);
  const int H = Tree->DefaultRowHeight();
  Tree->SetTopIndex(10);
  TRect R;
  Tree->GetNodeRowRect(Tree->Items(5), R);
  EXPECT_EQ(R.left, -1);
  EXPECT_EQ(R.top, -1);
  EXPECT_EQ(R.bottom, -1);
  Tree->GetNodeRowRect(Tree->Items(12), R);
  TdxTreeListDrawInfo DI = Layout();
  EXPECT_EQ(R.left, 0);
  EXPECT_EQ(DI.CellsRect.left, 12);
  EXPECT_EQ(R.top, DI.CellsRect.top + 2 * H);
  EXPECT_EQ(R.bottom, R.top + H);
  Tree->GetRowRectToBottom(Tree->Items(12), R);
  EXPECT_EQ(R.bottom, DI.CellsRect.bottom);
  Tree->GetRowsAreaRect(R);
  EXPECT_EQ(R.left, 0);
}

TEST_F(TreeListLayoutTest, AutoWidthSharesTheClientAmongTheBandsByNaturalWidth) {
  Tree->Bands()->Add();
  Tree->Bands()->Items(0)->SetWidth(100);
  Tree->Bands()->Items(1)->SetWidth(300);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  Tree->SetBounds(0, 0, 200, 300);
  EXPECT_EQ(Tree->GetTotalBandWidth(), 200);
  EXPECT_EQ(Tree->GetBandDisplayWidths(), (std::vector<int>{50, 150}));
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_EQ(DI.Bands.size(), 2u);
  EXPECT_EQ(DI.Bands[1].BandRect.left, 50);
  EXPECT_EQ(DI.Bands[1].BandRect.right, 200);
  EXPECT_TRUE(IsRectEmpty(&DI.EmptyRectRight));
  // A band whose share is below its minimum gets the minimum.
  Tree->Bands()->Items(0)->SetMinWidth(80);
  EXPECT_EQ(Tree->GetBandDisplayWidths(), (std::vector<int>{80, 120}));
}

TEST_F(TreeListLayoutTest, LeftCoordIsClampedToTheHiddenWidth) {
  Tree->Bands()->Items(0)->SetWidth(300);
  Tree->SetLeftCoord(50);
  EXPECT_EQ(Tree->LeftCoord(), 0);
  Tree->Bands()->Items(0)->SetWidth(1000);
  Tree->SetLeftCoord(50);
  EXPECT_EQ(Tree->LeftCoord(), 50);
  EXPECT_EQ(Layout().Bands[0].BandRect.left, -50);
  Tree->SetLeftCoord(5000);
  EXPECT_EQ(Tree->LeftCoord(), 1000 - 400);
  Tree->SetLeftCoord(-3);
  EXPECT_EQ(Tree->LeftCoord(), 0);
  // Narrower bands and a wider client pull it back.
  Tree->SetLeftCoord(600);
  Tree->Bands()->Items(0)->SetWidth(700);
  EXPECT_EQ(Tree->LeftCoord(), 300);
  Tree->SetBounds(0, 0, 600, 300);
  EXPECT_EQ(Tree->LeftCoord(), 100);
}

TEST_F(TreeListLayoutTest, AWrappedCellIsCutAtTheLineLimit) {
  TdxTreeListColumn* C = Column(100);
  TdxTreeListNode* Node = Tree->Add();
  const int Text = TextHeightOf(Tree->Font());
  // Five words, each on its own line.
  const AnsiString Words = "MMMM MMMM MMMM MMMM MMMM";
  const int Width = TextWidthOf(Tree->Font(), "MMMM MM");
  int Lines = -1, Height = 18;
  ASSERT_TRUE(Tree->CalcRowLineHeight(Node, C->Index(), Words, Width, Text, -1, false, false,
                                      Lines, Height));
  EXPECT_EQ(Lines, 5);
  EXPECT_EQ(Height, 5 * Text + 3);
  ASSERT_TRUE(Tree->CalcRowLineHeight(Node, C->Index(), Words, Width, Text, 2, false, false,
                                      Lines, Height));
  EXPECT_EQ(Lines, 2);
  EXPECT_EQ(Height, 2 * Text + 3);
}

TEST_F(TreeListLayoutTest, RowAutoHeightGrowsTheRowAndAnswersCachedCountsWithoutMeasuring) {
  TdxTreeListColumn* C = Column(80);
  Tree->Bands()->Items(0)->SetWidth(80);
  TdxTreeListNode* Node = Tree->Add();
  Node->SetStrings(C->Index(), "MMMM MMMM MMMM MMMM MMMM");
  Tree->SetMaxRowLineCount(2);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoRowAutoHeight});
  const int Text = TextHeightOf(Tree->Font());
  const int Base = Tree->DefaultRowHeight();
  const int Height = Tree->GetRowHeight(Node, Base);
  EXPECT_EQ(Height, std::max(Base, 2 * Text + 3));
  EXPECT_EQ(Layout().Rows[0].RowLineCount, 2);

  TMeasureCounter Counter;
  Tree->OnCalcRowLineHeight = TdxTLCalcRowLineHeightEvent::Bind<&TMeasureCounter::Calc>(&Counter);
  int LineHeight = 7;
  EXPECT_EQ(Tree->GetRowLineCount(Node, LineHeight), 2);
  EXPECT_EQ(LineHeight, 7);
  EXPECT_EQ(Counter.Calls, 0);
  // Without a cache the event measures; its answer is taken as given.
  Node->ResetCachedRowHeight();
  LineHeight = 7;
  EXPECT_EQ(Tree->GetRowLineCount(Node, LineHeight), 1);
  EXPECT_EQ(LineHeight, 20);
  EXPECT_EQ(Counter.Calls, 1);
}

TEST_F(TreeListLayoutTest, LevelFootersEndTheLevelsThatEndAtARow) {
  TLevelFooters Footers;
  Footers.Levels = {0, 1};
  Tree->OnIsLevelFooter = TdxTLIsLevelFooterEvent::Bind<&TLevelFooters::IsLevelFooter>(&Footers);
  TdxTreeListNode* Top = Tree->Add();
  TdxTreeListNode* Parent = Top->AddChild();
  Parent->AddChild();
  TdxTreeListNode* Leaf = Parent->AddChild();
  EXPECT_EQ(Tree->GetLevelFooterCount(Leaf), 0);  // not without ShowRowFooter
  Tree->SetShowRowFooter(true);
  EXPECT_EQ(Tree->GetLevelFooterCount(Leaf), 2);
  EXPECT_EQ(Tree->GetLevelFooterLevel(Leaf, 0), 1);
  EXPECT_EQ(Tree->GetLevelFooterLevel(Leaf, 1), 0);
  EXPECT_EQ(Tree->GetFooterCountAboveLevel(Leaf, 1), 1);
  EXPECT_EQ(Tree->GetLevelFooterCount(Parent->Items(0)), 0);  // not the last
  EXPECT_EQ(Tree->GetLevelFooterCount(Parent), 0);            // has children
  EXPECT_EQ(Tree->GetLevelFooterCount(Top), 0);               // top level
  // The row carries its footer lines.
  Top->Expand(true);
  const int Base = Tree->GetRowHeight(Parent->Items(0), Tree->DefaultRowHeight(), true);
  EXPECT_EQ(Tree->GetRowHeight(Leaf, Tree->DefaultRowHeight(), true), Base + 2 * Tree->RowFooterHeight());
  EXPECT_EQ(Tree->RowFooterHeight(), Tree->TextHeight() + 7 + 2);
  // A parent that is not the last of its siblings keeps only its own level's line.
  Top->AddChild();
  EXPECT_EQ(Tree->GetLevelFooterCount(Leaf), 1);
  EXPECT_EQ(Tree->GetLevelFooterLevel(Leaf, 0), 1);
  // The footer rectangle starts one indent right of its level.
  TdxTreeListDrawInfo DI = Layout();
  TRect R;
  Tree->CalcRowFooterRect(Leaf, 0, R, DI, 0, 100);
  EXPECT_EQ(R.left, DI.CellsRect.left + 2 * Tree->LevelIndent());
  EXPECT_EQ(R.top, 100);
  EXPECT_EQ(R.bottom, 100 + Tree->RowFooterHeight());
}

TEST_F(TreeListLayoutTest, SwitchingAutoWidthOffKeepsTheFittedWidthOnlyWhenAsked) {
  TdxTreeListColumn* C = Column(100);
  Tree->SetBounds(0, 0, 240, 300);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  EXPECT_EQ(Tree->GetColumnDisplayWidth(C->Index()), 240);
  Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoAutoWidth});
  EXPECT_EQ(C->Width(), 100);
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoKeepColumnWidth});
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoAutoWidth});
  EXPECT_EQ(C->Width(), 240);
}

TEST_F(TreeListLayoutTest, CellRectanglesStartRightOfTheNodeIndent) {
  TdxTreeListColumn* A = Column(120);
  TdxTreeListColumn* B = Column(100);
  Tree->Bands()->Items(0)->SetWidth(220);
  TdxTreeListNode* Top = Tree->Add();
  TdxTreeListNode* Child = Top->AddChild();
  Top->SetExpanded(true);
  const TdxTreeListDrawInfo DI = Layout();
  const int H = Tree->DefaultRowHeight();
  TRect R;
  Tree->GetCellRect(Child, 0, R);
  EXPECT_EQ(R.left, Tree->GetNodeContentOffset(Child));
  EXPECT_EQ(R.right, 120);
  EXPECT_EQ(R.top, DI.CellsRect.top + H);
  EXPECT_EQ(R.bottom, DI.CellsRect.top + 2 * H);
  Tree->GetCellRect(Child, 1, R);
  EXPECT_EQ(R.left, 120);
  // The inverted selection's editor sits one pixel inside.
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoInvertSelect});
  TRect Edit;
  Tree->GetCellRect(Child, 1, R);
  Tree->GetEditRect(Child, 1, Edit);
  EXPECT_EQ(Edit.top, R.top + 1);
  EXPECT_EQ(Edit.bottom, R.bottom - 1);
  EXPECT_EQ(Edit.right, R.right - 1);
  // A column scrolled out of view has no cell.
  Tree->Bands()->Items(0)->SetWidth(3000);
  A->SetWidth(500);
  B->SetWidth(2500);
  Tree->SetLeftCoord(2600);
  EXPECT_EQ(Tree->LeftCoord(), 2600);
  Tree->GetCellRect(Child, 0, R);
  EXPECT_EQ(R.left, -1);
}

TEST_F(TreeListLayoutTest, TheParentFontReachesTheBandHeaderAndPreviewFonts) {
  TForm* Form = static_cast<TForm*>(Tree->Parent());
  Form->Font()->SetSize(14);
  EXPECT_EQ(Tree->BandFont()->Size(), 14);
  EXPECT_EQ(Tree->HeaderFont()->Size(), 14);
  EXPECT_EQ(Tree->PreviewFont()->Size(), 14);
  EXPECT_EQ(Tree->PreviewFont()->Color(), clBlue);
  EXPECT_TRUE(Tree->ParentFont());
  EXPECT_EQ(Tree->HeaderRowHeight(), TextHeightOf(Tree->HeaderFont()) + 5 + 1);
}

TEST_F(TreeListLayoutTest, BandsAndColumnsScrollIntoViewLeftEdgeFirst) {
  Tree->SetDefaultLayout(false);
  Tree->Bands()->Add();
  Tree->Bands()->Add();
  for (int I = 0; I < 3; ++I) Tree->Bands()->Items(I)->SetWidth(300);
  TdxTreeListColumn* Wide = Column(250, 1);
  TdxTreeListColumn* Last = Column(50, 1);
  Column(300, 2);
  Tree->MakeBandVisible(2);
  EXPECT_EQ(Tree->LeftCoord(), 900 - 400);
  Tree->MakeBandVisible(0);
  EXPECT_EQ(Tree->LeftCoord(), 0);
  Tree->MakeColumnVisible(Last->Index());
  EXPECT_EQ(Tree->LeftCoord(), 600 - 400);
  Tree->MakeColumnVisible(Wide->Index());
  EXPECT_EQ(Tree->LeftCoord(), 200);  // already in view
  Tree->SetLeftCoord(500);
  Tree->MakeColumnVisible(Wide->Index());
  EXPECT_EQ(Tree->LeftCoord(), 300);
  // A fixed band never scrolls.
  Tree->Bands()->Items(0)->SetFixed(bfLeft);
  Tree->SetLeftCoord(0);
  Tree->MakeBandVisible(0);
  EXPECT_EQ(Tree->LeftCoord(), 0);
  EXPECT_EQ(Tree->GetScrollableWidth(), 600);
  EXPECT_EQ(Tree->GetScrollingArea().left, 300);
}

TEST_F(TreeListLayoutTest, AutoWidthFollowsTheClientSize) {
  TdxTreeListColumn* C = Column(100);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  EXPECT_EQ(Tree->GetColumnDisplayWidth(C->Index()), 400);
  Tree->SetBounds(0, 0, 333, 300);
  EXPECT_EQ(Tree->GetColumnDisplayWidth(C->Index()), 333);
  EXPECT_EQ(Layout().Headers[0].CellRect.right, 333);
}

}  // namespace
