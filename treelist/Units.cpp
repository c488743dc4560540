#include "treelist/Units.h"

#include "editors/Units.h"
#include "treelist/dxTL.h"

namespace {

const TUnitTable* const Uses[] = {&EditorsUnits};

const TUnitEntry Units[] = {
    // The tree list's class and published properties for form files.
    {"dxTL", InitdxTL, DonedxTL},
};

}  // namespace

const TUnitTable TreelistUnits = {"treelist", Uses, Units};
