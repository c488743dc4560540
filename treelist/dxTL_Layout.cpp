// The tree list's geometry: the size pass (line and panel heights measured from the
// fonts), the screen regions, the layout record that paints and hit tests read, row
// heights with their per-node cache, row auto height, level footers, and the row
// rectangles. The column layer's part (bands, header cells, widths under auto width)
// is in dxTL_LayoutBands.cpp.
#include <algorithm>

#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"

namespace {

// The tree-list unit's screen device context, shared by every measure.
HDC GScreenDC = nullptr;

// Lines of LineHeight pixels and Extra more: a panel's height, kept far inside 32 bits
// however many lines its captions ask for.
int PanelHeight(int Lines, int LineHeight, int Extra) {
  constexpr long long Most = 1 << 28;
  return static_cast<int>(std::min(static_cast<long long>(Lines) * LineHeight + Extra, Most));
}

}  // namespace

HDC dxTLScreenDC() {
  if (!GScreenDC) GScreenDC = GetDC(nullptr);
  return GScreenDC;
}

void DonedxTLScreenDC() {
  if (GScreenDC) ReleaseDC(nullptr, GScreenDC);
  GScreenDC = nullptr;
}

// ---------------------------------------------------------------------------------
// Size pass

void TCustomdxTreeList::CalcSizes() {
  if (ComponentState().Contains(csLoading) || Destroying()) return;
  TCanvas Canvas;
  Canvas.SetHandle(dxTLScreenDC());
  auto Release = ScopeExit([&] { Canvas.SetHandle(nullptr); });
  auto HeightOf = [&](TFont* F) {
    Canvas.Font()->Assign(F);
    return Canvas.TextHeight("Wg");
  };
  const int Standard = LookAndFeel() == lfStandard ? 1 : 0;
  const int Rows = GetHeaderPanelRowCount();
  const int Grid = FShowGrid && FShowPreviewGrid ? 1 : 0;

  FBandLineHeight = HeightOf(FBandFont);
  FBandPanelHeight = FShowBands ? PanelHeight(GetBandRowCount(), FBandLineHeight, 5 + Standard) : 0;
  FHeaderLineCount = std::max(GetHeaderMinRowCount(), GetColumnsHeaderLineCount());
  FHeaderRowHeight = PanelHeight(FHeaderLineCount, HeightOf(FHeaderFont), 5 + Standard);
  FHeaderPanelHeight = FShowHeader ? PanelHeight(Rows, FHeaderRowHeight, 0) : 0;
  FPreviewLineHeight = HeightOf(FPreviewFont);
  const int ColumnFonts = GetColumnFontsLineHeight(&Canvas);
  FTextHeight = HeightOf(Font());
  FDigitWidth = Canvas.TextWidth("0");
  FImageWidth = FImages ? FImages->Width() : 0;
  FImageHeight = FImages ? FImages->Height() : 0;
  FStateImageWidth = FStateImages ? FStateImages->Width() : 0;
  FStateImageHeight = FStateImages ? FStateImages->Height() : 0;

  int Line = std::max(FTextHeight + 3, 16);
  for (int Need : {FImageHeight, FStateImageHeight, ColumnFonts})
    if (Need > (Line + Grid) * Rows) Line = Need;
  Line += Grid;
  if (FOptionsEx.Contains(aoInvertSelect)) Line += 2;
  FRowLineHeight = Line;
  // The row height never goes below the line; equal to it, it is the default again.
  if (FDefaultRowHeight < Line) FDefaultRowHeight = Line;
  if (FDefaultRowHeight == Line) FDefaultRowHeightAssigned = false;

  FFooterLineHeight = FTextHeight + 7;
  FFooterPanelHeight = FShowFooter ? PanelHeight(Rows, FFooterLineHeight, 3 + Standard) : 0;
  FRowFooterHeight = PanelHeight(Rows, FFooterLineHeight, 2 + Grid);
  FIndicatorWidth = FShowIndicator ? 12 : 0;
}

