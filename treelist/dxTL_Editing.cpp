// The tree list's in-place editing: one editor at a time bound to the focused cell,
// found or made for the focused column's editor class, set up from the column, shown
// over the cell and hidden again; its value stored into the node; what opens and what
// ends an edit; the editor following its cell when the layout moves it.
//
// EndEdit is the one way the rest of the control ends a running edit. Storing
// validates first: a refused value raises out of the caller (the window procedure
// shows it) and the edit goes on with the focus in the editor.
#include <windows.h>

#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxCntner_Popup.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"

namespace {

bool IsShown(const TdxInplaceEdit* Editor) { return Editor && Editor->Shown(); }

bool IsWindowOf(TdxInplaceEdit* Editor, HWND Window) {
  return Editor && Window && Editor->HandleAllocated() && Editor->Handle() == Window;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Opening

void TCustomdxTreeList::ShowEditor() {
  if (!IsEditing() || IsRowSelect() || !FFocusedNode) return;
  bool Allow = true;
  DoEditing(FFocusedNode, Allow);
  if (!Allow) {
    // A running edit keeps its editor; otherwise none stays bound.
    if (FState != tsEditing) FInplaceEditor = nullptr;
    return;
  }
  if (FState != tsNormal || GetVisibleColumnCount() == 0) return;
  MakeColumnVisible(GetAbsoluteColumnIndex(FocusedColumn()));
  if (!FFocusedNode) return;
  FFocusedNode->MakeVisible();
  if (FSearching) EndSearch();
  FState = tsEditing;
  ShowEditing(true);
}

void TCustomdxTreeList::ShowEditing(bool AllowAfterShow) {
  if (!CanShowEditor()) return;
  const int Column = FocusedColumn();
  TdxInplaceEdit* Editor = FindEditor(Column);
  // An editor of another class still over a cell stores its value and goes first.
  if (FInplaceEditor && FInplaceEditor != Editor &&
      (IsShown(FInplaceEditor) || FEditNode)) {
    HideEditor(false);
    FState = tsEditing;
  }
  FInplaceEditor = Editor;
  bool SetUp = true;
  if (!Editor) {
    Editor = FInplaceEditor = CreateEditor(Column);
  } else if (FEditColumn == Column && FEditNode == FFocusedNode) {
    // The bound cell: the editor keeps what the user typed.
    SetUp = false;
  } else {
    HideEditor(false);
    FState = tsEditing;
  }
  if (SetUp) {
    SetEditCell(FFocusedNode, Column);
    FEditSetupColumn = Column;
    FEditAbsoluteColumn = GetAbsoluteColumnIndex(Column);
    Editor->SetParent(this);
    if (FEditNode) {
      // Loading the value fires no change or validation of the column.
      SetContainerFlag();
      auto Clear = ScopeExit([this] { ClearContainerFlag(); });
      SetupEditor(Editor);
      Variant Value;
      LoadEditorValue(FEditNode, Editor, Value);
      Editor->SetModified(false);
      if (IsEditReadOnly()) Editor->SetReadOnly(true);
      Editor->SetEditActive(true);
    }
  }
  TRect R;
  GetEditRect(FFocusedNode, Column, R);
  if (!CanShowEditor()) {
    SetEditCell(nullptr, -1);
    return;
  }
  if (!AllowAfterShow) Editor->BeginShowLock();
  auto Unlock = ScopeExit([&] {
    if (!AllowAfterShow) Editor->EndShowLock();
  });
  Editor->ShowAt(R);
}

bool TCustomdxTreeList::CanShowEditor() {
  return FState == tsEditing && !ComponentState().Contains(csDesigning) &&
         FUpdateCount == 0 && HandleAllocated();
}

TdxInplaceEdit* TCustomdxTreeList::CreateEditor(int /*ColumnIndex*/) {
  return NewObject<TdxInplaceTreeListTextEdit>(this);
}

void TCustomdxTreeList::SetupEditor(TdxInplaceEdit* Editor) {
  Editor->RevertOnInvalid = false;
  // The nearest solid colour: an editor never shows a dithered one.
  TScreenDC Screen;
  Editor->SetColor(
      static_cast<TColor>(GetNearestColor(Screen.DC(), ColorToRGB(GetEditColor()))));
  Editor->Font()->Assign(GetEditFont());
  Editor->SetOffsets(TRect{1, 0, 0, 0});
}

void TCustomdxTreeList::LoadEditorValue(TdxTreeListNode* /*Node*/,
                                        TdxInplaceEdit* /*Editor*/, Variant& Value) {
  Value = Variant();
}

void TCustomdxTreeList::ShowEditorChar(char Key) {
  ShowEditor();
  if (FState != tsEditing || !FInplaceEditor || !FInplaceEditor->HandleAllocated()) return;
  const auto Code = static_cast<unsigned char>(Key);
  const UINT Msg = Code == 22 ? WM_PASTE : Code == 24 ? WM_CUT : WM_CHAR;
  PostMessageA(FInplaceEditor->Handle(), Msg, Msg == WM_CHAR ? Code : 0, 0);
}

bool TCustomdxTreeList::ShowEditorWithKey(char Key) {
  ShowEditorChar(Key);
  return FState == tsEditing && IsShown(FInplaceEditor);
}

void TCustomdxTreeList::ShowEditorMouse(int X, int Y) {
  ShowEditor();
  if (FState == tsEditing && FInplaceEditor) FInplaceEditor->HostMouseMove(X, Y);
}

void TCustomdxTreeList::ShowEditorMouseUp() {
  ShowEditor();
  if (FState == tsEditing && FInplaceEditor) FInplaceEditor->HostMouseUp();
}

bool TCustomdxTreeList::EditorShown() { return IsShown(FInplaceEditor); }

bool TCustomdxTreeList::CanShowEditorOnClick(int /*X*/, int /*Y*/, int /*ColumnIndex*/,
                                             bool /*WasFocused*/) {
  return ShowButtonAlways();
}

void TCustomdxTreeList::RefreshEditor() {
  SetEditCell(nullptr, -1);
  ShowEditing(false);
}

// ---------------------------------------------------------------------------------
// Ending

void TCustomdxTreeList::HideEditor(bool Refocus) {
  // What a store sets off (an update, a scroll to the node) ends nothing twice.
  if (!FInplaceEditor || FHidingEditor) return;
  TFlagScope Hiding(FHidingEditor);
  TdxInplaceEdit* Editor = FInplaceEditor;
  Editor->RevertOnInvalid = true;
  if (!Editor->ComponentState().Contains(csDestroying)) PostEditor();
  SetEditCell(nullptr, -1);
  const bool HadFocus = Editor->HandleAllocated() && GetFocus() == Editor->Handle();
  Editor->Hide();
  if ((Refocus || HadFocus) && HandleAllocated() && IsWindowVisible(Handle()) &&
      !Destroying())
    ::SetFocus(Handle());
}

void TCustomdxTreeList::PostEditor() {
  if (FEditColumn == -1 || !FEditNode || !FInplaceEditor) return;
  TdxTreeListNode* Node = FEditNode;
  const int Column = FEditColumn;
  // The cell is forgotten while its value is stored, so that what the store sets off
  // stores nothing again; an edit that goes on afterwards is bound to it again.
  SetEditCell(nullptr, -1);
  if (FInplaceEditor->GetModified()) {
    Variant Value;
    StoreEditorValue(Node, Column, FInplaceEditor, Value);
  }
  if (!FHidingEditor && FState == tsEditing && IsShown(FInplaceEditor) && !FEditNode)
    SetEditCell(Node, Column);
  DoEdited(Node);
}

void TCustomdxTreeList::EndEditing() {
  if (FState != tsEditing) return;
  if (!Destroying() && FInplaceEditor) FInplaceEditor->Validate();
  FState = tsNormal;
  HideEditor(true);
}

void TCustomdxTreeList::EndEdit(bool StoreValue) {
  if (FState != tsEditing && !IsShown(FInplaceEditor) && !FEditNode) return;
  if (!StoreValue)
    SetEditCell(nullptr, -1);
  else if (FState == tsEditing && !Destroying() && FInplaceEditor)
    FInplaceEditor->Validate();
  if (FState == tsEditing) FState = tsNormal;
  HideEditor(false);
}

void TCustomdxTreeList::EditorEscape() {
  if (IsShown(FInplaceEditor)) FInplaceEditor->RevertToSaved();
  EndEdit(true);
}

void TCustomdxTreeList::DoExit() {
  inherited::DoExit();
  if (Destroying()) return;
  // A refused value keeps the focus on the control (the form puts it back there):
  // it goes on to the editor when it arrives.
  auto Refused = ScopeExit([this] { FRefocusEditor = true; });
  EndEdit(true);
  Refused.Dismiss();
}

void TCustomdxTreeList::StoreEditorValue(TdxTreeListNode* /*Node*/, int /*ColumnIndex*/,
                                         TdxInplaceEdit* /*Editor*/, Variant& Value) {
  Value = Variant();
}

AnsiString TCustomdxTreeList::GetEditingText() {
  AnsiString Text;
  if (FState == tsEditing && FInplaceEditor) FInplaceEditor->GetEditText(Text);
  return Text;
}

void TCustomdxTreeList::SetEditingText(const AnsiString& Text) {
  if (FState == tsEditing && FInplaceEditor) FInplaceEditor->SetTextIfModifiable(Text);
}

// ---------------------------------------------------------------------------------
// The container's questions

Byte TCustomdxTreeList::GetPopupBorderStyle(Byte /*EditBorderStyle*/) {
  return LookAndFeel() == lfStandard ? pbFrame3D : pbSingle;
}

bool TCustomdxTreeList::ImmediateEditor(int Column) {
  bool Immediate = FOptions.Contains(aoImmediateEditor);
  if (Column >= 0 && OnImmediateEditorQuery.Assigned())
    OnImmediateEditorQuery(this, Column, Immediate);
  return Immediate;
}

void TCustomdxTreeList::MoveEditColumn(bool Backward) {
  EndEditing();
  const int Column = FocusedColumn() + (Backward ? -1 : 1);
  if (Column >= 0 && Column < GetVisibleColumnCount()) SetFocusedColumn(Column);
}

// ---------------------------------------------------------------------------------
// Messages, focus, presses and layouts

bool TCustomdxTreeList::DispatchEditMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      inherited::Dispatch(Message);
      // The editor turns a quick second click into a double click.
      if (FInplaceEditor) FInplaceEditor->ClickTime = static_cast<DWORD>(GetMessageTime());
      return true;
    case CM_CANCELMODE:
      // The editor closes what it has open; the mouse's handling follows.
      if (FInplaceEditor && Message.LParam != reinterpret_cast<LPARAM>(FInplaceEditor))
        FInplaceEditor->Perform(CM_CANCELMODE, Message.WParam, Message.LParam);
      return false;
    default:
      return false;
  }
}

