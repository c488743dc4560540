// The tree list's keyboard: the key-down steps (editor keys, search keys, the plain
// and the Ctrl keys), the page move, the moves through the columns of a band with
// several column rows, the key press (auto search, editor keys, copy, expanding) and
// the navigation operations for callers of the control.
#include <algorithm>

#include "classlib/Controls.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

namespace {

bool Held(int VirtKey) { return GetKeyStateProc(VirtKey) < 0; }

bool IsNavigationKey(Word Key) {
  return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
         Key == VK_DOWN;
}

// The keys that move the focused cell, alone or with Ctrl or Shift.
bool IsMoveKey(Word Key) { return IsNavigationKey(Key) || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_TAB; }

}  // namespace

// ---------------------------------------------------------------------------------
// Key down

void TCustomdxTreeList::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (!CanProcessKeys()) {
    Key = 0;
    return;
  }
  switch (FState) {
    case tsColumnSizing:
    case tsColumnDragging:
    case tsBandSizing:
    case tsBandDragging:
    case tsBandPanelSizing:
    case tsHeaderPanelSizing:
    case tsRowSizing:
      if (Key == VK_ESCAPE) CancelMode();
      return;
    default: break;
  }
  if (FNodes.Count() == 0) return;
  // OnSelectedCountChange fires at most once a key.
  BeginSelectionUpdate();
  auto CloseSelection = AtScopeEnd([this] { EndSelectionUpdate(); });

  if (EditorShown() && (Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                        Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN)) {
    // Escape drops what was typed, wherever it was pressed.
    if (Key == VK_ESCAPE) {
      EditorEscape();
      return;
    }
    EndEdit(true);
  }

  const bool Ctrl = Shift.Contains(ssCtrl);
  const bool ShiftDown = Shift.Contains(ssShift);
  if (FSearching) {
    const bool EnterStep = Key == VK_RETURN && (ShiftDown || Ctrl);
    if (Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE || EnterStep) {
      if (Key == VK_ESCAPE) {
        EndSearch();
        return;
      }
      AnsiString Text = FSearchText;
      int Mode = 0;
      if (Key == VK_BACK) {
        if (!Text.empty()) Text.pop_back();
      } else if (Key == VK_DELETE) {
        Text.clear();
      } else {
        Mode = Ctrl ? 2 : 1;
      }
      SearchNext(Text, Mode, false);
      return;
    }
  }

  if (!Ctrl || (ShiftDown && IsNavigationKey(Key)))
    PlainKey(Key, Shift);
  else
    CtrlKey(Key, Shift);
  // A move with nowhere to go (Up on the first row, Right on the last column) still
  // shows the focused cell, as a move would, after the wheel or a bar scrolled it away.
  if (IsMoveKey(Key) && !Shift.Contains(ssAlt)) MakeFocusedCellVisible();
}

void TCustomdxTreeList::MakeFocusedCellVisible() {
  if (!FFocusedNode) return;
  if (!FOptions.Contains(aoRowSelect)) MakeColumnVisible(GetAbsoluteColumnIndex(FocusedColumn()));
  FFocusedNode->MakeVisible();
}

