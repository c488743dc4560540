// The client's interfaces, process launching, help and main window, and what a
// reference kept past the host's end answers.
#include "tests/host/HostTestSupport.h"

#include "host/HostDocuments.h"

namespace {

TEST_F(HostTest, ClientAnswersClientAndProcessLauncher) {
  TRef<IClient> AsClient;
  TRef<IProcessLauncher> Launcher;
  TRef<IUnknown> Identity, LauncherIdentity;
  TRef<IServerModule> NotThere;
  ASSERT_EQ(Query(Client, IID_IClient, AsClient), S_OK);
  ASSERT_EQ(Query(Client, IID_IProcessLauncher, Launcher), S_OK);
  EXPECT_EQ(AsClient.Get(), Client);
  EXPECT_EQ(Query(Client, IID_IServerModule, NotThere), E_NOINTERFACE);
  EXPECT_EQ(NotThere.Get(), nullptr);
  Query(Client, IID_IUnknown, Identity);  // both parts name the same object
  Query(Launcher.Get(), IID_IUnknown, LauncherIdentity);
  EXPECT_EQ(Identity.Get(), LauncherIdentity.Get());
}

TEST_F(HostTest, RunProcessRecordsEveryCallAndAcceptsZoom) {
  THostDocument* Document = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  TRef<IProcessLauncher> Launcher;
  Query(Client, IID_IProcessLauncher, Launcher);
  char Parameters[255] = "Action=Sheet";
  EXPECT_NE(Launcher->RunProcess("PCB:Zoom", Parameters, 255, Document->View(0)), 0);
  EXPECT_EQ(Launcher->RunProcess("PCB:Explode", "Force=True", 10, nullptr), 0);

  ASSERT_EQ(Host->Processes().size(), 2u);
  const THostProcessRecord& Zoom = Host->Processes()[0];
  EXPECT_EQ(Zoom.Parameters, "Action=Sheet");
  EXPECT_EQ(Zoom.BufferLength, 255);
  EXPECT_EQ(Zoom.View, Document->View(0));
  EXPECT_EQ(Zoom.ViewName, "PCBEditor");
  EXPECT_TRUE(Zoom.Accepted);
  EXPECT_FALSE(Host->Processes()[1].Accepted);
}

TEST_F(HostTest, HelpPanelAndHelpModules) {
  TRef<IHelpPanel> Panel;
  Client->GetHelpPanel(-1, "", Panel.Out());
  ASSERT_NE(Panel.Get(), nullptr);
  Panel->PrepareForPopup();
  EXPECT_EQ(Host->HelpPanelPrepareCount(), 1);
  EXPECT_STREQ(Client->GetHelpModuleName("pcb:DesignRules"), "Merovan.dll");
  EXPECT_STREQ(Client->GetHelpModuleName("Tarvik:Wizard"), "Tarvik.dll");
  EXPECT_EQ(Client->GetHelpModuleName("Schematic:Wires"), nullptr);
  EXPECT_EQ(Client->GetHelpModuleName(nullptr), nullptr);
  Host->SetHelpModule("PCB", "Other.dll");
  EXPECT_STREQ(Client->GetHelpModuleName("PCB:DesignRules"), "Other.dll");
}

TEST_F(HostTest, MainWindowIsTheOwnerOfDialogsAndEndsTheLoop) {
  HWND Window = Client->GetMainWindowHandle();
  ASSERT_TRUE(IsWindow(Window));
  EXPECT_EQ(Window, Host->MainWindow());
  EXPECT_EQ(Client->GetApplicationHandle(), Window);
  PostMessageA(Window, WM_CLOSE, 0, 0);
  EXPECT_EQ(Host->RunMessageLoop(), 0);
  EXPECT_FALSE(IsWindow(Window));
  EXPECT_EQ(Client->GetMainWindowHandle(), nullptr);
}

TEST(HostLifetimeTest, ReferencesKeptPastTheHostAnswerWithFailures) {
  THost* Host = CreateHost();
  ASSERT_NE(Host, nullptr);
  IClient* Client = Host->Client();
  Client->AddRef();
  IServerModule* Pcb = nullptr;
  Client->GetServerModuleByName("PCB", &Pcb);
  ASSERT_NE(Pcb, nullptr);
  DestroyHost(Host);

  EXPECT_EQ(Client->GetMainWindowHandle(), nullptr);
  IServerModule* Again = reinterpret_cast<IServerModule*>(1);
  Client->GetServerModuleByName("PCB", &Again);
  EXPECT_EQ(Again, nullptr);
  IServerDocument* Document = reinterpret_cast<IServerDocument*>(1);
  Pcb->CreateDocument("PCB", "PCB1.PcbDoc", &Document);
  EXPECT_EQ(Document, nullptr);
  EXPECT_EQ(Pcb->Release(), 0u);
  EXPECT_EQ(Client->Release(), 0u);
}

}  // namespace
