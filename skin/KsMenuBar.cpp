// The kit's menu bar: its item tree and row view, sizing to the items, painting with
// the etched line, mouse and Alt-key tracking, and the child-window buttons.
#include "skin/KsMenuBar.h"

#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "skin/KsControlBar.h"
#include "skin/KsForms.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TKsMenuBarView)
TCLASS_IMPL(TKsCustomMenuBar)

namespace {

void InsertItem(TComponent* Parent, TKsCustomItem* Item) {
  if (auto* Bar = ObjectAs<TKsCustomMenuBar>(Parent)) Bar->AddItem(Parent, Item);
}

TClass ItemClassOf(TComponent* Parent) {
  auto* Bar = ObjectAs<TKsCustomMenuBar>(Parent);
  return Bar ? Bar->GetItemClass() : &TKsCustomItem::StaticClass();
}

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

// Kinds of the child-window buttons.
constexpr Byte CloseKind = 1, RestoreKind = 2, MinimizeKind = 3, IconKind = 4;

}  // namespace

// ---------------------------------------------------------------------------------
// TKsMenuBarView

TKsMenuBarView::TKsMenuBarView(TKsCustomMenuBar* ABar) : TKsItemView(ABar, voRow, true), FMenuBar(ABar) {
  SetHostControl(ABar);
  SetControl(ABar);
  SetCanvas(ABar->Buffer());
}

void TKsMenuBarView::SetSize(const TPoint& Extent) {
  if (!FMenuBar->AutoSize()) return;
  const TRect R = FMenuBar->GetBarClientRect();
  FMenuBar->SetBounds(FMenuBar->Left(), FMenuBar->Top(), FMenuBar->Width(),
                      Extent.y + R.top + (FMenuBar->Height() - R.bottom));
}

void TKsMenuBarView::Invalidate() { FMenuBar->Invalidate(); }

// ---------------------------------------------------------------------------------
// TKsCustomMenuBar

TKsCustomMenuBar::TKsCustomMenuBar(TComponent* AOwner) : TKsCustomControl(AOwner) {
  RegisterItemParent(&StaticClass(), InsertItem, ItemClassOf);
  SetColor(clMenu);
  SetAlign(alTop);
  SetBounds(Left(), Top(), Width(), GetSystemMetrics(SM_CYMENU));
}

void TKsCustomMenuBar::AfterConstruction() {
  inherited::AfterConstruction();
  TComponentClass ItemClass = AsComponentClass(GetItemClass());
  if (!ItemClass) ItemClass = &TKsCustomItem::StaticClass();
  FItems = static_cast<TKsCustomItem*>(ItemClass->Create(this));
  FItems->AssignParentComponent(this);
  if (!Designing(this)) FItems->OnChange = TNotifyEvent::Bind<&TKsCustomMenuBar::ItemsChange>(this);
  FView = NewObject<TKsMenuBarView>(this);
  FView->SetItems(FItems);
  FPopupLook.PassTo(FItems);
  FSizing = false;
}

void TKsCustomMenuBar::BeforeDestruction() {
  if (FMDIChild) FMDIChild->RemoveFreeNotification(this);
  FMDIChild = nullptr;
  FreeAndNil(FView);
  if (FItems) FItems->OnChange = nullptr;
  FreeAndNil(FItems);
  inherited::BeforeDestruction();
}

TKsCustomMenuBar::~TKsCustomMenuBar() { UnregisterItemParent(&StaticClass()); }

void TKsCustomMenuBar::Loaded() {
  inherited::Loaded();
  FPopupLook.PassTo(FItems);
  const bool InBar = InControlBar();
  if (FItems) {
    FItems->SetInControlBar(InBar);
    for (int I = 0; I < FItems->Count(); ++I) FItems->Items(I)->SetInControlBar(InBar);
  }
  CreateMDIButtons();
  FSizing = false;
  if (FView) FView->UpdateSize();
  if (FItems) FItems->SetBiDiMode(static_cast<Byte>(BiDiMode()));
}

bool TKsCustomMenuBar::InControlBar() const { return Parent() && Parent()->Is<TKsCustomControlBar>(); }

// ---------------------------------------------------------------------------------
// Properties handed to the tree

void TKsCustomMenuBar::SetImages(TCustomImageList* Value) {
  if (FItems) FItems->SetImages(Value);
}

void TKsCustomMenuBar::AddItem(TComponent* /*Component*/, TKsCustomItem* Item) {
  if (FItems && Item) FItems->Add(Item);
}

TClass TKsCustomMenuBar::GetItemClass() const { return &TKsCustomItem::StaticClass(); }

void TKsCustomMenuBar::ItemsChange(TObject* /*Sender*/) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying) || FItemsUpdating)
    return;
  ItemsChanged();
}

