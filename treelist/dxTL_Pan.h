// Panning the tree list with the middle button: where the mouse is against the mark
// decides the direction and the speed, and a 20 ms thread timer scrolls one line every
// (13 - speed) ticks. Included by the tree list's panning code and its tests.
#pragma once

#include <windows.h>

#include "classlib/Types.h"

// The thread timer of panning; tests replace them to drive the ticks themselves.
using TdxTLPanStartTimer = UINT_PTR (*)(UINT Interval);
using TdxTLPanStopTimer = void (*)(UINT_PTR Id);
extern TdxTLPanStartTimer dxTLPanStartTimer;
extern TdxTLPanStopTimer dxTLPanStopTimer;

// The panning milliseconds of a tick.
inline constexpr UINT dxTLPanTickInterval = 20;

// Direction: 0 none, 1 left, 2 up, 3 right, 4 down. Speed 0..12.
class TdxTreeListPanMotion {
 public:
  // Origin: the press on the screen; the mark's size; which scroll bars the control
  // has; Screen: the screen's rectangle.
  TdxTreeListPanMotion(TPoint Origin, int MarkWidth, int MarkHeight, bool HasHorz, bool HasVert,
                       const TRect& Screen);
  // The mouse is at P (screen coordinates).
  void MoveTo(TPoint P);
  // One timer tick: the scroll message (WM_HSCROLL or WM_VSCROLL) and its code when a
  // line is due, else 0.
  UINT Tick(WPARAM& Code);
  int Direction() const { return FDirection; }
  int Speed() const { return FSpeed; }
  // Ticks between two scroll steps at the current speed.
  int TicksPerStep() const { return 13 - FSpeed; }
  bool LeftDeadZone() const { return FLeftDeadZone; }
  const TRect& DeadZone() const { return FDeadZone; }

 private:
  TPoint FOrigin;
  int FMarkWidth;
  bool FHasHorz;
  bool FHasVert;
  TRect FDeadZone;
  int FDirection = 0;
  int FSpeed = 1;
  int FTicks = 0;
  bool FLeftDeadZone = false;
};

// The panning that runs now (its motion and mark window), for the tests; null when
// none.
const TdxTreeListPanMotion* dxTLActivePanMotion();
HWND dxTLActivePanMark();
// The window of the control that pans now; null when none.
HWND dxTLActivePanWindow();
