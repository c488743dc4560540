// Window hooks on real windows: the order of the hooks and what a handled message
// stops, destruction and recreation of the hooked window, undoing the subclassing
// under a procedure installed later, and the hook component's message handlers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/KsHooks.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

using TLog = std::vector<std::string>;

// The events of one named hook, noted in the shared log; it handles (and answers) the
// message StopMsg before the window, and raises on RaiseMsg.
class THookProbe : public TObject {
 public:
  THookProbe(TLog* ALog, std::string AName) : Log(ALog), Name(std::move(AName)) {}
  void Before(TObject* /*Sender*/, TMessage& Message, bool& Handled) {
    if (Message.Msg == WM_PING || Message.Msg == WM_STOPPED || Message.Msg == WM_DESTROY)
      Log->push_back(Name + ":before:" + MessageName(Message.Msg));
    if (Message.Msg == RaiseMsg) throw Exception("hook failed");
    if (Message.Msg == StopMsg) {
      Message.Result = 42;
      Handled = true;
    }
  }
  void After(TObject* /*Sender*/, TMessage& Message, bool& /*Handled*/) {
    if (Message.Msg == WM_PING || Message.Msg == WM_STOPPED || Message.Msg == WM_DESTROY)
      Log->push_back(Name + ":after:" + MessageName(Message.Msg));
  }
  static std::string MessageName(UINT Msg) {
    switch (Msg) {
      case WM_PING: return "ping";
      case WM_STOPPED: return "stopped";
      case WM_DESTROY: return "destroy";
      default: return std::to_string(Msg);
    }
  }

  TLog* Log;
  std::string Name;
  UINT StopMsg = 0;
  UINT RaiseMsg = 0;
};

// A procedure that subclasses a window after the kit did and forwards everything.
struct TLaterSubclass {
  static inline WNDPROC Previous = nullptr;
  static inline TLog* Log = nullptr;
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_PING && Log) Log->push_back("later:ping");
    if (Msg == WM_NCDESTROY && Log) Log->push_back("later:ncdestroy");
    return CallWindowProcA(Previous, Wnd, Msg, WParam, LParam);
  }
  static void Install(HWND Wnd, TLog* ALog) {
    Log = ALog;
    Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
};

// Window procedures made after ours was let go: one of them would take over a freed
// thunk's place.
class TStray : public TObject {
 public:
  void Message(TMessage& M) {
    ++Calls;
    M.Result = 0;
  }
  int Calls = 0;
};

WNDPROC CurrentWndProc(HWND Wnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
}

class KsHooksTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(300, 200);
    Control = NewObject<TLogControl>(Form, &Events);
    Control->SetParent(Form);
    Pump();
  }
  void TearDown() override {
    UiTest::TearDown();
    for (THookProbe* Probe : Probes) Probe->Free();
  }
  // A hook on the control, owned by the form, whose events the probe notes.
  TKsHook* AddHook(const std::string& Name, TWinControl* Target = nullptr) {
    THookProbe* Probe = NewObject<THookProbe>(&Events, Name);
    Probes.push_back(Probe);
    TKsHook* Hook = NewObject<TKsHook>(Form);
    Hook->OnBeforeMessage = THookMessageEvent::Bind<&THookProbe::Before>(Probe);
    Hook->OnAfterMessage = THookMessageEvent::Bind<&THookProbe::After>(Probe);
    Hook->SetControl(Target ? Target : Control);
    return Hook;
  }
  THookProbe* ProbeOf(const std::string& Name) {
    for (THookProbe* Probe : Probes)
      if (Probe->Name == Name) return Probe;
    return nullptr;
  }
  LRESULT Ping() { return SendMessageA(Control->Handle(), WM_PING, 0, 0); }

  TForm* Form = nullptr;
  TLogControl* Control = nullptr;
  TLog Events;
  std::vector<THookProbe*> Probes;
};

TEST_F(KsHooksTest, TheLastAddedHookSeesEachMessageFirstAndAHandledOneReachesNothingElse) {
  AddHook("A");
  AddHook("B");
  EXPECT_EQ(Ping(), 5);
  EXPECT_EQ(Events, (TLog{"B:before:ping", "A:before:ping", "window:ping", "B:after:ping", "A:after:ping"}));
  TControlHook* Record = GetHookList()->FindControlHook(Control);
  ASSERT_NE(Record, nullptr);
  EXPECT_EQ(Record->HookCount(), 2);
  EXPECT_EQ(CurrentWndProc(Control->Handle()), Record->NewWndProc());

  // A message handled before the window reaches nothing else.
  Events.clear();
  ProbeOf("B")->StopMsg = WM_STOPPED;
  EXPECT_EQ(SendMessageA(Control->Handle(), WM_STOPPED, 0, 0), 42);
  EXPECT_EQ(Events, (TLog{"B:before:stopped"}));
  // Handled by the first hook to run, the other one has not seen it either way.
  Events.clear();
  ProbeOf("B")->StopMsg = 0;
  ProbeOf("A")->StopMsg = WM_STOPPED;
  EXPECT_EQ(SendMessageA(Control->Handle(), WM_STOPPED, 0, 0), 42);
  EXPECT_EQ(Events, (TLog{"B:before:stopped", "A:before:stopped"}));
}

