// The rule for what makes a board: which field of a record fails and the message that
// says why, and the board maker refusing such a record before it opens a document.
#include <climits>

#include "tests/support/ExpectRaises.h"
#include "tests/wizard/BoardReadBack.h"
#include "wizard/BoardDB_Rule.h"

namespace {

class BoardRuleTest : public ::testing::Test {
 protected:
  void SetUp() override { Info = NewObject<TBoardInfoFromUser>(); }
  void TearDown() override { FreeAndNil(Info); }

  TBoardFault Check() const { return CheckBoard(*Info); }
  // A rectangular custom board with cut corners, W x H mils.
  void CutCorners(double W, double H) {
    Info->BoardWidth = MilToCoord(W);
    Info->BoardHeight = MilToCoord(H);
    Info->CornerCutoff = true;
  }
  void Cut(int Corner, double W, double H) {
    Info->CornerCut[Corner] = TPoint{MilToCoord(W), MilToCoord(H)};
  }

  TBoardInfoFromUser* Info = nullptr;
};

TEST_F(BoardRuleTest, TheDefaultsOfEveryShapeAndATemplateMakeABoard) {
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  for (Byte Shape : {osCircular, osCustom}) {
    Info->OutlineShape = Shape;
    EXPECT_TRUE(Check().Ok()) << Check().Message;
  }
  Info->IsCustom = false;
  Info->BoardWidth = 0;  // a template board: the custom fields are not read
  EXPECT_TRUE(Check().Ok()) << Check().Message;
}

TEST_F(BoardRuleTest, SizesAndWidthsMustBeGreaterThanZeroInTheRecordsUnit) {
  Info->BoardWidth = 0;
  EXPECT_EQ(Check().Field, (TBoardField{bfBoardWidth}));
  EXPECT_EQ(Check().Message, "The board's width must be greater than 0 mil.");
  Info->Units = eMetric;
  EXPECT_EQ(Check().Message, "The board's width must be greater than 0.0 mm.");
  Info->Units = eImperial;
  Info->BoardWidth = MilToCoord(5000);
  Info->BoardHeight = -MilToCoord(5);
  EXPECT_EQ(Check().Message, "The board's height must be greater than 0 mil.");
  Info->BoardHeight = MilToCoord(4000);

  Info->BoundaryTrackWidth = -MilToCoord(5);
  EXPECT_EQ(Check().Message, "The boundary track width must be greater than 0 mil.");
  Info->BoundaryTrackWidth = MilToCoord(10);
  // The dimension lines' width counts only when dimension lines are made.
  Info->DimensionLineWidth = -MilToCoord(5);
  EXPECT_TRUE(Check().Ok());
  Info->DimensionLayer = 57;
  EXPECT_EQ(Check().Field, (TBoardField{bfDimensionLineWidth}));
  Info->DimensionLineWidth = MilToCoord(10);

  Info->MinTrackSize = -MilToCoord(5);
  EXPECT_EQ(Check().Message, "The minimum track size must be greater than 0 mil.");
  Info->MinTrackSize = MilToCoord(8);
  Info->MinClearance = -MilToCoord(5);
  EXPECT_EQ(Check().Message, "The minimum clearance must be greater than 0 mil.");
  // A template board reads the track and via sizes too.
  Info->IsCustom = false;
  EXPECT_EQ(Check().Field, (TBoardField{bfMinClearance}));
}

TEST_F(BoardRuleTest, TheKeepOutStaysWithinHalfTheSmallerSideOrTheRadius) {
  Info->KeepOutDistance = -MilToCoord(5);
  EXPECT_EQ(Check().Message,
            "The keep out distance from the board edge must be 0 mil or more.");
  Info->KeepOutDistance = MilToCoord(2000);
  EXPECT_EQ(
      Check().Message,
      "The keep out distance from the board edge must be less than 2000 mil, half the "
      "board's smaller side.");
  Info->KeepOutDistance = MilToCoord(1999);
  EXPECT_TRUE(Check().Ok());
  Info->OutlineShape = osCircular;
  Info->SetCircleRadius(MilToCoord(1000));
  Info->KeepOutDistance = MilToCoord(1000);
  EXPECT_EQ(Check().Field, (TBoardField{bfKeepOutDistance}));
}

TEST_F(BoardRuleTest, CornerCutOffsMayNeitherMeetAlongASideNorAcrossTheBoard) {
  CutCorners(5000, 4000);
  for (int Corner = 0; Corner < 4; ++Corner) Cut(Corner, 800, 600);
  EXPECT_TRUE(Check().Ok()) << Check().Message;

  // Along the top side.
  Cut(bcUpperLeft, 3000, 600);
  Cut(bcUpperRight, 2000, 600);
  EXPECT_EQ(Check().Field, (TBoardField{bfCornerCutWidth, bcUpperRight}));
  EXPECT_EQ(
      Check().Message,
      "The upper-right cut-off's width must be less than 2000 mil so that it does not "
      "meet the upper-left cut-off.");
  // One notch taller than the board.
  Cut(bcUpperRight, 800, 600);
  Cut(bcUpperLeft, 800, 4500);
  EXPECT_EQ(Check().Field, (TBoardField{bfCornerCutHeight, bcUpperLeft}));
  // 4,000 mil at every corner.
  for (int Corner = 0; Corner < 4; ++Corner) Cut(Corner, 4000, 4000);
  EXPECT_FALSE(Check().Ok());
  // Across the board: upper-left and lower-right overlap both ways, no side is full.
  for (int Corner = 0; Corner < 4; ++Corner) Cut(Corner, 0, 0);
  Cut(bcUpperLeft, 3000, 3000);
  Cut(bcLowerRight, 3000, 1500);
  EXPECT_EQ(Check().Field, (TBoardField{bfCornerCutWidth, bcLowerRight}));
  // Short of the 4900 mil inside the default 50 mil keep-out, less the upper-left's 3000.
  Cut(bcLowerRight, 1899, 1500);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  // Outward notches.
  Cut(bcLowerLeft, -5, 100);
  EXPECT_EQ(Check().Message, "The lower-left cut-off's width must be 0 mil or more.");
  // Not read without corner cut-offs.
  Info->CornerCutoff = false;
  EXPECT_TRUE(Check().Ok());
}

TEST_F(BoardRuleTest, CornerCutOffsFitTheKeepOutToo) {
  // The keep-out runs 50 mil inside a 5000 x 4000 mil board: 4900 x 3900 mil.
  CutCorners(5000, 4000);
  Cut(bcUpperLeft, 4950, 3950);
  EXPECT_EQ(Check().Field, (TBoardField{bfCornerCutWidth, bcUpperLeft}));
  EXPECT_EQ(Check().Message,
            "The upper-left cut-off's width must be less than 4900 mil, the board's width "
            "inside the keep-out.");
  Cut(bcUpperLeft, 2000, 600);
  Cut(bcUpperRight, 2950, 600);
  EXPECT_EQ(Check().Message,
            "The upper-right cut-off's width must be less than 2900 mil so that it does not "
            "meet the upper-left cut-off inside the keep-out.");
  Cut(bcUpperRight, 2899, 600);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  Cut(bcUpperRight, 0, 0);
  Cut(bcUpperLeft, 3000, 3000);
  Cut(bcLowerRight, 1950, 1500);
  EXPECT_EQ(Check().Field, (TBoardField{bfCornerCutWidth, bcLowerRight}));
  // Without a keep-out distance the board's own edges are the limit.
  Info->KeepOutDistance = 0;
  EXPECT_TRUE(Check().Ok()) << Check().Message;
}

TEST_F(BoardRuleTest, ArcsStayNarrowerThanTheBoardAndTheirCirclesWithinRange) {
  Info->OutlineShape = osCustom;
  Info->ArcSide[bsLeft] = Info->ArcSide[bsRight] = Info->ArcSide[bsTop] = true;
  Info->ArcHeight[bsTop] = -MilToCoord(5);
  EXPECT_EQ(Check().Message, "The top arc's height must be 0 mil or more.");
  Info->ArcHeight[bsTop] = 0;  // straight
  Info->ArcHeight[bsLeft] = MilToCoord(3000);
  Info->ArcHeight[bsRight] = MilToCoord(2000);
  EXPECT_EQ(Check().Field, (TBoardField{bfArcHeight, bsRight}));
  Info->ArcHeight[bsLeft] = MilToCoord(1900);
  Info->ArcHeight[bsRight] = MilToCoord(1900);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  // 1,200 mil lie between the side arcs' corners: a keep-out of 600 mil meets itself.
  Info->KeepOutDistance = MilToCoord(600);
  EXPECT_EQ(Check().Field, (TBoardField{bfKeepOutDistance}));
  Info->KeepOutDistance = MilToCoord(50);
  // A top arc 1 mil high over a 1,200 mil chord has a circle of 180,000 mil radius,
  // whose centre still lies within range; over a 198,000 mil chord it lies far below.
  Info->ArcHeight[bsTop] = MilToCoord(1);
  EXPECT_TRUE(Check().Ok());
  Info->BoardWidth = MilToCoord(200000);
  Info->ArcHeight[bsLeft] = Info->ArcHeight[bsRight] = MilToCoord(1000);
  const TBoardFault F = Check();
  EXPECT_EQ(F.Field, (TBoardField{bfArcHeight, bsTop}));
  EXPECT_NE(F.Message.find("at least"), AnsiString::npos) << F.Message;
  Info->ArcHeight[bsTop] = 0;
  EXPECT_TRUE(Check().Ok()) << Check().Message;
}

TEST_F(BoardRuleTest, AnArcIsAtMostASemicircleSoTheOutlineStaysWithinTheBoard) {
  // A 5000 x 4000 mil board: the left arc spans the 4000 mil between the top and bottom
  // corners, so past 2000 mil high it would bulge above and below the board.
  Info->OutlineShape = osCustom;
  Info->ArcSide[bsLeft] = true;
  Info->ArcHeight[bsLeft] = MilToCoord(3000);
  EXPECT_EQ(Check().Field, (TBoardField{bfArcHeight, bsLeft}));
  EXPECT_EQ(Check().Message,
            "The left arc's height must be at most 2000 mil, half the side between its "
            "corners.");
  Info->ArcHeight[bsLeft] = MilToCoord(2000);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  // Four arcs of 499 mil on a 1000 mil square leave 2 mil between each arc's corners.
  Info->BoardWidth = Info->BoardHeight = MilToCoord(1000);
  Info->KeepOutDistance = 0;
  for (int Side = 0; Side < 4; ++Side) {
    Info->ArcSide[Side] = true;
    Info->ArcHeight[Side] = MilToCoord(499);
  }
  EXPECT_EQ(Check().Message,
            "The left arc's height must be at most 1 mil, half the side between its "
            "corners.");
  for (int Side = 0; Side < 4; ++Side) Info->ArcHeight[Side] = MilToCoord(250);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
}

TEST_F(BoardRuleTest, CoordinatesPastThe32BitRangeAreRefusedNotWrapped) {
  Info->BoardWidth = MilToCoord(214748);
  // 2,000 mil of origin and 200 mil to the legend texts leave 212,548 mil.
  EXPECT_EQ(Check().Message,
            "The board's width must be at most 212548 mil for the board to stay within the "
            "PCB editor's coordinates.");
  Info->BoardWidth = MilToCoord(200000);
  EXPECT_TRUE(Check().Ok());
  Info->BoardHeight = MilToCoord(214748);
  EXPECT_EQ(Check().Field, (TBoardField{bfBoardHeight}));

  // The radius is doubled in 64 bits: 150,000 mil gives the largest width, never a
  // negative one, and is refused.
  Info->OutlineShape = osCircular;
  Info->SetCircleRadius(MilToCoord(150000));
  EXPECT_EQ(Info->BoardWidth, INT_MAX);
  EXPECT_EQ(Info->BoardHeight, INT_MAX);
  const TBoardFault F = Check();
  EXPECT_EQ(F.Field, (TBoardField{bfRadius}));
  EXPECT_EQ(F.Message.find('-'), AnsiString::npos) << F.Message;
  EXPECT_NE(F.Message.find("must be at most 105874 mil"), AnsiString::npos) << F.Message;
  Info->SetCircleRadius(-MilToCoord(150000));
  EXPECT_EQ(Info->BoardWidth, INT_MIN);
  EXPECT_EQ(Check().Field, (TBoardField{bfRadius}));
}

TEST_F(BoardRuleTest, AnUntouchedCutOutIsNoneAndANegativeOneIsRefused) {
  Info->InnerCutoff = true;
  EXPECT_TRUE(Check().Ok());
  Info->InnerCutOffset = TPoint{MilToCoord(1000), MilToCoord(1000)};
  Info->InnerCutSize = TPoint{-MilToCoord(5), MilToCoord(1000)};
  EXPECT_EQ(Check().Message, "The inner cut-out's width must be 0 mil or more.");
  Info->InnerCutSize = TPoint{MilToCoord(4500), MilToCoord(1000)};
  EXPECT_EQ(Check().Field, (TBoardField{bfInnerCutWidth}));
  Info->InnerCutSize = TPoint{MilToCoord(1000), MilToCoord(1000)};
  EXPECT_TRUE(Check().Ok());
}

TEST_F(BoardRuleTest, ALimitBetweenWholeStepsIsShownAsTheLargestAnswerTaken) {
  // Half of a 5 mil side is 2.5 mil: 2 mil is taken, so the message says "at most".
  Info->BoardWidth = MilToCoord(5);
  EXPECT_EQ(Check().Message,
            "The keep out distance from the board edge must be at most 2 mil, half the "
            "board's smaller side.");
  Info->KeepOutDistance = MilToCoord(2);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  // Side arcs leaving 1 mil between their corners: never "less than 0".
  Info->BoardWidth = Info->BoardHeight = MilToCoord(5000);
  Info->KeepOutDistance = MilToCoord(50);
  Info->OutlineShape = osCustom;
  Info->ArcSide[bsLeft] = Info->ArcSide[bsRight] = true;
  Info->ArcHeight[bsLeft] = MilToCoord(2499);
  Info->ArcHeight[bsRight] = MilToCoord(2500);
  EXPECT_EQ(Check().Message,
            "The keep out distance from the board edge must be at most 0 mil, half the "
            "board's smaller side between its arcs' corners.");
  Info->KeepOutDistance = 0;
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  // In millimetres: half of 0.6 mm is a whole tenth, half of 0.3 mm is not.
  Info->Units = eMetric;
  Info->OutlineShape = osRectangular;
  Info->BoardWidth = MmToCoord(0.6);
  Info->KeepOutDistance = MmToCoord(1.3);
  EXPECT_EQ(Check().Message,
            "The keep out distance from the board edge must be less than 0.3 mm, half the "
            "board's smaller side.");
  Info->BoardWidth = MmToCoord(0.3);
  EXPECT_EQ(Check().Message,
            "The keep out distance from the board edge must be at most 0.1 mm, half the "
            "board's smaller side.");
}

TEST_F(BoardRuleTest, ACutOutPastTheBoardsFarEdgeBlamesItsDistance) {
  Info->InnerCutoff = true;
  Info->InnerCutSize = TPoint{MilToCoord(1000), MilToCoord(1000)};
  Info->InnerCutOffset = TPoint{MilToCoord(6000), MilToCoord(1000)};
  EXPECT_EQ(Check().Field, (TBoardField{bfInnerCutXDistance}));
  EXPECT_EQ(Check().Message,
            "The inner cut-out's distance from the left edge must be less than 4000 mil for "
            "the cut-out to lie inside the board.");
  Info->InnerCutOffset = TPoint{MilToCoord(1000), MilToCoord(4000)};
  EXPECT_EQ(Check().Field, (TBoardField{bfInnerCutYDistance}));
  // A cut-out wider than the board is the width's fault wherever it lies.
  Info->InnerCutOffset = TPoint{MilToCoord(6000), MilToCoord(1000)};
  Info->InnerCutSize = TPoint{MilToCoord(5000), MilToCoord(1000)};
  EXPECT_EQ(Check().Field, (TBoardField{bfInnerCutWidth}));
  // Inside the board, a cut-out too wide for its place is still the width's fault.
  Info->InnerCutOffset = TPoint{MilToCoord(1000), MilToCoord(1000)};
  Info->InnerCutSize = TPoint{MilToCoord(4500), MilToCoord(1000)};
  EXPECT_EQ(Check().Message,
            "The inner cut-out's width must be less than 4000 mil for the cut-out to lie "
            "inside the board.");
}

TEST_F(BoardRuleTest, TheViaHoleMustBeSmallerThanTheVia) {
  Info->MinViaWidth = MilToCoord(25);
  Info->MinViaHoleSize = MilToCoord(25);
  EXPECT_EQ(Check().Field, (TBoardField{bfMinViaHoleSize}));
  EXPECT_EQ(Check().Message,
            "The minimum via hole size must be less than 25 mil, the minimum via width.");
  Info->MinViaHoleSize = MilToCoord(24);
  EXPECT_TRUE(Check().Ok()) << Check().Message;
  // A template board reads them too.
  Info->IsCustom = false;
  Info->MinViaHoleSize = MilToCoord(40);
  EXPECT_EQ(Check().Field, (TBoardField{bfMinViaHoleSize}));
}

// --- The maker ---

using MakerRuleTest = BoardReadBackTest;

TEST_F(MakerRuleTest, ARecordThatMakesNoBoardIsRefusedBeforeADocumentOpens) {
  Info->BoardWidth = 0;
  ExpectRaises<EBoardBuildError>([&] { Build(); },
                                 "The board's width must be greater than 0 mil.");
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_TRUE(Host->StartedServers().empty());

  Info->BoardWidth = MilToCoord(5000);
  Info->OutlineShape = osCircular;
  Info->SetCircleRadius(MilToCoord(150000));
  EXPECT_THROW(Build(), EBoardBuildError);
  EXPECT_EQ(Host->DocumentCount(), 0);
}

TEST_F(MakerRuleTest, ABoard200000MilWideHasEveryOutlineCoordinatePositive) {
  Info->BoardWidth = MilToCoord(200000);
  const Integer Board = Build();
  ASSERT_NE(Board, 0);
  const TReadOutline Shape = Outline(Board);
  ASSERT_EQ(Shape.SegmentCount, 4);
  Integer MaxX = 0;
  for (const TXY& P : Shape.Points()) {
    EXPECT_GT(P[0], 0);
    EXPECT_GT(P[1], 0);
    MaxX = std::max(MaxX, P[0]);
  }
  EXPECT_EQ(MaxX, MilToCoord(202000));
}

}  // namespace
