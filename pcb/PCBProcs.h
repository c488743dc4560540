// The binding of the PCB editor's exported functions. The editor module is found
// among the modules already loaded into the process (never loaded from here), every
// name of the editor's interface gets one entry-point slot, and each function the
// module calls has one wrapper of the same name. A wrapper whose slot is empty does
// nothing and returns its default: 1 for the five status functions whose callers take
// 1 as "nothing there" (the layer-pair count, the manual from-to and the three class
// member functions), 0 or nothing for every other one.
#pragma once

#include <windows.h>

#include "pcb/PcbApiAbi.h"
#include "pcb/Pcbtypes.h"

// Every name of the editor's interface, in binding order.
#define PCBAPI_ENTRY_NAMES(X)                           \
  X(PcbApi_QueryFocusedPrimitive)                       \
  X(PcbApi_GetCurrentComponent)                         \
  X(PcbApi_GetCurrentBoardHandle)                       \
  X(PcbApi_SendCommand)                                 \
  X(PcbApi_GetCurrentEditorWindow)                      \
  X(PcbApi_Percent_Init)                                \
  X(PcbApi_Percent_Update)                              \
  X(PcbApi_Percent_UpdateByNumber)                      \
  X(PcbApi_Percent_Finish)                              \
  X(PcbApi_ClearUndoRedo)                               \
  X(PcbApi_SetCurrentBoardHandle)                       \
  X(PcbApi_GetBoardHandleFromFileName)                  \
  X(PcbApi_GetBoardHandleFromFullFileName)              \
  X(PcbApi_GetObjectAtCursor)                           \
  X(PcbApi_GetObjectAtXYAskUserIfAmbiguous)             \
  X(PcbApi_ExecuteMacroExt)                             \
  X(PcbApi_ExecuteMacro)                                \
  X(PcbApi_RunNetAnalyser)                              \
  X(PcbApi_LoadComponentFromLibrary)                    \
  X(PcbApi_ChooseRectangleByCorners)                    \
  X(PcbApi_ChooseLocation)                              \
  X(PcbApi_QueryCursorLocation)                         \
  X(PcbApi_CreateObject)                                \
  X(PcbApi_CreateDimensionObject)                       \
  X(PcbApi_DestroyObject)                               \
  X(PcbApi_CreateRuleObject)                            \
  X(PcbApi_CreateClassObject)                           \
  X(PcbApi_CreateClassObjectEx)                         \
  X(PcbApi_FindDominantRuleForObject)                   \
  X(PcbApi_FindDominantRuleForObjectPair)               \
  X(PcbApi_AnalyzeNet)                                  \
  X(PcbApi_ShowObject)                                  \
  X(PcbApi_HideObject)                                  \
  X(PcbApi_InvertObject)                                \
  X(PcbApi_ScreenDisplay)                               \
  X(PcbApi_AddObjectToContainer)                        \
  X(PcbApi_SetOwnerBoard)                               \
  X(PcbApi_DeleteObjectFromContainer)                   \
  X(PcbApi_QueryPad)                                    \
  X(PcbApi_QueryPadCache)                               \
  X(PcbApi_QueryPadOrViaShapeOnLayer)                   \
  X(PcbApi_SetPadShapeOnLayer)                          \
  X(PcbApi_SetPadSizeOnLayer)                           \
  X(PcbApi_QueryPadStackMode)                           \
  X(PcbApi_QueryPadOrViaSizeOnLayer)                    \
  X(PcbApi_QueryPadConnectToLayer)                      \
  X(PcbApi_QueryPad_PwrGnd)                             \
  X(PcbApi_QueryTrack)                                  \
  X(PcbApi_QueryVia)                                    \
  X(PcbApi_QueryNet)                                    \
  X(PcbApi_QueryClass)                                  \
  X(PcbApi_GetMemberFromClassAt)                        \
  X(PcbApi_AddMemberToClass)                            \
  X(PcbApi_RemoveAllMembersFromClass)                   \
  X(PcbApi_QueryNetRules)                               \
  X(PcbApi_QueryFromTo)                                 \
  X(PcbApi_QueryManualFromTo)                           \
  X(PcbApi_QueryCoordinate)                             \
  X(PcbApi_QueryDimension)                              \
  X(PcbApi_QueryExtDimension)                           \
  X(PcbApi_References_Count)                            \
  X(PcbApi_References_At)                               \
  X(PcbApi_References_Add)                              \
  X(PcbApi_TextLocations_Count)                         \
  X(PcbApi_TextLocations_At)                            \
  X(PcbApi_TextLocations_Add)                           \
  X(PcbApi_QueryLinearDimension)                        \
  X(PcbApi_QueryAngularDimension)                       \
  X(PcbApi_QueryRadialDimension)                        \
  X(PcbApi_QueryLeaderDimension)                        \
  X(PcbApi_QueryDatumDimension)                         \
  X(PcbApi_QueryBaselineDimension)                      \
  X(PcbApi_QueryCenterDimension)                        \
  X(PcbApi_QueryOriginalDimension)                      \
  X(PcbApi_QueryLinearDiameterDimension)                \
  X(PcbApi_QueryRadialDiameterDimension)                \
  X(PcbApi_QueryPrimitive)                              \
  X(PcbApi_QueryFill)                                   \
  X(PcbApi_QueryArc)                                    \
  X(PcbApi_QueryText)                                   \
  X(PcbApi_QueryPolygon)                                \
  X(PcbApi_QueryComponent)                              \
  X(PcbApi_QueryLibComponent)                           \
  X(PcbApi_QueryComponentEx)                            \
  X(PcbApi_QueryComponent_ApplyAutopositionNameComment) \
  X(PcbApi_QueryComponentUniqueId)                      \
  X(PcbApi_QueryComponentSourceLinks)                   \
  X(PcbApi_QueryComponentKind)                          \
  X(PcbApi_QueryComponentChannelOffset)                 \
  X(PcbApi_QueryComponent_GetObjectAt)                  \
  X(PcbApi_QueryObjectBoundingRectangle)                \
  X(PcbApi_QueryObjectImport_FromUser)                  \
  X(PcbApi_QueryObjectSetState_Default)                 \
  X(PcbApi_QueryObjectGraphicallyInvalidate)            \
  X(PcbApi_QuerySheet)                                  \
  X(PcbApi_QueryBoard)                                  \
  X(PcbApi_QueryBoardGridsEx)                           \
  X(PcbApi_QueryBoardGrids)                             \
  X(PcbApi_QueryBoardLayerPairsCount)                   \
  X(PcbApi_QueryBoardLayerPairAt)                       \
  X(PcbApi_QueryBoardEngineeringChangeOrderOptions)     \
  X(PcbApi_QueryBoardOutputOptions)                     \
  X(PcbApi_QueryBoardOutputOptionsPlotLayers)           \
  X(PcbApi_QueryBoardOutputOptionsFlipLayers)           \
  X(PcbApi_QueryBoardGerberOptions)                     \
  X(PcbApi_QueryBoardPrinterOptions)                    \
  X(PcbApi_QueryBoardPrinterOptionsPlotterPen)          \
  X(PcbApi_QueryBoardPrinterOptionsCompositeLayer)      \
  X(PcbApi_QueryBoardAdvancedPlacerOptions)             \
  X(PcbApi_QueryBoardAdvancedPlacerOptionsExt)          \
  X(PcbApi_QueryBoardDesignRuleCheckerOptions)          \
  X(PcbApi_QuerySystemOptions)                          \
  X(PcbApi_QuerySystemOptionsPlaceArray)                \
  X(PcbApi_QuerySystemOptionsPorts)                     \
  X(PcbApi_QuerySystemOptionsMiscellaneousEx)           \
  X(PcbApi_QuerySystemOptionsMiscellaneous)             \
  X(PcbApi_GetState_ComponentTypeMappingsCount)         \
  X(PcbApi_SetState_DeleteAllComponentTypeMappings)     \
  X(PcbApi_SetState_AddComponentTypeMapping)            \
  X(PcbApi_GetState_ComponentTypeMappingAt)             \
  X(PcbApi_QuerySystemGetGlobalPrimitive)               \
  X(PcbApi_QuerySystemGetGlobalDimension)               \
  X(PcbApi_QueryEmbedded)                               \
  X(PcbApi_QueryRule)                                   \
  X(PcbApi_QueryRuleEx)                                 \
  X(PcbApi_QueryRuleScopeDescriptions)                  \
  X(PcbApi_QueryObjectParameters)                       \
  X(PcbApi_Scope2_Includes)                             \
  X(PcbApi_Scope1_Includes)                             \
  X(PcbApi_QueryRuleExt)                                \
  X(PcbApi_QueryRuleExtEx)                              \
  X(PcbApi_SetState_DeleteAllSubScopes)                 \
  X(PcbApi_SetState_AddSubscope)                        \
  X(PcbApi_GetState_SubScopesCount)                     \
  X(PcbApi_GetState_SubscopeAt)                         \
  X(PcbApi_QueryLayer)                                  \
  X(PcbApi_QueryInternalPlane)                          \
  X(PcbApi_QueryLayerDielectric)                        \
  X(PcbApi_QueryBoardExternalDielectrics)               \
  X(PcbApi_InsertLayerInStack)                          \
  X(PcbApi_RemoveLayerFromStack)                        \
  X(PcbApi_QueryViolation)                              \
  X(PcbApi_QueryRuleParallelSegmentConstraint)          \
  X(PcbApi_QueryRuleClearanceConstraint)                \
  X(PcbApi_QueryRuleMaxMinLengthConstraint)             \
  X(PcbApi_QueryRuleMaxMinWidthConstraint)              \
  X(PcbApi_QueryRuleMaxMinWidthConstraintExt)           \
  X(PcbApi_QueryRuleRoutingCornerStyleRule)             \
  X(PcbApi_QueryRuleRoutingViaStyleRule)                \
  X(PcbApi_QueryRuleRoutingViaStyleRuleExt)             \
  X(PcbApi_QueryRuleRoutingLayersRule)                  \
  X(PcbApi_QueryRuleRoutingTopologyRule)                \
  X(PcbApi_QueryRuleRoutingPriorityRule)                \
  X(PcbApi_QueryRulePowerPlaneConnectStyleRule)         \
  X(PcbApi_QueryRulePasteMaskExpansionRule)             \
  X(PcbApi_QueryRuleSolderMaskExpansionRule)            \
  X(PcbApi_QueryRulePowerPlaneExpansionRule)            \
  X(PcbApi_QueryRuleDaisyChainStubLengthConstraint)     \
  X(PcbApi_QueryRuleMatchedNetLengthsConstraint)        \
  X(PcbApi_QueryRuleShortCircuitConstraint)             \
  X(PcbApi_QueryRuleBrokenNetRule)                      \
  X(PcbApi_QueryRuleViasUnderSMDConstraint)             \
  X(PcbApi_QueryRuleMaximumViaCountRule)                \
  X(PcbApi_QueryRuleMinimumAnnularRingRule)             \
  X(PcbApi_QueryRuleAcuteAngleRule)                     \
  X(PcbApi_QueryRuleConfinementConstraint)              \
  X(PcbApi_QueryRuleSMDToCorner)                        \
  X(PcbApi_QueryRuleComponentClearanceConstraint)       \
  X(PcbApi_QueryRuleComponentRotationsRule)             \
  X(PcbApi_QueryRulePermittedLayersRule)                \
  X(PcbApi_QueryRuleSignalStimulus)                     \
  X(PcbApi_QueryRuleMaxOvershootRise)                   \
  X(PcbApi_QueryRuleMaxOvershootFall)                   \
  X(PcbApi_QueryRuleMaxUndershootRise)                  \
  X(PcbApi_QueryRuleMaxUndershootFall)                  \
  X(PcbApi_QueryRuleMaxMinImpedance)                    \
  X(PcbApi_QueryRuleMinSignalTopValue)                  \
  X(PcbApi_QueryRuleMaxSignalBaseValue)                 \
  X(PcbApi_QueryRuleFlightTime_RisingEdge)              \
  X(PcbApi_QueryRuleFlightTime_FallingEdge)             \
  X(PcbApi_QueryRuleMaxSlope_RisingEdge)                \
  X(PcbApi_QueryRuleMaxSlope_FallingEdge)               \
  X(PcbApi_QueryRuleSupplyNets)                         \
  X(PcbApi_QueryRuleTestpointUsage)                     \
  X(PcbApi_QueryRuleTestpointStyle)                     \
  X(PcbApi_QueryBoardLayerInfo)                         \
  X(PcbApi_QueryBoardWindowRectangle)                   \
  X(PcbApi_QueryBoardInternalPlaneNets)                 \
  X(PcbApi_QuerySystemOptionsLayerDrawingOrder)         \
  X(PcbApi_QuerySystemOptionsPolygon)                   \
  X(PcbApi_QuerySystemOptionsProtection)                \
  X(PcbApi_CreateIterator)                              \
  X(PcbApi_DestroyIterator)                             \
  X(PcbApi_GetNextObject)                               \
  X(PcbApi_GetFirstObject)                              \
  X(PcbApi_CreateSpatialIterator)                       \
  X(PcbApi_DestroySpatialIterator)                      \
  X(PcbApi_GetNextSpatialObject)                        \
  X(PcbApi_GetFirstSpatialObject)                       \
  X(PcbApi_TestTrack)                                   \
  X(PCBAPI_GetUnaryRuleForPrimitive)                    \
  X(PCBAPI_GetBinaryRuleForPrimitive)                   \
  X(PCBAPI_CheckPrimitivesOverlapWithClearance)         \
  X(PcbApi_TestFill)                                    \
  X(PcbApi_TestPad)                                     \
  X(PcbApi_TestArc)                                     \
  X(PcbApi_TestText)                                    \
  X(PcbApi_TestVia)                                     \
  X(PcbApi_ConvertTextToStrokeArray)                    \
  X(PcbApi_EventRouter_SendMessage)                     \
  X(PcbApi_GetState_ProcessDepth)                       \
  X(PcbApi_SetState_ProcessDepth)                       \
  X(PcbApi_RunEventHandler)                             \
  X(PcbApi_CreateEventHandler)                          \
  X(PcbApi_DestroyEventHandler)                         \
  X(PcbApi_EventHandlerPerformanceIsPoor)               \
  X(PcbApi_AddRobotToRobotsList)                        \
  X(PcbApi_RemoveRobotFromRobotsList)                   \
  X(PcbApi_GetRobotAt)                                  \
  X(PcbApi_GetRobotsCount)                              \
  X(PcbApi_CreateRobot)                                 \
  X(PcbApi_DeleteRobot)                                 \
  X(PcbApi_GetRobotObjectHandleByName)                  \
  X(PcbApi_GetRobotNameAndCallback)                     \
  X(PcbApi_GetObjectIdFromObjectHandle)                 \
  X(PcbApi_GetPalette)                                  \
  X(PcbApi_GetObjectBitField2)                          \
  X(PcbApi_GetObjectBitField3)                          \
  X(PcbApi_ChangePanelHandle)                           \
  X(PcbApi_ResetPanel)                                  \
  X(PcbApi_CreateBoardOutline)                          \
  X(PcbApi_UpdateBoardOutline)                          \
  X(PcbApi_CreatePainter)                               \
  X(PcbApi_Export_ToPainter)                            \
  X(PcbApi_CreateLibReader)                             \
  X(PcbApi_GetLibReaderCount)                           \
  X(PcbApi_GetLibReaderPattern)                         \
  X(PcbApi_DestroyLibReader)

