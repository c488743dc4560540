// The speed divider and container: transparent at run time (the parent shows through),
// their sizes and styles, and both found by class name for form files.
#include <gtest/gtest.h>

#include "skin/KsSpeedContainers.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

class KsSpeedContainersTest : public UiTest {};

TEST_F(KsSpeedContainersTest, BothAreTransparentAndStreamable) {
  TForm* Form = ShownForm(300, 200);
  Form->SetColor(clYellow);
  auto* Container = NewObject<TKsSpeedContainer>(Form);
  Container->SetParent(Form);
  Container->SetBounds(10, 10, 150, 40);
  auto* Divider = NewObject<TKsSpeedDivider>(Form);
  Divider->SetParent(Container);
  Divider->SetBounds(20, 5, Divider->Width(), 30);
  EXPECT_EQ(Divider->Width(), 8);
  EXPECT_TRUE(Divider->Transparent());
  EXPECT_TRUE(Container->Transparent());
  EXPECT_TRUE(Container->ControlStyle().Contains(csAcceptsControls));
  PaintNow(Form);
  PaintNow(Container);
  EXPECT_EQ(ScreenPixel(Container->Handle(), 5, 5), static_cast<COLORREF>(clYellow));
  EXPECT_EQ(ScreenPixel(Container->Handle(), 24, 20), static_cast<COLORREF>(clYellow));  // the divider

  EXPECT_EQ(GetClass("TKsSpeedDivider"), &TKsSpeedDivider::StaticClass());
  EXPECT_EQ(GetClass("TKsSpeedContainer"), &TKsSpeedContainer::StaticClass());
}

}  // namespace
