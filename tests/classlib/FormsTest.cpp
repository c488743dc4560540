#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace uitest;

namespace {

// A form owned by a window of the caller's choice, as a dialog is owned by the
// host's main window.
class TOwnedForm : public TForm {
 public:
  TOwnedForm(TComponent* AOwner, HWND AOwnerWindow) : TForm(AOwner), FOwnerWindow(AOwnerWindow) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TForm::CreateParams(Params);
    Params.WndParent = FOwnerWindow;
  }

 private:
  HWND FOwnerWindow;
};

HWND PlainWindow(bool Visible, int X = 600) {
  return CreateWindowExA(0, "STATIC", "plain", WS_OVERLAPPEDWINDOW | (Visible ? WS_VISIBLE : 0), X,
                         500, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TButton* AddButton(TWinControl* Parent, const char* Caption, int Left, TModalResult Result = mrNone) {
  TButton* Button = AddChild<TButton>(Parent);
  Button->SetBounds(Left, 150, 75, 25);
  Button->SetCaption(Caption);
  Button->SetModalResult(Result);
  return Button;
}

// Runs Action on each tick; after many ticks ends the modal loop so that a failing
// test cannot hang.
struct TTicker {
  TTicker(TCustomForm* AForm, std::function<void(int)> AAction)
      : Form(AForm), Action(std::move(AAction)), Handler([this](TObject*) {
          ++Ticks;
          if (Ticks > 100)
            Form->SetModalResult(mrAbort);
          else
            Action(Ticks);
        }) {
    Timer = NewObject<TTimer>(nullptr);
    Timer->SetInterval(20);
    Timer->OnTimer = Handler.Event();
  }
  ~TTicker() { Timer->Free(); }
  TCustomForm* Form;
  std::function<void(int)> Action;
  TNotifyHandler Handler;
  TTimer* Timer;
  int Ticks = 0;
};

// ---------------------------------------------------------------------------------

using ModalTest = UiTest;

TEST_F(ModalTest, AButtonClickedFromATimerEndsTheLoopWithItsResult) {
  HWND Host = PlainWindow(true);
  HWND Bystander = PlainWindow(true, 650);
  HWND HiddenOne = PlainWindow(false);
  auto* Form = Keep(NewObject<TOwnedForm>(nullptr, Host));
  TButton* Ok = AddButton(Form, "OK", 10, mrOk);
  bool HostEnabled = true, BystanderEnabled = true, HiddenEnabled = false, FormVisible = false;
  TTicker Ticker(Form, [&](int Tick) {
    if (Tick != 2) return;
    HostEnabled = IsWindowEnabled(Host);
    BystanderEnabled = IsWindowEnabled(Bystander);
    HiddenEnabled = IsWindowEnabled(HiddenOne);
    FormVisible = IsWindowVisible(Form->Handle()) && IsWindowEnabled(Form->Handle());
    SendMessageA(Ok->Handle(), BM_CLICK, 0, 0);
  });

  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(Ticker.Ticks, 2);
  EXPECT_EQ(GetWindow(Form->Handle(), GW_OWNER), Host);
  EXPECT_FALSE(HostEnabled);
  EXPECT_FALSE(BystanderEnabled);
  EXPECT_TRUE(HiddenEnabled);  // hidden windows other than the owner are left alone
  EXPECT_TRUE(FormVisible);
  EXPECT_TRUE(IsWindowEnabled(Host));
  EXPECT_TRUE(IsWindowEnabled(Bystander));
  EXPECT_FALSE(Form->Visible());
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
  EXPECT_FALSE(Form->FormState().Contains(fsModal));
  DestroyWindow(Host);
  DestroyWindow(Bystander);
  DestroyWindow(HiddenOne);
}

TEST_F(ModalTest, TheCloseBoxGivesCancelOnceCloseQueryAgrees) {
  HWND Owner = PlainWindow(false);  // the owner is disabled even while hidden
  auto* Form = Keep(NewObject<TOwnedForm>(nullptr, Owner));
  int Queries = 0;
  bool OwnerEnabled = true;
  struct TQuery : TObject {
    int* Count;
    void CloseQuery(TObject*, bool& CanClose) { CanClose = ++*Count > 1; }
  } Query;
  Query.Count = &Queries;
  Form->OnCloseQuery = TCloseQueryEvent::Bind<&TQuery::CloseQuery>(&Query);
  TTicker Ticker(Form, [&](int Tick) {
    OwnerEnabled = OwnerEnabled && IsWindowEnabled(Owner);
    if (Tick <= 2) PostMessageA(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(Form->ShowModal(), mrCancel);
  EXPECT_EQ(Queries, 2);  // the first close was refused and the loop went on
  EXPECT_FALSE(OwnerEnabled);
  EXPECT_TRUE(IsWindowEnabled(Owner));
  DestroyWindow(Owner);
}

TEST_F(ModalTest, AnExceptionInAClickHandlerIsHandledAndTheLoopGoesOn) {
  TForm* Form = Keep(NewObject<TForm>(nullptr));
  TButton* Fails = AddButton(Form, "Fails", 10);
  TButton* Ok = AddButton(Form, "OK", 100, mrOk);
  TNotifyHandler Raise([](TObject*) { throw EConvertError("bad input"); });
  Fails->OnClick = Raise.Event();
  TTicker Ticker(Form, [&](int Tick) {
    if (Tick == 1) SendMessageA(Fails->Handle(), BM_CLICK, 0, 0);
    if (Tick == 2) SendMessageA(Ok->Handle(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(Form->ShowModal(), mrOk);
  ASSERT_EQ(Log->Messages, std::vector<std::string>{"bad input"});
  EXPECT_TRUE(ShownMessages.empty());  // OnException took it
}

TEST_F(ModalTest, AVisibleFormCannotBecomeModal) {
  TForm* Form = ShownForm();
  ExpectRaises<EInvalidOperation>([&] { Form->ShowModal(); }, "Cannot make a visible window modal");
}

TEST_F(ModalTest, WithoutOnExceptionTheErrorIsShownThroughTheSeam) {
  Application->OnException = nullptr;
  TForm* Form = ShownForm();
  TButton* Fails = AddButton(Form, "Fails", 10);
  TNotifyHandler Raise([](TObject*) { throw Exception("shown"); });
  Fails->OnClick = Raise.Event();
  SendMessageA(Fails->Handle(), BM_CLICK, 0, 0);
  TNotifyHandler Quiet([](TObject*) { Abort(); });
  Fails->OnClick = Quiet.Event();
  SendMessageA(Fails->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(ShownMessages, std::vector<std::string>{"shown"});  // EAbort is silent
}

TEST_F(ModalTest, AFormWhoseOnHideRaisesIsFreedByItsScopeAndTheErrorShownOnce) {
  Application->OnException = nullptr;
  TNotifyHandler Raise([](TObject*) { throw EInvalidOperation("cannot hide"); });
  HWND Window = nullptr;
  {
    TOwned<TForm> Form(NewObject<TForm>(nullptr));
    Form->OnHide = Raise.Event();
    Form->Show();
    Pump();
    Window = Form->Handle();
  }
  Pump();
  EXPECT_FALSE(IsWindow(Window));
  EXPECT_EQ(ShownMessages, std::vector<std::string>{"cannot hide"});
}

TEST_F(ModalTest, AFormWhoseOnHideRaisesIsHiddenAllTheSame) {
  TForm* Form = ShownForm();
  TNotifyHandler Raise([](TObject*) { throw EInvalidOperation("cannot hide"); });
  Form->OnHide = Raise.Event();
  EXPECT_NO_THROW(Form->Hide());
  Pump();
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"cannot hide"});
}

// ---------------------------------------------------------------------------------

class DialogKeyTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm();
    Edit = NewObject<TProbe>(Form);
    Edit->SetParent(Form);
    Ok = AddButton(Form, "OK", 10);
    Ok->SetDefault(true);
    Cancel = AddButton(Form, "Cancel", 100);
    Cancel->SetCancel(true);
    Ok->OnClick = OkHandler.Event();
    Cancel->OnClick = CancelHandler.Event();
    Form->SetActiveControl(Edit);
    Pump();
  }
  TForm* Form = nullptr;
  TProbe* Edit = nullptr;
  TButton* Ok = nullptr;
  TButton* Cancel = nullptr;
  int OkClicks = 0;
  int CancelClicks = 0;
  TNotifyHandler OkHandler{[this](TObject*) { ++OkClicks; }};
  TNotifyHandler CancelHandler{[this](TObject*) { ++CancelClicks; }};
};

TEST_F(DialogKeyTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
  ASSERT_EQ(GetFocus(), Edit->Handle());
  HeldKeys = {VK_SHIFT};  // not with a shift key held
  PressKey(VK_RETURN);
  HeldKeys.clear();
  EXPECT_EQ(OkClicks, 0);
  PressKey(VK_RETURN);
  EXPECT_EQ(OkClicks, 1);
  EXPECT_EQ(CancelClicks, 0);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(OkClicks, 1);
  EXPECT_EQ(CancelClicks, 1);
  // The default button shows as such while no other button has the focus.
  EXPECT_EQ(GetWindowLongA(Ok->Handle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  Ok->SetDefault(false);
  PressKey(VK_RETURN);
  EXPECT_EQ(OkClicks, 1);
}

TEST_F(DialogKeyTest, AFocusedButtonTakesEnterInsteadOfTheDefaultOne) {
  Cancel->SetFocus();
  Pump();
  ASSERT_EQ(GetFocus(), Cancel->Handle());
  EXPECT_EQ(GetWindowLongA(Ok->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
  PressKey(VK_RETURN);
  EXPECT_EQ(CancelClicks, 1);
  EXPECT_EQ(OkClicks, 0);
}

TEST_F(DialogKeyTest, ModalResultOfTheDefaultButtonEndsAModalLoop) {
  TForm* Dialog = Keep(NewObject<TForm>(nullptr));
  TProbe* Field = AddChild<TProbe>(Dialog);
  AddButton(Dialog, "OK", 10, mrOk)->SetDefault(true);
  AddButton(Dialog, "Cancel", 100, mrCancel)->SetCancel(true);
  for (Word Key : {VK_RETURN, VK_ESCAPE}) {
    TTicker Ticker(Dialog, [&](int Tick) {
      if (Tick == 1) PostMessageA(Field->Handle(), WM_KEYDOWN, Key, 1);
    });
    EXPECT_EQ(Dialog->ShowModal(), Key == VK_RETURN ? mrOk : mrCancel);
  }
}

// ---------------------------------------------------------------------------------

class MnemonicTest : public DialogKeyTest {
 protected:
  void SetUp() override {
    DialogKeyTest::SetUp();
    Target = NewObject<TProbe>(Form);
    Target->SetParent(Form);
    Target->SetLeft(200);
    Label = NewObject<TLabel>(Form);
    Label->SetParent(Form);
    Label->SetCaption("&Name:");
    Label->SetFocusControl(Target);
  }
  TProbe* Target = nullptr;
  TLabel* Label = nullptr;
};

TEST_F(MnemonicTest, AltAndTheLabelsLetterFocusItsControl) {
  PostMessageA(Edit->Handle(), WM_SYSCHAR, 'q', 0x20000001);  // another letter: nothing
  Pump();
  EXPECT_EQ(GetFocus(), Edit->Handle());
  PostMessageA(Edit->Handle(), WM_SYSCHAR, 'n', 0x20000001);
  Pump();
  EXPECT_EQ(GetFocus(), Target->Handle());
  EXPECT_EQ(Form->ActiveControl(), Target);
}

TEST_F(MnemonicTest, TheLetterAloneWorksUnlessTheFocusedControlWantsCharacters) {
  Edit->WantChars = true;
  PostMessageA(Edit->Handle(), WM_CHAR, 'N', 1);
  Pump();
  EXPECT_EQ(GetFocus(), Edit->Handle());
  Edit->WantChars = false;
  PostMessageA(Edit->Handle(), WM_CHAR, 'N', 1);
  Pump();
  EXPECT_EQ(GetFocus(), Target->Handle());
}

TEST_F(MnemonicTest, ButtonMnemonicsClickAndDisabledOrFreedTargetsAreSkipped) {
  Cancel->SetCaption("&Abandon");
  Target->SetEnabled(false);
  PostMessageA(Edit->Handle(), WM_SYSCHAR, 'n', 0x20000001);
  PostMessageA(Edit->Handle(), WM_SYSCHAR, 'a', 0x20000001);
  Pump();
  EXPECT_EQ(GetFocus(), Edit->Handle());
  EXPECT_EQ(CancelClicks, 1);
  // The label forgets a freed control.
  Target->Free();
  EXPECT_EQ(Label->FocusControl(), nullptr);
  PostMessageA(Edit->Handle(), WM_SYSCHAR, 'n', 0x20000001);
  Pump();
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST(HotkeyTest, TheLetterAfterASingleAmpersand) {
  EXPECT_EQ(GetHotkey("&Next >"), 'N');
  EXPECT_EQ(GetHotkey("Save && E&xit"), 'x');
  EXPECT_EQ(GetHotkey("None &&"), '\0');
  EXPECT_TRUE(IsAccel('x', "E&Xit"));
  EXPECT_FALSE(IsAccel('e', "E&xit"));
}

// ---------------------------------------------------------------------------------

class FocusTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm();
    A = Add("A", 10);
    B = Add("B", 60);
    C = Add("C", 110);
    C->SetTabOrder(0);  // C, A, B
    Events.clear();
  }
  TProbe* Add(const char* Name, int Left) {
    TProbe* Probe = NewObject<TProbe>(Form, &Events);
    Probe->SetName(Name);
    Probe->SetParent(Form);
    Probe->SetLeft(Left);
    return Probe;
  }
  void Tab() {
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    Pump();
  }

  std::vector<std::string> Events;
  TForm* Form = nullptr;
  TProbe* A = nullptr;
  TProbe* B = nullptr;
  TProbe* C = nullptr;
};

TEST_F(FocusTest, TabFollowsTheTabOrderAndShiftTabGoesBack) {
  EXPECT_EQ(C->TabOrder(), 0);
  EXPECT_EQ(B->TabOrder(), 2);
  Tab();
  EXPECT_EQ(GetFocus(), C->Handle());
  Tab();
  EXPECT_EQ(GetFocus(), A->Handle());
  Tab();
  Tab();
  EXPECT_EQ(GetFocus(), C->Handle());  // round again
  EXPECT_TRUE(C->Focused());
  EXPECT_EQ(Screen->ActiveControl(), C);
  HeldKeys = {VK_SHIFT};
  Tab();
  EXPECT_EQ(GetFocus(), B->Handle());
  EXPECT_EQ(Events, (std::vector<std::string>{"C:enter", "C:exit", "A:enter", "A:exit", "B:enter",
                                              "B:exit", "C:enter", "C:exit", "B:enter"}));
}

TEST_F(FocusTest, DisabledHiddenAndNonTabStopControlsAreSkipped) {
  A->SetEnabled(false);
  B->SetTabStop(false);
  C->Hide();
  auto* D = Add("D", 160);
  Tab();
  EXPECT_EQ(GetFocus(), D->Handle());
  Tab();
  EXPECT_EQ(GetFocus(), D->Handle());
  ExpectRaises<EInvalidOperation>([&] { Form->SetActiveControl(C); },
                                  "Cannot focus a disabled or invisible window");
}

TEST_F(FocusTest, FocusMovesThroughNestedContainersWithEnterAndExit) {
  auto* Panel = NewObject<TProbe>(Form, &Events);
  Panel->SetName("Panel");
  Panel->SetControlStyle(Panel->ControlStyle() + TControlStyle{csAcceptsControls});
  Panel->SetParent(Form);
  Panel->SetBounds(0, 50, 200, 60);
  Panel->SetTabStop(false);
  auto* Inner = NewObject<TProbe>(Form, &Events);
  Inner->SetName("Inner");
  Inner->SetParent(Panel);
  A->SetFocus();
  Pump();
  Events.clear();
  Inner->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), Inner->Handle());
  B->SetFocus();
  Pump();
  EXPECT_EQ(Events, (std::vector<std::string>{"A:exit", "Panel:enter", "Inner:enter", "Inner:exit",
                                              "Panel:exit", "B:enter"}));
}

TEST_F(FocusTest, AnExceptionWhileLeavingKeepsTheFocusWhereItWas) {
  A->SetFocus();
  Pump();
  ASSERT_EQ(GetFocus(), A->Handle());
  TNotifyHandler Refuse([](TObject*) { throw EConvertError("fill in A first"); });
  A->OnExit = Refuse.Event();
  B->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), A->Handle());
  EXPECT_EQ(Form->ActiveControl(), A);
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"fill in A first"});
  A->OnExit = nullptr;
  B->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), B->Handle());
}

TEST_F(FocusTest, TheActiveControlSetBeforeShowingGetsTheFocus) {
  TForm* Other = Keep(NewObject<TForm>(nullptr));
  AddChild<TProbe>(Other);  // first in the tab order
  auto* Second = AddChild<TProbe>(Other);
  Second->SetTop(30);
  Other->SetActiveControl(Second);
  Other->Show();
  Pump();
  EXPECT_EQ(GetFocus(), Second->Handle());
  EXPECT_EQ(Screen->ActiveCustomForm(), Other);
  EXPECT_EQ(Screen->FocusedForm(), Other);
}

}  // namespace

