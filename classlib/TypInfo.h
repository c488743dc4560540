// Published properties, fields and methods: what a class shows by name to form files
// and to look-ups such as "does this control have a ThemeEngine property".
//
// C++ has no published section, so each class registers its part once, in the
// initialization of its unit (never from a static constructor):
//
//   void InitMyUnit() {
//     RegisterClass(&TMyPage::StaticClass());
//     TPublish<TMyPage> P;
//     P.Prop("Units", &TMyPage::Units, &TMyPage::SetUnits).Default(eImperial);
//     P.Prop("OnChange", &TMyPage::OnChange);           // an event
//     P.Field("btnNext", &TMyPage::btnNext);             // set to the component named so
//     P.Method<&TMyPage::btnNextClick>("btnNextClick");  // bound by name from form files
//   }
//   void DoneMyUnit() { UnRegisterPublished(&TMyPage::StaticClass()); ... }
//
// The kind of a property follows from its getter's type: bool, an enumeration (whose
// names TENUM_INFO gives), a TSet, an integer, a floating-point number, AnsiString, or
// a pointer to an object: a component with a setter is a reference (written as the
// component's name), anything else a sub-object whose own properties are written with
// the property's name in front (Font.Name). An event is a TEvent data member. A class
// sees the properties of its ancestors first, in their order, then its own, and the
// events after all of them; one that registers an ancestor's name again replaces that
// property in its place (to give it another default, for instance), or, marked Moved,
// takes it to its own place among the class's properties (so that a value derived
// from one of them is written, and read, after it).
#pragma once

#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

#include "classlib/Classes.h"

TCLASS_EXCEPTION(EPropertyError, Exception)
TCLASS_EXCEPTION(EPropertyConvertError, Exception)

inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SPropertyOutOfRange = "Property value out of range";
inline constexpr const char* SReadOnlyProperty = "Property %s is read-only";

enum TTypeKind { tkInteger, tkEnumeration, tkSet, tkFloat, tkString, tkClass, tkMethod };

// The names of an enumeration's values, in order of value.
struct TEnumInfo {
  const char* TypeName;
  const char* const* Names;
  int Count;

  // The name of Value, or "" out of range.
  AnsiString Name(int Value) const;
  // The value of a name (any case), or -1.
  int Value(const AnsiString& Name) const;
};

// The names of an enumeration, given once next to it with TENUM_INFO.
template <class E>
const TEnumInfo& EnumInfo();

