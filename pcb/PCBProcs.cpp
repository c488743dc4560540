#include "pcb/PCBProcs.h"

HMODULE PcbModuleHandle = nullptr;
const char PcbModuleName[] = "Merovan.dll";

const char* const PcbApiEntryNames[PcbApiEntryCount] = {
#define PCBAPI_ENTRY_STRING(Name) #Name,
    PCBAPI_ENTRY_NAMES(PCBAPI_ENTRY_STRING)
#undef PCBAPI_ENTRY_STRING
};

namespace {

FARPROC Slots[PcbApiEntryCount] = {};

// The slot typed as the editor function it holds.
template <class Function>
Function* BoundSlot(TPcbApiEntry Entry) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(Slots[Entry]));
}

}  // namespace

void BindPcbApiProc(TPcbApiEntry Entry) {
  Slots[Entry] =
      PcbModuleHandle ? GetProcAddress(PcbModuleHandle, PcbApiEntryNames[Entry]) : nullptr;
}

void BindPcbApi() {
  PcbModuleHandle = GetModuleHandleA(PcbModuleName);
  for (int Entry = 0; Entry < PcbApiEntryCount; ++Entry)
    BindPcbApiProc(static_cast<TPcbApiEntry>(Entry));
}

void InitPcbProcs() {
  PcbModuleHandle = nullptr;
  BindPcbApi();
}

FARPROC PcbApiEntryPoint(TPcbApiEntry Entry) {
  return Entry >= 0 && Entry < PcbApiEntryCount ? Slots[Entry] : nullptr;
}

Integer PcbApi_CreateIterator(Integer BoardHandle, Byte ObjectId, Byte Method, Byte Layer) {
  auto* Slot = BoundSlot<PcbAbi::CreateIterator>(ePcbApi_CreateIterator);
  return Slot ? Slot(BoardHandle, ObjectId, Method, Layer) : 0;
}

Integer PcbApi_GetFirstObject(Integer Iterator) {
  auto* Slot = BoundSlot<PcbAbi::GetFirstObject>(ePcbApi_GetFirstObject);
  return Slot ? Slot(Iterator) : 0;
}

Integer PcbApi_GetNextObject(Integer Iterator) {
  auto* Slot = BoundSlot<PcbAbi::GetNextObject>(ePcbApi_GetNextObject);
  return Slot ? Slot(Iterator) : 0;
}

Integer PcbApi_DestroyIterator(Integer Iterator) {
  auto* Slot = BoundSlot<PcbAbi::DestroyIterator>(ePcbApi_DestroyIterator);
  return Slot ? Slot(Iterator) : 0;
}

Byte PcbApi_GetObjectIdFromObjectHandle(Integer ObjectHandle) {
  auto* Slot =
      BoundSlot<PcbAbi::GetObjectIdFromObjectHandle>(ePcbApi_GetObjectIdFromObjectHandle);
  return Slot ? Slot(ObjectHandle) : 0;
}

Integer PcbApi_CreateObject(Byte ObjectId) {
  auto* Slot = BoundSlot<PcbAbi::CreateObject>(ePcbApi_CreateObject);
  return Slot ? Slot(ObjectId) : 0;
}

Integer PcbApi_CreateDimensionObject(Byte DimensionKind) {
  auto* Slot = BoundSlot<PcbAbi::CreateDimensionObject>(ePcbApi_CreateDimensionObject);
  return Slot ? Slot(DimensionKind) : 0;
}

Integer PcbApi_CreateRuleObject(Byte RuleKind) {
  auto* Slot = BoundSlot<PcbAbi::CreateRuleObject>(ePcbApi_CreateRuleObject);
  return Slot ? Slot(RuleKind) : 0;
}

Integer PcbApi_DestroyObject(Integer ObjectHandle) {
  auto* Slot = BoundSlot<PcbAbi::DestroyObject>(ePcbApi_DestroyObject);
  return Slot ? Slot(ObjectHandle) : 0;
}

Integer PcbApi_AddObjectToContainer(Integer BoardHandle, Integer ObjectHandle) {
  auto* Slot = BoundSlot<PcbAbi::AddObjectToContainer>(ePcbApi_AddObjectToContainer);
  return Slot ? Slot(BoardHandle, ObjectHandle) : 0;
}

Integer PcbApi_DeleteObjectFromContainer(Integer BoardHandle, Integer ObjectHandle) {
  auto* Slot =
      BoundSlot<PcbAbi::DeleteObjectFromContainer>(ePcbApi_DeleteObjectFromContainer);
  return Slot ? Slot(BoardHandle, ObjectHandle) : 0;
}

Integer PcbApi_GetBoardHandleFromFileName(const PcbString& FileName) {
  auto* Slot =
      BoundSlot<PcbAbi::GetBoardHandleFromFileName>(ePcbApi_GetBoardHandleFromFileName);
  if (!Slot) return 0;
  PcbString FileNameBuffer(FileName);
  return Slot(FileNameBuffer);
}

Integer PcbApi_QuerySheet(TExchangeMode Mode, Integer BoardHandle, Integer& SheetX,
                          Integer& SheetY, Integer& SheetWidth, Integer& SheetHeight,
                          Byte& Flag1, Byte& Flag2) {
  // The editor's register convention: the stack arguments go in reverse order.
  auto* Slot = BoundSlot<PcbAbi::QuerySheet>(ePcbApi_QuerySheet);
  return Slot ? Slot(Mode, BoardHandle, SheetX, Flag2, Flag1, SheetHeight, SheetWidth,
                     SheetY)
              : 0;
}

