// The kit's colours and TKsBitmap.
#include "skin/KsBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"

TKsColor KsColorWindow = 0xFFFFFFFF;
TKsColor KsColorFace = 0xFFC0C0C0;
TKsColor KsColorShadow = 0xFF808080;

namespace {

// Whether a face draws its bold weight heavier than its regular one, by face name and
// height, measured once each.
std::map<std::pair<AnsiString, int>, bool> BoldHeavier;

}  // namespace

void InitKsBitmap() {
  KsColorWindow = ColorToKsColor(clWindow, 255);
  KsColorFace = ColorToKsColor(clBtnFace, 255);
  KsColorShadow = ColorToKsColor(clBtnShadow, 255);
}

void DoneKsBitmap() { BoldHeavier.clear(); }

// ---------------------------------------------------------------------------------
// Colours

int KsRound(double Value) {
  const double Floor = std::floor(Value);
  const double Fraction = Value - Floor;
  double Result = Floor;
  if (Fraction > 0.5 || (Fraction == 0.5 && std::fmod(Floor, 2.0) != 0.0)) Result += 1.0;
  return static_cast<int>(Result);
}

namespace {

constexpr TKsColor Pack(int R, int G, int B, int A) {
  return (static_cast<TKsColor>(A & 0xFF) << 24) | (static_cast<TKsColor>(R & 0xFF) << 16) |
         (static_cast<TKsColor>(G & 0xFF) << 8) | static_cast<TKsColor>(B & 0xFF);
}

int Clamp255(int V) { return V < 0 ? 0 : (V > 255 ? 255 : V); }

}  // namespace

TKsColor ColorToKsColor(TColor Color, Byte Alpha) {
  const COLORREF Rgb = ColorToRGB(Color);
  return Pack(GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb), Alpha);
}

TKsColor MakeKsColor(std::int16_t R, std::int16_t G, std::int16_t B, Byte Alpha) {
  return Pack(Clamp255(R), Clamp255(G), Clamp255(B), Alpha);
}

TColor KsColorToColor(TKsColor Color) {
  return static_cast<TColor>(RGB(KsRed(Color), KsGreen(Color), KsBlue(Color)));
}

TKsColor AddKsColor(TKsColor Color, Byte DR, Byte DG, Byte DB, Byte DA) {
  return Pack(std::min(KsRed(Color) + DR, 255), std::min(KsGreen(Color) + DG, 255),
              std::min(KsBlue(Color) + DB, 255), KsAlpha(Color) + DA);
}

TKsColor SubKsColor(TKsColor Color, Byte DR, Byte DG, Byte DB, Byte DA) {
  return Pack(std::max(KsRed(Color) - DR, 0), std::max(KsGreen(Color) - DG, 0),
              std::max(KsBlue(Color) - DB, 0), KsAlpha(Color) - DA);
}

TKsColor LightenKsColor(TKsColor Color, Byte Amount) {
  return AddKsColor(Color, Amount, Amount, Amount, 0);
}

TKsColor DarkenKsColor(TKsColor Color, Byte Amount) {
  return SubKsColor(Color, Amount, Amount, Amount, 0);
}

void KsColorToHSL(TKsColor Color, float& H, float& S, float& L) {
  const float R = KsRed(Color) / 255.0f;
  const float G = KsGreen(Color) / 255.0f;
  const float B = KsBlue(Color) / 255.0f;
  const float Max = std::max({R, G, B});
  const float Min = std::min({R, G, B});
  L = (Max + Min) / 2.0f;
  if (Max == Min) {
    H = 0.0f;
    S = 0.0f;
    return;
  }
  const float D = Max - Min;
  S = L < 0.5f ? D / (Max + Min) : D / (2.0f - Max - Min);
  if (R == Max)
    H = (G - B) / D;
  else if (G == Max)
    H = 2.0f + (B - R) / D;
  else
    H = 4.0f + (R - G) / D;
  H = H / 6.0f;
  if (H < 0.0f) H = H + 1.0f;
}

TKsColor HSLToKsColor(float H, float S, float L) {
  if (S == 0.0f) {
    const int V = KsRound(255.0f * L);
    return MakeKsColor(static_cast<std::int16_t>(V), static_cast<std::int16_t>(V),
                       static_cast<std::int16_t>(V), 255);
  }
  const float Q = L < 0.5f ? L * (1.0f + S) : L + S - L * S;
  const float P = 2.0f * L - Q;
  auto Channel = [P, Q](float Hue) {
    Hue = Hue - std::floor(Hue);
    float V;
    if (6.0f * Hue < 1.0f)
      V = P + (Q - P) * 6.0f * Hue;
    else if (2.0f * Hue < 1.0f)
      V = Q;
    else if (3.0f * Hue < 2.0f)
      V = P + (Q - P) * (2.0f / 3.0f - Hue) * 6.0f;
    else
      V = P;
    return static_cast<std::int16_t>(KsRound(V * 255.0f));
  };
  return MakeKsColor(Channel(H + 1.0f / 3.0f), Channel(H), Channel(H - 1.0f / 3.0f), 255);
}

TKsColor ShiftHue(TKsColor Color, int Delta) {
  float H, S, L;
  KsColorToHSL(Color, H, S, L);
  int Hue = KsRound(H * 255.0f) + Delta;
  if (Hue > 255) Hue -= 255;
  if (Hue < 0) Hue += 255;
  return HSLToKsColor(Hue / 255.0f, S, L);
}

TKsColor ShiftBrightness(TKsColor Color, int Delta) {
  return MakeKsColor(static_cast<std::int16_t>(KsRed(Color) + Delta),
                     static_cast<std::int16_t>(KsGreen(Color) + Delta),
                     static_cast<std::int16_t>(KsBlue(Color) + Delta), 255);
}

