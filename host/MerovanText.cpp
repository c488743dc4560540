#include "host/MerovanText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <system_error>

namespace Merovan {

namespace {

const char Signature[] = "MerovanBoard 1";

// ---------------------------------------------------------------------------------
// Values as text. Numbers are written and read with std::to_chars / std::from_chars,
// which never use the C runtime's locale; a double is written in its shortest exact
// form, so it reads back to the same value.

std::string NumberText(std::int64_t Value) { return std::to_string(Value); }

std::string NumberText(double Value) {
  // A whole number of host units reads as one ("200000", not "2e+05").
  bool NegativeZero = Value == 0 && std::signbit(Value);
  if (Value == std::trunc(Value) && std::fabs(Value) < 1e15 && !NegativeZero)
    return std::to_string(static_cast<std::int64_t>(Value));
  char Buffer[64];
  auto Result = std::to_chars(Buffer, Buffer + sizeof(Buffer), Value);
  return std::string(Buffer, Result.ptr);
}

// A text in double quotes: " and \ escaped by a backslash, control characters as \xHH.
std::string QuotedText(const std::string& Text) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string Out = "\"";
  for (char C : Text) {
    unsigned char U = static_cast<unsigned char>(C);
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += C;
    } else if (U < 0x20 || U == 0x7F) {
      Out += "\\x";
      Out += Hex[U >> 4];
      Out += Hex[U & 15];
    } else {
      Out += C;
    }
  }
  return Out + '"';
}

template <class T>
bool ParseInteger(const std::string& Text, T& Value) {
  std::int64_t Number = 0;
  const char* End = Text.data() + Text.size();
  auto Result = std::from_chars(Text.data(), End, Number);
  if (Result.ec != std::errc() || Result.ptr != End) return false;
  if (Number < std::numeric_limits<T>::min() || Number > std::numeric_limits<T>::max())
    return false;
  Value = static_cast<T>(Number);
  return true;
}

bool ParseDouble(const std::string& Text, double& Value) {
  const char* End = Text.data() + Text.size();
  auto Result = std::from_chars(Text.data(), End, Value);
  return Result.ec == std::errc() && Result.ptr == End;
}

// ---------------------------------------------------------------------------------
// The writer and the reader: one visitor each over the same field lists below.

class TWriter {
 public:
  explicit TWriter(std::string Keyword) : FLine(std::move(Keyword)) {}
  std::string Line() const { return FLine + '\n'; }

  template <class T>
  void operator()(const std::string& Key, T& Value) {
    Start(Key);
    FLine += Text(Value);
  }
  template <class T, std::size_t N>
  void operator()(const std::string& Key, T (&Values)[N]) {
    Start(Key);
    for (std::size_t I = 0; I < N; ++I) {
      if (I) FLine += ',';
      FLine += Text(Values[I]);
    }
  }

 private:
  void Start(const std::string& Key) {
    FLine += ' ';
    FLine += Key;
    FLine += '=';
  }
  static std::string Text(const std::string& Value) { return QuotedText(Value); }
  static std::string Text(double Value) { return NumberText(Value); }
  template <class T>
  static std::string Text(T Value) {
    return NumberText(static_cast<std::int64_t>(Value));
  }

  std::string FLine;
};

// One parsed line: its keyword and its Key=Value pairs.
struct TLine {
  int Number = 0;
  bool Indented = false;
  std::string Keyword;
  std::map<std::string, std::pair<std::string, bool>> Values;  // value, quoted
};

class TReader {
 public:
  explicit TReader(TLine& Line) : FLine(Line) {}
  bool Ok() const { return FOk; }
  // True when every key of the line was a known field and every value read.
  bool Finish() const { return FOk && FUsed.size() == FLine.Values.size(); }

