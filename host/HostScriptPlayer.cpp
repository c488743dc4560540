#include "host/HostScriptPlayer.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/HostCom.h"
#include "host/HostPng.h"
#include "host/HostUserInput.h"

namespace {

const char ProbeClassName[] = "PcbHostScriptProbe";
// A question: wParam its number, lParam nonzero when the answer must also wait until the
// thread has waited for messages (so that what it painted has reached the screen).
constexpr UINT WM_SCRIPTPROBE = WM_APP + 0x51;
// A new look at the queue, posted while a question waits each time the thread takes a
// message: it is taken once that message has been handled.
constexpr UINT WM_SCRIPTRECHECK = WM_APP + 0x52;
constexpr UINT_PTR ProbeTimer = 1;
// How long the player waits between two looks at the windows while a step waits.
constexpr DWORD PollPause = 20;
// How many windows a failed run closes at most.
constexpr int CloseRounds = 8;

// The probe window's state: the question waiting for its answer and how far it came.
struct TProbeState {
  HWND Window = nullptr;
  volatile LONG* Seen = nullptr;
  HANDLE Answered = nullptr;
  LONG Question = 0;   // the question waiting, 0 when none
  bool Settle = false;  // it waits for the thread to have waited for messages too
  bool Empty = false;   // Settle: the queue was found empty and no message was taken since
  bool RecheckPosted = false;
  HHOOK Hook = nullptr;  // sees the thread take its messages while a question waits
};

// The probe whose question waits (the UI thread's; the hook runs on that thread).
TProbeState* GWaitingProbe = nullptr;

// Nothing for the thread to handle: no input, no posted or sent message, nothing to paint
// (timers do not count).
bool NothingQueued() {
  const DWORD Pending = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_PAINT |
                        QS_SENDMESSAGE | QS_HOTKEY;
  return HIWORD(GetQueueStatus(Pending)) == 0;
}

// Nothing queued, also after a wait for messages that returns at once: such a wait takes
// in what the window system has reported to the thread since it last waited (which turns
// into messages) and puts what the thread painted on the screen.
bool QueueIsEmpty() {
  if (!NothingQueued()) return false;
  MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
  return NothingQueued();
}

LRESULT CALLBACK ProbeGetMessageHook(int Code, WPARAM WParam, LPARAM LParam) {
  TProbeState* State = GWaitingProbe;
  if (Code == HC_ACTION && WParam == PM_REMOVE && State && State->Question) {
    const MSG* Message = reinterpret_cast<const MSG*>(LParam);
    if (Message->hwnd != State->Window) {
      // The thread is busy again: a settled answer needs a new empty queue, and the
      // queue is looked at again once this message has been handled.
      State->Empty = false;
      if (!State->RecheckPosted)
        State->RecheckPosted = PostMessageA(State->Window, WM_SCRIPTRECHECK, 0, 0) != FALSE;
    }
  }
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

void AnswerProbe(TProbeState& State) {
  KillTimer(State.Window, ProbeTimer);
  if (State.Hook) UnhookWindowsHookEx(State.Hook);
  State.Hook = nullptr;
  if (GWaitingProbe == &State) GWaitingProbe = nullptr;
  InterlockedExchange(State.Seen, State.Question);
  State.Question = 0;
  SetEvent(State.Answered);
}

// A look at the queue while a question waits. An empty queue means that the thread has
// taken and handled everything that came before the question (the question is posted
// after the input it follows, and posted messages are taken before input). A question
// that settles is answered at the next timer tick after that, when the thread has taken
// no message in between: it has waited for messages, and its windows' pixels have
// reached the screen. Otherwise the timer and the hook bring the next look.
void LookAtQueue(TProbeState& State) {
  if (!State.Question) return;
  if (QueueIsEmpty()) {
    if (!State.Settle) {
      AnswerProbe(State);
      return;
    }
    State.Empty = true;
  } else {
    State.Empty = false;
  }
  if (!State.Hook) {
    GWaitingProbe = &State;
    State.Hook = SetWindowsHookExA(WH_GETMESSAGE, ProbeGetMessageHook, nullptr,
                                   GetCurrentThreadId());
  }
  SetTimer(State.Window, ProbeTimer, USER_TIMER_MINIMUM, nullptr);
}

// "10 s", "0.5 s"
std::string Seconds(DWORD Milliseconds) {
  char Text[32];
  if (Milliseconds % 1000 == 0)
    std::snprintf(Text, sizeof(Text), "%lu s", static_cast<unsigned long>(Milliseconds / 1000));
  else
    std::snprintf(Text, sizeof(Text), "%.1f s", Milliseconds / 1000.0);
  return Text;
}

// The window's own text as the system keeps it (no message is sent to the window).
std::string WindowText(HWND Window) {
  wchar_t Wide[512] = {};
  const int Length = InternalGetWindowText(Window, Wide, 512);
  if (Length <= 0) return std::string();
  const int Size = WideCharToMultiByte(CP_ACP, 0, Wide, Length, nullptr, 0, nullptr, nullptr);
  std::string Text(Size > 0 ? Size : 0, '\0');
  if (Size > 0) WideCharToMultiByte(CP_ACP, 0, Wide, Length, Text.data(), Size, nullptr, nullptr);
  return Text;
}

std::string ClassName(HWND Window) {
  char Name[256] = "";
  GetClassNameA(Window, Name, sizeof(Name));
  return Name;
}

bool Matches(HWND Window, const TScriptTarget& Target) {
  if (Target.ByClass) return HostSameText(ClassName(Window), Target.Text);
  return HostSameText(WithoutAccelerators(WindowText(Window)), Target.Text);
}

std::string Describe(const TScriptTarget& Target) {
  return Target.ByClass ? "a window of class \"" + Target.Text + "\"" : "\"" + Target.Text + "\"";
}

struct TTargetSearch {
  const TScriptTarget* Target;
  HWND Found;
};

BOOL CALLBACK MatchChild(HWND Window, LPARAM Data) {
  auto* Search = reinterpret_cast<TTargetSearch*>(Data);
  if (!IsWindowVisible(Window) || !Matches(Window, *Search->Target)) return TRUE;
  Search->Found = Window;
  return FALSE;
}

// The first visible window below Parent that matches Target, or nullptr.
HWND FindTarget(HWND Parent, const TScriptTarget& Target) {
  TTargetSearch Search{&Target, nullptr};
  EnumChildWindows(Parent, MatchChild, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

bool IsOwnWindow(HWND Window) {
  DWORD Process = 0;
  return Window && GetWindowThreadProcessId(Window, &Process) && Process == GetCurrentProcessId();
}

// Saves the screen's pixels under Rect as a PNG file.
bool SaveScreenRect(const RECT& Rect, const std::string& FileName) {
  const int Width = Rect.right - Rect.left, Height = Rect.bottom - Rect.top;
  if (Width <= 0 || Height <= 0) return false;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  HBITMAP Bitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Bitmap) return false;
  bool Copied = false;
  if (HDC Screen = GetDC(nullptr)) {
    if (HDC Memory = CreateCompatibleDC(Screen)) {
      HGDIOBJ Old = SelectObject(Memory, Bitmap);
      Copied = BitBlt(Memory, 0, 0, Width, Height, Screen, Rect.left, Rect.top, SRCCOPY) != 0;
      GdiFlush();
      SelectObject(Memory, Old);
      DeleteDC(Memory);
    }
    ReleaseDC(nullptr, Screen);
  }
  const bool Saved = Copied && SaveBitmapAsPng(Bitmap, FileName);
  DeleteObject(Bitmap);
  return Saved;
}

LRESULT CALLBACK ScriptProbeProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  auto* State = reinterpret_cast<TProbeState*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
  switch (Message) {
    case WM_NCCREATE:
      State = reinterpret_cast<TProbeState*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
      State->Window = Window;
      SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(State));
      break;
    case WM_SCRIPTPROBE:
      if (State) {
        State->Question = static_cast<LONG>(WParam);
        State->Settle = LParam != 0;
        State->Empty = false;
        LookAtQueue(*State);
      }
      return 0;
    case WM_SCRIPTRECHECK:
      if (State) {
        State->RecheckPosted = false;
        LookAtQueue(*State);
      }
      return 0;
    case WM_TIMER:
      if (WParam != ProbeTimer || !State) break;
      if (State->Question && State->Settle && State->Empty && QueueIsEmpty())
        AnswerProbe(*State);
      else
        LookAtQueue(*State);
      return 0;
    case WM_NCDESTROY:
      if (State) {
        KillTimer(Window, ProbeTimer);
        if (State->Hook) UnhookWindowsHookEx(State->Hook);
        if (GWaitingProbe == State) GWaitingProbe = nullptr;
        delete State;
      }
      SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(Window, Message, WParam, LParam);
}

}  // namespace

// One playing of the script, on the player's thread.
class TScriptPlayer::TRun {
 public:
  explicit TRun(TScriptPlayer& Player) : P(Player), O(Player.FOptions) {}

