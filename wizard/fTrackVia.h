// The track/via page (Tag 130): the minimum track size, via width, via hole size and
// clearance, each in a coordinate edit with the hyperlink look, beside pictures of
// what they measure.
#pragma once

#include "wizard/fIntPage.h"

class TfraTrackVia : public TfraIntPage {
  TCLASS_DECL(TfraTrackVia, TfraIntPage)
 public:
  explicit TfraTrackVia(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // The three pictures into their images, the four coordinate edits in place of
  // their placeholders.
  void InitPage() override;
  void DonePage() override;
  void EnterPage() override;
  void LeavePage() override;
  bool BoardPart(TBoardPart& Part) const override;
  TWinControl* FieldEdit(TBoardField Field) const override;

  TImage* imgTrackSize = nullptr;
  TImage* imgViaSize = nullptr;
  TImage* imgClearance = nullptr;
  TLabel* Label22 = nullptr;
  TLabel* Label23 = nullptr;
  TLabel* Label24 = nullptr;
  TLabel* Label25 = nullptr;
  TEdit* edtMinTrackSize = nullptr;
  TEdit* edtViaWidth = nullptr;
  TEdit* edtViaHoleSize = nullptr;
  TEdit* edtClearance = nullptr;

  // The coordinate edits, owned by the page.
  TEditCoordEx* ecMinTrackSize = nullptr;
  TEditCoordEx* ecViaWidth = nullptr;
  TEditCoordEx* ecViaHoleSize = nullptr;
  TEditCoordEx* ecClearance = nullptr;
  // Owned by the page from InitPage to DonePage.
  TBitmap* bmpTrackSize = nullptr;
  TBitmap* bmpViaSize = nullptr;
  TBitmap* bmpClearance = nullptr;
};

void InitfTrackVia();
void DonefTrackVia();
