// The time editor on real windows: the date part kept through a step, the day's
// bounds, the digits each section takes where they land, and values with milliseconds
// or before day 0.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "classlib/Classes_Streaming.h"
#include "classlib/Clipbrd.h"
#include "classlib/ScopeExit.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/support/DateSupport.h"
#include "tests/support/FuzzSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

// The time a text of two-digit sections between the locale's separators shows (hours,
// then minutes, then seconds), or -1 when it shows none.
double ShownTime(const AnsiString& Text) {
  int Parts[3] = {0, 0, 0};
  const std::size_t Sections = (Text.size() + 1) / 3;
  if (Sections < 1 || Sections > 3 || Text.size() != Sections * 3 - 1) return -1;
  for (std::size_t S = 0; S < Sections; ++S) {
    const char Tens = Text[S * 3], Units = Text[S * 3 + 1];
    if (Tens < '0' || Tens > '9' || Units < '0' || Units > '9') return -1;
    if (S + 1 < Sections && Text[S * 3 + 2] != FormatSettings.TimeSeparator) return -1;
    Parts[S] = (Tens - '0') * 10 + (Units - '0');
  }
  if (Parts[0] > 23 || Parts[1] > 59 || Parts[2] > 59) return -1;
  return EncodeTime(Parts[0], Parts[1], Parts[2], 0);
}

// The text a digit typed over [Start, Stop) of a time text leaves: the selection's
// digits become 0, and the digit goes on the first position from Start on, the mask
// passing a separator, when that position takes it (Taken); otherwise nothing changes.
AnsiString TypedTime(const AnsiString& Text, int Start, int Stop, char Digit, bool& Taken) {
  AnsiString Result = Text;
  const int Length = static_cast<int>(Text.size());
  auto At = [&Result](int I) -> char& { return Result[static_cast<std::size_t>(I)]; };
  for (int I = std::max(Start, 0); I < std::min(Stop, Length); ++I)
    if (At(I) != FormatSettings.TimeSeparator) At(I) = '0';
  int Lands = Start;
  while (Lands < Length && At(Lands) == FormatSettings.TimeSeparator) ++Lands;
  const bool Tens = Lands % 3 == 0;
  if (Lands >= Length)
    Taken = false;
  else if (Lands < 2)
    Taken = Tens ? Digit <= '2' && !(Digit == '2' && Length > 1 && At(1) > '3')
                 : !(At(0) == '2' && Digit > '3');
  else
    Taken = !Tens || Digit <= '5';
  if (!Taken) return Text;
  At(Lands) = Digit;
  return Result;
}

