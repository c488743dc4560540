// The board maker against an editor that refuses: a document without a board, editor
// calls seeded to fail (one by one, through every call of a default build), and the
// editor objects a build leaves alive.
#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <random>
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
    if (HasFatalFailure()) return;
    LoadEditor();
    if (HasFatalFailure()) return;
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
    const std::string Text = FileText(Path);
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

  // Builds the record that Fill prepares, once unfailed and then once with each editor
  // call of that build refused in turn (with EveryCall false, a spread of the calls of
  // each export that is called many times): every build must either raise
  // EBoardBuildError or leave the same board as the unfailed one. The numbers of builds
  // made and of those that raised.
  template <class Prepare>
  std::pair<int, int> Sweep(Prepare&& Fill, bool EveryCall);

  // The sample template loaded into the editor, changed by Change (given the outline
  // read through its wrapper, which is written back unless Change destroyed it) and
  // saved in the scratch folder under Name. Its path.
  std::string WriteSampleVariant(const std::string& Name,
                                 const std::function<void(TPcbBoardOutline&)>& Change);

  TMerovanFailNthCall FailNthCall = nullptr;
  TMerovanFailNextCalls FailNextCalls = nullptr;
  TMerovanGetObjectCount GetObjectCount = nullptr;
  TMerovanSaveDocument SaveDocument = nullptr;
  TShowExceptionProc SavedShowException = ShowExceptionProc;  // also after a SetUp that stopped early
};

// --- Templates that make no board ---

// The one message a template the maker cannot open as a board ends in.
std::string TemplateRefusal(const std::string& Path, const std::string& Cause) {
  return "The board template \"" + Path + "\" could not be opened: " + Cause + ".";
}

constexpr const char* UnreadableCause =
    "the PCB editor could not read a board from it (the file is damaged or of another "
    "kind)";

// A sample template of the install folder, as text.
std::string SampleTemplate() {
  return FileText(MakerHostRoot() + "Templates\\Half Eurocard 100x80mm.PcbDoc");
}

TEST_F(MakerFailuresTest, TemplateTheEditorCannotReadEndsInOneErrorNamingItAndNoDocument) {
  const std::string Path = Folder + "Foreign.PcbDoc";
  WriteFileText(Path, "Some other program's board\n");
  const std::string Before = FileText(Path);
  Info->IsCustom = false;
  Info->TemplateFileName = Path;

  EXPECT_EQ(RunAsCommand(), 0);
  EXPECT_EQ(ShownMessages, std::vector<std::string>{TemplateRefusal(Path, UnreadableCause)});
  EXPECT_EQ(Host->DocumentCount(), 0);
  EXPECT_EQ(FileText(Path), Before);
}

TEST_F(MakerFailuresTest, AFolderOrAVanishedTemplateIsRefusedBeforeAnyDocumentIsMade) {
  const std::string FolderTemplate = Folder + "Folder.PcbDoc";
  ASSERT_TRUE(CreateDirectoryA(FolderTemplate.c_str(), nullptr));
  const std::string Vanished = Folder + "Vanished.PcbDoc";
  WriteFileText(Vanished, SampleTemplate());
  ASSERT_TRUE(DeleteFileA(Vanished.c_str()));

  const std::pair<std::string, std::string> Cases[] = {
      {FolderTemplate, "it is a folder, not a file"},
      {Vanished, "the file was moved or deleted"}};
  for (const auto& [Path, Cause] : Cases) {
    SCOPED_TRACE(Path);
    ShownMessages.clear();
    FreshRecord();
    Info->IsCustom = false;
    Info->TemplateFileName = Path;
    EXPECT_EQ(RunAsCommand(), 0);
    EXPECT_EQ(ShownMessages, std::vector<std::string>{TemplateRefusal(Path, Cause)});
    EXPECT_EQ(Host->DocumentCount(), 0);
    // Refused before the host was asked for anything.
    EXPECT_TRUE(Host->StartedServers().empty());
  }
  RemoveDirectoryA(FolderTemplate.c_str());
}

