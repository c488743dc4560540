// The component and track technology page (Tag 120). For now it shows its header
// and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraManufact : public TfraIntPage {
  TCLASS_DECL(TfraManufact, TfraIntPage)
 public:
  explicit TfraManufact(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfManufact();
void DonefManufact();
