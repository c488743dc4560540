// What a cell keeps through an edit in its editor: an undo gives back the text the user
// saw before their last change, with the value it stood for; an edit that ends with the
// text it began with stores nothing, whatever happened in between and however it ends
// (a check cell toggled back included); a masked date of another century keeps it while
// its year is not typed; a date typed under the short date of then is read in those
// settings after they change; and the item a pick's text is, is the one equal to it,
// case and all.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_PopupList.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/LocaleSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms.h"

using namespace uitest;

namespace {

using tltest::TEditableTreeList;

void Key(HWND Window, WPARAM Key) {
  SendMessageA(Window, WM_KEYDOWN, Key, 1);
  Pump();
}

void Type(HWND Window, const std::string& Text) {
  for (char C : Text) SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(C), 1);
  Pump();
}

bool ReadsAs(const AnsiString& Text, TDateTime Expected) {
  TDateTime Read = 0;
  return TextToDate(Text, Read) && Read == Expected;
}

class TreeListKeptValueTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(500, 400);
    Other = AddChild<TProbe>(Form);
    Other->SetBounds(450, 10, 40, 20);
    Tree = NewObject<TEditableTreeList>(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->SetBorderStyle(bsNone);
    Tree->SetOptions(TdxTreeListOptions{aoEditing, aoTabs, aoTabThrough});
    Tree->HandleNeeded();
    SetForegroundWindow(Form->Handle());
    Pump();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  template <class C>
  C* Kind() {
    auto* Column = static_cast<C*>(Tree->CreateColumn(&C::StaticClass()));
    Column->SetWidth(150);
    return Column;
  }
  TdxTreeListNode* Node(const std::vector<const char*>& Texts) {
    TdxTreeListNode* Result = Tree->Add();
    for (std::size_t I = 0; I < Texts.size(); ++I) Result->SetStrings(static_cast<int>(I), Texts[I]);
    return Result;
  }
  template <class E>
  E* Edit(TdxTreeListNode* Cell, int Column) {
    Tree->SetFocusedNode(Cell, Column, true);
    Tree->SetFocus();
    Pump();
    Key(Tree->Handle(), VK_F2);
    EXPECT_EQ(Tree->State(), tsEditing);
    auto* Editor = ObjectAs<E>(Tree->InplaceEditor());
    EXPECT_NE(Editor, nullptr);
    return Editor;
  }
  // The ways an edit ends that store what the editor shows.
  enum class TEnd { Enter, Tab, AnotherRow, FocusLeft };
  void End(TEnd How, TdxTreeListNode* Another) {
    HWND Window = Tree->InplaceEditor()->Handle();
    switch (How) {
      case TEnd::Enter: Key(Window, VK_RETURN); break;
      case TEnd::Tab: Key(Window, VK_TAB); break;
      case TEnd::AnotherRow: {
        TRect R;
        Tree->GetCellRect(Another, 0, R);
        const LPARAM At = MAKELPARAM(R.left + 6, (R.top + R.bottom) / 2);
        SendMessageA(Tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
        SendMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At);
        Pump();
        break;
      }
      case TEnd::FocusLeft:
        Other->SetFocus();
        Pump();
        break;
    }
    if (Tree->State() == tsEditing) Tree->HideEditor(false);
  }
  static const char* Name(TEnd How) {
    switch (How) {
      case TEnd::Enter: return "Enter";
      case TEnd::Tab: return "Tab";
      case TEnd::AnotherRow: return "another row";
      default: return "focus left";
    }
  }

  TForm* Form = nullptr;
  TProbe* Other = nullptr;
  TEditableTreeList* Tree = nullptr;
};

