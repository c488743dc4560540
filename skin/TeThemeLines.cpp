#include "skin/TeThemeLines.h"

TCLASS_IMPL(TTeThemeLines)

TColor TTeThemeLines::BaseColor(Byte Index) {
  switch (Index) {
    case 0: return KsColorToColor(KsColorSky);
    case 1: return KsColorToColor(KsColorShadow);
    case 11: return KsColorToColor(KsColorFace);
    case 14:
    case 16: return KsColorToColor(KsColorWindow);
    default: return inherited::BaseColor(Index);
  }
}

void TTeThemeLines::DrawCaptionBand(TKsBitmap* Bitmap, const TRect& Band, bool Active) {
  Bitmap->FillRect(Band, Color(Active ? 0 : 1));
  RuleRows(Bitmap, Band, 0);
  Bitmap->RoundRect(Band, 3, Color(7));
}

void InitTeThemeLines() { RegisterTheme(&TTeThemeLines::StaticClass()); }

void DoneTeThemeLines() { UnregisterTheme(&TTeThemeLines::StaticClass()); }