// ---------------------------------------------------------------------------------
// Creation and size

TCLASS_IMPL(TKsBitmap)

TKsBitmap::TKsBitmap() {
  std::memset(&FBitmapInfo, 0, sizeof(FBitmapInfo));
  FBitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  FBitmapInfo.bmiHeader.biPlanes = 1;
  FBitmapInfo.bmiHeader.biBitCount = 32;
  FBitmapInfo.bmiHeader.biCompression = BI_RGB;
  FFont = NewObject<TFont>();
}

TKsBitmap::~TKsBitmap() {
  ReleaseHandles();
  for (const TKsHeldObject& Held : FPens) ReleaseSharedObject(Held.Object);
  for (const TKsHeldObject& Held : FBrushes) ReleaseSharedObject(Held.Object);
  FFont->Free();
}

void TKsBitmap::ReleaseHandles() {
  if (!FShared) {
    DeleteCountedDC(FDC);  // the DIB leaves the DC with it, and can then be deleted
    DeleteCountedObject(FHandle);
  }
  FDC = nullptr;
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = 0;
  FHeight = 0;
  FOrigin = TPoint{0, 0};
  FShared = false;
}

void TKsBitmap::SetOrigin(const TPoint& Value) {
  FOrigin = Value;
  if (FDC) SetWindowOrgEx(FDC, Value.x, Value.y, nullptr);
}

namespace {
LONG Saturated(long long Value) {
  return static_cast<LONG>(std::clamp<long long>(Value, std::numeric_limits<LONG>::min(),
                                                 std::numeric_limits<LONG>::max()));
}
}  // namespace

TRect TKsBitmap::Bounds() const {
  return TRect{FOrigin.x, FOrigin.y, Saturated(static_cast<long long>(FOrigin.x) + FWidth),
               Saturated(static_cast<long long>(FOrigin.y) + FHeight)};
}

TRect TKsBitmap::Local(const TRect& R) const {
  if (FOrigin.x == 0 && FOrigin.y == 0) return R;
  auto X = [this](LONG V) { return Saturated(static_cast<long long>(V) - FOrigin.x); };
  auto Y = [this](LONG V) { return Saturated(static_cast<long long>(V) - FOrigin.y); };
  return TRect{X(R.left), Y(R.top), X(R.right), Y(R.bottom)};
}

void TKsBitmap::SetSize(int AWidth, int AHeight) {
  if (const char* Failure = Resize(AWidth, AHeight)) throw Exception(Failure);
}

bool TKsBitmap::TrySetSize(int AWidth, int AHeight) { return Resize(AWidth, AHeight) == nullptr; }

const char* TKsBitmap::Resize(int AWidth, int AHeight) {
  // The most negative int has no absolute value of its own: the largest one serves.
  auto Length = [](int Value) {
    return Value == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                    : std::abs(Value);
  };
  AWidth = Length(AWidth);
  AHeight = Length(AHeight);
  if (AWidth == 0 || AHeight == 0) return nullptr;
  if (AWidth == FWidth && AHeight == FHeight) return nullptr;
  ReleaseHandles();
  FBitmapInfo.bmiHeader.biWidth = AWidth;
  FBitmapInfo.bmiHeader.biHeight = -AHeight;
  void* NewBits = nullptr;
  TOwnedBitmap Dib(CountHandle(CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &NewBits, nullptr, 0)));
  if (!Dib || !NewBits) return SKsNoDibHandle;
  TOwnedDC NewDC(CountHandle(CreateCompatibleDC(nullptr)));
  if (!NewDC) return SKsNoCompatibleDC;
  // The DIB stays selected in the DC for the bitmap's life.
  if (!SelectObject(NewDC.Handle(), Dib.Handle())) return SKsNoSelectObject;
  FHandle = Dib.Release();
  FDC = NewDC.Release();
  FBits = static_cast<TKsColor*>(NewBits);
  FWidth = AWidth;
  FHeight = AHeight;
  if (OnChange.Assigned()) OnChange(this);
  return nullptr;
}

TRect TKsBitmap::ClipToBitmap(const TRect& R) const {
  const TRect L = Local(R);
  return TRect{std::max<LONG>(L.left, 0), std::max<LONG>(L.top, 0),
               std::min<LONG>(L.right, FWidth), std::min<LONG>(L.bottom, FHeight)};
}

namespace {
bool IsEmpty(const TRect& R) { return R.right <= R.left || R.bottom <= R.top; }
int W(const TRect& R) { return R.right - R.left; }
int H(const TRect& R) { return R.bottom - R.top; }
TRect Intersect(const TRect& A, const TRect& B) {
  return TRect{std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right),
               std::min(A.bottom, B.bottom)};
}
}  // namespace

// ---------------------------------------------------------------------------------
// Whole-bitmap pixel operations

void TKsBitmap::Fill(TKsColor Color) {
  if (!FBits) return;
  GdiFlush();
  FillPixels(FBits, FWidth * FHeight, Color);
}

void TKsBitmap::SetAlpha(Byte Alpha) {
  if (!FBits) return;
  GdiFlush();
  SetAlphaRun(FBits, FWidth * FHeight, Alpha);
}

void TKsBitmap::SetAlphaRect(const TRect& R, Byte Alpha) {
  if (!FBits) return;
  const TRect C = ClipToBitmap(R);
  if (IsEmpty(C)) return;
  GdiFlush();
  SetAlphaPixelRect(FBits, FWidth, FHeight, C.left, C.top, C.right - 1, C.bottom - 1, Alpha);
}

