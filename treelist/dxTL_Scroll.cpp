// The tree list's scrolling: the rows in view from the top node, the vertical and
// horizontal scroll bars' state, the top row and the left coordinate with the window
// scrolled by what moved, and the scroll and size messages.
//
// Costs: a scroll measures only the rows it moves over when it really scrolls the
// window (at most a page); a longer jump repaints without measuring the rows between.
#include <algorithm>
#include <cstdlib>

#include "treelist/dxTL.h"

namespace {

// Posted to itself once for a run of row changes (see RowsChanged).
constexpr UINT TLM_ROWSCHANGED = WM_APP + 0x100;

}  // namespace

// ---------------------------------------------------------------------------------
// Rows in view

void TCustomdxTreeList::CountRowsInView(TdxTreeListNode* StartNode, int Height, int& VisibleRows,
                                        int& FullRows) {
  VisibleRows = 0;
  FullRows = 0;
  int Sum = 0;
  for (TdxTreeListNode* N = StartNode; N; N = N->GetNextVisible()) {
    const int H = GetRowHeight(N, FDefaultRowHeight);
    if (Sum + H > Height) {
      if (Sum < Height) ++VisibleRows;  // the row is partly shown
      return;
    }
    Sum += H;
    ++VisibleRows;
    ++FullRows;
  }
  // The list ended first: the rows above the start that would fit count too (a
  // start past the end has the last row above it).
  for (TdxTreeListNode* N = StartNode ? StartNode->GetPrevVisible() : GetLastNode(); N;
       N = N->GetPrevVisible()) {
    const int H = GetRowHeight(N, FDefaultRowHeight);
    if (Sum + H > Height) {
      if (Sum < Height) ++VisibleRows;
      return;
    }
    Sum += H;
    ++VisibleRows;
    ++FullRows;
  }
}

void TCustomdxTreeList::CalcRowsInView() {
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  CountRowsInView(FTopVisibleNode, DI.CellsRect.bottom - DI.CellsRect.top, FVisibleRowCount,
                  FFullRowCount);
  FVisibleRowCount = std::max(FVisibleRowCount, 1);
  FFullRowCount = std::max(FFullRowCount, 1);
}

void TCustomdxTreeList::GetVertScrollInfo(int& Min, int& Max, int& Page, int& Pos) {
  const int Count = GetVisibleNodeCount();
  Min = 0;
  Page = FFullRowCount;
  Max = Count <= FFullRowCount ? 0 : Count - 1;
  Pos = std::max(GetTopIndex(), 0);
}

int TCustomdxTreeList::RowsHeight(int Rows) {
  int Sum = 0;
  if (Rows >= 0) {
    TdxTreeListNode* N = FTopVisibleNode ? FTopVisibleNode->GetPrevVisible() : nullptr;
    for (; N && Rows > 0; N = N->GetPrevVisible(), --Rows) Sum += GetRowHeight(N, FDefaultRowHeight);
    return Sum;
  }
  for (TdxTreeListNode* N = FTopVisibleNode; N && Rows < 0; N = N->GetNextVisible(), ++Rows)
    Sum += GetRowHeight(N, FDefaultRowHeight);
  return -Sum;
}

int TCustomdxTreeList::TopIndexForLastRow(int Index) {
  int Result = Index - FFullRowCount + 1;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  const int Height = DI.CellsRect.bottom - DI.CellsRect.top;
  TdxTreeListNode* N = GetNodeAtRow(Index);
  if (!N) return Result;
  int Sum = GetRowHeight(N, FDefaultRowHeight);
  int Candidate = Index;
  for (N = N->GetPrevVisible(); N; N = N->GetPrevVisible()) {
    Sum += GetRowHeight(N, FDefaultRowHeight);
    if (Sum > Height) break;
    --Candidate;
  }
  if (Candidate >= 0) Result = Candidate;
  return Result;
}

// ---------------------------------------------------------------------------------
// Scroll bars

