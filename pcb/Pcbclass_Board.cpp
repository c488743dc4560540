#include "pcb/Pcbclass_Board.h"

#include "classlib/StrUtils.h"
#include "pcb/PCBProcs.h"

TCLASS_IMPL(TLayerObject)
TCLASS_IMPL(TInternalPlane)
TCLASS_IMPL(TPcblayerPair)
TCLASS_IMPL(TPcbBoard)

// --- Layers ---

TLayerObject::TLayerObject(Integer ABoardHandle, TLayer ALayer)
    : BoardHandle(ABoardHandle),
      Layer(ALayer),
      Name(ALayer <= MaxLayer ? PcbString(LayerIdentifiers[ALayer]) : PcbString()) {}

Integer TLayerObject::Exchange(TExchangeMode Mode) {
  const Integer Status =
      PcbApi_QueryLayer(Mode, Layer, BoardHandle, Name, CopperThickness, LayerState1,
                        LayerState2, PreviousLayer, NextLayer, LayerState3);
  const Integer DielectricStatus =
      PcbApi_QueryLayerDielectric(Mode, Layer, BoardHandle, DielectricMaterial,
                                  DielectricType, DielectricConstant, DielectricHeight);
  return Status != 0 ? Status : DielectricStatus;
}

TInternalPlane::TInternalPlane(Integer ABoardHandle, TLayer ALayer)
    : TLayerObject(ABoardHandle, ALayer) {}

Integer TInternalPlane::Exchange(TExchangeMode Mode) {
  const Integer Status = PcbApi_QueryInternalPlane(
      Mode, Layer, BoardHandle, Name, CopperThickness, LayerState1, LayerState2,
      PreviousLayer, NextLayer, NetName);
  const Integer DielectricStatus =
      PcbApi_QueryLayerDielectric(Mode, Layer, BoardHandle, DielectricMaterial,
                                  DielectricType, DielectricConstant, DielectricHeight);
  return Status != 0 ? Status : DielectricStatus;
}

// --- The board ---

TPcbBoard::TPcbBoard(Integer ABoardHandle)
    : BoardHandle(ABoardHandle), LayerPairs(NewObject<TObjectList>(true)) {
  for (int L = 1; L <= MaxLayer; ++L) {
    if (InternalPlanes.Contains(TLayer(L)))
      Layers[L] = NewObject<TInternalPlane>(ABoardHandle, TLayer(L));
    else
      Layers[L] = NewObject<TLayerObject>(ABoardHandle, TLayer(L));
  }
}

TPcbBoard::~TPcbBoard() {
  FreeAndNil(LayerPairs);  // frees the pairs with it
  for (int L = 1; L <= MaxLayer; ++L) FreeAndNil(Layers[L]);
}

