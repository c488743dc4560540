// The board maker against an editor that refuses: a document without a board, editor
// calls seeded to fail (one by one, through every call of a default build), and the
// editor objects a build leaves alive.
#include <map>
#include <set>

#include "classlib/Exceptions.h"
#include "tests/support/ExpectRaises.h"
#include "tests/wizard/MakerTemplates.h"

namespace {

// The messages shown while a test runs, in place of message boxes.
std::vector<std::string> ShownMessages;
void RecordShownMessage(const AnsiString& Message) { ShownMessages.push_back(Message); }

constexpr const char* NoBoardMessage =
    "The new board could not be created in the PCB editor.";

// The export named at the start of a log line.
std::string ExportOf(const std::string& Line) { return Line.substr(0, Line.find(' ')); }

// The first line in which two board texts differ, both ways; empty when they are equal.
std::string FirstDifference(const std::string& Expected, const std::string& Actual) {
  std::istringstream E(Expected), A(Actual);
  std::string LineE, LineA;
  for (int Number = 1;; ++Number) {
    const bool MoreE = static_cast<bool>(std::getline(E, LineE));
    const bool MoreA = static_cast<bool>(std::getline(A, LineA));
    if (!MoreE && !MoreA) return {};
    if (!MoreE || !MoreA || LineE != LineA)
      return "line " + std::to_string(Number) + ": expected \"" + (MoreE ? LineE : "") +
             "\", got \"" + (MoreA ? LineA : "") + "\"";
  }
}

class MakerFailuresTest : public MakerTemplateTest {
 protected:
  void SetUp() override {
    MakerTemplateTest::SetUp();
    LoadEditor();
    FailNthCall = EditorExport<TMerovanFailNthCall>("FailNthCall");
    FailNextCalls = EditorExport<TMerovanFailNextCalls>("FailNextCalls");
    GetObjectCount = EditorExport<TMerovanGetObjectCount>("GetObjectCount");
    SaveDocument = EditorExport<TMerovanSaveDocument>("SaveDocument");
    ASSERT_TRUE(FailNthCall && FailNextCalls && GetObjectCount && SaveDocument);
    ShownMessages.clear();
    SavedShowException = ShowExceptionProc;
    ShowExceptionProc = RecordShownMessage;
  }

  void TearDown() override {
    ShowExceptionProc = SavedShowException;
    MakerTemplateTest::TearDown();
  }

  // Runs a maker on the record the way the wizard's command runs it: an error is shown
  // through the class library's display and the run gives 0; nothing passes on.
  int RunAsCommand() {
    try {
      TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, nullptr));
      Maker->BuildBoard();
      return Maker->Document ? 1 : 0;
    } catch (...) {
      ShowCurrentException();
      return 0;
    }
  }

  // The text of the only open document's board, as the editor saves it.
  std::string OpenBoardText() {
    EXPECT_EQ(Host->DocumentCount(), 1);
    if (Host->DocumentCount() != 1) return {};
    const Integer Board =
        PcbApi_GetBoardHandleFromFileName(PcbString(Host->Document(0)->FileName()));
    const std::string Path = Folder + "Saved.txt";
    EXPECT_TRUE(SaveDocument(Board, Path.c_str()));
    const std::string Text = FileContent(Path);
    DeleteFileA(Path.c_str());
    return Text;
  }

  void CloseAllDocuments() {
    while (Host->DocumentCount() > 0) Host->CloseDocument(Host->Document(0));
  }

  // A fresh default record in place of the one a build changed.
  void FreshRecord() {
    FreeAndNil(Info);
    Info = NewObject<TBoardInfoFromUser>();
  }

  // Every object the board holds, of any kind.
  std::size_t AllObjectsOf(Integer Board) {
    std::size_t Count = 0;
    for (Byte Id = 1; Id <= eBoardOutlineObject; ++Id) Count += Objects(Board, Id).size();
    return Count;
  }

  TMerovanFailNthCall FailNthCall = nullptr;
  TMerovanFailNextCalls FailNextCalls = nullptr;
  TMerovanGetObjectCount GetObjectCount = nullptr;
  TMerovanSaveDocument SaveDocument = nullptr;
  TShowExceptionProc SavedShowException = nullptr;
};

