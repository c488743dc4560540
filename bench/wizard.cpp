// Times the board wizard as a user meets it, in the host with the module loaded: from
// the "RunWizard" command's start to the dialog's first paint, and from the Finish
// button's click to the new board's text saved. Each is set against a yardstick
// measured in the same run: an empty window of the dialog's size shown and painted,
// and a blank board document opened, saved as text and closed by the host. Each is run
// several times (5, or the number given as the argument: a busy machine needs more to
// find the best); the first (cold) and the best time are printed, and each line ends
// with its ratio to the yardstick's best time.
//
// The dialog is driven from a message hook on this thread: when its first paint is
// done (a marker posted behind the paint comes back), Next is clicked until Finish is
// enabled, then Finish.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/HostCore.h"
#include "host/HostDocuments.h"
#include "host/HostLoader.h"

namespace {

constexpr int DefaultRuns = 5;
constexpr UINT MarkerMessage = WM_APP + 0x5A;
const char DialogCaption[] = "PCB Board Wizard";

double Now() {
  static LARGE_INTEGER Frequency = [] {
    LARGE_INTEGER F;
    QueryPerformanceFrequency(&F);
    return F;
  }();
  LARGE_INTEGER Count;
  QueryPerformanceCounter(&Count);
  return Count.QuadPart * 1000.0 / Frequency.QuadPart;
}

std::string WindowText(HWND Window) {
  char Text[64] = {};
  GetWindowTextA(Window, Text, sizeof Text);
  std::string S = Text;
  S.erase(std::remove(S.begin(), S.end(), '&'), S.end());
  return S;
}

struct TChildSearch {
  const std::string* Text;
  HWND Found;
};

BOOL CALLBACK MatchChild(HWND Child, LPARAM Data) {
  auto* S = reinterpret_cast<TChildSearch*>(Data);
  if (!IsWindowVisible(Child) || WindowText(Child) != *S->Text) return TRUE;
  S->Found = Child;
  return FALSE;
}

HWND FindChildByText(HWND Parent, const std::string& Text) {
  TChildSearch Search{&Text, nullptr};
  EnumChildWindows(Parent, MatchChild, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

void PostClick(HWND Button) {
  RECT R;
  GetClientRect(Button, &R);
  const LPARAM Middle = MAKELPARAM(R.right / 2, R.bottom / 2);
  PostMessageA(Button, WM_LBUTTONDOWN, MK_LBUTTON, Middle);
  PostMessageA(Button, WM_LBUTTONUP, 0, Middle);
}

// One walk of the dialog, seen from the message hook.
struct TWalk {
  enum { WaitingForPaint, Walking, Finished } State = WaitingForPaint;
  HWND Dialog = nullptr;
  RECT DialogBounds{};
  double Painted = 0;
  double FinishClicked = 0;
  std::string Problem;
};

TWalk* Walk = nullptr;

bool IsWizardDialog(HWND Window) {
  return Window && GetAncestor(Window, GA_ROOT) == Window && WindowText(Window) == DialogCaption;
}

// Clicks Finish when it is enabled, otherwise Next, with a marker behind the click.
void Step(TWalk& W) {
  HWND Finish = FindChildByText(W.Dialog, "Finish");
  HWND Next = FindChildByText(W.Dialog, "Next >");
  if (Finish && IsWindowEnabled(Finish)) {
    W.State = TWalk::Finished;
    W.FinishClicked = Now();
    PostClick(Finish);
    return;
  }
  if (!Next || !IsWindowEnabled(Next)) {
    W.Problem = "neither Finish nor Next is enabled";
    W.State = TWalk::Finished;
    PostMessageA(W.Dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  PostClick(Next);
  PostMessageA(W.Dialog, MarkerMessage, 0, 0);
}

LRESULT CALLBACK GetMessageHook(int Code, WPARAM Removed, LPARAM Data) {
  auto* Msg = reinterpret_cast<MSG*>(Data);
  if (Code == HC_ACTION && Removed == PM_REMOVE && Walk) {
    TWalk& W = *Walk;
    if (W.State == TWalk::WaitingForPaint && Msg->message == WM_PAINT &&
        IsWizardDialog(Msg->hwnd)) {
      // The paint runs once this message is dispatched; the marker comes back after it.
      W.Dialog = Msg->hwnd;
      GetWindowRect(W.Dialog, &W.DialogBounds);
      PostMessageA(W.Dialog, MarkerMessage, 0, 0);
    } else if (Msg->message == MarkerMessage && Msg->hwnd == W.Dialog) {
      Msg->message = WM_NULL;
      if (W.State == TWalk::WaitingForPaint) {
        W.Painted = Now();
        W.State = TWalk::Walking;
      }
      if (W.State == TWalk::Walking) Step(W);
    }
  }
  return CallNextHookEx(nullptr, Code, Removed, Data);
}

// The yardstick for the dialog: an empty top-level window of the same size, from its
// creation to the end of its first paint.
double PaintEnded = 0;

LRESULT CALLBACK EmptyWindowProc(HWND W, UINT M, WPARAM WP, LPARAM LP) {
  if (M != WM_PAINT) return DefWindowProcA(W, M, WP, LP);
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(W, &PS);
  FillRect(DC, &PS.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  EndPaint(W, &PS);
  PaintEnded = Now();
  return 0;
}

double EmptyWindowShown(const RECT& Bounds) {
  static const ATOM Class = [] {
    WNDCLASSA C = {};
    C.lpfnWndProc = EmptyWindowProc;
    C.hInstance = GetModuleHandleA(nullptr);
    C.hCursor = LoadCursor(nullptr, IDC_ARROW);
    C.lpszClassName = "WizardBenchEmpty";
    return RegisterClassA(&C);
  }();
  (void)Class;
  PaintEnded = 0;
  const double Start = Now();
  HWND Window = CreateWindowExA(WS_EX_DLGMODALFRAME, "WizardBenchEmpty", DialogCaption,
                                WS_POPUP | WS_CAPTION | WS_SYSMENU, Bounds.left, Bounds.top,
                                Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(Window, SW_SHOW);
  MSG Msg;
  while (PaintEnded == 0 && GetMessageA(&Msg, nullptr, 0, 0)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  const double Elapsed = PaintEnded - Start;
  DestroyWindow(Window);
  return Elapsed;
}

std::string Fixed(double Value) {
  char Text[32];
  std::snprintf(Text, sizeof Text, "%8.1f", Value);
  return Text;
}

struct TTimes {
  double First = 0, Best = 1e30;
  void Add(double Value) {
    if (First == 0) First = Value;
    Best = std::min(Best, Value);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int Runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultRuns;
  THostOptions Options;
  Options.Folder = HostFolder() + "..\\host-root\\";
  Options.ShowMainWindow = true;
  THost* Host = CreateHost(Options);
  std::string Error;
  if (!Host || !Host->Start("Tarvik.dll", Error)) {
    std::fprintf(stderr, "wizard_bench: cannot start the host: %s\n", Error.c_str());
    return 1;
  }
  THostEditor Editor;
  if (!Editor.Load(Host->Folder(), Error)) {
    std::fprintf(stderr, "wizard_bench: %s\n", Error.c_str());
    return 1;
  }
  char TempFolder[MAX_PATH];
  GetTempPathA(MAX_PATH, TempFolder);
  const std::string TextFile = std::string(TempFolder) + "wizard_bench.txt";

  HHOOK Hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
  TTimes Shown, Finished, Empty, Blank;
  RECT DialogBounds{};
  for (int Run = 0; Run < Runs; ++Run) {
    TWalk W;
    Walk = &W;
    const double Start = Now();
    int Result = 0;
    Host->LaunchCommand("RunWizard", "", Result, Error);
    THostDocument* Document = Host->CurrentDocument();
    if (!W.Problem.empty() || W.State != TWalk::Finished || !Document || !Document->Board() ||
        !Editor.SaveBoard(Document->Board(), TextFile)) {
      std::fprintf(stderr, "wizard_bench: the wizard made no board (%s)\n", W.Problem.c_str());
      return 1;
    }
    const double Saved = Now();
    Walk = nullptr;
    Shown.Add(W.Painted - Start);
    Finished.Add(Saved - W.FinishClicked);
    DialogBounds = W.DialogBounds;
    Host->CloseDocument(Document->Interface());

    // The yardsticks, in the same run.
    Empty.Add(EmptyWindowShown(DialogBounds));
    const double BlankStart = Now();
    THostDocument* BlankDocument = Host->OpenDocument("PCB", "Blank.PcbDoc");
    if (!BlankDocument || !Editor.SaveBoard(BlankDocument->Board(), TextFile)) {
      std::fprintf(stderr, "wizard_bench: cannot save a blank board\n");
      return 1;
    }
    Host->CloseDocument(BlankDocument->Interface());
    Blank.Add(Now() - BlankStart);
  }
  UnhookWindowsHookEx(Hook);
  DeleteFileA(TextFile.c_str());

  std::printf("%d runs, times in ms (first, best)\n", Runs);
  std::printf("dialog painted  %s %s   empty window %s %s   ratio %.2f\n",
              Fixed(Shown.First).c_str(), Fixed(Shown.Best).c_str(), Fixed(Empty.First).c_str(),
              Fixed(Empty.Best).c_str(), Shown.Best / Empty.Best);
  std::printf("finish saved    %s %s   blank board  %s %s   ratio %.2f\n",
              Fixed(Finished.First).c_str(), Fixed(Finished.Best).c_str(),
              Fixed(Blank.First).c_str(), Fixed(Blank.Best).c_str(),
              Finished.Best / Blank.Best);
  Editor.Unload();
  Host->Stop(&Error);
  DestroyHost(Host);
  return 0;
}
