// The edit mask: parsing the mask's fields and fitting texts to its positions.
#include <algorithm>

#include "editors/dxMaskEdit.h"

namespace {

constexpr char FieldSeparator = ';';
constexpr char LiteralEscape = '\\';

bool IsSeparatorAt(const AnsiString& Mask, int Index) {
  return Mask[static_cast<std::size_t>(Index)] == FieldSeparator &&
         (Index == 0 || Mask[static_cast<std::size_t>(Index) - 1] != LiteralEscape);
}

// The last unescaped field separator of Mask in [From, To), or -1.
int LastSeparator(const AnsiString& Mask, int From, int To) {
  for (int I = To - 1; I >= std::max(From, 0); --I)
    if (IsSeparatorAt(Mask, I)) return I;
  return -1;
}

// A control character is a blank wherever it stands, in the mask or in a value: the
// one-line window shows none. A line break would end its text there, out of step with
// the positions; a tab the rich edit control places by walking every tab stop from the
// line's start, in twips held in 32 bits times the screen's resolution, and past about
// 1.49 million pixels (a few thousand characters of a large font) that walk never ends.
bool IsControl(char Ch) { return static_cast<unsigned char>(Ch) < 32; }
char Shown(char Ch) { return IsControl(Ch) ? ' ' : Ch; }

// Single-byte katakana count as letters under a Japanese system locale.
bool IsKatakana(char Ch) {
  const auto Code = static_cast<unsigned char>(Ch);
  return PRIMARYLANGID(SysLocale.PriLangID) == LANG_JAPANESE && Code >= 0xA1 &&
         Code <= 0xDF;
}

}  // namespace

TdxEditMask::TdxEditMask(const AnsiString& EditMask, const TFormatSettings& Settings) {
  const int Length = static_cast<int>(EditMask.size());
  AnsiString Mask = EditMask;
  if (Length >= 4) {
    const int Last = LastSeparator(EditMask, Length - 3, Length);
    if (Last >= 0) {
      const int Prior = LastSeparator(EditMask, 0, Last);
      AnsiString Save;
      if (Prior >= 0) {
        if (Last + 1 < Length) FBlankChar = Shown(EditMask[static_cast<std::size_t>(Last) + 1]);
        Save = EditMask.substr(static_cast<std::size_t>(Prior) + 1,
                               static_cast<std::size_t>(Last - Prior - 1));
        Mask = EditMask.substr(0, static_cast<std::size_t>(Prior));
      } else {
        Save = EditMask.substr(static_cast<std::size_t>(Last) + 1);
        Mask = EditMask.substr(0, static_cast<std::size_t>(Last));
      }
      FSaveLiterals = !(Save.size() == 1 && Save[0] == '0');
    }
  }
  Parse(Mask, Settings);
}

void TdxEditMask::Parse(const AnsiString& Mask, const TFormatSettings& Settings) {
  TEditCharCase Case = ecNormal;
  auto Literal = [&](char Ch) {
    FChars.push_back(TdxMaskChar{mkLiteral, false, ecNormal, Shown(Ch)});
  };
  auto Position = [&](TdxMaskCharKind Kind, bool Required) {
    FChars.push_back(TdxMaskChar{Kind, Required, Case, '\0'});
  };
  for (std::size_t I = 0; I < Mask.size(); ++I) {
    const char Ch = Mask[I];
    switch (Ch) {
      case LiteralEscape:
        if (I + 1 < Mask.size()) Literal(Mask[++I]);
        break;
      case '!':
        FTrimLeading = true;
        break;
      case '>':
        Case = ecUpperCase;
        break;
      case '<':
        // "<>" ends the conversion; "><" is upper case, then lower case.
        if (I + 1 < Mask.size() && Mask[I + 1] == '>') {
          Case = ecNormal;
          ++I;
        } else {
          Case = ecLowerCase;
        }
        break;
      case '0':
        Position(mkDigit, true);
        break;
      case '9':
        Position(mkDigit, false);
        break;
      case '#':
        Position(mkDigitOrSign, false);
        break;
      case 'L':
        Position(mkLetter, true);
        break;
      case 'l':
        Position(mkLetter, false);
        break;
      case 'A':
        Position(mkAlphaNumeric, true);
        break;
      case 'a':
        Position(mkAlphaNumeric, false);
        break;
      case 'C':
        Position(mkAny, true);
        break;
      case 'c':
        Position(mkAny, false);
        break;
      case ':':
        Literal(Settings.TimeSeparator);
        break;
      case '/':
        Literal(Settings.DateSeparator);
        break;
      default:
        Literal(Ch);
        break;
    }
  }
}

