#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "classlib/Lists.h"

namespace {

// A small deterministic generator, so a failing sort can be replayed.
struct TTestRandom {
  std::uint32_t State;
  explicit TTestRandom(std::uint32_t Seed) : State(Seed) {}
  std::uint32_t Next() {
    State = State * 1664525u + 1013904223u;
    return State >> 8;
  }
  int Answer() { return static_cast<int>(Next() % 3) - 1; }  // -1, 0 or 1
};

TTestRandom* CurrentRandom = nullptr;
int RandomPointerCompare(void*, void*) { return CurrentRandom->Answer(); }
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
  std::vector<int> Sorted = V;
  MergeSort(Sorted, [](int A, int B) { return A - B; });
  EXPECT_EQ(Sorted, Iota(Count));
}

}  // namespace

// ---------------------------------------------------------------------------------
// The shared merge sort

TEST(MergeSortTest, SortsAndKeepsEqualItemsInTheirOrder) {
  TTestRandom Random(7);
  std::vector<std::pair<int, int>> Items;  // (key, original position)
  for (int I = 0; I < 1000; ++I) Items.push_back({static_cast<int>(Random.Next() % 10), I});
  MergeSort(Items, [](const std::pair<int, int>& A, const std::pair<int, int>& B) {
    return A.first - B.first;
  });
  for (std::size_t I = 1; I < Items.size(); ++I) {
    ASSERT_LE(Items[I - 1].first, Items[I].first) << "at " << I;
    if (Items[I - 1].first == Items[I].first) {
      ASSERT_LT(Items[I - 1].second, Items[I].second) << "equal keys reordered at " << I;
    }
  }
}

TEST(MergeSortTest, RandomComparerKeepsEveryItemOnce) {
  for (std::uint32_t Seed : {1u, 2u, 3u, 99u}) {
    TTestRandom Random(Seed);
    std::vector<int> V = Iota(1000);
    MergeSort(V, [&Random](int, int) { return Random.Answer(); });
    ExpectPermutation(V, 1000);
  }
}

TEST(MergeSortTest, IndexedFormSortsThroughExchanges) {
  TTestRandom Random(11);
  std::vector<int> Values(500);
  for (int& V : Values) V = static_cast<int>(Random.Next() % 100);
  std::vector<int> Expected = Values;
  MergeSort(Expected, [](int A, int B) { return A - B; });

  // The comparer sees the original sequence, the exchanges work on a copy.
  const std::vector<int> Original = Values;
  int Exchanges = 0;
  MergeSortIndexed(
      static_cast<int>(Values.size()),
      [&Original](int I, int J) { return Original[I] - Original[J]; },
      [&](int I, int J) {
        ++Exchanges;
        std::swap(Values[I], Values[J]);
      });
  EXPECT_EQ(Values, Expected);
  EXPECT_LT(Exchanges, 500);
}

TEST(MergeSortTest, IndexedFormWithRandomComparerStaysInBounds) {
  TTestRandom Random(5);
  std::vector<int> Values = Iota(1000);
  MergeSortIndexed(
      1000, [&Random](int I, int J) {
        EXPECT_TRUE(I >= 0 && I < 1000 && J >= 0 && J < 1000);
        return Random.Answer();
      },
      [&Values](int I, int J) {
        ASSERT_TRUE(I >= 0 && I < 1000 && J >= 0 && J < 1000);
        std::swap(Values[I], Values[J]);
      });
  ExpectPermutation(Values, 1000);
}

// ---------------------------------------------------------------------------------
// TList

namespace {

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

}  // namespace

class TListTest : public ::testing::Test {
 protected:
  void TearDown() override { List->Free(); }
  TRecordingList* List = NewObject<TRecordingList>();
};

TEST_F(TListTest, EditingOperationsKeepTheOrder) {
  for (int I = 1; I <= 5; ++I) EXPECT_EQ(List->Add(P(I)), I - 1);
  List->Insert(0, P(10));
  List->Insert(6, P(11));  // at the end
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{10, 1, 2, 3, 4, 5, 11}));
  List->Delete(1);
  EXPECT_EQ(List->Remove(P(4)), 3);
  EXPECT_EQ(List->Remove(P(4)), -1);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{10, 2, 3, 5, 11}));
  List->Move(0, 3);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{2, 3, 5, 10, 11}));
  List->Move(4, 1);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{2, 11, 3, 5, 10}));
  List->Exchange(0, 4);
  EXPECT_EQ(List->First(), P(10));
  EXPECT_EQ(List->Last(), P(2));
  EXPECT_EQ(List->IndexOf(P(5)), 3);
  EXPECT_EQ(List->IndexOf(P(99)), -1);
}

