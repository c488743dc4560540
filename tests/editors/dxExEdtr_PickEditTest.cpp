// The pick editor on real windows: completion while typing, stepping by keys and by
// double clicks, the list's size and the click that accepts from it, and the list's
// own timed search.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Clipbrd.h"
#include "classlib/ScopeExit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "tests/editors/CursorSupport.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

// The pick editor outside a grid.
class TOutsidePickEdit : public TdxInplacePickEdit {
  TCLASS_DECL(TOutsidePickEdit, TdxInplacePickEdit)
 public:
  using TdxInplacePickEdit::TdxInplacePickEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
TCLASS_IMPL(TOutsidePickEdit)

DWORD FakeTicks = 0;
DWORD FakeTickCount() { return FakeTicks; }

class PickEditTest : public EditTest {
 protected:
  void TearDown() override {
    dxTickCountProc = SavedTicks;
    EditTest::TearDown();
  }

  template <class T = TOutsidePickEdit>
  T* ShownEdit(std::initializer_list<const char*> Items) {
    TForm* Form = ShownForm(300, 200);
    auto* Edit = NewObject<T>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 24);
    for (const char* Item : Items) Edit->Items()->Add(Item);
    Pump();
    ::SetFocus(Edit->Handle());
    Pump();
    return Edit;
  }
  static void Type(TWinControl* Control, char Ch) {
    SendMessageA(Control->Handle(), WM_CHAR, static_cast<unsigned char>(Ch), 1);
  }
  static void Key(TWinControl* Control, WPARAM Key) { SendMessageA(Control->Handle(), WM_KEYDOWN, Key, 1); }
  static std::pair<int, int> Selection(TdxInplacePickEdit* Edit) {
    return {Edit->GetSelStart(), Edit->GetSelStart() + Edit->GetSelLength()};
  }

  TdxTickCountProc SavedTicks = dxTickCountProc;
};

// ---------------------------------------------------------------------------------
// Typing

TEST_F(PickEditTest, TypingCompletesToTheFirstItemAndSelectsTheCompletion) {
  auto* Edit = ShownEdit({"Apple", "apricot", "Banana"});
  Type(Edit, 'a');
  EXPECT_EQ("Apple", Edit->Text());
  EXPECT_EQ(std::make_pair(1, 5), Selection(Edit));
  Type(Edit, 'p');
  EXPECT_EQ("Apple", Edit->Text());
  EXPECT_EQ(std::make_pair(2, 5), Selection(Edit));
  Type(Edit, 'r');
  EXPECT_EQ("apricot", Edit->Text());
  EXPECT_EQ(std::make_pair(3, 7), Selection(Edit));
  EXPECT_TRUE(Edit->GetModified());
  // The list opened on the first key and follows the completion.
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(1, Edit->PickList()->ItemIndex());
}

TEST_F(PickEditTest, AKeyThatCompletesNothingIsInsertedAndADropDownListKeepsItsText) {
  auto* Edit = ShownEdit({"Apple", "apricot", "Banana"});
  Edit->SetImmediateDropDown(false);
  Type(Edit, 'z');
  EXPECT_EQ("z", Edit->Text());
  Type(Edit, 'y');
  EXPECT_EQ("zy", Edit->Text());
  EXPECT_EQ("zy", Edit->SearchText());

  auto* List = ShownEdit({"Apple", "Banana"});
  List->SetImmediateDropDown(false);
  List->SetDropDownListStyle(true);
  Type(List, 'b');
  EXPECT_EQ("Banana", List->Text());
  Type(List, 'x');
  EXPECT_EQ("Banana", List->Text());
}

TEST_F(PickEditTest, BackspaceInADropDownListEmptiesAWhollySelectedTextOnlyWhenAllowed) {
  auto* Edit = ShownEdit({"Apple", "Banana"});
  Edit->SetImmediateDropDown(false);
  Edit->SetDropDownListStyle(true);
  Edit->SetEditValue(Variant(AnsiString("Banana")));
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  Type(Edit, '\b');
  EXPECT_EQ("Banana", Edit->Text());
  Edit->SetCanDeleteText(true);
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  Type(Edit, '\b');
  EXPECT_EQ("", Edit->Text());
}

// ---------------------------------------------------------------------------------
// Stepping

TEST_F(PickEditTest, StandaloneArrowsStepWithoutWrappingAndARevertableDoubleClickWraps) {
  auto* Edit = ShownEdit({"A", "B", "C"});
  Edit->SetEditValue(Variant(AnsiString("C")));
  Key(Edit, VK_DOWN);
  EXPECT_EQ("C", Edit->Text());
  Key(Edit, VK_UP);
  EXPECT_EQ("B", Edit->Text());
  EXPECT_EQ(1, Edit->RememberedItemIndex());

  Edit->SetEditValue(Variant(AnsiString("C")));
  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ("C", Edit->Text());  // not revertable
  Edit->SetRevertable(true);
  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ("A", Edit->Text());
}

