// The custom outline, corner cut-off and inner cut-out pages, shown in the running
// wizard dialog with answers set in the record before they are entered: their previews
// (read back from the pictures' pixels), the inner cut-out check with its blinking error
// mark and the Next button that follows it, and the answers they give back.
#include "tests/wizard/WizardFixture.h"

#include "wizard/BoardDB_Geometry.h"
#include "wizard/BoardDB_Preview.h"
#include "wizard/fCornerCut.h"
#include "wizard/fInnerCut.h"
#include "wizard/fOutline.h"

namespace wiztest {
namespace {

using OutlinePagesTest = WizardTest;

const COLORREF Olive = RGB(128, 128, 0);
const COLORREF Fuchsia = RGB(255, 0, 255);
COLORREF Face() { return ColorToRGB(clBtnFace); }

COLORREF PixelAt(TImage* Image, int X, int Y) {
  return ColorToRGB(Image->Canvas()->Pixels(X, Y));
}

// Shows a page by its place among the dialog's pages; it is entered from the record.
void ShowPageOf(TForm_BoardWizard* D, TfraBasic* Page) {
  for (int I = 0; I < D->PageCount(); ++I)
    if (D->Page(I) == Page) {
      D->ShowPage(I);
      return;
    }
  FAIL() << "the page is not among the dialog's pages";
}

// The coordinate edit that took a placeholder's name.
TEditCoordEx* EditNamed(TfraBasic* Page, const char* Name) {
  return ObjectAs<TEditCoordEx>(Page->FindComponent(Name));
}

// Every pixel of the picture has the button face: a frame without a board.
bool OnlyFace(TImage* Image) {
  for (int Y = 0; Y < Image->Height(); ++Y)
    for (int X = 0; X < Image->Width(); ++X)
      if (PixelAt(Image, X, Y) != Face()) return false;
  return true;
}

// A rectangular custom board with both cut-offs, W x H mils.
void CutOffBoard(TBoardInfoFromUser* Info, double W, double H) {
  Info->IsCustom = true;
  Info->OutlineShape = osRectangular;
  Info->CornerCutoff = true;
  Info->InnerCutoff = true;
  Info->BoardWidth = MilToCoord(W);
  Info->BoardHeight = MilToCoord(H);
}

// ---------------------------------------------------------------------------------
// Previews

TEST_F(OutlinePagesTest, ABoardTwiceAsWideAsHighFillsThreeQuartersOfTheCutOffPicture) {
  std::vector<TRect> Fitted;
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 2000);
         ShowPageOf(D, D->fraCornerCut);
       },
       [&](TForm_BoardWizard* D) {
         TImage* Image = D->fraCornerCut->imgCornerCutOff;
         ASSERT_EQ(Image->Width(), 321);
         ASSERT_EQ(Image->Height(), 229);
         TRect Board;
         double Scale = 0;
         EXPECT_TRUE(FitBoardInPreview(*D->BoardInfo, Image, Board, 0.75, Scale));
         Fitted.push_back(Board);
         // Round(0.75 x 319) = 239 wide, 120 high, centred both ways: the edge in olive,
         // the keep-out 3 pixels inside in fuchsia, nothing outside.
         const int L = 41, T = 54, R = 280, B = 174, MX = 160, MY = 114;
         EXPECT_EQ(PixelAt(Image, L, MY), Olive);
         EXPECT_EQ(PixelAt(Image, R, MY), Olive);
         EXPECT_EQ(PixelAt(Image, MX, T), Olive);
         EXPECT_EQ(PixelAt(Image, MX, B), Olive);
         EXPECT_EQ(PixelAt(Image, L + 3, MY), Fuchsia);
         EXPECT_EQ(PixelAt(Image, R - 3, MY), Fuchsia);
         EXPECT_EQ(PixelAt(Image, MX, T + 3), Fuchsia);
         EXPECT_EQ(PixelAt(Image, MX, B - 3), Fuchsia);
         EXPECT_EQ(PixelAt(Image, L - 1, MY), Face());
         EXPECT_EQ(PixelAt(Image, R + 1, MY), Face());
         EXPECT_EQ(PixelAt(Image, MX, T - 1), Face());
         EXPECT_EQ(PixelAt(Image, MX, B + 1), Face());
         EXPECT_EQ(PixelAt(Image, MX, MY), Face());
         Click(D->btnCancel);
       }});
  ASSERT_EQ(Fitted.size(), 1u);
  EXPECT_EQ(Fitted[0], Rect(41, 54, 280, 174));
  EXPECT_EQ(Fitted[0].right - Fitted[0].left, 239);
}