void TKsBitmap::SetTransparentColor(TKsColor Color) {
  if (!FBits) return;
  GdiFlush();
  ReplaceRgbPixels(FBits, FWidth * FHeight, Color, KsColorTransparent);
}

namespace {
// Applies Shift to every pixel whose alpha is not 0. Painter atlases repeat few
// colours, so the last conversion is remembered.
template <class F>
void ShiftPixels(TKsColor* P, int Count, F Shift) {
  TKsColor LastIn = 0, LastOut = Shift(0);
  for (int I = 0; I < Count; ++I) {
    if ((P[I] >> 24) == 0) continue;
    if (P[I] != LastIn) {
      LastIn = P[I];
      LastOut = Shift(LastIn);
    }
    P[I] = LastOut;
  }
}
}  // namespace

void TKsBitmap::ShiftHueAll(int Delta) {
  if (!FBits) return;
  GdiFlush();
  ShiftPixels(FBits, FWidth * FHeight, [Delta](TKsColor C) { return ShiftHue(C, Delta); });
}

void TKsBitmap::ShiftBrightnessAll(int Delta) {
  if (!FBits) return;
  GdiFlush();
  ShiftPixels(FBits, FWidth * FHeight,
              [Delta](TKsColor C) { return ShiftBrightness(C, Delta); });
}

// ---------------------------------------------------------------------------------
// Copies to device contexts

void TKsBitmap::DrawToDC(HDC DC, int X, int Y) {
  if (Empty()) return;
  BitBlt(DC, X, Y, FWidth, FHeight, FDC, FOrigin.x, FOrigin.y, SRCCOPY);
}

void TKsBitmap::DrawRectToDC(HDC DC, int X, int Y, const TRect& Source) {
  if (Empty()) return;
  BitBlt(DC, X, Y, W(Source), H(Source), FDC, Source.left, Source.top, SRCCOPY);
}

void TKsBitmap::DrawToCanvas(TCanvas* Canvas, int X, int Y) {
  if (Empty() || !Canvas) return;
  DrawToDC(Canvas->Handle(), X, Y);
}

// ---------------------------------------------------------------------------------
// Drawing onto other kit bitmaps

void TKsBitmap::Draw(TKsBitmap* Dest, int X, int Y) { Draw(Dest, X, Y, Bounds()); }

void TKsBitmap::Draw(TKsBitmap* Dest, int X, int Y, const TRect& Source) {
  if (!Dest || Empty() || Dest->Empty()) return;
  if (!FAlphaBlend) {
    BitBlt(Dest->FDC, X, Y, W(Source), H(Source), FDC, Source.left, Source.top, SRCCOPY);
    return;
  }
  BlendOnto(Dest, X, Y, Source);
}

void TKsBitmap::BlendOnto(TKsBitmap* Dest, int X, int Y, const TRect& Source) {
  // Source pixel (x, y) lands on (x - Source.left + X, y - Source.top + Y); the rows and
  // columns used are those inside both bitmaps. Both sides count in their own pixels
  // here, and 64-bit arithmetic keeps far-off positions from wrapping.
  const long long SL = static_cast<long long>(Source.left) - FOrigin.x;
  const long long ST = static_cast<long long>(Source.top) - FOrigin.y;
  const long long DX = static_cast<long long>(X) - Dest->FOrigin.x - SL;
  const long long DY = static_cast<long long>(Y) - Dest->FOrigin.y - ST;
  const long long X0 = std::max({0LL, SL, -DX});
  const long long X1 = std::min({static_cast<long long>(FWidth),
                                 static_cast<long long>(Source.right) - FOrigin.x, Dest->FWidth - DX});
  const long long Y0 = std::max({0LL, ST, -DY});
  const long long Y1 = std::min({static_cast<long long>(FHeight),
                                 static_cast<long long>(Source.bottom) - FOrigin.y, Dest->FHeight - DY});
  if (X0 >= X1 || Y0 >= Y1) return;
  GdiFlush();
  const int Count = static_cast<int>(X1 - X0);
  for (long long Sy = Y0; Sy < Y1; ++Sy) {
    const TKsColor* S = FBits + Sy * FWidth + X0;
    TKsColor* D = Dest->FBits + (Sy + DY) * Dest->FWidth + (X0 + DX);
    BlendPixels(S, D, D, Count);
  }
}

void TKsBitmap::StretchDraw(TKsBitmap* Dest, const TRect& DestRect, const TRect& Source) {
  if (!Dest || Empty() || Dest->Empty()) return;
  if (!FAlphaBlend) {
    // Nearest pixel, as the blending path samples.
    const int OldMode = SetStretchBltMode(Dest->FDC, COLORONCOLOR);
    StretchBlt(Dest->FDC, DestRect.left, DestRect.top, W(DestRect), H(DestRect), FDC,
               Source.left, Source.top, W(Source), H(Source), SRCCOPY);
    SetStretchBltMode(Dest->FDC, OldMode);
    return;
  }
  StretchBlend(Dest, DestRect, Source);
}