  template <class T>
  void operator()(const std::string& Key, T& Value) {
    if (const auto* Found = Take(Key)) FOk = FOk && Parse(*Found, Value);
  }
  template <class T, std::size_t N>
  void operator()(const std::string& Key, T (&Values)[N]) {
    const auto* Found = Take(Key);
    if (!Found) return;
    if (Found->second) {
      FOk = false;
      return;
    }
    std::size_t Count = 0;
    std::string Item;
    std::istringstream List(Found->first);
    while (FOk && std::getline(List, Item, ',')) {
      FOk = Count < N && Parse({Item, false}, Values[Count]);
      ++Count;
    }
    FOk = FOk && Count == N;
  }

 private:
  const std::pair<std::string, bool>* Take(const std::string& Key) {
    auto It = FLine.Values.find(Key);
    if (It == FLine.Values.end()) return nullptr;
    FUsed.insert(Key);
    return &It->second;
  }
  static bool Parse(const std::pair<std::string, bool>& Raw, std::string& Value) {
    if (!Raw.second) return false;
    Value = Raw.first;
    return true;
  }
  static bool Parse(const std::pair<std::string, bool>& Raw, double& Value) {
    return !Raw.second && ParseDouble(Raw.first, Value);
  }
  template <class T>
  static bool Parse(const std::pair<std::string, bool>& Raw, T& Value) {
    return !Raw.second && ParseInteger(Raw.first, Value);
  }

  TLine& FLine;
  std::set<std::string> FUsed;
  bool FOk = true;
};

// ---------------------------------------------------------------------------------
// The field lists

std::string Numbered(const char* Key, int N) { return Key + std::to_string(N); }

template <class V, std::size_t N>
void Texts(V& Visit, const char* Key, std::string (&List)[N]) {
  for (std::size_t I = 0; I < N; ++I)
    Visit(Numbered(Key, static_cast<int>(I + 1)), List[I]);
}

