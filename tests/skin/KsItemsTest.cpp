// Menu items and item views: the tree and its errors, change notification, shortcuts,
// posted clicks (after the loop, and never for an item freed meanwhile), the bounded
// selection, the tracking loop driven by keys, actions on items and on push buttons,
// and the default measuring and painting.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Classes_Streaming.h"
#include "skin/KsButtons.h"
#include "skin/KsItems.h"
#include "skin/KsUtils.h"
#include "tests/editors/ChildRunSupport.h"
#include "tests/skin/KitUiSupport.h"
#include "tests/support/CursorSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace kittest;

namespace {

class KsItemsTest : public UiTest {
 protected:
  TKsCustomItem* NewItem(const char* Caption, TKsCustomItem* Parent = nullptr) {
    auto* Item = NewObject<TKsCustomItem>(nullptr);
    Item->SetCaption(Caption);
    if (Parent)
      Parent->Add(Item);
    else
      Keep(Item);
    return Item;
  }
  // Runs the clicks posted so far.
  void RunPostedClicks() { Pump(); }
  // The tree below Item as captions, "!" after a child whose parent is not the item
  // whose list holds it.
  static std::string TreeOf(const TKsCustomItem* Item) {
    std::string Tree = Item->Caption() + "(";
    for (int I = 0; I < Item->Count(); ++I)
      Tree += (I ? " " : "") + TreeOf(Item->Items(I)) +
              (Item->Items(I)->Parent() == Item ? "" : "!");
    return Tree + ")";
  }

  std::vector<std::string> Clicks;
  TNotifyHandler Recorder{
      [this](TObject* Sender) { Clicks.push_back(static_cast<TKsCustomItem*>(Sender)->Caption()); }};
};

// ---------------------------------------------------------------------------------
// The tree

TEST_F(KsItemsTest, InsertingAnInsertedItemRaisesAndChangesNothing) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Other = NewItem("other");
  TKsCustomItem* Child = NewItem("child", Root);
  TChangeCounter Changes;
  Other->OnChange = Changes.Event();
  try {
    Other->Add(Child);
    FAIL() << "no error";
  } catch (const EKsItemError& E) {
    EXPECT_EQ(E.Message(), "Toolbar item already inserted");
  }
  EXPECT_EQ(Child->Parent(), Root);
  EXPECT_EQ(Root->Count(), 1);
  EXPECT_EQ(Other->Count(), 0);
  EXPECT_EQ(Changes.Count, 0);
}

// An item put into itself or into an item below it, by a program's Insert or as the
// parent a form file names, would make a ring of parents that no walk up the tree
// leaves: it is refused before anything changes. It runs in a process of its own (the
// test below), so that a walk that never ends fails it instead of stopping the program.
TEST_F(KsItemsTest, DISABLED_AnItemIsNeverPutIntoItselfOrAnItemBelowIt) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Top = NewItem("top", Root);
  NewItem("next", Root);
  TKsCustomItem* Sub = NewItem("sub", Top);
  TKsCustomItem* Leaf = NewItem("leaf", Sub);
  TKsCustomItem* Loose = NewItem("loose");
  TKsCustomItem* Below = NewItem("below", Loose);
  TChangeCounter Changes, SubChanges;
  Root->OnChange = Changes.Event();
  Sub->OnChange = SubChanges.Event();
  const char* const Itself = "A toolbar item cannot have itself as its parent";
  const char* const Inside = "A toolbar item cannot have an item below it as its parent";
  ExpectRaises<EKsItemError>([&] { Loose->Add(Loose); }, Itself);
  ExpectRaises<EKsItemError>([&] { Below->Insert(0, Loose); }, Inside);
  ExpectRaises<EKsItemError>([&] { Top->SetParentComponent(Top); }, Itself);
  ExpectRaises<EKsItemError>([&] { Top->SetParentComponent(Sub); }, Inside);
  ExpectRaises<EKsItemError>([&] { Top->SetParentComponent(Leaf); }, Inside);
  EXPECT_EQ(TreeOf(Root), "root(top(sub(leaf())) next())");
  EXPECT_EQ(TreeOf(Loose), "loose(below())");
  EXPECT_EQ(Loose->Parent(), nullptr);
  EXPECT_EQ(Leaf->Root(), Root);
  EXPECT_EQ(Changes.Count, 0);
  // A move the tree can hold is made, and both parents report it.
  Leaf->SetParentComponent(Root);
  EXPECT_EQ(TreeOf(Root), "root(top(sub()) next() leaf())");
  EXPECT_EQ(SubChanges.Count, 1);
  EXPECT_GT(Changes.Count, 0);
}

