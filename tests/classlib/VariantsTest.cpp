#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <oleauto.h>

#include "classlib/Variants.h"

namespace {

// 2026-12-07, as days since 1899-12-30.
constexpr double Dec7th2026 = 46363;
constexpr double OneThirtyPM = (13 * 3600 + 45 * 60 + 30) / 86400.0;

TFormatSettings German() {
  TFormatSettings S;
  S.DecimalSeparator = ',';
  S.ThousandSeparator = '.';
  S.DateSeparator = '.';
  S.TimeSeparator = ':';
  S.ShortDateFormat = "dd.MM.yyyy";
  S.LongTimeFormat = "HH:mm:ss";
  return S;
}

TFormatSettings UnitedStates() {
  TFormatSettings S;
  S.ShortDateFormat = "M/d/yyyy";
  S.LongTimeFormat = "h:mm:ss tt";
  S.TimeAMString = "AM";
  S.TimePMString = "PM";
  return S;
}

// Replaces the module-wide settings for the length of a test.
class ScopedFormatSettings {
 public:
  explicit ScopedFormatSettings(const TFormatSettings& S) : FSaved(FormatSettings) {
    FormatSettings = S;
  }
  ~ScopedFormatSettings() { FormatSettings = FSaved; }

 private:
  TFormatSettings FSaved;
};

int ThisYear() {
  SYSTEMTIME Now;
  GetLocalTime(&Now);
  return Now.wYear;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Kinds and conversions

TEST(VariantTest, KindsOfTheConstructors) {
  EXPECT_EQ(Variant().VarType(), varEmpty);
  EXPECT_EQ(Null().VarType(), varNull);
  EXPECT_EQ(Variant(5).VarType(), varInteger);
  EXPECT_EQ(Variant(2.5).VarType(), varDouble);
  EXPECT_EQ(Variant(Currency{10000}).VarType(), varCurrency);
  EXPECT_EQ(VarFromDateTime(Dec7th2026).VarType(), varDate);
  EXPECT_EQ(Variant(true).VarType(), varBoolean);
  EXPECT_EQ(Variant("text").VarType(), varString);
  EXPECT_EQ(Variant(L"text").VarType(), varOleStr);
  Variant V = 5;
  V.Clear();
  EXPECT_TRUE(VarIsEmpty(V));
}

TEST(VariantTest, NumbersFollowTheGivenSettings) {
  const TFormatSettings De = German();
  EXPECT_EQ(Variant("1,5").AsDouble(De), 1.5);
  EXPECT_EQ(Variant(2.25).AsString(De), "2,25");
  EXPECT_EQ(Variant(L"-0,125").AsDouble(De), -0.125);
  ExpectRaises<EVariantError>([&] { Variant("1.5").AsDouble(De); },
                              "Could not convert variant of type (String) into type (Double)");
  EXPECT_EQ(Variant("1.5").AsDouble(UnitedStates()), 1.5);
}

TEST(VariantTest, NumbersFollowTheModuleSettingsByDefault) {
  ScopedFormatSettings Scope(German());
  EXPECT_EQ(Variant("3,75").AsDouble(), 3.75);
  EXPECT_EQ(VarToStr(Variant(0.5)), "0,5");
  EXPECT_EQ(VarAsType(Variant("2,5"), varDouble).AsDouble(), 2.5);
  EXPECT_THROW(Variant("3.75").AsDouble(), EVariantError);
}

TEST(VariantTest, IntegersRoundHalvesToEvenAndCheckTheirRange) {
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(-2.6).AsInteger(), -3);
  EXPECT_EQ(Variant(Currency{25000}).AsInteger(), 2);
  EXPECT_EQ(Variant(Currency{-35000}).AsInteger(), -4);
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant("1,5").AsInteger(German()), 2);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant().AsInteger(), 0);
  ExpectRaises<EVariantError>([] { Variant(3e9).AsInteger(); },
                              "Overflow while converting variant of type (Double) into type (Integer)");
  ExpectRaises<EVariantError>([] { Variant("seven").AsInteger(); },
                              "Could not convert variant of type (String) into type (Integer)");
  EXPECT_EQ(Variant(-7).AsString(), "-7");
}

