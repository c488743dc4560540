// Graphics over GDI: colours, fonts, pens and brushes, the canvas over a device
// context, and the graphic formats (device-independent bitmaps, enhanced metafiles,
// icons) with the picture that holds any one of them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <span>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Objects.h"
#include "classlib/Streams.h"
#include "classlib/TypInfo.h"
#include "classlib/Types.h"

// ---------------------------------------------------------------------------------
// Errors of the graphics classes.

TCLASS_EXCEPTION(EOutOfResources, EOutOfMemory)
TCLASS_EXCEPTION(EInvalidGraphic, Exception)
TCLASS_EXCEPTION(EInvalidGraphicOperation, Exception)

inline constexpr const char* SOutOfResources = "Out of system resources";
inline constexpr const char* SNoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* SInvalidMetafile = "Metafile is not valid";
inline constexpr const char* SInvalidIcon = "Icon image is not valid";
inline constexpr const char* SInvalidPixelFormat = "Invalid pixel format";
inline constexpr const char* SScanLine = "Scan line index out of range";
inline constexpr const char* SChangeIconSize = "Cannot change the size of an icon";
inline constexpr const char* SUnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* SUnknownClipboardFormat = "Unsupported clipboard format";
inline constexpr const char* SCannotSaveIcon = "An icon made from a handle cannot be saved";

// ---------------------------------------------------------------------------------
// Handle bookkeeping. Every pen, brush, font, bitmap, device context, metafile, icon
// and image list that the graphics classes own is counted from the moment it is made
// or adopted until it is deleted or given away, so that tests can see leaks without
// the system's own counters.

int GdiHandleCount();
// ObjectType is what GetObjectType answers for the handle (0 for handles that are not
// GDI objects, such as icons and image lists).
void CountHandleMade(DWORD ObjectType);
void CountHandleFreed();
// How many objects of one type (OBJ_FONT, OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP, OBJ_MEMDC,
// ...) were made over the module's life; tests compare two readings.
int GdiObjectsMade(DWORD ObjectType);
// Counts Handle when it is not null; returns it.
template <class H>
H CountHandle(H Handle) {
  if (Handle) CountHandleMade(GetObjectType(static_cast<HGDIOBJ>(Handle)));
  return Handle;
}
// Delete a counted handle (nothing for null) and stop counting it.
void DeleteCountedObject(HGDIOBJ Object);
void DeleteCountedDC(HDC DC);

// Raises EOutOfResources "Out of system resources" for a null handle; returns it.
template <class H>
H GdiCheck(H Handle) {
  if (!Handle) throw EOutOfResources(SOutOfResources);
  return Handle;
}

// Shared fonts, pens and brushes: one GDI object per logical description, made through
// the counted functions on the first request and deleted when its last holder gives it
// back. TFont, TPen and TBrush take their handles from here, and so does the kit; no
// other code of the class library or the kit makes a font, pen or brush itself. A
// description that GDI refuses raises EOutOfResources.
//
// The system draws a character through an image of its glyph whose size in bytes it
// counts in 32 bits; for a font tens of thousands of pixels high that count wraps and
// the drawing reads past the image (a fault in the system's text drawing). A font is
// therefore made no higher and no wider than MaxFontPixels, which keeps the largest
// glyph image within reach: a character 2^13 pixels high and several times as wide at
// four bytes a pixel. That is far beyond any screen; a larger request draws at it.
inline constexpr LONG MaxFontPixels = 8192;
HFONT AcquireSharedFont(const LOGFONTA& Font);
HPEN AcquireSharedPen(const LOGPEN& Pen);
HBRUSH AcquireSharedBrush(const LOGBRUSH& Brush);
// Gives back one reference to an object of the cache; null does nothing.
void ReleaseSharedObject(HGDIOBJ Object);
// The distinct objects the cache holds now.
int SharedObjectCount();

// ---------------------------------------------------------------------------------
// Colours. A TColor is an RGB value (red in the low byte), a system colour (the high
// bit set and the COLOR_* index in the low byte), or one of the two markers clNone and
// clDefault.

using TColor = Integer;

constexpr TColor SystemColor(int Index) { return static_cast<TColor>(0x80000000u | Index); }

