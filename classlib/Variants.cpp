#include "classlib/Variants.h"

#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "classlib/DateTime.h"
#include "classlib/FloatConv.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"

TCLASS_IMPL(EVariantError)

namespace {

// The range of the system's dates: 0100-01-01 to 9999-12-31, end of day.
constexpr double MinDate = -657434.0;
constexpr double MaxDate = 2958466.0;

constexpr Int64 CurrencyScale = 10000;

bool InIntegerRange(double Value) {
  return Value >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
         Value <= static_cast<double>(std::numeric_limits<Integer>::max());
}

// 2^63: the first whole number past the 64-bit range (exactly representable).
constexpr double Int64Limit = 9223372036854775808.0;

bool InInt64Range(double Value) { return Value >= -Int64Limit && Value < Int64Limit; }

bool IsWhole(TVarType Type) { return Type == varInteger || Type == varInt64; }

// Rounds halves to even, as the system's variant conversions do. NaN stays NaN.
double RoundEven(double Value) {
  double Floor = std::floor(Value);
  double Diff = Value - Floor;
  if (Diff > 0.5) return Floor + 1;
  if (Diff < 0.5) return Floor;
  return std::fmod(Floor, 2.0) == 0 ? Floor : Floor + 1;
}

// Scaled / 10000 rounded half to even, without going through a double.
Int64 CurrencyToWhole(Int64 Scaled) {
  Int64 Whole = Scaled / CurrencyScale;
  Int64 Rest = Scaled % CurrencyScale;  // same sign as Scaled
  Int64 Twice = 2 * (Rest < 0 ? -Rest : Rest);
  bool Up = Twice > CurrencyScale || (Twice == CurrencyScale && (Whole % 2) != 0);
  if (Up) Whole += Scaled < 0 ? -1 : 1;
  return Whole;
}

AnsiString CurrencyText(Int64 Scaled, const TFormatSettings& Settings) {
  const bool Negative = Scaled < 0;
  const std::uint64_t Magnitude =
      Negative ? 0 - static_cast<std::uint64_t>(Scaled) : static_cast<std::uint64_t>(Scaled);
  AnsiString Text = (Negative ? "-" : "") + std::to_string(Magnitude / CurrencyScale);
  AnsiString Fraction = std::to_string(Magnitude % CurrencyScale + CurrencyScale).substr(1);
  while (!Fraction.empty() && Fraction.back() == '0') Fraction.pop_back();
  if (!Fraction.empty()) Text += Settings.DecimalSeparator + Fraction;
  return Text;
}

WideString ToWide(const AnsiString& S) {
  if (S.empty()) return WideString();
  int Length = MultiByteToWideChar(CP_ACP, 0, S.data(), static_cast<int>(S.size()), nullptr, 0);
  WideString Result(static_cast<std::size_t>(Length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, S.data(), static_cast<int>(S.size()), Result.data(), Length);
  return Result;
}

AnsiString ToAnsi(const WideString& S) {
  if (S.empty()) return AnsiString();
  int Length = WideCharToMultiByte(CP_ACP, 0, S.data(), static_cast<int>(S.size()), nullptr, 0,
                                   nullptr, nullptr);
  AnsiString Result(static_cast<std::size_t>(Length), '\0');
  WideCharToMultiByte(CP_ACP, 0, S.data(), static_cast<int>(S.size()), Result.data(), Length,
                      nullptr, nullptr);
  return Result;
}

// ---------------------------------------------------------------------------------
// Dates

// The system's dates start in the year 100.
bool TryEncodeDate(int Year, int Month, int Day, double& Value) {
  return Year >= 100 && ::TryEncodeDate(Year, Month, Day, Value);
}

// The picture's letters in place of the date's parts, in the order the picture shows
// them ('d', 'M', 'y'); text in single quotes is skipped.
AnsiString DateOrder(const AnsiString& Picture) {
  AnsiString Order;
  bool Quoted = false;
  for (char C : Picture) {
    if (C == '\'') {
      Quoted = !Quoted;
      continue;
    }
    if (Quoted) continue;
    char Part = 0;
    if (C == 'd' || C == 'D') Part = 'd';
    if (C == 'M' || C == 'm') Part = 'M';
    if (C == 'y' || C == 'Y') Part = 'y';
    if (Part && Order.find(Part) == AnsiString::npos) Order += Part;
  }
  for (char Part : {'M', 'd', 'y'})
    if (Order.find(Part) == AnsiString::npos) Order += Part;
  return Order;
}

class TDateScanner {
 public:
  TDateScanner(const AnsiString& S) : FText(S) {}

  void SkipBlanks() {
    while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
  }
  bool AtEnd() const { return FPos >= FText.size(); }
  bool Take(char C) {
    if (AtEnd() || FText[FPos] != C) return false;
    ++FPos;
    return true;
  }
  char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }
  // A run of up to 4 digits; Digits gives how many.
  bool Number(int& Value, int& Digits) {
    Value = 0;
    Digits = 0;
    while (!AtEnd() && FText[FPos] >= '0' && FText[FPos] <= '9') {
      if (++Digits > 4) return false;
      Value = Value * 10 + (FText[FPos++] - '0');
    }
    return Digits > 0;
  }
  // The word at the current place, any case.
  bool Word(const AnsiString& W) {
    if (W.empty() || FText.size() - FPos < W.size()) return false;
    if (!SameText(FText.substr(FPos, W.size()), W)) return false;
    FPos += W.size();
    return true;
  }

 private:
  const AnsiString& FText;
  std::size_t FPos = 0;
};

// Hours, minutes and optional seconds, then an optional AM or PM string.
bool ScanTime(TDateScanner& Scan, int Hour, const TFormatSettings& Settings, double& Fraction) {
  int Minute = 0, Second = 0, Digits = 0;
  if (!Scan.Number(Minute, Digits) || Digits > 2) return false;
  if (Scan.Take(Settings.TimeSeparator) && (!Scan.Number(Second, Digits) || Digits > 2))
    return false;
  Scan.SkipBlanks();
  int Half = 0;  // 1 AM, 2 PM
  if (Scan.Word(Settings.TimeAMString) || Scan.Word("AM"))
    Half = 1;
  else if (Scan.Word(Settings.TimePMString) || Scan.Word("PM"))
    Half = 2;
  if (Half != 0) {
    if (Hour > 12) return false;
    if (Hour == 12) Hour = 0;
    if (Half == 2) Hour += 12;
  }
  if (Hour > 23 || Minute > 59 || Second > 59) return false;
  Fraction = (Hour * 3600 + Minute * 60 + Second) / 86400.0;
  return true;
}

int CurrentYear() {
  SYSTEMTIME Now;
  GetLocalTime(&Now);
  return Now.wYear;
}

// A date, and a time after blanks, making up the whole text.
bool ScanDateText(const AnsiString& Text, const TFormatSettings& Settings, double& Days, double& Fraction) {
  TDateScanner Scan(Text);
  int Numbers[3] = {0, 0, 0};
  int Digits[3] = {0, 0, 0};
  if (!Scan.Number(Numbers[0], Digits[0]) || !Scan.Take(Settings.DateSeparator) ||
      !Scan.Number(Numbers[1], Digits[1]))
    return false;
  int Count = 2;
  if (Scan.Take(Settings.DateSeparator)) {
    if (!Scan.Number(Numbers[2], Digits[2])) return false;
    Count = 3;
  }
  // The numbers in the picture's order; two of them are month and day.
  AnsiString Order = DateOrder(Settings.ShortDateFormat);
  if (Count == 2) Order.erase(Order.find('y'), 1);
  int Year = CurrentYear(), Month = 0, Day = 0;
  for (int I = 0; I < Count; ++I) {
    switch (Order[I]) {
      case 'd': Day = Numbers[I]; break;
      case 'M': Month = Numbers[I]; break;
      case 'y':
        Year = Numbers[I];
        if (Digits[I] <= 2) Year += Year < 30 ? 2000 : 1900;
        break;
    }
  }
  if (!TryEncodeDate(Year, Month, Day, Days)) return false;
  Fraction = 0;
  const bool Blank = Scan.Peek() == ' ';
  Scan.SkipBlanks();
  if (Scan.AtEnd()) return true;
  int Hour = 0, HourDigits = 0;
  if (!Blank || !Scan.Number(Hour, HourDigits) || HourDigits > 2 || !Scan.Take(Settings.TimeSeparator) ||
      !ScanTime(Scan, Hour, Settings, Fraction))
    return false;
  Scan.SkipBlanks();
  return Scan.AtEnd();
}

// A time making up the whole text.
bool ScanTimeText(const AnsiString& Text, const TFormatSettings& Settings, double& Fraction) {
  TDateScanner Scan(Text);
  int Hour = 0, Digits = 0;
  if (!Scan.Number(Hour, Digits) || Digits > 2 || !Scan.Take(Settings.TimeSeparator) ||
      !ScanTime(Scan, Hour, Settings, Fraction))
    return false;
  Scan.SkipBlanks();
  return Scan.AtEnd();
}


int CompareTexts(const Variant& A, const Variant& B, const TFormatSettings& Settings) {
  if (A.VarType() == varOleStr || B.VarType() == varOleStr) {
    WideString WA = A.AsOleString(Settings), WB = B.AsOleString(Settings);
    int Result = CompareStringW(LOCALE_USER_DEFAULT, 0, WA.data(), static_cast<int>(WA.size()),
                                WB.data(), static_cast<int>(WB.size())) -
                 CSTR_EQUAL;
    return Result != 0 ? Result : WA.compare(WB);
  }
  AnsiString SA = A.AsString(Settings), SB = B.AsString(Settings);
  int Result = AnsiCompareStr(SA, SB);
  return Result != 0 ? Result : CompareStr(SA, SB);
}

template <class T>
int Sign(T A, T B) {
  return A < B ? -1 : (B < A ? 1 : 0);
}

}  // namespace