// A digit typed over a selection is undone whole: the text before it, with the value it
// stood for, and Enter stores nothing. Redone, it is the digit's text again.
TEST_F(TreeListKeptValueTest, AnUndoGivesBackTheTextBeforeTheUsersLastChange) {
  Kind<TdxTreeListTimeColumn>();
  TdxTreeListNode* N = Node({"23:59:59"});
  Node({"00:00:01"});
  for (int At : {0, 1, 3, 4, 6, 7})
    for (int Way = 0; Way < 3; ++Way) {
      const std::string Where = "[" + std::to_string(At) + "], way " + std::to_string(Way);
      auto* Editor = Edit<TdxInplaceTimeEdit>(N, 0);
      ASSERT_NE(Editor, nullptr);
      HWND Window = Editor->Handle();
      SendMessageA(Window, EM_SETSEL, At, At + 1);
      Type(Window, "1");
      const AnsiString Typed = Editor->Text();
      ASSERT_NE(Typed, "23:59:59") << Where;
      if (Way == 0)
        edittest::SendCtrlKey(Window, 'Z');
      else
        SendMessageA(Window, Way == 1 ? WM_UNDO : EM_UNDO, 0, 0);
      Pump();
      EXPECT_EQ(Editor->Text(), "23:59:59") << Where;
      EXPECT_FALSE(Editor->GetModified()) << Where;
      EXPECT_NEAR(Editor->GetEditValue().AsDouble(), EncodeTime(23, 59, 59, 0), 1e-9) << Where;
      // Redone and undone again.
      if (Way == 0)
        edittest::SendCtrlKey(Window, 'Y');
      else
        SendMessageA(Window, EM_REDO, 0, 0);
      EXPECT_EQ(Editor->Text(), Typed) << Where << ", redone";
      EXPECT_TRUE(Editor->GetModified()) << Where << ", redone";
      SendMessageA(Window, EM_UNDO, 0, 0);
      EXPECT_EQ(Editor->Text(), "23:59:59") << Where << ", undone again";
      Key(Window, VK_RETURN);
      if (Tree->State() == tsEditing) Tree->HideEditor(false);
      EXPECT_EQ(N->Strings(0), "23:59:59") << Where;
    }
}

// An edit that ends with the editor showing the text it opened with leaves the cell's
// text as it was, byte for byte: a time whose format hides its seconds, midnight, a
// number of more digits than the spin editor writes, a date whose time format hides
// its seconds; whether the edit changed the text on the way and undid it, or typed a
// character over itself, and however the edit ends.
TEST_F(TreeListKeptValueTest, AnEditThatEndsWithTheTextItBeganWithStoresNothing) {
  TScopedLocaleInfo NoSeconds(LOCALE_STIMEFORMAT, "h:mm tt");
  InitFormatSettings();
  Kind<TdxTreeListTimeColumn>()->SetTimeEditFormat(tfHourMin);
  Kind<TdxTreeListSpinColumn>()->SetValueType(vtFloat);
  Kind<TdxTreeListDateColumn>();
  Kind<TdxTreeListCurrencyColumn>();
  struct TCase {
    int Column;
    const char* Stored;
    int From, To;
    const char* Typed;
    bool Undo;
  };
  const TCase Cases[] = {
      {0, "01:31:07", 1, 2, "0", true},       {0, "00:00:00", 0, 1, "1", true},
      {0, "01:31:07", 3, 4, "3", false},      {1, "0.30000000000000004", 0, 1, "0", false},
      {1, "0.30000000000000004", 2, 3, "7", true}, {2, "7/11/1925 6:30:15 PM", 0, 1, "7", false},
      {2, "7/11/1925 6:30:15 PM", 2, 4, "12", true}, {3, "1.50", 0, 1, "1", false},
  };
  for (const TCase& Case : Cases)
    for (TEnd How : {TEnd::Enter, TEnd::Tab, TEnd::AnotherRow, TEnd::FocusLeft}) {
      Tree->ClearNodes();
      TdxTreeListNode* N = Node({"", "", "", ""});
      N->SetStrings(Case.Column, Case.Stored);
      TdxTreeListNode* Another = Node({"", "", "", ""});
      const std::string Where = std::string(Case.Stored) + ", [" + std::to_string(Case.From) + "," +
                                std::to_string(Case.To) + ") \"" + Case.Typed + "\"" +
                                (Case.Undo ? ", undone, " : ", ") + Name(How);
      auto* Editor = Edit<TdxInplaceTextEdit>(N, Case.Column);
      ASSERT_NE(Editor, nullptr) << Where;
      HWND Window = Editor->Handle();
      const AnsiString Opened = Editor->Text();
      SendMessageA(Window, EM_SETSEL, Case.From, Case.To);
      Type(Window, Case.Typed);
      if (Case.Undo) {
        // Each character typed is a change of its own.
        ASSERT_NE(Editor->Text(), Opened) << Where;
        for (std::size_t Typed = std::string(Case.Typed).size(); Typed > 0; --Typed) edittest::SendCtrlKey(Window, 'Z');
      }
      ASSERT_EQ(Editor->Text(), Opened) << Where;
      EXPECT_FALSE(Editor->GetModified()) << Where;
      End(How, Another);
      EXPECT_EQ(N->Strings(Case.Column), Case.Stored) << Where;
    }
}