Integer PcbApi_QueryBoard(TExchangeMode Mode, Integer BoardHandle, Integer& BoardValue1,
                          PcbString& BoardText, Byte& BoardByte1, Integer& BoardValue2,
                          Integer& BoardValue3, Integer& BoardValue4, Integer& BoardValue5,
                          Byte& BoardByte2, Byte& BoardByte3, Integer& OutlineHandle) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoard>(ePcbApi_QueryBoard);
  return Slot ? Slot(Mode, BoardHandle, BoardValue1, BoardText, BoardByte1, BoardValue2,
                     BoardValue3, BoardValue4, BoardValue5, BoardByte2, BoardByte3,
                     OutlineHandle)
              : 0;
}

Integer PcbApi_QueryBoardLayerInfo(TExchangeMode Mode, Integer BoardHandle, Byte Layer,
                                   Byte& Info1, Byte& Info2, Integer& LayerInfo) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardLayerInfo>(ePcbApi_QueryBoardLayerInfo);
  return Slot ? Slot(Mode, BoardHandle, Layer, Info1, Info2, LayerInfo) : 0;
}

Integer PcbApi_QueryBoardGridsEx(TExchangeMode Mode, Integer BoardHandle, Byte& GridByte4,
                                 Byte& GridByte1, Byte& GridByte2, Byte& GridByte3,
                                 double& GridValue1, double& GridValue2, double& GridValue3,
                                 double& GridValue4, Integer& GridValue8, Byte& GridByte5,
                                 double& GridSize, double& GridValue5, double& GridValue6,
                                 double& GridValue7) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardGridsEx>(ePcbApi_QueryBoardGridsEx);
  return Slot ? Slot(Mode, BoardHandle, GridByte4, GridByte1, GridByte2, GridByte3,
                     GridValue1, GridValue2, GridValue3, GridValue4, GridValue8, GridByte5,
                     GridSize, GridValue5, GridValue6, GridValue7)
              : 0;
}

Integer PcbApi_QueryBoardLayerPairsCount(Integer BoardHandle, Integer& Count) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryBoardLayerPairsCount>(ePcbApi_QueryBoardLayerPairsCount);
  return Slot ? Slot(BoardHandle, Count) : Integer(1);
}

Integer PcbApi_QueryBoardLayerPairAt(TExchangeMode Mode, Integer BoardHandle, Integer Index,
                                     Byte& Layer1, Byte& Layer2, Byte& PairByte2,
                                     Byte& PairByte1) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardLayerPairAt>(ePcbApi_QueryBoardLayerPairAt);
  return Slot ? Slot(Mode, BoardHandle, Index, Layer1, Layer2, PairByte2, PairByte1) : 0;
}

Integer PcbApi_QueryBoardOutputOptions(
    TExchangeMode Mode, Integer BoardHandle, Integer& OutputValue1, Integer& OutputValue2,
    Byte& OutputByte1, Byte& OutputByte2, Byte& OutputByte3, Byte& OutputByte4,
    Byte& OutputByte5, Byte& OutputByte6, Byte& OutputByte7, Byte& OutputByte8,
    Byte& OutputByte9, Byte& OutputByte10, Byte& OutputByte11, Byte& OutputByte12,
    Byte& OutputByte13, Byte& OutputByte14, Byte& OutputByte15, Byte& OutputByte16,
    Byte& OutputByte17, Byte& OutputByte18, Byte& OutputByte19, Byte& OutputByte20,
    Byte& OutputByte21, Byte& OutputByte22) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardOutputOptions>(ePcbApi_QueryBoardOutputOptions);
  return Slot
             ? Slot(Mode, BoardHandle, OutputValue1, OutputValue2, OutputByte1, OutputByte2,
                    OutputByte3, OutputByte4, OutputByte5, OutputByte6, OutputByte7,
                    OutputByte8, OutputByte9, OutputByte10, OutputByte11, OutputByte12,
                    OutputByte13, OutputByte14, OutputByte15, OutputByte16, OutputByte17,
                    OutputByte18, OutputByte19, OutputByte20, OutputByte21, OutputByte22)
             : 0;
}

Integer PcbApi_QueryBoardOutputOptionsPlotLayers(TExchangeMode Mode, Integer BoardHandle,
                                                 Byte Layer, Byte& PlotLayer) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardOutputOptionsPlotLayers>(
      ePcbApi_QueryBoardOutputOptionsPlotLayers);
  return Slot ? Slot(Mode, BoardHandle, Layer, PlotLayer) : 0;
}

Integer PcbApi_QueryBoardOutputOptionsFlipLayers(TExchangeMode Mode, Integer BoardHandle,
                                                 Byte Layer, Byte& FlipLayer) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardOutputOptionsFlipLayers>(
      ePcbApi_QueryBoardOutputOptionsFlipLayers);
  return Slot ? Slot(Mode, BoardHandle, Layer, FlipLayer) : 0;
}

Integer PcbApi_QueryBoardGerberOptions(
    TExchangeMode Mode, Integer BoardHandle, Byte& GerberByte1, Byte& GerberByte2,
    Byte& GerberByte3, Byte& GerberByte4, Byte& GerberByte7, Byte& GerberByte5,
    Byte& GerberByte6, Integer& GerberValue1, Integer& GerberValue2, Integer& GerberValue3,
    Integer& GerberValue4, Integer& GerberValue5, PcbString& GerberText,
    Integer& GerberValue6, Byte& GerberByte8, Byte& GerberByte9, Integer& GerberValue7,
    Integer& GerberValue8) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardGerberOptions>(ePcbApi_QueryBoardGerberOptions);
  return Slot ? Slot(Mode, BoardHandle, GerberByte1, GerberByte2, GerberByte3, GerberByte4,
                     GerberByte7, GerberByte5, GerberByte6, GerberValue1, GerberValue2,
                     GerberValue3, GerberValue4, GerberValue5, GerberText, GerberValue6,
                     GerberByte8, GerberByte9, GerberValue7, GerberValue8)
              : 0;
}

