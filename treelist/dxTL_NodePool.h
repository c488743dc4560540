// Memory for the tree list's nodes and their cell texts. A tree of many nodes makes
// and frees a few small blocks per node; here they are slots of fixed sizes (up to 128
// bytes, in steps of 8) carved from 64 KB blocks, which the system hands out aligned
// to 64 KB, so that a slot finds its block by its address. A freed slot is used again
// first; a block whose slots are all free goes back to the system, but for a few that
// are kept for the next nodes. Larger sizes come from the memory manager.
#pragma once

#include <cstddef>
#include <new>

void* AllocateNodeMemory(std::size_t Size);
// P from AllocateNodeMemory with the same Size; nothing for nullptr.
void FreeNodeMemory(void* P, std::size_t Size) noexcept;

// What the pool holds now: blocks taken from the system (the kept empty ones too),
// and the slots in use.
struct TNodeMemoryUse {
  int Blocks;
  int Slots;
};
TNodeMemoryUse NodeMemoryUse();

// The unit's end: the empty blocks kept go back to the system.
void DonedxTLNodePool();

// The pool as a standard allocator, for the containers a node keeps.
template <class T>
struct TNodeAllocator {
  using value_type = T;
  TNodeAllocator() = default;
  template <class U>
  TNodeAllocator(const TNodeAllocator<U>&) noexcept {}

  T* allocate(std::size_t Count) {
    if (Count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateNodeMemory(Count * sizeof(T)));
  }
  void deallocate(T* P, std::size_t Count) noexcept { FreeNodeMemory(P, Count * sizeof(T)); }

  template <class U>
  bool operator==(const TNodeAllocator<U>&) const noexcept {
    return true;
  }
};
