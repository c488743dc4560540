// The Highlight painter: identity, colours and fonts, the window frame and caption
// buttons, the menus, push buttons, check boxes and radio buttons.
#include "skin/TeThemeHighlight.h"

#include <algorithm>
#include <iterator>

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/KsItems.h"
#include "skin/KsThemeMenuPaint.h"
#include "skin/KsUtils.h"
#include "skin/TeThemeHighlightDraw.h"

TCLASS_IMPL(TTeThemeHighlight)

using namespace highlight;

namespace {

constexpr TColor Rgb(int R, int G, int B) { return static_cast<TColor>(R | G << 8 | B << 16); }

constexpr TColor Black = Rgb(0, 0, 0);
constexpr TColor White = Rgb(255, 255, 255);
constexpr TColor Red = Rgb(255, 0, 0);
constexpr TColor DarkBlue = Rgb(0, 51, 153);
constexpr TColor LightBlue = Rgb(100, 160, 255);
constexpr TColor Orange = Rgb(248, 199, 81);

constexpr int Sizes[30] = {4,  4,  23, 18, 10, 18, 15, 10, 12, 6,  6,  1,  3,  3,  22,
                           17, 13, 13, 13, 13, 11, 22, 4,  22, 17, 17, 1,  21, 15, 11};

// The caption glyph of a window-button kind 0..4.
constexpr UINT CaptionGlyphs[5] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONHELP, DFCS_CAPTIONMIN,
                                   DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE};

TCustomImageList* ImagesOf(TKsCustomItem* Item) {
  if (Item->Images()) return Item->Images();
  TKsCustomItem* Root = Item->Root();
  return Root ? Root->Images() : nullptr;
}

void Polyline(TKsBitmap* B, int OX, int OY, std::span<const TPoint> Points, TKsColor Color) {
  B->MoveTo(OX + Points[0].x, OY + Points[0].y);
  for (std::size_t I = 1; I < Points.size(); ++I) B->LineTo(OX + Points[I].x, OY + Points[I].y, Color);
}