Integer PcbApi_QueryBoardPrinterOptions(
    TExchangeMode Mode, Integer BoardHandle, PcbString& PrinterText1,
    PcbString& PrinterText2, PcbString& PrinterText3, Byte& PrinterByte1,
    Byte& PrinterByte2, Byte& PrinterByte3, Byte& PrinterByte4, Byte& PrinterByte5,
    Byte& PrinterByte6, Integer& PrinterValue1, TPcbWide& PrinterWide1,
    TPcbWide& PrinterWide2, TPcbWide& PrinterWide3, TPrinterBlock& PrinterBlock,
    Byte& PrinterByte7, Byte& PrinterByte8, TPcbWide& PrinterWide4, TPcbWide& PrinterWide5,
    TPcbWide& PrinterWide6, Integer& PrinterValue2, Integer& PrinterValue3,
    Byte& PrinterByte9, Byte& PrinterByte10, Byte& PrinterByte11, Byte& PrinterByte12,
    Byte& PrinterByte13) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryBoardPrinterOptions>(ePcbApi_QueryBoardPrinterOptions);
  return Slot ? Slot(Mode, BoardHandle, PrinterText1, PrinterText2, PrinterText3,
                     PrinterByte1, PrinterByte2, PrinterByte3, PrinterByte4, PrinterByte5,
                     PrinterByte6, PrinterValue1, PrinterWide1, PrinterWide2, PrinterWide3,
                     PrinterBlock, PrinterByte7, PrinterByte8, PrinterWide4, PrinterWide5,
                     PrinterWide6, PrinterValue2, PrinterValue3, PrinterByte9,
                     PrinterByte10, PrinterByte11, PrinterByte12, PrinterByte13)
              : 0;
}

Integer PcbApi_QueryBoardPrinterOptionsPlotterPen(TExchangeMode Mode, Integer BoardHandle,
                                                  Integer PenIndex, Integer& PenValue1,
                                                  Integer& PenValue2) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardPrinterOptionsPlotterPen>(
      ePcbApi_QueryBoardPrinterOptionsPlotterPen);
  return Slot ? Slot(Mode, BoardHandle, PenIndex, PenValue1, PenValue2) : 0;
}

Integer PcbApi_QueryBoardPrinterOptionsCompositeLayer(
    TExchangeMode Mode, Integer BoardHandle, Byte Layer, Integer& CompositeValue1,
    Integer& CompositeValue2, Byte& CompositeByte, Integer& CompositeValue3) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardPrinterOptionsCompositeLayer>(
      ePcbApi_QueryBoardPrinterOptionsCompositeLayer);
  return Slot ? Slot(Mode, BoardHandle, Layer, CompositeValue1, CompositeValue2,
                     CompositeByte, CompositeValue3)
              : 0;
}

Integer PcbApi_QueryBoardAdvancedPlacerOptions(TExchangeMode Mode, Integer BoardHandle,
                                               PcbString& PlacerText1,
                                               PcbString& PlacerText2, Byte& PlacerByte1,
                                               Byte& PlacerByte2, Byte& PlacerByte3,
                                               Byte& PlacerByte4) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardAdvancedPlacerOptions>(
      ePcbApi_QueryBoardAdvancedPlacerOptions);
  return Slot ? Slot(Mode, BoardHandle, PlacerText1, PlacerText2, PlacerByte1, PlacerByte2,
                     PlacerByte3, PlacerByte4)
              : 0;
}

Integer PcbApi_QueryBoardEngineeringChangeOrderOptions(TExchangeMode Mode,
                                                       Integer BoardHandle, Byte& EcoByte,
                                                       PcbString& EcoText) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardEngineeringChangeOrderOptions>(
      ePcbApi_QueryBoardEngineeringChangeOrderOptions);
  return Slot ? Slot(Mode, BoardHandle, EcoByte, EcoText) : 0;
}

Integer PcbApi_QueryBoardExternalDielectrics(TExchangeMode Mode, Integer BoardHandle,
                                             PcbString& TopMaterial, Byte& TopType,
                                             double& TopConstant, Integer& TopHeight,
                                             PcbString& BottomMaterial, Byte& BottomType,
                                             double& BottomConstant,
                                             Integer& BottomHeight) {
  auto* Slot = BoundSlot<PcbAbi::QueryBoardExternalDielectrics>(
      ePcbApi_QueryBoardExternalDielectrics);
  return Slot ? Slot(Mode, BoardHandle, TopMaterial, TopType, TopConstant, TopHeight,
                     BottomMaterial, BottomType, BottomConstant, BottomHeight)
              : 0;
}

void PcbApi_CreateBoardOutline(Integer BoardHandle) {
  auto* Slot = BoundSlot<PcbAbi::CreateBoardOutline>(ePcbApi_CreateBoardOutline);
  if (Slot) Slot(BoardHandle);
}

void PcbApi_UpdateBoardOutline(Integer BoardHandle) {
  auto* Slot = BoundSlot<PcbAbi::UpdateBoardOutline>(ePcbApi_UpdateBoardOutline);
  if (Slot) Slot(BoardHandle);
}

Integer PcbApi_QueryLayer(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                          PcbString& Name, Integer& CopperThickness, Byte& LayerState1,
                          Byte& LayerState2, Byte& PreviousLayer, Byte& NextLayer,
                          Byte& LayerState3) {
  auto* Slot = BoundSlot<PcbAbi::QueryLayer>(ePcbApi_QueryLayer);
  return Slot ? Slot(Mode, Layer, BoardHandle, Name, CopperThickness, LayerState1,
                     LayerState2, PreviousLayer, NextLayer, LayerState3)
              : 0;
}

