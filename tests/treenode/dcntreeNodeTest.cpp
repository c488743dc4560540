#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "classlib/ImgList.h"
#include "classlib/ModuleInit.h"
#include "classlib/TypInfo.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"
#include "treenode/dcntree.h"
#include "treenode/dcntree_Tree.h"

using namespace uitest;

namespace {

// Records the tree's events.
struct TTreeEvents : TObject {
  std::vector<TDCTreeNode*> Changes;
  std::vector<TDCTreeNode*> StateChanges;
  void Change(TObject*, TDCTreeNode* Node) { Changes.push_back(Node); }
  void StateChanged(TObject*, TDCTreeNode* Node) { StateChanges.push_back(Node); }
  TEditAction EditAnswer = eaAccept;
  AnsiString EditReplacement;
  std::vector<TDCTreeNode*> Cancelled;
  void Edited(TObject*, TDCTreeNode*, AnsiString& Text, TEditAction& Action) {
    Action = EditAnswer;
    if (!EditReplacement.empty()) Text = EditReplacement;
  }
  void EditCancelled(TObject*, TDCTreeNode* Node) { Cancelled.push_back(Node); }
  // Orders nodes by the number in their data pointer.
  void CompareKeys(TObject*, TDCTreeNode* A, TDCTreeNode* B, void*, int& Result) {
    Result = static_cast<int>(reinterpret_cast<INT_PTR>(A->Data())) -
             static_cast<int>(reinterpret_cast<INT_PTR>(B->Data()));
  }
};

void* Key(int Value) { return reinterpret_cast<void*>(static_cast<INT_PTR>(Value)); }

class TreeTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(300, 200);
    Tree = AddChild<TOwnerTree>(Form);
    Tree->SetBounds(0, 0, 200, 150);
    Tree->HandleNeeded();
    Events = Keep(NewObject<TTreeEvents>());
  }
  TDCTreeNode* Add(TDCTreeNode* Parent, const char* Text) {
    return Tree->Items()->AddChild(Parent, Text);
  }
  std::vector<AnsiString> Children(TDCTreeNode* Holder) {
    std::vector<AnsiString> Result;
    for (TDCTreeNode* C = Holder->FirstChild(); C; C = C->NextSibling()) Result.push_back(C->Text());
    return Result;
  }
  TForm* Form = nullptr;
  TOwnerTree* Tree = nullptr;
  TTreeEvents* Events = nullptr;
};

// ---------------------------------------------------------------------------------
// Moving

TEST_F(TreeTest, MoveToRefusesItselfItsChildAndAnotherTree) {
  TDCTreeNode* A = Add(nullptr, "a");
  TDCTreeNode* A1 = Add(A, "a1");
  ExpectRaises<EInvalidOperation>([&] { A->MoveTo(A, naAdd, false); }, "Invalid operation");
  ExpectRaises<EInvalidOperation>([&] { A->MoveTo(A1, naAddChild, false); },
                                  "Trying move to child");
  ExpectRaises<EInvalidOperation>([&] { A->MoveTo(nullptr, naAddChild, false); },
                                  "Invalid operation");
  TOwnerTree* Other = AddChild<TOwnerTree>(Form);
  TDCTreeNode* B = Other->Items()->AddChild(nullptr, "b");
  ExpectRaises<EInvalidOperation>([&] { A1->MoveTo(B, naAddChild, false); }, "Invalid Node");
  EXPECT_EQ(A1->Parent(), A);
}

TEST_F(TreeTest, MoveToWithoutDestinationInMode4RaisesAndChangesNothing) {
  TDCTreeNode* A = Add(nullptr, "a");
  TDCTreeNode* B = Add(nullptr, "b");
  Add(B, "b1");
  ExpectRaises<EInvalidOperation>([&] { B->MoveTo(nullptr, naInsert, false); },
                                  "Invalid operation");
  EXPECT_EQ(Children(Tree->Root()), (std::vector<AnsiString>{"a", "b"}));
  EXPECT_EQ(B->Holder(), Tree->Root());
  EXPECT_EQ(Tree->Items()->Count(), 3);
  EXPECT_EQ(A->NextSibling(), B);
}

TEST_F(TreeTest, MovesKeepLinksAndCounters) {
  TDCTreeNode* A = Add(nullptr, "a");
  TDCTreeNode* B = Add(nullptr, "b");
  TDCTreeNode* B1 = Add(B, "b1");
  Add(B1, "b11");
  B->Expand(true);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 4);
  B1->MoveTo(A, naAddChildFirst, false);
  EXPECT_EQ(B1->Parent(), A);
  EXPECT_TRUE(A->HasChildren());
  EXPECT_EQ(A->DescendantCount(), 2);
  EXPECT_EQ(B->DescendantCount(), 0);
  EXPECT_FALSE(B->HasChildren());  // its last child left
  EXPECT_EQ(Tree->Root()->VisibleCount(), 2);  // a is collapsed: its rows are hidden
  A->Expand(false);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 4);  // a, b1, b11, b
  B1->MoveTo(A, naInsert, false);
  EXPECT_EQ(Children(Tree->Root()), (std::vector<AnsiString>{"b1", "a", "b"}));
  EXPECT_EQ(B1->Parent(), nullptr);
  EXPECT_EQ(Tree->Root()->DescendantCount(), 4);
  B1->MoveTo(nullptr, naAdd, false);
  EXPECT_EQ(Children(Tree->Root()), (std::vector<AnsiString>{"a", "b", "b1"}));
  EXPECT_EQ(CompareNodePositions(A, B1), -1);
  EXPECT_EQ(CompareNodePositions(B1, A), 1);
}