template <class V>
void Fields(V& Visit, TBoardRecord& R) {
  Visit("Values", R.Values);
  Visit("Text", R.Text);
  Visit("Bytes", R.Bytes);
}
template <class V>
void Fields(V& Visit, TSheet& S) {
  Visit("X", S.X);
  Visit("Y", S.Y);
  Visit("Width", S.Width);
  Visit("Height", S.Height);
  Visit("Flag1", S.Flag1);
  Visit("Flag2", S.Flag2);
}
template <class V>
void Fields(V& Visit, TGrids& G) {
  Visit("Bytes", G.Bytes);
  Visit("Values", G.Values);
  Visit("Value8", G.Value8);
  Visit("Size", G.Size);
}
template <class V>
void Fields(V& Visit, TOutputOptions& O) {
  Visit("Values", O.Values);
  Visit("Bytes", O.Bytes);
  Visit("PlotLayers", O.PlotLayers);
  Visit("FlipLayers", O.FlipLayers);
}
template <class V>
void Fields(V& Visit, TGerberOptions& G) {
  Visit("Bytes", G.Bytes);
  Visit("Values", G.Values);
  Visit("Text", G.Text);
}
template <class V>
void Fields(V& Visit, TPrinterOptions& P) {
  Texts(Visit, "Text", P.Texts);
  Visit("Bytes", P.Bytes);
  Visit("Values", P.Values);
  Visit("Wides", P.Wides);
  Visit("Block", P.Block);
  Visit("Pens", P.Pens);
}
template <class V>
void Fields(V& Visit, TPlacerOptions& P) {
  Texts(Visit, "Text", P.Texts);
  Visit("Bytes", P.Bytes);
}
template <class V>
void Fields(V& Visit, TEcoOptions& E) {
  Visit("Byte", E.Byte1);
  Visit("Text", E.Text);
}
template <class V>
void Fields(V& Visit, TDielectric& D) {
  Visit("Material", D.Material);
  Visit("Type", D.Type);
  Visit("Constant", D.Constant);
  Visit("Height", D.Height);
}
template <class V>
void Fields(V& Visit, TBoardLayer& L) {
  Visit("Name", L.Name);
  Visit("Copper", L.CopperThickness);
  Visit("InUse", L.InUse);
  Visit("State2", L.State2);
  Visit("State3", L.State3);
  Visit("Material", L.Material);
  Visit("DielectricType", L.DielectricType);
  Visit("DielectricConstant", L.DielectricConstant);
  Visit("DielectricHeight", L.DielectricHeight);
  Visit("Net", L.NetName);
  Visit("Info1", L.Info1);
  Visit("Info2", L.Info2);
  Visit("Info", L.Info);
  Visit("Composite1", L.Composite1);
  Visit("Composite2", L.Composite2);
  Visit("CompositeByte", L.CompositeByte);
  Visit("Composite3", L.Composite3);
}
template <class V>
void Fields(V& Visit, TLayerPair& P) {
  Visit("Layer1", P.Layer1);
  Visit("Layer2", P.Layer2);
  Visit("Byte1", P.Byte1);
  Visit("Byte2", P.Byte2);
}
template <class V>
void Fields(V& Visit, THeader& H) {
  Visit("Flags", H.Flags);
  Visit("HeaderWord", H.HeaderWord);
  Visit("Layer", H.Layer);
  Visit("HeaderByte", H.HeaderByte);
  Visit("HeaderValue1", H.HeaderValue1);
  Visit("HeaderValue2", H.HeaderValue2);
  Visit("BitField2", H.BitField2);
  Visit("BitField3", H.BitField3);
  Visit("X", H.X);
  Visit("Y", H.Y);
}
template <class V>
void Fields(V& Visit, TArc& A) {
  Visit("Radius", A.Radius);
  Visit("StartAngle", A.StartAngle);
  Visit("EndAngle", A.EndAngle);
  Visit("LineWidth", A.LineWidth);
  Visit("ExtraValue1", A.ExtraValue1);
}
template <class V>
void Fields(V& Visit, TPad& P) {
  Visit("Sizes", P.Sizes);
  Visit("HoleSize", P.HoleSize);
  Visit("Bytes", P.Bytes);
  Visit("Name", P.Name);
  Visit("Rotation", P.Rotation);
  Visit("StackMode", P.StackMode);
  Visit("Shapes", P.Shapes);
  Visit("XSizes", P.XSizes);
  Visit("YSizes", P.YSizes);
}
template <class V>
void Fields(V& Visit, TVia& Via) {
  Visit("Size", Via.Size);
  Visit("HoleSize", Via.HoleSize);
  Visit("Bytes", Via.Bytes);
}
template <class V>
void Fields(V& Visit, TTrack& T) {
  Visit("X2", T.X2);
  Visit("Y2", T.Y2);
  Visit("Width", T.Width);
  Visit("Extra", T.Extra);
}
template <class V>
void Fields(V& Visit, TText& T) {
  Visit("Size", T.Size);
  Visit("TextValue", T.TextValue);
  Visit("Rotation", T.Rotation);
  Visit("TextFlag", T.TextFlag);
  Visit("Text", T.Text);
  Visit("Width", T.Width);
  Visit("Extra2", T.Extra2);
  Visit("Extra3", T.Extra3);
}
template <class V>
void Fields(V& Visit, TFill& F) {
  Visit("X2", F.X2);
  Visit("Y2", F.Y2);
  Visit("Extra1", F.Extra1);
  Visit("Rotation", F.Rotation);
}
template <class V>
void Fields(V& Visit, TFromTo& F) {
  Visit("Byte1", F.Byte1);
  Visit("X2", F.X2);
  Visit("Y2", F.Y2);
  Visit("Byte2", F.Byte2);
}
template <class V>
void Fields(V& Visit, TManualFromTo& M) {
  Texts(Visit, "Text", M.Texts);
  Visit("Value", M.Value);
}
template <class V>
void Fields(V& Visit, TNet& N) {
  Visit("Name", N.Name);
  Visit("NetByte", N.NetByte);
  Visit("NetValue", N.NetValue);
}
template <class V>
void Fields(V& Visit, TComponent& C) {
  Visit("NameHandle", C.NameHandle);
  Visit("Value0", C.Value0);
  Visit("Text", C.Text);
  Visit("Bytes", C.Bytes);
  Visit("Value1", C.Value1);
  Visit("Rotation", C.Rotation);
  Visit("Value2", C.Value2);
  Visit("Value3", C.Value3);
  Texts(Visit, "SourceLink", C.SourceLinks);
  Visit("ChannelOffset", C.ChannelOffset);
  Visit("ComponentKind", C.Kind);
}
template <class V>
void Fields(V& Visit, TPolygon& P) {
  Visit("Bytes", P.Bytes);
  Visit("Values", P.Values);
  Visit("SegmentCount", P.SegmentCount);
}
template <class V>
void Fields(V& Visit, TDimension& D) {
  Visit("DimensionKind", D.Kind);
  Visit("Values", D.Values);
  Visit("Bytes", D.Bytes);
  Texts(Visit, "Text", D.Texts);
  Visit("Wide", D.Wide);
  Visit("LinearValue", D.LinearValue);
  Visit("BaselineValue", D.BaselineValue);
}
template <class V>
void Fields(V& Visit, TCoordinate& C) {
  Visit("Values", C.Values);
}
template <class V>
void Fields(V& Visit, TClass& C) {
  Visit("Byte1", C.Byte1);
  Visit("Byte2", C.Byte2);
  Visit("Name", C.Name);
}
template <class V>
void Fields(V& Visit, TRule& R) {
  TRuleConstraints& C = R.Constraints;
  Visit("RuleKind", R.Kind);
  Visit("Bytes", R.Bytes);
  Texts(Visit, "Text", R.Texts);
  Visit("Values", R.Values);
  Visit("ExtBytes", R.ExtBytes);
  Visit("Name", R.Name);
  Visit("Gap", C.Gap);
  Visit("MinWidth", C.MinWidth);
  Visit("MaxWidth", C.MaxWidth);
  Visit("PreferredWidth", C.PreferredWidth);
  Visit("CornerStyle", C.CornerStyle);
  Visit("CornerSecondSize", C.CornerSecondSize);
  Visit("CornerFirstSize", C.CornerFirstSize);
  Visit("ViaHoleSize", C.ViaHoleSize);
  Visit("ViaStyle", C.ViaStyle);
  Visit("ViaWidth", C.ViaWidth);
  Visit("RoutingLayers", C.RoutingLayers.Layers);
  Visit("PlaneStyle", C.PlaneStyle);
  Visit("PlaneValues", C.PlaneValues);
  Visit("MaxViaCount", C.MaxViaCount);
}
// The records an object lists on indented lines of its own.
template <class V>
void Fields(V& Visit, TPolySegment& S) {
  Visit("Kind", S.Kind);
  Visit("X", S.X);
  Visit("Y", S.Y);
  Visit("CX", S.CX);
  Visit("CY", S.CY);
  Visit("Radius", S.Radius);
  Visit("StartAngle", S.StartAngle);
  Visit("EndAngle", S.EndAngle);
}
template <class V>
void Fields(V& Visit, TReference& R) {
  Visit("Values", R.Values);
}
template <class V>
void Fields(V& Visit, TTextLocation& L) {
  Visit("X", L.X);
  Visit("Y", L.Y);
}
template <class V>
void Fields(V& Visit, TSubScope& S) {
  Visit("Kind", S.Kind);
  Visit("Name", S.Name);
  Visit("Byte1", S.Byte1);
  Visit("Byte2", S.Byte2);
  Visit("Values", S.Values);
}