void TCustomdxTreeList::ApplyScrollInfo(int Bar, const SCROLLINFO& Info) {
  SetScrollInfo(Bar, Info, true);
}

namespace {

// Sets a bar only when its range, page or position changed.
void UpdateBar(TCustomdxTreeList* Self, int Bar, int Min, int Max, int Page, int Pos,
               void (TCustomdxTreeList::*Apply)(int, const SCROLLINFO&)) {
  // The system keeps the page within the range and the position within what the
  // page leaves: compared so, an unchanged state reads back equal.
  const int KeptPage = std::clamp(Page, 0, Max - Min + 1);
  const int KeptPos = std::clamp(Pos, Min, std::max(Max - std::max(KeptPage - 1, 0), Min));
  SCROLLINFO Old{};
  Old.cbSize = sizeof(Old);
  Old.fMask = SIF_ALL;
  if (Self->GetScrollInfo(Bar, Old) && Old.nMin == Min && Old.nMax == Max &&
      static_cast<int>(Old.nPage) == KeptPage && Old.nPos == KeptPos)
    return;
  SCROLLINFO New{};
  New.cbSize = sizeof(New);
  New.fMask = SIF_ALL;
  New.nMin = Min;
  New.nMax = Max;
  New.nPage = static_cast<UINT>(std::max(Page, 0));
  New.nPos = Pos;
  Self->HideDragMarks();
  (Self->*Apply)(Bar, New);
  Self->ShowDragMarks();
}

}  // namespace

void TCustomdxTreeList::UpdateHorzScrollBar() {
  if (!HandleAllocated() || !IsHorzScrollBar()) return;
  const int Visible = GetVisibleWidth();
  const int Scrollable = GetScrollableWidth();
  UpdateBar(this, SB_HORZ, 0, Scrollable > Visible ? Scrollable - 1 : 0, Visible, FLeftCoord,
            &TCustomdxTreeList::ApplyScrollInfo);
}

void TCustomdxTreeList::UpdateVertScrollBar() {
  if (!HandleAllocated()) return;
  CalcRowsInView();
  if (!IsVertScrollBar()) return;
  int Min, Max, Page, Pos;
  GetVertScrollInfo(Min, Max, Page, Pos);
  UpdateBar(this, SB_VERT, Min, Max, Page, Pos, &TCustomdxTreeList::ApplyScrollInfo);
}

void TCustomdxTreeList::RefreshScrollBars() {
  if (!HandleAllocated()) return;
  for (int Pass = 0; Pass < 2; ++Pass) {
    UpdateVertScrollBar();
    UpdateHorzScrollBar();
  }
}

