// The primitive classes against the editor stand-in: every field written by one
// wrapper comes back identically through another, each exchange calls its queries in
// order, and the pad stack, object-class members, dimension lists, polygon segments
// and the component's queries behave as their classes say.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pcb/Pcbclass.h"
#include "tests/pcb/PcbEditorFixture.h"

namespace {

// The fields of each class's exchange (the state bytes travel with every kind).
#define PCB_STATE(F) F(BitField2) F(BitField3)
#define PCB_PREFIX(F) \
  PCB_STATE(F) F(Flags) F(HeaderWord) F(Layer) F(HeaderValue1) F(HeaderByte) F(HeaderValue2) F(X) F(Y)
#define TRACK_FIELDS(F) PCB_PREFIX(F) F(X2) F(Y2) F(Width) F(ExtraValue1) F(ExtraValue2) F(ExtraValue3)
#define ARC_FIELDS(F) \
  PCB_PREFIX(F) F(Radius) F(StartAngle) F(EndAngle) F(LineWidth) F(ExtraValue1)
#define VIA_FIELDS(F) PCB_PREFIX(F) F(Size) F(HoleSize) F(ViaByte1) F(ViaByte2)
#define FILL_FIELDS(F) PCB_PREFIX(F) F(X2) F(Y2) F(ExtraValue1) F(Rotation)
#define TEXT_FIELDS(F)                                                                  \
  PCB_PREFIX(F) F(Size) F(TextValue) F(Rotation) F(TextFlag) F(Text) F(Width) F(ExtraValue2) \
  F(ExtraValue3)
#define PAD_FIELDS(F)                                                                       \
  PCB_PREFIX(F) F(PadSize1) F(PadSize2) F(PadSize3) F(PadSize4) F(PadSize5) F(PadSize6)     \
  F(HoleSize) F(PadByte1) F(PadByte2) F(PadByte3) F(Name) F(PadByte4) F(Rotation) F(PadByte5)
#define FROMTO_FIELDS(F) \
  PCB_STATE(F) F(HeaderWord) F(X) F(Y) F(FromToByte1) F(X2) F(Y2) F(FromToByte2) F(HeaderValue1)
#define MANUAL_FIELDS(F) \
  PCB_STATE(F) F(HeaderWord) F(ManualText1) F(ManualText2) F(ManualText3) F(ManualValue)
#define NET_FIELDS(F) PCB_STATE(F) F(HeaderWord) F(Name) F(NetByte) F(NetValue)
#define CLASS_FIELDS(F) PCB_STATE(F) F(HeaderWord) F(ClassByte1) F(ClassByte2) F(Name)
#define COORD_FIELDS(F)                                                                     \
  PCB_STATE(F) F(Flags) F(HeaderWord) F(HeaderByte) F(X) F(Y) F(Layer) F(CoordValue1)       \
  F(CoordValue2) F(CoordValue3) F(CoordValue4) F(CoordValue5) F(CoordValue6)
#define COMPONENT_FIELDS(F)                                                                \
  PCB_STATE(F) F(ChannelOffset) F(Kind) F(Flags) F(HeaderWord) F(Layer) F(HeaderByte)      \
  F(NameHandle) F(ComponentValue0) F(ComponentText) F(ComponentByte1) F(ComponentByte2)    \
  F(X) F(Y) F(ComponentValue1) F(Rotation) F(ComponentByte3) F(ComponentValue2)             \
  F(ComponentByte4) F(ComponentByte5) F(ComponentValue3) F(SourceLink1) F(SourceLink2)      \
  F(SourceLink3) F(SourceLink4) F(SourceLink5) F(SourceLink6) F(SourceLink7)
#define POLYGON_FIELDS(F)                                                                  \
  PCB_STATE(F) F(Flags) F(HeaderWord) F(Layer) F(HeaderValue1) F(HeaderByte)               \
  F(PolygonByte1) F(PolygonByte2) F(PolygonByte3) F(PolygonByte4) F(PolygonByte5)           \
  F(PolygonByte6) F(PolygonValue1) F(PolygonValue2) F(PolygonValue3)
#define DIMENSION_FIELDS(F)                                                                \
  PCB_STATE(F) F(Flags) F(HeaderWord) F(HeaderByte) F(X) F(Y) F(Layer) F(DimValue1)        \
  F(DimValue2) F(DimValue3) F(DimValue4) F(DimValue5) F(DimValue6) F(DimValue7)             \
  F(DimValue8) F(DimValue9) F(DimValue10) F(DimByte1) F(DimValue11) F(DimText1) F(DimByte2) \
  F(DimValue12) F(DimText2) F(DimText3) F(DimWide) F(DimValue13) F(DimValue14)              \
  F(DimValue15) F(DimByte3) F(DimValue16) F(DimValue17) F(DimValue18) F(DimValue19)
#define LINEAR_FIELDS(F) DIMENSION_FIELDS(F) F(LinearValue)
#define BASELINE_FIELDS(F) DIMENSION_FIELDS(F) F(BaselineValue)

}  // namespace

