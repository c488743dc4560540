// Runs the host executable with the module as a user would, in its own process.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/Registry.h"
#include "tests/host/HostProcessSupport.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/FileSupport.h"

namespace {

AnsiString RecentFiltersFile() {
  char AppData[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, AppData);
  return AnsiString(AppData) + "\\Norvane\\TarvikRecentFilters.Txt";
}

const char* const StoreKey = "\\Software\\Norvane\\Corvista";
const char* const WizardCaption = "PCB Board Wizard";

struct TFindWindow {
  DWORD ProcessId;
  HWND Found = nullptr;
};

BOOL CALLBACK FindWizardWindow(HWND Window, LPARAM Data) {
  auto* Find = reinterpret_cast<TFindWindow*>(Data);
  DWORD ProcessId = 0;
  GetWindowThreadProcessId(Window, &ProcessId);
  char Caption[64] = "";
  GetWindowTextA(Window, Caption, sizeof(Caption));
  if (ProcessId == Find->ProcessId && IsWindowVisible(Window) && std::string(Caption) == WizardCaption) {
    Find->Found = Window;
    return FALSE;
  }
  return TRUE;
}

// The wizard dialog of the process once it is on the screen (while the process runs,
// within the run's bound), or nullptr.
HWND WaitForWizard(DWORD ProcessId, HANDLE Process) {
  const DWORD Start = GetTickCount();
  while (GetTickCount() - Start < ProgramRunBound) {
    TFindWindow Find{ProcessId};
    EnumWindows(FindWizardWindow, reinterpret_cast<LPARAM>(&Find));
    if (Find.Found) return Find.Found;
    if (WaitForSingleObject(Process, 50) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// Escape, pressed on the window that has the focus in the dialog's thread.
void PressEscape(HWND Dialog) {
  const DWORD Thread = GetWindowThreadProcessId(Dialog, nullptr);
  GUITHREADINFO Info{};
  Info.cbSize = sizeof(Info);
  HWND Target = GetGUIThreadInfo(Thread, &Info) && Info.hwndFocus ? Info.hwndFocus : Dialog;
  PostMessageA(Target, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(Target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}
const char* const StoreSection = "Recent Tarvik Filter Expressions";

TEST(EndToEndTest, HostLoadsTheModuleRunsTheWizardAndUnloadsTheModule) {
  // Start from no stored expressions, so what is found afterwards was written now.
  DeleteFileName(RecentFiltersFile());
  {
    TOwned<TRegistry> Reg(NewObject<TRegistry>());
    if (Reg->OpenKey(StoreKey, false)) Reg->DeleteKey(StoreSection);
  }

  // The run's documents would be saved here.
  const AnsiString Out = TestHostRoot() + "..\\end-to-end-out";
  ForceDirectories(Out);
  for (const std::string& Name : FilesIn(Out + "\\")) DeleteFileName(Out + "\\" + Name);

  // "RunWizard" opens the wizard; the user closes it with Escape.
  bool Shown = false;
  TRunResult Run = RunProgram(
      "\"" + TestHostRoot() + "PcbHost.exe\" --out \"" + Out + "\" --run RunWizard --run NoSuchCommand",
      TestHostRoot(), [&Shown](const PROCESS_INFORMATION& Process) {
        HWND Dialog = WaitForWizard(Process.dwProcessId, Process.hProcess);
        Shown = Dialog != nullptr;
        if (Dialog) PressEscape(Dialog);
      });
  EXPECT_TRUE(Shown) << Run;
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  EXPECT_NE(Run.Output.find("RunWizard -> 0"), std::string::npos) << Run;
  EXPECT_NE(Run.Output.find("NoSuchCommand -> 0"), std::string::npos) << Run;
  // Cancelled: no document was made.
  EXPECT_TRUE(FilesIn(Out + "\\", "*.txt").empty());

  // Shutting the module down saved its recent expressions to both stores.
  EXPECT_TRUE(FileExists(RecentFiltersFile()));
  TOwned<TRegistry> Reg(NewObject<TRegistry>());
  ASSERT_TRUE(Reg->OpenKey(AnsiString(StoreKey) + "\\" + StoreSection, false));
  EXPECT_EQ(Reg->ReadString("NewFileFormat"), "True");
  EXPECT_FALSE(Reg->ReadString("RecentExpressionCount").empty());
}

}  // namespace
