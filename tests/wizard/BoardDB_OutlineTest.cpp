// The board maker's outline and keep-out, read back from the board it built: the
// rectangular board with and without corner notches and an inner cut-out, the circular
// board, and the custom board with straight and arc sides. The origin of these boards
// (title block and scale) is (2000, 3000) mil.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/wizard/BoardReadBack.h"

namespace {

constexpr TLayer KeepOutLayer = 56;

// The default 5000 x 4000 mil rectangle and its keep-out 50 mil inside, in the order
// bottom, right, top, left.
const std::initializer_list<double> DefaultOutline = {2000, 3000, 7000, 3000, 7000,
                                                      7000, 2000, 7000, 2000, 3000};
const std::initializer_list<double> DefaultKeepOut = {2050, 3050, 6950, 3050, 6950, 3050,
                                                      6950, 6950, 6950, 6950, 2050, 6950,
                                                      2050, 6950, 2050, 3050};

bool AllStraight(const TReadOutline& Shape) {
  for (const TPolySegment& S : Shape.Segments)
    if (S.Kind != 0) return false;
  return true;
}

}  // namespace

using RectangularOutlineTest = BoardReadBackTest;

TEST_F(RectangularOutlineTest, DefaultBoardIsTheOffsetRectangleWithItsKeepOutInside) {
  const Integer Board = Build();
  ASSERT_NE(Board, 0);

  const TReadOutline Shape = Outline(Board);
  EXPECT_EQ(Shape.SegmentCount, 4);
  EXPECT_EQ(Shape.Points(), MilPoints(DefaultOutline));
  EXPECT_TRUE(AllStraight(Shape));

  const std::vector<TReadTrack> KeepOut = Tracks(Board, KeepOutLayer);
  EXPECT_EQ(Lines(KeepOut), MilLines(DefaultKeepOut));
  for (const TReadTrack& T : KeepOut) EXPECT_EQ(T.Width, Mils(10));
  EXPECT_TRUE(Arcs(Board, 0).empty());
}

// The keep-out takes the boundary track's width, never the dimension line's.
TEST_F(RectangularOutlineTest, NotchesAndInnerCutOut) {
  Info->BoundaryTrackWidth = Mils(15);
  Info->DimensionLineWidth = Mils(3);
  Info->CornerCutoff = true;
  Info->CornerCut[bcUpperLeft] = {Mils(300), Mils(200)};
  Info->CornerCut[bcLowerLeft] = {Mils(400), Mils(100)};
  Info->CornerCut[bcUpperRight] = {Mils(250), Mils(350)};
  Info->CornerCut[bcLowerRight] = {Mils(150), Mils(450)};
  Info->InnerCutoff = true;
  Info->InnerCutOffset = {Mils(1000), Mils(1500)};
  Info->InnerCutSize = {Mils(800), Mils(600)};
  const Integer Board = Build();

  const TReadOutline Shape = Outline(Board);
  EXPECT_EQ(Shape.SegmentCount, 12);
  EXPECT_EQ(Shape.Points(), MilPoints({2000, 3100, 2400, 3100, 2400, 3000, 6850, 3000, 6850,
                                       3450, 7000, 3450, 7000, 6650, 6750, 6650, 6750, 7000,
                                       2300, 7000, 2300, 6800, 2000, 6800, 2000, 3100}));

  // The cut-out's edges, the notched keep-out 50 mil inside the edge (the notches keep
  // their size), then the keep-out 50 mil around the cut-out.
  const std::vector<TReadTrack> KeepOut = Tracks(Board, KeepOutLayer);
  for (const TReadTrack& T : KeepOut) EXPECT_EQ(T.Width, Mils(15));
  EXPECT_EQ(
      Lines(KeepOut),
      MilLines({3000, 4500, 3800, 4500, 3800, 4500, 3800, 5100, 3800, 5100, 3000, 5100,
                3000, 5100, 3000, 4500, 2050, 3150, 2450, 3150, 2450, 3150, 2450, 3050,
                2450, 3050, 6800, 3050, 6800, 3050, 6800, 3500, 6800, 3500, 6950, 3500,
                6950, 3500, 6950, 6600, 6950, 6600, 6700, 6600, 6700, 6600, 6700, 6950,
                6700, 6950, 2350, 6950, 2350, 6950, 2350, 6750, 2350, 6750, 2050, 6750,
                2050, 6750, 2050, 3150, 2950, 4450, 3850, 4450, 3850, 4450, 3850, 5150,
                3850, 5150, 2950, 5150, 2950, 5150, 2950, 4450}));
}

