// The kit's tab control on real windows: rows and their rotation, the scrolling line
// and its arrows, the captions and the pages kept in step with them.
#include <gtest/gtest.h>

#include <initializer_list>

#include "classlib/Exceptions.h"
#include "skin/KsTabs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

int SheetsFreed = 0;

class TCountedSheet : public TKsCustomTabSheet {
 public:
  using TKsCustomTabSheet::TKsCustomTabSheet;
  ~TCountedSheet() override { ++SheetsFreed; }
};

int CenterY(const TRect& R) { return (R.top + R.bottom) / 2; }

class KsTabsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(420, 300);
    Tabs = NewObject<TKsCustomTabControl>(Form);
    Tabs->SetParent(Form);
    Tabs->SetBounds(10, 10, 289, 193);
  }
  void AddTabs(int Count) {
    for (int I = 0; I < Count; ++I) Tabs->Tabs()->Add("Tab" + std::to_string(I));
  }
  // Pages on, one tab (and so one page) per caption.
  void AddPages(std::initializer_list<const char*> Captions) {
    Tabs->SetUsePages(true);
    for (const char* Caption : Captions) Tabs->Tabs()->Add(Caption);
  }
  AnsiString PageCaptions() const {
    AnsiString Result;
    for (int I = 0; I < Tabs->PageCount(); ++I) Result += (I ? "," : "") + Tabs->GetPage(I)->Caption();
    return Result;
  }
  TForm* Form = nullptr;
  TKsCustomTabControl* Tabs = nullptr;
};

TEST_F(KsTabsTest, WithScrollOppositeRowsBeforeTheActiveOneGoBelowThePage) {
  Tabs->SetTabWidth(100);  // two tabs a row in 285 pixels
  AddTabs(6);
  Tabs->SetScrollOpposite(true);
  EXPECT_TRUE(Tabs->MultiLine());
  Tabs->SetTabIndex(2);
  ASSERT_EQ(Tabs->RowCount(), 3);
  EXPECT_EQ(Tabs->RowOfTab(2), 1);
  const TRect Pane = Tabs->PaneRect();
  const TRect Row0 = Tabs->GetTabRect(0), Row1 = Tabs->GetTabRect(2), Row2 = Tabs->GetTabRect(4);
  EXPECT_GT(CenterY(Row0), Pane.bottom);
  EXPECT_LT(CenterY(Row1), Pane.top);
  EXPECT_LT(CenterY(Row2), CenterY(Row1));
  EXPECT_EQ(Pane.top, 2 * Tabs->GetTabHeight() + Tabs->TopMargin());
  // Farther rows reach under the nearer ones; their outer strips are theirs.
  EXPECT_EQ(Tabs->TabAtPoint(Row0.left + 5, Row0.bottom - 3), 0);
  EXPECT_EQ(Tabs->TabAtPoint(Row2.left + 5, Row2.top + 3), 4);
  EXPECT_EQ(Tabs->TabAtPoint(Row1.right + 5, Row1.bottom - 4), 3);

  // Without it every row is on the tab side, the active one next to the page.
  Tabs->SetScrollOpposite(false);
  EXPECT_LT(CenterY(Tabs->GetTabRect(0)), CenterY(Tabs->GetTabRect(4)));
  EXPECT_LT(CenterY(Tabs->GetTabRect(4)), CenterY(Tabs->GetTabRect(2)));
  EXPECT_EQ(Tabs->PaneRect().top, 3 * Tabs->GetTabHeight() + Tabs->TopMargin());
}

TEST_F(KsTabsTest, ATabWiderThanTheControlGetsARowOfItsOwn) {
  Tabs->SetMultiLine(true);
  Tabs->Tabs()->Add(AnsiString(80, 'W'));
  Tabs->Tabs()->Add("a");
  Tabs->Tabs()->Add("b");
  EXPECT_EQ(Tabs->RowOfTab(0), 0);
  EXPECT_EQ(Tabs->RowOfTab(1), 1);
  EXPECT_EQ(Tabs->RowOfTab(2), 1);
  EXPECT_EQ(Tabs->RowCount(), 2);
  PaintNow(Tabs);
}

