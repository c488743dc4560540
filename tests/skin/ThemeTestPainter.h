// Painters for the theme tests. TRecordingPainter ("Recorder") logs every slot it is
// called through, counts how many of it are made and freed, remembers the deltas it
// re-derived its colours for, and paints DrawButton's bitmap in one colour so that a
// test can see the painter's face. TOtherPainter ("Other") draws nothing and is always
// available. TThemeRegistryScope registers both for a test and puts the engine's
// module-wide settings back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "classlib/FormatSettings.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeThemes.h"

namespace themetest {

inline constexpr TKsColor RecorderButtonColor = 0xFF10A050;
inline constexpr TColor RecorderFormColor = 0x00123456;

struct TButtonCall {
  int Width;
  int Height;
  Byte State;
};

class TRecordingPainter : public TTeTheme {
  TCLASS_DECL(TRecordingPainter, TTeTheme)
 public:
  using S = TTeThemeSlot;

  TRecordingPainter() {
    Log.push_back(S::Create);
    ++Made;
  }
  ~TRecordingPainter() override { ++Freed; }

  // Every slot call of every recording painter, in order.
  inline static std::vector<TTeThemeSlot> Log;
  inline static bool Available = true;
  inline static int Made = 0;
  inline static int Freed = 0;
  static void ResetCounters() {
    Log.clear();
    Available = true;
    Made = 0;
    Freed = 0;
  }

  // (DeltaHue, DeltaBrightness) at each UpdateColors.
  std::vector<std::pair<int, int>> ColorUpdates;
  std::vector<TButtonCall> ButtonCalls;

  static void GetName(AnsiString& Name) {
    Log.push_back(S::GetName);
    Name = "Recorder";
  }
  static bool IsAvailable() {
    Log.push_back(S::IsAvailable);
    return Available;
  }

