// Keyboard and mouse input made as a user makes it: every event goes through SendInput
// into the system's input stream, and reaches whichever window has the pointer or the
// keyboard focus then. Nothing here reads or sends to any window but the desktop window
// (TakeInPointerReports).
#pragma once

#include <windows.h>

#include "host/HostScript.h"

// Moves the pointer to Point (screen pixels). False when the event was not taken.
bool SendPointerMove(POINT Point);
// Presses or releases the left mouse button at Point (screen pixels): the event carries
// the place, as a real mouse's does, so it lands there even when a late report has put
// the pointer elsewhere since it was seen at Point.
bool SendLeftButton(bool Down, POINT Point);
// Lets the desktop window's process take in what the display server has reported to it
// so far. A move of the pointer is reported back to that process with the place the
// pointer left, and the process hands it on as a move of its own in its own time: until
// it has, the pointer can still jump back. Each message sent to the desktop window
// returns once that process has handled it, and in between the process goes back to its
// queue, where it takes those reports (two rounds make sure of one full pass).
void TakeInPointerReports(DWORD Timeout);
// Presses the chord's modifiers, presses and releases its key, then releases the
// modifiers in reverse order.
bool SendKeyChord(const TKeyChord& Chord);
// Types one character of the system code page: as the key (with Shift, Ctrl or Alt) the
// keyboard layout gives it, or as a Unicode keystroke when no key makes it.
bool SendCharacter(char Character);