// ---------------------------------------------------------------------------------

Currency Currency::FromDouble(double Value) {
  double Scaled = RoundEven(Value * CurrencyScale);
  // 2^63: the first value past the range (exactly representable).
  constexpr double Limit = 9223372036854775808.0;
  if (!(Scaled >= -Limit && Scaled < Limit))
    throw EVariantError(SVarTypeConvertOverflow, {VarTypeName(varDouble), VarTypeName(varCurrency)});
  return Currency{static_cast<Int64>(Scaled)};
}

Variant Variant::Null() {
  Variant Result;
  Result.FType = varNull;
  return Result;
}

Variant Variant::FromDateTime(TDateTime Value) {
  Variant Result(Value);
  Result.FType = varDate;
  return Result;
}

bool Variant::IsNumeric() const {
  return FType == varInteger || FType == varInt64 || FType == varDouble || FType == varCurrency ||
         FType == varBoolean;
}

void Variant::RaiseCast(TVarType To) const {
  throw EVariantError(SVarTypeCouldNotConvert, {VarTypeName(FType), VarTypeName(To)});
}

void Variant::RaiseOverflow(TVarType To) const {
  throw EVariantError(SVarTypeConvertOverflow, {VarTypeName(FType), VarTypeName(To)});
}

// The value as a double for a conversion to To (Null and texts that are no number
// raise).
double Variant::NumberOf(TVarType To, const TFormatSettings& Settings) const {
  switch (FType) {
    case varEmpty: return 0;
    case varInteger: return FInteger;
    case varInt64: return static_cast<double>(FInt64);
    case varDouble:
    case varDate: return FDouble;
    case varCurrency: return static_cast<double>(FCurrency) / CurrencyScale;
    case varBoolean: return FBoolean ? -1 : 0;
    case varString:
    case varOleStr: {
      double Value;
      if (TryStrToFloat(FType == varString ? FString : ToAnsi(FOleString), Value, Settings))
        return Value;
      break;
    }
  }
  RaiseCast(To);
}

