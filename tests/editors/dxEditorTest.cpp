// The text editor on a real rich edit window: the forced case when typing and pasting,
// the length limit, values set without change events, the selection operations, the
// editing menu through the menu seam, and the window class of editors that are not
// native edits.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "classlib/Menus.h"
#include "classlib/StrUtils.h"
#include "editors/dxEditor.h"
#include "editors/dxExEdtr_ButtonEdit.h"
#include "editors/dxExEdtr_CalcEdit.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_Hyperlink.h"
#include "editors/dxExEdtr_MRUEdit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxMemo.h"
#include "tests/editors/ChildRunSupport.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

// A text editor whose window is not a native edit.
class TPaintedTextEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TPaintedTextEdit, TdxInplaceTextEdit)
 public:
  using TdxInplaceTextEdit::TdxInplaceTextEdit;

 protected:
  bool IsNativeEdit() override { return false; }
};

// A text editor outside a grid, whose typed Tab reaches its window.
class TOutsideTextEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TOutsideTextEdit, TdxInplaceTextEdit)
 public:
  using TdxInplaceTextEdit::TdxInplaceTextEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};

// What the menu seam saw of the last menu shown.
struct TShownMenu {
  int Count = 0;
  HMENU Menu = nullptr;
  POINT At{0, 0};
  std::vector<bool> Enabled;  // by position
  UINT Choose = 0;            // the position to choose + 1; 0 chooses nothing
};
TShownMenu Shown;

