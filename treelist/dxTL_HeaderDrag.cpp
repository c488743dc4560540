// Dragging a band or column header: the start past the press point with the header's
// picture under the mouse, the insertion place under the mouse with its arrows, the
// delete cursor off the header, the horizontal drag scroll near its edges, and the
// drop that moves, hides or leaves the band or column, with their events.
#include <algorithm>

#include "classlib/DragImages.h"
#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Draw.h"
#include "treelist/dxTL_Resources.h"

namespace {

bool Inside(const TRect& R, const TPoint& P) { return PtInRect(&R, P) != FALSE; }

}  // namespace

// ---------------------------------------------------------------------------------
// Start

void TCustomdxTreeListControl::StartBandDrag(int VisibleBand) {
  HideCornerHint();
  FDragState.Band = GetAbsoluteBandIndex(VisibleBand);
  FDragState.BandVisibleAtStart = VisibleBand;
  FDragState.Column = -1;
  MakeHeaderDragImages(-1, VisibleBand);
  inherited::StartBandDrag(VisibleBand);
  StartBandDragging(FDragState.Band);
}

void TCustomdxTreeListControl::StartColumnDrag(int Column) {
  HideCornerHint();
  FDragState.Band = -1;
  FDragState.Column = Column;
  MakeHeaderDragImages(Column, -1);
  inherited::StartColumnDrag(Column);
  StartHeaderDragging(Column);
}

void TCustomdxTreeListControl::MakeHeaderDragImages(int Column, int VisibleBand) {
  FreeDragImages();
  FDragState.ArrowPos = TPoint{-100, -100};
  FDragState.ArrowsShown = false;
  FDragState.ArrowDraws = 0;
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  int Width = 0, Height = 0;
  THeaderButton B;
  B.Look = LookAndFeel();
  B.EdgeKind = hekButton;
  TColor Color = HeaderColor();
  TFont* HeaderLook = HeaderFont();
  if (Column >= 0) {
    Width = -1;
    for (const TdxTreeListHeaderInfo& H : DI.Headers)
      if (H.Column == Column) Width = H.CellRect.right - H.CellRect.left;
    if (Width < 0) Width = IsColumnShown(Column) ? GetColumnDisplayWidth(Column) : GetColumnWidth(Column);
    Height = HeaderRowHeight();
    if (HasHeaderGlyph(Column)) B.Glyph = GetHeaderGlyph(Column)->Handle();
    B.Sort = GetColumnSorted(Column);
    B.Alignment = GetColumnHeaderAlignment(Column);
    B.Text = GetHeaderCaption(Column);
  } else {
    const int Band = GetAbsoluteBandIndex(VisibleBand);
    for (const TdxTreeListBandInfo& Info : DI.Bands)
      if (Info.Index == VisibleBand) {
        Width = Info.BandRect.right - Info.BandRect.left;
        Height = Info.BandRect.bottom - Info.BandRect.top;
      }
    if (Width <= 0) Width = GetBandWidth(Band);
    if (Height <= 0) Height = BandLineHeight();
    Color = BandColor();
    HeaderLook = BandFont();
    B.Alignment = GetBandAlignment(Band);
    B.Text = GetBandCaption(Band);
  }
  if (Width < 1) Width = 20;
  Width = std::min(Width, GetSystemMetrics(SM_CXSCREEN));
  Height = std::max(Height, 1);
  TBitmap* Picture = NewObject<TBitmap>();
  auto FreePicture = ScopeExit([Picture] { Picture->Free(); });
  Picture->SetSize(Width, Height);
  {
    HDC DC = Picture->Canvas()->Handle();
    LOGBRUSH Fill{BS_SOLID, ColorToRGB(Color), 0};
    TSharedObject<HBRUSH> Brush(AcquireSharedBrush(Fill));
    B.Bounds = TRect{0, 0, Width, Height};
    B.Brush = Brush.Handle();
    Picture->Canvas()->Font()->Assign(HeaderLook);
    TSavedTextState Saved(DC);
    Saved.SelectFont(Picture->Canvas()->Font()->Handle());
    SetTextColor(DC, ColorToRGB(HeaderLook->Color()));
    DrawHeaderButton(DC, B);
  }
  auto* List = NewObject<TDragImageList>(Width, Height);
  FDragState.Images = List;
  List->SetMasked(false);
  List->Add(Picture, nullptr);
  List->SetDragImage(0, Width / 2, Height / 2);
  POINT P{0, 0};
  GetCursorPos(&P);
  List->BeginDrag(nullptr, P.x, P.y);
}

