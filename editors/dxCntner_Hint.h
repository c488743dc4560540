// The grid's hint window: a tool-tip-like window that shows a cell's or a header's
// whole text when it does not fit. It never takes the mouse (hit tests fall through
// to the window below) nor the activation.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"

class TdxContainerHintWindow : public TCustomControl {
  TCLASS_DECL(TdxContainerHintWindow, TCustomControl)
 public:
  explicit TdxContainerHintWindow(TComponent* AOwner);

  // ActivateHintEx as wide as the screen, in the status-bar font's size.
  void ActivateHint(const TPoint& Point, const AnsiString& Text, TFont* Font);
  // Shows Text at Point in the status-bar font (Font's name and character set, and its
  // size too when TakeSize), word-wrapped within MaxWidth (below 1: the screen width).
  // The window is moved back inside the screen and shown topmost without activation.
  void ActivateHintEx(const TPoint& Point, int MaxWidth, bool TakeSize, TFont* Font, const AnsiString& Text);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};
