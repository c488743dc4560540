#include "pcb/Pcbclass_Primitives.h"

#include <algorithm>
#include <cmath>

#include "pcb/PCBProcs.h"

TCLASS_IMPL(TPcbTrack)
TCLASS_IMPL(TPcbArc)
TCLASS_IMPL(TPcbVia)
TCLASS_IMPL(TPcbFill)
TCLASS_IMPL(TPcbText)
TCLASS_IMPL(TPcbPad)
TCLASS_IMPL(TPcbFromTo)
TCLASS_IMPL(TPcbManualFromTo)
TCLASS_IMPL(TPCBObjectClass)
TCLASS_IMPL(TPcbGroupObject)
TCLASS_IMPL(TPcbNet)
TCLASS_IMPL(TPcbCoordinate)
TCLASS_IMPL(TPcbComponent)
TCLASS_IMPL(TPcbPolygon)
TCLASS_IMPL(TPcbBoardOutline)
TCLASS_IMPL(TPcbDimension)
TCLASS_IMPL(TPCBLinearDimension)
TCLASS_IMPL(TPCBBaselineDimension)
TCLASS_IMPL(TPCBLinearDiameterDimension)

namespace {

// An editor count kept to what an array of Capacity entries can hold.
Integer ClampCount(Integer Count, Integer Capacity) {
  return std::clamp<Integer>(Count, 0, Capacity);
}

}  // namespace

// --- Tracks, arcs, vias, fills, texts ---

TPcbTrack::TPcbTrack(Integer AHandle) : TPCBObject(AHandle) { ObjectId = eTrackObject; }

Integer TPcbTrack::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryTrack(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                           HeaderValue2, X, Y, X2, Y2, Width, ExtraValue1, ExtraValue2,
                           ExtraValue3);
}

TPcbArc::TPcbArc(Integer AHandle) : TPCBObject(AHandle) { ObjectId = eArcObject; }

Integer TPcbArc::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryArc(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                         HeaderValue2, X, Y, Radius, StartAngle, EndAngle, LineWidth,
                         ExtraValue1);
}

TPcbVia::TPcbVia(Integer AHandle) : TPCBObject(AHandle) { ObjectId = eViaObject; }

Integer TPcbVia::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryVia(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                         HeaderValue2, X, Y, Size, HoleSize, ViaByte1, ViaByte2);
}

TCoord TPcbVia::GetSizeOnLayer(TLayer L) {
  TCoord XSize = 0, YSize = 0;
  return PcbApi_QueryPadOrViaSizeOnLayer(Handle, L, XSize, YSize) == 0 ? XSize : 0;
}

Byte TPcbVia::GetShapeOnLayer(TLayer L) {
  Byte Shape = 0;
  return PcbApi_QueryPadOrViaShapeOnLayer(Handle, L, Shape) == 0 ? Shape : 0;
}

TPcbFill::TPcbFill(Integer AHandle) : TPCBObject(AHandle) { ObjectId = eFillObject; }

Integer TPcbFill::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryFill(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                          HeaderValue2, X, Y, X2, Y2, ExtraValue1, Rotation);
}

TPcbText::TPcbText(Integer AHandle) : TPCBObject(AHandle) { ObjectId = eTextObject; }

Integer TPcbText::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryText(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                          HeaderValue2, X, Y, Size, TextValue, Rotation, TextFlag, Text,
                          Width, ExtraValue2, ExtraValue3);
}

// --- Pads ---

TPcbPad::TPcbPad(Integer AHandle) : TPCBObject(AHandle) { ObjectId = ePadObject; }