void TCustomdxTreeList::RemoveScrollBarsIfFit() {
  if (!HandleAllocated()) return;
  const LONG Style = GetWindowLongA(Handle(), GWL_STYLE);
  if (!(Style & WS_HSCROLL) || !(Style & WS_VSCROLL)) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  const int Height = DI.CellsRect.bottom - DI.CellsRect.top + GetSystemMetrics(SM_CYHSCROLL);
  const int Width = GetVisibleWidth() + GetSystemMetrics(SM_CXVSCROLL);
  int Visible = 0, Full = 0;
  CountRowsInView(FTopVisibleNode, Height, Visible, Full);
  if (GetVisibleNodeCount() > Full || GetScrollableWidth() > Width) return;
  SetWindowLongA(Handle(), GWL_STYLE, Style & ~(WS_HSCROLL | WS_VSCROLL));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------------
// The top row

int TCustomdxTreeList::GetTopIndex() {
  return FTopVisibleNode ? GetNodeRowIndex(FTopVisibleNode) : -1;
}

void TCustomdxTreeList::SetTopIndex(int Index) {
  EndEdit(true);
  const int Current = GetTopIndex();
  const int Count = GetVisibleNodeCount();
  if (Index == Current || Count < 2) return;
  if (Index < 0) Index = 0;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  int Visible = 0, Full = 0;
  CountRowsInView(GetNodeAtRow(Index), DI.CellsRect.bottom - DI.CellsRect.top, Visible, Full);
  // The rows that fit from the new top both decide and give the last page. A last row
  // taller than the view, or a view shorter than a row, fits none: the last page is
  // then that row alone, never an empty list.
  Full = std::max(Full, 1);
  if (Count < Index + Full) Index = Count - Full;
  if (Index < 0) Index = 0;
  const int D = Current - Index;
  if (D == 0) return;
  // Only a scroll of at most a page moves pixels: only then are its rows measured.
  const bool Scrolls = std::abs(D) <= FFullRowCount && Current >= 0;
  const int Pixels = Scrolls ? RowsHeight(D) : 0;
  TRect OldRect;
  GetNodeRowRect(FTopVisibleNode, OldRect);
  SetTopVisibleNode(GetNodeAtRow(Index));
  CalcRowsInView();
  if (UpdateCount() > 0 || !HandleAllocated()) return;
  if (OldRect.top != -1) {
    ValidateRect(Handle(), &OldRect);
    InvalidateArea(OldRect);
  }
  TRect NewRect;
  GetNodeRowRect(FTopVisibleNode, NewRect);
  if (NewRect.top != -1) InvalidateArea(NewRect);
  if (Scrolls) {
    HideDragMarks();
    ScrollRows(Pixels);
    ShowDragMarks();
  } else {
    InvalidateClient();
  }
  UpdateVertScrollBar();
}

void TCustomdxTreeList::ScrollRows(int DY) {
  if (!HandleAllocated() || DY == 0) return;
  TRect R;
  GetRowsAreaRect(R);
  ScrollWindowEx(Handle(), 0, DY, &R, &R, nullptr, nullptr, SW_INVALIDATE);
  if (FTreeLineStyle == tlDot && FPaintStyle == psStandard) {
    // Dotted tree lines are drawn by phase: the first band's strip paints again.
    TRect Strip = R;
    Strip.right = std::min<int>(R.right, GetScrollingArea().left + GetFirstBandWidth());
    InvalidateArea(Strip);
  }
}

void TCustomdxTreeList::ScrollColumns(int DX) {
  if (!HandleAllocated() || DX == 0) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  TRect R = Rect(DI.CellsRect.left, DI.CR.top, DI.CellsRect.right, DI.CellsRect.bottom);
  ScrollWindowEx(Handle(), DX, 0, &R, &R, nullptr, nullptr, SW_INVALIDATE);
}

void TCustomdxTreeList::KeepTopInRange() {
  if (!FTopVisibleNode) {
    if (TdxTreeListNode* First = GetFirstNode()) SetTopVisibleNode(First);
    return;
  }
  const int Top = GetTopIndex();
  if (Top < 0) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  int Visible = 0, Full = 0;
  CountRowsInView(FTopVisibleNode, DI.CellsRect.bottom - DI.CellsRect.top, Visible, Full);
  const int Count = GetVisibleNodeCount();
  if (Count < Top + Full) {
    const int Index = std::max(Count - Full, 0);
    if (Index != Top) SetTopIndex(Index);
  }
}

// ---------------------------------------------------------------------------------
// The left coordinate

void TCustomdxTreeList::ClampLeftCoord() {
  FLeftCoord = std::clamp(FLeftCoord, 0, std::max(GetScrollableWidth() - GetVisibleWidth(), 0));
}

void TCustomdxTreeList::SetLeftCoord(int Value) {
  EndEdit(true);
  const int Max = std::max(GetScrollableWidth() - GetVisibleWidth(), 0);
  Value = std::clamp(Value, 0, Max);
  if (Value == FLeftCoord) return;
  const int Shift = FLeftCoord - Value;
  FLeftCoord = Value;
  RefreshScrollBars();
  if (UpdateCount() > 0) return;
  if (!FShowFooter && !HasFixedBands() && std::abs(Shift) <= GetVisibleWidth()) {
    HideDragMarks();
    ScrollColumns(Shift);
    ShowDragMarks();
  } else {
    InvalidateClient();
  }
  DoChangeLeftCoord();
}

// ---------------------------------------------------------------------------------
// Messages

void TCustomdxTreeList::WMVScroll(TMessage& Message) {
  const int Top = std::max(GetTopIndex(), 0);
  const int Count = GetVisibleNodeCount();
  int Index = Top;
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: Index = Top - 1; break;
    case SB_LINEDOWN: Index = Top + 1; break;
    case SB_PAGEUP: Index = Top - GetVisibleRowCount(); break;
    case SB_PAGEDOWN: Index = Top + GetVisibleRowCount(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 32-bit tracking position: the message carries only 16 bits.
      SCROLLINFO Info{};
      Info.cbSize = sizeof(Info);
      Info.fMask = SIF_ALL;
      if (!GetScrollInfo(SB_VERT, Info)) return;
      Index = std::clamp(Info.nTrackPos, 0, Count);
      break;
    }
    case SB_TOP: Index = 0; break;
    case SB_BOTTOM: Index = Count; break;
    default: return;
  }
  SetTopIndex(Index);
}

