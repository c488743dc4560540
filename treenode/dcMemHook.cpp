#include "treenode/dcMemHook.h"

#include <cstdint>
#include <memory>

#include "classlib/Exceptions.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TFreeNotifierEntry)
TCLASS_IMPL(TFreeNotifiersList)

namespace {

int InitCount = 0;
// The manager in force before the hook, and where each operation is forwarded.
TMemoryManager SavedManager{};
TMemoryManager Targets{};
constexpr TMemoryManager HookManager = {HookGetMem, HookFreeMem, HookReallocMem};
TFreeNotifiersList* NotifierList = nullptr;
// Set while a registration changes the list: its array may be half replaced, and the
// frees it makes meanwhile are of its own storage, which nobody watches.
bool ListChanging = false;

// The entries being notified, innermost first (a handler's free of another watched
// address notifies inside the outer notification): a handler can still withdraw its
// registration from an entry that has left the list.
struct TNotifying {
  TFreeNotifierEntry* Entry;
  TNotifying* Outer;
};
TNotifying* Notifying = nullptr;

int CompareAddresses(void* A, void* B) {
  auto X = reinterpret_cast<std::uintptr_t>(A), Y = reinterpret_cast<std::uintptr_t>(B);
  return X < Y ? -1 : X > Y ? 1 : 0;
}

class TListChange {
 public:
  TListChange() : FOuter(ListChanging) { ListChanging = true; }
  TListChange(const TListChange&) = delete;
  TListChange& operator=(const TListChange&) = delete;
  ~TListChange() { ListChanging = FOuter; }

 private:
  bool FOuter;
};

}  // namespace

// ---------------------------------------------------------------------------------
// TFreeNotifierEntry

TFreeNotifierEntry::TFreeNotifierEntry(void* AAddress) : FAddress(AAddress), FMethods(NewObject<TList>()) {}

TFreeNotifierEntry::~TFreeNotifierEntry() {
  for (int I = 0; I < FMethods->Count(); ++I) delete static_cast<TFreeNotifyEvent*>(FMethods->Get(I));
  FreeAndNil(FMethods);
}

void TFreeNotifierEntry::AddMethod(TFreeNotifyEvent Handler) {
  std::unique_ptr<TFreeNotifyEvent> Record(new TFreeNotifyEvent(Handler));
  FMethods->Add(Record.get());
  Record.release();  // the list holds it now
}

