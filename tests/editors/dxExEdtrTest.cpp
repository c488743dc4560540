// The extended editors' routines: date keywords on a fixed today, date text both
// ways (dates the system cannot format included), the mask and display formats built
// from the settings, the currency format, the outer-corner point, and the images and
// cursor the unit loads.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/StrUtils.h"
#include "editors/dxExEdtr.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/editors/SurfaceSupport.h"
#include "tests/support/DateSupport.h"

namespace {

// Wednesday 6 March 2024, 15:00.
const TDateTime Wednesday = EncodeDate(2024, 3, 6);

TDateTime Parsed(const char* Text) {
  TDateTime Result = -1;
  EXPECT_TRUE(SmartTextToDate(Text, Result)) << Text;
  return Result;
}

TFormatSettings WithShortDate(const char* Format) {
  TFormatSettings S;
  S.ShortDateFormat = Format;
  return S;
}

TFormatSettings WithCurrency(const char* Symbol, Byte Format, Byte Decimals) {
  TFormatSettings S;
  S.CurrencyString = Symbol;
  S.CurrencyFormat = Format;
  S.CurrencyDecimals = Decimals;
  return S;
}

}  // namespace

TEST(ExEdtrDatesTest, KeywordsCountFromToday) {
  TFixedClock Clock(Wednesday + 0.625);
  EXPECT_EQ(Parsed("today"), Wednesday);
  EXPECT_EQ(Parsed("Yesterday"), Wednesday - 1);
  EXPECT_EQ(Parsed("TOMORROW"), Wednesday + 1);
  EXPECT_EQ(Parsed("today+3"), Wednesday + 3);
  EXPECT_EQ(Parsed("today - 10"), Wednesday - 10);
  EXPECT_EQ(Parsed("tomorrow -2"), Wednesday - 1);
  // A bad offset is ignored.
  EXPECT_EQ(Parsed("today + x"), Wednesday);
  EXPECT_EQ(Parsed("today+"), Wednesday);
  // The next such weekday, today included.
  EXPECT_EQ(Parsed("wednesday"), Wednesday);
  EXPECT_EQ(Parsed("Monday"), Wednesday + 5);
  EXPECT_EQ(Parsed("saturday"), Wednesday + 3);
  // The days of this week from Sunday.
  EXPECT_EQ(Parsed("first"), EncodeDate(2024, 3, 3));
  EXPECT_EQ(Parsed("fourth"), Wednesday);
  EXPECT_EQ(Parsed("seventh"), EncodeDate(2024, 3, 9));
  EXPECT_EQ(Parsed("bom"), EncodeDate(2024, 3, 1));
  EXPECT_EQ(Parsed("EOM"), EncodeDate(2024, 3, 31));
  EXPECT_DOUBLE_EQ(Parsed("now"), Wednesday + 0.625);
}

TEST(ExEdtrDatesTest, KeywordEdgesOfWeeksAndMonths) {
  {
    TFixedClock Sunday(EncodeDate(2024, 3, 3));
    EXPECT_EQ(Parsed("sunday"), EncodeDate(2024, 3, 3));
    EXPECT_EQ(Parsed("first"), EncodeDate(2024, 3, 3));
    EXPECT_EQ(Parsed("saturday"), EncodeDate(2024, 3, 9));
  }
  {
    TFixedClock LeapFebruary(EncodeDate(2024, 2, 10));
    EXPECT_EQ(Parsed("eom"), EncodeDate(2024, 2, 29));
  }
  {
    TFixedClock February(EncodeDate(2023, 2, 10));
    EXPECT_EQ(Parsed("eom"), EncodeDate(2023, 2, 28));
  }
}

