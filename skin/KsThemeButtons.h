// The kit's push button painted by the current theme: while its engine's painter can
// draw, the face comes from the painter's DrawButton; otherwise the button looks
// exactly like the unthemed kit button. Caption and glyph are the kit button's.
#pragma once

#include "skin/KsButtons.h"
#include "skin/KsThemeEngine.h"

class TTeThemeButton : public TKsCustomButton {
  TCLASS_DECL(TTeThemeButton, TKsCustomButton)
 public:
  explicit TTeThemeButton(TComponent* AOwner) : TKsCustomButton(AOwner) {}

  // Not owned; cleared when the engine is freed.
  TTeThemeEngine* ThemeEngine() const { return FThemeEngine; }
  void SetThemeEngine(TTeThemeEngine* Value);
  TTeThemeVersion Version() const { return TeThemeVersionText; }
  void SetVersion(const TTeThemeVersion& /*Value*/) {}

  // The painter draws the face: neither loading nor being destroyed, and the engine's
  // painter is available.
  bool IsThemed() const;
  // The draw state handed to the painter: disabled, else pressed, else hot, else
  // focused, else default, else normal (tdsDisabled .. tdsNormal).
  Byte ThemeState() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawFace() override;

 private:
  TTeThemeEngine* FThemeEngine = nullptr;
};

// The unit's start (class and published properties) and end.
void InitKsThemeButtons();
void DoneKsThemeButtons();
