// The tree list's stored layout: columns put back in their stored order with their
// cell texts, the sections of a neighbouring layout kept, the root section's form,
// the header rows under aoAutoHeaderPanelHeight, bands found by their ID, the registry
// and the ini file read in turn from Loaded and written at destruction (overrides
// included, a failure there reported), one sort for a whole layout, and columns
// without a Name in sections of their own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "editors/dxRegIni.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

// Stores one more grid value, can fail while storing or loading, and counts sorts.
class TLayoutTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int Sorts = 0;
  bool FailStore = false;
  bool FailLoad = false;

  void SortNodesByColumn(int Level, int Column, bool Descending) override {
    ++Sorts;
    TdxTreeList::SortNodesByColumn(Level, Column, Descending);
  }

 protected:
  void SaveGridLayout(TdxRegIniWrapper* Wrapper, const AnsiString& Section) override {
    if (FailStore) throw Exception("store failed");
    TdxTreeList::SaveGridLayout(Wrapper, Section);
    Wrapper->WriteInteger(Section, "Extra", 7);
  }
  void LoadColumnLayout(TdxRegIniWrapper* Wrapper, const AnsiString& Section,
                        TdxTreeListColumn* Column) override {
    if (FailLoad) throw Exception("load failed");
    TdxTreeList::LoadColumnLayout(Wrapper, Section, Column);
  }
};

class TreeListStoredLayoutTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm();
    Form->SetName("Main");
    IniPath = TempPath("layout.ini");
    DeleteFileA(IniPath.c_str());
  }
  void TearDown() override {
    for (TLayoutTreeList*& Tree : Trees) FreeAndNil(Tree);
    DeleteFileA(IniPath.c_str());
    UiTest::TearDown();
  }
  // A tree list named Name with columns named Name + each of Columns, in that order.
  TLayoutTreeList* NewTree(const char* Name, const std::vector<const char*>& Columns) {
    auto* Tree = AddChild<TLayoutTreeList>(Form);
    Tree->SetName(Name);
    Tree->SetBounds(0, 0, 280, 180);
    for (const char* Column : Columns) {
      TdxTreeListColumn* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
      C->SetName(AnsiString(Name) + Column);
      C->SetCaption(Column);
    }
    Trees.push_back(Tree);
    return Tree;
  }
  void Free(TLayoutTreeList* Tree) {
    for (TLayoutTreeList*& Kept : Trees)
      if (Kept == Tree) FreeAndNil(Kept);
  }
  static std::string Captions(TdxTreeList* Tree) {
    std::string Result;
    for (int I = 0; I < Tree->ColumnCount(); ++I) Result += Tree->Columns(I)->Caption().c_str();
    return Result;
  }
  static std::string Texts(TdxTreeListNode* Node, int Count) {
    std::string Result;
    for (int I = 0; I < Count; ++I) Result += Node->Strings(I).c_str();
    return Result;
  }
  static void Include(TdxTreeList* Tree, TdxTreeListOptionEx Option) {
    TdxTreeListOptionsEx Options = Tree->OptionsEx();
    Options.Include(Option);
    Tree->SetOptionsEx(Options);
  }

  TForm* Form = nullptr;
  AnsiString IniPath;
  std::vector<TLayoutTreeList*> Trees;
};

TEST_F(TreeListStoredLayoutTest, ColumnsComeBackInTheirOrderWithTheirTexts) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
  TLayoutTreeList* Saved = NewTree("List", {"A", "B", "C"});
  Saved->Columns(1)->SetWidth(77);
  Saved->SaveLayout(Ini.get(), "Grid\\");
  EXPECT_EQ(Ini->ReadInteger("\\Grid\\Columns\\ListA", "Index", -1), 0);
  EXPECT_EQ(Ini->ReadInteger("\\Grid\\Columns\\ListC", "Index", -1), 2);
  EXPECT_EQ(Ini->ReadInteger("\\Grid", "Extra", 0), 7);
  Free(Saved);

  TLayoutTreeList* Tree = NewTree("List", {"C", "A", "B"});
  TdxTreeListNode* Node = Tree->Add();
  Node->SetStrings(0, "c");
  Node->SetStrings(1, "a");
  Node->SetStrings(2, "b");
  TdxTreeListNode* Child = Node->AddChild();
  Child->SetStrings(0, "3");
  Child->SetStrings(1, "1");
  Tree->LoadLayout(Ini.get(), "\\Grid");
  EXPECT_EQ(Captions(Tree), "ABC");
  EXPECT_EQ(Texts(Node, 3), "abc");
  EXPECT_EQ(Texts(Child, 3), "13");
  EXPECT_EQ(Child->Strings(1), "");
  EXPECT_EQ(Tree->Columns(1)->Width(), 77);
}

