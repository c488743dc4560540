#include "classlib/Memory.h"

#include <windows.h>

#include <new>

#include "classlib/Exceptions.h"

namespace {

// The default manager: the process heap. Constant-initialized, so it serves the
// allocations made before any unit has started.
void* HeapGetMem(int Size) { return HeapAlloc(GetProcessHeap(), 0, Size > 0 ? Size : 1); }
int HeapFreeMem(void* P) { return HeapFree(GetProcessHeap(), 0, P) ? 0 : 1; }
void* HeapReallocMem(void* P, int Size) {
  return HeapReAlloc(GetProcessHeap(), 0, P, Size > 0 ? Size : 1);
}

constexpr TMemoryManager DefaultManager = {HeapGetMem, HeapFreeMem, HeapReallocMem};
TMemoryManager CurrentManager = DefaultManager;

void* AllocateOrNull(std::size_t Size) noexcept {
  if (Size > 0x7FFFFFF0u) return nullptr;
  return CurrentManager.GetMem(static_cast<int>(Size));
}

void* AllocateOrThrow(std::size_t Size) {
  void* P = AllocateOrNull(Size);
  if (!P) throw std::bad_alloc();
  return P;
}

void Release(void* P) noexcept {
  if (P) CurrentManager.FreeMem(P);
}

}  // namespace

void GetMemoryManager(TMemoryManager& MemMgr) { MemMgr = CurrentManager; }
void SetMemoryManager(const TMemoryManager& MemMgr) { CurrentManager = MemMgr; }
void GetDefaultMemoryManager(TMemoryManager& MemMgr) { MemMgr = DefaultManager; }

void* GetMem(int Size) {
  if (Size <= 0) return nullptr;
  void* P = CurrentManager.GetMem(Size);
  if (!P) throw EOutOfMemory(SOutOfMemory);
  return P;
}

void FreeMem(void* P) {
  if (P && CurrentManager.FreeMem(P) != 0) throw EInvalidPointer("Invalid pointer operation");
}

void ReallocMem(void*& P, int Size) {
  if (!P) {
    P = GetMem(Size);
  } else if (Size <= 0) {
    FreeMem(P);
    P = nullptr;
  } else {
    void* Q = CurrentManager.ReallocMem(P, Size);
    if (!Q) throw EOutOfMemory(SOutOfMemory);
    P = Q;
  }
}

// Every C++ allocation of the binary goes through the manager table.
void* operator new(std::size_t Size) { return AllocateOrThrow(Size); }
void* operator new[](std::size_t Size) { return AllocateOrThrow(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept { return AllocateOrNull(Size); }
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept { return AllocateOrNull(Size); }
void operator delete(void* P) noexcept { Release(P); }
void operator delete[](void* P) noexcept { Release(P); }
void operator delete(void* P, std::size_t) noexcept { Release(P); }
void operator delete[](void* P, std::size_t) noexcept { Release(P); }
void operator delete(void* P, const std::nothrow_t&) noexcept { Release(P); }
void operator delete[](void* P, const std::nothrow_t&) noexcept { Release(P); }
