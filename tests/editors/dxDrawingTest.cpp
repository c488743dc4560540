// The drawing routines on memory DCs, read back by pixel: DrawTextInRect's direct and
// formatted paths (told apart by what fills the background: the direct path the
// background colour, the formatted one the brush), clipping, measuring, the glyph and
// checker helpers, the shadow and the size grip; the popup placement as arithmetic;
// the checker brush's life and the routines' GDI objects by the class library's count.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/ModuleInit.h"
#include "editors/dxDrawing.h"
#include "tests/editors/SurfaceSupport.h"

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Green = RGB(0, 128, 0);

using Surface = surfacetest::TSurface;

RECT RightOf(const TRect& TextRect, const TRect& FillRect) {
  return RECT{TextRect.right, FillRect.top, FillRect.right, FillRect.bottom};
}

class DrawTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LOGFONTA Log{};
    Log.lfHeight = -13;
    Log.lfQuality = NONANTIALIASED_QUALITY;
    std::strcpy(Log.lfFaceName, "Tahoma");
    Font = CreateFontIndirectA(&Log);
    RedBrush = CreateSolidBrush(Red);
  }
  void TearDown() override {
    DeleteObject(Font);
    DeleteObject(RedBrush);
  }
  SIZE Extent(const std::string& Text) {
    Surface S(1, 1);
    HGDIOBJ Old = SelectObject(S.DC(), Font);
    SIZE Size{};
    GetTextExtentPoint32A(S.DC(), Text.c_str(), static_cast<int>(Text.size()), &Size);
    SelectObject(S.DC(), Old);
    return Size;
  }
  // Black text on white, the brush red.
  int Draw(Surface& S, const std::string& Text, UINT Flags, const TRect& TextRect,
           const TRect& FillRect, int* Height = nullptr) {
    return DrawTextInRect(S.DC(), Text.c_str(), static_cast<int>(Text.size()), Height, clBlack,
                          clWhite, Font, RedBrush, Flags, TextRect, FillRect);
  }
  HFONT Font = nullptr;
  HBRUSH RedBrush = nullptr;
};

TEST_F(DrawTextTest, AFittingCentredTextGoesOutDirectlyAtTheCentredPosition) {
  const std::string Text = "Hello";
  SIZE Size = Extent(Text);
  TRect R = {0, 0, 120, 30};
  Surface Left(120, 30), Centred(120, 30);
  Draw(Left, Text, DXTR_LEFT, R, R);
  Draw(Centred, Text, DXTR_CENTER | DXTR_VCENTER, R, R);

  // The direct path fills with the background colour, never with the brush.
  EXPECT_EQ(Centred.Count(Red, R), 0);
  EXPECT_GT(Centred.Count(White, R), 0);
  TRect InkLeft = Left.Bounds(Black, R), InkCentred = Centred.Bounds(Black, R);
  ASSERT_GE(InkLeft.left, 0);
  ASSERT_GE(InkCentred.left, 0);
  EXPECT_EQ(InkCentred.left - InkLeft.left, (120 - Size.cx) / 2);
  EXPECT_EQ(InkCentred.top - InkLeft.top, (30 - Size.cy) / 2);
}

TEST_F(DrawTextTest, RightAndBottomAlignmentPlaceTheTextAgainstThoseEdges) {
  const std::string Text = "Hello";
  SIZE Size = Extent(Text);
  TRect R = {0, 0, 120, 30};
  Surface Left(120, 30), Far(120, 30);
  Draw(Left, Text, DXTR_LEFT, R, R);
  Draw(Far, Text, DXTR_RIGHT | DXTR_BOTTOM, R, R);
  TRect InkLeft = Left.Bounds(Black, R), InkFar = Far.Bounds(Black, R);
  EXPECT_EQ(InkFar.left - InkLeft.left, 120 - Size.cx);
  EXPECT_EQ(InkFar.top - InkLeft.top, 30 - Size.cy);
}

