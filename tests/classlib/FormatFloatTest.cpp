// Format pictures for numbers, and the extended type's text in and out.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/FloatConv.h"
#include "classlib/FormatFloat.h"

namespace {

TFormatSettings Comma() {
  TFormatSettings S;
  S.DecimalSeparator = ',';
  S.ThousandSeparator = '.';
  return S;
}

}  // namespace

TEST(FormatFloatTest, DigitPlacesRoundAndPad) {
  EXPECT_EQ("1234.50", FormatFloat("0.00", 1234.5));
  EXPECT_EQ("1234.5", FormatFloat("0.##", 1234.5));
  EXPECT_EQ("0.13", FormatFloat("0.##", 0.125));  // halves away from zero
  EXPECT_EQ(".5", FormatFloat("#.##", 0.5));
  EXPECT_EQ("007", FormatFloat("000", 7));
  EXPECT_EQ("1235", FormatFloat("0", 1234.5));
  EXPECT_EQ("12345", FormatFloat("00", 12345));  // more digits than places
  EXPECT_EQ("1,234,567.00", FormatFloat("#,##0.00", 1234567));
  EXPECT_EQ("1.234.567,00", FormatFloat("#,##0.00", 1234567, Comma()));
}

TEST(FormatFloatTest, SectionsPickTheirSignAndZero) {
  EXPECT_EQ("-5.00", FormatFloat("0.00", -5));
  EXPECT_EQ("(5.00)", FormatFloat("0.00;(0.00)", -5));
  EXPECT_EQ("nothing", FormatFloat("0.00;(0.00);'nothing'", 0));
  EXPECT_EQ("-5.00", FormatFloat("0.00;;zero", -5));  // an empty section takes the first
  // A number that rounds to zero shows the zero section, or no sign.
  EXPECT_EQ("zero", FormatFloat("0;-0;zero", 0.2));
  EXPECT_EQ("0", FormatFloat("0", -0.2));
}

TEST(FormatFloatTest, QuotedTextAndLiteralsStay) {
  EXPECT_EQ("$1,234.50", FormatFloat("$,0.00;-$,0.00", 1234.5));
  EXPECT_EQ("-$1,234.50", FormatFloat("$,0.00;-$,0.00", -1234.5));
  EXPECT_EQ("1,234.50 kr.", FormatFloat(",0.00 'kr.'", 1234.5));
  EXPECT_EQ("a;b 3", FormatFloat("\"a;b\" 0", 3));
}

TEST(FormatFloatTest, ScientificFormAndSpecialValues) {
  EXPECT_EQ("1.23E+03", FormatFloat("0.00E+00", 1234.5));
  EXPECT_EQ("1.23E-03", FormatFloat("0.00E+00", 0.00123));
  EXPECT_EQ("1.5e3", FormatFloat("0.0e-0", 1500));
  EXPECT_EQ("12.3", FormatFloat("", 12.3));
  EXPECT_EQ("1E20", FormatFloat("0.00", 1e20));
}

TEST(ExtendedTest, KeepsMoreDigitsThanADouble) {
  const long double Third = 1.0L / 3;
  EXPECT_EQ("0.333333333333333333", ExtendedToStr(Third, 18));
  EXPECT_EQ("0.3333333333333", ExtendedToStr(Third, 13));
  EXPECT_EQ("1E400", ExtendedToStr(1e400L, 13));
  EXPECT_EQ("-2.5", ExtendedToStr(-2.5L, 13));
  EXPECT_EQ("0", ExtendedToStr(-0.0L, 13));

  long double V = 0;
  ASSERT_TRUE(TryStrToExtended("1234567890.12345678", V));
  EXPECT_EQ("1234567890.12345678", ExtendedToStr(V, 18));
  ASSERT_TRUE(TryStrToExtended(" -1.5E400 ", V));
  EXPECT_EQ("-1.5E400", ExtendedToStr(V, 13));
  ASSERT_TRUE(TryStrToExtended("0,25", V, Comma()));
  EXPECT_EQ(0.25L, V);
  ASSERT_TRUE(TryStrToExtended("0.000001", V));
  EXPECT_EQ("1E-6", ExtendedToStr(V, 13));
  // Beyond the range, or not a number.
  EXPECT_FALSE(TryStrToExtended("1e5000", V));
  EXPECT_FALSE(TryStrToExtended("12a", V));
  EXPECT_FALSE(TryStrToExtended("0.25", V, Comma()));
  ASSERT_TRUE(TryStrToExtended("1e-5000", V));
  EXPECT_EQ(0.0L, V);
}
