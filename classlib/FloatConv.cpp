#include "classlib/FloatConv.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "classlib/Exceptions.h"

namespace {

// Every double has an exact decimal expansion of at most 767 significant digits; with
// all of them at hand, ties are seen exactly and can round away from zero.
constexpr int ExactDigits = 767;

// Rounds the digit string to Count digits, half away from zero. Count may be 0 (the
// number may round up to one unit of the next power) or negative (it rounds to zero).
void RoundDigits(TFloatRec& R, int Count) {
  if (Count >= static_cast<int>(R.Digits.size())) return;
  if (Count < 0) {
    R.Digits.clear();
    return;
  }
  bool Up = R.Digits[Count] >= '5';
  R.Digits.resize(Count);
  if (!Up) return;
  int I = Count - 1;
  while (I >= 0 && R.Digits[I] == '9') R.Digits[I--] = '0';
  if (I >= 0) {
    ++R.Digits[I];
  } else {
    R.Digits.insert(R.Digits.begin(), '1');
    R.Digits.resize(Count > 0 ? Count : 1);
    ++R.Exponent;
  }
}

void StripZeros(TFloatRec& R) {
  while (!R.Digits.empty() && R.Digits.back() == '0') R.Digits.pop_back();
  if (R.Digits.empty()) R.Exponent = 0;
}

// Value's sign and, unless it is NaN, infinite or zero, all its digits up to Places after
// the first (the exponent set to match); false when there are no digits to read.
template <class T>
bool ReadDigits(T Value, int Places, TFloatRec& R) {
  if (std::isnan(Value)) {
    R.NaN = true;
    return false;
  }
  R.Negative = std::signbit(Value);
  if (std::isinf(Value)) {
    R.Infinite = true;
    return false;
  }
  if (Value == 0) {
    R.Negative = false;
    return false;
  }
  char Buffer[ExactDigits + 16];
  auto Result = std::to_chars(Buffer, Buffer + sizeof(Buffer), std::fabs(Value), std::chars_format::scientific, Places);
  const char* E = Buffer;
  while (E < Result.ptr && *E != 'e') {
    if (*E >= '0' && *E <= '9') R.Digits += *E;
    ++E;
  }
  int Exponent = 0;
  std::from_chars(E + (E[1] == '+' ? 2 : 1), Result.ptr, Exponent);
  R.Exponent = Exponent + 1;
  return true;
}

AnsiString GeneralText(const TFloatRec& R, int Precision, int MinExponentDigits,
                       const TFormatSettings& Settings) {
  if (R.Digits.empty()) return "0";
  AnsiString Text = R.Negative ? "-" : "";
  int Count = static_cast<int>(R.Digits.size());
  if (R.Exponent <= Precision && R.Exponent >= -3) {
    if (R.Exponent <= 0) {
      Text += '0';
    } else {
      for (int I = 0; I < R.Exponent; ++I) Text += R.DigitAt(I);
    }
    if (Count > R.Exponent) {
      Text += Settings.DecimalSeparator;
      for (int I = R.Exponent < 0 ? R.Exponent : 0; I < 0; ++I) Text += '0';
      for (int I = R.Exponent > 0 ? R.Exponent : 0; I < Count; ++I) Text += R.Digits[I];
    }
    return Text;
  }
  Text += R.Digits[0];
  if (Count > 1) {
    Text += Settings.DecimalSeparator;
    Text.append(R.Digits, 1, AnsiString::npos);
  }
  return Text + ExponentText(R.Exponent - 1, MinExponentDigits, false);
}

// The integer part with optional thousand separators, then Decimals decimals.
AnsiString FixedText(const TFloatRec& R, int Decimals, bool Thousands, const TFormatSettings& Settings) {
  AnsiString Integer;
  if (R.Exponent <= 0) {
    Integer = "0";
  } else {
    for (int I = 0; I < R.Exponent; ++I) {
      if (Thousands && I > 0 && (R.Exponent - I) % 3 == 0 && Settings.ThousandSeparator)
        Integer += Settings.ThousandSeparator;
      Integer += R.DigitAt(I);
    }
  }
  if (Decimals <= 0) return Integer;
  AnsiString Text = Integer + Settings.DecimalSeparator;
  for (int I = 0; I < Decimals; ++I) Text += R.DigitAt(R.Exponent + I);
  return Text;
}

AnsiString CurrencyText(const AnsiString& Number, bool Negative, const TFormatSettings& Settings) {
  static const char* const Positive[] = {"$1", "1$", "$ 1", "1 $"};
  static const char* const NegativeForms[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$",
                                              "1-$",  "1$-", "-1 $", "-$ 1", "1 $-", "$ 1-",
                                              "$ -1", "1- $", "($ 1)", "(1 $)"};
  const char* Pattern = Negative ? NegativeForms[Settings.NegCurrFormat % 16]
                                 : Positive[Settings.CurrencyFormat % 4];
  AnsiString Text;
  for (const char* P = Pattern; *P; ++P) {
    if (*P == '$')
      Text += Settings.CurrencyString;
    else if (*P == '1')
      Text += Number;
    else
      Text += *P;
  }
  return Text;
}

}  // namespace