TEST_F(KsItemsTest, AnItemIsNeverPutIntoItselfOrAnItemBelowIt) {
  edittest::ExpectDisabledTestsPass(
      "KsItemsTest.DISABLED_AnItemIsNeverPutIntoItselfOrAnItemBelowIt", 1, 120000);
}

TEST_F(KsItemsTest, DeleteAndRemoveLeaveTheItemAlive) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* A = NewItem("a", Root);
  TKsCustomItem* B = NewItem("b", Root);
  Root->Remove(A);
  EXPECT_EQ(A->Parent(), nullptr);
  EXPECT_EQ(Root->IndexOf(B), 0);
  Root->Remove(A);  // not in the list: ignored
  Root->Delete(5);  // out of range: ignored
  EXPECT_EQ(Root->Count(), 1);
  Keep(A);
  Root->Insert(0, A);  // again, now that it has no parent
  EXPECT_EQ(Root->IndexOf(A), 0);
  Owned.pop_back();
}

TEST_F(KsItemsTest, FreeingAnItemFreesItsChildrenAndLeavesItsParent) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Sub = NewItem("sub", Root);
  TKsCustomItem* Leaf = NewItem("leaf", Sub);
  const DWORD LeafSerial = Leaf->Serial();
  Sub->Free();
  EXPECT_EQ(Root->Count(), 0);
  EXPECT_EQ(TKsCustomItem::FindLiving(LeafSerial), nullptr);
}

TEST_F(KsItemsTest, AChangeOfTheRootRunsItsOnChangeTwice) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Child = NewItem("child", Root);
  TChangeCounter RootChanges, ChildChanges;
  Root->OnChange = RootChanges.Event();
  Child->OnChange = ChildChanges.Event();
  Root->SetCaption("new");
  EXPECT_EQ(RootChanges.Count, 2);
  RootChanges.Count = 0;
  Child->SetChecked(true);
  EXPECT_EQ(ChildChanges.Count, 1);
  EXPECT_EQ(RootChanges.Count, 1);
  EXPECT_EQ(RootChanges.Sender, Root);
  Child->SetChecked(true);  // no change
  EXPECT_EQ(ChildChanges.Count, 1);
}

TEST_F(KsItemsTest, TreeWideSettersReachEveryDescendant) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Sub = NewItem("sub", Root);
  TKsCustomItem* Leaf = NewItem("leaf", Sub);
  Root->SetDropShadow(true);
  Root->SetShadowWidth(6);
  Root->SetPopupBlendValue(99);
  Root->SetBiDiMode(1);
  EXPECT_TRUE(Leaf->DropShadow());
  EXPECT_EQ(Leaf->ShadowWidth(), 6);
  EXPECT_EQ(Leaf->PopupBlendValue(), 99);
  EXPECT_EQ(Sub->BiDiMode(), 1);
  EXPECT_EQ(Leaf->BiDiMode(), 0);  // direct children only
}

TEST_F(KsItemsTest, FindItemAndFindAccelerator) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* File = NewItem("&File", Root);
  TKsCustomItem* Save = NewItem("Sa&ve", File);
  Save->SetShortCut(scCtrl | 'S');
  Save->OnClick = Recorder.Event();
  EXPECT_EQ(Root->FindItem(scCtrl | 'S', fkByShortCut), Save);
  EXPECT_EQ(Root->FindItem(reinterpret_cast<std::uintptr_t>(Recorder.Event().Method().Code), fkByHandler), Save);
  EXPECT_EQ(Root->FindAccelerator('f'), File);
  EXPECT_EQ(Root->FindAccelerator('v'), nullptr);  // not a direct child
  EXPECT_EQ(File->FindAccelerator('V'), Save);
}

