// The kit's push button on real windows: kinds and their glyph resources, the default
// and cancel keys and the default frame, mouse tracking, Space and accelerators, the
// painted face, caption and glyph, and the button in a form file.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "skin/KsButtons.h"
#include "skin/KsUtils.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

TKsColor Opaque(TColor C) { return ColorToKsColor(C, 255); }

class KsButtonTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(420, 200);
  }
  TKsCustomButton* AddButton(const char* Name, int Left, const char* Caption = "Button") {
    auto* B = NewObject<TKsCustomButton>(Form);
    B->SetName(Name);
    B->SetParent(Form);
    B->SetLeft(Left);
    B->SetTop(40);
    B->SetCaption(Caption);
    B->OnClick = Recorder.Event();
    return B;
  }
  static void Mouse(TWinControl* Control, UINT Msg, int X, int Y) {
    SendMessageA(Control->Handle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(X, Y));
  }
  // The buffer's pixel at (X, Y) of the 16 x 16 glyph centred in its place.
  static TKsColor GlyphPixel(TKsCustomButton* B, int X, int Y) {
    const TRect Place = B->GetGlyphRect();
    return B->Buffer()->GetPixel(Place.left + (RectWidth(Place) - 16) / 2 + X,
                                 Place.top + (RectHeight(Place) - 16) / 2 + Y);
  }
  // The RGB values found in a rectangle of the button's buffer.
  static std::set<TKsColor> ColoursIn(TKsCustomButton* B, const TRect& R) {
    std::set<TKsColor> Result;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) Result.insert(Rgb(B->Buffer()->GetPixel(X, Y)));
    return Result;
  }

  TForm* Form = nullptr;
  std::vector<std::string> Clicks;
  TNotifyHandler Recorder{[this](TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->Name()); }};
};

// ---------------------------------------------------------------------------------
// Kinds and glyphs

TEST_F(KsButtonTest, AKindGivesCaptionModalResultDefaultAndTwoGlyphs) {
  auto* B = AddButton("btnNext", 10, "Next >");
  B->SetKind(bkYes);
  EXPECT_EQ(B->Caption(), "&Yes");
  EXPECT_EQ(B->ModalResult(), mrYes);
  EXPECT_TRUE(B->Default());
  EXPECT_EQ(B->NumGlyphs(), 2);
  EXPECT_EQ(B->Glyph()->Width(), 32);
  EXPECT_EQ(B->Glyph()->Height(), 16);

  B->SetKind(bkCustom);  // changes nothing else
  EXPECT_EQ(B->Caption(), "&Yes");
  EXPECT_EQ(B->ModalResult(), mrYes);
  B->SetKind(bkCancel);
  EXPECT_EQ(B->Caption(), "Cancel");
  EXPECT_EQ(B->ModalResult(), mrCancel);
  EXPECT_FALSE(B->Default());
}

