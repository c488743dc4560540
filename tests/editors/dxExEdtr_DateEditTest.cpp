// The date editor on real windows: its value and text, with and without the locale's
// mask, validation with its fallback, event and refusal, and the calendar it drops
// down, picks from and keeps the time through. Dates are written unambiguously
// (12/25/2024) in the prefix's en-US locale; "today" is a fixed clock.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/LocaleSupport.h"
#include "tests/support/DateSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

TDateTime Day(int Year, int Month, int D) { return EncodeDate(Year, Month, D); }

// Notes the validation event's calls and answers as told.
struct TValidateProbe {
  void Run(TObject* /*Sender*/, const AnsiString& Text, TDateTime& Date, AnsiString& Message, bool& Error) {
    Texts.push_back(Text);
    Errors.push_back(Error);
    Messages.push_back(Message);
    if (Correct != NullDate) {
      Date = Correct;
      Error = false;
    }
    if (!Refusal.empty()) {
      Message = Refusal;
      Error = true;
    }
  }
  std::vector<AnsiString> Texts;
  std::vector<bool> Errors;
  std::vector<AnsiString> Messages;
  TDateTime Correct = NullDate;
  AnsiString Refusal;
};

class DateEditTest : public EditTest {
 protected:
  DateEditTest() : Clock(Day(2024, 3, 14) + 0.25) {}

  TdxInplaceDateEdit* ShownEdit() {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceDateEdit>(Host);
    Edit->ShowAt(Rect(5, 5, 180, 25));
    Pump();
    return Edit;
  }
  // Types Text over the editor's text, as a user does.
  static void TypeOver(TdxInplaceDateEdit* Edit, const char* Text) {
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
    for (const char* P = Text; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(*P), 1);
  }
  static void Open(TdxInplaceDateEdit* Edit) {
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
    Pump();
  }
  // Picks the popup's selection moved by Days, with Enter.
  static void Pick(TdxInplaceDateEdit* Edit, int Days) {
    TdxGridDatePopup* Popup = Edit->DatePopup();
    Popup->SetSelStart(Popup->GetSelStart() + Days);
    SendMessageA(Popup->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
  }

  TFixedClock Clock;
  TTestContainer* Host = nullptr;
};

}  // namespace

TEST_F(DateEditTest, StoresAndShowsTheDate) {
  auto* Edit = ShownEdit();
  EXPECT_EQ(NullDate, Edit->GetDate());
  EXPECT_EQ(TDateButtons({btnToday, btnClear}), Edit->DateButtons());
  uitest::TChangeCounter Changes;
  Edit->OnDateChange = Changes.Event();
  Edit->SetDate(Day(2024, 12, 25));
  EXPECT_EQ("12/25/2024", Edit->Text());
  EXPECT_FALSE(Edit->TextEdited());
  EXPECT_EQ(1, Changes.Count);
  Edit->SetDate(Day(2024, 12, 25));
  EXPECT_EQ(1, Changes.Count) << "unchanged";
  // A value taken in is stored silently.
  Edit->SetEditValue(Variant::FromDateTime(Day(2025, 1, 2) + 0.5));
  EXPECT_EQ(Day(2025, 1, 2) + 0.5, Edit->GetDate());
  EXPECT_EQ(DateToText(Day(2025, 1, 2) + 0.5), Edit->Text());
  Edit->SetEditValue(Variant(""));
  EXPECT_EQ(NullDate, Edit->GetDate());
  Edit->SetEditValue(Null());
  EXPECT_EQ("", Edit->Text());
  EXPECT_EQ(1, Changes.Count);
  // Host->AllowModify false: only the host's set-up may store.
  Host->AllowModify = false;
  Edit->SetDate(Day(2024, 1, 1));
  EXPECT_EQ(NullDate, Edit->GetDate());
  Host->SetContainerFlag();
  Edit->SetDate(Day(2024, 1, 1));
  Host->ClearContainerFlag();
  EXPECT_EQ(Day(2024, 1, 1), Edit->GetDate());
}

TEST_F(DateEditTest, ValidationReadsTheTextOrFallsBack) {
  auto* Edit = ShownEdit();
  Edit->SetDate(Day(2024, 12, 25));
  TypeOver(Edit, "1/2/2025");
  EXPECT_TRUE(Edit->TextEdited());
  Edit->Validate();
  EXPECT_EQ(Day(2025, 1, 2), Edit->GetDate());
  EXPECT_EQ("1/2/2025", Edit->Text());
  // Keywords.
  TypeOver(Edit, "tomorrow");
  Edit->Validate();
  EXPECT_EQ(Day(2024, 3, 15), Edit->GetDate());
  // An empty text is no date.
  TypeOver(Edit, "");
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
  Edit->Validate();
  EXPECT_EQ(NullDate, Edit->GetDate());
  EXPECT_EQ("", Edit->Text());
  // A program's text that is no date takes the fallback, silently.
  Edit->SetTextIfModifiable("someday");
  Edit->Validate();
  EXPECT_EQ(NullDate, Edit->GetDate());
  Edit->SetDateOnError(deToday);
  Edit->SetTextIfModifiable("someday");
  Beeps = 0;
  Edit->Validate();
  EXPECT_EQ(Day(2024, 3, 14), Edit->GetDate());
  EXPECT_EQ(0, Beeps);
  // One the user typed, pasted or cut to is refused aloud and stays to be mended; a
  // program's text after it is the program's again.
  for (const char* Way : {"typed", "pasted", "cut"}) {
    Edit->SetDate(Day(2024, 12, 25));
    if (Way[0] == 't') {
      TypeOver(Edit, "someday");
    } else if (Way[0] == 'p') {
      Clipboard()->SetAsText("12/45/2024");
      SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
      SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    } else {
      // "12/25/2024" less "12/" is no date.
      SendMessageA(Edit->Handle(), EM_SETSEL, 0, 3);
      SendMessageA(Edit->Handle(), WM_CUT, 0, 0);
    }
    const AnsiString Shown = Edit->Text();
    TDateTime Read = 0;
    EXPECT_FALSE(TextToDate(Shown, Read)) << Way << " " << Shown.c_str();
    Beeps = 0;
    EXPECT_THROW(Edit->Validate(), EdxEditInvalidInput) << Way;
    EXPECT_EQ(1, Beeps) << Way;
    EXPECT_EQ(Day(2024, 12, 25), Edit->GetDate()) << Way;
    EXPECT_EQ(Shown, Edit->Text()) << Way;
  }
  Edit->SetTextIfModifiable("someday");
  EXPECT_NO_THROW(Edit->Validate());
  EXPECT_EQ(Day(2024, 3, 14), Edit->GetDate());
}

