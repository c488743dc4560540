// Context help of the dialog base: the ".id" maps, topics in other modules' maps, F1
// and the help button, checked by the exact WinHelp calls.
#include "tests/framework/DialogTestSupport.h"

#include "classlib/ExtCtrls.h"
#include "classlib/StrUtils.h"
#include "skin/KsTabs.h"
#include "tests/support/FileSupport.h"
#include "tests/support/FuzzSupport.h"

namespace dlgtest {
TCLASS_IMPL(TTestDialog)
TCLASS_IMPL(TfraDetails)
}  // namespace dlgtest

using namespace dlgtest;
using uitest::Pump;

namespace {

// A temporary help folder of the test's own maps.
class HelpMapTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    if (HasFatalFailure()) return;
    Folder = NewScratchFolder("tarvik-help-test-");
    ASSERT_FALSE(Folder.empty());
    HelpLocation = {Folder, "TestMod.dll"};
  }
  void TearDown() override {
    RemoveScratchFolder(Folder);
    DialogTest::TearDown();
  }
  void Write(const AnsiString& Name, const AnsiString& Text) { WriteText(Folder + Name, Text); }
  // A module "Name.dll" for the topic prefix Name, with a help file and a map.
  void Module(const AnsiString& Name, const AnsiString& Map) {
    Host->SetHelpModule(Name, Name + ".dll");
    Write(Name + ".hlp", "");
    Write(Name + ".id", Map);
  }

  AnsiString Folder;
};

TEST_F(HelpMapTest, MapLinesGiveNumbersOrTopicReferences) {
  Write("TestMod.id",
        "Dlg_b=12\r\nno equals sign\r\nDlg_a=7,PCB:Layer,Stack\r\nDlg_c=seven\r\nDlg_d=-3\r\n"
        "Dlg_e=x=1\r\n");
  TOwned<TStringList> Ids(NewObject<TStringList>()), Topics(NewObject<TStringList>());
  LoadHelpIdFile(ModuleHelpFile(), Ids.get(), Topics.get());
  ASSERT_EQ(Ids->Count(), 5);
  EXPECT_TRUE(Ids->Sorted());
  EXPECT_EQ(Ids->Strings(0), "Dlg_a");
  EXPECT_EQ(HelpIdValue(Ids.get(), 0), -1);
  ASSERT_EQ(Topics->Count(), 1);
  EXPECT_EQ(Topics->Strings(0), "PCB:Layer,Stack");
  EXPECT_EQ(HelpIdValue(Ids.get(), 1), 12);
  EXPECT_EQ(HelpIdValue(Ids.get(), 2), 0);  // not a number
  EXPECT_EQ(HelpIdValue(Ids.get(), 3), 0);  // negative
  EXPECT_EQ(Ids->Strings(4), "Dlg_e");      // the key ends at the first "="
  EXPECT_EQ(HelpIdValue(Ids.get(), 4), 0);

  AnsiString File = ModuleHelpFile();
  EXPECT_EQ(LookupHelpContext("DLG_B", "", File, Topics.get(), Ids.get()), 12);
  EXPECT_EQ(LookupHelpContext("edtX", "fraY", File, Topics.get(), Ids.get()), 0);
}

TEST_F(HelpMapTest, AMissingMapIsReadOnceItIsThere) {
  TOwned<TStringList> Ids(NewObject<TStringList>()), Topics(NewObject<TStringList>());
  AnsiString File = ModuleHelpFile();
  EXPECT_EQ(LookupHelpContext("edtX", "fraY", File, Topics.get(), Ids.get()), 0);
  Write("TestMod.id", "Dlg_fraY_edtX=31\r\n");
  EXPECT_EQ(LookupHelpContext("edtX", "fraY", File, Topics.get(), Ids.get()), 31);
}

TEST_F(HelpMapTest, TopicsLeadThroughOtherModulesAndGiveTheirHelpFile) {
  Module("Alpha", "Alpha_Start=0,Beta:Page:One\r\n");
  Module("Beta", "Beta_Page_One=4242\r\n");
  AnsiString File = "unchanged";
  EXPECT_EQ(LookupTopicInModuleHelp("Alpha:Start", File), 4242);
  EXPECT_EQ(File, Folder + "Beta.hlp");

  // Unknown to the host, or without a help file: nothing, and the file stays.
  File = "unchanged";
  EXPECT_EQ(LookupTopicInModuleHelp("Gamma:Start", File), 0);
  DeleteFileName(Folder + "Beta.hlp");
  EXPECT_EQ(LookupTopicInModuleHelp("Alpha:Start", File), 0);
  EXPECT_EQ(File, "unchanged");
}

