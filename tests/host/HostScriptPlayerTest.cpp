// Playing scripts against real windows: a modal dialog made by the test stands in for
// the commands' windows. It runs on the test's thread, as a command's dialog runs on
// the host's, while the player drives it from its own thread through the system's input
// stream. What the dialog saw is read back afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/HostScriptPlayer.h"
#include "host/HostUserInput.h"
#include "tests/host/HostProcessSupport.h"
#include "tests/host/PictureTestSupport.h"
#include "tests/support/CursorSupport.h"

namespace {

const char DialogCaption[] = "Script Dialog";
const char PadClassName[] = "ScriptTestPad";
constexpr COLORREF PadColour = RGB(10, 200, 30);
constexpr COLORREF BusyPadColour = RGB(200, 30, 120);
constexpr int IdBack = 10, IdFinish = 11, IdEdit = 20, IdPad = 30;
constexpr int ClosedByFrame = 3, EndedByTest = 4;
constexpr UINT WM_ENDTEST = WM_APP + 7;
const RECT PadRect{220, 10, 300, 60};  // in the dialog's client area

// What the dialog saw.
struct TDialogLog {
  bool IgnoreCancel = false;  // Escape and the Cancel button do nothing
  bool IgnoreClose = false;   // the frame's close (Alt+F4) does nothing either
  bool BusyNext = false;      // Next works a while before it repaints the pad
  COLORREF Pad = PadColour;
  HWND Dialog = nullptr;
  int NextClicks = 0;
  int BackClicks = 0;
  std::string EditTextAtFinish;
  std::vector<std::string> EditTexts;  // after each change
  std::vector<POINT> PadPresses;  // client coordinates
  int PadDoubleClicks = 0;
  std::vector<std::string> PadKeys;  // "Ctrl+A", "Shift+Left", ...
  SIZE WindowSize{};  // the dialog's, frame included
  POINT PadOrigin{};  // the pad's top-left corner from the dialog's
};

TDialogLog* GLog = nullptr;

std::string KeyName(WPARAM Key) {
  switch (Key) {
    case VK_LEFT: return "Left";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Escape";
    case VK_TAB: return "Tab";
    case VK_F1: return "F1";
    case VK_HOME: return "Home";
    case VK_END: return "End";
    default: return std::string(1, static_cast<char>(Key));
  }
}

LRESULT CALLBACK PadProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_PAINT: {
      PAINTSTRUCT Paint;
      HDC Dc = BeginPaint(Window, &Paint);
      HBRUSH Brush = CreateSolidBrush(GLog->Pad);
      RECT Client;
      GetClientRect(Window, &Client);
      FillRect(Dc, &Client, Brush);
      DeleteObject(Brush);
      EndPaint(Window, &Paint);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN:
      SetFocus(Window);
      GLog->PadPresses.push_back(POINT{static_cast<short>(LOWORD(LParam)),
                                       static_cast<short>(HIWORD(LParam))});
      return 0;
    case WM_LBUTTONDBLCLK:
      ++GLog->PadDoubleClicks;
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      if (WParam == VK_SHIFT || WParam == VK_CONTROL || WParam == VK_MENU) break;
      std::string Name;
      if (GetKeyState(VK_CONTROL) < 0) Name += "Ctrl+";
      if (GetKeyState(VK_MENU) < 0) Name += "Alt+";
      if (GetKeyState(VK_SHIFT) < 0) Name += "Shift+";
      GLog->PadKeys.push_back(Name + KeyName(WParam));
      return 0;
    }
  }
  return DefWindowProcA(Window, Message, WParam, LParam);
}

void MakeChild(HWND Dialog, const char* Class, const char* Text, DWORD Style, int Id, RECT R) {
  CreateWindowExA(0, Class, Text, WS_CHILD | WS_VISIBLE | Style, R.left, R.top, R.right - R.left,
                  R.bottom - R.top, Dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)),
                  GetModuleHandleA(nullptr), nullptr);
}