// A check cell toggled back to the state it opened in keeps its text, in whatever case
// it was written; toggled to another, it takes the column's text.
TEST_F(TreeListKeptValueTest, ACheckCellToggledBackKeepsItsText) {
  Kind<TdxTreeListCheckColumn>();
  for (int Toggles : {2, 1}) {
    TdxTreeListNode* N = Node({"true"});
    auto* Editor = Edit<TdxInplaceCheckEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    for (int T = 0; T < Toggles; ++T) SendMessageA(Editor->Handle(), WM_CHAR, ' ', 1);
    Pump();
    Key(Editor->Handle(), VK_RETURN);
    if (Tree->State() == tsEditing) Tree->HideEditor(false);
    EXPECT_EQ(N->Strings(0), Toggles == 2 ? "true" : "False") << Toggles;
  }
}

// A program that switches a time editor's mask, or its format, and back: the text and
// the time it holds stay.
TEST_F(TreeListKeptValueTest, AMaskOrFormatSwitchedAndBackKeepsTheTime) {
  Kind<TdxTreeListTimeColumn>()->SetTimeEditFormat(tfHourMin);
  TdxTreeListNode* N = Node({"01:31:07"});
  auto* Editor = Edit<TdxInplaceTimeEdit>(N, 0);
  ASSERT_NE(Editor, nullptr);
  const double Held = EncodeTime(1, 31, 7, 0);
  const AnsiString Kept = Editor->EditMask();
  Editor->SetEditMask("00:00;1;_");
  EXPECT_EQ(Editor->Text(), "01:31");
  Editor->SetEditMask(Kept);
  EXPECT_EQ(Editor->Text(), "01:31");
  EXPECT_NEAR(Editor->GetEditValue().AsDouble(), Held, 1e-9);
  Editor->SetTimeEditFormat(tfHour);
  Editor->SetTimeEditFormat(tfHourMin);
  EXPECT_EQ(Editor->Text(), "01:31");
  EXPECT_NEAR(Editor->GetEditValue().AsDouble(), Held, 1e-9);
  EXPECT_FALSE(Editor->GetModified());
  Key(Editor->Handle(), VK_RETURN);
  EXPECT_EQ(N->Strings(0), "01:31:07");
}

// Under a short date of two-digit years, a masked date outside the years they show keeps
// its century when a field other than the year is typed; a year typed takes the
// window's century.
TEST_F(TreeListKeptValueTest, AMaskedDateOutsideTheWindowKeepsItsCenturyWhenAnotherFieldIsTyped) {
  TScopedLocaleInfo TwoDigits(LOCALE_SSHORTDATE, "M/d/yy");
  InitFormatSettings();
  Kind<TdxTreeListDateColumn>()->SetUseEditMask(true);
  TdxTreeListNode* N = Node({"11/24/2050"});
  auto* Editor = Edit<TdxInplaceDateEdit>(N, 0);
  ASSERT_NE(Editor, nullptr);
  const AnsiString Opened = Editor->Text();
  const std::size_t Day = Opened.find('/') + 1;
  SendMessageA(Editor->Handle(), EM_SETSEL, static_cast<WPARAM>(Day), static_cast<LPARAM>(Day + 2));
  Type(Editor->Handle(), "11");
  Key(Editor->Handle(), VK_RETURN);
  EXPECT_TRUE(ReadsAs(N->Strings(0), EncodeDate(2050, 11, 11))) << Opened.c_str() << " stored as " << N->Strings(0).c_str();
  // The month, then the year typed.
  N->SetStrings(0, "3/4/1921");
  Editor = Edit<TdxInplaceDateEdit>(N, 0);
  SendMessageA(Editor->Handle(), EM_SETSEL, 0, 2);
  Type(Editor->Handle(), "05");
  Key(Editor->Handle(), VK_RETURN);
  EXPECT_TRUE(ReadsAs(N->Strings(0), EncodeDate(1921, 5, 4))) << N->Strings(0).c_str();
  N->SetStrings(0, "3/4/1921");
  Editor = Edit<TdxInplaceDateEdit>(N, 0);
  const AnsiString Shown = Editor->Text();
  const auto Year = static_cast<WPARAM>(Shown.rfind('/') + 1);
  SendMessageA(Editor->Handle(), EM_SETSEL, Year, static_cast<LPARAM>(Shown.size()));
  Type(Editor->Handle(), "22");
  Key(Editor->Handle(), VK_RETURN);
  EXPECT_TRUE(ReadsAs(N->Strings(0), EncodeDate(2022, 3, 4))) << N->Strings(0).c_str();
}