TEST_F(KsTabsTest, AnArrowScrollsAtOnceThenOnEveryTickUntilTheLastTabShows) {
  Tabs->SetTabWidth(80);
  AddTabs(8);
  ASSERT_TRUE(Tabs->ArrowsShown());
  const TRect Right = Tabs->RightArrowRect();
  const LPARAM At = MAKELPARAM((Right.left + Right.right) / 2, CenterY(Right));
  Tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At);
  EXPECT_EQ(Tabs->FirstVisibleTab(), 1);
  ASSERT_NE(Tabs->ArrowTimer(), nullptr);
  EXPECT_TRUE(Tabs->ArrowTimer()->Enabled());
  EXPECT_EQ(Tabs->ArrowTimer()->Interval(), 300u);
  std::vector<int> Seen;
  for (int I = 0; I < 5; ++I) {
    Tabs->ArrowTimer()->OnTimer(Tabs->ArrowTimer());
    Seen.push_back(Tabs->FirstVisibleTab());
  }
  EXPECT_EQ(Tabs->ArrowTimer()->Interval(), 100u);
  EXPECT_EQ(Seen, (std::vector<int>{2, 3, 4, 4, 4}));
  Tabs->Perform(WM_LBUTTONUP, 0, At);
  EXPECT_FALSE(Tabs->ArrowTimer()->Enabled());

  // Losing the capture ends the repeat as well.
  Tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Tabs->LeftArrowRect().left + 2, CenterY(Right)));
  EXPECT_EQ(Tabs->FirstVisibleTab(), 3);
  EXPECT_TRUE(Tabs->ArrowTimer()->Enabled());
  Tabs->Perform(WM_CAPTURECHANGED, 0, 0);
  EXPECT_FALSE(Tabs->ArrowTimer()->Enabled());
}

TEST_F(KsTabsTest, CaptionsRefuseDuplicatesAndTheSelectionFollowsADeletedLastOne) {
  AddTabs(3);
  EXPECT_THROW(Tabs->Tabs()->Add("Tab1"), Exception);
  EXPECT_EQ(Tabs->Tabs()->Count(), 3);
  Tabs->SetTabIndex(2);
  TChangeCounter Changes;
  Tabs->OnChange = Changes.Event();
  Tabs->Tabs()->Delete(2);
  EXPECT_EQ(Tabs->TabIndex(), 1);
  EXPECT_EQ(Changes.Count, 0);
  Tabs->Tabs()->Clear();
  EXPECT_EQ(Tabs->TabIndex(), -1);
  Tabs->SetTabPosition(tpLeft);
  EXPECT_TRUE(Tabs->MultiLine());
  EXPECT_THROW(Tabs->SetMultiLine(false), Exception);
  EXPECT_TRUE(Tabs->MultiLine());
}

TEST_F(KsTabsTest, PagesTakeFreeCaptionsAndRemovingTheActiveOneFreesItOnce) {
  Tabs->SetUsePages(true);
  std::vector<TCountedSheet*> Sheets;
  for (int I = 0; I < 3; ++I) {
    Sheets.push_back(NewObject<TCountedSheet>(Form));
    Tabs->InsertPage(Tabs->PageCount(), Sheets.back());
  }
  EXPECT_EQ(Sheets[0]->Caption(), "New Page -1");
  EXPECT_EQ(Sheets[2]->Caption(), "New Page 1");
  EXPECT_EQ(Tabs->ActivePage(), Sheets[0]);

  Tabs->SetTabIndex(1);
  EXPECT_EQ(Tabs->ActivePage(), Sheets[1]);
  SheetsFreed = 0;
  Tabs->RemovePage(Sheets[1]);
  EXPECT_EQ(SheetsFreed, 1);
  EXPECT_EQ(Tabs->PageCount(), 2);
  EXPECT_EQ(Tabs->ActivePage(), Sheets[0]);
  EXPECT_EQ(Tabs->TabIndex(), 0);
  EXPECT_EQ(Tabs->Tabs()->Count(), 2);

  // "New Page 1" is still taken: the next free number follows.
  auto* Late = NewObject<TCountedSheet>(Form);
  Tabs->InsertPage(Tabs->PageCount(), Late);
  EXPECT_EQ(Late->Caption(), "New Page 2");
  EXPECT_EQ(Tabs->PageCount(), 3);
  EXPECT_EQ(Tabs->Tabs()->Count(), 3);

  // A caption added makes a page.
  Tabs->Tabs()->Add("Extra");
  EXPECT_EQ(Tabs->PageCount(), 4);
  EXPECT_EQ(Tabs->ActivePage()->Caption(), "Extra");
}