// An offset that leaves the years 1..9999 is ignored like one that is not a number;
// the first and the last day of the calendar are still reached.
TEST(ExEdtrDatesTest, OffsetsPastTheCalendarAreIgnored) {
  TFixedClock Clock(Wednesday + 0.625);
  const int ToLastDay = static_cast<int>(EncodeDate(9999, 12, 31) - Wednesday);
  const int ToFirstDay = static_cast<int>(Wednesday - EncodeDate(1, 1, 1));
  EXPECT_EQ(Parsed(("today+" + IntToStr(ToLastDay)).c_str()), EncodeDate(9999, 12, 31));
  EXPECT_EQ(Parsed(("today-" + IntToStr(ToFirstDay)).c_str()), EncodeDate(1, 1, 1));
  EXPECT_EQ(Parsed(("today+" + IntToStr(ToLastDay + 1)).c_str()), Wednesday);
  EXPECT_EQ(Parsed(("today-" + IntToStr(ToFirstDay + 1)).c_str()), Wednesday);
  for (const char* Text : {"today+99999999", "today-99999999", "today+2147483647", "today-2147483647",
                           "today--2147483648", "today+-2147483648", "tomorrow+2147483647"}) {
    const TDateTime Value = Parsed(Text);
    EXPECT_TRUE(Value == Wednesday || Value == Wednesday + 1) << Text << " gave " << Value;
    EXPECT_NE(DateToText(Value), "") << Text;
  }
  EXPECT_DOUBLE_EQ(Parsed("now+3000000"), Wednesday + 0.625);
  EXPECT_DOUBLE_EQ(Parsed("now+2"), Wednesday + 2.625);
}

TEST(ExEdtrDatesTest, NoKeywordLeavesTheDateAlone) {
  TFixedClock Clock(Wednesday);
  TDateTime Value = 42;
  for (const char* Text : {"", "tod", "3/4/2024", " today", "sun", "yesterda"}) {
    EXPECT_FALSE(SmartTextToDate(Text, Value)) << Text;
    EXPECT_EQ(Value, 42);
  }
}

TEST(ExEdtrDatesTest, TextToDateTakesKeywordsThenTheSystemsConversion) {
  TFixedClock Clock(Wednesday);
  TDateTime Value = 0;
  EXPECT_TRUE(TextToDate("  today+1  ", Value));
  EXPECT_EQ(Value, Wednesday + 1);
  EXPECT_TRUE(TextToDate("March 4, 2024", Value));
  EXPECT_EQ(Value, EncodeDate(2024, 3, 4));
  EXPECT_TRUE(TextToDate("12/25/2024", Value));
  EXPECT_EQ(Value, EncodeDate(2024, 12, 25));
  Value = 7;
  EXPECT_FALSE(TextToDate("   ", Value));
  EXPECT_FALSE(TextToDate("no date at all", Value));
  EXPECT_EQ(Value, 7);
}

TEST(ExEdtrDatesTest, WithDotsAsTheSeparatorTheFirstTwoDotsAreBlanks) {
  TFormatSettings Dots;
  Dots.DateSeparator = '.';
  TScopedFormatSettings Scope(Dots);
  TDateTime Value = 0;
  // "1 2 2024": month first in en-US.
  EXPECT_TRUE(TextToDate("1.2.2024", Value));
  EXPECT_EQ(Value, EncodeDate(2024, 1, 2));
  EXPECT_TRUE(TextToDate("12.25.2024", Value));
  EXPECT_EQ(Value, EncodeDate(2024, 12, 25));
}

TEST(ExEdtrDatesTest, DateToTextUsesTheLocaleAndReadsBack) {
  EXPECT_EQ(DateToText(NullDate), "");
  const TDateTime Day = EncodeDate(2024, 3, 4);
  EXPECT_EQ(DateToText(Day), "3/4/2024");
  const TDateTime Moment = Day + EncodeTime(13, 30, 15, 0);
  const AnsiString Text = DateToText(Moment);
  EXPECT_EQ(Text.substr(0, 9), "3/4/2024 ");
  EXPECT_NE(Text.find("1:30:15"), AnsiString::npos) << Text;
  TDateTime Back = 0;
  ASSERT_TRUE(TextToDate(Text, Back));
  EXPECT_NEAR(Back, Moment, 1e-6);
}

