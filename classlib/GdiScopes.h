// Owners of GDI objects and of the changes a paint makes to a device context, each
// undone by its destructor, however the paint ends:
//
//   TGdiObject<H>     a counted object (bitmap, region, memory DC, icon, ...) deleted
//                     with the call its kind needs; TSharedObject<H> a reference to an
//                     object of the shared cache, given back at the end
//   TSelection        an object selected into a DC, the previous one put back
//   TSavedDC          SaveDC, and RestoreDC at the end
//   TSavedTextState   the DC's text colour, background colour and mode, and font
//   TClientDC, TWindowDC, TScreenDC   GetDC / GetWindowDC, and ReleaseDC at the end;
//                     TReleasedDC any DC a window gave (GetDCEx), released so
//   TMemoryDC         a counted memory DC, with a bitmap of its own when given a size
//   TPaintDC          BeginPaint / EndPaint, unless the message brings its own DC
//
// An owner adopts a handle that is already counted (CountHandle(...) in the statement
// that makes it, or a shared object), so that the class library's handle count stays
// balanced: the owner's delete is the counted one.
#pragma once

#include <windows.h>

#include <utility>

#include "classlib/Graphics.h"

// ---------------------------------------------------------------------------------
// How a handle kind is freed.

struct TDeleteCountedObject {
  void operator()(HGDIOBJ Object) const { DeleteCountedObject(Object); }
};
struct TDeleteCountedDC {
  void operator()(HDC DC) const { DeleteCountedDC(DC); }
};
struct TDestroyCountedIcon {
  void operator()(HICON Icon) const {
    DestroyIcon(Icon);
    CountHandleFreed();
  }
};
struct TReleaseSharedObject {
  void operator()(HGDIOBJ Object) const { ReleaseSharedObject(Object); }
};

// The call that frees a counted handle of each kind.
template <class H>
struct TGdiFree;
template <>
struct TGdiFree<HBITMAP> : TDeleteCountedObject {};
template <>
struct TGdiFree<HRGN> : TDeleteCountedObject {};
template <>
struct TGdiFree<HFONT> : TDeleteCountedObject {};
template <>
struct TGdiFree<HPEN> : TDeleteCountedObject {};
template <>
struct TGdiFree<HBRUSH> : TDeleteCountedObject {};
template <>
struct TGdiFree<HPALETTE> : TDeleteCountedObject {};
template <>
struct TGdiFree<HDC> : TDeleteCountedDC {};
template <>
struct TGdiFree<HICON> : TDestroyCountedIcon {};

// The one owner of a handle: freed once, at the end of its scope or when replaced;
// moving it hands the ownership on; Release gives the handle away unfreed.
template <class H, class TFree = TGdiFree<H>>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(H Handle) noexcept : FHandle(Handle) {}
  TGdiObject(TGdiObject&& Other) noexcept : FHandle(Other.Release()) {}
  TGdiObject& operator=(TGdiObject&& Other) noexcept {
    if (this != &Other) Reset(Other.Release());
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { Reset(); }

  H Handle() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  [[nodiscard]] H Release() noexcept { return std::exchange(FHandle, nullptr); }
  void Reset(H Handle = nullptr) noexcept {
    H Old = std::exchange(FHandle, Handle);
    if (Old && Old != Handle) TFree{}(Old);
  }

 private:
  H FHandle = nullptr;
};

using TOwnedBitmap = TGdiObject<HBITMAP>;
using TOwnedRegion = TGdiObject<HRGN>;
using TOwnedDC = TGdiObject<HDC>;
using TOwnedIcon = TGdiObject<HICON>;
// A reference to a font, pen or brush of the shared cache (AcquireSharedFont, ...).
template <class H>
using TSharedObject = TGdiObject<H, TReleaseSharedObject>;

// Gives a counted region to a window (SetWindowRgn; null takes the window's region
// away): the window owns it from then on and it is no longer counted. A region the
// window refuses is deleted here.
inline bool SetWindowRegion(HWND Wnd, TOwnedRegion Region, bool Redraw) {
  if (!SetWindowRgn(Wnd, Region.Handle(), Redraw)) return false;
  if (Region.Release()) CountHandleFreed();
  return true;
}

// ---------------------------------------------------------------------------------
// Changes to a DC.

