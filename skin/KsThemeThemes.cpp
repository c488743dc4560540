#include "skin/KsThemeThemes.h"

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/FormatSettings.h"

TCLASS_IMPL(TTeTheme)

void TTeTheme::SetDeltaHue(int Value) {
  if (Value == FDeltaHue) return;
  FDeltaHue = Value;
  UpdateColors();
}

void TTeTheme::SetDeltaBrightness(int Value) {
  if (Value == FDeltaBrightness) return;
  FDeltaBrightness = Value;
  UpdateColors();
}

bool TTeTheme::UseRightToLeftReading() const {
  return SysLocale.MiddleEast && FBiDiMode != bdLeftToRight;
}

bool TTeTheme::UseRightToLeftAlignment() const {
  return SysLocale.MiddleEast && FBiDiMode == bdRightToLeft;
}

UINT TTeTheme::DrawTextBiDiModeFlagsReadingOnly() const {
  return UseRightToLeftReading() ? DT_RTLREADING : 0;
}

UINT TTeTheme::DrawTextBiDiModeFlags(UINT Flags) const {
  if (UseRightToLeftAlignment()) {
    if (Flags & DT_RIGHT)
      Flags &= ~static_cast<UINT>(DT_RIGHT);
    else if (!(Flags & DT_CENTER))
      Flags |= DT_RIGHT;
  }
  return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

// The base painter draws nothing and has no sizes, colours, fonts or regions.

void TTeTheme::UpdateColors() {}

int TTeTheme::GetSize(Byte /*Kind*/) { return 0; }

TColor TTeTheme::GetColor(Byte /*Index*/) { return 0; }

void TTeTheme::GetFontName(Byte /*Kind*/, AnsiString& /*Name*/) {}

int TTeTheme::GetFontSize(Byte /*Kind*/) { return 0; }

TFontStyles TTeTheme::GetFontStyle(Byte /*Kind*/) { return {}; }

void TTeTheme::DrawCaptionButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                                 Byte /*Button*/, bool /*Hot*/, bool /*Pressed*/,
                                 bool /*Active*/, TKsBorderStyle /*BorderStyle*/) {}

void TTeTheme::DrawWindowFrame(TKsBitmap* /*Bitmap*/, int /*Width*/, int /*Height*/,
                               const TRect& /*ClientRect*/, bool /*Active*/,
                               TKsBorderStyle /*BorderStyle*/) {}

void TTeTheme::MeasureMenuBarItem(TKsBitmap* /*Bitmap*/, TKsCustomItem* /*Item*/,
                                  int& /*Width*/, int& /*Height*/) {}

void TTeTheme::MeasurePopupItem(TKsBitmap* /*Bitmap*/, TKsCustomItem* /*Item*/,
                                int& /*Width*/, int& /*Height*/) {}

void TTeTheme::DrawMenuBarBackground(TKsBitmap* /*Bitmap*/, int /*Width*/, int /*Height*/) {
}

void TTeTheme::DrawMenuBarItem(TKsBitmap* /*Bitmap*/, TKsCustomItem* /*Item*/,
                               const TRect& /*Rect*/, bool /*Selected*/, bool /*Raised*/) {}

void TTeTheme::DrawMenuBarMDIButton(TKsBitmap* /*Bitmap*/, TKsCustomItem* /*Item*/,
                                    const TRect& /*Rect*/, bool /*Selected*/,
                                    bool /*Raised*/) {}

void TTeTheme::DrawPopupBackground(TKsBitmap* /*Bitmap*/, int /*Width*/, int /*Height*/) {}

void TTeTheme::DrawPopupItem(TKsBitmap* /*Bitmap*/, TKsCustomItem* /*Item*/,
                             const TRect& /*Rect*/, bool /*Selected*/, bool /*Raised*/) {}

void TTeTheme::DrawButton(TKsBitmap* /*Bitmap*/, int /*Width*/, int /*Height*/,
                          Byte /*State*/) {}

void TTeTheme::DrawCheckBox(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*State*/,
                            Byte /*CheckState*/) {}