TEST_F(KsButtonTest, WhileLoadingAKindKeepsACaptionGlyphAndDefaultThatWereRead) {
  auto* Named = AddButton("btnOwn", 10, "Weiter");
  auto* Empty = AddButton("btnEmpty", 100, "");
  for (auto* B : {Named, Empty}) B->SetComponentStateFlag(csLoading, true);
  Named->SetKind(bkOK);
  Empty->SetKind(bkNo);
  for (auto* B : {Named, Empty}) B->SetComponentStateFlag(csLoading, false);
  EXPECT_EQ(Named->Caption(), "Weiter");
  EXPECT_EQ(Named->ModalResult(), mrOk);
  EXPECT_EQ(Empty->Caption(), "&No");

  // Nor a glyph or a default written before it: a form file reads them back. A kind's
  // default and result turned off are written too, and stand when read back.
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  const auto AddKind = [&](const char* Name, TBitBtnKind Kind) {
    auto* B = NewObject<TKsCustomButton>(Root.get());
    B->SetName(Name);
    B->SetParent(Root.get());
    B->SetKind(Kind);
    return B;
  };
  TOwned<TBitmap> Glyph(NewObject<TBitmap>());
  Glyph->SetSize(16, 16);
  AddKind("btnGlyphed", bkOK)->SetGlyph(Glyph.get());
  AddKind("btnStop", bkCancel)->SetDefault(true);
  auto* Plain = AddKind("btnPlain", bkYes);
  Plain->SetDefault(false);
  Plain->SetModalResult(mrNone);
  const AnsiString Text = WriteComponentText(Root.get());
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* GlyphedCopy = ObjectAs<TKsCustomButton>(Copy->FindComponent("btnGlyphed"));
  auto* StopCopy = ObjectAs<TKsCustomButton>(Copy->FindComponent("btnStop"));
  auto* PlainCopy = ObjectAs<TKsCustomButton>(Copy->FindComponent("btnPlain"));
  ASSERT_TRUE(GlyphedCopy && StopCopy && PlainCopy);
  EXPECT_EQ(GlyphedCopy->Glyph()->Width(), 16) << Text;
  EXPECT_EQ(GlyphedCopy->NumGlyphs(), 1) << Text;
  EXPECT_EQ(GlyphedCopy->ModalResult(), mrOk);
  EXPECT_TRUE(StopCopy->Default()) << Text;
  EXPECT_EQ(StopCopy->ModalResult(), mrCancel);
  EXPECT_EQ(PlainCopy->Kind(), bkYes);
  EXPECT_FALSE(PlainCopy->Default()) << Text;
  EXPECT_EQ(PlainCopy->ModalResult(), mrNone) << Text;
}

TEST_F(KsButtonTest, TheGlyphsWidthInHeightsDecidesNumGlyphs) {
  auto* B = AddButton("btnGlyph", 10);
  TOwned<TBitmap> Glyph(NewObject<TBitmap>());
  Glyph->SetSize(48, 16);
  B->SetGlyph(Glyph.get());
  EXPECT_EQ(B->NumGlyphs(), 3);
  B->SetNumGlyphs(2);
  Glyph->SetSize(100, 16);
  B->SetGlyph(Glyph.get());
  EXPECT_EQ(B->NumGlyphs(), 2);
  Glyph->SetSize(80, 16);
  B->SetGlyph(Glyph.get());
  EXPECT_EQ(B->NumGlyphs(), 1);
}

TEST_F(KsButtonTest, TheActionsImageBecomesTheGlyphOverTheOneItHad) {
  auto* Images = NewObject<TImageList>(nullptr);
  TOwned<TBitmap> Red(NewObject<TBitmap>());
  Red->SetSize(16, 16);
  // A red square on the glyphs' transparent fuchsia.
  Red->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(255, 0, 255)));
  Red->Canvas()->FillRect(TRect{0, 0, 16, 16});
  Red->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(255, 0, 0)));
  Red->Canvas()->FillRect(TRect{4, 4, 12, 12});
  Images->Add(Red.get(), nullptr);
  auto* List = NewObject<TActionList>(nullptr);
  List->SetImages(Images);
  auto* Act = NewObject<TAction>(nullptr);
  // Freed after the form's buttons: the action, its list, then the images.
  Keep(Act);
  Keep(List);
  Keep(Images);
  Act->SetActionList(List);
  Act->SetCaption("Run");
  Act->SetImageIndex(0);

  auto* B = AddButton("btnAction", 10);
  B->SetKind(bkOK);  // a glyph of two images
  ASSERT_EQ(B->NumGlyphs(), 2);
  B->SetAction(Act);
  EXPECT_EQ(B->Caption(), "Run");
  EXPECT_EQ(B->Glyph()->Width(), 16);
  EXPECT_EQ(B->Glyph()->Height(), 16);
  EXPECT_EQ(B->NumGlyphs(), 1);
  B->UpdateBuffer();
  EXPECT_EQ(Rgb(GlyphPixel(B, 8, 8)), Rgb(Opaque(static_cast<TColor>(RGB(255, 0, 0)))));

  // An index past the list's images leaves the glyph as it is.
  auto* Other = AddButton("btnOther", 100);
  Other->SetKind(bkCancel);
  Act->SetImageIndex(3);
  Other->SetAction(Act);
  EXPECT_EQ(Other->Glyph()->Width(), 32);
  B->SetAction(nullptr);
  Other->SetAction(nullptr);
}