// A short date of two-digit years writes a date outside their window with four
// (DateToText), and reads those four back as written, in the short date's own order
// and with a time after them; two digits typed take the window's century.
TEST(ExEdtrDatesTest, ATwoDigitYearFieldReadsTheFourDigitsADateOutsideItsWindowIsWrittenIn) {
  struct TCase {
    const char* Form;
    TDateTime Date;
    const char* Text;
  };
  const TCase Cases[] = {
      {"d/M/yy", EncodeDate(1921, 3, 4), "4/3/1921"},
      {"M/d/yy", EncodeDate(2050, 11, 24), "11/24/2050"},
      {"yy/MM/dd", EncodeDate(2095, 12, 11), "2095/12/11"},
      {"dd.MM.yy", EncodeDate(1812, 1, 2), "02.01.1812"},
  };
  for (const TCase& Case : Cases) {
    TFormatSettings Settings = WithShortDate(Case.Form);
    Settings.DateSeparator = Case.Form[2] == '.' ? '.' : '/';
    TScopedFormatSettings Scope(Settings);
    EXPECT_EQ(DateToText(Case.Date), Case.Text) << Case.Form;
    TDateTime Back = 0;
    ASSERT_TRUE(TextToDate(Case.Text, Back)) << Case.Form;
    EXPECT_EQ(Back, Case.Date) << Case.Form;
    const TDateTime Moment = ComposeDateTime(Case.Date, EncodeTime(18, 30, 15, 0));
    ASSERT_TRUE(TextToDate(AnsiString(Case.Text) + " 6:30:15 PM", Back)) << Case.Form;
    EXPECT_NEAR(Back, Moment, 1e-6) << Case.Form;
  }
  TScopedFormatSettings Scope(WithShortDate("d/M/yy"));
  TDateTime Back = 0;
  ASSERT_TRUE(TextToDate("4/3/21", Back));
  EXPECT_EQ(Back, EncodeDate(2021, 3, 4));
  ASSERT_TRUE(TextToDate("4/3/50", Back));
  EXPECT_EQ(Back, EncodeDate(1950, 3, 4));
}

// The system formats no date before 1601: the text comes from the format settings,
// and an editor showing it reads the same date back.
TEST(ExEdtrDatesTest, DatesBeforeTheSystemsCalendarStillMakeText) {
  const TDateTime Old = EncodeDate(1500, 3, 4);
  EXPECT_EQ(DateToText(Old), "3/4/1500");
  TDateTime Back = 0;
  ASSERT_TRUE(TextToDate(DateToText(Old), Back));
  EXPECT_EQ(Back, Old);
  // Before day 0 the time counts forward from midnight of the day.
  const AnsiString WithTime = DateToText(ComposeDateTime(Old, EncodeTime(6, 0, 0, 0)));
  EXPECT_EQ(WithTime, "3/4/1500 6:00:00 AM");
  TFormatSettings Dutch;
  Dutch.ShortDateFormat = "d-M-yyyy";
  Dutch.DateSeparator = '-';
  TScopedFormatSettings Scope(Dutch);
  EXPECT_EQ(DateToText(Old), "4-3-1500");
}

TEST(ExEdtrDatesTest, FormatDateValueWithAndWithoutTheDisplayFormat) {
  const TDateTime Day = EncodeDate(2024, 3, 4);
  EXPECT_EQ(FormatDateValue(true, NullDate), "");
  EXPECT_EQ(FormatDateValue(false, NullDate), "");
  EXPECT_EQ(FormatDateValue(false, Day), DateToText(Day));
  TScopedFormatSettings Scope(WithShortDate("M/d/yyyy"));
  EXPECT_EQ(FormatDateValue(true, Day), "03/04/2024");
}

TEST(ExEdtrFormatsTest, EditMaskFromTheShortDateFormat) {
  // The format's "/" is its own character, not the separator the mask puts for one.
  EXPECT_EQ(DateEditMask(WithShortDate("dd/MM/yyyy")), "!99\\/99\\/9999;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("M/d/yyyy")), "!99\\/99\\/9999;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("d.M.yy")), "!99.99.99;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("yyyyMMdd")), "!99999999;1; ");
  // Quoted text is literal text, without its quotes ('' is a quote); a character the
  // mask would read as a position or a separator is escaped.
  EXPECT_EQ(DateEditMask(WithShortDate("dd'.'MM'.'yyyy")), "!99.99.9999;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("dd.MM.yyyy' \xE3.'")), "!99.99.9999 \xE3.;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("yyyy'x'MM'x'dd")), "!9999x99x99;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("yyyy'/0a'MM'L9:'dd")), "!9999\\/\\0\\a99\\L\\9\\:99;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("d'''d'M''yy")), "!99'd9999;1; ");
  // Names cannot be typed into a mask: no mask at all.
  EXPECT_EQ(DateEditMask(WithShortDate("dd-MMM-yyy")), "");
  EXPECT_EQ(DateEditMask(WithShortDate("yyyy MMMM dddd")), "");
  EXPECT_EQ(DateEditMask(WithShortDate("MMMM d, yyyy")), "");
  EXPECT_EQ(DateEditMask(WithShortDate("ddd d/M/yyyy")), "");
  // Outside quotes as inside them, every character the mask reads as a directive stays
  // a literal.
  EXPECT_EQ(DateEditMask(WithShortDate("yyyy:MM:dd")), "!9999\\:99\\:99;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("dd\xFE/MM\xFE/yyyy")), "!99\xFE\\/99\xFE\\/9999;1; ");
  EXPECT_EQ(DateEditMask(WithShortDate("dd;MM<yy>!\\")), "!99\\;99\\<99\\>\\!\\\\;1; ");
}

