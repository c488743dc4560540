// The kit's self-drawn check box and radio button. Both paint the system's classic
// glyph (DrawFrameControl) and their caption into the control's buffer; themed
// descendants replace GetCheckSize and DrawCheck.
//
// Clicks come from state changes only (the control style has no click events): a
// check box raises OnClick whenever State changes (not while loading), a radio button
// when it becomes checked. Mouse, Space and the caption's accelerator toggle a check
// box (grayed becomes checked) and check a radio button. Checking a radio button
// clears the radio buttons of its GroupIndex among its parent's direct children.
#pragma once

#include <windows.h>

#include "classlib/StdCtrls.h"
#include "skin/KsControls.h"

class TKsCustomCheckBox : public TKsCustomControl {
  TCLASS_DECL(TKsCustomCheckBox, TKsCustomControl)
 public:
  // A transparent tab stop, 98 x 20, spacing 5.
  explicit TKsCustomCheckBox(TComponent* AOwner);

  TCheckBoxState State() const { return FState; }
  // A changed value is stored, clicks (DoClick) and invalidates.
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  // Pixels between glyph and caption.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // taLeftJustify: glyph at the left, caption after it; taRightJustify: glyph at the
  // right edge, caption from 2 pixels in.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // The glyph shows its pressed look (left button or Space held).
  bool Pressed() const { return FPressed; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

  // Unchecked and grayed become checked, checked becomes unchecked.
  virtual void Toggle();
  // The glyph's size: 13 x 13.
  virtual TPoint GetCheckSize();

 protected:
  void Loaded() override;
  void PaintBuffer() override;
  // Raises OnClick unless loading.
  virtual void DoClick();
  virtual void DrawCheck();
  virtual void DrawCaption();

  // Where the glyph goes: its size centred vertically in the bounds its alignment
  // gives.
  TRect CheckRect();

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  void CMDialogChar(TMessage& Message);

  TCheckBoxState FState = cbUnchecked;
  int FSpacing = 5;
  bool FPressed = false;
  TAlignment FAlignment = taLeftJustify;
  bool FMouseTracking = false;
};

class TKsCustomRadioButton : public TKsCustomControl {
  TCLASS_DECL(TKsCustomRadioButton, TKsCustomControl)
 public:
  // Transparent, 98 x 20, spacing 5, no tab stop until checked.
  explicit TKsCustomRadioButton(TComponent* AOwner);

  bool Checked() const { return FChecked; }
  // A changed value: TabStop := Value and ItemTabStop, store; when checked, the
  // siblings of the same GroupIndex are cleared and OnClick runs. While a form file
  // is read, the group (read after Checked) is not known yet: Loaded clears them.
  void SetChecked(bool Value);
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value) { FGroupIndex = Value; }
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // Whether the checked button becomes a tab stop. Off, the button stops being one at
  // once; on, a checked button becomes one again.
  bool ItemTabStop() const { return FItemTabStop; }
  void SetItemTabStop(bool Value);
  bool Pressed() const { return FPressed; }

  void Dispatch(TMessage& Message) override;

  // The glyph's size: 13 x 13.
  virtual TPoint GetCheckSize();

 protected:
  void Loaded() override;
  void PaintBuffer() override;
  virtual void DrawCheck();
  virtual void DrawCaption();

  // The glyph's size centred vertically at the left edge.
  TRect CheckRect();

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  void ClearSiblings();
  void CMDialogChar(TMessage& Message);

  bool FChecked = false;
  Byte FGroupIndex = 0;
  int FSpacing = 5;
  bool FPressed = false;
  bool FItemTabStop = true;
};

// The caption step both controls share: Caption in the control's font, centred
// vertically in Bounds from its left edge, embossed when disabled, with a focus
// rectangle (ExtraRight more pixels wide) when the control has the focus.
void DrawKsCheckCaption(TKsCustomControl* Control, const TRect& Bounds, int ExtraRight);

// A rectangle of Size's extent at Bounds' left edge, centred vertically in it.
TRect CenterCheckVertically(TPoint Size, const TRect& Bounds);

// The unit's start (classes and published properties) and end.
void InitKsCheckBoxs();
void DoneKsCheckBoxs();
