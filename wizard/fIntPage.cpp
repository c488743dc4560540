#include "wizard/fIntPage.h"

TCLASS_IMPL(TfraIntPage)

void InitfIntPage() {
  RegisterClass(&TfraIntPage::StaticClass());
  TPublish<TfraIntPage> P;
  P.Field("Label1", &TfraIntPage::Label1);
  P.Field("Image2", &TfraIntPage::Image2);
  P.Field("lblHeaderTitle", &TfraIntPage::lblHeaderTitle);
  P.Field("lblHeaderSubtitle", &TfraIntPage::lblHeaderSubtitle);
  P.Field("Bevel1", &TfraIntPage::Bevel1);
}

void DonefIntPage() {
  UnRegisterPublished(&TfraIntPage::StaticClass());
  UnRegisterClass(&TfraIntPage::StaticClass());
}