UINT RecordMenu(HMENU Menu, UINT /*Flags*/, int X, int Y, HWND /*Owner*/) {
  ++Shown.Count;
  Shown.Menu = Menu;
  Shown.At = POINT{X, Y};
  Shown.Enabled.clear();
  for (int I = 0; I < GetMenuItemCount(Menu); ++I)
    Shown.Enabled.push_back((GetMenuState(Menu, I, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0);
  return Shown.Choose ? GetMenuItemID(Menu, static_cast<int>(Shown.Choose) - 1) : 0;
}

enum { Undo, Redo, Line1, Cut, Copy, Paste, Delete, Line2, SelectAll };

}  // namespace

TCLASS_IMPL(TPaintedTextEdit)
TCLASS_IMPL(TOutsideTextEdit)

namespace {

class TextEditTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    SavedTrack = TrackPopupMenuProc;
    TrackPopupMenuProc = RecordMenu;
    Shown = TShownMenu();
  }
  void TearDown() override {
    TrackPopupMenuProc = SavedTrack;
    EditTest::TearDown();
  }

  // A text editor over a cell of a shown container, focused.
  TdxInplaceTextEdit* ShownEdit() {
    Host = ShownContainer();
    TdxInplaceTextEdit* Edit = HostedEdit<TdxInplaceTextEdit>(Host);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  static void Type(TdxInplaceTextEdit* Edit, const char* Text) {
    for (const char* P = Text; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(*P), 1);
  }
  static void Select(TdxInplaceTextEdit* Edit, int Start, int End) {
    CHARRANGE Range{Start, End};
    SendMessageA(Edit->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  }
  static void MenuKey(TdxInplaceTextEdit* Edit) {
    SendMessageA(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()), MAKELPARAM(-1, -1));
  }

  TTestContainer* Host = nullptr;
  TTrackPopupMenuProc SavedTrack = nullptr;
};

TEST_F(TextEditTest, TheWindowIsAPlainTextRichEdit) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  char Class[64] = {};
  GetClassNameA(Edit->Handle(), Class, sizeof(Class));
  EXPECT_STREQ("TdxInplaceTextEdit", Class);
  EXPECT_EQ(TM_PLAINTEXT, SendMessageA(Edit->Handle(), EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT);
  EXPECT_NE(nullptr, RichEditLibrary());
  // The text set before the window was made is there, and the window knows its caption.
  TdxInplaceTextEdit* Other = HostedEdit<TdxInplaceTextEdit>(Host);
  Other->DestroyHandle();
  Other->SetText("kept");
  Other->HandleNeeded();
  EXPECT_EQ("kept", Other->Text());
}

// A one-line window keeps its tabs, however they come, as a memo does: set, through an
// edit that comes to nothing, read back as a value, pasted, typed, and without a window
// until the window is made (here an unmasked mask editor's, which inherits it).
TEST_F(TextEditTest, AOneLineWindowKeepsItsTabsAsAMemoDoes) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetText("a\tb");
  Select(Edit, 3, 3);
  Type(Edit, "x");
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ("a\tb", Edit->Text());
  Edit->SetEditValue(Variant(AnsiString("\tc\t")));
  EXPECT_EQ("\tc\t", VarToStr(Edit->GetEditValue()));
  Select(Edit, 1, 1);
  Clipboard()->SetAsText("d\te");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("\td\tec\t", Edit->Text());

  auto* Outside = NewObject<TOutsideTextEdit>(Host->Owner());
  Outside->SetParent(static_cast<TWinControl*>(Host->Owner()));
  Outside->SetBounds(10, 150, 100, 24);
  Outside->HandleNeeded();
  Type(Outside, "f\tg");
  EXPECT_EQ("f\tg", Outside->Text());
  auto* Windowless = NewObject<TdxInplaceMaskEdit>(Host);
  Windowless->SetText("c\td");
  Windowless->SetParent(Host);
  Windowless->HandleNeeded();
  EXPECT_EQ("c\td", Windowless->Text());

  auto* Memo = HostedEdit<TdxInplaceMemoEdit>(Host);
  Memo->SetText("h\ti");
  EXPECT_EQ("h\ti", Memo->Text());
  Select(Memo, 0, -1);
  Clipboard()->SetAsText("j\tk");
  SendMessageA(Memo->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("j\tk", Memo->Text());
}

// Past about 1.49 million pixels along its line the control's walk over the tab stops
// never ends: a one-line editor refuses a tab that far along, a program's with
// EInvalidOperation, the user's with a beep, and a font that would put one there; a
// host's value holding one is kept whole, shown without its tabs in a read-only window.
// Run in a program of its own (below), so that a hang fails instead of stopping this one.
TEST_F(TextEditTest, DISABLED_ATabTooFarAlongTheLineIsRefused) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  const std::string Line(300000, 'x');
  const auto ExpectRefused = [](TdxInplaceTextEdit* Target, const std::function<void()>& Give) {
    const AnsiString Kept = Target->Text();
    EXPECT_THROW(Give(), EInvalidOperation);
    EXPECT_TRUE(Kept == Target->Text()) << Target->Text().size() << " characters";
  };
  Edit->SetText("kept\tz");
  ExpectRefused(Edit, [&] { Edit->SetText(Line + "\t"); });
  ExpectRefused(Edit, [&] { Edit->SetEditValue(Variant("a\t" + Line + "\tb")); });
  // At the line's start a tab is placed at once.
  Edit->SetText("\t" + Line);
  EXPECT_TRUE("\t" + Line == Edit->Text());
  // A run of tabs too long for the control to lay out in good time is refused for that.
  try {
    Edit->SetText(std::string(40000, '\t'));
    ADD_FAILURE() << "40,000 tabs taken";
  } catch (const EInvalidOperation& Error) {
    EXPECT_STREQ(SdxEditTooManyTabs, Error.Message().c_str());
  }
  // Typed (outside a grid, which takes no tab) or pasted.
  auto* Outside = NewObject<TOutsideTextEdit>(Host);
  Outside->SetParent(Host);
  for (TdxInplaceTextEdit* Target : {static_cast<TdxInplaceTextEdit*>(Outside), Edit}) {
    Target->SetText(Line);
    Select(Target, static_cast<int>(Line.size()), static_cast<int>(Line.size()));
  }
  Type(Outside, "\t");
  Clipboard()->SetAsText("\ty");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_TRUE(Line == Outside->Text() && Line == Edit->Text());
  EXPECT_EQ(2, Beeps);
  // Or picked from a list: the pick is refused with a beep, and nothing raises.
  auto* Pick = HostedEdit<TdxInplacePickEdit>(Host);
  Pick->Items()->Add("short");
  Pick->Items()->Add(Line + "\t");
  Pick->SetText("short");
  Pick->ScrollValue(1, false);
  EXPECT_EQ("short", Pick->Text());
  EXPECT_EQ(3, Beeps);

  // The window keeps its font and its text.
  const std::string Held = std::string(3000, 'x') + "\t";
  Edit->SetText(Held);
  const LRESULT Font = SendMessageA(Edit->Handle(), WM_GETFONT, 0, 0);
  const int Height = Edit->Font()->Height();
  ExpectRefused(Edit, [&] { Edit->Font()->SetHeight(2000); });
  EXPECT_EQ(Font, SendMessageA(Edit->Handle(), WM_GETFONT, 0, 0));
  EXPECT_EQ(Height, Edit->Font()->Height());

  const auto ReadOnly = [](TdxInplaceTextEdit* Target) {
    return (GetWindowLongA(Target->Handle(), GWL_STYLE) & ES_READONLY) != 0;
  };
  // A host's font takes the text the user edited, shown without its tab and held, and
  // a font the control places the tab in shows it again: the edit stays the user's.
  Select(Edit, 0, 0);
  Type(Edit, "q");
  ASSERT_TRUE(Edit->GetModified());
  Host->SetContainerFlag();
  Edit->Font()->SetHeight(2000);
  Host->ClearContainerFlag();
  EXPECT_TRUE(ReadOnly(Edit));
  EXPECT_TRUE(Edit->GetModified()) << "held in the host's font";
  Edit->Font()->SetHeight(Height);
  EXPECT_FALSE(ReadOnly(Edit));
  EXPECT_TRUE(Edit->GetModified()) << "shown again";
  EXPECT_TRUE("q" + Held == Edit->Text());
  // A host's value held, of which the window shows the first line: a selection that
  // reaches the end of what it shows reaches the end of the value, read, copied (by
  // message or Ctrl+C, after Ctrl+A) or replaced by a program; the user's changes,
  // keys with Ctrl among them, are refused with a beep.
  const std::string Value = Line + "\tz\r\nsecond\tline";
  Host->SetContainerFlag();
  Edit->SetText(Value);
  Host->ClearContainerFlag();
  Beeps = 0;
  Type(Edit, "q");
  for (char Letter : {'X', 'Z', 'Y'}) SendCtrlKey(Edit->Handle(), Letter);
  SendCtrlKey(Edit->Handle(), 'Z', {VK_SHIFT});
  EXPECT_EQ(5, Beeps);
  EXPECT_TRUE(Value == VarToStr(Edit->GetEditValue()));
  EXPECT_TRUE(ReadOnly(Edit));
  SendCtrlKey(Edit->Handle(), 'A');
  EXPECT_TRUE(Value == Edit->SelText()) << Edit->SelText().size();
  Clipboard()->SetAsText("");
  SendCtrlKey(Edit->Handle(), 'C');
  EXPECT_TRUE(Value == Clipboard()->AsText()) << Clipboard()->AsText().size();
  Select(Edit, 5, -1);
  EXPECT_TRUE(Value.substr(5) == Edit->SelText()) << Edit->SelText().size();
  Clipboard()->SetAsText("");
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  EXPECT_TRUE(Value.substr(5) == Clipboard()->AsText()) << Clipboard()->AsText().size();
  Edit->SetModified(false);
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\tr"));
  EXPECT_EQ(Value.substr(0, 5) + "\tr", Edit->Text());
  EXPECT_TRUE(Edit->GetModified()) << "a replacement of the selection is an edit";
  EXPECT_FALSE(ReadOnly(Edit));
  Edit->SetText("new\tvalue");
  EXPECT_FALSE(ReadOnly(Edit));

  // Without a window: the window made later holds the text kept.
  auto* Fresh = NewObject<TdxInplaceTextEdit>(Host);
  ExpectRefused(Fresh, [&] { Fresh->SetText(Line + "\t"); });
  Fresh->SetText(Held);
  ExpectRefused(Fresh, [&] { Fresh->Font()->SetHeight(2000); });
  EXPECT_EQ(Height, Fresh->Font()->Height());
  Fresh->SetParent(Host);
  Fresh->HandleNeeded();
  EXPECT_TRUE(Held == Fresh->Text());
  Fresh->Font()->SetHeight(-11);
  EXPECT_FALSE(ReadOnly(Fresh));
  EXPECT_TRUE(Held == Fresh->Text());
}

