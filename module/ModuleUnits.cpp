#include "module/ModuleUnits.h"

#include "classlib/Units.h"
#include "editors/Units.h"
#include "framework/Units.h"
#include "pcb/Units.h"
#include "skin/Units.h"
#include "treelist/Units.h"
#include "treenode/Units.h"
#include "treenode/dcMemHook.h"
#include "wizard/Units.h"

namespace {

// The module's own unit: the memory-manager hook. From its start every allocation and
// release of the module passes through it, until the module ends.
const TUnitEntry HookUnits[] = {
    {"dcMemHook", InitdcMemHook, DonedcMemHook},
};
const TUnitTable MemoryHookUnits = {"Tarvik memory hook", {}, HookUnits};

// Each library's table starts the tables it uses first; listing them all here keeps
// the module's order plain: the class library, the component libraries (tree nodes,
// editors, the tree list), the module's memory-manager hook, the kit, the editor
// binding, the framework, the wizard. Finalizations run in reverse.
const TUnitTable* const Uses[] = {
    &ClasslibUnits, &TreenodeUnits, &EditorsUnits, &TreelistUnits, &MemoryHookUnits,
    &SkinUnits,     &PcbUnits,      &FrameworkUnits, &WizardUnits,
};

}  // namespace

const TUnitTable ModuleUnits = {"Tarvik", Uses, {}};
