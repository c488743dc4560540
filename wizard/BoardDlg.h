// The wizard dialog: fourteen page frames in one panel, one shown at a time. Back and
// Next move between the pages that take part for the answers so far; Next first checks
// the page's part of the board rule (BoardDB_Rule.h). Finish, from any page, checks the
// whole rule and ends with OK (1); Cancel or the close box end with Cancel (2). A
// record that makes no board gives one message, and the dialog stays on the page of the
// field at fault.
#pragma once

#include <array>

#include "classlib/ExtCtrls.h"
#include "classlib/Lists.h"
#include "framework/Rt_forms.h"
#include "skin/KsThemeButtons.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "wizard/BoardDB.h"
#include "wizard/BoardDB_Rule.h"

class TfraBasic;
class TfraWelcome;
class TfraMUnits;
class TfraProfiles;
class TfraDetails;
class TfraOutline;
class TfraCornerCut;
class TfraInnerCut;
class TfraTitleBlk;
class TfraLayers;
class TfraLayerStack;
class TfraViaStyle;
class TfraManufact;
class TfraTrackVia;
class TfraComplete;

// The page Tags that the navigation knows.
inline constexpr int WelcomePageTag = 10;
inline constexpr int CompletePageTag = 150;

class TForm_BoardWizard : public TServerDialog {
  TCLASS_DECL(TForm_BoardWizard, TServerDialog)
 public:
  // Keeps the record (not owned); the pages are made once the form file is read.
  explicit TForm_BoardWizard(TBoardInfoFromUser* ABoardInfo);

  // Components of the form file.
  TPanel* pnlButtons = nullptr;
  TBevel* bvlButtons = nullptr;
  TTeThemeButton* btnFinish = nullptr;
  TTeThemeButton* btnBack = nullptr;
  TTeThemeButton* btnNext = nullptr;
  TTeThemeButton* btnCancel = nullptr;
  TPanel* Panel_Top = nullptr;
  TTeThemeEngine* TeThemeEngine1 = nullptr;
  TTeThemeForm* TeThemeForm1 = nullptr;

  // The record being filled; owned by the runner.
  TBoardInfoFromUser* BoardInfo;
  // The pages, sorted by Tag once the dialog is shown; the list is owned, the pages
  // are Panel_Top's.
  TList* Pages = nullptr;
  // The index in Pages of the page shown, -1 for none.
  int CurrentPage = -1;
  TfraWelcome* fraWelcome = nullptr;
  TfraMUnits* fraMUnits = nullptr;
  TfraProfiles* fraProfiles = nullptr;
  TfraDetails* fraDetails = nullptr;
  TfraOutline* fraOutline = nullptr;
  TfraCornerCut* fraCornerCut = nullptr;
  TfraInnerCut* fraInnerCut = nullptr;
  TfraTitleBlk* fraTitleBlk = nullptr;
  TfraLayers* fraLayers = nullptr;
  TfraLayerStack* fraLayerStack = nullptr;
  TfraViaStyle* fraViaStyle = nullptr;
  TfraManufact* fraManufact = nullptr;
  TfraTrackVia* fraTrackVia = nullptr;
  TfraComplete* fraComplete = nullptr;

  // The 14 page fields, in their declared order (nullptr for a page not made).
  std::array<TfraBasic*, 14> PageFields() const;
  // The page at an index of Pages.
  TfraBasic* Page(int Index) const;
  int PageCount() const { return Pages ? Pages->Count() : 0; }
  // The page shown, or nullptr.
  TfraBasic* ActivePage() const { return CurrentPage >= 0 ? Page(CurrentPage) : nullptr; }

  // InitPage, then the page joins Pages, is parented to Panel_Top and hidden.
  void AddPage(TfraBasic* APage);
  // Pages in ascending Tag order.
  void SortPages();
  // Whether the page takes part for the record as it is now.
  bool IsPageActive(TfraBasic* APage) const;
  // Hides the page shown, shows page Index, enters it and updates the buttons; Next is
  // the default button except on the completion page, where Finish is.
  void ShowPage(int Index);
  // The page shown reads its coordinate edits and stores its answers. With Check, its
  // part of the board rule is checked then: a fault is reported (see AcceptAnswers)
  // and the page stays, and the result is false. Otherwise the page is hidden.
  bool LeaveCurrentPage(bool Check);
  // Ends the dialog with OK when the record makes a board; otherwise reports the
  // fault and stays.
  void FinishWizard();
  // True for a fault that is Ok. Otherwise shows its message once (a message dialog,
  // MessageDlg), shows the page whose edit shows the field and focuses that edit;
  // false.
  bool AcceptAnswers(const TBoardFault& Fault);
  // Every coordinate edit of every page shows and reads the record's units.
  void ApplyUnitsToEdits();

  // Handlers bound by the form file.
  void FormShow(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void btnNextClick(TObject* Sender);
  void btnBackClick(TObject* Sender);
  void btnFinishClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);

 protected:
  // Makes the pages, once the form file gave the dialog its panel.
  void DoCreate() override;
};

// The running wizard dialog, through which pages reach the record and the buttons;
// nullptr while there is none.
extern TForm_BoardWizard* Form_BoardWizard;

// The unit's start (the dialog's class and published parts) and end.
void InitBoardDlg();
void DoneBoardDlg();
