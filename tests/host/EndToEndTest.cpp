// Runs the host executable with the module as a user would, in its own process.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "classlib/FileUtils.h"
#include "classlib/Registry.h"
#include "tests/host/HostProcessSupport.h"

namespace {

AnsiString HostRoot() {
  return ExtractFilePath(GetModuleFileNameStr(nullptr)) + "..\\host-root\\";
}

AnsiString RecentFiltersFile() {
  char AppData[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, AppData);
  return AnsiString(AppData) + "\\Norvane\\TarvikRecentFilters.Txt";
}

const char* const StoreKey = "\\Software\\Norvane\\Corvista";
const char* const StoreSection = "Recent Tarvik Filter Expressions";

TEST(EndToEndTest, HostLoadsRunsAndUnloadsTheModule) {
  // Start from no stored expressions, so what is found afterwards was written now.
  DeleteFileName(RecentFiltersFile());
  {
    TOwned<TRegistry> Reg(NewObject<TRegistry>());
    if (Reg->OpenKey(StoreKey, false)) Reg->DeleteKey(StoreSection);
  }

  TRunResult Run = RunProgram(
      "\"" + HostRoot() + "PcbHost.exe\" --run RunWizard --run NoSuchCommand", HostRoot());
  EXPECT_EQ(Run.ExitCode, 0u) << Run.Output;
  // The wizard command is not wired to a dialog yet: it shows nothing (a shown dialog
  // would keep the run from ending) and answers 0, as an unknown command does.
  EXPECT_EQ(Run.Output.rfind("RunWizard -> 0\r\nNoSuchCommand -> 0\r\n", 0), 0u) << Run.Output;

  // Shutting the module down saved its recent expressions to both stores.
  EXPECT_TRUE(FileExists(RecentFiltersFile()));
  TOwned<TRegistry> Reg(NewObject<TRegistry>());
  ASSERT_TRUE(Reg->OpenKey(AnsiString(StoreKey) + "\\" + StoreSection, false));
  EXPECT_EQ(Reg->ReadString("NewFileFormat"), "True");
  EXPECT_FALSE(Reg->ReadString("RecentExpressionCount").empty());
}

}  // namespace