enum TPcbApiEntry : int {
#define PCBAPI_ENTRY_ENUM(Name) e##Name,
  PCBAPI_ENTRY_NAMES(PCBAPI_ENTRY_ENUM)
#undef PCBAPI_ENTRY_ENUM
      PcbApiEntryCount
};
static_assert(PcbApiEntryCount == 238, "the editor's interface has 238 names");

// The editor module as found by the last BindPcbApi; nullptr when it was not loaded.
extern HMODULE PcbModuleHandle;
// The name the editor module is loaded under.
extern const char PcbModuleName[];
// The export name of each entry.
extern const char* const PcbApiEntryNames[PcbApiEntryCount];

// Finds the editor module among the loaded ones and fills every slot from it (or
// empties every slot when it is not loaded). Runs at start-up and again whenever an
// editor loaded later must be seen.
void BindPcbApi();
// The unit's start: no editor module yet, then the first binding.
void InitPcbProcs();
// Fills one slot: the export of that name, or nullptr.
void BindPcbApiProc(TPcbApiEntry Entry);
// The slot's address as bound, or nullptr.
FARPROC PcbApiEntryPoint(TPcbApiEntry Entry);

// The wrappers, one per function the module calls. Text arguments are copied into a
// 256-byte buffer of their own before the call; a text the editor fills is read back
// from that buffer and cut to the capacity of the caller's field.
Integer PcbApi_CreateIterator(Integer BoardHandle, Byte ObjectId, Byte Method, Byte Layer);
Integer PcbApi_GetFirstObject(Integer Iterator);
Integer PcbApi_GetNextObject(Integer Iterator);
Integer PcbApi_DestroyIterator(Integer Iterator);
Byte PcbApi_GetObjectIdFromObjectHandle(Integer ObjectHandle);
Integer PcbApi_CreateObject(Byte ObjectId);
Integer PcbApi_CreateDimensionObject(Byte DimensionKind);
Integer PcbApi_CreateRuleObject(Byte RuleKind);
Integer PcbApi_DestroyObject(Integer ObjectHandle);
Integer PcbApi_AddObjectToContainer(Integer BoardHandle, Integer ObjectHandle);
Integer PcbApi_DeleteObjectFromContainer(Integer BoardHandle, Integer ObjectHandle);
Integer PcbApi_GetBoardHandleFromFileName(const PcbString& FileName);
Integer PcbApi_QuerySheet(TExchangeMode Mode, Integer BoardHandle, Integer& SheetX,
                          Integer& SheetY, Integer& SheetWidth, Integer& SheetHeight,
                          Byte& Flag1, Byte& Flag2);
