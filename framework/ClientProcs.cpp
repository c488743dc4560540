#include "framework/ClientProcs.h"

#include "classlib/Objects.h"
#include "classlib/StrUtils.h"

const char* const ClientApiNames[ClientApiEntryCount] = {
    "ClientApi_GetCurrentUserID",
    "ClientApi_QueryEntity",
    "ClientApi_QueryDocumentEntity",
    "ClientApi_GetDocumentEntityAbsoluteAddress",
    "ClientApi_GetDocumentOwnerBinder",
    "ClientApi_GetEditorKindByAddress",
    "ClientApi_CreateIterator",
    "ClientApi_DestroyIterator",
    "ClientApi_GetFirstEntity",
    "ClientApi_GetNextEntity",
    "ClientApi_OpenDocumentEntity",
    "ClientApi_SetAsCurrentDocument",
    "ClientApi_RunDocumentPropertiesDialog",
    "ClientApi_RepopulateDocumentEntity",
    "ClientApi_FindChildDocumentInBinder",
    "ClientApi_FindDocumentByNameInSameFolder",
    "ClientApi_FindDocumentInstanceAlreadyOpen",
    "ClientApi_FindBinderFromAnyDataHandle",
    "ClientApi_FindEntityByStorageName",
    "ClientApi_FindEntityByDataHandle",
    "ClientApi_PerformBackupSaveForDocumentEntity",
    "ClientApi_SendCommandToModule",
    "ClientApi_PerformSaveForDocumentEntity",
    "ClientApi_PerformLoadForDocumentEntity",
    "ClientAPI_CreateDocumentLoader",
    "ClientApi_DestroyDocumentLoader",
    "ClientApi_DestroyDocumentLoaderEx",
    "ClientApi_LoadDocument",
    "ClientApi_ShowDocument",
    "ClientAPI_AddKeyStrokeDontLaunch",
    "ClientAPI_LaunchCurrentHotkey",
    "ClientAPI_AddKeyStrokeAndLaunch",
    "ClientAPI_CheckProcessParameters",
    "ClientAPI_GetClientInterface",
    "ClientAPI_GetPrefAnimatedPanels",
    "ClientAPI_GetPrefSaveToolsLayout",
    "ClientAPI_GetPrefAutoTransparency",
    "ClientAPI_GetPrefDynamicAutoTransparency",
    "ClientAPI_GetPrefSuppressStartupScreen",
    "ClientAPI_GetPrefSuppressProductStartup",
    "ClientAPI_GetPrefTransparencyHighest",
    "ClientAPI_GetPrefTransparencyLowest",
    "ClientAPI_GetPrefTransparencyForce",
    "ClientAPI_SetPrefAnimatedPanels",
    "ClientAPI_SetPrefSaveToolsLayout",
    "ClientAPI_SetPrefAutoTransparency",
    "ClientAPI_SetPrefDynamicAutoTransparency",
    "ClientAPI_SetPrefSuppressStartupScreen",
    "ClientAPI_SetPrefSuppressProductStartup",
    "ClientAPI_SetPrefTransparencyHighest",
    "ClientAPI_SetPrefTransparencyLowest",
    "ClientAPI_SetPrefTransparencyForce",
    "ClientAPI_GetPrefPopupDelay",
    "ClientAPI_SetPrefPopupDelay",
    "ClientAPI_GetPrefHideDelay",
    "ClientAPI_SetPrefHideDelay",
    "ClientAPI_GetPrefAnimationSpeed",
    "ClientAPI_SetPrefAnimationSpeed",
    "ClientAPI_ShowProductStartup",
    "ClientAPI_HideProductStartup",
    "ClientAPI_ConvertFileNameToWildCard",
    "ClientAPI_EraseFile",
    "ClientAPI_ExistSpecific",
    "ClientAPI_ExtractFileDirFromPath",
    "ClientAPI_ExtractFileExtFromPath",
    "ClientAPI_ExtractFileNameFromPath",
    "ClientAPI_ExtractWholeFileNameFromPath",
    "ClientAPI_FilePathInShort",
    "ClientAPI_GetPCharFromFile",
    "ClientAPI_ForceFileNameExtension",
    "ClientAPI_GetFileSize",
    "ClientAPI_IsFileReadOnly",
    "ClientAPI_MakeNewBackUp",
    "ClientAPI_RemoveModuleFromMemory",
    "ClientAPI_SameFileName",
    "ClientAPI_SetFileFromPChar",
    "ClientAPI_ConvertFileNameToExeFileName",
};

