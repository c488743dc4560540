// Drawing into kit bitmaps: every pixel routine against a per-pixel model for
// rectangles across every edge, and the routines' worked values.
#include <gtest/gtest.h>

#include <cstdint>

#include "skin/KsBitmap.h"
#include "tests/skin/BitmapTestSupport.h"

using namespace skintest;

namespace {

// A 6 x 5 source with clear, opaque and partial pixels in a fixed pattern.
TKsColor SourcePixel(int X, int Y) {
  static const TKsColor Alphas[] = {0x00, 0xFF, 0x80, 0x01, 0xFE, 0x40, 0xFF, 0x00};
  const std::uint32_t Hash = static_cast<std::uint32_t>(X * 73856093) ^ static_cast<std::uint32_t>(Y * 19349663);
  return (Alphas[(X + 3 * Y) % 8] << 24) | ((Hash * 2654435761u) & 0x00FFFFFF);
}

class KsClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Paint(Src.get(), SourcePixel);
    Src->SetAlphaBlend(true);
  }
  // The source pixel that Source placed with its top-left at R's puts on (X, Y), if any.
  static bool Sample(const TRect& Source, const TRect& R, int X, int Y, int& SX, int& SY) {
    SX = X - R.left + Source.left;
    SY = Y - R.top + Source.top;
    return SX >= std::max<int>(Source.left, 0) && SX < std::min<int>(Source.right, 6) &&
           SY >= std::max<int>(Source.top, 0) && SY < std::min<int>(Source.bottom, 5);
  }
  TOwned<TKsBitmap> Src = MakeBitmap(6, 5);
  // Source rectangles inside the source and reaching past its edges.
  const TRect Sources[3] = {{0, 0, 6, 5}, {1, 1, 4, 4}, {-2, -1, 7, 6}};
};

TEST_F(KsClipTest, DrawAndEqualSizedStretchComposeOnlyInsideBothBitmaps) {
  for (const TRect& S : Sources) {
    auto Model = [&](const TRect& R, int X, int Y, TKsColor Old) {
      int SX, SY;
      return Sample(S, R, X, Y, SX, SY) ? BlendPixel(SourcePixel(SX, SY), Old) : Old;
    };
    CheckEveryRect("Draw", false, [&](TKsBitmap* B, const TRect& R) { Src->Draw(B, R.left, R.top, S); }, Model);
    CheckEveryRect(
        "StretchDraw", false,
        [&](TKsBitmap* B, const TRect& R) {
          Src->StretchDraw(B, Bounds(R.left, R.top, S.right - S.left, S.bottom - S.top), S);
        },
        Model);
  }
}

TEST_F(KsClipTest, DrawUnderComposesOverTheSourceOnlyInsideBothBitmaps) {
  for (const TRect& S : Sources)
    CheckEveryRect(
        "DrawUnder", false, [&](TKsBitmap* B, const TRect& R) { B->DrawUnder(Src.get(), S, R.left, R.top); },
        [&](const TRect& R, int X, int Y, TKsColor Old) {
          int SX, SY;
          return Sample(S, R, X, Y, SX, SY) ? BlendPixel(Old, SourcePixel(SX, SY)) : Old;
        });
}

TEST_F(KsClipTest, TilesRepeatFromTheTopLeftOfTheRectangle) {
  const TRect S{1, 1, 4, 3};  // 3 x 2 tiles
  CheckEveryRect("TileDraw", false, [&](TKsBitmap* B, const TRect& R) { Src->TileDraw(B, R, S); },
                 [&](const TRect& R, int X, int Y, TKsColor Old) {
                   if (!InRect(R, X, Y)) return Old;
                   return BlendPixel(SourcePixel(1 + (X - R.left) % 3, 1 + (Y - R.top) % 2), Old);
                 });
}