void TCustomdxTreeList::PlainKey(Word Key, TShiftState Shift) {
  const bool RowSelect = IsRowSelect();
  const bool ShiftDown = Shift.Contains(ssShift);
  const int ColumnCount = GetVisibleColumnCount();
  const int Column = FocusedColumn();
  const int Row = GetFocusedRowIndex();
  const int LastRow = GetVisibleNodeCount() - 1;
  switch (Key) {
    case VK_HOME:
    case VK_END:
      if (!RowSelect && !ShiftDown) {
        SetFocusedColumn(Key == VK_HOME ? 0 : ColumnCount - 1);
        break;
      }
      RangeMove(Key == VK_HOME ? 0 : LastRow, ShiftDown);
      break;
    case VK_PRIOR:
    case VK_NEXT:
      RangeMove(PageMoveTarget(Key == VK_NEXT ? 1 : -1), ShiftDown);
      break;
    case VK_TAB: {
      if (Shift.Contains(ssAlt)) return;
      const int Dir = ShiftDown ? -1 : 1;
      if (RowSelect) {
        ClearSelection();
        SetFocusedRowIndex(Row + Dir);
        break;
      }
      int Next = -1;
      if (NextTabColumn(Column, Dir, Next)) {
        SetFocusedColumn(Next);
      } else if (IsTabThrough() && Row + Dir >= 0 && Row + Dir <= LastRow &&
                 NextTabColumn(Dir > 0 ? -1 : ColumnCount, Dir, Next)) {
        MoveToRowColumn(Row + Dir, Next);
      }
      break;
    }
    case VK_RETURN:
      if (IsEnterThrough()) {
        int Next = -1;
        if (NextTabColumn(Column, 1, Next))
          SetFocusedColumn(Next);
        else if (Row < LastRow && NextTabColumn(-1, 1, Next))
          MoveToRowColumn(Row + 1, Next);
        ShowEditor();
      }
      break;
    case VK_ESCAPE:
      ClearSelection();
      EditorEscape();
      break;
    case VK_RIGHT:
      if (RowSelect) {
        FFocusedNode->MakeVisible();
        if (!FFocusedNode->HasChildren()) {
          ClearSelection();
          SetFocusedRowIndex(GetFocusedRowIndex() + 1);
        } else if (!FFocusedNode->Expanded()) {
          FFocusedNode->SetExpanded(true);
        } else if (TdxTreeListNode* Child = FFocusedNode->GetFirstChild()) {
          ClearSelection();
          SetFocusedNode(Child, FocusedColumn(), true);
        }
      } else if (Column < ColumnCount - 1) {
        SetFocusedColumn(Column + 1);
      } else if (IsHorzThrough() && Row < LastRow) {
        MoveToRowColumn(Row + 1, 0);
      }
      break;
    case VK_LEFT:
      if (RowSelect) {
        FFocusedNode->MakeVisible();
        TdxTreeListNode* Parent = FFocusedNode->Parent();
        if (FFocusedNode->Expanded() && FFocusedNode->HasChildren()) {
          FFocusedNode->SetExpanded(false);
        } else if (Parent && Parent->GetFirstChild() == FFocusedNode) {
          ClearSelection();
          SetFocusedNode(Parent, FocusedColumn(), true);
        } else {
          ClearSelection();
          SetFocusedRowIndex(GetFocusedRowIndex() - 1);
        }
      } else if (Column > 0) {
        SetFocusedColumn(Column - 1);
      } else if (IsHorzThrough() && Row > 0) {
        MoveToRowColumn(Row - 1, ColumnCount - 1);
      }
      break;
    case VK_UP:
    case VK_DOWN: {
      const int Dir = Key == VK_UP ? -1 : 1;
      int VertColumn = -1;
      int RowStep = 0;
      if (IsVertThrough() && !RowSelect && FindVertColumn(Dir, VertColumn, RowStep)) {
        if (RowStep == 0)
          SetFocusedColumn(VertColumn);
        else
          MoveToRowColumn(Row + RowStep, VertColumn);
        break;
      }
      RowMove(Dir, ShiftDown);
      break;
    }
    case VK_F2:
      ShowEditor();
      break;
    default:
      return;
  }
  // Where a selection list is kept, an empty one takes the focused node.
  if (IsMultiSelect() && FFocusedNode && SelectedCount() == 0) FFocusedNode->SetSelected(true);
}

void TCustomdxTreeList::CtrlKey(Word Key, TShiftState /*Shift*/) {
  if (FSearching) EndSearch();
  const int Row = GetFocusedRowIndex();
  switch (Key) {
    case VK_SPACE:
      if (IsRowSelect() || !IsEditing()) {
        FFocusedNode->SetSelected(!FFocusedNode->Selected());
        SetAnchorNode(FFocusedNode);
      }
      break;
    case VK_PRIOR: SetFocusedRowIndex(PageMoveTarget(-1)); break;
    case VK_NEXT: SetFocusedRowIndex(PageMoveTarget(1)); break;
    case VK_HOME: SetFocusedRowIndex(0); break;
    case VK_END: SetFocusedRowIndex(GetVisibleNodeCount() - 1); break;
    case VK_LEFT: SetFocusedColumn(0); break;
    case VK_RIGHT: SetFocusedColumn(GetVisibleColumnCount() - 1); break;
    case VK_UP: if (Row > 0) SetFocusedRowIndex(Row - 1); break;
    case VK_DOWN: SetFocusedRowIndex(Row + 1); break;
    case VK_INSERT: CopySelectedToClipboard(); break;
    default: break;
  }
}

int TCustomdxTreeList::PageMoveTarget(int Dir) {
  const int Row = GetFocusedRowIndex();
  const int Rows = GetVisibleNodeCount();
  if (Rows < 2) return Row;
  CalcRowsInView();
  const int Top = GetTopIndex();
  const int Full = std::max(FFullRowCount, 1);
  const int LastWhole = std::min(Top + Full - 1, Rows - 1);
  if (Row > Top && Row < LastWhole) return Dir > 0 ? LastWhole : Top;
  return std::clamp(Row + Dir * std::max(Full - 1, 1), 0, Rows - 1);
}

