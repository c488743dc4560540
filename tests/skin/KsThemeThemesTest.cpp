// The painter interface: its 45 slots in their order, the base painter "No Theme",
// the deltas and the right-to-left text flags.
#include <gtest/gtest.h>

#include <algorithm>

#include "BitmapTestSupport.h"
#include "ThemeTestPainter.h"

using namespace themetest;
using skintest::MakeBitmap;
using skintest::PixelsOf;

namespace {

struct TSlotAnswers {
  TTeTheme* Made = nullptr;
  int Size = -1;
  TColor Color = -1;
  AnsiString FontName = "Unchanged";
  int FontSize = -1;
  TFontStyles FontStyle;
  int ItemWidth = 7;
  int ItemHeight = 8;
  HRGN Region = reinterpret_cast<HRGN>(1);
  AnsiString Name;
  bool Available = true;
};

// Calls every slot once, in slot order, through the base class and the metaclass.
TSlotAnswers CallEverySlot(TTeTheme* P, TKsBitmap* B) {
  TSlotAnswers A;
  const TRect R{2, 3, 30, 20};
  const TRect R2{4, 5, 10, 12};
  P->UpdateColors();
  A.Made = P->ThemeClass()->Create();
  A.Size = P->GetSize(5);
  A.Color = P->GetColor(6);
  P->GetFontName(0, A.FontName);
  A.FontSize = P->GetFontSize(0);
  A.FontStyle = P->GetFontStyle(0);
  P->DrawCaptionButton(B, R, 0, true, false, true, kbsStandard);
  P->DrawWindowFrame(B, 40, 30, R2, true, kbsToolWindow);
  P->MeasureMenuBarItem(B, nullptr, A.ItemWidth, A.ItemHeight);
  P->MeasurePopupItem(B, nullptr, A.ItemWidth, A.ItemHeight);
  P->DrawMenuBarBackground(B, 40, 30);
  P->DrawMenuBarItem(B, nullptr, R, true, true);
  P->DrawMenuBarMDIButton(B, nullptr, R, false, true);
  P->DrawPopupBackground(B, 40, 30);
  P->DrawPopupItem(B, nullptr, R, true, false);
  P->DrawButton(B, 40, 30, tdsHot);
  P->DrawCheckBox(B, R, tdsNormal, 1);
  P->DrawRadioButton(B, R, tdsPressed, true);
  P->DrawTrackThumb(B, R, true, 1, tdsNormal);
  P->DrawTrackBar(B, R, R2);
  P->DrawProgressBar(B, R);
  P->DrawProgressChunk(B, R2, R, false, true);
  P->DrawBarBackground(B, R, 1, 2);
  P->DrawBarHeader(B, R, "Header");
  P->DrawBarButton(B, R, tdsHot, 1, true);
  P->DrawGroupBox(B, R, R2, "Group");
  P->DrawScrollTrack(B, R, true);
  P->DrawScrollArrow(B, R, 1, true, tdsNormal);
  P->DrawScrollThumb(B, R, 0, tdsDisabled);
  P->DrawTabPane(B, R);
  P->DrawTabItem(B, R, 2, tdsHot);
  P->DrawSpinButton(B, R, true, 0, tdsNormal);
  P->DrawEditFrame(B, R, tdsNormal);
  P->DrawComboButton(B, R, tdsPressed);
  P->DrawToolButton(B, R, tdsHot, true, false);
  P->DrawToolDropDown(B, R, tdsHot, false, true);
  P->DrawToolBarBackground(B, R);
  P->DrawGripper(B, R2, R);
  P->DrawPanelBackground(B, R);
  P->DrawArrowButton(B, R, tdsNormal, 0);
  P->DrawCell(B, R, 3);
  A.Region = P->GetWindowRegion(40, 30, kbsStandard);
  P->ThemeClass()->GetName(A.Name);
  A.Available = P->ThemeClass()->IsAvailable();
  return A;
}

class ThemePainter : public ::testing::Test {
 protected:
  TThemeRegistryScope Scope;
};

}  // namespace

// The base painter, "No Theme", draws nothing and answers nothing, and says it cannot
// draw, so every themed caller falls back to its own drawing.
TEST_F(ThemePainter, BasePainterDrawsNothingAndAnswersZero) {
  TOwned<TTeTheme> P(NewObject<TTeTheme>());
  auto B = MakeBitmap(48, 32, 0x80C0FFEE);
  const auto Before = PixelsOf(B.get());
  TSlotAnswers A = CallEverySlot(P.get(), B.get());
  TOwned<TTeTheme> Made(A.Made);
  EXPECT_EQ(PixelsOf(B.get()), Before);
  EXPECT_EQ(Made->ClassType(), &TTeTheme::StaticClass());
  EXPECT_EQ(A.Size, 0);
  EXPECT_EQ(A.Color, 0);
  EXPECT_EQ(A.FontName, "Unchanged");
  EXPECT_EQ(A.FontSize, 0);
  EXPECT_TRUE(A.FontStyle.Empty());
  EXPECT_EQ(A.ItemWidth, 7);
  EXPECT_EQ(A.ItemHeight, 8);
  EXPECT_EQ(A.Region, nullptr);
  EXPECT_EQ(A.Name, "No Theme");
  EXPECT_FALSE(A.Available);
  for (int Kind = 0; Kind < 30; ++Kind)
    EXPECT_EQ(P->GetSize(static_cast<Byte>(Kind)), 0) << Kind;
  for (int Index = 0; Index < 26; ++Index)
    EXPECT_EQ(P->GetColor(static_cast<Byte>(Index)), 0) << Index;
}

