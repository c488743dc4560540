// The host stand-in's executable: creates the host with its main window, starts the
// server module, then either runs the commands named on the command line or runs the
// main window until it is closed, and shuts the module down again (saving the run's
// PCB documents into the output folder, when one is given).
#include <ole2.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/HostCore.h"

namespace {

const char Usage[] =
    "usage: PcbHost [--params TEXT] [--out DIR] [--run NAME]...\n"
    "  --run NAME     launch the module's command NAME and print \"NAME -> result\"\n"
    "                 (repeatable; the commands run in order, then the host exits)\n"
    "  --params TEXT  the parameter text passed with every command (default empty)\n"
    "  --out DIR      save every PCB document of the run into DIR as NAME.txt (text)\n"
    "                 and NAME.png (picture) when it is closed or the host ends\n"
    "Without --run the host shows its main window until it is closed.\n";

struct TCommandLine {
  std::vector<std::string> Commands;
  std::string Parameters;
  std::string OutputFolder;
};

// Fills Line from the arguments; false (with Error) for an unknown or incomplete one.
bool ParseCommandLine(int Count, char** Arguments, TCommandLine& Line, std::string& Error) {
  for (int I = 1; I < Count; ++I) {
    std::string Argument = Arguments[I];
    if (Argument == "--run" || Argument == "--params" || Argument == "--out") {
      if (I + 1 >= Count) {
        Error = Argument + " needs a value";
        return false;
      }
      std::string Value = Arguments[++I];
      if (Argument == "--out" && Value.empty()) {
        Error = "--out needs a folder";
        return false;
      }
      if (Argument == "--run")
        Line.Commands.push_back(Value);
      else if (Argument == "--params")
        Line.Parameters = Value;
      else
        Line.OutputFolder = Value;
    } else {
      Error = "unknown argument " + Argument;
      return false;
    }
  }
  return true;
}

int Fail(const std::string& Message) {
  std::fprintf(stderr, "PcbHost: %s\n", Message.c_str());
  return 1;
}

int RunHost(const TCommandLine& Line) {
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
  if (Line.Commands.empty()) {
    Host->RunMessageLoop();
  } else {
    for (const std::string& Name : Line.Commands) {
      int Result = 0;
      if (!Host->LaunchCommand(Name, Line.Parameters, Result, Error)) {
        Ran = false;
        break;
      }
      std::printf("%s -> %d\n", Name.c_str(), Result);
      std::fflush(stdout);
    }
  }
  std::string StopError;
  bool Stopped = Host->Stop(&StopError);
  DestroyHost(Host);
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
  try {
    OleInitialize(nullptr);
    int Exit = RunHost(Line);
    OleUninitialize();
    return Exit;
  } catch (const std::exception& E) {
    return Fail(std::string("unexpected error: ") + E.what());
  } catch (...) {
    return Fail("unexpected error");
  }
}