TEST_F(RectangularOutlineTest, ZeroNotchesStillGiveTheirVerticesAndTracks) {
  Info->CornerCutoff = true;  // every notch (0, 0)
  const Integer Board = Build();

  const TReadOutline Shape = Outline(Board);
  EXPECT_EQ(Shape.SegmentCount, 12);
  EXPECT_EQ(Shape.Points(), MilPoints({2000, 3000, 2000, 3000, 2000, 3000, 7000, 3000, 7000,
                                       3000, 7000, 3000, 7000, 7000, 7000, 7000, 7000, 7000,
                                       2000, 7000, 2000, 7000, 2000, 7000, 2000, 3000}));
  const std::vector<TLine> KeepOut = Lines(Tracks(Board, KeepOutLayer));
  ASSERT_EQ(KeepOut.size(), 12u);
  EXPECT_EQ(KeepOut[0], MilLines({2050, 3050, 2050, 3050})[0]);  // zero length
  EXPECT_EQ(KeepOut[2], MilLines({2050, 3050, 6950, 3050})[0]);
}

TEST_F(RectangularOutlineTest, InnerCutOutWithoutAreaDrawsNothing) {
  Info->InnerCutoff = true;  // never visited: size (0, 0)
  EXPECT_EQ(Lines(Tracks(Build(), KeepOutLayer)), MilLines(DefaultKeepOut));

  Info->InnerCutSize = {Mils(800), 0};
  Info->InnerCutOffset = {Mils(1000), Mils(1500)};
  Info->TemplateFileName.clear();  // a second blank document
  EXPECT_EQ(Lines(Tracks(Build(), KeepOutLayer)), MilLines(DefaultKeepOut));
}

using CircularOutlineTest = BoardReadBackTest;

TEST_F(CircularOutlineTest, FourQuarterArcsAndOneKeepOutArc) {
  Info->Units = eMetric;
  Info->OutlineShape = osCircular;
  Info->BoardWidth = MmToCoord(100);  // 39370079: the radius is 19685039
  Info->BoardHeight = MmToCoord(80);
  Info->KeepOutDistance = MmToCoord(1);  // 393701
  Info->BoundaryTrackWidth = MmToCoord(0.3);
  const Integer Board = Build();

  const Integer R = 19685039;
  const Integer X0 = Mils(2000), Y0 = Mils(3000), CX = X0 + R, CY = Y0 + R;
  const TReadOutline Shape = Outline(Board);
  EXPECT_EQ(Shape.SegmentCount, 4);
  ASSERT_EQ(Shape.Segments.size(), 5u);
  const TXY Starts[4] = {{X0 + 2 * R, CY}, {CX, Y0 + 2 * R}, {X0, CY}, {CX, Y0}};
  for (int I = 0; I < 4; ++I) {
    const TPolySegment& S = Shape.Segments[I];
    EXPECT_EQ(S.Kind, 1) << I;
    EXPECT_EQ((TXY{S.X, S.Y}), Starts[I]) << I;
    EXPECT_EQ((TXY{S.CX, S.CY}), (TXY{CX, CY})) << I;
    EXPECT_EQ(S.Radius, R) << I;
    EXPECT_EQ(S.StartAngle, 90.0 * I) << I;
    EXPECT_EQ(S.EndAngle, 90.0 * (I + 1)) << I;  // the last quarter ends at 360
  }
  // The closing record repeats the first point.
  EXPECT_EQ(Shape.Segments[4].Kind, 0);
  EXPECT_EQ((TXY{Shape.Segments[4].X, Shape.Segments[4].Y}), Starts[0]);

  const std::vector<TReadArc> KeepOut = Arcs(Board, KeepOutLayer);
  ASSERT_EQ(KeepOut.size(), 1u);
  EXPECT_EQ(KeepOut[0].Centre, (TXY{CX, CY}));
  EXPECT_EQ(KeepOut[0].Radius, R - 393701);
  EXPECT_EQ(KeepOut[0].StartAngle, 0);
  EXPECT_EQ(KeepOut[0].EndAngle, 360);
  EXPECT_EQ(KeepOut[0].Width, MmToCoord(0.3));
  EXPECT_TRUE(Tracks(Board, KeepOutLayer).empty());
}

