// The kit's scroll bar on real windows: thumb geometry, the drag's bounds, stepping and
// the held-button repeat (ticks driven here), a capture lost mid-drag, and the windowed
// base's built-in bars with their WM_HSCROLL and WM_VSCROLL, and the bar in form files.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "skin/KsScrollBar.h"
#include "skin/KsUtils.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// Notes every OnScroll and OnChange of a bar.
class TScrollLog : public TObject {
 public:
  void Scrolled(TObject*, TScrollCode Code, int& Pos) { Scrolls.emplace_back(Code, Pos); }
  void Changed(TObject*) { ++Changes; }
  std::vector<std::pair<TScrollCode, int>> Scrolls;
  int Changes = 0;
};

class KsScrollBarTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(300, 200);
    Events = Keep(NewObject<TScrollLog>());
    // The bar of the edge cases: vertical, 121 high, border 1, range 0..100.
    Bar = NewObject<TKsCustomScrollBar>(Form);
    Bar->SetParent(Form);
    Bar->SetKind(sbVertical);
    Bar->SetBounds(Left, Top, 19, 121);
    Bar->OnScroll = TKsScrollEvent::Bind<&TScrollLog::Scrolled>(Events);
    Bar->OnChange = TNotifyEvent::Bind<&TScrollLog::Changed>(Events);
    ASSERT_EQ(GetSystemMetrics(SM_CYVTHUMB), 17);
  }
  // Mouse input at a point of the bar, as the form's window receives it.
  void Mouse(UINT Msg, int X, int Y) {
    SendMessageA(Form->Handle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(Left + X, Top + Y));
  }
  void Tick() { Bar->RepeatTimer()->OnTimer(Bar->RepeatTimer()); }

  static constexpr int Left = 20;
  static constexpr int Top = 10;
  TForm* Form = nullptr;
  TScrollLog* Events = nullptr;
  TKsCustomScrollBar* Bar = nullptr;
};

TEST_F(KsScrollBarTest, TheThumbSitsInTheTrackByPositionAndPageSize) {
  EXPECT_EQ(Bar->GetButtonSize(), 17);
  EXPECT_EQ(Bar->GetTrackRect(), (TRect{1, 18, 18, 103}));
  EXPECT_EQ(Bar->GetThumbSize(), 17);
  Bar->SetPosition(50);
  EXPECT_EQ(Bar->GetThumbRect().top, 52);
  Bar->SetPosition(100);
  EXPECT_EQ(Bar->GetThumbRect().bottom, 103);

  Bar->SetPageSize(50);
  EXPECT_EQ(Bar->GetThumbSize(), 42);
  EXPECT_EQ(Bar->GetThumbRect().bottom, 103);  // past the last page: at the end
  Bar->SetPosition(0);
  EXPECT_EQ(Bar->GetThumbRect(), (TRect{1, 18, 18, 60}));
  EXPECT_EQ(Bar->GetPageIncRect(), (TRect{1, 60, 18, 103}));

  // A track no longer than the thumb shows none: a click there pages.
  Bar->SetBounds(Left, Top, 19, 40);
  EXPECT_EQ(Bar->GetThumbSize(), 0);
  Mouse(WM_LBUTTONDOWN, 9, 20);  // the 4-pixel track between the arrows
  Mouse(WM_LBUTTONUP, 9, 20);
  EXPECT_FALSE(Bar->Dragging());
  EXPECT_EQ(Bar->Position(), 50);
}

TEST_F(KsScrollBarTest, ADragStopsAtTheLastPageASetReachesMax) {
  Bar->SetPageSize(50);
  Mouse(WM_LBUTTONDOWN, 9, 18);  // the thumb's first pixel drags it
  EXPECT_EQ(Bar->DragOffset(), 0);
  Mouse(WM_MOUSEMOVE, 9, 200);
  EXPECT_EQ(Bar->Position(), 51);
  Mouse(WM_LBUTTONUP, 9, 200);
  EXPECT_FALSE(Bar->Dragging());
  ASSERT_GE(Events->Scrolls.size(), 3u);
  EXPECT_EQ(Events->Scrolls[Events->Scrolls.size() - 2], std::make_pair(scPosition, 51));
  EXPECT_EQ(Events->Scrolls.back(), std::make_pair(scEndScroll, 51));
  Bar->SetPosition(100);
  EXPECT_EQ(Bar->Position(), 100);
}