void TCustomdxTreeList::EditorFocusArrived(bool FromEditor) {
  const bool Refocus = FRefocusEditor;
  FRefocusEditor = false;
  if (!FromEditor) {
    ShowEditing(false);
    return;
  }
  if (Refocus && FState == tsEditing && !FHidingEditor && IsShown(FInplaceEditor) &&
      FInplaceEditor->HandleAllocated())
    ::SetFocus(FInplaceEditor->Handle());
}

bool TCustomdxTreeList::EndEditForPress() {
  if (FState != tsEditing) return true;
  if (FInplaceEditor && FInplaceEditor->HostPressLock) return false;
  if (!(FInplaceEditor && FInplaceEditor->KeepsEditOnHostPress())) EndEdit(true);
  return true;
}

void TCustomdxTreeList::KeepEditorOnCell() {
  if (!IsShown(FInplaceEditor) || !FEditNode || FEditColumn < 0 || FHidingEditor) return;
  if (GetAbsoluteColumnIndex(FEditColumn) != FEditAbsoluteColumn) {
    // The columns moved under the edit: it follows its column to its new place.
    const int Moved = FindVisibleColumn(FEditAbsoluteColumn);
    if (Moved < 0) {
      // Its column is no longer shown: there is no cell left to store into.
      EndEdit(false);
      return;
    }
    if (FFocusedColumn == FEditColumn) FFocusedColumn = Moved;
    FEditColumn = FEditSetupColumn = Moved;
  }
  TRect R;
  GetEditRect(FEditNode, FEditColumn, R);
  if (R.top == -1 || IsRectEmpty(&R)) {
    // The cell left the screen: the edit ends with its value stored.
    EndEdit(true);
    return;
  }
  FInplaceEditor->SetBounds(R.left - 2, R.top - 2, R.right - R.left + 4,
                            R.bottom - R.top + 4);
}