TEST_F(TreeTest, MovingACheckedRadioNodeUnchecksTheOtherOne) {
  TDCTreeNode* P = Add(nullptr, "p");
  TDCTreeNode* Q = Add(nullptr, "q");
  TDCTreeNode* R1 = Add(P, "r1");
  TDCTreeNode* R2 = Add(Q, "r2");
  TDCTreeNode* R3 = Add(P, "r3");
  for (TDCTreeNode* N : {R1, R2, R3}) N->SetNodeType(ntRadioButton);
  R1->SetState(cbChecked);
  R3->SetState(cbChecked);  // checking a sibling unchecks the first
  EXPECT_EQ(R1->State(), cbUnchecked);
  EXPECT_EQ(P->CheckedRadioChild(), R3);
  R2->SetState(cbChecked);
  R2->MoveTo(P, naAddChild, false);
  EXPECT_EQ(R3->State(), cbUnchecked);
  EXPECT_EQ(P->CheckedRadioChild(), R2);
  EXPECT_EQ(Q->CheckedRadioChild(), nullptr);
  R2->SetState(cbGrayed);  // a radio node is never grayed
  EXPECT_EQ(R2->State(), cbChecked);
}

// ---------------------------------------------------------------------------------
// Sorting

TEST_F(TreeTest, SortingKeepsTheOrderOfEqualKeys) {
  Tree->OnCompare = TDCCompareEvent::Bind<&TTreeEvents::CompareKeys>(Events);
  TDCTreeNode* P = Add(nullptr, "p");
  Tree->Items()->BeginUpdate();
  const int N = 1000;
  for (int I = 0; I < N; ++I) {
    TDCTreeNode* C = Add(P, std::to_string(I).c_str());
    C->SetData(Key((I * 7) % 10));
  }
  Tree->Items()->EndUpdate();
  EXPECT_TRUE(P->CustomSort(nullptr, nullptr));
  int Count = 0, LastKey = -1, LastIndex = -1;
  for (TDCTreeNode* C = P->FirstChild(); C; C = C->NextSibling(), ++Count) {
    int K = static_cast<int>(reinterpret_cast<INT_PTR>(C->Data()));
    int Index = std::stoi(C->Text());
    ASSERT_GE(K, LastKey);
    if (K == LastKey) {
      ASSERT_GT(Index, LastIndex) << "equal keys left their order";
    }
    LastKey = K;
    LastIndex = Index;
    if (C->NextSibling()) {
      ASSERT_EQ(C->NextSibling()->PrevSibling(), C);
    }
  }
  EXPECT_EQ(Count, N);
  EXPECT_EQ(P->LastChild()->NextSibling(), nullptr);
}

TEST_F(TreeTest, ASortedTreeKeepsNewAndRenamedNodesInOrder) {
  Tree->SetSortedByText(true);
  Add(nullptr, "m");
  Add(nullptr, "c");
  TDCTreeNode* X = Add(nullptr, "x");
  EXPECT_EQ(Children(Tree->Root()), (std::vector<AnsiString>{"c", "m", "x"}));
  X->SetText("a");
  EXPECT_EQ(Children(Tree->Root()), (std::vector<AnsiString>{"a", "c", "m"}));
}

// ---------------------------------------------------------------------------------
// Check states

TEST_F(TreeTest, AnAutoCheckParentIsGrayedWhileItsCheckBoxesDiffer) {
  Tree->SetAutoCheck(true);
  Tree->OnStateChanged = TDCNodeEvent::Bind<&TTreeEvents::StateChanged>(Events);
  TDCTreeNode* P = Add(nullptr, "p");
  TDCTreeNode* C1 = Add(P, "c1");
  TDCTreeNode* C2 = Add(P, "c2");
  TDCTreeNode* Plain = Add(P, "plain");
  for (TDCTreeNode* N : {P, C1, C2}) N->SetNodeType(ntCheckBox);
  C1->SetState(cbChecked);
  EXPECT_EQ(P->State(), cbGrayed);
  C2->SetState(cbChecked);
  EXPECT_EQ(P->State(), cbChecked);
  P->SetState(cbUnchecked);  // pushed down to every descendant
  EXPECT_EQ(C1->State(), cbUnchecked);
  EXPECT_EQ(C2->State(), cbUnchecked);
  EXPECT_EQ(Plain->State(), cbUnchecked);
  EXPECT_FALSE(Events->StateChanges.empty());
  P->SetAllowGrayed(true);
  C1->SetState(cbChecked);
  EXPECT_EQ(P->State(), cbGrayed);
  P->SetAllowGrayed(false);  // a grayed state does not outlive AllowGrayed
  EXPECT_EQ(P->State(), cbUnchecked);
}

// Notes the state events as "Node:changing=State" and "Node:changed"; a node named in
// Refused keeps its state through its state-changing event.
struct TStateEventLog : TObject {
  std::vector<std::string> Lines;
  std::vector<TDCTreeNode*> Refused;
  void Changing(TObject*, TDCTreeNode* Node, TCheckBoxState& State) {
    Lines.push_back(Node->Text() + ":changing=" + std::to_string(State));
    for (TDCTreeNode* R : Refused)
      if (R == Node) State = Node->State();
  }
  void Changed(TObject*, TDCTreeNode* Node) { Lines.push_back(Node->Text() + ":changed"); }
};