TEST_F(KsHooksTest, AHandledDestroyStillReachesTheWindowAndTheHooksFollowTheNewWindow) {
  AddHook("A");
  ProbeOf("A")->StopMsg = WM_DESTROY;
  HWND Old = Control->Handle();
  Control->RecreateWnd();
  EXPECT_EQ(Events, (TLog{"A:before:destroy", "window:destroy", "A:after:destroy", "window:ncdestroy"}));
  ASSERT_TRUE(Control->HandleAllocated());
  HWND New = Control->Handle();
  EXPECT_NE(New, Old);

  // The hook is installed again once the posted request is handled.
  TControlHook* Record = GetHookList()->FindControlHook(Control);
  ASSERT_NE(Record, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return CurrentWndProc(New) == Record->NewWndProc(); }));
  Events.clear();
  Ping();
  EXPECT_EQ(Events, (TLog{"A:before:ping", "window:ping", "A:after:ping"}));
}

TEST_F(KsHooksTest, UnhookingPutsTheControlsOwnProcedureBack) {
  WNDPROC Own = CurrentWndProc(Control->Handle());
  TKsHook* Hook = AddHook("A");
  EXPECT_NE(CurrentWndProc(Control->Handle()), Own);
  Hook->SetActive(false);
  EXPECT_EQ(CurrentWndProc(Control->Handle()), Own);
  EXPECT_FALSE(Hook->Active());
  // The emptied record is freed later, outside any window procedure.
  EXPECT_NE(GetHookList()->FindControlHook(Control), nullptr);
  Pump();
  EXPECT_EQ(GetHookList()->FindControlHook(Control), nullptr);
  Ping();
  EXPECT_EQ(Events, (TLog{"window:ping"}));

  Hook->SetActive(true);
  EXPECT_NE(CurrentWndProc(Control->Handle()), Own);
  Events.clear();
  Ping();
  EXPECT_EQ(Events, (TLog{"A:before:ping", "window:ping", "A:after:ping"}));
}

TEST_F(KsHooksTest, AProcedureInstalledAfterOursKeepsWorkingWhenWeUnhook) {
  TKsHook* Hook = AddHook("A");
  HWND Wnd = Control->Handle();
  TLaterSubclass::Install(Wnd, &Events);
  Hook->Free();
  Pump();  // the record goes
  EXPECT_EQ(GetHookList()->FindControlHook(Control), nullptr);
  EXPECT_EQ(CurrentWndProc(Wnd), &TLaterSubclass::Proc);

  // New window procedures take the places that were let go.
  std::vector<WNDPROC> Strays;
  TStray Stray;
  for (int I = 0; I < 8; ++I) Strays.push_back(MakeObjectInstance(TWndMethod::Bind<&TStray::Message>(&Stray)));

  Events.clear();
  EXPECT_EQ(Ping(), 5);
  EXPECT_EQ(Events, (TLog{"later:ping", "window:ping"}));
  EXPECT_EQ(Stray.Calls, 0);

  // The window's end passes through to the control, which lets go of the window.
  Events.clear();
  Control->DestroyHandle();
  EXPECT_EQ(Events, (TLog{"window:destroy", "later:ncdestroy", "window:ncdestroy"}));
  EXPECT_FALSE(Control->HandleAllocated());
  EXPECT_EQ(Stray.Calls, 0);
  for (WNDPROC P : Strays) FreeObjectInstance(P);
}

TEST_F(KsHooksTest, ALinkUnderALaterProcedureOutlivesTheEndOfTheKitAndTheClassLibrary) {
  AddHook("A");
  HWND Wnd = Control->Handle();
  TLaterSubclass::Install(Wnd, &Events);
  // The units end as when the module is unloaded while the window lives on (the
  // window was made by another module), then start again for the tests that follow.
  DoneKsHooks();
  DoneClasses();
  InitClasses();
  InitKsHooks();

  Events.clear();
  EXPECT_EQ(Ping(), 5);  // through the kept link to the control
  EXPECT_EQ(Events, (TLog{"later:ping", "window:ping"}));
  Events.clear();
  Control->DestroyHandle();
  EXPECT_EQ(Events, (TLog{"window:destroy", "later:ncdestroy", "window:ncdestroy"}));
}

TEST_F(KsHooksTest, HooksUnderALaterProcedureRunOnceAndAreHookedAgainAboveItAfterTheyLetGo) {
  TKsHook* Hook = AddHook("A");
  TLaterSubclass::Install(Control->Handle(), &Events);
  TKsHook* Second = AddHook("B");  // ours is in the chain already: no second installation
  Ping();
  EXPECT_EQ(Events, (TLog{"later:ping", "B:before:ping", "A:before:ping", "window:ping",
                       "B:after:ping", "A:after:ping"}));
  Second->SetActive(false);
  Hook->SetActive(false);
  Events.clear();
  Ping();
  EXPECT_EQ(Events, (TLog{"later:ping", "window:ping"}));
  Hook->SetActive(true);
  Events.clear();
  Ping();
  EXPECT_EQ(Events, (TLog{"A:before:ping", "later:ping", "window:ping", "A:after:ping"}));
}