TEST_F(TextEditTest, ATabTooFarAlongTheLineIsRefusedAndHangsNothing) {
  edittest::ExpectDisabledTestsPass("TextEditTest.DISABLED_ATabTooFarAlongTheLineIsRefused", 1);
}

TEST_F(TextEditTest, TheTextAreaLiesInsideTheOffsetsAndTheSelectionBar) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetOffsets(Rect(4, 2, 3, 0));
  RECT Client;
  GetClientRect(Edit->Handle(), &Client);
  RECT Area{};
  SendMessageA(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Area));
  EXPECT_EQ(1 + 4, Area.left);
  EXPECT_EQ(1 + 2, Area.top);
  EXPECT_EQ(Client.right - 1 - 3, Area.right);

  // The selection bar takes 8 pixels more, and leaves the editor's size alone.
  Edit->SetSelectionBar(true);
  EXPECT_EQ(149, Edit->Width());
  EXPECT_EQ(24, Edit->Height());
  SendMessageA(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Area));
  EXPECT_EQ(1 + 8 + 4, Area.left);
  Edit->SetAlignment(taRightJustify);
  GetClientRect(Edit->Handle(), &Client);
  SendMessageA(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Area));
  EXPECT_EQ(Client.right - 1 - 1 - 3, Area.right);
}

