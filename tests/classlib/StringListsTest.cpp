#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/StringLists.h"
#include "classlib/Streams.h"
#include "tests/classlib/UiTestSupport.h"

namespace {

using Lines = std::vector<AnsiString>;

Lines Contents(const TStrings* L) {
  Lines Result;
  for (int I = 0; I < L->Count(); ++I) Result.push_back(L->Strings(I));
  return Result;
}

class TStringListTest : public ::testing::Test {
 protected:
  void TearDown() override { List->Free(); }
  TStringList* List = NewObject<TStringList>();
};

TEST_F(TStringListTest, BadIndexesRaiseStringListErrors) {
  List->Add("a");
  List->Add("b");
  ExpectRaises<EStringListError>([&] { List->Get(2); }, "List index out of bounds (2)");
  ExpectRaises<EStringListError>([&] { List->GetObject(-1); }, "List index out of bounds (-1)");
  ExpectRaises<EStringListError>([&] { List->Delete(9); }, "List index out of bounds (9)");
  ExpectRaises<EStringListError>([&] { List->Insert(3, "x"); }, "List index out of bounds (3)");
  ExpectRaises<EStringListError>([&] { List->Exchange(0, 2); }, "List index out of bounds (2)");
  EXPECT_THROW(List->Get(5), EListError);
  EXPECT_EQ(Contents(List), (Lines{"a", "b"}));
}

TEST_F(TStringListTest, InsertMoveExchangeKeepObjectsWithTheirStrings) {
  TObject* O[3] = {NewObject<TObject>(), NewObject<TObject>(), NewObject<TObject>()};
  List->AddObject("a", O[0]);
  List->AddObject("c", O[2]);
  List->InsertObject(1, "b", O[1]);
  List->Move(0, 2);
  EXPECT_EQ(Contents(List), (Lines{"b", "c", "a"}));
  EXPECT_EQ(List->Objects(2), O[0]);
  List->Exchange(0, 1);
  EXPECT_EQ(List->Objects(0), O[2]);
  EXPECT_EQ(List->IndexOf("B"), 1) << "not case sensitive by default";
  for (TObject* Obj : O) Obj->Free();
}

TEST_F(TStringListTest, SortedListsIgnoreOrRefuseDuplicatesAndFindCaseInsensitively) {
  List->SetSorted(true);
  for (const char* S : {"pear", "apple", "plum"}) List->Add(S);
  EXPECT_EQ(List->Add("PEAR"), 1);
  EXPECT_EQ(List->Add("apple"), 0);
  EXPECT_EQ(Contents(List), (Lines{"apple", "pear", "plum"}));
  List->SetDuplicates(dupAccept);
  List->Add("Pear");
  EXPECT_EQ(List->Count(), 4);
  List->SetDuplicates(dupError);
  ExpectRaises<EStringListError>([&] { List->Add("plum"); },
                                 "String list does not allow duplicates");
  EXPECT_EQ(List->Count(), 4);
  const char* NotOnSorted = "Operation not allowed on sorted string list";
  ExpectRaises<EStringListError>([&] { List->Insert(0, "c"); }, NotOnSorted);
  ExpectRaises<EStringListError>([&] { List->Move(0, 1); }, NotOnSorted);

  // Find on a sorted, case-insensitive list.
  List->Clear();
  List->SetDuplicates(dupIgnore);
  for (const char* S : {"delta", "Bravo", "alpha", "Charlie", "echo"}) List->Add(S);
  int Index = -1;
  EXPECT_TRUE(List->Find("charlie", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(List->Find("Cobra", Index));
  EXPECT_EQ(Index, 3) << "the insertion place";
  List->SetCaseSensitive(true);
  EXPECT_FALSE(List->Find("ALPHA", Index));
  EXPECT_EQ(List->IndexOf("delta"), 3);
}

std::uint32_t SortRandomState = 1;
int RandomCompare(TStringList*, int, int) {
  SortRandomState = SortRandomState * 1664525u + 1013904223u;
  return static_cast<int>((SortRandomState >> 8) % 3) - 1;
}
int CompareFirstChar(TStringList* L, int I, int J) { return L->Strings(I)[0] - L->Strings(J)[0]; }

TEST_F(TStringListTest, CustomSortIsStableAndSurvivesARandomComparer) {
  for (const char* S : {"b1", "a1", "b2", "a2", "c1", "b3", "a3"}) List->Add(S);
  List->CustomSort(CompareFirstChar);
  EXPECT_EQ(Contents(List), (Lines{"a1", "a2", "a3", "b1", "b2", "b3", "c1"}));

  List->Clear();
  for (int I = 0; I < 1000; ++I) List->Add(std::to_string(I));
  List->CustomSort(RandomCompare);
  ASSERT_EQ(List->Count(), 1000);
  std::vector<bool> Seen(1000);
  for (int I = 0; I < 1000; ++I) {
    int N = std::stoi(List->Strings(I));
    ASSERT_FALSE(Seen[N]) << N << " twice";
    Seen[N] = true;
  }
}

TEST_F(TStringListTest, TextJoinsWithCrLfAndSplitsOnAnyLineBreak) {
  List->SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(Contents(List), (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(List->Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  List->SetText("a\n\nb\r\n\r\n");
  EXPECT_EQ(Contents(List), (Lines{"a", "", "b", ""}));
  List->SetText("\r\n");
  EXPECT_EQ(Contents(List), (Lines{""}));
}

TEST_F(TStringListTest, CommaAndDelimitedText) {
  for (const char* S : {"plain", "two words", "a,b", "say \"hi\"", ""}) List->Add(S);
  EXPECT_EQ(List->CommaText(), "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",\"\"");
  List->SetCommaText("  a , b c,\"d, e\" ,,f,");
  EXPECT_EQ(Contents(List), (Lines{"a", "b", "c", "d, e", "", "f", ""}));

  List->SetDelimiter(';');
  List->SetQuoteChar('\'');
  List->SetDelimitedText("x;'y;z';'it''s'");
  EXPECT_EQ(Contents(List), (Lines{"x", "y;z", "it's"}));
  EXPECT_EQ(List->DelimitedText(), "x;'y;z';'it''s'");
  EXPECT_EQ(List->CommaText(), "x,y;z,it's") << "CommaText keeps its own characters";
}

TEST_F(TStringListTest, ValuesSplitAtTheFirstEqualsSign) {
  List->Add("plain line");
  List->SetValue("Key", "a=b");
  EXPECT_EQ(List->Values("key"), "a=b");
  EXPECT_EQ(List->Names(1), "Key");
  EXPECT_EQ(List->Names(0), "");
  List->SetValue("KEY", "c");  // replaces in place, under the new spelling
  EXPECT_EQ(Contents(List), (Lines{"plain line", "KEY=c"}));
  List->SetValue("key", "");
  EXPECT_EQ(Contents(List), (Lines{"plain line"}));
}

struct TChangeCounter {
  int Changes = 0, Changings = 0, CountAtChanging = -1;
  void Change(TObject*) { ++Changes; }
  void Changing(TObject* Sender) {
    ++Changings;
    CountAtChanging = static_cast<TStrings*>(Sender)->Count();
  }
};

TEST_F(TStringListTest, ChangesAreAnnouncedOncePerUpdateAndOnlyWhenReal) {
  TChangeCounter C;
  List->OnChange = TNotifyEvent::Bind<&TChangeCounter::Change>(&C);
  List->OnChanging = TNotifyEvent::Bind<&TChangeCounter::Changing>(&C);
  List->Add("a");
  EXPECT_EQ(C.CountAtChanging, 0) << "OnChanging runs before the change";
  List->Add("b");
  List->Clear();
  List->Clear();  // nothing to clear: no change
  EXPECT_EQ(C.Changes, 3);

  List->BeginUpdate();
  List->BeginUpdate();
  List->Add("a");
  List->Add("b");
  List->EndUpdate();
  EXPECT_EQ(C.Changes, 3);
  List->EndUpdate();
  EXPECT_EQ(C.Changes, 4);
  EXPECT_EQ(C.Changings, 4);
  List->BeginUpdate();
  List->EndUpdate();
  List->SetText("x\r\ny\r\nz");
  EXPECT_EQ(C.Changes, 5) << "an empty batch is no change, SetText one";
}

int Destroyed = 0;
struct TCounted : TObject {
  ~TCounted() override { ++Destroyed; }
};

TEST(StringListOwnershipTest, OwnsObjectsFreesOnDeleteClearAndFree) {
  Destroyed = 0;
  TStringList* L = NewObject<TStringList>(true);
  for (int I = 0; I < 5; ++I) L->AddObject("s", NewObject<TCounted>());
  L->Delete(0);
  EXPECT_EQ(Destroyed, 1);
  L->Move(0, 2);
  L->Exchange(0, 1);
  EXPECT_EQ(Destroyed, 1) << "reordering frees nothing";
  L->Clear();
  EXPECT_EQ(Destroyed, 5);
  L->AddObject("t", NewObject<TCounted>());
  L->Free();
  EXPECT_EQ(Destroyed, 6);

  TCounted Kept;
  TStringList* NotOwning = NewObject<TStringList>();
  NotOwning->AddObject("k", &Kept);
  NotOwning->Delete(0);
  NotOwning->AddObject("k", &Kept);
  NotOwning->Free();
  EXPECT_EQ(Destroyed, 6);
}

TEST_F(TStringListTest, AssignCopiesStringsAndObjects) {
  TOwned<TObject> Obj(NewObject<TObject>());
  TOwned<TStringList> Source(NewObject<TStringList>());
  Source->AddObject("one", Obj.get());
  Source->SetDelimiter(';');
  List->Add("old");
  List->Assign(Source.get());
  EXPECT_TRUE(List->Equals(Source.get()));
  EXPECT_EQ(List->Objects(0), Obj.get());
  EXPECT_EQ(List->Delimiter(), ';');
  EXPECT_THROW(List->Assign(nullptr), EConvertError);
}

TEST_F(TStringListTest, LoadsLfAndCrLfLinesAndSavesCrLf) {
  const AnsiString Name = uitest::TempPath("StringListsTest");
  for (const char* Raw : {"first\nsecond line\n\nlast", "first\r\nsecond line\r\n\r\nlast\r\n"}) {
    TOwned<TFileStream>(NewObject<TFileStream>(Name, fmCreate))->WriteBuffer(Raw, std::strlen(Raw));
    List->LoadFromFile(Name);
    EXPECT_EQ(Contents(List), (Lines{"first", "second line", "", "last"}));
  }
  List->SaveToFile(Name);
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  M->LoadFromFile(Name);
  EXPECT_EQ(AnsiString(static_cast<const char*>(M->Memory()), M->Size()),
            "first\r\nsecond line\r\n\r\nlast\r\n");
  DeleteFileA(Name.c_str());
  EXPECT_THROW(List->LoadFromFile(Name), EFOpenError);

  TOwned<TStringStream> S(NewObject<TStringStream>("skip|a\nb"));
  S->Seek(5, soBeginning);
  List->LoadFromStream(S.get());
  EXPECT_EQ(Contents(List), (Lines{"a", "b"}));
}

}  // namespace
