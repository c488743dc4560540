// The time editor on real windows: the date part kept through a step, the day's
// bounds, the digits each section takes, and values with milliseconds or before day 0.
#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

#include "classlib/Classes_Streaming.h"
#include "classlib/Clipbrd.h"
#include "classlib/ScopeExit.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/LocaleSupport.h"
#include "tests/support/DateSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

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

// A format without seconds (or minutes) shows less than the time it holds. A change the
// editor puts back (a paste it refuses, Escape to the restore point) gives back the text
// and the time behind it, seconds included, and the modified state as it was; so does a
// format switched by a program, and a settings change.
TEST_F(TimeEditTest, AChangePutBackGivesBackWhatTheFormatHides) {
  auto* Edit = ShownEdit();
  const TDateTime Held = 2 + EncodeTime(1, 31, 7, 0);
  auto Paste = [Edit](int Start, int Stop, const char* Clip) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  };
  for (TdxTimeEditFormat Format : {tfHourMin, tfHour}) {
    Edit->SetTimeEditFormat(Format);
    const AnsiString Shown = Format == tfHourMin ? "01:31" : "01";
    auto Load = [&] {
      Edit->SetEditValue(Variant(Held));
      Edit->SetModified(false);
      Edit->SetEditActive(true);
      ASSERT_EQ(Shown, Edit->Text());
    };
    auto ExpectHeld = [&](const std::string& Step) {
      EXPECT_EQ(Shown, Edit->Text()) << Step;
      EXPECT_FALSE(Edit->GetModified()) << Step;
      EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Step;
      Edit->Validate();
      EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Step << ", validated";
    };
    const std::string Name = Format == tfHourMin ? "hh:nn" : "hh";
    for (auto [Start, Stop, Clip] : {std::tuple{0, 3, "nan"}, {3, 3, "12:60:00"}, {0, 1, "7x"}, {0, -1, "25"}}) {
      Load();
      const int Beeps = edittest::Beeps;
      Paste(Start, Stop, Clip);
      EXPECT_EQ(Beeps + 1, edittest::Beeps) << Name << " " << Clip;
      ExpectHeld(Name + ", paste \"" + Clip + "\" refused");
    }
    // Digits typed and then Escape: the restore point comes back whole.
    Load();
    Caret(Edit, 1);
    SendMessageA(Edit->Handle(), WM_CHAR, '5', 1);
    ASSERT_NE(Shown, Edit->Text());
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    ExpectHeld(Name + ", typed then Escape");
    // A digit typed over itself and Escape: no edit to put back.
    Load();
    Caret(Edit, 0);
    SendMessageA(Edit->Handle(), WM_CHAR, '0', 1);
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    ExpectHeld(Name + ", the same digit then Escape");
    // Digits typed and undone.
    Load();
    Caret(Edit, 1);
    SendMessageA(Edit->Handle(), WM_CHAR, '5', 1);
    edittest::SendCtrlKey(Edit->Handle(), 'Z');
    ASSERT_EQ(Shown, Edit->Text());
    Edit->SetModified(false);
    ExpectHeld(Name + ", typed then undone");
    // A settings change that leaves the time's form as it was.
    Load();
    SendLocaleChanged(Edit->Handle());
    ExpectHeld(Name + ", settings broadcast");
  }
  // A program's switch to a format that shows more: the time held shows whole.
  Edit->SetTimeEditFormat(tfHourMin);
  Edit->SetEditValue(Variant(Held));
  Edit->SetModified(false);
  Edit->SetTimeEditFormat(tfHourMinSec);
  EXPECT_FALSE(Edit->GetModified());
  EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Edit->Text().c_str();
  Edit->SetTimeEditFormat(tfHour);
  EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Edit->Text().c_str();
  Edit->SetTimeEditFormat(tfHourMinSec);
  EXPECT_NEAR(Held, Edit->GetEditValue().AsDouble(), 1e-9) << Edit->Text().c_str();

  // Settings that give the time another separator: the time held shows in the new form
  // untouched, and a time being typed keeps its digits, edited still.
  Edit->SetTimeEditFormat(tfHourMin);
  for (bool Typed : {false, true}) {
    Edit->SetEditValue(Variant(Held));
    Edit->SetModified(false);
    if (Typed) {
      Caret(Edit, 3);
      SendMessageA(Edit->Handle(), WM_CHAR, '4', 1);
      ASSERT_EQ(AnsiString("01:41"), Edit->Text());
    }
    {
      TScopedLocaleInfo Dotted(LOCALE_STIME, ".");
      SendLocaleChanged(Edit->Handle());
      EXPECT_EQ(AnsiString(Typed ? "01.41" : "01.31"), Edit->Text());
      EXPECT_EQ(Typed, Edit->GetModified());
      Edit->Validate();
      EXPECT_NEAR(Typed ? 2 + EncodeTime(1, 41, 0, 0) : Held, Edit->GetEditValue().AsDouble(), 1e-9)
          << Edit->Text().c_str();
      // Typing goes on in the new form.
      Caret(Edit, 0);
      SendMessageA(Edit->Handle(), WM_CHAR, '1', 1);
      EXPECT_EQ(AnsiString(Typed ? "11.41" : "11.31"), Edit->Text());
    }
    SendLocaleChanged(Edit->Handle());
    EXPECT_EQ(AnsiString(Typed ? "11:41" : "11:31"), Edit->Text());
  }
}