void CheckMark(TKsBitmap* B, int CX, int CY) {
  static const TPoint Dark[] = {{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}};
  static const TPoint Light[] = {{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}};
  Polyline(B, CX - 2, CY + 1, Dark, KsColorBlack);
  Polyline(B, CX - 2, CY + 1, Light, KsColorWhite);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Shared drawing

namespace highlight {

TKsColor Ks(TColor C) { return ColorToKsColor(C, 255); }

void Bevel(TKsBitmap* B, const TRect& R, TKsColor Face, bool Sunken, Byte Amount) {
  const TKsColor Light = LightenKsColor(Face, Amount), Dark = DarkenKsColor(Face, Amount);
  B->DrawEdge(R, Sunken ? Dark : Light, Sunken ? Light : Dark);
}

TRect Inset(const TRect& R) { return GrowRect(R, -1); }

void ForEachPixel(TKsBitmap* B, const TRect& R, const std::function<TKsColor(TKsColor)>& Fn) {
  GdiFlush();
  const int X0 = std::max<int>(R.left, 0), X1 = std::min<int>(R.right, B->Width());
  const int Y0 = std::max<int>(R.top, 0), Y1 = std::min<int>(R.bottom, B->Height());
  for (int Y = Y0; Y < Y1; ++Y)
    for (int X = X0; X < X1; ++X) B->SetPixel(X, Y, Fn(B->GetPixel(X, Y)));
}

void StampBlack(TKsBitmap* Scratch, TKsBitmap* B, int DX, int DY, TKsColor Color) {
  GdiFlush();
  for (int Y = 2; Y < Scratch->Height() - 2; ++Y)
    for (int X = 2; X < Scratch->Width() - 2; ++X)
      if ((Scratch->GetPixel(X, Y) & 0x00FFFFFF) == 0) B->SetPixel(DX + X, DY + Y, Color);
}

}  // namespace highlight

void RuleRows(TKsBitmap* Bitmap, const TRect& Rect, int FirstRow) {
  const TKsColor Line = KsColorShadow;
  int Row = FirstRow;
  if (Row < Rect.top) Row += (Rect.top - Row + 2) / 3 * 3;
  for (; Row < Rect.bottom; Row += 3) Bitmap->FillRect(TRect{Rect.left, Row, Rect.right, Row + 1}, Line);
}

// ---------------------------------------------------------------------------------
// Identity, sizes, colours and fonts

TTeThemeHighlight::~TTeThemeHighlight() { FreeAndNil(FScratch); }

TKsBitmap* TTeThemeHighlight::Scratch(int Width, int Height) {
  if (!FScratch) FScratch = NewObject<TKsBitmap>();
  // A size the system cannot give (a part as large as a control far beyond the screen)
  // leaves it empty, and the part draws no glyph.
  if (FScratch->Width() != Width || FScratch->Height() != Height) FScratch->TrySetSize(Width, Height);
  if (!FScratch->Empty()) FScratch->Fill(KsColorWhite);
  return FScratch;
}

int TTeThemeHighlight::GetSize(Byte Kind) { return Kind < std::size(Sizes) ? Sizes[Kind] : 0; }

TColor TTeThemeHighlight::BaseColor(Byte Index) {
  static const TColor Table[26] = {
      clActiveCaption, clInactiveCaption, Black,    White,         Red,           White,
      clNone,          DarkBlue,          LightBlue, Rgb(254, 254, 251), Rgb(197, 197, 177), clBtnFace,
      Orange,          DarkBlue,          clBtnFace, LightBlue,     clBtnFace,     LightBlue,
      Black,           White,             Black,    White,         Rgb(128, 128, 128), Black,
      Rgb(149, 206, 255), Rgb(49, 106, 197)};
  if (Index >= std::size(Table)) return Red;
  if (Index == 6) return KsColorToColor(KsColorWindow);
  return Table[Index];
}

TColor TTeThemeHighlight::GetColor(Byte Index) {
  TKsColor C = Ks(BaseColor(Index));
  if (DeltaHue() != 0) C = ShiftHue(C, DeltaHue());
  if (DeltaBrightness() != 0) C = ShiftBrightness(C, DeltaBrightness());
  return KsColorToColor(C);
}

void TTeThemeHighlight::GetFontName(Byte Kind, AnsiString& Name) { Name = Kind <= 4 ? "Tahoma" : "Tahome"; }

int TTeThemeHighlight::GetFontSize(Byte Kind) { return Kind == 0 ? 9 : 8; }

TFontStyles TTeThemeHighlight::GetFontStyle(Byte Kind) {
  return Kind <= 1 ? TFontStyles{fsBold} : TFontStyles{};
}

TKsColor TTeThemeHighlight::StateFace(Byte State) {
  switch (State) {
    case tdsDisabled: return Color(9);
    case tdsPressed:
    case tdsFocused: return Color(8);
    case tdsHot: return Color(12);
    default: return Color(11);
  }
}

// ---------------------------------------------------------------------------------
// Window frame and caption buttons

void TTeThemeHighlight::DrawCaptionButton(TKsBitmap* Bitmap, const TRect& Rect, Byte Button,
                                          bool Hot, bool Pressed, bool /*Active*/,
                                          TKsBorderStyle /*BorderStyle*/) {
  RECT R = Rect;
  HDC DC = Bitmap->DC();
  const UINT Push = Pressed ? DFCS_PUSHED : 0;
  if (Button <= 4) {
    DrawFrameControl(DC, &R, DFC_CAPTION, CaptionGlyphs[Button] | Push);
  } else {
    DrawFrameControl(DC, &R, DFC_BUTTON, DFCS_BUTTONPUSH | Push);
    GdiFlush();
    TRect G = Rect;
    if (Button == 7) {
      G = GrowRect(G, -5);
      G = TRect{G.left, G.top + 2, G.right, G.bottom + 2};
      if (Pressed) OffsetRect(&G, 1, 1);
      Bitmap->FillRect(G, KsColorBlack);
    } else {
      InflateRect(&G, -4, -5);
      if (!Pressed) OffsetRect(&G, -1, -1);
      const int MidX = (G.left + G.right) / 2;
      const TPoint Down[] = {{G.left, G.top}, {G.right, G.top}, {MidX, G.bottom}};
      const TPoint Up[] = {{G.left, G.bottom}, {G.right, G.bottom}, {MidX, G.top}};
      if (Button == 6)
        Bitmap->FillPolygon(Down, KsColorBlack);
      else
        Bitmap->FillPolygon(Up, KsColorBlack);
    }
  }
  const TKsColor Face = Color(Pressed ? 8 : Hot ? 12 : 11);
  ForEachPixel(Bitmap, Rect, [Face](TKsColor P) {
    return (KsRed(P) && KsGreen(P) && KsBlue(P)) ? Face : (P | 0xFF000000u);
  });
  Bitmap->FrameRect(Rect, Color(7));
  Bevel(Bitmap, Inset(Rect), Face, Pressed, 35);
}

void TTeThemeHighlight::DrawCaptionBand(TKsBitmap* Bitmap, const TRect& Band, bool Active) {
  Bitmap->GradientRect(Band, Color(Active ? 0 : 1), Ks(Rgb(200, 200, 200)), false);
  Bitmap->RoundRect(Band, 3, Color(7));
}

void TTeThemeHighlight::DrawWindowFrame(TKsBitmap* Bitmap, int Width, int Height,
                                        const TRect& ClientRect, bool Active,
                                        TKsBorderStyle /*BorderStyle*/) {
  DrawCaptionBand(Bitmap, TRect{ClientRect.left, ClientRect.left, ClientRect.right, ClientRect.top},
                  Active);
  TRect R{0, 0, Width, Height};
  Bitmap->RoundRect(R, 3, KsColorNavy);
  R = Inset(R);
  Bevel(Bitmap, R, KsColorFace, false, 30);
  R = Inset(R);
  Bevel(Bitmap, R, KsColorFace, false, 15);
  R = Inset(R);
  Bitmap->FrameRect(R, KsColorFace);
}

// ---------------------------------------------------------------------------------
// Menus

void TTeThemeHighlight::MeasureMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width,
                                           int& Height) {
  MeasureMenuBarItemSelfDrawn(this, Bitmap, Item, Width, Height);
}

