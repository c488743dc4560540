// The kit's colours and its 32-bit off-screen bitmap. Every skinned control, frame,
// menu and painter draws into a TKsBitmap: a top-down DIB section with a per-pixel
// alpha channel (never premultiplied), kept selected in its own memory DC. Pixel work
// runs straight on the DIB memory; GDI serves lines, shapes, text and plain copies.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Objects.h"
#include "classlib/Streams.h"
#include "classlib/Types.h"
#include "skin/KsLowLevel.h"

// ---------------------------------------------------------------------------------
// Colours.

inline constexpr TKsColor KsColorBlack = 0xFF000000;  // what reading outside a bitmap gives
inline constexpr TKsColor KsColorGray = 0xFF7F7F7F;
inline constexpr TKsColor KsColorWhite = 0xFFFFFFFF;
inline constexpr TKsColor KsColorRed = 0xFFFF0000;
inline constexpr TKsColor KsColorPale = 0xFFEDEDEE;
inline constexpr TKsColor KsColorNavy = 0xFF003399;
inline constexpr TKsColor KsColorAmber = 0xFFF8C751;
inline constexpr TKsColor KsColorSky = 0xFF64A0FF;
// The fully transparent pixel (RGB 127, 0, 127), as SetTransparentColor writes it.
inline constexpr TKsColor KsColorTransparent = 0x007F007F;
// From the system colours clWindow, clBtnFace and clBtnShadow, set when the unit starts.
extern TKsColor KsColorWindow;
extern TKsColor KsColorFace;
extern TKsColor KsColorShadow;

inline constexpr Byte KsRed(TKsColor C) { return static_cast<Byte>(C >> 16); }
inline constexpr Byte KsGreen(TKsColor C) { return static_cast<Byte>(C >> 8); }
inline constexpr Byte KsBlue(TKsColor C) { return static_cast<Byte>(C); }
inline constexpr Byte KsAlpha(TKsColor C) { return static_cast<Byte>(C >> 24); }

// Rounds to the nearest integer, ties to even (the kit's rounding everywhere).
int KsRound(double Value);

// System colours resolved, then R, G, B packed with Alpha.
TKsColor ColorToKsColor(TColor Color, Byte Alpha);
// Each channel clamped to 0..255.
TKsColor MakeKsColor(std::int16_t R, std::int16_t G, std::int16_t B, Byte Alpha);
// The RGB of the colour channels; alpha dropped.
TColor KsColorToColor(TKsColor Color);
// Colour channels plus (minus) the deltas, clamped at 255 (0); alpha wraps modulo 256.
TKsColor AddKsColor(TKsColor Color, Byte DR, Byte DG, Byte DB, Byte DA);
TKsColor SubKsColor(TKsColor Color, Byte DR, Byte DG, Byte DB, Byte DA);
TKsColor LightenKsColor(TKsColor Color, Byte Amount);
TKsColor DarkenKsColor(TKsColor Color, Byte Amount);
// Hue, saturation and lightness, each 0..1, in single precision.
void KsColorToHSL(TKsColor Color, float& H, float& S, float& L);
TKsColor HSLToKsColor(float H, float S, float L);  // alpha 255
// Hue moved by Delta 255ths of the circle (modulo 255); alpha 255.
TKsColor ShiftHue(TKsColor Color, int Delta);
// Delta added to every colour channel, clamped; alpha 255.
TKsColor ShiftBrightness(TKsColor Color, int Delta);

// ---------------------------------------------------------------------------------
// The exchange record of a bitmap's handles (64 bytes). It crosses module boundaries
// through the exported GetGlobalBuffer.

#pragma pack(push, 4)
struct TGlobalBufferInfo {
  BITMAPINFO BitmapInfo;  // header and one colour entry
  HBITMAP Handle;
  HDC DC;
  TKsColor* Bits;
  Integer Height;
  Integer Width;
};
#pragma pack(pop)
static_assert(sizeof(TGlobalBufferInfo) == 64);
static_assert(offsetof(TGlobalBufferInfo, Handle) == 44);

inline constexpr const char* SKsNoDibHandle = "Can't allocate the DIB handle";
inline constexpr const char* SKsNoCompatibleDC = "Can't create compatible DC";
inline constexpr const char* SKsNoSelectObject = "Can't select an object into DC";

// A pen or brush of one colour that a bitmap keeps for its GDI drawing.
struct TKsHeldObject {
  COLORREF Color;
  HGDIOBJ Object;
};
// How many pen colours and brush colours a bitmap keeps at most.
inline constexpr std::size_t KsHeldObjects = 8;

// ---------------------------------------------------------------------------------
// The bitmap. Pixel (x, y) is Bits()[y * Width() + x]. Rectangles are left/top
// inclusive, right/bottom exclusive; "clipped" means cut to Bounds(), which is
// (0, 0, Width, Height) unless the bitmap has an origin. Drawing from or into an empty
// bitmap does nothing.
//
// The origin: a bitmap may hold a part of a larger image (a control's buffer holding
// the part of the control that shows). Origin() is the position of its top-left pixel
// in that image, and every operation takes positions and rectangles in the image's
// coordinates (GDI drawing too: the DC's window origin is the bitmap's origin). Bits()
// and ScanLine() count from the top-left pixel whatever the origin.

