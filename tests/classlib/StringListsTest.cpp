#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "classlib/StringLists.h"
#include "classlib/Streams.h"

namespace {

std::vector<AnsiString> Contents(const TStrings* L) {
  std::vector<AnsiString> Result;
  for (int I = 0; I < L->Count(); ++I) Result.push_back(L->Strings(I));
  return Result;
}

using Lines = std::vector<AnsiString>;

// A fresh list per test, freed at the end.
class TStringListTest : public ::testing::Test {
 protected:
  void TearDown() override { List->Free(); }
  TStringList* List = NewObject<TStringList>();
};

}  // namespace

// ---------------------------------------------------------------------------------
// Index errors and editing

TEST_F(TStringListTest, BadIndexesRaiseStringListErrors) {
  List->Add("a");
  List->Add("b");
  auto ExpectError = [](auto Action, const char* Expected) {
    try {
      Action();
      ADD_FAILURE() << "no error for " << Expected;
    } catch (const EStringListError& E) {
      EXPECT_EQ(E.Message(), Expected);
    }
  };
  ExpectError([&] { List->Get(2); }, "List index out of bounds (2)");
  ExpectError([&] { List->GetObject(-1); }, "List index out of bounds (-1)");
  ExpectError([&] { List->Delete(9); }, "List index out of bounds (9)");
  ExpectError([&] { List->Insert(3, "x"); }, "List index out of bounds (3)");
  ExpectError([&] { List->Put(2, "x"); }, "List index out of bounds (2)");
  ExpectError([&] { List->Exchange(0, 2); }, "List index out of bounds (2)");
  // A string list error is a list error.
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
  EXPECT_EQ(Contents(List), (Lines{"c", "b", "a"}));
  EXPECT_EQ(List->Objects(0), O[2]);
  EXPECT_EQ(List->IndexOfObject(O[1]), 1);
  List->Put(1, "B");
  EXPECT_EQ(List->Objects(1), O[1]);
  EXPECT_EQ(List->IndexOf("b"), 1) << "not case sensitive by default";
  for (TObject* Obj : O) Obj->Free();
}

// ---------------------------------------------------------------------------------
// Sorted lists

TEST_F(TStringListTest, SortedListWithDupIgnoreReturnsTheExistingIndex) {
  List->SetSorted(true);
  EXPECT_EQ(List->Duplicates(), dupIgnore);
  List->Add("pear");
  List->Add("apple");
  List->Add("plum");
  EXPECT_EQ(List->Add("PEAR"), 1);
  EXPECT_EQ(List->Add("apple"), 0);
  EXPECT_EQ(Contents(List), (Lines{"apple", "pear", "plum"}));

  List->SetDuplicates(dupAccept);
  List->Add("Pear");
  EXPECT_EQ(List->Count(), 4);

  List->SetDuplicates(dupError);
  try {
    List->Add("plum");
    FAIL() << "duplicate accepted";
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message(), "String list does not allow duplicates");
  }
  EXPECT_EQ(List->Count(), 4);
}