// A time a program gives while the edit is under way, whose text is the one shown (the
// seconds a format hides changed), is the value that text stands for from then on: a
// digit typed away and back, or undone, gives it back, seconds included, unedited.
TEST_F(TimeEditTest, AProgramsTimeBehindTheTextShownIsTheOneThatTextGivesBack) {
  auto* Edit = ShownEdit();
  HWND Window = Edit->Handle();
  Edit->SetTimeEditFormat(tfHourMin);
  const TDateTime Began = EncodeTime(23, 59, 59, 0);
  const TDateTime Given = EncodeTime(23, 59, 30, 0);
  for (bool AsEditValue : {true, false}) {
    for (bool Undone : {false, true}) {
      const std::string Where = std::string(AsEditValue ? "edit value" : "value") + (Undone ? ", undone" : ", typed back");
      Edit->SetEditValue(Variant(Began));
      Edit->SetModified(false);
      Edit->SetEditActive(true);
      if (AsEditValue)
        Edit->SetEditValue(Variant(Given));
      else
        Edit->SetValue(Given);
      ASSERT_EQ(AnsiString("23:59"), Edit->Text()) << Where;
      SendMessageA(Window, EM_SETSEL, 3, 4);
      SendMessageA(Window, WM_CHAR, '1', 1);
      ASSERT_EQ(AnsiString("23:19"), Edit->Text()) << Where;
      if (Undone) {
        edittest::SendCtrlKey(Window, 'Z');
      } else {
        SendMessageA(Window, EM_SETSEL, 3, 4);
        SendMessageA(Window, WM_CHAR, '5', 1);
      }
      EXPECT_EQ(AnsiString("23:59"), Edit->Text()) << Where;
      EXPECT_NEAR(Given, Edit->GetEditValue().AsDouble(), 1e-9) << Where;
      EXPECT_FALSE(Edit->GetModified()) << Where;
    }
  }
}

