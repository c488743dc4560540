#include "framework/RT_ServerImplementation.h"

#include "classlib/Exceptions.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "classlib/ScopeExit.h"
#include "framework/ClientProcs.h"
#include "framework/Rt_RecentExpressions.h"
#include "framework/WizardCommands.h"

namespace {

IServerModule* ModuleServerModule = nullptr;  // not counted

const TInterfaceEntry CommandLauncherInterfaces[] = {
    InterfaceEntry<TCommandLauncher, ICommandLauncher>(IID_ICommandLauncher),
    {nullptr, nullptr},
};
const TInterfaceEntry ProcessControlInterfaces[] = {
    InterfaceEntry<TProcessControl, IProcessControl>(IID_IProcessControl),
    {nullptr, nullptr},
};
const TInterfaceEntry ServerModuleInterfaces[] = {
    InterfaceEntry<TServerModule, IServerModule>(IID_IServerModule),
    {nullptr, nullptr},
};

// Stores Intf with one more reference in Out.
template <class I>
void HandOut(I* Intf, I** Out) {
  *Out = Intf;
  if (Intf) Intf->AddRef();
}

// Runs one step of freeing; a failure must not keep the later steps from running.
template <class F>
void FreeStep(F Step) {
  try {
    Step();
  } catch (...) {
  }
}

}  // namespace

void SetServerModule(IServerModule* Module) { ModuleServerModule = Module; }

void GetServerModule(IServerModule** Module) { HandOut(ModuleServerModule, Module); }

// ---------------------------------------------------------------------------------

TCLASS_IMPL(TInterfacedObjectNoRef)
TCLASS_IMPL(TCommandHandler)
TCLASS_IMPL_TABLE(TCommandLauncher, CommandLauncherInterfaces)

TCommandLauncher::TCommandLauncher() : FCommands(NewObject<TStringList>(true)) {
  FCommands->SetSorted(true);
  FCommands->SetCaseSensitive(false);
  FCommands->SetDuplicates(dupIgnore);
}

TCommandLauncher::~TCommandLauncher() { FreeAndNil(FCommands); }

void TCommandLauncher::RegisterCommand(const AnsiString& Name, TCommandRunRoutine RunRoutine,
                                       TCommandStateRoutine StateRoutine) {
  TOwned<TCommandHandler> Handler(NewObject<TCommandHandler>(RunRoutine, StateRoutine));
  const int Index = FCommands->AddObject(Name, Handler.get());
  // A name already there keeps its handler: the new one is not kept.
  if (FCommands->Objects(Index) == Handler.get()) Handler.release();
}

TCommandHandler* TCommandLauncher::FindHandler(const AnsiString& Name) const {
  int Index;
  if (!FCommands->Find(Name, Index)) return nullptr;
  return static_cast<TCommandHandler*>(FCommands->Objects(Index));
}

TCommandRunRoutine TCommandLauncher::FindCommandRoutine(const AnsiString& Name) const {
  TCommandHandler* Handler = FindHandler(Name);
  return Handler ? Handler->RunRoutine : nullptr;
}

TCommandStateRoutine TCommandLauncher::FindStateRoutine(const AnsiString& Name) const {
  TCommandHandler* Handler = FindHandler(Name);
  return Handler ? Handler->StateRoutine : nullptr;
}

int STDMETHODCALLTYPE TCommandLauncher::LaunchCommand(const char* Name, const char* Parameters,
                                                      int, IServerDocumentView* Context) {
  try {
    TCommandRunRoutine Routine = FindCommandRoutine(Name ? Name : "");
    if (!Routine) return 0;
    return Routine(Context, Parameters);
  } catch (...) {
    try {
      ShowCurrentException();
    } catch (...) {
    }
    return 0;
  }
}

