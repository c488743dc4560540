// The tree list's keyboard on a real window: the row-select expand and collapse keys,
// Tab at the last column, the page move, Ctrl+Space, an empty tree, the incremental
// search (typing, the Enter steps, Escape, a hidden focused node), the clipboard copy,
// the dialog code, the navigation operations, the editing hooks the keys call, and the
// focused column brought into view, also the focused end row or column scrolled away,
// and a key with nowhere to go from an end cell bringing it back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/StringLists.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

class TreeListKeysTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TdxTreeList>(ShownForm(500, 400));
    Tree->SetBorderStyle(bsNone);
    Tree->SetBounds(0, 0, 400, 300);
    for (const char* Caption : {"Name", "Kind", "Size"})
      Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetCaption(Caption);
    // No option but those a test adds.
    Tree->SetOptions(TdxTreeListOptions{});
    Tree->HandleNeeded();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  TdxTreeListNode* Node(TdxTreeListNode* Parent, const char* Name, const char* Kind = "") {
    TdxTreeListNode* Result = Parent ? Parent->AddChild() : Tree->Add();
    Result->SetStrings(0, Name);
    Result->SetStrings(1, Kind);
    return Result;
  }
  void Names(const std::vector<const char*>& List) {
    Tree->BeginUpdate();
    for (const char* Name : List) Node(nullptr, Name);
    Tree->EndUpdate();
    Pump();
  }
  // The key as its message arrives, with the listed keys held.
  void Key(Word VirtKey, std::vector<int> Held = {}) {
    HeldKeys = std::move(Held);
    SendMessageA(Tree->Handle(), WM_KEYDOWN, VirtKey, 1);
    HeldKeys.clear();
    Pump();
  }
  void Type(const std::string& Text) {
    for (char C : Text) SendMessageA(Tree->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
    Pump();
  }
  void Options(TdxTreeListOptions Add) {
    TdxTreeListOptions O = Tree->Options();
    for (TdxTreeListOption Option :
         {aoRowSelect, aoMultiSelect, aoExtMultiSelect, aoEditing, aoTabThrough, aoTabs})
      if (Add.Contains(Option)) O.Include(Option);
    Tree->SetOptions(O);
  }
  void Ex(TdxTreeListOptionsEx Add) {
    TdxTreeListOptionsEx O = Tree->OptionsEx();
    for (TdxTreeListOptionEx Option : {aoAutoSearch, aoAutoCopySelectedToClipboard, aoHorzThrough})
      if (Add.Contains(Option)) O.Include(Option);
    Tree->SetOptionsEx(O);
  }
  std::string Focused() { return Tree->FocusedNode() ? Tree->FocusedNode()->Strings(0).c_str() : ""; }

  // Five 100-pixel columns in a list 200 pixels wide, with nodes "a" and "b"; answers the
  // left coordinate that shows the last column.
  int FiveWideColumns() {
    Tree->SetBounds(0, 0, 200, 300);
    for (int I = 0; I < 2; ++I) Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    for (int I = 0; I < 5; ++I) Tree->Columns(I)->SetWidth(100);
    Tree->Bands()->Items(0)->SetWidth(500);
    Names({"a", "b"});
    return 500 - Tree->GetVisibleWidth();
  }

  TdxTreeList* Tree = nullptr;
};

TEST_F(TreeListKeysTest, RightExpandsThenEntersAndLeftClimbsOrMovesUp) {
  Options(TdxTreeListOptions{aoRowSelect});
  TdxTreeListNode* Parent = Node(nullptr, "parent");
  TdxTreeListNode* First = Node(Parent, "first");
  Node(First, "grandchild");
  TdxTreeListNode* Second = Node(Parent, "second");
  Node(nullptr, "after");
  Tree->SetFocusedNode(Parent, 0, true);
  Pump();

  Key(VK_RIGHT);
  EXPECT_TRUE(Parent->Expanded());
  EXPECT_EQ(Focused(), "parent");
  Key(VK_RIGHT);
  EXPECT_EQ(Focused(), "first");
  EXPECT_TRUE(First->Selected());

  // A collapsed first child goes to its parent; a later child moves one row up.
  Key(VK_LEFT);
  EXPECT_EQ(Focused(), "parent");
  EXPECT_TRUE(Parent->Expanded());
  Tree->SetFocusedNode(Second, 0, true);
  Key(VK_LEFT);
  EXPECT_EQ(Focused(), "first");
  // An expanded node collapses and keeps the focus.
  Tree->SetFocusedNode(Parent, 0, true);
  Key(VK_LEFT);
  EXPECT_FALSE(Parent->Expanded());
  EXPECT_EQ(Focused(), "parent");
  // A leaf moves on to the next row.
  Tree->SetFocusedNode(Tree->Items(1), 0, true);
  Key(VK_LEFT);
  EXPECT_EQ(Focused(), "parent");
}

