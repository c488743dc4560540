// The PCB editor's exported functions as the module calls them: their types, the
// records they exchange and the codes both sides agree on. The module's binding and
// the editor stand-in both include this header; the stand-in declares each export
// with the type given here, so a mismatch in any argument fails to compile.
//
// Every function takes the Windows standard calling convention, except the three of
// the editor's register convention (PcbAbi::QuerySheet, CreateBoardOutline,
// UpdateBoardOutline): their first three arguments travel in EAX, EDX and ECX, the
// rest are pushed left to right and the callee pops them. regparm(3) with stdcall
// does that when the stack arguments are declared in reverse order.
//
// Handles are opaque 32-bit values, 0 meaning none; a status is 0 for success. A
// byte argument occupies a 32-bit slot whose low byte alone is significant. A
// reference argument is the address of the caller's variable; a text is a PcbString
// (a length byte, then up to 255 characters), passed by address.
#pragma once

#include <cstddef>

#include "classlib/SysTypes.h"
#include "pcb/Pcbtypes.h"

// The exchange mode of every Query function: 1 reads the editor's values into the
// caller's variables, 0 writes them to the editor. Classes and scopes take 2 as a
// write too.
using TExchangeMode = Byte;
inline constexpr TExchangeMode ExchangeWrite = 0;
inline constexpr TExchangeMode ExchangeRead = 1;
inline constexpr TExchangeMode ExchangeWriteAlt = 2;

// The kind of an editor object, as GetObjectIdFromObjectHandle reports it.
using TObjectId = Byte;
inline constexpr TObjectId eNoObject = 0;
inline constexpr TObjectId eArcObject = 1;
inline constexpr TObjectId ePadObject = 2;
inline constexpr TObjectId eViaObject = 3;
inline constexpr TObjectId eTrackObject = 4;
inline constexpr TObjectId eTextObject = 5;
inline constexpr TObjectId eFillObject = 6;
inline constexpr TObjectId eFromToObject = 7;
inline constexpr TObjectId eNetObject = 8;
inline constexpr TObjectId eComponentObject = 9;
inline constexpr TObjectId ePolygonObject = 10;
inline constexpr TObjectId eDimensionObject = 11;
inline constexpr TObjectId eCoordinateObject = 12;
inline constexpr TObjectId eClassObject = 13;
inline constexpr TObjectId eRuleObject = 14;
inline constexpr TObjectId eManualFromToObject = 15;
inline constexpr TObjectId eBoardOutlineObject = 21;

// Dimension kinds the module creates or sets.
inline constexpr Byte eLinearDimension = 1;
inline constexpr Byte eBaselineDimension = 6;
inline constexpr Byte eDefaultDimension = 8;
inline constexpr Byte eLinearDiameterDimension = 9;

// Rule kinds the module creates.
inline constexpr Byte eClearanceRule = 0;
inline constexpr Byte eWidthRule = 2;
inline constexpr Byte ePlaneConnectStyleRule = 6;
inline constexpr Byte eRoutingLayersRule = 9;
inline constexpr Byte eRoutingCornerStyleRule = 10;
inline constexpr Byte eRoutingViaStyleRule = 11;
inline constexpr Byte eMaximumViaCountRule = 18;

// An 8-byte editor value the module carries without reading it.
using TPcbWide = Int64;

#pragma pack(push, 1)

// One entry of a polygon's segment list: a straight segment to (X, Y), or (Kind 1) an
// arc about (CX, CY).
struct TPolySegment {
  Byte Kind;
  TCoord X;
  TCoord Y;
  TCoord CX;
  TCoord CY;
  TCoord Radius;
  double StartAngle;
  double EndAngle;
};

// One sub-scope of a rule, in the editor's record layout.
struct TSubScopeRecord {
  Byte Kind;
  PcbString Name;
  Byte SubByte1;
  Byte SubByte2;
  Integer SubValue1;
  Integer SubValue2;
  Integer SubValue3;
  Integer SubValue4;
};