// ---------------------------------------------------------------------------------
// The place under the mouse

TdxTreeListDropPlace TCustomdxTreeListControl::CalcDropPosition(TPoint P) {
  TdxTreeListDropPlace Place;
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  auto ToScreen = [this](TPoint Q) {
    if (HandleAllocated()) ::ClientToScreen(Handle(), &Q);
    return Q;
  };
  if (FDragState.Band >= 0) {
    const int From = GetVisibleBandIndex(FDragState.Band);
    if (!Inside(DI.BandRect, P)) return Place;
    for (const TdxTreeListBandInfo& Info : DI.Bands) {
      const TRect& R = Info.BandClipRect;
      if (P.x < R.left || P.x >= R.right) continue;
      int Edge = 0;
      if (Info.Index == From) {
        Place.Band = From;
        Edge = R.left;
      } else {
        const bool After = P.x >= (Info.BandRect.left + Info.BandRect.right) / 2;
        int Target = Info.Index + (After ? 1 : 0);
        if (From >= 0 && From < Target) --Target;
        Place.Band = Target;
        Edge = After ? R.right : R.left;
      }
      Edge = std::clamp(Edge - 5, static_cast<int>(DI.BandRect.left) - 5, static_cast<int>(DI.BandRect.right));
      Place.Arrow = ToScreen(TPoint{Edge, DI.BandRect.top - 9});
      return Place;
    }
    // Right of the bands: after the last one.
    if (!DI.Bands.empty()) {
      const TdxTreeListBandInfo& Last = DI.Bands.back();
      if (P.x >= Last.BandClipRect.right) {
        int Target = Last.Index + 1;
        if (From >= 0 && From < Target) --Target;
        Place.Band = Target;
        const int Edge = std::clamp(static_cast<int>(Last.BandClipRect.right) - 5,
                                    static_cast<int>(DI.BandRect.left) - 5, static_cast<int>(DI.BandRect.right));
        Place.Arrow = ToScreen(TPoint{Edge, DI.BandRect.top - 9});
      }
    }
    return Place;
  }
  const int Column = FDragState.Column;
  TdxTreeListColumn* Dragged = FindColumn(Column);
  if (!Dragged || !Inside(DI.HeaderRect, P)) return Place;
  const int RowHeight = std::max(HeaderRowHeight(), 1);
  // The column's own place: no move.
  auto OwnPlace = [&]() {
    TdxTreeListDropPlace Own;
    for (const TdxTreeListHeaderInfo& H : DI.Headers)
      if (H.Column == Column) {
        Own.Band = H.BandIndex;
        Own.Row = H.RowIndex;
        Own.Col = Dragged->ColIndex();
        const int Edge = std::clamp(static_cast<int>(H.CellClipRect.left) - 5,
                                    static_cast<int>(DI.HeaderRect.left) - 5, static_cast<int>(DI.HeaderRect.right));
        Own.Arrow = ToScreen(TPoint{Edge, DI.HeaderRect.top + H.RowIndex * RowHeight - 9});
      }
    return Own;
  };
  // The band under the mouse (by its place in the header panel).
  int VisibleBand = -1;
  TRect BandArea{0, 0, 0, 0};
  for (const TdxTreeListBandInfo& Info : DI.Bands)
    if (P.x >= Info.BandClipRect.left && P.x < Info.BandClipRect.right) {
      VisibleBand = Info.Index;
      BandArea = Info.BandClipRect;
    }
  if (VisibleBand < 0 && DI.Bands.empty()) VisibleBand = 0;
  if (VisibleBand < 0) return OwnPlace();
  // Bands are compared by their place in the band collection.
  const int TargetBand = GetAbsoluteBandIndex(VisibleBand);
  const int OwnBand = Dragged->BandIndex();
  if (TargetBand != OwnBand) {
    const bool Locked = (OwnBand >= 0 && OwnBand < FBands->Count() && FBands->Items(OwnBand)->OnlyOwnColumns()) ||
                        (TargetBand >= 0 && FBands->Items(TargetBand)->OnlyOwnColumns());
    if (Locked) return OwnPlace();
  }
  const int Row = std::clamp(static_cast<int>(P.y - DI.HeaderRect.top) / RowHeight, 0, std::max(GetHeaderRowCount(VisibleBand), 1) - 1);
  // The row's cells without the dragged column, left to right.
  std::vector<const TdxTreeListHeaderInfo*> Cells;
  for (const TdxTreeListHeaderInfo& H : DI.Headers)
    if (H.BandIndex == VisibleBand && H.RowIndex == Row) {
      if (H.Column == Column && Inside(H.CellClipRect, P)) return OwnPlace();
      if (H.Column != Column) Cells.push_back(&H);
    }
  std::sort(Cells.begin(), Cells.end(),
            [](const TdxTreeListHeaderInfo* A, const TdxTreeListHeaderInfo* B) { return A->CellRect.left < B->CellRect.left; });
  int Col = static_cast<int>(Cells.size());
  int Edge = static_cast<int>(Cells.empty() ? (IsRectEmpty(&BandArea) ? DI.HeaderRect.left : BandArea.left) : Cells.back()->CellClipRect.right);
  for (size_t I = 0; I < Cells.size(); ++I) {
    const TdxTreeListHeaderInfo& H = *Cells[I];
    if (P.x >= H.CellRect.right) continue;
    const bool After = P.x >= (H.CellRect.left + H.CellRect.right) / 2;
    Col = static_cast<int>(I) + (After ? 1 : 0);
    Edge = After ? H.CellClipRect.right : H.CellClipRect.left;
    break;
  }
  Place.Band = VisibleBand;
  Place.Row = Row;
  Place.Col = Col;
  Edge = std::clamp(Edge - 5, static_cast<int>(DI.HeaderRect.left) - 5, static_cast<int>(DI.HeaderRect.right));
  Place.Arrow = ToScreen(TPoint{Edge, DI.HeaderRect.top + Row * RowHeight - 9});
  return Place;
}

