#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"
#include "classlib/Lists.h"
#include "classlib/Objects.h"
#include "classlib/StringLists.h"
#include "tests/classlib/UiTestSupport.h"

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

TEST(ObjectTest, ClassesLifetimePhasesAndVirtualConstructors) {
  Log.clear();
  TObject* Obj = NewObject<TDerived>();
  EXPECT_EQ(Obj->ClassName(), "TDerived");
  EXPECT_TRUE(Obj->InheritsFrom(&TBase::StaticClass()));
  EXPECT_EQ(ObjectAs<TTriangle>(Obj), nullptr);
  Obj->Free();
  EXPECT_EQ(Log, (std::vector<std::string>{"after:derived", "before:derived"}));

  Obj = TDerived::StaticClass().NewInstance();
  EXPECT_EQ(Obj->ClassType(), &TDerived::StaticClass());
  FreeAndNil(Obj);
  EXPECT_EQ(Obj, nullptr);
  EXPECT_THROW(TNeedsArgument::StaticClass().NewInstance(), EInvalidOperation);
  const TShapeClass* Triangle = &TTriangle::StaticClass();
  EXPECT_EQ(Triangle->Corners(), 3);
}

TEST(ObjectTest, ClassRegistry) {
  EXPECT_EQ(GetClass("TTriangle"), nullptr);
  RegisterClass(&TTriangle::StaticClass());
  RegisterClass(&TTriangle::StaticClass());  // a second registration is harmless
  EXPECT_EQ(GetClass("ttriangle"), &TTriangle::StaticClass());
  UnRegisterClass(&TTriangle::StaticClass());
  ExpectRaises<EClassNotFound>([&] { FindClass("TTriangle"); }, "Class TTriangle not found");
}

// A pen takes only a pen; anything else reaches the persistent base.
TEST(PersistentTest, AssignRaisesWithBothClassNames) {
  TOwned<TPen> Pen(NewObject<TPen>());
  TOwned<TBrush> Brush(NewObject<TBrush>());
  ExpectRaises<EConvertError>([&] { Pen->Assign(Brush.get()); }, "Cannot assign a TBrush to a TPen");
  ExpectRaises<EConvertError>([&] { Pen->Assign(nullptr); }, "Cannot assign a nil to a TPen");
}

struct TListener {
  TObject* LastSender = nullptr;
  void Changed(TObject* Sender) { LastSender = Sender; }
  void Allow(TObject*, bool& Allow) { Allow = false; }
};

