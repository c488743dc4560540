#include "skin/KsItems.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <map>
#include <utility>

#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(EKsItemError)
TCLASS_IMPL(TKsCustomItem)
TCLASS_IMPL(TKsCustomItemActionLink)
TCLASS_IMPL(TKsItemView)
TCLASS_IMPL(TKsClickHandler)

TFont* MenuFont = nullptr;
TKsPopupItemProc KsPopupItemProc = nullptr;
TClass KsPopupWindowClass = nullptr;

namespace {

int StartCount = 0;
// The system's menu item size, from the non-client metrics.
int MenuWidth = 0;
int MenuHeight = 0;
TKsClickHandler* TheClickHandler = nullptr;

// The living items by serial number.
std::map<DWORD, TKsCustomItem*>& LivingItems() {
  static std::map<DWORD, TKsCustomItem*> Items;
  return Items;
}
DWORD NextSerial = 1;

struct TItemParentEntry {
  TClass Class;
  TKsInsertItemProc Insert;
  TKsItemClassProc ItemClass;
  int References;
};
std::vector<TItemParentEntry>* ItemParents = nullptr;

constexpr UINT NonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);

// The system colours the default painting uses.
constexpr TColor clKsMenu = static_cast<TColor>(0x80000004);
constexpr TColor clKsMenuText = static_cast<TColor>(0x80000007);
constexpr TColor clKsHighlight = static_cast<TColor>(0x8000000D);
constexpr TColor clKsHighlightText = static_cast<TColor>(0x8000000E);
constexpr TColor clKsBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clKsBtnShadow = static_cast<TColor>(0x80000010);
constexpr TColor clKsBtnHighlight = static_cast<TColor>(0x80000014);

TKsColor Ks(TColor C) { return ColorToKsColor(C, 255); }

AnsiString ItemInsertedText() {
  char Buffer[256];
  const int Length = LoadStringA(HInstance, SKsItemInsertedId, Buffer, sizeof(Buffer));
  return Length > 0 ? AnsiString(Buffer, static_cast<std::size_t>(Length)) : AnsiString(SKsItemInserted);
}

void MakeMenuFont() {
  MenuFont = NewObject<TFont>();
  NONCLIENTMETRICSA Metrics;
  std::memset(&Metrics, 0, sizeof(Metrics));
  Metrics.cbSize = NonClientMetricsSize;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NonClientMetricsSize, &Metrics, 0)) return;
  const LOGFONTA& Log = Metrics.lfMenuFont;
  MenuFont->SetName(Log.lfFaceName);
  MenuFont->SetHeight(Log.lfHeight);
  MenuFont->SetCharset(Log.lfCharSet);
  TFontStyles Style;
  if (Log.lfWeight >= FW_BOLD) Style.Include(fsBold);
  if (Log.lfItalic) Style.Include(fsItalic);
  MenuFont->SetStyle(Style);
  MenuWidth = Metrics.iMenuWidth;
  MenuHeight = Metrics.iMenuHeight;
}

bool ShiftHeld(int Key) { return (GetKeyStateProc(Key) & 0x8000) != 0; }

}  // namespace

// ---------------------------------------------------------------------------------
// The registry of item parents

void RegisterItemParent(TClass AClass, TKsInsertItemProc InsertHandler,
                        TKsItemClassProc ItemClassHandler) {
  if (!ItemParents) ItemParents = new std::vector<TItemParentEntry>();
  for (TItemParentEntry& Entry : *ItemParents)
    if (Entry.Class == AClass) {
      Entry.Insert = InsertHandler;
      Entry.ItemClass = ItemClassHandler;
      ++Entry.References;
      return;
    }
  ItemParents->push_back(TItemParentEntry{AClass, InsertHandler, ItemClassHandler, 1});
}

void UnregisterItemParent(TClass AClass) {
  if (!ItemParents) return;
  for (auto At = ItemParents->begin(); At != ItemParents->end(); ++At)
    if (At->Class == AClass) {
      if (--At->References == 0) ItemParents->erase(At);
      break;
    }
  if (ItemParents->empty()) {
    delete ItemParents;
    ItemParents = nullptr;
  }
}

