// Edit styles and their controllers: the defaults, the assigned-value rule, change
// notification from the default controller and from an editor's own, update
// brackets, and controllers that go while editors still follow them.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxCntner_Style.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;

namespace {

// Notes OnStyleChanged.
class TStyleChangeLog : public TObject {
 public:
  void Changed(TObject* Sender, TdxInplaceEdit* Edit) {
    Senders.push_back(Sender);
    Edits.push_back(Edit);
  }
  int CountFor(TdxInplaceEdit* Edit) const {
    int Count = 0;
    for (TdxInplaceEdit* E : Edits) Count += E == Edit;
    return Count;
  }
  std::vector<TObject*> Senders;
  std::vector<TdxInplaceEdit*> Edits;
};

class StyleTest : public EditTest {
 protected:
  TTestEdit* NewEdit() { return Keep(NewObject<TTestEdit>(nullptr)); }
  TdxEditStyleController* Default() { return DefaultEditStyleController(); }
};

TEST_F(StyleTest, ANewStyleHasNoValuesOfItsOwnAndAnswersTheDefaults) {
  TTestEdit* Edit = NewEdit();
  TdxEditStyle* Style = Edit->Style();
  EXPECT_TRUE(Style->AssignedValues().Empty());
  EXPECT_EQ(xbs3D, Style->BorderStyle());
  EXPECT_EQ(clWindowFrame, Style->BorderColor());
  EXPECT_EQ(dxAllEdges, Style->Edges());
  EXPECT_EQ(btsDefault, Style->ButtonStyle());
  EXPECT_EQ(ebtNone, Style->ButtonTransparence());
  EXPECT_FALSE(Style->HotTrack());
  EXPECT_FALSE(Style->Shadow());
}

TEST_F(StyleTest, EveryNewEditorFollowsTheDefaultController) {
  ASSERT_NE(nullptr, Default());
  int Before = Default()->EditCount();
  TTestEdit* Edit = NewEdit();
  EXPECT_EQ(Before + 1, Default()->EditCount());
  Edit->Free();
  Owned.clear();
  EXPECT_EQ(Before, Default()->EditCount());
}

TEST_F(StyleTest, TheDefaultControllersChangeReachesEveryEditorWithoutAValueOfItsOwn) {
  TTestEdit* Plain = NewEdit();
  TTestEdit* WithBit = NewEdit();
  WithBit->Style()->SetBorderStyle(xbsFlat);
  TTestEdit* OwnController = NewEdit();
  auto* Controller = Keep(NewObject<TdxEditStyleController>(nullptr));
  OwnController->SetStyleController(Controller);
  TStyleChangeLog* Log = Keep(NewObject<TStyleChangeLog>());
  Default()->OnStyleChanged = TdxStyleChangedEvent::Bind<&TStyleChangeLog::Changed>(Log);

  Default()->SetBorderStyle(xbsSingle);

  EXPECT_EQ(xbsSingle, Plain->Style()->BorderStyle());
  EXPECT_EQ(xbsFlat, WithBit->Style()->BorderStyle());
  EXPECT_EQ(xbs3D, OwnController->Style()->BorderStyle());
  EXPECT_EQ(1, Log->CountFor(Plain));
  EXPECT_EQ(0, Log->CountFor(OwnController));
  for (TObject* Sender : Log->Senders) EXPECT_EQ(Default(), Sender);

  // An equal value is no change.
  Log->Edits.clear();
  Default()->SetBorderStyle(xbsSingle);
  EXPECT_TRUE(Log->Edits.empty());
}

TEST_F(StyleTest, SevenChangesInOneUpdateBracketNotifyEachEditorOnce) {
  TTestEdit* First = NewEdit();
  TTestEdit* Second = NewEdit();
  auto* Controller = Keep(NewObject<TdxEditStyleController>(nullptr));
  First->SetStyleController(Controller);
  Second->SetStyleController(Controller);
  TStyleChangeLog* Log = Keep(NewObject<TStyleChangeLog>());
  Controller->OnStyleChanged = TdxStyleChangedEvent::Bind<&TStyleChangeLog::Changed>(Log);

  Controller->BeginUpdate();
  Controller->SetBorderColor(clRed);
  Controller->SetBorderStyle(xbsThick);
  Controller->SetButtonStyle(btsFlat);
  Controller->SetButtonTransparence(ebtAlways);
  Controller->SetEdges({edgLeft, edgTop});
  Controller->SetHotTrack(true);
  Controller->SetShadow(true);
  EXPECT_TRUE(Log->Edits.empty());
  Controller->EndUpdate();

  EXPECT_EQ(1, Log->CountFor(First));
  EXPECT_EQ(1, Log->CountFor(Second));
  EXPECT_EQ(2u, Log->Edits.size());
  EXPECT_EQ(clRed, First->Style()->BorderColor());
  EXPECT_EQ(xbsThick, First->Style()->BorderStyle());
  EXPECT_EQ(btsFlat, First->Style()->ButtonStyle());
  EXPECT_EQ(ebtAlways, First->Style()->ButtonTransparence());
  EXPECT_EQ((TdxEditEdges{edgLeft, edgTop}), First->Style()->Edges());
  EXPECT_TRUE(First->Style()->HotTrack());
  EXPECT_TRUE(First->Style()->Shadow());
}

TEST_F(StyleTest, AssigningAControllerNotifiesOnceAndRestoringTheDefaultsOnceMore) {
  TTestEdit* Edit = NewEdit();
  auto* Source = Keep(NewObject<TdxEditStyleController>(nullptr));
  Source->SetBorderStyle(xbsNone);
  Source->SetShadow(true);
  auto* Controller = Keep(NewObject<TdxEditStyleController>(nullptr));
  Edit->SetStyleController(Controller);
  TStyleChangeLog* Log = Keep(NewObject<TStyleChangeLog>());
  Controller->OnStyleChanged = TdxStyleChangedEvent::Bind<&TStyleChangeLog::Changed>(Log);

  Controller->Assign(Source);
  EXPECT_EQ(1, Log->CountFor(Edit));
  EXPECT_EQ(xbsNone, Edit->Style()->BorderStyle());
  EXPECT_TRUE(Edit->Style()->Shadow());

  Controller->RestoreDefaults();
  EXPECT_EQ(2, Log->CountFor(Edit));
  EXPECT_EQ(xbs3D, Edit->Style()->BorderStyle());
  EXPECT_FALSE(Edit->Style()->Shadow());
}

TEST_F(StyleTest, AnAssignedValueStaysUntilTheAssignedValuesAreEmptied) {
  TTestEdit* Edit = NewEdit();
  TdxEditStyle* Style = Edit->Style();
  // A value equal to the inherited one still counts as the style's own.
  Style->SetBorderStyle(xbs3D);
  Style->SetHotTrack(true);
  EXPECT_EQ((TdxEditStyleValues{svBorderStyle, svHotTrack}), Style->AssignedValues());

  Default()->SetBorderStyle(xbsThick);
  Default()->SetHotTrack(false);
  EXPECT_EQ(xbs3D, Style->BorderStyle());
  EXPECT_TRUE(Style->HotTrack());

  Style->SetAssignedValues({});
  EXPECT_EQ(xbsThick, Style->BorderStyle());
  EXPECT_FALSE(Style->HotTrack());

  Style->SetShadow(true);
  Style->RestoreDefaults();
  EXPECT_TRUE(Style->AssignedValues().Empty());
  EXPECT_FALSE(Style->Shadow());
}

TEST_F(StyleTest, AssigningAStyleTakesAllSevenEffectiveValues) {
  TTestEdit* Source = NewEdit();
  Source->Style()->SetBorderStyle(xbsSingle);
  TTestEdit* Target = NewEdit();
  Target->Style()->Assign(Source->Style());
  EXPECT_EQ(xbsSingle, Target->Style()->BorderStyle());
  EXPECT_EQ(clWindowFrame, Target->Style()->BorderColor());
  EXPECT_EQ((TdxEditStyleValues{svBorderColor, svBorderStyle, svButtonStyle, svButtonTransparence, svEdges,
                                svHotTrack, svShadow}),
            Target->Style()->AssignedValues());
}

TEST_F(StyleTest, AnEditorWhoseOwnControllerIsFreedFollowsTheDefaultOneAgain) {
  TTestEdit* Edit = NewEdit();
  auto* Controller = NewObject<TdxEditStyleController>(nullptr);
  Controller->SetBorderStyle(xbsNone);
  Edit->SetStyleController(Controller);
  EXPECT_EQ(xbsNone, Edit->Style()->BorderStyle());
  EXPECT_EQ(1, Controller->EditCount());

  Controller->Free();
  EXPECT_EQ(nullptr, Edit->StyleController());
  EXPECT_EQ(xbs3D, Edit->Style()->BorderStyle());
  Default()->SetBorderStyle(xbsFlat);
  EXPECT_EQ(xbsFlat, Edit->Style()->BorderStyle());
}

TEST_F(StyleTest, AControllerSharingTheEditorsOwnerLetsItGoToo) {
  auto* Owner = Keep(NewObject<TComponent>(nullptr));
  auto* Edit = NewObject<TTestEdit>(Owner);
  auto* Controller = NewObject<TdxEditStyleController>(Owner);
  Edit->SetStyleController(Controller);
  Controller->Free();
  EXPECT_EQ(nullptr, Edit->StyleController());
}

TEST_F(StyleTest, AnEditorFreedBeforeItsControllerLeavesItsList) {
  auto* Controller = Keep(NewObject<TdxEditStyleController>(nullptr));
  auto* Edit = NewObject<TTestEdit>(nullptr);
  Edit->SetStyleController(Controller);
  Edit->Free();
  EXPECT_EQ(0, Controller->EditCount());
  Controller->SetBorderStyle(xbsNone);  // reaches no freed editor
}

TEST_F(StyleTest, WhenTheDefaultControllerGoesItsEditorsAnswerTheConstantDefaults) {
  TTestEdit* Edit = NewEdit();
  Default()->SetBorderStyle(xbsNone);
  EXPECT_EQ(xbsNone, Edit->Style()->BorderStyle());

  // As at unload, while a form and its editors are still alive.
  DoneEditStyles();
  EXPECT_EQ(nullptr, DefaultEditStyleController());
  EXPECT_EQ(xbs3D, Edit->Style()->BorderStyle());
  EXPECT_EQ(clWindowFrame, Edit->Style()->BorderColor());
  Edit->Style()->SetShadow(true);
  EXPECT_TRUE(Edit->Style()->Shadow());
  TTestEdit* Late = NewObject<TTestEdit>(nullptr);
  EXPECT_EQ(xbs3D, Late->Style()->BorderStyle());
  Late->Free();
  Edit->Free();
  Owned.clear();

  InitEditStyles();
  ASSERT_NE(nullptr, DefaultEditStyleController());
  EXPECT_EQ(0, DefaultEditStyleController()->EditCount());
}

TEST_F(StyleTest, TheCheckEditorsControllerHasNoBorderAndThreeDimensionalButtons) {
  auto* Controller = Keep(NewObject<TdxCheckEditStyleController>(nullptr));
  EXPECT_EQ(xbsNone, Controller->BorderStyle());
  EXPECT_EQ(bts3D, Controller->ButtonStyle());
  EXPECT_EQ(clWindowFrame, Controller->BorderColor());
  TTestEdit* Edit = NewEdit();
  Edit->SetStyleController(Controller);
  TStyleChangeLog* Log = Keep(NewObject<TStyleChangeLog>());
  Controller->OnStyleChanged = TdxStyleChangedEvent::Bind<&TStyleChangeLog::Changed>(Log);
  Controller->SetBorderStyle(xbsThick);
  Controller->SetShadow(true);
  Controller->RestoreDefaults();
  EXPECT_EQ(xbsNone, Controller->BorderStyle());
  EXPECT_EQ(bts3D, Controller->ButtonStyle());
  EXPECT_FALSE(Controller->Shadow());
  EXPECT_EQ(3, Log->CountFor(Edit));
}

}  // namespace

