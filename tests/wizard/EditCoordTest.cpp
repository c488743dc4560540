// The coordinate edit on a shown form: what it shows, what it reads, when it reads,
// the snapping to the precision shown, its events and its two looks.
#include <gtest/gtest.h>

#include "classlib/FormatSettings.h"
#include "tests/classlib/UiTestSupport.h"
#include "wizard/EditCoord.h"

namespace {

using uitest::Pump;

class EditCoordTest : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(300, 120);
    Edit = NewObject<TEditCoordEx>(Form);
    Edit->SetBounds(10, 10, 120, 21);
    Edit->SetParent(Form);
    Other = NewObject<TEdit>(Form);
    Other->SetBounds(10, 50, 120, 21);
    Other->SetParent(Form);
    Changes = Keep(NewObject<uitest::TNotifyHandler>([this](TObject*) { Values.push_back(Edit->Value()); }));
    Edit->OnValueChange = Changes->Event();
    Pump();
  }

  // The user types Text over the edit's whole text (the edit has the focus).
  void TypeOver(const std::string& Text) {
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    for (char C : Text) PostMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
    Pump();
  }

  TForm* Form = nullptr;
  TEditCoordEx* Edit = nullptr;
  TEdit* Other = nullptr;
  uitest::TNotifyHandler* Changes = nullptr;
  std::vector<Integer> Values;
};

TEST_F(EditCoordTest, ANewEditShowsZeroMil) {
  EXPECT_EQ(Edit->Units(), eImperial);
  EXPECT_EQ(Edit->Value(), 0);
  EXPECT_FALSE(Edit->Hyperlink());
  EXPECT_EQ(Edit->Text(), "0 mil");
  EXPECT_EQ(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(EditCoordTest, AValueShowsInTheUnitWithAPointWhateverTheLocale) {
  const TFormatSettings Saved = FormatSettings;
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  Edit->SetValue(50000000);
  EXPECT_EQ(Edit->Text(), "5000 mil");
  Edit->SetUnits(eMetric);
  EXPECT_EQ(Edit->Text(), "127.0 mm");
  EXPECT_EQ(Edit->Value(), 50000000);
  FormatSettings = Saved;
  EXPECT_EQ(Values, (std::vector<Integer>{50000000}));
}

TEST_F(EditCoordTest, TypedMillimetresInAnImperialEditAreReadWhenTheFocusLeavesAndSnapped) {
  Edit->SetFocus();
  Pump();
  TypeOver("2.5mm");
  // Typing alone reads nothing.
  EXPECT_EQ(Edit->Value(), 0);
  Other->SetFocus();
  Pump();
  // 2.5 mm is 98.4252 mil: shown as 98 mil, and read back as that. The value changed
  // twice (the second change inside the first's showing), so two events came, each
  // after the value had settled.
  EXPECT_EQ(Edit->Text(), "98 mil");
  EXPECT_EQ(Edit->Value(), 980000);
  EXPECT_EQ(Edit->Units(), eImperial);
  EXPECT_EQ(Values, (std::vector<Integer>{980000, 980000}));
}

TEST_F(EditCoordTest, EnteringAndLeavingAMetricEditSnapsItsValueToTheTenthShown) {
  Edit->SetUnits(eMetric);
  Edit->SetValue(80000);  // 8 mil
  EXPECT_EQ(Edit->Text(), "0.2 mm");
  Edit->SetFocus();
  Pump();
  Other->SetFocus();
  Pump();
  // 0.2 mm as shown.
  EXPECT_EQ(Edit->Value(), 78740);
  EXPECT_EQ(Edit->Text(), "0.2 mm");
  EXPECT_EQ(Values.back(), 78740);
}

TEST_F(EditCoordTest, TheSameValueAgainFiresNoEvent) {
  Edit->SetValue(1230000);
  Edit->SetValue(1230000);
  Edit->SetUnits(eImperial);
  EXPECT_EQ(Values, (std::vector<Integer>{1230000}));
}

TEST_F(EditCoordTest, TextSetByTheProgramIsReadAtOnce) {
  Edit->SetText("10mil");
  EXPECT_EQ(Edit->Value(), 100000);
  EXPECT_EQ(Edit->Text(), "10 mil");
  Edit->SetUnits(eMetric);
  Edit->SetText("1.25");
  // A number without a unit is read in the edit's unit, then shown to a tenth.
  EXPECT_EQ(Edit->Text(), "1.3 mm");
  EXPECT_EQ(Edit->Value(), 511811);
}

TEST_F(EditCoordTest, TextThatIsNoLengthReadsAsZero) {
  for (const char* Text : {"", "abc", "mm5", "1e30mil"}) {
    Edit->SetValue(50000);
    Edit->SetText(Text);
    EXPECT_EQ(Edit->Value(), 0) << Text;
    EXPECT_EQ(Edit->Text(), "0 mil") << Text;
    // Where the value was 0 already, the text shows it too.
    Edit->SetText(Text);
    EXPECT_EQ(Edit->Text(), "0 mil") << Text;
  }
}

TEST_F(EditCoordTest, AHyperlinkEditLooksLikeALinkUnlessItHasTheFocus) {
  auto IsLink = [this] {
    const bool Border = (GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    const bool Link = Edit->Font()->Color() == clBlue && Edit->Font()->Style().Contains(fsUnderline) &&
                      Edit->Cursor() == crHandPoint && Edit->ParentColor() && !Border;
    const bool Plain = Edit->Font()->Color() == clWindowText && Edit->Font()->Style().Empty() &&
                       Edit->Cursor() == crDefault && Edit->Color() == clWindow && Border;
    EXPECT_NE(Link, Plain);
    return Link;
  };
  EXPECT_FALSE(IsLink());
  Edit->SetHyperlink(true);
  EXPECT_TRUE(IsLink());
  Edit->SetFocus();
  Pump();
  EXPECT_FALSE(IsLink());
  Other->SetFocus();
  Pump();
  EXPECT_TRUE(IsLink());
  Edit->SetHyperlink(false);
  EXPECT_FALSE(IsLink());
}

TEST_F(EditCoordTest, ThePlainLookKeepsTheWindowColourWhenTheParentsColourChanges) {
  // A link on a parent that shows the window colour, then plain again.
  Form->SetColor(clWindow);
  Edit->SetHyperlink(true);
  Edit->SetHyperlink(false);
  Form->SetColor(clBtnFace);
  EXPECT_FALSE(Edit->ParentColor());
  EXPECT_EQ(Edit->Color(), clWindow);
}

}  // namespace
