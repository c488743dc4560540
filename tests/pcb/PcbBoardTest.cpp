// The board against the editor stand-in: construction defaults, the order and the
// round trip of the full exchange, the layer stack and the layer pairs, putting
// objects in and out, and the object walk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pcb/Pcbclass.h"
#include "tests/pcb/PcbEditorFixture.h"

namespace {

// Every field the editor takes on a write (OutlineHandle is its own; GridCopy1 and
// GridCopy2 follow the grid values).
#define BOARD_WRITABLE(F)                                                                   \
  F(BoardValue1) F(BoardText) F(BoardByte1) F(BoardValue2) F(BoardValue3) F(BoardValue4)    \
  F(BoardValue5) F(BoardByte2) F(TopDielectric) F(BottomDielectric) F(BoardByte3)           \
  F(LayerInfo) F(GridByte1) F(GridByte2) F(GridByte3) F(GridValue1) F(GridValue2)           \
  F(GridValue3) F(GridValue4) F(GridSize) F(GridValue5) F(GridValue6) F(GridValue7)         \
  F(GridByte4) F(OutputValue1) F(OutputValue2) F(OutputBytes) F(PlotLayers) F(FlipLayers)   \
  F(GerberByte1) F(GerberByte2) F(GerberByte3) F(GerberByte4) F(GerberByte5)                \
  F(GerberByte6) F(GerberValue1) F(GerberValue2) F(GerberValue3) F(GerberValue4)            \
  F(GerberValue5) F(GerberText) F(GerberByte7) F(GerberValue6) F(GerberByte8)               \
  F(GerberByte9) F(GerberValue7) F(GerberValue8) F(PrinterText1) F(PrinterText2)            \
  F(PrinterText3) F(PrinterByte1) F(PrinterByte2) F(PrinterByte3) F(PrinterByte4)           \
  F(PrinterByte5) F(PrinterByte6) F(PrinterValue1) F(PrinterWide1) F(PrinterWide2)          \
  F(PrinterWide3) F(PrinterBlock) F(PrinterByte7) F(PrinterByte8) F(PrinterWide4)           \
  F(PrinterWide5) F(PrinterWide6) F(PrinterValue2) F(PrinterValue3) F(PrinterByte9)         \
  F(PrinterByte10) F(PrinterByte11) F(PrinterByte12) F(PrinterByte13) F(Pens)               \
  F(CompositeValue1) F(CompositeValue2) F(CompositeByte) F(CompositeValue3) F(PlacerText1)  \
  F(PlacerText2) F(PlacerByte1) F(PlacerByte2) F(PlacerByte3) F(PlacerByte4) F(EcoByte)     \
  F(EcoText) F(GridValue8) F(GridByte5)
#define BOARD_ALL(F) BOARD_WRITABLE(F) F(GridCopy1) F(GridCopy2) F(OutlineHandle)
#define LAYER_WRITABLE(F)                                                                  \
  F(Name) F(CopperThickness) F(DielectricMaterial) F(DielectricType) F(DielectricConstant) \
  F(DielectricHeight) F(LayerState2)
#define LAYER_ALL(F) LAYER_WRITABLE(F) F(LayerState1) F(PreviousLayer) F(NextLayer)

bool operator==(const TPrinterBlock& A, const TPrinterBlock& B) {
  return std::memcmp(A.Bytes, B.Bytes, sizeof A.Bytes) == 0;
}

void ExpectSameBoard(TPcbBoard* Writer, TPcbBoard* Reader) {
  BOARD_ALL(PCB_SAME)
  for (int L = 1; L <= MaxLayer; ++L) {
    SCOPED_TRACE("layer " + std::to_string(L));
    TLayerObject* LA = Writer->Layers[L];
    TLayerObject* LB = Reader->Layers[L];
    {
      TLayerObject* Writer = LA;
      TLayerObject* Reader = LB;
      LAYER_ALL(PCB_SAME)
    }
    if (auto* PA = ObjectAs<TInternalPlane>(LA))
      EXPECT_TRUE(PA->NetName == static_cast<TInternalPlane*>(LB)->NetName);
    else
      EXPECT_EQ(LA->LayerState3, LB->LayerState3);
  }
  ASSERT_EQ(Writer->LayerPairs->Count(), Reader->LayerPairs->Count());
  for (int I = 0; I < Writer->LayerPairs->Count(); ++I) {
    const TPcblayerPair& PA = *Writer->LayerPair(I);
    const TPcblayerPair& PB = *Reader->LayerPair(I);
    EXPECT_TRUE(PA.Name == PB.Name) << I;
    EXPECT_EQ(PA.Layer1, PB.Layer1) << I;
    EXPECT_EQ(PA.Layer2, PB.Layer2) << I;
    EXPECT_EQ(PA.PairByte1, PB.PairByte1) << I;
    EXPECT_EQ(PA.PairByte2, PB.PairByte2) << I;
  }
}

// The editor functions a full board exchange calls, in order.
std::vector<std::string> BoardExchangeCalls(bool Read, int PairCount) {
  std::vector<std::string> Names{"PcbApi_QueryBoard"};
  Names.insert(Names.end(), MaxLayer, "PcbApi_QueryBoardLayerInfo");
  for (int L = 1; L <= MaxLayer; ++L) {
    Names.push_back(L >= 39 && L <= 54 ? "PcbApi_QueryInternalPlane" : "PcbApi_QueryLayer");
    Names.push_back("PcbApi_QueryLayerDielectric");
  }
  Names.push_back("PcbApi_QueryBoardGridsEx");
  Names.push_back("PcbApi_QueryBoardOutputOptions");
  Names.insert(Names.end(), 109, "PcbApi_QueryBoardOutputOptionsPlotLayers");
  Names.insert(Names.end(), 109, "PcbApi_QueryBoardOutputOptionsFlipLayers");
  Names.push_back("PcbApi_QueryBoardGerberOptions");
  Names.push_back("PcbApi_QueryBoardPrinterOptions");
  Names.insert(Names.end(), 8, "PcbApi_QueryBoardPrinterOptionsPlotterPen");
  Names.insert(Names.end(), MaxLayer, "PcbApi_QueryBoardPrinterOptionsCompositeLayer");
  Names.push_back("PcbApi_QueryBoardAdvancedPlacerOptions");
  Names.push_back("PcbApi_QueryBoardEngineeringChangeOrderOptions");
  if (Read) Names.push_back("PcbApi_QueryBoardLayerPairsCount");
  Names.insert(Names.end(), PairCount, "PcbApi_QueryBoardLayerPairAt");
  Names.push_back("PcbApi_QueryBoardExternalDielectrics");
  return Names;
}

}  // namespace