int ItemParentCount() { return ItemParents ? static_cast<int>(ItemParents->size()) : 0; }

bool PopupItem(TKsCustomItem* Item, TKsItemView* ParentView, const TPoint& At, const TRect& ItemRect) {
  return KsPopupItemProc && KsPopupItemProc(Item, ParentView, At, ItemRect);
}

// ---------------------------------------------------------------------------------
// TKsCustomItem: life and tree

TKsCustomItem::TKsCustomItem(TComponent* AOwner) : TComponent(AOwner), FSerial(NextSerial++) {
  LivingItems()[FSerial] = this;
}

void TKsCustomItem::BeforeDestruction() {
  Destroying();
  while (!FItems.empty()) FItems.back()->Free();
  if (FParent) FParent->Remove(this);
  FreeAndNil(FActionLink);
  TComponent::BeforeDestruction();
}

TKsCustomItem::~TKsCustomItem() { LivingItems().erase(FSerial); }

TKsCustomItem* TKsCustomItem::FindLiving(DWORD Serial) {
  auto At = LivingItems().find(Serial);
  return At == LivingItems().end() ? nullptr : At->second;
}

int TKsCustomItem::IndexOf(const TKsCustomItem* Item) const {
  auto At = std::find(FItems.begin(), FItems.end(), Item);
  return At == FItems.end() ? -1 : static_cast<int>(At - FItems.begin());
}

TKsCustomItem* TKsCustomItem::Root() {
  TKsCustomItem* Item = this;
  while (Item->FParent) Item = Item->FParent;
  return Item;
}

void TKsCustomItem::CheckTakes(const TKsCustomItem* Item) const {
  if (Item->FParentComponent) throw EKsItemError(ItemInsertedText());
  if (Item == this) throw EKsItemError(SKsItemParentSetToSelf);
  for (const TKsCustomItem* Above = FParent; Above; Above = Above->FParent)
    if (Above == Item) throw EKsItemError(SKsItemParentSetToChild);
}

void TKsCustomItem::Insert(int Index, TKsCustomItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EKsItemError(ItemInsertedText());
  CheckTakes(Item);
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  Changed();
}

void TKsCustomItem::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  TKsCustomItem* Item = FItems[static_cast<std::size_t>(Index)];
  Item->FParent = nullptr;
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TKsCustomItem::Remove(TKsCustomItem* Item) {
  const int Index = IndexOf(Item);
  if (Index >= 0) Delete(Index);
}

// ---------------------------------------------------------------------------------
// Properties

void TKsCustomItem::SetCaption(const AnsiString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed();
}

void TKsCustomItem::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  Changed();
}

void TKsCustomItem::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Changed();
}

void TKsCustomItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Changed();
}

void TKsCustomItem::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Changed();
}

void TKsCustomItem::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed();
}

template <class F>
void TKsCustomItem::ForTree(F Fn) {
  Fn(this);
  for (TKsCustomItem* Item : FItems) Item->ForTree(Fn);
}

