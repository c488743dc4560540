#include "editors/dxExEdtr.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/Variants.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"
#include "editors/dxMaskEdit.h"

int EditCheckBoxWidth = 0;
int EditCheckBoxHeight = 0;
TDateTime dxOneSecond = 0;
TDateTime dxOneMinute = 0;
TDateTime dxOneHour = 0;
TDateTime dxMinTime = 0;
TDateTime dxMaxTime = 0;

namespace {

TCustomImageList* TheBlobImages = nullptr;
TCustomImageList* ThePopupToolImages = nullptr;
AnsiString BlobButtonCaptions[3];

// The blob glyphs' transparent colour (RGB 128, 128, 0).
constexpr TColor BlobMaskColor = static_cast<TColor>(0x8080);

const char* const Keywords[] = {"TODAY",  "YESTERDAY", "TOMORROW", "SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY",
                                "THURSDAY", "FRIDAY",  "SATURDAY", "FIRST",  "SECOND", "THIRD",   "FOURTH",
                                "FIFTH",  "SIXTH",     "SEVENTH",  "BOM",    "EOM",    "NOW"};

TDateTime KeywordDate(int Index) {
  const TDateTime Today = Date();
  const int WeekDay = DayOfWeek(Today);
  int Year = 0, Month = 0, Day = 0;
  DecodeDate(Today, Year, Month, Day);
  if (Index == 0) return Today;
  if (Index == 1) return Today - 1;
  if (Index == 2) return Today + 1;
  if (Index <= 9) {
    const int Delta = (Index - 2) - WeekDay;
    return Delta >= 0 ? Today + Delta : Today + 7 + Delta;
  }
  if (Index <= 16) return Today - (9 - Index + WeekDay);
  if (Index == 17) return EncodeDate(Year, Month, 1);
  if (Index == 18) return EncodeDate(Year, Month, DaysInAMonth(Year, Month));
  return Now();
}

// Date moved by Days with its time of day, or Date itself when the move leaves the
// years 1..9999 (which no date text can show or read back).
TDateTime OffsetWithinCalendar(TDateTime Date, double Days) {
  const double Day = std::trunc(Date) + Days;
  if (Day < EncodeDate(1, 1, 1) || Day > EncodeDate(9999, 12, 31)) return Date;
  return ComposeDateTime(Day, std::fabs(Date - std::trunc(Date)));
}

// The year a year written with one or two digits stands for: below 30 in the 2000s,
// else in the 1900s.
int WindowYear(int TwoDigits) { return TwoDigits + (TwoDigits < 30 ? 2000 : 1900); }
bool InCenturyWindow(int Year) { return Year >= WindowYear(30) && Year <= WindowYear(29); }

// Picture with each year field of one or two letters written with four (outside quoted
// text).
AnsiString FullYearPicture(const AnsiString& Picture) {
  AnsiString Result;
  bool Quoted = false;
  for (std::size_t I = 0; I < Picture.size();) {
    const char C = Picture[I];
    if (C == '\'') Quoted = !Quoted;
    if (Quoted || (C != 'y' && C != 'Y')) {
      Result += C;
      ++I;
      continue;
    }
    std::size_t Run = 1;
    while (I + Run < Picture.size() && Picture[I + Run] == C) ++Run;
    Result += AnsiString(Run < 3 ? 4 : Run, C);
    I += Run;
  }
  return Result;
}

// Reads a text in the form FormatDatePicture writes it: the short date, then blanks
// and the long time when the text goes on. Day and month names, AM and PM strings and
// quoted text are matched in any case; a blank of a picture stands for any number of
// blanks. A year of one or two digits is taken in the century window (below 30 in
// the 2000s), a longer one as written (0001 is the year 1): a year field of one or two
// letters that no other field follows at once takes four digits too, the form in which
// a date outside the window is written.
class TLocaleDateReader {
 public:
  TLocaleDateReader(const AnsiString& Text, const TFormatSettings& Settings)
      : FText(Text), FSettings(Settings) {}

