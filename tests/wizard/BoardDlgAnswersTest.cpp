// Answers that make no board, given through the running wizard dialog: Finish and Next
// show one message (caught at the message dialog's seam), stay, and put the focus on
// the field at fault; no document is made.
#include "tests/wizard/WizardFixture.h"

#include "classlib/Dialogs.h"
#include "wizard/fCornerCut.h"
#include "wizard/fDetails.h"
#include "wizard/fInnerCut.h"
#include "wizard/fTrackVia.h"

namespace wiztest {
namespace {

std::vector<std::string> Messages;

TModalResult RecordMessage(TCustomForm* Form) {
  auto* Message = ObjectAs<TMessageForm>(Form);
  Messages.push_back(Message ? Message->MessageLabel()->Text() : "(no message form)");
  return mrOk;
}

class AnswersTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    if (HasFatalFailure()) return;
    Messages.clear();
    SavedRun = MessageDialogRunProc;
    MessageDialogRunProc = RecordMessage;
  }
  void TearDown() override {
    MessageDialogRunProc = SavedRun;
    WizardTest::TearDown();
  }

  // Next until the page with Tag shows.
  static void NextTo(TForm_BoardWizard* D, int Tag) {
    for (int I = 0; I < 20 && ShownTag(D) != Tag; ++I) Click(D->btnNext);
    ASSERT_EQ(ShownTag(D), Tag);
  }

  // Whether the wizard stays on the page with Tag, with the focus in Edit.
  static void ExpectStaysAt(TForm_BoardWizard* D, int Tag, TWinControl* Edit) {
    EXPECT_EQ(ShownTag(D), Tag);
    EXPECT_EQ(D->ModalResult(), mrNone);
    EXPECT_EQ(GetFocus(), Edit->Handle());
  }

  // On the page with Tag, Answer sets a field; Finish is pressed; the wizard must stay
  // there with the focus in the field's edit. The messages shown.
  template <class Answer, class EditOf>
  std::vector<std::string> FinishRefused(int Tag, Answer&& Set, EditOf&& Edit) {
    Run({[&](TForm_BoardWizard* D) {
           NextTo(D, Tag);
           Set(D);
           Click(D->btnFinish);
         },
         [&](TForm_BoardWizard* D) {
           ExpectStaysAt(D, Tag, Edit(D));
           Click(D->btnCancel);
         }});
    EXPECT_EQ(Host->DocumentCount(), 0);
    return Messages;
  }

  TMessageDialogRunProc SavedRun = MessageDialogRunProc;  // also after a SetUp that stopped early
};

using TMessages = std::vector<std::string>;

TEST_F(AnswersTest, FinishWithABoardOfNoWidthOrANegativeHeightShowsOneMessage) {
  auto Width = [](TForm_BoardWizard* D) { return D->fraDetails->ecWidth; };
  auto Height = [](TForm_BoardWizard* D) { return D->fraDetails->ecHeight; };
  EXPECT_EQ(
      FinishRefused(
          40, [](TForm_BoardWizard* D) { D->fraDetails->ecWidth->SetText("0"); }, Width),
      TMessages{"The board's width must be greater than 0 mil."});
  Messages.clear();
  EXPECT_EQ(
      FinishRefused(
          40, [](TForm_BoardWizard* D) { D->fraDetails->ecHeight->SetText("-5"); }, Height),
      TMessages{"The board's height must be greater than 0 mil."});
}

TEST_F(AnswersTest, FinishWithARadiusOfLettersShowsOneMessage) {
  EXPECT_EQ(FinishRefused(
                40,
                [](TForm_BoardWizard* D) {
                  Click(D->fraDetails->rbnCircular);
                  ASSERT_TRUE(D->fraDetails->ecRadius->Visible());
                  D->fraDetails->ecRadius->SetText("abc");
                  // Text that is no number still reads as 0.
                  EXPECT_EQ(D->fraDetails->ecRadius->Value(), 0);
                },
                [](TForm_BoardWizard* D) { return D->fraDetails->ecRadius; }),
            TMessages{"The board's radius must be greater than 0 mil."});
}

TEST_F(AnswersTest, FinishWithANegativeTrackWidthOrClearanceShowsOneMessage) {
  EXPECT_EQ(
      FinishRefused(
          130, [](TForm_BoardWizard* D) { D->fraTrackVia->ecMinTrackSize->SetText("-5"); },
          [](TForm_BoardWizard* D) { return D->fraTrackVia->ecMinTrackSize; }),
      TMessages{"The minimum track size must be greater than 0 mil."});
  Messages.clear();
  EXPECT_EQ(
      FinishRefused(
          130, [](TForm_BoardWizard* D) { D->fraTrackVia->ecClearance->SetText("-5"); },
          [](TForm_BoardWizard* D) { return D->fraTrackVia->ecClearance; }),
      TMessages{"The minimum clearance must be greater than 0 mil."});
}