TEST_F(TextEditTest, TypingWithUpperCaseInsertsCapitals) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetCharCase(ecUpperCase);
  Type(Edit, "a");
  EXPECT_EQ("A", Edit->Text());
  Edit->SetCharCase(ecLowerCase);  // makes the window again
  Edit->SetSelStart(1);
  Type(Edit, "B");
  // The typed letter, and the text, in the new case.
  EXPECT_EQ("ab", Edit->Text());
}

TEST_F(TextEditTest, PastedLowerCaseTextIsConvertedAndTheCaretStays) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetCharCase(ecUpperCase);
  Type(Edit, "AB");
  Edit->SetSelStart(1);
  Clipboard()->SetAsText("xyz");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  Pump();
  EXPECT_EQ("AXYZB", Edit->Text());
  // Setting the converted text would put the caret at the start.
  EXPECT_EQ(4, Edit->GetSelStart());
  EXPECT_EQ(0, Edit->GetSelLength());
  EXPECT_TRUE(Edit->GetModified());
}

TEST_F(TextEditTest, TextInsertedInTheMiddleIsConvertedAndTheSelectionKept) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetCharCase(ecUpperCase);
  Type(Edit, "ABCDEF");
  Edit->SetSelStart(3);
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("xyz"));
  Pump();
  EXPECT_EQ("ABCXYZDEF", Edit->Text());
  EXPECT_EQ(6, Edit->GetSelStart());
  Select(Edit, 1, 4);
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("q"));
  EXPECT_EQ("AQYZDEF", Edit->Text());
  EXPECT_EQ(2, Edit->GetSelStart());
}

TEST_F(TextEditTest, ANegativeMaxLengthIsStoredAsNoLimit) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetMaxLength(-5);
  EXPECT_EQ(0, Edit->MaxLength());
  EXPECT_TRUE(Edit->StoredValues().Contains(esvMaxLength));
  // A limit holds for typing.
  Edit->SetMaxLength(3);
  Type(Edit, "abcdef");
  EXPECT_EQ("abc", Edit->Text());
  // And over a selection the control lets run past the text, over the paragraph mark
  // that closes it (Shift+Right at the end): typed or pasted.
  auto PastTheEnd = [&] {
    Select(Edit, 3, 3);
    THeldKeys Shift({VK_SHIFT});
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
  };
  PastTheEnd();
  Type(Edit, "x");
  EXPECT_EQ("abc", Edit->Text());
  PastTheEnd();
  Clipboard()->SetAsText("xy");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("abc", Edit->Text());
  Edit->SetMaxLength(5);
  PastTheEnd();
  Type(Edit, "xyz");
  EXPECT_EQ("abcxy", Edit->Text());
  Edit->SetMaxLength(3);
  // Restoring the defaults takes the default again: no limit.
  Edit->RestoreDefaults();
  EXPECT_EQ(0, Edit->MaxLength());
  EXPECT_FALSE(Edit->StoredValues().Contains(esvMaxLength));
}

// No limit is no limit: the control's own default (64K) does not hold either.
TEST_F(TextEditTest, WithoutALimitATextPastTheControlsDefaultStillGrows) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetEditValue(Variant(std::string(66000, 'a')));
  Edit->SetSelStart(66000);
  Type(Edit, "b");
  EXPECT_EQ(66001, GetWindowTextLengthA(Edit->Handle()));
  // A limit set and taken back again.
  Edit->SetMaxLength(10);
  Edit->SetMaxLength(0);
  Edit->SetSelStart(66001);
  Type(Edit, "c");
  EXPECT_EQ(66002, GetWindowTextLengthA(Edit->Handle()));
}

TEST_F(TextEditTest, TheFormFileKeepsAMaxLengthSetExplicitly) {
  auto* Edit = FormEdit<TdxInplaceTextEdit>();
  Edit->SetMaxLength(12);
  auto* Read = ReadBack(Edit);
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ(12, Read->MaxLength());
  EXPECT_EQ(TdxEditStoredValues{esvMaxLength}, Read->StoredValues());
  // A limit nobody set is not written.
  AnsiString Text;
  ReadBack(FormEdit<TdxInplaceTextEdit>(), &Text);
  EXPECT_EQ(AnsiString::npos, Text.find("MaxLength"));
}

