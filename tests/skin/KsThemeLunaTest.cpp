// The bitmap-atlas painter: its tables and their edges, the atlases, the caption
// buttons by border style, the window region's corners and the progress chunks.
#include <gtest/gtest.h>

#include <windows.h>

#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "skin/KsThemeLuna.h"
#include "classlib/Graphics.h"
#include "tests/classlib/UiTestSupport.h"

namespace {

class KsThemeLunaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Bitmap->SetSize(60, 40);
    Bitmap->Fill(Blank);
  }
  bool Untouched(int X, int Y) const { return Bitmap->GetPixel(X, Y) == Blank; }

  static constexpr TKsColor Blank = 0xFF123456;
  TOwned<TTeThemeLuna> Painter{NewObject<TTeThemeLuna>()};
  TOwned<TKsBitmap> Bitmap{NewObject<TKsBitmap>()};
};

TEST_F(KsThemeLunaTest, TablesAndTheirEdges) {
  EXPECT_EQ(Painter->GetSize(2), 29);
  EXPECT_EQ(Painter->GetSize(29), 11);
  EXPECT_EQ(Painter->GetSize(30), 0);
  EXPECT_EQ(Painter->GetSize(255), 0);
  EXPECT_EQ(Painter->GetColor(7), static_cast<TColor>(RGB(49, 106, 197)));
  EXPECT_EQ(Painter->GetColor(11), static_cast<TColor>(RGB(239, 235, 222)));
  for (Byte Index : {0, 1, 4, 12, 26, 200}) EXPECT_EQ(Painter->GetColor(Index), static_cast<TColor>(KsColorRed));
  AnsiString Name;
  Painter->GetFontName(4, Name);
  EXPECT_EQ(Name, "Tahoma");
  Painter->GetFontName(5, Name);
  EXPECT_EQ(Name, "Tahome") << "the odd name beyond kind 4";
  EXPECT_EQ(Painter->GetFontSize(0), 10);
  EXPECT_EQ(Painter->GetFontSize(5), 8);
  EXPECT_EQ(Painter->GetFontStyle(1), TFontStyles{fsBold});
  EXPECT_EQ(Painter->GetFontStyle(5), TFontStyles{});
  // Deltas shift the colours; going back gives the table's colour again.
  Painter->SetDeltaHue(60);
  EXPECT_NE(Painter->GetColor(7), static_cast<TColor>(RGB(49, 106, 197)));
  Painter->SetDeltaHue(0);
  EXPECT_EQ(Painter->GetColor(7), static_cast<TColor>(RGB(49, 106, 197)));
}

TEST_F(KsThemeLunaTest, TheAtlasesComeFromTheResourcesWithTheKeyTransparent) {
  EXPECT_EQ(Painter->MainAtlas()->Width(), 190);
  EXPECT_EQ(Painter->MainAtlas()->Height(), 372);
  EXPECT_EQ(Painter->AltAtlas()->Width(), 196);
  EXPECT_EQ(Painter->AltAtlas()->Height(), 435);
  EXPECT_EQ(KsAlpha(Painter->MainAtlas()->GetPixel(189, 0)), 0) << "unused: the key";
  EXPECT_EQ(KsAlpha(Painter->MainAtlas()->GetPixel(30, 10)), 255) << "the caption";
  // Deltas never accumulate: the atlas is reloaded before it is shifted.
  const TKsColor Before = Painter->MainAtlas()->GetPixel(30, 10);
  Painter->SetDeltaBrightness(30);
  EXPECT_NE(Painter->MainAtlas()->GetPixel(30, 10), Before);
  Painter->SetDeltaBrightness(0);
  EXPECT_EQ(Painter->MainAtlas()->GetPixel(30, 10), Before);
  EXPECT_EQ(FindTheme("Luna"), &TTeThemeLuna::StaticClass());
  EXPECT_EQ(DefaultThemeClass, &TTeThemeLuna::StaticClass());
}

TEST_F(KsThemeLunaTest, CaptionButtonCellsFollowTheBorderStyle) {
  const TRect R{0, 0, 30, 30};
  // A tool window's close button is the small 14 x 14 cell.
  Painter->DrawCaptionButton(Bitmap.get(), R, 0, false, false, true, kbsToolWindow);
  EXPECT_FALSE(Untouched(7, 7));
  EXPECT_TRUE(Untouched(14, 7));
  EXPECT_TRUE(Untouched(7, 14));
  // Its other buttons take the full cells.
  Bitmap->Fill(Blank);
  Painter->DrawCaptionButton(Bitmap.get(), R, 1, false, false, true, kbsToolWindow);
  EXPECT_FALSE(Untouched(18, 18));
  EXPECT_TRUE(Untouched(21, 10));
  // Without a border the close button draws nothing; the others still draw.
  Bitmap->Fill(Blank);
  Painter->DrawCaptionButton(Bitmap.get(), R, 0, false, false, true, kbsNone);
  Painter->DrawCaptionButton(Bitmap.get(), R, 8, false, false, true, kbsStandard);
  Painter->DrawWindowFrame(Bitmap.get(), 60, 40, TRect{3, 29, 57, 37}, true, kbsNone);
  for (int Y = 0; Y < 40; Y += 3)
    for (int X = 0; X < 60; X += 3) ASSERT_TRUE(Untouched(X, Y)) << X << "," << Y;
  Painter->DrawCaptionButton(Bitmap.get(), R, 3, false, false, true, kbsNone);
  EXPECT_FALSE(Untouched(10, 10));
  // Hot and pressed take other columns; inactive another atlas.
  TOwned<TKsBitmap> Other(NewObject<TKsBitmap>());
  Other->SetSize(21, 21);
  Painter->DrawCaptionButton(Other.get(), TRect{0, 0, 21, 21}, 3, true, false, true, kbsStandard);
  EXPECT_NE(Other->GetPixel(10, 2), Bitmap->GetPixel(10, 2));
}

