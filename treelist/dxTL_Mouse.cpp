// The tree list's mouse: a small state machine of presses, moves and releases over the
// hit test (focus and selection on rows, expand buttons, pressed band and header
// buttons, the start of sizing and dragging), the selection's scroll timer, hot
// tracking, and the focus, cursor, timer and cancel messages.
//
// Sizing and dragging are entered and ended here; their limits, lines, drops and the
// editor they may open are reached through the hooks declared beside MouseDown.
#include <cstdlib>

#include "classlib/Forms.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

namespace {

constexpr UINT_PTR SelectionScrollTimerId = 1;
constexpr UINT_PTR ClickEditTimerId = 2;
constexpr UINT SelectionScrollInterval = 60;
// A press turns into a drag once the mouse is more than this far away.
constexpr int DragThreshold = 5;

// One timer per id for every tree list of the process: only one control holds the
// mouse at a time.
struct TSharedTimer {
  HWND Window = nullptr;
  bool Running = false;
};
TSharedTimer GTimers[3];

void StopSharedTimer(UINT_PTR Id) {
  if (GTimers[Id].Running) KillTimer(GTimers[Id].Window, Id);
  GTimers[Id] = TSharedTimer{};
}

void StartSharedTimer(HWND Window, UINT_PTR Id, UINT Interval) {
  StopSharedTimer(Id);
  if (SetTimer(Window, Id, Interval, nullptr)) GTimers[Id] = TSharedTimer{Window, true};
}

bool SharedTimerRunning(HWND Window, UINT_PTR Id) {
  return GTimers[Id].Running && GTimers[Id].Window == Window;
}

// Shift and Ctrl from the message and from the key state.
TShiftState WithHeldKeys(TShiftState Shift) {
  if (GetKeyStateProc(VK_SHIFT) < 0) Shift.Include(ssShift);
  if (GetKeyStateProc(VK_CONTROL) < 0) Shift.Include(ssCtrl);
  return Shift;
}

bool IsSizingState(TdxTreeListState State) {
  return State == tsColumnSizing || State == tsBandSizing || State == tsBandPanelSizing ||
         State == tsHeaderPanelSizing || State == tsRowSizing;
}

bool IsVerticalSizing(TdxTreeListState State) {
  return State == tsBandPanelSizing || State == tsHeaderPanelSizing || State == tsRowSizing;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Press

void TCustomdxTreeList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) StopSharedTimer(ClickEditTimerId);
  // An editor that holds the presses keeps them from the control.
  if (!EndEditForPress()) return;
  FSelectingInProgress = false;
  FDeferredSelect = false;
  FRangeExtending = false;
  if (CanFocus() && !Focused()) SetFocus();
  if (!Focused()) {
    inherited::MouseDown(Button, Shift, X, Y);
    return;
  }
  Shift = WithHeldKeys(Shift);
  const TdxTreeListHitInfo Hit = GetHitInfo(TPoint{X, Y});
  FDownHit = Hit;
  if (FState != tsNormal && Button == mbRight) CancelMode();
  const bool Double = Shift.Contains(ssDouble);
  if (FState == tsNormal && Button == mbLeft) MouseDownOnHeader(Hit, Double, X, Y);
  const TdxTreeListHitTest Kind = Hit.HitTest;
  const bool CellHit = IsCellHit(Kind);
  if (!Double && (CellHit || Kind == htIndicator) && (Button == mbLeft || (Button == mbRight && CellHit)))
    MouseDownOnRow(Hit, Button, Shift, X, Y);
  if (Hit.Node && Button == mbLeft &&
      (Kind == htButton || (Double && CellHit && FDblClkExpanding)))
    Hit.Node->SetExpanded(!Hit.Node->Expanded());
  if (Double && Button == mbLeft &&
      (Kind == htNowhere || (Kind >= htButton && Kind <= htOutside)))
    inherited::DblClick();
  if (Button == mbMiddle && FState == tsNormal) StartMousePanning();
  inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomdxTreeList::MouseDownOnHeader(const TdxTreeListHitInfo& Hit, bool Double, int X,
                                          int Y) {
  auto StartSizing = [&](TdxTreeListState State, int Pos) {
    FState = State;
    FSizingStart = FSizingPos = Pos;
    // The mouse is held until the release, also outside the window.
    if (HandleAllocated()) SetCapture(Handle());
    ShowSizingLine();
  };
  auto Press = [&](TdxTreeListState State) {
    FState = State;
    FDownPoint = TPoint{X, Y};
    SetPressedLook(true);
  };
  switch (Hit.HitTest) {
    case htBandEdge:
      if (Double)
        BandBestFit(Hit.BandIndex);
      else
        StartSizing(tsBandSizing, X);
      break;
    case htColumnEdge:
      if (Double)
        ColumnBestFit(Hit.Column);
      else
        StartSizing(tsColumnSizing, X);
      break;
    case htBandPanelEdge: StartSizing(tsBandPanelSizing, Y); break;
    case htHeaderPanelEdge: StartSizing(tsHeaderPanelSizing, Y); break;
    case htRowEdge: StartSizing(tsRowSizing, Y); break;
    case htBand:
      if (Hit.BandIndex < 0) break;
      FPressedBand = Hit.BandIndex;
      Press(tsBandDown);
      break;
    case htColumn:
      if (Hit.Column < 0) break;
      FPressedColumn = Hit.Column;
      Press(tsColumnDown);
      break;
    case htBandButton:
      if (IsBandButtonClicking()) Press(tsBandButtonDown);
      break;
    case htHeaderButton:
      if (IsHeaderButtonClicking()) Press(tsHeaderButtonDown);
      break;
    default: break;
  }
}

void TCustomdxTreeList::MouseDownOnRow(const TdxTreeListHitInfo& Hit, TMouseButton Button,
                                       TShiftState Shift, int X, int Y) {
  if (!Hit.Node) return;
  if (Button == mbLeft && Hit.HitTest != htIndicator) {
    FState = tsSelecting;
    FDragNode = Hit.Node;
  }
  BeginSelectionUpdate();
  auto Close = ScopeExit([this] { EndSelectionUpdate(); });
  FFocusedBeforeClick = FFocusedNode;
  const int ColumnBefore = FocusedColumn();
  int Column = ColumnBefore;
  const int Shown = Hit.Column >= 0 ? FindVisibleColumn(Hit.Column) : -1;
  if (Shown >= 0) Column = Shown;
  SetFocusedNode(Hit.Node, Column, true);
  FDownPoint = TPoint{X, Y};
  if (FFocusedNode && IsMultiSelect()) {
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftHeld = Shift.Contains(ssShift);
    if (Ctrl || ShiftHeld) {
      FSelectingInProgress = true;
      if (Ctrl && !ShiftHeld) {
        FFocusedNode->SetSelected(!FFocusedNode->Selected());
        SetAnchorNode(FFocusedNode);
      }
      if (ShiftHeld) {
        TdxTreeListNode* Start = FSelectionAnchor ? FSelectionAnchor : FFocusedBeforeClick;
        if (!Start) Start = FFocusedNode;
        if (!Ctrl) ClearSelection();
        SelectRange(Start, FFocusedNode);
      }
    } else if (!FFocusedNode->Selected()) {
      ClearSelection();
      FFocusedNode->SetSelected(true);
      SetAnchorNode(FFocusedNode);
    } else if (Button == mbLeft) {
      // The others leave on release, so that a drag carries the whole selection.
      FDeferredSelect = true;
    }
  }
  // With buttons shown always, the column may open the editor at the press.
  if (Button == mbLeft && Hit.HitTest != htIndicator && !IsRowSelect() &&
      CanShowEditorOnClick(X, Y, FocusedColumn(), Hit.Node == FFocusedBeforeClick)) {
    FState = tsNormal;
    ShowEditorMouse(X, Y);
  }
  // A second click on the focused cell opens its editor when the double-click time
  // passes without a second press.
  if (Button == mbLeft && Hit.HitTest != htIndicator && Hit.Node == FFocusedBeforeClick &&
      Column == ColumnBefore && !Shift.Contains(ssShift) && FState != tsEditing &&
      HandleAllocated())
    StartSharedTimer(Handle(), ClickEditTimerId, GetDoubleClickTime());
}

// ---------------------------------------------------------------------------------
// Move

void TCustomdxTreeList::MouseMove(TShiftState Shift, int X, int Y) {
  const TdxTreeListHitInfo Hit = GetHitInfo(TPoint{X, Y});
  if (FState == tsSelecting && !Shift.Contains(ssLeft)) FState = tsNormal;
  const bool Away =
      std::abs(X - FDownPoint.x) > DragThreshold || std::abs(Y - FDownPoint.y) > DragThreshold;
  if (IsSizingState(FState)) {
    MoveSizingLine(IsVerticalSizing(FState) ? Y : X);
  } else if (FState == tsBandDown && FPressedBand >= 0) {
    if (Away && CanBandDrag(FPressedBand)) {
      SetPressedLook(false);
      StartBandDrag(FPressedBand);
    }
  } else if (FState == tsColumnDown && FPressedColumn >= 0) {
    if (Away && CanColumnDrag(FPressedColumn)) {
      SetPressedLook(false);
      StartColumnDrag(FPressedColumn);
    }
  } else if (FState == tsBandDragging || FState == tsColumnDragging) {
    MoveHeaderDrag(X, Y);
  } else if (FState == tsSelecting) {
    MouseMoveSelecting(Hit, X, Y);
  }
  FollowPressedLooks(Hit);
  UpdateHotTrack(Hit);
  inherited::MouseMove(Shift, X, Y);
}

void TCustomdxTreeList::MouseMoveSelecting(const TdxTreeListHitInfo& Hit, int X, int Y) {
  if (DragMode() == dmAutomatic) {
    if (std::abs(X - FDownPoint.x) <= DragThreshold && std::abs(Y - FDownPoint.y) <= DragThreshold)
      return;
    if (TdxTreeListNode* Node = FDragNode ? FDragNode : Hit.Node) {
      BeginSelectionUpdate();
      auto Close = ScopeExit([this] { EndSelectionUpdate(); });
      if (!FSelectingInProgress && !Node->Selected()) ClearSelection();
      SetFocusedNode(Node, FocusedColumn(), false);
      Node->SetSelected(true);
    }
    FDeferredSelect = false;
    FSelectingInProgress = false;
    StartNodeDrag();
    return;
  }
  if (!IsMouseScroll() || Count() == 0) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  if (Y >= DI.CellsRect.top && Y < DI.CellsRect.bottom) {
    if (SharedTimerRunning(Handle(), SelectionScrollTimerId)) StopSharedTimer(SelectionScrollTimerId);
    if (!Hit.Node || Hit.Node == FFocusedNode) return;
    BeginSelectionUpdate();
    auto Close = ScopeExit([this] { EndSelectionUpdate(); });
    SetFocusedNode(Hit.Node, FocusedColumn(), true);
    if (IsMultiSelect()) {
      ClearSelection();
      Hit.Node->SetSelected(true);
    }
    return;
  }
  FScrollingUp = Y < DI.CellsRect.top;
  const int Top = std::max(GetTopIndex(), 0);
  SetFocusedRowIndex(FScrollingUp ? Top : Top + FullRowCount() - 1);
  if (!SharedTimerRunning(Handle(), SelectionScrollTimerId))
    StartSharedTimer(Handle(), SelectionScrollTimerId, SelectionScrollInterval);
}

void TCustomdxTreeList::SelectionScrollTick() {
  if (FState != tsSelecting) {
    StopSharedTimer(SelectionScrollTimerId);
    return;
  }
  const int Row = GetFocusedRowIndex();
  SetFocusedRowIndex(FScrollingUp ? Row - 1 : Row + 1);
}

void TCustomdxTreeList::FollowPressedLooks(const TdxTreeListHitInfo& Hit) {
  switch (FState) {
    case tsBandDown:
      SetPressedLook(Hit.HitTest == htBand && Hit.BandIndex == FPressedBand);
      break;
    case tsColumnDown:
      SetPressedLook(Hit.HitTest == htColumn && Hit.Column == FPressedColumn);
      break;
    case tsBandButtonDown: SetPressedLook(Hit.HitTest == htBandButton); break;
    case tsHeaderButtonDown: SetPressedLook(Hit.HitTest == htHeaderButton); break;
    default: break;
  }
}

void TCustomdxTreeList::SetPressedLook(bool Value) {
  if (FPressedLook == Value) return;
  FPressedLook = Value;
  PressedLookChanged();
}

void TCustomdxTreeList::InvalidateHeaderPiece() {
  if (!HandleAllocated()) return;
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  InvalidateArea(Rect(DI.CR.left, DI.CR.top, DI.CR.right, DI.CellsRect.top));
}

// ---------------------------------------------------------------------------------
// Release

void TCustomdxTreeList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  Shift = WithHeldKeys(Shift);
  {
    BeginSelectionUpdate();
    auto Close = ScopeExit([this] { EndSelectionUpdate(); });
    const TdxTreeListHitInfo Hit = GetHitInfo(TPoint{X, Y});
    const TdxTreeListState Was = FState;
    if (IsSizingState(Was)) {
      HideSizingLine();
      FState = tsNormal;
      if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
      EndSizing(Was, IsVerticalSizing(Was) ? Y : X);
    } else if (Was == tsBandDown) {
      FState = tsNormal;
      const int Band = FPressedBand;
      SetPressedLook(false);
      FPressedBand = -1;
      if (Hit.HitTest == htBand && Hit.BandIndex == Band) DoBandClick(Band);
    } else if (Was == tsColumnDown) {
      FState = tsNormal;
      const int Column = FPressedColumn;
      SetPressedLook(false);
      FPressedColumn = -1;
      if (Hit.HitTest == htColumn && Hit.Column == Column)
        DoColumnClick(Column, IsMultiSort() && Shift.Contains(ssShift), Shift.Contains(ssCtrl));
    } else if (Was == tsBandDragging || Was == tsColumnDragging) {
      FPressedBand = -1;
      FPressedColumn = -1;
      EndHeaderDrag(true);
    } else if (Was == tsBandButtonDown || Was == tsHeaderButtonDown) {
      FState = tsNormal;
      const bool Clicked = FPressedLook;
      SetPressedLook(false);
      if (Clicked) {
        if (Was == tsBandButtonDown)
          DoBandButtonClick();
        else
          DoHeaderButtonClick();
      }
    }
    if (FDeferredSelect) {
      FDeferredSelect = false;
      ClearSelection();
      if (FFocusedNode) {
        FFocusedNode->SetSelected(true);
        SetAnchorNode(FFocusedNode);
      }
    }
    if ((FState == tsEditing || FState == tsNodeDragging || FState == tsSelecting) &&
        Button == mbLeft && !IsRowSelect() && Hit.HitTest == htLabel &&
        Hit.HitTest == FDownHit.HitTest && Hit.Column == FDownHit.Column &&
        Hit.RowIndex == FDownHit.RowIndex && Hit.Column >= 0 && ImmediateEditor(Hit.Column) &&
        Hit.Node == FFocusedNode) {
      FState = tsNormal;
      if (!Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) ShowEditorMouseUp();
    }
    if (FState == tsSelecting) FState = tsNormal;
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------------
// Cancelling

void TCustomdxTreeList::CancelMode() {
  HideCornerHint();
  if (HandleAllocated() && SharedTimerRunning(Handle(), SelectionScrollTimerId))
    StopSharedTimer(SelectionScrollTimerId);
  SetPressedLook(false);
  FPressedBand = -1;
  FPressedColumn = -1;
  FDeferredSelect = false;
  CancelSizing();
  if (FState == tsBandDragging || FState == tsColumnDragging) EndHeaderDrag(false);
  CancelDragAndPan();
  if (FState != tsEditing) FState = tsNormal;
}

void TCustomdxTreeList::CancelSizing() {
  if (!IsSizingState(FState)) return;
  HideSizingLine();
  FState = tsNormal;
  if (HandleAllocated()) {
    if (GetCapture() == Handle()) ReleaseCapture();
    ::SetCursor(Screen->Cursors(Cursor()));
  }
}

// ---------------------------------------------------------------------------------
// Hot tracking

bool TCustomdxTreeList::IsHotHeaderAt(int X, int Y, Byte& Kind, int Column) {
  Kind = 1;
  TdxTreeListDrawInfo DI;
  CalcDrawInfo(DI);
  const TPoint P{X, Y};
  for (const TdxTreeListHeaderInfo& H : DI.Headers) {
    if (H.Column != Column || !PtInRect(&H.CellRect, P)) continue;
    TRect R = H.CellRect;
    InflateRect(&R, -2, -2);
    // The right-most 15 pixels of a cell wider than that are its button zone.
    constexpr int ButtonZone = 15;
    if (R.right - R.left > ButtonZone && X >= R.right - ButtonZone && PtInRect(&R, P)) Kind = 2;
    break;
  }
  return true;
}

void TCustomdxTreeList::UpdateHotTrack(const TdxTreeListHitInfo& Hit) {
  // The corner button's hint follows the mouse whatever the hot-tracking option says.
  if (FState == tsNormal || FState == tsCustomizingButtonDown)
    TrackCornerButton(TPoint(Hit.X, Hit.Y), FState == tsNormal);
  if (!FOptionsEx.Contains(aoHotTrack)) return;
  TdxTreeListNode* const OldNode = FHotNode;
  const int OldColumn = FHotColumn;
  const Byte OldKind = FHotKind;
  TdxTreeListNode* Node = nullptr;
  int Column = -1;
  Byte Kind = 0;
  if (Hit.Node && Hit.Column >= 0 && IsHotCellAt(Hit, Hit.Column, Hit.Node)) {
    Node = Hit.Node;
    Column = Hit.Column;
  } else if (Hit.HitTest == htColumn && Hit.Column >= 0) {
    Byte HeaderKind = 1;
    if (IsHotHeaderAt(Hit.X, Hit.Y, HeaderKind, Hit.Column)) {
      Column = Hit.Column;
      Kind = HeaderKind;
    }
  }
  FHotNode = Node;
  FHotColumn = Column;
  FHotKind = Kind;
  if (Node == OldNode && Column == OldColumn) {
    if (Kind != OldKind) {
      InvalidateHot(OldNode, OldColumn, OldKind);
      InvalidateHot(Node, Column, Kind);
    }
    return;
  }
  TCursor Cursor = FHotCursor;
  TdxTreeListHotTrackInfo Info{Node, Column, Kind};
  DoHotTrackNode(Info, Cursor);
  if (Cursor != this->Cursor()) {
    TFlagScope Assigning(FHotCursorAssigning);
    SetCursor(Cursor);
  }
  InvalidateHot(OldNode, OldColumn, OldKind);
  InvalidateHot(Node, Column, Kind);
}

void TCustomdxTreeList::InvalidateHot(TdxTreeListNode* Node, int Column, Byte /*Kind*/) {
  if (Node)
    NodeChanged(Node, false);
  else if (Column >= 0)
    InvalidateHeaderPiece();
}

// ---------------------------------------------------------------------------------
// Messages

void TCustomdxTreeList::WMTimer(TMessage& Message) {
  inherited::Dispatch(Message);
  switch (Message.WParam) {
    case SelectionScrollTimerId: SelectionScrollTick(); break;
    case ClickEditTimerId:
      StopSharedTimer(ClickEditTimerId);
      if (FState == tsNormal) ClickEditTimer();
      break;
    default: break;
  }
}

void TCustomdxTreeList::WMSetCursor(TMessage& Message) {
  if (LOWORD(Message.LParam) == HTCLIENT) {
    int Kind = FState;
    if (FState == tsNormal || FState == tsEditing) {
      TPoint P = FHitTestPoint;
      ::ScreenToClient(Handle(), &P);
      const TdxTreeListHitInfo Hit = GetHitInfo(P);
      Kind = 0;
      if (Hit.HitTest == htColumnEdge) Kind = 1;
      if (Hit.HitTest == htBandEdge) Kind = Hit.Column >= 0 ? 1 : 8;
      if (Hit.HitTest >= htBandPanelEdge && Hit.HitTest <= htRowEdge) Kind = 14;
    }
    TCursor Shape = crDefault;
    if (Kind == 1 || Kind == 8) Shape = crHSplit;
    if (Kind >= 12 && Kind <= 14) Shape = crVSplit;
    if (Shape != crDefault) {
      ::SetCursor(Screen->Cursors(Shape));
      Message.Result = 1;
      return;
    }
  }
  inherited::Dispatch(Message);
}

bool TCustomdxTreeList::DispatchMouseMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER: WMTimer(Message); return true;
    case WM_SETCURSOR: WMSetCursor(Message); return true;
    case WM_NCHITTEST:
      inherited::Dispatch(Message);
      FHitTestPoint = TPoint{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
      return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse in the middle of a sizing (the button's release
      // gives the capture back to no window before the mouse-up handler runs).
      if ((IsSizingState(FState) || FState == tsBandDragging || FState == tsColumnDragging) &&
          Message.LParam != 0 &&
          reinterpret_cast<HWND>(Message.LParam) != Handle())
        CancelMode();
      inherited::Dispatch(Message);
      return true;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      CancelMode();
      inherited::Dispatch(Message);
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      FocusChanged(Message.Msg == WM_SETFOCUS, reinterpret_cast<HWND>(Message.WParam));
      return true;
    case CM_MOUSEENTER: {
      inherited::Dispatch(Message);
      TPoint P{0, 0};
      GetCursorPos(&P);
      if (HandleAllocated()) ::ScreenToClient(Handle(), &P);
      UpdateHotTrack(GetHitInfo(P));
      return true;
    }
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      UpdateHotTrack(TdxTreeListHitInfo{});
      return true;
    case CM_CURSORCHANGED:
      inherited::Dispatch(Message);
      if (!FHotCursorAssigning) FHotCursor = Cursor();
      return true;
    case WM_DESTROY:
      for (UINT_PTR Id : {SelectionScrollTimerId, ClickEditTimerId})
        if (HandleAllocated() && SharedTimerRunning(Handle(), Id)) StopSharedTimer(Id);
      return false;
    default: return false;
  }
}

// ---------------------------------------------------------------------------------
// The column layer's hooks

bool TCustomdxTreeListControl::IsHotHeaderAt(int X, int Y, Byte& Kind, int Column) {
  const bool Result = inherited::IsHotHeaderAt(X, Y, Kind, Column);
  return Result && FindColumn(Column) != nullptr;
}

void TCustomdxTreeListControl::PressedLookChanged() {
  TdxTreeListPressedState Pressed;
  if (PressedLook()) {
    switch (State()) {
      case tsBandDown: Pressed.Band = GetAbsoluteBandIndex(PressedBand()); break;
      case tsColumnDown: Pressed.Header = PressedColumn(); break;
      case tsBandButtonDown: Pressed.BandCorner = true; break;
      case tsHeaderButtonDown: Pressed.HeaderCorner = true; break;
      default: break;
    }
  }
  SetPressedState(Pressed);
}

bool TCustomdxTreeListControl::CanBandDrag(int VisibleBand) { return CanBandDragging(VisibleBand); }

bool TCustomdxTreeListControl::CanColumnDrag(int Column) { return CanColumnDragging(Column); }

void TCustomdxTreeListControl::DoBandClick(int VisibleBand) {
  const int Band = GetAbsoluteBandIndex(VisibleBand);
  if (Band >= 0) BandClick(Band);
}

void TCustomdxTreeListControl::DoColumnClick(int Column, bool AddToSort, bool Ctrl) {
  if (FindColumn(Column)) ColumnClick(Column, AddToSort, Ctrl);
}
