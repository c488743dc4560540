// Board templates for the board maker's tests: a board seeded through the editor
// stand-in and saved as a template file in a scratch folder, and readers of
// what the maker built.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/FileSupport.h"
#include "tests/wizard/MakerFixture.h"

// Whole mils in host units.
inline constexpr TCoord WholeMils(int Mils) { return Mils * 10000; }

class MakerTemplateTest : public MakerTest {
 protected:
  void SetUp() override {
    MakerTest::SetUp();
    if (HasFatalFailure()) return;
    Folder = NewScratchFolder("tarvik-maker-");
    ASSERT_FALSE(Folder.empty());
  }

  void TearDown() override {
    RemoveScratchFolder(Folder);
    MakerTest::TearDown();
  }

  // Loads the editor stand-in (as the host does for its first PCB document) and binds
  // its functions, so that tests can seed boards and record the call log before a build.
  void LoadEditor() {
    std::string Error;
    ASSERT_TRUE(Host->LoadEditor(Error)) << Error;
    BindPcbApi();
  }

  // A template file: a blank editor board given to SeedBoard, saved in the temporary
  // folder under Name and closed again.
  std::string WriteTemplate(const std::string& Name,
                            const std::function<void(Integer)>& SeedBoard) {
    LoadEditor();
    auto Create = EditorExport<TMerovanCreateDocument>("CreateDocument");
    auto Save = EditorExport<TMerovanSaveDocument>("SaveDocument");
    auto Close = EditorExport<TMerovanCloseDocument>("CloseDocument");
    const Integer Board = Create("PCB", ("Seed-" + Name).c_str());
    EXPECT_NE(Board, 0);
    SeedBoard(Board);
    const std::string Path = Folder + Name;
    EXPECT_TRUE(Save(Board, Path.c_str()));
    Close(Board);
    return Path;
  }

  // A new object of the id in the board: (X, Y), (X2, Y2) where it has a second point,
  // layer and flags set. Its handle.
  static Integer Seed(Integer Board, TObjectId Id, TLayer Layer, TCoord X, TCoord Y = 0,
                      TCoord X2 = 0, TCoord Y2 = 0, Word Flags = 0) {
    TOwned<TPCBObject> Object(CreatePcbObjectFromHandle(PcbApi_CreateObject(Id)));
    Object->SetX(X);
    Object->SetY(Y);
    Object->SetX2(X2);
    Object->SetY2(Y2);
    Object->SetLayer(Layer);
    Object->SetFlags(Flags);
    Object->Exchange(ExchangeWrite);
    EXPECT_EQ(PcbApi_AddObjectToContainer(Board, Object->Handle), 0);
    return Object->Handle;
  }

  // A rectangular board outline from (L, B) to (R, T): a template board keeps the
  // outline it came with, and one without is refused.
  static void SeedOutline(Integer Board, TCoord L, TCoord B, TCoord R, TCoord T) {
    PcbApi_CreateBoardOutline(Board);
    TOwned<TPcbBoardOutline> Outline(NewObject<TPcbBoardOutline>(ReadBoard(Board)->OutlineHandle));
    EXPECT_EQ(Outline->Exchange(ExchangeRead), 0);
    const TCoord Corners[5][2] = {{L, B}, {R, B}, {R, T}, {L, T}, {L, B}};
    Outline->SegmentCount = 4;
    for (int I = 0; I <= 4; ++I)
      Outline->Segments[I] = TPolySegment{0, Corners[I][0], Corners[I][1], 0, 0, 0, 0, 0};
    EXPECT_EQ(Outline->Exchange(ExchangeWrite), 0);
  }

  // Classes object classes and a rule of each of Kinds added to the board.
  static void AddClassesAndRules(Integer Board, int Classes, std::initializer_list<Byte> Kinds) {
    for (int I = 0; I < Classes; ++I)
      EXPECT_EQ(PcbApi_AddObjectToContainer(Board, PcbApi_CreateObject(eClassObject)), 0);
    for (Byte Kind : Kinds)
      EXPECT_EQ(PcbApi_AddObjectToContainer(Board, PcbApi_CreateRuleObject(Kind)), 0);
  }

  static TOwned<TPcbBoard> ReadBoard(Integer Board) {
    TOwned<TPcbBoard> Result(NewObject<TPcbBoard>(Board));
    Result->Exchange(ExchangeRead);
    return Result;
  }

  // The board's rules, read, in container order.
  std::vector<TOwned<TPcbRuleExt>> Rules(Integer Board) {
    std::vector<TOwned<TPcbRuleExt>> Result;
    for (Integer H : Objects(Board, eRuleObject)) {
      Result.emplace_back(NewObject<TPcbRuleExt>(H));
      Result.back()->Exchange(ExchangeRead);
    }
    return Result;
  }

  static std::vector<int> SortedKinds(const std::vector<TOwned<TPcbRuleExt>>& Rules) {
    std::vector<int> Kinds;
    for (const auto& Rule : Rules) Kinds.push_back(Rule->RuleKind);
    std::sort(Kinds.begin(), Kinds.end());
    return Kinds;
  }

  // The kinds of a scope's entries.
  static std::vector<int> ScopeKinds(const TPcbScope* Scope) {
    std::vector<int> Kinds;
    for (int I = 0; I < Scope->Count(); ++I) Kinds.push_back(Scope->Records(I)->Kind);
    return Kinds;
  }

  std::string Folder;  // removed with the files in it
};
