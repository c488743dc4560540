// The run routines of the module's two commands, "RunWizard" and "RunDocumentWizard".
//
// They belong to the board wizard, which sits above the framework: its command unit
// assigns both variables from its unit initialization, before the host calls
// ServerFactory (the server module registers whatever they hold then). Until the
// wizard is there, each holds a placeholder that returns 0 without effect.
#pragma once

#include "framework/RT_ServerImplementation.h"

extern TCommandRunRoutine RunWizardCommand;
extern TCommandRunRoutine RunDocumentWizardCommand;
