// The wrapper classes of the editor's primitives: tracks, arcs, vias, fills, texts,
// pads with their per-layer stack, connections, nets, object classes, coordinates,
// components, polygons and the board outline, and the dimension family.
//
// Each class appends its fields to TPCBObject's in declared order, sets its object id
// in its constructor and exchanges its fields with its own editor query after the two
// state bytes. The order of each query's references is the editor's.
#pragma once

#include "classlib/StringLists.h"
#include "pcb/Pcbclass_Object.h"

class TPcbTrack : public TPCBObject {
  TCLASS_DECL(TPcbTrack, TPCBObject)
 public:
  explicit TPcbTrack(Integer AHandle = 0);

  TCoord X2 = 0;  // the track runs from (X, Y) to (X2, Y2)
  TCoord Y2 = 0;
  TCoord Width = 0;
  Integer ExtraValue1 = 0;
  Integer ExtraValue2 = 0;
  Integer ExtraValue3 = 0;

  Integer Exchange(TExchangeMode Mode) override;
  TCoord GetX2() override { return X2; }
  TCoord GetY2() override { return Y2; }
  TCoord GetWidth() override { return Width; }
  Integer GetExtraValue1() override { return ExtraValue1; }
  Integer GetExtraValue2() override { return ExtraValue2; }
  Integer GetExtraValue3() override { return ExtraValue3; }
  void SetX2(TCoord Value) override { X2 = Value; }
  void SetY2(TCoord Value) override { Y2 = Value; }
  void SetWidth(TCoord Value) override { Width = Value; }
  void SetExtraValue1(Integer Value) override { ExtraValue1 = Value; }
  void SetExtraValue2(Integer Value) override { ExtraValue2 = Value; }
  void SetExtraValue3(Integer Value) override { ExtraValue3 = Value; }
};

class TPcbArc : public TPCBObject {
  TCLASS_DECL(TPcbArc, TPCBObject)
 public:
  explicit TPcbArc(Integer AHandle = 0);

  TCoord Radius = 0;  // about the centre (X, Y)
  double StartAngle = 0;
  double EndAngle = 0;
  TCoord LineWidth = 0;
  Integer ExtraValue1 = 0;

  Integer Exchange(TExchangeMode Mode) override;
  TCoord GetRadius() override { return Radius; }
  double GetStartAngle() override { return StartAngle; }
  double GetEndAngle() override { return EndAngle; }
  TCoord GetLineWidth() override { return LineWidth; }
  Integer GetExtraValue1() override { return ExtraValue1; }
  void SetRadius(TCoord Value) override { Radius = Value; }
  void SetStartAngle(double Value) override { StartAngle = Value; }
  void SetEndAngle(double Value) override { EndAngle = Value; }
  void SetLineWidth(TCoord Value) override { LineWidth = Value; }
  void SetExtraValue1(Integer Value) override { ExtraValue1 = Value; }
};

class TPcbVia : public TPCBObject {
  TCLASS_DECL(TPcbVia, TPCBObject)
 public:
  explicit TPcbVia(Integer AHandle = 0);

  TCoord Size = 0;
  TCoord HoleSize = 0;
  Byte ViaByte1 = 0;
  Byte ViaByte2 = 0;

  Integer Exchange(TExchangeMode Mode) override;
  TCoord GetSize() override { return Size; }
  Integer GetHoleSize() override { return HoleSize; }
  Byte GetViaByte1() override { return ViaByte1; }
  Byte GetViaByte2() override { return ViaByte2; }
  // Asked of the editor afresh, on any layer: the X size or the shape, 0 when the
  // editor reports a failure.
  TCoord GetSizeOnLayer(TLayer L) override;
  Byte GetShapeOnLayer(TLayer L) override;
  void SetSize(TCoord Value) override { Size = Value; }
  void SetHoleSize(Integer Value) override { HoleSize = Value; }
  void SetViaByte1(Byte Value) override { ViaByte1 = Value; }
  void SetViaByte2(Byte Value) override { ViaByte2 = Value; }
};

