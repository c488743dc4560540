// The kit's menu model: a tree of TKsCustomItem components (caption, check, image,
// shortcut, click event, optional action), the TKsItemView that lays one level of the
// tree out as a row (a menu bar) or a column (a popup), keeps its hot item and runs
// the modal keyboard-and-mouse tracking loop, and the hidden TKsClickHandler form
// that runs an item's click only once the menus have closed.
//
// A click is posted to the click handler with the item's serial number, not its
// address: by the time the message arrives the item may be gone (its menu rebuilt,
// its form closed), and a click for an item that no longer lives is dropped.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/KsBitmap.h"
#include "skin/KsEffects.h"

class TKsCustomItem;
class TKsItemView;
class TKsCustomItemActionLink;

// To the click handler: lParam is the serial number of the item to click.
inline constexpr UINT KM_ITEMCLICK = 0x8BA;
// To a view's control inside a tracking loop: open the view's hot item.
inline constexpr UINT KM_OPENITEM = 0x46F;

// The string-table entry of the error below, and its text when the table lacks it.
inline constexpr UINT SKsItemInsertedId = 65294;
inline constexpr const char* SKsItemInserted = "Toolbar item already inserted";
inline constexpr const char* SKsItemParentSetToSelf =
    "A toolbar item cannot have itself as its parent";
inline constexpr const char* SKsItemParentSetToChild =
    "A toolbar item cannot have an item below it as its parent";
inline constexpr const char* SKsItemParentUnknown =
    "A toolbar item cannot have a %s as its parent";

TCLASS_EXCEPTION(EKsItemError, Exception)

// The font of menu items, from the system's non-client metrics.
extern TFont* MenuFont;

enum TKsFindItemKind { fkByShortCut, fkByHandler };

// Where a component class that holds items (a menu bar, a popup menu) takes an item
// read from a form file, and the class of the items it makes.
using TKsInsertItemProc = void (*)(TComponent* Parent, TKsCustomItem* Item);
using TKsItemClassProc = TClass (*)(TComponent* Parent);
void RegisterItemParent(TClass AClass, TKsInsertItemProc InsertHandler,
                        TKsItemClassProc ItemClassHandler);
void UnregisterItemParent(TClass AClass);
// The entries of the registry now (0 once it is freed).
int ItemParentCount();

// Shows Item's children in a popup window below ParentView and tracks it until it
// closes; true when a popup was shown. The popup windows fill it in; until then no
// popup opens.
using TKsPopupItemProc = bool (*)(TKsCustomItem* Item, TKsItemView* ParentView, const TPoint& At,
                                  const TRect& ItemRect);
extern TKsPopupItemProc KsPopupItemProc;
// The class of the windows that show a plain item's children: set by the popup
// windows' unit when it starts (nullptr before).
extern TClass KsPopupWindowClass;
bool PopupItem(TKsCustomItem* Item, TKsItemView* ParentView, const TPoint& At, const TRect& ItemRect);

// ---------------------------------------------------------------------------------
// Items

class TKsCustomItem : public TComponent {
  TCLASS_DECL(TKsCustomItem, TComponent)
 public:
  explicit TKsCustomItem(TComponent* AOwner);
  // Frees the children last to first, leaves the parent, frees the action link.
  void BeforeDestruction() override;
  ~TKsCustomItem() override;

  // The item's number among the living items: never reused while the module runs.
  DWORD Serial() const { return FSerial; }
  // The living item of a serial number, or nullptr.
  static TKsCustomItem* FindLiving(DWORD Serial);

