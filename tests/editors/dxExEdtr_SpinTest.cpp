// The spin editor on real windows: limits, the decimal separator, a disabled text,
// the buttons in the frame with their repeat timer driven tick by tick, the keys, the
// wheel, and numbers past 32 bits.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "classlib/Clipbrd.h"
#include "classlib/FloatConv.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/SurfaceSupport.h"

namespace {

using edittest::EditTest;
using edittest::TTestContainer;
using uitest::Pump;

class SpinEditTest : public EditTest {
 protected:
  TdxInplaceSpinEdit* ShownEdit() {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceSpinEdit>(Host);
    Edit->Style()->SetButtonStyle(bts3D);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  // A screen point in the upper (Up) or lower half of the button column.
  static LPARAM ButtonPoint(TdxInplaceSpinEdit* Edit, bool Up) {
    RECT W;
    GetWindowRect(Edit->Handle(), &W);
    int X = W.right - 2 - 5;
    int Y = Up ? W.top + 4 : W.bottom - 4;
    return MAKELPARAM(X, Y);
  }
  static void Press(TdxInplaceSpinEdit* Edit, bool Up) {
    LPARAM At = ButtonPoint(Edit, Up);
    LRESULT Code = SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, At);
    SendMessageA(Edit->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(Code), At);
  }
  static void Tick(TdxInplaceSpinEdit* Edit) {
    SendMessageA(Edit->Handle(), WM_TIMER, dxSpinRepeatTimerId, 0);
  }
  TTestContainer* Host = nullptr;
};

TEST_F(SpinEditTest, EqualLimitsApplyNoneAndMaxBelowMinTakesMax) {
  auto* Edit = ShownEdit();
  Edit->SetValue(1e6);
  EXPECT_EQ(AnsiString("1000000"), Edit->Text()) << "0 and 0 limit nothing";
  Edit->SetMinMaxValues(5, 2);
  EXPECT_EQ(2, Edit->MinValue());
  EXPECT_EQ(2, Edit->MaxValue());
  EXPECT_EQ(AnsiString("1000000"), Edit->Text()) << "the limits became equal: none";
  Edit->SetMinMaxValues(0, 10);
  Edit->SetMaxValue(-3);
  EXPECT_EQ(0, Edit->MaxValue()) << "a maximum below the minimum becomes the minimum";
  Edit->SetMinMaxValues(0, 10);
  Edit->SetText("9");
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 0x40000001);
  EXPECT_EQ(AnsiString("10"), Edit->Text()) << "steps stop exactly at the limit";
  Edit->SetText("");
  EXPECT_EQ(0, Edit->GetValue()) << "an empty text is the minimum";
}

