// Floating-point numbers to text and back, with explicit separators: never the C
// runtime's locale.
#pragma once

#include "classlib/FormatSettings.h"
#include "classlib/SysTypes.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// A number as decimal digits: Value = 0.Digits * 10^Exponent. Zero has no digits.
struct TFloatRec {
  bool Negative = false;
  int Exponent = 0;
  AnsiString Digits;  // no leading or trailing zeros
  bool NaN = false;
  bool Infinite = false;

  // The digit at Position of the integer-and-fraction layout, '0' past the digits.
  char DigitAt(int Position) const {
    return Position >= 0 && Position < static_cast<int>(Digits.size()) ? Digits[Position] : '0';
  }
};

// "E" (or Letter) and the exponent with at least MinDigits digits; "-" before a negative
// one, "+" before any other when AlwaysSign.
AnsiString ExponentText(int Exponent, int MinDigits, bool AlwaysSign, char Letter = 'E');

// Rounds Value to Precision significant digits (1..17) and, when Decimals >= 0, to
// no more than Decimals digits after the decimal point. Ties round away from zero.
TFloatRec FloatToDecimal(double Value, int Precision, int Decimals = -1);

// Precision is the number of significant digits (at most 17); Digits is the minimum
// number of exponent digits for ffGeneral and ffExponent (at most 4), and the number
// of decimals for ffFixed, ffNumber and ffCurrency (at most 18).
AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                       const TFormatSettings& Settings = FormatSettings);
// The general format with 15 significant digits.
AnsiString FloatToStr(double Value, const TFormatSettings& Settings = FormatSettings);

// Blanks around the number are allowed; the decimal separator is the settings' own.
bool TryStrToFloat(const AnsiString& S, double& Value,
                   const TFormatSettings& Settings = FormatSettings);
// Raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const AnsiString& S, const TFormatSettings& Settings = FormatSettings);
double StrToFloatDef(const AnsiString& S, double Default,
                     const TFormatSettings& Settings = FormatSettings);

// The 80-bit extended type (long double with this compiler), for arithmetic that keeps
// more digits than a double: Precision may go up to 18.
TFloatRec ExtendedToDecimal(long double Value, int Precision);
// The general format with Precision significant digits (1..18).
AnsiString ExtendedToStr(long double Value, int Precision, const TFormatSettings& Settings = FormatSettings);
// As TryStrToFloat, over the extended range; false too for a number beyond it.
bool TryStrToExtended(const AnsiString& S, long double& Value,
                      const TFormatSettings& Settings = FormatSettings);