TEST_F(DateEditTest, WithValidationTheEventSeesEveryTextAndARefusalRaises) {
  auto* Edit = ShownEdit();
  TValidateProbe Probe;
  Edit->OnDateValidateInput = TdxDateValidateInputEvent::Bind<&TValidateProbe::Run>(&Probe);
  Edit->SetDateValidation(true);
  Edit->SetDate(Day(2024, 12, 25));
  TypeOver(Edit, "someday");
  Beeps = 0;
  try {
    Edit->Validate();
    ADD_FAILURE() << "no refusal";
  } catch (const EdxEditInvalidInput& E) {
    EXPECT_EQ("Invalid Date", E.Message());
  }
  EXPECT_EQ(1, Beeps);
  EXPECT_EQ(Day(2024, 12, 25), Edit->GetDate());
  EXPECT_EQ("someday", Edit->Text());
  ASSERT_EQ(1u, Probe.Texts.size());
  EXPECT_TRUE(Probe.Errors[0]);
  // The event may correct the date, or refuse a good one with its own text.
  Probe.Correct = Day(2024, 7, 4);
  Edit->Validate();
  EXPECT_EQ(Day(2024, 7, 4), Edit->GetDate());
  Probe.Correct = NullDate;
  Probe.Refusal = "Not on a holiday";
  TypeOver(Edit, "12/26/2024");
  EXPECT_THROW(Edit->Validate(), EdxEditInvalidInput);
  EXPECT_FALSE(Probe.Errors.back()) << "the text was a date";
  // A host abandoning the edit: the text goes back and is emptied, nothing stored.
  Edit->RevertOnInvalid = true;
  TypeOver(Edit, "someday");
  EXPECT_NO_THROW(Edit->Validate());
  EXPECT_EQ(Day(2024, 7, 4), Edit->GetDate());
  EXPECT_EQ("", Edit->Text());
}

TEST_F(DateEditTest, AnUntouchedMaskIsNoDate) {
  auto* Edit = ShownEdit();
  Edit->SetDate(Day(2024, 3, 5));
  Edit->SetUseEditMask(true);
  EXPECT_TRUE(Edit->IsMasked());
  EXPECT_EQ("03/05/2024", Edit->Text()) << "shown in the mask's form";
  Edit->SetEditValue(Null());
  EXPECT_EQ(Edit->Mask().EmptyText(), Edit->Text());
  EXPECT_EQ("", VarToStr(Edit->GetEditValue()));
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_EQ(NullDate, Edit->GetDate());
  // Typed into the mask.
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, 0);
  for (char C : AnsiString("12252024")) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  Edit->Validate();
  EXPECT_EQ(Day(2024, 12, 25), Edit->GetDate());
  // Without the mask the date shows in the locale's own form.
  Edit->SetUseEditMask(false);
  EXPECT_FALSE(Edit->IsMasked());
  EXPECT_FALSE(Edit->StoredValues().Contains(esvEditMask));
  EXPECT_EQ("12/25/2024", Edit->Text());
}

TEST_F(DateEditTest, TheFormFileKeepsTheMaskThroughUseEditMask) {
  auto* Edit = FormEdit<TdxInplaceDateEdit>();
  Edit->SetUseEditMask(true);
  auto* Read = ReadBack(Edit);
  ASSERT_NE(nullptr, Read);
  EXPECT_TRUE(Read->UseEditMask());
  EXPECT_TRUE(Read->IsMasked());
  EXPECT_EQ(Edit->EditMask(), Read->EditMask());
  EXPECT_EQ(Edit->StoredValues(), Read->StoredValues());
  // Turned off, the mask goes with it.
  Read->SetUseEditMask(false);
  EXPECT_FALSE(Read->IsMasked());
}