TEST(VariantTest, SixtyFourBitIntegersKeepEveryDigit) {
  const Int64 Past = Int64{2147483647} + 1;
  Variant Big(Past);
  EXPECT_EQ(Big.VarType(), varInt64);
  EXPECT_TRUE(Big.IsNumeric());
  EXPECT_EQ(Big.AsString(), "2147483648");
  EXPECT_EQ(Variant("9223372036854775807").AsInt64(), Int64{9223372036854775807});
  EXPECT_EQ(Variant(2147483647).AsInt64() + 1, Past);
  EXPECT_EQ(Variant(2.5e9).AsInt64(), Int64{2500000000});
  EXPECT_EQ(Variant(Currency{-35000}).AsInt64(), -4);
  EXPECT_EQ(Big.AsDouble(), 2147483648.0);
  EXPECT_EQ(Big.AsCurrency().Scaled, Past * 10000);
  EXPECT_EQ(Variant(Int64{-5}).AsInteger(), -5);
  ExpectRaises<EVariantError>([&] { Big.AsInteger(); },
                              "Overflow while converting variant of type (Int64) into type (Integer)");
  ExpectRaises<EVariantError>([] { Variant(1e19).AsInt64(); },
                              "Overflow while converting variant of type (Double) into type (Int64)");
  // Exact ordering where a double would round both to one value.
  EXPECT_LT(Variant(Int64{9007199254740992}), Variant(Int64{9007199254740993}));
  EXPECT_EQ(Variant(7), Variant(Int64{7}));
  EXPECT_EQ(Variant("2147483648").AsType(varInt64).VarType(), varInt64);

  VARIANT Ole;
  VariantInit(&Ole);
  Big.ToOleVariant(Ole);
  ASSERT_EQ(V_VT(&Ole), VT_I8);
  EXPECT_EQ(V_I8(&Ole), Past);
  Variant Back = Variant::FromOleVariant(Ole);
  EXPECT_EQ(Back.VarType(), varInt64);
  EXPECT_EQ(Back.AsInt64(), Past);
}

TEST(VariantTest, CurrencyKeepsFourDecimals) {
  const TFormatSettings De = German();
  EXPECT_EQ(Currency::FromDouble(1.23456).Scaled, 12346);
  EXPECT_EQ(Variant(Currency::FromDouble(12.345)).AsString(De), "12,345");
  EXPECT_EQ(Variant(Currency{-5000}).AsString(De), "-0,5");
  EXPECT_EQ(Variant(Currency{70000}).AsString(De), "7");
  EXPECT_EQ(Variant(Currency{INT64_MIN}).AsString(), "-922337203685477.5808");
  EXPECT_EQ(Variant(7).AsCurrency().Scaled, 70000);
  EXPECT_EQ(Variant("2,5").AsCurrency(De).Scaled, 25000);
  EXPECT_THROW(Variant(1e20).AsCurrency(), EVariantError);
}

