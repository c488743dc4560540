// The root of the class tree: objects with metaclasses, two-phase lifetime,
// persistent objects, method pointers and reference-counted interfaced objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "classlib/SysTypes.h"

class TObject;
class TMetaClass;
class TFiler;

// A class reference: the metaclass object of a class.
using TClass = const TMetaClass*;

// One row of a class's interface table: the interface id and how to reach the
// interface inside an instance of the class.
struct TInterfaceEntry {
  const GUID* IID;
  void* (*GetInterface)(TObject* Instance);
};

// Builds an interface-table row for interface I implemented by class T.
template <class T, class I>
constexpr TInterfaceEntry InterfaceEntry(const GUID& IID) {
  return {&IID, [](TObject* Instance) -> void* {
            return static_cast<I*>(static_cast<T*>(Instance));
          }};
}

// The creation helper: constructs the object, then runs AfterConstruction, where an
// object may call its own overridden operations. Use it for every TObject descendant.
template <class T, class... Args>
T* NewObject(Args&&... args);

// The metaclass object of a class: its name, its parent, its interface table, its
// virtual constructor and, in descendants, its class operations.
//
// A hierarchy that needs more class operations (a virtual constructor with arguments,
// class-level drawing, ...) derives its own metaclass and its own nested Impl template,
// which overrides them for the concrete class T, usually by calling T's static members.
class TMetaClass {
 public:
  TMetaClass(const char* AName, TClass AParent, const TInterfaceEntry* ATable = nullptr)
      : FName(AName), FParent(AParent), FInterfaceTable(ATable) {}
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  virtual ~TMetaClass() = default;

  AnsiString ClassName() const { return FName; }
  TClass ClassParent() const { return FParent; }
  const TInterfaceEntry* InterfaceTable() const { return FInterfaceTable; }
  bool InheritsFrom(TClass AClass) const;

  // The parameterless virtual constructor; raises EInvalidOperation for a class that
  // cannot be made without arguments.
  virtual TObject* NewInstance() const;

  template <class T, class Base>
  struct Impl : Base {
    using Base::Base;
    TObject* NewInstance() const override {
      if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>)
        return NewObject<T>();
      else
        return Base::NewInstance();
    }
  };

 private:
  const char* FName;
  TClass FParent;
  const TInterfaceEntry* FInterfaceTable;
};

// Inside a class body: names the parent as `inherited` and gives the class its
// metaclass. A class that introduces its own metaclass type declares
// `using MetaType = ...;` before this line.
#define TCLASS_DECL(ThisClass, ParentClass)              \
 public:                                                 \
  using inherited = ParentClass;                         \
  static const MetaType& StaticClass();                  \
  TClass ClassType() const override { return &StaticClass(); }

// In the class's source file. The metaclass object is made on first use.
#define TCLASS_IMPL_TABLE(ThisClass, Table)                                              \
  const ThisClass::MetaType& ThisClass::StaticClass() {                                  \
    static const ThisClass::MetaType::Impl<ThisClass, ThisClass::MetaType> Meta(         \
        #ThisClass, &ThisClass::inherited::StaticClass(), Table);                         \
    return Meta;                                                                         \
  }
#define TCLASS_IMPL(ThisClass) TCLASS_IMPL_TABLE(ThisClass, nullptr)

class TObject {
 public:
  using MetaType = TMetaClass;

  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;

  static const TMetaClass& StaticClass();
  virtual TClass ClassType() const;
  AnsiString ClassName() const { return ClassType()->ClassName(); }
  bool InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }
  template <class T>
  bool Is() const {
    return InheritsFrom(&T::StaticClass());
  }

  // Run by NewObject after the constructor and by Free before the destructor, so
  // that overridden operations are reached while the whole object exists.
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}

  // Frees the object: BeforeDestruction, then the destructors.
  void Free();

  // Looks IID up in the interface tables of the class and its ancestors; on success
  // stores a counted interface reference in Obj.
  bool GetInterface(const GUID& IID, void** Obj);
};

// Frees Obj when it is not null.
inline void FreeObject(TObject* Obj) {
  if (Obj) Obj->Free();
}

// Frees Obj when it is not null, where an exception must not leave: destructors, the
// end of a scope, the last Release. A failure while freeing (an overridden
// BeforeDestruction or an event it runs) is handed to HandleWindowException, and the
// object is freed all the same.
void FreeObjectSafely(TObject* Obj) noexcept;

// Frees the object and clears the reference. Never raises (see FreeObjectSafely), so
// destructors use it for the objects they own.
template <class T>
void FreeAndNil(T*& Obj) noexcept {
  T* Temp = Obj;
  Obj = nullptr;
  FreeObjectSafely(Temp);
}

// Holds an object for the length of a scope and frees it at the end, also when the
// scope is left by an exception: TOwned<TFileStream> Stream(NewObject<TFileStream>(...)).
// Freeing never raises (see FreeObjectSafely).
struct TFreeDeleter {
  void operator()(TObject* Obj) const noexcept { FreeObjectSafely(Obj); }
};
template <class T>
using TOwned = std::unique_ptr<T, TFreeDeleter>;

