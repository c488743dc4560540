// The track and via page (Tag 130): the minimum sizes. For now it shows its header
// and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraTrackVia : public TfraIntPage {
  TCLASS_DECL(TfraTrackVia, TfraIntPage)
 public:
  explicit TfraTrackVia(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfTrackVia();
void DonefTrackVia();