TEST_F(OutlinePagesTest, ANotchTypedOnTheCornerCutPageIsRedrawnAtOnce) {
  std::vector<COLORREF> Corner;
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 2000);
         ShowPageOf(D, D->fraCornerCut);
       },
       [&](TForm_BoardWizard* D) {
         TImage* Image = D->fraCornerCut->imgCornerCutOff;
         // The upper-left corner of the board at (41, 54); 1000 mil is 60 pixels.
         Corner.push_back(PixelAt(Image, 60, 54));
         EditNamed(D->fraCornerCut, "edtULWidth")->SetText("1000");
         EditNamed(D->fraCornerCut, "edtULHeight")->SetText("500");
         // The old edge is gone (a dotted extension line runs there now); the notch's
         // inner edges, 60 pixels in and 30 down, are drawn.
         Corner.push_back(PixelAt(Image, 60, 54));
         Corner.push_back(PixelAt(Image, 101, 70));
         Corner.push_back(PixelAt(Image, 70, 84));
         Click(D->btnCancel);
       }});
  ASSERT_EQ(Corner.size(), 4u);
  EXPECT_EQ(Corner[0], Olive);
  EXPECT_NE(Corner[1], Olive);
  EXPECT_EQ(Corner[2], Olive);
  EXPECT_EQ(Corner[3], Olive);
}