TEST_F(DateEditTest, ItsMaskedTextCopiedAndPastedBackIsTheSameDate) {
  auto* Edit = ShownEdit();
  Edit->SetUseEditMask(true);
  Edit->SetDate(Day(2023, 3, 15));
  ASSERT_EQ("03/15/2023", Edit->Text());
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ("03/15/2023", Edit->Text());
  Edit->SetModified(true);
  Edit->Validate();
  EXPECT_EQ(Day(2023, 3, 15), Edit->GetDate());
  // Fields of one digit leave blanks after them, which the date's reading passes over.
  Clipboard()->SetAsText("3/5/2023");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  Edit->Validate();
  EXPECT_EQ(Day(2023, 3, 5), Edit->GetDate());
  EXPECT_EQ("03/05/2023", Edit->Text());
}

namespace {

// The user's locale formats, as the class library reads them.
TFormatSettings LocaleFormats(const char* ShortDate, const char* LongTime, char DateSeparator = '/') {
  TFormatSettings Settings = FormatSettings;
  Settings.ShortDateFormat = ShortDate;
  Settings.LongTimeFormat = LongTime;
  Settings.DateSeparator = DateSeparator;
  return Settings;
}

// A character typed at the end and taken back: the text is as it was, but edited.
void TouchText(TdxInplaceDateEdit* Edit) {
  const int End = GetWindowTextLengthA(Edit->Handle());
  SendMessageA(Edit->Handle(), EM_SETSEL, End, End);
  SendMessageA(Edit->Handle(), WM_CHAR, 'x', 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_BACK, 1);
}

}  // namespace

TEST_F(DateEditTest, TheTextItShowsReadsBackAsTheSameDateUnderEveryLocaleFormat) {
  auto* Edit = ShownEdit();
  const TFormatSettings Formats[] = {
      LocaleFormats("M/d/yyyy", "h:mm:ss tt"),        LocaleFormats("M/d/yyyy", "tt h:mm:ss"),
      LocaleFormats("M/d/yyyy", "HH' h 'mm"),         LocaleFormats("yyyy'x'MM'x'dd", "HH:mm:ss"),
      LocaleFormats("dd.MM.yyyy", "H:mm:ss", '.'),    LocaleFormats("dd-MMM-yyyy", "hh:mm:ss tt", '-'),
      LocaleFormats("dddd, d MMMM yyyy", "HH:mm:ss"), LocaleFormats("yyyyMMdd", "HHmmss", '\0'),
  };
  const TDateTime Values[] = {Day(2024, 12, 25) + 14.5 / 24, Day(2024, 1, 2), Day(2024, 2, 29) + 0.75,
                              Day(1, 1, 1), ComposeDateTime(Day(1899, 12, 29), 0.25),
                              Day(9999, 12, 31) + 23.0 / 24};
  for (const TFormatSettings& Settings : Formats) {
    TScopedFormatSettings Locale(Settings);
    for (TDateTime Value : Values) {
      const std::string Case = Settings.ShortDateFormat + " " + Settings.LongTimeFormat + " " + DateToText(Value);
      // Typed anew.
      Edit->SetDate(Value);
      const AnsiString Shown = Edit->Text();
      Edit->SetDate(Day(2000, 6, 15));
      TypeOver(Edit, Shown.c_str());
      Edit->Validate();
      EXPECT_NEAR(Value, Edit->GetDate(), 0.5 / 86400) << Case;
      EXPECT_EQ(Shown, Edit->Text()) << Case;
    }
  }
}

// Under the mask each short date format shows its date without the format's quotes,
// and the date typed anew, typed over itself or pasted reads back; a format with
// names is left without a mask and reads back as it does unmasked.
TEST_F(DateEditTest, UnderTheMaskEveryLocaleFormatTypesAndPastesItsDate) {
  auto* Edit = ShownEdit();
  const struct {
    TFormatSettings Settings;
    bool Masked;
  } Formats[] = {
      {LocaleFormats("M/d/yyyy", "h:mm:ss tt"), true},
      {LocaleFormats("yyyy'x'MM'x'dd", "HH:mm:ss"), true},
      {LocaleFormats("dd.MM.yyyy", "H:mm:ss", '.'), true},
      {LocaleFormats("dd'.'MM'.'yyyy", "H:mm:ss", '/'), true},
      {LocaleFormats("dd.MM.yyyy' \xE3.'", "H:mm:ss", '.'), true},
      {LocaleFormats("yyyyMMdd", "HHmmss", '\0'), true},
      {LocaleFormats("dd-MMM-yyyy", "hh:mm:ss tt", '-'), false},
      {LocaleFormats("dddd, d MMMM yyyy", "HH:mm:ss"), false},
      {LocaleFormats("MMMM d, yyyy", "h:mm:ss tt"), false},
  };
  const TDateTime Values[] = {Day(2023, 3, 15), Day(2024, 1, 2), Day(2024, 2, 29), Day(1, 1, 1),
                              Day(1899, 12, 29), Day(9999, 12, 31)};
  for (const auto& Format : Formats) {
    TScopedFormatSettings Locale(Format.Settings);
    Edit->SetUseEditMask(false);
    Edit->SetUseEditMask(true);
    const std::string Name = Format.Settings.ShortDateFormat;
    EXPECT_EQ(Format.Masked, Edit->IsMasked()) << Name;
    for (TDateTime Value : Values) {
      Edit->SetDate(Value);
      const AnsiString Shown = Edit->Text();
      const std::string Case = Name + " " + Shown;
      EXPECT_EQ(AnsiString::npos, Shown.find('\'')) << Case;
      if (!Format.Masked) {
        EXPECT_EQ(DateToText(Value), Shown) << Case;
      }
      // Typed anew.
      Edit->SetDate(Day(2000, 6, 15));
      TypeOver(Edit, Shown.c_str());
      EXPECT_EQ(Shown, Edit->Text()) << Case;
      Edit->Validate();
      EXPECT_EQ(Value, Edit->GetDate()) << Case;
      // Typed over itself.
      TypeOver(Edit, Shown.c_str());
      ASSERT_TRUE(Edit->GetModified());
      Edit->Validate();
      EXPECT_EQ(Value, Edit->GetDate()) << Case;
      // Copied, and pasted over another date.
      SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
      SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
      Edit->SetDate(Day(2000, 6, 15));
      SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
      SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
      EXPECT_EQ(Shown, Edit->Text()) << Case;
      Edit->SetModified(true);
      Edit->Validate();
      EXPECT_EQ(Value, Edit->GetDate()) << Case;
    }
  }
}

