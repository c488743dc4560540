// The column layer's geometry on a real window: band display widths answered from the
// layout caches and kept with the client's width, the header's line count from the
// captions, the column knowing its node while a cell is measured, and the widest widths
// a form file or code can give laid out and painted.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/Classes_Streaming.h"
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

// Whatever width a form file or code gives a band or a column, the list lays it out
// and paints it: under auto width the header still spans the client, without it the
// widths read back bounded and the list scrolls over them.
TEST_F(TreeListLayoutBandsTest, TheWidestWidthsAreLaidOutAndPainted) {
  const int Widest = 2147483647;
  const AnsiString Text =
      "form frmWide: TForm\n"
      "  Width = 420\n"
      "  Height = 200\n"
      "  component treWide: TdxTreeList\n"
      "    Width = 400\n"
      "    Height = 150\n"
      "    BorderStyle = bsNone\n"
      "    Options = [aoColumnSizing, aoAutoWidth]\n"
      "    Bands = items\n"
      "      item\n"
      "        Width = 2147483647\n"
      "      end\n"
      "    end\n"
      "    component colA: TdxTreeListColumn\n"
      "      Width = 2147483647\n"
      "      BandIndex = 0\n"
      "      RowIndex = 0\n"
      "    end\n"
      "    component colB: TdxTreeListColumn\n"
      "      Width = 2147483647\n"
      "      BandIndex = 0\n"
      "      RowIndex = 0\n"
      "    end\n"
      "  end\n"
      "end\n";
  TOwned<TForm> Wide(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Wide.get(), Text, "wide");
  auto* List = ObjectAs<TdxTreeList>(Wide->FindComponent("treWide"));
  ASSERT_NE(List, nullptr);
  List->Add()->SetStrings(0, "x");
  Wide->SetBorderStyle(bsNone);
  Wide->Show();
  Pump();
  // Laid out: the two columns share the client; the sums of their widths hold.
  auto ExpectPainted = [&](TdxTreeList* Tree, const char* What) {
    SCOPED_TRACE(What);
    PaintNow(Tree);
    Pump();
    EXPECT_TRUE(Log->Messages.empty()) << (Log->Messages.empty() ? "" : Log->Messages[0].c_str());
    Log->Messages.clear();
    TdxTreeListDrawInfo DI;
    Tree->CalcDrawInfo(DI);
    ASSERT_FALSE(DI.Headers.empty());
    EXPECT_GT(DI.Headers[0].CellRect.right, DI.Headers[0].CellRect.left);
    for (int I = 0; I < Tree->ColumnCount(); ++I) {
      EXPECT_GE(Tree->Columns(I)->Width(), 100000) << I;
      EXPECT_GE(Tree->GetColumnDisplayWidth(I), 0) << I;
    }
    for (int I = 0; I < Tree->Bands()->Count(); ++I)
      EXPECT_GE(Tree->Bands()->Items(I)->Width(), 100000) << I;
    EXPECT_GE(Tree->GetScrollableWidth(), Tree->GetVisibleWidth());
  };
  ExpectPainted(List, "form file, auto width");
  TdxTreeListDrawInfo DI;
  List->CalcDrawInfo(DI);
  EXPECT_EQ(DI.Headers.back().CellRect.right, List->ClientRect().right);

  // From code: on the fixture's list, with and without auto width, a band too.
  Column(Widest);
  Column(Widest)->SetMinWidth(Widest);
  Tree->Bands()->Add();
  Column(Widest, 1);
  Tree->Bands()->Items(0)->SetWidth(Widest);
  Tree->Bands()->Items(1)->SetMinWidth(Widest);
  Tree->Add()->SetStrings(0, "y");
  ExpectPainted(Tree, "code");
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoAutoWidth});
  ExpectPainted(Tree, "code, auto width");
  Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoAutoWidth});
  SendMessageA(Tree->Handle(), WM_HSCROLL, SB_BOTTOM, 0);
  ExpectPainted(Tree, "code, scrolled to the end");
  EXPECT_EQ(Tree->LeftCoord(), Tree->GetScrollableWidth() - Tree->GetVisibleWidth());
}

}  // namespace
