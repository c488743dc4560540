// The contracts between the module and its host: the host's interfaces, the module's
// interfaces, and the exported functions on both sides. The host stand-in includes this
// header too, so both sides agree at compile time.
//
// Every interface has the COM layout: stdcall methods, QueryInterface, AddRef and
// Release in vtable slots 0 to 2. The slot number of each method is given in its
// comment. Slots the module never calls are placeholders named ReservedN that answer
// E_NOTIMPL; they exist so that every used slot sits at its number, and an
// implementation need not write them out.
//
// A method that hands back an interface takes a last parameter that points to the
// interface pointer; the callee stores a counted reference there (or nullptr) and the
// caller releases it. Other results come back as the return value.
#pragma once

#include <windows.h>
#include <unknwn.h>

#define TARVIK_RESERVED(n) \
  virtual HRESULT STDMETHODCALLTYPE Reserved##n() { return E_NOTIMPL; }

// ---------------------------------------------------------------------------------
// Host interfaces

inline constexpr GUID IID_IExternalForm = {
    0x85961389, 0x4EF1, 0x4825, {0x83, 0x7C, 0xAC, 0xB0, 0x84, 0xEA, 0xD2, 0x6D}};
inline constexpr GUID IID_IServerView = {
    0xE41CD335, 0x2DA9, 0x45DA, {0x84, 0xBB, 0x7A, 0x20, 0x65, 0xF0, 0xE1, 0x07}};
inline constexpr GUID IID_IServerDocumentView = {
    0xCBB0773D, 0xD227, 0x45E6, {0x84, 0x79, 0x0C, 0x6B, 0xB1, 0x3D, 0xC8, 0xD3}};
inline constexpr GUID IID_IServerDocument = {
    0xAFC2251E, 0xCC50, 0x4C65, {0xB5, 0x8F, 0x4C, 0x87, 0xF5, 0xF1, 0x95, 0x84}};
inline constexpr GUID IID_IClient = {
    0x4C11EF71, 0x6297, 0x4E2B, {0x90, 0xD1, 0x7F, 0x5F, 0x1A, 0x9E, 0x2A, 0xDE}};
inline constexpr GUID IID_IProcessLauncher = {
    0x8452C443, 0x703F, 0x4881, {0xB7, 0xAC, 0xC3, 0x35, 0x50, 0x79, 0x4A, 0xA6}};
inline constexpr GUID IID_IServerModule = {
    0xCF7702C4, 0x5044, 0x49E3, {0xBE, 0x46, 0x37, 0xB9, 0xF8, 0xFB, 0x82, 0x03}};
inline constexpr GUID IID_ICommandLauncher = {
    0xB3F5F50A, 0xC728, 0x462B, {0x8C, 0x35, 0x0A, 0xF0, 0x7A, 0xEF, 0xE6, 0xD5}};
inline constexpr GUID IID_IProcessControl = {
    0xBAF46BDA, 0x19A1, 0x4848, {0xBF, 0xAC, 0x2B, 0xEC, 0x07, 0x8C, 0x89, 0x11}};

struct IServerModule;

// A window the host shows for a document or a tool.
struct IExternalForm : IUnknown {
  TARVIK_RESERVED(3)
  TARVIK_RESERVED(4)
  TARVIK_RESERVED(5)
  TARVIK_RESERVED(6)
  TARVIK_RESERVED(7)
  TARVIK_RESERVED(8)
};

struct IServerView : IExternalForm {
  TARVIK_RESERVED(9)
  TARVIK_RESERVED(10)
  TARVIK_RESERVED(11)
  TARVIK_RESERVED(12)
  TARVIK_RESERVED(13)
};

// A view of a document.
struct IServerDocumentView : IServerView {
  virtual const char* STDMETHODCALLTYPE GetViewName() = 0;  // 14: the view kind, e.g. "PCBEditor"
};

// An open document of one of the host's server modules.
struct IServerDocument : IUnknown {
  TARVIK_RESERVED(3)
  TARVIK_RESERVED(4)
  TARVIK_RESERVED(5)
  TARVIK_RESERVED(6)
  TARVIK_RESERVED(7)
  virtual void STDMETHODCALLTYPE DoFileLoad() = 0;  // 8: loads the document's content
  TARVIK_RESERVED(9)
  TARVIK_RESERVED(10)
  virtual int STDMETHODCALLTYPE GetCount() = 0;                        // 11: number of views
  virtual const char* STDMETHODCALLTYPE GetFileName() = 0;             // 12
  virtual void STDMETHODCALLTYPE SetFileName(const char* FileName) = 0;  // 13
  TARVIK_RESERVED(14)
  TARVIK_RESERVED(15)
  TARVIK_RESERVED(16)
  TARVIK_RESERVED(17)
  TARVIK_RESERVED(18)
  virtual void STDMETHODCALLTYPE GetView(int Index, IServerDocumentView** View) = 0;  // 19
};

