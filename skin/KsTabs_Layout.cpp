// The tab control's geometry: tab sizes, the rows of the multi-line layout, tab and
// pane rectangles, the single scrolling line with its arrows, and the hit test.
//
// Every tab's width, the prefix sums of the widths, the rows and each tab's row and
// offset are measured in one pass (one screen DC for all captions) and kept in
// FLayout; a rectangle, a row or a hit is then answered from it without measuring.
// The layout is dropped when the captions, the font, TabWidth, TabHeight, MultiLine,
// RaggedRight or TabPosition change, and measured again when the length the rows were
// laid in differs from the control's.
#include "skin/KsTabs.h"

#include <algorithm>
#include <cmath>

#include "classlib/GdiScopes.h"
#include "classlib/UpdateScope.h"

// --- Sizes -----------------------------------------------------------------------------

int TKsCustomTabControl::GetTabHeight() {
  if (FTabHeight > 0) return FTabHeight;
  return static_cast<int>(std::lround(Font()->Size() * 1.7)) + 4;
}

int TKsCustomTabControl::MeasureTab(HDC DC, int Index) {
  const AnsiString Text = FTabs->Strings(Index);
  SIZE Size{};
  GetTextExtentPoint32A(DC, Text.c_str(), static_cast<int>(Text.size()), &Size);
  return std::max(static_cast<int>(Size.cx) + 12, 2 * (GetTabHeight() + SideMargin(FTabPosition)));
}

int TKsCustomTabControl::GetTabWidth(int Index) {
  if (FTabWidth != 0) return FTabWidth;
  if (FMeasureDC) return MeasureTab(FMeasureDC, Index);
  TScreenDC Screen;
  TSelection Font(Screen.DC(), this->Font()->Handle());
  return MeasureTab(Screen.DC(), Index);
}

TSize TKsCustomTabControl::GetArrowSize() {
  const int Size = 2 * Font()->Size();
  return TSize{Size, Size};
}

int TKsCustomTabControl::SideMargin(TTabPosition Side) {
  switch (Side) {
    case tpTop: return TopMargin();
    case tpBottom: return BottomMargin();
    case tpLeft: return LeftMargin();
    case tpRight: return RightMargin();
  }
  return 0;
}

int TKsCustomTabControl::AvailableLength() {
  if (IsHorizontalSide(FTabPosition)) return Width() - LeftMargin() - RightMargin();
  return Height() - TopMargin() - BottomMargin();
}

// --- The layout ---------------------------------------------------------------------------

const TKsCustomTabControl::TLayout& TKsCustomTabControl::Layout() {
  const int Available = AvailableLength();
  const int Count = FTabs->Count();
  if (FLayout.Valid && FLayout.Available == Available && static_cast<int>(FLayout.Widths.size()) == Count)
    return FLayout;
  FLayout.Valid = false;
  FLayout.Available = Available;
  FLayout.Widths.assign(static_cast<std::size_t>(Count), 0);
  FLayout.Prefix.assign(static_cast<std::size_t>(Count) + 1, 0);
  {
    // One DC and one font selection for every caption.
    TScreenDC Screen;
    TSelection Font(Screen.DC(), this->Font()->Handle());
    TValueScope<HDC> Measuring(FMeasureDC, Screen.DC());
    for (int I = 0; I < Count; ++I) {
      const auto U = static_cast<std::size_t>(I);
      FLayout.Widths[U] = GetTabWidth(I);
      FLayout.Prefix[U + 1] = FLayout.Prefix[U] + FLayout.Widths[U];
    }
  }
  BuildRows();
  FLayout.Valid = true;
  return FLayout;
}