TEST_F(TextEditTest, SettingTheValueFiresNoChangeAndEmptiesTheUndoBuffer) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  uitest::TChangeCounter Changes;
  Edit->OnChange = Changes.Event();
  Type(Edit, "ab");
  Pump();
  EXPECT_EQ(2, Changes.Count);
  EXPECT_NE(0, SendMessageA(Edit->Handle(), EM_CANUNDO, 0, 0));

  Changes.Count = 0;
  Edit->SetEditValue(Variant("new value"));
  Pump();
  EXPECT_EQ(0, Changes.Count);
  EXPECT_EQ("new value", Edit->Text());
  EXPECT_EQ(0, SendMessageA(Edit->Handle(), EM_CANUNDO, 0, 0));
  Edit->SetEditValue(Variant::Null());
  EXPECT_EQ("", Edit->Text());
  EXPECT_EQ(0, Changes.Count);
}

TEST_F(TextEditTest, ModifiedIsKeptWhileTheWindowIsRemade) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Type(Edit, "x");
  EXPECT_TRUE(Edit->GetModified());
  Edit->SetPasswordChar('*');  // remakes the window
  EXPECT_TRUE(Edit->GetModified());
  EXPECT_EQ('*', SendMessageA(Edit->Handle(), EM_GETPASSWORDCHAR, 0, 0));
  Edit->SetModified(false);
  EXPECT_FALSE(Edit->GetModified());
}

TEST_F(TextEditTest, ALongSelectionIsReturnedWhole) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  std::string Text;
  for (int I = 0; I < 20000; ++I) Text += static_cast<char>('a' + I % 26);
  Edit->SetEditValue(Variant(Text));
  Select(Edit, 0, 20000);
  EXPECT_EQ(20000, Edit->GetSelLength());
  EXPECT_EQ(Text, Edit->SelText());
  Select(Edit, 0, -1);
  EXPECT_EQ(Text, Edit->SelText());

  Select(Edit, 5, 9);
  EXPECT_EQ("fghi", Edit->SelText());
  char Buffer[3] = {'?', '?', '?'};
  EXPECT_EQ(2, Edit->GetSelTextBuf(Buffer, 3));
  EXPECT_STREQ("fg", Buffer);
  Edit->SetSelLength(2);
  EXPECT_EQ("fg", Edit->SelText());
}

TEST_F(TextEditTest, TheEditingMenuEnablesWhatTheSelectionAllows) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetEditValue(Variant("hello"));
  Clipboard()->SetAsText("clip");
  Edit->SetSelStart(5);
  MenuKey(Edit);
  ASSERT_EQ(1, Shown.Count);
  ASSERT_EQ(9u, Shown.Enabled.size());
  EXPECT_FALSE(Shown.Enabled[Undo]);  // the value's setting left nothing to undo
  EXPECT_FALSE(Shown.Enabled[Cut]);
  EXPECT_FALSE(Shown.Enabled[Copy]);
  EXPECT_TRUE(Shown.Enabled[Paste]);
  EXPECT_FALSE(Shown.Enabled[Delete]);
  EXPECT_TRUE(Shown.Enabled[SelectAll]);
  char Caption[32] = {};
  GetMenuStringA(Shown.Menu, SelectAll, Caption, sizeof(Caption), MF_BYPOSITION);
  EXPECT_STREQ("Select &All", Caption);

  Select(Edit, 0, -1);
  MenuKey(Edit);
  EXPECT_TRUE(Shown.Enabled[Cut]);
  EXPECT_TRUE(Shown.Enabled[Copy]);
  EXPECT_TRUE(Shown.Enabled[Delete]);
  EXPECT_FALSE(Shown.Enabled[SelectAll]);

  // Read only: nothing that changes the text.
  Edit->SetReadOnly(true);
  MenuKey(Edit);
  EXPECT_FALSE(Shown.Enabled[Cut]);
  EXPECT_TRUE(Shown.Enabled[Copy]);
  EXPECT_FALSE(Shown.Enabled[Paste]);
  EXPECT_FALSE(Shown.Enabled[Delete]);
}

TEST_F(TextEditTest, WithAPasswordCharacterNothingIsCutOrCopied) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetPasswordChar('*');
  Edit->SetEditValue(Variant("secret"));
  Select(Edit, 0, 3);
  MenuKey(Edit);
  ASSERT_EQ(1, Shown.Count);
  EXPECT_FALSE(Shown.Enabled[Cut]);
  EXPECT_FALSE(Shown.Enabled[Copy]);
  EXPECT_TRUE(Shown.Enabled[Delete]);
  EXPECT_TRUE(Shown.Enabled[SelectAll]);
  // Nor by the copy and cut keys.
  Clipboard()->SetAsText("clip");
  uitest::HeldKeys = {VK_CONTROL};
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_INSERT, 1);
  uitest::HeldKeys = {VK_SHIFT};
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DELETE, 1);
  uitest::HeldKeys.clear();
  EXPECT_EQ("clip", Clipboard()->AsText());
}

