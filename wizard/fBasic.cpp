#include "wizard/fBasic.h"

#include "classlib/ModuleInit.h"
#include "wizard/BoardDlg.h"
#include "wizard/EditCoord.h"

TCLASS_IMPL(TfraBasic)

bool TfraBasic::CanGoBack() { return true; }

bool TfraBasic::CanGoNext() { return true; }

bool TfraBasic::CanFinish() { return CanGoNext(); }

void TfraBasic::UpdateWizardButtons() {
  TForm_BoardWizard* Dialog = Form_BoardWizard;
  if (!Dialog) return;
  Dialog->btnFinish->SetEnabled(CanFinish());
  Dialog->btnBack->SetEnabled(CanGoBack());
  Dialog->btnNext->SetEnabled(CanGoNext());
}

TBoardInfoFromUser& TfraBasic::BoardInfo() const { return *Form_BoardWizard->BoardInfo; }

void TfraBasic::ApplyUnitsToEdits() const { Form_BoardWizard->ApplyUnitsToEdits(); }

void TfraBasic::PressNext() {
  TForm_BoardWizard* Dialog = Form_BoardWizard;
  if (Dialog && Dialog->btnNext->Enabled()) Dialog->btnNext->Click();
}

void TfraBasic::SetImageBitmap(TImage* Image, TBitmap* Bitmap) {
  if (!Image) return;
  Image->Picture()->Assign(Bitmap);
}

TBitmap* TfraBasic::LoadPageBitmap(const char* Name) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
  Bitmap->LoadFromResourceName(HInstance, Name);
  return Bitmap.release();
}

void TfraBasic::ReplaceWithCoordEdit(TEdit* Placeholder, TEditCoordEx*& Edit, TLabel* Caption) {
  Edit = NewObject<TEditCoordEx>(this);
  Edit->SetBounds(Placeholder->Left(), Placeholder->Top(), Placeholder->Width(),
                  Placeholder->Height());
  Edit->SetParent(Placeholder->Parent());
  Placeholder->Hide();
  Edit->Show();
  Edit->SetTabOrder(Placeholder->TabOrder());
  Edit->SetHyperlink(true);
  Edit->OnValueChange = Placeholder->OnChange;
  Placeholder->OnChange = nullptr;
  AnsiString Name = Placeholder->Name();
  Placeholder->SetName(AnsiString());
  Edit->SetName(Name);
  if (Caption) Caption->SetFocusControl(Edit);
}

void TfraBasic::ReadCoordEdits() {
  for (int I = 0; I < ComponentCount(); ++I)
    if (auto* Edit = ObjectAs<TEditCoordEx>(Components(I))) Edit->ParseText();
}

void InitfBasic() { RegisterClass(&TfraBasic::StaticClass()); }

void DonefBasic() { UnRegisterClass(&TfraBasic::StaticClass()); }