HMODULE HostModule = nullptr;
FARPROC ClientApiEntries[ClientApiEntryCount] = {};

namespace {

// The two entries the module calls.
constexpr int GetClientInterfaceEntry = 33;
constexpr int ExistSpecificEntry = 62;

// The host client, held without a reference.
IClient* ModuleClient = nullptr;

}  // namespace

AnsiString HostText(const char* Text) { return Text ? AnsiString(Text) : AnsiString(); }

void LoadClientApi() {
  HostModule = GetModuleHandleA(nullptr);
  for (int I = 0; I < ClientApiEntryCount; ++I)
    ClientApiEntries[I] = HostModule ? GetProcAddress(HostModule, ClientApiNames[I]) : nullptr;
}

void QueryClientInterface(IClient** Client) {
  *Client = nullptr;
  if (FARPROC Entry = ClientApiEntries[GetClientInterfaceEntry])
    reinterpret_cast<TClientAPI_GetClientInterface>(reinterpret_cast<void*>(Entry))(Client);
}

bool ClientFileExists(const AnsiString& Path) {
  FARPROC Entry = ClientApiEntries[ExistSpecificEntry];
  if (!Entry) return false;
  return reinterpret_cast<TClientAPI_ExistSpecific>(reinterpret_cast<void*>(Entry))(Path.c_str()) !=
         FALSE;
}

void SetClient(IClient* Value) { ModuleClient = Value; }

void GetClient(IClient** Value) {
  *Value = ModuleClient;
  if (ModuleClient) ModuleClient->AddRef();
}

bool RunClientProcess(const AnsiString& Process, const char* Parameters, int BufferLength,
                      IServerDocumentView* View) {
  TInterfaceRef<IClient> Client;
  GetClient(&Client);
  if (!Client) return false;
  TInterfaceRef<IProcessLauncher> Launcher;
  if (FAILED(Client->QueryInterface(IID_IProcessLauncher, reinterpret_cast<void**>(&Launcher))) ||
      !Launcher)
    return false;
  return Launcher->RunProcess(Process.c_str(), Parameters, BufferLength, View) != 0;
}

HWND GetClientMainWindow() {
  TInterfaceRef<IClient> Client;
  GetClient(&Client);
  return Client ? Client->GetMainWindowHandle() : nullptr;
}

bool GetDocumentKindDefaults(const AnsiString& Kind, AnsiString& BaseName, AnsiString& Extension) {
  BaseName.clear();
  Extension.clear();
  TInterfaceRef<IClient> Client;
  GetClient(&Client);
  if (!Client) return false;
  TInterfaceRef<IDocumentKind> DocumentKind;
  Client->GetDocumentKindByName(Kind.c_str(), &DocumentKind);
  if (!DocumentKind) return false;
  BaseName = HostText(DocumentKind->GetDefaultBaseName());
  Extension = HostText(DocumentKind->GetDefaultExtension());
  return true;
}

AnsiString GetFreeDocumentName(const AnsiString& Kind) {
  AnsiString BaseName, Extension;
  if (!GetDocumentKindDefaults(Kind, BaseName, Extension)) return AnsiString();
  return FindFreeDocumentNameFrom(BaseName, Extension);
}

AnsiString FindFreeDocumentNameFrom(const AnsiString& BaseName, const AnsiString& Extension) {
  TInterfaceRef<IClient> Client;
  GetClient(&Client);
  if (!Client) return AnsiString();
  // Every candidate is checked: a name is only handed out when no open document has it.
  for (int Number = 1; Number <= MaxFreeDocumentNumber; ++Number) {
    AnsiString Name = BaseName + IntToStr(Number) + "." + Extension;
    TInterfaceRef<IServerDocument> Document;
    Client->GetDocumentByPath(Name.c_str(), &Document);
    if (!Document) return Name;
  }
  return AnsiString();
}

void InitClientProcs() {
  LoadClientApi();
  TInterfaceRef<IClient> Client;
  QueryClientInterface(&Client);
  SetClient(Client.Get());
}