TEST(KsButtonKindsTest, EveryKindHasItsOwnFourBitGlyphsNormalAndDisabled) {
  EXPECT_EQ(KsButtonKindGlyph(bkCustom), nullptr);
  for (int K = bkOK; K <= bkAll; ++K) {
    const auto Kind = static_cast<TBitBtnKind>(K);
    SCOPED_TRACE(KsButtonKindResource(Kind));
    TBitmap* Glyph = KsButtonKindGlyph(Kind);
    ASSERT_NE(Glyph, nullptr);
    EXPECT_EQ(KsButtonKindGlyph(Kind), Glyph);  // kept
    ASSERT_EQ(Glyph->Width(), 32);
    ASSERT_EQ(Glyph->Height(), 16);
    EXPECT_EQ(Glyph->BitCount(), 4);
    TCanvas* C = Glyph->Canvas();
    const TColor Key = C->Pixels(0, 15);
    int Normal = 0, Disabled = 0, Differ = 0;
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) {
        Normal += C->Pixels(X, Y) != Key;
        Disabled += C->Pixels(16 + X, Y) != Key;
        Differ += C->Pixels(X, Y) != C->Pixels(16 + X, Y);
      }
    EXPECT_GT(Normal, 10);
    EXPECT_GE(Disabled, Normal);
    EXPECT_GT(Differ, 0);
  }
  EXPECT_EQ(KsButtonKindCaption(bkAll), "&All");
  EXPECT_EQ(KsButtonKindModalResult(bkAll), mrAll);
  EXPECT_EQ(KsButtonKindModalResult(bkClose), mrNone);
}

// ---------------------------------------------------------------------------------
// Keys

TEST_F(KsButtonTest, EnterClicksTheDefaultButtonAndEscapeTheOneWithModalResultCancel) {
  auto* Edit = AddChild<TEdit>(Form);
  AddButton("btnBack", 10);
  auto* Next = AddButton("btnNext", 100);
  AddButton("btnCancel", 190)->SetModalResult(mrCancel);
  Next->SetDefault(true);
  Edit->SetFocus();
  Pump();
  EXPECT_TRUE(Next->DefaultActive());
  PressKey(VK_RETURN);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"btnNext"}));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"btnNext", "btnCancel"}));
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  // Not with a shift key held.
  HeldKeys = {VK_SHIFT};
  PressKey(VK_RETURN);
  HeldKeys.clear();
  EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(KsButtonTest, TheDefaultFrameMovesToTheKitButtonThatHasTheFocus) {
  auto* Edit = AddChild<TEdit>(Form);
  auto* Back = AddButton("btnBack", 10);
  auto* Next = AddButton("btnNext", 100);
  auto* Plain = AddChild<TButton>(Form);
  Plain->SetBounds(300, 40, 75, 25);
  Next->SetDefault(true);
  Edit->SetFocus();
  Pump();
  PaintNow(Back);
  PaintNow(Next);
  EXPECT_EQ(Next->Buffer()->GetPixel(0, 0), KsColorBlack);
  EXPECT_EQ(Back->Buffer()->GetPixel(0, 0), Opaque(clBtnHighlight));

  Back->SetFocus();
  Pump();
  EXPECT_FALSE(Next->DefaultActive());
  EXPECT_TRUE(Back->HasFocus());
  PaintNow(Back);
  PaintNow(Next);
  EXPECT_EQ(Back->Buffer()->GetPixel(0, 0), KsColorBlack);
  EXPECT_EQ(Next->Buffer()->GetPixel(0, 0), Opaque(clBtnHighlight));
  EXPECT_EQ(ScreenPixel(Next->Handle(), 0, 0), static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(ScreenPixel(Back->Handle(), 0, 0), RGB(0, 0, 0));
  PressKey(VK_RETURN);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"btnBack"}));

  // A class-library button with the focus takes the frame as well.
  Plain->SetFocus();
  Pump();
  EXPECT_FALSE(Next->DefaultActive());
  Edit->SetFocus();
  Pump();
  EXPECT_TRUE(Next->DefaultActive());
}

