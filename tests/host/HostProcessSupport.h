// Running the host executable (or another program) in its own process, as a user would:
// its standard output and error are collected, and a run that does not end within its
// bound (ProgramRunBound unless the test gives one) fails. While it runs, the test may
// act on its windows as a user would (WhileRunning).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <thread>

// How many times slower than on a machine of their own the programs run here: 1, or what
// TARVIK_TIME_SCALE says (tools/wine-vm sets it under emulation). A test whose subject is
// a short bound, which a program's start must fit in, gives that many times more.
inline DWORD TimeScale() {
  char Text[16] = {};
  const DWORD Length = GetEnvironmentVariableA("TARVIK_TIME_SCALE", Text, sizeof(Text));
  const long Scale = Length > 0 && Length < sizeof(Text) ? std::strtol(Text, nullptr, 10) : 1;
  return Scale >= 1 && Scale <= 100 ? static_cast<DWORD>(Scale) : 1;
}

// The bounds of a run of the host under test. They only catch a hang, so they leave room
// for a machine loaded many times over: a scripted run's step waits up to
// ScriptStepBound for its window (--step-timeout), its commands may go on for
// ScriptFinishBound after the last step (--finish-timeout), and a whole run, which a
// failed script ends within about those two and one more step bound, gets
// ProgramRunBound. Where programs run TimeScale times slower, so does the last: a child
// run of a walk that takes 15 s on a machine of its own takes some 300 s under
// emulation, and more beside other work. (The host takes step and finish bounds of 600 s
// at most, which leave room enough.)
constexpr DWORD ScriptStepBound = 60000;
constexpr DWORD ScriptFinishBound = 120000;
inline const DWORD ProgramRunBound = 300000 * TimeScale();

// The host's arguments that give a scripted run the bounds above, with a blank before
// and after.
inline std::string ScriptBoundArguments() {
  return " --step-timeout " + std::to_string(ScriptStepBound) + " --finish-timeout " +
         std::to_string(ScriptFinishBound) + " ";
}

struct TRunResult {
  DWORD ExitCode = 0;
  std::string Output;     // all the program wrote to its standard output and error
  bool TimedOut = false;  // ended by RunProgram at its bound
};

// A run in a failure message: its exit code and its whole output.
inline std::ostream& operator<<(std::ostream& Out, const TRunResult& Run) {
  char Code[32];
  std::snprintf(Code, sizeof(Code), Run.ExitCode > 0xFFFF ? "%lu (0x%08lX)" : "%lu",
                static_cast<unsigned long>(Run.ExitCode),
                static_cast<unsigned long>(Run.ExitCode));
  Out << "exit code " << Code;
  if (Run.TimedOut) Out << ", ended at its bound";
  if (Run.Output.empty()) return Out << "; no output";
  return Out << "; its output:\n" << Run.Output;
}

// Starts the program with its standard output and error on a pipe, runs WhileRunning
// (when given) with the started process, and waits for the program to end, up to Bound;
// a program still running then is ended and the run fails. A failure of the run shows
// the program's exit code and whole output, also when WhileRunning leaves by an
// exception (the program is ended first).
inline TRunResult RunProgram(
    const std::string& CommandLine, const std::string& Folder,
    const std::function<void(const PROCESS_INFORMATION& Process)>& WhileRunning = nullptr,
    DWORD Bound = ProgramRunBound) {
  SECURITY_ATTRIBUTES Inherit{sizeof(Inherit), nullptr, TRUE};
  HANDLE ReadEnd = nullptr, WriteEnd = nullptr;
  TRunResult Result;
  if (!CreatePipe(&ReadEnd, &WriteEnd, &Inherit, 0)) {
    ADD_FAILURE() << "cannot make a pipe for " << CommandLine << " (error "
                  << GetLastError() << ")";
    return Result;
  }
  SetHandleInformation(ReadEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA Startup{};
  Startup.cb = sizeof(Startup);
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  Startup.hStdOutput = WriteEnd;
  Startup.hStdError = WriteEnd;
  PROCESS_INFORMATION Process{};
  std::string Line = CommandLine;
  if (!CreateProcessA(nullptr, Line.data(), nullptr, nullptr, TRUE, 0, nullptr, Folder.c_str(),
                      &Startup, &Process)) {
    ADD_FAILURE() << "cannot start " << CommandLine << " (error " << GetLastError() << ")";
    CloseHandle(ReadEnd);
    CloseHandle(WriteEnd);
    return Result;
  }
  CloseHandle(WriteEnd);

  // Owns the running program: it is waited for, or ended, and its output read to the
  // end before the result is used or the test goes on, however WhileRunning returns.
  class TRun {
   public:
    TRun(const std::string& ACommandLine, const PROCESS_INFORMATION& AProcess,
         HANDLE AReadEnd, TRunResult& AResult)
        : CommandLine(ACommandLine), Process(AProcess), ReadEnd(AReadEnd), Result(AResult) {
      // The output is read beside the test's actions, so that a full pipe never stops
      // the program.
      Reader = std::thread([this] {
        char Buffer[4096];
        DWORD Read = 0;
        while (ReadFile(ReadEnd, Buffer, sizeof(Buffer), &Read, nullptr) && Read > 0)
          Result.Output.append(Buffer, Read);
      });
    }
    TRun(const TRun&) = delete;
    TRun& operator=(const TRun&) = delete;
    ~TRun() {
      if (Reader.joinable()) {  // WhileRunning left by an exception
        Finish(0);
        ADD_FAILURE() << CommandLine
                      << " was ended: what the test did while it ran raised an exception; "
                      << Result;
      }
      CloseHandle(Process.hProcess);
      CloseHandle(Process.hThread);
      CloseHandle(ReadEnd);
    }

    // Waits up to Bound for the program and ends it when it is still running, then
    // reads the rest of its output and its exit code. Whether it ended by itself.
    bool Finish(DWORD Bound) {
      const bool Ended = WaitForSingleObject(Process.hProcess, Bound) == WAIT_OBJECT_0;
      if (!Ended) {
        TerminateProcess(Process.hProcess, 99);
        WaitForSingleObject(Process.hProcess, 10000);
      }
      Reader.join();
      GetExitCodeProcess(Process.hProcess, &Result.ExitCode);
      return Ended;
    }

   private:
    const std::string& CommandLine;
    const PROCESS_INFORMATION& Process;
    HANDLE ReadEnd;
    TRunResult& Result;
    std::thread Reader;
  } Run(CommandLine, Process, ReadEnd, Result);

  if (WhileRunning) WhileRunning(Process);
  if (!Run.Finish(Bound)) {
    Result.TimedOut = true;
    ADD_FAILURE() << CommandLine << " did not end within " << Bound / 1000 << " s; "
                  << Result;
  }
  return Result;
}
