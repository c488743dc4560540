// The themed window on real windows with a painter of Luna's sizes: the client area
// the system gives the form, the top border's resize band, the buttons the visual-
// styles painter leaves out, the caption text's room when minimized, and the fall
// back to the unthemed frame the moment the painter cannot draw, and the caption's
// weight as the dialogs' painter answers it.
#include <gtest/gtest.h>

#include "skin/KsForms.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "skin/KsThemeXP.h"
#include "skin/KsUtils.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

constexpr TColor LunaClient = static_cast<TColor>(RGB(236, 233, 216));
constexpr TColor LunaForm = static_cast<TColor>(RGB(10, 20, 30));

// The sizes of the Luna painter; draws nothing.
class TLunaSizes : public TTeTheme {
  TCLASS_DECL(TLunaSizes, TTeTheme)
 public:
  inline static bool Available = true;
  static void GetName(AnsiString& Name) { Name = "Luna Sizes"; }
  static bool IsAvailable() { return Available; }
  int GetSize(Byte Kind) override {
    static const int Sizes[] = {3, 2, 29, 19, 10, 21, 21, 14, 14, 4, 4, 3, 3, 3, 22};
    return Kind < std::size(Sizes) ? Sizes[Kind] : 0;
  }
  TColor GetColor(Byte Index) override {
    switch (Index) {
      case 2: return static_cast<TColor>(-1);
      case 6: return LunaForm;
      case 11: return LunaClient;
      default: return clBlack;
    }
  }
};

// The same sizes under the visual-styles painter's name.
class TNativeSizes : public TLunaSizes {
  TCLASS_DECL(TNativeSizes, TLunaSizes)
 public:
  static void GetName(AnsiString& Name) { Name = "XP ThemeAPI"; }
};

// The dialogs' visual-styles painter, answering a regular caption.
class TRegularCaptionXP : public TTeThemeXP {
  TCLASS_DECL(TRegularCaptionXP, TTeThemeXP)
 public:
  TFontStyles GetFontStyle(Byte Kind) override {
    return Kind == 0 ? TFontStyles{} : TTeThemeXP::GetFontStyle(Kind);
  }
};

TCLASS_IMPL(TLunaSizes)
TCLASS_IMPL(TNativeSizes)
TCLASS_IMPL(TRegularCaptionXP)

class KsThemeFormTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TLunaSizes::Available = true;
    Form = Keep(NewObject<TForm>(nullptr, CreateNew));
    Form->SetCaption("Themed");
    Form->SetBounds(80, 80, 420, 300);
    Engine = NewObject<TTeThemeEngine>(Form);
    Engine->SetTheme(NewObject<TLunaSizes>());
    Frame = NewObject<TTeThemeForm>(Form);
    Frame->SetMinimizeApplication(false);
    Frame->SetThemeEngine(Engine);
    Form->Show();
    Pump();
    Frame->UpdateFrame();
    Pump();
  }
  void TearDown() override {
    TLunaSizes::Available = true;
    UiTest::TearDown();
  }

  TForm* Form = nullptr;
  TTeThemeEngine* Engine = nullptr;
  TTeThemeForm* Frame = nullptr;
};

TEST_F(KsThemeFormTest, LunasSizesGiveTheClientAreaAndTheTopResizeBand) {
  ASSERT_TRUE(Frame->IsThemed());
  TRect C;
  Frame->GetClientArea(C);
  EXPECT_TRUE(SameRect(C, TRect{3, 29, Frame->FrameWidth() - 3, Frame->FrameHeight() - 3}));
  RECT W, Client;
  GetWindowRect(Form->Handle(), &W);
  GetClientRect(Form->Handle(), &Client);
  POINT Origin{0, 0};
  ClientToScreen(Form->Handle(), &Origin);
  EXPECT_EQ(Origin.x - W.left, 3);
  EXPECT_EQ(Origin.y - W.top, 29);
  EXPECT_EQ(Client.right, Frame->FrameWidth() - 6);
  EXPECT_EQ(Client.bottom, Frame->FrameHeight() - 32);

  const int Centre = Frame->FrameWidth() / 2;
  EXPECT_EQ(Frame->HitTest(Centre, 2), khtTop);
  EXPECT_EQ(Frame->HitTest(Centre, 4), khtCaption);
  EXPECT_EQ(Frame->HitTest(1, 1), khtTopLeft) << "the corners still resize";
}

TEST_F(KsThemeFormTest, ButtonsFollowThePaintersSizesAndName) {
  const int FW = Frame->FrameWidth();
  TRect Close, Max, Min, Roll, Tray;
  Frame->GetButtonRect(kbiClose, Close);
  EXPECT_TRUE(SameRect(Close, TRect{FW - 4 - 21, 4, FW - 4, 25}));
  Frame->GetButtonRect(kbiMaximize, Max);
  EXPECT_EQ(Max.right, Close.left - 3);
  Frame->GetButtonRect(kbiRollup, Roll);
  EXPECT_FALSE(IsEmptyRect(Roll));
  TRect Text;
  Frame->GetCaptionTextRect(Text);
  const int Room = Text.right;

  Engine->SetTheme(NewObject<TNativeSizes>());
  Pump();
  Frame->GetButtonRect(kbiRollup, Roll);
  Frame->GetButtonRect(kbiTray, Tray);
  Frame->GetButtonRect(kbiMinimize, Min);
  EXPECT_TRUE(IsEmptyRect(Roll));
  EXPECT_TRUE(IsEmptyRect(Tray));
  EXPECT_FALSE(IsEmptyRect(Min));
  Frame->GetCaptionTextRect(Text);
  EXPECT_EQ(Text.right, Room + 2 * (21 + 4)) << "the caption text takes their places";
}

