// The command table: look-up by name, the state presets, duplicate registrations and
// errors raised by a command.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Exceptions.h"
#include "framework/RT_ServerImplementation.h"
#include "tests/support/FuzzSupport.h"

namespace {

int RunCount = 0;
IServerDocumentView* LastContext = nullptr;
const char* LastParameters = nullptr;

int RecordingRoutine(IServerDocumentView* Context, const char* Parameters) {
  ++RunCount;
  LastContext = Context;
  LastParameters = Parameters;
  return 42;
}

int OtherRoutine(IServerDocumentView*, const char*) { return 7; }

int RaisingRoutine(IServerDocumentView*, const char*) {
  throw EInvalidOperation("The board could not be made");
}

std::string ShownMessages;
void RecordShownMessage(const AnsiString& Message) { ShownMessages += Message + "\n"; }

class CommandLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override { RunCount = 0; }
  void TearDown() override { Launcher->Free(); }
  TCommandLauncher* Launcher = NewObject<TCommandLauncher>();
};

TEST_F(CommandLauncherTest, NamesAreFoundInAnyLetterCaseAndUnknownOnesGiveZero) {
  Launcher->RegisterCommand("RunWizard", RecordingRoutine, nullptr);
  auto* Context = reinterpret_cast<IServerDocumentView*>(0x1234);
  const char* Parameters = "Action=Sheet|Kind=PCB";
  ICommandLauncher* Intf = Launcher;
  EXPECT_EQ(Intf->LaunchCommand("runwizard", Parameters, 99, Context), 42);
  EXPECT_EQ(LastContext, Context);
  EXPECT_EQ(LastParameters, Parameters);  // handed on unchanged
  EXPECT_EQ(Intf->LaunchCommand("RUNWIZARD", "", 0, nullptr), 42);
  EXPECT_EQ(Intf->LaunchCommand("RunWizardX", "", 0, nullptr), 0);
  EXPECT_EQ(Intf->LaunchCommand(nullptr, nullptr, 0, nullptr), 0);
  EXPECT_EQ(RunCount, 2);
}

TEST_F(CommandLauncherTest, CommandStateIsPresetForAnyName) {
  Launcher->RegisterCommand("RunWizard", RecordingRoutine, nullptr);
  for (const char* Name : {"RunWizard", "runwizard", "NoSuchCommand"}) {
    BOOL Enabled = 5, Checked = 5, Visible = 5;
    char Caption[16] = "xxx", ImageFile[16] = "xxx";
    static_cast<ICommandLauncher*>(Launcher)->GetCommandState(
        Name, "", nullptr, &Enabled, &Checked, &Visible, Caption, ImageFile);
    EXPECT_TRUE(Enabled == -1 && Checked == 0 && Visible == -1) << Name;
    EXPECT_STREQ(Caption, "") << Name;
    EXPECT_STREQ(ImageFile, "") << Name;
  }
  EXPECT_EQ(RunCount, 0);
}

TEST_F(CommandLauncherTest, ASecondRegistrationOfANameKeepsTheFirstAndLeavesNothingBehind) {
  Launcher->RegisterCommand("RunWizard", RecordingRoutine, nullptr);
  {
    fuzz::TLiveBlockCounter Counter;
    Launcher->RegisterCommand("RUNWIZARD", OtherRoutine, nullptr);
    EXPECT_EQ(Counter.Live(), 0);
  }
  EXPECT_EQ(Launcher->CommandCount(), 1);
  EXPECT_EQ(static_cast<ICommandLauncher*>(Launcher)->LaunchCommand("RunWizard", "", 0, nullptr),
            42);
}

TEST_F(CommandLauncherTest, ACommandThatRaisesShowsItsMessageAndGivesZero) {
  Launcher->RegisterCommand("Fails", RaisingRoutine, nullptr);
  TShowExceptionProc SavedProc = ShowExceptionProc;
  ShowExceptionProc = RecordShownMessage;
  ShownMessages.clear();
  int Result = static_cast<ICommandLauncher*>(Launcher)->LaunchCommand("Fails", "", 0, nullptr);
  ShowExceptionProc = SavedProc;

  EXPECT_EQ(Result, 0);
  EXPECT_EQ(ShownMessages, "The board could not be made\n");
}

}  // namespace
