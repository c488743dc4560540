#include "module/ModuleUnits.h"

#include "classlib/Units.h"
#include "editors/Units.h"
#include "framework/Units.h"
#include "pcb/Units.h"
#include "skin/Units.h"
#include "treelist/Units.h"
#include "treenode/Units.h"
#include "wizard/Units.h"

namespace {

// Each library's table starts the tables it uses first; listing them all here keeps
// the module's order plain: the class library, the component libraries (tree nodes,
// editors, the tree list, the kit), the editor binding, the framework, the wizard.
// Finalizations run in reverse.
const TUnitTable* const Uses[] = {
    &ClasslibUnits, &TreenodeUnits, &EditorsUnits, &TreelistUnits, &SkinUnits,
    &PcbUnits, &FrameworkUnits, &WizardUnits,
};

}  // namespace

const TUnitTable ModuleUnits = {"Tarvik", Uses, {}};
