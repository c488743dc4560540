#include "classlib/Menus.h"

#include <algorithm>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"

TCLASS_IMPL(EMenuError)
TCLASS_IMPL(TMenuItem)
TCLASS_IMPL(TPopupMenu)

namespace {

// ---------------------------------------------------------------------------------
// Shortcut texts

const char* const ShiftText = "Shift+";
const char* const CtrlText = "Ctrl+";
const char* const AltText = "Alt+";

AnsiString KeyName(Word Key) {
  switch (Key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
  }
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return AnsiString(1, static_cast<char>(Key));
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return "Num " + AnsiString(1, static_cast<char>('0' + Key - VK_NUMPAD0));
  if (Key >= VK_F1 && Key <= VK_F24) return "F" + IntToStr(Key - VK_F1 + 1);
  // Any other key by the name the keyboard layout gives it.
  const UINT Scan = MapVirtualKeyA(Key, MAPVK_VK_TO_VSC);
  if (Scan == 0) return AnsiString();
  char Buffer[64];
  int Length = GetKeyNameTextA(static_cast<LONG>(Scan << 16), Buffer, sizeof(Buffer));
  return Length > 0 ? AnsiString(Buffer, static_cast<std::size_t>(Length)) : AnsiString();
}

bool TakePrefix(AnsiString& Text, const char* Prefix) {
  const std::size_t Length = std::char_traits<char>::length(Prefix);
  if (Text.size() < Length || !SameText(Text.substr(0, Length), Prefix)) return false;
  Text.erase(0, Length);
  return true;
}

// ---------------------------------------------------------------------------------
// Command ids: the item of each id, id - 1 being the index. Freed ids are given out
// again, the lowest first. Ids stay below those of the system commands (0xF000).

constexpr UINT MaxCommand = 0xEFFF;
std::vector<TMenuItem*> CommandItems;

UINT AllocateCommand(TMenuItem* Item) {
  auto Free = std::find(CommandItems.begin(), CommandItems.end(), nullptr);
  if (Free != CommandItems.end()) {
    *Free = Item;
    return static_cast<UINT>(Free - CommandItems.begin()) + 1;
  }
  if (CommandItems.size() >= MaxCommand) throw EMenuError("Too many menu items");
  CommandItems.push_back(Item);
  return static_cast<UINT>(CommandItems.size());
}

void ReleaseCommand(UINT Command) {
  if (Command == 0 || Command > CommandItems.size()) return;
  CommandItems[Command - 1] = nullptr;
  while (!CommandItems.empty() && !CommandItems.back()) CommandItems.pop_back();
}

TMenuItem* CommandItem(UINT Command) {
  return Command != 0 && Command <= CommandItems.size() ? CommandItems[Command - 1] : nullptr;
}

// ---------------------------------------------------------------------------------
// The system's menus

// What a build of a system menu makes besides the menus: the items' pictures, which
// the system menu shows but does not own.
struct TMenuBuild {
  explicit TMenuBuild(TCustomImageList* AImages) : Images(AImages) {}
  TMenuBuild(const TMenuBuild&) = delete;
  TMenuBuild& operator=(const TMenuBuild&) = delete;
  ~TMenuBuild() {
    for (TBitmap* Picture : Pictures) FreeObjectSafely(Picture);
  }