// ---------------------------------------------------------------------------------
// Move

void TCustomdxTreeListControl::MoveHeaderDrag(int X, int Y) {
  StopDragScroll();
  const TPoint P{X, Y};
  FDragState.LastPoint = P;
  const TdxTreeListDropPlace Place = CalcDropPosition(P);
  const bool Band = FDragState.Band >= 0;
  TPoint Arrow = Place.Band >= 0 ? Place.Arrow : TPoint{-100, -100};
  if (Arrow.x != FDragState.ArrowPos.x || Arrow.y != FDragState.ArrowPos.y) {
    if (FDragState.ArrowsShown) DrawDragArrows(true);
    FDragState.ArrowPos = Arrow;
    TdxTreeListDrawInfo DI;
    CalcRegions(DI);
    FDragState.ArrowHeight = Band ? DI.BandRect.bottom - DI.BandRect.top : HeaderRowHeight();
    if (Place.Band >= 0 && !DragMarksHidden()) DrawDragArrows(true);
  }
  bool Accept = Place.Band >= 0;
  if (Band)
    DragOverBand(FDragState.Band, P, Accept);
  else if (FindColumn(FDragState.Column))
    DragOverHeader(FDragState.Column, P, Accept);
  FDragState.DeleteCursor = !Accept;
  ::SetCursor(Screen->Cursors(Accept ? Cursor() : crdxTLDelete));
  if (TDragImageList* Images = FDragState.Images) {
    POINT S = P;
    if (HandleAllocated()) ::ClientToScreen(Handle(), &S);
    Images->DragMove(S.x, S.y);
  }
  // Near the header's left or right edge, off the rows, the header scrolls.
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  if (P.y >= DI.CR.top && P.y < DI.CellsRect.top)
    StartDragScroll(SideDragScrollKind(X, GetScrollingArea()));
}

// ---------------------------------------------------------------------------------
// End