// Home, End, Page Up and Page Down: the selection is cleared; with Shift the range
// from the anchor (the focused node when none) to the new focused node is selected,
// only where a selection list is kept.
void TCustomdxTreeList::RangeMove(int Row, bool Extend) {
  if (!Extend)
    SetAnchorNode(nullptr);
  else if (!FSelectionAnchor)
    SetAnchorNode(FFocusedNode);
  ClearSelection();
  SetFocusedRowIndex(Row);
  if (Extend && IsMultiSelect()) SelectRange(FSelectionAnchor, FFocusedNode);
}

void TCustomdxTreeList::RowMove(int Dir, bool Extend) {
  const int Row = GetFocusedRowIndex();
  const int LastRow = GetVisibleNodeCount() - 1;
  const bool Moves = Dir < 0 ? Row > 0 : Row < LastRow;
  if (!IsMultiSelect()) {
    if (Moves) SetFocusedRowIndex(Row + Dir);
    return;
  }
  if (!Extend) {
    // The selection stays where the move cannot happen: Up on the first row with one
    // node selected, Down on the last row.
    const bool Keep = Dir < 0 ? Row == 0 && SelectedCount() == 1 : Row >= LastRow;
    if (!Keep) ClearSelection();
    SetAnchorNode(nullptr);
    SetRangeExtending(false);
    if (Moves) SetFocusedRowIndex(Row + Dir);
    return;
  }
  if (!RangeExtending()) {
    // The first move of an extension: from the anchor, or from the focused node.
    if (!FSelectionAnchor) {
      SetAnchorNode(FFocusedNode);
      FFocusedNode->SetSelected(true);
    } else {
      SelectRange(FSelectionAnchor, FFocusedNode);
    }
    SetRangeExtending(true);
    if (!Moves) return;
    SetFocusedRowIndex(Row + Dir);
    FFocusedNode->SetSelected(true);
    return;
  }
  if (!Moves) return;
  // Later moves: away from the anchor the row moved onto joins, back toward it the row
  // left goes.
  TdxTreeListNode* Left = FFocusedNode;
  const int Side = CompareWithAnchor(Left);
  SetFocusedRowIndex(Row + Dir);
  if (Side == 0 || Side == Dir)
    FFocusedNode->SetSelected(true);
  else
    Left->SetSelected(false);
}

bool TCustomdxTreeList::NextTabColumn(int From, int Dir, int& Column) {
  const int Count = GetVisibleColumnCount();
  for (int I = From + Dir; I >= 0 && I < Count; I += Dir)
    if (IsVisibleColumnTabStop(I)) {
      Column = I;
      return true;
    }
  return false;
}

void TCustomdxTreeList::MoveToRowColumn(int Row, int Column) {
  TdxTreeListNode* Node = GetNodeAtRow(std::clamp(Row, 0, std::max(GetVisibleNodeCount() - 1, 0)));
  if (!Node) return;
  if (Column < 0 || Column >= GetVisibleColumnCount()) Column = FocusedColumn();
  SetFocusedNode(Node, Column, true);
}

std::vector<TdxTreeListNode*> TCustomdxTreeList::SelectedInTreeOrder() {
  std::vector<TdxTreeListNode*> Result;
  for (int I = 0, Count = SelectedCount(); I < Count; ++I)
    if (TdxTreeListNode* Node = SelectedNodes(I)) Result.push_back(Node);
  std::sort(Result.begin(), Result.end(), [](const TdxTreeListNode* A, const TdxTreeListNode* B) {
    return CompareTreeOrder(A, B) < 0;
  });
  return Result;
}

// ---------------------------------------------------------------------------------
// Key press

void TCustomdxTreeList::KeyPress(char& Key) {
  const unsigned char Code = static_cast<unsigned char>(Key);
  // Ctrl with Alt types a character (AltGr): it counts as no Ctrl.
  const bool Ctrl = Held(VK_CONTROL) && !Held(VK_MENU);
  if (FState == tsNormal && !FSearching && IsAutoSearch() && Code != VK_BACK && Code != VK_TAB && Code != VK_RETURN &&
      Code != VK_ESCAPE && !Ctrl)
    StartSearch(-1, AnsiString());

  if (!FSearching && IsEnterShowEditor() && FState != tsEditing && !EditorShown()) {
    if (Code == VK_RETURN) {
      ShowEditor();
    } else if (Code == VK_BACK || Code == 22 || Code == 24 || Code >= 32) {
      if (ShowEditorWithKey(Key)) return;
      inherited::KeyPress(Key);
    } else {
      inherited::KeyPress(Key);
    }
  } else {
    inherited::KeyPress(Key);
  }
  if (Key == '\0') return;

  if (FState != tsEditing && !EditorShown() && FFocusedNode) {
    TdxTreeListNode* Node = FFocusedNode;
    if (Code == 3 && OptionsEx().Contains(aoAutoCopySelectedToClipboard)) {
      CopySelectedToClipboard();
    } else if (Key == '*' && Node->HasChildren()) {
      Node->Expand(true);
    } else if (Key == '+') {
      Node->MakeVisible();
      Node->SetExpanded(true);
    } else if (Key == '-') {
      Node->MakeVisible();
      Node->SetExpanded(false);
    }
  }

  if (FSearching && Code >= 32 && !Ctrl) {
    const int Focused = GetAbsoluteColumnIndex(FocusedColumn());
    if (!IsRowSelect() && Focused != FSearchColumn && Focused >= 0) {
      FSearchColumn = Focused;
      FSearchText.clear();
    }
    SearchNext(FSearchText + Key, 0, false);
  }
}

