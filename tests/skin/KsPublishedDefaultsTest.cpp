// Every value a kit component's published property is given reads back as set through
// a form file, wherever the component is made: on a plain form, on a multiple-document
// main form and on a child window, whose kit frame starts from defaults of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/TypInfo.h"
#include "skin/KsForms.h"
#include "skin/KsMenuBar.h"
#include "skin/KsThemeForms.h"
#include "skin/XPEdits2.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// The kit's registered classes.
const char* const KitClasses[] = {
    "TCustomXPEdit",       "TKsCustomButton",      "TKsCustomCheckBox",  "TKsCustomControlBar",
    "TKsCustomForm",       "TKsCustomGroupBox",    "TKsCustomItem",      "TKsCustomMenuBar",
    "TKsCustomPopupMenu",  "TKsCustomRadioButton", "TKsCustomScrollBar", "TKsCustomTabControl",
    "TKsCustomTabSheet",   "TKsSpeedContainer",    "TKsSpeedDivider",    "TTeThemeButton",
    "TTeThemeCheckBox",    "TTeThemeEngine",       "TTeThemeForm",       "TTeThemeGroupBox",
    "TTeThemeItem",        "TTeThemeRadioButton",  "TTeThemeRadioGroup"};

// An ordinal published value (with its sub-object's prefix), read and written by name.
struct TValue {
  AnsiString Path;
  const TPropInfo* Info;
  TObject* Owner;
};

// The ordinal values that a form file writes unless they equal the registered default.
void CollectValues(TObject* Instance, const AnsiString& Prefix, std::vector<TValue>& Values) {
  for (const TPropInfo* Info : GetPropList(Instance->ClassType())) {
    if (Info->Kind == tkClass && !Info->IsReference) {
      if (TObject* Sub = Info->GetObj(Instance)) CollectValues(Sub, Prefix + Info->Name + ".", Values);
      continue;
    }
    const bool Ordinal = Info->Kind == tkInteger || Info->Kind == tkEnumeration || Info->Kind == tkSet;
    if (Ordinal && Info->HasDefault && !Info->ReadOnly()) Values.push_back(TValue{Prefix + Info->Name, Info, Instance});
  }
}

TObject* Resolve(TObject* Root, const AnsiString& Path, const TPropInfo*& Info) {
  AnsiString Rest = Path;
  TObject* Instance = Root;
  for (std::size_t Dot = Rest.find('.'); Dot != AnsiString::npos; Dot = Rest.find('.')) {
    Instance = GetObjectProp(Instance, Rest.substr(0, Dot));
    Rest = Rest.substr(Dot + 1);
  }
  Info = GetPropInfo(Instance, Rest);
  return Instance;
}

class KsPublishedDefaultsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedMainForm = Application->MainForm();
    Main = NewObject<TForm>(nullptr, CreateNew);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBounds(40, 30, 500, 400);
    Application->SetMainForm(Main);
    Main->Show();
    Pump();
  }
  void TearDown() override {
    FreeObject(Main);
    Application->SetMainForm(SavedMainForm);
    UiTest::TearDown();
  }
  // A form of the style (a child of the main form when fsMDIChild), not shown.
  TOwned<TForm> NewRoot(TFormStyle Style) {
    TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
    Root->SetName("frmRoot");
    Root->SetFormStyle(Style);
    return Root;
  }
  static TComponent* Make(TForm* Root, const char* ClassName, const char* Name = "Probe") {
    TComponent* C = AsComponentClass(FindClass(ClassName))->Create(Root);
    C->SetName(Name);
    if (auto* Control = ObjectAs<TControl>(C)) Control->SetParent(Root);
    return C;
  }
  // Sets each value that the component starts away from its registered default to that
  // default, writes the form, reads it into a new one, and names each value read back
  // otherwise.
  std::vector<std::string> ValuesLost(TFormStyle Style, const char* ClassName) {
    TOwned<TForm> Root = NewRoot(Style);
    TComponent* Made = Make(Root.get(), ClassName);
    std::vector<TValue> Values;
    CollectValues(Made, "", Values);
    std::vector<TValue> Set;
    for (const TValue& V : Values)
      if (!V.Info->IsDefault(V.Owner) && V.Info->IsStored(V.Owner)) {
        V.Info->SetOrd(V.Owner, V.Info->DefaultOrd);
        if (V.Info->GetOrd(V.Owner) == V.Info->DefaultOrd) Set.push_back(V);
      }
    std::vector<std::string> Lost;
    if (Set.empty()) return Lost;
    const AnsiString Text = WriteComponentText(Root.get());
    TOwned<TForm> Copy = NewRoot(Style);
    ReadComponentText(Copy.get(), Text, "copy");
    TComponent* Read = Copy->FindComponent("Probe");
    if (!Read) return {std::string(ClassName) + " not read back"};
    for (const TValue& V : Set) {
      const TPropInfo* Info = nullptr;
      TObject* Owner = Resolve(Read, V.Path, Info);
      if (!Info || Info->GetOrd(Owner) != V.Info->DefaultOrd) Lost.push_back(std::string(ClassName) + "." + V.Path);
    }
    return Lost;
  }

  TCustomForm* SavedMainForm = nullptr;
  TForm* Main = nullptr;
};

