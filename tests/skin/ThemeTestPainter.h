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

// A drawing slot that only notes its call.
#define RECORDED_SLOT(Name, ...) \
  void Name(__VA_ARGS__) override { Log.push_back(S::Name); }

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
  RECORDED_SLOT(DrawCaptionButton, TKsBitmap*, const TRect&, Byte, bool, bool, bool, TKsBorderStyle)
  RECORDED_SLOT(DrawWindowFrame, TKsBitmap*, int, int, const TRect&, bool, TKsBorderStyle)
  RECORDED_SLOT(MeasureMenuBarItem, TKsBitmap*, TKsCustomItem*, int&, int&)
  RECORDED_SLOT(MeasurePopupItem, TKsBitmap*, TKsCustomItem*, int&, int&)
  RECORDED_SLOT(DrawMenuBarBackground, TKsBitmap*, int, int)
  RECORDED_SLOT(DrawMenuBarItem, TKsBitmap*, TKsCustomItem*, const TRect&, bool, bool)
  RECORDED_SLOT(DrawMenuBarMDIButton, TKsBitmap*, TKsCustomItem*, const TRect&, bool, bool)
  RECORDED_SLOT(DrawPopupBackground, TKsBitmap*, int, int)
  RECORDED_SLOT(DrawPopupItem, TKsBitmap*, TKsCustomItem*, const TRect&, bool, bool)
  void DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) override {
    Log.push_back(S::DrawButton);
    ButtonCalls.push_back({Width, Height, State});
    if (Bitmap) Bitmap->FillRect(TRect{0, 0, Width, Height}, RecorderButtonColor);
  }
  RECORDED_SLOT(DrawCheckBox, TKsBitmap*, const TRect&, Byte, Byte)
  RECORDED_SLOT(DrawRadioButton, TKsBitmap*, const TRect&, Byte, bool)
  RECORDED_SLOT(DrawTrackThumb, TKsBitmap*, const TRect&, bool, Byte, Byte)
  RECORDED_SLOT(DrawTrackBar, TKsBitmap*, const TRect&, const TRect&)
  RECORDED_SLOT(DrawProgressBar, TKsBitmap*, const TRect&)
  RECORDED_SLOT(DrawProgressChunk, TKsBitmap*, const TRect&, const TRect&, bool, bool)
  RECORDED_SLOT(DrawBarBackground, TKsBitmap*, const TRect&, Integer, Integer)
  RECORDED_SLOT(DrawBarHeader, TKsBitmap*, const TRect&, const AnsiString&)
  RECORDED_SLOT(DrawBarButton, TKsBitmap*, const TRect&, Byte, Byte, bool)
  RECORDED_SLOT(DrawGroupBox, TKsBitmap*, const TRect&, const TRect&, const AnsiString&)
  RECORDED_SLOT(DrawScrollTrack, TKsBitmap*, const TRect&, bool)
  RECORDED_SLOT(DrawScrollArrow, TKsBitmap*, const TRect&, Byte, bool, Byte)
  RECORDED_SLOT(DrawScrollThumb, TKsBitmap*, const TRect&, Byte, Byte)
  RECORDED_SLOT(DrawTabPane, TKsBitmap*, const TRect&)
  RECORDED_SLOT(DrawTabItem, TKsBitmap*, const TRect&, Byte, Byte)
  RECORDED_SLOT(DrawSpinButton, TKsBitmap*, const TRect&, bool, Byte, Byte)
  RECORDED_SLOT(DrawEditFrame, TKsBitmap*, const TRect&, Byte)
  RECORDED_SLOT(DrawComboButton, TKsBitmap*, const TRect&, Byte)
  RECORDED_SLOT(DrawToolButton, TKsBitmap*, const TRect&, Byte, bool, bool)
  RECORDED_SLOT(DrawToolDropDown, TKsBitmap*, const TRect&, Byte, bool, bool)
  RECORDED_SLOT(DrawToolBarBackground, TKsBitmap*, const TRect&)
  RECORDED_SLOT(DrawGripper, TKsBitmap*, const TRect&, const TRect&)
  RECORDED_SLOT(DrawPanelBackground, TKsBitmap*, const TRect&)
  RECORDED_SLOT(DrawArrowButton, TKsBitmap*, const TRect&, Byte, Integer)
  RECORDED_SLOT(DrawCell, TKsBitmap*, const TRect&, Integer)
  HRGN GetWindowRegion(int, int, TKsBorderStyle) override {
    Log.push_back(S::GetWindowRegion);
    return nullptr;
  }
};

#undef RECORDED_SLOT

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
  TThemeRegistryScope()
      : FLocale(SysLocale), FRefresher(ThemeFormRefresher), FDefault(DefaultThemeClass),
        FNative(NativeThemeClass) {
    TRecordingPainter::ResetCounters();
    RegisterTheme(RecorderClass());
    RegisterTheme(OtherClass());
  }
  ~TThemeRegistryScope() {
    UnregisterTheme(RecorderClass());
    UnregisterTheme(OtherClass());
    DefaultThemeClass = FDefault;
    NativeThemeClass = FNative;
    ThemeFormRefresher = FRefresher;
    SysLocale = FLocale;
  }
  TThemeRegistryScope(const TThemeRegistryScope&) = delete;
  TThemeRegistryScope& operator=(const TThemeRegistryScope&) = delete;

 private:
  TSysLocale FLocale;
  TThemeFormRefresher FRefresher;
  TTeThemeClass FDefault;
  TTeThemeClass FNative;
};

}  // namespace themetest
