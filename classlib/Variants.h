// Variants: a value of one of a few kinds (empty, Null, integer, 64-bit integer,
// double, currency, date, boolean, OLE string, 8-bit string) that converts itself to the others.
//
// The kinds use the system's VARTYPE numbers (the 8-bit string, which the system does
// not know, is 0x100), so a Variant converts to and from a VARIANT without a table.
// Conversions between numbers and text use the class library's format settings
// (FormatSettings unless others are given): the decimal separator, the short date and
// long time formats (the system's format pictures: "M/d/yyyy", "h:mm:ss tt"), the
// date and time separators and the AM and PM strings. A value that cannot be
// converted, or does not fit, raises EVariantError; so does Null read as any value,
// a string included (VarToStr reads it as "").
//
// Equality and ordering: Null equals only Null and orders before every other value;
// Empty reads as 0 beside a number, "" beside a string and False beside a boolean.
// Two strings compare by the user's locale (case-sensitive; texts the locale finds
// equal are ordered by their characters), False orders before True, and anything else
// compares as numbers, a string beside a number or a date being read as one first
// (one that is none raises EVariantError).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <utility>

#include "classlib/Exceptions.h"
#include "classlib/FormatSettings.h"
#include "classlib/SysTypes.h"

TCLASS_EXCEPTION(EVariantError, Exception)

inline constexpr const char* SVarTypeCouldNotConvert =
    "Could not convert variant of type (%s) into type (%s)";
inline constexpr const char* SVarTypeConvertOverflow =
    "Overflow while converting variant of type (%s) into type (%s)";
inline constexpr const char* SVarTypeNotSupported = "Variant type %d is not supported";

using TVarType = Word;
inline constexpr TVarType varEmpty = VT_EMPTY;
inline constexpr TVarType varNull = VT_NULL;
inline constexpr TVarType varInteger = VT_I4;
inline constexpr TVarType varInt64 = VT_I8;
inline constexpr TVarType varDouble = VT_R8;
inline constexpr TVarType varCurrency = VT_CY;
inline constexpr TVarType varDate = VT_DATE;
inline constexpr TVarType varOleStr = VT_BSTR;
inline constexpr TVarType varBoolean = VT_BOOL;
inline constexpr TVarType varString = 0x100;

// 16-bit system text, as an OLE string holds it.
using WideString = std::wstring;

// A fixed-point amount with four decimals, kept as the number of ten-thousandths (the
// system's CY).
struct Currency {
  Int64 Scaled = 0;

  // Rounds to four decimals (halves to even); raises EVariantError out of range.
  static Currency FromDouble(double Value);
  double ToDouble() const { return static_cast<double>(Scaled) / 10000.0; }
  bool operator==(const Currency&) const = default;
};

class Variant {
 public:
  // Empty.
  Variant() = default;
  Variant(int Value) : FType(varInteger), FInteger(Value) {}
  Variant(long Value) : FType(varInteger), FInteger(static_cast<Integer>(Value)) {}
  Variant(Int64 Value) : FType(varInt64), FInt64(Value) {}
  Variant(double Value) : FType(varDouble), FDouble(Value) {}
  Variant(Currency Value) : FType(varCurrency), FCurrency(Value.Scaled) {}
  Variant(bool Value) : FType(varBoolean), FBoolean(Value) {}
  Variant(const char* Value) : FType(varString), FString(Value ? Value : "") {}
  Variant(const AnsiString& Value) : FType(varString), FString(Value) {}
  Variant(AnsiString&& Value) : FType(varString), FString(std::move(Value)) {}
  Variant(const wchar_t* Value) : FType(varOleStr), FOleString(Value ? Value : L"") {}
  Variant(const WideString& Value) : FType(varOleStr), FOleString(Value) {}

  static Variant Null();
  // A date-time (days since 1899-12-30, the time of day as the fraction).
  static Variant FromDateTime(TDateTime Value);