TEST(PcbBoardConstruction, LayersStartAtTheirDefaults) {
  TOwned<TPcbBoard> Board(NewObject<TPcbBoard>(1234));
  EXPECT_EQ(Board->LayerObject(0), nullptr);
  EXPECT_EQ(Board->LayerObject(83), nullptr);
  EXPECT_EQ(Board->Layers[1]->Name.ToString(), "TopLayer");
  EXPECT_EQ(Board->Layers[82]->Name.ToString(), "ViaHoleLayer");
  for (int L = 1; L <= MaxLayer; ++L) {
    TLayerObject* Layer = Board->Layers[L];
    EXPECT_EQ(Layer->Layer, L);
    EXPECT_EQ(Layer->BoardHandle, 1234);
    EXPECT_EQ(Layer->CopperThickness, 14000);
    EXPECT_EQ(Layer->DielectricMaterial.ToString(), "FR-4");
    EXPECT_EQ(Layer->DielectricConstant, 4.8);
    EXPECT_EQ(Layer->DielectricHeight, 126000);
    auto* Plane = ObjectAs<TInternalPlane>(Layer);
    EXPECT_EQ(Plane != nullptr, L >= 39 && L <= 54) << L;
    if (Plane) {
      EXPECT_EQ(Plane->Name.ToString(), "InternalPlane" + std::to_string(L - 38));
      EXPECT_EQ(Plane->NetName.ToString(), "(No Net)");
    }
  }
  EXPECT_EQ(Board->BottomDielectric.Height, 126000);
  EXPECT_EQ(Board->LayerPairs->Count(), 0);
}