TEST_F(TreeListKeysTest, ColumnKeysStopAtTheEdgesUnlessTheyRunThrough) {
  Names({"a", "b"});
  Tree->SetFocusedNode(Tree->Items(0), 2, true);
  Key(VK_TAB);
  EXPECT_EQ(Tree->FocusedColumn(), 2);
  EXPECT_EQ(Focused(), "a");
  Key(VK_RIGHT);
  EXPECT_EQ(Tree->FocusedColumn(), 2);
  EXPECT_EQ(Focused(), "a");

  Options(TdxTreeListOptions{aoTabThrough});
  Key(VK_TAB);
  EXPECT_EQ(Focused(), "b");
  EXPECT_EQ(Tree->FocusedColumn(), 0);
  Key(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(Focused(), "a");
  EXPECT_EQ(Tree->FocusedColumn(), 2);
  // A column without its tab stop is passed over.
  Tree->Columns(1)->SetTabStop(false);
  Tree->SetFocusedColumn(0);
  Key(VK_TAB);
  EXPECT_EQ(Tree->FocusedColumn(), 2);

  Ex(TdxTreeListOptionsEx{aoHorzThrough});
  Key(VK_RIGHT);
  EXPECT_EQ(Focused(), "b");
  EXPECT_EQ(Tree->FocusedColumn(), 0);
  Key(VK_LEFT);
  EXPECT_EQ(Focused(), "a");
  EXPECT_EQ(Tree->FocusedColumn(), 2);
  // Home and End go to the first and last column; with Ctrl, to the first and last row.
  Key(VK_HOME);
  EXPECT_EQ(Tree->FocusedColumn(), 0);
  Key(VK_END, {VK_CONTROL});
  EXPECT_EQ(Focused(), "b");
  Key(VK_HOME, {VK_CONTROL});
  EXPECT_EQ(Focused(), "a");
}

TEST_F(TreeListKeysTest, PageDownGoesToThePageEndThenAPageLessOne) {
  std::vector<const char*> List(60, "row");
  Names(List);
  Tree->CalcRowsInView();
  const int Full = Tree->FullRowCount();
  ASSERT_GT(Full, 4);
  Tree->SetFocusedRowIndex(2);
  Key(VK_NEXT);
  EXPECT_EQ(Tree->GetFocusedRowIndex(), Full - 1);
  Key(VK_NEXT);
  EXPECT_EQ(Tree->GetFocusedRowIndex(), Full - 1 + Full - 1);
  // Page Up from the middle of the new page goes to its top row.
  const int Top = Tree->GetTopIndex();
  Tree->SetFocusedRowIndex(Top + 2);
  Key(VK_PRIOR);
  EXPECT_EQ(Tree->GetFocusedRowIndex(), Top);
  // Ctrl+Down and Ctrl+Up step one row.
  Key(VK_DOWN, {VK_CONTROL});
  EXPECT_EQ(Tree->GetFocusedRowIndex(), Top + 1);
  Key(VK_UP, {VK_CONTROL});
  EXPECT_EQ(Tree->GetFocusedRowIndex(), Top);
}

// A focused first or last row that the wheel or the scroll bar took off the screen comes
// back into view with the keys that move to it, as with any other focus move.
TEST_F(TreeListKeysTest, KeysOntoTheFocusedEndRowBringItBackIntoView) {
  std::vector<const char*> List(60, "row");
  Names(List);
  Tree->CalcRowsInView();
  const int Last = Tree->GetVisibleNodeCount() - 1;
  auto InView = [&] {
    const int Row = Tree->GetFocusedRowIndex();
    return Row >= Tree->GetTopIndex() && Row < Tree->GetTopIndex() + Tree->FullRowCount();
  };
  // The wheel or the bar scrolls Pages pages toward the other end.
  auto ScrollAway = [&](bool Wheel, bool Down) {
    for (int I = 0; I < 30; ++I) {
      if (Wheel)
        SendMessageA(Tree->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, Down ? -WHEEL_DELTA : WHEEL_DELTA), 0);
      else
        SendMessageA(Tree->Handle(), WM_VSCROLL, Down ? SB_PAGEDOWN : SB_PAGEUP, 0);
    }
    Pump();
  };
  struct TCase {
    const char* Name;
    Word VirtKey;
    std::vector<int> Held;
    bool RowSelect;
  };
  const TCase FirstRow[] = {{"Home", VK_HOME, {}, true},
                            {"Shift+Home", VK_HOME, {VK_SHIFT}, false},
                            {"Ctrl+Home", VK_HOME, {VK_CONTROL}, false},
                            {"Page Up", VK_PRIOR, {}, false}};
  const TCase LastRow[] = {{"End", VK_END, {}, true},
                           {"Shift+End", VK_END, {VK_SHIFT}, false},
                           {"Ctrl+End", VK_END, {VK_CONTROL}, false},
                           {"Page Down", VK_NEXT, {}, false}};
  for (const bool Wheel : {true, false}) {
    for (const bool AtEnd : {false, true}) {
      for (const TCase& C : AtEnd ? LastRow : FirstRow) {
        Tree->SetOptions(C.RowSelect ? TdxTreeListOptions{aoRowSelect} : TdxTreeListOptions{});
        Tree->SetFocusedRowIndex(AtEnd ? Last : 0);
        Tree->SetTopIndex(AtEnd ? Last : 0);
        ASSERT_TRUE(InView()) << C.Name;
        ScrollAway(Wheel, !AtEnd);
        ASSERT_FALSE(InView()) << C.Name << (Wheel ? " wheel" : " bar");
        Key(C.VirtKey, C.Held);
        EXPECT_EQ(Tree->GetFocusedRowIndex(), AtEnd ? Last : 0) << C.Name;
        EXPECT_TRUE(InView()) << C.Name << (Wheel ? " wheel" : " bar");
      }
    }
  }
}

