// The board maker's outline and keep-out of a custom board, the plane geometry and
// custom shape they share with the outline pages' previews, and the previews' drawing
// routines.
#include "wizard/BoardDB_Outline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "classlib/Exceptions.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB_Maker.h"

namespace {

constexpr TLayer KeepOutLayer = 56;

// The steps of the outline and keep-out, as the build's errors name them.
constexpr const char* OutlineStep = "The board outline could not be made";
constexpr const char* KeepOutStep = "The board's keep-out could not be made";

// x87 code may keep a value in an 80-bit register; a store to memory rounds it once to
// a true double, so a result does not depend on what the compiler kept in registers.
double Stored(double Value) {
  volatile double D = Value;
  return D;
}

double Square(double Value) { return Value * Value; }

double RadToDeg(double Radians) {
  return Stored(Radians * (180.0 / 3.14159265358979323846));
}

// A handle kept in a pointer slot of a TList, and back.
void* HandleItem(Integer Handle) {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(Handle));
}

// The points of a rectangle from (L, B) to (R, T) whose corners lose rectangular notches
// (x wide, y high; 0 upper-left, 1 lower-left, 2 upper-right, 3 lower-right), starting
// on the left side above the lower-left notch and going counter-clockwise; the last
// point repeats the first. Even-numbered edges (from point k to k + 1) run along X.
struct TNotchedShape {
  TPoint Points[13];
};

TNotchedShape NotchedShape(Integer L, Integer B, Integer R, Integer T, const TPoint* C) {
  return TNotchedShape{{MakePoint(L, B + C[1].y), MakePoint(L + C[1].x, B + C[1].y),
                        MakePoint(L + C[1].x, B), MakePoint(R - C[3].x, B),
                        MakePoint(R - C[3].x, B + C[3].y), MakePoint(R, B + C[3].y),
                        MakePoint(R, T - C[2].y), MakePoint(R - C[2].x, T - C[2].y),
                        MakePoint(R - C[2].x, T), MakePoint(L + C[0].x, T),
                        MakePoint(L + C[0].x, T - C[0].y), MakePoint(L, T - C[0].y),
                        MakePoint(L, B + C[1].y)}};
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

// ---------------------------------------------------------------------------------
// Geometry

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
  return RoundCoord(Stored(std::sqrt(Square(X2 - X1) + Square(Y2 - Y1))));
}

double LineSlope(double X1, double Y1, double X2, double Y2) {
  return Stored((X1 - X2) / (Y2 - Y1));
}

double BisectorIntercept(double X1, double Y1, double X2, double Y2) {
  return Stored((Square(X2) + Square(Y2) - Square(X1) - Square(Y1)) / (2 * (Y2 - Y1)));
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
    X = Stored((X1 + X2) / 2);
    Y = Stored(LineSlope(X2, Y2, X3, Y3) * X + BisectorIntercept(X2, Y2, X3, Y3));
  } else if (Level23) {
    X = Stored((X2 + X3) / 2);
    Y = Stored(LineSlope(X1, Y1, X2, Y2) * X + BisectorIntercept(X1, Y1, X2, Y2));
  } else {
    const double M1 = LineSlope(X1, Y1, X2, Y2);
    const double B1 = BisectorIntercept(X1, Y1, X2, Y2);
    const double M2 = LineSlope(X2, Y2, X3, Y3);
    const double B2 = BisectorIntercept(X2, Y2, X3, Y3);
    // Parallel bisectors: the points lie on one line. For integral points equal slopes
    // are exactly equal doubles (each is the correctly rounded quotient).
    if (M1 == M2) return false;
    X = Stored((B2 - B1) / (M1 - M2));
    Y = Stored(M1 * X + B1);
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
  const double D = Stored(std::sqrt(Square(DX) + Square(DY)));
  const double RA = AR;
  const double RB = BR;
  if (D == 0 || std::fabs(RA - RB) > D || RA + RB < D) return false;
  const double A = Stored((Square(D) + Square(RA) - Square(RB)) / (2 * D));
  // Touching circles may leave a tiny negative square from rounding.
  const double HH = Stored(Square(RA) - Square(A));
  const double H = HH > 0 ? Stored(std::sqrt(HH)) : 0.0;
  const double T = std::atan2(DY, DX);
  const double C = Stored(std::cos(T));
  const double S = Stored(std::sin(T));
  const double MX = Stored(ACX + A * C);
  const double MY = Stored(ACY + A * S);
  X1 = RoundCoord(MX - H * S);
  Y1 = RoundCoord(MY + H * C);
  X2 = RoundCoord(MX + H * S);
  Y2 = RoundCoord(MY - H * C);
  return true;
}