void TTeThemeHighlight::MeasurePopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, int& Width,
                                         int& Height) {
  MeasurePopupItemSelfDrawn(this, Bitmap, Item, Width, Height);
}

void TTeThemeHighlight::DrawMenuBarBackground(TKsBitmap* Bitmap, int Width, int Height) {
  const TRect R{0, 0, Width, Height};
  Bitmap->FillRect(R, Color(14));
  Bitmap->FrameRect(R, Color(13));
}

void TTeThemeHighlight::DrawMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                                        bool Selected, bool Raised) {
  SetThemeFont(this, Bitmap, 2);
  TRect R = Inset(Rect);
  Bitmap->FillRect(R, Color(Item->InControlBar() ? 11 : 14));
  R = Inset(R);
  TKsColor Ink = Color(18);
  if (Selected && Item->InControlBar()) {
    DrawToolButton(Bitmap, R, Raised ? tdsHot : tdsPressed, true, true);
  } else if (Selected) {
    Bitmap->FillRect(R, Color(Raised ? 12 : 15));
    if (!Raised) RuleHighlight(Bitmap, R, R.top);
    Ink = Color(19);
  }
  Bitmap->Font()->SetColor(KsColorToColor(Ink));
  Bitmap->DrawText(Item->Caption(), R, DrawTextBiDiModeFlags(TextCentre));
  if (Selected && !Item->InControlBar()) Bitmap->RoundRect(R, 3, Color(13));
}

