// The Highlight painter: its registration, metrics and fonts, the colour rule with
// the deltas, progress chunks, the disabled tool button and the window region.
#include <gtest/gtest.h>

#include "classlib/Graphics.h"
#include "skin/KsThemeEngine.h"
#include "skin/TeThemeHighlight.h"
#include "skin/TeThemeLines.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

constexpr TColor RgbColor(int R, int G, int B) { return static_cast<TColor>(R | G << 8 | B << 16); }

class HighlightTest : public ::testing::Test {
 protected:
  TOwned<TTeThemeHighlight> Painter{NewObject<TTeThemeHighlight>()};
  TOwned<TKsBitmap> Bitmap{NewObject<TKsBitmap>()};
  void SetUp() override {
    Bitmap->SetSize(120, 60);
    Bitmap->Fill(KsColorWhite);
  }
  TKsColor At(int X, int Y) { return Rgb(Bitmap->GetPixel(X, Y)); }
  TKsColor Colour(Byte Index) { return Rgb(ColorToKsColor(Painter->GetColor(Index), 255)); }
};

TEST_F(HighlightTest, IsRegisteredAtKitStartAndAlwaysAvailable) {
  TTeThemeClass Class = FindTheme("Highlight");
  ASSERT_NE(Class, nullptr);
  EXPECT_TRUE(Class->IsAvailable());
  TOwned<TTeThemeEngine> Engine(NewObject<TTeThemeEngine>(nullptr));
  Engine->SetThemeClass(Class);
  EXPECT_TRUE(Engine->ThemeAvailable());
  EXPECT_TRUE(Engine->Theme()->Is<TTeThemeHighlight>());
}

TEST_F(HighlightTest, MetricsAndFontsFollowTheirTables) {
  EXPECT_EQ(Painter->GetSize(2), 23);
  EXPECT_EQ(Painter->GetSize(14), 22);
  EXPECT_EQ(Painter->GetSize(16), 13);
  EXPECT_EQ(Painter->GetSize(29), 11);
  EXPECT_EQ(Painter->GetSize(30), 0);
  AnsiString Name;
  Painter->GetFontName(4, Name);
  EXPECT_EQ(Name, "Tahoma");
  Painter->GetFontName(5, Name);
  EXPECT_EQ(Name, "Tahome");
  EXPECT_EQ(Painter->GetFontSize(0), 9);
  EXPECT_EQ(Painter->GetFontSize(3), 8);
  EXPECT_EQ(Painter->GetFontStyle(1), TFontStyles{fsBold});
  EXPECT_EQ(Painter->GetFontStyle(2), TFontStyles{});
}

TEST_F(HighlightTest, BrightnessIsAddedAfterTheHueShiftAndSaturates) {
  EXPECT_EQ(Painter->GetColor(12), RgbColor(248, 199, 81));
  Painter->SetDeltaBrightness(40);
  EXPECT_EQ(Painter->GetColor(12), RgbColor(255, 239, 121));
  Painter->SetDeltaBrightness(0);
  EXPECT_EQ(Painter->GetColor(11), ColorToRGB(clBtnFace));
  EXPECT_EQ(Painter->GetColor(26), RgbColor(255, 0, 0));
  EXPECT_EQ(Painter->GetColor(200), RgbColor(255, 0, 0));
  Painter->SetDeltaHue(60);
  EXPECT_NE(Painter->GetColor(12), RgbColor(248, 199, 81));
}

TEST_F(HighlightTest, ProgressChunksOfPitch15AndLength13FourFor45Pixels) {
  const TRect Bar{0, 0, 100, 20};
  Painter->DrawProgressChunk(Bitmap.get(), Bar, TRect{0, 0, 45, 20}, false, false);
  const TKsColor Chunk = Colour(8);
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(At(I * 15, 10), Chunk) << I;
    EXPECT_EQ(At(I * 15 + 12, 10), Chunk) << I;
    EXPECT_EQ(At(I * 15 + 13, 10), Rgb(KsColorWhite)) << I;
    EXPECT_EQ(At(I * 15 + 14, 10), Rgb(KsColorWhite)) << I;
  }
  EXPECT_EQ(At(60, 10), Rgb(KsColorWhite));
  // Vertical: from the filled part's bottom upward, clipped to the bar.
  Bitmap->Fill(KsColorWhite);
  Painter->DrawProgressChunk(Bitmap.get(), TRect{0, 0, 20, 50}, TRect{0, 5, 20, 50}, true, false);
  EXPECT_EQ(At(10, 49), Chunk);
  EXPECT_EQ(At(10, 37), Chunk);
  EXPECT_EQ(At(10, 36), Rgb(KsColorWhite));
  EXPECT_EQ(At(10, 6), Rgb(KsColorWhite));
  EXPECT_EQ(At(10, 0), Chunk);  // the fourth chunk, cut at the bar's top
}

