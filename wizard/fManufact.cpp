#include "wizard/fManufact.h"


TCLASS_IMPL(TfraManufact)

void TfraManufact::InitPage() {
  bmpOneSide = LoadPageBitmap("COMPONONESIDE");
  bmpTwoSides = LoadPageBitmap("COMPONTWOSIDES");
  bmpOneTrack = LoadPageBitmap("ONETRACK");
  bmpTwoTrack = LoadPageBitmap("TWOTRACK");
  bmpThreeTrack = LoadPageBitmap("THREETRACK");
  rbnCompsClick(nullptr);
  rbnNo1Click(nullptr);
  rbnOneTrackClick(nullptr);
}

void TfraManufact::DonePage() {
  FreeAndNil(bmpOneSide);
  FreeAndNil(bmpTwoSides);
  FreeAndNil(bmpOneTrack);
  FreeAndNil(bmpTwoTrack);
  FreeAndNil(bmpThreeTrack);
}

bool TfraManufact::CanGoNext() {
  return (rbnSMComps->Checked() && (rbnYes1->Checked() || rbnNo1->Checked())) ||
         (rbnTHComps->Checked() &&
          (rbnOneTrack->Checked() || rbnTwoTrack->Checked() || rbnThreeTrack->Checked()));
}

void TfraManufact::EnterPage() {
  const TBoardInfoFromUser& Info = BoardInfo();
  (Info.SurfaceMount ? rbnSMComps : rbnTHComps)->SetChecked(true);
  (Info.BothSides ? rbnYes1 : rbnNo1)->SetChecked(true);
  switch (Info.RouteTechnology) {
    case 0: rbnOneTrack->SetChecked(true); break;
    case 1: rbnTwoTrack->SetChecked(true); break;
    case 2: rbnThreeTrack->SetChecked(true); break;
  }
}

void TfraManufact::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  Info.SurfaceMount = rbnSMComps->Checked();
  Info.BothSides = rbnYes1->Checked();
  if (rbnOneTrack->Checked())
    Info.RouteTechnology = 0;
  else if (rbnTwoTrack->Checked())
    Info.RouteTechnology = 1;
  else if (rbnThreeTrack->Checked())
    Info.RouteTechnology = 2;
  // The minimums of the track choice, whichever kind of component was chosen.
  if (Info.RouteTechnology > 2) return;
  const int* Row = RouteTechnologyMinimums[Info.RouteTechnology];
  Info.MinTrackSize = MilToCoord(Row[0]);
  Info.MinViaWidth = MilToCoord(Row[1]);
  Info.MinViaHoleSize = MilToCoord(Row[2]);
  Info.MinClearance = MilToCoord(Row[3]);
}

void TfraManufact::rbnCompsClick(TObject*) {
  pnlSM->SetVisible(rbnSMComps->Checked());
  pnlSM->SetEnabled(rbnSMComps->Checked());
  pnlTH->SetVisible(rbnTHComps->Checked());
  pnlTH->SetEnabled(rbnTHComps->Checked());
  UpdateWizardButtons();
}

void TfraManufact::rbnYes1Click(TObject*) {
  SetImageBitmap(imgSfcMount, bmpTwoSides);
  UpdateWizardButtons();
}

void TfraManufact::rbnNo1Click(TObject*) {
  SetImageBitmap(imgSfcMount, bmpOneSide);
  UpdateWizardButtons();
}

void TfraManufact::rbnOneTrackClick(TObject*) {
  SetImageBitmap(imgRouteTech, bmpOneTrack);
  UpdateWizardButtons();
}

void TfraManufact::rbnTwoTrackClick(TObject*) {
  SetImageBitmap(imgRouteTech, bmpTwoTrack);
  UpdateWizardButtons();
}

void TfraManufact::rbnThreeTrackClick(TObject*) {
  SetImageBitmap(imgRouteTech, bmpThreeTrack);
  UpdateWizardButtons();
}

void InitfManufact() {
  RegisterClass(&TfraManufact::StaticClass());
  TPublish<TfraManufact> P;
  P.Field("Label18", &TfraManufact::Label18);
  P.Field("rbnSMComps", &TfraManufact::rbnSMComps);
  P.Field("rbnTHComps", &TfraManufact::rbnTHComps);
  P.Field("pnlSM", &TfraManufact::pnlSM);
  P.Field("Label19", &TfraManufact::Label19);
  P.Field("rbnYes1", &TfraManufact::rbnYes1);
  P.Field("rbnNo1", &TfraManufact::rbnNo1);
  P.Field("imgSfcMount", &TfraManufact::imgSfcMount);
  P.Field("pnlTH", &TfraManufact::pnlTH);
  P.Field("Label20", &TfraManufact::Label20);
  P.Field("rbnOneTrack", &TfraManufact::rbnOneTrack);
  P.Field("rbnTwoTrack", &TfraManufact::rbnTwoTrack);
  P.Field("rbnThreeTrack", &TfraManufact::rbnThreeTrack);
  P.Field("imgRouteTech", &TfraManufact::imgRouteTech);
  P.Method<&TfraManufact::rbnCompsClick>("rbnCompsClick");
  P.Method<&TfraManufact::rbnYes1Click>("rbnYes1Click");
  P.Method<&TfraManufact::rbnNo1Click>("rbnNo1Click");
  P.Method<&TfraManufact::rbnOneTrackClick>("rbnOneTrackClick");
  P.Method<&TfraManufact::rbnTwoTrackClick>("rbnTwoTrackClick");
  P.Method<&TfraManufact::rbnThreeTrackClick>("rbnThreeTrackClick");
}

void DonefManufact() {
  UnRegisterPublished(&TfraManufact::StaticClass());
  UnRegisterClass(&TfraManufact::StaticClass());
}
