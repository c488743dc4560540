#include "classlib/StrUtils.h"

#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <cstdint>
#include <limits>

#include "classlib/Exceptions.h"

TEST(StrUtilsTrim, RemovesBlanksAndControlCharactersOnly) {
  EXPECT_EQ(Trim("\t\r\n a b \x01\x1F"), "a b");
  EXPECT_EQ(Trim(" \x7F "), "\x7F");
  // Bytes above 0x7F are text, not blanks, though a signed char is negative.
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
  EXPECT_EQ(TrimLeft("\n x \n"), "x \n");
  EXPECT_EQ(TrimRight("\n x \n"), "\n x");
}

TEST(StrUtilsCase, PlainFormsTouchOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase("abz\xE9[1"), "ABZ\xE9[1");
  EXPECT_EQ(LowerCase("ABZ\xC9@"), "abz\xC9@");
  // ASCII letters fold to upper case, so "a" sorts before "[" (0x5B < 0x61).
  EXPECT_LT(CompareText("a", "["), 0);
  EXPECT_LT(CompareText("abc", "ABCD"), 0);
  // Ordinal order is by unsigned byte.
  EXPECT_GT(CompareStr("\xE9", "z"), 0);
}

TEST(StrUtilsCase, AnsiFormsFollowTheLocale) {
  // The test prefix runs with the en-US locale (code page 1252).
  EXPECT_EQ(AnsiUpperCase("\xE9t\xE9"), "\xC9T\xC9");
  EXPECT_EQ(AnsiLowerCase("\xC9T\xC9"), "\xE9t\xE9");
  EXPECT_EQ(AnsiUpperCase(AnsiString("a\0b", 3)), AnsiString("A\0B", 3));
  // Linguistic order puts "a" before "B", where the ordinal one does not.
  EXPECT_EQ(AnsiCompareStr("a", "B"), -1);
  EXPECT_NE(AnsiCompareStr("abc", "ABC"), 0);
  EXPECT_EQ(AnsiCompareText("\xE9t\xE9", "\xC9T\xC9"), 0);
}

TEST(StrUtilsIntegers, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0x123456789LL, 2), "123456789");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(-0x100000000LL, 1), "FFFFFFFF00000000");
}

TEST(StrUtilsIntegers, StrToIntAcceptsDecimalHexAndBlanks) {
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt(" 12 "), 12);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
  // A full 32-bit hexadecimal value is its two's complement.
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("$FFFFFFFF"), 0xFFFFFFFFLL);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<Int64>::min());
}

TEST(StrUtilsIntegers, MalformedOrOutOfRangeTextFails) {
  for (const char* Text : {"", " ", "-", "$", "0x", "12a", "1 2", "2147483648", "-2147483649",
                           "$100000000", "--1", "1.0"}) {
    int Value = 99;
    EXPECT_FALSE(TryStrToInt(Text, Value)) << Text;
  }
  Int64 Big;
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", Big));
  EXPECT_EQ(StrToIntDef("12a", -5), -5);
  ExpectRaises<EConvertError>([&] { StrToInt("12a"); }, "'12a' is not a valid integer value");
}

TEST(StrUtilsBooleans, TextAndNumbers) {
  EXPECT_FALSE(StrToBool("FALSE"));
  EXPECT_TRUE(StrToBool("-1"));
  EXPECT_THROW(StrToBool("yes"), EConvertError);
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false, true), "False");
}

TEST(StrUtilsQuoting, RoundTripWithEmbeddedQuotes) {
  const AnsiString Original = "it's \"x\" ''";
  const AnsiString Quoted = QuotedStr(Original);
  EXPECT_EQ(Quoted, "'it''s \"x\" '''''");
  std::size_t P = 0;
  EXPECT_EQ(AnsiExtractQuotedStr(Quoted, P, '\''), Original);
  EXPECT_EQ(P, Quoted.size());

  const AnsiString DoubleQuoted = AnsiQuotedStr("a\"b", '"') + ",rest";
  P = 0;
  EXPECT_EQ(AnsiExtractQuotedStr(DoubleQuoted, P, '"'), "a\"b");
  EXPECT_EQ(DoubleQuoted.substr(P), ",rest");
  // Extraction stops at the end or without an opening quote.
  P = 2;
  EXPECT_EQ(AnsiExtractQuotedStr("x,'abc", P, '\''), "abc");  // unterminated
  EXPECT_EQ(P, 6u);
  P = 0;
  EXPECT_EQ(AnsiExtractQuotedStr("'ab''", P, '\''), "ab'");
  EXPECT_EQ(P, 5u);
  P = 0;
  EXPECT_EQ(AnsiExtractQuotedStr("abc", P, '\''), "");
  EXPECT_EQ(P, 0u);
}

TEST(StrUtilsSearch, PosReplaceAndStringOfChar) {
  EXPECT_EQ(Pos("c", "abcc"), 3);
  EXPECT_EQ(Pos("", "abc"), 0);
  // Replaced text is not searched again.
  EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(StringReplaceAll("aXbxc", "x", "--"), "aXb--c");
  EXPECT_EQ(StringReplaceAll("aXbxc", "x", "--", true), "a--b--c");
  EXPECT_EQ(StringReplaceAll("abc", "", "z"), "abc");
  EXPECT_EQ(StringOfChar('-', -1), "");
}
