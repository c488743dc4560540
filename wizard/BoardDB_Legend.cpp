// The board maker's legend texts beside a custom board and the dimension lines that
// measure it: two baseline dimensions to the ends of a rectangular board's keep-out
// tracks, or one diameter dimension on a circular board's keep-out arc.
#include <cstdint>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Lists.h"
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB_Maker.h"
#include "wizard/BoardDB_Rule.h"

namespace {

constexpr TLayer DrillDrawingLayer = 73;

// The steps, as the build's errors name them.
constexpr const char* LegendStep = "The legend texts could not be added";
constexpr const char* DimensionStep = "The dimension lines could not be added";

// One point a baseline dimension measures to: an end of a keep-out track.
struct TReferencePoint {
  Integer Handle = 0;
  Integer X = 0;
  Integer Y = 0;
  Integer Anchor = 0;  // 1: the track's start point, 2: its end point
};

int CompareValues(Integer A, Integer B) { return A > B ? 1 : A < B ? -1 : 0; }

// X first, then Y.
int ComparePointsXY(const TReferencePoint& A, const TReferencePoint& B) {
  const int ByX = CompareValues(A.X, B.X);
  return ByX != 0 ? ByX : CompareValues(A.Y, B.Y);
}

// Y first, then X.
int ComparePointsYX(const TReferencePoint& A, const TReferencePoint& B) {
  const int ByY = CompareValues(A.Y, B.Y);
  return ByY != 0 ? ByY : CompareValues(A.X, B.X);
}

Integer ItemHandle(void* Item) {
  return static_cast<Integer>(reinterpret_cast<std::intptr_t>(Item));
}

// Where the next dimension text goes; the dimensions of one board step it on.
struct TTextPosition {
  Integer X = 0;
  Integer Y = 0;
};

void AddText(TTarvik& Maker, Integer Offset, const AnsiString& Text) {
  TNewEditorObject Made(PcbApi_CreateObject(eTextObject), LegendStep, "create a text");
  TOwned<TPcbText> Legend(NewObject<TPcbText>(Made.Handle()));
  CheckEditorStatus(Legend->Exchange(ExchangeRead), LegendStep, "read a text");
  Legend->X = Maker.OriginX + Maker.BoardInfo->BoardWidth + MilToCoord(LegendOffsetMils);
  Legend->Y = Maker.OriginY + Offset;
  Legend->SetText(PcbString(Text));  // keeps at most 254 characters
  Legend->Layer = DrillDrawingLayer;
  CheckEditorStatus(Legend->Exchange(ExchangeWrite), LegendStep, "write a text");
  Made.AddTo(Maker.Board, LegendStep, "add a text to the board");
}

// Both ends of every track of KeepOuts, in list order, sorted by Compare; of the points
// that share the first sort key only the first stays (the one lowest in the second).
std::vector<TReferencePoint> CollectReferences(TList* KeepOuts,
                                               int (*Compare)(const TReferencePoint&,
                                                              const TReferencePoint&),
                                               bool ByY) {
  std::vector<TReferencePoint> Points;
  for (int I = 0; I < KeepOuts->Count(); ++I) {
    const Integer Handle = ItemHandle(KeepOuts->Get(I));
    TOwned<TPcbTrack> Track(NewObject<TPcbTrack>(Handle));
    CheckEditorStatus(Track->Exchange(ExchangeRead), DimensionStep,
                      "read a keep-out track");
    Points.push_back({Handle, Track->X, Track->Y, 1});
    Points.push_back({Handle, Track->X2, Track->Y2, 2});
  }
  MergeSort(Points, Compare);
  for (int I = static_cast<int>(Points.size()) - 1; I >= 1; --I) {
    const bool Same = ByY ? Points[I].Y == Points[I - 1].Y : Points[I].X == Points[I - 1].X;
    if (Same) Points.erase(Points.begin() + I);
  }
  return Points;
}

// One point per distinct X over the horizontal keep-outs.
std::vector<TReferencePoint> CollectXReferences(TTarvik& Maker) {
  return CollectReferences(Maker.HorzKeepOuts, ComparePointsXY, false);
}

// One point per distinct Y over the vertical keep-outs.
std::vector<TReferencePoint> CollectYReferences(TTarvik& Maker) {
  return CollectReferences(Maker.VertKeepOuts, ComparePointsYX, true);
}

void SetDimensionReference(TPCBBaselineDimension& Dimension, int Index, Integer Handle,
                           Integer Anchor, Integer TextX, Integer TextY) {
  Dimension.References[Index].RefValue1 = Handle;
  Dimension.References[Index].RefValue4 = Anchor;
  Dimension.TextLocations[Index] = TTextLocation{TextX, TextY};
}

// The part of the unit's name from its first blank on: " (mil)" or " (mm)".
AnsiString UnitSuffix(TUnit Units) {
  const AnsiString Name = UnitName(Units).ToString();
  const std::size_t Blank = Name.find(' ');
  return Blank == AnsiString::npos ? AnsiString() : Name.substr(Blank);
}

void AddBaselineDimension(TTarvik& Maker, bool Vertical, TTextPosition& Text) {
  const TBoardInfoFromUser& Info = *Maker.BoardInfo;
  TNewEditorObject Made(PcbApi_CreateDimensionObject(eBaselineDimension), DimensionStep,
                        "create a dimension");
  const Integer Handle = Made.Handle();
  TOwned<TPCBBaselineDimension> Dimension(NewObject<TPCBBaselineDimension>(Handle));
  CheckEditorStatus(Dimension->Exchange(ExchangeRead), DimensionStep, "read a dimension");
  Dimension->DimValue6 = Info.DimensionLineWidth;
  Dimension->Layer = Info.DimensionLayer;
  Dimension->DimText3 = PcbString(UnitSuffix(Info.Units));
  if (Vertical) Dimension->BaselineValue = 90.0;  // degrees

  const std::vector<TReferencePoint> Points =
      Vertical ? CollectYReferences(Maker) : CollectXReferences(Maker);
  const int Count = static_cast<int>(Points.size());
  if (Count > DimListCapacity)
    throw Exception("A dimension takes at most %d reference points, not %d",
                    {DimListCapacity, Count});

  // Each text goes one step further down and to the left.
  const Integer Step = MilToCoord(150);
  for (int I = 0; I < Count; ++I) {
    Text.X -= Step;
    Text.Y -= Step;
    SetDimensionReference(*Dimension, I, Points[I].Handle, Points[I].Anchor, Text.X,
                          Text.Y);
  }

  // The editor's lists grow by the entries past what it already holds; the write below
  // then carries every entry.
  for (int I = Dimension->ReferenceCount; I < Count; ++I) {
    const TDimReference& Ref = Dimension->References[I];
    CheckEditorStatus(PcbApi_References_Add(Handle, Ref.RefValue1, Ref.RefValue2,
                                            Ref.RefValue3, Ref.RefValue4),
                      DimensionStep, "add a reference to a dimension");
  }
  const int Locations = Count > 0 ? Count - 1 : 0;
  for (int I = Dimension->TextLocationCount; I < Locations; ++I)
    CheckEditorStatus(PcbApi_TextLocations_Add(Handle, Dimension->TextLocations[I].X,
                                               Dimension->TextLocations[I].Y),
                      DimensionStep, "add a text location to a dimension");
  Dimension->ReferenceCount = Count;
  Dimension->TextLocationCount = Locations;

  CheckEditorStatus(Dimension->Exchange(ExchangeWrite), DimensionStep, "write a dimension");
  Made.AddTo(Maker.Board, DimensionStep, "add a dimension to the board");
}

// The diameter of a circular board, across its keep-out arc.
void AddDiameterDimension(TTarvik& Maker) {
  // Without the keep-out arc there is nothing to measure.
  if (Maker.HorzKeepOuts->Count() == 0) return;
  const TBoardInfoFromUser& Info = *Maker.BoardInfo;
  const Integer Arc = ItemHandle(Maker.HorzKeepOuts->First());
  TNewEditorObject Made(PcbApi_CreateDimensionObject(eLinearDiameterDimension),
                        DimensionStep, "create a dimension");
  TOwned<TPCBLinearDiameterDimension> Dimension(
      NewObject<TPCBLinearDiameterDimension>(Made.Handle()));
  CheckEditorStatus(Dimension->Exchange(ExchangeRead), DimensionStep, "read a dimension");
  Dimension->DimValue2 = Maker.OriginY - MilToCoord(120);
  Dimension->DimValue6 = Info.DimensionLineWidth;
  Dimension->Layer = Info.DimensionLayer;
  // A new diameter dimension holds its two references already; the write fills them.
  Dimension->References[0].RefValue1 = Arc;
  Dimension->References[0].RefValue4 = 1;
  Dimension->References[1].RefValue1 = Arc;
  Dimension->References[1].RefValue4 = 5;
  CheckEditorStatus(Dimension->Exchange(ExchangeWrite), DimensionStep, "write a dimension");
  Made.AddTo(Maker.Board, DimensionStep, "add a dimension to the board");
}

}  // namespace

void TTarvik::AddLegendStrings() {
  AddText(*this, MilToCoord(200), ".LEGEND");
  AddText(*this, MilToCoord(100), "Drill Drawing.");
}

void TTarvik::AddDimensionLines() {
  const TBoardInfoFromUser& Info = *BoardInfo;
  if (Info.DimensionLayer == 0 || Info.OutlineShape == osCustom) return;
  Board->SetLayerFlag(Info.DimensionLayer, 1);
  TTextPosition Text{OriginX, OriginY - MilToCoord(120)};
  if (Info.OutlineShape == osRectangular) {
    AddBaselineDimension(*this, false, Text);
    Text = TTextPosition{OriginX - MilToCoord(250), OriginY};
    AddBaselineDimension(*this, true, Text);
  } else if (Info.OutlineShape == osCircular) {
    AddDiameterDimension(*this);
  }
}
