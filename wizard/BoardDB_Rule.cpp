// The rule for what makes a board. Every sum of coordinates is taken in 64 bits (or in
// double for the arcs' circles), so an answer near the ends of the 32-bit range is
// refused, never wrapped.
#include "wizard/BoardDB_Rule.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "classlib/Format.h"
#include "classlib/FormatSettings.h"

namespace {

// Where a custom board's lower-left corner goes on the sheet: 2,000 mil in from the
// sheet's left edge, and 2,000 mil up when only the scale is shown, 3,000 mil otherwise.
constexpr double OriginMils = 2000;
constexpr double TitledOriginYMils = 3000;

const char* const SideNames[4] = {"left", "top", "right", "bottom"};
const char* const CornerNames[4] = {"upper-left", "lower-left", "upper-right",
                                    "lower-right"};

// The two sides that meet along each axis: (left, right) across the width, (top,
// bottom) across the height.
constexpr TBoardSide WidthSides[2] = {bsLeft, bsRight};
constexpr TBoardSide HeightSides[2] = {bsTop, bsBottom};

// How a limit is rounded to the unit's precision: toward the side the answer must keep
// to, so that the limit shown, typed in, is accepted.
enum TRounding { rdDown, rdUp };

// Steps of the shown precision per host unit (10,000 a mil).
double StepsPerCoord(TUnit Units) {
  return Units == eMetric ? 0.0254 / 10000 * 10 : 1.0 / 10000;
}

// Whether a length lies within one host unit of a step of the shown precision (a
// millimetre length is held to the nearest host unit); Step is that step, in host units.
bool OnAStep(double Coord, TUnit Units, double& Step) {
  const double Steps = Coord * StepsPerCoord(Units);
  Step = std::round(Steps) / StepsPerCoord(Units);
  return std::abs(Steps - std::round(Steps)) <= StepsPerCoord(Units);
}

// A length in the record's unit, as the coordinate edit shows it: whole mils, or tenths
// of a millimetre.
AnsiString FormatLength(double Coord, TUnit Units, TRounding Rounding) {
  const bool Metric = Units == eMetric;
  const double Steps = Coord * StepsPerCoord(Units);
  const double Rounded =
      Rounding == rdDown ? std::floor(Steps + 1e-9) : std::ceil(Steps - 1e-9);
  static const TFormatSettings Settings = [] {
    TFormatSettings S;
    S.DecimalSeparator = '.';
    S.ThousandSeparator = ',';
    return S;
  }();
  return FormatArgs(
      "%.*f %s", {Metric ? 1 : 0, Metric ? Rounded / 10 : Rounded, Metric ? "mm" : "mil"},
      Settings);
}

AnsiString Capitalized(AnsiString Text) {
  if (!Text.empty())
    Text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(Text[0])));
  return Text;
}

TBoardFault Fault(TBoardField Field, const AnsiString& Rest) {
  return TBoardFault{Field, Capitalized(BoardFieldName(Field)) + " must be " + Rest + "."};
}

TBoardFault MustExceedZero(TBoardField Field, TUnit Units) {
  return Fault(Field, "greater than " + FormatLength(0, Units, rdDown));
}

TBoardFault MustNotBeNegative(TBoardField Field, TUnit Units) {
  return Fault(Field, FormatLength(0, Units, rdDown) + " or more");
}

TBoardFault MustBeAtMost(TBoardField Field, double Limit, TUnit Units,
                         const AnsiString& Why) {
  return Fault(Field, "at most " + FormatLength(Limit, Units, rdDown) + Why);
}

TBoardFault MustBeLessThan(TBoardField Field, double Limit, TUnit Units,
                           const AnsiString& Why) {
  // A limit between two shown steps is given as the largest answer taken: half of 5 mil
  // is "at most 2 mil", never "less than 2 mil", and half of 1 mil never "less than 0".
  double Step = 0;
  if (!OnAStep(Limit, Units, Step)) return MustBeAtMost(Field, Limit, Units, Why);
  return Fault(Field, "less than " + FormatLength(Step, Units, rdDown) + Why);
}

const char* const RangeReason =
    " for the board to stay within the PCB editor's coordinates";

// Whether the build makes dimension lines, which are drawn DimensionLineWidth wide.
bool MakesDimensionLines(const TBoardInfoFromUser& Info) {
  return Info.DimensionLines && Info.DimensionLayer != 0 && Info.OutlineShape != osCustom;
}

