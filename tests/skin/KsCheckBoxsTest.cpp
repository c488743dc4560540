// The kit's check box and radio button on real windows: toggling by Space, the
// caption's accelerator and the mouse, clicks from state changes only, the bounds of
// a release, radio groups under one parent, tab stops, and where glyph and caption lie.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/ExtCtrls.h"
#include "skin/KsCheckBoxs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// The background the probes paint on: no glyph or text pixel has it.
constexpr TColor ProbeColor = 0x00407080;

class KsCheckBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(420, 200);
  }
  template <class T>
  T* Add(const char* Name, int Top, const char* Caption, TWinControl* Parent = nullptr) {
    auto* C = NewObject<T>(Form);
    C->SetName(Name);
    C->SetParent(Parent ? Parent : Form);
    C->SetBounds(10, Top, 120, 20);
    C->SetCaption(Caption);
    C->OnClick = Recorder.Event();
    return C;
  }
  static void Mouse(TWinControl* Control, UINT Msg, int X, int Y) {
    SendMessageA(Control->Handle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(X, Y));
  }
  static void Click(TWinControl* Control, int X, int Y) {
    Mouse(Control, WM_LBUTTONDOWN, 5, 5);
    Mouse(Control, WM_LBUTTONUP, X, Y);
  }
  static void Space(TWinControl* Control) {
    PostMessageA(Control->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(Control->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
  }
  // The leftmost and rightmost columns (inclusive) whose pixels differ from the probe
  // background, in columns From..To-1 of the control's buffer.
  static std::pair<int, int> InkColumns(TKsCustomControl* C, int From, int To) {
    C->Invalidate();
    C->UpdateBuffer();
    const TKsColor Back = Rgb(ColorToKsColor(ProbeColor, 255));
    int First = -1, Last = -1;
    for (int X = From; X < To; ++X)
      for (int Y = 0; Y < C->Height(); ++Y)
        if (Rgb(C->Buffer()->GetPixel(X, Y)) != Back) {
          if (First < 0) First = X;
          Last = X;
          break;
        }
    return {First, Last};
  }

  TForm* Form = nullptr;
  std::vector<std::string> Clicks;
  TNotifyHandler Recorder{[this](TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->Name()); }};
};

// ---------------------------------------------------------------------------------
// Check box

TEST_F(KsCheckBoxTest, GrayedBecomesCheckedBySpaceAcceleratorAndMouse) {
  auto* C = Add<TKsCustomCheckBox>("chkGray", 10, "&Grey");
  C->SetFocus();
  Pump();
  C->SetState(cbGrayed);
  Space(C);
  EXPECT_EQ(C->State(), cbChecked);
  Space(C);
  EXPECT_EQ(C->State(), cbUnchecked);

  C->SetState(cbGrayed);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'g', 0), 1);
  EXPECT_EQ(C->State(), cbChecked);

  C->SetState(cbGrayed);
  Click(C, 30, 10);
  EXPECT_EQ(C->State(), cbChecked);
  EXPECT_FALSE(C->Pressed());
  Click(C, 30, 10);
  EXPECT_EQ(C->State(), cbUnchecked);
}

TEST_F(KsCheckBoxTest, OnlyARealStateChangeClicksAndAPlainClickDoesNot) {
  auto* C = Add<TKsCustomCheckBox>("chkOnce", 10, "Once");
  C->SetState(cbUnchecked);
  C->SetChecked(false);
  EXPECT_TRUE(Clicks.empty());
  C->SetState(cbChecked);
  C->SetState(cbChecked);
  C->SetChecked(true);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"chkOnce"}));
  // A press and release by mouse is one state change: one click.
  Clicks.clear();
  Click(C, 30, 10);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"chkOnce"}));
  EXPECT_EQ(C->State(), cbUnchecked);
}