TEST_F(TListTest, CountCapacityAndPack) {
  List->Add(P(1));
  List->SetCount(4);  // three null entries
  EXPECT_EQ(List->Count(), 4);
  EXPECT_EQ(List->Get(3), nullptr);
  List->Put(2, P(7));
  List->Pack();
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{1, 7}));
  List->SetCapacity(100);
  EXPECT_GE(List->Capacity(), 100);
  List->SetCapacity(2);
  EXPECT_EQ(Contents(List), (std::vector<std::intptr_t>{1, 7}));
  try {
    List->SetCapacity(1);
    FAIL() << "capacity below count accepted";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List capacity out of bounds (1)");
  }
  List->Clear();
  EXPECT_EQ(List->Count(), 0);
}

TEST_F(TListTest, BadIndexesRaiseWithTheIndex) {
  List->Add(P(1));
  List->Add(P(2));
  auto ExpectIndexError = [](auto Action, const char* Expected) {
    try {
      Action();
      ADD_FAILURE() << "no error for " << Expected;
    } catch (const EListError& E) {
      EXPECT_EQ(E.Message(), Expected);
    }
  };
  ExpectIndexError([&] { List->Get(2); }, "List index out of bounds (2)");
  ExpectIndexError([&] { List->Get(-1); }, "List index out of bounds (-1)");
  ExpectIndexError([&] { List->Delete(5); }, "List index out of bounds (5)");
  ExpectIndexError([&] { List->Insert(3, P(3)); }, "List index out of bounds (3)");
  ExpectIndexError([&] { List->Put(2, P(3)); }, "List index out of bounds (2)");
  ExpectIndexError([&] { List->Exchange(0, 7); }, "List index out of bounds (7)");
  ExpectIndexError([&] { List->Move(0, 2); }, "List index out of bounds (2)");
  List->Clear();
  ExpectIndexError([&] { List->First(); }, "List index out of bounds (0)");
  ExpectIndexError([&] { List->Last(); }, "List index out of bounds (-1)");
}

TEST_F(TListTest, NotifiesItemsEnteringAndLeaving) {
  List->Add(P(1));
  List->Add(nullptr);  // null pointers are not announced
  List->Insert(0, P(2));
  List->Put(0, P(3));
  List->Exchange(0, 1);
  List->Move(0, 2);
  EXPECT_EQ(List->Extract(P(3)), P(3));
  EXPECT_EQ(List->Extract(P(42)), nullptr);
  List->Add(P(4));
  List->Delete(List->IndexOf(P(4)));
  List->Add(P(5));
  List->Clear();
  using Entry = std::pair<void*, TListNotification>;
  EXPECT_EQ(List->Log, (std::vector<Entry>{{P(1), lnAdded},
                                           {P(2), lnAdded},
                                           {P(2), lnDeleted},
                                           {P(3), lnAdded},
                                           {P(3), lnExtracted},
                                           {P(4), lnAdded},
                                           {P(4), lnDeleted},
                                           {P(5), lnAdded},
                                           {P(5), lnDeleted},
                                           {P(1), lnDeleted}}));
}

TEST_F(TListTest, SortIsStableAndSurvivesARandomComparer) {
  for (int I = 0; I < 1000; ++I) List->Add(P(I + 1));
  TTestRandom Random(42);
  CurrentRandom = &Random;
  List->Sort(RandomPointerCompare);
  CurrentRandom = nullptr;
  ASSERT_EQ(List->Count(), 1000);
  std::vector<int> Seen;
  for (int I = 0; I < 1000; ++I) Seen.push_back(static_cast<int>(reinterpret_cast<std::intptr_t>(List->Get(I)) - 1));
  ExpectPermutation(Seen, 1000);

  List->Sort(IntPointerCompare);
  for (int I = 0; I < 1000; ++I) ASSERT_EQ(List->Get(I), P(I + 1));
}

// ---------------------------------------------------------------------------------
// TObjectList

namespace {

int Destroyed = 0;
class TCounted : public TObject {
 public:
  ~TCounted() override { ++Destroyed; }
};

}  // namespace

class TObjectListTest : public ::testing::Test {
 protected:
  void SetUp() override { Destroyed = 0; }
};

