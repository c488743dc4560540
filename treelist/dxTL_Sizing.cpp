// Sizing bands, columns, the band and header panels and the rows with the mouse: the
// inverted line that follows the mouse inside the limits of the sizing, and the widths,
// row counts and row height applied on release.
#include <algorithm>
#include <numeric>

#include "classlib/GdiScopes.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

namespace {

// The farthest a line may go when nothing else limits it.
constexpr int FarLimit = 100000;

bool IsSizing(TdxTreeListState State) {
  return State == tsColumnSizing || State == tsBandSizing || State == tsBandPanelSizing ||
         State == tsHeaderPanelSizing || State == tsRowSizing;
}

// Min first and Max last: Max wins when the two cross.
int Clamp(int Pos, int Min, int Max) { return std::min(std::max(Pos, Min), Max); }

const TdxTreeListHeaderInfo* FindHeader(const TdxTreeListDrawInfo& DI, int Column) {
  for (const TdxTreeListHeaderInfo& H : DI.Headers)
    if (H.Column == Column) return &H;
  return nullptr;
}

const TdxTreeListBandInfo* FindBand(const TdxTreeListDrawInfo& DI, int VisibleBand) {
  for (const TdxTreeListBandInfo& B : DI.Bands)
    if (B.Index == VisibleBand) return &B;
  return nullptr;
}

// Shares Total among Widths in proportion, the last taking the rest.
std::vector<int> Share(const std::vector<int>& Widths, int Total) {
  const int Sum = std::accumulate(Widths.begin(), Widths.end(), 0);
  std::vector<int> Result(Widths.size(), 0);
  if (Sum <= 0 || Widths.empty()) return Result;
  int Given = 0;
  for (size_t I = 0; I + 1 < Widths.size(); ++I) {
    Result[I] = MulDiv(Widths[I], Total, Sum);
    Given += Result[I];
  }
  Result.back() = Total - Given;
  return Result;
}

}  // namespace

// ---------------------------------------------------------------------------------
// The line

void TCustomdxTreeList::ToggleSizingLine() {
  if (!HandleAllocated() || !IsSizing(FState)) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  TClientDC Client(Handle());
  TSavedDC Saved(Client.DC());
  TSelection Pen(Client.DC(), GetStockObject(BLACK_PEN));
  SetROP2(Client.DC(), R2_NOTXORPEN);
  auto Line = [&](int X1, int Y1, int X2, int Y2) {
    MoveToEx(Client.DC(), X1, Y1, nullptr);
    LineTo(Client.DC(), X2, Y2);
  };
  const int P = FSizingPos;
  if (FState == tsBandSizing || FState == tsColumnSizing) {
    int Top = DI.CellsRect.top;
    if (FState == tsBandSizing && !IsRectEmpty(&DI.BandRect))
      Top = DI.BandRect.top;
    else if (!IsRectEmpty(&DI.HeaderRect))
      Top = DI.HeaderRect.top;
    const int Bottom = DI.CellsRect.bottom;
    Line(P, Top, P, Bottom);
    if (FState == tsBandSizing) Line(P + 1, Top, P + 1, Bottom);
  } else {
    const int Left = FState == tsRowSizing && !IsRectEmpty(&DI.IndRect) ? DI.IndRect.left
                                                                   : DI.CellsRect.left;
    const int Right = DI.CellsRect.right;
    Line(Left, P, Right, P);
    if (FState != tsRowSizing) Line(Left, P + 1, Right, P + 1);
  }
  FSizingLineShown = !FSizingLineShown;
}

void TCustomdxTreeList::HideSizingLine() {
  if (FSizingLineShown) ToggleSizingLine();
  FSizingLineShown = false;
}

void TCustomdxTreeList::ShowSizingLine() {
  if (!FSizingLineShown && IsSizing(FState)) ToggleSizingLine();
}

