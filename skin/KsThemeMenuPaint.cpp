#include "skin/KsThemeMenuPaint.h"

#include <algorithm>
#include <iterator>

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/KsUtils.h"

namespace {

constexpr UINT TextLeft = DT_VCENTER | DT_SINGLELINE | DT_LEFT;      // flags 36
constexpr UINT TextCentre = DT_VCENTER | DT_SINGLELINE | DT_CENTER;  // flags 37
constexpr UINT TextRight = DT_VCENTER | DT_SINGLELINE | DT_RIGHT;    // flags 38

TKsColor C(TTeTheme* Theme, Byte Index) { return ColorToKsColor(Theme->GetColor(Index), 255); }

TCustomImageList* ImagesOf(TKsCustomItem* Item) {
  if (Item->Images()) return Item->Images();
  TKsCustomItem* Root = Item->Root();
  return Root ? Root->Images() : nullptr;
}

void DrawCheckMark(TKsBitmap* Bitmap, int CX, int CY) {
  static const TPoint Black[] = {{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}};
  static const TPoint White[] = {{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}};
  const int OX = CX - 2, OY = CY + 1;
  Bitmap->MoveTo(OX + Black[0].x, OY + Black[0].y);
  for (std::size_t I = 1; I < std::size(Black); ++I)
    Bitmap->LineTo(OX + Black[I].x, OY + Black[I].y, 0xFF000000);
  Bitmap->MoveTo(OX + White[0].x, OY + White[0].y);
  for (std::size_t I = 1; I < std::size(White); ++I)
    Bitmap->LineTo(OX + White[I].x, OY + White[I].y, KsColorWhite);
}

// The system's submenu arrow in the 16 pixels that end 2 before the right edge,
// repainted in the item's colours: its white background in Fill, the rest in Ink.
void DrawSubmenuArrow(TKsBitmap* Bitmap, const TRect& R, TKsColor Fill, TKsColor Ink) {
  RECT Arrow{R.right - 2 - 16, R.top, R.right - 2, R.bottom};
  DrawFrameControl(Bitmap->DC(), &Arrow, DFC_MENU, DFCS_MENUARROW);
  GdiFlush();
  for (int Y = std::max<int>(Arrow.top, 0); Y < std::min<int>(Arrow.bottom, Bitmap->Height()); ++Y)
    for (int X = std::max<int>(Arrow.left, 0); X < std::min<int>(Arrow.right, Bitmap->Width()); ++X)
      Bitmap->SetPixel(X, Y, Bitmap->GetPixel(X, Y) == 0x00FFFFFF ? Fill : Ink);
}

}  // namespace

void SetThemeFont(TTeTheme* Theme, TKsBitmap* Bitmap, Byte Kind) {
  AnsiString Name = Bitmap->Font()->Name();
  Theme->GetFontName(Kind, Name);
  Bitmap->Font()->SetName(Name);
  Bitmap->Font()->SetSize(Theme->GetFontSize(Kind));
  Bitmap->Font()->SetStyle(Theme->GetFontStyle(Kind));
}

void MeasureMenuBarItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                                 int& Width, int& Height) {
  SetThemeFont(Theme, Bitmap, 2);
  Width = Bitmap->TextWidth(Item->Caption()) + 12;
  Height = Theme->GetSize(14);
}

void MeasurePopupItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                               int& Width, int& Height) {
  SetThemeFont(Theme, Bitmap, 3);
  Height = Item->IsSeparator() ? 9 : Theme->GetSize(14);
  const AnsiString Shortcut = Item->ShortCut() != scNone ? ShortCutToText(Item->ShortCut()) : "";
  Width = Bitmap->TextWidth(Item->Caption()) + 42 + Bitmap->TextWidth(Shortcut) + 16;
}

void DrawMenuBarBackgroundSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, int Width, int Height) {
  Bitmap->FillRect(TRect{0, 0, Width, Height}, C(Theme, 14));
}

void DrawMenuBarItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                              const TRect& Rect, bool Selected, bool Raised, bool WithBackground) {
  SetThemeFont(Theme, Bitmap, 2);
  TRect R = Rect;
  if (WithBackground) {
    Bitmap->FillRect(R, C(Theme, Item->InControlBar() ? 11 : 14));
    InflateRect(&R, -1, -1);
  }
  TKsColor Ink = C(Theme, 18);
  if (Selected && WithBackground) {
    if (Item->InControlBar()) {
      Theme->DrawToolButton(Bitmap, R, Raised ? 0 : 2, false, false);
    } else {
      Bitmap->FillRect(R, C(Theme, 15));
      Ink = C(Theme, 19);
      Bitmap->FrameRect(R, C(Theme, 13));
    }
  }
  Bitmap->Font()->SetColor(KsColorToColor(Ink));
  Bitmap->DrawText(Item->Caption(), R, Theme->DrawTextBiDiModeFlags(TextCentre));
}

void DrawPopupBackgroundSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, int Width, int Height) {
  TRect R{0, 0, Width, Height};
  Bitmap->FrameRect(R, C(Theme, 13));
  for (int I = 0; I < 2; ++I) {
    InflateRect(&R, -1, -1);
    Bitmap->FrameRect(R, C(Theme, 16));
  }
}

void DrawPopupItemSelfDrawn(TTeTheme* Theme, TKsBitmap* Bitmap, TKsCustomItem* Item,
                            const TRect& Rect, bool Selected, bool WithBackground) {
  if (Item->IsSeparator()) {
    if (WithBackground) Bitmap->FillRect(Rect, C(Theme, 16));
    TRect Line = Rect;
    InflateRect(&Line, -2, -4);
    Line.bottom = Line.top + 1;
    Bitmap->FillRect(Line, ColorToKsColor(clBtnShadow, 255));
    return;
  }
  SetThemeFont(Theme, Bitmap, 3);
  const TKsColor Fill = C(Theme, Selected ? 17 : 16);
  TKsColor Ink = C(Theme, Selected ? 21 : 20);
  if (WithBackground) {
    Bitmap->FillRect(Rect, Fill);
    if (Selected) Bitmap->FrameRect(Rect, C(Theme, 13));
  }
  if (!Item->Enabled()) Ink = C(Theme, 22);

  const int CX = Rect.left + 11, CY = (Rect.top + Rect.bottom) / 2;
  TCustomImageList* List = ImagesOf(Item);
  if (List && Item->ImageIndex() >= 0 && Item->ImageIndex() < List->Count()) {
    const int X = CX - List->Width() / 2, Y = CY - List->Height() / 2;
    // A disabled item's image is greyed: blended half with the face colour.
    const UINT Style = ILD_TRANSPARENT | (Item->Enabled() ? 0 : ILD_BLEND50);
    ImageList_DrawEx(List->Handle(), Item->ImageIndex(), Bitmap->DC(), X, Y, 0, 0, CLR_NONE,
                     GetSysColor(COLOR_BTNFACE), Style);
    GdiFlush();
  } else if (Item->Checked()) {
    DrawCheckMark(Bitmap, CX, CY + 0);
  }

  Bitmap->Font()->SetColor(KsColorToColor(Ink));
  const TRect Text{Rect.left + 26, Rect.top, Rect.right, Rect.bottom};
  Bitmap->DrawText(Item->Caption(), Text, Theme->DrawTextBiDiModeFlags(TextLeft));
  if (Item->ShortCut() != scNone) {
    const TRect Keys{Rect.left, Rect.top, Rect.right - RectHeight(Rect), Rect.bottom};
    Bitmap->DrawText(ShortCutToText(Item->ShortCut()), Keys, Theme->DrawTextBiDiModeFlags(TextRight));
  }
  if (Item->Count() > 0) DrawSubmenuArrow(Bitmap, Rect, Fill, Ink);
}