TEST_F(KsCheckBoxTest, AReleaseOnTheRightOrBottomEdgeTogglesOneOutsideDoesNot) {
  auto* C = Add<TKsCustomCheckBox>("chkEdge", 10, "Edge");
  Click(C, C->Width(), C->Height());
  EXPECT_TRUE(C->Checked());
  Click(C, C->Width() + 1, 5);
  EXPECT_TRUE(C->Checked());
  Click(C, 5, C->Height() + 1);
  EXPECT_TRUE(C->Checked());
  Click(C, -1, 5);
  EXPECT_TRUE(C->Checked());
  // A release without a press on the control changes nothing either.
  Mouse(C, WM_LBUTTONUP, 5, 5);
  EXPECT_TRUE(C->Checked());
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(KsCheckBoxTest, ARightJustifiedGlyphHugsTheRightEdgeAndTheCaptionStartsAt2) {
  auto* C = Add<TKsCustomCheckBox>("chkRight", 10, "");
  C->SetTransparent(false);
  C->SetColor(ProbeColor);
  C->SetWidth(100);
  // The glyph alone: at the left edge, then at the right.
  auto Glyph = InkColumns(C, 0, 100);
  EXPECT_EQ(Glyph.first, 0);
  EXPECT_LE(Glyph.second, 12);
  C->SetAlignment(taRightJustify);
  Glyph = InkColumns(C, 0, 100);
  EXPECT_GE(Glyph.first, 100 - 13);
  EXPECT_EQ(Glyph.second, 99);
  // The caption: from 2 when right-justified, after glyph and spacing otherwise.
  C->SetCaption("HH");
  EXPECT_EQ(InkColumns(C, 0, 60).first, 2 + 1);  // "H" has a one-pixel bearing
  C->SetAlignment(taLeftJustify);
  EXPECT_EQ(InkColumns(C, 14, 60).first, 13 + 5 + 1);
}

TEST_F(KsCheckBoxTest, ADisabledCaptionIsEmbossed) {
  auto* C = Add<TKsCustomCheckBox>("chkOff", 10, "HHHH");
  C->SetTransparent(false);
  C->SetColor(ProbeColor);
  C->SetEnabled(false);
  C->Invalidate();
  C->UpdateBuffer();
  bool Highlight = false, Shadow = false;
  for (int Y = 0; Y < C->Height(); ++Y)
    for (int X = 18; X < 60; ++X) {
      const TKsColor P = Rgb(C->Buffer()->GetPixel(X, Y));
      Highlight |= P == Rgb(ColorToKsColor(clBtnHighlight, 255));
      Shadow |= P == Rgb(ColorToKsColor(clBtnShadow, 255));
    }
  EXPECT_TRUE(Highlight);
  EXPECT_TRUE(Shadow);
}

// ---------------------------------------------------------------------------------
// Radio button

TEST_F(KsCheckBoxTest, ARadioButtonClearsOnlyItsParentsButtonsOfItsGroupIndex) {
  auto* Panel = NewObject<TPanel>(Form);
  Panel->SetParent(Form);
  Panel->SetBounds(200, 0, 200, 150);
  auto* A = Add<TKsCustomRadioButton>("rbA", 10, "A");
  auto* B = Add<TKsCustomRadioButton>("rbB", 40, "B");
  auto* Other = Add<TKsCustomRadioButton>("rbOther", 70, "Other");
  auto* Away = Add<TKsCustomRadioButton>("rbAway", 10, "Away", Panel);
  Other->SetGroupIndex(1);
  B->SetChecked(true);
  Other->SetChecked(true);
  Away->SetChecked(true);
  Clicks.clear();
  A->SetChecked(true);
  EXPECT_TRUE(A->Checked());
  EXPECT_FALSE(B->Checked());
  EXPECT_TRUE(Other->Checked());
  EXPECT_TRUE(Away->Checked());
  EXPECT_EQ(Clicks, (std::vector<std::string>{"rbA"}));
  // Clicked again it stays checked and raises nothing.
  Click(A, 10, 10);
  Space(A);
  EXPECT_TRUE(A->Checked());
  EXPECT_EQ(Clicks.size(), 1u);
  // The mouse and the accelerator check an unchecked one.
  Click(B, 10, 10);
  EXPECT_TRUE(B->Checked());
  EXPECT_FALSE(A->Checked());
  A->SetCaption("&A");
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'a', 0), 1);
  EXPECT_TRUE(A->Checked());
}