Integer TPcbPad::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  // PadByte5 travels before Rotation, unlike the field order.
  const Integer Status =
      PcbApi_QueryPad(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                      HeaderValue2, X, Y, PadSize1, PadSize2, PadSize3, PadSize4, PadSize5,
                      PadSize6, HoleSize, PadByte1, PadByte2, PadByte3, Name, PadByte4,
                      PadByte5, Rotation);
  if (Status != 0) return Status;
  PcbApi_QueryPadStackMode(Mode, Handle, StackMode);
  if (StackMode != 2) return Status;
  // A full stack: the signal layers, one by one.
  for (TLayer L = 1; L <= 32; ++L) {
    if (Mode == ExchangeRead) {
      PcbApi_QueryPadOrViaShapeOnLayer(Handle, L, ShapeOnLayer[L]);
      PcbApi_QueryPadOrViaSizeOnLayer(Handle, L, XSizeOnLayer[L], YSizeOnLayer[L]);
    } else {
      PcbApi_SetPadShapeOnLayer(Handle, L, ShapeOnLayer[L]);
      PcbApi_SetPadSizeOnLayer(Handle, L, XSizeOnLayer[L], YSizeOnLayer[L]);
    }
  }
  return Status;
}

TCoord TPcbPad::GetXSizeOnLayer(TLayer L) {
  // A layer past the stack arrays is asked into scratch variables.
  TCoord ScratchX = 0, ScratchY = 0;
  TCoord& XSize = L <= MaxLayer ? XSizeOnLayer[L] : ScratchX;
  TCoord& YSize = L <= MaxLayer ? YSizeOnLayer[L] : ScratchY;
  return PcbApi_QueryPadOrViaSizeOnLayer(Handle, L, XSize, YSize) == 0 ? XSize : 0;
}

TCoord TPcbPad::GetYSizeOnLayer(TLayer L) {
  TCoord ScratchX = 0, ScratchY = 0;
  TCoord& XSize = L <= MaxLayer ? XSizeOnLayer[L] : ScratchX;
  TCoord& YSize = L <= MaxLayer ? YSizeOnLayer[L] : ScratchY;
  return PcbApi_QueryPadOrViaSizeOnLayer(Handle, L, XSize, YSize) == 0 ? YSize : 0;
}

Byte TPcbPad::GetShapeOnLayer(TLayer L) {
  Byte Scratch = 0;
  Byte& Shape = L <= MaxLayer ? ShapeOnLayer[L] : Scratch;
  return PcbApi_QueryPadOrViaShapeOnLayer(Handle, L, Shape) == 0 ? Shape : 0;
}

TCoord TPcbPad::GetWidthOnLayer(TLayer L) {
  const TCoord XSize = GetXSizeOnLayer(L);
  const TCoord YSize = GetYSizeOnLayer(L);
  return std::min(XSize, YSize);
}

TCoord TPcbPad::LayerCorner(TLayer L, TCoord Expansion, int Corner, bool WantX) {
  const double W = double(GetXSizeOnLayer(L)) + 2.0 * Expansion;
  const double H = double(GetYSizeOnLayer(L)) + 2.0 * Expansion;
  return CornerCoord(X, Y, W, H, Rotation, Corner, WantX);
}

TCoord TPcbPad::GetCorner1XOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 1, true); }
TCoord TPcbPad::GetCorner1YOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 1, false); }
TCoord TPcbPad::GetCorner2XOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 2, true); }
TCoord TPcbPad::GetCorner2YOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 2, false); }
TCoord TPcbPad::GetCorner3XOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 3, true); }
TCoord TPcbPad::GetCorner3YOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 3, false); }
TCoord TPcbPad::GetCorner4XOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 4, true); }
TCoord TPcbPad::GetCorner4YOnLayer(TLayer L, TCoord E) { return LayerCorner(L, E, 4, false); }

TCoord TPcbPad::AxisEnd(TLayer L, int End, bool WantX) {
  const TCoord HX = GetXSizeOnLayer(L) / 2;
  const TCoord HY = GetYSizeOnLayer(L) / 2;
  if (HX == HY) return WantX ? X : Y;
  // The long axis runs through the centre; its ends lie D short of the pad's ends,
  // where D is the difference of the half sizes.
  double DX, DY;
  if (HX < HY) {
    // Tall: the axis is vertical before the turn.
    const double V = DegToRad(90 - Rotation);
    const double D = double(HY) - double(HX);
    DX = -std::cos(V) * D;
    DY = std::sin(V) * D;
  } else {
    const double V = DegToRad(Rotation);
    const double D = double(HX) - double(HY);
    DX = -std::cos(V) * D;
    DY = -std::sin(V) * D;
  }
  if (End == 2) {
    DX = -DX;
    DY = -DY;
  }
  return RoundCoord(WantX ? X + DX : Y + DY);
}

