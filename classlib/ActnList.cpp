#include "classlib/ActnList.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/ScopeExit.h"
#include "classlib/TypInfo.h"

TCLASS_IMPL(TBasicAction)
TCLASS_IMPL(TCustomAction)
TCLASS_IMPL(TAction)
TCLASS_IMPL(TActionLink)
TCLASS_IMPL(TCustomActionList)
TCLASS_IMPL(TActionList)

// ---------------------------------------------------------------------------------
// TComponent's side of the actions

bool TComponent::ExecuteAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TComponent::UpdateAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}

// ---------------------------------------------------------------------------------
// TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

void TBasicAction::BeforeDestruction() {
  Destroying();
  // A link outlives the action only as an empty link.
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
  TComponent::BeforeDestruction();
}

bool TBasicAction::Execute() {
  if (!OnExecute.Assigned()) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate.Assigned()) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TActionLink* Link) {
  if (std::find(FClients.begin(), FClients.end(), Link) == FClients.end()) FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TActionLink* Link) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

void TBasicAction::Change() {
  // A client's ActionChange may unlink it: walk a copy.
  const std::vector<TActionLink*> Clients = FClients;
  for (TActionLink* Link : Clients)
    if (std::find(FClients.begin(), FClients.end(), Link) != FClients.end()) Link->Change();
}

// ---------------------------------------------------------------------------------
// TCustomAction

namespace {

// Each link hears the new value before the action stores it, so that it can compare
// its client's value with the action's old one.
template <class F>
void ForEachLink(TBasicAction* Action, F Fn) {
  for (int I = Action->LinkCount() - 1; I >= 0; --I)
    if (I < Action->LinkCount()) Fn(Action->Links(I));
}

}  // namespace

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

void TCustomAction::BeforeDestruction() {
  Destroying();
  SetActionList(nullptr);
  TBasicAction::BeforeDestruction();
}

namespace {

// Asks the application to find a target for Action (CM_ACTIONEXECUTE, CM_ACTIONUPDATE).
bool SendToApplication(UINT Msg, TBasicAction* Action) {
  if (!Application) return false;
  return SendMessageA(Application->Handle(), Msg, 0, reinterpret_cast<LPARAM>(Action)) == 1;
}

}  // namespace

bool TCustomAction::Execute() {
  return TBasicAction::Execute() || SendToApplication(CM_ACTIONEXECUTE, this);
}

bool TCustomAction::Update() {
  return TBasicAction::Update() || SendToApplication(CM_ACTIONUPDATE, this);
}

void TCustomAction::SetCaption(const AnsiString& Value) {
  if (Value == FCaption) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetCaption(Value); });
  FCaption = Value;
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == FChecked) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetChecked(Value); });
  FChecked = Value;
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetEnabled(Value); });
  FEnabled = Value;
  Change();
}

void TCustomAction::SetHelpContext(int Value) {
  if (Value == FHelpContext) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetHelpContext(Value); });
  FHelpContext = Value;
  Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
  if (Value == FHint) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetHint(Value); });
  FHint = Value;
  Change();
}

void TCustomAction::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetImageIndex(Value); });
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetShortCut(Value); });
  FShortCut = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  ForEachLink(this, [&](TActionLink* L) { L->SetVisible(Value); });
  FVisible = Value;
  Change();
}

void TCustomAction::SetActionList(TCustomActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

TCustomImageList* TCustomAction::Images() const {
  return FActionList ? FActionList->Images() : nullptr;
}

TComponent* TCustomAction::GetParentComponent() const { return FActionList; }

void TCustomAction::SetParentComponent(TComponent* Value) {
  if (Value && Value->Is<TCustomActionList>()) SetActionList(static_cast<TCustomActionList*>(Value));
}

// ---------------------------------------------------------------------------------
// TActionLink

TActionLink::~TActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TActionLink::Execute(TComponent* Component) {
  if (!FAction) return false;
  FAction->SetActionComponent(Component);
  // The action may be taken from the link while it runs.
  auto Clear = ScopeExit([this] {
    if (FAction) FAction->SetActionComponent(nullptr);
  });
  return FAction->Execute();
}

bool TActionLink::Update() { return FAction && FAction->Update(); }

void TActionLink::Change() {
  if (OnChange.Assigned()) OnChange(FAction);
}

// ---------------------------------------------------------------------------------
// TCustomActionList

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {
  FImageChangeLink = NewObject<TChangeLink>();
  FImageChangeLink->OnChange = TNotifyEvent::Bind<&TCustomActionList::ImageListChange>(this);
}

void TCustomActionList::BeforeDestruction() {
  Destroying();
  while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
  FreeAndNil(FImageChangeLink);
  TComponent::BeforeDestruction();
}

void TCustomActionList::AddAction(TCustomAction* Action) {
  if (!Action || Action->ActionList() == this) return;
  if (Action->ActionList()) Action->ActionList()->RemoveAction(Action);
  FActions.push_back(Action);
  Action->FreeNotification(this);
  Action->FActionList = this;
}

void TCustomActionList::RemoveAction(TCustomAction* Action) {
  auto At = std::find(FActions.begin(), FActions.end(), Action);
  if (At == FActions.end()) return;
  FActions.erase(At);
  Action->FActionList = nullptr;
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink);
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink);
    FImages->FreeNotification(this);
  }
  ImageListChange(this);
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TCustomAction* Action : FActions)
    if (Action->Owner() == Root) Proc(Action);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    ImageListChange(this);
  }
  auto At = std::find(FActions.begin(), FActions.end(), AComponent);
  if (At != FActions.end()) RemoveAction(*At);
}

void TCustomActionList::ImageListChange(TObject* /*Sender*/) {
  if (ComponentState().Contains(csDestroying)) return;
  if (OnChange.Assigned()) OnChange(this);
}

// ---------------------------------------------------------------------------------

void InitActnList() {
  RegisterClass(&TAction::StaticClass());
  RegisterClass(&TActionList::StaticClass());
  TPublish<TAction> A;
  A.Prop("Caption", &TAction::Caption, &TAction::SetCaption);
  A.Prop("Checked", &TAction::Checked, &TAction::SetChecked);
  A.Prop("Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(true);
  A.Prop("HelpContext", &TAction::HelpContext, &TAction::SetHelpContext);
  A.Prop("Hint", &TAction::Hint, &TAction::SetHint);
  A.Prop("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex).Default(-1);
  A.Prop("ShortCut", &TAction::ShortCut, &TAction::SetShortCut);
  A.Prop("Visible", &TAction::Visible, &TAction::SetVisible).Default(true);
  A.Prop("OnExecute", &TAction::OnExecute);
  A.Prop("OnUpdate", &TAction::OnUpdate);
  TPublish<TActionList> L;
  L.Prop("Images", &TActionList::Images, &TActionList::SetImages);
  L.Prop("OnChange", &TActionList::OnChange);
}

void DoneActnList() {
  UnRegisterPublished(&TActionList::StaticClass());
  UnRegisterPublished(&TAction::StaticClass());
  UnRegisterClass(&TActionList::StaticClass());
  UnRegisterClass(&TAction::StaticClass());
}
