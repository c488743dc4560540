// Components and what every part of the user interface shares: shift states and
// input events, the component with its ownership, names and notifications, message
// dispatch, and the hidden utility windows and window procedure thunks behind timers
// and hooks.
#pragma once

#include <windows.h>

#include <type_traits>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Messages.h"
#include "classlib/Objects.h"

// Keys and mouse buttons held during an input event; ssDouble marks a double click.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Setting Key to 0 consumes the key.
using TKeyEvent = TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)>;
// Setting Key to '\0' consumes the character.
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;

// Handles one message of a window or object; it sets Message.Result.
using TWndMethod = TEvent<void(TMessage& Message)>;

class TBasicAction;
class TComponent;
class TReader;

enum TOperation { opInsert, opRemove };

// The metaclass of components: the virtual constructor with an owner, through which
// the form reader makes the components it reads by class name.
class TComponentMetaClass : public TMetaClass {
 public:
  using TMetaClass::TMetaClass;
  // A new component of this class owned by AOwner (NewObject, so AfterConstruction
  // runs); raises EInvalidOperation for a class that cannot be made with an owner
  // alone.
  virtual TComponent* Create(TComponent* AOwner) const;

  template <class T, class Base>
  struct Impl : TMetaClass::Impl<T, Base> {
    using TMetaClass::Impl<T, Base>::Impl;
    TComponent* Create(TComponent* AOwner) const override {
      if constexpr (std::is_constructible_v<T, TComponent*> && !std::is_abstract_v<T>)
        return NewObject<T>(AOwner);
      else
        return Base::Create(AOwner);
    }
  };
};
using TComponentClass = const TComponentMetaClass*;
// The component class of a class reference, or nullptr for a class that is not one.
TComponentClass AsComponentClass(TClass AClass);

// csDesigning is part of the set for the components that ask, but this library never
// sets it: there is no designer.
enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

using TGetChildProc = TEvent<void(TComponent* Child)>;

inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SInvalidName = "''%s'' is not a valid component name";

TCLASS_EXCEPTION(EComponentError, Exception)

// A component: a persistent object with an owner, a name unique among the owner's
// components, a tag, and notifications.
//
// Ownership: the owner frees the components it owns when it is freed, last added
// first. Notification: the owner and all its owned components (recursively) hear of
// every component inserted into or removed from the owner; FreeNotification links two
// components of different owners so that each hears when the other is freed.
//
// Messages: Dispatch sends a message to the handler for its id, or to
// DefaultHandler. A descendant that handles messages overrides Dispatch with a switch
// on the id and calls inherited::Dispatch for the ids it leaves alone; a handler that
// wants the inherited handling calls inherited::Dispatch for its own id.
class TComponent : public TPersistent {
 public:
  using MetaType = TComponentMetaClass;
  TCLASS_DECL(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  ~TComponent() override;

  // Tells the owner (and its components) of the new component.
  void AfterConstruction() override;
  // Sets csDestroying, notifies the components linked by FreeNotification, frees the
  // owned components, and leaves the owner. An override does its own work first and
  // calls this last; it calls Destroying() first, so that what it calls sees the
  // component as being destroyed.
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  // This component's index in its owner's list (-1 without an owner).
  int ComponentIndex() const;
  void SetComponentIndex(int Value);
  // The owned component of that name (any case), or nullptr.
  TComponent* FindComponent(const AnsiString& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, last first.
  void DestroyComponents();
  // Marks the component and its owned components as being destroyed.
  void Destroying();

  const AnsiString& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier, or that another
  // component of the owner already has.
  virtual void SetName(const AnsiString& NewName);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  // For the form reader and for tests: turns one state flag on or off.
  void SetComponentStateFlag(TComponentStateItem Flag, bool On);

  // Links this component and AComponent both ways, unless they share an owner (the
  // owner's notification reaches them then).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Called after the whole tree of a form file is read: clears csLoading. The reader
  // calls it only while csLoading is still set.
  virtual void Loaded();
  // Reads the component's part of a form file: takes the reader's parent
  // (SetParentComponent) and then its properties and child components
  // (Reader->ReadData). Controls override it to hold back showing meanwhile.
  virtual void ReadState(TReader* Reader);

  // Parent-child structure used by streaming (controls override these).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* /*Value*/) {}
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root);

  // Message dispatch by id (see the class comment).
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& /*Message*/) {}

