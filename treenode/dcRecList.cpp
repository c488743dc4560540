#include "treenode/dcRecList.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"

// ---------------------------------------------------------------------------------
// TRecordList

TCLASS_IMPL(TRecordList)

TRecordList::TRecordList(int ARecordSize) : FRecordSize(ARecordSize) {
  // A zero or negative size would make every record share one address or turn the
  // block size negative.
  if (ARecordSize < 1) throw EInvalidOperation("Invalid record size (%d)", {ARecordSize});
}

TRecordList::~TRecordList() {
  if (FData) {
    try {
      FreeMem(FData);
    } catch (...) {
      // A destructor must not throw; Free reports a failing release through Clear.
    }
  }
}

void TRecordList::BeforeDestruction() {
  inherited::BeforeDestruction();
  Clear();
}

void TRecordList::Clear() {
  // Count first, so that SetCapacity(0) never sees records beyond the new capacity.
  FCount = 0;
  SetCapacity(0);
}

void TRecordList::SetCapacity(int NewCapacity) {
  if (NewCapacity == FCapacity) return;
  // Below Count would leave records outside the block; a byte size past 32 bits would
  // wrap and give a block too small for the records it is said to hold.
  if (NewCapacity < FCount || NewCapacity > INT_MAX / FRecordSize)
    throw EListError(SListCapacityError, {NewCapacity});
  void* P = FData;
  ReallocMem(P, NewCapacity * FRecordSize);  // raises before changing P when it fails
  FData = static_cast<char*>(P);
  FCapacity = NewCapacity;
}

void* TRecordList::GetItem(int Index) const {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  return FData + Index * FRecordSize;
}

int TRecordList::Add(const void* Rec) {
  const char* Src = static_cast<const char*>(Rec);
  if (FCount == FCapacity) {
    // Rec may point into the block that the growth moves: keep its offset.
    auto Addr = reinterpret_cast<std::uintptr_t>(Src);
    auto Base = reinterpret_cast<std::uintptr_t>(FData);
    bool Inside = FData && Addr >= Base &&
                  Addr < Base + static_cast<std::uintptr_t>(FCapacity) * FRecordSize;
    std::uintptr_t Offset = Addr - Base;
    // Grow by half (at least 4 records), up to the largest block the size allows.
    long long Wanted = FCapacity < 4 ? 4 : FCapacity + FCapacity / 2LL;
    long long Limit = INT_MAX / FRecordSize;
    if (Wanted > Limit) Wanted = Limit;
    if (Wanted <= FCapacity) throw EListError(SListCapacityError, {FCapacity + 1});
    SetCapacity(static_cast<int>(Wanted));
    if (Inside) Src = FData + Offset;
  }
  std::memcpy(FData + FCount * FRecordSize, Src, FRecordSize);
  return FCount++;
}

void TRecordList::Delete(int Index) {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  --FCount;
  std::memmove(FData + Index * FRecordSize, FData + (Index + 1) * FRecordSize,
               static_cast<std::size_t>(FCount - Index) * FRecordSize);
}

void TRecordList::IndexError(int Index) const { throw Exception(SListIndexError, {Index}); }

// ---------------------------------------------------------------------------------
// TMethodList

TCLASS_IMPL(TMethodList)

// Each record is one method: the code pointer, then the data pointer.
static_assert(sizeof(TMethod) == 8 && offsetof(TMethod, Code) == 0 && offsetof(TMethod, Data) == 4,
              "a method record is (code, data) in 8 bytes");

TMethodList::TMethodList() : FRecords(NewObject<TRecordList>(static_cast<int>(sizeof(TMethod)))) {}

TMethodList::~TMethodList() {
  // Only reached with the record list still present when Free was bypassed; its
  // destructor releases the block without throwing.
  delete FRecords;
}

void TMethodList::BeforeDestruction() {
  FreeAndNil(FRecords);
  inherited::BeforeDestruction();
}

int TMethodList::GetCount() const { return FRecords->Count(); }

void TMethodList::GetItem(int Index, TMethod& Method) const {
  std::memcpy(&Method, FRecords->GetItem(Index), sizeof(TMethod));
}

int TMethodList::Add(const TMethod& Method) { return FRecords->Add(&Method); }

int TMethodList::Remove(const TMethod& Method) {
  for (int I = 0; I < FRecords->Count(); ++I) {
    TMethod Item;
    GetItem(I, Item);
    if (Item == Method) {
      FRecords->Delete(I);
      return I;
    }
  }
  return -1;
}