Integer PcbApi_QueryBoard(TExchangeMode Mode, Integer BoardHandle, Integer& BoardValue1,
                          PcbString& BoardText, Byte& BoardByte1, Integer& BoardValue2,
                          Integer& BoardValue3, Integer& BoardValue4, Integer& BoardValue5,
                          Byte& BoardByte2, Byte& BoardByte3, Integer& OutlineHandle);
Integer PcbApi_QueryBoardLayerInfo(TExchangeMode Mode, Integer BoardHandle, Byte Layer,
                                   Byte& Info1, Byte& Info2, Integer& LayerInfo);
Integer PcbApi_QueryBoardGridsEx(TExchangeMode Mode, Integer BoardHandle, Byte& GridByte4,
                                 Byte& GridByte1, Byte& GridByte2, Byte& GridByte3,
                                 double& GridValue1, double& GridValue2, double& GridValue3,
                                 double& GridValue4, Integer& GridValue8, Byte& GridByte5,
                                 double& GridSize, double& GridValue5, double& GridValue6,
                                 double& GridValue7);
Integer PcbApi_QueryBoardLayerPairsCount(Integer BoardHandle, Integer& Count);
Integer PcbApi_QueryBoardLayerPairAt(TExchangeMode Mode, Integer BoardHandle, Integer Index,
                                     Byte& Layer1, Byte& Layer2, Byte& PairByte2,
                                     Byte& PairByte1);