TEST_F(KsClipTest, FillsCopyOrComposeInsideTheRectangle) {
  const TKsColor Back = 0x80102030, Dot = 0xFFEEDDCC;
  for (bool Blend : {false, true}) {
    auto Filled = [Blend](TKsColor C, TKsColor Old) { return Blend ? BlendPixel(C, Old) : C; };
    CheckEveryRect("FillRect", Blend, [&](TKsBitmap* B, const TRect& R) { B->FillRect(R, Back); },
                   [&](const TRect& R, int X, int Y, TKsColor Old) { return InRect(R, X, Y) ? Filled(Back, Old) : Old; });
    // A checkerboard whose (0, 0) is a dot.
    CheckEveryRect("FillHalftone", Blend, [&](TKsBitmap* B, const TRect& R) { B->FillHalftone(R, Back, Dot); },
                   [&](const TRect& R, int X, int Y, TKsColor Old) {
                     return !InRect(R, X, Y) ? Old : (X + Y) % 2 == 0 ? Dot : Filled(Back, Old);
                   });
  }
  CheckEveryRect("SetAlphaRect", false, [](TKsBitmap* B, const TRect& R) { B->SetAlphaRect(R, 0x21); },
                 [](const TRect& R, int X, int Y, TKsColor Old) {
                   return InRect(R, X, Y) ? (Old & 0xFFFFFF) | 0x21000000u : Old;
                 });
}

TEST_F(KsClipTest, EdgesRunAlongTheClippedRectangle) {
  const TKsColor C1 = 0x80FFFFFF, C2 = 0xC0000080;
  CheckEveryRect("DrawEdge", false, [&](TKsBitmap* B, const TRect& R) { B->DrawEdge(R, C1, C2); },
                 [&](const TRect& R, int X, int Y, TKsColor P) {
                   const TRect C{std::max<LONG>(R.left, 0), std::max<LONG>(R.top, 0),
                                 std::min<LONG>(R.right, DW), std::min<LONG>(R.bottom, DH)};
                   if (!InRect(C, X, Y)) return P;
                   // Top row to right - 2 and left column to bottom - 2 in the first
                   // colour (the corner twice), bottom row and right column in the second.
                   if (Y == C.top && X <= C.right - 2) P = BlendPixel(C1, P);
                   if (X == C.left && Y <= C.bottom - 2) P = BlendPixel(C1, P);
                   if (Y == C.bottom - 1) P = BlendPixel(C2, P);
                   if (X == C.right - 1 && Y <= C.bottom - 2) P = BlendPixel(C2, P);
                   return P;
                 });
}

TEST_F(KsClipTest, GradientBandsFollowTheWholeRectangle) {
  const TKsColor From = 0x20FF0000, To = 0xE00000FF;
  for (bool Vertical : {false, true})
    for (bool Blend : {false, true})
      CheckEveryRect(
          "GradientRect", Blend, [&](TKsBitmap* B, const TRect& R) { B->GradientRect(R, From, To, Vertical); },
          [&](const TRect& R, int X, int Y, TKsColor Old) {
            if (!InRect(R, X, Y)) return Old;
            const int Size = Vertical ? R.bottom - R.top : R.right - R.left;
            const int Steps = std::min(255, Size), Offset = Vertical ? Y - R.top : X - R.left;
            int Band = 0;
            while (MulDiv(Band + 1, Size, Steps) <= Offset) ++Band;
            TKsColor Color = 0;
            for (int Shift = 0; Shift < 32; Shift += 8) {
              const double A = ((From >> Shift) & 0xFF) * 255.0, B = ((To >> Shift) & 0xFF) * 255.0;
              Color |= static_cast<TKsColor>(KsRound((Band * (B - A) / Steps + A) / 255.0)) << Shift;
            }
            return Blend ? BlendPixel(Color, Old) : Color;
          });
}