TEST(ExEdtrFormatsTest, DisplayFormatDoublesLoneDaysAndMonths) {
  EXPECT_EQ(DateDisplayFormat(WithShortDate("d.M.yy")), "dd.MM.yy");
  EXPECT_EQ(DateDisplayFormat(WithShortDate("M/d/yyyy")), "MM'/'dd'/'yyyy");
  EXPECT_EQ(DateDisplayFormat(WithShortDate("dd-MMM-yyyy")), "dd-MMM-yyyy");
  EXPECT_EQ(DateDisplayFormat(WithShortDate("d MMMM")), "dd MMMM");
  EXPECT_EQ(DateDisplayFormat(WithShortDate("yyyy")), "yyyy");
  // Quoted text stays as it is.
  EXPECT_EQ(DateDisplayFormat(WithShortDate("d 'de' M yyyy")), "dd 'de' MM yyyy");
  // A literal the date-time format would read as a separator or a field stays literal,
  // and a quote goes between double quotes.
  EXPECT_EQ(DateDisplayFormat(WithShortDate("dd\xFE/MM\xFE/yy")), "dd\xFE'/'MM\xFE'/'yy");
  EXPECT_EQ(DateDisplayFormat(WithShortDate("yyyy:M:d'h'")), "yyyy':'MM':'dd'h'");
  EXPECT_EQ(DateDisplayFormat(WithShortDate("d'''d'M''yy")), "dd\"'\"'d'MMyy");
}

TEST(ExEdtrFormatsTest, CurrencyFormatFromTheSettings) {
  EXPECT_EQ(CurrencyDisplayFormat(GetLocaleFormatSettings(LOCALE_USER_DEFAULT)), "$,0.00;-$,0.00");
  EXPECT_EQ(CurrencyDisplayFormat(WithCurrency("$", 0, 2)), "$,0.00;-$,0.00");
  EXPECT_EQ(CurrencyDisplayFormat(WithCurrency("Y", 0, 0)), "Y,0.;-Y,0.");
  EXPECT_EQ(CurrencyDisplayFormat(WithCurrency("kr.", 3, 2)), ",0.00 kr'.';-,0.00 kr'.'");
  EXPECT_EQ(CurrencyDisplayFormat(WithCurrency("F", 1, 1)), ",0.0F;-,0.0F");
  EXPECT_EQ(CurrencyDisplayFormat(WithCurrency("R,", 2, 3)), "R',' ,0.000;-R',' ,0.000");
  EXPECT_EQ(CurrencyDisplayFormat(WithCurrency("", 3, 2)), ",0.00;-,0.00");
}

class ExEdtrWindowTest : public uitest::UiTest {};

TEST_F(ExEdtrWindowTest, PointsRelativeToTheWindowsOuterCorner) {
  TForm* Form = Keep(NewObject<TForm>(nullptr));
  Form->SetBounds(60, 70, 300, 200);
  Form->Show();
  uitest::Pump();
  RECT W;
  GetWindowRect(Form->Handle(), &W);
  TPoint P{W.left + 3, W.top + 4};
  EXPECT_TRUE(WindowPointFromScreen(Form->Handle(), P));
  EXPECT_EQ(P.x, 3);
  EXPECT_EQ(P.y, 4);
  TPoint Outside{W.left - 10, W.top - 20};
  EXPECT_TRUE(WindowPointFromScreen(Form->Handle(), Outside));
  EXPECT_EQ(Outside.x, -10);
  EXPECT_EQ(Outside.y, -20);
}