class TPcbFill : public TPCBObject {
  TCLASS_DECL(TPcbFill, TPCBObject)
 public:
  explicit TPcbFill(Integer AHandle = 0);

  TCoord X2 = 0;
  TCoord Y2 = 0;
  Integer ExtraValue1 = 0;
  double Rotation = 0;

  Integer Exchange(TExchangeMode Mode) override;
  TCoord GetX2() override { return X2; }
  TCoord GetY2() override { return Y2; }
  Integer GetExtraValue1() override { return ExtraValue1; }
  double GetRotation() override { return Rotation; }
  void SetX2(TCoord Value) override { X2 = Value; }
  void SetY2(TCoord Value) override { Y2 = Value; }
  void SetExtraValue1(Integer Value) override { ExtraValue1 = Value; }
  void SetRotation(double Value) override { Rotation = Value; }
};

class TPcbText : public TPCBObject {
  TCLASS_DECL(TPcbText, TPCBObject)
 public:
  explicit TPcbText(Integer AHandle = 0);

  TCoord Size = 0;
  Integer TextValue = 0;
  double Rotation = 0;
  Byte TextFlag = 0;
  PcbStringOf<254> Text;
  TCoord Width = 0;
  Integer ExtraValue2 = 0;
  Integer ExtraValue3 = 0;

  Integer Exchange(TExchangeMode Mode) override;
  TCoord GetSize() override { return Size; }
  Integer GetTextValue() override { return TextValue; }
  double GetRotation() override { return Rotation; }
  Byte GetTextFlag() override { return TextFlag; }
  PcbString GetText() override { return PcbString(Text); }
  TCoord GetWidth() override { return Width; }
  TCoord GetLineWidth() override { return Width; }
  Integer GetExtraValue2() override { return ExtraValue2; }
  Integer GetExtraValue3() override { return ExtraValue3; }
  void SetSize(TCoord Value) override { Size = Value; }
  void SetTextValue(Integer Value) override { TextValue = Value; }
  void SetRotation(double Value) override { Rotation = Value; }
  void SetTextFlag(Byte Value) override { TextFlag = Value; }
  // Keeps at most 254 characters.
  void SetText(const PcbString& Value) override { Text = Value; }
  void SetLineWidth(TCoord Value) override { Width = Value; }
  void SetExtraValue2(Integer Value) override { ExtraValue2 = Value; }
  void SetExtraValue3(Integer Value) override { ExtraValue3 = Value; }
};

class TPcbPad : public TPCBObject {
  TCLASS_DECL(TPcbPad, TPCBObject)
 public:
  explicit TPcbPad(Integer AHandle = 0);

  Integer PadSize1 = 0;
  Integer PadSize2 = 0;
  Integer PadSize3 = 0;
  Integer PadSize4 = 0;
  Integer PadSize5 = 0;
  Integer PadSize6 = 0;
  Integer HoleSize = 0;
  Byte PadByte1 = 0;
  Byte PadByte2 = 0;
  Byte PadByte3 = 0;
  PcbStringOf<20> Name;
  Byte PadByte4 = 0;
  double Rotation = 0;
  Byte PadByte5 = 0;
  // The per-layer stack, indexed by layer number; exchanged for layers 1..32 when the
  // stack mode is 2 (a full stack).
  TCoord XSizeOnLayer[LayerCount] = {};
  TCoord YSizeOnLayer[LayerCount] = {};
  Byte ShapeOnLayer[LayerCount] = {};
  Byte StackMode = 0;

  Integer Exchange(TExchangeMode Mode) override;

