#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"

namespace {

std::vector<AnsiString> SortedItems(TStrings* List) {
  std::vector<AnsiString> Items;
  for (int I = 0; I < List->Count(); ++I) Items.push_back(List->Strings(I));
  std::stable_sort(Items.begin(), Items.end());
  return Items;
}

// Every test works below its own key under HKCU\Software\TarvikTests, removed after.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int Serial = 0;
    Base = "Software\\TarvikTests\\Reg" + IntToStr(GetCurrentProcessId()) + "_" +
           IntToStr(GetTickCount()) + "_" + IntToStr(++Serial);
    Reg = NewObject<TRegistry>();
    ASSERT_TRUE(Reg->OpenKey(Base, true));
  }
  void TearDown() override {
    FreeAndNil(Reg);
    TRegistry* Cleaner = NewObject<TRegistry>();
    Cleaner->DeleteKey("\\" + Base);
    Cleaner->Free();
  }

  // Whether the key exists, looked at with the system functions.
  static bool SystemKeyExists(const AnsiString& Path) {
    HKEY Key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Path.c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(Key);
    return true;
  }

  AnsiString Base;
  TRegistry* Reg = nullptr;
};

TEST_F(RegistryTest, PathsAreRelativeToTheCurrentKeyUnlessTheyStartWithABackslash) {
  EXPECT_EQ(Reg->RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(Reg->CurrentPath(), Base);
  ASSERT_TRUE(Reg->OpenKey("Child", true));
  EXPECT_EQ(Reg->CurrentPath(), Base + "\\Child");
  EXPECT_TRUE(SystemKeyExists(Base + "\\Child"));
  // A relative name without CanCreate does not make the key, and the current key stays.
  EXPECT_FALSE(Reg->OpenKey("Missing", false));
  EXPECT_EQ(Reg->CurrentPath(), Base + "\\Child");
  EXPECT_FALSE(SystemKeyExists(Base + "\\Child\\Missing"));
  ASSERT_TRUE(Reg->OpenKey("\\" + Base, false));
  EXPECT_EQ(Reg->CurrentPath(), Base);
  EXPECT_TRUE(Reg->KeyExists("Child"));
  EXPECT_TRUE(Reg->KeyExists("\\" + Base + "\\Child"));
  EXPECT_FALSE(Reg->KeyExists("\\Child"));
}

TEST_F(RegistryTest, CloseKeyAndANewRootKeyLeaveNoCurrentKey) {
  Reg->CloseKey();
  EXPECT_EQ(Reg->CurrentKey(), nullptr);
  EXPECT_EQ(Reg->CurrentPath(), "");
  // With no current key, relative names start at the root again.
  ASSERT_TRUE(Reg->OpenKey(Base, false));
  EXPECT_NE(Reg->CurrentKey(), nullptr);
  Reg->SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(Reg->CurrentKey(), nullptr);
  EXPECT_EQ(Reg->RootKey(), HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryTest, ValuesComeBackWithTheirTypes) {
  Reg->WriteString("Str", "hello world");
  Reg->WriteExpandString("Exp", "%TEMP%\\x");
  Reg->WriteInteger("Int", -12345);
  Reg->WriteBool("Yes", true);
  Reg->WriteFloat("Pi", 3.25);
  const unsigned char Bytes[5] = {1, 0, 2, 0xFF, 3};
  Reg->WriteBinaryData("Bin", Bytes, sizeof(Bytes));

  EXPECT_EQ(Reg->ReadString("Str"), "hello world");
  EXPECT_EQ(Reg->ReadString("Exp"), "%TEMP%\\x");  // not expanded
  EXPECT_EQ(Reg->ReadInteger("Int"), -12345);
  EXPECT_TRUE(Reg->ReadBool("Yes"));
  EXPECT_EQ(Reg->ReadFloat("Pi"), 3.25);
  unsigned char Back[8] = {};
  EXPECT_EQ(Reg->ReadBinaryData("Bin", Back, sizeof(Back)), 5);
  EXPECT_TRUE(std::equal(Bytes, Bytes + 5, Back));

  EXPECT_EQ(Reg->GetDataType("Str"), rdString);
  EXPECT_EQ(Reg->GetDataType("Exp"), rdExpandString);
  EXPECT_EQ(Reg->GetDataType("Int"), rdInteger);
  EXPECT_EQ(Reg->GetDataType("Bin"), rdBinary);
  EXPECT_EQ(Reg->GetDataSize("Str"), 12);  // with the terminating zero
  EXPECT_EQ(Reg->GetDataSize("Nothing"), -1);
  EXPECT_TRUE(Reg->ValueExists("Int"));
  EXPECT_TRUE(Reg->DeleteValue("Int"));
  EXPECT_FALSE(Reg->ValueExists("Int"));
  EXPECT_FALSE(Reg->DeleteValue("Int"));
}

TEST_F(RegistryTest, MissingOrMistypedValues) {
  EXPECT_EQ(Reg->ReadString("Nothing"), "");
  EXPECT_THROW(Reg->ReadInteger("Nothing"), ERegistryException);
  EXPECT_THROW(Reg->ReadBool("Nothing"), ERegistryException);
  EXPECT_THROW(Reg->ReadFloat("Nothing"), ERegistryException);
  Reg->WriteString("Str", "12");
  Reg->WriteInteger("Int", 12);
  try {
    Reg->ReadInteger("Str");
    FAIL() << "a string read as an integer";
  } catch (const ERegistryException& E) {
    EXPECT_EQ(E.Message(), "Invalid data type for 'Str'");
  }
  EXPECT_THROW(Reg->ReadString("Int"), ERegistryException);
  const char Four[4] = {1, 2, 3, 4};
  Reg->WriteBinaryData("Bin", Four, 4);
  char Small[2];
  EXPECT_THROW(Reg->ReadBinaryData("Bin", Small, sizeof(Small)), ERegistryException);
  EXPECT_EQ(Reg->ReadBinaryData("Nothing", Small, sizeof(Small)), 0);
}

TEST_F(RegistryTest, KeyAndValueNames) {
  Reg->CreateKey("Beta");
  Reg->CreateKey("Alpha\\Deep");
  Reg->CreateKey("\\" + Base + "\\Gamma");
  Reg->WriteString("one", "1");
  Reg->WriteInteger("two", 2);
  EXPECT_EQ(Reg->CurrentPath(), Base);  // CreateKey does not move the current key
  EXPECT_TRUE(Reg->HasSubKeys());

  TStringList* Names = NewObject<TStringList>();
  Names->Add("stale");
  Reg->GetKeyNames(Names);
  EXPECT_EQ(SortedItems(Names), (std::vector<AnsiString>{"Alpha", "Beta", "Gamma"}));
  Reg->GetValueNames(Names);
  EXPECT_EQ(SortedItems(Names), (std::vector<AnsiString>{"one", "two"}));
  ASSERT_TRUE(Reg->OpenKey("Beta", false));
  EXPECT_FALSE(Reg->HasSubKeys());
  Reg->GetValueNames(Names);
  EXPECT_EQ(Names->Count(), 0);
  Names->Free();
}

TEST_F(RegistryTest, DeleteKeyRemovesSubkeysFirst) {
  ASSERT_TRUE(Reg->OpenKey("Tree\\A\\A1", true));
  Reg->WriteString("v", "x");
  ASSERT_TRUE(Reg->OpenKey("\\" + Base + "\\Tree\\B", true));
  Reg->WriteInteger("n", 1);
  Reg->CreateKey("B1");
  Reg->CreateKey("B2");
  ASSERT_TRUE(Reg->OpenKey("\\" + Base, false));

  EXPECT_TRUE(Reg->DeleteKey("Tree"));
  EXPECT_FALSE(Reg->KeyExists("Tree"));
  EXPECT_FALSE(SystemKeyExists(Base + "\\Tree"));
  EXPECT_TRUE(SystemKeyExists(Base));
  EXPECT_FALSE(Reg->DeleteKey("Tree"));
}

TEST_F(RegistryTest, AKeyOpenedReadOnlyRefusesWrites) {
  Reg->WriteString("Kept", "value");
  Reg->CloseKey();
  ASSERT_TRUE(Reg->OpenKeyReadOnly(Base));
  EXPECT_EQ(Reg->ReadString("Kept"), "value");
  try {
    Reg->WriteString("New", "x");
    FAIL() << "a write through a read-only key";
  } catch (const ERegistryException& E) {
    EXPECT_EQ(E.Message(), "Failed to set data for 'New'");
  }
  EXPECT_THROW(Reg->WriteInteger("Kept", 1), ERegistryException);
  EXPECT_FALSE(Reg->DeleteValue("Kept"));
  EXPECT_EQ(Reg->ReadString("Kept"), "value");
  EXPECT_FALSE(Reg->OpenKeyReadOnly("\\" + Base + "\\Missing"));
}

}  // namespace
