// Shared helpers of the host core's tests: a fixture with a fresh host, and the paths
// of the install folder laid out by the build.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/HostCore.h"
#include "host/HostLoader.h"

// The install folder: build/host-root beside build/bin, where the test program runs.
inline std::string TestHostRoot() { return HostFolder() + "..\\host-root\\"; }

// Holds a counted interface reference and releases it at the end of the scope.
template <class Interface>
class TRef {
 public:
  TRef() = default;
  ~TRef() {
    if (FValue) FValue->Release();
  }
  TRef(const TRef&) = delete;
  TRef& operator=(const TRef&) = delete;
  Interface** Out() { return &FValue; }
  Interface* operator->() const { return FValue; }
  Interface* Get() const { return FValue; }

 private:
  Interface* FValue = nullptr;
};

template <class Interface>
HRESULT Query(IUnknown* Object, REFIID Id, TRef<Interface>& Result) {
  return Object->QueryInterface(Id, reinterpret_cast<void**>(Result.Out()));
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    THostOptions Options;
    Options.Folder = TestHostRoot();
    Host = CreateHost(Options);
    ASSERT_NE(Host, nullptr);
    Client = Host->Client();
  }
  void TearDown() override { DestroyHost(Host); }

  THost* Host = nullptr;
  IClient* Client = nullptr;
};