void TCustomdxTreeList::FocusChanged(bool Gained, HWND Other) {
  const bool FromEditor = IsWindowOf(FInplaceEditor, Other);
  // The cell editor taking the focus goes on with the edit.
  if (!Gained && FromEditor) return;
  if (Gained && !FFocusedNode) FFocusedNode = FTopVisibleNode;
  if (!(Gained && FromEditor)) NodeChanged(FFocusedNode, false);
  if (Gained) {
    EditorFocusArrived(FromEditor);
  } else {
    if (FState == tsSelecting) FState = tsNormal;
    EndEdit(true);
  }
  if (IsMultiSelect() && SelectedCount() > 0) InvalidateSelection();
}

// ---------------------------------------------------------------------------------
// The column layer

TdxInplaceEdit* TCustomdxTreeListControl::FindEditor(int ColumnIndex) {
  TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(ColumnIndex));
  if (!C) return nullptr;
  TdxInplaceEditClass Class = C->GetEditorClass();
  for (TdxInplaceEdit* Editor : FEditors)
    if (Editor->ClassType() == Class) return Editor;
  return nullptr;
}

TdxInplaceEdit* TCustomdxTreeListControl::CreateEditor(int ColumnIndex) {
  const int Column = GetAbsoluteColumnIndex(ColumnIndex);
  if (!FindColumn(Column)) return inherited::CreateEditor(ColumnIndex);
  return GetColumnEditor(Column);
}

