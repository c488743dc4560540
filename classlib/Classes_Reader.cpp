// Reading form files: components made by class name, properties set by name,
// events bound by method name, references resolved at the end, Loaded after the
// outermost read; and the form resources of the module.
#include <algorithm>
#include <new>

#include "classlib/Classes_FormSyntax.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(EFormFileError)
TCLASS_IMPL(TFiler)
TCLASS_IMPL(TReader)

using namespace classlib_detail;

EFormFileError::EFormFileError(const AnsiString& AFormName, const AnsiString& AComponentName,
                               int ALine, const AnsiString& ADetail)
    : EReadError("Form %s, component %s, line %d: %s",
                 {AFormName, AComponentName.empty() ? AnsiString("(root)") : AComponentName, ALine,
                  ADetail}),
      FFormName(AFormName),
      FComponentName(AComponentName),
      FLine(ALine),
      FDetail(ADetail) {}

// ---------------------------------------------------------------------------------
// The load session: the components waiting for Loaded until the outermost read is
// done. Reads nest when a component made by a read (a frame) reads its own file.

namespace classlib_detail {
struct TLoadSession {
  std::vector<TComponent*> Loaded;
};
}  // namespace classlib_detail

namespace {
TLoadSession* ActiveSession = nullptr;
}  // namespace

struct TReader::TFixup {
  TObject* Instance;
  const TPropInfo* Info;
  AnsiString Path;
  AnsiString ComponentName;
  int Line;
};

TReader::TReader(TComponent* ARoot, const AnsiString& AFormName)
    : TFiler(ARoot), FFormName(AFormName), FFixups(new std::vector<TFixup>) {}

TReader::~TReader() { delete FFixups; }

AnsiString TReader::CurrentComponentName() const { return FCurrent ? FCurrent->Name() : AnsiString(); }

void TReader::Error(const AnsiString& Detail) const {
  throw EFormFileError(FFormName, CurrentComponentName(), FLine, Detail);
}

void TReader::BeginLoading(TComponent* Instance) {
  Instance->SetComponentStateFlag(csLoading, true);
  if (std::find(FTouched.begin(), FTouched.end(), Instance) == FTouched.end()) FTouched.push_back(Instance);
  if (ActiveSession &&
      std::find(ActiveSession->Loaded.begin(), ActiveSession->Loaded.end(), Instance) ==
          ActiveSession->Loaded.end())
    ActiveSession->Loaded.push_back(Instance);
}

void TReader::ReadRoot(const TFormBlock& Block) {
  TComponent* Root = this->Root();
  FCurrent = Root;
  FLine = Block.Line;
  // The file belongs to the root's class or to one of its ancestors.
  bool ClassFits = false;
  for (TClass C = Root->ClassType(); C && !ClassFits; C = C->ClassParent())
    ClassFits = SameText(C->ClassName(), Block.ClassName);
  if (!ClassFits)
    throw EFormFileError(FFormName, Block.Name, Block.Line,
                         "The form file is for class " + Block.ClassName + ", not " + Root->ClassName());
  BeginLoading(Root);
  Root->SetComponentStateFlag(csReading, true);
  if (!Block.Name.empty() && !SameText(Root->Name(), Block.Name)) {
    // A second root of the same name under one owner gets a numbered name.
    AnsiString NewName = Block.Name;
    TComponent* Owner = Root->Owner();
    for (int N = 1; Owner && Owner->FindComponent(NewName) && Owner->FindComponent(NewName) != Root; ++N)
      NewName = Block.Name + "_" + IntToStr(N);
    Root->SetName(NewName);
  }
  FParent = nullptr;
  FBlock = &Block;
  Root->ReadState(this);
  Root->SetComponentStateFlag(csReading, false);
  ResolveFixups();
}

void TReader::ReadData(TComponent* Instance) {
  const TFormBlock& Block = *FBlock;
  for (const TFormProperty& Property : Block.Properties) {
    FCurrent = Instance;
    ReadProperty(Instance, Property);
  }
  for (const TFormBlock& Child : Block.Children) ReadComponent(Child, Instance);
  FCurrent = Instance;
}

