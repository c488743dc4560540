#include "classlib/Format.h"

#include "classlib/Exceptions.h"
#include "classlib/FloatConv.h"
#include "classlib/FormatSettings.h"

namespace {

const char* const SInvalidFormat = "Format '%s' invalid or incompatible with argument";
const char* const SArgumentMissing = "No argument for format '%s'";
// The largest width, precision or argument index.
constexpr int MaxNumber = 100000;

class TFormatter {
 public:
  TFormatter(const AnsiString& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings)
      : FFmt(Fmt), FArgs(Args.begin()), FArgCount(Args.size()), FSettings(Settings) {}

  AnsiString Run() {
    AnsiString Out;
    std::size_t I = 0;
    while (I < FFmt.size()) {
      char C = FFmt[I++];
      if (C != '%') {
        Out += C;
        continue;
      }
      if (I < FFmt.size() && FFmt[I] == '%') {
        Out += '%';
        ++I;
        continue;
      }
      Out += Specifier(I);
    }
    return Out;
  }

 private:
  // Reads one specifier after its "%" and returns its text.
  AnsiString Specifier(std::size_t& I) {
    std::size_t Start = I - 1;
    int Number = ReadNumber(I);
    if (I < FFmt.size() && FFmt[I] == ':') {
      if (Number < 0) Fail(SInvalidFormat, Start, I);
      FNextArg = static_cast<std::size_t>(Number);
      ++I;
      Number = -1;
    }
    bool LeftJustify = false;
    if (Number < 0 && I < FFmt.size() && FFmt[I] == '-') {
      LeftJustify = true;
      ++I;
    }
    int Width = Number >= 0 ? Number : ReadNumber(I);
    int Precision = -1;
    if (I < FFmt.size() && FFmt[I] == '.') {
      ++I;
      Precision = ReadNumber(I);
      if (Precision < 0) Precision = 0;
    }
    if (I >= FFmt.size()) Fail(SInvalidFormat, Start, I);
    char Type = FFmt[I++];
    if (Type >= 'A' && Type <= 'Z') Type = static_cast<char>(Type - 'A' + 'a');
    AnsiString Text = Convert(Type, Precision, Start, I);
    if (Width > static_cast<int>(Text.size())) {
      AnsiString Pad(Width - Text.size(), ' ');
      Text = LeftJustify ? Text + Pad : Pad + Text;
    }
    return Text;
  }

  // A decimal number, or "*" taking an integer argument; -1 when there is none. Either
  // way a number past MaxNumber is refused.
  int ReadNumber(std::size_t& I) {
    if (I < FFmt.size() && FFmt[I] == '*') {
      ++I;
      const TVarRec& Arg = NextArg(I - 1, I);
      if (Arg.Kind() != TVarRec::vtInteger || Arg.AsInt64() > MaxNumber)
        Fail(SInvalidFormat, I - 2, I);
      return static_cast<int>(Arg.AsInt64());
    }
    if (I >= FFmt.size() || FFmt[I] < '0' || FFmt[I] > '9') return -1;
    int Value = 0;
    while (I < FFmt.size() && FFmt[I] >= '0' && FFmt[I] <= '9') {
      Value = Value * 10 + (FFmt[I++] - '0');
      if (Value > MaxNumber) Fail(SInvalidFormat, I - 1, I);
    }
    return Value;
  }

  const TVarRec& NextArg(std::size_t Start, std::size_t End) {
    if (FNextArg >= FArgCount) Fail(SArgumentMissing, Start, End);
    return FArgs[FNextArg++];
  }

  AnsiString Convert(char Type, int Precision, std::size_t Start, std::size_t End) {
    const TVarRec& Arg = NextArg(Start, End);
    bool IsInteger = Arg.Kind() == TVarRec::vtInteger || Arg.Kind() == TVarRec::vtInt64;
    switch (Type) {
      case 'd':
      case 'u':
      case 'x': {
        if (!IsInteger) Fail(SInvalidFormat, Start, End);
        Int64 Value = Arg.AsInt64();
        // A negative 32-bit argument reads as its unsigned 32-bit pattern for u and x.
        if (Type != 'd' && Value < 0 && Arg.Kind() == TVarRec::vtInteger) Value &= 0xFFFFFFFFLL;
        return IntegerText(Value, Type, Precision);
      }
      case 's':
        if (Arg.Kind() == TVarRec::vtString) {
          AnsiString S = Arg.AsString();
          if (Precision >= 0 && Precision < static_cast<int>(S.size())) S.resize(Precision);
          return S;
        }
        if (Arg.Kind() == TVarRec::vtChar) return AnsiString(1, static_cast<char>(Arg.AsInt64()));
        Fail(SInvalidFormat, Start, End);
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm':
        if (Arg.Kind() != TVarRec::vtExtended) Fail(SInvalidFormat, Start, End);
        return FloatText(Arg.AsFloat(), Type, Precision);
      case 'p':
        if (Arg.Kind() != TVarRec::vtPointer) Fail(SInvalidFormat, Start, End);
        return IntegerText(reinterpret_cast<std::uintptr_t>(Arg.AsPointer()), 'x', 8);
    }
    Fail(SInvalidFormat, Start, End);
  }

  static AnsiString IntegerText(Int64 Value, char Type, int Precision) {
    bool Negative = Value < 0 && Type == 'd';
    std::uint64_t Magnitude = Negative ? 0 - static_cast<std::uint64_t>(Value) : static_cast<std::uint64_t>(Value);
    AnsiString Digits;
    unsigned Base = Type == 'x' ? 16 : 10;
    do {
      Digits.insert(Digits.begin(), "0123456789ABCDEF"[Magnitude % Base]);
      Magnitude /= Base;
    } while (Magnitude);
    if (Precision > static_cast<int>(Digits.size())) Digits.insert(0, Precision - Digits.size(), '0');
    return Negative ? "-" + Digits : Digits;
  }

  AnsiString FloatText(double Value, char Type, int Precision) const {
    switch (Type) {
      case 'e':
        return FloatToStrF(Value, ffExponent, Precision < 0 ? 15 : Precision, 3, FSettings);
      case 'g':
        return FloatToStrF(Value, ffGeneral, Precision < 0 ? 15 : Precision, 0, FSettings);
      case 'f':
        return FloatToStrF(Value, ffFixed, 17, Precision < 0 ? 2 : Precision, FSettings);
      case 'n':
        return FloatToStrF(Value, ffNumber, 17, Precision < 0 ? 2 : Precision, FSettings);
      default:
        return FloatToStrF(Value, ffCurrency, 17,
                           Precision < 0 ? FSettings.CurrencyDecimals : Precision, FSettings);
    }
  }

  [[noreturn]] void Fail(const char* Message, std::size_t Start, std::size_t End) const {
    throw EConvertError(Message, {FFmt.substr(Start, End - Start)});
  }

  const AnsiString& FFmt;
  const TVarRec* FArgs;
  std::size_t FArgCount;
  std::size_t FNextArg = 0;
  const TFormatSettings& FSettings;
};

}  // namespace

AnsiString FormatArgs(const AnsiString& Fmt, std::initializer_list<TVarRec> Args,
                      const TFormatSettings& Settings) {
  return TFormatter(Fmt, Args, Settings).Run();
}

AnsiString FormatArgs(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
  return FormatArgs(Fmt, Args, FormatSettings);
}
