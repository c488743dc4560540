#include "skin/KsThemeLuna.h"

#include <cmath>

#include "classlib/ModuleInit.h"
#include "classlib/Streams.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeMenuPaint.h"
#include "skin/KsThemeXP.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TTeThemeLuna)

namespace {

constexpr UINT TextLeft = DT_VCENTER | DT_SINGLELINE | DT_LEFT;
constexpr UINT TextCentre = DT_VCENTER | DT_SINGLELINE | DT_CENTER;

constexpr int Sizes[30] = {3,  2,  29, 19, 10, 21, 21, 14, 14, 4,  4,  3,  3,  3,  22,
                           17, 16, 16, 16, 16, 11, 22, 4,  22, 17, 17, 2,  21, 15, 11};

// The colour table: -1 marks the indices that start from KsColorRed.
constexpr int NoColour = -1;
constexpr int Colours[26] = {NoColour,
                             NoColour,
                             0x000000,
                             0xFFFFFF,
                             NoColour,
                             0xFFFFFF,
                             0xFFFBF7,
                             0x316AC5,
                             0x21C321,
                             0xFEFEFB,
                             0xC5C5B1,
                             0xEFEBDE,
                             NoColour,
                             0x808080,
                             0xFFFFFF,
                             0x316AC5,
                             0xFFFFFF,
                             0x316AC5,
                             0x000000,
                             0xFFFFFF,
                             0x000000,
                             0xFFFFFF,
                             0x808080,
                             0x000000,
                             0x95CEFF,
                             0x316AC5};

TKsColor Ks(TColor Color) { return ColorToKsColor(Color, 255); }

// Atlas drawn with its AlphaBlend on for the scope: transparent pixels are skipped.
class TAlphaCopy {
 public:
  explicit TAlphaCopy(TKsBitmap* Atlas) : FAtlas(Atlas) { FAtlas->SetAlphaBlend(true); }
  ~TAlphaCopy() { FAtlas->SetAlphaBlend(false); }
  TAlphaCopy(const TAlphaCopy&) = delete;
  TAlphaCopy& operator=(const TAlphaCopy&) = delete;

 private:
  TKsBitmap* FAtlas;
};

void CopyAlpha(TKsBitmap* Atlas, TKsBitmap* Dest, int X, int Y, const TRect& Source) {
  TAlphaCopy Alpha(Atlas);
  Atlas->Draw(Dest, X, Y, Source);
}

void CopyCentred(TKsBitmap* Atlas, TKsBitmap* Dest, const TRect& R, const TRect& Source) {
  CopyAlpha(Atlas, Dest, R.left + (RectWidth(R) - RectWidth(Source)) / 2,
            R.top + (RectHeight(R) - RectHeight(Source)) / 2, Source);
}

TRect Moved(const TRect& R, int DX, int DY) { return TRect{R.left + DX, R.top + DY, R.right + DX, R.bottom + DY}; }

// A frame of margin M over D from S: the corners copied with alpha, the edges and the
// centre stretched.
void DrawFramed(TKsBitmap* Atlas, TKsBitmap* Dest, const TRect& D, const TRect& S, int M) {
  if (RectWidth(D) <= 0 || RectHeight(D) <= 0) return;
  {
    TAlphaCopy Alpha(Atlas);
    Atlas->Draw(Dest, D.left, D.top, TRect{S.left, S.top, S.left + M, S.top + M});
    Atlas->Draw(Dest, D.right - M, D.top, TRect{S.right - M, S.top, S.right, S.top + M});
    Atlas->Draw(Dest, D.left, D.bottom - M, TRect{S.left, S.bottom - M, S.left + M, S.bottom});
    Atlas->Draw(Dest, D.right - M, D.bottom - M, TRect{S.right - M, S.bottom - M, S.right, S.bottom});
  }
  auto Stretch = [&](const TRect& To, const TRect& From) {
    if (RectWidth(To) > 0 && RectHeight(To) > 0) Atlas->StretchDraw(Dest, To, From);
  };
  Stretch(TRect{D.left + M, D.top, D.right - M, D.top + M}, TRect{S.left + M, S.top, S.right - M, S.top + M});
  Stretch(TRect{D.left + M, D.bottom - M, D.right - M, D.bottom},
          TRect{S.left + M, S.bottom - M, S.right - M, S.bottom});
  Stretch(TRect{D.left, D.top + M, D.left + M, D.bottom - M}, TRect{S.left, S.top + M, S.left + M, S.bottom - M});
  Stretch(TRect{D.right - M, D.top + M, D.right, D.bottom - M},
          TRect{S.right - M, S.top + M, S.right, S.bottom - M});
  Stretch(TRect{D.left + M, D.top + M, D.right - M, D.bottom - M},
          TRect{S.left + M, S.top + M, S.right - M, S.bottom - M});
}

void LoadAtlas(TKsBitmap* Atlas, const char* Name) {
  TOwned<TResourceStream> Stream(NewObject<TResourceStream>(HInstance, Name, RT_RCDATA));
  Atlas->LoadFromStream(Stream.get());
  Atlas->SetTransparentColor(MakeKsColor(255, 0, 255, 255));
}

}  // namespace

