#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"

namespace {

using Lines = std::vector<AnsiString>;

Lines Items(TStrings* List, bool Sorted = false) {
  Lines Result;
  for (int I = 0; I < List->Count(); ++I) Result.push_back(List->Strings(I));
  if (Sorted) std::stable_sort(Result.begin(), Result.end());
  return Result;
}

AnsiString UniqueName(const char* Prefix) {
  static int Serial = 0;
  return Prefix + IntToStr(GetCurrentProcessId()) + "_" + IntToStr(GetTickCount()) + "_" +
         IntToStr(++Serial);
}

// Files go to a folder of the test's own, registry keys below
// HKCU\Software\TarvikTests; both are removed after each test.
class IniFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Temp[MAX_PATH];
    GetTempPathA(MAX_PATH, Temp);
    Dir = IncludeTrailingPathDelimiter(Temp) + UniqueName("ini");
    ASSERT_TRUE(ForceDirectories(Dir));
    KeyPath = "Software\\TarvikTests\\" + UniqueName("RegIni");
    List = NewObject<TStringList>();
  }
  void TearDown() override {
    FreeAndNil(List);
    TSearchRec F;
    if (FindFirst(Dir + "\\*", 0, F) == 0) {
      do DeleteFileName(Dir + "\\" + F.Name);
      while (FindNext(F) == 0);
      FindClose(F);
    }
    RemoveDir(Dir);
    if (!KeyPath.empty())  // empty when SetUp stopped early: never the root of the hive
      TOwned<TRegistry>(NewObject<TRegistry>())->DeleteKey("\\" + KeyPath);
  }

  AnsiString Path(const char* Name) const { return Dir + "\\" + Name; }

  static void SetFileText(const AnsiString& FileName, const AnsiString& Text) {
    TOwned<TStringList> L(NewObject<TStringList>());
    L->SetText(Text);
    L->SaveToFile(FileName);
  }

  AnsiString Dir;
  AnsiString KeyPath;
  TStringList* List = nullptr;
};

// Writes in the order a settings writer does: erase the section, then the keys.
void WriteSample(TCustomIniFile* Ini) {
  Ini->WriteString("Main", "Stale", "x");
  Ini->EraseSection("Main");
  Ini->WriteString("Main", "Name", "first value");
  Ini->WriteInteger("Main", "Count", -42);
  Ini->WriteBool("Main", "On", true);
  Ini->WriteBool("Main", "Off", false);
  Ini->WriteFloat("Main", "Ratio", 2.5);
  Ini->WriteString("Other", "Key", "v");
  Ini->UpdateFile();
}

void CheckSample(TCustomIniFile* Ini, TStringList* List) {
  EXPECT_EQ(Ini->ReadString("Main", "Name", "?"), "first value");
  EXPECT_EQ(Ini->ReadString("Main", "Stale", "gone"), "gone");
  EXPECT_EQ(Ini->ReadString("Main", "Missing", "dflt"), "dflt");
  EXPECT_EQ(Ini->ReadInteger("Main", "Count", 0), -42);
  EXPECT_EQ(Ini->ReadInteger("Main", "Name", 7), 7);  // not a number
  EXPECT_TRUE(Ini->ReadBool("Main", "On", false));
  EXPECT_FALSE(Ini->ReadBool("Main", "Off", true));
  EXPECT_EQ(Ini->ReadFloat("Main", "Ratio", 0), 2.5);
  EXPECT_FALSE(Ini->SectionExists("Nowhere"));
  EXPECT_FALSE(Ini->ValueExists("Main", "Stale"));
  Ini->ReadSection("Main", List);
  EXPECT_EQ(Items(List, true), (Lines{"Count", "Name", "Off", "On", "Ratio"}));
  Ini->ReadSections(List);
  EXPECT_EQ(Items(List, true), (Lines{"Main", "Other"}));
  Ini->ReadSectionValues("Other", List);
  EXPECT_EQ(Items(List), (Lines{"Key=v"}));
  Ini->DeleteKey("Main", "Name");
  EXPECT_FALSE(Ini->ValueExists("Main", "Name"));
  Ini->EraseSection("Other");
  EXPECT_FALSE(Ini->SectionExists("Other"));
}

TEST_F(IniFilesTest, EveryStoreRoundTrips) {
  std::function<TCustomIniFile*()> Makers[] = {
      [&] { return NewObject<TIniFile>(Path("a.ini")); },
      [&] { return NewObject<TMemIniFile>(Path("m.ini")); },
      [&] { return NewObject<TRegIniFile>(KeyPath); }};
  for (auto& Make : Makers) {
    WriteSample(TOwned<TCustomIniFile>(Make()).get());
    CheckSample(TOwned<TCustomIniFile>(Make()).get(), List);
  }
}

TEST_F(IniFilesTest, IniFileListsSectionsInFileOrderAndReadsLongText) {
  // More names than fit in the first list buffer, a value longer than the first value
  // buffer, and hexadecimal integers.
  AnsiString Text = "[Many]\r\n";
  for (int I = 0; I < 800; ++I) Text += "Key" + IntToStr(I) + "=x\r\n";
  SetFileText(Path("order.ini"), Text);
  TIniFile* Ini = NewObject<TIniFile>(Path("order.ini"));
  for (const char* Name : {"Zulu", "alpha", "Mike"}) Ini->WriteString(Name, "k", "v");
  AnsiString Long = StringOfChar('q', 5000);
  Ini->WriteString("Zulu", "Long", Long);
  Ini->WriteString("Mike", "Hex", "$1F");
  Ini->WriteString("Mike", "Float", "1.5");

  Ini->ReadSections(List);
  EXPECT_EQ(Items(List), (Lines{"Many", "Zulu", "alpha", "Mike"}));
  Ini->ReadSection("Many", List);
  ASSERT_EQ(List->Count(), 800);
  EXPECT_EQ(List->Strings(799), "Key799");
  EXPECT_EQ(Ini->ReadString("Zulu", "Long", ""), Long);
  EXPECT_EQ(Ini->ReadString("ZULU", "K", ""), "v");
  EXPECT_EQ(Ini->ReadInteger("Mike", "Hex", 0), 31);
  EXPECT_EQ(Ini->ReadInteger("Mike", "Float", -1), -1);
  Ini->Free();
}