inline constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
inline constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SystemColor(COLOR_MENU);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
inline constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
inline constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
inline constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
inline constexpr TColor clGradientInactiveCaption =
    SystemColor(COLOR_GRADIENTINACTIVECAPTION);
inline constexpr TColor clMenuHighlight = SystemColor(COLOR_MENUHILIGHT);
inline constexpr TColor clMenuBar = SystemColor(COLOR_MENUBAR);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The RGB value of a colour: a system colour becomes the system's current value; any
// other value (clNone and clDefault included) passes unchanged.
COLORREF ColorToRGB(TColor Color);
// The clXxx names of the colours above, for form files.
bool ColorToIdent(int Color, AnsiString& Ident);
bool IdentToColor(const AnsiString& Ident, int& Color);

// The screen's pixels per logical inch (vertical), read once.
int ScreenLogPixels();

// ---------------------------------------------------------------------------------
// Fonts, pens and brushes. Each holds one shared GDI object (from the cache above),
// taken on first request and given back after a change that affects it; objects with
// equal properties hold the same handle. Every change runs OnChange (a canvas uses it
// to take the old object out of its device context).

class TGraphicsObject : public TPersistent {
  TCLASS_DECL(TGraphicsObject, TPersistent)
 public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;
  ~TGraphicsObject() override;

  bool HandleAllocated() const { return FHandle != nullptr; }

  TNotifyEvent OnChange;

 protected:
  // Takes the shared GDI object for the current properties.
  virtual HGDIOBJ CreateHandle() = 0;
  HGDIOBJ GetHandle();
  // Runs OnChange; HandleChanged first drops the object, which is then taken again on
  // the next request.
  void Changed();
  void HandleChanged();

 private:
  HGDIOBJ FHandle = nullptr;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
TENUM_INFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
TENUM_INFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
using TFontCharset = Byte;

// A logical font. Size is in points, Height in pixels (negative: the character height
// without the internal leading); setting one sets the other through PixelsPerInch.
// A colour change notifies but keeps the handle. A change that a listener refuses (its
// OnChange raises) is undone: the font takes its old description again, tells the
// listeners so (Undoing() is true meanwhile), and the error goes on to the caller.
class TFont : public TGraphicsObject {
  TCLASS_DECL(TFont, TGraphicsObject)
 public:
  TFont();

  HFONT Handle() { return static_cast<HFONT>(GetHandle()); }
  void Assign(TPersistent* Source) override;

  const AnsiString& Name() const { return FData.Name; }
  void SetName(const AnsiString& Value);
  int Size() const;
  void SetSize(int Value);
  int Height() const { return FData.Height; }
  void SetHeight(int Value);
  TColor Color() const { return FData.Color; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FData.Charset; }
  void SetCharset(TFontCharset Value);
  TFontStyles Style() const { return FData.Style; }
  void SetStyle(TFontStyles Value);
  TFontPitch Pitch() const { return FData.Pitch; }
  void SetPitch(TFontPitch Value);
  // The face, height, character set, style and pitch of a font description (such as
  // the system's non-client fonts).
  void SetLogFont(const LOGFONTA& Log);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
  // True while a refused change is undone.
  bool Undoing() const { return FUndoing; }
  // Whether Assign(Font) would leave this font as it is.
  bool SameAs(const TFont* Font) const;

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  struct TDescription {
    AnsiString Name;
    int Height;
    TColor Color = clWindowText;
    TFontCharset Charset = DEFAULT_CHARSET;
    TFontStyles Style;
    TFontPitch Pitch = fpDefault;
    // Whether a font of this description is another GDI object than one of Other's.
    bool OtherObject(const TDescription& Other) const;
  };
  // The description Assign(Font) gives this font: Font's, at the same size in points.
  TDescription Taken(const TFont* Font) const;
  // Takes Value and tells the listeners; undoes both when one of them raises.
  void Change(const TDescription& Value);

