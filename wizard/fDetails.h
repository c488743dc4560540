// The custom board details page (Tag 40), shown for a custom board: the outline
// shape and size, the mechanical layer for dimensions, the boundary track width, the
// dimension line width and the keep-out distance, and the extras the board gets. Its
// shape and cut-off answers decide whether the outline and cut-out pages follow.
#pragma once

#include "wizard/fIntPage.h"

class TfraDetails : public TfraIntPage {
  TCLASS_DECL(TfraDetails, TfraIntPage)
 public:
  explicit TfraDetails(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // The six coordinate edits in place of their placeholders, and the three outline
  // pictures.
  void InitPage() override;
  void DonePage() override;
  // A shape is chosen and a dimension layer is selected.
  bool CanGoNext() override;
  void EnterPage() override;
  void LeavePage() override;
  bool BoardPart(TBoardPart& Part) const override;
  TWinControl* FieldEdit(TBoardField Field) const override;

  void rbnRectangularClick(TObject* Sender);
  void rbnCircularClick(TObject* Sender);
  void rbnCustomShapeClick(TObject* Sender);
  // Width and height for a rectangle or custom shape, the radius for a circle; the
  // cut-off boxes checked and enabled only for a rectangle.
  void ShowDetailsShapeControls();
  void ctrlChange(TObject* Sender);
  // Checking the box while no mechanical layer is selected selects the first one.
  void cbxDimensionLinesClick(TObject* Sender);

  TLabel* lblOutlShape = nullptr;
  TRadioButton* rbnRectangular = nullptr;
  TRadioButton* rbnCircular = nullptr;
  TRadioButton* rbnCustomShape = nullptr;
  TImage* imgBoardShape = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* lblWidth = nullptr;
  TLabel* lblRadius = nullptr;
  TLabel* lblHeight = nullptr;
  TLabel* lblDimLayer = nullptr;
  TComboBox* cbxDimLayer = nullptr;
  TLabel* lblTrackWidth = nullptr;
  TLabel* lblDimLineWidth = nullptr;
  TLabel* lblKeepOutDist = nullptr;
  TCheckBox* cbxTitleBlockAndScale = nullptr;
  TCheckBox* cbxLegendString = nullptr;
  TCheckBox* cbxDimensionLines = nullptr;
  TCheckBox* cbxCornerCutoff = nullptr;
  TCheckBox* cbxInnerCutOff = nullptr;
  TEdit* edtTrackWidth = nullptr;
  TEdit* edtDimLineWidth = nullptr;
  TEdit* edtKeepOutDist = nullptr;
  TEdit* edtWidth = nullptr;
  TEdit* edtRadius = nullptr;
  TEdit* edtHeight = nullptr;
  TBevel* bvlDetVert = nullptr;

  // The coordinate edits, owned by the page.
  TEditCoordEx* ecWidth = nullptr;
  TEditCoordEx* ecRadius = nullptr;
  TEditCoordEx* ecHeight = nullptr;
  TEditCoordEx* ecTrackWidth = nullptr;
  TEditCoordEx* ecDimLineWidth = nullptr;
  TEditCoordEx* ecKeepOutDist = nullptr;
  // The outline pictures, owned by the page from InitPage to DonePage.
  TBitmap* bmpRectOutline = nullptr;
  TBitmap* bmpCircOutline = nullptr;
  TBitmap* bmpCustomOutline = nullptr;
};

void InitfDetails();
void DonefDetails();
