#include "wizard/BoardDB.h"

#include <algorithm>
#include <climits>

#include "classlib/SysTypes.h"

const double RouteTechnologyGrid[3] = {25.0, 20.0, 16.6};

const TLayer AlwaysUsedLayers[26] = {1,  56, 37, 33, 57, 58, 59, 60, 61, 62, 63, 64, 65,
                                     66, 67, 68, 69, 70, 71, 72, 74, 73, 75, 79, 80, 32};

TBoardInfoFromUser::TBoardInfoFromUser()
    : BoundaryTrackWidth(MilToCoord(10)),
      DimensionLineWidth(MilToCoord(10)),
      KeepOutDistance(MilToCoord(50)),
      BoardWidth(MilToCoord(5000)),
      BoardHeight(MilToCoord(4000)),
      MinTrackSize(MilToCoord(8)),
      MinViaWidth(MilToCoord(40)),
      MinViaHoleSize(MilToCoord(25)),
      MinClearance(MilToCoord(8)) {}

bool TBoardInfoFromUser::GetLayerUsed(TLayer Layer) const {
  return Layer < LayerCount && LayerUsed[Layer];
}

void TBoardInfoFromUser::SetLayerUsed(TLayer Layer, bool Value) {
  if (Layer < LayerCount) LayerUsed[Layer] = Value;
}

Integer TBoardInfoFromUser::GetRadius() const {
  return (BoardWidth > BoardHeight ? BoardWidth : BoardHeight) / 2;
}

void TBoardInfoFromUser::SetCircleRadius(Integer Radius) {
  if (OutlineShape != osCircular) return;
  // Doubled in 64 bits: a radius past half the coordinate range gives the largest
  // width, which the board rule refuses, never a wrapped negative one.
  BoardWidth = static_cast<Integer>(std::clamp<Int64>(2 * Int64(Radius), INT_MIN, INT_MAX));
  BoardHeight = BoardWidth;
}

Integer TBoardInfoFromUser::GetGridValue() const {
  if (SurfaceMount) return MilToCoord(5.0);
  const int Index = RouteTechnology < 3 ? RouteTechnology : 2;
  return MilToCoord(RouteTechnologyGrid[Index]);
}

void TBoardInfoFromUser::MarkUsedLayers() {
  for (TLayer Layer : AlwaysUsedLayers) SetLayerUsed(Layer, true);
  if (SurfaceMount) SetLayerUsed(35, true);
  // Mid layers 2..31 and internal planes 39..54 at most, whatever the counts say.
  const int LastMidLayer = SignalLayers - 1 < 31 ? SignalLayers - 1 : 31;
  for (int Layer = 2; Layer <= LastMidLayer; ++Layer) SetLayerUsed(TLayer(Layer), true);
  const int LastPlane = 38 + PowerPlanes < 54 ? 38 + PowerPlanes : 54;
  for (int Layer = 39; Layer <= LastPlane; ++Layer) SetLayerUsed(TLayer(Layer), true);
  if (BothSides) {
    SetLayerUsed(38, true);
    SetLayerUsed(34, true);
    if (SurfaceMount) SetLayerUsed(36, true);
  }
}