TEST_F(KsButtonTest, SpaceShowsTheButtonDownAndClicksOnRelease) {
  auto* B = AddButton("btnSpace", 10);
  B->SetFocus();
  Pump();
  PostMessageA(B->Handle(), WM_KEYDOWN, VK_SPACE, 1);
  Pump();
  EXPECT_EQ(B->Down(), 1);
  EXPECT_TRUE(Clicks.empty());
  PostMessageA(B->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  Pump();
  EXPECT_EQ(B->Down(), 0);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"btnSpace"}));
}

TEST_F(KsButtonTest, TheCaptionsAcceleratorClicksAnEnabledButton) {
  auto* B = AddButton("btnGo", 10, "&Go");
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'g', 0), 1);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"btnGo"}));
  B->SetEnabled(false);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'g', 0), 0);
  EXPECT_EQ(Clicks.size(), 1u);
}

// ---------------------------------------------------------------------------------
// Mouse

TEST_F(KsButtonTest, PressingDraggingOffAndReleasingDoesNotClickNorDoesADisabledButton) {
  auto* B = AddButton("btnDrag", 10);
  Mouse(B, WM_LBUTTONDOWN, 30, 12);
  EXPECT_TRUE(B->Tracking());
  EXPECT_EQ(B->Down(), 1);
  EXPECT_TRUE(B->HasFocus());
  Mouse(B, WM_MOUSEMOVE, 120, 12);
  EXPECT_EQ(B->Down(), 0);
  Mouse(B, WM_LBUTTONUP, 120, 12);
  EXPECT_FALSE(B->Tracking());
  EXPECT_TRUE(Clicks.empty());

  // Dragged back on before the release, it clicks.
  Mouse(B, WM_LBUTTONDOWN, 30, 12);
  Mouse(B, WM_MOUSEMOVE, -3, 12);
  EXPECT_EQ(B->Down(), 0);
  Mouse(B, WM_MOUSEMOVE, 5, 20);
  EXPECT_EQ(B->Down(), 1);
  Mouse(B, WM_LBUTTONUP, 5, 20);
  EXPECT_EQ(B->Down(), 0);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"btnDrag"}));
  Clicks.clear();

  // Disabled, it ignores the mouse.
  B->SetEnabled(false);
  B->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 12));
  B->Perform(WM_LBUTTONUP, 0, MAKELPARAM(30, 12));
  EXPECT_FALSE(B->Tracking());
  EXPECT_TRUE(Clicks.empty());
}

// ---------------------------------------------------------------------------------
// Painting

TEST_F(KsButtonTest, TheFaceIsRaisedWhenUpAndSunkenWhenPressed) {
  auto* B = AddButton("btnFace", 10, "");
  PaintNow(B);
  const int W = B->Width(), H = B->Height();
  TKsBitmap* P = B->Buffer();
  EXPECT_EQ(P->GetPixel(0, 0), Opaque(clBtnHighlight));
  EXPECT_EQ(P->GetPixel(0, H - 2), Opaque(clBtnHighlight));
  EXPECT_EQ(P->GetPixel(W - 1, H - 1), KsColorBlack);
  EXPECT_EQ(P->GetPixel(W - 1, 0), KsColorBlack);
  EXPECT_EQ(P->GetPixel(W - 2, H / 2), Opaque(clBtnShadow));
  EXPECT_EQ(P->GetPixel(W / 2, H - 2), Opaque(clBtnShadow));
  EXPECT_EQ(P->GetPixel(W / 2, H / 2), Opaque(clBtnFace));
  EXPECT_EQ(ScreenPixel(B->Handle(), W - 1, H - 1), RGB(0, 0, 0));
  EXPECT_EQ(ScreenPixel(B->Handle(), W / 2, H / 2), static_cast<COLORREF>(ColorToRGB(clBtnFace)));

  // Pressed (and focused by the press): the black frame, then a flat shadow edge.
  Mouse(B, WM_LBUTTONDOWN, 30, 12);
  PaintNow(B);
  EXPECT_EQ(P->GetPixel(0, 0), KsColorBlack);
  EXPECT_EQ(P->GetPixel(1, 1), Opaque(clBtnShadow));
  EXPECT_EQ(P->GetPixel(W - 2, H - 2), Opaque(clBtnShadow));
  EXPECT_EQ(P->GetPixel(2, 2), Opaque(clBtnFace));
  // The focus rectangle lies four pixels in.
  EXPECT_NE(P->GetPixel(4, H / 2), Opaque(clBtnFace));
  EXPECT_EQ(P->GetPixel(5, H / 2 + 1), Opaque(clBtnFace));
  Mouse(B, WM_LBUTTONUP, 30, 12);
}