// The passes of auto-check set every other node through its setter: each node hears
// its state-changing event before the change, which it may alter, and its
// state-changed event after its own passes.
TEST_F(TreeTest, AutoCheckPassesFireEveryNodesStateEventsInTheSettersOrder) {
  Tree->SetAutoCheck(true);
  TStateEventLog* Log = Keep(NewObject<TStateEventLog>());
  Tree->OnStateChanging = TDCStateChangingEvent::Bind<&TStateEventLog::Changing>(Log);
  Tree->OnStateChanged = TDCNodeEvent::Bind<&TStateEventLog::Changed>(Log);
  TDCTreeNode* R = Add(nullptr, "r");
  TDCTreeNode* A = Add(R, "a");
  TDCTreeNode* A1 = Add(A, "a1");
  TDCTreeNode* A2 = Add(A, "a2");
  TDCTreeNode* B = Add(R, "b");
  TDCTreeNode* B1 = Add(B, "b1");
  for (TDCTreeNode* N : {R, A, A1, A2, B, B1}) N->SetNodeType(ntCheckBox);

  // Down: each node before its subtree, each one's change told after its subtree's.
  R->SetState(cbChecked);
  EXPECT_EQ(Log->Lines, (std::vector<std::string>{
                            "r:changing=1", "a:changing=1", "a1:changing=1", "a1:changed",
                            "a2:changing=1", "a2:changed", "a:changed", "b:changing=1",
                            "b1:changing=1", "b1:changed", "b:changed", "r:changed"}));

  // Up: each ancestor hears its new state before its own parent does, and its change is
  // told after its parent's.
  Log->Lines.clear();
  A1->SetState(cbUnchecked);
  EXPECT_EQ(Log->Lines, (std::vector<std::string>{"a1:changing=0", "a:changing=2", "r:changing=2",
                                                 "r:changed", "a:changed", "a1:changed"}));
  EXPECT_EQ(A->State(), cbGrayed);
  EXPECT_EQ(R->State(), cbGrayed);

  // An ancestor whose state stays hears its changing event, and the pass ends there.
  Log->Lines.clear();
  A2->SetState(cbUnchecked);
  EXPECT_EQ(Log->Lines, (std::vector<std::string>{"a2:changing=0", "a:changing=0", "r:changing=2",
                                                 "a:changed", "a2:changed"}));

  // A node that refuses the change in its event keeps its subtree as it was.
  Log->Lines.clear();
  Log->Refused = {B};
  R->SetState(cbUnchecked);
  EXPECT_EQ(Log->Lines, (std::vector<std::string>{"r:changing=0", "a:changing=0", "b:changing=0",
                                                 "r:changed"}));
  EXPECT_EQ(B->State(), cbChecked);
  EXPECT_EQ(B1->State(), cbChecked);
}

// ---------------------------------------------------------------------------------
// Focus, timers, measuring, tooltips

TEST_F(TreeTest, ADelayedFocusChangeFiresOnItsTimer) {
  Tree->OnChange = TDCNodeEvent::Bind<&TTreeEvents::Change>(Events);
  TDCTreeNode* A = Add(nullptr, "a");
  TDCTreeNode* B = Add(nullptr, "b");
  Tree->SetFocusedNode(A);
  EXPECT_EQ(Events->Changes, std::vector<TDCTreeNode*>{A});
  Tree->SetChangeDelay(20);
  Tree->SetFocusedNode(B);
  EXPECT_EQ(Events->Changes.size(), 1u);
  EXPECT_TRUE(Tree->TimerRunning(ChangeTimerId));
  EXPECT_TRUE(B->Selected());
  EXPECT_FALSE(A->Selected());
  EXPECT_TRUE(PumpUntil([&] { return Events->Changes.size() == 2; }));
  EXPECT_EQ(Events->Changes.back(), B);
  EXPECT_FALSE(Tree->TimerRunning(ChangeTimerId));
}

// Answers the measuring message with a fixed height, or declines with 0.
class TMeasurer : public TCustomControl {
 public:
  explicit TMeasurer(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Answer = 0;
  AnsiString Seen;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_MEASURENODE) {
      auto* Record = reinterpret_cast<TNodeMeasureRecord*>(Message.WParam);
      Seen = Record->Text;
      if (Answer) *Record->Result = Answer;
      Message.Result = Answer != 0;
      return;
    }
    TCustomControl::Dispatch(Message);
  }
};

TEST_F(TreeTest, AMeasuringWindowsAnswerIsTheHeightAndNoAnswerGivesNodeHeightPlus2) {
  TMeasurer* M = AddChild<TMeasurer>(Form);
  TDCTreeNode* A = Add(nullptr, "measured");
  Tree->SetMeasureWindow(M->Handle());
  M->Answer = 33;
  A->InvalidateSizes();
  EXPECT_EQ(A->Height(), 33);
  EXPECT_EQ(M->Seen, "measured");
  M->Answer = 0;
  A->InvalidateSizes();
  EXPECT_EQ(A->Height(), Tree->NodeHeight(A, "measured") + 2);
  EXPECT_EQ(Tree->NodeHeight(A, "measured"), GetFontHeight(Tree->Font()));
}

