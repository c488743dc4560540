#include "classlib/GdiScopes.h"

#include <algorithm>

TMemoryDC::TMemoryDC(HDC Compatible) : FDC(GdiCheck(CountHandle(CreateCompatibleDC(Compatible)))) {}

TMemoryDC::TMemoryDC(HDC Compatible, int Width, int Height, bool Monochrome) : TMemoryDC(Compatible) {
  Width = std::max(Width, 1);
  Height = std::max(Height, 1);
  if (Monochrome) {
    FBitmap.Reset(GdiCheck(CountHandle(CreateBitmap(Width, Height, 1, 1, nullptr))));
  } else if (Compatible) {
    FBitmap.Reset(GdiCheck(CountHandle(CreateCompatibleBitmap(Compatible, Width, Height))));
  } else {
    // The screen's kind: one compatible with the memory DC itself would be monochrome.
    TScreenDC Screen;
    FBitmap.Reset(GdiCheck(CountHandle(CreateCompatibleBitmap(Screen.DC(), Width, Height))));
  }
  FOldBitmap = SelectObject(FDC.Handle(), FBitmap.Handle());
}

TMemoryDC::~TMemoryDC() {
  // The bitmap leaves the DC before either is deleted (the members go after this).
  if (FOldBitmap) SelectObject(FDC.Handle(), FOldBitmap);
}
