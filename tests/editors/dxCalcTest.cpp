// The calculator keypad: arithmetic on its own display, the error state, typing
// limits, memory, the clipboard, the layout from the client size, and keys, mouse and
// paint on a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>

#include "classlib/Clipbrd.h"
#include "editors/dxCalc.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

// A keypad with a display of its own.
class TTestCalculator : public TCustomdxCalculator {
  TCLASS_DECL(TTestCalculator, TCustomdxCalculator)
 public:
  using TCustomdxCalculator::TCustomdxCalculator;
  AnsiString Display = "0";
  int Errors = 0;
  int Results = 0;

  void NoteError(TObject* /*Sender*/) { ++Errors; }
  void NoteResult(TObject* /*Sender*/) { ++Results; }

 protected:
  void GetDisplayText(AnsiString& Text) override { Text = Display; }
  void SetDisplayText(const AnsiString& Text) override { Display = Text; }
};
TCLASS_IMPL(TTestCalculator)

class CalculatorTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    Calc = Keep(NewObject<TTestCalculator>(nullptr));
    Calc->OnError = TNotifyEvent::Bind<&TTestCalculator::NoteError>(Calc);
    Calc->OnResult = TNotifyEvent::Bind<&TTestCalculator::NoteResult>(Calc);
  }
  void Click(std::initializer_list<TdxCalcButtonKind> Kinds) {
    for (TdxCalcButtonKind Kind : Kinds) Calc->ButtonClick(Kind);
  }
  // Digits, "." and the operators, as their buttons.
  void Enter(const char* Keys) {
    for (const char* P = Keys; *P; ++P) {
      switch (*P) {
        case '.': Calc->ButtonClick(cbDecimal); break;
        case '+': Calc->ButtonClick(cbAdd); break;
        case '-': Calc->ButtonClick(cbSub); break;
        case '*': Calc->ButtonClick(cbMul); break;
        case '/': Calc->ButtonClick(cbDiv); break;
        case '%': Calc->ButtonClick(cbPercent); break;
        case '=': Calc->ButtonClick(cbEqual); break;
        default: Calc->ButtonClick(static_cast<TdxCalcButtonKind>(cbNum0 + (*P - '0'))); break;
      }
    }
  }
  // The keypad on a shown form.
  void Place() {
    TForm* Form = ShownForm(300, 220);
    Calc->SetParent(Form);
    Calc->SetBounds(10, 10, 207, 137);
    Calc->HandleNeeded();
    Pump();
  }
  TPoint Centre(TdxCalcButtonKind Kind) {
    const TRect& R = Calc->Button(Kind).Bounds;
    return TPoint{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
  }

  TTestCalculator* Calc = nullptr;
};

}  // namespace

TEST_F(CalculatorTest, OperatorsApplyThePendingOneAndEqualsDoesNotRepeat) {
  Enter("1+2=");
  EXPECT_EQ("3", Calc->Display);
  EXPECT_EQ(1, Calc->Results);
  Enter("=");
  EXPECT_EQ("3", Calc->Display);
  Enter("10-4*3/2=");  // left to right
  EXPECT_EQ("9", Calc->Display);
  Enter("1/3=");
  EXPECT_EQ("0.3333333333333", Calc->Display);
  Click({cbClear});
  Enter("2.5");
  Click({cbSign});
  EXPECT_EQ("-2.5", Calc->Display);
  Enter("*4=");
  EXPECT_EQ("-10", Calc->Display);
}

TEST_F(CalculatorTest, PercentAfterAPendingOperatorIsItsRightOperand) {
  Enter("200+50%");
  EXPECT_EQ("100", Calc->Display);
  EXPECT_EQ(cbAdd, Calc->LastOperator());
  EXPECT_EQ(0, Calc->Results);
  Enter("=");
  EXPECT_EQ("300", Calc->Display);
  Enter("200*50%");
  EXPECT_EQ("0.5", Calc->Display);
  Enter("=");
  EXPECT_EQ("100", Calc->Display);
  // With nothing pending "%" ends the number.
  Click({cbClear});
  Enter("7%");
  EXPECT_EQ("7", Calc->Display);
  EXPECT_EQ(cbPercent, Calc->LastOperator());
}

