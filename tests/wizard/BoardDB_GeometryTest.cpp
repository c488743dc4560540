// The plane geometry of the board outline: worked values, the degenerate cases, and
// coordinates near 7e7 whose squares do not fit 32 bits.
#include <gtest/gtest.h>

#include <array>

#include "wizard/BoardDB_Geometry.h"

namespace {

double Normalized(double Angle) {
  NormalizeAngle(Angle);
  return Angle;
}

using TCircle = std::array<Integer, 3>;  // centre X, centre Y, radius

TCircle Through(double X1, double Y1, double X2, double Y2, double X3, double Y3,
                bool Expected = true) {
  TCircle C = {7, 7, 7};
  EXPECT_EQ(CircleThroughPoints(C[0], C[1], C[2], X1, Y1, X2, Y2, X3, Y3), Expected);
  return C;
}

using TPointPair = std::array<Integer, 4>;

TPointPair Meet(Integer ACX, Integer ACY, Integer AR, Integer BCX, Integer BCY, Integer BR,
                bool Expected = true) {
  TPointPair P = {7, 7, 7, 7};
  EXPECT_EQ(CircleIntersection(P[0], P[1], P[2], P[3], ACX, ACY, AR, BCX, BCY, BR),
            Expected);
  return P;
}

}  // namespace

TEST(OutlineGeometry, NormalizeAngleKeepsTheClosedRangeZeroTo360) {
  EXPECT_EQ(Normalized(360), 360);
  EXPECT_EQ(Normalized(720), 360);
  EXPECT_EQ(Normalized(725), 5);
  EXPECT_EQ(Normalized(-90), 270);
  EXPECT_EQ(Normalized(0), 0);
  EXPECT_EQ(Normalized(450), 90);
  EXPECT_EQ(Normalized(-720), 0);
  EXPECT_EQ(Normalized(1e9), 280);  // 1e9 = 2777777 x 360 + 280
  EXPECT_EQ(Normalized(-1e9), 80);
  // Far beyond any turn count, still an angle in range (and no endless loop).
  const double Huge = Normalized(-1e300);
  EXPECT_GE(Huge, 0);
  EXPECT_LE(Huge, 360);
}

TEST(OutlineGeometry, DistanceIsRoundedHalvesToEven) {
  EXPECT_EQ(PointDistance(0, 0, 3, 4), 5);
  EXPECT_EQ(PointDistance(1, 1, 2, 2), 1);
  EXPECT_EQ(PointDistance(0, 0, 1.5, 2), 2);                  // 2.5
  EXPECT_EQ(PointDistance(0, 0, 4.5, 6), 8);                  // 7.5
  EXPECT_EQ(PointDistance(-7e7, -7e7, 7e7, 7e7), 197989899);  // 1.4e8 x sqrt 2
}

TEST(OutlineGeometry, BisectorOfTwoPoints) {
  // (0, 0) and (2, 2): y = -x + 2 passes through their middle (1, 1).
  EXPECT_EQ(LineSlope(0, 0, 2, 2), -1);
  EXPECT_EQ(BisectorIntercept(0, 0, 2, 2), 2);
  // (0, 0) and (4, 2): y = -2x + 5 through (2, 1).
  EXPECT_EQ(LineSlope(0, 0, 4, 2), -2);
  EXPECT_EQ(BisectorIntercept(0, 0, 4, 2), 5);
}

TEST(OutlineGeometry, CircleThroughThreePoints) {
  EXPECT_EQ(Through(0, 5, 5, 0, 0, -5), (TCircle{0, 0, 5}));
  // Centre (2, 1), radius sqrt 5 rounded.
  EXPECT_EQ(Through(0, 0, 1, 3, 4, 0), (TCircle{2, 1, 2}));
  // A pair at one height: its bisector is the vertical line through its middle.
  EXPECT_EQ(Through(0, 0, 4, 0, 2, 2), (TCircle{2, 0, 2}));
  EXPECT_EQ(Through(2, 2, 0, 0, 4, 0), (TCircle{2, 0, 2}));
  // Near 7e7 the squares need more than 32 bits.
  EXPECT_EQ(Through(69e6, 70e6, 70e6, 71e6, 71e6, 70e6),
            (TCircle{70000000, 70000000, 1000000}));
  EXPECT_EQ(Through(-71e6, -70e6, -70e6, -69e6, -69e6, -70e6),
            (TCircle{-70000000, -70000000, 1000000}));
}

