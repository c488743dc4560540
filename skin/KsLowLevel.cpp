// Pixel routines. The loops handle four pixels per step with SSE2 and finish the last
// one to three pixels with the scalar form, so every pixel gets the same value either
// way.
#include "skin/KsLowLevel.h"

#include <cpuid.h>
#include <emmintrin.h>

#include <algorithm>

namespace {

inline __m128i Load(const TKsColor* P) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
}
inline void Store(TKsColor* P, __m128i V) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(P), V);
}

// The formula works on 16-bit lanes without unpacking: masking a pixel with
// 0x00FF00FF leaves blue and red in the two 16-bit halves of its 32 bits, and a 16-bit
// shift right by 8 leaves green and alpha there. Each product x * a + 128 stays below
// 65536, and each channel's two terms add up to at most 255.
inline __m128i LowBytes(__m128i P) { return _mm_and_si128(P, _mm_set1_epi32(0x00FF00FF)); }
inline __m128i HighBytes(__m128i P) { return _mm_srli_epi16(P, 8); }

// floor((x * a + 128) / 256) per 16-bit lane.
inline __m128i ScaleChannels(__m128i X, __m128i A) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(X, A), _mm_set1_epi16(128)), 8);
}

// Both 16-bit halves of each pixel := its alpha, from the green/alpha lanes.
inline __m128i AlphaLanes(__m128i GreenAlpha) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(GreenAlpha, 0xF5), 0xF5);
}

// Blue/red and green/alpha lanes back into pixels.
inline __m128i Join(__m128i BlueRed, __m128i GreenAlpha) {
  return _mm_or_si128(BlueRed, _mm_slli_epi16(GreenAlpha, 8));
}

// The blend formula for four pixels, without the alpha 0 and 255 cases.
inline __m128i BlendFormula(__m128i S, __m128i D) {
  const __m128i SGreenAlpha = HighBytes(S);
  const __m128i A = AlphaLanes(SGreenAlpha);
  const __m128i B = _mm_xor_si128(A, _mm_set1_epi32(0x00FF00FF));  // 255 - a
  const __m128i BlueRed =
      _mm_add_epi16(ScaleChannels(LowBytes(S), A), ScaleChannels(LowBytes(D), B));
  const __m128i GreenAlpha =
      _mm_add_epi16(ScaleChannels(SGreenAlpha, A), ScaleChannels(HighBytes(D), B));
  return Join(BlueRed, GreenAlpha);
}

// Picks A where Mask is set, else B.
inline __m128i Select(__m128i Mask, __m128i A, __m128i B) {
  return _mm_or_si128(_mm_and_si128(Mask, A), _mm_andnot_si128(Mask, B));
}

}  // namespace

void FillPixels(TKsColor* Pixels, int Count, TKsColor Color) {
  int I = 0;
  const __m128i V = _mm_set1_epi32(static_cast<int>(Color));
  for (; I + 4 <= Count; I += 4) Store(Pixels + I, V);
  for (; I < Count; ++I) Pixels[I] = Color;
}

void FillPixelRect(TKsColor* Bits, int RowWidth, int Height, int X1, int Y1, int X2, int Y2,
                   TKsColor Color) {
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  X2 = std::min(X2, RowWidth - 1);
  Y2 = std::min(Y2, Height - 1);
  if (X2 < X1 || Y2 < Y1) return;
  for (int Y = Y1; Y <= Y2; ++Y) FillPixels(Bits + Y * RowWidth + X1, X2 - X1 + 1, Color);
}

void SetAlphaRun(TKsColor* Pixels, int Count, Byte Alpha) {
  const TKsColor High = static_cast<TKsColor>(Alpha) << 24;
  const __m128i ColourMask = _mm_set1_epi32(0x00FFFFFF);
  const __m128i AlphaBits = _mm_set1_epi32(static_cast<int>(High));
  int I = 0;
  for (; I + 4 <= Count; I += 4)
    Store(Pixels + I, _mm_or_si128(_mm_and_si128(Load(Pixels + I), ColourMask), AlphaBits));
  for (; I < Count; ++I) Pixels[I] = (Pixels[I] & 0x00FFFFFFu) | High;
}

void SetAlphaPixelRect(TKsColor* Bits, int RowWidth, int Height, int X1, int Y1, int X2,
                       int Y2, Byte Alpha) {
  X1 = std::max(X1, 0);
  Y1 = std::max(Y1, 0);
  X2 = std::min(X2, RowWidth - 1);
  Y2 = std::min(Y2, Height - 1);
  if (X2 < X1 || Y2 < Y1) return;
  for (int Y = Y1; Y <= Y2; ++Y) SetAlphaRun(Bits + Y * RowWidth + X1, X2 - X1 + 1, Alpha);
}

