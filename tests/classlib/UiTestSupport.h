// Shared by the class library's tests: a fixture that records the exceptions handed to
// the application (no message box ever opens), pumping of the message queue with a time
// limit, small controls with a log of what reached them, a counter of change
// notifications, screen pixels and temporary file names.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Forms.h"

namespace uitest {

// A new control owned by Parent and placed on it.
template <class T, class... A>
T* AddChild(TWinControl* Parent, A&&... Args) {
  T* Control = NewObject<T>(Parent, std::forward<A>(Args)...);
  Control->SetParent(Parent);
  return Control;
}

// Records Application->OnException.
class TExceptionLog : public TObject {
 public:
  void Record(TObject* Sender, const Exception& E) {
    Messages.push_back(E.Message());
    Senders.push_back(Sender);
  }
  std::vector<std::string> Messages;
  std::vector<TObject*> Senders;
};

// Binds a lambda as a notification event.
class TNotifyHandler : public TObject {
 public:
  explicit TNotifyHandler(std::function<void(TObject*)> AFn) : Fn(std::move(AFn)) {}
  void Run(TObject* Sender) { Fn(Sender); }
  TNotifyEvent Event() { return TNotifyEvent::Bind<&TNotifyHandler::Run>(this); }
  std::function<void(TObject*)> Fn;
};

// Counts the notifications of a change event and keeps the last sender.
struct TChangeCounter {
  int Count = 0;
  TObject* Sender = nullptr;
  void Changed(TObject* ASender) {
    ++Count;
    Sender = ASender;
  }
  TNotifyEvent Event() { return TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }
};

// A pixel of a window's client area as it is on the screen, as RGB.
inline COLORREF ScreenPixel(HWND Window, int X, int Y) {
  HDC DC = GetDC(Window);
  COLORREF C = GetPixel(DC, X, Y);
  ReleaseDC(Window, DC);
  return C;
}

// A pixel of a window as it is on the screen, frame included (window coordinates).
inline COLORREF WindowPixel(HWND Window, int X, int Y) {
  HDC DC = GetWindowDC(Window);
  COLORREF C = GetPixel(DC, X, Y);
  ReleaseDC(Window, DC);
  return C;
}

// While it lives, Ctrl is held in the thread's key state, where the system's own key
// handling (the MDI keys) reads it.
class THeldControlKey {
 public:
  THeldControlKey() {
    GetKeyboardState(FSaved);
    BYTE Keys[256];
    GetKeyboardState(Keys);
    Keys[VK_CONTROL] = Keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(Keys);
  }
  THeldControlKey(const THeldControlKey&) = delete;
  THeldControlKey& operator=(const THeldControlKey&) = delete;
  ~THeldControlKey() { SetKeyboardState(FSaved); }

 private:
  BYTE FSaved[256];
};

// A file name in the temporary folder, Name made unique to this process.
inline AnsiString TempPath(const AnsiString& Name) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  return AnsiString(Dir) + std::to_string(GetCurrentProcessId()) + "_" + Name;
}

inline std::vector<std::string> ShownMessages;
inline void RecordShown(const AnsiString& Message) { ShownMessages.push_back(Message); }

// While it lives, what the exception display would show goes to ShownMessages.
class TShownExceptions {
 public:
  TShownExceptions() : FSaved(ShowExceptionProc) {
    ShowExceptionProc = RecordShown;
    ShownMessages.clear();
  }
  ~TShownExceptions() { ShowExceptionProc = FSaved; }

 private:
  TShowExceptionProc FSaved;
};

// The key state seen by the controls: the keys listed here are held.
inline std::vector<int> HeldKeys;
inline SHORT FakeKeyState(int Key) {
  for (int Held : HeldKeys)
    if (Held == Key) return static_cast<SHORT>(0x8000);
  return 0;
}

// Handles every queued message, repeatedly, for at least Milliseconds.
inline void Pump(int Milliseconds = 0) {
  DWORD Start = GetTickCount();
  do {
    Application->ProcessMessages();
    if (Milliseconds > 0) Sleep(2);
  } while (static_cast<int>(GetTickCount() - Start) < Milliseconds);
  Application->ProcessMessages();
}