AnsiString ExponentText(int Exponent, int MinDigits, bool AlwaysSign, char Letter) {
  AnsiString Text(1, Letter);
  if (Exponent < 0)
    Text += '-';
  else if (AlwaysSign)
    Text += '+';
  AnsiString Number = std::to_string(Exponent < 0 ? -Exponent : Exponent);
  if (static_cast<int>(Number.size()) < MinDigits) Number.insert(0, MinDigits - Number.size(), '0');
  return Text + Number;
}

TFloatRec FloatToDecimal(double Value, int Precision, int Decimals) {
  TFloatRec R;
  if (!ReadDigits(Value, ExactDigits - 1, R)) return R;
  if (Precision < 1) Precision = 1;
  if (Precision > 17) Precision = 17;

  int Count = Precision;
  if (Decimals >= 0 && R.Exponent + Decimals < Count) Count = R.Exponent + Decimals;
  RoundDigits(R, Count);
  StripZeros(R);
  if (R.Digits.empty()) R.Negative = false;
  return R;
}

AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                       const TFormatSettings& Settings) {
  if (Precision > 17) Precision = 17;
  if (Precision < 1) Precision = 1;
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";

  // An exponent of a double has at most three digits: four places for it are the most.
  const int ExponentDigits = std::clamp(Digits, 0, 4);
  switch (Format) {
    case ffGeneral:
      return GeneralText(FloatToDecimal(Value, Precision), Precision, ExponentDigits,
                         Settings);
    case ffExponent: {
      TFloatRec R = FloatToDecimal(Value, Precision);
      AnsiString Text = R.Negative ? "-" : "";
      Text += R.DigitAt(0);
      if (Precision > 1) {
        Text += Settings.DecimalSeparator;
        for (int I = 1; I < Precision; ++I) Text += R.DigitAt(I);
      }
      return Text +
             ExponentText(R.Digits.empty() ? 0 : R.Exponent - 1, ExponentDigits, true);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (Digits < 0) Digits = 0;
      if (Digits > 18) Digits = 18;
      TFloatRec R = FloatToDecimal(Value, Precision, Digits);
      if (R.Exponent > Precision) return GeneralText(R, Precision, 0, Settings);
      AnsiString Number = FixedText(R, Digits, Format != ffFixed, Settings);
      if (Format == ffCurrency) return CurrencyText(Number, R.Negative, Settings);
      return R.Negative ? "-" + Number : Number;
    }
  }
  return AnsiString();
}

AnsiString FloatToStr(double Value, const TFormatSettings& Settings) {
  return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}

namespace {

// Rewrites a number in the one form from_chars reads ("-12.5e3"), checking its shape on
// the way: blanks around it, a sign, digits with the settings' decimal separator, an
// exponent. False for any other text.
bool PlainNumber(const AnsiString& S, const TFormatSettings& Settings, AnsiString& Plain) {
  std::size_t I = 0, N = S.size();
  while (I < N && S[I] == ' ') ++I;
  while (N > I && S[N - 1] == ' ') --N;

  Plain.clear();
  if (I < N && (S[I] == '+' || S[I] == '-')) {
    if (S[I] == '-') Plain += '-';
    ++I;
  }
  bool HaveDigits = false;
  while (I < N && S[I] >= '0' && S[I] <= '9') {
    Plain += S[I++];
    HaveDigits = true;
  }
  if (I < N && S[I] == Settings.DecimalSeparator) {
    Plain += '.';
    ++I;
    while (I < N && S[I] >= '0' && S[I] <= '9') {
      Plain += S[I++];
      HaveDigits = true;
    }
  }
  if (!HaveDigits) return false;
  if (I < N && (S[I] == 'e' || S[I] == 'E')) {
    Plain += 'e';
    ++I;
    if (I < N && (S[I] == '+' || S[I] == '-')) Plain += S[I++];
    bool HaveExponent = false;
    while (I < N && S[I] >= '0' && S[I] <= '9') {
      Plain += S[I++];
      HaveExponent = true;
    }
    if (!HaveExponent) return false;
  }
  return I == N;
}

// 10 to the power Exponent (>= 0) by squaring, in extended precision.
long double PowerOfTen(int Exponent) {
  long double Result = 1, Factor = 10;
  while (Exponent > 0) {
    if (Exponent & 1) Result *= Factor;
    Factor *= Factor;
    Exponent >>= 1;
  }
  return Result;
}

}  // namespace

