// The date popup: the month routines, its visible range and hit test over every cell,
// the mouse, keys, arrows, Today and Clear, the month list and its scroll timers, what
// closing, freeing and a lost capture leave behind, and its paint.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/Messages.h"
#include "editors/dxGrDate.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/editors/CursorSupport.h"
#include "tests/editors/SurfaceSupport.h"
#include "tests/support/DateSupport.h"

using uitest::HeldKeys;
using uitest::Pump;

namespace {

TDateTime Day(int Year, int Month, int D) { return EncodeDate(Year, Month, D); }

// Moves the cursor; no message is handled meanwhile, so no timer runs.
void MoveCursor(int X, int Y) { ASSERT_TRUE(edittest::PlaceCursor(X, Y)); }

struct TClickCounter {
  void Click(TObject* /*Sender*/) { ++Count; }
  int Count = 0;
};

}  // namespace

// ---------------------------------------------------------------------------------
// Routines

TEST(GrDateRoutinesTest, MonthSteps) {
  int Year = 2024, Month = 1;
  DecMonth(Year, Month);
  EXPECT_EQ(Year * 100 + Month, 202312);
  IncMonth(Year, Month);
  EXPECT_EQ(Year * 100 + Month, 202401);
  EXPECT_EQ(ChangeMonth(Year, Month, -13), -1);
  EXPECT_EQ(Year * 100 + Month, 202212);
  EXPECT_EQ(ChangeMonth(Year, Month, 25), 2);
  EXPECT_EQ(Year * 100 + Month, 202501);
  Year = 2024, Month = 11;
  ChangeMonth(Year, Month, 3);
  EXPECT_EQ(Year * 100 + Month, 202502);
}

TEST(GrDateRoutinesTest, ElementsDaysAndValues) {
  EXPECT_EQ(GetDateElement(Day(2024, 3, 4), 1), 2024);
  EXPECT_EQ(GetDateElement(Day(2024, 3, 4), 2), 3);
  EXPECT_EQ(GetDateElement(Day(2024, 3, 4), 3), 4);
  EXPECT_EQ(GetDateElement(Day(2024, 3, 4), 4), -1);
  EXPECT_EQ(DaysPerMonth(2024, 2), 29);
  EXPECT_EQ(CheckDay(2023, 2, 31), 28);
  EXPECT_EQ(CheckDay(2023, 2, 0), 1);
  EXPECT_EQ(CheckDay(2023, 2, 15), 15);
  // A hair below a whole day is that day.
  EXPECT_EQ(DateOfValue(45355.0 - 1e-12), 45355.0);
  EXPECT_EQ(DateOfValue(45355.75), 45355.0);
  EXPECT_EQ(DateOfValue(-2.0 + 1e-12), -2.0);
  EXPECT_NEAR(TimeOfValue(45355.75), 0.75, 1e-9);
  EXPECT_EQ(FirstOfMonth(Day(2024, 3, 31) + 0.5), Day(2024, 3, 1));
}

TEST(GrDateRoutinesTest, WeekColumnsFollowTheStartOfTheWeek) {
  // en-US weeks start on Sunday.
  EXPECT_EQ(StartOfWeek, 0);
  const int Saved = StartOfWeek;
  const TDateTime Sunday = Day(2024, 3, 3);
  for (int Start = 0; Start < 7; ++Start) {
    StartOfWeek = Start;
    for (int I = 0; I < 7; ++I) {
      const int Index = DayOfWeekIndex(Sunday + I);
      EXPECT_GE(Index, 0);
      EXPECT_EQ(Index, ((I - Start) % 7 + 7) % 7) << Start << " " << I;
    }
  }
  StartOfWeek = Saved;
}

// ---------------------------------------------------------------------------------
// The popup

