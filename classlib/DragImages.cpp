// The drag image over the system's image-list drag functions.
#include "classlib/DragImages.h"

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
  FDragPos = TPoint{X, Y};
  FHidden = 0;
  if (!ImageList_DragEnter(FDragWindow, X, Y)) {
    ImageList_EndDrag();
    return false;
  }
  FDragging = true;
  ActiveImages = this;
  return true;
}

void TDragImageList::DragMove(int X, int Y) {
  if (!FDragging) return;
  FDragPos = TPoint{X, Y};
  ImageList_DragMove(X, Y);
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
