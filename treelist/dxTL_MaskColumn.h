// What ties the tree list to its in-place editors: the edit style whose unset values
// the tree list answers (so that editors look like the grid around them), and the
// column whose cells are edited with a mask.
#pragma once

#include "editors/dxCntner.h"
#include "editors/dxCntner_Style.h"
#include "editors/dxMaskEdit.h"
#include "treelist/dxTL_Columns.h"

class TCustomdxTreeList;

// Every value the style does not hold itself comes from the tree list: no border of
// its own over a grid, buttons by the look, all edges, no hot tracking or shadow.
class TdxTreeListEditStyle : public TdxEditStyle {
  TCLASS_DECL(TdxTreeListEditStyle, TdxEditStyle)
 public:
  TdxTreeListEditStyle(TdxInplaceEdit* AEdit, TCustomdxTreeList* ATreeList)
      : TdxEditStyle(AEdit), FTreeList(ATreeList) {}

  TCustomdxTreeList* TreeList() const { return FTreeList; }

 protected:
  TColor GetDefaultBorderColor() override { return clWindowFrame; }
  TdxEditBorderStyle GetDefaultBorderStyle() override;
  TdxEditButtonViewStyle GetDefaultButtonStyle() override;
  TdxEditButtonTransparence GetDefaultButtonTransparence() override { return ebtNone; }
  TdxEditEdges GetDefaultEdges() override { return dxAllEdges; }
  bool GetDefaultHotTrack() override { return false; }
  bool GetDefaultShadow() override { return false; }

 private:
  TCustomdxTreeList* FTreeList;
};

// The button style of the tree list's editors and painted cells for a look.
TdxEditButtonViewStyle TreeListButtonStyle(TdxLookAndFeel Look);

// The mask editor of mask columns.
class TdxInplaceTreeListMaskEdit : public TdxInplaceMaskEdit {
  TCLASS_DECL(TdxInplaceTreeListMaskEdit, TdxInplaceMaskEdit)
 public:
  explicit TdxInplaceTreeListMaskEdit(TComponent* AOwner) : TdxInplaceMaskEdit(AOwner) {}
};

class TdxTreeListMaskColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListMaskColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListMaskColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {}

  // From another mask column: the column's values and EditMask, not IgnoreMaskBlank.
  void Assign(TPersistent* Source) override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void RestoreDefaults() override;

  const AnsiString& EditMask() const { return FEditMask; }
  void SetEditMask(const AnsiString& Value) { FEditMask = Value; }
  bool IgnoreMaskBlank() const { return FIgnoreMaskBlank; }
  void SetIgnoreMaskBlank(bool Value) { FIgnoreMaskBlank = Value; }

 private:
  AnsiString FEditMask;
  bool FIgnoreMaskBlank = false;
};

// Registers both column classes and their published properties for form files.
void RegisterTreeListColumnClasses();
void UnRegisterTreeListColumnClasses();