int TCustomdxTreeList::CalcTextLineCount(const AnsiString& Text, int Width, int LineHeight,
                                         int& Height, int Indent, bool Flat, TFont* Font,
                                         int MaxLines) {
  Height = 0;
  if (Text.empty() || MaxLines == 0) return 0;
  HDC DC = dxTLScreenDC();
  TSelection Selected(DC, Font->Handle());
  RECT R = {0, 0, Width - Indent, 0};
  InflateRect(&R, -2, Flat ? -2 : -1);
  if (R.right < R.left) R.right = R.left;
  R.bottom = R.top;
  DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &R,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  if (LineHeight <= 0) {
    SIZE S{};
    GetTextExtentPoint32A(DC, "Wg", 2, &S);
    LineHeight = std::max<int>(S.cy, 1);
  }
  Height = R.bottom - R.top;
  int Lines = Height / LineHeight;
  if (MaxLines != -1) {
    Lines = std::min(Lines, MaxLines);
    Height = Lines * LineHeight;
  }
  Height += 3;
  return Lines;
}

// ---------------------------------------------------------------------------------
// Regions and the layout record

void TCustomdxTreeList::CalcRegions(TdxTreeListDrawInfo& DI) {
  const TRect CR = ClientRect();
  const int Ind = FIndicatorWidth;
  DI.CR = CR;
  DI.BandRect = Rect(CR.left + Ind, CR.top, CR.right, CR.top + FBandPanelHeight);
  DI.HeaderRect = Rect(CR.left + Ind, DI.BandRect.bottom, CR.right,
                       DI.BandRect.bottom + FHeaderPanelHeight);
  if (Ind > 0) {
    DI.BandButtonRect = Rect(CR.left, DI.BandRect.top, CR.left + Ind, DI.BandRect.bottom);
    DI.HeaderButtonRect = Rect(CR.left, DI.HeaderRect.top, CR.left + Ind, DI.HeaderRect.bottom);
  }
  DI.CellsRect = Rect(CR.left + Ind, DI.HeaderRect.bottom, CR.right, CR.bottom - FFooterPanelHeight);
  if (DI.CellsRect.bottom < DI.CellsRect.top) DI.CellsRect.bottom = DI.CellsRect.top;
  DI.IndRect = Rect(CR.left, DI.CellsRect.top, DI.CellsRect.left, DI.CellsRect.bottom);
  DI.FooterRect = Rect(CR.left, DI.CellsRect.bottom, CR.right, DI.CellsRect.bottom + FFooterPanelHeight);
}

void TCustomdxTreeList::CalcDrawInfo(TdxTreeListDrawInfo& DI) {
  DI = TdxTreeListDrawInfo{};
  CalcRegions(DI);
  DI.RowSeparatorWidth = FShowGrid ? std::max(FRowSeparatorLineWidth, 1) : 0;
  CalcBandsAndHeaders(DI);

  const TRect& Cells = DI.CellsRect;
  DI.Rows.reserve((Cells.bottom - Cells.top) / std::max(FRowLineHeight, 1) + 1);
  const bool AutoHeight = !IsShowPreview() && GetHeaderPanelRowCount() == 1 && IsRowAutoHeight();
  int Y = Cells.top;
  for (TdxTreeListNode* N = FTopVisibleNode; N && Y < Cells.bottom; N = N->GetNextVisible()) {
    TdxTreeListRowInfo Row;
    Row.Node = N;
    Row.Selected = N->Selected();
    Row.RowHeight = GetRowHeight(N, FDefaultRowHeight);
    Row.LevelFooterCount = GetLevelFooterCount(N);
    Row.LevelFooterHeight = Row.LevelFooterCount * FRowFooterHeight;
    Row.PreviewLineCount = IsShowPreview() ? GetPreviewLineCount(N) : 0;
    if (AutoHeight) {
      int LineHeight = FDefaultRowHeight;
      Row.RowLineCount = GetRowLineCount(N, LineHeight);
    }
    DI.Rows.push_back(Row);
    Y += Row.RowHeight;
  }
  if (Y >= Cells.bottom) {
    DI.LastRowBottom = -1;
  } else {
    DI.LastRowBottom = Y - 1;
    DI.EmptyRectBottom = Rect(Cells.left, Y, Cells.right, Cells.bottom);
  }
  // Panels without height are empty.
  for (TRect* R : {&DI.BandRect, &DI.BandButtonRect, &DI.HeaderRect, &DI.HeaderButtonRect})
    if (R->top == R->bottom) SetRectEmpty(R);
}

