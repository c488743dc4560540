// The skinned frame's window states, mouse and system menu on real windows: hit codes
// by state, unrolling in place, magnetic edges, caption buttons pressed and released
// over another, the system menu's items, the close path run once, the application's
// handler chain with forms freed in any order, and the caption read back at once.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "skin/KsForms.h"
#include "skin/KsItems.h"
#include "skin/KsUtils.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// Counts the form's close queries and close events.
struct TCloseLog : TObject {
  int Queries = 0;
  int Closes = 0;
  void CloseQuery(TObject*, bool& CanClose) {
    ++Queries;
    CanClose = true;
  }
  void Close(TObject*, TCloseAction& Action) {
    ++Closes;
    Action = caHide;
  }
};

bool IsEdge(Byte Code) { return Code >= khtLeft && Code <= khtBottomRight; }

class KsFormStatesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = Keep(NewObject<TForm>(nullptr, CreateNew));
    Form->SetCaption("States");
    Form->SetBounds(200, 150, 400, 300);
    Frame = NewObject<TKsCustomForm>(Form);
    Frame->SetMinimizeApplication(false);
    Frame->SetActive(true);
    Form->Show();
    Pump();
    Frame->UpdateFrame();
    Pump();
    Form->OnCloseQuery = TCloseQueryEvent::Bind<&TCloseLog::CloseQuery>(&Log);
    Form->OnClose = TCloseEvent::Bind<&TCloseLog::Close>(&Log);
  }
  HWND Window() { return Form->Handle(); }
  TPoint Centre(int Kind) {
    TRect R;
    Frame->GetButtonRect(Kind, R);
    return TPoint{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
  }
  // A non-client mouse message at a point of the window.
  void Send(UINT Msg, const TPoint& P) {
    RECT W;
    GetWindowRect(Window(), &W);
    SendMessageA(Window(), Msg, HTCAPTION, MAKELPARAM(W.left + P.x, W.top + P.y));
    Pump();
  }
  std::vector<AnsiString> MenuCaptions() {
    Frame->BuildSystemMenu();
    std::vector<AnsiString> Captions;
    for (int I = 0; I < Frame->SystemMenu()->Count(); ++I) Captions.push_back(Frame->SystemMenu()->Items(I)->Caption());
    return Captions;
  }

  TForm* Form = nullptr;
  TKsCustomForm* Frame = nullptr;
  TCloseLog Log;
};

TEST_F(KsFormStatesTest, EdgesAndCornersAnswerOnlyInTheNormalState) {
  const int Mid = Frame->FrameHeight() / 2;
  EXPECT_EQ(Frame->HitTest(1, Mid), khtLeft);
  EXPECT_EQ(Frame->HitTest(0, 0), khtTopLeft);
  Frame->Maximize();
  EXPECT_EQ(Frame->WindowState(), kwsMaximized);
  const int W = Frame->FrameWidth(), H = Frame->FrameHeight();
  for (const TPoint& P : {TPoint{1, H / 2}, TPoint{0, 0}, TPoint{W - 1, H - 1}, TPoint{W / 2, 0}})
    EXPECT_FALSE(IsEdge(Frame->HitTest(P.x, P.y))) << "maximized, at " << P.x << "," << P.y;
  Frame->Restore();
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  Frame->Rollup();
  EXPECT_EQ(Frame->WindowState(), kwsRollup);
  const int RW = Frame->FrameWidth(), RH = Frame->FrameHeight();
  for (const TPoint& P : {TPoint{1, RH / 2}, TPoint{0, 0}, TPoint{RW - 1, RH - 1}, TPoint{RW / 2, RH - 1}})
    EXPECT_FALSE(IsEdge(Frame->HitTest(P.x, P.y))) << "rolled up, at " << P.x << "," << P.y;
}

TEST_F(KsFormStatesTest, StatesSaveAndRestoreTheNormalBounds) {
  const TRect Normal = Form->BoundsRect();
  Frame->Maximize();
  EXPECT_EQ(Frame->PreviousState(), kwsNormal);
  EXPECT_TRUE(SameRect(Frame->RestoreBounds(), Normal));
  Frame->Maximize();  // again: restores
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_TRUE(SameRect(Form->BoundsRect(), Normal));

  Frame->Minimize();
  EXPECT_EQ(Frame->WindowState(), kwsMinimized);
  TRect Min;
  Frame->GetMinimizedRect(Min);
  EXPECT_TRUE(SameRect(Form->BoundsRect(), Min));
  Frame->Restore();
  EXPECT_TRUE(SameRect(Form->BoundsRect(), Normal));

  Frame->SetWindowState(kwsMaximized);
  Frame->SetWindowState(kwsMinimized);
  Frame->Restore();
  EXPECT_EQ(Frame->WindowState(), kwsMaximized) << "back to the state before minimizing";
  Frame->Restore();
  EXPECT_TRUE(SameRect(Form->BoundsRect(), Normal));
}

