#include "wizard/fMUnits.h"


TCLASS_IMPL(TfraMUnits)

bool TfraMUnits::CanGoNext() { return rbnImperial->Checked() || rbnMetric->Checked(); }

void TfraMUnits::EnterPage() {
  const TUnit Units = BoardInfo().Units;
  rbnImperial->SetChecked(Units == eImperial);
  rbnMetric->SetChecked(Units == eMetric);
}

void TfraMUnits::LeavePage() {
  BoardInfo().Units = rbnImperial->Checked() ? eImperial : eMetric;
  ApplyUnitsToEdits();
}

void TfraMUnits::rbnMUnitClick(TObject*) { UpdateWizardButtons(); }

void InitfMUnits() {
  RegisterClass(&TfraMUnits::StaticClass());
  TPublish<TfraMUnits> P;
  P.Field("Label2", &TfraMUnits::Label2);
  P.Field("rbnImperial", &TfraMUnits::rbnImperial);
  P.Field("rbnMetric", &TfraMUnits::rbnMetric);
  P.Method<&TfraMUnits::rbnMUnitClick>("rbnMUnitClick");
}

void DonefMUnits() {
  UnRegisterPublished(&TfraMUnits::StaticClass());
  UnRegisterClass(&TfraMUnits::StaticClass());
}
