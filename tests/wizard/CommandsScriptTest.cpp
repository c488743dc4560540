// The install folder's scripts played by PcbHost against the board wizard, as a user
// would drive it. Scripts\NewBoard.txt leaves the maker's board for its answers (a typed
// size with corner notches and an inner cut-out, through-hole components with three
// tracks, the defaults elsewhere), and a screenshot of every page; Scripts\ArcBoard.txt
// leaves a custom board whose top and right sides are arcs. A run that cancels leaves no
// board.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
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

const char* const PageShots[] = {"01-Welcome",      "02-MeasureUnits", "03-BoardProfiles",
                                 "04-BoardDetails", "05-CornerCutoff", "06-InnerCutoff",
                                 "07-Layers",       "08-ViaStyle",     "09-Technology",
                                 "10-TrackVia",     "11-Complete"};

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
    if (Scratch.empty()) return;  // SetUp stopped early
    RemoveScratchFolder(Scratch + "run\\");
    RemoveScratchFolder(Scratch + "default\\");
    RemoveScratchFolder(Scratch);
  }

  TRunResult Play(const std::string& ScriptFile) {
    return RunProgram("\"" + TestHostRoot() + "PcbHost.exe\" --script \"" + ScriptFile + "\"" +
                          ScriptBoundArguments() + "--out \"" + Scratch + "run\" --run RunWizard",
                      TestHostRoot());
  }

  // The maker's board from a record with every default but the answers that Answer
  // gives, saved the way the host saves its documents; the saved text.
  std::string BoardText(void (*Answer)(TBoardInfoFromUser* Info)) {
    const std::string Folder = Scratch + "default\\";
    THostOptions Options;
    Options.Folder = TestHostRoot();
    Options.OutputFolder = Folder;
    THost* Host = CreateHost(Options);
    if (!Host) return std::string();
    SetClient(Host->Client());
    TBoardInfoFromUser* Info = NewObject<TBoardInfoFromUser>();
    Answer(Info);
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

  // Plays Script (written to Name in the scratch folder), a walk whose Finish is refused
  // once, its message shot as "refused", before the wizard finishes: one board is left.
  void ExpectOneRefusalThenOneBoard(const char* Name, const std::string& Script) {
    const std::string File = Scratch + Name;
    {
      std::ofstream Out(File, std::ios::binary);
      Out << Script;
    }
    TRunResult Run = Play(File);
    EXPECT_EQ(Run.ExitCode, 0u) << Run;
    const std::vector<std::string> Files = FilesIn(Scratch + "run\\");
    EXPECT_EQ(WithExtension(Files, ".txt").size(), 1u);
    EXPECT_NE(std::find(Files.begin(), Files.end(), "refused.png"), Files.end());
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
  EXPECT_EQ(Shots, 12);
}

TEST_F(NewBoardScriptTest, TheScriptLeavesTheBoardOfItsAnswersAndAShotOfEveryPage) {
  TRunResult Run = Play(TestHostRoot() + "Scripts\\NewBoard.txt");
  ASSERT_EQ(Run.ExitCode, 0u) << Run;
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
  EXPECT_EQ(Made, ObjectLines(BoardText([](TBoardInfoFromUser* Info) {
              // The details page: the typed size, and the first mechanical layer for the
              // dimension lines, which the page selects when it finds none.
              Info->BoardWidth = MilToCoord(3000);
              Info->BoardHeight = MilToCoord(2500);
              Info->DimensionLayer = 57;
              Info->CornerCutoff = true;
              Info->CornerCut[bcUpperLeft] = {MilToCoord(800), MilToCoord(600)};
              Info->CornerCut[bcLowerLeft] = {MilToCoord(500), MilToCoord(500)};
              Info->CornerCut[bcUpperRight] = {MilToCoord(600), MilToCoord(900)};
              Info->CornerCut[bcLowerRight] = {MilToCoord(1000), MilToCoord(400)};
              Info->InnerCutoff = true;
              Info->InnerCutOffset = {MilToCoord(900), MilToCoord(700)};
              Info->InnerCutSize = {MilToCoord(1200), MilToCoord(1000)};
              // The technology page: through-hole with three tracks, and its minimums.
              Info->SurfaceMount = false;
              Info->RouteTechnology = 2;
              Info->MinTrackSize = MilToCoord(6);
              Info->MinViaWidth = MilToCoord(25);
              Info->MinViaHoleSize = MilToCoord(12);
              Info->MinClearance = MilToCoord(6);
            })));
}

// The fields of a line's Key=Value pairs, by key.
std::map<std::string, std::string> LineFields(const std::string& Line) {
  std::map<std::string, std::string> Fields;
  std::istringstream In(Line);
  std::string Word;
  while (In >> Word)
    if (const std::size_t Equals = Word.find('='); Equals != std::string::npos)
      Fields[Word.substr(0, Equals)] = Word.substr(Equals + 1);
  return Fields;
}

TEST_F(NewBoardScriptTest, TheArcScriptLeavesABoardWithItsTopAndRightSidesArcs) {
  TScript Script;
  TScriptError Error;
  ASSERT_TRUE(LoadScript(TestHostRoot() + "Scripts\\ArcBoard.txt", Script, Error))
      << Error.Message();

  TRunResult Run = Play(TestHostRoot() + "Scripts\\ArcBoard.txt");
  ASSERT_EQ(Run.ExitCode, 0u) << Run;
  const std::string Out = Scratch + "run\\";
  const std::vector<std::string> Files = FilesIn(Out);
  EXPECT_TRUE(WithExtension(Files, "failed.png").empty());
  EXPECT_TRUE(LoadPicture(Out + "02-CustomOutline.png").Loaded());

  // The board outline's vertices: 0 the lower-left corner, then the bottom, right, top
  // and left sides, and the closing vertex.
  const std::vector<std::string> Texts = WithExtension(Files, ".txt");
  ASSERT_EQ(Texts.size(), 1u);
  std::vector<std::map<std::string, std::string>> Vertices;
  std::istringstream In(ReadFile(Out + Texts[0]));
  std::string Line;
  while (std::getline(In, Line))
    if (Line.compare(0, 10, "  Segment ") == 0) Vertices.push_back(LineFields(Line));
  ASSERT_EQ(Vertices.size(), 6u);
  std::vector<std::string> Kinds;
  for (auto& Vertex : Vertices) Kinds.push_back(Vertex["Kind"]);
  EXPECT_EQ(Kinds, (std::vector<std::string>{"0", "0", "1", "1", "0", "0"}));

  // A 5000 x 4000 mil board: its corners moved in by the arcs' heights, each arc
  // reaching out to the board's edge in the middle of its side.
  const auto Value = [&](int Vertex, const char* Key) {
    return std::stoll(Vertices[Vertex][Key]);
  };
  const long long X0 = Value(0, "X"), Y0 = Value(0, "Y");
  EXPECT_EQ(Value(2, "X") - X0, MilToCoord(5000 - 400));  // the right side starts at R1
  EXPECT_EQ(Value(3, "Y") - Y0, MilToCoord(4000 - 600));  // the top side starts at T1
  EXPECT_NEAR(Value(2, "CX") + Value(2, "Radius") - X0, MilToCoord(5000), 2);
  EXPECT_NEAR(Value(3, "CY") + Value(3, "Radius") - Y0, MilToCoord(4000), 2);
}

TEST_F(NewBoardScriptTest, AScriptThatCancelsLeavesNoBoard) {
  const std::string File = Scratch + "cancel.txt";
  {
    std::ofstream Out(File, std::ios::binary);
    Out << "wait PCB Board Wizard\nclick Next >\nshot 02-MeasureUnits\nclick Cancel\n";
  }
  TRunResult Run = Play(File);
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  const std::vector<std::string> Files = FilesIn(Scratch + "run\\");
  EXPECT_TRUE(WithExtension(Files, ".txt").empty());
  EXPECT_EQ(Files, std::vector<std::string>{"02-MeasureUnits.png"});
}

TEST_F(NewBoardScriptTest, AWidthOfLettersEndsInOneMessageAndTheWizardStaysToFinishAgain) {
  ExpectOneRefusalThenOneBoard(
      "letters.txt",
      "wait PCB Board Wizard\nclick Next >\nclick Next >\nclick Next >\n"
      "key Alt+W\ntype abc\nclick Finish\n"
      // The message, closed with Enter; the wizard is back with the width to mend.
      "wait Error\nshot refused\nkey Enter\nwait PCB Board Wizard\n"
      "type 4000\nclick Finish\n");
}

TEST_F(NewBoardScriptTest, AnArcTallerThanASemicircleEndsInOneMessageAndTheWizardStays) {
  // A 5000 x 4000 mil custom board whose left side is an arc 3000 mil high.
  ExpectOneRefusalThenOneBoard(
      "tall-arc.txt",
      "wait PCB Board Wizard\nclick Next >\nclick Next >\nclick Next >\n"
      "click Custom\nclick Next >\n"
      "click #TfraOutline @20,162\nclick #TfraOutline @21,210\ntype 3000\n"
      "click Finish\n"
      // The message, closed with Enter; the focus is back in the arc's height.
      "wait Error\nshot refused\nkey Enter\nwait PCB Board Wizard\n"
      "type 2000\nclick Finish\n");
}

}  // namespace