void TTeTheme::DrawRadioButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*State*/,
                               bool /*Checked*/) {}

void TTeTheme::DrawTrackThumb(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                              bool /*Vertical*/, Byte /*Pointer*/, Byte /*State*/) {}

void TTeTheme::DrawTrackBar(TKsBitmap* /*Bitmap*/, const TRect& /*ChannelRect*/,
                            const TRect& /*SelectionRect*/) {}

void TTeTheme::DrawProgressBar(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/) {}

void TTeTheme::DrawProgressChunk(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                                 const TRect& /*BarRect*/, bool /*Vertical*/,
                                 bool /*Smooth*/) {}

void TTeTheme::DrawBarBackground(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                                 Integer /*Param1*/, Integer /*Param2*/) {}

void TTeTheme::DrawBarHeader(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                             const AnsiString& /*Caption*/) {}

void TTeTheme::DrawBarButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*State*/,
                             Byte /*Kind*/, bool /*Hot*/) {}

void TTeTheme::DrawGroupBox(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                            const TRect& /*CaptionRect*/, const AnsiString& /*Caption*/) {}

void TTeTheme::DrawScrollTrack(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                               bool /*Vertical*/) {}

void TTeTheme::DrawScrollArrow(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                               Byte /*Vertical*/, bool /*UpOrLeft*/, Byte /*State*/) {}

void TTeTheme::DrawScrollThumb(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                               Byte /*Vertical*/, Byte /*State*/) {}

void TTeTheme::DrawTabPane(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/) {}

void TTeTheme::DrawTabItem(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*Position*/,
                           Byte /*State*/) {}

void TTeTheme::DrawSpinButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, bool /*Up*/,
                              Byte /*Reserved*/, Byte /*State*/) {}

void TTeTheme::DrawEditFrame(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*State*/) {
}

void TTeTheme::DrawComboButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                               Byte /*State*/) {}

void TTeTheme::DrawToolButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*State*/,
                              bool /*Flat*/, bool /*Checked*/) {}

void TTeTheme::DrawToolDropDown(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                                Byte /*State*/, bool /*Flat*/, bool /*Checked*/) {}

void TTeTheme::DrawToolBarBackground(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/) {}

void TTeTheme::DrawGripper(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/,
                           const TRect& /*BarRect*/) {}

void TTeTheme::DrawPanelBackground(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/) {}

void TTeTheme::DrawArrowButton(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Byte /*State*/,
                               Integer /*Reserved*/) {}

void TTeTheme::DrawCell(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, Integer /*Flags*/) {}

HRGN TTeTheme::GetWindowRegion(int /*Width*/, int /*Height*/,
                               TKsBorderStyle /*BorderStyle*/) {
  return nullptr;
}

// ---------------------------------------------------------------------------------
// Registry

namespace {

// Made on the first registration, freed when the unit ends.
std::vector<TTeThemeClass>* Registry = nullptr;

}  // namespace

void RegisterTheme(TTeThemeClass AClass) {
  if (!Registry) Registry = new std::vector<TTeThemeClass>;
  Registry->push_back(AClass);
}

void UnregisterTheme(TTeThemeClass AClass) {
  if (!Registry) return;
  std::erase(*Registry, AClass);
}

int ThemeCount() { return Registry ? static_cast<int>(Registry->size()) : 0; }

TTeThemeClass Themes(int Index) {
  if (Index < 0 || Index >= ThemeCount()) throw EListError(SListIndexError, {Index});
  return (*Registry)[static_cast<std::size_t>(Index)];
}

TTeThemeClass FindTheme(const AnsiString& Name) {
  for (int I = 0; I < ThemeCount(); ++I) {
    TTeThemeClass Candidate = Themes(I);
    if (Candidate->Name() == Name) return Candidate;
  }
  return nullptr;
}

void InitKsThemeThemes() { RegisterTheme(&TTeTheme::StaticClass()); }

void DoneKsThemeThemes() {
  delete Registry;
  Registry = nullptr;
}
