// The tree list's background and its non-client frame: painting covers the whole
// client area, so the background is never erased; the flat looks with a single border
// take one pixel of each side for a ring of their own, drawn over the window. A system
// colour change draws the expand glyphs again.
#include "classlib/GdiScopes.h"
#include "treelist/dxTL.h"

bool TCustomdxTreeList::HasFlatBorder() const {
  return FBorderStyle == bsSingle && LookAndFeel() != lfStandard;
}

void TCustomdxTreeList::PaintFlatBorder() {
  TWindowDC Window(Handle());
  if (!Window.DC()) return;
  RECT Bounds{};
  ::GetWindowRect(Handle(), &Bounds);
  OffsetRect(&Bounds, -Bounds.left, -Bounds.top);
  if (LookAndFeel() == lfUltraFlat)
    FrameRect(Window.DC(), &Bounds, GetSysColorBrush(COLOR_BTNSHADOW));
  else
    DrawEdge(Window.DC(), &Bounds, BDR_SUNKENOUTER, BF_RECT);
  const LONG Style = GetWindowLongA(Handle(), GWL_STYLE);
  if ((Style & WS_HSCROLL) && (Style & WS_VSCROLL)) {
    // The box between the two scroll bars, at the client area's bottom right corner.
    RECT Client{};
    ::GetClientRect(Handle(), &Client);
    POINT Corner{Client.right, Client.bottom};
    MapWindowPoints(Handle(), nullptr, &Corner, 1);
    RECT Screen{};
    ::GetWindowRect(Handle(), &Screen);
    const int X = Corner.x - Screen.left, Y = Corner.y - Screen.top;
    RECT Box{X, Y, X + GetSystemMetrics(SM_CXVSCROLL), Y + GetSystemMetrics(SM_CYHSCROLL)};
    FillRect(Window.DC(), &Box, GetSysColorBrush(COLOR_BTNFACE));
  }
}

void TCustomdxTreeList::RedrawExpandGlyphs() {
  if (!FPaintState) return;
  FPaintState->Glyphs.Make();
  if (HandleAllocated()) Invalidate();
}

bool TCustomdxTreeList::DispatchFrameMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return true;
    case WM_NCCALCSIZE:
      if (HasFlatBorder()) {
        // Both forms of the message start with the window's new rectangle.
        auto* Proposed = reinterpret_cast<RECT*>(Message.LParam);
        InflateRect(Proposed, -1, -1);
      }
      inherited::Dispatch(Message);
      return true;
    case WM_NCPAINT:
      inherited::Dispatch(Message);
      if (HasFlatBorder() && HandleAllocated()) PaintFlatBorder();
      return true;
    case CM_SYSCOLORCHANGE:
      // The expand glyphs are drawn in system colours: drawn again, and shown.
      RedrawExpandGlyphs();
      return false;
    default: return false;
  }
}