  void UpdateColors() override {
    Log.push_back(S::UpdateColors);
    ColorUpdates.emplace_back(DeltaHue(), DeltaBrightness());
  }
  int GetSize(Byte Kind) override {
    Log.push_back(S::GetSize);
    return 100 + Kind;
  }
  TColor GetColor(Byte Index) override {
    Log.push_back(S::GetColor);
    return Index == 6 ? RecorderFormColor : 0;
  }
  void GetFontName(Byte, AnsiString& Name) override {
    Log.push_back(S::GetFontName);
    Name = "Recorder Sans";
  }
  int GetFontSize(Byte) override {
    Log.push_back(S::GetFontSize);
    return 9;
  }
  TFontStyles GetFontStyle(Byte) override {
    Log.push_back(S::GetFontStyle);
    return TFontStyles{fsBold};
  }
  void DrawCaptionButton(TKsBitmap*, const TRect&, Byte, bool, bool, bool,
                         TKsBorderStyle) override {
    Log.push_back(S::DrawCaptionButton);
  }
  void DrawWindowFrame(TKsBitmap*, int, int, const TRect&, bool, TKsBorderStyle) override {
    Log.push_back(S::DrawWindowFrame);
  }
  void MeasureMenuBarItem(TKsBitmap*, TKsCustomItem*, int&, int&) override {
    Log.push_back(S::MeasureMenuBarItem);
  }
  void MeasurePopupItem(TKsBitmap*, TKsCustomItem*, int&, int&) override {
    Log.push_back(S::MeasurePopupItem);
  }
  void DrawMenuBarBackground(TKsBitmap*, int, int) override {
    Log.push_back(S::DrawMenuBarBackground);
  }
  void DrawMenuBarItem(TKsBitmap*, TKsCustomItem*, const TRect&, bool, bool) override {
    Log.push_back(S::DrawMenuBarItem);
  }
  void DrawMenuBarMDIButton(TKsBitmap*, TKsCustomItem*, const TRect&, bool, bool) override {
    Log.push_back(S::DrawMenuBarMDIButton);
  }
  void DrawPopupBackground(TKsBitmap*, int, int) override {
    Log.push_back(S::DrawPopupBackground);
  }
  void DrawPopupItem(TKsBitmap*, TKsCustomItem*, const TRect&, bool, bool) override {
    Log.push_back(S::DrawPopupItem);
  }
  void DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) override {
    Log.push_back(S::DrawButton);
    ButtonCalls.push_back({Width, Height, State});
    if (Bitmap) Bitmap->FillRect(TRect{0, 0, Width, Height}, RecorderButtonColor);
  }
  void DrawCheckBox(TKsBitmap*, const TRect&, Byte, Byte) override {
    Log.push_back(S::DrawCheckBox);
  }
  void DrawRadioButton(TKsBitmap*, const TRect&, Byte, bool) override {
    Log.push_back(S::DrawRadioButton);
  }
  void DrawTrackThumb(TKsBitmap*, const TRect&, bool, Byte, Byte) override {
    Log.push_back(S::DrawTrackThumb);
  }
  void DrawTrackBar(TKsBitmap*, const TRect&, const TRect&) override {
    Log.push_back(S::DrawTrackBar);
  }
  void DrawProgressBar(TKsBitmap*, const TRect&) override {
    Log.push_back(S::DrawProgressBar);
  }
  void DrawProgressChunk(TKsBitmap*, const TRect&, const TRect&, bool, bool) override {
    Log.push_back(S::DrawProgressChunk);
  }
  void DrawBarBackground(TKsBitmap*, const TRect&, Integer, Integer) override {
    Log.push_back(S::DrawBarBackground);
  }
  void DrawBarHeader(TKsBitmap*, const TRect&, const AnsiString&) override {
    Log.push_back(S::DrawBarHeader);
  }
  void DrawBarButton(TKsBitmap*, const TRect&, Byte, Byte, bool) override {
    Log.push_back(S::DrawBarButton);
  }
  void DrawGroupBox(TKsBitmap*, const TRect&, const TRect&, const AnsiString&) override {
    Log.push_back(S::DrawGroupBox);
  }
  void DrawScrollTrack(TKsBitmap*, const TRect&, bool) override {
    Log.push_back(S::DrawScrollTrack);
  }
  void DrawScrollArrow(TKsBitmap*, const TRect&, Byte, bool, Byte) override {
    Log.push_back(S::DrawScrollArrow);
  }
  void DrawScrollThumb(TKsBitmap*, const TRect&, Byte, Byte) override {
    Log.push_back(S::DrawScrollThumb);
  }
  void DrawTabPane(TKsBitmap*, const TRect&) override { Log.push_back(S::DrawTabPane); }
  void DrawTabItem(TKsBitmap*, const TRect&, Byte, Byte) override {
    Log.push_back(S::DrawTabItem);
  }
  void DrawSpinButton(TKsBitmap*, const TRect&, bool, Byte, Byte) override {
    Log.push_back(S::DrawSpinButton);
  }
  void DrawEditFrame(TKsBitmap*, const TRect&, Byte) override {
    Log.push_back(S::DrawEditFrame);
  }
  void DrawComboButton(TKsBitmap*, const TRect&, Byte) override {
    Log.push_back(S::DrawComboButton);
  }
  void DrawToolButton(TKsBitmap*, const TRect&, Byte, bool, bool) override {
    Log.push_back(S::DrawToolButton);
  }
  void DrawToolDropDown(TKsBitmap*, const TRect&, Byte, bool, bool) override {
    Log.push_back(S::DrawToolDropDown);
  }
  void DrawToolBarBackground(TKsBitmap*, const TRect&) override {
    Log.push_back(S::DrawToolBarBackground);
  }
  void DrawGripper(TKsBitmap*, const TRect&, const TRect&) override {
    Log.push_back(S::DrawGripper);
  }
  void DrawPanelBackground(TKsBitmap*, const TRect&) override {
    Log.push_back(S::DrawPanelBackground);
  }
  void DrawArrowButton(TKsBitmap*, const TRect&, Byte, Integer) override {
    Log.push_back(S::DrawArrowButton);
  }
  void DrawCell(TKsBitmap*, const TRect&, Integer) override { Log.push_back(S::DrawCell); }
  HRGN GetWindowRegion(int, int, TKsBorderStyle) override {
    Log.push_back(S::GetWindowRegion);
    return nullptr;
  }
};

class TOtherPainter : public TTeTheme {
  TCLASS_DECL(TOtherPainter, TTeTheme)
 public:
  static void GetName(AnsiString& Name) { Name = "Other"; }
  static bool IsAvailable() { return true; }
};

inline TTeThemeClass RecorderClass() { return &TRecordingPainter::StaticClass(); }
inline TTeThemeClass OtherClass() { return &TOtherPainter::StaticClass(); }

// Registers the test painters and restores the engine's module-wide settings, the
// registry and SysLocale when the test ends.
class TThemeRegistryScope {
 public:
  TThemeRegistryScope() : FLocale(SysLocale) {
    TRecordingPainter::ResetCounters();
    RegisterTheme(RecorderClass());
    RegisterTheme(OtherClass());
  }
  ~TThemeRegistryScope() {
    UnregisterTheme(RecorderClass());
    UnregisterTheme(OtherClass());
    DefaultThemeClass = nullptr;
    NativeThemeClass = nullptr;
    ThemeFormRefresher = nullptr;
    SysLocale = FLocale;
  }
  TThemeRegistryScope(const TThemeRegistryScope&) = delete;
  TThemeRegistryScope& operator=(const TThemeRegistryScope&) = delete;

 private:
  TSysLocale FLocale;
};

}  // namespace themetest
