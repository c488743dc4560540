// Standard controls: the push button over the system "BUTTON" class (default and
// cancel buttons, modal results) and the label, a graphic control whose mnemonic
// focuses another control.
#pragma once

#include "classlib/Controls.h"

// The base of the controls over "BUTTON".
class TButtonControl : public TWinControl {
  TCLASS_DECL(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  // While set, changes made by code do not fire Click.
  bool ClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

 private:
  bool FClicksDisabled = false;
};

// A push button. Click gives the parent form ModalResult (when not mrNone) before
// OnClick. Enter clicks the default button unless another button has the focus (the
// focused button then); Escape clicks the cancel button; Alt and the caption's
// mnemonic (or the letter alone, without a control that wants characters) click it.
class TButton : public TButtonControl {
  TCLASS_DECL(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Draws the default-button frame or not.
  void SetButtonStyle(bool ADefault);

 private:
  void CMDialogKey(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  bool FDefault = false;
  bool FCancel = false;
  // The button takes Enter now: it has the focus, or it is the default button and no
  // other button has the focus.
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };

// A label: text drawn by its parent, sized to the text while AutoSize is on. With
// FocusControl, its mnemonic (Alt and the letter after "&") focuses that control.
class TCustomLabel : public TGraphicControl {
  TCLASS_DECL(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);

  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // Transparent labels let the parent show through (not opaque).
  bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  void SetAutoSize(bool Value) override;

  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void AdjustSize() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Draws (or with DT_CALCRECT measures) the caption in Rect with the font.
  void DoDrawText(TRect& TextRect, UINT Flags);

 private:
  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  TCLASS_DECL(TLabel, TCustomLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};
