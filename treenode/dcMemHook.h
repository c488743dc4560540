// The memory-manager hook with free notifiers. From the unit's start to its end the
// module's memory manager (classlib/Memory.h) runs through three hook routines that
// forward to the manager they replaced, so that code can ask to be told when a given
// block is freed. The watches live in a TFreeNotifiersList kept in address order; a
// free looks its address up there (with no watch, one count test).
//
// No lock is taken: watches are added and withdrawn on one thread while no other
// thread frees memory of the module.
#pragma once

#include "classlib/Lists.h"
#include "classlib/Memory.h"
#include "classlib/Objects.h"
#include "treenode/dcList.h"

// Told that a watched block was freed: the block's address.
using TFreeNotifyEvent = TEvent<void(void* Address)>;

// One watched address and its handlers: Methods holds one TFreeNotifyEvent record per
// registration, which the entry owns.
class TFreeNotifierEntry : public TObject {
  TCLASS_DECL(TFreeNotifierEntry, TObject)
 public:
  explicit TFreeNotifierEntry(void* AAddress);
  TFreeNotifierEntry(const TFreeNotifierEntry&) = delete;
  TFreeNotifierEntry& operator=(const TFreeNotifierEntry&) = delete;
  ~TFreeNotifierEntry() override;

  void* Address() const { return FAddress; }
  TList* Methods() const { return FMethods; }
  // Adds a registration of Handler.
  void AddMethod(TFreeNotifyEvent Handler);
  // Withdraws the first registration of Handler; false when there is none.
  bool RemoveMethod(TFreeNotifyEvent Handler);

 private:
  void* FAddress;
  TList* FMethods;
};

// The watches, ordered by address (compared unsigned, so that blocks 2 GB or more
// apart still compare the right way round). Items are TFreeNotifierEntry objects,
// owned by whoever removes them from the list.
class TFreeNotifiersList : public TCustomSortedList {
  TCLASS_DECL(TFreeNotifiersList, TCustomSortedList)
 public:
  TFreeNotifiersList() = default;
  int CompareKey(void* Entry, void* Key) const override;
  int CompareItems(void* Entry1, void* Entry2) const override;
};

// The hook routines: each forwards to the manager in force before the hook (or to the
// run-time library's default routine where that manager's entry is empty) and returns
// its result; a free then tells the watchers of the address. A reallocation tells
// nobody, also when the block moves.
void* HookGetMem(int Size);
int HookFreeMem(void* P);
void* HookReallocMem(void* P, int Size);

// The entry watching Address, or nullptr (also for a null or empty list).
TFreeNotifierEntry* FindFreeNotifier(TFreeNotifiersList* List, void* Address);
// Takes the entry watching Address out of List (so that a free of the same address
// inside a handler finds nothing), calls each of its handlers once with Address, and
// frees it. A handler may withdraw its own registration without the next one being
// skipped.
void NotifyFree(TFreeNotifiersList* List, void* Address);
// Frees every entry of List, then List, and clears the variable.
void FreeNotifierEntries(TFreeNotifiersList*& List);
// A when it is assigned, else B.
template <class F>
F DefaultProc(F A, F B) {
  return A ? A : B;
}

// The unit's list: nullptr before the unit starts and after it ends.
TFreeNotifiersList* FreeNotifiers();
// Registers Handler to be called once when the block at Address is freed. Raises
// EInvalidOperation when the hook is not installed.
void AddFreeNotifier(void* Address, TFreeNotifyEvent Handler);
// Withdraws one registration of Handler for Address, also from inside a notification
// of that address; nothing when there is none.
void RemoveFreeNotifier(void* Address, TFreeNotifyEvent Handler);

// Only the first start and the matching last end act.
void InitdcMemHook();
void DonedcMemHook();
