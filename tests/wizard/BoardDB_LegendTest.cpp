// The board maker's legend texts and dimension lines, read back from the board it
// built: the texts beside the board, the two baseline dimensions of a rectangular board
// with their references to the keep-out tracks and their text locations, and the
// diameter dimension of a circular board.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/wizard/BoardReadBack.h"

namespace {

constexpr TLayer KeepOutLayer = 56;
constexpr TLayer DrillDrawingLayer = 73;
constexpr TLayer Mechanical1 = 57;

using TRefs = std::vector<std::pair<Integer, Integer>>;

// (object handle, anchor) pairs from a flat list.
TRefs Refs(std::initializer_list<Integer> Values) {
  TRefs Result;
  for (auto V = Values.begin(); V + 1 < Values.end(); V += 2)
    Result.push_back({V[0], V[1]});
  return Result;
}

}  // namespace

using LegendTextTest = BoardReadBackTest;

// 200 mil right of the board, from its origin: (2000, 3000) mil with the title block,
// (2000, 2000) mil with the scale only.
TEST_F(LegendTextTest, TwoTextsRightOfTheBoardOnTheDrillDrawingOrNone) {
  std::vector<TReadText> Texts = this->Texts(Build(), DrillDrawingLayer);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Text, ".LEGEND");
  EXPECT_EQ(Texts[0].Point, MilXY(7200, 3200));
  EXPECT_EQ(Texts[1].Text, "Drill Drawing.");
  EXPECT_EQ(Texts[1].Point, MilXY(7200, 3100));

  Info->TitleBlock = false;
  Info->BoardWidth = Mils(3000);
  Info->TemplateFileName.clear();
  Texts = this->Texts(Build(), DrillDrawingLayer);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Point, MilXY(5200, 2200));
  EXPECT_EQ(Texts[1].Point, MilXY(5200, 2100));

  Info->LegendString = false;
  Info->TemplateFileName.clear();
  EXPECT_TRUE(this->Texts(Build(), DrillDrawingLayer).empty());
}

using BaselineDimensionTest = BoardReadBackTest;

TEST_F(BaselineDimensionTest, PlainRectangleMeasuresTheKeepOutEnds) {
  Info->DimensionLayer = Mechanical1;
  Info->DimensionLineWidth = Mils(7);
  const Integer Board = Build();

  const std::vector<TReadTrack> KeepOut = Tracks(Board, KeepOutLayer);
  ASSERT_EQ(KeepOut.size(), 4u);  // bottom, right, top, left
  const Integer BottomTrack = KeepOut[0].Handle;
  const Integer LeftTrack = KeepOut[3].Handle;

  const std::vector<TReadDimension> Dims = Dimensions(Board);
  ASSERT_EQ(Dims.size(), 2u);
  for (const TReadDimension& D : Dims) {
    EXPECT_EQ(D.Kind, eBaselineDimension);
    EXPECT_EQ(D.Layer, Mechanical1);
    EXPECT_EQ(D.LineWidth, Mils(7));
    EXPECT_EQ(D.UnitText, " (mil)");
  }
  // Along X: the bottom track's start and end (the top track's ends share their X and
  // lie higher); the text one step down and left of (2000, 2880) mil.
  EXPECT_EQ(Dims[0].References, Refs({BottomTrack, 1, BottomTrack, 2}));
  EXPECT_EQ(Dims[0].TextLocations, MilPoints({1850, 2730}));
  EXPECT_EQ(Dims[0].Angle, 0);
  // Along Y: the left track's end (lowest Y) and start, the text from (1750, 3000) mil.
  EXPECT_EQ(Dims[1].References, Refs({LeftTrack, 2, LeftTrack, 1}));
  EXPECT_EQ(Dims[1].TextLocations, MilPoints({1600, 2850}));
  EXPECT_EQ(Dims[1].Angle, 90);
}