// Five 100-pixel columns in a list 200 pixels wide: every move of the focused column,
// by key, by call or by a click on a cell half scrolled out, brings it into view.
TEST_F(TreeListKeysTest, TheFocusedColumnScrollsIntoView) {
  const int Last = FiveWideColumns();
  ASSERT_GT(Last, 100);
  for (int I = 0; I < 4; ++I) Key(VK_RIGHT);
  EXPECT_EQ(Tree->FocusedColumn(), 4);
  EXPECT_EQ(Tree->LeftCoord(), Last);
  Tree->SetFocusedColumn(0);
  EXPECT_EQ(Tree->LeftCoord(), 0);
  Key(VK_END);
  EXPECT_EQ(Tree->LeftCoord(), Last);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(Tree->FocusedColumn(), 2);
  EXPECT_EQ(Tree->LeftCoord(), 200);
  Key(VK_HOME);
  EXPECT_EQ(Tree->LeftCoord(), 0);
  Key(VK_TAB);
  Key(VK_TAB);
  Key(VK_TAB);
  EXPECT_EQ(Tree->FocusedColumn(), 3);
  EXPECT_EQ(Tree->LeftCoord(), 400 - Tree->GetVisibleWidth());
  // Column 0 shows only its right half: a click on it shows all of it.
  Tree->SetLeftCoord(50);
  TRect Row;
  Tree->GetNodeRowRect(Tree->Items(1), Row);
  SendMessageA(Tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, Row.top + 2));
  SendMessageA(Tree->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, Row.top + 2));
  Pump();
  EXPECT_EQ(Focused(), "b");
  EXPECT_EQ(Tree->FocusedColumn(), 0);
  EXPECT_EQ(Tree->LeftCoord(), 0);
}

// The same for the focused first or last column that the horizontal bar scrolled away.
TEST_F(TreeListKeysTest, KeysOntoTheFocusedEndColumnBringItBackIntoView) {
  const int Last = FiveWideColumns();
  ASSERT_GT(Last, 100);
  struct TCase {
    const char* Name;
    Word VirtKey;
    std::vector<int> Held;
    int Column;
  };
  const TCase Cases[] = {{"Home", VK_HOME, {}, 0},
                         {"Ctrl+Left", VK_LEFT, {VK_CONTROL}, 0},
                         {"End", VK_END, {}, 4},
                         {"Ctrl+Right", VK_RIGHT, {VK_CONTROL}, 4}};
  for (const TCase& C : Cases) {
    Tree->SetFocusedNode(Tree->Items(0), C.Column, true);
    Tree->SetLeftCoord(C.Column == 0 ? 0 : Last);
    for (int I = 0; I < 5; ++I)
      SendMessageA(Tree->Handle(), WM_HSCROLL, C.Column == 0 ? SB_PAGERIGHT : SB_PAGELEFT, 0);
    Pump();
    ASSERT_EQ(Tree->LeftCoord(), C.Column == 0 ? Last : 0) << C.Name;
    Key(C.VirtKey, C.Held);
    EXPECT_EQ(Tree->FocusedColumn(), C.Column) << C.Name;
    EXPECT_EQ(Tree->LeftCoord(), C.Column == 0 ? 0 : Last) << C.Name;
  }
  // A call that focuses the focused column again brings it back as well.
  SendMessageA(Tree->Handle(), WM_HSCROLL, SB_PAGELEFT, 0);
  Tree->SetFocusedColumn(4);
  EXPECT_EQ(Tree->LeftCoord(), Last);
}

