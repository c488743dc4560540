// Standard dialogs. For now only the points where a program hooks into them: the
// message-dialog form and the file dialogs that come with this unit consult these
// before doing their own work. Each hook is null until a program sets it; a program
// that sets one keeps the previous value to call on and to restore.
#pragma once

#include <windows.h>

class TCustomForm;

// Before a message-dialog form of the library is shown (from its showing-changed
// step). Answering true means the hook placed and showed the form itself, and the
// library's own step does not run.
using TMessageDialogShowingHook = bool (*)(TCustomForm* Form);
extern TMessageDialogShowingHook MessageDialogShowingHook;

// Every message that reaches the hook procedure of a file dialog goes here first
// (the initialisation-done notification, WM_NOTIFY with CDN_INITDONE, among them).
// Answering true means the message is handled, with Result as the hook procedure's
// answer, and the library's own handling does not run.
using TFileDialogMessageHook = bool (*)(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam,
                                        UINT_PTR& Result);
extern TFileDialogMessageHook FileDialogMessageHook;

// Just before a file-open dialog runs (the dialog's owner window is known by then).
using TBeforeOpenDialogHook = void (*)(HWND Owner);
extern TBeforeOpenDialogHook BeforeOpenDialogHook;

// The fourth hook point, after any control is inserted into a parent, is
// ControlInsertedHook in Controls.h.
