// The bitmap-atlas painter "Luna": nearly everything is copied out of two atlases in
// the program's resources (XP_MAIN, the active look, and XP_MAIN1, the inactive look
// with the scroll, track and tab pieces); the rest is filled or outlined in its own
// colour table, shifted by the painter's hue and brightness deltas. It can always
// draw; a new theme engine starts with it.
#pragma once

#include "skin/KsThemeThemes.h"

class TTeThemeLuna : public TTeTheme {
  TCLASS_DECL(TTeThemeLuna, TTeTheme)
 public:
  // Loads both atlases; a missing resource raises the class library's resource error.
  TTeThemeLuna();
  ~TTeThemeLuna() override;

  static void GetName(AnsiString& Name) { Name = "Luna"; }
  static bool IsAvailable() { return true; }

  TKsBitmap* MainAtlas() const { return FMainAtlas; }
  TKsBitmap* AltAtlas() const { return FAltAtlas; }

  // Reloads the atlases and shifts them by the deltas (which never accumulate).
  void UpdateColors() override;
  int GetSize(Byte Kind) override;
  TColor GetColor(Byte Index) override;
  void GetFontName(Byte Kind, AnsiString& Name) override;
  int GetFontSize(Byte Kind) override;
  TFontStyles GetFontStyle(Byte Kind) override;

  void DrawCaptionButton(TKsBitmap* Bitmap, const TRect& Rect, Byte Button, bool Hot,
                         bool Pressed, bool Active, TKsBorderStyle BorderStyle) override;
  void DrawWindowFrame(TKsBitmap* Bitmap, int Width, int Height, const TRect& ClientRect,
                       bool Active, TKsBorderStyle BorderStyle) override;
  void MeasureMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width,
                          int& Height) override;
  void MeasurePopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width,
                        int& Height) override;
  void DrawMenuBarBackground(TKsBitmap* Bitmap, int Width, int Height) override;
  void DrawMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                       bool Selected, bool Raised) override;
  void DrawMenuBarMDIButton(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                            bool Selected, bool Raised) override;
  void DrawPopupBackground(TKsBitmap* Bitmap, int Width, int Height) override;
  void DrawPopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                     bool Selected, bool Raised) override;
  void DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) override;
  void DrawCheckBox(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                    Byte CheckState) override;
  void DrawRadioButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                       bool Checked) override;
  void DrawTrackThumb(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical, Byte Pointer,
                      Byte State) override;
  void DrawTrackBar(TKsBitmap* Bitmap, const TRect& ChannelRect,
                    const TRect& SelectionRect) override;
  void DrawProgressBar(TKsBitmap* Bitmap, const TRect& Rect) override;
  void DrawProgressChunk(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect,
                         bool Vertical, bool Smooth) override;
  void DrawBarBackground(TKsBitmap* Bitmap, const TRect& Rect, Integer Param1,
                         Integer Param2) override;
  void DrawBarHeader(TKsBitmap* Bitmap, const TRect& Rect, const AnsiString& Caption) override;
  void DrawBarButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte Kind,
                     bool Hot) override;
  void DrawGroupBox(TKsBitmap* Bitmap, const TRect& Rect, const TRect& CaptionRect,
                    const AnsiString& Caption) override;
  void DrawScrollTrack(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical) override;
  void DrawScrollArrow(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical, bool UpOrLeft,
                       Byte State) override;
  void DrawScrollThumb(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical,
                       Byte State) override;
  void DrawTabPane(TKsBitmap* Bitmap, const TRect& Rect) override;
  void DrawTabItem(TKsBitmap* Bitmap, const TRect& Rect, Byte Position, Byte State) override;
  void DrawSpinButton(TKsBitmap* Bitmap, const TRect& Rect, bool Up, Byte Reserved,
                      Byte State) override;
  void DrawEditFrame(TKsBitmap* Bitmap, const TRect& Rect, Byte State) override;
  void DrawComboButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State) override;
  void DrawToolButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat,
                      bool Checked) override;
  void DrawToolDropDown(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat,
                        bool Checked) override;
  void DrawToolBarBackground(TKsBitmap* Bitmap, const TRect& Rect) override;
  void DrawGripper(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect) override;
  void DrawPanelBackground(TKsBitmap* Bitmap, const TRect& Rect) override;
  void DrawArrowButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                       Integer Reserved) override;
  void DrawCell(TKsBitmap* Bitmap, const TRect& Rect, Integer Flags) override;
  HRGN GetWindowRegion(int Width, int Height, TKsBorderStyle BorderStyle) override;

 private:
  void LoadAtlases();

  TKsBitmap* FMainAtlas = nullptr;
  TKsBitmap* FAltAtlas = nullptr;
};

// The unit's start (registers the painter, makes it the new engines' painter and the
// visual-styles painter's fallback) and end.
void InitKsThemeLuna();
void DoneKsThemeLuna();
