// The tree list's edit style and the mask column.
#include "treelist/dxTL_MaskColumn.h"

#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"

TCLASS_IMPL(TdxTreeListEditStyle)
TCLASS_IMPL(TdxInplaceTreeListMaskEdit)
TCLASS_IMPL(TdxTreeListMaskColumn)

TdxEditButtonViewStyle TreeListButtonStyle(TdxLookAndFeel Look) {
  switch (Look) {
    case lfFlat:
      return btsFlat;
    case lfUltraFlat:
      return btsHotFlat;
    default:
      return bts3D;
  }
}

TdxEditBorderStyle TdxTreeListEditStyle::GetDefaultBorderStyle() {
  return FTreeList && FTreeList->ShowGrid() ? xbsNone : xbsSingle;
}

TdxEditButtonViewStyle TdxTreeListEditStyle::GetDefaultButtonStyle() {
  return TreeListButtonStyle(FTreeList ? FTreeList->LookAndFeel() : lfStandard);
}

TdxEditStyle* TCustomdxTreeListControl::CreateEditStyle(TdxInplaceEdit* Edit) {
  return NewObject<TdxTreeListEditStyle>(Edit, this);
}

// ---------------------------------------------------------------------------------
// TdxTreeListMaskColumn

void TdxTreeListMaskColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListMaskColumn>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  TCustomdxTreeListControl* Tree = TreeList();
  if (Tree) Tree->BeginUpdate();
  auto Done = ScopeExit([Tree] {
    if (Tree) Tree->EndUpdate();
  });
  inherited::Assign(Source);
  SetEditMask(Other->FEditMask);
}

TdxInplaceEditClass TdxTreeListMaskColumn::GetEditorClass() {
  return &TdxInplaceTreeListMaskEdit::StaticClass();
}

void TdxTreeListMaskColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  if (auto* Mask = ObjectAs<TdxInplaceMaskEdit>(Editor)) {
    Mask->SetEditMask(FEditMask);
    Mask->SetIgnoreMaskBlank(FIgnoreMaskBlank);
  }
}

void TdxTreeListMaskColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FEditMask.clear();
}

void RegisterTreeListColumnClasses() {
  RegisterClass(&TdxTreeListColumn::StaticClass());
  RegisterClass(&TdxTreeListMaskColumn::StaticClass());
  RegisterTreeListColumnPublished();
  TPublish<TdxTreeListMaskColumn> P;
  P.Prop("EditMask", &TdxTreeListMaskColumn::EditMask, &TdxTreeListMaskColumn::SetEditMask)
      .NoDefault();
  P.Prop("IgnoreMaskBlank", &TdxTreeListMaskColumn::IgnoreMaskBlank,
         &TdxTreeListMaskColumn::SetIgnoreMaskBlank)
      .NoDefault();
}

void UnRegisterTreeListColumnClasses() {
  UnRegisterPublished(&TdxTreeListMaskColumn::StaticClass());
  UnRegisterPublished(&TdxTreeListColumn::StaticClass());
  UnRegisterClass(&TdxTreeListMaskColumn::StaticClass());
  UnRegisterClass(&TdxTreeListColumn::StaticClass());
}
