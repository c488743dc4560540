// The kit's group box on real windows: the etched frame broken under the caption and
// the caption's accelerator.
#include <gtest/gtest.h>

#include "classlib/StdCtrls.h"
#include "skin/KsGroupBoxs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

class KsGroupBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(420, 300);
  }
  TForm* Form = nullptr;
};

TEST_F(KsGroupBoxTest, TheFramesTopEdgeIsBrokenUnderTheCaption) {
  auto* G = NewObject<TKsCustomGroupBox>(Form);
  G->SetParent(Form);
  G->SetBounds(10, 10, 200, 100);
  G->SetCaption("Caption");
  G->Invalidate();
  G->UpdateBuffer();
  const TRect F = G->GetFrameRect();
  const TRect T = G->CaptionRect();
  EXPECT_EQ(T.left, 12 - 3);
  const TKsColor Highlight = Rgb(ColorToKsColor(clBtnHighlight, 255));
  const TKsColor Shadow = Rgb(ColorToKsColor(clBtnShadow, 255));
  // Shadow on the row above the frame's top, highlight on it, outside the caption.
  EXPECT_EQ(Rgb(G->Buffer()->GetPixel(F.left + 2, F.top - 1)), Shadow);
  EXPECT_EQ(Rgb(G->Buffer()->GetPixel(F.left + 2, F.top)), Highlight);
  EXPECT_EQ(Rgb(G->Buffer()->GetPixel(T.right + 2, F.top)), Highlight);
  EXPECT_EQ(Rgb(G->Buffer()->GetPixel(F.right, F.top + 10)), Highlight);
  EXPECT_EQ(Rgb(G->Buffer()->GetPixel(F.right - 1, F.top + 10)), Shadow);
  // Under the caption's margins nothing of the frame.
  EXPECT_NE(Rgb(G->Buffer()->GetPixel(T.left + 1, F.top)), Highlight);
  EXPECT_NE(Rgb(G->Buffer()->GetPixel(T.right - 1, F.top - 1)), Shadow);
}

TEST_F(KsGroupBoxTest, TheAcceleratorFocusesAFocusableFirstChildElseTheGroup) {
  auto* G = NewObject<TKsCustomGroupBox>(Form);
  G->SetParent(Form);
  G->SetBounds(10, 10, 200, 100);
  G->SetCaption("&Options");
  auto* Edit = NewObject<TEdit>(Form);
  Edit->SetParent(G);
  Edit->SetBounds(10, 20, 80, 20);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'o', 0), 1);
  EXPECT_TRUE(Edit->Focused());
  Edit->SetEnabled(false);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'o', 0), 1);
  EXPECT_TRUE(G->Focused());
}

}  // namespace
