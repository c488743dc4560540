// Formatting of text with arguments: Format("%d items in %s", Count, Name).
//
// A format specifier is "%" [index ":"] ["-"] [width] ["." precision] type, where
// width and precision may be "*" (taken from the arguments) and type is one of
//   d  decimal integer (precision: minimum digits)      u  unsigned decimal
//   x  hexadecimal, upper case (precision: min digits)  s  string (precision: max chars)
//   f  fixed, e  scientific, g  general, n  fixed with thousand separators,
//   m  currency (precision: decimals, default 2 for f/n/m, 15 for e/g)
//   p  pointer as 8 hex digits
// and "%%" is a percent sign. A width, precision or index past 100000, written or
// taken from the arguments, is an invalid format. Floats use the decimal and thousand
// separators of the given format settings, never the C runtime's locale.
#pragma once

#include <initializer_list>

#include "classlib/SysTypes.h"

struct TFormatSettings;

// One argument of Format.
class TVarRec {
 public:
  enum TKind { vtInteger, vtInt64, vtExtended, vtString, vtPointer, vtChar, vtBoolean };

  TVarRec(int V) : FKind(vtInteger), FInt(V) {}
  TVarRec(long V) : FKind(vtInteger), FInt(V) {}
  TVarRec(unsigned V) : FKind(vtInt64), FInt(V) {}
  TVarRec(unsigned long V) : FKind(vtInt64), FInt(static_cast<Int64>(V)) {}
  TVarRec(long long V) : FKind(vtInt64), FInt(V) {}
  TVarRec(unsigned long long V) : FKind(vtInt64), FInt(static_cast<Int64>(V)) {}
  TVarRec(short V) : FKind(vtInteger), FInt(V) {}
  TVarRec(unsigned short V) : FKind(vtInteger), FInt(V) {}
  TVarRec(unsigned char V) : FKind(vtInteger), FInt(V) {}
  TVarRec(double V) : FKind(vtExtended), FFloat(V) {}
  TVarRec(float V) : FKind(vtExtended), FFloat(V) {}
  TVarRec(bool V) : FKind(vtBoolean), FInt(V) {}
  TVarRec(char V) : FKind(vtChar), FInt(static_cast<unsigned char>(V)) {}
  TVarRec(const char* V) : FKind(vtString), FStr(V ? V : "") {}
  TVarRec(const AnsiString& V) : FKind(vtString), FStr(V.c_str()), FLen(V.size()) {}
  TVarRec(const void* V) : FKind(vtPointer), FPtr(V) {}

  TKind Kind() const { return FKind; }
  Int64 AsInt64() const { return FInt; }
  double AsFloat() const { return FFloat; }
  AnsiString AsString() const { return FLen == npos ? AnsiString(FStr) : AnsiString(FStr, FLen); }
  const void* AsPointer() const { return FPtr; }

 private:
  static constexpr size_t npos = static_cast<size_t>(-1);
  TKind FKind;
  Int64 FInt = 0;
  double FFloat = 0;
  const char* FStr = nullptr;
  size_t FLen = npos;
  const void* FPtr = nullptr;
};

// Raises EConvertError on a bad specifier, a missing argument or an argument of the
// wrong kind.
AnsiString FormatArgs(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);
AnsiString FormatArgs(const AnsiString& Fmt, std::initializer_list<TVarRec> Args,
                      const TFormatSettings& Settings);

template <class... A>
AnsiString Format(const AnsiString& Fmt, const A&... Args) {
  return FormatArgs(Fmt, {TVarRec(Args)...});
}