TEST_F(KsCheckBoxTest, OnlyTheCheckedRadioButtonIsATabStopAndNoneWithoutItemTabStop) {
  auto* A = Add<TKsCustomRadioButton>("rbA", 10, "A");
  auto* B = Add<TKsCustomRadioButton>("rbB", 40, "B");
  EXPECT_FALSE(A->TabStop());
  A->SetChecked(true);
  EXPECT_TRUE(A->TabStop());
  B->SetChecked(true);
  EXPECT_FALSE(A->TabStop());
  EXPECT_TRUE(B->TabStop());
  A->SetItemTabStop(false);
  A->SetChecked(true);
  EXPECT_FALSE(A->TabStop());
  EXPECT_FALSE(B->TabStop());
}

TEST_F(KsCheckBoxTest, ItemTabStopSetInCodeTakesOrGivesTheCheckedButtonsTabStopAtOnce) {
  auto* Checked = Add<TKsCustomRadioButton>("rbChecked", 10, "Checked");
  auto* Other = Add<TKsCustomRadioButton>("rbOther", 40, "Other");
  auto* Next = Add<TKsCustomCheckBox>("chkNext", 70, "Next");
  Checked->SetChecked(true);
  ASSERT_TRUE(Checked->TabStop());
  auto WindowTabStop = [](TWinControl* C) { return (GetWindowLongA(C->Handle(), GWL_STYLE) & WS_TABSTOP) != 0; };

  Checked->SetItemTabStop(false);
  EXPECT_FALSE(Checked->TabStop());
  EXPECT_FALSE(WindowTabStop(Checked));
  // Tab from the check box passes the button by.
  Next->SetFocus();
  Pump();
  Form->SelectNext(Next, true, true);
  Pump();
  EXPECT_FALSE(Checked->Focused());

  Checked->SetItemTabStop(true);
  EXPECT_TRUE(Checked->TabStop());
  EXPECT_TRUE(WindowTabStop(Checked));
  Form->SelectNext(Next, true, true);
  Pump();
  EXPECT_TRUE(Checked->Focused());
  // An unchecked button stays no tab stop either way.
  Other->SetItemTabStop(false);
  Other->SetItemTabStop(true);
  EXPECT_FALSE(Other->TabStop());
}

TEST_F(KsCheckBoxTest, AFormFileCarriesStateCheckedAndGroupIndex) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(),
                    "form frmChecks: TForm\n"
                    "  component chkRead: TKsCustomCheckBox\n"
                    "    Caption = \"Read\"\n"
                    "    State = cbGrayed\n"
                    "  end\n"
                    "  component rbRead: TKsCustomRadioButton\n"
                    "    Checked = True\n"
                    "    GroupIndex = 3\n"
                    "  end\n"
                    "end\n",
                    "checks");
  auto* C = ObjectAs<TKsCustomCheckBox>(Root->FindComponent("chkRead"));
  auto* R = ObjectAs<TKsCustomRadioButton>(Root->FindComponent("rbRead"));
  ASSERT_NE(C, nullptr);
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(C->State(), cbGrayed);
  EXPECT_TRUE(R->Checked());
  EXPECT_EQ(R->GroupIndex(), 3);
  const AnsiString Text = WriteComponentText(Root.get());
  EXPECT_NE(Text.find("Spacing = 5"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Alignment = taLeftJustify"), AnsiString::npos) << Text;
}

TEST_F(KsCheckBoxTest, ARadioButtonReadFromAFormFileIsATabStopOnlyAsItemTabStopAllows) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  auto* Off = NewObject<TKsCustomRadioButton>(Root.get());
  Off->SetName("rbOff");
  Off->SetParent(Root.get());
  Off->SetItemTabStop(false);
  Off->SetChecked(true);
  ASSERT_FALSE(Off->TabStop());

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), WriteComponentText(Root.get()), "copy");
  auto* Again = ObjectAs<TKsCustomRadioButton>(Copy->FindComponent("rbOff"));
  ASSERT_NE(Again, nullptr);
  EXPECT_TRUE(Again->Checked());
  EXPECT_FALSE(Again->ItemTabStop());
  EXPECT_FALSE(Again->TabStop());

  // Checked read before ItemTabStop, with no TabStop line at all.
  TOwned<TForm> Written(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Written.get(),
                    "form frmRadios: TForm\n"
                    "  component rbRead: TKsCustomRadioButton\n"
                    "    Checked = True\n"
                    "    ItemTabStop = False\n"
                    "  end\n"
                    "end\n",
                    "radios");
  auto* Read = ObjectAs<TKsCustomRadioButton>(Written->FindComponent("rbRead"));
  ASSERT_NE(Read, nullptr);
  EXPECT_TRUE(Read->Checked());
  EXPECT_FALSE(Read->TabStop());
}

