// The tab control and its sheets in form files: every published property read back,
// sheets that attach themselves to the control they are read into, and the names new
// sheets get.
#include <gtest/gtest.h>

#include "classlib/Classes_Streaming.h"
#include "skin/KsTabs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// A form whose handlers the form file binds by name.
class TTabsForm : public TForm {
  TCLASS_DECL(TTabsForm, TForm)
 public:
  TTabsForm(TComponent* AOwner, TCreateNew) : TForm(AOwner, CreateNew) {}
  void TabsChange(TObject*) { ++Changes; }
  void TabsChanging(TObject*, bool& Allow) { Allow = AllowChange; }
  void TabsDrawTab(TKsCustomTabControl*, int Index, const TRect&, bool) { Drawn.push_back(Index); }
  void SheetShow(TObject*) { ++Shows; }
  int Changes = 0;
  int Shows = 0;
  bool AllowChange = true;
  std::vector<int> Drawn;
};
TCLASS_IMPL(TTabsForm)

class KsTabsStreamTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TPublish<TTabsForm> P;
    P.Method<&TTabsForm::TabsChange>("TabsChange");
    P.Method<&TTabsForm::TabsChanging>("TabsChanging");
    P.Method<&TTabsForm::TabsDrawTab>("TabsDrawTab");
    P.Method<&TTabsForm::SheetShow>("SheetShow");
    Root = NewObject<TTabsForm>(nullptr, CreateNew);
    Root->SetBounds(0, 0, 420, 300);
  }
  void TearDown() override {
    FreeObject(Root);
    UnRegisterPublished(&TTabsForm::StaticClass());
    UiTest::TearDown();
  }
  TTabsForm* Root = nullptr;
};

