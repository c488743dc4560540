// The PcbApi_ exports about boards: iteration and the object container, the board's
// record, sheet, grids and option blocks, its layers and the layer stack.
#include <cstring>

#include "host/MerovanPrivate.h"

using namespace Merovan;

namespace {

TBoard* FindBoard(Integer Handle) { return Store().Board(Handle); }

bool ValidLayer(Byte Layer) { return Layer >= 1 && Layer <= MaxLayer; }

// The board and, for an exchange, a valid mode: the common precondition of the
// board queries.
TBoard* BoardFor(TExchangeMode Mode, Integer Handle) {
  return ValidMode(Mode) ? FindBoard(Handle) : nullptr;
}

}  // namespace

extern "C" {

// ---------------------------------------------------------------------------------
// Iteration and the object container

Integer PCBAPI_STD PcbApi_CreateIterator(Integer BoardHandle, Byte ObjectId, Byte Method,
                                         Byte Layer) {
  LogCall("PcbApi_CreateIterator", BoardHandle, ObjectId, Method, Layer);
  return Answer<Integer>(
      0, [&] { return Store().CreateIterator(BoardHandle, ObjectId, Layer); });
}

Integer PCBAPI_STD PcbApi_GetFirstObject(Integer Iterator) {
  LogCall("PcbApi_GetFirstObject", Iterator);
  return Answer<Integer>(0, [&] { return Store().IteratorNext(Iterator, true); });
}

Integer PCBAPI_STD PcbApi_GetNextObject(Integer Iterator) {
  LogCall("PcbApi_GetNextObject", Iterator);
  return Answer<Integer>(0, [&] { return Store().IteratorNext(Iterator, false); });
}

Integer PCBAPI_STD PcbApi_DestroyIterator(Integer Iterator) {
  LogCall("PcbApi_DestroyIterator", Iterator);
  return Status([&] { return Store().DestroyIterator(Iterator) ? 0 : 1; });
}

Byte PCBAPI_STD PcbApi_GetObjectIdFromObjectHandle(Integer ObjectHandle) {
  LogCall("PcbApi_GetObjectIdFromObjectHandle", ObjectHandle);
  return Answer<Byte>(eNoObject, [&]() -> Byte {
    TObject* Object = Store().Object(ObjectHandle);
    return Object ? static_cast<Byte>(Object->Id | Object->ReportedIdBits) : eNoObject;
  });
}

Integer PCBAPI_STD PcbApi_CreateObject(Byte ObjectId) {
  LogCall("PcbApi_CreateObject", ObjectId);
  return Answer<Integer>(0, [&] { return Store().CreateObject(ObjectId); });
}

Integer PCBAPI_STD PcbApi_CreateDimensionObject(Byte DimensionKind) {
  LogCall("PcbApi_CreateDimensionObject", DimensionKind);
  return Answer<Integer>(0, [&] { return Store().CreateDimension(DimensionKind); });
}

Integer PCBAPI_STD PcbApi_CreateRuleObject(Byte RuleKind) {
  LogCall("PcbApi_CreateRuleObject", RuleKind);
  return Answer<Integer>(0, [&] { return Store().CreateRule(RuleKind); });
}

Integer PCBAPI_STD PcbApi_DestroyObject(Integer ObjectHandle) {
  LogCall("PcbApi_DestroyObject", ObjectHandle);
  return Status([&] { return Store().DestroyObject(ObjectHandle) ? 0 : 1; });
}

Integer PCBAPI_STD PcbApi_AddObjectToContainer(Integer BoardHandle, Integer ObjectHandle) {
  LogCall("PcbApi_AddObjectToContainer", BoardHandle, ObjectHandle);
  return Status([&] { return Store().AddToBoard(BoardHandle, ObjectHandle); });
}

Integer PCBAPI_STD PcbApi_DeleteObjectFromContainer(Integer BoardHandle,
                                                    Integer ObjectHandle) {
  LogCall("PcbApi_DeleteObjectFromContainer", BoardHandle, ObjectHandle);
  return Status([&] { return Store().DeleteFromBoard(BoardHandle, ObjectHandle); });
}

Integer PCBAPI_STD PcbApi_GetBoardHandleFromFileName(const PcbString& FileName) {
  LogCall("PcbApi_GetBoardHandleFromFileName", FileName);
  return Answer<Integer>(0, [&] { return Store().FindBoard(FileName.ToString()); });
}

// ---------------------------------------------------------------------------------
// The board

Integer PCBAPI_REG PcbApi_QuerySheet(TExchangeMode Mode, Integer BoardHandle,
                                     Integer& SheetX, Byte& Flag2, Byte& Flag1,
                                     Integer& SheetHeight, Integer& SheetWidth,
                                     Integer& SheetY) {
  LogCall("PcbApi_QuerySheet", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TSheet& S = Board->Sheet;
    TSwap{Mode}(S.X, SheetX)(S.Y, SheetY)(S.Width, SheetWidth)(S.Height, SheetHeight)(
        S.Flag1, Flag1)(S.Flag2, Flag2);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoard(TExchangeMode Mode, Integer BoardHandle,
                                     Integer& BoardValue1, PcbString& BoardText,
                                     Byte& BoardByte1, Integer& BoardValue2,
                                     Integer& BoardValue3, Integer& BoardValue4,
                                     Integer& BoardValue5, Byte& BoardByte2,
                                     Byte& BoardByte3, Integer& OutlineHandle) {
  LogCall("PcbApi_QueryBoard", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TBoardRecord& R = Board->Record;
    TSwap{Mode}(R.Values[0], BoardValue1)(R.Text, BoardText)(R.Bytes[0], BoardByte1)(
        R.Values[1], BoardValue2)(R.Values[2], BoardValue3)(R.Values[3], BoardValue4)(
        R.Values[4], BoardValue5)(R.Bytes[1], BoardByte2)(R.Bytes[2], BoardByte3)
        .Out(Store().OutlineOf(*Board), OutlineHandle);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardLayerInfo(TExchangeMode Mode, Integer BoardHandle,
                                              Byte Layer, Byte& Info1, Byte& Info2,
                                              Integer& LayerInfo) {
  LogCall("PcbApi_QueryBoardLayerInfo", Mode, BoardHandle, Layer);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || !ValidLayer(Layer)) return 1;
    TBoardLayer& L = Board->Layers[Layer];
    TSwap{Mode}(L.Info1, Info1)(L.Info2, Info2)(L.Info, LayerInfo);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardGridsEx(
    TExchangeMode Mode, Integer BoardHandle, Byte& GridByte4, Byte& GridByte1,
    Byte& GridByte2, Byte& GridByte3, double& GridValue1, double& GridValue2,
    double& GridValue3, double& GridValue4, Integer& GridValue8, Byte& GridByte5,
    double& GridSize, double& GridValue5, double& GridValue6, double& GridValue7) {
  LogCall("PcbApi_QueryBoardGridsEx", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TGrids& G = Board->Grids;
    TSwap{Mode}(G.Bytes[3], GridByte4)(G.Bytes[0], GridByte1)(G.Bytes[1], GridByte2)(
        G.Bytes[2], GridByte3)(G.Values[0], GridValue1)(G.Values[1], GridValue2)(
        G.Values[2], GridValue3)(G.Values[3], GridValue4)(G.Value8, GridValue8)(
        G.Bytes[4], GridByte5)(G.Size, GridSize)(G.Values[4], GridValue5)(
        G.Values[5], GridValue6)(G.Values[6], GridValue7);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardLayerPairsCount(Integer BoardHandle, Integer& Count) {
  LogCall("PcbApi_QueryBoardLayerPairsCount", BoardHandle);
  return Status([&] {
    TBoard* Board = FindBoard(BoardHandle);
    if (!Board) return 1;
    Count = static_cast<Integer>(Board->Pairs.size());
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardLayerPairAt(TExchangeMode Mode, Integer BoardHandle,
                                                Integer Index, Byte& Layer1, Byte& Layer2,
                                                Byte& PairByte2, Byte& PairByte1) {
  LogCall("PcbApi_QueryBoardLayerPairAt", Mode, BoardHandle, Index);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || Index < 0 || Index >= static_cast<Integer>(Board->Pairs.size())) return 1;
    TLayerPair& P = Board->Pairs[Index];
    TSwap{Mode}(P.Layer1, Layer1)(P.Layer2, Layer2)(P.Byte2, PairByte2)(P.Byte1, PairByte1);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardOutputOptions(
    TExchangeMode Mode, Integer BoardHandle, Integer& OutputValue1, Integer& OutputValue2,
    Byte& OutputByte1, Byte& OutputByte2, Byte& OutputByte3, Byte& OutputByte4,
    Byte& OutputByte5, Byte& OutputByte6, Byte& OutputByte7, Byte& OutputByte8,
    Byte& OutputByte9, Byte& OutputByte10, Byte& OutputByte11, Byte& OutputByte12,
    Byte& OutputByte13, Byte& OutputByte14, Byte& OutputByte15, Byte& OutputByte16,
    Byte& OutputByte17, Byte& OutputByte18, Byte& OutputByte19, Byte& OutputByte20,
    Byte& OutputByte21, Byte& OutputByte22) {
  LogCall("PcbApi_QueryBoardOutputOptions", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TOutputOptions& O = Board->Output;
    Byte* Bytes[22] = {&OutputByte1,  &OutputByte2,  &OutputByte3,  &OutputByte4,
                       &OutputByte5,  &OutputByte6,  &OutputByte7,  &OutputByte8,
                       &OutputByte9,  &OutputByte10, &OutputByte11, &OutputByte12,
                       &OutputByte13, &OutputByte14, &OutputByte15, &OutputByte16,
                       &OutputByte17, &OutputByte18, &OutputByte19, &OutputByte20,
                       &OutputByte21, &OutputByte22};
    TSwap Swap(Mode);
    Swap(O.Values[0], OutputValue1)(O.Values[1], OutputValue2);
    for (int I = 0; I < 22; ++I) Swap(O.Bytes[I], *Bytes[I]);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardOutputOptionsPlotLayers(TExchangeMode Mode,
                                                            Integer BoardHandle, Byte Layer,
                                                            Byte& PlotLayer) {
  LogCall("PcbApi_QueryBoardOutputOptionsPlotLayers", Mode, BoardHandle, Layer);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || Layer < 1 || Layer > OutputLayerCount) return 1;
    TSwap{Mode}(Board->Output.PlotLayers[Layer - 1], PlotLayer);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardOutputOptionsFlipLayers(TExchangeMode Mode,
                                                            Integer BoardHandle, Byte Layer,
                                                            Byte& FlipLayer) {
  LogCall("PcbApi_QueryBoardOutputOptionsFlipLayers", Mode, BoardHandle, Layer);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || Layer < 1 || Layer > OutputLayerCount) return 1;
    TSwap{Mode}(Board->Output.FlipLayers[Layer - 1], FlipLayer);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardGerberOptions(
    TExchangeMode Mode, Integer BoardHandle, Byte& GerberByte1, Byte& GerberByte2,
    Byte& GerberByte3, Byte& GerberByte4, Byte& GerberByte7, Byte& GerberByte5,
    Byte& GerberByte6, Integer& GerberValue1, Integer& GerberValue2, Integer& GerberValue3,
    Integer& GerberValue4, Integer& GerberValue5, PcbString& GerberText,
    Integer& GerberValue6, Byte& GerberByte8, Byte& GerberByte9, Integer& GerberValue7,
    Integer& GerberValue8) {
  LogCall("PcbApi_QueryBoardGerberOptions", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TGerberOptions& G = Board->Gerber;
    TSwap{Mode}(G.Bytes[0], GerberByte1)(G.Bytes[1], GerberByte2)(G.Bytes[2], GerberByte3)(
        G.Bytes[3], GerberByte4)(G.Bytes[6], GerberByte7)(G.Bytes[4], GerberByte5)(
        G.Bytes[5], GerberByte6)(G.Values[0], GerberValue1)(G.Values[1], GerberValue2)(
        G.Values[2], GerberValue3)(G.Values[3], GerberValue4)(G.Values[4], GerberValue5)(
        G.Text, GerberText)(G.Values[5], GerberValue6)(G.Bytes[7], GerberByte8)(
        G.Bytes[8], GerberByte9)(G.Values[6], GerberValue7)(G.Values[7], GerberValue8);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardPrinterOptions(
    TExchangeMode Mode, Integer BoardHandle, PcbString& PrinterText1,
    PcbString& PrinterText2, PcbString& PrinterText3, Byte& PrinterByte1,
    Byte& PrinterByte2, Byte& PrinterByte3, Byte& PrinterByte4, Byte& PrinterByte5,
    Byte& PrinterByte6, Integer& PrinterValue1, TPcbWide& PrinterWide1,
    TPcbWide& PrinterWide2, TPcbWide& PrinterWide3, TPrinterBlock& PrinterBlock,
    Byte& PrinterByte7, Byte& PrinterByte8, TPcbWide& PrinterWide4, TPcbWide& PrinterWide5,
    TPcbWide& PrinterWide6, Integer& PrinterValue2, Integer& PrinterValue3,
    Byte& PrinterByte9, Byte& PrinterByte10, Byte& PrinterByte11, Byte& PrinterByte12,
    Byte& PrinterByte13) {
  LogCall("PcbApi_QueryBoardPrinterOptions", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TPrinterOptions& P = Board->Printer;
    TSwap Swap(Mode);
    Swap(P.Texts[0], PrinterText1)(P.Texts[1], PrinterText2)(P.Texts[2], PrinterText3)(
        P.Bytes[0], PrinterByte1)(P.Bytes[1], PrinterByte2)(P.Bytes[2], PrinterByte3)(
        P.Bytes[3], PrinterByte4)(P.Bytes[4], PrinterByte5)(P.Bytes[5], PrinterByte6)(
        P.Values[0], PrinterValue1)(P.Wides[0], PrinterWide1)(P.Wides[1], PrinterWide2)(
        P.Wides[2], PrinterWide3);
    if (Swap.Reading())
      std::memcpy(PrinterBlock.Bytes, P.Block, sizeof(P.Block));
    else
      std::memcpy(P.Block, PrinterBlock.Bytes, sizeof(P.Block));
    Swap(P.Bytes[6], PrinterByte7)(P.Bytes[7], PrinterByte8)(P.Wides[3], PrinterWide4)(
        P.Wides[4], PrinterWide5)(P.Wides[5], PrinterWide6)(P.Values[1], PrinterValue2)(
        P.Values[2], PrinterValue3)(P.Bytes[8], PrinterByte9)(P.Bytes[9], PrinterByte10)(
        P.Bytes[10], PrinterByte11)(P.Bytes[11], PrinterByte12)(P.Bytes[12], PrinterByte13);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardPrinterOptionsPlotterPen(TExchangeMode Mode,
                                                             Integer BoardHandle,
                                                             Integer PenIndex,
                                                             Integer& PenValue1,
                                                             Integer& PenValue2) {
  LogCall("PcbApi_QueryBoardPrinterOptionsPlotterPen", Mode, BoardHandle, PenIndex);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || PenIndex < 1 || PenIndex > PenCount) return 1;
    Integer* Pen = &Board->Printer.Pens[(PenIndex - 1) * 2];
    TSwap{Mode}(Pen[0], PenValue1)(Pen[1], PenValue2);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardPrinterOptionsCompositeLayer(
    TExchangeMode Mode, Integer BoardHandle, Byte Layer, Integer& CompositeValue1,
    Integer& CompositeValue2, Byte& CompositeByte, Integer& CompositeValue3) {
  LogCall("PcbApi_QueryBoardPrinterOptionsCompositeLayer", Mode, BoardHandle, Layer);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || !ValidLayer(Layer)) return 1;
    TBoardLayer& L = Board->Layers[Layer];
    TSwap{Mode}(L.Composite1, CompositeValue1)(L.Composite2, CompositeValue2)(
        L.CompositeByte, CompositeByte)(L.Composite3, CompositeValue3);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardAdvancedPlacerOptions(
    TExchangeMode Mode, Integer BoardHandle, PcbString& PlacerText1, PcbString& PlacerText2,
    Byte& PlacerByte1, Byte& PlacerByte2, Byte& PlacerByte3, Byte& PlacerByte4) {
  LogCall("PcbApi_QueryBoardAdvancedPlacerOptions", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TPlacerOptions& P = Board->Placer;
    TSwap{Mode}(P.Texts[0], PlacerText1)(P.Texts[1], PlacerText2)(P.Bytes[0], PlacerByte1)(
        P.Bytes[1], PlacerByte2)(P.Bytes[2], PlacerByte3)(P.Bytes[3], PlacerByte4);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardEngineeringChangeOrderOptions(TExchangeMode Mode,
                                                                  Integer BoardHandle,
                                                                  Byte& EcoByte,
                                                                  PcbString& EcoText) {
  LogCall("PcbApi_QueryBoardEngineeringChangeOrderOptions", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TSwap{Mode}(Board->Eco.Byte1, EcoByte)(Board->Eco.Text, EcoText);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryBoardExternalDielectrics(
    TExchangeMode Mode, Integer BoardHandle, PcbString& TopMaterial, Byte& TopType,
    double& TopConstant, Integer& TopHeight, PcbString& BottomMaterial, Byte& BottomType,
    double& BottomConstant, Integer& BottomHeight) {
  LogCall("PcbApi_QueryBoardExternalDielectrics", Mode, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board) return 1;
    TDielectric& T = Board->TopDielectric;
    TDielectric& B = Board->BottomDielectric;
    TSwap{Mode}(T.Material, TopMaterial)(T.Type, TopType)(T.Constant, TopConstant)(
        T.Height, TopHeight)(B.Material, BottomMaterial)(B.Type, BottomType)(
        B.Constant, BottomConstant)(B.Height, BottomHeight);
    return 0;
  });
}

// The board gets an outline object (a polygon of id 21 in its container) unless it
// has one; the next read of the board reports its handle.
void PCBAPI_REG PcbApi_CreateBoardOutline(Integer BoardHandle) {
  LogCall("PcbApi_CreateBoardOutline", BoardHandle);
  HostGuardVoid([&] {
    if (TBoard* Board = FindBoard(BoardHandle)) Store().EnsureOutline(*Board);
  });
}

// The stand-in keeps nothing derived from the outline (no drawn board shape), so an
// update has nothing to recompute: the call is recorded in the call log only.
void PCBAPI_REG PcbApi_UpdateBoardOutline(Integer BoardHandle) {
  LogCall("PcbApi_UpdateBoardOutline", BoardHandle);
}

// ---------------------------------------------------------------------------------
// Layers and the layer stack

}  // extern "C"

namespace {

// The common part of QueryLayer and QueryInternalPlane. LayerState1 and the stack
// links are the editor's own: reported on a read, never written.
void SwapLayer(TExchangeMode Mode, TBoard& Board, Byte Layer, PcbString& Name,
               Integer& CopperThickness, Byte& LayerState1, Byte& LayerState2,
               Byte& PreviousLayer, Byte& NextLayer) {
  TBoardLayer& L = Board.Layers[Layer];
  Byte Previous = 0, Next = 0;
  const auto& Stack = Board.Stack;
  for (std::size_t I = 0; I < Stack.size(); ++I) {
    if (Stack[I] != Layer) continue;
    Previous = I > 0 ? Stack[I - 1] : 0;
    Next = I + 1 < Stack.size() ? Stack[I + 1] : 0;
  }
  Byte InUse = Store().LayerInUse(Board, Layer) ? 1 : 0;
  TSwap{Mode}(L.Name, Name)(L.CopperThickness, CopperThickness)
      .Out(InUse, LayerState1)(L.State2, LayerState2)
      .Out(Previous, PreviousLayer)
      .Out(Next, NextLayer);
}

}  // namespace

extern "C" {

Integer PCBAPI_STD PcbApi_QueryLayer(TExchangeMode Mode, Byte Layer, Integer BoardHandle,
                                     PcbString& Name, Integer& CopperThickness,
                                     Byte& LayerState1, Byte& LayerState2,
                                     Byte& PreviousLayer, Byte& NextLayer,
                                     Byte& LayerState3) {
  LogCall("PcbApi_QueryLayer", Mode, Layer, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || !ValidLayer(Layer)) return 1;
    SwapLayer(Mode, *Board, Layer, Name, CopperThickness, LayerState1, LayerState2,
              PreviousLayer, NextLayer);
    TSwap{Mode}(Board->Layers[Layer].State3, LayerState3);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryInternalPlane(TExchangeMode Mode, Byte Layer,
                                             Integer BoardHandle, PcbString& Name,
                                             Integer& CopperThickness, Byte& LayerState1,
                                             Byte& LayerState2, Byte& PreviousLayer,
                                             Byte& NextLayer, PcbString& NetName) {
  LogCall("PcbApi_QueryInternalPlane", Mode, Layer, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || !IsInternalPlane(Layer)) return 1;
    SwapLayer(Mode, *Board, Layer, Name, CopperThickness, LayerState1, LayerState2,
              PreviousLayer, NextLayer);
    TSwap{Mode}(Board->Layers[Layer].NetName, NetName);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryLayerDielectric(TExchangeMode Mode, Byte Layer,
                                               Integer BoardHandle, PcbString& Material,
                                               Byte& Type, double& Constant,
                                               Integer& Height) {
  LogCall("PcbApi_QueryLayerDielectric", Mode, Layer, BoardHandle);
  return Status([&] {
    TBoard* Board = BoardFor(Mode, BoardHandle);
    if (!Board || !ValidLayer(Layer)) return 1;
    TBoardLayer& L = Board->Layers[Layer];
    TSwap{Mode}(L.Material, Material)(L.DielectricType, Type)(
        L.DielectricConstant, Constant)(L.DielectricHeight, Height);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_InsertLayerInStack(Integer BoardHandle, Byte Layer,
                                             Byte ReferenceLayer) {
  LogCall("PcbApi_InsertLayerInStack", BoardHandle, Layer, ReferenceLayer);
  return Status([&] {
    TBoard* Board = FindBoard(BoardHandle);
    return Board ? Store().InsertLayer(*Board, Layer, ReferenceLayer) : 1;
  });
}

Integer PCBAPI_STD PcbApi_RemoveLayerFromStack(Integer BoardHandle, Byte Layer) {
  LogCall("PcbApi_RemoveLayerFromStack", BoardHandle, Layer);
  return Status([&] {
    TBoard* Board = FindBoard(BoardHandle);
    return Board ? Store().RemoveLayer(*Board, Layer) : 1;
  });
}

}  // extern "C"
