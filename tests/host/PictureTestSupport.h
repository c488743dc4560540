// Reading pictures back in the host's tests: a PNG file loaded through GDI+ into an
// array of RGB values (the scratch folders for them are in tests/support/FileSupport.h).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <string>
#include <vector>

#include "tests/support/FileSupport.h"

// A picture's pixels as COLORREF values (0x00BBGGRR), row by row from the top.
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<COLORREF> Pixels;

  bool Loaded() const { return Width > 0 && Height > 0; }
  COLORREF At(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= Width || Y >= Height) return CLR_INVALID;
    return Pixels[static_cast<std::size_t>(Y) * Width + X];
  }
  COLORREF At(POINT P) const { return At(P.x, P.y); }
  // How many pixels inside [Left, Right) x [Top, Bottom) have the colour.
  int Count(COLORREF Colour, int Left, int Top, int Right, int Bottom) const {
    int Found = 0;
    for (int Y = Top; Y < Bottom; ++Y)
      for (int X = Left; X < Right; ++X) Found += At(X, Y) == Colour ? 1 : 0;
    return Found;
  }
  int Count(COLORREF Colour) const { return Count(Colour, 0, 0, Width, Height); }
};

// Loads an image file through GDI+; an empty picture when it cannot be read.
inline TPicture LoadPicture(const std::string& FileName) {
  TPicture Picture;
  Gdiplus::GdiplusStartupInput Input;
  ULONG_PTR Token = 0;
  if (Gdiplus::GdiplusStartup(&Token, &Input, nullptr) != Gdiplus::Ok) return Picture;
  std::wstring Wide(FileName.begin(), FileName.end());
  Gdiplus::GpBitmap* Bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(Wide.c_str(), &Bitmap) == Gdiplus::Ok) {
    UINT Width = 0, Height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(Bitmap, &Width);
    Gdiplus::DllExports::GdipGetImageHeight(Bitmap, &Height);
    Picture.Width = static_cast<int>(Width);
    Picture.Height = static_cast<int>(Height);
    Picture.Pixels.resize(static_cast<std::size_t>(Width) * Height);
    for (UINT Y = 0; Y < Height; ++Y) {
      for (UINT X = 0; X < Width; ++X) {
        Gdiplus::ARGB Argb = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(Bitmap, X, Y, &Argb);
        Picture.Pixels[Y * Width + X] =
            RGB((Argb >> 16) & 0xFF, (Argb >> 8) & 0xFF, Argb & 0xFF);
      }
    }
    Gdiplus::DllExports::GdipDisposeImage(Bitmap);
  }
  Gdiplus::GdiplusShutdown(Token);
  return Picture;
}
