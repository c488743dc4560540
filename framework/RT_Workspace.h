// The host's workspace, reached through the workspace module's exported GetWorkspace.
#pragma once

#include "framework/RT_ClientServerInterface.h"

// The workspace module's file name; the module never loads it itself.
inline constexpr const char* WorkspaceModuleName = "Halvorn.dll";

// Stores the host's workspace (counted) in Workspace, or nullptr while the workspace
// module is not loaded or has no GetWorkspace export. A failing status from the
// workspace module raises EOleSysError, with Workspace left nullptr.
//
// The module handle and its entry are cached on the first call that finds the module
// loaded; until then every call looks again.
void GetWorkspaceInterface(IWorkspace** Workspace);
