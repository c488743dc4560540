// The painter interface of the themed kit. TTeTheme is the base of every painter:
// 45 operations in a fixed order (TTeThemeSlot numbers them) through which themed
// windows, menus and controls draw their frames, items, buttons, check boxes and the
// rest into a kit bitmap. The base class itself is the painter "No Theme": it draws
// nothing, answers 0 everywhere and is never available, so whoever holds it falls
// back to its unthemed drawing.
//
// Three operations belong to the class rather than to an object: the virtual
// constructor (Create) and the class functions GetName and IsAvailable. They live on
// the painter's metaclass (TTeThemeClass), which reaches the static members of the
// same names in the painter class:
//
//   class TTeThemeMine : public TTeTheme {
//     TCLASS_DECL(TTeThemeMine, TTeTheme)
//    public:
//     static void GetName(AnsiString& Name) { Name = "Mine"; }
//     static bool IsAvailable() { return true; }
//     void DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) override;
//   };
//   // in its unit's start: RegisterTheme(&TTeThemeMine::StaticClass());
//
// The registry of painter classes lets the engine find a painter by its name.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/Objects.h"
#include "classlib/Types.h"
#include "skin/KsBitmap.h"
#include "skin/KsForms.h"

class TTeTheme;
class TKsCustomItem;

// The operations of a painter, numbered in their fixed order.
enum class TTeThemeSlot : Byte {
  UpdateColors = 1,
  Create,
  GetSize,
  GetColor,
  GetFontName,
  GetFontSize,
  GetFontStyle,
  DrawCaptionButton,
  DrawWindowFrame,
  MeasureMenuBarItem,
  MeasurePopupItem,
  DrawMenuBarBackground,
  DrawMenuBarItem,
  DrawMenuBarMDIButton,
  DrawPopupBackground,
  DrawPopupItem,
  DrawButton,
  DrawCheckBox,
  DrawRadioButton,
  DrawTrackThumb,
  DrawTrackBar,
  DrawProgressBar,
  DrawProgressChunk,
  DrawBarBackground,
  DrawBarHeader,
  DrawBarButton,
  DrawGroupBox,
  DrawScrollTrack,
  DrawScrollArrow,
  DrawScrollThumb,
  DrawTabPane,
  DrawTabItem,
  DrawSpinButton,
  DrawEditFrame,
  DrawComboButton,
  DrawToolButton,
  DrawToolDropDown,
  DrawToolBarBackground,
  DrawGripper,
  DrawPanelBackground,
  DrawArrowButton,
  DrawCell,
  GetWindowRegion,
  GetName,
  IsAvailable
};
inline constexpr int TeThemeSlotCount = 45;

// Draw states of the control slots; push buttons add focused and default.
inline constexpr Byte tdsNormal = 0;
inline constexpr Byte tdsHot = 1;
inline constexpr Byte tdsPressed = 2;
inline constexpr Byte tdsDisabled = 3;
inline constexpr Byte tdsFocused = 4;
inline constexpr Byte tdsDefault = 5;

// The metaclass of painters: the virtual constructor and the class functions.
class TTeThemeMetaClass : public TMetaClass {
 public:
  using TMetaClass::TMetaClass;

  // Slot 2: a new painter of this class (NewObject, so AfterConstruction runs).
  virtual TTeTheme* Create() const = 0;
  // Slot 44: the painter's name, as the engine streams it.
  virtual void GetName(AnsiString& Name) const = 0;
  // Slot 45: whether the painter can draw on this system.
  virtual bool IsAvailable() const = 0;

  AnsiString Name() const {
    AnsiString Result;
    GetName(Result);
    return Result;
  }

  template <class T, class Base>
  struct Impl : TMetaClass::Impl<T, Base> {
    using TMetaClass::Impl<T, Base>::Impl;
    TTeTheme* Create() const override { return NewObject<T>(); }
    void GetName(AnsiString& Name) const override { T::GetName(Name); }
    bool IsAvailable() const override { return T::IsAvailable(); }
  };
};
using TTeThemeClass = const TTeThemeMetaClass*;

