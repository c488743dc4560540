// The wizard dialog's pages and buttons, driven through the command as a user would.
#include "tests/wizard/WizardFixture.h"

#include <algorithm>

#include "wizard/fComplete.h"
#include "wizard/fMUnits.h"

namespace wiztest {
namespace {

using NavigationTest = WizardTest;

TEST_F(NavigationTest, NextVisitsThePagesThatTakePartWithTheDefaults) {
  std::vector<int> Tags;
  std::vector<TStep> Steps;
  for (int I = 0; I < 9; ++I)
    Steps.push_back([&](TForm_BoardWizard* D) {
      Tags.push_back(ShownTag(D));
      if (D->btnNext->Enabled()) Click(D->btnNext);
    });
  Steps.push_back([](TForm_BoardWizard* D) { Click(D->btnCancel); });
  Run(Steps);
  EXPECT_EQ(Tags, (std::vector<int>{10, 20, 30, 40, 90, 110, 120, 130, 150}));
}

TEST_F(NavigationTest, ATemplateProfileGoesFromTheProfilesStraightToTheLayers) {
  std::vector<int> Tags;
  auto Next = [&](TForm_BoardWizard* D) {
    Tags.push_back(ShownTag(D));
    Click(D->btnNext);
  };
  Run({Next, Next,
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));
         ChooseFirstTemplate(D);
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Tags, (std::vector<int>{10, 20, 30, 90}));
}

TEST_F(NavigationTest, BackLandsOnAPageSkippedBeforeOnceTheRecordLetsItTakePart) {
  std::vector<int> Tags;
  auto Next = [](TForm_BoardWizard* D) { Click(D->btnNext); };
  Run({Next, Next, Next, Next,
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));  // the layers page, after the details page
         D->BoardInfo->OutlineShape = osCustom;
         Click(D->btnBack);
       },
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));
         D->BoardInfo->OutlineShape = osRectangular;
         D->BoardInfo->CornerCutoff = true;
         D->BoardInfo->InnerCutoff = true;
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));
         Click(D->btnBack);
       },
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));
         Click(D->btnCancel);
       }});
  // Back from the layers page finds the outline page; with a rectangle and both
  // cut-offs Next then goes to the corner cut-off page, and Back skips the outline
  // page, which no longer takes part.
  EXPECT_EQ(Tags, (std::vector<int>{90, 50, 60, 40}));
}

// Opening the dialog makes the first page's windows only; a page's windows are made
// when it is first shown, and a page shown once keeps them.
TEST_F(NavigationTest, APageGetsItsWindowsWhenItIsFirstShown) {
  std::vector<std::vector<int>> WithWindows;
  auto Record = [&](TForm_BoardWizard* D) {
    std::vector<int> Tags;
    for (TfraBasic* P : D->PageFields())
      if (P->HandleAllocated()) Tags.push_back(P->Tag());
    std::sort(Tags.begin(), Tags.end());
    WithWindows.push_back(Tags);
  };
  Run({[&](TForm_BoardWizard* D) {
         Record(D);
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         Click(D->btnBack);
       },
       [&](TForm_BoardWizard* D) {
         Record(D);
         Click(D->btnCancel);
       }});
  EXPECT_EQ(WithWindows, (std::vector<std::vector<int>>{{10}, {10, 20}}));
}

// The enabled buttons and the default one: Finish, Back, Next, default.
struct TButtonState {
  bool Finish, Back, Next;
  TTeThemeButton* Default;
};

TButtonState ButtonState(TForm_BoardWizard* D) {
  TTeThemeButton* Default = D->btnNext->Default() ? D->btnNext : D->btnFinish->Default() ? D->btnFinish : nullptr;
  return {D->btnFinish->Enabled(), D->btnBack->Enabled(), D->btnNext->Enabled(), Default};
}

TEST_F(NavigationTest, ButtonsOfTheWelcomeUnitsAndCompletionPages) {
  std::vector<TButtonState> States;
  std::vector<TTeThemeButton*> Next, Finish;
  auto Record = [&](TForm_BoardWizard* D) {
    States.push_back(ButtonState(D));
    Next.push_back(D->btnNext);
    Finish.push_back(D->btnFinish);
  };
  std::vector<TStep> Steps{[&](TForm_BoardWizard* D) {
                             Record(D);
                             Click(D->btnNext);
                           },
                           [&](TForm_BoardWizard* D) {
                             Record(D);
                             Click(D->btnNext);
                           }};
  for (int I = 0; I < 6; ++I) Steps.push_back([](TForm_BoardWizard* D) { Click(D->btnNext); });
  Steps.push_back([&](TForm_BoardWizard* D) {
    EXPECT_EQ(ShownTag(D), CompletePageTag);
    Record(D);
    Click(D->btnCancel);
  });
  Run(Steps);
  ASSERT_EQ(States.size(), 3u);
  // Welcome: Back and Finish disabled, Next enabled and the default.
  EXPECT_FALSE(States[0].Finish);
  EXPECT_FALSE(States[0].Back);
  EXPECT_TRUE(States[0].Next);
  EXPECT_EQ(States[0].Default, Next[0]);
  // Units: Finish disabled whatever is chosen; Next enabled, a unit being chosen.
  EXPECT_FALSE(States[1].Finish);
  EXPECT_TRUE(States[1].Back);
  EXPECT_TRUE(States[1].Next);
  EXPECT_EQ(States[1].Default, Next[1]);
  // Completion: Next disabled; Finish enabled and the default.
  EXPECT_TRUE(States[2].Finish);
  EXPECT_TRUE(States[2].Back);
  EXPECT_FALSE(States[2].Next);
  EXPECT_EQ(States[2].Default, Finish[2]);
}

}  // namespace
}  // namespace wiztest