TEST_F(DrawTextTest, ATextTooWideIsClippedAtTheTextRectAndTheAreaRightOfItFilled) {
  const std::string Text = "WWWWWWWWWWWW";
  ASSERT_GT(Extent(Text).cx, 30);
  Surface S(100, 20);
  TRect TextRect = {0, 0, 30, 20}, FillRect = {0, 0, 100, 20};
  Draw(S, Text, DXTR_LEFT, TextRect, FillRect);

  EXPECT_GT(S.Count(Black, TextRect), 0);
  TRect RightPart = {30, 0, 100, 20};
  EXPECT_EQ(S.Count(Red, RightPart), 70 * 20) << "the area right of the text is the brush's";
  EXPECT_EQ(S.Count(Red, TextRect), 0);
}

// The characters a drawing hands to the device, as an enhanced metafile records them.
int CALLBACK NoteTextOut(HDC, HANDLETABLE*, const ENHMETARECORD* Record, int, LPARAM Data) {
  if (Record->iType != EMR_EXTTEXTOUTA && Record->iType != EMR_EXTTEXTOUTW) return 1;
  const auto* Out = reinterpret_cast<const EMREXTTEXTOUTA*>(Record);
  const auto* Chars = reinterpret_cast<const BYTE*>(Record) + Out->emrtext.offString;
  const int Width = Record->iType == EMR_EXTTEXTOUTW ? 2 : 1;
  std::string Text;
  for (DWORD I = 0; I < Out->emrtext.nChars; ++I) Text += static_cast<char>(Chars[Width * I]);
  reinterpret_cast<std::vector<std::string>*>(Data)->push_back(Text);
  return 1;
}

std::vector<std::string> RecordedTexts(const std::function<void(HDC)>& Paint) {
  HDC Recording = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  Paint(Recording);
  HENHMETAFILE Metafile = CloseEnhMetaFile(Recording);
  std::vector<std::string> Texts;
  EnumEnhMetaFile(nullptr, Metafile, NoteTextOut, &Texts, nullptr);
  DeleteEnhMetaFile(Metafile);
  return Texts;
}

// A text too wide for its rectangle goes to the device only as far as it shows: the
// characters that fit and the one cut by the right edge. The system renders every
// glyph it is handed, clipped or not, at a cost that grows with the font's size.
TEST_F(DrawTextTest, ATextTooWideGoesOutOnlyAsFarAsTheRightEdge) {
  const std::string Text = "WWWWxyz" + std::string(5000, 'v');
  // The characters that fit in 30 pixels.
  int Fits = 0;
  while (Extent(Text.substr(0, Fits + 1)).cx <= 30) ++Fits;
  ASSERT_GT(Fits, 0);
  for (const TRect& TextRect : {TRect{0, 0, 30, 20}, TRect{40, 0, 70, 20}}) {
    const auto Texts = RecordedTexts([&](HDC DC) {
      DrawTextInRect(DC, Text.c_str(), static_cast<int>(Text.size()), nullptr, clBlack, clWhite, Font,
                     RedBrush, DXTR_LEFT, TextRect, TRect{0, 0, 100, 20});
    });
    ASSERT_EQ(1u, Texts.size());
    EXPECT_EQ(Fits + 1, static_cast<int>(Texts[0].size()));
    EXPECT_EQ(Text.substr(0, Texts[0].size()), Texts[0]);
  }
  // Drawn whole or only as far as it shows, the pixels are the same.
  Surface Whole(100, 20), Shown(100, 20);
  const TRect TextRect{0, 0, 30, 20}, FillRect{0, 0, 100, 20};
  {
    HGDIOBJ Old = SelectObject(Whole.DC(), Font);
    SetBkColor(Whole.DC(), White);
    SetTextColor(Whole.DC(), Black);
    ExtTextOutA(Whole.DC(), 0, 0, ETO_OPAQUE | ETO_CLIPPED, &TextRect, Text.c_str(), static_cast<int>(Text.size()),
                nullptr);
    SelectObject(Whole.DC(), Old);
    const RECT Right = RightOf(TextRect, FillRect);
    ::FillRect(Whole.DC(), &Right, RedBrush);
  }
  Draw(Shown, Text, DXTR_LEFT, TextRect, FillRect);
  EXPECT_GT(Shown.Count(Black, TextRect), 0);
  EXPECT_TRUE(Whole.SameAs(Shown));
}

