#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace uitest;

namespace {

std::string WindowClassName(HWND Wnd) {
  char Name[128] = "";
  GetClassNameA(Wnd, Name, sizeof(Name));
  return Name;
}

// A button that reports the reflected notifications it receives.
class TReflectingButton : public TButton {
 public:
  using TButton::TButton;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CN_COMMAND) Commands.push_back(HIWORD(Message.WParam));
    TButton::Dispatch(Message);
  }
  std::vector<int> Commands;
};

// A control whose window class has a name and style of its own.
class TNamedClassControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.WinClassName = "TarvikTestNamedClass";
    Params.WindowClass.style |= CS_OWNDC;
  }
};

// ---------------------------------------------------------------------------------

using WindowTest = UiTest;

TEST_F(WindowTest, WindowsAreMadeFromCreateParamsOnFirstNeedUnderAParentWindow) {
  TOwned<TButton> Orphan(NewObject<TButton>(nullptr));
  Orphan->SetName("Orphan");
  ExpectRaises<EInvalidOperation>([&] { Orphan->Handle(); }, "Control 'Orphan' has no parent window");

  TForm* Form = Keep(NewObject<TForm>(nullptr));
  TButton* Button = AddChild<TButton>(Form);
  Button->SetBounds(10, 20, 80, 25);
  Button->SetCaption("&Go");
  EXPECT_FALSE(Button->HandleAllocated());

  HWND Wnd = Button->Handle();
  ASSERT_TRUE(IsWindow(Wnd));
  EXPECT_TRUE(Form->HandleAllocated());  // the parent's window comes first
  EXPECT_EQ(GetParent(Wnd), Form->Handle());
  EXPECT_EQ(FindControl(Wnd), Button);
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  // The button is a subclassed system button under the control's class name.
  EXPECT_EQ(WindowClassName(Wnd), "TButton");
  EXPECT_NE(SendMessageA(Wnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, 0);
  char Text[16] = "";
  GetWindowTextA(Wnd, Text, sizeof(Text));
  EXPECT_STREQ(Text, "&Go");
  RECT R;
  GetWindowRect(Wnd, &R);
  MapWindowPoints(HWND_DESKTOP, Form->Handle(), reinterpret_cast<POINT*>(&R), 2);
  EXPECT_EQ(R.left, 10);
  EXPECT_EQ(R.bottom - R.top, 25);
  // A top-level form is owned by the application's hidden window.
  EXPECT_EQ(GetWindow(Form->Handle(), GW_OWNER), Application->Handle());
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));

  auto* Named = AddChild<TNamedClassControl>(Form);
  EXPECT_EQ(WindowClassName(Named->Handle()), "TarvikTestNamedClass");
  EXPECT_NE(GetClassLongA(Named->Handle(), GCL_STYLE) & CS_OWNDC, 0u);
  EXPECT_NE(GetClassLongA(Named->Handle(), GCL_STYLE) & CS_DBLCLKS, 0u);
  // A control is not put inside itself, nor inside a control of its own: refused before
  // it leaves its parent, it keeps its window.
  auto* Inner = AddChild<TNamedClassControl>(Named);
  ExpectRaises<EInvalidOperation>([&] { Named->SetParent(Named); }, "A control cannot have itself as its parent");
  ExpectRaises<EInvalidOperation>([&] { Named->SetParent(Inner); },
                                  "A control cannot have a control inside it as its parent");
  EXPECT_EQ(Named->Parent(), Form);
  EXPECT_EQ(GetParent(Inner->Handle()), Named->Handle());
  // Moved from a window outside the library to one the system cannot put it under (a
  // window gone), the control is refused and stays where it was.
  TOwned<TButton> Outside(NewObject<TButton>(nullptr));
  Outside->SetParentWindow(Form->Handle());
  const HWND OutsideWindow = Outside->Handle();
  const HWND Gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(Gone);
  EXPECT_THROW(Outside->SetParentWindow(Gone), EOSError);
  EXPECT_EQ(Outside->ParentWindow(), Form->Handle());
  EXPECT_EQ(Outside->Handle(), OutsideWindow);
  EXPECT_EQ(GetParent(OutsideWindow), Form->Handle());
}

TEST_F(WindowTest, AWindowDestroyedFromOutsideIsMadeAgainOnDemand) {
  TForm* Form = ShownForm();
  auto* Button = AddChild<TReflectingButton>(Form);
  Button->SetCaption("Again");
  HWND Old = Button->Handle();
  ASSERT_TRUE(IsWindowVisible(Old));

  DestroyWindow(Old);
  EXPECT_FALSE(Button->HandleAllocated());
  EXPECT_FALSE(Button->Showing());
  EXPECT_EQ(FindControl(Old), nullptr);
  EXPECT_EQ(Button->Caption(), "Again");  // kept by the control

  HWND New = Button->Handle();
  ASSERT_TRUE(IsWindow(New));
  EXPECT_EQ(GetParent(New), Form->Handle());
  EXPECT_TRUE(IsWindowVisible(New));
  EXPECT_EQ(FindControl(New), Button);
  SendMessageA(New, BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(Button->Commands, std::vector<int>{BN_CLICKED});

  // The form's own window too; its children lose theirs with it.
  DestroyWindow(Form->Handle());
  EXPECT_FALSE(Form->HandleAllocated());
  EXPECT_FALSE(Button->HandleAllocated());
  EXPECT_TRUE(IsWindow(Button->Handle()));
}

// A control whose DestroyWnd fails before it destroys anything.
class TFailingDestroy : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  bool Fail = true;

 protected:
  void DestroyWnd() override {
    if (Fail) throw EInvalidOperation("cannot save the state");
    TCustomControl::DestroyWnd();
  }
};