using PcbBoardExchange = PcbEditorTest;

TEST_F(PcbBoardExchange, BlocksGoInTheirOrder) {
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  StartLog();
  EXPECT_EQ(A->Exchange(ExchangeRead), 0);
  std::vector<std::string> Read = StopLog();
  EXPECT_EQ(CallNames(Read), BoardExchangeCalls(true, 1));
  // Each layer query names its layer; the pen and composite loops count from 1.
  EXPECT_EQ(CallsTo(Read, "PcbApi_QueryInternalPlane").front(),
            Call("PcbApi_QueryInternalPlane", 1, 39, Board));
  EXPECT_EQ(CallsTo(Read, "PcbApi_QueryBoardPrinterOptionsPlotterPen").back(),
            Call("PcbApi_QueryBoardPrinterOptionsPlotterPen", 1, Board, 8));
  EXPECT_EQ(CallsTo(Read, "PcbApi_QueryBoardOutputOptionsFlipLayers").back(),
            Call("PcbApi_QueryBoardOutputOptionsFlipLayers", 1, Board, 109));

  StartLog();
  EXPECT_EQ(A->Exchange(ExchangeWrite), 0);
  EXPECT_EQ(CallNames(StopLog()), BoardExchangeCalls(false, 1));
}

TEST_F(PcbBoardExchange, ReadWriteReadLeavesEveryBlockIdentical) {
  ASSERT_EQ(Merovan().AddLayerPair(Board, 2, 31), 1);
  TOwned<TPcbBoard> Writer(NewObject<TPcbBoard>(Board));
  ASSERT_EQ(Writer->Exchange(ExchangeRead), 0);
  // Unchanged, a write and a read give back what was read.
  ASSERT_EQ(Writer->Exchange(ExchangeWrite), 0);
  TOwned<TPcbBoard> Reader(NewObject<TPcbBoard>(Board));
  ASSERT_EQ(Reader->Exchange(ExchangeRead), 0);
  ExpectSameBoard(Writer.get(), Reader.get());

  // Every field changed, then written and read by another wrapper.
  TSeed Seed;
  BOARD_WRITABLE(PCB_SEED)
  for (int L = 1; L <= MaxLayer; ++L) {
    TLayerObject* Layer = Writer->Layers[L];
    {
      TLayerObject* Writer = Layer;
      LAYER_WRITABLE(PCB_SEED)
    }
    if (auto* Plane = ObjectAs<TInternalPlane>(Layer))
      Seed(Plane->NetName);
    else
      Seed(Layer->LayerState3);
  }
  TPcbBoard& A = *Writer;
  A.LayerPair(0)->PairByte1 = 0x11;
  A.LayerPair(1)->PairByte2 = 0x22;
  A.LayerPair(1)->Layer1 = 3;
  ASSERT_EQ(A.Exchange(ExchangeWrite), 0);
  EXPECT_EQ(A.GridCopy1, A.GridValue3);
  EXPECT_EQ(A.GridCopy2, A.GridValue6);

  TOwned<TPcbBoard> Again(NewObject<TPcbBoard>(Board));
  ASSERT_EQ(Again->Exchange(ExchangeRead), 0);
  EXPECT_EQ(Again->GridCopy1, Again->GridValue3);
  EXPECT_EQ(Again->GridCopy2, Again->GridValue6);
  // The pair was renamed from the layers as read.
  EXPECT_EQ(Again->LayerPair(1)->Name.ToString(),
            Again->Layers[3]->Name.ToString() + " - " + Again->Layers[31]->Name.ToString());
  A.LayerPair(1)->Name = Again->LayerPair(1)->Name;
  A.LayerPair(0)->Name = Again->LayerPair(0)->Name;
  ExpectSameBoard(&A, Again.get());
}

TEST_F(PcbBoardExchange, LayerFlagsGoToTheirLayer) {
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  A->Exchange(ExchangeRead);
  A->SetLayerFlag(5, 7);
  A->SetLayerFlag(0, 9);   // no layer object: nothing
  A->SetLayerFlag(83, 9);
  EXPECT_EQ(A->Layers[5]->LayerState2, 7);
  A->Exchange(ExchangeWrite);
  TOwned<TPcbBoard> B(NewObject<TPcbBoard>(Board));
  B->Exchange(ExchangeRead);
  EXPECT_EQ(B->Layers[5]->LayerState2, 7);
  EXPECT_EQ(B->Layers[4]->LayerState2, 0);
}