TEST_F(MakerFailuresTest, ADamagedTemplateEndsInOneErrorNamingItAndTheCause) {
  const std::string Sample = SampleTemplate();
  ASSERT_EQ(Sample.compare(0, 15, "MerovanBoard 1\n"), 0);
  std::mt19937 Random(65);
  std::string Noise(64 * 1024, '\0');
  for (char& C : Noise) C = static_cast<char>(Random());
  std::string Lines;
  while (Lines.size() < 50u * 1024 * 1024) Lines += std::string(79, 'x') + "\n";

  struct TCase {
    const char* Name;
    std::string Text;
    std::string Cause;
    bool Early;  // refused before the host was asked for anything
  } Cases[] = {
      {"Empty", "", "the file is empty", true},
      {"Zeros", std::string(200 * 1024, '\0'), "the file holds nothing but zero bytes", true},
      {"Random", Noise, UnreadableCause, false},
      {"Truncated", Sample.substr(0, Sample.size() / 2), UnreadableCause, false},
      {"BadHeader", "MerovanBoard 9" + Sample.substr(14), UnreadableCause, false},
      {"Huge", "MerovanBoard 1\n" + Lines, UnreadableCause, false},
      {"HugeLine", "MerovanBoard 1\n" + std::string(40u * 1024 * 1024, 'A') + "\n",
       UnreadableCause, false},
  };
  Lines.clear();
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const std::string Path = Folder + Case.Name + ".PcbDoc";
    WriteFileText(Path, Case.Text);
    ASSERT_EQ(FileText(Path).size(), Case.Text.size());
    ShownMessages.clear();
    FreshRecord();
    Info->IsCustom = false;
    Info->TemplateFileName = Path;
    const std::size_t Started = Host->StartedServers().size();
    EXPECT_EQ(RunAsCommand(), 0);
    EXPECT_EQ(ShownMessages, std::vector<std::string>{TemplateRefusal(Path, Case.Cause)});
    EXPECT_EQ(Host->DocumentCount(), 0);
    EXPECT_EQ(Host->StartedServers().size() == Started, Case.Early);
    EXPECT_TRUE(FileText(Path) == Case.Text);
    DeleteFileA(Path.c_str());
  }
}

std::string MakerFailuresTest::WriteSampleVariant(
    const std::string& Name, const std::function<void(TPcbBoardOutline&)>& Change) {
  const std::string Source = Folder + "Source-" + Name;
  WriteFileText(Source, SampleTemplate());
  const auto CreateDocument = EditorExport<TMerovanCreateDocument>("CreateDocument");
  const Integer Board = CreateDocument("PCB", Source.c_str());
  EXPECT_NE(Board, 0);
  const std::vector<Integer> Outlines = Objects(Board, eBoardOutlineObject);
  EXPECT_EQ(Outlines.size(), 1u);
  TOwned<TPcbBoardOutline> Outline(NewObject<TPcbBoardOutline>(Outlines.at(0)));
  EXPECT_EQ(Outline->Exchange(ExchangeRead), 0);
  Change(*Outline);
  if (!Objects(Board, eBoardOutlineObject).empty()) {
    EXPECT_EQ(Outline->Exchange(ExchangeWrite), 0);
  }
  const std::string Path = Folder + Name;
  EXPECT_TRUE(SaveDocument(Board, Path.c_str()));
  EditorExport<TMerovanCloseDocument>("CloseDocument")(Board);
  DeleteFileA(Source.c_str());
  return Path;
}

// Whether a log line may change a board: a query in write mode (0), or any call other
// than a query or a getter.
bool ChangesABoard(const std::string& Line) {
  const std::string Export = ExportOf(Line);
  if (Export.compare(0, 12, "PcbApi_Query") == 0) return Line.compare(Export.size(), 3, " 0 ") == 0;
  return Export.compare(0, 10, "PcbApi_Get") != 0;
}

