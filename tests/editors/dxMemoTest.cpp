// The memo editor on a real rich edit window: its lines read and written through the
// control's messages, the whole text set without needless updates, and the routing of
// the navigation and Enter keys between the memo and its host.
#include <gtest/gtest.h>

#include <functional>

#include <windows.h>

#include <vector>

#include "classlib/Clipbrd.h"
#include "editors/dxMemo.h"
#include "editors/dxWrapGuard.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::HeldKeys;
using uitest::Pump;

namespace {

// A host that notes the key-down messages sent to its own window.
class TKeyNotingContainer : public TTestContainer {
 public:
  using TTestContainer::TTestContainer;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_KEYDOWN) WindowKeys.push_back(static_cast<Word>(Message.WParam));
    TTestContainer::Dispatch(Message);
  }
  std::vector<Word> WindowKeys;
};

// Counts the WM_SETTEXT messages that reach the memo.
class TCountingMemo : public TdxInplaceMemoEdit {
  TCLASS_DECL(TCountingMemo, TdxInplaceMemoEdit)
 public:
  using TdxInplaceMemoEdit::TdxInplaceMemoEdit;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SETTEXT) ++SetTexts;
    TdxInplaceMemoEdit::Dispatch(Message);
  }
  int SetTexts = 0;
};

}  // namespace

TCLASS_IMPL(TCountingMemo)

namespace {

class MemoTest : public EditTest {
 protected:
  // A memo over a cell of a shown container, focused.
  TCountingMemo* ShownMemo() {
    TForm* Form = ShownForm(300, 200);
    Host = NewObject<TKeyNotingContainer>(Form);
    Host->SetParent(Form);
    Host->SetBounds(10, 10, 250, 160);
    Host->HandleNeeded();
    TCountingMemo* Memo = HostedEdit<TCountingMemo>(Host);
    Memo->ShowAt(Rect(5, 5, 200, 90));
    Pump();
    return Memo;
  }
  static int ControlLineCount(TdxInplaceMemoEdit* Memo) {
    return static_cast<int>(SendMessageA(Memo->Handle(), EM_GETLINECOUNT, 0, 0));
  }
  static void Key(TdxInplaceMemoEdit* Memo, Word Key) {
    SendMessageA(Memo->Handle(), WM_KEYDOWN, Key, 1);
  }
  static CHARRANGE Selection(TdxInplaceMemoEdit* Memo) {
    CHARRANGE Range{};
    SendMessageA(Memo->Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Range));
    return Range;
  }

  TKeyNotingContainer* Host = nullptr;
};

TEST_F(MemoTest, ATextEndingInALineBreakCountsOneLineFewerThanTheControl) {
  TdxInplaceMemoEdit* Memo = ShownMemo();
  Memo->Lines()->SetText("one\r\ntwo\r\n");
  EXPECT_EQ(3, ControlLineCount(Memo));
  EXPECT_EQ(2, Memo->Lines()->Count());
  Memo->Lines()->SetText("one\r\ntwo");
  EXPECT_EQ(2, Memo->Lines()->Count());
}

TEST_F(MemoTest, GetPutAndDeleteWorkOnTheLinesOfTheWindow) {
  TdxInplaceMemoEdit* Memo = ShownMemo();
  // LF alone is a line break too.
  Memo->Lines()->SetText("alpha\nbeta\r\ngamma");
  ASSERT_EQ(3, Memo->Lines()->Count());
  EXPECT_EQ("alpha", Memo->Lines()->Get(0));
  EXPECT_EQ("beta", Memo->Lines()->Get(1));
  EXPECT_EQ("gamma", Memo->Lines()->Get(2));

  Memo->Lines()->Put(1, "BETA");
  EXPECT_EQ("BETA", Memo->Lines()->Get(1));
  EXPECT_EQ(3, Memo->Lines()->Count());

  Memo->Lines()->Delete(2);
  ASSERT_EQ(2, Memo->Lines()->Count());
  EXPECT_EQ("BETA", Memo->Lines()->Get(1));
  Memo->Lines()->Delete(0);
  ASSERT_EQ(1, Memo->Lines()->Count());
  EXPECT_EQ("BETA", Memo->Lines()->Get(0));
}

TEST_F(MemoTest, InsertAtTheCountAddsALineButNotAfterAnEmptyLastLine) {
  TdxInplaceMemoEdit* Memo = ShownMemo();
  Memo->Lines()->SetText("one\r\ntwo");
  Memo->Lines()->Insert(Memo->Lines()->Count(), "three");
  ASSERT_EQ(3, Memo->Lines()->Count());
  EXPECT_EQ("three", Memo->Lines()->Get(2));

  // Ending in a line break, the count is the empty last line, where the text goes.
  Memo->Lines()->SetText("one\r\ntwo\r\n");
  Memo->Lines()->Insert(Memo->Lines()->Count(), "three");
  ASSERT_EQ(3, Memo->Lines()->Count());
  EXPECT_EQ("three", Memo->Lines()->Get(2));

  // One past the control's lines, after an empty last line: nothing.
  Memo->Lines()->SetText("one\r\n");
  const AnsiString Before = Memo->Text();
  Memo->Lines()->Insert(ControlLineCount(Memo), "more");
  EXPECT_EQ(Before, Memo->Text());
}

