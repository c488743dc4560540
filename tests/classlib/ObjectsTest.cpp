#include <gtest/gtest.h>

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Objects.h"

namespace {

std::vector<std::string> Log;

// Calls an overridden operation from both lifetime phases: in C++ the constructor
// and destructor would reach only the base version.
class TBase : public TObject {
  TCLASS_DECL(TBase, TObject)
 public:
  void AfterConstruction() override { Log.push_back("after:" + Describe()); }
  void BeforeDestruction() override { Log.push_back("before:" + Describe()); }
  virtual std::string Describe() { return "base"; }
};
TCLASS_IMPL(TBase)

class TDerived : public TBase {
  TCLASS_DECL(TDerived, TBase)
 public:
  std::string Describe() override { return "derived"; }
};
TCLASS_IMPL(TDerived)

class TNeedsArgument : public TObject {
  TCLASS_DECL(TNeedsArgument, TObject)
 public:
  explicit TNeedsArgument(int) {}
};
TCLASS_IMPL(TNeedsArgument)

// A metaclass with a class operation of its own, overridden per class.
class TShapeClass : public TMetaClass {
 public:
  using TMetaClass::TMetaClass;
  virtual int Corners() const { return 0; }
  template <class T, class Base>
  struct Impl : TMetaClass::Impl<T, Base> {
    using TMetaClass::Impl<T, Base>::Impl;
    int Corners() const override { return T::Corners(); }
  };
};

class TShape : public TObject {
 public:
  using MetaType = TShapeClass;
  TCLASS_DECL(TShape, TObject)
  static int Corners() { return 0; }
};
TCLASS_IMPL(TShape)

class TTriangle : public TShape {
  TCLASS_DECL(TTriangle, TShape)
 public:
  static int Corners() { return 3; }
};
TCLASS_IMPL(TTriangle)

TEST(ObjectTest, ClassNamesAndInheritance) {
  TObject* Obj = NewObject<TDerived>();
  EXPECT_EQ(Obj->ClassName(), "TDerived");
  EXPECT_EQ(Obj->ClassType()->ClassParent(), &TBase::StaticClass());
  EXPECT_TRUE(Obj->InheritsFrom(&TBase::StaticClass()));
  EXPECT_TRUE(Obj->Is<TObject>());
  TBase Plain;
  EXPECT_FALSE(Plain.Is<TDerived>());
  EXPECT_EQ(ObjectAs<TBase>(Obj), static_cast<TBase*>(Obj));
  EXPECT_EQ(ObjectAs<TTriangle>(Obj), nullptr);
  Obj->Free();
}

TEST(ObjectTest, LifetimePhasesReachOverriddenOperations) {
  Log.clear();
  TBase* Obj = NewObject<TDerived>();
  Obj->Free();
  EXPECT_EQ(Log, (std::vector<std::string>{"after:derived", "before:derived"}));

  Log.clear();
  TBase* Nil = nullptr;
  FreeAndNil(Nil);
  TBase* Other = NewObject<TBase>();
  FreeAndNil(Other);
  EXPECT_EQ(Other, nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"after:base", "before:base"}));
}

TEST(ObjectTest, VirtualConstructorAndClassOperations) {
  TClass C = &TDerived::StaticClass();
  TObject* Obj = C->NewInstance();
  EXPECT_EQ(Obj->ClassType(), C);
  Obj->Free();
  EXPECT_THROW(TNeedsArgument::StaticClass().NewInstance(), EInvalidOperation);

  const TShapeClass* Shapes[] = {&TShape::StaticClass(), &TTriangle::StaticClass()};
  EXPECT_EQ(Shapes[0]->Corners(), 0);
  EXPECT_EQ(Shapes[1]->Corners(), 3);
}

TEST(ObjectTest, ClassRegistry) {
  EXPECT_EQ(GetClass("TTriangle"), nullptr);
  RegisterClass(&TTriangle::StaticClass());
  RegisterClass(&TTriangle::StaticClass());  // a second registration is harmless
  EXPECT_EQ(GetClass("ttriangle"), &TTriangle::StaticClass());
  EXPECT_EQ(FindClass("TTriangle"), &TTriangle::StaticClass());
  UnRegisterClass(&TTriangle::StaticClass());
  try {
    FindClass("TTriangle");
    FAIL() << "FindClass of an unregistered class must raise";
  } catch (const EClassNotFound& E) {
    EXPECT_EQ(E.Message(), "Class TTriangle not found");
  }
}

class TPoint : public TPersistent {
  TCLASS_DECL(TPoint, TPersistent)
 public:
  int X = 0;
  void Assign(TPersistent* Source) override {
    if (auto* P = ObjectAs<TPoint>(Source)) {
      X = P->X;
      return;
    }
    inherited::Assign(Source);
  }
};
TCLASS_IMPL(TPoint)

class TColorValue : public TPersistent {
  TCLASS_DECL(TColorValue, TPersistent)
};
TCLASS_IMPL(TColorValue)

