// The binding of the PCB editor's exported functions. The editor module is found
// among the modules already loaded into the process (never loaded from here), every
// name of the editor's interface gets one entry-point slot, and each function the
// module calls has one wrapper of the same name. A wrapper whose slot is empty does
// nothing and returns its default: 1 for the five status functions whose callers take
// 1 as "nothing there" (the layer-pair count, the manual from-to and the three class
// member functions), 0 or nothing for every other one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <type_traits>
#include <utility>

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

// How a wrapper's argument reaches the editor's parameter of type Param: values and
// the caller's variables go as they are.
template <class Param>
struct TPcbApiArgument {
  template <class Arg>
  static Param Pass(Arg&& Value) {
    return std::forward<Arg>(Value);
  }
};

// A text the editor only reads goes as a copy in a 256-byte buffer of its own, so that
// the editor can neither reach past the caller's text nor change it.
template <>
struct TPcbApiArgument<const PcbString&> {
  template <class Arg>
  static PcbString Pass(Arg&& Text) {
    return PcbString(std::forward<Arg>(Text));
  }
};

// A text field shorter than 255 characters lent to the editor: the editor fills a
// 256-byte buffer, which is read back into the field, cut to its capacity, once the
// call returns.
template <std::size_t Capacity>
class TPcbTextBuffer {
 public:
  explicit TPcbTextBuffer(PcbStringOf<Capacity>& Field) : FField(Field), FBuffer(Field) {}
  TPcbTextBuffer(const TPcbTextBuffer&) = delete;
  TPcbTextBuffer& operator=(const TPcbTextBuffer&) = delete;
  ~TPcbTextBuffer() { FField = FBuffer; }
  operator PcbString&() { return FBuffer; }

 private:
  PcbStringOf<Capacity>& FField;
  PcbString FBuffer;
};

// A text the editor fills: a whole PcbString goes as it is, a shorter field through a
// buffer that lives until the call has returned.
template <>
struct TPcbApiArgument<PcbString&> {
  static PcbString& Pass(PcbString& Text) { return Text; }
  template <std::size_t Capacity>
  static TPcbTextBuffer<Capacity> Pass(PcbStringOf<Capacity>& Field) {
    return TPcbTextBuffer<Capacity>(Field);
  }
};

// The wrapper of one editor function, typed by its PcbAbi type: called with the
// function's arguments, it calls the entry's slot, or, when the slot is empty, does
// nothing and gives Default.
template <TPcbApiEntry Entry, class Function, Integer Default>
struct TPcbApiWrapper;

template <TPcbApiEntry Entry, class Result, class... Params, Integer Default>
struct TPcbApiWrapper<Entry, Result PCBAPI_STD(Params...), Default> {
  template <class... Args>
    requires(sizeof...(Args) == sizeof...(Params))
  Result operator()(Args&&... Arguments) const {
    using TSlot = Result(PCBAPI_STD*)(Params...);
    const auto Slot =
        reinterpret_cast<TSlot>(reinterpret_cast<void*>(PcbApiEntryPoint(Entry)));
    if constexpr (std::is_void_v<Result>) {
      if (Slot) Slot(TPcbApiArgument<Params>::Pass(std::forward<Args>(Arguments))...);
    } else {
      if (!Slot) return Result(Default);
      return Slot(TPcbApiArgument<Params>::Pass(std::forward<Args>(Arguments))...);
    }
  }

  // The wrapper as a plain function, for callers that take a function pointer.
  using TFunction = Result(Params...);
  static Result Call(Params... Arguments) {
    return TPcbApiWrapper()(std::forward<Params>(Arguments)...);
  }
  operator TFunction*() const { return &Call; }
};

// The wrappers, one per function the module calls, each named after its export and
// taking the arguments of its PcbAbi type (a text field of any capacity where the
// editor fills a text).
#define PCBAPI_WRAPPER(Name, Default) \
  inline constexpr TPcbApiWrapper<ePcbApi_##Name, PcbAbi::Name, Default> PcbApi_##Name{};

// Iteration and the object container.
PCBAPI_WRAPPER(CreateIterator, 0)
PCBAPI_WRAPPER(GetFirstObject, 0)
PCBAPI_WRAPPER(GetNextObject, 0)
PCBAPI_WRAPPER(DestroyIterator, 0)
PCBAPI_WRAPPER(GetObjectIdFromObjectHandle, 0)
PCBAPI_WRAPPER(CreateObject, 0)
PCBAPI_WRAPPER(CreateDimensionObject, 0)
PCBAPI_WRAPPER(CreateRuleObject, 0)
PCBAPI_WRAPPER(DestroyObject, 0)
PCBAPI_WRAPPER(AddObjectToContainer, 0)
PCBAPI_WRAPPER(DeleteObjectFromContainer, 0)
PCBAPI_WRAPPER(GetBoardHandleFromFileName, 0)

// The board.
PCBAPI_WRAPPER(QueryBoard, 0)
PCBAPI_WRAPPER(QueryBoardLayerInfo, 0)
PCBAPI_WRAPPER(QueryBoardGridsEx, 0)
PCBAPI_WRAPPER(QueryBoardLayerPairsCount, 1)
PCBAPI_WRAPPER(QueryBoardLayerPairAt, 0)
PCBAPI_WRAPPER(QueryBoardOutputOptions, 0)
PCBAPI_WRAPPER(QueryBoardOutputOptionsPlotLayers, 0)
PCBAPI_WRAPPER(QueryBoardOutputOptionsFlipLayers, 0)
PCBAPI_WRAPPER(QueryBoardGerberOptions, 0)
PCBAPI_WRAPPER(QueryBoardPrinterOptions, 0)
PCBAPI_WRAPPER(QueryBoardPrinterOptionsPlotterPen, 0)
PCBAPI_WRAPPER(QueryBoardPrinterOptionsCompositeLayer, 0)
PCBAPI_WRAPPER(QueryBoardAdvancedPlacerOptions, 0)
PCBAPI_WRAPPER(QueryBoardEngineeringChangeOrderOptions, 0)
PCBAPI_WRAPPER(QueryBoardExternalDielectrics, 0)