TEST_F(CalculatorTest, ErrorsShowUntilClear) {
  auto ExpectErrorUntilClear = [&](const char* Case) {
    EXPECT_EQ(TCustomdxCalculator::ErrorText(), Calc->Display) << Case;
    EXPECT_EQ(calcError, Calc->State()) << Case;
    EXPECT_EQ(1, Calc->Errors) << Case;
    EXPECT_EQ(1, Beeps) << Case;
    // Every other button repeats the error.
    Enter("5+");
    EXPECT_EQ(TCustomdxCalculator::ErrorText(), Calc->Display) << Case;
    EXPECT_EQ(3, Beeps) << Case;
    Click({Case[0] == '/' ? cbCancel : cbClear});
    EXPECT_EQ("0", Calc->Display) << Case;
    EXPECT_EQ(calcNew, Calc->State()) << Case;
    Beeps = 0;
    Calc->Errors = 0;
  };
  Beeps = 0;
  Enter("8/0=");
  ExpectErrorUntilClear("/ by zero");
  Enter("4");
  Click({cbSign, cbSqrt});
  ExpectErrorUntilClear("sqrt of -4");
  Enter("0");
  Click({cbRev});
  ExpectErrorUntilClear("1/x of 0");
  Calc->SetBeepOnError(false);
  Enter("1/0=");
  EXPECT_EQ(0, Beeps);
}

TEST_F(CalculatorTest, OverflowAndNonNumbersAreErrorsNotExceptions) {
  Calc->Display = "1E4000";
  Click({cbMS, cbMul, cbMR, cbEqual});
  EXPECT_EQ(TCustomdxCalculator::ErrorText(), Calc->Display);
  Click({cbClear});
  // A display typed elsewhere that is no number.
  Calc->Display = "12abc";
  Enter("+");
  EXPECT_EQ(TCustomdxCalculator::ErrorText(), Calc->Display);
  EXPECT_TRUE(Log->Messages.empty());
  Click({cbClear});
  Calc->Display = "1E5000";
  Click({cbSign});
  EXPECT_EQ(calcError, Calc->State());
}

TEST_F(CalculatorTest, TypingStopsAtThePrecision) {
  Beeps = 0;
  Enter("12345678901234");
  EXPECT_EQ("1234567890123", Calc->Display);
  EXPECT_EQ(1, Beeps);
  // A leading minus does not count.
  Click({cbClear});
  Enter("123");
  Click({cbSign});
  Enter("45678901234");
  EXPECT_EQ("-1234567890123", Calc->Display);
  EXPECT_EQ(2, Beeps);
  Click({cbClear});
  Calc->SetPrecision(1);  // at least two
  Enter("123");
  EXPECT_EQ("12", Calc->Display);
  Click({cbBack});
  EXPECT_EQ("1", Calc->Display);
  Click({cbBack});
  EXPECT_EQ("0", Calc->Display);
  Enter("5.");
  Enter(".");
  EXPECT_EQ("5.", Calc->Display);
  // A number shown with an exponent goes on taking digits; a separator after it, or a
  // Backspace that leaves its letter without digits, would leave no number for the next
  // operation: the separator is refused with a beep, and the exponent goes with its
  // last digit.
  Click({cbClear});
  Calc->SetPrecision(13);
  Beeps = 0;
  Enter("0.00001");
  Click({cbSign});
  ASSERT_EQ("-1E-5", Calc->Display);
  Enter(".");
  EXPECT_EQ("-1E-5", Calc->Display);
  EXPECT_EQ(1, Beeps);
  Enter("5");
  EXPECT_EQ("-1E-55", Calc->Display);
  Click({cbBack, cbBack});
  EXPECT_EQ("-1", Calc->Display);
  Enter("*3=");
  EXPECT_EQ("-3", Calc->Display);
  EXPECT_EQ(0, Calc->Errors);
}

TEST_F(CalculatorTest, MemoryButtonsAreGrayedWhileTheMemoryIsZero) {
  EXPECT_TRUE(Calc->Button(cbMC).Grayed);
  EXPECT_TRUE(Calc->Button(cbMR).Grayed);
  Click({cbMR});
  EXPECT_EQ("0", Calc->Display);
  EXPECT_TRUE(Calc->Button(cbMC).Grayed);
  Enter("25");
  Click({cbMS});
  EXPECT_FALSE(Calc->Button(cbMR).Grayed);
  Enter("5");
  Click({cbMP, cbClear, cbMR});
  EXPECT_EQ("30", Calc->Display);
  Enter("1");  // MR leaves a number being typed
  EXPECT_EQ("301", Calc->Display);
  Click({cbMC});
  EXPECT_TRUE(Calc->Button(cbMC).Grayed);
  EXPECT_TRUE(Calc->Button(cbMR).Grayed);
}