Integer PcbApi_QueryBoardOutputOptions(
    TExchangeMode Mode, Integer BoardHandle, Integer& OutputValue1, Integer& OutputValue2,
    Byte& OutputByte1, Byte& OutputByte2, Byte& OutputByte3, Byte& OutputByte4,
    Byte& OutputByte5, Byte& OutputByte6, Byte& OutputByte7, Byte& OutputByte8,
    Byte& OutputByte9, Byte& OutputByte10, Byte& OutputByte11, Byte& OutputByte12,
    Byte& OutputByte13, Byte& OutputByte14, Byte& OutputByte15, Byte& OutputByte16,
    Byte& OutputByte17, Byte& OutputByte18, Byte& OutputByte19, Byte& OutputByte20,
    Byte& OutputByte21, Byte& OutputByte22);
Integer PcbApi_QueryBoardOutputOptionsPlotLayers(TExchangeMode Mode, Integer BoardHandle,
                                                 Byte Layer, Byte& PlotLayer);
Integer PcbApi_QueryBoardOutputOptionsFlipLayers(TExchangeMode Mode, Integer BoardHandle,
                                                 Byte Layer, Byte& FlipLayer);
Integer PcbApi_QueryBoardGerberOptions(
    TExchangeMode Mode, Integer BoardHandle, Byte& GerberByte1, Byte& GerberByte2,
    Byte& GerberByte3, Byte& GerberByte4, Byte& GerberByte7, Byte& GerberByte5,
    Byte& GerberByte6, Integer& GerberValue1, Integer& GerberValue2, Integer& GerberValue3,
    Integer& GerberValue4, Integer& GerberValue5, PcbString& GerberText,
    Integer& GerberValue6, Byte& GerberByte8, Byte& GerberByte9, Integer& GerberValue7,
    Integer& GerberValue8);