// Layers and the layer stack.
PCBAPI_WRAPPER(QueryLayer, 0)
PCBAPI_WRAPPER(QueryInternalPlane, 0)
PCBAPI_WRAPPER(QueryLayerDielectric, 0)
PCBAPI_WRAPPER(InsertLayerInStack, 0)
PCBAPI_WRAPPER(RemoveLayerFromStack, 0)

// Every object.
PCBAPI_WRAPPER(QueryPrimitive, 0)
PCBAPI_WRAPPER(GetObjectBitField2, 0)
PCBAPI_WRAPPER(GetObjectBitField3, 0)
PCBAPI_WRAPPER(QueryObjectBoundingRectangle, 0)
PCBAPI_WRAPPER(QueryObjectImport_FromUser, 0)
PCBAPI_WRAPPER(QueryObjectGraphicallyInvalidate, 0)

// The class queries.
PCBAPI_WRAPPER(QueryTrack, 0)
PCBAPI_WRAPPER(QueryArc, 0)
PCBAPI_WRAPPER(QueryVia, 0)
PCBAPI_WRAPPER(QueryFill, 0)
PCBAPI_WRAPPER(QueryText, 0)
PCBAPI_WRAPPER(QueryPad, 0)

// Pads and vias layer by layer.
PCBAPI_WRAPPER(QueryPadStackMode, 0)
PCBAPI_WRAPPER(QueryPadOrViaShapeOnLayer, 0)
PCBAPI_WRAPPER(QueryPadOrViaSizeOnLayer, 0)
PCBAPI_WRAPPER(SetPadShapeOnLayer, 0)
PCBAPI_WRAPPER(SetPadSizeOnLayer, 0)

// Coordinates and dimensions.
PCBAPI_WRAPPER(QueryCoordinate, 0)
PCBAPI_WRAPPER(QueryDimension, 0)
PCBAPI_WRAPPER(QueryExtDimension, 0)
PCBAPI_WRAPPER(References_Count, 0)
PCBAPI_WRAPPER(References_At, 0)
PCBAPI_WRAPPER(References_Add, 0)
PCBAPI_WRAPPER(TextLocations_Count, 0)
PCBAPI_WRAPPER(TextLocations_At, 0)
PCBAPI_WRAPPER(TextLocations_Add, 0)
PCBAPI_WRAPPER(QueryLinearDimension, 0)
PCBAPI_WRAPPER(QueryBaselineDimension, 0)

// Polygons (and the board outline, which is one).
PCBAPI_WRAPPER(QueryPolygon, 0)

// Components.
PCBAPI_WRAPPER(QueryComponent, 0)
PCBAPI_WRAPPER(QueryComponentEx, 0)
PCBAPI_WRAPPER(QueryComponentSourceLinks, 0)
PCBAPI_WRAPPER(QueryComponentChannelOffset, 0)
PCBAPI_WRAPPER(QueryComponentKind, 0)

// Connections, nets and object classes.
PCBAPI_WRAPPER(QueryFromTo, 0)
PCBAPI_WRAPPER(QueryManualFromTo, 1)
PCBAPI_WRAPPER(QueryNet, 0)
PCBAPI_WRAPPER(QueryClass, 0)
PCBAPI_WRAPPER(GetMemberFromClassAt, 1)
PCBAPI_WRAPPER(AddMemberToClass, 1)
PCBAPI_WRAPPER(RemoveAllMembersFromClass, 1)

// Rules, their scopes and their constraints.
PCBAPI_WRAPPER(QueryRule, 0)
PCBAPI_WRAPPER(QueryRuleExt, 0)
PCBAPI_WRAPPER(QueryRuleExtEx, 0)
PCBAPI_WRAPPER(SetState_DeleteAllSubScopes, 0)
PCBAPI_WRAPPER(SetState_AddSubscope, 0)
PCBAPI_WRAPPER(GetState_SubScopesCount, 0)
PCBAPI_WRAPPER(GetState_SubscopeAt, 0)
PCBAPI_WRAPPER(QueryRuleClearanceConstraint, 0)
PCBAPI_WRAPPER(QueryRuleMaxMinWidthConstraintExt, 0)
PCBAPI_WRAPPER(QueryRuleRoutingCornerStyleRule, 0)
PCBAPI_WRAPPER(QueryRuleRoutingViaStyleRule, 0)
PCBAPI_WRAPPER(QueryRuleRoutingLayersRule, 0)
PCBAPI_WRAPPER(QueryRulePowerPlaneConnectStyleRule, 0)
PCBAPI_WRAPPER(QueryRuleMaximumViaCountRule, 0)

#undef PCBAPI_WRAPPER

// The three functions of the editor's register convention.
Integer PcbApi_QuerySheet(TExchangeMode Mode, Integer BoardHandle, Integer& SheetX,
                          Integer& SheetY, Integer& SheetWidth, Integer& SheetHeight,
                          Byte& Flag1, Byte& Flag2);
void PcbApi_CreateBoardOutline(Integer BoardHandle);
void PcbApi_UpdateBoardOutline(Integer BoardHandle);