namespace {

using FrameTest = FocusTest;

TEST_F(FrameTest, AFramesControlsTakePartInTheFormsTabOrder) {
  TFrame* Frame = AddChild<TFrame>(Form);
  Frame->SetBounds(0, 60, 200, 50);
  Frame->SetTabOrder(1);  // C, Frame, A, B
  auto* Inner1 = NewObject<TProbe>(Frame, &Events);
  Inner1->SetName("Inner1");
  Inner1->SetParent(Frame);
  auto* Inner2 = NewObject<TProbe>(Frame, &Events);
  Inner2->SetName("Inner2");
  Inner2->SetParent(Frame);
  TComponent* Helper = NewObject<TComponent>(Frame);
  EXPECT_EQ(GetParentForm(Inner2), Form);

  C->SetFocus();
  Pump();
  Tab();
  EXPECT_EQ(GetFocus(), Inner1->Handle());
  Tab();
  EXPECT_EQ(GetFocus(), Inner2->Handle());
  Tab();
  EXPECT_EQ(GetFocus(), A->Handle());

  // Streaming sees the frame's own controls, then its other components.
  std::vector<TComponent*> Children;
  struct TCollector : TObject {
    std::vector<TComponent*>* List;
    void Add(TComponent* Child) { List->push_back(Child); }
  } Collector;
  Collector.List = &Children;
  Frame->GetChildren(TGetChildProc::Bind<&TCollector::Add>(&Collector), Frame);
  EXPECT_EQ(Children, (std::vector<TComponent*>{Inner1, Inner2, Helper}));
}

}  // namespace

