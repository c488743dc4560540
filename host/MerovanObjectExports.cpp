// The PcbApi_ exports about single objects: the common header, the primitives, pads
// and vias layer by layer, coordinates, dimensions, polygons, components, from-tos
// and nets.
#include <algorithm>
#include <cstring>

#include "host/MerovanPrivate.h"

using namespace Merovan;

namespace {

// The object as the kind T, when the mode is valid and the handle names an object of
// that kind; nullptr otherwise. Found receives the object itself.
template <class T>
T* Target(TExchangeMode Mode, Integer Handle, TObject*& Found) {
  Found = nullptr;
  return ValidMode(Mode) ? Store().ObjectAs<T>(Handle, &Found) : nullptr;
}

// The common prefix of the class queries: Flags, HeaderWord, Layer, HeaderValue1,
// HeaderByte, HeaderValue2, X, Y.
void SwapPrefix(const TSwap& Swap, THeader& H, Word& Flags, Word& HeaderWord, Byte& Layer,
                Integer& HeaderValue1, Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                Integer& Y) {
  Swap(H.Flags, Flags)(H.HeaderWord, HeaderWord)(H.Layer, Layer)(
      H.HeaderValue1, HeaderValue1)(H.HeaderByte, HeaderByte)(H.HeaderValue2, HeaderValue2)(
      H.X, X)(H.Y, Y);
}

bool ValidLayer(Byte Layer) { return Layer >= 1 && Layer <= MaxLayer; }

// A dimension's list entry Index, or nullptr past its end.
template <class T>
T* Entry(std::vector<T>& List, Integer Index) {
  return Index >= 0 && Index < static_cast<Integer>(List.size()) ? &List[Index] : nullptr;
}

}  // namespace

