#include "wizard/Units.h"

#include "classlib/Units.h"
#include "framework/Units.h"
#include "pcb/Units.h"
#include "skin/Units.h"
#include "wizard/Commands.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits, &SkinUnits, &PcbUnits, &FrameworkUnits};

const TUnitEntry Units[] = {
    // The board wizard: its coordinate edit, pages and dialog, and the run routines of
    // the wizard commands (set before the host calls ServerFactory).
    {"Commands", InitCommands, DoneCommands},
};

}  // namespace

const TUnitTable WizardUnits = {"wizard", Uses, Units};