TEST_F(KsTabsStreamTest, SheetsReadIntoAControlAttachThemselvesAndItsPropertiesComeBack) {
  ReadComponentText(Root,
                    "form frmTabs: TTabsForm\n"
                    "  component tabMain: TKsCustomTabControl\n"
                    "    Left = 8\n"
                    "    Top = 8\n"
                    "    Width = 300\n"
                    "    Height = 200\n"
                    "    TabPosition = tpBottom\n"
                    "    HotTrack = True\n"
                    "    OwnerDraw = True\n"
                    "    RaggedRight = True\n"
                    "    TabHeight = 22\n"
                    "    TabWidth = 70\n"
                    "    UsePages = True\n"
                    "    Tabs = lines\n"
                    "      \"General\"\n"
                    "      \"Layers\"\n"
                    "      \"Rules\"\n"
                    "    end\n"
                    "    TabIndex = 1\n"
                    "    OnChange = TabsChange\n"
                    "    OnChanging = TabsChanging\n"
                    "    OnDrawTab = TabsDrawTab\n"
                    "    component shtGeneral: TKsCustomTabSheet\n"
                    "      Caption = \"General\"\n"
                    "      BorderWidth = 4\n"
                    "    end\n"
                    "    component shtLayers: TKsCustomTabSheet\n"
                    "      Caption = \"Layers\"\n"
                    "      OnShow = SheetShow\n"
                    "    end\n"
                    "    component shtRules: TKsCustomTabSheet\n"
                    "      Caption = \"Rules\"\n"
                    "    end\n"
                    "  end\n"
                    "end\n",
                    "tabs");
  auto* Tabs = ObjectAs<TKsCustomTabControl>(Root->FindComponent("tabMain"));
  auto* General = ObjectAs<TKsCustomTabSheet>(Root->FindComponent("shtGeneral"));
  auto* Layers = ObjectAs<TKsCustomTabSheet>(Root->FindComponent("shtLayers"));
  ASSERT_NE(Tabs, nullptr);
  ASSERT_NE(General, nullptr);
  ASSERT_NE(Layers, nullptr);
  EXPECT_EQ(Tabs->TabPosition(), tpBottom);
  EXPECT_TRUE(Tabs->HotTrack());
  EXPECT_TRUE(Tabs->OwnerDraw());
  EXPECT_TRUE(Tabs->RaggedRight());
  EXPECT_EQ(Tabs->TabHeight(), 22);
  EXPECT_EQ(Tabs->TabWidth(), 70);
  EXPECT_EQ(Tabs->Tabs()->Count(), 3);

  // The sheets are the control's pages, in order, and the one at TabIndex shows.
  ASSERT_EQ(Tabs->PageCount(), 3);
  EXPECT_EQ(General->TabControl(), Tabs);
  EXPECT_EQ(General->PageIndex(), 0);
  EXPECT_EQ(Layers->PageIndex(), 1);
  EXPECT_EQ(Tabs->TabIndex(), 1);
  EXPECT_EQ(Tabs->ActivePage(), Layers);
  EXPECT_TRUE(Layers->Visible());
  EXPECT_FALSE(General->Visible());
  EXPECT_EQ(General->BorderWidth(), 4);
  EXPECT_GE(Root->Shows, 1);

  // The bound events fire: a veto keeps the page, a change moves it.
  Root->AllowChange = false;
  Tabs->SetTabIndex(2);
  EXPECT_EQ(Tabs->TabIndex(), 1);
  Root->AllowChange = true;
  const int Changes = Root->Changes;
  Tabs->SetTabIndex(0);
  EXPECT_EQ(Root->Changes, Changes + 1);
  EXPECT_EQ(Tabs->ActivePage(), General);
  Tabs->UpdateBuffer();
  EXPECT_FALSE(Root->Drawn.empty());

  // Written back: the settings, the captions and the sheets as the control's children.
  const AnsiString Text = WriteComponentText(Root);
  for (const char* Expected : {"TabPosition = tpBottom", "OwnerDraw = True", "TabWidth = 70", "\"Layers\"",
                               "OnDrawTab = TabsDrawTab", "component shtRules: TKsCustomTabSheet",
                               "BorderWidth = 4"})
    EXPECT_NE(Text.find(Expected), AnsiString::npos) << Expected << "\n" << Text;

  // ... and read again into another form: the same pages, the same one active.
  TOwned<TTabsForm> Copy(NewObject<TTabsForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Again = ObjectAs<TKsCustomTabControl>(Copy->FindComponent("tabMain"));
  ASSERT_NE(Again, nullptr);
  ASSERT_EQ(Again->PageCount(), 3);
  EXPECT_EQ(Again->GetPage(2)->Name(), "shtRules");
  EXPECT_EQ(Again->Tabs()->Strings(2), "Rules");
  EXPECT_EQ(Again->TabIndex(), 0);
  EXPECT_EQ(Again->ActivePage()->Name(), "shtGeneral");
  EXPECT_EQ(Again->TabPosition(), tpBottom);
}

TEST_F(KsTabsStreamTest, ASideTabPositionReadBeforeMultiLineKeepsItOn) {
  ReadComponentText(Root,
                    "form frmTabs: TTabsForm\n"
                    "  component tabSide: TKsCustomTabControl\n"
                    "    TabPosition = tpLeft\n"
                    "    MultiLine = True\n"
                    "    ScrollOpposite = True\n"
                    "  end\n"
                    "end\n",
                    "side");
  auto* Tabs = ObjectAs<TKsCustomTabControl>(Root->FindComponent("tabSide"));
  ASSERT_NE(Tabs, nullptr);
  EXPECT_EQ(Tabs->TabPosition(), tpLeft);
  EXPECT_TRUE(Tabs->MultiLine());
  EXPECT_TRUE(Tabs->ScrollOpposite());
  const AnsiString Text = WriteComponentText(Root);
  EXPECT_LT(Text.find("TabPosition"), Text.find("MultiLine")) << Text;
}

TEST_F(KsTabsStreamTest, ASheetWithoutANameTakesTheFirstFreeNumberOfItsForm) {
  auto* Tabs = NewObject<TKsCustomTabControl>(Root);
  Tabs->SetParent(Root);
  Tabs->SetUsePages(true);
  auto* Taken = NewObject<TKsCustomTabSheet>(Root);
  Taken->SetName("TKsCustomTabSheet1");

  // In design mode and outside it: a form file keeps only named sheets.
  auto* Plain = NewObject<TKsCustomTabSheet>(Root);
  Tabs->InsertPage(0, Plain);
  EXPECT_EQ(Plain->Name(), "TKsCustomTabSheet2");

  Tabs->SetComponentStateFlag(csDesigning, true);
  auto* First = NewObject<TKsCustomTabSheet>(Root);
  Tabs->InsertPage(1, First);
  EXPECT_EQ(First->Name(), "TKsCustomTabSheet3");
  auto* Second = NewObject<TKsCustomTabSheet>(Root);
  Tabs->InsertPage(2, Second);
  EXPECT_EQ(Second->Name(), "TKsCustomTabSheet4");
  auto* Named = NewObject<TKsCustomTabSheet>(Root);
  Named->SetName("shtOwn");
  Tabs->InsertPage(3, Named);
  EXPECT_EQ(Named->Name(), "shtOwn");
  Tabs->SetComponentStateFlag(csDesigning, false);

  // The sheets a new caption makes take the next free numbers; the caption stays the tab's.
  Taken->Free();
  Tabs->Tabs()->Add("Made");
  EXPECT_EQ(Tabs->ActivePage()->Name(), "TKsCustomTabSheet1");
  EXPECT_EQ(Tabs->ActivePage()->Caption(), "Made");
}

}  // namespace