void TKsCustomItem::SetPopupBlend(bool Value) {
  ForTree([Value](TKsCustomItem* I) { I->FPopupBlend = Value; });
}
void TKsCustomItem::SetPopupBlendValue(int Value) {
  ForTree([Value](TKsCustomItem* I) { I->FPopupBlendValue = Value; });
}
void TKsCustomItem::SetDropShadow(bool Value) {
  ForTree([Value](TKsCustomItem* I) { I->FDropShadow = Value; });
}
void TKsCustomItem::SetShadowWidth(int Value) {
  ForTree([Value](TKsCustomItem* I) { I->FShadowWidth = Value; });
}
void TKsCustomItem::SetShowAnimation(TKsAnimation Value) {
  ForTree([Value](TKsCustomItem* I) { I->FShowAnimation = Value; });
}
void TKsCustomItem::SetShowAnimationTime(int Value) {
  ForTree([Value](TKsCustomItem* I) { I->FShowAnimationTime = Value; });
}
void TKsPopupLook::PassTo(TKsCustomItem* Items) const {
  if (!Items) return;
  Items->SetPopupBlend(PopupBlend);
  Items->SetPopupBlendValue(PopupBlendValue);
  Items->SetDropShadow(DropShadow);
  Items->SetShowAnimationTime(ShowAnimationTime);
  Items->SetShadowWidth(ShadowWidth);
  Items->SetShowAnimation(ShowAnimation);
}
void TKsCustomItem::SetAnimateNext(bool Value) {
  ForTree([Value](TKsCustomItem* I) { I->FAnimateNext = Value; });
}
void TKsCustomItem::SetFromMenu(bool Value) {
  ForTree([Value](TKsCustomItem* I) { I->FFromMenu = Value; });
}
void TKsCustomItem::SetOwnerControl(TWinControl* Value) {
  ForTree([Value](TKsCustomItem* I) { I->FOwnerControl = Value; });
}
void TKsCustomItem::SetMDIChild(TCustomForm* Value) {
  ForTree([Value](TKsCustomItem* I) { I->FMDIChild = Value; });
}
void TKsCustomItem::SetSetForeground(bool Value) {
  ForTree([Value](TKsCustomItem* I) { I->FSetForeground = Value; });
}

void TKsCustomItem::SetBiDiMode(Byte Value) {
  FBiDiMode = Value;
  for (TKsCustomItem* Item : FItems) Item->FBiDiMode = Value;
}

void TKsCustomItem::SetInControlBar(bool Value) {
  FInControlBar = Value;
  for (TKsCustomItem* Item : FItems) Item->FInControlBar = Value;
}

// ---------------------------------------------------------------------------------
// Actions

TBasicAction* TKsCustomItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TKsCustomItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    FreeAndNil(FActionLink);
    return;
  }
  if (!FActionLink) FActionLink = NewObject<TKsCustomItemActionLink>(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = TNotifyEvent::Bind<&TKsCustomItem::DoActionChange>(this);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TKsCustomItem::DoActionChange(TObject* Sender) {
  if (FActionLink && Sender == FActionLink->Action()) ActionChange(Sender, false);
}

void TKsCustomItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  if (!Sender || !Sender->Is<TCustomAction>()) return;
  auto* A = static_cast<TCustomAction*>(Sender);
  if (!CheckDefaults || FCaption.empty()) SetCaption(A->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(A->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(A->Enabled());
  if (!CheckDefaults || FHelpContext == 0) SetHelpContext(A->HelpContext());
  if (!CheckDefaults || FHint.empty()) SetHint(A->Hint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(A->ImageIndex());
  if (!CheckDefaults || FShortCut == scNone) SetShortCut(A->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(A->Visible());
  if (!CheckDefaults || !OnClick.Assigned()) OnClick = A->OnExecute;
}

void TKsCustomItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TKsCustomItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* A = Action()) ActionChange(A, true);
}

void TKsCustomItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

bool TKsCustomItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TKsCustomItem::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TKsCustomItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TKsCustomItem::IsHelpContextStored() const {
  return !FActionLink || !FActionLink->IsHelpContextLinked();
}
bool TKsCustomItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TKsCustomItem::IsImageIndexStored() const {
  return !FActionLink || !FActionLink->IsImageIndexLinked();
}
bool TKsCustomItem::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TKsCustomItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TKsCustomItem::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

// ---------------------------------------------------------------------------------
// Change, click, search

void TKsCustomItem::Changed() {
  const TComponentState State = ComponentState();
  if (State.Contains(csLoading) || State.Contains(csDestroying)) return;
  if (OnChange.Assigned()) OnChange(this);
  TKsCustomItem* Top = Root();
  if (Top->OnChange.Assigned()) Top->OnChange(Top);
}

void TKsCustomItem::Click() {
  if (IsSeparator() || !FItems.empty() || !FEnabled) return;
  if (TKsClickHandler* Handler = ClickHandler()) {
    PostMessageA(Handler->Handle(), KM_ITEMCLICK, 0, static_cast<LPARAM>(FSerial));
    return;
  }
  RunClick();
}

void TKsCustomItem::RunClick() {
  TBasicAction* A = Action();
  if (OnClick.Assigned() && A && !(A->OnExecute == OnClick))
    OnClick(this);
  else if (!ComponentState().Contains(csDesigning) && FActionLink)
    FActionLink->Execute(this);
  else if (OnClick.Assigned())
    OnClick(this);
}

TKsCustomItem* TKsCustomItem::FindItem(std::uintptr_t Value, TKsFindItemKind Kind) {
  switch (Kind) {
    case fkByShortCut:
      if (FShortCut == Value) return this;
      break;
    case fkByHandler:
      if (OnClick.Assigned() && reinterpret_cast<std::uintptr_t>(OnClick.Method().Code) == Value)
        return this;
      break;
  }
  for (TKsCustomItem* Item : FItems)
    if (TKsCustomItem* Found = Item->FindItem(Value, Kind)) return Found;
  return nullptr;
}

TKsCustomItem* TKsCustomItem::FindAccelerator(char Key) {
  const char Wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(Key)));
  for (TKsCustomItem* Item : FItems) {
    const AnsiString& C = Item->FCaption;
    for (std::size_t I = 0; I + 1 < C.size(); ++I) {
      if (C[I] != '&') continue;
      if (std::toupper(static_cast<unsigned char>(C[I + 1])) == static_cast<unsigned char>(Wanted))
        return Item;
      ++I;  // "&&" is a plain ampersand
    }
  }
  return nullptr;
}

