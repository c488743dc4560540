#include "classlib/DateTime.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "classlib/Exceptions.h"
#include "classlib/StrUtils.h"

TNowProc NowProc = SystemNow;

namespace {

// Days from 0001-01-01 (day 1) to 1899-12-30.
constexpr int DateDelta = 693594;

AnsiString Padded(int Value, int Width) {
  AnsiString Text = std::to_string(Value);
  if (static_cast<int>(Text.size()) < Width) Text.insert(0, Width - Text.size(), '0');
  return Text;
}

// The civil date of a day count, in 400-year eras from 0000-03-01.
void CivilFromDays(int Days, int& Year, int& Month, int& Day) {
  const int Z = Days - 25569 + 719468;  // from 1970-01-01, then from 0000-03-01
  const int Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const int DayOfEra = Z - Era * 146097;
  const int YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const int DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const int MonthIndex = (5 * DayOfYear + 2) / 153;  // 0 is March
  Day = DayOfYear - (153 * MonthIndex + 2) / 5 + 1;
  Month = MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9;
  Year = YearOfEra + Era * 400 + (Month <= 2 ? 1 : 0);
}

// Milliseconds of the day, from the absolute fraction; Days moves away from day 0
// when they round up to a whole day.
int SplitMilliseconds(TDateTime Value, int& Days) {
  const double Whole = std::trunc(Value);
  Days = static_cast<int>(Whole);
  int MSecs = static_cast<int>(std::lround(std::fabs(Value - Whole) * MSecsPerDay));
  if (MSecs >= MSecsPerDay) {
    MSecs = 0;
    Days += Value < 0 ? -1 : 1;
  }
  return MSecs;
}

// The parts FormatDateTime reads, to the millisecond.
struct TFullParts {
  TDateTimeParts Parts;
  int MSec = 0;
  bool HasTime = false;
};

TFullParts DecodeFull(TDateTime Value) {
  TFullParts F;
  int MSecs = SplitMilliseconds(Value, F.Parts.Days);
  F.HasTime = MSecs != 0;
  CivilFromDays(F.Parts.Days, F.Parts.Year, F.Parts.Month, F.Parts.Day);
  F.Parts.DayOfWeek = ((F.Parts.Days + 6) % 7 + 7) % 7;
  F.Parts.Hour = MSecs / 3600000;
  F.Parts.Minute = MSecs / 60000 % 60;
  F.Parts.Second = MSecs / 1000 % 60;
  F.MSec = MSecs % 1000;
  return F;
}

// Whether the text at I starts with Word, in any case.
bool StartsWithText(const AnsiString& S, std::size_t I, const char* Word) {
  const std::size_t N = std::strlen(Word);
  return S.size() - I >= N && SameText(S.substr(I, N), Word);
}

class TDateTimeFormatter {
 public:
  TDateTimeFormatter(const TFullParts& F, const TFormatSettings& Settings) : FF(F), FSettings(Settings) {}

  AnsiString Run(const AnsiString& Format) {
    AppendFormat(Format.empty() ? AnsiString("c") : Format, 0);
    return FResult;
  }

 private:
  void AppendFormat(const AnsiString& Format, int Depth);
  void AppendPicture(const AnsiString& Picture, bool DatePicture) {
    FResult += FormatDatePicture(Picture, FF.Parts, DatePicture, FSettings);
  }
  // Whether an am/pm specifier follows I (12-hour clock).
  static bool MarkerFollows(const AnsiString& Format, std::size_t I);
  const TDateTimeParts& P() const { return FF.Parts; }