namespace {

TEST_F(StyleTest, AControllerKeepsItsChangedValuesInTheFormFile) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("StyleForm");
  auto* Controller = NewObject<TdxEditStyleController>(Form.get());
  Controller->SetName("Controller1");
  Controller->SetBorderStyle(xbsNone);
  Controller->SetHotTrack(true);
  Controller->SetEdges({edgLeft, edgRight});

  AnsiString Text = WriteComponentText(Form.get());
  std::size_t At = Text.find("component Controller1: TdxEditStyleController");
  ASSERT_NE(AnsiString::npos, At);
  EXPECT_NE(AnsiString::npos, Text.find("BorderStyle = xbsNone", At));
  EXPECT_NE(AnsiString::npos, Text.find("HotTrack = True", At));
  EXPECT_NE(AnsiString::npos, Text.find("Edges = [edgLeft, edgRight]", At));
  EXPECT_EQ(AnsiString::npos, Text.find("ButtonStyle", At));
  EXPECT_EQ(AnsiString::npos, Text.find("BorderColor", At));

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "StyleForm");
  auto* Read = ObjectAs<TdxEditStyleController>(Copy->FindComponent("Controller1"));
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ(xbsNone, Read->BorderStyle());
  EXPECT_TRUE(Read->HotTrack());
  EXPECT_EQ((TdxEditEdges{edgLeft, edgRight}), Read->Edges());
  EXPECT_EQ(clWindowFrame, Read->BorderColor());
}