namespace {

using FormBorderTest = UiTest;

TEST_F(FormBorderTest, TheBorderRingShrinksTheClientAreaAndIsPaintedInTheFormsColour) {
  TForm* Form = Keep(NewObject<TForm>(nullptr, CreateNew));
  Form->SetColor(static_cast<TColor>(RGB(0, 128, 0)));
  Form->SetBounds(100, 100, 300, 200);
  const int Before = Form->ClientWidth();
  Form->SetBorderWidth(6);
  EXPECT_EQ(Form->ClientWidth(), Before - 12) << "before the window is made";
  Form->Show();
  Pump();
  EXPECT_EQ(Form->ClientWidth(), Before - 12);
  EXPECT_EQ(Form->Width(), 300);
  RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  // Three pixels left of the client area, on its middle row: inside the ring.
  POINT Origin{0, 0};
  RECT Window;
  ClientToScreen(Form->Handle(), &Origin);
  GetWindowRect(Form->Handle(), &Window);
  const HDC DC = GetWindowDC(Form->Handle());
  const COLORREF Ring = GetPixel(DC, Origin.x - Window.left - 3, Origin.y - Window.top + Form->ClientHeight() / 2);
  ReleaseDC(Form->Handle(), DC);
  EXPECT_EQ(Ring, static_cast<COLORREF>(RGB(0, 128, 0)));
  Form->SetBorderWidth(0);
  EXPECT_EQ(Form->ClientWidth(), Before);
  Form->SetBorderWidth(-4);
  EXPECT_EQ(Form->BorderWidth(), 0);
}

}  // namespace

namespace {

using FormShowTest = UiTest;

TEST_F(FormShowTest, ShowShowsAWindowHiddenBehindTheFormsBack) {
  TForm* Form = Keep(NewObject<TForm>(nullptr, CreateNew));
  Form->SetBounds(100, 100, 300, 200);
  Form->Show();
  Pump();
  ShowWindow(Form->Handle(), SW_HIDE);
  ASSERT_TRUE(Form->Visible());
  Form->Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
  EXPECT_TRUE(Form->Visible());
}

}  // namespace
