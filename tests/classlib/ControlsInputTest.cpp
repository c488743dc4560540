#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/StrUtils.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/CursorSupport.h"

using namespace uitest;

namespace {

std::string Shift(TShiftState S) {
  std::string R;
  if (S.Contains(ssShift)) R += "S";
  if (S.Contains(ssCtrl)) R += "C";
  if (S.Contains(ssAlt)) R += "A";
  if (S.Contains(ssLeft)) R += "L";
  if (S.Contains(ssDouble)) R += "D";
  return R;
}

// A graphic control that logs the mouse as it reaches it.
class TSpot : public TGraphicControl {
 public:
  TSpot(TComponent* AOwner, std::vector<std::string>* ALog) : TGraphicControl(AOwner), FLog(ALog) {}
  void Click() override { FLog->push_back("click"); }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_MOUSEENTER) FLog->push_back("enter");
    if (Message.Msg == CM_MOUSELEAVE) FLog->push_back("leave");
    TGraphicControl::Dispatch(Message);
  }

 protected:
  void MouseDown(TMouseButton Button, TShiftState S, int X, int Y) override {
    FLog->push_back(Format("down%d %d,%d ", static_cast<int>(Button), X, Y) + Shift(S));
  }
  void MouseMove(TShiftState S, int X, int Y) override {
    FLog->push_back(Format("move %d,%d ", X, Y) + Shift(S));
  }
  void MouseUp(TMouseButton Button, TShiftState, int X, int Y) override {
    FLog->push_back(Format("up%d %d,%d", static_cast<int>(Button), X, Y));
  }

 private:
  std::vector<std::string>* FLog;
};

// A windowed control that logs its keys (the characters that the message loop
// translates from them apart).
class TKeyProbe : public TProbe {
 public:
  using TProbe::TProbe;
  std::vector<std::string> Keys;
  std::string Chars;

 protected:
  void KeyDown(Word& Key, TShiftState S) override {
    Keys.push_back(Format("down %d ", static_cast<int>(Key)) + Shift(S));
    TProbe::KeyDown(Key, S);
  }
  void KeyPress(char& Key) override { Chars += Key; }
};

class MouseTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    // The real pointer, wherever an earlier test left it, stays off the form: these
    // tests send the mouse messages themselves.
    PlaceCursor(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Form = ShownForm();
    Spot = NewObject<TSpot>(Form, &Events);
    Spot->SetParent(Form);
    Spot->SetBounds(50, 40, 60, 30);
    // On a busy machine the system may still move the mouse over the form where the
    // pointer was before it was placed: the mouse leaves the form before the test.
    Pump();
    SendMessageA(Form->Handle(), WM_MOUSELEAVE, 0, 0);
    Form->OnMouseEnter = FormEnter.Event();
    Form->OnMouseLeave = FormLeave.Event();
  }
  void Send(UINT Msg, WPARAM Keys, int X, int Y) {
    SendMessageA(Form->Handle(), Msg, Keys, MAKELPARAM(X, Y));
  }

  std::vector<std::string> Events;
  TForm* Form = nullptr;
  TSpot* Spot = nullptr;
  TNotifyHandler FormEnter{[this](TObject*) { Events.push_back("form enter"); }};
  TNotifyHandler FormLeave{[this](TObject*) { Events.push_back("form leave"); }};
};

TEST_F(MouseTest, AFreedControlGivesUpTheCaptureOnlyWhenItHoldsIt) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 60, 50);
  ASSERT_EQ(GetCaptureControl(), Spot);
  auto* Bystander = AddChild<TSpot>(Form, &Events);
  auto* Window = AddChild<TProbe>(Form);
  Window->SetTop(120);
  Window->HandleNeeded();
  Bystander->Free();
  Window->Free();
  EXPECT_EQ(GetCaptureControl(), Spot);
  Spot->Free();
  Spot = nullptr;
  EXPECT_EQ(GetCapture(), nullptr);

  // A graphic control whose parent lost the capture to another window leaves that
  // window's capture alone.
  auto* Again = AddChild<TSpot>(Form, &Events);
  Again->SetBounds(50, 40, 30, 20);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 60, 50);
  ASSERT_EQ(GetCaptureControl(), Again);
  auto* Other = AddChild<TProbe>(Form);
  Other->SetTop(120);
  SetCapture(Other->Handle());
  Again->Free();
  EXPECT_EQ(GetCapture(), Other->Handle());
  ReleaseCapture();
}

TEST_F(MouseTest, TheParentRoutesTheMouseToGraphicChildrenInTheirCoordinates) {
  Send(WM_MOUSEMOVE, MK_SHIFT, 55, 45);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 60, 50);
  EXPECT_EQ(GetCaptureControl(), Spot);
  EXPECT_EQ(GetCapture(), Form->Handle());
  // Captured: the spot follows the mouse outside its bounds and gets no click there.
  Send(WM_MOUSEMOVE, MK_LBUTTON, 200, 150);
  Send(WM_LBUTTONUP, 0, 200, 150);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 52, 42);
  Send(WM_LBUTTONUP, 0, 53, 43);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 52, 42);
  Send(WM_LBUTTONUP, 0, 52, 42);
  EXPECT_EQ(Events, (std::vector<std::string>{"enter", "move 5,5 S", "down0 10,10 L", "move 150,110 L",
                                              "up0 150,110", "down0 2,2 L", "up0 3,3", "click",
                                              "down0 2,2 LD", "up0 2,2"}));
}

