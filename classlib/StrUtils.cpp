#include "classlib/StrUtils.h"

#include <windows.h>

#include <cstdint>
#include <limits>

#include "classlib/Exceptions.h"
#include "classlib/Memory.h"

namespace {

constexpr const char* SInvalidBoolean = "'%s' is not a valid boolean value";

bool IsTrimmed(char C) { return static_cast<unsigned char>(C) <= ' '; }

char AsciiUpper(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }
char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

// Ordinal comparison of two byte ranges after mapping each byte through Map: the
// difference of the first unequal bytes, or of the lengths.
template <class F>
int CompareBytes(const AnsiString& S1, const AnsiString& S2, F Map) {
  const std::size_t N = S1.size() < S2.size() ? S1.size() : S2.size();
  for (std::size_t I = 0; I < N; ++I) {
    const int C1 = static_cast<unsigned char>(Map(S1[I]));
    const int C2 = static_cast<unsigned char>(Map(S2[I]));
    if (C1 != C2) return C1 - C2;
  }
  if (S1.size() == S2.size()) return 0;
  return S1.size() < S2.size() ? -1 : 1;
}

int CompareThroughSystem(const AnsiString& S1, const AnsiString& S2, DWORD Flags) {
  // CompareStringA answers 1, 2 or 3 for less, equal, greater (0 on failure).
  return CompareStringA(LOCALE_USER_DEFAULT, Flags, S1.data(), static_cast<int>(S1.size()),
                        S2.data(), static_cast<int>(S2.size())) -
         2;
}

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

// Parses [blanks] [sign] digits [blanks], where digits are decimal or hexadecimal
// after "$", "0x" or "0X". A decimal value must lie within [-(Limit + 1), Limit]; a
// hexadecimal one may use all HexBits bits and is taken as their two's complement,
// so "$FFFFFFFF" reads as -1 in 32 bits.
bool ParseInteger(const AnsiString& S, Int64 Limit, int HexBits, Int64& Value) {
  std::size_t I = 0;
  const std::size_t N = S.size();
  while (I < N && IsBlank(S[I])) ++I;
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) {
    Negative = S[I] == '-';
    ++I;
  }
  bool Hex = false;
  if (I < N && S[I] == '$') {
    Hex = true;
    ++I;
  } else if (I + 1 < N && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
    Hex = true;
    I += 2;
  }

  std::uint64_t Magnitude = 0;
  const std::size_t DigitsStart = I;
  if (Hex) {
    const std::uint64_t HexMax =
        HexBits >= 64 ? std::numeric_limits<std::uint64_t>::max() : (std::uint64_t{1} << HexBits) - 1;
    for (; I < N; ++I) {
      const int D = HexDigitValue(S[I]);
      if (D < 0) break;
      if (Magnitude > (HexMax >> 4)) return false;
      Magnitude = Magnitude << 4 | static_cast<unsigned>(D);
    }
  } else {
    // The magnitude of the most negative value is one more than Limit.
    const std::uint64_t DecMax = static_cast<std::uint64_t>(Limit) + (Negative ? 1 : 0);
    for (; I < N && S[I] >= '0' && S[I] <= '9'; ++I) {
      const unsigned D = static_cast<unsigned>(S[I] - '0');
      if (Magnitude > (DecMax - D) / 10) return false;
      Magnitude = Magnitude * 10 + D;
    }
  }
  if (I == DigitsStart) return false;
  while (I < N && IsBlank(S[I])) ++I;
  if (I != N) return false;

  if (Hex && HexBits < 64 && (Magnitude >> (HexBits - 1)) != 0)
    Magnitude |= ~((std::uint64_t{1} << HexBits) - 1);  // sign-extend the top bit
  if (Negative) Magnitude = ~Magnitude + 1;
  Value = static_cast<Int64>(Magnitude);
  return true;
}

}  // namespace

AnsiString Trim(const AnsiString& S) {
  std::size_t First = 0, Last = S.size();
  while (First < Last && IsTrimmed(S[First])) ++First;
  while (Last > First && IsTrimmed(S[Last - 1])) --Last;
  return S.substr(First, Last - First);
}

AnsiString TrimLeft(const AnsiString& S) {
  std::size_t First = 0;
  while (First < S.size() && IsTrimmed(S[First])) ++First;
  return S.substr(First);
}

AnsiString TrimRight(const AnsiString& S) {
  std::size_t Last = S.size();
  while (Last > 0 && IsTrimmed(S[Last - 1])) --Last;
  return S.substr(0, Last);
}

AnsiString UpperCase(const AnsiString& S) {
  AnsiString Result = S;
  for (char& C : Result) C = AsciiUpper(C);
  return Result;
}

AnsiString LowerCase(const AnsiString& S) {
  AnsiString Result = S;
  for (char& C : Result) C = AsciiLower(C);
  return Result;
}

int CompareStr(const AnsiString& S1, const AnsiString& S2) {
  return CompareBytes(S1, S2, [](char C) { return C; });
}

int CompareText(const AnsiString& S1, const AnsiString& S2) {
  return CompareBytes(S1, S2, AsciiUpper);
}

bool SameText(const AnsiString& S1, const AnsiString& S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

AnsiString AnsiUpperCase(const AnsiString& S) {
  AnsiString Result = S;
  if (!Result.empty()) CharUpperBuffA(Result.data(), static_cast<DWORD>(Result.size()));
  return Result;
}

AnsiString AnsiLowerCase(const AnsiString& S) {
  AnsiString Result = S;
  if (!Result.empty()) CharLowerBuffA(Result.data(), static_cast<DWORD>(Result.size()));
  return Result;
}

int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2) {
  return CompareThroughSystem(S1, S2, 0);
}