TEST_F(MakerFailuresTest, ATemplateBoardWithoutAUsableOutlineEndsInOneErrorNamingIt) {
  // The sample's outline run clockwise, and a circle of four quarter arcs.
  const auto Reverse = [](TPcbBoardOutline& Outline) {
    std::reverse(Outline.Segments, Outline.Segments + Outline.SegmentCount + 1);
  };
  const auto Circle = [](TPcbBoardOutline& Outline) {
    const TCoord R = WholeMils(1000), X = WholeMils(3000), Y = WholeMils(4000);
    Outline.SegmentCount = 4;
    Outline.Segments[0] = {1, X + R, Y, X, Y, R, 0, 90};
    Outline.Segments[1] = {1, X, Y + R, X, Y, R, 90, 180};
    Outline.Segments[2] = {1, X - R, Y, X, Y, R, 180, 270};
    Outline.Segments[3] = {1, X, Y - R, X, Y, R, 270, 360};
    Outline.Segments[4] = {0, X + R, Y, 0, 0, 0, 0, 0};
  };
  struct TCase {
    const char* Name;
    std::string Path;
    const char* Cause;  // nullptr: the template makes its board
  } Cases[] = {
      {"HeaderOnly", Folder + "HeaderOnly.PcbDoc",
       "the PCB editor read no board outline from it"},
      {"NoOutline", WriteSampleVariant("NoOutline.PcbDoc",
                                       [](TPcbBoardOutline& Outline) {
                                         PcbApi_DestroyObject(Outline.Handle);
                                       }),
       "the PCB editor read no board outline from it"},
      {"NoSegments", WriteSampleVariant("NoSegments.PcbDoc",
                                        [](TPcbBoardOutline& Outline) {
                                          Outline.SegmentCount = 0;
                                        }),
       "the board outline the PCB editor read from it has no segments"},
      {"NoArea", WriteSampleVariant("NoArea.PcbDoc",
                                    [](TPcbBoardOutline& Outline) {
                                      for (int I = 0; I <= Outline.SegmentCount; ++I)
                                        Outline.Segments[I].X = INT_MAX;
                                    }),
       "the board outline the PCB editor read from it encloses no area"},
      {"Sample", WriteSampleVariant("Sample.PcbDoc", [](TPcbBoardOutline&) {}), nullptr},
      {"Clockwise", WriteSampleVariant("Clockwise.PcbDoc", Reverse), nullptr},
      {"Circle", WriteSampleVariant("Circle.PcbDoc", Circle), nullptr},
  };
  WriteFileText(Cases[0].Path, "MerovanBoard 1\n");

  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const std::string Before = FileText(Case.Path);
    ShownMessages.clear();
    FreshRecord();
    Info->IsCustom = false;
    Info->TemplateFileName = Case.Path;
    int Result = -1;
    const std::vector<std::string> Log = Logged([&] { Result = RunAsCommand(); });
    EXPECT_TRUE(FileText(Case.Path) == Before);
    if (!Case.Cause) {
      EXPECT_EQ(Result, 1);
      EXPECT_TRUE(ShownMessages.empty());
      EXPECT_EQ(Host->DocumentCount(), 1);
      CloseAllDocuments();
      continue;
    }
    EXPECT_EQ(Result, 0);
    EXPECT_EQ(ShownMessages, std::vector<std::string>{TemplateRefusal(Case.Path, Case.Cause)});
    EXPECT_EQ(Host->DocumentCount(), 0);
    // Refused before anything was written to the board.
    const auto Change = std::find_if(Log.begin(), Log.end(), ChangesABoard);
    EXPECT_TRUE(Change == Log.end()) << *Change;
  }
}

