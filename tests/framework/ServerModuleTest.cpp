// The server module: construction and destruction order, documents, process depth.
#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "framework/ClientProcs.h"
#include "framework/Main.h"
#include "framework/RT_ServerImplementation.h"
#include "framework/Rt_RecentExpressions.h"
#include "host/HostCore.h"

namespace {

class ServerModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Host = CreateHost();
    ASSERT_NE(Host, nullptr) << "no host (its main window could not be made)";
  }
  void TearDown() override {
    if (Module) Module->Release();
    SetClient(nullptr);
    DestroyHost(Host);
  }

  THost* Host = nullptr;
  IServerModule* Module = nullptr;
};

// What a module saw of the module-wide state while it registered its commands.
struct TSeenInConstruction {
  IServerModule* ServerModule = nullptr;
  IClient* Client = nullptr;
  AnsiString ModuleName;
  bool StoreExisted = true;
};

class TProbeServerModule : public TTarvikServerModule {
 public:
  TProbeServerModule(IClient* AClient, TSeenInConstruction& ASeen)
      : TTarvikServerModule(AClient, "Tarvik"), FSeen(ASeen) {}

 protected:
  void RegisterCommands() override {
    TTarvikServerModule::RegisterCommands();
    IServerModule* Current = nullptr;
    GetServerModule(&Current);
    FSeen.ServerModule = Current;
    if (Current) {
      FSeen.ModuleName = Current->GetModuleName();
      Current->Release();  // the construction guard keeps the module alive
    }
    IClient* Client = nullptr;
    ::GetClient(&Client);
    FSeen.Client = Client;
    if (Client) Client->Release();
    FSeen.StoreExisted = RecentExpressionList != nullptr;
  }

 private:
  TSeenInConstruction& FSeen;
};

TEST_F(ServerModuleTest, ConstructionRegistersTheModuleBeforeItsStepsAndTheStoreLast) {
  TSeenInConstruction Seen;
  auto* Probe = NewObject<TProbeServerModule>(Host->Client(), Seen);
  Module = static_cast<IServerModule*>(Probe);
  Module->AddRef();

  EXPECT_EQ(Seen.ServerModule, Module);
  EXPECT_EQ(Seen.Client, Host->Client());
  EXPECT_EQ(Seen.ModuleName, "Tarvik");
  EXPECT_FALSE(Seen.StoreExisted);
  ASSERT_NE(RecentExpressionList, nullptr);
  EXPECT_EQ(RecentExpressionList->Kind(), "Tarvik");  // read through GetServerModule
  EXPECT_EQ(Probe->CommandLauncher()->CommandCount(), 2);
}

TEST_F(ServerModuleTest, NoDocumentsAnUnclampedDepthAndTheLastReleaseClearsTheModule) {
  ServerFactory(&Module, Host->Client());
  ASSERT_NE(Module, nullptr);
  IServerDocument* Document = reinterpret_cast<IServerDocument*>(1);
  Module->CreateDocument("PCB", "PCB1.PcbDoc", &Document);
  EXPECT_EQ(Document, nullptr);
  Module->GetDocument(0, &Document);  // out of range: nothing, and nothing raised
  EXPECT_EQ(Document, nullptr);

  IProcessControl* Control = nullptr;
  Module->GetProcessControl(&Control);
  ASSERT_NE(Control, nullptr);
  Control->DecProcessDepth(nullptr, 0);
  Control->DecProcessDepth(nullptr, 0);
  Control->IncProcessDepth(nullptr, 0);
  EXPECT_EQ(Control->GetProcessDepth(), -1);
  Control->Release();

  EXPECT_EQ(Module->Release(), 0u);
  Module = nullptr;
  IServerModule* Current = reinterpret_cast<IServerModule*>(1);
  GetServerModule(&Current);
  EXPECT_EQ(Current, nullptr);
  EXPECT_EQ(RecentExpressionList, nullptr);
}

// The host calls ApplicationIdle when its queue runs empty. A message that is still
// pending gets a WM_USER behind it, so that the host's wait for the next message
// returns; the class library's idle step runs either way.
TEST_F(ServerModuleTest, ApplicationIdleWakesTheHostForAPendingMessageAndRunsTheIdleStep) {
  ServerFactory(&Module, Host->Client());
  ASSERT_NE(Module, nullptr);
  struct TIdles : TObject {
    int Count = 0;
    void Idle(TObject*, bool&) { ++Count; }
  } Idles;
  Application->OnIdle = TIdleEvent::Bind<&TIdles::Idle>(&Idles);
  struct TUnbind {
    ~TUnbind() { Application->OnIdle = nullptr; }
  } Unbind;
  const HWND AppWindow = Application->Handle();
  Application->ProcessMessages();
  MSG Message;

  Module->ApplicationIdle();
  EXPECT_EQ(Idles.Count, 1);
  EXPECT_FALSE(PeekMessageA(&Message, AppWindow, WM_USER, WM_USER, PM_REMOVE));

  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  Module->ApplicationIdle();
  EXPECT_EQ(Idles.Count, 2);
  ASSERT_TRUE(PeekMessageA(&Message, AppWindow, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(Message.wParam, 0u);
  EXPECT_EQ(Message.lParam, 0);
  EXPECT_TRUE(PeekMessageA(&Message, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

}  // namespace