// ---------------------------------------------------------------------------------
// Navigation operations

TdxTreeListNode* TCustomdxTreeList::GetNodeByKind(TdxTreeListNode* Node, int Kind, bool Deep) {
  if (!Node) return nullptr;
  switch (Kind) {
    case 0: return GetFirstNode();
    case 1: return Node->GetPrevVisible();
    case 2: return Deep ? Node->GetNext() : Node->GetNextVisible();
    case 3: {
      TdxTreeListNode* Result = GetLastNode();
      if (Deep)
        while (Result && Result->Count() > 0) Result = Result->Items(Result->Count() - 1);
      return Result;
    }
    default: return nullptr;
  }
}

TdxTreeListNode* TCustomdxTreeList::MoveFocusByKind(int Kind, bool Deep) {
  if (!FFocusedNode) return nullptr;
  TdxTreeListNode* Node = GetNodeByKind(FFocusedNode, Kind, Deep);
  if (!Node) return nullptr;
  TdxTreeListNode* Old = FFocusedNode;
  const bool LoneSelection = IsMultiSelect() && Old->Selected() && SelectedCount() == 1;
  SetFocusedNode(Node, FocusedColumn(), true);
  if (LoneSelection) {
    ClearSelection();
    Node->SetSelected(true);
  }
  return Node;
}

bool TCustomdxTreeList::IsFirstFocused() {
  return FNodes.Count() == 0 || FFocusedNode == GetFirstNode();
}

bool TCustomdxTreeList::IsLastFocused() {
  return FNodes.Count() == 0 || FFocusedNode == GetNodeAtRow(GetVisibleNodeCount() - 1);
}

bool TCustomdxTreeList::IsFocused() {
  if (!HandleAllocated()) return false;
  HWND Focus = GetFocus();
  return Focus && (Focus == Handle() || IsChild(Handle(), Focus));
}

// ---------------------------------------------------------------------------------
// The column layer's answers

bool TCustomdxTreeListControl::IsVisibleColumnTabStop(int VisibleIndex) {
  const int Column = GetAbsoluteColumnIndex(VisibleIndex);
  return Column >= 0 && IsColumnTabStop(Column);
}

bool TCustomdxTreeListControl::FindVertColumn(int Dir, int& VisibleColumn, int& RowStep) {
  const int Column = GetAbsoluteColumnIndex(FocusedColumn());
  if (Column < 0) return false;
  const int Band = GetVisibleBandIndex(GetColumnBandIndex(Column));
  const int Rows = GetHeaderRowCount(Band);
  if (Rows < 2) return false;
  int Row = -1;
  int Col = -1;
  for (int R = 0; R < Rows && Row < 0; ++R)
    for (int C = 0, Count = GetHeaderColumnCount(Band, R); C < Count; ++C)
      if (GetHeaderAbsoluteColumnIndex(Band, R, C) == Column) {
        Row = R;
        Col = C;
        break;
      }
  if (Row < 0) return false;
  int Target = Row + Dir;
  RowStep = 0;
  if (Target < 0 || Target >= Rows) {
    const int NodeRow = GetFocusedRowIndex();
    if (Dir < 0 ? NodeRow <= 0 : NodeRow >= GetVisibleNodeCount() - 1) return false;
    RowStep = Dir;
    Target = Dir < 0 ? Rows - 1 : 0;
  }
  const int Count = GetHeaderColumnCount(Band, Target);
  if (Count <= 0) return false;
  const int Found = GetHeaderAbsoluteColumnIndex(Band, Target, std::min(Col, Count - 1));
  if (Found < 0) return false;
  VisibleColumn = GetVisibleColumnIndex(Found);
  return true;
}
