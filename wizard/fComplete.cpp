#include "wizard/fComplete.h"


TCLASS_IMPL(TfraComplete)

void TfraComplete::EnterPage() {
  chxOpenTemplate->SetChecked(BoardInfo().OpenTemplate);
}

void TfraComplete::LeavePage() {
  BoardInfo().OpenTemplate = chxOpenTemplate->Checked();
}

void InitfComplete() {
  RegisterClass(&TfraComplete::StaticClass());
  TPublish<TfraComplete> P;
  P.Field("Label1", &TfraComplete::Label1);
  P.Field("Label3", &TfraComplete::Label3);
  P.Field("Label4", &TfraComplete::Label4);
  P.Field("chxOpenTemplate", &TfraComplete::chxOpenTemplate);
}

void DonefComplete() {
  UnRegisterPublished(&TfraComplete::StaticClass());
  UnRegisterClass(&TfraComplete::StaticClass());
}