// Sixty rows of five 100-pixel columns, the focused end cell scrolled away both ways: a
// key whose move has nowhere to go from there brings that cell back all the same.
TEST_F(TreeListKeysTest, KeysWithNowhereToGoFromAnEndCellBringItBackIntoView) {
  FiveWideColumns();
  std::vector<const char*> List(58, "row");
  Names(List);
  Tree->CalcRowsInView();
  // The vertical bar now takes its share of the width.
  const int LastLeft = 500 - Tree->GetVisibleWidth();
  ASSERT_GT(LastLeft, 100);
  const int Last = Tree->GetVisibleNodeCount() - 1;
  struct TCase {
    const char* Name;
    Word VirtKey;
    std::vector<int> Held;
    TdxTreeListOptions Options;
  };
  const TCase FirstCell[] = {{"Up", VK_UP, {}, {}},
                             {"Up, row select", VK_UP, {}, {aoRowSelect}},
                             {"Up, multi-select", VK_UP, {}, {aoMultiSelect}},
                             {"Shift+Up", VK_UP, {VK_SHIFT}, {aoMultiSelect}},
                             {"Ctrl+Up", VK_UP, {VK_CONTROL}, {}},
                             {"Left", VK_LEFT, {}, {}},
                             {"Ctrl+Left", VK_LEFT, {VK_CONTROL}, {}},
                             {"Home", VK_HOME, {}, {}},
                             {"Shift+Tab", VK_TAB, {VK_SHIFT}, {aoTabThrough}}};
  const TCase LastCell[] = {{"Down", VK_DOWN, {}, {}},
                            {"Down, row select", VK_DOWN, {}, {aoRowSelect}},
                            {"Shift+Down", VK_DOWN, {VK_SHIFT}, {aoMultiSelect}},
                            {"Ctrl+Down", VK_DOWN, {VK_CONTROL}, {}},
                            {"Right", VK_RIGHT, {}, {}},
                            {"Ctrl+Right", VK_RIGHT, {VK_CONTROL}, {}},
                            {"End", VK_END, {}, {}},
                            {"Page Down", VK_NEXT, {}, {}},
                            {"Tab", VK_TAB, {}, {aoTabThrough}}};
  for (const bool AtEnd : {false, true}) {
    const int Row = AtEnd ? Last : 0, Column = AtEnd ? 4 : 0;
    for (const TCase& C : AtEnd ? LastCell : FirstCell) {
      Tree->SetOptions(C.Options);
      Tree->SetFocusedNode(Tree->Items(Row), Column, true);
      Tree->SetTopIndex(AtEnd ? 0 : Last);
      Tree->SetLeftCoord(AtEnd ? 0 : LastLeft);
      Pump();
      ASSERT_FALSE(Row >= Tree->GetTopIndex() && Row < Tree->GetTopIndex() + Tree->FullRowCount()) << C.Name;
      Key(C.VirtKey, C.Held);
      ASSERT_EQ(Tree->GetFocusedRowIndex(), Row) << C.Name;
      EXPECT_TRUE(Row >= Tree->GetTopIndex() && Row < Tree->GetTopIndex() + Tree->FullRowCount()) << C.Name;
      if (C.Options.Contains(aoRowSelect)) continue;
      EXPECT_EQ(Tree->FocusedColumn(), Column) << C.Name;
      EXPECT_EQ(Tree->LeftCoord(), AtEnd ? LastLeft : 0) << C.Name;
    }
  }
}

// Two column rows in one band: Up and Down go through them before the rows.
TEST_F(TreeListKeysTest, VertThroughWalksTheColumnRowsOfABand) {
  Tree->SetHeaderPanelRowCount(2);
  Tree->Columns(1)->SetRowIndex(1);
  Tree->Columns(2)->SetRowIndex(1);
  Names({"a", "b"});
  TdxTreeListOptionsEx O = Tree->OptionsEx();
  O.Include(aoVertThrough);
  Tree->SetOptionsEx(O);
  auto Absolute = [&] { return Tree->GetAbsoluteColumnIndex(Tree->FocusedColumn()); };
  Tree->SetFocusedNode(Tree->Items(0), Tree->GetVisibleColumnIndex(0), true);
  Key(VK_DOWN);
  EXPECT_EQ(Focused(), "a");
  EXPECT_EQ(Absolute(), 1);
  Key(VK_DOWN);
  EXPECT_EQ(Focused(), "b");
  EXPECT_EQ(Absolute(), 0);
  Key(VK_UP);
  EXPECT_EQ(Focused(), "a");
  EXPECT_EQ(Absolute(), 1);
  // The last column row of the last node: the ordinary move, which has nowhere to go.
  Tree->SetFocusedNode(Tree->Items(1), Tree->GetVisibleColumnIndex(2), true);
  Key(VK_DOWN);
  EXPECT_EQ(Focused(), "b");
  EXPECT_EQ(Absolute(), 2);
}

