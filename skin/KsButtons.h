// The kit's self-drawn push button: a buffered control that paints a face, a glyph
// and a caption, with the standard kinds (caption, modal result and glyph each), a
// default button that takes Enter, Escape for the button whose ModalResult is
// mrCancel, Space and the caption's accelerator, and mouse tracking (a press that is
// released off the button does not click).
//
// Drawing runs in steps that descendants replace one by one (a themed button draws
// its own face): PaintBuffer = the base fill, DrawFace, DrawCaption, DrawGlyph.
#pragma once

#include <windows.h>

#include "classlib/ActnList.h"
#include "classlib/Buttons.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "skin/KsControls.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
TENUM_INFO(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
           "bkAbort", "bkRetry", "bkIgnore", "bkAll")

// What a kind gives a button: its standard caption, its modal result and the name of
// its glyph resource ("KSBTN_OK", ...; empty for bkCustom).
AnsiString KsButtonKindCaption(TBitBtnKind Kind);
TModalResult KsButtonKindModalResult(TBitBtnKind Kind);
AnsiString KsButtonKindResource(TBitBtnKind Kind);
// The glyph of a kind (two 16 x 16 images, normal then disabled), loaded from the
// module's resources on first use and kept until the kit ends; nullptr for bkCustom.
// A module without the resource gets an empty bitmap.
TBitmap* KsButtonKindGlyph(TBitBtnKind Kind);

class TKsCustomButton;

// The link of a push button to its action: a property is linked while the button
// shows the action's value of it.
class TKsButtonActionLink : public TActionLink {
  TCLASS_DECL(TKsButtonActionLink, TActionLink)
 public:
  explicit TKsButtonActionLink(TKsCustomButton* AClient);

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TCustomAction* CustomAction() const;
  TKsCustomButton* FButton;
};

class TKsCustomButton : public TKsCustomControl {
  TCLASS_DECL(TKsCustomButton, TKsCustomControl)
 public:
  // A tab stop, transparent, button-face colour, 75 x 25.
  explicit TKsCustomButton(TComponent* AOwner);
  void BeforeDestruction() override;
  ~TKsCustomButton() override;

  // The action the button follows (caption, enabled, hint, visible, help context,
  // the image of its list as the glyph while the button has none, OnExecute as
  // OnClick); free-notified.
  TBasicAction* Action() const override;
  void SetAction(TBasicAction* Value);
  TKsButtonActionLink* ActionLink() const { return FActionLink; }

  // The default-button frame is shown (no other button has the focus).
  bool DefaultActive() const { return FDefaultActive; }
  // Takes Enter while no other button has the focus.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // A left-button press began on the button and has not been released.
  bool Tracking() const { return FTracking; }
  // Images side by side (normal, disabled, ...); its bottom-left pixel's colour is
  // transparent.
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  // 1 to 4.
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  // Pixels between glyph and caption.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // 1 while pressed (Space held, or the mouse pressed on the button and over it).
  Byte Down() const { return FDown; }
  // Given to the parent form on a click.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // A form file holds Default and ModalResult whenever they are set or the kind would
  // set them, so that a kind's value turned off is read back off.
  bool DefaultStored() const;
  bool ModalResultStored() const;
  // The glyph in grey until the mouse is over the button.
  bool BlackAndWhiteGlyph() const { return FBlackAndWhiteGlyph; }
  void SetBlackAndWhiteGlyph(bool Value);

  // The parent form takes ModalResult, then OnClick runs, or the action when OnClick
  // is the action's OnExecute or unassigned.
  void Click() override;
  void Dispatch(TMessage& Message) override;

  // The size of one glyph image; (0, 0) without a glyph.
  TSize GlyphSize() const;
  // Glyph and caption together, centred in the button (a pixel right and down while
  // pressed); the caption's part of it; the glyph's part of it (with the spacing).
  virtual TRect GetContentRect();
  virtual TRect GetTextRect();
  virtual TRect GetGlyphRect();

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Copies the action's properties; with CheckDefaults only into properties that
  // still hold their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The base fill, then DrawFace, DrawCaption and DrawGlyph, in that order.
  void PaintBuffer() override;
  virtual void DrawFace();
  virtual void DrawGlyph();
  virtual void DrawCaption();

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void FocusGained() override;
  void FocusLost() override;

  // The caption measured in BufferFont.
  TSize CaptionSize();

 private:
  void DoActionChange(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void SetDown(Byte Value);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  bool FDefaultActive = false;
  bool FDefault = false;
  // Default was read from a form file before Loaded: the kind read later leaves it.
  bool FDefaultRead = false;
  bool FTracking = false;
  TBitmap* FGlyph;
  // The glyph's pixels, copied at the first paint after the glyph changes.
  TKsBitmap* FGlyphPixels = nullptr;
  TButtonLayout FLayout = blGlyphLeft;
  TBitBtnKind FKind = bkCustom;
  int FNumGlyphs = 1;
  int FSpacing = 4;
  Byte FDown = 0;
  TModalResult FModalResult = mrNone;
  bool FBlackAndWhiteGlyph = false;
  TKsButtonActionLink* FActionLink = nullptr;
};

// The unit's start (class and published properties) and end (also frees the glyphs
// of the kinds).
void InitKsButtons();
void DoneKsButtons();
