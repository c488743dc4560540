#include "wizard/fManufact.h"

TCLASS_IMPL(TfraManufact)

void InitfManufact() { RegisterClass(&TfraManufact::StaticClass()); }

void DonefManufact() { UnRegisterClass(&TfraManufact::StaticClass()); }