Integer PcbApi_QueryInternalPlane(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                                  PcbString& Name, Integer& CopperThickness,
                                  Byte& LayerState1, Byte& LayerState2, Byte& PreviousLayer,
                                  Byte& NextLayer, PcbString& NetName) {
  auto* Slot = BoundSlot<PcbAbi::QueryInternalPlane>(ePcbApi_QueryInternalPlane);
  return Slot ? Slot(Mode, Layer, BoardHandle, Name, CopperThickness, LayerState1,
                     LayerState2, PreviousLayer, NextLayer, NetName)
              : 0;
}

Integer PcbApi_QueryLayerDielectric(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                                    PcbString& Material, Byte& Type, double& Constant,
                                    Integer& Height) {
  auto* Slot = BoundSlot<PcbAbi::QueryLayerDielectric>(ePcbApi_QueryLayerDielectric);
  return Slot ? Slot(Mode, Layer, BoardHandle, Material, Type, Constant, Height) : 0;
}

Integer PcbApi_InsertLayerInStack(Integer BoardHandle, Byte Layer, Byte ReferenceLayer) {
  auto* Slot = BoundSlot<PcbAbi::InsertLayerInStack>(ePcbApi_InsertLayerInStack);
  return Slot ? Slot(BoardHandle, Layer, ReferenceLayer) : 0;
}

Integer PcbApi_RemoveLayerFromStack(Integer BoardHandle, Byte Layer) {
  auto* Slot = BoundSlot<PcbAbi::RemoveLayerFromStack>(ePcbApi_RemoveLayerFromStack);
  return Slot ? Slot(BoardHandle, Layer) : 0;
}

Integer PcbApi_QueryPrimitive(TExchangeMode Mode, Integer Handle, Word& Flags,
                              Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                              Integer& HeaderValue2, Byte& HeaderByte) {
  auto* Slot = BoundSlot<PcbAbi::QueryPrimitive>(ePcbApi_QueryPrimitive);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderValue2,
                     HeaderByte)
              : 0;
}

void PcbApi_GetObjectBitField2(TExchangeMode Mode, Integer Handle, Byte& BitField2) {
  auto* Slot = BoundSlot<PcbAbi::GetObjectBitField2>(ePcbApi_GetObjectBitField2);
  if (Slot) Slot(Mode, Handle, BitField2);
}

void PcbApi_GetObjectBitField3(TExchangeMode Mode, Integer Handle, Byte& BitField3) {
  auto* Slot = BoundSlot<PcbAbi::GetObjectBitField3>(ePcbApi_GetObjectBitField3);
  if (Slot) Slot(Mode, Handle, BitField3);
}

Integer PcbApi_QueryObjectBoundingRectangle(Integer Handle, Integer& Left, Integer& Bottom,
                                            Integer& Right, Integer& Top) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryObjectBoundingRectangle>(ePcbApi_QueryObjectBoundingRectangle);
  return Slot ? Slot(Handle, Left, Bottom, Right, Top) : 0;
}

Integer PcbApi_QueryObjectImport_FromUser(Integer Handle) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryObjectImport_FromUser>(ePcbApi_QueryObjectImport_FromUser);
  return Slot ? Slot(Handle) : 0;
}

Integer PcbApi_QueryObjectGraphicallyInvalidate(Integer Handle) {
  auto* Slot = BoundSlot<PcbAbi::QueryObjectGraphicallyInvalidate>(
      ePcbApi_QueryObjectGraphicallyInvalidate);
  return Slot ? Slot(Handle) : 0;
}

Integer PcbApi_QueryTrack(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                          Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                          Integer& HeaderValue2, Integer& X, Integer& Y, Integer& X2,
                          Integer& Y2, Integer& Width, Integer& ExtraValue1,
                          Integer& ExtraValue2, Integer& ExtraValue3) {
  auto* Slot = BoundSlot<PcbAbi::QueryTrack>(ePcbApi_QueryTrack);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                     HeaderValue2, X, Y, X2, Y2, Width, ExtraValue1, ExtraValue2,
                     ExtraValue3)
              : 0;
}

Integer PcbApi_QueryArc(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                        Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                        Integer& HeaderValue2, Integer& X, Integer& Y, Integer& Radius,
                        double& StartAngle, double& EndAngle, Integer& LineWidth,
                        Integer& ExtraValue1) {
  auto* Slot = BoundSlot<PcbAbi::QueryArc>(ePcbApi_QueryArc);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                     HeaderValue2, X, Y, Radius, StartAngle, EndAngle, LineWidth,
                     ExtraValue1)
              : 0;
}

Integer PcbApi_QueryVia(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                        Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                        Integer& HeaderValue2, Integer& X, Integer& Y, Integer& Size,
                        Integer& HoleSize, Byte& ViaByte1, Byte& ViaByte2) {
  auto* Slot = BoundSlot<PcbAbi::QueryVia>(ePcbApi_QueryVia);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                     HeaderValue2, X, Y, Size, HoleSize, ViaByte1, ViaByte2)
              : 0;
}

Integer PcbApi_QueryFill(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                         Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                         Integer& HeaderValue2, Integer& X, Integer& Y, Integer& X2,
                         Integer& Y2, Integer& ExtraValue1, double& Rotation) {
  auto* Slot = BoundSlot<PcbAbi::QueryFill>(ePcbApi_QueryFill);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                     HeaderValue2, X, Y, X2, Y2, ExtraValue1, Rotation)
              : 0;
}