TEST_F(KsHooksTest, AHookThatRaisesLeavesTheMessageToTheWindow) {
  AddHook("A");
  ProbeOf("A")->RaiseMsg = WM_PING;
  EXPECT_EQ(Ping(), 5);
  EXPECT_EQ(Events, (TLog{"A:before:ping", "window:ping", "A:after:ping"}));
  EXPECT_EQ(Log->Messages, (std::vector<std::string>{"hook failed"}));
}

TEST_F(KsHooksTest, ControlsInTheDesignerAreNotHooked) {
  Control->SetComponentStateFlag(csDesigning, true);
  WNDPROC Own = CurrentWndProc(Control->Handle());
  AddHook("A");
  EXPECT_EQ(CurrentWndProc(Control->Handle()), Own);
  Ping();
  EXPECT_EQ(Events, (TLog{"window:ping"}));
  Control->SetComponentStateFlag(csDesigning, false);
}

TEST_F(KsHooksTest, AFreedControlLeavesItsHooksWithoutAControlAndItsRecordIsFreed) {
  TKsHook* Hook = AddHook("A");
  const int Records = GetHookList()->Count();
  Control->Free();
  EXPECT_EQ(Hook->Control(), nullptr);
  EXPECT_EQ(Hook->ControlHook(), nullptr);
  EXPECT_EQ(Events, (TLog{"window:destroy", "window:ncdestroy"}));
  Pump();
  EXPECT_EQ(GetHookList()->Count(), Records - 1);
  Control = nullptr;
}

TEST_F(KsHooksTest, AControlTakenOutOfItsParentRaisesNothingAndCanBeHookedAgain) {
  AddHook("A");
  Control->SetParent(nullptr);
  Pump();
  EXPECT_FALSE(Control->HandleAllocated());
  EXPECT_TRUE(Log->Messages.empty());
  Control->SetParent(Form);
  TControlHook* Record = GetHookList()->FindControlHook(Control);
  ASSERT_NE(Record, nullptr);
  Record->Install();
  Events.clear();
  Ping();
  EXPECT_EQ(Events, (TLog{"A:before:ping", "window:ping", "A:after:ping"}));
}

// A hook component whose message handlers receive the hooked window's messages.
class TProbeHookComponent : public TKsHookComponent {
 public:
  TProbeHookComponent(TComponent* AOwner, TWinControl* Target, TLog* ALog)
      : TKsHookComponent(AOwner), Log(ALog) {
    FHookedControl = Target;
  }
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_STOPPED:
        Log->push_back("component:stopped");
        Message.Result = 7;
        SetHandled(true);
        return;
      case WM_PING: Log->push_back("component:ping"); return;
    }
    TKsHookComponent::Dispatch(Message);
  }
  void AfterMessage(TMessage& Message, bool& /*Handled*/) override {
    if (Message.Msg == WM_PING) Log->push_back("component:after");
  }
  TLog* Log;
};

TEST_F(KsHooksTest, AHookComponentHandlesTheWindowsMessagesWhileActive) {
  auto* Component = NewObject<TProbeHookComponent>(Form, Control, &Events);
  Ping();
  EXPECT_EQ(Events, (TLog{"window:ping"}));
  Component->SetActive(true);
  EXPECT_EQ(Component->GetHookedControl(), Control);
  EXPECT_EQ(Component->GetHookedHandle(), Control->Handle());
  EXPECT_EQ(Component->GetHookedForm(), nullptr);
  Events.clear();
  EXPECT_EQ(Ping(), 5);
  EXPECT_EQ(SendMessageA(Control->Handle(), WM_STOPPED, 0, 0), 7);
  EXPECT_EQ(Events, (TLog{"component:ping", "window:ping", "component:after", "component:stopped"}));
  Component->SetActive(false);
  Events.clear();
  SendMessageA(Control->Handle(), WM_STOPPED, 0, 0);
  EXPECT_EQ(Events, (TLog{"window:stopped"}));

  // On a form it knows the form; freed, its record goes.
  auto* OnForm = NewObject<TProbeHookComponent>(Form, Form, &Events);
  OnForm->SetActive(true);
  EXPECT_EQ(OnForm->GetHookedForm(), Form);
  EXPECT_EQ(SendMessageA(Form->Handle(), WM_STOPPED, 0, 0), 7);
  OnForm->Free();
  EXPECT_EQ(GetHookList()->FindControlHook(Form)->HookCount(), 0);
  Pump();
  EXPECT_EQ(GetHookList()->FindControlHook(Form), nullptr);
}

}  // namespace