TEST_F(KsItemsTest, ItemsReadFromAParentOfARegisteredClass) {
  static std::vector<TKsCustomItem*> Inserted;
  Inserted.clear();
  const int Before = ItemParentCount();
  RegisterItemParent(&TActionList::StaticClass(),
                     [](TComponent*, TKsCustomItem* Item) { Inserted.push_back(Item); }, nullptr);
  TActionList* List = Keep(NewObject<TActionList>(nullptr));
  TKsCustomItem* Item = NewItem("x");
  Item->SetParentComponent(List);
  UnregisterItemParent(&TActionList::StaticClass());
  ASSERT_EQ(Inserted.size(), 1u);
  EXPECT_EQ(Inserted[0], Item);
  EXPECT_EQ(ItemParentCount(), Before);
  // A parent that refuses the item, or that takes no items, leaves it in its old
  // parent's list at its place, with no change reported.
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Moved = NewItem("moved", Root);
  NewItem("after", Root);
  TChangeCounter Changes;
  Root->OnChange = Changes.Event();
  RegisterItemParent(
      &TActionList::StaticClass(),
      [](TComponent*, TKsCustomItem*) { throw EKsItemError("refused"); }, nullptr);
  ExpectRaises<EKsItemError>([&] { Moved->SetParentComponent(List); }, "refused");
  UnregisterItemParent(&TActionList::StaticClass());
  ExpectRaises<EKsItemError>([&] { Moved->SetParentComponent(List); },
                             "A toolbar item cannot have a TActionList as its parent");
  EXPECT_EQ(TreeOf(Root), "root(moved() after())");
  EXPECT_EQ(Changes.Count, 0);
}

// ---------------------------------------------------------------------------------
// Clicks and shortcuts

TEST_F(KsItemsTest, AClickRunsLaterAndNotAtAllForAnItemFreedMeanwhile) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Kept = NewItem("kept", Root);
  TKsCustomItem* Freed = NewItem("freed", Root);
  Kept->OnClick = Recorder.Event();
  Freed->OnClick = Recorder.Event();
  Kept->Click();
  Freed->Click();
  EXPECT_TRUE(Clicks.empty()) << "the click is posted";
  Freed->Free();
  RunPostedClicks();
  EXPECT_EQ(Clicks, std::vector<std::string>{"kept"});
}

TEST_F(KsItemsTest, SeparatorsDisabledItemsAndSubMenusDoNotClick) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Line = NewItem("-", Root);
  TKsCustomItem* Off = NewItem("off", Root);
  TKsCustomItem* Sub = NewItem("sub", Root);
  NewItem("leaf", Sub);
  for (TKsCustomItem* I : {Line, Off, Sub}) I->OnClick = Recorder.Event();
  Off->SetEnabled(false);
  Line->Click();
  Off->Click();
  Sub->Click();
  RunPostedClicks();
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(KsItemsTest, AShortCutWhoseClickFreesItsItem) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Sub = NewItem("sub", Root);
  TKsCustomItem* Close = NewItem("close", Sub);
  Close->SetShortCut(scCtrl | 'W');
  TNotifyHandler FreeIt([&](TObject* Sender) {
    Clicks.push_back("close");
    static_cast<TKsCustomItem*>(Sender)->Free();
  });
  Close->OnClick = FreeIt.Event();
  HeldKeys = {VK_CONTROL};
  TMessage Key{WM_KEYDOWN, 'W', 0, 0};
  EXPECT_TRUE(Root->IsShortCut(Key));
  RunPostedClicks();
  EXPECT_EQ(Clicks, std::vector<std::string>{"close"});
  EXPECT_EQ(Sub->Count(), 0);
  EXPECT_FALSE(Root->IsShortCut(Key)) << "the item is gone";
  HeldKeys.clear();
  TMessage Plain{WM_KEYDOWN, 'W', 0, 0};
  EXPECT_FALSE(Root->IsShortCut(Plain));
}

// An item whose click frees it at once, as a descendant may.
class TSelfFreeingItem : public TKsCustomItem {
 public:
  using TKsCustomItem::TKsCustomItem;
  void Click() override {
    ++(*Runs);
    Free();
  }
  int* Runs = nullptr;
};

TEST_F(KsItemsTest, AShortCutStartsOverWhenAClickRemovedItsItem) {
  TKsCustomItem* Root = NewItem("root");
  int Runs = 0;
  for (int I = 0; I < 2; ++I) {
    auto* Item = NewObject<TSelfFreeingItem>(nullptr);
    Item->Runs = &Runs;
    Item->SetShortCut(VK_F5);
    Root->Add(Item);
  }
  TMessage Key{WM_KEYDOWN, VK_F5, 0, 0};
  EXPECT_TRUE(Root->IsShortCut(Key));
  EXPECT_EQ(Runs, 2) << "the second item with the shortcut was clicked after the first went";
  EXPECT_EQ(Root->Count(), 0);
}

