// Dragging on a real window: header drags (the 5-pixel threshold, moving, hiding off
// the header only with aoExtCustomizing and never the last column, OnlyOwnColumns by
// the band's place in the collection, Escape, the arrows read from the screen) and
// node drags (drag expand through timer 101, the drag cursors, a drop that moves no
// node, a raising handler), each leaving no capture, timer or picture behind; and what
// a gesture, the hot cell and the search keep of a column or band that code moves or
// frees meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/DragImages.h"
#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Resources.h"

using namespace uitest;

namespace {

class TDragEvents : public tltest::TLineLog {
 public:
  TCustomdxTreeList* Tree = nullptr;
  std::vector<TCursor> Cursors;
  bool Raise = false;
  void ColumnClick(TObject*, TdxTreeListColumn*) { Lines.push_back("click"); }
  void BandClick(TObject*, TdxTreeListBand*) { Lines.push_back("band click"); }
  void NamedClick(TObject*, TdxTreeListColumn* Column) {
    Lines.push_back("click " + std::string(Column->Caption().c_str()));
  }
  void HeaderMoved(TObject*, TdxTreeListColumn*) { Lines.push_back("moved"); }
  void HideHeader(TObject*, TdxTreeListColumn*) { Lines.push_back("hidden"); }
  void DragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) {
    if (Raise) throw Exception("refused");
    Cursors.push_back(Tree->DragCursor());
    Accept = true;
  }
  void DragDrop(TObject*, TObject*, int, int) { Lines.push_back("drop"); }
  void Expanded(TObject*, TdxTreeListNode*) { Lines.push_back("expanded"); }
  void Collapsed(TObject*, TdxTreeListNode*) { Lines.push_back("collapsed"); }
};

class TreeListDragTest : public tltest::TreeListWindowTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Events = Keep(NewObject<TDragEvents>());
    MakePlainTree(3, 100, TRect{10, 30, 410, 330});
    Events->Tree = Tree;
    for (int I = 0; I < 3; ++I) Tree->Columns(I)->SetCaption("C" + std::to_string(I));
    Tree->OnColumnClick = TdxTLColumnEvent::Bind<&TDragEvents::ColumnClick>(Events);
    Tree->OnHeaderMoved = TdxTLColumnEvent::Bind<&TDragEvents::HeaderMoved>(Events);
    Tree->OnHideHeader = TdxTLColumnEvent::Bind<&TDragEvents::HideHeader>(Events);
    FocusTree();
  }
  // A point of visible column Col's header, at Fraction of its width.
  POINT Header(int Col, double Fraction = 0.5) {
    const TdxTreeListDrawInfo DI = Layout();
    for (const TdxTreeListHeaderInfo& H : DI.Headers)
      if (H.VisibleColumn == Col) {
        const int X = H.CellRect.left + static_cast<int>((H.CellRect.right - H.CellRect.left) * Fraction);
        return POINT{X, (H.CellRect.top + H.CellRect.bottom) / 2};
      }
    ADD_FAILURE() << "no header " << Col;
    return POINT{0, 0};
  }
  POINT Row(int Index) { return POINT{50, RowMiddle(Index)}; }
  void PostMove(POINT P) { PostMessageA(Tree->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(P)); }
  // A header dragged from one point to another and released there.
  void DragHeader(POINT From, POINT To) {
    Down(From);
    Move(POINT{From.x + 6, From.y});
    Move(To);
    Up(To);
    Pump();
  }
  std::vector<int> Order() {
    std::vector<int> Result;
    for (int V = 0; V < Tree->GetVisibleColumnCount(); ++V)
      Result.push_back(Tree->GetAbsoluteColumnIndex(V) >= 0 ? std::stoi(Tree->Columns(Tree->GetAbsoluteColumnIndex(V))->Caption().substr(1)) : -1);
    return Result;
  }
  // Nothing of a gesture is left: capture, scroll and expand timers, the picture.
  void ExpectNothingLeft() {
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(tsNormal, Tree->State());
    EXPECT_EQ(nullptr, Tree->DragState().Images);
    EXPECT_FALSE(Tree->DragState().ArrowsShown);
    EXPECT_FALSE(KillTimer(Tree->Handle(), 1)) << "a scroll timer was left";
    EXPECT_FALSE(KillTimer(Tree->Handle(), 101)) << "the drag-expand timer was left";
    EXPECT_EQ(nullptr, CurrentDrag());
  }
  void AddNodes() {
    Tree->BeginUpdate();
    for (const char* Text : {"A", "B", "C", "D"}) Tree->Add()->SetStrings(0, Text);
    for (const char* Text : {"B1", "B2"}) Tree->Items(1)->AddChild()->SetStrings(0, Text);
    Tree->EndUpdate();
    Pump();
  }

  TDragEvents* Events = nullptr;
};