TEST_F(StyleTest, ACheckControllerKeepsInTheFormFileWhatDiffersFromItsOwnDefaults) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("StyleForm");
  auto* Changed = NewObject<TdxCheckEditStyleController>(Form.get());
  Changed->SetName("Changed");
  Changed->SetBorderStyle(xbs3D);
  Changed->SetButtonStyle(btsDefault);
  auto* Untouched = NewObject<TdxCheckEditStyleController>(Form.get());
  Untouched->SetName("Untouched");

  AnsiString Text = WriteComponentText(Form.get());
  const std::size_t ChangedAt = Text.find("component Changed: TdxCheckEditStyleController");
  const std::size_t UntouchedAt = Text.find("component Untouched: TdxCheckEditStyleController");
  ASSERT_NE(AnsiString::npos, ChangedAt);
  ASSERT_NE(AnsiString::npos, UntouchedAt);
  const AnsiString ChangedPart = Text.substr(ChangedAt, UntouchedAt - ChangedAt);
  const AnsiString UntouchedPart = Text.substr(UntouchedAt);
  EXPECT_NE(AnsiString::npos, ChangedPart.find("BorderStyle = xbs3D")) << Text.c_str();
  EXPECT_NE(AnsiString::npos, ChangedPart.find("ButtonStyle = btsDefault")) << Text.c_str();
  EXPECT_EQ(AnsiString::npos, UntouchedPart.find("Style =")) << Text.c_str();

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "StyleForm");
  auto* ReadChanged = ObjectAs<TdxCheckEditStyleController>(Copy->FindComponent("Changed"));
  auto* ReadUntouched = ObjectAs<TdxCheckEditStyleController>(Copy->FindComponent("Untouched"));
  ASSERT_TRUE(ReadChanged && ReadUntouched);
  EXPECT_EQ(xbs3D, ReadChanged->BorderStyle());
  EXPECT_EQ(btsDefault, ReadChanged->ButtonStyle());
  EXPECT_EQ(xbsNone, ReadUntouched->BorderStyle());
  EXPECT_EQ(bts3D, ReadUntouched->ButtonStyle());
}

TEST_F(StyleTest, OnlyTheAssignedValuesOfAStyleAreStored) {
  TTestEdit* Edit = NewEdit();
  TdxEditStyle* Style = Edit->Style();
  const TPropInfo* BorderStyle = GetPropInfo(Style, "BorderStyle");
  const TPropInfo* Shadow = GetPropInfo(Style, "Shadow");
  ASSERT_NE(nullptr, BorderStyle);
  ASSERT_NE(nullptr, Shadow);
  EXPECT_FALSE(BorderStyle->IsStored(Style));
  Style->SetBorderStyle(xbs3D);
  EXPECT_TRUE(BorderStyle->IsStored(Style));
  EXPECT_FALSE(Shadow->IsStored(Style));
  // Setting the assigned values by name lets the value follow the controller again.
  SetOrdProp(Style, "AssignedValues", 0);
  EXPECT_FALSE(BorderStyle->IsStored(Style));
}

}  // namespace
