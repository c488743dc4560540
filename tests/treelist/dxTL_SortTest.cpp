// The tree list's sort on a shown control: the natural order, two sort columns each
// in its own direction, the event comparer over the locale one, the locale comparer's
// last tie-break, the levels, a comparer or a value that raises, the focus and rows
// after a sort, the header clicks, the automatic re-sort and a deep chain.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"
#include "tests/treelist/DeepStack.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Sort.h"

using namespace uitest;

namespace {

// Counts the sorts, and can break ties by Data or make one node's value unorderable.
class TSortTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int Sorts = 0;
  bool TieByDataDescending = false;
  TdxTreeListNode* NullValueNode = nullptr;
  // Texts of digits alone sort as the numbers they spell.
  bool NumbersAsValues = false;

  void SortNodesByColumn(int Level, int Column, bool Descending) override {
    ++Sorts;
    TdxTreeList::SortNodesByColumn(Level, Column, Descending);
  }
  int CompareNodes(TdxTreeListNode* Node1, TdxTreeListNode* Node2) override {
    if (!TieByDataDescending) return TdxTreeList::CompareNodes(Node1, Node2);
    const auto A = reinterpret_cast<INT_PTR>(Node1->Data());
    const auto B = reinterpret_cast<INT_PTR>(Node2->Data());
    return A > B ? -1 : (A < B ? 1 : 0);
  }
  Variant GetNodeSortValue(TdxTreeListNode* Node, int Column) override {
    if (Node == NullValueNode) return Variant::Null();
    if (NumbersAsValues) {
      const AnsiString Text = Node->Strings(Column);
      if (!Text.empty() && Text.find_first_not_of("0123456789") == AnsiString::npos)
        return Variant(std::stoi(Text));
    }
    return TdxTreeList::GetNodeSortValue(Node, Column);
  }
};

// OnCompare by the second column's number; can raise after some calls, and notes the
// screen cursor it saw.
class TCompareHandler : public TObject {
 public:
  int Calls = 0;
  int RaiseAt = -1;
  TCursor SeenCursor = crDefault;
  void Compare(TObject*, TdxTreeListNode* A, TdxTreeListNode* B, int& Result) {
    SeenCursor = Screen->Cursor();
    if (++Calls == RaiseAt) throw Exception("comparer failed");
    Result = std::stoi(A->Strings(1).c_str()) - std::stoi(B->Strings(1).c_str());
  }
};

class TreeListSortTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TSortTreeList>(ShownForm());
    Tree->SetBounds(0, 0, 250, 180);
    A = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    B = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    Tree->HandleNeeded();
    Handler = Keep(NewObject<TCompareHandler>());
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  TdxTreeListNode* Row(const char* First, const char* Second = "",
                       TdxTreeListNode* Parent = nullptr) {
    TdxTreeListNode* Node = Parent ? Parent->AddChild() : Tree->Add();
    Node->SetStrings(0, First);
    Node->SetStrings(1, Second);
    return Node;
  }
  // The children of Parent (the top level for nullptr), as "text/text" joined by ",".
  std::string Order(TdxTreeListNode* Parent = nullptr) {
    std::string Result;
    const int Count = Parent ? Parent->Count() : Tree->Count();
    for (int I = 0; I < Count; ++I) {
      TdxTreeListNode* Node = Parent ? Parent->Items(I) : Tree->Items(I);
      if (!Result.empty()) Result += ",";
      Result += Node->Strings(0).c_str();
      if (!Node->Strings(1).empty()) Result += std::string("/") + Node->Strings(1).c_str();
    }
    return Result;
  }
  void Include(TdxTreeListOptionEx Option) {
    TdxTreeListOptionsEx Options = Tree->OptionsEx();
    Options.Include(Option);
    Tree->SetOptionsEx(Options);
  }
  void Include(TdxTreeListOption Option) {
    TdxTreeListOptions Options = Tree->Options();
    Options.Include(Option);
    Tree->SetOptions(Options);
  }

  TSortTreeList* Tree = nullptr;
  TdxTreeListColumn* A = nullptr;
  TdxTreeListColumn* B = nullptr;
  TCompareHandler* Handler = nullptr;
};