TEST_F(KsThemeFormTest, AMinimizedWindowReservesTwoButtonWidths) {
  Frame->Minimize();
  ASSERT_EQ(Frame->WindowState(), kwsMinimized);
  TRect Text;
  Frame->GetCaptionTextRect(Text);
  EXPECT_EQ(Text.right, Frame->FrameWidth() - 4 - 2 * 21);
  TRect Max;
  Frame->GetButtonRect(kbiMaximize, Max);
  EXPECT_TRUE(IsEmptyRect(Max));
}

TEST_F(KsThemeFormTest, AnUnavailablePainterGivesTheUnthemedFrameAtOnce) {
  Engine->RefreshThemeForms();
  EXPECT_EQ(Form->Color(), LunaForm);
  TLunaSizes::Available = false;
  Engine->SetTheme(NewObject<TLunaSizes>());
  EXPECT_FALSE(Frame->IsThemed());
  EXPECT_EQ(Form->Color(), clBtnFace);
  TRect C;
  Frame->GetClientArea(C);
  const int B = Frame->FrameBorderWidth();
  EXPECT_TRUE(SameRect(C, TRect{B, B + Frame->CaptionHeight(), Frame->FrameWidth() - B, Frame->FrameHeight() - B}));
  POINT Origin{0, 0};
  RECT W;
  ClientToScreen(Form->Handle(), &Origin);
  GetWindowRect(Form->Handle(), &W);
  EXPECT_EQ(Origin.y - W.top, B + Frame->CaptionHeight()) << "the system laid the frame out again";
}

TEST_F(KsThemeFormTest, RemovingTheEngineUnthemesTheWindow) {
  Engine->Free();
  EXPECT_EQ(Frame->ThemeEngine(), nullptr);
  EXPECT_FALSE(Frame->IsThemed());
  POINT Origin{0, 0};
  RECT W;
  ClientToScreen(Form->Handle(), &Origin);
  GetWindowRect(Form->Handle(), &W);
  EXPECT_EQ(Origin.y - W.top, Frame->FrameBorderWidth() + Frame->CaptionHeight());
}

TEST_F(KsThemeFormTest, TheFormsBorderRingLiesInsideTheFrameInThePaintersClientColour) {
  Form->SetColor(static_cast<TColor>(RGB(0, 128, 0)));
  Form->SetBorderWidth(5);
  Pump();
  // The ring's colour at its middle, after the frame has been painted again.
  auto Ring = [&] {
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    TRect C;
    Frame->GetClientArea(C);
    POINT Origin{0, 0};
    RECT W;
    ClientToScreen(Form->Handle(), &Origin);
    GetWindowRect(Form->Handle(), &W);
    EXPECT_EQ(Origin.x - W.left, C.left + 5) << "the client area lies inside the ring";
    EXPECT_EQ(Origin.y - W.top, C.top + 5);
    return WindowPixel(Form->Handle(), C.left + 2, (C.top + C.bottom) / 2);
  };
  EXPECT_EQ(Ring(), static_cast<COLORREF>(LunaClient));
  // With a painter that cannot draw the frame is unthemed, the ring still the painter's.
  TLunaSizes::Available = false;
  Engine->SetTheme(NewObject<TLunaSizes>());
  Pump();
  EXPECT_EQ(Ring(), static_cast<COLORREF>(LunaClient));
  // Without an engine: the form's colour.
  Frame->SetThemeEngine(nullptr);
  Form->SetColor(static_cast<TColor>(RGB(0, 128, 0)));
  Pump();
  EXPECT_EQ(Ring(), static_cast<COLORREF>(RGB(0, 128, 0)));
}

TEST_F(KsThemeFormTest, TheCaptionShowsTheBoldWeightThePainterAnswers) {
  // The caption's ink: the pixels of its text rectangle that the text changes.
  auto CaptionInk = [&](TTeTheme* Painter) {
    Engine->SetTheme(Painter);
    Pump();
    EXPECT_TRUE(Frame->IsThemed());
    TRect R;
    Frame->GetCaptionTextRect(R);
    auto Paint = [&](const AnsiString& Caption) {
      Form->SetCaption(Caption);
      Pump();
      TOwned<TKsBitmap> B(NewObject<TKsBitmap>());
      B->SetSize(Frame->FrameWidth(), Frame->FrameHeight());
      Frame->PaintFrame(B.get());
      std::vector<TKsColor> Pixels;
      for (int Y = R.top; Y < R.bottom; ++Y)
        for (int X = R.left; X < R.right; ++X) Pixels.push_back(B->GetPixel(X, Y));
      return Pixels;
    };
    const std::vector<TKsColor> Without = Paint(""), With = Paint("PCB Board Wizard");
    int Ink = 0;
    for (std::size_t I = 0; I < With.size(); ++I) Ink += With[I] != Without[I];
    return Ink;
  };
  const int Regular = CaptionInk(NewObject<TRegularCaptionXP>());
  const int Bold = CaptionInk(NewObject<TTeThemeXP>());
  ASSERT_GT(Regular, 100);
  EXPECT_GT(Bold, Regular * 5 / 4) << "bold " << Bold << ", regular " << Regular;
}

}  // namespace