Integer PcbApi_QueryText(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                         Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                         Integer& HeaderValue2, Integer& X, Integer& Y, Integer& Size,
                         Integer& TextValue, double& Rotation, Byte& TextFlag,
                         PcbStringOf<254>& Text, Integer& Width, Integer& ExtraValue2,
                         Integer& ExtraValue3) {
  auto* Slot = BoundSlot<PcbAbi::QueryText>(ePcbApi_QueryText);
  if (!Slot) return 0;
  PcbString TextBuffer(Text);
  const Integer Result = Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1,
                              HeaderByte, HeaderValue2, X, Y, Size, TextValue, Rotation,
                              TextFlag, TextBuffer, Width, ExtraValue2, ExtraValue3);
  Text = TextBuffer;
  return Result;
}

Integer PcbApi_QueryPad(TExchangeMode Mode, Integer Handle, Word& Flags, Word& HeaderWord,
                        Byte& Layer, Integer& HeaderValue1, Byte& HeaderByte,
                        Integer& HeaderValue2, Integer& X, Integer& Y, Integer& PadSize1,
                        Integer& PadSize2, Integer& PadSize3, Integer& PadSize4,
                        Integer& PadSize5, Integer& PadSize6, Integer& HoleSize,
                        Byte& PadByte1, Byte& PadByte2, Byte& PadByte3,
                        PcbStringOf<20>& Name, Byte& PadByte4, Byte& PadByte5,
                        double& Rotation) {
  auto* Slot = BoundSlot<PcbAbi::QueryPad>(ePcbApi_QueryPad);
  if (!Slot) return 0;
  PcbString NameBuffer(Name);
  const Integer Result =
      Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte, HeaderValue2,
           X, Y, PadSize1, PadSize2, PadSize3, PadSize4, PadSize5, PadSize6, HoleSize,
           PadByte1, PadByte2, PadByte3, NameBuffer, PadByte4, PadByte5, Rotation);
  Name = NameBuffer;
  return Result;
}

Integer PcbApi_QueryPadStackMode(TExchangeMode Mode, Integer Handle, Byte& StackMode) {
  auto* Slot = BoundSlot<PcbAbi::QueryPadStackMode>(ePcbApi_QueryPadStackMode);
  return Slot ? Slot(Mode, Handle, StackMode) : 0;
}

Integer PcbApi_QueryPadOrViaShapeOnLayer(Integer Handle, Byte Layer, Byte& Shape) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryPadOrViaShapeOnLayer>(ePcbApi_QueryPadOrViaShapeOnLayer);
  return Slot ? Slot(Handle, Layer, Shape) : 0;
}

Integer PcbApi_QueryPadOrViaSizeOnLayer(Integer Handle, Byte Layer, Integer& XSize,
                                        Integer& YSize) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryPadOrViaSizeOnLayer>(ePcbApi_QueryPadOrViaSizeOnLayer);
  return Slot ? Slot(Handle, Layer, XSize, YSize) : 0;
}

Integer PcbApi_SetPadShapeOnLayer(Integer Handle, Byte Layer, Byte Shape) {
  auto* Slot = BoundSlot<PcbAbi::SetPadShapeOnLayer>(ePcbApi_SetPadShapeOnLayer);
  return Slot ? Slot(Handle, Layer, Shape) : 0;
}

Integer PcbApi_SetPadSizeOnLayer(Integer Handle, Byte Layer, Integer XSize, Integer YSize) {
  auto* Slot = BoundSlot<PcbAbi::SetPadSizeOnLayer>(ePcbApi_SetPadSizeOnLayer);
  return Slot ? Slot(Handle, Layer, XSize, YSize) : 0;
}

Integer PcbApi_QueryCoordinate(TExchangeMode Mode, Integer Handle, Word& Flags,
                               Word& HeaderWord, Byte& HeaderByte, Integer& X, Integer& Y,
                               Byte& Layer, Integer& CoordValue1, Integer& CoordValue2,
                               Integer& CoordValue3, Integer& CoordValue4,
                               Integer& CoordValue5, Integer& CoordValue6) {
  auto* Slot = BoundSlot<PcbAbi::QueryCoordinate>(ePcbApi_QueryCoordinate);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, HeaderByte, X, Y, Layer, CoordValue1,
                     CoordValue2, CoordValue3, CoordValue4, CoordValue5, CoordValue6)
              : 0;
}

Integer PcbApi_QueryDimension(TExchangeMode Mode, Integer Handle, Word& Flags,
                              Word& HeaderWord, Byte& HeaderByte, Integer& X, Integer& Y,
                              Integer& DimValue3, Integer& DimValue4, Byte& Layer,
                              Integer& DimValue5, Integer& DimValue6, Integer& DimValue7,
                              Integer& DimValue8, Integer& DimValue9, Integer& DimValue19) {
  auto* Slot = BoundSlot<PcbAbi::QueryDimension>(ePcbApi_QueryDimension);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, HeaderByte, X, Y, DimValue3,
                     DimValue4, Layer, DimValue5, DimValue6, DimValue7, DimValue8,
                     DimValue9, DimValue19)
              : 0;
}