  void Play() {
    int LastLine = P.FScript.LineCount;
    for (const TScriptStep& Step : P.FScript.Steps) {
      LastLine = Step.Line;
      std::string Reason;
      if (!RunStep(Step, Reason)) {
        Fail(Step.Line, Reason);
        return;
      }
    }
    if (!WaitFor(P.FCommandsEnded, O.FinishTimeout))
      Fail(LastLine, "the commands are still running " + Seconds(O.FinishTimeout) +
                         " after the last step");
  }

 private:
  bool Stopped() const { return WaitForSingleObject(P.FStop, 0) == WAIT_OBJECT_0; }
  bool CommandsHaveEnded() const {
    return WaitForSingleObject(P.FCommandsEnded, 0) == WAIT_OBJECT_0;
  }

  // Waits for Event up to Timeout; false on time-out or when the player is stopped.
  bool WaitFor(HANDLE Event, DWORD Timeout) {
    HANDLE Handles[2] = {Event, P.FStop};
    return WaitForMultipleObjects(2, Handles, FALSE, Timeout) == WAIT_OBJECT_0;
  }

  // Milliseconds left until Deadline (a tick count), 0 when it has passed.
  static DWORD Left(DWORD Deadline) {
    const LONG Rest = static_cast<LONG>(Deadline - GetTickCount());
    return Rest > 0 ? static_cast<DWORD>(Rest) : 0;
  }