// CPUID names AVX and AVX2; OSXSAVE with XCR0's SSE and AVX bits says the system saves
// the wide registers on a thread switch.
bool CpuHasAvx2() {
  unsigned A = 0, B = 0, C = 0, D = 0;
  if (!__get_cpuid(1, &A, &B, &C, &D)) return false;
  const bool OsSaves = (C & bit_OSXSAVE) != 0;
  const bool Avx = (C & bit_AVX) != 0;
  if (!OsSaves || !Avx) return false;
  unsigned Low = 0, High = 0;  // XCR0
  __asm__ volatile("xgetbv" : "=a"(Low), "=d"(High) : "c"(0));
  (void)High;
  if ((Low & 6) != 6) return false;
  if (!__get_cpuid_count(7, 0, &A, &B, &C, &D)) return false;
  return (B & bit_AVX2) != 0;
}

namespace {

using TBlendPixelsProc = void (*)(const TKsColor*, const TKsColor*, TKsColor*, int);

// The first call picks the path; two threads racing here store the same answer.
void ChooseBlendPixels(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count);
TBlendPixelsProc BlendPixelsPath = ChooseBlendPixels;

void ChooseBlendPixels(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count) {
  BlendPixelsPath = CpuHasAvx2() ? BlendPixelsAvx2 : BlendPixelsSse2;
  BlendPixelsPath(Src, Dst, Out, Count);
}

}  // namespace

void BlendPixels(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count) {
  BlendPixelsPath(Src, Dst, Out, Count);
}

void BlendPixelsSse2(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count) {
  const __m128i AlphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i Zero = _mm_setzero_si128();
  int I = 0;
  for (; I + 4 <= Count; I += 4) {
    const __m128i S = Load(Src + I);
    const __m128i D = Load(Dst + I);
    const __m128i SA = _mm_and_si128(S, AlphaMask);
    const __m128i Opaque = _mm_cmpeq_epi32(SA, AlphaMask);
    const __m128i Clear = _mm_cmpeq_epi32(SA, Zero);
    if (_mm_movemask_epi8(_mm_or_si128(Opaque, Clear)) == 0) {
      Store(Out + I, BlendFormula(S, D));  // four partly transparent source pixels
      continue;
    }
    const int OpaqueBits = _mm_movemask_epi8(Opaque);
    if (OpaqueBits == 0xFFFF) {
      Store(Out + I, S);  // four opaque ones: a copy
    } else if (_mm_movemask_epi8(Clear) == 0xFFFF) {
      if (Out != Dst) Store(Out + I, D);  // four clear ones: the destination stays
    } else {
      Store(Out + I, Select(Clear, D, Select(Opaque, S, BlendFormula(S, D))));
    }
  }
  for (; I < Count; ++I) Out[I] = BlendPixel(Src[I], Dst[I]);
}

void BlendColorPixels(TKsColor Color, TKsColor* Pixels, int Count) {
  const Cardinal A = Color >> 24;
  if (A == 0 || Count < 1) return;
  if (A == 255) {
    FillPixels(Pixels, Count, Color);
    return;
  }
  // The colour's share of every channel is the same for all pixels.
  const __m128i C = _mm_set1_epi32(static_cast<int>(Color));
  const __m128i AV = _mm_set1_epi16(static_cast<short>(A));
  const __m128i SBlueRed = ScaleChannels(LowBytes(C), AV);
  const __m128i SGreenAlpha = ScaleChannels(HighBytes(C), AV);
  const __m128i B = _mm_set1_epi16(static_cast<short>(255 - A));
  int I = 0;
  for (; I + 4 <= Count; I += 4) {
    const __m128i D = Load(Pixels + I);
    Store(Pixels + I, Join(_mm_add_epi16(SBlueRed, ScaleChannels(LowBytes(D), B)),
                           _mm_add_epi16(SGreenAlpha, ScaleChannels(HighBytes(D), B))));
  }
  for (; I < Count; ++I) Pixels[I] = BlendPixel(Color, Pixels[I]);
}

void ReplaceRgbPixels(TKsColor* Pixels, int Count, TKsColor Key, TKsColor With) {
  const TKsColor Rgb = Key & 0x00FFFFFFu;
  const __m128i ColourMask = _mm_set1_epi32(0x00FFFFFF);
  const __m128i KeyV = _mm_set1_epi32(static_cast<int>(Rgb));
  const __m128i WithV = _mm_set1_epi32(static_cast<int>(With));
  int I = 0;
  for (; I + 4 <= Count; I += 4) {
    const __m128i P = Load(Pixels + I);
    const __m128i Hit = _mm_cmpeq_epi32(_mm_and_si128(P, ColourMask), KeyV);
    if (_mm_movemask_epi8(Hit) != 0) Store(Pixels + I, Select(Hit, WithV, P));
  }
  for (; I < Count; ++I)
    if ((Pixels[I] & 0x00FFFFFFu) == Rgb) Pixels[I] = With;
}
