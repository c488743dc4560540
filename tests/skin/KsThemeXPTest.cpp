// The visual-styles painter: class, part and state of each slot through fake entry
// points in place of the bound ones, its fallbacks where the style lacks a class or a
// part, and a few slots drawn by Wine's own style.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "skin/KsItems.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeXP.h"
#include "tests/skin/ThemeTestPainter.h"

namespace {

using themetest::TRecordingPainter;
using S = TTeThemeSlot;

struct TDraw {
  std::wstring Class;
  int Part;
  int State;
  TRect Rect;
};

// A fake style: every class has a handle except those in Missing; a part in
// Undefined is not defined. Drawings and part-size requests are noted.
struct TFakeStyle {
  inline static const std::vector<std::wstring> Classes = {
      L"Window", L"Menu", L"Button", L"TrackBar", L"Progress", L"ExplorerBar", L"ScrollBar",
      L"Tab", L"Edit", L"ComboBox", L"Toolbar", L"ReBar"};
  inline static std::set<std::wstring> Missing;
  inline static std::set<std::pair<std::wstring, int>> Undefined;
  inline static std::vector<TDraw> Draws;

  static std::wstring ClassOf(HTHEME_T Theme) {
    const auto I = reinterpret_cast<UINT_PTR>(Theme) / 16 - 1;
    return I < Classes.size() ? Classes[I] : L"?";
  }
  static HTHEME_T WINAPI Open(HWND, LPCWSTR Name) {
    if (Missing.count(Name)) return nullptr;
    for (std::size_t I = 0; I < Classes.size(); ++I)
      if (Classes[I] == Name) return reinterpret_cast<HTHEME_T>((I + 1) * 16);
    return nullptr;
  }
  static HRESULT WINAPI Close(HTHEME_T) { return S_OK; }
  static BOOL WINAPI Defined(HTHEME_T Theme, int Part, int) {
    return !Undefined.count({ClassOf(Theme), Part});
  }
  static HRESULT WINAPI Draw(HTHEME_T Theme, HDC, int Part, int State, const RECT* R, const RECT*) {
    Draws.push_back({ClassOf(Theme), Part, State, *R});
    return S_OK;
  }
  static HRESULT WINAPI PartSize(HTHEME_T Theme, HDC, int Part, int, const RECT*, int, SIZE* Size) {
    if (ClassOf(Theme) != L"Window") return E_FAIL;
    *Size = SIZE{Part * 10 + 1, Part * 10 + 2};
    return S_OK;
  }
};

class KsThemeXPTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearThemeCache();
    Saved = ThemeApi;
    TFakeStyle::Missing.clear();
    TFakeStyle::Undefined.clear();
    TFakeStyle::Draws.clear();
    ThemeApi.OpenThemeData = TFakeStyle::Open;
    ThemeApi.CloseThemeData = TFakeStyle::Close;
    ThemeApi.IsThemePartDefined = TFakeStyle::Defined;
    ThemeApi.DrawThemeBackground = TFakeStyle::Draw;
    ThemeApi.GetThemePartSize = TFakeStyle::PartSize;
    ThemeApi.DrawThemeText = nullptr;
    TRecordingPainter::ResetCounters();
    SavedFallback = FallbackThemeClass;
    FallbackThemeClass = &TRecordingPainter::StaticClass();
    Painter.reset(NewObject<TTeThemeXP>());
    Bitmap->SetSize(120, 40);
  }
  void TearDown() override {
    Painter.reset();
    FallbackThemeClass = SavedFallback;
    ClearThemeCache();
    ThemeApi = Saved;
  }
  // The one drawing noted since the last call, as (class, part, state).
  std::tuple<std::wstring, int, int> Only() {
    EXPECT_EQ(TFakeStyle::Draws.size(), 1u);
    if (TFakeStyle::Draws.empty()) return {L"", 0, 0};
    TDraw D = TFakeStyle::Draws.back();
    TFakeStyle::Draws.clear();
    return {D.Class, D.Part, D.State};
  }
  void Hide(const wchar_t* Class, int Part) { TFakeStyle::Undefined.insert({Class, Part}); }

  TThemeApi Saved{};
  TTeThemeClass SavedFallback = nullptr;
  TOwned<TTeThemeXP> Painter;
  TOwned<TKsBitmap> Bitmap{NewObject<TKsBitmap>()};
  const TRect R{0, 0, 20, 20};
};

