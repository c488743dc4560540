// The built module, loaded the way the host loads it.
#include <gtest/gtest.h>

#include "classlib/FileUtils.h"
#include "framework/RT_ClientServerInterface.h"
#include "host/HostCore.h"

namespace {

TEST(FactoryTest, TheModulesFactoryIsFoundByNameAndItsModuleReleasesCleanly) {
  THost* Host = CreateHost();
  ASSERT_NE(Host, nullptr) << "no host (its main window could not be made)";
  AnsiString Path = ExtractFilePath(GetModuleFileNameStr(nullptr)) + "..\\host-root\\Tarvik.dll";
  HMODULE Library = LoadLibraryA(Path.c_str());
  ASSERT_NE(Library, nullptr) << Path;
  auto Factory = reinterpret_cast<TServerFactory>(
      reinterpret_cast<void*>(GetProcAddress(Library, "ServerFactory")));
  ASSERT_NE(Factory, nullptr);

  IServerModule* Module = nullptr;
  Factory(&Module, Host->Client());
  ASSERT_NE(Module, nullptr);
  EXPECT_STREQ(Module->GetModuleName(), "Tarvik");
  EXPECT_EQ(Module->GetInstanceHandle(), Library);
  EXPECT_EQ(Module->Release(), 0u);
  EXPECT_TRUE(FreeLibrary(Library));
  EXPECT_EQ(GetModuleHandleA("Tarvik.dll"), nullptr);
  DestroyHost(Host);
}

}  // namespace
