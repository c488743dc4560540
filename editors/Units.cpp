#include "editors/Units.h"

#include "classlib/Units.h"
#include "editors/dxDrawing.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The checker brush of the drawing routines.
    {"dxDrawing", InitdxDrawing, DonedxDrawing},
};

}  // namespace

const TUnitTable EditorsUnits = {"editors", Uses, Units};