TEST(ExEdtrResourcesTest, CheckBoxGlyphIsAQuarterAndAThirdOfTheSystemStrip) {
  HBITMAP Strip = LoadBitmapA(nullptr, MAKEINTRESOURCEA(dxObmCheckBoxes));
  ASSERT_NE(Strip, nullptr);
  BITMAP Info{};
  GetObjectA(Strip, sizeof(Info), &Info);
  DeleteObject(Strip);
  EXPECT_GT(EditCheckBoxWidth, 0);
  EXPECT_EQ(EditCheckBoxWidth, Info.bmWidth / 4);
  EXPECT_EQ(EditCheckBoxHeight, Info.bmHeight / 3);
}

TEST(ExEdtrResourcesTest, BlobGlyphsAreMaskedOnOlive) {
  TCustomImageList* Images = BlobImages();
  ASSERT_NE(Images, nullptr);
  EXPECT_EQ(Images->Count(), 8);
  EXPECT_EQ(Images->Width(), 16);
  EXPECT_EQ(Images->Height(), 16);
  for (int I = 0; I < 8; ++I) {
    surfacetest::TSurface Surface(16, 16, RGB(255, 0, 255));
    TCanvas Canvas;
    Canvas.SetHandle(Surface.DC());
    Images->Draw(&Canvas, 0, 0, I);
    Canvas.SetHandle(nullptr);
    // The corners are background, and something is drawn.
    EXPECT_EQ(Surface.At(0, 0), RGB(255, 0, 255)) << I;
    EXPECT_EQ(Surface.At(15, 15), RGB(255, 0, 255)) << I;
    EXPECT_LT(Surface.Count(RGB(255, 0, 255), TRect{0, 0, 16, 16}), 200) << I;
    // The empty glyphs have no colour but the outline's grey and white.
    const TRect All{0, 0, 16, 16};
    if (I % 2 == 0) {
      EXPECT_EQ(Surface.Count(RGB(255, 0, 255), All) + Surface.Count(RGB(128, 128, 128), All) +
                    Surface.Count(RGB(255, 255, 255), All),
                256)
          << I;
    }
  }
}

TEST(ExEdtrResourcesTest, ToolGlyphsAreMaskedByTheirBottomLeftPixel) {
  TCustomImageList* Images = PopupToolImages();
  ASSERT_NE(Images, nullptr);
  EXPECT_EQ(Images->Count(), 6);
  for (int I = 0; I < 6; ++I) {
    surfacetest::TSurface Surface(16, 16, RGB(255, 0, 255));
    TCanvas Canvas;
    Canvas.SetHandle(Surface.DC());
    Images->Draw(&Canvas, 0, 0, I);
    Canvas.SetHandle(nullptr);
    EXPECT_EQ(Surface.At(0, 15), RGB(255, 0, 255)) << I;
    EXPECT_EQ(Surface.Count(RGB(128, 128, 0), TRect{0, 0, 16, 16}), 0) << I;
    EXPECT_GT(256 - Surface.Count(RGB(255, 0, 255), TRect{0, 0, 16, 16}), 20) << I;
  }
}

TEST(ExEdtrResourcesTest, HandCursorHasItsHotSpotAtTheFingertip) {
  HCURSOR Hand = Screen->Cursors(crdxHandPoint);
  ASSERT_NE(Hand, nullptr);
  EXPECT_NE(Hand, Screen->Cursors(crDefault));
  ICONINFO Info{};
  ASSERT_TRUE(GetIconInfo(Hand, &Info));
  EXPECT_FALSE(Info.fIcon);
  EXPECT_EQ(Info.xHotspot, 5u);
  EXPECT_EQ(Info.yHotspot, 0u);
  if (Info.hbmMask) DeleteObject(Info.hbmMask);
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
}

TEST(ExEdtrResourcesTest, CaptionsAndTimeConstants) {
  EXPECT_EQ(dxBlobButtonCaption(0), "&OK");
  EXPECT_EQ(dxBlobButtonCaption(1), "&Cancel");
  EXPECT_EQ(dxBlobButtonCaption(2), "&Close");
  EXPECT_NEAR(dxOneHour * 24, 1, 1e-12);
  EXPECT_NEAR(dxOneMinute * 24 * 60, 1, 1e-12);
  EXPECT_NEAR(dxOneSecond * 86400, 1, 1e-9);
  EXPECT_EQ(dxMinTime, 0);
  EXPECT_NEAR(dxMaxTime + dxOneSecond, 1, 1e-9);
}
