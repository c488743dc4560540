#include "pcb/Units.h"

#include "classlib/Units.h"
#include "pcb/PCBProcs.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The PCB editor's functions, when the editor is loaded already.
    {"PCBProcs", InitPcbProcs, nullptr},
};

}  // namespace

const TUnitTable PcbUnits = {"pcb", Uses, Units};