TTeThemeLuna::TTeThemeLuna() { LoadAtlases(); }

TTeThemeLuna::~TTeThemeLuna() {
  FreeAndNil(FMainAtlas);
  FreeAndNil(FAltAtlas);
}

void TTeThemeLuna::LoadAtlases() {
  FreeAndNil(FMainAtlas);
  FreeAndNil(FAltAtlas);
  TOwned<TKsBitmap> Main(NewObject<TKsBitmap>()), Alt(NewObject<TKsBitmap>());
  LoadAtlas(Main.get(), "XP_MAIN");
  LoadAtlas(Alt.get(), "XP_MAIN1");
  FMainAtlas = Main.release();
  FAltAtlas = Alt.release();
}

void TTeThemeLuna::UpdateColors() {
  LoadAtlases();
  // A zero delta leaves the artwork as drawn (a shift by 0 would still round).
  for (TKsBitmap* Atlas : {FMainAtlas, FAltAtlas}) {
    if (DeltaHue() != 0) Atlas->ShiftHueAll(DeltaHue());
    if (DeltaBrightness() != 0) Atlas->ShiftBrightnessAll(DeltaBrightness());
  }
}

// ---------------------------------------------------------------------------------
// Tables

int TTeThemeLuna::GetSize(Byte Kind) { return Kind < 30 ? Sizes[Kind] : 0; }

TColor TTeThemeLuna::GetColor(Byte Index) {
  const int Entry = Index < 26 ? Colours[Index] : NoColour;
  if (Entry == NoColour && DeltaHue() == 0 && DeltaBrightness() == 0) return static_cast<TColor>(KsColorRed);
  TKsColor C = Entry == NoColour ? KsColorRed
                                 : MakeKsColor(static_cast<std::int16_t>(Entry >> 16),
                                               static_cast<std::int16_t>((Entry >> 8) & 0xFF),
                                               static_cast<std::int16_t>(Entry & 0xFF), 255);
  if (DeltaHue() != 0) C = ShiftHue(C, DeltaHue());
  if (DeltaBrightness() != 0) C = ShiftBrightness(C, DeltaBrightness());
  return KsColorToColor(C);
}

void TTeThemeLuna::GetFontName(Byte Kind, AnsiString& Name) { Name = Kind <= 4 ? "Tahoma" : "Tahome"; }

int TTeThemeLuna::GetFontSize(Byte Kind) { return Kind == 0 ? 10 : 8; }

TFontStyles TTeThemeLuna::GetFontStyle(Byte Kind) { return Kind <= 1 ? TFontStyles{fsBold} : TFontStyles{}; }

// ---------------------------------------------------------------------------------
// Window

void TTeThemeLuna::DrawCaptionButton(TKsBitmap* Bitmap, const TRect& Rect, Byte Button, bool Hot,
                                     bool Pressed, bool Active, TKsBorderStyle BorderStyle) {
  static const int Rows[] = {70, 100, 160, 130, 190, 280, 220, 250};
  if (Button > 7) return;
  TKsBitmap* Atlas = Active ? FMainAtlas : FAltAtlas;
  if (Button == 0 && BorderStyle == kbsNone) return;
  if (Button == 0 && BorderStyle == kbsToolWindow) {
    const int X = Pressed ? 94 : Hot ? 80 : 66;
    Atlas->Draw(Bitmap, Rect.left, Rect.top, TRect{X, 70, X + GetSize(7), 70 + GetSize(8)});
    return;
  }
  const int X = Pressed ? 42 : Hot ? 21 : 0;
  Atlas->Draw(Bitmap, Rect.left, Rect.top, TRect{X, Rows[Button], X + GetSize(5), Rows[Button] + GetSize(6)});
}

