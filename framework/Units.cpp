// The module's units, in the order they start. Finalizations run in reverse.
#include "classlib/FormatSettings.h"
#include "classlib/ModuleInit.h"

const TUnitEntry ModuleUnits[] = {
    {"FormatSettings", InitFormatSettings, nullptr},
};

const std::size_t ModuleUnitCount = sizeof(ModuleUnits) / sizeof(ModuleUnits[0]);
