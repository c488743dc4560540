// The board maker's document: how it is opened, what of a template it keeps, the
// title-block pass, and the units, grid and origin it sets.
#include <map>

#include "tests/wizard/MakerTemplates.h"

namespace {

using MakerOpenTest = MakerTemplateTest;

TEST_F(MakerOpenTest, WithoutAClientNothingIsOpened) {
  SetClient(nullptr);
  TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, nullptr));
  Maker->BuildBoard();
  EXPECT_EQ(Maker->Document, nullptr);
  EXPECT_EQ(Host->DocumentCount(), 0);
}

TEST_F(MakerOpenTest, BlankBoardsTakeFreeNamesAndAreShown) {
  Host->OpenDocument("PCB", "PCB1.PcbDoc");
  Info->IsCustom = false;
  ASSERT_NE(Build(), 0);
  EXPECT_EQ(DocumentName, "PCB2.PcbDoc");
  EXPECT_EQ(Info->TemplateFileName, "PCB2.PcbDoc");
  THostDocument* Document = Host->FindDocument("PCB2.PcbDoc");
  ASSERT_NE(Document, nullptr);
  EXPECT_EQ(Document->LoadCount(), 1);
  EXPECT_EQ(Host->CurrentDocument(), Document);
  EXPECT_EQ(Host->StartedServers(), std::vector<std::string>{"PCB"});
}

// A template with two object classes, rules of the seven kinds the maker sets (two
// clearance rules among them), one rule of another kind (1) and one track: the
// document is a copy under a free name without the classes, with its own rules of
// the seven kinds in place of the old ones, and the template file stays as it was.
TEST_F(MakerOpenTest, TemplateBecomesANewDocument) {
  const std::string Path = WriteTemplate("Rich.PcbDoc", [](Integer Board) {
    AddClassesAndRules(Board, 1, {});
    Seed(Board, eTrackObject, 1, WholeMils(100), 0, WholeMils(900), 0);
    AddClassesAndRules(Board, 1, {0, 0, 2, 6, 9, 10, 11, 18, 1});
    SeedOutline(Board, 0, 0, WholeMils(1000), WholeMils(1000));
  });
  const std::string Before = FileText(Path);
  Info->IsCustom = false;
  Info->TemplateFileName = Path;
  Integer Board = 0;
  const std::vector<std::string> Log = Logged([&] { Board = Build(); });
  ASSERT_NE(Board, 0);

  EXPECT_EQ(FileText(Path), Before);
  EXPECT_EQ(DocumentName, "PCB1.PcbDoc");
  ASSERT_NE(Host->FindDocument("PCB1.PcbDoc"), nullptr);
  EXPECT_EQ(Host->FindDocument("PCB1.PcbDoc")->TemplateFileName(), Path);
  EXPECT_EQ(Objects(Board, eTrackObject).size(), 1u);

  EXPECT_TRUE(Objects(Board, eClassObject).empty());
  // The classes and the layer stack's dummy tracks, and nothing else.
  const std::size_t DummyTracks = Starting(Log, "PcbApi_CreateObject 4").size();
  EXPECT_GT(DummyTracks, 0u);
  EXPECT_EQ(Starting(Log, "PcbApi_DestroyObject ").size(), 2u + DummyTracks);
  EXPECT_EQ(SortedKinds(Rules(Board)), (std::vector<int>{0, 1, 2, 6, 9, 10, 11}));
  // The eight replaced rules left the board but were not destroyed.
  int RemovedRules = 0;
  for (const std::string& Line : Starting(Log, "PcbApi_DeleteObjectFromContainer ")) {
    const Integer Handle = std::stoi(Line.substr(Line.rfind(' ') + 1));
    if (PcbApi_GetObjectIdFromObjectHandle(Handle) == eRuleObject) ++RemovedRules;
  }
  EXPECT_EQ(RemovedRules, 8);
}

// The title-block pass on a custom board built from a template; objects are told
// apart by their X (in mils) and the expected layer of each is given per case.
struct TTitleBlockCase {
  TLayer DimensionLayer;
  bool TitleBlock, Scale;
  std::map<int, int> LayerAtX;
};

class MakerTitleBlockTest : public MakerTemplateTest,
                            public ::testing::WithParamInterface<TTitleBlockCase> {};

