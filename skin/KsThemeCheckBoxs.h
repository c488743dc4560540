// The themed check box and radio button: while the engine's painter can draw, the
// glyph and its size come from the painter (DrawCheckBox, DrawRadioButton, GetSize
// 16 to 19); otherwise they are the kit controls exactly. The engine is not owned
// and is dropped when it is freed.
#pragma once

#include "skin/KsCheckBoxs.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeEngineLink.h"

// The draw state a check glyph is painted in: disabled, else pressed, else hot, else
// normal.
Byte CheckDrawState(const TKsCustomControl* Control, bool Pressed);

class TTeThemeCheckBox : public TKsCustomCheckBox {
  TCLASS_DECL(TTeThemeCheckBox, TKsCustomCheckBox)
 public:
  explicit TTeThemeCheckBox(TComponent* AOwner) : TKsCustomCheckBox(AOwner) {}

  TTeThemeEngine* ThemeEngine() const { return FLink.Engine(); }
  void SetThemeEngine(TTeThemeEngine* Value);
  TTeThemeVersion Version() const { return TeThemeVersionText; }
  void SetVersion(const TTeThemeVersion& /*Value*/) {}
  bool IsThemed() const { return FLink.Themed(); }

  TPoint GetCheckSize() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawCheck() override;

 private:
  TTeThemeEngineLink FLink{this};
};

class TTeThemeRadioButton : public TKsCustomRadioButton {
  TCLASS_DECL(TTeThemeRadioButton, TKsCustomRadioButton)
 public:
  explicit TTeThemeRadioButton(TComponent* AOwner) : TKsCustomRadioButton(AOwner) {}

  TTeThemeEngine* ThemeEngine() const { return FLink.Engine(); }
  void SetThemeEngine(TTeThemeEngine* Value);
  TTeThemeVersion Version() const { return TeThemeVersionText; }
  void SetVersion(const TTeThemeVersion& /*Value*/) {}
  bool IsThemed() const { return FLink.Themed(); }

  TPoint GetCheckSize() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawCheck() override;

 private:
  TTeThemeEngineLink FLink{this};
};

// The unit's start (classes and published properties) and end.
void InitKsThemeCheckBoxs();
void DoneKsThemeCheckBoxs();
