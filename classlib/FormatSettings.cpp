#include "classlib/FormatSettings.h"

TFormatSettings FormatSettings;
TSysLocale SysLocale;

namespace {

AnsiString LocaleString(LCID Locale, LCTYPE Type, const AnsiString& Default) {
  char Buffer[128];
  int Length = GetLocaleInfoA(Locale, Type, Buffer, sizeof(Buffer));
  return Length > 1 ? AnsiString(Buffer, Length - 1) : Default;
}

char LocaleChar(LCID Locale, LCTYPE Type, char Default) {
  AnsiString Text = LocaleString(Locale, Type, AnsiString(1, Default));
  return Text.empty() ? Default : Text[0];
}

Byte LocaleNumber(LCID Locale, LCTYPE Type, Byte Default) {
  AnsiString Text = LocaleString(Locale, Type, "");
  if (Text.empty()) return Default;
  int Value = 0;
  for (char C : Text) {
    if (C < '0' || C > '9') return Default;
    Value = Value * 10 + (C - '0');
  }
  return static_cast<Byte>(Value);
}

}  // namespace

TFormatSettings GetLocaleFormatSettings(LCID Locale) {
  TFormatSettings S;
  S.DecimalSeparator = LocaleChar(Locale, LOCALE_SDECIMAL, S.DecimalSeparator);
  S.ThousandSeparator = LocaleChar(Locale, LOCALE_STHOUSAND, S.ThousandSeparator);
  S.DateSeparator = LocaleChar(Locale, LOCALE_SDATE, S.DateSeparator);
  S.TimeSeparator = LocaleChar(Locale, LOCALE_STIME, S.TimeSeparator);
  S.ShortDateFormat = LocaleString(Locale, LOCALE_SSHORTDATE, S.ShortDateFormat);
  S.LongDateFormat = LocaleString(Locale, LOCALE_SLONGDATE, S.LongDateFormat);
  S.ShortTimeFormat = LocaleString(Locale, LOCALE_SSHORTTIME, S.ShortTimeFormat);
  S.LongTimeFormat = LocaleString(Locale, LOCALE_STIMEFORMAT, S.LongTimeFormat);
  S.TimeAMString = LocaleString(Locale, LOCALE_S1159, S.TimeAMString);
  S.TimePMString = LocaleString(Locale, LOCALE_S2359, S.TimePMString);
  S.CurrencyString = LocaleString(Locale, LOCALE_SCURRENCY, S.CurrencyString);
  S.CurrencyFormat = LocaleNumber(Locale, LOCALE_ICURRENCY, S.CurrencyFormat);
  S.NegCurrFormat = LocaleNumber(Locale, LOCALE_INEGCURR, S.NegCurrFormat);
  S.CurrencyDecimals = LocaleNumber(Locale, LOCALE_ICURRDIGITS, S.CurrencyDecimals);
  for (int I = 0; I < 12; ++I) {
    S.ShortMonthNames[I] = LocaleString(Locale, LOCALE_SABBREVMONTHNAME1 + I, S.ShortMonthNames[I]);
    S.LongMonthNames[I] = LocaleString(Locale, LOCALE_SMONTHNAME1 + I, S.LongMonthNames[I]);
  }
  // The locale counts its day names from Monday.
  for (int I = 0; I < 7; ++I) {
    const int Local = (I + 6) % 7;
    S.ShortDayNames[I] = LocaleString(Locale, LOCALE_SABBREVDAYNAME1 + Local, S.ShortDayNames[I]);
    S.LongDayNames[I] = LocaleString(Locale, LOCALE_SDAYNAME1 + Local, S.LongDayNames[I]);
  }
  return S;
}

void InitFormatSettings() {
  FormatSettings = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  SysLocale.DefaultLCID = GetThreadLocale();
  const LANGID Language = LANGIDFROMLCID(SysLocale.DefaultLCID);
  SysLocale.PriLangID = PRIMARYLANGID(Language);
  SysLocale.SubLangID = SUBLANGID(Language);
  SysLocale.FarEast = GetSystemMetrics(SM_DBCSENABLED) != 0;
  SysLocale.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
}