TEST_F(KsTabsTest, ASheetFreedDirectlyTakesItsTabAndTabsAndPagesStayInStep) {
  AddPages({"A", "B", "C", "D"});
  Tabs->SetTabIndex(2);
  TKsCustomTabSheet* C = Tabs->ActivePage();
  ASSERT_EQ(C->Caption(), "C");
  Tabs->GetPage(1)->Free();
  EXPECT_EQ(Tabs->Tabs()->CommaText(), "A,C,D");
  EXPECT_EQ(PageCaptions(), "A,C,D");
  EXPECT_EQ(Tabs->ActivePage(), C);
  EXPECT_EQ(Tabs->TabIndex(), 1) << "the selected tab is still the active page's";
  Tabs->SetTabIndex(2);
  EXPECT_EQ(Tabs->ActivePage()->Caption(), "D");
  Tabs->Tabs()->Add("E");
  EXPECT_EQ(PageCaptions(), "A,C,D,E") << "no page comes back for the freed one";

  // The active sheet freed: a remaining page shows, under its own tab.
  ASSERT_EQ(Tabs->ActivePage()->Caption(), "E");
  Tabs->ActivePage()->Free();
  EXPECT_EQ(Tabs->Tabs()->CommaText(), "A,C,D");
  ASSERT_NE(Tabs->ActivePage(), nullptr);
  EXPECT_EQ(Tabs->Tabs()->Strings(Tabs->TabIndex()), Tabs->ActivePage()->Caption());

  // A caption deleted before the active page's keeps the selection on that page.
  Tabs->SetTabIndex(1);
  Tabs->Tabs()->Delete(0);
  EXPECT_EQ(PageCaptions(), "C,D");
  EXPECT_EQ(Tabs->ActivePage()->Caption(), "C");
  EXPECT_EQ(Tabs->TabIndex(), 0);
}

TEST_F(KsTabsTest, ARenamedTabKeepsItsPageAndItsControlsThroughALaterShrink) {
  AddPages({"A", "B", "C"});
  TKsCustomTabSheet* B = Tabs->GetPage(1);
  auto* Child = NewObject<TProbe>(Form);
  Child->SetParent(B);
  Tabs->Tabs()->Put(1, "X");
  EXPECT_EQ(B->Caption(), "X");
  EXPECT_EQ(PageCaptions(), "A,X,C");

  Tabs->Tabs()->Delete(2);
  ASSERT_EQ(PageCaptions(), "A,X");
  EXPECT_EQ(Tabs->GetPage(1), B);
  EXPECT_EQ(Child->Parent(), B);
  Tabs->SetTabIndex(1);
  EXPECT_EQ(Tabs->ActivePage(), B);
  // Growing again makes only the page of the new caption.
  Tabs->Tabs()->Add("Y");
  EXPECT_EQ(PageCaptions(), "A,X,Y");

  // A rename to another tab's caption is refused as an added duplicate is, so captions
  // keep naming one page each; a change of case of its own caption is no duplicate.
  EXPECT_THROW(Tabs->Tabs()->Put(2, "A"), Exception);
  EXPECT_EQ(Tabs->Tabs()->Strings(2), "Y");
  Tabs->Tabs()->Delete(0);
  EXPECT_EQ(Tabs->Tabs()->Count(), 2);
  EXPECT_EQ(PageCaptions(), "X,Y");
  Tabs->Tabs()->Put(1, "y");
  EXPECT_EQ(PageCaptions(), "X,y");
}

