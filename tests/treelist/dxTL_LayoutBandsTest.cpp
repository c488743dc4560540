// The column layer's geometry on a real window: band display widths answered from the
// layout caches and kept with the client's width, the header's line count from the
// captions, and the column knowing its node while a cell is measured.
#include <gtest/gtest.h>

#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;
using tltest::TextHeightOf;

namespace {

// Remembers the node the column knew while it filled a measured cell's view data.
class TNodeSpyColumn : public TdxTreeListColumn {
 public:
  using TdxTreeListColumn::TdxTreeListColumn;
  std::vector<TdxTreeListNode*> Seen;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override {
    Seen.push_back(CurrentNode());
    TdxTreeListColumn::FillViewData(ViewData, CellInfo);
  }
};

class TreeListLayoutBandsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(600, 400);
    Tree = AddChild<TdxTreeList>(Form);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->HandleNeeded();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  TdxTreeListColumn* Column(int Width, int BandIndex = 0) {
    auto* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    C->SetBandIndex(BandIndex);
    C->SetWidth(Width);
    return C;
  }
  TForm* Form = nullptr;
  TdxTreeList* Tree = nullptr;
};

TEST_F(TreeListLayoutBandsTest, CachedBandWidthsFollowTheClient) {
  Tree->Bands()->Add();
  Tree->Bands()->Items(0)->SetWidth(100);
  Tree->Bands()->Items(1)->SetWidth(300);
  Column(100, 0);
  Column(300, 1);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  Pump();
  ASSERT_TRUE(Tree->LayoutCachesFilled());
  const std::vector<int> Fresh = Tree->GetBandDisplayWidths();
  EXPECT_EQ(Fresh[0] + Fresh[1], 400);
  EXPECT_EQ(Fresh[0], Tree->GetBandDisplayWidth(0));
  EXPECT_EQ(Fresh[1], Tree->GetBandDisplayWidth(1));
  EXPECT_EQ(0, Tree->GetBandDisplayWidth(2));
  // A narrower client: the cached widths are shared again at once.
  Tree->SetBounds(0, 0, 200, 300);
  Pump();
  EXPECT_EQ(200, Tree->GetBandDisplayWidth(0) + Tree->GetBandDisplayWidth(1));
  EXPECT_EQ(Tree->GetBandDisplayWidths(), (std::vector<int>{Tree->GetBandDisplayWidth(0),
                                                            Tree->GetBandDisplayWidth(1)}));
  // The header cells are placed at the same widths.
  TdxTreeListDrawInfo DI;
  Tree->CalcDrawInfo(DI);
  ASSERT_EQ(2u, DI.Bands.size());
  EXPECT_EQ(Tree->GetBandDisplayWidth(1), DI.Bands[1].BandRect.right - DI.Bands[1].BandRect.left);
  // Dropped caches answer the same from the bands themselves.
  const int Cached = Tree->GetBandDisplayWidth(1);
  Tree->DropLayoutCaches();
  EXPECT_EQ(Cached, Tree->GetBandDisplayWidth(1));
}

TEST_F(TreeListLayoutBandsTest, TheHeaderLineCountComesFromTheCaptions) {
  TdxTreeListColumn* C = Column(120);
  Pump();
  const int Text = TextHeightOf(Tree->HeaderFont());
  EXPECT_EQ(1, Tree->HeaderLineCount());
  C->SetCaption("Board\nwidth");
  Pump();
  EXPECT_EQ(2, Tree->HeaderLineCount());
  EXPECT_EQ(2 * Text + 5 + (Tree->LookAndFeel() == lfStandard ? 1 : 0), Tree->HeaderRowHeight());
  // A cell spanning two header rows holds both lines in one line a row.
  Tree->SetHeaderPanelRowCount(2);
  C->SetHeaderMaxLineCount(2);
  Pump();
  EXPECT_EQ(1, Tree->HeaderLineCount());
  // HeaderMinRowCount still sets the least.
  Tree->SetHeaderMinRowCount(3);
  Pump();
  EXPECT_EQ(3, Tree->HeaderLineCount());
}

TEST_F(TreeListLayoutBandsTest, TheMeasuredColumnKnowsItsNodeOnlyWhileMeasuring) {
  auto* C = NewObject<TNodeSpyColumn>(Form);
  C->SetTreeList(Tree);
  C->SetWidth(100);
  TdxTreeListNode* Node = Tree->Add();
  int Lines = -1, Height = 18;
  ASSERT_TRUE(Tree->CalcRowLineHeight(Node, C->Index(), "text", 100, TextHeightOf(Tree->Font()),
                                      -1, false, false, Lines, Height));
  ASSERT_EQ(1u, C->Seen.size());
  EXPECT_EQ(Node, C->Seen[0]);
  EXPECT_EQ(nullptr, C->CurrentNode());
}

}  // namespace