TEST_F(HighlightTest, ADisabledToolButtonDrawsTheDisabledLook) {
  const TRect R{10, 10, 40, 40};
  Painter->DrawToolButton(Bitmap.get(), R, tdsDisabled, false, false);
  EXPECT_EQ(At(25, 10), Colour(9));
  EXPECT_EQ(At(25, 25), Colour(11));
  Bitmap->Fill(KsColorWhite);
  Painter->DrawToolButton(Bitmap.get(), R, tdsDisabled, true, false);
  EXPECT_EQ(At(25, 25), Colour(6));
  // A flat normal unchecked button draws nothing.
  Bitmap->Fill(KsColorWhite);
  Painter->DrawToolButton(Bitmap.get(), R, tdsNormal, true, false);
  EXPECT_EQ(At(25, 10), Rgb(KsColorWhite));
}

TEST_F(HighlightTest, TheWindowRegionIsTheWindowWithRoundedCorners) {
  HRGN Region = Painter->GetWindowRegion(100, 50, kbsStandard);
  ASSERT_NE(Region, nullptr);
  // The system's rounded regions end a pixel inside the corner they are given.
  RECT Box;
  GetRgnBox(Region, &Box);
  EXPECT_EQ(Box.right, 100);
  EXPECT_EQ(Box.bottom, 50);
  EXPECT_TRUE(PtInRegion(Region, 99, 25));
  EXPECT_TRUE(PtInRegion(Region, 50, 49));
  EXPECT_TRUE(PtInRegion(Region, 2, 2));
  EXPECT_FALSE(PtInRegion(Region, 0, 0));
  EXPECT_FALSE(PtInRegion(Region, 99, 49));
  DeleteCountedObject(Region);
}

TEST_F(HighlightTest, ACheckedCheckBoxShowsTheMarkInTheOutlineColour) {
  const TRect R{10, 10, 23, 23};
  Painter->DrawCheckBox(Bitmap.get(), R, tdsNormal, 0);
  int Outline = 0;
  for (int Y = 12; Y < 21; ++Y)
    for (int X = 12; X < 21; ++X) Outline += At(X, Y) == Colour(7);
  EXPECT_EQ(Outline, 0);
  Painter->DrawCheckBox(Bitmap.get(), R, tdsNormal, 1);
  for (int Y = 12; Y < 21; ++Y)
    for (int X = 12; X < 21; ++X) Outline += At(X, Y) == Colour(7);
  EXPECT_GT(Outline, 5);
  EXPECT_EQ(At(10, 10), Colour(7));
}

TEST_F(HighlightTest, TheGripStandsInTheBarRectangleOfEitherPainter) {
  // The grip is the bar rectangle shrunk by 3 across and 1 down: (43, 11)-(77, 29).
  const TRect Whole{0, 0, 120, 60}, Bar{40, 10, 80, 30};
  TOwned<TTeThemeLines> Lines(NewObject<TTeThemeLines>());
  for (TTeThemeHighlight* P : {Painter.get(), static_cast<TTeThemeHighlight*>(Lines.get())}) {
    const char* Name = P == Painter.get() ? "Highlight" : "Lines";
    auto C = [&](Byte Index) { return Rgb(ColorToKsColor(P->GetColor(Index), 255)); };
    Bitmap->Fill(KsColorWhite);
    P->DrawGripper(Bitmap.get(), Whole, Bar);
    EXPECT_EQ(At(43, 20), C(7)) << Name << ": the grip's outline, left";
    EXPECT_EQ(At(76, 20), C(7)) << Name << ": right";
    EXPECT_EQ(At(60, 11), C(7)) << Name << ": top";
    EXPECT_EQ(At(60, 28), C(7)) << Name << ": bottom";
    EXPECT_EQ(At(60, 20), C(P == Painter.get() ? 11 : 8)) << Name << ": the grip's face";
    EXPECT_EQ(At(20, 40), C(11)) << Name << ": the whole rectangle's face beside the grip";
    EXPECT_EQ(At(3, 30), C(11)) << Name << ": no grip along the whole rectangle";
    EXPECT_EQ(At(0, 30), C(7)) << Name << ": the whole rectangle's outline";
  }
}

}  // namespace