  Integer GetPadSize1() override { return PadSize1; }
  Integer GetPadSize2() override { return PadSize2; }
  Integer GetPadSize3() override { return PadSize3; }
  Integer GetPadSize4() override { return PadSize4; }
  Integer GetPadSize5() override { return PadSize5; }
  Integer GetPadSize6() override { return PadSize6; }
  Integer GetHoleSize() override { return HoleSize; }
  Byte GetPadByte1() override { return PadByte1; }
  Byte GetPadByte2() override { return PadByte2; }
  Byte GetPadByte3() override { return PadByte3; }
  PcbString GetName() override { return PcbString(Name); }
  double GetRotation() override { return Rotation; }

  // Asked of the editor afresh on any layer (the answer also lands in the stack
  // arrays); 0 when the editor reports a failure.
  TCoord GetXSizeOnLayer(TLayer L) override;
  TCoord GetYSizeOnLayer(TLayer L) override;
  Byte GetShapeOnLayer(TLayer L) override;
  // The smaller of the two sizes.
  TCoord GetWidthOnLayer(TLayer L) override;
  // The corners of the pad's shape on L about its centre (X, Y), turned by Rotation.
  TCoord GetCorner1XOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner1YOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner2XOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner2YOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner3XOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner3YOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner4XOnLayer(TLayer L, TCoord Expansion) override;
  TCoord GetCorner4YOnLayer(TLayer L, TCoord Expansion) override;
  // The two ends of the pad's long axis on L: (XOnLayer, YOnLayer) and
  // (X2OnLayer, Y2OnLayer); both are the centre for a pad as wide as it is tall.
  TCoord GetXOnLayer(TLayer L) override;
  TCoord GetYOnLayer(TLayer L) override;
  TCoord GetX2OnLayer(TLayer L) override;
  TCoord GetY2OnLayer(TLayer L) override;

  void SetPadSize1(Integer Value) override { PadSize1 = Value; }
  void SetPadSize2(Integer Value) override { PadSize2 = Value; }
  void SetPadSize3(Integer Value) override { PadSize3 = Value; }
  void SetPadSize4(Integer Value) override { PadSize4 = Value; }
  void SetPadSize5(Integer Value) override { PadSize5 = Value; }
  void SetPadSize6(Integer Value) override { PadSize6 = Value; }
  void SetHoleSize(Integer Value) override { HoleSize = Value; }
  void SetPadByte1(Byte Value) override { PadByte1 = Value; }
  void SetPadByte2(Byte Value) override { PadByte2 = Value; }
  void SetPadByte3(Byte Value) override { PadByte3 = Value; }
  // Keeps at most 20 characters.
  void SetName(const PcbString& Value) override { Name = Value; }
  void SetRotation(double Value) override { Rotation = Value; }

 private:
  TCoord LayerCorner(TLayer L, TCoord Expansion, int Corner, bool WantX);
  TCoord AxisEnd(TLayer L, int End, bool WantX);
};

class TPcbFromTo : public TPCBObject {
  TCLASS_DECL(TPcbFromTo, TPCBObject)
 public:
  explicit TPcbFromTo(Integer AHandle = 0);

  TCoord X2 = 0;
  TCoord Y2 = 0;
  Byte FromToByte1 = 0;
  Byte FromToByte2 = 0;

  Integer Exchange(TExchangeMode Mode) override;
  TCoord GetX2() override { return X2; }
  TCoord GetY2() override { return Y2; }
  Byte GetFromToByte1() override { return FromToByte1; }
  Byte GetFromToByte2() override { return FromToByte2; }
  void SetX2(TCoord Value) override { X2 = Value; }
  void SetY2(TCoord Value) override { Y2 = Value; }
  void SetFromToByte1(Byte Value) override { FromToByte1 = Value; }
  void SetFromToByte2(Byte Value) override { FromToByte2 = Value; }
};

class TPcbManualFromTo : public TPCBObject {
  TCLASS_DECL(TPcbManualFromTo, TPCBObject)
 public:
  explicit TPcbManualFromTo(Integer AHandle = 0);

