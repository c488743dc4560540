// The workspace module and the server module as the host loads them, and the install
// folder the build lays out.
#include "tests/host/HostTestSupport.h"

#include <oleauto.h>

#include <fstream>
#include <sstream>

#include "host/HalvornApi.h"

namespace {

// The workspace keeps copies of the names it is handed, and the host reads them back
// until it stops.
TEST_F(HostTest, HostReadsBackTheFileNamesTheWorkspaceIsHanded) {
  std::string Error;
  ASSERT_TRUE(Host->LoadWorkspace(Error)) << Error;
  HMODULE Halvorn = GetModuleHandleA("Halvorn.dll");
  ASSERT_NE(Halvorn, nullptr);
  auto GetWorkspace = HostProcAddress<TGetWorkspace>(Halvorn, "GetWorkspace");
  auto Count = HostProcAddress<TGetWorkspaceFileCount>(Halvorn, "GetWorkspaceFileCount");
  auto Name = HostProcAddress<TGetWorkspaceFileName>(Halvorn, "GetWorkspaceFileName");
  auto Clear = HostProcAddress<TClearWorkspaceFiles>(Halvorn, "ClearWorkspaceFiles");
  ASSERT_TRUE(GetWorkspace && Count && Name && Clear);
  IWorkspace* Workspace = nullptr;
  ASSERT_EQ(GetWorkspace(&Workspace), S_OK);
  ASSERT_NE(Workspace, nullptr);
  Clear();
  for (const wchar_t* File : {L"C:\\Boards\\PCB1.PcbDoc", L"PCB2.PcbDoc"}) {
    BSTR FileName = SysAllocString(File);
    EXPECT_EQ(Workspace->AddDocumentFile(FileName), S_OK);
    SysFreeString(FileName);  // the name stays the caller's
  }
  EXPECT_EQ(Workspace->AddDocumentFile(nullptr), E_INVALIDARG);
  Workspace->Release();

  ASSERT_EQ(Count(), 2);
  char Buffer[64] = "";
  EXPECT_EQ(Name(0, Buffer, sizeof(Buffer)), 21);
  EXPECT_STREQ(Buffer, "C:\\Boards\\PCB1.PcbDoc");
  char Short[4] = "";
  EXPECT_EQ(Name(0, Short, sizeof(Short)), 21);
  EXPECT_STREQ(Short, "C:\\");
  EXPECT_EQ(Name(2, Buffer, sizeof(Buffer)), -1);
  EXPECT_EQ(Host->WorkspaceFileNames(),
            (std::vector<std::string>{"C:\\Boards\\PCB1.PcbDoc", "PCB2.PcbDoc"}));
  EXPECT_TRUE(Host->Stop());
  EXPECT_FALSE(Host->WorkspaceLoaded());
  EXPECT_TRUE(Host->WorkspaceFileNames().empty());
}

TEST_F(HostTest, MissingOrUnfitModulesAreRefusedAndUnloaded) {
  std::string Error;
  EXPECT_FALSE(Host->Start("Halvorn.dll", Error));
  EXPECT_NE(Error.find("has no ServerFactory"), std::string::npos) << Error;
  EXPECT_FALSE(Host->WorkspaceLoaded());
  EXPECT_EQ(GetModuleHandleA("Halvorn.dll"), nullptr);
  EXPECT_FALSE(Host->Start("NoSuchModule.dll", Error));
  EXPECT_NE(Error.find("NoSuchModule.dll"), std::string::npos) << Error;
  int Result = -1;
  EXPECT_FALSE(Host->LaunchCommand("RunWizard", "", Result, Error));
  EXPECT_EQ(Result, 0);
}

HWND WindowToClose = nullptr;

void CALLBACK CloseWindowLater(HWND, UINT, UINT_PTR, DWORD) {
  PostMessageA(WindowToClose, WM_CLOSE, 0, 0);
}

TEST_F(HostTest, ModuleIsStartedRunAndUnloaded) {
  ASSERT_NE(GetFileAttributesA((TestHostRoot() + "Tarvik.dll").c_str()), INVALID_FILE_ATTRIBUTES)
      << "Tarvik.dll is missing from " << TestHostRoot();
  std::string Error;
  ASSERT_TRUE(Host->Start("Tarvik.dll", Error)) << Error;
  ASSERT_NE(Host->Module(), nullptr);
  EXPECT_NE(GetModuleHandleA("Halvorn.dll"), nullptr);
  EXPECT_NE(GetModuleHandleA("Merovan.dll"), nullptr);
  int Result = -1;
  ASSERT_TRUE(Host->LaunchCommand("NoSuchCommand", "", Result, Error)) << Error;
  EXPECT_EQ(Result, 0);
  EXPECT_FALSE(Host->Start("Tarvik.dll", Error));

  // The interactive loop tells the module when it runs idle, and ends with the window.
  WindowToClose = Host->MainWindow();
  UINT_PTR Timer = SetTimer(nullptr, 0, 50, CloseWindowLater);
  EXPECT_EQ(Host->RunMessageLoop(), 0);
  KillTimer(nullptr, Timer);
  EXPECT_EQ(Host->MainWindow(), nullptr);

  EXPECT_TRUE(Host->Stop(&Error)) << Error;
  EXPECT_EQ(GetModuleHandleA("Tarvik.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("Merovan.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("Halvorn.dll"), nullptr);
}

TEST(HostRootTest, ExampleFilterStoreIsInTheNewFormat) {
  std::ifstream File(TestHostRoot() + "System\\ExampleTarvikFilters.Txt");
  ASSERT_TRUE(File.good());
  std::stringstream Text;
  Text << File.rdbuf();
  std::string Content = Text.str();
  EXPECT_EQ(Content.rfind("[Recent Tarvik Filter Expressions]", 0), 0u);
  EXPECT_NE(Content.find("NewFileFormat=True"), std::string::npos);
  EXPECT_EQ(Content.find("RecentExpression1="), std::string::npos);
  EXPECT_NE(Content.find("RecentExpression2="), std::string::npos);
  for (const char* Folder : {"Templates", "Help"}) {
    DWORD Attributes = GetFileAttributesA((TestHostRoot() + Folder).c_str());
    EXPECT_TRUE(Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY))
        << Folder;
  }
}

}  // namespace