Integer PcbApi_QueryBoardPrinterOptions(
    TExchangeMode Mode, Integer BoardHandle, PcbString& PrinterText1,
    PcbString& PrinterText2, PcbString& PrinterText3, Byte& PrinterByte1,
    Byte& PrinterByte2, Byte& PrinterByte3, Byte& PrinterByte4, Byte& PrinterByte5,
    Byte& PrinterByte6, Integer& PrinterValue1, TPcbWide& PrinterWide1,
    TPcbWide& PrinterWide2, TPcbWide& PrinterWide3, TPrinterBlock& PrinterBlock,
    Byte& PrinterByte7, Byte& PrinterByte8, TPcbWide& PrinterWide4, TPcbWide& PrinterWide5,
    TPcbWide& PrinterWide6, Integer& PrinterValue2, Integer& PrinterValue3,
    Byte& PrinterByte9, Byte& PrinterByte10, Byte& PrinterByte11, Byte& PrinterByte12,
    Byte& PrinterByte13);
Integer PcbApi_QueryBoardPrinterOptionsPlotterPen(TExchangeMode Mode, Integer BoardHandle,
                                                  Integer PenIndex, Integer& PenValue1,
                                                  Integer& PenValue2);
Integer PcbApi_QueryBoardPrinterOptionsCompositeLayer(
    TExchangeMode Mode, Integer BoardHandle, Byte Layer, Integer& CompositeValue1,
    Integer& CompositeValue2, Byte& CompositeByte, Integer& CompositeValue3);