namespace {

class GrDatePopupTest : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedStart = StartOfWeek;
    StartOfWeek = 0;
    Clock = new TFixedClock(Day(2024, 3, 6) + 0.5);
    Popup = Keep(NewObject<TdxGridDatePopup>(nullptr));
    Popup->SetBounds(200, 150, 10, 10);
    Popup->HandleNeeded();
  }
  void TearDown() override {
    UiTest::TearDown();
    delete Clock;
    StartOfWeek = SavedStart;
  }

  // The centre of a day cell.
  TPoint Cell(int Row, int Col) {
    return TPoint{Popup->SideWidth() + Col * Popup->ColWidth() + Popup->ColWidth() / 2,
                  Popup->DaysRect().top + Popup->DaysOfWeekHeight() + Row * Popup->RowHeight() + Popup->RowHeight() / 2};
  }
  static TPoint Centre(const TRect& R) { return TPoint{(R.left + R.right) / 2, (R.top + R.bottom) / 2}; }
  void Press(TPoint P) { SendMessageA(Popup->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.x, P.y)); }
  void Move(TPoint P, bool Held = true) {
    SendMessageA(Popup->Handle(), WM_MOUSEMOVE, Held ? MK_LBUTTON : 0, MAKELPARAM(P.x, P.y));
  }
  void Release(TPoint P) { SendMessageA(Popup->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(P.x, P.y)); }
  void Key(WPARAM Vk, bool Alt = false) {
    SendMessageA(Popup->Handle(), Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, Vk, Alt ? 0x20000001 : 1);
  }
  bool Visible() { return IsWindowVisible(Popup->Handle()) != FALSE; }
  void Show() {
    Popup->ShowPopup();
    Pump();
  }
  // Moves the mouse over the month list, Dy pixels from its client top.
  void MoveOverList(int X, int Dy) {
    POINT P{X, Dy};
    MapWindowPoints(Popup->MonthList()->Handle(), Popup->Handle(), &P, 1);
    Move(TPoint{P.x, P.y});
  }

  TdxGridDatePopup* Popup = nullptr;
  TFixedClock* Clock = nullptr;
  int SavedStart = 0;
};

}  // namespace

TEST_F(GrDatePopupTest, SizeFollowsTheFontMetrics) {
  ASSERT_GT(Popup->ColWidth(), 0);
  EXPECT_EQ(Popup->ColWidth() * 2, Popup->SideWidth() * 3);
  EXPECT_EQ(Popup->HeaderHeight(), Popup->RowHeight() + 3);
  EXPECT_EQ(Popup->DaysOfWeekHeight(), Popup->RowHeight() + 1);
  EXPECT_EQ(Popup->ClientWidth(), 2 * Popup->SideWidth() + 7 * Popup->ColWidth());
  const int Grid = Popup->HeaderHeight() + Popup->DaysOfWeekHeight() + 6 * Popup->RowHeight() + 1;
  EXPECT_EQ(Popup->ClientHeight(), Grid + Popup->ButtonsRegionHeight());
  Popup->SetShowToday(false);
  EXPECT_EQ(Popup->ClientHeight(), Grid);
  Popup->SetFlat(false);
  EXPECT_EQ(Popup->HeaderHeight(), Popup->RowHeight() + 2);
  EXPECT_EQ(Popup->ClientHeight(), Popup->HeaderHeight() + 1 + Popup->DaysOfWeekHeight() + 6 * Popup->RowHeight() + 1);
  // A bigger font, a bigger grid.
  const int Width = Popup->Width();
  Popup->Font()->SetSize(Popup->Font()->Size() * 2);
  EXPECT_GT(Popup->Width(), Width);
  EXPECT_EQ(Popup->ClientWidth(), 2 * Popup->SideWidth() + 7 * Popup->ColWidth());
}

