#include "wizard/fInnerCut.h"

TCLASS_IMPL(TfraInnerCut)

void InitfInnerCut() { RegisterClass(&TfraInnerCut::StaticClass()); }

void DonefInnerCut() { UnRegisterClass(&TfraInnerCut::StaticClass()); }