TEST_F(WindowTest, DestroyingAWindowNeverRaisesAndTheWindowStillGoes) {
  TForm* Form = ShownForm();
  auto* Control = AddChild<TFailingDestroy>(Form);
  HWND Old = Control->Handle();

  EXPECT_NO_THROW(Control->DestroyHandle());
  EXPECT_FALSE(Control->HandleAllocated());
  EXPECT_FALSE(IsWindow(Old));
  EXPECT_EQ(FindControl(Old), nullptr);
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"cannot save the state"});
  EXPECT_EQ(Log->Senders, std::vector<TObject*>{Control});

  // The control makes a window again on demand, and leaving its parent (which
  // destroys the window) reports again instead of raising.
  HWND New = Control->Handle();
  EXPECT_TRUE(IsWindow(New));
  EXPECT_NO_THROW(Control->SetParent(nullptr));
  EXPECT_FALSE(IsWindow(New));
  EXPECT_EQ(Log->Messages.size(), 2u);
  EXPECT_NO_THROW(Control->Free());
}

TEST_F(WindowTest, AWindowThatCannotBeDestroyedIsReportedAndLetGo) {
  TForm* Form = ShownForm();
  auto* Control = AddChild<TCustomControl>(Form);
  HWND Wnd = Control->Handle();
  // The window goes behind the control's back, without telling it.
  RemovePropA(Wnd, MAKEINTATOM(classlib_detail::ControlAtom()));
  DestroyWindow(Wnd);
  ASSERT_TRUE(Control->HandleAllocated());

  EXPECT_NO_THROW(Control->DestroyHandle());
  EXPECT_FALSE(Control->HandleAllocated());
  ASSERT_EQ(Log->Messages.size(), 1u);
  EXPECT_EQ(Log->Senders[0], Control);
  EXPECT_TRUE(IsWindow(Control->Handle())) << "a new window on the next request";
}

TEST_F(WindowTest, ParentsReflectNotificationsToTheChildThatSentThem) {
  TForm* Form = ShownForm();
  auto* Button = AddChild<TReflectingButton>(Form);
  TChangeCounter Clicks;
  Button->OnClick = Clicks.Event();

  SendMessageA(Button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Button->Commands, std::vector<int>{BN_CLICKED});
  EXPECT_EQ(Clicks.Count, 1);
  // A command of another kind reaches the button but is no click.
  SendMessageA(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Button->Handle()), BN_SETFOCUS),
               reinterpret_cast<LPARAM>(Button->Handle()));
  EXPECT_EQ(Button->Commands, (std::vector<int>{BN_CLICKED, BN_SETFOCUS}));
  EXPECT_EQ(Clicks.Count, 1);
  // The colour of the button comes from the button's own font and brush.
  HDC DC = GetDC(Button->Handle());
  Button->SetColor(clYellow);
  LRESULT Brush = SendMessageA(Form->Handle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(DC),
                               reinterpret_cast<LPARAM>(Button->Handle()));
  EXPECT_EQ(Brush, reinterpret_cast<LRESULT>(Button->Brush()->Handle()));
  EXPECT_EQ(GetBkColor(DC), static_cast<COLORREF>(clYellow));
  ReleaseDC(Button->Handle(), DC);
}

// ---------------------------------------------------------------------------------
// Messages and notifications

using NotificationTest = UiTest;

TEST_F(NotificationTest, TextNotifiesOnlyOnARealChange) {
  std::vector<std::string> Events;
  TForm* Form = Keep(NewObject<TForm>(nullptr));
  auto* Probe = NewObject<TProbe>(Form, &Events);
  Probe->SetName("P");
  Probe->SetParent(Form);
  Events.clear();
  Probe->SetText("one");
  Probe->SetText("one");
  Probe->Handle();
  Probe->SetText("two");
  EXPECT_EQ(Events, (std::vector<std::string>{"P:text", "P:text"}));
  char Text[8] = "";
  GetWindowTextA(Probe->Handle(), Text, sizeof(Text));
  EXPECT_STREQ(Text, "two");
}

TEST_F(NotificationTest, CaptionFollowsTheNameUntilSet) {
  TOwned<TButton> Button(NewObject<TButton>(nullptr));
  Button->SetName("btnNext");
  EXPECT_EQ(Button->Caption(), "btnNext");
  Button->SetCaption("Next >");
  Button->SetName("btnForward");
  EXPECT_EQ(Button->Caption(), "Next >");
}

TEST_F(NotificationTest, ChildrenFollowTheParentsColourAndFontUntilTheyHaveTheirOwn) {
  TForm* Form = Keep(NewObject<TForm>(nullptr));
  auto* Follows = NewObject<TProbe>(Form);
  auto* Own = NewObject<TProbe>(Form);
  Follows->SetParent(Form);
  Own->SetParent(Form);
  EXPECT_EQ(Follows->Color(), clBtnFace);
  int OwnHeight = Own->Font()->Height();
  Own->SetColor(clRed);
  Own->Font()->SetName("Courier New");
  Form->SetColor(clGreen);
  Form->Font()->SetHeight(-20);
  EXPECT_EQ(Follows->Color(), clGreen);
  EXPECT_TRUE(Follows->ParentColor());
  EXPECT_EQ(Follows->Font()->Height(), -20);
  EXPECT_EQ(Own->Color(), clRed);
  EXPECT_FALSE(Own->ParentFont());
  EXPECT_EQ(Own->Font()->Height(), OwnHeight);
}

}  // namespace
