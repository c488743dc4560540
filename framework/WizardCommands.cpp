#include "framework/WizardCommands.h"

namespace {
int CommandNotAvailable(IServerDocumentView*, const char*) { return 0; }
}  // namespace

TCommandRunRoutine RunWizardCommand = CommandNotAvailable;
TCommandRunRoutine RunDocumentWizardCommand = CommandNotAvailable;
