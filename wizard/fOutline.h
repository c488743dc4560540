// The custom outline page (Tag 50), shown for a custom board with a custom shape: each
// side is straight or an arc of a given height, with a live preview of the board.
#pragma once

#include "wizard/fIntPage.h"

class TEditCoordEx;

class TfraOutline : public TfraIntPage {
  TCLASS_DECL(TfraOutline, TfraIntPage)
 public:
  explicit TfraOutline(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // The coordinate edits over the placeholders, then the first preview.
  void InitPage() override;
  // Each side's Arc or Straight button and arc height from the record.
  void EnterPage() override;
  // Each side's answers into the record.
  void LeavePage() override;
  bool BoardPart(TBoardPart& Part) const override;
  // The arc heights.
  TWinControl* FieldEdit(TBoardField Field) const override;

  // Every edit and radio button: redraws the preview, then updates the buttons.
  void ctrlChange(TObject* Sender);

  // DrawnAsArc[i] := side i's Arc button is checked and its height at the preview's
  // Scale rounds to more than 0 pixels.
  void UpdateArcSides(double Scale);
  // The board fitted to the whole picture, each side straight or an arc, with its
  // keep-out line 3 pixels inside.
  void DrawOutlinePreview();

  TImage* imgCustomOutline = nullptr;
  TPanel* pnlTop = nullptr;
  TPanel* pnlLeft = nullptr;
  TPanel* pnlRight = nullptr;
  TPanel* pnlBottom = nullptr;
  TRadioButton* rbnTopArc = nullptr;
  TRadioButton* rbnTopStraight = nullptr;
  TRadioButton* rbnLeftArc = nullptr;
  TRadioButton* rbnLeftStraight = nullptr;
  TRadioButton* rbnRightArc = nullptr;
  TRadioButton* rbnRightStraight = nullptr;
  TRadioButton* rbnBottomArc = nullptr;
  TRadioButton* rbnBottomStraight = nullptr;
  // Placeholders of the arc heights: top, left, right, bottom.
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TEdit* Edit3 = nullptr;
  TEdit* Edit4 = nullptr;

  // The arc heights, indexed by TBoardSide (left, top, right, bottom).
  TEditCoordEx* edtArcHeight[4] = {};
  // Which sides the preview draws as arcs, indexed by TBoardSide.
  bool DrawnAsArc[4] = {};

 private:
  TRadioButton* ArcButton(int Side) const;
  TRadioButton* StraightButton(int Side) const;

  // Set while EnterPage loads the controls: their change events wait for the end.
  bool FLoading = false;
};

void InitfOutline();
void DonefOutline();
