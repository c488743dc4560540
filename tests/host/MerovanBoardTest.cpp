// The editor stand-in's boards: the layer stack, the layers and the board's records,
// reached through the module's wrappers.
#include "tests/host/MerovanTestSupport.h"

namespace {

struct TLayerFields {
  PcbString Name;
  Integer Copper = 0;
  Byte State1 = 0, State2 = 0, Previous = 0, Next = 0, State3 = 0;
};

class MerovanBoardTest : public MerovanTest {
 protected:
  Integer QueryLayer(TExchangeMode Mode, Byte Layer, TLayerFields& F, Integer Of = -1) {
    return PcbApi_QueryLayer(Mode, Layer, Of < 0 ? Board : Of, F.Name, F.Copper, F.State1,
                             F.State2, F.Previous, F.Next, F.State3);
  }

  TLayerFields Layer(Byte L) {
    TLayerFields F;
    EXPECT_EQ(QueryLayer(ExchangeRead, L, F), 0);
    return F;
  }

  // The stack as the links tell it, from layer 1 down, checking that each layer's
  // previous link names the layer above it. A chain longer than the layers is a cycle.
  std::vector<int> Stack() {
    std::vector<int> Order;
    Byte Above = 0;
    for (Byte L = 1; L != 0 && Order.size() <= MaxLayer;) {
      TLayerFields F = Layer(L);
      EXPECT_EQ(F.Previous, Above) << "layer " << int(L);
      Order.push_back(L);
      Above = L;
      L = F.Next;
    }
    return Order;
  }

  Integer Insert(Byte L, Byte Reference) {
    return PcbApi_InsertLayerInStack(Board, L, Reference);
  }
};

TEST_F(MerovanBoardTest, BlankBoardHasTheTwoOuterLayersAndOnePair) {
  EXPECT_EQ(Stack(), (std::vector<int>{1, 32}));
  TLayerFields Mid = Layer(2);
  EXPECT_EQ(Mid.Previous + Mid.Next, 0);
  for (int L = 1; L <= MaxLayer; ++L)
    EXPECT_EQ(Layer(static_cast<Byte>(L)).Name.ToString(), LayerIdentifiers[L].ToString());
  Integer Count = -1;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(Board, Count), 0);
  ASSERT_EQ(Count, 1);
  Byte L1 = 0, L2 = 0, B2 = 9, B1 = 9;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairAt(ExchangeRead, Board, 0, L1, L2, B2, B1), 0);
  EXPECT_EQ(L1 * 100 + L2, 132);
  EXPECT_EQ(Walk().size(), 0u);
  Integer Outline = -1, V = 0;
  PcbString Text;
  Byte B = 0;
  PcbApi_QueryBoard(ExchangeRead, Board, V, Text, B, V, V, V, V, B, B, Outline);
  EXPECT_EQ(Outline, 0);
}

TEST_F(MerovanBoardTest, InsertPlacesBelowTheReferenceOrAboveTheBottom) {
  // The board maker's order for six signal layers and three planes.
  const std::pair<int, int> Calls[] = {{1, 1},   {32, 1},  {3, 1},  {2, 1}, {39, 3},
                                       {40, 39}, {41, 40}, {4, 32}, {5, 32}};
  for (auto [L, R] : Calls) EXPECT_EQ(Insert(L, R), 0) << L << " " << R;
  EXPECT_EQ(Stack(), (std::vector<int>{1, 2, 3, 39, 40, 41, 4, 5, 32}));

  // A layer in the stack moves; the outer layers stay where they are.
  EXPECT_EQ(Insert(4, 1), 0);
  EXPECT_EQ(Insert(32, 2), 0);
  EXPECT_EQ(Insert(1, 5), 0);
  EXPECT_EQ(Insert(7, 7), 0);
  EXPECT_EQ(Stack(), (std::vector<int>{1, 4, 2, 3, 39, 40, 41, 5, 32}));
}

