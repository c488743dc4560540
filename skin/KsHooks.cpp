// Window hooks: the hook list and its hidden window, the per-control subclassing
// records, the hooks and the hook component.
#include "skin/KsHooks.h"

#include <algorithm>
#include <vector>

TCLASS_IMPL(THookList)
TCLASS_IMPL(TControlHook)
TCLASS_IMPL(TKsHook)
TCLASS_IMPL(TKsHookComponent)

namespace ks_detail {

// One installation of a record's window procedure on one window: the thunk the window
// calls and the procedure below it. A link lives apart from its record because the
// window may go on calling its thunk after the record has let go: when another
// procedure was installed over ours, ours cannot leave the chain, so the link passes
// every message through until the window is gone (or until ours is on top again and
// can step out).
class TWndProcLink : public TObject {
 public:
  TWndProcLink(TControlHook* AOwner, HWND AWindow);
  ~TWndProcLink() override;

  HWND Window() const { return FWindow; }
  WNDPROC Thunk() const { return FThunk; }
  WNDPROC Previous() const { return FPrevious; }

  // The record lets go: the previous procedure is put back when ours is still the
  // window's; otherwise messages pass through from now on.
  void Release();
  // At the kit's end: steps out when it can, else stays until its window is gone.
  void Sweep() { Release(); }

 private:
  void WndProc(TMessage& Message);
  void CallPrevious(TMessage& Message);
  // Runs the record's hooks; an exception goes to the application and counts as
  // not handled, so the window still gets its message.
  void RunHooks(bool Before, TMessage& Message, bool& Handled);
  bool OnTop() const;
  void StepOut();
  // The link is done; it is freed as soon as no call of its procedure is running.
  void Retire();

  TControlHook* FOwner;
  HWND FWindow;
  WNDPROC FThunk = nullptr;
  WNDPROC FPrevious = nullptr;
  int FDepth = 0;
  bool FRetired = false;
};

namespace {
// The links that may still be called by a window, for the kit's end.
std::vector<TWndProcLink*> LiveLinks;
}  // namespace

TWndProcLink::TWndProcLink(TControlHook* AOwner, HWND AWindow) : FOwner(AOwner), FWindow(AWindow) {
  FThunk = MakeObjectInstance(TWndMethod::Bind<&TWndProcLink::WndProc>(this));
  FPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FThunk)));
  LiveLinks.push_back(this);
}

TWndProcLink::~TWndProcLink() {
  auto It = std::find(LiveLinks.begin(), LiveLinks.end(), this);
  if (It != LiveLinks.end()) LiveLinks.erase(It);
  FreeObjectInstance(FThunk);
}

bool TWndProcLink::OnTop() const {
  return IsWindow(FWindow) &&
         GetWindowLongPtrA(FWindow, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(FThunk);
}

void TWndProcLink::StepOut() {
  SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevious));
  Retire();
}

void TWndProcLink::Release() {
  FOwner = nullptr;
  if (!FRetired && OnTop()) StepOut();
}

void TWndProcLink::Retire() {
  if (FRetired) return;
  FRetired = true;
  auto It = std::find(LiveLinks.begin(), LiveLinks.end(), this);
  if (It != LiveLinks.end()) LiveLinks.erase(It);
  if (FDepth == 0) Free();
}

