#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"

namespace {

std::vector<AnsiString> Items(TStrings* List) {
  std::vector<AnsiString> Result;
  for (int I = 0; I < List->Count(); ++I) Result.push_back(List->Strings(I));
  return Result;
}

using Lines = std::vector<AnsiString>;

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
    TRegistry* Cleaner = NewObject<TRegistry>();
    Cleaner->DeleteKey("\\" + KeyPath);
    Cleaner->Free();
  }

  AnsiString Path(const char* Name) const { return Dir + "\\" + Name; }

  static AnsiString FileText(const AnsiString& FileName) {
    TStringList* L = NewObject<TStringList>();
    L->LoadFromFile(FileName);
    AnsiString Text = L->Text();
    L->Free();
    return Text;
  }
  static void SetFileText(const AnsiString& FileName, const AnsiString& Text) {
    TStringList* L = NewObject<TStringList>();
    L->SetText(Text);
    L->SaveToFile(FileName);
    L->Free();
  }

  AnsiString Dir;
  AnsiString KeyPath;
  TStringList* List = nullptr;
};

// ---- Behaviour every store shares, reached through the common interface ----

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
  EXPECT_EQ(Ini->ReadString("Nowhere", "Name", ""), "");
  EXPECT_EQ(Ini->ReadInteger("Main", "Count", 0), -42);
  EXPECT_EQ(Ini->ReadInteger("Main", "Name", 7), 7);  // not a number
  EXPECT_TRUE(Ini->ReadBool("Main", "On", false));
  EXPECT_FALSE(Ini->ReadBool("Main", "Off", true));
  EXPECT_TRUE(Ini->ReadBool("Main", "Missing", true));
  EXPECT_EQ(Ini->ReadFloat("Main", "Ratio", 0), 2.5);
  EXPECT_TRUE(Ini->SectionExists("Main"));
  EXPECT_FALSE(Ini->SectionExists("Nowhere"));
  EXPECT_TRUE(Ini->ValueExists("Main", "Count"));
  EXPECT_FALSE(Ini->ValueExists("Main", "Stale"));
  Ini->ReadSection("Main", List);
  Lines Keys = Items(List);
  std::stable_sort(Keys.begin(), Keys.end());
  EXPECT_EQ(Keys, (Lines{"Count", "Name", "Off", "On", "Ratio"}));
  Ini->ReadSections(List);
  Lines Sections = Items(List);
  std::stable_sort(Sections.begin(), Sections.end());
  EXPECT_EQ(Sections, (Lines{"Main", "Other"}));
  Ini->ReadSectionValues("Other", List);
  EXPECT_EQ(Items(List), (Lines{"Key=v"}));
}

TEST_F(IniFilesTest, IniFileRoundTrip) {
  TCustomIniFile* Ini = NewObject<TIniFile>(Path("a.ini"));
  WriteSample(Ini);
  Ini->Free();
  Ini = NewObject<TIniFile>(Path("a.ini"));
  CheckSample(Ini, List);
  Ini->DeleteKey("Main", "Name");
  EXPECT_FALSE(Ini->ValueExists("Main", "Name"));
  Ini->EraseSection("Other");
  EXPECT_FALSE(Ini->SectionExists("Other"));
  Ini->Free();
}

TEST_F(IniFilesTest, MemIniFileRoundTrip) {
  TCustomIniFile* Ini = NewObject<TMemIniFile>(Path("m.ini"));
  WriteSample(Ini);
  Ini->Free();
  Ini = NewObject<TMemIniFile>(Path("m.ini"));
  CheckSample(Ini, List);
  Ini->Free();
}

TEST_F(IniFilesTest, RegIniFileRoundTrip) {
  TCustomIniFile* Ini = NewObject<TRegIniFile>(KeyPath);
  WriteSample(Ini);
  Ini->Free();
  Ini = NewObject<TRegIniFile>(KeyPath);
  CheckSample(Ini, List);
  Ini->Free();
}

// ---- TIniFile ----

TEST_F(IniFilesTest, IniFileListsSectionsInFileOrderAndReadsLongText) {
  // More names than fit in the first list buffer, and a value longer than the first
  // value buffer.
  AnsiString Text = "[Many]\r\n";
  for (int I = 0; I < 800; ++I) Text += "Key" + IntToStr(I) + "=x\r\n";
  SetFileText(Path("order.ini"), Text);
  TIniFile* Ini = NewObject<TIniFile>(Path("order.ini"));
  for (const char* Name : {"Zulu", "alpha", "Mike"}) Ini->WriteString(Name, "k", "v");
  AnsiString Long = StringOfChar('q', 5000);
  Ini->WriteString("Zulu", "Long", Long);
  Ini->UpdateFile();

  Ini->ReadSections(List);
  EXPECT_EQ(Items(List), (Lines{"Many", "Zulu", "alpha", "Mike"}));
  Ini->ReadSection("Many", List);
  ASSERT_EQ(List->Count(), 800);
  EXPECT_EQ(List->Strings(799), "Key799");
  EXPECT_EQ(Ini->ReadString("Zulu", "Long", ""), Long);
  EXPECT_EQ(Ini->ReadString("ZULU", "K", ""), "v");
  Ini->Free();
}