TEST_F(KsFormStatesTest, TripsThroughTheTrayKeepTheNormalBounds) {
  const TRect Normal = Form->BoundsRect();
  auto Expect = [&](TKsWindowState State, const char* Trip) {
    EXPECT_EQ(Frame->WindowState(), State) << Trip;
    if (State == kwsNormal) {
      EXPECT_EQ(Form->BoundsRect(), Normal) << Trip;
    }
  };
  // Maximized, to the tray, back (maximized again), restored.
  Frame->Maximize();
  Frame->MinimizeToTray();
  EXPECT_FALSE(IsWindowVisible(Window()));
  Frame->Restore();
  Expect(kwsMaximized, "maximized through the tray");
  Frame->Restore();
  Expect(kwsNormal, "maximized through the tray, restored");

  // Rolled up, to the tray, back (rolled up again), unrolled.
  Frame->Rollup();
  Frame->MinimizeToTray();
  Frame->Restore();
  Expect(kwsRollup, "rolled up through the tray");
  Frame->Restore();
  Expect(kwsNormal, "rolled up through the tray, unrolled");

  // Maximized, to the tray, minimized from there, restored.
  Frame->Maximize();
  Frame->MinimizeToTray();
  Frame->Minimize();
  Frame->Restore();
  Expect(kwsNormal, "from the tray to minimized, restored");

  // Normal, to the tray, back.
  Frame->MinimizeToTray();
  Frame->Restore();
  Expect(kwsNormal, "normal through the tray");
  EXPECT_TRUE(IsWindowVisible(Window()));
}

// Whether the frame's icon is in the tray (changing nothing of it succeeds only then).
bool TrayIconShown(TKsCustomForm* Frame) {
  NOTIFYICONDATAA Data{};
  Data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  Data.hWnd = Frame->TrayWindow();
  Data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(Frame));
  return Shell_NotifyIconA(NIM_MODIFY, &Data);
}

