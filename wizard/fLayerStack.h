// The custom layer-stack page (Tag 100): made and set up with the dialog, but it
// never takes part.
#pragma once

#include "wizard/fIntPage.h"

class TfraLayerStack : public TfraIntPage {
  TCLASS_DECL(TfraLayerStack, TfraIntPage)
 public:
  explicit TfraLayerStack(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfLayerStack();
void DonefLayerStack();