// The printer options' 22-byte block, in the editor's layout.
struct TPrinterBlock {
  Byte Bytes[22];
};

#pragma pack(pop)

static_assert(sizeof(TPolySegment) == 37 && offsetof(TPolySegment, StartAngle) == 21,
              "a polygon segment is the editor's 37-byte record");
static_assert(sizeof(TSubScopeRecord) == 275 && offsetof(TSubScopeRecord, SubValue1) == 259,
              "a sub-scope is the editor's 275-byte record");
static_assert(sizeof(TPrinterBlock) == 22, "the printer block is 22 bytes");

// A polygon exchanges its whole segment array at once.
inline constexpr int PolySegmentCapacity = 501;
using TPolySegments = TPolySegment[PolySegmentCapacity];

// The routing-layers constraint: one byte per signal layer 1..32.
struct TRoutingLayersBlock {
  Byte Layers[32];
};
static_assert(sizeof(TRoutingLayersBlock) == 32, "the routing-layers block is 32 bytes");

#define PCBAPI_STD __attribute__((stdcall))
#define PCBAPI_REG __attribute__((regparm(3), stdcall))

// The type of each editor function the module calls, named after the export without
// its "PcbApi_" prefix. Argument names follow the module's fields.
namespace PcbAbi {

using B = Byte;
using I = Integer;
using W = Word;
using D = double;
using S = PcbString;
using X = TPcbWide;
using M = TExchangeMode;

// Iteration and the object container.
using CreateIterator = I PCBAPI_STD(I BoardHandle, B ObjectId, B Method, B Layer);
using GetFirstObject = I PCBAPI_STD(I Iterator);
using GetNextObject = I PCBAPI_STD(I Iterator);
using DestroyIterator = I PCBAPI_STD(I Iterator);
using GetObjectIdFromObjectHandle = B PCBAPI_STD(I ObjectHandle);
using CreateObject = I PCBAPI_STD(B ObjectId);
using CreateDimensionObject = I PCBAPI_STD(B DimensionKind);
using CreateRuleObject = I PCBAPI_STD(B RuleKind);
using DestroyObject = I PCBAPI_STD(I ObjectHandle);
using AddObjectToContainer = I PCBAPI_STD(I BoardHandle, I ObjectHandle);
using DeleteObjectFromContainer = I PCBAPI_STD(I BoardHandle, I ObjectHandle);
using GetBoardHandleFromFileName = I PCBAPI_STD(const S& FileName);

// The board. QuerySheet's stack arguments are declared in reverse (see above): the
// logical order is Mode, BoardHandle, SheetX, SheetY, SheetWidth, SheetHeight, Flag1,
// Flag2.
using QuerySheet = I PCBAPI_REG(M Mode, I BoardHandle, I& SheetX, B& Flag2, B& Flag1,
                                I& SheetHeight, I& SheetWidth, I& SheetY);
using QueryBoard = I PCBAPI_STD(M Mode, I BoardHandle, I& BoardValue1, S& BoardText,
                                B& BoardByte1, I& BoardValue2, I& BoardValue3,
                                I& BoardValue4, I& BoardValue5, B& BoardByte2,
                                B& BoardByte3, I& OutlineHandle);
using QueryBoardLayerInfo = I PCBAPI_STD(M Mode, I BoardHandle, B Layer, B& Info1, B& Info2,
                                         I& LayerInfo);
using QueryBoardGridsEx = I PCBAPI_STD(M Mode, I BoardHandle, B& GridByte4, B& GridByte1,
                                       B& GridByte2, B& GridByte3, D& GridValue1,
                                       D& GridValue2, D& GridValue3, D& GridValue4,
                                       I& GridValue8, B& GridByte5, D& GridSize,
                                       D& GridValue5, D& GridValue6, D& GridValue7);
using QueryBoardLayerPairsCount = I PCBAPI_STD(I BoardHandle, I& Count);
using QueryBoardLayerPairAt = I PCBAPI_STD(M Mode, I BoardHandle, I Index, B& Layer1,
                                           B& Layer2, B& PairByte2, B& PairByte1);
using QueryBoardOutputOptions = I PCBAPI_STD(
    M Mode, I BoardHandle, I& OutputValue1, I& OutputValue2, B& OutputByte1, B& OutputByte2,
    B& OutputByte3, B& OutputByte4, B& OutputByte5, B& OutputByte6, B& OutputByte7,
    B& OutputByte8, B& OutputByte9, B& OutputByte10, B& OutputByte11, B& OutputByte12,
    B& OutputByte13, B& OutputByte14, B& OutputByte15, B& OutputByte16, B& OutputByte17,
    B& OutputByte18, B& OutputByte19, B& OutputByte20, B& OutputByte21, B& OutputByte22);
using QueryBoardOutputOptionsPlotLayers = I PCBAPI_STD(M Mode, I BoardHandle, B Layer,
                                                       B& PlotLayer);
using QueryBoardOutputOptionsFlipLayers = I PCBAPI_STD(M Mode, I BoardHandle, B Layer,
                                                       B& FlipLayer);
using QueryBoardGerberOptions = I PCBAPI_STD(
    M Mode, I BoardHandle, B& GerberByte1, B& GerberByte2, B& GerberByte3, B& GerberByte4,
    B& GerberByte7, B& GerberByte5, B& GerberByte6, I& GerberValue1, I& GerberValue2,
    I& GerberValue3, I& GerberValue4, I& GerberValue5, S& GerberText, I& GerberValue6,
    B& GerberByte8, B& GerberByte9, I& GerberValue7, I& GerberValue8);
using QueryBoardPrinterOptions = I PCBAPI_STD(
    M Mode, I BoardHandle, S& PrinterText1, S& PrinterText2, S& PrinterText3,
    B& PrinterByte1, B& PrinterByte2, B& PrinterByte3, B& PrinterByte4, B& PrinterByte5,
    B& PrinterByte6, I& PrinterValue1, X& PrinterWide1, X& PrinterWide2, X& PrinterWide3,
    TPrinterBlock& PrinterBlock, B& PrinterByte7, B& PrinterByte8, X& PrinterWide4,
    X& PrinterWide5, X& PrinterWide6, I& PrinterValue2, I& PrinterValue3, B& PrinterByte9,
    B& PrinterByte10, B& PrinterByte11, B& PrinterByte12, B& PrinterByte13);
using QueryBoardPrinterOptionsPlotterPen = I PCBAPI_STD(M Mode, I BoardHandle, I PenIndex,
                                                        I& PenValue1, I& PenValue2);
using QueryBoardPrinterOptionsCompositeLayer = I PCBAPI_STD(
    M Mode, I BoardHandle, B Layer, I& CompositeValue1, I& CompositeValue2,
    B& CompositeByte, I& CompositeValue3);
using QueryBoardAdvancedPlacerOptions = I PCBAPI_STD(M Mode, I BoardHandle, S& PlacerText1,
                                                     S& PlacerText2, B& PlacerByte1,
                                                     B& PlacerByte2, B& PlacerByte3,
                                                     B& PlacerByte4);
using QueryBoardEngineeringChangeOrderOptions = I PCBAPI_STD(M Mode, I BoardHandle,
                                                             B& EcoByte, S& EcoText);
using QueryBoardExternalDielectrics = I PCBAPI_STD(
    M Mode, I BoardHandle, S& TopMaterial, B& TopType, D& TopConstant, I& TopHeight,
    S& BottomMaterial, B& BottomType, D& BottomConstant, I& BottomHeight);
using CreateBoardOutline = void PCBAPI_REG(I BoardHandle);
using UpdateBoardOutline = void PCBAPI_REG(I BoardHandle);

// Layers and the layer stack.
using QueryLayer = I PCBAPI_STD(M Mode, B Layer, I BoardHandle, S& Name, I& CopperThickness,
                                B& LayerState1, B& LayerState2, B& PreviousLayer,
                                B& NextLayer, B& LayerState3);
using QueryInternalPlane = I PCBAPI_STD(M Mode, B Layer, I BoardHandle, S& Name,
                                        I& CopperThickness, B& LayerState1, B& LayerState2,
                                        B& PreviousLayer, B& NextLayer, S& NetName);
using QueryLayerDielectric = I PCBAPI_STD(M Mode, B Layer, I BoardHandle, S& Material,
                                          B& Type, D& Constant, I& Height);
using InsertLayerInStack = I PCBAPI_STD(I BoardHandle, B Layer, B ReferenceLayer);
using RemoveLayerFromStack = I PCBAPI_STD(I BoardHandle, B Layer);

// Every object.
using QueryPrimitive = I PCBAPI_STD(M Mode, I Handle, W& Flags, W& HeaderWord, B& Layer,
                                    I& HeaderValue1, I& HeaderValue2, B& HeaderByte);
using GetObjectBitField2 = void PCBAPI_STD(M Mode, I Handle, B& BitField2);
using GetObjectBitField3 = void PCBAPI_STD(M Mode, I Handle, B& BitField3);
using QueryObjectBoundingRectangle = I PCBAPI_STD(I Handle, I& Left, I& Bottom, I& Right,
                                                  I& Top);
using QueryObjectImport_FromUser = I PCBAPI_STD(I Handle);
using QueryObjectGraphicallyInvalidate = I PCBAPI_STD(I Handle);

// The class queries that begin with the common prefix (Flags, HeaderWord, Layer,
// HeaderValue1, HeaderByte, HeaderValue2, X, Y).
#define PCBAPI_PREFIX                                                                  \
  W &Flags, W &HeaderWord, B &Layer, I &HeaderValue1, B &HeaderByte, I &HeaderValue2, \
      I &X, I &Y
using QueryTrack = I PCBAPI_STD(M Mode, I Handle, PCBAPI_PREFIX, I& X2, I& Y2, I& Width,
                                I& ExtraValue1, I& ExtraValue2, I& ExtraValue3);
using QueryArc = I PCBAPI_STD(M Mode, I Handle, PCBAPI_PREFIX, I& Radius, D& StartAngle,
                              D& EndAngle, I& LineWidth, I& ExtraValue1);
using QueryVia = I PCBAPI_STD(M Mode, I Handle, PCBAPI_PREFIX, I& Size, I& HoleSize,
                              B& ViaByte1, B& ViaByte2);
using QueryFill = I PCBAPI_STD(M Mode, I Handle, PCBAPI_PREFIX, I& X2, I& Y2, I& ExtraValue1,
                               D& Rotation);
using QueryText = I PCBAPI_STD(M Mode, I Handle, PCBAPI_PREFIX, I& Size, I& TextValue,
                               D& Rotation, B& TextFlag, S& Text, I& Width, I& ExtraValue2,
                               I& ExtraValue3);
using QueryPad = I PCBAPI_STD(M Mode, I Handle, PCBAPI_PREFIX, I& PadSize1, I& PadSize2,
                              I& PadSize3, I& PadSize4, I& PadSize5, I& PadSize6,
                              I& HoleSize, B& PadByte1, B& PadByte2, B& PadByte3, S& Name,
                              B& PadByte4, B& PadByte5, D& Rotation);
#undef PCBAPI_PREFIX

// Pads and vias layer by layer.
using QueryPadStackMode = I PCBAPI_STD(M Mode, I Handle, B& StackMode);
using QueryPadOrViaShapeOnLayer = I PCBAPI_STD(I Handle, B Layer, B& Shape);
using QueryPadOrViaSizeOnLayer = I PCBAPI_STD(I Handle, B Layer, I& XSize, I& YSize);
using SetPadShapeOnLayer = I PCBAPI_STD(I Handle, B Layer, B Shape);
using SetPadSizeOnLayer = I PCBAPI_STD(I Handle, B Layer, I XSize, I YSize);

// Coordinates and dimensions.
using QueryCoordinate = I PCBAPI_STD(M Mode, I Handle, W& Flags, W& HeaderWord,
                                     B& HeaderByte, I& X, I& Y, B& Layer, I& CoordValue1,
                                     I& CoordValue2, I& CoordValue3, I& CoordValue4,
                                     I& CoordValue5, I& CoordValue6);
using QueryDimension = I PCBAPI_STD(M Mode, I Handle, W& Flags, W& HeaderWord, B& HeaderByte,
                                    I& X, I& Y, I& DimValue3, I& DimValue4, B& Layer,
                                    I& DimValue5, I& DimValue6, I& DimValue7, I& DimValue8,
                                    I& DimValue9, I& DimValue19);
using QueryExtDimension = I PCBAPI_STD(
    M Mode, I Handle, B& DimensionKind, I& DimValue1, I& DimValue2, I& DimValue10,
    B& DimByte1, I& DimValue11, S& DimText1, B& DimByte2, I& DimValue12, S& DimText2,
    S& DimText3, X& DimWide, I& DimValue13, I& DimValue14, I& DimValue15, B& DimByte3,
    I& DimValue16, I& DimValue17, I& DimValue18);
using References_Count = I PCBAPI_STD(I Handle, I& Count);
using References_At = I PCBAPI_STD(M Mode, I Handle, I Index, I& RefValue1, I& RefValue2,
                                   I& RefValue3, I& RefValue4);
using References_Add = I PCBAPI_STD(I Handle, I RefValue1, I RefValue2, I RefValue3,
                                    I RefValue4);
using TextLocations_Count = I PCBAPI_STD(I Handle, I& Count);
using TextLocations_At = I PCBAPI_STD(M Mode, I Handle, I Index, I& X, I& Y);
using TextLocations_Add = I PCBAPI_STD(I Handle, I X, I Y);
using QueryLinearDimension = I PCBAPI_STD(M Mode, I Handle, D& LinearValue);
using QueryBaselineDimension = I PCBAPI_STD(M Mode, I Handle, D& BaselineValue);

// Polygons (and the board outline, which is one).
using QueryPolygon = I PCBAPI_STD(M Mode, I Handle, W& Flags, W& HeaderWord, B& Layer,
                                  I& HeaderValue1, B& HeaderByte, B& PolygonByte2,
                                  B& PolygonByte3, B& PolygonByte4, I& PolygonValue1,
                                  I& PolygonValue2, B& PolygonByte5, B& PolygonByte6,
                                  I& PolygonValue3, B& PolygonByte1, I& SegmentCount,
                                  TPolySegments& Segments);

// Components.
using QueryComponent = I PCBAPI_STD(M Mode, I Handle, W& Flags, W& HeaderWord, B& Layer,
                                    B& HeaderByte, I& NameHandle, I& ComponentValue0,
                                    S& ComponentText, B& ComponentByte1, B& ComponentByte2,
                                    I& X, I& Y, I& ComponentValue1, D& Rotation,
                                    B& ComponentByte3);
using QueryComponentEx = I PCBAPI_STD(M Mode, I Handle, I& ComponentValue2,
                                      B& ComponentByte4, B& ComponentByte5,
                                      I& ComponentValue3);
using QueryComponentSourceLinks = I PCBAPI_STD(M Mode, I Handle, S& SourceLink1,
                                               S& SourceLink2, S& SourceLink3,
                                               S& SourceLink4, S& SourceLink5,
                                               S& SourceLink6, S& SourceLink7);
using QueryComponentChannelOffset = I PCBAPI_STD(M Mode, I Handle, I& ChannelOffset);
using QueryComponentKind = I PCBAPI_STD(M Mode, I Handle, B& Kind);

// Connections, nets and object classes.
using QueryFromTo = I PCBAPI_STD(M Mode, I Handle, W& HeaderWord, I& X, I& Y,
                                 B& FromToByte1, I& X2, I& Y2, B& FromToByte2,
                                 I& HeaderValue1);
using QueryManualFromTo = I PCBAPI_STD(M Mode, I Handle, W& HeaderWord, S& ManualText1,
                                       S& ManualText2, S& ManualText3, I& ManualValue);
using QueryNet = I PCBAPI_STD(M Mode, I Handle, W& HeaderWord, S& Name, B& NetByte,
                              I& NetValue);
using QueryClass = I PCBAPI_STD(M Mode, I Handle, W& HeaderWord, B& ClassByte1,
                                B& ClassByte2, S& Name);
using GetMemberFromClassAt = I PCBAPI_STD(I ClassHandle, I Index, S& MemberName);
using AddMemberToClass = I PCBAPI_STD(I ClassHandle, const S& MemberName);
using RemoveAllMembersFromClass = I PCBAPI_STD(I ClassHandle);

// Rules, their scopes and their constraints.
using QueryRule = I PCBAPI_STD(M Mode, I Handle, B& RuleKind, B& RuleByte1, B& RuleByte2,
                               B& RuleByte3, B& RuleByte4, B& RuleByte5, B& RuleByte6,
                               S& RuleText1, S& RuleText2, S& RuleText3, S& RuleText4,
                               B& RuleByte7, B& RuleByte8, I& RuleValue1, I& RuleValue2,
                               I& RuleValue3, I& RuleValue4, S& RuleText5, S& RuleText6,
                               S& RuleText7, S& RuleText8, S& RuleText9, S& RuleText10);
using QueryRuleExt = I PCBAPI_STD(M Mode, I Handle, B& RuleKind, B& RuleExtByte1,
                                  B& RuleExtByte2);
using QueryRuleExtEx = I PCBAPI_STD(M Mode, I Handle, S& Name);
using SetState_DeleteAllSubScopes = void PCBAPI_STD(I RuleHandle, B ScopeIndex);
using SetState_AddSubscope = void PCBAPI_STD(I RuleHandle, B ScopeIndex, B Kind,
                                             const S& Name, B SubByte1, B SubByte2,
                                             I SubValue1, I SubValue2, I SubValue3,
                                             I SubValue4);
using GetState_SubScopesCount = I PCBAPI_STD(I RuleHandle, B ScopeIndex);
using GetState_SubscopeAt = void PCBAPI_STD(I RuleHandle, B ScopeIndex, I Index, B& Kind,
                                            S& Name, B& SubByte1, B& SubByte2,
                                            I& SubValue1, I& SubValue2, I& SubValue3,
                                            I& SubValue4);
using QueryRuleClearanceConstraint = I PCBAPI_STD(M Mode, I Handle, I& Gap);
using QueryRuleMaxMinWidthConstraintExt = I PCBAPI_STD(M Mode, I Handle, I& MinWidth,
                                                       I& MaxWidth, I& PreferredWidth);
using QueryRuleRoutingCornerStyleRule = I PCBAPI_STD(M Mode, I Handle, B& Style,
                                                     I& SecondSize, I& FirstSize);
using QueryRuleRoutingViaStyleRule = I PCBAPI_STD(M Mode, I Handle, I& HoleSize, I& Style,
                                                  I& Width);
using QueryRuleRoutingLayersRule = I PCBAPI_STD(M Mode, I Handle,
                                                TRoutingLayersBlock& Layers);
using QueryRulePowerPlaneConnectStyleRule = I PCBAPI_STD(M Mode, I Handle, B& Style,
                                                         I& Value1, I& Value2, I& Value3,
                                                         I& Value4);
using QueryRuleMaximumViaCountRule = I PCBAPI_STD(M Mode, I Handle, I& Count);

}  // namespace PcbAbi
