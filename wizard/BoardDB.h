// The wizard record: every answer the wizard pages collect, with its default, and the
// values derived from them that the board maker reads.
#pragma once

#include "classlib/Objects.h"
#include "classlib/Types.h"
#include "pcb/Pcbtypes.h"

// Outline shapes of a custom board.
inline constexpr Byte osRectangular = 0;
inline constexpr Byte osCircular = 1;
inline constexpr Byte osCustom = 2;

// Via styles.
inline constexpr Byte vsNone = 0;
inline constexpr Byte vsBlindBuried = 1;
inline constexpr Byte vsThruHole = 2;

// Order of the four sides (ArcSide, ArcHeight) and of the four corners (CornerCut).
enum TBoardSide { bsLeft, bsTop, bsRight, bsBottom };
enum TBoardCorner { bcUpperLeft, bcLowerLeft, bcUpperRight, bcLowerRight };

// The routing grid in mils for each route technology (tracks between adjacent pads
// minus one).
extern const double RouteTechnologyGrid[3];
// The layers every new board uses, in the order they are marked.
extern const TLayer AlwaysUsedLayers[26];

class TBoardInfoFromUser : public TObject {
 public:
  TBoardInfoFromUser();

  bool IsCustom = true;
  TUnit Units = eImperial;
  TLayer DimensionLayer = 0;  // 0: "None"
  Integer BoundaryTrackWidth;
  Integer DimensionLineWidth;
  Integer KeepOutDistance;
  bool TitleBlock = true;
  bool Scale = true;
  bool LegendString = true;
  bool DimensionLines = true;
  Byte OutlineShape = osRectangular;
  Integer BoardWidth;
  Integer BoardHeight;
  bool ArcSide[4] = {};
  Integer ArcHeight[4] = {};
  bool CornerCutoff = false;
  bool InnerCutoff = false;
  TPoint CornerCut[4] = {};  // x: cut width, y: cut height
  TPoint InnerCutSize = {};  // x: width, y: height
  TPoint InnerCutOffset = {};
  Byte SignalLayers = 2;
  Byte PowerPlanes = 2;
  bool LayerUsed[LayerCount] = {};
  Byte ViaStyle = vsThruHole;
  Byte RouteTechnology = 1;
  bool SurfaceMount = true;
  bool BothSides = false;
  Integer MinTrackSize;
  Integer MinViaWidth;
  Integer MinViaHoleSize;
  Integer MinClearance;
  AnsiString TemplateFileName;
  bool OpenTemplate = false;

  bool GetLayerUsed(TLayer Layer) const;
  void SetLayerUsed(TLayer Layer, bool Value);
  // Half the larger of the board's width and height, rounded toward zero.
  Integer GetRadius() const;
  // For a circular outline: a square board of twice Radius, kept within the 32-bit
  // range. Otherwise nothing.
  void SetCircleRadius(Integer Radius);
  // The routing grid in host coordinates: 5 mil for surface-mount boards, else the
  // grid of the route technology.
  Integer GetGridValue() const;
  // Marks the layers the answers call for; never unmarks one.
  void MarkUsedLayers();
};