void TReader::ReadComponent(const TFormBlock& Block, TComponent* AParent) {
  FLine = Block.Line;
  TComponent* Instance = nullptr;
  if (Block.Kind == TBlockKind::Component) {
    FCurrent = nullptr;
    TClass Class = GetClass(Block.ClassName);
    auto Fail = [&](const AnsiString& Detail) {
      throw EFormFileError(FFormName, Block.Name, Block.Line, Detail);
    };
    if (!Class) Fail(Format(SClassNotFound, Block.ClassName));
    TComponentClass ComponentClass = AsComponentClass(Class);
    if (!ComponentClass) Fail(Block.ClassName + " is not a component class");
    Instance = ComponentClass->Create(Root());
    FCreated.push_back(Instance);
    BeginLoading(Instance);
    FCurrent = Instance;
    try {
      Instance->SetName(Block.Name);
    } catch (const EFormFileError&) {
      throw;
    } catch (const Exception& E) {
      Fail(E.Message());
    }
  } else {
    // Made already: by an ancestor's form file (owned by the root) or by a component
    // around it (a frame's own components, owned by the frame).
    for (TComponent* Owner = AParent; Owner && !Instance; Owner = Owner == Root() ? nullptr : Owner->Owner())
      Instance = Owner->FindComponent(Block.Name);
    if (!Instance) Instance = Root()->FindComponent(Block.Name);
    if (!Instance) throw EFormFileError(FFormName, Block.Name, Block.Line, "Component " + Block.Name + " not found");
    FCurrent = Instance;
    if (!Block.ClassName.empty()) {
      bool Fits = false;
      for (TClass C = Instance->ClassType(); C && !Fits; C = C->ClassParent()) Fits = SameText(C->ClassName(), Block.ClassName);
      if (!Fits) Error(Block.Name + " is a " + Instance->ClassName() + ", not a " + Block.ClassName);
    }
    BeginLoading(Instance);
  }
  Instance->SetComponentStateFlag(csReading, true);
  const TFormBlock* SavedBlock = FBlock;
  TComponent* SavedParent = FParent;
  FBlock = &Block;
  FParent = AParent;
  Instance->ReadState(this);
  FBlock = SavedBlock;
  FParent = SavedParent;
  Instance->SetComponentStateFlag(csReading, false);
}

void TReader::ReadProperty(TObject* Instance, const TFormProperty& Property) {
  FLine = Property.Line;
  // Through the sub-objects of a dotted path.
  TObject* Target = Instance;
  AnsiString Rest = Property.Path;
  for (std::size_t Dot = Rest.find('.'); Dot != AnsiString::npos; Dot = Rest.find('.')) {
    AnsiString Part = Rest.substr(0, Dot);
    const TPropInfo* Info = GetPropInfo(Target, Part);
    if (!Info) Error("Property " + Property.Path + " does not exist");
    if (Info->Kind != tkClass || Info->IsReference) Error(Part + " has no properties of its own (" + Property.Path + ")");
    Target = Info->GetObj(Target);
    if (!Target) Error(Part + " is not set (" + Property.Path + ")");
    Rest = Rest.substr(Dot + 1);
  }
  if (const TPropInfo* Info = GetPropInfo(Target, Rest)) {
    try {
      SetValue(Target, *Info, Property.Value);
    } catch (const EFormFileError&) {
      throw;
    } catch (const Exception& E) {
      Error("Invalid value " + DescribeValue(Property.Value) + " for property " + Property.Path + " (" +
            E.Message() + ")");
    }
    return;
  }
  // A property the object defines itself.
  auto* Persistent = ObjectAs<TPersistent>(Target);
  FDefinedName = Rest;
  FDefinedValue = &Property.Value;
  FDefinedFound = false;
  if (Persistent) {
    try {
      Persistent->DefineProperties(this);
    } catch (const EFormFileError&) {
      FDefinedValue = nullptr;
      throw;
    } catch (const Exception& E) {
      FDefinedValue = nullptr;
      Error("Invalid value for property " + Property.Path + " (" + E.Message() + ")");
    }
  }
  FDefinedValue = nullptr;
  if (!FDefinedFound) Error("Property " + Property.Path + " does not exist");
}