Integer Variant::AsInteger(const TFormatSettings& Settings) const {
  switch (FType) {
    case varInteger: return FInteger;
    case varInt64:
      if (FInt64 < std::numeric_limits<Integer>::min() || FInt64 > std::numeric_limits<Integer>::max())
        RaiseOverflow(varInteger);
      return static_cast<Integer>(FInt64);
    case varBoolean: return FBoolean ? -1 : 0;
    case varCurrency: {
      Int64 Whole = CurrencyToWhole(FCurrency);
      if (Whole < std::numeric_limits<Integer>::min() || Whole > std::numeric_limits<Integer>::max())
        RaiseOverflow(varInteger);
      return static_cast<Integer>(Whole);
    }
    case varString:
    case varOleStr: {
      int Value;
      if (TryStrToInt(FType == varString ? FString : ToAnsi(FOleString), Value)) return Value;
      break;
    }
  }
  double Value = RoundEven(NumberOf(varInteger, Settings));
  if (!InIntegerRange(Value)) RaiseOverflow(varInteger);
  return static_cast<Integer>(Value);
}

Int64 Variant::AsInt64(const TFormatSettings& Settings) const {
  switch (FType) {
    case varInteger: return FInteger;
    case varInt64: return FInt64;
    case varBoolean: return FBoolean ? -1 : 0;
    case varCurrency: return CurrencyToWhole(FCurrency);
    case varString:
    case varOleStr: {
      Int64 Value;
      if (TryStrToInt64(FType == varString ? FString : ToAnsi(FOleString), Value)) return Value;
      break;
    }
  }
  double Value = RoundEven(NumberOf(varInt64, Settings));
  if (!InInt64Range(Value)) RaiseOverflow(varInt64);
  return static_cast<Int64>(Value);
}