TEST_F(TreeListKeysTest, NoKeyChangesAnEmptyTree) {
  Options(TdxTreeListOptions{aoRowSelect});
  Ex(TdxTreeListOptionsEx{aoAutoSearch});
  for (Word K : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_HOME, VK_END, VK_RIGHT, VK_LEFT, VK_TAB,
                 VK_RETURN, VK_ESCAPE, VK_SPACE})
    Key(K);
  Key(VK_SPACE, {VK_CONTROL});
  Type("a+-*");
  EXPECT_EQ(Tree->Count(), 0);
  EXPECT_EQ(Tree->FocusedNode(), nullptr);
  EXPECT_TRUE(Log->Messages.empty());
}

// Without aoMultiSelect the focused node is the selection, and Shift+Page Down only
// moves the focus.
TEST_F(TreeListKeysTest, ShiftPageDownWithoutMultiSelectOnlyMoves) {
  std::vector<const char*> List(40, "row");
  Names(List);
  Tree->SetFocusedRowIndex(0);
  Key(VK_NEXT, {VK_SHIFT});
  const int Row = Tree->GetFocusedRowIndex();
  EXPECT_GT(Row, 0);
  EXPECT_TRUE(Tree->FocusedNode()->Selected());
  EXPECT_FALSE(Tree->Items(0)->Selected());
  EXPECT_EQ(Tree->SelectedCount(), 0);
}

TEST_F(TreeListKeysTest, ExpandingCharactersActOnTheFocusedNode) {
  TdxTreeListNode* Parent = Node(nullptr, "parent");
  TdxTreeListNode* Child = Node(Parent, "child");
  Node(Child, "grandchild");
  Tree->SetFocusedNode(Parent, 0, true);
  Type("*");
  EXPECT_TRUE(Parent->Expanded());
  EXPECT_TRUE(Child->Expanded());
  Type("-");
  EXPECT_FALSE(Parent->Expanded());
  Type("+");
  EXPECT_TRUE(Parent->Expanded());
}

// ---------------------------------------------------------------------------------
// Incremental search

class TreeListSearchTest : public TreeListKeysTest {
 protected:
  void SetUp() override {
    TreeListKeysTest::SetUp();
    Ex(TdxTreeListOptionsEx{aoAutoSearch});
    Names({"Apple", "banana", "Cherry", "bandage", "apricot", "Blueberry"});
    Tree->SetFocusedNode(Tree->Items(2), 0, true);
    Pump();
  }
};

TEST_F(TreeListSearchTest, TypedLettersFindTheFirstMatchDownwardInAnyCase) {
  Type("B");
  EXPECT_TRUE(Tree->Searching());
  EXPECT_EQ(Focused(), "bandage");
  Type("L");
  EXPECT_EQ(Focused(), "Blueberry");
  EXPECT_EQ(Tree->SearchText(), "BL");
  // A third letter that matches nothing is dropped; the focus stays.
  Type("x");
  EXPECT_EQ(Focused(), "Blueberry");
  EXPECT_EQ(Tree->SearchText(), "BL");
  // The paint reads the search through its hook.
  int Column = -1;
  AnsiString Text;
  EXPECT_TRUE(Tree->GetSearchState(Column, Text));
  EXPECT_EQ(Column, 0);
  EXPECT_EQ(Text, "BL");
}

TEST_F(TreeListSearchTest, CtrlAndShiftEnterStepThroughTheMatchesWrapping) {
  Type("a");
  EXPECT_EQ(Focused(), "apricot");
  Key(VK_RETURN, {VK_CONTROL});
  EXPECT_EQ(Focused(), "Apple");
  Key(VK_RETURN, {VK_CONTROL});
  EXPECT_EQ(Focused(), "apricot");
  Key(VK_RETURN, {VK_SHIFT});
  EXPECT_EQ(Focused(), "Apple");
  Key(VK_RETURN, {VK_SHIFT});
  EXPECT_EQ(Focused(), "apricot");
  // Backspace widens the search again; Delete empties it.
  Type("p");
  EXPECT_EQ(Tree->SearchText(), "ap");
  Key(VK_BACK);
  EXPECT_EQ(Tree->SearchText(), "a");
  Key(VK_DELETE);
  EXPECT_EQ(Tree->SearchText(), "");
  EXPECT_TRUE(Tree->Searching());
}