  // The tree. Insert raises EKsItemError, changing nothing, for an item that has a
  // parent already or is the root a component holds, and for this item or one above it.
  int Count() const { return static_cast<int>(FItems.size()); }
  TKsCustomItem* Items(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }
  int IndexOf(const TKsCustomItem* Item) const;
  TKsCustomItem* Parent() const { return FParent; }
  // The component that holds the root (a menu bar, a popup menu).
  TComponent* ParentComponent() const { return FParentComponent; }
  void AssignParentComponent(TComponent* Value) { FParentComponent = Value; }
  // The topmost item above (itself for a root).
  TKsCustomItem* Root();
  void Add(TKsCustomItem* Item) { Insert(Count(), Item); }
  void Insert(int Index, TKsCustomItem* Item);
  void Delete(int Index);
  void Remove(TKsCustomItem* Item);

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool IsSeparator() const { return FCaption == "-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TKsCustomItemActionLink* ActionLink() const { return FActionLink; }

  // Stored in the item and every item below it.
  bool PopupBlend() const { return FPopupBlend; }
  void SetPopupBlend(bool Value);
  int PopupBlendValue() const { return FPopupBlendValue; }
  void SetPopupBlendValue(int Value);
  bool DropShadow() const { return FDropShadow; }
  void SetDropShadow(bool Value);
  int ShadowWidth() const { return FShadowWidth; }
  void SetShadowWidth(int Value);
  TKsAnimation ShowAnimation() const { return FShowAnimation; }
  void SetShowAnimation(TKsAnimation Value);
  int ShowAnimationTime() const { return FShowAnimationTime; }
  void SetShowAnimationTime(int Value);
  bool AnimateNext() const { return FAnimateNext; }
  void SetAnimateNext(bool Value);
  bool FromMenu() const { return FFromMenu; }
  void SetFromMenu(bool Value);
  TWinControl* OwnerControl() const { return FOwnerControl; }
  void SetOwnerControl(TWinControl* Value);
  TCustomForm* MDIChild() const { return FMDIChild; }
  void SetMDIChild(TCustomForm* Value);
  bool SetForeground() const { return FSetForeground; }
  void SetSetForeground(bool Value);
  // Stored in the item and its direct children.
  Byte BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(Byte Value);
  bool InControlBar() const { return FInControlBar; }
  void SetInControlBar(bool Value);
  // 0 a plain item; 1 close, 2 restore, 3 minimize, 4 the icon of a maximized child.
  Byte MDIButtonKind() const { return FMDIButtonKind; }
  void SetMDIButtonKind(Byte Value) { FMDIButtonKind = Value; }

  // Depth first (itself, then the children in order); nullptr when none matches.
  // fkByShortCut compares ShortCut with Value, fkByHandler the code of an assigned
  // OnClick with Value.
  TKsCustomItem* FindItem(std::uintptr_t Value, TKsFindItemKind Kind);
  // The first direct child whose caption has "&" before the character (any case).
  TKsCustomItem* FindAccelerator(char Key);
  // A key message (WParam the key, LParam its data): clicks the items on the path to
  // the item with that shortcut; true when there is one.
  bool IsShortCut(const TMessage& Message);

  // Posts the click to the click handler (runs it now when there is none): only for
  // an enabled item without children that is not a separator.
  virtual void Click();
  // The click itself: OnClick or the action.
  void RunClick();
  // The item's own OnChange, then its root's with the root as sender; nothing while
  // loading or being destroyed.
  virtual void Changed();
  // The size of the item in a view (Canvas may be nullptr).
  virtual void Measure(TKsBitmap* Canvas, TKsItemView* View, int& Width, int& Height);
  virtual void Paint(TKsBitmap* Canvas, TKsItemView* View, const TRect& R, bool Selected,
                     bool Raised);
  // Asks the action link to update the action.
  virtual void InitiateAction();
  // The class of the window that shows the item's children.
  virtual TClass GetPopupWindowClass() const { return KsPopupWindowClass; }

  // Streaming. SetParentComponent moves the item to an item or to a component of a
  // registered class (nullptr takes it out of its parent); a parent that refuses it, or
  // a component that holds no items, raises EKsItemError and leaves it where it was.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  // Whether the action link leaves the property to the item (form files store it).
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnChange;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Copies the action's properties; with CheckDefaults only into properties that
  // still hold their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 private:
  class TLifted;
  // Raises EKsItemError unless this item may take Item from wherever it is now: Item is
  // no component's root, and neither this item nor one above it (a ring of parents that
  // no walk up the tree would leave).
  void CheckTakes(const TKsCustomItem* Item) const;
  void DoActionChange(TObject* Sender);
  template <class F>
  void ForTree(F Fn);

  DWORD FSerial;
  AnsiString FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  int FHelpContext = 0;
  AnsiString FHint;
  int FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
  TKsCustomItemActionLink* FActionLink = nullptr;
  TKsCustomItem* FParent = nullptr;
  TComponent* FParentComponent = nullptr;
  std::vector<TKsCustomItem*> FItems;
  bool FPopupBlend = false;
  int FPopupBlendValue = 150;
  Byte FMDIButtonKind = 0;
  TCustomForm* FMDIChild = nullptr;
  bool FDropShadow = false;
  int FShowAnimationTime = 0;
  int FShadowWidth = 0;
  TKsAnimation FShowAnimation = kaNone;
  bool FAnimateNext = false;
  bool FFromMenu = false;
  TWinControl* FOwnerControl = nullptr;
  Byte FBiDiMode = 0;
  bool FInControlBar = false;
  bool FSetForeground = false;
};

// The link of an item to its action: a property is linked while the item shows the
// action's value of it.
class TKsCustomItemActionLink : public TActionLink {
  TCLASS_DECL(TKsCustomItemActionLink, TActionLink)
 public:
  explicit TKsCustomItemActionLink(TKsCustomItem* AClient) : TActionLink(AClient), FItem(AClient) {}

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;

  void SetCaption(const AnsiString& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  // The action as a TCustomAction, or nullptr.
  TCustomAction* CustomAction() const;
  TKsCustomItem* FItem;
};

// ---------------------------------------------------------------------------------
// Item views

// The six properties a menu keeps for its item tree's popup windows. The menu stores
// them and hands them to the whole tree when one changes, and again when the tree is
// read or remade (the items only store them, so handing all six again is harmless).
struct TKsPopupLook {
  bool PopupBlend = false;
  int PopupBlendValue = 150;
  bool DropShadow = false;
  int ShowAnimationTime = 300;
  int ShadowWidth = 4;
  TKsAnimation ShowAnimation = kaNone;