AnsiString TdxEditMask::EmptyText() const {
  AnsiString Text;
  for (const TdxMaskChar& Char : FChars)
    Text += Char.IsPosition() ? FBlankChar : Char.Literal;
  return Text;
}

AnsiString TdxEditMask::Format(const AnsiString& Value) const {
  AnsiString Laid;
  if (LayFrom(Value, 0, Laid)) {
    for (int I = 0; I < Length(); ++I) {
      char& Ch = Laid[static_cast<std::size_t>(I)];
      if (!Char(I).IsPosition())
        Ch = Char(I).Literal;
      else if (Shown(Ch) == ' ')
        Ch = FBlankChar;
    }
    return Laid;
  }
  AnsiString Text(FChars.size(), FBlankChar);
  const int Count = Length();
  const int ValueLength = static_cast<int>(Value.size());
  // Under "!" the value is fitted from its end.
  const int Step = FTrimLeading ? -1 : 1;
  int I = FTrimLeading ? Count - 1 : 0;
  int V = FTrimLeading ? ValueLength - 1 : 0;
  for (; I >= 0 && I < Count; I += Step) {
    const TdxMaskChar& Char = FChars[static_cast<std::size_t>(I)];
    const bool HasValue = V >= 0 && V < ValueLength;
    if (!Char.IsPosition()) {
      Text[static_cast<std::size_t>(I)] = Char.Literal;
      if (HasValue && Shown(Value[static_cast<std::size_t>(V)]) == Char.Literal) V += Step;
    } else if (HasValue) {
      // A blank, or a control character, leaves the position empty.
      const char Ch = Shown(Value[static_cast<std::size_t>(V)]);
      Text[static_cast<std::size_t>(I)] = Ch == ' ' ? FBlankChar : Ch;
      V += Step;
    }
  }
  return Text;
}

AnsiString TdxEditMask::Carried(const AnsiString& Text) const {
  if (static_cast<int>(Text.size()) != Length()) return Text;
  AnsiString Result;
  for (int I = 0; I < Length(); ++I) {
    if (!Char(I).IsPosition()) continue;
    char Ch = Text[static_cast<std::size_t>(I)];
    if (IsBlank(Ch) && !Accepts(I, Ch)) Ch = ' ';
    Result += Ch;
  }
  return Result;
}

AnsiString TdxEditMask::Value(const AnsiString& Text) const {
  if (static_cast<int>(Text.size()) != Length()) return Text;
  if (Text == EmptyText()) return AnsiString();
  AnsiString Result;
  for (int I = 0; I < Length(); ++I) {
    const char Ch = Text[static_cast<std::size_t>(I)];
    if (Char(I).IsPosition())
      Result += Ch == FBlankChar ? ' ' : Ch;
    else if (FSaveLiterals)
      Result += Ch;
  }
  return Result;
}

AnsiString TdxEditMask::StoredValue(const AnsiString& Text) const {
  const AnsiString Result = Value(Text);
  if (static_cast<int>(Text.size()) != Length() || Result.empty()) return Result;
  // Each character of the value, and whether it stands for an optional position left
  // blank; a saved literal ends the run that may go.
  std::vector<bool> Droppable;
  for (int I = 0; I < Length(); ++I) {
    const TdxMaskChar& Mask = Char(I);
    if (Mask.IsPosition())
      Droppable.push_back(!Mask.Required && Text[static_cast<std::size_t>(I)] == FBlankChar);
    else if (FSaveLiterals)
      Droppable.push_back(false);
  }
  std::size_t First = 0, Last = Droppable.size();
  if (FTrimLeading)
    while (First < Last && Droppable[First]) ++First;
  else
    while (Last > First && Droppable[Last - 1]) --Last;
  return Result.substr(First, Last - First);
}

int TdxEditMask::FirstGap(const AnsiString& Text, bool RawText) const {
  for (int I = 0; I < Length(); ++I) {
    const TdxMaskChar& Mask = Char(I);
    if (!Mask.IsPosition() || !Mask.Required) continue;
    if (I >= static_cast<int>(Text.size())) return I;
    const char Ch = Text[static_cast<std::size_t>(I)];
    if ((!RawText && Ch == FBlankChar) || (Ch == ' ' && Mask.Kind != mkAny)) return I;
  }
  return -1;
}