// Under the mask a digit is judged by the date it leaves where it lands (a caret on a
// separator types into the field after it, a selection's positions go blank first): a
// month 01 to 12, a day 01 to 31 and within its month once the month and the year are
// complete, a year of four digits from 0001. A field with blanks is a date still being
// typed. A digit that leaves no date is refused with a beep, the text kept; a paste
// that leaves none is refused whole with one beep. Enter stores the date shown.
TEST_F(DateEditTest, UnderTheMaskADigitIsJudgedByTheDateItLeaves) {
  auto* Edit = ShownEdit();
  const struct {
    const char* ShortDate;
    TDateTime Value;
    int Start, Stop;
    char Key;
    const char* Shown;  // null: refused
  } Steps[] = {
      {"M/d/yyyy", Day(2024, 5, 15), 0, 0, '9', nullptr},
      {"M/d/yyyy", Day(2024, 5, 15), 0, 0, '1', nullptr},
      {"M/d/yyyy", Day(2024, 5, 15), 0, 0, '0', "05/15/2024"},
      {"M/d/yyyy", Day(2024, 5, 15), 1, 1, '2', "02/15/2024"},
      {"M/d/yyyy", Day(2024, 5, 15), 1, 1, '0', nullptr},
      {"M/d/yyyy", Day(2024, 10, 15), 1, 1, '3', nullptr},
      {"M/d/yyyy", Day(2024, 5, 15), 2, 2, '4', nullptr},
      {"M/d/yyyy", Day(2024, 5, 15), 2, 2, '3', nullptr},
      {"M/d/yyyy", Day(2024, 5, 10), 3, 3, '3', "05/30/2024"},
      {"M/d/yyyy", Day(2024, 1, 31), 1, 1, '4', nullptr},
      {"M/d/yyyy", Day(2024, 1, 31), 1, 1, '3', "03/31/2024"},
      {"M/d/yyyy", Day(2024, 2, 29), 9, 9, '3', nullptr},
      {"M/d/yyyy", Day(2024, 2, 29), 9, 9, '8', "02/29/2028"},
      {"M/d/yyyy", Day(1, 5, 15), 9, 9, '0', nullptr},
      {"M/d/yyyy", Day(2024, 5, 15), 6, 6, '0', "05/15/0024"},
      {"M/d/yyyy", Day(2024, 5, 15), 0, 2, '3', "3 /15/2024"},
      {"M/d/yyyy", Day(2024, 5, 15), 0, 10, '9', "9 /  /    "},
      {"M/d/yyyy", Day(2024, 2, 29), 6, 10, '3', "02/29/3   "},
      {"dd.MM.yy", Day(2024, 2, 29), 7, 7, '3', nullptr},
      {"dd.MM.yy", Day(2024, 2, 29), 7, 7, '8', "29.02.28"},
      {"dd.MM.yy", Day(2024, 2, 29), 0, 0, '3', nullptr},
      {"dd.MM.yy", Day(2024, 2, 29), 1, 1, '0', "20.02.24"},
      {"dd.MM.yy", Day(2000, 2, 29), 6, 6, '1', nullptr},
      {"yyyyMMdd", Day(2024, 4, 30), 5, 5, '5', "20240530"},
      {"yyyyMMdd", Day(2024, 4, 30), 5, 5, '2', nullptr},
  };
  int Refused = 0;
  for (const auto& Step : Steps) {
    TScopedFormatSettings Locale(LocaleFormats(Step.ShortDate, "HH:mm:ss", Step.ShortDate[2] == '.' ? '.' : '/'));
    Edit->SetUseEditMask(false);
    Edit->SetUseEditMask(true);
    Edit->SetDate(Step.Value);
    const AnsiString Before = Edit->Text();
    const std::string Case = Step.ShortDate + std::string(" ") + Before + " " + std::to_string(Step.Start) + Step.Key;
    SendMessageA(Edit->Handle(), EM_SETSEL, Step.Start, Step.Stop);
    SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(Step.Key), 1);
    if (!Step.Shown) ++Refused;
    EXPECT_EQ(Step.Shown ? AnsiString(Step.Shown) : Before, Edit->Text()) << Case;
    EXPECT_EQ(Refused, Beeps) << Case;
    TDateTime Read = NullDate;
    if (!Step.Shown || !TextToDate(Step.Shown, Read) || Step.Start != Step.Stop) continue;
    // A complete date typed is the one Enter stores, shown as typed.
    SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(Read, Edit->GetDate()) << Case;
    EXPECT_EQ(AnsiString(Step.Shown), Edit->Text()) << Case;
  }
  // A paste goes in through the mask and is judged by the date it leaves: a field the
  // pasted separator closes after one digit is that digit's month or day.
  Edit->SetUseEditMask(false);
  Edit->SetUseEditMask(true);
  Edit->SetDate(Day(2024, 5, 15));
  Beeps = 0;
  for (auto [Start, Stop, Clip, Shown] : {std::tuple{0, 0, "9", "05/15/2024"},
                                          {0, -1, "13/45/2023", "05/15/2024"},
                                          {3, 5, "31", "05/31/2024"},
                                          {1, 1, "6", "05/31/2024"},
                                          {0, -1, "2/29/2023", "05/31/2024"},
                                          {0, -1, "2/9/2023", "2 /9 /2023"}}) {
    Clipboard()->SetAsText(Clip);
    SendMessageA(Edit->Handle(), EM_SETSEL, Start, Stop);
    SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(AnsiString(Shown), Edit->Text()) << Clip;
  }
  EXPECT_EQ(4, Beeps);
  Edit->Validate();
  EXPECT_EQ(Day(2023, 2, 9), Edit->GetDate());
  // A date the user left unfinished is refused where they see it, the value kept, not
  // replaced by the fallback; a program's text that is no date still takes it.
  Edit->SetDateOnError(deToday);
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Edit->Handle(), WM_CHAR, '9', 1);
  ASSERT_EQ("9 /  /    ", Edit->Text());
  Beeps = 0;
  EXPECT_THROW(Edit->Validate(), EdxEditInvalidInput);
  EXPECT_EQ(1, Beeps);
  EXPECT_EQ(Day(2023, 2, 9), Edit->GetDate());
  EXPECT_EQ("9 /  /    ", Edit->Text());
  SendMessageA(Edit->Handle(), WM_CHAR, '/', 1);
  for (char C : AnsiString("1/2025")) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  EXPECT_EQ("9 /1 /2025", Edit->Text());
  EXPECT_NO_THROW(Edit->Validate());
  EXPECT_EQ(Day(2025, 9, 1), Edit->GetDate());
  Edit->SetText("12/45/2024");
  Edit->SetModified(true);
  EXPECT_NO_THROW(Edit->Validate());
  EXPECT_EQ(Day(2024, 3, 14), Edit->GetDate());
  EXPECT_EQ(1, Beeps);
}

