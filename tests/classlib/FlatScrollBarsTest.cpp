// The one binding of comctl32's flat scroll bars, on a real window with scroll bars,
// and the point unpacker of mouse messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "classlib/FlatScrollBars.h"
#include "classlib/Messages.h"

namespace {

class FlatScrollBarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX Controls{sizeof(Controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&Controls);
    Window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 200, 150, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(Window, nullptr);
  }
  void TearDown() override { DestroyWindow(Window); }
  HWND Window = nullptr;
};

TEST_F(FlatScrollBarsTest, ScrollInfoRoundTripsWithOrWithoutFlatBars) {
  if (FlatSBAvailable()) {
    EXPECT_TRUE(FlatSBInitialize(Window));
  }
  SCROLLINFO Info{sizeof(Info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 42, 0};
  FlatSBSetScrollInfo(Window, SB_VERT, Info, FALSE);
  SCROLLINFO Read{sizeof(Read), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(FlatSBGetScrollInfo(Window, SB_VERT, Read));
  EXPECT_EQ(Read.nMax, 99);
  EXPECT_EQ(Read.nPage, 10u);
  EXPECT_EQ(Read.nPos, 42);
  // The plain functions see the same bar once the flat bars are gone again.
  FlatSBUninitialize(Window);
  SCROLLINFO Plain{sizeof(Plain), SIF_POS, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(Window, SB_VERT, &Plain));
  EXPECT_EQ(Plain.nPos, 42);
  EXPECT_TRUE(FlatSBShowScrollBar(Window, SB_HORZ, FALSE));
  EXPECT_FALSE(GetWindowLongA(Window, GWL_STYLE) & WS_HSCROLL);
}

TEST(MessagePointTest, PointsLeftOfAndAboveTheOriginAreNegative) {
  const LPARAM Packed = MAKELPARAM(static_cast<WORD>(-5), 300);
  const POINT P = PointFromLParam(Packed);
  EXPECT_EQ(P.x, -5);
  EXPECT_EQ(P.y, 300);
  TMessage Message{WM_MOUSEMOVE, 0, MAKELPARAM(7, static_cast<WORD>(-2)), 0};
  EXPECT_EQ(Message.Pos().x, 7);
  EXPECT_EQ(Message.Pos().y, -2);
  EXPECT_EQ(Message.YPos(), -2);
}

}  // namespace
