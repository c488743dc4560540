#include "skin/KsThemeXP.h"

#include <algorithm>
#include <string>

#include "classlib/ModuleInit.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeMenuPaint.h"
#include "skin/KsUtils.h"

TTeThemeClass FallbackThemeClass = nullptr;

TCLASS_IMPL(TTeThemeXP)

namespace {

// One slot's theme handle: opened (from the cache) for the slot, closed after it.
class TThemeHandle {
 public:
  explicit TThemeHandle(const char* ClassName) : FTheme(OpenThemeHandle(nullptr, ClassName)) {}
  ~TThemeHandle() {
    if (FTheme) CloseThemeHandle(FTheme);
  }
  TThemeHandle(const TThemeHandle&) = delete;
  TThemeHandle& operator=(const TThemeHandle&) = delete;

  HTHEME_T Get() const { return FTheme; }
  // The class is open and the style defines Part (every part counts as defined when
  // the style cannot be asked).
  bool Defined(int Part) const {
    if (!FTheme) return false;
    return !ThemeApi.IsThemePartDefined || ThemeApi.IsThemePartDefined(FTheme, Part, 0) != FALSE;
  }
  void Draw(TKsBitmap* Bitmap, int Part, int State, const TRect& R) const {
    if (!ThemeApi.DrawThemeBackground) return;
    const RECT Box = R;
    ThemeApi.DrawThemeBackground(FTheme, Bitmap->DC(), Part, State, &Box, nullptr);
    GdiFlush();
  }

 private:
  HTHEME_T FTheme;
};

TKsColor Ks(TColor Color) { return ColorToKsColor(Color, 255); }

// A part size of Class: cx or cy; -1 when it cannot be read.
int PartSize(const char* ClassName, int Part, int State, bool Height) {
  TThemeHandle T(ClassName);
  SIZE S{};
  if (!T.Get() || !ThemeApi.GetThemePartSize ||
      ThemeApi.GetThemePartSize(T.Get(), nullptr, Part, State, nullptr, 1 /* TS_TRUE */, &S) != S_OK)
    return -1;
  return Height ? S.cy : S.cx;
}

// The state of DrawToolButton and DrawToolDropDown.
int ToolState(Byte State, bool Flat, bool Checked) {
  if (!Flat) {
    switch (State) {
      case 0: return Checked ? 5 : 2;
      case 1: return Checked ? 6 : 2;  // hot: as pressed-looking hot
      case 2: return Checked ? 5 : 3;
      case 3: return 4;
      default: return 1;
    }
  }
  switch (State) {
    case 1: return Checked ? 6 : 2;
    case 2: return 3;
    case 3: return 4;
    default: return Checked ? 5 : 1;
  }
}

}  // namespace

TTeThemeXP::~TTeThemeXP() { FreeAndNil(FFallback); }

TTeTheme* TTeThemeXP::Fallback() {
  if (!FFallback && FallbackThemeClass) FFallback = FallbackThemeClass->Create();
  return FFallback;
}

// ---------------------------------------------------------------------------------
// Sizes, colours, fonts

int TTeThemeXP::GetSize(Byte Kind) {
  if (Kind > 29) return 0;
  // A size read from the style, less Less; one it cannot read is the atlas painter's.
  auto Read = [&](const char* ClassName, int Part, int State, bool Height, int Less = 0) {
    const int Size = PartSize(ClassName, Part, State, Height);
    if (Size >= 0) return Size - Less;
    TTeTheme* Atlas = Fallback();
    return Atlas ? Atlas->GetSize(Kind) : 0;
  };
  switch (Kind) {
    case 0: return Read("Window", 7, 0, false, 1);
    case 1: return Read("Window", 10, 0, false, 1);
    case 2: return Read("Window", 1, 0, true);
    case 3: return Read("Window", 2, 0, true);
    case 4: return 10;
    case 5: return Read("Window", 18, 0, false);
    case 6: return Read("Window", 18, 0, true);
    case 7: return Read("Window", 19, 0, false, 1);
    case 8: return Read("Window", 19, 0, true, 1);
    case 9:
    case 10: return Read("Window", 7, 0, false);
    case 11: return 2;
    case 12:
    case 13: return Read("Window", 10, 0, false);
    case 14:
    case 21: return 22;
    case 15:
    case 24:
    case 25: return 17;
    case 16:
    case 17:
    case 18:
    case 19: return 16;
    case 20:
    case 29: return 11;
    case 22: return 4;
    case 23: return Read("ExplorerBar", 8, 0, true);
    case 26: return 2;
    case 27: return 21;
    case 28: return Read("ComboBox", 1, 1, false);
  }
  return 0;
}