// Columns without a Name each have a section of their own, keyed by the order they
// joined the list, so a list built the same way finds its own again whatever order the
// user left them in.
TEST_F(TreeListStoredLayoutTest, ColumnsWithoutANameKeepSectionsOfTheirOwn) {
  auto Unnamed = [&](const char* Name) {
    TLayoutTreeList* Tree = NewTree(Name, {});
    for (const char* Caption : {"A", "B", "C"}) {
      TdxTreeListColumn* Column = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
      Column->SetName("");
      Column->SetCaption(Caption);
    }
    return Tree;
  };
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
  TLayoutTreeList* Saved = Unnamed("List");
  Saved->Columns(0)->SetWidth(60);
  Saved->Columns(1)->SetWidth(70);
  Saved->Columns(1)->SetVisible(false);
  Saved->Columns(2)->SetWidth(80);
  Saved->Columns(2)->SetIndex(0);
  ASSERT_EQ(Captions(Saved), "CAB");
  Saved->SaveLayout(Ini.get(), "\\Grid");
  for (const char* Key : {"0", "1", "2"})
    EXPECT_TRUE(Ini->SectionExists(AnsiString("\\Grid\\Columns\\") + Key)) << Key;
  Free(Saved);

  TLayoutTreeList* Tree = Unnamed("List");
  Tree->LoadLayout(Ini.get(), "\\Grid");
  ASSERT_EQ(Captions(Tree), "CAB");
  EXPECT_EQ(Tree->Columns(0)->Width(), 80);
  EXPECT_EQ(Tree->Columns(1)->Width(), 60);
  EXPECT_EQ(Tree->Columns(2)->Width(), 70);
  EXPECT_TRUE(Tree->Columns(1)->Visible());
  EXPECT_FALSE(Tree->Columns(2)->Visible());
}

TEST_F(TreeListStoredLayoutTest, SavingErasesItsOwnSectionsAndNotANeighboursWithALongerName) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
  Ini->WriteInteger("\\Main_List10", "Kept", 1);
  Ini->WriteInteger("\\Main_List10\\Columns\\Other", "Kept", 1);
  Ini->WriteInteger("\\Main_List1", "Stale", 1);
  Ini->WriteInteger("\\Main_List1\\Columns\\Gone", "Stale", 1);
  TLayoutTreeList* Tree = NewTree("List1", {"A"});
  Tree->SaveLayout(Ini.get(), "\\Main_List1");
  EXPECT_TRUE(Ini->ValueExists("\\Main_List10", "Kept"));
  EXPECT_TRUE(Ini->ValueExists("\\Main_List10\\Columns\\Other", "Kept"));
  EXPECT_FALSE(Ini->ValueExists("\\Main_List1", "Stale"));
  EXPECT_FALSE(Ini->SectionExists("\\Main_List1\\Columns\\Gone"));
  EXPECT_TRUE(Ini->ValueExists("\\Main_List1\\Columns\\List1A", "Width"));
}

TEST_F(TreeListStoredLayoutTest, RootSectionsAreNormalizedAndNamedAfterFormAndControl) {
  EXPECT_EQ(TCustomdxTreeListControl::NormalizeLayoutPath("Grid\\"), "\\Grid");
  EXPECT_EQ(TCustomdxTreeListControl::NormalizeLayoutPath("Software\\Layout\\\\"),
            "\\Software\\Layout");
  EXPECT_EQ(TCustomdxTreeListControl::NormalizeLayoutPath("\\Keep"), "\\Keep");
  EXPECT_EQ(TCustomdxTreeListControl::NormalizeLayoutPath(""), "");
  TLayoutTreeList* Tree = NewTree("List1", {});
  EXPECT_EQ(Tree->IniLayoutSection(true), "Main_List1");
  // Saving uses the form remembered when the control got its parent.
  Form->SetName("Renamed");
  EXPECT_EQ(Tree->IniLayoutSection(false), "Main_List1");
  EXPECT_EQ(Tree->IniLayoutSection(true), "Renamed_List1");
  Tree->SetIniSectionName("Own");
  EXPECT_EQ(Tree->IniLayoutSection(false), "Own");
}