TEST_F(TreeListDragTest, FivePixelsAreAClickSixADragThatLeavesNothingBehind) {
  const POINT P = Header(0);
  Down(P);
  Move(POINT{P.x + 5, P.y + 5});
  EXPECT_EQ(tsColumnDown, Tree->State());
  Up(POINT{P.x + 5, P.y + 5});
  EXPECT_EQ(1, Events->Count("click"));
  Down(P);
  Move(POINT{P.x, P.y + 6});
  EXPECT_EQ(tsColumnDragging, Tree->State());
  ASSERT_NE(nullptr, Tree->DragState().Images);
  EXPECT_TRUE(Tree->DragState().Images->Dragging()) << "the header's picture follows the mouse";
  EXPECT_EQ(Tree->HeaderRowHeight(), Tree->DragState().Images->Height());
  Up(POINT{P.x, P.y + 6});
  EXPECT_EQ(1, Events->Count("click"));
  EXPECT_EQ(0, Events->Count("moved")) << "dropped on its own place";
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Order());
  EXPECT_EQ(-1, Tree->PressedColumn());
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, AColumnDroppedOnAnotherHalfMovesThereAndEscapeMovesNothing) {
  DragHeader(Header(0), Header(2, 0.75));
  EXPECT_EQ((std::vector<int>{1, 2, 0}), Order());
  EXPECT_EQ(1, Events->Count("moved"));
  DragHeader(Header(2), Header(0, 0.25));
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Order());
  ExpectNothingLeft();

  const POINT From = Header(0);
  Down(From);
  Move(POINT{From.x + 6, From.y});
  Move(Header(2, 0.75));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(tsNormal, Tree->State());
  Up(Header(2, 0.75));
  Pump();
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Order());
  EXPECT_EQ(2, Events->Count("moved"));
  EXPECT_EQ(0, Events->Count("click"));
  EXPECT_EQ(-1, Tree->PressedColumn());
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, OffTheHeaderAColumnHidesOnlyWithExtCustomizingAndNeverTheLast) {
  // The list has no nodes: a point in the middle of its empty rows' area.
  const TdxTreeListDrawInfo DI = Layout();
  const POINT Outside{50, (DI.CellsRect.top + DI.CellsRect.bottom) / 2};
  Down(Header(1));
  Move(POINT{Header(1).x + 6, Header(1).y});
  Move(Outside);
  EXPECT_TRUE(Tree->DragState().DeleteCursor);
  EXPECT_EQ(Screen->Cursors(crdxTLDelete), GetCursor());
  Up(Outside);
  EXPECT_TRUE(Tree->Columns(1)->Visible()) << "without aoExtCustomizing it goes back";
  EXPECT_EQ(0, Events->Count("hidden"));

  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoExtCustomizing});
  DragHeader(Header(1), Outside);
  EXPECT_FALSE(Tree->Columns(1)->Visible());
  DragHeader(Header(1), Outside);  // column 2 is the second visible one now
  EXPECT_FALSE(Tree->Columns(2)->Visible());
  EXPECT_EQ(2, Events->Count("hidden"));
  DragHeader(Header(0), Outside);
  EXPECT_TRUE(Tree->Columns(0)->Visible()) << "the last visible column stays";
  EXPECT_EQ(2, Events->Count("hidden"));
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, OnlyOwnColumnsKeepsAColumnInItsBandWhateverBandsAreHidden) {
  Tree->BeginUpdate();
  for (int I = 0; I < 2; ++I) Tree->Bands()->Add();
  for (int I = 0; I < 3; ++I) Tree->Bands()->Items(I)->SetWidth(150);
  // Band 0 is hidden: band 2 stands at visible place 1.
  Tree->Columns(0)->SetBandIndex(1);
  Tree->Columns(1)->SetBandIndex(2);
  Tree->Columns(2)->SetBandIndex(2);
  Tree->Bands()->Items(0)->SetVisible(false);
  Tree->Bands()->Items(2)->SetOnlyOwnColumns(true);
  Tree->SetShowBands(true);
  Tree->EndUpdate();
  Pump();
  DragHeader(Header(0), Header(1, 0.25));
  EXPECT_EQ(1, Tree->Columns(0)->BandIndex()) << "band 2 takes no other band's column";
  EXPECT_EQ(0, Events->Count("moved"));

  // Without the lock the same drop moves it.
  Tree->Bands()->Items(2)->SetOnlyOwnColumns(false);
  DragHeader(Header(0), Header(1, 0.25));
  EXPECT_EQ(2, Tree->Columns(0)->BandIndex());
  ExpectNothingLeft();
}

