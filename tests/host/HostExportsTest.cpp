// The functions the host executable exports, found the way the module finds them.
#include "tests/host/HostTestSupport.h"

namespace {

template <class Function>
Function ExeExport(const char* Name) {
  return HostProcAddress<Function>(GetModuleHandleA(nullptr), Name);
}

TEST(HostExportsTest, ClientInterfaceIsTheCurrentHostsOrNull) {
  auto GetClientInterface =
      ExeExport<TClientAPI_GetClientInterface>("ClientAPI_GetClientInterface");
  ASSERT_NE(GetClientInterface, nullptr);

  IClient* Client = reinterpret_cast<IClient*>(1);
  GetClientInterface(&Client);
  EXPECT_EQ(Client, nullptr);

  THost* Host = CreateHost();
  ASSERT_NE(Host, nullptr);
  EXPECT_EQ(GetCurrentHost(), Host);
  GetClientInterface(&Client);
  EXPECT_EQ(Client, Host->Client());
  // The reference handed out is counted: the host's own survives its release.
  if (Client) Client->Release();
  EXPECT_TRUE(IsWindow(Host->Client()->GetMainWindowHandle()));
  DestroyHost(Host);

  GetClientInterface(&Client);
  EXPECT_EQ(Client, nullptr);
  EXPECT_EQ(GetCurrentHost(), nullptr);
}

TEST(HostExportsTest, ExistSpecificSeesFilesAndFolders) {
  auto ExistSpecific = ExeExport<TClientAPI_ExistSpecific>("ClientAPI_ExistSpecific");
  ASSERT_NE(ExistSpecific, nullptr);
  std::string Root = TestHostRoot();
  EXPECT_TRUE(ExistSpecific((Root + "Halvorn.dll").c_str()));
  EXPECT_TRUE(ExistSpecific((Root + "System").c_str()));
  EXPECT_FALSE(ExistSpecific((Root + "NoSuchFile.txt").c_str()));
  EXPECT_FALSE(ExistSpecific(nullptr));
  // Only undecorated names are exported.
  EXPECT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "ClientAPI_GetClientInterface@4"), nullptr);
}

}  // namespace
