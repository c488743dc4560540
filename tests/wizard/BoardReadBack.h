// Reading a built board back for the outline, keep-out, legend and dimension tests: the
// board outline's vertices, the tracks, arcs and texts of a layer and the dimensions,
// each read from the editor through the object model's wrappers.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/wizard/MakerFixture.h"
#include "pcb/Pcbclass.h"

// Host units of a length in mils (exact for whole mils).
inline Integer Mils(double Value) { return MilToCoord(Value); }

// A point or a line as plain numbers, for readable comparisons.
using TXY = std::array<Integer, 2>;
using TLine = std::array<Integer, 4>;

inline TXY MilXY(double X, double Y) { return {Mils(X), Mils(Y)}; }

// Points and lines from flat lists of mils: X, Y, X, Y, ... and X1, Y1, X2, Y2, ...
inline std::vector<TXY> MilPoints(std::initializer_list<double> Values) {
  std::vector<TXY> Result;
  for (auto V = Values.begin(); V + 1 < Values.end(); V += 2)
    Result.push_back(MilXY(V[0], V[1]));
  return Result;
}
inline std::vector<TLine> MilLines(std::initializer_list<double> Values) {
  std::vector<TLine> Result;
  for (auto V = Values.begin(); V + 3 < Values.end(); V += 4)
    Result.push_back({Mils(V[0]), Mils(V[1]), Mils(V[2]), Mils(V[3])});
  return Result;
}

struct TReadTrack {
  Integer Handle = 0;
  TLine Line = {};
  Integer Width = 0;
  TLayer Layer = 0;
};

struct TReadArc {
  Integer Handle = 0;
  TXY Centre = {};
  Integer Radius = 0;
  double StartAngle = 0;
  double EndAngle = 0;
  Integer Width = 0;
  TLayer Layer = 0;
};

struct TReadText {
  TXY Point = {};
  std::string Text;
  TLayer Layer = 0;
};

struct TReadDimension {
  Byte Kind = 0;
  TLayer Layer = 0;
  Integer LineWidth = 0;  // DimValue6
  Integer Position = 0;   // DimValue2
  std::string UnitText;   // DimText3
  double Angle = 0;       // BaselineValue (baseline dimensions)
  std::vector<std::pair<Integer, Integer>> References;  // (object handle, anchor)
  std::vector<TXY> TextLocations;                       // baseline dimensions
};

struct TReadOutline {
  Integer SegmentCount = 0;
  std::vector<TPolySegment> Segments;  // records 0..SegmentCount

  // The vertex points of records 0..SegmentCount.
  std::vector<TXY> Points() const {
    std::vector<TXY> Result;
    for (const TPolySegment& S : Segments) Result.push_back({S.X, S.Y});
    return Result;
  }
};

class BoardReadBackTest : public MakerTest {
 protected:
  TReadOutline Outline(Integer Board) {
    TOwned<TPcbBoard> Wrapper(NewObject<TPcbBoard>(Board));
    Wrapper->Exchange(ExchangeRead);
    TReadOutline Result;
    if (!Wrapper->OutlineHandle) return Result;
    TOwned<TPcbBoardOutline> Polygon(NewObject<TPcbBoardOutline>(Wrapper->OutlineHandle));
    Polygon->Exchange(ExchangeRead);
    Result.SegmentCount = Polygon->SegmentCount;
    for (int I = 0; I <= Polygon->SegmentCount && I < PolySegmentCapacity; ++I)
      Result.Segments.push_back(Polygon->Segments[I]);
    return Result;
  }

  std::vector<TReadTrack> Tracks(Integer Board, TLayer Layer) {
    std::vector<TReadTrack> Result;
    for (Integer Handle : Objects(Board, eTrackObject, Layer)) {
      TOwned<TPcbTrack> Track(NewObject<TPcbTrack>(Handle));
      Track->Exchange(ExchangeRead);
      Result.push_back(
          {Handle, {Track->X, Track->Y, Track->X2, Track->Y2}, Track->Width, Track->Layer});
    }
    return Result;
  }

  static std::vector<TLine> Lines(const std::vector<TReadTrack>& Tracks) {
    std::vector<TLine> Result;
    for (const TReadTrack& T : Tracks) Result.push_back(T.Line);
    return Result;
  }

  std::vector<TReadArc> Arcs(Integer Board, TLayer Layer) {
    std::vector<TReadArc> Result;
    for (Integer Handle : Objects(Board, eArcObject, Layer)) {
      TOwned<TPcbArc> Arc(NewObject<TPcbArc>(Handle));
      Arc->Exchange(ExchangeRead);
      Result.push_back({Handle,
                        {Arc->X, Arc->Y},
                        Arc->Radius,
                        Arc->StartAngle,
                        Arc->EndAngle,
                        Arc->LineWidth,
                        Arc->Layer});
    }
    return Result;
  }

  std::vector<TReadText> Texts(Integer Board, TLayer Layer = 0) {
    std::vector<TReadText> Result;
    for (Integer Handle : Objects(Board, eTextObject, Layer)) {
      TOwned<TPcbText> Text(NewObject<TPcbText>(Handle));
      Text->Exchange(ExchangeRead);
      Result.push_back({{Text->X, Text->Y}, Text->Text.ToString(), Text->Layer});
    }
    return Result;
  }

  std::vector<TReadDimension> Dimensions(Integer Board) {
    std::vector<TReadDimension> Result;
    for (Integer Handle : Objects(Board, eDimensionObject)) {
      TOwned<TPcbDimension> Probe(NewObject<TPcbDimension>(Handle));
      Probe->Exchange(ExchangeRead);
      TOwned<TPcbDimension> Dimension;
      TPCBBaselineDimension* Baseline = nullptr;
      if (Probe->DimensionKind == eBaselineDimension) {
        Baseline = NewObject<TPCBBaselineDimension>(Handle);
        Dimension.reset(Baseline);
      } else {
        Dimension.reset(NewObject<TPCBLinearDiameterDimension>(Handle));
      }
      Dimension->Exchange(ExchangeRead);
      TReadDimension Read;
      Read.Kind = Dimension->DimensionKind;
      Read.Layer = Dimension->Layer;
      Read.LineWidth = Dimension->DimValue6;
      Read.Position = Dimension->DimValue2;
      Read.UnitText = Dimension->DimText3.ToString();
      for (int I = 0; I < Dimension->ReferenceCount; ++I)
        Read.References.push_back(
            {Dimension->References[I].RefValue1, Dimension->References[I].RefValue4});
      if (Baseline) {
        Read.Angle = Baseline->BaselineValue;
        for (int I = 0; I < Baseline->TextLocationCount; ++I)
          Read.TextLocations.push_back(
              {Baseline->TextLocations[I].X, Baseline->TextLocations[I].Y});
      }
      Result.push_back(Read);
    }
    return Result;
  }
};