// Holds one counted interface reference and releases it at the end of the scope:
// Client->GetServerModuleByName("PCB", &Module) fills a TInterfaceRef<IServerModule>.
template <class I>
class TInterfaceRef {
 public:
  TInterfaceRef() = default;
  TInterfaceRef(const TInterfaceRef&) = delete;
  TInterfaceRef& operator=(const TInterfaceRef&) = delete;
  ~TInterfaceRef() {
    if (FIntf) FIntf->Release();
  }
  // The address to fill; whatever was held is released first.
  I** operator&() {
    if (FIntf) FIntf->Release();
    FIntf = nullptr;
    return &FIntf;
  }
  I* operator->() const { return FIntf; }
  explicit operator bool() const { return FIntf != nullptr; }
  I* Get() const { return FIntf; }
  // Hands the reference over to the caller.
  I* Detach() {
    I* Result = FIntf;
    FIntf = nullptr;
    return Result;
  }

 private:
  I* FIntf = nullptr;
};

template <class T, class... Args>
T* NewObject(Args&&... args) {
  std::unique_ptr<T> Obj(new T(std::forward<Args>(args)...));
  Obj->AfterConstruction();
  return Obj.release();
}

// Casts to T when Obj is an instance of T or a descendant, otherwise nullptr.
template <class T>
T* ObjectAs(TObject* Obj) {
  return dynamic_cast<T*>(Obj);
}

// The registry of classes by name, for streaming and factories.
void RegisterClass(TClass AClass);
void UnRegisterClass(TClass AClass);
TClass GetClass(const AnsiString& ClassName);  // nullptr when not registered
TClass FindClass(const AnsiString& ClassName);  // raises EClassNotFound

// A persistent object can copy itself from another of a compatible class, and can
// keep data in a form file beyond its published properties.
class TPersistent : public TObject {
  TCLASS_DECL(TPersistent, TObject)
 public:
  virtual void Assign(TPersistent* Source);
  // Names the form-file properties that are not published (Filer->DefineProperty,
  // Filer->DefineBinaryProperty); the form reader and writer call it. An override
  // calls the inherited one first.
  virtual void DefineProperties(TFiler* /*Filer*/) {}

 protected:
  virtual void AssignTo(TPersistent* Dest);
  virtual TPersistent* GetOwner() { return nullptr; }

 private:
  [[noreturn]] void AssignError(TPersistent* Source);
};

// A method pointer: the code of a bound thunk and the object it calls.
struct TMethod {
  void* Code = nullptr;
  void* Data = nullptr;

  bool operator==(const TMethod&) const = default;
};

namespace classlib_detail {
template <class M>
struct MemberClass;
template <class C, class R, class... A>
struct MemberClass<R (C::*)(A...)> {
  using Type = C;
};
}  // namespace classlib_detail

// A typed event: a method pointer to a member function with the signature R(A...).
// Bind<&TForm::btnNextClick>(Form) makes one; Assigned() tells whether it is set.
template <class Signature>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
 public:
  using Thunk = R (*)(void* Data, A... Args);

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  explicit TEvent(const TMethod& M) : FMethod(M) {}

  template <auto Member>
  static TEvent Bind(typename classlib_detail::MemberClass<decltype(Member)>::Type* Obj) {
    return TEvent(TMethod{reinterpret_cast<void*>(&Call<Member>), Obj});
  }

  // The thunk of a member function, as stored in TMethod::Code.
  template <auto Member>
  static R Call(void* Data, A... Args) {
    using C = typename classlib_detail::MemberClass<decltype(Member)>::Type;
    return (static_cast<C*>(Data)->*Member)(std::forward<A>(Args)...);
  }

  bool Assigned() const { return FMethod.Code != nullptr; }
  const TMethod& Method() const { return FMethod; }
  R operator()(A... Args) const {
    return reinterpret_cast<Thunk>(FMethod.Code)(FMethod.Data, std::forward<A>(Args)...);
  }
  bool operator==(const TEvent&) const = default;

 private:
  TMethod FMethod;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

// A reference-counted object with the COM layout. It holds one reference to itself
// while it is being constructed (released in AfterConstruction), so a constructor that
// hands out its own interface does not free it. The last Release frees it, without
// raising (see FreeObjectSafely).
class TInterfacedObject : public TObject, public IUnknown {
  TCLASS_DECL(TInterfacedObject, TObject)
 public:
  TInterfacedObject() = default;
  TInterfacedObject(const TInterfacedObject&) = delete;
  TInterfacedObject& operator=(const TInterfacedObject&) = delete;

  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  LONG RefCount() const { return FRefCount; }

 private:
  LONG FRefCount = 1;
};

// In a TInterfacedObject descendant that also derives from an interface: routes the
// interface's IUnknown slots to the object's own counting and lookup.
#define TINTERFACED_IUNKNOWN                                                         \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override {        \
    return TInterfacedObject::QueryInterface(IID, Obj);                              \
  }                                                                                  \
  ULONG STDMETHODCALLTYPE AddRef() override { return TInterfacedObject::AddRef(); }  \
  ULONG STDMETHODCALLTYPE Release() override { return TInterfacedObject::Release(); }

// Raises EOleSysError when Result is a failing HRESULT.
void OleCheck(HRESULT Result);