TEST_F(SpinEditTest, PointReadsAsTheDecimalSeparatorUnderAComma) {
  TValueScope<char> Comma(FormatSettings.DecimalSeparator, ',');
  auto* Edit = ShownEdit();
  Edit->SetValueType(vtFloat);
  Edit->SetText("1.5");
  EXPECT_DOUBLE_EQ(1.5, Edit->GetValue());
  Edit->SetText("2,25");
  EXPECT_DOUBLE_EQ(2.25, Edit->GetValue());
  Edit->SetValue(0.5);
  EXPECT_EQ(AnsiString("0,5"), Edit->Text());
  Edit->SetText("1");
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '.', 1);
  EXPECT_EQ(AnsiString("1,"), Edit->Text()) << "a typed point is the separator";
  Edit->SetValueType(vtInt);
  SendMessageA(Edit->Handle(), WM_CHAR, ',', 1);
  EXPECT_EQ(1, edittest::Beeps) << "integers take no separator";
  // A character is judged by the text it leaves where it lands: one that leaves no
  // number (leaving would store the lower limit) is refused; a sign begins one.
  Edit->SetValueType(vtFloat);
  for (auto [Text, At, Key, Shown] : {std::tuple{"12", 1, '-', "12"},
                                      {"12", 0, '-', "-12"},
                                      {"-12", 0, '5', "-12"},
                                      {"1,5", 3, '.', "1,5"},
                                      {"-", 1, '.', "-,"}}) {
    Edit->SetText(Text);
    SendMessageA(Edit->Handle(), EM_SETSEL, At, At);
    SendMessageA(Edit->Handle(), WM_CHAR, Key, 1);
    EXPECT_EQ(AnsiString(Shown), Edit->Text()) << Text << " " << Key;
  }
  EXPECT_EQ(4, edittest::Beeps);
  // The value writes a very small or large number with an exponent: it takes a digit or
  // a sign that leaves a number read as the value reads it, at the end, before the last
  // digit or after the E (a sign there begins the exponent); one that leaves no number,
  // or one past the largest, is refused.
  for (auto [Value, At, Key, Shown] : {std::tuple{1E-5, 4, '5', "1E-55"},
                                       {1E-7, 3, '5', "1E-57"},
                                       {1E20, 4, '5', "1E205"},
                                       {1E20, 3, '5', "1E250"},
                                       {2.5E-9, 6, '5', "2,5E-95"},
                                       {2.5E-9, 5, '5', "2,5E-59"},
                                       {1E20, 2, '-', "1E-20"},
                                       {1E-5, 0, '-', "-1E-5"},
                                       {1E-5, 2, '5', "1E-5"},
                                       {1E-5, 4, '-', "1E-5"},
                                       {1E300, 5, '5', "1E300"}}) {
    Edit->SetValue(Value);
    SendMessageA(Edit->Handle(), EM_SETSEL, At, At);
    SendMessageA(Edit->Handle(), WM_CHAR, Key, 1);
    EXPECT_EQ(AnsiString(Shown), Edit->Text()) << Value << " " << At << Key;
    EXPECT_DOUBLE_EQ(StrToFloat(Shown), Edit->GetValue()) << Shown;
  }
  EXPECT_EQ(7, edittest::Beeps);
  // The text an exponent's sign leaves begins a number: the digit after it goes in.
  Edit->SetValue(1E5);
  EXPECT_EQ(AnsiString("100000"), Edit->Text());
  Edit->SetText("1E5");
  SendMessageA(Edit->Handle(), EM_SETSEL, 2, 3);
  SendMessageA(Edit->Handle(), WM_CHAR, '-', 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '3', 1);
  EXPECT_EQ(AnsiString("1E-3"), Edit->Text());
  EXPECT_EQ(7, edittest::Beeps);
}

// A spin editor given an edit mask: the blank characters of its empty positions are no
// part of the number. Digits typed on them go in, the number reads, and leaving keeps it.
TEST_F(SpinEditTest, AMaskedNumberTakesDigitsOnItsBlanks) {
  auto* Edit = ShownEdit();
  Edit->SetEditMask("999;0;_");
  Edit->SetValue(0);
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_CLEAR, 0, 0);
  ASSERT_EQ(AnsiString("___"), Edit->Text());
  for (char C : {'1', '2'}) SendMessageA(Edit->Handle(), WM_CHAR, C, 1);
  EXPECT_EQ(AnsiString("12_"), Edit->Text());
  EXPECT_EQ(0, edittest::Beeps);
  EXPECT_EQ(12, Edit->GetValue());
  // A digit after a blank joins the number; copied and pasted back it stays.
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 2);
  SendMessageA(Edit->Handle(), WM_CLEAR, 0, 0);
  SendMessageA(Edit->Handle(), EM_SETSEL, 2, 2);
  SendMessageA(Edit->Handle(), WM_CHAR, '7', 1);
  EXPECT_EQ(AnsiString("1_7"), Edit->Text());
  EXPECT_EQ(17, Edit->GetValue());
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(AnsiString("1_7"), Edit->Text());
  EXPECT_EQ(0, edittest::Beeps);
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_EQ(17, Edit->GetValue());
  EXPECT_EQ(AnsiString("17_"), Edit->Text());
  // A paste whose characters the mask refuses in part and that leaves no number is one
  // refusal: undone whole, with one beep.
  Edit->SetEditMask("#####;0;_");
  Edit->SetText("-0");
  Clipboard()->SetAsText("-6 -488062 xy");
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 2);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(AnsiString("-0___"), Edit->Text());
  EXPECT_EQ(1, edittest::Beeps);
}