TEST_F(KsScrollBarTest, WithAFixedThumbADragPastTheEndReportsMax) {
  Mouse(WM_LBUTTONDOWN, 9, 20);
  EXPECT_EQ(Bar->DragOffset(), 2);
  Mouse(WM_MOUSEMOVE, 9, 300);
  EXPECT_EQ(Events->Scrolls.back(), std::make_pair(scTrack, 100));
  EXPECT_EQ(Bar->Position(), 100);
  Mouse(WM_MOUSEMOVE, 9, -300);
  EXPECT_EQ(Events->Scrolls.back(), std::make_pair(scTrack, 0));
  Mouse(WM_MOUSEMOVE, 9, 59);  // thumb top at 57: (57 - 18) x 100 / 68
  EXPECT_EQ(Bar->Position(), 57);
  Mouse(WM_LBUTTONUP, 9, 59);
  for (const auto& [Code, Pos] : Events->Scrolls) EXPECT_LE(Pos, 100);
}

TEST_F(KsScrollBarTest, RangesWiderThanAnIntegerKeepPageThumbAndSteps) {
  // The page size of a 3,000,000,001-wide range, whichever value comes first.
  using TSetter = void (TKsCustomScrollBar::*)(int);
  const std::pair<TSetter, int> Sets[] = {{&TKsCustomScrollBar::SetMin, -1000000000},
                                          {&TKsCustomScrollBar::SetMax, 2000000000},
                                          {&TKsCustomScrollBar::SetPageSize, 10}};
  int Order[] = {0, 1, 2};
  do {
    TOwned<TKsCustomScrollBar> Wide(NewObject<TKsCustomScrollBar>(nullptr));
    for (int I : Order) (Wide.get()->*Sets[I].first)(Sets[I].second);
    EXPECT_EQ(Wide->PageSize(), 10) << Order[0] << Order[1] << Order[2];
  } while (std::next_permutation(std::begin(Order), std::end(Order)));
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(),
                    "form frmWide: TForm\n  component sbrWide: TKsCustomScrollBar\n"
                    "    PageSize = 10\n    Min = -1000000000\n    Max = 2000000000\n  end\nend\n",
                    "wide");
  auto* Read = ObjectAs<TKsCustomScrollBar>(Root->FindComponent("sbrWide"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->PageSize(), 10);

  // The whole integer range: the thumb stands where the position is, and a press on it
  // with no move keeps the position within one pixel's worth.
  constexpr int Lowest = std::numeric_limits<int>::min(), Highest = std::numeric_limits<int>::max();
  Bar->SetMin(Lowest);
  Bar->SetMax(Highest);
  Bar->SetPageSize(1000);
  EXPECT_EQ(Bar->PageSize(), 1000);
  Bar->SetPageSize(0);
  Bar->SetPosition(1500000000);
  const double Range = 4294967295.0, Free = Bar->GetTrackRect().bottom - Bar->GetTrackRect().top - 17;
  const int ThumbTop = Bar->GetThumbRect().top;
  EXPECT_NEAR(ThumbTop - Bar->GetTrackRect().top, (1500000000.0 - Lowest) * Free / Range, 1.0);
  Mouse(WM_LBUTTONDOWN, 9, ThumbTop + 5);
  ASSERT_TRUE(Bar->Dragging());
  Mouse(WM_MOUSEMOVE, 9, ThumbTop + 5);
  EXPECT_NEAR(Bar->Position(), 1500000000.0, Range / Free);
  Mouse(WM_MOUSEMOVE, 9, 300);
  EXPECT_EQ(Bar->Position(), Highest);
  Mouse(WM_MOUSEMOVE, 9, -300);
  EXPECT_EQ(Bar->Position(), Lowest);
  Mouse(WM_LBUTTONUP, 9, -300);

  // Steps past either end stop at it.
  Bar->SetSmallChange(10);
  Bar->SetLargeChange(100);
  Bar->SetPosition(Highest - 5);
  Bar->Step(VK_DOWN);
  EXPECT_EQ(Bar->Position(), Highest);
  Bar->SetPosition(Lowest + 50);
  Bar->Step(VK_PRIOR);
  EXPECT_EQ(Bar->Position(), Lowest);
}