TEST(TreeWithoutWindowTest, ANodeHasHeight0AndNothingIsCached) {
  TOwned<TOwnerTree> Tree(NewObject<TOwnerTree>(nullptr));
  TDCTreeNode* A = Tree->Items()->AddChild(nullptr, "a");
  EXPECT_EQ(A->Height(), 0);
  EXPECT_EQ(A->Width(), 0);
  EXPECT_FALSE(Tree->HandleAllocated());
}

TEST_F(TreeTest, AClippedNodeGetsItsTooltipToolAndANodeThatFitsNone) {
  TDCTreeNode* Short = Add(nullptr, "ab");
  TDCTreeNode* Long = Add(nullptr, "a text far wider than the two hundred pixels of the tree");
  ASSERT_TRUE(ToolTipAllocated(*Tree));
  Tree->UpdateNodeToolTip(Short);
  EXPECT_EQ(SendMessageA(Tree->ToolTipHandle(), TTM_GETTOOLCOUNT, 0, 0), 0);
  EXPECT_EQ(Tree->TipNode(), nullptr);
  Tree->UpdateNodeToolTip(Long);
  EXPECT_EQ(Tree->TipNode(), Long);
  char Text[128] = {};
  TOOLINFOA Info{};
  Info.cbSize = ToolInfoSize;
  Info.hwnd = Tree->Handle();
  Info.uId = 1;
  Info.lpszText = Text;
  ASSERT_TRUE(SendMessageA(Tree->ToolTipHandle(), TTM_GETTOOLINFOA, 0,
                           reinterpret_cast<LPARAM>(&Info)));
  EXPECT_STREQ(Text, Long->Text().c_str());
  EXPECT_TRUE(Info.uFlags & TTF_SUBCLASS);
  TRect TextRect = Long->GetPartRect(npText);
  EXPECT_EQ(Info.rect.left, TextRect.left + 2 - (GetSystemMetrics(SM_CXBORDER) + 2));
  EXPECT_EQ(Info.rect.right, Tree->ClientWidth());  // clipped to the tree
  EXPECT_LE(Info.rect.bottom, Tree->ClientHeight());
  EXPECT_EQ(SendMessageA(Tree->ToolTipHandle(), TTM_GETMAXTIPWIDTH, 0, 0),
            Info.rect.right - Info.rect.left + 2 * GetSystemMetrics(SM_CXBORDER));
}

// ---------------------------------------------------------------------------------
// Editing

TEST_F(TreeTest, AnEditEndsByTheAnswerOfTheEditedEvent) {
  Tree->OnEdited = TDCEditedEvent::Bind<&TTreeEvents::Edited>(Events);
  Tree->OnEditCancelled = TDCNodeEvent::Bind<&TTreeEvents::EditCancelled>(Events);
  TDCTreeNode* A = Add(nullptr, "old");
  auto Type = [&](const char* Text) {
    SetWindowTextA(Tree->EditHandle(), Text);
    SendMessageA(Tree->EditHandle(), EM_SETMODIFY, TRUE, 0);
  };
  Tree->EditNode(A);
  ASSERT_NE(Tree->EditHandle(), nullptr);
  Type("typed");
  Events->EditAnswer = eaKeepEditing;
  Events->EditReplacement = "fixed";
  Tree->EndEdit(false);  // the edit stays open with the handler's text
  EXPECT_EQ(Tree->EditedNode(), A);
  char Text[32] = {};
  GetWindowTextA(Tree->EditHandle(), Text, sizeof(Text));
  EXPECT_STREQ(Text, "fixed");
  EXPECT_EQ(A->Text(), "old");
  Events->EditAnswer = eaAccept;
  Events->EditReplacement.clear();
  Tree->EndEdit(false);
  EXPECT_EQ(A->Text(), "fixed");
  EXPECT_EQ(Tree->EditHandle(), nullptr);
  Tree->EditNode(A);
  Type("dropped");
  Events->EditAnswer = eaCancel;
  Tree->EndEdit(false);
  EXPECT_EQ(A->Text(), "fixed");
  EXPECT_EQ(Events->Cancelled, std::vector<TDCTreeNode*>{A});
  A->SetReadOnly(true);
  Tree->EditNode(A);
  EXPECT_EQ(Tree->EditHandle(), nullptr);
}

// A node text too long for the system to make a window with (32,767 characters or
// more) is edited whole, and an edit accepted unchanged keeps it.
TEST_F(TreeTest, ANodeTextPastTheCaptionLimitIsEditedWhole) {
  Tree->OnEdited = TDCEditedEvent::Bind<&TTreeEvents::Edited>(Events);
  const std::string Long(40000, 'x');
  TDCTreeNode* A = Add(nullptr, Long.c_str());
  Tree->EditNode(A);
  ASSERT_NE(Tree->EditHandle(), nullptr);
  EXPECT_EQ(GetWindowTextLengthA(Tree->EditHandle()), 40000);
  // The edit ends at the tree's right edge and scrolls its text there: one as wide as
  // the whole text (some 200,000 pixels) takes the system's edit control about a
  // minute to scroll to its caret.
  RECT Edit;
  GetWindowRect(Tree->EditHandle(), &Edit);
  MapWindowPoints(nullptr, Tree->Handle(), reinterpret_cast<POINT*>(&Edit), 2);
  EXPECT_LE(Edit.right, Tree->ClientWidth());
  EXPECT_GE(Edit.right - Edit.left, 40);
  Events->EditAnswer = eaAccept;
  Tree->EndEdit(false);
  EXPECT_TRUE(A->Text() == Long);
}