TEST_F(KsFormStatesTest, LeavingTheTrayByAnyMoveShowsTheWindowAndTakesItsIconAway) {
  const TRect Normal = Form->BoundsRect();
  using TMove = void (TKsCustomForm::*)();
  const std::pair<TMove, TKsWindowState> Moves[] = {
      {&TKsCustomForm::Maximize, kwsMaximized}, {&TKsCustomForm::Minimize, kwsMinimized},
      {&TKsCustomForm::Rollup, kwsRollup}, {&TKsCustomForm::Restore, kwsNormal}};
  for (const auto& [Move, State] : Moves) {
    Frame->MinimizeToTray();
    ASSERT_TRUE(TrayIconShown(Frame));
    ASSERT_FALSE(IsWindowVisible(Window()));
    (Frame->*Move)();
    EXPECT_EQ(Frame->WindowState(), State);
    EXPECT_TRUE(IsWindowVisible(Window())) << State;
    EXPECT_FALSE(TrayIconShown(Frame)) << State;
    Frame->Restore();
    EXPECT_EQ(Frame->WindowState(), kwsNormal) << State;
    EXPECT_EQ(Form->BoundsRect(), Normal) << State;
    EXPECT_TRUE(IsWindowVisible(Window())) << State;
  }
  // The icon's double click.
  Frame->MinimizeToTray();
  SendMessageA(Frame->TrayWindow(), KM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_FALSE(TrayIconShown(Frame));

  // In the tray the window stays hidden when it is made again; its form shown, it
  // leaves the tray, also when it was hidden meanwhile (its close event hid it); a form
  // hidden meanwhile comes back with the window's move.
  Frame->MinimizeToTray();
  const HWND Before = Window();
  Form->SetBorderIcons(TBorderIcons{biSystemMenu, biHelp});
  Pump();
  ASSERT_NE(Window(), Before);
  EXPECT_FALSE(IsWindowVisible(Window()));
  for (int Way = 0; Way < 3; ++Way) {
    if (Way > 0) Frame->MinimizeToTray();
    if (Way == 1) {
      Frame->CloseForm();
      ASSERT_FALSE(Form->Visible());
    }
    if (Way < 2)
      Form->Show();
    else  // the window shown by a change of position
      SetWindowPos(Window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    Pump();
    EXPECT_EQ(Frame->WindowState(), kwsNormal) << Way;
    EXPECT_TRUE(IsWindowVisible(Window())) << Way;
    EXPECT_FALSE(TrayIconShown(Frame)) << Way;
  }
  Frame->MinimizeToTray();
  Form->Hide();
  Frame->Restore();
  EXPECT_TRUE(Form->Visible());
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_FALSE(TrayIconShown(Frame));

  // The application sent to the tray comes back with the window's move.
  Frame->SetMinimizeApplication(true);
  const HWND AppWindow = Application->Handle();
  Frame->MinimizeToTray();
  ASSERT_TRUE(TrayIconShown(Frame));
  ASSERT_FALSE(IsWindowVisible(AppWindow));
  Frame->Maximize();
  EXPECT_TRUE(IsWindowVisible(AppWindow));
  EXPECT_FALSE(TrayIconShown(Frame));
  EXPECT_EQ(Frame->WindowState(), kwsMaximized);
  Frame->Restore();
  ShowWindow(AppWindow, SW_HIDE);
  Frame->SetMinimizeApplication(false);
  EXPECT_EQ(Form->BoundsRect(), Normal);
}

TEST_F(KsFormStatesTest, RestoreGoesBackToTheNormalBoundsAndChangesNothingWhenNormal) {
  const TRect Normal = Form->BoundsRect();
  // Never maximized: nothing to go back to.
  Frame->Restore();
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_EQ(Form->BoundsRect(), Normal);

  // Minimized then maximized from code, the application minimized with the form.
  Frame->SetMinimizeApplication(true);
  Frame->SetWindowState(kwsMinimized);
  Frame->SetWindowState(kwsMaximized);
  ASSERT_EQ(Frame->WindowState(), kwsMaximized);
  Frame->Restore();
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_EQ(Form->BoundsRect(), Normal);
  // The restore button does the same (a double click: the window covers the real
  // mouse, whose moves would end a press made of two messages).
  Frame->SetWindowState(kwsMinimized);
  Frame->SetWindowState(kwsMaximized);
  ASSERT_EQ(Frame->HitTest(Centre(kbiMaximize).x, Centre(kbiMaximize).y), khtMaximize);
  Send(WM_NCLBUTTONDBLCLK, Centre(kbiMaximize));
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_EQ(Form->BoundsRect(), Normal);
  Frame->SetMinimizeApplication(false);
}

TEST_F(KsFormStatesTest, ARolledUpWindowUnrollsToItsSizeWhereItNowIs) {
  const TRect Normal = Form->BoundsRect();
  Frame->Rollup();
  EXPECT_LT(Form->Height(), Normal.bottom - Normal.top);
  EXPECT_EQ(Form->Width(), Normal.right - Normal.left);
  Form->SetBounds(Form->Left() - 70, Form->Top() + 40, Form->Width(), Form->Height());
  Pump();
  const int Left = Form->Left(), Top = Form->Top();
  Frame->Restore();
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_TRUE(SameRect(Form->BoundsRect(), Bounds(Left, Top, RectWidth(Normal), RectHeight(Normal))));
}

TEST_F(KsFormStatesTest, EdgesSnapWithinOneLessThanTheMagneticValue) {
  RECT Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  const int M = Frame->MagneticValue();
  TRect R = Bounds(Work.left + M - 1, Work.top + 300, 200, 100);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.left, Work.left);
  EXPECT_EQ(R.right - R.left, 200);
  R = Bounds(Work.left + M, Work.top + 300, 200, 100);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.left, Work.left + M);
  R = Bounds(Work.right - 200 + M - 1, Work.bottom - 100 - (M - 1), 200, 100);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.right, Work.right);
  EXPECT_EQ(R.bottom, Work.bottom);
  Frame->SetMagnetic(false);
  R = Bounds(Work.left + 1, Work.top + 300, 200, 100);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.left, Work.left + 1);
}