void TCustomdxTreeList::MoveSizingLine(int Pos) {
  Pos = ClampSizingPos(FState, Pos);
  if (Pos == FSizingPos) return;
  const bool Shown = FSizingLineShown;
  HideSizingLine();
  FSizingPos = Pos;
  if (Shown) ShowSizingLine();
}

// ---------------------------------------------------------------------------------
// Limits

int TCustomdxTreeListControl::ClampSizingPos(TdxTreeListState Sizing, int Pos) {
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  const TdxTreeListHitInfo& Down = DownHitInfo();
  switch (Sizing) {
    case tsBandSizing: {
      const TdxTreeListBandInfo* Band = FindBand(DI, Down.BandIndex);
      if (!Band) return Pos;
      // The line sits on the last pixel of the sized band or column.
      const int Min = Band->BandRect.left + GetBandMinimumWidth(Down.BandIndex) - 1;
      const int Max = IsBandFullSizing() ? FarLimit : DI.CR.right - 2;
      return Clamp(Pos, Min, Max);
    }
    case tsColumnSizing: {
      const TdxTreeListHeaderInfo* Cell = FindHeader(DI, Down.Column);
      if (!Cell) return Pos;
      const int Min = Cell->CellRect.left + GetColumnMinWidth(Down.Column) - 1;
      int Max;
      if (!IsAutoWidth() && IsHeaderFullSizing())
        Max = FarLimit;
      else if (IsBandHeaderWidth() && !ShowBands())
        Max = DI.CR.right - 1;
      else if (const TdxTreeListBandInfo* Band = FindBand(DI, Cell->BandIndex))
        Max = Band->BandRect.right - 1;
      else
        Max = FarLimit;
      return Clamp(Pos, Min, Max);
    }
    case tsBandPanelSizing:
    case tsHeaderPanelSizing: {
      int Rows = 0;
      return SnapPanelLine(Sizing, Pos, Rows);
    }
    case tsRowSizing: {
      const int Top = RowTop(DI, Down.Node);
      if (Top < 0) return Pos;
      const int Min = Top + GetRowHeight(Down.Node, RowLineHeight(), true);
      return Clamp(Pos, Min, DI.CellsRect.bottom - 1);
    }
    default: return Pos;
  }
}

int TCustomdxTreeListControl::SnapPanelLine(TdxTreeListState Sizing, int Pos, int& Rows) {
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  if (Sizing == tsHeaderPanelSizing) {
    const int Height = std::max(HeaderRowHeight(), 1);
    const int Top = DI.HeaderRect.top;
    Rows = std::max(std::min((Pos - Top + Height / 2) / Height, GetHeaderPanelMaxRowCount()), 1);
    return Top + Rows * Height;
  }
  // The band panel's boundary below its k-th row, as the size pass makes the panel.
  const int Standard = LookAndFeel() == lfStandard ? 1 : 0;
  auto Boundary = [&](int K) { return DI.BandRect.top + BandLineHeight() * K + 5 + Standard; };
  Rows = 1;
  for (int K = 2; K <= GetBandMaxRowCount(); ++K) {
    if (Pos < (Boundary(K - 1) + Boundary(K)) / 2) break;
    Rows = K;
  }
  return Boundary(Rows);
}

int TCustomdxTreeListControl::RowTop(const TdxTreeListDrawInfo& DI, const TdxTreeListNode* Node) {
  int Top = DI.CellsRect.top;
  for (const TdxTreeListRowInfo& Row : DI.Rows) {
    if (Row.Node == Node) return Top;
    Top += Row.RowHeight;
  }
  return -1;
}

// ---------------------------------------------------------------------------------
// Release

