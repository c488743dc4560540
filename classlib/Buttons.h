// The speed button: a graphic control (painted by its parent, so that what is behind
// it can show through) with a glyph and a caption, which can stay down in a group.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Graphics.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
TENUM_INFO(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Glyph holds NumGlyphs images side by side: up, disabled, down, and stays-down; the
// first stands in for a missing one. The glyph's bottom-left pixel colour is drawn
// transparent. A button with a GroupIndex stays down when clicked and releases the
// other buttons of its group under the same parent; clicking it again releases it
// only with AllowAllUp. A flat button shows its frame only while the mouse is over it.
class TSpeedButton : public TGraphicControl {
  TCLASS_DECL(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // Pixels from the edge to the glyph; -1 centres glyph and caption together.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // Pixels between glyph and caption.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void GlyphChanged(TObject* Sender);
  void UpdateExclusive();
  void DrawGlyphAndText(const TRect& Client, int Offset);

  TBitmap* FGlyph;
  int FNumGlyphs = 1;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FTransparent = true;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseInControl = false;
};

// The Buttons unit's start and end (in the module's unit table).
void InitButtons();
void DoneButtons();