// A right-to-left short date holds a mark (0xFE in the Arabic code page) before each
// "/", and the separator the settings take from it is that mark: under the mask the
// text shows the format's characters as they are and reads back, typed or pasted.
TEST_F(DateEditTest, UnderARightToLeftFormatTheMaskedTextReadsBack) {
  auto* Edit = ShownEdit();
  const TFormatSettings Formats[] = {
      LocaleFormats("dd\xFE/MM\xFE/yyyy", "hh:mm:ss tt", '\xFE'),
      LocaleFormats("dd\xFE/MM\xFE/yy", "hh:mm:ss tt", '\xFE'),
      LocaleFormats("yyyy/MM/dd", "HH:mm:ss", '-'),
      // The system's own Arabic (Saudi Arabia) settings.
      GetLocaleFormatSettings(MAKELCID(MAKELANGID(LANG_ARABIC, SUBLANG_ARABIC_SAUDI_ARABIA), SORT_DEFAULT)),
  };
  const TDateTime Values[] = {Day(2023, 3, 15), Day(2024, 1, 2), Day(2024, 2, 29), Day(2024, 12, 31)};
  for (const TFormatSettings& Settings : Formats) {
    TScopedFormatSettings Locale(Settings);
    Edit->SetUseEditMask(false);
    Edit->SetUseEditMask(true);
    ASSERT_TRUE(Edit->IsMasked()) << Settings.ShortDateFormat;
    for (TDateTime Value : Values) {
      Edit->SetDate(Value);
      const AnsiString Shown = Edit->Text();
      const std::string Case = Settings.ShortDateFormat + " " + DateToText(Value);
      TDateTime Read = NullDate;
      EXPECT_TRUE(TextToDate(Shown, Read) && Read == Value) << Case << ": shows " << Shown;
      Edit->SetDate(Day(2000, 6, 15));
      TypeOver(Edit, Shown.c_str());
      EXPECT_EQ(Shown, Edit->Text()) << Case;
      Edit->Validate();
      EXPECT_EQ(Value, Edit->GetDate()) << Case;
      Clipboard()->SetAsText(Shown);
      Edit->SetDate(Day(2000, 6, 15));
      SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
      SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
      Edit->SetModified(true);
      Edit->Validate();
      EXPECT_EQ(Value, Edit->GetDate()) << Case;
    }
  }
}

