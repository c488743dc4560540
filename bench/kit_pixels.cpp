// Times the kit's pixel work over full-HD bitmaps against its nearest system peers, in
// one run: alpha Draw against msimg32 AlphaBlend, StretchDraw against StretchBlt
// (COLORONCOLOR), GradientRect against GradientFill, and a plain memory copy of the
// same bytes as the bound that no pixel loop can beat. Each time is the best of several
// runs; the ratios are kit / peer and kit / copy. The row blend's two paths (SSE2, and
// AVX2 where the processor has it) are timed against each other in the same run.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "classlib/FloatConv.h"
#include "skin/KsBitmap.h"
#include "skin/KsLowLevel.h"

namespace {

constexpr int Width = 1920, Height = 1080;
constexpr int Runs = 15;

// The best time of Runs runs, in milliseconds.
double BestOf(const std::function<void()>& Work) {
  LARGE_INTEGER Frequency, Start, Stop;
  QueryPerformanceFrequency(&Frequency);
  Work();  // warm the caches and the page tables
  double Best = 1e30;
  for (int Run = 0; Run < Runs; ++Run) {
    QueryPerformanceCounter(&Start);
    Work();
    GdiFlush();
    QueryPerformanceCounter(&Stop);
    const double Ms = (Stop.QuadPart - Start.QuadPart) * 1000.0 / Frequency.QuadPart;
    if (Ms < Best) Best = Ms;
  }
  return Best;
}

AnsiString Fixed(double Value, int Decimals) {
  return FloatToStrF(Value, ffFixed, 15, Decimals, TFormatSettings{});
}

AnsiString Pad(const AnsiString& S, std::size_t Width) {
  return S.size() >= Width ? S : AnsiString(Width - S.size(), ' ') + S;
}

void Report(const char* Name, const char* PeerName, double Kit, double Peer, double Copy) {
  std::printf("%-9s kit %s ms   %-12s %s ms   kit/peer %s   kit/copy %s\n", Name,
              Pad(Fixed(Kit, 2), 7).c_str(), PeerName, Pad(Fixed(Peer, 2), 7).c_str(),
              Pad(Fixed(Kit / Peer, 2), 5).c_str(), Pad(Fixed(Kit / Copy, 2), 5).c_str());
}

TOwned<TKsBitmap> MakeBitmap(int W, int H) {
  TOwned<TKsBitmap> B(NewObject<TKsBitmap>());
  B->SetSize(W, H);
  return B;
}

}  // namespace

int main() {
  // Every alpha from 0 to 255 across the source, so nearly every pixel is a real blend.
  TOwned<TKsBitmap> Source = MakeBitmap(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Source->ScanLine(Y)[X] = (static_cast<TKsColor>((X * 7 + Y * 13) & 0xFF) << 24) |
                               static_cast<TKsColor>((X * 2654435761u) ^ (Y * 40503u)) >> 8;
  TOwned<TKsBitmap> Small = MakeBitmap(1280, 720);
  for (int Y = 0; Y < 720; ++Y)
    std::memcpy(Small->ScanLine(Y), Source->ScanLine(Y), 1280 * sizeof(TKsColor));
  TOwned<TKsBitmap> Dest = MakeBitmap(Width, Height);
  Dest->Fill(0xFF336699);
  const std::size_t Bytes = static_cast<std::size_t>(Width) * Height * sizeof(TKsColor);

  const double Copy = BestOf([&] { std::memcpy(Dest->Bits(), Source->Bits(), Bytes); });

  Source->SetAlphaBlend(true);
  const double KitBlend = BestOf([&] { Source->Draw(Dest.get(), 0, 0); });
  const double ScalarBlend = BestOf([&] {
    const TKsColor* S = Source->Bits();
    TKsColor* D = Dest->Bits();
    for (int I = 0; I < Width * Height; ++I) D[I] = BlendPixel(S[I], D[I]);
  });
  const int Pixels = Width * Height;
  const double Sse2Blend = BestOf([&] { BlendPixelsSse2(Source->Bits(), Dest->Bits(), Dest->Bits(), Pixels); });
  const bool Avx2 = CpuHasAvx2();
  const double Avx2Blend =
      Avx2 ? BestOf([&] { BlendPixelsAvx2(Source->Bits(), Dest->Bits(), Dest->Bits(), Pixels); }) : 0;
  const BLENDFUNCTION Function{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const double PeerBlend = BestOf([&] {
    AlphaBlend(Dest->DC(), 0, 0, Width, Height, Source->DC(), 0, 0, Width, Height, Function);
  });

  Small->SetAlphaBlend(true);
  const TRect Whole{0, 0, Width, Height};
  const double KitStretch = BestOf([&] { Small->StretchDraw(Dest.get(), Whole, TRect{0, 0, 1280, 720}); });
  SetStretchBltMode(Dest->DC(), COLORONCOLOR);
  const double PeerStretch = BestOf([&] {
    StretchBlt(Dest->DC(), 0, 0, Width, Height, Small->DC(), 0, 0, 1280, 720, SRCCOPY);
  });

  const double KitGradient = BestOf([&] { Dest->GradientRect(Whole, 0xFF102030, 0xFFF0E0D0, false); });
  const double PeerGradient = BestOf([&] {
    TRIVERTEX Vertices[2] = {{0, 0, 0x1000, 0x2000, 0x3000, 0}, {Width, Height, 0xF000, 0xE000, 0xD000, 0}};
    GRADIENT_RECT Mesh{0, 1};
    GradientFill(Dest->DC(), Vertices, 2, &Mesh, 1, GRADIENT_FILL_RECT_H);
  });

  std::printf("%d x %d pixels, 32 bits; best of %d runs; source alpha 0..255 across the image\n",
              Width, Height, Runs);
  std::printf("copy      %s ms   (memcpy of the %s MB a bitmap holds)\n", Pad(Fixed(Copy, 2), 7).c_str(),
              Fixed(Bytes / 1048576.0, 1).c_str());
  Report("blend", "AlphaBlend", KitBlend, PeerBlend, Copy);
  Report("stretch", "StretchBlt", KitStretch, PeerStretch, Copy);
  Report("gradient", "GradientFill", KitGradient, PeerGradient, Copy);
  std::printf("row blend SSE2 %s ms (%s x copy)", Fixed(Sse2Blend, 2).c_str(), Fixed(Sse2Blend / Copy, 2).c_str());
  if (Avx2)
    std::printf("   AVX2 %s ms (%s x copy)   AVX2/SSE2 %s\n", Fixed(Avx2Blend, 2).c_str(),
                Fixed(Avx2Blend / Copy, 2).c_str(), Fixed(Avx2Blend / Sse2Blend, 2).c_str());
  else
    std::printf("   (no AVX2 on this processor)\n");
  std::printf("(scalar blend, one pixel at a time: %s ms, %s x copy)\n", Fixed(ScalarBlend, 2).c_str(),
              Fixed(ScalarBlend / Copy, 2).c_str());
  return 0;
}
