// PcbHost --script in its own process: the script is read before anything starts, and
// a run whose script fails ends with exit code 1, its line named and its picture saved.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/host/HostProcessSupport.h"
#include "tests/host/HostTestSupport.h"
#include "tests/host/PictureTestSupport.h"

namespace {

class HostScriptRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scratch = NewScratchFolder("script-run-");
    ASSERT_FALSE(Scratch.empty());
  }
  void TearDown() override {
    if (Scratch.empty()) return;  // SetUp stopped early
    RemoveScratchFolder(Scratch + "out\\");
    RemoveScratchFolder(Scratch);
  }

  std::string WriteScript(const std::string& Text) {
    const std::string File = Scratch + "steps.txt";
    WriteFileText(File, Text);
    return File;
  }

  TRunResult Host(const std::string& Arguments) {
    return RunProgram("\"" + TestHostRoot() + "PcbHost.exe\" " + Arguments, TestHostRoot());
  }

  // Option takes a whole number of milliseconds from 1 to 600000, and only with a script:
  // anything else ends the run before any command.
  void ExpectABoundOfAScript(const std::string& Option, std::initializer_list<const char*> Bads) {
    const std::string File = WriteScript("wait Main\n");
    for (const char* Bad : Bads) {
      TRunResult Run =
          Host("--script \"" + File + "\" " + Option + " " + Bad + " --run NoSuchCommand");
      EXPECT_EQ(Run.ExitCode, 2u) << Bad << "\n" << Run;
      EXPECT_NE(Run.Output.find(Option + " needs a whole number of milliseconds"),
                std::string::npos)
          << Bad << "\n" << Run;
      EXPECT_EQ(Run.Output.find("NoSuchCommand ->"), std::string::npos) << Run;
    }
    TRunResult Run = Host(Option + " 500 --run NoSuchCommand");
    EXPECT_EQ(Run.ExitCode, 2u) << Run;
    EXPECT_NE(Run.Output.find(Option + " needs --script"), std::string::npos) << Run;
  }

  std::string Scratch;
};

TEST_F(HostScriptRunTest, ARejectedLineEndsTheRunWithCode2BeforeAnythingStarts) {
  const std::string File = WriteScript("# steps\nwait Main\npress Enter\n");
  TRunResult Run = Host("--script \"" + File + "\" --run NoSuchCommand");
  EXPECT_EQ(Run.ExitCode, 2u) << Run;
  EXPECT_NE(Run.Output.find("script line 3: \"press\" is not a step"), std::string::npos)
      << Run;
  EXPECT_EQ(Run.Output.find("NoSuchCommand ->"), std::string::npos) << Run;
}

TEST_F(HostScriptRunTest, AScriptNeedsACommandAndAFileThatCanBeRead) {
  const std::string File = WriteScript("wait Main\n");
  TRunResult Run = Host("--script \"" + File + "\"");
  EXPECT_EQ(Run.ExitCode, 2u) << Run;
  EXPECT_NE(Run.Output.find("--script needs at least one --run"), std::string::npos) << Run;

  Run = Host("--script \"" + Scratch + "missing.txt\" --run NoSuchCommand");
  EXPECT_EQ(Run.ExitCode, 2u) << Run;
  EXPECT_NE(Run.Output.find("missing.txt"), std::string::npos) << Run;
  EXPECT_EQ(Run.Output.find("NoSuchCommand ->"), std::string::npos) << Run;

  Run = Host("--run NoSuchCommand --script");
  EXPECT_EQ(Run.ExitCode, 2u) << Run;
}

TEST_F(HostScriptRunTest, AStepTimeoutIsAWholeNumberOfMillisecondsForAScript) {
  ExpectABoundOfAScript("--step-timeout", {"0", "600001", "1.5", "-3", "10s", "\"\""});
}