  // Hands every value to the whole tree of Items (nothing for nullptr).
  void PassTo(TKsCustomItem* Items) const;
};

class TKsItemView : public TComponent {
  TCLASS_DECL(TKsItemView, TComponent)
 public:
  enum TOrientation : Byte { voColumn, voRow };
  TKsItemView(TComponent* AOwner, TOrientation AOrientation, bool AMenuBarStyle);

  TKsCustomItem* Items() const { return FItems; }
  void SetItems(TKsCustomItem* Value) { FItems = Value; }
  bool MenuBarStyle() const { return FMenuBarStyle; }
  TOrientation Orientation() const { return FOrientation; }
  TControl* HostControl() const { return FHostControl; }
  void SetHostControl(TControl* Value) { FHostControl = Value; }
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* Value) { FControl = Value; }
  TKsCustomItem* HotItem() const { return FHotItem; }
  void SetHotItem(TKsCustomItem* Value) { FHotItem = Value; }
  bool Dropped() const { return FDropped; }
  void SetDropped(bool Value) { FDropped = Value; }
  bool Tracking() const { return FTracking; }
  TKsItemView* ParentView() const { return FParentView; }
  void SetParentView(TKsItemView* Value) { FParentView = Value; }
  TKsItemView* ChildView() const { return FChildView; }
  void SetChildView(TKsItemView* Value) { FChildView = Value; }
  TKsBitmap* Canvas() const { return FCanvas; }
  void SetCanvas(TKsBitmap* Value) { FCanvas = Value; }
  TPoint Origin() const { return FOrigin; }
  void SetOrigin(const TPoint& Value) { FOrigin = Value; }

  // The extent of the laid-out items; empty in the base.
  virtual void SetSize(const TPoint& /*Extent*/) {}
  virtual void MoveTo(const TPoint& /*Point*/) {}
  // Asks the showing window to repaint; empty in the base.
  virtual void Invalidate() {}
  // Every visible item, selected when hot, raised unless tracking.
  virtual void Paint(TKsBitmap* ACanvas);

  // The item's rectangle in the control's client; empty for nil or an invisible item.
  TRect GetItemRect(TKsCustomItem* Item);
  // Measures the visible items and gives their extent to SetSize.
  void UpdateSize();
  // The item under a screen point becomes hot (outside tracking, none when no item is
  // under it).
  void HitTest(const TPoint& ScreenPoint);
  // The next (previous) visible item that is not a separator becomes hot, wrapping;
  // after one pass without one no item is hot.
  void SelectNext();
  void SelectPrevious();
  // Opens the hot item's children when it is enabled and has some.
  bool OpenHotItem();
  // This view and every view above it: nothing hot, nothing dropped, not tracking.
  void CloseAll();
  // The modal loop of a menu bar or popup, under the kit's nested mouse capture.
  bool Track();

 private:
  void Select(int Step);
  // The item's size in this view's style.
  TSize ItemSize(TKsCustomItem* Item);
  // The widest item of a column.
  int ColumnWidth();
  TKsItemView* Outermost();
  // Handles a message peeked or removed by Track; false to leave the loop.
  bool TrackPeeked(const MSG& Msg);
  bool TrackRemoved(MSG& Msg);
  bool TrackKey(MSG& Msg);
  bool TrackMouseMove(const MSG& Msg);
  // Whether a screen point lies on this view's hot item.
  bool OnHotItem(const TPoint& ScreenPoint);
  void PostKey(TWinControl* Target, WPARAM Key);

  TKsCustomItem* FItems = nullptr;
  bool FMenuBarStyle;
  TOrientation FOrientation;
  TControl* FHostControl = nullptr;
  TWinControl* FControl = nullptr;
  TKsCustomItem* FHotItem = nullptr;
  bool FDropped = false;
  bool FTracking = false;
  TKsItemView* FParentView = nullptr;
  TKsItemView* FChildView = nullptr;
  TKsBitmap* FCanvas = nullptr;
  TPoint FOrigin{0, 0};
};

// The hidden form that runs posted clicks. Its window is made on the first click.
class TKsClickHandler : public TForm {
  TCLASS_DECL(TKsClickHandler, TForm)
 public:
  explicit TKsClickHandler(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
};

// The click handler, made on first use (nullptr after the unit has ended).
TKsClickHandler* ClickHandler();

// The icon of a form's window (a child window's button, a system-menu button): the
// form's, else the application's, else the system's default application icon.
HICON WindowIcon(TCustomForm* Form);

// The unit's start (menu font, item class) and end (click handler, registry, font),
// counted: only the first start and the last end work.
void InitKsItems();
void DoneKsItems();