void TKsCustomMenuBar::ItemsChanged() {
  FPopupLook.PassTo(FItems);
  FItems->SetBiDiMode(static_cast<Byte>(BiDiMode()));
  if (auto* Control = ObjectAs<TWinControl>(Owner())) FItems->SetOwnerControl(Control);
  FItems->SetInControlBar(InControlBar());
  Refit();
  Invalidate();
}

void TKsCustomMenuBar::Refit() {
  // A form file's values stand until Loaded, which fits the bar once everything is read.
  const TComponentState State = ComponentState();
  if (State.Contains(csLoading) || State.Contains(csDestroying) || FSizing) return;
  if (FView && FView->Canvas()) FView->UpdateSize();
}

// ---------------------------------------------------------------------------------
// Child-window buttons

void TKsCustomMenuBar::CreateMDIButtons() {
  if (Designing(this) || FCloseButton) return;
  auto* Form = ObjectAs<TCustomForm>(Owner());
  if (!Form || Form->FormStyle() != fsMDIForm) return;
  TComponentClass ItemClass = AsComponentClass(GetItemClass());
  if (!ItemClass) ItemClass = &TKsCustomItem::StaticClass();
  TFlagScope Updating(FItemsUpdating);
  auto Make = [&](Byte Kind) {
    auto* Item = static_cast<TKsCustomItem*>(ItemClass->Create(Form));
    Item->SetMDIButtonKind(Kind);
    Item->SetVisible(false);
    Item->OnClick = TNotifyEvent::Bind<&TKsCustomMenuBar::MDIButtonClick>(this);
    Item->FreeNotification(this);
    return Item;
  };
  FIconButton = Make(IconKind);
  FItems->Insert(0, FIconButton);
  FMinimizeButton = Make(MinimizeKind);
  FItems->Add(FMinimizeButton);
  FRestoreButton = Make(RestoreKind);
  FItems->Add(FRestoreButton);
  FCloseButton = Make(CloseKind);
  FItems->Add(FCloseButton);
}

void TKsCustomMenuBar::SetMDIButtonsVisible(bool Value) {
  for (TKsCustomItem* Button : {FIconButton, FMinimizeButton, FRestoreButton, FCloseButton})
    if (Button) Button->SetVisible(Value);
}

void TKsCustomMenuBar::SetMDIChild(TCustomForm* Child) {
  if (FMDIChild == Child) return;
  if (FMDIChild) FMDIChild->RemoveFreeNotification(this);
  FMDIChild = Child;
  if (Child) Child->FreeNotification(this);
  if (FItems) FItems->SetMDIChild(Child);
}

void TKsCustomMenuBar::ShowMDIButtons(TCustomForm* Child) {
  // A bar made in code was never loaded: its buttons come with the first child.
  CreateMDIButtons();
  {
    TFlagScope Updating(FItemsUpdating);
    SetMDIButtonsVisible(true);
    SetMDIChild(Child);
  }
  Refit();
  Invalidate();
}

void TKsCustomMenuBar::HideMDIButtons() {
  {
    TFlagScope Updating(FItemsUpdating);
    SetMDIButtonsVisible(false);
    SetMDIChild(nullptr);
  }
  Refit();
  Invalidate();
}

void TKsCustomMenuBar::MDIButtonClick(TObject* Sender) {
  auto* Button = ObjectAs<TKsCustomItem>(static_cast<TComponent*>(Sender));
  if (!Button || !FMDIChild) return;
  // The child's kit frame owns its window states; a child without one is left to the
  // class library.
  TKsCustomForm* Frame = ActiveKsForm(FMDIChild);
  switch (Button->MDIButtonKind()) {
    case CloseKind: Frame ? Frame->CloseForm() : FMDIChild->Close(); break;
    case RestoreKind: Frame ? Frame->Restore() : FMDIChild->SetWindowState(wsNormal); break;
    case MinimizeKind: Frame ? Frame->Minimize() : FMDIChild->SetWindowState(wsMinimized); break;
    case IconKind:
      if (Frame)
        Frame->ShowSystemMenu();
      else if (FMDIChild->HandleAllocated())
        SendMessageA(FMDIChild->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
      if (FView) FView->SetHotItem(nullptr);
      Invalidate();
      break;
  }
}

void TKsCustomMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMDIChild) HideMDIButtons();
  if (AComponent == FIconButton) FIconButton = nullptr;
  if (AComponent == FMinimizeButton) FMinimizeButton = nullptr;
  if (AComponent == FRestoreButton) FRestoreButton = nullptr;
  if (AComponent == FCloseButton) FCloseButton = nullptr;
}

// ---------------------------------------------------------------------------------
// Layout and painting

TRect TKsCustomMenuBar::GetBarClientRect() {
  TRect R{0, 0, Width(), Height()};
  if (Align() == alTop) R.bottom -= 2;
  if (Align() == alBottom) R.top += 2;
  return R;
}