TEST_F(KsCheckBoxTest, CheckedRadioButtonsOfDifferentGroupsAllComeBackFromAFormFile) {
  // Each button's Checked is read before its GroupIndex.
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  for (int Group = 0; Group < 3; ++Group) {
    auto* Button = NewObject<TKsCustomRadioButton>(Root.get());
    Button->SetName("rbGroup" + std::to_string(Group));
    Button->SetParent(Root.get());
    Button->SetGroupIndex(static_cast<Byte>(Group));
    Button->SetChecked(true);
  }
  auto* Unchecked = NewObject<TKsCustomRadioButton>(Root.get());
  Unchecked->SetName("rbPlain");
  Unchecked->SetParent(Root.get());
  Unchecked->SetGroupIndex(1);

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), WriteComponentText(Root.get()), "copy");
  for (const char* Name : {"rbGroup0", "rbGroup1", "rbGroup2", "rbPlain"}) {
    auto* Button = ObjectAs<TKsCustomRadioButton>(Copy->FindComponent(Name));
    ASSERT_NE(Button, nullptr) << Name;
    EXPECT_EQ(Button->Checked(), Name != AnsiString("rbPlain")) << Name;
  }
  // Once read, checking one still clears its own group only.
  auto* Plain = ObjectAs<TKsCustomRadioButton>(Copy->FindComponent("rbPlain"));
  Plain->SetChecked(true);
  EXPECT_FALSE(ObjectAs<TKsCustomRadioButton>(Copy->FindComponent("rbGroup1"))->Checked());
  EXPECT_TRUE(ObjectAs<TKsCustomRadioButton>(Copy->FindComponent("rbGroup0"))->Checked());
}

// The library writes what code set, however large the font: a blended check box whose
// caption is drawn in a font tens of thousands of pixels high reads back (it paints
// while it is read), shows and paints, its glyph as with an ordinary font.
TEST_F(KsCheckBoxTest, ABlendedCheckBoxInAHugeFontReadsBackAndPaints) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  Root->SetBorderStyle(bsNone);
  Root->SetBounds(40, 40, 400, 120);
  auto AddChecks = [&](const char* Name, int Top, int FontHeight) {
    auto* C = NewObject<TKsCustomCheckBox>(Root.get());
    C->SetName(Name);
    C->SetParent(Root.get());
    C->SetBounds(0, Top, 312, 20);
    C->Font()->SetHeight(FontHeight);
    C->SetParentFont(false);
    C->SetBlend(true);
    C->SetCaption("Component1");
  };
  AddChecks("chkHuge", 10, 82404);
  AddChecks("chkPlain", 50, -11);
  const AnsiString Text = WriteComponentText(Root.get());
  ASSERT_NE(Text.find("Font.Height = 82404"), AnsiString::npos) << Text;

  auto* Copy = Keep(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy, Text, "copy");
  auto* Huge = ObjectAs<TKsCustomCheckBox>(Copy->FindComponent("chkHuge"));
  auto* Plain = ObjectAs<TKsCustomCheckBox>(Copy->FindComponent("chkPlain"));
  ASSERT_TRUE(Huge && Plain);
  EXPECT_EQ(Huge->Font()->Height(), 82404);
  Copy->Show();
  Pump();
  for (TKsCustomCheckBox* C : {Huge, Plain}) {
    PaintNow(C);
    EXPECT_FALSE(C->NeedsRepaint()) << C->Name() << " painted in full";
  }
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
  const TRect Glyph{0, (20 - 13) / 2, 13, (20 - 13) / 2 + 13};  // 13 x 13, centred
  for (int Y = Glyph.top; Y < Glyph.bottom; ++Y)
    for (int X = Glyph.left; X < Glyph.right; ++X)
      ASSERT_EQ(Huge->Buffer()->GetPixel(X, Y), Plain->Buffer()->GetPixel(X, Y)) << X << "," << Y;
  EXPECT_NE(WriteComponentText(Copy).find("Font.Height = 82404"), AnsiString::npos);
}

}  // namespace