TEST_F(OutlinePagesTest, ABoardWithoutWidthOrHeightIsPreviewedAsAnEmptyFrame) {
  std::vector<bool> Empty;
  std::vector<bool> Next;
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 0, 2000);
         D->BoardInfo->OutlineShape = osCustom;
         D->BoardInfo->ArcSide[bsTop] = true;
         D->BoardInfo->ArcHeight[bsTop] = MilToCoord(100);
         ShowPageOf(D, D->fraOutline);
       },
       [&](TForm_BoardWizard* D) {
         Empty.push_back(OnlyFace(D->fraOutline->imgCustomOutline));
         D->BoardInfo->OutlineShape = osRectangular;
         ShowPageOf(D, D->fraCornerCut);
       },
       [&](TForm_BoardWizard* D) {
         Empty.push_back(OnlyFace(D->fraCornerCut->imgCornerCutOff));
         D->BoardInfo->BoardWidth = MilToCoord(4000);
         D->BoardInfo->BoardHeight = 0;
         ShowPageOf(D, D->fraInnerCut);
       },
       [&](TForm_BoardWizard* D) {
         TfraInnerCut* Page = D->fraInnerCut;
         Empty.push_back(OnlyFace(Page->imgInnerCutOff));
         // A cut-out that would fit any board with some height.
         Page->edtXDistance->SetValue(MilToCoord(100));
         Page->edtYDistance->SetValue(MilToCoord(100));
         Page->edtWidth->SetValue(MilToCoord(100));
         Page->edtHeight->SetValue(MilToCoord(100));
         Empty.push_back(OnlyFace(Page->imgInnerCutOff));
         Next.push_back(D->btnNext->Enabled());
         Next.push_back(Page->tmrError->Enabled());
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Empty, (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(Next, (std::vector<bool>{false, true}));
  EXPECT_TRUE(Log->Messages.empty());
}

// The custom outline's picture: a 5000 x 4000 mil board at 0.04375 pixels a mil is
// 219 x 175 pixels at (51, 1).
class CustomOutlinePreviewTest : public OutlinePagesTest {
 protected:
  static constexpr int L = 51, T = 1, R = 270, B = 176, MX = 160, MY = 88;

  static void CustomBoard(TBoardInfoFromUser* Info) {
    Info->IsCustom = true;
    Info->OutlineShape = osCustom;
    Info->BoardWidth = MilToCoord(5000);
    Info->BoardHeight = MilToCoord(4000);
  }
  // Whether any of the pixels of a column, rows From to To, has the colour.
  static bool ColumnHas(TImage* Image, int X, int From, int To, COLORREF Colour) {
    for (int Y = From; Y <= To; ++Y)
      if (PixelAt(Image, X, Y) == Colour) return true;
    return false;
  }
};

TEST_F(CustomOutlinePreviewTest, AnArcSideOfHeightZeroIsDrawnStraight) {
  std::vector<bool> Drawn;
  std::vector<COLORREF> Top;
  Run({[](TForm_BoardWizard* D) {
         CustomBoard(D->BoardInfo);
         // The top side an arc of height 0, the bottom one of 10 mil (under half a
         // pixel).
         D->BoardInfo->ArcSide[bsTop] = true;
         D->BoardInfo->ArcSide[bsBottom] = true;
         D->BoardInfo->ArcHeight[bsBottom] = MilToCoord(10);
         ShowPageOf(D, D->fraOutline);
       },
       [&](TForm_BoardWizard* D) {
         TfraOutline* Page = D->fraOutline;
         TImage* Image = Page->imgCustomOutline;
         EXPECT_TRUE(Page->rbnTopArc->Checked());
         Drawn.assign(std::begin(Page->DrawnAsArc), std::end(Page->DrawnAsArc));
         // Straight top and bottom edges from corner to corner, keep-out 3 inside.
         Top = {PixelAt(Image, L + 1, T), PixelAt(Image, MX, T), PixelAt(Image, R - 1, T),
                PixelAt(Image, L + 1, B), PixelAt(Image, R - 1, B),
                PixelAt(Image, MX, T + 3), PixelAt(Image, MX, B - 3)};
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Drawn, (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(Top, (std::vector<COLORREF>{Olive, Olive, Olive, Olive, Olive, Fuchsia, Fuchsia}));
}

TEST_F(CustomOutlinePreviewTest, AnArcSideBulgesFromItsCornersToTheEdgesMiddle) {
  std::vector<bool> Drawn;
  bool CornerEmpty = false, MiddleOlive = false, KeepOutInside = false, LeftCorner = false;
  bool StraightBefore = false;
  Run({[](TForm_BoardWizard* D) {
         CustomBoard(D->BoardInfo);
         // 500 mil is 22 pixels; the Straight button is checked at first.
         D->BoardInfo->ArcHeight[bsTop] = MilToCoord(500);
         ShowPageOf(D, D->fraOutline);
       },
       [&](TForm_BoardWizard* D) {
         TfraOutline* Page = D->fraOutline;
         TImage* Image = Page->imgCustomOutline;
         StraightBefore = PixelAt(Image, L + 9, T) == Olive;
         // A click on Arc redraws the picture.
         Click(Page->rbnTopArc);
         Drawn.assign(std::begin(Page->DrawnAsArc), std::end(Page->DrawnAsArc));
         // The top-left corner moved down by 22 pixels; the arc leaves the old corner
         // empty, touches the top edge in the middle and reaches the new corner.
         CornerEmpty = PixelAt(Image, L + 9, T) == Face() && PixelAt(Image, L, T + 5) == Face();
         MiddleOlive = ColumnHas(Image, MX, T, T + 1, Olive);
         LeftCorner = ColumnHas(Image, L, T + 21, T + 23, Olive);
         // The keep-out follows the arc 3 pixels further in.
         KeepOutInside = ColumnHas(Image, MX, T + 3, T + 4, Fuchsia) &&
                         !ColumnHas(Image, MX, T, T + 2, Fuchsia);
         Click(D->btnCancel);
       }});
  EXPECT_TRUE(StraightBefore);
  EXPECT_EQ(Drawn, (std::vector<bool>{false, true, false, false}));
  EXPECT_TRUE(CornerEmpty);
  EXPECT_TRUE(MiddleOlive);
  EXPECT_TRUE(LeftCorner);
  EXPECT_TRUE(KeepOutInside);
}

TEST_F(CustomOutlinePreviewTest, ArcsFarLargerThanThePictureAreDrawnWithoutFailing) {
  std::vector<bool> Drawn;
  bool Framed = false;
  Run({[](TForm_BoardWizard* D) {
         CustomBoard(D->BoardInfo);
         // The left and right corners pushed far past each other, the top side an arc of
         // one pixel between them: its circle is far larger than any picture.
         for (int Side = 0; Side < 4; ++Side) D->BoardInfo->ArcSide[Side] = true;
         D->BoardInfo->ArcHeight[bsLeft] = 2000000000;
         D->BoardInfo->ArcHeight[bsRight] = 2000000000;
         D->BoardInfo->ArcHeight[bsTop] = MilToCoord(25);
         D->BoardInfo->ArcHeight[bsBottom] = -MilToCoord(500);
         ShowPageOf(D, D->fraOutline);
       },
       [&](TForm_BoardWizard* D) {
         TfraOutline* Page = D->fraOutline;
         Drawn.assign(std::begin(Page->DrawnAsArc), std::end(Page->DrawnAsArc));
         Framed = PixelAt(Page->imgCustomOutline, 0, 0) == Face();
         Click(D->btnCancel);
       }});
  // A negative height is drawn straight.
  EXPECT_EQ(Drawn, (std::vector<bool>{true, true, true, false}));
  EXPECT_TRUE(Framed);
  EXPECT_TRUE(Log->Messages.empty());
}

// ---------------------------------------------------------------------------------
// The inner cut-out check

// The inner cut-out page entered for a 2000 x 3000 mil board whose width and
// lower-left notch are moved by a few host units, with a 1000 x 1000 mil cut-out at
// (1000, 1000) mil typed in; whether Next is enabled then.
class InnerCutCheckTest : public OutlinePagesTest {
 protected:
  bool NextWith(Integer ExtraWidth, TPoint LowerLeftNotch) {
    bool Enabled = false;
    Run({[&](TForm_BoardWizard* D) {
           CutOffBoard(D->BoardInfo, 2000, 3000);
           D->BoardInfo->BoardWidth += ExtraWidth;
           D->BoardInfo->CornerCut[bcLowerLeft] = LowerLeftNotch;
           ShowPageOf(D, D->fraInnerCut);
         },
         [&](TForm_BoardWizard* D) {
           TfraInnerCut* Page = D->fraInnerCut;
           EditNamed(Page, "edtXDist")->SetText("1000");
           EditNamed(Page, "edtYDist")->SetText("1000");
           EditNamed(Page, "edtCenterWidth")->SetText("1000");
           EditNamed(Page, "edtCenterHeight")->SetText("1000");
           Enabled = D->btnNext->Enabled();
           EXPECT_EQ(Enabled, Page->CanGoNext());
           Click(D->btnCancel);
         }});
    return Enabled;
  }
  // The cut-out's right edge is at 2000 mil, its lower-left corner at 1000 mil.
  static constexpr Integer Mil1000 = 10000000;
  static constexpr TPoint NoNotch{0, 0};
};

TEST_F(InnerCutCheckTest, ACutOutOneUnitFromTheBoardEdgeFails) {
  EXPECT_FALSE(NextWith(1, NoNotch));
}

TEST_F(InnerCutCheckTest, ACutOutOneUnitFromANotchFails) {
  EXPECT_FALSE(NextWith(2, TPoint{Mil1000 - 1, Mil1000 - 1}));
}

TEST_F(InnerCutCheckTest, ACutOutTwoUnitsClearOfTheEdgeAndTheNotchPasses) {
  EXPECT_TRUE(NextWith(2, TPoint{Mil1000 - 2, Mil1000 - 2}));
}

TEST_F(InnerCutCheckTest, ANotchBesideTheCutOutOnlyAcrossOneAxisDoesNotMeetIt) {
  EXPECT_TRUE(NextWith(2, TPoint{Mil1000 + 5, Mil1000 - 2}));
}

TEST_F(InnerCutCheckTest, ACutOutReachingOutsideTheBoardOrWithANegativeSizeFails) {
  std::vector<bool> Next;
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 3000);
         ShowPageOf(D, D->fraInnerCut);
       },
       [&](TForm_BoardWizard* D) {
         TfraInnerCut* Page = D->fraInnerCut;
         // Nothing typed yet: a cut-out at the corner, on the board's edge.
         Next.push_back(D->btnNext->Enabled());
         Page->edtXDistance->SetValue(MilToCoord(1000));
         Page->edtYDistance->SetValue(MilToCoord(1000));
         Page->edtWidth->SetValue(MilToCoord(1000));
         Page->edtHeight->SetValue(MilToCoord(1000));
         Next.push_back(D->btnNext->Enabled());
         // Past the top edge, then sizes whose sum with the distance leaves the 32-bit
         // range.
         Page->edtHeight->SetValue(MilToCoord(2500));
         Next.push_back(D->btnNext->Enabled());
         Page->edtHeight->SetValue(MilToCoord(1000));
         Page->edtWidth->SetValue(2100000000);
         Page->edtXDistance->SetValue(2100000000);
         Next.push_back(D->btnNext->Enabled());
         // A negative size.
         Page->edtXDistance->SetValue(MilToCoord(1000));
         Page->edtWidth->SetText("-1");
         EXPECT_EQ(Page->edtWidth->Value(), -MilToCoord(1));
         Next.push_back(D->btnNext->Enabled());
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Next, (std::vector<bool>{false, true, false, false, false}));
}

TEST_F(OutlinePagesTest, NotchesLeftOnTheCornerCutPageRestrictTheCutOutWithoutCornerCutoffs) {
  std::vector<bool> Next;
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 3000);
         ShowPageOf(D, D->fraCornerCut);
       },
       [&](TForm_BoardWizard* D) {
         EditNamed(D->fraCornerCut, "edtURWidth")->SetText("1500");
         EditNamed(D->fraCornerCut, "edtURHeight")->SetText("1500");
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         EXPECT_EQ(ShownTag(D), 70);
         // The corner cut-offs are given up again; the notch stays in the record.
         D->BoardInfo->CornerCutoff = false;
         ShowPageOf(D, D->fraInnerCut);
       },
       [&](TForm_BoardWizard* D) {
         TfraInnerCut* Page = D->fraInnerCut;
         EditNamed(Page, "edtXDist")->SetText("2000");
         EditNamed(Page, "edtYDist")->SetText("1000");
         EditNamed(Page, "edtCenterWidth")->SetText("1000");
         EditNamed(Page, "edtCenterHeight")->SetText("1000");
         Next.push_back(D->btnNext->Enabled());  // reaches into the upper-right notch
         EditNamed(Page, "edtCenterHeight")->SetText("400");
         Next.push_back(D->btnNext->Enabled());
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Next, (std::vector<bool>{false, true}));
}

TEST_F(OutlinePagesTest, TheErrorMarkBlinksWhileTheCutOutIsWrongAndNextFollows) {
  struct TState {
    bool Next, Timer, Mark;
    bool operator==(const TState&) const = default;
  };
  std::vector<TState> States;
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 3000);
         D->BoardInfo->InnerCutOffset = MakePoint(MilToCoord(1000), MilToCoord(1000));
         D->BoardInfo->InnerCutSize = MakePoint(MilToCoord(1000), MilToCoord(1000));
         ShowPageOf(D, D->fraInnerCut);
       },
       [&](TForm_BoardWizard* D) {
         TfraInnerCut* Page = D->fraInnerCut;
         const auto Record = [&] {
           States.push_back({D->btnNext->Enabled(), Page->tmrError->Enabled(),
                             Page->imgError->Visible()});
         };
         const auto Tick = [&] { Page->tmrError->OnTimer(Page->tmrError); };
         Record();  // right
         EXPECT_EQ(Page->tmrError->Interval(), 500u);
         EditNamed(Page, "edtCenterWidth")->SetText("3500");
         Record();  // wrong: the timer runs, the mark waits for it
         Tick();
         Record();
         Tick();
         Record();
         Tick();
         Record();
         EditNamed(Page, "edtCenterWidth")->SetText("2000");
         Record();  // right again: the mark goes at once
         Click(D->btnCancel);
       }});
  EXPECT_EQ(States, (std::vector<TState>{{true, false, false},
                                         {false, true, false},
                                         {false, true, true},
                                         {false, true, false},
                                         {false, true, true},
                                         {true, false, false}}));
}