void TKsCustomTabControl::BuildRows() {
  TLayout& L = FLayout;
  L.Rows.clear();
  const int Count = static_cast<int>(L.Widths.size());
  const int Available = L.Available;
  int Start = 0;
  int Sum = 0;
  auto Close = [&](int Last) {
    const int Tabs = Last - Start + 1;
    TRow Row;
    Row.LastTab = Last;
    Row.ExtraWidth = (Available - Sum) / Tabs;
    Row.Remainder = (Available - Sum) - Tabs * Row.ExtraWidth;
    L.Rows.push_back(Row);
  };
  for (int I = 0; I < Count; ++I) {
    const int W = L.Widths[static_cast<std::size_t>(I)];
    // A row holds at least one tab; the last possible row takes all that remain.
    if (I > Start && Sum + W >= Available && static_cast<int>(L.Rows.size()) < MaxRows - 1) {
      Close(I - 1);
      Start = I;
      Sum = 0;
    }
    Sum += W;
  }
  if (Count > 0) Close(Count - 1);

  // Each tab's row and its offset along the row, justified as the settings say.
  const bool Justify = FMultiLine && !FRaggedRight && FTabWidth == 0;
  L.RowOf.assign(static_cast<std::size_t>(Count), 0);
  L.RowOffset.assign(static_cast<std::size_t>(Count), 0);
  int First = 0;
  for (int R = 0; R < static_cast<int>(L.Rows.size()); ++R) {
    const TRow& Row = L.Rows[static_cast<std::size_t>(R)];
    int Offset = 0;
    for (int I = First; I <= Row.LastTab; ++I) {
      const auto U = static_cast<std::size_t>(I);
      L.RowOf[U] = R;
      L.RowOffset[U] = Offset;
      Offset += L.Widths[U] + (Justify ? Row.ExtraWidth : 0);
    }
    First = Row.LastTab + 1;
  }
}

int TKsCustomTabControl::FirstTabOfRow(int Row) {
  const TLayout& L = Layout();
  return Row <= 0 ? 0 : L.Rows[static_cast<std::size_t>(Row - 1)].LastTab + 1;
}

int TKsCustomTabControl::RowCount() {
  if (!FMultiLine) return 1;
  return static_cast<int>(Layout().Rows.size());
}

int TKsCustomTabControl::RowOfTab(int Index) {
  if (!FMultiLine) return 0;
  const TLayout& L = Layout();
  if (Index >= 0 && Index < static_cast<int>(L.RowOf.size())) return L.RowOf[static_cast<std::size_t>(Index)];
  return std::max(static_cast<int>(L.Rows.size()) - 1, 0);
}

int TKsCustomTabControl::ActiveRow() { return FTabIndex >= 0 ? RowOfTab(FTabIndex) : 0; }

int TKsCustomTabControl::JustifiedWidth(int Index) {
  const TLayout& L = Layout();
  const int W = L.Widths[static_cast<std::size_t>(Index)];
  if (!FMultiLine || FRaggedRight || FTabWidth != 0) return W;
  const TRow& Row = L.Rows[static_cast<std::size_t>(L.RowOf[static_cast<std::size_t>(Index)])];
  return W + Row.ExtraWidth + (Row.LastTab == Index ? Row.Remainder : 0);
}

// --- Rectangles ---------------------------------------------------------------------------

int TKsCustomTabControl::RowDistance(int Row) {
  const int Active = ActiveRow();
  const int Height = GetTabHeight();
  if (Row >= Active) return (Row - Active + 1) * Height;
  if (FScrollOpposite) return (Active - Row) * Height;
  return (Row + RowCount() - Active + 1) * Height;
}

bool TKsCustomTabControl::IsOppositeRow(int Row) {
  return FMultiLine && FScrollOpposite && Row < ActiveRow();
}

int TKsCustomTabControl::TabBand() {
  const int Rows = FMultiLine && FScrollOpposite ? RowCount() - ActiveRow() : RowCount();
  return GetTabHeight() * Rows + SideMargin(FTabPosition);
}

int TKsCustomTabControl::OppositeBand() {
  return FMultiLine && FScrollOpposite ? ActiveRow() * GetTabHeight() : 0;
}

TRect TKsCustomTabControl::PaneRect() {
  TRect R{0, 0, Width(), Height()};
  const int Band = TabBand();
  const int Other = OppositeBand();
  switch (FTabPosition) {
    case tpTop: R.top += Band; R.bottom -= Other; break;
    case tpBottom: R.bottom -= Band; R.top += Other; break;
    case tpLeft: R.left += Band; R.right -= Other; break;
    case tpRight: R.right -= Band; R.left += Other; break;
  }
  return R;
}