  TCustomImageList* Images;
  std::vector<TBitmap*> Pictures;
};

// The item's picture on the menu's colour, or null when it has none.
HBITMAP ItemPicture(TMenuItem* Item, TMenuBuild& Build) {
  TCustomImageList* Images = Build.Images;
  const bool OwnBitmap = Item->HasBitmap();
  const bool FromList = !OwnBitmap && Images && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count();
  if (!OwnBitmap && !FromList) return nullptr;
  TBitmap* Source = OwnBitmap ? Item->Bitmap() : nullptr;
  const int Width = Source ? Source->Width() : Images->Width();
  const int Height = Source ? Source->Height() : Images->Height();
  TOwned<TBitmap> Picture(NewObject<TBitmap>(Width, Height));
  TCanvas* Canvas = Picture->Canvas();
  Canvas->Brush()->SetColor(clMenu);
  Canvas->FillRect(Rect(0, 0, Width, Height));
  if (Source) {
    TOwned<TBitmap> Glyph(NewObject<TBitmap>());
    Glyph->Assign(Source);
    Glyph->SetTransparent(true);
    Canvas->Draw(0, 0, Glyph.get());
  } else {
    Images->Draw(Canvas, 0, 0, Item->ImageIndex(), Item->Enabled());
  }
  HBITMAP Handle = Picture->Handle();
  Build.Pictures.push_back(Picture.release());
  return Handle;
}

HMENU BuildMenu(const TMenuItem* Parent, TMenuBuild& Build);

void FillMenu(HMENU Menu, const TMenuItem* Parent, TMenuBuild& Build) {
  UINT Position = 0;
  for (int I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (!Item->Visible()) continue;
    // The shortcut's text follows a tab, which the system aligns in a column.
    AnsiString Text = Item->Caption();
    if (Item->ShortCut() != scNone && Item->Count() == 0) {
      AnsiString Key = ShortCutToText(Item->ShortCut());
      if (!Key.empty()) Text += '\t' + Key;
    }
    MENUITEMINFOA Info{};
    Info.cbSize = sizeof(Info);
    if (Item->IsLine()) {
      Info.fMask = MIIM_FTYPE;
      Info.fType = MFT_SEPARATOR;
    } else {
      Info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING;
      Info.wID = Item->Command();
      Info.fState = (Item->Enabled() ? MFS_ENABLED : MFS_GRAYED) | (Item->Checked() ? MFS_CHECKED : 0);
      Info.dwTypeData = Text.data();
      if (HBITMAP Picture = ItemPicture(Item, Build)) {
        Info.fMask |= MIIM_BITMAP;
        Info.hbmpItem = Picture;
      }
      if (Item->Count() > 0) {
        Info.fMask |= MIIM_SUBMENU;
        Info.hSubMenu = BuildMenu(Item, Build);
      }
    }
    if (!InsertMenuItemA(Menu, Position, TRUE, &Info)) {
      const DWORD Error = GetLastError();
      if (Info.hSubMenu) DestroyMenu(Info.hSubMenu);
      SetLastError(Error);
      Win32Check(false);
    }
    ++Position;
  }
}

HMENU BuildMenu(const TMenuItem* Parent, TMenuBuild& Build) {
  HMENU Menu = CreatePopupMenu();
  Win32Check(Menu != nullptr);
  auto Undo = ScopeExit([&] { DestroyMenu(Menu); });
  FillMenu(Menu, Parent, Build);
  Undo.Dismiss();
  return Menu;
}

UINT DefaultTrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, HWND Owner) {
  return static_cast<UINT>(TrackPopupMenuEx(Menu, Flags, X, Y, Owner, nullptr));
}

// The hidden window that owns the menus while they are shown; made on first use.
HWND PopupWindowHandle = nullptr;

HWND PopupWindow() {
  if (!PopupWindowHandle) PopupWindowHandle = AllocateHWnd(TWndMethod());
  return PopupWindowHandle;
}

}  // namespace

TTrackPopupMenuProc TrackPopupMenuProc = DefaultTrackPopupMenu;

// ---------------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if ((Key & 0xFF00) != 0) return scNone;
  TShortCut Result = Key;
  if (Shift.Contains(ssShift)) Result |= scShift;
  if (Shift.Contains(ssCtrl)) Result |= scCtrl;
  if (Shift.Contains(ssAlt)) Result |= scAlt;
  return Result;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = {};
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

AnsiString ShortCutToText(TShortCut ShortCut) {
  AnsiString Name = KeyName(ShortCut & 0xFF);
  if (Name.empty()) return AnsiString();
  AnsiString Result;
  if (ShortCut & scShift) Result += ShiftText;
  if (ShortCut & scCtrl) Result += CtrlText;
  if (ShortCut & scAlt) Result += AltText;
  return Result + Name;
}

TShortCut TextToShortCut(const AnsiString& Text) {
  AnsiString Rest = Text;
  TShortCut Modifiers = 0;
  for (bool Found = true; Found;) {
    Found = false;
    const std::pair<const char*, TShortCut> Prefixes[] = {
        {ShiftText, scShift}, {CtrlText, scCtrl}, {AltText, scAlt}};
    for (const auto& [Prefix, Bit] : Prefixes) {
      if (!(Modifiers & Bit) && TakePrefix(Rest, Prefix)) {
        Modifiers |= Bit;
        Found = true;
      }
    }
  }
  if (Rest.empty()) return scNone;
  for (Word Key = 1; Key <= 0xFF; ++Key) {
    const AnsiString Name = KeyName(Key);
    if (!Name.empty() && SameText(Name, Rest)) return static_cast<TShortCut>(Key | Modifiers);
  }
  return scNone;
}

// ---------------------------------------------------------------------------------
// Items

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) { FCommand = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
  ReleaseCommand(FCommand);
  FreeAndNil(FBitmap);
}

void TMenuItem::BeforeDestruction() {
  Destroying();
  if (FParent) FParent->Remove(this);
  Clear();
  inherited::BeforeDestruction();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed();
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) {
    FBitmap = NewObject<TBitmap>();
    FBitmap->OnChange = TNotifyEvent::Bind<&TMenuItem::BitmapChanged>(this);
  }
  return FBitmap;
}

void TMenuItem::SetBitmap(TBitmap* Value) { Bitmap()->Assign(Value); }

bool TMenuItem::HasBitmap() const { return FBitmap && !FBitmap->Empty(); }

void TMenuItem::BitmapChanged(TObject* /*Sender*/) { Changed(); }

TPopupMenu* TMenuItem::Menu() const {
  const TMenuItem* Root = this;
  while (Root->FParent) Root = Root->FParent;
  return Root->FMenu;
}

TCustomImageList* TMenuItem::GetImages() const {
  TPopupMenu* Owner = Menu();
  return Owner ? Owner->Images() : nullptr;
}

void TMenuItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed();
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  Changed();
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Changed();
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(SMenuIndexError);
  return FItems[static_cast<std::size_t>(Index)];
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto Found = std::find(FItems.begin(), FItems.end(), Item);
  return Found == FItems.end() ? -1 : static_cast<int>(Found - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::CheckTakes(const TMenuItem* Item) const {
  if (Item->FMenu) throw EMenuError(SMenuReinserted);
  // An item cannot hold itself or one of its parents.
  for (const TMenuItem* Above = this; Above; Above = Above->FParent)
    if (Above == Item) throw EMenuError(SMenuReinserted);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError(SMenuReinserted);
  CheckTakes(Item);
  if (Index < 0 || Index > Count()) throw EMenuError(SMenuIndexError);
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  Changed();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* Item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  Item->FParent = nullptr;
  Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int Index = IndexOf(Item);
  if (Index < 0) throw EMenuError(SMenuNotFound);
  Delete(Index);
}

void TMenuItem::Clear() {
  // Each item leaves this one as it is freed.
  while (!FItems.empty()) FItems.back()->Free();
}

void TMenuItem::Click() {
  if (FEnabled && OnClick.Assigned()) OnClick(this);
}

void TMenuItem::Changed() {
  if (TPopupMenu* Owner = Menu()) Owner->ItemsChanged();
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  TMenuItem* NewParent = ObjectAs<TMenuItem>(Value);
  if (auto* Menu = ObjectAs<TPopupMenu>(Value)) NewParent = Menu->Items();
  if (Value && !NewParent) throw EMenuError(SMenuParentUnknown, {Value->ClassName()});
  // The item leaves its parent only once the new one is known to take it.
  if (NewParent) {
    NewParent->CheckTakes(this);
    NewParent->FItems.reserve(NewParent->FItems.size() + 1);
  }
  if (FParent) FParent->Remove(this);
  if (NewParent) NewParent->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TMenuItem* Item : FItems)
    if (Item->Owner() == Root) Proc(Item);
}

// ---------------------------------------------------------------------------------
// Pop-up menus

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(NewObject<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::BeforeDestruction() {
  Destroying();
  DestroyHandle();
  if (FItems) {
    TMenuItem* Root = FItems;
    FItems = nullptr;
    Root->FMenu = nullptr;
    Root->Free();
  }
  inherited::BeforeDestruction();
}

void TPopupMenu::DestroyHandle() {
  if (FHandle) DestroyMenu(FHandle);
  FHandle = nullptr;
  FStale = true;
  for (TBitmap* Picture : FItemBitmaps) FreeObjectSafely(Picture);
  FItemBitmaps.clear();
}

HMENU TPopupMenu::Handle() {
  // The menu being shown stays as it is until its loop ends.
  if (FHandle && (!FStale || FTracking > 0)) return FHandle;
  TMenuBuild Build(FImages);
  HMENU Menu = BuildMenu(FItems, Build);
  DestroyHandle();
  FHandle = Menu;
  FItemBitmaps = std::move(Build.Pictures);
  Build.Pictures.clear();
  FStale = false;
  return FHandle;
}

void TPopupMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  ItemsChanged();
}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = Point(X, Y);
  HMENU Menu = Handle();
  HWND Owner = PopupWindow();
  UINT Command;
  {
    ++FTracking;
    auto EndTracking = ScopeExit([&] { --FTracking; });
    Command = TrackPopupMenuProc(Menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y,
                                 Owner);
  }
  if (Command != 0) DispatchCommand(Command);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

TMenuItem* TPopupMenu::FindItem(UINT Command) const {
  TMenuItem* Item = CommandItem(Command);
  if (!Item || !FItems) return nullptr;
  const TMenuItem* Root = Item;
  while (Root->Parent()) Root = Root->Parent();
  return Root == FItems && Item != FItems ? Item : nullptr;
}

bool TPopupMenu::DispatchCommand(UINT Command) {
  TMenuItem* Item = FindItem(Command);
  if (!Item) return false;
  Item->Click();
  return true;
}

void TPopupMenu::GetChildren(TGetChildProc Proc, TComponent* Root) {
  if (FItems) FItems->GetChildren(Proc, Root);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    ItemsChanged();
  }
}

// ---------------------------------------------------------------------------------

void InitMenus() {
  RegisterClass(&TMenuItem::StaticClass());
  RegisterClass(&TPopupMenu::StaticClass());
  TPublish<TMenuItem> P;
  P.Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  P.Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
  P.Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
  P.Prop("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut);
  P.Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
  P.Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  P.Prop("OnClick", &TMenuItem::OnClick);
}

void DoneMenus() {
  if (PopupWindowHandle) {
    DeallocateHWnd(PopupWindowHandle);
    PopupWindowHandle = nullptr;
  }
  UnRegisterPublished(&TMenuItem::StaticClass());
  UnRegisterClass(&TPopupMenu::StaticClass());
  UnRegisterClass(&TMenuItem::StaticClass());
}