// An undo gives back the text before the user's last change whole, with the time it
// stood for (seconds a shorter format hides included) and the modified state it had; a
// redo gives the change back. A digit typed over a selection is one change, and a change
// the editor refused is none.
TEST_F(TimeEditTest, AnUndoGivesBackTheTextBeforeTheLastChangeWithItsTime) {
  auto* Edit = ShownEdit();
  HWND Window = Edit->Handle();
  struct TLoad {
    TdxTimeEditFormat Format;
    TDateTime Held;
    const char* Shown;
  };
  for (const TLoad& Load : {TLoad{tfHourMinSec, EncodeTime(23, 59, 59, 0), "23:59:59"},
                            TLoad{tfHourMin, 2 + EncodeTime(1, 31, 7, 0), "01:31"}}) {
    Edit->SetTimeEditFormat(Load.Format);
    const int Length = static_cast<int>(std::string(Load.Shown).size());
    for (int At = 0; At < Length; ++At) {
      if (Load.Shown[At] == ':') continue;
      for (int Way = 0; Way < 3; ++Way) {
        const std::string Where = std::string(Load.Shown) + " [" + std::to_string(At) + "], way " + std::to_string(Way);
        Edit->SetEditValue(Variant(Load.Held));
        Edit->SetModified(false);
        Edit->SetEditActive(true);
        ASSERT_EQ(AnsiString(Load.Shown), Edit->Text());
        SendMessageA(Window, EM_SETSEL, At, At + 1);
        SendMessageA(Window, WM_CHAR, Load.Shown[At] == '1' ? '0' : '1', 1);
        const AnsiString Typed = Edit->Text();
        ASSERT_NE(AnsiString(Load.Shown), Typed) << Where;
        const double TypedValue = Edit->GetEditValue().AsDouble();
        if (Way == 0)
          edittest::SendCtrlKey(Window, 'Z');
        else
          SendMessageA(Window, Way == 1 ? WM_UNDO : EM_UNDO, 0, 0);
        EXPECT_EQ(AnsiString(Load.Shown), Edit->Text()) << Where;
        EXPECT_NEAR(Load.Held, Edit->GetEditValue().AsDouble(), 1e-9) << Where;
        EXPECT_FALSE(Edit->GetModified()) << Where;
        if (Way == 0)
          edittest::SendCtrlKey(Window, 'Y');
        else
          SendMessageA(Window, EM_REDO, 0, 0);
        EXPECT_EQ(Typed, Edit->Text()) << Where << ", redone";
        EXPECT_NEAR(TypedValue, Edit->GetEditValue().AsDouble(), 1e-9) << Where << ", redone";
        EXPECT_TRUE(Edit->GetModified()) << Where << ", redone";
      }
    }
    // A refused digit is no change to undo: the undo takes back the digit before it.
    Edit->SetEditValue(Variant(Load.Held));
    Edit->SetModified(false);
    Edit->SetEditActive(true);
    SendMessageA(Window, EM_SETSEL, Length - 1, Length);
    SendMessageA(Window, WM_CHAR, '1', 1);
    const AnsiString Typed = Edit->Text();
    const int Beeps = edittest::Beeps;
    SendMessageA(Window, EM_SETSEL, 0, 1);
    SendMessageA(Window, WM_CHAR, '9', 1);
    ASSERT_EQ(Beeps + 1, edittest::Beeps);
    ASSERT_EQ(Typed, Edit->Text());
    SendMessageA(Window, EM_UNDO, 0, 0);
    EXPECT_EQ(AnsiString(Load.Shown), Edit->Text());
    EXPECT_NEAR(Load.Held, Edit->GetEditValue().AsDouble(), 1e-9);
  }
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
  // A digit typed on a separator, or over a selection from one, lands in the tens
  // after it and is judged there; a refused one leaves the selection, and the value.
  for (auto [Start, Stop, Key, Shown] : {std::tuple{2, 2, '7', "12:22:23"},
                                         {5, 8, '6', "12:22:23"},
                                         {0, 8, 'x', "12:22:23"},
                                         {2, 8, '5', "12:50:00"}}) {
    Edit->SetEditValue(Variant(2 + EncodeTime(12, 22, 23, 0)));
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_CHAR, Key, 1);
    Edit->Validate();
    EXPECT_EQ(AnsiString(Shown), Edit->Text()) << Start << Key;
    EXPECT_NEAR(2 + StrToTime(Shown), Edit->GetEditValue().AsDouble(), 1e-9)
        << Start << Key;
  }
  EXPECT_EQ(7, edittest::Beeps);
  // Backspace's character, after the key cleared a position, is no digit to judge.
  Caret(Edit, 4);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '\b', 1);
  EXPECT_EQ(AnsiString("12:00:00"), Edit->Text());
  EXPECT_EQ(7, edittest::Beeps);
  // Under a mask kept with another blank, an empty position is the 0 the editor's own
  // mask shows there: a 2 goes in before empty units, and the time typed is the one
  // read and stored.
  Edit->SetEditMask("00:00:00;1;_");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_CLEAR, 0, 0);
  ASSERT_EQ(AnsiString("__:__:__"), Edit->Text());
  Caret(Edit, 0);
  SendMessageA(Edit->Handle(), WM_CHAR, '2', 1);
  EXPECT_EQ(AnsiString("2_:__:__"), Edit->Text());
  SendMessageA(Edit->Handle(), WM_CHAR, '4', 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '3', 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '6', 1);
  SendMessageA(Edit->Handle(), WM_CHAR, '1', 1);
  EXPECT_EQ(AnsiString("23:1_:__"), Edit->Text());
  EXPECT_EQ(9, edittest::Beeps);
  EXPECT_NEAR(EncodeTime(23, 10, 0, 0), Edit->GetValue(), 1e-9);
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_NEAR(2 + EncodeTime(23, 10, 0, 0), Edit->GetEditValue().AsDouble(), 1e-9);
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
// Under a kept mask whose blank is no 0, a time typed with empty positions is written
// in the editor's own form when it is validated: that write is the editor's, and the
// time stays the user's change, which a host stores.
TEST_F(TimeEditTest, ATimeTypedUnderAKeptMaskStaysEditedWhenValidationWritesIt) {
  auto* Edit = ShownEdit();
  Edit->SetEditMask("00:00:00;1;_");
  for (const char* Typed : {"12", "0830", "1"}) {
    Edit->SetEditValue(Variant(0.0));
    Edit->SetText("__:__:__");
    Edit->SetModified(false);
    Caret(Edit, 0);
    for (const char* P = Typed; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, *P, 1);
    ASSERT_TRUE(Edit->GetModified()) << Typed;
    const AnsiString Shown = Edit->Text();
    Edit->Validate();
    EXPECT_NE(Shown, Edit->Text()) << Typed << ": validation writes the time in its own form";
    EXPECT_TRUE(Edit->GetModified()) << Typed << " shown as " << Shown.c_str() << ", then " << Edit->Text().c_str();
  }
}