TEST_F(IniFilesTest, IniFileReadsHexIntegers) {
  SetFileText(Path("hex.ini"), "[N]\r\nA=$1F\r\nB=0x10\r\nC= 12 \r\nD=1.5\r\n");
  TIniFile* Ini = NewObject<TIniFile>(Path("hex.ini"));
  EXPECT_EQ(Ini->ReadInteger("N", "A", 0), 31);
  EXPECT_EQ(Ini->ReadInteger("N", "B", 0), 16);
  EXPECT_EQ(Ini->ReadInteger("N", "C", 0), 12);
  EXPECT_EQ(Ini->ReadInteger("N", "D", -1), -1);
  Ini->Free();
}

// ---- TMemIniFile ----

TEST_F(IniFilesTest, MemIniFileWritesSectionsInOrder) {
  TMemIniFile* Ini = NewObject<TMemIniFile>(Path("w.ini"));
  Ini->WriteString("B", "x", "1");
  Ini->WriteString("A", "y", "2");
  Ini->WriteString("B", "z", "3");
  Ini->WriteString("b", "X", "4");  // replaces x in place
  Ini->UpdateFile();
  EXPECT_EQ(FileText(Path("w.ini")), "[B]\r\nX=4\r\nz=3\r\n\r\n[A]\r\ny=2\r\n\r\n");
  Ini->GetStrings(List);
  EXPECT_EQ(Items(List), (Lines{"[B]", "X=4", "z=3", "", "[A]", "y=2", ""}));
  Ini->Free();
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
  Ini->ReadSection("First", List);
  EXPECT_EQ(Items(List), (Lines{"Url", "more"}));
  Ini->ReadSectionValues("First", List);
  EXPECT_EQ(Items(List), (Lines{"Url=a=b=c", "bare line", "more=2"}));

  Ini->WriteString("Second", "eq", "x=y");
  Ini->UpdateFile();
  Ini->Free();
  Ini = NewObject<TMemIniFile>(Path("r.ini"));
  EXPECT_EQ(Ini->ReadString("Second", "eq", ""), "x=y");
  EXPECT_EQ(Ini->ReadString("First", "Url", ""), "a=b=c");
  Ini->Free();
}

TEST_F(IniFilesTest, MemIniFileMissingFileClearAndRename) {
  TMemIniFile* Ini = NewObject<TMemIniFile>(Path("none.ini"));
  Ini->ReadSections(List);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_FALSE(FileExists(Path("none.ini")));  // reading does not make the file

  SetFileText(Path("other.ini"), "[S]\r\nk=v\r\n");
  Ini->WriteString("Mine", "a", "1");
  Ini->Rename(Path("other.ini"), false);
  EXPECT_EQ(Ini->FileName(), Path("other.ini"));
  EXPECT_EQ(Ini->ReadString("Mine", "a", ""), "1");
  Ini->Rename(Path("other.ini"), true);
  EXPECT_EQ(Ini->ReadString("Mine", "a", "gone"), "gone");
  EXPECT_EQ(Ini->ReadString("S", "k", ""), "v");

  Ini->EraseSection("s");
  EXPECT_FALSE(Ini->SectionExists("S"));
  List->SetText("[X]\r\ny=1\r\n");
  Ini->SetStrings(List);
  EXPECT_EQ(Ini->ReadString("X", "y", ""), "1");
  Ini->Clear();
  Ini->ReadSections(List);
  EXPECT_EQ(List->Count(), 0);
  Ini->Free();
}

// ---- TRegIniFile ----

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
  // Integers written through the registry itself read back too.
  Reg->WriteInteger("dw", 77);
  Reg->Free();

  EXPECT_EQ(Ini->ReadInteger("Rooted", "dw", 0), 77);
  EXPECT_EQ(Ini->ReadString("Rooted", "dw", ""), "77");
  EXPECT_EQ(Ini->ReadString("\\" + KeyPath + "\\Sec", "w", ""), "2");
  Ini->ReadSections(List);
  Lines Sections = Items(List);
  std::stable_sort(Sections.begin(), Sections.end());
  EXPECT_EQ(Sections, (Lines{"Rooted", "Sec"}));
  Ini->ReadSection("Sec", List);
  EXPECT_EQ(Items(List), (Lines{"w"}));

  Ini->DeleteKey("Sec", "w");
  EXPECT_FALSE(Ini->ValueExists("Sec", "w"));
  Ini->EraseSection("Sec");
  EXPECT_FALSE(Ini->KeyExists("Sec"));
  EXPECT_TRUE(Ini->KeyExists("Rooted"));
  Ini->Free();
}

TEST_F(IniFilesTest, RegIniFileOnTheRootTakesRootedSections) {
  // As a layout reader does: the object on the root, the key tested, then closed, and
  // every section a full path from the root.
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