TEST(VariantTest, BooleansAsTextAndNumbers) {
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_TRUE(Variant(" tRUE ").AsBoolean());
  EXPECT_FALSE(Variant("False").AsBoolean());
  EXPECT_TRUE(Variant("2").AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_TRUE(Variant(-1).AsBoolean());
  EXPECT_THROW(Variant("maybe").AsBoolean(), EVariantError);
}

TEST(VariantTest, StringsOfBothWidthsConvert) {
  EXPECT_EQ(Variant("abc").AsOleString(), L"abc");
  EXPECT_EQ(Variant(L"abc").AsString(), "abc");
  EXPECT_EQ(VarAsType(Variant(12), varOleStr).AsOleString(), L"12");
  EXPECT_EQ(VarAsType(Variant(L"12"), varInteger).AsInteger(), 12);
  EXPECT_EQ(Variant().AsString(), "");
}

// ---------------------------------------------------------------------------------
// Dates

TEST(VariantTest, DatesAsTextFollowTheSettingsPictures) {
  const TFormatSettings De = German(), Us = UnitedStates();
  Variant Noon = VarFromDateTime(Dec7th2026 + OneThirtyPM);
  EXPECT_EQ(Noon.AsString(De), "07.12.2026 13:45:30");
  EXPECT_EQ(Noon.AsString(Us), "12/7/2026 1:45:30 PM");
  // Midnight shows the date alone, day 0 the time alone.
  EXPECT_EQ(VarFromDateTime(Dec7th2026).AsString(De), "07.12.2026");
  EXPECT_EQ(VarFromDateTime(0.25).AsString(Us), "6:00:00 AM");
  // The AM and PM strings are the settings' own.
  TFormatSettings Own = Us;
  Own.TimePMString = "nachm.";
  EXPECT_EQ(Noon.AsString(Own), "12/7/2026 1:45:30 nachm.");
  // Before day 0 the time of day counts away from zero: -1.25 is 1899-12-29 06:00.
  EXPECT_EQ(VarFromDateTime(-1.25).AsString(De), "29.12.1899 06:00:00");
}

TEST(VariantTest, DatePicturesWithNamesAndQuotedText) {
  // The test prefix runs in the en-US locale, whose names these are.
  TFormatSettings S = UnitedStates();
  S.ShortDateFormat = "dddd, MMMM d, yyyy 'o''clock' ddd MMM yy g";
  EXPECT_EQ(VarFromDateTime(Dec7th2026).AsString(S), "Monday, December 7, 2026 o'clock Mon Dec 26 ");
  // Years before the system's file times are no exception.
  S.ShortDateFormat = "dddd yyyy-MM-dd";
  EXPECT_EQ(VarFromDateTime(-328715).AsString(S), "Thursday 1000-01-02");
  S.LongTimeFormat = "HH'h'mm t";
  EXPECT_EQ(VarFromDateTime(0.5 + 59.6 / 86400).AsString(S), "12h01 P");
}

TEST(VariantTest, TextReadsAsDateInTheSettingsOrder) {
  const TFormatSettings De = German(), Us = UnitedStates();
  EXPECT_EQ(Variant("7.12.2026").AsDateTime(De), Dec7th2026);
  EXPECT_EQ(Variant("12/7/2026").AsDateTime(Us), Dec7th2026);
  EXPECT_DOUBLE_EQ(Variant("07.12.2026 13:45:30").AsDateTime(De), Dec7th2026 + OneThirtyPM);
  EXPECT_DOUBLE_EQ(Variant("12/7/2026 1:45:30 pm").AsDateTime(Us), Dec7th2026 + OneThirtyPM);
  EXPECT_DOUBLE_EQ(Variant("12:00 AM").AsDateTime(Us), 0.0);
  EXPECT_DOUBLE_EQ(Variant("6:00").AsDateTime(Us), 0.25);
  // Two-digit years fall in 1930..2029; two numbers are a day of this year.
  EXPECT_EQ(Variant("4.3.29").AsDateTime(De), 47181);
  EXPECT_EQ(Variant("4.3.30").AsDateTime(De), 11021);
  EXPECT_EQ(Variant("7.12").AsDateTime(De), Variant(Format("7.12.%d", ThisYear())).AsDateTime(De));
  EXPECT_EQ(Variant(L"7.12.2026").AsDateTime(De), Dec7th2026);
}

TEST(VariantTest, DateAndTimeMayShareTheirSeparator) {
  TFormatSettings S;
  S.DateSeparator = '.';
  S.TimeSeparator = '.';
  S.ShortDateFormat = "d.M.yyyy";
  S.LongTimeFormat = "H.mm.ss";
  Variant Afternoon = VarFromDateTime(Dec7th2026 + OneThirtyPM);
  EXPECT_EQ(Afternoon.AsString(S), "7.12.2026 13.45.30");
  EXPECT_DOUBLE_EQ(Variant("7.12.2026 13.45.30").AsDateTime(S), Dec7th2026 + OneThirtyPM);
  EXPECT_EQ(Variant("7.12.2026").AsDateTime(S), Dec7th2026);
  // No date has a 13th month: a time.
  EXPECT_DOUBLE_EQ(Variant("6.13").AsDateTime(S), (6 * 60 + 13) / 1440.0);
}

TEST(VariantTest, TextsThatAreNoDateRaise) {
  const TFormatSettings De = German();
  for (const char* Text : {"31.02.2026", "7/12/2026", "7.13.2026", "7.12.2026 25:00", "7.12.2026x",
                           "", "today", "7.12.2026 13:61", "1.1.99999"}) {
    SCOPED_TRACE(Text);
    ExpectRaises<EVariantError>([&] { Variant(Text).AsDateTime(De); },
                                "Could not convert variant of type (String) into type (Date)");
  }
  EXPECT_THROW(Variant(1e9).AsDateTime(), EVariantError);
}

TEST(VariantTest, DatesRoundTripThroughTheirText) {
  for (const TFormatSettings& S : {German(), UnitedStates()}) {
    for (double Value : {Dec7th2026, Dec7th2026 + OneThirtyPM, 0.75, 2.5, -700.5, -328715.0}) {
      Variant Text = VarFromDateTime(Value).AsString(S);
      EXPECT_DOUBLE_EQ(Text.AsDateTime(S), Value) << Text.AsString();
    }
  }
}

// ---------------------------------------------------------------------------------
// Null, equality and ordering

TEST(VariantTest, NullConvertsOnlyToText) {
  Variant N = Null();
  EXPECT_TRUE(VarIsNull(N));
  EXPECT_FALSE(VarIsNull(Variant()));
  EXPECT_TRUE(VarIsClear(N));
  EXPECT_EQ(VarToStr(N), "");
  ExpectRaises<EVariantError>([&] { N.AsInteger(); },
                              "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_THROW(N.AsString(), EVariantError);
  EXPECT_THROW(N.AsDateTime(), EVariantError);
  EXPECT_THROW(N.AsBoolean(), EVariantError);
  EXPECT_TRUE(VarIsNull(VarAsType(Variant(3), varNull)));
}

TEST(VariantTest, NullEqualsOnlyNullAndOrdersFirst) {
  EXPECT_TRUE(Null() == Null());
  EXPECT_FALSE(Null() == Variant());
  EXPECT_FALSE(Null() == Variant(0));
  EXPECT_FALSE(Null() == Variant(""));
  EXPECT_TRUE(Null() < Variant(-1000));
  EXPECT_TRUE(Null() < Variant(""));
  EXPECT_TRUE(Variant() > Null());
  EXPECT_EQ(Variant::Compare(Null(), Null()), 0);
}

TEST(VariantTest, EmptyTakesTheKindBesideIt) {
  EXPECT_TRUE(Variant() == Variant(0));
  EXPECT_TRUE(Variant() == Variant(""));
  EXPECT_TRUE(Variant() == Variant(false));
  EXPECT_TRUE(Variant() == Variant());
  EXPECT_TRUE(Variant() < Variant(1));
  EXPECT_TRUE(Variant() < Variant("a"));
  EXPECT_TRUE(Variant() > Variant(-0.5));
}

TEST(VariantTest, NumbersCompareByValueAcrossKinds) {
  EXPECT_TRUE(Variant(2) < Variant(10));
  EXPECT_TRUE(Variant(2) < Variant(2.5));
  EXPECT_TRUE(Variant(2) == Variant(2.0));
  EXPECT_TRUE(Variant(Currency{25000}) == Variant(2.5));
  EXPECT_TRUE(Variant(Currency{25000}) > Variant(Currency{24999}));
  EXPECT_TRUE(VarFromDateTime(Dec7th2026) > Variant(46362));
  EXPECT_TRUE(Variant(false) < Variant(true));
  // A number beside a text: the text is read as a number, not the number as text.
  EXPECT_TRUE(Variant("10") > Variant(9));
  EXPECT_TRUE(Variant(9.5) < Variant("10"));
}

TEST(VariantTest, StringsCompareByLocaleAndCase) {
  // The locale puts "apple" before "Banana" (the characters would not).
  EXPECT_TRUE(Variant("apple") < Variant("Banana"));
  EXPECT_TRUE(Variant("10") < Variant("9"));  // two texts stay texts
  EXPECT_FALSE(Variant("a") == Variant("A"));
  EXPECT_NE(Variant::Compare(Variant("a"), Variant("A")), 0);
  EXPECT_EQ(Variant::Compare(Variant("a"), Variant("A")),
            -Variant::Compare(Variant("A"), Variant("a")));
  EXPECT_TRUE(Variant(L"abc") == Variant("abc"));
  EXPECT_TRUE(Variant(L"abd") > Variant("abc"));
}

TEST(VariantTest, ValuesThatCannotBeOrderedRaise) {
  EXPECT_THROW((void)(Variant("abc") < Variant(1)), EVariantError);
  EXPECT_THROW(Variant::Compare(Variant(2), Variant("two")), EVariantError);
  EXPECT_FALSE(Variant("abc") == Variant(1));
  // A text beside a date is read as a date in the settings' order.
  EXPECT_EQ(Variant::Compare(VarFromDateTime(Dec7th2026), Variant("7.12.2026"), German()), 0);
  EXPECT_THROW(Variant::Compare(VarFromDateTime(Dec7th2026), Variant("noon"), German()),
               EVariantError);
}

// ---------------------------------------------------------------------------------
// The system's VARIANT

TEST(VariantTest, RoundTripThroughTheSystemVariant) {
  const Variant Values[] = {Variant(),        Null(),         Variant(-5),
                            Variant(2.5),     Variant(Currency{123456}),
                            VarFromDateTime(Dec7th2026),      Variant(true),
                            Variant(false),   Variant(L"wide"), Variant("narrow")};
  for (const Variant& V : Values) {
    SCOPED_TRACE(VarTypeName(V.VarType()));
    VARIANT Ole;
    VariantInit(&Ole);
    V.ToOleVariant(Ole);
    Variant Back = Variant::FromOleVariant(Ole);
    // The 8-bit string comes back as an OLE string.
    EXPECT_EQ(Back.VarType(), V.VarType() == varString ? varOleStr : V.VarType());
    EXPECT_TRUE(Back == V);
    VariantClear(&Ole);
  }
}

TEST(VariantTest, SystemVariantsOfTheOtherKinds) {
  VARIANT Ole;
  VariantInit(&Ole);
  Variant("text").ToOleVariant(Ole);
  ASSERT_EQ(V_VT(&Ole), VT_BSTR);
  EXPECT_EQ(SysStringLen(V_BSTR(&Ole)), 4u);
  EXPECT_EQ(V_BSTR(&Ole)[0], L't');
  // Writing again frees the string held before.
  Variant(true).ToOleVariant(Ole);
  EXPECT_EQ(V_VT(&Ole), VT_BOOL);
  EXPECT_EQ(V_BOOL(&Ole), VARIANT_TRUE);

  V_VT(&Ole) = VT_I2;
  V_I2(&Ole) = -300;
  EXPECT_EQ(Variant::FromOleVariant(Ole).AsInteger(), -300);
  V_VT(&Ole) = VT_UI4;
  V_UI4(&Ole) = 4000000000u;
  EXPECT_EQ(Variant::FromOleVariant(Ole).VarType(), varDouble);
  EXPECT_EQ(Variant::FromOleVariant(Ole).AsDouble(), 4e9);
  V_VT(&Ole) = VT_R4;
  V_R4(&Ole) = 0.5f;
  EXPECT_EQ(Variant::FromOleVariant(Ole).AsDouble(), 0.5);

  LONG Target = 77;
  V_VT(&Ole) = VT_I4 | VT_BYREF;
  V_I4REF(&Ole) = &Target;
  EXPECT_EQ(Variant::FromOleVariant(Ole).AsInteger(), 77);

  V_VT(&Ole) = VT_BSTR;
  V_BSTR(&Ole) = nullptr;
  EXPECT_EQ(Variant::FromOleVariant(Ole).AsString(), "");

  V_VT(&Ole) = VT_UNKNOWN;
  V_UNKNOWN(&Ole) = nullptr;
  ExpectRaises<EVariantError>([&] { Variant::FromOleVariant(Ole); }, "Variant type 13 is not supported");
  VariantInit(&Ole);
}