// A host that gives its cells as texts: each text is the time it reads, whatever time
// the editor held for the cell before, and a text edited back to the one shown for that
// earlier time is midnight, not that time.
TEST_F(TimeEditTest, AHostsTextIsTheTimeItReadsNotTheTimeHeldBefore) {
  auto* Edit = ShownEdit();
  Edit->SetTimeEditFormat(tfHour);
  Edit->SetEditValue(Variant(EncodeTime(0, 3, 0, 0)));
  ASSERT_EQ(AnsiString("00"), Edit->Text());
  Edit->SetText("14");
  EXPECT_NEAR(EncodeTime(14, 0, 0, 0), Edit->GetValue(), 1e-9);
  Caret(Edit, 0);
  for (const char* P = "00"; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, *P, 1);
  ASSERT_EQ(AnsiString("00"), Edit->Text());
  EXPECT_EQ(0.0, Edit->GetValue());
  Edit->Validate();
  EXPECT_EQ(0.0, Edit->GetValue());
}

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
    // A digit typed over itself is no change; validated still (a host marks its text
    // edited), the text it showed reads as the value it held.
    Edit->SetModified(false);
    Type(Edit, 0, "1");
    ASSERT_EQ(AnsiString(Case.Shown), Edit->Text());
    EXPECT_FALSE(Edit->GetModified());
    Edit->SetModified(true);
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
