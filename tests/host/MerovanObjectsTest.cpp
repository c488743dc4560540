// The editor stand-in's objects: creation and the handle table, the board's container
// and its iterators, the exchanges' checks, extents, pads and polygons.
#include "tests/host/MerovanTestSupport.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace {

using MerovanObjectsTest = MerovanTest;

TEST_F(MerovanObjectsTest, EveryKnownIdMakesAnObjectInNoBoardUnderAFreshHandle) {
  std::set<Integer> Handles;
  for (int Id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 21}) {
    Integer Handle = PcbApi_CreateObject(static_cast<Byte>(Id));
    ASSERT_NE(Handle, 0) << Id;
    EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Handle), Id);
    Handles.insert(Handle);
  }
  EXPECT_EQ(Handles.size(), 16u);
  EXPECT_TRUE(Walk(0).empty());
  for (int Id : {0, 16, 20, 22, 255})
    EXPECT_EQ(PcbApi_CreateObject(static_cast<Byte>(Id)), 0);

  // A destroyed handle is forgotten and never given out again.
  Integer Destroyed = *Handles.begin();
  EXPECT_EQ(PcbApi_DestroyObject(Destroyed), 0);
  EXPECT_EQ(PcbApi_DestroyObject(Destroyed), 1);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Destroyed), 0);
  for (int I = 0; I < 20; ++I)
    EXPECT_EQ(Handles.count(PcbApi_CreateObject(eTrackObject)), 0u);
}

TEST_F(MerovanObjectsTest, ContainerTakesAnObjectIntoOneBoardAtATime) {
  Integer Other = CreateDocument("PCB", "Other.PcbDoc");
  Integer Track = PcbApi_CreateObject(eTrackObject);
  EXPECT_EQ(PcbApi_AddObjectToContainer(Board + 1000, Track), 1);
  EXPECT_EQ(PcbApi_AddObjectToContainer(Board, Track + 1000), 1);
  EXPECT_EQ(PcbApi_AddObjectToContainer(Board, Track), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(Board, Track), 1);
  EXPECT_EQ(PcbApi_AddObjectToContainer(Other, Track), 1);
  EXPECT_EQ(PcbApi_DeleteObjectFromContainer(Other, Track), 1);
  EXPECT_EQ(PcbApi_DeleteObjectFromContainer(Board, Track), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(Other, Track), 0);
  EXPECT_EQ(Walk(0, 0, Other), std::vector<Integer>{Track});
  EXPECT_TRUE(Walk().empty());
  // Closing a board destroys what it holds.
  EXPECT_TRUE(CloseDocument(Other));
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Track), 0);
  EXPECT_EQ(PcbApi_CreateIterator(Other, 0, 0, 0), 0);
}

TEST_F(MerovanObjectsTest, IteratorsFilterByIdAndLayerInContainerOrder) {
  Integer T1 = AddTrack(0, 0, 10, 10, 1);
  Integer Rule = PcbApi_CreateRuleObject(eClearanceRule);
  PcbApi_AddObjectToContainer(Board, Rule);
  Integer Arc = AddArc(0, 0, 100, 10, 2);
  Integer T2 = AddTrack(0, 0, 10, 10, 2);
  Integer Class = PcbApi_CreateObject(eClassObject);
  PcbApi_AddObjectToContainer(Board, Class);
  PcbApi_CreateObject(eTrackObject);  // in no board

  EXPECT_EQ(Walk(0), (std::vector<Integer>{T1, Arc, T2}));  // geometric objects only
  EXPECT_EQ(Walk(0, 2), (std::vector<Integer>{Arc, T2}));
  EXPECT_EQ(Walk(eTrackObject), (std::vector<Integer>{T1, T2}));
  EXPECT_EQ(Walk(eTrackObject, 1), std::vector<Integer>{T1});
  EXPECT_EQ(Walk(eRuleObject), std::vector<Integer>{Rule});
  EXPECT_EQ(Walk(eClassObject), std::vector<Integer>{Class});
  EXPECT_TRUE(Walk(eViaObject).empty());
  EXPECT_TRUE(Walk(eBoardOutlineObject).empty());

  EXPECT_EQ(PcbApi_CreateIterator(Board + 1000, 0, 0, 0), 0);
  EXPECT_EQ(PcbApi_GetFirstObject(0), 0);
  EXPECT_EQ(PcbApi_DestroyIterator(0), 1);
}

