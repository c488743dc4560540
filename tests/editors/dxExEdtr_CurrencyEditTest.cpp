// The currency editor on a real window: the keys that keep the text a number with its
// decimals, the separators of the locale, paste undo, limits applied at validation,
// and the display format.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Clipbrd.h"
#include "classlib/GdiScopes.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/LocaleSupport.h"
#include "tests/editors/SurfaceSupport.h"
#include "tests/support/DateSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

class CurrencyEditTest : public EditTest {
 protected:
  TdxInplaceCurrencyEdit* ShownEdit() {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceCurrencyEdit>(Host);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  static void Type(TdxInplaceCurrencyEdit* Edit, const char* Keys) {
    for (const char* P = Keys; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(*P), 1);
  }
  static void Retype(TdxInplaceCurrencyEdit* Edit, const char* Text) {
    Edit->SetText(Text);
    Edit->SetModified(true);
  }

  TTestContainer* Host = nullptr;
};

}  // namespace

TEST_F(CurrencyEditTest, KeysKeepTheTextANumberWithItsDecimals) {
  auto* Edit = ShownEdit();
  Beeps = 0;
  Type(Edit, "1.234");
  EXPECT_EQ("1.23", Edit->Text());
  EXPECT_EQ(1, Beeps);
  Type(Edit, "x ");
  EXPECT_EQ("1.23", Edit->Text());
  EXPECT_EQ(3, Beeps);
  // A minus into an empty text, not after a digit.
  Edit->SetText("");
  Type(Edit, "-5-");
  EXPECT_EQ("-5", Edit->Text());
  EXPECT_EQ(4, Beeps);
  // An exponent only where the text stays a number.
  Edit->SetText("12.5");
  SendMessageA(Edit->Handle(), EM_SETSEL, 2, 2);
  Type(Edit, "e");
  EXPECT_EQ(5, Beeps) << "12e.5 is no number";
  Edit->SetText("12");
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 1);
  Type(Edit, "e");
  EXPECT_EQ("1e2", Edit->Text());
  // The decimals are counted up to an exponent.
  Edit->SetText("1.5e");
  SendMessageA(Edit->Handle(), EM_SETSEL, 4, 4);
  Type(Edit, "12");
  EXPECT_EQ("1.5e12", Edit->Text());
  EXPECT_EQ(5, Beeps);
  Edit->SetDecimalPlaces(0);
  Edit->SetText("7");
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 1);
  Type(Edit, ".5");
  EXPECT_EQ("7.", Edit->Text());
  EXPECT_EQ(6, Beeps);
}

TEST_F(CurrencyEditTest, SeparatorsFollowTheLocale) {
  TFormatSettings Settings;
  Settings.DecimalSeparator = ',';
  Settings.ThousandSeparator = '.';
  TScopedFormatSettings Scoped(Settings);
  auto* Edit = ShownEdit();
  Type(Edit, "12.5");
  EXPECT_EQ("12,5", Edit->Text()) << "either typed separator is the decimal one";
  Edit->SetText("");
  Edit->SetUseThousandSeparator(true);
  Type(Edit, "1.234,5");
  EXPECT_EQ("1.234,5", Edit->Text());
  double Value = 0;
  EXPECT_TRUE(TdxInplaceCurrencyEdit::TextToDouble("1.234,5", Value));
  EXPECT_EQ(1234.5, Value);
  EXPECT_FALSE(TdxInplaceCurrencyEdit::TextToDouble("1,2,3", Value));
  EXPECT_EQ(0, Value);
  EXPECT_FALSE(TdxInplaceCurrencyEdit::TextToDouble("1e400", Value));
}

TEST_F(CurrencyEditTest, WithOneCharacterForBothSeparatorsItIsTheDecimalOne) {
  TFormatSettings Settings;
  Settings.DecimalSeparator = ',';
  Settings.ThousandSeparator = ',';
  TScopedFormatSettings Scoped(Settings);
  double Value = 0;
  EXPECT_TRUE(TdxInplaceCurrencyEdit::TextToDouble("2012258,76", Value));
  EXPECT_EQ(2012258.76, Value);
  auto* Edit = ShownEdit();
  Edit->SetUseThousandSeparator(true);
  Beeps = 0;
  Type(Edit, "12,345");
  EXPECT_EQ("12,34", Edit->Text()) << "the third decimal is refused";
  EXPECT_EQ(1, Beeps);
  EXPECT_EQ(12.34, Edit->GetValue());
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_EQ("12,34", Edit->Text());
}

