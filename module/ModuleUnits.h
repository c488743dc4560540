// The module's unit table: the tables of all its libraries, in the order they start.
#pragma once

#include "classlib/ModuleInit.h"

extern const TUnitTable ModuleUnits;
