// Edit buttons: the collection's rules (eight at most, one default, visible positions)
// and the faces DrawEditButton paints in every style, read back by pixel from a
// memory DC.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Classes.h"
#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"
#include "editors/dxExEdtr_Buttons.h"
#include "tests/editors/SurfaceSupport.h"

namespace {

using Surface = surfacetest::TSurface;
constexpr COLORREF Background = RGB(1, 2, 3);

COLORREF Sys(int Index) { return GetSysColor(Index) & 0xFFFFFF; }

class EditButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override { Buttons = NewObject<TdxEditButtons>(nullptr, &TdxEditButton::StaticClass()); }
  void TearDown() override { FreeAndNil(Buttons); }
  TdxEditButtons* Buttons = nullptr;
};

TEST_F(EditButtonsTest, NinthButtonRaisesAndLeavesEight) {
  for (int I = 0; I < 8; ++I) Buttons->Add();
  try {
    Buttons->Add();
    FAIL() << "a ninth button was accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(AnsiString("Too many buttons ( >= 8)"), E.Message());
  }
  EXPECT_EQ(8, Buttons->Count());
}

TEST_F(EditButtonsTest, OneDefaultAtMostAndALoneButtonIsTheDefault) {
  TdxEditButton* First = Buttons->Add();
  EXPECT_TRUE(First->Default()) << "a lone button becomes the default";
  TdxEditButton* Second = Buttons->Add();
  TdxEditButton* Third = Buttons->Add();
  Second->SetDefault(true);
  EXPECT_FALSE(First->Default());
  EXPECT_TRUE(Second->Default());
  Third->SetDefault(true);
  EXPECT_FALSE(Second->Default());
  FreeAndNil(Third);
  First->SetDefault(false);
  Second->SetDefault(false);
  FreeAndNil(First);
  EXPECT_TRUE(Second->Default()) << "the one remaining button is the default again";
}

TEST_F(EditButtonsTest, LoadingOwnerKeepsALoneButtonUndefaulted) {
  TOwned<TComponent> Owner(NewObject<TComponent>(nullptr));
  Owner->SetComponentStateFlag(csLoading, true);
  TOwned<TdxEditButtons> Owned(NewObject<TdxEditButtons>(Owner.get(), &TdxEditButton::StaticClass()));
  EXPECT_FALSE(Owned->Add()->Default());
}

TEST_F(EditButtonsTest, VisiblePositionsSkipHiddenButtons) {
  EXPECT_EQ(-1, Buttons->VisibleIndexToIndex(0));
  for (int I = 0; I < 3; ++I) Buttons->Add();
  Buttons->GetItem(1)->SetVisible(false);
  EXPECT_EQ(2, Buttons->VisibleCount());
  EXPECT_EQ(0, Buttons->VisibleIndexToIndex(0));
  EXPECT_EQ(2, Buttons->VisibleIndexToIndex(1));
  EXPECT_EQ(-1, Buttons->VisibleIndexToIndex(2));
  EXPECT_EQ(Buttons->GetItem(2), Buttons->GetVisibleItem(1));
  EXPECT_EQ(nullptr, Buttons->GetVisibleItem(2));
}

TEST_F(EditButtonsTest, AssignCopiesEveryPropertyAndRestoreKeepsDefault) {
  TdxEditButton* From = Buttons->Add();
  TdxEditButton* To = Buttons->Add();
  From->SetKind(bkGlyph);
  From->SetLeftAlignment(true);
  From->SetWidth(30);
  From->SetVisible(false);
  From->Glyph()->SetSize(5, 4);
  To->Assign(From);
  EXPECT_EQ(bkGlyph, To->Kind());
  EXPECT_TRUE(To->LeftAlignment());
  EXPECT_EQ(30, To->Width());
  EXPECT_FALSE(To->Visible());
  EXPECT_EQ(5, To->Glyph()->Width());
  To->SetDefault(true);
  Buttons->RestoreDefaults();
  EXPECT_EQ(bkEllipsis, To->Kind());
  EXPECT_FALSE(To->LeftAlignment());
  EXPECT_EQ(0, To->Width());
  EXPECT_TRUE(To->Visible());
  EXPECT_FALSE(To->HasGlyph());
  EXPECT_TRUE(To->Default());
}

// ---------------------------------------------------------------------------------
// Faces

class DrawEditButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { BackBrush = CreateSolidBrush(Background); }
  void TearDown() override { DeleteObject(BackBrush); }
  TdxEditButtonLook Look(TdxEditButtonViewStyle Style, bool Enabled = true) {
    return TdxEditButtonLook{Style, BackBrush, Enabled};
  }
  TdxEditButtonDrawData Kind(TdxEditButtonKind K, TBitmap* Glyph = nullptr) {
    TdxEditButtonDrawData Data;
    Data.Kind = K;
    Data.Glyph = Glyph;
    return Data;
  }
  HBRUSH BackBrush = nullptr;
  const TRect Box{0, 0, 17, 17};
};