TEST_F(KsButtonTest, ADisabledCaptionIsEmbossedInHighlightAndShadow) {
  auto* B = AddButton("btnText", 10, "WWW");
  PaintNow(B);
  const TRect Text = B->GetTextRect();
  auto Enabled = ColoursIn(B, Text);
  EXPECT_TRUE(Enabled.count(Rgb(Opaque(B->Font()->Color()))));
  B->SetEnabled(false);
  PaintNow(B);
  auto Disabled = ColoursIn(B, GrowRect(Text, 1));
  EXPECT_FALSE(Disabled.count(Rgb(Opaque(B->Font()->Color()))));
  EXPECT_TRUE(Disabled.count(Rgb(Opaque(clBtnHighlight))));
  EXPECT_TRUE(Disabled.count(Rgb(Opaque(clBtnShadow))));
}

TEST_F(KsButtonTest, TheGlyphIsCentredInItsPlaceAndGreyedWhenDisabled) {
  auto* B = AddButton("btnOk", 10);
  B->SetKind(bkOK);
  B->SetWidth(90);
  PaintNow(B);
  const TRect Place = B->GetGlyphRect();
  const int DX = Place.left + (RectWidth(Place) - 16) / 2;
  const int DY = Place.top + (RectHeight(Place) - 16) / 2;
  // The check mark's first pixels (row 3, columns 11 and 12) in green; no olive key.
  const TKsColor Green = 0xFF008000;
  EXPECT_EQ(GlyphPixel(B, 11, 3), Green);
  EXPECT_EQ(GlyphPixel(B, 12, 3), Green);
  EXPECT_EQ(GlyphPixel(B, 10, 3), Opaque(clBtnFace));
  const TRect Whole{0, 0, B->Width(), B->Height()};
  EXPECT_FALSE(ColoursIn(B, Whole).count(0x808000));
  // The glyph is drawn last, over the caption's area.
  const TRect Text = B->GetTextRect();
  EXPECT_GE(Text.left, DX + 16);

  // Disabled: the second image, each pixel grey at 160 to 210 by its lightness.
  B->SetEnabled(false);
  PaintNow(B);
  std::set<TKsColor> Glyph = ColoursIn(B, TRect{DX, DY, DX + 16, DY + 16});
  Glyph.erase(Rgb(Opaque(clBtnFace)));
  EXPECT_EQ(Glyph, (std::set<TKsColor>{0xB9B9B9, 0xD2D2D2}));  // grey and white ink
}

TEST_F(KsButtonTest, ABlackAndWhiteGlyphTakesColourUnderTheMouse) {
  auto* B = AddButton("btnBW", 10);
  B->SetKind(bkOK);
  B->SetBlackAndWhiteGlyph(true);
  PaintNow(B);
  EXPECT_EQ(GlyphPixel(B, 11, 3), 0xFF404040u);  // green's lightness
  B->Perform(CM_MOUSEENTER, 0, 0);
  PaintNow(B);
  EXPECT_EQ(GlyphPixel(B, 11, 3), 0xFF008000u);
}