TColor TTeThemeXP::GetColor(Byte Index) {
  switch (Index) {
    case 2: return clBlack;
    case 3: return clCaptionText;
    case 5: return clInactiveCaptionText;
    case 6: return clWindow;
    case 7: return clWindowFrame;
    case 8:
    case 13:
    case 15:
    case 17: return clHighlight;
    case 9:
    case 10:
    case 22: return clBtnShadow;
    case 11: return clBtnFace;
    case 14:
    case 16: return clMenu;
    case 18:
    case 20:
    case 23: return clWindowText;
    case 19:
    case 21: return clHighlightText;
    case 24: return static_cast<TColor>(RGB(149, 206, 255));
    case 25: return static_cast<TColor>(RGB(49, 106, 197));
  }
  return static_cast<TColor>(KsColorRed);
}

void TTeThemeXP::GetFontName(Byte /*Kind*/, AnsiString& Name) { Name = "Tahoma"; }

int TTeThemeXP::GetFontSize(Byte Kind) { return Kind == 0 ? 10 : 8; }

TFontStyles TTeThemeXP::GetFontStyle(Byte Kind) {
  return Kind <= 1 ? TFontStyles{fsBold} : TFontStyles{};
}

// ---------------------------------------------------------------------------------
// Window

void TTeThemeXP::DrawCaptionButton(TKsBitmap* Bitmap, const TRect& Rect, Byte Button, bool Hot,
                                   bool Pressed, bool Active, TKsBorderStyle BorderStyle) {
  int Part = 0;
  switch (Button) {
    case 0: Part = BorderStyle == kbsToolWindow ? 19 : 18; break;
    case 1: Part = 23; break;
    case 2: Part = 15; break;
    case 3: Part = 17; break;
    case 4: Part = 21; break;
    default: return;  // roll-up, roll-down and tray have no part
  }
  int State = 1;
  if (Hot) State = 2;
  if (Pressed) State = 3;
  if (!Active) State = 4;
  TThemeHandle T("Window");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawCaptionButton(Bitmap, Rect, Button, Hot, Pressed, Active, BorderStyle);
    return;
  }
  T.Draw(Bitmap, Part, State, Rect);
}

void TTeThemeXP::DrawWindowFrame(TKsBitmap* Bitmap, int Width, int Height, const TRect& ClientRect,
                                 bool Active, TKsBorderStyle BorderStyle) {
  TThemeHandle T("Window");
  if (!T.Defined(1) || !T.Defined(7) || !T.Defined(8) || !T.Defined(9)) {
    if (TTeTheme* L = Fallback()) L->DrawWindowFrame(Bitmap, Width, Height, ClientRect, Active, BorderStyle);
    return;
  }
  const int State = Active ? 1 : 2;
  const TRect& C = ClientRect;
  T.Draw(Bitmap, 1, State, TRect{0, 0, Width, C.top});
  T.Draw(Bitmap, 7, State, TRect{0, C.top, C.left, C.bottom});
  T.Draw(Bitmap, 8, State, TRect{C.right, C.top, Width, C.bottom});
  T.Draw(Bitmap, 9, State, TRect{0, C.bottom, Width, Height});
}