// Code that reorders or frees columns and bands in the middle of a gesture (a timer, a
// handler): what the control keeps of a header, a hot cell or a search stays with its
// column or band, and a press or drag of one that goes ends with no click or drop.
TEST_F(TreeListDragTest, PressesDragsHotCellsAndSearchesFollowTheirColumnOrBand) {
  Tree->OnColumnClick = TdxTLColumnEvent::Bind<&TDragEvents::NamedClick>(Events);
  TdxTreeListColumn* C0 = Tree->Columns(0);
  TdxTreeListColumn* C1 = Tree->Columns(1);
  TdxTreeListColumn* C2 = Tree->Columns(2);
  // A press on C1 follows it to its new place and clicks it there.
  Down(Header(1));
  C1->SetIndex(2);
  EXPECT_EQ(C1->Index(), Tree->PressedColumn());
  EXPECT_EQ(C1->Index(), Tree->PressedState().Header);
  Up(Header(2));
  EXPECT_EQ(1, Events->Count("click C1"));
  C1->SetIndex(1);
  // A drag of C2 moved to the front by code drops C2, not the column now at its index.
  const POINT From = Header(2);
  Down(From);
  Move(POINT{From.x + 6, From.y});
  ASSERT_EQ(tsColumnDragging, Tree->State());
  C2->SetIndex(0);
  Move(Header(2, 0.75));
  Up(Header(2, 0.75));
  Pump();
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Order());
  ExpectNothingLeft();

  // The hot cell and the search column follow theirs.
  AddNodes();
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoEditing});
  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoHotTrack, aoAutoSearch});
  const TRect Cell = Layout().Headers.at(1).CellRect;
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Cell.left + 20, RowMiddle(0)));
  ASSERT_EQ(1, Tree->HotColumn());
  Tree->SetFocusedNode(Tree->Items(0), 1, true);
  SendMessageA(Tree->Handle(), WM_CHAR, 'x', 1);
  int Column = -1;
  AnsiString Text;
  ASSERT_TRUE(Tree->GetSearchState(Column, Text));
  ASSERT_EQ(1, Column);
  C1->SetIndex(2);
  EXPECT_EQ(2, Tree->HotColumn());
  ASSERT_TRUE(Tree->GetSearchState(Column, Text));
  EXPECT_EQ(2, Column);
  C0->Free();
  EXPECT_EQ(1, Tree->HotColumn());
  ASSERT_TRUE(Tree->GetSearchState(Column, Text));
  EXPECT_EQ(1, Column);
  C1->Free();
  EXPECT_EQ(-1, Tree->HotColumn());
  EXPECT_EQ(nullptr, Tree->HotNode());
  ASSERT_TRUE(Tree->GetSearchState(Column, Text));
  EXPECT_EQ(-1, Column);
  SendMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);

  // A press or a drag of a column that goes ends there: the release clicks and drops
  // nothing.
  TdxTreeListColumn* C3 = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  C3->SetCaption("C3");
  TdxTreeListColumn* C4 = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  C4->SetCaption("C4");
  Pump();
  Down(Header(0));
  C2->Free();
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(-1, Tree->PressedColumn());
  EXPECT_EQ(-1, Tree->PressedState().Header);
  Up(Header(0));
  EXPECT_EQ(0, Events->Count("click C3"));
  const POINT Start = Header(0);
  Down(Start);
  Move(POINT{Start.x + 6, Start.y});
  ASSERT_EQ(tsColumnDragging, Tree->State());
  const int Moved = Events->Count("moved");
  C3->Free();
  // The button is still held: only the release gives the mouse back.
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(nullptr, Tree->DragState().Images);
  EXPECT_FALSE(Tree->DragState().ArrowsShown);
  Move(Header(0, 0.25));
  Up(Header(0, 0.25));
  Pump();
  EXPECT_EQ(Moved, Events->Count("moved"));
  ExpectNothingLeft();

  // A band dragged while code moves it drops that band; one that goes ends the drag.
  Tree->BeginUpdate();
  for (int I = 0; I < 2; ++I) Tree->Bands()->Add();
  for (int I = 0; I < 3; ++I) {
    Tree->Bands()->Items(I)->SetWidth(120);
    Tree->Bands()->Items(I)->SetCaption("B" + std::to_string(I));
  }
  Tree->SetShowBands(true);
  Tree->EndUpdate();
  Pump();
  auto BandPoint = [&](int Visible, double Fraction) {
    const TRect R = Layout().Bands.at(Visible).BandRect;
    return POINT{R.left + static_cast<int>((R.right - R.left) * Fraction), (R.top + R.bottom) / 2};
  };
  auto BandOrder = [&] {
    std::string Result;
    for (int I = 0; I < Tree->Bands()->Count(); ++I) Result += Tree->Bands()->Items(I)->Caption().c_str();
    return Result;
  };
  const POINT BandFrom = BandPoint(2, 0.5);
  Down(BandFrom);
  Move(POINT{BandFrom.x + 6, BandFrom.y});
  ASSERT_EQ(tsBandDragging, Tree->State());
  Tree->Bands()->Items(2)->SetIndex(0);
  Move(BandPoint(2, 0.9));
  Up(BandPoint(2, 0.9));
  Pump();
  EXPECT_EQ("B0B1B2", BandOrder());
  ExpectNothingLeft();
  Down(BandFrom);
  Move(POINT{BandFrom.x + 6, BandFrom.y});
  ASSERT_EQ(tsBandDragging, Tree->State());
  Tree->Bands()->Items(2)->Free();
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(nullptr, Tree->DragState().Images);
  Move(BandPoint(0, 0.1));
  Up(BandPoint(0, 0.1));
  Pump();
  EXPECT_EQ("B0B1", BandOrder());
  ExpectNothingLeft();
  // A band pressed or sized is known by its place, which a move changes: both end,
  // with no click and no new width.
  Tree->OnBandClick = TdxTLBandEvent::Bind<&TDragEvents::BandClick>(Events);
  Tree->SetOptionsEx(Tree->OptionsEx() - TdxTreeListOptionsEx{aoBandMoving});
  Down(BandPoint(0, 0.5));
  ASSERT_EQ(tsBandDown, Tree->State());
  Tree->Bands()->Items(1)->SetIndex(0);
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_EQ(-1, Tree->PressedState().Band);
  Up(BandPoint(0, 0.5));
  EXPECT_EQ(0, Events->Count("band click"));
  const POINT Edge{Layout().Bands.at(0).BandRect.right - 1, BandPoint(0, 0.5).y};
  Down(Edge);
  ASSERT_EQ(tsBandSizing, Tree->State());
  Move(POINT{Edge.x + 40, Edge.y});
  Tree->Bands()->Items(1)->SetIndex(0);
  EXPECT_EQ(tsNormal, Tree->State());
  EXPECT_FALSE(Tree->SizingLineShown());
  Up(POINT{Edge.x + 40, Edge.y});
  EXPECT_EQ(120, Tree->Bands()->Items(0)->Width());
  EXPECT_EQ(120, Tree->Bands()->Items(1)->Width());
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, ArrowsAreDrawnOnlyWhenTheirPlaceChangesAndTheScreenComesBack) {
  auto ScreenAt = [](POINT P) {
    HDC DC = GetDC(nullptr);
    const COLORREF C = GetPixel(DC, P.x, P.y);
    ReleaseDC(nullptr, DC);
    return C & 0xFFFFFF;
  };
  // A pixel of the upper arrow's stem for arrows at the screen point A.
  auto Stem = [](TPoint A) { return POINT{A.x + 5, A.y + 2}; };
  const POINT From = Header(0);
  Down(From);
  Move(POINT{From.x + 6, From.y});
  EXPECT_EQ(0, Tree->DragState().ArrowDraws) << "over its own place before a move there";
  Move(Header(2, 0.2));
  const TPoint First = Tree->DragState().ArrowPos;
  const TdxTreeListDrawInfo DI = Layout();
  POINT Expected{DI.Headers[2].CellClipRect.left - 5, DI.HeaderRect.top - 9};
  ClientToScreen(Tree->Handle(), &Expected);
  EXPECT_EQ(Expected.x, First.x);
  EXPECT_EQ(Expected.y, First.y);
  EXPECT_EQ(1, Tree->DragState().ArrowDraws);
  EXPECT_EQ(ColorToRGB(Tree->ArrowsColor()), ScreenAt(Stem(First)));

  // A mark put on the arrow stays while the place stays: nothing is drawn again.
  {
    HDC DC = GetDC(nullptr);
    SetPixel(DC, Stem(First).x, Stem(First).y, RGB(255, 0, 0));
    ReleaseDC(nullptr, DC);
  }
  Move(Header(2, 0.3));
  EXPECT_EQ(1, Tree->DragState().ArrowDraws);
  EXPECT_EQ(RGB(255, 0, 0), ScreenAt(Stem(First)));

  Move(Header(1, 0.2));
  EXPECT_EQ(2, Tree->DragState().ArrowDraws);
  const COLORREF Form = ColorToRGB(this->Form->Color());
  EXPECT_EQ(Form, ScreenAt(Stem(First))) << "the screen under the old arrows is back";
  const TPoint Second = Tree->DragState().ArrowPos;
  EXPECT_EQ(ColorToRGB(Tree->ArrowsColor()), ScreenAt(Stem(Second)));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Form, ScreenAt(Stem(Second)));
  Up(Header(1, 0.2));
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, ANodeUnderTheDragExpandsWhenTheWaitIsOverAndTogglesWithDragCollapse) {
  AddNodes();
  Tree->SetDragMode(dmAutomatic);
  Tree->SetWaitForExpandNodeTime(100000);  // only the ticks posted here fire
  Tree->OnExpanded = TTLExpandedEvent::Bind<&TDragEvents::Expanded>(Events);
  Tree->OnCollapsed = TTLExpandedEvent::Bind<&TDragEvents::Collapsed>(Events);
  Down(Row(0));
  PostMove(Row(1));
  EXPECT_FALSE(Tree->Items(1)->Expanded());
  PostMessageA(Tree->Handle(), WM_TIMER, 101, 0);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Move(POINT{Row(0).x + 10, Row(0).y});  // past the threshold: the drag's loop runs
  EXPECT_TRUE(Tree->Items(1)->Expanded());
  EXPECT_EQ(1, Events->Count("expanded"));
  EXPECT_EQ(0, Events->Count("collapsed"));
  Up(Row(0));
  Pump();
  ExpectNothingLeft();

  Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoDragCollapse});
  Down(Row(0));
  PostMove(Row(1));
  PostMessageA(Tree->Handle(), WM_TIMER, 101, 0);
  PostMessageA(Tree->Handle(), WM_TIMER, 101, 0);
  PostMessageA(Tree->Handle(), WM_TIMER, 101, 0);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Move(POINT{Row(0).x + 10, Row(0).y});
  EXPECT_FALSE(Tree->Items(1)->Expanded()) << "collapsed, expanded, collapsed";
  EXPECT_EQ(2, Events->Count("expanded"));
  EXPECT_EQ(2, Events->Count("collapsed"));
  Up(Row(0));
  Pump();
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, OneAndThreeSelectedNodesShowTheirCursorsAndADropMovesNoNode) {
  AddNodes();
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoMultiSelect});
  Tree->SetDragMode(dmAutomatic);
  Tree->OnDragOver = TDragOverEvent::Bind<&TDragEvents::DragOver>(Events);
  Tree->OnDragDrop = TDragDropEvent::Bind<&TDragEvents::DragDrop>(Events);
  Down(Row(0));
  PostMove(Row(2));
  PostMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At(Row(2)));
  Move(POINT{Row(0).x + 10, Row(0).y});
  ASSERT_FALSE(Events->Cursors.empty());
  EXPECT_EQ(crDrag, Events->Cursors.back());
  EXPECT_EQ(1, Events->Count("drop"));
  EXPECT_EQ("A", Tree->Items(0)->Strings(0)) << "the drop is the handler's";
  EXPECT_EQ("C", Tree->Items(2)->Strings(0));
  Pump();
  ExpectNothingLeft();

  Events->Cursors.clear();
  for (int I : {0, 2, 3}) Tree->Items(I)->SetSelected(true);
  Down(Row(0));
  PostMove(Row(1));
  PostMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At(Row(1)));
  Move(POINT{Row(0).x + 10, Row(0).y});
  ASSERT_FALSE(Events->Cursors.empty());
  EXPECT_EQ(crMultiDrag, Events->Cursors.front());
  Pump();
  ExpectNothingLeft();
}