TEST_F(DrawTextTest, WithoutFillTheAreaRightOfATooWideTextIsLeftAlone) {
  Surface S(100, 20);
  TRect TextRect = {0, 0, 30, 20}, FillRect = {0, 0, 100, 20};
  Draw(S, "WWWWWWWWWWWW", DXTR_LEFT | DXTR_NOFILL, TextRect, FillRect);
  TRect RightPart = {30, 0, 100, 20};
  EXPECT_EQ(S.Count(RGB(1, 2, 3), RightPart), 70 * 20);
  EXPECT_EQ(S.Count(White, FillRect), 0) << "transparent output keeps the background";
}

TEST_F(DrawTextTest, ALineFeedTakesTheFormattedPathWithWordWrap) {
  SIZE Line = Extent("ab");
  Surface S(100, 60);
  TRect R = {0, 0, 100, 60};
  Draw(S, "ab\ncd", DXTR_WORDBREAK, R, R);
  EXPECT_EQ(S.Count(White, R), 0) << "the formatted path fills with the brush";
  TRect SecondLine = {0, Line.cy, 100, 2 * Line.cy};
  EXPECT_GT(S.Count(Black, SecondLine), 0);
}

TEST_F(DrawTextTest, ALineFeedTakesTheFormattedPathWithAnEllipsis) {
  Surface S(100, 60);
  TRect R = {0, 0, 100, 60};
  Draw(S, "ab\ncd", DXTR_END_ELLIPSIS, R, R);
  EXPECT_EQ(S.Count(White, R), 0);
  EXPECT_GT(S.Count(Red, R), 0);
}

TEST_F(DrawTextTest, ALineFeedWithoutWrapOrEllipsisGoesOutOnOneLine) {
  SIZE Line = Extent("ab");
  Surface S(100, 60);
  TRect R = {0, 0, 100, 60};
  Draw(S, "ab\ncd", DXTR_LEFT, R, R);
  EXPECT_EQ(S.Count(Red, R), 0) << "the direct path fills with the background colour";
  TRect Below = {0, Line.cy, 100, 60};
  EXPECT_EQ(S.Count(Black, Below), 0);
  TRect First = {0, 0, 100, Line.cy};
  EXPECT_GT(S.Count(Black, First), 0);
}

TEST_F(DrawTextTest, PrefixFlagProcessesAmpersands) {
  Surface Plain(100, 20), Prefixed(100, 20);
  TRect R = {0, 0, 100, 20};
  Draw(Plain, "&&", DXTR_LEFT, R, R);
  Draw(Prefixed, "&&", DXTR_PREFIX, R, R);
  TRect InkPlain = Plain.Bounds(Black, R), InkPrefixed = Prefixed.Bounds(Black, R);
  // One ampersand drawn instead of two.
  EXPECT_LT(InkPrefixed.right - InkPrefixed.left, InkPlain.right - InkPlain.left);
}

TEST_F(DrawTextTest, MeasuringDrawsNothingAndAnswersTheHeightTheFillNeeds) {
  SIZE Size = Extent("Hello");
  Surface S(100, 40);
  TRect All = {0, 0, 100, 40};
  TRect TextRect = {2, 3, 98, 20}, FillRect = {0, 0, 100, 24};
  int Height = -1;
  int Result = Draw(S, "Hello", DXTR_CALCRECT, TextRect, FillRect, &Height);
  EXPECT_EQ(Height, Size.cy);
  EXPECT_EQ(Result, 24 - 17 + Size.cy);
  EXPECT_EQ(S.Count(RGB(1, 2, 3), All), 100 * 40);
}

TEST_F(DrawTextTest, MeasuringAWrappedTextCountsItsLines) {
  SIZE Line = Extent("ab");
  Surface S(100, 40);
  TRect R = {0, 0, 100, 10};
  int Height = 0;
  int Result = Draw(S, "ab\ncd\nef", DXTR_WORDBREAK | DXTR_CALCRECT, R, R, &Height);
  // One line's height, and the height of all three.
  EXPECT_EQ(Height, Line.cy);
  EXPECT_EQ(Result, 3 * Line.cy);
  TRect All = {0, 0, 100, 40};
  EXPECT_EQ(S.Count(RGB(1, 2, 3), All), 100 * 40);
}