TEST_F(KsScrollBarTest, AHeldArrowStepsAtOnceAfterTheDelayThenAtTheRate) {
  Bar->SetPosition(10);
  Events->Scrolls.clear();
  Mouse(WM_LBUTTONDOWN, 9, 110);  // the increment button
  EXPECT_EQ(Bar->Position(), 11);
  ASSERT_NE(Bar->RepeatTimer(), nullptr);
  EXPECT_TRUE(Bar->RepeatTimer()->Enabled());
  EXPECT_EQ(Bar->RepeatTimer()->Interval(), static_cast<unsigned>(KeyRepeatDelay()));
  Tick();
  EXPECT_EQ(Bar->Position(), 12);
  EXPECT_EQ(Bar->RepeatTimer()->Interval(), static_cast<unsigned>(KeyRepeatInterval()));
  Tick();
  EXPECT_EQ(Bar->Position(), 13);
  // Off the button the steps pause; the timer runs on.
  Mouse(WM_MOUSEMOVE, 9, 60);
  Tick();
  EXPECT_EQ(Bar->Position(), 13);
  EXPECT_TRUE(Bar->RepeatTimer()->Enabled());
  Mouse(WM_MOUSEMOVE, 9, 110);
  Tick();
  EXPECT_EQ(Bar->Position(), 14);
  EXPECT_EQ(Events->Scrolls.front(), std::make_pair(scLineDown, 11));
  Mouse(WM_LBUTTONUP, 9, 110);
  EXPECT_FALSE(Bar->RepeatTimer()->Enabled());
  EXPECT_EQ(Events->Scrolls.back(), std::make_pair(scEndScroll, 14));

  // A held page area pages until the thumb passes the mouse.
  Bar->SetPosition(0);
  Mouse(WM_LBUTTONDOWN, 9, 80);
  EXPECT_EQ(Bar->Position(), 1);  // LargeChange
  Mouse(WM_LBUTTONUP, 9, 80);
}

TEST_F(KsScrollBarTest, StepsClampAndTheRepeatFlagsStopAtTheEnds) {
  Bar->SetPageSize(30);
  Bar->Step(VK_NEXT);
  EXPECT_EQ(Bar->Position(), 30);
  Bar->Step(VK_END);
  EXPECT_EQ(Bar->Position(), 100);
  Bar->Step(VK_DOWN);
  EXPECT_EQ(Bar->Position(), 100);
  Bar->Step(VK_HOME);
  EXPECT_EQ(Events->Scrolls.back(), std::make_pair(scTop, 0));

  Bar->SetPosition(2);
  Bar->SetDecRepeat(true);
  EXPECT_FALSE(Bar->IncRepeat());
  EXPECT_EQ(Bar->Position(), 2);  // no step at once
  EXPECT_EQ(Bar->RepeatTimer()->Interval(), static_cast<unsigned>(KeyRepeatInterval()));
  Tick();
  Tick();
  EXPECT_EQ(Bar->Position(), 0);
  EXPECT_FALSE(Bar->DecRepeat());
  EXPECT_FALSE(Bar->RepeatTimer()->Enabled());

  // Max below Position moves it and says so.
  Bar->SetPosition(80);
  const int Changes = Events->Changes;
  Bar->SetMax(60);
  EXPECT_EQ(Bar->Position(), 60);
  EXPECT_EQ(Events->Changes, Changes + 1);
  EXPECT_EQ(Bar->PageSize(), 30);
  Bar->SetMax(10);
  EXPECT_EQ(Bar->PageSize(), 11);
}