void TCustomdxTreeListControl::EndSizing(TdxTreeListState Sizing, int Pos) {
  Pos = ClampSizingPos(Sizing, Pos);
  if (Pos == SizingStart()) return;
  const TdxTreeListHitInfo Down = DownHitInfo();
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  switch (Sizing) {
    case tsBandSizing: {
      const TdxTreeListBandInfo* Band = FindBand(DI, Down.BandIndex);
      if (!Band) return;
      const int Old = Band->BandRect.right - Band->BandRect.left;
      const int New = Pos - Band->BandRect.left + 1;
      if (IsAutoWidth())
        ShareBandWidth(Down.BandIndex, New, Old);
      else
        ApplyBandWidth(Down.BandIndex, New, Old);
      ChangedColumnsWidth();
      break;
    }
    case tsColumnSizing: {
      const TdxTreeListHeaderInfo* Cell = FindHeader(DI, Down.Column);
      if (!Cell) return;
      const TdxTreeListHeaderInfo Copy = *Cell;
      const int Old = Copy.CellRect.right - Copy.CellRect.left;
      const int New = Pos - Copy.CellRect.left + 1;
      if (!IsBandHeaderWidth() || IsAutoWidth() || GetHeaderRowCount(Copy.BandIndex) > 1)
        ShareRowWidth(Copy, New, Old);
      else
        GrowBandWithColumn(Copy, New, Old);
      ChangedColumnsWidth();
      break;
    }
    case tsBandPanelSizing: {
      int Rows = 0;
      SnapPanelLine(Sizing, Pos, Rows);
      SetBandRowCount(Rows);
      break;
    }
    case tsHeaderPanelSizing: {
      int Rows = 0;
      SnapPanelLine(Sizing, Pos, Rows);
      SetHeaderPanelRowCount(Rows);
      break;
    }
    case tsRowSizing: {
      const int Top = RowTop(DI, Down.Node);
      if (Top < 0) break;
      // The largest base height whose full row still ends at the line.
      int Best = 0;
      for (int Base = RowLineHeight(); Top + GetRowHeight(Down.Node, Base, true) <= Pos;
           ++Base)
        Best = Base;
      if (Best > 0) SetDefaultRowHeight(Best);
      break;
    }
    default: break;
  }
}

void TCustomdxTreeListControl::ChangedColumnsWidth() {
  if (OnChangedColumnsWidth.Assigned()) OnChangedColumnsWidth(this);
}

std::vector<int> TCustomdxTreeListControl::BandRowColumns(int VisibleBand, int Row) const {
  std::vector<int> Result;
  for (int Col = 0, Count = GetHeaderColumnCount(VisibleBand, Row); Col < Count; ++Col) {
    const int Column = GetHeaderAbsoluteColumnIndex(VisibleBand, Row, Col);
    if (Column >= 0) Result.push_back(Column);
  }
  return Result;
}

void TCustomdxTreeListControl::ApplyBandWidth(int VisibleBand, int NewWidth, int OldWidth) {
  TUpdateScope Updating(UpdateCount() > 0 ? nullptr : this);
  if (IsBandHeaderWidth() && OldWidth > 0) {
    for (int Row = 0, Rows = GetHeaderRowCount(VisibleBand); Row < Rows; ++Row)
      for (int Column : BandRowColumns(VisibleBand, Row))
        SetColumnWidth(Column, MulDiv(Columns(Column)->Width(), NewWidth, OldWidth));
    ScaleColumnWidths(VisibleBand, NewWidth, OldWidth);
  }
  SetBandWidth(VisibleBand, NewWidth);
  ColumnChanged(nullptr);
}