TEST_F(DrawTextTest, AnEmptyTextMeasuresZero) {
  Surface S(50, 20);
  TRect R = {0, 0, 50, 20};
  int Height = -1;
  EXPECT_EQ(Draw(S, "", DXTR_CALCRECT, R, R, &Height), 0);
  EXPECT_EQ(Height, 0);
  EXPECT_EQ(S.Count(RGB(1, 2, 3), R), 50 * 20);
}

TEST_F(DrawTextTest, TheDCsFontAndColoursAreRestored) {
  Surface S(50, 20);
  SetTextColor(S.DC(), Blue);
  SetBkColor(S.DC(), Green);
  HGDIOBJ Before = GetCurrentObject(S.DC(), OBJ_FONT);
  TRect R = {0, 0, 50, 20};
  Draw(S, "ab\ncd", DXTR_WORDBREAK | DXTR_FOCUSRECT | DXTR_FOCUSTEXT, R, R);
  EXPECT_EQ(GetTextColor(S.DC()), Blue);
  EXPECT_EQ(GetBkColor(S.DC()), Green);
  EXPECT_EQ(GetCurrentObject(S.DC(), OBJ_FONT), Before);
}

TEST_F(DrawTextTest, TheFocusRectangleSurroundsTheTextRectGrownByOne) {
  Surface S(60, 30);
  TRect R = {10, 5, 50, 25};
  TRect Fill = {0, 0, 60, 30};
  Draw(S, "", DXTR_LEFT | DXTR_FOCUSRECT | DXTR_NOFILL, R, Fill);
  // The dotted frame runs along the row above the text rectangle.
  TRect Above = {9, 4, 51, 5};
  EXPECT_GT(S.Count(RGB(1, 2, 3), Above), 0);
  EXPECT_LT(S.Count(RGB(1, 2, 3), Above), 42);
  TRect Inside = {12, 7, 48, 23};
  EXPECT_EQ(S.Count(RGB(1, 2, 3), Inside), 36 * 16);
}

TEST_F(DrawTextTest, AnEmptyTextHasNoFocusRectangleOfItsOwn) {
  Surface S(60, 30);
  TRect R = {10, 5, 50, 25};
  TRect Fill = {0, 0, 60, 30};
  Draw(S, "", DXTR_LEFT | DXTR_FOCUSRECT | DXTR_FOCUSTEXT | DXTR_NOFILL, R, Fill);
  EXPECT_EQ(S.Count(RGB(1, 2, 3), Fill), 60 * 30);
}

// ---------------------------------------------------------------------------------

TEST(PlacePopupTest, OpensAboveByExactlyItsHeightAndTheOwnersWhenThereIsMoreRoomThere) {
  TRect Area = {0, 0, 1000, 700};
  TPoint P = {100, 650};
  PlacePopupInArea(P, 200, 150, 20, Area);
  EXPECT_EQ(P.x, 100);
  EXPECT_EQ(P.y, 650 - (150 + 20));
}

TEST(PlacePopupTest, StaysBelowWithEqualRoom) {
  TRect Area = {0, 0, 1000, 700};
  TPoint P = {100, 340};  // 340 above, 700 - 360 = 340 below the owner
  PlacePopupInArea(P, 200, 400, 20, Area);
  EXPECT_EQ(P.y, 340);
}

TEST(PlacePopupTest, StaysBelowWhenItFits) {
  TRect Area = {0, 50, 1000, 700};
  TPoint P = {100, 500};
  PlacePopupInArea(P, 200, 200, 20, Area);
  EXPECT_EQ(P.y, 500);
}

TEST(PlacePopupTest, IsMovedInsideFromTheLeftAndTheRight) {
  TRect Area = {10, 0, 1000, 700};
  TPoint P = {-40, 100};
  PlacePopupInArea(P, 200, 100, 20, Area);
  EXPECT_EQ(P.x, 10);
  P = {900, 100};
  PlacePopupInArea(P, 200, 100, 20, Area);
  EXPECT_EQ(P.x, 800);
  P = {100, 100};
  PlacePopupInArea(P, 1200, 100, 20, Area);
  EXPECT_EQ(P.x, -200) << "wider than the area: the left edge ends outside";
}