TEST_F(TreeTest, TheMouseOverAClippedRowShowsItsTipAndMarksItHot) {
  Tree->SetHotTrackEnabled(true);
  TDCTreeNode* Short = Add(nullptr, "ab");
  TDCTreeNode* Long = Add(nullptr, "a text far wider than the two hundred pixels of the tree");
  TRect Row = Long->GetPartRect(npText);
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Row.left + 3, Row.top + 2));
  EXPECT_EQ(Tree->TipNode(), Long);
  EXPECT_EQ(Tree->HotNode(), Long);
  EXPECT_TRUE(Long->Hot());
  TRect ShortRow = Short->GetPartRect(npText);
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(ShortRow.left + 3, ShortRow.top + 2));
  EXPECT_EQ(Tree->TipNode(), nullptr);
  EXPECT_EQ(Tree->HotNode(), Short);
  EXPECT_FALSE(Long->Hot());
}

TEST_F(TreeTest, ScrollingALineMovesTheRowsUp) {
  for (int I = 0; I < 30; ++I) Add(nullptr, ("row " + std::to_string(I)).c_str());
  TDCTreeNode* Second = Tree->Root()->FirstChild()->NextSibling();
  PaintNow(Tree);
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  PaintNow(Tree);
  EXPECT_EQ(Tree->TopNode(), Second);
  EXPECT_EQ(Tree->NodeTop(Second), 0);
  EXPECT_EQ(Tree->NodeAt(5, 1), Second);
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(Tree->TopNode(), Tree->Root()->FirstChild());
}

// ---------------------------------------------------------------------------------
// Freeing

TEST_F(TreeTest, AFreedNodeLeavesNoReferenceInTheTree) {
  Tree->SetMultiSelect(true);
  TDCTreeNode* P = Add(nullptr, "p");
  TDCTreeNode* Gone = Add(P, "gone");
  TDCTreeNode* Stay = Add(P, "stay");
  P->Expand(false);
  Gone->SetNodeType(ntRadioButton);
  Gone->SetState(cbChecked);
  Tree->SetFocusedNode(Gone);
  Tree->SetAnchorNode(Gone);
  Tree->SetDropTarget(Gone);
  Tree->SetHotTrackEnabled(true);
  Gone->SetHot(true);
  Tree->StartDelayedAction(Gone, 100000);
  Tree->EditNode(Gone);
  ASSERT_EQ(Tree->EditedNode(), Gone);
  ASSERT_EQ(P->CheckedRadioChild(), Gone);
  Gone->Free();
  EXPECT_EQ(Tree->FocusedNode(), nullptr);
  EXPECT_EQ(Tree->AnchorNode(), nullptr);
  EXPECT_EQ(Tree->DropTarget(), nullptr);
  EXPECT_EQ(Tree->HotNode(), nullptr);
  EXPECT_EQ(Tree->EditedNode(), nullptr);
  EXPECT_EQ(Tree->EditHandle(), nullptr);
  EXPECT_EQ(Tree->DelayedNode(), nullptr);
  EXPECT_FALSE(Tree->TimerRunning(DelayedActionTimerId));
  EXPECT_TRUE(Tree->Selection().empty());
  EXPECT_EQ(P->CheckedRadioChild(), nullptr);
  EXPECT_EQ(P->FirstChild(), Stay);
  EXPECT_EQ(P->Count(), 1);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 2);
}

TEST_F(TreeTest, ClearFreesEveryNodeAndResetsTheRows) {
  TDCTreeNode* A = Add(nullptr, "a");
  Add(A, "a1");
  A->Expand(false);
  Tree->SetFocusedNode(A);
  Tree->Items()->Clear();
  EXPECT_EQ(Tree->Items()->Count(), 0);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 0);
  EXPECT_EQ(Tree->Root()->FirstChild(), nullptr);
  EXPECT_EQ(Tree->TopNode(), nullptr);
  EXPECT_EQ(Tree->FocusedNode(), nullptr);
  EXPECT_EQ(Tree->ContentWidth(), 0);
  PaintNow(Tree);
}

TEST_F(TreeTest, FreeingTheTopNodeMovesTheTopToTheNextRow) {
  TDCTreeNode* A = Add(nullptr, "a");
  TDCTreeNode* B = Add(nullptr, "b");
  ASSERT_EQ(Tree->TopNode(), A);
  A->Free();
  EXPECT_EQ(Tree->TopNode(), B);
}

// ---------------------------------------------------------------------------------
// Scroll bars

TEST_F(TreeTest, TheVerticalBarCountsTheVisibleRows) {
  Tree->Items()->BeginUpdate();
  for (int I = 0; I < 50; ++I) Add(nullptr, ("row " + std::to_string(I)).c_str());
  Tree->Items()->EndUpdate();
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Tree->Handle(), SB_VERT, &Info));
  EXPECT_EQ(Info.nMax, 49);
  int Row = GetFontHeight(Tree->Font());
  RECT Client;
  GetClientRect(Tree->Handle(), &Client);
  EXPECT_EQ(static_cast<int>(Info.nPage), Client.bottom / Row);
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Tree->TopNode(), Tree->Root()->FirstChild()->NextSibling());
  EXPECT_EQ(Tree->GetScrollPosition(SB_VERT, false), 1);
  Tree->SetFlatScrollBars(true);  // the flat functions drive the same bars
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  Info.fMask = SIF_POS;
  GetScrollInfo(Tree->Handle(), SB_VERT, &Info);
  EXPECT_EQ(Info.nPos, 2);
}

