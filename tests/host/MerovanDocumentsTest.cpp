// The editor stand-in as a module: its export table, documents by name, the call log,
// the text format, and the host keeping one board per PCB document.
#include "tests/host/MerovanTestSupport.h"

#include <algorithm>
#include <iterator>

#include "host/HostDocuments.h"
#include "host/MerovanExportList.h"
#include "tests/support/FileSupport.h"

namespace {

std::string TempFile(const char* Prefix) {
  char Folder[MAX_PATH] = "", Path[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Folder);
  GetTempFileNameA(Folder, Prefix, 0, Path);
  return Path;
}

TEST(MerovanModuleTest, FullEditorExportsEveryNameAndThePartialOneLacksSeven) {
  const char* const Names[] = {
#define MEROVAN_TEST_NAME(Name) "PcbApi_" #Name,
      MEROVAN_PCBAPI_EXPORTS(MEROVAN_TEST_NAME)
#undef MEROVAN_TEST_NAME
  };
  ASSERT_EQ(std::size(Names), 90u);
  const std::vector<std::string> Omitted = {
      "PcbApi_QueryBoardLayerPairsCount", "PcbApi_GetMemberFromClassAt",
      "PcbApi_QueryManualFromTo",         "PcbApi_QueryTrack",
      "PcbApi_CreateBoardOutline",        "PcbApi_GetState_SubScopesCount",
      "PcbApi_SetState_AddSubscope"};
  for (const std::string& Path : {TestHostRoot() + "Merovan.dll",
                                  TestHostRoot() + "..\\partial-editor\\Merovan.dll"}) {
    bool Partial = Path.find("partial") != std::string::npos;
    HMODULE Module = LoadLibraryA(Path.c_str());
    ASSERT_NE(Module, nullptr) << Path;
    int Missing = 0;
    for (const char* Name : Names) {
      bool Expected =
          !Partial || std::find(Omitted.begin(), Omitted.end(), Name) == Omitted.end();
      EXPECT_EQ(GetProcAddress(Module, Name) != nullptr, Expected) << Path << " " << Name;
      Missing += GetProcAddress(Module, Name) ? 0 : 1;
    }
    EXPECT_EQ(Missing, Partial ? 7 : 0);
    EXPECT_NE(GetProcAddress(Module, "CreateDocument"), nullptr);
    EXPECT_EQ(GetProcAddress(Module, "_PcbApi_QueryArc@60"), nullptr);
    FreeLibrary(Module);
  }
}

TEST(MerovanModuleTest, HandlesStayFreshWhenTheModuleIsLoadedAgain) {
  Integer Handles[2] = {};
  for (Integer& Handle : Handles) {
    HMODULE Module = LoadLibraryA((TestHostRoot() + "Merovan.dll").c_str());
    ASSERT_NE(Module, nullptr);
    auto Create = HostProcAddress<TMerovanCreateDocument>(Module, "CreateDocument");
    Handle = Create("PCB", "Again.PcbDoc");
    FreeLibrary(Module);
    ASSERT_EQ(GetModuleHandleA("Merovan.dll"), nullptr);
  }
  EXPECT_GT(Handles[1], Handles[0]);
}

using MerovanDocumentsTest = MerovanTest;

TEST_F(MerovanDocumentsTest, BoardsAreFoundByTheirCurrentNameIgnoringCase) {
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName("test.PCBDOC"), Board);
  EXPECT_EQ(CreateDocument("Schematic", "Sheet1.SchDoc"), 0);
  EXPECT_EQ(CreateDocument(nullptr, "Sheet1.SchDoc"), 0);
  Integer Second = CreateDocument("pcb", "C:\\Boards\\Second.PcbDoc");
  ASSERT_NE(Second, 0);
  EXPECT_NE(Second, Board);
  EXPECT_EQ(FindDocument("c:\\boards\\second.pcbdoc"), Second);