TEST_F(MerovanObjectsTest, WalkSurvivesRemovingOrDestroyingObjectsOnTheWay) {
  std::vector<Integer> Tracks;
  for (int I = 0; I < 5; ++I) Tracks.push_back(AddTrack(I, 0, I, 10));

  // The caller takes out each object it is given: every one is visited once.
  std::vector<Integer> Visited;
  Integer Iterator = PcbApi_CreateIterator(Board, eTrackObject, 0, 0);
  for (Integer H = PcbApi_GetFirstObject(Iterator); H; H = PcbApi_GetNextObject(Iterator)) {
    Visited.push_back(H);
    EXPECT_EQ(PcbApi_DeleteObjectFromContainer(Board, H), 0);
  }
  EXPECT_EQ(PcbApi_DestroyIterator(Iterator), 0);
  EXPECT_EQ(Visited, Tracks);
  EXPECT_TRUE(Walk().empty());

  // Objects destroyed or taken out after the snapshot are skipped.
  for (Integer H : Tracks) PcbApi_AddObjectToContainer(Board, H);
  Visited.clear();
  Iterator = PcbApi_CreateIterator(Board, 0, 0, 0);
  for (Integer H = PcbApi_GetFirstObject(Iterator); H; H = PcbApi_GetNextObject(Iterator)) {
    Visited.push_back(H);
    if (H == Tracks[0]) {
      PcbApi_DestroyObject(H);
      PcbApi_DestroyObject(Tracks[1]);
      PcbApi_DeleteObjectFromContainer(Board, Tracks[3]);
    }
  }
  EXPECT_EQ(Visited, (std::vector<Integer>{Tracks[0], Tracks[2], Tracks[4]}));
  // GetFirstObject starts the snapshot again.
  EXPECT_EQ(PcbApi_GetFirstObject(Iterator), Tracks[2]);
  PcbApi_DestroyIterator(Iterator);
}

TEST_F(MerovanObjectsTest, ExchangesRefuseBadModesHandlesAndKinds) {
  Integer Track = AddTrack(100, 200, 300, 400, 1, 20);
  Integer Arc = AddArc(0, 0, 10, 1);
  TTrackFields F;
  ASSERT_EQ(QueryTrack(ExchangeRead, Track, F), 0);
  F.X = -1, F.Width = -1;
  EXPECT_EQ(QueryTrack(3, Track, F), 1);
  EXPECT_EQ(QueryTrack(ExchangeWrite, Arc, F), 1);
  EXPECT_EQ(QueryTrack(ExchangeWrite, Track + 1000, F), 1);
  TTrackFields Back;
  QueryTrack(ExchangeRead, Track, Back);
  EXPECT_EQ(Back.X * 1000 + Back.Width, 100020);
  TArcFields A;
  EXPECT_EQ(QueryArc(ExchangeRead, Track, A), 1);

  // Mode 2 writes the header too (which query reaches which header field is the object
  // wrappers' test).
  Word Flags = 0x0010, HeaderWord = 7;
  Byte Layer = 33, HeaderByte = 9;
  Integer V1 = 11, V2 = 22;
  ASSERT_EQ(PcbApi_QueryPrimitive(ExchangeWriteAlt, Track, Flags, HeaderWord, Layer, V1, V2,
                                  HeaderByte),
            0);
  QueryTrack(ExchangeRead, Track, Back);
  EXPECT_EQ(Back.HeaderValue2, 22);
  Byte Untouched = 0x55;
  PcbApi_GetObjectBitField3(ExchangeRead, Track + 1000, Untouched);
  EXPECT_EQ(Untouched, 0x55);
}