// A masked date cell of 1900 keeps its century while its year is not typed: a day that
// century lacks is refused aloud and the cell keeps its value; the year typed with the
// digits it showed takes the window's century.
TEST_F(TreeListKeptValueTest, AMaskedDateCellMovesItsCenturyOnlyWithTheYearTyped) {
  TValueScope<TMessageBeepProc> Beep(MessageBeepProc, edittest::CountBeep);
  TScopedLocaleInfo Restored(LOCALE_SSHORTDATE, "M/d/yy");
  Kind<TdxTreeListDateColumn>()->SetUseEditMask(true);
  for (const char* Picture : {"M/d/yy", "d/M/yy"}) {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Picture);
    InitFormatSettings();
    SendLocaleChanged(Form->Handle());
    Pump();
    const bool DayFirst = Picture[0] == 'd';
    const char* Held = DayFirst ? "27/2/1900" : "2/27/1900";
    TdxTreeListNode* N = Node({Held});
    auto* Editor = Edit<TdxInplaceDateEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    const int Day = DayFirst ? 0 : 3;
    SendMessageA(Editor->Handle(), EM_SETSEL, static_cast<WPARAM>(Day), Day + 2);
    Type(Editor->Handle(), "29");
    const int Beeps = edittest::Beeps;
    const std::size_t Told = Log->Messages.size();
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(edittest::Beeps, Beeps + 1) << Picture << ", " << Editor->Text().c_str();
    EXPECT_EQ(Log->Messages.size(), Told + 1) << Picture;
    EXPECT_EQ(N->Strings(0), Held) << Picture;
    if (Tree->State() == tsEditing) Tree->HideEditor(false);
    // The whole date typed, its year "00".
    N->SetStrings(0, DayFirst ? "28/7/1900" : "7/28/1900");
    Editor = Edit<TdxInplaceDateEdit>(N, 0);
    SendMessageA(Editor->Handle(), EM_SETSEL, 0, -1);
    Type(Editor->Handle(), DayFirst ? "050900" : "090500");
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_TRUE(ReadsAs(N->Strings(0), EncodeDate(2000, 9, 5))) << Picture << ": stored as " << N->Strings(0).c_str();
  }
}

// A date typed and kept in the mask of the short date it was typed under is read in those
// settings when the edit ends after the short date changed: the date the user saw.
TEST_F(TreeListKeptValueTest, ADateKeptInItsOldMaskIsReadInTheSettingsItWasTypedIn) {
  TScopedLocaleInfo Restored(LOCALE_SSHORTDATE, "M/d/yyyy");
  auto ShortDate = [](const char* Picture) { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Picture); };
  InitFormatSettings();
  Kind<TdxTreeListDateColumn>()->SetUseEditMask(true);
  for (const char* Typed : {"03041921", "12112099"}) {
    ShortDate("M/d/yyyy");
    SendLocaleChanged(Form->Handle());
    Pump();
    TdxTreeListNode* N = Node({"01/02/2020"});
    auto* Editor = Edit<TdxInplaceDateEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    SendMessageA(Editor->Handle(), EM_SETSEL, 0, -1);
    Type(Editor->Handle(), Typed);
    const std::string Digits = Typed;
    const TDateTime Date = EncodeDate(static_cast<Word>(std::stoi(Digits.substr(4))),
                                      static_cast<Word>(std::stoi(Digits.substr(0, 2))),
                                      static_cast<Word>(std::stoi(Digits.substr(2, 2))));
    ShortDate("d/M/yy");
    SendLocaleChanged(Form->Handle());
    Pump();
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_TRUE(ReadsAs(N->Strings(0), Date)) << Typed << " stored as " << N->Strings(0).c_str();
  }
}

