// Stateless drawing helpers shared by the editors, their popups and the grid: text in
// a rectangle with the editors' own flag word, glyphs whose transparent colour takes a
// brush, a checkered colour overlay, image-list images, shadow bands and size grips,
// and the placement of a popup inside the work area of the monitor it opens on.
//
// The unit owns one GDI object, an 8 x 8 checker pattern brush, made when the unit
// starts and deleted when it ends (counted by the class library's handle count).
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Types.h"

// The characters of Text, drawn from X, that show between Left and Right: First and
// Count of those lying wholly or partly between them (a double-byte character whole),
// and the X to draw them from. The system renders every glyph it is handed, clipped or
// not, at a cost that grows with the font's size: a text far wider than its rectangle
// goes out only as far as it shows.
struct TdxShownText {
  int First;
  int Count;
  int X;
};
TdxShownText dxShownText(HDC DC, const char* Text, int Length, int X, int Left, int Right);

// The flag word of DrawTextInRect. Bits 0-1 align horizontally, bits 2-4 vertically.
inline constexpr UINT DXTR_LEFT = 0;
inline constexpr UINT DXTR_CENTER = 1;
inline constexpr UINT DXTR_RIGHT = 2;
inline constexpr UINT DXTR_HORZMASK = 3;
inline constexpr UINT DXTR_TOP = 0;        // single line
inline constexpr UINT DXTR_VCENTER = 4;    // single line
inline constexpr UINT DXTR_BOTTOM = 8;     // single line
inline constexpr UINT DXTR_WORDBREAK = 16;  // several lines, broken between words
inline constexpr UINT DXTR_VERTMASK = 28;
inline constexpr UINT DXTR_END_ELLIPSIS = 0x100;
inline constexpr UINT DXTR_PATH_ELLIPSIS = 0x200;
inline constexpr UINT DXTR_FOCUSRECT = 0x400;
// The focus rectangle surrounds the text itself (none for an empty text) instead of
// the whole text rectangle.
inline constexpr UINT DXTR_FOCUSTEXT = 0x800;
inline constexpr UINT DXTR_NOFILL = 0x1000;
// Always the formatted path, with & prefixes processed.
inline constexpr UINT DXTR_PREFIX = 0x2000;
inline constexpr UINT DXTR_CALCRECT = 0x4000;   // measure only, draw nothing
inline constexpr UINT DXTR_KEEPBKMODE = 0x8000;  // otherwise transparent while drawing

// Draws Text (Length characters; a negative Length: up to its end) in TextRect with Font and TextColor, filling FillRect
// (which holds TextRect) with Brush or with BackgroundColor, as Flags say. A single
// line that fits, or one that may not be shortened, goes out directly (ExtTextOut,
// clipped to TextRect's right edge, the area right of it filled); a wrapped text, one
// with ellipses that needs them and anything with DXTR_PREFIX goes through DrawText.
// Measuring (DXTR_CALCRECT) stores the height of one line of the text in *TextHeight
// (when given) and returns the height FillRect needs for the whole text; otherwise
// returns 0. The DC's font, text
// colour and background colour are restored.
int DrawTextInRect(HDC DC, const char* Text, int Length, int* TextHeight, TColor TextColor,
                   TColor BackgroundColor, HFONT Font, HBRUSH Brush, UINT Flags,
                   const TRect& TextRect, const TRect& FillRect);

// Copies Bitmap to Rect's top-left corner at its own size, with every pixel of its
// transparent colour replaced by Brush.
void DrawGlyphWithBrush(HDC DC, HBRUSH Brush, const TRect& Rect, TBitmap* Bitmap);
// The part of R that DC shows: R cut to the DC's clip box (its whole surface when it
// clips nothing), empty when the DC shows nothing. A scratch bitmap for R needs no
// more: a cell or a button may reach far past any screen.
TRect ShownPart(HDC DC, const TRect& R);
// Fills DestRect with Brush and puts Bitmap at BitmapRect (relative to DestRect) with
// its transparent colour replaced by Brush, in one copy to the DC (no flicker).
void DrawBitmapOnBrush(HDC DC, HBRUSH Brush, const TRect& DestRect, TBitmap* Bitmap,
                       const TRect& BitmapRect);
// Over Rect, the pixels whose column and row (in DC coordinates) have the same parity
// take Color; the others keep what is there.
void DrawCheckerOverlay(HDC DC, const TRect& Rect, TColor Color);
// A band Size pixels high along Rect's bottom, then one Size pixels wide along its
// right side, both inside Rect.
void DrawShadow(HDC DC, const TRect& Rect, int Size, HBRUSH Brush);
// Image Index of ImageList at (X, Y) in the list's colours and drawing style; nothing
// for a list without a handle.
void DrawImageListImage(HDC DC, int X, int Y, TCustomImageList* ImageList, int Index);
// Grows Bitmap to at least Width x Height; never shrinks it.
void EnsureBitmapSize(TBitmap* Bitmap, int Width, int Height);

// The work area of the monitor nearest to Point (the system's work area when the
// monitor cannot be asked).
void GetWorkAreaAt(const TPoint& Point, TRect& Rect);
// Moves a popup of Width x Height whose top-left is Position, opening below an owner
// OwnerHeight pixels high, inside Area: back from the left and right edges, and above
// the owner when it passes the bottom and there is more room above than below.
void PlacePopupInArea(TPoint& Position, int Width, int Height, int OwnerHeight, const TRect& Area);
// PlacePopupInArea in the work area of the monitor at Position.
void PlacePopup(TPoint& Position, int Width, int Height, int OwnerHeight);

// Which corner of a rectangle a size grip sits in.
enum TdxCorner { coTopLeft, coTopRight, coBottomLeft, coBottomRight };
// Cuts Rect to the scroll-bar-sized box in Corner, fills two-pixel strips on its outer
// sides with the button face and draws the system's size grip in the rest, pointing
// into the corner.
void DrawSizeGrip(HDC DC, TRect& Rect, TdxCorner Corner);

// The unit's 8 x 8 checker brush: black where column and row have the same parity,
// white elsewhere; null before the unit starts and after it ends.
HBRUSH CheckerBrush();

void InitdxDrawing();
void DonedxDrawing();