bool IsRectangular(const TBoardInfoFromUser& Info) {
  return Info.IsCustom && Info.OutlineShape == osRectangular;
}

TBoardFault CheckDetails(const TBoardInfoFromUser& Info) {
  if (!Info.IsCustom) return {};
  const TUnit U = Info.Units;
  const bool Circle = Info.OutlineShape == osCircular;
  const Int64 W = Info.BoardWidth;
  const Int64 H = Info.BoardHeight;
  const TPoint Origin = BoardOrigin(Info);
  const Int64 D = Info.KeepOutDistance;

  if (Circle) {
    if (Info.GetRadius() <= 0) return MustExceedZero({bfRadius}, U);
  } else {
    if (W <= 0) return MustExceedZero({bfBoardWidth}, U);
    if (H <= 0) return MustExceedZero({bfBoardHeight}, U);
  }
  if (D < 0) return MustNotBeNegative({bfKeepOutDistance}, U);
  if (Circle) {
    const Int64 R = Info.GetRadius();
    if (D >= R)
      return MustBeLessThan({bfKeepOutDistance}, double(R), U, ", the board's radius");
  } else if (2 * D >= std::min(W, H)) {
    return MustBeLessThan({bfKeepOutDistance}, std::min(W, H) / 2.0, U,
                          ", half the board's smaller side");
  }

  // Beyond the board's far edges: the legend texts to the right, and the keep-out
  // around an inner cut-out, which lies inside the board. The keep-out is less than
  // half the board by now, so the room left for the board is never negative.
  const Int64 AroundCut = IsRectangular(Info) && Info.InnerCutoff ? D : 0;
  const Int64 ExtraX =
      std::max<Int64>(Info.LegendString ? MilToCoord(LegendOffsetMils) : 0, AroundCut);
  const Int64 MaxWidth = MaxHostCoord - Origin.x - ExtraX;
  const Int64 MaxHeight = MaxHostCoord - Origin.y - AroundCut;
  if (Circle) {
    const Int64 MaxRadius = std::min(MaxWidth, MaxHeight) / 2;
    if (std::max(W, H) > 2 * MaxRadius)
      return MustBeAtMost({bfRadius}, double(MaxRadius), U, RangeReason);
  } else {
    if (W > MaxWidth) return MustBeAtMost({bfBoardWidth}, double(MaxWidth), U, RangeReason);
    if (H > MaxHeight)
      return MustBeAtMost({bfBoardHeight}, double(MaxHeight), U, RangeReason);
  }

  if (Info.BoundaryTrackWidth <= 0) return MustExceedZero({bfBoundaryTrackWidth}, U);
  if (MakesDimensionLines(Info) && Info.DimensionLineWidth <= 0)
    return MustExceedZero({bfDimensionLineWidth}, U);
  return {};
}

// The height of an arc side, 0 for a straight one.
Int64 ArcOf(const TBoardInfoFromUser& Info, int Side) {
  return Info.ArcSide[Side] ? Info.ArcHeight[Side] : 0;
}