using T3 = std::tuple<std::wstring, int, int>;

TEST_F(KsThemeXPTest, CaptionButtonsTakeTheWindowClassPartsAndLaterStateRulesWin) {
  Painter->DrawCaptionButton(Bitmap.get(), R, 0, false, false, true, kbsStandard);
  EXPECT_EQ(Only(), T3(L"Window", 18, 1));
  Painter->DrawCaptionButton(Bitmap.get(), R, 0, true, false, true, kbsToolWindow);
  EXPECT_EQ(Only(), T3(L"Window", 19, 2));
  Painter->DrawCaptionButton(Bitmap.get(), R, 1, true, true, true, kbsStandard);
  EXPECT_EQ(Only(), T3(L"Window", 23, 3));
  Painter->DrawCaptionButton(Bitmap.get(), R, 2, true, true, false, kbsStandard);
  EXPECT_EQ(Only(), T3(L"Window", 15, 4));
  Painter->DrawCaptionButton(Bitmap.get(), R, 3, false, false, true, kbsStandard);
  EXPECT_EQ(Only(), T3(L"Window", 17, 1));
  Painter->DrawCaptionButton(Bitmap.get(), R, 4, false, false, true, kbsStandard);
  EXPECT_EQ(Only(), T3(L"Window", 21, 1));
  for (Byte Button : {5, 6, 7, 8}) Painter->DrawCaptionButton(Bitmap.get(), R, Button, false, false, true, kbsStandard);
  EXPECT_TRUE(TFakeStyle::Draws.empty()) << "roll-up, roll-down and tray have no part";
  EXPECT_TRUE(TRecordingPainter::Log.empty()) << "and no fallback draws them either";
}

TEST_F(KsThemeXPTest, TheFrameIsFourPartsAroundTheClientRectangle) {
  Painter->DrawWindowFrame(Bitmap.get(), 120, 40, TRect{3, 25, 117, 37}, false, kbsStandard);
  ASSERT_EQ(TFakeStyle::Draws.size(), 4u);
  const int Parts[] = {1, 7, 8, 9};
  const TRect Rects[] = {{0, 0, 120, 25}, {0, 25, 3, 37}, {117, 25, 120, 37}, {0, 37, 120, 40}};
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(TFakeStyle::Draws[I].Part, Parts[I]);
    EXPECT_EQ(TFakeStyle::Draws[I].State, 2) << "inactive";
    EXPECT_TRUE(EqualRect(&TFakeStyle::Draws[I].Rect, &Rects[I])) << I;
  }
}

TEST_F(KsThemeXPTest, ButtonsCheckBoxesAndRadioButtonsTakeTheirStateTables) {
  const int ButtonStates[] = {1, 2, 3, 4, 5, 5};
  for (Byte State = 0; State <= 5; ++State) {
    Painter->DrawButton(Bitmap.get(), 73, 25, State);
    EXPECT_EQ(Only(), T3(L"Button", 1, ButtonStates[State]));
  }
  Painter->DrawCheckBox(Bitmap.get(), R, 2, 1);
  EXPECT_EQ(Only(), T3(L"Button", 3, 7));
  Painter->DrawCheckBox(Bitmap.get(), R, 3, 2);
  EXPECT_EQ(Only(), T3(L"Button", 3, 12));
  Painter->DrawRadioButton(Bitmap.get(), R, 1, true);
  EXPECT_EQ(Only(), T3(L"Button", 2, 6));
}