Integer PcbApi_QueryExtDimension(TExchangeMode Mode, Integer Handle, Byte& DimensionKind,
                                 Integer& DimValue1, Integer& DimValue2,
                                 Integer& DimValue10, Byte& DimByte1, Integer& DimValue11,
                                 PcbString& DimText1, Byte& DimByte2, Integer& DimValue12,
                                 PcbString& DimText2, PcbString& DimText3,
                                 TPcbWide& DimWide, Integer& DimValue13,
                                 Integer& DimValue14, Integer& DimValue15, Byte& DimByte3,
                                 Integer& DimValue16, Integer& DimValue17,
                                 Integer& DimValue18) {
  auto* Slot = BoundSlot<PcbAbi::QueryExtDimension>(ePcbApi_QueryExtDimension);
  return Slot ? Slot(Mode, Handle, DimensionKind, DimValue1, DimValue2, DimValue10,
                     DimByte1, DimValue11, DimText1, DimByte2, DimValue12, DimText2,
                     DimText3, DimWide, DimValue13, DimValue14, DimValue15, DimByte3,
                     DimValue16, DimValue17, DimValue18)
              : 0;
}

Integer PcbApi_References_Count(Integer Handle, Integer& Count) {
  auto* Slot = BoundSlot<PcbAbi::References_Count>(ePcbApi_References_Count);
  return Slot ? Slot(Handle, Count) : 0;
}

Integer PcbApi_References_At(TExchangeMode Mode, Integer Handle, Integer Index,
                             Integer& RefValue1, Integer& RefValue2, Integer& RefValue3,
                             Integer& RefValue4) {
  auto* Slot = BoundSlot<PcbAbi::References_At>(ePcbApi_References_At);
  return Slot ? Slot(Mode, Handle, Index, RefValue1, RefValue2, RefValue3, RefValue4) : 0;
}

Integer PcbApi_References_Add(Integer Handle, Integer RefValue1, Integer RefValue2,
                              Integer RefValue3, Integer RefValue4) {
  auto* Slot = BoundSlot<PcbAbi::References_Add>(ePcbApi_References_Add);
  return Slot ? Slot(Handle, RefValue1, RefValue2, RefValue3, RefValue4) : 0;
}

Integer PcbApi_TextLocations_Count(Integer Handle, Integer& Count) {
  auto* Slot = BoundSlot<PcbAbi::TextLocations_Count>(ePcbApi_TextLocations_Count);
  return Slot ? Slot(Handle, Count) : 0;
}

Integer PcbApi_TextLocations_At(TExchangeMode Mode, Integer Handle, Integer Index,
                                Integer& X, Integer& Y) {
  auto* Slot = BoundSlot<PcbAbi::TextLocations_At>(ePcbApi_TextLocations_At);
  return Slot ? Slot(Mode, Handle, Index, X, Y) : 0;
}

Integer PcbApi_TextLocations_Add(Integer Handle, Integer X, Integer Y) {
  auto* Slot = BoundSlot<PcbAbi::TextLocations_Add>(ePcbApi_TextLocations_Add);
  return Slot ? Slot(Handle, X, Y) : 0;
}

Integer PcbApi_QueryLinearDimension(TExchangeMode Mode, Integer Handle,
                                    double& LinearValue) {
  auto* Slot = BoundSlot<PcbAbi::QueryLinearDimension>(ePcbApi_QueryLinearDimension);
  return Slot ? Slot(Mode, Handle, LinearValue) : 0;
}

Integer PcbApi_QueryBaselineDimension(TExchangeMode Mode, Integer Handle,
                                      double& BaselineValue) {
  auto* Slot = BoundSlot<PcbAbi::QueryBaselineDimension>(ePcbApi_QueryBaselineDimension);
  return Slot ? Slot(Mode, Handle, BaselineValue) : 0;
}

Integer PcbApi_QueryPolygon(TExchangeMode Mode, Integer Handle, Word& Flags,
                            Word& HeaderWord, Byte& Layer, Integer& HeaderValue1,
                            Byte& HeaderByte, Byte& PolygonByte2, Byte& PolygonByte3,
                            Byte& PolygonByte4, Integer& PolygonValue1,
                            Integer& PolygonValue2, Byte& PolygonByte5, Byte& PolygonByte6,
                            Integer& PolygonValue3, Byte& PolygonByte1,
                            Integer& SegmentCount, TPolySegments& Segments) {
  auto* Slot = BoundSlot<PcbAbi::QueryPolygon>(ePcbApi_QueryPolygon);
  return Slot ? Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                     PolygonByte2, PolygonByte3, PolygonByte4, PolygonValue1, PolygonValue2,
                     PolygonByte5, PolygonByte6, PolygonValue3, PolygonByte1, SegmentCount,
                     Segments)
              : 0;
}

Integer PcbApi_QueryComponent(TExchangeMode Mode, Integer Handle, Word& Flags,
                              Word& HeaderWord, Byte& Layer, Byte& HeaderByte,
                              Integer& NameHandle, Integer& ComponentValue0,
                              PcbStringOf<250>& ComponentText, Byte& ComponentByte1,
                              Byte& ComponentByte2, Integer& X, Integer& Y,
                              Integer& ComponentValue1, double& Rotation,
                              Byte& ComponentByte3) {
  auto* Slot = BoundSlot<PcbAbi::QueryComponent>(ePcbApi_QueryComponent);
  if (!Slot) return 0;
  PcbString ComponentTextBuffer(ComponentText);
  const Integer Result =
      Slot(Mode, Handle, Flags, HeaderWord, Layer, HeaderByte, NameHandle, ComponentValue0,
           ComponentTextBuffer, ComponentByte1, ComponentByte2, X, Y, ComponentValue1,
           Rotation, ComponentByte3);
  ComponentText = ComponentTextBuffer;
  return Result;
}

Integer PcbApi_QueryComponentEx(TExchangeMode Mode, Integer Handle,
                                Integer& ComponentValue2, Byte& ComponentByte4,
                                Byte& ComponentByte5, Integer& ComponentValue3) {
  auto* Slot = BoundSlot<PcbAbi::QueryComponentEx>(ePcbApi_QueryComponentEx);
  return Slot ? Slot(Mode, Handle, ComponentValue2, ComponentByte4, ComponentByte5,
                     ComponentValue3)
              : 0;
}

