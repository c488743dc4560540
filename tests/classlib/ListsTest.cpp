#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "classlib/Lists.h"
#include "classlib/StringLists.h"
#include "tests/support/MemorySupport.h"

namespace {

// A small deterministic generator, so a failing sort can be replayed.
struct TTestRandom {
  std::uint32_t State;
  explicit TTestRandom(std::uint32_t Seed) : State(Seed) {}
  std::uint32_t Next() { return (State = State * 1664525u + 1013904223u) >> 8; }
  int Answer() { return static_cast<int>(Next() % 3) - 1; }  // -1, 0 or 1
};

int IntPointerCompare(void* A, void* B) {
  auto X = reinterpret_cast<std::intptr_t>(A), Y = reinterpret_cast<std::intptr_t>(B);
  return X < Y ? -1 : X > Y ? 1 : 0;
}

std::vector<int> Iota(int Count) {
  std::vector<int> V(Count);
  for (int I = 0; I < Count; ++I) V[I] = I;
  return V;
}

// Sorting the result must give back exactly 0 .. Count - 1.
void ExpectPermutation(std::vector<int> V, int Count) {
  MergeSort(V, [](int A, int B) { return A - B; });
  EXPECT_EQ(V, Iota(Count));
}

TEST(MergeSortTest, SortsAndKeepsEqualItemsInTheirOrder) {
  TTestRandom Random(7);
  std::vector<std::pair<int, int>> Items;  // (key, original position)
  for (int I = 0; I < 1000; ++I) Items.push_back({static_cast<int>(Random.Next() % 10), I});
  MergeSort(Items, [](const std::pair<int, int>& A, const std::pair<int, int>& B) {
    return A.first - B.first;
  });
  for (std::size_t I = 1; I < Items.size(); ++I) {
    ASSERT_LE(Items[I - 1].first, Items[I].first) << "at " << I;
    ASSERT_TRUE(Items[I - 1].first < Items[I].first || Items[I - 1].second < Items[I].second)
        << "equal keys reordered at " << I;
  }
}

TEST(MergeSortTest, RandomComparerKeepsEveryItemOnceAndStaysInBounds) {
  for (std::uint32_t Seed : {1u, 2u, 99u}) {
    TTestRandom Random(Seed);
    std::vector<int> V = Iota(1000);
    MergeSort(V, [&Random](int, int) { return Random.Answer(); });
    ExpectPermutation(V, 1000);
  }
}

void* P(std::intptr_t N) { return reinterpret_cast<void*>(N); }

// Records what the list tells about items entering and leaving it.
class TRecordingList : public TList {
 public:
  std::vector<std::pair<void*, TListNotification>> Log;

 protected:
  void Notify(void* Ptr, TListNotification Action) override { Log.push_back({Ptr, Action}); }
};

std::vector<std::intptr_t> Contents(const TList* L) {
  std::vector<std::intptr_t> Result;
  for (int I = 0; I < L->Count(); ++I) Result.push_back(reinterpret_cast<std::intptr_t>(L->Get(I)));
  return Result;
}

class TListTest : public ::testing::Test {
 protected:
  void TearDown() override { List->Free(); }
  TRecordingList* List = NewObject<TRecordingList>();
};

TEST_F(TListTest, EditingOperationsKeepTheOrder) {
  for (int I = 1; I <= 5; ++I) List->Add(P(I));
  List->Insert(0, P(10));
  List->Insert(6, P(11));  // at the end
  List->Delete(1);
  EXPECT_EQ(List->Remove(P(4)), 3);
  EXPECT_EQ(List->Remove(P(4)), -1);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{10, 2, 3, 5, 11}));
  List->Move(0, 3);
  List->Move(4, 1);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{2, 11, 3, 5, 10}));
  List->SetCount(7);  // two null entries
  List->Pack();
  EXPECT_EQ(List->Count(), 5);
  ExpectRaises<EListError>([&] { List->SetCapacity(1); }, "List capacity out of bounds (1)");
  // The order of Sort is the merge sort's (above); the list hands it its own items.
  List->Sort(IntPointerCompare);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{2, 3, 5, 10, 11}));
}

TEST_F(TListTest, BadIndexesRaiseWithTheIndex) {
  List->Add(P(1));
  List->Add(P(2));
  ExpectRaises<EListError>([&] { List->Get(2); }, "List index out of bounds (2)");
  ExpectRaises<EListError>([&] { List->Insert(3, P(3)); }, "List index out of bounds (3)");
  ExpectRaises<EListError>([&] { List->Exchange(0, 7); }, "List index out of bounds (7)");
  ExpectRaises<EListError>([&] { List->Move(0, 2); }, "List index out of bounds (2)");
  List->Clear();
  ExpectRaises<EListError>([&] { List->First(); }, "List index out of bounds (0)");
  ExpectRaises<EListError>([&] { List->Last(); }, "List index out of bounds (-1)");
}

TEST_F(TListTest, NotifiesItemsEnteringAndLeaving) {
  List->Add(P(1));
  List->Add(nullptr);  // null pointers are not announced
  List->Insert(0, P(2));
  List->Put(0, P(3));
  List->Exchange(0, 1);
  EXPECT_EQ(List->Extract(P(3)), P(3));
  EXPECT_EQ(List->Extract(P(42)), nullptr);
  List->Add(P(4));
  List->Clear();
  using Entry = std::pair<void*, TListNotification>;
  EXPECT_EQ(List->Log, (std::vector<Entry>{{P(1), lnAdded}, {P(2), lnAdded}, {P(2), lnDeleted},
                                           {P(3), lnAdded}, {P(3), lnExtracted}, {P(4), lnAdded},
                                           {P(4), lnDeleted}, {P(1), lnDeleted}}));
}

