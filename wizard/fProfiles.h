// The board profile page (Tag 30): a custom board or one of the host's board
// templates. For now it shows its header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraProfiles : public TfraIntPage {
  TCLASS_DECL(TfraProfiles, TfraIntPage)
 public:
  explicit TfraProfiles(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfProfiles();
void DonefProfiles();