TEST_F(KsItemsTest, AltShortCutsComeFromTheKeyData) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Item = NewItem("x", Root);
  Item->SetShortCut(scAlt | 'X');
  Item->OnClick = Recorder.Event();
  TMessage Key{WM_SYSKEYDOWN, 'X', 0x20000000, 0};
  EXPECT_TRUE(Root->IsShortCut(Key));
  RunPostedClicks();
  EXPECT_EQ(Clicks.size(), 1u);
}

// ---------------------------------------------------------------------------------
// Views

class KsItemViewTest : public KsItemsTest {
 protected:
  void SetUp() override {
    KsItemsTest::SetUp();
    Form = ShownForm(300, 200);
    Host = AddChild<TProbe>(Form);
    Host->SetBounds(0, 0, 200, 150);
    Root = NewItem("root");
    View = Keep(NewObject<TKsItemView>(nullptr, TKsItemView::voColumn, false));
    View->SetItems(Root);
    View->SetControl(Host);
    View->SetHostControl(Host);
  }
  void TearDown() override {
    Steps.clear();
    KsItemsTest::TearDown();
  }
  // A key as the keyboard queues it for a control's window.
  static void PostKeyTo(TWinControl* Control, WPARAM Key) { PostMessageA(Control->Handle(), WM_KEYDOWN, Key, 1); }
  TForm* Form = nullptr;
  TProbe* Host = nullptr;
  TKsCustomItem* Root = nullptr;
  TKsItemView* View = nullptr;
};

TEST_F(KsItemViewTest, SelectNextSkipsSeparatorsAndHiddenItemsAndWraps) {
  TKsCustomItem* A = NewItem("a", Root);
  NewItem("-", Root);
  TKsCustomItem* Hidden = NewItem("hidden", Root);
  Hidden->SetVisible(false);
  TKsCustomItem* B = NewItem("b", Root);
  View->SelectNext();
  EXPECT_EQ(View->HotItem(), A);
  View->SelectNext();
  EXPECT_EQ(View->HotItem(), B);
  View->SelectNext();
  EXPECT_EQ(View->HotItem(), A);
  View->SelectPrevious();
  EXPECT_EQ(View->HotItem(), B);
}

TEST_F(KsItemViewTest, SelectionOnALevelWithoutSelectableItemsStopsWithNothingHot) {
  NewItem("-", Root);
  NewItem("hidden", Root)->SetVisible(false);
  NewItem("-", Root);
  View->SetHotItem(Root->Items(0));
  View->SelectNext();
  EXPECT_EQ(View->HotItem(), nullptr);
  View->SelectPrevious();
  EXPECT_EQ(View->HotItem(), nullptr);
}

TEST_F(KsItemViewTest, AColumnStacksItemsAsWideAsTheWidestAndHitTestsThem) {
  TKsCustomItem* A = NewItem("a", Root);
  TKsCustomItem* Line = NewItem("-", Root);
  TKsCustomItem* B = NewItem("a much longer caption", Root);
  TOwned<TKsBitmap> Canvas(NewObject<TKsBitmap>());
  Canvas->SetSize(200, 150);
  View->SetCanvas(Canvas.get());
  const TRect RA = View->GetItemRect(A);
  const TRect RL = View->GetItemRect(Line);
  const TRect RB = View->GetItemRect(B);
  EXPECT_EQ(RL.bottom - RL.top, 15) << "a separator is 15 pixels high";
  EXPECT_EQ(RL.top, RA.bottom);
  EXPECT_EQ(RB.top, RL.bottom);
  EXPECT_EQ(RA.right - RA.left, RB.right - RB.left);
  EXPECT_EQ(RB.right - RB.left, Canvas->TextWidth("a much longer caption") + 58);
  View->HitTest(Host->ClientToScreen(TPoint{5, RB.top + 2}));
  EXPECT_EQ(View->HotItem(), B);
  View->HitTest(Host->ClientToScreen(TPoint{5, 149}));
  EXPECT_EQ(View->HotItem(), nullptr);
}