TEST_F(SpinEditTest, DisabledTextStillStepsByKeysButtonsAndWheel) {
  auto* Edit = ShownEdit();
  // A digit typed while the text could be edited is not undone once it cannot be.
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '5', 1);
  Edit->SetEditorEnabled(false);
  for (UINT Msg : {EM_UNDO, WM_UNDO}) SendMessageA(Edit->Handle(), Msg, 0, 0);
  EXPECT_EQ(AnsiString("05"), Edit->Text());
  Edit->SetText("0");
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '7', 1);
  SendMessageA(Edit->Handle(), WM_CHAR, 'x', 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '\b', 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(AnsiString("0"), Edit->Text());
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  SendMessageA(Edit->Handle(), WM_KEYUP, VK_UP, 0xC0000001);
  EXPECT_EQ(AnsiString("1"), Edit->Text());
  Press(Edit, true);
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(AnsiString("2"), Edit->Text());
  SendMessageA(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(AnsiString("1"), Edit->Text());
  EXPECT_EQ(sbNone, Edit->PressedButton()) << "the wheel presses only for its step";
  // The time editor, whose digits each take their own range, takes none either.
  auto* Time = HostedEdit<TdxInplaceTimeEdit>(Host);
  Time->SetEditorEnabled(false);
  Time->ShowAt(Rect(5, 30, 150, 50));
  SendMessageA(Time->Handle(), WM_CHAR, '1', 1);
  EXPECT_EQ(AnsiString("00:00:00"), Time->Text());
}

TEST_F(SpinEditTest, HeldButtonRepeatsByTicksAndASecondPressRepeatsToo) {
  auto* Edit = ShownEdit();
  EXPECT_EQ(HTBORDER, SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, ButtonPoint(Edit, false)));
  EXPECT_EQ(sbDown, Edit->HotButton());
  Press(Edit, true);
  EXPECT_EQ(sbUp, Edit->PressedButton());
  EXPECT_EQ(Edit->Handle(), GetCapture());
  EXPECT_EQ(AnsiString("1"), Edit->Text()) << "one step at once";
  EXPECT_TRUE(Edit->RepeatTimerArmed());
  Tick(Edit);
  Tick(Edit);
  EXPECT_EQ(AnsiString("3"), Edit->Text());
  EXPECT_TRUE(Edit->RepeatTimerArmed());
  // The cursor off the button pauses the steps, not the timer.
  SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, ButtonPoint(Edit, false));
  Tick(Edit);
  EXPECT_EQ(AnsiString("3"), Edit->Text());
  EXPECT_TRUE(Edit->RepeatTimerArmed());
  SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, ButtonPoint(Edit, true));
  Tick(Edit);
  EXPECT_EQ(AnsiString("4"), Edit->Text());
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(sbNone, Edit->PressedButton());
  EXPECT_NE(Edit->Handle(), GetCapture());
  EXPECT_FALSE(Edit->RepeatTimerArmed());
  Press(Edit, false);
  EXPECT_EQ(AnsiString("3"), Edit->Text());
  EXPECT_TRUE(Edit->RepeatTimerArmed()) << "a second press repeats as the first";
  Tick(Edit);
  EXPECT_EQ(AnsiString("2"), Edit->Text());
  SendMessageA(Edit->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(Edit->RepeatTimerArmed());
  EXPECT_EQ(400u, dxSpinFirstRepeat);
  EXPECT_EQ(100u, dxSpinNextRepeat);
}

TEST_F(SpinEditTest, IntegersStepPastThirtyTwoBits) {
  auto* Edit = ShownEdit();
  Edit->SetText("2147483647");
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(AnsiString("2147483648"), Edit->Text());
  Edit->SetEditValue(Variant(Int64{4294967296}));
  EXPECT_DOUBLE_EQ(4294967296.0, Edit->GetValue());
}

TEST_F(SpinEditTest, CtrlIncrementLeavesPlainArrowsToTheHost) {
  auto* Edit = ShownEdit();
  Edit->SetUseCtrlIncrement(true);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(AnsiString("0"), Edit->Text());
  EXPECT_EQ(std::vector<Word>{VK_DOWN}, Host->HostKeys);
  uitest::HeldKeys = {VK_CONTROL};
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(AnsiString("-1"), Edit->Text());
  EXPECT_EQ(1u, Host->HostKeys.size());
}