TEST_F(TreeListSearchTest, EscapeEndsTheSearchInPlaceAndAFocusMoveEndsItToo) {
  Type("ch");
  EXPECT_EQ(Focused(), "Cherry");
  Key(VK_ESCAPE);
  EXPECT_FALSE(Tree->Searching());
  EXPECT_EQ(Focused(), "Cherry");
  int Column = -1;
  AnsiString Text;
  EXPECT_FALSE(Tree->GetSearchState(Column, Text));

  Type("b");
  EXPECT_TRUE(Tree->Searching());
  Key(VK_DOWN);
  EXPECT_FALSE(Tree->Searching());
  // Switching the option off ends a running search.
  Type("a");
  ASSERT_TRUE(Tree->Searching());
  TdxTreeListOptionsEx O = Tree->OptionsEx();
  O.Exclude(aoAutoSearch);
  Tree->SetOptionsEx(O);
  EXPECT_FALSE(Tree->Searching());
}

// A handler refuses the expansion MakeVisible asks for: the focused node is no row.
class TRefuseExpanding : public TObject {
 public:
  void Expanding(TObject* /*Sender*/, TdxTreeListNode* /*Node*/, bool& Allow) { Allow = false; }
};

TEST_F(TreeListSearchTest, ASearchFromAHiddenFocusedNodeEnds) {
  TdxTreeListNode* Hidden = Node(Tree->Items(0), "hidden");
  auto* Refuse = Keep(NewObject<TRefuseExpanding>());
  Tree->OnExpanding = TTLExpandingEvent::Bind<&TRefuseExpanding::Expanding>(Refuse);
  Tree->SetFocusedNode(Hidden, 0, true);
  ASSERT_FALSE(Tree->Items(0)->Expanded());
  TdxTreeListNode* Found = nullptr;
  EXPECT_FALSE(Tree->FindNode(0, "zz", Found, 0));
  EXPECT_FALSE(Tree->FindNode(0, "zz", Found, 1));
  EXPECT_FALSE(Tree->FindNode(0, "zz", Found, 2));
  EXPECT_TRUE(Tree->FindNode(0, "CHER", Found, 2));
  EXPECT_EQ(Found, Tree->Items(2));
}

// ---------------------------------------------------------------------------------
// Copying and the dialog code

TEST_F(TreeListKeysTest, CtrlInsertCopiesTheHeaderAndTheFocusedRow) {
  TdxTreeListNode* Parent = Node(nullptr, "p", "folder");
  Node(Parent, "c", "file");
  Parent->SetExpanded(true);
  Tree->Columns(2)->SetVisible(false);
  Tree->SetFocusedNode(Parent->Items(0), 0, true);
  Clipboard()->SetAsText("before");
  Key(VK_INSERT, {VK_CONTROL});
  EXPECT_EQ(Clipboard()->AsText(), "Name\tKind\r\n\r\nc\tfile\r\n");

  // All the rows, in tree order.
  TStringList All;
  Tree->CollectAllText(&All);
  ASSERT_EQ(All.Count(), 3);
  EXPECT_EQ(All.Strings(1), "p\tfolder");
  EXPECT_EQ(All.Strings(2), "c\tfile");

  // Ctrl+C copies only with its option.
  Clipboard()->SetAsText("before");
  Type("\x03");
  EXPECT_EQ(Clipboard()->AsText(), "before");
  Ex(TdxTreeListOptionsEx{aoAutoCopySelectedToClipboard});
  Type("\x03");
  EXPECT_EQ(Clipboard()->AsText(), "Name\tKind\r\n\r\nc\tfile\r\n");
}

