// The host's PCB server module: found by name, started, and opening documents blank
// or from a template.
#include "tests/host/HostTestSupport.h"

#include <cstdio>

#include "host/HostDocuments.h"

namespace {

class HostPcbModuleTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Client->GetServerModuleByName("PCB", Pcb.Out());
    ASSERT_NE(Pcb.Get(), nullptr);
  }

  // A template file in the temporary folder, removed after the test.
  std::string MakeTemplate() {
    char Folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, Folder);
    char Path[MAX_PATH] = "";
    GetTempFileNameA(Folder, "tpl", 0, Path);
    TemplatePath = Path;
    return TemplatePath;
  }
  void TearDown() override {
    if (!TemplatePath.empty()) DeleteFileA(TemplatePath.c_str());
    HostTest::TearDown();
  }

  TRef<IServerModule> Pcb;
  std::string TemplatePath;
};

TEST_F(HostPcbModuleTest, ModuleIsFoundByNameIgnoringCase) {
  TRef<IServerModule> Again, Unknown;
  Client->GetServerModuleByName("pcb", Again.Out());
  Client->GetServerModuleByName("Schematic", Unknown.Out());
  EXPECT_EQ(Again.Get(), Pcb.Get());
  EXPECT_EQ(Unknown.Get(), nullptr);
  EXPECT_STREQ(Pcb->GetModuleName(), "PCB");

  TRef<IClient> Owner;
  Pcb->GetClient(Owner.Out());
  EXPECT_EQ(Owner.Get(), Client);
}

TEST_F(HostPcbModuleTest, StartServerIsRecordedAndKnowsOnlyPcb) {
  EXPECT_TRUE(Client->StartServer("PCB"));
  EXPECT_FALSE(Client->StartServer("Schematic"));
  EXPECT_FALSE(Client->StartServer(nullptr));
  ASSERT_EQ(Host->StartedServers().size(), 3u);
  EXPECT_EQ(Host->StartedServers()[0], "PCB");
  EXPECT_EQ(Host->StartedServers()[1], "Schematic");
  EXPECT_EQ(Host->StartedServers()[2], "");
}

TEST_F(HostPcbModuleTest, NameThatIsNoFileGivesABlankDocument) {
  TRef<IServerDocument> Document;
  Pcb->CreateDocument("PCB", "PCB1.PcbDoc", Document.Out());
  ASSERT_NE(Document.Get(), nullptr);
  EXPECT_STREQ(Document->GetFileName(), "PCB1.PcbDoc");
  ASSERT_EQ(Host->DocumentCount(), 1);
  EXPECT_EQ(Host->Document(0)->Interface(), Document.Get());
  EXPECT_EQ(Host->Document(0)->TemplateFileName(), "");
}

TEST_F(HostPcbModuleTest, ExistingFileIsOpenedAsTemplate) {
  std::string Template = MakeTemplate();
  TRef<IServerDocument> Document;
  Pcb->CreateDocument("pcb", Template.c_str(), Document.Out());
  ASSERT_NE(Document.Get(), nullptr);
  THostDocument* Opened = Host->Document(0);
  EXPECT_EQ(Opened->TemplateFileName(), Template);

  // What the board maker does next: load, rename, show.
  Document->DoFileLoad();
  Document->SetFileName("PCB1.PcbDoc");
  Client->ShowDocument(Document.Get());
  EXPECT_EQ(Opened->LoadCount(), 1);
  EXPECT_EQ(Opened->FileName(), "PCB1.PcbDoc");
  EXPECT_EQ(Opened->TemplateFileName(), Template);
  EXPECT_EQ(Host->CurrentDocument(), Opened);
}

TEST_F(HostPcbModuleTest, FolderIsNoTemplate) {
  char Folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Folder);
  TRef<IServerDocument> Document;
  Pcb->CreateDocument("PCB", Folder, Document.Out());
  ASSERT_NE(Document.Get(), nullptr);
  EXPECT_EQ(Host->Document(0)->TemplateFileName(), "");
}

TEST_F(HostPcbModuleTest, OtherKindGivesNoDocument) {
  TRef<IServerDocument> Document;
  Pcb->CreateDocument("Schematic", "Sheet1.SchDoc", Document.Out());
  EXPECT_EQ(Document.Get(), nullptr);
  EXPECT_EQ(Pcb->GetDocumentCount(), 0);
}

TEST_F(HostPcbModuleTest, ModuleListsOnlyItsOwnKindAndRemovesDocuments) {
  Host->AddDocumentKind("Sch", "Sheet", "SchDoc");
  Host->OpenDocument("Sch", "Sheet1.SchDoc");
  TRef<IServerDocument> First, Second;
  Pcb->CreateDocument("PCB", "PCB1.PcbDoc", First.Out());
  Pcb->CreateDocument("PCB", "PCB2.PcbDoc", Second.Out());
  ASSERT_EQ(Pcb->GetDocumentCount(), 2);
  TRef<IServerDocument> Listed, Beyond;
  Pcb->GetDocument(1, Listed.Out());
  Pcb->GetDocument(2, Beyond.Out());
  EXPECT_EQ(Listed.Get(), Second.Get());
  EXPECT_EQ(Beyond.Get(), nullptr);

  Pcb->RemoveDocument(First.Get());
  EXPECT_EQ(Pcb->GetDocumentCount(), 1);
  EXPECT_EQ(Host->DocumentCount(), 2);
  // The module's own reference keeps the closed document usable.
  EXPECT_STREQ(First->GetFileName(), "PCB1.PcbDoc");
}

TEST_F(HostPcbModuleTest, ModuleHasNoCommandsOrAuxInterfaces) {
  TRef<ICommandLauncher> Launcher;
  TRef<IProcessControl> Control;
  TRef<IUnknown> Aux;
  Pcb->GetCommandLauncher(Launcher.Out());
  Pcb->GetProcessControl(Control.Out());
  Pcb->GetAuxInterface(0, Aux.Out());
  EXPECT_EQ(Launcher.Get(), nullptr);
  EXPECT_EQ(Control.Get(), nullptr);
  EXPECT_EQ(Aux.Get(), nullptr);
  EXPECT_EQ(Pcb->GetAuxInterfaceCount(), 0);
  EXPECT_EQ(Pcb->ReservedQuery(), 0);
}

}  // namespace