// The editor refusing the reads that come before anything is written to the new board (the
// first read of the board, and a template's outline for its check): the build ends in the
// step's one message, and the document, which holds nothing of the build, is let go.
TEST_F(MakerFailuresTest, ARefusedReadBeforeTheBoardIsWrittenLetsTheDocumentGo) {
  const std::string Sample = WriteSampleVariant("Sample.PcbDoc", [](TPcbBoardOutline&) {});
  const struct {
    const char* Name;
    bool FromTemplate;
    const char* Export;
    const char* Message;
  } Cases[] = {
      {"custom board read", false, "PcbApi_QueryBoard",
       "The board's units could not be set: the PCB editor refused to read the board."},
      {"template board read", true, "PcbApi_QueryBoard",
       "The board's units could not be set: the PCB editor refused to read the board."},
      {"template outline read", true, "PcbApi_QueryPolygon",
       "The template's board outline could not be checked: the PCB editor refused to read "
       "the board outline."},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    ShownMessages.clear();
    FreshRecord();
    if (Case.FromTemplate) {
      Info->IsCustom = false;
      Info->TemplateFileName = Sample;
    }
    ASSERT_TRUE(FailNthCall(Case.Export, 1, 1));
    EXPECT_EQ(RunAsCommand(), 0);
    FailNthCall(Case.Export, 0, 0);
    EXPECT_EQ(ShownMessages, std::vector<std::string>{Case.Message});
    EXPECT_EQ(Host->DocumentCount(), 0);
    CloseAllDocuments();
  }
}

// A host whose PCB server opens no document at all.
class TRefusingPcbServer final : public IServerModule {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Obj) override {
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void STDMETHODCALLTYPE ApplicationIdle() override {}
  void STDMETHODCALLTYPE ReceiveNotification(IUnknown*) override {}
  void STDMETHODCALLTYPE CreateDocument(const char*, const char* FileName,
                                        IServerDocument** Document) override {
    Asked = FileName;
    *Document = nullptr;
  }
  void STDMETHODCALLTYPE RemoveDocument(IServerDocument*) override {}
  void STDMETHODCALLTYPE GetClient(IClient** Client) override { *Client = nullptr; }
  void STDMETHODCALLTYPE GetCommandLauncher(ICommandLauncher** L) override { *L = nullptr; }
  int STDMETHODCALLTYPE GetDocumentCount() override { return 0; }
  void STDMETHODCALLTYPE GetDocument(int, IServerDocument** Document) override {
    *Document = nullptr;
  }
  HINSTANCE STDMETHODCALLTYPE GetInstanceHandle() override { return nullptr; }
  const char* STDMETHODCALLTYPE GetModuleName() override { return "PCB"; }
  void STDMETHODCALLTYPE GetProcessControl(IProcessControl** C) override { *C = nullptr; }
  int STDMETHODCALLTYPE GetAuxInterfaceCount() override { return 0; }
  void STDMETHODCALLTYPE GetAuxInterface(int, IUnknown** Interface) override {
    *Interface = nullptr;
  }
  int STDMETHODCALLTYPE ReservedQuery() override { return 0; }

  std::string Asked;
};

class TRefusingHost final : public IClient {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Obj) override {
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HWND STDMETHODCALLTYPE GetApplicationHandle() override { return nullptr; }
  void STDMETHODCALLTYPE GetDocumentByPath(const char*, IServerDocument** Document) override {
    *Document = nullptr;
  }
  HWND STDMETHODCALLTYPE GetMainWindowHandle() override { return nullptr; }
  void STDMETHODCALLTYPE GetHelpPanel(int, const char*, IHelpPanel** Panel) override {
    *Panel = nullptr;
  }
  void STDMETHODCALLTYPE GetServerModuleByName(const char*, IServerModule** Module) override {
    *Module = &Server;
  }
  void STDMETHODCALLTYPE GetDocumentKindByName(const char*, IDocumentKind** Kind) override {
    *Kind = nullptr;
  }
  BOOL STDMETHODCALLTYPE StartServer(const char*) override { return TRUE; }
  void STDMETHODCALLTYPE ShowDocument(IServerDocument*) override {}
  const char* STDMETHODCALLTYPE GetHelpModuleName(const char*) override { return nullptr; }

  TRefusingPcbServer Server;
};

