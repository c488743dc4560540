// The tree list's units, in the order they start.
#pragma once

#include "classlib/ModuleInit.h"

extern const TUnitTable TreelistUnits;
