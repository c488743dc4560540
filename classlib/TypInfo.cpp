#include "classlib/TypInfo.h"

#include <algorithm>

#include "classlib/StrUtils.h"

TCLASS_IMPL(EPropertyError)
TCLASS_IMPL(EPropertyConvertError)

AnsiString TEnumInfo::Name(int Value) const {
  return Value >= 0 && Value < Count ? AnsiString(Names[Value]) : AnsiString();
}

int TEnumInfo::Value(const AnsiString& Name) const {
  for (int I = 0; I < Count; ++I)
    if (SameText(Names[I], Name)) return I;
  return -1;
}

const TEnumInfo& BooleanInfo() {
  static constexpr const char* Names[] = {"False", "True"};
  static constexpr TEnumInfo Info{"Boolean", Names, 2};
  return Info;
}

bool TPropInfo::ReadOnly() const {
  switch (Kind) {
    case tkFloat: return !SetFloat;
    case tkString: return !SetStr;
    case tkClass: return IsReference ? !SetObj : false;
    case tkMethod: return !SetMethod;
    default: return !SetOrd;
  }
}

bool TPropInfo::IsStored(TObject* Instance) const { return !StoredProc || StoredProc(Instance); }

bool TPropInfo::IsDefault(TObject* Instance) const {
  if (!HasDefault) return false;
  switch (Kind) {
    case tkFloat: return GetFloat(Instance) == DefaultFloat;
    case tkString: return GetStr(Instance) == DefaultStr;
    case tkClass: return IsReference && GetObj(Instance) == nullptr;
    case tkMethod: return GetMethod(Instance).Code == nullptr;
    default: return GetOrd(Instance) == DefaultOrd;
  }
}

// ---------------------------------------------------------------------------------
// The registry: one record per class that registered anything, made from unit
// initializations.

namespace classlib_detail {

namespace {
std::vector<std::unique_ptr<TPublishedClass>>& Registry() {
  static std::vector<std::unique_ptr<TPublishedClass>> Classes;
  return Classes;
}

const TPublishedClass* FindRecord(TClass AClass) {
  for (const auto& Record : Registry())
    if (Record->Class == AClass) return Record.get();
  return nullptr;
}
}  // namespace

TPublishedClass& PublishedClass(TClass AClass) {
  for (const auto& Record : Registry())
    if (Record->Class == AClass) return *Record;
  Registry().push_back(std::make_unique<TPublishedClass>());
  Registry().back()->Class = AClass;
  return *Registry().back();
}

TPropInfo& AddProp(TClass AClass, std::unique_ptr<TPropInfo> Info) {
  auto& Props = PublishedClass(AClass).Props;
  for (auto& Existing : Props)
    if (SameText(Existing->Name, Info->Name)) {
      Existing = std::move(Info);
      return *Existing;
    }
  Props.push_back(std::move(Info));
  return *Props.back();
}

void RaiseOutOfRange() { throw EPropertyConvertError(SPropertyOutOfRange); }
void RaiseWrongClass() { throw EPropertyConvertError(SInvalidPropertyValue); }

}  // namespace classlib_detail

using namespace classlib_detail;

void UnRegisterPublished(TClass AClass) {
  auto& Classes = Registry();
  for (auto It = Classes.begin(); It != Classes.end(); ++It)
    if ((*It)->Class == AClass) {
      Classes.erase(It);
      return;
    }
}

// ---------------------------------------------------------------------------------
// Look-ups

const TPropInfo* GetPropInfo(TClass AClass, const AnsiString& PropName) {
  // The most derived registration wins.
  for (TClass C = AClass; C; C = C->ClassParent())
    if (const TPublishedClass* Record = FindRecord(C))
      for (const auto& Info : Record->Props)
        if (SameText(Info->Name, PropName)) return Info.get();
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName) {
  return Instance ? GetPropInfo(Instance->ClassType(), PropName) : nullptr;
}

bool IsPublishedProp(TClass AClass, const AnsiString& PropName) {
  return GetPropInfo(AClass, PropName) != nullptr;
}

bool IsPublishedProp(const TObject* Instance, const AnsiString& PropName) {
  return GetPropInfo(Instance, PropName) != nullptr;
}

std::vector<const TPropInfo*> GetPropList(TClass AClass) {
  std::vector<TClass> Chain;
  for (TClass C = AClass; C; C = C->ClassParent()) Chain.push_back(C);
  std::vector<const TPropInfo*> Result;
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It) {
    const TPublishedClass* Record = FindRecord(*It);
    if (!Record) continue;
    for (const auto& Info : Record->Props) {
      auto Existing = std::find_if(
          Result.begin(), Result.end(),
          [&](const TPropInfo* Prior) { return SameText(Prior->Name, Info->Name); });
      if (Existing != Result.end() && !Info->Moved)
        *Existing = Info.get();
      else {
        if (Existing != Result.end()) Result.erase(Existing);
        Result.push_back(Info.get());
      }
    }
  }
  // Events come after every other property, so that a value set while a form file
  // is read (Checked, ItemIndex) does not reach a handler read before it.
  std::vector<const TPropInfo*> Events;
  std::erase_if(Result, [&](const TPropInfo* Info) {
    if (Info->Kind != tkMethod) return false;
    Events.push_back(Info);
    return true;
  });
  Result.insert(Result.end(), Events.begin(), Events.end());
  return Result;
}