TEST_F(TreeListKeysTest, DialogCodeWantsArrowsCharsAndTabs) {
  Names({"a"});
  auto Code = [&] { return SendMessageA(Tree->Handle(), WM_GETDLGCODE, 0, 0); };
  EXPECT_EQ(Code(), DLGC_WANTARROWS);
  Ex(TdxTreeListOptionsEx{aoAutoSearch});
  EXPECT_EQ(Code(), DLGC_WANTARROWS | DLGC_WANTCHARS);
  HeldKeys = {VK_MENU};
  EXPECT_EQ(Code(), DLGC_WANTARROWS);
  HeldKeys.clear();
  Options(TdxTreeListOptions{aoEditing, aoTabs});
  HeldKeys = {VK_MENU};
  EXPECT_EQ(Code(), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
  HeldKeys = {VK_CONTROL};
  EXPECT_EQ(Code(), DLGC_WANTARROWS | DLGC_WANTCHARS);
  HeldKeys.clear();
}

TEST_F(TreeListKeysTest, NavigationOperationsFollowTheRows) {
  TdxTreeListNode* Parent = Node(nullptr, "p");
  TdxTreeListNode* Child = Node(Parent, "c");
  TdxTreeListNode* Deep = Node(Child, "d");
  TdxTreeListNode* Last = Node(nullptr, "z");
  TdxTreeListNode* LastChild = Node(Last, "zc");
  EXPECT_EQ(Tree->GetNodeByKind(Last, 0, false), Parent);
  EXPECT_EQ(Tree->GetNodeByKind(Parent, 2, false), Last);
  EXPECT_EQ(Tree->GetNodeByKind(Parent, 2, true), Child);
  EXPECT_EQ(Tree->GetNodeByKind(Last, 1, false), Parent);
  EXPECT_EQ(Tree->GetNodeByKind(Parent, 3, false), Last);
  EXPECT_EQ(Tree->GetNodeByKind(Parent, 3, true), LastChild);
  EXPECT_EQ(Tree->GetNodeByKind(Parent, 7, false), nullptr);
  EXPECT_EQ(Tree->GetNodeByKind(nullptr, 0, false), nullptr);
  (void)Deep;
  Tree->SetFocusedNode(Parent, 0, true);
  EXPECT_TRUE(Tree->IsFirstFocused());
  EXPECT_EQ(Tree->MoveFocusByKind(3, false), Last);
  EXPECT_TRUE(Tree->IsLastFocused());
  EXPECT_FALSE(Tree->IsFirstFocused());
}

}  // namespace

// ---------------------------------------------------------------------------------
// The selection keys of a multi-select tree

class TreeListSelectionKeysTest : public TreeListKeysTest {
 protected:
  void SetUp() override {
    TreeListKeysTest::SetUp();
    Options(TdxTreeListOptions{aoMultiSelect});
    std::vector<const char*> List(30, "row");
    Names(List);
    Tree->SetFocusedRowIndex(5);
    Tree->FocusedNode()->SetSelected(true);
    Pump();
  }
  std::vector<int> SelectedRows() {
    std::vector<int> Rows;
    for (int I = 0; I < Tree->SelectedCount(); ++I)
      Rows.push_back(Tree->GetNodeRowIndex(Tree->SelectedNodes(I)));
    std::sort(Rows.begin(), Rows.end());
    return Rows;
  }
};

TEST_F(TreeListSelectionKeysTest, ShiftDownExtendsAndShiftUpGivesRowsBack) {
  Key(VK_DOWN, {VK_SHIFT});
  Key(VK_DOWN, {VK_SHIFT});
  EXPECT_EQ(Tree->GetFocusedRowIndex(), 7);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{5, 6, 7}));
  Key(VK_UP, {VK_SHIFT});
  EXPECT_EQ(SelectedRows(), (std::vector<int>{5, 6}));
  // Past the anchor the other way.
  Key(VK_UP, {VK_SHIFT});
  Key(VK_UP, {VK_SHIFT});
  EXPECT_EQ(Tree->GetFocusedRowIndex(), 4);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{4, 5}));
  // A plain move clears the selection and selects the row moved onto.
  Key(VK_DOWN);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{5}));
}

TEST_F(TreeListSelectionKeysTest, ShiftEndAndShiftHomeSelectFromTheAnchor) {
  Key(VK_END, {VK_SHIFT});
  EXPECT_EQ(Tree->GetFocusedRowIndex(), 29);
  EXPECT_EQ(Tree->SelectedCount(), 25);
  Key(VK_HOME, {VK_SHIFT});
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // Without Shift the anchor goes: the next range starts from the new focus.
  Key(VK_NEXT);
  const int Row = Tree->GetFocusedRowIndex();
  EXPECT_EQ(SelectedRows(), (std::vector<int>{Row}));
  Key(VK_DOWN, {VK_SHIFT});
  EXPECT_EQ(SelectedRows(), (std::vector<int>{Row, Row + 1}));
}

TEST_F(TreeListSelectionKeysTest, CtrlSpaceTogglesAndCtrlMovesKeepTheSelection) {
  Key(VK_DOWN, {VK_CONTROL});
  Key(VK_DOWN, {VK_CONTROL});
  Key(VK_SPACE, {VK_CONTROL});
  EXPECT_EQ(SelectedRows(), (std::vector<int>{5, 7}));
  Key(VK_SPACE, {VK_CONTROL});
  EXPECT_EQ(SelectedRows(), (std::vector<int>{5}));
  // With aoEditing and no row select the cell editor owns Space.
  Options(TdxTreeListOptions{aoEditing});
  Tree->FocusedNode()->SetSelected(true);
  const std::vector<int> Before = SelectedRows();
  Key(VK_SPACE, {VK_CONTROL});
  EXPECT_EQ(SelectedRows(), Before);
}

