#include "classlib/Lists.h"

#include <algorithm>

void MergeSort(void** Items, int Count, TListSortCompare Compare) {
  if (Count < 2) return;
  MergeSort(Items, static_cast<std::size_t>(Count),
            [Compare](void* A, void* B) { return Compare(A, B); });
}

// ---------------------------------------------------------------------------------
// TList

TCLASS_IMPL(TList)

void TList::BeforeDestruction() {
  Clear();
  inherited::BeforeDestruction();
}

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
}

void TList::Notify(void*, TListNotification) {}

int TList::Add(void* Item) {
  int Result = Count();
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Result;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) throw EListError(SListIndexError, {Index});
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  void* Item = FList[Index];
  FList.erase(FList.begin() + Index);
  if (Item) Notify(Item, lnDeleted);
}

int TList::Remove(void* Item) {
  int Result = IndexOf(Item);
  if (Result >= 0) Delete(Result);
  return Result;
}

void* TList::Extract(void* Item) {
  int Index = IndexOf(Item);
  if (Index < 0) return nullptr;
  FList.erase(FList.begin() + Index);
  if (Item) Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(void* Item) const {
  auto It = std::find(FList.begin(), FList.end(), Item);
  return It == FList.end() ? -1 : static_cast<int>(It - FList.begin());
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::SetCount(int NewCount) {
  if (!classlib_detail::FitsList(FList, NewCount))
    throw EListError(SListCountError, {NewCount});
  if (NewCount > Count()) {
    GrowOrRaise([&] { FList.resize(NewCount, nullptr); });
  } else {
    // From the end, one notification per item, so an owner sees each one leave.
    while (Count() > NewCount) Delete(Count() - 1);
  }
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count() || !classlib_detail::FitsList(FList, NewCapacity))
    throw EListError(SListCapacityError, {NewCapacity});
  classlib_detail::SetListCapacity(FList, NewCapacity);
}

void* TList::Get(int Index) const {
  CheckIndex(Index);
  return FList[Index];
}

void TList::Put(int Index, void* Item) {
  CheckIndex(Index);
  void* Old = FList[Index];
  if (Old == Item) return;
  FList[Index] = Item;
  if (Old) Notify(Old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

void TList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  auto Base = FList.begin();
  if (CurIndex < NewIndex)
    std::rotate(Base + CurIndex, Base + CurIndex + 1, Base + NewIndex + 1);
  else
    std::rotate(Base + NewIndex, Base + CurIndex, Base + CurIndex + 1);
}

void TList::Pack() {
  FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(TListSortCompare Compare) {
  MergeSort(FList.data(), Count(), Compare);
}

// ---------------------------------------------------------------------------------
// TObjectList

TCLASS_IMPL(TObjectList)

TObjectList::~TObjectList() {
  if (!FOwnsObjects) return;
  for (int I = Count() - 1; I >= 0; --I) FreeObjectSafely(Get(I));
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) FreeObjectSafely(static_cast<TObject*>(Ptr));
  inherited::Notify(Ptr, Action);
}

// ---------------------------------------------------------------------------------
// TInterfaceList

TCLASS_IMPL(TInterfaceList)

TInterfaceList::~TInterfaceList() { Clear(); }

void TInterfaceList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
}

int TInterfaceList::Add(IUnknown* Item) {
  int Result = Count();
  Insert(Result, Item);
  return Result;
}

void TInterfaceList::Insert(int Index, IUnknown* Item) {
  if (Index < 0 || Index > Count()) throw EListError(SListIndexError, {Index});
  FList.insert(FList.begin() + Index, Item);
  if (Item) Item->AddRef();
}

// Every release happens after the entry has left the list, so an object that removes
// itself from the list while it is being freed finds the list consistent.
void TInterfaceList::Delete(int Index) {
  CheckIndex(Index);
  IUnknown* Item = FList[Index];
  FList.erase(FList.begin() + Index);
  if (Item) Item->Release();
}

int TInterfaceList::Remove(IUnknown* Item) {
  int Result = IndexOf(Item);
  if (Result >= 0) Delete(Result);
  return Result;
}

void TInterfaceList::Clear() {
  std::vector<IUnknown*> Old;
  Old.swap(FList);
  for (IUnknown* Item : Old)
    if (Item) Item->Release();
}

int TInterfaceList::IndexOf(IUnknown* Item) const {
  auto It = std::find(FList.begin(), FList.end(), Item);
  return It == FList.end() ? -1 : static_cast<int>(It - FList.begin());
}

void TInterfaceList::SetCount(int NewCount) {
  if (!classlib_detail::FitsList(FList, NewCount))
    throw EListError(SListCountError, {NewCount});
  if (NewCount > Count())
    GrowOrRaise([&] { FList.resize(NewCount, nullptr); });
  else
    while (Count() > NewCount) Delete(Count() - 1);
}

void TInterfaceList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count() || !classlib_detail::FitsList(FList, NewCapacity))
    throw EListError(SListCapacityError, {NewCapacity});
  classlib_detail::SetListCapacity(FList, NewCapacity);
}

IUnknown* TInterfaceList::Get(int Index) const {
  CheckIndex(Index);
  return FList[Index];
}

void TInterfaceList::Put(int Index, IUnknown* Item) {
  CheckIndex(Index);
  IUnknown* Old = FList[Index];
  if (Item) Item->AddRef();
  FList[Index] = Item;
  if (Old) Old->Release();
}

void TInterfaceList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[Index1], FList[Index2]);
}