Integer PcbApi_QueryBoardAdvancedPlacerOptions(TExchangeMode Mode, Integer BoardHandle,
                                               PcbString& PlacerText1,
                                               PcbString& PlacerText2, Byte& PlacerByte1,
                                               Byte& PlacerByte2, Byte& PlacerByte3,
                                               Byte& PlacerByte4);
Integer PcbApi_QueryBoardEngineeringChangeOrderOptions(TExchangeMode Mode,
                                                       Integer BoardHandle, Byte& EcoByte,
                                                       PcbString& EcoText);
Integer PcbApi_QueryBoardExternalDielectrics(TExchangeMode Mode, Integer BoardHandle,
                                             PcbString& TopMaterial, Byte& TopType,
                                             double& TopConstant, Integer& TopHeight,
                                             PcbString& BottomMaterial, Byte& BottomType,
                                             double& BottomConstant, Integer& BottomHeight);
void PcbApi_CreateBoardOutline(Integer BoardHandle);
void PcbApi_UpdateBoardOutline(Integer BoardHandle);
Integer PcbApi_QueryLayer(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                          PcbString& Name, Integer& CopperThickness, Byte& LayerState1,
                          Byte& LayerState2, Byte& PreviousLayer, Byte& NextLayer,
                          Byte& LayerState3);
Integer PcbApi_QueryInternalPlane(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                                  PcbString& Name, Integer& CopperThickness,
                                  Byte& LayerState1, Byte& LayerState2, Byte& PreviousLayer,
                                  Byte& NextLayer, PcbString& NetName);
Integer PcbApi_QueryLayerDielectric(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                                    PcbString& Material, Byte& Type, double& Constant,
                                    Integer& Height);
Integer PcbApi_InsertLayerInStack(Integer BoardHandle, Byte Layer, Byte ReferenceLayer);
Integer PcbApi_RemoveLayerFromStack(Integer BoardHandle, Byte Layer);
Integer PcbApi_QueryPrimitive(TExchangeMode Mode, Integer Handle, Word& Flags,
                              Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                              Integer& HeaderValue2, Byte& HeaderByte);
void PcbApi_GetObjectBitField2(TExchangeMode Mode, Integer Handle, Byte& BitField2);
void PcbApi_GetObjectBitField3(TExchangeMode Mode, Integer Handle, Byte& BitField3);
Integer PcbApi_QueryObjectBoundingRectangle(Integer Handle, Integer& Left, Integer& Bottom,
                                            Integer& Right, Integer& Top);
Integer PcbApi_QueryObjectImport_FromUser(Integer Handle);
Integer PcbApi_QueryObjectGraphicallyInvalidate(Integer Handle);
Integer PcbApi_QueryTrack(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                          Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                          Integer& HeaderValue2, Integer& X, Integer& Y, Integer& X2,
                          Integer& Y2, Integer& Width, Integer& ExtraValue1,
                          Integer& ExtraValue2, Integer& ExtraValue3);
Integer PcbApi_QueryArc(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                        Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                        Integer& HeaderValue2, Integer& X, Integer& Y, Integer& Radius,
                        double& StartAngle, double& EndAngle, Integer& LineWidth,
                        Integer& ExtraValue1);
Integer PcbApi_QueryVia(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                        Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                        Integer& HeaderValue2, Integer& X, Integer& Y, Integer& Size,
                        Integer& HoleSize, Byte& ViaByte1, Byte& ViaByte2);
Integer PcbApi_QueryFill(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                         Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                         Integer& HeaderValue2, Integer& X, Integer& Y, Integer& X2,
                         Integer& Y2, Integer& ExtraValue1, double& Rotation);
Integer PcbApi_QueryText(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                         Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                         Integer& HeaderValue2, Integer& X, Integer& Y, Integer& Size,
                         Integer& TextValue, double& Rotation, Byte& TextFlag,
                         PcbStringOf<254>& Text, Integer& Width, Integer& ExtraValue2,
                         Integer& ExtraValue3);
Integer PcbApi_QueryPad(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                        Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                        Integer& HeaderValue2, Integer& X, Integer& Y, Integer& PadSize1,
                        Integer& PadSize2, Integer& PadSize3, Integer& PadSize4,
                        Integer& PadSize5, Integer& PadSize6, Integer& HoleSize,
                        Byte& PadByte1, Byte& PadByte2, Byte& PadByte3,
                        PcbStringOf<20>& Name, Byte& PadByte4, Byte& PadByte5,
                        double& Rotation);
