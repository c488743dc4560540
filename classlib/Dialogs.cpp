#include "classlib/Dialogs.h"

TMessageDialogShowingHook MessageDialogShowingHook = nullptr;
TFileDialogMessageHook FileDialogMessageHook = nullptr;
TBeforeOpenDialogHook BeforeOpenDialogHook = nullptr;