TEST_F(DateEditTest, AnUnchangedTextKeepsTheStoredValue) {
  auto* Edit = ShownEdit();
  const struct {
    TFormatSettings Settings;
    TDateTime Value;
  } Cases[] = {
      {LocaleFormats("M/d/yy", "h:mm:ss tt"), Day(2095, 10, 31)},
      {LocaleFormats("dd.MM.yy", "HH:mm:ss", '.'), Day(1899, 12, 31)},
      {LocaleFormats("dd-MMM-yy", "HH:mm:ss", '-'), Day(2095, 10, 31) + 0.5},
      {FormatSettings, Day(1, 1, 1)},
      {LocaleFormats("M/d/yyyy", "HH' h 'mm"), Day(2024, 12, 25) + 14.25 / 24 + 7.0 / 86400},
  };
  for (const auto& Case : Cases) {
    TScopedFormatSettings Locale(Case.Settings);
    Edit->SetDate(Case.Value);
    const AnsiString Shown = Edit->Text();
    TouchText(Edit);
    ASSERT_EQ(Shown, Edit->Text());
    ASSERT_TRUE(Edit->GetModified());
    Edit->Validate();
    EXPECT_EQ(Case.Value, Edit->GetDate()) << Shown;
  }
  // Typed, a year of four digits is that year.
  TypeOver(Edit, "1/1/0001");
  Edit->Validate();
  EXPECT_EQ(Day(1, 1, 1), Edit->GetDate());
}

TEST_F(DateEditTest, TheCalendarOpensOnTheTextsDateAndAPickKeepsTheTime) {
  auto* Edit = ShownEdit();
  Edit->SetDateButtons({btnToday});
  Edit->SetEditValue(Variant::FromDateTime(Day(2024, 12, 25) + 14.5 / 24));
  Open(Edit);
  TdxGridDatePopup* Popup = Edit->DatePopup();
  ASSERT_NE(nullptr, Popup);
  EXPECT_TRUE(Edit->DroppedDown());
  EXPECT_TRUE(IsWindowVisible(Popup->Handle()));
  EXPECT_EQ(Popup->Handle(), GetFocus()) << "the calendar takes the keys";
  EXPECT_TRUE(Popup->ShowToday());
  EXPECT_FALSE(Popup->ShowClear());
  EXPECT_EQ(Day(2024, 12, 25), Popup->GetSelStart());
  EXPECT_EQ(Day(2024, 12, 1), Popup->FirstDate());
  EXPECT_NEAR(Day(2024, 12, 25) + 14.5 / 24, Edit->DateTimeValue(), 1e-9);
  // On the work area, under the editor.
  RECT EditRect, PopupRect;
  GetWindowRect(Edit->Handle(), &EditRect);
  GetWindowRect(Popup->Handle(), &PopupRect);
  EXPECT_LE(PopupRect.top, EditRect.bottom);
  EXPECT_GE(PopupRect.top, EditRect.bottom - 2);

  Pick(Edit, 2);
  EXPECT_FALSE(IsWindowVisible(Popup->Handle()));
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_NEAR(Day(2024, 12, 27) + 14.5 / 24, Edit->GetDate(), 1e-9);
  EXPECT_TRUE(Edit->GetModified());
  EXPECT_EQ(DateToText(Edit->GetDate()), Edit->Text());

  // Without SaveTime the day alone.
  Edit->SetSaveTime(false);
  Open(Edit);
  Pick(Edit, 1);
  EXPECT_EQ(Day(2024, 12, 28), Edit->GetDate());
}

TEST_F(DateEditTest, NearTheScreensBottomTheCalendarStaysOnTheWorkArea) {
  auto* Edit = ShownEdit();
  RECT Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  TCustomForm* Form = GetParentForm(Host);
  Form->SetBounds(Form->Left(), Work.bottom - 60, Form->Width(), Form->Height());
  Pump();
  Open(Edit);
  RECT EditRect, PopupRect;
  GetWindowRect(Edit->Handle(), &EditRect);
  GetWindowRect(Edit->DatePopup()->Handle(), &PopupRect);
  EXPECT_LE(PopupRect.bottom, Work.bottom);
  EXPECT_GE(PopupRect.top, Work.top);
  EXPECT_LE(PopupRect.bottom, EditRect.top + 2) << "above the editor";
}