bool TKsCustomItem::IsShortCut(const TMessage& Message) {
  TShortCut Wanted = static_cast<TShortCut>(Message.WParam & 0xFF);
  if (ShiftHeld(VK_SHIFT)) Wanted |= scShift;
  if (ShiftHeld(VK_CONTROL)) Wanted |= scCtrl;
  if (Message.LParam & 0x20000000) Wanted |= scAlt;
  if (Wanted == scNone) return false;
  TKsCustomItem* Found = FindItem(Wanted, fkByShortCut);
  if (!Found) return false;
  // Items are followed by serial number: a click may free any of them.
  const DWORD RootSerial = FSerial;
  for (;;) {
    const DWORD FoundSerial = Found->FSerial;
    std::vector<DWORD> Path;
    for (TKsCustomItem* Item = Found; Item; Item = Item->FParent) Path.insert(Path.begin(), Item->FSerial);
    bool Restart = false;
    for (DWORD Serial : Path) {
      TKsCustomItem* Item = FindLiving(Serial);
      if (!Item || !Item->FEnabled) break;
      Item->Click();
      TKsCustomItem* Still = FindLiving(FoundSerial);
      if (!Still || Still->FShortCut != Wanted) {
        Restart = true;
        break;
      }
    }
    if (!Restart) break;
    TKsCustomItem* Self = FindLiving(RootSerial);
    Found = Self ? Self->FindItem(Wanted, fkByShortCut) : nullptr;
    if (!Found) break;
  }
  return true;
}

// ---------------------------------------------------------------------------------
// Streaming

TComponent* TKsCustomItem::GetParentComponent() const {
  if (!FParent) return nullptr;
  if (!FParent->FParent && FParent->FParentComponent) return FParent->FParentComponent;
  return FParent;
}

// An item taken out of its parent's list without a word to anyone, while a parent whose
// mind is not known beforehand (a registered class's insert handler) decides. Unless
// Keep is called, an item that no parent took goes back to its place, with nothing ever
// reported: the list keeps its room, so that cannot fail. Keep reports the loss to the
// old parent.
class TKsCustomItem::TLifted {
 public:
  explicit TLifted(TKsCustomItem* Item) : FItem(Item), FParent(Item->FParent) {
    if (!FParent) return;
    FIndex = FParent->IndexOf(Item);
    FParent->FItems.erase(FParent->FItems.begin() + FIndex);
    Item->FParent = nullptr;
  }
  TLifted(const TLifted&) = delete;
  TLifted& operator=(const TLifted&) = delete;
  ~TLifted() {
    if (!FParent || FItem->FParent) return;
    FParent->FItems.insert(FParent->FItems.begin() + FIndex, FItem);
    FItem->FParent = FParent;
  }
  void Keep() {
    TKsCustomItem* Old = std::exchange(FParent, nullptr);
    if (Old) Old->Changed();
  }

