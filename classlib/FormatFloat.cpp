#include "classlib/FormatFloat.h"

#include <cmath>
#include <vector>

#include "classlib/FloatConv.h"

namespace {

// The digits FormatFloat keeps of a double.
constexpr int FormatPrecision = 15;

bool IsQuote(char C) { return C == '"' || C == '\''; }

// The index after the quoted text that starts at I (or the end of S).
std::size_t SkipQuoted(const AnsiString& S, std::size_t I) {
  const char Quote = S[I];
  ++I;
  while (I < S.size() && S[I] != Quote) ++I;
  return I < S.size() ? I + 1 : I;
}

// The sections of a picture: split at each ";" outside quotes.
std::vector<AnsiString> SplitSections(const AnsiString& Format) {
  std::vector<AnsiString> Result(1);
  std::size_t I = 0;
  while (I < Format.size()) {
    if (IsQuote(Format[I])) {
      const std::size_t End = SkipQuoted(Format, I);
      Result.back() += Format.substr(I, End - I);
      I = End;
    } else if (Format[I] == ';') {
      Result.emplace_back();
      ++I;
    } else {
      Result.back() += Format[I++];
    }
  }
  return Result;
}

bool IsExponentAt(const AnsiString& S, std::size_t I) {
  return (S[I] == 'E' || S[I] == 'e') && I + 1 < S.size() && (S[I + 1] == '+' || S[I + 1] == '-');
}

// What a section asks for.
struct TPicture {
  int IntPlaces = 0;  // digit places before the decimal point
  int MinInt = 0;     // the places from the first "0" on always show a digit
  int DecPlaces = 0;  // digit places after it
  int MinDec = 0;     // the places up to the last "0" always show a digit
  bool Thousands = false;
  bool Scientific = false;
};

TPicture ScanSection(const AnsiString& S) {
  TPicture P;
  bool Point = false;
  int FirstZero = -1;
  std::size_t I = 0;
  while (I < S.size()) {
    const char C = S[I];
    if (IsQuote(C)) {
      I = SkipQuoted(S, I);
      continue;
    }
    if (IsExponentAt(S, I)) {
      // The exponent's zeros are its own; digit places end here.
      P.Scientific = true;
      break;
    }
    if (C == '0' || C == '#') {
      if (Point) {
        ++P.DecPlaces;
        if (C == '0') P.MinDec = P.DecPlaces;
      } else {
        if (C == '0' && FirstZero < 0) FirstZero = P.IntPlaces;
        ++P.IntPlaces;
      }
    } else if (C == '.') {
      Point = true;
    } else if (C == ',') {
      P.Thousands = true;
    }
    ++I;
  }
  P.MinInt = FirstZero < 0 ? 0 : P.IntPlaces - FirstZero;
  return P;
}

// The digits of Value (not negative) for a picture: the integer part (Int), the
// decimals (Dec) and, in the scientific form, the exponent; Zero when it rounds to 0.
struct TDigits {
  AnsiString Int;
  AnsiString Dec;
  int Exponent = 0;
  bool Zero = true;
};

TDigits MakeDigits(double Value, const TPicture& P) {
  TDigits D;
  if (P.Scientific) {
    int Precision = P.IntPlaces + P.DecPlaces;
    Precision = Precision < 1 ? 1 : Precision > FormatPrecision ? FormatPrecision : Precision;
    const TFloatRec R = FloatToDecimal(Value, Precision);
    D.Zero = R.Digits.empty();
    D.Exponent = D.Zero ? 0 : R.Exponent - P.IntPlaces;
    for (int I = 0; I < P.IntPlaces; ++I) D.Int += R.DigitAt(I);
    for (int I = 0; I < P.DecPlaces; ++I) D.Dec += R.DigitAt(P.IntPlaces + I);
  } else {
    const TFloatRec R = FloatToDecimal(Value, FormatPrecision, P.DecPlaces);
    D.Zero = R.Digits.empty();
    for (int I = 0; I < R.Exponent; ++I) D.Int += R.DigitAt(I);
    for (int I = 0; I < P.DecPlaces; ++I) D.Dec += R.DigitAt(R.Exponent + I);
  }
  // Leading integer zeros go down to the forced places, trailing decimal zeros too.
  std::size_t Lead = 0;
  while (Lead < D.Int.size() && D.Int[Lead] == '0' && static_cast<int>(D.Int.size() - Lead) > P.MinInt) ++Lead;
  D.Int.erase(0, Lead);
  if (static_cast<int>(D.Int.size()) < P.MinInt) D.Int.insert(0, P.MinInt - D.Int.size(), '0');
  while (static_cast<int>(D.Dec.size()) > P.MinDec && D.Dec.back() == '0') D.Dec.pop_back();
  return D;
}

// The section with the digits put in its places.
AnsiString Render(const AnsiString& S, const TPicture& P, const TDigits& D, const TFormatSettings& Settings) {
  AnsiString Out;
  const int Length = static_cast<int>(D.Int.size());
  auto EmitInt = [&](int Index) {
    Out += D.Int[Index];
    const int FromRight = Length - 1 - Index;
    if (P.Thousands && FromRight > 0 && FromRight % 3 == 0 && Settings.ThousandSeparator)
      Out += Settings.ThousandSeparator;
  };
  // Integer digits beyond the places go out at the first place (or before the point).
  auto EmitExcess = [&] {
    for (int I = 0; I < Length - P.IntPlaces; ++I) EmitInt(I);
  };
  int IntPlace = 0, DecPlace = 0;
  bool Point = false, Done = false;
  std::size_t I = 0;
  while (I < S.size()) {
    const char C = S[I];
    if (IsQuote(C)) {
      const std::size_t End = SkipQuoted(S, I);
      const std::size_t Close = End > I + 1 && End <= S.size() && S[End - 1] == C ? End - 1 : End;
      Out += S.substr(I + 1, Close - (I + 1));
      I = End;
      continue;
    }
    if (!Done && IsExponentAt(S, I)) {
      Done = true;
      const bool AlwaysSign = S[I + 1] == '+';
      I += 2;
      int Zeros = 0;
      while (I < S.size() && S[I] == '0') {
        ++Zeros;
        ++I;
      }
      Out += ExponentText(D.Exponent, Zeros, AlwaysSign, C);
      continue;
    }
    if (!Done && (C == '0' || C == '#')) {
      if (!Point) {
        if (IntPlace == 0) EmitExcess();
        const int Index = IntPlace - (P.IntPlaces - Length);
        if (Index >= 0) EmitInt(Index);
        ++IntPlace;
      } else {
        if (DecPlace < static_cast<int>(D.Dec.size())) Out += D.Dec[DecPlace];
        ++DecPlace;
      }
    } else if (!Done && C == '.' && !Point) {
      Point = true;
      if (P.IntPlaces == 0) EmitExcess();
      if (!D.Dec.empty()) Out += Settings.DecimalSeparator;
    } else if (!(C == ',' && !Done)) {
      Out += C;
    }
    ++I;
  }
  return Out;
}

}  // namespace