Integer PointOnCircle(int Sign, double A0, double B0, double R, double B) {
  const double Root = Stored(Square(R) - Square(B - B0));
  return RoundCoord(A0 + Sign * (Root > 0 ? Stored(std::sqrt(Root)) : 0.0));
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

// ---------------------------------------------------------------------------------
// Keep-out primitives

Integer TTarvik::AddTrack(Integer X1, Integer Y1, Integer X2, Integer Y2, TLayer Layer) {
  TNewEditorObject Made(PcbApi_CreateObject(eTrackObject), KeepOutStep, "create a track");
  TOwned<TPcbTrack> Track(NewObject<TPcbTrack>(Made.Handle()));
  CheckEditorStatus(Track->Exchange(ExchangeRead), KeepOutStep, "read a track");
  Track->X = X1;
  Track->Y = Y1;
  Track->X2 = X2;
  Track->Y2 = Y2;
  // The user's boundary track width; the dimension line width is for dimensions.
  Track->Width = BoardInfo->BoundaryTrackWidth;
  Track->Layer = Layer;
  CheckEditorStatus(Track->Exchange(ExchangeWrite), KeepOutStep, "write a track");
  Made.AddTo(Board, KeepOutStep, "add a track to the board");
  return Made.Handle();
}

Integer TTarvik::AddArc(Integer XCenter, Integer YCenter, Integer Radius, double StartAngle,
                        double EndAngle) {
  TNewEditorObject Made(PcbApi_CreateObject(eArcObject), KeepOutStep, "create an arc");
  TOwned<TPcbArc> Arc(NewObject<TPcbArc>(Made.Handle()));
  CheckEditorStatus(Arc->Exchange(ExchangeRead), KeepOutStep, "read an arc");
  Arc->X = XCenter;
  Arc->Y = YCenter;
  Arc->Radius = Radius;
  Arc->StartAngle = StartAngle;
  Arc->EndAngle = EndAngle;
  Arc->LineWidth = BoardInfo->BoundaryTrackWidth;
  Arc->Layer = KeepOutLayer;
  CheckEditorStatus(Arc->Exchange(ExchangeWrite), KeepOutStep, "write an arc");
  Made.AddTo(Board, KeepOutStep, "add an arc to the board");
  return Made.Handle();
}

// ---------------------------------------------------------------------------------
// Outline vertices

namespace {

// A vertex may be set only while an outline is made, within its segment array.
void CheckVertex(const TPcbBoardOutline* Outline, int Index) {
  if (!Outline) throw Exception("No board outline is being made");
  if (Index < 0 || Index >= PolySegmentCapacity)
    throw Exception("Board outline vertex %d is out of range", {Index});
}

}  // namespace

void TTarvik::SetLineVertex(int Index, Integer X, Integer Y) {
  CheckVertex(FOutline, Index);
  FOutline->Segments[Index] = TPolySegment{0, X, Y, 0, 0, 0, 0.0, 0.0};
}

void TTarvik::SetOffsetLineVertex(int Index, Integer X, Integer Y) {
  SetLineVertex(Index, OriginX + X, OriginY + Y);
}

void TTarvik::SetArcVertex(int Index, Integer X, Integer Y, Integer CX, Integer CY,
                           Integer Radius, double StartAngle, double EndAngle) {
  CheckVertex(FOutline, Index);
  NormalizeAngle(StartAngle);
  NormalizeAngle(EndAngle);
  FOutline->Segments[Index] = TPolySegment{1, X, Y, CX, CY, Radius, StartAngle, EndAngle};
}

// ---------------------------------------------------------------------------------
// The outline step

void TTarvik::MakeBoardOutline() {
  ExchangeBoard(Board, ExchangeRead, OutlineStep);
  if (Board->OutlineHandle == 0) PcbApi_CreateBoardOutline(Board->BoardHandle);
  ExchangeBoard(Board, ExchangeRead, OutlineStep);
  if (Board->OutlineHandle == 0)
    RaiseEditorRefusal(OutlineStep, "create the board outline");

  TOwned<TPcbBoardOutline> Outline(NewObject<TPcbBoardOutline>(Board->OutlineHandle));
  CheckEditorStatus(Outline->Exchange(ExchangeRead), OutlineStep, "read the board outline");
  Outline->PolygonByte1 = 0;
  Outline->PolygonByte2 = 0;
  Outline->PolygonValue1 = MilToCoord(10);
  Outline->PolygonValue2 = MilToCoord(10);
  Outline->PolygonByte6 = 4;

  // The vertex setters reach the wrapper through FOutline while the shape is made.
  FOutline = Outline.get();
  try {
    switch (BoardInfo->OutlineShape) {
      case osRectangular:
        MakeRectangularOutline();
        break;
      case osCircular:
        MakeCircularOutline();
        break;
      case osCustom:
        MakeCustomOutline();
        break;
      default:
        break;
    }
  } catch (...) {
    FOutline = nullptr;
    throw;
  }
  FOutline = nullptr;

  CheckEditorStatus(Outline->Exchange(ExchangeWrite), OutlineStep,
                    "write the board outline");
  Outline.reset();
  ExchangeBoard(Board, ExchangeWrite, OutlineStep);
  PcbApi_UpdateBoardOutline(Board->BoardHandle);
}

void TTarvik::MakeRectangularOutline() {
  const TBoardInfoFromUser& Info = *BoardInfo;
  const Integer W = Info.BoardWidth;
  const Integer H = Info.BoardHeight;
  const Integer D = Info.KeepOutDistance;
  const TPoint* Cut = Info.CornerCut;

  // The outline, relative to the origin.
  if (Info.CornerCutoff) {
    const TNotchedShape Shape = NotchedShape(0, 0, W, H, Cut);
    FOutline->SegmentCount = 12;
    for (int I = 0; I <= 12; ++I)
      SetOffsetLineVertex(I, Shape.Points[I].x, Shape.Points[I].y);
  } else {
    FOutline->SegmentCount = 4;
    SetOffsetLineVertex(0, 0, 0);
    SetOffsetLineVertex(1, W, 0);
    SetOffsetLineVertex(2, W, H);
    SetOffsetLineVertex(3, 0, H);
    SetOffsetLineVertex(4, 0, 0);
  }

  // A cut-out without area (a record finished before its page was seen) draws nothing.
  const bool HasInnerCut =
      Info.InnerCutoff && Info.InnerCutSize.x > 0 && Info.InnerCutSize.y > 0;

  // The cut-out's own edges; the dimensions measure them.
  if (HasInnerCut) {
    const Integer X0 = OriginX + Info.InnerCutOffset.x;
    const Integer Y0 = OriginY + Info.InnerCutOffset.y;
    const Integer X1 = X0 + Info.InnerCutSize.x;
    const Integer Y1 = Y0 + Info.InnerCutSize.y;
    HorzKeepOuts->Add(HandleItem(AddTrack(X0, Y0, X1, Y0, KeepOutLayer)));
    VertKeepOuts->Add(HandleItem(AddTrack(X1, Y0, X1, Y1, KeepOutLayer)));
    HorzKeepOuts->Add(HandleItem(AddTrack(X1, Y1, X0, Y1, KeepOutLayer)));
    VertKeepOuts->Add(HandleItem(AddTrack(X0, Y1, X0, Y0, KeepOutLayer)));
  }

  // The keep-out inside the edge; the notches keep their size.
  {
    const Integer X0 = OriginX + D;
    const Integer Y0 = OriginY + D;
    const Integer X1 = X0 + (W - 2 * D);
    const Integer Y1 = Y0 + (H - 2 * D);
    if (Info.CornerCutoff) {
      const TNotchedShape Shape = NotchedShape(X0, Y0, X1, Y1, Cut);
      for (int I = 0; I < 12; ++I) {
        const TPoint& P = Shape.Points[I];
        const TPoint& Q = Shape.Points[I + 1];
        TList* List = I % 2 == 0 ? HorzKeepOuts : VertKeepOuts;
        List->Add(HandleItem(AddTrack(P.x, P.y, Q.x, Q.y, KeepOutLayer)));
      }
    } else {
      HorzKeepOuts->Add(HandleItem(AddTrack(X0, Y0, X1, Y0, KeepOutLayer)));
      VertKeepOuts->Add(HandleItem(AddTrack(X1, Y0, X1, Y1, KeepOutLayer)));
      HorzKeepOuts->Add(HandleItem(AddTrack(X1, Y1, X0, Y1, KeepOutLayer)));
      VertKeepOuts->Add(HandleItem(AddTrack(X0, Y1, X0, Y0, KeepOutLayer)));
    }
  }

  // The keep-out around the cut-out, outside it; not dimensioned.
  if (HasInnerCut) {
    const Integer X0 = OriginX + Info.InnerCutOffset.x - D;
    const Integer Y0 = OriginY + Info.InnerCutOffset.y - D;
    const Integer X1 = X0 + Info.InnerCutSize.x + 2 * D;
    const Integer Y1 = Y0 + Info.InnerCutSize.y + 2 * D;
    AddTrack(X0, Y0, X1, Y0, KeepOutLayer);
    AddTrack(X1, Y0, X1, Y1, KeepOutLayer);
    AddTrack(X1, Y1, X0, Y1, KeepOutLayer);
    AddTrack(X0, Y1, X0, Y0, KeepOutLayer);
  }
}

void TTarvik::MakeCircularOutline() {
  const Integer R = BoardInfo->GetRadius();
  const Integer CX = OriginX + R;
  const Integer CY = OriginY + R;
  FOutline->SegmentCount = 4;
  SetArcVertex(0, OriginX + 2 * R, CY, CX, CY, R, 0, 90);
  SetArcVertex(1, CX, OriginY + 2 * R, CX, CY, R, 90, 180);
  SetArcVertex(2, OriginX, CY, CX, CY, R, 180, 270);
  SetArcVertex(3, CX, OriginY, CX, CY, R, 270, 360);
  // The record past the last vertex closes the shape at its start, as with the other
  // shapes; left alone it would keep whatever the outline held (a point at 0, 0).
  SetLineVertex(4, OriginX + 2 * R, CY);
  HorzKeepOuts->Add(HandleItem(AddArc(CX, CY, R - BoardInfo->KeepOutDistance, 0, 360)));
}

void TTarvik::MakeCustomOutline() {
  const TBoardInfoFromUser& Info = *BoardInfo;
  const TCustomOutline Shape =
      CustomOutline(OriginX, OriginY, OriginX + Info.BoardWidth, OriginY + Info.BoardHeight,
                    Info.ArcSide, Info.ArcHeight, Info.KeepOutDistance);
  const Integer L1 = Shape.L1, B1 = Shape.B1, R1 = Shape.R1, T1 = Shape.T1;

  // Vertex i starts side i (bottom, right, top, left); the last one closes the shape.
  FOutline->SegmentCount = 5;
  SetLineVertex(0, L1, B1);
  const auto SideVertex = [this](int Index, const TOutlineSide& Side, Integer X, Integer Y,
                                 Integer EndX, Integer EndY) {
    if (Side.IsArc)
      SetArcVertex(Index, X, Y, Side.CX, Side.CY, Side.Radius,
                   PointAngle(Side.CX, Side.CY, X, Y),
                   PointAngle(Side.CX, Side.CY, EndX, EndY));
    else
      SetLineVertex(Index, X, Y);
  };
  SideVertex(1, Shape.Sides[bsBottom], L1, B1, R1, B1);
  SideVertex(2, Shape.Sides[bsRight], R1, B1, R1, T1);
  SideVertex(3, Shape.Sides[bsTop], R1, T1, L1, T1);
  SideVertex(4, Shape.Sides[bsLeft], L1, T1, L1, B1);
  SetLineVertex(5, L1, B1);

  // Bottom, right, top, left: an arc about the side's circle or a straight track.
  const auto KeepOutSide = [this](const TOutlineSide& Side, const TPoint& From,
                                  const TPoint& To) {
    if (Side.IsArc)
      AddArc(Side.CX, Side.CY, Side.Radius, PointAngle(Side.CX, Side.CY, From.x, From.y),
             PointAngle(Side.CX, Side.CY, To.x, To.y));
    else
      AddTrack(From.x, From.y, To.x, To.y, KeepOutLayer);
  };
  KeepOutSide(Shape.KeepOutSides[bsBottom], Shape.KeepOutBL, Shape.KeepOutBR);
  KeepOutSide(Shape.KeepOutSides[bsRight], Shape.KeepOutBR, Shape.KeepOutTR);
  KeepOutSide(Shape.KeepOutSides[bsTop], Shape.KeepOutTR, Shape.KeepOutTL);
  KeepOutSide(Shape.KeepOutSides[bsLeft], Shape.KeepOutTL, Shape.KeepOutBL);
}

// ---------------------------------------------------------------------------------
// Preview pictures

namespace {

// The largest pixel coordinate a preview passes to drawing; far beyond any picture,
// well within what GDI takes.
constexpr double PreviewPixelLimit = 1000000;

constexpr TColor PreviewEdgeColor = clOlive;
constexpr TColor PreviewKeepOutColor = clFuchsia;
constexpr int PreviewKeepOutInset = 3;

}  // namespace

int PreviewPixels(double Length, double Scale) {
  const double Pixels = Stored(Length * Scale);
  if (std::isnan(Pixels)) return 0;
  return RoundCoord(std::clamp(Pixels, -PreviewPixelLimit, PreviewPixelLimit));
}

bool FitBoardInPreview(const TBoardInfoFromUser& Info, TImage* Image, TRect& Rect,
                       double Factor, double& Scale) {
  Rect = ::Rect(0, 0, 0, 0);
  Scale = 0;
  // A cleared size would divide by zero; such a board has nothing to show.
  if (Info.BoardWidth <= 0 || Info.BoardHeight <= 0) return false;
  const int IW = Image->Width();
  const int IH = Image->Height();
  Scale = std::min(Stored((IW - 2) * Factor / Info.BoardWidth),
                   Stored((IH - 2) * Factor / Info.BoardHeight));
  const int W = PreviewPixels(Info.BoardWidth, Scale);
  const int H = PreviewPixels(Info.BoardHeight, Scale);
  const int Left = (IW - W) / 2;
  const int Top = (IH - H) / 2;
  Rect = ::Rect(Left, Top, Left + W, Top + H);
  return true;
}

void DrawPreviewOutline(TImage* Image, const TRect& Rect, TPoint BottomLeft,
                        TPoint TopLeft, TPoint TopRight, TPoint BottomRight, int Offset) {
  const int O = Offset;
  const int L = Rect.left, T = Rect.top, R = Rect.right, B = Rect.bottom;
  const TPoint& BL = BottomLeft;
  const TPoint& TL = TopLeft;
  const TPoint& TR = TopRight;
  const TPoint& BR = BottomRight;
  Image->Canvas()->Polyline({MakePoint(L + TL.x + O, T + O), MakePoint(R - TR.x - O, T + O),
                             MakePoint(R - TR.x - O, T + TR.y + O),
                             MakePoint(R - O, T + TR.y + O), MakePoint(R - O, B - BR.y - O),
                             MakePoint(R - BR.x - O, B - BR.y - O),
                             MakePoint(R - BR.x - O, B - O), MakePoint(L + BL.x + O, B - O),
                             MakePoint(L + BL.x + O, B - BL.y - O),
                             MakePoint(L + O, B - BL.y - O), MakePoint(L + O, T + TL.y + O),
                             MakePoint(L + TL.x + O, T + TL.y + O),
                             MakePoint(L + TL.x + O, T + O)});
}

void DrawHorzDimensionArrow(TImage* Image, int X1, int X2, int Y) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clBlack);
  C->MoveTo(X1, Y);
  C->LineTo(X2, Y);
  C->Polyline({MakePoint(X1 + 8, Y - 2), MakePoint(X1, Y), MakePoint(X1 + 8, Y + 2)});
  C->Polyline({MakePoint(X2 - 8, Y - 2), MakePoint(X2, Y), MakePoint(X2 - 8, Y + 2)});
}