TEST_F(KsThemeXPTest, ShapesPickTheirParts) {
  // A chunk higher than wide is part 4, drawn over the bar whatever its shape.
  const TRect Bar{0, 0, 100, 10};
  Painter->DrawProgressChunk(Bitmap.get(), TRect{0, 0, 5, 10}, Bar, false, false);
  ASSERT_EQ(TFakeStyle::Draws.size(), 1u);
  EXPECT_TRUE(EqualRect(&TFakeStyle::Draws[0].Rect, &Bar));
  EXPECT_EQ(Only(), T3(L"Progress", 4, 1));
  Painter->DrawTrackBar(Bitmap.get(), TRect{0, 0, 50, 4}, TRect{});
  EXPECT_EQ(Only(), T3(L"TrackBar", 1, 1));
  Painter->DrawTrackThumb(Bitmap.get(), R, true, 1, 3);
  EXPECT_EQ(Only(), T3(L"TrackBar", 8, 5));
  Painter->DrawScrollArrow(Bitmap.get(), R, 0, false, 2);
  EXPECT_EQ(Only(), T3(L"ScrollBar", 1, 15));
  Painter->DrawSpinButton(Bitmap.get(), R, true, 0, 1);
  EXPECT_EQ(Only(), T3(L"ScrollBar", 1, 10));
  Painter->DrawTabItem(Bitmap.get(), R, 0, 2);
  EXPECT_EQ(Only(), T3(L"Tab", 1, 5));
  Painter->DrawEditFrame(Bitmap.get(), R, 4);
  EXPECT_EQ(Only(), T3(L"Edit", 1, 3));
  Painter->DrawToolButton(Bitmap.get(), R, 1, true, true);
  EXPECT_EQ(Only(), T3(L"Toolbar", 1, 6));
  Painter->DrawScrollThumb(Bitmap.get(), R, 1, 2);
  ASSERT_EQ(TFakeStyle::Draws.size(), 2u) << "thumb, then gripper";
  EXPECT_EQ(TFakeStyle::Draws[0].Part, 3);
  EXPECT_EQ(TFakeStyle::Draws[1].Part, 9);
}

TEST_F(KsThemeXPTest, SizesAreReadFromTheStyleAndUnreadableOnesAreTheAtlasPaintersOwn) {
  EXPECT_EQ(Painter->GetSize(0), 7 * 10 + 1 - 1);
  EXPECT_EQ(Painter->GetSize(2), 1 * 10 + 2);
  EXPECT_EQ(Painter->GetSize(6), 18 * 10 + 2);
  EXPECT_EQ(Painter->GetSize(8), 19 * 10 + 2 - 1);
  EXPECT_EQ(Painter->GetSize(14), 22);
  EXPECT_EQ(Painter->GetSize(30), 0);
  EXPECT_TRUE(TRecordingPainter::Log.empty()) << "no fallback needed so far";
  EXPECT_EQ(Painter->GetSize(28), 128) << "the fake reads no ComboBox size";
  TFakeStyle::Missing.insert(L"Window");
  ClearThemeCache();
  EXPECT_EQ(Painter->GetSize(2), 102);
  EXPECT_EQ(Painter->GetSize(0), 100) << "the fallback's size as it is, nothing taken off";
}

TEST_F(KsThemeXPTest, AMissingClassOrPartDrawsThroughTheFallbackPainter) {
  TFakeStyle::Missing.insert(L"ExplorerBar");
  Painter->DrawBarHeader(Bitmap.get(), R, "Tasks");
  Painter->DrawBarBackground(Bitmap.get(), R, 0, 1);
  Hide(L"Window", 18);
  Painter->DrawCaptionButton(Bitmap.get(), R, 0, false, false, true, kbsStandard);
  Painter->DrawCaptionButton(Bitmap.get(), R, 1, false, false, true, kbsStandard);
  ASSERT_EQ(TFakeStyle::Draws.size(), 1u) << "only the help button is the style's";
  EXPECT_EQ(TFakeStyle::Draws[0].Part, 23);
  const std::vector<S> Expected = {S::Create, S::DrawBarHeader, S::DrawBarBackground,
                                   S::DrawCaptionButton};
  EXPECT_EQ(TRecordingPainter::Log, Expected) << "one fallback painter, made on first need";

  // A group box without its class has no fallback: it draws nothing.
  TFakeStyle::Missing.insert(L"Button");
  ClearThemeCache();
  Painter->DrawGroupBox(Bitmap.get(), TRect{0, 0, 100, 30}, TRect{8, 0, 40, 12}, "Box");
  EXPECT_EQ(TRecordingPainter::Log.size(), Expected.size());
}

