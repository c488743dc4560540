// The names of the PCB editor stand-in's PcbApi_ exports, as an X-macro over the
// names of their types in PcbAbi (pcb/PcbApiAbi.h). The editor declares its exports
// from it; tests check the built module's export table against it.
#pragma once

// Every PcbApi_ export of the editor, by the name of its type in PcbAbi.
#define MEROVAN_PCBAPI_EXPORTS(X)                                                      \
  X(CreateIterator) X(GetFirstObject) X(GetNextObject) X(DestroyIterator)              \
  X(GetObjectIdFromObjectHandle) X(CreateObject) X(CreateDimensionObject)              \
  X(CreateRuleObject) X(DestroyObject) X(AddObjectToContainer)                         \
  X(DeleteObjectFromContainer) X(GetBoardHandleFromFileName) X(QuerySheet)             \
  X(QueryBoard) X(QueryBoardLayerInfo) X(QueryBoardGridsEx)                            \
  X(QueryBoardLayerPairsCount) X(QueryBoardLayerPairAt) X(QueryBoardOutputOptions)     \
  X(QueryBoardOutputOptionsPlotLayers) X(QueryBoardOutputOptionsFlipLayers)            \
  X(QueryBoardGerberOptions) X(QueryBoardPrinterOptions)                               \
  X(QueryBoardPrinterOptionsPlotterPen) X(QueryBoardPrinterOptionsCompositeLayer)      \
  X(QueryBoardAdvancedPlacerOptions) X(QueryBoardEngineeringChangeOrderOptions)        \
  X(QueryBoardExternalDielectrics) X(CreateBoardOutline) X(UpdateBoardOutline)         \
  X(QueryLayer) X(QueryInternalPlane) X(QueryLayerDielectric) X(InsertLayerInStack)    \
  X(RemoveLayerFromStack) X(QueryPrimitive) X(GetObjectBitField2)                      \
  X(GetObjectBitField3) X(QueryObjectBoundingRectangle) X(QueryObjectImport_FromUser)  \
  X(QueryObjectGraphicallyInvalidate) X(QueryTrack) X(QueryArc) X(QueryVia)            \
  X(QueryFill) X(QueryText) X(QueryPad) X(QueryPadStackMode)                           \
  X(QueryPadOrViaShapeOnLayer) X(QueryPadOrViaSizeOnLayer) X(SetPadShapeOnLayer)       \
  X(SetPadSizeOnLayer) X(QueryCoordinate) X(QueryDimension) X(QueryExtDimension)       \
  X(References_Count) X(References_At) X(References_Add) X(TextLocations_Count)        \
  X(TextLocations_At) X(TextLocations_Add) X(QueryLinearDimension)                     \
  X(QueryBaselineDimension) X(QueryPolygon) X(QueryComponent) X(QueryComponentEx)      \
  X(QueryComponentSourceLinks) X(QueryComponentChannelOffset) X(QueryComponentKind)    \
  X(QueryFromTo) X(QueryManualFromTo) X(QueryNet) X(QueryClass)                        \
  X(GetMemberFromClassAt) X(AddMemberToClass) X(RemoveAllMembersFromClass)             \
  X(QueryRule) X(QueryRuleExt) X(QueryRuleExtEx) X(SetState_DeleteAllSubScopes)        \
  X(SetState_AddSubscope) X(GetState_SubScopesCount) X(GetState_SubscopeAt)            \
  X(QueryRuleClearanceConstraint) X(QueryRuleMaxMinWidthConstraintExt)                 \
  X(QueryRuleRoutingCornerStyleRule) X(QueryRuleRoutingViaStyleRule)                   \
  X(QueryRuleRoutingLayersRule) X(QueryRulePowerPlaneConnectStyleRule)                 \
  X(QueryRuleMaximumViaCountRule)