TEST_F(KsFormStatesTest, ACaptionDragMovesAndSnapsTheWindow) {
  RECT Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  const TPoint Grip{120, Frame->FrameBorderWidth() + 4};
  const int Width = Form->Width(), Height = Form->Height();
  ASSERT_EQ(Frame->HitTest(Grip.x, Grip.y), khtCaption);
  Send(WM_NCLBUTTONDOWN, Grip);
  EXPECT_TRUE(Frame->Dragging());
  // To 5 pixels right of the work area's left edge.
  const int Shift = Work.left + 5 - Form->Left();
  Send(WM_NCMOUSEMOVE, TPoint{Grip.x + Shift, Grip.y + 30});
  Send(WM_NCLBUTTONUP, Grip);
  EXPECT_FALSE(Frame->Dragging());
  EXPECT_EQ(Form->Left(), Work.left);
  EXPECT_EQ(Form->Top(), 180);
  EXPECT_EQ(Form->Width(), Width);
  EXPECT_EQ(Form->Height(), Height);
}

// A client mouse move of the captured drag, at a point of the window.
void SendClientMove(HWND Window, const TPoint& P, WPARAM Keys) {
  RECT W;
  GetWindowRect(Window, &W);
  POINT C{W.left + P.x, W.top + P.y};
  ScreenToClient(Window, &C);
  SendMessageA(Window, WM_MOUSEMOVE, Keys, MAKELPARAM(C.x, C.y));
  Pump();
}

TEST_F(KsFormStatesTest, ALostCaptureEndsACaptionDragAsAReleaseDoes) {
  const TPoint Grip{120, Frame->FrameBorderWidth() + 4};
  ASSERT_EQ(Frame->HitTest(Grip.x, Grip.y), khtCaption);
  const TRect Start = Form->BoundsRect();
  const TPoint Away{Grip.x + 40, Grip.y + 30};

  // The control case: a move with the button held carries the window along.
  Send(WM_NCLBUTTONDOWN, Grip);
  SendClientMove(Window(), Away, MK_LBUTTON);
  EXPECT_EQ(Form->Left(), Start.left + 40);
  Send(WM_NCLBUTTONUP, Away);
  Form->SetBounds(Start.left, Start.top, RectWidth(Start), RectHeight(Start));
  Pump();

  // Another window takes the capture (Alt+Tab, a message box): the press is over.
  Send(WM_NCLBUTTONDOWN, Grip);
  ASSERT_EQ(GetCapture(), Window());
  ReleaseCapture();
  Pump();
  EXPECT_FALSE(Frame->Dragging());
  SendClientMove(Window(), Away, 0);
  EXPECT_TRUE(SameRect(Form->BoundsRect(), Start)) << "moved with no button held";

  // A cancel ends it too, and so does a move that finds the button up.
  for (int Way = 0; Way < 2; ++Way) {
    Send(WM_NCLBUTTONDOWN, Grip);
    ASSERT_TRUE(Frame->Dragging());
    if (Way == 0) SendMessageA(Window(), WM_CANCELMODE, 0, 0);
    SendClientMove(Window(), Away, 0);
    SendClientMove(Window(), TPoint{Away.x + 10, Away.y}, MK_LBUTTON);
    EXPECT_FALSE(Frame->Dragging()) << Way;
    EXPECT_TRUE(SameRect(Form->BoundsRect(), Start)) << Way;
    EXPECT_NE(GetCapture(), Window()) << Way;
  }

  // A lost capture over a caption button runs none of its commands.
  Send(WM_NCLBUTTONDOWN, Centre(kbiClose));
  ReleaseCapture();
  Pump();
  Send(WM_NCLBUTTONUP, Centre(kbiClose));
  EXPECT_EQ(Log.Queries, 0);
  EXPECT_TRUE(IsWindowVisible(Window()));
}

