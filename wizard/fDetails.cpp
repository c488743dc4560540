#include "wizard/fDetails.h"

#include "pcb/Pcbtypes.h"
#include "wizard/EditCoord.h"

TCLASS_IMPL(TfraDetails)

namespace {

// The mechanical layers that can carry the dimensions.
constexpr TLayer FirstMechanicalLayer = 57;
constexpr TLayer LastMechanicalLayer = 72;

}  // namespace

void TfraDetails::InitPage() {
  ReplaceWithCoordEdit(edtWidth, ecWidth, lblWidth);
  ReplaceWithCoordEdit(edtRadius, ecRadius, lblRadius);
  ReplaceWithCoordEdit(edtHeight, ecHeight, lblHeight);
  ReplaceWithCoordEdit(edtTrackWidth, ecTrackWidth, lblTrackWidth);
  ReplaceWithCoordEdit(edtDimLineWidth, ecDimLineWidth, lblDimLineWidth);
  ReplaceWithCoordEdit(edtKeepOutDist, ecKeepOutDist, lblKeepOutDist);
  for (TEditCoordEx* Edit : {ecWidth, ecRadius, ecHeight, ecTrackWidth, ecDimLineWidth, ecKeepOutDist})
    Edit->SetHyperlink(false);
  for (TEditCoordEx* Edit : {ecWidth, ecRadius, ecHeight}) Edit->Hide();
  bmpRectOutline = LoadPageBitmap("RECTOUTLINE");
  bmpCircOutline = LoadPageBitmap("CIRCOUTLINE");
  bmpCustomOutline = LoadPageBitmap("CUSTOMOUTLINE");
}

void TfraDetails::DonePage() {
  FreeAndNil(bmpRectOutline);
  FreeAndNil(bmpCircOutline);
  FreeAndNil(bmpCustomOutline);
}

bool TfraDetails::CanGoNext() {
  return (rbnRectangular->Checked() || rbnCircular->Checked() || rbnCustomShape->Checked()) &&
         cbxDimLayer->ItemIndex() >= 0;
}

void TfraDetails::EnterPage() {
  TBoardInfoFromUser& Info = BoardInfo();
  TStrings* Layers = cbxDimLayer->Items();
  Layers->Clear();
  Layers->Add("None");
  for (TLayer Layer = FirstMechanicalLayer; Layer <= LastMechanicalLayer; ++Layer)
    Layers->Add(LayerToDisplayName(Layer).ToString());

  // A radio that becomes checked runs its click handler, which sets the shape's
  // controls; the boxes below are then set from the record.
  switch (Info.OutlineShape) {
    case osRectangular: rbnRectangular->SetChecked(true); break;
    case osCircular: rbnCircular->SetChecked(true); break;
    case osCustom: rbnCustomShape->SetChecked(true); break;
  }
  ecWidth->SetValue(Info.BoardWidth);
  ecHeight->SetValue(Info.BoardHeight);
  ecRadius->SetValue(Info.GetRadius());
  cbxDimLayer->SetItemIndex(
      Info.DimensionLayer != 0 ? Layers->IndexOf(LayerToDisplayName(Info.DimensionLayer).ToString()) : 0);
  ecTrackWidth->SetValue(Info.BoundaryTrackWidth);
  ecDimLineWidth->SetValue(Info.DimensionLineWidth);
  ecKeepOutDist->SetValue(Info.KeepOutDistance);
  cbxTitleBlockAndScale->SetChecked(Info.TitleBlock || Info.Scale);
  cbxLegendString->SetChecked(Info.LegendString);
  cbxDimensionLines->SetChecked(Info.DimensionLines);
  cbxCornerCutoff->SetChecked(Info.CornerCutoff);
  cbxInnerCutOff->SetChecked(Info.InnerCutoff);
}

void TfraDetails::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  if (rbnRectangular->Checked())
    Info.OutlineShape = osRectangular;
  else if (rbnCircular->Checked())
    Info.OutlineShape = osCircular;
  else if (rbnCustomShape->Checked())
    Info.OutlineShape = osCustom;
  if (Info.OutlineShape != osCircular) {
    Info.BoardWidth = ecWidth->Value();
    Info.BoardHeight = ecHeight->Value();
  } else {
    Info.SetCircleRadius(ecRadius->Value());
  }
  Info.DimensionLayer = cbxDimLayer->ItemIndex() > 0 ? DisplayNameToLayer(cbxDimLayer->Text()) : 0;
  Info.BoundaryTrackWidth = ecTrackWidth->Value();
  Info.DimensionLineWidth = ecDimLineWidth->Value();
  Info.KeepOutDistance = ecKeepOutDist->Value();
  Info.TitleBlock = cbxTitleBlockAndScale->Checked();
  Info.Scale = cbxTitleBlockAndScale->Checked();
  Info.LegendString = cbxLegendString->Checked();
  Info.DimensionLines = cbxDimensionLines->Checked();
  Info.CornerCutoff = cbxCornerCutoff->Checked();
  Info.InnerCutoff = cbxInnerCutOff->Checked();
}

bool TfraDetails::BoardPart(TBoardPart& Part) const {
  Part = bpDetails;
  return true;
}

