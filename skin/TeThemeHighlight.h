// The painter "Highlight": flat faces in a small palette of blues with a warm orange
// for the hot state, 1-pixel rounded outlines in dark blue, raised and sunken bevels
// made by lightening and darkening the face by 30, and Tahoma fonts. Every slot is
// drawn with the kit bitmap's own operations (and DrawFrameControl for a few glyphs).
// It can always draw.
//
// The Lines painter (TeThemeLines) shares all of this drawing; what it changes goes
// through the protected hooks: the base colour table, the caption band, the ruling of
// highlighted areas and the grip's colour.
#pragma once

#include "skin/KsThemeThemes.h"

class TTeThemeHighlight : public TTeTheme {
  TCLASS_DECL(TTeThemeHighlight, TTeTheme)
 public:
  TTeThemeHighlight() = default;
  ~TTeThemeHighlight() override;

  static void GetName(AnsiString& Name) { Name = "Highlight"; }
  static bool IsAvailable() { return true; }

  // Nothing to re-derive: GetColor shifts at each call.
  void UpdateColors() override {}
  int GetSize(Byte Kind) override;
  // The base colour of the table, resolved to RGB, its hue shifted by DeltaHue, then
  // DeltaBrightness added to each channel (clamped); 26 and above give red.
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
  // Rect is the bar, FilledRect its filled part.
  void DrawProgressChunk(TKsBitmap* Bitmap, const TRect& Rect, const TRect& FilledRect,
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
  // A disabled button (state 3) draws the disabled look: a face of colour 11 (6 when
  // flat) in an outline of colour 9.
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

  // The painter's colour Index as a kit colour.
  TKsColor Color(Byte Index) { return ColorToKsColor(GetColor(Index), 255); }
  // Draw state 3 colour 9, 2 and 4 colour 8, 1 colour 12, else colour 11.
  TKsColor StateFace(Byte State);

 protected:
  // The colour of the table before the shifts (a system colour or an RGB one).
  virtual TColor BaseColor(Byte Index);
  // The caption band of the window frame.
  virtual void DrawCaptionBand(TKsBitmap* Bitmap, const TRect& Band, bool Active);
  // A highlighted area after its fill: the Highlight painter leaves it as it is.
  virtual void RuleHighlight(TKsBitmap* /*Bitmap*/, const TRect& /*Rect*/, int /*FirstRow*/) {}
  // The colour of the gripper's grip.
  virtual Byte GripColorIndex() { return 11; }

  // A white bitmap of Width x Height for the system glyphs whose black pixels are
  // stamped onto the canvas; kept and reused across paints (empty when the size
  // cannot be had).
  TKsBitmap* Scratch(int Width, int Height);

 private:
  TKsBitmap* FScratch = nullptr;
};

// 1-pixel lines in the kit shadow colour, as wide as Rect, on its rows FirstRow + 3i.
void RuleRows(TKsBitmap* Bitmap, const TRect& Rect, int FirstRow);

// The unit's start (registers the painter) and end.
void InitTeThemeHighlight();
void DoneTeThemeHighlight();