using PcbPrimitiveRoundTrip = PcbEditorTest;

TEST_F(PcbPrimitiveRoundTrip, EveryFieldOfEveryKindComesBack) {
  EXPECT_ROUND_TRIP(TPcbTrack, NewObjectHandle(eTrackObject), TRACK_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbArc, NewObjectHandle(eArcObject), ARC_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbVia, NewObjectHandle(eViaObject), VIA_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbFill, NewObjectHandle(eFillObject), FILL_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbText, NewObjectHandle(eTextObject), TEXT_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbFromTo, NewObjectHandle(eFromToObject), FROMTO_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbManualFromTo, NewObjectHandle(eManualFromToObject), MANUAL_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbNet, NewObjectHandle(eNetObject), NET_FIELDS, 0);
  // A class read ends with the member query's status past the last member.
  EXPECT_ROUND_TRIP(TPCBObjectClass, NewObjectHandle(eClassObject), CLASS_FIELDS, 1);
  EXPECT_ROUND_TRIP(TPcbCoordinate, NewObjectHandle(eCoordinateObject), COORD_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbComponent, NewObjectHandle(eComponentObject), COMPONENT_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbPolygon, NewObjectHandle(ePolygonObject), POLYGON_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbBoardOutline, NewObjectHandle(eBoardOutlineObject), POLYGON_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPcbDimension, NewDimensionHandle(eDefaultDimension), DIMENSION_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPCBLinearDimension, NewDimensionHandle(eLinearDimension), LINEAR_FIELDS,
                    0);
  EXPECT_ROUND_TRIP(TPCBLinearDiameterDimension, NewDimensionHandle(eLinearDiameterDimension),
                    LINEAR_FIELDS, 0);
  EXPECT_ROUND_TRIP(TPCBBaselineDimension, NewDimensionHandle(eBaselineDimension),
                    BASELINE_FIELDS, 0);
}

TEST_F(PcbPrimitiveRoundTrip, PadFieldsComeBackWithoutAFullStack) {
  const Integer H = NewObjectHandle(ePadObject);
  TOwned<TPcbPad> Writer(NewObject<TPcbPad>(H));
  TOwned<TPcbPad> Reader(NewObject<TPcbPad>(H));
  TSeed Seed;
  PAD_FIELDS(PCB_SEED)
  Writer->StackMode = 1;
  EXPECT_EQ(Writer->Exchange(ExchangeWrite), 0);
  EXPECT_EQ(Reader->Exchange(ExchangeRead), 0);
  PAD_FIELDS(PCB_SAME)
  EXPECT_EQ(Reader->StackMode, 1);
}