  TVarType VarType() const { return FType; }
  bool IsNull() const { return FType == varNull; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsString() const { return FType == varString || FType == varOleStr; }
  bool IsNumeric() const;
  void Clear() { *this = Variant(); }

  // The value as each kind; raises EVariantError when it does not convert. Numbers
  // become integers by rounding halves to even; booleans are -1 and 0 as numbers and
  // "True" and "False" as text (a string reads as a boolean by those words, any case,
  // or as a number, non-zero being true).
  Integer AsInteger(const TFormatSettings& Settings = FormatSettings) const;
  Int64 AsInt64(const TFormatSettings& Settings = FormatSettings) const;
  double AsDouble(const TFormatSettings& Settings = FormatSettings) const;
  Currency AsCurrency(const TFormatSettings& Settings = FormatSettings) const;
  TDateTime AsDateTime(const TFormatSettings& Settings = FormatSettings) const;
  bool AsBoolean(const TFormatSettings& Settings = FormatSettings) const;
  // Null raises here; VarToStr reads it as "".
  AnsiString AsString(const TFormatSettings& Settings = FormatSettings) const;
  // The 8-bit string held, read without a copy; empty unless the type is varString.
  const AnsiString& StringValue() const { return FString; }
  WideString AsOleString(const TFormatSettings& Settings = FormatSettings) const;

  // The value converted to another kind (varEmpty and varNull give those values).
  Variant AsType(TVarType Type, const TFormatSettings& Settings = FormatSettings) const;

  // The system's VARIANT. From: the kinds above, other integer and floating types
  // (as integer or double) and references to any of these; anything else (arrays,
  // objects, errors) raises EVariantError. To: Dest is cleared first and receives a
  // copy (an 8-bit string as a BSTR); the caller clears it.
  static Variant FromOleVariant(const VARIANT& Source);
  void ToOleVariant(VARIANT& Dest) const;

  // The order of two values: negative, zero or positive; raises EVariantError when
  // they cannot be ordered (see the top of this file).
  static int Compare(const Variant& A, const Variant& B,
                     const TFormatSettings& Settings = FormatSettings);
  // Equal by Compare; values that cannot be ordered are unequal.
  friend bool operator==(const Variant& A, const Variant& B);
  friend bool operator<(const Variant& A, const Variant& B) { return Compare(A, B) < 0; }
  friend bool operator>(const Variant& A, const Variant& B) { return Compare(A, B) > 0; }
  friend bool operator<=(const Variant& A, const Variant& B) { return Compare(A, B) <= 0; }
  friend bool operator>=(const Variant& A, const Variant& B) { return Compare(A, B) >= 0; }

 private:
  [[noreturn]] void RaiseCast(TVarType To) const;
  [[noreturn]] void RaiseOverflow(TVarType To) const;
  double NumberOf(TVarType To, const TFormatSettings& Settings) const;

  TVarType FType = varEmpty;
  union {
    Integer FInteger;
    Int64 FInt64;
    double FDouble;
    Int64 FCurrency = 0;
    bool FBoolean;
  };
  AnsiString FString;
  WideString FOleString;
};

Variant Null();
Variant Unassigned();
TVarType VarType(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsEmpty(const Variant& V);
// Null or Empty.
bool VarIsClear(const Variant& V);
// The text of a value; Null gives "".
AnsiString VarToStr(const Variant& V);
Variant VarFromDateTime(TDateTime Value);
TDateTime VarToDateTime(const Variant& V);
Variant VarAsType(const Variant& V, TVarType Type);
// The name of a kind ("Integer", "String", ...), as the conversion errors show it.
AnsiString VarTypeName(TVarType Type);

// Date-time text in the settings' short date and long time formats: the date alone at
// midnight, the time alone on day 0.
AnsiString VarDateToStr(TDateTime Value, const TFormatSettings& Settings = FormatSettings);
// Reads a date, a time, or a date followed by a time: the date's numbers in the order
// of the settings' short date format, separated by the date separator (two numbers
// are month and day of the current year; a two-digit year is 1930 to 2029); the time
// as hours, minutes and optional seconds separated by the time separator, with an
// optional AM or PM string. False when the text is none of these.
bool TryVarStrToDate(const AnsiString& S, TDateTime& Value,
                     const TFormatSettings& Settings = FormatSettings);
// The system's variant conversion of a text to a date (VarDateFromStr in the user's
// locale), which reads more forms than TryVarStrToDate: month names, blanks between
// the numbers. Raises EVariantError when the system refuses the text.
TDateTime VarDateFromText(const AnsiString& S);
