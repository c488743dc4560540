// Show animations and the optional system functions.
#include "skin/KsEffects.h"

#include "classlib/SystemLibrary.h"
#include "classlib/UpdateScope.h"
#include "skin/KsBitmap.h"
#include "skin/KsUtils.h"

TQueryPerformanceProc KsQueryPerformanceCounter = QueryPerformanceCounter;
TQueryPerformanceProc KsQueryPerformanceFrequency = QueryPerformanceFrequency;

// ---------------------------------------------------------------------------------
// Stopwatch

TCLASS_IMPL(TKsCounter)

TKsCounter::TKsCounter() {
  LARGE_INTEGER Value;
  if (KsQueryPerformanceFrequency(&Value)) FFrequency = Value.QuadPart;
}

void TKsCounter::Start() {
  FRunning = true;
  FElapsed = 0.0f;
  LARGE_INTEGER Value{};
  KsQueryPerformanceCounter(&Value);
  FStartCount = Value.QuadPart;
}

float TKsCounter::Stop() {
  LARGE_INTEGER Value{};
  KsQueryPerformanceCounter(&Value);
  FStopCount = Value.QuadPart;
  FRunning = false;
  FElapsed = FFrequency > 0
                 ? static_cast<float>(static_cast<double>(FStopCount - FStartCount) / FFrequency)
                 : 0.0f;
  return FElapsed;
}

void StartCounter(TKsCounter*& Counter) {
  Counter = NewObject<TKsCounter>();
  Counter->Start();
}

float StopCounter(TKsCounter*& Counter) {
  if (!Counter) return 0.0f;
  const float Seconds = Counter->Stop();
  FreeAndNil(Counter);
  return Seconds;
}

// ---------------------------------------------------------------------------------
// Animations

namespace {

// Draws Foreground's Source at (X, Y) of Dest composed by alpha; its AlphaBlend is on
// only meanwhile.
void DrawWithAlpha(TKsBitmap* Foreground, TKsBitmap* Dest, int X, int Y, const TRect& Source) {
  Foreground->SetAlphaBlend(true);
  auto Opaque = AtScopeEnd([Foreground] { Foreground->SetAlphaBlend(false); });
  Foreground->Draw(Dest, X, Y, Source);
}

void DrawWithAlpha(TKsBitmap* Foreground, TKsBitmap* Dest, int X, int Y) {
  DrawWithAlpha(Foreground, Dest, X, Y, TRect{0, 0, Foreground->Width(), Foreground->Height()});
}

// The common frame loop: Compose(Frame, t) makes the frame for t = elapsed / time in
// the frame bitmap, which then goes to the DC. Every frame adds its measured time
// plus 1 ms, so the loop always ends.
template <class F>
void RunFrames(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
               const TRect& ScreenRect, TKsBitmap* Foreground, int StartElapsed, F Compose) {
  if (Time <= 0 || !Background || !Foreground) return;
  // A frame the system cannot give (a window far larger than the screen) runs nothing.
  TOwned<TKsBitmap> Frame(NewObject<TKsBitmap>());
  Frame->TrySetSize(RectWidth(BackgroundRect), RectHeight(BackgroundRect));
  if (Frame->Empty()) return;
  Foreground->SetTransparentColor(KsColorTransparent);
  TOwned<TKsCounter> Counter(NewObject<TKsCounter>());
  for (int Elapsed = StartElapsed; Elapsed < Time;) {
    Counter->Start();
    Compose(Frame.get(), static_cast<float>(Elapsed) / static_cast<float>(Time));
    BitBlt(DC, ScreenRect.left, ScreenRect.top, Frame->Width(), Frame->Height(), Frame->DC(), 0,
           0, SRCCOPY);
    Elapsed += KsRound(Counter->Stop() * 1000.0f) + 1;
  }
}

}  // namespace