TEST_F(KsItemViewTest, ASelectedPopupRowIsPaintedInTheHighlight) {
  TKsCustomItem* A = NewItem("a", Root);
  TKsCustomItem* B = NewItem("b", Root);
  TOwned<TKsBitmap> Canvas(NewObject<TKsBitmap>());
  Canvas->SetSize(200, 150);
  Canvas->Fill(KsColorBlack);
  View->SetCanvas(Canvas.get());
  View->SetHotItem(B);
  View->Paint(Canvas.get());
  const TRect RA = View->GetItemRect(A);
  const TRect RB = View->GetItemRect(B);
  EXPECT_EQ(Rgb(Canvas->GetPixel(RA.right - 2, RA.top + 1)), Rgb(ColorToKsColor(clMenu, 255)));
  EXPECT_EQ(Rgb(Canvas->GetPixel(RB.right - 2, RB.top + 1)), Rgb(ColorToKsColor(clHighlight, 255)));
}

TEST_F(KsItemViewTest, TheTrackingLoopFollowsKeysAndTheClickRunsAfterItEnds) {
  TKsCustomItem* A = NewItem("a", Root);
  NewItem("-", Root);
  TKsCustomItem* B = NewItem("b", Root);
  A->OnClick = Recorder.Event();
  B->OnClick = Recorder.Event();
  PlaceCursor(1000, 700);  // away from the items
  StartSteps({When([&] { return View->Tracking(); }, [&] { PostKeyTo(Host, VK_DOWN); }),
              [&] { PostKeyTo(Host, VK_RETURN); }});
  std::vector<std::string> SeenAtEnd;
  EXPECT_TRUE(View->Track());
  SeenAtEnd = Clicks;
  EXPECT_FALSE(View->Tracking());
  EXPECT_EQ(View->HotItem(), nullptr) << "Return on an item closes the menu";
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(NestedCaptureDepth(), 0);
  EXPECT_TRUE(SeenAtEnd.empty()) << "the click waits for the loop to end";
  RunPostedClicks();
  EXPECT_EQ(Clicks, std::vector<std::string>{"b"});
}

// The popup of a sub-menu as the popup windows will show it: a column view on a
// control of its own, tracked inside the loop of the view that opened it.
TKsItemView* SubView = nullptr;
int SubLoops = 0;
bool TrackSubMenu(TKsCustomItem* Item, TKsItemView* ParentView, const TPoint&, const TRect&) {
  ++SubLoops;
  SubView->SetItems(Item);
  SubView->SetParentView(ParentView);
  ParentView->SetChildView(SubView);
  const bool Result = SubView->Track();
  ParentView->SetChildView(nullptr);
  return Result;
}

TEST_F(KsItemViewTest, AClickChosenInASubMenuRunsAfterEveryLoopHasEnded) {
  TKsCustomItem* Sub = NewItem("sub", Root);
  NewItem("first", Sub)->OnClick = Recorder.Event();
  NewItem("second", Sub)->OnClick = Recorder.Event();
  TProbe* SubHost = AddChild<TProbe>(Form);
  SubHost->SetBounds(200, 0, 100, 100);
  SubView = Keep(NewObject<TKsItemView>(nullptr, TKsItemView::voColumn, false));
  SubView->SetControl(SubHost);
  const TKsPopupItemProc Saved = KsPopupItemProc;
  KsPopupItemProc = TrackSubMenu;
  SubLoops = 0;
  PlaceCursor(1000, 700);
  // Return opens the sub-menu; its loop then takes Down and Return.
  StartSteps({When([&] { return View->Tracking(); }, [&] { PostKeyTo(Host, VK_RETURN); }),
              When([] { return SubView->Tracking(); }, [] { PostKeyTo(SubView->Control(), VK_DOWN); }),
              [] { PostKeyTo(SubView->Control(), VK_RETURN); }});
  EXPECT_TRUE(View->Track());
  const std::vector<std::string> SeenAtEnd = Clicks;
  KsPopupItemProc = Saved;
  EXPECT_EQ(SubLoops, 1);
  EXPECT_FALSE(View->Tracking());
  EXPECT_FALSE(SubView->Tracking());
  EXPECT_EQ(View->HotItem(), nullptr) << "the click closed every menu";
  EXPECT_EQ(NestedCaptureDepth(), 0);
  EXPECT_TRUE(SeenAtEnd.empty());
  RunPostedClicks();
  EXPECT_EQ(Clicks, std::vector<std::string>{"second"});
}