// A line of a record: the keyword, then the record's fields.
template <class T>
std::string RecordLine(const std::string& Keyword, T& Record) {
  TWriter Writer(Keyword);
  Fields(Writer, Record);
  return Writer.Line();
}

// ---------------------------------------------------------------------------------
// Writing

// Objects are numbered 1, 2, ... in container order: Id is that number, and a handle
// kept inside an object (a component's name text, a dimension's referenced object) is
// written as the number of the object it names, 0 for one outside the board.
void WriteObject(std::string& Out, const TObject& Object,
                 const std::map<Integer, Integer>& Numbers) {
  auto Number = [&](Integer Handle) {
    auto It = Numbers.find(Handle);
    return It == Numbers.end() ? 0 : It->second;
  };
  TObject Copy = Object;
  if (auto* Component = std::get_if<TComponent>(&Copy.Data))
    Component->NameHandle = Number(Component->NameHandle);
  if (auto* Dimension = std::get_if<TDimension>(&Copy.Data))
    for (TReference& Reference : Dimension->References)
      Reference.Values[0] = Number(Reference.Values[0]);
  TWriter Writer("Object");
  std::string Kind = ObjectKindName(Copy.Id);
  Integer Id = Number(Copy.Handle);
  Writer("Kind", Kind);
  Writer("Id", Id);
  Fields(Writer, Copy.Header);
  std::visit([&](auto& Data) { Fields(Writer, Data); }, Copy.Data);
  Out += Writer.Line();
  if (auto* Polygon = std::get_if<TPolygon>(&Copy.Data))
    for (TPolySegment& Segment : Polygon->Segments) Out += RecordLine("  Segment", Segment);
  if (auto* Dimension = std::get_if<TDimension>(&Copy.Data)) {
    for (TReference& Reference : Dimension->References)
      Out += RecordLine("  Reference", Reference);
    for (TTextLocation& Location : Dimension->TextLocations)
      Out += RecordLine("  TextLocation", Location);
  }
  if (auto* Class = std::get_if<TClass>(&Copy.Data)) {
    for (std::string& Member : Class->Members) {
      TWriter Line("  Member");
      Line("Name", Member);
      Out += Line.Line();
    }
  }
  if (auto* Rule = std::get_if<TRule>(&Copy.Data)) {
    for (Integer Scope = 0; Scope < 2; ++Scope) {
      for (TSubScope& Sub : Rule->Scopes[Scope]) {
        TWriter Line("  SubScope");
        Line("Scope", Scope);
        Fields(Line, Sub);
        Out += Line.Line();
      }
    }
  }
}

