// The pixel routines: the blend formula, and the row routines (four or eight pixels a
// step) against it for every value they can meet.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/KsLowLevel.h"

namespace {

// The blend of one channel as the formula states it.
Cardinal ChannelBlend(Cardinal S, Cardinal D, Cardinal A) {
  return (S * A + 128) / 256 + (D * (255 - A) + 128) / 256;
}

Cardinal Channel(TKsColor C, int Index) { return (C >> (Index * 8)) & 0xFF; }

// A small fast generator, so sweeps are the same on every run.
struct TRandom {
  std::uint32_t State = 0x12345678;
  std::uint32_t Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
  }
};

using TBlendRow = void (*)(const TKsColor*, const TKsColor*, TKsColor*, int);

// The row blend's paths this processor can run: SSE2 always, AVX2 where it exists.
std::vector<std::pair<std::string, TBlendRow>> BlendPaths() {
  std::vector<std::pair<std::string, TBlendRow>> Paths{{"SSE2", BlendPixelsSse2}};
  if (CpuHasAvx2()) Paths.emplace_back("AVX2", BlendPixelsAvx2);
  Paths.emplace_back("chosen", BlendPixels);
  return Paths;
}

TEST(BlendPixelTest, WorkedValuesAndTheOpaqueAndClearSources) {
  EXPECT_EQ(BlendPixel(0x80FF0000, 0xFF0000FF), 0xBF80007Fu);
  EXPECT_EQ(BlendPixel(0xFF123456, 0x00ABCDEF), 0xFF123456u);
  EXPECT_EQ(BlendPixel(0x00123456, 0x80ABCDEF), 0x80ABCDEFu);
  // The formula would give 254 for an opaque 255 channel; the opaque case copies.
  EXPECT_EQ(BlendPixel(0xFFFFFFFF, 0x00000000), 0xFFFFFFFFu);
}

// For one alpha, source and destination pixels that together hold every pair of
// channel values (s, d) in each colour channel and in the destination's alpha.
void MakeAllPairs(Cardinal Alpha, std::vector<TKsColor>& Src, std::vector<TKsColor>& Dst) {
  Src.resize(65536);
  Dst.resize(65536);
  for (Cardinal K = 0; K < 65536; ++K) {
    const Cardinal S = K & 0xFF, D = K >> 8;
    Src[K] = (Alpha << 24) | (S << 16) | ((S ^ 0x5A) << 8) | (255 - S);
    Dst[K] = (D << 24) | ((D ^ 0xA5) << 16) | (D << 8) | (255 - D);
  }
}

TEST(BlendPixelsTest, EveryPathEqualsTheFormulaForEveryAlphaAndChannelPair) {
  std::vector<TKsColor> Src, Dst, Out(65536);
  for (const auto& [Name, Blend] : BlendPaths()) {
    for (Cardinal Alpha = 0; Alpha < 256; ++Alpha) {
      MakeAllPairs(Alpha, Src, Dst);
      Blend(Src.data(), Dst.data(), Out.data(), 65536);
      for (int K = 0; K < 65536; ++K) {
        ASSERT_EQ(Out[K], BlendPixel(Src[K], Dst[K]))
            << Name << " alpha " << Alpha << std::hex << " source " << Src[K] << " destination " << Dst[K];
        // The red channels meet every pair of values: the formula channel by channel.
        if (Alpha != 0 && Alpha != 255) {
          ASSERT_EQ(Channel(Out[K], 2), ChannelBlend(Channel(Src[K], 2), Channel(Dst[K], 2), Alpha));
        }
      }
    }
  }
}

