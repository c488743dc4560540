#include "editors/dxDrawing.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/GdiScopes.h"

namespace {

HBRUSH FCheckerBrush = nullptr;

int RectWidth(const TRect& R) { return R.right - R.left; }
int RectHeight(const TRect& R) { return R.bottom - R.top; }

UINT FormattedTextFormat(UINT Flags, bool TooWide) {
  UINT Format = DT_EXPANDTABS;
  switch (Flags & DXTR_HORZMASK) {
    case DXTR_CENTER: Format |= DT_CENTER; break;
    case DXTR_RIGHT: Format |= DT_RIGHT; break;
    default: Format |= DT_LEFT; break;
  }
  if (!TooWide) Format |= DT_NOCLIP;
  if (!(Flags & DXTR_PREFIX)) Format |= DT_NOPREFIX;
  if (Flags & DXTR_END_ELLIPSIS) Format |= DT_END_ELLIPSIS;
  if (Flags & DXTR_PATH_ELLIPSIS) Format |= DT_PATH_ELLIPSIS;
  switch (Flags & DXTR_VERTMASK) {
    case DXTR_VCENTER: Format |= DT_VCENTER | DT_SINGLELINE; break;
    case DXTR_BOTTOM: Format |= DT_BOTTOM | DT_SINGLELINE; break;
    case DXTR_WORDBREAK: Format |= DT_WORDBREAK; break;
    default: Format |= DT_SINGLELINE; break;
  }
  return Format;
}

bool HoldsLineBreak(const char* Text, int Length) {
  return std::any_of(Text, Text + Length, [](char C) { return C == '\r' || C == '\n'; });
}

COLORREF ImageListColor(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return ColorToRGB(Color);
}

// Replaces the pixels of Bitmap's transparent colour by Brush while copying it to
// (X, Y) of Dest: a monochrome mask that is set where the colour is, then the raster
// operation that takes the brush where the mask is set and keeps the bitmap elsewhere.
void CopyGlyphWithBrush(HDC Dest, int X, int Y, HBRUSH Brush, TBitmap* Bitmap) {
  int Width = Bitmap->Width(), Height = Bitmap->Height();
  if (Width <= 0 || Height <= 0) return;
  HDC Source = Bitmap->Canvas()->Handle();
  TMemoryDC Glyph(Dest, Width, Height);
  BitBlt(Glyph.DC(), 0, 0, Width, Height, Source, 0, 0, SRCCOPY);
  TMemoryDC Mask(Dest, Width, Height, true);
  COLORREF OldSourceBk = SetBkColor(Source, ColorToRGB(Bitmap->TransparentColor()));
  BitBlt(Mask.DC(), 0, 0, Width, Height, Source, 0, 0, SRCCOPY);
  SetBkColor(Source, OldSourceBk);
  // Mask bits become all ones (white) where set, all zeros elsewhere.
  SetTextColor(Glyph.DC(), RGB(0, 0, 0));
  SetBkColor(Glyph.DC(), RGB(255, 255, 255));
  {
    TSelection Selected(Glyph.DC(), Brush);
    BitBlt(Glyph.DC(), 0, 0, Width, Height, Mask.DC(), 0, 0, 0xE20746);
  }
  BitBlt(Dest, X, Y, Width, Height, Glyph.DC(), 0, 0, SRCCOPY);
}

}  // namespace

TdxShownText dxShownText(HDC DC, const char* Text, int Length, int X, int Left, int Right) {
  TdxShownText Shown{0, std::max(Length, 0), X};
  if (Length <= 0) return Shown;
  // The extent of the text up to the end of each byte.
  std::vector<int> Ends(static_cast<std::size_t>(Length));
  SIZE Size{0, 0};
  if (!GetTextExtentExPointA(DC, Text, Length, 0, nullptr, Ends.data(), &Size)) return Shown;
  auto Step = [&](int I) { return IsDBCSLeadByte(static_cast<BYTE>(Text[I])) && I + 1 < Length ? 2 : 1; };
  auto Start = [&](int I) { return I == 0 ? 0 : Ends[static_cast<std::size_t>(I) - 1]; };
  int First = 0;
  while (First < Length && X + Ends[static_cast<std::size_t>(First + Step(First)) - 1] <= Left) First += Step(First);
  int End = First;
  while (End < Length && X + Start(End) < Right) End += Step(End);
  Shown.First = First;
  Shown.Count = End - First;
  Shown.X = X + Start(First);
  return Shown;
}