// Four opaque source pixels 1..4 in a row between guard bands, stretched: a sample
// taken outside the row would show.
class KsStretchRowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Src->SetAlphaBlend(true);
    for (int X = 0; X < 4; ++X) Src->SetPixel(X, 0, 0xFF000000u | (X + 1));
  }
  // The source pixel number in each destination pixel, 0 where untouched.
  std::vector<int> Stretch(int Width, int Height, const TRect& D, const TRect& S) {
    TGuardedBitmap Dest(Width, Height, 0);
    Src->StretchDraw(Dest.get(), D, S);
    EXPECT_TRUE(Dest.GuardsIntact());
    std::vector<int> Result;
    for (TKsColor C : Dest.Pixels()) Result.push_back(C == 0 ? 0 : static_cast<int>(C & 0xFF));
    return Result;
  }
  TGuardedBitmap Src{4, 1, 0};
};

TEST_F(KsStretchRowTest, NearestPixelsIn16Dot16StepsAndNoneFromOutsideTheSource) {
  EXPECT_EQ(Stretch(8, 1, {0, 0, 8, 1}, {0, 0, 4, 1}), (std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4}));
  EXPECT_EQ(Stretch(2, 1, {0, 0, 2, 1}, {0, 0, 4, 1}), (std::vector<int>{1, 3}));
  // Three pixels cut on the left: the start is MulDiv(3 * 4, 65535, 8) = 98303.
  EXPECT_EQ(Stretch(5, 1, {-3, 0, 5, 1}, {0, 0, 4, 1}), (std::vector<int>{2, 2, 3, 3, 4}));
  // Samples outside the source leave their pixels alone.
  EXPECT_EQ(Stretch(8, 1, {0, 0, 8, 1}, {-2, 0, 2, 1}), (std::vector<int>{0, 0, 0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(Stretch(8, 1, {0, 0, 8, 1}, {2, 0, 6, 1}), (std::vector<int>{3, 3, 4, 4, 0, 0, 0, 0}));
  EXPECT_EQ(Stretch(4, 4, {0, 0, 4, 4}, {0, -1, 4, 1}),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 1, 2, 3, 4}));
  EXPECT_EQ(Stretch(8, 1, {0, 0, 8, 1}, {4, 0, 8, 1}), std::vector<int>(8, 0));
  EXPECT_EQ(Stretch(8, 1, {0, 0, 0, 1}, {0, 0, 4, 1}), std::vector<int>(8, 0));
}

TEST(KsTileTest, ASixteenWideSourceOverFortyPixelsIsTwoTilesAndItsLeftHalf) {
  TOwned<TKsBitmap> Src = MakeBitmap(20, 1);
  Paint(Src.get(), [](int X, int) { return 0xFF000000u | (X + 1); });
  TOwned<TKsBitmap> Dest = MakeBitmap(44, 1, 0);
  Src->TileDraw(Dest.get(), TRect{2, 0, 42, 1}, TRect{2, 0, 18, 1});
  for (int X = 0; X < 44; ++X)
    EXPECT_EQ(Dest->GetPixel(X, 0), (X < 2 || X >= 42) ? 0 : 0xFF000000u | (3 + (X - 2) % 16)) << X;
}

TEST(KsTileTest, TilesOverARectangleFarLargerThanTheBitmapAreDrawnWhereTheyShow) {
  // The tiles keep their places from the rectangle's top-left, however far off it lies;
  // only those on the bitmap are drawn (a 2 x 3 tile, a billion rows and columns).
  TOwned<TKsBitmap> Src = MakeBitmap(2, 3);
  Paint(Src.get(), [](int X, int Y) { return 0xFF000000u | (Y * 2 + X + 1); });
  for (bool Blend : {false, true}) {
    Src->SetAlphaBlend(Blend);
    TOwned<TKsBitmap> Dest = MakeBitmap(7, 5, 0);
    const int Far = 1000000000;
    Src->TileDraw(Dest.get(), TRect{-Far - 1, -Far, Far, Far}, TRect{0, 0, 2, 3});
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 7; ++X)
        EXPECT_EQ(Dest->GetPixel(X, Y), 0xFF000000u | (((Y + Far) % 3) * 2 + (X + Far + 1) % 2 + 1))
            << X << "," << Y << (Blend ? " blending" : "");
  }
}

