// The via style page (Tag 110): through-hole vias only, or blind and buried vias
// only, with a picture of the checked choice.
#pragma once

#include "wizard/fIntPage.h"

class TfraViaStyle : public TfraIntPage {
  TCLASS_DECL(TfraViaStyle, TfraIntPage)
 public:
  explicit TfraViaStyle(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // Loads the two pictures.
  void InitPage() override;
  void DonePage() override;
  // One of the two styles is checked.
  bool CanGoNext() override;
  void EnterPage() override;
  void LeavePage() override;

  void rbnThruholeViasClick(TObject* Sender);
  void rbnBlindBuriedViasClick(TObject* Sender);

  TRadioButton* rbnThruholeVias = nullptr;
  TRadioButton* rbnBlindBuriedVias = nullptr;
  TImage* imgViaStyle = nullptr;

  // Owned by the page from InitPage to DonePage.
  TBitmap* bmpThru = nullptr;
  TBitmap* bmpBlindBuried = nullptr;
};

void InitfViaStyle();
void DonefViaStyle();