// The item a pick's text is, is the one equal to it case and all: the list opens on it
// and takes it back unchanged; a step or the Revertable double click goes on from it,
// never from an item it is a beginning of.
TEST_F(TreeListKeptValueTest, APickTakesTheItemItsTextIsCaseAndAll) {
  auto* Pick = Kind<TdxTreeListPickColumn>();
  Pick->Items()->SetText("Apple\r\napple\r\nAPPLE\r\nb");
  for (const char* Held : {"apple", "APPLE"}) {
    TdxTreeListNode* N = Node({Held});
    auto* Editor = Edit<TdxInplacePickEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    Key(Editor->Handle(), VK_F4);
    ASSERT_TRUE(Editor->DroppedDown()) << Held;
    Key(Editor->Handle(), VK_RETURN);
    if (Tree->State() == tsEditing) Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(0), Held);
    // The list open, the text cut: the list follows what the text is now.
    Editor = Edit<TdxInplacePickEdit>(N, 0);
    Key(Editor->Handle(), VK_F4);
    SendMessageA(Editor->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(Editor->Handle(), WM_CUT, 0, 0);
    Pump();
    const AnsiString Left = Editor->Text();
    Key(Editor->Handle(), VK_RETURN);
    if (Tree->State() == tsEditing) Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(0), Left) << Held << ", cut";
  }
  Tree->ClearNodes();
  Pick->SetRevertable(true);
  const struct {
    const char* Items;
    const char* Held;
    const char* Next;
  } Steps[] = {{"apple\r\napp\r\nbanana", "app", "banana"},
               {"apple pie\r\napple\r\nbanana", "apple", "banana"},
               {"\r\napple\r\nbanana", "apple", "banana"}};
  for (const auto& Step : Steps) {
    Pick->Items()->SetText(Step.Items);
    TdxTreeListNode* N = Node({Step.Held});
    auto* Editor = Edit<TdxInplacePickEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    SendMessageA(Editor->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Editor->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(0), Step.Next) << Step.Held;
  }
}

// A pick cell whose list opened as the user typed: Ctrl+Z gives back the text before
// the key, and Enter stores nothing; a text typed or undone back to an item is that
// item, case and all, when Tab takes the list's choice.
TEST_F(TreeListKeptValueTest, APickCellUndoesAndTakesItsItemWithTheListOpen) {
  auto* Pick = Kind<TdxTreeListPickColumn>();
  Pick->Items()->SetText("apple\r\nApple\r\napricot\r\napp\r\nbanana\r\ncherry");
  TdxTreeListNode* N = Node({"banana"});
  auto* Editor = Edit<TdxInplacePickEdit>(N, 0);
  ASSERT_NE(Editor, nullptr);
  HWND Window = Editor->Handle();
  SendMessageA(Window, EM_SETSEL, 6, 6);
  Type(Window, "c");
  ASSERT_EQ(Editor->Text(), "bananac");
  ASSERT_TRUE(Editor->DroppedDown());
  edittest::SendCtrlKey(Window, 'Z');
  Pump();
  EXPECT_EQ(Editor->Text(), "banana");
  Key(Window, VK_RETURN);
  if (Tree->State() == tsEditing) Key(Window, VK_RETURN);
  if (Tree->State() == tsEditing) Tree->HideEditor(false);
  EXPECT_EQ(N->Strings(0), "banana");
  for (int Way = 0; Way < 2; ++Way) {
    N->SetStrings(0, "Apple");
    Editor = Edit<TdxInplacePickEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    Window = Editor->Handle();
    SendMessageA(Window, EM_SETSEL, 4, 5);
    Type(Window, "a");
    ASSERT_TRUE(Editor->DroppedDown()) << Way;
    if (Way == 0) {
      SendMessageA(Window, EM_SETSEL, 4, 5);
      Type(Window, "e");
    } else {
      SendMessageA(Window, WM_UNDO, 0, 0);
      SendMessageA(Window, EM_REDO, 0, 0);
      SendMessageA(Window, WM_UNDO, 0, 0);
      Pump();
    }
    ASSERT_EQ(Editor->Text(), "Apple") << Way;
    Key(Window, VK_TAB);
    if (Tree->State() == tsEditing) Tree->HideEditor(false);
    EXPECT_EQ(N->Strings(0), "Apple") << Way;
  }
}

}  // namespace
