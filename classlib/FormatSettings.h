// The separators and formats used to turn numbers and dates into text and back.
// Conversions take them explicitly or use the module-wide FormatSettings, which is
// read from the user's locale at start-up and which tests may overwrite.
#pragma once

#include <windows.h>

#include "classlib/SysTypes.h"

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  // The system's format pictures (see FormatDatePicture in classlib/DateTime.h).
  AnsiString ShortDateFormat = "M/d/yyyy";
  AnsiString LongDateFormat = "dddd, MMMM d, yyyy";
  AnsiString ShortTimeFormat = "h:mm tt";
  AnsiString LongTimeFormat = "h:mm:ss tt";
  AnsiString TimeAMString = "AM";
  AnsiString TimePMString = "PM";
  AnsiString CurrencyString = "$";
  Byte CurrencyFormat = 0;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  Byte NegCurrFormat = 0;   // 0 "($1)" .. 15, as the locale's LOCALE_INEGCURR
  Byte CurrencyDecimals = 2;
  // Month names from January, day names from Sunday.
  AnsiString ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  AnsiString LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
  AnsiString ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  AnsiString LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

extern TFormatSettings FormatSettings;

// The settings of a locale (LOCALE_USER_DEFAULT for the user's own).
TFormatSettings GetLocaleFormatSettings(LCID Locale);

// The system's locale: its ids, and whether it is a Far-East (double-byte) or a
// Middle-East (right-to-left) locale. Read at start-up; tests may overwrite it.
struct TSysLocale {
  LCID DefaultLCID = 0;
  LANGID PriLangID = 0;
  LANGID SubLangID = 0;
  bool FarEast = false;
  bool MiddleEast = false;
};

extern TSysLocale SysLocale;

// Unit initialization: reads the user's locale into FormatSettings and the system's
// into SysLocale.
void InitFormatSettings();
