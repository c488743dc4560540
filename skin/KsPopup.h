// Popup windows of the kit's menus. One level of an item tree shows in a
// TKsPopupWindow: a borderless top-most tool window whose frame and background a
// TKsPopupForm paints (a skinned frame without caption or border icons) and whose items
// a TKsPopupView lays out and tracks. ShowPopupItem, installed as PopupItem's procedure
// when the unit starts, places such a window, shows it without activating it, tracks it
// and frees it when its loop ends.
#pragma once

#include "classlib/Forms.h"
#include "classlib/Types.h"
#include "skin/KsForms.h"
#include "skin/KsItems.h"

class TKsPopupWindow;
class TKsPopupForm;
class TKsPopupView;

// The top-left corner of a popup window of Width x Height on Screen.
// Without an item rectangle (its width is 0 or less) the popup is free at At: it
// opens to the right of and below the point, to the left when it would pass the right
// edge and above when it would pass the bottom, and is never pushed back further.
// A sub-menu opens below its item when the parent is in menu-bar style (above it when
// it does not fit), otherwise beside it (to the item's left, or up from its bottom,
// when it does not fit); a sub-menu still past the right or bottom edge is then moved
// in against it. No edge pushes a popup right or down.
TPoint PlacePopup(const TRect& Screen, const TPoint& At, const TRect& ItemRect, int Width, int Height,
                  bool MenuBarStyle);

// Shows Item's children in a window of the item's popup-window class, placed on the
// screen by PlacePopup, and tracks it until it closes; the window is freed then. False
// (and nothing shown) for an item without children.
bool ShowPopupItem(TKsCustomItem* Item, TKsItemView* ParentView, const TPoint& At, const TRect& ItemRect);

// The popup windows that exist now, in the order they were made.
int PopupWindowCount();
TKsPopupWindow* PopupWindows(int Index);

// Ends the tracking of every popup window that shows a level of Root's tree and hides
// those windows; each is freed when its loop has returned.
void ClosePopups(TKsCustomItem* Root);

// The metaclass of popup windows: their constructor with the item shown.
class TKsPopupWindowMetaClass : public TComponentMetaClass {
 public:
  using TComponentMetaClass::TComponentMetaClass;
  virtual TKsPopupWindow* CreateNew(TComponent* AOwner, TKsCustomItem* Item, TKsItemView* ParentView) const = 0;

  template <class T, class Base>
  struct Impl : TComponentMetaClass::Impl<T, Base> {
    using TComponentMetaClass::Impl<T, Base>::Impl;
    TKsPopupWindow* CreateNew(TComponent* AOwner, TKsCustomItem* Item, TKsItemView* ParentView) const override {
      return NewObject<T>(AOwner, Item, ParentView);
    }
  };
};
using TKsPopupWindowClass = const TKsPopupWindowMetaClass*;

// The window of one popup level. It owns its form and its view, made once the window
// is constructed (GetFormClass is virtual).
class TKsPopupWindow : public TForm {
 public:
  using MetaType = TKsPopupWindowMetaClass;
  TCLASS_DECL(TKsPopupWindow, TForm)
 public:
  TKsPopupWindow(TComponent* AOwner, TKsCustomItem* AItem, TKsItemView* AParentView);
  ~TKsPopupWindow() override;
  // Makes the form (loaded, stay-on-top, the item's blend, shadow and animation) and
  // the view of the item's children.
  void AfterConstruction() override;

  TKsPopupView* View() const { return FView; }
  TKsPopupForm* PopupForm() const { return FForm; }
  TKsCustomItem* Item() const { return FItem; }
  virtual TComponentClass GetFormClass() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Shown and hidden without activation, keeping place, size and z-order.
  void ShowingChanged() override;

 private:
  TKsCustomItem* FItem;
  TKsItemView* FParentView;
  TKsPopupView* FView = nullptr;
  TKsPopupForm* FForm = nullptr;
};

// The skinned frame of a popup window: no caption, no border icons, neither moved nor
// sized; three pixels of raised edge around the items.
class TKsPopupForm : public TKsCustomForm {
  TCLASS_DECL(TKsPopupForm, TKsCustomForm)
 public:
  explicit TKsPopupForm(TComponent* AOwner);

  // Runs the frame's start as a form file's reading would.
  void Load() { Loaded(); }
  TKsPopupWindow* PopupWindow() const { return FPopupWindow; }
  void SetPopupWindow(TKsPopupWindow* Value) { FPopupWindow = Value; }
  // The windowed control whose caption stays active while the popup is.
  TWinControl* OwnerWindow() const { return FOwnerWindow; }
  void SetOwnerWindow(TWinControl* Value) { FOwnerWindow = Value; }

  void GetClientArea(TRect& R) override;
  void GetMinTrackSize(TPoint& P) override;
  void PaintFrame(TKsBitmap* Bitmap) override;
  // The items, painted into the client area.
  void PaintBackground(TKsBitmap* Bitmap) override;
  void Dispatch(TMessage& Message) override;

 protected:
  // The window, its view and the view's items, when all three exist.
  TKsPopupView* PaintedView() const;

 private:
  TKsPopupWindow* FPopupWindow = nullptr;
  TWinControl* FOwnerWindow = nullptr;
};

// The column view of a popup window's items: its extent sizes the window around the
// frame's client area, and it moves and repaints that window.
class TKsPopupView : public TKsItemView {
  TCLASS_DECL(TKsPopupView, TKsItemView)
 public:
  explicit TKsPopupView(TKsPopupWindow* AWindow);

  TKsPopupWindow* PopupWindow() const { return FPopupWindow; }
  void SetSize(const TPoint& Extent) override;
  void MoveTo(const TPoint& Point) override;
  void Invalidate() override;

 private:
  TKsPopupWindow* FPopupWindow;
};

// The unit's start (the popup-window class of plain items, PopupItem's procedure) and
// end.
void InitKsPopup();
void DoneKsPopup();
