// The pages of the wizard dialog: the units page and the coordinate edits of every
// page, the completion page's template answer, and a length typed and confirmed with
// Enter. A page of the test's own, with one coordinate edit for the record's minimum
// track size, joins the dialog's pages between the technology and track/via pages.
#include "tests/wizard/WizardFixture.h"

#include <fstream>
#include <sstream>

#include "wizard/fComplete.h"
#include "wizard/fDetails.h"
#include "wizard/fIntPage.h"
#include "wizard/fMUnits.h"

namespace wiztest {

class TfraCoordTest : public TfraIntPage {
  TCLASS_DECL(TfraCoordTest, TfraIntPage)
 public:
  explicit TfraCoordTest(TComponent* AOwner) : TfraIntPage(AOwner) {}

  void InitPage() override {
    auto* Placeholder = NewObject<TEdit>(this);
    Placeholder->SetName("edtLength");
    Placeholder->SetBounds(40, 100, 120, 21);
    Placeholder->SetParent(this);
    Caption = NewObject<TLabel>(this);
    Caption->SetCaption("&Length");
    Caption->SetBounds(40, 80, 60, 13);
    Caption->SetParent(this);
    PlaceholderTabOrder = Placeholder->TabOrder();
    ReplaceWithCoordEdit(Placeholder, Length, Caption);
  }
  void EnterPage() override { Length->SetValue(Form_BoardWizard->BoardInfo->MinTrackSize); }
  void LeavePage() override { Form_BoardWizard->BoardInfo->MinTrackSize = Length->Value(); }

  // What every page reaches of the dialog through its base.
  using TfraBasic::ApplyUnitsToEdits;
  using TfraBasic::BoardInfo;

