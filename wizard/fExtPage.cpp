#include "wizard/fExtPage.h"

TCLASS_IMPL(TfraExtPage)

void InitfExtPage() {
  RegisterClass(&TfraExtPage::StaticClass());
  TPublish<TfraExtPage> P;
  P.Field("Image1", &TfraExtPage::Image1);
  P.Field("Label2", &TfraExtPage::Label2);
}

void DonefExtPage() {
  UnRegisterPublished(&TfraExtPage::StaticClass());
  UnRegisterClass(&TfraExtPage::StaticClass());
}