// ---------------------------------------------------------------------------------
// Reading

// Splits a line into its keyword and Key=Value pairs; false when it is malformed.
bool SplitLine(const std::string& Text, TLine& Line) {
  std::size_t I = 0, N = Text.size();
  while (I < N && Text[I] == ' ') ++I;
  Line.Indented = I > 0;
  std::size_t Start = I;
  while (I < N && Text[I] != ' ') ++I;
  Line.Keyword = Text.substr(Start, I - Start);
  while (I < N) {
    while (I < N && Text[I] == ' ') ++I;
    if (I >= N) break;
    std::size_t Equals = Text.find('=', I);
    if (Equals == std::string::npos || Equals == I) return false;
    std::string Key = Text.substr(I, Equals - I);
    if (Key.find(' ') != std::string::npos || Line.Values.count(Key)) return false;
    I = Equals + 1;
    std::string Value;
    bool Quoted = I < N && Text[I] == '"';
    if (Quoted) {
      for (++I;; ++I) {
        if (I >= N) return false;
        char C = Text[I];
        if (C == '"') break;
        if (C != '\\') {
          Value += C;
          continue;
        }
        if (++I >= N) return false;
        if (Text[I] == 'x') {
          unsigned Code = 0;
          if (I + 2 >= N) return false;
          auto R = std::from_chars(Text.data() + I + 1, Text.data() + I + 3, Code, 16);
          if (R.ec != std::errc() || R.ptr != Text.data() + I + 3) return false;
          Value += static_cast<char>(Code);
          I += 2;
        } else {
          Value += Text[I];
        }
      }
      ++I;
      if (I < N && Text[I] != ' ') return false;
    } else {
      std::size_t End = Text.find(' ', I);
      if (End == std::string::npos) End = N;
      Value = Text.substr(I, End - I);
      I = End;
    }
    Line.Values[Key] = {Value, Quoted};
  }
  return !Line.Keyword.empty();
}