// --- The layer stack and the layer pairs ---

using PcbBoardStack = PcbEditorTest;

TEST_F(PcbBoardStack, PositionsAndPairNamesFollowTheStackFromTheTop) {
  ASSERT_EQ(PcbApi_InsertLayerInStack(Board, 39, 1), 0);
  ASSERT_EQ(PcbApi_InsertLayerInStack(Board, 2, 39), 0);  // 1 -> 39 -> 2 -> 32
  // The blank board holds (1, 32) already.
  ASSERT_EQ(Merovan().AddLayerPair(Board, 32, 1), 1);
  ASSERT_EQ(Merovan().AddLayerPair(Board, 2, 39), 2);
  ASSERT_EQ(Merovan().AddLayerPair(Board, 39, 32), 3);
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  A->Exchange(ExchangeRead);
  const TLayerSet Both = SignalLayers + InternalPlanes;

  ASSERT_EQ(A->FirstLayerInStack(), A->Layers[1]);
  EXPECT_EQ(A->NextLayerInStack(A->Layers[1]), A->Layers[39]);
  EXPECT_EQ(A->NextLayerInStack(A->Layers[32]), nullptr);
  EXPECT_EQ(A->StackPosition(Both, A->Layers[1]), 1);
  EXPECT_EQ(A->StackPosition(Both, A->Layers[39]), 2);
  EXPECT_EQ(A->StackPosition(Both, A->Layers[2]), 3);
  EXPECT_EQ(A->StackPosition(Both, A->Layers[32]), 4);
  EXPECT_EQ(A->StackPosition(SignalLayers, A->Layers[2]), 2);  // the plane is not counted
  EXPECT_EQ(A->StackPosition(SignalLayers, A->Layers[39]), 0);  // outside the set
  EXPECT_EQ(A->StackPosition(Both, nullptr), 0);

  // Pairs are named upper layer first, with the editor's layer names: rename one and
  // read again.
  A->Layers[39]->Name = "Power";
  A->Exchange(ExchangeWrite);
  A->Exchange(ExchangeRead);

  ASSERT_EQ(A->LayerPairs->Count(), 4);
  EXPECT_EQ(A->LayerPair(0)->Name.ToString(), "TopLayer - BottomLayer");
  EXPECT_EQ(A->LayerPair(1)->Name.ToString(), "TopLayer - BottomLayer");
  EXPECT_EQ(A->LayerPair(2)->Name.ToString(), "Power - MidLayer1");
  EXPECT_EQ(A->LayerPair(3)->Name.ToString(), "Power - BottomLayer");
  EXPECT_EQ(A->LayerPair(1)->Layer1, 32);  // the layers keep the editor's order
  EXPECT_EQ(A->LayerPair(1)->Layer2, 1);
}

TEST_F(PcbBoardStack, PairWithALayerOutsideTheBoardKeepsItsPlace) {
  ASSERT_EQ(Merovan().AddLayerPair(Board, 2, 31), 1);
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  A->Exchange(ExchangeRead);
  A->LayerPair(0)->Layer1 = 90;  // the editor takes the number as it is
  A->LayerPair(1)->Layer2 = 0;
  A->Exchange(ExchangeWrite);

  A->Exchange(ExchangeRead);
  ASSERT_EQ(A->LayerPairs->Count(), 2);
  EXPECT_EQ(A->LayerPair(0)->Layer1, 90);
  EXPECT_EQ(A->LayerPair(0)->Name.ToString(), "90 - BottomLayer");
  EXPECT_EQ(A->LayerPair(1)->Layer2, 0);
  EXPECT_EQ(A->LayerPair(1)->Name.ToString(), "0 - MidLayer1");
  // A write goes to the same indexes.
  A->LayerPair(1)->PairByte1 = 5;
  StartLog();
  A->Exchange(ExchangeWrite);
  EXPECT_EQ(CallsTo(StopLog(), "PcbApi_QueryBoardLayerPairAt").back(),
            Call("PcbApi_QueryBoardLayerPairAt", 0, Board, 1));
}