double Variant::AsDouble(const TFormatSettings& Settings) const {
  return NumberOf(varDouble, Settings);
}

Currency Variant::AsCurrency(const TFormatSettings& Settings) const {
  switch (FType) {
    case varCurrency: return Currency{FCurrency};
    case varInteger: return Currency{FInteger * CurrencyScale};
    case varInt64:
      if (FInt64 > std::numeric_limits<Int64>::max() / CurrencyScale ||
          FInt64 < std::numeric_limits<Int64>::min() / CurrencyScale)
        RaiseOverflow(varCurrency);
      return Currency{FInt64 * CurrencyScale};
    case varBoolean: return Currency{FBoolean ? -CurrencyScale : 0};
  }
  double Value = NumberOf(varCurrency, Settings);
  try {
    return Currency::FromDouble(Value);
  } catch (const EVariantError&) {
    RaiseOverflow(varCurrency);
  }
}

TDateTime Variant::AsDateTime(const TFormatSettings& Settings) const {
  double Value;
  if (FType == varString || FType == varOleStr) {
    if (!TryVarStrToDate(FType == varString ? FString : ToAnsi(FOleString), Value, Settings))
      RaiseCast(varDate);
  } else {
    Value = NumberOf(varDate, Settings);
  }
  if (!(Value >= MinDate && Value < MaxDate)) RaiseOverflow(varDate);
  return Value;
}

bool Variant::AsBoolean(const TFormatSettings& Settings) const {
  switch (FType) {
    case varBoolean: return FBoolean;
    case varString:
    case varOleStr: {
      AnsiString Text = Trim(FType == varString ? FString : ToAnsi(FOleString));
      if (SameText(Text, "True")) return true;
      if (SameText(Text, "False")) return false;
      break;
    }
  }
  return NumberOf(varBoolean, Settings) != 0;
}

AnsiString Variant::AsString(const TFormatSettings& Settings) const {
  switch (FType) {
    case varEmpty: return AnsiString();
    case varInteger: return IntToStr(FInteger);
    case varInt64: return IntToStr(FInt64);
    case varDouble: return FloatToStr(FDouble, Settings);
    case varCurrency: return CurrencyText(FCurrency, Settings);
    case varDate: return VarDateToStr(FDouble, Settings);
    case varBoolean: return FBoolean ? "True" : "False";
    case varString: return FString;
    case varOleStr: return ToAnsi(FOleString);
  }
  RaiseCast(varString);
}

WideString Variant::AsOleString(const TFormatSettings& Settings) const {
  if (FType == varOleStr) return FOleString;
  if (FType == varNull) RaiseCast(varOleStr);
  return ToWide(AsString(Settings));
}

Variant Variant::AsType(TVarType Type, const TFormatSettings& Settings) const {
  if (Type == FType) return *this;
  switch (Type) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varInteger: return Variant(AsInteger(Settings));
    case varInt64: return Variant(AsInt64(Settings));
    case varDouble: return Variant(AsDouble(Settings));
    case varCurrency: return Variant(AsCurrency(Settings));
    case varDate: return FromDateTime(AsDateTime(Settings));
    case varBoolean: return Variant(AsBoolean(Settings));
    case varString: return Variant(AsString(Settings));
    case varOleStr: return Variant(AsOleString(Settings));
  }
  RaiseCast(Type);
}

