// Points, sizes and rectangles: the Windows records under the class library's names,
// with the usual constructors.
#pragma once

#include <windows.h>

using TPoint = POINT;
using TSize = SIZE;
using TRect = RECT;

inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) {
  return TRect{Left, Top, Right, Bottom};
}
// The rectangle of the given size whose top-left corner is (Left, Top).
inline TRect Bounds(int Left, int Top, int Width, int Height) {
  return TRect{Left, Top, Left + Width, Top + Height};
}

inline bool operator==(const POINT& A, const POINT& B) { return A.x == B.x && A.y == B.y; }
inline bool operator==(const SIZE& A, const SIZE& B) { return A.cx == B.cx && A.cy == B.cy; }
inline bool operator==(const RECT& A, const RECT& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}