TCoord TPcbPad::GetXOnLayer(TLayer L) { return AxisEnd(L, 1, true); }
TCoord TPcbPad::GetYOnLayer(TLayer L) { return AxisEnd(L, 1, false); }
TCoord TPcbPad::GetX2OnLayer(TLayer L) { return AxisEnd(L, 2, true); }
TCoord TPcbPad::GetY2OnLayer(TLayer L) { return AxisEnd(L, 2, false); }

// --- Connections, nets and object classes ---

TPcbFromTo::TPcbFromTo(Integer AHandle) : TPCBObject(AHandle) {
  ObjectId = eFromToObject;
  HeaderWord = 0;
}

Integer TPcbFromTo::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryFromTo(Mode, Handle, HeaderWord, X, Y, FromToByte1, X2, Y2, FromToByte2,
                            HeaderValue1);
}

TPcbManualFromTo::TPcbManualFromTo(Integer AHandle) : TPCBObject(AHandle) {
  ObjectId = eManualFromToObject;
  HeaderWord = 0;
}

Integer TPcbManualFromTo::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryManualFromTo(Mode, Handle, HeaderWord, ManualText1, ManualText2,
                                  ManualText3, ManualValue);
}

TPcbNet::TPcbNet(Integer AHandle) : TPcbGroupObject(AHandle) { ObjectId = eNetObject; }

Integer TPcbNet::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryNet(Mode, Handle, HeaderWord, Name, NetByte, NetValue);
}

TPCBObjectClass::TPCBObjectClass(Integer AHandle)
    : TPCBObject(AHandle), Members(NewObject<TStringList>()) {
  ObjectId = eClassObject;
}

TPCBObjectClass::~TPCBObjectClass() { FreeAndNil(Members); }

Integer TPCBObjectClass::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  Integer Status = PcbApi_QueryClass(Mode, Handle, HeaderWord, ClassByte1, ClassByte2, Name);
  if (Mode == ExchangeWrite || Mode == ExchangeWriteAlt) {
    Status = PcbApi_RemoveAllMembersFromClass(Handle);
    for (int I = 0; I < Members->Count(); ++I)
      Status = PcbApi_AddMemberToClass(Handle, PcbString(Members->Strings(I)));
    return Status;
  }
  // A read replaces the list. Members are asked for by index until the editor answers
  // anything but success: 1 past the last one, or a failure.
  Members->Clear();
  for (Integer Index = 0;; ++Index) {
    PcbString MemberName;
    Status = PcbApi_GetMemberFromClassAt(Handle, Index, MemberName);
    if (Status != 0) break;
    Members->Add(MemberName.ToString());
  }
  return Status;
}

// --- Coordinates, components, polygons ---

TPcbCoordinate::TPcbCoordinate(Integer AHandle) : TPcbGroupObject(AHandle) {
  ObjectId = eCoordinateObject;
}

Integer TPcbCoordinate::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryCoordinate(Mode, Handle, Flags, HeaderWord, HeaderByte, X, Y, Layer,
                                CoordValue1, CoordValue2, CoordValue3, CoordValue4,
                                CoordValue5, CoordValue6);
}

TPcbComponent::TPcbComponent(Integer AHandle) : TPcbGroupObject(AHandle) {
  ObjectId = eComponentObject;
}

Integer TPcbComponent::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  PcbApi_QueryComponentChannelOffset(Mode, Handle, ChannelOffset);
  PcbApi_QueryComponentKind(Mode, Handle, Kind);
  const Integer Status =
      PcbApi_QueryComponent(Mode, Handle, Flags, HeaderWord, Layer, HeaderByte, NameHandle,
                            ComponentValue0, ComponentText, ComponentByte1, ComponentByte2,
                            X, Y, ComponentValue1, Rotation, ComponentByte3);
  PcbApi_QueryComponentEx(Mode, Handle, ComponentValue2, ComponentByte4, ComponentByte5,
                          ComponentValue3);
  PcbApi_QueryComponentSourceLinks(Mode, Handle, SourceLink1, SourceLink2, SourceLink3,
                                   SourceLink4, SourceLink5, SourceLink6, SourceLink7);
  return Status;
}

