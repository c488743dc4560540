// Painting of the date popup: every part drawn is cut from a region of the client
// area, whose rest is filled with the window colour at the end (no erase, no flicker).
#include <windows.h>

#include <algorithm>
#include <string>

#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/ScopeExit.h"
#include "editors/dxGrDate.h"

namespace {

// Today's frame.
constexpr TColor TodayFrameColor = static_cast<TColor>(128);

void Exclude(HRGN Region, const TRect& R) {
  TOwnedRegion Part(CountHandle(CreateRectRgnIndirect(&R)));
  CombineRgn(Region, Region, Part.Handle(), RGN_DIFF);
}

// Text centred in R, over the brush's colour, clipped to R.
void CentredText(TCanvas* C, const TRect& R, const AnsiString& Text, int Shift = 0) {
  const TSize Size = C->TextExtent(Text);
  C->TextRect(R, R.left + (R.right - R.left - Size.cx) / 2 + Shift, R.top + (R.bottom - R.top - Size.cy) / 2 + Shift,
              Text);
}

// Text right-aligned Inset pixels inside R and centred vertically, over the brush.
void RightText(TCanvas* C, const TRect& R, const AnsiString& Text, int Inset) {
  const TSize Size = C->TextExtent(Text);
  C->TextRect(R, R.right - Inset - Size.cx, R.top + (R.bottom - R.top - Size.cy) / 2, Text);
}

}  // namespace

void TdxGridDatePopup::Paint() {
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  HDC DC = C->Handle();
  const TRect Client = GetClientRect();
  TOwnedRegion Region(GdiCheck(CountHandle(CreateRectRgnIndirect(&Client))));
  for (int Row = 0; Row < MonthRowCount(); ++Row)
    for (int Col = 0; Col < MonthColCount(); ++Col) PaintMonth(DC, Region.Handle(), Row, Col);
  if (HasButtons()) PaintButtons(DC, Region.Handle());
  C->Brush()->SetColor(clWindow);
  FillRgn(DC, Region.Handle(), C->Brush()->Handle());
}

void TdxGridDatePopup::PaintMonth(HDC DC, HRGN Region, int Row, int Col) {
  TCanvas* C = Canvas();
  const int MonthIndex = Row * MonthColCount() + Col;
  const bool LastCol = Col == MonthColCount() - 1;
  TRect Days = DaysRect();
  Exclude(Region, TRect{Days.left + SideWidth(), Days.top, Days.right - SideWidth(), Days.bottom - 1});

  // 1. The header band.
  TRect Header = HeaderRect();
  TRect Cut = Header;
  if (!Flat()) InflateRect(&Cut, 0, 1);
  Exclude(Region, Cut);
  C->Brush()->SetColor(clBtnFace);
  C->Pen()->SetColor(clBtnText);
  if (!Flat()) {
    C->MoveTo(Header.left, Header.bottom);
    C->LineTo(Header.right, Header.bottom);
    if (LastCol) {
      --Header.right;
      C->MoveTo(Header.right, Header.top);
      C->LineTo(Header.right, Header.bottom + 1);
    }
  }
  UINT Sides = BF_TOP | BF_BOTTOM;
  if (Col == 0) Sides |= BF_LEFT;
  if (LastCol) Sides |= BF_RIGHT;
  DrawEdge(DC, &Header, BDR_RAISEDINNER, Sides);
  if (Col > 0) {
    TRect Separator{Header.left - 2, Header.top, Header.left, Header.bottom};
    DrawEdge(DC, &Separator, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_LEFT);
  }
  InflateRect(&Header, -1, -1);
  C->FillRect(Header);

  // 2. The arrows, cut from the clip region (until the month ends); 3. the month and
  // year over the rest.
  auto Unclip = ScopeExit([&] { SelectClipRgn(DC, nullptr); });
  if (Row == 0 && Col == 0) PaintArrow(DC, Region, Header, true);
  if (Row == 0 && LastCol) PaintArrow(DC, Region, Header, false);
  int Year = GetDateElement(FFirstDate, 1), Month = GetDateElement(FFirstDate, 2);
  ChangeMonth(Year, Month, MonthIndex);
  C->Brush()->SetColor(clBtnFace);
  C->Font()->SetColor(clBtnText);
  CentredText(C, Header, FormatSettings.LongMonthNames[Month - 1] + " " + std::to_string(Year));

  // 4. The day names; 5. the days.
  PaintDayNames(DC, Region, Days);
  PaintDays(DC, Days, MonthIndex);
}

void TdxGridDatePopup::PaintArrow(HDC DC, HRGN /*Region*/, const TRect& Header, bool Left) {
  TCanvas* C = Canvas();
  int H = (Header.bottom - Header.top) / 2;
  if (H % 2 == 0) ++H;
  const int Middle = (Header.top + Header.bottom) / 2;
  const int Side = Left ? Header.left + SideWidth() - 1 : Header.right - SideWidth();
  const int Tip = Left ? Side - H / 2 : Side + H / 2;
  const TPoint Points[3] = {{Side, Middle - H / 2}, {Side, Middle + H / 2}, {Tip, Middle}};
  C->Pen()->SetColor(clBtnText);
  C->Brush()->SetColor(clBtnText);
  C->Polygon(Points);
  const TRect Box{std::min(Side, Tip), Middle - H / 2, std::max(Side, Tip) + 1, Middle + H / 2 + 1};
  ExcludeClipRect(DC, Box.left, Box.top, Box.right, Box.bottom);
}

