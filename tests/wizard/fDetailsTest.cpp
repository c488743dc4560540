// The board details page: its first entry with the record's defaults, the shape
// choices and what they show, and what leaving it stores into the record.
#include "tests/wizard/WizardFixture.h"

#include "tests/wizard/PageTestSupport.h"
#include "wizard/fDetails.h"

namespace wiztest {
namespace {

constexpr int DetailsPageTag = 40;

class DetailsPageTest : public WizardTest {
 protected:
  // Next from the welcome page to the details page: three clicks.
  static std::vector<TStep> ToDetails() {
    auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
    return {Next, Next, Next};
  }
  // The user types Text over the whole text of a coordinate edit.
  static void TypeInto(TEditCoordEx* Edit, const std::string& Text) {
    Edit->SetFocus();
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    for (char C : Text) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  }
  // The user picks an item of the drop-down list.
  static void Pick(TComboBox* Box, int Index) {
    SendMessageA(Box->Handle(), CB_SETCURSEL, Index, 0);
    SendMessageA(GetParent(Box->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Box->Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Box->Handle()));
  }
};

TEST_F(DetailsPageTest, TheFirstEntryShowsTheDefaultsWithTheFirstMechanicalLayer) {
  std::vector<TStep> Steps = ToDetails();
  Steps.push_back([](TForm_BoardWizard* D) {
    ASSERT_EQ(ShownTag(D), DetailsPageTag);
    TfraDetails* P = D->fraDetails;
    EXPECT_TRUE(P->rbnRectangular->Checked());
    EXPECT_FALSE(P->rbnCircular->Checked());
    EXPECT_FALSE(P->rbnCustomShape->Checked());
    EXPECT_TRUE(ShowsBitmap(P->imgBoardShape, P->bmpRectOutline));
    EXPECT_TRUE(P->lblWidth->Visible());
    EXPECT_TRUE(P->lblHeight->Visible());
    EXPECT_FALSE(P->lblRadius->Visible());
    EXPECT_TRUE(P->ecWidth->Visible());
    EXPECT_TRUE(P->ecHeight->Visible());
    EXPECT_FALSE(P->ecRadius->Visible());
    EXPECT_EQ(P->ecWidth->Text(), "5000 mil");
    EXPECT_EQ(P->ecHeight->Text(), "4000 mil");
    EXPECT_EQ(P->ecTrackWidth->Text(), "10 mil");
    EXPECT_EQ(P->ecDimLineWidth->Text(), "10 mil");
    EXPECT_EQ(P->ecKeepOutDist->Text(), "50 mil");
    EXPECT_TRUE(P->cbxTitleBlockAndScale->Checked());
    EXPECT_TRUE(P->cbxLegendString->Checked());
    EXPECT_TRUE(P->cbxDimensionLines->Checked());
    EXPECT_FALSE(P->cbxCornerCutoff->Checked());
    EXPECT_FALSE(P->cbxInnerCutOff->Checked());
    EXPECT_TRUE(P->cbxCornerCutoff->Enabled());
    // "None" and the sixteen mechanical layers; the dimension lines found "None".
    ASSERT_EQ(P->cbxDimLayer->Items()->Count(), 17);
    EXPECT_EQ(P->cbxDimLayer->Items()->Strings(0), "None");
    EXPECT_EQ(P->cbxDimLayer->Items()->Strings(16), "Mechanical Layer 16");
    EXPECT_EQ(P->cbxDimLayer->Text(), "Mechanical Layer 1");
    // The edits take the page's look: plain, with the window's colour.
    EXPECT_FALSE(P->ecWidth->Hyperlink());
    EXPECT_EQ(P->ecTrackWidth->Color(), clWindow);
    EXPECT_TRUE(D->btnNext->Enabled());
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(DetailsPageTest, CircularShowsTheRadiusAndClearsAndDisablesTheCutOffs) {
  std::vector<TStep> Steps = ToDetails();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraDetails* P = D->fraDetails;
    P->cbxCornerCutoff->SetChecked(true);
    P->cbxInnerCutOff->SetChecked(true);
    Click(P->rbnCircular);
    EXPECT_TRUE(P->rbnCircular->Checked());
    EXPECT_TRUE(ShowsBitmap(P->imgBoardShape, P->bmpCircOutline));
    EXPECT_FALSE(P->lblWidth->Visible());
    EXPECT_FALSE(P->lblHeight->Visible());
    EXPECT_FALSE(P->ecWidth->Visible());
    EXPECT_FALSE(P->ecHeight->Visible());
    EXPECT_TRUE(P->lblRadius->Visible());
    EXPECT_TRUE(P->ecRadius->Visible());
    EXPECT_EQ(P->ecRadius->Text(), "2500 mil");  // half the larger side
    EXPECT_FALSE(P->cbxCornerCutoff->Checked());
    EXPECT_FALSE(P->cbxInnerCutOff->Checked());
    EXPECT_FALSE(P->cbxCornerCutoff->Enabled());
    EXPECT_FALSE(P->cbxInnerCutOff->Enabled());
    Click(P->rbnCustomShape);
    EXPECT_TRUE(ShowsBitmap(P->imgBoardShape, P->bmpCustomOutline));
    EXPECT_TRUE(P->ecWidth->Visible());
    EXPECT_TRUE(P->ecHeight->Visible());
    EXPECT_FALSE(P->ecRadius->Visible());
    EXPECT_FALSE(P->cbxCornerCutoff->Enabled());
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(DetailsPageTest, LeavingWithCircularAndARadiusMakesASquareOfTwiceIt) {
  TBoardInfoFromUser Stored;
  std::vector<TStep> Steps = ToDetails();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraDetails* P = D->fraDetails;
    Click(P->rbnCircular);
    TypeInto(P->ecRadius, "1000");
  });
  Steps.push_back([&](TForm_BoardWizard* D) {
    Click(D->btnNext);
    // No outline or cut-out page for a circle.
    EXPECT_EQ(ShownTag(D), 90);
    Stored = *D->BoardInfo;
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Stored.OutlineShape, osCircular);
  EXPECT_EQ(Stored.BoardWidth, MilToCoord(2000));
  EXPECT_EQ(Stored.BoardHeight, MilToCoord(2000));
  EXPECT_FALSE(Stored.CornerCutoff);
  EXPECT_FALSE(Stored.InnerCutoff);
}

TEST_F(DetailsPageTest, TheDimensionLayerIsStoredAsALayerOrZeroForNone) {
  std::vector<TLayer> Layers;
  std::vector<TStep> Steps = ToDetails();
  for (int Index : {0, 3}) {
    Steps.push_back([Index, &Layers](TForm_BoardWizard* D) {
      EXPECT_EQ(ShownTag(D), DetailsPageTag);
      Pick(D->fraDetails->cbxDimLayer, Index);
      Click(D->btnNext);
      Layers.push_back(D->BoardInfo->DimensionLayer);
      Click(D->btnBack);
    });
    // Coming back shows the stored choice.
    Steps.push_back([Index](TForm_BoardWizard* D) {
      EXPECT_EQ(D->fraDetails->cbxDimLayer->ItemIndex(), Index);
    });
  }
  Steps.push_back([](TForm_BoardWizard* D) { Click(D->btnCancel); });
  Run(Steps);
  EXPECT_EQ(Layers, (std::vector<TLayer>{0, 59}));
}

TEST_F(DetailsPageTest, ClickingRectangularChecksTheCutOffsSoNextVisitsTheirPages) {
  std::vector<int> Tags;
  std::vector<TStep> Steps = ToDetails();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraDetails* P = D->fraDetails;
    Click(P->rbnCircular);
    Click(P->rbnRectangular);
    EXPECT_TRUE(ShowsBitmap(P->imgBoardShape, P->bmpRectOutline));
    EXPECT_TRUE(P->cbxCornerCutoff->Checked());
    EXPECT_TRUE(P->cbxInnerCutOff->Checked());
    EXPECT_TRUE(P->cbxCornerCutoff->Enabled());
    EXPECT_TRUE(P->cbxInnerCutOff->Enabled());
    Click(D->btnNext);
  });
  Steps.push_back([&Tags](TForm_BoardWizard* D) {
    Tags.push_back(ShownTag(D));
    Click(D->btnNext);
  });
  // The inner cut-out page: no cut-out fits the board until one is typed.
  Steps.push_back([&Tags](TForm_BoardWizard* D) {
    Tags.push_back(ShownTag(D));
    EXPECT_FALSE(D->btnNext->Enabled());
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Tags, (std::vector<int>{60, 70}));
}

TEST_F(DetailsPageTest, NextNeedsADimensionLayer) {
  std::vector<TStep> Steps = ToDetails();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraDetails* P = D->fraDetails;
    P->cbxDimLayer->SetItemIndex(-1);
    P->ctrlChange(P->cbxDimLayer);
    EXPECT_FALSE(D->btnNext->Enabled());
    EXPECT_FALSE(D->btnFinish->Enabled());
    Pick(P->cbxDimLayer, 0);
    EXPECT_TRUE(D->btnNext->Enabled());
    Click(D->btnCancel);
  });
  Run(Steps);
}

}  // namespace
}  // namespace wiztest
