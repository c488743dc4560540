// The system version test, the maker's folder and the workspace binding.
#include <gtest/gtest.h>

#include "classlib/FileUtils.h"
#include "classlib/StrUtils.h"
#include "framework/RT_Workspace.h"
#include "framework/Rt_Util.h"

namespace {

TEST(UtilTest, WindowsXPMeansVersion5Point1OrLater) {
  EXPECT_TRUE(!IsWindowsXPOrLater(5, 0) && IsWindowsXPOrLater(5, 1) && IsWindowsXPOrLater(6, 0));
  EXPECT_FALSE(IsWindowsXPOrLater(4, 90));
}

// The workspace module is never loaded by the framework: it is found once the host
// has loaded it, and not before. (The module stays loaded once this test has loaded
// it: a repeat of the test only finds it again.)
TEST(WorkspaceTest, TheWorkspaceIsFoundOnceItsModuleIsLoaded) {
  IWorkspace* Workspace = reinterpret_cast<IWorkspace*>(1);
  if (!GetModuleHandleA(WorkspaceModuleName)) {
    GetWorkspaceInterface(&Workspace);
    EXPECT_EQ(Workspace, nullptr) << "found before its module is loaded";
  }

  AnsiString Path =
      ExtractFilePath(GetModuleFileNameStr(nullptr)) + "..\\host-root\\" + WorkspaceModuleName;
  // Stays loaded for the rest of the run: the binding keeps its entry.
  ASSERT_NE(LoadLibraryA(Path.c_str()), nullptr) << Path;
  GetWorkspaceInterface(&Workspace);
  ASSERT_NE(Workspace, nullptr);
  Workspace->Release();
}

}  // namespace