Integer PcbApi_QueryPadStackMode(TExchangeMode Mode, Integer Handle, Byte& StackMode);
Integer PcbApi_QueryPadOrViaShapeOnLayer(Integer Handle, Byte Layer, Byte& Shape);
Integer PcbApi_QueryPadOrViaSizeOnLayer(Integer Handle, Byte Layer, Integer& XSize,
                                        Integer& YSize);
Integer PcbApi_SetPadShapeOnLayer(Integer Handle, Byte Layer, Byte Shape);
Integer PcbApi_SetPadSizeOnLayer(Integer Handle, Byte Layer, Integer XSize, Integer YSize);
Integer PcbApi_QueryCoordinate(TExchangeMode Mode, Integer Handle, Word& Flags,
                               Word& HeaderWord, Byte& HeaderByte, Integer& X, Integer& Y,
                               Byte& Layer, Integer& CoordValue1, Integer& CoordValue2,
                               Integer& CoordValue3, Integer& CoordValue4,
                               Integer& CoordValue5, Integer& CoordValue6);
Integer PcbApi_QueryDimension(TExchangeMode Mode, Integer Handle, Word& Flags,
                              Word& HeaderWord, Byte& HeaderByte, Integer& X, Integer& Y,
                              Integer& DimValue3, Integer& DimValue4, Byte& Layer,
                              Integer& DimValue5, Integer& DimValue6, Integer& DimValue7,
                              Integer& DimValue8, Integer& DimValue9, Integer& DimValue19);
Integer PcbApi_QueryExtDimension(TExchangeMode Mode, Integer Handle, Byte& DimensionKind,
                                 Integer& DimValue1, Integer& DimValue2,
                                 Integer& DimValue10, Byte& DimByte1, Integer& DimValue11,
                                 PcbString& DimText1, Byte& DimByte2, Integer& DimValue12,
                                 PcbString& DimText2, PcbString& DimText3,
                                 TPcbWide& DimWide, Integer& DimValue13,
                                 Integer& DimValue14, Integer& DimValue15, Byte& DimByte3,
                                 Integer& DimValue16, Integer& DimValue17,
                                 Integer& DimValue18);
Integer PcbApi_References_Count(Integer Handle, Integer& Count);
Integer PcbApi_References_At(TExchangeMode Mode, Integer Handle, Integer Index,
                             Integer& RefValue1, Integer& RefValue2, Integer& RefValue3,
                             Integer& RefValue4);
Integer PcbApi_References_Add(Integer Handle, Integer RefValue1, Integer RefValue2,
                              Integer RefValue3, Integer RefValue4);
Integer PcbApi_TextLocations_Count(Integer Handle, Integer& Count);
Integer PcbApi_TextLocations_At(TExchangeMode Mode, Integer Handle, Integer Index,
                                Integer& X, Integer& Y);
Integer PcbApi_TextLocations_Add(Integer Handle, Integer X, Integer Y);
Integer PcbApi_QueryLinearDimension(TExchangeMode Mode, Integer Handle,
                                    double& LinearValue);
Integer PcbApi_QueryBaselineDimension(TExchangeMode Mode, Integer Handle,
                                      double& BaselineValue);
Integer PcbApi_QueryPolygon(TExchangeMode Mode, Integer Handle, Word& Flags,
                            Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                            Byte& HeaderByte, Byte& PolygonByte2, Byte& PolygonByte3,
                            Byte& PolygonByte4, Integer& PolygonValue1,
                            Integer& PolygonValue2, Byte& PolygonByte5, Byte& PolygonByte6,
                            Integer& PolygonValue3, Byte& PolygonByte1,
                            Integer& SegmentCount, TPolySegments& Segments);
Integer PcbApi_QueryComponent(TExchangeMode Mode, Integer Handle, Word& Flags,
                              Word& HeaderWord, Byte& Layer, Byte& HeaderByte,
                              Integer& NameHandle, Integer& ComponentValue0,
                              PcbStringOf<250>& ComponentText, Byte& ComponentByte1,
                              Byte& ComponentByte2, Integer& X, Integer& Y,
                              Integer& ComponentValue1, double& Rotation,
                              Byte& ComponentByte3);
Integer PcbApi_QueryComponentEx(TExchangeMode Mode, Integer Handle,
                                Integer& ComponentValue2, Byte& ComponentByte4,
                                Byte& ComponentByte5, Integer& ComponentValue3);
Integer PcbApi_QueryComponentSourceLinks(TExchangeMode Mode, Integer Handle,
                                         PcbString& SourceLink1, PcbString& SourceLink2,
                                         PcbString& SourceLink3, PcbString& SourceLink4,
                                         PcbString& SourceLink5, PcbString& SourceLink6,
                                         PcbString& SourceLink7);
