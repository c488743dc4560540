// The host's own PCB server module: the IServerModule that GetServerModuleByName("PCB")
// returns. Its documents are the host's open documents of kind "PCB".
#pragma once

#include <string>

#include "framework/RT_ClientServerInterface.h"
#include "host/HostCom.h"

class THost;

class THostPcbModule final : public THostComObject<IServerModule> {
 public:
  explicit THostPcbModule(THost* Host) : FHost(Host) {}
  void Detach() { FHost = nullptr; }
  // The module's name and the kind of its documents.
  const std::string& Name() const { return FName; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override;
  void STDMETHODCALLTYPE ApplicationIdle() override {}
  void STDMETHODCALLTYPE ReceiveNotification(IUnknown*) override {}
  // Opens a document of kind "PCB": from FileName when that names an existing file
  // (a template), else a blank document under that name. nullptr for another kind.
  void STDMETHODCALLTYPE CreateDocument(const char* Kind, const char* FileName,
                                        IServerDocument** Document) override;
  // Closes the document.
  void STDMETHODCALLTYPE RemoveDocument(IServerDocument* Document) override;
  void STDMETHODCALLTYPE GetClient(IClient** Client) override;
  // The host's PCB module has no commands and no process control of its own.
  void STDMETHODCALLTYPE GetCommandLauncher(ICommandLauncher** Launcher) override;
  int STDMETHODCALLTYPE GetDocumentCount() override;
  void STDMETHODCALLTYPE GetDocument(int Index, IServerDocument** Document) override;
  HINSTANCE STDMETHODCALLTYPE GetInstanceHandle() override;
  const char* STDMETHODCALLTYPE GetModuleName() override { return FName.c_str(); }
  void STDMETHODCALLTYPE GetProcessControl(IProcessControl** Control) override;
  int STDMETHODCALLTYPE GetAuxInterfaceCount() override { return 0; }
  void STDMETHODCALLTYPE GetAuxInterface(int Index, IUnknown** Interface) override;
  int STDMETHODCALLTYPE ReservedQuery() override { return 0; }

 private:
  // The index'th open document of this module's kind, or nullptr.
  IServerDocument* OwnDocument(int Index) const;

  THost* FHost;
  std::string FName = "PCB";
};