void TdxGridDatePopup::PaintDayNames(HDC /*DC*/, HRGN /*Region*/, const TRect& Days) {
  TCanvas* C = Canvas();
  const int Left = Days.left + SideWidth();
  const int Right = Days.right - SideWidth();
  const int NamesBottom = Days.top + RowHeight() - 1;
  C->Brush()->SetColor(clWindow);
  C->Font()->SetColor(clWindowText);
  for (int I = 0; I < 7; ++I) {
    const AnsiString& Name = FormatSettings.ShortDayNames[(StartOfWeek + I) % 7];
    const TRect Cell{Left + I * ColWidth(), Days.top, Left + (I + 1) * ColWidth(), NamesBottom};
    RightText(C, Cell, Name.substr(0, 1), 3);
  }
  C->Pen()->SetColor(clBtnShadow);
  C->MoveTo(Left, NamesBottom);
  C->LineTo(Right, NamesBottom);
  C->Pen()->SetColor(clWindow);
  C->MoveTo(Left, NamesBottom + 1);
  C->LineTo(Right, NamesBottom + 1);
}

void TdxGridDatePopup::PaintDays(HDC /*DC*/, const TRect& Days, int MonthIndex) {
  TCanvas* C = Canvas();
  int Year = GetDateElement(FFirstDate, 1), Month = GetDateElement(FFirstDate, 2);
  ChangeMonth(Year, Month, MonthIndex);
  const TDateTime MonthStart = EncodeDate(Year, Month, 1);
  const TDateTime MonthEnd = MonthStart + DaysPerMonth(Year, Month);
  const bool FirstMonth = MonthIndex == 0;
  const bool LastMonth = MonthIndex == MonthColCount() * MonthRowCount() - 1;
  TDateTime First = MonthStart - DayOfWeekIndex(MonthStart);
  if (FirstMonth && DayOfWeekIndex(FFirstDate) == 0) First -= 7;
  const TDateTime SelStart = GetSelStart(), SelFinish = GetSelFinish();
  const TDateTime Today = Date();
  const int Left = Days.left + SideWidth();
  const int Top = Days.top + DaysOfWeekHeight();
  for (int Row = 0; Row < 6; ++Row)
    for (int Col = 0; Col < 7; ++Col) {
      const TDateTime Day = First + Row * 7 + Col;
      TRect Cell{Left + Col * ColWidth(), Top + Row * RowHeight(), Left + (Col + 1) * ColWidth(),
                 Top + (Row + 1) * RowHeight()};
      const bool Before = Day < MonthStart, After = Day >= MonthEnd;
      if ((Before && !FirstMonth) || (After && !LastMonth)) {
        C->Brush()->SetColor(clWindow);
        C->FillRect(Cell);
        continue;
      }
      const bool Selected = SelStart != NullDate && Day >= SelStart && Day <= SelFinish;
      C->Brush()->SetColor(Selected ? (Flat() ? clBtnFace : clHighlight) : clWindow);
      if (Selected)
        C->Font()->SetColor(clHighlightText);
      else if (Before || After)
        C->Font()->SetColor(clGrayText);
      else
        C->Font()->SetColor(clWindowText);
      if (Day == Today) {
        const TColor Fill = C->Brush()->Color();
        C->Brush()->SetColor(TodayFrameColor);
        C->FrameRect(Cell);
        C->Brush()->SetColor(Fill);
        InflateRect(&Cell, -1, -1);
      }
      RightText(C, Cell, std::to_string(GetDateElement(Day, 3)), Day == Today ? 2 : 3);
    }
}

void TdxGridDatePopup::PaintButton(HDC DC, HRGN Region, const TRect& R, const AnsiString& Caption, bool Pushed) {
  TCanvas* C = Canvas();
  Exclude(Region, R);
  if (Pushed) {
    TRect Frame = R;
    DrawFrameControl(DC, &Frame, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  } else {
    // Outer frame: dark bottom and right; inner frame: shadow and highlight.
    auto Frame = [C](const TRect& F, TColor TopLeft, TColor BottomRight) {
      C->Pen()->SetColor(TopLeft);
      C->Polyline({TPoint{F.left, F.bottom - 1}, TPoint{F.left, F.top}, TPoint{F.right - 1, F.top}});
      C->Pen()->SetColor(BottomRight);
      C->Polyline({TPoint{F.right - 1, F.top}, TPoint{F.right - 1, F.bottom - 1}, TPoint{F.left - 1, F.bottom - 1}});
    };
    Frame(R, clBtnFace, clBtnText);
    TRect Inner = R;
    InflateRect(&Inner, -1, -1);
    Frame(Inner, clBtnHighlight, clBtnShadow);
    SetPixel(DC, R.right - 2, R.top + 1, GetSysColor(COLOR_BTNFACE));
  }
  TRect Face = R;
  InflateRect(&Face, -2, -2);
  C->Brush()->SetColor(clBtnFace);
  C->Font()->SetColor(clBtnText);
  CentredText(C, Face, Caption, Pushed ? 1 : 0);
}

void TdxGridDatePopup::PaintButtons(HDC DC, HRGN Region) {
  TCanvas* C = Canvas();
  const int Y = ClientHeight() - ButtonsRegionHeight() - 1;
  const TRect Line{SideWidth(), Y, ClientWidth() - SideWidth(), Y + 1};
  C->Brush()->SetColor(clBtnShadow);
  C->FillRect(Line);
  Exclude(Region, Line);
  if (ShowToday()) PaintButton(DC, Region, TodayButtonRect(), dxTodayCaption(), TodayPressed() && TodayDown());
  if (ShowClear()) PaintButton(DC, Region, ClearButtonRect(), dxClearCaption(), ClearPressed() && ClearDown());
}