  // Waits until the UI thread has handled everything sent before, or Deadline passed;
  // Settle: and has waited for messages since, so that its windows are on the screen.
  bool WaitUntilHandled(DWORD Deadline, bool Settle = false) {
    const LONG Question = InterlockedIncrement(&P.FProbeAsked);
    if (!PostMessageA(P.FProbe, WM_SCRIPTPROBE, static_cast<WPARAM>(Question), Settle))
      return false;
    for (;;) {
      if (InterlockedCompareExchange(&P.FProbeSeen, 0, 0) - Question >= 0) {
        FHandled = true;
        FSettled = Settle;
        return true;
      }
      const DWORD Rest = Left(Deadline);
      if (Rest == 0 || Stopped()) return false;
      WaitFor(P.FProbeAnswered, Rest);
    }
  }

  // One look at the windows after another until Ready holds or Deadline passes; a look
  // follows the handling of what came before it. The first look needs no probe of its
  // own when the thread has handled everything since the last input.
  template <class Condition>
  bool WaitUntil(DWORD Deadline, Condition Ready, bool Settle = false) {
    for (bool First = true;; First = false) {
      const bool Handled = (First && (Settle ? FSettled : FHandled)) ||
                           WaitUntilHandled(Deadline, Settle);
      if (Handled && Ready()) return true;
      if (Left(Deadline) == 0 || Stopped()) return false;
      WaitForSingleObject(P.FStop, PollPause);
    }
  }

  std::string ForegroundDescription() const {
    HWND Foreground = GetForegroundWindow();
    if (!Foreground) return "no window is in the foreground";
    return "the foreground window is \"" + WindowText(Foreground) + "\"";
  }

  std::string NotHandled() const {
    return "the program did not handle the input within " + Seconds(O.StepTimeout);
  }

  // The input goes out through these, which note that the thread has something new to
  // handle.
  bool MovePointer(POINT Spot) {
    FHandled = FSettled = false;
    return SendPointerMove(Spot);
  }
  bool PressLeftButton(bool Down, POINT Spot) {
    FHandled = FSettled = false;
    return SendLeftButton(Down, Spot);
  }
  bool PressChord(const TKeyChord& Chord) {
    FHandled = FSettled = false;
    return SendKeyChord(Chord);
  }
  bool TypeCharacter(char Character) {
    FHandled = FSettled = false;
    return SendCharacter(Character);
  }

