// The themed window: the skinned frame of TKsCustomForm drawn by the painter of a
// theme engine: the painter's frame metrics, region, caption, caption buttons (hot
// while the cursor is over them, by a 100 ms timer) and client colour. Whenever the
// painter cannot draw (no engine, no painter, or one that is not available on this
// system) every slot falls back to the unthemed frame.
#pragma once

#include "classlib/ExtCtrls.h"
#include "skin/KsForms.h"
#include "skin/KsThemeEngine.h"

class TTeThemeForm : public TKsCustomForm {
  TCLASS_DECL(TTeThemeForm, TKsCustomForm)
 public:
  // Active from the start; the hot-tracking timer runs outside design time.
  explicit TTeThemeForm(TComponent* AOwner);
  void BeforeDestruction() override;

  // Not owned; cleared (and the frame laid out again) when the engine is freed.
  TTeThemeEngine* ThemeEngine() const { return FThemeEngine; }
  void SetThemeEngine(TTeThemeEngine* Value);
  TTeThemeVersion Version() const { return TeThemeVersionText; }
  void SetVersion(const TTeThemeVersion& /*Value*/) {}

  // The painter draws: neither loading nor being destroyed, and the engine has a
  // painter whose class is available.
  bool IsThemed() const;
  // From the engine's refresh: repaints the frame and the form and hands the form's
  // bidirectional mode to the painter.
  void ApplyTheme();
  // Invalidates every control among the form's components.
  void InvalidateControls();
  // The hit code under the cursor at the last timer tick.
  Byte HotCode() const { return FHotCode; }
  // One tick of hot tracking (the timer's event).
  void HotTrackTimer(TObject* Sender);

  HRGN GetRegion() override;
  TKsCustomItem* CreateItem(TComponent* AOwner) override;
  void GetButtonRect(int Kind, TRect& R) override;
  void GetClientArea(TRect& R) override;
  void GetMaximizedRect(TRect& R) override;
  void PaintFrame(TKsBitmap* Bitmap) override;
  // Where the themed caption's text goes: the band between the icon and the buttons.
  void GetCaptionTextRect(TRect& R);
  void PaintBackground(TKsBitmap* Bitmap) override;
  Byte HitTest(int X, int Y) override;
  // WM_NCPAINT also fills the form's own border ring (painter's client colour).
  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TTeTheme* Painter() const { return FThemeEngine ? FThemeEngine->Theme() : nullptr; }
  // The painter is the XP visual-styles one, which has no roll-up or tray button.
  bool NoExtraButtons() const;
  void WMNCPaint(TMessage& Message);
  void PaintCaptionButton(TKsBitmap* Bitmap, const TRect& R, int Kind, bool Hot, bool Pressed);

  TTeThemeEngine* FThemeEngine = nullptr;
  Byte FHotCode = 0;
  Byte FLastHotCode = 0;
  TTimer* FHotTimer = nullptr;
};

// The unit's start (class, published properties, the engine's refresher) and end.
void InitKsThemeForms();
void DoneKsThemeForms();
