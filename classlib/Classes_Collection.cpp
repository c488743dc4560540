// Collections and their items.
#include <algorithm>

#include "classlib/Classes.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TCollectionItem)
TCLASS_IMPL(TCollection)
TCLASS_IMPL(TOwnedCollection)

TCollectionItem* TCollectionItemMetaClass::Create(TCollection* /*ACollection*/) const {
  throw EInvalidOperation("Cannot create an instance of %s with a collection", {ClassName()});
}

// ---------------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* ACollection) {
  if (ACollection) ACollection->AttachItem(this);
}

void TCollectionItem::AfterConstruction() {
  TPersistent::AfterConstruction();
  if (FCollection && !FAnnounced) FCollection->AnnounceItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& Items = FCollection->FItems;
  auto It = std::find(Items.begin(), Items.end(), this);
  return It == Items.end() ? -1 : static_cast<int>(It - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int Current = Index();
  if (Current < 0 || Value == Current) return;
  auto& Items = FCollection->FItems;
  Value = std::clamp(Value, 0, static_cast<int>(Items.size()) - 1);
  Items.erase(Items.begin() + Current);
  Items.insert(Items.begin() + Value, this);
  Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
  if (!FCollection || FCollection->FUpdateCount != 0) return;
  FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

// ---------------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TCollectionItemClass AItemClass) : FItemClass(AItemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no updates while the items go
  while (!FItems.empty()) FreeObjectSafely(FItems.back());  // each item leaves as it goes
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  return FItems[Index];
}

TCollectionItem* TCollection::Add() { return FItemClass->Create(this); }

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  Item->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  TUpdateScope Updating(this);
  while (!FItems.empty()) Delete(Count() - 1);
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TCollection>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  TUpdateScope Updating(this);
  Clear();
  for (TCollectionItem* Item : Other->FItems) Add()->Assign(Item);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  AttachItem(Item);
  AnnounceItem(Item);
}

void TCollection::AttachItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
}

void TCollection::AnnounceItem(TCollectionItem* Item) {
  Item->FAnnounced = true;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It != FItems.end()) FItems.erase(It);
  Item->FCollection = nullptr;
  Changed();
}