Variant Variant::FromOleVariant(const VARIANT& Source) {
  if (V_VT(&Source) & VT_BYREF) {
    VARIANT Plain;
    VariantInit(&Plain);
    if (FAILED(VariantCopyInd(&Plain, const_cast<VARIANT*>(&Source))))
      throw EVariantError(SVarTypeNotSupported, {static_cast<int>(V_VT(&Source))});
    auto Clear = ScopeExit([&] { VariantClear(&Plain); });
    return FromOleVariant(Plain);
  }
  const VARIANT* S = &Source;
  switch (V_VT(S)) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Null();
    case VT_I1: return Variant(static_cast<int>(V_I1(S)));
    case VT_I2: return Variant(static_cast<int>(V_I2(S)));
    case VT_I4: return Variant(static_cast<int>(V_I4(S)));
    case VT_INT: return Variant(static_cast<int>(V_INT(S)));
    case VT_UI1: return Variant(static_cast<int>(V_UI1(S)));
    case VT_UI2: return Variant(static_cast<int>(V_UI2(S)));
    case VT_UI4:
    case VT_UINT: {
      ULONG Value = V_VT(S) == VT_UI4 ? V_UI4(S) : V_UINT(S);
      if (Value <= static_cast<ULONG>(std::numeric_limits<Integer>::max()))
        return Variant(static_cast<int>(Value));
      return Variant(static_cast<double>(Value));
    }
    case VT_I8: {
      LONGLONG Value = V_I8(S);
      if (Value >= std::numeric_limits<Integer>::min() && Value <= std::numeric_limits<Integer>::max())
        return Variant(static_cast<int>(Value));
      return Variant(static_cast<Int64>(Value));
    }
    case VT_UI8: {
      ULONGLONG Value = V_UI8(S);
      if (Value <= static_cast<ULONGLONG>(std::numeric_limits<Integer>::max()))
        return Variant(static_cast<int>(Value));
      if (Value <= static_cast<ULONGLONG>(std::numeric_limits<Int64>::max()))
        return Variant(static_cast<Int64>(Value));
      return Variant(static_cast<double>(Value));
    }
    case VT_R4: return Variant(static_cast<double>(V_R4(S)));
    case VT_R8: return Variant(V_R8(S));
    case VT_CY: return Variant(Currency{V_CY(S).int64});
    case VT_DATE: return FromDateTime(V_DATE(S));
    case VT_BOOL: return Variant(V_BOOL(S) != VARIANT_FALSE);
    case VT_BSTR: {
      BSTR Text = V_BSTR(S);
      return Variant(Text ? WideString(Text, SysStringLen(Text)) : WideString());
    }
  }
  throw EVariantError(SVarTypeNotSupported, {static_cast<int>(V_VT(S))});
}

void Variant::ToOleVariant(VARIANT& Dest) const {
  VariantClear(&Dest);
  switch (FType) {
    case varNull: V_VT(&Dest) = VT_NULL; break;
    case varInteger:
      V_VT(&Dest) = VT_I4;
      V_I4(&Dest) = FInteger;
      break;
    case varInt64:
      V_VT(&Dest) = VT_I8;
      V_I8(&Dest) = FInt64;
      break;
    case varDouble:
      V_VT(&Dest) = VT_R8;
      V_R8(&Dest) = FDouble;
      break;
    case varCurrency:
      V_VT(&Dest) = VT_CY;
      V_CY(&Dest).int64 = FCurrency;
      break;
    case varDate:
      V_VT(&Dest) = VT_DATE;
      V_DATE(&Dest) = FDouble;
      break;
    case varBoolean:
      V_VT(&Dest) = VT_BOOL;
      V_BOOL(&Dest) = FBoolean ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case varString:
    case varOleStr: {
      WideString Text = FType == varOleStr ? FOleString : ToWide(FString);
      BSTR Copy = SysAllocStringLen(Text.data(), static_cast<UINT>(Text.size()));
      if (!Copy) throw EOutOfMemory(SOutOfMemory);
      V_VT(&Dest) = VT_BSTR;
      V_BSTR(&Dest) = Copy;
      break;
    }
    default: break;  // Empty: the cleared VARIANT
  }
}

