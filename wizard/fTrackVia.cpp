#include "wizard/fTrackVia.h"

#include "wizard/EditCoord.h"

TCLASS_IMPL(TfraTrackVia)

void TfraTrackVia::InitPage() {
  bmpTrackSize = LoadPageBitmap("TRACKSIZE");
  bmpViaSize = LoadPageBitmap("VIASIZE");
  bmpClearance = LoadPageBitmap("CLEARANCE");
  SetImageBitmap(imgTrackSize, bmpTrackSize);
  SetImageBitmap(imgViaSize, bmpViaSize);
  SetImageBitmap(imgClearance, bmpClearance);
  ReplaceWithCoordEdit(edtMinTrackSize, ecMinTrackSize, Label22);
  ReplaceWithCoordEdit(edtViaWidth, ecViaWidth, Label23);
  ReplaceWithCoordEdit(edtViaHoleSize, ecViaHoleSize, Label24);
  ReplaceWithCoordEdit(edtClearance, ecClearance, Label25);
}

void TfraTrackVia::DonePage() {
  FreeAndNil(bmpTrackSize);
  FreeAndNil(bmpViaSize);
  FreeAndNil(bmpClearance);
}

void TfraTrackVia::EnterPage() {
  const TBoardInfoFromUser& Info = BoardInfo();
  ecMinTrackSize->SetValue(Info.MinTrackSize);
  ecViaWidth->SetValue(Info.MinViaWidth);
  ecViaHoleSize->SetValue(Info.MinViaHoleSize);
  ecClearance->SetValue(Info.MinClearance);
}

void TfraTrackVia::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  Info.MinTrackSize = ecMinTrackSize->Value();
  Info.MinViaWidth = ecViaWidth->Value();
  Info.MinViaHoleSize = ecViaHoleSize->Value();
  Info.MinClearance = ecClearance->Value();
}

bool TfraTrackVia::BoardPart(TBoardPart& Part) const {
  Part = bpTrackVia;
  return true;
}

TWinControl* TfraTrackVia::FieldEdit(TBoardField Field) const {
  switch (Field.Kind) {
    case bfMinTrackSize: return ecMinTrackSize;
    case bfMinViaWidth: return ecViaWidth;
    case bfMinViaHoleSize: return ecViaHoleSize;
    case bfMinClearance: return ecClearance;
    default: return nullptr;
  }
}

void InitfTrackVia() {
  RegisterClass(&TfraTrackVia::StaticClass());
  TPublish<TfraTrackVia> P;
  P.Field("imgTrackSize", &TfraTrackVia::imgTrackSize);
  P.Field("imgViaSize", &TfraTrackVia::imgViaSize);
  P.Field("imgClearance", &TfraTrackVia::imgClearance);
  P.Field("Label22", &TfraTrackVia::Label22);
  P.Field("Label23", &TfraTrackVia::Label23);
  P.Field("Label24", &TfraTrackVia::Label24);
  P.Field("Label25", &TfraTrackVia::Label25);
  P.Field("edtMinTrackSize", &TfraTrackVia::edtMinTrackSize);
  P.Field("edtViaWidth", &TfraTrackVia::edtViaWidth);
  P.Field("edtViaHoleSize", &TfraTrackVia::edtViaHoleSize);
  P.Field("edtClearance", &TfraTrackVia::edtClearance);
}

void DonefTrackVia() {
  UnRegisterPublished(&TfraTrackVia::StaticClass());
  UnRegisterClass(&TfraTrackVia::StaticClass());
}