// Reads one record from the line; false when a key is unknown or a value bad.
template <class T>
bool ReadRecord(TLine& Line, T& Record) {
  TReader Reader(Line);
  Fields(Reader, Record);
  return Reader.Finish();
}

// What a board text makes, before anything is handed to the store.
struct TLoaded {
  std::unique_ptr<TBoard> Board = std::make_unique<TBoard>();
  std::vector<std::unique_ptr<TObject>> Objects;  // Handle holds the saved Id
};

bool ValidStack(const std::vector<Byte>& Stack) {
  if (Stack.size() < 2 || Stack.front() != 1 || Stack.back() != 32) return false;
  std::set<Byte> Seen;
  for (Byte Layer : Stack)
    if (!IsStackLayer(Layer) || !Seen.insert(Layer).second) return false;
  return true;
}

bool ReadObjectLine(TLine& Line, TLoaded& Loaded) {
  auto Kind = Line.Values.find("Kind");
  if (Kind == Line.Values.end() || !Kind->second.second) return false;
  int Id = ObjectIdFromKindName(Kind->second.first);
  if (!IsKnownObjectId(Id)) return false;
  auto Object = std::make_unique<TObject>();
  Object->Id = static_cast<TObjectId>(Id);
  Object->Data = DefaultObjectData(Id, Object->Header);
  std::string KindName;
  TReader Reader(Line);
  Reader("Kind", KindName);
  Reader("Id", Object->Handle);
  Fields(Reader, Object->Header);
  std::visit([&](auto& Data) { Fields(Reader, Data); }, Object->Data);
  if (!Reader.Finish() || Object->Handle == 0) return false;
  if (auto* Dimension = std::get_if<TDimension>(&Object->Data))
    if (!IsKnownDimensionKind(Dimension->Kind)) return false;
  if (auto* Rule = std::get_if<TRule>(&Object->Data))
    if (!IsKnownRuleKind(Rule->Kind)) return false;
  Loaded.Objects.push_back(std::move(Object));
  return true;
}

// An indented line: a record of the object before it.
bool ReadObjectRecord(TLine& Line, TLoaded& Loaded) {
  if (Loaded.Objects.empty()) return false;
  TObjectData& Data = Loaded.Objects.back()->Data;
  if (auto* Polygon = std::get_if<TPolygon>(&Data); Polygon && Line.Keyword == "Segment") {
    if (Polygon->Segments.size() >= static_cast<std::size_t>(PolySegmentCapacity))
      return false;
    TPolySegment Segment{};
    if (!ReadRecord(Line, Segment)) return false;
    Polygon->Segments.push_back(Segment);
    return true;
  }
  if (auto* Dimension = std::get_if<TDimension>(&Data)) {
    if (Line.Keyword == "Reference") {
      if (Dimension->References.size() >= DimensionListCapacity) return false;
      Dimension->References.emplace_back();
      return ReadRecord(Line, Dimension->References.back());
    }
    if (Line.Keyword == "TextLocation") {
      if (Dimension->TextLocations.size() >= DimensionListCapacity) return false;
      Dimension->TextLocations.emplace_back();
      return ReadRecord(Line, Dimension->TextLocations.back());
    }
  }
  if (auto* Class = std::get_if<TClass>(&Data); Class && Line.Keyword == "Member") {
    std::string Member;
    TReader Reader(Line);
    Reader("Name", Member);
    Class->Members.push_back(Member);
    return Reader.Finish();
  }
  if (auto* Rule = std::get_if<TRule>(&Data); Rule && Line.Keyword == "SubScope") {
    Integer Scope = -1;
    TSubScope Sub;
    TReader Reader(Line);
    Reader("Scope", Scope);
    Fields(Reader, Sub);
    if (!Reader.Finish() || Scope < 0 || Scope > 1) return false;
    if (Rule->Scopes[Scope].size() >= SubScopeCapacity) return false;
    Rule->Scopes[Scope].push_back(Sub);
    return true;
  }
  return false;
}

