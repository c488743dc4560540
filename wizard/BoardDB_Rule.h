// The one rule for what makes a board: which answers of the wizard record the board
// maker can build, used by the wizard dialog (Next checks the page being left, Finish
// every part) and by the maker before it opens a document. It checks only the fields
// the build will read, and answers with the first field that fails, why, and the limit
// in the record's units.
#pragma once

#include "classlib/SysTypes.h"
#include "classlib/Types.h"
#include "wizard/BoardDB.h"

// The largest host coordinate: every coordinate the build makes, the origin included,
// lies within -MaxHostCoord - 1 .. MaxHostCoord.
inline constexpr Int64 MaxHostCoord = 2147483647;

// The fields the rule names.
enum TBoardFieldKind {
  bfNoField,
  bfBoardWidth,
  bfBoardHeight,
  bfRadius,
  bfBoundaryTrackWidth,
  bfDimensionLineWidth,
  bfKeepOutDistance,
  bfArcHeight,        // Index: TBoardSide
  bfCornerCutWidth,   // Index: TBoardCorner
  bfCornerCutHeight,  // Index: TBoardCorner
  bfInnerCutXDistance,
  bfInnerCutYDistance,
  bfInnerCutWidth,
  bfInnerCutHeight,
  bfMinTrackSize,
  bfMinViaWidth,
  bfMinViaHoleSize,
  bfMinClearance
};

struct TBoardField {
  TBoardFieldKind Kind = bfNoField;
  int Index = 0;
  bool operator==(const TBoardField&) const = default;
};

// The parts of the record, in the order of the pages that ask for them.
enum TBoardPart { bpDetails, bpOutline, bpCornerCuts, bpInnerCut, bpTrackVia };

// The rule's answer: no field (Ok) or the field that fails, with the message that says
// which, why and the limit ("The board's width must be greater than 0 mil.").
struct TBoardFault {
  TBoardField Field;
  AnsiString Message;
  bool Ok() const { return Field.Kind == bfNoField; }
};

// The lower-left corner of a custom board on the sheet.
TPoint BoardOrigin(const TBoardInfoFromUser& Info);
// The legend texts stand this far right of the board (the build places them, the rule
// keeps them within range).
inline constexpr double LegendOffsetMils = 200;

// The field as its page labels it, starting lower-case ("the upper-left cut-off's
// width").
AnsiString BoardFieldName(TBoardField Field);

// One part of the rule; Ok when the build does not read the part.
TBoardFault CheckBoardPart(const TBoardInfoFromUser& Info, TBoardPart Part);
// Every part, in page order: the first fault.
TBoardFault CheckBoard(const TBoardInfoFromUser& Info);

// The inner cut-out check: the cut-out at Offset of Size (x wide, y high), grown by 1
// host unit, lies inside the board of W x H shrunk by 1 and meets none of the four
// corner notches Cuts grown by 1 (whether or not corner cut-offs were asked for). A
// board without width or height takes no cut-out, and no size is negative.
TBoardFault CheckInnerCut(Integer W, Integer H, const TPoint Cuts[4], TPoint Offset,
                          TPoint Size, TUnit Units);