TEST(KsNinePartTest, CornersKeepTheirSizeEdgesAndCentreStretchOrTile) {
  // Nine 2 x 2 parts: corners with four distinct pixels, the others one colour each.
  TOwned<TKsBitmap> Src = MakeBitmap(6, 6);
  auto IsCorner = [](int P) { return P == 0 || P == 2 || P == 6 || P == 8; };
  Paint(Src.get(), [&](int X, int Y) {
    const int P = (Y / 2) * 3 + X / 2;
    return 0xFF000000u | (P << 16) | (IsCorner(P) ? (X % 2) * 2 + Y % 2 + 1 : 0);
  });
  for (bool Stretch : {true, false}) {
    TOwned<TKsBitmap> Dest = MakeBitmap(14, 12, 0);
    Src->DrawNinePart(Dest.get(), TRect{1, 1, 13, 11}, Stretch, 2, 2, 2, 2, TRect{0, 0, 6, 6});
    for (int Y = 0; Y < 12; ++Y)
      for (int X = 0; X < 14; ++X) {
        TKsColor Want = 0;
        if (X > 0 && Y > 0 && X < 13 && Y < 11) {
          const int Col = X < 3 ? 0 : (X < 11 ? 1 : 2), Row = Y < 3 ? 0 : (Y < 9 ? 1 : 2);
          Want = 0xFF000000u | ((Row * 3 + Col) << 16);
          if (IsCorner(Row * 3 + Col))  // unscaled: the same place within the corner
            Want |= (Col == 0 ? X - 1 : X - 11) * 2 + (Row == 0 ? Y - 1 : Y - 9) + 1;
        }
        EXPECT_EQ(Dest->GetPixel(X, Y), Want) << Stretch << " " << X << "," << Y;
      }
  }
}

TEST(KsGradientTest, BandsOfTenAnd510PixelsAndAHiddenPart) {
  TOwned<TKsBitmap> B = MakeBitmap(10, 2, 0);
  B->GradientRect(TRect{0, 0, 10, 2}, 0x00000000, 0xFF0000FF, false);
  const int Ten[] = {0, 26, 51, 76, 102, 128, 153, 178, 204, 230};  // ties to even
  for (int X = 0; X < 10; ++X) EXPECT_EQ(B->GetPixel(X, 1), static_cast<TKsColor>(Ten[X] << 24 | Ten[X]));
  TOwned<TKsBitmap> V = MakeBitmap(1, 10, 0);
  V->GradientRect(TRect{0, 0, 1, 10}, 0xFF000000, 0xFF00FF00, true);
  for (int Y = 0; Y < 10; ++Y) EXPECT_EQ(V->GetPixel(0, Y), 0xFF000000u | (Ten[Y] << 8));
  TOwned<TKsBitmap> Wide = MakeBitmap(510, 1, 0);  // 255 bands of two pixels
  Wide->GradientRect(TRect{0, 0, 510, 1}, 0xFF000000, 0xFF0000FF, false);
  for (int X = 0; X < 510; ++X) ASSERT_EQ(Wide->GetPixel(X, 0), 0xFF000000u | (X / 2)) << X;
  TOwned<TKsBitmap> Part = MakeBitmap(5, 1, 0);  // the left half lies outside
  Part->GradientRect(TRect{-5, 0, 5, 1}, 0x00000000, 0xFF0000FF, false);
  for (int X = 0; X < 5; ++X) EXPECT_EQ(Part->GetPixel(X, 0), static_cast<TKsColor>(Ten[X + 5] << 24 | Ten[X + 5]));
}

TEST(KsBevelTest, NestedEdgesLightAndDark) {
  TOwned<TKsBitmap> B = MakeBitmap(8, 8, 0xFF808080);
  B->DrawBevel(TRect{0, 0, 8, 8}, 0xFF808080, false, 2);  // by 34, then by 17
  EXPECT_EQ(B->GetPixel(3, 0), 0xFFA2A2A2u);
  EXPECT_EQ(B->GetPixel(3, 7), 0xFF5E5E5Eu);
  EXPECT_EQ(B->GetPixel(3, 1), 0xFF919191u);
  EXPECT_EQ(B->GetPixel(6, 3), 0xFF6F6F6Fu);
  EXPECT_EQ(B->GetPixel(3, 3), 0xFF808080u);
  B->DrawBevel(TRect{0, 0, 8, 8}, 0xFF808080, true, 1);  // a single edge by 35
  EXPECT_EQ(B->GetPixel(1, 0), 0xFF5D5D5Du);
  EXPECT_EQ(B->GetPixel(1, 7), 0xFFA3A3A3u);
}

}  // namespace

