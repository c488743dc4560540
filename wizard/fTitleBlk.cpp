#include "wizard/fTitleBlk.h"

TCLASS_IMPL(TfraTitleBlk)

void InitfTitleBlk() {
  RegisterClass(&TfraTitleBlk::StaticClass());
  using F = TfraTitleBlk;
  TPublish<F> P;
  P.Field("lblDesignTitle", &F::lblDesignTitle);
  P.Field("lblCompanyName", &F::lblCompanyName);
  P.Field("lblPCBPartNumber", &F::lblPCBPartNumber);
  P.Field("lblDesName1", &F::lblDesName1);
  P.Field("lblContactPhone1", &F::lblContactPhone1);
  P.Field("lblDesName2", &F::lblDesName2);
  P.Field("lblContactPhone2", &F::lblContactPhone2);
  P.Field("edtDesignTitle", &F::edtDesignTitle);
  P.Field("edtCompanyName", &F::edtCompanyName);
  P.Field("edtPCBPartNumber", &F::edtPCBPartNumber);
  P.Field("edtDesName1", &F::edtDesName1);
  P.Field("edtContactPhone1", &F::edtContactPhone1);
  P.Field("edtDesName2", &F::edtDesName2);
  P.Field("edtContactPhone2", &F::edtContactPhone2);
}

void DonefTitleBlk() {
  UnRegisterPublished(&TfraTitleBlk::StaticClass());
  UnRegisterClass(&TfraTitleBlk::StaticClass());
}