void TReader::SetValue(TObject* Instance, const TPropInfo& Info, const TFormValue& Value) {
  auto Bad = [&]() { Error("Invalid value " + DescribeValue(Value) + " for property " + Info.Name); };
  if (Info.ReadOnly()) Error("Property " + Info.Name + " is read-only");
  switch (Info.Kind) {
    case tkInteger: {
      int Named = 0;
      if (Value.Kind == TValueKind::Integer)
        Info.SetOrd(Instance, Value.Integer);
      else if (Value.Kind == TValueKind::Ident && Info.IdentToInt && Info.IdentToInt(Value.Text, Named))
        Info.SetOrd(Instance, Named);
      else
        Bad();
      break;
    }
    case tkEnumeration: {
      int Ord = Value.Kind == TValueKind::Ident ? Info.EnumType->Value(Value.Text) : -1;
      if (Ord < 0) Bad();
      Info.SetOrd(Instance, Ord);
      break;
    }
    case tkSet: {
      if (Value.Kind != TValueKind::Set) Bad();
      Int64 Bits = 0;
      for (const AnsiString& Name : Value.Strings) {
        int Ord = Info.EnumType->Value(Name);
        if (Ord < 0) Error("Invalid set element " + Name + " for property " + Info.Name);
        Bits |= Int64(1) << Ord;
      }
      Info.SetOrd(Instance, Bits);
      break;
    }
    case tkFloat:
      if (Value.Kind == TValueKind::Float)
        Info.SetFloat(Instance, Value.Float);
      else if (Value.Kind == TValueKind::Integer)
        Info.SetFloat(Instance, static_cast<double>(Value.Integer));
      else
        Bad();
      break;
    case tkString:
      if (Value.Kind != TValueKind::String) Bad();
      Info.SetStr(Instance, Value.Text);
      break;
    case tkMethod: {
      if (Value.Kind != TValueKind::Ident) Bad();
      if (SameText(Value.Text, "null")) {
        Info.SetMethod(Instance, TMethod());
        break;
      }
      const TMethodInfo* Method = FindPublishedMethod(Root()->ClassType(), Value.Text);
      if (!Method) Error("Method " + Value.Text + " not found in " + Root()->ClassName());
      if (Method->EventType != Info.EventType)
        Error("Method " + Value.Text + " does not fit the event " + Info.Name);
      Info.SetMethod(Instance, TMethod{Method->Code, Method->Adjust(Root())});
      break;
    }
    case tkClass: {
      if (Info.IsReference) {
        if (Value.Kind != TValueKind::Ident) Bad();
        if (SameText(Value.Text, "null"))
          Info.SetObj(Instance, nullptr);
        else
          FFixups->push_back({Instance, &Info, Value.Text, CurrentComponentName(), FLine});
        break;
      }
      TObject* Sub = Info.GetObj(Instance);
      if (auto* Strings = ObjectAs<TStrings>(Sub); Strings && Value.Kind == TValueKind::Lines) {
        TUpdateScope Updating(Strings);
        Strings->Clear();
        for (const AnsiString& S : Value.Strings) Strings->Add(S);
      } else if (auto* Collection = ObjectAs<TCollection>(Sub); Collection && Value.Kind == TValueKind::Items) {
        ReadItems(Collection, Value);
      } else {
        Bad();
      }
      break;
    }
  }
}

void TReader::ReadItems(TCollection* Collection, const TFormValue& Value) {
  TUpdateScope Updating(Collection);
  Collection->Clear();
  for (const TFormItem& Item : Value.Items) {
    FLine = Item.Line;
    TCollectionItem* NewItem = Collection->Add();
    for (const TFormProperty& Property : Item.Properties) ReadProperty(NewItem, Property);
  }
}

