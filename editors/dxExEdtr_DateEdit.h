// The date editor: a date edited as text, optionally through an edit mask built from
// the locale's short date, with the calendar popup to pick a day. Typed text becomes a
// date when the editor validates (keywords such as "TODAY" or "EOM" included); a
// validation event may correct the date or refuse the text. NullDate is no date.
#pragma once

#include <windows.h>

#include "classlib/FormatSettings.h"
#include "classlib/SysTypes.h"
#include "editors/dxExEdtr_DropDown.h"
#include "editors/dxGrDate.h"

enum TDateButton : Byte { btnToday, btnClear };
TENUM_INFO(TDateButton, "btnToday", "btnClear")
using TDateButtons = TSet<TDateButton>;

// The value a text that is not a date becomes (without DateValidation).
enum TDateOnError : Byte { deToday, deNull };
TENUM_INFO(TDateOnError, "deToday", "deNull")

using TdxDateValidateInputEvent =
    TEvent<void(TObject* Sender, const AnsiString& Text, TDateTime& Date, AnsiString& Message, bool& Error)>;

class TdxInplaceDateEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TdxInplaceDateEdit, TdxInplaceDropDownEdit)
 public:
  explicit TdxInplaceDateEdit(TComponent* AOwner);

  TDateTime GetDate() const { return FDate; }
  // Stores the value (and shows it) unless it is unchanged and the text untouched;
  // only while the host sets the editor up, or when the editor may be modified.
  void SetDate(TDateTime Value);
  TDateButtons DateButtons() const { return FDateButtons; }
  void SetDateButtons(TDateButtons Value) { FDateButtons = Value; }
  // The date and time read from the text at the last drop-down; NullDate when the
  // text was no date.
  TDateTime DateTimeValue() const { return FDateTimeValue; }
  TDateOnError DateOnError() const { return FDateOnError; }
  void SetDateOnError(TDateOnError Value) { FDateOnError = Value; }
  // Every validation goes through the event (a text that is no date is refused).
  bool DateValidation() const { return FDateValidation; }
  void SetDateValidation(bool Value) { FDateValidation = Value; }
  // A day picked in the calendar keeps the time of the value.
  bool SaveTime() const { return FSaveTime; }
  void SetSaveTime(bool Value) { FSaveTime = Value; }
  bool TextEdited() const { return FTextEdited; }
  bool UseEditMask() const { return FUseEditMask; }
  // Rebuilds the mask and shows the date in the new form.
  void SetUseEditMask(bool Value);
  // The calendar, made by the first drop-down.
  TdxGridDatePopup* DatePopup() const { return FDatePopup; }
  // The window shows the text the last store wrote for the value.
  bool ShowsStoredText() { return GetText() == FStoredText; }
  // The text the last store wrote for the value.
  const AnsiString& StoredDateText() const { return FStoredText; }
  // The user typed, pasted, cut or deleted in the year of the masked text since the last
  // store or the last text a program set: a two-digit year then reads in the window's
  // century, not the value's (KeepCentury).
  bool YearTyped() const { return FYearTyped; }

  // A blank string, Null or Empty is no date; any other value is read as a date.
  void SetEditValue(const Variant& Value) override;
  // A host's text (a cell's, however a program or a file wrote it): a date is the value,
  // shown in the mask's form when the editor has a mask and as it is written otherwise;
  // a text that is no date is shown as it is, with no value.
  void LoadText(const AnsiString& Text);
  // Reads the text as a date (see the unit's comment) and stores it, then the mask
  // editor's validation; a refused text raises "Invalid Date" (or the event's text).
  // A text the user typed, pasted or cut through the mask that is no date (one left
  // unfinished) is refused so too, where a program's text takes the fallback.
  void Validate() override;
  // Under the locale's date mask a digit is judged by the text it leaves where it lands
  // (IsPossibleMaskedDate): one that leaves no date, nor one still being typed, is
  // refused.
  bool IsValidChar(char Key) override;
  // Opens the calendar on the date of the text, or on today.
  void DropDown() override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnDateChange;
  TdxDateValidateInputEvent OnDateValidateInput;

 protected:
  virtual void DoDateValidateInput(const AnsiString& Text, TDateTime& Date, AnsiString& Message, bool& Error);
  void GetEditText(AnsiString& Text) override;
  void Change() override;
  bool ValidateOnEnter() override { return true; }
  // The value a text stands for: the date stored, the text the store showed for it, and
  // whether the text is edited and the user's.
  TdxHiddenValueRef HiddenValue() override;
  void RestoreHiddenValue(const AnsiString& Text, const TdxHiddenValueRef& Hidden) override;

 private:
  // Sets the value and its text, clears TextEdited and tells OnDateChange.
  void Store(TDateTime Value);
  // What the window shows (Text): the text the last store showed for the value with its
  // year untouched, or another text (Other), the user's or a host's, and the date it
  // reads as (Reads, Date: NullDate for an empty text or an untouched mask), or whether
  // it reads as none only because the century its year keeps lacks its day (DayLacked);
  // whether the user typed its year (YearTyped); the form of that date and of the
  // value's in the mask in force (Form, ValueForm). Read in Settings (ReadShown).
  struct TShownDate {
    AnsiString Text;
    bool Other = false;
    bool Reads = false;
    bool DayLacked = false;
    bool YearTyped = false;
    TDateTime Date = NullDate;
    AnsiString Form;
    AnsiString ValueForm;
  };
  TShownDate ReadShown(const TFormatSettings& Settings);
  // The date the window's text reads as in the settings in force, its century kept
  // (KeepCentury): NullDate for an empty text or an untouched mask; false when it reads
  // as none, DayLacked when only because the kept century lacks its day.
  bool ReadWindowText(TDateTime& Date, bool& DayLacked);
  // Sets the mask UseEditMask asks for in the settings in force and shows, in its form,
  // what the window showed before (Shown, read in the settings and mask of then).
  void RebuildMask(const TShownDate& Shown);
  // Sets the mask UseEditMask asks for in the settings in force.
  void ApplyEditMask();
  // Whether the text the editor would write for Date in the settings in force and the
  // mask UseEditMask asks for reads as Date's day.
  bool NewFormReadsAs(TDateTime Date);
  // The window text is the mask's empty text.
  bool EmptyMaskText();
  // Text as a date: the value stored while the text is still the one the store showed
  // (a text may not say all of it: a two-digit year, a time without seconds), else
  // TextToDate in the settings the text is in (ShownSettings), its century kept
  // (KeepCentury).
  bool ReadText(const AnsiString& Text, TDateTime& Value);
  // A date outside the years a two-digit year shows keeps its century while the user has
  // not typed the year of its masked text (YearTyped), whatever its digits: typing the day
  // or the month changes only them, and a year the user types takes the window's century.
  // False when the day and the month make no date in the kept century (29 February of
  // 1900): the text is no date, as any impossible date.
  bool KeepCentury(const AnsiString& Text, TDateTime& Value);
  // Notes whether the user's input Message, made over the text Before with the selection
  // starting at SelStart, typed in the year of the date mask in force: changed a character
  // of it, or laid a digit or a paste on it (the same digits included).
  void NoteYearTyped(const TMessage& Message, const AnsiString& Before, int SelStart);
  // The settings the window's text is in: those of then for a text kept in the mask it
  // was typed in (FMaskPending), else those in force.
  const TFormatSettings& ShownSettings() const;
  void DatePicked(TObject* Sender);
  // The mask is the one built from the locale's short date, whose fields are known.
  bool DateMaskInForce();
  // The paste through the mask's input step, refused whole with one beep (the text,
  // the selection of all of it and the flags as they were) when it leaves a text that
  // is no date nor one still being typed; else each character no position takes beeps.
  void PasteDate();

  TDateTime FDate = NullDate;
  // The text the last store showed for FDate.
  AnsiString FStoredText;
  TDateButtons FDateButtons{btnToday, btnClear};
  TDateTime FDateTimeValue = NullDate;
  TDateOnError FDateOnError = deNull;
  TdxGridDatePopup* FDatePopup = nullptr;
  bool FDateValidation = false;
  bool FSaveTime = true;
  bool FTextEdited = false;
  bool FUseEditMask = false;
  // The format settings the text was written or typed in: those of the last settings
  // change the editor heard of (or of its making), or, for a text kept in the mask it was
  // typed in, those of then. The controls hear of a change one by one, and another may
  // read the new settings first.
  TFormatSettings FTextSettings = FormatSettings;
  // The mask UseEditMask asks for waits for the next store: the text is a date that it
  // would show as another (RebuildMask).
  bool FMaskPending = false;
  // The user's input being handled (keys, characters, the clipboard's messages), and
  // whether the text is the user's: changed by that input since the last store or the
  // last text a program set. A text the user typed that is no date is refused, where a
  // program's falls back to DateOnError.
  int FUserInput = 0;
  bool FUserEdited = false;
  bool FYearTyped = false;
};

// The published part of the date editor.
void InitdxDateEdit();
void DonedxDateEdit();