TEST_F(KsTabsTest, AnEmptyControlPaintsOnlyThePaneAndTheActiveTabStandsOut) {
  Tabs->Invalidate();
  Tabs->UpdateBuffer();
  const TKsColor Face = Rgb(ColorToKsColor(clBtnFace, 255));
  const TKsColor Light = Rgb(ColorToKsColor(clBtnHighlight, 255));
  const TRect Pane = Tabs->PaneRect();
  EXPECT_EQ(Tabs->TabIndex(), -1);
  EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel(Pane.left + 20, Pane.top)), Light);
  for (int X = 0; X < Tabs->Width(); X += 7)
    EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel(X, Pane.top - 3)), Face) << X;

  AddTabs(2);
  Tabs->SetTabIndex(0);
  Tabs->Invalidate();
  Tabs->UpdateBuffer();
  const TRect Active = Tabs->GetTabRect(0), Other = Tabs->GetTabRect(1);
  // The active tab is 2 pixels taller, its top edge lit; the other's top is lower.
  EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel((Active.left + Active.right) / 2, Active.top - 2)), Light);
  EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel((Other.left + Other.right) / 2, Other.top - 2)), Face);
  EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel((Other.left + Other.right) / 2, Other.top)), Light);
  // The page side of the active tab stays open: no edge between it and the pane.
  EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel((Active.left + Active.right) / 2, Pane.top)), Face);
}

struct TVeto {
  void Changing(TObject*, bool& Allow) { Allow = false; }
};

TEST_F(KsTabsTest, ClicksAndArrowKeysSelectUnlessTheChangeIsVetoed) {
  AddTabs(3);
  Tabs->SetTabIndex(0);
  const TRect Third = Tabs->GetTabRect(2);
  Tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Third.left + 5, Third.top + 5));
  Tabs->Perform(WM_LBUTTONUP, 0, MAKELPARAM(Third.left + 5, Third.top + 5));
  EXPECT_EQ(Tabs->TabIndex(), 2);
  EXPECT_TRUE(Tabs->Focused());
  EXPECT_EQ(Tabs->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, static_cast<LRESULT>(DLGC_WANTARROWS));
  PressKey(VK_LEFT);
  EXPECT_EQ(Tabs->TabIndex(), 1);
  PressKey(VK_DOWN);
  EXPECT_EQ(Tabs->TabIndex(), 2);
  PressKey(VK_RIGHT);  // past the last: nothing
  EXPECT_EQ(Tabs->TabIndex(), 2);

  TVeto Veto;
  Tabs->OnChanging = TTabChangingEvent::Bind<&TVeto::Changing>(&Veto);
  PressKey(VK_UP);
  EXPECT_EQ(Tabs->TabIndex(), 2);
}

TEST_F(KsTabsTest, LeftTabsStandInABandOnTheLeftAndAssignRefusesADuplicateWhole) {
  Tabs->SetTabPosition(tpLeft);
  auto* Source = NewObject<TStringList>();
  Source->Add("one");
  Source->Add("ONE");
  EXPECT_THROW(Tabs->Tabs()->Assign(Source), Exception);
  EXPECT_EQ(Tabs->Tabs()->Count(), 0);
  Source->Put(1, "two");
  Tabs->Tabs()->Assign(Source);
  Source->Free();
  EXPECT_EQ(Tabs->Tabs()->Count(), 2);
  Tabs->SetTabIndex(0);
  const TRect Pane = Tabs->PaneRect();
  const TRect Tab = Tabs->GetTabRect(0);
  EXPECT_EQ(Pane.left, Tabs->GetTabHeight() + Tabs->LeftMargin());
  EXPECT_LT(Tab.left, Pane.left);
  EXPECT_GT(Tab.bottom - Tab.top, Tab.right - Tab.left);
  PaintNow(Tabs);
}