TComponent* TReader::FindReference(const AnsiString& Path) const {
  TComponent* Found = nullptr;
  std::size_t Start = 0;
  while (Start <= Path.size()) {
    std::size_t Dot = Path.find('.', Start);
    AnsiString Part = Path.substr(Start, Dot == AnsiString::npos ? AnsiString::npos : Dot - Start);
    if (!Found)
      Found = SameText(Root()->Name(), Part) ? Root() : Root()->FindComponent(Part);
    else
      Found = Found->FindComponent(Part);
    if (!Found || Dot == AnsiString::npos) break;
    Start = Dot + 1;
  }
  return Found;
}

void TReader::ResolveFixups() {
  for (const TFixup& Fixup : *FFixups) {
    TComponent* Target = FindReference(Fixup.Path);
    if (!Target)
      throw EFormFileError(FFormName, Fixup.ComponentName, Fixup.Line, "Component " + Fixup.Path + " not found");
    if (!Target->InheritsFrom(Fixup.Info->PropClass))
      throw EFormFileError(FFormName, Fixup.ComponentName, Fixup.Line,
                           Fixup.Path + " is a " + Target->ClassName() + ", not a " +
                               Fixup.Info->PropClass->ClassName());
    try {
      Fixup.Info->SetObj(Fixup.Instance, Target);
    } catch (const Exception& E) {
      throw EFormFileError(FFormName, Fixup.ComponentName, Fixup.Line,
                           "Invalid value " + Fixup.Path + " for property " + Fixup.Info->Name + " (" +
                               E.Message() + ")");
    }
  }
  FFixups->clear();
}

void TReader::Rollback() {
  // Children were made after their parents: the last made goes first.
  while (!FCreated.empty()) {
    TComponent* Instance = FCreated.back();
    FCreated.pop_back();
    FTouched.erase(std::remove(FTouched.begin(), FTouched.end(), Instance), FTouched.end());
    if (ActiveSession) {
      auto& Loaded = ActiveSession->Loaded;
      Loaded.erase(std::remove(Loaded.begin(), Loaded.end(), Instance), Loaded.end());
    }
    Instance->Free();
  }
  for (TComponent* Instance : FTouched) {
    Instance->SetComponentStateFlag(csLoading, false);
    Instance->SetComponentStateFlag(csReading, false);
    if (ActiveSession) {
      auto& Loaded = ActiveSession->Loaded;
      Loaded.erase(std::remove(Loaded.begin(), Loaded.end(), Instance), Loaded.end());
    }
  }
  FTouched.clear();
}

// ---------------------------------------------------------------------------------
// Defined properties

const TFormValue& TReader::DefinedValue() const {
  if (!FDefinedValue) Error("No property value is being read");
  return *FDefinedValue;
}

void TReader::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc /*WriteData*/,
                             bool /*HasData*/) {
  if (FDefinedFound || !FDefinedValue || !SameText(Name, FDefinedName) || !ReadData.Assigned()) return;
  FDefinedFound = true;
  ReadData(this);
}

void TReader::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc /*WriteData*/,
                                   bool /*HasData*/) {
  if (FDefinedFound || !FDefinedValue || !SameText(Name, FDefinedName) || !ReadData.Assigned()) return;
  FDefinedFound = true;
  if (FDefinedValue->Kind != TValueKind::Binary) Error("Binary data expected for property " + Name);
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  if (!FDefinedValue->Bytes.empty())
    Stream->WriteBuffer(FDefinedValue->Bytes.data(), static_cast<int>(FDefinedValue->Bytes.size()));
  Stream->SetPosition(0);
  ReadData(Stream.get());
}

Int64 TReader::ReadInteger() {
  const TFormValue& Value = DefinedValue();
  if (Value.Kind != TValueKind::Integer) Error("An integer expected for property " + FDefinedName);
  return Value.Integer;
}