  TEditCoordEx* Length = nullptr;
  TLabel* Caption = nullptr;
  int PlaceholderTabOrder = -1;
};

TCLASS_IMPL(TfraCoordTest)

namespace {

constexpr int CoordTestTag = 125;

// Adds the test's page to the dialog (in the first step, on the welcome page).
TfraCoordTest* AddCoordPage(TForm_BoardWizard* D) {
  auto* Page = NewObject<TfraCoordTest>(D->Panel_Top);
  Page->SetName("fraCoordTest");
  Page->SetTag(CoordTestTag);
  D->AddPage(Page);
  D->SortPages();
  return Page;
}

using PagesTest = WizardTest;

TEST_F(PagesTest, ACoordinateEditReplacesItsPlaceholder) {
  TfraCoordTest* Page = nullptr;
  Run({[&](TForm_BoardWizard* D) {
    Page = AddCoordPage(D);
    TEditCoordEx* Edit = Page->Length;
    ASSERT_NE(Edit, nullptr);
    EXPECT_EQ(Edit->Name(), "edtLength");
    EXPECT_EQ(Edit->Owner(), Page);
    EXPECT_EQ(Edit->Parent(), Page);
    EXPECT_TRUE(Edit->Hyperlink());
    EXPECT_EQ(Page->Caption->FocusControl(), Edit);
    // The placeholder's place in the tab order.
    EXPECT_EQ(Edit->TabOrder(), Page->PlaceholderTabOrder);
    EXPECT_EQ(Page->FindComponent("edtLength"), Edit);
    int Placeholders = 0;
    for (int I = 0; I < Page->ComponentCount(); ++I)
      if (auto* Other = ObjectAs<TEdit>(Page->Components(I)); Other && Other != Edit) {
        ++Placeholders;
        EXPECT_FALSE(Other->Visible());
        EXPECT_EQ(Other->Name(), "");
        EXPECT_EQ(Edit->BoundsRect(), Other->BoundsRect());

      }
    EXPECT_EQ(Placeholders, 1);
    Click(D->btnCancel);
  }});
}

TEST_F(PagesTest, MetricMakesEveryCoordinateEditShowAndReadMillimetres) {
  TfraCoordTest* Page = nullptr;
  std::vector<std::string> Texts;
  Integer Read = 0;
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  Run({[&](TForm_BoardWizard* D) {
         Page = AddCoordPage(D);
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         EXPECT_TRUE(D->fraMUnits->rbnImperial->Checked());
         Click(D->fraMUnits->rbnMetric);
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         EXPECT_EQ(D->BoardInfo->Units, eMetric);
         EXPECT_EQ(Page->Length->Units(), eMetric);
         Next(D);
       },
       Next, Next, Next, Next,
       [&](TForm_BoardWizard* D) {
         EXPECT_EQ(ShownTag(D), CoordTestTag);
         Texts.push_back(Page->Length->Text());  // the record's 8 mil
         Page->Length->SetText("2");
         Read = Page->Length->Value();
         Texts.push_back(Page->Length->Text());
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Texts, (std::vector<std::string>{"0.2 mm", "2.0 mm"}));
  EXPECT_EQ(Read, MmToCoord(2));
}

TEST_F(PagesTest, ALengthTypedAndConfirmedWithEnterReachesTheRecord) {
  TfraCoordTest* Page = nullptr;
  Integer Stored = 0;
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  Run({[&](TForm_BoardWizard* D) {
         Page = AddCoordPage(D);
         Next(D);
       },
       Next, Next, Next, Next, Next, Next,
       [&](TForm_BoardWizard* D) {
         EXPECT_EQ(ShownTag(D), CoordTestTag);
         Page->Length->SetFocus();
       },
       [&](TForm_BoardWizard*) {
         EXPECT_EQ(GetFocus(), Page->Length->Handle());
         SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
         Type("12");
       },
       [&](TForm_BoardWizard*) { PressKey(VK_RETURN); },
       [&](TForm_BoardWizard* D) {
         // Enter clicked Next: the page was left with the typed length read.
         EXPECT_EQ(ShownTag(D), 130);
         Stored = D->BoardInfo->MinTrackSize;
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Stored, MilToCoord(12));
}

TEST_F(PagesTest, TheCompletionPageGivesTheTemplateAnswerBackUnchanged) {
  std::vector<bool> Checked, Answers;
  std::vector<TStep> Steps;
  for (bool Open : {true, false}) {
    Steps.push_back([Open](TForm_BoardWizard* D) {
      D->BoardInfo->OpenTemplate = Open;
      D->ShowPage(D->PageCount() - 1);
    });
    Steps.push_back([&](TForm_BoardWizard* D) {
      EXPECT_EQ(ShownTag(D), CompletePageTag);
      TCheckBox* Box = D->fraComplete->chxOpenTemplate;
      EXPECT_FALSE(Box->Enabled());
      Checked.push_back(Box->Checked());
      Click(D->btnBack);
      Answers.push_back(D->BoardInfo->OpenTemplate);
    });
  }
  Steps.push_back([](TForm_BoardWizard* D) { Click(D->btnCancel); });
  Run(Steps);
  EXPECT_EQ(Checked, (std::vector<bool>{true, false}));
  EXPECT_EQ(Answers, (std::vector<bool>{true, false}));
}

TEST_F(PagesTest, TheUnitsPageShowsTheRecordsUnitAndStoresTheChoice) {
  std::vector<bool> Imperial, Metric;
  Integer Units = -1;
  Run({[](TForm_BoardWizard* D) {
         D->BoardInfo->Units = eMetric;
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         Imperial.push_back(D->fraMUnits->rbnImperial->Checked());
         Metric.push_back(D->fraMUnits->rbnMetric->Checked());
         Click(D->fraMUnits->rbnImperial);
         Imperial.push_back(D->fraMUnits->rbnImperial->Checked());
         Metric.push_back(D->fraMUnits->rbnMetric->Checked());
         Click(D->btnBack);
         Units = D->BoardInfo->Units;
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Imperial, (std::vector<bool>{false, true}));
  EXPECT_EQ(Metric, (std::vector<bool>{true, false}));
  EXPECT_EQ(Units, eImperial);
}

TEST_F(PagesTest, APageReachesTheRunningDialogsRecordAndUnitsThroughItsBase) {
  Run({[&](TForm_BoardWizard* D) {
    TfraCoordTest* Page = AddCoordPage(D);
    EXPECT_EQ(&Page->BoardInfo(), D->BoardInfo);
    // The record's units reach every page's coordinate edits, this page's and another's.
    ASSERT_EQ(D->BoardInfo->Units, eImperial);
    D->BoardInfo->Units = eMetric;
    Page->ApplyUnitsToEdits();
    EXPECT_EQ(Page->Length->Units(), eMetric);
    EXPECT_EQ(D->fraDetails->ecWidth->Units(), eMetric);
    D->BoardInfo->Units = eImperial;
    Page->ApplyUnitsToEdits();
    EXPECT_EQ(Page->Length->Units(), eImperial);
    EXPECT_EQ(D->fraDetails->ecWidth->Units(), eImperial);
    Click(D->btnCancel);
  }});
}

// The pages reach the dialog only through their base: of the page files of the wizard
// (f*.cpp and f*.h), only the base's source includes the dialog's header.
TEST(PageHelpersTest, OnlyThePagesBaseIncludesTheDialog) {
  const std::string Folder = std::string(TARVIK_SOURCE_ROOT) + "/wizard/";
  std::vector<std::string> Pages, Including;
  for (const char* Pattern : {"f*.cpp", "f*.h"}) {
    WIN32_FIND_DATAA Found;
    HANDLE Find = FindFirstFileA((Folder + Pattern).c_str(), &Found);
    ASSERT_NE(Find, INVALID_HANDLE_VALUE) << Folder << Pattern;
    do {
      Pages.push_back(Found.cFileName);
      std::ifstream In(Folder + Found.cFileName, std::ios::binary);
      std::stringstream Text;
      Text << In.rdbuf();
      if (Text.str().find("#include \"wizard/BoardDlg.h\"") != std::string::npos)
        Including.push_back(Found.cFileName);
    } while (FindNextFileA(Find, &Found));
    FindClose(Find);
  }
  EXPECT_EQ(Pages.size(), 34u);  // the base, its two kinds and 14 pages, each a pair
  EXPECT_EQ(Including, std::vector<std::string>{"fBasic.cpp"});
}

TEST(PageHelpersTest, AnImageShowsACopyOfThePagesBitmap) {
  TOwned<TfraBasic> Page(NewObject<TfraBasic>(nullptr));
  auto* Image = NewObject<TImage>(Page.get());
  TBitmap* Bitmap = NewObject<TBitmap>(12, 7);
  Page->SetImageBitmap(Image, Bitmap);
  // The page keeps and frees its own bitmap; the picture's copy stays.
  FreeAndNil(Bitmap);
  ASSERT_NE(Image->Picture()->Graphic(), nullptr);
  EXPECT_EQ(Image->Picture()->Width(), 12);
  EXPECT_EQ(Image->Picture()->Height(), 7);
  Page->SetImageBitmap(Image, nullptr);
  EXPECT_EQ(Image->Picture()->Graphic(), nullptr);
}

}  // namespace
}  // namespace wiztest