// Runs one of the host's named processes (for example "PCB:Zoom").
struct IProcessLauncher : IUnknown {
  TARVIK_RESERVED(3)
  // 4: non-zero on success. Parameters is the "Name=Value|..." text; BufferLength is
  // the size of the caller's parameter buffer.
  virtual int STDMETHODCALLTYPE RunProcess(const char* Process, const char* Parameters,
                                           int BufferLength, IServerDocumentView* View) = 0;
};

// A kind of document the host knows ("PCB", ...).
struct IDocumentKind : IUnknown {
  TARVIK_RESERVED(3)
  TARVIK_RESERVED(4)
  virtual const char* STDMETHODCALLTYPE GetDefaultBaseName() = 0;   // 5, e.g. "PCB"
  virtual const char* STDMETHODCALLTYPE GetDefaultExtension() = 0;  // 6, e.g. "PcbDoc"
};

// The panel the host asks to make room before a popup help window is shown.
struct IHelpPanel : IUnknown {
  TARVIK_RESERVED(3)
  TARVIK_RESERVED(4)
  TARVIK_RESERVED(5)
  TARVIK_RESERVED(6)
  TARVIK_RESERVED(7)
  TARVIK_RESERVED(8)
  TARVIK_RESERVED(9)
  TARVIK_RESERVED(10)
  TARVIK_RESERVED(11)
  virtual void STDMETHODCALLTYPE PrepareForPopup() = 0;  // 12
};

// The host application.
struct IClient : IUnknown {
  TARVIK_RESERVED(3)
  TARVIK_RESERVED(4)
  TARVIK_RESERVED(5)
  TARVIK_RESERVED(6)
  TARVIK_RESERVED(7)
  TARVIK_RESERVED(8)
  virtual HWND STDMETHODCALLTYPE GetApplicationHandle() = 0;  // 9
  TARVIK_RESERVED(10)
  TARVIK_RESERVED(11)
  TARVIK_RESERVED(12)
  TARVIK_RESERVED(13)
  // 14: the open document with that path, or nullptr.
  virtual void STDMETHODCALLTYPE GetDocumentByPath(const char* Path, IServerDocument** Document) = 0;
  virtual HWND STDMETHODCALLTYPE GetMainWindowHandle() = 0;  // 15
  TARVIK_RESERVED(16)
  // 17: the help panel (Index -1, Name "" for the current one).
  virtual void STDMETHODCALLTYPE GetHelpPanel(int Index, const char* Name, IHelpPanel** Panel) = 0;
  TARVIK_RESERVED(18)
  // 19: a server module of the host by name ("PCB"), or nullptr.
  virtual void STDMETHODCALLTYPE GetServerModuleByName(const char* Name, IServerModule** Module) = 0;
  TARVIK_RESERVED(20)
  TARVIK_RESERVED(21)
  // 22: a document kind by name, or nullptr for an unknown kind.
  virtual void STDMETHODCALLTYPE GetDocumentKindByName(const char* Kind, IDocumentKind** DocumentKind) = 0;
  TARVIK_RESERVED(23)
  TARVIK_RESERVED(24)
  virtual BOOL STDMETHODCALLTYPE StartServer(const char* Name) = 0;  // 25: loads a server module
  TARVIK_RESERVED(26)
  TARVIK_RESERVED(27)
  TARVIK_RESERVED(28)
  TARVIK_RESERVED(29)
  TARVIK_RESERVED(30)
  virtual void STDMETHODCALLTYPE ShowDocument(IServerDocument* Document) = 0;  // 31
  TARVIK_RESERVED(32)
  TARVIK_RESERVED(33)
  TARVIK_RESERVED(34)
  TARVIK_RESERVED(35)
  TARVIK_RESERVED(36)
  TARVIK_RESERVED(37)
  TARVIK_RESERVED(38)
  // 39: the file name of the module whose help holds the topic, or nullptr.
  virtual const char* STDMETHODCALLTYPE GetHelpModuleName(const char* TopicKey) = 0;
};