void STDMETHODCALLTYPE TCommandLauncher::GetCommandState(const char* Name, const char* Parameters,
                                                         IServerDocumentView* Context,
                                                         BOOL* Enabled, BOOL* Checked,
                                                         BOOL* Visible, char* Caption,
                                                         char* ImageFile) {
  try {
    if (Enabled) *Enabled = -1;
    if (Checked) *Checked = 0;
    if (Visible) *Visible = -1;
    if (Caption) Caption[0] = '\0';
    if (ImageFile) ImageFile[0] = '\0';
    if (TCommandStateRoutine Routine = FindStateRoutine(Name ? Name : ""))
      Routine(Context, Parameters, Enabled, Checked, Visible, Caption, ImageFile);
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------------

TCLASS_IMPL_TABLE(TProcessControl, ProcessControlInterfaces)

int STDMETHODCALLTYPE TProcessControl::GetProcessDepth() { return FDepth; }

void STDMETHODCALLTYPE TProcessControl::DecProcessDepth(IUnknown*, int) { --FDepth; }

void STDMETHODCALLTYPE TProcessControl::IncProcessDepth(IUnknown*, int) { ++FDepth; }

void STDMETHODCALLTYPE TProcessControl::SetProcessDepth(int Value) { FDepth = Value; }

// ---------------------------------------------------------------------------------

TCLASS_IMPL_TABLE(TServerModule, ServerModuleInterfaces)

TServerModule::TServerModule(IClient* AClient, const AnsiString& AModuleName)
    : FNewClient(AClient), FNewModuleName(AModuleName) {}

void TServerModule::AfterConstruction() {
  // The construction guard of TInterfacedObject holds one reference until the end, so
  // the references handed out on the way (GetServerModule) cannot free the module.
  ::SetClient(FNewClient);
  SetServerModule(static_cast<IServerModule*>(this));
  FClient = FNewClient;
  FCommandLauncher = CreateCommandLauncher();
  FProcessControl = NewObject<TProcessControl>();
  FDocuments = NewObject<TInterfaceList>();
  FAuxInterfaces = NewObject<TInterfaceList>();
  FModuleName = FNewModuleName;
  RegisterCommands();
  RecentExpressionList = NewObject<TRecentExpressionList>();
  TInterfacedObject::AfterConstruction();
}

TServerModule::~TServerModule() {
  FreeStep([] { FreeAndNil(RecentExpressionList); });
  FreeStep([this] { FreeAndNil(FAuxInterfaces); });
  FreeStep([this] { FreeAndNil(FCommandLauncher); });
  FreeStep([this] { FreeAndNil(FDocuments); });
  FreeStep([this] { FreeAndNil(FProcessControl); });
  if (ModuleServerModule == static_cast<IServerModule*>(this)) SetServerModule(nullptr);
}

TCommandLauncher* TServerModule::CreateCommandLauncher() { return NewObject<TCommandLauncher>(); }

void TServerModule::RegisterCommand(const AnsiString& Name, TCommandRunRoutine RunRoutine,
                                    TCommandStateRoutine StateRoutine) {
  FCommandLauncher->RegisterCommand(Name, RunRoutine, StateRoutine);
}

void TServerModule::DoApplicationIdle() {
  if (!Application) return;
  // The host waits for the next message once this returns; a message that is already
  // in the queue would not end that wait, a new one does.
  MSG Message;
  if (PeekMessageA(&Message, nullptr, 0, 0, PM_NOREMOVE)) PostMessageA(Application->Handle(), WM_USER, 0, 0);
  Application->DoIdle();
}

IServerDocument* TServerModule::DoCreateDocument(const AnsiString& Kind,
                                                 const AnsiString& FileName) {
  IServerDocument* Document = NewDocument(Kind, FileName);
  if (!Document) return nullptr;
  auto Undo = ScopeExit([&] { Document->Release(); });
  FDocuments->Add(Document);
  Undo.Dismiss();  // the list holds the reference now
  return Document;
}

void TServerModule::DoRemoveDocument(IServerDocument* Document) { FDocuments->Remove(Document); }

void TServerModule::DoReceiveNotification(IUnknown*) {}

void STDMETHODCALLTYPE TServerModule::ApplicationIdle() {
  try {
    DoApplicationIdle();
  } catch (...) {
  }
}

void STDMETHODCALLTYPE TServerModule::ReceiveNotification(IUnknown* Notification) {
  try {
    DoReceiveNotification(Notification);
  } catch (...) {
  }
}

void STDMETHODCALLTYPE TServerModule::CreateDocument(const char* Kind, const char* FileName,
                                                     IServerDocument** Document) {
  if (!Document) return;
  *Document = nullptr;
  try {
    *Document = DoCreateDocument(Kind ? Kind : "", FileName ? FileName : "");
  } catch (...) {
    *Document = nullptr;
  }
}

void STDMETHODCALLTYPE TServerModule::RemoveDocument(IServerDocument* Document) {
  try {
    DoRemoveDocument(Document);
  } catch (...) {
  }
}

void STDMETHODCALLTYPE TServerModule::GetClient(IClient** Client) {
  if (Client) HandOut(FClient, Client);
}

void STDMETHODCALLTYPE TServerModule::GetCommandLauncher(ICommandLauncher** Launcher) {
  if (Launcher) HandOut(static_cast<ICommandLauncher*>(FCommandLauncher), Launcher);
}

int STDMETHODCALLTYPE TServerModule::GetDocumentCount() {
  return FDocuments ? FDocuments->Count() : 0;
}

void STDMETHODCALLTYPE TServerModule::GetDocument(int Index, IServerDocument** Document) {
  if (!Document) return;
  *Document = nullptr;
  try {
    // The list holds the documents as they were added, each an IServerDocument.
    HandOut(static_cast<IServerDocument*>(FDocuments->Get(Index)), Document);
  } catch (...) {
    *Document = nullptr;
  }
}

HINSTANCE STDMETHODCALLTYPE TServerModule::GetInstanceHandle() { return HInstance; }

const char* STDMETHODCALLTYPE TServerModule::GetModuleName() { return FModuleName.c_str(); }

void STDMETHODCALLTYPE TServerModule::GetProcessControl(IProcessControl** Control) {
  if (Control) HandOut(static_cast<IProcessControl*>(FProcessControl), Control);
}

int STDMETHODCALLTYPE TServerModule::GetAuxInterfaceCount() {
  return FAuxInterfaces ? FAuxInterfaces->Count() : 0;
}

void STDMETHODCALLTYPE TServerModule::GetAuxInterface(int Index, IUnknown** Interface) {
  if (!Interface) return;
  *Interface = nullptr;
  try {
    HandOut(FAuxInterfaces->Get(Index), Interface);
  } catch (...) {
    *Interface = nullptr;
  }
}

int STDMETHODCALLTYPE TServerModule::ReservedQuery() {
  try {
    return DoReservedQuery();
  } catch (...) {
    return 0;
  }
}

// ---------------------------------------------------------------------------------

TCLASS_IMPL(TTarvikServerModule)

IServerDocument* TTarvikServerModule::NewDocument(const AnsiString&, const AnsiString&) {
  return nullptr;
}

void TTarvikServerModule::RegisterCommands() {
  RegisterCommand("RunWizard", RunWizardCommand, nullptr);
  RegisterCommand("RunDocumentWizard", RunDocumentWizardCommand, nullptr);
}