extern "C" {

// ---------------------------------------------------------------------------------
// Every object

Integer PCBAPI_STD PcbApi_QueryPrimitive(TExchangeMode Mode, Integer Handle, Word& Flags,
                                         Word& HeaderWord, Byte& Layer,
                                         Integer& HeaderValue1, Integer& HeaderValue2,
                                         Byte& HeaderByte) {
  LogCall("PcbApi_QueryPrimitive", Mode, Handle);
  return Status([&] {
    TObject* Obj = ValidMode(Mode) ? Store().Object(Handle) : nullptr;
    if (!Obj) return 1;
    THeader& H = Obj->Header;
    TSwap{Mode}(H.Flags, Flags)(H.HeaderWord, HeaderWord)(H.Layer, Layer)(
        H.HeaderValue1, HeaderValue1)(H.HeaderValue2, HeaderValue2)(H.HeaderByte,
                                                                    HeaderByte);
    return 0;
  });
}

void PCBAPI_STD PcbApi_GetObjectBitField2(TExchangeMode Mode, Integer Handle,
                                          Byte& BitField2) {
  LogCall("PcbApi_GetObjectBitField2", Mode, Handle);
  HostGuardVoid([&] {
    TObject* Obj = ValidMode(Mode) ? Store().Object(Handle) : nullptr;
    if (Obj) TSwap{Mode}(Obj->Header.BitField2, BitField2);
  });
}

void PCBAPI_STD PcbApi_GetObjectBitField3(TExchangeMode Mode, Integer Handle,
                                          Byte& BitField3) {
  LogCall("PcbApi_GetObjectBitField3", Mode, Handle);
  HostGuardVoid([&] {
    TObject* Obj = ValidMode(Mode) ? Store().Object(Handle) : nullptr;
    if (Obj) TSwap{Mode}(Obj->Header.BitField3, BitField3);
  });
}

Integer PCBAPI_STD PcbApi_QueryObjectBoundingRectangle(Integer Handle, Integer& Left,
                                                       Integer& Bottom, Integer& Right,
                                                       Integer& Top) {
  LogCall("PcbApi_QueryObjectBoundingRectangle", Handle);
  return Status([&] {
    TObject* Obj = Store().Object(Handle);
    TRect Rect;
    if (!Obj || !Store().BoundingRect(*Obj, Rect)) return 1;
    Left = Rect.Left;
    Bottom = Rect.Bottom;
    Right = Rect.Right;
    Top = Rect.Top;
    return 0;
  });
}

// No object of the stand-in comes from an import by the user.
Integer PCBAPI_STD PcbApi_QueryObjectImport_FromUser(Integer Handle) {
  LogCall("PcbApi_QueryObjectImport_FromUser", Handle);
  return Status([] { return 1; });
}

// Nothing is drawn on screen, so there is nothing to invalidate: 0 for a known object.
Integer PCBAPI_STD PcbApi_QueryObjectGraphicallyInvalidate(Integer Handle) {
  LogCall("PcbApi_QueryObjectGraphicallyInvalidate", Handle);
  return Status([&] { return Store().Object(Handle) ? 0 : 1; });
}

// ---------------------------------------------------------------------------------
// Primitives

Integer PCBAPI_STD PcbApi_QueryTrack(TExchangeMode Mode, Integer Handle, Word& Flags,
                                     Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                     Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                                     Integer& Y, Integer& X2, Integer& Y2, Integer& Width,
                                     Integer& ExtraValue1, Integer& ExtraValue2,
                                     Integer& ExtraValue3) {
  LogCall("PcbApi_QueryTrack", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TTrack* T = Target<TTrack>(Mode, Handle, Obj);
    if (!T) return 1;
    TSwap Swap(Mode);
    SwapPrefix(Swap, Obj->Header, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
               HeaderValue2, X, Y);
    Swap(T->X2, X2)(T->Y2, Y2)(T->Width, Width)(T->Extra[0], ExtraValue1)(
        T->Extra[1], ExtraValue2)(T->Extra[2], ExtraValue3);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryArc(TExchangeMode Mode, Integer Handle, Word& Flags,
                                   Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                   Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                                   Integer& Y, Integer& Radius, double& StartAngle,
                                   double& EndAngle, Integer& LineWidth,
                                   Integer& ExtraValue1) {
  LogCall("PcbApi_QueryArc", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TArc* A = Target<TArc>(Mode, Handle, Obj);
    if (!A) return 1;
    TSwap Swap(Mode);
    SwapPrefix(Swap, Obj->Header, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
               HeaderValue2, X, Y);
    Swap(A->Radius, Radius)(A->StartAngle, StartAngle)(A->EndAngle, EndAngle)(
        A->LineWidth, LineWidth)(A->ExtraValue1, ExtraValue1);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryVia(TExchangeMode Mode, Integer Handle, Word& Flags,
                                   Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                   Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                                   Integer& Y, Integer& Size, Integer& HoleSize,
                                   Byte& ViaByte1, Byte& ViaByte2) {
  LogCall("PcbApi_QueryVia", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TVia* V = Target<TVia>(Mode, Handle, Obj);
    if (!V) return 1;
    TSwap Swap(Mode);
    SwapPrefix(Swap, Obj->Header, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
               HeaderValue2, X, Y);
    Swap(V->Size, Size)(V->HoleSize, HoleSize)(V->Bytes[0], ViaByte1)(V->Bytes[1],
                                                                      ViaByte2);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryFill(TExchangeMode Mode, Integer Handle, Word& Flags,
                                    Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                    Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                                    Integer& Y, Integer& X2, Integer& Y2,
                                    Integer& ExtraValue1, double& Rotation) {
  LogCall("PcbApi_QueryFill", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TFill* F = Target<TFill>(Mode, Handle, Obj);
    if (!F) return 1;
    TSwap Swap(Mode);
    SwapPrefix(Swap, Obj->Header, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
               HeaderValue2, X, Y);
    Swap(F->X2, X2)(F->Y2, Y2)(F->Extra1, ExtraValue1)(F->Rotation, Rotation);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryText(TExchangeMode Mode, Integer Handle, Word& Flags,
                                    Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                    Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                                    Integer& Y, Integer& Size, Integer& TextValue,
                                    double& Rotation, Byte& TextFlag, PcbString& Text,
                                    Integer& Width, Integer& ExtraValue2,
                                    Integer& ExtraValue3) {
  LogCall("PcbApi_QueryText", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TText* T = Target<TText>(Mode, Handle, Obj);
    if (!T) return 1;
    TSwap Swap(Mode);
    SwapPrefix(Swap, Obj->Header, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
               HeaderValue2, X, Y);
    Swap(T->Size, Size)(T->TextValue, TextValue)(T->Rotation, Rotation)(
        T->TextFlag, TextFlag)(T->Text, Text)(T->Width, Width)(T->Extra2, ExtraValue2)(
        T->Extra3, ExtraValue3);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryPad(TExchangeMode Mode, Integer Handle, Word& Flags,
                                   Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                   Byte& HeaderByte, Integer& HeaderValue2, Integer& X,
                                   Integer& Y, Integer& PadSize1, Integer& PadSize2,
                                   Integer& PadSize3, Integer& PadSize4, Integer& PadSize5,
                                   Integer& PadSize6, Integer& HoleSize, Byte& PadByte1,
                                   Byte& PadByte2, Byte& PadByte3, PcbString& Name,
                                   Byte& PadByte4, Byte& PadByte5, double& Rotation) {
  LogCall("PcbApi_QueryPad", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TPad* P = Target<TPad>(Mode, Handle, Obj);
    if (!P) return 1;
    TSwap Swap(Mode);
    SwapPrefix(Swap, Obj->Header, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
               HeaderValue2, X, Y);
    Swap(P->Sizes[0], PadSize1)(P->Sizes[1], PadSize2)(P->Sizes[2], PadSize3)(
        P->Sizes[3], PadSize4)(P->Sizes[4], PadSize5)(P->Sizes[5], PadSize6)(
        P->HoleSize, HoleSize)(P->Bytes[0], PadByte1)(P->Bytes[1], PadByte2)(
        P->Bytes[2], PadByte3)(P->Name, Name)(P->Bytes[3], PadByte4)(P->Bytes[4], PadByte5)(
        P->Rotation, Rotation);
    return 0;
  });
}

// ---------------------------------------------------------------------------------
// Pads and vias layer by layer. A via has one round shape of its size on every
// signal layer and internal plane, and none elsewhere; only pads take new shapes.

Integer PCBAPI_STD PcbApi_QueryPadStackMode(TExchangeMode Mode, Integer Handle,
                                            Byte& StackMode) {
  LogCall("PcbApi_QueryPadStackMode", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TPad* P = Target<TPad>(Mode, Handle, Obj);
    if (!P) return 1;
    TSwap{Mode}(P->StackMode, StackMode);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryPadOrViaShapeOnLayer(Integer Handle, Byte Layer,
                                                    Byte& Shape) {
  LogCall("PcbApi_QueryPadOrViaShapeOnLayer", Handle, Layer);
  return Status([&] {
    if (!ValidLayer(Layer)) return 1;
    if (TPad* P = Store().ObjectAs<TPad>(Handle)) {
      Shape = P->Shapes[Layer];
      return 0;
    }
    if (Store().ObjectAs<TVia>(Handle)) {
      Shape = IsStackLayer(Layer) ? 1 : 0;
      return 0;
    }
    return 1;
  });
}

Integer PCBAPI_STD PcbApi_QueryPadOrViaSizeOnLayer(Integer Handle, Byte Layer,
                                                   Integer& XSize, Integer& YSize) {
  LogCall("PcbApi_QueryPadOrViaSizeOnLayer", Handle, Layer);
  return Status([&] {
    if (!ValidLayer(Layer)) return 1;
    if (TPad* P = Store().ObjectAs<TPad>(Handle)) {
      XSize = P->XSizes[Layer];
      YSize = P->YSizes[Layer];
      return 0;
    }
    if (TVia* V = Store().ObjectAs<TVia>(Handle)) {
      XSize = YSize = IsStackLayer(Layer) ? V->Size : 0;
      return 0;
    }
    return 1;
  });
}

Integer PCBAPI_STD PcbApi_SetPadShapeOnLayer(Integer Handle, Byte Layer, Byte Shape) {
  LogCall("PcbApi_SetPadShapeOnLayer", Handle, Layer, Shape);
  return Status([&] {
    TPad* P = Store().ObjectAs<TPad>(Handle);
    if (!P || !ValidLayer(Layer)) return 1;
    P->Shapes[Layer] = Shape;
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_SetPadSizeOnLayer(Integer Handle, Byte Layer, Integer XSize,
                                            Integer YSize) {
  LogCall("PcbApi_SetPadSizeOnLayer", Handle, Layer, XSize, YSize);
  return Status([&] {
    TPad* P = Store().ObjectAs<TPad>(Handle);
    if (!P || !ValidLayer(Layer)) return 1;
    P->XSizes[Layer] = XSize;
    P->YSizes[Layer] = YSize;
    return 0;
  });
}

// ---------------------------------------------------------------------------------
// Coordinates and dimensions

Integer PCBAPI_STD PcbApi_QueryCoordinate(TExchangeMode Mode, Integer Handle, Word& Flags,
                                          Word& HeaderWord, Byte& HeaderByte, Integer& X,
                                          Integer& Y, Byte& Layer, Integer& CoordValue1,
                                          Integer& CoordValue2, Integer& CoordValue3,
                                          Integer& CoordValue4, Integer& CoordValue5,
                                          Integer& CoordValue6) {
  LogCall("PcbApi_QueryCoordinate", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TCoordinate* C = Target<TCoordinate>(Mode, Handle, Obj);
    if (!C) return 1;
    THeader& H = Obj->Header;
    TSwap{Mode}(H.Flags, Flags)(H.HeaderWord, HeaderWord)(H.HeaderByte, HeaderByte)(H.X, X)(
        H.Y, Y)(H.Layer, Layer)(C->Values[0], CoordValue1)(C->Values[1], CoordValue2)(
        C->Values[2], CoordValue3)(C->Values[3], CoordValue4)(C->Values[4], CoordValue5)(
        C->Values[5], CoordValue6);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryDimension(TExchangeMode Mode, Integer Handle, Word& Flags,
                                         Word& HeaderWord, Byte& HeaderByte, Integer& X,
                                         Integer& Y, Integer& DimValue3, Integer& DimValue4,
                                         Byte& Layer, Integer& DimValue5,
                                         Integer& DimValue6, Integer& DimValue7,
                                         Integer& DimValue8, Integer& DimValue9,
                                         Integer& DimValue19) {
  LogCall("PcbApi_QueryDimension", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TDimension* D = Target<TDimension>(Mode, Handle, Obj);
    if (!D) return 1;
    THeader& H = Obj->Header;
    Integer* V = D->Values;
    TSwap{Mode}(H.Flags, Flags)(H.HeaderWord, HeaderWord)(H.HeaderByte, HeaderByte)(H.X, X)(
        H.Y, Y)(V[2], DimValue3)(V[3], DimValue4)(H.Layer, Layer)(V[4], DimValue5)(
        V[5], DimValue6)(V[6], DimValue7)(V[7], DimValue8)(V[8], DimValue9)(V[18],
                                                                            DimValue19);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryExtDimension(
    TExchangeMode Mode, Integer Handle, Byte& DimensionKind, Integer& DimValue1,
    Integer& DimValue2, Integer& DimValue10, Byte& DimByte1, Integer& DimValue11,
    PcbString& DimText1, Byte& DimByte2, Integer& DimValue12, PcbString& DimText2,
    PcbString& DimText3, TPcbWide& DimWide, Integer& DimValue13, Integer& DimValue14,
    Integer& DimValue15, Byte& DimByte3, Integer& DimValue16, Integer& DimValue17,
    Integer& DimValue18) {
  LogCall("PcbApi_QueryExtDimension", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TDimension* D = Target<TDimension>(Mode, Handle, Obj);
    if (!D) return 1;
    Integer* V = D->Values;
    TSwap{Mode}.Out(D->Kind, DimensionKind)(V[0], DimValue1)(V[1], DimValue2)(
        V[9], DimValue10)(D->Bytes[0], DimByte1)(V[10], DimValue11)(D->Texts[0], DimText1)(
        D->Bytes[1], DimByte2)(V[11], DimValue12)(D->Texts[1], DimText2)(
        D->Texts[2], DimText3)(D->Wide, DimWide)(V[12], DimValue13)(V[13], DimValue14)(
        V[14], DimValue15)(D->Bytes[2], DimByte3)(V[15], DimValue16)(V[16], DimValue17)(
        V[17], DimValue18);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_References_Count(Integer Handle, Integer& Count) {
  LogCall("PcbApi_References_Count", Handle);
  return Status([&] {
    TDimension* D = Store().ObjectAs<TDimension>(Handle);
    if (!D) return 1;
    Count = D->ReportedReferenceCount >= 0 ? D->ReportedReferenceCount
                                           : static_cast<Integer>(D->References.size());
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_References_At(TExchangeMode Mode, Integer Handle, Integer Index,
                                        Integer& RefValue1, Integer& RefValue2,
                                        Integer& RefValue3, Integer& RefValue4) {
  LogCall("PcbApi_References_At", Mode, Handle, Index);
  return Status([&] {
    TObject* Obj;
    TDimension* D = Target<TDimension>(Mode, Handle, Obj);
    TReference* R = D ? Entry(D->References, Index) : nullptr;
    if (!R) return 1;
    TSwap{Mode}(R->Values[0], RefValue1)(R->Values[1], RefValue2)(R->Values[2], RefValue3)(
        R->Values[3], RefValue4);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_References_Add(Integer Handle, Integer RefValue1,
                                         Integer RefValue2, Integer RefValue3,
                                         Integer RefValue4) {
  LogCall("PcbApi_References_Add", Handle, RefValue1, RefValue2, RefValue3, RefValue4);
  return Status([&] {
    TDimension* D = Store().ObjectAs<TDimension>(Handle);
    if (!D || D->References.size() >= DimensionListCapacity) return 1;
    D->References.push_back(TReference{{RefValue1, RefValue2, RefValue3, RefValue4}});
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_TextLocations_Count(Integer Handle, Integer& Count) {
  LogCall("PcbApi_TextLocations_Count", Handle);
  return Status([&] {
    TDimension* D = Store().ObjectAs<TDimension>(Handle);
    if (!D) return 1;
    Count = D->ReportedTextLocationCount >= 0
                ? D->ReportedTextLocationCount
                : static_cast<Integer>(D->TextLocations.size());
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_TextLocations_At(TExchangeMode Mode, Integer Handle,
                                           Integer Index, Integer& X, Integer& Y) {
  LogCall("PcbApi_TextLocations_At", Mode, Handle, Index);
  return Status([&] {
    TObject* Obj;
    TDimension* D = Target<TDimension>(Mode, Handle, Obj);
    TTextLocation* L = D ? Entry(D->TextLocations, Index) : nullptr;
    if (!L) return 1;
    TSwap{Mode}(L->X, X)(L->Y, Y);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_TextLocations_Add(Integer Handle, Integer X, Integer Y) {
  LogCall("PcbApi_TextLocations_Add", Handle, X, Y);
  return Status([&] {
    TDimension* D = Store().ObjectAs<TDimension>(Handle);
    if (!D || D->TextLocations.size() >= DimensionListCapacity) return 1;
    D->TextLocations.push_back(TTextLocation{X, Y});
    return 0;
  });
}

// The linear value belongs to linear and linear-diameter dimensions, the baseline
// value to baseline dimensions.
Integer PCBAPI_STD PcbApi_QueryLinearDimension(TExchangeMode Mode, Integer Handle,
                                               double& LinearValue) {
  LogCall("PcbApi_QueryLinearDimension", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TDimension* D = Target<TDimension>(Mode, Handle, Obj);
    if (!D || (D->Kind != eLinearDimension && D->Kind != eLinearDiameterDimension))
      return 1;
    TSwap{Mode}(D->LinearValue, LinearValue);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBaselineDimension(TExchangeMode Mode, Integer Handle,
                                                 double& BaselineValue) {
  LogCall("PcbApi_QueryBaselineDimension", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TDimension* D = Target<TDimension>(Mode, Handle, Obj);
    if (!D || D->Kind != eBaselineDimension) return 1;
    TSwap{Mode}(D->BaselineValue, BaselineValue);
    return 0;
  });
}

// ---------------------------------------------------------------------------------
// Polygons and board outlines

Integer PCBAPI_STD PcbApi_QueryPolygon(TExchangeMode Mode, Integer Handle, Word& Flags,
                                       Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                                       Byte& HeaderByte, Byte& PolygonByte2,
                                       Byte& PolygonByte3, Byte& PolygonByte4,
                                       Integer& PolygonValue1, Integer& PolygonValue2,
                                       Byte& PolygonByte5, Byte& PolygonByte6,
                                       Integer& PolygonValue3, Byte& PolygonByte1,
                                       Integer& SegmentCount, TPolySegments& Segments) {
  LogCall("PcbApi_QueryPolygon", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TPolygon* P = Target<TPolygon>(Mode, Handle, Obj);
    if (!P) return 1;
    TSwap Swap(Mode);
    // Records 0..SegmentCount must fit the caller's array.
    if (!Swap.Reading() && (SegmentCount < 0 || SegmentCount >= PolySegmentCapacity))
      return 1;
    THeader& H = Obj->Header;
    Swap(H.Flags, Flags)(H.HeaderWord, HeaderWord)(H.Layer, Layer)(
        H.HeaderValue1, HeaderValue1)(H.HeaderByte, HeaderByte)(P->Bytes[1], PolygonByte2)(
        P->Bytes[2], PolygonByte3)(P->Bytes[3], PolygonByte4)(P->Values[0], PolygonValue1)(
        P->Values[1], PolygonValue2)(P->Bytes[4], PolygonByte5)(P->Bytes[5], PolygonByte6)(
        P->Values[2], PolygonValue3)(P->Bytes[0], PolygonByte1)(P->SegmentCount,
                                                                SegmentCount);
    if (Swap.Reading()) {
      std::memset(Segments, 0, sizeof(TPolySegments));
      std::copy(P->Segments.begin(), P->Segments.end(), Segments);
    } else {
      int Used = P->SegmentCount > 0 ? P->SegmentCount + 1 : 0;
      P->Segments.assign(Segments, Segments + Used);
    }
    return 0;
  });
}

// ---------------------------------------------------------------------------------
// Components

Integer PCBAPI_STD PcbApi_QueryComponent(TExchangeMode Mode, Integer Handle, Word& Flags,
                                         Word& HeaderWord, Byte& Layer, Byte& HeaderByte,
                                         Integer& NameHandle, Integer& ComponentValue0,
                                         PcbString& ComponentText, Byte& ComponentByte1,
                                         Byte& ComponentByte2, Integer& X, Integer& Y,
                                         Integer& ComponentValue1, double& Rotation,
                                         Byte& ComponentByte3) {
  LogCall("PcbApi_QueryComponent", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TComponent* C = Target<TComponent>(Mode, Handle, Obj);
    if (!C) return 1;
    THeader& H = Obj->Header;
    TSwap{Mode}(H.Flags, Flags)(H.HeaderWord, HeaderWord)(H.Layer, Layer)(
        H.HeaderByte, HeaderByte)(C->NameHandle, NameHandle)(C->Value0, ComponentValue0)(
        C->Text, ComponentText)(C->Bytes[0], ComponentByte1)(C->Bytes[1], ComponentByte2)(
        H.X, X)(H.Y, Y)(C->Value1, ComponentValue1)(C->Rotation, Rotation)(C->Bytes[2],
                                                                           ComponentByte3);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryComponentEx(TExchangeMode Mode, Integer Handle,
                                           Integer& ComponentValue2, Byte& ComponentByte4,
                                           Byte& ComponentByte5, Integer& ComponentValue3) {
  LogCall("PcbApi_QueryComponentEx", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TComponent* C = Target<TComponent>(Mode, Handle, Obj);
    if (!C) return 1;
    TSwap{Mode}(C->Value2, ComponentValue2)(C->Bytes[3], ComponentByte4)(
        C->Bytes[4], ComponentByte5)(C->Value3, ComponentValue3);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryComponentSourceLinks(
    TExchangeMode Mode, Integer Handle, PcbString& SourceLink1, PcbString& SourceLink2,
    PcbString& SourceLink3, PcbString& SourceLink4, PcbString& SourceLink5,
    PcbString& SourceLink6, PcbString& SourceLink7) {
  LogCall("PcbApi_QueryComponentSourceLinks", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TComponent* C = Target<TComponent>(Mode, Handle, Obj);
    if (!C) return 1;
    std::string* L = C->SourceLinks;
    TSwap{Mode}(L[0], SourceLink1)(L[1], SourceLink2)(L[2], SourceLink3)(L[3], SourceLink4)(
        L[4], SourceLink5)(L[5], SourceLink6)(L[6], SourceLink7);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryComponentChannelOffset(TExchangeMode Mode, Integer Handle,
                                                      Integer& ChannelOffset) {
  LogCall("PcbApi_QueryComponentChannelOffset", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TComponent* C = Target<TComponent>(Mode, Handle, Obj);
    if (!C) return 1;
    TSwap{Mode}(C->ChannelOffset, ChannelOffset);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryComponentKind(TExchangeMode Mode, Integer Handle,
                                             Byte& Kind) {
  LogCall("PcbApi_QueryComponentKind", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TComponent* C = Target<TComponent>(Mode, Handle, Obj);
    if (!C) return 1;
    TSwap{Mode}(C->Kind, Kind);
    return 0;
  });
}

// ---------------------------------------------------------------------------------
// Connections and nets

Integer PCBAPI_STD PcbApi_QueryFromTo(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                                      Integer& X, Integer& Y, Byte& FromToByte1,
                                      Integer& X2, Integer& Y2, Byte& FromToByte2,
                                      Integer& HeaderValue1) {
  LogCall("PcbApi_QueryFromTo", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TFromTo* F = Target<TFromTo>(Mode, Handle, Obj);
    if (!F) return 1;
    THeader& H = Obj->Header;
    TSwap{Mode}(H.HeaderWord, HeaderWord)(H.X, X)(H.Y, Y)(F->Byte1, FromToByte1)(F->X2, X2)(
        F->Y2, Y2)(F->Byte2, FromToByte2)(H.HeaderValue1, HeaderValue1);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryManualFromTo(TExchangeMode Mode, Integer Handle,
                                            Word& HeaderWord, PcbString& ManualText1,
                                            PcbString& ManualText2, PcbString& ManualText3,
                                            Integer& ManualValue) {
  LogCall("PcbApi_QueryManualFromTo", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TManualFromTo* M = Target<TManualFromTo>(Mode, Handle, Obj);
    if (!M) return 1;
    TSwap{Mode}(Obj->Header.HeaderWord, HeaderWord)(M->Texts[0], ManualText1)(
        M->Texts[1], ManualText2)(M->Texts[2], ManualText3)(M->Value, ManualValue);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryNet(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                                   PcbString& Name, Byte& NetByte, Integer& NetValue) {
  LogCall("PcbApi_QueryNet", Mode, Handle);
  return Status([&] {
    TObject* Obj;
    TNet* N = Target<TNet>(Mode, Handle, Obj);
    if (!N) return 1;
    TSwap{Mode}(Obj->Header.HeaderWord, HeaderWord)(N->Name, Name)(N->NetByte, NetByte)(
        N->NetValue, NetValue);
    return 0;
  });
}

}  // extern "C"
