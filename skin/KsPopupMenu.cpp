#include "skin/KsPopupMenu.h"

#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "classlib/TypInfo.h"
#include "skin/KsForms.h"
#include "skin/KsPopup.h"

TCLASS_IMPL(TKsCustomPopupMenu)

namespace {

TKsCustomPopupMenu* ShowingMenu = nullptr;

void InsertItem(TComponent* Parent, TKsCustomItem* Item) {
  if (auto* Menu = ObjectAs<TKsCustomPopupMenu>(Parent)) Menu->AddItem(Parent, Item);
}

TClass ItemClassOf(TComponent* Parent) {
  auto* Menu = ObjectAs<TKsCustomPopupMenu>(Parent);
  return Menu ? Menu->GetItemClass() : &TKsCustomItem::StaticClass();
}

// This menu is the one showing until the scope ends.
class TShowingScope {
 public:
  explicit TShowingScope(TKsCustomPopupMenu* Menu) { ShowingMenu = Menu; }
  ~TShowingScope() { ShowingMenu = nullptr; }
  TShowingScope(const TShowingScope&) = delete;
  TShowingScope& operator=(const TShowingScope&) = delete;
};

}  // namespace

TKsCustomPopupMenu::TKsCustomPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {
  RegisterItemParent(&StaticClass(), InsertItem, ItemClassOf);
}

void TKsCustomPopupMenu::AfterConstruction() {
  inherited::AfterConstruction();
  TComponentClass ItemClass = AsComponentClass(GetItemClass());
  if (!ItemClass) ItemClass = &TKsCustomItem::StaticClass();
  // Owned by the menu: its popup windows are the menu's, and the menu's owner is the
  // window whose caption stays active while they show.
  FItems = static_cast<TKsCustomItem*>(ItemClass->Create(this));
  FItems->AssignParentComponent(this);
  FPopupLook.PassTo(FItems);
}

void TKsCustomPopupMenu::BeforeDestruction() {
  if (ShowingMenu == this) CloseMenu();
  FreeAndNil(FItems);
  inherited::BeforeDestruction();
}

TKsCustomPopupMenu::~TKsCustomPopupMenu() { UnregisterItemParent(&StaticClass()); }

void TKsCustomPopupMenu::Loaded() {
  inherited::Loaded();
  if (FItems) FItems->SetBiDiMode(static_cast<Byte>(FBiDiMode));
  FPopupLook.PassTo(FItems);
}

TKsCustomPopupMenu* TKsCustomPopupMenu::Showing() { return ShowingMenu; }

void TKsCustomPopupMenu::SetBiDiMode(TBiDiMode Value) {
  FBiDiMode = Value;
  if (FItems) FItems->SetBiDiMode(static_cast<Byte>(Value));
}

void TKsCustomPopupMenu::SetImages(TCustomImageList* Value) {
  if (FItems) FItems->SetImages(Value);
}

void TKsCustomPopupMenu::AddItem(TComponent* /*Component*/, TKsCustomItem* Item) {
  if (FItems && Item) FItems->Add(Item);
}

TClass TKsCustomPopupMenu::GetItemClass() const { return &TKsCustomItem::StaticClass(); }

void TKsCustomPopupMenu::CloseMenu() {
  ClosePopups(FItems);
  // Wakes a tracking loop that waits for a message: a non-client click ends it.
  HWND Target = nullptr;
  if (auto* Control = ObjectAs<TWinControl>(Owner()); Control && Control->HandleAllocated())
    Target = Control->Handle();
  else if (Application)
    Target = Application->Handle();
  if (Target) PostMessageA(Target, WM_NCMBUTTONDBLCLK, HTNOWHERE, 0);
}

void TKsCustomPopupMenu::Popup(int X, int Y) {
  if (ShowingMenu && ShowingMenu != this) {
    ShowingMenu->CloseMenu();
    if (Application) Application->ProcessMessages();
  }
  TShowingScope Scope(this);
  if (!FItems) return;
  FPopupLook.PassTo(FItems);
  FItems->SetBiDiMode(static_cast<Byte>(FBiDiMode));
  if (auto* Control = ObjectAs<TWinControl>(Owner())) FItems->SetOwnerControl(Control);
  FItems->SetAnimateNext(true);
  FItems->SetFromMenu(true);
  if (OnPopup.Assigned()) OnPopup(this);
  PopupItem(FItems, nullptr, TPoint{X, Y}, TRect{0, 0, 0, 0});
}

void TKsCustomPopupMenu::GetChildren(TGetChildProc Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  if (!FItems) return;
  // The items the root owns: the menu's own components are not written again.
  for (int I = 0; I < FItems->Count(); ++I)
    if (FItems->Items(I)->Owner() == Root) Proc(FItems->Items(I));
}

void InitKsPopupMenu() {
  RegisterClass(&TKsCustomPopupMenu::StaticClass());
  using M = TKsCustomPopupMenu;
  TPublish<M> P;
  P.Prop("BiDiMode", &M::BiDiMode, &M::SetBiDiMode).Default(bdLeftToRight);
  P.Prop("Images", &M::Images, &M::SetImages);
  P.Prop("PopupBlend", &M::PopupBlend, &M::SetPopupBlend);
  P.Prop("PopupBlendValue", &M::PopupBlendValue, &M::SetPopupBlendValue).Default(150);
  P.Prop("DropShadow", &M::DropShadow, &M::SetDropShadow);
  P.Prop("ShowAnimationTime", &M::ShowAnimationTime, &M::SetShowAnimationTime).Default(300);
  P.Prop("ShadowWidth", &M::ShadowWidth, &M::SetShadowWidth).Default(4);
  P.Prop("ShowAnimation", &M::ShowAnimation, &M::SetShowAnimation).Default(kaNone);
  P.Prop("OnPopup", &M::OnPopup);
}

void DoneKsPopupMenu() {
  UnRegisterPublished(&TKsCustomPopupMenu::StaticClass());
  UnRegisterClass(&TKsCustomPopupMenu::StaticClass());
}
