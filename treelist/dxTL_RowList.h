// The tree list's visible rows in order: the node of every row and the row of every
// node in constant time, and changes that cost the rows they insert or remove.
//
// The rows lie in one buffer with a gap at the place of the last change; each node
// keeps its slot in the buffer (TdxTreeListNode::FRowSlot), which changes only when
// the gap passes over it. A change first moves the gap to its row, moving the rows in
// between, then fills the gap or widens it. A run of changes going down the list (each
// node collapsed or expanded after the one before) moves almost nothing, and nothing
// renumbers the rows behind a change. Private to the tree list; users include
// treelist/dxTL.h.
#pragma once

#include <vector>

class TdxTreeListNode;

class TdxTreeListRowList {
 public:
  int Count() const { return static_cast<int>(FSlots.size()) - (FGapEnd - FGapStart); }
  bool Empty() const { return Count() == 0; }
  // The node of Row, 0 <= Row < Count().
  TdxTreeListNode* At(int Row) const {
    return FSlots[Row < FGapStart ? Row : Row + FGapEnd - FGapStart];
  }
  // The row of Node; -1 when it is not one of the rows.
  int RowOf(const TdxTreeListNode* Node) const;

  void Clear();
  // Makes room for Count rows in all.
  void Reserve(int Count);
  // Appends Node as the last row.
  void Append(TdxTreeListNode* Node);
  // Inserts Count nodes from Nodes before Row (Count() appends).
  void Insert(int Row, TdxTreeListNode* const* Nodes, int Count);
  // Removes Count rows from Row on.
  void Erase(int Row, int Count);

  // The rows the gap's moves, and the buffer's growth behind the gap, have moved so
  // far: the work of the changes beyond the rows they insert.
  long long SlotsMoved() const { return FSlotsMoved; }

 private:
  void MoveGapTo(int Row);
  void Put(int Slot, TdxTreeListNode* Node);

  std::vector<TdxTreeListNode*> FSlots;
  int FGapStart = 0;  // slots [FGapStart, FGapEnd) hold no row
  int FGapEnd = 0;
  long long FSlotsMoved = 0;
};