void TCustomdxTreeListControl::SetupEditor(TdxInplaceEdit* Editor) {
  inherited::SetupEditor(Editor);
  if (TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(FocusedColumn())))
    C->AssignEditorSettings(Editor);
}

void TCustomdxTreeListControl::LoadEditorValue(TdxTreeListNode* Node,
                                               TdxInplaceEdit* Editor, Variant& Value) {
  if (FindColumn(GetAbsoluteColumnIndex(FocusedColumn())))
    AssignNodeToEditor(Node, Editor, Value);
  else
    inherited::LoadEditorValue(Node, Editor, Value);
}

bool TCustomdxTreeListControl::CanShowEditorOnClick(int X, int Y, int ColumnIndex,
                                                    bool WasFocused) {
  if (!inherited::CanShowEditorOnClick(X, Y, ColumnIndex, WasFocused) || ColumnIndex == -1)
    return false;
  TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(ColumnIndex));
  return C && C->CanShowEditorOnClick(X, Y, WasFocused);
}

bool TCustomdxTreeListControl::CanEditModify() {
  TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(FocusedColumn()));
  return C && !C->ReadOnly();
}

TColor TCustomdxTreeListControl::GetEditColor() {
  // The focused column's colour in place of the control's, then the event.
  const int Column = GetAbsoluteColumnIndex(FocusedColumn());
  TColor Result = FindColumn(Column) ? GetColumnColor(Column) : Color();
  if (OnGetEditColor.Assigned()) OnGetEditColor(this, Result);
  return Result;
}

TFont* TCustomdxTreeListControl::GetEditFont() {
  const int Column = GetAbsoluteColumnIndex(FocusedColumn());
  if (FindColumn(Column) && IsColumnFontAssigned(Column)) return GetColumnFont(Column);
  return inherited::GetEditFont();
}

// ---------------------------------------------------------------------------------
// Storing

void TdxTreeList::StoreEditorValue(TdxTreeListNode* Node, int ColumnIndex,
                                   TdxInplaceEdit* Editor, Variant& Value) {
  TdxTreeListColumn* C = FindColumn(GetAbsoluteColumnIndex(ColumnIndex));
  if (!C) {
    Value = Variant();
    return;
  }
  C->SetNodeValueFromEditor(Node, Editor, Value);
  // The text just stored goes through the node's setter again, so that the automatic
  // re-sort sees the change; what the column shows for it may differ from it.
  const int Index = C->Index();
  Node->SetStrings(Index, Node->Strings(Index));
  if (IsRowAutoHeight() || (IsShowPreview() && IsAutoCalcPreviewLines())) {
    // The rows are measured again for the new text.
    TUpdateScope Updating(this);
  }
  if (IsAutoSortRefresh() && !Destroying() && UpdateCount() == 0) {
    ResortNodes();
    Node->MakeVisible();
  }
}