TEST_F(TreeListSelectionKeysTest, OneKeyReportsTheCountOnce) {
  TChangeCounter Changes;
  Tree->OnSelectedCountChange = Changes.Event();
  Key(VK_END, {VK_SHIFT});
  EXPECT_EQ(Changes.Count, 1);
}

TEST_F(TreeListSelectionKeysTest, CtrlInsertCopiesTheSelectedRowsInTreeOrder) {
  // Nodes of different parents share the selection.
  Options(TdxTreeListOptions{aoExtMultiSelect});
  Tree->ClearNodes();
  TdxTreeListNode* A = Node(nullptr, "a", "1");
  TdxTreeListNode* B = Node(nullptr, "b", "2");
  TdxTreeListNode* A1 = Node(A, "a1", "3");
  A->SetExpanded(true);
  Tree->SetFocusedNode(B, 0, true);
  B->SetSelected(true);
  A1->SetSelected(true);
  A->SetSelected(true);
  Key(VK_INSERT, {VK_CONTROL});
  EXPECT_EQ(Clipboard()->AsText(),
            "Name\tKind\tSize\r\n\r\na\t1\t\r\na1\t3\t\r\nb\t2\t\r\n");
}

// ---------------------------------------------------------------------------------
// The editing hooks the keys call

class TEditorLogTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  std::vector<std::string> Calls;
  bool Shown = false;

 protected:
  bool EditorShown() override { return Shown; }
  void ShowEditor() override {
    Calls.push_back("show");
    Shown = true;
  }
  bool ShowEditorWithKey(char Key) override {
    Calls.push_back(std::string("key ") + Key);
    Shown = true;
    return true;
  }
  void EndEdit(bool StoreValue) override {
    if (!Shown) return;
    Calls.push_back(StoreValue ? "store" : "drop");
    Shown = false;
  }
};

class TreeListEditorKeysTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TEditorLogTree>(ShownForm(500, 400));
    Tree->SetBounds(0, 0, 400, 300);
    for (const char* Caption : {"Name", "Kind", "Size"})
      Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetCaption(Caption);
    Tree->SetOptions(TdxTreeListOptions{aoEditing});
    Tree->HandleNeeded();
    for (const char* Name : {"a", "b", "c"}) Tree->Add()->SetStrings(0, Name);
    Tree->SetFocusedNode(Tree->Items(0), 0, true);
    Pump();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  void Key(Word VirtKey) { SendMessageA(Tree->Handle(), WM_KEYDOWN, VirtKey, 1); }
  void Char(char C) { SendMessageA(Tree->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1); }
  TEditorLogTree* Tree = nullptr;
};

TEST_F(TreeListEditorKeysTest, KeysOpenAndCloseTheEditor) {
  Key(VK_F2);
  EXPECT_EQ(Tree->Calls, (std::vector<std::string>{"show"}));
  // Down posts the value and moves on; Escape closes it and does nothing more.
  Key(VK_DOWN);
  EXPECT_EQ(Tree->Calls.back(), "store");
  EXPECT_EQ(Tree->FocusedNode(), Tree->Items(1));
  Key(VK_F2);
  Key(VK_ESCAPE);
  EXPECT_FALSE(Tree->Shown);
  EXPECT_EQ(Tree->FocusedNode(), Tree->Items(1));

  // Enter moves to the next tab stop and opens the editor with aoEnterThrough and
  // aoEnterShowEditor; at the last column it goes on to the next row's first.
  Tree->Calls.clear();
  TdxTreeListOptionsEx Ex = Tree->OptionsEx();
  Ex.Include(aoEnterThrough);
  Ex.Include(aoEnterShowEditor);
  Tree->SetOptionsEx(Ex);
  Tree->SetFocusedColumn(2);
  Key(VK_RETURN);
  EXPECT_EQ(Tree->FocusedNode(), Tree->Items(2));
  EXPECT_EQ(Tree->FocusedColumn(), 0);
  EXPECT_EQ(Tree->Calls, (std::vector<std::string>{"show"}));

  // A typed character opens the editor and goes to it.
  Tree->Calls.clear();
  Tree->Shown = false;
  Char('x');
  EXPECT_EQ(Tree->Calls, (std::vector<std::string>{"key x"}));
  // An input method's composition opens it too.
  Tree->Calls.clear();
  Tree->Shown = false;
  SendMessageA(Tree->Handle(), WM_IME_STARTCOMPOSITION, 0, 0);
  EXPECT_EQ(Tree->Calls, (std::vector<std::string>{"show"}));
  // There is no designer: its hit test never gives the mouse to the control.
  EXPECT_EQ(SendMessageA(Tree->Handle(), CM_DESIGNHITTEST, 0, 0), 0);
}
