// The parser of form files: text to a tree of blocks, properties and values. It
// checks the syntax only; classes, properties and values are the reader's business.
#include <cctype>
#include <new>
#include <string>

#include "classlib/Classes_FormSyntax.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/FloatConv.h"

namespace classlib_detail {

namespace {

bool IsIdentStart(char C) { return std::isalpha(static_cast<unsigned char>(C)) || C == '_'; }
bool IsIdentChar(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_'; }
int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// How deep components and collection items may nest below the root. The parser
// descends one call per level, so an unbounded depth would exhaust the stack.
constexpr int MaxFormNesting = 1000;

class TParser {
 public:
  TParser(const AnsiString& Text, const AnsiString& FormName) : FFormName(FormName) {
    std::size_t Start = 0;
    while (Start <= Text.size()) {
      std::size_t End = Text.find('\n', Start);
      if (End == AnsiString::npos) End = Text.size();
      AnsiString Line = Text.substr(Start, End - Start);
      if (!Line.empty() && Line.back() == '\r') Line.pop_back();
      FLines.push_back(Line);
      Start = End + 1;
    }
  }

  // The parse tree of the file; memory running out while it grows (a block of binary
  // data too large to hold) is reported at the line being read.
  TFormBlock ParseFile() {
    try {
      return ParseTree();
    } catch (const std::bad_alloc&) {
      Fail(SOutOfMemory);
    }
  }

 private:
  TFormBlock ParseTree() {
    TFormBlock Root;
    if (!NextLine()) Fail("The form file is empty");
    if (!Keyword("form")) Fail("A form file starts with \"form Name: Class\"");
    Root.Kind = TBlockKind::Form;
    Root.Line = FLineNo;
    Root.Name = ReadIdent();  // a root may have no name
    Expect(':');
    Root.ClassName = ExpectIdent("a class name");
    ExpectLineEnd();
    FOpen.push_back(Root.Name);
    ParseBody(Root);
    FOpen.pop_back();
    if (NextLine()) Fail("Text after the end of the form");
    return Root;
  }

  // Moves to the next line that is not blank or a comment; false at the end.
  bool NextLine() {
    while (FIndex < FLines.size()) {
      FLine = FLines[FIndex++];
      FLineNo = static_cast<int>(FIndex);
      FPos = 0;
      SkipBlanks();
      if (FPos < FLine.size() && FLine[FPos] != '#') return true;
    }
    FLineNo = static_cast<int>(FLines.size());
    return false;
  }
  void RequireLine() {
    if (!NextLine()) Fail("Unexpected end of file (\"end\" missing)");
  }

  void SkipBlanks() {
    while (FPos < FLine.size() && (FLine[FPos] == ' ' || FLine[FPos] == '\t')) ++FPos;
  }
  bool AtLineEnd() {
    SkipBlanks();
    return FPos >= FLine.size();
  }
  void ExpectLineEnd() {
    if (!AtLineEnd()) Fail("Unexpected text \"" + FLine.substr(FPos) + "\"");
  }
  void Expect(char C) {
    SkipBlanks();
    if (FPos >= FLine.size() || FLine[FPos] != C) Fail(AnsiString("\"") + C + "\" expected");
    ++FPos;
  }
  bool Peek(char C) {
    SkipBlanks();
    return FPos < FLine.size() && FLine[FPos] == C;
  }

  // An identifier; Dotted lets it be a path such as Font.Name.
  AnsiString ReadIdent(bool Dotted = false) {
    SkipBlanks();
    std::size_t Start = FPos;
    if (FPos >= FLine.size() || !IsIdentStart(FLine[FPos])) return AnsiString();
    while (FPos < FLine.size()) {
      if (IsIdentChar(FLine[FPos])) {
        ++FPos;
      } else if (Dotted && FLine[FPos] == '.' && FPos + 1 < FLine.size() && IsIdentStart(FLine[FPos + 1])) {
        ++FPos;
      } else {
        break;
      }
    }
    return FLine.substr(Start, FPos - Start);
  }
  AnsiString ExpectIdent(const char* What, bool Dotted = false) {
    AnsiString Ident = ReadIdent(Dotted);
    if (Ident.empty()) Fail(AnsiString(What) + " expected");
    return Ident;
  }
  // The word Word alone (followed by a blank, ":" or the end of the line).
  bool Keyword(const char* Word) {
    std::size_t Saved = FPos;
    AnsiString Ident = ReadIdent();
    if (Ident == Word) return true;
    FPos = Saved;
    return false;
  }

  void ParseBody(TFormBlock& Block) {
    for (;;) {
      RequireLine();
      if (Keyword("end")) {
        ExpectLineEnd();
        return;
      }
      bool IsNew = Keyword("component");
      if (IsNew || Keyword("existing")) {
        TFormBlock Child;
        Child.Kind = IsNew ? TBlockKind::Component : TBlockKind::Existing;
        Child.Line = FLineNo;
        Child.Name = ExpectIdent("a component name");
        if (Child.Kind == TBlockKind::Component || Peek(':')) {
          Expect(':');
          Child.ClassName = ExpectIdent("a class name");
        }
        ExpectLineEnd();
        EnterLevel();
        FOpen.push_back(Child.Name);
        ParseBody(Child);
        FOpen.pop_back();
        --FDepth;
        Block.Children.push_back(std::move(Child));
        continue;
      }
      if (Keyword("form")) Fail("\"form\" belongs on the first line only");
      Block.Properties.push_back(ParseProperty());
    }
  }

  TFormProperty ParseProperty() {
    TFormProperty Property;
    Property.Line = FLineNo;
    Property.Path = ExpectIdent("a property name", true);
    Expect('=');
    ParseValue(Property.Value);
    return Property;
  }

  void ParseValue(TFormValue& Value) {
    SkipBlanks();
    if (FPos >= FLine.size()) Fail("A value expected");
    char C = FLine[FPos];
    if (C == '"') {
      Value.Kind = TValueKind::String;
      Value.Text = ReadString();
      ExpectLineEnd();
    } else if (C == '[') {
      ++FPos;
      Value.Kind = TValueKind::Set;
      if (!Peek(']')) {
        do {
          Value.Strings.push_back(ExpectIdent("a set element"));
        } while (Peek(',') && (++FPos, true));
      }
      Expect(']');
      ExpectLineEnd();
    } else if (C == '-' || C == '+' || std::isdigit(static_cast<unsigned char>(C))) {
      ReadNumber(Value);
      ExpectLineEnd();
    } else if (Keyword("lines")) {
      ExpectLineEnd();
      Value.Kind = TValueKind::Lines;
      for (;;) {
        RequireLine();
        if (Keyword("end")) break;
        if (!Peek('"')) Fail("A string or \"end\" expected");
        Value.Strings.push_back(ReadString());
        ExpectLineEnd();
      }
      ExpectLineEnd();
    } else if (Keyword("items")) {
      ExpectLineEnd();
      Value.Kind = TValueKind::Items;
      for (;;) {
        RequireLine();
        if (Keyword("end")) break;
        if (!Keyword("item")) Fail("\"item\" or \"end\" expected");
        ExpectLineEnd();
        EnterLevel();
        TFormItem Item;
        Item.Line = FLineNo;
        for (;;) {
          RequireLine();
          if (Keyword("end")) break;
          Item.Properties.push_back(ParseProperty());
        }
        ExpectLineEnd();
        --FDepth;
        Value.Items.push_back(std::move(Item));
      }
      ExpectLineEnd();
    } else if (Keyword("hex")) {
      Value.Kind = TValueKind::Binary;
      if (!AtLineEnd()) {
        ReadHex(Value.Bytes);
        return;
      }
      for (;;) {
        RequireLine();
        if (Keyword("end")) break;
        ReadHex(Value.Bytes);
      }
      ExpectLineEnd();
    } else {
      Value.Kind = TValueKind::Ident;
      Value.Text = ExpectIdent("A value", true);
      ExpectLineEnd();
    }
  }

  AnsiString ReadString() {
    ++FPos;  // the opening quote
    AnsiString Result;
    while (FPos < FLine.size()) {
      char C = FLine[FPos++];
      if (C == '"') return Result;
      if (C != '\\') {
        Result += C;
        continue;
      }
      if (FPos >= FLine.size()) break;
      char E = FLine[FPos++];
      switch (E) {
        case 'n': Result += '\n'; break;
        case 'r': Result += '\r'; break;
        case 't': Result += '\t'; break;
        case '"':
        case '\\': Result += E; break;
        case 'x': {
          int High = FPos < FLine.size() ? HexDigit(FLine[FPos]) : -1;
          int Low = FPos + 1 < FLine.size() ? HexDigit(FLine[FPos + 1]) : -1;
          if (High < 0 || Low < 0) Fail("Bad \\x escape in a string");
          Result += static_cast<char>(High * 16 + Low);
          FPos += 2;
          break;
        }
        default: Fail(AnsiString("Unknown escape \\") + E + " in a string");
      }
    }
    Fail("Unterminated string");
  }

  void ReadNumber(TFormValue& Value) {
    std::size_t Start = FPos;
    bool Negative = false;
    if (FLine[FPos] == '-' || FLine[FPos] == '+') Negative = FLine[FPos++] == '-';
    Value.Kind = TValueKind::Integer;
    if (FPos + 1 < FLine.size() && FLine[FPos] == '0' && (FLine[FPos + 1] == 'x' || FLine[FPos + 1] == 'X')) {
      FPos += 2;
      std::uint64_t Number = 0;
      std::size_t Digits = 0;
      for (; FPos < FLine.size() && HexDigit(FLine[FPos]) >= 0; ++FPos, ++Digits) {
        if (Number >> 60) Fail("Number too large");
        Number = Number * 16 + static_cast<unsigned>(HexDigit(FLine[FPos]));
      }
      if (Digits == 0 || Number > 0x7FFFFFFFFFFFFFFFull) Fail("Bad hexadecimal number");
      Value.Integer = Negative ? -static_cast<Int64>(Number) : static_cast<Int64>(Number);
    } else {
      bool Float = false;
      std::size_t DigitsStart = FPos;
      while (FPos < FLine.size() && std::isdigit(static_cast<unsigned char>(FLine[FPos]))) ++FPos;
      if (FPos == DigitsStart) Fail("A number expected");
      if (FPos < FLine.size() && FLine[FPos] == '.') {
        Float = true;
        ++FPos;
        while (FPos < FLine.size() && std::isdigit(static_cast<unsigned char>(FLine[FPos]))) ++FPos;
      }
      if (FPos < FLine.size() && (FLine[FPos] == 'e' || FLine[FPos] == 'E')) {
        Float = true;
        ++FPos;
        if (FPos < FLine.size() && (FLine[FPos] == '+' || FLine[FPos] == '-')) ++FPos;
        while (FPos < FLine.size() && std::isdigit(static_cast<unsigned char>(FLine[FPos]))) ++FPos;
      }
      AnsiString Text = FLine.substr(Start, FPos - Start);
      if (Float) {
        Value.Kind = TValueKind::Float;
        if (!TryStrToFloat(Text, Value.Float, TFormatSettings())) Fail("Bad number " + Text);
      } else {
        std::uint64_t Number = 0;
        for (std::size_t I = DigitsStart; I < FPos; ++I) {
          if (Number > 922337203685477580ull) Fail("Number too large");
          Number = Number * 10 + static_cast<unsigned>(FLine[I] - '0');
        }
        if (Number > 0x7FFFFFFFFFFFFFFFull) Fail("Number too large");
        Value.Integer = Negative ? -static_cast<Int64>(Number) : static_cast<Int64>(Number);
      }
    }
    Value.Text = FLine.substr(Start, FPos - Start);
    if (FPos < FLine.size() && IsIdentChar(FLine[FPos])) Fail("Bad number " + FLine.substr(Start));
  }

  // Pairs of hexadecimal digits up to the end of the line; blanks between pairs.
  void ReadHex(std::vector<Byte>& Bytes) {
    for (;;) {
      SkipBlanks();
      if (FPos >= FLine.size()) return;
      int High = HexDigit(FLine[FPos]);
      int Low = FPos + 1 < FLine.size() ? HexDigit(FLine[FPos + 1]) : -1;
      if (High < 0 || Low < 0) Fail("Bad hexadecimal data");
      Bytes.push_back(static_cast<Byte>(High * 16 + Low));
      FPos += 2;
    }
  }

  // One level deeper, for a component or a collection item opened on the current line.
  void EnterLevel() {
    if (++FDepth > MaxFormNesting)
      Fail("Components and items nested more than " + std::to_string(MaxFormNesting) +
           " deep");
  }

  [[noreturn]] void Fail(const AnsiString& Detail) {
    throw EFormFileError(FFormName, FOpen.empty() ? AnsiString() : FOpen.back(), FLineNo, Detail);
  }

  AnsiString FFormName;
  std::vector<AnsiString> FLines;
  std::size_t FIndex = 0;
  AnsiString FLine;
  int FLineNo = 0;
  std::size_t FPos = 0;
  std::vector<AnsiString> FOpen;  // the names of the open blocks
  int FDepth = 0;                 // the levels open below the root
};

}  // namespace

TFormBlock ParseFormText(const AnsiString& Text, const AnsiString& FormName) {
  TParser Parser(Text, FormName);
  return Parser.ParseFile();
}

AnsiString DescribeValue(const TFormValue& Value) {
  switch (Value.Kind) {
    case TValueKind::String: return FormFileString(Value.Text);
    case TValueKind::Set: {
      AnsiString Result = "[";
      for (std::size_t I = 0; I < Value.Strings.size(); ++I) Result += (I ? ", " : "") + Value.Strings[I];
      return Result + "]";
    }
    case TValueKind::Binary: return "binary data";
    case TValueKind::Lines: return "lines";
    case TValueKind::Items: return "items";
    default: return Value.Text;
  }
}

}  // namespace classlib_detail