PcbString TPcbComponent::GetName() {
  PcbString Text;
  GetObjectTextFromHandle(NameHandle, Text);
  return Text;
}

TPcbPolygon::TPcbPolygon(Integer AHandle) : TPcbGroupObject(AHandle) {
  ObjectId = ePolygonObject;
}

Integer TPcbPolygon::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryPolygon(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1,
                             HeaderByte, PolygonByte2, PolygonByte3, PolygonByte4,
                             PolygonValue1, PolygonValue2, PolygonByte5, PolygonByte6,
                             PolygonValue3, PolygonByte1, SegmentCount, Segments);
}

TPcbBoardOutline::TPcbBoardOutline(Integer AHandle) : TPcbPolygon(AHandle) {
  ObjectId = eBoardOutlineObject;
}

// --- Dimensions ---

TPcbDimension::TPcbDimension(Integer AHandle) : TPcbGroupObject(AHandle) {
  ObjectId = eDimensionObject;
  DimensionKind = eDefaultDimension;
}

Integer TPcbDimension::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  // Every query runs whatever the others gave; the result is the first status other
  // than 0, so that a refused part is never reported as done.
  Integer Status = 0;
  const auto Note = [&Status](Integer QueryStatus) {
    if (Status == 0) Status = QueryStatus;
  };
  Note(PcbApi_QueryDimension(Mode, Handle, Flags, HeaderWord, HeaderByte, X, Y, DimValue3,
                             DimValue4, Layer, DimValue5, DimValue6, DimValue7, DimValue8,
                             DimValue9, DimValue19));
  Note(PcbApi_QueryExtDimension(Mode, Handle, DimensionKind, DimValue1, DimValue2,
                                DimValue10, DimByte1, DimValue11, DimText1, DimByte2,
                                DimValue12, DimText2, DimText3, DimWide, DimValue13,
                                DimValue14, DimValue15, DimByte3, DimValue16, DimValue17,
                                DimValue18));
  // The editor's count, in both directions: the references it holds are the ones
  // exchanged, as far as the array reaches.
  Note(PcbApi_References_Count(Handle, ReferenceCount));
  ReferenceCount = ClampCount(ReferenceCount, DimListCapacity);
  for (Integer Index = 0; Index < ReferenceCount; ++Index) {
    TDimReference& Ref = References[Index];
    Note(PcbApi_References_At(Mode, Handle, Index, Ref.RefValue1, Ref.RefValue2,
                              Ref.RefValue3, Ref.RefValue4));
  }
  return Status;
}

TPCBLinearDimension::TPCBLinearDimension(Integer AHandle) : TPcbDimension(AHandle) {
  DimensionKind = eLinearDimension;
}

Integer TPCBLinearDimension::Exchange(TExchangeMode Mode) {
  const Integer Status = inherited::Exchange(Mode);
  const Integer LinearStatus = PcbApi_QueryLinearDimension(Mode, Handle, LinearValue);
  return Status != 0 ? Status : LinearStatus;
}

TPCBBaselineDimension::TPCBBaselineDimension(Integer AHandle) : TPcbDimension(AHandle) {
  DimensionKind = eBaselineDimension;
}

Integer TPCBBaselineDimension::Exchange(TExchangeMode Mode) {
  Integer Status = inherited::Exchange(Mode);
  const auto Note = [&Status](Integer QueryStatus) {
    if (Status == 0) Status = QueryStatus;
  };
  Note(PcbApi_QueryBaselineDimension(Mode, Handle, BaselineValue));
  Note(PcbApi_TextLocations_Count(Handle, TextLocationCount));
  TextLocationCount = ClampCount(TextLocationCount, DimListCapacity);
  for (Integer Index = 0; Index < TextLocationCount; ++Index)
    Note(PcbApi_TextLocations_At(Mode, Handle, Index, TextLocations[Index].X,
                                 TextLocations[Index].Y));
  return Status;
}

TPCBLinearDiameterDimension::TPCBLinearDiameterDimension(Integer AHandle)
    : TPCBLinearDimension(AHandle) {
  DimensionKind = eLinearDiameterDimension;
}
