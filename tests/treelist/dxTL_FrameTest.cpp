// The tree list's frame on a real window: the flat looks with a single border give one
// pixel a side to a ring of their own instead of the system's edge, drawn sunken (lfFlat) or in the button
// shadow (lfUltraFlat), and the background is never erased.
#include <gtest/gtest.h>

#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"

using namespace uitest;

namespace {

class TreeListFrameTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TdxTreeList>(ShownForm(400, 300));
    Tree->SetBounds(10, 10, 200, 150);
    Tree->SetScrollBars(ssNone);
    Tree->HandleNeeded();
    Pump();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  SIZE ClientSize() {
    RECT R{};
    GetClientRect(Tree->Handle(), &R);
    return SIZE{R.right, R.bottom};
  }
  COLORREF WindowPixel(int X, int Y) {
    HDC DC = GetWindowDC(Tree->Handle());
    const COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(Tree->Handle(), DC);
    return C;
  }
  TdxTreeList* Tree = nullptr;
};

TEST_F(TreeListFrameTest, AFlatSingleBorderTakesOnePixelMoreASideAndDrawsItsRing) {
  const SIZE Standard = ClientSize();
  Tree->SetLookAndFeel(lfFlat);
  Pump();
  const SIZE Flat = ClientSize();
  // The ring alone: the system's sunken edge of the standard look is not kept under it,
  // or its inner pixels would never be painted.
  EXPECT_EQ(Standard.cx + 2, Flat.cx);
  EXPECT_EQ(198, Flat.cx);
  EXPECT_EQ(148, Flat.cy);
  EXPECT_EQ(0, GetWindowLongA(Tree->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // Sunken outer edge: shadow on the top and left, highlight on the bottom and right.
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), WindowPixel(50, 0));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), WindowPixel(0, 50));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), WindowPixel(199, 50));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), WindowPixel(50, 149));

  Tree->SetLookAndFeel(lfUltraFlat);
  Pump();
  EXPECT_EQ(Flat.cx, ClientSize().cx);
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), WindowPixel(199, 50));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), WindowPixel(50, 149));

  Tree->SetBorderStyle(bsNone);
  Pump();
  const SIZE None = ClientSize();
  EXPECT_EQ(200, None.cx) << "no border, no ring";
  EXPECT_EQ(150, None.cy);
}

TEST_F(TreeListFrameTest, EraseBackgroundAnswersWithoutErasing) {
  HDC DC = GetDC(Tree->Handle());
  const RECT Spot{5, 5, 15, 15};
  SetBkColor(DC, RGB(1, 2, 3));
  ExtTextOutA(DC, 0, 0, ETO_OPAQUE, &Spot, "", 0, nullptr);
  EXPECT_EQ(1, SendMessageA(Tree->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0));
  EXPECT_EQ(RGB(1, 2, 3), GetPixel(DC, 8, 8));
  ReleaseDC(Tree->Handle(), DC);
}

}  // namespace
