// The memory manager table. Every allocation of the module, operator new and delete
// included, goes through the table's three functions, so a hook can wrap them all.
#pragma once

#include <cstddef>

struct TMemoryManager {
  void* (*GetMem)(int Size);
  int (*FreeMem)(void* P);  // 0 on success
  void* (*ReallocMem)(void* P, int Size);
};

void GetMemoryManager(TMemoryManager& MemMgr);
void SetMemoryManager(const TMemoryManager& MemMgr);
// The run-time library's own manager (the process heap), whatever is installed: where
// a hook sends an operation that the manager it wraps leaves empty.
void GetDefaultMemoryManager(TMemoryManager& MemMgr);

// Allocates Size bytes; raises EOutOfMemory when the manager has none left.
void* GetMem(int Size);
// Releases P (nothing for nullptr); raises EInvalidPointer when the manager refuses.
void FreeMem(void* P);
// Resizes the block P points to, updating P; Size 0 frees it, a null P allocates.
void ReallocMem(void*& P, int Size);