TEST_F(KsFormStatesTest, ButtonsActOnlyWhenReleasedOverThePressedOne) {
  Send(WM_NCLBUTTONDOWN, Centre(kbiClose));
  Send(WM_NCLBUTTONUP, Centre(kbiMinimize));
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_EQ(Log.Queries, 0);
  EXPECT_TRUE(IsWindowVisible(Window()));

  Send(WM_NCLBUTTONDOWN, Centre(kbiRollup));
  Send(WM_NCLBUTTONUP, Centre(kbiRollup));
  EXPECT_EQ(Frame->WindowState(), kwsRollup);
  Send(WM_NCLBUTTONDOWN, Centre(kbiClose));
  Send(WM_NCLBUTTONUP, Centre(kbiClose));
  EXPECT_EQ(Log.Queries, 1);
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(KsFormStatesTest, DoubleClicksOnTheCaptionAndTheSystemMenuIcon) {
  const TPoint Caption{120, Frame->FrameBorderWidth() + 4};
  Send(WM_NCLBUTTONDBLCLK, Caption);
  EXPECT_EQ(Frame->WindowState(), kwsMaximized);
  Send(WM_NCLBUTTONDBLCLK, TPoint{120, Frame->FrameBorderWidth() + 4});
  EXPECT_EQ(Frame->WindowState(), kwsNormal);

  TKsBorderIcons Icons = Frame->BorderIcons();
  Icons.Exclude(kbiMaximize);
  Frame->SetBorderIcons(Icons);
  Pump();
  Send(WM_NCLBUTTONDBLCLK, Caption);
  EXPECT_EQ(Frame->WindowState(), kwsNormal);
  EXPECT_TRUE(IsWindowVisible(Window()));

  Send(WM_NCLBUTTONDBLCLK, Centre(kbiSystemMenu));
  EXPECT_EQ(Log.Queries, 1);
  EXPECT_EQ(Log.Closes, 1);
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(KsFormStatesTest, TheSystemMenuListsWhatTheStateAndIconsAllow) {
  using V = std::vector<AnsiString>;
  EXPECT_EQ(MenuCaptions(), (V{"Mi&nimize", "Ma&ximize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}));
  EXPECT_EQ(Frame->SystemMenu()->Items(5)->ShortCut(), TextToShortCut("Alt+F4"));
  EXPECT_EQ(Frame->SystemMenu()->Items(0)->ImageIndex(), ciMinimize);
  Frame->Maximize();
  EXPECT_EQ(MenuCaptions(), (V{"&Restore", "Mi&nimize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}));
  Frame->Restore();
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose});
  EXPECT_EQ(MenuCaptions(), (V{"&Close"}));

  // A click on an item runs its command.
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose, kbiRollup});
  ASSERT_EQ(MenuCaptions(), (V{"Ro&llup", "-", "&Close"}));
  Frame->SystemMenu()->Items(0)->Click();
  Pump();
  EXPECT_EQ(Frame->WindowState(), kwsRollup);
}

TEST_F(KsFormStatesTest, TheCloseCommandClosesOnce) {
  SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_EQ(Log.Queries, 1);
  EXPECT_EQ(Log.Closes, 1);
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(KsFormStatesTest, TheCaptionReadsBackRightAfterAChange) {
  SetWindowTextA(Window(), "A new caption");
  char Text[64] = {};
  EXPECT_EQ(GetWindowTextA(Window(), Text, sizeof(Text)), 13);
  EXPECT_STREQ(Text, "A new caption");
  EXPECT_FALSE(GetWindowLongA(Window(), GWL_STYLE) & WS_CAPTION) << "kept off the system's caption painting";
  EXPECT_EQ(GetWindowTextA(Window(), Text, sizeof(Text)), 13);
  Pump();
  EXPECT_TRUE(GetWindowLongA(Window(), GWL_STYLE) & WS_CAPTION) << "the style comes back";
}

// The application's minimize handler chain, with forms freed in the order they hooked.
struct TAppLog : TObject {
  int Minimizes = 0;
  void Minimized(TObject*) { ++Minimizes; }
};

class KsAppHookTest : public UiTest {};

TEST_F(KsAppHookTest, FormsFreedInAnyOrderLeaveNoHandlerOfAFreedForm) {
  TAppLog AppLog;
  const TNotifyEvent Outer = TNotifyEvent::Bind<&TAppLog::Minimized>(&AppLog);
  const TNotifyEvent SavedMinimize = Application->OnMinimize;
  const TNotifyEvent SavedRestore = Application->OnRestore;
  Application->OnMinimize = Outer;
  for (bool Reverse : {false, true}) {
    TForm* Forms[2];
    TKsCustomForm* Frames[2];
    for (int I = 0; I < 2; ++I) {
      Forms[I] = NewObject<TForm>(nullptr, CreateNew);
      Forms[I]->SetBounds(100 + 40 * I, 100, 300, 200);
      Frames[I] = NewObject<TKsCustomForm>(Forms[I]);
      Frames[I]->SetActive(true);
      Forms[I]->Show();
      Pump();
      SendMessageA(Forms[I]->Handle(), WM_NCACTIVATE, TRUE, 0);
    }
    EXPECT_NE(Application->OnMinimize, Outer) << "the forms hooked the application";
    Forms[Reverse ? 1 : 0]->Free();
    Pump();
    Forms[Reverse ? 0 : 1]->Free();
    Pump();
    EXPECT_EQ(Application->OnMinimize, Outer) << (Reverse ? "reverse order" : "creation order");
    AppLog.Minimizes = 0;
    Application->OnMinimize(Application);
    EXPECT_EQ(AppLog.Minimizes, 1);
  }
  Application->OnMinimize = SavedMinimize;
  Application->OnRestore = SavedRestore;
}

// What the show animation was given, read while its image still exists.
struct TAnimationSeen {
  int Calls = 0;
  TKsAnimation Kind = kaNone;
  int Time = 0;
  TRect ScreenRect{0, 0, 0, 0};
  TSize ImageSize{0, 0};
  TKsColor Client = 0, Panel = 0, Caption = 0;
  TRect ClientArea{0, 0, 0, 0};
};
TAnimationSeen Seen;
void RecordAnimation(TKsAnimation Kind, HDC, TKsBitmap*, const TRect&, int Time, const TRect& ScreenRect,
                     TKsBitmap* Foreground) {
  ++Seen.Calls;
  Seen.Kind = Kind;
  Seen.Time = Time;
  Seen.ScreenRect = ScreenRect;
  Seen.ImageSize = TSize{Foreground->Width(), Foreground->Height()};
  const TRect& C = Seen.ClientArea;
  Seen.Client = Rgb(Foreground->GetPixel(C.left + 200, C.top + 100));
  Seen.Panel = Rgb(Foreground->GetPixel(C.left + 20, C.top + 20));
  Seen.Caption = Rgb(Foreground->GetPixel(C.left + 2, C.top - 4));
}

TEST_F(KsFormStatesTest, AWindowShownWithAnAnimationAnimatesItsFinishedImage) {
  TForm* Shown = Keep(NewObject<TForm>(nullptr, CreateNew));
  Shown->SetBounds(120, 100, 320, 220);
  Shown->SetColor(static_cast<TColor>(RGB(0, 128, 0)));
  TPanel* Panel = NewObject<TPanel>(Shown);
  Panel->SetParent(Shown);
  Panel->SetBevelOuter(bvNone);
  Panel->SetBounds(10, 10, 60, 30);
  Panel->SetColor(static_cast<TColor>(RGB(200, 0, 0)));
  TKsCustomForm* Animated = NewObject<TKsCustomForm>(Shown);
  Animated->SetMinimizeApplication(false);
  Animated->SetShowAnimation(kaRandom);
  Animated->SetShowAnimationTime(250);
  Animated->SetActive(true);
  Animated->UpdateFrame();
  Animated->GetClientArea(Seen.ClientArea);
  Seen = TAnimationSeen{0, kaNone, 0, {0, 0, 0, 0}, {0, 0}, 0, 0, 0, Seen.ClientArea};
  const TKsShowAnimationProc Saved = KsShowAnimationProc;
  KsShowAnimationProc = RecordAnimation;
  Shown->Show();
  Pump();
  ASSERT_EQ(Seen.Calls, 1);
  EXPECT_TRUE(Seen.Kind == kaFade || Seen.Kind == kaSlide || Seen.Kind == kaRect) << "a random effect";
  EXPECT_EQ(Seen.Time, 250);
  RECT W;
  GetWindowRect(Shown->Handle(), &W);
  EXPECT_EQ(Seen.ScreenRect, TRect(W.left, W.top, W.right, W.bottom));
  EXPECT_EQ(Seen.ImageSize.cx, W.right - W.left);
  EXPECT_EQ(Seen.Client, Rgb(ColorToKsColor(static_cast<TColor>(RGB(0, 128, 0)), 255)));
  EXPECT_EQ(Seen.Panel, Rgb(ColorToKsColor(static_cast<TColor>(RGB(200, 0, 0)), 255)));
  EXPECT_NE(Seen.Caption, Seen.Client) << "the frame is painted";

  // Blended or without an effect: no animation.
  Shown->Hide();
  Animated->SetShowAnimation(kaNone);
  Shown->Show();
  Pump();
  Shown->Hide();
  Animated->SetShowAnimation(kaFade);
  Animated->SetBlend(true);
  Shown->Show();
  Pump();
  KsShowAnimationProc = Saved;
  EXPECT_EQ(Seen.Calls, 1);
}

}  // namespace
