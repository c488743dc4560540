#include "wizard/fLayerStack.h"

TCLASS_IMPL(TfraLayerStack)

void InitfLayerStack() { RegisterClass(&TfraLayerStack::StaticClass()); }

void DonefLayerStack() { UnRegisterClass(&TfraLayerStack::StaticClass()); }
