// The registry and ini wrapper over an ini file through the profile functions, an ini
// file in memory and the registry: values forwarded both ways, and erasing sections by
// prefix on ini storage only.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"
#include "editors/dxRegIni.h"

namespace {

using Lines = std::vector<AnsiString>;

AnsiString UniqueName(const char* Prefix) {
  static int Serial = 0;
  return Prefix + IntToStr(GetCurrentProcessId()) + "_" + IntToStr(GetTickCount()) + "_" +
         IntToStr(++Serial);
}

// An ini file in a temporary folder and a registry key below
// HKCU\Software\TarvikTests, both removed after each test.
class RegIniWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Temp[MAX_PATH];
    GetTempPathA(MAX_PATH, Temp);
    FileName = IncludeTrailingPathDelimiter(Temp) + UniqueName("dxregini") + ".ini";
    KeyPath = "Software\\TarvikTests\\" + UniqueName("dxRegIni");
    Wrapper.reset(NewObject<TdxRegIniWrapper>());
  }
  void TearDown() override {
    Wrapper.reset();
    DeleteFileName(FileName);
    TOwned<TRegistry>(NewObject<TRegistry>())->DeleteKey("\\" + KeyPath);
  }
  Lines Sections(TCustomIniFile* Storage) {
    TOwned<TStringList> List(NewObject<TStringList>());
    Storage->ReadSections(List.get());
    Lines Result;
    for (int I = 0; I < List->Count(); ++I) Result.push_back(List->Strings(I));
    std::sort(Result.begin(), Result.end());
    return Result;
  }
  // Sections named to tell a prefix from its other letter case and from a name that
  // only contains it.
  void WriteLayoutSections(TCustomIniFile* Storage) {
    for (const char* Name : {"Grid", "Grid.Band0", "Grid.Column1", "grid.Column2", "Other", "XGrid"})
      Storage->WriteInteger(Name, "Width", 10);
  }

  AnsiString FileName;
  AnsiString KeyPath;
  TOwned<TdxRegIniWrapper> Wrapper;
};

TEST_F(RegIniWrapperTest, ForwardsValuesToAnIniFile) {
  TOwned<TIniFile> Ini(NewObject<TIniFile>(FileName));
  Wrapper->Storage = Ini.get();
  Wrapper->WriteInteger("Layout", "Width", 120);
  Wrapper->WriteBool("Layout", "Visible", true);
  EXPECT_EQ(Ini->ReadString("Layout", "Width", ""), "120");
  EXPECT_EQ(Wrapper->ReadInteger("Layout", "Width", 0), 120);
  EXPECT_TRUE(Wrapper->ReadBool("Layout", "Visible", false));
  EXPECT_EQ(Wrapper->ReadInteger("Layout", "Missing", -5), -5);
  EXPECT_FALSE(Wrapper->ReadBool("Nowhere", "Visible", false));

  TOwned<TStringList> List(NewObject<TStringList>());
  Wrapper->ReadSections(List.get());
  EXPECT_EQ(List->Count(), 1);
  Wrapper->EraseSection("Layout");
  EXPECT_EQ(Ini->ReadString("Layout", "Width", "gone"), "gone");
}

TEST_F(RegIniWrapperTest, ForwardsValuesToTheRegistry) {
  TOwned<TRegIniFile> Reg(NewObject<TRegIniFile>(KeyPath));
  Wrapper->Storage = Reg.get();
  Wrapper->WriteInteger("Band\\Band0", "Width", 77);
  Wrapper->WriteBool("Band\\Band0", "Fixed", true);
  EXPECT_EQ(Wrapper->ReadInteger("Band\\Band0", "Width", 0), 77);
  EXPECT_TRUE(Wrapper->ReadBool("Band\\Band0", "Fixed", false));
  EXPECT_TRUE(Reg->KeyExists("Band\\Band0"));

  TOwned<TStringList> List(NewObject<TStringList>());
  Wrapper->ReadSections(List.get());
  ASSERT_EQ(List->Count(), 1);
  EXPECT_EQ(List->Strings(0), "Band");
  Wrapper->EraseSection("Band");
  EXPECT_FALSE(Reg->KeyExists("Band"));
}

TEST_F(RegIniWrapperTest, PrefixErasesOnlyTheSectionsStartingWithItInTheSameCase) {
  TOwned<TIniFile> Ini(NewObject<TIniFile>(FileName));
  WriteLayoutSections(Ini.get());
  Wrapper->Storage = Ini.get();
  Wrapper->EraseSectionsWithPrefix("Grid");
  EXPECT_EQ(Sections(Ini.get()), (Lines{"Other", "XGrid", "grid.Column2"}));
}

TEST_F(RegIniWrapperTest, AnEmptyPrefixErasesEverySection) {
  TOwned<TIniFile> Ini(NewObject<TIniFile>(FileName));
  WriteLayoutSections(Ini.get());
  Wrapper->Storage = Ini.get();
  Wrapper->EraseSectionsWithPrefix("");
  EXPECT_TRUE(Sections(Ini.get()).empty());
}

TEST_F(RegIniWrapperTest, PrefixErasesInAnIniFileInMemory) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(FileName));
  WriteLayoutSections(Ini.get());
  Wrapper->Storage = Ini.get();
  Wrapper->EraseSectionsWithPrefix("Grid.");
  EXPECT_EQ(Sections(Ini.get()), (Lines{"Grid", "Other", "XGrid", "grid.Column2"}));
  Wrapper->EraseSectionsWithPrefix("");
  EXPECT_TRUE(Sections(Ini.get()).empty());
}

TEST_F(RegIniWrapperTest, PrefixLeavesTheRegistryUntouched) {
  TOwned<TRegIniFile> Reg(NewObject<TRegIniFile>(KeyPath));
  WriteLayoutSections(Reg.get());
  Wrapper->Storage = Reg.get();
  Lines Before = Sections(Reg.get());
  ASSERT_EQ(Before.size(), 6u);
  Wrapper->EraseSectionsWithPrefix("Grid");
  Wrapper->EraseSectionsWithPrefix("");
  EXPECT_EQ(Sections(Reg.get()), Before);
  EXPECT_EQ(Reg->ReadInteger("Grid.Band0", "Width", 0), 10);
}

}  // namespace