TEST_F(TreeListStoredLayoutTest, AutomaticHeaderRowsAreStoredAsMinusOne) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
  TLayoutTreeList* Tree = NewTree("List", {"A", "B"});
  Tree->SetHeaderPanelRowCount(2);
  Tree->Columns(1)->SetRowIndex(1);
  Include(Tree, aoAutoHeaderPanelHeight);
  Tree->SaveLayout(Ini.get(), "\\Auto");
  EXPECT_EQ(Ini->ReadInteger("\\Auto", "HeaderPanelRowCount", 0), -1);
  Tree->LoadLayout(Ini.get(), "\\Auto");
  EXPECT_TRUE(Tree->OptionsEx().Contains(aoAutoHeaderPanelHeight));
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 2);

  // A stored count switches the automatic height off.
  Ini->WriteInteger("\\Auto", "HeaderPanelRowCount", 3);
  Tree->LoadLayout(Ini.get(), "\\Auto");
  EXPECT_FALSE(Tree->OptionsEx().Contains(aoAutoHeaderPanelHeight));
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 3);
}

TEST_F(TreeListStoredLayoutTest, BandsAreFoundByTheirIDAndMissingOnesSkipped) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
  TLayoutTreeList* Tree = NewTree("List", {});
  TdxTreeListBands* Bands = Tree->Bands();
  Bands->Add();
  Bands->Add();
  for (int I = 0; I < 3; ++I) Bands->Items(I)->SetWidth(100 + 20 * I);
  Bands->Items(2)->SetVisible(false);
  const int First = Bands->Items(0)->ID(), Third = Bands->Items(2)->ID();
  Tree->SaveLayout(Ini.get(), "\\Bands");

  // The second band goes, a new one comes, the first moves to the end; widths change.
  Bands->Delete(1);
  const int Fourth = Bands->Add()->ID();
  Bands->Items(0)->SetIndex(2);
  for (int I = 0; I < 3; ++I) Bands->Items(I)->SetWidth(60);
  Bands->Items(0)->SetVisible(true);
  Tree->LoadLayout(Ini.get(), "\\Bands");
  ASSERT_EQ(Bands->Count(), 3);
  EXPECT_EQ(Bands->Items(0)->ID(), First);
  EXPECT_EQ(Bands->Items(1)->ID(), Third);
  EXPECT_EQ(Bands->Items(2)->ID(), Fourth);
  EXPECT_EQ(Bands->Items(0)->Width(), 100);
  EXPECT_EQ(Bands->Items(1)->Width(), 140);
  EXPECT_FALSE(Bands->Items(1)->Visible());
  EXPECT_EQ(Bands->Items(2)->Width(), 60);
}

TEST_F(TreeListStoredLayoutTest, LoadedReadsTheRegistryThenTheIniFileAndDestructionWritesBoth) {
  const AnsiString Key = "Software\\TarvikTests\\Layout" + IntToStr(GetCurrentProcessId());
  auto Setup = [&](TLayoutTreeList* Tree) {
    TdxTreeListOptions Options = Tree->Options();
    Options.Include(aoStoreToRegistry);
    Options.Include(aoStoreToIniFile);
    Tree->SetOptions(Options);
    Tree->SetRegistryPath(Key + "\\\\");
    Tree->SetIniFileName(IniPath);
  };
  TLayoutTreeList* Saved = NewTree("List1", {"A", "B"});
  Setup(Saved);
  Saved->Columns(0)->SetWidth(150);
  Saved->Columns(1)->SetVisible(false);
  Free(Saved);
  {
    // The ini file says another width and nothing of the visibility.
    TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
    ASSERT_EQ(Ini->ReadInteger("\\Main_List1\\Columns\\List1A", "Width", 0), 150);
    EXPECT_EQ(Ini->ReadInteger("\\Main_List1", "Extra", 0), 7) << "the override stored";
    Ini->WriteInteger("\\Main_List1\\Columns\\List1A", "Width", 170);
    Ini->DeleteKey("\\Main_List1\\Columns\\List1B", "Visible");
    Ini->UpdateFile();
  }
  TLayoutTreeList* Tree = NewTree("List1", {"A", "B"});
  Setup(Tree);
  Tree->Loaded();
  EXPECT_FALSE(Tree->Columns(1)->Visible()) << "from the registry";
  EXPECT_EQ(Tree->Columns(0)->Width(), 170) << "from the ini file, read last";
  // Only the first call reads.
  Tree->Columns(0)->SetWidth(90);
  Tree->Loaded();
  EXPECT_EQ(Tree->Columns(0)->Width(), 90);

  Free(Tree);
  TOwned<TRegistry> Registry(NewObject<TRegistry>());
  Registry->SetRootKey(HKEY_CURRENT_USER);
  EXPECT_TRUE(Registry->KeyExists("\\" + Key + "\\Columns\\List1A"));
  Registry->DeleteKey("\\Software\\TarvikTests");
}