TEST_F(GrDatePopupTest, TheGridStartsAWeekEarlyWhenTheFirstStartsTheWeek) {
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 3, 1));
  // September 2024 starts on a Sunday.
  Popup->SetFirstDate(Day(2024, 9, 15));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 9, 1));
  EXPECT_EQ(Popup->GetFirstDate(), Day(2024, 8, 25));
  EXPECT_EQ(Popup->GetLastVisibleDate(), Day(2024, 10, 5));
  EXPECT_EQ(Popup->GetLastDate(), Day(2024, 9, 30));
  // With Monday first, April 2024 does.
  StartOfWeek = 1;
  EXPECT_EQ(Popup->GetFirstDate(), Day(2024, 8, 26));
  Popup->SetFirstDate(Day(2024, 4, 1));
  EXPECT_EQ(Popup->GetFirstDate(), Day(2024, 3, 25));
}

TEST_F(GrDatePopupTest, EveryCellYieldsItsDate) {
  for (int Month = 1; Month <= 12; ++Month) {
    Popup->SetFirstDate(Day(2024, Month, 1));
    for (int Row = 0; Row < 6; ++Row)
      for (int Col = 0; Col < 7; ++Col)
        ASSERT_EQ(Popup->GetDateAtPos(Cell(Row, Col)), Popup->GetFirstDate() + Row * 7 + Col)
            << Month << " " << Row << " " << Col;
  }
  EXPECT_EQ(Popup->GetDateAtPos(Centre(Popup->HeaderRect())), NullDate);
  EXPECT_EQ(Popup->GetDateAtPos(TPoint{1, Cell(2, 0).y}), NullDate);
  EXPECT_EQ(Popup->GetDateAtPos(TPoint{Popup->ClientWidth() - 1, Cell(2, 0).y}), NullDate);
  EXPECT_EQ(Popup->GetDateAtPos(Centre(Popup->TodayButtonRect())), NullDate);
  EXPECT_EQ(Popup->GetDateAtPos(TPoint{-5, Cell(2, 0).y}), NullDate);
}

TEST_F(GrDatePopupTest, SelectionIsOneDayAndStaysInView) {
  Popup->SetSelStart(Day(2024, 3, 10));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 10));
  EXPECT_EQ(Popup->GetSelFinish(), Day(2024, 3, 10));
  // Selecting the month before's last week keeps the view; earlier moves it.
  Popup->SetSelStart(Day(2024, 2, 26));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 3, 1));
  Popup->SetSelStart(Day(2024, 1, 20));
  EXPECT_LE(Popup->GetFirstDate(), Day(2024, 1, 20));
  EXPECT_GE(Popup->GetLastVisibleDate(), Day(2024, 1, 20));
  Popup->SetSelStart(Day(2024, 7, 4));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 7, 1));
  Popup->SetSelStart(NullDate);
  EXPECT_EQ(Popup->GetSelStart(), NullDate);
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 7, 1));
}

TEST_F(GrDatePopupTest, MousePressDragAndRelease) {
  TClickCounter Clicks;
  Popup->OnDateClick = TNotifyEvent::Bind<&TClickCounter::Click>(&Clicks);
  Show();
  Popup->SetSelStart(Day(2024, 3, 6));
  // The first cell is in February: pressing it selects it, the view stays.
  Press(Cell(0, 0));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 2, 25));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 3, 1));
  EXPECT_EQ(Popup->MouseDownDate(), Day(2024, 3, 6));
  Move(Cell(2, 3));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 13));
  EXPECT_EQ(Popup->GetSelFinish(), Day(2024, 3, 13));
  // Dragged out: the date of the press comes back.
  Move(TPoint{-30, -30});
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 6));
  Move(Cell(3, 4));
  Release(Cell(3, 4));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 21));
  EXPECT_FALSE(Visible());
  EXPECT_EQ(Clicks.Count, 1);
}

TEST_F(GrDatePopupTest, KeysMoveTheSelection) {
  Popup->SetSelStart(Day(2024, 3, 6));  // a Wednesday
  Key(VK_LEFT);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 5));
  Key(VK_RIGHT);
  Key(VK_DOWN);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 13));
  Key(VK_UP);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 6));
  Key(VK_HOME);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 3));
  Key(VK_END);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 9));
  HeldKeys = {VK_CONTROL};
  Key(VK_HOME);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 1));
  Key(VK_END);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 31));
  HeldKeys.clear();
  StartOfWeek = 1;
  Popup->SetSelStart(Day(2024, 3, 6));
  Key(VK_HOME);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 4));
  Key(VK_END);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 10));
}

