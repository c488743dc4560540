// Dates and times: days since 1899-12-30 with the time of day as the fraction. Before
// day 0 the fraction still counts forward from midnight: -1.25 is 1899-12-29, 6:00
// (the day is the value truncated toward zero, the time its absolute fraction).
//
// The clock is read through NowProc, which tests replace to fix "today". Formatting
// and reading go through the class library's format settings (FormatSettings unless
// others are given).
#pragma once

#include "classlib/FormatSettings.h"
#include "classlib/SysTypes.h"

inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";

inline constexpr int MSecsPerDay = 24 * 60 * 60 * 1000;

bool IsLeapYear(int Year);
// 28 to 31; 0 for a month outside 1..12.
int DaysInAMonth(int Year, int Month);

// Years 1..9999. EncodeDate and EncodeTime raise EConvertError on bad parts.
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
TDateTime EncodeDate(int Year, int Month, int Day);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
// A day and a time of day as one value (the time counts backwards before day 0).
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time);

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
// The time of day to the millisecond (rounded).
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime Value);

// The clock seam: the local date and time. Date is its whole day, Time its fraction.
using TNowProc = TDateTime (*)();
extern TNowProc NowProc;
TDateTime SystemNow();
TDateTime Now();
TDateTime Date();
TDateTime Time();

// A date-time taken apart, the time of day rounded to the second (a time that rounds
// up to midnight moves to the next day, away from day 0).
struct TDateTimeParts {
  int Days = 0;  // since 1899-12-30
  int Year = 0, Month = 0, Day = 0;
  int DayOfWeek = 0;  // 0 Sunday .. 6 Saturday
  int Hour = 0, Minute = 0, Second = 0;
};
TDateTimeParts DecodeDateTimeParts(TDateTime Value);

// The text of a picture in the system's letters, the kind the settings' formats hold.
// A date picture: d dd (day), ddd dddd (short and long day names), M MM (month), MMM
// MMMM (month names), y yy (year in the century), yyyy (the whole year), g (era:
// nothing). A time picture: h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (the
// first character of the AM or PM string, or all of it). Text in single quotes is
// copied ('' is a quote); any other character is copied.
AnsiString FormatDatePicture(const AnsiString& Picture, const TDateTimeParts& Parts, bool DatePicture,
                             const TFormatSettings& Settings = FormatSettings);

// The class library's date-time format, letters in any case:
//   c       the short date, then a blank and the long time unless the time is 0
//   d dd    day; ddd dddd the short and long day names; ddddd the short date;
//           dddddd the long date
//   m mm    month (minutes right after an h); mmm mmmm the short and long month names
//   yy      year in the century; yyyy the whole year
//   h hh    hour (12-hour when an am/pm specifier follows); n nn minutes; s ss seconds;
//   z zzz   milliseconds; t the short time, tt the long time
//   am/pm a/p ampm   the marker (ampm takes the settings' AM and PM strings)
//   /  :    the date and time separators
//   "..." '...'  literal text
// The settings' own formats (short date, long date, short and long time) are system
// pictures and are expanded by FormatDatePicture.
AnsiString FormatDateTime(const AnsiString& Format, TDateTime Value,
                          const TFormatSettings& Settings = FormatSettings);

// Reads hours and minutes with optional seconds (separated by the time separator) and
// an optional AM or PM string. StrToTime raises EConvertError "'%s' is not a valid
// time".
bool TryStrToTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings = FormatSettings);
TDateTime StrToTime(const AnsiString& S, const TFormatSettings& Settings = FormatSettings);
