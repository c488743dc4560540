// The grid container on real windows: the neutral answers a hosted editor gets, the
// container flag, the key event, the look of the scroll bars recreating the window
// only on a change, scroll information through the flat-scroll-bar functions, and the
// mouse wheel under the system's lines-per-notch setting.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "editors/dxCntner.h"
#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

// A container with a vertical scroll bar that counts its windows and notes every
// vertical-scroll request.
class TTestContainer : public TCustomdxContainer {
 public:
  using TCustomdxContainer::TCustomdxContainer;
  int WindowsMade = 0;
  std::vector<int> ScrollCodes;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_VSCROLL) ScrollCodes.push_back(LOWORD(Message.WParam));
    TCustomdxContainer::Dispatch(Message);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomdxContainer::CreateParams(Params);
    Params.Style |= WS_VSCROLL;
  }
  void CreateWnd() override {
    ++WindowsMade;
    TCustomdxContainer::CreateWnd();
  }
};

// Records OnKeyDown.
class TKeyLog : public TObject {
 public:
  void KeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    LastSender = Sender;
    LastKey = Key;
    LastShift = Shift;
    Key = 0;
  }
  TObject* LastSender = nullptr;
  Word LastKey = 0;
  TShiftState LastShift;
};

// Sets the system's wheel lines for the length of a scope.
class TWheelLinesSetting {
 public:
  explicit TWheelLinesSetting(UINT Lines) {
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &FSaved, 0);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, Lines, nullptr, 0);
  }
  ~TWheelLinesSetting() { SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, FSaved, nullptr, 0); }

 private:
  UINT FSaved = 3;
};

class ContainerTest : public UiTest {
 protected:
  TTestContainer* ShownContainer() {
    TForm* Form = ShownForm();
    auto* Container = NewObject<TTestContainer>(Form);
    Container->SetParent(Form);
    Container->SetBounds(10, 10, 200, 120);
    Container->HandleNeeded();
    Pump();
    return Container;
  }
  // One wheel message with Delta, as the system sends it to the focused window.
  static void Wheel(TCustomdxContainer* Container, int Delta) {
    POINT P = {20, 20};
    ClientToScreen(Container->Handle(), &P);
    SendMessageA(Container->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<SHORT>(Delta)),
                 MAKELPARAM(P.x, P.y));
  }
};

TEST_F(ContainerTest, AnswersEveryQuestionWithItsNeutralDefault) {
  TTestContainer* Container = ShownContainer();
  EXPECT_FALSE(Container->CanEditModify());
  EXPECT_FALSE(Container->CanEditAcceptKey('a'));
  EXPECT_TRUE(Container->DefaultTrueQuery());
  EXPECT_FALSE(Container->IsEditReadOnly());
  EXPECT_FALSE(Container->HideFocusRect());
  EXPECT_FALSE(Container->SkipEditKeyMessage());
  EXPECT_FALSE(Container->ImmediateEditor(-1));
  EXPECT_FALSE(Container->ImmediateEditor(0));
  EXPECT_FALSE(Container->ShowButtonAlways());
  EXPECT_FALSE(Container->WantTabs());
  EXPECT_EQ(Container->GetPopupBorderStyle(0), 2);
  EXPECT_EQ(Container->GetPopupBorderStyle(1), 2);
  EXPECT_EQ(Container->LookAndFeel(), lfStandard);
  EXPECT_FALSE(Container->ContainerFlag());
}

TEST_F(ContainerTest, EditColourAndFontFollowTheContainer) {
  TTestContainer* Container = ShownContainer();
  Container->SetColor(clYellow);
  EXPECT_EQ(Container->GetEditColor(), clYellow);
  EXPECT_EQ(Container->GetEditFont(), Container->Font());
}

TEST_F(ContainerTest, ContainerFlagIsSetAndCleared) {
  TTestContainer* Container = ShownContainer();
  Container->SetContainerFlag();
  EXPECT_TRUE(Container->ContainerFlag());
  Container->ClearContainerFlag();
  EXPECT_FALSE(Container->ContainerFlag());
}

TEST_F(ContainerTest, EditorKeysReachTheContainersKeyEventWithTheContainerAsSender) {
  TTestContainer* Container = ShownContainer();
  Word Key = VK_F2;
  Container->DoEditKeyDown(Key, {ssCtrl});  // no handler: nothing happens
  EXPECT_EQ(Key, VK_F2);

  TOwned<TKeyLog> KeyLog(NewObject<TKeyLog>());
  Container->OnKeyDown = TKeyEvent::Bind<&TKeyLog::KeyDown>(KeyLog.get());
  Container->DoEditKeyDown(Key, {ssCtrl});
  EXPECT_EQ(KeyLog->LastSender, Container);
  EXPECT_EQ(KeyLog->LastKey, VK_F2);
  EXPECT_TRUE(KeyLog->LastShift.Contains(ssCtrl));
  EXPECT_EQ(Key, 0) << "the handler's answer comes back through Key";
}