TEST_F(GrDatePopupTest, PageKeysKeepTheDayWithinTheMonth) {
  Popup->SetSelStart(Day(2024, 1, 31));
  Key(VK_NEXT);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 2, 29));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 2, 1));
  Popup->SetSelStart(Day(2023, 1, 31));
  Key(VK_NEXT);
  EXPECT_EQ(Popup->GetSelStart(), Day(2023, 2, 28));
  Popup->SetSelStart(Day(2024, 3, 31));
  Key(VK_PRIOR);
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 2, 29));
  Popup->SetSelStart(Day(2024, 1, 15));
  Key(VK_PRIOR);
  EXPECT_EQ(Popup->GetSelStart(), Day(2023, 12, 15));
}

TEST_F(GrDatePopupTest, KeysThatClose) {
  TClickCounter Clicks;
  Popup->OnDateClick = TNotifyEvent::Bind<&TClickCounter::Click>(&Clicks);
  Popup->SetSelStart(Day(2024, 3, 6));
  Show();
  Key(VK_DOWN, true);
  EXPECT_FALSE(Visible());
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 6));
  for (WPARAM Closer : {VK_ESCAPE, VK_F4}) {
    Show();
    Key(Closer);
    EXPECT_FALSE(Visible());
  }
  EXPECT_EQ(Clicks.Count, 0);
  Show();
  Key(VK_RETURN);
  EXPECT_FALSE(Visible());
  EXPECT_EQ(Clicks.Count, 1);
}

TEST_F(GrDatePopupTest, ButtonPlacement) {
  const int W = Popup->ClientWidth();
  Popup->SetShowToday(false);
  Popup->SetShowClear(true);
  EXPECT_EQ(Popup->ClearButtonRect().left, (W - Popup->ClearButtonWidth()) / 2);
  Popup->SetShowClear(false);
  Popup->SetShowToday(true);
  EXPECT_EQ(Popup->TodayButtonRect().left, (W - Popup->TodayButtonWidth()) / 2);
  Popup->SetShowClear(true);
  const TRect Today = Popup->TodayButtonRect(), Clear = Popup->ClearButtonRect();
  const int Gaps[3] = {Today.left, Clear.left - Today.right, W - Clear.right};
  EXPECT_LE(std::abs(Gaps[0] - Gaps[1]), 1);
  EXPECT_LE(std::abs(Gaps[1] - Gaps[2]), 2);
  EXPECT_EQ(Today.bottom, Popup->ClientHeight() - Popup->ButtonsRegionHeight() + Popup->ButtonsOffset() +
                              Popup->ButtonHeight());
  EXPECT_EQ(Today.top, Clear.top);
}

TEST_F(GrDatePopupTest, TodayReleasedOutsideChangesNothing) {
  Popup->SetSelStart(Day(2024, 1, 10));
  Show();
  const TRect Today = Popup->TodayButtonRect();
  Press(Centre(Today));
  EXPECT_TRUE(Popup->TodayPressed());
  EXPECT_TRUE(Popup->TodayDown());
  Move(Cell(1, 1));
  EXPECT_FALSE(Popup->TodayDown());
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 1, 10));
  Release(Cell(1, 1));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 1, 10));
  EXPECT_FALSE(Popup->TodayPressed());
  EXPECT_TRUE(Visible());
  // Back over the button before the release: today, and the popup closes.
  Press(Centre(Today));
  Move(Cell(1, 1));
  Move(Centre(Today));
  EXPECT_TRUE(Popup->TodayDown());
  Release(Centre(Today));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 6));
  EXPECT_FALSE(Visible());
}

