// The board maker's outline and keep-out steps (declared in BoardDB_Maker.h): the
// board's outline vertices for each shape, and the keep-out tracks and arcs around it.
#include <cstdint>

#include "classlib/Exceptions.h"
#include "classlib/UpdateScope.h"
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB_Geometry.h"
#include "wizard/BoardDB_Maker.h"

namespace {

constexpr TLayer KeepOutLayer = 56;

// The steps of the outline and keep-out, as the build's errors name them.
constexpr const char* OutlineStep = "The board outline could not be made";
constexpr const char* KeepOutStep = "The board's keep-out could not be made";

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

}  // namespace

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
  {
    TValueScope<TPcbBoardOutline*> Making(FOutline, Outline.get());
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
  }

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