  bool RunStep(const TScriptStep& Step, std::string& Reason) {
    const DWORD Deadline = GetTickCount() + O.StepTimeout;
    // A step that follows handled input starts at once.
    if (!FHandled && !WaitUntilHandled(Deadline)) {
      Reason = Stopped() ? "the run was stopped" : NotHandled();
      return false;
    }
    switch (Step.Action) {
      case TScriptAction::Wait: return Wait(Step, Deadline, Reason);
      case TScriptAction::Click: return Click(Step, Deadline, Reason);
      case TScriptAction::Key: return Key(Step, Deadline, Reason);
      case TScriptAction::Type: return Type(Step, Deadline, Reason);
      case TScriptAction::Expect: return Expect(Step, Deadline, Reason);
      case TScriptAction::Shot: return Shot(Step, Deadline, Reason);
    }
    Reason = "unknown step";
    return false;
  }

  bool Wait(const TScriptStep& Step, DWORD Deadline, std::string& Reason) {
    const TScriptTarget Caption{Step.Text, false};
    if (WaitUntil(Deadline, [&] {
          HWND Foreground = GetForegroundWindow();
          return Foreground && Matches(Foreground, Caption);
        }))
      return true;
    Reason = "no window \"" + Step.Text + "\" came to the foreground within " +
             Seconds(O.StepTimeout) + " (" + ForegroundDescription() + ")";
    return false;
  }

  // Waits for the target below the foreground window; Enabled: also until it is enabled.
  HWND WaitForTarget(const TScriptTarget& Target, DWORD Deadline, bool Enabled,
                     std::string& Reason) {
    HWND Found = nullptr;
    if (WaitUntil(Deadline, [&] {
          HWND Foreground = GetForegroundWindow();
          Found = Foreground ? FindTarget(Foreground, Target) : nullptr;
          return Found && (!Enabled || IsWindowEnabled(Found));
        }))
      return Found;
    if (Found)
      Reason = Describe(Target) + " stayed disabled for " + Seconds(O.StepTimeout);
    else
      Reason = "no visible window " + Describe(Target) + " below the foreground window within " +
               Seconds(O.StepTimeout) + " (" + ForegroundDescription() + ")";
    return nullptr;
  }