TEST_F(TreeListSortTest, NaturalOrderPutsNineBeforeTenAndLowerABeforeUpperB) {
  for (const char* Text : {"Item10", "B", "Item9", "a", "Item 9"}) Row(Text);
  A->SetSorted(csUp);
  // "Item9" and "Item 9" are equal to the natural order and keep their order.
  EXPECT_EQ(Order(), "a,B,Item9,Item 9,Item10");
  A->SetSorted(csDown);
  EXPECT_EQ(Order(), "Item10,Item9,Item 9,B,a");
  // Back to csNone leaves the order as it is.
  A->SetSorted(csNone);
  EXPECT_EQ(Order(), "Item10,Item9,Item 9,B,a");
  EXPECT_EQ(Tree->SortColumnCount(), 0);
}

TEST_F(TreeListSortTest, TwoSortColumnsEachKeepTheirOwnDirection) {
  Include(aoMultiSort);
  Row("x", "1");
  Row("y", "2");
  Row("x", "3");
  Row("y", "1");
  Row("x", "10");
  A->SetSorted(csUp);
  B->SetSorted(csDown);
  ASSERT_EQ(Tree->SortColumnCount(), 2);
  EXPECT_EQ(Order(), "x/10,x/3,x/1,y/2,y/1");
  A->SetSorted(csDown);
  EXPECT_EQ(Order(), "y/2,y/1,x/10,x/3,x/1");

  // One sort column under multi-sort: the arguments decide, not the column.
  B->SetSorted(csNone);
  Tree->SortNodesByColumn(-1, 1, false);
  EXPECT_EQ(Order(), "y/1,x/1,y/2,x/3,x/10");
}

TEST_F(TreeListSortTest, TheEventComparerOverridesTheLocaleOneAndTheDirections) {
  Include(aoAnsiSort);
  // A single node: neither the event nor its value (one that would raise) is asked.
  Tree->NullValueNode = Row("c", "2");
  Tree->OnCompare = TdxTLCompareEvent::Bind<&TCompareHandler::Compare>(Handler);
  Tree->SortNodesByColumn(-1, 0, false);
  Tree->OnCompare = nullptr;
  Tree->SortNodesByColumn(-1, 0, false);
  EXPECT_EQ(Handler->Calls, 0);
  Tree->NullValueNode = nullptr;

  Row("a", "3");
  Row("b", "1");
  Tree->OnCompare = TdxTLCompareEvent::Bind<&TCompareHandler::Compare>(Handler);
  A->SetSorted(csDown);
  EXPECT_EQ(Order(), "b/1,c/2,a/3");
  EXPECT_GT(Handler->Calls, 0);

  // Without the event the locale comparer sorts by the column, in its direction.
  Tree->OnCompare = nullptr;
  Tree->SortNodesByColumn(-1, 0, true);
  EXPECT_EQ(Order(), "c/2,b/1,a/3");
}

TEST_F(TreeListSortTest, TheLocaleComparerBreaksTiesByTheCompareNodesOperation) {
  Include(aoAnsiSort);
  Tree->TieByDataDescending = true;
  for (int I = 1; I <= 4; ++I) {
    TdxTreeListNode* Node = Row(I % 2 ? "same" : "more", std::to_string(I).c_str());
    Node->SetData(reinterpret_cast<void*>(static_cast<INT_PTR>(I)));
  }
  A->SetSorted(csUp);
  EXPECT_EQ(Order(), "more/4,more/2,same/3,same/1");
}

TEST_F(TreeListSortTest, CompareNodesOrdersAddressesTwoGigabytesApart) {
  auto* Low = reinterpret_cast<TdxTreeListNode*>(static_cast<UINT_PTR>(0x00001000u));
  auto* High = reinterpret_cast<TdxTreeListNode*>(static_cast<UINT_PTR>(0x90001000u));
  Tree->TieByDataDescending = false;
  EXPECT_EQ(Tree->CompareNodes(Low, High), -1);
  EXPECT_EQ(Tree->CompareNodes(High, Low), 1);
  EXPECT_EQ(Tree->CompareNodes(High, High), 0);
}