bool TryStrToFloat(const AnsiString& S, double& Value, const TFormatSettings& Settings) {
  AnsiString Plain;
  if (!PlainNumber(S, Settings, Plain)) return false;
  double Result = 0;
  const char* Begin = Plain.data();
  if (*Begin == '-') ++Begin;
  auto Parsed = std::from_chars(Begin, Plain.data() + Plain.size(), Result);
  if (Parsed.ec != std::errc() || Parsed.ptr != Plain.data() + Plain.size()) return false;
  Value = Plain[0] == '-' ? -Result : Result;
  return true;
}

double StrToFloat(const AnsiString& S, const TFormatSettings& Settings) {
  double Value;
  if (!TryStrToFloat(S, Value, Settings)) throw EConvertError(SInvalidFloat, {S});
  return Value;
}

double StrToFloatDef(const AnsiString& S, double Default, const TFormatSettings& Settings) {
  double Value;
  return TryStrToFloat(S, Value, Settings) ? Value : Default;
}

// ---------------------------------------------------------------------------------
// Extended

TFloatRec ExtendedToDecimal(long double Value, int Precision) {
  TFloatRec R;
  // Two digits more than the type holds, then rounded half away from zero.
  if (!ReadDigits(Value, 21, R)) return R;
  Precision = Precision < 1 ? 1 : Precision > 18 ? 18 : Precision;
  RoundDigits(R, Precision);
  StripZeros(R);
  return R;
}

AnsiString ExtendedToStr(long double Value, int Precision, const TFormatSettings& Settings) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  Precision = Precision < 1 ? 1 : Precision > 18 ? 18 : Precision;
  return GeneralText(ExtendedToDecimal(Value, Precision), Precision, 0, Settings);
}

bool TryStrToExtended(const AnsiString& S, long double& Value, const TFormatSettings& Settings) {
  AnsiString Plain;
  if (!PlainNumber(S, Settings, Plain)) return false;
  // The first 19 significant digits make an exact 64-bit mantissa; later ones only
  // move the decimal point.
  unsigned long long Mantissa = 0;
  int Significant = 0;
  long long Scale = 0;
  bool Fraction = false;
  std::size_t I = Plain[0] == '-' ? 1 : 0;
  for (; I < Plain.size() && Plain[I] != 'e'; ++I) {
    const char C = Plain[I];
    if (C == '.') {
      Fraction = true;
      continue;
    }
    if (Significant == 0 && C == '0') {
      if (Fraction) --Scale;
      continue;
    }
    if (Significant < 19) {
      Mantissa = Mantissa * 10 + static_cast<unsigned>(C - '0');
      ++Significant;
      if (Fraction) --Scale;
    } else if (!Fraction) {
      ++Scale;
    }
  }
  if (I < Plain.size()) {
    const bool NegativeExponent = Plain[I + 1] == '-';
    long long Exponent = 0;
    for (std::size_t J = I + 1; J < Plain.size(); ++J)
      if (Plain[J] >= '0' && Plain[J] <= '9' && Exponent < 100000) Exponent = Exponent * 10 + (Plain[J] - '0');
    Scale += NegativeExponent ? -Exponent : Exponent;
  }
  long double Result = static_cast<long double>(Mantissa);
  if (Mantissa != 0 && Scale != 0) {
    const int Power = static_cast<int>(Scale < 0 ? (Scale < -100000 ? 100000 : -Scale) : (Scale > 100000 ? 100000 : Scale));
    if (Scale > 0) {
      Result *= PowerOfTen(Power);
    } else if (Power > 4900) {
      // Beyond the range of a power of ten: in two steps towards zero.
      Result = Result / PowerOfTen(4900) / PowerOfTen(Power - 4900);
    } else {
      Result /= PowerOfTen(Power);
    }
  }
  if (!std::isfinite(Result)) return false;
  Value = Plain[0] == '-' ? -Result : Result;
  return true;
}
