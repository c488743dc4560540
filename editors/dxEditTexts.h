// The editors' own texts, read from the module's string table (ids in dxEditStrings.h).
#pragma once

#include <windows.h>

#include "classlib/SysTypes.h"

// The string Id of the module's string table (at most 255 characters); "" when the
// table has none.
AnsiString dxEditText(UINT Id);