// The painter. Every drawing slot draws only into the bitmap it is given; rectangles
// are passed by reference. The parameters and the meaning of kinds, indices and
// states are those every themed caller and every painter agree on (see the comments).
class TTeTheme : public TPersistent {
 public:
  using MetaType = TTeThemeMetaClass;
  TCLASS_DECL(TTeTheme, TPersistent)
 public:
  // All three fields start at 0.
  TTeTheme() = default;

  // The class reference of this painter (for Create, GetName and IsAvailable).
  TTeThemeClass ThemeClass() const { return static_cast<TTeThemeClass>(ClassType()); }

  int DeltaHue() const { return FDeltaHue; }
  int DeltaBrightness() const { return FDeltaBrightness; }
  // A changed value is stored and UpdateColors runs; an equal one does nothing.
  void SetDeltaHue(int Value);
  void SetDeltaBrightness(int Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }

  // Right-to-left text only on a Middle-East system (SysLocale).
  bool UseRightToLeftReading() const;
  bool UseRightToLeftAlignment() const;
  // DT_RTLREADING when reading right to left, else 0.
  UINT DrawTextBiDiModeFlagsReadingOnly() const;
  // Flags with the horizontal alignment mirrored when aligning right to left (DT_RIGHT
  // removed, or added unless DT_CENTER is there), plus the reading flag. Painters
  // pass every text-drawing flag set through it.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;

