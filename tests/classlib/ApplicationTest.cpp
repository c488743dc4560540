#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Classes.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/CursorSupport.h"

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

// Counts OnIdle and answers Done as told.
struct TIdleCounter : TObject {
  int Count = 0;
  bool Answer = true;
  void Idle(TObject*, bool& Done) {
    ++Count;
    Done = Answer;
  }
  TIdleEvent Event() { return TIdleEvent::Bind<&TIdleCounter::Idle>(this); }
};

// A control that follows an action.
class TActionProbe : public TProbe {
 public:
  using TProbe::TProbe;
  TBasicAction* Action() const override { return Linked; }
  TBasicAction* Linked = nullptr;
};

// An action that counts its updates.
class TCountingAction : public TAction {
 public:
  using TAction::TAction;
  bool Update() override { return ++Updates, true; }
  int Updates = 0;
};

class IdleStepTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->OnIdle = Idle.Event();
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    UiTest::TearDown();
  }
  TIdleCounter Idle;
};

TEST_F(IdleStepTest, TheStepFiresOnIdleAndReturnsItsAnswerWithoutWaiting) {
  Pump();
  EXPECT_TRUE(Application->DoIdle());  // the queue is empty: a wait would hang here
  EXPECT_EQ(Idle.Count, 1);
  Idle.Answer = false;
  EXPECT_FALSE(Application->DoIdle());
  EXPECT_EQ(Idle.Count, 2);
}

TEST_F(IdleStepTest, ShownFormsUpdateTheActionsOfTheirListsAndControlsOnceEach) {
  TForm* Form = ShownForm();
  auto* List = NewObject<TActionList>(Form);
  auto* Listed = NewObject<TCountingAction>(Form);
  Listed->SetActionList(List);
  auto* Unlisted = NewObject<TCountingAction>(Form);
  auto* First = AddChild<TActionProbe>(Form);
  First->Linked = Listed;  // also in the list: still one update
  auto* Second = AddChild<TActionProbe>(Form);
  Second->SetTop(30);
  Second->Linked = Unlisted;
  auto* Hidden = AddChild<TActionProbe>(Form);
  auto* OfHidden = NewObject<TCountingAction>(Form);
  Hidden->Linked = OfHidden;
  Hidden->SetVisible(false);

  TForm* Closed = Keep(NewObject<TForm>(nullptr));
  auto* ClosedList = NewObject<TActionList>(Closed);
  auto* OfClosed = NewObject<TCountingAction>(Closed);
  OfClosed->SetActionList(ClosedList);

  EXPECT_TRUE(Application->DoIdle());
  EXPECT_EQ(Listed->Updates, 1);
  EXPECT_EQ(Unlisted->Updates, 1);
  EXPECT_EQ(OfHidden->Updates, 0);
  EXPECT_EQ(OfClosed->Updates, 0);

  // OnIdle that wants to be called again leaves the actions for a later pass.
  Idle.Answer = false;
  Application->DoIdle();
  EXPECT_EQ(Listed->Updates, 1);
  // A disabled form (behind a modal one) updates nothing either.
  Idle.Answer = true;
  EnableWindow(Form->Handle(), FALSE);
  Application->DoIdle();
  EXPECT_EQ(Listed->Updates, 1);
  EnableWindow(Form->Handle(), TRUE);
  Application->DoIdle();
  EXPECT_EQ(Listed->Updates, 2);
}

TEST_F(IdleStepTest, TheHintIsTheLongHintOfTheControlUnderTheMouseOrItsParent) {
  TForm* Form = ShownForm();
  Form->SetHint("Form");
  auto* Panel = AddChild<TPanel>(Form);
  Panel->SetBounds(0, 0, 150, 100);
  Panel->SetHint("Short|The panel's long hint");
  auto* Inner = AddChild<TProbe>(Panel);
  Inner->SetBounds(10, 10, 40, 40);
  auto* Other = AddChild<TProbe>(Form);
  Other->SetBounds(200, 10, 40, 40);
  Other->SetHint("Plain");
  Pump();
  TChangeCounter Hints;
  Application->OnHint = Hints.Event();
  auto MouseAt = [](TControl* Control) {
    const TPoint P = Control->ClientToScreen(TPoint{5, 5});
    ASSERT_TRUE(PlaceCursor(P.x, P.y));
    Application->DoIdle();
  };
  MouseAt(Inner);
  EXPECT_EQ(Application->Hint(), "The panel's long hint");
  MouseAt(Other);
  EXPECT_EQ(Application->Hint(), "Plain");
  MouseAt(Other);
  EXPECT_EQ(Hints.Count, 2);  // only a change is told
  Application->OnHint = nullptr;
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
