// The calc editor: a drop-down editor whose popup is the calculator keypad. The keypad
// shows its display in the editor's text, so every key shows its result in the editor
// at once; the open keypad takes the keys itself.
#pragma once

#include <windows.h>

#include "editors/dxCalc.h"
#include "editors/dxExEdtr_DropDown.h"

class TdxInplaceCalcEdit;

// The keypad as a popup bound to a calc editor.
class TdxPopupCalculator : public TCustomdxCalculator {
  TCLASS_DECL(TdxPopupCalculator, TCustomdxCalculator)
 public:
  explicit TdxPopupCalculator(TComponent* AOwner);

  TdxInplaceCalcEdit* CalcEdit() const { return FCalcEdit; }
  void SetCalcEdit(TdxInplaceCalcEdit* Value) { FCalcEdit = Value; }
  // "=" typed closes the popup.
  bool QuickClose() const { return FQuickClose; }
  void SetQuickClose(bool Value) { FQuickClose = Value; }

  // Closes as the popup control does; an editor left showing "Error" shows "0"
  // (and is modified).
  void ClosePopup() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // The editor's text ("0" without an editor).
  void GetDisplayText(AnsiString& Text) override;
  // Into the editor's text when it may change, marking it modified; a failure closes
  // the popup and goes on.
  void SetDisplayText(const AnsiString& Text) override;
  // Alt+Up, Alt+Down, F4 and Escape close; Enter completes the calculation and closes.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  TdxInplaceCalcEdit* FCalcEdit = nullptr;
  bool FQuickClose = false;
};

class TdxInplaceCalcEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TdxInplaceCalcEdit, TdxInplaceDropDownEdit)
  // The popup reads and writes the text through the editor's own steps.
  friend class TdxPopupCalculator;

 public:
  explicit TdxInplaceCalcEdit(TComponent* AOwner);
  ~TdxInplaceCalcEdit() override;

  // Handed to the keypad at the next drop-down.
  bool BeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool Value) { FBeepOnError = Value; }
  TdxButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxButtonStyle Value) { FButtonStyle = Value; }
  bool QuickClose() const { return FQuickClose; }
  void SetQuickClose(bool Value) { FQuickClose = Value; }
  Byte Precision() const { return FPrecision; }
  void SetPrecision(Byte Value) { FPrecision = Value; }
  bool ShowButtonFrame() const { return FShowButtonFrame; }
  void SetShowButtonFrame(bool Value) { FShowButtonFrame = Value; }

  // The keypad, made by the first drop-down.
  TdxPopupCalculator* Calculator() const { return FCalculator; }

  // Makes the keypad (its window afresh each time), binds and sets it up, lays it
  // out, places it under the editor and shows it.
  void DropDown() override;

 private:
  bool FBeepOnError = true;
  TdxButtonStyle FButtonStyle = bsStandard;
  bool FQuickClose = false;
  TdxPopupCalculator* FCalculator = nullptr;
  Byte FPrecision = 13;
  bool FShowButtonFrame = false;
};
