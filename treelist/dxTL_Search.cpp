// The tree list's incremental search (the search state, the step to the next match
// and the match itself, upper-cased by the user's locale) and the rows as text for
// the clipboard.
#include <memory>

#include "classlib/Clipbrd.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

bool TCustomdxTreeList::GetSearchState(int& Column, AnsiString& Text) {
  if (!FSearching) return false;
  Column = FSearchColumn;
  Text = FSearchText;
  return true;
}

bool TCustomdxTreeList::StartSearch(int Column, const AnsiString& Text) {
  EndEdit(true);
  if (Column == -1) Column = GetAbsoluteColumnIndex(FocusedColumn());
  const int Shown = FindVisibleColumn(Column);
  if (Shown >= 0) SetFocusedColumn(Shown);
  FSearching = true;
  FSearchColumn = Column;
  FSearchText = Text;
  SearchNext(Text, 0, true);
  return !Text.empty();
}

void TCustomdxTreeList::EndSearch() {
  FSearching = false;
  if (FFocusedNode) NodeChanged(FFocusedNode, false);
}

void TCustomdxTreeList::SearchNext(const AnsiString& Text, int Mode, bool FromStart) {
  TCountScope<int> Searching(FSearchCounter);
  FSearchText = Text;
  const bool ColumnValid = FindVisibleColumn(FSearchColumn) >= 0;
  TdxTreeListNode* Found = nullptr;
  if (ColumnValid && FNodes.Count() > 0 && FindNode(FSearchColumn, FSearchText, Found, Mode)) {
    SetFocusedNode(Found, FocusedColumn(), true);
  } else if (FromStart) {
    FSearchText.clear();
  } else if (Mode == 0 && !FSearchText.empty()) {
    // A character that matches no row is dropped.
    FSearchText.pop_back();
  }
  if (!FFocusedNode) return;
  if (IsMultiSelect()) {
    ClearSelection();
    FFocusedNode->SetSelected(true);
  }
  FFocusedNode->MakeVisible();
  NodeChanged(FFocusedNode, false);
}

bool TCustomdxTreeList::FindNode(int Column, const AnsiString& Text, TdxTreeListNode*& Node,
                                 int Mode) {
  Node = nullptr;
  const int Rows = GetVisibleNodeCount();
  if (Rows == 0) return false;
  // A focused node that is no visible row (its expansion was refused) starts at the
  // first row. One pass over the rows, whatever the start.
  int Start = FFocusedNode ? GetNodeRowIndex(FFocusedNode) : 0;
  if (Start < 0) Start = 0;
  const int Dir = Mode == 1 ? -1 : 1;
  const int First = Mode == 0 ? 0 : 1;
  const AnsiString Wanted = AnsiUpperCase(Text);
  for (int Step = First; Step < First + Rows; ++Step) {
    const int Row = ((Start + Dir * Step) % Rows + Rows) % Rows;
    TdxTreeListNode* Candidate = GetNodeAtRow(Row);
    if (!Candidate) continue;
    const AnsiString Cell = GetNodeString(Candidate, Column);
    if (Cell.size() < Text.size()) continue;
    if (AnsiUpperCase(Cell.substr(0, Text.size())) == Wanted) {
      Node = Candidate;
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------
// The rows as text

void TCustomdxTreeList::CollectSelectedText(TStrings* Strings) {
  Strings->Add(GetHeaderLineText());
  if (IsMultiSelect()) {
    for (TdxTreeListNode* Node : SelectedInTreeOrder()) Strings->Add(GetNodeLineText(Node));
  } else if (FFocusedNode) {
    Strings->Add(GetNodeLineText(FFocusedNode));
  }
}

void TCustomdxTreeList::CollectAllText(TStrings* Strings) {
  Strings->Add(GetHeaderLineText());
  for (int Row = 0, Rows = GetVisibleNodeCount(); Row < Rows; ++Row)
    if (TdxTreeListNode* Node = GetNodeAtRow(Row)) Strings->Add(GetNodeLineText(Node));
}

void TCustomdxTreeList::CopySelectedToClipboard() {
  TStringList Lines;
  CollectSelectedText(&Lines);
  Clipboard()->SetAsText(Lines.Text());
}
