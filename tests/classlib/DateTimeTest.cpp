// Dates and times: encoding both ways (before day 0 too), the week day, the clock
// seam, the class library's format letters over the settings' pictures, and reading
// times and the system's variant date text.
#include <gtest/gtest.h>

#include "classlib/DateTime.h"
#include "classlib/Variants.h"
#include "tests/support/DateSupport.h"
#include "tests/support/ExpectRaises.h"

namespace {

TFormatSettings UnitedStates() { return TFormatSettings{}; }

// Other names and pictures than the locale's, to show they come from the settings.
TFormatSettings Dutch() {
  TFormatSettings S;
  S.DateSeparator = '-';
  S.ShortDateFormat = "d-M-yyyy";
  S.LongDateFormat = "dddd d MMMM yyyy";
  S.LongTimeFormat = "H:mm:ss";
  S.ShortTimeFormat = "H:mm";
  const char* Months[] = {"januari", "februari", "maart",     "april",   "mei",      "juni",
                          "juli",    "augustus", "september", "oktober", "november", "december"};
  const char* Days[] = {"zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag"};
  for (int I = 0; I < 12; ++I) {
    S.LongMonthNames[I] = Months[I];
    S.ShortMonthNames[I] = AnsiString(Months[I]).substr(0, 3);
  }
  for (int I = 0; I < 7; ++I) {
    S.LongDayNames[I] = Days[I];
    S.ShortDayNames[I] = AnsiString(Days[I]).substr(0, 2);
  }
  return S;
}

}  // namespace

TEST(DateTimeTest, EncodeAndDecodeAgreeOverFourCenturies) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2024, 3, 4), 45355);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  TDateTime Day = EncodeDate(1800, 1, 1);
  for (int Year = 1800; Year < 2200; ++Year)
    for (int Month = 1; Month <= 12; ++Month)
      for (int D = 1; D <= DaysInAMonth(Year, Month); ++D, ++Day) {
        int Y = 0, M = 0, Dd = 0;
        DecodeDate(Day, Y, M, Dd);
        ASSERT_EQ(Y * 10000 + M * 100 + Dd, Year * 10000 + Month * 100 + D);
        ASSERT_EQ(EncodeDate(Year, Month, D), Day);
      }
}

TEST(DateTimeTest, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2100, 2), 28);
  EXPECT_EQ(DaysInAMonth(2024, 13), 0);
  TDateTime Value = 0;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, Value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, Value));
  ExpectRaises<EConvertError>([] { EncodeDate(2023, 2, 29); }, "Invalid argument to date encode");
  ExpectRaises<EConvertError>([] { EncodeTime(24, 0, 0, 0); }, "Invalid argument to time encode");
}

TEST(DateTimeTest, BeforeDayZeroTheTimeCountsFromMidnightForward) {
  const TDateTime Value = ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0));
  EXPECT_DOUBLE_EQ(Value, -1.25);
  int Y = 0, M = 0, D = 0, H = 0, N = 0, S = 0, Ms = 0;
  DecodeDate(Value, Y, M, D);
  DecodeTime(Value, H, N, S, Ms);
  EXPECT_EQ(Y * 10000 + M * 100 + D, 18991229);
  EXPECT_EQ(H, 6);
  EXPECT_EQ(DayOfWeek(Value), 6);  // a Friday
  EXPECT_DOUBLE_EQ(ComposeDateTime(45355, 0.5), 45355.5);
}

TEST(DateTimeTest, DayOfWeekCountsFromSunday) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 6)), 4);
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
  EXPECT_EQ(DayOfWeek(EncodeDate(1500, 3, 4)), DayOfWeek(EncodeDate(1500, 3, 4) + 7 * 1000));
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
}

TEST(DateTimeTest, TheClockSeamFixesNowDateAndTime) {
  const TDateTime Moment = EncodeDate(2024, 2, 29) + EncodeTime(13, 30, 0, 0);
  TFixedClock Clock(Moment);
  EXPECT_DOUBLE_EQ(Now(), Moment);
  EXPECT_EQ(Date(), EncodeDate(2024, 2, 29));
  EXPECT_NEAR(Time(), EncodeTime(13, 30, 0, 0), 1e-9);
}

TEST(DateTimeTest, SystemClockIsToday) {
  SYSTEMTIME T;
  GetLocalTime(&T);
  EXPECT_NEAR(SystemNow(), EncodeDate(T.wYear, T.wMonth, T.wDay), 1.01);
}