TEST_F(MakerFailuresTest, ATemplateTheHostOpensNoDocumentFromEndsInOneErrorNamingIt) {
  const std::string Path = Folder + "Refused.PcbDoc";
  WriteFileText(Path, SampleTemplate());
  TRefusingHost Refusing;
  SetClient(&Refusing);
  Info->IsCustom = false;
  Info->TemplateFileName = Path;
  EXPECT_EQ(RunAsCommand(), 0);
  SetClient(Host->Client());
  EXPECT_EQ(Refusing.Server.Asked, Path);
  EXPECT_EQ(ShownMessages, std::vector<std::string>{TemplateRefusal(
                               Path, "the host opened no document from it")});
}

TEST_F(MakerFailuresTest, ATemplateLockedByAnotherProgramIsRefusedNamingItAndTheCause) {
  const std::string Path = Folder + "Locked.PcbDoc";
  WriteFileText(Path, SampleTemplate());
  // Open for writing, as a program saving it holds it, and then locked for reading too.
  for (DWORD Share : {DWORD(FILE_SHARE_READ), DWORD(0)}) {
    SCOPED_TRACE(Share);
    HANDLE Held = CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, Share, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(Held, INVALID_HANDLE_VALUE);
    ShownMessages.clear();
    FreshRecord();
    Info->IsCustom = false;
    Info->TemplateFileName = Path;
    EXPECT_EQ(RunAsCommand(), 0);
    CloseHandle(Held);
    EXPECT_EQ(ShownMessages, std::vector<std::string>{TemplateRefusal(
                                 Path, "the file is in use by another program")});
    EXPECT_EQ(Host->DocumentCount(), 0);
    EXPECT_TRUE(Host->StartedServers().empty());
  }
  // Once let go, the same template makes its board.
  FreshRecord();
  Info->IsCustom = false;
  Info->TemplateFileName = Path;
  ShownMessages.clear();
  EXPECT_EQ(RunAsCommand(), 1);
  EXPECT_TRUE(ShownMessages.empty());
}

// --- A document without a board ---