TEST_F(CalculatorTest, PasteDropsThousandSeparatorsAndCopyTakesTheDisplay) {
  Clipboard()->SetAsText("1,234.5");
  Calc->PasteFromClipboard();
  EXPECT_EQ("1234.5", Calc->Display);
  EXPECT_EQ(calcTyping, Calc->State());
  Enter("+1=");
  EXPECT_EQ("1235.5", Calc->Display);
  Calc->CopyToClipboard();
  EXPECT_EQ("1235.5", Clipboard()->AsText());
  Clipboard()->SetAsText("one");
  Calc->PasteFromClipboard();
  EXPECT_EQ(TCustomdxCalculator::ErrorText(), Calc->Display);
  Clipboard()->SetAsText("1e5000");
  Calc->PasteFromClipboard();
  EXPECT_EQ(TCustomdxCalculator::ErrorText(), Calc->Display);
}

TEST_F(CalculatorTest, LayoutFollowsTheClientSize) {
  Place();
  // 207 x 137 fits buttons 23 high.
  EXPECT_EQ(23, Calc->ButtonHeight());
  EXPECT_EQ(29, Calc->ButtonWidth());
  EXPECT_EQ(4, Calc->Gap());
  EXPECT_EQ(49, Calc->WideButtonWidth());
  EXPECT_EQ(8, Calc->CalcFontSize());
  EXPECT_EQ(6 * (4 + 29) + 8 + 4, Calc->ClientWidth());
  EXPECT_EQ((4 + 23) * 5 + 4, Calc->ClientHeight());
  const TRect Equal = Calc->Button(cbEqual).Bounds;
  EXPECT_EQ(Calc->ClientWidth() - 4, Equal.right);
  EXPECT_EQ(Calc->Button(cbClear).Bounds.right, Equal.right);
  EXPECT_EQ(Calc->Button(cbCancel).Bounds.right, Calc->Button(cbClear).Bounds.left - 4);
  EXPECT_EQ(4, Calc->Button(cbMC).Bounds.left);
  EXPECT_EQ(Calc->Button(cbNum7).Bounds.top, Calc->Button(cbMC).Bounds.top);
  EXPECT_EQ(4 + 29 + 4 + 4 + 4, Calc->Button(cbNum7).Bounds.left);
  // A larger control takes larger buttons, and a new layout forgets the memory.
  Enter("5");
  Click({cbMS});
  Calc->SetBounds(10, 10, 414, 274);
  EXPECT_GT(Calc->ButtonHeight(), 40);
  EXPECT_EQ(0, Calc->Memory());
  EXPECT_EQ(cbMC, Calc->ButtonAt(Centre(cbMC).x, Centre(cbMC).y));
  EXPECT_EQ(cbNone, Calc->ButtonAt(1, 1));
}

TEST_F(CalculatorTest, KeysPressTheirButtons) {
  Place();
  ::SetFocus(Calc->Handle());
  for (char C : AnsiString("12+3"))
    SendMessageA(Calc->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  EXPECT_TRUE(Calc->Button(cbNum3).Down);
  SendMessageA(Calc->Handle(), WM_KEYUP, '3', 0xC0000001);
  EXPECT_FALSE(Calc->Button(cbNum3).Down);
  SendMessageA(Calc->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ("15", Calc->Display);
  SendMessageA(Calc->Handle(), WM_KEYDOWN, VK_F9, 1);
  EXPECT_EQ("-15", Calc->Display);
  SendMessageA(Calc->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ("0", Calc->Display);
  // Backspace shows its button on the key and works on the character.
  for (char C : AnsiString("42")) SendMessageA(Calc->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  SendMessageA(Calc->Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_TRUE(Calc->Button(cbBack).Down);
  EXPECT_EQ("42", Calc->Display);
  SendMessageA(Calc->Handle(), WM_CHAR, '\b', 1);
  EXPECT_EQ("4", Calc->Display);
  // Ctrl+M stores; Ctrl+C copies, Shift+Insert pastes.
  uitest::HeldKeys = {VK_CONTROL};
  SendMessageA(Calc->Handle(), WM_KEYDOWN, 'M', 1);
  EXPECT_EQ(4, Calc->Memory());
  SendMessageA(Calc->Handle(), WM_KEYDOWN, 'C', 1);
  EXPECT_EQ("4", Clipboard()->AsText());
  uitest::HeldKeys = {VK_SHIFT};
  Clipboard()->SetAsText("2,500");
  SendMessageA(Calc->Handle(), WM_KEYDOWN, VK_INSERT, 1);
  uitest::HeldKeys.clear();
  EXPECT_EQ("2500", Calc->Display);
  // AltGr (Ctrl and Alt, the key data's Alt bit set) types a character on many
  // layouts: with V it pastes nothing, with M it stores nothing.
  Clipboard()->SetAsText("7");
  uitest::HeldKeys = {VK_CONTROL, VK_MENU};
  for (WPARAM Letter : {'V', 'M', 'P', 'C'}) SendMessageA(Calc->Handle(), WM_KEYDOWN, Letter, 0x20000001);
  uitest::HeldKeys.clear();
  EXPECT_EQ("2500", Calc->Display);
  EXPECT_EQ(4, Calc->Memory());
  EXPECT_EQ("7", Clipboard()->AsText());
  EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(Calc->Handle(), WM_GETDLGCODE, 0, 0));
}

TEST_F(CalculatorTest, AClickIsAPressAndAReleaseOverTheSameButton) {
  Place();
  const TPoint Seven = Centre(cbNum7), Eight = Centre(cbNum8);
  SendMessageA(Calc->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Seven.x, Seven.y));
  EXPECT_TRUE(Calc->Tracking());
  EXPECT_TRUE(Calc->Button(cbNum7).Down);
  EXPECT_EQ(Calc->Handle(), GetCapture());
  SendMessageA(Calc->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Seven.x, Seven.y));
  EXPECT_EQ("7", Calc->Display);
  EXPECT_FALSE(Calc->Button(cbNum7).Down);
  // Moved off before the release: no click.
  SendMessageA(Calc->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Seven.x, Seven.y));
  SendMessageA(Calc->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(Eight.x, Eight.y));
  EXPECT_FALSE(Calc->Button(cbNum7).Down);
  SendMessageA(Calc->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Eight.x, Eight.y));
  EXPECT_EQ("7", Calc->Display);
  EXPECT_FALSE(Calc->Tracking());
  // Extra flat buttons follow the mouse.
  Calc->SetButtonStyle(bsExtraFlat);
  SendMessageA(Calc->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Eight.x, Eight.y));
  EXPECT_EQ(cbNum8, Calc->HotButton());
  SendMessageA(Calc->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(cbNone, Calc->HotButton());
}