bool ReadBoardLine(TLine& Line, TLoaded& Loaded, std::set<int>& LayersSeen) {
  TBoard& Board = *Loaded.Board;
  const std::string& K = Line.Keyword;
  if (K == "Board") return ReadRecord(Line, Board.Record);
  if (K == "Sheet") return ReadRecord(Line, Board.Sheet);
  if (K == "Grids") return ReadRecord(Line, Board.Grids);
  if (K == "Output") return ReadRecord(Line, Board.Output);
  if (K == "Gerber") return ReadRecord(Line, Board.Gerber);
  if (K == "Printer") return ReadRecord(Line, Board.Printer);
  if (K == "Placer") return ReadRecord(Line, Board.Placer);
  if (K == "Eco") return ReadRecord(Line, Board.Eco);
  if (K == "TopDielectric") return ReadRecord(Line, Board.TopDielectric);
  if (K == "BottomDielectric") return ReadRecord(Line, Board.BottomDielectric);
  if (K == "Layer") {
    Integer Number = 0;
    TReader Reader(Line);
    Reader("Number", Number);
    if (Number < 1 || Number > MaxLayer || !LayersSeen.insert(Number).second) return false;
    Fields(Reader, Board.Layers[Number]);
    return Reader.Finish();
  }
  if (K == "Stack") {
    auto It = Line.Values.find("Layers");
    if (Line.Values.size() != 1 || It == Line.Values.end() || It->second.second)
      return false;
    Board.Stack.clear();
    std::istringstream List(It->second.first);
    std::string Item;
    while (std::getline(List, Item, ',')) {
      Byte Layer = 0;
      if (!ParseInteger(Item, Layer)) return false;
      Board.Stack.push_back(Layer);
    }
    return ValidStack(Board.Stack);
  }
  if (K == "Pair") {
    Board.Pairs.emplace_back();
    return ReadRecord(Line, Board.Pairs.back());
  }
  if (K == "Object") return ReadObjectLine(Line, Loaded);
  return false;
}