int DrawTextInRect(HDC DC, const char* Text, int Length, int* TextHeight, TColor TextColor,
                   TColor BackgroundColor, HFONT Font, HBRUSH Brush, UINT Flags,
                   const TRect& TextRect, const TRect& FillRect) {
  if (!Text) Length = 0;
  if (Length < 0) Length = static_cast<int>(strlen(Text));
  const bool Measuring = (Flags & DXTR_CALCRECT) != 0;
  TSavedTextState Saved(DC);
  Saved.SelectFont(Font);
  SetBkColor(DC, ColorToRGB(BackgroundColor));
  SetTextColor(DC, ColorToRGB(TextColor));
  // An empty text measures nothing, whatever the system answers for no characters.
  SIZE Extent{0, 0};
  if (Length > 0) GetTextExtentPoint32A(DC, Text, Length, &Extent);
  int TextWidth = Extent.cx;
  int Height = Extent.cy;
  if (Measuring && TextHeight) {
    *TextHeight = Height;
    if (Height == 0) return 0;
  }

  bool TooWide, Formatted;
  if (Flags & (DXTR_PREFIX | DXTR_WORDBREAK)) {
    TooWide = Formatted = true;
  } else {
    TooWide = RectWidth(TextRect) < TextWidth;
    Formatted = (TooWide || HoldsLineBreak(Text, Length)) &&
                (Flags & (DXTR_END_ELLIPSIS | DXTR_PATH_ELLIPSIS | DXTR_WORDBREAK));
  }

  TRect FocusRect = TextRect;
  if (Formatted) {
    UINT Format = FormattedTextFormat(Flags, TooWide);
    if (Measuring) {
      TRect R = TextRect;
      Height = DrawTextA(DC, Text, Length, &R, Format | DT_CALCRECT);
    } else {
      if (!(Flags & DXTR_NOFILL)) ::FillRect(DC, &FillRect, Brush);
      if (!(Flags & DXTR_KEEPBKMODE)) SetBkMode(DC, TRANSPARENT);
      TRect R = TextRect;
      DrawTextA(DC, Text, Length, &R, Format);
      if ((Flags & DXTR_FOCUSRECT) && (Flags & DXTR_FOCUSTEXT)) {
        FocusRect = TextRect;
        DrawTextA(DC, Text, Length, &FocusRect, Format | DT_CALCRECT);
        if (Format & DT_SINGLELINE) FocusRect.top = FocusRect.bottom - Height;
      }
    }
  } else {
    TRect R = FillRect;
    int X = TextRect.left;
    if (TooWide) {
      if (!(Flags & DXTR_NOFILL) && !Measuring) {
        TRect Right = {TextRect.right, FillRect.top, FillRect.right, FillRect.bottom};
        if (Right.right > Right.left) ::FillRect(DC, &Right, Brush);
      }
      R.right = TextRect.right;
    } else if ((Flags & DXTR_HORZMASK) == DXTR_CENTER) {
      X = (TextRect.left + TextRect.right - TextWidth) / 2;
    } else if ((Flags & DXTR_HORZMASK) == DXTR_RIGHT) {
      X = TextRect.right - TextWidth;
    }
    int Y = TextRect.top;
    if ((Flags & DXTR_VERTMASK) == DXTR_VCENTER)
      Y = (TextRect.top + TextRect.bottom - Height) / 2;
    else if ((Flags & DXTR_VERTMASK) == DXTR_BOTTOM)
      Y = TextRect.bottom - Height;
    if (!Measuring) {
      // A text too wide goes out only as far as it shows.
      const TdxShownText Shown = TooWide ? dxShownText(DC, Text, Length, X, R.left, R.right) : TdxShownText{0, Length, X};
      if (Flags & DXTR_NOFILL) {
        if (!(Flags & DXTR_KEEPBKMODE)) SetBkMode(DC, TRANSPARENT);
        ExtTextOutA(DC, Shown.X, Y, ETO_CLIPPED, &R, Text + Shown.First, Shown.Count, nullptr);
      } else {
        ExtTextOutA(DC, Shown.X, Y, ETO_OPAQUE | ETO_CLIPPED, &R, Text + Shown.First, Shown.Count, nullptr);
      }
    }
    if (Flags & DXTR_FOCUSTEXT) FocusRect = {X, Y, X + TextWidth, Y + Height};
  }

  // The out-parameter keeps the height of one line (stored above), so that a caller
  // can count the lines of a wrapped text.
  if (Measuring) return RectHeight(FillRect) - RectHeight(TextRect) + Height;
  if ((Flags & DXTR_FOCUSRECT) && !(Length == 0 && (Flags & DXTR_FOCUSTEXT))) {
    InflateRect(&FocusRect, 1, 1);
    SetBkColor(DC, RGB(0, 0, 0));
    SetTextColor(DC, RGB(255, 255, 255));
    DrawFocusRect(DC, &FocusRect);
  }
  return 0;
}

