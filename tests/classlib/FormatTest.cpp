#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <cmath>

#include "classlib/Exceptions.h"
#include "classlib/FloatConv.h"
#include "classlib/Format.h"
#include "classlib/StrUtils.h"
#include "tests/support/MemorySupport.h"

namespace {

TFormatSettings European() {
  TFormatSettings S;
  S.DecimalSeparator = ',';
  S.ThousandSeparator = '.';
  S.CurrencyString = "EUR";
  S.CurrencyFormat = 3;
  S.NegCurrFormat = 8;
  return S;
}

TEST(FormatTest, IntegersStringsAndWidths) {
  EXPECT_EQ(Format("%d items in %s", 3, "box"), "3 items in box");
  EXPECT_EQ(Format("[%5d|%-5d|%.3d]", 42, 42, 7), "[   42|42   |007]");
  EXPECT_EQ(Format("%x %.4x", -1, 10), "FFFFFFFF 000A");
  EXPECT_EQ(Format("%u", -1), "4294967295");
  EXPECT_EQ(Format("%d", Int64(-9000000000LL)), "-9000000000");
  EXPECT_EQ(Format("%.2s|%s", AnsiString("abcdef"), 'z'), "ab|z");
  EXPECT_EQ(Format("%*d", 4, 5), "   5");
  EXPECT_EQ(Format("%1:s %0:s %s 100%%", "a", "b"), "b a b 100%");
}

TEST(FormatTest, BadSpecifiersAndArgumentsRaise) {
  EXPECT_THROW(Format("%d", "text"), EConvertError);
  EXPECT_THROW(Format("%f", 1), EConvertError);
  EXPECT_THROW(Format("%q", 1), EConvertError);
  EXPECT_THROW(Format("abc %", 1), EConvertError);
  ExpectRaises<EConvertError>([&] { Format("%d %d", 1); }, "No argument for format '%d'");
}

// A width, precision or count given by a program that no text could hold raises the
// class library's own error; exponent digits stop at four.
TEST(FormatTest, AbsurdWidthsAndCountsRaiseTheClassLibrarysErrors) {
  const AnsiString Bad = "invalid or incompatible with argument";
  ExpectRaises<EConvertError>([] { Format("%*d", 2000000000, 1); }, "Format '%*' " + Bad);
  ExpectRaises<EConvertError>([] { Format("%.*d", 2000000000, 1); }, "Format '.*' " + Bad);
  EXPECT_EQ(Format("%*d|%.*d", 100000, 1, 100000, 2).size(), 200001u);
  EXPECT_EQ(FloatToStrF(1.5, ffExponent, 2, 2000000000, TFormatSettings()), "1.5E+0000");
  EXPECT_EQ(FloatToStrF(1e300, ffGeneral, 2, 2000000000, TFormatSettings()), "1E0300");
  TBlockLimit Limit(1 << 20);
  ExpectRaises<EOutOfMemory>([] { IntToHex(1, 2000000000); }, "Out of memory");
  ExpectRaises<EOutOfMemory>([] { StringOfChar('a', 2000000000); }, "Out of memory");
}

TEST(FormatTest, FloatsUseTheGivenSeparators) {
  TFormatSettings S;
  EXPECT_EQ(FormatArgs("%.2f", {2.675}, S), "2.67");  // 2.675 is just below in binary
  EXPECT_EQ(FormatArgs("%.1f", {0.25}, S), "0.3");    // an exact tie rounds away from zero
  EXPECT_EQ(FormatArgs("%.1f", {-0.25}, S), "-0.3");
  EXPECT_EQ(FormatArgs("%.0f", {2.5}, S), "3");
  EXPECT_EQ(FormatArgs("%f", {-0.001}, S), "0.00");  // no minus sign on a rounded zero
  EXPECT_EQ(FormatArgs("%n", {1234567.891}, S), "1,234,567.89");
  EXPECT_EQ(FormatArgs("%n", {1234567.891}, European()), "1.234.567,89");
  EXPECT_EQ(FormatArgs("%.3e", {12345.678}, S), "1.23E+004");
  EXPECT_EQ(FormatArgs("%m", {-5.5}, European()), "-5,50 EUR");
  EXPECT_EQ(FormatArgs("%g", {0.1 + 0.2}, S), "0.3");
}

TEST(FloatConvTest, GeneralFormatChoosesFixedOrScientific) {
  TFormatSettings S;
  EXPECT_EQ(FloatToStr(-0.0, S), "0");
  EXPECT_EQ(FloatToStr(100, S), "100");
  EXPECT_EQ(FloatToStr(0.00001, S), "1E-5");
  EXPECT_EQ(FloatToStr(0.0001, S), "0.0001");
  EXPECT_EQ(FloatToStr(1e15, S), "1E15");
  EXPECT_EQ(FloatToStr(123456789012345.0, S), "123456789012345");
  EXPECT_EQ(FloatToStr(-1.25e-10, S), "-1.25E-10");
  EXPECT_EQ(FloatToStr(1.0 / 3, European()), "0,333333333333333");
  EXPECT_EQ(FloatToStrF(999.96, ffFixed, 4, 1, S), "1000.0");  // rounding carries over
  EXPECT_EQ(FloatToStrF(0.95, ffGeneral, 1, 0, S), "0.9");     // 0.95 is below the tie in binary
  EXPECT_EQ(FloatToStrF(9.5, ffGeneral, 1, 0, S), "1E1");
  EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2, S), "1.235E+03");
  EXPECT_EQ(FloatToStr(-INFINITY, S), "-INF");
}

TEST(FloatConvTest, ParsingIsStrictAboutTheSeparator) {
  TFormatSettings S;
  EXPECT_DOUBLE_EQ(StrToFloat(" 3.25 ", S), 3.25);
  EXPECT_DOUBLE_EQ(StrToFloat(".5", S), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloat("3,25", European()), 3.25);
  double V = 0;
  EXPECT_FALSE(TryStrToFloat("3,25", V, S));
  EXPECT_FALSE(TryStrToFloat("1e", V, S));
  EXPECT_FALSE(TryStrToFloat(".", V, S));
  EXPECT_FALSE(TryStrToFloat("1.2.3", V, S));
  EXPECT_FALSE(TryStrToFloat("1e999", V, S));
  ExpectRaises<EConvertError>([&] { StrToFloat("abc", S); },
                              "'abc' is not a valid floating point value");
  // Every double survives a round trip through 17 significant digits.
  for (double X : {0.1, 1.0 / 3, 6.02214076e23, -2.2250738585072014e-308, 123.456}) {
    EXPECT_EQ(StrToFloat(FloatToStrF(X, ffGeneral, 17, 0, European()), European()), X);
  }
}

TEST(FormatSettingsTest, UserLocaleIsReadAtStartUp) {
  EXPECT_EQ(FormatSettings.ThousandSeparator, ',');  // the test prefix runs with en-US
  EXPECT_EQ(GetLocaleFormatSettings(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT))
                .DecimalSeparator,
            ',');
}

}  // namespace
