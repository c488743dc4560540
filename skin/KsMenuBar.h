// TKsCustomMenuBar: a row of the kit's items along the top (or bottom) of a form, whose
// sub-menus open in the kit's popup windows. Alt with an item's accelerator letter
// opens it; the form's frame hands the bar its shortcut keys and the keyboard menu.
// On a multiple-document main form the bar carries the icon, minimize, restore and
// close buttons of a maximized child window at its ends.
//
// An etched line 2 pixels high separates the bar from the client area: along its
// bottom when it sits at the top, along its top when it sits at the bottom.
#pragma once

#include "classlib/Forms.h"
#include "skin/KsControls.h"
#include "skin/KsEffects.h"
#include "skin/KsItems.h"

class TKsCustomMenuBar;

// The bar's row of items: painted into the bar's buffer, sized by the bar.
class TKsMenuBarView : public TKsItemView {
  TCLASS_DECL(TKsMenuBarView, TKsItemView)
 public:
  explicit TKsMenuBarView(TKsCustomMenuBar* ABar);
  TKsCustomMenuBar* MenuBar() const { return FMenuBar; }
  // The bar takes the items' height (with AutoSize).
  void SetSize(const TPoint& Extent) override;
  void MoveTo(const TPoint&) override {}
  void Invalidate() override;

 private:
  TKsCustomMenuBar* FMenuBar;
};

class TKsCustomMenuBar : public TKsCustomControl {
  TCLASS_DECL(TKsCustomMenuBar, TKsCustomControl)
 public:
  // Menu colour, aligned to the top, the system's menu-bar height.
  explicit TKsCustomMenuBar(TComponent* AOwner);
  // Makes the item tree (GetItemClass is virtual) and the view.
  void AfterConstruction() override;
  void BeforeDestruction() override;
  ~TKsCustomMenuBar() override;

  TKsCustomItem* Items() const { return FItems; }
  TKsMenuBarView* View() const { return FView; }
  TCustomImageList* Images() const { return FItems ? FItems->Images() : nullptr; }
  void SetImages(TCustomImageList* Value);

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
  // With AutoSize the bar's height follows its items; switched on, the bar fits them.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) override;
  bool Sizing() const { return FSizing; }

  // The child window whose buttons the bar shows (free-notified), or nil.
  TCustomForm* MDIChild() const { return FMDIChild; }
  TKsCustomItem* IconButton() const { return FIconButton; }
  TKsCustomItem* MinimizeButton() const { return FMinimizeButton; }
  TKsCustomItem* RestoreButton() const { return FRestoreButton; }
  TKsCustomItem* CloseButton() const { return FCloseButton; }
  void ShowMDIButtons(TCustomForm* Child);
  void HideMDIButtons();

  // The area the items take: less 2 pixels on the side of the etched line.
  virtual TRect GetBarClientRect();
  // Puts Item at the end of the first level.
  virtual void AddItem(TComponent* Component, TKsCustomItem* Item);
  virtual TClass GetItemClass() const;
  // The tree changed: the popup properties, owner and bar state are handed down again
  // and the bar fits its items.
  virtual void ItemsChanged();

  // Keyboard tracking of the row (the modal loop of the item view).
  void StartTracking();
  // Whether a key message is the shortcut of an item of the tree (which then runs).
  bool IsShortCut(TMessage& Message);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  void PaintBuffer() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;

 private:
  template <class T>
  void SetPopupLook(T TKsPopupLook::*Field, T Value) {
    FPopupLook.*Field = Value;
    FPopupLook.PassTo(FItems);
  }
  bool InControlBar() const;
  // With AutoSize the height of the visible items (not while loading: Loaded fits).
  void Refit();
  void CreateMDIButtons();
  void ItemsChange(TObject* Sender);
  void MDIButtonClick(TObject* Sender);
  void SetMDIChild(TCustomForm* Child);
  void SetMDIButtonsVisible(bool Value);
  // Alt with an accelerator of the first level: tracking from that item.
  bool DialogChar(TMessage& Message);

  bool FItemsUpdating = false;
  TKsCustomItem* FItems = nullptr;
  TKsMenuBarView* FView = nullptr;
  TCustomForm* FMDIChild = nullptr;
  TKsPopupLook FPopupLook;
  bool FAutoSize = true;
  bool FSizing = true;
  TKsCustomItem* FIconButton = nullptr;
  TKsCustomItem* FMinimizeButton = nullptr;
  TKsCustomItem* FRestoreButton = nullptr;
  TKsCustomItem* FCloseButton = nullptr;
};

// The unit's start (class and published properties) and end.
void InitKsMenuBar();
void DoneKsMenuBar();
