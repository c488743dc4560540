// Shared by the two test hosts: loads the module named on the command line, asks its
// GetGlobalBuffer twice and prints "key=value" lines for the test to read.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "skin/KsForms.h"

inline void PrintRecord(const char* Prefix, const TGlobalBufferInfo& Info) {
  std::printf("%s.handle=%08lx\n", Prefix, static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(Info.Handle)));
  std::printf("%s.dc=%08lx\n", Prefix, static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(Info.DC)));
  std::printf("%s.bits=%08lx\n", Prefix, static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(Info.Bits)));
  std::printf("%s.width=%d\n", Prefix, static_cast<int>(Info.Width));
  std::printf("%s.height=%d\n", Prefix, static_cast<int>(Info.Height));
  std::printf("%s.bitcount=%d\n", Prefix, static_cast<int>(Info.BitmapInfo.bmiHeader.biBitCount));
}

// Loads the module, reports its records and unloads it; the process's exit code.
inline int ReportModuleBuffer(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage=HOST MODULE\n");
    return 2;
  }
  HMODULE Module = LoadLibraryA(argv[1]);
  if (!Module) {
    std::printf("load=failed %lu\n", GetLastError());
    return 1;
  }
  const auto Get = reinterpret_cast<TGetGlobalBufferProc>(
      reinterpret_cast<void*>(GetProcAddress(Module, "GetGlobalBuffer")));
  if (!Get) {
    std::printf("export=missing\n");
    return 1;
  }
  TGlobalBufferInfo First, Second;
  std::memset(&First, 0xCC, sizeof(First));
  std::memset(&Second, 0x33, sizeof(Second));
  Get(&First);
  Get(&Second);
  PrintRecord("module", First);
  std::printf("twice=%s\n", std::memcmp(&First, &Second, sizeof(First)) == 0 ? "same" : "different");
  std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  std::printf("unload=%s\n", FreeLibrary(Module) ? "ok" : "failed");
  return 0;
}