// Counts the pixels of a colour inside a rectangle of the control's buffer.
int CountPixels(TKsCustomTabControl* Tabs, const TRect& R, TKsColor Color) {
  int Count = 0;
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X)
      if (Rgb(Tabs->Buffer()->GetPixel(X, Y)) == Rgb(Color)) ++Count;
  return Count;
}

TEST_F(KsTabsTest, HotTrackingColoursTheCaptionUnderTheMouseUntilItLeaves) {
  AddTabs(3);
  Tabs->SetTabIndex(0);
  const TKsColor Highlight = ColorToKsColor(clHighlight, 255);
  const TRect Second = Tabs->GetTabRect(1), Third = Tabs->GetTabRect(2);
  Tabs->Perform(WM_MOUSEMOVE, 0, MAKELPARAM((Second.left + Second.right) / 2, CenterY(Second)));
  EXPECT_EQ(Tabs->HotTab(), 1);
  Tabs->Invalidate();
  Tabs->UpdateBuffer();
  // Without hot tracking the tab under the mouse is known but not coloured.
  EXPECT_EQ(CountPixels(Tabs, Second, Highlight), 0);

  Tabs->SetHotTrack(true);
  Tabs->UpdateBuffer();
  EXPECT_GT(CountPixels(Tabs, Second, Highlight), 5);
  EXPECT_EQ(CountPixels(Tabs, Third, Highlight), 0);

  Tabs->Perform(WM_MOUSEMOVE, 0, MAKELPARAM((Third.left + Third.right) / 2, CenterY(Third)));
  EXPECT_EQ(Tabs->HotTab(), 2);
  Tabs->UpdateBuffer();
  EXPECT_EQ(CountPixels(Tabs, Second, Highlight), 0);
  EXPECT_GT(CountPixels(Tabs, Third, Highlight), 5);

  Tabs->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Tabs->HotTab(), -1);
  Tabs->UpdateBuffer();
  EXPECT_EQ(CountPixels(Tabs, Third, Highlight), 0);
}

// Fills each tab it is asked to draw, and notes the calls.
struct TTabPainter {
  void Draw(TKsCustomTabControl* Control, int Index, const TRect& Rect, bool Active) {
    Calls.push_back({Index, Active});
    TRect R = Rect;
    InflateRect(&R, -4, -4);
    Control->Buffer()->FillRect(R, ColorToKsColor(clRed, 255));
  }
  std::vector<std::pair<int, bool>> Calls;
};

TEST_F(KsTabsTest, OwnerDrawingHandsEveryTabToTheEventInsteadOfItsCaption) {
  AddTabs(3);
  Tabs->SetTabIndex(0);
  const TKsColor Text = ColorToKsColor(clLime, 255);
  Tabs->Font()->SetColor(clLime);
  TTabPainter Painter;
  Tabs->OnDrawTab = TDrawTabEvent::Bind<&TTabPainter::Draw>(&Painter);
  // The event waits for OwnerDraw.
  Tabs->Invalidate();
  Tabs->UpdateBuffer();
  EXPECT_TRUE(Painter.Calls.empty());
  EXPECT_GT(CountPixels(Tabs, Tabs->GetTabRect(1), Text), 0);

  Tabs->SetOwnerDraw(true);
  Tabs->UpdateBuffer();
  // The tabs behind the page first, then the active one on top.
  EXPECT_EQ(Painter.Calls, (std::vector<std::pair<int, bool>>{{1, false}, {2, false}, {0, true}}));
  const TRect Second = Tabs->GetTabRect(1);
  const TKsColor Red = ColorToKsColor(clRed, 255);
  EXPECT_EQ(Rgb(Tabs->Buffer()->GetPixel((Second.left + Second.right) / 2, CenterY(Second))), Rgb(Red));
  // No caption: the tab holds only its face, its edges and what the event drew.
  EXPECT_EQ(CountPixels(Tabs, Second, Text), 0);
}