#define TENUM_INFO(E, ...)                                                            \
  template <>                                                                         \
  inline const TEnumInfo& EnumInfo<E>() {                                             \
    static constexpr const char* Names[] = {__VA_ARGS__};                             \
    static constexpr TEnumInfo Info{#E, Names, static_cast<int>(std::size(Names))};    \
    return Info;                                                                      \
  }

// Boolean is an enumeration of False and True.
const TEnumInfo& BooleanInfo();

// Names for some values of an integer property (colours, cursors): the form file
// shows the name where there is one.
using TIdentToInt = bool (*)(const AnsiString& Ident, int& Value);
using TIntToIdent = bool (*)(int Value, AnsiString& Ident);

// Identifies the signature of an event type, so that a method is bound only to an
// event of its own signature.
template <class E>
inline const char EventTypeTag = 0;

struct TPropInfo {
  AnsiString Name;
  TTypeKind Kind = tkInteger;
  // tkEnumeration and tkSet: the names of the values (of the elements).
  const TEnumInfo* EnumType = nullptr;
  // tkInteger: the accepted range (32-bit properties also take 0x80000000 and up,
  // as unsigned numbers); names of some values; written in hexadecimal.
  Int64 MinValue = 0;
  Int64 MaxValue = 0;
  TIdentToInt IdentToInt = nullptr;
  TIntToIdent IntToIdent = nullptr;
  bool Hex = false;
  // tkClass: the declared class, and whether the property refers to a component
  // elsewhere (true) or gives a sub-object that belongs to the instance (false).
  TClass PropClass = nullptr;
  bool IsReference = false;
  // tkMethod: the event's signature.
  const void* EventType = nullptr;

  // The accessors of the kind (the setters are empty for a read-only property).
  std::function<Int64(TObject*)> GetOrd;
  std::function<void(TObject*, Int64)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<AnsiString(TObject*)> GetStr;
  std::function<void(TObject*, const AnsiString&)> SetStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;

  // The default: a value equal to it is not written. Without one (NoDefault) the
  // value is always written. By default it is the kind's empty value (0, False, the
  // first name, the empty set, "", no event, no component).
  bool HasDefault = true;
  Int64 DefaultOrd = 0;
  double DefaultFloat = 0;
  AnsiString DefaultStr;
  // Whether the value is written at all (empty: always).
  std::function<bool(TObject*)> StoredProc;
  // An ancestor's property registered again at this class's place in the order.
  bool Moved = false;

  bool ReadOnly() const;
  bool IsStored(TObject* Instance) const;
  // The value equals the default (sub-objects never do).
  bool IsDefault(TObject* Instance) const;
};

// A published field: a member of the root that the component of that name is put
// into when it is read or renamed (nullptr when the component is not of its class).
struct TFieldInfo {
  AnsiString Name;
  TClass FieldClass = nullptr;
  std::function<void(TObject* Root, TComponent* Value)> Set;
};

// A published method: the code of its event thunk and the event signature.
struct TMethodInfo {
  AnsiString Name;
  void* Code = nullptr;
  const void* EventType = nullptr;
  // The instance as the class that declares the method.
  void* (*Adjust)(TObject* Instance) = nullptr;
};

// ---------------------------------------------------------------------------------
// Look-ups.

// The property of that name (any case) that the class or an ancestor publishes, or
// nullptr.
const TPropInfo* GetPropInfo(TClass AClass, const AnsiString& PropName);
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName);
bool IsPublishedProp(TClass AClass, const AnsiString& PropName);
bool IsPublishedProp(const TObject* Instance, const AnsiString& PropName);
// Every property of the class, ancestors' first, the events last.
std::vector<const TPropInfo*> GetPropList(TClass AClass);
// The field of the class or an ancestor, or nullptr.
const TFieldInfo* FindPublishedField(TClass AClass, const AnsiString& FieldName);
// Puts Value into the field of Root named Name (when Root's class has one).
void SetPublishedField(TObject* Root, const AnsiString& Name, TComponent* Value);
// The method of that name (any case), or nullptr.
const TMethodInfo* FindPublishedMethod(TClass AClass, const AnsiString& MethodName);
// The name of the published method of Instance that Method calls, or "".
AnsiString PublishedMethodName(TObject* Instance, const TMethod& Method);
// The method pointer of Instance's published method, with an empty code when absent.
TMethod PublishedMethodAddress(TObject* Instance, const AnsiString& MethodName);

// Values by name. An unknown name raises EPropertyError "Property %s does not exist";
// a value of the wrong kind or out of range raises EPropertyConvertError.
Int64 GetOrdProp(TObject* Instance, const AnsiString& PropName);
void SetOrdProp(TObject* Instance, const AnsiString& PropName, Int64 Value);
AnsiString GetEnumProp(TObject* Instance, const AnsiString& PropName);
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
AnsiString GetStrProp(TObject* Instance, const AnsiString& PropName);
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
double GetFloatProp(TObject* Instance, const AnsiString& PropName);
void SetFloatProp(TObject* Instance, const AnsiString& PropName, double Value);
TObject* GetObjectProp(TObject* Instance, const AnsiString& PropName);
void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const AnsiString& PropName);
void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value);

// ---------------------------------------------------------------------------------
// Registration.

namespace classlib_detail {
// The registration record of a class, made on first use.
struct TPublishedClass {
  TClass Class;
  std::vector<std::unique_ptr<TPropInfo>> Props;
  std::vector<TFieldInfo> Fields;
  std::vector<TMethodInfo> Methods;
};
TPublishedClass& PublishedClass(TClass AClass);
// Adds a property, or replaces the class's own one of the same name.
TPropInfo& AddProp(TClass AClass, std::unique_ptr<TPropInfo> Info);
[[noreturn]] void RaiseOutOfRange();
[[noreturn]] void RaiseWrongClass();

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {
  using Element = E;
};

template <class T>
inline constexpr bool AlwaysFalse = false;

template <class M>
struct MethodTraits;
template <class X, class R, class... A>
struct MethodTraits<R (X::*)(A...)> {
  using Class = X;
  using Event = TEvent<R(A...)>;
};

// The accepted range of an integer type (32-bit types also take unsigned values).
template <class V>
constexpr Int64 RangeMin() {
  return static_cast<Int64>(std::numeric_limits<V>::min());
}
template <class V>
constexpr Int64 RangeMax() {
  if constexpr (sizeof(V) >= 8)
    return std::numeric_limits<Int64>::max();
  else if constexpr (sizeof(V) == 4)
    return static_cast<Int64>(std::numeric_limits<std::uint32_t>::max());
  else
    return static_cast<Int64>(std::numeric_limits<V>::max());
}
}  // namespace classlib_detail

