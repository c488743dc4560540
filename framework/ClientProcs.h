// The host executable's exported client functions, the module-wide host client, and
// the small services built on the client: running a host process, the main window,
// document kinds and free document names.
#pragma once

#include <windows.h>

#include "classlib/SysTypes.h"
#include "framework/RT_ClientServerInterface.h"

// The exported client functions of the host executable, in binding order.
inline constexpr int ClientApiEntryCount = 77;
extern const char* const ClientApiNames[ClientApiEntryCount];

// The host executable's module handle, set by LoadClientApi.
extern HMODULE HostModule;
// The bound entries, index for index with ClientApiNames; nullptr when the host
// executable does not export that name.
extern FARPROC ClientApiEntries[ClientApiEntryCount];

// Takes the host executable's handle and binds every entry by name. Binding again
// repeats the same lookups.
void LoadClientApi();

// The host's client through the executable's exported query; nullptr when that export
// is missing. Stores a counted reference (or nullptr) in Client.
void QueryClientInterface(IClient** Client);

// Whether the host reports a file or folder at Path; false when the export is missing.
bool ClientFileExists(const AnsiString& Path);

// A text the host handed over; nullptr reads as empty.
AnsiString HostText(const char* Text);

// The module-wide host client. It is stored without taking a reference: the host
// outlives the module. GetClient stores a counted copy, or nullptr.
void SetClient(IClient* Value);
void GetClient(IClient** Value);

// Runs one of the host's named processes through the client's process launcher. False
// when there is no client, when the client has no process launcher, or when the host
// reports a failure.
bool RunClientProcess(const AnsiString& Process, const char* Parameters, int BufferLength,
                      IServerDocumentView* View);

// The host's main window, the parent of every dialog; 0 when there is no client.
HWND GetClientMainWindow();

// The default base name and file extension of a document kind. False, with both
// texts empty, for a kind the host does not know or when there is no client.
bool GetDocumentKindDefaults(const AnsiString& Kind, AnsiString& BaseName, AnsiString& Extension);

// A document name of the kind that no open document has; empty for an unknown kind.
AnsiString GetFreeDocumentName(const AnsiString& Kind);

// The highest number the free-name search tries.
inline constexpr int MaxFreeDocumentNumber = 100000;
// The first of BaseName + n + "." + Extension, for n = 1, 2, ... up to
// MaxFreeDocumentNumber, that the host has no open document for. Empty when every one
// of them is open or when there is no client.
AnsiString FindFreeDocumentNameFrom(const AnsiString& BaseName, const AnsiString& Extension);

// Unit start: binds the client functions and keeps the host's client.
void InitClientProcs();
