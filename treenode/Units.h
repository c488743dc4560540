// The tree-node library's units, in the order they start. Its memory-manager hook
// (treenode/dcMemHook.h) is started by the module's table, not by this one.
#pragma once

#include "classlib/ModuleInit.h"

extern const TUnitTable TreenodeUnits;
