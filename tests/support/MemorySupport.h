// A memory manager that gives no block larger than a limit while it lives, as a
// process with little address space left would: what a damaged file or an absurd
// number asks for fails at once and the same way on every machine, instead of taking
// hundreds of megabytes or succeeding where memory happens to be free.
#pragma once

#include "classlib/Memory.h"

class TBlockLimit {
 public:
  explicit TBlockLimit(int Limit) {
    GetMemoryManager(Previous);
    Largest = Limit;
    SetMemoryManager({LimitedGetMem, Previous.FreeMem, LimitedReallocMem});
  }
  ~TBlockLimit() { SetMemoryManager(Previous); }
  TBlockLimit(const TBlockLimit&) = delete;
  TBlockLimit& operator=(const TBlockLimit&) = delete;

 private:
  static void* LimitedGetMem(int Size) {
    return Size > Largest ? nullptr : Previous.GetMem(Size);
  }
  static void* LimitedReallocMem(void* P, int Size) {
    return Size > Largest ? nullptr : Previous.ReallocMem(P, Size);
  }

  inline static TMemoryManager Previous{};
  inline static int Largest = 0;
};
