// Panning: direction and speed against the mark (one line every 240 ms just outside
// it, every 20 ms at the greatest distance, never sideways with only a vertical bar),
// and the modal loop on a real window driven through its timer seam: a click without
// moving keeps panning, WM_QUIT ends it and is posted again, and no capture, timer or
// mark window outlives it.
#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Pan.h"

using namespace uitest;

namespace {

constexpr TRect ScreenRect{0, 0, 1024, 768};

TEST(TreeListPanMotionTest, SpeedGrowsWithTheDistanceFromTheMark) {
  const TPoint Origin{500, 400};
  TdxTreeListPanMotion Motion(Origin, 28, 28, true, true, ScreenRect);
  Motion.MoveTo(TPoint{510, 405});
  EXPECT_EQ(0, Motion.Direction()) << "inside the mark";
  EXPECT_FALSE(Motion.LeftDeadZone());
  Motion.MoveTo(TPoint{515, 400});
  EXPECT_EQ(3, Motion.Direction());
  EXPECT_EQ(1, Motion.Speed());
  EXPECT_EQ(240u, Motion.TicksPerStep() * dxTLPanTickInterval) << "just outside: a line every 240 ms";
  Motion.MoveTo(TPoint{500, 400 - 200});
  EXPECT_EQ(2, Motion.Direction());
  EXPECT_EQ(12, Motion.Speed());
  EXPECT_EQ(20u, Motion.TicksPerStep() * dxTLPanTickInterval) << "far away: a line every 20 ms";
  Motion.MoveTo(TPoint{500 - 60, 400 + 30});
  EXPECT_EQ(1, Motion.Direction()) << "the larger offset decides";
  EXPECT_TRUE(Motion.LeftDeadZone());
}

TEST(TreeListPanMotionTest, OnlyAVerticalBarNeverPansSideways) {
  const TPoint Origin{500, 400};
  TdxTreeListPanMotion Motion(Origin, 28, 28, false, true, ScreenRect);
  Motion.MoveTo(TPoint{1000, 405});
  EXPECT_EQ(0, Motion.Direction()) << "the dead zone spans the screen's width";
  Motion.MoveTo(TPoint{0, 430});
  EXPECT_EQ(4, Motion.Direction());
  Motion.MoveTo(TPoint{1000, 370});
  EXPECT_EQ(2, Motion.Direction());
  WPARAM Code = 0;
  int Steps = 0;
  for (int I = 0; I < 12 * 3; ++I)
    if (Motion.Tick(Code) == WM_VSCROLL) ++Steps;
  EXPECT_EQ(4, Motion.Speed());
  EXPECT_EQ(36 / Motion.TicksPerStep(), Steps) << "a line every (13 - speed) ticks";
  EXPECT_EQ(static_cast<WPARAM>(SB_LINEUP), Code);
}

// The timer seam: the loop's ticks are posted by the test.
constexpr UINT_PTR FakeTimer = 0x5A5A;
UINT FakeInterval = 0;
int FakeStops = 0;
HWND MarkSeen = nullptr;
bool MarkVisible = false;
UINT_PTR FakeStart(UINT Interval) {
  FakeInterval = Interval;
  MarkSeen = dxTLActivePanMark();
  MarkVisible = MarkSeen && IsWindowVisible(MarkSeen);
  return FakeTimer;
}
void FakeStop(UINT_PTR Id) {
  if (Id == FakeTimer) ++FakeStops;
}

class TreeListPanTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedStart = dxTLPanStartTimer;
    SavedStop = dxTLPanStopTimer;
    dxTLPanStartTimer = FakeStart;
    dxTLPanStopTimer = FakeStop;
    FakeInterval = 0;
    FakeStops = 0;
    MarkSeen = nullptr;
    Form = ShownForm(500, 400);
    Tree = AddChild<TdxTreeList>(Form);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssVertical);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(800);
    Tree->BeginUpdate();
    for (int I = 0; I < 200; ++I) Tree->Add();
    Tree->EndUpdate();
    Tree->HandleNeeded();
    SetForegroundWindow(Form->Handle());
    Tree->SetFocus();
    Pump();
    // Panning starts where the mouse is; the moves posted here are measured from it.
    GetCursorPos(&Origin);
    ScreenToClient(Tree->Handle(), &Origin);
  }
  void TearDown() override {
    FreeAndNil(Tree);
    dxTLPanStartTimer = SavedStart;
    dxTLPanStopTimer = SavedStop;
    UiTest::TearDown();
  }
  void Post(UINT Msg, POINT P) { PostMessageA(Tree->Handle(), Msg, 0, MAKELPARAM(P.x, P.y)); }
  void Ticks(int Count) {
    for (int I = 0; I < Count; ++I) PostThreadMessageA(GetCurrentThreadId(), WM_TIMER, FakeTimer, 0);
  }
  // The middle press that runs the loop over what was posted before it.
  void PressMiddle() { SendMessageA(Tree->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(Origin.x, Origin.y)); }
  void ExpectNothingLeft() {
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(1, FakeStops) << "the timer is stopped once";
    EXPECT_NE(nullptr, MarkSeen);
    EXPECT_FALSE(IsWindow(MarkSeen)) << "the mark window is gone";
    EXPECT_EQ(nullptr, dxTLActivePanMotion());
  }

  POINT Origin{0, 0};
  TForm* Form = nullptr;
  TdxTreeList* Tree = nullptr;
  TdxTLPanStartTimer SavedStart = nullptr;
  TdxTLPanStopTimer SavedStop = nullptr;
};

