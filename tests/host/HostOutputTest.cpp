// The host's output folder (PcbHost --out): every PCB document of a run saved as text
// and as a picture when it is closed or the host stops.
#include "tests/host/HostTestSupport.h"

#include <set>

#include "host/HostDocuments.h"
#include "host/MerovanPicture.h"
#include "pcb/PCBProcs.h"
#include "tests/host/HostProcessSupport.h"
#include "tests/host/PictureTestSupport.h"

namespace {

std::set<std::string> Sorted(const std::vector<std::string>& Names) {
  return std::set<std::string>(Names.begin(), Names.end());
}

// A thick top-layer track across the board.
void AddTrack(Integer Board) {
  const Integer Track = PcbApi_CreateObject(eTrackObject);
  Word Flags = 0, HeaderWord = 0;
  Byte Layer = 0, HeaderByte = 0;
  Integer Value1 = 0, Value2 = 0, X = 0, Y = 0, X2 = 0, Y2 = 0, Width = 0, E1 = 0, E2 = 0,
          E3 = 0;
  auto Exchange = [&](TExchangeMode Mode) {
    return PcbApi_QueryTrack(Mode, Track, Flags, HeaderWord, Layer, Value1, HeaderByte, Value2,
                             X, Y, X2, Y2, Width, E1, E2, E3);
  };
  ASSERT_EQ(Exchange(ExchangeRead), 0);
  X2 = 10000000, Width = 1000000;
  ASSERT_EQ(Exchange(ExchangeWrite), 0);
  ASSERT_EQ(PcbApi_AddObjectToContainer(Board, Track), 0);
}

class HostOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scratch = NewScratchFolder("host-output-");
    ASSERT_FALSE(Scratch.empty());
  }
  void TearDown() override {
    if (!Scratch.empty()) {  // empty when SetUp stopped early
      RemoveScratchFolder(Scratch + "run\\");
      RemoveScratchFolder(Scratch);
    }
    BindPcbApi();  // the editor is gone again
  }

  std::string Scratch;
};

TEST_F(HostOutputTest, EveryPcbDocumentOfTheRunIsSavedAsTextAndPicture) {
  THostOptions Options;
  Options.Folder = TestHostRoot();
  Options.OutputFolder = Scratch + "run";  // made when the first board is saved
  THost* Host = CreateHost(Options);
  ASSERT_NE(Host, nullptr);
  THostDocument* Kept = Host->OpenDocument("PCB", "C:\\Boards\\Output Board.PcbDoc");
  ASSERT_NE(Kept->Board(), 0);
  BindPcbApi();
  AddTrack(Kept->Board());
  Host->OpenDocument("PCB", "output board.PcbDoc");  // the same name in other letters
  Host->AddDocumentKind("SCH", "Sheet", "SchDoc");
  Host->OpenDocument("SCH", "Schematic.SchDoc");  // no board: nothing to save

  THostDocument* Early = Host->OpenDocument("PCB", "Closed Early.PcbDoc");
  AddTrack(Early->Board());
  Host->CloseDocument(Early->Interface());
  const std::string Out = Scratch + "run\\";
  EXPECT_EQ(Sorted(FilesIn(Out)),
            (std::set<std::string>{"Closed Early.png", "Closed Early.txt"}));

  std::string Error;
  EXPECT_TRUE(Host->Stop(&Error)) << Error;
  DestroyHost(Host);
  EXPECT_EQ(Sorted(FilesIn(Out)),
            (std::set<std::string>{"Closed Early.png", "Closed Early.txt", "Output Board.png",
                                      "Output Board.txt", "output board (2).png",
                                      "output board (2).txt"}));

  const std::string Text = FileText(Out + "Output Board.txt");
  EXPECT_EQ(Text.rfind("MerovanBoard 1\n", 0), 0u);
  EXPECT_NE(Text.find("Kind=\"Track\""), std::string::npos);
  EXPECT_EQ(FileText(Out + "output board (2).txt").find("Kind=\"Track\""), std::string::npos);

  const TPicture Picture = LoadPicture(Out + "Output Board.png");
  EXPECT_EQ(Picture.Width, OutputPictureWidth);
  EXPECT_EQ(Picture.Height, OutputPictureHeight);
  // The only object fills the picture's middle.
  EXPECT_EQ(Picture.At(OutputPictureWidth / 2, OutputPictureHeight / 2), Merovan::LayerColour(1));
  EXPECT_EQ(Picture.At(2, 2), Merovan::PictureBackground);
}

// The module's RemoveDocument lets a document go unsaved (a board it refused to finish,
// say): only what the host closes or still holds at the end is saved.
TEST_F(HostOutputTest, ADocumentTheModuleRemovesIsNotSaved) {
  THostOptions Options;
  Options.Folder = TestHostRoot();
  Options.OutputFolder = Scratch + "run";
  THost* Host = CreateHost(Options);
  ASSERT_NE(Host, nullptr);
  IServerModule* Pcb = nullptr;
  Host->Client()->GetServerModuleByName("PCB", &Pcb);
  ASSERT_NE(Pcb, nullptr);
  IServerDocument* Removed = nullptr;
  Pcb->CreateDocument("PCB", "Removed.PcbDoc", &Removed);
  ASSERT_NE(Removed, nullptr);
  Host->ShowDocument(Removed);
  Pcb->RemoveDocument(Removed);
  Removed->Release();
  Pcb->Release();
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_EQ(Host->CurrentDocument(), nullptr);

  // The name stays free for a document that is kept.
  Host->OpenDocument("PCB", "removed.PcbDoc");
  std::string Error;
  EXPECT_TRUE(Host->Stop(&Error)) << Error;
  DestroyHost(Host);
  EXPECT_EQ(Sorted(FilesIn(Scratch + "run\\")),
            (std::set<std::string>{"removed.png", "removed.txt"}));
}

TEST_F(HostOutputTest, StopReportsABoardItCouldNotSave) {
  THostOptions Options;
  Options.Folder = TestHostRoot();
  Options.OutputFolder = Scratch + "missing\\run";  // its parent is not there
  THost* Host = CreateHost(Options);
  ASSERT_NE(Host, nullptr);
  Host->OpenDocument("PCB", "Lost.PcbDoc");
  std::string Error;
  EXPECT_FALSE(Host->Stop(&Error));
  EXPECT_NE(Error.find("Lost.txt"), std::string::npos) << Error;
  DestroyHost(Host);
}

TEST_F(HostOutputTest, HostExecutableTakesAnOutputFolder) {
  const std::string Host = "\"" + TestHostRoot() + "PcbHost.exe\"";
  const std::string Out = Scratch + "run";
  TRunResult Run = RunProgram(Host + " --out \"" + Out + "\" --run NoSuchCommand", TestHostRoot());
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  EXPECT_NE(Run.Output.find("NoSuchCommand -> 0"), std::string::npos) << Run;
  // The command opened no document, so there was nothing to save.
  EXPECT_TRUE(FilesIn(Out + "\\").empty());

  Run = RunProgram(Host + " --out \"\"", TestHostRoot());
  EXPECT_EQ(Run.ExitCode, 2u) << Run;
  Run = RunProgram(Host + " --out", TestHostRoot());
  EXPECT_EQ(Run.ExitCode, 2u) << Run;
}

}  // namespace
