// Collections: a new item is announced to its collection only once it is whole, so a
// collection that reads the item's fields on Notify or Update reads their real values.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/UpdateScope.h"

namespace {

class TSizedItem : public TCollectionItem {
  TCLASS_DECL(TSizedItem, TCollectionItem)
 public:
  explicit TSizedItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
  int Size = 7;
};

TCLASS_IMPL(TSizedItem)

// Records the size each added item has when it is announced, and the item count seen
// by each update.
class TSizeWatcher : public TCollection {
 public:
  TSizeWatcher() : TCollection(&TSizedItem::StaticClass()) {}
  std::vector<int> AddedSizes;
  std::vector<int> UpdateCounts;

 protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    if (Action == cnAdded) AddedSizes.push_back(static_cast<TSizedItem*>(Item)->Size);
  }
  void Update(TCollectionItem* /*Item*/) override {
    int Whole = 0;
    for (int I = 0; I < Count(); ++I) Whole += static_cast<TSizedItem*>(Items(I))->Size == 7;
    UpdateCounts.push_back(Whole);
  }
};

TEST(CollectionTest, ANewItemIsAnnouncedOnlyOnceItsFieldsExist) {
  TSizeWatcher Items;
  Items.Add();
  auto* Second = static_cast<TSizedItem*>(Items.Add());
  EXPECT_EQ(Items.AddedSizes, (std::vector<int>{7, 7}));
  EXPECT_EQ(Items.UpdateCounts, (std::vector<int>{1, 2})) << "every update sees whole items";
  EXPECT_EQ(1, Second->Index());
  EXPECT_EQ(1, Second->ID());

  // Moved to another collection, it is announced there at once, and once.
  TSizeWatcher Other;
  Second->SetCollection(&Other);
  EXPECT_EQ(Other.AddedSizes, (std::vector<int>{7}));
  EXPECT_EQ(1, Items.Count());
  Second->Free();
  EXPECT_EQ(0, Other.Count());

  // Inside an update the announcement still comes, the update once at its end.
  Items.UpdateCounts.clear();
  {
    TUpdateScope Updating(&Items);
    Items.Add();
    Items.Add();
  }
  EXPECT_EQ(Items.AddedSizes.size(), 4u);
  EXPECT_EQ(Items.UpdateCounts, (std::vector<int>{3}));
}

}  // namespace
