// The server module the host talks to, its command launcher and process-depth counter,
// and the module-wide server module.
//
// No exception crosses into the host: every interface method catches everything and
// returns its failure value (0, nullptr in an out parameter).
#pragma once

#include "classlib/Lists.h"
#include "classlib/Objects.h"
#include "classlib/StringLists.h"
#include "framework/RT_ClientServerInterface.h"

// A command's run routine: (context, parameter text) -> result.
using TCommandRunRoutine = int (*)(IServerDocumentView* Context, const char* Parameters);
// A command's state routine: may change the flags and texts that GetCommandState preset.
using TCommandStateRoutine = void (*)(IServerDocumentView* Context, const char* Parameters,
                                      BOOL* Enabled, BOOL* Checked, BOOL* Visible, char* Caption,
                                      char* ImageFile);

// An interfaced object that ignores reference counting: AddRef and Release return 0
// and never free it. Its owner frees it.
class TInterfacedObjectNoRef : public TInterfacedObject {
  TCLASS_DECL(TInterfacedObjectNoRef, TInterfacedObject)
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return 0; }
  ULONG STDMETHODCALLTYPE Release() override { return 0; }
};

// In a TInterfacedObjectNoRef descendant that also derives from an interface: routes the
// interface's IUnknown slots to the object's lookup and its non-counting AddRef/Release.
#define TNOREF_IUNKNOWN                                                                    \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID IID, void** Obj) override {              \
    return TInterfacedObject::QueryInterface(IID, Obj);                                    \
  }                                                                                        \
  ULONG STDMETHODCALLTYPE AddRef() override { return TInterfacedObjectNoRef::AddRef(); }   \
  ULONG STDMETHODCALLTYPE Release() override { return TInterfacedObjectNoRef::Release(); }

// The two routines of one command, either possibly nullptr.
class TCommandHandler : public TObject {
  TCLASS_DECL(TCommandHandler, TObject)
 public:
  TCommandHandler(TCommandRunRoutine ARunRoutine, TCommandStateRoutine AStateRoutine)
      : RunRoutine(ARunRoutine), StateRoutine(AStateRoutine) {}

  TCommandRunRoutine RunRoutine;
  TCommandStateRoutine StateRoutine;
};

// The command table: names looked up without regard to letter case.
class TCommandLauncher : public TInterfacedObjectNoRef, public ICommandLauncher {
  TCLASS_DECL(TCommandLauncher, TInterfacedObjectNoRef)
 public:
  TCommandLauncher();
  ~TCommandLauncher() override;

  TNOREF_IUNKNOWN

  // Adds a command. The first registration of a name (in any letter case) stays; a
  // later one is dropped.
  void RegisterCommand(const AnsiString& Name, TCommandRunRoutine RunRoutine,
                       TCommandStateRoutine StateRoutine);
  // The routines of a registered command; nullptr for an unknown name.
  TCommandRunRoutine FindCommandRoutine(const AnsiString& Name) const;
  TCommandStateRoutine FindStateRoutine(const AnsiString& Name) const;
  int CommandCount() const { return FCommands->Count(); }

  // ICommandLauncher. A run routine that raises has its error shown through
  // ShowCurrentException, and the launch returns 0.
  int STDMETHODCALLTYPE LaunchCommand(const char* Name, const char* Parameters, int Unused,
                                      IServerDocumentView* Context) override;
  void STDMETHODCALLTYPE GetCommandState(const char* Name, const char* Parameters,
                                         IServerDocumentView* Context, BOOL* Enabled,
                                         BOOL* Checked, BOOL* Visible, char* Caption,
                                         char* ImageFile) override;

 private:
  TCommandHandler* FindHandler(const AnsiString& Name) const;

  TStringList* FCommands;  // sorted, case-insensitive, duplicates ignored; owns the handlers
};

// The process-depth counter. Nothing clamps it: it may go negative.
class TProcessControl : public TInterfacedObjectNoRef, public IProcessControl {
  TCLASS_DECL(TProcessControl, TInterfacedObjectNoRef)
 public:
  TNOREF_IUNKNOWN

  int STDMETHODCALLTYPE GetProcessDepth() override;
  void STDMETHODCALLTYPE DecProcessDepth(IUnknown* Unused1, int Unused2) override;
  void STDMETHODCALLTYPE IncProcessDepth(IUnknown* Unused1, int Unused2) override;
  void STDMETHODCALLTYPE SetProcessDepth(int Value) override;

 private:
  int FDepth = 0;
};