void TTeThemeXP::DrawMenuBarMDIButton(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                                      bool Selected, bool Raised) {
  const Byte Kind = Item->MDIButtonKind();
  if (Kind == 4) {
    Bitmap->FillRect(Rect, Ks(GetColor(Selected ? 15 : 14)));
    return;
  }
  static const int Parts[] = {0, 20, 22, 16};
  if (Kind < 1 || Kind > 3) return;
  TThemeHandle T("Window");
  if (!T.Defined(Parts[Kind])) {
    if (TTeTheme* L = Fallback()) L->DrawMenuBarMDIButton(Bitmap, Item, Rect, Selected, Raised);
    return;
  }
  TRect R = Rect;
  InflateRect(&R, -1, -1);
  T.Draw(Bitmap, Parts[Kind], Selected ? 3 : Raised ? 2 : 1, R);
}

HRGN TTeThemeXP::GetWindowRegion(int Width, int Height, TKsBorderStyle /*BorderStyle*/) {
  TThemeHandle T("Window");
  if (!T.Get() || !ThemeApi.GetThemeBackgroundRegion) return nullptr;
  const RECT R{0, 0, Width, Height};
  HRGN Region = nullptr;
  if (ThemeApi.GetThemeBackgroundRegion(T.Get(), nullptr, 1, 0, &R, &Region) != S_OK) return nullptr;
  // Counted like every region the kit makes: the frame frees it as counted.
  return CountHandle(Region);
}

// ---------------------------------------------------------------------------------
// Menus: the style's background where it defines the part, the rest self-drawn.

void TTeThemeXP::MeasureMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width, int& Height) {
  MeasureMenuBarItemSelfDrawn(this, Bitmap, Item, Width, Height);
}

void TTeThemeXP::MeasurePopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width, int& Height) {
  MeasurePopupItemSelfDrawn(this, Bitmap, Item, Width, Height);
}

void TTeThemeXP::DrawMenuBarBackground(TKsBitmap* Bitmap, int Width, int Height) {
  TThemeHandle T("Menu");
  if (!T.Defined(1)) return DrawMenuBarBackgroundSelfDrawn(this, Bitmap, Width, Height);
  T.Draw(Bitmap, 1, 1, TRect{0, 0, Width, Height});
}

void TTeThemeXP::DrawMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                                 bool Selected, bool Raised) {
  TThemeHandle T("Menu");
  if (!T.Defined(3)) return DrawMenuBarItemSelfDrawn(this, Bitmap, Item, Rect, Selected, Raised);
  T.Draw(Bitmap, 3, Selected || Raised ? 2 : 1, Rect);
  DrawMenuBarItemSelfDrawn(this, Bitmap, Item, Rect, Selected, Raised, false);
}

void TTeThemeXP::DrawPopupBackground(TKsBitmap* Bitmap, int Width, int Height) {
  TThemeHandle T("Menu");
  if (!T.Defined(1)) return DrawPopupBackgroundSelfDrawn(this, Bitmap, Width, Height);
  T.Draw(Bitmap, 1, 1, TRect{0, 0, Width, Height});
}

void TTeThemeXP::DrawPopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                               bool Selected, bool Raised) {
  TThemeHandle T("Menu");
  if (!T.Defined(1)) return DrawPopupItemSelfDrawn(this, Bitmap, Item, Rect, Selected);
  T.Draw(Bitmap, 1, Selected || Raised ? 2 : 1, Rect);
  DrawPopupItemSelfDrawn(this, Bitmap, Item, Rect, Selected, false);
}

// ---------------------------------------------------------------------------------
// Buttons

void TTeThemeXP::DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) {
  TThemeHandle T("Button");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawButton(Bitmap, Width, Height, State);
    return;
  }
  T.Draw(Bitmap, 1, State <= 3 ? State + 1 : 5, TRect{0, 0, Width, Height});
}

void TTeThemeXP::DrawCheckBox(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte CheckState) {
  TThemeHandle T("Button");
  if (!T.Defined(3)) {
    if (TTeTheme* L = Fallback()) L->DrawCheckBox(Bitmap, Rect, State, CheckState);
    return;
  }
  T.Draw(Bitmap, 3, 1 + State + 4 * CheckState, Rect);
}

