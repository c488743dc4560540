#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/ModuleInit.h"
#include "treenode/dcList.h"

namespace {

// Items point at ints and sort by value, so equal items can be distinct pointers; a
// key is the value itself.
struct TIntSortedList : TCustomSortedList {
  int CompareKey(void* Item, void* Key) const override {
    return *static_cast<int*>(Item) - static_cast<int>(reinterpret_cast<std::intptr_t>(Key));
  }
  int CompareItems(void* Item1, void* Item2) const override {
    return *static_cast<int*>(Item1) - *static_cast<int*>(Item2);
  }
};

void* Key(int Value) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(Value)); }

class SortedListTest : public ::testing::Test {
 protected:
  void TearDown() override { List->Free(); }
  void Fill(std::vector<int> V) {
    Values = std::move(V);
    for (int& X : Values) List->Add(&X);
  }
  TIntSortedList* List = NewObject<TIntSortedList>();
  std::vector<int> Values;
};

TEST_F(SortedListTest, MissesReportTheInsertionPoint) {
  int Index = -5, Six = 6;
  EXPECT_FALSE(List->Search(Key(3), Index, &TCustomSortedList::CompareKey));
  EXPECT_EQ(Index, 0);
  EXPECT_EQ(List->Remove(&Six), -1);
  Fill({50, 10, 40, 20, 30});
  EXPECT_EQ(*static_cast<int*>(List->GetItem(0)), 10);
  for (auto [K, Expected] : {std::pair{5, 0}, {99, 5}, {25, 2}}) {
    EXPECT_FALSE(List->FindKey(Key(K), Index));
    EXPECT_EQ(Index, Expected) << K;
  }
  EXPECT_EQ(List->IndexOfKey(Key(40)), 3);
  EXPECT_EQ(List->IndexOfKey(Key(41)), -1);
  EXPECT_THROW(List->GetItem(5), EListError);
}

TEST_F(SortedListTest, DuplicatesDecideWhichEqualItemIsFoundOrAdded) {
  List->SetDuplicates(dupAccept);
  Fill({1, 2, 7, 7, 7, 8, 9, 10});  // the first probe meets the middle 7
  int Index;
  EXPECT_TRUE(List->Search(Key(7), Index, &TCustomSortedList::CompareKey));
  EXPECT_EQ(Index, 2);  // the leftmost
  EXPECT_EQ(List->GetItem(4), &Values[4]);  // accepted equals go after earlier ones
  List->SetDuplicates(dupIgnore);
  EXPECT_TRUE(List->FindKey(Key(7), Index));
  EXPECT_EQ(Index, 3);  // stops at the first equal item met
  int Seven = 7;
  EXPECT_EQ(List->Add(&Seven), 3);
  List->SetDuplicates(dupError);
  EXPECT_THROW(List->Add(&Seven), EListError);
  EXPECT_EQ(List->GetCount(), 8);
  EXPECT_EQ(List->Remove(&Seven), 3);  // an equal item, not the same pointer
  EXPECT_EQ(List->GetItem(3), &Values[4]);
}

TEST_F(SortedListTest, UnsortedListSearchesInOrderAndSortsStablyWhenSwitchedBack) {
  List->SetSorted(false);
  Fill({5, 1, 5, 3});
  EXPECT_EQ(List->IndexOfKey(Key(5)), 0);
  int Five = 5, Index;
  EXPECT_FALSE(List->FindItem(&Five, Index));  // identity, not equality
  List->SetSorted(true);
  std::vector<void*> Expected = {&Values[1], &Values[3], &Values[0], &Values[2]};
  for (int I = 0; I < 4; ++I) EXPECT_EQ(List->GetItem(I), Expected[I]) << I;
}

TEST(SortedListBaseTest, OrdersFarApartAddressesConsistently) {
  // Differences of these addresses do not fit in a signed 32-bit integer.
  std::vector<void*> Items = {reinterpret_cast<void*>(0xFFFFFFF0u), reinterpret_cast<void*>(0x10u),
                              reinterpret_cast<void*>(0x7FFFFFF0u), reinterpret_cast<void*>(0x80000010u)};
  TCustomSortedList* List = NewObject<TCustomSortedList>();
  for (void* P : Items) List->Add(P);
  for (void* P : Items) {
    int Index;
    EXPECT_TRUE(List->FindItem(P, Index) && List->GetItem(Index) == P) << P;
  }
  List->Free();  // the items are bogus addresses: touching them would crash
}

int Deletions = 0;
struct TWatchedFastList : TFastList {
  void Notify(void*, TListNotification Action) override { Deletions += Action != lnAdded; }
};

TEST(FastListTest, FreeingSkipsItemNotifications) {
  TWatchedFastList* List = NewObject<TWatchedFastList>();
  int A = 1, B = 2;
  List->Add(&A);
  List->Add(&B);
  List->Free();
  EXPECT_EQ(Deletions, 0);
}

// The library's test program starts the class library and the library, nothing above,
// and its own table (the memory-manager hook) last.
TEST(TestProgramStart, StartsTheClassLibraryAndTheTreeNodesAlone) {
  EXPECT_EQ(StartedUnitTables(),
            (std::vector<std::string>{"classlib", "treenode", "treenode tests"}));
  EXPECT_TRUE(IsUnitInitialized("Forms"));
  EXPECT_FALSE(IsUnitInitialized("KsBitmap"));
}

}  // namespace