TEST_F(MakerFailuresTest, WithoutAnEditorModuleTheBuildEndsInOneErrorAndNoDocument) {
  // A host whose install folder (the test's empty temporary folder) has no editor.
  SetClient(nullptr);
  DestroyHost(Host);
  THostOptions Options;
  Options.Folder = Folder;
  Host = CreateHost(Options);
  ASSERT_NE(Host, nullptr);
  SetClient(Host->Client());
  BindPcbApi();
  ASSERT_EQ(GetModuleHandleA("Merovan.dll"), nullptr);

  EXPECT_EQ(RunAsCommand(), 0);
  EXPECT_EQ(ShownMessages, std::vector<std::string>{NoBoardMessage});
  EXPECT_EQ(Host->DocumentCount(), 0);
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
    AddClassesAndRules(Board, 1, {0, 0, 2, 6, 9, 10, 11, 18, 1});
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

// --- Every call of a build refused in turn ---

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

// The reads of the class and rule removal walks: an object whose id reads as another
// kind, and a rule whose kind cannot be read, are left on the board by design.
const std::set<std::string> WalkReads = {"PcbApi_GetObjectIdFromObjectHandle",
                                         "PcbApi_QueryRuleExt", "PcbApi_QueryRuleExtEx"};

// Which calls of the log (export, 1-based number among that export's calls) are the
// reads of a removal walk: calls of WalkReads between the making of an iterator over
// class or rule objects with method 0 and its destruction.
std::set<std::pair<std::string, int>> RemovalWalkReads(
    const std::vector<std::string>& Log) {
  std::set<std::pair<std::string, int>> Reads;
  std::map<std::string, int> Seen;
  bool InWalk = false;
  for (const std::string& Line : Log) {
    const std::string Export = ExportOf(Line);
    const int N = ++Seen[Export];
    if (Export == "PcbApi_CreateIterator") {
      std::istringstream Fields(Line.substr(Export.size()));
      int Board = 0, ObjectId = 0, Method = 0;
      Fields >> Board >> ObjectId >> Method;
      InWalk = (ObjectId == eClassObject || ObjectId == eRuleObject) && Method == 0;
    } else if (Export == "PcbApi_DestroyIterator") {
      InWalk = false;
    } else if (InWalk && WalkReads.count(Export)) {
      Reads.emplace(Export, N);
    }
  }
  return Reads;
}

// Whether the Nth of Count calls is among the spread tried: all of a few calls, else
// the first and last eight and every Count / 48th in between.
bool InSpread(int N, int Count) {
  if (Count <= 64 || N <= 8 || N > Count - 8) return true;
  return N % (Count / 48) == 0;
}

template <class Prepare>
std::pair<int, int> MakerFailuresTest::Sweep(Prepare&& Fill, bool EveryCall) {
  FreshRecord();
  Fill(Info);
  const std::vector<std::string> Log = Logged([&] { EXPECT_EQ(RunAsCommand(), 1); });
  const std::string Reference = OpenBoardText();
  EXPECT_FALSE(Reference.empty());
  CloseAllDocuments();
  std::map<std::string, int> CallCounts;
  for (const std::string& Line : Log) ++CallCounts[ExportOf(Line)];
  const std::set<std::pair<std::string, int>> Normal = RemovalWalkReads(Log);

  int Builds = 0, Raised = 0;
  for (const auto& [Export, Count] : CallCounts) {
    if (NormalAnswers.count(Export)) continue;
    const Integer Refusal = HandleAnswers.count(Export) ? 0 : 1;
    for (int N = 1; N <= Count; ++N) {
      if (Normal.count({Export, N}) || (!EveryCall && !InSpread(N, Count))) continue;
      FreshRecord();
      Fill(Info);
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
  EXPECT_TRUE(ShownMessages.empty());
  return {Builds, Raised};
}

TEST_F(MakerFailuresTest, EveryRefusedCallOfADefaultBuildRaisesOrChangesNothing) {
  const auto [Builds, Raised] = Sweep([](TBoardInfoFromUser*) {}, true);
  EXPECT_GT(Builds, 4000);
  EXPECT_GT(Raised, 4000);
}

// A template with an object class, title-block objects and rules of every kind the
// maker replaces, made into a custom board with a dimension layer, more layers and
// fewer planes: the class and rule removal, the title-block pass and the baseline
// dimensions.
TEST_F(MakerFailuresTest, RefusedCallsOfATemplateBuildWithDimensionsRaiseOrChangeNothing) {
  const std::string Path = WriteTemplate("Rich.PcbDoc", [](Integer Board) {
    AddClassesAndRules(Board, 1, {});
    Seed(Board, eTrackObject, 72, WholeMils(100), 0, WholeMils(900), 0);
    Seed(Board, eTextObject, 1, WholeMils(100), 0, 0, 0, 0x10);
    Seed(Board, eArcObject, 57, WholeMils(300), 0, 0, 0, 0x10);
    AddClassesAndRules(Board, 0, {0, 2, 6, 9, 10, 11, 18, 1});
  });
  const auto [Builds, Raised] = Sweep(
      [&](TBoardInfoFromUser* Record) {
        Record->TemplateFileName = Path;
        Record->DimensionLayer = 60;
        Record->SignalLayers = 6;
        Record->PowerPlanes = 1;
      },
      false);
  EXPECT_GT(Builds, 500);
  EXPECT_GT(Raised, 500);
}

// A circular board with its diameter dimension and no via style.
TEST_F(MakerFailuresTest, RefusedCallsOfACircularBuildRaiseOrChangeNothing) {
  const auto [Builds, Raised] = Sweep(
      [](TBoardInfoFromUser* Record) {
        Record->DimensionLayer = 61;
        Record->OutlineShape = osCircular;
        Record->ViaStyle = vsNone;
      },
      false);
  EXPECT_GT(Builds, 500);
  EXPECT_GT(Raised, 500);
}

}  // namespace
