// What lies under a point of the tree list: the panels and their sizing zones, bands
// and header cells with their edges, the indicator's row edges, the footer, and in a
// row the node's indent glyphs, cells, level footers and preview. Every answer comes
// from one fresh layout record. The glyph rectangles of a row's indent are here too:
// the hit test and the painting share them.
#include <algorithm>

#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"

namespace {

// Sizing zones reach this far on each side of an edge.
constexpr int SizingZone = 4;

bool Inside(const TRect& R, TPoint P) { return PtInRect(&R, P) != FALSE; }

bool HasKids(const TdxTreeListNode* Node) { return Node->HasChildren() || Node->Count() > 0; }

}  // namespace

// ---------------------------------------------------------------------------------
// The glyphs of a row's indent

void TCustomdxTreeList::GetNodeIndentRects(TdxTreeListNode* Node, int Top, int Bottom,
                                           TdxTreeListIndentRects& R) {
  R = TdxTreeListIndentRects{};
  if (!Node) return;
  const int I = LevelIndent();
  const int L = Node->Level();
  const bool Leaf = !HasKids(Node);
  const bool Outlook = FPaintStyle == psOutlook;
  auto Span = [&](int Left, int Right) { return Rect(Left, Top, Right, Bottom); };
  if (!Leaf && FShowButtons) R.Button = Span(I * L, I * (L + 1));
  int X = I * (L + 1) - (Outlook && Leaf ? I : 0);
  const int Start = X;
  const bool State = FStateImages && GetNodeStateIndex(Node) != -1;
  if (State) {
    R.StateImage = Span(X, X + FStateImageWidth);
    X += FStateImageWidth;
  }
  if (FImages && (GetNodeImageIndex(Node) != -1 || GetNodeSelectedIndex(Node) != -1))
    R.Image = Span(X, X + (State ? FImageWidth : FImageWidth - 1));
  int First = Start;
  for (const TRect* G : {&R.Image, &R.StateImage, &R.Button})
    if (!IsRectEmpty(G)) First = G->left;
  R.Indent = Span(0, First);
  // The cells begin at the content offset, never past the first band.
  const int Limit = std::min(GetNodeContentOffset(Node), GetFirstBandWidth());
  const int Shift = ShowRoot() ? 0 : I;
  for (TRect* G : {&R.Indent, &R.Button, &R.StateImage, &R.Image}) {
    if (IsRectEmpty(G)) {
      SetRectEmpty(G);
      continue;
    }
    OffsetRect(G, -Shift, 0);
    if (G->left >= Limit || G->right <= 0) {
      SetRectEmpty(G);
      continue;
    }
    G->right = std::min<int>(G->right, Limit);
    G->left = std::max<int>(G->left, 0);
  }
}

TdxTreeListHitTest TCustomdxTreeList::GetNodeHitKind(TPoint P, TdxTreeListNode* Node, int RowTop,
                                                     const TdxTreeListDrawInfo& DI) {
  if (!Node) return htNowhere;
  P.x -= DI.CellsRect.left;
  if (DI.FixedLeftIndex < 0) P.x += FLeftCoord;
  TdxTreeListIndentRects R;
  GetNodeIndentRects(Node, RowTop, RowTop + GetRowHeight(Node, FDefaultRowHeight), R);
  if (Inside(R.Indent, P)) return htIndent;
  if (Inside(R.Button, P)) return htButton;
  if (Inside(R.StateImage, P)) return htStateIcon;
  if (Inside(R.Image, P)) return htIcon;
  return htNowhere;
}

// ---------------------------------------------------------------------------------
// The hit test

namespace {

// A panel's bottom sizing zone: the panel with its corner, 4 pixels longer, in its
// last 8 pixels.
bool OnPanelEdge(const TRect& Panel, const TRect& Corner, TPoint P) {
  if (IsRectEmpty(&Panel)) return false;
  TRect R = Panel;
  if (!IsRectEmpty(&Corner)) R.left = std::min(R.left, Corner.left);
  R.bottom += SizingZone;
  return Inside(R, P) && P.y >= R.bottom - 2 * SizingZone;
}

}  // namespace