void TTeThemeLuna::DrawWindowFrame(TKsBitmap* Bitmap, int Width, int Height, const TRect& /*ClientRect*/,
                                   bool Active, TKsBorderStyle BorderStyle) {
  TKsBitmap* A = Active ? FMainAtlas : FAltAtlas;
  const int G0 = GetSize(0), G1 = GetSize(1), G2 = GetSize(2), G3 = GetSize(3), G4 = GetSize(4);
  auto Stretch = [&](const TRect& Source, const TRect& To) {
    if (RectWidth(To) > 0 && RectHeight(To) > 0) A->StretchDraw(Bitmap, To, Source);
  };
  if (BorderStyle == kbsStandard) {
    CopyAlpha(A, Bitmap, 0, 0, TRect{0, 0, G4, G2});
    Stretch(TRect{G4, 0, 66 - G4, G2}, TRect{G4, 0, Width - G4, G2});
    CopyAlpha(A, Bitmap, Width - G4, 0, TRect{66 - G4, 0, 66, G2});
    CopyAlpha(A, Bitmap, 0, Height - G0, TRect{0, 57, G0, 57 + G0});
    Stretch(TRect{G0, 57, 62, 57 + G0}, TRect{G0, Height - G0, Width - G0, Height});
    CopyAlpha(A, Bitmap, Width - G0, Height - G0, TRect{63, 57, 63 + G0, 57 + G0});
    CopyAlpha(A, Bitmap, 0, G2, TRect{0, 29, G0, 29 + G0});
    Stretch(TRect{0, 29 + G0, G0, 57}, TRect{0, G2 + G0, G0, Height - G0});
    CopyAlpha(A, Bitmap, Width - G0, G2, TRect{66 - G0, 29, 66, 29 + G0});
    Stretch(TRect{66 - G0, 29 + G0, 66, 57}, TRect{Width - G0, G2 + G0, Width, Height - G0});
  } else if (BorderStyle == kbsToolWindow) {
    CopyAlpha(A, Bitmap, 0, 0, TRect{66, 0, 66 + G4, G3});
    Stretch(TRect{66 + G4, 0, 131 - G4, G3}, TRect{G4, 0, Width - G4, G3});
    CopyAlpha(A, Bitmap, Width - G4, 0, TRect{131 - G4, 0, 131, G3});
    CopyAlpha(A, Bitmap, 0, Height - G1, TRect{66, 49, 66 + G1, 49 + G1});
    Stretch(TRect{66 + G1, 49, 131 - G1, 49 + G1}, TRect{G1, Height - G1, Width - G1, Height});
    CopyAlpha(A, Bitmap, Width - G1, Height - G1, TRect{130, 49, 130 + G1, 49 + G1});
    CopyAlpha(A, Bitmap, 0, G3, TRect{66, G3, 66 + G1, G3 + G1});
    Stretch(TRect{66, G3 + G0, 66 + G0, 49}, TRect{0, G3 + G1, G1, Height - G1});
    CopyAlpha(A, Bitmap, Width - G1, G3, TRect{130, G3, 130 + G1, G3 + G1});
    Stretch(TRect{130, G3 + G0, 130 + G1, 49}, TRect{Width - G1, G3 + G1, Width, Height - G1});
  }
}

HRGN TTeThemeLuna::GetWindowRegion(int Width, int Height, TKsBorderStyle BorderStyle) {
  HRGN Region = CountHandle(CreateRectRgn(0, 0, Width, Height));
  if (BorderStyle != kbsStandard) return Region;
  static const int Cuts[][2] = {{5, 1}, {3, 2}, {2, 3}, {1, 5}};
  for (const auto& C : Cuts) {
    for (int Left : {0, Width - C[0]}) {
      HRGN Cut = CountHandle(CreateRectRgn(Left, 0, Left + C[0], C[1]));
      CombineRgn(Region, Region, Cut, RGN_DIFF);
      DeleteCountedObject(Cut);
    }
  }
  return Region;
}

