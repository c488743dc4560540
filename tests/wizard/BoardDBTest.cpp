#include <gtest/gtest.h>

#include <vector>

#include "classlib/Objects.h"
#include "wizard/BoardDB.h"

namespace {

std::vector<int> UsedLayers(const TBoardInfoFromUser& Info) {
  std::vector<int> Result;
  for (int Layer = 0; Layer < LayerCount; ++Layer)
    if (Info.GetLayerUsed(TLayer(Layer))) Result.push_back(Layer);
  return Result;
}

std::vector<int> Range(int First, int Last) {
  std::vector<int> Result;
  for (int I = First; I <= Last; ++I) Result.push_back(I);
  return Result;
}

}  // namespace

TEST(BoardInfoDefaults, LengthsAreHostUnitsOfTheDocumentedMils) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  EXPECT_EQ(Info->BoundaryTrackWidth, 100000);
  EXPECT_EQ(Info->DimensionLineWidth, 100000);
  EXPECT_EQ(Info->KeepOutDistance, 500000);
  EXPECT_EQ(Info->BoardWidth, 50000000);
  EXPECT_EQ(Info->BoardHeight, 40000000);
  EXPECT_EQ(Info->MinTrackSize, 80000);
  EXPECT_EQ(Info->MinViaWidth, 400000);
  EXPECT_EQ(Info->MinViaHoleSize, 250000);
  EXPECT_EQ(Info->MinClearance, 80000);
  EXPECT_TRUE(Info->IsCustom);
  EXPECT_EQ(Info->Units, eImperial);
  EXPECT_EQ(Info->ViaStyle, vsThruHole);
  EXPECT_TRUE(Info->TemplateFileName.empty());
  EXPECT_TRUE(UsedLayers(*Info).empty());
}

TEST(BoardInfoRadius, IsHalfTheLargerSideAndOnlyACircleTakesOne) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  EXPECT_EQ(Info->GetRadius(), 25000000);
  Info->BoardHeight = 60000001;
  EXPECT_EQ(Info->GetRadius(), 30000000);

  for (Byte Shape : {osRectangular, osCustom}) {
    Info->OutlineShape = Shape;
    Info->SetCircleRadius(1000);
    EXPECT_EQ(Info->BoardWidth, 50000000);
  }
  Info->OutlineShape = osCircular;
  Info->SetCircleRadius(12345);
  EXPECT_EQ(Info->BoardWidth, 24690);
  EXPECT_EQ(Info->BoardHeight, 24690);
}

TEST(BoardInfoGrid, SurfaceMountUsesFiveMilElseTheTechnologyGrid) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  for (Byte Technology : {0, 1, 2}) {
    Info->RouteTechnology = Technology;
    EXPECT_EQ(Info->GetGridValue(), 50000);
  }
  Info->SurfaceMount = false;
  const Integer Expected[3] = {250000, 200000, 166000};
  for (Byte Technology : {0, 1, 2}) {
    Info->RouteTechnology = Technology;
    EXPECT_EQ(Info->GetGridValue(), Expected[Technology]);
  }
}

TEST(BoardInfoLayers, DefaultsMarkTheAlwaysUsedLayersTopPasteAndTwoPlanes) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  Info->MarkUsedLayers();
  std::vector<int> Expected = {1, 32, 33, 35, 37, 39, 40, 56};
  for (int Layer = 57; Layer <= 75; ++Layer) Expected.push_back(Layer);
  Expected.push_back(79);
  Expected.push_back(80);
  EXPECT_EQ(UsedLayers(*Info), Expected);
  EXPECT_EQ(Expected.size(), 29u);
}

TEST(BoardInfoLayers, CountsMarkMidLayersAndPlanesWithinTheirRanges) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  Info->SignalLayers = 32;
  Info->PowerPlanes = 16;
  Info->MarkUsedLayers();
  for (int Layer : Range(2, 31)) EXPECT_TRUE(Info->GetLayerUsed(TLayer(Layer))) << Layer;
  for (int Layer : Range(39, 54)) EXPECT_TRUE(Info->GetLayerUsed(TLayer(Layer))) << Layer;

  TOwned<TBoardInfoFromUser> Four(NewObject<TBoardInfoFromUser>());
  Four->SignalLayers = 4;
  Four->PowerPlanes = 0;
  Four->MarkUsedLayers();
  EXPECT_TRUE(Four->GetLayerUsed(2));
  EXPECT_TRUE(Four->GetLayerUsed(3));
  EXPECT_FALSE(Four->GetLayerUsed(4));
  EXPECT_FALSE(Four->GetLayerUsed(39));

  // Counts past the layer ranges never spill into the planes or past them.
  TOwned<TBoardInfoFromUser> Many(NewObject<TBoardInfoFromUser>());
  Many->SignalLayers = 60;
  Many->PowerPlanes = 30;
  Many->MarkUsedLayers();
  EXPECT_FALSE(Many->GetLayerUsed(55));
  EXPECT_FALSE(Many->GetLayerUsed(34));
}

TEST(BoardInfoLayers, BothSidesAddBottomSolderOverlayAndPasteAndNothingIsCleared) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  Info->BothSides = true;
  Info->SetLayerUsed(81, true);
  Info->MarkUsedLayers();
  EXPECT_TRUE(Info->GetLayerUsed(38));
  EXPECT_TRUE(Info->GetLayerUsed(34));
  EXPECT_TRUE(Info->GetLayerUsed(36));
  EXPECT_TRUE(Info->GetLayerUsed(81));

  TOwned<TBoardInfoFromUser> ThroughHole(NewObject<TBoardInfoFromUser>());
  ThroughHole->BothSides = true;
  ThroughHole->SurfaceMount = false;
  ThroughHole->MarkUsedLayers();
  EXPECT_TRUE(ThroughHole->GetLayerUsed(34));
  EXPECT_FALSE(ThroughHole->GetLayerUsed(35));
  EXPECT_FALSE(ThroughHole->GetLayerUsed(36));
}
