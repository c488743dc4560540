// Lists of pointers, owning lists of objects, lists of counted interfaces, and the
// stable merge sort that every sort of the module uses.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"
#include "classlib/Objects.h"

// ---------------------------------------------------------------------------------
// The shared sort. A stable merge sort: equal items keep their order. It only moves
// items between fixed places and its loops are bounded by counts, so a comparer that
// is not a strict weak ordering (even random answers) still ends with every item
// present exactly once and never reaches outside the range.
//
// A comparer answers negative, zero or positive for (A, B) like a string compare.

namespace classlib_detail {

template <class T, class Compare>
void MergeSortRange(T* Items, T* Buffer, std::size_t Count, Compare& Cmp) {
  if (Count < 2) return;
  if (Count <= 12) {
    // Insertion sort for short runs; an item moves left only past strictly greater ones.
    for (std::size_t I = 1; I < Count; ++I) {
      T Item = std::move(Items[I]);
      std::size_t J = I;
      for (; J > 0 && Cmp(Item, Items[J - 1]) < 0; --J) Items[J] = std::move(Items[J - 1]);
      Items[J] = std::move(Item);
    }
    return;
  }
  std::size_t Half = Count / 2;
  MergeSortRange(Items, Buffer, Half, Cmp);
  MergeSortRange(Items + Half, Buffer, Count - Half, Cmp);
  if (Cmp(Items[Half], Items[Half - 1]) >= 0) return;  // already in order
  // The left half goes to the buffer and is merged back with the right half; the
  // write position never passes the read position of the right half.
  for (std::size_t I = 0; I < Half; ++I) Buffer[I] = std::move(Items[I]);
  std::size_t L = 0, R = Half, Out = 0;
  while (L < Half && R < Count) {
    if (Cmp(Items[R], Buffer[L]) < 0)
      Items[Out++] = std::move(Items[R++]);
    else
      Items[Out++] = std::move(Buffer[L++]);
  }
  while (L < Half) Items[Out++] = std::move(Buffer[L++]);
}

}  // namespace classlib_detail

// Sorts Count items at Items; Cmp(const T&, const T&) returns an int.
template <class T, class Compare>
void MergeSort(T* Items, std::size_t Count, Compare Cmp) {
  if (Count < 2) return;
  std::vector<T> Buffer(Count / 2 + 1);
  classlib_detail::MergeSortRange(Items, Buffer.data(), Count, Cmp);
}

template <class T, class Compare>
void MergeSort(std::vector<T>& Items, Compare Cmp) {
  MergeSort(Items.data(), Items.size(), Cmp);
}

using TListSortCompare = int (*)(void* Item1, void* Item2);

// The pointer-array form used by TList::Sort.
void MergeSort(void** Items, int Count, TListSortCompare Compare);

// The order of a sort by index: CompareIndex(I, J) compares the items at the original
// positions I and J. Returns, for each place of the sorted sequence, the original
// position of the item that belongs there. The items are not touched.
template <class CompareIndex>
std::vector<int> MergeSortOrder(int Count, CompareIndex Cmp) {
  std::vector<int> Order(Count > 0 ? Count : 0);
  for (int I = 0; I < Count; ++I) Order[I] = I;
  MergeSort(Order, [&Cmp](int A, int B) { return Cmp(A, B); });
  return Order;
}

// ---------------------------------------------------------------------------------
// Sizes

// The most items a list holds. A capacity or count past it, or past what the list's
// items can fill of the address space, raises EListError "List capacity out of bounds
// (%d)" or "List count out of bounds (%d)"; one within it that memory cannot give
// raises EOutOfMemory.
inline constexpr int MaxListSize = 0x7FFFFFFF / 16;

namespace classlib_detail {

// Whether a list kept in Items (a standard vector) may hold Size items.
template <class TItems>
bool FitsList(const TItems& Items, long long Size) {
  return Size >= 0 && Size <= MaxListSize &&
         static_cast<std::size_t>(Size) <= Items.max_size();
}

// Room for NewCapacity items (checked by the caller, at least the count): more room
// reserved, or a block just large enough for a smaller capacity.
template <class T>
void SetListCapacity(std::vector<T>& Items, int NewCapacity) {
  const auto Wanted = static_cast<std::size_t>(NewCapacity);
  if (Wanted == Items.capacity()) return;
  GrowOrRaise([&] {
    if (Wanted > Items.capacity()) {
      Items.reserve(Wanted);
      return;
    }
    std::vector<T> Smaller;
    Smaller.reserve(Wanted);
    for (T& Item : Items) Smaller.push_back(std::move(Item));
    Items.swap(Smaller);
  });
}

}  // namespace classlib_detail