// An object selected into a DC for the length of a scope; the object the DC had
// before comes back at the end. A null object selects nothing. Not for regions
// (SelectObject of a region answers a region kind, not the previous region).
class TSelection {
 public:
  TSelection(HDC DC, HGDIOBJ Object) : FDC(DC) { Select(Object); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;
  ~TSelection() {
    if (FPrevious) SelectObject(FDC, FPrevious);
  }
  // Selects another object of the same kind; the first one's predecessor is still the
  // one put back.
  void Select(HGDIOBJ Object) {
    if (!Object) return;
    HGDIOBJ Old = SelectObject(FDC, Object);
    if (!FPrevious) FPrevious = Old;
  }
  HGDIOBJ Previous() const { return FPrevious; }

 private:
  HDC FDC;
  HGDIOBJ FPrevious = nullptr;
};

// The DC's whole state (objects, clipping, origins, modes) saved for the length of a
// scope and restored at the end.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  ~TSavedDC() {
    if (FSaved) RestoreDC(FDC, FSaved);
  }

 private:
  HDC FDC;
  int FSaved;
};

// The DC's text colour, background colour and background mode as they were, and its
// font once SelectFont changed it, put back at the end.
class TSavedTextState {
 public:
  explicit TSavedTextState(HDC DC)
      : FDC(DC), FTextColor(GetTextColor(DC)), FBkColor(GetBkColor(DC)), FBkMode(GetBkMode(DC)), FFont(DC, nullptr) {}
  TSavedTextState(const TSavedTextState&) = delete;
  TSavedTextState& operator=(const TSavedTextState&) = delete;
  ~TSavedTextState() {
    SetTextColor(FDC, FTextColor);
    SetBkColor(FDC, FBkColor);
    SetBkMode(FDC, FBkMode);
  }
  // Selects a font (null: keeps the current one).
  void SelectFont(HFONT Font) { FFont.Select(Font); }

 private:
  HDC FDC;
  COLORREF FTextColor;
  COLORREF FBkColor;
  int FBkMode;
  TSelection FFont;
};

// ---------------------------------------------------------------------------------
// Device contexts.

// A DC the window gave (GetDC, GetWindowDC, GetDCEx), released at the end.
class TReleasedDC {
 public:
  TReleasedDC(HWND Wnd, HDC DC) : FWnd(Wnd), FDC(DC) {}
  TReleasedDC(const TReleasedDC&) = delete;
  TReleasedDC& operator=(const TReleasedDC&) = delete;
  ~TReleasedDC() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  HDC DC() const { return FDC; }

 private:
  HWND FWnd;
  HDC FDC;
};

// A window's client DC (GetDC; the screen's for a null window), released at the end.
class TClientDC : public TReleasedDC {
 public:
  explicit TClientDC(HWND Wnd) : TReleasedDC(Wnd, GetDC(Wnd)) {}
};

// A DC of the whole window, frame included (GetWindowDC), released at the end.
class TWindowDC : public TReleasedDC {
 public:
  explicit TWindowDC(HWND Wnd) : TReleasedDC(Wnd, GetWindowDC(Wnd)) {}
};

// The screen's DC for the length of a scope.
class TScreenDC : public TClientDC {
 public:
  TScreenDC() : TClientDC(nullptr) {}
};

// A counted memory DC compatible with a DC (the screen's for null), deleted at the
// end. Given a size, it holds a counted bitmap of its own of that size (compatible
// with the DC, or monochrome), selected for the length of the scope; a size below 1
// counts as 1. Raises EOutOfResources when the system refuses either.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC Compatible);
  TMemoryDC(HDC Compatible, int Width, int Height, bool Monochrome = false);
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC();
  HDC DC() const { return FDC.Handle(); }
  HBITMAP Bitmap() const { return FBitmap.Handle(); }

 private:
  TOwnedDC FDC;
  TOwnedBitmap FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};

// The DC to paint with in a WM_PAINT handler: the one the message brings (a paint into
// a buffer or a copy), or BeginPaint's, ended with EndPaint.
class TPaintDC {
 public:
  TPaintDC(HWND Wnd, WPARAM WParam) : FWnd(Wnd), FDC(reinterpret_cast<HDC>(WParam)) {
    if (!FDC) {
      FDC = BeginPaint(FWnd, &FPaint);
      FBegun = true;
    }
  }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() {
    if (FBegun) EndPaint(FWnd, &FPaint);
  }
  HDC DC() const { return FDC; }
  // The paint's invalid rectangle (empty when the message brought the DC).
  const RECT& PaintRect() const { return FPaint.rcPaint; }

 private:
  HWND FWnd;
  HDC FDC;
  PAINTSTRUCT FPaint{};
  bool FBegun = false;
};