TEST_F(TreeListStoredLayoutTest, AMissingRegistryKeyLoadsNothing) {
  TLayoutTreeList* Tree = NewTree("List1", {"A"});
  Tree->Columns(0)->SetWidth(123);
  Tree->LoadLayoutFromRegistry("Software\\TarvikTests\\NoSuchLayout");
  EXPECT_EQ(Tree->Columns(0)->Width(), 123);
  TOwned<TRegistry> Registry(NewObject<TRegistry>());
  EXPECT_FALSE(Registry->KeyExists("\\Software\\TarvikTests\\NoSuchLayout"));
}

TEST_F(TreeListStoredLayoutTest, AStoreFailingInTheDestructionIsReportedAndALoadRaises) {
  TLayoutTreeList* Tree = NewTree("List1", {"A"});
  TdxTreeListOptions Options = Tree->Options();
  Options.Include(aoStoreToIniFile);
  Tree->SetOptions(Options);
  Tree->SetIniFileName(IniPath);
  Tree->Add()->SetStrings(0, "x");
  Tree->FailStore = true;
  Free(Tree);
  ASSERT_EQ(Log->Messages.size(), 1u);
  EXPECT_EQ(Log->Messages[0], "store failed");

  Tree = NewTree("List1", {"A"});
  {
    TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
    Tree->SaveLayout(Ini.get(), "\\Main_List1");
    Ini->UpdateFile();
  }
  Tree->SetOptions(Options);
  Tree->SetIniFileName(IniPath);
  Tree->FailLoad = true;
  ExpectRaises<Exception>([&] { Tree->Loaded(); }, "load failed");
  EXPECT_EQ(Tree->UpdateCount(), 0);
  EXPECT_EQ(Tree->LayoutUpdateCount(), 0);
}

TEST_F(TreeListStoredLayoutTest, ALayoutOfSeveralSortColumnsSortsOnce) {
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
  TLayoutTreeList* Saved = NewTree("List", {"A", "B", "C"});
  Include(Saved, aoMultiSort);
  Saved->Columns(0)->SetSorted(csUp);
  Saved->Columns(2)->SetSorted(csDown);
  Saved->SaveLayout(Ini.get(), "\\Sort");
  EXPECT_EQ(Ini->ReadInteger("\\Sort\\Columns\\ListA", "SortedOrder", -1), 0);
  EXPECT_EQ(Ini->ReadInteger("\\Sort\\Columns\\ListC", "SortedOrder", -1), 1);
  EXPECT_EQ(Ini->ReadInteger("\\Sort\\Columns\\ListB", "SortedOrder", 0), -1);
  Free(Saved);

  TLayoutTreeList* Tree = NewTree("List", {"B", "C", "A"});
  Include(Tree, aoMultiSort);
  Tree->BeginUpdate();
  const char* Rows[][3] = {{"b", "1", "y"}, {"b", "2", "x"}, {"b", "3", "x"}, {"b", "4", "y"}};
  for (const auto& Row : Rows) {
    TdxTreeListNode* Node = Tree->Add();
    for (int I = 0; I < 3; ++I) Node->SetStrings(I, Row[I]);
  }
  Tree->EndUpdate();
  Tree->LoadLayout(Ini.get(), "\\Sort");
  EXPECT_EQ(Tree->Sorts, 1);
  EXPECT_EQ(Captions(Tree), "ABC");
  ASSERT_EQ(Tree->SortColumnCount(), 2);
  // The columns were read C before A: the stored positions put A first again.
  EXPECT_EQ(Tree->SortColumns(0)->Caption(), "A");
  std::string Order;
  for (int I = 0; I < Tree->Count(); ++I) Order += Texts(Tree->Items(I), 3) + " ";
  EXPECT_EQ(Order, "xb3 xb2 yb4 yb1 ");
}

