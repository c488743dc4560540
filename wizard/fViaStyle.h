// The via style page (Tag 110): thru-hole or blind and buried vias. For now it
// shows its header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraViaStyle : public TfraIntPage {
  TCLASS_DECL(TfraViaStyle, TfraIntPage)
 public:
  explicit TfraViaStyle(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfViaStyle();
void DonefViaStyle();