TEST(OutlineGeometry, NoCircleThroughPointsOnOneLineOrCoinciding) {
  EXPECT_EQ(Through(0, 0, 1, 1, 2, 2, false), (TCircle{0, 0, 0}));
  EXPECT_EQ(Through(0, 0, 5, 0, 9, 0, false), (TCircle{0, 0, 0}));  // an arc of height 0
  EXPECT_EQ(Through(3, 0, 3, 5, 3, 9, false), (TCircle{0, 0, 0}));
  EXPECT_EQ(Through(1, 1, 1, 1, 3, 4, false), (TCircle{0, 0, 0}));
  EXPECT_EQ(Through(1, 1, 3, 4, 1, 1, false), (TCircle{0, 0, 0}));
}

TEST(OutlineGeometry, CircleIntersectionGivesTheLeftPointFirst) {
  EXPECT_EQ(Meet(0, 0, 5, 8, 0, 5), (TPointPair{4, 3, 4, -3}));
  EXPECT_EQ(Meet(0, 0, 5, 0, 8, 5), (TPointPair{-3, 4, 3, 4}));
  EXPECT_EQ(Meet(0, 0, 5, 10, 0, 5), (TPointPair{5, 0, 5, 0}));  // touching
  // Radii 5 and 3 four apart: the 3-4-5 triangle at A's centre.
  EXPECT_EQ(Meet(0, 0, 5, 4, 0, 3), (TPointPair{4, 3, 4, -3}));
  EXPECT_EQ(Meet(70000000, 70000000, 5000000, 78000000, 70000000, 5000000),
            (TPointPair{74000000, 73000000, 74000000, 67000000}));
}

TEST(OutlineGeometry, CirclesThatDoNotMeetGiveMinusOne) {
  const TPointPair None = {-1, -1, -1, -1};
  EXPECT_EQ(Meet(0, 0, 1, 10, 0, 1, false), None);  // apart
  EXPECT_EQ(Meet(0, 0, 10, 1, 0, 2, false), None);  // one inside the other
  EXPECT_EQ(Meet(0, 0, 5, 0, 0, 5, false), None);   // the same circle
  EXPECT_EQ(Meet(0, 0, 5, 0, 0, 3, false), None);   // the same centre
}

TEST(OutlineGeometry, PointOnCircleFromTheOtherCoordinate) {
  EXPECT_EQ(PointOnCircle(+1, 0, 0, 5, 3), 4);
  EXPECT_EQ(PointOnCircle(-1, 0, 0, 5, 3), -4);
  EXPECT_EQ(PointOnCircle(-1, 10, 20, 5, 16), 7);
  EXPECT_EQ(PointOnCircle(+1, 70e6, 70e6, 5e6, 73e6), 74000000);
  EXPECT_EQ(PointOnCircle(-1, 70e6, 70e6, 5e6, 67e6), 66000000);
  // A line that misses the circle gives the centre's coordinate.
  EXPECT_EQ(PointOnCircle(+1, 10, 20, 5, 30), 10);
}

TEST(OutlineGeometry, PointAngleInDegreesUpToPlus180) {
  EXPECT_EQ(PointAngle(0, 0, 1, 0), 0);
  EXPECT_EQ(PointAngle(5, 5, 5, 9), 90);
  EXPECT_EQ(PointAngle(0, 0, -1, 0), 180);
  EXPECT_EQ(PointAngle(0, 0, 0, -1), -90);
  EXPECT_DOUBLE_EQ(PointAngle(0, 0, -3, -3), -135);
  EXPECT_EQ(PointAngle(4, 4, 4, 4), 0);
}
