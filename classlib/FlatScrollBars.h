// The flat scroll bar functions of comctl32, bound once at run time (its import
// library leaves them out). Where comctl32 lacks one, the call falls back to the plain
// scroll bar function, which is what a flat bar falls back to anyway; a window's
// flat-bar set-up (initialize, uninitialize, properties) then answers FALSE.
#pragma once

#include <windows.h>

BOOL FlatSBInitialize(HWND Wnd);
BOOL FlatSBUninitialize(HWND Wnd);
BOOL FlatSBSetScrollProp(HWND Wnd, UINT Index, INT_PTR Value, BOOL Redraw);
BOOL FlatSBGetScrollInfo(HWND Wnd, int Bar, SCROLLINFO& Info);
int FlatSBSetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO& Info, BOOL Redraw);
BOOL FlatSBShowScrollBar(HWND Wnd, int Bar, BOOL Show);
// Whether comctl32 has the flat scroll bars at all.
bool FlatSBAvailable();