  bool Read(TDateTime& Value) {
    if (!ReadPicture(FSettings.ShortDateFormat, true)) return false;
    if (!AtEnd()) {
      if (!SkipBlanks() || !ReadPicture(FSettings.LongTimeFormat, false)) return false;
      SkipBlanks();
      if (!AtEnd()) return false;
    }
    if (FYear < 0 || FMonth < 0 || FDay < 0) return false;
    int Hour = FHour;
    if (FTwelveHour && FHalf != 0) {
      if (Hour < 1 || Hour > 12) return false;
      Hour = Hour % 12 + (FHalf == 2 ? 12 : 0);
    }
    TDateTime Day = 0;
    TDateTime Time = 0;
    if (!TryEncodeDate(FYear, FMonth, FDay, Day) || !TryEncodeTime(Hour, FMinute, FSecond, 0, Time))
      return false;
    Value = ComposeDateTime(Day, Time);
    return true;
  }

 private:
  bool AtEnd() const { return FPos >= FText.size(); }
  // Whether any blank was skipped.
  bool SkipBlanks() {
    const std::size_t Start = FPos;
    while (!AtEnd() && FText[FPos] == ' ') ++FPos;
    return FPos > Start;
  }
  bool Literal(char C) {
    if (C == ' ') {
      SkipBlanks();
      return true;
    }
    if (AtEnd() || FText[FPos] != C) return false;
    ++FPos;
    return true;
  }
  bool Number(int MaxDigits, int& Value, int& Digits) {
    Value = 0;
    Digits = 0;
    while (Digits < MaxDigits && !AtEnd() && FText[FPos] >= '0' && FText[FPos] <= '9') {
      Value = Value * 10 + (FText[FPos++] - '0');
      ++Digits;
    }
    return Digits > 0;
  }
  bool Number(int MaxDigits, int& Value) {
    int Digits = 0;
    return Number(MaxDigits, Value, Digits);
  }
  bool Year(int MaxDigits) {
    int Digits = 0;
    if (!Number(MaxDigits, FYear, Digits)) return false;
    if (Digits <= 2) FYear = WindowYear(FYear);
    return true;
  }
  // The longest of Count names at the current place; Index is its place in the list.
  bool Name(const AnsiString* Names, int Count, int& Index) {
    std::size_t Best = 0;
    for (int I = 0; I < Count; ++I) {
      const AnsiString& Candidate = Names[I];
      if (Candidate.size() > Best && Candidate.size() <= FText.size() - FPos &&
          SameText(FText.substr(FPos, Candidate.size()), Candidate)) {
        Best = Candidate.size();
        Index = I;
      }
    }
    FPos += Best;
    return Best > 0;
  }
  bool Marker(bool FirstLetter) {
    const AnsiString Am = FirstLetter ? FSettings.TimeAMString.substr(0, 1) : FSettings.TimeAMString;
    const AnsiString Pm = FirstLetter ? FSettings.TimePMString.substr(0, 1) : FSettings.TimePMString;
    const AnsiString Markers[2] = {Am, Pm};
    int Index = 0;
    if (Am.empty() && Pm.empty()) return true;
    if (!Name(Markers, 2, Index)) return false;
    FHalf = Index + 1;
    return true;
  }

  // The fields of one picture, its letters read as FormatDatePicture writes them.
  bool ReadPicture(const AnsiString& Picture, bool DatePicture) {
    std::size_t I = 0;
    while (I < Picture.size()) {
      const char C = Picture[I];
      if (C == '\'') {
        for (++I; I < Picture.size(); ++I) {
          if (Picture[I] == '\'') {
            if (I + 1 >= Picture.size() || Picture[I + 1] != '\'') break;
            ++I;
          }
          if (!Literal(Picture[I])) return false;
        }
        ++I;
        continue;
      }
      std::size_t Run = 1;
      while (I + Run < Picture.size() && Picture[I + Run] == C) ++Run;
      I += Run;
      const bool Long = Run >= 4;
      int Ignored = 0;
      bool Read = true;
      if (DatePicture && C == 'd') {
        Read = Run <= 2 ? Number(2, FDay)
                        : Name(Long ? FSettings.LongDayNames : FSettings.ShortDayNames, 7, Ignored);
      } else if (DatePicture && (C == 'M' || C == 'm')) {
        Read = Run <= 2 ? Number(2, FMonth)
                        : Name(Long ? FSettings.LongMonthNames : FSettings.ShortMonthNames, 12, FMonth);
        if (Read && Run > 2) ++FMonth;
      } else if (DatePicture && (C == 'y' || C == 'Y')) {
        const bool FieldFollows = I < Picture.size() && std::isalpha(static_cast<unsigned char>(Picture[I]));
        Read = Year(Run <= 2 && FieldFollows ? 2 : 4);
      } else if (DatePicture && C == 'g') {
        // no eras
      } else if (!DatePicture && (C == 'h' || C == 'H')) {
        Read = Number(2, FHour);
        FTwelveHour = C == 'h';
      } else if (!DatePicture && (C == 'm' || C == 'M')) {
        Read = Number(2, FMinute);
      } else if (!DatePicture && C == 's') {
        Read = Number(2, FSecond);
      } else if (!DatePicture && C == 't') {
        Read = Marker(Run == 1);
      } else {
        for (std::size_t K = 0; K < Run && Read; ++K) Read = Literal(C);
      }
      if (!Read) return false;
    }
    return true;
  }