void TKsCustomTabControl::AdjustClientRect(TRect& Rect) {
  Rect = PaneRect();
  Rect.left += LeftMargin() + 1;
  Rect.top += TopMargin() + 1;
  Rect.right -= RightMargin() + 1;
  Rect.bottom -= BottomMargin() + 1;
}

TRect TKsCustomTabControl::GetTabRect(int Index) {
  const TLayout& L = Layout();
  if (Index < 0 || Index >= static_cast<int>(L.Widths.size())) return TRect{};
  const int Row = RowOfTab(Index);
  int Offset = 0;
  if (FMultiLine)
    Offset = L.RowOffset[static_cast<std::size_t>(Index)];
  else
    // Negative for a tab before the first visible one.
    Offset = L.Prefix[static_cast<std::size_t>(Index)] -
             L.Prefix[static_cast<std::size_t>(std::max(FFirstVisibleTab, 0))];
  const int W = JustifiedWidth(Index);
  const bool Other = IsOppositeRow(Row);
  const TTabPosition Side = Other ? OppositeSide(FTabPosition) : FTabPosition;
  const int Band = Other ? OppositeBand() : TabBand();
  const int Distance = RowDistance(Row);
  const int Across = SideMargin(Side);
  const int Along = (IsHorizontalSide(Side) ? LeftMargin() : TopMargin()) + Offset;
  switch (Side) {
    case tpTop: return TRect{Along, Band - Distance, Along + W, Band + Across};
    case tpBottom: return TRect{Along, Height() - Band - Across, Along + W, Height() - Band + Distance};
    case tpLeft: return TRect{Band - Distance, Along, Band + Across, Along + W};
    case tpRight: return TRect{Width() - Band - Across, Along, Width() - Band + Distance, Along + W};
  }
  return TRect{};
}

// --- The single scrolling line ----------------------------------------------------------

int TKsCustomTabControl::LastVisibleTab() {
  const TLayout& L = Layout();
  const int Count = static_cast<int>(L.Widths.size());
  if (Count == 0) return -1;
  // The tabs from the first visible one whose widths fit; one more, partly shown.
  const int First = std::max(FFirstVisibleTab, 0);
  const int Limit = L.Prefix[static_cast<std::size_t>(First)] + L.Available;
  const auto End = std::upper_bound(L.Prefix.begin() + First + 1, L.Prefix.end(), Limit);
  const int I = static_cast<int>(End - L.Prefix.begin()) - 1;
  return I < Count ? I : Count - 1;
}

int TKsCustomTabControl::LastShownTab() {
  const int First = std::max(FFirstVisibleTab, 0);
  int Last = LastVisibleTab();
  if (!ArrowsShown()) return Last;
  // Tabs at the end that pass the right edge or reach under an arrow are left out.
  const TRect Left = LeftArrowRect(), Right = RightArrowRect();
  auto Hidden = [&](const TRect& Tab) {
    RECT Overlap;
    return Tab.right > Width() || IntersectRect(&Overlap, &Tab, &Left) ||
           IntersectRect(&Overlap, &Tab, &Right);
  };
  while (Last >= First && Hidden(GetTabRect(Last))) --Last;
  return Last;
}

bool TKsCustomTabControl::ArrowsShown() {
  const int Count = FTabs->Count();
  if (FMultiLine || Count < 2) return false;
  return FFirstVisibleTab > 0 || GetTabRect(Count - 1).right > Width();
}

TRect TKsCustomTabControl::LeftArrowRect() {
  const TSize S = GetArrowSize();
  const int Y = FTabPosition == tpTop ? TabBand() - S.cy - TopMargin()
                                      : Height() - TabBand() + BottomMargin();
  return TRect{Width() - 2 * S.cx, Y, Width() - S.cx, Y + S.cy};
}

TRect TKsCustomTabControl::RightArrowRect() {
  TRect R = LeftArrowRect();
  OffsetRect(&R, GetArrowSize().cx, 0);
  return R;
}

bool TKsCustomTabControl::InLeftArrow(int X, int Y) {
  const TRect R = LeftArrowRect();
  return PtInRect(&R, POINT{X, Y}) != 0;
}