TEST(PcbPrimitiveText, SettersKeepWhatTheirFieldsHold) {
  TOwned<TPcbText> Text(NewObject<TPcbText>());
  Text->SetText(AnsiString(300, 'q'));
  EXPECT_EQ(Text->GetText().ToString(), AnsiString(254, 'q'));
  // A text's width is set through its line width only.
  Text->SetLineWidth(9);
  Text->SetWidth(99);
  EXPECT_EQ(Text->GetWidth(), 9);
  TOwned<TPcbPad> Pad(NewObject<TPcbPad>());
  Pad->SetName("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(Pad->GetName().ToString(), "ABCDEFGHIJKLMNOPQRST");
}

// --- Exchange sequences ---

using PcbPrimitiveSequence = PcbEditorTest;

TEST_F(PcbPrimitiveSequence, ComponentAsksItsFiveQueriesInOrder) {
  const Integer H = NewObjectHandle(eComponentObject);
  TOwned<TPcbComponent> Component(NewObject<TPcbComponent>(H));
  StartLog();
  EXPECT_EQ(Component->Exchange(ExchangeRead), 0);
  EXPECT_EQ(StopLog(),
            (std::vector<std::string>{
                Call("PcbApi_GetObjectBitField2", 1, H), Call("PcbApi_GetObjectBitField3", 1, H),
                Call("PcbApi_QueryComponentChannelOffset", 1, H),
                Call("PcbApi_QueryComponentKind", 1, H), Call("PcbApi_QueryComponent", 1, H),
                Call("PcbApi_QueryComponentEx", 1, H),
                Call("PcbApi_QueryComponentSourceLinks", 1, H)}));
  // The main query's status is the result: a component wrapper on a track fails.
  TOwned<TPcbComponent> Wrong(NewObject<TPcbComponent>(NewObjectHandle(eTrackObject)));
  EXPECT_EQ(Wrong->Exchange(ExchangeRead), 1);
}

TEST_F(PcbPrimitiveSequence, DimensionsReadTheirListsAfterBothQueries) {
  const Integer H = NewDimensionHandle(eLinearDimension);
  TOwned<TPcbDimension> Plain(NewObject<TPcbDimension>(H));
  EXPECT_EQ(Plain->DimensionKind, eDefaultDimension);
  StartLog();
  EXPECT_EQ(Plain->Exchange(ExchangeRead), 0);
  EXPECT_EQ(CallNames(StopLog()),
            (std::vector<std::string>{"PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                      "PcbApi_QueryDimension", "PcbApi_QueryExtDimension",
                                      "PcbApi_References_Count"}));
  EXPECT_EQ(Plain->DimensionKind, eLinearDimension);  // the editor's kind
  // A linear dimension's result is the linear value's status.
  TOwned<TPCBLinearDimension> Linear(NewObject<TPCBLinearDimension>(NewDimensionHandle(6)));
  EXPECT_EQ(Linear->Exchange(ExchangeRead), 1);
}

// --- Pads ---

using PcbPadStack = PcbEditorTest;

TEST_F(PcbPadStack, FullStackExchangesExactlyTheSignalLayers) {
  const Integer H = NewObjectHandle(ePadObject);
  TOwned<TPcbPad> Writer(NewObject<TPcbPad>(H));
  Writer->Exchange(ExchangeRead);
  Writer->StackMode = 2;
  for (int L = 0; L <= MaxLayer; ++L) {
    Writer->XSizeOnLayer[L] = 1000 + L;
    Writer->YSizeOnLayer[L] = 2000 + L;
    Writer->ShapeOnLayer[L] = Byte(L % 3 + 1);
  }
  StartLog();
  EXPECT_EQ(Writer->Exchange(ExchangeWrite), 0);
  const std::vector<std::string> Written = StopLog();
  const std::vector<std::string> Shapes = CallsTo(Written, "PcbApi_SetPadShapeOnLayer");
  const std::vector<std::string> Sizes = CallsTo(Written, "PcbApi_SetPadSizeOnLayer");
  ASSERT_EQ(Shapes.size(), 32u);
  ASSERT_EQ(Sizes.size(), 32u);
  for (int L = 1; L <= 32; ++L) {
    EXPECT_EQ(Shapes[L - 1], Call("PcbApi_SetPadShapeOnLayer", H, L, L % 3 + 1));
    EXPECT_EQ(Sizes[L - 1], Call("PcbApi_SetPadSizeOnLayer", H, L, 1000 + L, 2000 + L));
  }

  TOwned<TPcbPad> Reader(NewObject<TPcbPad>(H));
  StartLog();
  EXPECT_EQ(Reader->Exchange(ExchangeRead), 0);
  const std::vector<std::string> Read = StopLog();
  EXPECT_EQ(CallsTo(Read, "PcbApi_QueryPadOrViaShapeOnLayer").size(), 32u);
  const std::vector<std::string> SizeReads = CallsTo(Read, "PcbApi_QueryPadOrViaSizeOnLayer");
  ASSERT_EQ(SizeReads.size(), 32u);
  EXPECT_EQ(SizeReads.front(), Call("PcbApi_QueryPadOrViaSizeOnLayer", H, 1));
  EXPECT_EQ(SizeReads.back(), Call("PcbApi_QueryPadOrViaSizeOnLayer", H, 32));
  EXPECT_EQ(Reader->StackMode, 2);
  for (int L = 1; L <= 32; ++L) {
    EXPECT_EQ(Reader->XSizeOnLayer[L], 1000 + L);
    EXPECT_EQ(Reader->YSizeOnLayer[L], 2000 + L);
    EXPECT_EQ(Reader->ShapeOnLayer[L], L % 3 + 1);
  }
  for (int L = 33; L <= MaxLayer; ++L) EXPECT_EQ(Reader->XSizeOnLayer[L], 0) << L;
}

TEST_F(PcbPadStack, OtherStackModesAndFailedReadsTouchNoLayer) {
  const Integer H = NewObjectHandle(ePadObject);
  TOwned<TPcbPad> Pad(NewObject<TPcbPad>(H));
  Pad->StackMode = 1;
  StartLog();
  EXPECT_EQ(Pad->Exchange(ExchangeWrite), 0);
  EXPECT_EQ(Pad->Exchange(ExchangeRead), 0);
  EXPECT_EQ(CallNames(StopLog()),
            (std::vector<std::string>{"PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                      "PcbApi_QueryPad", "PcbApi_QueryPadStackMode",
                                      "PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                      "PcbApi_QueryPad", "PcbApi_QueryPadStackMode"}));

  // A pad wrapper on a via: the pad query fails and nothing more is asked.
  TOwned<TPcbPad> OnVia(NewObject<TPcbPad>(NewObjectHandle(eViaObject)));
  OnVia->StackMode = 2;
  StartLog();
  EXPECT_EQ(OnVia->Exchange(ExchangeRead), 1);
  EXPECT_EQ(CallNames(StopLog()).back(), "PcbApi_QueryPad");
}

TEST_F(PcbPadStack, LayerGeometryAsksTheEditorAfresh) {
  const Integer H = NewObjectHandle(ePadObject);
  TOwned<TPcbPad> Pad(NewObject<TPcbPad>(H));
  Pad->Exchange(ExchangeRead);
  Pad->X = 1000;
  Pad->Y = 2000;
  Pad->Rotation = 90;
  Pad->Layer = 1;
  Pad->Exchange(ExchangeWrite);
  PcbApi_SetPadSizeOnLayer(H, 5, 600, 200);   // wide
  PcbApi_SetPadSizeOnLayer(H, 6, 200, 600);   // tall
  PcbApi_SetPadSizeOnLayer(H, 7, 400, 400);   // round
  PcbApi_SetPadSizeOnLayer(H, 8, 300, 0);     // flat
  PcbApi_SetPadShapeOnLayer(H, 5, 3);

  // Sizes and shape on a layer other than the pad's own.
  EXPECT_EQ(Pad->GetXSizeOnLayer(5), 600);
  EXPECT_EQ(Pad->GetYSizeOnLayer(5), 200);
  EXPECT_EQ(Pad->GetWidthOnLayer(6), 200);
  EXPECT_EQ(Pad->GetShapeOnLayer(5), 3);
  EXPECT_EQ(Pad->GetXSizeOnLayer(0), 0);  // the editor refuses layer 0
  EXPECT_EQ(Pad->GetShapeOnLayer(200), 0);

  // Corners on layer 5, widened by 50 (700 x 300) and turned a quarter: 300 x 700.
  EXPECT_EQ(Pad->GetCorner1XOnLayer(5, 50), 1150);
  EXPECT_EQ(Pad->GetCorner1YOnLayer(5, 50), 1650);
  EXPECT_EQ(Pad->GetCorner4XOnLayer(5, 50), 850);
  EXPECT_EQ(Pad->GetCorner4YOnLayer(5, 50), 2350);
  // A flat pad: the ends unturned, the centre line for Y.
  EXPECT_EQ(Pad->GetCorner1XOnLayer(8, 0), 850);
  EXPECT_EQ(Pad->GetCorner2XOnLayer(8, 0), 1150);
  EXPECT_EQ(Pad->GetCorner3YOnLayer(8, 0), 2000);

  // Axis ends: the long axis shortened by the difference of the half sizes (200).
  // Wide at a quarter turn: (X -/+ cos 90 * 200, Y -/+ sin 90 * 200).
  EXPECT_EQ(Pad->GetXOnLayer(5), 1000);
  EXPECT_EQ(Pad->GetYOnLayer(5), 1800);
  EXPECT_EQ(Pad->GetY2OnLayer(5), 2200);
  // Tall at a quarter turn: V = 0, so (X -/+ 200, Y).
  EXPECT_EQ(Pad->GetXOnLayer(6), 800);
  EXPECT_EQ(Pad->GetX2OnLayer(6), 1200);
  EXPECT_EQ(Pad->GetYOnLayer(6), 2000);
  // Round: the centre.
  EXPECT_EQ(Pad->GetXOnLayer(7), 1000);
  EXPECT_EQ(Pad->GetY2OnLayer(7), 2000);
  // Wide at 30 degrees: (1000 - 173.2, 2000 - 100).
  Pad->Rotation = 30;
  EXPECT_EQ(Pad->GetXOnLayer(5), 827);
  EXPECT_EQ(Pad->GetYOnLayer(5), 1900);
  EXPECT_EQ(Pad->GetX2OnLayer(5), 1173);
}

TEST_F(PcbPadStack, ViaAnswersEveryLayerFromTheEditor) {
  const Integer H = NewObjectHandle(eViaObject);
  TOwned<TPcbVia> Via(NewObject<TPcbVia>(H));
  Via->Exchange(ExchangeRead);
  Via->Size = 500;
  Via->Layer = 74;
  Via->Exchange(ExchangeWrite);
  EXPECT_EQ(Via->GetSizeOnLayer(2), 500);  // the stand-in's via spans the signal layers
  EXPECT_EQ(Via->GetShapeOnLayer(2), 1);
  EXPECT_EQ(Via->GetSizeOnLayer(33), 0);
  EXPECT_EQ(Via->GetSizeOnLayer(0), 0);  // refused: 0
}

// --- Object classes ---

using PcbObjectClassMembers = PcbEditorTest;

TEST_F(PcbObjectClassMembers, WriteReplacesAndReadReplacesTheList) {
  const Integer H = NewObjectHandle(eClassObject);
  TOwned<TPCBObjectClass> Writer(NewObject<TPCBObjectClass>(H));
  Writer->Members->Add("R1");
  Writer->Members->Add("C7");
  Writer->Members->Add("U3");
  PcbApi_AddMemberToClass(H, "old");
  EXPECT_EQ(Writer->Exchange(ExchangeWrite), 0);

  TOwned<TPCBObjectClass> Reader(NewObject<TPCBObjectClass>(H));
  StartLog();
  EXPECT_EQ(Reader->Exchange(ExchangeRead), 1);  // the status past the last member
  EXPECT_EQ(CallsTo(StopLog(), "PcbApi_GetMemberFromClassAt").size(), 4u);
  EXPECT_EQ(Reader->Members->CommaText(), "R1,C7,U3");
  // A second read lists each member once.
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Members->CommaText(), "R1,C7,U3");

  // Mode 2 writes too; an empty list removes every member.
  Writer->Members->Clear();
  StartLog();
  EXPECT_EQ(Writer->Exchange(ExchangeWriteAlt), 0);
  EXPECT_EQ(CallNames(StopLog()).back(), "PcbApi_RemoveAllMembersFromClass");
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Members->Count(), 0);
  // The removal's status is the result: on a handle that is no class it is 1.
  TOwned<TPCBObjectClass> OnTrack(NewObject<TPCBObjectClass>(NewObjectHandle(eTrackObject)));
  EXPECT_EQ(OnTrack->Exchange(ExchangeWrite), 1);
}

// --- Dimension lists ---

using PcbDimensionLists = PcbEditorTest;

TEST_F(PcbDimensionLists, ReferencesAndTextLocationsFollowTheEditorsCounts) {
  const Integer H = NewDimensionHandle(eBaselineDimension);
  for (int I = 0; I < 3; ++I) {
    ASSERT_EQ(PcbApi_References_Add(H, 10 + I, 20 + I, 30 + I, 40 + I), 0);
    ASSERT_EQ(PcbApi_TextLocations_Add(H, 100 + I, 200 + I), 0);
  }
  TOwned<TPCBBaselineDimension> Writer(NewObject<TPCBBaselineDimension>(H));
  EXPECT_EQ(Writer->Exchange(ExchangeRead), 0);
  ASSERT_EQ(Writer->ReferenceCount, 3);
  ASSERT_EQ(Writer->TextLocationCount, 3);
  EXPECT_EQ(Writer->References[2].RefValue1, 12);
  EXPECT_EQ(Writer->References[2].RefValue4, 42);
  EXPECT_EQ(Writer->TextLocations[1].Y, 201);

  // A write sends the entries the editor holds, with the copy's values.
  Writer->References[1].RefValue3 = -5;
  Writer->TextLocations[2].X = -6;
  Writer->BaselineValue = 1234.5678125;
  Writer->ReferenceCount = 0;  // the editor's count decides
  StartLog();
  EXPECT_EQ(Writer->Exchange(ExchangeWrite), 0);
  const std::vector<std::string> Written = StopLog();
  EXPECT_EQ(CallsTo(Written, "PcbApi_References_At").size(), 3u);
  EXPECT_EQ(CallsTo(Written, "PcbApi_TextLocations_At").back(),
            Call("PcbApi_TextLocations_At", 0, H, 2));
  TOwned<TPCBBaselineDimension> Reader(NewObject<TPCBBaselineDimension>(H));
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->References[1].RefValue3, -5);
  EXPECT_EQ(Reader->TextLocations[2].X, -6);
  EXPECT_EQ(Reader->BaselineValue, 1234.5678125);
}

// --- Polygons ---

using PcbPolygonSegments = PcbEditorTest;

TEST_F(PcbPolygonSegments, TheWholeArrayTravelsEveryTime) {
  const Integer H = NewObjectHandle(ePolygonObject);
  TOwned<TPcbPolygon> Writer(NewObject<TPcbPolygon>(H));
  Writer->SegmentCount = PolySegmentCapacity - 1;  // records 0..500: every one in use
  for (int I = 0; I < PolySegmentCapacity; ++I) {
    TPolySegment& S = Writer->Segments[I];
    S.Kind = Byte(I % 2);
    S.X = I;
    S.Y = -I;
    S.CX = 3 * I;
    S.CY = 5 * I;
    S.Radius = 7 * I;
    S.StartAngle = I + 0.5;
    S.EndAngle = I + 0.25;
  }
  EXPECT_EQ(Writer->Exchange(ExchangeWrite), 0);
  TOwned<TPcbPolygon> Reader(NewObject<TPcbPolygon>(H));
  EXPECT_EQ(Reader->Exchange(ExchangeRead), 0);
  EXPECT_EQ(Reader->SegmentCount, PolySegmentCapacity - 1);
  EXPECT_EQ(std::memcmp(Reader->Segments, Writer->Segments, sizeof(TPolySegments)), 0);
  EXPECT_EQ(Reader->Segments[500].EndAngle, 500.25);
}
