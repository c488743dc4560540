// Writing form files: the root and the components it owns, each with the published
// properties that differ from their defaults and pass their store predicates, and
// the properties the objects define themselves.
#include <cmath>

#include "classlib/Classes_Streaming.h"
#include "classlib/FloatConv.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"
#include "classlib/ScopeExit.h"

TCLASS_IMPL(TWriter)

namespace {

// Collects the children that GetChildren reports.
class TChildList : public TObject {
 public:
  void Add(TComponent* Child) { Children.push_back(Child); }
  std::vector<TComponent*> Children;
};

const char HexDigits[] = "0123456789ABCDEF";

AnsiString HexBytes(const Byte* Data, std::size_t Count) {
  AnsiString Result;
  for (std::size_t I = 0; I < Count; ++I) {
    Result += HexDigits[Data[I] >> 4];
    Result += HexDigits[Data[I] & 15];
  }
  return Result;
}

}  // namespace

AnsiString FormFileString(const AnsiString& Value) {
  AnsiString Result = "\"";
  for (char C : Value) {
    auto U = static_cast<unsigned char>(C);
    switch (C) {
      case '"': Result += "\\\""; break;
      case '\\': Result += "\\\\"; break;
      case '\n': Result += "\\n"; break;
      case '\r': Result += "\\r"; break;
      case '\t': Result += "\\t"; break;
      default:
        if (U < 0x20 || U >= 0x7F) {
          Result += "\\x";
          Result += HexDigits[U >> 4];
          Result += HexDigits[U & 15];
        } else {
          Result += C;
        }
    }
  }
  return Result + "\"";
}

// The shortest general form that reads back as the same number.
AnsiString FormFileFloat(double Value) {
  TFormatSettings Settings;
  for (int Precision = 15; Precision <= 17; ++Precision) {
    AnsiString Text = FloatToStrF(Value, ffGeneral, Precision, 0, Settings);
    double Back = 0;
    if (TryStrToFloat(Text, Back, Settings) && Back == Value) return Text;
  }
  return FloatToStrF(Value, ffGeneral, 17, 0, Settings);
}

AnsiString TWriter::WriteRoot() {
  FText.clear();
  WriteComponent(Root(), 0, nullptr);
  return FText;
}

void TWriter::Line(int Indent, const AnsiString& Text) {
  FText += AnsiString(static_cast<std::size_t>(Indent), ' ') + Text + "\r\n";
}

void TWriter::WriteComponent(TComponent* Instance, int Indent, TComponent* Existing) {
  bool IsRoot = Instance == Root();
  if (Existing)
    Line(Indent, "existing " + Instance->Name());
  else
    Line(Indent, AnsiString(IsRoot ? "form " : "component ") + Instance->Name() + ": " + Instance->ClassName());
  Instance->SetComponentStateFlag(csWriting, true);
  {
    auto EndWriting = ScopeExit([&] { Instance->SetComponentStateFlag(csWriting, false); });
    WriteProperties(Instance, AnsiString(), Indent + 2);
    // A component without a name cannot be written: nothing could refer to it.
    TChildList Children;
    Instance->GetChildren(TGetChildProc::Bind<&TChildList::Add>(&Children), Existing ? Existing : Root());
    for (TComponent* Child : Children.Children)
      if (!Child->Name().empty()) WriteComponent(Child, Indent + 2, Existing);
    // A component that makes components of its own (a frame reading its form file)
    // makes them again when it is read: their values follow as existing components.
    if (!IsRoot && !Existing && Instance->ComponentCount() > 0) {
      TChildList Own;
      Instance->GetChildren(TGetChildProc::Bind<&TChildList::Add>(&Own), Instance);
      for (TComponent* Child : Own.Children)
        if (!Child->Name().empty()) WriteComponent(Child, Indent + 2, Instance);
    }
  }
  Line(Indent, "end");
}

void TWriter::WriteProperties(TObject* Instance, const AnsiString& Prefix, int Indent) {
  for (const TPropInfo* Info : GetPropList(Instance->ClassType())) WriteProperty(Instance, *Info, Prefix, Indent);
  if (auto* Persistent = ObjectAs<TPersistent>(Instance)) {
    AnsiString SavedPrefix = FPrefix;
    int SavedIndent = FIndent;
    FPrefix = Prefix;
    FIndent = Indent;
    Persistent->DefineProperties(this);
    FPrefix = SavedPrefix;
    FIndent = SavedIndent;
  }
}

AnsiString TWriter::ReferenceName(TComponent* Component) const {
  if (Component == Root()) return Root()->Name();
  if (Component->Name().empty()) return AnsiString();
  if (Component->Owner() == Root()) return Component->Name();
  // A component of a component of the root (a frame's own control).
  TComponent* Owner = Component->Owner();
  if (Owner && Owner->Owner() == Root() && !Owner->Name().empty())
    return Owner->Name() + "." + Component->Name();
  return AnsiString();
}