void TKsCustomMenuBar::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  if (Value) Refit();
}

void TKsCustomMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FView && FView->Canvas() && FAutoSize && !FSizing && !ComponentState().Contains(csLoading)) {
    TFlagScope Sizing(FSizing);
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    FView->UpdateSize();
    return;
  }
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TKsCustomMenuBar::PaintBuffer() {
  inherited::PaintBuffer();
  const TRect R = GetBarClientRect();
  if (FView) {
    FView->SetOrigin(TPoint{R.left, R.top});
    FView->Paint(Buffer());
  }
  const TKsColor Shadow = ColorToKsColor(clBtnShadow, 255);
  const TKsColor Highlight = ColorToKsColor(clBtnHighlight, 255);
  if (Align() == alTop) Buffer()->DrawEdge(TRect{0, Height() - 2, Width(), Height()}, Shadow, Highlight);
  if (Align() == alBottom) Buffer()->DrawEdge(TRect{0, 0, Width(), 2}, Shadow, Highlight);
}

// ---------------------------------------------------------------------------------
// Mouse and keys

void TKsCustomMenuBar::StartTracking() {
  if (!FItems || !FView) return;
  FItems->SetAnimateNext(true);
  FItems->SetFromMenu(true);
  FView->Track();
}

bool TKsCustomMenuBar::IsShortCut(TMessage& Message) { return FItems && FItems->IsShortCut(Message); }

void TKsCustomMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !FItems || !FView) return;
  const TPoint P{X, Y};
  for (int I = 0; I < FItems->Count(); ++I) {
    TKsCustomItem* Item = FItems->Items(I);
    const TRect R = FView->GetItemRect(Item);
    if (!Item->Visible() || !PtInRect(&R, P)) continue;
    SetMouseCapture(false);
    StartTracking();
    return;
  }
}

void TKsCustomMenuBar::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FView && !FView->Tracking()) FView->HitTest(ClientToScreen(TPoint{X, Y}));
}

void TKsCustomMenuBar::MouseLeave() {
  inherited::MouseLeave();
  if (FView && !FView->Tracking()) FView->HitTest(TPoint{-1, -1});
}

bool TKsCustomMenuBar::DialogChar(TMessage& Message) {
  const char Key = static_cast<char>(Message.WParam);
  const bool Alt = (Message.LParam & (1 << 29)) != 0;
  if (!Alt || !FItems || !FItems->FindAccelerator(Key)) return false;
  // The tracking loop takes the letter and opens the item through its accelerator.
  if (Parent() && Parent()->HandleAllocated()) PostMessageA(Parent()->Handle(), WM_CHAR, Message.WParam, 0);
  StartTracking();
  return true;
}

void TKsCustomMenuBar::GetChildren(TGetChildProc Proc, TComponent* Root) {
  // The items the root owns, once: the child-window buttons are the bar's own.
  if (FItems)
    for (int I = 0; I < FItems->Count(); ++I) {
      TKsCustomItem* Item = FItems->Items(I);
      if (Item->MDIButtonKind() == 0 && Item->Owner() == Root) Proc(Item);
    }
  inherited::GetChildren(Proc, Root);
}

void TKsCustomMenuBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR && DialogChar(Message)) {
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
  // The reading order, set or taken from the parent, reaches the items at once.
  if (Message.Msg == CM_BIDIMODECHANGED && FItems) FItems->SetBiDiMode(static_cast<Byte>(BiDiMode()));
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsMenuBar() {
  RegisterClass(&TKsCustomMenuBar::StaticClass());
  using M = TKsCustomMenuBar;
  TPublish<M> P;
  P.Prop("Align", &M::Align, &M::SetAlign).Default(alTop);
  P.Prop("AutoSize", &M::AutoSize, &M::SetAutoSize).Default(true);
  P.Prop("Images", &M::Images, &M::SetImages);
  P.Prop("PopupBlend", &M::PopupBlend, &M::SetPopupBlend);
  P.Prop("PopupBlendValue", &M::PopupBlendValue, &M::SetPopupBlendValue).Default(150);
  P.Prop("DropShadow", &M::DropShadow, &M::SetDropShadow);
  P.Prop("ShowAnimationTime", &M::ShowAnimationTime, &M::SetShowAnimationTime).Default(300);
  P.Prop("ShadowWidth", &M::ShadowWidth, &M::SetShadowWidth).Default(4);
  P.Prop("ShowAnimation", &M::ShowAnimation, &M::SetShowAnimation).Default(kaNone);
}

void DoneKsMenuBar() {
  UnRegisterPublished(&TKsCustomMenuBar::StaticClass());
  UnRegisterClass(&TKsCustomMenuBar::StaticClass());
}