void TCustomdxTreeList::WMHScroll(TMessage& Message) {
  if (GetVisibleColumnCount() == 0) return;
  const int Full = GetScrollableWidth();
  const int Visible = GetVisibleWidth();
  int Value = FLeftCoord;
  switch (LOWORD(Message.WParam)) {
    case SB_LINELEFT: Value -= LevelIndent(); break;
    case SB_LINERIGHT: Value += LevelIndent(); break;
    case SB_PAGELEFT: Value -= Visible; break;
    case SB_PAGERIGHT: Value += Visible; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO Info{};
      Info.cbSize = sizeof(Info);
      Info.fMask = SIF_ALL;
      if (!GetScrollInfo(SB_HORZ, Info)) return;
      const int P = Info.nTrackPos;
      if (P <= 0) {
        Value = 0;
      } else if (P >= Full) {
        Value = Full;
      } else {
        Value = P + 1;
        if (Value + Visible < Full) Value -= Value % 4;
      }
      break;
    }
    case SB_TOP: Value = 0; break;
    case SB_BOTTOM: Value = Full; break;
    default: return;
  }
  SetLeftCoord(Value);
}

void TCustomdxTreeList::WMSize(TMessage& Message) {
  ResetRowHeightCache();
  SizeChanged();
  RemoveScrollBarsIfFit();
  inherited::Dispatch(Message);
  ClampLeftCoord();
  RefreshScrollBars();
  KeepTopInRange();
  // A running edit moves with its cell, or ends storing when the cell went out of view.
  KeepEditorOnCell();
}

// ---------------------------------------------------------------------------------
// Row changes: collected, then repainted and counted once

void TCustomdxTreeList::RowsChanged(int Row) {
  if (Row >= 0 && (FChangedFromRow < 0 || Row < FChangedFromRow)) FChangedFromRow = Row;
  if (FRowsChangePosted || !HandleAllocated()) return;
  FRowsChangePosted = PostMessageA(Handle(), TLM_ROWSCHANGED, 0, 0) != FALSE;
}

void TCustomdxTreeList::ApplyRowsChanged() {
  FRowsChangePosted = false;
  const int Row = FChangedFromRow;
  FChangedFromRow = -1;
  if (Destroying() || !HandleAllocated()) return;
  // Rows that left below the top row must not leave the last page short.
  KeepTopInRange();
  if (Row >= 0) {
    TRect R;
    GetRowRectToBottom(GetNodeAtRow(Row), R);
    if (R.top == -1 && Row < GetTopIndex()) GetRowsAreaRect(R);
    if (R.top != -1) InvalidateArea(R);
  }
  RefreshScrollBars();
  KeepEditorOnCell();
}

bool TCustomdxTreeList::DispatchScrollMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL: WMVScroll(Message); return true;
    case WM_HSCROLL: WMHScroll(Message); return true;
    case WM_SIZE: WMSize(Message); return true;
    case TLM_ROWSCHANGED: ApplyRowsChanged(); return true;
    default: return false;
  }
}
