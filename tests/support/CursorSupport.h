// The real cursor put where a test needs it, for good.
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