using CustomOutlineTest = BoardReadBackTest;

TEST_F(CustomOutlineTest, StraightSidesGiveTheRectangleWithACoincidingFirstVertex) {
  Info->OutlineShape = osCustom;
  const Integer Board = Build();
  const TReadOutline Shape = Outline(Board);
  EXPECT_EQ(Shape.SegmentCount, 5);
  EXPECT_EQ(Shape.Points(), MilPoints({2000, 3000, 2000, 3000, 7000, 3000, 7000, 7000, 2000,
                                       7000, 2000, 3000}));
  EXPECT_TRUE(AllStraight(Shape));
  EXPECT_EQ(Lines(Tracks(Board, KeepOutLayer)), MilLines(DefaultKeepOut));

  // Arc sides of height 0 are straight sides.
  for (bool& Arc : Info->ArcSide) Arc = true;
  Info->TemplateFileName.clear();
  const Integer Second = Build();
  EXPECT_EQ(Outline(Second).Points(), Shape.Points());
  EXPECT_TRUE(AllStraight(Outline(Second)));
  EXPECT_EQ(Lines(Tracks(Second, KeepOutLayer)), MilLines(DefaultKeepOut));
  EXPECT_TRUE(Arcs(Second, KeepOutLayer).empty());
}

// A 3400 x 2900 mil board whose bottom bulges 500 mil and right side 400 mil. The
// corners are (2000, 3500), (5000, 3500), (5000, 5900), (2000, 5900). The bottom circle
// passes (2000, 3500), (3500, 3000), (5000, 3500): centre (3500, 5500), radius 2500. The
// right circle passes (5000, 3500), (5400, 4700), (5000, 5900): centre (3400, 4700),
// radius 2000.
TEST_F(CustomOutlineTest, ArcSidesAndTheirKeepOut) {
  Info->OutlineShape = osCustom;
  Info->BoardWidth = Mils(3400);
  Info->BoardHeight = Mils(2900);
  Info->ArcSide[bsBottom] = true;
  Info->ArcHeight[bsBottom] = Mils(500);
  Info->ArcSide[bsRight] = true;
  Info->ArcHeight[bsRight] = Mils(400);
  Info->BoundaryTrackWidth = Mils(12);
  const Integer Board = Build();

  const TReadOutline Shape = Outline(Board);
  EXPECT_EQ(Shape.SegmentCount, 5);
  EXPECT_EQ(Shape.Points(), MilPoints({2000, 3500, 2000, 3500, 5000, 3500, 5000, 5900, 2000,
                                       5900, 2000, 3500}));
  ASSERT_EQ(Shape.Segments.size(), 6u);
  const TPolySegment& Bottom = Shape.Segments[1];
  EXPECT_EQ(Bottom.Kind, 1);
  EXPECT_EQ((TXY{Bottom.CX, Bottom.CY}), MilXY(3500, 5500));
  EXPECT_EQ(Bottom.Radius, Mils(2500));
  // From the lower-left corner (-126.87 degrees, normalised) to the lower-right one.
  EXPECT_NEAR(Bottom.StartAngle, 233.13010235415598, 1e-9);
  EXPECT_NEAR(Bottom.EndAngle, 306.86989764584402, 1e-9);
  const TPolySegment& Right = Shape.Segments[2];
  EXPECT_EQ(Right.Kind, 1);
  EXPECT_EQ((TXY{Right.CX, Right.CY}), MilXY(3400, 4700));
  EXPECT_EQ(Right.Radius, Mils(2000));
  EXPECT_NEAR(Right.StartAngle, 323.13010235415598, 1e-9);
  EXPECT_NEAR(Right.EndAngle, 36.86989764584402, 1e-9);
  EXPECT_EQ(Shape.Segments[3].Kind, 0);
  EXPECT_EQ(Shape.Segments[4].Kind, 0);

  // Keep-out corners, d = 50 mil: TL straight (2050, 5850); TR on the right circle
  // (radius 1950) at Y 5850: X = 3400 + sqrt(1950^2 - 1150^2) mil; BL on the bottom
  // circle (radius 2450) at X 2050: Y = 5500 - sqrt(2450^2 - 1450^2) mil; BR where the
  // two keep-out circles meet, the point nearer (5400, 3000): (49642708, 35357162).
  // The arcs' angles are those of the corners from their centres.
  const TXY TL = MilXY(2050, 5850);
  const TXY TR = {49748016, 58500000};
  const TXY BL = {20500000, 35251582};

  const std::vector<TReadArc> KeepOutArcs = Arcs(Board, KeepOutLayer);
  ASSERT_EQ(KeepOutArcs.size(), 2u);
  EXPECT_EQ(KeepOutArcs[0].Centre, MilXY(3500, 5500));
  EXPECT_EQ(KeepOutArcs[0].Radius, Mils(2450));
  EXPECT_NEAR(KeepOutArcs[0].StartAngle, -126.28745661193953, 1e-9);  // to BL
  EXPECT_NEAR(KeepOutArcs[0].EndAngle, -53.29739785154831, 1e-9);     // to BR
  EXPECT_EQ(KeepOutArcs[1].Centre, MilXY(3400, 4700));
  EXPECT_EQ(KeepOutArcs[1].Radius, Mils(1950));
  EXPECT_NEAR(KeepOutArcs[1].StartAngle, -36.66024045888885, 1e-9);  // to BR
  EXPECT_NEAR(KeepOutArcs[1].EndAngle, 36.138814226504294, 1e-9);    // to TR
  for (const TReadArc& A : KeepOutArcs) EXPECT_EQ(A.Width, Mils(12));

  const std::vector<TReadTrack> KeepOutTracks = Tracks(Board, KeepOutLayer);
  EXPECT_EQ(Lines(KeepOutTracks), (std::vector<TLine>{{TR[0], TR[1], TL[0], TL[1]},
                                                      {TL[0], TL[1], BL[0], BL[1]}}));
  for (const TReadTrack& T : KeepOutTracks) EXPECT_EQ(T.Width, Mils(12));

  // Bottom arc, right arc, top track, left track: in the board in that order.
  EXPECT_EQ(Objects(Board, 0, KeepOutLayer),
            (std::vector<Integer>{KeepOutArcs[0].Handle, KeepOutArcs[1].Handle,
                                  KeepOutTracks[0].Handle, KeepOutTracks[1].Handle}));
}