// The segments, references and counts an object's lines must agree with.
bool ObjectComplete(const TObject& Object) {
  if (const auto* Polygon = std::get_if<TPolygon>(&Object.Data)) {
    std::size_t Expected = Polygon->SegmentCount > 0 ? Polygon->SegmentCount + 1 : 0;
    return Polygon->SegmentCount >= 0 && Polygon->Segments.size() == Expected;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------

std::string BoardToText(TStore& Store, TBoard& Board) {
  std::string Out = std::string(Signature) + '\n';
  Out += RecordLine("Board", Board.Record);
  Out += RecordLine("Sheet", Board.Sheet);
  Out += RecordLine("Grids", Board.Grids);
  Out += RecordLine("Output", Board.Output);
  Out += RecordLine("Gerber", Board.Gerber);
  Out += RecordLine("Printer", Board.Printer);
  Out += RecordLine("Placer", Board.Placer);
  Out += RecordLine("Eco", Board.Eco);
  Out += RecordLine("TopDielectric", Board.TopDielectric);
  Out += RecordLine("BottomDielectric", Board.BottomDielectric);
  for (Integer L = 1; L <= MaxLayer; ++L) {
    TWriter Writer("Layer");
    Writer("Number", L);
    Fields(Writer, Board.Layers[L]);
    Out += Writer.Line();
  }
  std::string Stack;
  for (Byte Layer : Board.Stack)
    Stack += (Stack.empty() ? "" : ",") + std::to_string(Layer);
  Out += "Stack Layers=" + Stack + '\n';
  for (TLayerPair& Pair : Board.Pairs) Out += RecordLine("Pair", Pair);
  std::map<Integer, Integer> Numbers;
  for (Integer Handle : Board.Objects)
    Numbers.emplace(Handle, static_cast<Integer>(Numbers.size()) + 1);
  for (Integer Handle : Board.Objects) WriteObject(Out, *Store.Object(Handle), Numbers);
  return Out;
}

Integer BoardFromText(TStore& Store, const std::string& Text, const std::string& Name) {
  TLoaded Loaded;
  ResetBoard(*Loaded.Board);
  Loaded.Board->Pairs.clear();
  std::set<int> LayersSeen;
  std::istringstream Lines(Text);
  std::string Raw;
  if (!std::getline(Lines, Raw)) return 0;
  if (!Raw.empty() && Raw.back() == '\r') Raw.pop_back();
  if (Raw != Signature) return 0;
  while (std::getline(Lines, Raw)) {
    if (!Raw.empty() && Raw.back() == '\r') Raw.pop_back();
    if (Raw.find_first_not_of(' ') == std::string::npos) continue;
    TLine Line;
    if (!SplitLine(Raw, Line)) return 0;
    if (!Line.Indented && !Loaded.Objects.empty() &&
        !ObjectComplete(*Loaded.Objects.back()))
      return 0;
    bool Read = Line.Indented ? ReadObjectRecord(Line, Loaded)
                              : ReadBoardLine(Line, Loaded, LayersSeen);
    if (!Read) return 0;
  }
  if (!Loaded.Objects.empty() && !ObjectComplete(*Loaded.Objects.back())) return 0;
  std::set<Integer> Ids;
  for (const auto& Object : Loaded.Objects)
    if (!Ids.insert(Object->Handle).second) return 0;

  // The text is whole: hand the board and its objects to the store, with new handles,
  // and point the saved handles inside objects at the new ones (0 for none).
  Loaded.Board->Name = Name;
  Integer BoardHandle = Store.AdoptBoard(std::move(Loaded.Board));
  TBoard& Board = *Store.Board(BoardHandle);
  std::map<Integer, Integer> NewHandles;
  std::vector<TObject*> Made;
  for (auto& Object : Loaded.Objects) {
    Integer Saved = Object->Handle;
    Object->Board = BoardHandle;
    TObject* Kept = Object.get();
    Integer Handle = Store.AdoptObject(std::move(Object));
    NewHandles[Saved] = Handle;
    Board.Objects.push_back(Handle);
    Made.push_back(Kept);
  }
  auto NewHandle = [&](Integer Saved) {
    auto It = NewHandles.find(Saved);
    return It == NewHandles.end() ? 0 : It->second;
  };
  for (TObject* Object : Made) {
    if (auto* Component = std::get_if<TComponent>(&Object->Data))
      Component->NameHandle = NewHandle(Component->NameHandle);
    if (auto* Dimension = std::get_if<TDimension>(&Object->Data))
      for (TReference& Reference : Dimension->References)
        Reference.Values[0] = NewHandle(Reference.Values[0]);
  }
  return BoardHandle;
}

bool SaveBoardFile(TStore& Store, TBoard& Board, const std::string& FileName) {
  std::ofstream File(FileName, std::ios::binary | std::ios::trunc);
  if (!File) return false;
  File << BoardToText(Store, Board);
  File.close();
  return !File.fail();
}

Integer LoadBoardFile(TStore& Store, const std::string& FileName, const std::string& Name) {
  std::ifstream File(FileName, std::ios::binary);
  if (!File) return 0;
  std::ostringstream Text;
  Text << File.rdbuf();
  if (File.bad()) return 0;
  return BoardFromText(Store, Text.str(), Name);
}

}  // namespace Merovan