TEST_F(KsScrollBarTest, LosingTheCaptureEndsADragAndARepeatAsAReleaseDoes) {
  Mouse(WM_LBUTTONDOWN, 9, 20);
  ASSERT_TRUE(Bar->Dragging());
  Mouse(WM_MOUSEMOVE, 9, 40);
  TOwned<TForm> Other(NewObject<TForm>(nullptr));
  Other->Show();
  SetCapture(Other->Handle());
  EXPECT_FALSE(Bar->Dragging());
  EXPECT_EQ(Events->Scrolls.back().first, scEndScroll);
  ReleaseCapture();

  Mouse(WM_LBUTTONDOWN, 9, 110);
  ASSERT_TRUE(Bar->RepeatTimer()->Enabled());
  SendMessageA(Form->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(Bar->RepeatTimer()->Enabled());
  EXPECT_EQ(GetCapture(), nullptr);
  const int Pos = Bar->Position();
  Tick();
  EXPECT_EQ(Bar->Position(), Pos);
}

TEST_F(KsScrollBarTest, TheThumbIsPaintedOverTheHalftoneTrack) {
  Bar->SetPosition(50);
  PaintNow(Form);
  auto Pixel = [&](int X, int Y) { return Rgb(Bar->Buffer()->GetPixel(X, Y)); };
  EXPECT_EQ(Pixel(8, 60), Rgb(ColorToKsColor(clBtnFace, 255)));
  EXPECT_EQ(Pixel(1, 52), Rgb(ColorToKsColor(cl3DLight, 255)));
  // The track: highlight dots where X and Y have the same parity.
  EXPECT_EQ(Pixel(8, 30), Rgb(ColorToKsColor(clBtnHighlight, 255)));
  EXPECT_EQ(Pixel(9, 30), Rgb(ColorToKsColor(clScrollBar, 255)));
  EXPECT_EQ(Pixel(0, 0), Rgb(ColorToKsColor(clBtnShadow, 255)));
  EXPECT_EQ(ScreenPixel(Form->Handle(), Left + 8, Top + 60), static_cast<COLORREF>(ColorToRGB(clBtnFace)));
}

// A windowed kit control that notes the scroll messages it receives.
class TScrolledControl : public TKsCustomControl {
 public:
  explicit TScrolledControl(TComponent* AOwner) : TKsCustomControl(AOwner) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
      Received.push_back({Message.Msg, Message.WParam, Message.LParam});
      // The control keeps the bars' positions.
      auto* Bar = Message.Msg == WM_VSCROLL ? VertScrollBar() : HorzScrollBar();
      SetScrollUpdating(true);
      Bar->SetPosition(static_cast<int>(Message.LParam));
      SetScrollUpdating(false);
    }
    TKsCustomControl::Dispatch(Message);
  }
  struct TReceived {
    UINT Msg;
    WPARAM Code;
    LPARAM Pos;
    bool operator==(const TReceived&) const = default;
  };
  std::vector<TReceived> Received;
};

TEST_F(KsScrollBarTest, BuiltInBarsLineTheEdgesAndStepAsTheControlsOwnMessages) {
  auto* C = NewObject<TScrolledControl>(Form);
  C->SetScrollBars(3);
  C->SetParent(Form);
  C->SetBounds(100, 20, 150, 120);
  C->HandleNeeded();
  ASSERT_NE(C->HorzScrollBar(), nullptr);
  ASSERT_NE(C->VertScrollBar(), nullptr);
  const int S = GetSystemMetrics(SM_CYVTHUMB);
  EXPECT_EQ(C->VertScrollBar()->BoundsRect(), (TRect{150 - S, 0, 150, 120 - S}));
  EXPECT_EQ(C->HorzScrollBar()->BoundsRect(), (TRect{0, 120 - S, 150 - S, 120}));
  EXPECT_EQ(C->VertScrollBar()->Kind(), sbVertical);
  EXPECT_EQ(C->VertScrollBar()->BorderWidth(), 0);

  // The vertical bar's increment arrow, clicked.
  const LPARAM At = MAKELPARAM(150 - S / 2, 120 - S - S / 2);
  SendMessageA(C->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
  SendMessageA(C->Handle(), WM_LBUTTONUP, 0, At);
  ASSERT_EQ(C->Received.size(), 2u);
  EXPECT_EQ(C->Received[0], (TScrolledControl::TReceived{WM_VSCROLL, 1, 1}));
  EXPECT_EQ(C->Received[1], (TScrolledControl::TReceived{WM_VSCROLL, 8, 1}));
  EXPECT_EQ(C->VertScrollBar()->Position(), 1);

  // A resize moves the bars; the corner square takes the control's colour.
  C->SetColor(clRed);
  C->SetBounds(100, 20, 170, 100);
  EXPECT_EQ(C->VertScrollBar()->BoundsRect(), (TRect{170 - S, 0, 170, 100 - S}));
  PaintNow(C);
  EXPECT_EQ(ScreenPixel(C->Handle(), 168, 98), static_cast<COLORREF>(clRed));

  // While updating, the bars' steps are not passed on.
  C->SetScrollUpdating(true);
  C->HorzScrollBar()->Step(VK_RIGHT);
  C->SetScrollUpdating(false);
  EXPECT_EQ(C->Received.size(), 2u);
  EXPECT_EQ(C->HorzScrollBar()->Position(), 1);
}

// A form whose handlers a form file binds by name.
class TBarForm : public TForm {
  TCLASS_DECL(TBarForm, TForm)
 public:
  TBarForm(TComponent* AOwner, TCreateNew) : TForm(AOwner, CreateNew) {}
  void BarChange(TObject*) { ++Changes; }
  void BarScroll(TObject*, TScrollCode, int& Pos) { Pos = Forced; }
  int Changes = 0;
  int Forced = 0;
};
TCLASS_IMPL(TBarForm)

class KsScrollBarStreamTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TPublish<TBarForm> P;
    P.Method<&TBarForm::BarChange>("BarChange");
    P.Method<&TBarForm::BarScroll>("BarScroll");
  }
  void TearDown() override {
    UnRegisterPublished(&TBarForm::StaticClass());
    UiTest::TearDown();
  }
  // The bar read from a form file of these lines.
  TKsCustomScrollBar* Read(TBarForm* Root, const AnsiString& Lines) {
    ReadComponentText(Root, "form frmBars: TBarForm\n  component sbrMain: TKsCustomScrollBar\n" + Lines +
                                "  end\nend\n",
                      "bars");
    return ObjectAs<TKsCustomScrollBar>(Root->FindComponent("sbrMain"));
  }
};