TWinControl* TfraDetails::FieldEdit(TBoardField Field) const {
  switch (Field.Kind) {
    case bfBoardWidth: return ecWidth;
    case bfBoardHeight: return ecHeight;
    case bfRadius: return ecRadius;
    case bfBoundaryTrackWidth: return ecTrackWidth;
    case bfDimensionLineWidth: return ecDimLineWidth;
    case bfKeepOutDistance: return ecKeepOutDist;
    default: return nullptr;
  }
}

void TfraDetails::rbnRectangularClick(TObject*) {
  SetImageBitmap(imgBoardShape, bmpRectOutline);
  ShowDetailsShapeControls();
}

void TfraDetails::rbnCircularClick(TObject*) {
  SetImageBitmap(imgBoardShape, bmpCircOutline);
  ShowDetailsShapeControls();
}

void TfraDetails::rbnCustomShapeClick(TObject*) {
  SetImageBitmap(imgBoardShape, bmpCustomOutline);
  ShowDetailsShapeControls();
}

void TfraDetails::ShowDetailsShapeControls() {
  const bool Sides = rbnRectangular->Checked() || rbnCustomShape->Checked();
  lblWidth->SetVisible(Sides);
  lblHeight->SetVisible(Sides);
  lblRadius->SetVisible(rbnCircular->Checked());
  ecWidth->SetVisible(lblWidth->Visible());
  ecHeight->SetVisible(lblHeight->Visible());
  ecRadius->SetVisible(lblRadius->Visible());
  cbxCornerCutoff->SetChecked(rbnRectangular->Checked());
  cbxInnerCutOff->SetChecked(cbxCornerCutoff->Checked());
  cbxCornerCutoff->SetEnabled(rbnRectangular->Checked());
  cbxInnerCutOff->SetEnabled(cbxCornerCutoff->Enabled());
}

void TfraDetails::ctrlChange(TObject*) { UpdateWizardButtons(); }

void TfraDetails::cbxDimensionLinesClick(TObject*) {
  if (cbxDimensionLines->Checked() && cbxDimLayer->ItemIndex() <= 0)
    cbxDimLayer->SetItemIndex(
        cbxDimLayer->Items()->IndexOf(LayerToDisplayName(FirstMechanicalLayer).ToString()));
}

void InitfDetails() {
  RegisterClass(&TfraDetails::StaticClass());
  TPublish<TfraDetails> P;
  P.Field("lblOutlShape", &TfraDetails::lblOutlShape);
  P.Field("rbnRectangular", &TfraDetails::rbnRectangular);
  P.Field("rbnCircular", &TfraDetails::rbnCircular);
  P.Field("rbnCustomShape", &TfraDetails::rbnCustomShape);
  P.Field("imgBoardShape", &TfraDetails::imgBoardShape);
  P.Field("Label3", &TfraDetails::Label3);
  P.Field("lblWidth", &TfraDetails::lblWidth);
  P.Field("lblRadius", &TfraDetails::lblRadius);
  P.Field("lblHeight", &TfraDetails::lblHeight);
  P.Field("lblDimLayer", &TfraDetails::lblDimLayer);
  P.Field("cbxDimLayer", &TfraDetails::cbxDimLayer);
  P.Field("lblTrackWidth", &TfraDetails::lblTrackWidth);
  P.Field("lblDimLineWidth", &TfraDetails::lblDimLineWidth);
  P.Field("lblKeepOutDist", &TfraDetails::lblKeepOutDist);
  P.Field("cbxTitleBlockAndScale", &TfraDetails::cbxTitleBlockAndScale);
  P.Field("cbxLegendString", &TfraDetails::cbxLegendString);
  P.Field("cbxDimensionLines", &TfraDetails::cbxDimensionLines);
  P.Field("cbxCornerCutoff", &TfraDetails::cbxCornerCutoff);
  P.Field("cbxInnerCutOff", &TfraDetails::cbxInnerCutOff);
  P.Field("edtTrackWidth", &TfraDetails::edtTrackWidth);
  P.Field("edtDimLineWidth", &TfraDetails::edtDimLineWidth);
  P.Field("edtKeepOutDist", &TfraDetails::edtKeepOutDist);
  P.Field("edtWidth", &TfraDetails::edtWidth);
  P.Field("edtRadius", &TfraDetails::edtRadius);
  P.Field("edtHeight", &TfraDetails::edtHeight);
  P.Field("bvlDetVert", &TfraDetails::bvlDetVert);
  P.Method<&TfraDetails::rbnRectangularClick>("rbnRectangularClick");
  P.Method<&TfraDetails::rbnCircularClick>("rbnCircularClick");
  P.Method<&TfraDetails::rbnCustomShapeClick>("rbnCustomShapeClick");
  P.Method<&TfraDetails::ctrlChange>("ctrlChange");
  P.Method<&TfraDetails::cbxDimensionLinesClick>("cbxDimensionLinesClick");
}

void DonefDetails() {
  UnRegisterPublished(&TfraDetails::StaticClass());
  UnRegisterClass(&TfraDetails::StaticClass());
}