  EXPECT_TRUE(RenameDocument(Second, "Renamed.PcbDoc"));
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName("C:\\Boards\\Second.PcbDoc"), 0);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName("RENAMED.PcbDoc"), Second);
  char Name[8] = "";
  EXPECT_EQ(GetDocumentName(Second, Name, sizeof(Name)), 14);
  EXPECT_STREQ(Name, "Renamed");
  EXPECT_EQ(GetDocumentName(Second + 1000, Name, sizeof(Name)), -1);
  EXPECT_FALSE(RenameDocument(Second + 1000, "X"));

  EXPECT_TRUE(CloseDocument(Second));
  EXPECT_FALSE(CloseDocument(Second));
  EXPECT_EQ(FindDocument("Renamed.PcbDoc"), 0);
}

TEST_F(MerovanDocumentsTest, CallLogRecordsByValueArgumentsWhileEnabled) {
  ClearCallLog();
  PcbApi_InsertLayerInStack(Board, 2, 32);  // not recorded: the log is off
  EXPECT_FALSE(EnableCallLog(TRUE));
  Integer X = 0, Y = 0, W = 0, H = 0;
  Byte F1 = 0, F2 = 0;
  PcbApi_InsertLayerInStack(Board, 2, 32);
  PcbApi_QuerySheet(ExchangeRead, Board, X, Y, W, H, F1, F2);
  PcbApi_GetBoardHandleFromFileName("A \"quoted\" name");
  PcbApi_SetPadSizeOnLayer(0, 5, -7, 8);
  PcbApi_UpdateBoardOutline(Board);
  const std::string B = std::to_string(Board);
  EXPECT_EQ(CallLog(),
            (std::vector<std::string>{
                "PcbApi_InsertLayerInStack " + B + " 2 32", "PcbApi_QuerySheet 1 " + B,
                "PcbApi_GetBoardHandleFromFileName \"A \\\"quoted\\\" name\"",
                "PcbApi_SetPadSizeOnLayer 0 5 -7 8", "PcbApi_UpdateBoardOutline " + B}));

  // The log keeps at most CallLogCapacity lines.
  for (int I = 0; I < CallLogCapacity; ++I) PcbApi_GetObjectIdFromObjectHandle(0);
  EXPECT_EQ(GetCallLogCount(), CallLogCapacity);
  EXPECT_EQ(GetCallLogEntry(CallLogCapacity, nullptr, 0), -1);
  ClearCallLog();
  EXPECT_TRUE(EnableCallLog(FALSE));
  PcbApi_GetObjectIdFromObjectHandle(0);
  EXPECT_EQ(GetCallLogCount(), 0);
}