void TTeThemeHighlight::DrawMenuBarMDIButton(TKsBitmap* Bitmap, TKsCustomItem* Item,
                                             const TRect& Rect, bool Selected, bool Raised) {
  TRect R = Inset(Rect);
  Bitmap->FillRect(R, KsColorPale);
  const Byte Kind = Item->MDIButtonKind();
  if (Kind >= 1 && Kind <= 3) {
    static const UINT Glyphs[4] = {0, DFCS_CAPTIONCLOSE, DFCS_CAPTIONRESTORE, DFCS_CAPTIONMIN};
    InflateRect(&R, -2, -2);
    R.top += 1;
    R.bottom -= 1;
    UINT State = Glyphs[Kind] | 16;
    if (Selected) State |= Raised ? DFCS_FLAT : DFCS_PUSHED;
    RECT Box = R;
    DrawFrameControl(Bitmap->DC(), &Box, DFC_CAPTION, State);
    GdiFlush();
    Bitmap->FrameRect(R, KsColorNavy);
  } else if (Kind == 4) {
    R = Inset(R);
    if (!Selected) {
      Bitmap->FillRect(R, Color(16));
      return;
    }
    Bitmap->FillRect(R, Color(17));
    RuleRows(Bitmap, R, R.top);
    Bitmap->RoundRect(R, 3, Color(13));
  }
}

void TTeThemeHighlight::DrawPopupBackground(TKsBitmap* Bitmap, int Width, int Height) {
  TRect R{0, 0, Width, Height};
  Bitmap->FrameRect(R, Color(16));
  Bitmap->RoundRect(R, 3, Color(13));
  R = Inset(R);
  Bitmap->FrameRect(R, Color(16));
  R = Inset(R);
  Bitmap->FrameRect(R, Color(16));
}

void TTeThemeHighlight::DrawPopupItem(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect,
                                      bool Selected, bool /*Raised*/) {
  if (Item->IsSeparator()) {
    Bitmap->FillRect(Rect, Color(16));
    TRect Line = Rect;
    InflateRect(&Line, -2, -4);
    Line.bottom = Line.top + 1;
    Bitmap->FillRect(Line, Ks(clBtnShadow));
    return;
  }
  SetThemeFont(this, Bitmap, 3);
  Bitmap->FillRect(Rect, Color(Selected ? 17 : 16));
  if (Selected) RuleHighlight(Bitmap, Rect, Rect.top);
  TKsColor Ink = Color(Selected ? 21 : 20);

  const TRect Check{Rect.left, Rect.top, Rect.left + 22, Rect.bottom};
  const int CX = (Check.left + Check.right) / 2, CY = (Check.top + Check.bottom) / 2;
  TCustomImageList* List = ImagesOf(Item);
  if (List && Item->ImageIndex() >= 0 && Item->ImageIndex() < List->Count()) {
    const UINT Style = ILD_TRANSPARENT | (Item->Enabled() ? 0 : ILD_BLEND50);
    ImageList_DrawEx(List->Handle(), Item->ImageIndex(), Bitmap->DC(), CX - List->Width() / 2,
                     CY - List->Height() / 2, 0, 0, CLR_NONE, GetSysColor(COLOR_BTNFACE), Style);
    GdiFlush();
  } else if (Item->Checked()) {
    CheckMark(Bitmap, CX, CY);
  }

  if (!Item->Enabled()) Ink = Color(22);
  Bitmap->Font()->SetColor(KsColorToColor(Ink));
  Bitmap->DrawText(Item->Caption(), TRect{Rect.left + 26, Rect.top, Rect.right, Rect.bottom},
                   DrawTextBiDiModeFlags(TextLeft));
  if (Item->ShortCut() != scNone)
    Bitmap->DrawText(ShortCutToText(Item->ShortCut()),
                     TRect{Rect.left, Rect.top, Rect.right - RectHeight(Rect), Rect.bottom},
                     DrawTextBiDiModeFlags(TextRight));
  if (Item->Count() > 0) {
    const int Right = Rect.right - 2, Left = Right - 16;
    const int X = (Left + Right) / 2 - 2, Y = (Rect.top + Rect.bottom) / 2 - 2;
    const TRect Mark{X, Y, X + 5, Y + 5};
    Bitmap->FillRoundRect(Mark, 5, Ink);
    Bitmap->RoundRect(Mark, 5, Color(13));
  }
  if (Selected) Bitmap->RoundRect(Rect, 3, Color(13));
}

