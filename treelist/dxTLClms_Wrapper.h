// The wrapper column: no editor of its own; each cell is edited and painted as the
// column a handler picks for its node (the reference column), reading and writing the
// wrapper's own cell. Without a handler, or with an answer that is the wrapper itself
// or another wrapper, it is a plain text column.
#pragma once

#include "treelist/dxTL_Columns.h"

using TdxTLGetReferenceColumnEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* Node, TdxTreeListColumn*& Column)>;

class TdxTreeListWrapperColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListWrapperColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListWrapperColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {}

  void Assign(TPersistent* Source) override;

  // The column a node's cell behaves as (nil Node: the focused node); nil when there
  // is no handler, no node, or the answer is a wrapper.
  virtual TdxTreeListColumn* GetReferenceColumn(TdxTreeListNode* Node);

  // For the node the column is asked about (its current node, else the focused one).
  TdxInplaceEditClass GetEditorClass() override;
  TdxEditViewData* GetViewData() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  bool CanShowEditorOnClick(int X, int Y, bool WasFocused) override;
  bool IsShowButton(bool Default) override;
  // For the node at hand; the reference column reads and writes the wrapper's cell.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  TCursor GetCellCursor(TdxTreeListNode* Node) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;

  TdxTLGetReferenceColumnEvent OnGetReferenceColumn;

 private:
  TdxTreeListColumn* CurrentReference() { return GetReferenceColumn(CurrentNode()); }
};
