// The host's PCB server module: found by name, started, and opening documents blank
// or from a template.
#include "tests/host/HostTestSupport.h"

#include <cstring>

#include "host/HostDocuments.h"

namespace {

class HostPcbModuleTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    if (HasFatalFailure()) return;
    Client->GetServerModuleByName("PCB", Pcb.Out());
    ASSERT_NE(Pcb.Get(), nullptr);
  }

  TRef<IServerModule> Pcb;
};

TEST_F(HostPcbModuleTest, ModuleIsFoundByNameIgnoringCase) {
  TRef<IServerModule> Again, Unknown;
  Client->GetServerModuleByName("pcb", Again.Out());
  Client->GetServerModuleByName("Schematic", Unknown.Out());
  EXPECT_EQ(Again.Get(), Pcb.Get());
  EXPECT_EQ(Unknown.Get(), nullptr);
  EXPECT_TRUE(Client->StartServer("PCB"));
  EXPECT_FALSE(Client->StartServer("Schematic"));
  EXPECT_FALSE(Client->StartServer(nullptr));
  EXPECT_EQ(Host->StartedServers(), (std::vector<std::string>{"PCB", "Schematic", ""}));
}

TEST_F(HostPcbModuleTest, OnlyAnExistingFileIsOpenedAsTemplate) {
  char Folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Folder);
  std::string Template = TestHostRoot() + "Halvorn.dll";  // any existing file
  TRef<IServerDocument> Blank, InFolder, FolderWithoutSlash, Other, FromTemplate;
  Pcb->CreateDocument("PCB", "PCB1.PcbDoc", Blank.Out());
  // A path that names a folder opens nothing, with or without its trailing backslash.
  Pcb->CreateDocument("PCB", Folder, InFolder.Out());
  const std::string Bare = std::string(Folder).substr(0, strlen(Folder) - 1);
  Pcb->CreateDocument("PCB", Bare.c_str(), FolderWithoutSlash.Out());
  Pcb->CreateDocument("Schematic", "Sheet1.SchDoc", Other.Out());
  Pcb->CreateDocument("pcb", Template.c_str(), FromTemplate.Out());
  ASSERT_TRUE(FromTemplate.Get());
  EXPECT_EQ(InFolder.Get(), nullptr);
  EXPECT_EQ(FolderWithoutSlash.Get(), nullptr);
  EXPECT_EQ(Host->OpenDocument("PCB", Folder), nullptr);
  EXPECT_STREQ(Blank->GetFileName(), "PCB1.PcbDoc");
  EXPECT_EQ(Other.Get(), nullptr);
  ASSERT_EQ(Host->DocumentCount(), 2);
  EXPECT_EQ(Host->Document(0)->Interface(), Blank.Get());
  EXPECT_EQ(Host->Document(0)->TemplateFileName(), "");
  // What the board maker does next: load, rename, show.
  THostDocument* Opened = Host->Document(1);
  FromTemplate->DoFileLoad();
  FromTemplate->SetFileName("PCB2.PcbDoc");
  Client->ShowDocument(FromTemplate.Get());
  EXPECT_EQ(Opened->LoadCount(), 1);
  EXPECT_EQ(Opened->FileName(), "PCB2.PcbDoc");
  EXPECT_EQ(Opened->TemplateFileName(), Template);
  EXPECT_EQ(Host->CurrentDocument(), Opened);
}

TEST_F(HostPcbModuleTest, ModuleListsOnlyItsOwnKindAndRemovesDocuments) {
  Host->AddDocumentKind("Sch", "Sheet", "SchDoc");
  Host->OpenDocument("Sch", "Sheet1.SchDoc");
  TRef<IServerDocument> First, Second;
  Pcb->CreateDocument("PCB", "PCB1.PcbDoc", First.Out());
  Pcb->CreateDocument("PCB", "PCB2.PcbDoc", Second.Out());
  ASSERT_EQ(Pcb->GetDocumentCount(), 2);
  TRef<IServerDocument> Listed;
  Pcb->GetDocument(1, Listed.Out());
  EXPECT_EQ(Listed.Get(), Second.Get());

  Pcb->RemoveDocument(First.Get());
  EXPECT_EQ(Pcb->GetDocumentCount(), 1);
  EXPECT_EQ(Host->DocumentCount(), 2);
  // The module's own reference keeps the closed document usable.
  EXPECT_STREQ(First->GetFileName(), "PCB1.PcbDoc");
}

TEST_F(HostPcbModuleTest, ModuleHasNoCommandsOrAuxInterfaces) {
  TRef<ICommandLauncher> Launcher;
  TRef<IProcessControl> Control;
  Pcb->GetCommandLauncher(Launcher.Out());
  Pcb->GetProcessControl(Control.Out());
  EXPECT_EQ(Launcher.Get(), nullptr);
  EXPECT_EQ(Control.Get(), nullptr);
  EXPECT_EQ(Pcb->GetAuxInterfaceCount(), 0);
}

}  // namespace