class TKsBitmap : public TPersistent {
  TCLASS_DECL(TKsBitmap, TPersistent)
 public:
  TKsBitmap();
  TKsBitmap(const TKsBitmap&) = delete;
  TKsBitmap& operator=(const TKsBitmap&) = delete;
  ~TKsBitmap() override;

  // A TBitmap, another TGraphic or a TPicture's graphic: resized to it and drawn,
  // then made opaque. Another TKsBitmap copies nothing.
  void Assign(TPersistent* Source) override;

  // Absolute values are taken; a zero side or the current size change nothing.
  // Otherwise the bitmap gets a new DIB (content undefined) and OnChange runs. A
  // failure raises Exception and leaves the bitmap empty.
  void SetSize(int AWidth, int AHeight);
  // SetSize for a size that may be more than the system can give: a failure leaves the
  // bitmap empty and answers false instead of raising.
  bool TrySetSize(int AWidth, int AHeight);
  bool Empty() const { return FHandle == nullptr; }
  // (0, 0) unless set; a new size (or an empty bitmap) puts it back at (0, 0).
  TPoint Origin() const { return FOrigin; }
  void SetOrigin(const TPoint& Value);
  // The part of the image the bitmap holds: Origin and the size.
  TRect Bounds() const;

  const BITMAPINFO& BitmapInfo() const { return FBitmapInfo; }
  HBITMAP Handle() const { return FHandle; }
  HDC DC() const { return FDC; }
  TKsColor* Bits() const { return FBits; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TKsColor* ScanLine(int Y) const { return FBits + Y * FWidth; }
  // On: drawing this bitmap onto another, and filling rectangles in it, compose by
  // alpha. Off: they copy.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPoint PenPos() const { return FPenPos; }
  // True while the handles are borrowed (AdoptBufferInfo); they are never deleted here.
  bool Shared() const { return FShared; }

  // Whole-bitmap pixel operations.
  void Fill(TKsColor Color);
  void SetAlpha(Byte Alpha);
  void SetAlphaRect(const TRect& R, Byte Alpha);
  // Pixels of the colour's RGB (alpha ignored) become KsColorTransparent.
  void SetTransparentColor(TKsColor Color);
  // Every pixel whose alpha is not 0 := ShiftHue / ShiftBrightness of it.
  void ShiftHueAll(int Delta);
  void ShiftBrightnessAll(int Delta);

  // Copies to a device context (BitBlt, SRCCOPY): the whole bitmap with its top-left
  // pixel at (X, Y), or Source (in the image's coordinates) at (X, Y).
  void DrawToDC(HDC DC, int X, int Y);
  void DrawRectToDC(HDC DC, int X, int Y, const TRect& Source);
  void DrawToCanvas(TCanvas* Canvas, int X, int Y);

  // This bitmap (or Source of it) onto Dest with its top-left at (X, Y). AlphaBlend off:
  // BitBlt. On: every source pixel inside both bitmaps is composed with BlendPixel.
  void Draw(TKsBitmap* Dest, int X, int Y);
  void Draw(TKsBitmap* Dest, int X, int Y, const TRect& Source);
  // Source stretched over DestRect: StretchBlt when AlphaBlend is off, else nearest-
  // neighbour sampling in 16.16 fixed point composed as by Draw. Destination pixels
  // whose sample lies outside this bitmap are left alone.
  void StretchDraw(TKsBitmap* Dest, const TRect& DestRect, const TRect& Source);
  // Source repeated over DestRect from its top-left; the last column and row of tiles
  // take the left and top part of Source.
  void TileDraw(TKsBitmap* Dest, const TRect& DestRect, const TRect& Source);
  // StretchDraw or TileDraw; nothing for a DestRect without area.
  void DrawRect(TKsBitmap* Dest, const TRect& DestRect, bool Stretch, const TRect& Source);
  // Centre and edges stretched or tiled, the four corners unscaled.
  void DrawNinePart(TKsBitmap* Dest, const TRect& DestRect, bool Stretch, int MarginLeft,
                    int MarginTop, int MarginRight, int MarginBottom, const TRect& Source);
  // This bitmap composed over Source's rectangle SourceRect placed at (X, Y): where
  // this bitmap is transparent Source shows, where it is opaque it stays. Pixels
  // outside either bitmap are left out.
  void DrawUnder(TKsBitmap* Source, const TRect& SourceRect, int X, int Y);

  // GDI lines and shapes in a colour's RGB. The bitmap keeps the shared pens and
  // brushes of the last colours it drew with, so repeated drawing makes none.
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y, TKsColor Color);
  void DrawLine(const TRect& R, TKsColor Color);
  void DrawFocusRect(const TRect& R, TKsColor Color);
  void RoundRect(const TRect& R, int Radius, TKsColor Color);
  void FillRoundRect(const TRect& R, int Radius, TKsColor Color);
  void Polygon(std::span<const TPoint> Points, TKsColor Color);
  void FillPolygon(std::span<const TPoint> Points, TKsColor Color);

