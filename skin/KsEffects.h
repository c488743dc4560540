// Show animations of skinned windows (fade, slide, growing rectangle), the stopwatch
// that paces them by measured frame time, and the optional system functions the kit
// looks up at start instead of importing them: layered windows (user32). A function
// that is missing turns its feature off.
#pragma once

#include <windows.h>

#include "classlib/Objects.h"
#include "classlib/Types.h"

class TKsBitmap;

// How a skinned form appears.
enum TKsAnimation { kaNone, kaRandom, kaFade, kaSlide, kaRect };

// The performance counter and its frequency as the kit reads them. Tests replace them
// with a clock of their own.
using TQueryPerformanceProc = BOOL(WINAPI*)(LARGE_INTEGER* Value);
extern TQueryPerformanceProc KsQueryPerformanceCounter;
extern TQueryPerformanceProc KsQueryPerformanceFrequency;

// A high-resolution stopwatch. Without a counter frequency it measures nothing.
class TKsCounter : public TObject {
  TCLASS_DECL(TKsCounter, TObject)
 public:
  TKsCounter();

  void Start();
  // Stops and returns the seconds since Start.
  float Stop();

  Int64 Frequency() const { return FFrequency; }
  bool Running() const { return FRunning; }
  float Elapsed() const { return FElapsed; }

 private:
  Int64 FFrequency = 0;
  Int64 FStartCount = 0;
  Int64 FStopCount = 0;
  bool FRunning = false;
  float FElapsed = 0.0f;
};

// Makes a started counter in Counter.
void StartCounter(TKsCounter*& Counter);
// Stops and frees the counter and clears the variable; its seconds (0 for none).
float StopCounter(TKsCounter*& Counter);

// The animations. Background is the screen image under the window (the part in
// BackgroundRect is used), Foreground the window's finished image, whose pixels of
// RGB (127, 0, 127) become transparent. Frames are copied to DC at ScreenRect's top-
// left for about Time milliseconds (nothing for 0); the final frame is left to the
// caller. The calling thread is blocked meanwhile.
void FadeAnimation(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                   const TRect& ScreenRect, TKsBitmap* Foreground);
// Direction 0..7: from the right, bottom, left, top, top-left, top-right, bottom-left,
// bottom-right.
void SlideAnimation(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                    int Direction, const TRect& ScreenRect, TKsBitmap* Foreground);
// Variant 0..4: growing from the centre, top-left, top-right, bottom-left, bottom-right.
void RectAnimation(HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                   int Variant, const TRect& ScreenRect, TKsBitmap* Foreground);

// ---------------------------------------------------------------------------------
// Optional system functions (null when missing).

using TSetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using TUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*,
                                               COLORREF, BLENDFUNCTION*, DWORD);

extern TSetLayeredWindowAttributesProc KsSetLayeredWindowAttributes;
extern TUpdateLayeredWindowProc KsUpdateLayeredWindow;

// True when SetLayeredWindowAttributes was found.
bool IsLayeredWindowsAvailable();

// Loads the library by name from the system folder (LoadSystemLibrary, freeing the one
// it held) and looks the entry points up; the unit binds user32.dll, tests other names.
// The visual-styles functions have their own binding (TeThemeXPImpl).
void BindLayeredWindows(const char* LibraryName);

// The unit's start (the binding) and end (its library freed).
void InitKsEffects();
void DoneKsEffects();
