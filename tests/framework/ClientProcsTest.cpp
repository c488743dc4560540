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

#define FAKE_RESERVED(n) \
  HRESULT STDMETHODCALLTYPE Reserved##n() override { return E_NOTIMPL; }
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
  FAKE_RESERVED(3) FAKE_RESERVED(4) FAKE_RESERVED(5) FAKE_RESERVED(6) FAKE_RESERVED(7)
  void STDMETHODCALLTYPE DoFileLoad() override {}
  FAKE_RESERVED(9) FAKE_RESERVED(10)
  int STDMETHODCALLTYPE GetCount() override { return 0; }
  const char* STDMETHODCALLTYPE GetFileName() override { return ""; }
  void STDMETHODCALLTYPE SetFileName(const char*) override {}
  FAKE_RESERVED(14) FAKE_RESERVED(15) FAKE_RESERVED(16) FAKE_RESERVED(17) FAKE_RESERVED(18)
  void STDMETHODCALLTYPE GetView(int, IServerDocumentView** View) override { *View = nullptr; }
};

// Answers no interface query at all, so it has no process launcher either.
class TCrowdedClient final : public IClient {
 public:
  FAKE_UNKNOWN
  FAKE_RESERVED(3) FAKE_RESERVED(4) FAKE_RESERVED(5) FAKE_RESERVED(6) FAKE_RESERVED(7)
  FAKE_RESERVED(8)
  HWND STDMETHODCALLTYPE GetApplicationHandle() override { return nullptr; }
  FAKE_RESERVED(10) FAKE_RESERVED(11) FAKE_RESERVED(12) FAKE_RESERVED(13)
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
  FAKE_RESERVED(16)
  void STDMETHODCALLTYPE GetHelpPanel(int, const char*, IHelpPanel**) override {}
  FAKE_RESERVED(18)
  void STDMETHODCALLTYPE GetServerModuleByName(const char*, IServerModule**) override {}
  FAKE_RESERVED(20) FAKE_RESERVED(21)
  void STDMETHODCALLTYPE GetDocumentKindByName(const char*, IDocumentKind**) override {}
  FAKE_RESERVED(23) FAKE_RESERVED(24)
  BOOL STDMETHODCALLTYPE StartServer(const char*) override { return FALSE; }
  FAKE_RESERVED(26) FAKE_RESERVED(27) FAKE_RESERVED(28) FAKE_RESERVED(29) FAKE_RESERVED(30)
  void STDMETHODCALLTYPE ShowDocument(IServerDocument*) override {}
  FAKE_RESERVED(32) FAKE_RESERVED(33) FAKE_RESERVED(34) FAKE_RESERVED(35) FAKE_RESERVED(36)
  FAKE_RESERVED(37) FAKE_RESERVED(38)
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
