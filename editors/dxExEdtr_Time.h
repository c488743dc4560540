// The time editor: a time of day through a fixed edit mask, whose hour, minute or
// second under the caret the spin buttons, keys and wheel step. The value it hands out
// keeps the whole days of the value it was given.
#pragma once

#include <windows.h>

#include "classlib/DateTime.h"
#include "classlib/FormatSettings.h"
#include "editors/dxExEdtr_Spin.h"

enum TdxTimeEditFormat : Byte { tfHourMinSec, tfHourMin, tfHour };
TENUM_INFO(TdxTimeEditFormat, "tfHourMinSec", "tfHourMin", "tfHour")

// The display format ("hh:nn:ss", ...) and edit mask ("00:00:00;1;0", ...) of a format.
const char* dxTimeDisplayFormat(TdxTimeEditFormat Format);
const char* dxTimeEditMask(TdxTimeEditFormat Format);

class TdxInplaceTimeEdit : public TdxInplaceSpinEdit {
  TCLASS_DECL(TdxInplaceTimeEdit, TdxInplaceSpinEdit)
 public:
  explicit TdxInplaceTimeEdit(TComponent* AOwner);

  TdxTimeEditFormat TimeEditFormat() const { return FTimeEditFormat; }
  // The mask follows at once; the shown value at the next value set.
  void SetTimeEditFormat(TdxTimeEditFormat Value);
  TDateTime GetTime() const { return FTime; }
  TDateTime DatePart() const { return FDate; }

  // H, N or S: the section of the display format under the caret (else a blank).
  char CaretSection();

  // One hour, minute or second by the section under the caret.
  double GetIncrement() override;
  // The time held while the text is the one shown for it (a shorter format hides its
  // minutes or seconds); otherwise the text read in the display format (TimeDigits), with
  // the settings' time separator; 0 when it is no time.
  double GetValue() override;
  // The text shown for the time held, or a time of day in the display format: a paste
  // that leaves anything else ("25:00:00") is undone.
  bool IsValueText(const AnsiString& Text) override;
  // A digit is judged by the position it lands on, the first from the caret on (a
  // caret on a separator types into the tens after it): the tens of an hour take 0 to
  // 2 (2 only before units of 0 to 3, or units empty or the selection empties), the
  // units of an hour of 2 take 0 to 3, the tens of the minutes and seconds 0 to 5.
  // Without EditorEnabled none is taken.
  bool IsValidChar(char Key) override;
  // A time of day between 0:00:00 and 23:59:59 (anything else is ignored), shown in
  // the display format with the caret kept on its section: a step of the user's, which
  // an undo takes back.
  void SetValue(double Value) override;

  // Null or "" is midnight of day 0; any other value keeps its whole days and shows
  // its time of day to the second. Modified stays as it was.
  void SetEditValue(const Variant& Value) override;
  // The days and the time together (a day before day 0 counts its time away from zero).
  Variant GetEditValue() override;
  // A host's text (a cell's, however a program or a file wrote it): a time of one, two or
  // three sections of one or two digits ("9:5") is the value, shown in the editor's form;
  // any other text is shown as it is over midnight.
  void LoadText(const AnsiString& Text);
  // A settings change lays the mask out again with the new separator (the settings are
  // read again, as the date and currency editors read them).
  void Dispatch(TMessage& Message) override;

 protected:
  // A text the editor did not write for its time (the user's typing, a host's or a
  // program's text) is the time it reads: the time held behind the text written for it
  // goes once the text is another, so that no earlier value comes back with that text.
  void Change() override;
  // The time held behind the text, which a format without seconds (or minutes) hides.
  TdxHiddenValueRef HiddenValue() override;
  void RestoreHiddenValue(const AnsiString& Text, const TdxHiddenValueRef& Hidden) override;

 private:
  // SetValue's step: the time written as a program's value (Programs: no change event,
  // the undo buffer emptied) or as the user's change.
  void WriteTime(double Value, bool Programs);
  // Value in the display format (the current time in the long time format should the
  // formatting fail).
  AnsiString TimeText(TDateTime Value) const;
  // Text with each empty position of the mask (its blank, or a space) as the 0 the
  // editor's own masks show there, so that a mask kept with another blank reads and
  // judges its text as they do.
  AnsiString TimeDigits(const AnsiString& Text) const;
  // A paste over the whole text is a time in the display format, whose sections may
  // have one digit ("1:5:00" is 01:05:00), and goes in as the editor shows that time.
  // A paste over part of it goes through the mask and must leave a time. Anything else
  // (a character no position takes, "1:30:00 PM", another number of sections) is
  // refused whole as the spin editor refuses a paste.
  void PasteTime();
  // Runs Relay, a change of the format or of the settings that lays the text out anew:
  // a text written for the time held (in the settings Then) is written for it again in
  // the new form (the editor's own write: the modified state stays), and the time
  // stays, to the second; a text of the user's keeps its digits.
  template <class TRelay>
  void Relaid(const TFormatSettings& Then, TRelay&& Relay);

  TDateTime FDate = 0;
  TDateTime FTime = 0;
  // The format settings the text was written or typed in: those of the last settings
  // change the editor heard of (or of its making). The controls hear of a change one by
  // one, and another may read the new settings first.
  TFormatSettings FTextSettings = FormatSettings;
  TdxTimeEditFormat FTimeEditFormat = tfHourMinSec;
};
