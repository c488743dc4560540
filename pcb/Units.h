// The PCB editor binding's units, in the order they start.
#pragma once

#include "classlib/ModuleInit.h"

extern const TUnitTable PcbUnits;
