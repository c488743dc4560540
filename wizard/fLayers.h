// The layers page (Tag 90): the number of signal layers (2 to 32) and power planes
// (0 to 16), each in steps of two.
#pragma once

#include "classlib/Spin.h"
#include "wizard/fIntPage.h"

class TfraLayers : public TfraIntPage {
  TCLASS_DECL(TfraLayers, TfraIntPage)
 public:
  explicit TfraLayers(TComponent* AOwner) : TfraIntPage(AOwner) {}

  void EnterPage() override;
  // Stores what the spin edits hold, within their ranges.
  void LeavePage() override;

  // Updates the wizard's buttons; no control is bound to it.
  void ctrlClick(TObject* Sender);

  TLabel* lblSignalLayers = nullptr;
  TSpinEdit* sedSignalLayers = nullptr;
  TLabel* lblPowerPlanes = nullptr;
  TSpinEdit* sedPowerPlanes = nullptr;
};

void InitfLayers();
void DonefLayers();
