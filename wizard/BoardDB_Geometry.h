// Plane geometry shared by the board maker's outline and keep-out (BoardDB_Outline.cpp)
// and the outline pages' previews (BoardDB_Preview.h): angles, distances, the circle
// through three points, the crossing points of two circles and the point of a circle on
// a given line; and the shape of a custom board.
//
// Coordinates are host coordinates (or pixels) with Y growing upward; angles are
// degrees, 0 along +X, counter-clockwise positive. Every square is taken in double, so
// coordinates near the ends of the 32-bit range do not overflow. "Rounded" means to the
// nearest integer, halves to even, kept within the 32-bit range.
#pragma once

#include "classlib/SysTypes.h"
#include "classlib/Types.h"
#include "wizard/BoardDB.h"

// Value rounded once to a true double. x87 code may keep a value in an 80-bit
// register; a store to memory rounds it, so a result does not depend on what the
// compiler kept in registers.
double StoredDouble(double Value);

// Brings an angle into [0, 360]: above 720 the whole turns are taken off at once, then
// 360 is taken off while it is above 360 and added while it is below 0. 360 stays 360,
// 720 becomes 360, 725 becomes 5, -90 becomes 270. An angle that is not finite becomes
// NaN (a NaN stays NaN).
void NormalizeAngle(double& Angle);

// The distance between two points, rounded (still a double).
double PointDistance(double X1, double Y1, double X2, double Y2);

// The slope of the perpendicular bisector of two points: (X1 - X2) / (Y2 - Y1). Two
// points at the same height have a vertical bisector: the result is then an infinity
// (NaN for two equal points), which CircleThroughPoints never passes on.
double LineSlope(double X1, double Y1, double X2, double Y2);
// The Y intercept of that bisector: (X2^2 + Y2^2 - X1^2 - Y1^2) / (2 (Y2 - Y1)); not
// finite under the same condition as LineSlope.
double BisectorIntercept(double X1, double Y1, double X2, double Y2);

// The circle through three points: the crossing of the perpendicular bisectors of
// (P1, P2) and (P2, P3). CX is the rounded crossing X, CY the rounded bisector value at
// the unrounded X, R the distance from (CX, CY) to P1. When one of the two point pairs
// lies at one height, its bisector is the vertical line through the pair's middle X and
// the other bisector gives CY. Returns false, with CX, CY and R all 0, when no single
// circle exists: two of the points coincide or all three lie on one line (an arc of
// height 0).
bool CircleThroughPoints(Integer& CX, Integer& CY, Integer& R, double X1, double Y1,
                         double X2, double Y2, double X3, double Y3);

// The points where circle A (ACX, ACY, AR) meets circle B (BCX, BCY, BR). Point 1 lies
// to the left of the way from A's centre to B's, point 2 to its right; a touching pair
// gives the touching point twice. Returns false, with all four results -1, when the
// circles do not meet: apart, one inside the other, or with the same centre (equal or
// not: two equal circles share every point, and no single pair is theirs).
bool CircleIntersection(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, Integer ACX,
                        Integer ACY, Integer AR, Integer BCX, Integer BCY, Integer BR);

// The coordinate A of the point of a circle whose other coordinate is B, where (A0, B0)
// is the circle's centre in the same (A, B) order and Sign (+1 or -1) chooses the side
// of the centre: rounded A0 + Sign x sqrt(R^2 - (B - B0)^2). Call it with (X, Y) roles
// to get an X from a Y, with (Y, X) roles to get a Y from an X. A line that misses the
// circle takes the square root as 0, which gives the centre's coordinate: the point of
// the line nearest the circle.
Integer PointOnCircle(int Sign, double A0, double B0, double R, double B);

// The direction from (CX, CY) to (X, Y) in degrees, in (-180, 180]; 0 for the centre
// itself.
double PointAngle(Integer CX, Integer CY, Integer X, Integer Y);

TPoint MakePoint(Integer X, Integer Y);

// A + 2 B: which of two meeting sides are arcs (0 none, 1 the first, 2 the second,
// 3 both).
int CornerIndex(bool A, bool B);

// ---------------------------------------------------------------------------------
// The shape of a custom board

// One side of a custom outline: whether it is an arc, and its circle.
struct TOutlineSide {
  bool IsArc = false;
  Integer CX = 0;
  Integer CY = 0;
  Integer Radius = 0;
};

// A rectangle whose sides may each bulge out as a circular arc, with its keep-out line
// KeepOut inside it. Sides are indexed by TBoardSide (left, top, right, bottom).
struct TCustomOutline {
  // The outer rectangle, which the arcs touch at the middle of their sides.
  Integer L0 = 0, B0 = 0, R0 = 0, T0 = 0;
  // The corners: the outer rectangle moved in by the height of every arc side.
  Integer L1 = 0, B1 = 0, R1 = 0, T1 = 0;
  // Each side's circle through its two corners and the middle of its outer side.
  TOutlineSide Sides[4];
  // The same circles, KeepOut nearer their centres.
  TOutlineSide KeepOutSides[4];
  // The corners of the keep-out line: on the straight sides moved in and on the
  // reduced circles; where two arcs meet, their crossing nearer the outer corner
  // ((-1, -1) when they do not cross).
  TPoint KeepOutTL{0, 0}, KeepOutTR{0, 0}, KeepOutBR{0, 0}, KeepOutBL{0, 0};
};

// The custom shape inside the rectangle (L0, B0)-(R0, T0): side i is an arc of height
// ArcHeight[i] when ArcSide[i] is set and the height is not 0 (and its three points
// allow a circle); otherwise it is straight. The board maker calls it in host
// coordinates; the outline page's preview calls it in pixels with Y turned upward.
TCustomOutline CustomOutline(Integer L0, Integer B0, Integer R0, Integer T0,
                             const bool ArcSide[4], const Integer ArcHeight[4],
                             Integer KeepOut);
