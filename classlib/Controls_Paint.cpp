// Windowed controls: invalidation, the paint handler, erasing and painting the
// graphic children; and the custom control that paints itself.
#include <algorithm>

#include "classlib/Controls.h"

TCLASS_IMPL(TCustomControl)

using namespace classlib_detail;

namespace {

// A memory DC with a bitmap compatible with another DC, for one buffered paint; both
// are counted.
class TMemoryPaintDC {
 public:
  TMemoryPaintDC(HDC DC, int Width, int Height)
      : FDC(CountHandle(GdiCheck(CreateCompatibleDC(DC)))),
        FBitmap(CountHandle(CreateCompatibleBitmap(DC, Width, Height))) {
    if (!FBitmap) {
      DeleteCountedDC(FDC);
      throw EOutOfResources(SOutOfResources);
    }
    FOld = SelectObject(FDC, FBitmap);
  }
  TMemoryPaintDC(const TMemoryPaintDC&) = delete;
  TMemoryPaintDC& operator=(const TMemoryPaintDC&) = delete;
  ~TMemoryPaintDC() {
    SelectObject(FDC, FOld);
    DeleteCountedDC(FDC);
    DeleteCountedObject(FBitmap);
  }
  HDC DC() const { return FDC; }

 private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------------
// Painting

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::WMPaint(TMessage& Message) {
  if (FDoubleBuffered && !Message.WParam) {
    PaintBuffered();
    Message.Result = 0;
    return;
  }
  if (!FControlState.Contains(csCustomPaint) && ControlCount() == 0)
    DefaultHandler(Message);
  else
    PaintHandler(Message);
}

void TWinControl::PaintHandler(TMessage& Message) {
  TPaintDC Painting(FHandle, Message.WParam);
  HDC DC = Painting.DC();
  if (FControls.empty()) {
    PaintWindow(DC);
  } else {
    // The window paints around the opaque graphic children, which paint themselves.
    int Saved = SaveDC(DC);
    int Clip = SIMPLEREGION;
    for (TControl* C : FControls) {
      if (C->Visible() && C->ControlStyle().Contains(csOpaque)) {
        Clip = ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height());
        if (Clip == NULLREGION) break;
      }
    }
    if (Clip != NULLREGION) PaintWindow(DC);
    RestoreDC(DC, Saved);
  }
  PaintControls(DC, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage Message{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(Message);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  std::size_t Start = 0;
  if (First) {
    auto It = std::find(FControls.begin(), FControls.end(), First);
    if (It != FControls.end()) Start = static_cast<std::size_t>(It - FControls.begin());
  }
  for (std::size_t I = Start; I < FControls.size(); ++I) {
    TControl* C = FControls[I];
    RECT R = C->BoundsRect();
    if (!C->Visible() || !RectVisible(DC, &R)) continue;
    int Saved = SaveDC(DC);
    MoveWindowOrg(DC, C->Left(), C->Top());
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    try {
      C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
      RestoreDC(DC, Saved);
      throw;
    }
    RestoreDC(DC, Saved);
  }
}

// Erases and paints the invalid part in a memory bitmap, then copies it at once.
void TWinControl::PaintBuffered() {
  TPaintDC Painting(FHandle, 0);
  HDC DC = Painting.DC();
  RECT Box;
  if (GetClipBox(DC, &Box) == NULLREGION || IsRectEmpty(&Box)) return;
  const int Width = Box.right - Box.left;
  const int Height = Box.bottom - Box.top;
  TMemoryPaintDC Memory(DC, Width, Height);
  HDC Buffer = Memory.DC();
  // The control paints in its client coordinates; the bitmap holds the box.
  SetWindowOrgEx(Buffer, Box.left, Box.top, nullptr);
  struct TBufferScope {
    HDC& Current;
    ~TBufferScope() { Current = nullptr; }
  } Scope{FPaintBuffer};
  FPaintBuffer = Buffer;
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Buffer), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(Buffer), 0);
  BitBlt(DC, Box.left, Box.top, Width, Height, Buffer, Box.left, Box.top, SRCCOPY);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  // An opaque control covers its area when it paints. A double-buffered one erases in
  // its memory bitmap (or when painted as a copy), never on the window itself, where
  // the erased background would show before the copy.
  const bool Skip = ControlStyle().Contains(csOpaque) ||
                    (FDoubleBuffered && DC != FPaintBuffer &&
                     !FControlState.Contains(csPaintCopy));
  if (DC && !Skip) {
    RECT R = GetClientRect();
    FillRect(DC, &R, FBrush->Handle());
  }
  Message.Result = 1;
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  FControlState.Include(csPaintCopy);
  int Saved = SaveDC(DC);
  MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  try {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    for (TWinControl* Child : FWinControls)
      if (Child->Visible()) Child->PaintTo(DC, Child->Left(), Child->Top());
  } catch (...) {
    RestoreDC(DC, Saved);
    FControlState.Exclude(csPaintCopy);
    throw;
  }
  RestoreDC(DC, Saved);
  FControlState.Exclude(csPaintCopy);
}

// ---------------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = NewObject<TControlCanvas>(this);
}

TCustomControl::~TCustomControl() { FreeAndNil(FCanvas); }

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    FControlState.Include(csCustomPaint);
    try {
      inherited::Dispatch(Message);
    } catch (...) {
      FControlState.Exclude(csCustomPaint);
      throw;
    }
    FControlState.Exclude(csCustomPaint);
    return;
  }
  inherited::Dispatch(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas, DC);
  Paint();
}
