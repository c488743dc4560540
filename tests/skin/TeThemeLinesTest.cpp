// The Lines painter: its registration, the palette that differs from the Highlight
// painter's, and the ruling of the caption band and a selected popup item.
#include <gtest/gtest.h>

#include "skin/KsItems.h"
#include "skin/TeThemeLines.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

class LinesTest : public ::testing::Test {
 protected:
  TOwned<TTeThemeLines> Painter{NewObject<TTeThemeLines>()};
  TOwned<TTeThemeHighlight> Highlight{NewObject<TTeThemeHighlight>()};
  TOwned<TKsBitmap> Bitmap{NewObject<TKsBitmap>()};
  void SetUp() override {
    Bitmap->SetSize(200, 60);
    Bitmap->Fill(KsColorWhite);
  }
  TKsColor At(int X, int Y) { return Rgb(Bitmap->GetPixel(X, Y)); }
  TKsColor Colour(Byte Index) { return Rgb(ColorToKsColor(Painter->GetColor(Index), 255)); }
};

TEST_F(LinesTest, IsRegisteredAtKitStartAndAlwaysAvailable) {
  TTeThemeClass Class = FindTheme("Lines");
  ASSERT_NE(Class, nullptr);
  EXPECT_TRUE(Class->IsAvailable());
  EXPECT_EQ(Class, &TTeThemeLines::StaticClass());
}

TEST_F(LinesTest, ThePaletteDiffersOnlyWhereItSays) {
  EXPECT_EQ(Colour(0), Rgb(KsColorSky));
  EXPECT_EQ(Colour(1), Rgb(KsColorShadow));
  EXPECT_EQ(Colour(14), Rgb(KsColorWindow));
  EXPECT_EQ(Colour(16), Rgb(KsColorWindow));
  for (Byte I : {2, 7, 8, 12, 13, 15, 17, 22, 25, 26})
    EXPECT_EQ(Painter->GetColor(I), Highlight->GetColor(I)) << int(I);
  // Colour 11 is the face captured at kit start, not the system's of the moment.
  const TKsColor Saved = KsColorFace;
  KsColorFace = 0xFF123456;
  EXPECT_EQ(Colour(11), 0x123456u);
  EXPECT_EQ(Highlight->GetColor(11), ColorToRGB(clBtnFace));
  KsColorFace = Saved;
}

TEST_F(LinesTest, TheCaptionBandIsRuledOnWindowRowsThatAreMultiplesOf3) {
  // Left border 4 and client top 22: the band covers rows 4 to 21.
  Painter->DrawWindowFrame(Bitmap.get(), 200, 60, TRect{4, 22, 196, 56}, true, kbsStandard);
  const TKsColor Shadow = Rgb(KsColorShadow);
  for (int Row = 5; Row < 21; ++Row)
    EXPECT_EQ(At(100, Row), Row % 3 == 0 ? Shadow : Colour(0)) << Row;
  EXPECT_EQ(At(100, 21), Colour(7));  // the band's outline
  EXPECT_EQ(At(100, 4), Colour(7));
  // The Highlight painter's band is a gradient, not ruled.
  Bitmap->Fill(KsColorWhite);
  Highlight->DrawWindowFrame(Bitmap.get(), 200, 60, TRect{4, 22, 196, 56}, true, kbsStandard);
  EXPECT_NE(At(100, 6), Shadow);
}

TEST_F(LinesTest, ASelectedPopupItemIsRuledFromItsTopAndNotBelowIt) {
  TOwned<TKsCustomItem> Item(NewObject<TKsCustomItem>(nullptr));
  const TRect R{0, 10, 200, 32};
  Painter->DrawPopupItem(Bitmap.get(), Item.get(), R, true, false);
  const TKsColor Shadow = Rgb(KsColorShadow);
  for (int Row = 11; Row < 31; ++Row)
    EXPECT_EQ(At(150, Row), (Row - 10) % 3 == 0 ? Shadow : Colour(17)) << Row;
  EXPECT_EQ(At(150, 32), Rgb(KsColorWhite));
  EXPECT_EQ(At(150, 33), Rgb(KsColorWhite));
  // Not selected: no lines.
  Painter->DrawPopupItem(Bitmap.get(), Item.get(), R, false, false);
  EXPECT_EQ(At(150, 13), Colour(16));
}

}  // namespace
