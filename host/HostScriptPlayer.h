// Plays a script (host/HostScript.h) on a thread of its own while the thread that made
// the player (the UI thread) runs the commands, as a user at the keyboard and mouse
// would: input goes only through SendInput, and the player reads windows' text, class,
// rectangle, visibility and enabled state and nothing else. It sends no message to any
// window but its own probe window, and the desktop window's no-op that lets the
// desktop's process take in the reports of the pointer's moves (HostUserInput.h).
//
// Each step starts when the input before it has been handled: the player posts a
// question to its probe window, which lives on the UI thread. Posted messages are taken
// before input, so the question is answered when the window finds its thread's queue
// empty (no input, no posted or sent message, no window to paint, also after taking in
// what the window system has reported to the thread) at a look after it: at once, after
// each message the thread takes from then on (a message hook on the thread brings a new
// look once that message has been handled), or at a timer tick. No input since the last
// answer: no new question is needed. A step then waits, up to the step timeout, for its
// window. A press and a shot also wait until the thread has settled: the question is
// answered at a timer tick with the queue found empty before it and no message taken in
// between, so the thread has waited for messages (what the window system reports of the
// pointer's move has been taken in before the press, and the windows' pixels have reached
// the screen before the shot). Before a press the pointer is seen over the target, once
// nothing can put it back where it was (the desktop's process has taken in the reports
// of its moves); the press and the release carry the spot; and a press near the last one
// comes more than the double-click time after it.
//
// A step that fails, or commands still running FinishTimeout after the last step, fail
// the run: the foreground window is saved as failed.png, and while the commands still
// run their windows are closed as a user would (Escape, then Alt+F4, on the foreground
// window while it is one of this process's windows other than HostWindow).
#pragma once

#include <windows.h>

#include <string>

#include "host/HostScript.h"

struct TScriptPlayerOptions {
  // Where the shots and failed.png are saved (made when missing, not its parents); the
  // current folder when empty.
  std::string OutputFolder;
  // How long a step waits for its window and for the input before it to be handled.
  DWORD StepTimeout = 10000;
  // How long the commands may go on after the last step.
  DWORD FinishTimeout = 30000;
  // A window of the UI thread that a failed run never closes (the host's main window).
  HWND HostWindow = nullptr;
  // Called on the player's thread, with the failure's message, when a failed run could
  // not close the commands' windows within the step timeout. The UI thread is then still
  // inside the commands.
  void (*Abandon)(const std::string& Message) = nullptr;
};

class TScriptPlayer {
 public:
  // Made on the UI thread; its probe window lives there.
  TScriptPlayer(const TScript& Script, const TScriptPlayerOptions& Options);
  // Stops the player's thread (it gives up at its next wait) and waits for it.
  ~TScriptPlayer();
  TScriptPlayer(const TScriptPlayer&) = delete;
  TScriptPlayer& operator=(const TScriptPlayer&) = delete;

  // Starts playing. False when the probe window or the thread could not be made.
  bool Start();
  // Tells the player that the UI thread's commands have returned (any thread).
  void CommandsEnded();
  // UI thread: handles the thread's messages until the player has finished.
  void WaitWhileHandlingMessages();
  // Signalled when the player has finished (or was never started).
  HANDLE FinishedEvent() const { return FFinished; }

  // After the player has finished: 0 when every step passed and the commands ended in
  // time, 1 when the run failed.
  int ExitCode() const { return FFailure.empty() ? 0 : 1; }
  // "script line N: reason", or empty.
  const std::string& Failure() const { return FFailure; }
  // The script line of the failure (0 when none).
  int FailedLine() const { return FFailedLine; }

 private:
  class TRun;
  static DWORD WINAPI ThreadProc(LPVOID Parameter);

  TScript FScript;
  TScriptPlayerOptions FOptions;
  HWND FProbe = nullptr;
  HANDLE FThread = nullptr;
  HANDLE FFinished = nullptr;      // manual reset
  HANDLE FCommandsEnded = nullptr;  // manual reset
  HANDLE FStop = nullptr;           // manual reset
  HANDLE FProbeAnswered = nullptr;  // auto reset
  volatile LONG FProbeAsked = 0;
  volatile LONG FProbeSeen = 0;
  std::string FFailure;
  int FFailedLine = 0;
};
