// The host stand-in's core: one host object with its client interface, main window,
// document kinds, open documents and views, its PCB server module, the record of the
// processes it was asked to run, and the loading of the workspace module, the PCB
// editor module and the server module. PcbHost.exe is a thin main around it; test
// programs create a host in-process with CreateHost and free it with DestroyHost.
//
// One host at a time: CreateHost makes the new host the current one, which the
// exported ClientAPI_GetClientInterface hands out; DestroyHost clears it again.
// Everything here runs on the thread that created the host.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/RT_ClientServerInterface.h"
#include "host/HostEditor.h"

class THostClient;
class THostDocument;
class THostDocumentKind;
class THostPcbModule;
class THostHelpPanel;

struct THostOptions {
  // The install folder (with or without a trailing backslash) from which the workspace
  // and server modules are loaded; empty for the running executable's folder.
  std::string Folder;
  // Whether the main window is shown when it is created (it exists in either case).
  bool ShowMainWindow = false;
  // When not empty: the folder (made when missing, not its parents) into which every
  // PCB document's board is saved when the document is closed and when the host stops,
  // as <name>.txt (text) and <name>.png (a picture of OutputPictureWidth x
  // OutputPictureHeight pixels). <name> is the document's file name without folder and
  // extension; a name another document of the run already took gets " (2)", " (3)", ...
  std::string OutputFolder;
};

inline constexpr int OutputPictureWidth = 1024;
inline constexpr int OutputPictureHeight = 768;

// One call of IProcessLauncher::RunProcess, as the host received it.
struct THostProcessRecord {
  std::string Process;
  std::string Parameters;
  int BufferLength = 0;
  // The view passed in (identity only: not a counted reference) and its view name;
  // nullptr and "" when the caller passed no view.
  IServerDocumentView* View = nullptr;
  std::string ViewName;
  // Whether the host knows the process (the call returned non-zero).
  bool Accepted = false;
};

class THost {
 public:
  explicit THost(const THostOptions& Options);
  ~THost();
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;

  // The install folder, with a trailing backslash.
  const std::string& Folder() const { return FFolder; }
  // The host's IClient (not counted: valid while the host lives; AddRef to keep it).
  IClient* Client() const;
  // The main window, the owner of every dialog.
  HWND MainWindow() const { return FMainWindow; }

  // Document kinds. "PCB" (base name "PCB", extension "PcbDoc") is there from the start;
  // AddDocumentKind adds another or replaces one of the same name (names ignore case).
  void AddDocumentKind(const std::string& Name, const std::string& BaseName,
                       const std::string& Extension);
  THostDocumentKind* FindDocumentKind(const std::string& Name) const;

  // Open documents, in the order they were opened. The host holds one reference to
  // each; the pointers stay valid until the document is closed.
  int DocumentCount() const { return static_cast<int>(FDocuments.size()); }
  THostDocument* Document(int Index) const;
  // The open document whose file name equals Path (ignoring letter case), or nullptr.
  THostDocument* FindDocument(const std::string& Path) const;
  // Opens a document of the kind (nullptr for an unknown kind): from FileName when
  // that names an existing file (a template), nothing when it names a folder, else a
  // blank document under that name.
  // A PCB document gets its board from the PCB editor module, which is loaded here
  // when it is not loaded yet; without the module (or when it cannot read the
  // template) the document opens without a board.
  THostDocument* OpenDocument(const std::string& Kind, const std::string& FileName);
  // Closes an open document (and its board), saving its board into the output folder
  // first; does nothing for one that is not open.
  void CloseDocument(IServerDocument* Document);
  // Closes an open document (and its board) without saving it: what the PCB server
  // module's RemoveDocument does, for a document the module lets go of. Does nothing
  // for one that is not open.
  void DiscardDocument(IServerDocument* Document);
  // The document last passed to ShowDocument (while it is open), and its first view.
  THostDocument* CurrentDocument() const { return FCurrent; }
  IServerDocumentView* CurrentView() const;
  // Makes an open document the current one (what IClient::ShowDocument does).
  void ShowDocument(IServerDocument* Document);

  // What the module asked of the host.
  const std::vector<THostProcessRecord>& Processes() const { return FProcesses; }
  void ClearProcesses() { FProcesses.clear(); }
  const std::vector<std::string>& StartedServers() const { return FStartedServers; }
  int HelpPanelPrepareCount() const;
  // Whether GetHelpPanel (slot 17) hands out the panel; when off it answers nullptr.
  // On from the start.
  void SetHelpPanelOffered(bool Value) { FHelpPanelOffered = Value; }

  // Help topics: a topic key "Prefix:Rest" belongs to the module file registered for
  // Prefix (ignoring letter case). "PCB" maps to "Merovan.dll" and "Tarvik" to
  // "Tarvik.dll" from the start.
  void SetHelpModule(const std::string& Prefix, const std::string& ModuleFileName);
  const char* HelpModuleName(const std::string& TopicKey) const;