void TKsBitmap::StretchBlend(TKsBitmap* Dest, const TRect& D, const TRect& S) {
  if (IsEmpty(ClipToBitmap(S)) || W(D) <= 0 || H(D) <= 0) return;
  const TRect C = Intersect(D, Dest->Bounds());
  if (IsEmpty(C)) return;
  if (W(S) == W(D) && H(S) == H(D)) {
    Draw(Dest, D.left, D.top, S);
    return;
  }
  // 16.16 steps; the start values scale by 65535, as the kit always has.
  const long long StepX = (static_cast<long long>(W(S)) << 16) / W(D);
  const long long StepY = (static_cast<long long>(H(S)) << 16) / H(D);
  const long long AccX0 = MulDiv((C.left - D.left) * W(S), 65535, W(D));
  const long long AccY0 = MulDiv((C.top - D.top) * H(S), 65535, H(D));

  // The source column of every destination column of C, in this bitmap's own pixels.
  // The columns rise with the destination, so those inside this bitmap form one run
  // [First, Last).
  const long long SourceLeft = static_cast<long long>(S.left) - FOrigin.x;
  const long long SourceTop = static_cast<long long>(S.top) - FOrigin.y;
  const int Columns = W(C);
  std::vector<int> SourceX(Columns);
  int First = Columns, Last = 0;
  for (int I = 0; I < Columns; ++I) {
    const long long X = SourceLeft + ((AccX0 + I * StepX) >> 16);
    SourceX[I] = static_cast<int>(X);
    if (X >= 0 && X < FWidth) {
      First = std::min(First, I);
      Last = I + 1;
    }
  }
  if (First >= Last) return;
  const int Count = Last - First;

  GdiFlush();
  std::vector<TKsColor> Row(Count);
  long long RowY = std::numeric_limits<long long>::min();  // the source row held in Row
  for (int J = 0; J < H(C); ++J) {
    const long long Sy = SourceTop + ((AccY0 + J * StepY) >> 16);
    if (Sy < 0 || Sy >= FHeight) continue;
    if (Sy != RowY) {
      const TKsColor* Line = FBits + Sy * FWidth;
      for (int I = 0; I < Count; ++I) Row[I] = Line[SourceX[First + I]];
      RowY = Sy;
    }
    TKsColor* Out = Dest->FBits + (static_cast<long long>(C.top) - Dest->FOrigin.y + J) * Dest->FWidth +
                    (static_cast<long long>(C.left) - Dest->FOrigin.x) + First;
    BlendPixels(Row.data(), Out, Out, Count);
  }
}

void TKsBitmap::TileDraw(TKsBitmap* Dest, const TRect& D, const TRect& S) {
  const int TW = W(S), TH = H(S);
  if (TW <= 0 || TH <= 0 || !Dest || Dest->Empty()) return;
  // The tiles lie from D's top-left in steps of the tile; only those that meet both D
  // and the destination are drawn, however far D reaches past it (a control far larger
  // than its buffer). The last column and row are cut by D.
  const TRect Shown = Intersect(D, Dest->Bounds());
  if (IsEmpty(Shown)) return;
  const long long FirstColumn = (static_cast<long long>(Shown.left) - D.left) / TW;
  const long long LastColumn = (static_cast<long long>(Shown.right) - 1 - D.left) / TW;
  const long long FirstRow = (static_cast<long long>(Shown.top) - D.top) / TH;
  const long long LastRow = (static_cast<long long>(Shown.bottom) - 1 - D.top) / TH;
  for (long long I = FirstColumn; I <= LastColumn; ++I) {
    for (long long J = FirstRow; J <= LastRow; ++J) {
      const long long Left = D.left + I * TW, Top = D.top + J * TH;
      const int Width = static_cast<int>(std::min<long long>(TW, D.right - Left));
      const int Height = static_cast<int>(std::min<long long>(TH, D.bottom - Top));
      const TRect Tile{static_cast<int>(Left), static_cast<int>(Top), static_cast<int>(Left) + Width,
                       static_cast<int>(Top) + Height};
      if (Width == TW && Height == TH)
        StretchDraw(Dest, Tile, S);
      else
        StretchDraw(Dest, Tile, TRect{S.left, S.top, S.left + Width, S.top + Height});
    }
  }
}

void TKsBitmap::DrawRect(TKsBitmap* Dest, const TRect& D, bool Stretch, const TRect& S) {
  if (W(D) <= 0 || H(D) <= 0) return;
  if (Stretch)
    StretchDraw(Dest, D, S);
  else
    TileDraw(Dest, D, S);
}

void TKsBitmap::DrawNinePart(TKsBitmap* Dest, const TRect& D, bool Stretch, int L, int T,
                             int R, int B, const TRect& S) {
  if (L == 0 && T == 0 && R == 0 && B == 0) {
    StretchDraw(Dest, D, S);
    return;
  }
  // Centre, then the edges, then the corners at their own size.
  DrawRect(Dest, TRect{D.left + L, D.top + T, D.right - R, D.bottom - B}, Stretch,
           TRect{S.left + L, S.top + T, S.right - R, S.bottom - B});
  DrawRect(Dest, TRect{D.left + L, D.top, D.right - R, D.top + T}, Stretch,
           TRect{S.left + L, S.top, S.right - R, S.top + T});
  DrawRect(Dest, TRect{D.left + L, D.bottom - B, D.right - R, D.bottom}, Stretch,
           TRect{S.left + L, S.bottom - B, S.right - R, S.bottom});
  DrawRect(Dest, TRect{D.left, D.top + T, D.left + L, D.bottom - B}, Stretch,
           TRect{S.left, S.top + T, S.left + L, S.bottom - B});
  DrawRect(Dest, TRect{D.right - R, D.top + T, D.right, D.bottom - B}, Stretch,
           TRect{S.right - R, S.top + T, S.right, S.bottom - B});
  Draw(Dest, D.left, D.top, TRect{S.left, S.top, S.left + L, S.top + T});
  Draw(Dest, D.right - R, D.top, TRect{S.right - R, S.top, S.right, S.top + T});
  Draw(Dest, D.left, D.bottom - B, TRect{S.left, S.bottom - B, S.left + L, S.bottom});
  Draw(Dest, D.right - R, D.bottom - B, TRect{S.right - R, S.bottom - B, S.right, S.bottom});
}