// ---------------------------------------------------------------------------------
// Menus

void TTeThemeLuna::MeasureMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width, int& Height) {
  MeasureMenuBarItemSelfDrawn(this, Bitmap, Item, Width, Height);
}

void TTeThemeLuna::MeasurePopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width, int& Height) {
  MeasurePopupItemSelfDrawn(this, Bitmap, Item, Width, Height);
}

void TTeThemeLuna::DrawMenuBarBackground(TKsBitmap* Bitmap, int Width, int Height) {
  DrawMenuBarBackgroundSelfDrawn(this, Bitmap, Width, Height);
}

void TTeThemeLuna::DrawMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect, bool Selected,
                                   bool Raised) {
  DrawMenuBarItemSelfDrawn(this, Bitmap, Item, Rect, Selected, Raised);
}

void TTeThemeLuna::DrawMenuBarMDIButton(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                                        bool Selected, bool Raised) {
  const Byte Kind = Item->MDIButtonKind();
  if (Kind == 4) {
    Bitmap->FillRect(Rect, Ks(GetColor(Selected ? 15 : 14)));
    return;
  }
  static const int Columns[] = {0, 38, 19, 0};
  if (Kind < 1 || Kind > 3) return;
  const int Y = 310 + (Selected ? (Raised ? 19 : 38) : 0);
  CopyCentred(FMainAtlas, Bitmap, Rect, TRect{Columns[Kind], Y, Columns[Kind] + 19, Y + 19});
}

void TTeThemeLuna::DrawPopupBackground(TKsBitmap* Bitmap, int Width, int Height) {
  DrawPopupBackgroundSelfDrawn(this, Bitmap, Width, Height);
}

void TTeThemeLuna::DrawPopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect, bool Selected,
                                 bool /*Raised*/) {
  DrawPopupItemSelfDrawn(this, Bitmap, Item, Rect, Selected);
}

// ---------------------------------------------------------------------------------
// Buttons

void TTeThemeLuna::DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) {
  int Row = 100;
  switch (State) {
    case 1: Row = 130; break;
    case 2: Row = 160; break;
    case 3: Row = 190; break;
    case 4:
    case 5: Row = 220; break;
  }
  DrawFramed(FMainAtlas, Bitmap, TRect{0, 0, Width, Height}, TRect{70, Row, 143, Row + 21}, 4);
}

void TTeThemeLuna::DrawCheckBox(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte CheckState) {
  if (State > 3) return;  // the atlas has no cell for it
  const int Y = 102 + 16 * State + (CheckState == 1 ? 64 : CheckState == 2 ? 128 : 0);
  CopyAlpha(FMainAtlas, Bitmap, Rect.left, Rect.top, TRect{171, Y, 171 + GetSize(16), Y + GetSize(17)});
}

void TTeThemeLuna::DrawRadioButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Checked) {
  const int Y = (State >= 1 && State <= 3 ? 102 + 16 * State : 102) + (Checked ? 64 : 0);
  CopyAlpha(FMainAtlas, Bitmap, Rect.left, Rect.top, TRect{152, Y, 152 + GetSize(16), Y + GetSize(17)});
}

// ---------------------------------------------------------------------------------
// Track bar, progress bar, side bar

void TTeThemeLuna::DrawTrackThumb(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical, Byte Pointer, Byte State) {
  if (Pointer > 2) return;  // the atlas has no cell for it
  static const int Steps[] = {0, 1, 2, 4, 3};
  const int S = State <= 4 ? Steps[State] : 0;
  static const TRect Wide[] = {{75, 128, 97, 139}, {153, 96, 175, 107}, {152, 78, 174, 89}};
  static const TRect Tall[] = {{80, 100, 91, 123}, {129, 96, 140, 118}, {129, 67, 140, 89}};
  const TRect Cell = (Vertical ? Wide : Tall)[Pointer];
  CopyAlpha(FAltAtlas, Bitmap, Rect.left, Rect.top, Moved(Cell, 0, (Pointer == 0 ? 43 : 55) * S));
}

