#include "classlib/Objects.h"

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/StrUtils.h"

bool TMetaClass::InheritsFrom(TClass AClass) const {
  for (TClass C = this; C; C = C->FParent)
    if (C == AClass) return true;
  return false;
}

TObject* TMetaClass::NewInstance() const {
  throw EInvalidOperation("Cannot create an instance of %s without arguments", {FName});
}

const TMetaClass& TObject::StaticClass() {
  static const TMetaClass::Impl<TObject, TMetaClass> Meta("TObject", nullptr);
  return Meta;
}

TClass TObject::ClassType() const { return &StaticClass(); }

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

void FreeObjectSafely(TObject* Obj) noexcept {
  if (!Obj) return;
  try {
    Obj->BeforeDestruction();
  } catch (...) {
    HandleWindowException(Obj);
  }
  delete Obj;
}

bool TObject::GetInterface(const GUID& IID, void** Obj) {
  *Obj = nullptr;
  for (TClass C = ClassType(); C; C = C->ClassParent()) {
    for (const TInterfaceEntry* E = C->InterfaceTable(); E && E->IID; ++E) {
      if (IsEqualGUID(*E->IID, IID)) {
        *Obj = E->GetInterface(this);
        static_cast<IUnknown*>(*Obj)->AddRef();
        return true;
      }
    }
  }
  return false;
}

// The class registry. A plain function-local list: classes register from unit
// initializations, never from static constructors.
namespace {
std::vector<TClass>& RegisteredClasses() {
  static std::vector<TClass> Classes;
  return Classes;
}
}  // namespace

void RegisterClass(TClass AClass) {
  TClass Existing = GetClass(AClass->ClassName());
  if (Existing == AClass) return;
  if (Existing) throw EInvalidOperation("Class %s already registered", {AClass->ClassName()});
  RegisteredClasses().push_back(AClass);
}

void UnRegisterClass(TClass AClass) {
  auto& Classes = RegisteredClasses();
  for (auto It = Classes.begin(); It != Classes.end(); ++It)
    if (*It == AClass) {
      Classes.erase(It);
      return;
    }
}

TClass GetClass(const AnsiString& ClassName) {
  for (TClass C : RegisteredClasses())
    if (SameText(C->ClassName(), ClassName)) return C;
  return nullptr;
}

TClass FindClass(const AnsiString& ClassName) {
  TClass C = GetClass(ClassName);
  if (!C) throw EClassNotFound(SClassNotFound, {ClassName});
  return C;
}

TCLASS_IMPL(TPersistent)

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  AnsiString SourceName = Source ? Source->ClassName() : AnsiString("nil");
  throw EConvertError(SAssignError, {SourceName, ClassName()});
}

namespace {
const TInterfaceEntry InterfacedObjectInterfaces[] = {
    InterfaceEntry<TInterfacedObject, IUnknown>(IID_IUnknown),
    {nullptr, nullptr},
};
}  // namespace

TCLASS_IMPL_TABLE(TInterfacedObject, InterfacedObjectInterfaces)

void TInterfacedObject::AfterConstruction() { InterlockedDecrement(&FRefCount); }

void TInterfacedObject::BeforeDestruction() {
  if (FRefCount != 0) throw EInvalidPointer("Invalid pointer operation");
}

HRESULT STDMETHODCALLTYPE TInterfacedObject::QueryInterface(REFIID IID, void** Obj) {
  if (!Obj) return E_POINTER;
  return GetInterface(IID, Obj) ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TInterfacedObject::AddRef() { return InterlockedIncrement(&FRefCount); }

ULONG STDMETHODCALLTYPE TInterfacedObject::Release() {
  LONG Count = InterlockedDecrement(&FRefCount);
  if (Count == 0) FreeObjectSafely(this);
  return Count;
}

void OleCheck(HRESULT Result) {
  if (FAILED(Result)) throw EOleSysError(SysErrorMessage(static_cast<DWORD>(Result)), Result);
}