TEST(PlacePopupTest, UsesTheWorkAreaOfTheMonitorAtThePosition) {
  TRect Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  TRect Area;
  GetWorkAreaAt({Work.left + 10, Work.top + 10}, Area);
  EXPECT_EQ(Area.left, Work.left);
  EXPECT_EQ(Area.bottom, Work.bottom);

  TPoint P = {Work.right - 50, Work.bottom - 30};
  PlacePopup(P, 100, 100, 20);
  EXPECT_EQ(P.x, Work.right - 100);
  EXPECT_EQ(P.y, Work.bottom - 30 - 120);
}

// ---------------------------------------------------------------------------------

TEST(DrawingTest, CheckerOverlayColoursThePixelsWhoseColumnAndRowShareParity) {
  Surface S(20, 20, Green);
  TRect R = {3, 5, 14, 16};
  DrawCheckerOverlay(S.DC(), R, clBlue);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) {
      bool Inside = X >= R.left && X < R.right && Y >= R.top && Y < R.bottom;
      COLORREF Expected = Inside && (X % 2 == Y % 2) ? Blue : Green;
      ASSERT_EQ(S.At(X, Y), Expected) << X << "," << Y;
    }
}

TEST(DrawingTest, CheckerBrushIsBlackWhereColumnAndRowShareParity) {
  ASSERT_NE(CheckerBrush(), nullptr);
  Surface S(8, 8);
  TRect R = {0, 0, 8, 8};
  SetTextColor(S.DC(), Black);
  SetBkColor(S.DC(), White);
  FillRect(S.DC(), &R, CheckerBrush());
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) ASSERT_EQ(S.At(X, Y), X % 2 == Y % 2 ? Black : White) << X << "," << Y;
}

TEST(DrawingTest, TheUnitMakesAndFreesTheCheckerBrushCounted) {
  int Before = GdiHandleCount();
  DonedxDrawing();
  EXPECT_EQ(CheckerBrush(), nullptr);
  EXPECT_EQ(GdiHandleCount(), Before - 1);
  DonedxDrawing();  // a second end frees nothing
  EXPECT_EQ(GdiHandleCount(), Before - 1);
  InitdxDrawing();
  EXPECT_NE(CheckerBrush(), nullptr);
  EXPECT_EQ(GdiHandleCount(), Before);
}

TEST(DrawingTest, TheRoutinesLeaveNoGdiObjectBehind) {
  Surface S(40, 40, Green);
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(8, 8));
  HBRUSH Brush = CreateSolidBrush(Red);
  Glyph->Canvas()->Handle();  // the bitmap's own DC, which it keeps
  int Before = GdiHandleCount();
  DrawCheckerOverlay(S.DC(), {0, 0, 40, 40}, clBlue);
  DrawGlyphWithBrush(S.DC(), Brush, {0, 0, 8, 8}, Glyph.get());
  DrawBitmapOnBrush(S.DC(), Brush, {0, 0, 20, 20}, Glyph.get(), {2, 2, 10, 10});
  TRect Grip = {0, 0, 40, 40};
  DrawSizeGrip(S.DC(), Grip, coBottomRight);
  EXPECT_EQ(GdiHandleCount(), Before);
  DeleteObject(Brush);
}

// A 4 x 4 glyph: blue, with its transparent colour (fuchsia) in the left column.
TOwned<TBitmap> TwoColourGlyph() {
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(4, 4));
  Glyph->SetPixelFormat(pf32bit);
  HDC DC = Glyph->Canvas()->Handle();
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) SetPixel(DC, X, Y, X == 0 ? RGB(255, 0, 255) : Blue);
  Glyph->SetTransparentColor(static_cast<TColor>(RGB(255, 0, 255)));
  return Glyph;
}

TEST(DrawingTest, GlyphWithBrushReplacesTheTransparentColourByTheBrush) {
  TOwned<TBitmap> Glyph = TwoColourGlyph();
  Surface S(10, 10, Green);
  HBRUSH Brush = CreateSolidBrush(Red);
  DrawGlyphWithBrush(S.DC(), Brush, {3, 2, 20, 20}, Glyph.get());
  DeleteObject(Brush);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 10; ++X) {
      COLORREF Expected = Green;
      if (X >= 3 && X < 7 && Y >= 2 && Y < 6) Expected = X == 3 ? Red : Blue;
      ASSERT_EQ(S.At(X, Y), Expected) << X << "," << Y;
    }
}