TEST_F(DrawEditButtonTest, RaisedArrowSitsWhereTheLayoutPutsIt) {
  Surface S(17, 17);
  DrawEditButton(S.DC(), Box, Kind(bkDown), Look(bts3D), false, false, false);
  // Inside the 2-pixel raised edge: 13 wide, an arrow 7 wide from (5, 6) to (8, 9).
  EXPECT_EQ((TRect{5, 6, 12, 10}), S.Bounds(Sys(COLOR_BTNTEXT), TRect{2, 2, 15, 15}));
  EXPECT_EQ(Sys(COLOR_BTNFACE), S.At(3, 12)) << "the face is filled";
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), S.At(1, 8)) << "the raised edge's inner light side";
}

TEST_F(DrawEditButtonTest, PressedContentMovesExceptInHotFlat) {
  for (auto Style : {bts3D, btsFlat, btsSimple}) {
    Surface Up(17, 17), Down(17, 17);
    DrawEditButton(Up.DC(), Box, Kind(bkEllipsis), Look(Style), false, false, false);
    DrawEditButton(Down.DC(), Box, Kind(bkEllipsis), Look(Style), true, false, false);
    TRect A = Up.Bounds(Sys(COLOR_BTNTEXT), TRect{2, 2, 15, 15});
    TRect B = Down.Bounds(Sys(COLOR_BTNTEXT), TRect{2, 2, 15, 15});
    ASSERT_GE(A.left, 0) << "style " << Style;
    EXPECT_EQ(A.top + 1, B.top) << "style " << Style;
    EXPECT_GT(B.left, A.left - 1) << "style " << Style;
  }
}

TEST_F(DrawEditButtonTest, EllipsisIsThreeDotsSizedByWidth) {
  Surface Narrow(17, 17), Wide(20, 20);
  DrawEditButton(Narrow.DC(), Box, Kind(bkEllipsis), Look(bts3D), false, false, false);
  DrawEditButton(Wide.DC(), TRect{0, 0, 20, 20}, Kind(bkEllipsis), Look(bts3D), false, false, false);
  EXPECT_EQ(3, Narrow.Count(Sys(COLOR_BTNTEXT), Box)) << "1-pixel dots under 16";
  EXPECT_EQ(12, Wide.Count(Sys(COLOR_BTNTEXT), TRect{0, 0, 20, 20})) << "2 x 2 dots from 16";
  TRect Dots = Wide.Ink(Sys(COLOR_BTNTEXT));
  EXPECT_EQ(10, Dots.right - Dots.left) << "dots two dot-widths apart";
}

TEST_F(DrawEditButtonTest, DisabledMarkIsEtched) {
  Surface S(17, 17);
  DrawEditButton(S.DC(), Box, Kind(bkDown), Look(bts3D, false), false, false, false);
  EXPECT_EQ(-1, S.Ink(Sys(COLOR_BTNTEXT)).left);
  TRect Shadow = S.Bounds(Sys(COLOR_BTNSHADOW), TRect{2, 2, 14, 14});
  EXPECT_EQ((TRect{5, 6, 12, 10}), Shadow);
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), S.At(12, 7)) << "the highlight copy one pixel right and down";
}

TEST_F(DrawEditButtonTest, TransparentKeepsTheEditorBackground) {
  for (auto Style : {bts3D, btsFlat, btsSimple, btsHotFlat}) {
    Surface S(17, 17, RGB(200, 100, 50));
    DrawEditButton(S.DC(), Box, Kind(bkDown), Look(Style), false, true, false);
    EXPECT_EQ(0, S.Count(Sys(COLOR_BTNFACE), TRect{3, 3, 14, 14})) << "style " << Style;
    EXPECT_EQ(RGB(200, 100, 50), S.At(3, 13)) << "no face filled, style " << Style;
  }
}

TEST_F(DrawEditButtonTest, SimpleStyleFramesInBackgroundAndDrawsFlatWhenHot) {
  Surface Plain(17, 17, RGB(9, 9, 9)), Hot(17, 17, RGB(9, 9, 9));
  DrawEditButton(Plain.DC(), Box, Kind(bkDown), Look(btsSimple), false, false, false);
  DrawEditButton(Hot.DC(), Box, Kind(bkDown), Look(btsSimple), false, false, true);
  EXPECT_EQ(Background, Plain.At(0, 0));
  EXPECT_EQ(Background, Plain.At(1, 8)) << "the column left of the face";
  EXPECT_EQ(Sys(COLOR_BTNFACE), Plain.At(2, 8));
  EXPECT_EQ(Sys(COLOR_BTNFACE), Hot.At(0, 8)) << "hot: the flat style's face column";
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Hot.At(1, 8)) << "hot: the flat style's raised edge";
}