TEST_F(CurrencyEditTest, ValidationLimitsAndRewritesTheValue) {
  auto* Edit = ShownEdit();
  Edit->SetMinMaxValues(0, 100);
  EXPECT_TRUE(Edit->StoredValues().Contains(esvMaxValue));
  EXPECT_TRUE(Edit->StoredValues().Contains(esvMinValue));
  Retype(Edit, "250");
  Edit->Validate();
  EXPECT_EQ("100", Edit->Text());
  Retype(Edit, "-5");
  Edit->Validate();
  EXPECT_EQ("0", Edit->Text());
  Retype(Edit, "1.50");
  Edit->Validate();
  EXPECT_EQ("1.5", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
  // Min above Max: both Max, and no limit while they are equal.
  Edit->SetMinMaxValues(10, 5);
  EXPECT_EQ(5, Edit->MinValue());
  EXPECT_EQ(5, Edit->MaxValue());
  Retype(Edit, "250");
  Edit->Validate();
  EXPECT_EQ("250", Edit->Text());
  // A text that is no number becomes MinValue.
  Edit->SetMinMaxValues(3, 9);
  Retype(Edit, "abc");
  Edit->Validate();
  EXPECT_EQ("3", Edit->Text());
  // A number the user left half typed (an exponent begun by Backspace) is refused aloud
  // and stays to be mended.
  Retype(Edit, "");
  Type(Edit, "45");
  Edit->SetSelStart(1);
  Type(Edit, "E");
  ASSERT_EQ("4E5", Edit->Text());
  Edit->SetSelStart(3);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  ASSERT_EQ("4E", Edit->Text());
  Beeps = 0;
  EXPECT_THROW(Edit->Validate(), EdxEditInvalidInput);
  EXPECT_EQ(1, Beeps);
  EXPECT_EQ("4E", Edit->Text());
  // Narrowing the range re-applies it to the value.
  Edit->SetText("8");
  Edit->SetMinMaxValues(0, 6);
  EXPECT_EQ("6", Edit->Text());
  // An empty text with the empty-value option stays empty (and is Null).
  Edit->SetEmptyValueNull(true);
  Retype(Edit, "");
  Edit->Validate();
  EXPECT_EQ("", Edit->Text());
  EXPECT_TRUE(Edit->GetEditValue().IsNull());
}

TEST_F(CurrencyEditTest, DisplayFormatShowsTheLocalesCurrency) {
  auto* Edit = ShownEdit();
  EXPECT_EQ("$,0.00;-$,0.00", Edit->DisplayFormat());
  Edit->SetText("1234.5");
  Variant Shown;
  Edit->GetDisplayValue(Shown);
  EXPECT_EQ("$1,234.50", VarToStr(Shown));
  Edit->SetText("-2");
  Edit->GetDisplayValue(Shown);
  EXPECT_EQ("-$2.00", VarToStr(Shown));
  // An empty format shows the text; a set one is kept from the locale's.
  Edit->SetDisplayFormat("");
  EXPECT_TRUE(Edit->StoredValues().Contains(esvDisplayFormat));
  Edit->GetDisplayValue(Shown);
  EXPECT_EQ("-2", VarToStr(Shown));
  Edit->SetDisplayFormatValue("0.0 'units'");
  Edit->GetDisplayValue(Shown);
  EXPECT_EQ("-2.0 units", VarToStr(Shown));
  Edit->RestoreDefaults();
  EXPECT_EQ("$,0.00;-$,0.00", Edit->DisplayFormat());
}

TEST_F(CurrencyEditTest, TheFormFileKeepsTheLimitsAndTheFormatSetExplicitly) {
  auto* Edit = FormEdit<TdxInplaceCurrencyEdit>();
  Edit->SetMinMaxValues(-5, 250);
  Edit->SetDisplayFormat("0.0 'units'");
  auto* Read = ReadBack(Edit);
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ(-5, Read->MinValue());
  EXPECT_EQ(250, Read->MaxValue());
  EXPECT_EQ("0.0 'units'", Read->DisplayFormat());
  EXPECT_EQ((TdxEditStoredValues{esvMaxValue, esvMinValue, esvDisplayFormat}),
            Read->StoredValues());
  // An empty format set explicitly stays empty, not the locale's.
  Edit = FormEdit<TdxInplaceCurrencyEdit>();
  Edit->SetDisplayFormat("");
  Read = ReadBack(Edit);
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ("", Read->DisplayFormat());
  EXPECT_EQ(TdxEditStoredValues{esvDisplayFormat}, Read->StoredValues());
  // The locale's format nobody set is not written.
  AnsiString Text;
  ReadBack(FormEdit<TdxInplaceCurrencyEdit>(), &Text);
  EXPECT_EQ(AnsiString::npos, Text.find("DisplayFormat"));
}

// The columns the text takes in the editor's window as the screen shows it: the pixels
// that are not the editor's colour, first to last.
int InkWidth(TdxInplaceCurrencyEdit* Edit) {
  UpdateWindow(Edit->Handle());
  const TRect Client = Edit->ClientRect();
  surfacetest::TSurface Shown(Client.right, Client.bottom);
  TClientDC Window(Edit->Handle());
  BitBlt(Shown.DC(), 0, 0, Client.right, Client.bottom, Window.DC(), 0, 0, SRCCOPY);
  const COLORREF Back = ColorToRGB(Edit->Color());
  int First = -1, Last = -1;
  for (int X = 0; X < Client.right; ++X)
    for (int Y = 0; Y < Client.bottom; ++Y)
      if (Shown.At(X, Y) != Back) {
        if (First < 0) First = X;
        Last = X;
        break;
      }
  return First < 0 ? 0 : Last - First + 1;
}

int TextWidth(TdxInplaceCurrencyEdit* Edit, const AnsiString& Text) {
  TScreenDC Screen;
  TSelection Font(Screen.DC(), Edit->Font()->Handle());
  SIZE Size{};
  GetTextExtentPoint32A(Screen.DC(), Text.c_str(), static_cast<int>(Text.size()), &Size);
  return Size.cx;
}

TEST_F(CurrencyEditTest, EditedTheTextIsShownAndLeftTheFormattedAmount) {
  auto* Edit = ShownEdit();
  Edit->SetText("1234.5");
  Variant Display;
  Edit->GetDisplayValue(Display);
  ASSERT_EQ("$1,234.50", VarToStr(Display));
  const int Plain = TextWidth(Edit, "1234.5");
  const int Formatted = TextWidth(Edit, "$1,234.50");
  ASSERT_GT(Formatted, Plain + 8);
  auto ShownWidth = [&] {
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, 0);
    HideCaret(Edit->Handle());
    Pump();
    return InkWidth(Edit);
  };
  ASSERT_EQ(Edit->Handle(), GetFocus());
  EXPECT_LE(ShownWidth(), Plain) << "the typed text while edited";
  ::SetFocus(Host->Handle());
  Pump();
  EXPECT_GT(ShownWidth(), Plain + 8) << "the formatted amount once left";
  EXPECT_LE(ShownWidth(), Formatted);
  ::SetFocus(Edit->Handle());
  Pump();
  EXPECT_LE(ShownWidth(), Plain) << "the typed text again";
  // Without a format the text shows in either state.
  Edit->SetDisplayFormat("");
  ::SetFocus(Host->Handle());
  Pump();
  EXPECT_LE(ShownWidth(), Plain);
}