 private:
  TKsCustomItem* FItem;
  TKsCustomItem* FParent;
  int FIndex = 0;
};

void TKsCustomItem::SetParentComponent(TComponent* Value) {
  if (!Value) {
    if (FParent) FParent->Remove(this);
    return;
  }
  // The item leaves its parent only once the new one is known to take it.
  if (auto* Item = ObjectAs<TKsCustomItem>(Value)) {
    Item->CheckTakes(this);
    Item->FItems.reserve(Item->FItems.size() + 1);
    if (FParent) FParent->Remove(this);
    Item->Add(this);
    return;
  }
  // The newest entry of the component's class decides.
  TKsInsertItemProc Insert = nullptr;
  if (ItemParents) {
    auto At = std::find_if(ItemParents->rbegin(), ItemParents->rend(),
                           [Value](const TItemParentEntry& Entry) {
                             return Value->InheritsFrom(Entry.Class);
                           });
    if (At != ItemParents->rend()) Insert = At->Insert;
  }
  if (!Insert) throw EKsItemError(SKsItemParentUnknown, {Value->ClassName()});
  TLifted Lifted(this);
  Insert(Value, this);
  Lifted.Keep();
}

void TKsCustomItem::GetChildren(TGetChildProc Proc, TComponent* /*Root*/) {
  for (TKsCustomItem* Item : FItems) Proc(Item);
}

// ---------------------------------------------------------------------------------
// Measuring and painting

void TKsCustomItem::Measure(TKsBitmap* Canvas, TKsItemView* View, int& Width, int& Height) {
  Width = std::max(MenuWidth, 20);
  Height = std::max(MenuHeight, 20);
  if (!Canvas) return;
  Canvas->SetFont(MenuFont);
  const bool BarStyle = View && View->MenuBarStyle();
  if (BarStyle) {
    Width = Canvas->TextWidth(FCaption) + 12;
    if (FMDIButtonKind != 0) Width = Height;
  } else {
    Width = Canvas->TextWidth(FCaption) + 58;
    if (FShortCut != scNone) Width += Canvas->TextWidth(ShortCutToText(FShortCut));
    if (IsSeparator()) Height = 15;
  }
}

namespace {

void RaisedEdge(TKsBitmap* C, const TRect& R) { C->DrawEdge(R, Ks(clKsBtnHighlight), Ks(clKsBtnShadow)); }
void SunkenEdge(TKsBitmap* C, const TRect& R) { C->DrawEdge(R, Ks(clKsBtnShadow), Ks(clKsBtnHighlight)); }

// An icon at the small-icon size (the caption-button size where that is 0), centred in R.
void DrawIconIn(TKsBitmap* Canvas, const TRect& R, HICON Icon) {
  int W = GetSystemMetrics(SM_CXSMICON);
  int H = GetSystemMetrics(SM_CYSMICON);
  if (W == 0 || H == 0) {
    W = GetSystemMetrics(SM_CXSIZE);
    H = GetSystemMetrics(SM_CYSIZE);
  }
  const int X = R.left + (R.right - R.left - W) / 2;
  const int Y = R.top + (R.bottom - R.top - H) / 2;
  DrawIconEx(Canvas->DC(), X, Y, Icon, W, H, 0, nullptr, DI_NORMAL);
}

// Text drawn embossed (disabled and not selected) or in one colour.
void DrawItemText(TKsBitmap* Canvas, const AnsiString& Text, const TRect& R, UINT Flags, bool Enabled,
                  bool Selected, TColor TextColor) {
  if (!Enabled) {
    if (!Selected) {
      Canvas->Font()->SetColor(clKsBtnHighlight);
      Canvas->DrawText(Text, TRect{R.left + 1, R.top + 1, R.right + 1, R.bottom + 1}, Flags);
    }
    Canvas->Font()->SetColor(clKsBtnShadow);
  } else {
    Canvas->Font()->SetColor(TextColor);
  }
  Canvas->DrawText(Text, R, Flags);
}

}  // namespace

