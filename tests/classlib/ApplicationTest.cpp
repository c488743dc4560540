#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

constexpr UINT WM_PROBE = WM_USER + 17;

// Answers WM_PROBE with WParam + LParam and raises on WM_PROBE + 1.
class TMessageTarget : public TObject {
 public:
  void Handle(TMessage& Message) {
    if (Message.Msg == WM_PROBE) {
      Seen.push_back(Message.Msg);
      Message.Result = static_cast<LRESULT>(Message.WParam + Message.LParam + Bias);
    } else if (Message.Msg == WM_PROBE + 1) {
      throw EInvalidOperation("from a window procedure");
    } else {
      Message.Result = DefWindowProcA(Window, Message.Msg, Message.WParam, Message.LParam);
    }
  }
  TWndMethod Method() { return TWndMethod::Bind<&TMessageTarget::Handle>(this); }
  std::vector<UINT> Seen;
  HWND Window = nullptr;
  int Bias = 0;
};

using UtilityWindowTest = UiTest;

TEST_F(UtilityWindowTest, AllocateHWndMakesAHiddenTopLevelWindowForAMethod) {
  TMessageTarget Target;
  HWND Wnd = AllocateHWnd(Target.Method());
  Target.Window = Wnd;
  ASSERT_TRUE(IsWindow(Wnd));
  EXPECT_FALSE(IsWindowVisible(Wnd));
  EXPECT_EQ(GetAncestor(Wnd, GA_PARENT), GetDesktopWindow());  // not message-only
  EXPECT_EQ(SendMessageA(Wnd, WM_PROBE, 2, 3), 5);
  PostMessageA(Wnd, WM_PROBE, 0, 0);
  Pump();
  EXPECT_EQ(Target.Seen.size(), 2u);
  EXPECT_EQ(SendMessageA(Wnd, WM_PROBE + 1, 0, 0), 0);
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"from a window procedure"});
  DeallocateHWnd(Wnd);
  EXPECT_FALSE(IsWindow(Wnd));
}

TEST_F(UtilityWindowTest, ObjectInstancesBindWindowProceduresToObjects) {
  TMessageTarget First, Second;
  Second.Bias = 100;
  WNDPROC FirstProc = MakeObjectInstance(First.Method());
  WNDPROC SecondProc = MakeObjectInstance(Second.Method());
  HWND Wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  First.Window = Second.Window = Wnd;
  auto Original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FirstProc)));
  EXPECT_EQ(SendMessageA(Wnd, WM_PROBE, 1, 2), 3);
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SecondProc));
  EXPECT_EQ(SendMessageA(Wnd, WM_PROBE, 1, 2), 103);
  EXPECT_EQ(CallWindowProcA(FirstProc, Wnd, WM_PROBE, 4, 4), 8);
  SendMessageA(Wnd, WM_PROBE + 1, 0, 0);
  EXPECT_EQ(Log->Messages.size(), 1u);
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Original));
  DestroyWindow(Wnd);
  FreeObjectInstance(FirstProc);
  FreeObjectInstance(SecondProc);
  // A freed instance is reused.
  WNDPROC Again = MakeObjectInstance(First.Method());
  EXPECT_TRUE(Again == SecondProc || Again == FirstProc);
  FreeObjectInstance(Again);
}

using TimerTest = UiTest;

TEST_F(TimerTest, ATimerFiresFromTheLoopAndSurvivesAnExceptionInItsHandler) {
  int Fired = 0;
  TNotifyHandler Handler([&](TObject*) {
    if (++Fired == 1) throw Exception("first tick failed");
  });
  TTimer* Timer = Keep(NewObject<TTimer>(nullptr));
  Timer->SetInterval(10);
  Timer->OnTimer = Handler.Event();
  EXPECT_TRUE(PumpUntil([&] { return Fired >= 3; }));
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"first tick failed"});
  EXPECT_EQ(Log->Senders.at(0), Timer);
  Timer->SetEnabled(false);
  Pump();
  int Stopped = Fired;
  Pump(60);
  EXPECT_EQ(Fired, Stopped);
}

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, HandleMessageRunsIdleProcessingWhenTheQueueIsEmpty) {
  Pump();
  int Idles = 0;
  struct TIdle : TObject {
    int* Count;
    void Idle(TObject*, bool& Done) {
      ++*Count;
      Done = false;  // do not wait for a message
    }
  } Idle;
  Idle.Count = &Idles;
  Application->OnIdle = TIdleEvent::Bind<&TIdle::Idle>(&Idle);
  TMessageTarget Target;
  HWND Wnd = AllocateHWnd(Target.Method());
  Target.Window = Wnd;
  PostMessageA(Wnd, WM_PROBE, 0, 0);
  Application->HandleMessage();
  EXPECT_EQ(Target.Seen.size(), 1u);
  EXPECT_EQ(Idles, 0);
  Application->HandleMessage();
  EXPECT_EQ(Idles, 1);
  Application->OnIdle = nullptr;
  DeallocateHWnd(Wnd);
}

