// The services built on the host client: free document names, document kinds, the
// process launcher and the main window.
#include <gtest/gtest.h>

#include "classlib/StrUtils.h"
#include "framework/ClientProcs.h"
#include "host/HostCore.h"

namespace {

class ClientProcsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Host = CreateHost();
    ASSERT_NE(Host, nullptr) << "no host (its main window could not be made)";
    SetClient(Host->Client());
  }
  void TearDown() override {
    SetClient(nullptr);
    DestroyHost(Host);
  }

  THost* Host = nullptr;
};

TEST_F(ClientProcsTest, TheLoadTimeQueryFindsTheCurrentHost) {
  IClient* Client = nullptr;
  QueryClientInterface(&Client);
  EXPECT_EQ(Client, Host->Client());
  if (Client) Client->Release();
}

TEST_F(ClientProcsTest, TheFirstNumberNotOpenIsFree) {
  ASSERT_NE(Host->OpenDocument("PCB", "PCB1.PcbDoc"), nullptr);
  EXPECT_EQ(GetFreeDocumentName("PCB"), "PCB2.PcbDoc");
  for (const char* Name : {"PCB2.PcbDoc", "PCB3.PcbDoc", "PCB5.PcbDoc"})
    ASSERT_NE(Host->OpenDocument("PCB", Name), nullptr);
  EXPECT_EQ(GetFreeDocumentName("pcb"), "PCB4.PcbDoc");
  EXPECT_EQ(GetFreeDocumentName("NoSuchKind"), "");
}

TEST_F(ClientProcsTest, ProcessesRunThroughTheClientsLauncher) {
  EXPECT_TRUE(RunClientProcess("PCB:Zoom", "Action=Sheet", 12, nullptr));
  ASSERT_EQ(Host->Processes().size(), 1u);
  EXPECT_EQ(Host->Processes()[0].Parameters, "Action=Sheet");
  EXPECT_EQ(Host->Processes()[0].BufferLength, 12);
}

TEST_F(ClientProcsTest, TheMainWindowIsTheHostsUntilThereIsNoClient) {
  EXPECT_EQ(GetClientMainWindow(), Host->MainWindow());
  SetClient(nullptr);
  EXPECT_EQ(GetClientMainWindow(), nullptr);
  EXPECT_FALSE(RunClientProcess("PCB:Zoom", "", 0, nullptr));
  EXPECT_EQ(FindFreeDocumentNameFrom("PCB", "PcbDoc"), "");
}

// ---------------------------------------------------------------------------------
// A client that reports every name "Crowd<n>.<ext>" with n up to OpenUpTo as an open
// document, cheaply.

#define FAKE_UNKNOWN                                                                   \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Obj) override {              \
    *Obj = nullptr;                                                                    \
    return E_NOINTERFACE;                                                              \
  }                                                                                    \
  ULONG STDMETHODCALLTYPE AddRef() override { return ++RefCount; }                     \
  ULONG STDMETHODCALLTYPE Release() override { return --RefCount; }                    \
  ULONG RefCount = 0;

class TFakeDocument final : public IServerDocument {
 public:
  FAKE_UNKNOWN
  void STDMETHODCALLTYPE DoFileLoad() override {}
  int STDMETHODCALLTYPE GetCount() override { return 0; }
  const char* STDMETHODCALLTYPE GetFileName() override { return ""; }
  void STDMETHODCALLTYPE SetFileName(const char*) override {}
  void STDMETHODCALLTYPE GetView(int, IServerDocumentView** View) override { *View = nullptr; }
};

// Answers no interface query at all, so it has no process launcher either.
class TCrowdedClient final : public IClient {
 public:
  FAKE_UNKNOWN
  HWND STDMETHODCALLTYPE GetApplicationHandle() override { return nullptr; }
  void STDMETHODCALLTYPE GetDocumentByPath(const char* Path, IServerDocument** Document) override {
    ++Queries;
    *Document = nullptr;
    AnsiString Name = Path;
    if (Name.rfind("Crowd", 0) != 0) return;
    int Number = StrToIntDef(Name.substr(5, Name.find('.') - 5), 0);
    if (Number >= 1 && Number <= OpenUpTo) {
      Open.AddRef();
      *Document = &Open;
    }
  }
  HWND STDMETHODCALLTYPE GetMainWindowHandle() override { return nullptr; }
  void STDMETHODCALLTYPE GetHelpPanel(int, const char*, IHelpPanel**) override {}
  void STDMETHODCALLTYPE GetServerModuleByName(const char*, IServerModule**) override {}
  void STDMETHODCALLTYPE GetDocumentKindByName(const char*, IDocumentKind**) override {}
  BOOL STDMETHODCALLTYPE StartServer(const char*) override { return FALSE; }
  void STDMETHODCALLTYPE ShowDocument(IServerDocument*) override {}
  const char* STDMETHODCALLTYPE GetHelpModuleName(const char*) override { return nullptr; }

  int OpenUpTo = 0;
  int Queries = 0;
  TFakeDocument Open;
};

class FreeNameSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClient(&Client); }
  void TearDown() override { SetClient(nullptr); }

  TCrowdedClient Client;
};

TEST_F(FreeNameSearchTest, TheSearchGoesOnPastTheFirstThousandAndOneNames) {
  Client.OpenUpTo = 1500;
  EXPECT_EQ(FindFreeDocumentNameFrom("Crowd", "PcbDoc"), "Crowd1501.PcbDoc");
  EXPECT_EQ(Client.Open.RefCount, 0u);  // every document it was handed went back
  EXPECT_FALSE(RunClientProcess("PCB:Zoom", "", 0, nullptr)) << "the client has no launcher";
}

TEST_F(FreeNameSearchTest, WhenEveryNumberIsOpenThereIsNoFreeName) {
  Client.OpenUpTo = MaxFreeDocumentNumber;
  EXPECT_EQ(FindFreeDocumentNameFrom("Crowd", "PcbDoc"), "");
  EXPECT_EQ(Client.Queries, MaxFreeDocumentNumber);
}

}  // namespace