Integer PcbApi_QueryComponentChannelOffset(TExchangeMode Mode, Integer Handle,
                                           Integer& ChannelOffset);
Integer PcbApi_QueryComponentKind(TExchangeMode Mode, Integer Handle, Byte& Kind);
Integer PcbApi_QueryFromTo(TExchangeMode Mode, Integer Handle, Word& HeaderWord, Integer& X,
                           Integer& Y, Byte& FromToByte1, Integer& X2, Integer& Y2,
                           Byte& FromToByte2, Integer& HeaderValue1);
Integer PcbApi_QueryManualFromTo(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                                 PcbString& ManualText1, PcbString& ManualText2,
                                 PcbString& ManualText3, Integer& ManualValue);
Integer PcbApi_QueryNet(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                        PcbString& Name, Byte& NetByte, Integer& NetValue);
Integer PcbApi_QueryClass(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                          Byte& ClassByte1, Byte& ClassByte2, PcbString& Name);
Integer PcbApi_GetMemberFromClassAt(Integer ClassHandle, Integer Index,
                                    PcbString& MemberName);
Integer PcbApi_AddMemberToClass(Integer ClassHandle, const PcbString& MemberName);
Integer PcbApi_RemoveAllMembersFromClass(Integer ClassHandle);
Integer PcbApi_QueryRule(TExchangeMode Mode, Integer Handle, Byte& RuleKind,
                         Byte& RuleByte1, Byte& RuleByte2, Byte& RuleByte3, Byte& RuleByte4,
                         Byte& RuleByte5, Byte& RuleByte6, PcbString& RuleText1,
                         PcbString& RuleText2, PcbString& RuleText3, PcbString& RuleText4,
                         Byte& RuleByte7, Byte& RuleByte8, Integer& RuleValue1,
                         Integer& RuleValue2, Integer& RuleValue3, Integer& RuleValue4,
                         PcbString& RuleText5, PcbString& RuleText6, PcbString& RuleText7,
                         PcbString& RuleText8, PcbString& RuleText9, PcbString& RuleText10);
Integer PcbApi_QueryRuleExt(TExchangeMode Mode, Integer Handle, Byte& RuleKind,
                            Byte& RuleExtByte1, Byte& RuleExtByte2);
Integer PcbApi_QueryRuleExtEx(TExchangeMode Mode, Integer Handle, PcbString& Name);
void PcbApi_SetState_DeleteAllSubScopes(Integer RuleHandle, Byte ScopeIndex);
void PcbApi_SetState_AddSubscope(Integer RuleHandle, Byte ScopeIndex, Byte Kind,
                                 const PcbString& Name, Byte SubByte1, Byte SubByte2,
                                 Integer SubValue1, Integer SubValue2, Integer SubValue3,
                                 Integer SubValue4);
Integer PcbApi_GetState_SubScopesCount(Integer RuleHandle, Byte ScopeIndex);
void PcbApi_GetState_SubscopeAt(Integer RuleHandle, Byte ScopeIndex, Integer Index,
                                Byte& Kind, PcbString& Name, Byte& SubByte1, Byte& SubByte2,
                                Integer& SubValue1, Integer& SubValue2, Integer& SubValue3,
                                Integer& SubValue4);
Integer PcbApi_QueryRuleClearanceConstraint(TExchangeMode Mode, Integer Handle,
                                            Integer& Gap);
Integer PcbApi_QueryRuleMaxMinWidthConstraintExt(TExchangeMode Mode, Integer Handle,
                                                 Integer& MinWidth, Integer& MaxWidth,
                                                 Integer& PreferredWidth);
Integer PcbApi_QueryRuleRoutingCornerStyleRule(TExchangeMode Mode, Integer Handle,
                                               Byte& Style, Integer& SecondSize,
                                               Integer& FirstSize);
Integer PcbApi_QueryRuleRoutingViaStyleRule(TExchangeMode Mode, Integer Handle,
                                            Integer& HoleSize, Integer& Style,
                                            Integer& Width);
Integer PcbApi_QueryRuleRoutingLayersRule(TExchangeMode Mode, Integer Handle,
                                          TRoutingLayersBlock& Layers);
Integer PcbApi_QueryRulePowerPlaneConnectStyleRule(TExchangeMode Mode, Integer Handle,
                                                   Byte& Style, Integer& Value1,
                                                   Integer& Value2, Integer& Value3,
                                                   Integer& Value4);
Integer PcbApi_QueryRuleMaximumViaCountRule(TExchangeMode Mode, Integer Handle,
                                            Integer& Count);