  const AnsiString& FText;
  const TFormatSettings& FSettings;
  std::size_t FPos = 0;
  int FYear = -1, FMonth = -1, FDay = -1;
  int FHour = 0, FMinute = 0, FSecond = 0;
  bool FTwelveHour = false;
  int FHalf = 0;  // 1 AM, 2 PM
};

// A list of bitmaps from the module's resources, sized by the first one.
TCustomImageList* LoadImages(std::initializer_list<const char*> Names, TColor MaskColor) {
  TOwned<TCustomImageList> List;
  for (const char* Name : Names) {
    TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
    Bitmap->LoadFromResourceName(HInstance, Name);
    if (!List) List.reset(NewObject<TCustomImageList>(Bitmap->Width(), Bitmap->Height()));
    List->AddMasked(Bitmap.get(), MaskColor);
  }
  return List.release();
}

}  // namespace

bool SmartTextToDate(const AnsiString& Text, TDateTime& Date) {
  for (int I = 0; I < static_cast<int>(std::size(Keywords)); ++I) {
    const AnsiString Keyword = Keywords[I];
    if (AnsiCompareText(Keyword, Text.substr(0, Keyword.size())) != 0) continue;
    TDateTime Result = KeywordDate(I);
    const AnsiString Rest = Trim(Text.substr(Keyword.size()));
    if (Rest.size() >= 2 && (Rest[0] == '+' || Rest[0] == '-')) {
      try {
        const double Days = StrToInt(Trim(Rest.substr(1)));
        Result = OffsetWithinCalendar(Result, Rest[0] == '+' ? Days : -Days);
      } catch (const EConvertError&) {
        // Not a number: the keyword's date alone.
      }
    }
    Date = Result;
    return true;
  }
  return false;
}

