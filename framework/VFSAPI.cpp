#include "framework/VFSAPI.h"

#include "framework/ClientProcs.h"

FARPROC VfsApiEntries[VfsApiEntryCount] = {};

void LoadVfsApi() {
  ClearVfsApi();
  if (!HostModule) return;
  VfsApiEntries[0] = GetProcAddress(HostModule, VfsApiFirstName);
  VfsApiEntries[VfsApiEntryCount - 1] = GetProcAddress(HostModule, VfsApiLastName);
}

void ClearVfsApi() {
  for (FARPROC& Entry : VfsApiEntries) Entry = nullptr;
}

void InitVfsApi() {
  LoadClientApi();
  LoadVfsApi();
}

void DoneVfsApi() { ClearVfsApi(); }