  TDescription FData;
  int FPixelsPerInch;
  bool FUndoing = false;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The mix of pen and screen (the R2_* binary raster operations, in this order).
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

// A logical pen; the mode is applied by the canvas that selects it.
class TPen : public TGraphicsObject {
  TCLASS_DECL(TPen, TGraphicsObject)
 public:
  HPEN Handle() { return static_cast<HPEN>(GetHandle()); }
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// A logical brush. Setting a colour on a clear brush makes it solid.
class TBrush : public TGraphicsObject {
  TCLASS_DECL(TBrush, TGraphicsObject)
 public:
  HBRUSH Handle() { return static_cast<HBRUSH>(GetHandle()); }
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// ---------------------------------------------------------------------------------
// The canvas: drawing with its own font, pen and brush on a device context that it
// does not own. It selects each object into the DC when a drawing call first needs
// it and puts the DC's own objects back when it lets go of the DC (SetHandle with
// another DC or null, Refresh, its end), or when the object changes. A drawing call
// that raises leaves the canvas in a state from which letting go still restores the
// DC.

class TGraphic;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;

// Raster operations for CopyRect and the drawing of bitmaps.
using TCopyMode = DWORD;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
  TCLASS_DECL(TCanvas, TPersistent)
 public:
  TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas() override;

  // The DC; a canvas without one asks CreateHandle and raises EInvalidOperation
  // "Canvas does not allow drawing" when it still has none.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  // Setting a font, pen or brush copies its properties.
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }

  TPoint PenPos();
  void SetPenPos(const TPoint& Value) { MoveTo(Value.x, Value.y); }
  TRect ClipRect();

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(std::span<const TPoint> Points);
  void Polyline(std::initializer_list<TPoint> Points) { Polyline(Span(Points)); }
  void Polygon(std::span<const TPoint> Points);
  void Polygon(std::initializer_list<TPoint> Points) { Polygon(Span(Points)); }
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.left, R.top, R.right, R.bottom); }
  // (X3, Y3) is the size of the ellipse that rounds the corners.
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.left, R.top, R.right, R.bottom); }
  // The arc of the ellipse in (X1, Y1, X2, Y2) counter-clockwise from the ray to
  // (X3, Y3) to the ray to (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Fill and frame with the brush.
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);

  // Text in the font; the background is the brush unless the brush is clear.
  // TextOut moves the pen position to the end of the text; TextRect clips to R.
  void TextOut(int X, int Y, const AnsiString& Text);
  void TextRect(const TRect& R, int X, int Y, const AnsiString& Text);
  TSize TextExtent(const AnsiString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }

  // A graphic at its own size, or stretched to R; nothing for null or empty graphics.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Copies Source of another canvas onto Dest (stretched) with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  // Puts the DC's own objects back; the canvas's objects are selected again when a
  // drawing call needs them.
  void Refresh();

  // Run before and after every drawing call.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  // Gives a canvas that has no DC the chance to make one (SetHandle).
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Makes sure the DC exists and the named objects are selected.
  void RequiredState(TCanvasState State);
  TCanvasState State() const { return FState; }

 private:
  static std::span<const TPoint> Span(std::initializer_list<TPoint> Points) {
    return std::span<const TPoint>(Points.begin(), Points.size());
  }
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void DeselectFont();
  void DeselectPen();
  void DeselectBrush();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  HDC FHandle = nullptr;
  TCanvasState FState;
  TFont* FFont;
  TPen* FPen;
  TBrush* FBrush;
  // The DC's own objects, held while the canvas's are selected in their place.
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldPen = nullptr;
  HGDIOBJ FOldBrush = nullptr;
  TPoint FPenPos{0, 0};
  TCopyMode FCopyMode = cmSrcCopy;
};

// ---------------------------------------------------------------------------------
// Graphics: the abstract image that a canvas can draw and a picture can hold.

class TGraphic : public TPersistent {
  TCLASS_DECL(TGraphic, TPersistent)
 public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  // The graphic's own file format, from and to the stream's position.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  // Clipboard data of one format; raise EInvalidGraphic when the class has none.
  virtual void LoadFromClipboardFormat(UINT Format, HANDLE Data);
  // Data is a new handle for SetClipboardData, which takes it over.
  virtual void SaveToClipboardFormat(UINT& Format, HANDLE& Data);

  // Runs after every change: setting a property, loading, drawing on its canvas.
  TNotifyEvent OnChange;

  // Form files keep a graphic as the binary property "Data": its own file format.
  void DefineProperties(TFiler* Filer) override;

 protected:
  friend class TCanvas;
  // Draws the graphic stretched to R on the canvas.
  virtual void Draw(TCanvas* ACanvas, const TRect& R) = 0;
  // Sets Modified and runs OnChange.
  virtual void Changed(TObject* Sender);