void TCustomdxTreeList::GetRowsAreaRect(TRect& R) {
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  R = DI.CellsRect;
  if (!IsRectEmpty(&DI.IndRect)) R.left = DI.IndRect.left;
}

void TCustomdxTreeList::GetNodeRowRect(TdxTreeListNode* Node, TRect& R) {
  R = Rect(-1, -1, -1, -1);
  if (!Node) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  int Y = DI.CellsRect.top;
  for (TdxTreeListNode* N = FTopVisibleNode; N && Y < DI.CellsRect.bottom; N = N->GetNextVisible()) {
    const int H = GetRowHeight(N, FDefaultRowHeight);
    if (N == Node) {
      R = Rect(DI.CellsRect.left, Y, DI.CellsRect.right, Y + H);
      if (!IsRectEmpty(&DI.IndRect)) R.left = DI.IndRect.left;
      return;
    }
    Y += H;
  }
}

void TCustomdxTreeList::GetRowRectToBottom(TdxTreeListNode* Node, TRect& R) {
  GetNodeRowRect(Node, R);
  if (R.top == -1) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  R.bottom = DI.CellsRect.bottom;
}

TRect TCustomdxTreeList::GetGridArea() {
  TRect R = ClientRect();
  if (FShowIndicator) R.left += FIndicatorWidth;
  return R;
}

int TCustomdxTreeList::GetVisibleWidth() {
  const TRect R = GetScrollingArea();
  return std::max<int>(R.right - R.left, 0);
}

// ---------------------------------------------------------------------------------
// Row heights

int TCustomdxTreeList::GetNodeContentOffset(TdxTreeListNode* Node) {
  const int I = LevelIndent();
  const int L = Node->Level();
  const bool Parent = Node->HasChildren() || Node->Count() > 0;
  int X = Parent || FPaintStyle == psStandard ? I * (L + 1) : I * L;
  if (!ShowRoot()) X -= I;
  if (GetNodeStateIndex(Node) != -1) X += FStateImageWidth;
  return X + FImageWidth;
}

int TCustomdxTreeList::GetPreviewLineCount(TdxTreeListNode* Node) {
  if (!IsShowPreview()) return 0;
  if (!IsAutoCalcPreviewLines() || !Node) return std::max(FPreviewLines, 0);
  AnsiString Text;
  GetPreviewText(Node, Text);
  if (Text.empty()) return 0;
  const int Width = GetTotalBandWidth() - (FShowGrid ? 1 : 0) - GetNodeContentOffset(Node);
  int Height = 0;
  return CalcTextLineCount(Text, Width, FPreviewLineHeight, Height, FIndentDesc,
                           LookAndFeel() != lfStandard, FPreviewFont, FPreviewLines);
}

int TCustomdxTreeList::GetRowHeight(TdxTreeListNode* Node, int LineHeight, bool NoCache) {
  if (!NoCache)
    if (int Cached = Node->CachedRowHeight()) return Cached;
  const int P = GetPreviewLineCount(Node);
  const int Rows = GetHeaderPanelRowCount();
  const bool BothGrids = FShowGrid && FShowPreviewGrid;
  int H = FShowGrid ? FRowSeparatorLineWidth : 0;
  int Lines = 1;
  if (!IsShowPreview() && Rows == 1 && IsRowAutoHeight()) {
    int Needed = LineHeight;
    Lines = GetRowLineCount(Node, Needed);
    if (Lines > 1 && Needed == LineHeight)
      LineHeight += (Lines - 1) * FTextHeight;
    else if (Needed > LineHeight)
      LineHeight = Needed;
  }
  H += Rows * LineHeight + P * FPreviewLineHeight + (P >= 1 && BothGrids ? 1 : 0);
  if (!FShowGrid) {
    if (FPaintStyle == psOutlook && (Node->HasChildren() || Node->Count() > 0)) H += 1;
    if (P > 0) H += 2;
  } else if (FShowPreviewGrid) {
    H -= 1;
  }
  H += GetLevelFooterCount(Node) * FRowFooterHeight;
  if (!NoCache) Node->SetCachedRowHeight(H, Lines);
  return H;
}

