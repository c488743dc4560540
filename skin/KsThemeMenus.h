// The themed menus: TTeThemeItem, an item that measures and paints through the
// painter of a theme engine whenever that painter is available, and the popup window
// and frame that show a level of such items with the painter's popup background.
#pragma once

#include "skin/KsItems.h"
#include "skin/KsPopup.h"
#include "skin/KsThemeEngine.h"

class TTeThemeItem : public TKsCustomItem {
  TCLASS_DECL(TTeThemeItem, TKsCustomItem)
 public:
  explicit TTeThemeItem(TComponent* AOwner);

  // Not owned; cleared when the engine is freed.
  TTeThemeEngine* ThemeEngine() const { return FThemeEngine; }
  // Sets the engine of this item and of every themed item below it.
  void SetThemeEngine(TTeThemeEngine* Value);
  // The engine is set and its painter can draw.
  bool IsThemed() const;

  TClass GetPopupWindowClass() const override;
  void Measure(TKsBitmap* Canvas, TKsItemView* View, int& Width, int& Height) override;
  void Paint(TKsBitmap* Canvas, TKsItemView* View, const TRect& R, bool Selected, bool Raised) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Sets the engine down the tree; whether any item's engine changed.
  bool SetTreeThemeEngine(TTeThemeEngine* Value);

  TTeThemeEngine* FThemeEngine = nullptr;
};

// The popup window of themed items: its engine is the item's.
class TTeThemePopupWindow : public TKsPopupWindow {
  TCLASS_DECL(TTeThemePopupWindow, TKsPopupWindow)
 public:
  TTeThemePopupWindow(TComponent* AOwner, TKsCustomItem* AItem, TKsItemView* AParentView);
  void AfterConstruction() override;

  TTeThemeEngine* ThemeEngine() const { return FThemeEngine; }
  void SetThemeEngine(TTeThemeEngine* Value);
  TComponentClass GetFormClass() const override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TTeThemeEngine* FThemeEngine = nullptr;
};

// The frame of a themed popup window: the painter's popup background when the
// window's engine has a painter that can draw, else the plain popup frame.
class TTeThemePopupForm : public TKsPopupForm {
  TCLASS_DECL(TTeThemePopupForm, TKsPopupForm)
 public:
  using TKsPopupForm::TKsPopupForm;
  void PaintFrame(TKsBitmap* Bitmap) override;
};

// The unit's start (the themed item's class, for form files) and end.
void InitKsThemeMenus();
void DoneKsThemeMenus();