TEST_F(DrawEditButtonTest, HotFlatInvertsWhilePressedOrHot) {
  Surface Plain(17, 17), Hot(17, 17), Pressed(17, 17), Off(17, 17);
  DrawEditButton(Plain.DC(), Box, Kind(bkDown), Look(btsHotFlat), false, false, false);
  DrawEditButton(Hot.DC(), Box, Kind(bkDown), Look(btsHotFlat), false, false, true);
  DrawEditButton(Pressed.DC(), Box, Kind(bkDown), Look(btsHotFlat), true, false, true);
  DrawEditButton(Off.DC(), Box, Kind(bkDown), Look(btsHotFlat, false), true, false, true);
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), Plain.At(0, 0)) << "the frame";
  EXPECT_EQ(Sys(COLOR_BTNFACE), Plain.At(2, 14));
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), Hot.At(2, 14)) << "hot face";
  EXPECT_EQ(Sys(COLOR_BTNTEXT), Pressed.At(2, 14)) << "pressed face";
  EXPECT_EQ(Sys(COLOR_BTNFACE), Off.At(2, 14)) << "a disabled editor keeps the plain face";
  TRect Arrow = Pressed.Bounds(Sys(COLOR_WINDOW), TRect{1, 1, 16, 16});
  TRect PlainArrow = Plain.Bounds(Sys(COLOR_BTNTEXT), TRect{1, 1, 16, 16});
  EXPECT_EQ(PlainArrow, Arrow) << "window-coloured arrow, not moved";
}

// The hot-flat button's arrow stands out from the face it is drawn on, hot or pressed:
// the window colour would be light on the light shadow colour of a hot face.
TEST_F(DrawEditButtonTest, HotFlatArrowsAreReadableOnTheirFace) {
  Surface Hot(17, 17), Pressed(17, 17);
  DrawEditButton(Hot.DC(), Box, Kind(bkDown), Look(btsHotFlat), false, false, true);
  DrawEditButton(Pressed.DC(), Box, Kind(bkDown), Look(btsHotFlat), true, false, true);
  const TRect Inside{1, 1, 16, 16};
  EXPECT_GE(Hot.MostContrast(Sys(COLOR_BTNSHADOW), Inside), 3.0) << "hot";
  EXPECT_GE(Pressed.MostContrast(Sys(COLOR_BTNTEXT), Inside), 3.0) << "pressed";
}

TEST_F(DrawEditButtonTest, GlyphIsCentredAndMovesWhenPressed) {
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(4, 4));
  Glyph->SetPixelFormat(pf24bit);
  TRect All{0, 0, 4, 4};
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(Glyph->Canvas()->Handle(), &All, Red);
  DeleteObject(Red);
  Glyph->SetTransparentColor(static_cast<TColor>(RGB(0, 255, 0)));
  Surface Up(17, 17), Down(17, 17);
  DrawEditButton(Up.DC(), Box, Kind(bkGlyph, Glyph.get()), Look(bts3D), false, false, false);
  DrawEditButton(Down.DC(), Box, Kind(bkGlyph, Glyph.get()), Look(bts3D), true, false, false);
  // Inside a 13 x 13 face at 2: free 9, so 4 in.
  EXPECT_EQ((TRect{6, 6, 10, 10}), Up.Ink(RGB(255, 0, 0)));
  // Pressed: a 15 x 15 face at 1, free 11 -> 5, then 2 for the press.
  EXPECT_EQ((TRect{8, 8, 12, 12}), Down.Ink(RGB(255, 0, 0)));
}

TEST(EditButtonWidthTest, ScrollBarWideUnlessAGlyphSaysOtherwise) {
  TdxEditButtonDrawData Arrow;
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), DefaultEditButtonWidth(bts3D, Arrow));
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL) - 1, DefaultEditButtonWidth(btsFlat, Arrow));
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(10, 8));
  TdxEditButtonDrawData WithGlyph;
  WithGlyph.Kind = bkGlyph;
  WithGlyph.Glyph = Glyph.get();
  EXPECT_EQ(14, DefaultEditButtonWidth(bts3D, WithGlyph));
  EXPECT_EQ(13, DefaultEditButtonWidth(btsSimple, WithGlyph));
  EXPECT_EQ(12, DefaultEditButtonWidth(btsHotFlat, WithGlyph));
  TOwned<TBitmap> Empty(NewObject<TBitmap>());
  WithGlyph.Glyph = Empty.get();
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), DefaultEditButtonWidth(bts3D, WithGlyph));
}

}  // namespace