TBoardFault CheckOutline(const TBoardInfoFromUser& Info) {
  if (!Info.IsCustom || Info.OutlineShape != osCustom) return {};
  const TUnit U = Info.Units;
  const Int64 W = Info.BoardWidth;
  const Int64 H = Info.BoardHeight;
  // The details come first; without a board there are no sides to measure.
  if (W <= 0 || H <= 0) return {};
  for (int Side = 0; Side < 4; ++Side)
    if (ArcOf(Info, Side) < 0) return MustNotBeNegative({bfArcHeight, Side}, U);

  // Two opposite arcs together stay narrower (or lower) than the board.
  const auto Opposite = [&](const TBoardSide(&Pair)[2], Int64 Across,
                            const char* Why) -> TBoardFault {
    const Int64 First = ArcOf(Info, Pair[0]);
    const Int64 Second = ArcOf(Info, Pair[1]);
    if (First >= Across)
      return MustBeLessThan({bfArcHeight, Pair[0]}, double(Across), U, Why);
    if (First + Second >= Across)
      return MustBeLessThan({bfArcHeight, Pair[1]}, double(Across - First), U, Why);
    return {};
  };
  TBoardFault F = Opposite(WidthSides, W,
                           ": the left and right arcs together must be narrower "
                           "than the board");
  if (!F.Ok()) return F;
  F = Opposite(HeightSides, H,
               ": the top and bottom arcs together must be lower than the "
               "board");
  if (!F.Ok()) return F;

  // An arc is at most a semicircle over the side between its corners: a higher one
  // bulges past those corners, out of the board and across its neighbouring sides.
  for (int Side = 0; Side < 4; ++Side) {
    const bool AlongX = Side == bsTop || Side == bsBottom;
    const Int64 Chord = AlongX ? W - ArcOf(Info, bsLeft) - ArcOf(Info, bsRight)
                               : H - ArcOf(Info, bsTop) - ArcOf(Info, bsBottom);
    if (2 * ArcOf(Info, Side) > Chord)
      return MustBeAtMost({bfArcHeight, Side}, Chord / 2.0, U,
                          ", half the side between its corners");
  }

  // The keep-out's straight parts run between the arcs' corners. An arc's circle is at
  // least as wide as its chord, so the keep-out's circles keep a positive radius too.
  const Int64 Between = std::min(W - ArcOf(Info, bsLeft) - ArcOf(Info, bsRight),
                                 H - ArcOf(Info, bsTop) - ArcOf(Info, bsBottom));
  if (2 * Int64(Info.KeepOutDistance) >= Between)
    return MustBeLessThan({bfKeepOutDistance}, Between / 2.0, U,
                          ", half the board's smaller side between its arcs' corners");

  // Each arc's circle: its centre lies its radius inside the outer edge the arc touches,
  // and both stay within the host's coordinates. A flatter arc has a larger circle.
  const TPoint Origin = BoardOrigin(Info);
  const double L0 = Origin.x, B0 = Origin.y, R0 = L0 + W, T0 = B0 + H;
  const double Max = double(MaxHostCoord);
  const double Min = -Max - 1;
  for (int Side = 0; Side < 4; ++Side) {
    const double Height = double(ArcOf(Info, Side));
    if (Height == 0) continue;
    const bool AlongX = Side == bsTop || Side == bsBottom;
    // Half the chord between the side's two corners.
    const double Chord = AlongX ? double(W - ArcOf(Info, bsLeft) - ArcOf(Info, bsRight))
                                : double(H - ArcOf(Info, bsTop) - ArcOf(Info, bsBottom));
    const double Half = Chord / 2;
    double Room = Max;
    switch (Side) {
      case bsLeft:
        Room = std::min(Room, Max - L0);
        break;
      case bsBottom:
        Room = std::min(Room, Max - B0);
        break;
      case bsRight:
        Room = std::min(Room, R0 - Min);
        break;
      default:
        Room = std::min(Room, T0 - Min);
        break;
    }
    const double Radius = (Half * Half + Height * Height) / (2 * Height);
    if (Radius <= Room) continue;
    // The smallest height whose circle fits: the lower root of h^2 - 2 Room h + Half^2.
    const double Least =
        Half * Half / (Room + std::sqrt(std::max(0.0, Room * Room - Half * Half)));
    return Fault({bfArcHeight, Side}, "0 or at least " + FormatLength(Least, U, rdUp) +
                                          RangeReason +
                                          " (a flatter arc has a larger circle)");
  }
  return {};
}