  const TFullParts& FF;
  const TFormatSettings& FSettings;
  AnsiString FResult;
};

bool TDateTimeFormatter::MarkerFollows(const AnsiString& Format, std::size_t I) {
  for (; I < Format.size(); ++I) {
    const char C = Format[I];
    if (C == '"' || C == '\'') {
      const std::size_t End = Format.find(C, I + 1);
      if (End == AnsiString::npos) return false;
      I = End;
      continue;
    }
    if (StartsWithText(Format, I, "am/pm") || StartsWithText(Format, I, "a/p") ||
        StartsWithText(Format, I, "ampm"))
      return true;
  }
  return false;
}

void TDateTimeFormatter::AppendFormat(const AnsiString& Format, int Depth) {
  char LastToken = ' ';
  std::size_t I = 0;
  while (I < Format.size()) {
    const char C = Format[I];
    const char Token = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    if (C == '"' || C == '\'') {
      std::size_t End = Format.find(C, I + 1);
      if (End == AnsiString::npos) End = Format.size();
      FResult += Format.substr(I + 1, End - I - 1);
      I = End + 1;
      continue;
    }
    if (Token == 'A') {
      const bool Pm = P().Hour >= 12;
      if (StartsWithText(Format, I, "am/pm")) {
        FResult += Pm ? (Format[I + 3] == 'P' ? "PM" : "pm") : (C == 'A' ? "AM" : "am");
        I += 5;
      } else if (StartsWithText(Format, I, "a/p")) {
        FResult += Pm ? (Format[I + 2] == 'P' ? "P" : "p") : (C == 'A' ? "A" : "a");
        I += 3;
      } else if (StartsWithText(Format, I, "ampm")) {
        FResult += Pm ? FSettings.TimePMString : FSettings.TimeAMString;
        I += 4;
      } else {
        FResult += C;
        ++I;
      }
      continue;
    }
    std::size_t Run = 1;
    while (I + Run < Format.size() && std::toupper(static_cast<unsigned char>(Format[I + Run])) == Token) ++Run;
    const int N = static_cast<int>(Run);
    switch (Token) {
      case 'C':
        if (Depth < 2) {
          AppendPicture(FSettings.ShortDateFormat, true);
          if (FF.HasTime) {
            FResult += ' ';
            AppendPicture(FSettings.LongTimeFormat, false);
          }
        }
        Run = 1;
        break;
      case 'D':
        if (N <= 2)
          FResult += Padded(P().Day, N);
        else if (N == 3)
          FResult += FSettings.ShortDayNames[P().DayOfWeek];
        else if (N == 4)
          FResult += FSettings.LongDayNames[P().DayOfWeek];
        else if (N == 5)
          AppendPicture(FSettings.ShortDateFormat, true);
        else
          AppendPicture(FSettings.LongDateFormat, true);
        break;
      case 'M':
        if (LastToken == 'H' && N <= 2)
          FResult += Padded(P().Minute, N);
        else if (N <= 2)
          FResult += Padded(P().Month, N);
        else if (N == 3)
          FResult += FSettings.ShortMonthNames[P().Month - 1];
        else
          FResult += FSettings.LongMonthNames[P().Month - 1];
        break;
      case 'Y': FResult += N <= 2 ? Padded(P().Year % 100, 2) : Padded(P().Year, 4); break;
      case 'H': {
        Run = std::min<std::size_t>(Run, 2);
        int Hour = P().Hour;
        if (MarkerFollows(Format, I + Run)) Hour = Hour % 12 == 0 ? 12 : Hour % 12;
        FResult += Padded(Hour, static_cast<int>(Run));
        break;
      }
      case 'N':
        Run = std::min<std::size_t>(Run, 2);
        FResult += Padded(P().Minute, static_cast<int>(Run));
        break;
      case 'S':
        Run = std::min<std::size_t>(Run, 2);
        FResult += Padded(P().Second, static_cast<int>(Run));
        break;
      case 'Z':
        Run = N >= 3 ? 3 : 1;
        FResult += Padded(FF.MSec, static_cast<int>(Run));
        break;
      case 'T':
        Run = std::min<std::size_t>(Run, 2);
        AppendPicture(Run == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, false);
        break;
      case '/': FResult.append(Run, FSettings.DateSeparator); break;
      case ':': FResult.append(Run, FSettings.TimeSeparator); break;
      default: FResult.append(Run, C); break;
    }
    if (std::isalpha(static_cast<unsigned char>(Token))) LastToken = Token;
    I += Run;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInAMonth(int Year, int Month) {
  static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Day < 1 || Day > DaysInAMonth(Year, Month)) return false;
  int DayOfYear = Day;
  for (int M = 1; M < Month; ++M) DayOfYear += DaysInAMonth(Year, M);
  const int Y = Year - 1;
  Date = Y * 365 + Y / 4 - Y / 100 + Y / 400 + DayOfYear - DateDelta;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime Result = 0;
  if (!TryEncodeDate(Year, Month, Day, Result)) throw EConvertError(SDateEncodeError);
  return Result;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    return false;
  Time = (((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / static_cast<double>(MSecsPerDay);
  return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime Result = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, Result)) throw EConvertError(STimeEncodeError);
  return Result;
}

TDateTime ComposeDateTime(TDateTime Date, TDateTime Time) {
  const double Day = std::trunc(Date);
  const double Fraction = std::fabs(Time - std::trunc(Time));
  return Day < 0 ? Day - Fraction : Day + Fraction;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  CivilFromDays(static_cast<int>(std::trunc(Value)), Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
  const double Whole = std::trunc(Value);
  int MSecs = static_cast<int>(std::lround(std::fabs(Value - Whole) * MSecsPerDay));
  if (MSecs >= MSecsPerDay) MSecs = MSecsPerDay - 1;
  Hour = MSecs / 3600000;
  Min = MSecs / 60000 % 60;
  Sec = MSecs / 1000 % 60;
  MSec = MSecs % 1000;
}

int DayOfWeek(TDateTime Value) {
  // 0001-01-01 was a Monday.
  const long long Days = static_cast<long long>(std::trunc(Value)) + DateDelta;
  return static_cast<int>(((Days % 7) + 7) % 7) + 1;
}

TDateTime SystemNow() {
  SYSTEMTIME T;
  GetLocalTime(&T);
  return ComposeDateTime(EncodeDate(T.wYear, T.wMonth, T.wDay),
                         EncodeTime(T.wHour, T.wMinute, T.wSecond, T.wMilliseconds));
}

TDateTime Now() { return NowProc(); }
TDateTime Date() { return std::trunc(NowProc()); }
TDateTime Time() {
  const TDateTime Value = NowProc();
  return std::fabs(Value - std::trunc(Value));
}

TDateTimeParts DecodeDateTimeParts(TDateTime Value) {
  TDateTimeParts P;
  const double Whole = std::trunc(Value);
  int Seconds = static_cast<int>(std::lround(std::fabs(Value - Whole) * 86400.0));
  P.Days = static_cast<int>(Whole);
  if (Seconds >= 86400) {
    Seconds = 0;
    P.Days += Value < 0 ? -1 : 1;
  }
  P.Hour = Seconds / 3600;
  P.Minute = Seconds / 60 % 60;
  P.Second = Seconds % 60;
  // Day 0 was a Saturday.
  P.DayOfWeek = ((P.Days + 6) % 7 + 7) % 7;
  CivilFromDays(P.Days, P.Year, P.Month, P.Day);
  return P;
}

AnsiString FormatDatePicture(const AnsiString& Picture, const TDateTimeParts& P, bool DatePicture,
                             const TFormatSettings& Settings) {
  AnsiString Result;
  std::size_t I = 0;
  while (I < Picture.size()) {
    const char C = Picture[I];
    if (C == '\'') {
      ++I;
      while (I < Picture.size()) {
        if (Picture[I] == '\'') {
          if (I + 1 < Picture.size() && Picture[I + 1] == '\'') {
            Result += '\'';
            I += 2;
            continue;
          }
          ++I;
          break;
        }
        Result += Picture[I++];
      }
      continue;
    }
    std::size_t Run = 1;
    while (I + Run < Picture.size() && Picture[I + Run] == C) ++Run;
    const int N = static_cast<int>(Run);
    if (DatePicture && C == 'd') {
      if (N <= 2)
        Result += Padded(P.Day, N);
      else
        Result += N == 3 ? Settings.ShortDayNames[P.DayOfWeek] : Settings.LongDayNames[P.DayOfWeek];
    } else if (DatePicture && (C == 'M' || C == 'm')) {
      if (N <= 2)
        Result += Padded(P.Month, N);
      else
        Result += N == 3 ? Settings.ShortMonthNames[P.Month - 1] : Settings.LongMonthNames[P.Month - 1];
    } else if (DatePicture && (C == 'y' || C == 'Y')) {
      Result += N <= 2 ? Padded(P.Year % 100, N) : Padded(P.Year, 4);
    } else if (DatePicture && C == 'g') {
      // no eras
    } else if (!DatePicture && C == 'h') {
      Result += Padded(P.Hour % 12 == 0 ? 12 : P.Hour % 12, std::min(N, 2));
    } else if (!DatePicture && C == 'H') {
      Result += Padded(P.Hour, std::min(N, 2));
    } else if (!DatePicture && (C == 'm' || C == 'M')) {
      Result += Padded(P.Minute, std::min(N, 2));
    } else if (!DatePicture && C == 's') {
      Result += Padded(P.Second, std::min(N, 2));
    } else if (!DatePicture && C == 't') {
      const AnsiString& Marker = P.Hour < 12 ? Settings.TimeAMString : Settings.TimePMString;
      Result += N == 1 ? Marker.substr(0, 1) : Marker;
    } else {
      Result.append(Run, C);
    }
    I += Run;
  }
  return Result;
}

AnsiString FormatDateTime(const AnsiString& Format, TDateTime Value, const TFormatSettings& Settings) {
  const TFullParts Parts = DecodeFull(Value);
  return TDateTimeFormatter(Parts, Settings).Run(Format);
}

bool TryStrToTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
  const AnsiString Text = Trim(S);
  std::size_t I = 0;
  auto Number = [&](int& N) {
    const std::size_t Start = I;
    N = 0;
    while (I < Text.size() && I - Start < 3 && Text[I] >= '0' && Text[I] <= '9') N = N * 10 + (Text[I++] - '0');
    return I > Start && I - Start <= 2 && !(I < Text.size() && Text[I] >= '0' && Text[I] <= '9');
  };
  int Hour = 0, Min = 0, Sec = 0;
  if (!Number(Hour) || I >= Text.size() || Text[I++] != Settings.TimeSeparator || !Number(Min)) return false;
  if (I < Text.size() && Text[I] == Settings.TimeSeparator) {
    ++I;
    if (!Number(Sec)) return false;
  }
  while (I < Text.size() && Text[I] == ' ') ++I;
  const AnsiString Rest = Text.substr(I);
  if (!Rest.empty()) {
    const bool Am = SameText(Rest, Settings.TimeAMString) || SameText(Rest, "AM");
    const bool Pm = !Am && (SameText(Rest, Settings.TimePMString) || SameText(Rest, "PM"));
    if ((!Am && !Pm) || Hour > 12 || Hour == 0) return false;
    if (Hour == 12) Hour = 0;
    if (Pm) Hour += 12;
  }
  return TryEncodeTime(Hour, Min, Sec, 0, Value);
}

TDateTime StrToTime(const AnsiString& S, const TFormatSettings& Settings) {
  TDateTime Value = 0;
  if (!TryStrToTime(S, Value, Settings)) throw EConvertError(SInvalidTime, {S});
  return Value;
}
