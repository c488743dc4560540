// The calc editor on real windows: the keypad drops down under the editor with the
// editor's settings, shows every result in the editor's text, closes on its keys, and
// leaves "0" for an error.
#include <gtest/gtest.h>

#include <windows.h>

#include "editors/dxExEdtr_CalcEdit.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

class CalcEditTest : public EditTest {
 protected:
  TdxInplaceCalcEdit* ShownEdit(const char* Text = "") {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceCalcEdit>(Host);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Edit->SetText(Text);
    Pump();
    return Edit;
  }
  static void Open(TdxInplaceCalcEdit* Edit) {
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
    Pump();
  }
  static void Type(TdxInplaceCalcEdit* Edit, const char* Keys) {
    for (const char* P = Keys; *P; ++P)
      SendMessageA(Edit->Calculator()->Handle(), WM_CHAR, static_cast<unsigned char>(*P), 1);
  }
  static bool IsOpen(TdxPopupCalculator* Calc) { return IsWindowVisible(Calc->Handle()) != FALSE; }

  TTestContainer* Host = nullptr;
};

}  // namespace

TEST_F(CalcEditTest, DropsDownUnderTheEditorWithItsSettings) {
  auto* Edit = ShownEdit("12");
  Edit->SetPrecision(5);
  Edit->SetButtonStyle(bsFlat);
  Edit->SetShowButtonFrame(true);
  Edit->SetBeepOnError(false);
  Open(Edit);
  TdxPopupCalculator* Calc = Edit->Calculator();
  ASSERT_NE(nullptr, Calc);
  EXPECT_TRUE(Edit->DroppedDown());
  EXPECT_TRUE(IsOpen(Calc));
  EXPECT_EQ(Calc, Edit->Popup());
  EXPECT_EQ(5, Calc->Precision());
  EXPECT_EQ(bsFlat, Calc->ButtonStyle());
  EXPECT_TRUE(Calc->ShowButtonFrame());
  EXPECT_FALSE(Calc->BeepOnError());
  EXPECT_TRUE(Calc->KeepFocus());
  EXPECT_FALSE(Calc->ShowFocusRect());
  EXPECT_EQ(static_cast<LONG>(WS_POPUP), GetWindowLongA(Calc->Handle(), GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS));
  // Under the editor.
  RECT EditRect, CalcRect;
  GetWindowRect(Edit->Handle(), &EditRect);
  GetWindowRect(Calc->Handle(), &CalcRect);
  EXPECT_GE(CalcRect.top, EditRect.bottom - 2);
  EXPECT_LE(CalcRect.top, EditRect.bottom);
  // The keypad has the keys; its display is the editor's text.
  EXPECT_EQ(Calc->Handle(), GetFocus());
  EXPECT_EQ("12", Calc->DisplayText());
  Type(Edit, "7");
  EXPECT_EQ("7", Edit->Text()) << "a new number replaces the text";
  Type(Edit, "*2=");
  EXPECT_EQ("14", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
  // Escape closes and keeps what the keypad wrote.
  SendMessageA(Calc->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_FALSE(IsOpen(Calc));
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ("14", Edit->Text());
  EXPECT_EQ(Edit->Handle(), GetFocus());

  // The next drop-down makes the window afresh.
  HWND Before = Calc->Handle();
  Open(Edit);
  EXPECT_EQ(Calc, Edit->Calculator());
  EXPECT_TRUE(IsOpen(Calc));
  EXPECT_NE(Before, Calc->Handle());
}

TEST_F(CalcEditTest, QuickCloseClosesOnEquals) {
  auto* Edit = ShownEdit();
  Edit->SetQuickClose(true);
  Open(Edit);
  Type(Edit, "2+3");
  EXPECT_TRUE(IsOpen(Edit->Calculator()));
  Type(Edit, "=");
  Pump();
  EXPECT_FALSE(IsOpen(Edit->Calculator()));
  EXPECT_EQ("5", Edit->Text());
  // Without it "=" leaves the keypad open; Enter completes and closes.
  Edit->SetQuickClose(false);
  Open(Edit);
  Type(Edit, "*2=");
  EXPECT_TRUE(IsOpen(Edit->Calculator()));
  Type(Edit, "+1");
  SendMessageA(Edit->Calculator()->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  EXPECT_FALSE(IsOpen(Edit->Calculator()));
  EXPECT_EQ("11", Edit->Text());
}

TEST_F(CalcEditTest, ClosingOnAnErrorLeavesZero) {
  auto* Edit = ShownEdit("5");
  Open(Edit);
  Type(Edit, "/0=");
  EXPECT_EQ(TCustomdxCalculator::ErrorText(), Edit->Text());
  SendMessageA(Edit->Calculator()->Handle(), WM_SYSKEYDOWN, VK_UP, 0x20000001);
  Pump();
  EXPECT_FALSE(IsOpen(Edit->Calculator()));
  EXPECT_EQ("0", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
}

TEST_F(CalcEditTest, AnEditorTextThatIsNoNumberShowsTheError) {
  auto* Edit = ShownEdit("twelve");
  Open(Edit);
  Type(Edit, "+");
  EXPECT_EQ(TCustomdxCalculator::ErrorText(), Edit->Text());
  EXPECT_TRUE(Log->Messages.empty());
  Type(Edit, "c3");
  EXPECT_EQ("3", Edit->Text());
}

TEST_F(CalcEditTest, AReadOnlyEditorDoesNotDropDown) {
  auto* Edit = ShownEdit("4");
  Edit->SetReadOnly(true);
  Open(Edit);
  EXPECT_EQ(nullptr, Edit->Calculator());
  EXPECT_FALSE(Edit->DroppedDown());
}
