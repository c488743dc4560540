// The kit's self-drawn group box: an etched frame whose top edge is broken under the
// caption, set CaptionMargin pixels in. It holds child controls; the caption's
// accelerator focuses the first child when that one can take the focus, else the
// group.
#pragma once

#include <windows.h>

#include "skin/KsControls.h"

class TKsCustomGroupBox : public TKsCustomControl {
  TCLASS_DECL(TKsCustomGroupBox, TKsCustomControl)
 public:
  // Opaque, button-face colour, 100 x 90, caption margin 12.
  explicit TKsCustomGroupBox(TComponent* AOwner);

  int CaptionMargin() const { return FCaptionMargin; }
  void SetCaptionMargin(int Value);

  // The frame: (3, caption height div 2 + 1, Width - 2, Height - 2), the caption
  // measured in the control's font.
  virtual TRect GetFrameRect();
  // Where the caption goes: from CaptionMargin, as wide and high as the caption,
  // widened by 3 on each side unless the caption is empty.
  TRect CaptionRect();

  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  // The base fill, the etched frame in highlight and (a pixel up and left) shadow,
  // and the caption centred in its place.
  void PaintBuffer() override;

 private:
  void CMDialogChar(TMessage& Message);

  int FCaptionMargin = 12;
};

// The unit's start (class and published properties) and end.
void InitKsGroupBoxs();
void DoneKsGroupBoxs();