// A board with settings and objects of every kind away from their defaults.
class MerovanTextTest : public MerovanTest {
 protected:
  void FillBoard() {
    Integer X = -10000000, Y = 20000000, W = 30000000, H = 40000000;
    Byte F1 = 1, F2 = 0;
    PcbApi_QuerySheet(ExchangeWrite, Board, X, Y, W, H, F1, F2);
    Byte G[5] = {1, 2, 3, 4, 5};
    double D[8] = {0.1, 1e-300, 3.25, -4.5, 50000.000001, 6, 7.125, 2.5e6};
    Integer G8 = 8;
    PcbApi_QueryBoardGridsEx(ExchangeWrite, Board, G[3], G[0], G[1], G[2], D[0], D[1], D[2],
                             D[3], G8, G[4], D[7], D[4], D[5], D[6]);
    PcbString Material = "Poly\\imide \"HT\"", Bottom = "Mask";
    Byte T1 = 3, T2 = 4;
    double C1 = 3.3, C2 = 1.0 / 3.0;
    Integer H1 = 12345, H2 = -1;
    PcbApi_QueryBoardExternalDielectrics(ExchangeWrite, Board, Material, T1, C1, H1, Bottom,
                                         T2, C2, H2);
    PcbString Name = "Signal\t2";
    Integer Copper = 7000;
    Byte S1 = 0, S2 = 2, Prev = 0, Next = 0, S3 = 3;
    PcbApi_QueryLayer(ExchangeWrite, 2, Board, Name, Copper, S1, S2, Prev, Next, S3);
    PcbApi_InsertLayerInStack(Board, 39, 1);
    PcbApi_InsertLayerInStack(Board, 2, 39);
    AddLayerPair(Board, 2, 39);
    SetLayerState(Board, 70, 1, 0, 9);

    Integer Track = AddTrack(100, 200, 300, 400, 57, 25);
    AddArc(-500, 500, 250, 10, 4);
    Integer Text = Add<TTextFields>(eTextObject, QueryText, [](TTextFields& F) {
      F.Text = "Line \"one\"\\\x01 end";
      F.Rotation = 90.5;
      F.Layer = 73;
    });
    Integer Pad = PcbApi_CreateObject(ePadObject);
    Byte Mode = 2;
    PcbApi_QueryPadStackMode(ExchangeWrite, Pad, Mode);
    PcbApi_SetPadSizeOnLayer(Pad, 17, 111, 222);
    PcbApi_AddObjectToContainer(Board, Pad);
    Integer Component = PcbApi_CreateObject(eComponentObject);
    Word Wd = 1;
    Byte B = 2, Cb[3] = {3, 4, 5};
    Integer NameHandle = Text, V0 = 6, Cx = 7, Cy = 8, V1 = 9;
    PcbStringOf<250> CText = "U1";
    double Rot = 45;
    PcbApi_QueryComponent(ExchangeWrite, Component, Wd, Wd, B, B, NameHandle, V0, CText,
                          Cb[0], Cb[1], Cx, Cy, V1, Rot, Cb[2]);
    PcbApi_AddObjectToContainer(Board, Component);
    PcbApi_CreateBoardOutline(Board);
    Integer Dimension = PcbApi_CreateDimensionObject(eBaselineDimension);
    PcbApi_References_Add(Dimension, Track, 1, 2, 2);
    PcbApi_References_Add(Dimension, Dimension + 100000, 0, 0, 1);  // names no object
    PcbApi_TextLocations_Add(Dimension, 5, 6);
    PcbApi_AddObjectToContainer(Board, Dimension);
    Integer Class = PcbApi_CreateObject(eClassObject);
    PcbApi_AddMemberToClass(Class, "GND");
    PcbApi_AddMemberToClass(Class, "");
    PcbApi_AddObjectToContainer(Board, Class);
    Integer Rule = PcbApi_CreateRuleObject(eRoutingViaStyleRule);
    PcbApi_SetState_AddSubscope(Rule, 1, 8, "Net=\"VCC\"", 1, 2, -3, 4, 5, 6);
    Integer Hole = 1, Style = 1, ViaWidth = 2;
    PcbApi_QueryRuleRoutingViaStyleRule(ExchangeWrite, Rule, Hole, Style, ViaWidth);
    PcbApi_AddObjectToContainer(Board, Rule);
    for (Byte Id : {eViaObject, eFillObject, eFromToObject, eNetObject, ePolygonObject,
                    eCoordinateObject, eManualFromToObject})
      PcbApi_AddObjectToContainer(Board, PcbApi_CreateObject(Id));
  }

  std::string Saved(Integer Of, const std::string& Path) {
    EXPECT_TRUE(SaveDocument(Of, Path.c_str()));
    return FileText(Path);
  }
};