void TKsCustomItem::Paint(TKsBitmap* Canvas, TKsItemView* View, const TRect& R, bool Selected,
                          bool Raised) {
  if (!Canvas) return;
  Canvas->Font()->SetName("Tahome");
  Canvas->Font()->SetSize(8);
  const bool BarStyle = View && View->MenuBarStyle();
  if (BarStyle) {
    Canvas->FillRect(R, Ks(clKsMenu));
    if (FMDIButtonKind >= 1 && FMDIButtonKind <= 3) {
      UINT State = 0x10;
      if (Selected) State |= Raised ? 0x4000 : 0x200;
      static const UINT Kinds[] = {0, DFCS_CAPTIONCLOSE, DFCS_CAPTIONRESTORE, DFCS_CAPTIONMIN};
      RECT B{R.left + 2, R.top + 2, R.right - 2 + 1, R.bottom - 2 - 1};
      DrawFrameControl(Canvas->DC(), &B, DFC_CAPTION, Kinds[FMDIButtonKind] | State);
      return;
    }
    if (FMDIButtonKind == 4) {
      DrawIconIn(Canvas, TRect{R.left + 1, R.top + 1, R.right - 1, R.bottom - 1}, WindowIcon(FMDIChild));
      if (Selected) Raised ? RaisedEdge(Canvas, R) : SunkenEdge(Canvas, R);
      return;
    }
    if (Selected) Raised ? RaisedEdge(Canvas, R) : SunkenEdge(Canvas, R);
    DrawItemText(Canvas, FCaption, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE, FEnabled, Selected,
                 clKsMenuText);
    return;
  }

  // A popup row.
  TColor TextColor = clKsMenuText;
  TColor Background = clKsMenu;
  if (IsSeparator()) {
    Canvas->FillRect(R, Ks(clKsMenu));
    TRect Line{R.left + 2, R.top + 7, R.right - 2, R.top + 9};
    SunkenEdge(Canvas, Line);
  } else if (Selected) {
    Background = clKsHighlight;
    TextColor = clKsHighlightText;
    Canvas->FillRect(R, Ks(Background));
  } else {
    Canvas->FillRect(R, Ks(Background));
  }

  TCustomImageList* List = FImages ? FImages : Root()->FImages;
  const bool HasImage = List && FImageIndex >= 0 && FImageIndex < List->Count();
  if (FChecked || HasImage) {
    const int Side = R.bottom - R.top;
    const TRect Box{R.left, R.top, R.left + Side, R.bottom};
    Canvas->FillRect(Box, Ks(clKsBtnFace));
    if (!FChecked) {
      if (Selected) RaisedEdge(Canvas, Box);
    } else {
      if (!Selected) Canvas->FillHalftone(Box, Ks(clKsBtnFace), KsColorWhite);
      SunkenEdge(Canvas, Box);
    }
    const int CX = (Box.left + Box.right) / 2;
    const int CY = (Box.top + Box.bottom) / 2;
    if (HasImage) {
      ImageList_Draw(List->Handle(), FImageIndex, Canvas->DC(), CX - List->Width() / 2,
                     CY - List->Height() / 2, ILD_TRANSPARENT);
      if (!FEnabled) {
        TRect Image{CX - List->Width() / 2, CY - List->Height() / 2, CX + (List->Width() + 1) / 2,
                    CY + (List->Height() + 1) / 2};
        Canvas->FillHalftone(Image, Ks(clKsBtnFace), Ks(clKsBtnFace));
      }
    } else if (FChecked) {
      static const TPoint Black[] = {{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}};
      static const TPoint White[] = {{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}};
      const int OX = CX - 2, OY = CY + 1;
      Canvas->MoveTo(OX + Black[0].x, OY + Black[0].y);
      for (std::size_t I = 1; I < std::size(Black); ++I)
        Canvas->LineTo(OX + Black[I].x, OY + Black[I].y, 0xFF000000);
      Canvas->MoveTo(OX + White[0].x, OY + White[0].y);
      for (std::size_t I = 1; I < std::size(White); ++I)
        Canvas->LineTo(OX + White[I].x, OY + White[I].y, KsColorWhite);
    }
  }

  UINT Flags = DT_SINGLELINE | DT_VCENTER;
  UINT RightFlags = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
  if (FBiDiMode == 1) {
    Flags |= DT_RIGHT | DT_RTLREADING;
    RightFlags = (RightFlags & ~DT_RIGHT) | DT_RTLREADING;
  } else if (FBiDiMode != 0) {
    Flags |= DT_RTLREADING;
    RightFlags |= DT_RTLREADING;
  }
  if (!IsSeparator()) {
    DrawItemText(Canvas, FCaption, TRect{R.left + 26, R.top, R.right, R.bottom}, Flags, FEnabled,
                 Selected, TextColor);
    if (FShortCut != scNone)
      DrawItemText(Canvas, ShortCutToText(FShortCut), TRect{R.left + 26, R.top, R.right - 16, R.bottom},
                   RightFlags, FEnabled, Selected, TextColor);
  }

  if (!FItems.empty()) {
    RECT Arrow{R.right - 2 - 16, R.top, R.right - 2, R.bottom};
    DrawFrameControl(Canvas->DC(), &Arrow, DFC_MENU, DFCS_MENUARROW);
    GdiFlush();
    const TKsColor Back = Ks(Background);
    const TKsColor Ink = ColorToKsColor(Canvas->Font()->Color(), 255);
    for (int Y = std::max<int>(Arrow.top, 0); Y < std::min<int>(Arrow.bottom, Canvas->Height()); ++Y)
      for (int X = std::max<int>(Arrow.left, 0); X < std::min<int>(Arrow.right, Canvas->Width()); ++X)
        Canvas->SetPixel(X, Y, (Canvas->GetPixel(X, Y) & 0x00FFFFFF) == 0x00FFFFFF ? Back : Ink);
  }
}

