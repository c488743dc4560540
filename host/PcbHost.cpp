// The host stand-in's executable: creates the host with its main window, starts the
// server module, then either runs the commands named on the command line or runs the
// main window until it is closed, and shuts the module down again (saving the run's
// PCB documents into the output folder, when one is given). With a script, a second
// thread plays it as a user's input while the commands run.
#include <ole2.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/HostCore.h"
#include "host/HostScript.h"
#include "host/HostScriptPlayer.h"

namespace {

const char Usage[] =
    "usage: PcbHost [--params TEXT] [--out DIR]\n"
    "               [--script FILE [--step-timeout MS] [--finish-timeout MS]] [--run NAME]...\n"
    "  --run NAME     launch the module's command NAME and print \"NAME -> result\"\n"
    "                 (repeatable; the commands run in order, then the host exits)\n"
    "  --params TEXT  the parameter text passed with every command (default empty)\n"
    "  --out DIR      save every PCB document of the run into DIR as NAME.txt (text)\n"
    "                 and NAME.png (picture) when it is closed or the host ends\n"
    "  --script FILE  play FILE's steps as the user's input while the commands run\n"
    "                 (needs --run; its screenshots go to the --out folder)\n"
    "  --step-timeout MS  how long a script's step waits for its window, in\n"
    "                 milliseconds from 1 to 600000 (default 10000)\n"
    "  --finish-timeout MS  how long the commands may run on after a script's last\n"
    "                 step, in milliseconds from 1 to 600000 (default 30000)\n"
    "Without --run the host shows its main window until it is closed.\n";

struct TCommandLine {
  std::vector<std::string> Commands;
  std::string Parameters;
  std::string OutputFolder;
  std::string ScriptFile;  // empty without --script
  DWORD StepTimeout = TScriptPlayerOptions().StepTimeout;
  DWORD FinishTimeout = TScriptPlayerOptions().FinishTimeout;
  std::string TimeoutOption;  // the first of --step-timeout and --finish-timeout given
};

constexpr DWORD LongestTimeout = 600000;

// A whole number of milliseconds from 1 to LongestTimeout.
bool ParseMilliseconds(const std::string& Text, DWORD& Value) {
  if (Text.empty() || Text.size() > 6) return false;
  Value = 0;
  for (char C : Text) {
    if (C < '0' || C > '9') return false;
    Value = Value * 10 + static_cast<DWORD>(C - '0');
  }
  return Value >= 1 && Value <= LongestTimeout;
}

// Fills Line from the arguments; false (with Error) for an unknown or incomplete one.
bool ParseCommandLine(int Count, char** Arguments, TCommandLine& Line, std::string& Error) {
  for (int I = 1; I < Count; ++I) {
    std::string Argument = Arguments[I];
    if (Argument == "--run" || Argument == "--params" || Argument == "--out" ||
        Argument == "--script" || Argument == "--step-timeout" ||
        Argument == "--finish-timeout") {
      if (I + 1 >= Count) {
        Error = Argument + " needs a value";
        return false;
      }
      std::string Value = Arguments[++I];
      if (Argument == "--out" && Value.empty()) {
        Error = "--out needs a folder";
        return false;
      }
      if (Argument == "--script" && Value.empty()) {
        Error = "--script needs a file";
        return false;
      }
      if (Argument == "--step-timeout" || Argument == "--finish-timeout") {
        DWORD& Timeout = Argument == "--step-timeout" ? Line.StepTimeout : Line.FinishTimeout;
        if (!ParseMilliseconds(Value, Timeout)) {
          Error = Argument + " needs a whole number of milliseconds from 1 to 600000";
          return false;
        }
        if (Line.TimeoutOption.empty()) Line.TimeoutOption = Argument;
      } else if (Argument == "--run") {
        Line.Commands.push_back(Value);
      } else if (Argument == "--params") {
        Line.Parameters = Value;
      } else if (Argument == "--script") {
        Line.ScriptFile = Value;
      } else {
        Line.OutputFolder = Value;
      }
    } else {
      Error = "unknown argument " + Argument;
      return false;
    }
  }
  if (!Line.ScriptFile.empty() && Line.Commands.empty()) {
    Error = "--script needs at least one --run";
    return false;
  }
  if (!Line.TimeoutOption.empty() && Line.ScriptFile.empty()) {
    Error = Line.TimeoutOption + " needs --script";
    return false;
  }
  return true;
}

int Fail(const std::string& Message) {
  std::fprintf(stderr, "PcbHost: %s\n", Message.c_str());
  return 1;
}

// A failed script whose commands' windows would not close: the UI thread is stuck in
// the commands, so the process ends here.
void AbandonRun(const std::string& Failure) {
  std::fprintf(stderr, "%s\nPcbHost: the commands' windows did not close; the run ends\n",
               Failure.c_str());
  std::fflush(stderr);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 1);
}

