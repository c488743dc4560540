// The units the tree-node test program starts: the library's table, then the
// memory-manager hook, which the library leaves to the module and this program starts
// itself.
#include "classlib/ModuleInit.h"
#include "treenode/Units.h"
#include "treenode/dcMemHook.h"

namespace {

const TUnitTable* const Uses[] = {&TreenodeUnits};

const TUnitEntry Units[] = {
    {"dcMemHook", InitdcMemHook, DonedcMemHook},
};

}  // namespace

extern const TUnitTable TreenodeTestUnits;
const TUnitTable TreenodeTestUnits = {"treenode tests", Uses, Units};
