#include "wizard/BoardDlg.h"

#include <array>

#include "classlib/Dialogs.h"
#include "wizard/BoardDB_Rule.h"
#include "wizard/EditCoord.h"
#include "wizard/fBasic.h"
#include "wizard/fComplete.h"
#include "wizard/fCornerCut.h"
#include "wizard/fDetails.h"
#include "wizard/fInnerCut.h"
#include "wizard/fLayerStack.h"
#include "wizard/fLayers.h"
#include "wizard/fMUnits.h"
#include "wizard/fManufact.h"
#include "wizard/fOutline.h"
#include "wizard/fProfiles.h"
#include "wizard/fTitleBlk.h"
#include "wizard/fTrackVia.h"
#include "wizard/fViaStyle.h"
#include "wizard/fWelcome.h"

TCLASS_IMPL(TForm_BoardWizard)

TForm_BoardWizard* Form_BoardWizard = nullptr;

namespace {

int ComparePageTags(void* Item1, void* Item2) {
  const int Tag1 = static_cast<TfraBasic*>(Item1)->Tag();
  const int Tag2 = static_cast<TfraBasic*>(Item2)->Tag();
  return Tag1 < Tag2 ? -1 : Tag1 > Tag2 ? 1 : 0;
}

}  // namespace

TForm_BoardWizard::TForm_BoardWizard(TBoardInfoFromUser* ABoardInfo)
    : TServerDialog(nullptr), BoardInfo(ABoardInfo) {}

void TForm_BoardWizard::DoCreate() {
  Pages = NewObject<TList>();
  fraWelcome = NewObject<TfraWelcome>(Panel_Top);
  fraMUnits = NewObject<TfraMUnits>(Panel_Top);
  fraProfiles = NewObject<TfraProfiles>(Panel_Top);
  fraDetails = NewObject<TfraDetails>(Panel_Top);
  fraOutline = NewObject<TfraOutline>(Panel_Top);
  fraCornerCut = NewObject<TfraCornerCut>(Panel_Top);
  fraInnerCut = NewObject<TfraInnerCut>(Panel_Top);
  fraTitleBlk = NewObject<TfraTitleBlk>(Panel_Top);
  fraLayers = NewObject<TfraLayers>(Panel_Top);
  fraLayerStack = NewObject<TfraLayerStack>(Panel_Top);
  fraViaStyle = NewObject<TfraViaStyle>(Panel_Top);
  fraManufact = NewObject<TfraManufact>(Panel_Top);
  fraTrackVia = NewObject<TfraTrackVia>(Panel_Top);
  fraComplete = NewObject<TfraComplete>(Panel_Top);
  inherited::DoCreate();
}

TfraBasic* TForm_BoardWizard::Page(int Index) const {
  return static_cast<TfraBasic*>(Pages->Get(Index));
}

void TForm_BoardWizard::AddPage(TfraBasic* APage) {
  APage->InitPage();
  Pages->Add(APage);
  // Hidden before it joins the dialog: a page's windows are made when it is first shown,
  // not all fourteen pages' when the dialog opens.
  APage->Hide();
  APage->SetParent(Panel_Top);
}

void TForm_BoardWizard::SortPages() { Pages->Sort(ComparePageTags); }

std::array<TfraBasic*, 14> TForm_BoardWizard::PageFields() const {
  return {fraWelcome,    fraMUnits,  fraProfiles,   fraDetails,  fraOutline,
          fraCornerCut,  fraInnerCut, fraTitleBlk,  fraLayers,   fraLayerStack,
          fraViaStyle,   fraManufact, fraTrackVia,  fraComplete};
}

void TForm_BoardWizard::FormShow(TObject*) {
  // The pages join once, however often the dialog is shown.
  if (Pages->Count() == 0) {
    for (TfraBasic* P : PageFields()) AddPage(P);
    SortPages();
  }
  CurrentPage = -1;
  ShowPage(0);
}

void TForm_BoardWizard::FormDestroy(TObject*) {
  FreeAndNil(Pages);
  CurrentPage = -1;
  for (TfraBasic* P : PageFields())
    if (P) P->DonePage();
}

bool TForm_BoardWizard::IsPageActive(TfraBasic* APage) const {
  const TBoardInfoFromUser& Info = *BoardInfo;
  const bool Rectangular = Info.IsCustom && Info.OutlineShape == osRectangular;
  switch (APage->Tag()) {
    case 40: return Info.IsCustom;
    case 50: return Info.IsCustom && Info.OutlineShape == osCustom;
    case 60: return Rectangular && Info.CornerCutoff;
    case 70: return Rectangular && Info.InnerCutoff;
    case 80: return false;
    case 100: return false;
    case 140: return Info.IsCustom;
    default: return true;
  }
}