// With its option off a bar never shows and takes no room: the other bar's page is
// measured on the whole client area.
TEST_F(TreeTest, EitherScrollBarOptionOffKeepsThatBarHiddenAndTheOtherShown) {
  auto Style = [&] { return GetWindowLongA(Tree->Handle(), GWL_STYLE); };
  auto Page = [&](int Bar) {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_ALL;
    GetScrollInfo(Tree->Handle(), Bar, &Info);
    return static_cast<int>(Info.nPage);
  };
  EXPECT_TRUE(Tree->ShowHorzScrollBar());
  EXPECT_TRUE(Tree->ShowVertScrollBar());
  Tree->Items()->BeginUpdate();
  Add(nullptr, "a row far wider than the two hundred pixels of the tree, and wider still");
  for (int I = 0; I < 40; ++I) Add(nullptr, ("row " + std::to_string(I)).c_str());
  Tree->Items()->EndUpdate();
  ASSERT_TRUE(Style() & WS_HSCROLL);
  ASSERT_TRUE(Style() & WS_VSCROLL);
  const int Row = GetFontHeight(Tree->Font());

  Tree->SetShowHorzScrollBar(false);
  EXPECT_FALSE(Style() & WS_HSCROLL);
  EXPECT_TRUE(Style() & WS_VSCROLL);
  EXPECT_EQ(Page(SB_VERT), Tree->ClientHeight() / Row);
  Add(nullptr, "one more");  // a later layout keeps it hidden
  SendMessageA(Tree->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  Tree->SetBounds(0, 0, 190, 140);
  EXPECT_FALSE(Style() & WS_HSCROLL);
  EXPECT_TRUE(Style() & WS_VSCROLL);
  EXPECT_EQ(Tree->GetScrollPosition(SB_VERT, false), 1);

  Tree->SetShowHorzScrollBar(true);
  EXPECT_TRUE(Style() & WS_HSCROLL);
  Tree->SetShowVertScrollBar(false);
  EXPECT_FALSE(Style() & WS_VSCROLL);
  EXPECT_TRUE(Style() & WS_HSCROLL);
  EXPECT_EQ(Page(SB_HORZ), Tree->ClientWidth());
  Tree->Items()->Clear();
  Add(nullptr, "a row far wider than the two hundred pixels of the tree, and wider still");
  for (int I = 0; I < 40; ++I) Add(nullptr, "more");
  EXPECT_FALSE(Style() & WS_VSCROLL);
  EXPECT_TRUE(Style() & WS_HSCROLL);

  // A tree made with the option off never shows the bar, even the first time.
  TOwnerTree* Other = AddChild<TOwnerTree>(Form);
  Other->SetShowVertScrollBar(false);
  Other->SetBounds(0, 0, 100, 60);
  for (int I = 0; I < 20; ++I) Other->Items()->AddChild(nullptr, "r");
  Other->HandleNeeded();
  EXPECT_FALSE(GetWindowLongA(Other->Handle(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(TreeTest, ExpandAndCollapseOfManyChildrenKeepTheCounters) {
  TDCTreeNode* P = Add(nullptr, "p");
  Tree->Items()->BeginUpdate();
  for (int I = 0; I < 20000; ++I) Add(P, "c");
  Tree->Items()->EndUpdate();
  P->Expand(false);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 20001);
  TDCTreeNode* Q = Add(nullptr, "q");
  P->MoveTo(Q, naAddChild, false);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 1);  // q is collapsed
  Q->Expand(false);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 20002);
  Q->Collapse(true);
  EXPECT_EQ(Tree->Root()->VisibleCount(), 1);
  EXPECT_FALSE(P->Expanded());
  EXPECT_EQ(Tree->Root()->DescendantCount(), 20002);
}

// ---------------------------------------------------------------------------------
// Painting and streaming

// The dark pixels (all channels below 0x40) of a rectangle of the window on screen.
int DarkPixels(HWND Window, const TRect& R) {
  int Count = 0;
  HDC DC = GetDC(Window);
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X) {
      COLORREF C = GetPixel(DC, X, Y);
      if (GetRValue(C) < 0x40 && GetGValue(C) < 0x40 && GetBValue(C) < 0x40) ++Count;
    }
  ReleaseDC(Window, DC);
  return Count;
}

TEST_F(TreeTest, RowsPaintTheirCheckBoxesAndTheSelectedTextOnTheHighlight) {
  TDCTreeNode* A = Add(nullptr, "alpha");
  TDCTreeNode* B = Add(nullptr, "beta");
  A->SetNodeType(ntCheckBox);
  B->SetNodeType(ntCheckBox);
  A->SetState(cbChecked);
  Tree->SetFocusedNode(B);
  PaintNow(Tree);
  TRect BoxA = A->GetPartRect(npCheckBox), BoxB = B->GetPartRect(npCheckBox);
  TRect InnerA{BoxA.left + 5, BoxA.top + 3, BoxA.right - 5, BoxA.bottom - 3};
  TRect InnerB{BoxB.left + 5, BoxB.top + 3, BoxB.right - 5, BoxB.bottom - 3};
  EXPECT_GT(DarkPixels(Tree->Handle(), InnerA), 0);  // the check mark
  EXPECT_EQ(DarkPixels(Tree->Handle(), InnerB), 0);
  TRect TextB = B->GetPartRect(npText);
  EXPECT_EQ(ScreenPixel(Tree->Handle(), TextB.right - 1, (TextB.top + TextB.bottom) / 2),
            static_cast<COLORREF>(ColorToRGB(clHighlight)));
  TRect TextA = A->GetPartRect(npText);
  EXPECT_EQ(ScreenPixel(Tree->Handle(), TextA.right - 1, (TextA.top + TextA.bottom) / 2),
            static_cast<COLORREF>(ColorToRGB(clWindow)));
}

// The pixels of a colour in a rectangle of the window on screen.
int PixelsOf(HWND Window, const TRect& R, TColor Color) {
  const COLORREF Wanted = ColorToRGB(Color);
  int Count = 0;
  HDC DC = GetDC(Window);
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X)
      if (GetPixel(DC, X, Y) == Wanted) ++Count;
  ReleaseDC(Window, DC);
  return Count;
}