void TKsBitmap::DrawUnder(TKsBitmap* Source, const TRect& SR, int X, int Y) {
  if (!Source || Empty() || Source->Empty()) return;
  // Source pixel (x, y) meets this bitmap's ((x - SR.left) + X, (y - SR.top) + Y); both
  // ends are cut to both bitmaps, row by row as Draw does, each counted in its own
  // pixels.
  const TPoint SO = Source->FOrigin;
  const long long DX = static_cast<long long>(X) - FOrigin.x - (static_cast<long long>(SR.left) - SO.x);
  const long long DY = static_cast<long long>(Y) - FOrigin.y - (static_cast<long long>(SR.top) - SO.y);
  const long long X0 = std::max({0LL, static_cast<long long>(SR.left) - SO.x, -DX});
  const long long X1 = std::min({static_cast<long long>(Source->FWidth),
                                 static_cast<long long>(SR.right) - SO.x, FWidth - DX});
  const long long Y0 = std::max({0LL, static_cast<long long>(SR.top) - SO.y, -DY});
  const long long Y1 = std::min({static_cast<long long>(Source->FHeight),
                                 static_cast<long long>(SR.bottom) - SO.y, FHeight - DY});
  if (X0 >= X1 || Y0 >= Y1) return;
  GdiFlush();
  const int Count = static_cast<int>(X1 - X0);
  for (long long Sy = Y0; Sy < Y1; ++Sy) {
    const TKsColor* S = Source->FBits + Sy * Source->FWidth + X0;
    TKsColor* Mine = FBits + (Sy + DY) * FWidth + (X0 + DX);
    BlendPixels(Mine, S, Mine, Count);
  }
}

// ---------------------------------------------------------------------------------
// GDI lines and shapes

namespace {
// The shared object of Color in List, taken from the cache on first use. The list
// keeps the last KsHeldObjects colours; the oldest goes back to the cache.
template <class TAcquire>
HGDIOBJ HeldObject(std::vector<TKsHeldObject>& List, TKsColor Color, TAcquire Acquire) {
  const COLORREF Rgb = static_cast<COLORREF>(KsColorToColor(Color));
  for (const TKsHeldObject& Held : List)
    if (Held.Color == Rgb) return Held.Object;
  HGDIOBJ Object = Acquire(Rgb);
  if (List.size() >= KsHeldObjects) {
    ReleaseSharedObject(List.front().Object);
    List.erase(List.begin());
  }
  List.push_back(TKsHeldObject{Rgb, Object});
  return Object;
}
}  // namespace

HPEN TKsBitmap::SolidPen(TKsColor Color) {
  return static_cast<HPEN>(HeldObject(FPens, Color, [](COLORREF Rgb) -> HGDIOBJ {
    return AcquireSharedPen(LOGPEN{PS_SOLID, POINT{1, 0}, Rgb});
  }));
}

HBRUSH TKsBitmap::SolidBrush(TKsColor Color) {
  return static_cast<HBRUSH>(HeldObject(FBrushes, Color, [](COLORREF Rgb) -> HGDIOBJ {
    return AcquireSharedBrush(LOGBRUSH{BS_SOLID, Rgb, 0});
  }));
}

void TKsBitmap::MoveTo(int X, int Y) {
  FPenPos = TPoint{X, Y};
  if (FDC) MoveToEx(FDC, X, Y, nullptr);
}

void TKsBitmap::LineTo(int X, int Y, TKsColor Color) {
  if (FDC) {
    TSelection Pen(FDC, SolidPen(Color));
    ::LineTo(FDC, X, Y);
  }
  FPenPos = TPoint{X, Y};
}

void TKsBitmap::DrawLine(const TRect& R, TKsColor Color) {
  MoveTo(R.left, R.top);
  LineTo(R.right, R.bottom, Color);
}

void TKsBitmap::DrawFocusRect(const TRect& R, TKsColor Color) {
  if (!FDC) return;
  TSelection Brush(FDC, GetStockObject(NULL_BRUSH));
  TSelection Pen(FDC, SolidPen(Color));
  ::DrawFocusRect(FDC, &R);
}

void TKsBitmap::RoundRect(const TRect& R, int Radius, TKsColor Color) {
  if (!FDC) return;
  TSelection Brush(FDC, GetStockObject(NULL_BRUSH));
  TSelection Pen(FDC, SolidPen(Color));
  ::RoundRect(FDC, R.left, R.top, R.right, R.bottom, Radius, Radius);
}

void TKsBitmap::FillRoundRect(const TRect& R, int Radius, TKsColor Color) {
  if (!FDC) return;
  TSelection Brush(FDC, SolidBrush(Color));
  TSelection Pen(FDC, SolidPen(Color));
  ::RoundRect(FDC, R.left, R.top, R.right, R.bottom, Radius, Radius);
}

void TKsBitmap::Polygon(std::span<const TPoint> Points, TKsColor Color) {
  if (!FDC || Points.empty()) return;
  TSelection Brush(FDC, GetStockObject(NULL_BRUSH));
  TSelection Pen(FDC, SolidPen(Color));
  ::Polygon(FDC, Points.data(), static_cast<int>(Points.size()));
}

void TKsBitmap::FillPolygon(std::span<const TPoint> Points, TKsColor Color) {
  if (!FDC || Points.empty()) return;
  TSelection Brush(FDC, SolidBrush(Color));
  TSelection Pen(FDC, SolidPen(Color));
  ::Polygon(FDC, Points.data(), static_cast<int>(Points.size()));
}

