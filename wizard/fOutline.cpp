#include "wizard/fOutline.h"

TCLASS_IMPL(TfraOutline)

void InitfOutline() { RegisterClass(&TfraOutline::StaticClass()); }

void DonefOutline() { UnRegisterClass(&TfraOutline::StaticClass()); }
