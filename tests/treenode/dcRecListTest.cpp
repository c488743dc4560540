#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"
#include "treenode/dcRecList.h"

namespace {

struct TListener : TObject {
  int Calls = 0;
  void Changed(TObject*) { ++Calls; }
};

TMethod MethodOf(TListener& L) { return TNotifyEvent::Bind<&TListener::Changed>(&L).Method(); }

// A manager over the saved one that can fail reallocations, make every reallocation
// move and spoil the old block (of OldBytes bytes), and see one block being freed.
TMemoryManager Saved;
bool FailRealloc = false, WatchedFreed = false;
int OldBytes = 0;
void* Watched = nullptr;
void* TestGetMem(int Size) { return Saved.GetMem(Size); }
int TestFreeMem(void* P) {
  WatchedFreed |= P == Watched;
  return Saved.FreeMem(P);
}
void* TestReallocMem(void* P, int Size) {
  if (FailRealloc) return nullptr;
  if (OldBytes == 0) return Saved.ReallocMem(P, Size);
  void* Q = Saved.GetMem(Size);
  std::memcpy(Q, P, std::min(OldBytes, Size));
  std::memset(P, 0xCD, OldBytes);
  Saved.FreeMem(P);
  return Q;
}

class RecordListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetMemoryManager(Saved);
    SetMemoryManager({TestGetMem, TestFreeMem, TestReallocMem});
  }
  void TearDown() override {
    FailRealloc = WatchedFreed = false;
    Watched = nullptr;
    SetMemoryManager(Saved);
    FreeAndNil(List);
  }
  TRecordList* List = NewObject<TRecordList>(12);
};

}  // namespace

TEST(MethodListTest, BadIndexesRaiseWithTheIndexAndChangeNothing) {
  TMethodList* List = NewObject<TMethodList>();
  TListener A;
  List->Add(MethodOf(A));
  TMethod M{&M, &M};
  for (int Index : {1, -1}) {
    ExpectRaises<Exception>([&] { List->GetItem(Index, M); },
                            "List index out of bounds (" + std::to_string(Index) + ")");
  }
  EXPECT_EQ(M, (TMethod{&M, &M}));
  List->Free();
}

TEST(MethodListTest, ListedMethodsAreCalledAndRemoved) {
  TListener A, B, C;
  TMethodList* List = NewObject<TMethodList>();
  for (TListener* L : {&A, &B, &C}) List->Add(MethodOf(*L));
  EXPECT_EQ(List->Remove(MethodOf(B)), 1);
  EXPECT_EQ(List->Remove(MethodOf(B)), -1);
  TMethod M;
  List->GetItem(1, M);
  EXPECT_EQ(M.Data, &C);  // data in the second word
  TNotifyEvent Handler(M);
  Handler(nullptr);
  EXPECT_EQ(C.Calls, 1);
  List->Free();  // the listeners are not touched
}

TEST_F(RecordListTest, GrowthKeepsEveryRecord) {
  for (int I = 0; I < 500; ++I) {
    int Rec[3] = {I, -I, I * 7};
    ASSERT_EQ(List->Add(Rec), I);
  }
  // A record of the list itself, added when the block is full, survives the move.
  List->SetCapacity(List->Count());
  OldBytes = List->Capacity() * 12;
  List->Add(List->GetItem(123));
  OldBytes = 0;
  EXPECT_EQ(static_cast<int*>(List->GetItem(500))[2], 123 * 7);
  List->Delete(0);
  for (int I = 0; I < 500; ++I) {
    int* Rec = static_cast<int*>(List->GetItem(I));
    ASSERT_TRUE(Rec[1] == -Rec[0] && Rec[2] == Rec[0] * 7 && Rec[0] == (I < 499 ? I + 1 : 123)) << I;
  }
  EXPECT_THROW(List->GetItem(500), Exception);
}

TEST_F(RecordListTest, CapacityChangesAndRefusals) {
  EXPECT_THROW(NewObject<TRecordList>(0), EInvalidOperation);
  List->SetCapacity(8);
  void* Block = List->Data();
  int Rec[3] = {1, 2, 3};
  List->Add(Rec);
  List->Add(Rec);
  EXPECT_THROW(List->SetCapacity(1), EListError);  // would cut records off
  EXPECT_THROW(List->SetCapacity(-1), EListError);
  EXPECT_THROW(List->SetCapacity(INT_MAX / 12 + 1), EListError);  // size past 32 bits
  FailRealloc = true;
  EXPECT_THROW(List->SetCapacity(64), EOutOfMemory);
  EXPECT_TRUE(List->Capacity() == 8 && List->Data() == Block);
  FailRealloc = false;
  Watched = Block;
  List->Clear();
  EXPECT_TRUE(WatchedFreed);
  List->Clear();
  EXPECT_TRUE(List->Count() == 0 && List->Capacity() == 0 && List->Data() == nullptr);
}

TEST_F(RecordListTest, FreeReleasesTheBlock) {
  int Rec[3] = {};
  List->Add(Rec);
  Watched = List->Data();
  FreeAndNil(List);
  EXPECT_TRUE(WatchedFreed);
}
