// Record and method lists: fixed-size records in one block of memory taken from the
// memory manager, and a list of method pointers (listeners) kept as such records.
#pragma once

#include "classlib/Objects.h"

// Fixed-size records in one contiguous block. Record Index lives at
// Data() + Index * RecordSize(); 0 <= Count() <= Capacity() always holds. The list owns
// the block, never what the records point at. It is an interfaced object used as a
// plain owned one: made with NewObject<TRecordList>(Size), freed with Free().
class TRecordList : public TInterfacedObject {
  TCLASS_DECL(TRecordList, TInterfacedObject)
 public:
  // ARecordSize must be at least 1; anything else raises EInvalidOperation.
  explicit TRecordList(int ARecordSize);
  // For a list that is destroyed without Free: releases the block.
  ~TRecordList() override;

  // Releases the block (Clear) so that a failing release reaches the caller of Free.
  void BeforeDestruction() override;

  // Count and Capacity 0, the block released.
  void Clear();
  // Resizes the block through the memory manager, keeping the records that fit. A
  // value below Count, below 0, or whose byte size does not fit in 32 bits raises
  // EListError "List capacity out of bounds (%d)"; an equal value does nothing. When
  // the manager has no memory, EOutOfMemory leaves the list as it was.
  void SetCapacity(int NewCapacity);

  // The address of record Index; an index outside 0 .. Count - 1 raises Exception
  // "List index out of bounds (%d)".
  void* GetItem(int Index) const;
  // Appends a copy of the RecordSize bytes at Rec (which may be a record of this very
  // list), growing the block when it is full. Returns the new record's index.
  int Add(const void* Rec);
  // Removes record Index; the records after it move down by one.
  void Delete(int Index);

  int RecordSize() const { return FRecordSize; }
  int Count() const { return FCount; }
  int Capacity() const { return FCapacity; }
  void* Data() const { return FData; }

 protected:
  [[noreturn]] void IndexError(int Index) const;

 private:
  int FRecordSize;
  int FCount = 0;
  int FCapacity = 0;
  char* FData = nullptr;
};

// A list of method pointers, each an 8-byte record (code, then data) in an owned
// record list. Made with NewObject<TMethodList>(), freed with Free().
class TMethodList : public TObject {
  TCLASS_DECL(TMethodList, TObject)
 public:
  TMethodList();
  TMethodList(const TMethodList&) = delete;
  TMethodList& operator=(const TMethodList&) = delete;
  // For a list that is destroyed without Free: frees the record list.
  ~TMethodList() override;

  // Frees the record list; the objects the methods name are not touched.
  void BeforeDestruction() override;

  int GetCount() const;
  // Copies the method stored at Index into Method; an index outside 0 .. Count - 1
  // raises Exception "List index out of bounds (%d)" and leaves Method unchanged.
  void GetItem(int Index, TMethod& Method) const;
  // Appends Method (the same method may be listed more than once); returns its index.
  int Add(const TMethod& Method);
  // Removes the first record equal to Method; returns its former index, or -1.
  int Remove(const TMethod& Method);

 private:
  TRecordList* FRecords;
};
