// The run routines of the commands "RunWizard" and "RunDocumentWizard": each shows the
// board wizard once and, when the user finishes it, has the board maker build the new
// board, shows the new document in the host and hands its name to the host's
// workspace.
//
// The routines sit in this namespace beside the framework's routine variables of the
// same names (framework/WizardCommands.h), which the unit's start sets to them.
#pragma once

#include "framework/RT_ClientServerInterface.h"

namespace Commands {

// True while a wizard runs; a command arriving meanwhile (from the dialog's message
// loop) does nothing.
extern bool WizardRunning;

// Runs the wizard unless one is running; 0. The parameter text is not read. Errors
// pass out to the caller (the command launcher shows them), with WizardRunning
// cleared.
int RunWizardCommand(IServerDocumentView* Context, const char* Parameters);
// The same as RunWizardCommand.
int RunDocumentWizardCommand(IServerDocumentView* Context, const char* Parameters);
// A record with its defaults, the wizard dialog shown modally and freed, and on OK the
// build and the hand-over; the record and the maker are freed however it ends.
void RunBoardWizard(IServerDocumentView* Context);

}  // namespace Commands

// Sets the command routines of the framework to the wizard's; the end puts the
// framework's placeholders back.
void InitCommands();
void DoneCommands();