TEST(EventTest, BoundMethodsAreCalledWithTheirObject) {
  TListener L1, L2;
  TNotifyEvent Event = TNotifyEvent::Bind<&TListener::Changed>(&L1);
  TObject Sender;
  Event(&Sender);
  EXPECT_EQ(L1.LastSender, &Sender);
  EXPECT_EQ(L2.LastSender, nullptr);
  EXPECT_NE(Event, TNotifyEvent::Bind<&TListener::Changed>(&L2));
  auto Query = TEvent<void(TObject*, bool&)>::Bind<&TListener::Allow>(&L1);
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

TEST(InterfacedObjectTest, SelfReferenceDuringConstructionDoesNotFreeAndReferencesKeepItAlive) {
  CountersAlive = 0;
  TCounter* Obj = NewObject<TCounter>();
  EXPECT_EQ(Obj->RefCount(), 0);
  ICounter* Counter = nullptr;
  ASSERT_EQ(Obj->QueryInterface(IID_ICounter, reinterpret_cast<void**>(&Counter)), S_OK);
  EXPECT_EQ(Counter->Value(), 42);
  EXPECT_EQ(Obj->RefCount(), 1);
  EXPECT_THROW(Obj->Free(), EInvalidPointer);  // freeing a referenced object is refused
  void* None = reinterpret_cast<void*>(1);
  EXPECT_EQ(Counter->QueryInterface(IID_IDispatch, &None), E_NOINTERFACE);
  EXPECT_EQ(None, nullptr);
  Counter->Release();
  EXPECT_EQ(CountersAlive, 0);
}

// An object whose freeing fails: its BeforeDestruction raises after the inherited
// step. It is interfaced, so that its last Release frees it too.
int FailingAlive = 0;

class TFailsToFree : public TInterfacedObject {
  TCLASS_DECL(TFailsToFree, TInterfacedObject)
 public:
  TFailsToFree() { ++FailingAlive; }
  ~TFailsToFree() override { --FailingAlive; }
  void BeforeDestruction() override {
    inherited::BeforeDestruction();
    throw EInvalidOperation("cannot end");
  }
};
TCLASS_IMPL(TFailsToFree)


// Sees what the exception display shows, instead of a message box.
class FreeingTest : public ::testing::Test {
 protected:
  void SetUp() override { FailingAlive = 0; }
  uitest::TShownExceptions Display;
  const std::vector<std::string>& Shown = uitest::ShownMessages;
};

TEST_F(FreeingTest, AScopeThatFailsToFreeItsObjectShowsTheErrorOnceAndStillFreesIt) {
  { TOwned<TFailsToFree> Owned(NewObject<TFailsToFree>()); }
  EXPECT_EQ(FailingAlive, 0);
  EXPECT_EQ(Shown, std::vector<std::string>{"cannot end"});

  // Left by an exception: the scope's own error goes on, the freeing's is shown.
  ExpectRaises<EConvertError>(
      [] {
        TOwned<TFailsToFree> Owned(NewObject<TFailsToFree>());
        throw EConvertError("bad value");
      },
      "bad value");
  EXPECT_EQ(FailingAlive, 0);
  EXPECT_EQ(Shown.size(), 2u);
}

TEST_F(FreeingTest, FreeAndNilAndTheLastReleaseNeverRaise) {
  TFailsToFree* Obj = NewObject<TFailsToFree>();
  EXPECT_NO_THROW(FreeAndNil(Obj));
  EXPECT_EQ(Obj, nullptr);
  EXPECT_EQ(FailingAlive, 0);

  IUnknown* Intf = NewObject<TFailsToFree>();
  Intf->AddRef();
  EXPECT_EQ(Intf->Release(), 0u);
  EXPECT_EQ(FailingAlive, 0);
  EXPECT_EQ(Shown, (std::vector<std::string>{"cannot end", "cannot end"}));
}

TEST_F(FreeingTest, AnOwnerFreesEveryObjectEvenWhenOneFailsToGo) {
  TObjectList* List = NewObject<TObjectList>();
  List->Add(NewObject<TFailsToFree>());
  List->Add(NewObject<TFailsToFree>());
  List->Add(NewObject<TFailsToFree>());
  List->Delete(0);  // what the list loses goes, and the list stays whole
  EXPECT_EQ(List->Count(), 2);
  EXPECT_EQ(FailingAlive, 2);
  List->Free();
  EXPECT_EQ(FailingAlive, 0);
  EXPECT_EQ(Shown.size(), 3u);

  TStringList* Strings = NewObject<TStringList>();
  Strings->SetOwnsObjects(true);
  Strings->AddObject("a", NewObject<TFailsToFree>());
  FreeAndNil(Strings);
  EXPECT_EQ(FailingAlive, 0);
  EXPECT_EQ(Shown.size(), 4u);
}

TEST_F(FreeingTest, HandlingOutsideACatchBlockDoesNothing) {
  EXPECT_NO_THROW(HandleWindowException(nullptr));
  EXPECT_NO_THROW(ShowCurrentException());
  EXPECT_TRUE(Shown.empty());
}

// A runner that knows only standard exceptions (GoogleTest, when one escapes a test)
// names the thrown class and the message as it is by then.
TEST(ExceptionTest, AStandardHandlerSeesTheClassNameAndTheMessage) {
  EOSError Error("no window");
  Error.SetMessage("the window could not be made");
  try {
    throw Error;
  } catch (const std::exception& E) {
    EXPECT_STREQ(E.what(), "EOSError: the window could not be made");
    EXPECT_NE(dynamic_cast<const EOSError*>(&E), nullptr);
  }
  // The object starts with its TObject.
  const TObject* AsObject = &Error;
  EXPECT_EQ(static_cast<const void*>(AsObject), static_cast<const void*>(&Error));
}

TEST(ExceptionTest, CreateFmtAndHresultCheck) {
  EListError E(SListIndexError, {5});
  EXPECT_EQ(E.Message(), "List index out of bounds (5)");
  EXPECT_NO_THROW(OleCheck(S_FALSE));
  try {
    OleCheck(E_OUTOFMEMORY);
    FAIL();
  } catch (const EOleSysError& Error) {
    EXPECT_EQ(Error.ErrorCode(), E_OUTOFMEMORY);
  }
}

}  // namespace
