#include "editors/Units.h"

#include "classlib/Units.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

}  // namespace

// The library has no start or end of its own yet.
const TUnitTable EditorsUnits = {"editors", Uses, {}};
