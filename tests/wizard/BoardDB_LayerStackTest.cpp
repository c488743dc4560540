// The board maker's layer stack: the order layers go into the stack, the removal of
// unused middle layers and planes, the used-layer flags and the short-lived track that
// makes a layer known to the editor.
#include <utility>

#include "tests/wizard/MakerTemplates.h"

namespace {

using TCall = std::pair<int, int>;

class MakerLayerStackTest : public MakerTemplateTest {
 protected:
  void BuildLogged() {
    Info->IsCustom = false;
    LoadEditor();
    Log = Logged([&] { Board = Build(); });
    ASSERT_NE(Board, 0);
  }

  // The last two numbers of each log line of the function: (layer, reference layer)
  // of an insert, (board, layer) of a removal.
  std::vector<TCall> Calls(const std::string& Function) const {
    std::vector<TCall> Result;
    for (const std::string& Line : Starting(Log, Function + " ")) {
      std::istringstream Fields(Line.substr(Function.size()));
      std::vector<int> N;
      for (int Value; Fields >> Value;) N.push_back(Value);
      Result.emplace_back(N[N.size() - 2], N[N.size() - 1]);
    }
    return Result;
  }

  // The board's stack from the top.
  std::vector<int> Stack() {
    TOwned<TPcbBoard> Read = ReadBoard(Board);
    std::vector<int> Layers;
    for (TLayerObject* L = Read->FirstLayerInStack(); L && Layers.size() < 83;
         L = Read->NextLayerInStack(L))
      Layers.push_back(L->Layer);
    return Layers;
  }

  Integer Board = 0;
  std::vector<std::string> Log;
};

struct TStackCase {
  int Signals, Planes;
  std::vector<TCall> Inserts;
  std::vector<int> Stack;
};

class MakerStackOrderTest : public MakerLayerStackTest,
                            public ::testing::WithParamInterface<TStackCase> {};

TEST_P(MakerStackOrderTest, InsertsInTheFixedOrder) {
  Info->SignalLayers = Byte(GetParam().Signals);
  Info->PowerPlanes = Byte(GetParam().Planes);
  BuildLogged();
  EXPECT_EQ(Calls("PcbApi_InsertLayerInStack"), GetParam().Inserts);
  EXPECT_EQ(Stack(), GetParam().Stack);
}

INSTANTIATE_TEST_SUITE_P(
    SignalsAndPlanes, MakerStackOrderTest,
    ::testing::Values(
        TStackCase{2, 2, {{1, 1}, {32, 1}, {39, 1}, {40, 39}}, {1, 39, 40, 32}},
        TStackCase{4, 0, {{1, 1}, {32, 1}, {2, 1}, {3, 32}}, {1, 2, 3, 32}},
        TStackCase{6,
                   3,
                   {{1, 1}, {32, 1}, {3, 1}, {2, 1}, {39, 3}, {40, 39}, {41, 40}, {4, 32},
                    {5, 32}},
                   {1, 2, 3, 39, 40, 41, 4, 5, 32}}));

TEST_F(MakerLayerStackTest, UnusedLayersWithoutObjectsLeaveTheStack) {
  // A template stacked 1, 2, 3, 4, 5, 39, 40, 41, 42, 32, with a track on layer 5.
  Info->TemplateFileName = WriteTemplate("Stack.PcbDoc", [](Integer B) {
    TLayer Above = 1;
    for (TLayer L : {2, 3, 4, 5, 39, 40, 41, 42}) {
      EXPECT_EQ(PcbApi_InsertLayerInStack(B, L, Above), 0);
      Above = L;
    }
    Seed(B, eTrackObject, 5, WholeMils(100), WholeMils(100), WholeMils(200), WholeMils(100));
    SeedOutline(B, 0, 0, WholeMils(1000), WholeMils(1000));
  });
  Info->SignalLayers = 2;
  Info->PowerPlanes = 1;
  BuildLogged();

  // Every middle layer and plane but layer 5, which holds an object.
  std::vector<int> Removed;
  for (const TCall& Call : Calls("PcbApi_RemoveLayerFromStack")) Removed.push_back(Call.second);
  std::vector<int> Expected;
  for (int L = 2; L <= 54; ++L)
    if ((L <= 31 && L != 5) || L >= 39) Expected.push_back(L);
  EXPECT_EQ(Removed, Expected);
  // The used plane 39 goes back in below the top layer; layer 5 keeps its place.
  EXPECT_EQ(Stack(), (std::vector<int>{1, 39, 5, 32}));
}

TEST_F(MakerLayerStackTest, UsedLayersAreFlaggedAndMadeKnownByATrackThatGoes) {
  BuildLogged();
  // The default record: the 26 always-used layers, top paste and two planes.
  TOwned<TPcbBoard> Read = ReadBoard(Board);
  std::vector<int> Flagged;
  for (int L = 1; L <= MaxLayer; ++L)
    if (Read->LayerObject(L)->LayerState2 != 0) Flagged.push_back(L);
  std::vector<int> Expected = {1, 32, 33, 35, 37, 39, 40, 56};
  for (int L = 57; L <= 75; ++L) Expected.push_back(L);
  Expected.insert(Expected.end(), {79, 80});
  EXPECT_EQ(Flagged, Expected);

  // A track for each used signal and mechanical layer (1, 32, 57..72), none for the
  // planes, each added, at once taken out again, and destroyed once it is out.
  EXPECT_EQ(Starting(Log, "PcbApi_CreateObject 4").size(), 18u);
  std::vector<std::string> Container;
  for (const std::string& Line : Log)
    if (Line.find("ObjectToContainer ") != std::string::npos ||
        Line.find("ObjectFromContainer ") != std::string::npos ||
        Line.find("DestroyObject ") != std::string::npos)
      Container.push_back(Line.substr(7, 3));
  ASSERT_GE(Container.size(), 54u);
  for (std::size_t I = 0; I < 54; ++I)
    EXPECT_EQ(Container[I], I % 3 == 0 ? "Add" : I % 3 == 1 ? "Del" : "Des") << I;
  const std::vector<std::string> Taken = Starting(Log, "PcbApi_DeleteObjectFromContainer ");
  const std::vector<std::string> Destroyed = Starting(Log, "PcbApi_DestroyObject ");
  ASSERT_EQ(Destroyed.size(), 18u);
  for (std::size_t I = 0; I < Destroyed.size(); ++I)
    EXPECT_EQ(Taken[I].substr(Taken[I].rfind(' ')),
              Destroyed[I].substr(Destroyed[I].rfind(' ')));
  EXPECT_TRUE(Objects(Board).empty());
}

}  // namespace