TEST_F(TStringListTest, FindOnSortedCaseInsensitiveList) {
  List->SetSorted(true);
  for (const char* S : {"delta", "Bravo", "alpha", "Charlie", "echo"}) List->Add(S);
  EXPECT_EQ(Contents(List), (Lines{"alpha", "Bravo", "Charlie", "delta", "echo"}));
  int Index = -1;
  EXPECT_TRUE(List->Find("ALPHA", Index));
  EXPECT_EQ(Index, 0);
  EXPECT_TRUE(List->Find("charlie", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(List->Find("Cobra", Index));
  EXPECT_EQ(Index, 3) << "the insertion place";
  EXPECT_FALSE(List->Find("zulu", Index));
  EXPECT_EQ(Index, 5);
  EXPECT_EQ(List->IndexOf("DELTA"), 3);

  List->SetCaseSensitive(true);
  EXPECT_FALSE(List->Find("ALPHA", Index));
  EXPECT_EQ(List->IndexOf("DELTA"), -1);
  EXPECT_EQ(List->IndexOf("delta"), List->Count() - 2);
}

TEST_F(TStringListTest, SortedListRefusesPositionalEdits) {
  List->Add("b");
  List->Add("a");
  List->SetSorted(true);
  EXPECT_EQ(Contents(List), (Lines{"a", "b"}));
  for (auto Action : {+[](TStringList* L) { L->Insert(0, "c"); },
                      +[](TStringList* L) { L->Put(0, "c"); },
                      +[](TStringList* L) { L->Move(0, 1); }}) {
    try {
      Action(List);
      ADD_FAILURE() << "allowed on a sorted list";
    } catch (const EStringListError& E) {
      EXPECT_EQ(E.Message(), "Operation not allowed on sorted string list");
    }
  }
  EXPECT_EQ(Contents(List), (Lines{"a", "b"}));
}

namespace {
std::uint32_t SortRandomState = 1;
int RandomCompare(TStringList*, int, int) {
  SortRandomState = SortRandomState * 1664525u + 1013904223u;
  return static_cast<int>((SortRandomState >> 8) % 3) - 1;
}
int CompareFirstChar(TStringList* L, int I, int J) { return L->Strings(I)[0] - L->Strings(J)[0]; }
}  // namespace

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

// ---------------------------------------------------------------------------------
// Text, CommaText and DelimitedText

TEST_F(TStringListTest, TextJoinsWithCrLfAndSplitsOnAnyLineBreak) {
  List->SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(Contents(List), (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(List->Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  List->SetText(List->Text());
  EXPECT_EQ(List->Count(), 4) << "the final line break adds no line";

  List->SetText("a\n\nb\r\n\r\n");
  EXPECT_EQ(Contents(List), (Lines{"a", "", "b", ""}));
  List->SetText("");
  EXPECT_EQ(List->Count(), 0);
  List->SetText("\r\n");
  EXPECT_EQ(Contents(List), (Lines{""}));
}

TEST_F(TStringListTest, CommaTextQuotesWhatNeedsIt) {
  for (const char* S : {"plain", "two words", "a,b", "say \"hi\"", "", "tab\there"}) List->Add(S);
  EXPECT_EQ(List->CommaText(),
            "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",\"\",\"tab\there\"");

  TStringList* Copy = NewObject<TStringList>();
  Copy->SetCommaText(List->CommaText());
  EXPECT_EQ(Contents(Copy), Contents(List));
  Copy->Free();
}

TEST_F(TStringListTest, CommaTextReadingSplitsOnBlanksAndCommas) {
  List->SetCommaText("  a , b c,\"d, e\" ,,f,");
  EXPECT_EQ(Contents(List), (Lines{"a", "b", "c", "d, e", "", "f", ""}));
  List->SetCommaText("\"\"");
  EXPECT_EQ(Contents(List), (Lines{""}));
  List->SetCommaText("\"unterminated");
  EXPECT_EQ(Contents(List), (Lines{"unterminated"}));
}

TEST_F(TStringListTest, DelimitedTextUsesDelimiterAndQuoteChar) {
  List->SetDelimiter(';');
  List->SetQuoteChar('\'');
  List->SetDelimitedText("x;'y;z';'it''s'");
  EXPECT_EQ(Contents(List), (Lines{"x", "y;z", "it's"}));
  EXPECT_EQ(List->DelimitedText(), "x;'y;z';'it''s'");
  EXPECT_EQ(List->CommaText(), "x,y;z,it's") << "CommaText keeps its own characters";

  List->SetStrictDelimiter(true);
  List->SetDelimitedText(" a b ;c");
  EXPECT_EQ(Contents(List), (Lines{" a b ", "c"}));
  EXPECT_EQ(List->DelimitedText(), " a b ;c");
}

// ---------------------------------------------------------------------------------
// Names and values

TEST_F(TStringListTest, ValuesSplitAtTheFirstEqualsSign) {
  List->Add("plain line");
  List->SetValue("Key", "a=b");
  EXPECT_EQ(List->Strings(1), "Key=a=b");
  EXPECT_EQ(List->Values("key"), "a=b");
  EXPECT_EQ(List->Names(1), "Key");
  EXPECT_EQ(List->Names(0), "");
  EXPECT_EQ(List->ValueFromIndex(1), "a=b");
  EXPECT_EQ(List->ValueFromIndex(0), "");
  EXPECT_EQ(List->Values("missing"), "");
  EXPECT_EQ(List->IndexOfName("KEY"), 1);

  List->SetValue("KEY", "c");  // replaces in place, under the new spelling
  EXPECT_EQ(Contents(List), (Lines{"plain line", "KEY=c"}));
  List->Add("=no name");
  EXPECT_EQ(List->Values(""), "no name");
  List->SetValue("key", "");
  EXPECT_EQ(Contents(List), (Lines{"plain line", "=no name"}));
}

// ---------------------------------------------------------------------------------
// Change notification

namespace {
class TChangeCounter : public TObject {
 public:
  int Changes = 0, Changings = 0;
  int CountAtChanging = -1;
  void Change(TObject*) { ++Changes; }
  void Changing(TObject* Sender) {
    ++Changings;
    CountAtChanging = static_cast<TStrings*>(Sender)->Count();
  }
};
}  // namespace

class TStringListChangeTest : public TStringListTest {
 protected:
  void SetUp() override {
    List->OnChange = TNotifyEvent::Bind<&TChangeCounter::Change>(&Counter);
    List->OnChanging = TNotifyEvent::Bind<&TChangeCounter::Changing>(&Counter);
  }
  TChangeCounter Counter;
};

TEST_F(TStringListChangeTest, EachChangeIsAnnouncedBeforeAndAfter) {
  List->Add("a");
  EXPECT_EQ(Counter.CountAtChanging, 0) << "OnChanging runs before the change";
  List->Add("b");
  List->Exchange(0, 1);
  List->Delete(0);
  EXPECT_EQ(Counter.Changes, 4);
  EXPECT_EQ(Counter.Changings, 4);
  List->Clear();
  List->Clear();  // nothing to clear: no change
  EXPECT_EQ(Counter.Changes, 5);
}

TEST_F(TStringListChangeTest, UpdateBracketsFireOnceAndOnlyForRealChanges) {
  List->BeginUpdate();
  List->BeginUpdate();
  List->Add("a");
  List->Add("b");
  List->EndUpdate();
  EXPECT_EQ(Counter.Changes, 0);
  List->Add("c");
  EXPECT_EQ(Counter.Changings, 1);
  EXPECT_EQ(Counter.CountAtChanging, 0);
  List->EndUpdate();
  EXPECT_EQ(Counter.Changes, 1);
  EXPECT_EQ(Counter.Changings, 1);

  List->BeginUpdate();
  List->EndUpdate();
  EXPECT_EQ(Counter.Changes, 1) << "an empty batch is no change";

  List->SetText("x\r\ny\r\nz");
  EXPECT_EQ(Counter.Changes, 2);
  List->SetCommaText("p,q");
  EXPECT_EQ(Counter.Changes, 3);
  EXPECT_EQ(Counter.Changings, 3);
}

// ---------------------------------------------------------------------------------
// Ownership and assignment

namespace {
int Destroyed = 0;
class TCounted : public TObject {
 public:
  ~TCounted() override { ++Destroyed; }
};
}  // namespace

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

  TCounted* Kept = NewObject<TCounted>();
  TStringList* NotOwning = NewObject<TStringList>();
  NotOwning->AddObject("k", Kept);
  NotOwning->Delete(0);
  NotOwning->AddObject("k", Kept);
  NotOwning->Free();
  EXPECT_EQ(Destroyed, 6);
  Kept->Free();
}

TEST_F(TStringListTest, AssignCopiesStringsAndObjects) {
  TObject* Obj = NewObject<TObject>();
  TStringList* Source = NewObject<TStringList>();
  Source->AddObject("one", Obj);
  Source->Add("two");
  Source->SetDelimiter(';');
  List->Add("old");
  List->Assign(Source);
  EXPECT_TRUE(List->Equals(Source));
  EXPECT_EQ(List->Objects(0), Obj);
  EXPECT_EQ(List->Delimiter(), ';');
  Source->Put(1, "TWO");
  EXPECT_FALSE(List->Equals(Source)) << "Equals compares exactly";

  EXPECT_THROW(List->Assign(nullptr), EConvertError);
  Source->Free();
  Obj->Free();
}

// ---------------------------------------------------------------------------------
// Files and streams

namespace {

AnsiString TempFileName(const char* Name) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  return AnsiString(Dir) + "StringListsTest_" + std::to_string(GetCurrentProcessId()) + "_" + Name;
}

void WriteRaw(const AnsiString& FileName, const AnsiString& Bytes) {
  TFileStream* F = NewObject<TFileStream>(FileName, fmCreate);
  F->WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
  F->Free();
}

AnsiString ReadRaw(const AnsiString& FileName) {
  TStringStream* S = NewObject<TStringStream>();
  TFileStream* F = NewObject<TFileStream>(FileName, fmOpenRead);
  S->CopyFrom(F, 0);
  F->Free();
  AnsiString Result = S->DataString();
  S->Free();
  return Result;
}

}  // namespace

TEST_F(TStringListTest, LoadFromFileReadsLfAndCrLfLines) {
  AnsiString Lf = TempFileName("lf.txt"), CrLf = TempFileName("crlf.txt");
  WriteRaw(Lf, "first\nsecond line\n\nlast");
  WriteRaw(CrLf, "first\r\nsecond line\r\n\r\nlast\r\n");
  List->LoadFromFile(Lf);
  EXPECT_EQ(Contents(List), (Lines{"first", "second line", "", "last"}));
  List->Clear();
  List->LoadFromFile(CrLf);
  EXPECT_EQ(Contents(List), (Lines{"first", "second line", "", "last"}));

  List->SaveToFile(Lf);
  EXPECT_EQ(ReadRaw(Lf), "first\r\nsecond line\r\n\r\nlast\r\n");
  DeleteFileA(Lf.c_str());
  DeleteFileA(CrLf.c_str());

  EXPECT_THROW(List->LoadFromFile(Lf), EFOpenError);
}

TEST_F(TStringListTest, LoadFromStreamReadsFromThePosition) {
  TStringStream* S = NewObject<TStringStream>("skip|a\nb");
  S->Seek(5, soBeginning);
  List->LoadFromStream(S);
  EXPECT_EQ(Contents(List), (Lines{"a", "b"}));
  TMemoryStream* M = NewObject<TMemoryStream>();
  List->SaveToStream(M);
  EXPECT_EQ(M->Size(), 6);
  EXPECT_EQ(AnsiString(static_cast<const char*>(M->Memory()), 6), "a\r\nb\r\n");
  M->Free();
  S->Free();
}