TEST_F(KsItemViewTest, EscapeLeavesTheLoopWithoutAClick) {
  TKsCustomItem* A = NewItem("a", Root);
  A->OnClick = Recorder.Event();
  PlaceCursor(1000, 700);
  StartSteps({When([&] { return View->Tracking(); }, [&] { PostKeyTo(Host, VK_ESCAPE); })});
  EXPECT_TRUE(View->Track());
  EXPECT_EQ(View->HotItem(), nullptr);
  RunPostedClicks();
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(KsItemViewTest, AMouseDownOutsideClosesTheMenuAndReachesTheWindowBelow) {
  NewItem("a", Root);
  PlaceCursor(1000, 700);
  std::vector<std::string> Log;
  TProbe* Other = AddChild<TProbe>(Form, &Log);
  Other->SetBounds(220, 10, 60, 60);
  int Downs = 0;
  struct TCounter : TObject {
    int* N;
    void Hit(TObject*, TMouseButton, TShiftState, int, int) { ++*N; }
  } Counter;
  Counter.N = &Downs;
  Other->OnMouseDown = TMouseEvent::Bind<&TCounter::Hit>(&Counter);
  PostMessageA(Other->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(View->Track());
  EXPECT_EQ(Downs, 0) << "the press is still queued";
  Pump();
  EXPECT_EQ(Downs, 1);
}

// ---------------------------------------------------------------------------------
// Actions

class KsActionTest : public KsItemsTest {
 protected:
  void SetUp() override {
    KsItemsTest::SetUp();
    Images = Keep(NewObject<TImageList>(nullptr));
    TOwned<TBitmap> Red(NewObject<TBitmap>());
    Red->SetSize(16, 16);
    Red->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(255, 0, 0)));
    Red->Canvas()->FillRect(TRect{0, 0, 16, 16});
    Images->Add(Red.get(), nullptr);
    List = Keep(NewObject<TActionList>(nullptr));
    List->SetImages(Images);
    Act = Keep(NewObject<TAction>(nullptr));
    Act->SetActionList(List);
    Act->SetCaption("Run");
    Act->SetImageIndex(0);
    Act->OnExecute = Executed.Event();
  }
  void TearDown() override {
    // Clients first, then the action, its list and the images.
    std::reverse(Owned.begin(), Owned.end());
    KsItemsTest::TearDown();
  }
  TImageList* Images = nullptr;
  TActionList* List = nullptr;
  TAction* Act = nullptr;
  TChangeCounter Executed;
};

TEST_F(KsActionTest, AnItemFollowsItsAction) {
  TKsCustomItem* Root = NewItem("root");
  TKsCustomItem* Item = NewItem("", Root);
  Item->SetAction(Act);
  EXPECT_EQ(Item->Caption(), "Run");
  EXPECT_EQ(Item->ImageIndex(), 0);
  EXPECT_FALSE(Item->IsCaptionStored());
  Act->SetCaption("Go");
  EXPECT_EQ(Item->Caption(), "Go");
  Item->SetCaption("Own");
  EXPECT_TRUE(Item->IsCaptionStored());
  Item->Click();
  RunPostedClicks();
  EXPECT_EQ(Executed.Count, 1);
  EXPECT_EQ(Executed.Sender, Act);
  Act->Free();
  Owned.erase(std::find(Owned.begin(), Owned.end(), Act));
  EXPECT_EQ(Item->Action(), nullptr) << "a freed action is let go";
}

TEST_F(KsActionTest, APushButtonFollowsItsActionsCaptionImageAndOnExecute) {
  TForm* Form = ShownForm(200, 100);
  auto* Button = AddChild<TKsCustomButton>(Form);
  Button->SetAction(Act);
  EXPECT_EQ(Button->Caption(), "Run");
  ASSERT_FALSE(Button->Glyph()->Empty()) << "the action's image is the glyph";
  EXPECT_EQ(Button->Glyph()->Canvas()->Pixels(8, 8), static_cast<TColor>(RGB(255, 0, 0)));
  Act->SetCaption("Again");
  EXPECT_EQ(Button->Caption(), "Again");
  Act->SetEnabled(false);
  EXPECT_FALSE(Button->Enabled());
  Act->SetEnabled(true);
  Button->Click();
  EXPECT_EQ(Executed.Count, 1);
  // An OnClick of the button's own runs instead of the action.
  TChangeCounter ButtonClicks;
  Button->OnClick = ButtonClicks.Event();
  Button->Click();
  EXPECT_EQ(Executed.Count, 1);
  EXPECT_EQ(ButtonClicks.Count, 1);
}