void TTeThemeLuna::DrawTrackBar(TKsBitmap* Bitmap, const TRect& ChannelRect, const TRect& SelectionRect) {
  Bitmap->FillRect(ChannelRect, KsColorWindow);
  Bitmap->DrawEdge(ChannelRect, Ks(clBtnShadow), Ks(clBtnHighlight));
  TRect S = SelectionRect;
  InflateRect(&S, -1, -1);
  if (!IsEmptyRect(S)) Bitmap->FillRect(S, MakeKsColor(33, 195, 33, 255));
}

void TTeThemeLuna::DrawProgressBar(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->RoundRect(Rect, 3, Ks(GetColor(7)));
  TRect R = Rect;
  InflateRect(&R, -1, -1);
  Bitmap->FillRect(R, KsColorWindow);
}

void TTeThemeLuna::DrawProgressChunk(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect, bool Vertical,
                                     bool Smooth) {
  const TKsColor Chunk = Ks(GetColor(8));
  if (Smooth) {
    Bitmap->FillRect(BarRect, Chunk);
    return;
  }
  const int T = Vertical ? RectWidth(Rect) : RectHeight(Rect);
  const int Size = static_cast<int>(std::lround(0.64 * T)) + 2;
  const int N = (Vertical ? RectHeight(BarRect) : RectWidth(BarRect)) / Size;
  if (N < 1) return;
  for (int I = 0; I <= N; ++I) {
    TRect C = Rect;
    if (Vertical) {
      C.top = C.bottom - Size + 2;
      C = Moved(C, 0, -I * Size);
    } else {
      C.right = C.left + Size - 2;
      C = Moved(C, I * Size, 0);
    }
    TRect Clipped;
    if (IntersectRect(&Clipped, &C, &Rect)) Bitmap->FillRect(Clipped, Chunk);
  }
}

void TTeThemeLuna::DrawBarBackground(TKsBitmap* Bitmap, const TRect& Rect, Integer /*Param1*/,
                                     Integer /*Param2*/) {
  Bitmap->FillRoundRect(Rect, 6, Ks(GetColor(6)));
  Bitmap->RoundRect(Rect, 6, Ks(GetColor(7)));
  TRect R = Rect;
  R.top += 20;
  Bitmap->FrameRect(R, Ks(GetColor(7)));
  InflateRect(&R, -1, -1);
  R.top -= 3;
  Bitmap->FillRect(R, Ks(GetColor(6)));
}

void TTeThemeLuna::DrawBarHeader(TKsBitmap* Bitmap, const TRect& Rect, const AnsiString& Caption) {
  const TKsColor From = Ks(GetColor(24)), To = Ks(GetColor(25));
  Bitmap->MoveTo(Rect.left, Rect.bottom - 1);
  Bitmap->LineTo(Rect.right, Rect.bottom - 1, Ks(GetColor(7)));
  Bitmap->GradientRect(TRect{Rect.left + 1, Rect.top, Rect.right - 1, Rect.top + 1}, From, To, false);
  Bitmap->GradientRect(TRect{Rect.left, Rect.top + 1, Rect.right, Rect.top + 2}, From, To, false);
  Bitmap->GradientRect(TRect{Rect.left, Rect.top + 2, Rect.right, Rect.bottom - 1}, From, To, false);
  SetThemeFont(this, Bitmap, 4);
  Bitmap->Font()->SetColor(GetColor(23));
  Bitmap->DrawText(Caption, TRect{Rect.left + 5, Rect.top, Rect.right - 5, Rect.bottom},
                   DrawTextBiDiModeFlags(TextLeft));
}

void TTeThemeLuna::DrawBarButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Byte Kind, bool Hot) {
  // Hot is a Boolean here: the hot column; the pressed one (a hot code of 2) never comes.
  const int X = Hot ? 151 : 134;
  const int Y = 32 + (Kind == 1 ? 34 : (Kind == 0 && State) ? 17 : 0);
  CopyAlpha(FMainAtlas, Bitmap, Rect.left, Rect.top, TRect{X, Y, X + 17, Y + 17});
}

