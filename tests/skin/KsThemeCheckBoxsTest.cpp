// The themed check box and radio button: the painter's glyph size and slots while it
// can draw, the kit control's look while it cannot, and an engine owned elsewhere
// freed under them.
#include <gtest/gtest.h>

#include <vector>

#include "ThemeTestPainter.h"
#include "skin/KsThemeCheckBoxs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;
using namespace themetest;

namespace {

class ThemeCheckBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(300, 200);
    Engine = NewObject<TTeThemeEngine>(nullptr);  // owned by no one: the test frees it
    Check = Place(NewObject<TTeThemeCheckBox>(Form), 10);
    Radio = Place(NewObject<TTeThemeRadioButton>(Form), 40);
    Plain = Place(NewObject<TKsCustomCheckBox>(Form), 70);
    Check->SetThemeEngine(Engine);
    Radio->SetThemeEngine(Engine);
  }
  void TearDown() override {
    FreeObject(Engine);
    UiTest::TearDown();
  }
  template <class T>
  T* Place(T* C, int Top) {
    C->SetParent(Form);
    C->SetBounds(10, Top, 120, 24);
    C->SetCaption("Box");
    C->SetTransparent(false);
    return C;
  }
  TRecordingPainter* UseRecorder(bool Available) {
    TRecordingPainter::Available = Available;
    auto* Painter = NewObject<TRecordingPainter>();
    Engine->SetTheme(Painter);
    TRecordingPainter::Log.clear();
    return Painter;
  }
  static std::vector<TKsColor> Paint(TKsCustomControl* C) {
    C->Invalidate();
    C->UpdateBuffer();
    std::vector<TKsColor> Pixels;
    for (int Y = 0; Y < C->Height(); ++Y)
      for (int X = 0; X < C->Width(); ++X) Pixels.push_back(C->Buffer()->GetPixel(X, Y));
    return Pixels;
  }
  static int Count(TTeThemeSlot Slot) {
    int N = 0;
    for (TTeThemeSlot S : TRecordingPainter::Log) N += S == Slot;
    return N;
  }

  TThemeRegistryScope Scope;
  TForm* Form = nullptr;
  TTeThemeEngine* Engine = nullptr;
  TTeThemeCheckBox* Check = nullptr;
  TTeThemeRadioButton* Radio = nullptr;
  TKsCustomCheckBox* Plain = nullptr;
};

TEST_F(ThemeCheckBoxTest, AnAvailablePainterGivesGlyphSizeAndDrawsTheGlyph) {
  UseRecorder(true);
  EXPECT_EQ(Check->GetCheckSize().x, 116);
  EXPECT_EQ(Check->GetCheckSize().y, 117);
  EXPECT_EQ(Radio->GetCheckSize().x, 118);
  EXPECT_EQ(Radio->GetCheckSize().y, 119);
  Paint(Check);
  Paint(Radio);
  EXPECT_EQ(Count(TTeThemeSlot::DrawCheckBox), 1);
  EXPECT_EQ(Count(TTeThemeSlot::DrawRadioButton), 1);
}

TEST_F(ThemeCheckBoxTest, AnUnavailablePainterLooksExactlyLikeTheKitControl) {
  UseRecorder(false);
  Check->SetState(cbGrayed);
  Plain->SetState(cbGrayed);
  EXPECT_EQ(Check->GetCheckSize().x, 13);
  EXPECT_EQ(Paint(Check), Paint(Plain));
  EXPECT_EQ(Count(TTeThemeSlot::DrawCheckBox), 0);
}

TEST_F(ThemeCheckBoxTest, RepaintingAfterAnEngineOwnedElsewhereIsFreedIsSafe) {
  UseRecorder(true);
  Paint(Check);
  FreeAndNil(Engine);
  EXPECT_EQ(Check->ThemeEngine(), nullptr);
  EXPECT_EQ(Radio->ThemeEngine(), nullptr);
  TRecordingPainter::Log.clear();
  Plain->SetState(cbChecked);
  Check->SetState(cbChecked);
  EXPECT_EQ(Paint(Check), Paint(Plain));
  Paint(Radio);
  EXPECT_TRUE(TRecordingPainter::Log.empty());
}

}  // namespace