TEST(DateTimeTest, FormatLettersOfTheClassLibrary) {
  const TFormatSettings S = UnitedStates();
  const TDateTime Value = EncodeDate(2024, 3, 4) + EncodeTime(13, 5, 9, 7);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss.zzz", Value, S), "04/03/2024 13:05:09.007");
  EXPECT_EQ(FormatDateTime("d/m/yy h:n:s z", Value, S), "4/3/24 13:5:9 7");
  EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", Value, S), "Mon Monday Mar March");
  EXPECT_EQ(FormatDateTime("MM/dd/yyyy", Value, S), "03/04/2024");
  // m after h is the minute.
  EXPECT_EQ(FormatDateTime("hh:mm", Value, S), "13:05");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", Value, S), "1:05 pm");
  EXPECT_EQ(FormatDateTime("h:nn A/P", Value, S), "1:05 P");
  EXPECT_EQ(FormatDateTime("hh ampm", Value, S), "01 PM");
  EXPECT_EQ(FormatDateTime("'yyyy' \"dd\" yyyy", Value, S), "yyyy dd 2024");
  EXPECT_EQ(FormatDateTime("c", Value, S), "3/4/2024 1:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 4), S), "3/4/2024");
  EXPECT_EQ(FormatDateTime("ddddd", Value, S), "3/4/2024");
  EXPECT_EQ(FormatDateTime("dddddd", Value, S), "Monday, March 4, 2024");
  EXPECT_EQ(FormatDateTime("t | tt", Value, S), "1:05 PM | 1:05:09 PM");
  EXPECT_EQ(FormatDateTime("", EncodeDate(2024, 3, 4), S), "3/4/2024");
}

TEST(DateTimeTest, FormatTakesNamesAndPicturesFromTheSettings) {
  const TFormatSettings S = Dutch();
  const TDateTime Value = EncodeDate(2024, 3, 4) + EncodeTime(13, 5, 9, 0);
  EXPECT_EQ(FormatDateTime("dddd d mmmm", Value, S), "maandag 4 maart");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", Value, S), "04-03-2024");
  EXPECT_EQ(FormatDateTime("c", Value, S), "4-3-2024 13:05:09");
  EXPECT_EQ(FormatDateTime("dddddd", Value, S), "maandag 4 maart 2024");
  EXPECT_EQ(FormatDatePicture("ddd MMM", DecodeDateTimeParts(Value), true, S), "ma maa");
  // The year 1500 and day 0 need no help from the system.
  EXPECT_EQ(FormatDateTime("ddddd", EncodeDate(1500, 3, 4), S), "4-3-1500");
}

TEST(DateTimeTest, LocaleSettingsCarryTheNames) {
  const TFormatSettings S = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  EXPECT_EQ(S.LongMonthNames[0], "January");
  EXPECT_EQ(S.ShortMonthNames[11], "Dec");
  EXPECT_EQ(S.LongDayNames[0], "Sunday");
  EXPECT_EQ(S.ShortDayNames[6], "Sat");
  EXPECT_FALSE(S.LongDateFormat.empty());
  EXPECT_FALSE(S.ShortTimeFormat.empty());
}

TEST(DateTimeTest, StrToTimeReadsHoursMinutesSecondsAndMarkers) {
  const TFormatSettings S = UnitedStates();
  EXPECT_NEAR(StrToTime("13:45", S), EncodeTime(13, 45, 0, 0), 1e-9);
  EXPECT_NEAR(StrToTime(" 1:45:30 PM ", S), EncodeTime(13, 45, 30, 0), 1e-9);
  EXPECT_NEAR(StrToTime("12:00 am", S), 0, 1e-9);
  EXPECT_NEAR(StrToTime("12:30 PM", S), EncodeTime(12, 30, 0, 0), 1e-9);
  TDateTime Value = 0;
  for (const char* Bad : {"", "25:00", "1:60", "13:00 PM", "1:2:3:4", "noon", "123:00", "1:00 XM"})
    EXPECT_FALSE(TryStrToTime(Bad, Value, S)) << Bad;
  ExpectRaises<EConvertError>([&] { StrToTime("noon", S); }, "'noon' is not a valid time");
}

TEST(DateTimeTest, VariantTextToDateGoesThroughTheSystem) {
  EXPECT_EQ(VarDateFromText("March 4, 2024"), EncodeDate(2024, 3, 4));
  EXPECT_EQ(VarDateFromText("4 March 2024"), EncodeDate(2024, 3, 4));
  EXPECT_NEAR(VarDateFromText("March 4, 2024 13:30"), EncodeDate(2024, 3, 4) + EncodeTime(13, 30, 0, 0), 1e-6);
  ExpectRaises<EVariantError>([] { VarDateFromText("not a date"); },
                              "Could not convert variant of type (String) into type (Date)");
}
