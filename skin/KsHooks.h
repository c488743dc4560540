// Window hooks: the kit restyles windows it does not own by subclassing their window
// procedures. Several hooks may watch one window; each sees a message before the
// window's own procedure (and may stop it there) and after it.
//
// THookList, one per process, keeps a TControlHook for every subclassed control and a
// hidden window for the work that must wait until a window procedure has returned.
// A TControlHook installs one window procedure on its control's window and runs the
// control's TKsHook objects around the procedure that was there before. TKsHook is the
// hook itself; TKsHookComponent is the component base that hooks a control and hands
// the control's messages to its own message handlers (Dispatch).
//
// Subclassing is undone only when it can be: when another procedure was installed
// over ours in the meantime, ours stays in the window's chain and passes every message
// on, untouched, to the procedure below it until the window is gone. No message is
// ever dropped, and the procedure installed later keeps working.
#pragma once

#include <windows.h>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Lists.h"

// Private messages of the hook list's window; lParam is the TControlHook.
inline constexpr UINT KM_REHOOK = 0xB0DE;    // install again (the window was recreated)
inline constexpr UINT KM_FREEHOOK = 0xB0DF;  // free the record when it has no hooks left

class TControlHook;
class TKsHook;

namespace ks_detail {
class TWndProcLink;
}

// Sender, the message on its way, and whether it is handled (set it to stop the rest).
using THookMessageEvent = TEvent<void(TObject* Sender, TMessage& Message, bool& Handled)>;

// The records of the subclassed controls, and the hidden window that re-installs and
// frees them once the window procedure that asked for it has returned.
class THookList : public TList {
  TCLASS_DECL(THookList, TList)
 public:
  THookList();
  // Frees every remaining record, then the hidden window.
  void BeforeDestruction() override;

  HWND Handle() const { return FHandle; }
  TControlHook* ControlHooks(int Index) const { return static_cast<TControlHook*>(Get(Index)); }
  // The record of the control, or nullptr (also for a null control).
  TControlHook* FindControlHook(TWinControl* Control) const;
  // The record of the control, made and added when there is none.
  TControlHook* GetControlHook(TWinControl* Control);

 private:
  void WndProc(TMessage& Message);

  HWND FHandle = nullptr;
};

// The process's hook list, made on the first call.
THookList* GetHookList();
// The hook list when it exists, without making it.
THookList* HookListIfAny();

// The subclassing of one control's window and the hooks that watch it, in the order
// they were added. The window procedure runs the hooks from the last added to the
// first, before and after the procedure that was installed before it.
class TControlHook : public TObject {
  TCLASS_DECL(TControlHook, TObject)
 public:
  TControlHook();
  // Marks the record as being destroyed, leaves the global list, removes every hook
  // (which undoes the subclassing with the last one) and forgets the control.
  void BeforeDestruction() override;
  ~TControlHook() override;

  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* Value);
  // The procedure installed on the window and the one it calls on; both null while
  // the record is not installed.
  WNDPROC NewWndProc() const;
  WNDPROC OldWndProc() const;
  int HookCount() const { return FHooks->Count(); }
  TKsHook* Hooks(int Index) const { return static_cast<TKsHook*>(FHooks->Get(Index)); }
  bool Destroying() const { return FDestroying; }

  // Appends the hook (once) and installs the subclassing.
  void AddHook(TKsHook* Hook);
  // Takes the hook out; the last one out uninstalls the subclassing.
  void RemoveHook(TKsHook* Hook);
  // Subclasses the control's window (making it when needed), unless the record's
  // procedure is in that window's chain already. Nothing for a control in the
  // designer or being destroyed.
  void Install();
  // Puts the previous procedure back when ours is still the window's; otherwise ours
  // goes on passing messages through until the window is destroyed.
  void Uninstall();
  // Whether the control has a window or one can be made for it now (it is a form
  // that can make its window, or its parents lead to one with a window or to a window
  // outside the library).
  bool CanMakeWindow() const;

 private:
  friend class ks_detail::TWndProcLink;
  // Runs the hooks, last added first, until one sets Handled.
  void RunHooks(bool Before, TMessage& Message, bool& Handled);
  // WM_DESTROY has reached the previous procedure: uninstall, and re-install later in
  // the control's next window.
  void WindowDestroyed();
  // The window of the link is gone (WM_NCDESTROY).
  void LinkGone(ks_detail::TWndProcLink* Link);
  bool ControlAlive() const;

  TWinControl* FControl = nullptr;
  ks_detail::TWndProcLink* FLink = nullptr;
  TList* FHooks;
  bool FDestroying = false;
};

// One hook on one control. Active from construction on: it attaches itself as soon
// as it has a control.
class TKsHook : public TComponent {
  TCLASS_DECL(TKsHook, TComponent)
 public:
  explicit TKsHook(TComponent* AOwner);
  // Deactivates and lets go of the control.
  void BeforeDestruction() override;

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* Value);
  TControlHook* ControlHook() const { return FControlHook; }

  // Called by the record around the window's previous procedure; each fires its
  // event when assigned.
  virtual void DoBeforeMessage(TMessage& Message, bool& Handled);
  virtual void DoAfterMessage(TMessage& Message, bool& Handled);

  THookMessageEvent OnBeforeMessage;
  THookMessageEvent OnAfterMessage;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TControlHook;
  void HookControl();
  void UnhookControl();

  bool FActive = true;
  TWinControl* FControl = nullptr;
  TControlHook* FControlHook = nullptr;
};

// A component that hooks a control (HookedControl, chosen by the descendant) while it
// is Active and receives the control's window messages in its own Dispatch before the
// window does: a descendant's message handler stops a message by setting Handled.
// After the window's procedure, AfterMessage runs.
class TKsHookComponent : public TComponent {
  TCLASS_DECL(TKsHookComponent, TComponent)
 public:
  // Makes the owned Hook and binds its events.
  explicit TKsHookComponent(TComponent* AOwner);

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TKsHook* Hook() const { return FHook; }
  // The control whose window the hook watches (the record's while attached), its
  // window (0 when it has none), and that control as a form (nullptr when it is not).
  TWinControl* GetHookedControl() const;
  HWND GetHookedHandle() const;
  TCustomForm* GetHookedForm() const;
  // The current message's handled flag.
  bool Handled() const { return FHandled; }
  void SetHandled(bool Value) { FHandled = Value; }

 protected:
  // Re-applies an Active of true read from a form file.
  void Loaded() override;
  virtual void AfterMessage(TMessage& /*Message*/, bool& /*Handled*/) {}

  // Set by the descendant before activating.
  TWinControl* FHookedControl = nullptr;

 private:
  void HookBeforeMessage(TObject* Sender, TMessage& Message, bool& Handled);
  void HookAfterMessage(TObject* Sender, TMessage& Message, bool& Handled);

  bool FActive = false;
  TKsHook* FHook = nullptr;
  bool FHandled = false;
};

// The unit's start (classes and published properties) and end (frees the hook list).
void InitKsHooks();
void DoneKsHooks();
