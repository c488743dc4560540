#include "host/HostCore.h"

#include "host/HalvornApi.h"
#include "host/HostClient.h"
#include "host/HostDocuments.h"
#include "host/HostLoader.h"
#include "host/HostMainWindow.h"
#include "host/HostPcbModule.h"

namespace {

THost* GCurrentHost = nullptr;

const char WorkspaceModuleName[] = "Halvorn.dll";

// Whether Path names an existing file (not a folder).
bool IsExistingFile(const std::string& Path) {
  DWORD Attributes = GetFileAttributesA(Path.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether Path names an existing folder.
bool IsExistingFolder(const std::string& Path) {
  DWORD Attributes = GetFileAttributesA(Path.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

THost::THost(const THostOptions& Options)
    : FFolder(WithTrailingBackslash(Options.Folder.empty() ? HostFolder() : Options.Folder)),
      FOutputFolder(WithTrailingBackslash(Options.OutputFolder)) {
  FClient = new THostClient(this);
  FPcbModule = new THostPcbModule(this);
  FHelpPanel = new THostHelpPanel;
  AddDocumentKind("PCB", "PCB", "PcbDoc");
  SetHelpModule("PCB", "Merovan.dll");
  SetHelpModule("Tarvik", "Tarvik.dll");
  FMainWindow = CreateHostMainWindow(this, Options.ShowMainWindow);
}

THost::~THost() {
  Stop();
  FCurrent = nullptr;
  for (THostDocument* Document : FDocuments) {
    Document->DetachEditor();
    Document->Release();
  }
  FDocuments.clear();
  if (FMainWindow) DestroyWindow(FMainWindow);
  FMainWindow = nullptr;
  for (THostDocumentKind* Kind : FKinds) Kind->Release();
  FKinds.clear();
  FHelpPanel->Release();
  FPcbModule->Detach();
  FPcbModule->Release();
  FClient->Detach();
  FClient->Release();
}

IClient* THost::Client() const { return FClient->Interface(); }

IHelpPanel* THost::HelpPanel() const { return FHelpPanelOffered ? FHelpPanel : nullptr; }

int THost::HelpPanelPrepareCount() const { return FHelpPanel->PrepareCount(); }

// ---------------------------------------------------------------------------------
// Kinds and documents

void THost::AddDocumentKind(const std::string& Name, const std::string& BaseName,
                            const std::string& Extension) {
  auto* Kind = new THostDocumentKind(Name, BaseName, Extension);
  for (THostDocumentKind*& Existing : FKinds) {
    if (HostSameText(Existing->Name(), Name)) {
      Existing->Release();
      Existing = Kind;
      return;
    }
  }
  FKinds.push_back(Kind);
}

THostDocumentKind* THost::FindDocumentKind(const std::string& Name) const {
  for (THostDocumentKind* Kind : FKinds)
    if (HostSameText(Kind->Name(), Name)) return Kind;
  return nullptr;
}

THostDocument* THost::Document(int Index) const {
  if (Index < 0 || Index >= DocumentCount()) return nullptr;
  return FDocuments[Index];
}

THostDocument* THost::FindDocument(const std::string& Path) const {
  for (THostDocument* Document : FDocuments)
    if (HostSameText(Document->FileName(), Path)) return Document;
  return nullptr;
}

THostDocument* THost::OpenDocument(const std::string& Kind, const std::string& FileName) {
  THostDocumentKind* DocumentKind = FindDocumentKind(Kind);
  // A folder is neither a document to open nor a name for a new one.
  if (!DocumentKind || (!FileName.empty() && IsExistingFolder(FileName))) return nullptr;
  std::string Template = !FileName.empty() && IsExistingFile(FileName) ? FileName : std::string();
  // Each kind has one editor view, named after the kind: "PCBEditor" for "PCB".
  auto* Document = new THostDocument(DocumentKind->Name(), FileName, Template,
                                     DocumentKind->Name() + "Editor");
  FDocuments.push_back(Document);
  std::string Error;
  if (HostSameText(DocumentKind->Name(), "PCB") && LoadEditor(Error))
    Document->OpenBoard(&FEditor);
  UpdateHostMainWindow(FMainWindow);
  return Document;
}

void THost::CloseDocument(IServerDocument* Document) { RemoveOpenDocument(Document, true); }

void THost::DiscardDocument(IServerDocument* Document) { RemoveOpenDocument(Document, false); }

void THost::RemoveOpenDocument(IServerDocument* Document, bool Save) {
  for (auto It = FDocuments.begin(); It != FDocuments.end(); ++It) {
    if ((*It)->Interface() != Document) continue;
    THostDocument* Closed = *It;
    FDocuments.erase(It);
    if (FCurrent == Closed) FCurrent = nullptr;
    if (Save) SaveOutput(Closed);
    Closed->CloseBoard();
    Closed->Release();
    UpdateHostMainWindow(FMainWindow);
    return;
  }
}

IServerDocumentView* THost::CurrentView() const {
  return FCurrent ? FCurrent->View(0) : nullptr;
}

void THost::ShowDocument(IServerDocument* Document) {
  for (THostDocument* Open : FDocuments) {
    if (Open->Interface() != Document) continue;
    FCurrent = Open;
    Open->Shown();
    UpdateHostMainWindow(FMainWindow);
    return;
  }
}

void THost::SaveOutput(THostDocument* Document) {
  if (FOutputFolder.empty() || !Document->Board()) return;
  if (Document->OutputName().empty()) {
    std::string Base = Document->FileName();
    Base.erase(0, Base.find_last_of("\\/:") + 1);
    if (std::string::size_type Dot = Base.rfind('.'); Dot != std::string::npos && Dot > 0)
      Base.erase(Dot);
    if (Base.empty()) Base = "Document";
    std::string Name = Base;
    auto Taken = [&](const std::string& Candidate) {
      for (const std::string& Used : FOutputNames)
        if (HostSameText(Used, Candidate)) return true;
      return false;
    };
    for (int Number = 2; Taken(Name); ++Number) Name = Base + " (" + std::to_string(Number) + ")";
    FOutputNames.push_back(Name);
    Document->SetOutputName(Name);
  }
  CreateDirectoryA(FOutputFolder.c_str(), nullptr);
  const std::string Path = FOutputFolder + Document->OutputName();
  if (!FEditor.SaveBoard(Document->Board(), Path + ".txt"))
    FOutputProblems.push_back("cannot save " + Path + ".txt");
  if (!FEditor.DrawBoard(Document->Board(), Path + ".png", OutputPictureWidth,
                         OutputPictureHeight))
    FOutputProblems.push_back("cannot save " + Path + ".png");
}

// ---------------------------------------------------------------------------------
// Help

void THost::SetHelpModule(const std::string& Prefix, const std::string& ModuleFileName) {
  for (THelpModule& Module : FHelpModules) {
    if (HostSameText(Module.Prefix, Prefix)) {
      Module.FileName = ModuleFileName;
      return;
    }
  }
  FHelpModules.push_back({Prefix, ModuleFileName});
}

const char* THost::HelpModuleName(const std::string& TopicKey) const {
  std::string::size_type Colon = TopicKey.find(':');
  if (Colon == std::string::npos) return nullptr;
  std::string Prefix = TopicKey.substr(0, Colon);
  for (const THelpModule& Module : FHelpModules)
    if (HostSameText(Module.Prefix, Prefix)) return Module.FileName.c_str();
  return nullptr;
}

// ---------------------------------------------------------------------------------
// Workspace and server module

bool THost::LoadWorkspace(std::string& Error) {
  if (FWorkspaceModule) return true;
  FWorkspaceModule = LoadHostModule(FFolder, WorkspaceModuleName, Error);
  return FWorkspaceModule != nullptr;
}

std::vector<std::string> THost::WorkspaceFileNames() const {
  std::vector<std::string> Names;
  if (!FWorkspaceModule) return Names;
  auto Count = HostProcAddress<TGetWorkspaceFileCount>(FWorkspaceModule, "GetWorkspaceFileCount");
  auto Name = HostProcAddress<TGetWorkspaceFileName>(FWorkspaceModule, "GetWorkspaceFileName");
  if (!Count || !Name) return Names;
  for (int I = 0, N = Count(); I < N; ++I) {
    int Length = Name(I, nullptr, 0);
    if (Length < 0) break;
    std::string Text(Length + 1, '\0');
    Name(I, Text.data(), Length + 1);
    Text.resize(Length);
    Names.push_back(Text);
  }
  return Names;
}

bool THost::LoadEditor(std::string& Error) { return FEditor.Load(FFolder, Error); }

bool THost::Start(const std::string& ModuleFileName, std::string& Error) {
  if (FModule) {
    Error = "a server module is already loaded";
    return false;
  }
  if (!LoadWorkspace(Error)) return false;
  if (!LoadEditor(Error)) {
    Stop();
    return false;
  }
  FServerModule = LoadHostModule(FFolder, ModuleFileName, Error);
  if (!FServerModule) {
    Stop();
    return false;
  }
  auto Factory = HostProcAddress<TServerFactory>(FServerModule, "ServerFactory");
  if (!Factory) {
    Error = ModuleFileName + " has no ServerFactory export, so there is no server module to start";
    Stop();
    return false;
  }
  IServerModule* Module = nullptr;
  Factory(&Module, Client());
  if (!Module) {
    Error = "the ServerFactory of " + ModuleFileName + " returned no server module";
    Stop();
    return false;
  }
  FModule = Module;
  return true;
}

bool THost::LaunchCommand(const std::string& Name, const std::string& Parameters, int& Result,
                          std::string& Error) {
  Result = 0;
  if (!FModule) {
    Error = "no server module is loaded";
    return false;
  }
  ICommandLauncher* Launcher = nullptr;
  FModule->GetCommandLauncher(&Launcher);
  if (!Launcher) {
    Error = "the server module has no command launcher";
    return false;
  }
  Result = Launcher->LaunchCommand(Name.c_str(), Parameters.c_str(), 0, CurrentView());
  Launcher->Release();
  return true;
}

bool THost::Stop(std::string* Error) {
  std::string Problem;
  // The module's destructor runs on this release; its unit finalizations run when it
  // is unloaded after that.
  if (FModule) {
    ULONG Left = FModule->Release();
    if (Left != 0)
      Problem = "the server module still has " + std::to_string(Left) +
                " references after the host released it";
  }
  FModule = nullptr;
  if (FServerModule && !FreeLibrary(FServerModule) && Problem.empty())
    Problem = "cannot unload the server module (error " + std::to_string(GetLastError()) + ")";
  FServerModule = nullptr;
  // The boards go with the editor module: what the run made is saved first.
  for (THostDocument* Document : FDocuments) SaveOutput(Document);
  if (!FOutputProblems.empty() && Problem.empty()) Problem = FOutputProblems.front();
  FOutputProblems.clear();
  for (THostDocument* Document : FDocuments) Document->ForgetBoard();
  if (!FEditor.Unload() && Problem.empty())
    Problem = "cannot unload the editor module (error " + std::to_string(GetLastError()) + ")";
  if (FWorkspaceModule && !FreeLibrary(FWorkspaceModule) && Problem.empty())
    Problem = "cannot unload the workspace module (error " + std::to_string(GetLastError()) + ")";
  FWorkspaceModule = nullptr;
  if (Error) *Error = Problem;
  return Problem.empty();
}

// ---------------------------------------------------------------------------------
// Messages

int THost::RunMessageLoop() {
  if (!FMainWindow) return 0;
  FRunningLoop = true;
  MSG Message;
  for (;;) {
    while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) {
      if (Message.message == WM_QUIT) {
        FRunningLoop = false;
        return static_cast<int>(Message.wParam);
      }
      TranslateMessage(&Message);
      DispatchMessageA(&Message);
    }
    if (FModule) FModule->ApplicationIdle();
    WaitMessage();
  }
}

void THost::ProcessMessages() {
  MSG Message;
  while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) {
    if (Message.message == WM_QUIT) {
      // Leave it for the loop that is waiting for it.
      PostQuitMessage(static_cast<int>(Message.wParam));
      return;
    }
    TranslateMessage(&Message);
    DispatchMessageA(&Message);
  }
}

void THost::MainWindowDestroyed() {
  FMainWindow = nullptr;
  if (FRunningLoop) PostQuitMessage(0);
}

// ---------------------------------------------------------------------------------
// Creation

THost* CreateHost(const THostOptions& Options) {
  THost* Host = nullptr;
  try {
    Host = new THost(Options);
  } catch (...) {
    return nullptr;
  }
  if (!Host->MainWindow()) {
    delete Host;
    return nullptr;
  }
  GCurrentHost = Host;
  return Host;
}

void DestroyHost(THost* Host) {
  if (!Host) return;
  if (GCurrentHost == Host) GCurrentHost = nullptr;
  delete Host;
}

THost* GetCurrentHost() { return GCurrentHost; }
