// The title-block page (Tag 80): the texts of a title block. It is made and set up
// with the dialog but never takes part, and its edits are never read.
#pragma once

#include "wizard/fIntPage.h"

class TfraTitleBlk : public TfraIntPage {
  TCLASS_DECL(TfraTitleBlk, TfraIntPage)
 public:
  explicit TfraTitleBlk(TComponent* AOwner) : TfraIntPage(AOwner) {}

  void EnterPage() override {}
  void LeavePage() override {}

  TLabel* lblDesignTitle = nullptr;
  TLabel* lblCompanyName = nullptr;
  TLabel* lblPCBPartNumber = nullptr;
  TLabel* lblDesName1 = nullptr;
  TLabel* lblContactPhone1 = nullptr;
  TLabel* lblDesName2 = nullptr;
  TLabel* lblContactPhone2 = nullptr;
  TEdit* edtDesignTitle = nullptr;
  TEdit* edtCompanyName = nullptr;
  TEdit* edtPCBPartNumber = nullptr;
  TEdit* edtDesName1 = nullptr;
  TEdit* edtContactPhone1 = nullptr;
  TEdit* edtDesName2 = nullptr;
  TEdit* edtContactPhone2 = nullptr;
};

void InitfTitleBlk();
void DonefTitleBlk();