TEST_F(CurrencyEditTest, AnEditMaskNeverReachesTheWindow) {
  auto* Edit = ShownEdit();
  Edit->SetEditMask("000");
  EXPECT_FALSE(Edit->IsMasked());
  Type(Edit, "12.5");
  EXPECT_EQ("12.5", Edit->Text());
  // So a typed character lands at the caret, over the selection, where it is judged:
  // never on a position of the mask.
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 1);
  Type(Edit, "3");
  EXPECT_EQ("132.5", Edit->Text());
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, 2);
  Type(Edit, "-");
  EXPECT_EQ("-2.5", Edit->Text());
}

// The system's paste replaces the whole selection.
TEST_F(CurrencyEditTest, APasteThatIsNoNumberIsUndone) {
  auto* Edit = ShownEdit();
  Edit->SetText("42");
  Clipboard()->SetAsText("abc");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("42", Edit->Text());
  int Start = 0, Stop = 0;
  Edit->GetSel(Start, Stop);
  EXPECT_EQ(0, Start);
  EXPECT_GE(Stop, 2) << "the whole text selected";
  Clipboard()->SetAsText("7.5");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("7.5", Edit->Text());
  // A read-only editor takes no paste.
  Edit->SetReadOnly(true);
  Clipboard()->SetAsText("abc");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("7.5", Edit->Text());
  // A number written with the locale's thousand separators, as it types, is one the
  // editor reads: copied and pasted back it goes in.
  Edit->SetReadOnly(false);
  Edit->SetUseThousandSeparator(true);
  Edit->SetText("");
  Type(Edit, "1,234.5");
  ASSERT_EQ("1,234.5", Edit->Text());
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  Edit->SetText("42");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("1,234.5", Edit->Text());
  EXPECT_EQ(1234.5, Edit->GetValue());
}

