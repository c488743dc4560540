// The painter "Lines": the Highlight painter with a lighter palette (light-blue
// active captions, window-coloured menus, the face colour captured when the kit
// started) whose highlighted areas (the caption band, the selected menu-bar item, the
// selected popup item) are ruled with thin lines every 3 pixels. It can always draw.
#pragma once

#include "skin/TeThemeHighlight.h"

class TTeThemeLines : public TTeThemeHighlight {
  TCLASS_DECL(TTeThemeLines, TTeThemeHighlight)
 public:
  TTeThemeLines() = default;

  static void GetName(AnsiString& Name) { Name = "Lines"; }
  static bool IsAvailable() { return true; }

 protected:
  TColor BaseColor(Byte Index) override;
  // Filled flat with colour 0 or 1, ruled on the window rows that are multiples of 3,
  // outlined in colour 7.
  void DrawCaptionBand(TKsBitmap* Bitmap, const TRect& Band, bool Active) override;
  void RuleHighlight(TKsBitmap* Bitmap, const TRect& Rect, int FirstRow) override {
    RuleRows(Bitmap, Rect, FirstRow);
  }
  Byte GripColorIndex() override { return 8; }
};

// The unit's start (registers the painter) and end.
void InitTeThemeLines();
void DoneTeThemeLines();