TEST_F(MerovanBoardTest, BadInsertsAndRemovesChangeNothing) {
  EXPECT_EQ(Insert(2, 1), 0);
  const std::vector<int> Before = Stack();
  EXPECT_EQ(Insert(3, 5), 1);   // the reference is not in the stack
  EXPECT_EQ(Insert(57, 1), 1);  // a mechanical layer has no place in the stack
  EXPECT_EQ(Insert(3, 57), 1);
  EXPECT_EQ(Insert(0, 1), 1);
  EXPECT_EQ(Insert(83, 1), 1);
  EXPECT_EQ(PcbApi_InsertLayerInStack(Board + 1000, 3, 1), 1);
  EXPECT_EQ(PcbApi_RemoveLayerFromStack(Board, 1), 1);
  EXPECT_EQ(PcbApi_RemoveLayerFromStack(Board, 32), 1);
  EXPECT_EQ(PcbApi_RemoveLayerFromStack(Board, 83), 1);
  EXPECT_EQ(PcbApi_RemoveLayerFromStack(Board, 9), 0);  // not in the stack: nothing to do
  EXPECT_EQ(Stack(), Before);

  EXPECT_EQ(PcbApi_RemoveLayerFromStack(Board, 2), 0);
  EXPECT_EQ(Stack(), (std::vector<int>{1, 32}));
  TLayerFields Removed = Layer(2);
  EXPECT_EQ(Removed.Previous + Removed.Next, 0);
}

TEST_F(MerovanBoardTest, AnySequenceOfEditsKeepsOneChainFromTopToBottom) {
  unsigned Seed = 12345;
  auto Next = [&](int Range) {
    Seed = Seed * 1103515245u + 12345u;
    return static_cast<int>((Seed >> 16) % Range);
  };
  const int Layers[] = {1, 2, 3, 4, 5, 30, 31, 32, 39, 40, 54};
  for (int Step = 0; Step < 300; ++Step) {
    Byte L = static_cast<Byte>(Layers[Next(11)]);
    if (Next(4) == 0)
      PcbApi_RemoveLayerFromStack(Board, L);
    else
      Insert(L, static_cast<Byte>(Layers[Next(11)]));
    std::vector<int> Order = Stack();
    ASSERT_LE(Order.size(), 11u) << "a cycle after step " << Step;
    ASSERT_EQ(Order.back(), 32) << "step " << Step;
    std::vector<int> Sorted = Order;
    std::stable_sort(Sorted.begin(), Sorted.end());
    ASSERT_EQ(std::adjacent_find(Sorted.begin(), Sorted.end()), Sorted.end());
  }
}

TEST_F(MerovanBoardTest, LayerWritesKeepTheEditorsOwnFields) {
  TLayerFields F = Layer(3);
  F.Name = "Signal 2";
  F.Copper = 7000;
  F.State1 = 1, F.State2 = 5, F.State3 = 6, F.Previous = 40, F.Next = 41;
  ASSERT_EQ(QueryLayer(ExchangeWrite, 3, F), 0);
  TLayerFields Back = Layer(3);
  EXPECT_EQ(Back.Name.ToString(), "Signal 2");
  EXPECT_EQ(Back.Copper, 7000);
  EXPECT_EQ(Back.State2 * 10 + Back.State3, 56);
  EXPECT_EQ(Back.State1 + Back.Previous + Back.Next, 0);  // read-only: unchanged

  // A mode other than 0, 1 and 2, a layer outside 1..82 or an unknown board: status 1,
  // nothing changes.
  F.Copper = 1;
  EXPECT_EQ(QueryLayer(3, 3, F), 1);
  EXPECT_EQ(QueryLayer(ExchangeWrite, 0, F), 1);
  EXPECT_EQ(QueryLayer(ExchangeWrite, 83, F), 1);
  EXPECT_EQ(QueryLayer(ExchangeWrite, 3, F, Board + 1000), 1);
  EXPECT_EQ(Layer(3).Copper, 7000);

  PcbString Net;
  TLayerFields P;
  ASSERT_EQ(PcbApi_QueryInternalPlane(ExchangeRead, 39, Board, P.Name, P.Copper, P.State1,
                                      P.State2, P.Previous, P.Next, Net),
            0);
  EXPECT_EQ(Net.ToString(), "(No Net)");
  Net = "GND";
  ASSERT_EQ(PcbApi_QueryInternalPlane(ExchangeWriteAlt, 39, Board, P.Name, P.Copper,
                                      P.State1, P.State2, P.Previous, P.Next, Net),
            0);
  Net = "";
  PcbApi_QueryInternalPlane(ExchangeRead, 39, Board, P.Name, P.Copper, P.State1, P.State2,
                            P.Previous, P.Next, Net);
  EXPECT_EQ(Net.ToString(), "GND");
  EXPECT_EQ(PcbApi_QueryInternalPlane(ExchangeRead, 2, Board, P.Name, P.Copper, P.State1,
                                      P.State2, P.Previous, P.Next, Net),
            1);
}