// The host's workspace (projects and the files in them).
struct IWorkspace : IUnknown {
  TARVIK_RESERVED(3) TARVIK_RESERVED(4) TARVIK_RESERVED(5) TARVIK_RESERVED(6)
  TARVIK_RESERVED(7) TARVIK_RESERVED(8) TARVIK_RESERVED(9) TARVIK_RESERVED(10)
  TARVIK_RESERVED(11) TARVIK_RESERVED(12) TARVIK_RESERVED(13) TARVIK_RESERVED(14)
  TARVIK_RESERVED(15) TARVIK_RESERVED(16) TARVIK_RESERVED(17) TARVIK_RESERVED(18)
  TARVIK_RESERVED(19) TARVIK_RESERVED(20) TARVIK_RESERVED(21) TARVIK_RESERVED(22)
  TARVIK_RESERVED(23) TARVIK_RESERVED(24) TARVIK_RESERVED(25) TARVIK_RESERVED(26)
  TARVIK_RESERVED(27) TARVIK_RESERVED(28) TARVIK_RESERVED(29) TARVIK_RESERVED(30)
  TARVIK_RESERVED(31) TARVIK_RESERVED(32) TARVIK_RESERVED(33) TARVIK_RESERVED(34)
  TARVIK_RESERVED(35) TARVIK_RESERVED(36) TARVIK_RESERVED(37) TARVIK_RESERVED(38)
  TARVIK_RESERVED(39) TARVIK_RESERVED(40) TARVIK_RESERVED(41) TARVIK_RESERVED(42)
  TARVIK_RESERVED(43) TARVIK_RESERVED(44)
  // 45: adds a file to the focused project. FileName is a BSTR the caller frees.
  virtual HRESULT STDMETHODCALLTYPE AddDocumentFile(BSTR FileName) = 0;
};

// ---------------------------------------------------------------------------------
// Interfaces the module hands to the host

struct ICommandLauncher : IUnknown {
  // 3: 0 when no command of that name is registered, else the command's result.
  virtual int STDMETHODCALLTYPE LaunchCommand(const char* Name, const char* Parameters, int Unused,
                                              IServerDocumentView* Context) = 0;
  // 4: presets the three flags and the two texts, then lets the command's state
  // routine change them.
  virtual void STDMETHODCALLTYPE GetCommandState(const char* Name, const char* Parameters,
                                                 IServerDocumentView* Context, BOOL* Enabled,
                                                 BOOL* Checked, BOOL* Visible, char* Caption,
                                                 char* ImageFile) = 0;
};

struct IProcessControl : IUnknown {
  virtual int STDMETHODCALLTYPE GetProcessDepth() = 0;                           // 3
  virtual void STDMETHODCALLTYPE DecProcessDepth(IUnknown* Unused1, int Unused2) = 0;  // 4
  virtual void STDMETHODCALLTYPE IncProcessDepth(IUnknown* Unused1, int Unused2) = 0;  // 5
  virtual void STDMETHODCALLTYPE SetProcessDepth(int Depth) = 0;                 // 6
};

struct IServerModule : IUnknown {
  virtual void STDMETHODCALLTYPE ApplicationIdle() = 0;                          // 3
  virtual void STDMETHODCALLTYPE ReceiveNotification(IUnknown* Notification) = 0;  // 4
  virtual void STDMETHODCALLTYPE CreateDocument(const char* Kind, const char* FileName,
                                                IServerDocument** Document) = 0;  // 5
  virtual void STDMETHODCALLTYPE RemoveDocument(IServerDocument* Document) = 0;   // 6
  virtual void STDMETHODCALLTYPE GetClient(IClient** Client) = 0;                 // 7
  virtual void STDMETHODCALLTYPE GetCommandLauncher(ICommandLauncher** Launcher) = 0;  // 8
  virtual int STDMETHODCALLTYPE GetDocumentCount() = 0;                           // 9
  virtual void STDMETHODCALLTYPE GetDocument(int Index, IServerDocument** Document) = 0;  // 10
  virtual HINSTANCE STDMETHODCALLTYPE GetInstanceHandle() = 0;                    // 11
  virtual const char* STDMETHODCALLTYPE GetModuleName() = 0;                      // 12
  virtual void STDMETHODCALLTYPE GetProcessControl(IProcessControl** Control) = 0;  // 13
  virtual int STDMETHODCALLTYPE GetAuxInterfaceCount() = 0;                       // 14
  virtual void STDMETHODCALLTYPE GetAuxInterface(int Index, IUnknown** Interface) = 0;  // 15
  virtual int STDMETHODCALLTYPE ReservedQuery() = 0;                              // 16
};

#undef TARVIK_RESERVED

// ---------------------------------------------------------------------------------
// Exported functions

// The module's factory: stores the module's IServerModule (counted) in Module.
using TServerFactory = void(WINAPI*)(IServerModule** Module, IClient* Client);

// Exported by the host executable: stores the host's IClient (counted) in Client.
using TClientAPI_GetClientInterface = void(WINAPI*)(IClient** Client);
// Exported by the host executable: whether a file or folder exists at Path.
using TClientAPI_ExistSpecific = BOOL(WINAPI*)(const char* Path);

// Exported by the workspace module "Halvorn.dll": stores the workspace (counted) in
// Workspace; a failing status when there is none.
using TGetWorkspace = HRESULT(WINAPI*)(IWorkspace** Workspace);
