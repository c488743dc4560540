// TKsCustomPopupMenu: a popup-menu component whose tree is the kit's items, shown in
// the kit's popup windows instead of the system's menu. One kit popup menu shows at a
// time: a menu popped up while another shows closes the other first.
#pragma once

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/KsEffects.h"
#include "skin/KsItems.h"

class TKsCustomPopupMenu : public TPopupMenu {
  TCLASS_DECL(TKsCustomPopupMenu, TPopupMenu)
 public:
  // Registers the class as a holder of items (form files put items into its tree).
  explicit TKsCustomPopupMenu(TComponent* AOwner);
  // Makes the item tree (GetItemClass is virtual).
  void AfterConstruction() override;
  void BeforeDestruction() override;
  ~TKsCustomPopupMenu() override;

  // The root of the kit items; it hides the class library's item tree, which stays
  // empty.
  TKsCustomItem* Items() const { return FItems; }
  TCustomImageList* Images() const { return FItems ? FItems->Images() : nullptr; }
  void SetImages(TCustomImageList* Value);
  // The items' reading order, handed to the tree when it is set, when the menu is
  // loaded and when it pops up.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);

  // Each is stored and handed to the whole tree.
  bool PopupBlend() const { return FPopupLook.PopupBlend; }
  void SetPopupBlend(bool Value) { SetPopupLook(&TKsPopupLook::PopupBlend, Value); }
  int PopupBlendValue() const { return FPopupLook.PopupBlendValue; }
  void SetPopupBlendValue(int Value) { SetPopupLook(&TKsPopupLook::PopupBlendValue, Value); }
  bool DropShadow() const { return FPopupLook.DropShadow; }
  void SetDropShadow(bool Value) { SetPopupLook(&TKsPopupLook::DropShadow, Value); }
  int ShowAnimationTime() const { return FPopupLook.ShowAnimationTime; }
  void SetShowAnimationTime(int Value) { SetPopupLook(&TKsPopupLook::ShowAnimationTime, Value); }
  int ShadowWidth() const { return FPopupLook.ShadowWidth; }
  void SetShadowWidth(int Value) { SetPopupLook(&TKsPopupLook::ShadowWidth, Value); }
  TKsAnimation ShowAnimation() const { return FPopupLook.ShowAnimation; }
  void SetShowAnimation(TKsAnimation Value) { SetPopupLook(&TKsPopupLook::ShowAnimation, Value); }

  // Puts Item at the end of the tree's first level.
  virtual void AddItem(TComponent* Component, TKsCustomItem* Item);
  virtual TClass GetItemClass() const;
  // Ends the tracking of this menu's popups.
  virtual void CloseMenu();
  // Closes the kit popup menu that shows (if another), then shows and tracks this one.
  void Popup(int X, int Y) override;
  // The kit popup menu that shows now, or nullptr.
  static TKsCustomPopupMenu* Showing();

  // The class library's children, then the first level of the tree.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnPopup;

 protected:
  // Hands the reading order and the popup properties read to the items read after
  // them.
  void Loaded() override;

 private:
  template <class T>
  void SetPopupLook(T TKsPopupLook::*Field, T Value) {
    FPopupLook.*Field = Value;
    FPopupLook.PassTo(FItems);
  }

  TKsCustomItem* FItems = nullptr;
  TKsPopupLook FPopupLook;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

// The unit's start (class and published properties) and end.
void InitKsPopupMenu();
void DoneKsPopupMenu();