TEST_F(MemoTest, TheSameTextSetAgainSendsNothingAndKeepsTheModifiedState) {
  TCountingMemo* Memo = ShownMemo();
  Memo->Lines()->SetText("one\ntwo");
  Memo->SetModified(true);
  const int Sent = Memo->SetTexts;
  Memo->Lines()->SetText("one\r\ntwo");
  EXPECT_EQ(Sent, Memo->SetTexts);
  EXPECT_TRUE(Memo->GetModified());
  // The change notifications are on again.
  EXPECT_TRUE(SendMessageA(Memo->Handle(), EM_GETEVENTMASK, 0, 0) & ENM_CHANGE);
}

TEST_F(MemoTest, DownMovesTheCaretInsideTheTextAndReachesTheHostWhenAllIsSelected) {
  TdxInplaceMemoEdit* Memo = ShownMemo();
  Memo->Lines()->SetText("one\r\ntwo\r\nthree");
  Memo->SetEditActive(true);
  Memo->SetSelStart(0);
  Key(Memo, VK_DOWN);
  EXPECT_TRUE(Host->HostKeys.empty());
  EXPECT_EQ(1, SendMessageA(Memo->Handle(), EM_EXLINEFROMCHAR, 0, Selection(Memo).cpMin));

  // Activation selects the whole text, and Down moves to the next row.
  Memo->Hide();
  Memo->ShowAt(Rect(5, 5, 200, 90));
  Pump();
  CHARRANGE Range = Selection(Memo);
  ASSERT_EQ(0, Range.cpMin);
  Key(Memo, VK_DOWN);
  EXPECT_EQ(std::vector<Word>{VK_DOWN}, Host->HostKeys);
  EXPECT_EQ(Range.cpMax, Selection(Memo).cpMax);
}