TEST_F(MerovanTextTest, SavedBoardLoadsAsATemplateWithTheSameContent) {
  FillBoard();
  std::string Template = TempFile("mvt");
  std::string Text = Saved(Board, Template);
  EXPECT_EQ(Text.rfind("MerovanBoard 1\n", 0), 0u);
  WIN32_FILE_ATTRIBUTE_DATA Before{}, After{};
  GetFileAttributesExA(Template.c_str(), GetFileExInfoStandard, &Before);

  Integer Loaded = CreateDocument("PCB", Template.c_str());
  ASSERT_NE(Loaded, 0);
  EXPECT_EQ(FindDocument(Template.c_str()), Loaded);
  std::string Again = TempFile("mvt");
  EXPECT_EQ(Saved(Loaded, Again), Text);

  // The template file is only read.
  EXPECT_EQ(FileText(Template), Text);
  GetFileAttributesExA(Template.c_str(), GetFileExInfoStandard, &After);
  EXPECT_EQ(CompareFileTime(&Before.ftLastWriteTime, &After.ftLastWriteTime), 0);

  // Handles inside objects point at the loaded objects; one naming nothing is 0.
  std::vector<Integer> Components = Walk(eComponentObject, 0, Loaded);
  std::vector<Integer> Texts = Walk(eTextObject, 0, Loaded);
  std::vector<Integer> Tracks = Walk(eTrackObject, 0, Loaded);
  std::vector<Integer> Dimensions = Walk(eDimensionObject, 0, Loaded);
  ASSERT_TRUE(Components.size() == 1 && Texts.size() == 1 && Tracks.size() == 1 &&
              Dimensions.size() == 1);
  Word Wd = 0;
  Byte B = 0;
  Integer NameHandle = 0, V = 0;
  PcbStringOf<250> CText;
  double Rot = 0;
  PcbApi_QueryComponent(ExchangeRead, Components[0], Wd, Wd, B, B, NameHandle, V, CText, B,
                        B, V, V, V, Rot, B);
  EXPECT_EQ(NameHandle, Texts[0]);
  Integer R[4] = {};
  PcbApi_References_At(ExchangeRead, Dimensions[0], 0, R[0], R[1], R[2], R[3]);
  EXPECT_EQ(R[0], Tracks[0]);
  PcbApi_References_At(ExchangeRead, Dimensions[0], 1, R[0], R[1], R[2], R[3]);
  EXPECT_EQ(R[0], 0);
  TTextFields T;
  QueryText(ExchangeRead, Texts[0], T);
  EXPECT_EQ(T.Text.ToString(), "Line \"one\"\\\x01 end");
  CloseDocument(Loaded);
  DeleteFileA(Template.c_str());
  DeleteFileA(Again.c_str());
}

TEST_F(MerovanTextTest, OnlyAWholeValidBoardTextMakesABoard) {
  std::string Path = TempFile("mvt");
  std::string Good = Saved(Board, Path);
  auto Replaced = [&](const std::string& From, const std::string& To) {
    std::string Text = Good;
    Text.replace(Text.find(From), From.size(), To);
    return Text;
  };
  const std::string Bad[] = {
      "",
      "Not a board\n",
      Replaced("Stack Layers=1,32", "Stack Layers=1,57,32"),
      Replaced("Stack Layers=1,32", "Stack Layers=32,1"),
      Replaced("Sheet X=", "Sheet Colour=1 X="),
      Replaced("Layer Number=1 ", "Layer Number=83 "),
      Replaced("Flag2=1", "Flag2=256"),
      Good + "Object Kind=\"Polygon\" Id=1 SegmentCount=2\n  Segment X=1 Y=1\n",
      Good + "Object Kind=\"Wire\" Id=1\n",
      Good + "  Member Name=\"orphan\"\n",
  };
  for (const std::string& Text : Bad) {
    WriteFileText(Path, Text);
    Integer Made = CreateDocument("PCB", Path.c_str());
    EXPECT_EQ(Made, 0) << Text.substr(0, 200);
    CloseDocument(Made);
  }
  // Lines left out keep the blank board's values; Windows line ends are read too.
  WriteFileText(Path, "MerovanBoard 1\r\nSheet Width=5\r\n");
  Integer Made = CreateDocument("PCB", Path.c_str());
  ASSERT_NE(Made, 0);
  Integer X = 0, Y = 0, W = 0, H = 0;
  Byte F1 = 0, F2 = 0;
  PcbApi_QuerySheet(ExchangeRead, Made, X, Y, W, H, F1, F2);
  EXPECT_EQ(W, 5);
  EXPECT_GT(H, 0);
  CloseDocument(Made);
  DeleteFileA(Path.c_str());
}