void TCustomdxTreeListControl::ShareBandWidth(int VisibleBand, int NewWidth, int OldWidth) {
  const int Count = GetVisibleBandCount();
  const std::vector<int> Shown = GetBandDisplayWidths();
  std::vector<int> Widths(Shown.begin(), Shown.begin() + std::min<int>(Count, Shown.size()));
  // The bands right of the sized one give or take the difference; the last band
  // takes it from all the bands before it.
  std::vector<int> Adjustable;
  if (VisibleBand == Count - 1)
    for (int V = 0; V < VisibleBand; ++V) Adjustable.push_back(V);
  else
    for (int V = VisibleBand + 1; V < Count; ++V) Adjustable.push_back(V);
  std::vector<int> Old;
  for (int V : Adjustable) Old.push_back(Widths[V]);
  const int S = std::accumulate(Old.begin(), Old.end(), 0);
  TUpdateScope Updating(this);
  if (S > 0) {
    const int T = S - (NewWidth - OldWidth);
    const std::vector<int> New = Share(Old, T);
    for (size_t I = 0; I < Adjustable.size(); ++I) Widths[Adjustable[I]] = New[I];
    ScaleBandWidths(T, S);
  }
  Widths[VisibleBand] = NewWidth;
  for (int V = 0; V < Count; ++V) {
    if (IsBandHeaderWidth())
      ApplyBandWidth(V, Widths[V], Shown[V]);
    else
      SetBandWidth(V, Widths[V]);
  }
  ColumnChanged(nullptr);
}

void TCustomdxTreeListControl::ShareRowWidth(const TdxTreeListHeaderInfo& Cell, int NewWidth,
                                             int OldWidth) {
  const std::vector<int> Row = BandRowColumns(Cell.BandIndex, Cell.RowIndex);
  const auto At = std::find(Row.begin(), Row.end(), Cell.Column);
  if (At == Row.end()) return;
  const int Pos = static_cast<int>(At - Row.begin());
  std::vector<int> Adjustable;
  if (Pos == static_cast<int>(Row.size()) - 1)
    Adjustable.assign(Row.begin(), At);
  else
    Adjustable.assign(At + 1, Row.end());
  auto Shown = [this](int Column) { return GetColumnDisplayWidth(Column); };
  int OldRow = 0;
  for (int Column : Row) OldRow += Shown(Column);
  std::vector<int> Old;
  for (int Column : Adjustable) Old.push_back(Shown(Column));
  const int S = std::accumulate(Old.begin(), Old.end(), 0);
  TUpdateScope Updating(this);
  if (S > 0) {
    const std::vector<int> New = Share(Old, S - (NewWidth - OldWidth));
    for (size_t I = 0; I < Adjustable.size(); ++I) SetColumnWidth(Adjustable[I], New[I]);
  }
  SetColumnWidth(Cell.Column, NewWidth);
  if (IsBandHeaderWidth() && OldRow > 0) {
    int NewRow = 0;
    for (int Column : Row) NewRow += Columns(Column)->Width();
    for (int R = 0, Rows = GetHeaderRowCount(Cell.BandIndex); R < Rows; ++R) {
      if (R == Cell.RowIndex) continue;
      for (int Column : BandRowColumns(Cell.BandIndex, R))
        SetColumnWidth(Column, MulDiv(Shown(Column), NewRow, OldRow));
    }
  }
  ColumnChanged(nullptr);
}

void TCustomdxTreeListControl::GrowBandWithColumn(const TdxTreeListHeaderInfo& Cell,
                                                  int NewWidth, int OldWidth) {
  const int OldBand = GetBandDisplayWidth(Cell.BandIndex);
  const int NewBand = OldBand + NewWidth - OldWidth;
  TUpdateScope Updating(this);
  SetColumnWidth(Cell.Column, NewWidth);
  for (int R = 0, Rows = GetHeaderRowCount(Cell.BandIndex); R < Rows; ++R) {
    if (R == Cell.RowIndex) continue;
    const std::vector<int> Row = BandRowColumns(Cell.BandIndex, R);
    int Given = 0;
    for (size_t I = 0; I + 1 < Row.size(); ++I) {
      const int W = MulDiv(GetColumnDisplayWidth(Row[I]), NewBand, OldBand);
      SetColumnWidth(Row[I], W);
      Given += W;
    }
    if (!Row.empty()) SetColumnWidth(Row.back(), NewBand - Given);
  }
  SetBandWidth(Cell.BandIndex, NewBand);
  ColumnChanged(nullptr);
}
