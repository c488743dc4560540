// The PCB object model: wrappers of the editor's objects, rules and boards.
#pragma once

#include "pcb/Pcbclass_Object.h"      // IWYU pragma: export
#include "pcb/Pcbclass_Primitives.h"  // IWYU pragma: export
#include "pcb/Pcbclass_Rules.h"       // IWYU pragma: export
#include "pcb/Pcbclass_Board.h"       // IWYU pragma: export
