#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

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
    TOwned<TRegistry>(NewObject<TRegistry>())->DeleteKey("\\" + Base);
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
  ASSERT_TRUE(Reg->OpenKey("Child", true));
  EXPECT_EQ(Reg->CurrentPath(), Base + "\\Child");
  // A relative name without CanCreate does not make the key, and the current key stays.
  EXPECT_FALSE(Reg->OpenKey("Missing", false));
  EXPECT_FALSE(SystemKeyExists(Base + "\\Child\\Missing"));
  ASSERT_TRUE(Reg->OpenKey("\\" + Base, false));
  EXPECT_TRUE(Reg->KeyExists("Child"));
  EXPECT_FALSE(Reg->KeyExists("\\Child"));
  // With no current key, relative names start at the root again.
  Reg->CloseKey();
  EXPECT_EQ(Reg->CurrentPath(), "");
  ASSERT_TRUE(Reg->OpenKey(Base, false));
  Reg->SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(Reg->CurrentKey(), nullptr);
}

TEST_F(RegistryTest, ValuesComeBackWithTheirTypes) {
  Reg->WriteString("Str", "hello world");
  Reg->WriteExpandString("Exp", "%TEMP%\\x");
  Reg->WriteBool("Yes", true);
  Reg->WriteFloat("Pi", 3.25);
  const unsigned char Bytes[5] = {1, 0, 2, 0xFF, 3};
  Reg->WriteBinaryData("Bin", Bytes, sizeof(Bytes));

  EXPECT_EQ(Reg->ReadString("Str"), "hello world");
  EXPECT_EQ(Reg->ReadString("Exp"), "%TEMP%\\x");  // not expanded
  EXPECT_TRUE(Reg->ReadBool("Yes"));
  EXPECT_EQ(Reg->ReadFloat("Pi"), 3.25);
  unsigned char Back[8] = {};
  EXPECT_EQ(Reg->ReadBinaryData("Bin", Back, sizeof(Back)), 5);
  EXPECT_TRUE(std::equal(Bytes, Bytes + 5, Back));
  EXPECT_EQ(Reg->GetDataType("Exp"), rdExpandString);
  EXPECT_EQ(Reg->GetDataSize("Str"), 12);  // with the terminating zero
  EXPECT_EQ(Reg->GetDataSize("Nothing"), -1);
  EXPECT_TRUE(Reg->DeleteValue("Yes"));
  EXPECT_FALSE(Reg->DeleteValue("Yes"));
}

TEST_F(RegistryTest, MissingOrMistypedValues) {
  EXPECT_EQ(Reg->ReadString("Nothing"), "");
  EXPECT_THROW(Reg->ReadInteger("Nothing"), ERegistryException);
  Reg->WriteString("Str", "12");
  Reg->WriteInteger("Int", 12);
  ExpectRaises<ERegistryException>([&] { Reg->ReadInteger("Str"); }, "Invalid data type for 'Str'");
  EXPECT_THROW(Reg->ReadString("Int"), ERegistryException);
  Reg->WriteBinaryData("Bin", "abcd", 4);
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
  TOwned<TStringList> Names(NewObject<TStringList>());
  Names->Add("stale");
  Reg->GetKeyNames(Names.get());
  EXPECT_EQ(SortedItems(Names.get()), (std::vector<AnsiString>{"Alpha", "Beta", "Gamma"}));
  Reg->GetValueNames(Names.get());
  EXPECT_EQ(SortedItems(Names.get()), (std::vector<AnsiString>{"one", "two"}));
  ASSERT_TRUE(Reg->OpenKey("Beta", false));
  EXPECT_FALSE(Reg->HasSubKeys());
}

TEST_F(RegistryTest, DeleteKeyRemovesSubkeysFirst) {
  ASSERT_TRUE(Reg->OpenKey("Tree\\A\\A1", true));
  Reg->WriteString("v", "x");
  ASSERT_TRUE(Reg->OpenKey("\\" + Base, false));
  Reg->CreateKey("Tree\\B\\B1");
  Reg->CreateKey("Tree\\B\\B2");
  EXPECT_TRUE(Reg->DeleteKey("Tree"));
  EXPECT_FALSE(SystemKeyExists(Base + "\\Tree"));
  EXPECT_TRUE(SystemKeyExists(Base));
  EXPECT_FALSE(Reg->DeleteKey("Tree"));
}

TEST_F(RegistryTest, AKeyOpenedReadOnlyRefusesWrites) {
  Reg->WriteString("Kept", "value");
  Reg->CloseKey();
  ASSERT_TRUE(Reg->OpenKeyReadOnly(Base));
  EXPECT_EQ(Reg->ReadString("Kept"), "value");
  ExpectRaises<ERegistryException>([&] { Reg->WriteString("New", "x"); },
                                   "Failed to set data for 'New'");
  EXPECT_FALSE(Reg->DeleteValue("Kept"));
  EXPECT_FALSE(Reg->OpenKeyReadOnly("\\" + Base + "\\Missing"));
}

}  // namespace
