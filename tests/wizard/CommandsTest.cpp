// The wizard commands: one wizard at a time, what Cancel, the close box and Finish
// leave in the host, and a wizard again after an error.
#include "tests/wizard/WizardFixture.h"

#include "classlib/Exceptions.h"
#include "classlib/StrUtils.h"
#include "tests/support/FileSupport.h"
#include "framework/WizardCommands.h"

namespace wiztest {
namespace {

using RunnerTest = WizardTest;

TEST_F(RunnerTest, ASecondStartWhileAWizardRunsReturnsAtOnce) {
  TForm_BoardWizard* First = nullptr;
  int Second = -1;
  Run({[&](TForm_BoardWizard* D) {
         First = D;
         EXPECT_TRUE(Commands::WizardRunning);
         Second = Commands::RunWizardCommand(nullptr, "");
         Commands::RunDocumentWizardCommand(nullptr, "");
       },
       [&](TForm_BoardWizard* D) {
         // The open wizard is as it was.
         EXPECT_EQ(D, First);
         EXPECT_EQ(Form_BoardWizard, First);
         EXPECT_EQ(ShownTag(D), WelcomePageTag);
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Second, 0);
  EXPECT_FALSE(Commands::WizardRunning);
  EXPECT_EQ(Form_BoardWizard, nullptr);
  EXPECT_EQ(Host->DocumentCount(), 0);
}

// Nothing of the host was touched: no document, no process, no workspace entry.
void ExpectNoHostCall(THost* Host) {
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_EQ(Host->CurrentDocument(), nullptr);
  EXPECT_TRUE(Host->Processes().empty());
  EXPECT_TRUE(Host->StartedServers().empty());
  EXPECT_TRUE(Host->WorkspaceFileNames().empty());
}

TEST_F(RunnerTest, CancelMakesNoDocumentAndNoHostCall) {
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  EXPECT_EQ(Run({Next, Next, [](TForm_BoardWizard* D) { Click(D->btnCancel); }}), 0);
  ExpectNoHostCall(Host);
  EXPECT_FALSE(Commands::WizardRunning);
  EXPECT_EQ(Form_BoardWizard, nullptr);
}

TEST_F(RunnerTest, EscapeAndTheCloseBoxCancelToo) {
  Run({[](TForm_BoardWizard*) { PressKey(VK_ESCAPE); }});
  Run({[](TForm_BoardWizard* D) { PostMessageA(D->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      Commands::RunDocumentWizardCommand);
  ExpectNoHostCall(Host);
}

TEST_F(RunnerTest, FinishShowsTheNewDocumentAndHandsItsNameToTheWorkspace) {
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  bool FinishEnabled = false;
  Run({Next, Next, [&](TForm_BoardWizard* D) {
         // The profile page can finish the wizard, with a template.
         EXPECT_EQ(ShownTag(D), 30);
         ChooseFirstTemplate(D);
         FinishEnabled = D->btnFinish->Enabled();
         Click(D->btnFinish);
       }});
  EXPECT_TRUE(FinishEnabled);
  ASSERT_EQ(Host->DocumentCount(), 1);
  THostDocument* Document = Host->Document(0);
  EXPECT_NE(Document->Board(), 0);
  EXPECT_EQ(Host->CurrentDocument(), Document);
  // Shown by the maker when it opened it, and by the runner when it was built.
  EXPECT_EQ(Document->ShowCount(), 2);
  EXPECT_EQ(Host->WorkspaceFileNames(), std::vector<std::string>{Document->FileName()});
  EXPECT_EQ(Document->FileName(), "PCB1.PcbDoc");
  EXPECT_FALSE(Commands::WizardRunning);
  EXPECT_EQ(Form_BoardWizard, nullptr);
}

// The host's client, passed through, except that showing a document first takes its
// name away: the workspace then refuses the empty name, and the runner raises.
class TNamelessShowClient : public IClient {
 public:
  explicit TNamelessShowClient(IClient* AInner) : Inner(AInner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HWND STDMETHODCALLTYPE GetApplicationHandle() override { return Inner->GetApplicationHandle(); }
  void STDMETHODCALLTYPE GetDocumentByPath(const char* Path, IServerDocument** Document) override {
    Inner->GetDocumentByPath(Path, Document);
  }
  HWND STDMETHODCALLTYPE GetMainWindowHandle() override { return Inner->GetMainWindowHandle(); }
  void STDMETHODCALLTYPE GetHelpPanel(int Index, const char* Name, IHelpPanel** Panel) override {
    Inner->GetHelpPanel(Index, Name, Panel);
  }
  void STDMETHODCALLTYPE GetServerModuleByName(const char* Name, IServerModule** Module) override {
    Inner->GetServerModuleByName(Name, Module);
  }
  void STDMETHODCALLTYPE GetDocumentKindByName(const char* Kind, IDocumentKind** DocumentKind) override {
    Inner->GetDocumentKindByName(Kind, DocumentKind);
  }
  BOOL STDMETHODCALLTYPE StartServer(const char* Name) override { return Inner->StartServer(Name); }
  void STDMETHODCALLTYPE ShowDocument(IServerDocument* Document) override {
    ++Shows;
    // The runner's call comes second, after the maker's own.
    if (Shows == 2) Document->SetFileName("");
    Inner->ShowDocument(Document);
  }
  const char* STDMETHODCALLTYPE GetHelpModuleName(const char* TopicKey) override {
    return Inner->GetHelpModuleName(TopicKey);
  }

  IClient* Inner;
  int Shows = 0;
};

TEST_F(RunnerTest, AfterAnErrorInTheBuildTheNextStartOpensAWizard) {
  TNamelessShowClient Client(Host->Client());
  SetClient(&Client);
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  EXPECT_THROW(Run({Next, Next, [](TForm_BoardWizard* D) {
    ChooseFirstTemplate(D);
    Click(D->btnFinish);
  }}), EOleSysError);
  SetClient(Host->Client());
  EXPECT_EQ(Client.Shows, 2);
  EXPECT_FALSE(Commands::WizardRunning);
  EXPECT_EQ(Form_BoardWizard, nullptr);

  bool Opened = false;
  Run({[&](TForm_BoardWizard* D) {
    Opened = ShownTag(D) == WelcomePageTag;
    Click(D->btnCancel);
  }});
  EXPECT_TRUE(Opened);
}

// The server module's launcher, as the host reaches the command.
TCommandLauncher* LauncherUnderTest = nullptr;
int LaunchRunWizard(IServerDocumentView* Context, const char* Parameters) {
  return static_cast<ICommandLauncher*>(LauncherUnderTest)->LaunchCommand("RunWizard", Parameters, 0, Context);
}

TEST_F(RunnerTest, TheLauncherShowsAnErrorOfTheCommandAndAnswersZero) {
  TNamelessShowClient Client(Host->Client());
  SetClient(&Client);
  TOwned<TCommandLauncher> Launcher(NewObject<TCommandLauncher>());
  // What the module's unit start gave the framework.
  Launcher->RegisterCommand("RunWizard", ::RunWizardCommand, nullptr);
  LauncherUnderTest = Launcher.get();
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  EXPECT_EQ(Run({Next, Next, [](TForm_BoardWizard* D) {
    ChooseFirstTemplate(D);
    Click(D->btnFinish);
  }}, LaunchRunWizard), 0);
  LauncherUnderTest = nullptr;
  SetClient(Host->Client());
  EXPECT_EQ(uitest::ShownMessages.size(), 1u);
  EXPECT_FALSE(Commands::WizardRunning);
}

TEST_F(RunnerTest, ATemplateRemovedWhileThePageShowsItEndsInOneMessageNamingItAndNoDocument) {
  // A templates folder of the test's own, with one template copied from the install
  // folder's.
  const std::string Root = NewScratchFolder("runner-templates");
  ASSERT_FALSE(Root.empty());
  const std::string Templates = Root + "Templates\\";
  ASSERT_TRUE(CreateDirectoryA(Templates.c_str(), nullptr));
  const std::string Template = Templates + "Gone.PcbDoc";
  ASSERT_TRUE(CopyFileA((WizardHostRoot() + "Templates\\Half Eurocard 100x80mm.PcbDoc").c_str(),
                        Template.c_str(), TRUE));
  TemplatesHostFolder = Root;
  TOwned<TCommandLauncher> Launcher(NewObject<TCommandLauncher>());
  Launcher->RegisterCommand("RunWizard", ::RunWizardCommand, nullptr);
  LauncherUnderTest = Launcher.get();

  std::string Chosen;
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  EXPECT_EQ(Run({Next, Next, [&](TForm_BoardWizard* D) {
    ChooseFirstTemplate(D);
    Chosen = D->fraProfiles->treProfiles->FocusedNode()->Strings(0);
    EXPECT_TRUE(DeleteFileA(Template.c_str()));
    Click(D->btnFinish);
  }}, LaunchRunWizard), 0);
  LauncherUnderTest = nullptr;
  TemplatesHostFolder = WizardHostRoot();
  RemoveScratchFolder(Templates);
  RemoveScratchFolder(Root);

  EXPECT_EQ(Chosen, "Gone");
  ASSERT_EQ(uitest::ShownMessages.size(), 1u);
  EXPECT_EQ(uitest::ShownMessages[0],
            "The board template \"" + UpperCase(Templates) +
                "Gone.PcbDoc\" could not be opened: the file was moved or deleted.");
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_TRUE(Host->WorkspaceFileNames().empty());
  EXPECT_FALSE(Commands::WizardRunning);
}

}  // namespace
}  // namespace wiztest
