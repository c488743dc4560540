// The real cursor put where a test needs it, for good, and a press of the real mouse.
//
// The display server reports every move of the cursor to the windows it crosses and to
// the desktop window's process, with the place of the moment. Those reports come back
// to the system in their senders' own time: on a busy machine one can come after a
// later move and put the cursor back where it was. So a move is made, then what this
// thread's windows and the desktop's process were sent before it is taken; when that
// put the cursor back, the move is made again (the display server has the cursor there
// by then, so its reports name the place itself).
#pragma once

#include <windows.h>

#include "tests/classlib/UiTestSupport.h"

namespace edittest {

// Lets the desktop window's process take what the display server sent it before the
// call: each message sent to the desktop window returns once that process has handled
// it, and between the two the process goes back to its queue, where it takes the
// display server's reports.
inline void SyncWithDesktop() {
  for (int I = 0; I < 2; ++I) {
    DWORD_PTR Result = 0;
    SendMessageTimeoutA(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &Result);
  }
}

// Puts the cursor at (X, Y) and returns once the system keeps it there. The reports of
// this thread's windows are taken without handling any message (no timer runs).
inline bool PlaceCursor(int X, int Y) {
  for (int Tries = 0; Tries < 5; ++Tries) {
    SetCursorPos(X, Y);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    SyncWithDesktop();
    POINT P{};
    GetCursorPos(&P);
    if (P.x == X && P.y == Y) return true;
  }
  return false;
}

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