// ---------------------------------------------------------------------------------
// TKsCustomItemActionLink

TCustomAction* TKsCustomItemActionLink::CustomAction() const {
  TBasicAction* A = Action();
  return A && A->Is<TCustomAction>() ? static_cast<TCustomAction*>(A) : nullptr;
}

bool TKsCustomItemActionLink::IsCaptionLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Caption() == FItem->Caption();
}
bool TKsCustomItemActionLink::IsCheckedLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Checked() == FItem->Checked();
}
bool TKsCustomItemActionLink::IsEnabledLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Enabled() == FItem->Enabled();
}
bool TKsCustomItemActionLink::IsHelpContextLinked() {
  TCustomAction* A = CustomAction();
  return A && A->HelpContext() == FItem->HelpContext();
}
bool TKsCustomItemActionLink::IsHintLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Hint() == FItem->Hint();
}
bool TKsCustomItemActionLink::IsImageIndexLinked() {
  TCustomAction* A = CustomAction();
  return A && A->ImageIndex() == FItem->ImageIndex();
}
bool TKsCustomItemActionLink::IsShortCutLinked() {
  TCustomAction* A = CustomAction();
  return A && A->ShortCut() == FItem->ShortCut();
}
bool TKsCustomItemActionLink::IsVisibleLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Visible() == FItem->Visible();
}
bool TKsCustomItemActionLink::IsOnExecuteLinked() {
  return Action() && Action()->OnExecute == FItem->OnClick;
}

void TKsCustomItemActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) FItem->SetCaption(Value);
}
void TKsCustomItemActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FItem->SetChecked(Value);
}
void TKsCustomItemActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FItem->SetEnabled(Value);
}
void TKsCustomItemActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) FItem->SetHelpContext(Value);
}
void TKsCustomItemActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) FItem->SetHint(Value);
}
void TKsCustomItemActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FItem->SetImageIndex(Value);
}
void TKsCustomItemActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FItem->SetShortCut(Value);
}
void TKsCustomItemActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FItem->SetVisible(Value);
}
void TKsCustomItemActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FItem->OnClick = Value;
}

