// Popup windows of the kit's menus: where a level opens on the screen.
#pragma once

#include "classlib/Types.h"

// The top-left corner of a popup window of Width x Height on Screen.
// Without an item rectangle (its width is 0 or less) the popup is free at At: it
// opens to the right of and below the point, to the left when it would pass the right
// edge and above when it would pass the bottom, and is never pushed back further.
// A sub-menu opens below its item when the parent is in menu-bar style (above it when
// it does not fit), otherwise beside it (to the item's left, or up from its bottom,
// when it does not fit); a sub-menu still past the right or bottom edge is then moved
// in against it. No edge pushes a popup right or down.
TPoint PlacePopup(const TRect& Screen, const TPoint& At, const TRect& ItemRect, int Width, int Height,
                  bool MenuBarStyle);