Integer PcbApi_QueryComponentSourceLinks(TExchangeMode Mode, Integer Handle,
                                         PcbString& SourceLink1, PcbString& SourceLink2,
                                         PcbString& SourceLink3, PcbString& SourceLink4,
                                         PcbString& SourceLink5, PcbString& SourceLink6,
                                         PcbString& SourceLink7) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryComponentSourceLinks>(ePcbApi_QueryComponentSourceLinks);
  return Slot ? Slot(Mode, Handle, SourceLink1, SourceLink2, SourceLink3, SourceLink4,
                     SourceLink5, SourceLink6, SourceLink7)
              : 0;
}

Integer PcbApi_QueryComponentChannelOffset(TExchangeMode Mode, Integer Handle,
                                           Integer& ChannelOffset) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryComponentChannelOffset>(ePcbApi_QueryComponentChannelOffset);
  return Slot ? Slot(Mode, Handle, ChannelOffset) : 0;
}

Integer PcbApi_QueryComponentKind(TExchangeMode Mode, Integer Handle, Byte& Kind) {
  auto* Slot = BoundSlot<PcbAbi::QueryComponentKind>(ePcbApi_QueryComponentKind);
  return Slot ? Slot(Mode, Handle, Kind) : 0;
}

Integer PcbApi_QueryFromTo(TExchangeMode Mode, Integer Handle, Word& HeaderWord, Integer& X,
                           Integer& Y, Byte& FromToByte1, Integer& X2, Integer& Y2,
                           Byte& FromToByte2, Integer& HeaderValue1) {
  auto* Slot = BoundSlot<PcbAbi::QueryFromTo>(ePcbApi_QueryFromTo);
  return Slot ? Slot(Mode, Handle, HeaderWord, X, Y, FromToByte1, X2, Y2, FromToByte2,
                     HeaderValue1)
              : 0;
}

Integer PcbApi_QueryManualFromTo(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                                 PcbString& ManualText1, PcbString& ManualText2,
                                 PcbString& ManualText3, Integer& ManualValue) {
  auto* Slot = BoundSlot<PcbAbi::QueryManualFromTo>(ePcbApi_QueryManualFromTo);
  return Slot ? Slot(Mode, Handle, HeaderWord, ManualText1, ManualText2, ManualText3,
                     ManualValue)
              : Integer(1);
}

Integer PcbApi_QueryNet(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                        PcbString& Name, Byte& NetByte, Integer& NetValue) {
  auto* Slot = BoundSlot<PcbAbi::QueryNet>(ePcbApi_QueryNet);
  return Slot ? Slot(Mode, Handle, HeaderWord, Name, NetByte, NetValue) : 0;
}

Integer PcbApi_QueryClass(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                          Byte& ClassByte1, Byte& ClassByte2, PcbString& Name) {
  auto* Slot = BoundSlot<PcbAbi::QueryClass>(ePcbApi_QueryClass);
  return Slot ? Slot(Mode, Handle, HeaderWord, ClassByte1, ClassByte2, Name) : 0;
}

Integer PcbApi_GetMemberFromClassAt(Integer ClassHandle, Integer Index,
                                    PcbString& MemberName) {
  auto* Slot = BoundSlot<PcbAbi::GetMemberFromClassAt>(ePcbApi_GetMemberFromClassAt);
  return Slot ? Slot(ClassHandle, Index, MemberName) : Integer(1);
}

Integer PcbApi_AddMemberToClass(Integer ClassHandle, const PcbString& MemberName) {
  auto* Slot = BoundSlot<PcbAbi::AddMemberToClass>(ePcbApi_AddMemberToClass);
  if (!Slot) return 1;
  PcbString MemberNameBuffer(MemberName);
  return Slot(ClassHandle, MemberNameBuffer);
}

Integer PcbApi_RemoveAllMembersFromClass(Integer ClassHandle) {
  auto* Slot =
      BoundSlot<PcbAbi::RemoveAllMembersFromClass>(ePcbApi_RemoveAllMembersFromClass);
  return Slot ? Slot(ClassHandle) : Integer(1);
}

Integer PcbApi_QueryRule(TExchangeMode Mode, Integer Handle, Byte& RuleKind,
                         Byte& RuleByte1, Byte& RuleByte2, Byte& RuleByte3, Byte& RuleByte4,
                         Byte& RuleByte5, Byte& RuleByte6, PcbString& RuleText1,
                         PcbString& RuleText2, PcbString& RuleText3, PcbString& RuleText4,
                         Byte& RuleByte7, Byte& RuleByte8, Integer& RuleValue1,
                         Integer& RuleValue2, Integer& RuleValue3, Integer& RuleValue4,
                         PcbString& RuleText5, PcbString& RuleText6, PcbString& RuleText7,
                         PcbString& RuleText8, PcbString& RuleText9,
                         PcbString& RuleText10) {
  auto* Slot = BoundSlot<PcbAbi::QueryRule>(ePcbApi_QueryRule);
  return Slot ? Slot(Mode, Handle, RuleKind, RuleByte1, RuleByte2, RuleByte3, RuleByte4,
                     RuleByte5, RuleByte6, RuleText1, RuleText2, RuleText3, RuleText4,
                     RuleByte7, RuleByte8, RuleValue1, RuleValue2, RuleValue3, RuleValue4,
                     RuleText5, RuleText6, RuleText7, RuleText8, RuleText9, RuleText10)
              : 0;
}