TEST_F(CalculatorTest, PaintsButtonsInTheirCaptionColours) {
  Place();
  Calc->Font()->SetName("Tahoma");
  uitest::PaintNow(Calc);
  auto Has = [&](TdxCalcButtonKind Kind, COLORREF Colour) {
    const TRect& R = Calc->Button(Kind).Bounds;
    for (int Y = R.top + 3; Y < R.bottom - 3; ++Y)
      for (int X = R.left + 3; X < R.right - 3; ++X)
        if (uitest::ScreenPixel(Calc->Handle(), X, Y) == Colour) return true;
    return false;
  };
  EXPECT_TRUE(Has(cbNum7, RGB(0, 0, 255)));
  EXPECT_TRUE(Has(cbAdd, RGB(255, 0, 0)));
  EXPECT_FALSE(Has(cbMC, RGB(255, 0, 0))) << "grayed while the memory is 0";
  EXPECT_TRUE(Has(cbMC, GetSysColor(COLOR_BTNSHADOW)));
  // Between the buttons: the control's colour.
  const TRect Seven = Calc->Button(cbNum7).Bounds;
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), uitest::ScreenPixel(Calc->Handle(), Seven.left - 2, Seven.top + 5));
}

// A keypad far larger than the screen has buttons larger than it too: each paints the
// part of it that shows, through a bitmap no larger than that part (the keypad's shared
// bitmap had taken the largest button's size, tens of megabytes, for good).
TEST_F(CalculatorTest, AKeypadFarLargerThanTheScreenPaintsWhatShowsOfItsButtons) {
  Place();
  Calc->SetBounds(0, 0, 100000, 100000);
  Pump();
  const TRect MC = Calc->Button(cbMC).Bounds;
  Calc->SetBounds(40 - MC.left, 40 - MC.top, Calc->Width(), Calc->Height());  // its corner in the form
  Pump();
  ASSERT_GT(MC.bottom - MC.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  ASSERT_GT(MC.right - MC.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  uitest::PaintNow(Calc);
  EXPECT_LE(TCustomdxCalculator::ButtonBitmap()->Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_LE(TCustomdxCalculator::ButtonBitmap()->Height(), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
  // The standard face of the top-left button, its raised edge at its left; between the
  // buttons the control's colour.
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), uitest::ScreenPixel(Calc->Handle(), MC.left + 20, MC.top + 20));
  EXPECT_NE(GetSysColor(COLOR_BTNFACE), uitest::ScreenPixel(Calc->Handle(), MC.left, MC.top + 20));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), uitest::ScreenPixel(Calc->Handle(), MC.left - 2, MC.top + 20));
}