// Adds a Width x Height image of Color to List; with Corner only its top-left 4 x 4
// pixels are Color and the rest is transparent.
void AddPicture(TCustomImageList* List, TColor Color, bool Corner = false) {
  const int W = List->Width(), H = List->Height();
  TOwned<TBitmap> Picture(NewObject<TBitmap>(W, H));
  Picture->Canvas()->Brush()->SetColor(Corner ? clFuchsia : Color);
  Picture->Canvas()->FillRect(Rect(0, 0, W, H));
  if (Corner) {
    Picture->Canvas()->Brush()->SetColor(Color);
    Picture->Canvas()->FillRect(Rect(0, 0, 4, 4));
  }
  List->AddMasked(Picture.get(), clFuchsia);
}

TEST_F(TreeTest, ImageListsGiveTheRowsTheirImageColumnsAndPictures) {
  ASSERT_GE(GetFontHeight(Tree->Font()), 10);  // the images fit in a row
  TImageList* Images = NewObject<TImageList>(Form);
  Images->SetSize(12, 10);  // wider than high
  AddPicture(Images, clRed);
  AddPicture(Images, clLime);
  AddPicture(Images, clYellow, true);
  ASSERT_TRUE(Images->Overlay(2, 0));
  TImageList* States = NewObject<TImageList>(Form);
  States->SetSize(8, 8);
  AddPicture(States, clAqua);
  AddPicture(States, clBlue);
  TDCTreeNode* A = Add(nullptr, "alpha, the widest row");
  TDCTreeNode* B = Add(nullptr, "beta");
  A->SetSelectedIndex(1);
  A->SetStateIndex(0);
  const int TextLeft = A->GetPartRect(npText).left;
  const int Content = Tree->ContentWidth();
  EXPECT_EQ(A->StateImageWidth(), 0);
  EXPECT_EQ(A->ImageColumnWidth(), 0);

  // The columns: state image, then image (its width + 3), then the text.
  Tree->SetImages(Images);
  Tree->SetStateImages(States);
  EXPECT_EQ(A->StateImageWidth(), 8);
  EXPECT_EQ(B->StateImageWidth(), 0);  // no state index
  EXPECT_EQ(A->ImageColumnWidth(), 15);
  TRect Check = A->GetPartRect(npCheckBox), State = A->GetPartRect(npStateImage);
  TRect Image = A->GetPartRect(npImage), Text = A->GetPartRect(npText);
  EXPECT_EQ(State.left, Check.right);
  EXPECT_EQ(State.right, State.left + 8);
  EXPECT_EQ(Image.left, State.right);
  EXPECT_EQ(Image.right, Image.left + 15);
  EXPECT_EQ(Text.left, Image.right);
  EXPECT_EQ(Text.left, TextLeft + 8 + 15);
  EXPECT_EQ(B->GetPartRect(npText).left, TextLeft + 15);
  EXPECT_EQ(Tree->ContentWidth(), Content + 8 + 15);

  // A state image that comes or goes re-measures the row; one outside the list is none.
  A->SetStateIndex(-1);
  EXPECT_EQ(Tree->ContentWidth(), Content + 15);
  A->SetStateIndex(0);
  EXPECT_EQ(Tree->ContentWidth(), Content + 8 + 15);
  A->SetStateIndex(5);
  EXPECT_EQ(A->StateImageWidth(), 0);
  EXPECT_EQ(Tree->ContentWidth(), Content + 15);
  A->SetStateIndex(0);

  // Painted: the image, the selected image once selected, the overlay, the state image;
  // an index change repaints its part.
  PaintNow(Tree);
  HWND W = Tree->Handle();
  EXPECT_EQ(PixelsOf(W, State, clAqua), 8 * 8);
  EXPECT_EQ(PixelsOf(W, Image, clRed), 12 * 10);
  Tree->SetFocusedNode(A);
  UpdateWindow(W);
  EXPECT_EQ(PixelsOf(W, Image, clLime), 12 * 10);
  TRect ImageB = B->GetPartRect(npImage);
  B->SetOverlayIndex(0);
  UpdateWindow(W);
  EXPECT_EQ(PixelsOf(W, ImageB, clYellow), 4 * 4);
  EXPECT_EQ(PixelsOf(W, ImageB, clRed), 12 * 10 - 4 * 4);
  B->SetImageIndex(1);
  UpdateWindow(W);
  EXPECT_EQ(PixelsOf(W, ImageB, clLime), 12 * 10 - 4 * 4);
  A->SetStateIndex(1);
  UpdateWindow(W);
  EXPECT_EQ(PixelsOf(W, State, clBlue), 8 * 8);

  // A change of a list re-lays the rows out; a list that goes leaves the tree.
  States->SetSize(10, 10);  // emptied
  EXPECT_EQ(A->GetPartRect(npText).left, TextLeft + 15);
  AddPicture(States, clAqua);
  AddPicture(States, clBlue);
  EXPECT_EQ(A->GetPartRect(npText).left, TextLeft + 10 + 15);
  EXPECT_EQ(Tree->ContentWidth(), Content + 10 + 15);
  Images->Free();
  EXPECT_EQ(Tree->Images(), nullptr);
  EXPECT_EQ(A->GetPartRect(npText).left, TextLeft + 10);
  Tree->SetImages(States);  // one list in both roles
  Tree->SetImages(nullptr);
  States->Free();
  EXPECT_EQ(Tree->StateImages(), nullptr);
  EXPECT_EQ(A->GetPartRect(npText).left, TextLeft);
  EXPECT_EQ(Tree->ContentWidth(), Content);
  PaintNow(Tree);
}