TEST_F(HelpMapTest, TopicChainsStopAfterEightModules) {
  // M1 -> M2 -> ... -> Mn, where Mn holds the context.
  auto Chain = [&](int Length) {
    for (int I = 1; I <= Length; ++I) {
      AnsiString Name = "M" + IntToStr(I);
      Module(Name, I < Length ? Name + "_k=0,M" + IntToStr(I + 1) + ":k\r\n" : Name + "_k=77\r\n");
    }
  };
  AnsiString File;
  Chain(8);
  EXPECT_EQ(LookupTopicInModuleHelp("M1:k", File), 77);
  Chain(9);
  EXPECT_EQ(LookupTopicInModuleHelp("M1:k", File), 0);

  // A ring of two maps ends too.
  Module("RingA", "RingA_k=0,RingB:k\r\n");
  Module("RingB", "RingB_k=0,RingA:k\r\n");
  EXPECT_EQ(LookupTopicInModuleHelp("RingA:k", File), 0);
}

// Mutated maps, most of them read from memory and every thirty-second from its file:
// reading and looking up never raise, the keys come sorted, a context is never
// negative, and freeing the lists leaves nothing allocated.
TEST_F(HelpMapTest, MutatedMapsLoadAndLookUpSoundly) {
  Module("Alpha", "Alpha_Start=5\r\nAlpha_Ring=0,TestMod:Dlg:b\r\n");
  Host->SetHelpModule("TestMod", "TestMod.dll");
  Write("TestMod.hlp", "");
  Write("TestMod.id", "");
  fuzz::TMutator Mutator(
      {"Dlg_b=12\r\nno equals sign\r\nDlg_a=7,PCB:Layer,Stack\r\n"
       "Dlg_c=seven\r\nDlg_d=-3\r\nDlg_e=x=1\r\n",
       "Dlg_fraY_edtX=31\nDlg_x=0,Alpha:Start\nDlg_y=0,Alpha:Ring\nDlg_z=0,\n",
       "=\r\n,\r\nDlg_b=2147483647\r\nDlg_a=-2147483648,x\r\n"},
      0x48454C50u,
      {"Dlg_", "Dlg_a", "Dlg_b", "Dlg_x", "Dlg_y", "Alpha:Start", "Alpha:Ring"});
  const AnsiString MapFile = Folder + "TestMod.id";
  fuzz::TFindings Findings;
  fuzz::TLiveBlockCounter Counter;
  for (int Case = 0; Case < 2000; ++Case) {
    const std::string Text = Mutator.Next();
    const bool FromFile = Case % 32 == 0;
    if (FromFile) WriteFileText(MapFile, Text);
    Findings.Check(Text, Counter, [&] {
      const char* Fault = nullptr;
      TStringList* Ids = NewObject<TStringList>();
      TStringList* Topics = NewObject<TStringList>();
      if (FromFile) {
        LoadHelpIdFile(ModuleHelpFile(), Ids, Topics);
      } else {
        TStringList* Lines = NewObject<TStringList>();
        Lines->SetText(Text);
        ReadHelpIdLines(Lines, Ids, Topics);
        Lines->Free();
      }
      if (Ids->Count() > 0 && !Ids->Sorted()) Fault = "keys not sorted";
      // (An empty list would read the map again.)
      for (const char* Key : {"Dlg_a", "Dlg_b", "Dlg_x", "Dlg_y", "Dlg_fraY_edtX", ""}) {
        AnsiString File = ModuleHelpFile();
        if (Ids->Count() > 0 && LookupHelpContext(Key, "", File, Topics, Ids) < 0)
          Fault = "a negative context";
      }
      Ids->Free();
      Topics->Free();
      return Fault;
    });
  }
  EXPECT_EQ(Findings.Count(), 0) << Findings.Text();
}

// ---------------------------------------------------------------------------------
// F1

using HelpKeyTest = DialogTest;