TdxTreeListHitInfo TCustomdxTreeList::GetHitInfo(TPoint P) {
  TdxTreeListHitInfo Hit;
  Hit.X = P.x;
  Hit.Y = P.y;
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  if (!Inside(DI.CR, P)) {
    Hit.HitTest = htOutside;
    return Hit;
  }
  // Bands.
  if (IsBandPanelSizing() && OnPanelEdge(DI.BandRect, DI.BandButtonRect, P)) {
    Hit.HitTest = htBandPanelEdge;
    return Hit;
  }
  if (Inside(DI.BandButtonRect, P)) {
    Hit.HitTest = htBandButton;
    return Hit;
  }
  const bool InBandRows = P.y >= DI.BandRect.top && P.y < DI.BandRect.bottom;
  if (Inside(DI.BandRect, P)) {
    Hit.HitTest = htBand;
    for (std::size_t I = 0; I < DI.Bands.size(); ++I) {
      const TdxTreeListBandInfo& B = DI.Bands[I];
      if (!Inside(B.BandRect, P) || !Inside(B.BandClipRect, P)) continue;
      Hit.BandIndex = B.Index;
      const bool UnderFixedRight = DI.FixedRightIndex >= 0 &&
                                   static_cast<int>(I) != DI.FixedRightIndex &&
                                   P.x >= DI.FixedBandRightRect.left;
      if (IsBandSizable(B.Index) && P.x >= B.BandRect.right - SizingZone && !UnderFixedRight) {
        Hit.HitTest = htBandEdge;
      } else if (I > 0 && P.x <= DI.Bands[I - 1].BandRect.right + SizingZone &&
                 IsBandSizable(DI.Bands[I - 1].Index)) {
        Hit.BandIndex = DI.Bands[I - 1].Index;
        Hit.HitTest = htBandEdge;
      }
      break;
    }
    return Hit;
  }
  if (InBandRows && !DI.Bands.empty() && P.x >= DI.BandRect.right &&
      P.x <= DI.BandRect.right + SizingZone && IsBandSizable(DI.Bands.back().Index)) {
    // Just right of the last band.
    Hit.BandIndex = DI.Bands.back().Index;
    Hit.HitTest = htBandEdge;
    return Hit;
  }

  // Header cells.
  if (IsHeaderPanelSizing() && OnPanelEdge(DI.HeaderRect, DI.HeaderButtonRect, P)) {
    Hit.HitTest = htHeaderPanelEdge;
    return Hit;
  }
  if (Inside(DI.HeaderButtonRect, P)) {
    Hit.HitTest = htHeaderButton;
    return Hit;
  }
  if (Inside(DI.HeaderRect, P)) {
    Hit.HitTest = htColumn;
    for (std::size_t I = 0; I < DI.Headers.size(); ++I) {
      const TdxTreeListHeaderInfo& H = DI.Headers[I];
      if (!Inside(H.CellRect, P) || !Inside(H.CellClipRect, P)) continue;
      Hit.BandIndex = H.BandIndex;
      Hit.Column = H.Column;
      if (P.x >= H.CellRect.right - SizingZone) {
        if (IsColumnSizable(H.Column) && (!H.LastInRow || IsHeaderForBands()))
          Hit.HitTest = htColumnEdge;
        else if (H.LastInRow && IsBandSizable(H.BandIndex))
          Hit.HitTest = htBandEdge;
      } else if (H.FirstInRow && H.BandIndex > 0 && P.x < H.CellRect.left + SizingZone) {
        const int Previous = H.BandIndex - 1;
        if (!IsHeaderForBands()) {
          if (IsBandSizable(Previous)) {
            Hit.BandIndex = Previous;
            Hit.HitTest = htBandEdge;
          }
        } else {
          const int Last = GetBandRowLastColumn(Previous, H.RowIndex);
          if (Last >= 0) {
            Hit.BandIndex = Previous;
            Hit.Column = Last;
            if (IsColumnSizable(Last)) Hit.HitTest = htColumnEdge;
          }
        }
      } else if (I > 0) {
        const TdxTreeListHeaderInfo& Prev = DI.Headers[I - 1];
        if (Prev.BandIndex == H.BandIndex && Prev.RowIndex == H.RowIndex &&
            P.x < Prev.CellRect.right + SizingZone && IsColumnSizable(Prev.Column)) {
          Hit.Column = Prev.Column;
          Hit.HitTest = htColumnEdge;
        }
      }
      break;
    }
    return Hit;
  }
  if (P.y >= DI.HeaderRect.top && P.y < DI.HeaderRect.bottom && !DI.Bands.empty() &&
      P.x >= DI.HeaderRect.right && P.x <= DI.HeaderRect.right + SizingZone &&
      IsBandSizable(DI.Bands.back().Index)) {
    Hit.BandIndex = DI.Bands.back().Index;
    Hit.HitTest = htBandEdge;
    return Hit;
  }

  // Rows: the one under Y, its top and index.
  const int TopIndex = std::max(GetTopIndex(), 0);
  int RowTop = DI.CellsRect.top;
  int Row = -1;
  for (int I = 0; I < static_cast<int>(DI.Rows.size()); ++I) {
    if (P.y >= RowTop && P.y < RowTop + DI.Rows[I].RowHeight) {
      Row = I;
      break;
    }
    RowTop += DI.Rows[I].RowHeight;
  }
  auto TakeRow = [&](int I) {
    Hit.Node = DI.Rows[I].Node;
    Hit.RowIndex = TopIndex + I;
  };

  if (Inside(DI.IndRect, P)) {
    Hit.HitTest = htIndicator;
    if (Row >= 0) TakeRow(Row);
    if (IsRowSizing() && !DI.Rows.empty()) {
      if (Row > 0 && P.y < RowTop + SizingZone) {
        TakeRow(Row - 1);
        Hit.HitTest = htRowEdge;
      } else if (Row >= 0 && P.y >= RowTop + DI.Rows[Row].RowHeight - SizingZone) {
        Hit.HitTest = htRowEdge;
      } else if (Row < 0 && P.y < RowTop + SizingZone) {
        TakeRow(static_cast<int>(DI.Rows.size()) - 1);
        Hit.HitTest = htRowEdge;
      }
    }
    return Hit;
  }

  if (Inside(DI.FooterRect, P)) {
    Hit.HitTest = htFooter;
    const int Line = FFooterLineHeight > 0 ? (P.y - DI.FooterRect.top) / FFooterLineHeight : 0;
    for (const TdxTreeListHeaderInfo& H : DI.Headers)
      if (P.x >= H.CellRect.left && P.x < H.CellRect.right && Line >= H.RowIndex &&
          Line < H.RowIndex + H.LineCount) {
        Hit.BandIndex = H.BandIndex;
        Hit.Column = H.Column;
        break;
      }
    return Hit;
  }

  if (!Inside(DI.CellsRect, P) || Row < 0) return Hit;
  TakeRow(Row);
  const TdxTreeListRowInfo& Info = DI.Rows[Row];
  Hit.HitTest = P.x <= DI.BandsRightEdge ? htLabel : htRight;
  const int RowBottom = RowTop + Info.RowHeight;
  const int FooterTop = RowBottom - DI.RowSeparatorWidth - Info.LevelFooterHeight;
  for (int K = 0; K < Info.LevelFooterCount; ++K) {
    TRect R;
    CalcRowFooterRect(Info.Node, K, R, DI, FShowGrid ? 1 : 0, FooterTop);
    if (Inside(R, P)) {
      Hit.HitTest = htRowFooter;
      Hit.FooterIndex = K;
      break;
    }
  }
  if (Hit.HitTest == htLabel) {
    const int Content = std::min(GetNodeContentOffset(Info.Node), DI.FirstBandWidth);
    const int Edge = DI.CellsRect.left + Content - (DI.FixedLeftIndex < 0 ? FLeftCoord : 0);
    if (P.x < Edge) Hit.HitTest = GetNodeHitKind(P, Info.Node, RowTop, DI);
  }
  if (Hit.HitTest == htLabel && Info.PreviewLineCount > 0) {
    const int Bottom = RowBottom - Info.LevelFooterHeight;
    const int Top = Bottom - Info.PreviewLineCount * FPreviewLineHeight - 2;
    if (P.y >= Top && P.y < Bottom) Hit.HitTest = htPreview;
  }
  if (Hit.HitTest == htLabel || Hit.HitTest == htRowFooter) {
    const int Rows = std::max(GetHeaderPanelRowCount(), 1);
    const int LineHeight = std::max(FDefaultRowHeight, 1);
    const int Line = std::clamp(static_cast<int>(P.y - RowTop) / LineHeight, 0, Rows - 1);
    for (const TdxTreeListHeaderInfo& H : DI.Headers)
      if (P.x >= H.CellRect.left && P.x < H.CellRect.right && Line >= H.RowIndex &&
          Line < H.RowIndex + H.LineCount) {
        Hit.BandIndex = H.BandIndex;
        Hit.Column = H.Column;
        break;
      }
  }
  return Hit;
}

// ---------------------------------------------------------------------------------
// The column layer's sizing answers

bool TCustomdxTreeListControl::IsHeaderForBands() { return DefaultLayout() && !ShowBands(); }

bool TCustomdxTreeListControl::IsBandSizable(int VisibleBand) {
  return CanBandSizing(VisibleBand) && !IsHeaderForBands();
}

bool TCustomdxTreeListControl::IsColumnSizable(int Column) {
  TdxTreeListColumn* C = FindColumn(Column);
  return C && CanColumnSizing(Column) && C->Sizing();
}

int TCustomdxTreeListControl::GetBandRowLastColumn(int VisibleBand, int Row) {
  const int Count = GetHeaderColumnCount(VisibleBand, Row);
  return Count > 0 ? GetHeaderAbsoluteColumnIndex(VisibleBand, Row, Count - 1) : -1;
}