void TTeThemeXP::DrawRadioButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Checked) {
  TThemeHandle T("Button");
  if (!T.Defined(2)) {
    if (TTeTheme* L = Fallback()) L->DrawRadioButton(Bitmap, Rect, State, Checked);
    return;
  }
  T.Draw(Bitmap, 2, 1 + State + (Checked ? 4 : 0), Rect);
}

void TTeThemeXP::DrawGroupBox(TKsBitmap* Bitmap, const TRect& Rect, const TRect& CaptionRect,
                              const AnsiString& Caption) {
  TThemeHandle T("Button");
  if (!T.Defined(4)) return;
  const HDC DC = Bitmap->DC();
  ExcludeClipRect(DC, CaptionRect.left, CaptionRect.top, CaptionRect.right, CaptionRect.bottom);
  T.Draw(Bitmap, 4, 1, Rect);
  SelectClipRgn(DC, nullptr);
  if (Caption.empty()) return;
  Bitmap->Font()->SetColor(clHighlight);
  Bitmap->DrawText(Caption, CaptionRect, DrawTextBiDiModeFlags(DT_VCENTER | DT_SINGLELINE | DT_CENTER));
}

// ---------------------------------------------------------------------------------
// Track bar, progress bar, side bar

void TTeThemeXP::DrawTrackThumb(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical, Byte Pointer,
                                Byte State) {
  static const int Across[] = {3, 4, 5};
  static const int Down[] = {6, 8, 7};
  const int Part = Pointer <= 2 ? (Vertical ? Down : Across)[Pointer] : (Vertical ? 6 : 3);
  TThemeHandle T("TrackBar");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawTrackThumb(Bitmap, Rect, Vertical, Pointer, State);
    return;
  }
  T.Draw(Bitmap, Part, State <= 2 ? State + 1 : 5, Rect);
}

void TTeThemeXP::DrawTrackBar(TKsBitmap* Bitmap, const TRect& ChannelRect, const TRect& SelectionRect) {
  const int Part = RectWidth(ChannelRect) > RectHeight(ChannelRect) ? 1 : 2;
  TThemeHandle T("TrackBar");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawTrackBar(Bitmap, ChannelRect, SelectionRect);
    return;
  }
  T.Draw(Bitmap, Part, 1, ChannelRect);
}

void TTeThemeXP::DrawProgressBar(TKsBitmap* Bitmap, const TRect& Rect) {
  const int Part = RectWidth(Rect) > RectHeight(Rect) ? 1 : 2;
  TThemeHandle T("Progress");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawProgressBar(Bitmap, Rect);
    return;
  }
  T.Draw(Bitmap, Part, 1, Rect);
}

void TTeThemeXP::DrawProgressChunk(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect,
                                   bool Vertical, bool Smooth) {
  const int Part = RectWidth(Rect) > RectHeight(Rect) ? 3 : 4;
  TThemeHandle T("Progress");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawProgressChunk(Bitmap, Rect, BarRect, Vertical, Smooth);
    return;
  }
  T.Draw(Bitmap, Part, 1, BarRect);
}

void TTeThemeXP::DrawBarBackground(TKsBitmap* Bitmap, const TRect& Rect, Integer Param1, Integer Param2) {
  TThemeHandle T("ExplorerBar");
  if (!T.Defined(9)) {
    if (TTeTheme* L = Fallback()) L->DrawBarBackground(Bitmap, Rect, Param1, Param2);
    return;
  }
  TRect R = Rect;
  if (Param2 != 0) R.top += GetSize(23);
  T.Draw(Bitmap, 9, 0, R);
}