TEST_F(ApplicationTest, HandleExceptionNamesEveryKindOfError) {
  auto Handle = [](auto Raise) {
    try {
      Raise();
    } catch (...) {
      Application->HandleException(nullptr);
    }
  };
  Handle([] { throw std::runtime_error("standard"); });
  Handle([] { throw 42; });
  Handle([] { Abort(); });
  EXPECT_EQ(Log->Messages, (std::vector<std::string>{"standard", "Unknown exception"}));
  // Outside a catch block there is nothing to handle, and nothing ends the process.
  Application->HandleException(nullptr);
  EXPECT_EQ(Log->Messages.size(), 2u);
}

TEST_F(ApplicationTest, TheScreenKnowsFormsMonitorsAndCursors) {
  TForm* Form = ShownForm();
  bool Listed = false;
  for (int I = 0; I < Screen->FormCount(); ++I) Listed = Listed || Screen->Forms(I) == Form;
  EXPECT_TRUE(Listed);
  ASSERT_GE(Screen->MonitorCount(), 1);
  TMonitor* Primary = Screen->PrimaryMonitor();
  ASSERT_NE(Primary, nullptr);
  EXPECT_EQ(Primary->Width(), Screen->Width());
  EXPECT_EQ(Screen->MonitorFromWindow(Form->Handle()), Primary);
  TRect Work = Screen->WorkAreaRect();
  TRect Desktop = Screen->DesktopRect();
  EXPECT_TRUE(Work.left >= Desktop.left && Work.right <= Desktop.right && Work.bottom <= Desktop.bottom);
  EXPECT_NE(Screen->Cursors(crHandPoint), nullptr);
  EXPECT_NE(Screen->Cursors(crHandPoint), Screen->Cursors(crArrow));
  EXPECT_EQ(Screen->Cursors(crDefault), Screen->Cursors(crArrow));
  HCURSOR Custom = CopyCursor(LoadCursorA(nullptr, IDC_CROSS));
  Screen->SetCursors(7, Custom);
  EXPECT_EQ(Screen->Cursors(7), Custom);
  Screen->SetCursors(7, nullptr);
  EXPECT_EQ(Screen->Cursors(7), Screen->Cursors(crArrow));
}

TEST_F(ApplicationTest, SettingChangesReachEveryControlOfAForm) {
  std::vector<std::string> Events;
  TForm* Form = ShownForm();
  struct TListener : TProbe {
    using TProbe::TProbe;
    void Dispatch(TMessage& Message) override {
      if (Message.Msg == CM_WININICHANGE) Note("ini");
      if (Message.Msg == CM_SYSCOLORCHANGE) Note("colors");
      TProbe::Dispatch(Message);
    }
  };
  auto* Outer = NewObject<TListener>(Form, &Events);
  Outer->SetName("Outer");
  Outer->SetControlStyle(Outer->ControlStyle() + TControlStyle{csAcceptsControls});
  Outer->SetParent(Form);
  auto* Inner = NewObject<TListener>(Form, &Events);
  Inner->SetName("Inner");
  Inner->SetParent(Outer);
  Events.clear();
  SendMessageA(Form->Handle(), WM_SETTINGCHANGE, 0, 0);
  SendMessageA(Form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"Outer:ini", "Inner:ini", "Outer:colors", "Inner:colors"}));
}

}  // namespace