  // The workspace module "Halvorn.dll", loaded from the install folder. Returns false
  // and fills Error when it cannot be loaded.
  bool LoadWorkspace(std::string& Error);
  bool WorkspaceLoaded() const { return FWorkspaceModule != nullptr; }
  // The file names the workspace was handed, in order (empty when it is not loaded).
  std::vector<std::string> WorkspaceFileNames() const;

  // The PCB editor module "Merovan.dll", loaded from the install folder (at Start, or
  // when the first PCB document is opened). Returns false and fills Error when it
  // cannot be loaded.
  bool LoadEditor(std::string& Error);
  // The editor module, or nullptr while it is not loaded.
  HMODULE EditorModule() const { return FEditor.Module(); }

  // Start-up in the host's order: the workspace module, the PCB editor module, then
  // the server module (FileName in the install folder, e.g. "Tarvik.dll") and its
  // ServerFactory.
  // Returns false with a message in Error when anything is missing or fails; what
  // was loaded is then unloaded again.
  bool Start(const std::string& ModuleFileName, std::string& Error);
  // The server module's interface (not counted), or nullptr when none is loaded.
  IServerModule* Module() const { return FModule; }
  // Launches a command through the module's command launcher, with the current view
  // (or nullptr) as the context. Returns false with Error when there is no module or
  // launcher; otherwise Result is the launcher's answer (0 for an unknown command).
  bool LaunchCommand(const std::string& Name, const std::string& Parameters, int& Result,
                     std::string& Error);
  // Shutdown: releases the module's IServerModule, then saves the open documents'
  // boards into the output folder (when there is one), then unloads the server
  // module, the editor module (the open documents lose their boards) and the workspace
  // module. Safe to call when nothing is loaded. Returns false (and fills *Error when
  // given) when the module's object outlived the release, a module could not be
  // unloaded, or a board could not be saved to the output folder (now or when its
  // document was closed); everything is let go of all the same.
  bool Stop(std::string* Error = nullptr);

  // Runs the message loop until the main window is closed, telling the server module
  // when the queue runs empty (IServerModule::ApplicationIdle). Returns the exit code
  // carried by WM_QUIT.
  int RunMessageLoop();
  // Handles every message waiting in the thread's queue and returns.
  void ProcessMessages();

  // Used by the host's own objects.
  THostPcbModule* PcbModule() const { return FPcbModule; }
  // The help panel, or nullptr while it is not offered.
  IHelpPanel* HelpPanel() const;
  void RecordProcess(const THostProcessRecord& Record) { FProcesses.push_back(Record); }
  void RecordStartServer(const std::string& Name) { FStartedServers.push_back(Name); }
  // Called by the main window when it is destroyed.
  void MainWindowDestroyed();

 private:
  // Saves the document's board into the output folder, when there is one and the
  // document has a board; a failure is kept for Stop to report.
  void SaveOutput(THostDocument* Document);
  // Takes an open document out of the host and closes it, saving it first when Save is
  // true; does nothing for one that is not open.
  void RemoveOpenDocument(IServerDocument* Document, bool Save);

  struct THelpModule {
    std::string Prefix;
    std::string FileName;
  };

  std::string FFolder;
  THostClient* FClient = nullptr;             // one counted reference
  THostPcbModule* FPcbModule = nullptr;       // one counted reference
  THostHelpPanel* FHelpPanel = nullptr;       // one counted reference
  bool FHelpPanelOffered = true;
  std::vector<THostDocumentKind*> FKinds;     // one counted reference each
  std::vector<THostDocument*> FDocuments;     // one counted reference each
  THostDocument* FCurrent = nullptr;          // one of FDocuments, or nullptr
  std::vector<THostProcessRecord> FProcesses;
  std::vector<std::string> FStartedServers;
  std::vector<THelpModule> FHelpModules;
  HWND FMainWindow = nullptr;
  bool FRunningLoop = false;
  HMODULE FWorkspaceModule = nullptr;
  THostEditor FEditor;
  HMODULE FServerModule = nullptr;
  IServerModule* FModule = nullptr;           // one counted reference
  std::string FOutputFolder;                  // with a trailing backslash, or ""
  std::vector<std::string> FOutputNames;      // the names taken in the output folder
  std::vector<std::string> FOutputProblems;   // not yet reported by Stop
};

// Creates the host (with its main window) and makes it the current host.
THost* CreateHost(const THostOptions& Options = THostOptions());
// Shuts the host down (Stop, closes its documents, destroys its main window) and frees
// it. References the module still holds to host objects stay safe to call: those
// objects then answer with their failure values.
void DestroyHost(THost* Host);
// The current host, or nullptr.
THost* GetCurrentHost();
