// The self-drawn menu look that painters share: the bitmap-atlas painter draws its
// menus this way, and the visual-styles painter draws so where the style lacks the
// menu's class or part (with its own colours, fonts and sizes, since every colour,
// font and size is asked of the painter given).
#pragma once

#include "skin/KsBitmap.h"
#include "skin/KsItems.h"
#include "skin/KsThemeThemes.h"

// Sets the bitmap's font to the painter's font of Kind (name, size, style).
void SetThemeFont(TTeTheme* Theme, TKsBitmap* Bitmap, Byte Kind);

// Caption width + 12 by the size of kind 14.
void MeasureMenuBarItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                                 int& Width, int& Height);
// A separator is 9 high, any other item the size of kind 14; caption + 42 + shortcut
// + 16 wide.
void MeasurePopupItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                               int& Width, int& Height);
void DrawMenuBarBackgroundSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, int Width, int Height);
// WithBackground false leaves the rectangle's background as it is (drawn by the visual
// style) and draws only the caption.
void DrawMenuBarItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                              const TRect& Rect, bool Selected, bool Raised,
                              bool WithBackground = true);
void DrawPopupBackgroundSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, int Width, int Height);
// WithBackground false: only the image or check mark, caption, shortcut and arrow.
void DrawPopupItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                            const TRect& Rect, bool Selected, bool WithBackground = true);