// The server module: reference counted; the host's last Release frees it.
//
// The construction steps run in AfterConstruction, so that the overridden
// CreateCommandLauncher and RegisterCommands are reached: keep the client module-wide,
// register this module module-wide, keep the client, create the launcher, the process
// control, the documents list and the auxiliary list, set the name, register the
// commands, and create the recent-expression store. The destructor undoes them: the
// store first, then the auxiliary list and the launcher, the documents, the process
// control, and last the module-wide server module.
class TServerModule : public TInterfacedObject, public IServerModule {
  TCLASS_DECL(TServerModule, TInterfacedObject)
 public:
  TServerModule(IClient* AClient, const AnsiString& AModuleName);
  ~TServerModule() override;

  void AfterConstruction() override;

  TINTERFACED_IUNKNOWN

  // IServerModule. ApplicationIdle, ReceiveNotification, CreateDocument, RemoveDocument
  // and ReservedQuery run the overridable operations below.
  void STDMETHODCALLTYPE ApplicationIdle() override;
  void STDMETHODCALLTYPE ReceiveNotification(IUnknown* Notification) override;
  void STDMETHODCALLTYPE CreateDocument(const char* Kind, const char* FileName,
                                        IServerDocument** Document) override;
  void STDMETHODCALLTYPE RemoveDocument(IServerDocument* Document) override;
  void STDMETHODCALLTYPE GetClient(IClient** Client) override;
  void STDMETHODCALLTYPE GetCommandLauncher(ICommandLauncher** Launcher) override;
  int STDMETHODCALLTYPE GetDocumentCount() override;
  void STDMETHODCALLTYPE GetDocument(int Index, IServerDocument** Document) override;
  HINSTANCE STDMETHODCALLTYPE GetInstanceHandle() override;
  const char* STDMETHODCALLTYPE GetModuleName() override;
  void STDMETHODCALLTYPE GetProcessControl(IProcessControl** Control) override;
  int STDMETHODCALLTYPE GetAuxInterfaceCount() override;
  void STDMETHODCALLTYPE GetAuxInterface(int Index, IUnknown** Interface) override;
  int STDMETHODCALLTYPE ReservedQuery() override;

  TCommandLauncher* CommandLauncher() const { return FCommandLauncher; }
  TProcessControl* ProcessControl() const { return FProcessControl; }
  const AnsiString& ModuleName() const { return FModuleName; }

 protected:
  // While a message is pending in the thread's queue, posts WM_USER to the
  // application's window; then runs the class library's idle step (hints, OnIdle,
  // actions).
  virtual void DoApplicationIdle();
  // Makes a document through NewDocument and keeps it; a counted reference or nullptr.
  virtual IServerDocument* DoCreateDocument(const AnsiString& Kind, const AnsiString& FileName);
  virtual void DoRemoveDocument(IServerDocument* Document);
  // A new document of this module's own kind, as a counted reference, or nullptr.
  virtual IServerDocument* NewDocument(const AnsiString& Kind, const AnsiString& FileName) = 0;
  // Notifications are ignored.
  virtual void DoReceiveNotification(IUnknown* Notification);
  // Registers the module's commands; none in the base.
  virtual void RegisterCommands() {}
  virtual TCommandLauncher* CreateCommandLauncher();
  virtual int DoReservedQuery() { return 0; }

  void RegisterCommand(const AnsiString& Name, TCommandRunRoutine RunRoutine,
                       TCommandStateRoutine StateRoutine);

 private:
  IClient* FClient = nullptr;  // not counted: the host outlives the module
  TInterfaceList* FDocuments = nullptr;
  AnsiString FModuleName;
  TInterfaceList* FAuxInterfaces = nullptr;
  TCommandLauncher* FCommandLauncher = nullptr;
  TProcessControl* FProcessControl = nullptr;
  // What the module was created with, kept until its construction step.
  IClient* FNewClient;
  AnsiString FNewModuleName;
};

// The module's own server module: no documents of its own kind, two commands.
class TTarvikServerModule : public TServerModule {
  TCLASS_DECL(TTarvikServerModule, TServerModule)
 public:
  using TServerModule::TServerModule;

 protected:
  IServerDocument* NewDocument(const AnsiString& Kind, const AnsiString& FileName) override;
  void RegisterCommands() override;
};

// The module-wide server module, stored without a reference. GetServerModule stores a
// counted copy, or nullptr.
void SetServerModule(IServerModule* Module);
void GetServerModule(IServerModule** Module);