TEST_F(KsScrollBarStreamTest, StepsAndEventsGoThroughAFormFileAndBack) {
  TOwned<TBarForm> Root(NewObject<TBarForm>(nullptr, CreateNew));
  TKsCustomScrollBar* Bar = Read(Root.get(),
                                 "    LargeChange = 10\n    SmallChange = 5\n"
                                 "    OnChange = BarChange\n    OnScroll = BarScroll\n");
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar->LargeChange(), 10);
  EXPECT_EQ(Bar->SmallChange(), 5);
  Root->Forced = 33;
  Bar->Step(VK_NEXT);
  EXPECT_EQ(Bar->Position(), 33) << "OnScroll bound";
  EXPECT_EQ(Root->Changes, 1) << "OnChange bound";

  const AnsiString Text = WriteComponentText(Root.get());
  for (const char* Expected :
       {"LargeChange = 10", "SmallChange = 5", "OnChange = BarChange", "OnScroll = BarScroll"})
    EXPECT_NE(Text.find(Expected), AnsiString::npos) << Expected << "\n" << Text;
  TOwned<TBarForm> Copy(NewObject<TBarForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Again = ObjectAs<TKsCustomScrollBar>(Copy->FindComponent("sbrMain"));
  ASSERT_NE(Again, nullptr);
  EXPECT_EQ(Again->LargeChange(), 10);
  EXPECT_EQ(Again->SmallChange(), 5);
  EXPECT_EQ(Again->Position(), 33);
}

TEST_F(KsScrollBarStreamTest, StoredValuesApplyWhateverTheirOrder) {
  // Each value past the range the ones before it allow: Position and PageSize above
  // the default Max, Min above it too.
  TOwned<TBarForm> Root(NewObject<TBarForm>(nullptr, CreateNew));
  TKsCustomScrollBar* Bar = Read(Root.get(),
                                 "    Position = 150\n    Min = 120\n    PageSize = 60\n    Max = 200\n");
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar->Min(), 120);
  EXPECT_EQ(Bar->Max(), 200);
  EXPECT_EQ(Bar->Position(), 150);
  EXPECT_EQ(Bar->PageSize(), 60);

  TOwned<TBarForm> Copy(NewObject<TBarForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), WriteComponentText(Root.get()), "copy");
  auto* Again = ObjectAs<TKsCustomScrollBar>(Copy->FindComponent("sbrMain"));
  ASSERT_NE(Again, nullptr);
  EXPECT_EQ(Again->Position(), 150);
  EXPECT_EQ(Again->Min(), 120);
  EXPECT_EQ(Again->PageSize(), 60);

  // Values that do not fit together are brought into range once all are read.
  TOwned<TBarForm> Odd(NewObject<TBarForm>(nullptr, CreateNew));
  Bar = Read(Odd.get(), "    Max = 50\n    Position = 80\n    PageSize = 90\n");
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar->Position(), 50);
  EXPECT_EQ(Bar->PageSize(), 51);
}

}  // namespace