TEST_F(GrDatePopupTest, ClearSelectsNoDateAndAPressBesideTheButtonsDoesNothing) {
  Popup->SetShowClear(true);
  Popup->SetSelStart(Day(2024, 3, 12));
  Show();
  const TRect Clear = Popup->ClearButtonRect();
  Press(TPoint{1, Clear.top + 1});
  EXPECT_FALSE(Popup->ClearPressed());
  EXPECT_FALSE(Popup->TodayPressed());
  Release(TPoint{1, Clear.top + 1});
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 12));
  Show();
  Press(Centre(Clear));
  EXPECT_TRUE(Popup->ClearPressed());
  Release(Centre(Clear));
  EXPECT_EQ(Popup->GetSelStart(), NullDate);
  EXPECT_FALSE(Visible());
}

TEST_F(GrDatePopupTest, ArrowsStepMonthsAndRepeatWhileHeldOverThem) {
  Show();
  const TRect Left = Popup->LeftArrowRect(), Right = Popup->RightArrowRect();
  Press(Centre(Left));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 2, 1));
  EXPECT_EQ(Popup->ArrowTimer(), TdxGridDatePopup::LeftArrowTimer);
  POINT Screen{Centre(Left).x, Centre(Left).y};
  ClientToScreen(Popup->Handle(), &Screen);
  MoveCursor(Screen.x, Screen.y);
  Popup->ArrowTimerTick();
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 1, 1));
  MoveCursor(Screen.x + 60, Screen.y + 60);
  Popup->ArrowTimerTick();
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 1, 1));
  Release(Centre(Left));
  EXPECT_EQ(Popup->ArrowTimer(), 0u);
  EXPECT_TRUE(Visible());
  Press(Centre(Right));
  EXPECT_EQ(Popup->ArrowTimer(), TdxGridDatePopup::RightArrowTimer);
  Release(Centre(Right));
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 2, 1));
  // The selection does not follow the months.
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 6));
}

TEST_F(GrDatePopupTest, MonthListOpensOnTheCaptionAndPicksAMonth) {
  Show();
  const TRect Caption = Popup->CaptionRect();
  Press(Centre(Caption));
  TAMonthListBox* List = Popup->MonthList();
  ASSERT_NE(List, nullptr);
  EXPECT_TRUE(IsWindowVisible(List->Handle()));
  EXPECT_EQ(List->TopDate(), Day(2023, 12, 1));
  EXPECT_EQ(List->ItemHeight(), Popup->HeaderHeight() - 2);
  EXPECT_EQ(List->ClientHeight(), 7 * List->ItemHeight());
  // Centred on the caption.
  RECT R;
  GetWindowRect(List->Handle(), &R);
  POINT Middle = Centre(Caption);
  ClientToScreen(Popup->Handle(), &Middle);
  EXPECT_LE(std::abs((R.left + R.right) / 2 - Middle.x), 1);
  EXPECT_LE(std::abs((R.top + R.bottom) / 2 - Middle.y), 1);
  // Over the sixth row, then released: that month shows.
  MoveOverList(5, 5 * List->ItemHeight() + 2);
  EXPECT_EQ(List->ItemIndex(), 5);
  EXPECT_EQ(List->GetDate(), Day(2024, 5, 1));
  Release(Centre(Caption));
  EXPECT_EQ(Popup->MonthList(), nullptr);
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 5, 1));
  EXPECT_EQ(Popup->GetSelStart(), Day(2024, 3, 6));
  EXPECT_TRUE(Visible());
}

TEST_F(GrDatePopupTest, ReleasingBesideTheMonthListKeepsTheMonth) {
  Show();
  Press(Centre(Popup->CaptionRect()));
  TAMonthListBox* List = Popup->MonthList();
  ASSERT_NE(List, nullptr);
  MoveOverList(-20, 2 * List->ItemHeight());
  EXPECT_EQ(List->ItemIndex(), -1);
  EXPECT_EQ(List->ScrollTimerId(), 0u);
  Release(TPoint{-20, 0});
  EXPECT_EQ(Popup->FirstDate(), Day(2024, 3, 1));
}