TEST_F(ContainerTest, LookAndFeelRecreatesTheWindowOnlyOnAChange) {
  TTestContainer* Container = ShownContainer();
  ASSERT_EQ(Container->WindowsMade, 1);
  Container->SetLookAndFeel(lfStandard);
  EXPECT_EQ(Container->WindowsMade, 1);

  Container->SetLookAndFeel(lfUltraFlat);
  EXPECT_EQ(Container->LookAndFeel(), lfUltraFlat);
  EXPECT_EQ(Container->WindowsMade, 2);
  EXPECT_TRUE(IsWindow(Container->Handle()));
  Container->SetLookAndFeel(lfUltraFlat);
  EXPECT_EQ(Container->WindowsMade, 2);

  Container->SetLookAndFeel(lfFlat);
  EXPECT_EQ(Container->WindowsMade, 3);
}

TEST_F(ContainerTest, LookAndFeelWithoutAWindowMakesNone) {
  TOwned<TTestContainer> Container(NewObject<TTestContainer>(nullptr));
  Container->SetLookAndFeel(lfFlat);
  EXPECT_EQ(Container->WindowsMade, 0);
  EXPECT_FALSE(Container->HandleAllocated());
}

TEST_F(ContainerTest, EachLookSelectsItsFlatScrollBarMode) {
  EXPECT_EQ(FlatScrollBarMode(lfStandard), FSB_REGULAR_MODE);
  EXPECT_EQ(FlatScrollBarMode(lfFlat), FSB_ENCARTA_MODE);
  EXPECT_EQ(FlatScrollBarMode(lfUltraFlat), FSB_FLAT_MODE);
}

TEST_F(ContainerTest, ScrollInformationWrittenIsReadBack) {
  TTestContainer* Container = ShownContainer();
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Info.nMin = 0;
  Info.nMax = 99;
  Info.nPage = 10;
  Info.nPos = 42;
  Container->SetScrollInfo(SB_VERT, Info, true);

  SCROLLINFO Read{};
  Read.cbSize = sizeof(Read);
  Read.fMask = SIF_ALL;
  ASSERT_TRUE(Container->GetScrollInfo(SB_VERT, Read));
  EXPECT_EQ(Read.nMax, 99);
  EXPECT_EQ(Read.nPage, 10u);
  EXPECT_EQ(Read.nPos, 42);
  // The window's own bar holds the same state (the system shows plain bars here).
  EXPECT_EQ(GetScrollPos(Container->Handle(), SB_VERT), 42);
}

TEST_F(ContainerTest, WheelScrollsTheSystemsLinesPerNotch) {
  TTestContainer* Container = ShownContainer();
  TWheelLinesSetting Lines(3);
  Wheel(Container, WHEEL_DELTA);
  EXPECT_EQ(Container->ScrollCodes, (std::vector<int>{SB_LINEUP, SB_LINEUP, SB_LINEUP}));
  Container->ScrollCodes.clear();
  Wheel(Container, -WHEEL_DELTA);
  EXPECT_EQ(Container->ScrollCodes, (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN}));
}

TEST_F(ContainerTest, SeveralNotchesInOneMessageStillScrollTheLinesOfOne) {
  TTestContainer* Container = ShownContainer();
  TWheelLinesSetting Lines(3);
  Wheel(Container, 3 * WHEEL_DELTA);
  EXPECT_EQ(Container->ScrollCodes.size(), 3u);
}

TEST_F(ContainerTest, AZeroDeltaScrollsDown) {
  TTestContainer* Container = ShownContainer();
  TWheelLinesSetting Lines(1);
  Wheel(Container, 0);
  EXPECT_EQ(Container->ScrollCodes, (std::vector<int>{SB_LINEDOWN}));
}

TEST_F(ContainerTest, WheelWithZeroLinesScrollsNothing) {
  TTestContainer* Container = ShownContainer();
  TWheelLinesSetting Lines(0);
  ASSERT_EQ(Mouse->WheelScrollLines(), 0);
  Wheel(Container, WHEEL_DELTA);
  Wheel(Container, -WHEEL_DELTA);
  EXPECT_TRUE(Container->ScrollCodes.empty());
}

TEST_F(ContainerTest, WheelWithThePageSettingScrollsOnePagePerMessage) {
  TTestContainer* Container = ShownContainer();
  TWheelLinesSetting Lines(WHEEL_PAGESCROLL);
  ASSERT_EQ(Mouse->WheelScrollLines(), -1);
  Wheel(Container, WHEEL_DELTA);
  EXPECT_EQ(Container->ScrollCodes, (std::vector<int>{SB_PAGEUP}));
  Container->ScrollCodes.clear();
  Wheel(Container, -2 * WHEEL_DELTA);
  EXPECT_EQ(Container->ScrollCodes, (std::vector<int>{SB_PAGEDOWN}));
}

}  // namespace