// Runs the commands in order. False with Error when there is no launcher to run them.
bool RunCommands(THost& Host, const TCommandLine& Line, std::string& Error) {
  for (const std::string& Name : Line.Commands) {
    int Result = 0;
    if (!Host.LaunchCommand(Name, Line.Parameters, Result, Error)) return false;
    std::printf("%s -> %d\n", Name.c_str(), Result);
    std::fflush(stdout);
  }
  return true;
}

int RunHost(const TCommandLine& Line, const TScript* Script) {
  THostOptions Options;
  Options.ShowMainWindow = true;
  Options.OutputFolder = Line.OutputFolder;
  THost* Host = CreateHost(Options);
  if (!Host) return Fail("cannot create the main window");
  std::string Error;
  if (!Host->Start("Tarvik.dll", Error)) {
    DestroyHost(Host);
    return Fail(Error);
  }
  bool Ran = true;
  std::string ScriptFailure;
  if (Line.Commands.empty()) {
    Host->RunMessageLoop();
  } else if (Script) {
    TScriptPlayerOptions PlayerOptions;
    PlayerOptions.OutputFolder = Line.OutputFolder;
    PlayerOptions.StepTimeout = Line.StepTimeout;
    PlayerOptions.FinishTimeout = Line.FinishTimeout;
    PlayerOptions.HostWindow = Host->MainWindow();
    PlayerOptions.Abandon = AbandonRun;
    TScriptPlayer Player(*Script, PlayerOptions);
    if (!Player.Start()) {
      ScriptFailure = "PcbHost: cannot start the script's player";
    } else {
      Ran = RunCommands(*Host, Line, Error);
      Player.CommandsEnded();
      Player.WaitWhileHandlingMessages();
      ScriptFailure = Player.Failure();
    }
  } else {
    Ran = RunCommands(*Host, Line, Error);
  }
  std::string StopError;
  bool Stopped = Host->Stop(&StopError);
  DestroyHost(Host);
  if (!ScriptFailure.empty()) {
    std::fprintf(stderr, "%s\n", ScriptFailure.c_str());
    if (!Ran) Fail(Error);
    if (!Stopped) Fail(StopError);
    return 1;
  }
  if (!Ran) return Fail(Error);
  if (!Stopped) return Fail(StopError);
  return 0;
}

}  // namespace

int main(int Count, char** Arguments) {
  TCommandLine Line;
  std::string Error;
  if (!ParseCommandLine(Count, Arguments, Line, Error)) {
    std::fprintf(stderr, "PcbHost: %s\n%s", Error.c_str(), Usage);
    return 2;
  }
  // The script is read whole before anything starts.
  TScript Script;
  if (!Line.ScriptFile.empty()) {
    TScriptError ScriptError;
    if (!LoadScript(Line.ScriptFile, Script, ScriptError)) {
      std::fprintf(stderr, "PcbHost: %s\n",
                   ScriptError.Line > 0 ? ScriptError.Message().c_str() : ScriptError.Reason.c_str());
      return 2;
    }
  }
  try {
    OleInitialize(nullptr);
    int Exit = RunHost(Line, Line.ScriptFile.empty() ? nullptr : &Script);
    OleUninitialize();
    return Exit;
  } catch (const std::exception& E) {
    return Fail(std::string("unexpected error: ") + E.what());
  } catch (...) {
    return Fail("unexpected error");
  }
}
