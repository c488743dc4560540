// Pop-up menus over the system's menus, and keyboard shortcuts.
//
// A TPopupMenu holds a tree of TMenuItem components under its Items. Its Handle is a
// real popup menu (CreatePopupMenu) built from the tree when first asked for, and
// built again after the tree or an item changed. Popup(X, Y) runs the system's menu
// loop at that screen point through TrackPopupMenuProc, which answers the command of
// the chosen item; that item's Click runs after the loop has ended.
//
// A shortcut is a virtual-key code in the low byte with scShift, scCtrl and scAlt for
// the modifiers; its text is the modifiers ("Shift+", "Ctrl+", "Alt+", in that order)
// followed by the key's name ("Ctrl+Enter", "Alt+F4", "Shift+Ctrl+A").
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/Types.h"

class TBitmap;
class TCustomImageList;
class TPopupMenu;

TCLASS_EXCEPTION(EMenuError, Exception)

inline constexpr const char* SMenuIndexError = "Menu index out of range";
inline constexpr const char* SMenuReinserted = "Menu inserted twice";
inline constexpr const char* SMenuNotFound = "Sub-menu is not in menu";
inline constexpr const char* SMenuParentUnknown =
    "A menu item cannot have a %s as its parent";

// ---------------------------------------------------------------------------------
// Shortcuts

using TShortCut = Word;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// The text of a shortcut; "" for none, and for a key without a name.
AnsiString ShortCutToText(TShortCut ShortCut);
// The shortcut a text names (the modifiers in any case and order, each once, then
// one key name as ShortCutToText gives it, any case); 0 when it names none.
TShortCut TextToShortCut(const AnsiString& Text);

// ---------------------------------------------------------------------------------
// Items

// One item of a menu: a command, a separator (the caption "-"), or a sub-menu (an item
// with items of its own). An item frees its items when it is freed, and leaves its
// parent. An invisible item stays in the tree but is left out of the system's menu.
// An item's picture is its own Bitmap when that is not empty, else the image
// ImageIndex of the menu's Images; the bitmap's transparent colour shows the menu's.
class TMenuItem : public TComponent {
  TCLASS_DECL(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  void BeforeDestruction() override;

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  // Shown after the caption in the system menu; the menu does not act on the key.
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool IsLine() const { return FCaption == "-"; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // -1 for none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // Made empty on first read; setting copies the bitmap (null empties it).
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  bool HasBitmap() const;
  // The image list of the menu the item is in, or nullptr.
  TCustomImageList* GetImages() const;

  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EMenuError for an index out of range.
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return FParent; }
  // The place among the parent's items (-1 without a parent).
  int MenuIndex() const;
  int IndexOf(const TMenuItem* Item) const;
  // Add and Insert raise EMenuError for an item that has a parent already (or for
  // this item or one of its parents); Insert also for an index past the end.
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out of this one without freeing it.
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  // Frees every item.
  void Clear();

  // The command id of the item in the system's menu: unique in the module while the
  // item lives.
  UINT Command() const { return FCommand; }
  // Runs OnClick when the item is enabled.
  virtual void Click();

  TNotifyEvent OnClick;

  // Streaming: the parent of an item is its parent item, or the menu of the root. A
  // parent that refuses the item (or a component that is neither) raises EMenuError and
  // leaves it where it was.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 private:
  friend class TPopupMenu;
  // Raises EMenuError unless this item may take Item from wherever it is now: Item is
  // no menu's root, and neither this item nor one of its parents.
  void CheckTakes(const TMenuItem* Item) const;
  // Tells the menu above that its system menu must be built again.
  void Changed();
  void BitmapChanged(TObject* Sender);
  TPopupMenu* Menu() const;

  AnsiString FCaption;
  bool FEnabled = true;
  bool FChecked = false;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
  int FImageIndex = -1;
  TBitmap* FBitmap = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TPopupMenu* FMenu = nullptr;  // on the root item of a menu
  UINT FCommand = 0;
};

// ---------------------------------------------------------------------------------
// Pop-up menus

// Runs the system's menu loop for Menu at a screen point and answers the command of
// the item chosen (0 for none): TrackPopupMenuEx with TPM_RETURNCMD by default. Tests
// replace it to choose an item without a menu on the screen.
using TTrackPopupMenuProc = UINT (*)(HMENU Menu, UINT Flags, int X, int Y, HWND Owner);
extern TTrackPopupMenuProc TrackPopupMenuProc;

class TPopupMenu : public TComponent {
  TCLASS_DECL(TPopupMenu, TComponent)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  void BeforeDestruction() override;

  // The root item: its items are the menu's.
  TMenuItem* Items() const { return FItems; }
  // The images the items' ImageIndex names (free-notified), or nullptr.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The system's popup menu of the items, built now when the items changed since.
  HMENU Handle();

  // Shows the menu with its top-left corner at the screen point and runs the click of
  // the item chosen, if any.
  virtual void Popup(int X, int Y);
  // Where the menu was last shown.
  TPoint PopupPoint() const { return FPopupPoint; }
  // The component the menu is shown for (the control that asked for it), or nullptr.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  // Runs the click of the item of the menu with that command; false when the menu has
  // no such item.
  bool DispatchCommand(UINT Command);
  // The item of the menu with that command, or nullptr.
  TMenuItem* FindItem(UINT Command) const;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TMenuItem;
  void ItemsChanged() { FStale = true; }
  void DestroyHandle();

  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
  HMENU FHandle = nullptr;
  // The pictures of the items in the system's menu, freed with it.
  std::vector<TBitmap*> FItemBitmaps;
  bool FStale = true;
  int FTracking = 0;  // menu loops running for this menu
  TPoint FPopupPoint{0, 0};
  TComponent* FPopupComponent = nullptr;
};

// The Menus unit's start (its classes and published properties) and end (the hidden
// window that owns the menus while they are shown).
void InitMenus();
void DoneMenus();