class TimeEditTest : public EditTest {
 protected:
  TdxInplaceTimeEdit* ShownEdit() {
    auto* Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceTimeEdit>(Host);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  static void Caret(TdxInplaceTimeEdit* Edit, int At) { SendMessageA(Edit->Handle(), EM_SETSEL, At, At); }
};

TEST_F(TimeEditTest, StepKeepsTheDatePart) {
  auto* Edit = ShownEdit();
  EXPECT_EQ(AnsiString("00:00:00"), Edit->Text()) << "a new editor shows midnight";
  Edit->SetEditValue(Variant(2.75));
  EXPECT_EQ(AnsiString("18:00:00"), Edit->Text());
  EXPECT_DOUBLE_EQ(2.75, Edit->GetEditValue().AsDouble());
  Caret(Edit, 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(AnsiString("19:00:00"), Edit->Text());
  EXPECT_NEAR(2.75 + 1.0 / 24, Edit->GetEditValue().AsDouble(), 1e-9);
  Caret(Edit, 4);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(AnsiString("18:59:00"), Edit->Text()) << "the caret's section steps";
}

TEST_F(TimeEditTest, ItsTextCopiedAndPastedBackIsTheSameTime) {
  auto* Edit = ShownEdit();
  for (const char* Text : {"12:30:00", "13:45:15"}) {
    const TDateTime Time = StrToTime(Text);
    Edit->SetEditValue(Variant(static_cast<double>(Time)));
    ASSERT_EQ(AnsiString(Text), Edit->Text());
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(AnsiString(Text), Edit->Text());
    Edit->SetModified(true);
    Edit->Validate();
    EXPECT_NEAR(Time, Edit->GetEditValue().AsDouble(), 1e-9) << Text;
  }
}

// Typing keeps every section in its range; a paste can bring a text that is no time of
// day. Such a paste is refused whole with a beep, as a paste that is no number is: the
// text and the value held stay, and leaving keeps the value.
TEST_F(TimeEditTest, APasteThatLeavesNoTimeIsRefusedAndTheValueKept) {
  auto* Edit = ShownEdit();
  const TDateTime Held = 2 + EncodeTime(13, 45, 15, 0);
  auto PasteOverAll = [Edit](const char* Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  };
  for (const char* Pasted : {"25:00:00", "12:60:00", "29:75:99", "7:5", "12:00:61"}) {
    Edit->SetEditValue(Variant(Held));
    const int Before = edittest::Beeps;
    PasteOverAll(Pasted);
    EXPECT_EQ(AnsiString("13:45:15"), Edit->Text()) << Pasted;
    EXPECT_EQ(Before + 1, edittest::Beeps) << Pasted;
    int Start = 0, Stop = 0;
    Edit->GetSel(Start, Stop);
    EXPECT_EQ(0, Start) << Pasted;
    EXPECT_GE(Stop, 8) << Pasted << ": the whole text selected";
    Edit->SetModified(true);
    Edit->Validate();
    EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Pasted;
  }
  // A time goes in and is stored with the date kept.
  const int Before = edittest::Beeps;
  PasteOverAll("08:30:00");
  EXPECT_EQ(AnsiString("08:30:00"), Edit->Text());
  Edit->Validate();
  EXPECT_NEAR(2 + EncodeTime(8, 30, 0, 0), Edit->GetEditValue().AsDouble(), 1e-9);
  EXPECT_EQ(Before, edittest::Beeps);
  // A shorter format reads its own text.
  Edit->SetTimeEditFormat(tfHourMin);
  Edit->SetEditValue(Variant(Held));
  PasteOverAll("24:00");
  EXPECT_EQ(AnsiString("13:45"), Edit->Text());
  PasteOverAll("23:10");
  EXPECT_EQ(AnsiString("23:10"), Edit->Text());
}

// A pasted time may write its sections with one digit: it is that time, shown in the
// editor's format. A text in another format (with a marker the format has not, or other
// sections) is refused whole with one beep, as a paste that is no time is, under a
// 24-hour locale and an AM/PM one alike.
TEST_F(TimeEditTest, APastedTimeWithOneDigitSectionsIsThatTime) {
  auto* Edit = ShownEdit();
  const TDateTime Held = 2 + EncodeTime(13, 45, 15, 0);
  auto Paste = [Edit](int Start, int Stop, const char* Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  };
  TFormatSettings Hours24 = FormatSettings;
  Hours24.LongTimeFormat = "HH:mm:ss";
  Hours24.ShortTimeFormat = "HH:mm";
  TFormatSettings AmPm = FormatSettings;
  AmPm.LongTimeFormat = "h:mm:ss tt";
  AmPm.ShortTimeFormat = "h:mm tt";
  const struct {
    TdxTimeEditFormat Format;
    int Start, Stop;
    const char* Clip;
    const char* Shown;  // null: refused
  } Cases[] = {
      {tfHourMinSec, 0, -1, "1:30:00", "01:30:00"},  {tfHourMinSec, 0, -1, "1:2:3", "01:02:03"},
      {tfHourMinSec, 0, -1, "1:5:00", "01:05:00"},   {tfHourMinSec, 0, -1, "1:30:00 PM", nullptr},
      {tfHourMinSec, 0, 0, "1:30:00 PM", nullptr},   {tfHourMinSec, 0, 0, "1:30:00", "01:30:00"},
      {tfHourMinSec, 0, 2, "7", "07:45:15"},         {tfHourMinSec, 0, -1, "1:30", nullptr},
      {tfHourMin, 0, -1, "1:5", "01:05"},            {tfHourMin, 0, -1, "1:30 PM", nullptr},
      {tfHourMin, 0, -1, "1:30:00", nullptr},
  };
  for (const TFormatSettings& Settings : {Hours24, AmPm}) {
    TScopedFormatSettings Locale(Settings);
    for (const auto& Case : Cases) {
      const std::string Name = Settings.LongTimeFormat + " " + std::to_string(Case.Start) + ".." +
                               std::to_string(Case.Stop) + " " + Case.Clip;
      Edit->SetTimeEditFormat(Case.Format);
      Edit->SetEditValue(Variant(Held));
      const AnsiString Before = Edit->Text();
      const int Beeps = edittest::Beeps;
      Paste(Case.Start, Case.Stop, Case.Clip);
      if (Case.Shown) {
        EXPECT_EQ(AnsiString(Case.Shown), Edit->Text()) << Name;
        EXPECT_EQ(Beeps, edittest::Beeps) << Name;
        Edit->Validate();
        EXPECT_EQ(AnsiString(Case.Shown), Edit->Text()) << Name;
        TDateTime Expected = 0;
        ASSERT_TRUE(TryStrToTime(Case.Shown, Expected)) << Name;
        EXPECT_NEAR(2 + Expected, Edit->GetEditValue().AsDouble(), 1e-9) << Name;
        continue;
      }
      EXPECT_EQ(Before, Edit->Text()) << Name;
      EXPECT_EQ(Beeps + 1, edittest::Beeps) << Name;
      int Start = 0, Stop = 0;
      Edit->GetSel(Start, Stop);
      EXPECT_EQ(0, Start) << Name;
      EXPECT_GE(Stop, static_cast<int>(Before.size())) << Name << ": the whole text selected";
      Edit->SetModified(true);
      Edit->Validate();
      EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Name;
    }
  }
}

TEST_F(TimeEditTest, TheDaysLastSecondDoesNotStepPastMidnight) {
  auto* Edit = ShownEdit();
  Edit->SetEditValue(Variant(static_cast<double>(dxMaxTime)));
  Caret(Edit, 7);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(AnsiString("23:59:59"), Edit->Text());
  EXPECT_DOUBLE_EQ(dxMaxTime, Edit->GetTime());
}

TEST_F(TimeEditTest, SectionsTakeOnlyTheirDigits) {
  auto* Edit = ShownEdit();
  Edit->SetEditValue(Variant(0.0));
  Caret(Edit, 0);
  SendMessageA(Edit->Handle(), WM_CHAR, '3', 1);
  EXPECT_EQ(AnsiString("00:00:00"), Edit->Text());
  EXPECT_EQ(1, edittest::Beeps);
  SendMessageA(Edit->Handle(), WM_CHAR, '2', 1);
  EXPECT_EQ(AnsiString("20:00:00"), Edit->Text());
  Caret(Edit, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '4', 1);
  EXPECT_EQ(AnsiString("20:00:00"), Edit->Text());
  SendMessageA(Edit->Handle(), WM_CHAR, '3', 1);
  EXPECT_EQ(AnsiString("23:00:00"), Edit->Text());
  Caret(Edit, 3);
  SendMessageA(Edit->Handle(), WM_CHAR, '6', 1);
  EXPECT_EQ(AnsiString("23:00:00"), Edit->Text());
  EXPECT_EQ(3, edittest::Beeps);
  // A first hour digit of 2 before a second one above 3 would make no time, which
  // leaving would store as midnight; over a selection that takes the second digit too,
  // it goes in.
  const TDateTime Held = 2 + EncodeTime(19, 45, 15, 0);
  Edit->SetEditValue(Variant(Held));
  Caret(Edit, 0);
  SendMessageA(Edit->Handle(), WM_CHAR, '2', 1);
  EXPECT_EQ(AnsiString("19:45:15"), Edit->Text());
  EXPECT_EQ(4, edittest::Beeps);
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9);
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, 2);
  SendMessageA(Edit->Handle(), WM_CHAR, '2', 1);
  EXPECT_EQ(AnsiString("20:45:15"), Edit->Text());
  EXPECT_EQ(4, edittest::Beeps);
  // A digit typed on a separator, or over a selection from one, lands on the position
  // after it (the mask passes the separator) and is judged there: the tens of the
  // minutes and of the seconds take 0 to 5, the units of an hour of 2 take 0 to 3. A
  // character refused over a selection leaves it as it was.
  const TDateTime Shown = 2 + EncodeTime(12, 22, 23, 0);
  const struct {
    int Start, Stop;
    char Typed;
    const char* Text;  // null: refused
  } Typings[] = {
      {2, 2, '7', nullptr},    {5, 5, '8', nullptr},    {2, 4, '9', nullptr},
      {5, 8, '6', nullptr},    {2, 2, '4', "12:42:23"}, {5, 5, '0', "12:22:03"},
      {2, 8, '5', "12:50:00"}, {0, 8, 'x', nullptr},
  };
  for (const auto& Typing : Typings) {
    Edit->SetEditValue(Variant(Shown));
    SendMessageA(Edit->Handle(), EM_SETSEL, Typing.Start, Typing.Stop);
    const int Before = edittest::Beeps;
    SendMessageA(Edit->Handle(), WM_CHAR, Typing.Typed, 1);
    const AnsiString Text = Typing.Text ? Typing.Text : "12:22:23";
    EXPECT_EQ(Text, Edit->Text()) << Typing.Start << " " << Typing.Typed;
    EXPECT_EQ(Before + (Typing.Text ? 0 : 1), edittest::Beeps)
        << Typing.Start << " " << Typing.Typed;
    Edit->Validate();
    EXPECT_EQ(Text, Edit->Text()) << Typing.Start << " " << Typing.Typed;
    EXPECT_NEAR(2 + StrToTime(Text), Edit->GetEditValue().AsDouble(), 1e-9) << Text;
  }
  Edit->SetTimeEditFormat(tfHourMin);
  Edit->SetEditValue(Variant(EncodeTime(20, 30, 0, 0)));
  const int Before = edittest::Beeps;
  Caret(Edit, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '7', 1);
  Caret(Edit, 2);
  SendMessageA(Edit->Handle(), WM_CHAR, '6', 1);
  EXPECT_EQ(AnsiString("20:30"), Edit->Text());
  EXPECT_EQ(Before + 2, edittest::Beeps);
  // Backspace's character, after the key has cleared a position, is no digit to judge.
  Caret(Edit, 4);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '\b', 1);
  EXPECT_EQ(AnsiString("20:00"), Edit->Text());
  EXPECT_EQ(Before + 2, edittest::Beeps);

  // Short typings at random carets and selections, in each format: each digit lands on
  // the first position from the caret on, or is refused with a beep, every text shown
  // is a time, and leaving holds the time shown with the days kept (or the time held,
  // seconds a shorter format hides and all, when the text is still the one shown).
  fuzz::TRandom Random(20261208);
  for (TdxTimeEditFormat Format : {tfHourMinSec, tfHourMin, tfHour}) {
    Edit->SetTimeEditFormat(Format);
    for (int Round = 0; Round < 150; ++Round) {
      const TDateTime Start = 3 + Random.Below(86400) * dxOneSecond;
      Edit->SetEditValue(Variant(Start));
      const AnsiString Loaded = Edit->Text();
      const int Length = static_cast<int>(Loaded.size());
      std::string Typed;
      for (std::size_t Count = 1 + Random.Below(4); Count > 0; --Count) {
        if (Typed.empty() || Random.OneIn(3)) {
          const int From =
              static_cast<int>(Random.Below(static_cast<std::size_t>(Length + 1)));
          const int To = Random.OneIn(3) ? From + static_cast<int>(Random.Below(3)) : From;
          SendMessageA(Edit->Handle(), EM_SETSEL, From, std::min(To, Length));
          Typed += "[" + std::to_string(From) + "," + std::to_string(To) + "]";
        }
        const char Digit = static_cast<char>('0' + Random.Below(10));
        Typed += Digit;
        int SelStart = 0, SelStop = 0;
        Edit->GetSel(SelStart, SelStop);
        const AnsiString Was = Edit->Text();
        bool Taken = false;
        const AnsiString Expected = TypedTime(Was, SelStart, SelStop, Digit, Taken);
        const int Beeps = edittest::Beeps;
        SendMessageA(Edit->Handle(), WM_CHAR, Digit, 1);
        const std::string Where = Was + " " + Typed + " " + Edit->Text();
        ASSERT_EQ(Expected, Edit->Text()) << Where;
        ASSERT_GE(ShownTime(Edit->Text()), 0.0) << Where;
        EXPECT_EQ(Beeps + (Taken ? 0 : 1), edittest::Beeps) << Where;
      }
      const AnsiString Text = Edit->Text();
      Edit->Validate();
      EXPECT_EQ(Text, Edit->Text()) << Typed;
      EXPECT_NEAR(Text == Loaded ? Start : 3 + ShownTime(Text),
                  Edit->GetEditValue().AsDouble(), 1e-9)
          << Text << " " << Typed;
    }
  }
}