TEST_F(DateEditTest, ReopenedOnAnEmptyTextTheCalendarStartsAtTodayWithNoOldTime) {
  auto* Edit = ShownEdit();
  Edit->SetEditValue(Variant::FromDateTime(Day(2024, 12, 25) + 14.5 / 24));
  Open(Edit);
  SendMessageA(Edit->DatePopup()->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_NEAR(Day(2024, 12, 25) + 14.5 / 24, Edit->GetDate(), 1e-9) << "Escape picks nothing";
  // The text cleared (another cell's empty value), the calendar opened again.
  Edit->SetEditValue(Null());
  Open(Edit);
  EXPECT_EQ(NullDate, Edit->DateTimeValue());
  EXPECT_EQ(Day(2024, 3, 14), Edit->DatePopup()->GetSelStart());
  Pick(Edit, 1);
  EXPECT_EQ(Day(2024, 3, 15), Edit->GetDate()) << "no time from the earlier value";
}

TEST_F(DateEditTest, HidingTheEditorClosesTheCalendarWhichOpensAgainLater) {
  auto* Edit = ShownEdit();
  Open(Edit);
  TdxGridDatePopup* Popup = Edit->DatePopup();
  ASSERT_TRUE(Edit->DroppedDown());
  Edit->Hide();
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(Popup->HandleAllocated() && IsWindowVisible(Popup->Handle()));
  Edit->ShowAt(Rect(5, 5, 180, 25));
  Pump();
  Open(Edit);
  EXPECT_EQ(Popup, Edit->DatePopup());
  EXPECT_TRUE(IsWindowVisible(Popup->Handle()));
}

TEST_F(DateEditTest, AReadOnlyEditorDoesNotDropDown) {
  auto* Edit = ShownEdit();
  Edit->SetReadOnly(true);
  Open(Edit);
  EXPECT_EQ(nullptr, Edit->DatePopup());
  EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(DateEditTest, ALocaleChangeRebuildsTheMaskAndTheText) {
  auto* Edit = ShownEdit();
  Edit->SetUseEditMask(true);
  Edit->SetDate(Day(2024, 12, 25));
  ASSERT_EQ("12/25/2024", Edit->Text());
  {
    TScopedLocaleInfo Dotted(LOCALE_SSHORTDATE, "dd.MM.yyyy");
    SendLocaleChanged(Edit->Handle());
    EXPECT_EQ("dd.MM.yyyy", FormatSettings.ShortDateFormat);
    EXPECT_EQ("!99.99.9999;1; ", Edit->EditMask());
    EXPECT_EQ("25.12.2024", Edit->Text());
    EXPECT_EQ(Day(2024, 12, 25), Edit->GetDate());
  }
  SendLocaleChanged(Edit->Handle());
  EXPECT_EQ("12/25/2024", Edit->Text());
}

// The controls of a form hear of a settings change one by one, and the time and
// currency editors read the settings again as the date editor does: whichever hears
// first, a date typed and a time held are read in the settings they were written in,
// and shown in the new ones.
TEST_F(DateEditTest, ASettingsChangeHeardFirstByAnotherEditorKeepsTheDateAndTheTime) {
  Host = ShownContainer();
  auto* Time = HostedEdit<TdxInplaceTimeEdit>(Host);
  auto* Date = HostedEdit<TdxInplaceDateEdit>(Host);
  auto* After = HostedEdit<TdxInplaceTimeEdit>(Host);
  for (auto* T : {Time, After}) {
    T->SetTimeEditFormat(tfHourMin);
    T->SetEditValue(Variant(EncodeTime(1, 31, 7, 0)));
  }
  Date->ShowAt(Rect(5, 5, 180, 25));
  Pump();
  TypeOver(Date, "8/6/2086");
  {
    TScopedLocaleInfo DayFirst(LOCALE_SSHORTDATE, "d/M/yyyy");
    TScopedLocaleInfo Dots(LOCALE_STIME, ".");
    SendLocaleChanged(Host->Handle());
    EXPECT_EQ("6/8/2086", Date->Text());
    Date->Validate();
    EXPECT_EQ(Day(2086, 8, 6), Date->GetDate());
    for (auto* T : {Time, After}) {
      EXPECT_EQ("01.31", T->Text());
      EXPECT_EQ(EncodeTime(1, 31, 7, 0), T->GetEditValue().AsDouble());
    }
  }
  SendLocaleChanged(Host->Handle());
}

// A date typed and kept in the mask it was typed in (a settings change whose new form
// would read as another date) is read in the settings it was typed in on every path: the
// validation, the value stored and the month the calendar opens on.
TEST_F(DateEditTest, AKeptTextIsReadInTheSettingsItWasTypedIn) {
  TScopedLocaleInfo Restored(LOCALE_SSHORTDATE, "M/d/yyyy");
  auto ShortDate = [](const char* Picture) { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Picture); };
  for (const char* Typed : {"03041921", "12112099"}) {
    ShortDate("M/d/yyyy");
    InitFormatSettings();
    auto* Edit = ShownEdit();
    Edit->SetUseEditMask(true);
    Edit->SetDate(Day(2020, 1, 2));
    Edit->SetModified(false);
    const std::string Digits = Typed;
    const TDateTime Date = Day(std::stoi(Digits.substr(4)), std::stoi(Digits.substr(0, 2)), std::stoi(Digits.substr(2, 2)));
    for (int Path = 0; Path < 2; ++Path) {
      TypeOver(Edit, Typed);
      ShortDate("d/M/yy");
      SendLocaleChanged(Edit->Handle());
      if (Path == 0) {
        Open(Edit);
        ASSERT_TRUE(Edit->DroppedDown()) << Typed;
        EXPECT_EQ(Date, Edit->DatePopup()->GetSelStart()) << Typed;
        Pick(Edit, 0);
      }
      Edit->Validate();
      EXPECT_EQ(Date, Edit->GetDate()) << Typed << ", path " << Path;
      ShortDate("M/d/yyyy");
      SendLocaleChanged(Edit->Handle());
    }
  }
}

// Under a short date of two-digit years, a date outside the years they show keeps its
// century when a field of its masked text other than the year is typed, and a day picked
// in the calendar keeps the century of the day picked.
TEST_F(DateEditTest, AMaskedDateOutsideTheWindowKeepsItsCenturyThroughEveryField) {
  TScopedLocaleInfo TwoDigits(LOCALE_SSHORTDATE, "M/d/yy");
  InitFormatSettings();
  auto* Edit = ShownEdit();
  Edit->SetUseEditMask(true);
  for (int Year : {1905, 2050, 2099}) {
    const TDateTime Date = Day(Year, 11, 24);
    Edit->SetDate(Date);
    Edit->SetModified(false);
    const AnsiString Shown = Edit->Text();
    const auto Slash = Shown.find('/');
    // The month, then the day.
    SendMessageA(Edit->Handle(), EM_SETSEL, 0, static_cast<LPARAM>(Slash));
    for (char C : std::string("10")) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
    Edit->Validate();
    EXPECT_EQ(Day(Year, 10, 24), Edit->GetDate()) << Shown.c_str() << " as " << Edit->Text().c_str();
    SendMessageA(Edit->Handle(), EM_SETSEL, static_cast<WPARAM>(Slash + 1), static_cast<LPARAM>(Slash + 3));
    for (char C : std::string("11")) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
    Edit->Validate();
    EXPECT_EQ(Day(Year, 10, 11), Edit->GetDate()) << Shown.c_str() << " as " << Edit->Text().c_str();
    Open(Edit);
    ASSERT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Day(Year, 10, 11), Edit->DatePopup()->GetSelStart());
    Pick(Edit, 2);
    Edit->Validate();
    EXPECT_EQ(Day(Year, 10, 13), Edit->GetDate()) << Edit->Text().c_str();
  }
}