void TWndProcLink::CallPrevious(TMessage& Message) {
  Message.Result = CallWindowProcA(FPrevious, FWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TWndProcLink::RunHooks(bool Before, TMessage& Message, bool& Handled) {
  if (!FOwner) return;
  try {
    FOwner->RunHooks(Before, Message, Handled);
  } catch (...) {
    HandleWindowException(FOwner ? FOwner->Control() : nullptr);
    Handled = false;
  }
}

void TWndProcLink::WndProc(TMessage& Message) {
  ++FDepth;
  struct TLeave {
    TWndProcLink* Link;
    ~TLeave() {
      if (--Link->FDepth == 0 && Link->FRetired) Link->Free();
    }
  } Leave{this};

  bool Handled = false;
  if (Message.Msg != WM_QUIT) RunHooks(true, Message, Handled);
  if (!Handled) {
    CallPrevious(Message);
    RunHooks(false, Message, Handled);
  } else if (Message.Msg == WM_DESTROY) {
    // The window's own procedure always sees its destruction; the hook's answer stays.
    TMessage Copy = Message;
    CallPrevious(Copy);
    Handled = false;
    RunHooks(false, Message, Handled);
  }

  if (Message.Msg == WM_DESTROY && FOwner) FOwner->WindowDestroyed();
  if (Message.Msg == WM_NCDESTROY) {
    // The window's last message: nothing calls this thunk any more.
    if (FOwner) FOwner->LinkGone(this);
    FOwner = nullptr;
    Retire();
  } else if (!FOwner && !FRetired && OnTop()) {
    // The procedure installed over ours has gone again: ours can leave too.
    StepOut();
  }
}

}  // namespace ks_detail

using ks_detail::TWndProcLink;

// ---------------------------------------------------------------------------------
// THookList

namespace {
THookList* HookList = nullptr;
}

THookList* GetHookList() {
  if (!HookList) HookList = NewObject<THookList>();
  return HookList;
}

THookList* HookListIfAny() { return HookList; }

THookList::THookList() { FHandle = AllocateHWnd(TWndMethod::Bind<&THookList::WndProc>(this)); }

void THookList::BeforeDestruction() {
  if (HookList == this) HookList = nullptr;
  // Each record takes itself out of the list as it is freed.
  while (Count() > 0) {
    TControlHook* Record = ControlHooks(Count() - 1);
    int Before = Count();
    Record->Free();
    if (Count() == Before) Delete(Count() - 1);
  }
  DeallocateHWnd(FHandle);
  FHandle = nullptr;
  inherited::BeforeDestruction();
}

TControlHook* THookList::FindControlHook(TWinControl* Control) const {
  if (!Control) return nullptr;
  for (int I = 0; I < Count(); ++I)
    if (ControlHooks(I)->Control() == Control) return ControlHooks(I);
  return nullptr;
}

TControlHook* THookList::GetControlHook(TWinControl* Control) {
  TControlHook* Record = FindControlHook(Control);
  if (Record) return Record;
  Record = NewObject<TControlHook>();
  Add(Record);
  Record->SetControl(Control);
  return Record;
}

void THookList::WndProc(TMessage& Message) {
  auto* Record = reinterpret_cast<TControlHook*>(Message.LParam);
  switch (Message.Msg) {
    case KM_REHOOK:
      // A stale message (the record was freed meanwhile) finds nothing; a control
      // that was taken out of its parent gets no window now.
      if (IndexOf(Record) >= 0 && Record->CanMakeWindow()) Record->Install();
      break;
    case KM_FREEHOOK:
      if (IndexOf(Record) >= 0 && Record->HookCount() == 0) Record->Free();
      break;
    default:
      Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
}

// ---------------------------------------------------------------------------------
// TControlHook

TControlHook::TControlHook() { FHooks = NewObject<TList>(); }

void TControlHook::BeforeDestruction() {
  FDestroying = true;
  if (THookList* List = HookListIfAny()) List->Remove(this);
  while (HookCount() > 0) RemoveHook(Hooks(HookCount() - 1));
  Uninstall();
  FControl = nullptr;
  inherited::BeforeDestruction();
}

TControlHook::~TControlHook() { FreeAndNil(FHooks); }

WNDPROC TControlHook::NewWndProc() const { return FLink ? FLink->Thunk() : nullptr; }
WNDPROC TControlHook::OldWndProc() const { return FLink ? FLink->Previous() : nullptr; }

void TControlHook::SetControl(TWinControl* Value) {
  if (FControl == Value) return;
  Uninstall();
  FControl = Value;
}

bool TControlHook::CanMakeWindow() const {
  for (TWinControl* C = FControl; C; C = C->Parent()) {
    if (C->HandleAllocated() || C->ParentWindow()) return true;
    // A form makes its own window, but an MDI child only inside an MDI main form.
    if (auto* Form = ObjectAs<TCustomForm>(C)) return Form->CanCreateWindow();
  }
  return false;
}

bool TControlHook::ControlAlive() const {
  return FControl && !FControl->ComponentState().Contains(csDestroying);
}

void TControlHook::AddHook(TKsHook* Hook) {
  if (FHooks->IndexOf(Hook) < 0) {
    FHooks->Add(Hook);
    Hook->FControlHook = this;
    SetControl(Hook->Control());
  }
  Install();
}

void TControlHook::RemoveHook(TKsHook* Hook) {
  if (Hook->FControlHook == this) Hook->FControlHook = nullptr;
  if (FHooks->Remove(Hook) < 0) return;
  if (HookCount() == 0) Uninstall();
}

void TControlHook::Install() {
  if (!ControlAlive() || FDestroying) return;
  if (FControl->ComponentState().Contains(csDesigning)) return;
  HWND Window = FControl->Handle();
  if (!Window) return;
  // Ours is in this window's chain already: a second installation would call itself.
  if (FLink && FLink->Window() == Window) return;
  Uninstall();
  FLink = NewObject<TWndProcLink>(this, Window);
}

void TControlHook::Uninstall() {
  TWndProcLink* Link = FLink;
  FLink = nullptr;
  if (Link) Link->Release();
}

void TControlHook::LinkGone(TWndProcLink* Link) {
  if (FLink == Link) FLink = nullptr;
}

void TControlHook::WindowDestroyed() {
  Uninstall();
  // The hooks follow the control into its next window.
  THookList* List = HookListIfAny();
  if (List && !FDestroying && ControlAlive())
    PostMessageA(List->Handle(), KM_REHOOK, 0, reinterpret_cast<LPARAM>(this));
}

void TControlHook::RunHooks(bool Before, TMessage& Message, bool& Handled) {
  // The list may shrink while the hooks run (a hook removes itself or another).
  for (int I = HookCount() - 1; I >= 0; --I) {
    if (FDestroying || !ControlAlive()) return;
    if (I >= HookCount()) continue;
    TKsHook* Hook = Hooks(I);
    if (Before)
      Hook->DoBeforeMessage(Message, Handled);
    else
      Hook->DoAfterMessage(Message, Handled);
    if (Handled) return;
  }
}

// ---------------------------------------------------------------------------------
// TKsHook

TKsHook::TKsHook(TComponent* AOwner) : TComponent(AOwner) {}

void TKsHook::BeforeDestruction() {
  Destroying();
  SetActive(false);
  SetControl(nullptr);
  inherited::BeforeDestruction();
}

void TKsHook::SetActive(bool Value) {
  if (FActive == Value) return;
  if (Value)
    HookControl();
  else
    UnhookControl();
}

void TKsHook::HookControl() {
  if (!FControl || ComponentState().Contains(csDestroying)) return;
  GetHookList()->GetControlHook(FControl)->AddHook(this);
  FActive = true;
}

void TKsHook::UnhookControl() {
  TControlHook* Left = FControlHook;
  if (Left) Left->RemoveHook(this);
  FActive = false;
  // An emptied record is freed later, outside any window procedure it may be running
  // in (and only if no hook has come back to it by then).
  THookList* List = HookListIfAny();
  if (Left && Left->HookCount() == 0 && List)
    PostMessageA(List->Handle(), KM_FREEHOOK, 0, reinterpret_cast<LPARAM>(Left));
}

void TKsHook::SetControl(TWinControl* Value) {
  if (FControl == Value) return;
  bool WasActive = FActive;
  UnhookControl();
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = Value;
  if (FControl) FControl->FreeNotification(this);
  if (WasActive) HookControl();
}

void TKsHook::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent || AComponent != FControl) return;
  // The control is being freed: its record must never reach it again.
  if (FControlHook && FControlHook->Control() == AComponent) FControlHook->SetControl(nullptr);
  SetControl(nullptr);
}

