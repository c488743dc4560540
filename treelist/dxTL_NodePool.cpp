// The node memory pool: per slot size a list of the blocks that have a free slot.
#include "treelist/dxTL_NodePool.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {

constexpr std::size_t BlockSize = 64 * 1024;  // the system's allocation granularity
constexpr std::size_t Step = 8;
constexpr std::size_t MaxSlot = 128;
constexpr std::size_t SizeCount = MaxSlot / Step;
constexpr int KeptEmpty = 4;

// The head of a block; its slots follow.
struct TBlock {
  TBlock* Prev;  // in the list of blocks with a free slot, while Open
  TBlock* Next;
  void* Freed;         // slots given back, linked through their first word
  std::size_t Carved;  // the offset of the first slot never handed out
  int Live;            // slots in use
  bool Open;
};
constexpr std::size_t FirstSlot = (sizeof(TBlock) + 15) & ~std::size_t{15};

// All constant-initialized: the pool serves from the first node on.
TBlock* OpenBlocks[SizeCount] = {};
TBlock* Kept[KeptEmpty] = {};
int KeptCount = 0;
int BlockCount = 0;
int SlotCount = 0;
// Taken for a few instructions at a time: a spin on one flag, which yields to the
// holder when another thread has it.
std::atomic_flag Lock = ATOMIC_FLAG_INIT;

class TPoolLock {
 public:
  TPoolLock() {
    while (Lock.test_and_set(std::memory_order_acquire)) SwitchToThread();
  }
  ~TPoolLock() { Lock.clear(std::memory_order_release); }
  TPoolLock(const TPoolLock&) = delete;
  TPoolLock& operator=(const TPoolLock&) = delete;
};

void Link(TBlock* Block, std::size_t Index) {
  Block->Prev = nullptr;
  Block->Next = OpenBlocks[Index];
  if (Block->Next) Block->Next->Prev = Block;
  OpenBlocks[Index] = Block;
  Block->Open = true;
}

void Unlink(TBlock* Block, std::size_t Index) {
  if (Block->Prev)
    Block->Prev->Next = Block->Next;
  else
    OpenBlocks[Index] = Block->Next;
  if (Block->Next) Block->Next->Prev = Block->Prev;
  Block->Prev = Block->Next = nullptr;
  Block->Open = false;
}

// A block for the slots of size Index, linked as open; nullptr when the system has none.
TBlock* NewBlock(std::size_t Index) {
  TBlock* Block;
  if (KeptCount > 0) {
    Block = Kept[--KeptCount];
  } else {
    Block = static_cast<TBlock*>(VirtualAlloc(nullptr, BlockSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!Block) return nullptr;
    ++BlockCount;
  }
  Block->Freed = nullptr;
  Block->Carved = FirstSlot;
  Block->Live = 0;
  Link(Block, Index);
  return Block;
}

}  // namespace

void* AllocateNodeMemory(std::size_t Size) {
  if (Size == 0) Size = 1;
  if (Size > MaxSlot) return ::operator new(Size);
  const std::size_t Index = (Size - 1) / Step;
  const std::size_t Slot = (Index + 1) * Step;
  TPoolLock Locked;
  TBlock* Block = OpenBlocks[Index];
  if (!Block && !(Block = NewBlock(Index))) throw std::bad_alloc();
  void* P;
  if (Block->Freed) {
    P = Block->Freed;
    Block->Freed = *static_cast<void**>(P);
  } else {
    P = reinterpret_cast<char*>(Block) + Block->Carved;
    Block->Carved += Slot;
  }
  ++Block->Live;
  ++SlotCount;
  if (!Block->Freed && Block->Carved + Slot > BlockSize) Unlink(Block, Index);
  return P;
}

void FreeNodeMemory(void* P, std::size_t Size) noexcept {
  if (!P) return;
  if (Size == 0) Size = 1;
  if (Size > MaxSlot) {
    ::operator delete(P);
    return;
  }
  const std::size_t Index = (Size - 1) / Step;
  auto* Block = reinterpret_cast<TBlock*>(reinterpret_cast<std::uintptr_t>(P) & ~(BlockSize - 1));
  TPoolLock Locked;
  *static_cast<void**>(P) = Block->Freed;
  Block->Freed = P;
  --SlotCount;
  if (--Block->Live > 0) {
    if (!Block->Open) Link(Block, Index);
    return;
  }
  if (Block->Open) Unlink(Block, Index);
  if (KeptCount < KeptEmpty) {
    Kept[KeptCount++] = Block;
  } else {
    VirtualFree(Block, 0, MEM_RELEASE);
    --BlockCount;
  }
}

TNodeMemoryUse NodeMemoryUse() {
  TPoolLock Locked;
  return {BlockCount, SlotCount};
}

void DonedxTLNodePool() {
  TPoolLock Locked;
  while (KeptCount > 0) {
    VirtualFree(Kept[--KeptCount], 0, MEM_RELEASE);
    --BlockCount;
  }
}
