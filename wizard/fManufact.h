// The component and track technology page (Tag 120): surface-mount components (on
// one side of the board or both) or through-hole components (with one, two or three
// tracks between adjacent pads). Leaving it always sets the four minimum sizes to
// those of the track choice.
#pragma once

#include "wizard/fIntPage.h"

// The minimum track size, via width, via hole size and clearance in mils for each
// route technology (tracks between adjacent pads minus one).
inline constexpr int RouteTechnologyMinimums[3][4] = {{12, 62, 32, 13}, {8, 40, 25, 8}, {6, 25, 12, 6}};

class TfraManufact : public TfraIntPage {
  TCLASS_DECL(TfraManufact, TfraIntPage)
 public:
  explicit TfraManufact(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // Loads the five pictures and sets up the panels and pictures for the controls'
  // first state.
  void InitPage() override;
  void DonePage() override;
  // Surface-mount with a side answer, or through-hole with a track choice.
  bool CanGoNext() override;
  void EnterPage() override;
  void LeavePage() override;

  // Shows and enables the panel of the checked component kind, hides and disables
  // the other.
  void rbnCompsClick(TObject* Sender);
  void rbnYes1Click(TObject* Sender);
  void rbnNo1Click(TObject* Sender);
  void rbnOneTrackClick(TObject* Sender);
  void rbnTwoTrackClick(TObject* Sender);
  void rbnThreeTrackClick(TObject* Sender);

  TLabel* Label18 = nullptr;
  TRadioButton* rbnSMComps = nullptr;
  TRadioButton* rbnTHComps = nullptr;
  TPanel* pnlSM = nullptr;
  TLabel* Label19 = nullptr;
  TRadioButton* rbnYes1 = nullptr;
  TRadioButton* rbnNo1 = nullptr;
  TImage* imgSfcMount = nullptr;
  TPanel* pnlTH = nullptr;
  TLabel* Label20 = nullptr;
  TRadioButton* rbnOneTrack = nullptr;
  TRadioButton* rbnTwoTrack = nullptr;
  TRadioButton* rbnThreeTrack = nullptr;
  TImage* imgRouteTech = nullptr;

  // Owned by the page from InitPage to DonePage.
  TBitmap* bmpOneSide = nullptr;
  TBitmap* bmpTwoSides = nullptr;
  TBitmap* bmpOneTrack = nullptr;
  TBitmap* bmpTwoTrack = nullptr;
  TBitmap* bmpThreeTrack = nullptr;
};

void InitfManufact();
void DonefManufact();