void DrawGlyphWithBrush(HDC DC, HBRUSH Brush, const TRect& Rect, TBitmap* Bitmap) {
  CopyGlyphWithBrush(DC, Rect.left, Rect.top, Brush, Bitmap);
}

TRect ShownPart(HDC DC, const TRect& R) {
  RECT Box{};
  const int Kind = GetClipBox(DC, &Box);
  if (Kind == NULLREGION || Kind == ERROR) return TRect{R.left, R.top, R.left, R.top};
  RECT Shown;
  const RECT Wanted = R;
  if (!IntersectRect(&Shown, &Wanted, &Box)) return TRect{R.left, R.top, R.left, R.top};
  return Shown;
}

void DrawBitmapOnBrush(HDC DC, HBRUSH Brush, const TRect& DestRect, TBitmap* Bitmap,
                       const TRect& BitmapRect) {
  // The buffer holds the part of DestRect the DC shows; the bitmap keeps its place.
  const TRect Shown = ShownPart(DC, DestRect);
  int Width = RectWidth(Shown), Height = RectHeight(Shown);
  if (Width <= 0 || Height <= 0) return;
  TMemoryDC Buffer(DC, Width, Height);
  TRect All = {0, 0, Width, Height};
  ::FillRect(Buffer.DC(), &All, Brush);
  CopyGlyphWithBrush(Buffer.DC(), BitmapRect.left - (Shown.left - DestRect.left),
                     BitmapRect.top - (Shown.top - DestRect.top), Brush, Bitmap);
  BitBlt(DC, Shown.left, Shown.top, Width, Height, Buffer.DC(), 0, 0, SRCCOPY);
}

void DrawCheckerOverlay(HDC DC, const TRect& Rect, TColor Color) {
  const TRect Shown = ShownPart(DC, Rect);
  int Width = RectWidth(Shown), Height = RectHeight(Shown);
  if (Width <= 0 || Height <= 0 || !FCheckerBrush) return;
  // The checker in the scratch bitmap lines up with the DC's pixels.
  int OriginX = ((-Shown.left) % 8 + 8) % 8, OriginY = ((-Shown.top) % 8 + 8) % 8;
  // A monochrome pattern on a colour DC takes the text colour for its black pixels
  // and the background colour for its white ones.
  TMemoryDC Mask(DC, Width, Height);
  SetBrushOrgEx(Mask.DC(), OriginX, OriginY, nullptr);
  {
    TSelection Checker(Mask.DC(), FCheckerBrush);
    // The mask: black on the overlay's pixels, white elsewhere; the DC's pixels ANDed in.
    SetTextColor(Mask.DC(), RGB(0, 0, 0));
    SetBkColor(Mask.DC(), RGB(255, 255, 255));
    PatBlt(Mask.DC(), 0, 0, Width, Height, PATCOPY);
    BitBlt(Mask.DC(), 0, 0, Width, Height, DC, Shown.left, Shown.top, SRCAND);
    // The colour on the overlay's pixels, black elsewhere, ORed in.
    SetTextColor(Mask.DC(), ColorToRGB(Color));
    SetBkColor(Mask.DC(), RGB(0, 0, 0));
    PatBlt(Mask.DC(), 0, 0, Width, Height, 0xFA0089);  // destination OR pattern
  }
  BitBlt(DC, Shown.left, Shown.top, Width, Height, Mask.DC(), 0, 0, SRCCOPY);
}

void DrawShadow(HDC DC, const TRect& Rect, int Size, HBRUSH Brush) {
  TRect Bottom = {Rect.left, Rect.bottom - Size, Rect.right, Rect.bottom};
  ::FillRect(DC, &Bottom, Brush);
  TRect Right = {Rect.right - Size, Rect.top, Rect.right, Rect.bottom};
  ::FillRect(DC, &Right, Brush);
}

void DrawImageListImage(HDC DC, int X, int Y, TCustomImageList* ImageList, int Index) {
  if (!ImageList || !ImageList->HandleAllocated()) return;
  UINT Style = ILD_NORMAL;
  switch (ImageList->DrawingStyle()) {
    case dsFocus: Style = ILD_FOCUS; break;
    case dsSelected: Style = ILD_SELECTED; break;
    case dsNormal: Style = ILD_NORMAL; break;
    case dsTransparent: Style = ILD_TRANSPARENT; break;
  }
  if (ImageList->ImageType() == itMask) Style |= ILD_MASK;
  ImageList_DrawEx(ImageList->Handle(), Index, DC, X, Y, 0, 0, ImageListColor(ImageList->BkColor()),
                   ImageListColor(ImageList->BlendColor()), Style);
}

