// The custom board details page (Tag 40), shown for a custom board. For now it
// shows its header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraDetails : public TfraIntPage {
  TCLASS_DECL(TfraDetails, TfraIntPage)
 public:
  explicit TfraDetails(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfDetails();
void DonefDetails();