// The board of the outline tests with notches (UL 300 x 200, LL 400 x 100, UR 250 x 350,
// LR 150 x 450 mil) and a cut-out of 800 x 600 mil at (1000, 1500) mil: every distinct X
// (and Y) of the dimensioned tracks once, at its lowest Y (X), in order.
TEST_F(BaselineDimensionTest, NotchesAndCutOutAddTheirPositions) {
  Info->DimensionLayer = Mechanical1;
  Info->CornerCutoff = true;
  Info->CornerCut[bcUpperLeft] = {Mils(300), Mils(200)};
  Info->CornerCut[bcLowerLeft] = {Mils(400), Mils(100)};
  Info->CornerCut[bcUpperRight] = {Mils(250), Mils(350)};
  Info->CornerCut[bcLowerRight] = {Mils(150), Mils(450)};
  Info->InnerCutoff = true;
  Info->InnerCutOffset = {Mils(1000), Mils(1500)};
  Info->InnerCutSize = {Mils(800), Mils(600)};
  const Integer Board = Build();

  // Cut-out bottom, right, top, left (0..3), then keep-out tracks K0..K11 (4..15).
  const std::vector<TReadTrack> KeepOut = Tracks(Board, KeepOutLayer);
  ASSERT_EQ(KeepOut.size(), 20u);
  const auto CutOut = [&](int I) { return KeepOut[I].Handle; };
  const auto K = [&](int I) { return KeepOut[4 + I].Handle; };

  const std::vector<TReadDimension> Dims = Dimensions(Board);
  ASSERT_EQ(Dims.size(), 2u);
  // X: 2050 (K0 start), 2350 (K10 start), 2450 (K2 start), 3000 (cut-out bottom start),
  // 3800 (its end), 6700 (K6 end), 6800 (K2 end), 6950 (K4 end).
  EXPECT_EQ(Dims[0].References, Refs({K(0), 1, K(10), 1, K(2), 1, CutOut(0), 1, CutOut(0),
                                      2, K(6), 2, K(2), 2, K(4), 2}));
  EXPECT_EQ(Dims[0].TextLocations, MilPoints({1850, 2730, 1700, 2580, 1550, 2430, 1400,
                                              2280, 1250, 2130, 1100, 1980, 950, 1830}));
  // Y: 3050 (K1 end), 3150 (K11 end), 3500 (K3 end), 4500 (cut-out left end), 5100
  // (its start), 6600 (K7 start), 6750 (K11 start), 6950 (K9 start).
  EXPECT_EQ(Dims[1].References, Refs({K(1), 2, K(11), 2, K(3), 2, CutOut(3), 2, CutOut(3),
                                      1, K(7), 1, K(11), 1, K(9), 1}));
  EXPECT_EQ(Dims[1].TextLocations, MilPoints({1600, 2850, 1450, 2700, 1300, 2550, 1150,
                                              2400, 1000, 2250, 850, 2100, 700, 1950}));
}

TEST_F(BaselineDimensionTest, ReferencesReachTheEditorThroughItsAddCallsInMetricToo) {
  Info->DimensionLayer = Mechanical1;
  Info->Units = eMetric;
  std::string Error;
  ASSERT_TRUE(Host->LoadEditor(Error)) << Error;  // for the call log
  Integer Board = 0;
  const std::vector<std::string> Log = Logged([&] { Board = Build(); });
  // Two references and one text location for each of the two dimensions.
  EXPECT_EQ(Starting(Log, "PcbApi_References_Add ").size(), 4u);
  EXPECT_EQ(Starting(Log, "PcbApi_TextLocations_Add ").size(), 2u);
  const std::vector<TReadDimension> Dims = Dimensions(Board);
  ASSERT_EQ(Dims.size(), 2u);
  EXPECT_EQ(Dims[0].UnitText, " (mm)");
  EXPECT_EQ(Dims[1].UnitText, " (mm)");
}

using DimensionChoiceTest = BoardReadBackTest;

TEST_F(DimensionChoiceTest, NoDimensionWithoutALayerForACustomShapeOrWhenNotWanted) {
  EXPECT_TRUE(Dimensions(Build()).empty());  // DimensionLayer 0 ("None")

  Info->DimensionLayer = Mechanical1;
  Info->OutlineShape = osCustom;
  Info->TemplateFileName.clear();
  EXPECT_TRUE(Dimensions(Build()).empty());

  Info->OutlineShape = osRectangular;
  Info->DimensionLines = false;
  Info->TemplateFileName.clear();
  EXPECT_TRUE(Dimensions(Build()).empty());
}

TEST_F(DimensionChoiceTest, CircularBoardGetsOneDiameterOnItsKeepOutArc) {
  Info->DimensionLayer = 58;
  Info->DimensionLineWidth = Mils(6);
  Info->Units = eMetric;
  Info->OutlineShape = osCircular;
  const Integer Board = Build();

  const std::vector<TReadArc> KeepOut = Arcs(Board, KeepOutLayer);
  ASSERT_EQ(KeepOut.size(), 1u);
  const std::vector<TReadDimension> Dims = Dimensions(Board);
  ASSERT_EQ(Dims.size(), 1u);
  EXPECT_EQ(Dims[0].Kind, eLinearDiameterDimension);
  EXPECT_EQ(Dims[0].Layer, 58);
  EXPECT_EQ(Dims[0].LineWidth, Mils(6));
  EXPECT_EQ(Dims[0].Position, Mils(3000 - 120));
  EXPECT_EQ(Dims[0].References, Refs({KeepOut[0].Handle, 1, KeepOut[0].Handle, 5}));
  EXPECT_EQ(Dims[0].UnitText, "");  // not set for a diameter
}
