// The in-place editors' units, in the order they start.
#pragma once

#include "classlib/ModuleInit.h"

extern const TUnitTable EditorsUnits;
