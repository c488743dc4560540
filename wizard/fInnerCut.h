// The inner cut-out page (Tag 70), shown for a rectangular custom board with a
// cut-out: its distance from the board's lower-left corner and its size, with a live
// preview of the board and a dimension for every edit. Next is allowed only for a
// cut-out inside the board and clear of the corner notches; while it is not, an error
// mark blinks.
#pragma once

#include "wizard/fIntPage.h"

class TEditCoordEx;

class TfraInnerCut : public TfraIntPage {
  TCLASS_DECL(TfraInnerCut, TfraIntPage)
 public:
  explicit TfraInnerCut(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // The board rule's cut-out check (CheckInnerCut) on the edits' cut-out, the record's
  // board and notches (whether or not corner cut-offs were asked for). Starts the error
  // mark's blinking while the answer is no, and hides the mark when it is yes.
  bool CanGoNext() override;
  bool BoardPart(TBoardPart& Part) const override;
  // The distances and the size.
  TWinControl* FieldEdit(TBoardField Field) const override;
  // The coordinate edits over the placeholders, then the first preview.
  void InitPage() override;
  // The cut-out's place and size from the record.
  void EnterPage() override;
  // The cut-out's place and size into the record.
  void LeavePage() override;

  // Every edit: redraws the preview, then updates the buttons.
  void ctrlChange(TObject* Sender);
  // Shows or hides the error mark, every half second while the values are wrong.
  void tmrErrorTimer(TObject* Sender);
  // The board with the record's notches, the cut-out with its keep-out frame, and the
  // four dimensions.
  void DrawInnerCutPreview();

  TImage* imgInnerCutOff = nullptr;
  // Placeholders: left of the picture the distances from the board's left and bottom
  // edges, right of it the cut-out's width and height.
  TEdit* edtXDist = nullptr;
  TEdit* edtYDist = nullptr;
  TEdit* edtCenterWidth = nullptr;
  TEdit* edtCenterHeight = nullptr;
  TImage* imgError = nullptr;
  TTimer* tmrError = nullptr;

  TEditCoordEx* edtXDistance = nullptr;
  TEditCoordEx* edtYDistance = nullptr;
  TEditCoordEx* edtWidth = nullptr;
  TEditCoordEx* edtHeight = nullptr;

 private:
  bool FLoading = false;
};

void InitfInnerCut();
void DonefInnerCut();
