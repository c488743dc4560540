#include "wizard/Units.h"

#include "classlib/Units.h"
#include "framework/Units.h"
#include "pcb/Units.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits, &PcbUnits, &FrameworkUnits};

}  // namespace

// The wizard has no start or end of its own yet.
const TUnitTable WizardUnits = {"wizard", Uses, {}};
