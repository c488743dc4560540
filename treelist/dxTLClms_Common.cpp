// What the column kinds share.
#include "treelist/dxTLClms_Common.h"

#include "treelist/dxTL.h"

AnsiString StoredCellText(TdxTreeListColumn* Column, const TdxTreeListCellInfo& CellInfo) {
  return CellInfo.Node ? CellInfo.Node->Strings(Column->Index()) : CellInfo.Text;
}

bool PaintedCellShowsButton(TdxTreeListColumn* Column, TdxShowButtonStyle Style,
                            TdxTreeListNode* Node) {
  if (Style == TdxShowButtonStyle::sbNone) return false;
  TCustomdxTreeListControl* Tree = Column->TreeList();
  if (!Tree || !Tree->OptionsEx().Contains(aoShowButtonAlways)) return false;
  if (Style == TdxShowButtonStyle::sbAlways) return true;
  return Node && Node == Tree->FocusedNode();
}

bool EditorShowsButton(TdxTreeListColumn* Column, TdxShowButtonStyle Style, bool Default) {
  if (Column->DisableEditor() || Style == TdxShowButtonStyle::sbNone) return false;
  if (Style == TdxShowButtonStyle::sbAlways) return true;
  return Default;
}