int Variant::Compare(const Variant& A, const Variant& B, const TFormatSettings& Settings) {
  if (A.IsNull() || B.IsNull()) return (A.IsNull() ? 0 : 1) - (B.IsNull() ? 0 : 1);
  // Empty takes the other side's kind.
  const bool TextA = A.IsString() || (A.IsEmpty() && B.IsString());
  const bool TextB = B.IsString() || (B.IsEmpty() && A.IsString());
  if (TextA && TextB) return CompareTexts(A, B, Settings);
  const bool BoolA = A.FType == varBoolean || (A.IsEmpty() && B.FType == varBoolean);
  const bool BoolB = B.FType == varBoolean || (B.IsEmpty() && A.FType == varBoolean);
  if (BoolA && BoolB) return Sign(A.AsBoolean(Settings), B.AsBoolean(Settings));
  if (IsWhole(A.FType) && IsWhole(B.FType)) return Sign(A.AsInt64(Settings), B.AsInt64(Settings));
  if (A.FType == varCurrency && B.FType == varCurrency) return Sign(A.FCurrency, B.FCurrency);
  // A text beside a date reads as a date.
  const bool Dates = A.FType == varDate || B.FType == varDate;
  double NA = Dates && TextA ? A.AsDateTime(Settings) : A.NumberOf(varDouble, Settings);
  double NB = Dates && TextB ? B.AsDateTime(Settings) : B.NumberOf(varDouble, Settings);
  if (std::isnan(NA) || std::isnan(NB))
    throw EVariantError(SVarTypeCouldNotConvert, {VarTypeName(A.FType), VarTypeName(B.FType)});
  return Sign(NA, NB);
}

bool operator==(const Variant& A, const Variant& B) {
  try {
    return Variant::Compare(A, B) == 0;
  } catch (const EVariantError&) {
    return false;
  }
}

// ---------------------------------------------------------------------------------

Variant Null() { return Variant::Null(); }
Variant Unassigned() { return Variant(); }
TVarType VarType(const Variant& V) { return V.VarType(); }
bool VarIsNull(const Variant& V) { return V.IsNull(); }
bool VarIsEmpty(const Variant& V) { return V.IsEmpty(); }
bool VarIsClear(const Variant& V) { return V.IsNull() || V.IsEmpty(); }
AnsiString VarToStr(const Variant& V) { return V.IsNull() ? AnsiString() : V.AsString(); }
Variant VarFromDateTime(TDateTime Value) { return Variant::FromDateTime(Value); }
TDateTime VarToDateTime(const Variant& V) { return V.AsDateTime(); }
Variant VarAsType(const Variant& V, TVarType Type) { return V.AsType(Type); }

AnsiString VarTypeName(TVarType Type) {
  switch (Type) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varInteger: return "Integer";
    case varInt64: return "Int64";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varBoolean: return "Boolean";
    case varString: return "String";
  }
  return "Unknown";
}

AnsiString VarDateToStr(TDateTime Value, const TFormatSettings& Settings) {
  if (!(Value >= MinDate && Value < MaxDate))
    throw EVariantError(SVarTypeConvertOverflow, {VarTypeName(varDate), VarTypeName(varString)});
  TDateTimeParts Parts = DecodeDateTimeParts(Value);
  const bool HasTime = Parts.Hour != 0 || Parts.Minute != 0 || Parts.Second != 0;
  AnsiString Result;
  if (Parts.Days != 0 || !HasTime) Result = FormatDatePicture(Settings.ShortDateFormat, Parts, true, Settings);
  if (HasTime) {
    if (!Result.empty()) Result += ' ';
    Result += FormatDatePicture(Settings.LongTimeFormat, Parts, false, Settings);
  }
  return Result;
}

bool TryVarStrToDate(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
  const AnsiString Text = Trim(S);
  double Days = 0, Fraction = 0;
  // Where the date and time separators are one character, a date is tried first.
  if (!ScanDateText(Text, Settings, Days, Fraction)) {
    Days = 0;
    if (!ScanTimeText(Text, Settings, Fraction)) return false;
  }
  // Before day 0 the time of day counts away from zero.
  Value = Days < 0 ? Days - Fraction : Days + Fraction;
  return true;
}

TDateTime VarDateFromText(const AnsiString& S) {
  DATE Value = 0;
  const WideString Text = ToWide(S);
  if (FAILED(VarDateFromStr(const_cast<OLECHAR*>(Text.c_str()), LOCALE_USER_DEFAULT, 0, &Value)))
    throw EVariantError(SVarTypeCouldNotConvert, {VarTypeName(varString), VarTypeName(varDate)});
  return Value;
}
