// The last wizard page (Tag 150): Finish builds the board. Its check box shows
// whether the chosen template opens for editing; it is disabled, so the answer comes
// back as it went in.
#pragma once

#include "wizard/fExtPage.h"

class TfraComplete : public TfraExtPage {
  TCLASS_DECL(TfraComplete, TfraExtPage)
 public:
  explicit TfraComplete(TComponent* AOwner) : TfraExtPage(AOwner) {}

  bool CanGoNext() override { return false; }
  bool CanFinish() override { return true; }
  void EnterPage() override;
  void LeavePage() override;

  TLabel* Label1 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TCheckBox* chxOpenTemplate = nullptr;
};

void InitfComplete();
void DonefComplete();
