// The tree list's visible rows: a buffer with a gap at the last change (see
// dxTL_RowList.h).
#include "treelist/dxTL_RowList.h"

#include <algorithm>

#include "treelist/dxTL_Nodes.h"

int TdxTreeListRowList::RowOf(const TdxTreeListNode* Node) const {
  const int Slot = Node->FRowSlot;
  const bool Live = (Slot >= 0 && Slot < FGapStart) ||
                    (Slot >= FGapEnd && Slot < static_cast<int>(FSlots.size()));
  // A node keeps its last slot when it leaves the rows; the slot then lies in the gap
  // or holds another node.
  if (!Live || FSlots[Slot] != Node) return -1;
  return Slot < FGapStart ? Slot : Slot - (FGapEnd - FGapStart);
}

void TdxTreeListRowList::Clear() {
  FSlots.clear();
  FGapStart = FGapEnd = 0;
}

void TdxTreeListRowList::Reserve(int Count) {
  FSlots.reserve(static_cast<std::size_t>(Count) + (FGapEnd - FGapStart));
}

void TdxTreeListRowList::Append(TdxTreeListNode* Node) { Insert(Count(), &Node, 1); }

void TdxTreeListRowList::Insert(int Row, TdxTreeListNode* const* Nodes, int Count) {
  MoveGapTo(Row);
  if (FGapEnd - FGapStart < Count) {
    // The buffer at least doubles; the rows after the gap go to its end.
    const int Size = static_cast<int>(FSlots.size());
    const int NewSize = std::max({Size * 2, Size + Count, 16});
    FSlots.resize(NewSize);
    const int NewGapEnd = FGapEnd + (NewSize - Size);
    for (int Slot = NewSize - 1, From = Size - 1; From >= FGapEnd; --Slot, --From)
      Put(Slot, FSlots[From]);
    FSlotsMoved += Size - FGapEnd;
    FGapEnd = NewGapEnd;
  }
  for (int I = 0; I < Count; ++I) Put(FGapStart++, Nodes[I]);
}

void TdxTreeListRowList::Erase(int Row, int Count) {
  MoveGapTo(Row);
  FGapEnd += Count;
}

void TdxTreeListRowList::MoveGapTo(int Row) {
  if (Row < FGapStart) {
    // The rows from Row to the gap go behind it, the last first.
    const int N = FGapStart - Row;
    for (int I = 1; I <= N; ++I) Put(FGapEnd - I, FSlots[FGapStart - I]);
    FGapStart -= N;
    FGapEnd -= N;
    FSlotsMoved += N;
  } else if (Row > FGapStart) {
    // The rows after the gap up to Row come before it, the first first.
    const int N = Row - FGapStart;
    for (int I = 0; I < N; ++I) Put(FGapStart + I, FSlots[FGapEnd + I]);
    FGapStart += N;
    FGapEnd += N;
    FSlotsMoved += N;
  }
}

void TdxTreeListRowList::Put(int Slot, TdxTreeListNode* Node) {
  FSlots[Slot] = Node;
  Node->FRowSlot = Slot;
}
