// The eight-pixel blend for processors with AVX2. Only this file is compiled for AVX2;
// nothing here runs unless CpuHasAvx2 said yes. The
// arithmetic is the SSE2 path's, lane for lane, so both give the same pixels.
#pragma GCC target("avx2")

#include <immintrin.h>

#include "skin/KsLowLevel.h"

namespace {

inline __m256i Load(const TKsColor* P) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(P)); }
inline void Store(TKsColor* P, __m256i V) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(P), V); }

inline __m256i LowBytes(__m256i P) { return _mm256_and_si256(P, _mm256_set1_epi32(0x00FF00FF)); }
inline __m256i HighBytes(__m256i P) { return _mm256_srli_epi16(P, 8); }

// floor((x * a + 128) / 256) per 16-bit lane.
inline __m256i ScaleChannels(__m256i X, __m256i A) {
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(X, A), _mm256_set1_epi16(128)), 8);
}

inline __m256i AlphaLanes(__m256i GreenAlpha) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(GreenAlpha, 0xF5), 0xF5);
}

inline __m256i Join(__m256i BlueRed, __m256i GreenAlpha) {
  return _mm256_or_si256(BlueRed, _mm256_slli_epi16(GreenAlpha, 8));
}

inline __m256i BlendFormula(__m256i S, __m256i D) {
  const __m256i SGreenAlpha = HighBytes(S);
  const __m256i A = AlphaLanes(SGreenAlpha);
  const __m256i B = _mm256_xor_si256(A, _mm256_set1_epi32(0x00FF00FF));  // 255 - a
  const __m256i BlueRed =
      _mm256_add_epi16(ScaleChannels(LowBytes(S), A), ScaleChannels(LowBytes(D), B));
  const __m256i GreenAlpha =
      _mm256_add_epi16(ScaleChannels(SGreenAlpha, A), ScaleChannels(HighBytes(D), B));
  return Join(BlueRed, GreenAlpha);
}

// Picks A where Mask is set, else B.
inline __m256i Select(__m256i Mask, __m256i A, __m256i B) { return _mm256_blendv_epi8(B, A, Mask); }

}  // namespace

void BlendPixelsAvx2(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count) {
  const __m256i AlphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i Zero = _mm256_setzero_si256();
  int I = 0;
  for (; I + 8 <= Count; I += 8) {
    const __m256i S = Load(Src + I);
    const __m256i D = Load(Dst + I);
    const __m256i SA = _mm256_and_si256(S, AlphaMask);
    const __m256i Opaque = _mm256_cmpeq_epi32(SA, AlphaMask);
    const __m256i Clear = _mm256_cmpeq_epi32(SA, Zero);
    if (_mm256_testz_si256(_mm256_or_si256(Opaque, Clear), _mm256_or_si256(Opaque, Clear))) {
      Store(Out + I, BlendFormula(S, D));  // eight partly transparent source pixels
      continue;
    }
    if (_mm256_movemask_epi8(Opaque) == -1) {
      Store(Out + I, S);  // eight opaque ones: a copy
    } else if (_mm256_movemask_epi8(Clear) == -1) {
      if (Out != Dst) Store(Out + I, D);  // eight clear ones: the destination stays
    } else {
      Store(Out + I, Select(Clear, D, Select(Opaque, S, BlendFormula(S, D))));
    }
  }
  // The last one to seven pixels: four at a time, then one by one.
  BlendPixelsSse2(Src + I, Dst + I, Out + I, Count - I);
}