// A tree list that makes a node's drag picture on request.
class TPictureTree : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  void MakePicture(TdxTreeListNode* Node) { MakeNodeDragImages(Node); }
};

// In a font thousands of pixels high a node's caption is far larger than the screen
// (a picture of it would take gigabytes): its picture is cut to the screen.
TEST_F(TreeListDragTest, ANodesPictureInAFontLargerThanTheScreenIsCutToTheScreen) {
  auto* Big = AddChild<TPictureTree>(Form);
  Big->SetBounds(10, 340, 400, 50);
  Big->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(100);
  TdxTreeListNode* Node = Big->Add();
  Node->SetStrings(0, "A caption of some thirty letters");
  Big->Font()->SetHeight(100000);
  Big->MakePicture(Node);
  ASSERT_NE(nullptr, Big->DragState().Images);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Big->DragState().Images->Width());
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Big->DragState().Images->Height());
  Big->Font()->SetHeight(-11);
  Big->MakePicture(Node);
  EXPECT_LT(Big->DragState().Images->Height(), 40) << "an ordinary font's picture is its own size";
}

TEST_F(TreeListDragTest, ARaisingHandlerEndsTheNodeDragWithNothingLeft) {
  AddNodes();
  Tree->SetDragMode(dmAutomatic);
  Tree->OnDragOver = TDragOverEvent::Bind<&TDragEvents::DragOver>(Events);
  Events->Raise = true;
  Down(Row(0));
  PostMove(Row(2));
  Move(POINT{Row(0).x + 10, Row(0).y});
  Pump();
  ASSERT_EQ(1u, Log->Messages.size());
  EXPECT_EQ("refused", Log->Messages[0]);
  ExpectNothingLeft();
  SendMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At(Row(0)));
}

