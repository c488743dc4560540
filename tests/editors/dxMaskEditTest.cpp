// The mask editor on a real rich edit window: the mask's fields and the texts fitted
// to it, typing and deleting that keep the literals in place, and the validation of an
// incomplete value. Expected texts take the locale's separators.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/FloatConv.h"
#include "classlib/FormatSettings.h"
#include "classlib/StrUtils.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxExEdtr_Time.h"
#include "editors/dxMaskEdit.h"
#include "tests/editors/ChildRunSupport.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/support/DateSupport.h"
#include "tests/support/FuzzSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

// Three two-digit fields with the locale's date separators between them.
AnsiString DateText(const char* Day, const char* Month, const char* Year) {
  const char Sep = FormatSettings.DateSeparator;
  return AnsiString(Day) + Sep + Month + Sep + Year;
}

// Holds keys for the controls' key state while it lives.
struct HeldKeysGuard {
  explicit HeldKeysGuard(std::vector<int> Keys) { uitest::HeldKeys = std::move(Keys); }
  ~HeldKeysGuard() { uitest::HeldKeys.clear(); }
};

class MaskEditTest : public EditTest {
 protected:
  TdxInplaceMaskEdit* ShownEdit(const char* Mask) {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceMaskEdit>(Host);
    Edit->SetEditMask(Mask);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  static void Type(TdxInplaceMaskEdit* Edit, const char* Text) {
    for (const char* P = Text; *P; ++P)
      SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(*P), 1);
  }
  static void Caret(TdxInplaceMaskEdit* Edit, int At) {
    CHARRANGE Range{At, At};
    SendMessageA(Edit->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  }
  static int CaretAt(TdxInplaceMaskEdit* Edit) {
    int Start = 0, Stop = 0;
    Edit->GetSel(Start, Stop);
    return Start;
  }
  static AnsiString EditText(TdxInplaceMaskEdit* Edit) {
    return VarToStr(Edit->GetEditValue());
  }

  TTestContainer* Host = nullptr;
};

TEST_F(MaskEditTest, AnEmptyDateMaskShowsBlanksAndTheLocalesSeparators) {
  TdxInplaceMaskEdit* Edit = ShownEdit("99/99/99;1;_");
  EXPECT_EQ(DateText("__", "__", "__"), Edit->Text());
  EXPECT_EQ("", EditText(Edit));
  EXPECT_TRUE(Edit->IsMasked());
}

TEST_F(MaskEditTest, TheSaveFieldDecidesWhetherTheLiteralsArePartOfTheText) {
  TdxInplaceMaskEdit* Edit = ShownEdit("00/00/00;0;_");
  Type(Edit, "311299");
  EXPECT_EQ(DateText("31", "12", "99"), Edit->Text());
  EXPECT_EQ("311299", EditText(Edit));

  for (const char* Mask : {"00/00/00;1;_", "00/00/00"}) {
    Edit->SetEditMask(Mask);
    EXPECT_EQ(DateText("31", "12", "99"), EditText(Edit)) << Mask;
  }
  // The value a host stores has no spaces for the optional positions left blank at its
  // end (at its start under "!"), which come back as blanks; the others stay spaces.
  const struct {
    const char* Mask;
    const char* Shown;
    const char* Stored;
  } Values[] = {{"#####;0;_", "47___", "47"},         {"#####;0;_", "4_7__", "4 7"},
                {"99-99;1;*", "12-**", "12-"},         {"99-99;0;*", "1*-**", "1"},
                {"!99-99;0;_", "__-_5", "5"},          {"!99-99;0;_", "1_-_5", "1  5"},
                {"00\\ 0;0;_", "12 3", "123"}};
  for (const auto& V : Values) {
    Edit->SetEditMask(V.Mask);
    Edit->SetText(V.Shown);
    ASSERT_EQ(V.Shown, Edit->Text()) << V.Mask;
    EXPECT_EQ(V.Stored, EditText(Edit)) << V.Mask << " " << V.Shown;
    Edit->SetEditValue(Edit->GetEditValue());
    EXPECT_EQ(V.Shown, Edit->Text()) << V.Mask << ": the value comes back as shown";
  }
}

TEST_F(MaskEditTest, ALetterInADigitPositionBeepsOnceAndChangesNothing) {
  TdxInplaceMaskEdit* Edit = ShownEdit("000");
  Caret(Edit, 0);
  Type(Edit, "x");
  EXPECT_EQ(1, Beeps);
  EXPECT_EQ("___", Edit->Text());
  EXPECT_EQ(0, CaretAt(Edit));
  // Judged before a selection is emptied: refused, it leaves the selection; a separator
  // ahead empties it.
  Edit->SetEditMask("00-00;1;_");
  Edit->SetText("12-34");
  SendMessageA(Edit->Handle(), EM_SETSEL, 1, 4);
  Type(Edit, "x");
  EXPECT_EQ("12-34", Edit->Text());
  Type(Edit, "-");
  EXPECT_EQ("1_-_4", Edit->Text());
  EXPECT_EQ(2, Beeps);
}

TEST_F(MaskEditTest, AMaskShorterThanFourCharactersTakesNoFieldsFromItsEnd) {
  const TdxEditMask Short("0;0");
  EXPECT_EQ(3, Short.Length());
  EXPECT_EQ("_;_", Short.EmptyText());
  EXPECT_TRUE(Short.SaveLiterals());
  const TdxEditMask Long("0;0;*");
  EXPECT_EQ(1, Long.Length());
  EXPECT_EQ('*', Long.BlankChar());
  EXPECT_FALSE(Long.SaveLiterals());
  // An escaped separator is a literal.
  EXPECT_EQ(4, TdxEditMask("00\\;0").Length());
}

TEST_F(MaskEditTest, TheFormFileKeepsTheMaskAndTheLimitAskedForUnderIt) {
  auto* Edit = FormEdit<TdxInplaceMaskEdit>();
  Edit->SetMaxLength(20);
  Edit->SetEditMask("(000) 000;1;*");
  auto* Read = ReadBack(Edit);
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ("(000) 000;1;*", Read->EditMask());
  EXPECT_TRUE(Read->IsMasked());
  EXPECT_EQ(9, Read->MaxLength());
  EXPECT_EQ((TdxEditStoredValues{esvMaxLength, esvEditMask}), Read->StoredValues());
  // Without the mask the limit asked for holds again.
  Read->SetEditMask("");
  EXPECT_EQ(20, Read->MaxLength());
}

TEST_F(MaskEditTest, ANewMaskReformatsTheTextAndSetsMaxLengthToItsPositions) {
  TdxInplaceMaskEdit* Edit = ShownEdit("000-000");
  Type(Edit, "123456");
  EXPECT_EQ("123-456", Edit->Text());
  Edit->SetEditMask("(000) 000;1;*");
  EXPECT_EQ("(123) 456", Edit->Text());
  EXPECT_TRUE(Edit->GetModified()) << "the text on the new mask is still the one typed";
  EXPECT_EQ(9, Edit->MaxLength());
  EXPECT_EQ(9, SendMessageA(Edit->Handle(), EM_GETLIMITTEXT, 0, 0));
  // Without a mask the limit asked for holds again.
  Edit->SetEditMask("");
  EXPECT_EQ(0, Edit->MaxLength());
  EXPECT_FALSE(Edit->IsMasked());
  // Case directives convert letters in their positions.
  Edit->SetEditMask(">LL<LL");
  Caret(Edit, 0);
  Type(Edit, "abCD");
  EXPECT_EQ("ABcd", Edit->Text());
}

TEST_F(MaskEditTest, LessGreaterEndsCaseConversionAndGreaterLessIsTwoDirectives) {
  TdxInplaceMaskEdit* Edit = ShownEdit("<>LLL");
  Caret(Edit, 0);
  Type(Edit, "aBc");
  EXPECT_EQ("aBc", Edit->Text());
  // The case each position of a mask gives the letters typed into it.
  auto Cases = [](const char* Mask, const char* Typed) {
    const TdxEditMask EditMask(Mask);
    AnsiString Result;
    for (int I = 0; I < EditMask.Length() && Typed[I]; ++I) {
      char Ch = Typed[I];
      Result += EditMask.Accepts(I, Ch) ? Ch : '?';
    }
    return Result;
  };
  EXPECT_EQ("Ab", Cases(">L<>L", "ab"));
  EXPECT_EQ("AB", Cases(">L<>L", "aB"));
  EXPECT_EQ("ab", Cases("><LL", "AB"));
  EXPECT_EQ("Ab", Cases(">L<L", "AB"));
  EXPECT_EQ("aBC", Cases("<L<>L>L", "ABc"));
}

TEST_F(MaskEditTest, BackspaceStepsOverALiteralAndLeavesABlank) {
  TdxInplaceMaskEdit* Edit = ShownEdit("00/00/00");
  Type(Edit, "311299");
  Caret(Edit, 3);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ(DateText("3_", "12", "99"), Edit->Text());
  EXPECT_EQ(1, CaretAt(Edit));
  // Delete blanks the position under the caret; a selection is blanked whole.
  Caret(Edit, 3);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(DateText("3_", "_2", "99"), Edit->Text());
  CHARRANGE All{0, -1};
  SendMessageA(Edit->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&All));
  SendMessageA(Edit->Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(DateText("__", "__", "__"), Edit->Text());
}

TEST_F(MaskEditTest, TypingTheLiteralSkipsToTheNextField) {
  TdxInplaceMaskEdit* Edit = ShownEdit("99/99/99");
  const char Sep[2] = {FormatSettings.DateSeparator, '\0'};
  Type(Edit, "1");
  Type(Edit, Sep);
  Type(Edit, "2");
  EXPECT_EQ(DateText("1_", "2_", "__"), Edit->Text());
  EXPECT_EQ(0, Beeps);
}

TEST_F(MaskEditTest, ASeparatorRightAfterAFilledFieldIsTakenInPlaceTypedOrPasted) {
  TdxInplaceMaskEdit* Edit = ShownEdit("!99/99/0000;1;_");
  const AnsiString Date = DateText("12", "31", "1999");
  Caret(Edit, 0);
  Type(Edit, Date.c_str());
  EXPECT_EQ(Date, Edit->Text());
  EXPECT_EQ(0, Beeps);
  // Over the whole text, pasted.
  auto PasteOverAll = [&](const AnsiString& Text) {
    Clipboard()->SetAsText(Text);
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  };
  Edit->SetText("");
  PasteOverAll(Date);
  EXPECT_EQ(Date, Edit->Text());
  EXPECT_EQ(0, Beeps);
  // What the editor showed, blanks included, lands as it was.
  const AnsiString Shown = DateText("1_", "__", "_999");
  Edit->SetText(Shown);
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  Edit->SetText(Date);
  PasteOverAll(Clipboard()->AsText());
  EXPECT_EQ(Shown, Edit->Text());
  // The separator counts once: a second one goes on to the next field.
  Edit->SetText("");
  Caret(Edit, 0);
  const char Sep[2] = {FormatSettings.DateSeparator, '\0'};
  Type(Edit, "12");
  Type(Edit, Sep);
  Type(Edit, Sep);
  Type(Edit, "7");
  EXPECT_EQ(DateText("12", "__", "7___"), Edit->Text());
}

// A pasted field of digits cut short by its separator, or by the end of the selection
// it replaces, is that number: its digits go to the field's right, zeros before them
// (the blank "0" would otherwise read as digits after them). Optional fields, and a
// paste that begins inside a field, keep the characters where they land.
TEST_F(MaskEditTest, APastedFieldShorterThanItsDigitsIsThatNumber) {
  TdxInplaceMaskEdit* Edit = ShownEdit("00-00-00;1;0");
  auto Paste = [Edit](int Start, int Stop, const char* Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    return Edit->Text();
  };
  Edit->SetText("13-45-15");
  EXPECT_EQ("01-30-00", Paste(0, -1, "1-30-00"));
  EXPECT_EQ("01-02-03", Paste(0, -1, "1-2-3"));
  EXPECT_EQ("01-05-00", Paste(0, -1, "1-5-00"));
  EXPECT_EQ("07-05-00", Paste(0, 2, "7"));
  EXPECT_EQ("07-95-00", Paste(3, 3, "9"));
  EXPECT_EQ("07-04-00", Paste(3, 3, "4-"));
  EXPECT_EQ("07-08-00", Paste(4, 4, "8-"));
  EXPECT_EQ(0, Beeps);
  Edit->SetEditMask("00-00-00;1;_");
  EXPECT_EQ("01-02-__", Paste(0, -1, "1-2-"));
  EXPECT_EQ(0, Beeps);
  Edit->SetEditMask("99-99-99;1;_");
  EXPECT_EQ("1_-2_-3_", Paste(0, -1, "1-2-3"));
}

// A blank that a position refuses and that is the next literal moves past that
// literal, as any other literal does, and a paste's field cut short by it is closed
// with its digits at its right. Elsewhere a pasted blank leaves its position empty.
TEST_F(MaskEditTest, ABlankThatIsTheNextLiteralClosesTheShortField) {
  const char Sep = FormatSettings.DateSeparator;
  auto Shown = [Sep](AnsiString Text) {
    std::replace(Text.begin(), Text.end(), '/', Sep);
    return Text;
  };
  TdxInplaceMaskEdit* Edit = ShownEdit("000\\ 0/000;0;_");
  auto Paste = [Edit](const AnsiString& Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    return Edit->Text();
  };
  auto TypeOverAll = [Edit](const AnsiString& Typed) {
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    Type(Edit, Typed.c_str());
    return Edit->Text();
  };
  EXPECT_EQ(Shown("007 6/839"), Paste(Shown("7 6/839")));
  EXPECT_EQ(Shown("7__ 6/839"), TypeOverAll(Shown("7 6/839")));
  Edit->SetEditMask("00\\-00\\ 000;1;_");
  EXPECT_EQ("09-03 074", Paste("9-3 74"));
  EXPECT_EQ("9_-3_ 74_", TypeOverAll("9-3 74"));
  EXPECT_EQ(0, Beeps);
  Edit->SetEditMask("000-000;1;_");
  EXPECT_EQ("1_2-345", Paste("1 2-345"));
  // Literals not saved: one character a position with a blank on a required position
  // reads as fields; with blanks only where a position may stay blank, as laid.
  for (auto [EditMask, Clip, Shown] : {std::tuple{"00\\ 0;0;_", "4 7", "04 7"},
                                        {"0000\\ 0;0;_", "880 0", "0880 0"},
                                        {"0\\ 0\\ 000;0;_", "7 8 6", "7 8 006"},
                                        {"09\\ 0;0;_", "4 7", "4_ 7"}}) {
    Edit->SetEditMask(EditMask);
    EXPECT_EQ(AnsiString(Shown), Paste(Clip));
  }
  EXPECT_EQ(0, Beeps);
}

// A text that holds the mask's literals in their places, or a blank where the literal
// is one, is taken position for position: a blank pasted before a blank literal stays
// a blank there, and a character its position refuses beeps and leaves it as the
// selection's blanking left it, without moving the characters after it.
TEST_F(MaskEditTest, ATextThatFitsTheMaskPastesPositionForPosition) {
  TdxInplaceMaskEdit* Edit = ShownEdit("000\\ 000;1; ");
  auto Paste = [Edit](int Start, int Stop, const AnsiString& Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    return Edit->Text();
  };
  EXPECT_EQ("1   2  ", Paste(0, -1, "1   2  "));
  Edit->SetEditMask("000\\ 000;1;_");
  EXPECT_EQ("1__ 2__", Paste(0, -1, "1   2  "));
  EXPECT_EQ("1__ 2__", Paste(0, -1, "1___2__"));
  // From the selection's start to the end.
  EXPECT_EQ("4__ __5", Paste(0, 0, "4__ __5"));
  EXPECT_EQ("4__ 7_9", Paste(4, 6, "7 9"));
  Edit->SetEditMask("00\\ 00;1;_");
  EXPECT_EQ("_5 30", Paste(0, -1, " 5 30"));
  EXPECT_EQ(0, Beeps);
  Edit->SetEditMask("00-00;1;_");
  EXPECT_EQ("1_-34", Paste(0, -1, "1x-34"));
  EXPECT_EQ(1, Beeps);
  // A program's replacement goes in so too, and one the mask cannot take whole is
  // refused, silently.
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("9x-87"));
  EXPECT_EQ("1_-34", Edit->Text());
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("9 -87"));
  EXPECT_EQ("9_-87", Edit->Text());
  SendMessageA(Edit->Handle(), EM_SETSEL, 3, 4);
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("65"));
  EXPECT_EQ("9_-65", Edit->Text());
  EXPECT_EQ(1, Beeps);
  // A new mask takes the old one's positions one for one.
  Edit->SetEditMask("000\\ 000;1;_");
  Edit->SetText("123 _56");
  Edit->SetEditMask("000\\ 000;1;*");
  EXPECT_EQ("123 *56", Edit->Text());
}