  PcbString ManualText1;
  PcbString ManualText2;
  PcbString ManualText3;
  Integer ManualValue = 0;

  Integer Exchange(TExchangeMode Mode) override;
};

// An object class: a named list of member names.
class TPCBObjectClass : public TPCBObject {
  TCLASS_DECL(TPCBObjectClass, TPCBObject)
 public:
  explicit TPCBObjectClass(Integer AHandle = 0);
  TPCBObjectClass(const TPCBObjectClass&) = delete;
  TPCBObjectClass& operator=(const TPCBObjectClass&) = delete;
  ~TPCBObjectClass() override;

  PcbString Name;
  Byte ClassByte1 = 0;
  Byte ClassByte2 = 0;
  TStringList* Members;  // owned

  // A read (any mode but 0 and 2) replaces Members with the editor's list and returns
  // the status of the member query that ended it (1 past the last member). A write
  // (0 or 2) replaces the editor's members with Members, in list order, and returns
  // the status of the last editor call.
  Integer Exchange(TExchangeMode Mode) override;
};

// The common parent of the group-like objects; it adds nothing.
class TPcbGroupObject : public TPCBObject {
  TCLASS_DECL(TPcbGroupObject, TPCBObject)
 public:
  using TPCBObject::TPCBObject;
};

class TPcbNet : public TPcbGroupObject {
  TCLASS_DECL(TPcbNet, TPcbGroupObject)
 public:
  explicit TPcbNet(Integer AHandle = 0);

  PcbString Name;
  Byte NetByte = 0;
  Integer NetValue = 0;

  Integer Exchange(TExchangeMode Mode) override;
  PcbString GetName() override { return Name; }
};

class TPcbCoordinate : public TPcbGroupObject {
  TCLASS_DECL(TPcbCoordinate, TPcbGroupObject)
 public:
  explicit TPcbCoordinate(Integer AHandle = 0);

  Integer CoordValue1 = 0;
  Integer CoordValue2 = 0;
  Integer CoordValue3 = 0;
  Integer CoordValue4 = 0;
  Integer CoordValue5 = 0;
  Integer CoordValue6 = 0;

  Integer Exchange(TExchangeMode Mode) override;
};

class TPcbComponent : public TPcbGroupObject {
  TCLASS_DECL(TPcbComponent, TPcbGroupObject)
 public:
  explicit TPcbComponent(Integer AHandle = 0);

  Integer ChannelOffset = 0;
  Byte Kind = 0;
  Integer NameHandle = 0;  // the text object that shows the component's name
  Integer ComponentValue0 = 0;
  PcbStringOf<250> ComponentText;
  Byte ComponentByte1 = 0;
  Byte ComponentByte2 = 0;
  Integer ComponentValue1 = 0;
  double Rotation = 0;
  Byte ComponentByte3 = 0;
  Integer ComponentValue2 = 0;
  Byte ComponentByte4 = 0;
  Byte ComponentByte5 = 0;
  Integer ComponentValue3 = 0;
  PcbString SourceLink1;
  PcbString SourceLink2;
  PcbString SourceLink3;
  PcbString SourceLink4;
  PcbString SourceLink5;
  PcbString SourceLink6;
  PcbString SourceLink7;

  // Channel offset, kind, the component record (its status is the result), the
  // extension and the source links, in that order.
  Integer Exchange(TExchangeMode Mode) override;
  // The text of the object NameHandle designates, read from the editor.
  PcbString GetName() override;
  double GetRotation() override { return Rotation; }
};

class TPcbPolygon : public TPcbGroupObject {
  TCLASS_DECL(TPcbPolygon, TPcbGroupObject)
 public:
  explicit TPcbPolygon(Integer AHandle = 0);