TEST_F(TObjectListTest, OwningListFreesWhatItLoses) {
  TObjectList* List = NewObject<TObjectList>();
  EXPECT_TRUE(List->OwnsObjects());
  TObject* Objects[5];
  for (TObject*& O : Objects) List->Add(O = NewObject<TCounted>());

  List->Delete(0);
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(List->Remove(Objects[1]), 0);
  EXPECT_EQ(Destroyed, 2);
  EXPECT_EQ(List->Extract(Objects[2]), Objects[2]);
  EXPECT_EQ(Destroyed, 2) << "Extract hands the object back";
  List->Put(0, Objects[2]);  // replaces Objects[3], which is freed
  EXPECT_EQ(Destroyed, 3);
  EXPECT_EQ(List->Count(), 2);
  List->Free();  // frees Objects[2] and Objects[4]
  EXPECT_EQ(Destroyed, 5);
}

TEST_F(TObjectListTest, ClearAndSetCountFree) {
  TObjectList* List = NewObject<TObjectList>();
  for (int I = 0; I < 4; ++I) List->Add(NewObject<TCounted>());
  List->SetCount(3);
  EXPECT_EQ(Destroyed, 1);
  List->Clear();
  EXPECT_EQ(Destroyed, 4);
  List->Free();
  EXPECT_EQ(Destroyed, 4);
}

TEST_F(TObjectListTest, ListOnTheStackFreesItsObjects) {
  {
    TObjectList List;
    List.Add(NewObject<TCounted>());
    List.Add(NewObject<TCounted>());
  }
  EXPECT_EQ(Destroyed, 2);
}

TEST_F(TObjectListTest, NonOwningListLeavesObjectsAlone) {
  TCounted* A = NewObject<TCounted>();
  TObjectList* List = NewObject<TObjectList>(false);
  List->Add(A);
  List->Delete(0);
  List->Add(A);
  List->Free();
  EXPECT_EQ(Destroyed, 0);
  A->Free();
  EXPECT_EQ(Destroyed, 1);
}

// ---------------------------------------------------------------------------------
// TInterfaceList

namespace {

class TProbe : public TInterfacedObject {
 public:
  ~TProbe() override { ++Destroyed; }
};

}  // namespace

class TInterfaceListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Destroyed = 0;
    A = NewObject<TProbe>();
    B = NewObject<TProbe>();
    A->AddRef();  // the test's own references
    B->AddRef();
    List = NewObject<TInterfaceList>();
  }
  void TearDown() override {
    if (List) List->Free();
    A->Release();
    B->Release();
  }
  TProbe* A;
  TProbe* B;
  TInterfaceList* List = nullptr;
};

TEST_F(TInterfaceListTest, EachEntryHoldsOneReference) {
  EXPECT_EQ(List->Add(A), 0);
  EXPECT_EQ(List->Add(A), 1);
  List->Insert(0, B);
  EXPECT_EQ(A->RefCount(), 3);
  EXPECT_EQ(B->RefCount(), 2);
  EXPECT_EQ(List->First(), static_cast<IUnknown*>(B));
  EXPECT_EQ(List->IndexOf(A), 1);

  EXPECT_EQ(List->Remove(A), 1);
  EXPECT_EQ(A->RefCount(), 2);
  List->Put(0, A);  // B leaves, A enters
  EXPECT_EQ(B->RefCount(), 1);
  EXPECT_EQ(A->RefCount(), 3);
  List->Exchange(0, 1);
  EXPECT_EQ(A->RefCount(), 3);
  List->Delete(0);
  EXPECT_EQ(A->RefCount(), 2);
  List->Add(B);
  List->Clear();
  EXPECT_EQ(A->RefCount(), 1);
  EXPECT_EQ(B->RefCount(), 1);
  EXPECT_EQ(List->Count(), 0);
}

TEST_F(TInterfaceListTest, FreeingTheListReleasesAndTheLastReferenceFrees) {
  TProbe* C = NewObject<TProbe>();
  List->Add(C);
  List->Add(A);
  EXPECT_EQ(C->RefCount(), 1);
  FreeAndNil(List);
  EXPECT_EQ(Destroyed, 1) << "the list held the only reference to C";
  EXPECT_EQ(A->RefCount(), 1);
}

TEST_F(TInterfaceListTest, BadIndexRaises) {
  List->Add(A);
  try {
    List->Get(1);
    FAIL() << "no error";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (1)");
  }
  EXPECT_THROW(List->Delete(-1), EListError);
  EXPECT_EQ(A->RefCount(), 2);
}
