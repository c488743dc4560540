#include "wizard/fTrackVia.h"

TCLASS_IMPL(TfraTrackVia)

void InitfTrackVia() { RegisterClass(&TfraTrackVia::StaticClass()); }

void DonefTrackVia() { UnRegisterClass(&TfraTrackVia::StaticClass()); }