  // Pixel drawing, always composed with BlendPixel: top and left edges in TopLeft,
  // bottom and right in BottomRight, of the clipped rectangle.
  void DrawEdge(const TRect& R, TKsColor TopLeft, TKsColor BottomRight);
  void FrameRect(const TRect& R, TKsColor Color) { DrawEdge(R, Color, Color); }
  // Width nested edges, lightened and darkened from Color.
  void DrawBevel(const TRect& R, TKsColor Color, bool Sunken, int Width);
  // Clipped; copies the colour, or composes it when AlphaBlend is on.
  void FillRect(const TRect& R, TKsColor Color);
  // FillRect with Background, then a checkerboard of Dot whose (0, 0) is a dot.
  void FillHalftone(const TRect& R, TKsColor Background, TKsColor Dot);
  // At most 255 bands from From to To across the rectangle (down it when Vertical),
  // each filled as by FillRect.
  void GradientRect(const TRect& R, TKsColor From, TKsColor To, bool Vertical);

  // Text in Font, on a transparent background; 0 for empty text or an empty bitmap.
  int TextHeight(const AnsiString& Text);
  int TextWidth(const AnsiString& Text, UINT Flags = 0);
  // A bold font whose face draws its bold no heavier than its regular weight at its
  // size is drawn heavier by a second pass one pixel to the right.
  int DrawText(const AnsiString& Text, const TRect& R, UINT Flags);
  // The text turned a quarter turn (clockwise or not), without anti-aliasing; only
  // the part of R on the bitmap is drawn, however far R reaches past it.
  void DrawVerticalText(const AnsiString& Text, const TRect& R, UINT Flags, bool Clockwise);

  // KsColorBlack outside the bitmap; SetPixel outside does nothing.
  TKsColor GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, TKsColor Color);

  // A BMP stream, through a TBitmap and Assign.
  void LoadFromStream(TStream* Stream);

  TGlobalBufferInfo ExportBufferInfo() const;
  // Lets go of its own handles and borrows the record's (Shared becomes True).
  void AdoptBufferInfo(const TGlobalBufferInfo& Info);

  // Runs after every successful resize.
  TNotifyEvent OnChange;

 protected:
  // A TPicture (its Bitmap), a TBitmap (32-bit, this size, this image) or the clipboard
  // (through a TBitmap).
  void AssignTo(TPersistent* Dest) override;

 private:
  // Whether the font's face draws its bold heavier than its regular weight at its
  // height; measured once for each face and height.
  static bool BoldDrawsHeavier(TFont* Font);
  void ReleaseHandles();
  // The resize of SetSize; nullptr, or the message of the step that failed.
  const char* Resize(int AWidth, int AHeight);
  // R in the bitmap's own pixels (less the origin, saturated), and that cut to them.
  TRect Local(const TRect& R) const;
  TRect ClipToBitmap(const TRect& R) const;
  void AssignBitmap(TBitmap* Source);
  void AssignGraphic(TGraphic* Source);
  // The alpha path of Draw and StretchDraw.
  void BlendOnto(TKsBitmap* Dest, int X, int Y, const TRect& Source);
  void StretchBlend(TKsBitmap* Dest, const TRect& DestRect, const TRect& Source);
  // Fills row Y from X1 (inclusive) to X2 (exclusive) as FillRect does.
  void FillRun(int Y, int X1, int X2, TKsColor Color);
  // The kept solid pen (width 1) and brush of a colour.
  HPEN SolidPen(TKsColor Color);
  HBRUSH SolidBrush(TKsColor Color);

  BITMAPINFO FBitmapInfo;
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  TKsColor* FBits = nullptr;
  int FHeight = 0;
  int FWidth = 0;
  bool FAlphaBlend = false;
  TFont* FFont;
  TPoint FPenPos{0, 0};
  TPoint FOrigin{0, 0};
  bool FShared = false;
  std::vector<TKsHeldObject> FPens;
  std::vector<TKsHeldObject> FBrushes;
};

// A bitmap's origin moved for the length of a scope. The origin it had, and its DC's
// window origin as it was, come back after it, so that a bitmap lent by another owner
// (the host's buffer) is left as it was found. A null or empty bitmap, or the origin it
// has already, is left alone.
class TKsOriginScope {
 public:
  TKsOriginScope(TKsBitmap* Bitmap, const TPoint& Origin);
  TKsOriginScope(const TKsOriginScope&) = delete;
  TKsOriginScope& operator=(const TKsOriginScope&) = delete;
  ~TKsOriginScope();

 private:
  TKsBitmap* FBitmap = nullptr;
  TPoint FOrigin{0, 0};
  POINT FWindowOrigin{0, 0};
};

// The unit's start: the system-derived colour constants.
void InitKsBitmap();
void DoneKsBitmap();