// A form of the style holding Made, written and read into a new form of that style.
TOwned<TForm> ReadBack(TForm* Root, TFormStyle Style) {
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  Copy->SetFormStyle(Style);
  ReadComponentText(Copy.get(), WriteComponentText(Root), "copy");
  return Copy;
}

TEST_F(KsPublishedDefaultsTest, AChildWindowsFrameReadsBackEveryValueAsSet) {
  for (const char* Class : {"TKsCustomForm", "TTeThemeForm"}) {
    SCOPED_TRACE(Class);
    // A child's frame starts without the tray icon, at 9 and leaving the application
    // alone; a plain form's with the icon, 20 and minimizing the application.
    for (const TFormStyle Style : {fsMDIChild, fsNormal}) {
      TOwned<TForm> Root = NewRoot(Style);
      auto* Frame = ObjectAs<TKsCustomForm>(Make(Root.get(), Class));
      const TKsFrameStart Start = KsFrameStart(Style == fsMDIChild);
      EXPECT_EQ(Frame->BorderIcons(), Start.BorderIcons);
      EXPECT_EQ(Frame->MagneticValue(), Start.MagneticValue);
      EXPECT_EQ(Frame->MinimizeApplication(), Start.MinimizeApplication);
      // The other form's values, then its own again: each reads back as set.
      const TKsFrameStart Other = KsFrameStart(Style != fsMDIChild);
      for (const TKsFrameStart& Given : {Other, Start}) {
        Frame->SetBorderIcons(Given.BorderIcons);
        Frame->SetMagneticValue(Given.MagneticValue);
        Frame->SetMinimizeApplication(Given.MinimizeApplication);
        TOwned<TForm> Copy = ReadBack(Root.get(), Style);
        auto* Read = ObjectAs<TKsCustomForm>(Copy->FindComponent("Probe"));
        ASSERT_NE(Read, nullptr);
        EXPECT_EQ(Read->BorderIcons(), Given.BorderIcons) << "form style " << static_cast<int>(Style);
        EXPECT_EQ(Read->MagneticValue(), Given.MagneticValue) << "form style " << static_cast<int>(Style);
        EXPECT_EQ(Read->MinimizeApplication(), Given.MinimizeApplication) << "form style " << static_cast<int>(Style);
      }
      // What a frame starts from is not written.
      const AnsiString Text = WriteComponentText(Root.get());
      for (const char* Name : {"BorderIcons", "MagneticValue", "MinimizeApplication"})
        EXPECT_EQ(Text.find(AnsiString("    ") + Name), AnsiString::npos) << Text;
    }
  }
}

TEST_F(KsPublishedDefaultsTest, EveryKitClassReadsBackAValueSetToItsRegisteredDefault) {
  for (TFormStyle Style : {fsNormal, fsMDIForm, fsMDIChild}) {
    std::vector<std::string> Lost;
    for (const char* Name : KitClasses)
      for (const std::string& Value : ValuesLost(Style, Name)) Lost.push_back(Value);
    EXPECT_EQ(Lost, std::vector<std::string>{}) << "form style " << static_cast<int>(Style);
  }
}

}  // namespace

namespace {

// Values whose registration can give no single default: the anchors of an aligned
// control, and the font colour of a control that starts its font in a colour of its own.
TEST_F(KsPublishedDefaultsTest, AnchorsAgainstTheAlignmentAndAnEditsFontColourReadBackAsSet) {
  TOwned<TForm> Root = NewRoot(fsNormal);
  auto* Bar = ObjectAs<TKsCustomMenuBar>(Make(Root.get(), "TKsCustomMenuBar"));
  ASSERT_EQ(Bar->Align(), alTop);
  Bar->SetAnchors(AnchorsDefault);
  auto* Edit = ObjectAs<TCustomXPEdit>(Make(Root.get(), "TCustomXPEdit", "Edit"));
  ASSERT_FALSE(Edit->ParentFont());
  ASSERT_NE(Edit->Font()->Color(), clWindowText);
  Edit->Font()->SetColor(clWindowText);
  TOwned<TForm> Copy = ReadBack(Root.get(), fsNormal);
  auto* ReadBar = ObjectAs<TKsCustomMenuBar>(Copy->FindComponent("Probe"));
  auto* ReadEdit = ObjectAs<TCustomXPEdit>(Copy->FindComponent("Edit"));
  ASSERT_TRUE(ReadBar && ReadEdit);
  EXPECT_EQ(ReadBar->Anchors(), AnchorsDefault);
  EXPECT_EQ(ReadEdit->Font()->Color(), clWindowText);

  // The anchors the alignment implies are not written; the edit's own colour reads back.
  Bar->SetAlign(alBottom);
  Edit->Font()->SetColor(clHotLight);
  const AnsiString Text = WriteComponentText(Root.get());
  EXPECT_EQ(Text.find("Anchors"), AnsiString::npos) << Text;
  TOwned<TForm> Again = ReadBack(Root.get(), fsNormal);
  EXPECT_EQ(Again->FindComponent("Probe")->Is<TKsCustomMenuBar>(), true);
  EXPECT_EQ(ObjectAs<TCustomXPEdit>(Again->FindComponent("Edit"))->Font()->Color(), clHotLight);
}

}  // namespace
