// The drag image over the system's image-list drag functions.
#include "classlib/DragImages.h"

#include <algorithm>

#include "classlib/Controls.h"

TCLASS_IMPL(TDragImageList)

namespace {
// The system keeps one image-list drag per thread.
TDragImageList* ActiveImages = nullptr;
}  // namespace

TDragImageList::~TDragImageList() { EndDrag(); }

void TDragImageList::SetDragImage(int Index, int HotSpotX, int HotSpotY) {
  FDragIndex = Index;
  FHotSpot = TPoint{HotSpotX, HotSpotY};
}

bool TDragImageList::BeginDrag(HWND Window, int X, int Y) {
  if (FDragging || ActiveImages) return false;
  if (FDragIndex < 0 || FDragIndex >= Count()) return false;
  if (!ImageList_BeginDrag(Handle(), FDragIndex, FHotSpot.x, FHotSpot.y)) return false;
  FDragWindow = Window ? Window : GetDesktopWindow();
  FDragPos = ShownPoint(X, Y);
  FHidden = 0;
  if (!ImageList_DragEnter(FDragWindow, FDragPos.x, FDragPos.y)) {
    ImageList_EndDrag();
    return false;
  }
  FDragging = true;
  ActiveImages = this;
  return true;
}

void TDragImageList::DragMove(int X, int Y) {
  if (!FDragging) return;
  FDragPos = ShownPoint(X, Y);
  ImageList_DragMove(FDragPos.x, FDragPos.y);
}

// The system moves the picture through one bitmap that spans its old and its new
// place, which the display cannot make for a jump of tens of thousands of pixels (a
// mouse message carries any 16-bit point). A picture wholly past the window's edge
// shows the same however far past it is, so it goes no further than touching it.
TPoint TDragImageList::ShownPoint(int X, int Y) const {
  RECT Area{0, 0, 0, 0};
  if (FDragWindow == GetDesktopWindow()) {
    Area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    Area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    Area.right = Area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    Area.bottom = Area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  } else if (GetWindowRect(FDragWindow, &Area)) {
    OffsetRect(&Area, -Area.left, -Area.top);
  }
  const int HotX = FHotSpot.x, HotY = FHotSpot.y;
  return TPoint{std::clamp<int>(X, Area.left - Width() + HotX, Area.right + HotX),
                std::clamp<int>(Y, Area.top - Height() + HotY, Area.bottom + HotY)};
}

void TDragImageList::HideDragImage() {
  if (!FDragging) return;
  if (FHidden++ == 0) ImageList_DragShowNolock(FALSE);
}

void TDragImageList::ShowDragImage() {
  if (!FDragging || FHidden == 0) return;
  if (--FHidden == 0) ImageList_DragShowNolock(TRUE);
}

void TDragImageList::EndDrag() {
  if (!FDragging) return;
  FDragging = false;
  FHidden = 0;
  ImageList_DragLeave(FDragWindow);
  ImageList_EndDrag();
  FDragWindow = nullptr;
  if (ActiveImages == this) ActiveImages = nullptr;
}

TRect TDragImageList::DragRect() const {
  const int Left = FDragPos.x - FHotSpot.x, Top = FDragPos.y - FHotSpot.y;
  return TRect{Left, Top, Left + Width(), Top + Height()};
}