TEST_F(TimeEditTest, MillisecondsAreDroppedAndDaysBeforeZeroReadBack) {
  auto* Edit = ShownEdit();
  Edit->SetEditValue(Variant(0.25));
  Edit->SetEditValue(Variant(5 + EncodeTime(23, 59, 59, 600)));
  EXPECT_EQ(AnsiString("23:59:59"), Edit->Text()) << "not the time shown before";
  EXPECT_DOUBLE_EQ(5.0, Edit->DatePart());
  Edit->SetEditValue(Variant(-1.25));
  EXPECT_EQ(AnsiString("06:00:00"), Edit->Text());
  EXPECT_DOUBLE_EQ(-1.25, Edit->GetEditValue().AsDouble());
  Edit->SetEditValue(Null());
  EXPECT_EQ(AnsiString("00:00:00"), Edit->Text());
  EXPECT_EQ(0.0, Edit->GetEditValue().AsDouble());
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(TimeEditTest, ShorterFormatsStepTheirOwnSections) {
  auto* Edit = ShownEdit();
  Edit->SetTimeEditFormat(tfHourMin);
  EXPECT_EQ(AnsiString("00:00;1;0"), Edit->EditMask());
  Edit->SetEditValue(Variant(0.5));
  EXPECT_EQ(AnsiString("12:00"), Edit->Text());
  Caret(Edit, 4);
  EXPECT_DOUBLE_EQ(dxOneMinute, Edit->GetIncrement());
  Edit->SetTimeEditFormat(tfHour);
  Caret(Edit, 0);
  EXPECT_DOUBLE_EQ(dxOneHour, Edit->GetIncrement());
}

TEST_F(TimeEditTest, FormFilesKeepTheFormatAndTheSpinsKeptValueType) {
  RegisterClass(&TdxInplaceTimeEdit::StaticClass());
  RegisterClass(&TdxInplaceSpinEdit::StaticClass());
  auto Unregister = ScopeExit([] {
    UnRegisterClass(&TdxInplaceTimeEdit::StaticClass());
    UnRegisterClass(&TdxInplaceSpinEdit::StaticClass());
  });
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("EditForm");
  auto* Time = NewObject<TdxInplaceTimeEdit>(Form.get());
  Time->SetName("Time");
  Time->SetParent(Form.get());
  Time->SetTimeEditFormat(tfHour);
  auto* Spin = NewObject<TdxInplaceSpinEdit>(Form.get());
  Spin->SetName("Spin");
  Spin->SetParent(Form.get());
  Spin->SetValueType(vtFloat);
  Spin->SetEditorEnabled(false);
  AnsiString Text = WriteComponentText(Form.get());
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "EditForm");
  auto* ReadTime = ObjectAs<TdxInplaceTimeEdit>(Copy->FindComponent("Time"));
  auto* ReadSpin = ObjectAs<TdxInplaceSpinEdit>(Copy->FindComponent("Spin"));
  ASSERT_TRUE(ReadTime && ReadSpin) << Text.c_str();
  EXPECT_EQ(tfHour, ReadTime->TimeEditFormat());
  EXPECT_EQ(AnsiString("00;1;0"), ReadTime->EditMask());
  EXPECT_EQ(vtFloat, ReadSpin->ValueType());
  EXPECT_TRUE(ReadSpin->StoredValues().Contains(esvValueType));
  EXPECT_FALSE(ReadSpin->EditorEnabled());
}

