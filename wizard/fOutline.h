// The custom outline page (Tag 50), shown for a custom board with a custom shape.
// For now it shows its header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraOutline : public TfraIntPage {
  TCLASS_DECL(TfraOutline, TfraIntPage)
 public:
  explicit TfraOutline(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfOutline();
void DonefOutline();
