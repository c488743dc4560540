// The pages after the board's shape: layers, via style, component/track technology
// and the track/via minimums; and the pages' pictures, each bitmap released once when
// the dialog goes.
#include "tests/wizard/WizardFixture.h"

#include "tests/wizard/PageTestSupport.h"
#include "wizard/fDetails.h"
#include "wizard/fLayers.h"
#include "wizard/fManufact.h"
#include "wizard/fTrackVia.h"
#include "wizard/fViaStyle.h"

namespace wiztest {
namespace {

constexpr int LayersPageTag = 90;
constexpr int ViaStylePageTag = 110;
constexpr int TechnologyPageTag = 120;
constexpr int TrackViaPageTag = 130;

class TechnologyPagesTest : public WizardTest {
 protected:
  // Next from the welcome page until the page of Tag is shown (the defaults take
  // the custom board's pages).
  static std::vector<TStep> To(int Tag) {
    std::vector<TStep> Steps;
    const int Clicks =
        Tag == LayersPageTag ? 4 : Tag == ViaStylePageTag ? 5 : Tag == TechnologyPageTag ? 6 : 7;
    for (int I = 0; I < Clicks; ++I) Steps.push_back([](TForm_BoardWizard* D) { Click(D->btnNext); });
    Steps.push_back([Tag](TForm_BoardWizard* D) { ASSERT_EQ(ShownTag(D), Tag); });
    return Steps;
  }
  static void TypeInto(TWinControl* Edit, const std::string& Text) {
    Edit->SetFocus();
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    for (char C : Text) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  }
};

TEST_F(TechnologyPagesTest, TheLayersPageStoresWhatItsSpinEditsHoldWithinTheirRanges) {
  std::vector<int> Shown;
  std::vector<int> Stored;
  std::vector<TStep> Steps = To(LayersPageTag);
  Steps.push_back([&](TForm_BoardWizard* D) {
    TfraLayers* P = D->fraLayers;
    Shown = {P->sedSignalLayers->Value(), P->sedPowerPlanes->Value()};
    EXPECT_EQ(P->sedSignalLayers->Increment(), 2);
    EXPECT_EQ(P->sedPowerPlanes->Increment(), 2);
    P->sedSignalLayers->UpClick();
    P->sedPowerPlanes->DownClick();
    Click(D->btnNext);
    Stored.insert(Stored.end(), {D->BoardInfo->SignalLayers, D->BoardInfo->PowerPlanes});
    Click(D->btnBack);
  });
  Steps.push_back([&](TForm_BoardWizard* D) {
    TfraLayers* P = D->fraLayers;
    TypeInto(P->sedSignalLayers, "40");
    TypeInto(P->sedPowerPlanes, "7");
    Click(D->btnNext);
    Stored.insert(Stored.end(), {D->BoardInfo->SignalLayers, D->BoardInfo->PowerPlanes});
    Click(D->btnBack);
  });
  Steps.push_back([&](TForm_BoardWizard* D) {
    TypeInto(D->fraLayers->sedPowerPlanes, "99");
    Click(D->btnNext);
    Stored.push_back(D->BoardInfo->PowerPlanes);
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Shown, (std::vector<int>{2, 2}));
  EXPECT_EQ(Stored, (std::vector<int>{4, 0, 32, 7, 16}));
}

TEST_F(TechnologyPagesTest, TheViaStylePictureFollowsTheCheckedStyleFromEntryOn) {
  std::vector<TStep> Steps = To(ViaStylePageTag);
  Steps.insert(Steps.begin(), [](TForm_BoardWizard* D) { D->BoardInfo->ViaStyle = vsBlindBuried; });
  Byte Stored = vsNone;
  Steps.push_back([&](TForm_BoardWizard* D) {
    TfraViaStyle* P = D->fraViaStyle;
    EXPECT_TRUE(P->rbnBlindBuriedVias->Checked());
    EXPECT_FALSE(P->rbnThruholeVias->Checked());
    EXPECT_TRUE(ShowsBitmap(P->imgViaStyle, P->bmpBlindBuried));
    Click(P->rbnThruholeVias);
    EXPECT_TRUE(ShowsBitmap(P->imgViaStyle, P->bmpThru));
    EXPECT_TRUE(D->btnNext->Enabled());
    Click(D->btnNext);
    Stored = D->BoardInfo->ViaStyle;
    Click(D->btnBack);
  });
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraViaStyle* P = D->fraViaStyle;
    EXPECT_TRUE(P->rbnThruholeVias->Checked());
    EXPECT_TRUE(ShowsBitmap(P->imgViaStyle, P->bmpThru));
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Stored, vsThruHole);
}

TEST_F(TechnologyPagesTest, TheTechnologyPageShowsTheDefaults) {
  std::vector<TStep> Steps = To(TechnologyPageTag);
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraManufact* P = D->fraManufact;
    EXPECT_TRUE(P->rbnSMComps->Checked());
    EXPECT_FALSE(P->rbnTHComps->Checked());
    EXPECT_TRUE(P->pnlSM->Visible());
    EXPECT_TRUE(P->pnlSM->Enabled());
    EXPECT_FALSE(P->rbnYes1->Checked());
    EXPECT_TRUE(P->rbnNo1->Checked());
    EXPECT_TRUE(ShowsBitmap(P->imgSfcMount, P->bmpOneSide));
    EXPECT_FALSE(P->pnlTH->Visible());
    EXPECT_FALSE(P->pnlTH->Enabled());
    EXPECT_TRUE(P->rbnTwoTrack->Checked());
    EXPECT_TRUE(ShowsBitmap(P->imgRouteTech, P->bmpTwoTrack));
    EXPECT_TRUE(D->btnNext->Enabled());
    Click(P->rbnYes1);
    EXPECT_TRUE(ShowsBitmap(P->imgSfcMount, P->bmpTwoSides));
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(TechnologyPagesTest, ThroughHoleWithThreeTracksGivesItsMinimumsToTheTrackViaPage) {
  std::vector<std::string> Texts;
  TBoardInfoFromUser Stored;
  std::vector<TStep> Steps = To(TechnologyPageTag);
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraManufact* P = D->fraManufact;
    Click(P->rbnTHComps);
    EXPECT_TRUE(P->pnlTH->Visible());
    EXPECT_TRUE(P->pnlTH->Enabled());
    EXPECT_FALSE(P->pnlSM->Visible());
    EXPECT_FALSE(P->pnlSM->Enabled());
    Click(P->rbnThreeTrack);
    EXPECT_TRUE(ShowsBitmap(P->imgRouteTech, P->bmpThreeTrack));
    Click(D->btnNext);
  });
  Steps.push_back([&](TForm_BoardWizard* D) {
    ASSERT_EQ(ShownTag(D), TrackViaPageTag);
    TfraTrackVia* P = D->fraTrackVia;
    for (TEditCoordEx* Edit : {P->ecMinTrackSize, P->ecViaWidth, P->ecViaHoleSize, P->ecClearance}) {
      Texts.push_back(Edit->Text());
      EXPECT_TRUE(Edit->Hyperlink());
    }
    Stored = *D->BoardInfo;
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Texts, (std::vector<std::string>{"6 mil", "25 mil", "12 mil", "6 mil"}));
  EXPECT_FALSE(Stored.SurfaceMount);
  EXPECT_EQ(Stored.RouteTechnology, 2);
  EXPECT_EQ(Stored.MinTrackSize, MilToCoord(6));
  EXPECT_EQ(Stored.MinViaWidth, MilToCoord(25));
  EXPECT_EQ(Stored.MinViaHoleSize, MilToCoord(12));
  EXPECT_EQ(Stored.MinClearance, MilToCoord(6));
}

TEST_F(TechnologyPagesTest, AnEditedMinimumIsResetByBackAndNext) {
  Integer Edited = 0, Reset = 0;
  std::string Shown;
  std::vector<TStep> Steps = To(TrackViaPageTag);
  Steps.push_back([](TForm_BoardWizard* D) { TypeInto(D->fraTrackVia->ecMinTrackSize, "20"); });
  Steps.push_back([&](TForm_BoardWizard* D) {
    Click(D->btnBack);
    EXPECT_EQ(ShownTag(D), TechnologyPageTag);
    Edited = D->BoardInfo->MinTrackSize;
    Click(D->btnNext);
    Reset = D->BoardInfo->MinTrackSize;
    Shown = D->fraTrackVia->ecMinTrackSize->Text();
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Edited, MilToCoord(20));
  // The default two tracks' row, surface-mount as the board is.
  EXPECT_EQ(Reset, MilToCoord(8));
  EXPECT_EQ(Shown, "8 mil");
}

TEST_F(TechnologyPagesTest, TheTrackViaPageShowsItsPicturesAndLabelsFocusTheEdits) {
  std::vector<TStep> Steps = To(TrackViaPageTag);
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraTrackVia* P = D->fraTrackVia;
    EXPECT_TRUE(ShowsBitmap(P->imgTrackSize, P->bmpTrackSize));
    EXPECT_TRUE(ShowsBitmap(P->imgViaSize, P->bmpViaSize));
    EXPECT_TRUE(ShowsBitmap(P->imgClearance, P->bmpClearance));
    EXPECT_EQ(P->Label22->FocusControl(), P->ecMinTrackSize);
    EXPECT_EQ(P->Label23->FocusControl(), P->ecViaWidth);
    EXPECT_EQ(P->Label24->FocusControl(), P->ecViaHoleSize);
    EXPECT_EQ(P->Label25->FocusControl(), P->ecClearance);
    Click(D->btnCancel);
  });
  Run(Steps);
}

// Every page bitmap and every image's copy, by handle.
std::vector<HBITMAP> PictureHandles(TForm_BoardWizard* D) {
  std::vector<HBITMAP> Handles;
  TfraDetails* Details = D->fraDetails;
  TfraViaStyle* ViaStyle = D->fraViaStyle;
  TfraManufact* Manufact = D->fraManufact;
  TfraTrackVia* TrackVia = D->fraTrackVia;
  std::vector<TBitmap*> Bitmaps = {
      Details->bmpRectOutline,  Details->bmpCircOutline,  Details->bmpCustomOutline,
      ViaStyle->bmpThru,        ViaStyle->bmpBlindBuried, Manufact->bmpOneSide,
      Manufact->bmpTwoSides,    Manufact->bmpOneTrack,    Manufact->bmpTwoTrack,
      Manufact->bmpThreeTrack,  TrackVia->bmpTrackSize,   TrackVia->bmpViaSize,
      TrackVia->bmpClearance};
  for (TImage* Image : {Details->imgBoardShape, ViaStyle->imgViaStyle, Manufact->imgSfcMount,
                        Manufact->imgRouteTech, TrackVia->imgTrackSize, TrackVia->imgViaSize,
                        TrackVia->imgClearance})
    if (auto* Shown = ObjectAs<TBitmap>(Image->Picture()->Graphic())) Bitmaps.push_back(Shown);
  for (TBitmap* Bitmap : Bitmaps) {
    EXPECT_NE(Bitmap, nullptr);
    if (Bitmap) Handles.push_back(Bitmap->Handle());
  }
  return Handles;
}

TEST_F(TechnologyPagesTest, NoPictureIsLeftOrReleasedTwiceWhenTheDialogGoes) {
  // Every page is shown once; then the dialog is cancelled and destroyed.
  auto ShowAll = [](std::vector<HBITMAP>& Handles) {
    std::vector<TStep> Steps;
    for (int I = 1; I < 14; ++I) Steps.push_back([I](TForm_BoardWizard* D) { D->ShowPage(I); });
    Steps.push_back([&Handles](TForm_BoardWizard* D) {
      Handles = PictureHandles(D);
      Click(D->btnCancel);
    });
    return Steps;
  };
  std::vector<HBITMAP> First, Second;
  Run(ShowAll(First));
  const int After = GdiHandleCount();
  Run(ShowAll(Second));
  EXPECT_EQ(GdiHandleCount(), After);
  EXPECT_EQ(First.size(), 20u);
  for (HBITMAP Handle : First) EXPECT_EQ(GetObjectType(Handle), 0u);
  for (HBITMAP Handle : Second) EXPECT_EQ(GetObjectType(Handle), 0u);
}

}  // namespace
}  // namespace wiztest