// ---------------------------------------------------------------------------------
// Form files

// A component that holds a tree of items as a menu does: its root's children are
// its children in a form file.
class TItemHolder : public TComponent {
  TCLASS_DECL(TItemHolder, TComponent)
 public:
  explicit TItemHolder(TComponent* AOwner) : TComponent(AOwner) {
    FItems = NewObject<TKsCustomItem>(nullptr);
    FItems->AssignParentComponent(this);
    RegisterItemParent(&StaticClass(), AddItem, nullptr);
  }
  void BeforeDestruction() override {
    UnregisterItemParent(&StaticClass());
    FreeAndNil(FItems);
    TComponent::BeforeDestruction();
  }
  TKsCustomItem* Items() const { return FItems; }
  void GetChildren(TGetChildProc Proc, TComponent* /*Root*/) override {
    for (int I = 0; I < FItems->Count(); ++I) Proc(FItems->Items(I));
  }
  static void AddItem(TComponent* Parent, TKsCustomItem* Item) {
    static_cast<TItemHolder*>(Parent)->FItems->Add(Item);
  }

 private:
  TKsCustomItem* FItems;
};
TCLASS_IMPL(TItemHolder)

TEST_F(KsItemsTest, AFormFileCarriesTheTreeAndLeavesOutWhatTheActionSupplies) {
  RegisterClass(&TItemHolder::StaticClass());
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(),
                    "form frmMenu: TForm\n"
                    "  component lstActions: TActionList\n"
                    "    component actRun: TAction\n"
                    "      Caption = \"Run\"\n"
                    "      ShortCut = 116\n"
                    "    end\n"
                    "  end\n"
                    "  component mnuMain: TItemHolder\n"
                    "    component mnuFile: TKsCustomItem\n"
                    "      Caption = \"&File\"\n"
                    "      component mnuRun: TKsCustomItem\n"
                    "        Action = actRun\n"
                    "      end\n"
                    "      component mnuLine: TKsCustomItem\n"
                    "        Caption = \"-\"\n"
                    "        Enabled = False\n"
                    "      end\n"
                    "    end\n"
                    "  end\n"
                    "end\n",
                    "menu");
  auto* Holder = ObjectAs<TItemHolder>(Root->FindComponent("mnuMain"));
  auto* File = ObjectAs<TKsCustomItem>(Root->FindComponent("mnuFile"));
  auto* Run = ObjectAs<TKsCustomItem>(Root->FindComponent("mnuRun"));
  ASSERT_TRUE(Holder && File && Run);
  EXPECT_EQ(File->Parent(), Holder->Items());
  EXPECT_EQ(File->GetParentComponent(), Holder);
  EXPECT_EQ(Run->Parent(), File);
  EXPECT_EQ(Run->GetParentComponent(), File);
  EXPECT_EQ(File->Count(), 2);
  EXPECT_FALSE(File->Items(1)->Enabled());
  EXPECT_EQ(Run->Caption(), "Run");
  EXPECT_EQ(Run->ShortCut(), VK_F5);
  const AnsiString Text = WriteComponentText(Root.get());
  const std::size_t RunAt = Text.find("mnuRun");
  ASSERT_NE(RunAt, AnsiString::npos) << Text;
  const std::size_t RunEnd = Text.find("end", RunAt);
  const AnsiString RunText = Text.substr(RunAt, RunEnd - RunAt);
  EXPECT_NE(RunText.find("Action = actRun"), AnsiString::npos) << Text;
  EXPECT_EQ(RunText.find("Caption"), AnsiString::npos) << Text;
  EXPECT_EQ(RunText.find("ShortCut"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Enabled = False"), AnsiString::npos) << Text;
  // The root a component holds goes into no other tree, by either way in.
  TKsCustomItem* Loose = NewItem("loose");
  ExpectRaises<EKsItemError>([&] { Loose->Add(Holder->Items()); },
                             "Toolbar item already inserted");
  ExpectRaises<EKsItemError>([&] { Holder->Items()->SetParentComponent(Loose); },
                             "Toolbar item already inserted");
  EXPECT_EQ(Loose->Count(), 0);
  EXPECT_EQ(Holder->Items()->Parent(), nullptr);
  EXPECT_EQ(Holder->Items()->Count(), 1);
  Root.reset();
  UnRegisterClass(&TItemHolder::StaticClass());
}

}  // namespace
