// Where the module's dialogs, and the class library's message and file dialogs, open:
// the arithmetic (Xvfb has one monitor), the dialogs' owner, and the hooks at work.
#include "tests/framework/DialogTestSupport.h"

#include "classlib/Dialogs.h"

using namespace dlgtest;
using uitest::Pump;

namespace {

TEST(PlacementArithmetic, FileDialogsSitAThirdDownTheFreeHeight) {
  EXPECT_EQ(FileDialogPosition(Rect(0, 1200, 1600, 2200), 500, 400), Point(550, 1400));
  EXPECT_EQ(FileDialogPosition(Rect(-1280, 0, 0, 1024), 600, 450), Point(-940, 191));
  // A dialog higher than the monitor starts above it, as the formula says.
  EXPECT_EQ(FileDialogPosition(Rect(0, 0, 800, 600), 800, 900), Point(0, -100));
}

TEST(PlacementArithmetic, CentringHalvesTowardZero) {
  EXPECT_EQ(CentredOnMonitor(Rect(0, 0, 1024, 768), 400, 300), Point(312, 234));
  EXPECT_EQ(CentredOnMonitor(Rect(-1280, -200, 0, 824), 400, 301), Point(-840, 161));
  EXPECT_EQ(CentredOnMonitor(Rect(-1281, -201, 0, 0), 0, 0), Point(-640, -100));
}

class PlacementTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    if (HasFatalFailure()) return;
    // An active window of the module's own, away from the middle.
    Anchor = ShownForm(120, 80);
    SetForegroundWindow(Anchor->Handle());
    SetActiveWindow(Anchor->Handle());
    Pump();
    ASSERT_EQ(GetActiveWindow(), Anchor->Handle());
    MONITORINFO Info{};
    Info.cbSize = sizeof(Info);
    GetMonitorInfoA(MonitorFromWindow(Anchor->Handle(), MONITOR_DEFAULTTONEAREST), &Info);
    Monitor = Info.rcMonitor;
  }

  TForm* Anchor = nullptr;
  TRect Monitor{};
};

TEST_F(PlacementTest, DialogsAreOwnedByTheHostsMainWindowWithAHelpButton) {
  TTestDialog* Dialog = Keep(NewObject<TTestDialog>(nullptr));
  EXPECT_EQ(GetWindow(Dialog->Handle(), GW_OWNER), Host->MainWindow());
  EXPECT_TRUE(GetWindowLongA(Dialog->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  // Without a host the application's window owns them.
  SetClient(nullptr);
  TTestDialog* Orphan = Keep(NewObject<TTestDialog>(nullptr));
  EXPECT_EQ(GetWindow(Orphan->Handle(), GW_OWNER), Application->Handle());
}

TEST_F(PlacementTest, DialogsOpenCentredOnTheActiveMonitorWhateverTheirPosition) {
  int Shows = 0;
  uitest::TNotifyHandler OnShow([&](TObject*) { ++Shows; });
  // Anchor owns it and frees it.
  TTestDialog* Dialog = NewObject<TTestDialog>(Anchor);
  TPoint Centre = CentredOnMonitor(Monitor, 400, 300);
  EXPECT_EQ(Dialog->BoundsRect(), Bounds(Centre.x, Centre.y, 400, 300));
  // Centring on the owner form is not the library's to do for these dialogs.
  Dialog->SetPosition(poOwnerFormCenter);
  Dialog->OnShow = OnShow.Event();
  Dialog->Show();
  Pump();
  EXPECT_EQ(Shows, 1);
  EXPECT_TRUE(IsWindowVisible(Dialog->Handle()));
  RECT Window;
  GetWindowRect(Dialog->Handle(), &Window);
  EXPECT_EQ(Window, Bounds(Centre.x, Centre.y, 400, 300));
}

TEST_F(PlacementTest, AFailingOnShowIsReportedAndTheDialogShown) {
  uitest::TNotifyHandler OnShow([](TObject*) { throw Exception("no show"); });
  TTestDialog* Dialog = Keep(NewObject<TTestDialog>(nullptr));
  Dialog->SetPosition(poScreenCenter);
  Dialog->OnShow = OnShow.Event();
  Dialog->Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(Dialog->Handle()));
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"no show"});
}

// ---------------------------------------------------------------------------------
// The class library's dialogs

TEST(DialogHooks, AreInstalledAtStartAndRemovedAtTheEnd) {
  EXPECT_EQ(MessageDialogShowingHook, &MessageDialogShowing);
  EXPECT_EQ(FileDialogMessageHook, &FileDialogHook);
  EXPECT_EQ(BeforeOpenDialogHook, &RememberDialogMonitor);
  DoneRtForms();
  EXPECT_EQ(MessageDialogShowingHook, nullptr);
  EXPECT_EQ(FileDialogMessageHook, nullptr);
  EXPECT_EQ(BeforeOpenDialogHook, nullptr);
  InitRtForms();
  EXPECT_EQ(MessageDialogShowingHook, &MessageDialogShowing);
}

// Runs the message dialog for real, from a place of its own, and closes it at once.
TRect MessageBoundsWhenShown{};
TModalResult RunFromTheCorner(TCustomForm* Form) {
  Form->SetPosition(poDesigned);
  Form->SetBounds(3, 4, Form->Width(), Form->Height());
  PostMessageA(Form->Handle(), WM_CLOSE, 0, 0);
  TModalResult Result = Form->ShowModal();
  GetWindowRect(Form->Handle(), &MessageBoundsWhenShown);
  return Result;
}

