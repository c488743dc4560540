// The corner cut-off page (Tag 60), shown for a rectangular custom board with cut
// corners: the width and height of the rectangular notch at each corner, with a live
// preview of the board and a dimension for every edit.
#pragma once

#include "wizard/fIntPage.h"

class TEditCoordEx;

class TfraCornerCut : public TfraIntPage {
  TCLASS_DECL(TfraCornerCut, TfraIntPage)
 public:
  explicit TfraCornerCut(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // The coordinate edits over the placeholders, then the first preview.
  void InitPage() override;
  // The four notches from the record.
  void EnterPage() override;
  // The four notches into the record.
  void LeavePage() override;
  bool BoardPart(TBoardPart& Part) const override;
  // Each corner's width and height.
  TWinControl* FieldEdit(TBoardField Field) const override;

  // Every edit: redraws the preview, then updates the buttons.
  void ctrlChange(TObject* Sender);
  // The board with the notches of the edits, and the eight dimensions.
  void DrawCornerCutPreview();

  TImage* imgCornerCutOff = nullptr;
  // Placeholders: left of the picture the upper-left and lower-left notch, right of it
  // the upper-right and lower-right one.
  TEdit* edtULWidth = nullptr;
  TEdit* edtULHeight = nullptr;
  TEdit* edtLLHeight = nullptr;
  TEdit* edtLLWidth = nullptr;
  TEdit* edtURWidth = nullptr;
  TEdit* edtURHeight = nullptr;
  TEdit* edtLRHeight = nullptr;
  TEdit* edtLRWidth = nullptr;

  // Each corner's notch width and height, indexed by TBoardCorner (upper-left,
  // lower-left, upper-right, lower-right).
  TEditCoordEx* edtCutWidth[4] = {};
  TEditCoordEx* edtCutHeight[4] = {};

 private:
  bool FLoading = false;
};

void InitfCornerCut();
void DonefCornerCut();
