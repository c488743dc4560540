// The editor binding against a partial build of the editor stand-in: the same editor
// without seven of its exports, loaded from its own folder by this test program only.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/ModuleInit.h"
#include "host/MerovanApi.h"
#include "tests/support/EditorStandIn.h"
#include "pcb/PCBProcs.h"

namespace {

// The seven exports the partial editor lacks.
const TPcbApiEntry MissingEntries[] = {
    ePcbApi_QueryBoardLayerPairsCount, ePcbApi_GetMemberFromClassAt,
    ePcbApi_QueryManualFromTo,         ePcbApi_QueryTrack,
    ePcbApi_CreateBoardOutline,        ePcbApi_GetState_SubScopesCount,
    ePcbApi_SetState_AddSubscope};

// The partial editor, beside the test program's folder.
std::string PartialEditorPath() {
  return TestProgramFolder() + "..\\partial-editor\\Merovan.dll";
}

class PartialEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    Module = LoadLibraryA(PartialEditorPath().c_str());
    ASSERT_NE(Module, nullptr) << "the partial editor is not built";
    BindPcbApi();
    CreateDocument = ModuleExport<TMerovanCreateDocument>(Module, "CreateDocument");
    CloseDocument = ModuleExport<TMerovanCloseDocument>(Module, "CloseDocument");
    ASSERT_TRUE(CreateDocument && CloseDocument && TEditorCallLog(Module).Available());
    Board = CreateDocument("PCB", "Binding.PcbDoc");
    ASSERT_NE(Board, 0);
  }

  void TearDown() override {
    if (!Module) return;
    if (CloseDocument) CloseDocument(Board);  // unbound when SetUp stopped early
    FreeLibrary(Module);
    // The slots must not keep addresses of the unloaded editor.
    BindPcbApi();
  }

  // The lines logged while Action ran.
  template <class Action>
  std::vector<std::string> Logged(Action&& Run) {
    return TEditorCallLog(Module).While(Run);
  }

  HMODULE Module = nullptr;
  Integer Board = 0;
  TMerovanCreateDocument CreateDocument = nullptr;
  TMerovanCloseDocument CloseDocument = nullptr;
};

}  // namespace

// The binding's test program starts the class library and the binding, nothing above.
TEST(TestProgramStart, StartsTheClassLibraryAndTheBindingAlone) {
  EXPECT_EQ(StartedUnitTables(), (std::vector<std::string>{"classlib", "pcb"}));
  EXPECT_TRUE(IsUnitInitialized("PCBProcs"));
  EXPECT_FALSE(IsUnitInitialized("KsBitmap"));
  EXPECT_FALSE(IsUnitInitialized("ClientProcs"));
}

TEST(UnloadedEditor, EveryWrapperGivesItsDefaultAndTouchesNothing) {
  ASSERT_EQ(GetModuleHandleA(PcbModuleName), nullptr);
  BindPcbApi();
  EXPECT_EQ(PcbModuleHandle, nullptr);
  for (int Entry = 0; Entry < PcbApiEntryCount; ++Entry)
    EXPECT_EQ(PcbApiEntryPoint(TPcbApiEntry(Entry)), nullptr) << PcbApiEntryNames[Entry];

  // The five status functions whose callers read 1 as "nothing there".
  Integer Count = 77;
  EXPECT_EQ(PcbApi_QueryBoardLayerPairsCount(1, Count), 1);
  EXPECT_EQ(Count, 77);
  PcbString Name("kept");
  EXPECT_EQ(PcbApi_GetMemberFromClassAt(1, 0, Name), 1);
  EXPECT_EQ(Name.ToString(), "kept");
  EXPECT_EQ(PcbApi_AddMemberToClass(1, PcbString("x")), 1);
  EXPECT_EQ(PcbApi_RemoveAllMembersFromClass(1), 1);
  Word HeaderWord = 5;
  PcbString T1, T2, T3;
  Integer Value = 9;
  EXPECT_EQ(PcbApi_QueryManualFromTo(ExchangeRead, 1, HeaderWord, T1, T2, T3, Value), 1);
  EXPECT_EQ(HeaderWord, 5);

  // Everything else gives 0 and leaves the caller's variables as they were.
  EXPECT_EQ(PcbApi_CreateObject(eTrackObject), 0);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(1), 0);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString("Any.PcbDoc")), 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(1, 0), 0);
  Integer SheetX = 1, SheetY = 2, Width = 3, Height = 4;
  Byte Flag1 = 5, Flag2 = 6;
  EXPECT_EQ(PcbApi_QuerySheet(ExchangeRead, 1, SheetX, SheetY, Width, Height, Flag1, Flag2), 0);
  EXPECT_EQ(SheetX + SheetY + Width + Height + Flag1 + Flag2, 21);
  PcbApi_CreateBoardOutline(1);
  PcbApi_SetState_DeleteAllSubScopes(1, 0);
}

