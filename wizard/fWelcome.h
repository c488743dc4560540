// The first wizard page (Tag 10): a welcome. There is no way back from it, and the
// wizard cannot be finished here.
#pragma once

#include "wizard/fExtPage.h"

class TfraWelcome : public TfraExtPage {
  TCLASS_DECL(TfraWelcome, TfraExtPage)
 public:
  explicit TfraWelcome(TComponent* AOwner) : TfraExtPage(AOwner) {}

  bool CanGoBack() override { return false; }
  bool CanFinish() override { return false; }

  TLabel* Label1 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
};

void InitfWelcome();
void DonefWelcome();
