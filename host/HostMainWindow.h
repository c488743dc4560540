// The host's main window: the owner of every dialog of the module. It lists the open
// documents (the current one marked), and its menu launches the board wizard through
// the server module.
#pragma once

#include <windows.h>

#include <string>

class THost;

// Creates the main window for Host, shown or hidden. Returns nullptr on failure.
HWND CreateHostMainWindow(THost* Host, bool Show);
// Repaints the window and sets its caption after the documents changed.
void UpdateHostMainWindow(HWND Window);
// The caption the window carries: "PcbHost", then " - " and the current document's
// file name when there is one.
std::string HostMainWindowCaption(const THost& Host);

// Menu command identifiers.
enum : UINT { IDM_HOST_BOARD_WIZARD = 101, IDM_HOST_EXIT = 102 };
