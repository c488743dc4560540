#include "treenode/Units.h"

#include "classlib/Units.h"
#include "treenode/FontMan.h"
#include "treenode/dcntree.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The font manager, with its screen device context.
    {"FontMan", InitFontMan, DoneFontMan},
    // The font-height list; the font and tree-node classes registered for streaming.
    {"dcntree", InitDcntree, DoneDcntree},
};
// The memory-manager hook (dcMemHook) is no unit of this table: the module starts it in
// its own table, after the tree list's units.

}  // namespace

const TUnitTable TreenodeUnits = {"treenode", Uses, Units};
