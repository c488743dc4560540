// The calculator keypad: 27 buttons in a fixed grid, driven by mouse and keyboard,
// doing four-function arithmetic with a memory on extended values (long double, the
// 80-bit type of this compiler).
//
// It has no display of its own: it reads and writes its display text through
// GetDisplayText and SetDisplayText, which the calc editor's popup maps onto the
// editor's text. The value is the display read as a number; a display that is not a
// number, or a result beyond the extended range, puts the keypad in its error state
// ("Error" shown) until "C" or "CE".
//
// "%" after a pending "+", "-", "*" or "/" turns the number shown into the right
// operand (Operand x X / 100 for "+" and "-", X / 100 for "*" and "/") and leaves the
// operation pending, so that 200 + 50 % shows 100 and "=" then 300.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "editors/dxCntner_Popup.h"

// How the keypad's buttons look; bsExtraFlat raises only the button under the mouse.
enum TdxButtonStyle : Byte { bsStandard, bsFlat, bsExtraFlat };
TENUM_INFO(TdxButtonStyle, "bsStandard", "bsFlat", "bsExtraFlat")

// The buttons by index.
enum TdxCalcButtonKind : Byte {
  cbBack,
  cbCancel,  // "CE"
  cbClear,   // "C"
  cbMC,
  cbMR,
  cbMS,
  cbMP,  // "M+"
  cbNum0,
  cbNum1,
  cbNum2,
  cbNum3,
  cbNum4,
  cbNum5,
  cbNum6,
  cbNum7,
  cbNum8,
  cbNum9,
  cbSign,
  cbDecimal,
  cbDiv,
  cbMul,
  cbSub,
  cbAdd,
  cbSqrt,
  cbPercent,
  cbRev,  // "1/x"
  cbEqual,
  cbNone
};
inline constexpr int dxCalcButtonCount = cbNone;

// 0: a new number is expected; 1: a number is being typed (or stands as the right
// operand); 2: the error state.
enum TdxCalcState : Byte { calcNew, calcTyping, calcError };

struct TdxCalcButton {
  AnsiString Caption;
  TColor Color = clBlack;
  TRect Bounds{0, 0, 0, 0};
  bool Down = false;
  bool Grayed = false;
};

using TdxCalcButtonClickEvent = TEvent<void(TObject* Sender, TdxCalcButtonKind& Button)>;

class TCustomdxCalculator : public TdxInplacePopupControl {
  TCLASS_DECL(TCustomdxCalculator, TdxInplacePopupControl)
 public:
  explicit TCustomdxCalculator(TComponent* AOwner);

