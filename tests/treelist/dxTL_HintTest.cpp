// The tree list's corner-button hint on a real window (the button's place, the delay,
// the display time, cancelling and destruction) and the unit's shared cursors, captions
// and image list.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Resources.h"

using namespace uitest;

namespace {

// ---------------------------------------------------------------------------------
// The corner button's hint

class THintTextTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  AnsiString GetHintText() override { return "Columns"; }
};

class TreeListCornerHintTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<THintTextTree>(ShownForm(500, 400));
    Tree->SetBorderStyle(bsNone);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->SetShowIndicator(true);
    Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetCaption("Name");
    Tree->HandleNeeded();
    Pump();
    ASSERT_TRUE(Tree->GetCornerButtonRect(Button));
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  void MoveTo(int X, int Y) {
    SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
    Pump();
  }
  void Fire(UINT_PTR Timer) {
    SendMessageA(Tree->Handle(), WM_TIMER, Timer, 0);
    Pump();
  }

  THintTextTree* Tree = nullptr;
  TRect Button;
};

TEST_F(TreeListCornerHintTest, TheButtonSitsInTheIndicatorCorner) {
  TdxTreeListDrawInfo DI;
  Tree->CalcRegions(DI);
  const TRect& Area = DI.HeaderButtonRect;
  EXPECT_EQ(Button.left, Area.left + 3);
  EXPECT_EQ(Button.top, Area.top + (Area.bottom - Area.top - 11) / 2);
  EXPECT_EQ(Button.right - Button.left, 12);
  EXPECT_EQ(Button.bottom - Button.top, 11);
  // Without the indicator there is no corner and no button.
  Tree->SetShowIndicator(false);
  TRect None;
  EXPECT_FALSE(Tree->GetCornerButtonRect(None));
}

TEST_F(TreeListCornerHintTest, OnAndOffWithinTheDelayLeavesNoHintAndNoTimer) {
  MoveTo(Button.left + 2, Button.top + 2);
  EXPECT_TRUE(Tree->MouseOverCornerButton());
  EXPECT_TRUE(Tree->CornerHintDelayRunning());
  MoveTo(Button.right + 40, Button.bottom + 40);
  EXPECT_FALSE(Tree->CornerHintDelayRunning());
  EXPECT_FALSE(Tree->CornerHintShowRunning());
  EXPECT_EQ(Tree->CornerHintWindow(), nullptr);
}

TEST_F(TreeListCornerHintTest, ShownAfterTheDelayAndGoneAfterTheDisplayTime) {
  MoveTo(Button.left + 2, Button.top + 2);
  Fire(110);
  EXPECT_FALSE(Tree->CornerHintDelayRunning());
  EXPECT_TRUE(Tree->CornerHintShowRunning());
  ASSERT_NE(Tree->CornerHintWindow(), nullptr);
  HWND Hint = Tree->CornerHintWindow()->Handle();
  EXPECT_TRUE(IsWindowVisible(Hint));
  EXPECT_EQ(Tree->CornerHintWindow()->Caption(), "Columns");
  // Beside the button, above it by a line of the control's font.
  RECT R;
  GetWindowRect(Hint, &R);
  const TPoint Corner = Tree->ClientToScreen(TPoint(Button.right + 4, Button.top));
  EXPECT_EQ(R.left, Corner.x);
  EXPECT_LT(R.top, Corner.y);
  Fire(111);
  EXPECT_EQ(Tree->CornerHintWindow(), nullptr);
  EXPECT_FALSE(Tree->CornerHintShowRunning());
  EXPECT_FALSE(IsWindow(Hint));
  // Still over the button: no new delay until the mouse leaves and comes back.
  MoveTo(Button.left + 3, Button.top + 3);
  EXPECT_FALSE(Tree->CornerHintDelayRunning());
  Tree->Perform(CM_MOUSELEAVE, 0, 0);
  MoveTo(Button.left + 3, Button.top + 3);
  EXPECT_TRUE(Tree->CornerHintDelayRunning());
}

TEST_F(TreeListCornerHintTest, ADestroyedControlLeavesNeitherHintNorTimer) {
  MoveTo(Button.left + 2, Button.top + 2);
  Fire(110);
  ASSERT_NE(Tree->CornerHintWindow(), nullptr);
  HWND Hint = Tree->CornerHintWindow()->Handle();
  SendMessageA(Tree->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(Tree->CornerHintWindow(), nullptr);
  EXPECT_FALSE(IsWindow(Hint));

  Tree->Perform(CM_MOUSELEAVE, 0, 0);
  MoveTo(Button.left + 2, Button.top + 2);
  Fire(110);
  ASSERT_NE(Tree->CornerHintWindow(), nullptr);
  Hint = Tree->CornerHintWindow()->Handle();
  FreeAndNil(Tree);
  Pump();
  EXPECT_FALSE(IsWindow(Hint));
}

// ---------------------------------------------------------------------------------
// The unit's cursors

TEST(TreeListResourcesTest, EveryCursorIsLoadedAndFreed) {
  HCURSOR Arrow = LoadCursorA(nullptr, IDC_ARROW);
  std::vector<HCURSOR> Loaded;
  for (const TdxTLCursorResource& C : dxTLCursorResources) {
    HCURSOR Handle = Screen->Cursors(C.Index);
    EXPECT_NE(Handle, nullptr) << C.Name;
    EXPECT_NE(Handle, Arrow) << C.Name;
    EXPECT_EQ(std::count(Loaded.begin(), Loaded.end(), Handle), 0) << C.Name;
    Loaded.push_back(Handle);
  }
  // The hot spots: the middle of a scroll cursor, the tip of a drag cursor.
  ICONINFO Info{};
  ASSERT_TRUE(GetIconInfo(Screen->Cursors(crdxTLFullScroll), &Info));
  EXPECT_EQ(Info.xHotspot, 16u);
  EXPECT_EQ(Info.yHotspot, 16u);
  DeleteObject(Info.hbmMask);
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
  ASSERT_TRUE(GetIconInfo(Screen->Cursors(crdxTLDragCopy), &Info));
  EXPECT_EQ(Info.xHotspot, 1u);
  EXPECT_EQ(Info.yHotspot, 1u);
  DeleteObject(Info.hbmMask);
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
  EXPECT_EQ(dxTLBandsCaption, "    Bands    ");
  ASSERT_NE(dxTLDummyImageList(), nullptr);
  int Width = 0, Height = 0;
  ImageList_GetIconSize(dxTLDummyImageList(), &Width, &Height);
  EXPECT_EQ(Width, 1);
  EXPECT_EQ(Height, 1);

  // A second start loads nothing again; the matching end leaves them in place.
  InitdxTLResources();
  DonedxTLResources();
  EXPECT_EQ(Screen->Cursors(crdxTLDelete), Loaded[0]);
  // The last end empties the table; the test program's unit end runs later.
  DonedxTLResources();
  for (const TdxTLCursorResource& C : dxTLCursorResources)
    EXPECT_EQ(std::count(Loaded.begin(), Loaded.end(), Screen->Cursors(C.Index)), 0) << C.Name;
  EXPECT_EQ(dxTLDummyImageList(), nullptr);
  InitdxTLResources();
  EXPECT_NE(Screen->Cursors(crdxTLMultiDragCopy), nullptr);
}

}  // namespace