// ---------------------------------------------------------------------------------
// Pixel drawing

void TKsBitmap::DrawEdge(const TRect& R, TKsColor TopLeft, TKsColor BottomRight) {
  if (!FBits) return;
  const TRect C = ClipToBitmap(R);
  if (IsEmpty(C)) return;
  GdiFlush();
  // Top row up to right - 2 and left column up to bottom - 2 in the first colour;
  // bottom row up to right - 1 and right column up to bottom - 2 in the second.
  BlendColorPixels(TopLeft, ScanLine(C.top) + C.left, W(C) - 1);
  for (int Y = C.top; Y <= C.bottom - 2; ++Y) {
    TKsColor& P = ScanLine(Y)[C.left];
    P = BlendPixel(TopLeft, P);
  }
  BlendColorPixels(BottomRight, ScanLine(C.bottom - 1) + C.left, W(C));
  for (int Y = C.top; Y <= C.bottom - 2; ++Y) {
    TKsColor& P = ScanLine(Y)[C.right - 1];
    P = BlendPixel(BottomRight, P);
  }
}

void TKsBitmap::DrawBevel(const TRect& R, TKsColor Color, bool Sunken, int Width) {
  TRect Edge = R;
  for (int I = 0; I < Width; ++I) {
    const Byte Amount = static_cast<Byte>(Width == 1 ? 35 : ((Width - I) * 17) % 256);
    const TKsColor Dark = DarkenKsColor(Color, Amount);
    const TKsColor Light = LightenKsColor(Color, Amount);
    if (Sunken)
      DrawEdge(Edge, Dark, Light);
    else
      DrawEdge(Edge, Light, Dark);
    Edge = TRect{Edge.left + 1, Edge.top + 1, Edge.right - 1, Edge.bottom - 1};
  }
}

void TKsBitmap::FillRun(int Y, int X1, int X2, TKsColor Color) {
  if (FAlphaBlend)
    BlendColorPixels(Color, ScanLine(Y) + X1, X2 - X1);
  else
    FillPixels(ScanLine(Y) + X1, X2 - X1, Color);
}

void TKsBitmap::FillRect(const TRect& R, TKsColor Color) {
  if (!FBits) return;
  const TRect C = ClipToBitmap(R);
  if (IsEmpty(C)) return;
  GdiFlush();
  for (int Y = C.top; Y < C.bottom; ++Y) FillRun(Y, C.left, C.right, Color);
}

void TKsBitmap::FillHalftone(const TRect& R, TKsColor Background, TKsColor Dot) {
  if (!FBits) return;
  const TRect C = ClipToBitmap(R);
  if (IsEmpty(C)) return;
  FillRect(R, Background);
  // The dots lie where the image's x and y are both even or both odd.
  const int Phase = (FOrigin.x + FOrigin.y) & 1;
  for (int Y = C.top; Y < C.bottom; ++Y) {
    TKsColor* Row = ScanLine(Y);
    for (int X = C.left + ((C.left + Y + Phase) & 1); X < C.right; X += 2) Row[X] = Dot;
  }
}

void TKsBitmap::GradientRect(const TRect& Rect, TKsColor From, TKsColor To, bool Vertical) {
  if (!FBits) return;
  const TRect R = Local(Rect);
  const TRect C = ClipToBitmap(Rect);
  if (IsEmpty(C)) return;
  // The bands follow the whole rectangle, so a partly hidden gradient keeps its
  // colours; only the visible part is filled.
  const int Size = Vertical ? H(R) : W(R);
  const int Steps = std::min(255, Size);
  const int Origin = Vertical ? R.top : R.left;
  const int Lo = Vertical ? C.top : C.left;
  const int Hi = Vertical ? C.bottom : C.right;
  int Base[4], Span[4];
  for (int Channel = 0; Channel < 4; ++Channel) {
    const int Shift = Channel * 8;
    Base[Channel] = static_cast<int>((From >> Shift) & 0xFF) * 255;
    Span[Channel] = static_cast<int>((To >> Shift) & 0xFF) * 255 - Base[Channel];
  }
  auto BandColor = [&](int I) {
    TKsColor Color = 0;
    for (int Channel = 0; Channel < 4; ++Channel) {
      const double V = (static_cast<double>(I) * Span[Channel] / Steps + Base[Channel]) / 255.0;
      Color |= static_cast<TKsColor>(KsRound(V) & 0xFF) << (Channel * 8);
    }
    return Color;
  };

  GdiFlush();
  if (Vertical) {
    for (int I = 0; I <= Steps; ++I) {
      const int Y1 = std::max(Origin + MulDiv(I, Size, Steps), Lo);
      const int Y2 = std::min(Origin + MulDiv(I + 1, Size, Steps), Hi);
      if (Y1 >= Y2) continue;
      const TKsColor Color = BandColor(I);
      for (int Y = Y1; Y < Y2; ++Y) FillRun(Y, C.left, C.right, Color);
    }
    return;
  }
  // Left to right: one row of band colours, laid on every row of the rectangle.
  std::vector<TKsColor> Pattern(Hi - Lo);
  for (int I = 0; I <= Steps; ++I) {
    const int X1 = std::max(Origin + MulDiv(I, Size, Steps), Lo);
    const int X2 = std::min(Origin + MulDiv(I + 1, Size, Steps), Hi);
    if (X1 < X2) std::fill(Pattern.begin() + (X1 - Lo), Pattern.begin() + (X2 - Lo), BandColor(I));
  }
  for (int Y = C.top; Y < C.bottom; ++Y) {
    TKsColor* Row = ScanLine(Y) + C.left;
    if (FAlphaBlend)
      BlendPixels(Pattern.data(), Row, Row, W(C));
    else
      std::memcpy(Row, Pattern.data(), Pattern.size() * sizeof(TKsColor));
  }
}

