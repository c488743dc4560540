#include <gtest/gtest.h>

#include <cstring>

#include "framework/Rt_Param.h"

namespace {

AnsiString Reparsed(const AnsiString& Text) {
  TOwned<TParameterList> List(NewObject<TParameterList>());
  ParseParameterString(List.get(), Text);
  return BuildParameterString(List.get());
}

TEST(ParameterList, ParsingTrimsNamesKeepsValuesAndDropsEntriesWithoutName) {
  EXPECT_EQ(Reparsed("A=1|B=x=y| C =2"), "A=1|B=x=y|C=2");
  EXPECT_EQ(Reparsed("flag|A= v | =5||a=2|"), "A= v |a=2");
  TOwned<TParameterList> List(NewObject<TParameterList>());
  ParseParameterString(List.get(), "Zoom=1|action=Board|ACTION=Other");
  ASSERT_NE(FindParameter(List.get(), " Action "), nullptr);
  EXPECT_EQ(FindParameter(List.get(), " Action ")->Value(), "Board");
  EXPECT_EQ(FindParameter(List.get(), "Act"), nullptr);
}

AnsiString SetIn(const AnsiString& Text, const AnsiString& Name, const AnsiString& Value) {
  char Buffer[256] = {};
  std::strcpy(Buffer, Text.c_str());
  EXPECT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), Name, Value));
  return Buffer;
}

TEST(ParameterList, SetParameterInStringAddsOrReplaces) {
  EXPECT_EQ(SetIn("", "Action", "Sheet"), "Action=Sheet");
  EXPECT_EQ(SetIn("Action=Board|Zoom=2", "Action", "Sheet"), "Action=Sheet|Zoom=2");
  EXPECT_EQ(SetIn("a=1", "A", "2"), "a=2");
  EXPECT_EQ(SetIn("B= kept ", "A", "  Sheet  "), "B= kept |A=Sheet");
}

// The result is bounded by the buffer's capacity, terminating zero included.
TEST(ParameterList, ResultThatDoesNotFitLeavesTheBufferUnchanged) {
  char Buffer[256];
  AnsiString Long = "Path=" + AnsiString(240, 'p');  // 245 characters
  std::strcpy(Buffer, Long.c_str());
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), "Action", "Sheet"));
  EXPECT_EQ(AnsiString(Buffer), Long);
  // 255 characters and the zero fill it exactly.
  EXPECT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), "A", "1234567"));
  EXPECT_EQ(AnsiString(Buffer), Long + "|A=1234567");
  EXPECT_FALSE(SetParameterInString(Buffer, 0, "A", "1"));
}

TEST(ParameterList, TextIsNotReadPastTheBuffer) {
  struct {
    char Buffer[8];
    char After[8];
  } Memory;
  std::memcpy(Memory.Buffer, "ABCDEFGH", 8);  // no zero inside the buffer
  std::memcpy(Memory.After, "|Z=9\0\0\0", 8);
  EXPECT_TRUE(SetParameterInString(Memory.Buffer, sizeof(Memory.Buffer), "X", "1"));
  EXPECT_STREQ(Memory.Buffer, "X=1");
}

}  // namespace
