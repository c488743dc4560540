// The look of the first and last wizard pages: a picture down the left edge and a
// white area beside it that holds the page's texts.
#pragma once

#include "wizard/fBasic.h"

class TfraExtPage : public TfraBasic {
  TCLASS_DECL(TfraExtPage, TfraBasic)
 public:
  explicit TfraExtPage(TComponent* AOwner) : TfraBasic(AOwner) {}

  TImage* Image1 = nullptr;
  TLabel* Label2 = nullptr;
};

void InitfExtPage();
void DonefExtPage();
