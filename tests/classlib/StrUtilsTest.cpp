#include "classlib/StrUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "classlib/Exceptions.h"

TEST(StrUtilsTrim, RemovesBlanksAndControlCharactersOnly) {
  EXPECT_EQ(Trim("\t\r\n a b \x01\x1F"), "a b");
  EXPECT_EQ(Trim(" \x7F "), "\x7F");
  // Bytes above 0x7F are text, not blanks, though a signed char is negative.
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(TrimLeft("\n x \n"), "x \n");
  EXPECT_EQ(TrimRight("\n x \n"), "\n x");
}

TEST(StrUtilsCase, PlainFormsTouchOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase("abz\xE9[1"), "ABZ\xE9[1");
  EXPECT_EQ(LowerCase("ABZ\xC9@"), "abz\xC9@");
  // ASCII letters fold to upper case, so "a" sorts before "[" (0x5B < 0x61).
  EXPECT_LT(CompareText("a", "["), 0);
  EXPECT_EQ(CompareText("HeLLo", "hello"), 0);
  EXPECT_LT(CompareText("abc", "ABCD"), 0);
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_TRUE(SameText("MiXeD", "mixed"));
  // Ordinal order is by unsigned byte.
  EXPECT_GT(CompareStr("\xE9", "z"), 0);
  EXPECT_LT(CompareStr("B", "a"), 0);
  EXPECT_EQ(CompareStr("same", "same"), 0);
}

TEST(StrUtilsCase, AnsiFormsFollowTheLocale) {
  // The test prefix runs with the en-US locale (code page 1252).
  EXPECT_EQ(AnsiUpperCase("\xE9t\xE9"), "\xC9T\xC9");
  EXPECT_EQ(AnsiLowerCase("\xC9T\xC9"), "\xE9t\xE9");
  EXPECT_EQ(AnsiUpperCase(AnsiString("a\0b", 3)), AnsiString("A\0B", 3));
  // Linguistic order puts "a" before "B", where the ordinal one does not.
  EXPECT_EQ(AnsiCompareStr("a", "B"), -1);
  EXPECT_EQ(AnsiCompareStr("b", "a"), 1);
  EXPECT_NE(AnsiCompareStr("abc", "ABC"), 0);
  EXPECT_EQ(AnsiCompareText("\xE9t\xE9", "\xC9T\xC9"), 0);
  EXPECT_TRUE(AnsiSameText("Hello", "hELLO"));
  EXPECT_FALSE(AnsiSameStr("Hello", "hELLO"));
  EXPECT_TRUE(AnsiSameStr("Hello", "Hello"));
}

TEST(StrUtilsIntegers, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(0x123456789LL, 2), "123456789");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(-16, 8), "FFFFFFF0");
  EXPECT_EQ(IntToHex(-1, 16), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(-0x100000000LL, 1), "FFFFFFFF00000000");
}

TEST(StrUtilsIntegers, StrToIntAcceptsDecimalHexAndBlanks) {
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt(" 12 "), 12);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
  EXPECT_EQ(StrToInt("2147483647"), std::numeric_limits<int>::max());
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
  EXPECT_FALSE(TryStrToInt64("$10000000000000000", Big));
  EXPECT_EQ(StrToIntDef("12a", -5), -5);
  try {
    StrToInt("12a");
    FAIL() << "no exception";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'12a' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64("x"), EConvertError);
}

TEST(StrUtilsBooleans, TextAndNumbers) {
  EXPECT_TRUE(StrToBool("true"));
  EXPECT_FALSE(StrToBool("FALSE"));
  EXPECT_TRUE(StrToBool("-1"));
  EXPECT_FALSE(StrToBool("0"));
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
  EXPECT_EQ(QuotedStr(""), "''");
}

TEST(StrUtilsQuoting, ExtractStopsAtTheEndOrWithoutAnOpeningQuote) {
  std::size_t P = 2;
  EXPECT_EQ(AnsiExtractQuotedStr("x,'abc", P, '\''), "abc");  // unterminated
  EXPECT_EQ(P, 6u);
  P = 0;
  EXPECT_EQ(AnsiExtractQuotedStr("'ab''", P, '\''), "ab'");
  EXPECT_EQ(P, 5u);
  P = 0;
  EXPECT_EQ(AnsiExtractQuotedStr("abc", P, '\''), "");
  EXPECT_EQ(P, 0u);
  P = 3;
  EXPECT_EQ(AnsiExtractQuotedStr("abc", P, '\''), "");
  EXPECT_EQ(P, 3u);
}

TEST(StrUtilsSearch, PosReplaceAndStringOfChar) {
  EXPECT_EQ(Pos("c", "abcc"), 3);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
  // Replaced text is not searched again.
  EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(StringReplaceAll("aXbxc", "x", "--"), "aXb--c");
  EXPECT_EQ(StringReplaceAll("aXbxc", "x", "--", true), "a--b--c");
  EXPECT_EQ(StringReplaceAll("abc", "", "z"), "abc");
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
}