bool TdxEditMask::Accepts(int Index, char& Ch) const {
  if (Index < 0 || Index >= Length()) return false;
  const TdxMaskChar& Mask = Char(Index);
  const bool Digit = Ch >= '0' && Ch <= '9';
  bool Accepted = false;
  switch (Mask.Kind) {
    case mkLiteral:
      return false;
    case mkDigit:
      Accepted = Digit;
      break;
    case mkDigitOrSign:
      Accepted = Digit || Ch == '+' || Ch == '-';
      break;
    case mkLetter:
      Accepted = IsCharAlphaA(Ch) || IsKatakana(Ch);
      break;
    case mkAlphaNumeric:
      Accepted = IsCharAlphaNumericA(Ch) || IsKatakana(Ch);
      break;
    case mkAny:
      Accepted = static_cast<unsigned char>(Ch) >= 32;
      break;
  }
  if (!Accepted) return false;
  if (Mask.CharCase == ecUpperCase) CharUpperBuffA(&Ch, 1);
  if (Mask.CharCase == ecLowerCase) CharLowerBuffA(&Ch, 1);
  return true;
}

bool TdxEditMask::AcceptsDoubleByte(int Index) const {
  auto TakesLetters = [this](int I) {
    if (I < 0 || I >= Length()) return false;
    const TdxMaskCharKind Kind = Char(I).Kind;
    return Kind != mkLiteral && Kind != mkDigit && Kind != mkDigitOrSign;
  };
  return TakesLetters(Index) && TakesLetters(Index + 1);
}

bool TdxEditMask::LayFrom(const AnsiString& Text, int From, AnsiString& Laid,
                          bool Pasted) const {
  if (Text.empty() || From < 0 || From >= Length()) return false;
  const auto Size = static_cast<int>(Text.size());
  if (Size == Length() - From) {
    for (int I = From; I < Length(); ++I) {
      const char Ch = Text[static_cast<std::size_t>(I - From)];
      const TdxMaskChar& Mask = Char(I);
      if (!Mask.IsPosition()) {
        if (Ch != Mask.Literal && !(IsBlank(Ch) && IsBlank(Mask.Literal))) return false;
      } else if (IsDBCSLeadByte(static_cast<BYTE>(Ch))) {
        // Its second byte goes on the next character, which must be a position too.
        if (I + 1 >= Length() || !Char(I + 1).IsPosition()) return false;
        ++I;
      }
    }
    Laid = Text;
    return true;
  }
  if (FSaveLiterals) return false;
  AnsiString Result;
  std::size_t Next = 0;
  for (int I = From; I < Length(); ++I) {
    if (!Char(I).IsPosition()) {
      Result += Char(I).Literal;
      continue;
    }
    if (Next >= Text.size()) return false;
    char Ch = Text[Next++];
    if (IsBlank(Ch) ? Pasted && Char(I).Required : !Accepts(I, Ch)) return false;
    Result += Text[Next - 1];
  }
  if (Next != Text.size()) return false;
  Laid = Result;
  return true;
}

AnsiString TdxEditMask::FormatPositions(const AnsiString& Chars) const {
  AnsiString Text = EmptyText();
  const int Count = static_cast<int>(Chars.size());
  const int Step = FTrimLeading ? -1 : 1;
  int C = FTrimLeading ? Count - 1 : 0;
  for (int I = FTrimLeading ? Length() - 1 : 0; I >= 0 && I < Length() && C >= 0 && C < Count;
       I += Step) {
    if (!Char(I).IsPosition()) continue;
    const char Ch = Shown(Chars[static_cast<std::size_t>(C)]);
    Text[static_cast<std::size_t>(I)] = Ch == ' ' ? FBlankChar : Ch;
    C += Step;
  }
  return Text;
}

int TdxEditMask::NextPosition(int From) const {
  for (int I = std::max(From, 0); I < Length(); ++I)
    if (Char(I).IsPosition()) return I;
  return -1;
}

int TdxEditMask::PriorPosition(int Before) const {
  for (int I = std::min(Before, Length()) - 1; I >= 0; --I)
    if (Char(I).IsPosition()) return I;
  return -1;
}