void EnsureBitmapSize(TBitmap* Bitmap, int Width, int Height) {
  if (Width > Bitmap->Width()) Bitmap->SetWidth(Width);
  if (Height > Bitmap->Height()) Bitmap->SetHeight(Height);
}

void GetWorkAreaAt(const TPoint& Point, TRect& Rect) {
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Rect, 0);
  if (HMONITOR Monitor = MonitorFromPoint(Point, MONITOR_DEFAULTTONEAREST)) {
    MONITORINFO Info{};
    Info.cbSize = sizeof(Info);
    if (GetMonitorInfoA(Monitor, &Info)) Rect = Info.rcWork;
  }
}

void PlacePopupInArea(TPoint& Position, int Width, int Height, int OwnerHeight, const TRect& Area) {
  if (Position.x < Area.left) Position.x = Area.left;
  if (Position.x + Width > Area.right) Position.x = Area.right - Width;
  if (Position.y + Height > Area.bottom) {
    int RoomBelow = Area.bottom - (Position.y + OwnerHeight);
    int RoomAbove = Position.y - Area.top;
    if (RoomBelow < RoomAbove) Position.y -= Height + OwnerHeight;
  }
}

void PlacePopup(TPoint& Position, int Width, int Height, int OwnerHeight) {
  TRect Area;
  GetWorkAreaAt(Position, Area);
  PlacePopupInArea(Position, Width, Height, OwnerHeight, Area);
}

void DrawSizeGrip(HDC DC, TRect& Rect, TdxCorner Corner) {
  bool Left = Corner == coTopLeft || Corner == coBottomLeft;
  bool Top = Corner == coTopLeft || Corner == coTopRight;
  int BoxWidth = GetSystemMetrics(SM_CXVSCROLL), BoxHeight = GetSystemMetrics(SM_CYHSCROLL);
  if (Left)
    Rect.right = Rect.left + BoxWidth;
  else
    Rect.left = Rect.right - BoxWidth;
  if (Top)
    Rect.bottom = Rect.top + BoxHeight;
  else
    Rect.top = Rect.bottom - BoxHeight;

  HBRUSH Face = GetSysColorBrush(COLOR_BTNFACE);
  TRect Grip = Rect;
  TRect Strip = Rect;
  if (Left) {
    Strip.right = Strip.left + 2;
    Grip.left += 2;
  } else {
    Strip.left = Strip.right - 2;
    Grip.right -= 2;
  }
  ::FillRect(DC, &Strip, Face);
  Strip = Rect;
  if (Top) {
    Strip.bottom = Strip.top + 2;
    Grip.top += 2;
  } else {
    Strip.top = Strip.bottom - 2;
    Grip.bottom -= 2;
  }
  ::FillRect(DC, &Strip, Face);

  int Width = RectWidth(Grip), Height = RectHeight(Grip);
  if (Width <= 0 || Height <= 0) return;
  // The system's grip points to the bottom-right corner; mirrored into the others.
  TMemoryDC Glyph(DC, Width, Height);
  TRect All = {0, 0, Width, Height};
  DrawFrameControl(Glyph.DC(), &All, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  int X = Left ? Grip.right - 1 : Grip.left, W = Left ? -Width : Width;
  int Y = Top ? Grip.bottom - 1 : Grip.top, H = Top ? -Height : Height;
  StretchBlt(DC, X, Y, W, H, Glyph.DC(), 0, 0, Width, Height, SRCCOPY);
}

HBRUSH CheckerBrush() { return FCheckerBrush; }

void InitdxDrawing() {
  TOwnedBitmap Pattern(GdiCheck(CountHandle(CreateBitmap(8, 8, 1, 1, nullptr))));
  {
    TMemoryDC Drawing(nullptr);
    const HDC DC = Drawing.DC();
    TSelection Selected(DC, Pattern.Handle());
    TRect All = {0, 0, 8, 8};
    ::FillRect(DC, &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int Y = 0; Y < 8; ++Y)
      for (int X = Y % 2; X < 8; X += 2) SetPixel(DC, X, Y, RGB(0, 0, 0));
  }
  // The brush keeps its own copy of the pattern.
  FCheckerBrush = GdiCheck(CountHandle(CreatePatternBrush(Pattern.Handle())));
}

void DonedxDrawing() {
  if (FCheckerBrush) DeleteCountedObject(FCheckerBrush);
  FCheckerBrush = nullptr;
}