// ---------------------------------------------------------------------------------
// The host and its editor module

class HostEditorTest : public HostTest {
 protected:
  // The wrappers may have been bound to the editor the host has unloaded now.
  void TearDown() override {
    HostTest::TearDown();
    BindPcbApi();
  }

  template <class Function>
  Function Private(const char* Name) {
    return HostProcAddress<Function>(Host->EditorModule(), Name);
  }
};

TEST_F(HostEditorTest, PcbDocumentOpensItsTemplateAsABoardThatFollowsItsName) {
  std::string Error;
  ASSERT_TRUE(Host->LoadEditor(Error)) << Error;
  // A template with one track, made and saved through the editor.
  std::string Template = TempFile("mvh");
  Integer Source =
      Private<TMerovanCreateDocument>("CreateDocument")("PCB", "Source.PcbDoc");
  BindPcbApi();
  Integer Track = PcbApi_CreateObject(eTrackObject);
  PcbApi_AddObjectToContainer(Source, Track);
  ASSERT_TRUE(Private<TMerovanSaveDocument>("SaveDocument")(Source, Template.c_str()));
  Private<TMerovanCloseDocument>("CloseDocument")(Source);
  const std::string TemplateText = FileText(Template);

  TRef<IServerModule> Pcb;
  Client->GetServerModuleByName("PCB", Pcb.Out());
  TRef<IServerDocument> Opened;
  Pcb->CreateDocument("PCB", Template.c_str(), Opened.Out());
  ASSERT_NE(Opened.Get(), nullptr);
  auto* Document = static_cast<THostDocument*>(Opened.Get());
  Integer Board = Document->Board();
  ASSERT_NE(Board, 0);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString(Template)), Board);
  Integer Iterator = PcbApi_CreateIterator(Board, eTrackObject, 0, 0);
  EXPECT_NE(PcbApi_GetFirstObject(Iterator), 0);
  PcbApi_DestroyIterator(Iterator);

  // What the board maker does next: load, rename; the editor finds the new name.
  Opened->DoFileLoad();
  Opened->SetFileName("PCB2.PcbDoc");
  EXPECT_EQ(Document->Board(), Board);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName("pcb2.pcbdoc"), Board);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString(Template)), 0);
  EXPECT_EQ(FileText(Template), TemplateText);

  Pcb->RemoveDocument(Opened.Get());
  EXPECT_EQ(Document->Board(), 0);
  EXPECT_EQ(Private<TMerovanFindDocument>("FindDocument")("PCB2.PcbDoc"), 0);
  DeleteFileA(Template.c_str());
}

TEST_F(HostEditorTest, FirstPcbDocumentLoadsTheEditorAndStopUnloadsIt) {
  EXPECT_EQ(Host->EditorModule(), nullptr);
  THostDocument* Blank = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  ASSERT_NE(Host->EditorModule(), nullptr);
  EXPECT_EQ(GetModuleHandleA("Merovan.dll"), Host->EditorModule());
  ASSERT_NE(Blank->Board(), 0);
  EXPECT_EQ(Private<TMerovanFindDocument>("FindDocument")("PCB1.PcbDoc"), Blank->Board());
  // A file that is no board text opens without a board.
  THostDocument* Unreadable = Host->OpenDocument("PCB", TestHostRoot() + "Halvorn.dll");
  ASSERT_NE(Unreadable, nullptr);
  EXPECT_EQ(Unreadable->Board(), 0);

  EXPECT_TRUE(Host->Stop());
  EXPECT_EQ(Host->EditorModule(), nullptr);
  EXPECT_EQ(GetModuleHandleA("Merovan.dll"), nullptr);
  EXPECT_EQ(Blank->Board(), 0);
}

}  // namespace
