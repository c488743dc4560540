// Plane geometry in doubles kept to true doubles, and the shape of a custom board.
#include "wizard/BoardDB_Geometry.h"

#include <algorithm>
#include <cmath>

#include "pcb/Pcbclass_Object.h"

namespace {

double Square(double Value) { return Value * Value; }

double RadToDeg(double Radians) {
  return StoredDouble(Radians * (180.0 / 3.14159265358979323846));
}

// The circle of an arc side through its two corners and the middle point where it
// touches the outer rectangle. A side whose height is 0 (or whose three points allow no
// circle) stays straight.
TOutlineSide SideCircle(bool WantArc, Integer Height, Integer X1, Integer Y1, Integer XM,
                        Integer YM, Integer X2, Integer Y2) {
  TOutlineSide Side;
  if (WantArc && Height != 0)
    Side.IsArc = CircleThroughPoints(Side.CX, Side.CY, Side.Radius, X1, Y1, XM, YM, X2, Y2);
  return Side;
}

// Of the two points where circles A and B meet, the one nearer to (X, Y); on a tie the
// first. (-1, -1) when the circles do not meet.
TPoint NearerIntersection(const TOutlineSide& A, const TOutlineSide& B, Integer X,
                          Integer Y) {
  Integer X1, Y1, X2, Y2;
  CircleIntersection(X1, Y1, X2, Y2, A.CX, A.CY, A.Radius, B.CX, B.CY, B.Radius);
  if (PointDistance(X, Y, X2, Y2) < PointDistance(X, Y, X1, Y1)) return MakePoint(X2, Y2);
  return MakePoint(X1, Y1);
}

}  // namespace

double StoredDouble(double Value) {
  volatile double D = Value;
  return D;
}

void NormalizeAngle(double& Angle) {
  double A = Angle;
  if (!std::isfinite(A)) {
    // Infinities have no direction left; a loop would never end on them.
    Angle = std::isnan(A) ? A : std::nan("");
    return;
  }
  // Far from the range the whole turns go at once (fmod is exact), so no value loops
  // for long; the loops below then bring the rest into range.
  if (A > 720 || A < -720) A = std::fmod(A, 360.0);
  while (A > 360) A -= 360;
  while (A < 0) A += 360;
  Angle = A;
}

double PointDistance(double X1, double Y1, double X2, double Y2) {
  return RoundCoord(StoredDouble(std::sqrt(Square(X2 - X1) + Square(Y2 - Y1))));
}

double LineSlope(double X1, double Y1, double X2, double Y2) {
  return StoredDouble((X1 - X2) / (Y2 - Y1));
}

double BisectorIntercept(double X1, double Y1, double X2, double Y2) {
  return StoredDouble((Square(X2) + Square(Y2) - Square(X1) - Square(Y1)) / (2 * (Y2 - Y1)));
}

bool CircleThroughPoints(Integer& CX, Integer& CY, Integer& R, double X1, double Y1,
                         double X2, double Y2, double X3, double Y3) {
  CX = 0;
  CY = 0;
  R = 0;
  const bool Same12 = X1 == X2 && Y1 == Y2;
  const bool Same23 = X2 == X3 && Y2 == Y3;
  const bool Same13 = X1 == X3 && Y1 == Y3;
  if (Same12 || Same23 || Same13) return false;
  const bool Level12 = Y1 == Y2;
  const bool Level23 = Y2 == Y3;
  if (Level12 && Level23) return false;  // three points on one horizontal line
  double X, Y;
  if (Level12) {
    // The bisector of P1 and P2 is the vertical line through their middle.
    X = StoredDouble((X1 + X2) / 2);
    Y = StoredDouble(LineSlope(X2, Y2, X3, Y3) * X + BisectorIntercept(X2, Y2, X3, Y3));
  } else if (Level23) {
    X = StoredDouble((X2 + X3) / 2);
    Y = StoredDouble(LineSlope(X1, Y1, X2, Y2) * X + BisectorIntercept(X1, Y1, X2, Y2));
  } else {
    const double M1 = LineSlope(X1, Y1, X2, Y2);
    const double B1 = BisectorIntercept(X1, Y1, X2, Y2);
    const double M2 = LineSlope(X2, Y2, X3, Y3);
    const double B2 = BisectorIntercept(X2, Y2, X3, Y3);
    // Parallel bisectors: the points lie on one line. For integral points equal slopes
    // are exactly equal doubles (each is the correctly rounded quotient).
    if (M1 == M2) return false;
    X = StoredDouble((B2 - B1) / (M1 - M2));
    Y = StoredDouble(M1 * X + B1);
  }
  CX = RoundCoord(X);
  CY = RoundCoord(Y);
  R = RoundCoord(PointDistance(CX, CY, X1, Y1));
  return true;
}

