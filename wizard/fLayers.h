// The layers page (Tag 90): signal layers and power planes. For now it shows its
// header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraLayers : public TfraIntPage {
  TCLASS_DECL(TfraLayers, TfraIntPage)
 public:
  explicit TfraLayers(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfLayers();
void DonefLayers();