 private:
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  bool FTransparent = false;
  bool FModified = false;
};

// ---------------------------------------------------------------------------------
// Bitmaps: always a DIB section with top-down rows, so ScanLine(0) is the top row and
// ScanLine(Row + 1) follows ScanLine(Row) at the row stride. The bitmap keeps its own
// memory DC, in which its canvas draws; Handle takes the DIB out of that DC (for APIs
// that select it elsewhere) and the canvas puts it back when it next draws.
//
// pfDevice and pf32bit keep 4 bytes per pixel (B, G, R, A); pf24bit 3; pf1bit a
// black-and-white table. Loading keeps 1, 4, 8, 24 and 32 bits per pixel as they are
// and turns 16-bit, bit-field and run-length images into 24 or 32 bits. New pixels
// of a resize are white.

enum TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

class TBitmap : public TGraphic {
  TCLASS_DECL(TBitmap, TGraphic)
 public:
  TBitmap() = default;
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;

  // A copy of another bitmap's image and settings; null empties the bitmap.
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FDib == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Keeps the pixels that still fit; a size of 0 either way empties the bitmap.
  void SetSize(int AWidth, int AHeight);

  TCanvas* Canvas();
  HBITMAP Handle();
  HDC DC() const { return FDC; }

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels; pf4bit, pf8bit, pf15bit, pf16bit and pfCustom raise
  // EInvalidGraphicOperation "Invalid pixel format".
  void SetPixelFormat(TPixelFormat Value);
  bool Monochrome() const { return FBitCount == 1; }
  void SetMonochrome(bool Value);
  int BitCount() const { return FBitCount; }
  // Bytes from one row to the next.
  int RowStride() const { return ((FWidth * FBitCount + 31) / 32) * 4; }
  // The first byte of a row; rows outside the bitmap raise EInvalidGraphicOperation
  // "Scan line index out of range". Pending GDI drawing is flushed first.
  void* ScanLine(int Row);

  // With tmAuto the colour of the bottom-left pixel; setting a colour makes the mode
  // tmFixed. Transparent bitmaps are drawn without the pixels of this colour.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // The BMP file format. Loading from a stream that has nothing left empties the
  // bitmap; an empty bitmap saves nothing. Bad data raises EInvalidGraphic.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A bitmap resource (RT_BITMAP); a missing one raises EResNotFound.
  void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);
  // CF_BITMAP.
  void LoadFromClipboardFormat(UINT Format, HANDLE Data) override;
  void SaveToClipboardFormat(UINT& Format, HANDLE& Data) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& R) override;

 private:
  friend class TBitmapCanvas;
  struct TDib;
  static TDib MakeDib(int AWidth, int AHeight, int ABitCount,
                      const std::vector<RGBQUAD>& Colors);
  // Replaces the image with Dib, which the bitmap takes over.
  void Install(const TDib& Dib, int AWidth, int AHeight, int ABitCount,
               TPixelFormat AFormat, const std::vector<RGBQUAD>& Colors);
  void FreeImage();
  // The canvas lets go of the DC and the DIB leaves it.
  void FreeContext();
  // The memory DC with the DIB selected.
  HDC SelectedDC();
  // A packed DIB: header, masks, colour table; the pixels at BitsOffset, or right
  // after the table when BitsOffset is -1.
  void LoadDib(const Byte* Data, std::size_t Size, std::size_t BitsOffset);
  void LoadFromResource(HINSTANCE Instance, const char* Name, const AnsiString& Shown);
  void ConvertTo(int ABitCount, TPixelFormat AFormat, const std::vector<RGBQUAD>& Colors);

  HBITMAP FDib = nullptr;
  Byte* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  int FBitCount = 32;
  TPixelFormat FPixelFormat = pfDevice;
  std::vector<RGBQUAD> FColors;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;  // the DC's own bitmap while the DIB is selected
  TBitmapCanvas* FCanvas = nullptr;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// ---------------------------------------------------------------------------------
// Enhanced metafiles. The size in pixels comes from the picture frame and the
// reference device recorded in the metafile; drawing plays it stretched to the
// rectangle. Only EMF data is read.

class TMetafile : public TGraphic {
  TCLASS_DECL(TMetafile, TGraphic)
 public:
  ~TMetafile() override;