TEST_F(TreeTest, ColourAndFontAreStoredOnlyWhenNotTakenFromTheTree) {
  TDCTreeNode* A = Add(nullptr, "a");
  const TPropInfo* Color = GetPropInfo(A, "Color");
  const TPropInfo* Font = GetPropInfo(A, "Font");
  ASSERT_TRUE(Color && Font);
  EXPECT_FALSE(Color->IsStored(A));
  EXPECT_FALSE(Font->IsStored(A));
  A->SetColor(clRed);
  EXPECT_FALSE(A->ParentColor());
  EXPECT_TRUE(Color->IsStored(A));
  A->Font()->SetHeight(-20);  // a change of the node's own font
  EXPECT_FALSE(A->ParentFont());
  EXPECT_TRUE(Font->IsStored(A));
  A->SetParentFont(true);
  EXPECT_FALSE(Font->IsStored(A));
  SetEnumProp(A, "NodeType", "ntRadioButton");
  SetStrProp(A, "Text", "by name");
  EXPECT_EQ(A->NodeType(), ntRadioButton);
  EXPECT_EQ(A->Text(), "by name");
  EXPECT_EQ(GetOrdProp(A, "OverlayIndex"), -1);
  EXPECT_EQ(GetOrdProp(A, "StateIndex"), -1);
}

TEST_F(TreeTest, AMultiSelectionCanKeepToOneLevel) {
  Tree->SetMultiSelect(true);
  TDCTreeNode* A = Add(nullptr, "a");
  TDCTreeNode* A1 = Add(A, "a1");
  TDCTreeNode* B = Add(nullptr, "b");
  A->SetSelected(true);
  Tree->SetSelectSameLevel(true);
  A1->SetSelected(true);
  EXPECT_FALSE(A1->Selected());
  B->SetSelected(true);
  EXPECT_EQ(Tree->Selection(), (std::vector<TDCTreeNode*>{A, B}));
  Tree->SetSelectSameLevel(false);
  A1->SetSelected(true);
  EXPECT_TRUE(A1->Selected());
  B->SetSelected(false);
  EXPECT_EQ(Tree->Selection(), (std::vector<TDCTreeNode*>{A, A1}));
}

TEST_F(TreeTest, ANodeWithParentColorFollowsTheTree) {
  TDCTreeNode* A = Add(nullptr, "a");
  Tree->SetColor(clYellow);
  EXPECT_EQ(A->Color(), clYellow);
  A->SetColor(clRed);
  Tree->SetColor(clWhite);
  EXPECT_EQ(A->Color(), clRed);
  A->SetParentColor(true);
  EXPECT_EQ(A->Color(), clWhite);
}

TEST_F(TreeTest, AssignCopiesTheNodesProperties) {
  TDCTreeNode* A = Add(nullptr, "source");
  A->SetNodeType(ntCheckBox);
  A->SetAllowGrayed(true);
  A->SetState(cbGrayed);
  A->SetImageIndex(3);
  A->SetColor(clRed);
  A->SetData(Key(7));
  TDCTreeNode* B = Add(nullptr, "copy");
  B->Assign(A);
  EXPECT_EQ(B->Text(), "source");
  EXPECT_EQ(B->State(), cbGrayed);
  EXPECT_EQ(B->ImageIndex(), 3);
  EXPECT_EQ(B->Color(), clRed);
  EXPECT_FALSE(B->ParentColor());
  EXPECT_EQ(B->Data(), Key(7));
}

TEST(DcntreeUnitTest, IsStartedAndRegistersItsClasses) {
  EXPECT_TRUE(IsUnitInitialized("FontMan"));
  EXPECT_TRUE(IsUnitInitialized("dcntree"));
  EXPECT_EQ(GetClass("TDCTreeNode"), &TDCTreeNode::StaticClass());
  EXPECT_EQ(GetClass("TFont"), &TFont::StaticClass());
  RegisterClassOnce(&TDCTreeNode::StaticClass());  // a second time is harmless
}

}  // namespace