TEST(BlendPixelsTest, MixedAlphasInOneStepAndEveryLengthOffsetAndAliasing) {
  TRandom Random;
  // Alphas drawn mostly from 0, 255 and their neighbours, so steps meet every mix of
  // clear, opaque and partial pixels.
  const Cardinal Alphas[] = {0, 0, 255, 255, 1, 254, 128};
  std::vector<TKsColor> Src(64), Dst(64);
  for (const auto& [Name, Blend] : BlendPaths()) {
    for (int Round = 0; Round < 4000; ++Round) {
      for (int I = 0; I < 64; ++I) {
        Src[I] = (Random.Next() & 0x00FFFFFF) | (Alphas[Random.Next() % 7] << 24);
        Dst[I] = Random.Next();
      }
      const int Offset = Round % 4, Count = Round % 23;
      std::vector<TKsColor> Expected = Dst;
      for (int I = 0; I < Count; ++I) Expected[Offset + I] = BlendPixel(Src[Offset + I], Dst[Offset + I]);

      std::vector<TKsColor> InPlace = Dst;  // Out is the destination
      Blend(Src.data() + Offset, InPlace.data() + Offset, InPlace.data() + Offset, Count);
      ASSERT_EQ(InPlace, Expected) << Name << " round " << Round;

      std::vector<TKsColor> OverSource = Src;  // Out is the source
      Blend(OverSource.data() + Offset, Dst.data() + Offset, OverSource.data() + Offset, Count);
      for (int I = 0; I < Count; ++I) ASSERT_EQ(OverSource[Offset + I], Expected[Offset + I]);
      ASSERT_EQ(OverSource[Offset + Count], Src[Offset + Count]);  // nothing written past the end

      std::vector<TKsColor> Separate(64, 0xDEADBEEF);
      Blend(Src.data() + Offset, Dst.data() + Offset, Separate.data() + Offset, Count);
      for (int I = 0; I < Count; ++I) ASSERT_EQ(Separate[Offset + I], Expected[Offset + I]);
      ASSERT_EQ(Separate[Offset + Count], 0xDEADBEEFu);
    }
  }
}

TEST(BlendPixelsTest, WholeStepsOfOpaqueClearAndPartialSourcesOnEveryPath) {
  // Runs of 8 of a kind at every offset, so a four- or eight-pixel step meets a run
  // that is all opaque, all clear or all partial, and the mixes at its ends.
  const Cardinal Kinds[] = {255, 0, 77};
  std::vector<TKsColor> Src(40), Dst(40);
  for (const auto& [Name, Blend] : BlendPaths()) {
    for (int Shift = 0; Shift < 8; ++Shift) {
      for (int I = 0; I < 40; ++I) {
        Src[I] = (Kinds[((I + Shift) / 8) % 3] << 24) | (0x123456u * (I + 1) & 0x00FFFFFF);
        Dst[I] = 0x9ABCDEF0u ^ (I * 0x01010101u);
      }
      std::vector<TKsColor> Out(40, 0xDEADBEEF), Expected(40);
      for (int I = 0; I < 40; ++I) Expected[I] = BlendPixel(Src[I], Dst[I]);
      Blend(Src.data(), Dst.data(), Out.data(), 40);
      ASSERT_EQ(Out, Expected) << Name << " shift " << Shift;
      std::vector<TKsColor> InPlace = Dst;
      Blend(Src.data(), InPlace.data(), InPlace.data(), 40);
      ASSERT_EQ(InPlace, Expected) << Name << " shift " << Shift;
    }
  }
}

TEST(BlendColorPixelsTest, EqualsTheFormulaForEveryColourOverEveryDestination) {
  std::vector<TKsColor> Dst(256 + 3), Work;
  for (Cardinal D = 0; D < 256; ++D)
    Dst[D] = (D << 24) | ((255 - D) << 16) | ((D * 7) & 0xFF) << 8 | D;
  for (Cardinal Alpha = 0; Alpha < 256; ++Alpha) {
    for (Cardinal C = 0; C < 256; ++C) {
      const TKsColor Color = (Alpha << 24) | (C << 16) | ((C ^ 0x3C) << 8) | (255 - C);
      Work = Dst;
      BlendColorPixels(Color, Work.data(), 256 + 3);
      for (int I = 0; I < 256 + 3; ++I)
        ASSERT_EQ(Work[I], BlendPixel(Color, Dst[I])) << std::hex << Color << " over " << Dst[I];
    }
  }
}

TEST(PixelRunTest, RectangleBoundsAreInclusiveAndReversedOnesAreEmpty) {
  // A 5 x 4 bitmap: (1, 1)-(3, 2) is 3 x 2 pixels; parts outside it are left out.
  std::vector<TKsColor> B(20, 0);
  FillPixelRect(B.data(), 5, 4, 3, 1, 2, 2, 5);
  FillPixelRect(B.data(), 5, 4, 1, 2, 3, 1, 5);
  FillPixelRect(B.data(), 5, 4, 1, 1, 3, 2, 9);
  SetAlphaPixelRect(B.data(), 5, 4, 3, -5, 9, 1, 0x20);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 5; ++X)
      EXPECT_EQ(B[Y * 5 + X], ((X >= 1 && X <= 3 && Y >= 1 && Y <= 2) ? 9u : 0u) |
                                  (X >= 3 && Y <= 1 ? 0x20000000u : 0u))
          << X << "," << Y;
}

}  // namespace