// --- A document without a board ---

TEST_F(MakerFailuresTest, TemplateTheEditorCannotReadEndsInOneErrorAndNoDocument) {
  const std::string Path = Folder + "Foreign.PcbDoc";
  std::ofstream(Path, std::ios::binary) << "Some other program's board\n";
  Files.push_back(Path);
  const std::string Before = FileContent(Path);
  Info->IsCustom = false;
  Info->TemplateFileName = Path;

  EXPECT_EQ(RunAsCommand(), 0);
  EXPECT_EQ(ShownMessages, std::vector<std::string>{NoBoardMessage});
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_EQ(FileContent(Path), Before);
}

TEST_F(MakerFailuresTest, WithoutABoardTheMakerLetsItsDocumentGo) {
  ASSERT_TRUE(FailNthCall("PcbApi_GetBoardHandleFromFileName", 1, 0));
  TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, nullptr));
  ExpectRaises<EBoardBuildError>([&] { Maker->BuildBoard(); }, NoBoardMessage);
  EXPECT_EQ(Maker->Document, nullptr);
  EXPECT_EQ(Maker->Board, nullptr);
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_EQ(Host->CurrentDocument(), nullptr);
}

// --- Refused steps ---

TEST_F(MakerFailuresTest, RefusedLayerInsertEndsInOneErrorNamingTheStep) {
  ASSERT_TRUE(FailNextCalls("PcbApi_InsertLayerInStack", 1, 1));
  EXPECT_EQ(RunAsCommand(), 0);
  EXPECT_EQ(ShownMessages,
            std::vector<std::string>{"The board's layer stack could not be built: the PCB "
                                     "editor refused to insert a layer."});
  // The document stays as far as it was built: the outline is there, the rules are not.
  ASSERT_EQ(Host->DocumentCount(), 1);
  const Integer Board = PcbApi_GetBoardHandleFromFileName(PcbString("PCB1.PcbDoc"));
  ASSERT_NE(Board, 0);
  EXPECT_EQ(Objects(Board, eBoardOutlineObject).size(), 1u);
  EXPECT_TRUE(Objects(Board, eRuleObject).empty());
}

TEST_F(MakerFailuresTest, RefusedRuleAddEndsInOneErrorNamingTheStep) {
  // Which add puts the first rule on the board, from an unfailed build's log.
  const std::vector<std::string> Log = Logged([&] { EXPECT_EQ(RunAsCommand(), 1); });
  int RuleAdd = 0;
  for (const std::string& Line : Log) {
    if (ExportOf(Line) == "PcbApi_AddObjectToContainer") ++RuleAdd;
    if (ExportOf(Line) == "PcbApi_CreateRuleObject") break;
  }
  ++RuleAdd;
  CloseAllDocuments();
  FreshRecord();

  const int Before = GetObjectCount();
  ASSERT_TRUE(FailNthCall("PcbApi_AddObjectToContainer", RuleAdd, 1));
  const std::vector<std::string> Failed = Logged([&] { EXPECT_EQ(RunAsCommand(), 0); });
  EXPECT_EQ(ShownMessages,
            std::vector<std::string>{"The board's design rules could not be made: the PCB "
                                     "editor refused to add a rule to the board."});
  // The refused call was the rule's, and the rule did not outlive the step.
  ASSERT_FALSE(Failed.empty());
  EXPECT_EQ(ExportOf(Failed.back()), "PcbApi_DestroyObject");
  ASSERT_EQ(Host->DocumentCount(), 1);
  const Integer Board = PcbApi_GetBoardHandleFromFileName(PcbString("PCB1.PcbDoc"));
  EXPECT_TRUE(Objects(Board, eRuleObject).empty());
  EXPECT_EQ(GetObjectCount() - Before, static_cast<int>(AllObjectsOf(Board)));
}

