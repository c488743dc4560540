#include "treenode/dcList.h"

#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------------
// TFastList

TCLASS_IMPL(TFastList)

// Passes over TList's clearing: the destructor releases the array as it is.
void TFastList::BeforeDestruction() { TObject::BeforeDestruction(); }

// ---------------------------------------------------------------------------------
// TCustomSortedList

TCLASS_IMPL(TCustomSortedList)

namespace {

// The sign of an address comparison. A difference of two addresses does not fit in 32
// bits, so subtracting them would answer with the wrong sign for far-apart addresses.
int CompareAddresses(void* A, void* B) {
  auto X = reinterpret_cast<std::uintptr_t>(A), Y = reinterpret_cast<std::uintptr_t>(B);
  return X < Y ? -1 : X > Y ? 1 : 0;
}

}  // namespace

TCustomSortedList::TCustomSortedList() : FList(NewObject<TFastList>()) {}

TCustomSortedList::~TCustomSortedList() { FreeAndNil(FList); }

int TCustomSortedList::CompareKey(void* Item, void* Key) const { return CompareAddresses(Item, Key); }

int TCustomSortedList::CompareItems(void* Item1, void* Item2) const {
  return CompareAddresses(Item1, Item2);
}

void TCustomSortedList::Delete(int Index) { FList->Delete(Index); }

bool TCustomSortedList::Search(void* Key, int& Index, TCompareProc Compare) const {
  bool Found = false;
  int L = 0, H = GetCount() - 1;
  while (L <= H) {
    int I = static_cast<int>((static_cast<unsigned>(L) + static_cast<unsigned>(H)) >> 1);
    int C = (this->*Compare)(FList->Get(I), Key);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Found = true;
        // Without dupAccept any match will do; with it, go on to the leftmost one.
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Found;
}

bool TCustomSortedList::FindKey(void* Key, int& Index) const {
  if (FSorted) return Search(Key, Index, &TCustomSortedList::CompareKey);
  Index = IndexOfKey(Key);
  return Index >= 0;
}

bool TCustomSortedList::FindItem(void* Item, int& Index) const {
  if (FSorted) return Search(Item, Index, &TCustomSortedList::CompareItems);
  Index = FList->IndexOf(Item);
  return Index >= 0;
}

int TCustomSortedList::IndexOfKey(void* Key) const {
  if (FSorted) {
    int Index;
    return FindKey(Key, Index) ? Index : -1;
  }
  for (int I = 0; I < GetCount(); ++I)
    if (CompareKey(FList->Get(I), Key) == 0) return I;
  return -1;
}

int TCustomSortedList::Remove(void* Item) {
  int Index;
  if (!FindItem(Item, Index)) return -1;
  Delete(Index);
  return Index;
}

int TCustomSortedList::Add(void* Item) {
  if (!FSorted) return FList->Add(Item);
  int Index;
  if (Search(Item, Index, &TCustomSortedList::CompareItems)) {
    switch (FDuplicates) {
      case dupIgnore:
        return Index;
      case dupError:
        throw EListError(SDuplicateItem);
      case dupAccept:
        // Search gave the leftmost equal item; the new one goes after the last.
        while (Index < GetCount() && CompareItems(FList->Get(Index), Item) == 0) ++Index;
        break;
    }
  }
  FList->Insert(Index, Item);
  return Index;
}

void TCustomSortedList::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value) {
    std::vector<void*> Items(FList->List(), FList->List() + GetCount());
    MergeSort(Items, [this](void* A, void* B) { return CompareItems(A, B); });
    for (int I = 0; I < GetCount(); ++I) FList->Put(I, Items[I]);
  }
  FSorted = Value;
}