INT_PTR CALLBACK DialogProc(HWND Dialog, UINT Message, WPARAM WParam, LPARAM) {
  switch (Message) {
    case WM_INITDIALOG: {
      GLog->Dialog = Dialog;
      MakeChild(Dialog, "BUTTON", "< &Back", WS_TABSTOP, IdBack, RECT{10, 100, 80, 125});
      MakeChild(Dialog, "BUTTON", "&Next >", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                RECT{90, 100, 160, 125});
      MakeChild(Dialog, "BUTTON", "Finish", WS_TABSTOP | WS_DISABLED, IdFinish,
                RECT{170, 100, 240, 125});
      MakeChild(Dialog, "BUTTON", "Cancel", WS_TABSTOP, IDCANCEL, RECT{250, 100, 320, 125});
      MakeChild(Dialog, "EDIT", "old text", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, IdEdit,
                RECT{10, 10, 200, 34});
      MakeChild(Dialog, PadClassName, "Pad", WS_TABSTOP, IdPad, PadRect);
      RECT Window{}, Pad{};
      GetWindowRect(Dialog, &Window);
      GetWindowRect(GetDlgItem(Dialog, IdPad), &Pad);
      GLog->WindowSize = SIZE{Window.right - Window.left, Window.bottom - Window.top};
      GLog->PadOrigin = POINT{Pad.left - Window.left, Pad.top - Window.top};
      SetForegroundWindow(Dialog);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(WParam)) {
        case IDOK:
          ++GLog->NextClicks;
          if (GLog->BusyNext) {
            // Work that keeps the thread from its messages, then a new look.
            Sleep(300);
            GLog->Pad = BusyPadColour;
            InvalidateRect(GetDlgItem(Dialog, IdPad), nullptr, TRUE);
          }
          return TRUE;
        case IdBack: ++GLog->BackClicks; return TRUE;
        case IdFinish: {
          char Text[64] = "";
          GetDlgItemTextA(Dialog, IdEdit, Text, sizeof(Text));
          GLog->EditTextAtFinish = Text;
          EndDialog(Dialog, 1);
          return TRUE;
        }
        case IDCANCEL:
          if (!GLog->IgnoreCancel) EndDialog(Dialog, 2);
          return TRUE;
        case IdEdit:
          if (HIWORD(WParam) == EN_CHANGE) {
            char Text[64] = "";
            GetDlgItemTextA(Dialog, IdEdit, Text, sizeof(Text));
            GLog->EditTexts.push_back(Text);
            EnableWindow(GetDlgItem(Dialog, IdFinish), std::string(Text) == "12.5 mm");
          }
          return TRUE;
      }
      break;
    case WM_CLOSE:
      if (!GLog->IgnoreClose) EndDialog(Dialog, ClosedByFrame);
      return TRUE;
    case WM_ENDTEST:
      EndDialog(Dialog, EndedByTest);
      return TRUE;
  }
  return FALSE;
}

// An in-memory dialog template: a captioned, movable dialog box without controls (they
// are made at WM_INITDIALOG).
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> Words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* Header = reinterpret_cast<DLGTEMPLATE*>(Words.data());
  Header->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  Header->x = 20;
  Header->y = 20;
  Header->cx = 230;
  Header->cy = 100;
  Words.push_back(0);  // no menu
  Words.push_back(0);  // the standard dialog class
  for (const char* C = DialogCaption; *C; ++C) Words.push_back(static_cast<WORD>(*C));
  Words.push_back(0);
  return Words;
}

void RegisterPadClass() {
  WNDCLASSA Class{};
  Class.style = CS_DBLCLKS;
  Class.lpfnWndProc = PadProc;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Class.lpszClassName = PadClassName;
  RegisterClassA(&Class);
}

TScript Script(const std::string& Text) {
  TScript Parsed;
  TScriptError Error;
  EXPECT_TRUE(ParseScript(Text, Parsed, Error)) << Error.Message();
  return Parsed;
}

class HostScriptPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPadClass();
    GLog = &Log;
    Folder = NewScratchFolder("script-play-");
    ASSERT_FALSE(Folder.empty());
    Options.OutputFolder = Folder;
    // The bounds of the host's scripted runs in the tests, which a loaded machine's
    // runs stay within; a case whose run ends on a bound sets a short one of its own.
    Options.StepTimeout = ScriptStepBound;
    Options.FinishTimeout = ScriptFinishBound;
  }
  void TearDown() override {
    GLog = nullptr;
    RemoveScratchFolder(Folder);
  }

  // Plays Text while no command runs; the player's exit code.
  int PlayWithoutCommands(const std::string& Text) {
    TScriptPlayer Player(Script(Text), Options);
    EXPECT_TRUE(Player.Start());
    Player.CommandsEnded();
    Player.WaitWhileHandlingMessages();
    Failure = Player.Failure();
    FailedLine = Player.FailedLine();
    return ExitCode = Player.ExitCode();
  }

  // Runs the dialog as a command while the player plays Text; the dialog's result.
  INT_PTR Play(const std::string& Text) {
    TScriptPlayer Player(Script(Text), Options);
    EXPECT_TRUE(Player.Start());
    std::vector<WORD> Template = DialogTemplate();
    INT_PTR Result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<DLGTEMPLATE*>(Template.data()),
                                             nullptr, DialogProc, 0);
    Player.CommandsEnded();
    Player.WaitWhileHandlingMessages();
    ExitCode = Player.ExitCode();
    Failure = Player.Failure();
    FailedLine = Player.FailedLine();
    return Result;
  }

  bool Saved(const std::string& Name) const {
    return GetFileAttributesA((Folder + Name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  TDialogLog Log;
  std::string Folder;
  TScriptPlayerOptions Options;
  int ExitCode = -1;
  std::string Failure;
  int FailedLine = -1;
};

// Captions in any letter case and without their accelerator marks; characters with
// Shift and ones without a key; typing over the focused edit's text and waiting for
// its effect (Finish is enabled by "12.5 mm").
TEST_F(HostScriptPlayerTest, ClicksButtonsByTheirCaptionsAndTypesOverTheFocusedEdit) {
  EXPECT_EQ(Play("wait Script Dialog\n"
                 "click next >\n"
                 "click < Back\n"
                 "click Next >\n"
                 "expect Finish disabled\n"
                 "expect Next > enabled\n"
                 "click #Edit\n"
                 "type Ab_1 (x) \xE9!\n"
                 "type 12.5 mm\n"
                 "expect Finish enabled\n"
                 "click Finish\n"),
            1);
  EXPECT_EQ(ExitCode, 0) << Failure;
  EXPECT_EQ(Log.NextClicks, 2);
  EXPECT_EQ(Log.BackClicks, 1);
  EXPECT_NE(std::find(Log.EditTexts.begin(), Log.EditTexts.end(), "Ab_1 (x) \xE9!"),
            Log.EditTexts.end());
  EXPECT_EQ(Log.EditTextAtFinish, "12.5 mm");
  EXPECT_FALSE(Saved("failed.png"));
}

// Type with "" deletes the field's text; quotes elsewhere are typed; Backspace and
// Delete reach the edit as a user's keys.
TEST_F(HostScriptPlayerTest, TypeWithEmptyQuotesClearsTheFieldAndBackspaceAndDeleteEdit) {
  EXPECT_EQ(Play("wait Script Dialog\n"
                 "click #Edit\n"
                 "type \"\"\n"
                 "type \"q\"\n"
                 "key Backspace\n"
                 "key Home\n"
                 "key Delete\n"
                 "key Escape\n"),
            2);
  EXPECT_EQ(ExitCode, 0) << Failure;
  EXPECT_EQ(Log.EditTexts, (std::vector<std::string>{"", "\"", "\"q", "\"q\"", "\"q", "q"}));
}

// A shot is the foreground window with its frame; a step waits until the input before
// it is handled and painted, even when Next works a while before it repaints.
TEST_F(HostScriptPlayerTest, ShotSavesTheForegroundWindowAfterTheInputBeforeIsPainted) {
  Log.BusyNext = true;
  EXPECT_EQ(Play("wait Script Dialog\n"
                 "shot dialog\n"
                 "click Next >\n"
                 "shot after-next\n"
                 "click Cancel\n"),
            2);
  EXPECT_EQ(ExitCode, 0) << Failure;
  const TPicture Before = LoadPicture(Folder + "dialog.png");
  ASSERT_TRUE(Before.Loaded());
  EXPECT_EQ(Before.Width, Log.WindowSize.cx);
  EXPECT_EQ(Before.Height, Log.WindowSize.cy);
  const POINT PadCentre{Log.PadOrigin.x + (PadRect.right - PadRect.left) / 2,
                        Log.PadOrigin.y + (PadRect.bottom - PadRect.top) / 2};
  EXPECT_EQ(Before.At(PadCentre), PadColour);
  const TPicture After = LoadPicture(Folder + "after-next.png");
  ASSERT_TRUE(After.Loaded());
  EXPECT_EQ(After.At(PadCentre), BusyPadColour);
}

// Enter presses the default button; clicks land at their offset (or the centre) and
// never make a double click; keys reach the focused pad with their modifiers.
TEST_F(HostScriptPlayerTest, ClicksAtAnOffsetAndKeysReachTheFocusedWindowWithTheirModifiers) {
  EXPECT_EQ(Play("wait Script Dialog\n"
                 "key Enter\n"
                 "click Pad @5,6\n"
                 "click Pad @5,6\n"
                 "click #ScriptTestPad\n"
                 "key Ctrl+a\n"
                 "key Shift+Left\n"
                 "key Alt+F1\n"
                 "key 7\n"
                 "key Tab\n"
                 "key Escape\n"
                 "click Cancel\n"),
            2);
  EXPECT_EQ(ExitCode, 0) << Failure;
  EXPECT_EQ(Log.NextClicks, 1);
  ASSERT_EQ(Log.PadPresses.size(), 3u);
  const int Width = PadRect.right - PadRect.left, Height = PadRect.bottom - PadRect.top;
  const std::vector<POINT> Presses{{5, 6}, {5, 6}, {Width / 2, Height / 2}};
  for (std::size_t I = 0; I < Presses.size(); ++I) {
    EXPECT_EQ(Log.PadPresses[I].x, Presses[I].x) << I;
    EXPECT_EQ(Log.PadPresses[I].y, Presses[I].y) << I;
  }
  EXPECT_EQ(Log.PadDoubleClicks, 0);
  EXPECT_EQ(Log.PadKeys,
            (std::vector<std::string>{"Ctrl+A", "Shift+Left", "Alt+F1", "7", "Tab", "Escape"}));
}

TEST_F(HostScriptPlayerTest, AFailedRunIsReportedPicturedAndItsDialogClosed) {
  struct TCase {
    const char* Script;
    bool IgnoreCancel;
    DWORD StepTimeout, FinishTimeout;
    INT_PTR Result;
    int Line;
    const char* Failure;  // the whole message, or its start when it ends in "..."
  };
  const TCase Cases[] = {
      {"# the dialog comes\nwait Script Dialog\nclick Nothing Here\nclick Cancel\n", false, 500,
       3000, 2, 3,
       "script line 3: no visible window \"Nothing Here\" below the foreground window within "
       "0.5 s..."},
      {"wait Script Dialog\nclick Finish\n", false, 500, 3000, 2, 2,
       "script line 2: \"Finish\" stayed disabled for 0.5 s"},
      {"wait Script Dialog\nexpect Finish enabled\n", true, 500, 3000, ClosedByFrame, 2,
       "script line 2: \"Finish\" is disabled, not enabled"},
      {"wait Script Dialog\nexpect Finish disabled\n\n# done\n", false, 3000, 500, 2, 2,
       "script line 2: the commands are still running 0.5 s after the last step"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Script);
    Log = TDialogLog{};
    Log.IgnoreCancel = Case.IgnoreCancel;
    Options.StepTimeout = Case.StepTimeout;
    Options.FinishTimeout = Case.FinishTimeout;
    DeleteFileA((Folder + "failed.png").c_str());
    EXPECT_EQ(Play(Case.Script), Case.Result);
    EXPECT_EQ(ExitCode, 1);
    EXPECT_EQ(FailedLine, Case.Line);
    std::string Expected = Case.Failure;
    if (Expected.ends_with("...")) {
      Expected.resize(Expected.size() - 3);
      EXPECT_EQ(Failure.rfind(Expected, 0), 0u) << Failure;
    } else {
      EXPECT_EQ(Failure, Expected);
    }
    TPicture Picture = LoadPicture(Folder + "failed.png");
    ASSERT_TRUE(Picture.Loaded());
    EXPECT_EQ(Picture.Width, Log.WindowSize.cx);
    EXPECT_EQ(Picture.Height, Log.WindowSize.cy);
  }
}

TEST_F(HostScriptPlayerTest, AWaitForAWindowThatNeverComesEndsAtTheStepTimeout) {
  Options.StepTimeout = 300;
  EXPECT_EQ(PlayWithoutCommands("\nwait Nothing Here\nshot never\n"), 1);
  EXPECT_EQ(FailedLine, 2);
  EXPECT_EQ(Failure.rfind("script line 2: no window \"Nothing Here\" came to the foreground "
                          "within 0.3 s",
                          0),
            0u)
      << Failure;
  EXPECT_TRUE(Saved("failed.png"));
  EXPECT_FALSE(Saved("never.png"));
}

TEST_F(HostScriptPlayerTest, AScriptThatPlaysThroughWithoutCommandsSucceeds) {
  EXPECT_EQ(PlayWithoutCommands("# nothing to do\n"), 0);
  EXPECT_TRUE(Failure.empty());
  EXPECT_FALSE(Saved("failed.png"));
}

std::string GAbandoned;

void EndTheDialog(const std::string& Message) {
  GAbandoned = Message;
  PostMessageA(GLog->Dialog, WM_ENDTEST, 0, 0);
}

TEST_F(HostScriptPlayerTest, ADialogThatWillNotCloseIsAbandoned) {
  Options.StepTimeout = 500;
  Options.Abandon = EndTheDialog;
  Log.IgnoreCancel = true;
  Log.IgnoreClose = true;
  GAbandoned.clear();
  EXPECT_EQ(Play("wait Script Dialog\nclick Nothing\n"), EndedByTest);
  EXPECT_EQ(ExitCode, 1);
  EXPECT_EQ(GAbandoned, Failure);
  EXPECT_EQ(FailedLine, 2);
}

bool GHostRunAbandoned = false;

void NoteAbandon(const std::string&) { GHostRunAbandoned = true; }

// With the host's main window in the foreground and the commands still running, a
// failed run presses nothing: that window is not the commands' to close.
TEST_F(HostScriptPlayerTest, AFailedRunNeverClosesTheHostsWindow) {
  HWND Host = CreateWindowExA(0, PadClassName, "Host Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              40, 40, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  ASSERT_NE(Host, nullptr);
  SetForegroundWindow(Host);
  SetFocus(Host);
  Options.StepTimeout = 500;
  Options.HostWindow = Host;
  Options.Abandon = NoteAbandon;
  GHostRunAbandoned = false;
  {
    TScriptPlayer Player(Script("wait Host Window\nclick Nothing\n"), Options);
    ASSERT_TRUE(Player.Start());
    Player.WaitWhileHandlingMessages();  // the commands never end
    EXPECT_EQ(Player.ExitCode(), 1);
    EXPECT_EQ(Player.FailedLine(), 2);
  }
  EXPECT_TRUE(GHostRunAbandoned);
  EXPECT_TRUE(IsWindow(Host));
  EXPECT_TRUE(Log.PadKeys.empty());
  DestroyWindow(Host);
}

// A press and its release carry their spot: they land there even when the pointer was
// put elsewhere after the player saw it at the spot, as the late report of an earlier
// move can do.
TEST_F(HostScriptPlayerTest, APressLandsAtItsSpotWhereverThePointerWasPutSince) {
  HWND Pad = CreateWindowExA(0, PadClassName, "Pad", WS_POPUP | WS_VISIBLE, 300, 300, 80, 50,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(Pad, nullptr);
  SetForegroundWindow(Pad);
  ASSERT_TRUE(PlaceCursor(900, 700));
  const auto HandleUntil = [](auto Done) {
    const DWORD Start = GetTickCount();
    MSG Message;
    while (!Done() && GetTickCount() - Start < ScriptStepBound) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&Message);
    }
  };
  EXPECT_TRUE(SendLeftButton(true, POINT{310, 320}));
  HandleUntil([&] { return !Log.PadPresses.empty(); });
  EXPECT_TRUE(SendLeftButton(false, POINT{310, 320}));
  HandleUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
  DestroyWindow(Pad);
  ASSERT_EQ(Log.PadPresses.size(), 1u);
  EXPECT_EQ(Log.PadPresses[0].x, 10);
  EXPECT_EQ(Log.PadPresses[0].y, 20);
}

}  // namespace