TEST(KsGdiShapesTest, LinesAndShapesReuseThePensAndBrushesOfTheirColours) {
  const int Start = GdiHandleCount();
  const int Shared = SharedObjectCount();
  {
    TOwned<TKsBitmap> B = MakeBitmap(40, 40);
    const TKsColor Colours[] = {0xFF102030, 0xFF405060, 0xFF708090};
    const int Made = GdiObjectsMade(OBJ_PEN) + GdiObjectsMade(OBJ_BRUSH);
    for (int I = 0; I < 300; ++I) {
      const TKsColor C = Colours[I % 3];
      B->MoveTo(0, I % 40);
      B->LineTo(39, I % 40, C);
      B->FillRoundRect(TRect{2, 2, 30, 30}, 4, C);
      B->FillPolygon(std::initializer_list<TPoint>{{1, 1}, {20, 1}, {10, 15}}, C);
    }
    // Three pens and three brushes, each made once.
    EXPECT_LE(GdiObjectsMade(OBJ_PEN) + GdiObjectsMade(OBJ_BRUSH) - Made, 6);
    EXPECT_EQ(B->GetPixel(38, 299 % 40) & 0x00FFFFFF, Colours[299 % 3] & 0x00FFFFFF);
  }
  // Freeing the bitmap gives them back.
  EXPECT_EQ(SharedObjectCount(), Shared);
  EXPECT_EQ(GdiHandleCount(), Start);
}

namespace {
// A bitmap holding part of a larger image: every operation takes the image's
// coordinates, pixels, GDI and copies between bitmaps alike; a new size drops the origin.
TEST(KsOriginTest, ABitmapWithAnOriginDrawsInTheImagesCoordinates) {
  using skintest::MakeBitmap;
  TOwned<TKsBitmap> Part = MakeBitmap(4, 3, 0xFF000000);
  Part->SetOrigin(TPoint{100, 5000});
  EXPECT_EQ(Part->Bounds(), (TRect{100, 5000, 104, 5003}));
  Part->FillRect(TRect{0, 0, 101, 5001}, 0xFFFF0000);  // only the image's pixel (100, 5000)
  EXPECT_EQ(Part->Bits()[0], 0xFFFF0000u);
  EXPECT_EQ(Part->Bits()[1], 0xFF000000u);
  Part->SetPixel(103, 5002, 0xFF00FF00);
  EXPECT_EQ(Part->Bits()[11], 0xFF00FF00u);
  EXPECT_EQ(Part->GetPixel(103, 5002), 0xFF00FF00u);
  EXPECT_EQ(Part->GetPixel(3, 2), KsColorBlack);
  SetPixelV(Part->DC(), 101, 5000, RGB(0, 0, 255));
  GdiFlush();
  EXPECT_EQ(Part->Bits()[1] & 0xFFFFFF, 0x0000FFu);
  // Drawn whole onto another part of the image at its own place, blended or copied.
  for (bool Blend : {false, true}) {
    TOwned<TKsBitmap> Other = MakeBitmap(4, 3, 0xFFFFFFFF);
    Other->SetOrigin(TPoint{102, 5001});
    Part->SetAlphaBlend(Blend);
    Part->Draw(Other.get(), 100, 5000);
    EXPECT_EQ(Other->GetPixel(103, 5002), 0xFF00FF00u);
    EXPECT_EQ(Other->GetPixel(105, 5003), 0xFFFFFFFFu);
  }
  Part->SetSize(5, 3);
  EXPECT_EQ(Part->Origin(), (TPoint{0, 0}));
}
}  // namespace