TEST(PersistentTest, AssignCopiesOrRaisesWithBothClassNames) {
  TPoint* A = NewObject<TPoint>();
  TPoint* B = NewObject<TPoint>();
  TColorValue* C = NewObject<TColorValue>();
  B->X = 7;
  A->Assign(B);
  EXPECT_EQ(A->X, 7);
  try {
    A->Assign(C);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TColorValue to a TPoint");
  }
  try {
    A->Assign(nullptr);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a nil to a TPoint");
  }
  A->Free();
  B->Free();
  C->Free();
}

class TListener {
 public:
  int Calls = 0;
  TObject* LastSender = nullptr;
  void Changed(TObject* Sender) {
    ++Calls;
    LastSender = Sender;
  }
  void Allow(TObject*, bool& Allow) { Allow = false; }
};

TEST(EventTest, BoundMethodsAreCalledWithTheirObject) {
  TListener L1, L2;
  TNotifyEvent Event;
  EXPECT_FALSE(Event.Assigned());
  Event = TNotifyEvent::Bind<&TListener::Changed>(&L1);
  ASSERT_TRUE(Event.Assigned());
  TObject Sender;
  Event(&Sender);
  EXPECT_EQ(L1.Calls, 1);
  EXPECT_EQ(L1.LastSender, &Sender);
  EXPECT_EQ(L2.Calls, 0);

  // The same method on another object is another method pointer.
  EXPECT_NE(Event, TNotifyEvent::Bind<&TListener::Changed>(&L2));
  EXPECT_EQ(Event, TNotifyEvent::Bind<&TListener::Changed>(&L1));
  EXPECT_EQ(Event.Method().Data, &L1);

  TEvent<void(TObject*, bool&)> Query = TEvent<void(TObject*, bool&)>::Bind<&TListener::Allow>(&L1);
  bool Allowed = true;
  Query(nullptr, Allowed);
  EXPECT_FALSE(Allowed);

  Event = nullptr;
  EXPECT_FALSE(Event.Assigned());
}

// An interface of our own, and an object that hands it out from its constructor.
struct ICounter : IUnknown {
  virtual int STDMETHODCALLTYPE Value() = 0;
};
const GUID IID_ICounter = {0x3f1a2b10, 0x5c6d, 0x4e7f, {0x80, 0x91, 0xa2, 0xb3, 0xc4, 0xd5, 0xe6, 0xf7}};

int CountersAlive = 0;

class TCounter : public TInterfacedObject, public ICounter {
  TCLASS_DECL(TCounter, TInterfacedObject)
 public:
  TINTERFACED_IUNKNOWN
  TCounter() {
    ++CountersAlive;
    // Handing out and dropping a reference while being built must not free us.
    ICounter* Self = this;
    Self->AddRef();
    Self->Release();
  }
  ~TCounter() override { --CountersAlive; }
  int STDMETHODCALLTYPE Value() override { return 42; }
};
const TInterfaceEntry CounterInterfaces[] = {InterfaceEntry<TCounter, ICounter>(IID_ICounter), {}};
TCLASS_IMPL_TABLE(TCounter, CounterInterfaces)

TEST(InterfacedObjectTest, SelfReferenceDuringConstructionDoesNotFree) {
  CountersAlive = 0;
  TCounter* Obj = NewObject<TCounter>();
  EXPECT_EQ(CountersAlive, 1);
  EXPECT_EQ(Obj->RefCount(), 0);

  ICounter* Counter = nullptr;
  ASSERT_EQ(Obj->QueryInterface(IID_ICounter, reinterpret_cast<void**>(&Counter)), S_OK);
  EXPECT_EQ(Counter->Value(), 42);
  EXPECT_EQ(Obj->RefCount(), 1);

  IUnknown* Unknown = nullptr;
  ASSERT_EQ(Counter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&Unknown)), S_OK);
  EXPECT_EQ(Obj->RefCount(), 2);
  void* None = reinterpret_cast<void*>(1);
  EXPECT_EQ(Counter->QueryInterface(IID_IDispatch, &None), E_NOINTERFACE);
  EXPECT_EQ(None, nullptr);

  Unknown->Release();
  EXPECT_EQ(CountersAlive, 1);
  Counter->Release();
  EXPECT_EQ(CountersAlive, 0);
}

TEST(InterfacedObjectTest, FreeingAReferencedObjectIsRefused) {
  TCounter* Obj = NewObject<TCounter>();
  Obj->AddRef();
  EXPECT_THROW(Obj->Free(), EInvalidPointer);
  Obj->Release();
  EXPECT_EQ(CountersAlive, 0);
}

TEST(ExceptionTest, CreateFmtAndHresultCheck) {
  EListError E(SListIndexError, {5});
  EXPECT_EQ(E.Message(), "List index out of bounds (5)");
  EXPECT_TRUE(E.Is<Exception>());
  EXPECT_EQ(E.ClassName(), "EListError");

  EXPECT_NO_THROW(OleCheck(S_OK));
  EXPECT_NO_THROW(OleCheck(S_FALSE));
  try {
    OleCheck(E_OUTOFMEMORY);
    FAIL();
  } catch (const EOleSysError& Error) {
    EXPECT_EQ(Error.ErrorCode(), E_OUTOFMEMORY);
    EXPECT_FALSE(Error.Message().empty());
  }
  EXPECT_THROW(Abort(), EAbort);
}

}  // namespace