// Forgets everything a class registered.
void UnRegisterPublished(TClass AClass);

// The property just registered, for its default, store predicate and names.
template <class C>
class TPropRef {
 public:
  explicit TPropRef(TPropInfo& AInfo) : FInfo(AInfo) {}

  template <class V>
  TPropRef& Default(const V& Value) {
    FInfo.HasDefault = true;
    if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V> || std::is_integral_v<V>)
      FInfo.DefaultOrd = static_cast<Int64>(Value);
    else if constexpr (classlib_detail::IsTSet<V>::value)
      FInfo.DefaultOrd = Value.Bits();
    else if constexpr (std::is_floating_point_v<V>)
      FInfo.DefaultFloat = Value;
    else
      FInfo.DefaultStr = AnsiString(Value);
    return *this;
  }
  // The value is always written.
  TPropRef& NoDefault() {
    FInfo.HasDefault = false;
    return *this;
  }
  // Written only when Pred (a const member function of C, or a callable taking C*)
  // answers true; Stored(false) never writes it.
  template <class F>
  TPropRef& Stored(F Pred) {
    if constexpr (std::is_same_v<F, bool>)
      FInfo.StoredProc = [Pred](TObject*) { return Pred; };
    else
      FInfo.StoredProc = [Pred](TObject* Instance) {
        return static_cast<bool>(std::invoke(Pred, static_cast<C*>(Instance)));
      };
    return *this;
  }
  // An ancestor's property registered again leaves the ancestor's place for this
  // one: after the properties the class registered before it.
  TPropRef& Moved() {
    FInfo.Moved = true;
    return *this;
  }
  // Names for values of an integer property; Hex writes the others in hexadecimal.
  TPropRef& Idents(TIdentToInt ToInt, TIntToIdent ToIdent, bool Hex = false) {
    FInfo.IdentToInt = ToInt;
    FInfo.IntToIdent = ToIdent;
    FInfo.Hex = Hex;
    return *this;
  }

 private:
  TPropInfo& FInfo;
};

// Registers the published part of class C (see the comment at the top).
template <class C>
class TPublish {
 public:
  TPublish() : FClass(&C::StaticClass()) {}

  // A property read by Getter and written by Setter (nullptr: read-only). Both are
  // member functions of C or of an ancestor, or callables taking C*.
  template <class G, class S = std::nullptr_t>
  TPropRef<C> Prop(const char* Name, G Getter, S Setter = nullptr);

  // An event: a TEvent data member of C or of an ancestor.
  template <class B, class Sig>
  TPropRef<C> Prop(const char* Name, TEvent<Sig> B::*Event) {
    static_assert(std::is_base_of_v<B, C>);
    auto Info = NewInfo(Name, tkMethod);
    Info->EventType = &EventTypeTag<TEvent<Sig>>;
    Info->GetMethod = [Event](TObject* Instance) { return (static_cast<C*>(Instance)->*Event).Method(); };
    Info->SetMethod = [Event](TObject* Instance, const TMethod& M) {
      static_cast<C*>(Instance)->*Event = TEvent<Sig>(M);
    };
    return TPropRef<C>(classlib_detail::AddProp(FClass, std::move(Info)));
  }

  // A field that holds the component of the same name.
  template <class B, class T>
  void Field(const char* Name, T* B::*Member) {
    static_assert(std::is_base_of_v<B, C> && std::is_base_of_v<TComponent, T>);
    TFieldInfo Info;
    Info.Name = Name;
    Info.FieldClass = &T::StaticClass();
    Info.Set = [Member](TObject* Root, TComponent* Value) {
      static_cast<C*>(Root)->*Member = Value ? ObjectAs<T>(Value) : nullptr;
    };
    auto& Fields = classlib_detail::PublishedClass(FClass).Fields;
    Fields.push_back(std::move(Info));
  }

  // A method that form files bind to events by name.
  template <auto Member>
  void Method(const char* Name) {
    using Traits = classlib_detail::MethodTraits<decltype(Member)>;
    using X = typename Traits::Class;
    using E = typename Traits::Event;
    static_assert(std::is_base_of_v<X, C>);
    TMethodInfo Info;
    Info.Name = Name;
    Info.Code = reinterpret_cast<void*>(&E::template Call<Member>);
    Info.EventType = &EventTypeTag<E>;
    Info.Adjust = [](TObject* Instance) -> void* { return static_cast<X*>(static_cast<C*>(Instance)); };
    classlib_detail::PublishedClass(FClass).Methods.push_back(std::move(Info));
  }