// A key pressed and released where the focus is, as the user's input arrives.
inline void PressKey(WPARAM Key) {
  HWND Focus = GetFocus();
  PostMessageA(Focus, WM_KEYDOWN, Key, 1);
  PostMessageA(Focus, WM_KEYUP, Key, 0xC0000001);
  Pump();
}

// Paints the control's window now.
inline void PaintNow(TWinControl* Control) {
  RedrawWindow(Control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// Pumps until Condition holds or the time is up; the condition's last answer.
template <class F>
bool PumpUntil(F Condition, int TimeoutMs = 3000) {
  DWORD Start = GetTickCount();
  while (!Condition()) {
    if (static_cast<int>(GetTickCount() - Start) > TimeoutMs) return Condition();
    Application->ProcessMessages();
    Sleep(2);
  }
  return true;
}

// Lets what the window system still owes the thread arrive and be handled (the focus
// and activation notices of windows just shown or closed come late on a busy
// machine): pumps until nothing has come for QuietMs, at most CapMs. Tests that press
// the real mouse on a popup call it first, so that the display server has the popup
// where the press goes.
inline void Settle(DWORD QuietMs = 30, DWORD CapMs = 1000) {
  const DWORD Start = GetTickCount();
  Application->ProcessMessages();
  while (GetTickCount() - Start < CapMs &&
         MsgWaitForMultipleObjects(0, nullptr, FALSE, QuietMs, QS_ALLINPUT) == WAIT_OBJECT_0)
    Application->ProcessMessages();
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Log = NewObject<TExceptionLog>();
    Application->OnException = TExceptionEvent::Bind<&TExceptionLog::Record>(Log);
    SavedKeyState = GetKeyStateProc;
    GetKeyStateProc = FakeKeyState;
    HeldKeys.clear();
  }
  void TearDown() override {
    for (TObject* Object : Owned) Object->Free();
    Owned.clear();
    Pump();
    Application->OnException = nullptr;
    GetKeyStateProc = SavedKeyState;
    FreeAndNil(Log);
  }
  // Frees Object at the end of the test (in the order given).
  template <class T>
  T* Keep(T* Object) {
    Owned.push_back(Object);
    return Object;
  }
  // A shown form without a frame, so that client and window coincide.
  TForm* ShownForm(int Width = 300, int Height = 200) {
    TForm* Form = Keep(NewObject<TForm>(nullptr));
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, Width, Height);
    Form->Show();
    Pump();
    return Form;
  }

  TShownExceptions Display;  // for the whole life of the test
  TExceptionLog* Log = nullptr;
  // What SetUp replaces, kept from before it: TearDown puts it back also after a SetUp
  // that stopped early.
  TGetKeyStateProc SavedKeyState = GetKeyStateProc;
  std::vector<TObject*> Owned;
};

// A windowed control that takes the focus and logs what reaches it.
class TProbe : public TCustomControl {
 public:
  explicit TProbe(TComponent* AOwner, std::vector<std::string>* ALog = nullptr)
      : TCustomControl(AOwner), FLog(ALog) {
    SetTabStop(true);
    SetBounds(0, 0, 40, 20);
  }
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case CM_ENTER: Note("enter"); break;
      case CM_EXIT: Note("exit"); break;
      case CM_TEXTCHANGED: Note("text"); break;
      case CM_MOUSEENTER: Note("mouseenter"); break;
      case CM_MOUSELEAVE: Note("mouseleave"); break;
      case WM_GETDLGCODE:
        Message.Result = WantChars ? DLGC_WANTCHARS : 0;
        return;
    }
    TCustomControl::Dispatch(Message);
  }
  void Note(const std::string& What) {
    if (FLog) FLog->push_back(Name() + ":" + What);
  }
  bool WantChars = false;

 private:
  std::vector<std::string>* FLog;
};

}  // namespace uitest
