#include "host/HostPcbModule.h"

#include "host/HostCore.h"
#include "host/HostDocuments.h"

HRESULT STDMETHODCALLTYPE THostPcbModule::QueryInterface(REFIID Iid, void** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    if (Iid == IID_IUnknown) return HostAnswer<IUnknown>(this, Result);
    if (Iid == IID_IServerModule) return HostAnswer<IServerModule>(this, Result);
    return E_NOINTERFACE;
  });
}

void STDMETHODCALLTYPE THostPcbModule::CreateDocument(const char* Kind, const char* FileName,
                                                      IServerDocument** Document) {
  HostGuardVoid([&] {
    if (!Document) return;
    *Document = nullptr;
    if (!FHost || !HostSameText(HostText(Kind), FName)) return;
    THostDocument* Opened = FHost->OpenDocument(FName, HostText(FileName));
    HostHandOut<IServerDocument>(Opened, Document);
  });
}

// The module lets the document go: it is closed unsaved, so it leaves nothing in the
// output folder.
void STDMETHODCALLTYPE THostPcbModule::RemoveDocument(IServerDocument* Document) {
  HostGuardVoid([&] {
    if (FHost) FHost->DiscardDocument(Document);
  });
}

void STDMETHODCALLTYPE THostPcbModule::GetClient(IClient** Client) {
  HostGuardVoid([&] {
    if (!Client) return;
    *Client = nullptr;
    if (FHost) HostHandOut(FHost->Client(), Client);
  });
}

void STDMETHODCALLTYPE THostPcbModule::GetCommandLauncher(ICommandLauncher** Launcher) {
  if (Launcher) *Launcher = nullptr;
}

IServerDocument* THostPcbModule::OwnDocument(int Index) const {
  if (!FHost || Index < 0) return nullptr;
  for (int I = 0; I < FHost->DocumentCount(); ++I) {
    THostDocument* Document = FHost->Document(I);
    if (HostSameText(Document->Kind(), FName) && Index-- == 0) return Document;
  }
  return nullptr;
}

int STDMETHODCALLTYPE THostPcbModule::GetDocumentCount() {
  return HostGuard<int>(0, [&] {
    int Count = 0;
    while (OwnDocument(Count)) ++Count;
    return Count;
  });
}

void STDMETHODCALLTYPE THostPcbModule::GetDocument(int Index, IServerDocument** Document) {
  HostGuardVoid([&] {
    if (!Document) return;
    *Document = nullptr;
    HostHandOut(OwnDocument(Index), Document);
  });
}

// The PCB editor's code lives in its own module; while that is not loaded, the
// host's instance stands for it.
HINSTANCE STDMETHODCALLTYPE THostPcbModule::GetInstanceHandle() {
  HMODULE Editor = FHost ? FHost->EditorModule() : nullptr;
  return Editor ? Editor : GetModuleHandleA(nullptr);
}

void STDMETHODCALLTYPE THostPcbModule::GetProcessControl(IProcessControl** Control) {
  if (Control) *Control = nullptr;
}

void STDMETHODCALLTYPE THostPcbModule::GetAuxInterface(int, IUnknown** Interface) {
  if (Interface) *Interface = nullptr;
}