// --- Objects in and out, and the walk ---

namespace {

TPcbBoard* WalkedBoard = nullptr;
std::vector<Integer> Visited;

void Collect(Integer Handle) { Visited.push_back(Handle); }

void CollectAndRemove(Integer Handle) {
  Visited.push_back(Handle);
  WalkedBoard->RemoveObject(Handle);
}

}  // namespace

using PcbBoardObjects = PcbEditorTest;

TEST_F(PcbBoardObjects, ZeroHandlesNeverReachTheEditor) {
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  StartLog();
  EXPECT_EQ(A->AddObject(0), 1);
  EXPECT_EQ(A->RemoveObject(0), 1);
  EXPECT_TRUE(StopLog().empty());

  const Integer Track = NewObjectHandle(eTrackObject);
  EXPECT_EQ(A->AddObject(Track), 0);
  EXPECT_EQ(A->AddObject(Track), 1);  // the editor's status: already in a board
  EXPECT_EQ(A->RemoveObject(Track), 0);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Track), eTrackObject);  // not destroyed
}

TEST_F(PcbBoardObjects, WalkVisitsEachKindOnEachLayerOfItsSets) {
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  std::vector<Integer> Tracks;
  for (TLayer L : {1, 1, 2}) {
    const Integer H = NewObjectHandle(eTrackObject);
    TOwned<TPcbTrack> Track(NewObject<TPcbTrack>(H));
    Track->Exchange(ExchangeRead);
    Track->Layer = L;
    Track->Exchange(ExchangeWrite);
    A->AddObject(H);
    Tracks.push_back(H);
  }
  const Integer Rule = NewRuleHandle(eClearanceRule);
  A->AddObject(Rule);

  Visited.clear();
  StartLog();
  A->IterateObjects(Collect, {eTrackObject, eRuleObject}, {2, 1}, 7);
  const std::vector<std::string> Log = StopLog();
  // Ids in ascending order, layers in ascending order within each id.
  EXPECT_EQ(Visited, (std::vector<Integer>{Tracks[0], Tracks[1], Tracks[2]}));
  EXPECT_EQ(CallsTo(Log, "PcbApi_CreateIterator"),
            (std::vector<std::string>{Call("PcbApi_CreateIterator", Board, 4, 7, 1),
                                      Call("PcbApi_CreateIterator", Board, 4, 7, 2),
                                      Call("PcbApi_CreateIterator", Board, 14, 7, 1),
                                      Call("PcbApi_CreateIterator", Board, 14, 7, 2)}));
  EXPECT_EQ(CallsTo(Log, "PcbApi_DestroyIterator").size(), 4u);

  Visited.clear();
  A->IterateObjects(Collect, {eRuleObject}, {NoLayer}, 0);
  EXPECT_EQ(Visited, std::vector<Integer>{Rule});

  // Ids past 20 are never walked.
  Visited.clear();
  StartLog();
  A->IterateObjects(Collect, {eBoardOutlineObject}, {NoLayer}, 0);
  EXPECT_TRUE(StopLog().empty());
  EXPECT_TRUE(Visited.empty());
}

TEST_F(PcbBoardObjects, CallbackMayTakeTheCurrentObjectOut) {
  TOwned<TPcbBoard> A(NewObject<TPcbBoard>(Board));
  std::vector<Integer> Classes;
  for (int I = 0; I < 4; ++I) {
    Classes.push_back(NewObjectHandle(eClassObject));
    A->AddObject(Classes.back());
  }
  WalkedBoard = A.get();
  Visited.clear();
  A->IterateObjects(CollectAndRemove, {eClassObject}, {NoLayer}, 0);
  EXPECT_EQ(Visited, Classes);  // every one visited once, none skipped

  Visited.clear();
  A->IterateObjects(Collect, {eClassObject}, {NoLayer}, 0);
  EXPECT_TRUE(Visited.empty());
  WalkedBoard = nullptr;
}