  // A copy of another metafile; null empties this one.
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // The size at which it is drawn and, before recording, the size of the frame that
  // a TMetafileCanvas gives it.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  HENHMETAFILE Handle() const { return FHandle; }
  // Takes the metafile over; the size is read from its header.
  void SetHandle(HENHMETAFILE Value);

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // CF_ENHMETAFILE.
  void LoadFromClipboardFormat(UINT Format, HANDLE Data) override;
  void SaveToClipboardFormat(UINT& Format, HANDLE& Data) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& R) override;

 private:
  HENHMETAFILE FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

// A canvas that records into a new enhanced metafile. The frame is the metafile's
// Width x Height when set (otherwise the bounds of the drawing); freeing the canvas
// hands the recording to the metafile. ReferenceDevice null means the screen.
class TMetafileCanvas : public TCanvas {
  TCLASS_DECL(TMetafileCanvas, TCanvas)
 public:
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  // Hands the recording over (Free runs it); a canvas deleted without Free discards it.
  void BeforeDestruction() override;
  ~TMetafileCanvas() override;

 private:
  TMetafile* FMetafile;
  HDC FRecorder;
};

// ---------------------------------------------------------------------------------
// Icons. Loading an ICO file takes the image of the system's icon size (the first
// one when none has it) and keeps the file, which SaveToStream writes back. An icon
// set by handle cannot be saved.

class TIcon : public TGraphic {
  TCLASS_DECL(TIcon, TGraphic)
 public:
  ~TIcon() override;

  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Raise EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  HICON Handle() const { return FHandle; }
  // Takes the icon over.
  void SetHandle(HICON Value);
  // Gives the icon away; the object becomes empty.
  HICON ReleaseHandle();

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // An icon resource at the system's icon size.
  void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);

 protected:
  void Draw(TCanvas* ACanvas, const TRect& R) override;

 private:
  void Reset(HICON Value);

  HICON FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<Byte> FData;  // the ICO file it was loaded from
};

// ---------------------------------------------------------------------------------
// A picture holds one graphic of any registered class. Files are read by the class
// registered for their extension (bmp, emf and ico to start with), clipboard data by
// the class registered for the format (CF_BITMAP, CF_ENHMETAFILE).

class TPicture : public TPersistent {
  TCLASS_DECL(TPicture, TPersistent)
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  ~TPicture() override;

  // A TPicture or a TGraphic is copied; null empties the picture.
  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic; }
  // Keeps a copy of Value (a new object of its class); null empties the picture.
  void SetGraphic(TGraphic* Value);
  // The graphic as the named class; another graphic is replaced by an empty one.
  TBitmap* Bitmap();
  TMetafile* Metafile();
  TIcon* Icon();

  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // Unknown extensions raise EInvalidGraphic "Unknown picture file extension (.ext)";
  // a file that fails to load leaves the picture as it was.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  void LoadFromClipboardFormat(UINT Format, HANDLE Data);
  void SaveToClipboardFormat(UINT& Format, HANDLE& Data);
  static bool SupportsClipboardFormat(UINT Format);

  // The registry of graphic classes. A later registration of an extension or format
  // wins over an earlier one.
  static void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                 TClass GraphicClass);
  static void RegisterClipboardFormat(UINT Format, TClass GraphicClass);
  static void UnregisterGraphicClass(TClass GraphicClass);
  // The class for an extension (without the dot, any case), or null.
  static TClass GraphicClassOfExtension(const AnsiString& Extension);
  // Every registered clipboard format, the earliest registration first.
  static std::vector<UINT> ClipboardFormats();

  // Runs after the graphic changes or is replaced.
  TNotifyEvent OnChange;

  // Form files keep the picture as the binary property "Data": the graphic's class
  // name (one length byte and the characters), then the graphic's own data.
  void DefineProperties(TFiler* Filer) override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  template <class T>
  T* GraphicAs();
  // Takes Value over, freeing the old graphic.
  void Replace(TGraphic* Value);
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  TGraphic* FGraphic = nullptr;
};

// The file-dialog filter of the registered file formats of GraphicClass and its
// descendants: "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico";
// "" when it has none.
AnsiString GraphicFilter(TClass GraphicClass);
// The first extension registered for GraphicClass or a descendant ("bmp"), or "".
AnsiString GraphicExtension(TClass GraphicClass);
