// Keyboard and mouse input made as a user makes it: every event goes through SendInput
// into the system's input stream, and reaches whichever window has the pointer or the
// keyboard focus then. Nothing here reads or sends to any window.
#pragma once

#include <windows.h>

#include "host/HostScript.h"

// Moves the pointer to Point (screen pixels). False when the event was not taken.
bool SendPointerMove(POINT Point);
// Presses or releases the left mouse button where the pointer is.
bool SendLeftButton(bool Down);
// Presses the chord's modifiers, presses and releases its key, then releases the
// modifiers in reverse order.
bool SendKeyChord(const TKeyChord& Chord);
// Types one character of the system code page: as the key (with Shift, Ctrl or Alt) the
// keyboard layout gives it, or as a Unicode keystroke when no key makes it.
bool SendCharacter(char Character);
