// The themed push button: the kit button's look while the engine's painter cannot
// draw, the painter's face (with the button's draw state) while it can.
#include <gtest/gtest.h>

#include <vector>

#include "BitmapTestSupport.h"
#include "ThemeTestPainter.h"
#include "classlib/Forms.h"
#include "skin/KsThemeButtons.h"

using namespace themetest;

namespace {

// A shown form with one button of class B at (10, 10), 75 x 25, captioned "Next >",
// not focused.
template <class B>
struct TButtonForm {
  TButtonForm() {
    Form.reset(NewObject<TForm>(nullptr, CreateNew));
    Form->SetBounds(100, 100, 200, 120);
    Button = NewObject<B>(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(10, 10, 75, 25);
    Button->SetCaption("Next >");
    // Without a tab stop the button does not take the focus when its form shows, so
    // both forms' buttons start alike.
    Button->SetTabStop(false);
    Form->Show();
    Application->ProcessMessages();
  }

  // The button painted afresh: its pixels inside the control.
  std::vector<TKsColor> Paint() {
    Button->Invalidate();
    Button->UpdateBuffer();
    std::vector<TKsColor> Pixels;
    for (int Y = 0; Y < Button->Height(); ++Y)
      for (int X = 0; X < Button->Width(); ++X)
        Pixels.push_back(Button->Buffer()->GetPixel(X, Y));
    return Pixels;
  }

  TOwned<TForm> Form;
  B* Button = nullptr;
};

class ThemeButton : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine.reset(NewObject<TTeThemeEngine>(nullptr));
    Themed.Button->SetThemeEngine(Engine.get());
  }

  TRecordingPainter* UseRecorder(bool Available) {
    TRecordingPainter::Available = Available;
    auto* Painter = NewObject<TRecordingPainter>();
    Engine->SetTheme(Painter);
    return Painter;
  }

  // Both buttons in the same state, then the themed one's pixels against the kit's.
  template <class F>
  void ExpectSameLook(F SetState) {
    SetState(Plain.Button);
    SetState(Themed.Button);
    EXPECT_EQ(Themed.Paint(), Plain.Paint());
  }

  TThemeRegistryScope Scope;
  TOwned<TTeThemeEngine> Engine;
  TButtonForm<TKsCustomButton> Plain;
  TButtonForm<TTeThemeButton> Themed;
};

void NoChange(TKsCustomButton*) {}
void MakeDefault(TKsCustomButton* B) { B->SetDefault(true); }
void Disable(TKsCustomButton* B) { B->SetEnabled(false); }
void Hover(TKsCustomButton* B) { B->Perform(CM_MOUSEENTER, 0, 0); }

}  // namespace

TEST_F(ThemeButton, UnavailablePainterLooksExactlyLikeTheKitButton) {
  Engine->SetTheme(NewObject<TTeTheme>());  // the base painter
  ASSERT_FALSE(Engine->ThemeAvailable());
  ExpectSameLook(NoChange);
  ExpectSameLook(MakeDefault);
  ExpectSameLook(Hover);
  ExpectSameLook(Disable);

  TRecordingPainter* Painter = UseRecorder(false);
  ExpectSameLook(NoChange);
  EXPECT_TRUE(Painter->ButtonCalls.empty());

  Themed.Button->SetThemeEngine(nullptr);
  ExpectSameLook(NoChange);
}

