#include "wizard/fViaStyle.h"


TCLASS_IMPL(TfraViaStyle)

void TfraViaStyle::InitPage() {
  bmpThru = LoadPageBitmap("THRU");
  bmpBlindBuried = LoadPageBitmap("BLINDBURIED");
}

void TfraViaStyle::DonePage() {
  FreeAndNil(bmpThru);
  FreeAndNil(bmpBlindBuried);
}

bool TfraViaStyle::CanGoNext() { return rbnThruholeVias->Checked() || rbnBlindBuriedVias->Checked(); }

void TfraViaStyle::EnterPage() {
  const Byte Style = BoardInfo().ViaStyle;
  rbnThruholeVias->SetChecked(Style == vsThruHole);
  rbnBlindBuriedVias->SetChecked(Style == vsBlindBuried);
}

void TfraViaStyle::LeavePage() {
  BoardInfo().ViaStyle =
      rbnThruholeVias->Checked() ? vsThruHole : rbnBlindBuriedVias->Checked() ? vsBlindBuried : vsNone;
}

void TfraViaStyle::rbnThruholeViasClick(TObject*) {
  SetImageBitmap(imgViaStyle, bmpThru);
  UpdateWizardButtons();
}

void TfraViaStyle::rbnBlindBuriedViasClick(TObject*) {
  SetImageBitmap(imgViaStyle, bmpBlindBuried);
  UpdateWizardButtons();
}

void InitfViaStyle() {
  RegisterClass(&TfraViaStyle::StaticClass());
  TPublish<TfraViaStyle> P;
  P.Field("rbnThruholeVias", &TfraViaStyle::rbnThruholeVias);
  P.Field("rbnBlindBuriedVias", &TfraViaStyle::rbnBlindBuriedVias);
  P.Field("imgViaStyle", &TfraViaStyle::imgViaStyle);
  P.Method<&TfraViaStyle::rbnThruholeViasClick>("rbnThruholeViasClick");
  P.Method<&TfraViaStyle::rbnBlindBuriedViasClick>("rbnBlindBuriedViasClick");
}

void DonefViaStyle() {
  UnRegisterPublished(&TfraViaStyle::StaticClass());
  UnRegisterClass(&TfraViaStyle::StaticClass());
}