TEST_F(MerovanBoardTest, FirstStateByteSaysWhetherTheLayerHoldsAnObject) {
  EXPECT_EQ(Layer(57).State1, 0);
  Integer Track = AddTrack(0, 0, 10, 10, 57);
  EXPECT_EQ(Layer(57).State1, 1);
  EXPECT_EQ(Layer(58).State1, 0);
  // Moving the object moves the state with it; taking it out clears it.
  TTrackFields F;
  QueryTrack(ExchangeRead, Track, F);
  F.Layer = 58;
  QueryTrack(ExchangeWrite, Track, F);
  EXPECT_EQ(Layer(57).State1 * 10 + Layer(58).State1, 1);
  EXPECT_EQ(PcbApi_DeleteObjectFromContainer(Board, Track), 0);
  EXPECT_EQ(Layer(58).State1, 0);
  // The seed keeps a layer in use without objects.
  ASSERT_TRUE(SetLayerState(Board, 5, 1, 2, 3));
  TLayerFields Seeded = Layer(5);
  EXPECT_EQ(Seeded.State1 * 100 + Seeded.State2 * 10 + Seeded.State3, 123);
  EXPECT_FALSE(SetLayerState(Board, 83, 1, 0, 0));
}

// Six distinct values, flags with bits in every nibble: a swapped, shifted or truncated
// argument of the register convention shows.
TEST_F(MerovanBoardTest, SheetTravelsInTheRegisterConventionBothWays) {
  Integer X = 0, Y = 0, W = 0, H = 0;
  Byte F1 = 9, F2 = 9;
  ASSERT_EQ(PcbApi_QuerySheet(ExchangeRead, Board, X, Y, W, H, F1, F2), 0);
  EXPECT_GT(W, 0);
  EXPECT_GT(H, 0);
  X = -123456, Y = 7654321, W = 11111111, H = 22222222, F1 = 0xA5, F2 = 0x3C;
  ASSERT_EQ(PcbApi_QuerySheet(ExchangeWrite, Board, X, Y, W, H, F1, F2), 0);
  // A refused call leaves the stack balanced for the next one.
  EXPECT_EQ(PcbApi_QuerySheet(4, Board, X, Y, W, H, F1, F2), 1);
  EXPECT_EQ(PcbApi_QuerySheet(ExchangeRead, 0, X, Y, W, H, F1, F2), 1);
  Integer X2 = 0, Y2 = 0, W2 = 0, H2 = 0;
  Byte G1 = 0, G2 = 0;
  ASSERT_EQ(PcbApi_QuerySheet(ExchangeRead, Board, X2, Y2, W2, H2, G1, G2), 0);
  EXPECT_EQ(std::vector<Integer>({X2, Y2, W2, H2, G1, G2}),
            std::vector<Integer>({-123456, 7654321, 11111111, 22222222, 0xA5, 0x3C}));
}

