// The look of every interior wizard page: a white header band with a small picture,
// the page's title and subtitle (set by each page's form file), and a line under it.
#pragma once

#include "wizard/fBasic.h"

class TfraIntPage : public TfraBasic {
  TCLASS_DECL(TfraIntPage, TfraBasic)
 public:
  explicit TfraIntPage(TComponent* AOwner) : TfraBasic(AOwner) {}

  TLabel* Label1 = nullptr;
  TImage* Image2 = nullptr;
  TLabel* lblHeaderTitle = nullptr;
  TLabel* lblHeaderSubtitle = nullptr;
  TBevel* Bevel1 = nullptr;
};

void InitfIntPage();
void DonefIntPage();
