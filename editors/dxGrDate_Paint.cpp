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
  PaintMonth(DC, Region.Handle());
  if (HasButtons()) PaintButtons(DC, Region.Handle());
  C->Brush()->SetColor(clWindow);
  FillRgn(DC, Region.Handle(), C->Brush()->Handle());
}

void TdxGridDatePopup::PaintMonth(HDC DC, HRGN Region) {
  TCanvas* C = Canvas();
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
    --Header.right;
    C->MoveTo(Header.right, Header.top);
    C->LineTo(Header.right, Header.bottom + 1);
  }
  DrawEdge(DC, &Header, BDR_RAISEDINNER, BF_RECT);
  InflateRect(&Header, -1, -1);
  C->FillRect(Header);

  // 2. The arrows, cut from the clip region (until the month ends); 3. the month and
  // year over the rest.
  auto Unclip = ScopeExit([&] { SelectClipRgn(DC, nullptr); });
  PaintArrow(DC, Region, Header, true);
  PaintArrow(DC, Region, Header, false);
  const int Year = GetDateElement(FFirstDate, 1), Month = GetDateElement(FFirstDate, 2);
  C->Brush()->SetColor(clBtnFace);
  C->Font()->SetColor(clBtnText);
  CentredText(C, Header, FormatSettings.LongMonthNames[Month - 1] + " " + std::to_string(Year));

  // 4. The day names; 5. the days.
  PaintDayNames(DC, Region, Days);
  PaintDays(DC, Days);
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

void TdxGridDatePopup::PaintDays(HDC /*DC*/, const TRect& Days) {
  TCanvas* C = Canvas();
  const TDateTime MonthStart = FFirstDate;
  const TDateTime MonthEnd = GetLastDate() + 1;
  const TDateTime SelStart = GetSelStart(), SelFinish = GetSelFinish();
  const TDateTime Today = Date();
  const int Left = Days.left + SideWidth();
  const int Top = Days.top + DaysOfWeekHeight();
  for (int Row = 0; Row < 6; ++Row)
    for (int Col = 0; Col < 7; ++Col) {
      const TDateTime Day = DateAtCell(Row, Col);
      TRect Cell{Left + Col * ColWidth(), Top + Row * RowHeight(), Left + (Col + 1) * ColWidth(),
                 Top + (Row + 1) * RowHeight()};
      const bool Selected = SelStart != NullDate && Day >= SelStart && Day <= SelFinish;
      C->Brush()->SetColor(Selected ? (Flat() ? clBtnFace : clHighlight) : clWindow);
      // The flat look marks the day with the button face, on which the highlight's
      // text colour (white in most schemes) cannot be read: the button text goes there.
      if (Selected)
        C->Font()->SetColor(Flat() ? clBtnText : clHighlightText);
      else if (Day < MonthStart || Day >= MonthEnd)
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