void TForm_BoardWizard::ShowPage(int Index) {
  if (TfraBasic* Shown = ActivePage()) Shown->Hide();
  CurrentPage = Index;
  TfraBasic* P = Page(Index);
  P->Show();
  P->EnterPage();
  P->UpdateWizardButtons();
  btnNext->SetDefault(P->Tag() != CompletePageTag);
  btnFinish->SetDefault(!btnNext->Default());
}

bool TForm_BoardWizard::LeaveCurrentPage(bool Check) {
  TfraBasic* P = ActivePage();
  if (!P) return true;
  P->ReadCoordEdits();
  P->LeavePage();
  TBoardPart Part = bpDetails;
  if (Check && P->BoardPart(Part) && !AcceptAnswers(CheckBoardPart(*BoardInfo, Part)))
    return false;
  P->Hide();
  return true;
}

bool TForm_BoardWizard::AcceptAnswers(const TBoardFault& Fault) {
  if (Fault.Ok()) return true;
  MessageDlg(Fault.Message, mtError, {mbOK}, 0);
  for (int I = 0; I < PageCount(); ++I) {
    TWinControl* Edit = Page(I)->FieldEdit(Fault.Field);
    if (!Edit) continue;
    // The page left shows again as it was left, without loading it from the record.
    if (I != CurrentPage)
      ShowPage(I);
    else
      Page(I)->Show();
    if (Edit->CanFocus()) Edit->SetFocus();
    return false;
  }
  // No page shows the field: the page left stays.
  if (TfraBasic* P = ActivePage()) P->Show();
  return false;
}

void TForm_BoardWizard::btnNextClick(TObject*) {
  if (!LeaveCurrentPage(true)) return;
  for (int I = CurrentPage + 1; I < PageCount(); ++I)
    if (IsPageActive(Page(I))) {
      ShowPage(I);
      return;
    }
  FinishWizard();
}

void TForm_BoardWizard::btnBackClick(TObject*) {
  LeaveCurrentPage(false);
  for (int I = CurrentPage - 1; I >= 0; --I)
    if (IsPageActive(Page(I))) {
      ShowPage(I);
      return;
    }
}

void TForm_BoardWizard::btnFinishClick(TObject*) {
  LeaveCurrentPage(false);
  FinishWizard();
}

void TForm_BoardWizard::FinishWizard() {
  if (AcceptAnswers(CheckBoard(*BoardInfo))) SetModalResult(mrOk);
}

void TForm_BoardWizard::btnCancelClick(TObject*) { SetModalResult(mrCancel); }

void TForm_BoardWizard::ApplyUnitsToEdits() {
  if (!Panel_Top) return;
  for (int I = 0; I < Panel_Top->ComponentCount(); ++I) {
    auto* P = ObjectAs<TfraBasic>(Panel_Top->Components(I));
    if (!P) continue;
    for (int J = 0; J < P->ComponentCount(); ++J)
      if (auto* Edit = ObjectAs<TEditCoordEx>(P->Components(J))) Edit->SetUnits(BoardInfo->Units);
  }
}

void InitBoardDlg() {
  RegisterClass(&TForm_BoardWizard::StaticClass());
  using F = TForm_BoardWizard;
  TPublish<F> P;
  P.Field("pnlButtons", &F::pnlButtons);
  P.Field("bvlButtons", &F::bvlButtons);
  P.Field("btnFinish", &F::btnFinish);
  P.Field("btnBack", &F::btnBack);
  P.Field("btnNext", &F::btnNext);
  P.Field("btnCancel", &F::btnCancel);
  P.Field("Panel_Top", &F::Panel_Top);
  P.Field("TeThemeEngine1", &F::TeThemeEngine1);
  P.Field("TeThemeForm1", &F::TeThemeForm1);
  P.Method<&F::FormShow>("FormShow");
  P.Method<&F::FormDestroy>("FormDestroy");
  P.Method<&F::btnNextClick>("btnNextClick");
  P.Method<&F::btnBackClick>("btnBackClick");
  P.Method<&F::btnFinishClick>("btnFinishClick");
  P.Method<&F::btnCancelClick>("btnCancelClick");
}

void DoneBoardDlg() {
  UnRegisterPublished(&TForm_BoardWizard::StaticClass());
  UnRegisterClass(&TForm_BoardWizard::StaticClass());
}
