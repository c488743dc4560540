// The column layer's geometry: band widths under auto width (minimum, natural, total
// and display widths), the placed bands and header cells of the layout record, the
// horizontal areas and scrolling bands and columns into view, column display widths,
// and measuring a cell for row auto height through its column's editor class.
#include <algorithm>

#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

HDC dxTLScreenDC();

namespace {

bool Overlaps(int L1, int R1, int L2, int R2) { return L1 < R2 && L2 < R1; }

TRect ClipHorizontally(TRect R, const TRect& Clip) {
  R.left = std::max(R.left, Clip.left);
  R.right = std::min(R.right, Clip.right);
  if (R.right < R.left) R.right = R.left;
  return R;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Widths

int TCustomdxTreeListControl::GetBandMinimumWidth(int VisibleBand) const {
  TdxTreeListBand* Band = FBands->VisibleItems(VisibleBand);
  if (!Band) return 0;
  int Result = Band->Sizing() ? Band->MinWidth() : Band->Width();
  for (int Row = 0, Rows = GetHeaderRowCount(VisibleBand); Row < Rows; ++Row) {
    int Sum = 0;
    for (int Col = 0, Cols = GetHeaderColumnCount(VisibleBand, Row); Col < Cols; ++Col)
      Sum += GetColumnMinWidth(GetHeaderAbsoluteColumnIndex(VisibleBand, Row, Col));
    Result = std::max(Result, Sum);
  }
  return Result;
}

int TCustomdxTreeListControl::GetBandNaturalWidth(int VisibleBand) const {
  TdxTreeListBand* Band = FBands->VisibleItems(VisibleBand);
  if (!Band) return 0;
  int Result = Band->Width();
  if (OptionsEx().Contains(aoBandHeaderWidth)) {
    int Widest = 0;
    for (int Row = 0, Rows = GetHeaderRowCount(VisibleBand); Row < Rows; ++Row) {
      int Sum = 0;
      for (int Col = 0, Cols = GetHeaderColumnCount(VisibleBand, Row); Col < Cols; ++Col)
        Sum += GetColumnWidth(GetHeaderAbsoluteColumnIndex(VisibleBand, Row, Col));
      Widest = std::max(Widest, Sum);
    }
    if (Widest > 0) Result = Widest;
  }
  return std::max(Result, GetBandMinimumWidth(VisibleBand));
}

int TCustomdxTreeListControl::GetTotalBandWidth() {
  const int Count = GetVisibleBandCount();
  if (Count == 0) return 0;
  int Sum = 0;
  if (!IsAutoWidth()) {
    for (int V = 0; V < Count; ++V) Sum += FBands->VisibleItems(V)->Width();
    return Sum;
  }
  bool AnySizable = false;
  for (int V = 0; V < Count; ++V) {
    Sum += GetBandMinimumWidth(V);
    AnySizable = AnySizable || FBands->VisibleItems(V)->Sizing();
  }
  if (!AnySizable) return Sum;
  const TRect CR = ClientRect();
  return std::max<int>(CR.right - CR.left - IndicatorWidth(), Sum);
}

std::vector<int> TCustomdxTreeListControl::GetBandDisplayWidths() {
  const int Count = GetVisibleBandCount();
  std::vector<int> Result(Count);
  if (!IsAutoWidth()) {
    for (int V = 0; V < Count; ++V) Result[V] = FBands->VisibleItems(V)->Width();
    return Result;
  }
  if (Count == 0) return Result;
  const int Available = GetTotalBandWidth();
  std::vector<int> Minimum(Count), Natural(Count), Share(Count);
  std::vector<bool> Sizable(Count);
  int SumMinimum = 0, SumNatural = 0;
  for (int V = 0; V < Count; ++V) {
    Minimum[V] = GetBandMinimumWidth(V);
    Natural[V] = GetBandNaturalWidth(V);
    Sizable[V] = FBands->VisibleItems(V)->Sizing();
    SumMinimum += Minimum[V];
    SumNatural += Natural[V];
  }
  bool EachAbove = true;
  int SumNaturalAbove = 0;
  for (int V = 0; V < Count; ++V) {
    Share[V] = SumNatural > 0 ? MulDiv(Available, Natural[V], SumNatural) : 0;
    if (!Sizable[V] || Share[V] <= Minimum[V]) EachAbove = false;
    if (Sizable[V] && Share[V] > Minimum[V]) SumNaturalAbove += Natural[V];
  }
  int Given = 0;
  for (int V = 0; V < Count; ++V) {
    if (V == Count - 1) {
      Result[V] = Available - Given;
    } else if (!Sizable[V]) {
      Result[V] = Natural[V];
    } else if (EachAbove) {
      Result[V] = Share[V];
    } else if (Share[V] > Minimum[V] && SumNaturalAbove > 0) {
      Result[V] = MulDiv(Available - SumMinimum, Natural[V], SumNaturalAbove) + Minimum[V];
    } else {
      Result[V] = Minimum[V];
    }
    Given += Result[V];
  }
  return Result;
}

int TCustomdxTreeListControl::GetBandDisplayWidth(int VisibleBand) {
  if (FCachesFilled && !FCacheBandWidths.empty())
    return VisibleBand >= 0 && VisibleBand < static_cast<int>(FCacheBandWidths.size())
               ? FCacheBandWidths[VisibleBand]
               : 0;
  const std::vector<int> Widths = GetBandDisplayWidths();
  return VisibleBand >= 0 && VisibleBand < static_cast<int>(Widths.size()) ? Widths[VisibleBand]
                                                                            : 0;
}

std::vector<int> TCustomdxTreeListControl::ShareRowWidths(int Avail,
                                                          const std::vector<int>& Columns) const {
  const int Count = static_cast<int>(Columns.size());
  std::vector<int> Result(Count);
  if (Count == 0) return Result;
  const int BandWidth = Avail;
  int Total = 0, Minimum = 0;
  for (int C : Columns) {
    Total += GetColumnWidth(C);
    Minimum += GetColumnMinWidth(C);
  }
  // First pass: a sizable column scaled below its minimum makes the row short.
  bool Short = false;
  int Proportional = 0;
  for (int C : Columns) {
    TdxTreeListColumn* Column = FColumns[C];
    if (!Column->Sizing()) continue;
    if (Total > 0 && MulDiv(Avail, Column->Width(), Total) < Column->MinWidth())
      Short = true;
    else
      Proportional += Column->Width();
  }
  int Given = 0;
  for (int I = 0; I < Count; ++I) {
    TdxTreeListColumn* Column = FColumns[Columns[I]];
    const int Width = Column->Width();
    int W;
    if (I == Count - 1) {
      W = BandWidth - Given;
    } else if (!Column->Sizing()) {
      W = Width;
      Avail -= Width;
      Total -= Width;
      Minimum -= Width;
    } else {
      const int Scaled = Total > 0 ? MulDiv(Avail, Width, Total) : 0;
      if (Proportional == Total)
        W = Scaled;
      else if (Scaled <= Column->MinWidth())
        W = Column->MinWidth();
      else if (Short && Proportional > 0)
        W = MulDiv(Avail - Minimum, Width, Proportional) + Column->MinWidth();
      else
        W = Scaled;
    }
    Result[I] = W;
    Given += W;
  }
  return Result;
}

namespace {

std::vector<int> RowColumns(const TCustomdxTreeListControl* Tree, int Band, int Row) {
  std::vector<int> Result;
  for (int Col = 0, Cols = Tree->GetHeaderColumnCount(Band, Row); Col < Cols; ++Col)
    Result.push_back(Tree->GetHeaderAbsoluteColumnIndex(Band, Row, Col));
  return Result;
}

}  // namespace

int TCustomdxTreeListControl::GetColumnDisplayWidth(int Column) {
  if (FCachesFilled && Column >= 0 && Column < static_cast<int>(FCacheColumnWidths.size()))
    return FCacheColumnWidths[Column];
  if (!IsColumnShown(Column)) return 0;
  const int Band = GetVisibleBandIndex(GetColumnBandIndex(Column));
  const int BandWidth = GetBandDisplayWidth(Band);
  for (int Row = 0, Rows = GetHeaderRowCount(Band); Row < Rows; ++Row) {
    const std::vector<int> Columns = RowColumns(this, Band, Row);
    const auto At = std::find(Columns.begin(), Columns.end(), Column);
    if (At != Columns.end()) return ShareRowWidths(BandWidth, Columns)[At - Columns.begin()];
  }
  return 0;
}

void TCustomdxTreeListControl::BuildColumnWidthCache() {
  FCacheColumnWidths.assign(FColumns.size(), 0);
  FCacheBandWidths.clear();
  const std::vector<int> Widths = GetBandDisplayWidths();
  FCacheBandWidths = Widths;
  for (int Band = 0; Band < static_cast<int>(Widths.size()); ++Band)
    for (int Row = 0, Rows = GetHeaderRowCount(Band); Row < Rows; ++Row) {
      const std::vector<int> Columns = RowColumns(this, Band, Row);
      const std::vector<int> Shares = ShareRowWidths(Widths[Band], Columns);
      for (std::size_t I = 0; I < Columns.size(); ++I) FCacheColumnWidths[Columns[I]] = Shares[I];
    }
}

void TCustomdxTreeListControl::SizeChanged() {
  if (FCachesFilled && IsAutoWidth()) BuildColumnWidthCache();
}

int TCustomdxTreeListControl::GetFirstBandWidth() {
  return GetVisibleBandCount() > 0 ? GetBandDisplayWidth(0) : 0;
}

// ---------------------------------------------------------------------------------
// Horizontal areas

TRect TCustomdxTreeListControl::GetScrollingArea() {
  TRect R = GetGridArea();
  if (IsAutoWidth()) return R;
  const int Left = GetBandFixedLeft(), Right = GetBandFixedRight();
  if (Left >= 0) R.left += GetBandDisplayWidth(Left);
  if (Right >= 0) R.right -= GetBandDisplayWidth(Right);
  return R;
}

int TCustomdxTreeListControl::GetScrollableWidth() {
  int Result = GetTotalBandWidth();
  const int Left = GetBandFixedLeft(), Right = GetBandFixedRight();
  if (Left >= 0) Result -= GetBandDisplayWidth(Left);
  if (Right >= 0) Result -= GetBandDisplayWidth(Right);
  return Result;
}

int TCustomdxTreeListControl::GetBandOffset(int VisibleBand) {
  const int Count = GetVisibleBandCount();
  if (Count < 2 || VisibleBand < 0 || VisibleBand >= Count) return 0;
  if (VisibleBand == GetBandFixedLeft() || VisibleBand == GetBandFixedRight()) return 0;
  int Result = 0;
  for (int V = GetBandFixedLeft() >= 0 ? 1 : 0; V < VisibleBand; ++V)
    Result += GetBandDisplayWidth(V);
  return Result;
}

namespace {

// LeftCoord for showing [L, R) in a view Visible wide, its left edge first.
int IntoView(int Left, int L, int R, int Visible) {
  if (L < Left) return L;
  if (R > Left + Visible) return std::min(L, R - Visible);
  return Left;
}

}  // namespace

void TCustomdxTreeListControl::MakeBandVisible(int VisibleBand) {
  const int Count = GetVisibleBandCount();
  if (Count < 2 || VisibleBand < 0 || VisibleBand >= Count) return;
  if (VisibleBand == GetBandFixedLeft() || VisibleBand == GetBandFixedRight()) return;
  const int L = GetBandOffset(VisibleBand);
  SetLeftCoord(IntoView(LeftCoord(), L, L + GetBandDisplayWidth(VisibleBand), GetVisibleWidth()));
}

void TCustomdxTreeListControl::MakeColumnVisible(int Column) {
  if (!IsColumnShown(Column)) return;
  const int Band = GetVisibleBandIndex(GetColumnBandIndex(Column));
  if (Band == GetBandFixedLeft() || Band == GetBandFixedRight()) return;
  const int BandWidth = GetBandDisplayWidth(Band);
  for (int Row = 0, Rows = GetHeaderRowCount(Band); Row < Rows; ++Row) {
    const std::vector<int> Columns = RowColumns(this, Band, Row);
    const auto At = std::find(Columns.begin(), Columns.end(), Column);
    if (At == Columns.end()) continue;
    const std::vector<int> Shares = ShareRowWidths(BandWidth, Columns);
    int L = GetBandOffset(Band);
    for (auto I = Columns.begin(); I != At; ++I) L += Shares[I - Columns.begin()];
    SetLeftCoord(IntoView(LeftCoord(), L, L + Shares[At - Columns.begin()], GetVisibleWidth()));
    return;
  }
}

// ---------------------------------------------------------------------------------
// Bands and header cells of the layout record

void TCustomdxTreeListControl::CalcBandsAndHeaders(TdxTreeListDrawInfo& DI) {
  const int Count = GetVisibleBandCount();
  if (Count == 0) return;
  const std::vector<int> Widths = FCachesFilled && static_cast<int>(FCacheBandWidths.size()) == Count
                                      ? FCacheBandWidths
                                      : GetBandDisplayWidths();
  int Total = 0;
  for (int W : Widths) Total += W;
  TRect& BR = DI.BandRect;
  const int PanelTop = BR.top, PanelBottom = BR.bottom;
  int ScrollLeft = BR.left;
  const int FixedLeft = GetBandFixedLeft(), FixedRight = GetBandFixedRight();
  auto Entry = [&](int V, const TRect& R, const TRect& Clip) {
    DI.Bands.push_back({V, R, Clip});
    return static_cast<int>(DI.Bands.size()) - 1;
  };
  if (FixedLeft == 0) {
    const int W = Widths[0];
    DI.FixedBandLeftRect = Rect(BR.left, PanelTop, BR.left + W, DI.CellsRect.top);
    const TRect R = Rect(BR.left, PanelTop, BR.left + W - FixedBandLineWidth(), PanelBottom);
    DI.FixedLeftIndex = Entry(0, R, R);
    ScrollLeft += W;
  }
  if (Total < BR.right - BR.left) {
    const int Right = BR.left + Total;
    DI.EmptyRectRight = Rect(Right, BR.top, BR.right, DI.CellsRect.bottom);
    BR.right = Right;
    DI.HeaderRect.right = std::min<int>(DI.HeaderRect.right, Right);
  }
  int ScrollRight = BR.right;
  TRect FixedRightRect{};
  if (FixedRight >= 0 && FixedRight != FixedLeft) {
    const int W = Widths[FixedRight];
    const int L = std::max<int>(BR.right - W, ScrollLeft);
    DI.FixedBandRightRect = Rect(L, PanelTop, BR.right, DI.CellsRect.top);
    FixedRightRect = Rect(L + FixedBandLineWidth(), PanelTop, BR.right, PanelBottom);
    ScrollRight = L;
  }
  int X = ScrollLeft - LeftCoord();
  for (int V = 0; V < Count; ++V) {
    if (V == FixedLeft || V == FixedRight) continue;
    const TRect R = Rect(X, PanelTop, X + Widths[V], PanelBottom);
    X += Widths[V];
    if (!Overlaps(R.left, R.right, ScrollLeft, ScrollRight)) {
      if (R.left >= ScrollRight) break;
      continue;
    }
    DI.LastScrolledIndex = Entry(V, R, ClipHorizontally(R, Rect(ScrollLeft, 0, ScrollRight, 0)));
    if (R.right > ScrollRight) break;
  }
  if (FixedRight >= 0 && FixedRight != FixedLeft)
    DI.FixedRightIndex = Entry(FixedRight, FixedRightRect, FixedRightRect);

  // Header cells, band by band.
  const int PanelRows = GetHeaderPanelRowCount();
  const int RowHeight = HeaderRowHeight();
  const TRect& HR = DI.HeaderRect;
  for (const TdxTreeListBandInfo& Band : DI.Bands) {
    const int V = Band.Index;
    const int Rows = GetHeaderRowCount(V);
    if (Rows == 0) {
      DI.EmptyBands.push_back({V, Rect(Band.BandRect.left, HR.top, Band.BandRect.right, HR.bottom),
                               Band.BandRect.right > Band.BandClipRect.right});
      continue;
    }
    for (int Row = 0; Row < Rows; ++Row) {
      const std::vector<int> Columns = RowColumns(this, V, Row);
      const std::vector<int> Shares = ShareRowWidths(Widths[V], Columns);
      int CellX = Band.BandRect.left;
      const int Top = HR.top + Row * RowHeight;
      for (int Col = 0; Col < static_cast<int>(Columns.size()); ++Col) {
        TdxTreeListHeaderInfo Cell;
        Cell.Column = Columns[Col];
        Cell.VisibleColumn = GetVisibleColumnIndex(Cell.Column);
        Cell.BandIndex = V;
        Cell.RowIndex = Row;
        Cell.ColIndex = Col;
        if (Row < Rows - 1) {
          Cell.LineCount = 1;
        } else {
          int Lines = GetHeaderLineCount(Cell.Column);
          if (Lines == 0) Lines = PanelRows;
          Cell.LineCount = std::max(std::min(Lines, PanelRows - Row), 1);
        }
        Cell.CellRect = Rect(CellX, Top, CellX + Shares[Col], Top + RowHeight * Cell.LineCount);
        CellX += Shares[Col];
        Cell.ExtendedRect = Cell.CellRect;
        if (Row == Rows - 1 && Row + Cell.LineCount < PanelRows) Cell.ExtendedRect.bottom = HR.bottom;
        Cell.FirstInRow = Col == 0;
        Cell.LastInRow = Col == static_cast<int>(Columns.size()) - 1;
        Cell.FirstCell = V == 0 && Col == 0;
        Cell.LastCell = V == Count - 1 && Cell.LastInRow;
        if (!Overlaps(Cell.CellRect.left, Cell.CellRect.right, Band.BandClipRect.left,
                      Band.BandClipRect.right))
          continue;
        Cell.CellClipRect = ClipHorizontally(Cell.CellRect, Band.BandClipRect);
        DI.Headers.push_back(Cell);
      }
    }
  }

  DI.BandsRightEdge = BR.left + Total - 1 - (FixedLeft < 0 ? LeftCoord() : 0);
  if (FixedRight >= 0) DI.BandsRightEdge = std::min<int>(DI.BandsRightEdge, DI.CellsRect.right - 1);
  DI.FirstBandWidth = Widths[0];
}

// ---------------------------------------------------------------------------------
// Cell and editing rectangles

void TCustomdxTreeListControl::GetCellRect(TdxTreeListNode* Node, int VisibleColumn, TRect& R) {
  R = Rect(-1, -1, -1, -1);
  const int Column = GetAbsoluteColumnIndex(VisibleColumn);
  if (!Node || Column < 0) return;
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  const TdxTreeListHeaderInfo* Header = nullptr;
  for (const TdxTreeListHeaderInfo& H : DI.Headers)
    if (H.Column == Column) Header = &H;
  if (!Header) return;
  int Top = DI.CellsRect.top;
  bool Found = false;
  for (const TdxTreeListRowInfo& Row : DI.Rows) {
    if (Row.Node == Node) {
      Found = true;
      break;
    }
    Top += Row.RowHeight;
  }
  if (!Found) return;
  const int H = DefaultRowHeight();
  R.left = Header->CellRect.left;
  R.right = Header->CellRect.right;
  if (Header->BandIndex == 0) {
    // The node's indent reaches into the first band's cells from the band's left.
    const int BandLeft = DI.CellsRect.left - (GetBandFixedLeft() < 0 ? LeftCoord() : 0);
    R.left = std::max<int>(R.left, BandLeft + GetNodeContentOffset(Node));
  }
  const int Extra = !ShowGrid() && PaintStyle() == psOutlook &&
                            (Node->HasChildren() || Node->Count() > 0)
                        ? 1
                        : 0;
  R.top = Top + H * Header->RowIndex + Extra;
  R.bottom = Top + H * Header->RowIndex + H * Header->LineCount + Extra -
             (ShowGrid() && ShowPreviewGrid() ? 1 : 0);
}

void TCustomdxTreeListControl::GetEditRect(TdxTreeListNode* Node, int VisibleColumn, TRect& R) {
  GetCellRect(Node, VisibleColumn, R);
  if (R.top == -1 || !OptionsEx().Contains(aoInvertSelect)) return;
  R.top += 1;
  R.bottom -= 1;
  if (VisibleColumn == 0) R.left += 1;
  if (VisibleColumn == GetVisibleColumnCount() - 1) R.right -= 1;
}

// ---------------------------------------------------------------------------------
// Measures

int TCustomdxTreeListControl::GetColumnsHeaderLineCount() {
  // A caption's lines (its line breaks) shared among the header rows its cell spans.
  const int PanelRows = std::max(FHeaderPanelRowCount, 1);
  int Result = 1;
  for (int I = 0; I < ColumnCount(); ++I) {
    if (!IsColumnShown(I)) continue;
    const AnsiString Caption = GetHeaderCaption(I);
    const int Lines = 1 + static_cast<int>(std::count(Caption.begin(), Caption.end(), '\n'));
    const int Max = FColumns[I]->HeaderMaxLineCount();
    const int Span = Max == 0 ? PanelRows : std::min(Max, PanelRows);
    Result = std::max(Result, (Lines + Span - 1) / Span);
  }
  return Result;
}

int TCustomdxTreeListControl::GetColumnFontsLineHeight(TCanvas* Canvas) {
  int Result = 0;
  for (int I = 0; I < ColumnCount(); ++I) {
    if (!IsColumnShown(I)) continue;
    // A kind's cells may need more than a line of text (a check box, an image).
    Result = std::max(Result, FColumns[I]->GetMinRowHeight());
    if (IsColumnFontAssigned(I)) {
      Canvas->Font()->Assign(FColumns[I]->Font());
      Result = std::max(Result, Canvas->TextHeight("Wg") + 3);
    }
  }
  return Result;
}

bool TCustomdxTreeListControl::CalcRowLineHeight(TdxTreeListNode* Node, int Column,
                                                 const AnsiString& Text, int BoundsWidth,
                                                 int TextHeight, int MaxLineCount,
                                                 bool InflateFlag, bool GridFlag, int& LineCount,
                                                 int& LineHeight) {
  TdxTreeListColumn* C = Columns(Column);
  if (OnCalcRowLineHeight.Assigned()) {
    bool Done = false;
    OnCalcRowLineHeight(this, Node, C, Text, BoundsWidth, TextHeight, MaxLineCount, InflateFlag,
                        GridFlag, LineCount, LineHeight, Done);
    if (Done) return true;
  }
  // The column knows the node for the whole measure.
  TValueScope<TdxTreeListNode*> Current(C->CurrentNodeField(), Node);
  TdxEditViewData* ViewData = C->GetViewData();
  TdxInplaceEditClass EditorClass = C->GetEditorClass();
  if (!ViewData || !EditorClass) {
    LineCount = 1;
    LineHeight += 3;
    return true;
  }
  TdxTreeListCellInfo Info;
  Info.Brush = Brush()->Handle();
  Info.Font = IsColumnFontAssigned(Column) ? C->Font() : Font();
  Info.Color = static_cast<TColor>(0);
  Info.TextColor = static_cast<TColor>(0);
  Info.Alignment = GetColumnAlignment(Column);
  Info.Text = Text;
  Info.Node = Node;
  Info.Bounds = Rect(0, 0, BoundsWidth, TextHeight);
  InflateRect(&Info.Bounds, 2, 2);
  C->FillViewData(ViewData, Info);
  ViewData->Hot = IsHotCell(Node, Column);
  ViewData->Bounds = Info.Bounds;
  ViewData->VerticalLayout = 3;  // several lines, broken between words
  TdxEditDrawInfo DrawInfo;
  EditorClass->CalcDrawInfo(ViewData, false, DrawInfo);
  TFlagScope Measuring(ViewData->MeasureOnly);
  ViewData->LineCount = 0;
  if (EditorClass->DrawContent(dxTLScreenDC(), DrawInfo.ContentRect, false, ViewData)) {
    LineHeight = ViewData->NeededHeight;
    LineCount = ViewData->LineCount;
    if (MaxLineCount != -1 && LineCount > MaxLineCount) {
      LineCount = MaxLineCount;
      LineHeight = ViewData->TextHeight * MaxLineCount;
    }
  } else {
    LineCount = 1;
  }
  LineHeight += 3;
  return true;
}

// ---------------------------------------------------------------------------------
// TdxTreeList: the answers' events

int TdxTreeList::GetRowLineCount(TdxTreeListNode* Node, int& LineHeight) {
  int Result = inherited::GetRowLineCount(Node, LineHeight);
  if (OnGetRowLineCount.Assigned()) OnGetRowLineCount(this, Node, Result);
  return Result;
}

int TdxTreeList::GetPreviewLineCount(TdxTreeListNode* Node) {
  int Result = inherited::GetPreviewLineCount(Node);
  if (OnGetPreviewLineCount.Assigned()) OnGetPreviewLineCount(this, Node, Result);
  return Result;
}
