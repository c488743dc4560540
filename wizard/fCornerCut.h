// The corner cut-off page (Tag 60), shown for a rectangular custom board with cut
// corners. For now it shows its header and keeps the page protocol's defaults.
#pragma once

#include "wizard/fIntPage.h"

class TfraCornerCut : public TfraIntPage {
  TCLASS_DECL(TfraCornerCut, TfraIntPage)
 public:
  explicit TfraCornerCut(TComponent* AOwner) : TfraIntPage(AOwner) {}
};

void InitfCornerCut();
void DonefCornerCut();
