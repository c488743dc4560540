// The install folder's Scripts\NewBoard.txt played by PcbHost against the board wizard,
// as a user would drive it: the board it leaves is the maker's board for the script's
// answers (a typed size, through-hole components with three tracks, the defaults
// elsewhere), with a screenshot of every page; a run that cancels leaves no board.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/Objects.h"
#include "framework/ClientProcs.h"
#include "host/HostScript.h"
#include "pcb/PCBProcs.h"
#include "tests/host/HostProcessSupport.h"
#include "tests/host/HostTestSupport.h"
#include "tests/host/PictureTestSupport.h"
#include "wizard/BoardDB.h"
#include "wizard/BoardDB_Maker.h"

namespace {

const char* const PageShots[] = {"01-Welcome",  "02-MeasureUnits", "03-BoardProfiles",
                                 "04-BoardDetails", "05-Layers",   "06-ViaStyle",
                                 "07-Technology", "08-TrackVia",   "09-Complete"};

std::string ReadFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

// The object lines of a saved board: each Object line and the list lines after it.
std::vector<std::string> ObjectLines(const std::string& Text) {
  std::vector<std::string> Lines;
  std::istringstream In(Text);
  std::string Line;
  while (std::getline(In, Line))
    if (Line.compare(0, 7, "Object ") == 0 || (!Lines.empty() && Line.compare(0, 2, "  ") == 0))
      Lines.push_back(Line);
  return Lines;
}

std::vector<std::string> WithExtension(const std::vector<std::string>& Names, const char* Extension) {
  std::vector<std::string> Found;
  const std::string Tail = Extension;
  for (const std::string& Name : Names)
    if (Name.size() > Tail.size() && Name.compare(Name.size() - Tail.size(), Tail.size(), Tail) == 0)
      Found.push_back(Name);
  return Found;
}

class NewBoardScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scratch = NewScratchFolder("newboard-");
    ASSERT_FALSE(Scratch.empty());
  }
  void TearDown() override {
    RemoveScratchFolder(Scratch + "run\\");
    RemoveScratchFolder(Scratch + "default\\");
    RemoveScratchFolder(Scratch);
  }

  TRunResult Play(const std::string& ScriptFile) {
    return RunProgram("\"" + TestHostRoot() + "PcbHost.exe\" --script \"" + ScriptFile +
                          "\" --out \"" + Scratch + "run\" --run RunWizard",
                      TestHostRoot());
  }

  // The maker's board from a record with the script's answers, saved the way the host
  // saves its documents; the saved text.
  std::string ScriptBoardText() {
    const std::string Folder = Scratch + "default\\";
    THostOptions Options;
    Options.Folder = TestHostRoot();
    Options.OutputFolder = Folder;
    THost* Host = CreateHost(Options);
    if (!Host) return std::string();
    SetClient(Host->Client());
    TBoardInfoFromUser* Info = NewObject<TBoardInfoFromUser>();
    // The details page: the typed size, and the first mechanical layer for the
    // dimension lines, which the page selects when it finds none.
    Info->BoardWidth = MilToCoord(3000);
    Info->BoardHeight = MilToCoord(2500);
    Info->DimensionLayer = 57;
    // The technology page: through-hole with three tracks, and that choice's minimums.
    Info->SurfaceMount = false;
    Info->RouteTechnology = 2;
    Info->MinTrackSize = MilToCoord(6);
    Info->MinViaWidth = MilToCoord(25);
    Info->MinViaHoleSize = MilToCoord(12);
    Info->MinClearance = MilToCoord(6);
    {
      TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, nullptr));
      Maker->BuildBoard();
    }
    FreeAndNil(Info);
    SetClient(nullptr);
    DestroyHost(Host);  // saves the open document into the folder
    BindPcbApi();
    const std::vector<std::string> Texts = WithExtension(FilesIn(Folder), ".txt");
    EXPECT_EQ(Texts.size(), 1u);
    return Texts.empty() ? std::string() : ReadFile(Folder + Texts[0]);
  }

  std::string Scratch;
};

TEST_F(NewBoardScriptTest, TheInstalledScriptIsValid) {
  TScript Script;
  TScriptError Error;
  ASSERT_TRUE(LoadScript(TestHostRoot() + "Scripts\\NewBoard.txt", Script, Error))
      << Error.Message();
  int Shots = 0;
  for (const TScriptStep& Step : Script.Steps) Shots += Step.Action == TScriptAction::Shot;
  EXPECT_EQ(Shots, 9);
}

TEST_F(NewBoardScriptTest, TheScriptLeavesTheBoardOfItsAnswersAndAShotOfEveryPage) {
  TRunResult Run = Play(TestHostRoot() + "Scripts\\NewBoard.txt");
  ASSERT_EQ(Run.ExitCode, 0u) << Run.Output;
  const std::string Out = Scratch + "run\\";
  const std::vector<std::string> Files = FilesIn(Out);
  EXPECT_TRUE(WithExtension(Files, "failed.png").empty());

  // One screenshot of the dialog per page, each of the dialog's size, each page
  // different from the one before.
  TPicture Previous;
  for (const char* Name : PageShots) {
    TPicture Shot = LoadPicture(Out + Name + ".png");
    ASSERT_TRUE(Shot.Loaded()) << Name;
    EXPECT_GT(Shot.Width, 497) << Name;   // the client area and a frame
    EXPECT_GT(Shot.Height, 361) << Name;
    if (Previous.Loaded()) {
      EXPECT_EQ(Shot.Width, Previous.Width) << Name;
      EXPECT_EQ(Shot.Height, Previous.Height) << Name;
      EXPECT_NE(Shot.Pixels, Previous.Pixels) << Name;
    }
    Previous = Shot;
  }

  // The board, as text and picture.
  const std::vector<std::string> Texts = WithExtension(Files, ".txt");
  ASSERT_EQ(Texts.size(), 1u);
  const std::string Base = Texts[0].substr(0, Texts[0].size() - 4);
  TPicture Board = LoadPicture(Out + Base + ".png");
  ASSERT_TRUE(Board.Loaded());
  EXPECT_EQ(Board.Width, 1024);
  EXPECT_EQ(Board.Height, 768);

  const std::vector<std::string> Made = ObjectLines(ReadFile(Out + Texts[0]));
  EXPECT_FALSE(Made.empty());
  // The outline's far corner: 3000 x 2500 mil from the origin at (2000, 3000) mil.
  const std::string Corner = "  Segment Kind=0 X=50000000 Y=55000000 ";
  EXPECT_TRUE(std::any_of(Made.begin(), Made.end(),
                          [&](const std::string& Line) { return Line.compare(0, Corner.size(), Corner) == 0; }));
  EXPECT_EQ(Made, ObjectLines(ScriptBoardText()));
}

TEST_F(NewBoardScriptTest, AScriptThatCancelsLeavesNoBoard) {
  const std::string File = Scratch + "cancel.txt";
  {
    std::ofstream Out(File, std::ios::binary);
    Out << "wait PCB Board Wizard\nclick Next >\nshot 02-MeasureUnits\nclick Cancel\n";
  }
  TRunResult Run = Play(File);
  EXPECT_EQ(Run.ExitCode, 0u) << Run.Output;
  const std::vector<std::string> Files = FilesIn(Scratch + "run\\");
  EXPECT_TRUE(WithExtension(Files, ".txt").empty());
  EXPECT_EQ(Files, std::vector<std::string>{"02-MeasureUnits.png"});
}

}  // namespace
