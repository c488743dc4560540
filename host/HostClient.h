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
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  HOST_RESERVED(7)
  HOST_RESERVED(8)
  HOST_RESERVED(9)
  HOST_RESERVED(10)
  HOST_RESERVED(11)
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
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  HOST_RESERVED(7)
  HOST_RESERVED(8)
  HWND STDMETHODCALLTYPE GetApplicationHandle() override;  // 9
  HOST_RESERVED(10)
  HOST_RESERVED(11)
  HOST_RESERVED(12)
  HOST_RESERVED(13)
  void STDMETHODCALLTYPE GetDocumentByPath(const char* Path, IServerDocument** Document) override;
  HWND STDMETHODCALLTYPE GetMainWindowHandle() override;  // 15
  HOST_RESERVED(16)
  void STDMETHODCALLTYPE GetHelpPanel(int Index, const char* Name, IHelpPanel** Panel) override;
  HOST_RESERVED(18)
  void STDMETHODCALLTYPE GetServerModuleByName(const char* Name, IServerModule** Module) override;
  HOST_RESERVED(20)
  HOST_RESERVED(21)
  void STDMETHODCALLTYPE GetDocumentKindByName(const char* Kind,
                                               IDocumentKind** DocumentKind) override;
  HOST_RESERVED(23)
  HOST_RESERVED(24)
  BOOL STDMETHODCALLTYPE StartServer(const char* Name) override;  // 25
  HOST_RESERVED(26)
  HOST_RESERVED(27)
  HOST_RESERVED(28)
  HOST_RESERVED(29)
  HOST_RESERVED(30)
  void STDMETHODCALLTYPE ShowDocument(IServerDocument* Document) override;  // 31
  HOST_RESERVED(32)
  HOST_RESERVED(33)
  HOST_RESERVED(34)
  HOST_RESERVED(35)
  HOST_RESERVED(36)
  HOST_RESERVED(37)
  HOST_RESERVED(38)
  const char* STDMETHODCALLTYPE GetHelpModuleName(const char* TopicKey) override;  // 39

  // IProcessLauncher (its slot 3 is the placeholder above, shared by name).
  int STDMETHODCALLTYPE RunProcess(const char* Process, const char* Parameters,
                                   int BufferLength, IServerDocumentView* View) override;

 private:
  THost* FHost;
};