TEST_F(ThemeButton, AvailablePainterDrawsTheFaceUnderTheCaption) {
  TRecordingPainter* Painter = UseRecorder(true);
  const std::vector<TKsColor> Pixels = Themed.Paint();
  ASSERT_FALSE(Painter->ButtonCalls.empty());
  const TButtonCall Call = Painter->ButtonCalls.back();
  EXPECT_EQ(Call.Width, 75);
  EXPECT_EQ(Call.Height, 25);
  EXPECT_EQ(Call.State, tdsNormal);
  EXPECT_EQ(Themed.Button->Buffer()->GetPixel(0, 0), RecorderButtonColor);
  EXPECT_EQ(Themed.Button->Buffer()->GetPixel(74, 24), RecorderButtonColor);
  // The caption is still the button's, drawn over the painter's face.
  const TRect Text = Themed.Button->GetTextRect();
  int Ink = 0;
  for (int Y = Text.top; Y < Text.bottom; ++Y)
    for (int X = Text.left; X < Text.right; ++X)
      if (Themed.Button->Buffer()->GetPixel(X, Y) != RecorderButtonColor) ++Ink;
  EXPECT_GT(Ink, 0);
  EXPECT_NE(Pixels, Plain.Paint());
}

// Disabled outranks pressed, pressed outranks hot, hot outranks focused, focused
// outranks default.
TEST_F(ThemeButton, PainterReceivesTheStrongestDrawState) {
  TRecordingPainter* Painter = UseRecorder(true);
  TTeThemeButton* B = Themed.Button;
  auto StateDrawn = [&] {
    Themed.Paint();
    return Painter->ButtonCalls.empty() ? -1 : Painter->ButtonCalls.back().State;
  };
  B->SetDefault(true);
  ASSERT_TRUE(B->DefaultActive());
  EXPECT_EQ(StateDrawn(), tdsDefault);
  B->Perform(WM_SETFOCUS, 0, 0);
  EXPECT_EQ(StateDrawn(), tdsFocused);
  B->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(StateDrawn(), tdsHot);
  B->Perform(WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_EQ(B->Down(), 1);
  EXPECT_EQ(StateDrawn(), tdsPressed);
  B->SetEnabled(false);
  EXPECT_EQ(StateDrawn(), tdsDisabled);

  B->SetEnabled(true);
  B->Perform(WM_KEYUP, VK_SPACE, 0);
  B->Perform(CM_MOUSELEAVE, 0, 0);
  B->Perform(WM_KILLFOCUS, 0, 0);
  B->SetDefault(false);
  EXPECT_EQ(StateDrawn(), tdsNormal);
}

TEST_F(ThemeButton, NotThemedWhileLoadingAndFreeingTheEngineReturnsToTheKitLook) {
  UseRecorder(true);
  EXPECT_TRUE(Themed.Button->IsThemed());
  Themed.Button->SetComponentStateFlag(csLoading, true);
  EXPECT_FALSE(Themed.Button->IsThemed());
  Themed.Button->SetComponentStateFlag(csLoading, false);
  Engine.reset();
  EXPECT_EQ(Themed.Button->ThemeEngine(), nullptr);
  ExpectSameLook(NoChange);
}

TEST_F(ThemeButton, FormFileBindsTheEngineByName) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Form.get(),
                    "form Dialog: TForm\n"
                    "  component btnNext: TTeThemeButton\n"
                    "    Caption = \"Next >\"\n"
                    "    ThemeEngine = TeThemeEngine1\n"
                    "    Version = \"0.1\"\n"
                    "  end\n"
                    "  component TeThemeEngine1: TTeThemeEngine\n"
                    "    ThemeClass = hex 05000000 4F74686572\n"
                    "  end\n"
                    "end\n",
                    "dialog");
  auto* Button = ObjectAs<TTeThemeButton>(Form->FindComponent("btnNext"));
  ASSERT_NE(Button, nullptr);
  ASSERT_NE(Button->ThemeEngine(), nullptr);
  EXPECT_EQ(Button->ThemeEngine()->Name(), "TeThemeEngine1");
  EXPECT_TRUE(Button->IsThemed());
  EXPECT_EQ(Button->Version(), "2.7.9");
  const AnsiString Text = WriteComponentText(Form.get());
  EXPECT_NE(Text.find("ThemeEngine = TeThemeEngine1"), AnsiString::npos) << Text;
}