// Each of the 45 slots reaches the painter's own operation of the same number: the
// drawing slots through the object, the constructor and the class functions through
// the class reference.
TEST_F(ThemePainter, EverySlotReachesThePainterInSlotOrder) {
  TOwned<TTeTheme> P(RecorderClass()->Create());
  auto B = MakeBitmap(48, 32);
  TRecordingPainter::Log.clear();
  TSlotAnswers A = CallEverySlot(P.get(), B.get());
  TOwned<TTeTheme> Made(A.Made);

  ASSERT_EQ(TRecordingPainter::Log.size(), static_cast<std::size_t>(TeThemeSlotCount));
  for (int I = 0; I < TeThemeSlotCount; ++I)
    EXPECT_EQ(static_cast<int>(TRecordingPainter::Log[static_cast<std::size_t>(I)]), I + 1)
        << "call " << I;
  EXPECT_EQ(Made->ClassType(), RecorderClass());
  EXPECT_EQ(A.Name, "Recorder");
  EXPECT_TRUE(A.Available);
  EXPECT_EQ(A.Size, 105);
  EXPECT_EQ(A.FontName, "Recorder Sans");
}

TEST_F(ThemePainter, ADeltaChangeRederivesTheColoursOnce) {
  TOwned<TRecordingPainter> P(NewObject<TRecordingPainter>());
  P->SetDeltaHue(0);
  P->SetDeltaBrightness(0);
  EXPECT_TRUE(P->ColorUpdates.empty());
  P->SetDeltaHue(40);
  P->SetDeltaHue(40);
  P->SetDeltaBrightness(-12);
  ASSERT_EQ(P->ColorUpdates.size(), 2u);
  EXPECT_EQ(P->ColorUpdates[0], std::make_pair(40, 0));
  EXPECT_EQ(P->ColorUpdates[1], std::make_pair(40, -12));
}

// ---------------------------------------------------------------------------------
// Right-to-left text

TEST_F(ThemePainter, TextFlagsStayUnchangedOutsideMiddleEastSystems) {
  SysLocale.MiddleEast = false;
  TOwned<TTeTheme> P(NewObject<TTeTheme>());
  for (TBiDiMode Mode :
       {bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly}) {
    P->SetBiDiMode(Mode);
    EXPECT_FALSE(P->UseRightToLeftReading());
    EXPECT_FALSE(P->UseRightToLeftAlignment());
    for (UINT Flags :
         {UINT(DT_LEFT), UINT(DT_RIGHT), UINT(DT_CENTER), UINT(DT_VCENTER | DT_SINGLELINE)})
      EXPECT_EQ(P->DrawTextBiDiModeFlags(Flags), Flags) << Mode;
    EXPECT_EQ(P->DrawTextBiDiModeFlagsReadingOnly(), 0u);
  }
}

TEST_F(ThemePainter, RightToLeftPainterMirrorsAlignmentOnMiddleEastSystems) {
  SysLocale.MiddleEast = true;
  TOwned<TTeTheme> P(NewObject<TTeTheme>());
  P->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(P->DrawTextBiDiModeFlags(DT_LEFT | DT_VCENTER),
            UINT(DT_RIGHT | DT_VCENTER | DT_RTLREADING));
  EXPECT_EQ(P->DrawTextBiDiModeFlags(DT_RIGHT | DT_SINGLELINE),
            UINT(DT_LEFT | DT_SINGLELINE | DT_RTLREADING));
  EXPECT_EQ(P->DrawTextBiDiModeFlags(DT_CENTER), UINT(DT_CENTER | DT_RTLREADING));

  // Reading order only: the alignment stays, the reading flag is added.
  for (TBiDiMode Mode : {bdRightToLeftNoAlign, bdRightToLeftReadingOnly}) {
    P->SetBiDiMode(Mode);
    EXPECT_EQ(P->DrawTextBiDiModeFlags(DT_LEFT), UINT(DT_RTLREADING)) << Mode;
    EXPECT_EQ(P->DrawTextBiDiModeFlags(DT_RIGHT), UINT(DT_RIGHT | DT_RTLREADING)) << Mode;
  }
  P->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(P->DrawTextBiDiModeFlags(DT_LEFT), UINT(DT_LEFT));
  EXPECT_EQ(P->DrawTextBiDiModeFlagsReadingOnly(), 0u);
}