int TCustomdxTreeList::GetRowLineCount(TdxTreeListNode* Node, int& LineHeight) {
  if (Node->CachedRowHeight() != 0 && Node->CachedRowLineCount() != 0)
    return Node->CachedRowLineCount();
  const bool Invert = FOptionsEx.Contains(aoInvertSelect);
  const bool BothGrids = FShowGrid && FShowPreviewGrid;
  const int Count = GetVisibleColumnCount();
  int Result = -1;
  for (int K = 0; K < Count; ++K) {
    const int Column = GetAbsoluteColumnIndex(K);
    if (Column < 0) continue;
    const AnsiString Text = GetNodeString(Node, Column);
    int W = GetColumnDisplayWidth(Column);
    if (K == 0) W -= GetNodeContentOffset(Node) + (Invert ? 1 : 0);
    if (K == Count - 1 && Invert) W -= 1;
    if (BothGrids) W -= 1;
    const int Saved = LineHeight;
    int Lines = -1;
    if (CalcRowLineHeight(Node, Column, Text, W, FTextHeight, FMaxRowLineCount, Invert, BothGrids,
                          Lines, LineHeight)) {
      if (BothGrids) LineHeight += 1;
      if (Invert) LineHeight += 2;
    }
    LineHeight = std::max(LineHeight, Saved);
    Result = std::max(Result, Lines);
  }
  return Result;
}

// ---------------------------------------------------------------------------------
// Level footers

namespace {

bool HasKids(const TdxTreeListNode* Node) { return Node->HasChildren() || Node->Count() > 0; }

}  // namespace

int TCustomdxTreeList::GetLevelFooterCount(TdxTreeListNode* Node) {
  if (!Node || !IsShowRowFooter() || HasKids(Node) || !Node->Parent() || !Node->IsLast()) return 0;
  int Count = 0;
  const TdxTreeListNode* From = Node;
  for (TdxTreeListNode* A = Node->Parent(); A && From->IsLast(); From = A, A = A->Parent())
    if (IsLevelFooter(A->Level())) ++Count;
  return Count;
}

int TCustomdxTreeList::GetLevelFooterLevel(TdxTreeListNode* Node, int Index) {
  if (GetLevelFooterCount(Node) == 0) return -1;
  const TdxTreeListNode* From = Node;
  for (TdxTreeListNode* A = Node->Parent(); A && From->IsLast(); From = A, A = A->Parent()) {
    const int Level = A->Level();
    if (IsLevelFooter(Level) && Index-- == 0) return Level;
  }
  return -1;
}

int TCustomdxTreeList::GetFooterCountAboveLevel(TdxTreeListNode* Node, int Level) {
  if (!Node || HasKids(Node) || !Node->IsLast()) return -1;
  int Result = 0;
  for (int I = 0, N = GetLevelFooterCount(Node); I < N; ++I)
    if (GetLevelFooterLevel(Node, I) < Level) ++Result;
  return Result;
}

void TCustomdxTreeList::CalcRowFooterRect(TdxTreeListNode* Node, int Index, TRect& R,
                                          const TdxTreeListDrawInfo& DI, int GridPixel,
                                          int Top) {
  const int F = GetLevelFooterLevel(Node, Index);
  const int I = LevelIndent();
  const int Left = DI.CellsRect.left;
  R.left = F == -1 ? Left : Left + (F + 1) * I;
  if (!ShowRoot()) R.left -= I;
  R.top = Top + Index * FRowFooterHeight;
  R.right = Left + GetTotalBandWidth() - GridPixel;
  R.bottom = R.top + FRowFooterHeight;
  if (DI.FixedLeftIndex < 0) R.left -= FLeftCoord;
  R.right -= FLeftCoord;
  if (DI.FixedRightIndex >= 0) {
    if (R.right >= DI.CellsRect.right) R.right = DI.CellsRect.right - GridPixel;
    if (R.left > DI.FixedBandRightRect.left) R.left = DI.FixedBandRightRect.left;
  }
  if (R.left < Left) R.left = Left;
}

// ---------------------------------------------------------------------------------
// Window

void TCustomdxTreeList::CreateWnd() {
  inherited::CreateWnd();
  FRowsChangePosted = false;
  UpdateLayout();
}
