#include "host/HostClient.h"

#include "host/HostCore.h"
#include "host/HostDocuments.h"
#include "host/HostPcbModule.h"

namespace {

// The processes the host knows. Every call is recorded; a known one succeeds.
const char* const KnownProcesses[] = {"PCB:Zoom"};

bool IsKnownProcess(const std::string& Process) {
  for (const char* Known : KnownProcesses)
    if (HostSameText(Process, Known)) return true;
  return false;
}

}  // namespace

HRESULT STDMETHODCALLTYPE THostHelpPanel::QueryInterface(REFIID Iid, void** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    if (Iid == IID_IUnknown) return HostAnswer<IUnknown>(this, Result);
    return E_NOINTERFACE;
  });
}

HRESULT STDMETHODCALLTYPE THostClient::QueryInterface(REFIID Iid, void** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    // IUnknown is the IClient part, so that identity comparisons agree.
    if (Iid == IID_IUnknown || Iid == IID_IClient) return HostAnswer<IClient>(this, Result);
    if (Iid == IID_IProcessLauncher) return HostAnswer<IProcessLauncher>(this, Result);
    return E_NOINTERFACE;
  });
}

// The host's application window and main window are the same window.
HWND STDMETHODCALLTYPE THostClient::GetApplicationHandle() {
  return HostGuard<HWND>(nullptr, [&] { return FHost ? FHost->MainWindow() : nullptr; });
}

HWND STDMETHODCALLTYPE THostClient::GetMainWindowHandle() {
  return HostGuard<HWND>(nullptr, [&] { return FHost ? FHost->MainWindow() : nullptr; });
}

void STDMETHODCALLTYPE THostClient::GetDocumentByPath(const char* Path, IServerDocument** Document) {
  HostGuardVoid([&] {
    if (!Document) return;
    *Document = nullptr;
    if (!FHost || !Path) return;
    THostDocument* Found = FHost->FindDocument(Path);
    HostHandOut<IServerDocument>(Found, Document);
  });
}

void STDMETHODCALLTYPE THostClient::GetHelpPanel(int, const char*, IHelpPanel** Panel) {
  HostGuardVoid([&] {
    if (!Panel) return;
    *Panel = nullptr;
    if (FHost) HostHandOut(FHost->HelpPanel(), Panel);
  });
}

void STDMETHODCALLTYPE THostClient::GetServerModuleByName(const char* Name, IServerModule** Module) {
  HostGuardVoid([&] {
    if (!Module) return;
    *Module = nullptr;
    if (!FHost || !Name) return;
    THostPcbModule* Pcb = FHost->PcbModule();
    if (Pcb && HostSameText(Name, Pcb->Name())) HostHandOut<IServerModule>(Pcb, Module);
  });
}

void STDMETHODCALLTYPE THostClient::GetDocumentKindByName(const char* Kind,
                                                           IDocumentKind** DocumentKind) {
  HostGuardVoid([&] {
    if (!DocumentKind) return;
    *DocumentKind = nullptr;
    if (!FHost || !Kind) return;
    HostHandOut<IDocumentKind>(FHost->FindDocumentKind(Kind), DocumentKind);
  });
}

// The host's own PCB server is running from the start: starting it is recorded and
// succeeds; any other name is unknown.
BOOL STDMETHODCALLTYPE THostClient::StartServer(const char* Name) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    if (!FHost) return FALSE;
    std::string Text = HostText(Name);
    FHost->RecordStartServer(Text);
    THostPcbModule* Pcb = FHost->PcbModule();
    return Pcb && HostSameText(Text, Pcb->Name()) ? TRUE : FALSE;
  });
}

void STDMETHODCALLTYPE THostClient::ShowDocument(IServerDocument* Document) {
  HostGuardVoid([&] {
    if (FHost) FHost->ShowDocument(Document);
  });
}

const char* STDMETHODCALLTYPE THostClient::GetHelpModuleName(const char* TopicKey) {
  return HostGuard<const char*>(nullptr, [&]() -> const char* {
    if (!FHost || !TopicKey) return nullptr;
    return FHost->HelpModuleName(TopicKey);
  });
}

int STDMETHODCALLTYPE THostClient::RunProcess(const char* Process, const char* Parameters,
                                              int BufferLength, IServerDocumentView* View) {
  return HostGuard<int>(0, [&]() -> int {
    if (!FHost) return 0;
    THostProcessRecord Record;
    Record.Process = HostText(Process);
    Record.Parameters = HostText(Parameters);
    Record.BufferLength = BufferLength;
    Record.View = View;
    if (View) Record.ViewName = HostText(View->GetViewName());
    Record.Accepted = IsKnownProcess(Record.Process);
    FHost->RecordProcess(Record);
    return Record.Accepted ? 1 : 0;
  });
}