// Typing takes only what makes a number; a paste that leaves no number would be stored
// as the lower limit. It is refused whole with a beep, the text and value kept.
TEST_F(SpinEditTest, APasteThatLeavesNoNumberIsRefused) {
  auto* Edit = ShownEdit();
  Edit->SetMinMaxValues(-5, 100);
  Edit->SetEditValue(Variant(42));
  auto Paste = [Edit](int Start, int Stop, const char* Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    return Edit->Text();
  };
  EXPECT_EQ(AnsiString("42"), Paste(0, -1, "abc"));
  EXPECT_EQ(1, edittest::Beeps);
  EXPECT_EQ(AnsiString("42"), Paste(1, 1, "x"));
  EXPECT_EQ(2, edittest::Beeps);
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_EQ(42, Edit->GetEditValue().AsInteger());
  EXPECT_EQ(AnsiString("472"), Paste(1, 1, "7"));
  EXPECT_EQ(AnsiString("-3"), Paste(0, -1, "-3"));
  EXPECT_EQ(2, edittest::Beeps);
  // A number the user left half typed (an exponent begun, by Backspace or a cut) is
  // refused aloud at validation and stays to be mended; a sign alone is no number yet,
  // which is the lower limit.
  Edit->SetValueType(vtFloat);
  for (const char* Left : {"21E-", "3E", "4-"}) {
    Edit->SetEditValue(Variant(7));
    Edit->SetText(Left);
    Edit->SetModified(true);
    edittest::Beeps = 0;
    EXPECT_THROW(Edit->Validate(), EdxEditInvalidInput) << Left;
    EXPECT_EQ(1, edittest::Beeps) << Left;
    EXPECT_EQ(AnsiString(Left), Edit->Text());
  }
  Edit->SetText("-");
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_EQ(AnsiString("-5"), Edit->Text());
}

TEST_F(SpinEditTest, ReadOnlyStepBeeps) {
  auto* Edit = ShownEdit();
  Edit->SetReadOnly(true);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(AnsiString("0"), Edit->Text());
  EXPECT_EQ(1, edittest::Beeps);
}

// A spin editor whose defaults come from elsewhere, as a data link's would.
class TLinkedSpinEdit : public TdxInplaceSpinEdit {
  TCLASS_DECL(TLinkedSpinEdit, TdxInplaceSpinEdit)
 public:
  using TdxInplaceSpinEdit::TdxInplaceSpinEdit;
  using TdxInplaceSpinEdit::RefreshDefaults;
  double GetDefaultMaxValue() override { return 9; }
  double GetDefaultMinValue() override { return 1; }
  TdxValueType GetDefaultValueType() override { return vtFloat; }
};
TCLASS_IMPL(TLinkedSpinEdit)

TEST_F(SpinEditTest, KeptValuesSurviveARefreshAndTheOthersFollowTheDefaults) {
  TOwned<TLinkedSpinEdit> Edit(NewObject<TLinkedSpinEdit>(nullptr));
  Edit->SetMinMaxValues(0, 100);
  EXPECT_TRUE(Edit->StoredValues().Contains(esvMaxValue));
  EXPECT_TRUE(Edit->StoredValues().Contains(esvMinValue));
  EXPECT_FALSE(Edit->StoredValues().Contains(esvValueType));
  Edit->RefreshDefaults();
  EXPECT_EQ(0, Edit->MinValue());
  EXPECT_EQ(100, Edit->MaxValue());
  EXPECT_EQ(vtFloat, Edit->ValueType());
  Edit->SetValueType(vtInt);
  Edit->SetStoredValues(TdxEditStoredValues{esvMaxValue, esvValueType});
  Edit->RefreshDefaults();
  EXPECT_EQ(1, Edit->MinValue()) << "only the minimum follows";
  EXPECT_EQ(100, Edit->MaxValue());
  EXPECT_EQ(vtInt, Edit->ValueType());
  Edit->RestoreDefaults();
  EXPECT_EQ(1, Edit->MinValue());
  EXPECT_EQ(9, Edit->MaxValue());
  EXPECT_EQ(vtFloat, Edit->ValueType());
  EXPECT_TRUE(Edit->StoredValues().Empty());
}