TEST_F(IniFilesTest, MemIniFileWritesSectionsInOrder) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(Path("w.ini")));
  Ini->WriteString("B", "x", "1");
  Ini->WriteString("A", "y", "2");
  Ini->WriteString("B", "z", "3");
  Ini->WriteString("b", "X", "4");  // replaces x in place
  Ini->UpdateFile();
  List->LoadFromFile(Path("w.ini"));
  EXPECT_EQ(Items(List), (Lines{"[B]", "X=4", "z=3", "", "[A]", "y=2", ""}));
}

TEST_F(IniFilesTest, MemIniFileReadsTextAsTheSystemWritesIt) {
  SetFileText(Path("r.ini"),
              "; comment\r\n"
              "orphan=1\r\n"
              "[ First ]\r\n"
              "  Url = a=b=c \r\n"
              "; inside\r\n"
              "\r\n"
              "bare line\r\n"
              "[Second]\r\n"
              "k=\r\n"
              "[first]\r\n"
              "more=2\r\n");
  TMemIniFile* Ini = NewObject<TMemIniFile>(Path("r.ini"));
  Ini->ReadSections(List);
  EXPECT_EQ(Items(List), (Lines{"First", "Second"}));
  EXPECT_EQ(Ini->ReadString("FIRST", "URL", ""), "a=b=c");
  EXPECT_EQ(Ini->ReadString("first", "more", ""), "2");  // a repeated section joins
  EXPECT_EQ(Ini->ReadString("Second", "k", "dflt"), "");
  EXPECT_EQ(Ini->ReadString("", "orphan", "none"), "none");
  Ini->ReadSectionValues("First", List);
  EXPECT_EQ(Items(List), (Lines{"Url=a=b=c", "bare line", "more=2"}));

  Ini->Free();
}

TEST_F(IniFilesTest, MemIniFileMissingFileAndRename) {
  TMemIniFile* Ini = NewObject<TMemIniFile>(Path("none.ini"));
  Ini->ReadSections(List);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_FALSE(FileExists(Path("none.ini")));  // reading does not make the file

  SetFileText(Path("other.ini"), "[S]\r\nk=v\r\n");
  Ini->WriteString("Mine", "a", "1");
  Ini->Rename(Path("other.ini"), false);
  EXPECT_EQ(Ini->ReadString("Mine", "a", ""), "1");
  Ini->Rename(Path("other.ini"), true);
  EXPECT_EQ(Ini->ReadString("Mine", "a", "gone"), "gone");
  EXPECT_EQ(Ini->ReadString("S", "k", ""), "v");
  Ini->Free();
}

TEST_F(IniFilesTest, RegIniFileSectionsAreSubkeys) {
  TRegIniFile* Ini = NewObject<TRegIniFile>(KeyPath);
  Ini->WriteString("Sec\\Inner", "v", "1");
  Ini->WriteString("Sec", "w", "2");
  Ini->WriteString("\\" + KeyPath + "\\Rooted", "r", "3");

  TRegistry* Reg = NewObject<TRegistry>();
  ASSERT_TRUE(Reg->OpenKey(KeyPath + "\\Sec\\Inner", false));
  EXPECT_EQ(Reg->ReadString("v"), "1");
  ASSERT_TRUE(Reg->OpenKey("\\" + KeyPath + "\\Rooted", false));
  EXPECT_EQ(Reg->ReadString("r"), "3");
  Reg->WriteInteger("dw", 77);  // integers written through the registry read back too
  Reg->Free();
  EXPECT_EQ(Ini->ReadString("Rooted", "dw", ""), "77");
  EXPECT_EQ(Ini->ReadString("\\" + KeyPath + "\\Sec", "w", ""), "2");
  Ini->ReadSections(List);
  EXPECT_EQ(Items(List, true), (Lines{"Rooted", "Sec"}));
  Ini->EraseSection("Sec");
  EXPECT_FALSE(Ini->KeyExists("Sec"));
  EXPECT_TRUE(Ini->KeyExists("Rooted"));
  Ini->Free();
}

TEST_F(IniFilesTest, RegIniFileOnTheRootTakesRootedSections) {
  // As a layout reader does: the object on the root, every section a full path.
  TRegIniFile* Ini = NewObject<TRegIniFile>("");
  EXPECT_FALSE(Ini->OpenKey("\\" + KeyPath, false));
  Ini->WriteInteger("\\" + KeyPath + "\\Band\\Band0", "Width", 120);
  ASSERT_TRUE(Ini->OpenKey("\\" + KeyPath, false));
  Ini->CloseKey();
  EXPECT_EQ(Ini->ReadInteger("\\" + KeyPath + "\\Band\\Band0", "Width", 0), 120);
  EXPECT_EQ(Ini->ReadInteger(KeyPath + "\\Band\\Band0", "Width", 0), 120);
  EXPECT_EQ(Ini->ReadInteger("\\" + KeyPath + "\\Band\\Band1", "Width", -1), -1);
  Ini->Free();
}

}  // namespace
