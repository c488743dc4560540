// The kit's pixel routines: work on raw 32-bit pixel memory (B, G, R, A bytes, colour
// channels never premultiplied). Rectangle bounds of these routines are inclusive.
//
// The row routines are the kit's hot paths. They give, for every pixel, exactly the
// result of the scalar BlendPixel below; on x86 they run four pixels at a time with
// SSE2 (16-bit lanes hold every intermediate of the per-channel formula).
#pragma once

#include "classlib/SysTypes.h"

// 0xAARRGGBB: blue in the low byte, alpha in the high byte; alpha 255 is opaque.
using TKsColor = Cardinal;

// Source S over destination D. Alpha 255 gives S, alpha 0 gives D; otherwise every
// channel, alpha included, becomes floor((s*a + 128) / 256) + floor((d*(255 - a) + 128)
// / 256), computed two channels per 32-bit multiply.
inline TKsColor BlendPixel(TKsColor S, TKsColor D) {
  const Cardinal A = S >> 24;
  if (A == 255) return S;
  if (A == 0) return D;
  const Cardinal B = 255 - A;
  const Cardinal SPart = ((((S & 0x00FF00FFu) * A + 0x00800080u) & 0xFF00FF00u) >> 8) |
                         ((((S & 0xFF00FF00u) >> 8) * A + 0x00800080u) & 0xFF00FF00u);
  const Cardinal DPart = ((((D & 0x00FF00FFu) * B + 0x00800080u) & 0xFF00FF00u) >> 8) |
                         ((((D & 0xFF00FF00u) >> 8) * B + 0x00800080u) & 0xFF00FF00u);
  return SPart + DPart;
}

// Count consecutive pixels := Color; nothing for Count < 1.
void FillPixels(TKsColor* Pixels, int Count, TKsColor Color);
// Every pixel with X1 <= x <= X2 and Y1 <= y <= Y2 of a bitmap RowWidth pixels wide and
// Height rows high := Color; nothing when X2 < X1 or Y2 < Y1. Parts outside the bitmap
// are left out.
void FillPixelRect(TKsColor* Bits, int RowWidth, int Height, int X1, int Y1, int X2, int Y2,
                   TKsColor Color);
// The alpha byte of Count consecutive pixels := Alpha; the colour bytes stay.
void SetAlphaRun(TKsColor* Pixels, int Count, Byte Alpha);
// The alpha byte of every pixel of the inclusive rectangle := Alpha.
void SetAlphaPixelRect(TKsColor* Bits, int RowWidth, int Height, int X1, int Y1, int X2,
                       int Y2, Byte Alpha);

// Out[i] := BlendPixel(Src[i], Dst[i]) for i < Count. Out may be Src or Dst itself, but
// must not overlap either of them otherwise.
// Runs on the widest path the processor offers, chosen on the first call.
void BlendPixels(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count);
// The two paths, with BlendPixels' contract and identical results: four pixels a step
// with SSE2, eight with AVX2. The AVX2 path may run only where CpuHasAvx2 answers true.
void BlendPixelsSse2(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count);
void BlendPixelsAvx2(const TKsColor* Src, const TKsColor* Dst, TKsColor* Out, int Count);
// Whether the processor has AVX2 and the system saves the wide registers.
bool CpuHasAvx2();
// Pixels[i] := BlendPixel(Color, Pixels[i]) for i < Count.
void BlendColorPixels(TKsColor Color, TKsColor* Pixels, int Count);
// Every pixel whose red, green and blue equal those of Key := With.
void ReplaceRgbPixels(TKsColor* Pixels, int Count, TKsColor Key, TKsColor With);