TEST_F(CurrencyEditTest, ALocaleChangeTakesTheNewCurrencyUnlessTheFormatWasSet) {
  auto* Edit = ShownEdit();
  Edit->SetText("3");
  {
    TScopedLocaleInfo Crowns(LOCALE_SCURRENCY, "kr");
    SendLocaleChanged(Edit->Handle());
    EXPECT_EQ("kr,0.00;-kr,0.00", Edit->DisplayFormat());
    Variant Shown;
    Edit->GetDisplayValue(Shown);
    EXPECT_EQ("kr3.00", VarToStr(Shown));
    Edit->SetDisplayFormat("0");
    SendLocaleChanged(Edit->Handle());
    EXPECT_EQ("0", Edit->DisplayFormat());
  }
}

// A change of the locale's separators while an amount is typed keeps the amount: the
// text is written again in the new separators (a thousand separator dropped where the
// new ones have none of their own), the modified state as it was, whichever control
// heard of the change first.
TEST_F(CurrencyEditTest, ASeparatorChangeKeepsTheAmountTypedInTheOldOnes) {
  TScopedLocaleInfo Decimal(LOCALE_SDECIMAL, ",");
  TScopedLocaleInfo Thousand(LOCALE_STHOUSAND, ".");
  InitFormatSettings();
  auto* Edit = ShownEdit();
  auto* Other = HostedEdit<TdxInplaceCurrencyEdit>(Host);
  Other->SetText("7");
  Edit->SetUseThousandSeparator(true);
  Edit->SetText("");
  Type(Edit, "1.234,5");
  ASSERT_EQ("1.234,5", Edit->Text());
  const auto Change = [&](const char* NewDecimal, const char* NewThousand) {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, NewDecimal);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, NewThousand);
    // Another editor hears of it first and reads the locale again.
    SendLocaleChanged(Other->Handle());
    SendLocaleChanged(Edit->Handle());
    Pump();
  };
  Change(".", ",");
  EXPECT_EQ("1,234.5", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
  EXPECT_EQ(1234.5, Edit->GetValue());
  Change(",", ",");
  EXPECT_EQ("1234,5", Edit->Text());
  Change(",", ".");
  EXPECT_EQ("1234,5", Edit->Text());
  Edit->Validate();
  EXPECT_EQ(1234.5, Edit->GetValue());
  // A program's amount, unmodified, stays so.
  Edit->SetText("2,75");
  Edit->SetModified(false);
  Change(".", " ");
  EXPECT_EQ("2.75", Edit->Text());
  EXPECT_FALSE(Edit->GetModified());
  EXPECT_EQ("7", Other->Text());
}
