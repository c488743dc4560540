#include "editors/dxExEdtr.h"

#include <cmath>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/Variants.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"

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

// The text of a system date or time call into a buffer of 100 characters; "" when
// the call fails.
template <class TCall>
AnsiString SystemText(TCall Call) {
  char Buffer[100];
  const int Length = Call(Buffer, static_cast<int>(sizeof(Buffer)));
  return Length > 1 ? AnsiString(Buffer, Length - 1) : AnsiString();
}

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
        const int Days = StrToInt(Trim(Rest.substr(1)));
        Result += Rest[0] == '+' ? Days : -Days;
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
  int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
  DecodeDate(Value, Year, Month, Day);
  DecodeTime(Value, Hour, Min, Sec, MSec);
  SYSTEMTIME T{};
  T.wYear = static_cast<WORD>(Year);
  T.wMonth = static_cast<WORD>(Month);
  T.wDay = static_cast<WORD>(Day);
  T.wDayOfWeek = static_cast<WORD>(DayOfWeek(Value) - 1);
  T.wHour = static_cast<WORD>(Hour);
  T.wMinute = static_cast<WORD>(Min);
  T.wSecond = static_cast<WORD>(Sec);
  const LCID Locale = GetThreadLocale();
  // The system formats no date before 1601: the format settings' short date then.
  AnsiString Result = SystemText([&](char* Buffer, int Size) {
    return Year > 0 && Year < 65536 ? GetDateFormatA(Locale, 0, &T, nullptr, Buffer, Size) : 0;
  });
  if (Result.empty()) Result = FormatDateTime("ddddd", DateOfValue(Value));
  if (Hour != 0 || Min != 0 || Sec != 0 || MSec != 0) {
    AnsiString Time = SystemText([&](char* Buffer, int Size) { return GetTimeFormatA(Locale, 0, &T, nullptr, Buffer, Size); });
    if (Time.empty()) Time = FormatDateTime("tt", Value);
    Result += ' ' + Time;
  }
  return Result;
}

AnsiString FormatDateValue(bool UseDisplayFormat, TDateTime Date) {
  if (Date == NullDate) return AnsiString();
  return UseDisplayFormat ? FormatDateTime(DateDisplayFormat(), Date) : DateToText(Date);
}

AnsiString DateEditMask(const TFormatSettings& Settings) {
  const AnsiString& Format = Settings.ShortDateFormat;
  AnsiString Result = "!";
  std::size_t I = 0;
  while (I < Format.size()) {
    const char C = Format[I];
    if (C != 'd' && C != 'M' && C != 'y') {
      Result += C;
      ++I;
      continue;
    }
    std::size_t Run = 1;
    while (I + Run < Format.size() && Format[I + Run] == C) ++Run;
    if (Run < 3)
      Result += "99";
    else
      Result += C == 'y' ? "9999" : "lll";
    I += Run;
  }
  return Result + ";1; ";
}

AnsiString DateDisplayFormat(const TFormatSettings& Settings) {
  const AnsiString& Format = Settings.ShortDateFormat;
  AnsiString Result;
  for (std::size_t I = 0; I < Format.size(); ++I) {
    const char C = Format[I];
    const bool Lone = (C == 'd' || C == 'M') && (I == 0 || Format[I - 1] != C) &&
                      (I + 1 == Format.size() || Format[I + 1] != C);
    Result += C;
    if (Lone) Result += C;
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
