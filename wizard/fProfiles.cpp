#include "wizard/fProfiles.h"

TCLASS_IMPL(TfraProfiles)

void InitfProfiles() { RegisterClass(&TfraProfiles::StaticClass()); }

void DonefProfiles() { UnRegisterClass(&TfraProfiles::StaticClass()); }