void TTeThemeXP::DrawBarHeader(TKsBitmap* Bitmap, const TRect& Rect, const AnsiString& Caption) {
  TThemeHandle T("ExplorerBar");
  if (!T.Defined(12)) {
    if (TTeTheme* L = Fallback()) L->DrawBarHeader(Bitmap, Rect, Caption);
    return;
  }
  T.Draw(Bitmap, 12, 0, Rect);
  if (!ThemeApi.DrawThemeText) return;
  const AnsiString Text = " " + Caption;
  wchar_t Buffer[255];
  int N = MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, Buffer, 255);
  if (N <= 0) {  // longer than the buffer: its first 254 characters
    N = MultiByteToWideChar(CP_ACP, 0, Text.c_str(), static_cast<int>(std::min<std::size_t>(Text.size(), 254)),
                            Buffer, 254);
    Buffer[N] = L'\0';
  } else {
    --N;
  }
  const RECT R = Rect;
  ThemeApi.DrawThemeText(T.Get(), Bitmap->DC(), 12, 0, Buffer, N, DT_VCENTER | DT_SINGLELINE, 0, &R);
  GdiFlush();
}

void TTeThemeXP::DrawBarButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte Kind, bool Hot) {
  const int Part = Kind == 1 ? 2 : State ? 11 : 10;
  TThemeHandle T("ExplorerBar");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawBarButton(Bitmap, Rect, State, Kind, Hot);
    return;
  }
  // The pressed look (state 3) belongs to a hot code of 2, which a Boolean Hot never
  // carries: the button is drawn normal.
  T.Draw(Bitmap, Part, 1, Rect);
}

// ---------------------------------------------------------------------------------
// Scroll bar

void TTeThemeXP::DrawScrollTrack(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical) {
  const int Part = Vertical ? 6 : 4;
  TThemeHandle T("ScrollBar");
  if (!T.Defined(Part)) {
    if (TTeTheme* L = Fallback()) L->DrawScrollTrack(Bitmap, Rect, Vertical);
    return;
  }
  T.Draw(Bitmap, Part, 1, Rect);
}

void TTeThemeXP::DrawScrollArrow(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical, bool UpOrLeft,
                                 Byte State) {
  TThemeHandle T("ScrollBar");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawScrollArrow(Bitmap, Rect, Vertical, UpOrLeft, State);
    return;
  }
  const int Base = Vertical ? (UpOrLeft ? 1 : 5) : (UpOrLeft ? 9 : 13);
  T.Draw(Bitmap, 1, Base + (State >= 1 && State <= 3 ? State : 0), Rect);
}

void TTeThemeXP::DrawScrollThumb(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical, Byte State) {
  const int Thumb = Vertical ? 3 : 2, Gripper = Vertical ? 9 : 8;
  TThemeHandle T("ScrollBar");
  if (!T.Defined(Thumb)) {
    if (TTeTheme* L = Fallback()) L->DrawScrollThumb(Bitmap, Rect, Vertical, State);
    return;
  }
  const int S = State <= 3 ? State + 1 : 1;
  T.Draw(Bitmap, Thumb, S, Rect);
  if (T.Defined(Gripper)) T.Draw(Bitmap, Gripper, S, Rect);
}

void TTeThemeXP::DrawArrowButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Integer Reserved) {
  TThemeHandle T("ScrollBar");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawArrowButton(Bitmap, Rect, State, Reserved);
    return;
  }
  T.Draw(Bitmap, 1, State >= 1 && State <= 3 ? State + 1 : 1, Rect);
}

void TTeThemeXP::DrawSpinButton(TKsBitmap* Bitmap, const TRect& Rect, bool Up, Byte /*Reserved*/,
                                Byte State) {
  DrawScrollArrow(Bitmap, Rect, 0, Up, State);
}

// ---------------------------------------------------------------------------------
// Tabs, edit, combo box, tool bar

void TTeThemeXP::DrawTabPane(TKsBitmap* Bitmap, const TRect& Rect) {
  TThemeHandle T("Tab");
  if (!T.Defined(9)) {
    if (TTeTheme* L = Fallback()) L->DrawTabPane(Bitmap, Rect);
    return;
  }
  T.Draw(Bitmap, 9, 1, Rect);
}