const TFieldInfo* FindPublishedField(TClass AClass, const AnsiString& FieldName) {
  if (FieldName.empty()) return nullptr;
  for (TClass C = AClass; C; C = C->ClassParent())
    if (const TPublishedClass* Record = FindRecord(C))
      for (const TFieldInfo& Field : Record->Fields)
        if (SameText(Field.Name, FieldName)) return &Field;
  return nullptr;
}

void SetPublishedField(TObject* Root, const AnsiString& Name, TComponent* Value) {
  if (!Root) return;
  if (const TFieldInfo* Field = FindPublishedField(Root->ClassType(), Name)) Field->Set(Root, Value);
}

const TMethodInfo* FindPublishedMethod(TClass AClass, const AnsiString& MethodName) {
  for (TClass C = AClass; C; C = C->ClassParent())
    if (const TPublishedClass* Record = FindRecord(C))
      for (const TMethodInfo& Method : Record->Methods)
        if (SameText(Method.Name, MethodName)) return &Method;
  return nullptr;
}

AnsiString PublishedMethodName(TObject* Instance, const TMethod& Method) {
  if (!Instance || !Method.Code) return AnsiString();
  for (TClass C = Instance->ClassType(); C; C = C->ClassParent())
    if (const TPublishedClass* Record = FindRecord(C))
      for (const TMethodInfo& Info : Record->Methods)
        if (Info.Code == Method.Code && Info.Adjust(Instance) == Method.Data) return Info.Name;
  return AnsiString();
}

TMethod PublishedMethodAddress(TObject* Instance, const AnsiString& MethodName) {
  const TMethodInfo* Info = Instance ? FindPublishedMethod(Instance->ClassType(), MethodName) : nullptr;
  if (!Info) return TMethod();
  return TMethod{Info->Code, Info->Adjust(Instance)};
}

// ---------------------------------------------------------------------------------
// Values by name

namespace {

const TPropInfo& PropOf(TObject* Instance, const AnsiString& PropName) {
  const TPropInfo* Info = GetPropInfo(Instance, PropName);
  if (!Info) throw EPropertyError(SUnknownProperty, {PropName});
  return *Info;
}

const TPropInfo& PropOfKind(TObject* Instance, const AnsiString& PropName,
                            std::initializer_list<TTypeKind> Kinds) {
  const TPropInfo& Info = PropOf(Instance, PropName);
  for (TTypeKind Kind : Kinds)
    if (Info.Kind == Kind) return Info;
  throw EPropertyConvertError(SInvalidPropertyValue);
}

void CheckWritable(const TPropInfo& Info) {
  if (Info.ReadOnly()) throw EPropertyError(SReadOnlyProperty, {Info.Name});
}

}  // namespace

Int64 GetOrdProp(TObject* Instance, const AnsiString& PropName) {
  return PropOfKind(Instance, PropName, {tkInteger, tkEnumeration, tkSet}).GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const AnsiString& PropName, Int64 Value) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkInteger, tkEnumeration, tkSet});
  CheckWritable(Info);
  Info.SetOrd(Instance, Value);
}

AnsiString GetEnumProp(TObject* Instance, const AnsiString& PropName) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkEnumeration});
  return Info.EnumType->Name(static_cast<int>(Info.GetOrd(Instance)));
}

void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkEnumeration});
  CheckWritable(Info);
  int Ord = Info.EnumType->Value(Value);
  if (Ord < 0) throw EPropertyConvertError(SInvalidPropertyValue);
  Info.SetOrd(Instance, Ord);
}

AnsiString GetStrProp(TObject* Instance, const AnsiString& PropName) {
  return PropOfKind(Instance, PropName, {tkString}).GetStr(Instance);
}

void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkString});
  CheckWritable(Info);
  Info.SetStr(Instance, Value);
}

double GetFloatProp(TObject* Instance, const AnsiString& PropName) {
  return PropOfKind(Instance, PropName, {tkFloat}).GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const AnsiString& PropName, double Value) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkFloat});
  CheckWritable(Info);
  Info.SetFloat(Instance, Value);
}

TObject* GetObjectProp(TObject* Instance, const AnsiString& PropName) {
  return PropOfKind(Instance, PropName, {tkClass}).GetObj(Instance);
}

void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkClass});
  if (!Info.SetObj) throw EPropertyError(SReadOnlyProperty, {Info.Name});
  Info.SetObj(Instance, Value);
}

TMethod GetMethodProp(TObject* Instance, const AnsiString& PropName) {
  return PropOfKind(Instance, PropName, {tkMethod}).GetMethod(Instance);
}

void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value) {
  const TPropInfo& Info = PropOfKind(Instance, PropName, {tkMethod});
  CheckWritable(Info);
  Info.SetMethod(Instance, Value);
}
