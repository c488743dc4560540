// Disabled tests of this program run again in a child process of their own, so that a
// hang or a crash in them fails the test that runs them instead of the whole program.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/classlib/UiTestSupport.h"
#include "tests/host/HostProcessSupport.h"

namespace edittest {

// Runs the disabled tests that Filter names in a child process and expects Count of
// them to pass within Bound. While it waits this program answers its messages: a
// child's paste asks this program, the clipboard's last owner, to let it go.
inline void ExpectDisabledTestsPass(const std::string& Filter, int Count, DWORD Bound = ProgramRunBound) {
  char Program[MAX_PATH];
  GetModuleFileNameA(nullptr, Program, MAX_PATH);
  const TRunResult Run = RunProgram(
      std::string("\"") + Program +
          "\" --gtest_also_run_disabled_tests --gtest_filter=" + Filter,
      ".",
      [Bound](const PROCESS_INFORMATION& Process) {
        // Up to Bound in all, however many messages come meanwhile; RunProgram gives a
        // child still running then Bound more, and ends it.
        const DWORD Start = GetTickCount();
        for (DWORD Spent = 0; Spent < Bound; Spent = GetTickCount() - Start) {
          if (MsgWaitForMultipleObjects(1, &Process.hProcess, FALSE, Bound - Spent,
                                        QS_ALLINPUT) != WAIT_OBJECT_0 + 1)
            break;
          uitest::Pump();
        }
      },
      Bound);
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  const std::string Passed = "[  PASSED  ] " + std::to_string(Count) + (Count == 1 ? " test." : " tests.");
  EXPECT_NE(Run.Output.find(Passed), std::string::npos) << Run;
}

}  // namespace edittest