TEST_F(KsButtonTest, GlyphAndCaptionAreCentredTogetherAndMoveWhenPressed) {
  auto* B = AddButton("btnLayout", 10, "Layout");
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(16, 16));
  B->SetGlyph(Glyph.get());
  PaintNow(B);
  const TRect Content = B->GetContentRect();
  const TRect Text = B->GetTextRect();
  const TRect Place = B->GetGlyphRect();
  EXPECT_EQ(Place.left, Content.left);
  EXPECT_EQ(Place.right, Content.left + 16 + 4);
  EXPECT_EQ(Text.left, Place.right);
  EXPECT_EQ(Text.right, Content.right);
  EXPECT_EQ(Content.left, (B->Width() - RectWidth(Content)) / 2);
  EXPECT_EQ(Content.top, (B->Height() - RectHeight(Content)) / 2);
  EXPECT_EQ(RectHeight(Content), std::max(16, static_cast<int>(RectHeight(Text))));

  B->SetLayout(blGlyphTop);
  const TRect Tall = B->GetContentRect();
  EXPECT_EQ(B->GetGlyphRect().bottom, Tall.top + 16 + 4);
  EXPECT_EQ(B->GetTextRect().top, Tall.top + 16 + 4);
  Mouse(B, WM_LBUTTONDOWN, 5, 5);
  const TRect Pressed = B->GetContentRect();
  EXPECT_EQ(Pressed.left, Tall.left + 1);
  EXPECT_EQ(Pressed.top, Tall.top + 1);
  Mouse(B, WM_LBUTTONUP, 5, 5);
}

TEST_F(KsButtonTest, RepaintingMakesNoGdiObjectAfterTheFirstPaint) {
  auto* B = AddButton("btnOk", 10, "&OK");
  B->SetKind(bkOK);  // a glyph too
  B->SetFocus();     // the focus rectangle is drawn with a pen
  ASSERT_TRUE(B->HasFocus());
  auto Made = [] {
    int Sum = 0;
    for (DWORD Type : {OBJ_FONT, OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP, OBJ_MEMDC}) Sum += GdiObjectsMade(Type);
    return Sum;
  };
  PaintNow(B);
  const int AfterFirst = Made();
  for (int I = 0; I < 1000; ++I) PaintNow(B);
  EXPECT_EQ(Made(), AfterFirst);
  // The face was painted each time, focus rectangle included.
  EXPECT_EQ(Rgb(B->Buffer()->GetPixel(0, 0)), Rgb(KsColorBlack));
  // A glyph drawn on after that shows at the next paint.
  B->Glyph()->Canvas()->SetPixels(11, 3, clBlue);
  PaintNow(B);
  EXPECT_EQ(Rgb(GlyphPixel(B, 11, 3)), Rgb(Opaque(clBlue)));
}

// ---------------------------------------------------------------------------------
// Form files

TEST_F(KsButtonTest, AFormFileCarriesTheButtonsPublishedProperties) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(),
                    "form frmButtons: TForm\n"
                    "  component btnStop: TKsCustomButton\n"
                    "    Caption = \"Stop\"\n"
                    "    Kind = bkCancel\n"
                    "    Layout = blGlyphRight\n"
                    "    Spacing = 2\n"
                    "  end\n"
                    "end\n",
                    "buttons");
  auto* B = ObjectAs<TKsCustomButton>(Root->FindComponent("btnStop"));
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(B->Caption(), "Stop");
  EXPECT_EQ(B->ModalResult(), mrCancel);
  EXPECT_EQ(B->Layout(), blGlyphRight);
  EXPECT_EQ(B->Spacing(), 2);
  EXPECT_EQ(B->NumGlyphs(), 2);
  EXPECT_TRUE(B->Transparent());
  const AnsiString Text = WriteComponentText(Root.get());
  EXPECT_NE(Text.find("Kind = bkCancel"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("ModalResult = 2"), AnsiString::npos) << Text;
  EXPECT_EQ(Text.find("Transparent"), AnsiString::npos) << Text;
  EXPECT_EQ(Text.find("TabStop"), AnsiString::npos) << Text;
}

}  // namespace
