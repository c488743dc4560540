// A 32-bit bitmap filled with one colour, drawn on through its canvas's DC, and read
// back pixel by pixel: the surface of the editors' drawing tests.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "classlib/Graphics.h"
#include "classlib/Objects.h"

namespace surfacetest {

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white), by
// their relative luminance.
inline double Contrast(COLORREF A, COLORREF B) {
  auto Luminance = [](COLORREF C) {
    auto Channel = [](int V) {
      const double S = V / 255.0;
      return S <= 0.03928 ? S / 12.92 : std::pow((S + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * Channel(GetRValue(C)) + 0.7152 * Channel(GetGValue(C)) + 0.0722 * Channel(GetBValue(C));
  };
  const double La = Luminance(A), Lb = Luminance(B);
  return (std::max(La, Lb) + 0.05) / (std::min(La, Lb) + 0.05);
}

class TSurface {
 public:
  TSurface(int Width, int Height, COLORREF Fill = RGB(1, 2, 3))
      : Bitmap(NewObject<TBitmap>(Width, Height)), W(Width), H(Height) {
    Bitmap->SetPixelFormat(pf32bit);
    TRect All = {0, 0, Width, Height};
    HBRUSH Brush = CreateSolidBrush(Fill);
    FillRect(DC(), &All, Brush);
    DeleteObject(Brush);
  }
  HDC DC() { return Bitmap->Canvas()->Handle(); }
  COLORREF At(int X, int Y) { return GetPixel(DC(), X, Y); }
  // The columns and rows of pixels in Colour inside R (all -1 when there is none).
  TRect Bounds(COLORREF Colour, const TRect& R) {
    TRect Found = {-1, -1, -1, -1};
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X)
        if (At(X, Y) == Colour) {
          if (Found.left < 0 || X < Found.left) Found.left = X;
          if (X + 1 > Found.right) Found.right = X + 1;
          if (Found.top < 0) Found.top = Y;
          Found.bottom = Y + 1;
        }
    return Found;
  }
  // The same over the whole surface.
  TRect Ink(COLORREF Colour) { return Bounds(Colour, TRect{0, 0, W, H}); }
  // The strongest contrast of a pixel inside R with Back.
  double MostContrast(COLORREF Back, const TRect& R) {
    double Best = 1;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) Best = std::max(Best, Contrast(Back, At(X, Y)));
    return Best;
  }
  int Count(COLORREF Colour, const TRect& R) {
    int N = 0;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) N += At(X, Y) == Colour;
    return N;
  }
  bool SameAs(TSurface& Other) {
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X)
        if (At(X, Y) != Other.At(X, Y)) return false;
    return true;
  }

  TOwned<TBitmap> Bitmap;
  int W;
  int H;
};

}  // namespace surfacetest