// A layout file is outside input: whatever numbers it holds, every column stays in a
// band and a header row the list has, and no width, count or row height leaves what
// the list can lay out and paint.
TEST_F(TreeListStoredLayoutTest, HostileNumbersInALayoutAreKeptInRange) {
  TLayoutTreeList* Tree = NewTree("List", {"A", "B", "C"});
  Tree->Bands()->Add();
  Tree->Columns(2)->SetBandIndex(1);
  Tree->Add()->SetStrings(0, "x");
  const int MaxRows = Tree->HeaderPanelMaxRowCount();
  // Section is below the layout's root: "" for the grid values.
  auto Write = [&](const char* Section, const char* Key, int Value) {
    TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
    Ini->WriteInteger(AnsiString("\\Hostile") + Section, Key, Value);
    Ini->UpdateFile();
  };
  auto Load = [&](const std::string& What) {
    SCOPED_TRACE(What);
    TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(IniPath));
    Tree->LoadLayout(Ini.get(), "\\Hostile");
    EXPECT_EQ(Tree->GetVisibleColumnCount(), 3);
    for (int I = 0; I < 3; ++I) {
      TdxTreeListColumn* Column = Tree->Columns(I);
      EXPECT_TRUE(Column->BandIndex() >= 0 && Column->BandIndex() < 2) << I;
      EXPECT_TRUE(Column->RowIndex() >= 0 && Column->RowIndex() < Tree->HeaderPanelRowCount()) << I;
      EXPECT_TRUE(Column->StoredRowIndex() >= 0 && Column->StoredRowIndex() < MaxRows) << I;
      EXPECT_TRUE(Column->Width() >= Column->MinWidth() && Column->Width() <= dxTLMaxWidth) << I;
    }
    for (int I = 0; I < 2; ++I) EXPECT_LE(Tree->Bands()->Items(I)->Width(), dxTLMaxWidth) << I;
    EXPECT_LE(Tree->DefaultRowHeight(), dxTLMaxRowHeight);
    // A column change inside an update counts the header rows from the columns.
    Tree->BeginUpdate();
    Tree->Columns(1)->SetCaption("b");
    for (int V = 0; V < Tree->GetVisibleBandCount(); ++V)
      EXPECT_LE(Tree->GetHeaderRowCount(V), Tree->HeaderPanelRowCount()) << V;
    Tree->EndUpdate();
    PaintNow(Tree);
    Pump();
  };
  const int Big = 2147483647, Small = -2147483647 - 1;
  for (int Value : {-3, Big, Small}) {
    Write("\\Columns\\ListA", "StoredRowIndex", Value);
    Load("StoredRowIndex " + std::to_string(Value));
    Write("\\Columns\\ListA", "RowIndex", Value);
    Load("RowIndex " + std::to_string(Value));
  }
  // Switching the automatic header height on counts the rows from the stored ones.
  Include(Tree, aoAutoHeaderPanelHeight);
  EXPECT_LE(Tree->HeaderPanelRowCount(), MaxRows);
  for (int Value : {-7, Big, Small}) {
    DeleteFileA(IniPath.c_str());
    Write("\\Columns\\ListB", "BandIndex", Value);
    Load("BandIndex " + std::to_string(Value));
  }
  for (int Value : {-50, Big, Small}) {
    DeleteFileA(IniPath.c_str());
    Write("\\Band\\Band0", "ID", Tree->Bands()->Items(0)->ID());
    for (const char* Key : {"DefaultRowHeight", "BandRowCount", "HeaderPanelRowCount"})
      Write("", Key, Value);
    Write("\\Columns\\ListC", "Width", Value);
    Write("\\Band\\Band0", "Width", Value);
    Load("widths and counts " + std::to_string(Value));
    Write("\\Columns\\ListA", "Index", Value);
    Write("\\Columns\\ListC", "Sorted", Value);
    Write("\\Columns\\ListC", "SortedOrder", Value);
    Write("\\Band\\Band0", "Index", Value);
    Load("indexes " + std::to_string(Value));
  }

  // A form file's stored rows are kept to the header's the same way.
  const AnsiString Text =
      "form frmRows: TForm\n"
      "  component treRows: TdxTreeList\n"
      "    component colA: TdxTreeListColumn\n"
      "      BandIndex = 0\n"
      "      RowIndex = 0\n"
      "      StoredRowIndex = -3\n"
      "    end\n"
      "    component colB: TdxTreeListColumn\n"
      "      BandIndex = 0\n"
      "      RowIndex = 0\n"
      "      StoredRowIndex = 2147483647\n"
      "    end\n"
      "  end\n"
      "end\n";
  TOwned<TForm> Read(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Read.get(), Text, "rows");
  auto* List = ObjectAs<TdxTreeList>(Read->FindComponent("treRows"));
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(List->GetVisibleColumnCount(), 2);
  for (int I = 0; I < List->ColumnCount(); ++I) {
    EXPECT_GE(List->Columns(I)->StoredRowIndex(), 0) << I;
    EXPECT_LT(List->Columns(I)->StoredRowIndex(), List->HeaderPanelMaxRowCount()) << I;
  }
  Include(List, aoAutoHeaderPanelHeight);
  EXPECT_EQ(List->HeaderPanelRowCount(), List->HeaderPanelMaxRowCount());
}

}  // namespace