TBoardFault CheckCornerCuts(const TBoardInfoFromUser& Info) {
  if (!IsRectangular(Info) || !Info.CornerCutoff) return {};
  const TUnit U = Info.Units;
  const Int64 W = Info.BoardWidth;
  const Int64 H = Info.BoardHeight;
  if (W <= 0 || H <= 0) return {};
  const TPoint* C = Info.CornerCut;
  for (int Corner = 0; Corner < 4; ++Corner) {
    if (C[Corner].x < 0) return MustNotBeNegative({bfCornerCutWidth, Corner}, U);
    if (C[Corner].y < 0) return MustNotBeNegative({bfCornerCutHeight, Corner}, U);
  }

  // The cut-offs fit a board of W x H: two along one side, the first alone, then both
  // together, stay short of the side, and opposite corners do not meet across it.
  const auto Fit = [&](Int64 W, Int64 H, const AnsiString& Where) -> TBoardFault {
    const auto AlongSide = [&](TBoardFieldKind Kind, int First, int Second, Int64 Side,
                               const char* SideName) -> TBoardFault {
      const Int64 A = Kind == bfCornerCutWidth ? C[First].x : C[First].y;
      const Int64 B = Kind == bfCornerCutWidth ? C[Second].x : C[Second].y;
      if (A >= Side)
        return MustBeLessThan({Kind, First}, double(Side), U,
                              AnsiString(", the board's ") + SideName + Where);
      if (A + B >= Side)
        return MustBeLessThan({Kind, Second}, double(Side - A), U,
                              AnsiString(" so that it does not meet the ") +
                                  CornerNames[First] + " cut-off" + Where);
      return {};
    };
    const TBoardFault Sides[4] = {
        AlongSide(bfCornerCutWidth, bcUpperLeft, bcUpperRight, W, "width"),
        AlongSide(bfCornerCutWidth, bcLowerLeft, bcLowerRight, W, "width"),
        AlongSide(bfCornerCutHeight, bcUpperLeft, bcLowerLeft, H, "height"),
        AlongSide(bfCornerCutHeight, bcUpperRight, bcLowerRight, H, "height")};
    for (const TBoardFault& F : Sides)
      if (!F.Ok()) return F;

    // Opposite corners meet across the board when they overlap both ways.
    const auto Across = [&](int First, int Second) -> TBoardFault {
      if (Int64(C[First].x) + C[Second].x < W || Int64(C[First].y) + C[Second].y < H)
        return {};
      return MustBeLessThan({bfCornerCutWidth, Second}, double(W - C[First].x), U,
                            AnsiString(" so that it does not meet the ") +
                                CornerNames[First] + " cut-off across the board" + Where);
    };
    TBoardFault F = Across(bcUpperLeft, bcLowerRight);
    if (F.Ok()) F = Across(bcLowerLeft, bcUpperRight);
    return F;
  };
  TBoardFault F = Fit(W, H, "");
  // The keep-out runs the keep out distance inside the edge with notches of the same
  // size, so they must fit the board less the distance on each side too. The details
  // keep the distance below half the smaller side.
  const Int64 D = Info.KeepOutDistance;
  if (F.Ok() && D > 0 && 2 * D < std::min(W, H))
    F = Fit(W - 2 * D, H - 2 * D, " inside the keep-out");
  return F;
}

TBoardFault CheckInnerCutPart(const TBoardInfoFromUser& Info) {
  if (!IsRectangular(Info) || !Info.InnerCutoff) return {};
  // A cut-out of 0 x 0 is none: the build leaves it out.
  if (Info.InnerCutSize.x == 0 && Info.InnerCutSize.y == 0) return {};
  return CheckInnerCut(Info.BoardWidth, Info.BoardHeight, Info.CornerCut,
                       Info.InnerCutOffset, Info.InnerCutSize, Info.Units);
}

TBoardFault CheckTrackVia(const TBoardInfoFromUser& Info) {
  const TUnit U = Info.Units;
  if (Info.MinTrackSize <= 0) return MustExceedZero({bfMinTrackSize}, U);
  if (Info.MinViaWidth <= 0) return MustExceedZero({bfMinViaWidth}, U);
  if (Info.MinViaHoleSize <= 0) return MustExceedZero({bfMinViaHoleSize}, U);
  if (Info.MinClearance <= 0) return MustExceedZero({bfMinClearance}, U);
  // A via is a ring around its hole.
  if (Info.MinViaHoleSize >= Info.MinViaWidth)
    return MustBeLessThan({bfMinViaHoleSize}, double(Info.MinViaWidth), U,
                          ", the minimum via width");
  return {};
}

// A rectangle in host coordinates, in 64 bits: sums of two lengths stay exact.
struct TArea {
  Int64 X1, Y1, X2, Y2;

  TArea Grown(Int64 By) const { return {X1 - By, Y1 - By, X2 + By, Y2 + By}; }
  bool Overlaps(const TArea& Other) const {
    return std::max(X1, Other.X1) < std::min(X2, Other.X2) &&
           std::max(Y1, Other.Y1) < std::min(Y2, Other.Y2);
  }
};

}  // namespace

TPoint BoardOrigin(const TBoardInfoFromUser& Info) {
  const double Y = Info.Scale && !Info.TitleBlock ? OriginMils : TitledOriginYMils;
  return TPoint{MilToCoord(OriginMils), MilToCoord(Y)};
}