bool TFreeNotifierEntry::RemoveMethod(TFreeNotifyEvent Handler) {
  for (int I = 0; I < FMethods->Count(); ++I) {
    auto* Record = static_cast<TFreeNotifyEvent*>(FMethods->Get(I));
    if (Record && *Record == Handler) {
      FMethods->Delete(I);
      delete Record;
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------
// TFreeNotifiersList

int TFreeNotifiersList::CompareKey(void* Entry, void* Key) const {
  return CompareAddresses(static_cast<TFreeNotifierEntry*>(Entry)->Address(), Key);
}

int TFreeNotifiersList::CompareItems(void* Entry1, void* Entry2) const {
  return CompareAddresses(static_cast<TFreeNotifierEntry*>(Entry1)->Address(),
                          static_cast<TFreeNotifierEntry*>(Entry2)->Address());
}

// ---------------------------------------------------------------------------------
// The hook

void* HookGetMem(int Size) { return Targets.GetMem(Size); }

int HookFreeMem(void* P) {
  int Result = Targets.FreeMem(P);
  if (NotifierList && !ListChanging) {
    // The free has happened; a handler's failure is reported, never carried into the
    // code that freed (operator delete cannot pass it on).
    try {
      NotifyFree(NotifierList, P);
    } catch (...) {
      HandleWindowException(nullptr);
    }
  }
  return Result;
}

void* HookReallocMem(void* P, int Size) { return Targets.ReallocMem(P, Size); }

TFreeNotifierEntry* FindFreeNotifier(TFreeNotifiersList* List, void* Address) {
  if (!List || List->GetCount() == 0) return nullptr;
  int Index = List->IndexOfKey(Address);
  return Index < 0 ? nullptr : static_cast<TFreeNotifierEntry*>(List->GetItem(Index));
}

void NotifyFree(TFreeNotifiersList* List, void* Address) {
  TFreeNotifierEntry* Entry = FindFreeNotifier(List, Address);
  if (!Entry) return;
  {
    TListChange Change;
    List->Remove(Entry);
  }
  TNotifying Frame{Entry, Notifying};
  Notifying = &Frame;
  auto Done = AtScopeEnd([&] {
    Notifying = Frame.Outer;
    Entry->Free();
  });
  TList* Methods = Entry->Methods();
  int Index = 0;
  while (Index < Methods->Count()) {
    void* Item = Methods->Get(Index);
    if (Item) (*static_cast<TFreeNotifyEvent*>(Item))(Address);
    // A handler that withdrew or replaced its own registration leaves the next one at
    // the same index.
    if (Index < Methods->Count() && Methods->Get(Index) == Item) ++Index;
  }
}

void FreeNotifierEntries(TFreeNotifiersList*& List) {
  if (!List) return;
  while (List->GetCount() > 0) {
    auto* Entry = static_cast<TFreeNotifierEntry*>(List->GetItem(0));
    List->Delete(0);
    Entry->Free();
  }
  FreeAndNil(List);
}

TFreeNotifiersList* FreeNotifiers() { return NotifierList; }

void AddFreeNotifier(void* Address, TFreeNotifyEvent Handler) {
  if (!NotifierList) throw EInvalidOperation("The memory hook is not installed");
  TListChange Change;
  if (TFreeNotifierEntry* Entry = FindFreeNotifier(NotifierList, Address)) {
    Entry->AddMethod(Handler);
    return;
  }
  TOwned<TFreeNotifierEntry> Entry(NewObject<TFreeNotifierEntry>(Address));
  Entry->AddMethod(Handler);
  NotifierList->Add(Entry.get());
  Entry.release();  // the list owns it now
}

void RemoveFreeNotifier(void* Address, TFreeNotifyEvent Handler) {
  TListChange Change;
  if (TFreeNotifierEntry* Entry = FindFreeNotifier(NotifierList, Address)) {
    if (Entry->RemoveMethod(Handler) && Entry->Methods()->Count() == 0) {
      NotifierList->Remove(Entry);
      Entry->Free();
    }
    return;
  }
  // An entry being notified has left the list; it is freed when its pass ends.
  for (TNotifying* Frame = Notifying; Frame; Frame = Frame->Outer)
    if (Frame->Entry->Address() == Address) {
      Frame->Entry->RemoveMethod(Handler);
      return;
    }
}

void InitdcMemHook() {
  if (++InitCount != 1) return;
  NotifierList = NewObject<TFreeNotifiersList>();
  GetMemoryManager(SavedManager);
  TMemoryManager Default;
  GetDefaultMemoryManager(Default);
  // The targets are set before the hook is installed, so that no allocation of another
  // thread finds them empty.
  Targets.GetMem = DefaultProc(SavedManager.GetMem, Default.GetMem);
  Targets.FreeMem = DefaultProc(SavedManager.FreeMem, Default.FreeMem);
  Targets.ReallocMem = DefaultProc(SavedManager.ReallocMem, Default.ReallocMem);
  SetMemoryManager(HookManager);
}

void DonedcMemHook() {
  if (InitCount == 0 || --InitCount != 0) return;
  // The watches go first, while the hook still forwards their frees where the blocks
  // came from (a saved manager may leave an operation empty); with the list already
  // out of reach, nobody is notified.
  TFreeNotifiersList* List = NotifierList;
  NotifierList = nullptr;
  FreeNotifierEntries(List);
  SetMemoryManager(SavedManager);
}