TEST_F(TreeListPanTest, FarBelowEachTickScrollsALineDownAndNeverSideways) {
  Post(WM_MOUSEMOVE, POINT{Origin.x + 150, Origin.y + 100});
  Ticks(5);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  PressMiddle();
  EXPECT_EQ(20u, FakeInterval);
  EXPECT_TRUE(MarkVisible);
  EXPECT_EQ(5, Tree->GetTopIndex());
  EXPECT_EQ(0, Tree->LeftCoord());
  ExpectNothingLeft();
}

TEST_F(TreeListPanTest, JustOutsideTheMarkALineTakesTwelveTicks) {
  Post(WM_MOUSEMOVE, POINT{Origin.x, Origin.y + 15});
  Ticks(25);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  PressMiddle();
  EXPECT_EQ(2, Tree->GetTopIndex());
  ExpectNothingLeft();
}

TEST_F(TreeListPanTest, AMiddleClickWithoutMovingPansUntilTheNextClick) {
  Post(WM_MBUTTONUP, Origin);
  Post(WM_MOUSEMOVE, POINT{Origin.x, Origin.y + 100});
  Ticks(1);
  Post(WM_LBUTTONDOWN, Origin);
  Ticks(1);  // after the end: not the loop's any more
  PressMiddle();
  Pump();
  EXPECT_EQ(1, Tree->GetTopIndex()) << "panning went on after the first release";
  ExpectNothingLeft();

  // Once the mouse has left the mark, the release ends it.
  FakeStops = 0;
  Post(WM_MOUSEMOVE, POINT{Origin.x, Origin.y + 100});
  Post(WM_MBUTTONUP, POINT{Origin.x, Origin.y + 100});
  Ticks(1);
  PressMiddle();
  Pump();
  EXPECT_EQ(1, Tree->GetTopIndex());
  ExpectNothingLeft();
}

TEST_F(TreeListPanTest, ACancelledModeEndsPanning) {
  Post(WM_MOUSEMOVE, POINT{Origin.x, Origin.y + 100});
  PostMessageA(Tree->Handle(), WM_CANCELMODE, 0, 0);
  Ticks(3);  // after the end: not the loop's any more
  PressMiddle();
  Pump();
  EXPECT_EQ(0, Tree->GetTopIndex());
  ExpectNothingLeft();
}

TEST_F(TreeListPanTest, WmQuitEndsPanningAndIsPostedAgain) {
  PostQuitMessage(7);
  PressMiddle();
  MSG Msg;
  ASSERT_TRUE(PeekMessageA(&Msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, Msg.wParam);
  ExpectNothingLeft();
}

}  // namespace
