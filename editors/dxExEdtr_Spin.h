// The spin editor: the mask editor for a number, integer or floating, with an up and a
// down button in its own frame. The buttons, the Up and Down keys and the wheel step the
// value by Increment within MinValue .. MaxValue (equal limits mean none); a button held
// down steps again after 400 ms and then every 100 ms while the cursor stays on it.
// Like the drop-down editor's, the buttons live in the non-client area (WM_NCHITTEST
// answers HTBORDER over them).
#pragma once

#include <windows.h>

#include "editors/dxMaskEdit.h"

enum TdxValueType : Byte { vtInt, vtFloat };
TENUM_INFO(TdxValueType, "vtInt", "vtFloat")

// The spin buttons: none, the upper one, the lower one.
using TdxSpinButton = Byte;
inline constexpr TdxSpinButton sbNone = 0;
inline constexpr TdxSpinButton sbUp = 1;
inline constexpr TdxSpinButton sbDown = 2;

// The repeat timer of a held button.
inline constexpr UINT_PTR dxSpinRepeatTimerId = 100;
inline constexpr UINT dxSpinFirstRepeat = 400;
inline constexpr UINT dxSpinNextRepeat = 100;

class TdxSpinEditViewData : public TdxTextEditViewData {
  TCLASS_DECL(TdxSpinEditViewData, TdxTextEditViewData)
 public:
  // The editor is hot, or its buttons are not hidden while inactive.
  bool ButtonsVisible = true;
  TdxSpinButton HotButton = sbNone;
  TdxSpinButton PressedButton = sbNone;
};

class TdxInplaceSpinEdit : public TdxInplaceMaskEdit {
  TCLASS_DECL(TdxInplaceSpinEdit, TdxInplaceMaskEdit)
 public:
  explicit TdxInplaceSpinEdit(TComponent* AOwner);
  ~TdxInplaceSpinEdit() override;

  // ----- Class operations.
  // The inherited layout, then the buttons' width off the content's right.
  static void CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                           TdxEditDrawInfo& DrawInfo);
  // The inherited border, then both buttons when they are visible.
  static void DrawBorder(MetaType::TSelf Self, HDC DC, const TdxEditDrawInfo& DrawInfo,
                         TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  // 0 without visible buttons; else an odd scroll-bar width of at least 13, 1 less in
  // the flat styles.
  static int SpinButtonsWidth(TdxEditViewData* ViewData);
  // The window rectangles of the up and down buttons.
  static void GetSpinButtonRects(const TdxEditDrawInfo& DrawInfo, TdxEditViewData* ViewData, TRect& Up,
                                 TRect& Down);

  // ----- Values.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  double MaxValue() const { return FMaxValue; }
  double MinValue() const { return FMinValue; }
  bool UseCtrlIncrement() const { return FUseCtrlIncrement; }
  void SetUseCtrlIncrement(bool Value) { FUseCtrlIncrement = Value; }
  TdxValueType ValueType() const { return FValueType; }
  // Kept explicitly (stored value).
  void SetValueType(TdxValueType Value);
  // Both limits, kept explicitly (stored values).
  void SetMinMaxValues(double Min, double Max);
  TdxSpinButton HotButton() const { return FHotButton; }
  TdxSpinButton PressedButton() const { return FPressedButton; }
  // The repeat timer is armed (a mouse press is held).
  bool RepeatTimerArmed() const { return FRepeatTimer != 0; }

  // Between the limits, when there are any.
  double CheckValue(double Value);
  // One step of the pressed button; a beep when the value is not the editor's to
  // change.
  void Step();
  // Lets go of a pressed button: no capture, no repeat.
  void StopSpinning();

  // ----- The spin operations, in slot order.
  virtual double GetIncrement() { return FIncrement; }
  // The text's number (NumberText); an empty or unreadable text gives MinValue.
  virtual double GetValue();
  // Whether a text shown reads as a value: empty (MinValue), or a number.
  virtual bool IsValueText(const AnsiString& Text);
  // A sign, a digit or (floating) the decimal separator, while EditorEnabled, whose
  // text where it lands is a number or the start of one (IsNumberTyped); control
  // characters but Backspace.
  bool IsValidChar(char Key) override;
  virtual void SetMaxValue(double Value);
  virtual void SetMinValue(double Value);
  virtual void SetMinMaxLimits(double Min, double Max);
  virtual void SetValueTypeValue(TdxValueType Value);
  // Limits and formats the value; the text changes only when it differs.
  virtual void SetValue(double Value);
  virtual int GetButtonsWidth(TdxEditViewData* ViewData) { return SpinButtonsWidth(ViewData); }
  virtual double GetDefaultMaxValue() { return 0; }
  virtual double GetDefaultMinValue() { return 0; }
  virtual TdxValueType GetDefaultValueType() { return vtInt; }

  void RestoreDefaults() override;
  void Validate() override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void HostMouseMove(int X, int Y) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void RefreshDefaults() override;
  void SetMouseInside(bool Value) override;
  bool HandlesWheel() override { return true; }
  bool GetOptionByte() override { return false; }
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  // The window's timer goes with it.
  void DestroyWnd() override;

 private:
  // A number of the value type in Text (trimmed).
  bool ReadNumber(const AnsiString& Text, double& Value) const;
  // Text as a number is read from it: trimmed, and under a mask without the blanks of
  // its empty positions.
  AnsiString NumberText(const AnsiString& Text) const;
  // Whether a text typed (as NumberText gives it) is empty, a number of the value type
  // as GetValue reads one (an exponent included), or the start of one that a digit
  // more completes ("-", "1,", "1E-"). A sign anywhere else, a second separator, or a
  // number past the type's range is none.
  bool IsNumberTyped(const AnsiString& Text) const;
  // The inherited paste, undone when it leaves a text that is no value.
  void Paste(TMessage& Message);
  void SetHotSpinButton(TdxSpinButton Button);
  void StartRepeat(UINT Delay);
  void KillRepeat();
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMMouseWheel(TMessage& Message);

  bool FEditorEnabled = true;
  double FIncrement = 1.0;
  double FMaxValue = 0;
  double FMinValue = 0;
  TdxSpinButton FHotButton = sbNone;
  TdxSpinButton FPressedButton = sbNone;
  UINT_PTR FRepeatTimer = 0;
  bool FUseCtrlIncrement = false;
  TdxValueType FValueType = vtInt;
};

// The published parts of the spin and time editors (the time editor's unit has none of
// its own start).
void InitdxSpinEdit();
void DonedxSpinEdit();