void FadeAnimation(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                   const TRect& ScreenRect, TKsBitmap* Foreground) {
  RunFrames(DC, Background, BackgroundRect, Time, ScreenRect, Foreground, 0,
            [&](TKsBitmap* Frame, float T) {
              // The background first, so that the foreground's transparent pixels hold it
              // too; then the whole frame at the frame's opacity over the background.
              Background->Draw(Frame, 0, 0, BackgroundRect);
              DrawWithAlpha(Foreground, Frame, 0, 0);
              Frame->SetAlpha(static_cast<Byte>(KsRound(T * 240.0f) + 15));
              Frame->DrawUnder(Background, BackgroundRect, 0, 0);
            });
}

void SlideAnimation(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                    int Direction, const TRect& ScreenRect, TKsBitmap* Foreground) {
  const int W = RectWidth(BackgroundRect), H = RectHeight(BackgroundRect);
  RunFrames(DC, Background, BackgroundRect, Time, ScreenRect, Foreground, 0,
            [&](TKsBitmap* Frame, float T) {
              const int Wt = KsRound(W * T), Ht = KsRound(H * T);
              int DX = 0, DY = 0;
              switch (Direction) {
                case 0: DX = W - Wt; break;
                case 1: DY = H - Ht; break;
                case 2: DX = Wt - W; break;
                case 3: DY = Ht - H; break;
                case 4: DX = Wt - W; DY = Ht - H; break;
                case 5: DX = W - Wt; DY = Ht - H; break;
                case 6: DX = Wt - W; DY = H - Ht; break;
                case 7: DX = W - Wt; DY = H - Ht; break;
                default: break;
              }
              Background->Draw(Frame, 0, 0, BackgroundRect);
              DrawWithAlpha(Foreground, Frame, DX, DY);
            });
}

void RectAnimation(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                   int Variant, const TRect& ScreenRect, TKsBitmap* Foreground) {
  const int W = RectWidth(BackgroundRect), H = RectHeight(BackgroundRect);
  const int CX = W / 2, CY = H / 2;
  RunFrames(DC, Background, BackgroundRect, Time, ScreenRect, Foreground, 5,
            [&](TKsBitmap* Frame, float T) {
              const int Wt = KsRound(W * T), Ht = KsRound(H * T);
              TRect G;
              switch (Variant) {
                case 1: G = TRect{0, 0, Wt, Ht}; break;
                case 2: G = TRect{W - Wt, 0, W, Ht}; break;
                case 3: G = TRect{0, H - Ht, Wt, H}; break;
                case 4: G = TRect{W - Wt, H - Ht, W, H}; break;
                default: {
                  const int X = KsRound(CX * T), Y = KsRound(CY * T);
                  G = TRect{CX - X, CY - Y, CX + X, CY + Y};
                }
              }
              Background->Draw(Frame, 0, 0, BackgroundRect);
              DrawWithAlpha(Foreground, Frame, G.left, G.top, G);
            });
}

// ---------------------------------------------------------------------------------
// Optional system functions

TSetLayeredWindowAttributesProc KsSetLayeredWindowAttributes = nullptr;
TUpdateLayeredWindowProc KsUpdateLayeredWindow = nullptr;

namespace {

HMODULE LayeredLibrary = nullptr;

template <class T>
void Bind(HMODULE Library, const char* Name, T& Proc) {
  Proc = Library ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Library, Name)))
                 : nullptr;
}

// Frees the library held in Slot, then loads Name into it (null when missing).
HMODULE Reload(HMODULE& Slot, const char* Name) {
  if (Slot) FreeLibrary(Slot);
  Slot = Name ? LoadSystemLibrary(Name) : nullptr;
  return Slot;
}

}  // namespace

void BindLayeredWindows(const char* LibraryName) {
  const HMODULE Library = Reload(LayeredLibrary, LibraryName);
  Bind(Library, "SetLayeredWindowAttributes", KsSetLayeredWindowAttributes);
  Bind(Library, "UpdateLayeredWindow", KsUpdateLayeredWindow);
}

bool IsLayeredWindowsAvailable() { return KsSetLayeredWindowAttributes != nullptr; }

void InitKsEffects() { BindLayeredWindows("user32.dll"); }

void DoneKsEffects() { BindLayeredWindows(nullptr); }
