#include "wizard/fWelcome.h"

TCLASS_IMPL(TfraWelcome)

void InitfWelcome() {
  RegisterClass(&TfraWelcome::StaticClass());
  TPublish<TfraWelcome> P;
  P.Field("Label1", &TfraWelcome::Label1);
  P.Field("Label3", &TfraWelcome::Label3);
  P.Field("Label4", &TfraWelcome::Label4);
}

void DonefWelcome() {
  UnRegisterPublished(&TfraWelcome::StaticClass());
  UnRegisterClass(&TfraWelcome::StaticClass());
}