// ---------------------------------------------------------------------------------
// Answers

TEST_F(OutlinePagesTest, TheOutlinePageShowsAndStoresEachSidesAnswer) {
  std::vector<bool> Arc, Straight;
  std::vector<Integer> Shown;
  Run({[](TForm_BoardWizard* D) {
         TBoardInfoFromUser* Info = D->BoardInfo;
         Info->IsCustom = true;
         Info->OutlineShape = osCustom;
         const bool Sides[4] = {true, false, true, false};  // left, top, right, bottom
         for (int I = 0; I < 4; ++I) {
           Info->ArcSide[I] = Sides[I];
           Info->ArcHeight[I] = MilToCoord(100 * (I + 1));
         }
         ShowPageOf(D, D->fraOutline);
       },
       [&](TForm_BoardWizard* D) {
         TfraOutline* P = D->fraOutline;
         for (TRadioButton* B : {P->rbnLeftArc, P->rbnTopArc, P->rbnRightArc, P->rbnBottomArc})
           Arc.push_back(B->Checked());
         for (TRadioButton* B : {P->rbnLeftStraight, P->rbnTopStraight, P->rbnRightStraight,
                                 P->rbnBottomStraight})
           Straight.push_back(B->Checked());
         // Edit1 top, Edit2 left, Edit3 right, Edit4 bottom.
         for (const char* Name : {"Edit1", "Edit2", "Edit3", "Edit4"})
           Shown.push_back(EditNamed(P, Name)->Value());
         Click(P->rbnTopArc);
         Click(P->rbnLeftStraight);
         EditNamed(P, "Edit4")->SetText("750");
         Click(D->btnBack);
       },
       [](TForm_BoardWizard* D) { Click(D->btnCancel); }});
  EXPECT_EQ(Arc, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(Straight, (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(Shown, (std::vector<Integer>{MilToCoord(200), MilToCoord(100), MilToCoord(300),
                                         MilToCoord(400)}));
}

TEST_F(OutlinePagesTest, TheOutlinePageLeavesItsAnswersInTheRecord) {
  std::vector<bool> ArcSide;
  std::vector<Integer> ArcHeight;
  Run({[](TForm_BoardWizard* D) {
         D->BoardInfo->IsCustom = true;
         D->BoardInfo->OutlineShape = osCustom;
         ShowPageOf(D, D->fraOutline);
       },
       [](TForm_BoardWizard* D) {
         TfraOutline* P = D->fraOutline;
         Click(P->rbnTopArc);
         Click(P->rbnRightArc);
         EditNamed(P, "Edit1")->SetText("250");
         EditNamed(P, "Edit3")->SetText("120");
         EditNamed(P, "Edit4")->SetText("75");
         Click(D->btnNext);
       },
       [&](TForm_BoardWizard* D) {
         EXPECT_EQ(ShownTag(D), 90);
         for (int I = 0; I < 4; ++I) {
           ArcSide.push_back(D->BoardInfo->ArcSide[I]);
           ArcHeight.push_back(D->BoardInfo->ArcHeight[I]);
         }
         Click(D->btnCancel);
       }});
  EXPECT_EQ(ArcSide, (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(ArcHeight,
            (std::vector<Integer>{0, MilToCoord(250), MilToCoord(120), MilToCoord(75)}));
}

TEST_F(OutlinePagesTest, TheCornerCutPageShowsAndStoresEachNotchInCornerOrder) {
  std::vector<Integer> Shown;
  std::vector<Integer> Stored;
  const char* Names[8] = {"edtULWidth", "edtULHeight", "edtLLWidth", "edtLLHeight",
                          "edtURWidth", "edtURHeight", "edtLRWidth", "edtLRHeight"};
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 3000);
         for (int I = 0; I < 4; ++I)
           D->BoardInfo->CornerCut[I] = MakePoint(MilToCoord(10 * (2 * I + 1)),
                                                  MilToCoord(10 * (2 * I + 2)));
         ShowPageOf(D, D->fraCornerCut);
       },
       [&](TForm_BoardWizard* D) {
         for (const char* Name : Names) Shown.push_back(EditNamed(D->fraCornerCut, Name)->Value());
         for (int I = 0; I < 8; ++I)
           EditNamed(D->fraCornerCut, Names[I])->SetText(std::to_string(100 * (I + 1)));
         Click(D->btnBack);
         for (int I = 0; I < 4; ++I) {
           Stored.push_back(D->BoardInfo->CornerCut[I].x);
           Stored.push_back(D->BoardInfo->CornerCut[I].y);
         }
         Click(D->btnCancel);
       }});
  std::vector<Integer> Given, Typed;
  for (int I = 0; I < 8; ++I) {
    Given.push_back(MilToCoord(10 * (I + 1)));
    Typed.push_back(MilToCoord(100 * (I + 1)));
  }
  EXPECT_EQ(Shown, Given);
  EXPECT_EQ(Stored, Typed);
}

TEST_F(OutlinePagesTest, TheInnerCutPageShowsAndStoresTheCutOut) {
  std::vector<Integer> Shown;
  TPoint Offset{}, Size{};
  Run({[](TForm_BoardWizard* D) {
         CutOffBoard(D->BoardInfo, 4000, 3000);
         D->BoardInfo->InnerCutOffset = MakePoint(MilToCoord(1100), MilToCoord(1200));
         D->BoardInfo->InnerCutSize = MakePoint(MilToCoord(300), MilToCoord(400));
         ShowPageOf(D, D->fraInnerCut);
       },
       [&](TForm_BoardWizard* D) {
         TfraInnerCut* P = D->fraInnerCut;
         for (const char* Name : {"edtXDist", "edtYDist", "edtCenterWidth", "edtCenterHeight"})
           Shown.push_back(EditNamed(P, Name)->Value());
         EditNamed(P, "edtXDist")->SetText("1500");
         EditNamed(P, "edtCenterHeight")->SetText("600");
         Click(D->btnBack);
         Offset = D->BoardInfo->InnerCutOffset;
         Size = D->BoardInfo->InnerCutSize;
         Click(D->btnCancel);
       }});
  EXPECT_EQ(Shown, (std::vector<Integer>{MilToCoord(1100), MilToCoord(1200), MilToCoord(300),
                                         MilToCoord(400)}));
  EXPECT_EQ(Offset, MakePoint(MilToCoord(1500), MilToCoord(1200)));
  EXPECT_EQ(Size, MakePoint(MilToCoord(300), MilToCoord(600)));
}

}  // namespace
}  // namespace wiztest