// ---------------------------------------------------------------------------------
// Text

int TKsBitmap::TextHeight(const AnsiString& Text) {
  if (Text.empty() || !FDC) return 0;
  RECT R{0, 0, 0, 0};
  TSelection Font(FDC, FFont->Handle());
  ::DrawTextA(FDC, Text.c_str(), static_cast<int>(Text.size()), &R, DT_CALCRECT);
  return R.bottom;
}

int TKsBitmap::TextWidth(const AnsiString& Text, UINT Flags) {
  if (Text.empty() || !FDC) return 0;
  RECT R{0, 0, 0, 0};
  TSelection Font(FDC, FFont->Handle());
  ::DrawTextA(FDC, Text.c_str(), static_cast<int>(Text.size()), &R, Flags | DT_CALCRECT);
  return R.right;
}

// Some faces carry bold glyphs drawn with their regular strokes at some sizes (the
// prefix's own Tahoma Bold from 13 to 16 pixels: its bitmap strikes and hinted
// outlines there): the same sample drawn in both weights tells. Those are small sizes;
// a face higher than BoldProbeLimit pixels draws its bold from its outlines, heavier,
// and is not measured (the sample would need a bitmap several times the font's size).
bool TKsBitmap::BoldDrawsHeavier(TFont* Font) {
  constexpr long long BoldProbeLimit = 96;
  const long long FontHeight = Font->Height();
  if (std::abs(FontHeight) > BoldProbeLimit) return true;
  const auto Key = std::make_pair(Font->Name(), Font->Height());
  if (auto It = BoldHeavier.find(Key); It != BoldHeavier.end()) return It->second;
  const int Size = std::max(static_cast<int>(std::abs(FontHeight)), 1);
  auto Ink = [&](TFontStyles Style) {
    TOwned<TFont> Sample(NewObject<TFont>());
    Sample->Assign(Font);
    Sample->SetStyle(Style);
    TOwned<TKsBitmap> Probe(NewObject<TKsBitmap>());
    Probe->SetSize(4 * Size + 8, 2 * Size + 8);
    Probe->Fill(KsColorWhite);
    {
      TSelection Selected(Probe->DC(), Sample->Handle());
      SetBkMode(Probe->DC(), TRANSPARENT);
      SetTextColor(Probe->DC(), RGB(0, 0, 0));
      TextOutA(Probe->DC(), 2, 2, "HIH", 3);
      GdiFlush();
    }
    int Count = 0;
    for (int Y = 0; Y < Probe->Height(); ++Y)
      for (int X = 0; X < Probe->Width(); ++X) Count += (Probe->ScanLine(Y)[X] & 0x00FFFFFF) != 0x00FFFFFF;
    return Count;
  };
  TFontStyles Regular = Font->Style(), Bold = Font->Style();
  Regular.Exclude(fsBold);
  Bold.Include(fsBold);
  const bool Heavier = Ink(Bold) > Ink(Regular);
  BoldHeavier.emplace(Key, Heavier);
  return Heavier;
}

int TKsBitmap::DrawText(const AnsiString& Text, const TRect& R, UINT Flags) {
  if (!FDC) return 0;
  TSavedTextState Saved(FDC);
  Saved.SelectFont(FFont->Handle());
  SetBkMode(FDC, TRANSPARENT);
  SetTextColor(FDC, ColorToRGB(FFont->Color()));
  RECT Box = R;
  const int Result = ::DrawTextA(FDC, Text.c_str(), static_cast<int>(Text.size()), &Box, Flags);
  if (!(Flags & DT_CALCRECT) && FFont->Style().Contains(fsBold) && !BoldDrawsHeavier(FFont)) {
    // A bold that the face draws with its regular strokes is made heavier, as the
    // system does for a face without a bold: the text once more, a pixel further on.
    RECT Again = R;
    OffsetRect(&Again, 1, 0);
    ::DrawTextA(FDC, Text.c_str(), static_cast<int>(Text.size()), &Again, Flags);
  }
  return Result;
}

void TKsBitmap::DrawVerticalText(const AnsiString& Text, const TRect& R, UINT Flags,
                                 bool Clockwise) {
  if (!FBits) return;
  const TRect V = ClipToBitmap(R);
  const TRect L = Local(R);
  if (IsEmpty(V)) return;
  // The text is laid out in R turned back a quarter (R's height across, its width
  // down); the scratch image holds only the window of that which lands on the bitmap,
  // however far R reaches past it.
  const TRect Window =
      Clockwise ? TRect{V.top - L.top, L.right - V.right, V.bottom - L.top, L.right - V.left}
                : TRect{L.bottom - V.bottom, V.left - L.left, L.bottom - V.top, V.right - L.left};
  TOwned<TKsBitmap> Temp(NewObject<TKsBitmap>());
  Temp->TrySetSize(W(Window), H(Window));
  if (Temp->Empty()) return;
  const TKsColor Key = MakeKsColor(255, 0, 255, 255);
  Temp->Fill(Key);
  Temp->SetFont(FFont);
  Temp->DrawText(Text, TRect{-Window.left, -Window.top, H(R) - Window.left, W(R) - Window.top}, Flags);
  GdiFlush();
  const TKsColor Ink = ColorToKsColor(FFont->Color(), 255);
  for (int Y = 0; Y < Temp->Height(); ++Y) {
    const TKsColor* Row = Temp->ScanLine(Y);
    for (int X = 0; X < Temp->Width(); ++X) {
      if (Row[X] == Key) continue;
      // The turn maps the laid-out image onto R itself: its last column and row are
      // R.right - 1 and R.bottom - 1.
      const int Across = X + Window.left, Down = Y + Window.top;
      if (Clockwise)
        SetPixel(R.right - 1 - Down, R.top + Across, Ink);
      else
        SetPixel(R.left + Down, R.bottom - 1 - Across, Ink);
    }
  }
}

