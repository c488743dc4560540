// Runs the host executable with the module as a user would, in its own process.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "classlib/FileUtils.h"
#include "classlib/Registry.h"

namespace {

struct TRunResult {
  DWORD ExitCode = 0;
  std::string Output;
};

AnsiString HostRoot() {
  return ExtractFilePath(GetModuleFileNameStr(nullptr)) + "..\\host-root\\";
}

// Starts the program with its standard output and error on a pipe, and waits for it.
TRunResult RunProgram(const AnsiString& CommandLine, const AnsiString& Folder) {
  SECURITY_ATTRIBUTES Inherit{sizeof(Inherit), nullptr, TRUE};
  HANDLE ReadEnd = nullptr, WriteEnd = nullptr;
  EXPECT_TRUE(CreatePipe(&ReadEnd, &WriteEnd, &Inherit, 0));
  SetHandleInformation(ReadEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA Startup{};
  Startup.cb = sizeof(Startup);
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  Startup.hStdOutput = WriteEnd;
  Startup.hStdError = WriteEnd;
  PROCESS_INFORMATION Process{};
  std::string Line = CommandLine;
  TRunResult Result;
  if (!CreateProcessA(nullptr, Line.data(), nullptr, nullptr, TRUE, 0, nullptr, Folder.c_str(),
                      &Startup, &Process)) {
    ADD_FAILURE() << "cannot start " << CommandLine << " (error " << GetLastError() << ")";
    CloseHandle(ReadEnd);
    CloseHandle(WriteEnd);
    return Result;
  }
  CloseHandle(WriteEnd);
  char Buffer[4096];
  DWORD Read = 0;
  while (ReadFile(ReadEnd, Buffer, sizeof(Buffer), &Read, nullptr) && Read > 0)
    Result.Output.append(Buffer, Read);
  if (WaitForSingleObject(Process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(Process.hProcess, 99);
    ADD_FAILURE() << "the host did not end within a minute";
  }
  GetExitCodeProcess(Process.hProcess, &Result.ExitCode);
  CloseHandle(Process.hProcess);
  CloseHandle(Process.hThread);
  CloseHandle(ReadEnd);
  return Result;
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
  EXPECT_NE(Run.Output.find("NoSuchCommand -> 0"), std::string::npos) << Run.Output;
  EXPECT_NE(Run.Output.find("RunWizard -> "), std::string::npos) << Run.Output;

  // Shutting the module down saved its recent expressions to both stores.
  EXPECT_TRUE(FileExists(RecentFiltersFile()));
  TOwned<TRegistry> Reg(NewObject<TRegistry>());
  ASSERT_TRUE(Reg->OpenKey(AnsiString(StoreKey) + "\\" + StoreSection, false));
  EXPECT_EQ(Reg->ReadString("NewFileFormat"), "True");
  EXPECT_FALSE(Reg->ReadString("RecentExpressionCount").empty());
}

}  // namespace
