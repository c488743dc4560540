// The memory manager table. Every allocation of the module, operator new and delete
// included, goes through the table's three functions, so a hook can wrap them all.
#pragma once

#include <cstddef>
#include <new>
#include <stdexcept>

#include "classlib/Exceptions.h"

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

// Runs Grow, which sizes a standard container or string to a number a program gave or
// a file held, and returns what it returns. A size the memory manager cannot give, or
// one no container can have, raises EOutOfMemory "Out of memory", the class library's
// own error, in place of the standard library's.
template <class TGrow>
decltype(auto) GrowOrRaise(TGrow&& Grow) {
  try {
    return Grow();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SOutOfMemory);
  } catch (const std::length_error&) {
    throw EOutOfMemory(SOutOfMemory);
  }
}