bool TextToDate(const AnsiString& Text, TDateTime& Date) {
  AnsiString S = Trim(Text);
  if (S.empty()) return false;
  if (TLocaleDateReader(S, FormatSettings).Read(Date)) return true;
  if (FormatSettings.DateSeparator == '.') {
    int Dots = 0;
    for (char& C : S)
      if (C == '.' && Dots < 2) {
        C = ' ';
        ++Dots;
      }
  }
  if (SmartTextToDate(S, Date)) return true;
  try {
    Date = VarDateFromText(S);
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

AnsiString DateToText(TDateTime Value) {
  if (Value == NullDate) return AnsiString();
  const TDateTimeParts Parts = DecodeDateTimeParts(Value);
  // A year of two digits reads in the century window: a date outside it shows all four.
  const AnsiString& Short = FormatSettings.ShortDateFormat;
  AnsiString Result = FormatDatePicture(InCenturyWindow(Parts.Year) ? Short : FullYearPicture(Short), Parts, true);
  if (Parts.Hour != 0 || Parts.Minute != 0 || Parts.Second != 0)
    Result += ' ' + FormatDatePicture(FormatSettings.LongTimeFormat, Parts, false);
  return Result;
}

AnsiString FormatDateValue(bool UseDisplayFormat, TDateTime Date) {
  if (Date == NullDate) return AnsiString();
  return UseDisplayFormat ? FormatDateTime(DateDisplayFormat(), Date) : DateToText(Date);
}

namespace {

// The text of the quoted part of Format that starts at I (a quote), without its quotes
// ('' inside is a quote); I moves past the closing quote.
AnsiString QuotedText(const AnsiString& Format, std::size_t& I) {
  AnsiString Text;
  for (++I; I < Format.size(); ++I) {
    if (Format[I] == '\'') {
      if (I + 1 >= Format.size() || Format[I + 1] != '\'') break;
      ++I;
    }
    Text += Format[I];
  }
  ++I;
  return Text;
}

// The characters an edit mask reads as positions, separators or directives.
bool IsMaskDirective(char C) { return C != '\0' && std::strchr("09#LlAaCc:/!<>\\;", C) != nullptr; }

// The field a letter of a date picture stands for, read as FormatDatePicture reads it:
// 'd', 'M' (also m), 'y' (also Y) or 'g' (the era, written as nothing); '\0' for any
// other character, a literal.
char DateField(char C) {
  switch (C) {
    case 'd': return 'd';
    case 'M':
    case 'm': return 'M';
    case 'y':
    case 'Y': return 'y';
    case 'g': return 'g';
  }
  return '\0';
}

// How many times the character at I repeats from there on ("yyyy" is a run of 4).
std::size_t RunLength(const AnsiString& Format, std::size_t I) {
  std::size_t Run = 1;
  while (I + Run < Format.size() && Format[I + Run] == Format[I]) ++Run;
  return Run;
}

// The characters the class library's date-time format reads as separators, quotes or
// fields, when a literal of a system picture is one of them.
bool IsFormatDirective(char C) {
  return C == '/' || C == ':' || C == '"' || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

// Text quoted for the class library's date-time format, whose quotes hold no escape: a
// single quote goes between double ones, everything else between single ones.
AnsiString FormatLiteral(const AnsiString& Text) {
  AnsiString Result;
  std::size_t I = 0;
  while (I < Text.size()) {
    if (Text[I] == '\'') {
      Result += "\"'\"";
      ++I;
      continue;
    }
    const std::size_t End = std::min(Text.find('\'', I), Text.size());
    Result += '\'' + Text.substr(I, End - I) + '\'';
    I = End;
  }
  return Result;
}

// A day, month or year field of the date edit mask: its letter ('d', 'M' or 'y'), its
// first character in the text the mask shows, and its width (2, or 4 for a long year).
struct TDateMaskField {
  char Kind;
  int Start;
  int Width;
};

// Settings' short date laid out as the date edit mask: the mask ("" for a format with
// day or month names), and each field's place in the text it shows when Fields is given.
AnsiString LayDateEditMask(const TFormatSettings& Settings, std::vector<TDateMaskField>* Fields) {
  const AnsiString& Format = Settings.ShortDateFormat;
  AnsiString Result = "!";
  int Shown = 0;
  auto Literal = [&](char C) {
    if (IsMaskDirective(C)) Result += '\\';
    Result += C;
    ++Shown;
  };
  std::size_t I = 0;
  while (I < Format.size()) {
    const char C = Format[I];
    if (C == '\'') {
      for (char Quoted : QuotedText(Format, I)) Literal(Quoted);
      continue;
    }
    const char Field = DateField(C);
    if (Field == '\0') {
      // A literal of the format: the mask would read "/" as its own date separator,
      // which need not be this character (a right-to-left mark may stand before it).
      Literal(C);
      ++I;
      continue;
    }
    const std::size_t Run = RunLength(Format, I);
    I += Run;
    if (Field == 'g') continue;
    // Day and month names cannot be typed into positions.
    if (Run >= 3 && Field != 'y') return AnsiString();
    const int Width = Run < 3 ? 2 : 4;
    if (Fields) Fields->push_back(TDateMaskField{Field, Shown, Width});
    Result += AnsiString(static_cast<std::size_t>(Width), '9');
    Shown += Width;
  }
  return Result + ";1; ";
}

// The values a field of a masked date text may still come to: the number its digits
// make as they stand (the date's reading passes over blanks), and each number a filling
// of its blanks makes. Year fields are read as the date's reading reads them: up to two
// digits in the century window, more as written. Values go into Possible (by value);
// a character that is neither a digit nor a blank leaves it empty.
void FieldValues(const AnsiString& Chars, char Kind, char Blank, std::vector<bool>& Possible) {
  auto IsBlank = [Blank](char C) { return C == Blank || C == ' '; };
  auto Note = [&](int Value, int Digits) {
    if (Kind == 'y' && Digits <= 2) Value = WindowYear(Value);
    if (Value >= 0 && Value < static_cast<int>(Possible.size())) Possible[static_cast<std::size_t>(Value)] = true;
  };
  int Blanks = 0;
  int Standing = 0;
  int StandingDigits = 0;
  for (char C : Chars) {
    if (IsBlank(C)) {
      ++Blanks;
    } else if (C >= '0' && C <= '9') {
      Standing = Standing * 10 + (C - '0');
      ++StandingDigits;
    } else {
      return;
    }
  }
  if (StandingDigits > 0) Note(Standing, StandingDigits);
  if (Blanks == 0) return;
  int Fillings = 1;
  for (int B = 0; B < Blanks; ++B) Fillings *= 10;
  for (int Filling = 0; Filling < Fillings; ++Filling) {
    int Value = 0;
    int Digit = Fillings;
    for (char C : Chars) {
      int D = C - '0';
      if (IsBlank(C)) {
        Digit /= 10;
        D = Filling / Digit % 10;
      }
      Value = Value * 10 + D;
    }
    Note(Value, static_cast<int>(Chars.size()));
  }
}

}  // namespace

AnsiString DateEditMask(const TFormatSettings& Settings) { return LayDateEditMask(Settings, nullptr); }

bool DateMaskYearField(int& Start, int& Width, const TFormatSettings& Settings) {
  std::vector<TDateMaskField> Fields;
  if (LayDateEditMask(Settings, &Fields).empty()) return false;
  for (const TDateMaskField& Field : Fields) {
    if (Field.Kind != 'y') continue;
    Start = Field.Start;
    Width = Field.Width;
    return true;
  }
  return false;
}

bool IsPossibleMaskedDate(const AnsiString& Text, char Blank, const TFormatSettings& Settings) {
  std::vector<TDateMaskField> Fields;
  const AnsiString Mask = LayDateEditMask(Settings, &Fields);
  if (Mask.empty() || static_cast<int>(Text.size()) != TdxEditMask(Mask, Settings).Length()) return true;
  // The values each kind of field may still come to; a kind the format lacks takes any.
  std::vector<bool> Days(32, true), Months(13, true), Years(10000, true);
  Days[0] = Months[0] = Years[0] = false;
  for (const TDateMaskField& Field : Fields) {
    std::vector<bool>& Kind = Field.Kind == 'd' ? Days : Field.Kind == 'M' ? Months : Years;
    std::vector<bool> Possible(Kind.size(), false);
    FieldValues(Text.substr(static_cast<std::size_t>(Field.Start), static_cast<std::size_t>(Field.Width)), Field.Kind,
                Blank, Possible);
    for (std::size_t V = 0; V < Kind.size(); ++V) Kind[V] = Kind[V] && Possible[V];
  }
  // Only February asks the year: a leap one, or any.
  bool AnyYear = false;
  bool LeapYear = false;
  for (int Year = 1; Year < 10000; ++Year) {
    if (!Years[static_cast<std::size_t>(Year)]) continue;
    AnyYear = true;
    LeapYear = LeapYear || IsLeapYear(Year);
  }
  if (!AnyYear) return false;
  for (int Month = 1; Month <= 12; ++Month) {
    if (!Months[static_cast<std::size_t>(Month)]) continue;
    const int Last = Month == 2 ? (LeapYear ? 29 : 28) : DaysInAMonth(2001, Month);
    for (int Day = 1; Day <= Last; ++Day)
      if (Days[static_cast<std::size_t>(Day)]) return true;
  }
  return false;
}

AnsiString DateDisplayFormat(const TFormatSettings& Settings) {
  const AnsiString& Format = Settings.ShortDateFormat;
  AnsiString Result;
  std::size_t I = 0;
  while (I < Format.size()) {
    const char C = Format[I];
    if (C == '\'') {
      Result += FormatLiteral(QuotedText(Format, I));
      continue;
    }
    const char Field = DateField(C);
    if (Field == '\0') {
      Result += IsFormatDirective(C) ? FormatLiteral(AnsiString(1, C)) : AnsiString(1, C);
      ++I;
      continue;
    }
    const std::size_t Run = RunLength(Format, I);
    I += Run;
    if (Field == 'g') continue;
    // A lone day or month has two digits, as in the mask.
    Result += AnsiString(Run == 1 && Field != 'y' ? 2 : Run, C);
  }
  return Result;
}

AnsiString CurrencyDisplayFormat(const TFormatSettings& Settings) {
  const AnsiString Digits = ",0." + AnsiString(Settings.CurrencyDecimals, '0');
  AnsiString Symbol;
  for (char C : Settings.CurrencyString) {
    if (C == ',' || C == '.')
      Symbol += AnsiString("'") + C + "'";
    else
      Symbol += C;
  }
  AnsiString Text = Digits;
  if (!Symbol.empty()) {
    switch (Settings.CurrencyFormat) {
      case 0: Text = Symbol + Digits; break;
      case 1: Text = Digits + Symbol; break;
      case 2: Text = Symbol + ' ' + Digits; break;
      case 3: Text = Digits + ' ' + Symbol; break;
      default: break;
    }
  }
  return Text + ";-" + Text;
}

bool WindowPointFromScreen(HWND Window, TPoint& P) {
  RECT R;
  GetWindowRect(Window, &R);
  MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&R), 2);
  const bool Result = ScreenToClient(Window, &P) != FALSE;
  P.x -= R.left;
  P.y -= R.top;
  return Result;
}

TCustomImageList* BlobImages() { return TheBlobImages; }
TCustomImageList* PopupToolImages() { return ThePopupToolImages; }
const AnsiString& dxBlobButtonCaption(int Index) { return BlobButtonCaptions[Index]; }

// ---------------------------------------------------------------------------------
// Start and end

void InitdxExEdtr() {
  TheBlobImages = LoadImages({"DXINPLACE_BLOB_NULL", "DXINPLACE_BLOB", "DXINPLACE_MEMO_NULL", "DXINPLACE_MEMO",
                              "DXINPLACE_PICT_NULL", "DXINPLACE_PICT", "DXINPLACE_OLE_NULL", "DXINPLACE_OLE"},
                             BlobMaskColor);
  ThePopupToolImages = LoadImages({"DXTOOL_CUT", "DXTOOL_COPY", "DXTOOL_PASTE", "DXTOOL_DELETE", "DXTOOL_LOAD",
                                   "DXTOOL_SAVE"},
                                  clDefault);
  const UINT Captions[] = {IDS_DXEDIT_BLOBOK, IDS_DXEDIT_BLOBCANCEL, IDS_DXEDIT_BLOBCLOSE};
  for (int I = 0; I < 3; ++I) BlobButtonCaptions[I] = dxEditText(Captions[I]);
  dxOneSecond = EncodeTime(0, 0, 1, 0);
  dxOneMinute = EncodeTime(0, 1, 0, 0);
  dxOneHour = EncodeTime(1, 0, 0, 0);
  dxMinTime = EncodeTime(0, 0, 0, 0);
  dxMaxTime = EncodeTime(23, 59, 59, 0);
  if (TOwnedBitmap Boxes{CountHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(dxObmCheckBoxes)))}) {
    BITMAP Info{};
    GetObjectA(Boxes.Handle(), sizeof(Info), &Info);
    EditCheckBoxWidth = Info.bmWidth / 4;
    EditCheckBoxHeight = Info.bmHeight / 3;
  }
  if (Screen) Screen->SetCursors(crdxHandPoint, LoadCursorA(HInstance, "DX_HANDPOINT"));
}

void DonedxExEdtr() {
  if (Screen) Screen->SetCursors(crdxHandPoint, nullptr);
  for (AnsiString& Caption : BlobButtonCaptions) Caption.clear();
  FreeAndNil(ThePopupToolImages);
  FreeAndNil(TheBlobImages);
}
