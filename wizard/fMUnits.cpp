#include "wizard/fMUnits.h"

#include "wizard/BoardDlg.h"

TCLASS_IMPL(TfraMUnits)

bool TfraMUnits::CanGoNext() { return rbnImperial->Checked() || rbnMetric->Checked(); }

void TfraMUnits::EnterPage() {
  const TUnit Units = Form_BoardWizard->BoardInfo->Units;
  rbnImperial->SetChecked(Units == eImperial);
  rbnMetric->SetChecked(Units == eMetric);
}

void TfraMUnits::LeavePage() {
  Form_BoardWizard->BoardInfo->Units = rbnImperial->Checked() ? eImperial : eMetric;
  Form_BoardWizard->ApplyUnitsToEdits();
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
