// The drawing steps the Highlight painter's files share (and the Lines painter's).
#pragma once

#include <windows.h>

#include <functional>

#include "skin/KsBitmap.h"

namespace highlight {

inline constexpr UINT TextLeft = DT_VCENTER | DT_SINGLELINE | DT_LEFT;      // flags 36
inline constexpr UINT TextCentre = DT_VCENTER | DT_SINGLELINE | DT_CENTER;  // flags 37
inline constexpr UINT TextRight = DT_VCENTER | DT_SINGLELINE | DT_RIGHT;    // flags 38

TKsColor Ks(TColor C);
// A 1-pixel frame: Face lightened by Amount top-left and darkened bottom-right, the
// other way round when sunken.
void Bevel(TKsBitmap* B, const TRect& R, TKsColor Face, bool Sunken, Byte Amount);
// R shrunk by 1 on each side.
TRect Inset(const TRect& R);
// Every pixel of R inside the bitmap replaced by Fn of it (after the pending GDI work).
void ForEachPixel(TKsBitmap* B, const TRect& R, const std::function<TKsColor(TKsColor)>& Fn);
// Every black pixel of Scratch, 2 pixels in from its edges, painted on B in Color at
// (DX, DY) plus its position.
void StampBlack(TKsBitmap* Scratch, TKsBitmap* B, int DX, int DY, TKsColor Color);

}  // namespace highlight