// Each format's text is read as that format shows it, with the locale's separator; a
// text still the one shown keeps the value behind it, seconds included.
TEST_F(TimeEditTest, ItReadsItsOwnFormatsAndKeepsTheValueBehindAnUnchangedText) {
  const TDateTime Moment = EncodeTime(13, 45, 15, 0);
  auto Type = [](TdxInplaceTimeEdit* Edit, int At, const char* Digits) {
    Caret(Edit, At);
    for (const char* P = Digits; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, *P, 1);
  };
  auto Leave = [](TdxInplaceTimeEdit* Edit) {
    Edit->Validate();
    return Edit->GetEditValue().AsDouble();
  };
  const struct {
    TdxTimeEditFormat Format;
    const char* Shown;
    int At;
    const char* Typed;
    TDateTime Read;
  } Cases[] = {
      {tfHour, "13", 0, "15", EncodeTime(15, 0, 0, 0)},
      {tfHourMin, "13:45", 3, "50", EncodeTime(13, 50, 0, 0)},
      {tfHourMinSec, "13:45:15", 6, "20", EncodeTime(13, 45, 20, 0)},
  };
  auto* Edit = ShownEdit();
  for (const auto& Case : Cases) {
    Edit->SetTimeEditFormat(Case.Format);
    Edit->SetEditValue(Variant(2 + Moment));
    ASSERT_EQ(AnsiString(Case.Shown), Edit->Text());
    // A digit typed over itself: the text it showed, the value it held.
    Type(Edit, 0, "1");
    ASSERT_EQ(AnsiString(Case.Shown), Edit->Text());
    ASSERT_TRUE(Edit->GetModified());
    EXPECT_NEAR(2 + Moment, Leave(Edit), 1e-9) << Case.Shown;
    Type(Edit, Case.At, Case.Typed);
    EXPECT_NEAR(2 + Case.Read, Leave(Edit), 1e-9) << Case.Shown;
    // A step from the text shown steps the value it held.
    Edit->SetEditValue(Variant(2 + Moment));
    Caret(Edit, 0);
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(AnsiString("14"), Edit->Text().substr(0, 2)) << Case.Shown;
    EXPECT_NEAR(2 + Moment + dxOneHour, Edit->GetEditValue().AsDouble(), 1e-9) << Case.Shown;
  }
  Edit->SetTimeEditFormat(tfHour);
  Edit->SetEditValue(Variant(Moment));
  Type(Edit, 0, "08");
  EXPECT_NEAR(EncodeTime(8, 0, 0, 0), Leave(Edit), 1e-9);

  // The locale's separator stands for ":".
  TFormatSettings Dotted = FormatSettings;
  Dotted.TimeSeparator = '.';
  TScopedFormatSettings Locale(Dotted);
  auto* Dots = ShownEdit();
  for (const auto& Case : Cases) {
    Dots->SetTimeEditFormat(Case.Format);
    Dots->SetEditValue(Variant(Moment));
    AnsiString Shown = Case.Shown;
    for (char& C : Shown)
      if (C == ':') C = '.';
    ASSERT_EQ(Shown, Dots->Text());
    Type(Dots, 0, "1");
    EXPECT_NEAR(Moment, Leave(Dots), 1e-9) << Shown;
    Type(Dots, Case.At, Case.Typed);
    EXPECT_NEAR(Case.Read, Leave(Dots), 1e-9) << Shown;
  }
}

}  // namespace