// Four equal arc sides on a square board: every keep-out corner is where two keep-out
// circles meet, and the keep-out is symmetric about the board's centre (4000, 5000) mil.
TEST_F(CustomOutlineTest, FourArcSidesMeetSymmetrically) {
  Info->OutlineShape = osCustom;
  Info->BoardWidth = Info->BoardHeight = Mils(4000);
  for (int Side = 0; Side < 4; ++Side) {
    Info->ArcSide[Side] = true;
    Info->ArcHeight[Side] = Mils(300);
  }
  const Integer Board = Build();

  const std::vector<TReadArc> KeepOut = Arcs(Board, KeepOutLayer);
  ASSERT_EQ(KeepOut.size(), 4u);
  EXPECT_TRUE(Tracks(Board, KeepOutLayer).empty());
  // Bottom, right, top, left: centres above, left of, below and right of the centre.
  const Integer MX = Mils(4000), MY = Mils(5000), Off = KeepOut[0].Centre[1] - MY;
  EXPECT_GT(Off, 0);
  EXPECT_EQ(KeepOut[0].Centre, (TXY{MX, MY + Off}));
  EXPECT_EQ(KeepOut[1].Centre, (TXY{MX - Off, MY}));
  EXPECT_EQ(KeepOut[2].Centre, (TXY{MX, MY - Off}));
  EXPECT_EQ(KeepOut[3].Centre, (TXY{MX + Off, MY}));
  // Each arc is the one before turned a quarter turn about the centre.
  for (int I = 1; I < 4; ++I) {
    EXPECT_EQ(KeepOut[I].Radius, KeepOut[0].Radius);
    const double Start = KeepOut[I].StartAngle - KeepOut[0].StartAngle - 90 * I;
    const double End = KeepOut[I].EndAngle - KeepOut[0].EndAngle - 90 * I;
    EXPECT_NEAR(std::remainder(Start, 360), 0, 1e-4) << I;
    EXPECT_NEAR(std::remainder(End, 360), 0, 1e-4) << I;
  }
}