TEST_F(TreeListSortTest, LevelsSortOnlyTheListsAskedFor) {
  TdxTreeListNode* Z = Row("z");
  TdxTreeListNode* Y = Row("y");
  for (TdxTreeListNode* Parent : {Z, Y}) {
    TdxTreeListNode* Child2 = Row("2", "", Parent);
    Row("1", "", Parent);
    Row("b", "", Child2);
    Row("a", "", Child2);
  }
  Tree->SortNodesByColumn(-2, 0, false);
  EXPECT_EQ(Order(), "z,y");
  EXPECT_EQ(Order(Z), "2,1");

  Tree->SortNodesByColumn(1, 0, false);
  EXPECT_EQ(Order(), "z,y") << "level 1 keeps the top level";
  EXPECT_EQ(Order(Z), "1,2");
  EXPECT_EQ(Order(Y), "1,2");
  EXPECT_EQ(Order(Z->Items(1)), "b,a") << "and the level below";

  Tree->SortNodesByColumn(0, 0, false);
  EXPECT_EQ(Order(), "y,z");
  EXPECT_EQ(Order(Z->Items(1)), "b,a");

  Tree->SortNodesByColumn(-1, 0, true);
  EXPECT_EQ(Order(), "z,y");
  EXPECT_EQ(Order(Z), "2,1");
  EXPECT_EQ(Order(Z->Items(0)), "b,a");
  Tree->SortNodesByColumn(-1, 0, false);
  EXPECT_EQ(Order(Y->Items(1)), "a,b");
}