TEST_F(GrDatePopupTest, HoldingBeyondTheMonthListScrollsFasterFurtherOut) {
  Show();
  Press(Centre(Popup->CaptionRect()));
  TAMonthListBox* List = Popup->MonthList();
  ASSERT_NE(List, nullptr);
  const int Bottom = List->ClientHeight() - 1;
  MoveOverList(5, Bottom + 36);
  EXPECT_EQ(List->ScrollTimerId(), 9u);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(9), 50u);
  MoveOverList(5, Bottom + 35);
  EXPECT_EQ(List->ScrollTimerId(), 8u);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(8), 100u);
  MoveOverList(5, Bottom + 1);
  EXPECT_EQ(List->ScrollTimerId(), 6u);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(6), 500u);
  List->ScrollTimerTick();
  EXPECT_EQ(List->TopDate(), Day(2024, 1, 1));
  MoveOverList(5, -36);
  EXPECT_EQ(List->ScrollTimerId(), 1u);
  MoveOverList(5, -12);
  EXPECT_EQ(List->ScrollTimerId(), 3u);
  EXPECT_EQ(TAMonthListBox::ScrollInterval(3), 250u);
  List->ScrollTimerTick();
  List->ScrollTimerTick();
  EXPECT_EQ(List->TopDate(), Day(2023, 11, 1));
  // Back inside: no timer.
  MoveOverList(5, 3);
  EXPECT_EQ(List->ScrollTimerId(), 0u);
  EXPECT_EQ(List->ItemIndex(), 0);
  Release(Centre(Popup->CaptionRect()));
  EXPECT_EQ(Popup->FirstDate(), Day(2023, 11, 1));
}

TEST_F(GrDatePopupTest, MonthListStaysOnTheWorkArea) {
  Popup->SetBounds(0, 0, Popup->Width(), Popup->Height());
  Show();
  Press(Centre(Popup->CaptionRect()));
  ASSERT_NE(Popup->MonthList(), nullptr);
  RECT R, Work;
  GetWindowRect(Popup->MonthList()->Handle(), &R);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  EXPECT_GE(R.top, Work.top);
  EXPECT_GE(R.left, Work.left);
  Release(Centre(Popup->CaptionRect()));
}

TEST_F(GrDatePopupTest, NothingHeldOutlivesClosingFreeingOrALostCapture) {
  Show();
  Press(Centre(Popup->LeftArrowRect()));
  EXPECT_NE(Popup->ArrowTimer(), 0u);
  EXPECT_EQ(GetCapture(), Popup->Handle());
  Popup->ClosePopup();
  EXPECT_EQ(Popup->ArrowTimer(), 0u);
  EXPECT_NE(GetCapture(), Popup->Handle());

  Show();
  Press(Centre(Popup->CaptionRect()));
  ASSERT_NE(Popup->MonthList(), nullptr);
  HWND ListWindow = Popup->MonthList()->Handle();
  ReleaseCapture();
  EXPECT_EQ(Popup->MonthList(), nullptr);
  EXPECT_FALSE(IsWindow(ListWindow));

  Press(Centre(Popup->TodayButtonRect()));
  EXPECT_TRUE(Popup->TodayPressed());
  ReleaseCapture();
  EXPECT_FALSE(Popup->TodayPressed());

  Press(Centre(Popup->CaptionRect()));
  ASSERT_NE(Popup->MonthList(), nullptr);
  ListWindow = Popup->MonthList()->Handle();
  MoveOverList(5, Popup->MonthList()->ClientHeight() + 40);
  EXPECT_NE(Popup->MonthList()->ScrollTimerId(), 0u);
  Owned.clear();
  Popup->Free();
  EXPECT_FALSE(IsWindow(ListWindow));
  EXPECT_EQ(GetCapture(), nullptr);
  Pump();
}