TEST(DrawingTest, BitmapOnBrushFillsTheWholeDestination) {
  TOwned<TBitmap> Glyph = TwoColourGlyph();
  Surface S(12, 12, Green);
  HBRUSH Brush = CreateSolidBrush(Red);
  DrawBitmapOnBrush(S.DC(), Brush, {1, 1, 11, 11}, Glyph.get(), {2, 3, 6, 7});
  DeleteObject(Brush);
  EXPECT_EQ(S.At(0, 0), Green);
  EXPECT_EQ(S.At(1, 1), Red);
  EXPECT_EQ(S.At(10, 10), Red);
  EXPECT_EQ(S.At(11, 11), Green);
  EXPECT_EQ(S.At(1 + 2, 1 + 3), Red) << "the glyph's transparent column";
  EXPECT_EQ(S.At(1 + 3, 1 + 3), Blue);
  EXPECT_EQ(S.At(1 + 5, 1 + 6), Blue);
  EXPECT_EQ(S.At(1 + 6, 1 + 6), Red);
}

// A cell or a button far larger than any screen (a scratch bitmap of it would take
// gigabytes): what the DC shows is drawn as for a rectangle that fits, in one copy.
TEST(DrawingTest, ARectangleFarLargerThanTheDCIsDrawnWhereTheDCShowsIt) {
  const int Far = 1000000;
  const TRect Huge{-Far + 1, -Far, Far, Far};
  Surface Near(20, 20, Green), Large(20, 20, Green);
  DrawCheckerOverlay(Near.DC(), {-1, 0, 20, 20}, clBlue);
  DrawCheckerOverlay(Large.DC(), Huge, clBlue);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) ASSERT_EQ(Large.At(X, Y), Near.At(X, Y)) << X << "," << Y;

  // The glyph keeps its place in the destination; a clipped DC gets only its part.
  TOwned<TBitmap> Glyph = TwoColourGlyph();
  HBRUSH Brush = CreateSolidBrush(Red);
  Surface Placed(12, 12, Green);
  IntersectClipRect(Placed.DC(), 2, 3, 9, 12);
  DrawBitmapOnBrush(Placed.DC(), Brush, {-Far, -Far, 11, Far}, Glyph.get(), {Far + 3, Far + 4, Far + 7, Far + 8});
  SelectClipRgn(Placed.DC(), nullptr);
  DeleteObject(Brush);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) {
      COLORREF Expected = Green;
      if (X >= 2 && X < 9 && Y >= 3) Expected = (X >= 4 && X < 7 && Y >= 4 && Y < 8) ? Blue : Red;
      ASSERT_EQ(Placed.At(X, Y), Expected) << X << "," << Y;
    }
}

TEST(DrawingTest, ShadowFillsTheBottomAndRightBandsInsideTheRect) {
  Surface S(20, 20, Green);
  HBRUSH Brush = CreateSolidBrush(Red);
  DrawShadow(S.DC(), {2, 2, 18, 18}, 3, Brush);
  DeleteObject(Brush);
  EXPECT_EQ(S.Count(Red, {2, 15, 18, 18}), 16 * 3);
  EXPECT_EQ(S.Count(Red, {15, 2, 18, 15}), 3 * 13);
  EXPECT_EQ(S.Count(Red, {2, 2, 15, 15}), 0);
  EXPECT_EQ(S.At(18, 18), Green);
}

TEST(DrawingTest, EnsureBitmapSizeNeverShrinks) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(10, 10));
  EnsureBitmapSize(Bitmap.get(), 5, 20);
  EXPECT_EQ(Bitmap->Width(), 10);
  EXPECT_EQ(Bitmap->Height(), 20);
  EnsureBitmapSize(Bitmap.get(), 30, 5);
  EXPECT_EQ(Bitmap->Width(), 30);
  EXPECT_EQ(Bitmap->Height(), 20);
  EnsureBitmapSize(Bitmap.get(), 0, 0);
  EXPECT_EQ(Bitmap->Width(), 30);
  EXPECT_EQ(Bitmap->Height(), 20);
}

