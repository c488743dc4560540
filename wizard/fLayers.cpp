#include "wizard/fLayers.h"

TCLASS_IMPL(TfraLayers)

void InitfLayers() { RegisterClass(&TfraLayers::StaticClass()); }

void DonefLayers() { UnRegisterClass(&TfraLayers::StaticClass()); }
