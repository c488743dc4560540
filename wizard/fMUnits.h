// The units page (Tag 20): imperial or metric. Leaving it makes every coordinate
// edit of the wizard show and read the chosen unit.
#pragma once

#include "wizard/fIntPage.h"

class TfraMUnits : public TfraIntPage {
  TCLASS_DECL(TfraMUnits, TfraIntPage)
 public:
  explicit TfraMUnits(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // One of the two units is chosen.
  bool CanGoNext() override;
  bool CanFinish() override { return false; }
  void EnterPage() override;
  void LeavePage() override;

  void rbnMUnitClick(TObject* Sender);

  TLabel* Label2 = nullptr;
  TRadioButton* rbnImperial = nullptr;
  TRadioButton* rbnMetric = nullptr;
};

void InitfMUnits();
void DonefMUnits();