int Destroyed = 0;
struct TCounted : TObject {
  ~TCounted() override { ++Destroyed; }
};

TEST(TObjectListTest, AnOwningListFreesWhatItLosesAndAnotherLeavesItsObjects) {
  Destroyed = 0;
  TObjectList* List = NewObject<TObjectList>();
  TObject* Objects[6];
  for (TObject*& O : Objects) List->Add(O = NewObject<TCounted>());
  List->Delete(0);
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(List->Remove(Objects[1]), 0);
  EXPECT_EQ(Destroyed, 2);
  EXPECT_EQ(List->Extract(Objects[2]), Objects[2]);
  EXPECT_EQ(Destroyed, 2) << "Extract hands the object back";
  List->Put(0, Objects[2]);  // replaces Objects[3], which is freed
  EXPECT_EQ(Destroyed, 3);
  List->SetCount(1);  // frees Objects[4], Objects[5]
  EXPECT_EQ(Destroyed, 5);
  List->Free();
  EXPECT_EQ(Destroyed, 6);
  {
    TObjectList OnStack;
    OnStack.Add(NewObject<TCounted>());
  }
  EXPECT_EQ(Destroyed, 7);

  // A list that does not own its objects leaves them alone.
  TCounted Kept;
  List = NewObject<TObjectList>(false);
  List->Add(&Kept);
  List->Delete(0);
  List->Add(&Kept);
  List->Free();
  EXPECT_EQ(Destroyed, 7);
}

struct TProbe : TInterfacedObject {
  ~TProbe() override { ++Destroyed; }
};

TEST(TInterfaceListTest, EachEntryHoldsOneReference) {
  Destroyed = 0;
  TProbe* A = NewObject<TProbe>();
  TProbe* B = NewObject<TProbe>();
  A->AddRef();  // the test's own reference
  TInterfaceList* List = NewObject<TInterfaceList>();
  List->Add(A);
  List->Add(A);
  List->Insert(0, B);  // B's only reference
  EXPECT_EQ(A->RefCount(), 3);
  EXPECT_EQ(List->Remove(A), 1);
  EXPECT_EQ(A->RefCount(), 2);
  List->Exchange(0, 1);
  List->Delete(0);
  EXPECT_EQ(A->RefCount(), 1);
  ExpectRaises<EListError>([&] { List->Get(1); }, "List index out of bounds (1)");
  List->Add(A);
  FreeAndNil(List);
  EXPECT_EQ(Destroyed, 1) << "the list held the only reference to B";
  EXPECT_EQ(A->RefCount(), 1);
  A->Release();
}

// A capacity or count past what a list can hold raises the list's own error with the
// number and leaves the list as it was; one it could hold but memory cannot give raises
// the class library's EOutOfMemory. Neither is the standard library's error.
TEST(ListSizeTest, SizesPastWhatAListHoldsRaiseItsOwnErrors) {
  TOwned<TList> Pointers(NewObject<TList>());
  TOwned<TInterfaceList> Interfaces(NewObject<TInterfaceList>());
  TOwned<TStringList> Strings(NewObject<TStringList>());
  Pointers->Add(P(1));
  Interfaces->SetCount(1);
  Strings->Add("a");
  Strings->Add("b");
  auto Unchanged = [&] {
    EXPECT_EQ(Contents(Pointers.get()), std::vector<std::intptr_t>{1});
    EXPECT_EQ(Interfaces->Count(), 1);
    EXPECT_EQ(Strings->CommaText(), "a,b");
  };
  const std::vector<std::pair<std::function<void()>, AnsiString>> Refused = {
      {[&] { Pointers->SetCapacity(0x7FFFFFFF); },
       "List capacity out of bounds (2147483647)"},
      {[&] { Pointers->SetCount(0x7FFFFFFF); }, "List count out of bounds (2147483647)"},
      {[&] { Interfaces->SetCapacity(0x7FFFFFFF); },
       "List capacity out of bounds (2147483647)"},
      {[&] { Interfaces->SetCount(0x7FFFFFFF); }, "List count out of bounds (2147483647)"},
      {[&] { Strings->SetCapacity(0x7FFFFFFF); },
       "List capacity out of bounds (2147483647)"},
      {[&] { Strings->SetCapacity(100000000); }, "List capacity out of bounds (100000000)"},
      {[&] { Strings->SetCapacity(1); }, "List capacity out of bounds (1)"},
      {[&] { Strings->SetCapacity(-1); }, "List capacity out of bounds (-1)"},
  };
  for (const auto& [Action, Message] : Refused) {
    ExpectRaises<EListError>(Action, Message);
    Unchanged();
  }
  {
    TBlockLimit Limit(1 << 20);
    ExpectRaises<EOutOfMemory>([&] { Pointers->SetCapacity(100000000); }, "Out of memory");
    ExpectRaises<EOutOfMemory>([&] { Pointers->SetCount(1000000); }, "Out of memory");
    ExpectRaises<EOutOfMemory>([&] { Interfaces->SetCapacity(1000000); }, "Out of memory");
    ExpectRaises<EOutOfMemory>([&] { Strings->SetCapacity(1000000); }, "Out of memory");
    Unchanged();
  }
  Strings->SetCapacity(10);
  EXPECT_EQ(Strings->Capacity(), 10);
  Strings->SetCapacity(2);
  EXPECT_EQ(Strings->Capacity(), 2);
  Unchanged();
}

}  // namespace