// --- Objects left alive ---

// A template with object classes, rules of the seven kinds the maker replaces (eight of
// them) and one of another kind: after a custom build on it, the editor holds the
// board's objects and the eight replaced rules, and nothing else.
TEST_F(MakerFailuresTest, NoEditorObjectOutlivesABuildButTheBoardsAndTheReplacedRules) {
  Info->TemplateFileName = WriteTemplate("Rules.PcbDoc", [](Integer Board) {
    EXPECT_EQ(PcbApi_AddObjectToContainer(Board, PcbApi_CreateObject(eClassObject)), 0);
    for (Byte Kind : {0, 0, 2, 6, 9, 10, 11, 18, 1})
      EXPECT_EQ(PcbApi_AddObjectToContainer(Board, PcbApi_CreateRuleObject(Kind)), 0);
  });
  const int Before = GetObjectCount();
  EXPECT_EQ(RunAsCommand(), 1);
  EXPECT_TRUE(ShownMessages.empty());
  const Integer Board = PcbApi_GetBoardHandleFromFileName(PcbString("PCB1.PcbDoc"));
  ASSERT_NE(Board, 0);
  // The outline, four keep-out tracks, two legend texts, six new rules and the
  // template's rule of another kind.
  const std::size_t OnBoard = AllObjectsOf(Board);
  EXPECT_EQ(OnBoard, 14u);
  EXPECT_EQ(GetObjectCount() - Before, static_cast<int>(OnBoard + 8));
}

// --- Every call of a default build refused in turn ---

// Exports whose failure answer is also a normal one in a build, so that no caller can
// tell them apart: the end of an iteration, an object without bounds, and an empty
// scope.
const std::set<std::string> NormalAnswers = {
    "PcbApi_GetFirstObject", "PcbApi_GetNextObject", "PcbApi_QueryObjectBoundingRectangle",
    "PcbApi_GetState_SubScopesCount"};

// Exports whose refusal gives 0 (no handle) rather than the failure status 1.
const std::set<std::string> HandleAnswers = {
    "PcbApi_CreateIterator", "PcbApi_CreateObject", "PcbApi_CreateDimensionObject",
    "PcbApi_CreateRuleObject", "PcbApi_GetBoardHandleFromFileName"};

TEST_F(MakerFailuresTest, EveryRefusedCallOfADefaultBuildRaisesOrChangesNothing) {
  const std::vector<std::string> Log = Logged([&] { EXPECT_EQ(RunAsCommand(), 1); });
  const std::string Reference = OpenBoardText();
  ASSERT_FALSE(Reference.empty());
  CloseAllDocuments();
  std::map<std::string, int> CallCounts;
  for (const std::string& Line : Log) ++CallCounts[ExportOf(Line)];

  int Builds = 0, Raised = 0;
  for (const auto& [Export, Count] : CallCounts) {
    if (NormalAnswers.count(Export)) continue;
    const Integer Refusal = HandleAnswers.count(Export) ? 0 : 1;
    for (int N = 1; N <= Count; ++N) {
      FreshRecord();
      // The exports that give nothing cannot be refused.
      if (!FailNthCall(Export.c_str(), N, Refusal)) break;
      ++Builds;
      bool Failed = false;
      try {
        TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, nullptr));
        Maker->BuildBoard();
      } catch (const EBoardBuildError&) {
        Failed = true;
      }
      FailNthCall(Export.c_str(), 0, 0);
      if (Failed) {
        ++Raised;
      } else {
        EXPECT_EQ(FirstDifference(Reference, OpenBoardText()), "")
            << Export << " call " << N << " of " << Count;
      }
      CloseAllDocuments();
    }
  }
  EXPECT_GT(Builds, 1000);
  EXPECT_GT(Raised, 500);
}

}  // namespace
