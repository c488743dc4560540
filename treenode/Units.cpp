#include "treenode/Units.h"

#include "classlib/Units.h"
#include "treenode/dcMemHook.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The memory-manager hook: from here on every allocation and release of the module
    // passes through it, until the module ends.
    {"dcMemHook", InitdcMemHook, DonedcMemHook},
};

}  // namespace

const TUnitTable TreenodeUnits = {"treenode", Uses, Units};
