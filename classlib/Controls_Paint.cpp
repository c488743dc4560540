// Windowed controls: invalidation, the paint handler, erasing and painting the
// graphic children; and the custom control that paints itself.
#include <algorithm>

#include "classlib/Controls.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TCustomControl)

using namespace classlib_detail;

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
    TSavedDC Saved(DC);
    int Clip = SIMPLEREGION;
    for (TControl* C : FControls) {
      if (C->Visible() && C->ControlStyle().Contains(csOpaque)) {
        Clip = ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height());
        if (Clip == NULLREGION) break;
      }
    }
    if (Clip != NULLREGION) PaintWindow(DC);
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
    TSavedDC Saved(DC);
    MoveWindowOrg(DC, C->Left(), C->Top());
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
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
  TMemoryDC Memory(DC, Width, Height);
  HDC Buffer = Memory.DC();
  // The control paints in its client coordinates; the bitmap holds the box.
  SetWindowOrgEx(Buffer, Box.left, Box.top, nullptr);
  TValueScope<HDC> Buffering(FPaintBuffer, Buffer);
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
  TStateScope PaintingCopy(FControlState, csPaintCopy);
  TSavedDC Saved(DC);
  MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  for (TWinControl* Child : FWinControls)
    if (Child->Visible()) Child->PaintTo(DC, Child->Left(), Child->Top());
}

// ---------------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = NewObject<TControlCanvas>(this);
}

TCustomControl::~TCustomControl() { FreeAndNil(FCanvas); }

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    TStateScope CustomPainting(FControlState, csCustomPaint);
    inherited::Dispatch(Message);
    return;
  }
  inherited::Dispatch(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas, DC);
  Paint();
}