// The bound on the commands after the last step comes from the command line, as the step
// timeout does, so that tests on a loaded machine can give it room: the wizard that the
// script leaves open fails the run at that bound and is closed as a user would.
TEST_F(HostScriptRunTest, AFinishTimeoutBoundsTheCommandsAfterTheLastStep) {
  ExpectABoundOfAScript("--finish-timeout", {"0", "600001", "2.5", "-1", "1m", "\"\""});

  const std::string File = WriteScript("wait PCB Board Wizard\n");
  const std::string Out = Scratch + "out";
  TRunResult Run = Host("--script \"" + File + "\" --step-timeout " + std::to_string(ScriptStepBound) +
             " --finish-timeout 1500 --out \"" + Out + "\" --run RunWizard");
  EXPECT_EQ(Run.ExitCode, 1u) << Run;
  EXPECT_NE(Run.Output.find("script line 1: the commands are still running 1.5 s after the "
                            "last step"),
            std::string::npos)
      << Run;
  // The wizard was closed (its command returned) and nothing was made.
  EXPECT_NE(Run.Output.find("RunWizard -> 0"), std::string::npos) << Run;
  EXPECT_EQ(FilesIn(Out + "\\"), std::vector<std::string>{"failed.png"});
}

// Whatever the wizard's command shows, no window of this caption comes: the run fails
// at the step timeout the command line gives, and the process ends (RunProgram fails a
// run that does not).
TEST_F(HostScriptRunTest, AWaitForAWindowThatNeverComesFailsTheRunNamingItsLine) {
  const std::string File = WriteScript("# a window that is never made\nwait Nothing Here\n");
  const std::string Out = Scratch + "out";
  // 1.5 s (more where programs run slower): time for the wizard to come up and be idle,
  // which the step waits for first.
  const DWORD Step = 1500 * TimeScale();
  const std::string StepText =
      Step % 1000 ? "1.5 s" : std::to_string(Step / 1000) + " s";
  TRunResult Run = Host("--script \"" + File + "\" --step-timeout " + std::to_string(Step) +
                        " --out \"" + Out + "\" --run RunWizard");
  EXPECT_EQ(Run.ExitCode, 1u) << Run;
  EXPECT_NE(Run.Output.find("script line 2: no window \"Nothing Here\" came to the foreground "
                            "within " + StepText),
            std::string::npos)
      << Run;
  EXPECT_TRUE(LoadPicture(Out + "\\failed.png").Loaded());
}

// A test may bound a run more closely than a scripted run's bounds: a program still
// running at that bound is ended there and the test fails, and so does one still
// running when the test's own actions raise. Either failure shows the program's exit
// code and output, as a failed check of a run does.
TEST_F(HostScriptRunTest, ARunStillGoingAtTheBoundItsTestGivesIsEndedAndFails) {
  static std::string Line;
  static TRunResult Run;
  Line = "\"" + TestHostRoot() + "PcbHost.exe\" --script \"" + WriteScript("wait Nothing Here\n") +
         "\"" + ScriptBoundArguments() + "--run RunWizard";
  EXPECT_NONFATAL_FAILURE(Run = RunProgram(Line, TestHostRoot(), nullptr, 2000),
                          "did not end within 2 s; exit code 99, ended at its bound");
  EXPECT_EQ(Run.ExitCode, 99u) << Run;
  EXPECT_TRUE(Run.TimedOut);
  EXPECT_NONFATAL_FAILURE(
      try {
        RunProgram(Line, TestHostRoot(),
                   [](const PROCESS_INFORMATION&) { throw std::runtime_error("lost"); });
      } catch (const std::runtime_error&) {
      },
      "was ended: what the test did while it ran raised an exception; exit code 99");

  EXPECT_EQ((::testing::Message() << TRunResult{3, "one\ntwo\n"}).GetString(),
            "exit code 3; its output:\none\ntwo\n");
  EXPECT_EQ((::testing::Message() << TRunResult{0xC0000005, ""}).GetString(),
            "exit code 3221225477 (0xC0000005); no output");
}

}  // namespace