  bool Click(const TScriptStep& Step, DWORD Deadline, std::string& Reason) {
    HWND Target = WaitForTarget(Step.Target, Deadline, true, Reason);
    if (!Target) return false;
    // The pointer goes to the spot, and the player sees it there over the target (the
    // target may still move while it waits). It looks only once the desktop's process
    // has taken in the reports of the moves so far, which could otherwise still put the
    // pointer back where it was after the look; a pointer put back is moved again.
    POINT Spot{};
    const auto PointerToSpot = [&] {
      RECT Rect{};
      if (!IsWindow(Target) || !GetWindowRect(Target, &Rect)) return false;
      Spot = Step.HasOffset ? POINT{Rect.left + Step.Offset.x, Rect.top + Step.Offset.y}
                            : POINT{(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2};
      TakeInPointerReports(Left(Deadline));
      POINT Cursor{};
      GetCursorPos(&Cursor);
      if (Cursor.x == Spot.x && Cursor.y == Spot.y) return true;
      MovePointer(Spot);
      return false;
    };
    PointerToSpot();
    // Presses closer together than the double-click time, and nearer each other than half
    // the double-click rectangle, would make a double click. The time runs from the moment
    // after the last press went out, which the system's time of that press precedes.
    const DWORD Apart = GetDoubleClickTime() + 1;
    if (FClicked && std::abs(Spot.x - FLastSpot.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(Spot.y - FLastSpot.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
      const DWORD Since = GetTickCount() - FLastPress;
      if (Since <= Apart && WaitForSingleObject(P.FStop, Apart - Since + 1) == WAIT_OBJECT_0) {
        Reason = "the run was stopped";
        return false;
      }
    }
    // The press waits until the thread has settled after the pointer's move, so that what
    // the window system reports of the move has been taken in first.
    const bool Over = WaitUntil(Deadline, [&] {
      if (!PointerToSpot()) return false;
      POINT Cursor{};
      GetCursorPos(&Cursor);
      HWND Under = WindowFromPoint(Cursor);
      return Under == Target || IsChild(Target, Under);
    }, true);
    if (!Over) {
      Reason = "the pointer did not come over " + Describe(Step.Target) + " at " +
               std::to_string(Spot.x) + "," + std::to_string(Spot.y);
      return false;
    }
    // The press and the release carry the spot, as a real mouse's do.
    const bool Pressed = PressLeftButton(true, Spot);
    FClicked = true;
    FLastPress = GetTickCount();
    FLastSpot = Spot;
    if (!Pressed || !WaitUntilHandled(Deadline) || !PressLeftButton(false, Spot)) {
      Reason = "the click on " + Describe(Step.Target) + " was not taken";
      return false;
    }
    if (!WaitUntilHandled(Deadline)) {
      Reason = NotHandled();
      return false;
    }
    return true;
  }

  // Waits for a window of this process in the foreground, which takes the keys.
  bool WaitForOwnForeground(DWORD Deadline, std::string& Reason) {
    if (WaitUntil(Deadline, [] { return IsOwnWindow(GetForegroundWindow()); })) return true;
    Reason = "no window of the program came to the foreground within " +
             Seconds(O.StepTimeout) + " (" + ForegroundDescription() + ")";
    return false;
  }

  bool Key(const TScriptStep& Step, DWORD Deadline, std::string& Reason) {
    if (!WaitForOwnForeground(Deadline, Reason)) return false;
    if (!PressChord(Step.Chord)) {
      Reason = "the key was not taken";
      return false;
    }
    if (!WaitUntilHandled(Deadline)) {
      Reason = NotHandled();
      return false;
    }
    return true;
  }

  bool Type(const TScriptStep& Step, DWORD Deadline, std::string& Reason) {
    if (!WaitForOwnForeground(Deadline, Reason)) return false;
    TKeyChord Home, SelectToEnd, Delete;
    Home.Key = VK_HOME;
    SelectToEnd.Key = VK_END;
    SelectToEnd.Shift = true;
    Delete.Key = VK_DELETE;
    bool Taken = PressChord(Home) && PressChord(SelectToEnd);
    // The text replaces the selection; without a text the selection is deleted.
    if (Step.Text.empty()) Taken = Taken && PressChord(Delete);
    for (char Character : Step.Text) Taken = Taken && TypeCharacter(Character);
    if (!Taken) {
      Reason = "the keys were not taken";
      return false;
    }
    if (!WaitUntilHandled(Deadline)) {
      Reason = NotHandled();
      return false;
    }
    return true;
  }

  bool Expect(const TScriptStep& Step, DWORD Deadline, std::string& Reason) {
    HWND Found = nullptr;
    if (WaitUntil(Deadline, [&] {
          HWND Foreground = GetForegroundWindow();
          Found = Foreground ? FindTarget(Foreground, Step.Target) : nullptr;
          return Found && (IsWindowEnabled(Found) != FALSE) == Step.Enabled;
        }))
      return true;
    if (Found)
      Reason = Describe(Step.Target) + " is " + (Step.Enabled ? "disabled" : "enabled") +
               ", not " + (Step.Enabled ? "enabled" : "disabled");
    else
      Reason = "no visible window " + Describe(Step.Target) + " below the foreground window within " +
               Seconds(O.StepTimeout) + " (" + ForegroundDescription() + ")";
    return false;
  }

  std::string OutputFile(const std::string& Name) const {
    std::string Folder = O.OutputFolder;
    if (Folder.empty()) return Name + ".png";
    CreateDirectoryA(Folder.c_str(), nullptr);
    if (Folder.back() != '\\' && Folder.back() != '/') Folder += '\\';
    return Folder + Name + ".png";
  }

  bool Shot(const TScriptStep& Step, DWORD Deadline, std::string& Reason) {
    HWND Foreground = nullptr;
    // The shot waits for the thread to settle, so that its windows are on the screen.
    if (!WaitUntil(Deadline, [&] { return (Foreground = GetForegroundWindow()) != nullptr; },
                   true)) {
      Reason = "no window came to the foreground within " + Seconds(O.StepTimeout);
      return false;
    }
    RECT Rect{};
    const std::string File = OutputFile(Step.Text);
    if (!GetWindowRect(Foreground, &Rect) || !SaveScreenRect(Rect, File)) {
      Reason = "cannot save the foreground window as " + File;
      return false;
    }
    return true;
  }

  // The failure: its message, failed.png, and the commands' windows closed.
  void Fail(int Line, const std::string& Reason) {
    P.FFailedLine = Line;
    P.FFailure = TScriptError{Line, Reason}.Message();
    RECT Rect{};
    HWND Foreground = GetForegroundWindow();
    if (!Foreground || !GetWindowRect(Foreground, &Rect)) {
      Rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    SaveScreenRect(Rect, OutputFile("failed"));
    CloseCommandWindows();
  }

  // Escape on the foreground window, and Alt+F4 when it is still there, until the
  // commands have ended.
  void CloseCommandWindows() {
    const DWORD Deadline = GetTickCount() + O.StepTimeout;
    TKeyChord Escape, AltF4;
    Escape.Key = VK_ESCAPE;
    AltF4.Key = VK_F4;
    AltF4.Alt = true;
    for (int Round = 0; Round < CloseRounds && !CommandsHaveEnded() && !Stopped(); ++Round) {
      if (!WaitUntilHandled(Deadline)) break;
      HWND Foreground = GetForegroundWindow();
      if (!IsOwnWindow(Foreground) || Foreground == O.HostWindow) break;
      PressChord(Escape);
      if (!WaitUntilHandled(Deadline)) break;
      if (CommandsHaveEnded()) break;
      if (IsWindow(Foreground) && IsWindowVisible(Foreground) &&
          GetForegroundWindow() == Foreground) {
        PressChord(AltF4);
        if (!WaitUntilHandled(Deadline)) break;
      }
    }
    if (!WaitFor(P.FCommandsEnded, Left(Deadline)) && !Stopped() && O.Abandon)
      O.Abandon(P.FFailure);
  }

  TScriptPlayer& P;
  const TScriptPlayerOptions& O;
  // The last probe was answered and no input went out since; the last probe also waited
  // for the thread to settle.
  bool FHandled = false;
  bool FSettled = false;
  bool FClicked = false;
  DWORD FLastPress = 0;  // a tick count
  POINT FLastSpot{};      // where it was
};

TScriptPlayer::TScriptPlayer(const TScript& Script, const TScriptPlayerOptions& Options)
    : FScript(Script), FOptions(Options) {
  FFinished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  FCommandsEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  FStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  FProbeAnswered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  WNDCLASSA Class{};
  Class.lpfnWndProc = ScriptProbeProc;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.lpszClassName = ProbeClassName;
  RegisterClassA(&Class);  // fails harmlessly when a player made it before
  auto* State = new TProbeState;
  State->Seen = &FProbeSeen;
  State->Answered = FProbeAnswered;
  FProbe = CreateWindowExA(0, ProbeClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), State);
  if (!FProbe) delete State;
}

TScriptPlayer::~TScriptPlayer() {
  if (FThread) {
    SetEvent(FStop);
    // The thread may wait for the probe, which this thread answers.
    WaitWhileHandlingMessages();
    CloseHandle(FThread);
  }
  if (FProbe) DestroyWindow(FProbe);
  for (HANDLE Event : {FFinished, FCommandsEnded, FStop, FProbeAnswered})
    if (Event) CloseHandle(Event);
}

bool TScriptPlayer::Start() {
  if (FThread || !FProbe || !FFinished || !FCommandsEnded || !FStop || !FProbeAnswered)
    return false;
  FThread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
  return FThread != nullptr;
}

DWORD WINAPI TScriptPlayer::ThreadProc(LPVOID Parameter) {
  auto* Player = static_cast<TScriptPlayer*>(Parameter);
  try {
    TRun Run(*Player);
    Run.Play();
  } catch (const std::exception& E) {
    Player->FFailure = std::string("script: unexpected error: ") + E.what();
  } catch (...) {
    Player->FFailure = "script: unexpected error";
  }
  SetEvent(Player->FFinished);
  return 0;
}

void TScriptPlayer::CommandsEnded() { SetEvent(FCommandsEnded); }

void TScriptPlayer::WaitWhileHandlingMessages() {
  if (!FThread) return;
  bool Quit = false;
  int QuitCode = 0;
  for (;;) {
    const DWORD Woken = MsgWaitForMultipleObjects(1, &FFinished, FALSE, INFINITE, QS_ALLINPUT);
    if (Woken == WAIT_OBJECT_0 || Woken == WAIT_FAILED) break;
    MSG Message;
    while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) {
      if (Message.message == WM_QUIT) {
        Quit = true;
        QuitCode = static_cast<int>(Message.wParam);
        continue;
      }
      TranslateMessage(&Message);
      DispatchMessageA(&Message);
    }
  }
  // A quit belongs to the loop that waits for it.
  if (Quit) PostQuitMessage(QuitCode);
}