bool TKsCustomTabControl::InRightArrow(int X, int Y) {
  const TRect R = RightArrowRect();
  return PtInRect(&R, POINT{X, Y}) != 0;
}

void TKsCustomTabControl::ScrollTabs(int Delta) {
  const int Count = FTabs->Count();
  if (Count == 0) {
    FFirstVisibleTab = -1;
    Invalidate();
    return;
  }
  FFirstVisibleTab = std::clamp(FFirstVisibleTab + Delta, 0, Count - 1);
  bool SteppedBack = false;
  while (FFirstVisibleTab > 0 && LastVisibleTab() == Count - 1) {
    --FFirstVisibleTab;
    SteppedBack = true;
  }
  if (SteppedBack) ++FFirstVisibleTab;
  Invalidate();
}

void TKsCustomTabControl::ArrowTick(TObject* /*Sender*/) {
  FArrowTimer->SetInterval(100);
  if (FLeftArrowDown) ScrollTabs(-1);
  if (FRightArrowDown) ScrollTabs(1);
}

void TKsCustomTabControl::StopArrows() {
  if (FLeftArrowDown || FRightArrowDown) Invalidate();
  FLeftArrowDown = FRightArrowDown = false;
  if (FArrowTimer) FArrowTimer->SetEnabled(false);
}

// --- Hit test --------------------------------------------------------------------------

std::vector<int> TKsCustomTabControl::RowsNearestFirst() {
  const int Rows = static_cast<int>(Layout().Rows.size());
  const int Active = ActiveRow();
  std::vector<int> Order;
  Order.reserve(static_cast<std::size_t>(Rows));
  if (FScrollOpposite)
    for (int R = Active - 1; R >= 0; --R) Order.push_back(R);
  for (int R = Active; R < Rows; ++R) Order.push_back(R);
  if (!FScrollOpposite)
    for (int R = 0; R < Active; ++R) Order.push_back(R);
  return Order;
}

int TKsCustomTabControl::TabAtPoint(int X, int Y) {
  const int Count = FTabs->Count();
  if (Count == 0) return -1;
  auto Holds = [&](TRect R) { return PtInRect(&R, POINT{X, Y}) != 0; };
  if (ArrowsShown()) {
    const int Band = TabBand();
    const bool InBand = FTabPosition == tpTop ? Y < Band : Y >= Height() - Band;
    if (InBand && X >= Width() - 2 * GetArrowSize().cx) return -1;
  }
  if (FTabIndex >= 0 && Holds(GetTabRect(FTabIndex))) return FTabIndex;
  if (!FMultiLine) {
    const int Last = LastShownTab();
    for (int I = std::max(FFirstVisibleTab, 0); I <= Last; ++I) {
      TRect R = GetTabRect(I);
      if (FTabPosition == tpTop) R.bottom -= TopMargin();
      if (FTabPosition == tpBottom) R.top += BottomMargin();
      if (Holds(R)) return I;
    }
    return -1;
  }
  // A row's tabs share their extent across the row and follow each other along it:
  // a row whose band misses the point is skipped, and in the others the one tab that
  // starts at or before the point along the row is the only one that can hold it.
  const TLayout& L = Layout();
  const bool Horizontal = IsHorizontalSide(FTabPosition);
  const int Along = (Horizontal ? X - LeftMargin() : Y - TopMargin());
  for (int Row : RowsNearestFirst()) {
    const int First = FirstTabOfRow(Row);
    const TRect Band = GetTabRect(First);
    if (Horizontal ? Y < Band.top || Y >= Band.bottom : X < Band.left || X >= Band.right) continue;
    const auto Begin = L.RowOffset.begin() + First;
    const auto End = L.RowOffset.begin() + L.Rows[static_cast<std::size_t>(Row)].LastTab + 1;
    const auto After = std::upper_bound(Begin, End, Along);
    if (After == Begin) continue;
    const int I = static_cast<int>(After - L.RowOffset.begin()) - 1;
    if (Holds(GetTabRect(I))) return I;
  }
  return -1;
}
