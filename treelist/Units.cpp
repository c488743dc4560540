#include "treelist/Units.h"

#include "editors/Units.h"

namespace {

const TUnitTable* const Uses[] = {&EditorsUnits};

}  // namespace

const TUnitTable TreelistUnits = {"treelist", Uses, {}};
