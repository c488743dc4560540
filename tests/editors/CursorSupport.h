// A press of the real mouse, with the cursor put in place for good first
// (tests/support/CursorSupport.h).
#pragma once

#include <windows.h>

#include "tests/classlib/UiTestSupport.h"
#include "tests/support/CursorSupport.h"

namespace edittest {

using ::PlaceCursor;

// A press and release of the real left button at (X, Y) on the screen, as the user's
// input arrives. The cursor is put there first and each input carries the place too,
// so that a move the system reports late cannot take the press elsewhere; what the
// window system still owes the thread (the notices of windows just shown) is handled
// before the press.
inline bool RealClick(int X, int Y) {
  if (!PlaceCursor(X, Y)) return false;
  INPUT Input[2] = {};
  for (INPUT& I : Input) {
    I.type = INPUT_MOUSE;
    I.mi.dx = (X * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    I.mi.dy = (Y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  Input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  Input[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  uitest::Settle();
  return SendInput(2, Input, sizeof(INPUT)) == 2;
}

}  // namespace edittest