// ---------------------------------------------------------------------------------
// Buttons, check boxes and radio buttons

void TTeThemeHighlight::DrawButton(TKsBitmap* Bitmap, int Width, int Height, Byte State) {
  TRect R{0, 0, Width, Height};
  const TKsColor Face = State == tdsDisabled ? Color(6) : StateFace(State);
  if (State == tdsDisabled) {
    Bitmap->RoundRect(R, 3, Color(9));
    return;
  }
  Bitmap->RoundRect(R, 3, Color(7));
  R = Inset(R);
  Bitmap->SetPixel(R.right - 1, R.bottom - 1, Color(7));
  if (State != tdsPressed) {
    Bevel(Bitmap, R, Face, false, 30);
    R = Inset(R);
    Bitmap->FillRect(R, Face);
    Bevel(Bitmap, R, Face, false, 10);
  } else {
    Bevel(Bitmap, R, Face, true, 30);
    Bitmap->FillRect(Inset(R), Face);
  }
}

void TTeThemeHighlight::DrawCheckBox(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                                     Byte CheckState) {
  const TKsColor Face = Color(State == tdsHot ? 12 : State == tdsFocused ? 8 : 6);
  const bool Disabled = State == tdsDisabled;
  const TKsColor Light = Disabled ? Color(6) : LightenKsColor(Face, 50);
  const TKsColor Dark = Disabled ? Color(6) : DarkenKsColor(Face, 50);
  const TKsColor Outline = Color(Disabled ? 9 : 7);
  TRect R = Rect;
  Bitmap->FrameRect(R, Outline);
  R = Inset(R);
  Bitmap->DrawEdge(R, Dark, Light);
  R = Inset(R);
  Bitmap->FillRect(R, Color(6));
  if (CheckState == 1) {
    TKsBitmap* Glyph = Scratch(GetSize(16), GetSize(17));
    if (Glyph->Empty()) return;
    RECT Box{0, 0, Glyph->Width(), Glyph->Height()};
    DrawFrameControl(Glyph->DC(), &Box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
    StampBlack(Glyph, Bitmap, Rect.left - 2, Rect.top - 2, Outline);
  } else if (CheckState == 2) {
    Bitmap->FillRect(Inset(R), Outline);
  }
}

void TTeThemeHighlight::DrawRadioButton(TKsBitmap* Bitmap, const TRect& Rect, Byte State,
                                        bool Checked) {
  const bool Disabled = State == tdsDisabled;
  const TKsColor Face = Color(State == tdsHot ? 12 : State == tdsFocused ? 8 : 6);
  const TKsColor Shade = Disabled ? Color(6) : DarkenKsColor(Face, 30);
  TRect R = Rect;
  Bitmap->RoundRect(R, 6, Color(Disabled ? 9 : 7));
  R = Inset(R);
  Bitmap->RoundRect(R, 2, Shade);
  Bitmap->RoundRect(R, 6, Shade);
  R = Inset(R);
  Bitmap->FillRoundRect(R, 2, Color(6));
  if (Checked) Bitmap->FillRoundRect(Inset(R), 2, Color(Disabled ? 9 : 7));
}

// ---------------------------------------------------------------------------------

void InitTeThemeHighlight() { RegisterTheme(&TTeThemeHighlight::StaticClass()); }

void DoneTeThemeHighlight() { UnregisterTheme(&TTeThemeHighlight::StaticClass()); }