Integer TPcbBoard::Exchange(TExchangeMode Mode) {
  // Every block is exchanged whatever the others gave; the first failure is kept.
  ExchangeFailure = 0;
  const auto Note = [this](Integer BlockStatus) {
    if (ExchangeFailure == 0) ExchangeFailure = BlockStatus;
  };

  const Integer Status = PcbApi_QueryBoard(
      Mode, BoardHandle, BoardValue1, BoardText, BoardByte1, BoardValue2, BoardValue3,
      BoardValue4, BoardValue5, BoardByte2, BoardByte3, OutlineHandle);
  Note(Status);

  // The two bytes that come with each layer value are not kept: one scratch byte
  // takes both, and a write sends them as 0.
  for (int L = 1; L <= MaxLayer; ++L) {
    Byte Scratch = 0;
    Note(PcbApi_QueryBoardLayerInfo(Mode, BoardHandle, TLayer(L), Scratch, Scratch,
                                    LayerInfo[L]));
  }
  for (int L = 1; L <= MaxLayer; ++L) Note(Layers[L]->Exchange(Mode));

  Note(PcbApi_QueryBoardGridsEx(Mode, BoardHandle, GridByte4, GridByte1, GridByte2,
                                GridByte3, GridValue1, GridValue2, GridValue3, GridValue4,
                                GridValue8, GridByte5, GridSize, GridValue5, GridValue6,
                                GridValue7));
  GridCopy1 = GridValue3;
  GridCopy2 = GridValue6;

  TRangeArray<Byte, 1, 22>& O = OutputBytes;
  Note(PcbApi_QueryBoardOutputOptions(Mode, BoardHandle, OutputValue1, OutputValue2, O[1],
                                      O[2], O[3], O[4], O[5], O[6], O[7], O[8], O[9], O[10],
                                      O[11], O[12], O[13], O[14], O[15], O[16], O[17],
                                      O[18], O[19], O[20], O[21], O[22]));
  for (int N = 1; N <= 109; ++N)
    Note(PcbApi_QueryBoardOutputOptionsPlotLayers(Mode, BoardHandle, Byte(N),
                                                  PlotLayers[N]));
  for (int N = 1; N <= 109; ++N)
    Note(PcbApi_QueryBoardOutputOptionsFlipLayers(Mode, BoardHandle, Byte(N),
                                                  FlipLayers[N]));

  // GerberByte7 travels between GerberByte4 and GerberByte5.
  Note(PcbApi_QueryBoardGerberOptions(
      Mode, BoardHandle, GerberByte1, GerberByte2, GerberByte3, GerberByte4, GerberByte7,
      GerberByte5, GerberByte6, GerberValue1, GerberValue2, GerberValue3, GerberValue4,
      GerberValue5, GerberText, GerberValue6, GerberByte8, GerberByte9, GerberValue7,
      GerberValue8));

  Note(PcbApi_QueryBoardPrinterOptions(
      Mode, BoardHandle, PrinterText1, PrinterText2, PrinterText3, PrinterByte1,
      PrinterByte2, PrinterByte3, PrinterByte4, PrinterByte5, PrinterByte6, PrinterValue1,
      PrinterWide1, PrinterWide2, PrinterWide3, PrinterBlock, PrinterByte7, PrinterByte8,
      PrinterWide4, PrinterWide5, PrinterWide6, PrinterValue2, PrinterValue3, PrinterByte9,
      PrinterByte10, PrinterByte11, PrinterByte12, PrinterByte13));
  for (int P = 1; P <= 8; ++P)
    Note(PcbApi_QueryBoardPrinterOptionsPlotterPen(Mode, BoardHandle, P, Pens[P].PenValue1,
                                                   Pens[P].PenValue2));
  for (int L = 1; L <= MaxLayer; ++L)
    Note(PcbApi_QueryBoardPrinterOptionsCompositeLayer(
        Mode, BoardHandle, TLayer(L), CompositeValue1[L], CompositeValue2[L],
        CompositeByte[L], CompositeValue3[L]));

  Note(PcbApi_QueryBoardAdvancedPlacerOptions(Mode, BoardHandle, PlacerText1, PlacerText2,
                                              PlacerByte1, PlacerByte2, PlacerByte3,
                                              PlacerByte4));
  Note(PcbApi_QueryBoardEngineeringChangeOrderOptions(Mode, BoardHandle, EcoByte, EcoText));

  Note(ExchangeLayerPairs(Mode));

  Note(PcbApi_QueryBoardExternalDielectrics(
      Mode, BoardHandle, TopDielectric.Material, TopDielectric.Type, TopDielectric.Constant,
      TopDielectric.Height, BottomDielectric.Material, BottomDielectric.Type,
      BottomDielectric.Constant, BottomDielectric.Height));
  return Status;
}

PcbString TPcbBoard::PairLayerName(TLayer L) const {
  // A pair may name a layer that has no layer object (0, or past the last layer); it
  // keeps its place in the list, so that the list indexes stay the editor's, and that
  // end of it is named by the layer's number.
  if (const TLayerObject* Object = LayerObject(L)) return Object->Name;
  return PcbString(IntToStr(L));
}

