#include "framework/RT_Workspace.h"

#include "classlib/Objects.h"

namespace {
HMODULE WorkspaceModule = nullptr;
TGetWorkspace GetWorkspaceEntry = nullptr;
}  // namespace

void GetWorkspaceInterface(IWorkspace** Workspace) {
  *Workspace = nullptr;
  if (!WorkspaceModule) {
    WorkspaceModule = GetModuleHandleA(WorkspaceModuleName);
    if (WorkspaceModule)
      GetWorkspaceEntry = reinterpret_cast<TGetWorkspace>(
          reinterpret_cast<void*>(GetProcAddress(WorkspaceModule, "GetWorkspace")));
  }
  if (!GetWorkspaceEntry) return;
  HRESULT Status = GetWorkspaceEntry(Workspace);
  if (FAILED(Status)) {
    // A failing call hands nothing back; drop anything it left there.
    if (*Workspace) (*Workspace)->Release();
    *Workspace = nullptr;
    OleCheck(Status);
  }
}