TEST_P(MakerTitleBlockTest, MovesExactlyTheSelectedObjects) {
  Info->TemplateFileName = WriteTemplate("Title.PcbDoc", [](Integer B) {
    const Word Title = 0x10;
    Seed(B, eTrackObject, 1, WholeMils(110), 0, WholeMils(110), WholeMils(50), Title);
    Seed(B, eTextObject, 73, WholeMils(120), 0, 0, 0, Title);
    Seed(B, eArcObject, 72, WholeMils(130), 0, 0, 0, Title);  // title block on the scale layer
    Seed(B, eTrackObject, 72, WholeMils(140), 0, WholeMils(140), WholeMils(50));
    Seed(B, eTextObject, 72, WholeMils(150));
    Seed(B, eTrackObject, 1, WholeMils(160), 0, WholeMils(160), WholeMils(50));
    Seed(B, eArcObject, 57, WholeMils(170));
    Seed(B, eFillObject, 1, WholeMils(180), 0, WholeMils(190), WholeMils(10), Title);
  });
  const TTitleBlockCase& Case = GetParam();
  Info->DimensionLayer = Case.DimensionLayer;
  Info->TitleBlock = Case.TitleBlock;
  Info->Scale = Case.Scale;
  Info->LegendString = false;
  Info->DimensionLines = false;
  const Integer Board = Build();
  ASSERT_NE(Board, 0);

  std::map<int, int> LayerAtX;
  for (Integer H : Objects(Board)) {
    TOwned<TPCBObject> Object(CreatePcbObjectFromHandle(H));
    const int X = Object->X / 10000;
    if (X >= 110 && X <= 180) {
      EXPECT_TRUE(LayerAtX.emplace(X, Object->Layer).second) << X;
    }
  }
  EXPECT_EQ(LayerAtX, Case.LayerAtX);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, MakerTitleBlockTest,
    ::testing::Values(
        TTitleBlockCase{60, true, false,
                        {{110, 60}, {120, 60}, {130, 60}, {140, 72}, {150, 72}, {160, 1},
                         {170, 57}, {180, 1}}},
        TTitleBlockCase{60, false, true,
                        {{110, 1}, {120, 73}, {130, 72}, {140, 60}, {150, 60}, {160, 1},
                         {170, 57}, {180, 1}}},
        TTitleBlockCase{61, true, true,
                        {{110, 61}, {120, 61}, {130, 61}, {140, 61}, {150, 61}, {160, 1},
                         {170, 57}, {180, 1}}},
        TTitleBlockCase{0, true, true,
                        {{110, 1}, {120, 73}, {130, 72}, {140, 72}, {150, 72}, {160, 1},
                         {170, 57}, {180, 1}}}));

// Units and grid reach the board on the template path and on both custom paths; the
// custom board without a dimension layer is the one whose outline step reads the board
// before the build writes it again.
class MakerUnitsAndGridTest : public MakerTemplateTest,
                              public ::testing::WithParamInterface<int> {};

TEST_P(MakerUnitsAndGridTest, ReachTheBoard) {
  Info->IsCustom = GetParam() != 0;
  Info->DimensionLayer = GetParam() == 2 ? 60 : 0;
  if (!Info->IsCustom)
    Info->TemplateFileName = WriteTemplate("Units.PcbDoc", [](Integer B) {
      SeedOutline(B, 0, 0, WholeMils(1000), WholeMils(1000));
    });
  Info->Units = eMetric;
  Info->SurfaceMount = false;
  Info->RouteTechnology = 2;  // a 16.6 mil grid
  const Integer Board = Build();
  ASSERT_NE(Board, 0);
  TOwned<TPcbBoard> Read = ReadBoard(Board);
  EXPECT_EQ(Read->BoardByte2, eMetric);
  EXPECT_EQ(Read->GridSize, 166000.0);
  EXPECT_EQ(Read->BoardByte3, Info->IsCustom ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(TemplateCustomAndCustomWithDimensionLayer, MakerUnitsAndGridTest,
                         ::testing::Values(0, 1, 2));

TEST_F(MakerOpenTest, OriginFollowsTitleBlockAndScale) {
  struct TCase {
    bool TitleBlock, Scale;
    Integer OriginY;
  };
  for (const TCase& Case : {TCase{true, true, 30000000}, TCase{false, true, 20000000},
                            TCase{false, false, 30000000}}) {
    Info->TitleBlock = Case.TitleBlock;
    Info->Scale = Case.Scale;
    Info->TemplateFileName.clear();
    TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, nullptr));
    Maker->BuildBoard();
    EXPECT_EQ(Maker->OriginX, 20000000);
    EXPECT_EQ(Maker->OriginY, Case.OriginY) << Case.TitleBlock << Case.Scale;
    EXPECT_EQ(Maker->Board, nullptr);
  }
}

}  // namespace