  // ----- Settings (a change repaints).
  bool AutoFontSize() const { return FAutoFontSize; }
  void SetAutoFontSize(bool Value);
  bool BeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool Value) { FBeepOnError = Value; }
  TdxButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxButtonStyle Value);
  // 0 none, 1 single; a change recreates the window.
  Byte BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(Byte Value);
  bool ShowButtonFrame() const { return FShowButtonFrame; }
  void SetShowButtonFrame(bool Value);
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool Value);
  // Significant digits of results and of typed numbers (at least 2 are used).
  Byte Precision() const { return FPrecision; }
  void SetPrecision(Byte Value) { FPrecision = Value; }
  // Set, a mouse press does not focus the keypad.
  bool KeepFocus() const { return FKeepFocus; }
  void SetKeepFocus(bool Value) { FKeepFocus = Value; }

  // ----- State.
  long double Memory() const { return FMemory; }
  long double Operand() const { return FOperand; }
  TdxCalcButtonKind LastOperator() const { return FLastOperator; }
  TdxCalcState State() const { return FState; }
  const TdxCalcButton& Button(TdxCalcButtonKind Kind) const { return FButtons[Kind]; }
  TdxCalcButtonKind HotButton() const { return FHotButton; }
  TdxCalcButtonKind PressedButton() const { return FPressedButton; }
  bool Tracking() const { return FTracking; }
  TdxCalcButtonKind ButtonAt(int X, int Y) const;
  // The unit's bitmap every button is drawn in before it is copied: grown as needed to
  // the largest part of a button a paint has shown.
  static TBitmap* ButtonBitmap();

  // ----- Layout metrics (from the last layout).
  int ButtonWidth() const { return FButtonWidth; }
  int ButtonHeight() const { return FButtonHeight; }
  int WideButtonWidth() const { return FWideWidth; }
  int Gap() const { return FGap; }
  int CalcFontSize() const { return FFontSize; }

  // Places the buttons from the client size, sizes the control to them, and resets
  // the memory and the pending operation. Runs on construction and on every WM_SIZE.
  void Layout();

  // Enters a button, as a click on it does.
  virtual void ButtonClick(TdxCalcButtonKind Kind);
  AnsiString DisplayText();
  // The display as a number: 0 in the error state; a display that is not a number
  // enters the error state (and reads as 0).
  long double Value();
  // Shows Value to max(2, Precision) digits; one beyond the range is the error state.
  void SetValue(long double Value);
  // The display to the clipboard; a number from it (thousand separators dropped).
  void CopyToClipboard();
  void PasteFromClipboard();

  // The error display ("Error").
  static const AnsiString& ErrorText();

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnDisplayChange;
  TdxCalcButtonClickEvent OnButtonClick;
  TNotifyEvent OnError;
  TNotifyEvent OnResult;

 protected:
  virtual void GetDisplayText(AnsiString& Text) { Text.clear(); }
  virtual void SetDisplayText(const AnsiString& /*Text*/) {}

  void CreateParams(TCreateParams& Params) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;

 private:
  // Shows Text when it differs from the display, and tells OnDisplayChange.
  void ShowText(const AnsiString& Text);
  void StartEntry();
  void Error();
  void UpdateMemoryButtons();
  void EnterDigit(int Digit);
  void EnterOperator(TdxCalcButtonKind Kind);
  void EnterFunction(TdxCalcButtonKind Kind);
  void EnterMemory(TdxCalcButtonKind Kind);
  // The display's last character off ("0" for none left); an exponent's letter left
  // without digits goes too.
  void EnterBack();
  int DigitLimit() const { return FPrecision < 2 ? 2 : FPrecision; }
  // A key's button shown down (the previous one up) and, unless Click is false,
  // clicked.
  void PressKeyButton(TdxCalcButtonKind Kind, bool Click);
  void ReleaseKeyButton();
  void SetButtonDown(TdxCalcButtonKind Kind, bool Down);
  void SetHotButton(TdxCalcButtonKind Kind);
  void StopTracking();
  void InvalidateButton(TdxCalcButtonKind Kind);
  void PaintButton(HDC DC, TdxCalcButtonKind Kind);

  TdxCalcButton FButtons[dxCalcButtonCount];
  bool FAutoFontSize = true;
  bool FBeepOnError = true;
  TdxButtonStyle FButtonStyle = bsStandard;
  Byte FBorderStyle = 0;
  bool FShowButtonFrame = false;
  bool FShowFocusRect = true;
  int FFontSize = 8;
  int FButtonWidth = 28;
  int FButtonHeight = 22;
  int FWideWidth = 47;
  int FGap = 4;
  long double FMemory = 0;
  TdxCalcButtonKind FLastOperator = cbEqual;
  Byte FPrecision = 13;
  TdxCalcState FState = calcNew;
  long double FOperand = 0;
  TdxCalcButtonKind FHotButton = cbNone;
  TdxCalcButtonKind FPressedButton = cbNone;
  TdxCalcButtonKind FKeyButton = cbNone;
  bool FTracking = false;
  bool FKeepFocus = false;
  bool FLayingOut = false;
  bool FReleasing = false;  // inside a left-button release
};

// The unit's start and end: the error text and the bitmap buttons are drawn in.
void InitdxCalc();
void DonedxCalc();