TEST_F(TextEditTest, TheMenuKeyOpensTheMenuAtTheCaret) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetEditValue(Variant("abc"));
  Edit->SetSelStart(2);
  POINT Caret{0, 0};
  GetCaretPos(&Caret);
  ClientToScreen(Edit->Handle(), &Caret);
  MenuKey(Edit);
  ASSERT_EQ(1, Shown.Count);
  EXPECT_EQ(Caret.x, Shown.At.x);
  EXPECT_EQ(Caret.y, Shown.At.y);
}

TEST_F(TextEditTest, ARightClickWithoutALinkOpensNoMenu) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetEditValue(Variant("abc"));
  SendMessageA(Edit->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  EXPECT_EQ(0, Shown.Count);

  // A request for a point outside the editor opens none either.
  RECT W;
  GetWindowRect(Edit->Handle(), &W);
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
               MAKELPARAM(W.right + 20, W.bottom + 20));
  EXPECT_EQ(0, Shown.Count);
  // Inside it does.
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()),
               MAKELPARAM(W.left + 5, W.top + 5));
  EXPECT_EQ(1, Shown.Count);
}

TEST_F(TextEditTest, AMenuOfAParentControlTakesThePlaceOfTheEditingMenu) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  auto* Menu = NewObject<TPopupMenu>(Host);
  auto* Item = NewObject<TMenuItem>(Menu);
  Item->SetCaption("Grid");
  Menu->Items()->Add(Item);
  Host->SetPopupMenu(Menu);
  MenuKey(Edit);
  ASSERT_EQ(1, Shown.Count);
  EXPECT_EQ(Menu->Handle(), Shown.Menu);
  EXPECT_EQ(nullptr, Edit->EditingMenu());
}

TEST_F(TextEditTest, TheEditingMenusCommandsActOnTheText) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  Edit->SetEditValue(Variant("hello world"));
  Edit->SetSelStart(2);
  Shown.Choose = SelectAll + 1;
  MenuKey(Edit);
  EXPECT_EQ("hello world", Edit->SelText());
  Shown.Choose = Delete + 1;
  Select(Edit, 0, 6);
  MenuKey(Edit);
  EXPECT_EQ("world", Edit->Text());
  Shown.Choose = Undo + 1;
  MenuKey(Edit);
  EXPECT_EQ("hello world", Edit->Text());
}

// Not hosted by a grid, the editor is its form's focused control and enters itself.
TEST_F(TextEditTest, FocusEnterSelectsTheWholeText) {
  TForm* Form = ShownForm(300, 200);
  auto* Edit = uitest::AddChild<TdxInplaceTextEdit>(Form);
  Edit->SetBounds(5, 5, 140, 20);
  auto* Other = uitest::AddChild<uitest::TProbe>(Form);
  Other->SetBounds(0, 150, 40, 20);
  Pump();
  Edit->SetEditValue(Variant("abcd"));
  Other->SetFocus();
  Pump();
  Edit->SetSelStart(1);
  Edit->SetFocus();
  Pump();
  EXPECT_EQ(0, Edit->GetSelStart());
  EXPECT_EQ("abcd", Edit->SelText());

  Edit->SetAutoSelect(false);
  Other->SetFocus();
  Edit->SetSelStart(1);
  Edit->SetFocus();
  Pump();
  EXPECT_EQ(1, Edit->GetSelStart());
  EXPECT_EQ(0, Edit->GetSelLength());
}

TEST_F(TextEditTest, TheSelectionChangeEventFollowsTheCaret) {
  TdxInplaceTextEdit* Edit = ShownEdit();
  uitest::TChangeCounter Changes;
  Edit->OnSelectionChange = Changes.Event();
  Edit->SetEditValue(Variant("abcd"));
  Changes.Count = 0;
  Edit->SetSelStart(2);
  Pump();
  EXPECT_GE(Changes.Count, 1);
  EXPECT_EQ(Edit, Changes.Sender);
}

TEST_F(TextEditTest, AnEditorThatIsNoNativeEditHasAPlainWindowClassOfItsOwn) {
  Host = ShownContainer();
  TPaintedTextEdit* Edit = HostedEdit<TPaintedTextEdit>(Host);
  char Class[64] = {};
  GetClassNameA(Edit->Handle(), Class, sizeof(Class));
  EXPECT_STREQ("TPaintedTextEditNoEdit", Class);
  WNDCLASSA Info;
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), Class, &Info));
  // Without a native window, Modified lives in the editor.
  Edit->SetModified(true);
  EXPECT_TRUE(Edit->GetModified());
}