bool CircleIntersection(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, Integer ACX,
                        Integer ACY, Integer AR, Integer BCX, Integer BCY, Integer BR) {
  X1 = Y1 = X2 = Y2 = -1;
  const double DX = double(BCX) - ACX;
  const double DY = double(BCY) - ACY;
  const double D = StoredDouble(std::sqrt(Square(DX) + Square(DY)));
  const double RA = AR;
  const double RB = BR;
  if (D == 0 || std::fabs(RA - RB) > D || RA + RB < D) return false;
  const double A = StoredDouble((Square(D) + Square(RA) - Square(RB)) / (2 * D));
  // Touching circles may leave a tiny negative square from rounding.
  const double HH = StoredDouble(Square(RA) - Square(A));
  const double H = HH > 0 ? StoredDouble(std::sqrt(HH)) : 0.0;
  const double T = std::atan2(DY, DX);
  const double C = StoredDouble(std::cos(T));
  const double S = StoredDouble(std::sin(T));
  const double MX = StoredDouble(ACX + A * C);
  const double MY = StoredDouble(ACY + A * S);
  X1 = RoundCoord(MX - H * S);
  Y1 = RoundCoord(MY + H * C);
  X2 = RoundCoord(MX + H * S);
  Y2 = RoundCoord(MY - H * C);
  return true;
}

Integer PointOnCircle(int Sign, double A0, double B0, double R, double B) {
  const double Root = StoredDouble(Square(R) - Square(B - B0));
  return RoundCoord(A0 + Sign * (Root > 0 ? StoredDouble(std::sqrt(Root)) : 0.0));
}

double PointAngle(Integer CX, Integer CY, Integer X, Integer Y) {
  return RadToDeg(std::atan2(double(Y) - CY, double(X) - CX));
}

TPoint MakePoint(Integer X, Integer Y) { return TPoint{X, Y}; }

int CornerIndex(bool A, bool B) { return (A ? 1 : 0) + (B ? 2 : 0); }

