// The spin edit: a single-line edit with an up-down arrow pair ("msctls_updown32")
// inside its right edge, for whole numbers.
#pragma once

#include "classlib/StdCtrls.h"

// Value is the number in the text, kept between MinValue and MaxValue (when they
// differ); a text that is no number reads as MinValue. The arrows, the Up and Down
// keys add or take Increment. Only digits and a minus sign can be typed; leaving the
// control puts a number out of range back into it.
class TSpinEdit : public TCustomEdit {
  TCLASS_DECL(TSpinEdit, TCustomEdit)
 public:
  explicit TSpinEdit(TComponent* AOwner);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  int Value() const;
  void SetValue(int NewValue);
  // False: the text cannot be typed, only stepped with the arrows.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value);

  // The arrows' window (nullptr until the edit has its window).
  HWND UpDownHandle() const { return FUpDown; }
  void UpClick();
  void DownClick();

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // The value clamped to the range.
  int CheckValue(int NewValue) const;

 private:
  void PlaceUpDown();

  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
  bool FEditorEnabled = true;
  HWND FUpDown = nullptr;
};

// The Spin unit's start and end (in the module's unit table).
void InitSpin();
void DoneSpin();