bool TReader::ReadBoolean() {
  AnsiString Ident = ReadIdent();
  int Ord = BooleanInfo().Value(Ident);
  if (Ord < 0) Error("True or False expected for property " + FDefinedName);
  return Ord == 1;
}

double TReader::ReadFloat() {
  const TFormValue& Value = DefinedValue();
  if (Value.Kind == TValueKind::Integer) return static_cast<double>(Value.Integer);
  if (Value.Kind != TValueKind::Float) Error("A number expected for property " + FDefinedName);
  return Value.Float;
}

AnsiString TReader::ReadString() {
  const TFormValue& Value = DefinedValue();
  if (Value.Kind != TValueKind::String) Error("A string expected for property " + FDefinedName);
  return Value.Text;
}

AnsiString TReader::ReadIdent() {
  const TFormValue& Value = DefinedValue();
  if (Value.Kind != TValueKind::Ident) Error("An identifier expected for property " + FDefinedName);
  return Value.Text;
}

// ---------------------------------------------------------------------------------
// Entry points

void ReadComponentText(TComponent* Root, const AnsiString& Text, const AnsiString& FormName) {
  TFormBlock Block = ParseFormText(Text, FormName);
  bool Outer = ActiveSession == nullptr;
  TLoadSession Session;
  if (Outer) ActiveSession = &Session;
  struct TEndSession {
    bool Outer;
    ~TEndSession() {
      if (Outer) ActiveSession = nullptr;
    }
  } End{Outer};
  {
    TOwned<TReader> Reader(NewObject<TReader>(Root, FormName));
    // However the read fails, what it made goes, after its error names the component
    // and the line it was at.
    bool Read = false;
    auto Undo = AtScopeEnd([&] {
      if (!Read) Reader->Rollback();
    });
    auto Fail = [&](const AnsiString& Detail) {
      return EFormFileError(FormName, Reader->CurrentComponentName(), Reader->CurrentLine(),
                            Detail);
    };
    try {
      Reader->ReadRoot(Block);
    } catch (const EFormFileError&) {
      throw;
    } catch (const Exception& E) {
      throw Fail(E.Message());
    } catch (const std::bad_alloc&) {
      throw Fail(SOutOfMemory);
    }
    Read = true;
  }
  if (!Outer) return;
  ActiveSession = nullptr;
  for (TComponent* Instance : Session.Loaded) Instance->SetComponentStateFlag(csReading, false);
  // A component whose loading another one's Loaded already ended (a dialog ends its
  // theme components' in its own) is not told twice.
  for (TComponent* Instance : Session.Loaded)
    if (Instance->ComponentState().Contains(csLoading)) Instance->Loaded();
}

bool ReadComponentRes(const AnsiString& ResName, TComponent* Instance) {
  if (!FindResourceA(HInstance, ResName.c_str(), RT_RCDATA)) return false;
  TOwned<TResourceStream> Stream(NewObject<TResourceStream>(HInstance, ResName, RT_RCDATA));
  AnsiString Text(static_cast<std::size_t>(Stream->Size()), '\0');
  if (!Text.empty()) Stream->ReadBuffer(Text.data(), static_cast<int>(Text.size()));
  ReadComponentText(Instance, Text, ResName);
  return true;
}

bool FormResourceExists(TClass AClass) {
  return FindResourceA(HInstance, AClass->ClassName().c_str(), RT_RCDATA) != nullptr;
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
  std::vector<TClass> Chain;
  for (TClass C = Instance->ClassType(); C && C != RootAncestor && C->InheritsFrom(RootAncestor);
       C = C->ClassParent())
    Chain.push_back(C);
  bool Any = false;
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It)
    if (ReadComponentRes((*It)->ClassName(), Instance)) Any = true;
  return Any;
}

TComponent* CreateComponentByClassName(const AnsiString& ClassName, TComponent* AOwner) {
  TComponentClass Class = AsComponentClass(FindClass(ClassName));
  if (!Class) throw EClassNotFound(SClassNotFound, {ClassName});
  return Class->Create(AOwner);
}