TCustomOutline CustomOutline(Integer L0, Integer B0, Integer R0, Integer T0,
                             const bool ArcSide[4], const Integer ArcHeight[4],
                             Integer KeepOut) {
  TCustomOutline Shape;
  Shape.L0 = L0;
  Shape.B0 = B0;
  Shape.R0 = R0;
  Shape.T0 = T0;
  // The corners, moved in by each arc side's height.
  const Integer L1 = Shape.L1 = ArcSide[bsLeft] ? L0 + ArcHeight[bsLeft] : L0;
  const Integer T1 = Shape.T1 = ArcSide[bsTop] ? T0 - ArcHeight[bsTop] : T0;
  const Integer R1 = Shape.R1 = ArcSide[bsRight] ? R0 - ArcHeight[bsRight] : R0;
  const Integer B1 = Shape.B1 = ArcSide[bsBottom] ? B0 + ArcHeight[bsBottom] : B0;
  // Halved in 64 bits: two corners far out on the sheet sum past the 32-bit range.
  const Integer MidX = static_cast<Integer>((Int64(L1) + R1) / 2);
  const Integer MidY = static_cast<Integer>((Int64(T1) + B1) / 2);

  // Each arc side bulges out to touch the outer rectangle at the middle of its side.
  TOutlineSide* Side = Shape.Sides;
  Side[bsBottom] =
      SideCircle(ArcSide[bsBottom], ArcHeight[bsBottom], L1, B1, MidX, B0, R1, B1);
  Side[bsRight] = SideCircle(ArcSide[bsRight], ArcHeight[bsRight], R1, B1, R0, MidY, R1, T1);
  Side[bsTop] = SideCircle(ArcSide[bsTop], ArcHeight[bsTop], R1, T1, MidX, T0, L1, T1);
  Side[bsLeft] = SideCircle(ArcSide[bsLeft], ArcHeight[bsLeft], L1, T1, L0, MidY, L1, B1);

  // The keep-out follows the same circles, KeepOut nearer their centres.
  const Integer D = KeepOut;
  TOutlineSide* In = Shape.KeepOutSides;
  for (int I = 0; I < 4; ++I) {
    In[I] = Side[I];
    In[I].Radius -= D;
  }
  const TOutlineSide& Left = In[bsLeft];
  const TOutlineSide& Top = In[bsTop];
  const TOutlineSide& Right = In[bsRight];
  const TOutlineSide& Bottom = In[bsBottom];

  switch (CornerIndex(Left.IsArc, Top.IsArc)) {
    case 0:
      Shape.KeepOutTL = MakePoint(L1 + D, T1 - D);
      break;
    case 1:
      Shape.KeepOutTL =
          MakePoint(PointOnCircle(-1, Left.CX, Left.CY, Left.Radius, T1 - D), T1 - D);
      break;
    case 2:
      Shape.KeepOutTL =
          MakePoint(L1 + D, PointOnCircle(+1, Top.CY, Top.CX, Top.Radius, L1 + D));
      break;
    default:
      Shape.KeepOutTL = NearerIntersection(Top, Left, L0, T0);
      break;
  }
  switch (CornerIndex(Top.IsArc, Right.IsArc)) {
    case 0:
      Shape.KeepOutTR = MakePoint(R1 - D, T1 - D);
      break;
    case 1:
      Shape.KeepOutTR =
          MakePoint(R1 - D, PointOnCircle(+1, Top.CY, Top.CX, Top.Radius, R1 - D));
      break;
    case 2:
      Shape.KeepOutTR =
          MakePoint(PointOnCircle(+1, Right.CX, Right.CY, Right.Radius, T1 - D), T1 - D);
      break;
    default:
      Shape.KeepOutTR = NearerIntersection(Right, Top, R0, T0);
      break;
  }
  switch (CornerIndex(Right.IsArc, Bottom.IsArc)) {
    case 0:
      Shape.KeepOutBR = MakePoint(R1 - D, B1 + D);
      break;
    case 1:
      Shape.KeepOutBR =
          MakePoint(PointOnCircle(+1, Right.CX, Right.CY, Right.Radius, B1 + D), B1 + D);
      break;
    case 2:
      Shape.KeepOutBR =
          MakePoint(R1 - D, PointOnCircle(-1, Bottom.CY, Bottom.CX, Bottom.Radius, R1 - D));
      break;
    default:
      Shape.KeepOutBR = NearerIntersection(Bottom, Right, R0, B0);
      break;
  }
  switch (CornerIndex(Bottom.IsArc, Left.IsArc)) {
    case 0:
      Shape.KeepOutBL = MakePoint(L1 + D, B1 + D);
      break;
    case 1:
      Shape.KeepOutBL =
          MakePoint(L1 + D, PointOnCircle(-1, Bottom.CY, Bottom.CX, Bottom.Radius, L1 + D));
      break;
    case 2:
      Shape.KeepOutBL =
          MakePoint(PointOnCircle(-1, Left.CX, Left.CY, Left.Radius, B1 + D), B1 + D);
      break;
    default:
      Shape.KeepOutBL = NearerIntersection(Left, Bottom, L0, B0);
      break;
  }
  return Shape;
}
