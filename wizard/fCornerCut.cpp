#include "wizard/fCornerCut.h"

TCLASS_IMPL(TfraCornerCut)

void InitfCornerCut() { RegisterClass(&TfraCornerCut::StaticClass()); }

void DonefCornerCut() { UnRegisterClass(&TfraCornerCut::StaticClass()); }