void TTeThemeLuna::DrawGroupBox(TKsBitmap* Bitmap, const TRect& Rect, const TRect& CaptionRect,
                                const AnsiString& Caption) {
  const TKsColor C = Ks(GetColor(7));
  const TRect& R = Rect;
  Bitmap->MoveTo(R.left + 2, R.top);
  Bitmap->LineTo(CaptionRect.left, R.top, C);
  Bitmap->MoveTo(CaptionRect.right, R.top);
  for (const TPoint P : {TPoint{R.right - 2, R.top}, TPoint{R.right, R.top + 2}, TPoint{R.right, R.bottom - 2},
                         TPoint{R.right - 2, R.bottom}, TPoint{R.left + 2, R.bottom}, TPoint{R.left, R.bottom - 2},
                         TPoint{R.left, R.top + 2}, TPoint{R.left + 2, R.top}})
    Bitmap->LineTo(P.x, P.y, C);
  Bitmap->DrawText(Caption, CaptionRect, DrawTextBiDiModeFlags(TextCentre));
}

// ---------------------------------------------------------------------------------
// Scroll bar, tabs

void TTeThemeLuna::DrawScrollTrack(TKsBitmap* Bitmap, const TRect& Rect, bool Vertical) {
  if (IsEmptyRect(Rect)) return;
  FAltAtlas->StretchDraw(Bitmap, Rect, Vertical ? TRect{37, 305, 54, 322} : TRect{19, 305, 36, 322});
}

void TTeThemeLuna::DrawScrollArrow(TKsBitmap* Bitmap, const TRect& Rect, Byte Vertical, bool UpOrLeft,
                                   Byte State) {
  DrawScrollThumb(Bitmap, Rect, Vertical, State);
  const int DX = Vertical ? (UpOrLeft ? 0 : 18) : (UpOrLeft ? 9 : 27);
  const int DY = State >= 1 && State <= 3 ? 9 * State : 0;
  CopyCentred(FAltAtlas, Bitmap, Rect, TRect{2 + DX, 375 + DY, 11 + DX, 384 + DY});
}

void TTeThemeLuna::DrawScrollThumb(TKsBitmap* Bitmap, const TRect& Rect, Byte /*Vertical*/, Byte State) {
  const int Y = State >= 1 && State <= 3 ? 305 + 17 * State : 305;
  TAlphaCopy Alpha(FAltAtlas);
  FAltAtlas->DrawNinePart(Bitmap, Rect, true, 3, 3, 3, 3, TRect{1, Y, 18, Y + 17});
}

void TTeThemeLuna::DrawTabPane(TKsBitmap* Bitmap, const TRect& Rect) {
  DrawFramed(FAltAtlas, Bitmap, Rect, TRect{153, 344, 168, 362}, 4);
}

void TTeThemeLuna::DrawTabItem(TKsBitmap* Bitmap, const TRect& Rect, Byte Position, Byte State) {
  TRect Cell;
  switch (State) {
    case 0: Cell = TRect{68, 365, 89, 386}; break;
    case 1: Cell = TRect{68, 344, 89, 365}; break;
    case 4: Cell = TRect{69, 386, 87, 407}; break;
    default: return;  // the atlas has no cell for it
  }
  static const int Shift[] = {0, 21, 63, 42};
  DrawFramed(FAltAtlas, Bitmap, Rect, Moved(Cell, Position <= 3 ? Shift[Position] : 0, 0), 4);
}

// ---------------------------------------------------------------------------------
// Edits, tool bars and the rest

void TTeThemeLuna::DrawSpinButton(TKsBitmap* Bitmap, const TRect& Rect, bool Up, Byte /*Reserved*/, Byte State) {
  DrawScrollArrow(Bitmap, Rect, 0, Up, State);
}

void TTeThemeLuna::DrawEditFrame(TKsBitmap* Bitmap, const TRect& Rect, Byte State) {
  const TKsColor Inner = Ks(GetColor(State == 3 ? 6 : 9)), Outer = Ks(GetColor(State == 3 ? 7 : 10));
  TRect R = Rect;
  Bitmap->FrameRect(R, Outer);
  for (int I = 0; I < 2; ++I) {
    InflateRect(&R, -1, -1);
    Bitmap->FrameRect(R, Inner);
  }
}

