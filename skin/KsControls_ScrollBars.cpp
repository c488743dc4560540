// The windowed base's built-in scroll bars: made with the window, laid out along the
// bottom and right edges, their steps passed on as the control's own WM_HSCROLL and
// WM_VSCROLL, and the corner square between two bars.
#include "skin/KsControls.h"
#include "skin/KsScrollBar.h"

TKsCustomScrollBar* TKsCustomControl::CreateScrollBar() { return NewObject<TKsCustomScrollBar>(this); }

void TKsCustomControl::FreeScrollBars() {
  FreeAndNil(FHorzScrollBar);
  FreeAndNil(FVertScrollBar);
}

void TKsCustomControl::CreateWnd() {
  inherited::CreateWnd();
  FreeScrollBars();
  auto Make = [this](TScrollBarKind Kind) {
    TKsCustomScrollBar* Bar = CreateScrollBar();
    Bar->SetBorderWidth(0);
    Bar->SetParent(this);
    Bar->SetKind(Kind);
    if (Kind == sbHorizontal)
      Bar->SetBounds(0, 0, Bar->Width(), GetScrollBarSize());
    else
      Bar->SetBounds(0, 0, GetScrollBarSize(), Bar->Height());
    Bar->SetVisible(true);
    Bar->SetTransparent(false);
    Bar->OnScroll = TKsScrollEvent::Bind<&TKsCustomControl::ScrollBarScroll>(this);
    return Bar;
  };
  if (FScrollBars == 1 || FScrollBars == 3) FHorzScrollBar = Make(sbHorizontal);
  if (FScrollBars == 2 || FScrollBars == 3) FVertScrollBar = Make(sbVertical);
  LayoutScrollBars();
}

void TKsCustomControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHorzScrollBar) FHorzScrollBar = nullptr;
  if (AComponent == FVertScrollBar) FVertScrollBar = nullptr;
}

void TKsCustomControl::LayoutScrollBars() {
  if (!FHorzScrollBar && !FVertScrollBar) return;
  const TRect R = HandleAllocated() ? ClientRect() : TRect{0, 0, ControlWidth(), ControlHeight()};
  const int HorzHeight = FHorzScrollBar ? FHorzScrollBar->Height() : 0;
  const int VertWidth = FVertScrollBar ? FVertScrollBar->Width() : 0;
  if (FHorzScrollBar)
    FHorzScrollBar->SetBounds(R.left, R.bottom - HorzHeight, R.right - VertWidth - R.left, HorzHeight);
  if (FVertScrollBar)
    FVertScrollBar->SetBounds(R.right - VertWidth, 0, VertWidth, R.bottom - HorzHeight);
}

void TKsCustomControl::PaintScrollCorner() {
  if (!FHorzScrollBar || !FVertScrollBar) return;
  const TRect R = ClientRect();
  const int Size = GetScrollBarSize();
  Buffer()->FillRect(TRect{R.right - Size, R.bottom - Size, R.right, R.bottom}, ColorToKsColor(Color(), 255));
}

void TKsCustomControl::ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos) {
  if (FScrollUpdating) return;
  auto* Bar = static_cast<TKsCustomScrollBar*>(Sender);
  if (!HandleAllocated()) return;
  const UINT Msg = Bar->Kind() == sbHorizontal ? WM_HSCROLL : WM_VSCROLL;
  SendMessageA(Handle(), Msg, static_cast<WPARAM>(ScrollCode), static_cast<LPARAM>(ScrollPos));
  ScrollPos = Bar->Position();
}