TEST_F(TreeListSortTest, ARaisingComparerLeavesTheOrderTheCursorAndTheUpdate) {
  Include(aoShowHourGlass);
  for (const char* Number : {"5", "3", "4", "1", "2"}) Row("n", Number);
  Screen->SetCursor(crHandPoint);
  Handler->RaiseAt = 4;
  Tree->OnCompare = TdxTLCompareEvent::Bind<&TCompareHandler::Compare>(Handler);
  ExpectRaises<Exception>([&] { Tree->SortNodesByColumn(-1, 0, false); }, "comparer failed");
  EXPECT_EQ(Handler->SeenCursor, crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  EXPECT_EQ(Order(), "n/5,n/3,n/4,n/1,n/2");
  EXPECT_EQ(Tree->UpdateCount(), 0);

  // A value that cannot be turned into text raises the variant error the same way.
  Tree->OnCompare = nullptr;
  Tree->NullValueNode = Tree->Items(2);
  EXPECT_THROW(Tree->SortNodesByColumn(-1, 1, false), EVariantError);
  EXPECT_EQ(Order(), "n/5,n/3,n/4,n/1,n/2");
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  Tree->NullValueNode = nullptr;
  Tree->SortNodesByColumn(-1, 1, false);
  EXPECT_EQ(Order(), "n/1,n/2,n/3,n/4,n/5");
  Screen->SetCursor(crDefault);
}

TEST_F(TreeListSortTest, FocusAndTopStayOnTheirNodesAndTheRowsFollow) {
  TdxTreeListNode* C = Row("c");
  Row("b");
  TdxTreeListNode* P = Row("a");
  Row("y", "", P);
  TdxTreeListNode* X = Row("x", "", P);
  P->SetExpanded(true);
  Tree->SetFocusedNode(X, 0, false);
  ASSERT_EQ(Tree->GetFocusedRowIndex(), 4);
  A->SetSorted(csUp);
  EXPECT_EQ(Tree->FocusedNode(), X);
  EXPECT_TRUE(Tree->RowIndexValid());
  EXPECT_EQ(Tree->GetNodeAtRow(0), P);
  EXPECT_EQ(Tree->GetFocusedRowIndex(), 1);
  EXPECT_EQ(Tree->GetNodeRowIndex(C), 4);
}

TEST_F(TreeListSortTest, HeaderClicksSortAloneAddWithShiftAndClearWithCtrl) {
  Include(aoAutoSort);
  Include(aoMultiSort);
  Row("b", "1");
  Row("a", "2");
  Row("b", "0");
  Tree->ColumnClick(0);
  EXPECT_EQ(A->Sorted(), csUp);
  EXPECT_EQ(Order(), "a/2,b/1,b/0");
  Tree->ColumnClick(1, /*AddToSort=*/true);
  EXPECT_EQ(Tree->SortColumnCount(), 2);
  EXPECT_EQ(Order(), "a/2,b/0,b/1");
  Tree->ColumnClick(0, true);
  EXPECT_EQ(A->Sorted(), csDown);
  EXPECT_EQ(Order(), "b/0,b/1,a/2");
  // A plain click sorts by that column alone.
  Tree->ColumnClick(1);
  EXPECT_EQ(A->Sorted(), csNone);
  EXPECT_EQ(B->Sorted(), csDown);
  EXPECT_EQ(Order(), "a/2,b/1,b/0");
  // The clear-sort click takes the column out and leaves the order.
  Tree->ColumnClick(1, false, /*ClearSort=*/true);
  EXPECT_EQ(B->Sorted(), csNone);
  EXPECT_EQ(Tree->SortColumnCount(), 0);
  EXPECT_EQ(Order(), "a/2,b/1,b/0");
}

// A sort whose keys (the nodes of a list times the sort columns) no memory holds
// raises the class library's EOutOfMemory, and the order stays.
TEST_F(TreeListSortTest, KeysPastWhatMemoryHoldsRaiseOutOfMemoryAndTheOrderStays) {
  Include(aoMultiSort);
  constexpr int SortColumns = 64;
  A->SetSorted(csDown);
  B->SetSorted(csUp);
  for (int C = 2; C < SortColumns; ++C)
    Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetSorted(csUp);
  const auto Nodes = std::vector<TNodeVariant>().max_size() / SortColumns + 1;
  Tree->BeginUpdate();
  Row("a");
  Row("b");
  for (std::size_t I = 2; I < Nodes; ++I) Tree->Add();
  Tree->EndUpdate();
  ExpectRaises<EOutOfMemory>([&] { Tree->SortNodesByColumn(-1, 0, true); },
                             "Out of memory");
  EXPECT_EQ(Tree->Items(0)->Strings(0), "a");
  EXPECT_EQ(Tree->Items(1)->Strings(0), "b");
}

TEST_F(TreeListSortTest, AutoSortRefreshSortsAtOnceOrOnceAtTheUpdatesEnd) {
  Include(aoAutoSortRefresh);
  Row("b");
  Row("c");
  A->SetSorted(csUp);
  Tree->Sorts = 0;
  Row("a");
  EXPECT_EQ(Order(), "a,b,c");
  EXPECT_GT(Tree->Sorts, 0);
  Tree->Items(0)->SetStrings(0, "d");
  EXPECT_EQ(Order(), "b,c,d");

  Tree->Sorts = 0;
  Tree->BeginUpdate();
  for (const char* Text : {"z", "0", "m"}) Row(Text);
  EXPECT_TRUE(Tree->ResortPending());
  EXPECT_EQ(Tree->Sorts, 0);
  Tree->EndUpdate();
  EXPECT_FALSE(Tree->ResortPending());
  EXPECT_EQ(Tree->Sorts, 1);
  EXPECT_EQ(Order(), "0,b,c,d,m,z");
}

TEST_F(TreeListSortTest, CaseInsensitiveValuesAreEqualSoTheNextColumnDecides) {
  Include(aoMultiSort);
  Include(aoAnsiSort);
  Include(aoCaseInsensitive);
  Row("b", "2");
  Row("B", "1");
  Row("a", "3");
  A->SetSorted(csUp);
  B->SetSorted(csUp);
  EXPECT_EQ(Order(), "a/3,B/1,b/2");
}

TEST_F(TreeListSortTest, OneWalkSortsListsOfNumbersAndOfTextsEachByItsOwnValues) {
  // The walk passes its keys from list to list: a list of numbers between lists of
  // texts, longer lists before shorter ones.
  Tree->NumbersAsValues = true;
  TdxTreeListNode* Second = Row("b");
  for (const char* Text : {"z", "y", "x", "w"}) Row(Text, "", Second);
  TdxTreeListNode* First = Row("a");
  for (const char* Text : {"100", "9", "10"}) Row(Text, "", First);
  TdxTreeListNode* Third = Row("c");
  for (const char* Text : {"2", "1"}) Row(Text, "", Third);
  Tree->SortNodesByColumn(-1, 0, false);
  std::string Order;
  for (TdxTreeListNode* Node = Tree->GetFirstNode(); Node; Node = Node->GetNext())
    Order += std::string(Node->Strings(0).c_str()) + " ";
  EXPECT_EQ(Order, "a 9 10 100 b w x y z c 1 2 ");
}

TEST_F(TreeListSortTest, NumberedTextsSortByTheirNumbersThenByWhatFollows) {
  // Lists where every text shares its start and goes on with a number: the numbers
  // order them, equal numbers leave the rest (and then the next column) to decide.
  // The next list holds a text without digits, which the order of texts decides.
  Include(aoMultiSort);
  TdxTreeListNode* First = Row("first");
  for (const char* Text : {"Item 10 b", "Item 9", "Item 10 a", "Item 010", "Item 0", "Item 10"})
    Row(Text, std::string(Text) == "Item 10" ? "2" : "1", First);
  TdxTreeListNode* Second = Row("second");
  for (const char* Text : {"Item 10", "Item", "Item 9", "Item 09"}) Row(Text, "", Second);
  A->SetSorted(csUp);
  B->SetSorted(csDown);
  EXPECT_EQ(Order(First), "Item 0/1,Item 9/1,Item 10/2,Item 010/1,Item 10 a/1,Item 10 b/1");
  EXPECT_EQ(Order(Second), "Item,Item 9,Item 09,Item 10");
  A->SetSorted(csDown);
  EXPECT_EQ(Order(First), "Item 10 b/1,Item 10 a/1,Item 10/2,Item 010/1,Item 9/1,Item 0/1");
}

TEST_F(TreeListSortTest, AHundredThousandLevelChainSortsEveryLevel) {
  deepstack::RunOnSmallStack([&] {
    constexpr int Depth = 100000;
    Tree->BeginUpdate();
    TdxTreeListNode* Node = Row("top");
    for (int Level = 1; Level < Depth; ++Level) {
      Row("z", "", Node);
      Node = Row("a", "", Node);
    }
    Tree->EndUpdate();
    Tree->SortNodesByColumn(-1, 0, false);
    // Every pair turned round: the chain now runs through the first children.
    TdxTreeListNode* Walk = Tree->Items(0);
    int Levels = 1;
    while (Walk->Count() == 2 && Walk->Items(0)->Strings(0) == "a") {
      Walk = Walk->Items(0);
      ++Levels;
    }
    EXPECT_EQ(Levels, Depth);
    Tree->ClearNodes();
  });
}

// The prepared natural keys answer as the plain comparison of their strings.
TEST(TreeListSortKeysTest, ChainsCompareByTheirKeysInTurn) {
  TNodeKeyChains Chains(2, 2);
  Chains.Key(0, 0).SetValue(Variant("x"));
  Chains.Key(1, 0).SetValue(Variant("x"));
  Chains.Key(0, 1).SetValue(Variant("Item9"));
  Chains.Key(1, 1).SetValue(Variant("Item10"));
  EXPECT_EQ(NaturalSortCompare(Chains.Head(0), Chains.Head(1)), -1);
  Chains.Key(0, 1).Descending = true;
  EXPECT_EQ(NaturalSortCompare(Chains.Head(0), Chains.Head(1)), 1);
  // Texts equal but for case pass on to the next key; here none is left.
  Chains.Key(1, 0).SetValue(Variant("X"));
  Chains.Key(1, 1).SetValue(Variant("Item9"));
  EXPECT_EQ(NaturalSortCompare(Chains.Head(0), Chains.Head(1)), 0);
  // A number beside a text compares as text: "Item" comes after "9", and the key
  // is descending.
  Chains.Key(1, 1).SetValue(Variant(9));
  EXPECT_EQ(NaturalSortCompare(Chains.Head(0), Chains.Head(1)), -1);
  // The locale comparer's later keys: equal values pass on, then the variant order.
  Chains.Key(1, 0).SetValue(Variant("x"));
  Chains.Key(0, 1).SetValue(Variant(3));
  Chains.Key(0, 1).Descending = false;
  EXPECT_EQ(CompareNodeVariantAnsi(Chains.Head(0), Chains.Head(1), true), -1);
  Chains.Key(1, 1).SetValue(Variant(3));
  EXPECT_EQ(CompareNodeVariantAnsi(Chains.Head(0), Chains.Head(1), true), 0);
  // Reset to one key a chain: the first key keeps no link to the old second one.
  Chains.Reset(2, 1);
  EXPECT_EQ(Chains.Count(), 2);
  EXPECT_EQ(Chains.Head(0)->Next, nullptr);
  EXPECT_EQ(Chains.Head(1)->Next, nullptr);
  Chains.Key(0, 0).SetValue(Variant("Item10"));
  Chains.Key(1, 0).SetValue(Variant("Item9"));
  EXPECT_EQ(NaturalSortCompare(Chains.Head(0), Chains.Head(1)), 1);
  EXPECT_EQ(Chains.Key(1, 0).Value().AsString(), "Item9");
}

}  // namespace