void TTeThemeLuna::DrawComboButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State) {
  const int S = State >= 1 && State <= 3 ? State : 0;
  const TRect Cell = Moved(TRect{151, 248, 166, 262}, 0, 14 * S);
  FMainAtlas->Draw(Bitmap, Rect.left, Rect.top, TRect{Cell.left, Cell.top, Cell.right, Cell.top + 3});
  FMainAtlas->Draw(Bitmap, Rect.left, Rect.bottom - 3, TRect{Cell.left, Cell.bottom - 3, Cell.right, Cell.bottom});
  const TRect Middle{Rect.left, Rect.top + 3, Rect.right, Rect.bottom - 3};
  if (!IsEmptyRect(Middle))
    FMainAtlas->StretchDraw(Bitmap, Middle, TRect{Cell.left, Cell.top + 3, Cell.right, Cell.bottom - 3});
  CopyCentred(FMainAtlas, Bitmap, Rect, Moved(TRect{155, 314, 165, 321}, 0, 7 * S));
}

void TTeThemeLuna::DrawToolButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat, bool Checked) {
  int DX = -1, DY = 0;
  if (Flat) {
    if (State == 1) { DX = Checked ? 40 : 20; DY = Checked ? 23 : 0; }
    else if (State == 2) DX = 40;
    else if (State == 0 && Checked) { DX = 20; DY = 23; }
  } else {
    if (State == 0) { DX = 20; DY = Checked ? 23 : 0; }
    else if (State == 1) DX = 0;
    else if (State == 2) { DX = Checked ? 20 : 40; DY = Checked ? 23 : 0; }
  }
  if (DX < 0) return;  // disabled, or flat and at rest
  DrawFramed(FMainAtlas, Bitmap, Rect, Moved(TRect{69, 278, 89, 301}, DX, DY), 4);
}

void TTeThemeLuna::DrawToolDropDown(TKsBitmap* Bitmap, const TRect& Rect, Byte State, bool Flat, bool Checked) {
  DrawToolButton(Bitmap, Rect, State, Flat, Checked);
  CopyCentred(FMainAtlas, Bitmap, Rect, Moved(TRect{60, 311, 66, 314}, 0, 3 * State + (Checked ? 12 : 0)));
}

void TTeThemeLuna::DrawToolBarBackground(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->FillRect(Rect, Ks(GetColor(11)));
}

void TTeThemeLuna::DrawPanelBackground(TKsBitmap* Bitmap, const TRect& Rect) {
  Bitmap->FillRect(Rect, Ks(GetColor(11)));
}

void TTeThemeLuna::DrawGripper(TKsBitmap* Bitmap, const TRect& Rect, const TRect& BarRect) {
  const TKsColor Face = Ks(GetColor(11));
  Bitmap->FillRect(Rect, Face);
  Bitmap->DrawEdge(Rect, LightenKsColor(Face, 50), DarkenKsColor(Face, 50));
  if (IsEmptyRect(BarRect)) return;
  TAlphaCopy Alpha(FMainAtlas);
  FMainAtlas->TileDraw(Bitmap, BarRect, TRect{119, 58, 129, 64});
}

void TTeThemeLuna::DrawArrowButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State, Integer /*Reserved*/) {
  const int S = State >= 1 && State <= 3 ? State : 0;
  DrawFramed(FMainAtlas, Bitmap, Rect, Moved(TRect{132, 278, 146, 292}, 0, 14 * S), 3);
}

void TTeThemeLuna::DrawCell(TKsBitmap* Bitmap, const TRect& Rect, Integer Flags) {
  if (Flags & 4) {
    TRect R = Rect;
    InflateRect(&R, 1, 1);
    Bitmap->FillRect(R, Ks(GetColor(11)));
    Bitmap->FrameRect(R, Ks(GetColor(17)));
    return;
  }
  Bitmap->FillRect(Rect, Ks(GetColor((Flags & 2) ? 12 : (Flags & 1) ? 8 : 6)));
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsThemeLuna() {
  RegisterTheme(&TTeThemeLuna::StaticClass());
  DefaultThemeClass = &TTeThemeLuna::StaticClass();
  FallbackThemeClass = &TTeThemeLuna::StaticClass();
}

void DoneKsThemeLuna() {
  if (FallbackThemeClass == &TTeThemeLuna::StaticClass()) FallbackThemeClass = nullptr;
  if (DefaultThemeClass == &TTeThemeLuna::StaticClass()) DefaultThemeClass = nullptr;
  UnregisterTheme(&TTeThemeLuna::StaticClass());
}
