#include "wizard/fLayers.h"


TCLASS_IMPL(TfraLayers)

void TfraLayers::EnterPage() {
  const TBoardInfoFromUser& Info = BoardInfo();
  sedSignalLayers->SetValue(Info.SignalLayers);
  sedPowerPlanes->SetValue(Info.PowerPlanes);
}

void TfraLayers::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  Info.SignalLayers = static_cast<Byte>(sedSignalLayers->Value());
  Info.PowerPlanes = static_cast<Byte>(sedPowerPlanes->Value());
}

void TfraLayers::ctrlClick(TObject*) { UpdateWizardButtons(); }

void InitfLayers() {
  RegisterClass(&TfraLayers::StaticClass());
  TPublish<TfraLayers> P;
  P.Field("lblSignalLayers", &TfraLayers::lblSignalLayers);
  P.Field("sedSignalLayers", &TfraLayers::sedSignalLayers);
  P.Field("lblPowerPlanes", &TfraLayers::lblPowerPlanes);
  P.Field("sedPowerPlanes", &TfraLayers::sedPowerPlanes);
  P.Method<&TfraLayers::ctrlClick>("ctrlClick");
}

void DonefLayers() {
  UnRegisterPublished(&TfraLayers::StaticClass());
  UnRegisterClass(&TfraLayers::StaticClass());
}