// A frame's topic, one from another module's map through a topic reference
// ("Dlg_fraLayerStack=0,PCB:LayerStack" in Tarvik.id, "PCB_LayerStack=4100" in
// Merovan.id, the module the host names for "PCB:"), and without a host client the
// topic in the dialog itself.
TEST_F(HelpKeyTest, F1OpensTheFramesTopicInTheHostsWindowOrTheDialog) {
  TTestDialog* Dialog = ShownDialog("dlgSomething");
  auto* Width = Add<TEdit>(Add<TfraDetails>(Dialog, "fraDetails"), "edtWidth");
  auto* Layers = Add<TEdit>(Add<TfraDetails>(Dialog, "fraLayerStack"), "edtLayers");
  PressKey(Width, VK_F1);
  EXPECT_TRUE(Dialog->F1Handled());
  PressKey(Layers, VK_F1);
  SetClient(nullptr);
  PressKey(Width, VK_F1);
  const AnsiString Help = HostRoot() + "Help\\";
  EXPECT_EQ(WinHelpCalls,
            (std::vector<TWinHelpCall>{
                {Host->MainWindow(), Help + "Tarvik.hlp", HELP_CONTEXT, 1234},
                {Host->MainWindow(), Help + "Merovan.hlp", HELP_CONTEXT, 4100},
                {Dialog->Handle(), Help + "Tarvik.hlp", HELP_CONTEXT, 1234}}));
}

TEST_F(HelpKeyTest, F1OnTheDialogItselfTakesItsFirstContainerChild) {
  TTestDialog* Dialog = ShownDialog("dlgSomething");
  auto* Edit = Add<TEdit>(Dialog, "edtName");
  // The first container child has no topic: its own first container child is asked.
  auto* Outer = Add<TfraDetails>(Dialog, "fraOuter");
  Add<TfraDetails>(Outer, "fraMUnits");
  PressKey(Edit, VK_F1);
  std::vector<TWinHelpCall> Expected{
      {Host->MainWindow(), HostRoot() + "Help\\Tarvik.hlp", HELP_CONTEXT, 1020}};
  EXPECT_EQ(WinHelpCalls, Expected);
}

TEST_F(HelpKeyTest, F1WithoutAnyTopicOpensMasterPopupOneAtTheCursor) {
  TTestDialog* Dialog = ShownDialog("dlgNothing");
  auto* Edit = Add<TEdit>(Dialog, "edtName");
  SetCursorPos(123, 45);
  PressKey(Edit, VK_F1);
  POINT Cursor;
  GetCursorPos(&Cursor);
  AnsiString Master = HostRoot() + "Help\\Velhub.hlp";
  std::vector<TWinHelpCall> Expected{
      {Dialog->Handle(), Master, HELP_SETPOPUP_POS, static_cast<ULONG_PTR>(MAKELONG(Cursor.x, Cursor.y))},
      {Dialog->Handle(), Master, HELP_CONTEXTPOPUP, 1}};
  EXPECT_EQ(WinHelpCalls, Expected);
}

// A tab control whose help is its active page's; pages are containers.
class TTestTabs : public TCustomControl {
  TCLASS_DECL(TTestTabs, TCustomControl)
 public:
  explicit TTestTabs(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 200, 100); }
  TWinControl* Active = nullptr;
  static TWinControl* ActivePage(TWinControl* Tabs) { return static_cast<TTestTabs*>(Tabs)->Active; }
};
class TTestSheet : public TCustomControl {
  TCLASS_DECL(TTestSheet, TCustomControl)
 public:
  explicit TTestSheet(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 100, 50); }
};
TCLASS_IMPL(TTestTabs)
TCLASS_IMPL(TTestSheet)

TEST_F(HelpMapTest, RegisteredTabControlsGiveTheirActivePagesTopic) {
  RegisterHelpTabControlClass(&TTestTabs::StaticClass(), TTestTabs::ActivePage);
  RegisterHelpContainerClass(&TTestSheet::StaticClass());
  Write("TestModwth.id", "Dlg_tsTwo=2222\r\n");
  TTestDialog* Dialog = ShownDialog("dlgTabs");
  auto* Tabs = Add<TTestTabs>(Dialog, "tabMain");
  Add<TTestSheet>(Tabs, "tsOne");
  Tabs->Active = Add<TTestSheet>(Tabs, "tsTwo");
  PressKey(Tabs, VK_F1);
  UnregisterHelpContainerClass(&TTestTabs::StaticClass());
  UnregisterHelpContainerClass(&TTestSheet::StaticClass());
  std::vector<TWinHelpCall> Expected{
      {Host->MainWindow(), Folder + "TestModwth.hlp", HELP_CONTEXT, 2222}};
  EXPECT_EQ(WinHelpCalls, Expected);
}

