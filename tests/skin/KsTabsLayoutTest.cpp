// The tab control's measured layout: measured once for a paint and its hit tests, and
// measured again only when the captions, the font, the size or a setting that moves
// tabs changes.
#include <gtest/gtest.h>

#include "skin/KsTabs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// Counts the captions measured.
class TCountingTabs : public TKsCustomTabControl {
 public:
  using TKsCustomTabControl::TKsCustomTabControl;
  int GetTabWidth(int Index) override {
    ++Measured;
    return TKsCustomTabControl::GetTabWidth(Index);
  }
  int Measured = 0;
};

class KsTabsLayoutTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(420, 300);
    Tabs = NewObject<TCountingTabs>(Form);
    Tabs->SetParent(Form);
    Tabs->SetBounds(10, 10, 289, 193);
    Tabs->SetMultiLine(true);
    for (int I = 0; I < 40; ++I) Tabs->Tabs()->Add("Page " + std::to_string(I));
    Tabs->SetTabIndex(20);
  }
  // Inside the tab's own strip: a tab's rectangle reaches down to the page, under
  // the rows nearer to it.
  static POINT OuterStrip(const TRect& R) { return POINT{(R.left + R.right) / 2, R.top + 3}; }
  // Paints and asks for every tab's rectangle and the tab in its strip.
  void PaintAndHitEveryTab() {
    PaintNow(Tabs);
    for (int I = 0; I < Tabs->Tabs()->Count(); ++I) {
      const POINT P = OuterStrip(Tabs->GetTabRect(I));
      Tabs->TabAtPoint(P.x, P.y);
    }
  }
  TForm* Form = nullptr;
  TCountingTabs* Tabs = nullptr;
};

TEST_F(KsTabsLayoutTest, APaintAndEveryHitTestMeasureEachCaptionOnce) {
  Tabs->Measured = 0;
  PaintAndHitEveryTab();
  EXPECT_EQ(Tabs->Measured, 40);
  Tabs->Measured = 0;
  PaintAndHitEveryTab();
  Tabs->RowCount();
  Tabs->PaneRect();
  EXPECT_EQ(Tabs->Measured, 0);
  // The tab in each tab's strip is that tab.
  for (int I = 0; I < 40; ++I) {
    const POINT P = OuterStrip(Tabs->GetTabRect(I));
    EXPECT_EQ(Tabs->TabAtPoint(P.x, P.y), I) << I;
  }
}

TEST_F(KsTabsLayoutTest, CaptionsFontSizeAndSettingsMeasureTheLayoutAgain) {
  const int Rows = Tabs->RowCount();
  const int Wide = Tabs->GetTabRect(0).right - Tabs->GetTabRect(0).left;

  // A longer caption takes more room at once.
  Tabs->Tabs()->Put(0, "A much longer first caption");
  EXPECT_GT(Tabs->GetTabRect(1).left, Tabs->GetTabRect(0).left + Wide);

  // A larger font widens every tab: more rows.
  Tabs->Measured = 0;
  Tabs->Font()->SetSize(Tabs->Font()->Size() * 2);
  EXPECT_GT(Tabs->RowCount(), Rows);
  EXPECT_EQ(Tabs->Measured, 40);

  // A wider control holds more tabs a row.
  const int TallRows = Tabs->RowCount();
  Tabs->SetWidth(Tabs->Width() * 2);
  EXPECT_LT(Tabs->RowCount(), TallRows);

  // A fixed width is every tab's width: four a row in 401 pixels (a fifth would reach
  // the end), the margins aside.
  Tabs->SetWidth(405);
  Tabs->SetTabWidth(100);
  EXPECT_EQ(Tabs->RowCount(), 10);
  EXPECT_EQ(Tabs->RowOfTab(3), 0);
  EXPECT_EQ(Tabs->RowOfTab(4), 1);

  // Ragged rows keep their natural widths; justified ones fill the row.
  Tabs->SetTabWidth(0);
  Tabs->SetRaggedRight(true);
  int Last = 0;
  while (Tabs->RowOfTab(Last + 1) == 0) ++Last;
  EXPECT_LT(Tabs->GetTabRect(Last).right, 403);
  Tabs->SetRaggedRight(false);
  EXPECT_EQ(Tabs->GetTabRect(Last).right, 403);

  // One line: the single scrolling row.
  Tabs->SetMultiLine(false);
  EXPECT_EQ(Tabs->RowCount(), 1);
  EXPECT_TRUE(Tabs->ArrowsShown());
}

TEST_F(KsTabsLayoutTest, OnEverySideEveryTabIsFoundInItsOwnStripAndThePageHoldsNone) {
  Tabs->SetBounds(10, 10, 289, 289);
  for (const bool Opposite : {false, true}) {
    for (const TTabPosition Side : {tpTop, tpBottom, tpLeft, tpRight}) {
      Tabs->SetTabPosition(Side);
      Tabs->SetScrollOpposite(Opposite);
      ASSERT_GT(Tabs->RowCount(), 2);
      for (int I = 0; I < Tabs->Tabs()->Count(); ++I) {
        const TRect R = Tabs->GetTabRect(I);
        // The strip at the tab's outer edge, which opposite rows have on the other side.
        TTabPosition Outer = Side;
        if (Opposite && Tabs->RowOfTab(I) < Tabs->RowOfTab(Tabs->TabIndex())) Outer = OppositeSide(Side);
        POINT P{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
        switch (Outer) {
          case tpTop: P.y = R.top + 3; break;
          case tpBottom: P.y = R.bottom - 4; break;
          case tpLeft: P.x = R.left + 3; break;
          case tpRight: P.x = R.right - 4; break;
        }
        EXPECT_EQ(Tabs->TabAtPoint(P.x, P.y), I) << "side " << Side << " opposite " << Opposite;
      }
      const TRect Pane = Tabs->PaneRect();
      EXPECT_EQ(Tabs->TabAtPoint((Pane.left + Pane.right) / 2, (Pane.top + Pane.bottom) / 2), -1);
    }
    Tabs->SetScrollOpposite(false);
    Tabs->SetTabPosition(tpTop);
  }
}

}  // namespace