TEST_F(GrDatePopupTest, PaintShowsSelectionTodayHeaderAndButtons) {
  Popup->SetSelStart(Day(2024, 3, 13));
  Show();
  uitest::PaintNow(Popup);
  HWND Wnd = Popup->Handle();
  auto At = [Wnd](TPoint P) { return GetPixel(TClientDC(Wnd).DC(), P.x, P.y); };
  const int Col = Popup->ColWidth(), Row = Popup->RowHeight();
  // March 2024 starts on a Friday: the 6th is row 1, column 3; the 13th row 2.
  const TPoint TodayCentre = Cell(1, 3), Selected = Cell(2, 3), Plain = Cell(3, 3);
  EXPECT_EQ(At(TPoint{TodayCentre.x - Col / 2, TodayCentre.y - Row / 2}), RGB(128, 0, 0));
  EXPECT_EQ(At(TPoint{Selected.x - Col / 2 + 1, Selected.y - Row / 2 + 1}), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(TPoint{Plain.x - Col / 2 + 1, Plain.y - Row / 2 + 1}), GetSysColor(COLOR_WINDOW));
  // The header's face, its left arrow, and the Today button's dark outer edge.
  EXPECT_EQ(At(TPoint{Popup->ClientWidth() / 2, 2}), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(TPoint{Popup->SideWidth(), Popup->HeaderHeight() / 2}), GetSysColor(COLOR_BTNTEXT));
  const TRect Today = Popup->TodayButtonRect();
  EXPECT_EQ(At(TPoint{Today.right - 1, Today.bottom - 1}), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(At(TPoint{Today.left + 3, Today.top + 3}), GetSysColor(COLOR_BTNFACE));
  // Below the grid's last row: the window colour of the region's fill.
  EXPECT_EQ(At(TPoint{1, Cell(5, 0).y}), GetSysColor(COLOR_WINDOW));
  // Not flat: a dark line under the header, and the selection in the highlight colour.
  Popup->SetFlat(false);
  uitest::PaintNow(Popup);
  EXPECT_EQ(At(TPoint{Popup->ClientWidth() / 2, Popup->HeaderHeight()}), GetSysColor(COLOR_BTNTEXT));
  const TPoint Moved = Cell(2, 3);
  EXPECT_EQ(At(TPoint{Moved.x - Col / 2 + 1, Moved.y - Row / 2 + 1}), GetSysColor(COLOR_HIGHLIGHT));
}

// The selected day's digits stand out from its cell in both looks: the flat look's
// face colour is light, and the highlight text would be light on it too.
TEST_F(GrDatePopupTest, TheSelectedDayIsReadableFlatOrNot) {
  Popup->SetSelStart(Day(2024, 3, 13));
  Show();
  HWND Wnd = Popup->Handle();
  const int Col = Popup->ColWidth(), Row = Popup->RowHeight();
  const TPoint Selected = Cell(2, 3);
  const TRect Box{Selected.x - Col / 2 + 1, Selected.y - Row / 2 + 1, Selected.x + Col / 2,
                  Selected.y + Row / 2};
  // The strongest contrast between the cell's corner (its background) and its digits.
  auto DigitsContrast = [&] {
    uitest::PaintNow(Popup);
    TClientDC DC(Wnd);
    const COLORREF Back = GetPixel(DC.DC(), Box.left, Box.top);
    double Best = 1;
    for (int Y = Box.top; Y < Box.bottom; ++Y)
      for (int X = Box.left; X < Box.right; ++X)
        Best = std::max(Best, surfacetest::Contrast(Back, GetPixel(DC.DC(), X, Y)));
    return Best;
  };
  ASSERT_TRUE(Popup->Flat());
  EXPECT_GE(DigitsContrast(), 4.5) << "flat";
  Popup->SetFlat(false);
  EXPECT_GE(DigitsContrast(), 3.0) << "not flat";
}