AnsiString FormatFloat(const AnsiString& Format, double Value, const TFormatSettings& Settings) {
  if (Format.empty() || !std::isfinite(Value)) return FloatToStrF(Value, ffGeneral, FormatPrecision, 0, Settings);
  const std::vector<AnsiString> Sections = SplitSections(Format);
  auto Section = [&](std::size_t Index) -> const AnsiString* {
    return Index < Sections.size() && !Sections[Index].empty() ? &Sections[Index] : nullptr;
  };
  const AnsiString* Chosen = &Sections[0];
  bool Sign = false;
  if (Value == 0 && Section(2)) {
    Chosen = Section(2);
  } else if (Value < 0) {
    if (Section(1))
      Chosen = Section(1);
    else
      Sign = true;
  }
  TPicture Picture = ScanSection(*Chosen);
  // Too large for the fixed form: the general one.
  if (!Picture.Scientific && std::fabs(Value) >= 1e18) return FloatToStrF(Value, ffGeneral, FormatPrecision, 0, Settings);
  TDigits Digits = MakeDigits(std::fabs(Value), Picture);
  if (Digits.Zero && Value != 0) {
    // Rounded to nothing: the zero section, or the positive one without a sign.
    Sign = false;
    Chosen = Section(2) ? Section(2) : &Sections[0];
    Picture = ScanSection(*Chosen);
    Digits = MakeDigits(0, Picture);
  }
  const AnsiString Text = Render(*Chosen, Picture, Digits, Settings);
  return Sign ? "-" + Text : Text;
}
