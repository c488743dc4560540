#include "treenode/Units.h"

#include "classlib/Units.h"
#include "treenode/FontMan.h"
#include "treenode/dcMemHook.h"
#include "treenode/dcntree.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The font manager, with its screen device context.
    {"FontMan", InitFontMan, DoneFontMan},
    // The font-height list; the font and tree-node classes registered for streaming.
    {"dcntree", InitDcntree, DoneDcntree},
    // The memory-manager hook: from here on every allocation and release of the module
    // passes through it, until the module ends.
    {"dcMemHook", InitdcMemHook, DonedcMemHook},
};

}  // namespace

const TUnitTable TreenodeUnits = {"treenode", Uses, Units};
