// What the column kinds share: storing a changed setting, the text a painted cell
// holds, and the rules for when a cell's edit button shows (the drop-down and spin
// kinds follow the same ones).
#pragma once

#include "treelist/dxTLClms_DropDown.h"

// Stores Value in Field; true when it changed (the setter then notifies the column).
template <class T>
bool StoreChanged(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

// The text stored in Column's cell of the painted node (the cell's display text
// without one): the kinds that paint a state or a picture read it, not the text
// formatted for display.
AnsiString StoredCellText(TdxTreeListColumn* Column, const TdxTreeListCellInfo& CellInfo);

// A painted cell of Column: never for sbNone or while the tree list does not show
// buttons always; always for sbAlways; for sbDefault only on the focused node.
bool PaintedCellShowsButton(TdxTreeListColumn* Column, TdxShowButtonStyle Style,
                            TdxTreeListNode* Node);
// The editor of Column: never with the editor disabled or for sbNone; always for
// sbAlways; otherwise the tree list's Default.
bool EditorShowsButton(TdxTreeListColumn* Column, TdxShowButtonStyle Style, bool Default);
