// The inner cut-out page (Tag 70), shown for a rectangular custom board with a
// cut-out. For now it shows its header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraInnerCut : public TfraIntPage {
  TCLASS_DECL(TfraInnerCut, TfraIntPage)
 public:
  explicit TfraInnerCut(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfInnerCut();
void DonefInnerCut();