// ---------------------------------------------------------------------------------
// TKsClickHandler

TKsClickHandler::TKsClickHandler(TComponent* AOwner) : TForm(AOwner, CreateNew) {
  SetBounds(10000, 10000, 0, 0);
}

void TKsClickHandler::Dispatch(TMessage& Message) {
  if (Message.Msg != KM_ITEMCLICK) {
    TForm::Dispatch(Message);
    return;
  }
  // Closed menus vanish from the screen before the click runs.
  Application->ProcessMessages();
  if (TKsCustomItem* Item = TKsCustomItem::FindLiving(static_cast<DWORD>(Message.LParam))) Item->RunClick();
  Message.Result = 0;
}

TKsClickHandler* ClickHandler() {
  if (!TheClickHandler && StartCount > 0) TheClickHandler = NewObject<TKsClickHandler>(nullptr);
  return TheClickHandler;
}

// ---------------------------------------------------------------------------------

void InitKsItems() {
  if (StartCount++ > 0) return;
  MakeMenuFont();
  RegisterClass(&TKsCustomItem::StaticClass());
  TPublish<TKsCustomItem> P;
  P.Prop("Action", &TKsCustomItem::Action, &TKsCustomItem::SetAction);
  P.Prop("Caption", &TKsCustomItem::Caption, &TKsCustomItem::SetCaption)
      .Stored(&TKsCustomItem::IsCaptionStored);
  P.Prop("Checked", &TKsCustomItem::Checked, &TKsCustomItem::SetChecked)
      .Stored(&TKsCustomItem::IsCheckedStored);
  P.Prop("Enabled", &TKsCustomItem::Enabled, &TKsCustomItem::SetEnabled)
      .Default(true)
      .Stored(&TKsCustomItem::IsEnabledStored);
  P.Prop("HelpContext", &TKsCustomItem::HelpContext, &TKsCustomItem::SetHelpContext)
      .Stored(&TKsCustomItem::IsHelpContextStored);
  P.Prop("Hint", &TKsCustomItem::Hint, &TKsCustomItem::SetHint).Stored(&TKsCustomItem::IsHintStored);
  P.Prop("ImageIndex", &TKsCustomItem::ImageIndex, &TKsCustomItem::SetImageIndex)
      .Default(-1)
      .Stored(&TKsCustomItem::IsImageIndexStored);
  P.Prop("Images", &TKsCustomItem::Images, &TKsCustomItem::SetImages);
  P.Prop("ShortCut", &TKsCustomItem::ShortCut, &TKsCustomItem::SetShortCut)
      .Stored(&TKsCustomItem::IsShortCutStored);
  P.Prop("Visible", &TKsCustomItem::Visible, &TKsCustomItem::SetVisible)
      .Default(true)
      .Stored(&TKsCustomItem::IsVisibleStored);
  P.Prop("PopupBlend", &TKsCustomItem::PopupBlend, &TKsCustomItem::SetPopupBlend);
  P.Prop("PopupBlendValue", &TKsCustomItem::PopupBlendValue, &TKsCustomItem::SetPopupBlendValue)
      .Default(150);
  P.Prop("OnClick", &TKsCustomItem::OnClick).Stored(&TKsCustomItem::IsOnClickStored);
}

void DoneKsItems() {
  if (StartCount == 0 || --StartCount > 0) return;
  FreeAndNil(TheClickHandler);
  if (ItemParents) {
    delete ItemParents;
    ItemParents = nullptr;
  }
  UnRegisterPublished(&TKsCustomItem::StaticClass());
  UnRegisterClass(&TKsCustomItem::StaticClass());
  FreeAndNil(MenuFont);
}

HICON WindowIcon(TCustomForm* Form) {
  if (Form && !Form->Icon()->Empty()) return Form->Icon()->Handle();
  if (Application && !Application->Icon()->Empty()) return Application->Icon()->Handle();
  return LoadIconA(nullptr, IDI_APPLICATION);
}
