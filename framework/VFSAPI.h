// The host executable's exported virtual-file-system functions. The module binds the
// table at load and clears it at unload but never calls an entry.
#pragma once

#include <windows.h>

inline constexpr int VfsApiEntryCount = 78;
inline constexpr const char* VfsApiFirstName = "VFSAPI_VFS_MapVirtualDrive";
inline constexpr const char* VfsApiLastName = "VFSAPI_VFS_CreateStorageDevice";

// The first and last entries are bound by name; the slots between them have no names
// the module relies on, so they stay nullptr.
extern FARPROC VfsApiEntries[VfsApiEntryCount];

// Binds the table from the host executable when its handle is known.
void LoadVfsApi();
// Clears every entry.
void ClearVfsApi();

// Unit start and end.
void InitVfsApi();
void DoneVfsApi();