  // An action looking for its target: when Action handles this component, it executes
  // (or updates) itself on it, and the answer is true. Defined with the actions
  // (ActnList.cpp).
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                              const AnsiString& NewName);
  virtual void ValidateInsert(TComponent* /*AComponent*/) {}
  virtual void ValidateRemove(TComponent* /*AComponent*/) {}
  virtual void ValidateContainer(TComponent* AComponent);
  // Stores the new name (no checks); controls also follow it with their caption.
  virtual void ChangeName(const AnsiString& NewName);
  TPersistent* GetOwner() override { return FOwner; }

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  AnsiString FName;
  int FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

// ---------------------------------------------------------------------------------
// Collections: lists of items of one class that a form file stores as items.

class TCollection;
class TCollectionItem;

// The metaclass of collection items: the virtual constructor with the collection.
class TCollectionItemMetaClass : public TMetaClass {
 public:
  using TMetaClass::TMetaClass;
  virtual TCollectionItem* Create(TCollection* ACollection) const;

  template <class T, class Base>
  struct Impl : TMetaClass::Impl<T, Base> {
    using TMetaClass::Impl<T, Base>::Impl;
    TCollectionItem* Create(TCollection* ACollection) const override {
      if constexpr (std::is_constructible_v<T, TCollection*> && !std::is_abstract_v<T>)
        return NewObject<T>(ACollection);
      else
        return Base::Create(ACollection);
    }
  };
};
using TCollectionItemClass = const TCollectionItemMetaClass*;

// An item joins its collection when it is made and leaves it when it is freed. Its ID
// is unique in the collection and never reused; its Index is its place. A new item is
// in its collection during its constructors, but the collection hears of it (Notify,
// Update) only after them, in AfterConstruction, when the item's own fields exist.
class TCollectionItem : public TPersistent {
 public:
  using MetaType = TCollectionItemMetaClass;
  TCLASS_DECL(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* ACollection);
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  ~TCollectionItem() override;
  void AfterConstruction() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, with nullptr).
  void SetCollection(TCollection* Value);
  int ID() const { return FID; }
  int Index() const;
  virtual void SetIndex(int Value);
  // The class name unless a descendant has a better one.
  virtual AnsiString DisplayName() const { return ClassName(); }

 protected:
  // Tells the collection: Update(this), or Update(nullptr) for a change of all items.
  void Changed(bool AllItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
  bool FAnnounced = false;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  TCLASS_DECL(TCollection, TPersistent)
 public:
  explicit TCollection(TCollectionItemClass AItemClass);
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  ~TCollection() override;

  TCollectionItemClass ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError for an index out of range.
  TCollectionItem* Items(int Index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;

  // Update runs once, for all items, when the outermost EndUpdate is reached.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies the items of another collection (new items of this one's class, each
  // assigned from the source's).
  void Assign(TPersistent* Source) override;

 protected:
  // An item changed (nullptr: the collection as a whole).
  virtual void Update(TCollectionItem* /*Item*/) {}
  virtual void Notify(TCollectionItem* /*Item*/, TCollectionNotification /*Action*/) {}
  // Update(nullptr) unless updating.
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  // The two halves of InsertItem: the item takes its place, then it is announced.
  void AttachItem(TCollectionItem* Item);
  void AnnounceItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

// A collection that names its owner (for GetOwner and form files).
class TOwnedCollection : public TCollection {
  TCLASS_DECL(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass AItemClass)
      : TCollection(AItemClass), FOwner(AOwner) {}

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------------

// True for a name that starts with a letter or "_" and goes on with letters, digits
// and "_".
bool IsValidIdent(const AnsiString& Ident);

// A hidden top-level utility window (never shown, not message-only: top-level windows
// receive the broadcasts that message-only windows miss). Every message goes to
// Method, which must call DefWindowProc itself for the messages it leaves alone;
// exceptions are handed to ApplicationHandleException.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// A window procedure bound to a method: a small executable thunk that calls Method
// with the message (without the window handle). Free it with FreeObjectInstance once
// no window uses it. Exceptions are handed to ApplicationHandleException.
WNDPROC MakeObjectInstance(TWndMethod Method);
void FreeObjectInstance(WNDPROC Instance);

// The Classes unit's start and end (registered in the module's unit table).
void InitClasses();
void DoneClasses();