TEST_F(PickEditTest, PageKeysStepAPageLessOneAndGridEditorsLeaveTheArrowsToTheGrid) {
  auto* Edit = ShownEdit({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
  Edit->SetEditValue(Variant(AnsiString("1")));
  Key(Edit, VK_NEXT);
  EXPECT_EQ("7", Edit->Text());
  Key(Edit, VK_NEXT);
  EXPECT_EQ("9", Edit->Text());
  Key(Edit, VK_PRIOR);
  EXPECT_EQ("3", Edit->Text());

  auto* Host = ShownContainer();
  auto* InGrid = HostedEdit<TdxInplacePickEdit>(Host);
  InGrid->Items()->Add("A");
  InGrid->Items()->Add("B");
  InGrid->ShowAt(Rect(5, 5, 150, 25));
  InGrid->SetEditValue(Variant(AnsiString("A")));
  Key(InGrid, VK_DOWN);
  EXPECT_EQ("A", InGrid->Text());
  ASSERT_EQ(1u, Host->HostKeys.size());
  EXPECT_EQ(VK_DOWN, Host->HostKeys[0]);
}

// A newly bound value is where stepping starts, not the item stepped to before.
TEST_F(PickEditTest, AValueSetFromOutsideForgetsTheItemSteppedTo) {
  auto* Edit = ShownEdit({"A", "B", "C", "D"});
  Edit->SetEditValue(Variant(AnsiString("A")));
  Key(Edit, VK_DOWN);
  ASSERT_EQ("B", Edit->Text());
  Edit->SetEditValue(Variant(AnsiString("D")));
  EXPECT_EQ(-1, Edit->RememberedItemIndex());
  Key(Edit, VK_UP);
  EXPECT_EQ("C", Edit->Text());
}

// The editor is reused from cell to cell, each loaded by its text: a step and the open
// list start from the item the text is, never from the item stepped to in another cell.
// Of two equal items, the one stepped to stays told apart while the text is its text.
TEST_F(PickEditTest, StepsAndTheListStartFromTheItemTheTextIs) {
  auto* Edit = ShownEdit({"apple", "apricot", "banana", "cherry"});
  Edit->SetRevertable(true);
  auto DoubleClick = [Edit] {
    SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  };
  Edit->SetEditValue(Variant(AnsiString("cherry")));
  DoubleClick();
  ASSERT_EQ("apple", Edit->Text());
  Edit->SetText("banana");
  DoubleClick();
  EXPECT_EQ("cherry", Edit->Text());
  Edit->SetText("apricot");
  Key(Edit, VK_DOWN);
  EXPECT_EQ("banana", Edit->Text());
  // The open list selects the item the text is, and follows a change of it.
  Key(Edit, VK_UP);
  ASSERT_EQ("apricot", Edit->Text());
  Edit->SetText("cherry");
  Edit->DropDown();
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(3, Edit->PickList()->ItemIndex());
  Clipboard()->SetAsText("banana");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  ASSERT_EQ("banana", Edit->Text());
  EXPECT_EQ(2, Edit->PickList()->ItemIndex());
  Edit->CloseUp(true);
  EXPECT_EQ("banana", Edit->Text());

  auto* Twice = ShownEdit({"a", "b", "a"});
  Twice->SetEditValue(Variant(AnsiString("b")));
  Key(Twice, VK_DOWN);
  ASSERT_EQ(2, Twice->RememberedItemIndex());
  Key(Twice, VK_UP);
  EXPECT_EQ("b", Twice->Text());
}

// The item a text is, is the one equal to it case and all, else one equal but for the
// case; an item the text only begins, or begins with, is another item. The list opens on
// it, and an arrow, the wheel or the Revertable double click steps on from it.
TEST_F(PickEditTest, TheItemATextIsIsTheOneEqualToItCaseAndAll) {
  auto* Edit = ShownEdit({"Apple", "apple", "APPLE", "b"});
  for (int Held : {1, 2}) {
    Edit->SetEditValue(Variant(Edit->Items()->Strings(Held)));
    Edit->DropDown();
    ASSERT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Held, Edit->PickList()->ItemIndex());
    Edit->CloseUp(true);
    EXPECT_EQ(Edit->Items()->Strings(Held), Edit->Text());
    Key(Edit, VK_DOWN);
    EXPECT_EQ(Edit->Items()->Strings(Held + 1), Edit->Text());
  }
  // No item equal but for the case: the one equal to it in another case.
  Edit->SetEditValue(Variant(AnsiString("aPPle")));
  Key(Edit, VK_DOWN);
  EXPECT_EQ("apple", Edit->Text());
  // A cut the open list refuses moves nothing in it: the item the user moved to stays.
  Edit->SetEditValue(Variant(AnsiString("apple")));
  Edit->DropDown();
  ASSERT_TRUE(Edit->DroppedDown());
  ASSERT_EQ(1, Edit->PickList()->ItemIndex());
  Key(Edit, VK_DOWN);
  ASSERT_EQ(2, Edit->PickList()->ItemIndex());
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  edittest::SendCtrlKey(Edit->Handle(), 'X');
  EXPECT_EQ("apple", Edit->Text());
  EXPECT_EQ(2, Edit->PickList()->ItemIndex());
  // Closed without a choice, the text is as it was.
  Edit->CloseUp(false);
  EXPECT_EQ("apple", Edit->Text());
  const struct {
    std::initializer_list<const char*> Items;
    const char* Held;
    const char* Next;
  } Steps[] = {{{"apple", "app", "banana"}, "app", "banana"},
               {{"apple pie", "apple", "banana"}, "apple", "banana"},
               {{"", "apple", "banana"}, "apple", "banana"}};
  for (const auto& Step : Steps)
    for (int Way = 0; Way < 3; ++Way) {
      auto* Steps = ShownEdit(Step.Items);
      Steps->SetRevertable(true);
      Steps->SetEditValue(Variant(AnsiString(Step.Held)));
      if (Way == 0) {
        Key(Steps, VK_DOWN);
      } else if (Way == 1) {
        SendMessageA(Steps->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
      } else {
        SendMessageA(Steps->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Steps->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      }
      EXPECT_EQ(Step.Next, Steps->Text()) << Step.Held << ", way " << Way;
    }
}

// Outside a grid as in a cell, Tab and Shift+Tab with the list open take the item the
// list shows chosen, and the focus moves on.
TEST_F(PickEditTest, TabWithTheListOpenTakesItsChoiceAndMovesOn) {
  for (bool Backward : {false, true}) {
    auto* Edit = ShownEdit({"apple", "apricot", "banana", "cherry"});
    auto* Next = NewObject<TOutsidePickEdit>(Edit->Owner());
    Next->SetParent(Edit->Parent());
    Next->SetBounds(10, 50, 150, 24);
    Pump();
    Edit->SetEditValue(Variant(AnsiString("banana")));
    Edit->SetModified(false);
    ::SetFocus(Edit->Handle());
    SendMessageA(Edit->Handle(), EM_SETSEL, 6, 6);
    Type(Edit, 'k');
    ASSERT_TRUE(Edit->DroppedDown());
    ASSERT_EQ("bananak", Edit->Text());
    uitest::PressKey(VK_DOWN);
    uitest::PressKey(VK_DOWN);
    const int Chosen = Edit->PickList()->ItemIndex();
    ASSERT_GE(Chosen, 0);
    const AnsiString Choice = Edit->Items()->Strings(Chosen);
    {
      edittest::THeldKeys Shift(Backward ? std::vector<int>{VK_SHIFT} : std::vector<int>{});
      uitest::PressKey(VK_TAB);
    }
    EXPECT_EQ(Choice, Edit->Text()) << Backward;
    EXPECT_TRUE(Edit->GetModified()) << Backward;
    EXPECT_FALSE(Edit->DroppedDown()) << Backward;
    EXPECT_EQ(Next->Handle(), GetFocus()) << Backward;
  }
}

// Ctrl+Z and Ctrl+Y act on the text whether the list is open or not, as the undo and
// redo messages do, and the open list follows the text they give back.
TEST_F(PickEditTest, UndoAndRedoKeysActOnTheTextWithTheListOpen) {
  for (const char* Start : {"zz", "banana"}) {
    auto* Edit = ShownEdit({"apple", "Apple", "apricot", "app", "banana", "cherry"});
    HWND Window = Edit->Handle();
    Edit->SetEditValue(Variant(AnsiString(Start)));
    const auto End = static_cast<WPARAM>(AnsiString(Start).size());
    SendMessageA(Window, EM_SETSEL, End, End);
    Type(Edit, Start[0] == 'z' ? 'e' : 'c');
    const AnsiString Typed = Edit->Text();
    ASSERT_NE(AnsiString(Start), Typed);
    ASSERT_TRUE(Edit->DroppedDown()) << Start;
    const int StartItem = Edit->Items()->IndexOf(Start);
    EXPECT_EQ(1, SendMessageA(Window, EM_CANUNDO, 0, 0)) << Start;
    edittest::SendCtrlKey(Window, 'Z');
    EXPECT_EQ(AnsiString(Start), Edit->Text()) << Start;
    EXPECT_EQ(0, SendMessageA(Window, EM_CANUNDO, 0, 0)) << Start;
    EXPECT_EQ(1, SendMessageA(Window, EM_CANREDO, 0, 0)) << Start;
    ASSERT_TRUE(Edit->DroppedDown()) << Start;
    EXPECT_EQ(StartItem, Edit->PickList()->ItemIndex()) << Start;
    edittest::SendCtrlKey(Window, 'Y');
    EXPECT_EQ(Typed, Edit->Text()) << Start;
    EXPECT_EQ(1, SendMessageA(Window, EM_CANUNDO, 0, 0)) << Start;
    EXPECT_EQ(0, SendMessageA(Window, EM_CANREDO, 0, 0)) << Start;
    EXPECT_EQ(-1, Edit->PickList()->ItemIndex()) << Start;
    Edit->CloseUp(false);
  }
}

// A text that came back to an item, by typing or by an undo with the list open, is that
// item case and all: the list's choice, which Tab takes, is it, not the first item that
// begins with it in another case.
TEST_F(PickEditTest, ATextThatCameBackToAnItemIsThatItemForTheList) {
  auto* Host = ShownContainer();
  for (int Way = 0; Way < 3; ++Way) {
    auto* Edit = HostedEdit<TdxInplacePickEdit>(Host);
    for (const char* Item : {"apple", "Apple", "apricot", "app", "banana", "cherry"}) Edit->Items()->Add(Item);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Edit->SetEditValue(Variant(AnsiString("Apple")));
    Edit->SetModified(false);
    Edit->SetEditActive(true);
    HWND Window = Edit->Handle();
    Key(Edit, VK_F2);
    SendMessageA(Window, EM_SETSEL, 4, 5);
    Type(Edit, 'a');
    ASSERT_EQ("Appla", Edit->Text()) << Way;
    ASSERT_TRUE(Edit->DroppedDown()) << Way;
    if (Way == 0) {
      SendMessageA(Window, EM_SETSEL, 4, 5);
      Type(Edit, 'e');
    } else if (Way == 1) {
      SendMessageA(Window, WM_UNDO, 0, 0);
      SendMessageA(Window, EM_REDO, 0, 0);
      SendMessageA(Window, WM_UNDO, 0, 0);
    } else {
      edittest::SendCtrlKey(Window, 'Z');
      edittest::SendCtrlKey(Window, 'Y');
      edittest::SendCtrlKey(Window, 'Z');
    }
    ASSERT_EQ("Apple", Edit->Text()) << Way;
    ASSERT_TRUE(Edit->DroppedDown()) << Way;
    EXPECT_EQ(1, Edit->PickList()->ItemIndex()) << Way;
    Key(Edit, VK_TAB);
    EXPECT_FALSE(Edit->DroppedDown()) << Way;
    EXPECT_EQ("Apple", Edit->Text()) << Way;
    Edit->Free();
  }
}

// Escape gives back the text and the value the edit began with, the list open or not;
// a character typed inside the text searches for the text it makes, so that a Backspace
// after it completes nothing the user never had.
TEST_F(PickEditTest, EscapeWithTheListOpenGivesBackTheTextTheEditBeganWith) {
  for (bool Closed : {false, true}) {
    auto* Edit = ShownEdit({"apple", "Apple", "apricot", "app", "banana", "cherry"});
    HWND Window = Edit->Handle();
    Edit->SetEditValue(Variant(AnsiString("app")));
    Edit->SetModified(false);
    Edit->SetEditActive(true);
    SendMessageA(Window, WM_UNDO, 0, 0);
    Key(Edit, VK_RETURN);
    SendMessageA(Window, EM_SETSEL, 0, 0);
    Type(Edit, 'c');
    ASSERT_EQ("capp", Edit->Text()) << Closed;
    ASSERT_TRUE(Edit->DroppedDown()) << Closed;
    EXPECT_EQ("capp", Edit->SearchText()) << Closed;
    SendMessageA(Window, EM_SETSEL, 0, -1);
    Key(Edit, VK_BACK);
    Type(Edit, '\b');
    EXPECT_NE("apple", Edit->Text()) << Closed;
    if (Closed) Edit->CloseUp(false);
    Key(Edit, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown()) << Closed;
    EXPECT_EQ("app", Edit->Text()) << Closed;
    EXPECT_EQ("app", VarToStr(Edit->GetEditValue())) << Closed;
    EXPECT_FALSE(Edit->GetModified()) << Closed;
  }
}

// ---------------------------------------------------------------------------------
// The list

TEST_F(PickEditTest, TheListShowsAtMostDropDownRowsItems) {
  auto* Three = ShownEdit({"a", "b", "c"});
  Three->DropDown();
  ASSERT_TRUE(Three->DroppedDown());
  TdxPopupPickListBox* List = Three->PickList();
  EXPECT_TRUE(IsWindowVisible(List->Handle()));
  const int Row = List->MeasuredItemHeight();
  EXPECT_EQ(3 * Row, List->ClientHeight());
  Three->CloseUp(false);
  EXPECT_FALSE(IsWindowVisible(List->Handle()));

  auto* Twenty = ShownEdit({});
  for (int I = 0; I < 20; ++I) Twenty->Items()->Add(AnsiString(1, static_cast<char>('a' + I)));
  ASSERT_EQ(7, Twenty->DropDownRows());
  Twenty->DropDown();
  EXPECT_EQ(7 * Row, Twenty->PickList()->ClientHeight());
  // Placed under the editor, at least as wide.
  RECT EditRect;
  RECT ListRect;
  GetWindowRect(Twenty->Handle(), &EditRect);
  GetWindowRect(Twenty->PickList()->Handle(), &ListRect);
  EXPECT_GE(ListRect.top, EditRect.bottom - 2);
  EXPECT_GE(ListRect.right - ListRect.left, EditRect.right - EditRect.left - 4);
}

TEST_F(PickEditTest, EmptyItemsOpenNothingButTheButtonClickIsTold) {
  auto* Edit = ShownEdit({});
  uitest::TChangeCounter Clicks;
  Edit->OnEditButtonClick = Clicks.Event();
  Edit->DropDown();
  EXPECT_EQ(1, Clicks.Count);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(Edit->PickList()->HandleAllocated() && IsWindowVisible(Edit->PickList()->Handle()));
}

TEST_F(PickEditTest, ARealPressInTheListAcceptsWithoutActivatingIt) {
  auto* Edit = ShownEdit({"one", "two", "three"});
  HWND Active = GetActiveWindow();
  Edit->DropDown();
  ASSERT_TRUE(Edit->DroppedDown());
  HWND List = Edit->PickList()->Handle();
  RECT Item;
  SendMessageA(List, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&Item));
  POINT At{Item.left + 5, (Item.top + Item.bottom) / 2};
  ClientToScreen(List, &At);
  // The cursor goes back where it was: a list that opens under it follows it. It
  // leaves from over no window of the test, so that no window reports the place it
  // leaves after it has gone.
  POINT Saved;
  GetCursorPos(&Saved);
  auto Restore = ScopeExit([&] {
    ShowWindow(GetAncestor(Edit->Handle(), GA_ROOT), SW_HIDE);
    Pump();
    edittest::PlaceCursor(Saved.x, Saved.y);
    Pump();
  });
  ASSERT_TRUE(edittest::RealClick(At.x, At.y));
  // The real press may take a while to arrive on a loaded machine.
  uitest::PumpUntil([&] { return !Edit->DroppedDown(); }, 10000);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ("three", Edit->Text());
  EXPECT_EQ(Edit->Handle(), GetFocus());
  EXPECT_EQ(Active, GetActiveWindow());
}

TEST_F(PickEditTest, TheListsSearchStartsAgainAfterTwoSecondsWithoutAKey) {
  dxTickCountProc = FakeTickCount;
  auto* Edit = ShownEdit({"banana", "bandit", "cherry", "cola"});
  Edit->DropDown();
  TdxPopupPickListBox* List = Edit->PickList();
  FakeTicks = 10000;
  Type(List, 'b');
  FakeTicks = 10500;
  Type(List, 'a');
  FakeTicks = 11000;
  Type(List, 'n');
  FakeTicks = 11400;
  Type(List, 'd');
  EXPECT_EQ("band", List->SearchText());
  EXPECT_EQ(1, List->ItemIndex());
  // A key that matches nothing is dropped from the search.
  Type(List, 'q');
  EXPECT_EQ("band", List->SearchText());
  FakeTicks = 13900;  // 2.5 s after the last search key
  Type(List, 'c');
  EXPECT_EQ("c", List->SearchText());
  EXPECT_EQ(2, List->ItemIndex());
  FakeTicks = 14000;
  Type(List, 'o');
  EXPECT_EQ(3, List->ItemIndex());
}

}  // namespace