TEST_F(KsTabsTest, ATabPartlyUnderTheArrowsIsNeitherDrawnNorHit) {
  Tabs->SetTabWidth(100);  // the third tab reaches from 202 under the arrows and past 289
  AddTabs(4);
  Tabs->SetTabIndex(0);
  ASSERT_TRUE(Tabs->ArrowsShown());
  const TRect Third = Tabs->GetTabRect(2);
  const TRect Arrows = Tabs->LeftArrowRect();
  ASSERT_LT(Third.left, Arrows.left);
  ASSERT_GT(Third.right, Arrows.left);
  TTabPainter Painter;
  Tabs->OnDrawTab = TDrawTabEvent::Bind<&TTabPainter::Draw>(&Painter);
  Tabs->SetOwnerDraw(true);
  Tabs->UpdateBuffer();
  EXPECT_EQ(Painter.Calls, (std::vector<std::pair<int, bool>>{{1, false}, {0, true}}));
  EXPECT_EQ(Tabs->TabAtPoint((Third.left + Arrows.left) / 2, CenterY(Third)), -1);
  EXPECT_EQ(Tabs->TabAtPoint(Third.left - 5, CenterY(Third)), 1);

  // Scrolled by one, the tab that now fits before the arrows is both.
  Tabs->ScrollTabs(1);
  const TRect Now = Tabs->GetTabRect(2);
  ASSERT_LE(Now.right, Tabs->LeftArrowRect().left);
  Painter.Calls.clear();
  Tabs->UpdateBuffer();
  EXPECT_EQ(Painter.Calls, (std::vector<std::pair<int, bool>>{{1, false}, {2, false}, {0, true}}));
  EXPECT_EQ(Tabs->TabAtPoint(Now.left + 5, CenterY(Now)), 2);
}

TEST_F(KsTabsTest, SideTabsOfAHugeHeightOrWidthPaintOnlyWhatShows) {
  // Tabs on either side of a small control, each 16,000 deep and twice as long.
  Tabs->SetBounds(10, 10, 145, 64);
  Tabs->SetRaggedRight(true);
  Tabs->SetTabHeight(16000);
  AddTabs(3);
  Tabs->SetTabIndex(1);
  for (TTabPosition Side : {tpLeft, tpRight}) {
    Tabs->SetTabPosition(Side);
    ASSERT_TRUE(Tabs->MultiLine());
    EXPECT_NO_THROW(Tabs->UpdateBuffer()) << Side;
  }

  // Thousands of tabs 65,536 long: only those that reach into the control are drawn.
  Tabs->SetTabHeight(0);
  Tabs->SetTabWidth(65536);
  TOwned<TStringList> Many(NewObject<TStringList>());
  for (int I = 0; I < 2212; ++I) Many->Add("Tab" + std::to_string(I));
  Tabs->SetTabs(Many.get());
  TTabPainter Painter;
  Tabs->OnDrawTab = TDrawTabEvent::Bind<&TTabPainter::Draw>(&Painter);
  Tabs->SetOwnerDraw(true);
  Tabs->SetTabPosition(tpLeft);
  Tabs->UpdateBuffer();
  ASSERT_FALSE(Painter.Calls.empty());
  EXPECT_LT(Painter.Calls.size(), 40u);
  const TRect Client{0, 0, Tabs->Width(), Tabs->Height()};
  for (const auto& [Index, Active] : Painter.Calls) {
    RECT Overlap;
    const TRect Tab = Tabs->GetTabRect(Index);
    EXPECT_TRUE(IntersectRect(&Overlap, &Tab, &Client)) << "tab " << Index;
  }
}

}  // namespace
