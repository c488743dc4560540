// The visual-styles painter "XP ThemeAPI": every element drawn by the system's visual
// style (through the binding of TeThemeXPImpl), named by class, part and state. It
// keeps no artwork; a few slots fill with system colours. Where the style lacks a
// slot's class, or the part the slot draws, the slot draws its own fallback or, where
// it has none, what the bitmap-atlas painter (FallbackThemeClass) draws; menus then
// draw themselves in this painter's colours and fonts.
#pragma once

#include "skin/KsThemeThemes.h"
#include "skin/TeThemeXPImpl.h"

// The painter that draws what the visual style cannot: the atlas painter, set by its
// unit (nullptr: such slots draw nothing).
extern TTeThemeClass FallbackThemeClass;

class TTeThemeXP : public TTeTheme {
  TCLASS_DECL(TTeThemeXP, TTeTheme)
 public:
  TTeThemeXP() = default;
  ~TTeThemeXP() override;

  static void GetName(AnsiString& Name) { Name = "XP ThemeAPI"; }
  static bool IsAvailable() { return IsVisualStyleAvailable(); }

  void UpdateColors() override {}
  // Part sizes of the style's "Window" class (others where named); a size it cannot
  // read is the atlas painter's.
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

  // The painter of the slots the style cannot draw (made on first use; nullptr when
  // there is no fallback class).
  TTeTheme* Fallback();

 private:
  TTeTheme* FFallback = nullptr;
};

// The unit's start (loads the visual-styles library; registers the painter when visual
// styles are available and makes it the engine's native painter) and end (unregisters
// it, closes the cached handles, then unloads the library).
void InitKsThemeXP();
void DoneKsThemeXP();