Integer TPcbBoard::ExchangeLayerPairs(TExchangeMode Mode) {
  Integer Failure = 0;
  const auto Note = [&Failure](Integer PairStatus) {
    if (Failure == 0) Failure = PairStatus;
  };
  if (Mode != ExchangeRead) {
    for (int Index = 0; Index < LayerPairs->Count(); ++Index) {
      TPcblayerPair* Pair = LayerPair(Index);
      Note(PcbApi_QueryBoardLayerPairAt(Mode, BoardHandle, Index, Pair->Layer1,
                                        Pair->Layer2, Pair->PairByte2, Pair->PairByte1));
    }
    return Failure;
  }

  LayerPairs->Clear();
  Integer PairCount = 0;
  if (PcbApi_QueryBoardLayerPairsCount(BoardHandle, PairCount) != 0) PairCount = 0;
  const TLayerSet StackLayers = SignalLayers + InternalPlanes;
  for (Integer Index = 0; Index < PairCount; ++Index) {
    TPcblayerPair* Pair = NewObject<TPcblayerPair>();
    LayerPairs->Add(Pair);
    Note(PcbApi_QueryBoardLayerPairAt(ExchangeRead, BoardHandle, Index, Pair->Layer1,
                                      Pair->Layer2, Pair->PairByte2, Pair->PairByte1));
    // The layer higher in the stack comes first.
    const int P1 = StackPosition(StackLayers, LayerObject(Pair->Layer1));
    const int P2 = StackPosition(StackLayers, LayerObject(Pair->Layer2));
    const AnsiString Name1 = PairLayerName(Pair->Layer1).ToString();
    const AnsiString Name2 = PairLayerName(Pair->Layer2).ToString();
    Pair->Name = P1 <= P2 ? Name1 + " - " + Name2 : Name2 + " - " + Name1;
  }
  return Failure;
}

void TPcbBoard::SetLayerFlag(int L, Byte Value) {
  if (TLayerObject* Object = LayerObject(L)) Object->LayerState2 = Value;
}

Integer TPcbBoard::AddObject(Integer ObjectHandle) {
  if (ObjectHandle == 0) return 1;
  return PcbApi_AddObjectToContainer(BoardHandle, ObjectHandle);
}

Integer TPcbBoard::RemoveObject(Integer ObjectHandle) {
  if (ObjectHandle == 0) return 1;
  return PcbApi_DeleteObjectFromContainer(BoardHandle, ObjectHandle);
}

bool TPcbBoard::IterateObjects(TObjectCallback Callback, const TObjectSet& ObjectSet,
                               const TLayerSet& LayerSet, Byte Method) {
  bool Complete = true;
  for (int Id = 0; Id <= 20; ++Id) {
    if (!ObjectSet.Contains(TObjectId(Id))) continue;
    for (int L = 0; L <= MaxLayer; ++L) {
      if (!LayerSet.Contains(TLayer(L))) continue;
      const Integer Iterator =
          PcbApi_CreateIterator(BoardHandle, Byte(Id), Method, Byte(L));
      if (Iterator == 0) Complete = false;
      for (Integer H = PcbApi_GetFirstObject(Iterator); H != 0;
           H = PcbApi_GetNextObject(Iterator))
        Callback(H);
      PcbApi_DestroyIterator(Iterator);
    }
  }
  return Complete;
}

TLayerObject* TPcbBoard::FirstLayerInStack() const {
  for (int L = 1; L <= MaxLayer; ++L)
    if (Layers[L]->PreviousLayer == 0) return Layers[L];
  return nullptr;
}

TLayerObject* TPcbBoard::NextLayerInStack(const TLayerObject* LayerObj) const {
  if (!LayerObj || LayerObj->NextLayer == 0) return nullptr;
  return LayerObject(LayerObj->NextLayer);
}

int TPcbBoard::StackPosition(const TLayerSet& LayerSet, const TLayerObject* LayerObj) const {
  if (!LayerObj || !LayerSet.Contains(LayerObj->Layer)) return 0;
  int Position = 0;
  // A stack holds each layer at most once; the bound ends a walk round a broken chain.
  int Steps = 0;
  for (const TLayerObject* L = FirstLayerInStack(); L && Steps < MaxLayer;
       L = NextLayerInStack(L), ++Steps) {
    if (LayerSet.Contains(L->Layer)) ++Position;
    if (L == LayerObj) break;
  }
  return Position;
}