 private:
  std::unique_ptr<TPropInfo> NewInfo(const char* Name, TTypeKind Kind) {
    auto Info = std::make_unique<TPropInfo>();
    Info->Name = Name;
    Info->Kind = Kind;
    return Info;
  }

  TClass FClass;
};

template <class C>
template <class G, class S>
TPropRef<C> TPublish<C>::Prop(const char* Name, G Getter, S Setter) {
  using namespace classlib_detail;
  using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
  constexpr bool CanSet = !std::is_null_pointer_v<S>;
  auto Get = [Getter](TObject* Instance) -> V { return std::invoke(Getter, static_cast<C*>(Instance)); };
  auto Info = std::make_unique<TPropInfo>();
  Info->Name = Name;
  if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V>) {
    Info->Kind = tkEnumeration;
    if constexpr (std::is_same_v<V, bool>)
      Info->EnumType = &BooleanInfo();
    else
      Info->EnumType = &EnumInfo<V>();
    Info->MinValue = 0;
    Info->MaxValue = Info->EnumType->Count - 1;
    Info->GetOrd = [Get](TObject* Instance) { return static_cast<Int64>(Get(Instance)); };
    if constexpr (CanSet)
      Info->SetOrd = [Setter, Max = Info->MaxValue](TObject* Instance, Int64 Value) {
        if (Value < 0 || Value > Max) RaiseOutOfRange();
        std::invoke(Setter, static_cast<C*>(Instance), static_cast<V>(Value));
      };
  } else if constexpr (IsTSet<V>::value) {
    Info->Kind = tkSet;
    Info->EnumType = &EnumInfo<typename IsTSet<V>::Element>();
    Info->MinValue = 0;
    Info->MaxValue = (Int64(1) << Info->EnumType->Count) - 1;
    Info->GetOrd = [Get](TObject* Instance) { return static_cast<Int64>(Get(Instance).Bits()); };
    if constexpr (CanSet)
      Info->SetOrd = [Setter, Max = Info->MaxValue](TObject* Instance, Int64 Value) {
        if (Value < 0 || (Value & ~Max) != 0) RaiseOutOfRange();
        std::invoke(Setter, static_cast<C*>(Instance), V::FromBits(static_cast<Cardinal>(Value)));
      };
  } else if constexpr (std::is_integral_v<V>) {
    Info->Kind = tkInteger;
    Info->MinValue = RangeMin<V>();
    Info->MaxValue = RangeMax<V>();
    Info->GetOrd = [Get](TObject* Instance) { return static_cast<Int64>(Get(Instance)); };
    if constexpr (CanSet)
      Info->SetOrd = [Setter, Min = Info->MinValue, Max = Info->MaxValue](TObject* Instance, Int64 Value) {
        if (Value < Min || Value > Max) RaiseOutOfRange();
        std::invoke(Setter, static_cast<C*>(Instance), static_cast<V>(Value));
      };
  } else if constexpr (std::is_floating_point_v<V>) {
    Info->Kind = tkFloat;
    Info->GetFloat = [Get](TObject* Instance) { return static_cast<double>(Get(Instance)); };
    if constexpr (CanSet)
      Info->SetFloat = [Setter](TObject* Instance, double Value) {
        std::invoke(Setter, static_cast<C*>(Instance), static_cast<V>(Value));
      };
  } else if constexpr (std::is_same_v<V, AnsiString>) {
    Info->Kind = tkString;
    Info->GetStr = [Get](TObject* Instance) { return Get(Instance); };
    if constexpr (CanSet)
      Info->SetStr = [Setter](TObject* Instance, const AnsiString& Value) {
        std::invoke(Setter, static_cast<C*>(Instance), Value);
      };
  } else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TObject, std::remove_pointer_t<V>>) {
    using T = std::remove_pointer_t<V>;
    Info->Kind = tkClass;
    Info->PropClass = &T::StaticClass();
    Info->IsReference = CanSet && std::is_base_of_v<TComponent, T>;
    Info->GetObj = [Get](TObject* Instance) -> TObject* { return Get(Instance); };
    if constexpr (CanSet)
      Info->SetObj = [Setter](TObject* Instance, TObject* Value) {
        T* Typed = Value ? ObjectAs<T>(Value) : nullptr;
        if (Value && !Typed) RaiseWrongClass();
        std::invoke(Setter, static_cast<C*>(Instance), Typed);
      };
  } else {
    static_assert(AlwaysFalse<V>, "a published property must be bool, an enumeration, a TSet, "
                                  "a number, AnsiString or an object pointer");
  }
  return TPropRef<C>(AddProp(FClass, std::move(Info)));
}