TEST_F(SpinEditTest, TheFormFileKeepsTheLimitsWithTheirBits) {
  for (auto [Min, Max] :
       {std::pair{10.0, 20.0}, std::pair{-20.0, -10.0}, std::pair{0.0, 0.0}}) {
    auto* Edit = FormEdit<TdxInplaceSpinEdit>();
    Edit->SetMinMaxValues(Min, Max);
    auto* Read = ReadBack(Edit);
    ASSERT_NE(nullptr, Read);
    EXPECT_EQ(Min, Read->MinValue());
    EXPECT_EQ(Max, Read->MaxValue());
    EXPECT_EQ((TdxEditStoredValues{esvMaxValue, esvMinValue}), Read->StoredValues());
    EXPECT_EQ(Edit->Text(), Read->Text());
  }
  AnsiString Text;
  ReadBack(FormEdit<TdxInplaceSpinEdit>(), &Text);
  EXPECT_EQ(AnsiString::npos, Text.find("MinValue"));
  EXPECT_EQ(AnsiString::npos, Text.find("MaxValue"));
}

TEST_F(SpinEditTest, HeldKeyShowsItsButtonHotAndHiddenButtonsTakeNoRoom) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  {
    TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
    auto* Spin = static_cast<TdxSpinEditViewData*>(Data.get());
    EXPECT_EQ(sbDown, Spin->PressedButton);
    EXPECT_EQ(sbDown, Spin->HotButton);
    int Width = GetSystemMetrics(SM_CXVSCROLL);
    if (Width % 2 == 0) --Width;
    EXPECT_EQ(std::max(Width, 13), TdxInplaceSpinEdit::SpinButtonsWidth(Data.get()));
  }
  SendMessageA(Edit->Handle(), WM_KEYUP, VK_DOWN, 0xC0000001);
  EXPECT_EQ(sbNone, Edit->PressedButton());
  Edit->Style()->SetButtonTransparence(ebtHideInactive);
  ::SetFocus(Host->Handle());
  TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
  EXPECT_EQ(0, TdxInplaceSpinEdit::SpinButtonsWidth(Data.get()));
}

TEST_F(SpinEditTest, ArrowsPointUpAndDownInTheirHalves) {
  surfacetest::TSurface Surface(80, 24, GetSysColor(COLOR_WINDOW));
  TOwned<TdxEditViewData> Data(TdxInplaceSpinEdit::StaticClass().NewViewData());
  Data->Bounds = TRect{0, 0, 80, 24};
  Data->BorderStyle = xbs3D;
  Data->ButtonStyle = bts3D;
  TdxEditDrawInfo DrawInfo;
  TdxInplaceSpinEdit::StaticClass().CalcDrawInfo(Data.get(), false, DrawInfo);
  TdxInplaceSpinEdit::StaticClass().DrawBorder(Surface.DC(), DrawInfo, Data.get());
  TRect Up, Down;
  TdxInplaceSpinEdit::GetSpinButtonRects(DrawInfo, Data.get(), Up, Down);
  EXPECT_EQ(Up.left, DrawInfo.ContentRect.right) << "the text stops at the buttons";
  const COLORREF Ink = GetSysColor(COLOR_BTNTEXT);
  for (TRect* Half : {&Up, &Down}) {
    TRect Face = *Half;
    InflateRect(&Face, -2, -2);
    TRect Arrow = Surface.Bounds(Ink, Face);
    ASSERT_GE(Arrow.bottom - Arrow.top, 2) << (Half == &Up ? "up" : "down");
    int Top = Surface.Count(Ink, TRect{Face.left, Arrow.top, Face.right, Arrow.top + 1});
    int Bottom = Surface.Count(Ink, TRect{Face.left, Arrow.bottom - 1, Face.right, Arrow.bottom});
    if (Half == &Up)
      EXPECT_LT(Top, Bottom) << "the up arrow's point is at its top";
    else
      EXPECT_GT(Top, Bottom) << "the down arrow's point is at its bottom";
  }
}

}  // namespace
