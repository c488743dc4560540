#include "skin/KsPopup.h"

TPoint PlacePopup(const TRect& Screen, const TPoint& At, const TRect& ItemRect, int Width, int Height,
                  bool MenuBarStyle) {
  TPoint P;
  if (ItemRect.right - ItemRect.left <= 0) {
    P = At;
    if (P.x + Width > Screen.right) P.x = At.x - Width;
    if (P.y + Height > Screen.bottom) P.y = At.y - Height;
    return P;
  }
  if (MenuBarStyle) {
    P = TPoint{ItemRect.left, ItemRect.bottom};
    if (P.x + Width > Screen.right) P.x = ItemRect.right - Width;
    if (P.y + Height > Screen.bottom) P.y = ItemRect.top - Height;
  } else {
    P = TPoint{ItemRect.right, ItemRect.top};
    if (P.x + Width > Screen.right) P.x = ItemRect.left - Width;
    if (P.y + Height > Screen.bottom) P.y = ItemRect.bottom - Height;
  }
  if (P.x + Width > Screen.right) P.x = Screen.right - Width;
  if (P.y + Height > Screen.bottom) P.y = Screen.bottom - Height;
  return P;
}