TEST_F(TreeListDragTest, ACancelledModeEndsANodeDragWithoutADrop) {
  AddNodes();
  Tree->SetDragMode(dmAutomatic);
  Tree->OnDragOver = TDragOverEvent::Bind<&TDragEvents::DragOver>(Events);
  Tree->OnDragDrop = TDragDropEvent::Bind<&TDragEvents::DragDrop>(Events);
  Down(Row(0));
  PostMove(Row(2));
  PostMessageA(Tree->Handle(), WM_CANCELMODE, 0, 0);
  PostMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At(Row(2)));
  Move(POINT{Row(0).x + 10, Row(0).y});
  Pump();
  EXPECT_EQ(0, Events->Count("drop"));
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, PlusAndMinusOpenAndCloseTheNodeUnderANodeDrag) {
  AddNodes();
  Tree->SetDragMode(dmAutomatic);
  Tree->SetWaitForExpandNodeTime(100000);
  Down(Row(0));
  PostMove(Row(1));
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ADD, 1);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Move(POINT{Row(0).x + 10, Row(0).y});
  EXPECT_TRUE(Tree->Items(1)->Expanded());
  Up(Row(0));
  Down(Row(0));
  PostMove(Row(1));
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_SUBTRACT, 1);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Move(POINT{Row(0).x + 10, Row(0).y});
  EXPECT_FALSE(Tree->Items(1)->Expanded());
  Up(Row(0));
  Pump();
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, ANodeDragOverTheLastRowScrollsDownAndTheFocusFollows) {
  Tree->BeginUpdate();
  for (int I = 0; I < 50; ++I) Tree->Add()->SetStrings(0, "N" + std::to_string(I));
  Tree->EndUpdate();
  Pump();
  Tree->SetDragMode(dmAutomatic);
  const int Last = static_cast<int>(Layout().Rows.size()) - 1;
  ASSERT_GT(Last, 2);
  const int LastFull = Tree->GetVisibleRowCount() - 1;
  Down(Row(0));
  PostMove(Row(1));
  PostMove(Row(LastFull));
  PostMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  PostMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  PostMessageA(Tree->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Move(POINT{Row(0).x + 10, Row(0).y});
  // Over the last row the focus went there; each tick moved it one row on, while the
  // window under the drag is the tree list.
  POINT Screen = Row(LastFull);
  ClientToScreen(Tree->Handle(), &Screen);
  ASSERT_EQ(Tree->Handle(), WindowFromPoint(Screen));
  EXPECT_EQ(LastFull + 2, Tree->GetFocusedRowIndex());
  EXPECT_GT(Tree->GetTopIndex(), 0);
  Up(Row(0));
  Pump();
  ExpectNothingLeft();
}

TEST_F(TreeListDragTest, AHeaderDraggedToTheRightEdgeScrollsTheColumnsInSteps) {
  for (int I = 0; I < 3; ++I) Tree->Columns(I)->SetWidth(250);
  Tree->Bands()->Items(0)->SetWidth(750);
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  const POINT From = Header(0);
  const POINT Edge{DI.CR.right - 5, From.y};
  Down(From);
  Move(POINT{From.x + 6, From.y});
  Move(Edge);
  EXPECT_TRUE(KillTimer(Tree->Handle(), 1)) << "the drag scroll runs near the edge";
  SetTimer(Tree->Handle(), 1, 100000, nullptr);  // put back, ticks posted below
  SendMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(32, Tree->LeftCoord());
  SendMessageA(Tree->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(64, Tree->LeftCoord());
  Move(From);
  EXPECT_FALSE(KillTimer(Tree->Handle(), 1)) << "away from the edge it stops";
  PressKey(VK_ESCAPE);
  Up(From);
  ExpectNothingLeft();
}

// A drag of another control over the tree list: its object is the tree list's while
// it is over it, and the unfocused tree list shows its focused row highlighted.
class TForeignDrag : public TObject {
 public:
  void DragOver(TObject*, TObject*, int, int, TDragState State, bool& Accept) {
    Accept = true;
    if (State != dsDragMove) return;
    ObjectSeen = Tree->DragObject() != nullptr;
    RowPixel = ScreenPixel(Tree->Handle(), RowPoint.x, RowPoint.y) & 0xFFFFFF;
  }
  TdxTreeList* Tree = nullptr;
  POINT RowPoint{0, 0};
  bool ObjectSeen = false;
  COLORREF RowPixel = 0;
};

TEST_F(TreeListDragTest, ADragOfAnotherControlIsTheTreeListsDragObjectWhileOverIt) {
  AddNodes();
  auto* Source = AddChild<TProbe>(Form);
  Source->SetBounds(420, 10, 60, 30);
  auto* Foreign = Keep(NewObject<TForeignDrag>());
  Foreign->Tree = Tree;
  // The focus follows the drag to row 2: an empty cell of that row.
  Foreign->RowPoint = POINT{Header(1).x, Row(2).y};
  Tree->SetFocusedNode(Tree->Items(0), 0, false);
  Source->SetFocus();
  Pump();
  ASSERT_FALSE(Tree->Focused());
  Tree->OnDragOver = TDragOverEvent::Bind<&TForeignDrag::DragOver>(Foreign);
  POINT Over = Row(2);
  MapWindowPoints(Tree->Handle(), Form->Handle(), &Over, 1);
  PostMessageA(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Over.x, Over.y));
  PostMessageA(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Over.x + 2, Over.y));
  PostMessageA(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Over.x + 2, Over.y));
  Source->BeginDrag(true);
  EXPECT_TRUE(Foreign->ObjectSeen);
  EXPECT_EQ(ColorToRGB(Tree->HighlightColor()), Foreign->RowPixel);
  EXPECT_EQ(nullptr, Tree->DragObject()) << "the drop clears it";
  Pump();
  ExpectNothingLeft();
}

}  // namespace