  // 1: re-derives the painter's colours and artwork after a delta change.
  virtual void UpdateColors();
  // 3: a size in pixels. Kinds 0 and 1 frame border width (standard, tool window),
  // 2 and 3 caption height with the top border, 4 caption corner width, 5 and 6
  // caption button width and height, 7 and 8 the same for a tool window, 9 right
  // margin and text gap of the caption buttons, 10 their top offset, 11 the gap
  // between them, 12 and 13 right margin and top offset for a tool window, 14 menu
  // item height, 16 and 17 check-box and radio-button glyph width and height.
  virtual int GetSize(Byte Kind);
  // 4: index 2 caption text shadow (-1: none), 3 active and 5 inactive caption text,
  // 6 a themed form's colour, 11 client, frame ring and group box background.
  virtual TColor GetColor(Byte Index);
  // 5 to 7: font kinds 0 standard caption, 1 tool-window caption, 2 menu-bar item,
  // 3 popup-menu item, 4 side-bar header. GetFontName leaves Name alone when the
  // painter has no font of its own for the kind.
  virtual void GetFontName(Byte Kind, AnsiString& Name);
  virtual int GetFontSize(Byte Kind);
  virtual TFontStyles GetFontStyle(Byte Kind);
  // 8: Button 0 close, 1 help, 2 minimize, 3 maximize, 4 restore, 5 roll up, 6 roll
  // down, 7 minimize to tray.
  virtual void DrawCaptionButton(TKsBitmap* Bitmap, const TRect& Rect, Byte Button,
                                 bool Hot, bool Pressed, bool Active,
                                 TKsBorderStyle BorderStyle);
  // 9
  virtual void DrawWindowFrame(TKsBitmap* Bitmap, int Width, int Height,
                               const TRect& ClientRect, bool Active,
                               TKsBorderStyle BorderStyle);
  // 10, 11
  virtual void MeasureMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width,
                                  int& Height);
  virtual void MeasurePopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width,
                                int& Height);
  // 12 to 16: Selected is the view's hot item, Raised a view that is not tracking.
  virtual void DrawMenuBarBackground(TKsBitmap* Bitmap, int Width, int Height);
  virtual void DrawMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                               bool Selected, bool Raised);
  virtual void DrawMenuBarMDIButton(TKsBitmap* Bitmap, TKsCustomItem* Item,
                                    const TRect& Rect, bool Selected, bool Raised);
  virtual void DrawPopupBackground(TKsBitmap* Bitmap, int Width, int Height);
  virtual void DrawPopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                             bool Selected, bool Raised);
  // 17: State 0..5 (tdsNormal .. tdsDefault).
  virtual void DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State);
  // 18: CheckState 0 unchecked, 1 checked, 2 grayed. 19
  virtual void DrawCheckBox(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                            Byte CheckState);
  virtual void DrawRadioButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                               bool Checked);
  // 20: Pointer 0 none, 1 down or right, 2 up or left. 21
  virtual void DrawTrackThumb(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical,
                              Byte Pointer, Byte State);
  virtual void DrawTrackBar(TKsBitmap* Bitmap, const TRect& ChannelRect,
                            const TRect& SelectionRect);
  // 22, 23
  virtual void DrawProgressBar(TKsBitmap* Bitmap, const TRect& Rect);
  virtual void DrawProgressChunk(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect,
                                 bool Vertical, bool Smooth);
  // 24: only the visual-styles painter reads Param2.
  virtual void DrawBarBackground(TKsBitmap* Bitmap, const TRect& Rect, Integer Param1,
                                 Integer Param2);
  // 25, 26, 27
  virtual void DrawBarHeader(TKsBitmap* Bitmap, const TRect& Rect,
                             const AnsiString& Caption);
  virtual void DrawBarButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte Kind,
                             bool Hot);
  virtual void DrawGroupBox(TKsBitmap* Bitmap, const TRect& Rect, const TRect& CaptionRect,
                            const AnsiString& Caption);
  // 28 to 30: Vertical non-zero for an up or down arrow (a vertical bar's thumb).
  virtual void DrawScrollTrack(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical);
  virtual void DrawScrollArrow(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical,
                               bool UpOrLeft, Byte State);
  virtual void DrawScrollThumb(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical,
                               Byte State);
  // 31, 32: Position 0 top, 1 bottom, 2 left, 3 right of the pane.
  virtual void DrawTabPane(TKsBitmap* Bitmap, const TRect& Rect);
  virtual void DrawTabItem(TKsBitmap* Bitmap, const TRect& Rect, Byte Position, Byte State);
  // 33: painters draw it as DrawScrollArrow(Bitmap, Rect, 0, Up, State); Reserved is
  // ignored.
  virtual void DrawSpinButton(TKsBitmap* Bitmap, const TRect& Rect, bool Up, Byte Reserved,
                              Byte State);
  // 34 to 40
  virtual void DrawEditFrame(TKsBitmap* Bitmap, const TRect& Rect, Byte State);
  virtual void DrawComboButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State);
  virtual void DrawToolButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat,
                              bool Checked);
  virtual void DrawToolDropDown(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat,
                                bool Checked);
  virtual void DrawToolBarBackground(TKsBitmap* Bitmap, const TRect& Rect);
  virtual void DrawGripper(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect);
  virtual void DrawPanelBackground(TKsBitmap* Bitmap, const TRect& Rect);
  // 41: Reserved is ignored. 42
  virtual void DrawArrowButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                               Integer Reserved);
  virtual void DrawCell(TKsBitmap* Bitmap, const TRect& Rect, Integer Flags);
  // 43: a new window region that the caller owns, or nullptr for none.
  virtual HRGN GetWindowRegion(int Width, int Height, TKsBorderStyle BorderStyle);

  // 44 and 45, the class functions (reached through ThemeClass()).
  static void GetName(AnsiString& Name) { Name = "No Theme"; }
  static bool IsAvailable() { return false; }

 private:
  int FDeltaHue = 0;
  int FDeltaBrightness = 0;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

// ---------------------------------------------------------------------------------
// The registry of painter classes: one process-wide list in registration order. A
// class may be registered more than once.

void RegisterTheme(TTeThemeClass AClass);
// Removes every entry of the class; painters of it that exist go on working.
void UnregisterTheme(TTeThemeClass AClass);
int ThemeCount();
// Raises EListError for an index out of range.
TTeThemeClass Themes(int Index);
// The first registered class whose name is Name (exactly, case-sensitive), or nullptr.
TTeThemeClass FindTheme(const AnsiString& Name);

// The unit's start (registers "No Theme") and end (frees the registry).
void InitKsThemeThemes();
void DoneKsThemeThemes();