// ---------------------------------------------------------------------------------
// Single pixels

TKsColor TKsBitmap::GetPixel(int AX, int AY) const {
  const long long LX = static_cast<long long>(AX) - FOrigin.x, LY = static_cast<long long>(AY) - FOrigin.y;
  if (!FBits || LX < 0 || LY < 0 || LX >= FWidth || LY >= FHeight) return KsColorBlack;
  const int X = static_cast<int>(LX), Y = static_cast<int>(LY);
  GdiFlush();
  return FBits[Y * FWidth + X];
}

void TKsBitmap::SetPixel(int AX, int AY, TKsColor Color) {
  const long long LX = static_cast<long long>(AX) - FOrigin.x, LY = static_cast<long long>(AY) - FOrigin.y;
  if (!FBits || LX < 0 || LY < 0 || LX >= FWidth || LY >= FHeight) return;
  const int X = static_cast<int>(LX), Y = static_cast<int>(LY);
  GdiFlush();
  FBits[Y * FWidth + X] = Color;
}

// ---------------------------------------------------------------------------------
// Assignment and streams

void TKsBitmap::Assign(TPersistent* Source) {
  if (auto* Bitmap = ObjectAs<TBitmap>(Source)) {
    AssignBitmap(Bitmap);
  } else if (auto* Graphic = ObjectAs<TGraphic>(Source)) {
    AssignGraphic(Graphic);
  } else if (auto* Picture = ObjectAs<TPicture>(Source)) {
    if (auto* PictureBitmap = ObjectAs<TBitmap>(Picture->Graphic()))
      AssignBitmap(PictureBitmap);
    else if (Picture->Graphic())
      AssignGraphic(Picture->Graphic());
  } else if (ObjectAs<TKsBitmap>(Source)) {
    // Another kit bitmap: nothing is copied.
  } else {
    inherited::Assign(Source);
  }
}

void TKsBitmap::AssignBitmap(TBitmap* Source) {
  SetSize(Source->Width(), Source->Height());
  if (Empty() || Source->Empty()) return;
  BitBlt(FDC, FOrigin.x, FOrigin.y, FWidth, FHeight, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
  SetAlpha(255);
}

void TKsBitmap::AssignGraphic(TGraphic* Source) {
  SetSize(Source->Width(), Source->Height());
  if (Empty() || Source->Empty()) return;
  {
    TOwned<TCanvas> Canvas(NewObject<TCanvas>());
    Canvas->SetHandle(FDC);
    Canvas->StretchDraw(Bounds(), Source);
    Canvas->SetHandle(nullptr);
  }
  SetAlpha(255);
}

void TKsBitmap::AssignTo(TPersistent* Dest) {
  if (auto* Picture = ObjectAs<TPicture>(Dest)) {
    AssignTo(Picture->Bitmap());
  } else if (auto* Bitmap = ObjectAs<TBitmap>(Dest)) {
    Bitmap->SetPixelFormat(pf32bit);
    Bitmap->SetSize(FWidth, FHeight);
    if (!Empty()) DrawToDC(Bitmap->Canvas()->Handle(), 0, 0);
  } else if (auto* Board = ObjectAs<TClipboard>(Dest)) {
    TOwned<TBitmap> Temp(NewObject<TBitmap>());
    AssignTo(Temp.get());
    Board->Assign(Temp.get());
  } else {
    inherited::AssignTo(Dest);
  }
}

void TKsBitmap::LoadFromStream(TStream* Stream) {
  TOwned<TBitmap> Temp(NewObject<TBitmap>());
  Temp->LoadFromStream(Stream);
  Assign(Temp.get());
}

TGlobalBufferInfo TKsBitmap::ExportBufferInfo() const {
  TGlobalBufferInfo Info;
  std::memset(&Info, 0, sizeof(Info));
  Info.BitmapInfo = FBitmapInfo;
  Info.Handle = FHandle;
  Info.DC = FDC;
  Info.Bits = FBits;
  Info.Height = FHeight;
  Info.Width = FWidth;
  return Info;
}

void TKsBitmap::AdoptBufferInfo(const TGlobalBufferInfo& Info) {
  ReleaseHandles();
  FBitmapInfo = Info.BitmapInfo;
  FHandle = Info.Handle;
  FDC = Info.DC;
  FBits = Info.Bits;
  FHeight = Info.Height;
  FWidth = Info.Width;
  FShared = true;
}

// ---------------------------------------------------------------------------------
// Origin scope

TKsOriginScope::TKsOriginScope(TKsBitmap* Bitmap, const TPoint& Origin) {
  if (!Bitmap || Bitmap->Empty() || Bitmap->Origin() == Origin) return;
  FBitmap = Bitmap;
  FOrigin = Bitmap->Origin();
  GetWindowOrgEx(Bitmap->DC(), &FWindowOrigin);
  Bitmap->SetOrigin(Origin);
}

TKsOriginScope::~TKsOriginScope() {
  if (!FBitmap) return;
  FBitmap->SetOrigin(FOrigin);
  SetWindowOrgEx(FBitmap->DC(), FWindowOrigin.x, FWindowOrigin.y, nullptr);
}