TEST_F(MerovanBoardTest, BoardRecordsAreStoredAsWrittenWithinTheirRanges) {
  Integer V1 = 0, V2 = 0, V3 = 0, V4 = 0, V5 = 0, Outline = 0;
  PcbString Text;
  Byte B1 = 0, B2 = 0, B3 = 0;
  ASSERT_EQ(
      PcbApi_QueryBoard(ExchangeRead, Board, V1, Text, B1, V2, V3, V4, V5, B2, B3, Outline),
      0);
  EXPECT_EQ(B2, 1);  // the unit byte starts imperial
  V1 = 11, V5 = 55, Text = "Board", B2 = 0, B3 = 1, Outline = 999;
  ASSERT_EQ(PcbApi_QueryBoard(ExchangeWrite, Board, V1, Text, B1, V2, V3, V4, V5, B2, B3,
                              Outline),
            0);
  V1 = V5 = Outline = -1;
  PcbApi_QueryBoard(ExchangeRead, Board, V1, Text, B1, V2, V3, V4, V5, B2, B3, Outline);
  EXPECT_EQ(std::vector<Integer>({V1, V5, B2, B3, Outline}),
            std::vector<Integer>({11, 55, 0, 1, 0}));
  EXPECT_EQ(Text.ToString(), "Board");

  // Indexed records: plot and flip layers 1..109, pens 1..8, composite layers 1..82,
  // layer pairs by index.
  Byte Plot = 3;
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsPlotLayers(ExchangeWrite, Board, 109, Plot), 0);
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsPlotLayers(ExchangeWrite, Board, 110, Plot), 1);
  EXPECT_EQ(PcbApi_QueryBoardOutputOptionsFlipLayers(ExchangeWrite, Board, 0, Plot), 1);
  Plot = 0;
  PcbApi_QueryBoardOutputOptionsPlotLayers(ExchangeRead, Board, 109, Plot);
  EXPECT_EQ(Plot, 3);
  Integer Pen1 = 4, Pen2 = 5, C1 = 0, C2 = 0, C3 = 0;
  Byte CB = 0;
  EXPECT_EQ(PcbApi_QueryBoardPrinterOptionsPlotterPen(ExchangeWrite, Board, 8, Pen1, Pen2),
            0);
  EXPECT_EQ(PcbApi_QueryBoardPrinterOptionsPlotterPen(ExchangeWrite, Board, 9, Pen1, Pen2),
            1);
  EXPECT_EQ(PcbApi_QueryBoardPrinterOptionsCompositeLayer(ExchangeRead, Board, 82, C1, C2,
                                                          CB, C3),
            0);
  EXPECT_EQ(PcbApi_QueryBoardPrinterOptionsCompositeLayer(ExchangeRead, Board, 83, C1, C2,
                                                          CB, C3),
            1);
  Pen1 = Pen2 = 0;
  PcbApi_QueryBoardPrinterOptionsPlotterPen(ExchangeRead, Board, 8, Pen1, Pen2);
  EXPECT_EQ(Pen1 * 10 + Pen2, 45);

  EXPECT_EQ(AddLayerPair(Board, 39, 40), 1);
  EXPECT_EQ(AddLayerPair(Board, 0, 40), -1);
  Byte L1 = 40, L2 = 39, P2 = 8, P1 = 9;
  EXPECT_EQ(PcbApi_QueryBoardLayerPairAt(ExchangeWrite, Board, 1, L1, L2, P2, P1), 0);
  EXPECT_EQ(PcbApi_QueryBoardLayerPairAt(ExchangeWrite, Board, 2, L1, L2, P2, P1), 1);
  L1 = L2 = P1 = P2 = 0;
  PcbApi_QueryBoardLayerPairAt(ExchangeRead, Board, 1, L1, L2, P2, P1);
  EXPECT_EQ(std::vector<int>({L1, L2, P2, P1}), std::vector<int>({40, 39, 8, 9}));
}

}  // namespace