TEST_F(AnswersTest, FinishFromTheLastPageGoesToThePageOfTheFieldAtFault) {
  Run({[](TForm_BoardWizard* D) {
         NextTo(D, CompletePageTag);
         D->BoardInfo->BoardWidth = 0;
         Click(D->btnFinish);
       },
       [](TForm_BoardWizard* D) {
         ExpectStaysAt(D, 40, D->fraDetails->ecWidth);
         EXPECT_EQ(D->fraDetails->ecWidth->Value(), 0);
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Messages, TMessages{"The board's width must be greater than 0 mil."});
  EXPECT_EQ(Host->DocumentCount(), 0);
}

TEST_F(AnswersTest, NextRefusesCutOffsMeetingAlongASideAndTakesSmallerOnes) {
  std::vector<int> Tags;
  Run({[](TForm_BoardWizard* D) {
         NextTo(D, 40);
         Click(D->fraDetails->cbxCornerCutoff);
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         TfraCornerCut* Page = D->fraCornerCut;
         Tags.push_back(ShownTag(D));
         Page->edtCutWidth[bcUpperLeft]->SetText("3000");
         Page->edtCutWidth[bcUpperRight]->SetText("2000");
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         TfraCornerCut* Page = D->fraCornerCut;
         ExpectStaysAt(D, 60, Page->edtCutWidth[bcUpperRight]);
         for (int Corner = 0; Corner < 4; ++Corner) {
           Page->edtCutWidth[Corner]->SetText("800");
           Page->edtCutHeight[Corner]->SetText("600");
         }
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         Tags.push_back(ShownTag(D));
         EXPECT_EQ(D->BoardInfo->CornerCut[bcLowerRight],
                   (TPoint{MilToCoord(800), MilToCoord(600)}));
         Click(D->btnFinish);
       }});
  EXPECT_EQ(Tags, (std::vector<int>{60, 90}));
  EXPECT_EQ(Messages,
            TMessages{"The upper-right cut-off's width must be less than 2000 mil so "
                      "that it does not meet the upper-left cut-off."});
  EXPECT_EQ(Host->DocumentCount(), 1);
}

TEST_F(AnswersTest, LengthsPastTheCoordinateRangeAreRefusedWithTheirLimit) {
  Run({[](TForm_BoardWizard* D) {
         NextTo(D, 40);
         D->fraDetails->ecWidth->SetText("214748");
         Click(D->btnNext);
       },
       [](TForm_BoardWizard* D) {
         ExpectStaysAt(D, 40, D->fraDetails->ecWidth);
         Click(D->fraDetails->rbnCircular);
         D->fraDetails->ecRadius->SetText("150000");
         Click(D->btnFinish);
       },
       [](TForm_BoardWizard* D) {
         ExpectStaysAt(D, 40, D->fraDetails->ecRadius);
         // Doubled without wrapping.
         EXPECT_GT(D->BoardInfo->BoardWidth, 0);
         EXPECT_EQ(D->fraDetails->ecRadius->Value(), MilToCoord(150000));
         Click(D->btnCancel);
       }});
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[0],
            "The board's width must be at most 212548 mil for the board to stay within the "
            "PCB editor's coordinates.");
  EXPECT_EQ(
      Messages[1],
      "The board's radius must be at most 105874 mil for the board to stay within the "
      "PCB editor's coordinates.");
  EXPECT_EQ(Host->DocumentCount(), 0);
}

TEST_F(AnswersTest, ACutOutLeftPastAShrunkBoardBlamesItsDistanceFromTheEdge) {
  Run({[](TForm_BoardWizard* D) {
         NextTo(D, 40);
         Click(D->fraDetails->cbxInnerCutOff);
         Click(D->btnNext);
       },
       [](TForm_BoardWizard* D) {
         TfraInnerCut* Page = D->fraInnerCut;
         ASSERT_EQ(ShownTag(D), 70);
         Page->edtXDistance->SetText("3000");
         Page->edtYDistance->SetText("2000");
         Page->edtWidth->SetText("1000");
         Page->edtHeight->SetText("1000");
         Click(D->btnBack);
       },
       [](TForm_BoardWizard* D) {
         // The board shrinks below the cut-out's place: no width brings it back inside.
         D->fraDetails->ecWidth->SetText("2000");
         D->fraDetails->ecHeight->SetText("1500");
         Click(D->btnFinish);
       },
       [](TForm_BoardWizard* D) {
         ExpectStaysAt(D, 70, D->fraInnerCut->edtXDistance);
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Messages, TMessages{"The inner cut-out's distance from the left edge must be "
                                "less than 1000 mil for the cut-out to lie inside the board."});
  EXPECT_EQ(Host->DocumentCount(), 0);
}

TEST_F(AnswersTest, FinishWithAViaHoleNoSmallerThanTheViaShowsOneMessage) {
  EXPECT_EQ(FinishRefused(
                130,
                [](TForm_BoardWizard* D) {
                  D->fraTrackVia->ecViaWidth->SetText("10");
                  D->fraTrackVia->ecViaHoleSize->SetText("50");
                },
                [](TForm_BoardWizard* D) { return D->fraTrackVia->ecViaHoleSize; }),
            TMessages{"The minimum via hole size must be less than 10 mil, the minimum via "
                      "width."});
}

TEST_F(AnswersTest, DefaultAnswersFinishedOnTheDetailsPageMakeABoard) {
  Run({[](TForm_BoardWizard* D) {
    NextTo(D, 40);
    Click(D->btnFinish);
  }});
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(Host->DocumentCount(), 1);
}

}  // namespace
}  // namespace wiztest