// ---------------------------------------------------------------------------------

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// A list of pointers. Notify runs for every non-null pointer that enters or leaves the
// list (not for Exchange, Move or Sort). Indexes out of range raise
// EListError "List index out of bounds (%d)".
class TList : public TObject {
  TCLASS_DECL(TList, TObject)
 public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  ~TList() override = default;

  // Clears the list through the overridable Clear and Notify.
  void BeforeDestruction() override;

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Deletes the first occurrence of Item; its former index, or -1.
  int Remove(void* Item);
  // Takes the first occurrence of Item out of the list with lnExtracted; Item, or
  // nullptr when absent.
  void* Extract(void* Item);
  int IndexOf(void* Item) const;
  virtual void Clear();

  int Count() const { return static_cast<int>(FList.size()); }
  // A larger count adds null pointers; a smaller one deletes from the end. Raises
  // EListError "List count out of bounds (%d)" below 0 or past MaxListSize.
  void SetCount(int NewCount);
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  // Raises EListError "List capacity out of bounds (%d)" below Count or past
  // MaxListSize.
  void SetCapacity(int NewCapacity);

  void* Get(int Index) const;
  void Put(int Index, void* Item);
  void* Items(int Index) const { return Get(Index); }
  void* operator[](int Index) const { return Get(Index); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }
  // The items as an array (valid until the list changes).
  void* const* List() const { return FList.data(); }

  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // Removes the null pointers.
  void Pack();
  void Sort(TListSortCompare Compare);

 protected:
  virtual void Notify(void* Ptr, TListNotification Action);
  void CheckIndex(int Index) const;

 private:
  std::vector<void*> FList;
};

// A list of objects that, while OwnsObjects (the default), frees the objects it
// deletes, removes, clears or is freed with, without raising (see FreeObjectSafely).
// Extract hands an object back unfreed.
class TObjectList : public TList {
  TCLASS_DECL(TObjectList, TList)
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  // For a list that is destroyed without Free: frees what it still owns.
  ~TObjectList() override;

  int Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(int Index, TObject* AObject) { TList::Insert(Index, AObject); }
  int Remove(TObject* AObject) { return TList::Remove(AObject); }
  TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TList::Extract(AObject)); }
  int IndexOf(const TObject* AObject) const {
    return TList::IndexOf(const_cast<TObject*>(AObject));
  }
  TObject* Get(int Index) const { return static_cast<TObject*>(TList::Get(Index)); }
  void Put(int Index, TObject* AObject) { TList::Put(Index, AObject); }
  TObject* Items(int Index) const { return Get(Index); }
  TObject* operator[](int Index) const { return Get(Index); }
  TObject* First() const { return Get(0); }
  TObject* Last() const { return Get(Count() - 1); }

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  bool FOwnsObjects;
};

// A list of interfaces holding one counted reference per entry: entering the list
// adds a reference, leaving it (Delete, Remove, Clear, Put, the list's end) releases
// one. Lock and Unlock do nothing: the module has one thread.
class TInterfaceList : public TObject {
  TCLASS_DECL(TInterfaceList, TObject)
 public:
  TInterfaceList() = default;
  TInterfaceList(const TInterfaceList&) = delete;
  TInterfaceList& operator=(const TInterfaceList&) = delete;
  ~TInterfaceList() override;

  int Add(IUnknown* Item);
  void Insert(int Index, IUnknown* Item);
  void Delete(int Index);
  int Remove(IUnknown* Item);
  void Clear();
  int IndexOf(IUnknown* Item) const;

  int Count() const { return static_cast<int>(FList.size()); }
  // A larger count adds null entries; a smaller one releases from the end. Bounds as
  // TList's.
  void SetCount(int NewCount);
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int NewCapacity);

  // The entry itself, not a new reference.
  IUnknown* Get(int Index) const;
  void Put(int Index, IUnknown* Item);
  IUnknown* Items(int Index) const { return Get(Index); }
  IUnknown* operator[](int Index) const { return Get(Index); }
  IUnknown* First() const { return Get(0); }
  IUnknown* Last() const { return Get(Count() - 1); }
  void Exchange(int Index1, int Index2);

  void Lock() {}
  void Unlock() {}

 private:
  void CheckIndex(int Index) const;

  std::vector<IUnknown*> FList;
};
