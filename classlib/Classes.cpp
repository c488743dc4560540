#include "classlib/Classes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "classlib/Classes_Streaming.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"

TCLASS_IMPL(EComponentError)
TCLASS_IMPL(TComponent)

TComponent* TComponentMetaClass::Create(TComponent* /*AOwner*/) const {
  throw EInvalidOperation("Cannot create an instance of %s with an owner", {ClassName()});
}

TComponentClass AsComponentClass(TClass AClass) {
  return dynamic_cast<TComponentClass>(AClass);
}

// ---------------------------------------------------------------------------------
// TComponent

// The component joins its owner's list at once; the owner and its components hear
// of it in AfterConstruction, when the whole object exists.
TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->Insert(this);
}

void TComponent::AfterConstruction() {
  inherited::AfterConstruction();
  if (FOwner) FOwner->Notification(this, opInsert);
}

TComponent::~TComponent() {
  // Normally BeforeDestruction has done all of this; an object deleted without Free
  // still leaves its owner's list and its links.
  for (TComponent* C : FFreeNotifies) C->RemoveNotification(this);
  FFreeNotifies.clear();
  for (TComponent* C : FComponents) C->FOwner = nullptr;
  if (FOwner) FOwner->Remove(this);
}

void TComponent::BeforeDestruction() {
  Destroying();
  // Each linked component hears of the end; one may unlink others while it listens.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Other->RemoveNotification(this);
    Other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
  inherited::BeforeDestruction();
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(SListIndexError, {Index});
  return FComponents[Index];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& List = FOwner->FComponents;
  auto It = std::find(List.begin(), List.end(), this);
  return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  int Current = ComponentIndex();
  if (Current < 0) return;
  auto& List = FOwner->FComponents;
  Value = std::clamp(Value, 0, static_cast<int>(List.size()) - 1);
  if (Value == Current) return;
  List.erase(List.begin() + Current);
  List.insert(List.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  AComponent->ValidateContainer(this);
  ValidateRename(AComponent, "", AComponent->FName);
  Insert(AComponent);
  SetPublishedField(this, AComponent->FName, AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  ValidateRename(AComponent, AComponent->FName, "");
  Notification(AComponent, opRemove);
  SetPublishedField(this, AComponent->FName, nullptr);
  Remove(AComponent);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* Instance = FComponents.back();
    // Out of the list first: the component's own removal then finds nothing to do.
    SetPublishedField(this, Instance->FName, nullptr);
    Remove(Instance);
    // One that fails to go is reported and freed all the same; the others follow.
    FreeObjectSafely(Instance);
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::SetName(const AnsiString& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName)) throw EComponentError(SInvalidName, {NewName});
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  // The owner's published fields follow the name (as a form's field follows the
  // component it names).
  if (FOwner) SetPublishedField(FOwner, FName, nullptr);
  ChangeName(NewName);
  if (FOwner) SetPublishedField(FOwner, FName, this);
}

void TComponent::ChangeName(const AnsiString& NewName) { FName = NewName; }

void TComponent::SetComponentStateFlag(TComponentStateItem Flag, bool On) {
  if (On)
    FComponentState.Include(Flag);
  else
    FComponentState.Exclude(Flag);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (It != FFreeNotifies.end()) FFreeNotifies.erase(It);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::ReadState(TReader* Reader) {
  if (Reader->Parent()) SetParentComponent(Reader->Parent());
  Reader->ReadData(this);
}

void TComponent::GetChildren(TGetChildProc /*Proc*/, TComponent* /*Root*/) {}

void TComponent::Dispatch(TMessage& Message) { DefaultHandler(Message); }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // From the last owned component down; the list may shrink while they listen.
  int I = ComponentCount() - 1;
  while (I >= 0) {
    FComponents[I]->Notification(AComponent, Operation);
    --I;
    if (I >= ComponentCount()) I = ComponentCount() - 1;
  }
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName) {
  if ((!AComponent || !SameText(CurName, NewName)) && !NewName.empty()) {
    TComponent* Existing = FindComponent(NewName);
    if (Existing && Existing != AComponent) throw EComponentError(SDuplicateName, {NewName});
  }
}

void TComponent::ValidateContainer(TComponent* AComponent) { AComponent->ValidateInsert(this); }

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (It != FComponents.end()) FComponents.erase(It);
  AComponent->FOwner = nullptr;
}

bool IsValidIdent(const AnsiString& Ident) {
  auto IsAlpha = [](char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; };
  if (Ident.empty() || !IsAlpha(Ident[0])) return false;
  for (char C : Ident)
    if (!IsAlpha(C) && !(C >= '0' && C <= '9')) return false;
  return true;
}

// ---------------------------------------------------------------------------------
// Exceptions at Windows boundaries

// ---------------------------------------------------------------------------------
// Utility windows

namespace {

const char* const UtilWindowClass = "TarvikUtilityWindow";

LRESULT CALLBACK UtilWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
  if (!Method || !Method->Assigned()) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage Message{Msg, WParam, LParam, 0};
  try {
    (*Method)(Message);
  } catch (...) {
    HandleWindowException(nullptr);
  }
  return Message.Result;
}

