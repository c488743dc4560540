#include "wizard/fViaStyle.h"

TCLASS_IMPL(TfraViaStyle)

void InitfViaStyle() { RegisterClass(&TfraViaStyle::StaticClass()); }

void DonefViaStyle() { UnRegisterClass(&TfraViaStyle::StaticClass()); }