TEST_F(KsThemeXPTest, MenusWithoutTheStylesPartsDrawThemselvesInThePaintersColours) {
  TOwned<TKsCustomItem> Item(NewObject<TKsCustomItem>(nullptr));
  Item->SetCaption("Close");
  const TRect Row{0, 0, 120, 22};
  const TKsColor Menu = ColorToKsColor(clMenu, 255);
  Hide(L"Menu", 1);
  Hide(L"Menu", 3);
  Bitmap->Fill(0xFF00FF00);
  Painter->DrawPopupItem(Bitmap.get(), Item.get(), Row, false, true);
  EXPECT_TRUE(TFakeStyle::Draws.empty());
  EXPECT_EQ(Bitmap->GetPixel(2, 2) | 0xFF000000, Menu | 0xFF000000) << "the row is filled";
  int Ink = 0;
  for (int X = 26; X < 80; ++X)
    for (int Y = 0; Y < 22; ++Y)
      if ((Bitmap->GetPixel(X, Y) & 0xFFFFFF) != (Menu & 0xFFFFFF)) ++Ink;
  EXPECT_GT(Ink, 20) << "the caption is drawn";

  // Where the part is defined, its background is the style's and the caption follows.
  TFakeStyle::Undefined.clear();
  Bitmap->Fill(0xFF00FF00);
  Painter->DrawPopupItem(Bitmap.get(), Item.get(), Row, true, false);
  EXPECT_EQ(Only(), T3(L"Menu", 1, 2));
  EXPECT_EQ(Bitmap->GetPixel(2, 2) & 0xFFFFFF, 0x00FF00u) << "the fake style drew no background";
  Ink = 0;
  for (int X = 26; X < 80; ++X)
    for (int Y = 0; Y < 22; ++Y)
      if ((Bitmap->GetPixel(X, Y) & 0xFFFFFF) != 0x00FF00) ++Ink;
  EXPECT_GT(Ink, 20) << "the caption is drawn over the style's background";
}

// Wine's own style: the project's prefix provides visual styles (IsAppThemed is
// true there), so their absence is a broken prefix and fails every test here.
class KsThemeXPWineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(IsVisualStyleAvailable()) << "the prefix has no visual styles"; }
};

TEST_F(KsThemeXPWineTest, ThePainterIsRegisteredAsTheNativeOneAndDrawsTheStylesButton) {
  EXPECT_EQ(FindTheme("XP ThemeAPI"), &TTeThemeXP::StaticClass());
  EXPECT_EQ(NativeThemeClass, &TTeThemeXP::StaticClass());
  TOwned<TTeThemeXP> Painter(NewObject<TTeThemeXP>());
  TOwned<TKsBitmap> Bitmap(NewObject<TKsBitmap>());
  Bitmap->SetSize(73, 25);
  Bitmap->Fill(0xFF00FF00);
  Painter->DrawButton(Bitmap.get(), 73, 25, tdsNormal);
  EXPECT_NE(Bitmap->GetPixel(36, 12) & 0xFFFFFF, 0x00FF00u) << "the face is painted";
  EXPECT_GT(Painter->GetSize(2), 10) << "the caption height is the style's";
  HRGN Region = Painter->GetWindowRegion(200, 100, kbsStandard);
  if (Region) DeleteCountedObject(Region);
}

TEST_F(KsThemeXPWineTest, TheSystemMenusItemsShowTheirCaptions) {
  // Wine's "Menu" class lacks the popup part: the item draws itself.
  TOwned<TTeThemeXP> Painter(NewObject<TTeThemeXP>());
  TOwned<TKsBitmap> Bitmap(NewObject<TKsBitmap>());
  TOwned<TKsCustomItem> Item(NewObject<TKsCustomItem>(nullptr));
  Item->SetCaption("Close");
  Bitmap->SetSize(120, 22);
  Bitmap->Fill(0xFF00FF00);
  Painter->DrawPopupItem(Bitmap.get(), Item.get(), TRect{0, 0, 120, 22}, false, true);
  const TKsColor Back = Bitmap->GetPixel(2, 2) & 0xFFFFFF;
  EXPECT_NE(Back, 0x00FF00u);
  int Ink = 0;
  for (int X = 26; X < 80; ++X)
    for (int Y = 0; Y < 22; ++Y)
      if ((Bitmap->GetPixel(X, Y) & 0xFFFFFF) != Back) ++Ink;
  EXPECT_GT(Ink, 20);
}

}  // namespace