void TKsHook::DoBeforeMessage(TMessage& Message, bool& Handled) {
  if (OnBeforeMessage.Assigned()) OnBeforeMessage(this, Message, Handled);
}

void TKsHook::DoAfterMessage(TMessage& Message, bool& Handled) {
  if (OnAfterMessage.Assigned()) OnAfterMessage(this, Message, Handled);
}

// ---------------------------------------------------------------------------------
// TKsHookComponent

TKsHookComponent::TKsHookComponent(TComponent* AOwner) : TComponent(AOwner) {
  FHook = NewObject<TKsHook>(this);
  FHook->OnBeforeMessage = THookMessageEvent::Bind<&TKsHookComponent::HookBeforeMessage>(this);
  FHook->OnAfterMessage = THookMessageEvent::Bind<&TKsHookComponent::HookAfterMessage>(this);
}

void TKsHookComponent::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (Value) {
    FHook->SetControl(FHookedControl);
    FHook->SetActive(true);
  } else {
    FHook->SetActive(false);
  }
}

void TKsHookComponent::Loaded() {
  inherited::Loaded();
  if (FActive) {
    FActive = false;
    SetActive(true);
  }
}

TWinControl* TKsHookComponent::GetHookedControl() const {
  if (!FHook) return nullptr;
  if (FHook->ControlHook()) return FHook->ControlHook()->Control();
  return FHook->Control();
}

HWND TKsHookComponent::GetHookedHandle() const {
  TWinControl* Control = GetHookedControl();
  return Control && Control->HandleAllocated() ? Control->Handle() : nullptr;
}

TCustomForm* TKsHookComponent::GetHookedForm() const {
  TWinControl* Control = GetHookedControl();
  return Control ? ObjectAs<TCustomForm>(Control) : nullptr;
}

void TKsHookComponent::HookBeforeMessage(TObject* /*Sender*/, TMessage& Message, bool& Handled) {
  FHandled = Handled;
  Dispatch(Message);
  Handled = FHandled;
}

void TKsHookComponent::HookAfterMessage(TObject* /*Sender*/, TMessage& Message, bool& Handled) {
  AfterMessage(Message, Handled);
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsHooks() {
  TPublish<TKsHookComponent> P;
  P.Prop("Active", &TKsHookComponent::Active, &TKsHookComponent::SetActive);
}

void DoneKsHooks() {
  if (HookList) HookList->Free();
  // Pass-through links step out where they can; the others stay until their window
  // is destroyed.
  std::vector<TWndProcLink*> Links = ks_detail::LiveLinks;
  for (TWndProcLink* Link : Links) Link->Sweep();
  UnRegisterPublished(&TKsHookComponent::StaticClass());
}
