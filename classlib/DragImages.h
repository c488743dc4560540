// The picture that follows the mouse during a drag: an image list whose one image is
// dragged with the system's image-list drag functions (ImageList_BeginDrag,
// ImageList_DragEnter, ImageList_DragMove, ImageList_DragShowNolock,
// ImageList_EndDrag). The system draws it straight onto the window it is locked to
// (the desktop for a drag across windows), so whatever paints under it hides it first
// and shows it again after.
#pragma once

#include <windows.h>

#include "classlib/ImgList.h"

class TDragImageList : public TCustomImageList {
  TCLASS_DECL(TDragImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
  // Ends a drag that still runs.
  ~TDragImageList() override;

  // The image the drag shows and the point of it that sits under the mouse.
  void SetDragImage(int Index, int HotSpotX, int HotSpotY);
  int DragIndex() const { return FDragIndex; }
  TPoint DragHotspot() const { return FHotSpot; }

  // Starts showing the image over Window (the desktop when nil) with the hot spot at
  // (X, Y), in the window's coordinates (the screen's for the desktop); false when
  // the list has no such image or another image-list drag runs.
  bool BeginDrag(HWND Window, int X, int Y);
  void DragMove(int X, int Y);
  // Hides and shows the image without ending the drag; they nest.
  void HideDragImage();
  void ShowDragImage();
  // Removes the image from the screen and ends the drag.
  void EndDrag();
  bool Dragging() const { return FDragging; }
  bool DragImageShown() const { return FDragging && FHidden == 0; }
  // Where the image is now, in the locked window's coordinates. A point that would put
  // it wholly past the window's edge puts it just past that edge.
  TRect DragRect() const;

 private:
  TPoint ShownPoint(int X, int Y) const;

  int FDragIndex = 0;
  TPoint FHotSpot{0, 0};
  bool FDragging = false;
  HWND FDragWindow = nullptr;
  TPoint FDragPos{0, 0};
  int FHidden = 0;
};