TEST(DrawingTest, SizeGripCutsTheRectToItsCornerBoxWithFaceStripsOutside) {
  int BoxWidth = GetSystemMetrics(SM_CXVSCROLL), BoxHeight = GetSystemMetrics(SM_CYHSCROLL);
  COLORREF Face = GetSysColor(COLOR_BTNFACE);
  Surface S(100, 80, Green);
  TRect R = {0, 0, 100, 80};
  DrawSizeGrip(S.DC(), R, coBottomRight);
  EXPECT_EQ(R.left, 100 - BoxWidth);
  EXPECT_EQ(R.top, 80 - BoxHeight);
  EXPECT_EQ(R.right, 100);
  EXPECT_EQ(R.bottom, 80);
  EXPECT_EQ(S.Count(Face, {98, R.top, 100, 80}), 2 * BoxHeight);
  EXPECT_EQ(S.Count(Face, {R.left, 78, 100, 80}), 2 * BoxWidth);
  EXPECT_EQ(S.Count(Green, {0, 0, 100, R.top}), 100 * R.top) << "nothing outside the box";

  TRect L = {0, 0, 100, 80};
  DrawSizeGrip(S.DC(), L, coTopLeft);
  EXPECT_EQ(L.right, BoxWidth);
  EXPECT_EQ(L.bottom, BoxHeight);
  EXPECT_EQ(S.Count(Face, {0, 0, 2, BoxHeight}), 2 * BoxHeight);
  EXPECT_EQ(S.Count(Face, {0, 0, BoxWidth, 2}), 2 * BoxWidth);
}

TEST(DrawingTest, SizeGripPointsIntoItsCorner) {
  // The grip's drawing, mirrored for the top-left corner, is the bottom-right one
  // turned half round.
  Surface A(40, 40, Green), B(40, 40, Green);
  TRect RA = {0, 0, 40, 40}, RB = {0, 0, 40, 40};
  DrawSizeGrip(A.DC(), RA, coBottomRight);
  DrawSizeGrip(B.DC(), RB, coTopLeft);
  int W = RA.right - RA.left - 2, H = RA.bottom - RA.top - 2;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      ASSERT_EQ(A.At(RA.left + X, RA.top + Y), B.At(RB.left + 2 + (W - 1 - X), RB.top + 2 + (H - 1 - Y)))
          << X << "," << Y;
}

TEST(DrawingTest, ImageListImageWithoutAHandleDrawsNothing) {
  TOwned<TCustomImageList> List(NewObject<TCustomImageList>(nullptr));
  Surface S(20, 20, Green);
  DrawImageListImage(S.DC(), 0, 0, List.get(), 0);
  EXPECT_EQ(S.Count(Green, {0, 0, 20, 20}), 400);
  EXPECT_FALSE(List->HandleAllocated());
}

TEST(DrawingTest, ImageListImageIsDrawnInTheListsStyle) {
  TOwned<TCustomImageList> List(NewObject<TCustomImageList>(4, 4));
  Surface Image(4, 4, Blue);
  for (int Y = 0; Y < 4; ++Y) SetPixel(Image.DC(), 0, Y, RGB(255, 0, 255));
  List->AddMasked(Image.Bitmap.get(), static_cast<TColor>(RGB(255, 0, 255)));
  Surface S(10, 10, Green);
  DrawImageListImage(S.DC(), 3, 2, List.get(), 0);
  EXPECT_EQ(S.At(4, 2), Blue);
  EXPECT_EQ(S.At(6, 5), Blue);
  EXPECT_EQ(S.At(3, 2), Green) << "the masked column shows what is below";
  EXPECT_EQ(S.At(7, 2), Green);

  // As a mask: black where the image is, the list's background elsewhere.
  List->SetImageType(itMask);
  Surface M(10, 10, Green);
  DrawImageListImage(M.DC(), 3, 2, List.get(), 0);
  EXPECT_EQ(M.At(4, 2), Black);
}

}  // namespace

namespace {

TEST(EditorsProgramStart, StartsTheClassLibraryAndTheEditorsWithTheDrawingUnit) {
  EXPECT_EQ(StartedUnitTables(), (std::vector<std::string>{"classlib", "editors"}));
  EXPECT_TRUE(IsUnitInitialized("dxDrawing"));
}

}  // namespace
