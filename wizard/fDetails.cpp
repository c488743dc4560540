#include "wizard/fDetails.h"

TCLASS_IMPL(TfraDetails)

void InitfDetails() { RegisterClass(&TfraDetails::StaticClass()); }

void DonefDetails() { UnRegisterClass(&TfraDetails::StaticClass()); }