// The kit's tab sheets and tab controls are containers from the framework's start.
TEST_F(HelpMapTest, F1OverAKitTabSheetOrItsTabControlGivesTheSheetsTopic) {
  Write("TestModwth.id", "Dlg_tsLayers=3131\r\nDlg_tsRules=3232\r\n");
  TTestDialog* Dialog = ShownDialog("dlgKitTabs");
  auto* Tabs = Add<TKsCustomTabControl>(Dialog, "tabKit");
  auto Sheet = [&](const char* Name) {
    auto* Page = NewObject<TKsCustomTabSheet>(Dialog);
    Page->SetName(Name);
    Tabs->InsertPage(Tabs->PageCount(), Page);
    return Page;
  };
  TKsCustomTabSheet* Layers = Sheet("tsLayers");
  TKsCustomTabSheet* Rules = Sheet("tsRules");
  Tabs->ShowPage(Layers);
  auto* Edit = Add<TEdit>(Layers, "edtCount");
  Pump();
  PressKey(Edit, VK_F1);
  const AnsiString File = Folder + "TestModwth.hlp";
  std::vector<TWinHelpCall> Expected{{Host->MainWindow(), File, HELP_CONTEXT, 3131}};
  EXPECT_EQ(WinHelpCalls, Expected);

  WinHelpCalls.clear();
  Tabs->ShowPage(Rules);
  Pump();
  PressKey(Tabs, VK_F1);
  Expected = {{Host->MainWindow(), File, HELP_CONTEXT, 3232}};
  EXPECT_EQ(WinHelpCalls, Expected);
}

// ---------------------------------------------------------------------------------
// The help button

using HelpButtonTest = DialogTest;

TEST_F(HelpButtonTest, PopupsComeFromTheControlMapByFrameClassAndParentOrTheMaster) {
  TTestDialog* Dialog = ShownDialog("dlgSomething");
  // An instance name other than the class's: "Dlg_fraDetails1_edtWidth" is missing,
  // "Dlg_fraDetails_edtWidth" is there.
  auto* Frame = Add<TfraDetails>(Dialog, "fraDetails1");
  auto* Edit = Add<TEdit>(Frame, "edtWidth");
  auto* Panel = Add<TPanel>(Frame, "pnlOrigin", 50);
  auto* Check = Add<TCheckBox>(Panel, "chkRelative");
  AnsiString File = HostRoot() + "Help\\Tarvikwth.hlp";

  HelpClick(Dialog, Edit, {200, 300});
  std::vector<TWinHelpCall> Expected{
      {Dialog->Handle(), File, HELP_SETPOPUP_POS, static_cast<ULONG_PTR>(MAKELONG(200, 300))},
      {Dialog->Handle(), File, HELP_CONTEXTPOPUP, 5001}};
  EXPECT_EQ(WinHelpCalls, Expected);

  // A control without a popup of its own takes its parent's.
  WinHelpCalls.clear();
  HelpClick(Dialog, Check, {7, 8});
  Expected = {{Dialog->Handle(), File, HELP_SETPOPUP_POS, static_cast<ULONG_PTR>(MAKELONG(7, 8))},
              {Dialog->Handle(), File, HELP_CONTEXTPOPUP, 5003}};
  EXPECT_EQ(WinHelpCalls, Expected);
  EXPECT_EQ(Host->HelpPanelPrepareCount(), 2);

  // Without a popup the master's first is shown; the host has no panel to prepare.
  WinHelpCalls.clear();
  Host->SetHelpPanelOffered(false);
  HelpClick(Dialog, Add<TEdit>(Dialog, "edtUnknown"), {5, 6});
  const AnsiString Master = HostRoot() + "Help\\Velhub.hlp";
  Expected = {{Dialog->Handle(), Master, HELP_SETPOPUP_POS, static_cast<ULONG_PTR>(MAKELONG(5, 6))},
              {Dialog->Handle(), Master, HELP_CONTEXTPOPUP, 1}};
  EXPECT_EQ(WinHelpCalls, Expected);
  EXPECT_EQ(Host->HelpPanelPrepareCount(), 2);
}

TEST_F(HelpButtonTest, TheClickRightAfterF1ShowsNothingTheNextDoes) {
  TTestDialog* Dialog = ShownDialog("dlgSomething");
  auto* Edit = Add<TEdit>(Add<TfraDetails>(Dialog, "fraDetails"), "edtWidth");
  PressKey(Edit, VK_F1);
  ASSERT_EQ(WinHelpCalls.size(), 1u);
  WinHelpCalls.clear();
  HelpClick(Dialog, Edit, {1, 1});
  EXPECT_TRUE(WinHelpCalls.empty());
  EXPECT_FALSE(Dialog->F1Handled());
  HelpClick(Dialog, Edit, {1, 1});
  EXPECT_EQ(WinHelpCalls.size(), 2u);
}

}  // namespace