namespace {

// Selects the characters From to To of the editor's text and types Digits there.
void TypeAt(TdxInplaceDateEdit* Edit, int From, int To, const char* Digits) {
  SendMessageA(Edit->Handle(), EM_SETSEL, static_cast<WPARAM>(From), static_cast<LPARAM>(To));
  for (const char* P = Digits; *P; ++P) SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(*P), 1);
  Pump();
}

}  // namespace

// A day the century of a masked date outside the years a two-digit year shows lacks (29
// February of 1900 or 2100) is refused aloud as any impossible date is: the two-digit
// year does not stand for another century, and the value stays.
TEST_F(DateEditTest, AMaskedDayItsKeptCenturyLacksIsRefusedAloud) {
  TScopedLocaleInfo TwoDigits(LOCALE_SSHORTDATE, "M/d/yy");
  InitFormatSettings();
  auto* Edit = ShownEdit();
  Edit->SetUseEditMask(true);
  for (const TDateTime Date : {Day(1900, 2, 27), Day(1900, 3, 1), Day(2100, 3, 1)}) {
    Edit->SetDate(Date);
    Edit->SetModified(false);
    const AnsiString Shown = Edit->Text();
    // "02/27/00": the month, then the day.
    TypeAt(Edit, 0, 2, "02");
    TypeAt(Edit, 3, 5, "29");
    ASSERT_EQ("02/29/" + Shown.substr(6), Edit->Text()) << Shown.c_str();
    Beeps = 0;
    EXPECT_THROW(Edit->Validate(), EdxEditInvalidInput) << Shown.c_str();
    EXPECT_EQ(1, Beeps) << Shown.c_str();
    EXPECT_EQ(Date, Edit->GetDate()) << Shown.c_str();
    EXPECT_EQ("02/29/" + Shown.substr(6), Edit->Text()) << Shown.c_str();
  }
}

// Whether the user typed the year decides a masked date's century, never whether its
// digits are the ones shown before: a year not typed keeps the value's century, one
// typed takes the window's (two digits) or the four digits typed. So it is when the
// short date changes in the middle of the edit and the text is read and laid again.
TEST_F(DateEditTest, AMaskedDatesCenturyFollowsWhetherItsYearWasTyped) {
  TScopedLocaleInfo Restored(LOCALE_SSHORTDATE, "M/d/yyyy");
  auto ShortDate = [](const char* Picture) {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Picture);
    InitFormatSettings();
  };
  ShortDate("MM/dd/yy");
  auto* Edit = ShownEdit();
  Edit->SetUseEditMask(true);
  // The whole date typed under a four-digit year, then laid again in two digits.
  Edit->SetDate(Day(2099, 12, 6));
  Edit->SetModified(false);
  ShortDate("yyyy-MM-dd");
  SendLocaleChanged(Edit->Handle());
  ASSERT_EQ("2099-12-06", Edit->Text());
  TypeAt(Edit, 0, -1, "19990905");
  ShortDate("d/M/yy");
  SendLocaleChanged(Edit->Handle());
  EXPECT_EQ("05/09/99", Edit->Text());
  Edit->Validate();
  EXPECT_EQ(Day(1999, 9, 5), Edit->GetDate()) << Edit->Text().c_str();
  // The year typed with the digits it showed: the window's century.
  Edit->SetDate(Day(1900, 7, 28));
  Edit->SetModified(false);
  ASSERT_EQ("28/07/00", Edit->Text());
  TypeAt(Edit, 0, -1, "050900");
  Edit->Validate();
  EXPECT_EQ(Day(2000, 9, 5), Edit->GetDate()) << Edit->Text().c_str();
  Edit->SetDate(Day(1900, 7, 28));
  Edit->SetModified(false);
  TypeAt(Edit, 0, 2, "05");
  TypeAt(Edit, 6, 6, "00");
  Edit->Validate();
  EXPECT_EQ(Day(2000, 7, 5), Edit->GetDate()) << Edit->Text().c_str();
  // The day typed, the year not: laid again in four digits, the value's century.
  ShortDate("M/d/yy");
  SendLocaleChanged(Edit->Handle());
  Edit->SetDate(Day(2050, 11, 24));
  Edit->SetModified(false);
  ASSERT_EQ("11/24/50", Edit->Text());
  TypeAt(Edit, 3, 5, "11");
  ShortDate("yyyy-MM-dd");
  SendLocaleChanged(Edit->Handle());
  EXPECT_EQ("2050-11-11", Edit->Text());
  Edit->Validate();
  EXPECT_EQ(Day(2050, 11, 11), Edit->GetDate()) << Edit->Text().c_str();
}
