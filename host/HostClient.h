// The host's IClient (with its IProcessLauncher) and its help panel. Both forward to
// the host object; once the host is gone (Detach) they answer with failure values.
#pragma once

#include "framework/RT_ClientServerInterface.h"
#include "host/HostCom.h"

class THost;

// The panel the client hands out for popup help: PrepareForPopup only counts.
class THostHelpPanel final : public THostComObject<IHelpPanel> {
 public:
  int PrepareCount() const { return FPrepareCount; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override;
  void STDMETHODCALLTYPE PrepareForPopup() override { ++FPrepareCount; }

 private:
  int FPrepareCount = 0;
};

class THostClient final : public THostComObject<IClient, IProcessLauncher> {
 public:
  explicit THostClient(THost* Host) : FHost(Host) {}
  void Detach() { FHost = nullptr; }
  IClient* Interface() { return this; }

  // IUnknown: answers IClient and IProcessLauncher.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override;

  // IClient, by slot.
  HWND STDMETHODCALLTYPE GetApplicationHandle() override;  // 9
  void STDMETHODCALLTYPE GetDocumentByPath(const char* Path, IServerDocument** Document) override;
  HWND STDMETHODCALLTYPE GetMainWindowHandle() override;  // 15
  void STDMETHODCALLTYPE GetHelpPanel(int Index, const char* Name, IHelpPanel** Panel) override;
  void STDMETHODCALLTYPE GetServerModuleByName(const char* Name, IServerModule** Module) override;
  void STDMETHODCALLTYPE GetDocumentKindByName(const char* Kind,
                                               IDocumentKind** DocumentKind) override;
  BOOL STDMETHODCALLTYPE StartServer(const char* Name) override;  // 25
  void STDMETHODCALLTYPE ShowDocument(IServerDocument* Document) override;  // 31
  const char* STDMETHODCALLTYPE GetHelpModuleName(const char* TopicKey) override;  // 39

  // IProcessLauncher.
  int STDMETHODCALLTYPE RunProcess(const char* Process, const char* Parameters,
                                   int BufferLength, IServerDocumentView* View) override;

 private:
  THost* FHost;
};
