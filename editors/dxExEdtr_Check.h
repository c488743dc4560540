// The check editor: a three-state check mark with an optional caption (the editor's
// text), drawn with the system's check-box look or from a strip of pictures. Space,
// a left click and the caption's accelerator toggle it; in a grid, the release of the
// click that opened it toggles it at once.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "editors/dxCntner_Edit.h"

enum TdxShowNullFieldStyle : Byte { nsUnchecked, nsInactive, nsGrayedChecked };
TENUM_INFO(TdxShowNullFieldStyle, "nsUnchecked", "nsInactive", "nsGrayedChecked")

// The states of a check: 0 unchecked, 1 checked, 2 grayed.
using TdxCheckBoxState = Byte;
inline constexpr TdxCheckBoxState cbsUnchecked = 0;
inline constexpr TdxCheckBoxState cbsChecked = 1;
inline constexpr TdxCheckBoxState cbsGrayed = 2;

class TdxCheckEditViewData : public TdxEditViewData {
  TCLASS_DECL(TdxCheckEditViewData, TdxEditViewData)
 public:
  TdxCheckBoxState State = cbsUnchecked;
  AnsiString Caption;
  // The caption's rectangle is fitted to its text (always set by this editor).
  bool FitText = true;
  TBitmap* Glyph = nullptr;
  int GlyphCount = 6;
  TdxShowNullFieldStyle ShowNullFieldStyle = nsGrayedChecked;
  bool Pressed = false;
};

// The check editor's style: its defaults come from the shared check controller.
class TdxCheckEditStyle : public TdxEditStyle {
  TCLASS_DECL(TdxCheckEditStyle, TdxEditStyle)
 public:
  using TdxEditStyle::TdxEditStyle;
  TdxEditStyleController* GetDefaultStyleController() override;
};

class TdxInplaceCheckEdit : public TdxInplaceEdit {
  TCLASS_DECL(TdxInplaceCheckEdit, TdxInplaceEdit)
 public:
  explicit TdxInplaceCheckEdit(TComponent* AOwner);
  ~TdxInplaceCheckEdit() override;

  // ----- Class operations.
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData);
  static int GetEditHeight(MetaType::TSelf Self, TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  static TdxEditStyleClass GetStyleClass(MetaType::TSelf Self);
  // The size of one picture of the strip, else the system check box's; true when the
  // strip is usable.
  static bool GetCheckGlyphSize(TBitmap* Glyph, int GlyphCount, int& Width, int& Height);
  // Where the check goes inside R; R becomes the caption's rectangle.
  static TRect PlaceCheck(TRect& R, TAlignment Alignment, int Width, int Height);
  // The strip's picture for a state: pressed ones follow the three released ones,
  // and a short strip shows its last picture rather than one it does not have.
  static int GlyphIndex(TdxCheckBoxState State, bool Pressed, int GlyphCount);

  // ----- Values.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // Made on first read.
  TBitmap* Glyph();
  bool HasGlyph() const { return FGlyph && !FGlyph->Empty(); }
  // None frees the strip; otherwise the picture is copied.
  void SetGlyph(TBitmap* Value);
  int GlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int Value);
  TdxShowNullFieldStyle ShowNullFieldStyle() const { return FShowNullFieldStyle; }
  void SetShowNullFieldStyle(TdxShowNullFieldStyle Value);
  TdxCheckBoxState State() const { return FState; }
  void SetState(TdxCheckBoxState Value);
  bool Pressed() const { return FPressed; }
  bool Tracking() const { return FTracking; }

  // Unchecked, grayed (with AllowGrayed) or checked, checked, unchecked; marks the
  // editor modified, unless it is back at the state the edit began with, where it is
  // modified as it was then. Nothing when the value may not change.
  virtual void Toggle();

  // The state as an integer (Null or Empty set it unchecked); setting it neither marks
  // the editor modified nor fires OnChange.
  void SetEditValue(const Variant& Value) override;
  Variant GetEditValue() override;
  void GetDisplayValue(Variant& Value) override;
  void HostMouseUp() override;
  // The state at the restore point comes back with Escape, quietly, as a text editor's
  // text does.
  void SaveRestorePoint() override;
  void RevertToSaved() override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Click() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void SetPressed(bool Value);
  void StopTracking();
  void InvalidateCheck();

  bool FAllowGrayed = false;
  TBitmap* FGlyph = nullptr;
  int FGlyphCount = 6;
  TdxShowNullFieldStyle FShowNullFieldStyle = nsGrayedChecked;
  bool FPressed = false;
  TdxCheckBoxState FSavedState = cbsUnchecked;
  TdxCheckBoxState FState = cbsUnchecked;
  bool FTracking = false;
};

// The shared check controller (nullptr outside the unit's life).
TdxCheckEditStyleController* CheckEditStyleController();

// Makes the shared check controller and registers the check editor's classes.
void InitdxCheckEdit();
void DonedxCheckEdit();
