// Shared by the bitmap tests: bitmaps made and painted in one step, a bitmap whose
// pixels lie between guard bands (so a write outside its pixels shows), and a check
// of an operation against a per-pixel model for rectangles across every edge.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "skin/KsBitmap.h"

namespace skintest {

inline TOwned<TKsBitmap> MakeBitmap(int Width, int Height, TKsColor Color = 0) {
  TOwned<TKsBitmap> B(NewObject<TKsBitmap>());
  B->SetSize(Width, Height);
  B->Fill(Color);
  return B;
}

using TPixelFunc = std::function<TKsColor(int X, int Y)>;

inline void Paint(TKsBitmap* B, const TPixelFunc& F) {
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width(); ++X) B->ScanLine(Y)[X] = F(X, Y);
}

inline std::vector<TKsColor> PixelsOf(const TKsBitmap* B) {
  return std::vector<TKsColor>(B->Bits(), B->Bits() + B->Width() * B->Height());
}

// A kit bitmap whose pixels sit between two guard bands of partly transparent pixels.
// It borrows a real bitmap's handles (for Empty and the DC); the pixel loops use only
// the pixels.
class TGuardedBitmap {
 public:
  static constexpr int Guard = 1024;
  static constexpr TKsColor Sentinel = 0x5E17E1A1;

  TGuardedBitmap(int Width, int Height, TKsColor Color)
      : FMemory(Guard + Width * Height + Guard, Sentinel), FOwner(MakeBitmap(Width, Height)) {
    std::fill(FMemory.begin() + Guard, FMemory.end() - Guard, Color);
    TGlobalBufferInfo Info = FOwner->ExportBufferInfo();
    Info.Bits = FMemory.data() + Guard;
    FBitmap.reset(NewObject<TKsBitmap>());
    FBitmap->AdoptBufferInfo(Info);
  }

  TKsBitmap* operator->() const { return FBitmap.get(); }
  TKsBitmap* get() const { return FBitmap.get(); }
  std::vector<TKsColor> Pixels() const { return PixelsOf(FBitmap.get()); }
  bool GuardsIntact() const {
    for (int I = 0; I < Guard; ++I)
      if (FMemory[I] != Sentinel || FMemory[FMemory.size() - 1 - I] != Sentinel) return false;
    return true;
  }

 private:
  std::vector<TKsColor> FMemory;
  TOwned<TKsBitmap> FOwner;
  TOwned<TKsBitmap> FBitmap;
};

// The destination of the clipping checks, and rectangles across each of its edges, two
// corners, around it, far off and inside.
constexpr int DW = 13, DH = 9;
inline const TRect ClipRects[] = {{-3, 2, 5, 6},  {4, -4, 9, 3},    {9, 2, 17, 7},
                                  {2, 6, 8, 12},  {-2, -2, 3, 3},   {10, 6, 20, 20},
                                  {-5, -5, 30, 30}, {-40, 2, -20, 6}, {3, 2, 10, 7}};

inline TKsColor StartPixel(int X, int Y) {
  return 0xFF000000u | (X * 0x11 << 16) | (Y * 0x1D << 8) | 0x60;
}

// For every rectangle: paints a guarded DW x DH bitmap, runs Action on it and compares
// every pixel with Model(rect, x, y, pixel before); the guards must stay intact.
using TRectAction = std::function<void(TKsBitmap* B, const TRect& R)>;
using TPixelModel = std::function<TKsColor(const TRect& R, int X, int Y, TKsColor Old)>;
inline void CheckEveryRect(const char* What, bool AlphaBlend, const TRectAction& Action,
                           const TPixelModel& Model) {
  for (const TRect& R : ClipRects) {
    TGuardedBitmap B(DW, DH, 0);
    Paint(B.get(), StartPixel);
    B->SetAlphaBlend(AlphaBlend);
    Action(B.get(), R);
    int Reported = 0;
    for (int Y = 0; Y < DH; ++Y)
      for (int X = 0; X < DW; ++X) {
        const TKsColor Want = Model(R, X, Y, StartPixel(X, Y));
        if (B->GetPixel(X, Y) != Want && Reported++ < 3)
          ADD_FAILURE() << What << " at (" << R.left << ", " << R.top << ", " << R.right << ", "
                        << R.bottom << "): pixel (" << X << ", " << Y << ") is " << std::hex
                        << B->GetPixel(X, Y) << ", expected " << Want;
      }
    EXPECT_TRUE(B.GuardsIntact()) << What;
  }
}

inline bool InRect(const TRect& R, int X, int Y) {
  return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom;
}

}  // namespace skintest