TEST_F(PartialEditor, PresentNamesAreBoundAndMissingOnesStayEmpty) {
  EXPECT_EQ(PcbModuleHandle, Module);
  for (TPcbApiEntry Entry : MissingEntries)
    EXPECT_EQ(PcbApiEntryPoint(Entry), nullptr) << PcbApiEntryNames[Entry];
  for (TPcbApiEntry Entry : {ePcbApi_QuerySheet, ePcbApi_UpdateBoardOutline, ePcbApi_QueryArc,
                             ePcbApi_AddMemberToClass, ePcbApi_CreateIterator})
    EXPECT_EQ(PcbApiEntryPoint(Entry), GetProcAddress(Module, PcbApiEntryNames[Entry]))
        << PcbApiEntryNames[Entry];
  // A name the editor does not export at all.
  EXPECT_EQ(PcbApiEntryPoint(ePcbApi_SendCommand), nullptr);

  // The wrappers of the missing names give their defaults (as with no editor at all)
  // and reach nothing in the editor.
  Integer Count = 42;
  PcbString Member("before");
  const std::vector<std::string> Lines = Logged([&] {
    EXPECT_EQ(PcbApi_QueryBoardLayerPairsCount(Board, Count), 1);
    EXPECT_EQ(PcbApi_GetMemberFromClassAt(1, 0, Member), 1);
    EXPECT_EQ(PcbApi_GetState_SubScopesCount(1, 0), 0);
    PcbApi_CreateBoardOutline(Board);
    PcbApi_SetState_AddSubscope(1, 0, 0, PcbString(""), 0, 0, 0, 0, 0, 0);
  });
  EXPECT_TRUE(Lines.empty()) << Lines.front();
  EXPECT_EQ(Count, 42);
  EXPECT_EQ(Member.ToString(), "before");
}

TEST_F(PartialEditor, PresentEntriesReceiveTheirArgumentsInOrder) {
  const Integer Pad = PcbApi_CreateObject(ePadObject);
  ASSERT_NE(Pad, 0);
  const std::vector<std::string> Lines = Logged([&] {
    EXPECT_EQ(PcbApi_InsertLayerInStack(Board, 2, 32), 0);
    EXPECT_EQ(PcbApi_SetPadSizeOnLayer(Pad, 5, 1000, 2000), 0);
    EXPECT_EQ(PcbApi_AddObjectToContainer(Board, Pad), 0);
  });
  const std::string B = std::to_string(Board), H = std::to_string(Pad);
  ASSERT_EQ(Lines.size(), 3u);
  EXPECT_EQ(Lines[0], "PcbApi_InsertLayerInStack " + B + " 2 32");
  EXPECT_EQ(Lines[1], "PcbApi_SetPadSizeOnLayer " + H + " 5 1000 2000");
  EXPECT_EQ(Lines[2], "PcbApi_AddObjectToContainer " + B + " " + H);
}

TEST_F(PartialEditor, A255CharacterTextArrivesWholeWithItsLength) {
  std::string Long(255, 'n');
  for (std::size_t I = 0; I < Long.size(); ++I) Long[I] = char('a' + I % 26);
  const Integer Named = CreateDocument("PCB", Long.c_str());
  ASSERT_NE(Named, 0);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString(Long)), Named);
  // One character less is another name.
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString(Long.substr(0, 254))), 0);
  CloseDocument(Named);

  const Integer Rule = PcbApi_CreateRuleObject(eClearanceRule);
  PcbString Name(Long);
  ASSERT_EQ(PcbApi_QueryRuleExtEx(ExchangeWrite, Rule, Name), 0);
  PcbString Read;
  ASSERT_EQ(PcbApi_QueryRuleExtEx(ExchangeRead, Rule, Read), 0);
  EXPECT_EQ(Read.Length, 255);
  EXPECT_EQ(Read.ToString(), Long);
  PcbApi_DestroyObject(Rule);
}

TEST_F(PartialEditor, AnEditorTextLongerThanItsFieldIsCutAndCannotOverrunIt) {
  // The editor holds a 255-character text; the module's text field takes 254.
  const Integer Text = PcbApi_CreateObject(eTextObject);
  ASSERT_NE(Text, 0);
  auto RawQueryText = ModuleExport<PcbAbi::QueryText*>(Module, "PcbApi_QueryText");
  ASSERT_NE(RawQueryText, nullptr);
  Word Flags = 0, HeaderWord = 0;
  Byte Layer = 1, HeaderByte = 0, TextFlag = 0;
  Integer V1 = 0, V2 = 0, X = 0, Y = 0, Size = 600000, TextValue = 0, Width = 0, E2 = 0, E3 = 0;
  double Rotation = 0;
  PcbString Long(std::string(255, 'q'));
  ASSERT_EQ(RawQueryText(ExchangeWrite, Text, Flags, HeaderWord, Layer, V1, HeaderByte, V2, X, Y,
                         Size, TextValue, Rotation, TextFlag, Long, Width, E2, E3),
            0);

  struct {
    PcbStringOf<254> Text;
    char Canary[4] = {'c', 'a', 'n', 'y'};
  } Field;
  ASSERT_EQ(PcbApi_QueryText(ExchangeRead, Text, Flags, HeaderWord, Layer, V1, HeaderByte, V2,
                             X, Y, Size, TextValue, Rotation, TextFlag, Field.Text, Width, E2,
                             E3),
            0);
  EXPECT_EQ(Field.Text.Length, 254);
  EXPECT_EQ(Field.Text.ToString(), std::string(254, 'q'));
  EXPECT_EQ(std::string(Field.Canary, 4), "cany");
  PcbApi_DestroyObject(Text);
}

TEST(LateBinding, AnEditorLoadedAfterStartIsFoundByTheNextBind) {
  BindPcbApi();
  ASSERT_EQ(PcbApiEntryPoint(ePcbApi_QueryArc), nullptr);
  HMODULE Module =
      LoadLibraryA(PartialEditorPath().c_str());
  ASSERT_NE(Module, nullptr);
  // Loading alone changes nothing until the binding runs again.
  EXPECT_EQ(PcbApiEntryPoint(ePcbApi_QueryArc), nullptr);
  BindPcbApi();
  EXPECT_EQ(PcbModuleHandle, Module);
  EXPECT_NE(PcbApiEntryPoint(ePcbApi_QueryArc), nullptr);
  FreeLibrary(Module);
  BindPcbApi();
  EXPECT_EQ(PcbApiEntryPoint(ePcbApi_QueryArc), nullptr);
}