template <class T>
TdxInplaceTextEdit* MakeEdit(TCustomdxContainer* Host) {
  auto* Edit = NewObject<T>(Host);
  Edit->SetParent(Host);
  return Edit;
}

// Every editor that leaves the clipboard to its window: a paste goes in at the caret
// or over the selection, by message and by key, as one step that can be undone and
// within the length limit; the copy and cut keys put the selection on the clipboard.
TEST_F(TextEditTest, EveryTextEditorPastesAtTheCaretOrOverTheSelectionAndKeysCopyAndCut) {
  const struct {
    const char* Name;
    TdxInplaceTextEdit* (*Make)(TCustomdxContainer*);
  } Editors[] = {{"text", MakeEdit<TdxInplaceTextEdit>},         {"memo", MakeEdit<TdxInplaceMemoEdit>},
                 {"unmasked mask", MakeEdit<TdxInplaceMaskEdit>}, {"hyperlink", MakeEdit<TdxInplaceHyperLinkEdit>},
                 {"spin", MakeEdit<TdxInplaceSpinEdit>},          {"currency", MakeEdit<TdxInplaceCurrencyEdit>},
                 {"drop-down", MakeEdit<TdxInplaceDropDownEdit>}, {"button", MakeEdit<TdxInplaceButtonEdit>},
                 {"calc", MakeEdit<TdxInplaceCalcEdit>},          {"date", MakeEdit<TdxInplaceDateEdit>},
                 {"pick", MakeEdit<TdxInplacePickEdit>},          {"recently used", MakeEdit<TdxInplaceMRUEdit>}};
  using enum TPasteBy;
  Host = ShownContainer();
  for (const auto& Entry : Editors) {
    SCOPED_TRACE(Entry.Name);
    TdxInplaceTextEdit* Edit = Entry.Make(Host);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    // "1234" with [Start, Stop) selected and Clip pasted.
    auto Paste = [&](int Start, int Stop, const char* Clip, TPasteBy By) {
      Edit->SetText("1234");
      Edit->SetModified(false);
      Select(Edit, Start, Stop);
      Clipboard()->SetAsText(Clip);
      SendPaste(Edit->Handle(), By);
      Pump();
      return Edit->Text();
    };
    EXPECT_EQ("12534", Paste(2, 2, "5", Message));
    EXPECT_EQ(3, Edit->GetSelStart());
    EXPECT_EQ("1674", Paste(1, 3, "67", Message));
    EXPECT_EQ("12534", Paste(2, 2, "5", CtrlV));
    EXPECT_EQ("1674", Paste(1, 3, "67", CtrlV));
    EXPECT_EQ("12534", Paste(2, 2, "5", ShiftInsert));
    EXPECT_EQ("1674", Paste(1, 3, "67", ShiftInsert));
    EXPECT_TRUE(Edit->GetModified());
    SendMessageA(Edit->Handle(), EM_UNDO, 0, 0);
    EXPECT_EQ("1234", Edit->Text());
    Edit->SetMaxLength(5);
    EXPECT_EQ("12534", Paste(2, 2, "5678", Message));
    EXPECT_EQ("15674", Paste(1, 3, "5678", CtrlV));
    Edit->SetMaxLength(0);

    Edit->SetText("1234");
    Edit->SetModified(false);
    Select(Edit, 1, 3);
    uitest::HeldKeys = {VK_CONTROL};
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_INSERT, 1);
    EXPECT_EQ("23", Clipboard()->AsText());
    EXPECT_EQ("1234", Edit->Text());
    Clipboard()->SetAsText("");
    uitest::HeldKeys = {VK_SHIFT};
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DELETE, 1);
    uitest::HeldKeys.clear();
    EXPECT_EQ("23", Clipboard()->AsText());
    EXPECT_EQ("14", Edit->Text());
    EXPECT_TRUE(Edit->GetModified()) << "a cut is the user's change";
    // So are a clear, an undo and a redo, which the control itself leaves unmarked.
    Edit->SetText("1234");
    Select(Edit, 1, 3);
    Edit->SetModified(false);
    SendMessageA(Edit->Handle(), WM_CLEAR, 0, 0);
    EXPECT_EQ("14", Edit->Text());
    EXPECT_TRUE(Edit->GetModified()) << "cleared";
    // A one-line editor's undo goes back to the text before the change with the modified
    // state it had (a program's text is not edited), a redo to the change, edited; the
    // memo's control marks neither, and the memo marks both.
    const bool OwnSteps = !ObjectAs<TdxInplaceMemoEdit>(Edit);
    Edit->SetText("1234");
    Select(Edit, 1, 3);
    Type(Edit, "9");
    for (UINT Msg : {EM_UNDO, EM_REDO, WM_UNDO}) {
      SendMessageA(Edit->Handle(), Msg, 0, 0);
      EXPECT_EQ(Msg == EM_REDO ? "194" : "1234", Edit->Text()) << Msg;
      EXPECT_EQ(!OwnSteps || Msg == EM_REDO, Edit->GetModified()) << Msg;
    }
    // So is a text dragged and dropped, which the control tells its parent of.
    Edit->SetModified(false);
    NMHDR Dropped{Edit->Handle(), 0, EN_DRAGDROPDONE};
    SendMessageA(GetParent(Edit->Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Dropped));
    EXPECT_TRUE(Edit->GetModified()) << "dropped";
    // An editor that may not change its text undoes and redoes nothing, as it cuts and
    // pastes nothing (the control itself would undo while read-only).
    Type(Edit, "9");
    const AnsiString Typed = Edit->Text();
    Edit->SetReadOnly(true);
    for (UINT Msg : {EM_UNDO, WM_UNDO, EM_REDO}) {
      SendMessageA(Edit->Handle(), Msg, 0, 0);
      EXPECT_EQ(Typed, Edit->Text()) << Msg << " read-only";
    }
    Edit->SetReadOnly(false);

    // The letter keys with Ctrl, and Shift too, on which the control would act itself
    // (its own paste replacing the whole text), copy, paste, undo, redo and cut as
    // their messages; with Alt too (AltGr) they do nothing.
    Edit->SetText("1234");
    Select(Edit, 1, 3);
    SendCtrlKey(Edit->Handle(), 'C', {VK_SHIFT});
    EXPECT_EQ("23", Clipboard()->AsText());
    Select(Edit, 2, 2);
    Clipboard()->SetAsText("5");
    SendCtrlKey(Edit->Handle(), 'V', {VK_SHIFT});
    EXPECT_EQ("12534", Edit->Text());
    SendCtrlKey(Edit->Handle(), 'Z');
    EXPECT_EQ("1234", Edit->Text());
    EXPECT_EQ(!OwnSteps, Edit->GetModified()) << "Ctrl+Z: the program's text, as it was";
    SendCtrlKey(Edit->Handle(), 'Y', {VK_SHIFT});
    EXPECT_EQ("12534", Edit->Text());
    EXPECT_TRUE(Edit->GetModified()) << "Ctrl+Shift+Y";
    Select(Edit, 1, 3);
    Edit->SetModified(false);
    SendCtrlKey(Edit->Handle(), 'X');
    EXPECT_TRUE(Edit->GetModified()) << "Ctrl+X";
    EXPECT_EQ("25", Clipboard()->AsText());
    EXPECT_EQ("134", Edit->Text());
    // AltGr, Shift held or not, types a character on many layouts: it pastes, undoes
    // and cuts nothing, whatever the selection.
    Clipboard()->SetAsText("9");
    for (int Stop : {1, 2})
      for (char Letter : {'V', 'Z', 'X', 'Y'})
        for (const std::vector<int>& Also : {std::vector<int>{VK_MENU}, std::vector<int>{VK_MENU, VK_SHIFT}}) {
          Select(Edit, 1, Stop);
          SendCtrlKey(Edit->Handle(), Letter, Also);
          EXPECT_EQ("134", Edit->Text()) << "AltGr+" << Letter << (Also.size() > 1 ? " with Shift" : "");
        }
    Edit->Free();
  }
}

TEST(TextEditOleCallback, RefusesEverythingButAllowsNoDrop) {
  TdxTextEditOleCallback Callback;
  IStorage* Storage = reinterpret_cast<IStorage*>(1);
  EXPECT_EQ(E_NOTIMPL, Callback.GetNewStorage(&Storage));
  EXPECT_EQ(nullptr, Storage);
  HMENU Menu = reinterpret_cast<HMENU>(1);
  EXPECT_EQ(E_NOTIMPL, Callback.GetContextMenu(0, nullptr, nullptr, &Menu));
  EXPECT_EQ(nullptr, Menu);
  DWORD Effect = DROPEFFECT_COPY;
  EXPECT_EQ(S_OK, Callback.GetDragDropEffect(FALSE, 0, &Effect));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Effect);
  IUnknown* Unknown = nullptr;
  EXPECT_EQ(S_OK, Callback.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&Unknown)));
  EXPECT_EQ(1u, Callback.RefCount());
  Unknown->Release();
  EXPECT_EQ(0u, Callback.RefCount());
}

}  // namespace