// The editor's text as its host reads it.
struct TEditTextPeek : TdxInplaceEdit {
  static AnsiString Of(TdxInplaceEdit* Edit) {
    AnsiString Text;
    (Edit->*(&TEditTextPeek::GetEditText))(Text);
    return Text;
  }
};

// Every editor that takes a mask, its fields filled at random by typing: the window's
// text, copied, all of it deleted and pasted back, is what it was, and so is the
// editor's text (its blanks as spaces, without the literals when they are not saved)
// put back the same way where it reads one way only, with no beep. A program's
// replacement of the selection, and its text set, keep them so too. Digit fields
// pasted between blanks read as numbers; a time typed is a time, a number a number.
TEST_F(MaskEditTest, EachMaskedEditorsOwnTextPastesBackAsItWas) {
  Host = ShownContainer();
  auto* Mask = HostedEdit<TdxInplaceMaskEdit>(Host);
  auto* Date = HostedEdit<TdxInplaceDateEdit>(Host);
  auto* Time = HostedEdit<TdxInplaceTimeEdit>(Host);
  auto* Spin = HostedEdit<TdxInplaceSpinEdit>(Host);
  const char* const Digits = "0123456789";
  // A spin editor's text must stay a number: one run is typed into it.
  const struct {
    TdxInplaceMaskEdit* Edit;
    const char* Mask;  // nullptr: the editor's own
    const char* Typed;
    const char* ShortDate = "M/d/yyyy";
  } Cases[] = {
      {Mask, "000\\ 000;1; ", Digits},          {Mask, "000\\ 000;1;_", Digits},
      {Mask, "00\\ 00;1;_", Digits},            {Mask, "!99/99/0000;1;_", Digits},
      {Mask, "(999) 000-0000;1;*", Digits},     {Mask, "00-00-00;1;0", Digits},
      {Mask, ">LL\\ aa\\ cc;1;_", "aZ5 _-"},    {Mask, "CC\\ cc\\_l;1;_", "x _-"},
      {Mask, "\\ 0\\ 9\\ ;1; ", Digits},        {Mask, "000\\ 000;0;_", Digits},
      {Mask, "!99\\ 99/00;0; ", Digits},       {Date, nullptr, Digits},
      {Date, nullptr, Digits, "d M yyyy"},
      {Time, nullptr, Digits},                  {Spin, "\\ 0000\\ ;1; ", Digits},
      {Spin, "999990;1; ", Digits},             {Spin, "#####;1; ", "+-0123456789"},
      {Mask, "00\\ 0;0;_", Digits},             {Mask, "0\\ 0\\ 000;0;_", Digits},
      {Mask, "09\\ 0\\ c;0;_", Digits},      {Spin, "999;0;_", Digits},
  };
  fuzz::TRandom Random(20240611);
  for (const auto& Case : Cases) {
    TFormatSettings Settings = FormatSettings;
    Settings.ShortDateFormat = Case.ShortDate;
    TScopedFormatSettings Locale(Settings);
    TdxInplaceMaskEdit* Edit = Case.Edit;
    if (Case.Mask) Edit->SetEditMask(Case.Mask);
    if (Edit == Date) {
      Date->SetUseEditMask(false);
      Date->SetUseEditMask(true);
    }
    const int Length = Edit->Mask().Length();
    const std::size_t TypedCount = std::strlen(Case.Typed);
    const HWND Window = Edit->Handle();
    auto ClearAll = [&] {
      SendMessageA(Window, EM_SETSEL, 0, -1);
      SendMessageA(Window, WM_CLEAR, 0, 0);
      ASSERT_EQ(Edit->Mask().EmptyText(), Edit->Text());
    };
    auto PasteOverAll = [&](const AnsiString& Clip) {
      ClearAll();
      Clipboard()->SetAsText(Clip);
      SendMessageA(Window, EM_SETSEL, 0, -1);
      Beeps = 0;
      SendMessageA(Window, WM_PASTE, 0, 0);
      EXPECT_EQ(0, Beeps);
    };
    for (int Round = 0; Round < 20; ++Round) {
      ClearAll();
      const bool OneRun = Edit == Spin;
      int FirstAt = -1;
      for (std::size_t Runs = OneRun ? 1 : 1 + Random.Below(4); Runs > 0; --Runs) {
        const int At = static_cast<int>(Random.Below(static_cast<std::size_t>(Length)));
        if (FirstAt < 0) FirstAt = At;
        SendMessageA(Window, EM_SETSEL, At, At);
        for (std::size_t Count = 1 + Random.Below(4); Count > 0; --Count)
          SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(Case.Typed[Random.Below(TypedCount)]), 1);
      }
      const AnsiString Shown = Edit->Text();
      const std::string Where = Edit->EditMask() + " \"" + Shown + "\"";
      // Each character was judged where it landed: a sign alone begins a number, but is
      // none to paste. The blanks of a number's empty positions are no part of it, so
      // the first digit typed on a position is a number.
      if (Edit == Spin && Case.Typed == Digits && Edit->Mask().NextPosition(FirstAt) >= 0) {
        EXPECT_NE(AnsiString::npos, Shown.find_first_of(Digits)) << Where;
      }
      AnsiString Figures = Shown;
      Figures.erase(std::remove(Figures.begin(), Figures.end(), Edit->BlankChar()), Figures.end());
      double Number = 0;
      if (Edit == Spin && Trim(Figures).find_first_of(Digits) == AnsiString::npos) continue;
      EXPECT_TRUE(Edit != Spin || TryStrToFloat(Trim(Figures), Number)) << Where;
      EXPECT_TRUE(Edit != Spin || Number == Spin->GetValue()) << Where;
      if (Edit == Time) {
        TDateTime Typed = 0;
        ASSERT_TRUE(TryStrToTime(Shown, Typed)) << Where;
        Edit->Validate();
        EXPECT_NEAR(Typed, Edit->GetEditValue().AsDouble(), 1e-9) << Where;
      }
      SendMessageA(Window, EM_SETSEL, 0, -1);
      SendMessageA(Window, WM_COPY, 0, 0);
      PasteOverAll(Clipboard()->AsText());
      EXPECT_EQ(Shown, Edit->Text()) << Where;
      const AnsiString Text = TEditTextPeek::Of(Edit);
      // Without the literals, a blank on a required position reads as one between fields.
      bool OneWay = true;
      for (int I = 0, Next = 0; I < Length && !Edit->SaveLiterals() && !Text.empty(); ++I) {
        if (!Edit->Mask().Char(I).IsPosition()) continue;
        const bool Blank = Edit->Mask().IsBlank(Text[static_cast<std::size_t>(Next++)]);
        if (Blank && Edit->Mask().Char(I).Required) OneWay = false;
      }
      if (OneWay) PasteOverAll(Text);
      EXPECT_EQ(Text, OneWay ? TEditTextPeek::Of(Edit) : Text) << Where;
      ClearAll();
      SendMessageA(Window, EM_SETSEL, 0, -1);
      SendMessageA(Window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Shown.c_str()));
      EXPECT_EQ(Shown, Edit->Text()) << Where;
      // A text set is shown with its spaces as blanks: spaces only are the empty mask,
      // which reads as "" but in the time editor, which answers its text as shown.
      ClearAll();
      Edit->SetText(Text);
      bool Spaces = Edit != Time;
      for (int I = 0; I < Length; ++I)
        if (Edit->Mask().Char(I).IsPosition() && !Edit->Mask().IsBlank(Shown[static_cast<std::size_t>(I)]))
          Spaces = false;
      EXPECT_EQ(Spaces ? AnsiString() : Text, TEditTextPeek::Of(Edit)) << Where;
      // Required digit fields between blanks: a number pasted into each, a blank between.
      const AnsiString Fields = Case.Mask ? Case.Mask : "";
      if (Fields.find(";0;") != AnsiString::npos &&
          Fields.find_first_not_of("0\\ ") == Fields.find(";0;")) {
        AnsiString Clip, Read;
        for (int I = 0, Width = 0; I <= Length; ++I) {
          if (I < Length && Edit->Mask().Char(I).IsPosition()) {
            ++Width;
            continue;
          }
          AnsiString Field(1 + Random.Below(static_cast<std::size_t>(Width)), '0');
          for (char& Digit : Field) Digit = Digits[Random.Below(10)];
          Clip += Field + (I < Length ? " " : "");
          Read += AnsiString(static_cast<std::size_t>(Width) - Field.size(), '0') + Field +
                  (I < Length ? " " : "");
          Width = 0;
        }
        PasteOverAll(Clip);
        EXPECT_EQ(Read, Edit->Text()) << Where << " pasted " << Clip;
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST_F(MaskEditTest, PasteGoesThroughTheInputStepAndCutKeepsTheLiterals) {
  TdxInplaceMaskEdit* Edit = ShownEdit("00-00");
  Clipboard()->SetAsText("1x23");
  Caret(Edit, 0);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, 'V', 1);  // no Ctrl held: a plain key
  HeldKeysGuard Ctrl({VK_CONTROL});
  SendMessageA(Edit->Handle(), WM_KEYDOWN, 'V', 1);
  EXPECT_EQ("12-3_", Edit->Text());
  EXPECT_EQ(1, Beeps);

  CHARRANGE Range{1, 4};
  SendMessageA(Edit->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  SendMessageA(Edit->Handle(), WM_KEYDOWN, 'X', 1);
  EXPECT_EQ("1_-__", Edit->Text());
  EXPECT_EQ("2-3", Clipboard()->AsText());

  // A paste with many characters no position takes is one refusal: one beep.
  Caret(Edit, 0);
  Clipboard()->SetAsText("9xy8zz76w");
  Beeps = 0;
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("98-76", Edit->Text());
  EXPECT_EQ(1, Beeps);
  Caret(Edit, 0);
  Clipboard()->SetAsText(AnsiString(5000, 'q'));
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("98-76", Edit->Text());
  EXPECT_EQ(2, Beeps);

  // A program's replacement of the selection that the mask refuses puts the text back,
  // and what the user typed before it stays their edit.
  Caret(Edit, 1);
  Type(Edit, "1");
  ASSERT_EQ("91-76", Edit->Text());
  ASSERT_TRUE(Edit->GetModified());
  SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("5x"));
  EXPECT_EQ("91-76", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
}

// AltGr (Ctrl and Alt, the key data's Alt bit set) types a character on many layouts:
// with V or X, Shift held or not, it neither pastes nor cuts in any editor of the
// mask's family, masked or not.
TEST_F(MaskEditTest, AltGrChordsNeitherPasteNorCut) {
  for (int Kind = 0; Kind < 3; ++Kind) {
    TdxInplaceMaskEdit* Edit = nullptr;
    if (Kind == 2) {
      Host = ShownContainer();
      Edit = HostedEdit<TdxInplaceTimeEdit>(Host);
      Edit->ShowAt(Rect(5, 5, 150, 25));
      Pump();
    } else {
      Edit = ShownEdit(Kind == 0 ? "" : "00-00");
    }
    const AnsiString Start = Kind == 0 ? "abcd" : Kind == 1 ? "12-34" : "12:34:56";
    Edit->SetText(Start);
    Clipboard()->SetAsText("99");
    for (char Letter : {'V', 'X'})
      for (const std::vector<int>& Also : {std::vector<int>{VK_MENU}, std::vector<int>{VK_MENU, VK_SHIFT}}) {
        CHARRANGE Range{0, 2};
        SendMessageA(Edit->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
        SendCtrlKey(Edit->Handle(), Letter, Also);
        const std::string Where = std::string(Edit->ClassName()) + " " + Edit->EditMask().c_str() + " AltGr+" +
                                  Letter + (Also.size() > 1 ? " with Shift" : "");
        EXPECT_EQ(Start, Edit->Text()) << Where;
        EXPECT_EQ("99", Clipboard()->AsText()) << Where;
      }
  }
}

TEST_F(MaskEditTest, ALineBreakInAValueIsABlankAndTheEditorKeepsWorking) {
  TdxInplaceMaskEdit* Edit = ShownEdit("CCCCCCCccccccc");
  Edit->SetEditValue(Variant(AnsiString("ab\r\ncd")));
  EXPECT_EQ("ab__cd________", Edit->Text());
  EXPECT_EQ(14, GetWindowTextLengthA(Edit->Handle()));

  Caret(Edit, 2);
  Type(Edit, "XY");
  EXPECT_EQ("abXYcd________", Edit->Text());
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ("abX_cd________", Edit->Text());
  Clipboard()->SetAsText("1\r\n2");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("abX12d________", Edit->Text());

  // A text set from outside, and any control character, alike.
  Edit->SetText("x\ny\rz");
  EXPECT_EQ("x_y_z_________", Edit->Text());
  Type(Edit, "Q");
  EXPECT_EQ('Q', Edit->Text()[static_cast<std::size_t>(CaretAt(Edit)) - 1]);
  EXPECT_EQ("_-_", TdxEditMask("c-c").Format("\t-\n"));
}

TEST_F(MaskEditTest, ATextSetBeforeTheWindowIsMadeIsFittedToTheMask) {
  Host = ShownContainer();
  auto* Edit = NewObject<TdxInplaceMaskEdit>(Host);
  Edit->SetEditMask("00-00");
  Edit->SetText("12");
  // A host marks the value it gave as an edit (SetTextIfModifiable): the mark stays.
  Edit->SetModified(true);
  Edit->SetParent(Host);
  Edit->HandleNeeded();
  EXPECT_EQ("12-__", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
}

TEST_F(MaskEditTest, AnIncompleteValueRaisesWithTheCaretOnTheFirstGap) {
  TdxInplaceMaskEdit* Edit = ShownEdit("00/00/00");
  Type(Edit, "31");
  Edit->SetModified(true);
  Beeps = 0;
  try {
    Edit->Validate();
    ADD_FAILURE() << "no error";
  } catch (const EDBEditError& Error) {
    EXPECT_EQ(SdxMaskEditInvalid, Error.Message());
  }
  EXPECT_EQ(3, CaretAt(Edit));
  EXPECT_EQ(1, Beeps);
  EXPECT_TRUE(Edit->ValidationFailed());
  EXPECT_TRUE(Edit->MaskState().Contains(msReEnter));
  EXPECT_EQ(DateText("31", "__", "__"), Edit->Text());
}

TEST_F(MaskEditTest, AnIncompleteValueRevertsSilentlyWhileRevertOnInvalidIsSet) {
  TdxInplaceMaskEdit* Edit = ShownEdit("00/00/00");
  Edit->SetEditValue(Variant(DateText("01", "02", "03")));
  Edit->SetEditActive(true);
  Caret(Edit, 0);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DELETE, 1);
  ASSERT_TRUE(Edit->GetModified());
  Edit->RevertOnInvalid = true;
  Beeps = 0;
  EXPECT_NO_THROW(Edit->Validate());
  EXPECT_EQ(DateText("01", "02", "03"), Edit->Text());
  EXPECT_EQ(0, Beeps);
}

// A control character in a mask is a blank literal, and a control character as the
// blank is a space: the one-line window shows none. The rich edit control places a
// tab by walking every tab stop from the line's start in 32-bit twips times the
// screen's resolution; past about 1.49 million pixels (a few thousand characters of
// a large font) the walk never ends.
TEST_F(MaskEditTest, ControlCharactersOfTheMaskShowAsBlanks) {
  const TdxEditMask Mask("0\t0\r\n9\\\t0;1;_");
  EXPECT_EQ("_ _  _ _", Mask.EmptyText());
  EXPECT_EQ("1 2  3 4", Mask.Format("1\t2\r\n3\t4"));
  EXPECT_EQ("1 2  3 4", Mask.Value("1 2  3 4"));
  EXPECT_EQ(' ', TdxEditMask("00;1;\t").BlankChar());

  TdxInplaceMaskEdit* Edit = ShownEdit("00\t00");
  Caret(Edit, 0);
  Type(Edit, "12 34");
  EXPECT_EQ("12 34", Edit->Text());
  EXPECT_EQ(0, Beeps);
}

// Run in its own process by the test below, so that a hang fails instead of stopping
// the program.
TEST_F(MaskEditTest, DISABLED_AFormFileWithTabsInALongMaskAndAHugeFontShows) {
  TForm* Form = ShownForm(300, 200);
  Form->SetName("MaskForm");
  AnsiString Mask;
  while (Mask.size() < 3500) Mask += "\t00";
  auto* Pick = NewObject<TdxInplacePickEdit>(Form);
  auto* Spin = NewObject<TdxInplaceSpinEdit>(Form);
  Pick->SetName("Pick");
  Spin->SetName("Spin");
  for (TdxInplaceMaskEdit* Edit : std::initializer_list<TdxInplaceMaskEdit*>{Pick, Spin}) {
    Edit->SetParent(Form);
    Edit->SetBounds(10, Edit == Pick ? 10 : 50, 200, 24);
    Edit->SetParentFont(false);
    Edit->Font()->SetHeight(111980);
    Edit->SetEditMask(Mask);
  }
  // The form file names both classes.
  const bool SpinRegistered = GetClass("TdxInplaceSpinEdit") != nullptr;
  if (!SpinRegistered) RegisterClass(&TdxInplaceSpinEdit::StaticClass());
  auto Unregister = ScopeExit([&] {
    if (!SpinRegistered) UnRegisterClass(&TdxInplaceSpinEdit::StaticClass());
  });
  auto* Read = ReadBack(Pick);
  ASSERT_NE(nullptr, Read);
  auto* Copy = static_cast<TForm*>(Read->Owner());
  Copy->Show();
  for (auto* Edit : {static_cast<TdxInplaceMaskEdit*>(Read), ObjectAs<TdxInplaceMaskEdit>(Copy->FindComponent("Spin"))}) {
    ASSERT_NE(nullptr, Edit);
    EXPECT_EQ(111980, Edit->Font()->Height());
    Edit->Show();
    Pump();
    EXPECT_EQ(Edit->Mask().Length(), static_cast<int>(Edit->Text().size()));
    EXPECT_EQ(AnsiString::npos, Edit->Text().find('\t'));
  }
}

TEST_F(MaskEditTest, AFormFileWithTabsInALongMaskAndAHugeFontShows) {
  // Showing takes well under a second; the bound only catches the hang.
  edittest::ExpectDisabledTestsPass("MaskEditTest.DISABLED_AFormFileWithTabsInALongMaskAndAHugeFontShows", 1, 120000);
}

}  // namespace
