// Pointer lists of the tree-node library: a list that releases its array without
// visiting the items, and a list kept in the order of an overridable comparison and
// searched by halving.
#pragma once

#include "classlib/Lists.h"
#include "classlib/StringLists.h"  // TDuplicates

// A pointer list whose end releases the array only: no clearing pass, so no per-item
// notification runs. Its items are never owned.
class TFastList : public TList {
  TCLASS_DECL(TFastList, TList)
 public:
  TFastList() = default;
  void BeforeDestruction() override;
};

inline constexpr const char* SDuplicateItem = "List does not allow duplicates";

// Untyped pointer items in ascending order of CompareItems while Sorted (the state a
// new list starts in), found by binary search. Descendants give the items a meaning by
// overriding the two comparisons. Items are not owned.
class TCustomSortedList : public TObject {
  TCLASS_DECL(TCustomSortedList, TObject)
 public:
  // One of the two comparisons, called as Compare(item in the list, key).
  using TCompareProc = int (TCustomSortedList::*)(void* Item, void* Key) const;

  TCustomSortedList();
  TCustomSortedList(const TCustomSortedList&) = delete;
  TCustomSortedList& operator=(const TCustomSortedList&) = delete;
  ~TCustomSortedList() override;

  // Negative when Item sorts before Key, 0 when it matches, positive after. The base
  // compares the two pointers as unsigned addresses.
  virtual int CompareKey(void* Item, void* Key) const;
  // The same for two items; the base compares them as addresses too.
  virtual int CompareItems(void* Item1, void* Item2) const;
  // Removes item Index (EListError "List index out of bounds (%d)" when absent).
  virtual void Delete(int Index);

  int GetCount() const { return FList->Count(); }
  void* GetItem(int Index) const { return FList->Get(Index); }

  // Binary search for Key with Compare. True when an item matches; Index is then a
  // matching item (the leftmost one when Duplicates is dupAccept), otherwise the
  // place where Key would keep the order.
  bool Search(void* Key, int& Index, TCompareProc Compare) const;
  // Sorted: Search with CompareKey. Unsorted: Index := IndexOfKey(Key).
  bool FindKey(void* Key, int& Index) const;
  // Sorted: Search with CompareItems. Unsorted: the index of the pointer Item itself.
  bool FindItem(void* Item, int& Index) const;
  // The index of an item matching Key under CompareKey, or -1.
  int IndexOfKey(void* Key) const;
  // Deletes the item FindItem finds (through Delete); its index, or -1.
  int Remove(void* Item);

  // Inserts Item at its sorted place (at the end when unsorted) and returns its index.
  // An item equal to one already listed: dupIgnore returns the existing index and adds
  // nothing, dupAccept adds it after its equals, dupError raises EListError.
  int Add(void* Item);

  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool Sorted() const { return FSorted; }
  // Switching it on sorts the items by CompareItems (stable, so equals keep their order).
  void SetSorted(bool Value);

 private:
  TFastList* FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = true;
};