TEST_F(MerovanObjectsTest, ExtentsFollowEachKindsGeometry) {
  EXPECT_EQ(Bounds(AddTrack(0, 500, 1000, 0, 1, 100)), (TBounds{-50, -50, 1050, 550}));
  EXPECT_EQ(Bounds(AddArc(1000, 1000, 300, 20)), (TBounds{690, 690, 1310, 1310}));
  Integer Text = Add<TTextFields>(eTextObject, QueryText, [](TTextFields& F) {
    F.X = 100, F.Y = 200, F.Size = 50, F.Text = "abc";
  });
  EXPECT_EQ(Bounds(Text), (TBounds{100, 200, 250, 250}));

  Integer Fill = PcbApi_CreateObject(eFillObject);
  Word W = 0;
  Byte B = 1;
  Integer V = 0, X = 30, Y = 40, X2 = 10, Y2 = 20;
  double Rotation = 0;
  PcbApi_QueryFill(ExchangeWrite, Fill, W, W, B, V, B, V, X, Y, X2, Y2, V, Rotation);
  EXPECT_EQ(Bounds(Fill), (TBounds{10, 20, 30, 40}));

  Integer Via = PcbApi_CreateObject(eViaObject);
  Integer Size = 60, Hole = 30;
  X = 500, Y = 600;
  PcbApi_QueryVia(ExchangeWrite, Via, W, W, B, V, B, V, X, Y, Size, Hole, B, B);
  EXPECT_EQ(Bounds(Via), (TBounds{470, 570, 530, 630}));

  // A polygon's vertices, with an arc side's bulge: a 0..1000 square whose bottom side
  // is the lower half of a circle of radius 500 about (500, 0).
  Integer Polygon = PcbApi_CreateObject(ePolygonObject);
  TPolygonFields P;
  QueryPolygon(ExchangeRead, Polygon, P);
  P.SegmentCount = 4;
  P.Segments[0] = {1, 0, 0, 500, 0, 500, 180, 360};
  P.Segments[1] = {0, 1000, 0, 0, 0, 0, 0, 0};
  P.Segments[2] = {0, 1000, 1000, 0, 0, 0, 0, 0};
  P.Segments[3] = {0, 0, 1000, 0, 0, 0, 0, 0};
  P.Segments[4] = P.Segments[0];
  ASSERT_EQ(QueryPolygon(ExchangeWrite, Polygon, P), 0);
  EXPECT_EQ(Bounds(Polygon), (TBounds{0, -500, 1000, 1000}));

  // A dimension: its text locations and the points its references anchor to.
  Integer Track = AddTrack(-300, -400, 700, -400);
  Integer Dimension = PcbApi_CreateDimensionObject(eBaselineDimension);
  PcbApi_References_Add(Dimension, Track, 0, 0, 1);
  PcbApi_References_Add(Dimension, Track, 0, 0, 2);
  PcbApi_TextLocations_Add(Dimension, 200, 900);
  EXPECT_EQ(Bounds(Dimension), (TBounds{-300, -400, 700, 900}));

  // Objects without geometry, an empty polygon and unknown handles give status 1.
  Integer Status = 0;
  for (Byte Id : {eRuleObject, eClassObject, eNetObject, eFromToObject, ePolygonObject}) {
    Bounds(PcbApi_CreateObject(Id), &Status);
    EXPECT_EQ(Status, 1) << int(Id);
  }
  Bounds(0, &Status);
  EXPECT_EQ(Status, 1);
}

// An arc's extent is that of its counter-clockwise sweep from the start angle to the end
// angle, not of its whole circle: its end points and the axis points (0, 90, 180 and 270
// degrees) the sweep passes, widened by half its line width.
TEST_F(MerovanObjectsTest, AnArcsExtentIsThatOfItsSweepOnly) {
  const auto ArcBounds = [&](double Start, double End, Integer Width = 20) {
    const Integer Arc = Add<TArcFields>(eArcObject, QueryArc, [&](TArcFields& F) {
      F.X = 1000, F.Y = 1000, F.Radius = 300, F.LineWidth = Width;
      F.StartAngle = Start, F.EndAngle = End;
    });
    return Bounds(Arc);
  };
  const TBounds Circle{690, 690, 1310, 1310};
  struct TCase {
    double Start, End;
    TBounds Expected;
  } Cases[] = {
      {10, 80, {1042, 1042, 1305, 1305}},    // inside one quadrant: its end points
      {0, 90, {990, 990, 1310, 1310}},       // from axis to axis
      {80, 100, {938, 1285, 1062, 1310}},    // over 90
      {135, 225, {690, 778, 798, 1222}},     // over 180
      {225, 315, {778, 690, 1222, 798}},     // over 270
      {315, 45, {1202, 778, 1310, 1222}},    // over 0
      {350, 10, {1285, 938, 1310, 1062}},    // over 0, narrow
      {-45, 45, {1202, 778, 1310, 1222}},    // a negative start
      {405, 495, {778, 1202, 1222, 1310}},   // past a whole turn: 45 to 135
      {180, 360, {690, 690, 1310, 1010}},    // the lower half
      {100, 80, {690, 690, 1310, 1305}},     // the long way round, missing only 90
      {0, 360, Circle},                      // whole circles
      {30, 30, Circle},
      {0, 0, Circle},
      {45, 405, Circle},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(ArcBounds(Case.Start, Case.End), Case.Expected)
        << Case.Start << " to " << Case.End;
  EXPECT_EQ(ArcBounds(10, 80, 0), (TBounds{1052, 1052, 1295, 1295}));
  // Angles that are not numbers give no sweep to measure: the whole circle.
  EXPECT_EQ(ArcBounds(std::nan(""), 90), Circle);
  EXPECT_EQ(ArcBounds(0, HUGE_VAL), Circle);

  // Every start and end, 15 degrees apart, against the points of the sweep traced
  // finely.
  for (int Start = 0; Start < 360; Start += 15) {
    for (int End = 0; End < 360; End += 15) {
      const double Sweep = End > Start ? End - Start : End - Start + 360;
      double Left = 1e9, Bottom = 1e9, Right = -1e9, Top = -1e9;
      for (int Step = 0; Step <= 3600; ++Step) {
        const double Radians = (Start + Sweep * Step / 3600) * 3.14159265358979323846 / 180;
        const double X = 1000 + 300 * std::cos(Radians), Y = 1000 + 300 * std::sin(Radians);
        Left = std::min(Left, X), Right = std::max(Right, X);
        Bottom = std::min(Bottom, Y), Top = std::max(Top, Y);
      }
      const TBounds B = ArcBounds(Start, End, 0);
      SCOPED_TRACE(std::to_string(Start) + " to " + std::to_string(End));
      EXPECT_NEAR(B.Left, Left, 1);
      EXPECT_NEAR(B.Bottom, Bottom, 1);
      EXPECT_NEAR(B.Right, Right, 1);
      EXPECT_NEAR(B.Top, Top, 1);
    }
  }
}

// Per-layer values that come back, and a via's sizes on signal layers, are the pad and
// via wrappers' tests; these are the refusals.
TEST_F(MerovanObjectsTest, PadLayersStopAt82AndViasTakeNoPadSettings) {
  Integer Pad = PcbApi_CreateObject(ePadObject);
  EXPECT_EQ(PcbApi_SetPadSizeOnLayer(Pad, 83, 700, 400), 1);
  Integer Via = PcbApi_CreateObject(eViaObject);
  Byte Shape = 0, Mode = 0;
  Integer XSize = 0, YSize = 0;
  EXPECT_EQ(PcbApi_SetPadShapeOnLayer(Via, 1, 2), 1);
  EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(Via, 39, XSize, YSize), 0);  // a plane
  EXPECT_EQ(XSize, YSize);
  EXPECT_GT(XSize, 0);
  EXPECT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(Via, 0, Shape), 1);
  EXPECT_EQ(PcbApi_QueryPadStackMode(ExchangeRead, Via, Mode), 1);
}