TEST_F(KsThemeLunaTest, TheStandardRegionRoundsTheTopCornersOnly) {
  HRGN Region = Painter->GetWindowRegion(100, 50, kbsStandard);
  ASSERT_NE(Region, nullptr);
  const POINT Outside[] = {{0, 0}, {4, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {0, 3}, {0, 4}};
  for (POINT P : Outside) {
    EXPECT_FALSE(PtInRegion(Region, P.x, P.y)) << P.x << "," << P.y;
    EXPECT_FALSE(PtInRegion(Region, 99 - P.x, P.y)) << "mirrored " << P.x << "," << P.y;
  }
  for (POINT P : {POINT{5, 0}, POINT{3, 1}, POINT{2, 2}, POINT{1, 3}, POINT{1, 4}, POINT{0, 5}, POINT{0, 49}})
    EXPECT_TRUE(PtInRegion(Region, P.x, P.y)) << P.x << "," << P.y;
  DeleteCountedObject(Region);
  Region = Painter->GetWindowRegion(100, 50, kbsToolWindow);
  EXPECT_TRUE(PtInRegion(Region, 0, 0)) << "a tool window keeps the plain rectangle";
  DeleteCountedObject(Region);
}

TEST_F(KsThemeLunaTest, ProgressChunksCountByTheBarsLength) {
  // Rect 10 high: chunks of round(6.4) + 2 = 8 pixels, each 6 wide.
  const TRect Rect{0, 0, 40, 10};
  auto Chunks = [&] {
    int N = 0;
    for (int X = 0; X < 40; ++X)
      if (!Untouched(X, 5) && (X == 0 || Untouched(X - 1, 5))) ++N;
    return N;
  };
  Painter->DrawProgressChunk(Bitmap.get(), Rect, TRect{0, 0, 7, 10}, false, false);
  EXPECT_EQ(Chunks(), 0) << "a bar shorter than one chunk";
  Painter->DrawProgressChunk(Bitmap.get(), Rect, TRect{0, 0, 8, 10}, false, false);
  EXPECT_EQ(Chunks(), 2) << "one chunk long draws two";
  EXPECT_FALSE(Untouched(5, 5));
  EXPECT_TRUE(Untouched(6, 5));
  Bitmap->Fill(Blank);
  Painter->DrawProgressChunk(Bitmap.get(), Rect, TRect{0, 0, 24, 10}, false, false);
  EXPECT_EQ(Chunks(), 4);
}

// A themed window whose engine keeps the painter it starts with: its frame comes out
// of the active atlas.
class KsThemeLunaWindowTest : public uitest::UiTest {};

TEST_F(KsThemeLunaWindowTest, AThemedWindowWearsTheAtlasFrame) {
  TForm* Form = Keep(NewObject<TForm>(nullptr, CreateNew));
  Form->SetCaption("Luna");
  Form->SetBounds(60, 60, 300, 200);
  auto* Engine = NewObject<TTeThemeEngine>(Form);
  auto* Frame = NewObject<TTeThemeForm>(Form);
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose, kbiHelp});
  Frame->SetThemeEngine(Engine);
  Form->Show();
  uitest::Pump();
  auto* Luna = ObjectAs<TTeThemeLuna>(Engine->Theme());
  ASSERT_NE(Luna, nullptr);
  ASSERT_TRUE(Frame->IsThemed());

  auto WindowPixel = [&](int X, int Y) {
    HDC DC = GetWindowDC(Form->Handle());
    const COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(Form->Handle(), DC);
    return C;
  };
  auto AtlasPixel = [&](int X, int Y) {
    return static_cast<COLORREF>(KsColorToColor(Luna->MainAtlas()->GetPixel(X, Y) | 0xFF000000));
  };
  // The caption is the atlas's vertical gradient, stretched across.
  EXPECT_EQ(WindowPixel(Frame->FrameWidth() / 2, 25), AtlasPixel(30, 25));
  EXPECT_EQ(WindowPixel(1, 100), AtlasPixel(1, 40)) << "the left border";
  TRect Close;
  Frame->GetButtonRect(kbiClose, Close);
  EXPECT_EQ(WindowPixel(Close.left + 10, Close.top + 2), AtlasPixel(10, 72));
  // The region cuts the top corners.
  HRGN Region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Form->Handle(), Region), ERROR);
  EXPECT_FALSE(PtInRegion(Region, 0, 0));
  EXPECT_TRUE(PtInRegion(Region, 5, 0));
  DeleteObject(Region);
}

}  // namespace