Integer PcbApi_QueryRuleExt(TExchangeMode Mode, Integer Handle, Byte& RuleKind,
                            Byte& RuleExtByte1, Byte& RuleExtByte2) {
  auto* Slot = BoundSlot<PcbAbi::QueryRuleExt>(ePcbApi_QueryRuleExt);
  return Slot ? Slot(Mode, Handle, RuleKind, RuleExtByte1, RuleExtByte2) : 0;
}

Integer PcbApi_QueryRuleExtEx(TExchangeMode Mode, Integer Handle, PcbString& Name) {
  auto* Slot = BoundSlot<PcbAbi::QueryRuleExtEx>(ePcbApi_QueryRuleExtEx);
  return Slot ? Slot(Mode, Handle, Name) : 0;
}

void PcbApi_SetState_DeleteAllSubScopes(Integer RuleHandle, Byte ScopeIndex) {
  auto* Slot =
      BoundSlot<PcbAbi::SetState_DeleteAllSubScopes>(ePcbApi_SetState_DeleteAllSubScopes);
  if (Slot) Slot(RuleHandle, ScopeIndex);
}

void PcbApi_SetState_AddSubscope(Integer RuleHandle, Byte ScopeIndex, Byte Kind,
                                 const PcbString& Name, Byte SubByte1, Byte SubByte2,
                                 Integer SubValue1, Integer SubValue2, Integer SubValue3,
                                 Integer SubValue4) {
  auto* Slot = BoundSlot<PcbAbi::SetState_AddSubscope>(ePcbApi_SetState_AddSubscope);
  if (!Slot) return;
  PcbString NameBuffer(Name);
  Slot(RuleHandle, ScopeIndex, Kind, NameBuffer, SubByte1, SubByte2, SubValue1, SubValue2,
       SubValue3, SubValue4);
}

Integer PcbApi_GetState_SubScopesCount(Integer RuleHandle, Byte ScopeIndex) {
  auto* Slot = BoundSlot<PcbAbi::GetState_SubScopesCount>(ePcbApi_GetState_SubScopesCount);
  return Slot ? Slot(RuleHandle, ScopeIndex) : 0;
}

void PcbApi_GetState_SubscopeAt(Integer RuleHandle, Byte ScopeIndex, Integer Index,
                                Byte& Kind, PcbString& Name, Byte& SubByte1, Byte& SubByte2,
                                Integer& SubValue1, Integer& SubValue2, Integer& SubValue3,
                                Integer& SubValue4) {
  auto* Slot = BoundSlot<PcbAbi::GetState_SubscopeAt>(ePcbApi_GetState_SubscopeAt);
  if (Slot)
    Slot(RuleHandle, ScopeIndex, Index, Kind, Name, SubByte1, SubByte2, SubValue1,
         SubValue2, SubValue3, SubValue4);
}

Integer PcbApi_QueryRuleClearanceConstraint(TExchangeMode Mode, Integer Handle,
                                            Integer& Gap) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryRuleClearanceConstraint>(ePcbApi_QueryRuleClearanceConstraint);
  return Slot ? Slot(Mode, Handle, Gap) : 0;
}

Integer PcbApi_QueryRuleMaxMinWidthConstraintExt(TExchangeMode Mode, Integer Handle,
                                                 Integer& MinWidth, Integer& MaxWidth,
                                                 Integer& PreferredWidth) {
  auto* Slot = BoundSlot<PcbAbi::QueryRuleMaxMinWidthConstraintExt>(
      ePcbApi_QueryRuleMaxMinWidthConstraintExt);
  return Slot ? Slot(Mode, Handle, MinWidth, MaxWidth, PreferredWidth) : 0;
}

Integer PcbApi_QueryRuleRoutingCornerStyleRule(TExchangeMode Mode, Integer Handle,
                                               Byte& Style, Integer& SecondSize,
                                               Integer& FirstSize) {
  auto* Slot = BoundSlot<PcbAbi::QueryRuleRoutingCornerStyleRule>(
      ePcbApi_QueryRuleRoutingCornerStyleRule);
  return Slot ? Slot(Mode, Handle, Style, SecondSize, FirstSize) : 0;
}

Integer PcbApi_QueryRuleRoutingViaStyleRule(TExchangeMode Mode, Integer Handle,
                                            Integer& HoleSize, Integer& Style,
                                            Integer& Width) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryRuleRoutingViaStyleRule>(ePcbApi_QueryRuleRoutingViaStyleRule);
  return Slot ? Slot(Mode, Handle, HoleSize, Style, Width) : 0;
}

Integer PcbApi_QueryRuleRoutingLayersRule(TExchangeMode Mode, Integer Handle,
                                          TRoutingLayersBlock& Layers) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryRuleRoutingLayersRule>(ePcbApi_QueryRuleRoutingLayersRule);
  return Slot ? Slot(Mode, Handle, Layers) : 0;
}

Integer PcbApi_QueryRulePowerPlaneConnectStyleRule(TExchangeMode Mode, Integer Handle,
                                                   Byte& Style, Integer& Value1,
                                                   Integer& Value2, Integer& Value3,
                                                   Integer& Value4) {
  auto* Slot = BoundSlot<PcbAbi::QueryRulePowerPlaneConnectStyleRule>(
      ePcbApi_QueryRulePowerPlaneConnectStyleRule);
  return Slot ? Slot(Mode, Handle, Style, Value1, Value2, Value3, Value4) : 0;
}

Integer PcbApi_QueryRuleMaximumViaCountRule(TExchangeMode Mode, Integer Handle,
                                            Integer& Count) {
  auto* Slot =
      BoundSlot<PcbAbi::QueryRuleMaximumViaCountRule>(ePcbApi_QueryRuleMaximumViaCountRule);
  return Slot ? Slot(Mode, Handle, Count) : 0;
}