TEST_F(MemoTest, WithoutWantReturnsEnterGoesToTheHostButCtrlEnterDoesNot) {
  TdxInplaceMemoEdit* Memo = ShownMemo();
  Memo->SetText("");
  Key(Memo, VK_RETURN);
  // Wanted, Enter types a line break and stays.
  EXPECT_EQ(2, ControlLineCount(Memo));
  EXPECT_TRUE(Host->WindowKeys.empty());

  Memo->SetWantReturns(false);
  EXPECT_EQ(0, SendMessageA(Memo->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  Key(Memo, VK_RETURN);
  EXPECT_EQ(std::vector<Word>{VK_RETURN}, Host->WindowKeys);

  HeldKeys = {VK_CONTROL};
  Key(Memo, VK_RETURN);
  HeldKeys.clear();
  EXPECT_EQ(std::vector<Word>{VK_RETURN}, Host->WindowKeys);
}

// One paragraph of Length characters: "abc def " again and again.
std::string LongParagraph(std::size_t Length) {
  std::string Text;
  while (Text.size() < Length) Text += "abc def ";
  return Text.substr(0, Length);
}

TEST_F(MemoTest, AParagraphTooLongToWrapSafelyIsRefusedWholeAndANarrowerMemoWrapsItWider) {
  TCountingMemo* Memo = ShownMemo();
  const std::string Long = LongParagraph(48000);
  Memo->Lines()->SetText("kept");
  Beeps = 0;
  // Set or pasted, the paragraph is refused whole with a beep, as a length limit
  // refuses: the old text stays.
  EXPECT_THROW(Memo->Lines()->SetText(Long), EInvalidOperation);
  Memo->SetText(Long + "x");
  EXPECT_EQ("kept", Memo->Text().substr(0, 20));
  Clipboard()->SetAsText(Long);
  SendMessageA(Memo->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("kept", Memo->Text().substr(0, 20));
  EXPECT_EQ(3, Beeps);
  RedrawWindow(Host->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();

  // A value the host loads is never refused: the control wraps it wider than the
  // window, and a key that would lengthen it is refused, so that the value is left as
  // it was.
  Memo->SetEditValue(Variant(Long));
  Memo->SetModified(false);
  EXPECT_TRUE(Long == Memo->Text());
  EXPECT_LE(static_cast<long long>(ControlLineCount(Memo)) * 48000, 2 * TdxWrapGuard::Budget);
  Memo->SetSelStart(100);
  SendMessageA(Memo->Handle(), WM_CHAR, 'x', 1);
  EXPECT_TRUE(Long == Memo->Text());
  EXPECT_FALSE(Memo->GetModified());
  EXPECT_EQ(4, Beeps);
  Memo->SetEditValue(Variant("short"));
  Memo->SetSelStart(5);
  SendMessageA(Memo->Handle(), WM_CHAR, 'x', 1);
  EXPECT_EQ("shortx", Memo->Text());

  // A paragraph that fits stays whole when the memo becomes too narrow for it: the
  // control wraps it wider than the window, and a key that would lengthen it is refused.
  const std::string Fitting = LongParagraph(12000);
  Memo->SetText(Fitting);
  ASSERT_TRUE(Fitting == Memo->Text());
  const int Rows = ControlLineCount(Memo);
  Memo->ShowAt(Rect(5, 5, 45, 90));
  Pump();
  EXPECT_TRUE(Fitting == Memo->Text());
  EXPECT_LE(static_cast<long long>(ControlLineCount(Memo)) * 12000, 2 * TdxWrapGuard::Budget);
  Memo->SetSelStart(12000);
  SendMessageA(Memo->Handle(), WM_CHAR, 'x', 1);
  EXPECT_TRUE(Fitting == Memo->Text());
  EXPECT_EQ(5, Beeps);
  // Wide again, it wraps at its window.
  Memo->ShowAt(Rect(5, 5, 200, 90));
  Pump();
  EXPECT_EQ(Rows, ControlLineCount(Memo));
  // A larger font is a narrower window for the same text.
  Memo->Font()->SetSize(48);
  Pump();
  EXPECT_TRUE(Fitting == Memo->Text());
  EXPECT_LE(static_cast<long long>(ControlLineCount(Memo)) * 12000, 2 * TdxWrapGuard::Budget);

  // Unwrapped, no paragraph is too long.
  Memo->SetWordWrap(false);
  Memo->SetText(Long);
  EXPECT_TRUE(Long == Memo->Text());
}


// Deleting a line break joins two paragraphs that each fit into one that may not: a
// Backspace, a Delete, a cut or a clear that would is refused with a beep (one a key),
// and the text stays as it was. An undo or a redo is wrapped as wide as its text needs.
TEST_F(MemoTest, ADeletionThatWouldJoinParagraphsTooLongToWrapIsRefused) {
  TCountingMemo* Memo = ShownMemo();
  const std::string Part = LongParagraph(12000);
  const std::string Three = Part + "\r\n" + Part + "\r\n" + Part;
  Memo->SetText(Three);
  ASSERT_TRUE(Three == Memo->Text());
  Beeps = 0;
  auto Refused = [&](const char* Case, std::function<void()> Delete) {
    Delete();
    EXPECT_TRUE(Three == Memo->Text()) << Case;
  };
  Refused("Backspace at a paragraph's start", [&] {
    Memo->SetSelStart(12001);
    Key(Memo, VK_BACK);
    SendMessageA(Memo->Handle(), WM_CHAR, '\b', 1);
  });
  EXPECT_EQ(1, Beeps);
  Refused("Delete at a paragraph's end", [&] {
    Memo->SetSelStart(12000);
    Key(Memo, VK_DELETE);
  });
  Refused("a cut across a break", [&] {
    SendMessageA(Memo->Handle(), EM_SETSEL, 11990, 12010);
    SendMessageA(Memo->Handle(), WM_CUT, 0, 0);
  });
  Refused("a clear across a break", [&] {
    SendMessageA(Memo->Handle(), EM_SETSEL, 11990, 12010);
    SendMessageA(Memo->Handle(), WM_CLEAR, 0, 0);
  });
  EXPECT_EQ(4, Beeps);
  // A deletion inside a paragraph, or one that joins short ones, goes through.
  Memo->SetSelStart(100);
  Key(Memo, VK_DELETE);
  EXPECT_EQ(Three.size() - 1, Memo->Text().size());
  Memo->SetText("ab\r\ncd");
  Memo->SetSelStart(3);
  Key(Memo, VK_BACK);
  SendMessageA(Memo->Handle(), WM_CHAR, '\b', 1);
  EXPECT_EQ("abcd", Memo->Text());
  EXPECT_EQ(4, Beeps);

  // An undo brings back a text as it was, even one loaded too long for the window:
  // the control wraps it wider again.
  const std::string Long = LongParagraph(48000);
  Memo->SetEditValue(Variant(Long));
  SendMessageA(Memo->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Memo->Handle(), WM_CHAR, 'x', 1);
  ASSERT_EQ("x", Memo->Text());
  SendMessageA(Memo->Handle(), EM_UNDO, 0, 0);
  ASSERT_TRUE(Long == Memo->Text());
  EXPECT_LE(static_cast<long long>(ControlLineCount(Memo)) * 48000, 2 * TdxWrapGuard::Budget);
  SendMessageA(Memo->Handle(), EM_REDO, 0, 0);
  EXPECT_EQ("x", Memo->Text());
  EXPECT_EQ(1, ControlLineCount(Memo));
}
}  // namespace