void DrawVertDimensionArrow(TImage* Image, int X, int Y1, int Y2) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clBlack);
  C->MoveTo(X, Y1);
  C->LineTo(X, Y2);
  C->Polyline({MakePoint(X - 2, Y1 + 8), MakePoint(X, Y1), MakePoint(X + 2, Y1 + 8)});
  C->Polyline({MakePoint(X - 2, Y2 - 8), MakePoint(X, Y2), MakePoint(X + 2, Y2 - 8)});
}

void DrawPreviewLeader(TImage* Image, std::initializer_list<TPoint> Points) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psDot);
  bool First = true;
  for (const TPoint& P : Points) {
    if (First)
      C->MoveTo(P.x, P.y);
    else
      C->LineTo(P.x, P.y);
    First = false;
  }
}

int ControlMiddleY(TImage* Image, TControl* Control) {
  return Control->Top() - Image->Top() + Control->Height() / 2;
}

void DrawPreviewFrame(TImage* Image, const TRect* Board, const TPoint Notches[4]) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(::Rect(0, 0, Image->Width(), Image->Height()));
  if (!Board) return;
  const TPoint& TL = Notches[bcUpperLeft];
  const TPoint& BL = Notches[bcLowerLeft];
  const TPoint& TR = Notches[bcUpperRight];
  const TPoint& BR = Notches[bcLowerRight];
  C->Pen()->SetColor(PreviewEdgeColor);
  DrawPreviewOutline(Image, *Board, BL, TL, TR, BR, 0);
  C->Pen()->SetColor(PreviewKeepOutColor);
  DrawPreviewOutline(Image, *Board, BL, TL, TR, BR, PreviewKeepOutInset);
}