TEST_F(MouseTest, EnterAndLeaveFollowTheControlUnderTheMouse) {
  Send(WM_MOUSEMOVE, 0, 10, 10);
  Send(WM_MOUSEMOVE, 0, 60, 50);
  Send(WM_MOUSEMOVE, 0, 61, 50);
  Send(WM_MOUSEMOVE, 0, 150, 150);
  EXPECT_EQ(GetMouseControl(), Form);
  Send(WM_MOUSELEAVE, 0, 0, 0);
  EXPECT_EQ(GetMouseControl(), nullptr);
  std::vector<std::string> Crossings;
  for (const std::string& E : Events)
    if (E.find("move") == std::string::npos) Crossings.push_back(E);
  EXPECT_EQ(Crossings, (std::vector<std::string>{"form enter", "form leave", "enter", "leave",
                                                 "form enter", "form leave"}));
}

TEST_F(MouseTest, HiddenAndDisabledChildrenLetTheMouseThrough) {
  Spot->SetEnabled(false);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 60, 50);
  Send(WM_LBUTTONUP, 0, 60, 50);
  Spot->SetEnabled(true);
  Spot->Hide();
  Send(WM_MOUSEMOVE, 0, 60, 50);
  EXPECT_EQ(Events, std::vector<std::string>{"form enter"});
  EXPECT_EQ(Form->ControlAtPos(Point(60, 50), true), nullptr);
  Spot->Show();
  EXPECT_EQ(Form->ControlAtPos(Point(60, 50), false), Spot);
}

using KeyTest = UiTest;

TEST_F(KeyTest, KeysReachTheFocusedControlWithTheShiftState) {
  TForm* Form = ShownForm();
  auto* Probe = AddChild<TKeyProbe>(Form);
  Probe->SetFocus();
  Pump();
  HeldKeys = {VK_CONTROL};
  PostMessageA(Probe->Handle(), WM_KEYDOWN, 'A', 1);
  PostMessageA(Probe->Handle(), WM_SYSKEYDOWN, 'B', 0x20000001);
  Pump();
  HeldKeys.clear();
  PostMessageA(Probe->Handle(), WM_CHAR, 'x', 1);
  Pump();
  EXPECT_EQ(Probe->Keys, (std::vector<std::string>{"down 65 C", "down 66 CA"}));
  ASSERT_FALSE(Probe->Chars.empty());
  EXPECT_EQ(Probe->Chars.back(), 'x');
}

TEST_F(KeyTest, AFormWithKeyPreviewSeesKeysFirstAndMayConsumeThem) {
  TForm* Form = ShownForm();
  auto* Probe = AddChild<TKeyProbe>(Form);
  Probe->SetFocus();
  Pump();
  std::vector<int> FormKeys;
  struct TPreview : TObject {
    std::vector<int>* Keys;
    void KeyDown(TObject*, Word& Key, TShiftState) {
      Keys->push_back(Key);
      if (Key == 'Q') Key = 0;
    }
  } Preview;
  Preview.Keys = &FormKeys;
  Form->OnKeyDown = TKeyEvent::Bind<&TPreview::KeyDown>(&Preview);
  Form->SetKeyPreview(true);
  PostMessageA(Probe->Handle(), WM_KEYDOWN, 'Q', 1);
  PostMessageA(Probe->Handle(), WM_KEYDOWN, 'W', 1);
  Pump();
  EXPECT_EQ(FormKeys, (std::vector<int>{'Q', 'W'}));
  EXPECT_EQ(Probe->Keys, std::vector<std::string>{"down 87 "});
}

TEST_F(KeyTest, ChildKeysBubbleUpToTheForm) {
  // The form takes F1 from any child, as a help key is taken.
  struct TF1Form : TForm {
    using TForm::TForm;
    TControl* Sender = nullptr;
    void Dispatch(TMessage& Message) override {
      if (Message.Msg == CM_CHILDKEY && Message.WParam == VK_F1) {
        Sender = reinterpret_cast<TControl*>(Message.LParam);
        Message.Result = 1;
        return;
      }
      TForm::Dispatch(Message);
    }
  };
  auto* HelpForm = Keep(NewObject<TF1Form>(nullptr));
  auto* Inner = AddChild<TKeyProbe>(HelpForm);
  HelpForm->Show();
  Inner->SetFocus();
  Pump();
  PostMessageA(Inner->Handle(), WM_KEYDOWN, VK_F1, 1);
  PostMessageA(Inner->Handle(), WM_KEYDOWN, VK_F2, 1);
  Pump();
  EXPECT_EQ(HelpForm->Sender, Inner);
  EXPECT_EQ(Inner->Keys, std::vector<std::string>{"down 113 "});
}

}  // namespace
