// Colour values and arithmetic: packing, clamping, HSL and the hue and brightness
// shifts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/KsBitmap.h"

namespace {

TEST(KsColorTest, PackingClampingAndWrapping) {
  EXPECT_EQ(ColorToKsColor(clRed, 0x80), 0x80FF0000u);
  EXPECT_EQ(KsColorToColor(0x80112233), static_cast<TColor>(0x00332211));
  const COLORREF Face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(KsColorFace, 0xFF000000u | (GetRValue(Face) << 16) | (GetGValue(Face) << 8) | GetBValue(Face));
  EXPECT_EQ(KsColorShadow, ColorToKsColor(clBtnShadow, 255));
  EXPECT_EQ(MakeKsColor(-5, 300, 128, 7), 0x0700FF80u);
  // Colour channels clamp; alpha wraps modulo 256.
  EXPECT_EQ(AddKsColor(0xF0F01010, 0x20, 0x20, 0x20, 0x20), 0x10FF3030u);
  EXPECT_EQ(SubKsColor(0x10102030, 0x20, 0x20, 0x20, 0x20), 0xF0000010u);
  EXPECT_EQ(LightenKsColor(0x80F01020, 0x30), 0x80FF4050u);
  EXPECT_EQ(DarkenKsColor(0x80F01020, 0x30), 0x80C00000u);
}

void ExpectHSL(TKsColor C, float H, float S, float L) {
  float Hc, Sc, Lc;
  KsColorToHSL(C, Hc, Sc, Lc);
  EXPECT_NEAR(Hc, H, 1e-6) << std::hex << C;
  EXPECT_NEAR(Sc, S, 1e-6) << std::hex << C;
  EXPECT_NEAR(Lc, L, 1e-6) << std::hex << C;
}

TEST(KsColorTest, HSLOfPrimariesGreysAndTheWrapOfNegativeHues) {
  ExpectHSL(0xFFFF0000, 0.0f, 1.0f, 0.5f);
  ExpectHSL(0xFF00FF00, 1.0f / 3.0f, 1.0f, 0.5f);
  ExpectHSL(0xFF0000FF, 2.0f / 3.0f, 1.0f, 0.5f);
  ExpectHSL(0xFFFF00FF, 5.0f / 6.0f, 1.0f, 0.5f);  // (g - b) / d is negative: plus 1
  ExpectHSL(0x00808080, 0.0f, 0.0f, 128.0f / 255.0f);
  // Lightness above one half uses d / (2 - max - min).
  ExpectHSL(0xFFFF8080, 0.0f, (1.0f - 128.0f / 255.0f) / (2.0f - 1.0f - 128.0f / 255.0f),
            (1.0f + 128.0f / 255.0f) / 2.0f);
  EXPECT_EQ(HSLToKsColor(0.0f, 0.0f, 0.5f), 0xFF808080u);  // 127.5 rounds to even 128
  EXPECT_EQ(HSLToKsColor(1.0f / 3.0f, 1.0f, 0.5f), 0xFF00FF00u);
}

TEST(KsColorTest, HSLRoundTripsReturnTheColourOpaque) {
  for (int R = 0; R < 256; R += 3)
    for (int G = 0; G < 256; G += 5)
      for (int B = 0; B < 256; B += 7) {
        const TKsColor C = 0x40000000u | (R << 16) | (G << 8) | B;
        float H, S, L;
        KsColorToHSL(C, H, S, L);
        ASSERT_EQ(HSLToKsColor(H, S, L), C | 0xFF000000u) << std::hex << C;
      }
}

TEST(KsColorTest, HueShiftsTurnModulo255AndLeaveGreysAloneAndBrightnessShiftsClamp) {
  EXPECT_EQ(ShiftHue(0xFFFF0000, 85), 0xFF00FF00u);
  EXPECT_EQ(ShiftHue(0xFFFF0000, -85), 0xFF0000FFu);  // -85 + 255 = 170, two thirds
  EXPECT_EQ(ShiftHue(0x80FF0000, 255), 0xFFFF0000u);  // 255 is a whole turn
  EXPECT_EQ(ShiftHue(0x80404040, 77), 0xFF404040u);
  // By 0: opaque, and at most the rounding of the hue to 255ths.
  for (TKsColor C : {0x10123456u, 0xFFC08020u, 0x7F2090E0u, 0xFF01FE80u}) {
    const TKsColor Shifted = ShiftHue(C, 0);
    EXPECT_EQ(Shifted >> 24, 0xFFu);
    for (int Shift = 0; Shift < 24; Shift += 8)
      EXPECT_LE(std::abs(static_cast<int>((Shifted >> Shift) & 0xFF) -
                         static_cast<int>((C >> Shift) & 0xFF)),
                3)
          << std::hex << C;
  }
  // Brightness shifts clamp every channel.
  EXPECT_EQ(ShiftBrightness(0x80102030, 40), 0xFF384858u);
  EXPECT_EQ(ShiftBrightness(0x80102030, -0x18), 0xFF000818u);
  EXPECT_EQ(ShiftBrightness(0x80F01030, 300), 0xFFFFFFFFu);
}

TEST(KsColorTest, RoundingIsToEven) {
  EXPECT_EQ(KsRound(0.5), 0);
  EXPECT_EQ(KsRound(1.5), 2);
  EXPECT_EQ(KsRound(2.5), 2);
  EXPECT_EQ(KsRound(2.5000001), 3);
  EXPECT_EQ(KsRound(-0.5), 0);
  EXPECT_EQ(KsRound(-1.5), -2);
  EXPECT_EQ(KsRound(-2.7), -3);
}

}  // namespace