void TCustomdxTreeListControl::EndHeaderDrag(bool Drop) {
  if (FDragState.Band >= 0)
    EndBandDrag(Drop);
  else
    EndColumnDrag(Drop);
}

// What every header drag's end does first: nothing of the drag stays on the screen.
void TCustomdxTreeListControl::LeaveHeaderDrag() {
  StopDragScroll();
  inherited::EndHeaderDrag(false);
  FreeDragImages();
  if (FDragState.ArrowsShown) DrawDragArrows(false);
  FDragState.ArrowPos = TPoint{-100, -100};
  FDragState.DeleteCursor = false;
  ReleaseDragArrowBackground();
  InvalidateHeaderPiece();
  if (HandleAllocated()) {
    UpdateWindow(Handle());
    ::SetCursor(Screen->Cursors(Cursor()));
  }
}

void TCustomdxTreeListControl::EndBandDrag(bool Drop) {
  const int Band = std::exchange(FDragState.Band, -1);
  const int VisibleAtStart = FDragState.BandVisibleAtStart;
  const TPoint P = FDragState.LastPoint;
  TdxTreeListDropPlace Place;
  if (Drop && Band >= 0 && Band < FBands->Count()) {
    FDragState.Band = Band;
    Place = CalcDropPosition(P);
    FDragState.Band = -1;
  }
  LeaveHeaderDrag();
  if (!Drop || Band < 0 || Band >= FBands->Count()) return;
  int NewIndex = Place.Band;
  bool Accept = true;
  DragEndBand(Band, P, VisibleAtStart, NewIndex, Accept);
  if (!Accept) return;
  TdxTreeListBand* Item = FBands->Items(Band);
  if (!Item->Visible()) return;
  const int Current = GetVisibleBandIndex(Band);
  if (NewIndex >= 0) {
    if (NewIndex != Current && NewIndex < FBands->VisibleCount()) {
      MoveBand(Current, NewIndex);
      MakeBandVisible(GetVisibleBandIndex(Band));
    }
  } else if (Options().Contains(aoExtCustomizing) && !IsBandDisableCustomizing(Band)) {
    HideBand(Band);
  }
}

void TCustomdxTreeListControl::EndColumnDrag(bool Drop) {
  const int Column = std::exchange(FDragState.Column, -1);
  const TPoint P = FDragState.LastPoint;
  TdxTreeListDropPlace Place;
  if (Drop && FindColumn(Column)) {
    FDragState.Column = Column;
    Place = CalcDropPosition(P);
    FDragState.Column = -1;
  }
  LeaveHeaderDrag();
  TdxTreeListColumn* C = FindColumn(Column);
  if (!Drop || !C) return;
  TdxHeaderPosInfo Pos{-1, -1, -1};
  if (Place.Band >= 0) Pos = TdxHeaderPosInfo{GetAbsoluteBandIndex(Place.Band), Place.Row, Place.Col};
  bool Accept = true;
  DragEndHeader(Column, P, Pos, Accept);
  if (!Accept) return;
  if (Pos.BandIndex >= 0) {
    const int VisibleBand = GetVisibleBandIndex(Pos.BandIndex);
    if (C->Visible()) {
      if (Pos.BandIndex == C->BandIndex() && Pos.RowIndex == C->RowIndex() && Pos.ColIndex == C->ColIndex()) return;
      MoveColumn(Column, VisibleBand, Pos.RowIndex, Pos.ColIndex);
    } else {
      ShowColumn(Column, VisibleBand, Pos.RowIndex, Pos.ColIndex);
    }
    ColumnMovedByDrag(Column, C->Index());
  } else if (C->Visible() && Options().Contains(aoExtCustomizing) && !IsColumnDisableCustomizing(Column) &&
             GetVisibleColumnCount() > 1) {
    HideColumn(Column);
  }
}

AnsiString TCustomdxTreeListControl::GetNodeDragCaption(TdxTreeListNode* Node) {
  const int Column = GetAbsoluteColumnIndex(std::max(FocusedColumn(), 0));
  AnsiString Text = inherited::GetNodeDragCaption(Node);
  GetNodeDragText(Node, Column, Text);
  return Text;
}