void RegisterUtilWindowClass() {
  WNDCLASSA Existing;
  if (GetClassInfoA(HInstance, UtilWindowClass, &Existing)) {
    if (Existing.lpfnWndProc == UtilWindowProc) return;
    UnregisterClassA(UtilWindowClass, HInstance);
  }
  WNDCLASSA Class{};
  Class.lpfnWndProc = UtilWindowProc;
  Class.hInstance = HInstance;
  Class.lpszClassName = UtilWindowClass;
  Win32Check(RegisterClassA(&Class) != 0);
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  RegisterUtilWindowClass();
  HWND Wnd = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, HInstance, nullptr);
  Win32Check(Wnd != nullptr);
  if (Method.Assigned())
    SetWindowLongPtrA(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(Method)));
  return Wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto* Method = reinterpret_cast<TWndMethod*>(SetWindowLongPtrA(Wnd, GWLP_USERDATA, 0));
  DestroyWindow(Wnd);
  delete Method;
}

// ---------------------------------------------------------------------------------
// Object instances: window procedures bound to methods.
//
// Each instance is a record in executable memory. Its code pops the return address,
// pushes the record's address as an extra first argument, pushes the return address
// back and jumps to InstanceWndProc, a stdcall function of five arguments; its
// return pops the four arguments of the caller and the extra one.

namespace {

#pragma pack(push, 1)
struct TInstanceCode {
  Byte PopEcx;    // 59        pop ecx
  Byte PushImm;   // 68 imm32  push record
  void* Record;
  Byte PushEcx;   // 51        push ecx
  Byte Jmp;       // E9 rel32  jmp InstanceWndProc
  std::int32_t Offset;
};
#pragma pack(pop)

struct TObjectInstance {
  TInstanceCode Code;
  TWndMethod Method;
  TObjectInstance* Next;  // in the free list
  bool InUse;             // handed out and not freed yet
};

constexpr std::size_t InstanceBlockSize = 4096;
std::vector<void*> InstanceBlocks;
TObjectInstance* FreeInstances = nullptr;

LRESULT __stdcall InstanceWndProc(TObjectInstance* Instance, HWND Wnd, UINT Msg, WPARAM WParam,
                                  LPARAM LParam) {
  if (!Instance->Method.Assigned()) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage Message{Msg, WParam, LParam, 0};
  try {
    Instance->Method(Message);
  } catch (...) {
    HandleWindowException(nullptr);
  }
  return Message.Result;
}

constexpr std::size_t InstancesPerBlock = InstanceBlockSize / sizeof(TObjectInstance);

TObjectInstance* BlockInstances(void* Block) { return static_cast<TObjectInstance*>(Block); }

// Puts the block's unused records on the free list.
void ListFreeInstances(void* Block) {
  TObjectInstance* First = BlockInstances(Block);
  for (std::size_t I = 0; I < InstancesPerBlock; ++I) {
    if (First[I].InUse) continue;
    First[I].Next = FreeInstances;
    FreeInstances = &First[I];
  }
}

bool BlockInUse(void* Block) {
  TObjectInstance* First = BlockInstances(Block);
  for (std::size_t I = 0; I < InstancesPerBlock; ++I)
    if (First[I].InUse) return true;
  return false;
}

void AddInstanceBlock() {
  // Fresh pages are zeroed: no record is in use.
  void* Block = VirtualAlloc(nullptr, InstanceBlockSize, MEM_COMMIT | MEM_RESERVE,
                             PAGE_EXECUTE_READWRITE);
  Win32Check(Block != nullptr);
  InstanceBlocks.push_back(Block);
  ListFreeInstances(Block);
}

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod Method) {
  if (!FreeInstances) AddInstanceBlock();
  TObjectInstance* Instance = FreeInstances;
  FreeInstances = Instance->Next;
  Instance->Next = nullptr;
  Instance->InUse = true;
  Instance->Method = Method;
  TInstanceCode& Code = Instance->Code;
  Code.PopEcx = 0x59;
  Code.PushImm = 0x68;
  Code.Record = Instance;
  Code.PushEcx = 0x51;
  Code.Jmp = 0xE9;
  auto Target = reinterpret_cast<std::intptr_t>(&InstanceWndProc);
  auto After = reinterpret_cast<std::intptr_t>(&Code) + static_cast<std::intptr_t>(sizeof(Code));
  Code.Offset = static_cast<std::int32_t>(Target - After);
  FlushInstructionCache(GetCurrentProcess(), &Code, sizeof(Code));
  return reinterpret_cast<WNDPROC>(reinterpret_cast<void*>(&Code));
}

void FreeObjectInstance(WNDPROC Instance) {
  if (!Instance) return;
  auto* Record = reinterpret_cast<TObjectInstance*>(reinterpret_cast<void*>(Instance));
  Record->Method = TWndMethod();
  Record->InUse = false;
  Record->Next = FreeInstances;
  FreeInstances = Record;
}

void InitClasses() {
  TPublish<TComponent> P;
  P.Prop("Tag", &TComponent::Tag, &TComponent::SetTag);
}

void DoneClasses() {
  UnRegisterPublished(&TComponent::StaticClass());
  // The units that subclass windows with instances have ended before this one. A
  // block with an instance still in use stays: a window may go on calling it (a
  // pass-through link of the kit's hooks under a procedure installed later).
  std::vector<void*> Kept;
  for (void* Block : InstanceBlocks) {
    if (BlockInUse(Block))
      Kept.push_back(Block);
    else
      VirtualFree(Block, 0, MEM_RELEASE);
  }
  InstanceBlocks = Kept;
  FreeInstances = nullptr;
  for (void* Block : InstanceBlocks) ListFreeInstances(Block);
  UnregisterClassA(UtilWindowClass, HInstance);
}