TEST_F(MerovanObjectsTest, OutlineIsTheBoardsPolygonOfId21) {
  PcbApi_CreateBoardOutline(Board);
  PcbApi_CreateBoardOutline(Board);  // a board has one outline
  PcbApi_UpdateBoardOutline(Board);
  Integer V = 0, Outline = 0;
  PcbString Text;
  Byte B = 0;
  PcbApi_QueryBoard(ExchangeRead, Board, V, Text, B, V, V, V, V, B, B, Outline);
  ASSERT_NE(Outline, 0);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Outline), eBoardOutlineObject);
  EXPECT_EQ(Walk(eBoardOutlineObject), std::vector<Integer>{Outline});

  // Its vertices: records 0..SegmentCount; a count whose records do not fit is refused.
  TPolygonFields P;
  ASSERT_EQ(QueryPolygon(ExchangeRead, Outline, P), 0);
  P.SegmentCount = 4;
  const Integer Corners[5][2] = {{0, 0}, {50, 0}, {50, 40}, {0, 40}, {0, 0}};
  for (int I = 0; I < 5; ++I)
    P.Segments[I] = {0, Corners[I][0], Corners[I][1], 0, 0, 0, 0, 0};
  P.Values[0] = 100000;
  ASSERT_EQ(QueryPolygon(ExchangeWrite, Outline, P), 0);
  TPolygonFields Back;
  Back.Segments[7].X = 99;
  ASSERT_EQ(QueryPolygon(ExchangeRead, Outline, Back), 0);
  EXPECT_EQ(Back.SegmentCount, 4);
  EXPECT_EQ(Back.Values[0], 100000);
  EXPECT_EQ(Back.Segments[2].X * 100 + Back.Segments[2].Y, 5040);
  EXPECT_EQ(Back.Segments[7].X, 0);
  P.SegmentCount = PolySegmentCapacity;
  EXPECT_EQ(QueryPolygon(ExchangeWrite, Outline, P), 1);
  EXPECT_EQ(Bounds(Outline), (TBounds{0, 0, 50, 40}));

  EXPECT_EQ(PcbApi_DestroyObject(Outline), 0);
  PcbApi_QueryBoard(ExchangeRead, Board, V, Text, B, V, V, V, V, B, B, Outline);
  EXPECT_EQ(Outline, 0);
}

}  // namespace