void TWriter::WriteProperty(TObject* Instance, const TPropInfo& Info, const AnsiString& Prefix, int Indent) {
  if (!Info.IsStored(Instance)) return;
  AnsiString Name = Prefix + Info.Name;
  if (Info.Kind == tkClass && !Info.IsReference) {
    TObject* Sub = Info.GetObj(Instance);
    if (!Sub) return;
    if (auto* Strings = ObjectAs<TStrings>(Sub)) {
      if (Strings->Count() == 0) return;
      Line(Indent, Name + " = lines");
      for (int I = 0; I < Strings->Count(); ++I) Line(Indent + 2, FormFileString(Strings->Strings(I)));
      Line(Indent, "end");
    } else if (auto* Collection = ObjectAs<TCollection>(Sub)) {
      // Written even when empty: reading clears the collection, so that one whose
      // owner starts with items reads back empty.
      Line(Indent, Name + " = items");
      for (int I = 0; I < Collection->Count(); ++I) {
        Line(Indent + 2, "item");
        WriteProperties(Collection->Items(I), AnsiString(), Indent + 4);
        Line(Indent + 2, "end");
      }
      Line(Indent, "end");
    } else {
      WriteProperties(Sub, Name + ".", Indent);
    }
    return;
  }
  // What cannot be read back is not written.
  if (Info.ReadOnly() || Info.IsDefault(Instance)) return;
  AnsiString Value;
  switch (Info.Kind) {
    case tkInteger: {
      Int64 Ord = Info.GetOrd(Instance);
      AnsiString Ident;
      if (Info.IntToIdent && Info.IntToIdent(static_cast<int>(Ord), Ident))
        Value = Ident;
      else if (Info.Hex)
        Value = "0x" + IntToHex(static_cast<Int64>(static_cast<std::uint32_t>(Ord)), 8);
      else
        Value = IntToStr(Ord);
      break;
    }
    case tkEnumeration: Value = Info.EnumType->Name(static_cast<int>(Info.GetOrd(Instance))); break;
    case tkSet: {
      Int64 Bits = Info.GetOrd(Instance);
      Value = "[";
      for (int I = 0; I < Info.EnumType->Count; ++I)
        if (Bits & (Int64(1) << I)) Value += (Value.size() > 1 ? ", " : "") + Info.EnumType->Name(I);
      Value += "]";
      break;
    }
    case tkFloat: Value = FormFileFloat(Info.GetFloat(Instance)); break;
    case tkString: Value = FormFileString(Info.GetStr(Instance)); break;
    case tkMethod:
      Value = PublishedMethodName(Root(), Info.GetMethod(Instance));
      if (Value.empty()) return;  // bound to something a form file cannot name
      break;
    case tkClass: {
      auto* Component = ObjectAs<TComponent>(Info.GetObj(Instance));
      if (!Component) return;
      Value = ReferenceName(Component);
      if (Value.empty()) return;
      break;
    }
  }
  Line(Indent, Name + " = " + Value);
}

// ---------------------------------------------------------------------------------
// Defined properties

void TWriter::DefineProperty(const AnsiString& Name, TReaderProc /*ReadData*/, TWriterProc WriteData,
                             bool HasData) {
  if (!HasData || !WriteData.Assigned()) return;
  FDefinedValue.clear();
  FDefinedCount = 0;
  WriteData(this);
  if (FDefinedCount != 1)
    throw EWriteError("Property %s must write exactly one value", {FPrefix + Name});
  Line(FIndent, FPrefix + Name + " = " + FDefinedValue);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, TStreamProc /*ReadData*/, TStreamProc WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData.Assigned()) return;
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  WriteData(Stream.get());
  auto* Data = static_cast<const Byte*>(Stream->Memory());
  auto Size = static_cast<std::size_t>(Stream->Size());
  constexpr std::size_t PerLine = 32;
  if (Size > 0 && Size <= PerLine) {
    Line(FIndent, FPrefix + Name + " = hex " + HexBytes(Data, Size));
    return;
  }
  Line(FIndent, FPrefix + Name + " = hex");
  for (std::size_t Offset = 0; Offset < Size; Offset += PerLine)
    Line(FIndent + 2, HexBytes(Data + Offset, std::min(PerLine, Size - Offset)));
  Line(FIndent, "end");
}

void TWriter::WriteDefinedValue(const AnsiString& Text) {
  FDefinedValue = Text;
  ++FDefinedCount;
}

void TWriter::WriteInteger(Int64 Value) { WriteDefinedValue(IntToStr(Value)); }
void TWriter::WriteBoolean(bool Value) { WriteDefinedValue(Value ? "True" : "False"); }
void TWriter::WriteFloat(double Value) { WriteDefinedValue(FormFileFloat(Value)); }
void TWriter::WriteString(const AnsiString& Value) { WriteDefinedValue(FormFileString(Value)); }
void TWriter::WriteIdent(const AnsiString& Value) { WriteDefinedValue(Value); }

AnsiString WriteComponentText(TComponent* Root) {
  TOwned<TWriter> Writer(NewObject<TWriter>(Root));
  return Writer->WriteRoot();
}