AnsiString BoardFieldName(TBoardField Field) {
  const int I = std::clamp(Field.Index, 0, 3);
  switch (Field.Kind) {
    case bfBoardWidth:
      return "the board's width";
    case bfBoardHeight:
      return "the board's height";
    case bfRadius:
      return "the board's radius";
    case bfBoundaryTrackWidth:
      return "the boundary track width";
    case bfDimensionLineWidth:
      return "the dimension line width";
    case bfKeepOutDistance:
      return "the keep out distance from the board edge";
    case bfArcHeight:
      return AnsiString("the ") + SideNames[I] + " arc's height";
    case bfCornerCutWidth:
      return AnsiString("the ") + CornerNames[I] + " cut-off's width";
    case bfCornerCutHeight:
      return AnsiString("the ") + CornerNames[I] + " cut-off's height";
    case bfInnerCutXDistance:
      return "the inner cut-out's distance from the left edge";
    case bfInnerCutYDistance:
      return "the inner cut-out's distance from the bottom edge";
    case bfInnerCutWidth:
      return "the inner cut-out's width";
    case bfInnerCutHeight:
      return "the inner cut-out's height";
    case bfMinTrackSize:
      return "the minimum track size";
    case bfMinViaWidth:
      return "the minimum via width";
    case bfMinViaHoleSize:
      return "the minimum via hole size";
    case bfMinClearance:
      return "the minimum clearance";
    default:
      return AnsiString();
  }
}

TBoardFault CheckBoardPart(const TBoardInfoFromUser& Info, TBoardPart Part) {
  switch (Part) {
    case bpDetails:
      return CheckDetails(Info);
    case bpOutline:
      return CheckOutline(Info);
    case bpCornerCuts:
      return CheckCornerCuts(Info);
    case bpInnerCut:
      return CheckInnerCutPart(Info);
    case bpTrackVia:
      return CheckTrackVia(Info);
  }
  return {};
}

TBoardFault CheckBoard(const TBoardInfoFromUser& Info) {
  for (TBoardPart Part : {bpDetails, bpOutline, bpCornerCuts, bpInnerCut, bpTrackVia}) {
    TBoardFault F = CheckBoardPart(Info, Part);
    if (!F.Ok()) return F;
  }
  return {};
}

TBoardFault CheckInnerCut(Integer W, Integer H, const TPoint Cuts[4], TPoint Offset,
                          TPoint Size, TUnit Units) {
  if (W <= 0) return MustExceedZero({bfBoardWidth}, Units);
  if (H <= 0) return MustExceedZero({bfBoardHeight}, Units);
  if (Size.x < 0) return MustNotBeNegative({bfInnerCutWidth}, Units);
  if (Size.y < 0) return MustNotBeNegative({bfInnerCutHeight}, Units);

  const Int64 X = Offset.x, Y = Offset.y;
  const TArea Cut = TArea{X, Y, X + Size.x, Y + Size.y}.Grown(1);
  const TArea Board = TArea{0, 0, W, H}.Grown(-1);
  const char* const Inside = " for the cut-out to lie inside the board";
  if (Cut.X1 < Board.X1) return MustExceedZero({bfInnerCutXDistance}, Units);
  if (Cut.Y1 < Board.Y1) return MustExceedZero({bfInnerCutYDistance}, Units);
  // Past the far edge: the size is at fault while some size fits at that place, else
  // the distance, unless the cut-out is as wide (or high) as the board itself.
  const auto PastFarEdge = [&](TBoardFieldKind SizeKind, TBoardFieldKind DistanceKind,
                               Int64 Across, Int64 Distance, Int64 Size) {
    if (Across - Distance > 0)
      return MustBeLessThan({SizeKind}, double(Across - Distance), Units, Inside);
    if (Size >= Across) return MustBeLessThan({SizeKind}, double(Across), Units, Inside);
    return MustBeLessThan({DistanceKind}, double(Across - Size), Units, Inside);
  };
  if (Cut.X2 > Board.X2)
    return PastFarEdge(bfInnerCutWidth, bfInnerCutXDistance, W, X, Size.x);
  if (Cut.Y2 > Board.Y2)
    return PastFarEdge(bfInnerCutHeight, bfInnerCutYDistance, H, Y, Size.y);

  const TPoint* C = Cuts;
  const TArea Notches[4] = {
      TArea{0, H - Int64(C[bcUpperLeft].y), C[bcUpperLeft].x, H}.Grown(1),
      TArea{0, 0, C[bcLowerLeft].x, C[bcLowerLeft].y}.Grown(1),
      TArea{W - Int64(C[bcUpperRight].x), H - Int64(C[bcUpperRight].y), W, H}.Grown(1),
      TArea{W - Int64(C[bcLowerRight].x), 0, W, C[bcLowerRight].y}.Grown(1)};
  for (int Corner = 0; Corner < 4; ++Corner)
    if (Cut.Overlaps(Notches[Corner]))
      return TBoardFault{{bfInnerCutXDistance},
                         AnsiString("The inner cut-out must stay clear of the ") +
                             CornerNames[Corner] + " cut-off: move it or make it smaller."};
  return {};
}