int AnsiCompareText(const AnsiString& S1, const AnsiString& S2) {
  return CompareThroughSystem(S1, S2, NORM_IGNORECASE);
}

bool AnsiSameText(const AnsiString& S1, const AnsiString& S2) {
  return AnsiCompareText(S1, S2) == 0;
}

bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2) {
  return AnsiCompareStr(S1, S2) == 0;
}

AnsiString IntToStr(Int64 Value) {
  // Works on the unsigned magnitude so that the most negative value has one too.
  std::uint64_t Magnitude = Value < 0 ? ~static_cast<std::uint64_t>(Value) + 1
                                      : static_cast<std::uint64_t>(Value);
  char Buffer[24];
  char* P = Buffer + sizeof(Buffer);
  do {
    *--P = static_cast<char>('0' + Magnitude % 10);
    Magnitude /= 10;
  } while (Magnitude != 0);
  if (Value < 0) *--P = '-';
  return AnsiString(P, Buffer + sizeof(Buffer));
}

AnsiString IntToHex(Int64 Value, int Digits) {
  // A negative value that fits in 32 bits prints in its 32-bit form unless more
  // than 8 digits are asked for; otherwise in its 64-bit form.
  std::uint64_t Bits = static_cast<std::uint64_t>(Value);
  if (Value < 0 && Value >= std::numeric_limits<std::int32_t>::min() && Digits <= 8)
    Bits &= 0xFFFFFFFFu;
  char Buffer[16];
  char* P = Buffer + sizeof(Buffer);
  do {
    *--P = "0123456789ABCDEF"[Bits & 0xF];
    Bits >>= 4;
  } while (Bits != 0);
  AnsiString Result(P, Buffer + sizeof(Buffer));
  if (Digits > static_cast<int>(Result.size()))
    GrowOrRaise(
        [&] { Result.insert(0, static_cast<std::size_t>(Digits) - Result.size(), '0'); });
  return Result;
}

bool TryStrToInt(const AnsiString& S, int& Value) {
  Int64 V;
  if (!ParseInteger(S, std::numeric_limits<std::int32_t>::max(), 32, V)) return false;
  Value = static_cast<int>(V);
  return true;
}

bool TryStrToInt64(const AnsiString& S, Int64& Value) {
  return ParseInteger(S, std::numeric_limits<Int64>::max(), 64, Value);
}

int StrToInt(const AnsiString& S) {
  int Value;
  if (!TryStrToInt(S, Value)) throw EConvertError(SInvalidInteger, {S});
  return Value;
}

Int64 StrToInt64(const AnsiString& S) {
  Int64 Value;
  if (!TryStrToInt64(S, Value)) throw EConvertError(SInvalidInteger, {S});
  return Value;
}

int StrToIntDef(const AnsiString& S, int Default) {
  int Value;
  return TryStrToInt(S, Value) ? Value : Default;
}

bool StrToBool(const AnsiString& S) {
  if (SameText(S, "True")) return true;
  if (SameText(S, "False")) return false;
  Int64 Value;
  if (!TryStrToInt64(S, Value)) throw EConvertError(SInvalidBoolean, {S});
  return Value != 0;
}

AnsiString BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? "True" : "False";
  return B ? "-1" : "0";
}

AnsiString AnsiQuotedStr(const AnsiString& S, char Quote) {
  AnsiString Result;
  Result.reserve(S.size() + 2);
  Result += Quote;
  for (char C : S) {
    if (C == Quote) Result += Quote;
    Result += C;
  }
  Result += Quote;
  return Result;
}

AnsiString QuotedStr(const AnsiString& S) { return AnsiQuotedStr(S, '\''); }

AnsiString AnsiExtractQuotedStr(const AnsiString& S, std::size_t& Pos, char Quote) {
  if (Pos >= S.size() || S[Pos] != Quote) return AnsiString();
  AnsiString Result;
  std::size_t I = Pos + 1;
  while (I < S.size()) {
    if (S[I] == Quote) {
      if (I + 1 < S.size() && S[I + 1] == Quote) {  // a doubled quote stands for one
        Result += Quote;
        I += 2;
        continue;
      }
      ++I;  // the closing quote
      break;
    }
    Result += S[I++];
  }
  Pos = I;
  return Result;
}

int Pos(const AnsiString& Sub, const AnsiString& S) {
  if (Sub.empty()) return 0;
  const std::size_t Found = S.find(Sub);
  return Found == AnsiString::npos ? 0 : static_cast<int>(Found) + 1;
}

AnsiString StringReplaceAll(const AnsiString& S, const AnsiString& OldPattern,
                            const AnsiString& NewPattern, bool IgnoreCase) {
  if (OldPattern.empty()) return S;
  // Searching in upper-cased copies keeps the positions, as the system's case
  // mapping of 8-bit text is one byte for one.
  const AnsiString SearchIn = IgnoreCase ? AnsiUpperCase(S) : S;
  const AnsiString Pattern = IgnoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  AnsiString Result;
  std::size_t From = 0;
  for (;;) {
    const std::size_t Found = SearchIn.find(Pattern, From);
    if (Found == AnsiString::npos) break;
    Result.append(S, From, Found - From);
    Result += NewPattern;
    From = Found + Pattern.size();
  }
  Result.append(S, From, AnsiString::npos);
  return Result;
}

AnsiString StringOfChar(char Ch, int Count) {
  if (Count <= 0) return AnsiString();
  return GrowOrRaise([&] { return AnsiString(static_cast<std::size_t>(Count), Ch); });
}