TEST_F(PlacementTest, MessageDialogsAreCentredOnTheActiveMonitor) {
  TMessageDialogRunProc Saved = std::exchange(MessageDialogRunProc, RunFromTheCorner);
  EXPECT_EQ(MessageDlg("Replace the board?", mtConfirmation, mbYesNoCancel, 0), mrCancel);
  int Width = MessageBoundsWhenShown.right - MessageBoundsWhenShown.left;
  int Height = MessageBoundsWhenShown.bottom - MessageBoundsWhenShown.top;
  EXPECT_EQ(Point(MessageBoundsWhenShown.left, MessageBoundsWhenShown.top),
            CentredOnMonitor(Monitor, Width, Height));
  // Without the hook the library leaves a designed form where it is.
  TMessageDialogShowingHook Hook = std::exchange(MessageDialogShowingHook, nullptr);
  MessageDlg("Replace the board?", mtConfirmation, mbYesNoCancel, 0);
  MessageDialogShowingHook = Hook;
  MessageDialogRunProc = Saved;
  EXPECT_EQ(Point(MessageBoundsWhenShown.left, MessageBoundsWhenShown.top), Point(3, 4));
}

// Stands in for the system's file dialog: a window of 500 x 400 whose hook child gets
// the initialisation messages.
RECT FileDialogRect{};
BOOL WINAPI FakeFileDialog(OPENFILENAMEA* Info) {
  HWND Window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 400, Info->hwndOwner, nullptr,
                                nullptr, nullptr);
  HWND Child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, Window, nullptr, nullptr, nullptr);
  Info->lpfnHook(Child, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(Info));
  OFNOTIFYA Notify{};
  Notify.hdr.hwndFrom = Child;
  Notify.hdr.code = CDN_INITDONE;
  Notify.lpOFN = Info;
  Info->lpfnHook(Child, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Notify));
  GetWindowRect(Window, &FileDialogRect);
  DestroyWindow(Window);
  return FALSE;
}

TEST_F(PlacementTest, FileDialogsArePlacedOnTheMonitorOfTheActiveWindow) {
  TFileNameFunc SavedOpen = std::exchange(GetOpenFileNameProc, FakeFileDialog);
  TFileNameFunc SavedSave = std::exchange(GetSaveFileNameProc, FakeFileDialog);
  TPoint Expected = FileDialogPosition(Monitor, 500, 400);

  TOpenDialog* Open = Keep(NewObject<TOpenDialog>(nullptr));
  FileDialogRect = {};
  EXPECT_FALSE(Open->Execute());
  EXPECT_EQ(RememberedDialogMonitor(), MonitorFromWindow(Anchor->Handle(), MONITOR_DEFAULTTONEAREST));
  EXPECT_EQ(FileDialogRect, Bounds(Expected.x, Expected.y, 500, 400));

  TSaveDialog* Save = Keep(NewObject<TSaveDialog>(nullptr));
  FileDialogRect = {};
  EXPECT_FALSE(Save->Execute());
  EXPECT_EQ(FileDialogRect, Bounds(Expected.x, Expected.y, 500, 400));

  GetOpenFileNameProc = SavedOpen;
  GetSaveFileNameProc = SavedSave;
}

// The system's own file dialog, cancelled as soon as it is placed.
RECT RealDialogRect{};
bool PlaceThenCancel(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR& Result) {
  bool Handled = FileDialogHook(Dialog, Msg, WParam, LParam, Result);
  if (Msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(LParam)->code == static_cast<UINT>(CDN_INITDONE)) {
    GetWindowRect(GetParent(Dialog), &RealDialogRect);
    PostMessageA(GetParent(Dialog), WM_COMMAND, IDCANCEL, 0);
  }
  return Handled;
}

// Should the dialog never report its initialisation, it is cancelled all the same.
TOpenDialog* RunningDialog = nullptr;
void CALLBACK CancelRunningDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (RunningDialog && RunningDialog->Handle())
    PostMessageA(RunningDialog->Handle(), WM_COMMAND, IDCANCEL, 0);
}

TEST_F(PlacementTest, TheSystemsFileDialogIsPlacedToo) {
  TFileDialogMessageHook Saved = std::exchange(FileDialogMessageHook, PlaceThenCancel);
  TOpenDialog* Open = Keep(NewObject<TOpenDialog>(nullptr));
  Open->SetFilter("Boards|*.PcbDoc|All files|*.*");
  RealDialogRect = {};
  RunningDialog = Open;
  UINT_PTR Timer = SetTimer(nullptr, 0, 10000, CancelRunningDialog);
  EXPECT_FALSE(Open->Execute());
  KillTimer(nullptr, Timer);
  RunningDialog = nullptr;
  FileDialogMessageHook = Saved;
  int Width = RealDialogRect.right - RealDialogRect.left;
  int Height = RealDialogRect.bottom - RealDialogRect.top;
  ASSERT_GT(Width, 0);
  EXPECT_EQ(Point(RealDialogRect.left, RealDialogRect.top), FileDialogPosition(Monitor, Width, Height));
}

}  // namespace