void TTeThemeXP::DrawTabItem(TKsBitmap* Bitmap, const TRect& Rect, Byte Position, Byte State) {
  TThemeHandle T("Tab");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawTabItem(Bitmap, Rect, Position, State);
    return;
  }
  static const int States[] = {1, 2, 5, 4, 3};
  T.Draw(Bitmap, 1, State <= 4 ? States[State] : 1, Rect);
}

void TTeThemeXP::DrawEditFrame(TKsBitmap* Bitmap, const TRect& Rect, Byte State) {
  TThemeHandle T("Edit");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawEditFrame(Bitmap, Rect, State);
    return;
  }
  int S = 1;
  if (State == 1) S = 2;
  else if (State == 3) S = 4;
  else if (State == 4 || State == 5) S = 3;
  const HDC DC = Bitmap->DC();
  ExcludeClipRect(DC, Rect.left + 2, Rect.top + 2, Rect.right - 2, Rect.bottom - 2);
  T.Draw(Bitmap, 1, S, Rect);
  SelectClipRgn(DC, nullptr);
}

void TTeThemeXP::DrawComboButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State) {
  TThemeHandle T("ComboBox");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawComboButton(Bitmap, Rect, State);
    return;
  }
  T.Draw(Bitmap, 1, State >= 1 && State <= 3 ? State + 1 : 1, Rect);
}

void TTeThemeXP::DrawToolButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat, bool Checked) {
  TThemeHandle T("Toolbar");
  if (!T.Defined(1)) {
    if (TTeTheme* L = Fallback()) L->DrawToolButton(Bitmap, Rect, State, Flat, Checked);
    return;
  }
  T.Draw(Bitmap, 1, ToolState(State, Flat, Checked), Rect);
}

void TTeThemeXP::DrawToolDropDown(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat, bool Checked) {
  TThemeHandle T("Toolbar");
  if (!T.Defined(4)) {
    if (TTeTheme* L = Fallback()) L->DrawToolDropDown(Bitmap, Rect, State, Flat, Checked);
    return;
  }
  T.Draw(Bitmap, 4, ToolState(State, Flat, Checked), Rect);
}

void TTeThemeXP::DrawToolBarBackground(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->FillRect(Rect, Ks(GetColor(11)));
}

void TTeThemeXP::DrawPanelBackground(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->FillRect(Rect, Ks(GetColor(11)));
}

void TTeThemeXP::DrawGripper(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect) {
  const TKsColor Face = Ks(GetColor(11));
  Bitmap->FillRect(Rect, Face);
  Bitmap->DrawEdge(Rect, LightenKsColor(Face, 50), DarkenKsColor(Face, 50));
  TThemeHandle T("ReBar");
  if (!T.Defined(2)) return;
  T.Draw(Bitmap, 2, 1, TRect{BarRect.left + 1, BarRect.top, BarRect.right - 1, BarRect.bottom});
}

void TTeThemeXP::DrawCell(TKsBitmap* Bitmap, const TRect& Rect, Integer Flags) {
  if (Flags & 4) {
    TRect R = Rect;
    InflateRect(&R, 1, 1);
    Bitmap->FillRect(R, Ks(GetColor(11)));
    Bitmap->FrameRect(R, Ks(GetColor(8)));
    return;
  }
  Bitmap->FillRect(Rect, Ks(GetColor((Flags & 2) ? 12 : (Flags & 1) ? 8 : 6)));
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsThemeXP() {
  LoadThemeLibrary();
  if (!IsVisualStyleAvailable()) return;
  RegisterTheme(&TTeThemeXP::StaticClass());
  NativeThemeClass = &TTeThemeXP::StaticClass();
}

void DoneKsThemeXP() {
  if (NativeThemeClass == &TTeThemeXP::StaticClass()) NativeThemeClass = nullptr;
  UnregisterTheme(&TTeThemeXP::StaticClass());
  UnloadThemeLibrary();
}