  Byte PolygonByte1 = 0;
  Byte PolygonByte2 = 0;
  Byte PolygonByte3 = 0;
  Byte PolygonByte4 = 0;
  Integer PolygonValue1 = 0;
  Integer PolygonValue2 = 0;
  Integer PolygonValue3 = 0;
  Integer SegmentCount = 0;  // how many of Segments are in use
  TPolySegments Segments = {};
  Byte PolygonByte5 = 0;
  Byte PolygonByte6 = 0;

  // The whole segment array travels with every exchange; X and Y do not.
  Integer Exchange(TExchangeMode Mode) override;
};

// The board's outline: a polygon of its own object id.
class TPcbBoardOutline : public TPcbPolygon {
  TCLASS_DECL(TPcbBoardOutline, TPcbPolygon)
 public:
  explicit TPcbBoardOutline(Integer AHandle = 0);
};

// One entry of a dimension's reference list.
struct TDimReference {
  Integer RefValue1 = 0;
  Integer RefValue2 = 0;
  Integer RefValue3 = 0;
  Integer RefValue4 = 0;
};

// One entry of a baseline dimension's text locations.
struct TTextLocation {
  TCoord X = 0;
  TCoord Y = 0;
};

// The capacity of a dimension's reference list and of its text locations.
inline constexpr int DimListCapacity = 200;

class TPcbDimension : public TPcbGroupObject {
  TCLASS_DECL(TPcbDimension, TPcbGroupObject)
 public:
  explicit TPcbDimension(Integer AHandle = 0);

  Byte DimensionKind = 0;
  Integer DimValue1 = 0;
  Integer DimValue2 = 0;
  Integer DimValue3 = 0;
  Integer DimValue4 = 0;
  Integer DimValue5 = 0;
  Integer DimValue6 = 0;
  Integer DimValue7 = 0;
  Integer DimValue8 = 0;
  Integer DimValue9 = 0;
  Integer DimValue10 = 0;
  Byte DimByte1 = 0;
  Integer DimValue11 = 0;
  PcbString DimText1;
  Byte DimByte2 = 0;
  Integer DimValue12 = 0;
  PcbString DimText2;
  PcbString DimText3;
  TPcbWide DimWide = 0;
  Integer DimValue13 = 0;
  Integer DimValue14 = 0;
  Integer DimValue15 = 0;
  Byte DimByte3 = 0;
  Integer DimValue16 = 0;
  Integer DimValue17 = 0;
  Integer DimValue18 = 0;
  Integer DimValue19 = 0;
  TDimReference References[DimListCapacity] = {};
  // The editor's count, kept within 0..DimListCapacity: entries past the capacity are
  // neither read nor written.
  Integer ReferenceCount = 0;

  // Both dimension queries, then the editor's reference count and each reference in the
  // exchange's direction. Every call runs; the result is the first status other than 0.
  Integer Exchange(TExchangeMode Mode) override;
};

class TPCBLinearDimension : public TPcbDimension {
  TCLASS_DECL(TPCBLinearDimension, TPcbDimension)
 public:
  explicit TPCBLinearDimension(Integer AHandle = 0);

  double LinearValue = 0;

  // The dimension's exchange, then the linear value; the first status other than 0.
  Integer Exchange(TExchangeMode Mode) override;
};

class TPCBBaselineDimension : public TPcbDimension {
  TCLASS_DECL(TPCBBaselineDimension, TPcbDimension)
 public:
  explicit TPCBBaselineDimension(Integer AHandle = 0);

  double BaselineValue = 0;
  TTextLocation TextLocations[DimListCapacity] = {};
  // The editor's count, kept within 0..DimListCapacity like ReferenceCount.
  Integer TextLocationCount = 0;

  // The dimension's exchange, the baseline value, then the editor's text-location count
  // and each location; the first status other than 0.
  Integer Exchange(TExchangeMode Mode) override;
};

class TPCBLinearDiameterDimension : public TPCBLinearDimension {
  TCLASS_DECL(TPCBLinearDiameterDimension, TPCBLinearDimension)
 public:
  explicit TPCBLinearDiameterDimension(Integer AHandle = 0);
};
