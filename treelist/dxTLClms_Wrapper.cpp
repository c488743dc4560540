// The wrapper column.
#include "treelist/dxTLClms_Wrapper.h"

#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

TCLASS_IMPL(TdxTreeListWrapperColumn)

namespace {

// Pins the reference column to the wrapper's index for one call, and lets go however
// the call ends.
template <class TCall>
void AsWrapperCell(TdxTreeListColumn* Reference, int Index, TCall Call) {
  const int Saved = Reference->FixedIndex();
  Reference->SetFixedIndex(Index);
  auto Release = ScopeExit([Reference, Saved] { Reference->SetFixedIndex(Saved); });
  Call();
}

}  // namespace

void TdxTreeListWrapperColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListWrapperColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (Other) OnGetReferenceColumn = Other->OnGetReferenceColumn;
}

TdxTreeListColumn* TdxTreeListWrapperColumn::GetReferenceColumn(TdxTreeListNode* Node) {
  if (!Node && TreeList()) Node = TreeList()->FocusedNode();
  if (!Node || !OnGetReferenceColumn.Assigned()) return nullptr;
  TdxTreeListColumn* Column = nullptr;
  OnGetReferenceColumn(this, Node, Column);
  // A wrapper answering a wrapper would ask again without end.
  if (Column && Column->Is<TdxTreeListWrapperColumn>()) return nullptr;
  return Column;
}

TdxInplaceEditClass TdxTreeListWrapperColumn::GetEditorClass() {
  if (TdxTreeListColumn* Reference = CurrentReference()) return Reference->GetEditorClass();
  return inherited::GetEditorClass();
}

TdxEditViewData* TdxTreeListWrapperColumn::GetViewData() {
  if (TdxTreeListColumn* Reference = CurrentReference()) return Reference->GetViewData();
  return inherited::GetViewData();
}

void TdxTreeListWrapperColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  if (TdxTreeListColumn* Reference = CurrentReference())
    Reference->AssignEditorSettings(Editor);
  else
    inherited::AssignEditorSettings(Editor);
}

bool TdxTreeListWrapperColumn::CanShowEditorOnClick(int X, int Y, bool WasFocused) {
  if (TdxTreeListColumn* Reference = CurrentReference())
    return Reference->CanShowEditorOnClick(X, Y, WasFocused);
  return inherited::CanShowEditorOnClick(X, Y, WasFocused);
}

bool TdxTreeListWrapperColumn::IsShowButton(bool Default) {
  if (TdxTreeListColumn* Reference = CurrentReference()) return Reference->IsShowButton(Default);
  return inherited::IsShowButton(Default);
}

void TdxTreeListWrapperColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                      TdxInplaceEdit* Editor, Variant& Value) {
  TdxTreeListColumn* Reference = GetReferenceColumn(Node);
  if (!Reference) {
    inherited::SetNodeValueFromEditor(Node, Editor, Value);
    return;
  }
  AsWrapperCell(Reference, Index(),
                [&] { Reference->SetNodeValueFromEditor(Node, Editor, Value); });
}

void TdxTreeListWrapperColumn::AssignNodeToEditor(TdxTreeListNode* Node,
                                                  TdxInplaceEdit* Editor, Variant& Value) {
  TdxTreeListColumn* Reference = GetReferenceColumn(Node);
  if (!Reference) {
    inherited::AssignNodeToEditor(Node, Editor, Value);
    return;
  }
  AsWrapperCell(Reference, Index(), [&] { Reference->AssignNodeToEditor(Node, Editor, Value); });
}

TCursor TdxTreeListWrapperColumn::GetCellCursor(TdxTreeListNode* Node) {
  TdxTreeListColumn* Reference = GetReferenceColumn(Node);
  if (!Reference) return inherited::GetCellCursor(Node);
  TCursor Result = crDefault;
  AsWrapperCell(Reference, Index(), [&] { Result = Reference->GetCellCursor(Node); });
  return Result;
}

void TdxTreeListWrapperColumn::FillViewData(TdxEditViewData* ViewData,
                                            const TdxTreeListCellInfo& CellInfo) {
  TdxTreeListColumn* Reference = GetReferenceColumn(CellInfo.Node);
  if (!Reference) {
    inherited::FillViewData(ViewData, CellInfo);
    return;
  }
  AsWrapperCell(Reference, Index(), [&] { Reference->FillViewData(ViewData, CellInfo); });
}
