#include "editors/dxExEdtr_DateEdit.h"

#include <memory>

#include "classlib/Clipbrd.h"
#include "classlib/FormatSettings.h"
#include "classlib/Messages.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxCntner.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxInplaceDateEdit)

TdxInplaceDateEdit::TdxInplaceDateEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  SetPopupKeepsEditorFocus(false);
}

// ---------------------------------------------------------------------------------
// The value and its text

void TdxInplaceDateEdit::SetDate(TDateTime Value) {
  if (Value == FDate && !FTextEdited) return;
  TCustomdxContainer* Host = GetContainer();
  if ((Host && Host->ContainerFlag()) || CanModify()) Store(Value);
}

// The text becomes the date's, which the window takes as a new text, not an edit: a
// caller whose date is the user's (a day picked, a text validated) marks the editor
// modified after it.
void TdxInplaceDateEdit::Store(TDateTime Value) {
  if (FMaskPending) ApplyEditMask();
  const TDateTime Old = FDate;
  FDate = Value;
  SetText(FormatDateValue(IsMasked(), FDate));
  FStoredText = GetText();
  FTextEdited = false;
  FUserEdited = false;
  FYearTyped = false;
  if (!ValueLoading && Old != FDate && OnDateChange.Assigned()) OnDateChange(this);
}

namespace {

struct TDateHidden final : TdxHiddenValue {
  TDateTime Date = NullDate;
  AnsiString StoredText;
  bool TextEdited = false;
  bool UserEdited = false;
  bool YearTyped = false;
};

}  // namespace

TdxHiddenValueRef TdxInplaceDateEdit::HiddenValue() {
  auto Hidden = std::make_shared<TDateHidden>();
  Hidden->Date = FDate;
  Hidden->StoredText = FStoredText;
  Hidden->TextEdited = FTextEdited;
  Hidden->UserEdited = FUserEdited;
  Hidden->YearTyped = FYearTyped;
  return Hidden;
}

void TdxInplaceDateEdit::RestoreHiddenValue(const AnsiString& Text, const TdxHiddenValueRef& Hidden) {
  if (!Hidden || GetText() != Text) return;
  const auto& Date = static_cast<const TDateHidden&>(*Hidden);
  FDate = Date.Date;
  FStoredText = Date.StoredText;
  FTextEdited = Date.TextEdited;
  FUserEdited = Date.UserEdited;
  FYearTyped = Date.YearTyped;
}

void TdxInplaceDateEdit::SetUseEditMask(bool Value) {
  if (FUseEditMask == Value) return;
  const TShownDate Shown = ReadShown(FormatSettings);
  FUseEditMask = Value;
  RebuildMask(Shown);
}

bool TdxInplaceDateEdit::ReadWindowText(TDateTime& Date, bool& DayLacked) {
  Date = NullDate;
  DayLacked = false;
  if (IsMasked() ? EmptyMaskText() : Trim(GetText()).empty()) return true;
  if (!TextToDate(GetText(), Date)) return false;
  if (KeepCentury(GetText(), Date)) return true;
  Date = NullDate;
  DayLacked = true;
  return false;
}

TdxInplaceDateEdit::TShownDate TdxInplaceDateEdit::ReadShown(const TFormatSettings& Settings) {
  TValueScope<TFormatSettings> Reading(FormatSettings, Settings);
  TShownDate Shown;
  Shown.Text = GetText();
  Shown.YearTyped = FYearTyped;
  Shown.Other = Shown.Text != FStoredText || FYearTyped;
  if (Shown.Other) {
    Shown.Reads = ReadWindowText(Shown.Date, Shown.DayLacked);
  } else {
    Shown.Reads = true;
    Shown.Date = FDate;
  }
  Shown.Form = FormatDateValue(IsMasked(), Shown.Date);
  Shown.ValueForm = FormatDateValue(IsMasked(), FDate);
  return Shown;
}

void TdxInplaceDateEdit::ApplyEditMask() {
  FMaskPending = false;
  FTextSettings = FormatSettings;
  if (FUseEditMask) {
    SetEditMask(DateEditMask());
  } else {
    SetEditMask("");
    TdxEditStoredValues Stored = StoredValues();
    Stored.Exclude(esvEditMask);
    SetStoredValues(Stored);
  }
}

bool TdxInplaceDateEdit::NewFormReadsAs(TDateTime Date) {
  const AnsiString Text = FormatDateValue(FUseEditMask && !DateEditMask().empty(), Date);
  TDateTime Read = NullDate;
  return TextToDate(Text, Read) && DateOfValue(Read) == DateOfValue(Date);
}

// What the window showed keeps its text while the new settings and mask leave the form
// of its date as it was (a short form a host wrote, the user's typing); otherwise the
// date shows in the new form: the value's, or the one the user's or a host's text read
// as. A text that read as no date stays as it is, as far as the new mask takes it. A
// text of a date that the new mask would show as another date (a two-digit year of
// another century), or of a day the century its year keeps lacks, keeps its text and the
// mask it was written in until the value is stored. The edit stays the user's, modified
// as it was, its year typed or not.
void TdxInplaceDateEdit::RebuildMask(const TShownDate& Shown) {
  TValueScope<bool> Loading(ValueLoading, true);
  TdxKeptModified Kept(*this);
  const bool TextEdited = FTextEdited;
  const bool UserEdited = FUserEdited;
  if (Shown.Other &&
      (Shown.DayLacked || (Shown.Reads && Shown.Date != NullDate && !NewFormReadsAs(Shown.Date)))) {
    FMaskPending = true;
    return;
  }
  ApplyEditMask();
  const bool FormKept = GetText() == Shown.Text && FormatDateValue(IsMasked(), Shown.Date) == Shown.Form;
  if (!Shown.Other) {
    if (!FormKept) Store(FDate);
    return;
  }
  if (Shown.Reads && !FormKept) SetText(FormatDateValue(IsMasked(), Shown.Date));
  if (FormatDateValue(IsMasked(), FDate) != Shown.ValueForm) {
    FStoredText = FormatDateValue(IsMasked(), FDate);
    if (IsMasked() && FStoredText.empty()) FStoredText = Mask().EmptyText();
  }
  FTextEdited = TextEdited;
  FUserEdited = UserEdited;
  FYearTyped = Shown.YearTyped;
}

bool TdxInplaceDateEdit::EmptyMaskText() { return IsMasked() && GetText() == Mask().EmptyText(); }

const TFormatSettings& TdxInplaceDateEdit::ShownSettings() const { return FMaskPending ? FTextSettings : FormatSettings; }

bool TdxInplaceDateEdit::ReadText(const AnsiString& Text, TDateTime& Value) {
  if (FDate != NullDate && Text == FStoredText && !FYearTyped) {
    Value = FDate;
    return true;
  }
  TValueScope<TFormatSettings> Reading(FormatSettings, ShownSettings());
  return TextToDate(Text, Value) && KeepCentury(Text, Value);
}

bool TdxInplaceDateEdit::KeepCentury(const AnsiString& Text, TDateTime& Value) {
  if (FYearTyped || FDate == NullDate || Value == NullDate || !IsMasked() || EditMask() != DateEditMask())
    return true;
  int Start = 0;
  int Width = 0;
  if (!DateMaskYearField(Start, Width) || Width != 2 || static_cast<std::size_t>(Start + Width) > Text.size())
    return true;
  int Year = 0, Month = 0, Day = 0;
  DecodeDate(Value, Year, Month, Day);
  int Kept = 0, KeptMonth = 0, KeptDay = 0;
  DecodeDate(FDate, Kept, KeptMonth, KeptDay);
  if (Year == Kept || Year % 100 != Kept % 100) return true;
  TDateTime Date = 0;
  if (!TryEncodeDate(Kept, Month, Day, Date)) return false;
  Value = ComposeDateTime(Date, TimeOfValue(Value));
  return true;
}

void TdxInplaceDateEdit::NoteYearTyped(const TMessage& Message, const AnsiString& Before, int SelStart) {
  bool Edit = false;
  switch (Message.Msg) {
    case WM_CHAR: Edit = Message.WParam >= ' ' || Message.WParam == '\b'; break;
    case WM_KEYDOWN: Edit = Message.WParam == VK_DELETE || Message.WParam == VK_BACK; break;
    default: Edit = true; break;
  }
  int Start = 0;
  int Width = 0;
  if (FYearTyped || !Edit || !DateMaskInForce() || !DateMaskYearField(Start, Width, ShownSettings())) return;
  const int Stop = Start + Width;
  const AnsiString After = GetText();
  if (After.size() == Before.size() && static_cast<std::size_t>(Stop) <= After.size() &&
      After.compare(static_cast<std::size_t>(Start), static_cast<std::size_t>(Width), Before,
                    static_cast<std::size_t>(Start), static_cast<std::size_t>(Width)) != 0) {
    FYearTyped = true;
    return;
  }
  // A digit or a paste laid on the year's own digits moves the caret past them.
  int Caret = 0;
  int CaretStop = 0;
  GetSel(Caret, CaretStop);
  if (Message.Msg == WM_CHAR && Message.WParam >= '0' && Message.WParam <= '9' && Caret > SelStart) {
    const int At = Mask().NextPosition(SelStart);
    FYearTyped = At >= Start && At < Stop;
  } else if (Message.Msg == WM_PASTE) {
    FYearTyped = SelStart < Stop && Caret > Start;
  }
}

void TdxInplaceDateEdit::SetEditValue(const Variant& Value) {
  {
    TValueScope<bool> Loading(ValueLoading, true);
    if (Value.IsNull() || Value.IsEmpty() || (Value.IsString() && VarToStr(Value).empty()))
      Store(NullDate);
    else
      Store(Value.AsDateTime());
  }
  ClearUndo();
}

void TdxInplaceDateEdit::LoadText(const AnsiString& Text) {
  TValueScope<bool> Loading(ValueLoading, true);
  TDateTime Day = NullDate;
  const bool Reads = !Trim(Text).empty() && TextToDate(Text, Day);
  Store(Reads ? Day : NullDate);
  ClearUndo();
  // A date the mask shows in its own form; any other text as it is.
  if (Reads && IsMasked()) return;
  SetText(Text);
  if (Reads) FStoredText = GetText();
}

void TdxInplaceDateEdit::GetEditText(AnsiString& Text) {
  inherited::GetEditText(Text);
  if (EmptyMaskText()) Text.clear();
}

void TdxInplaceDateEdit::Change() {
  if (ValueLoading) return;
  inherited::Change();
  FTextEdited = true;
}

bool TdxInplaceDateEdit::DateMaskInForce() {
  return FUseEditMask && IsMasked() && EditMask() == DateEditMask(ShownSettings());
}

bool TdxInplaceDateEdit::IsValidChar(char Key) {
  if (!inherited::IsValidChar(Key)) return false;
  if (Key < '0' || Key > '9' || !DateMaskInForce()) return true;
  AnsiString Typed;
  return !TypedText(Key, Typed) || IsPossibleMaskedDate(Typed, BlankChar(), ShownSettings());
}

void TdxInplaceDateEdit::PasteDate() {
  if (!CanEditLinked() || !CanModify()) return;
  const bool WasEdited = FTextEdited;
  const bool WasUserEdited = FUserEdited;
  int Refused = 0;
  if (JudgedPaste([&] { Refused = PasteChars(Clipboard()->AsText()); },
                  [&](const AnsiString&, const AnsiString& After) {
                    return IsPossibleMaskedDate(After, BlankChar(), ShownSettings());
                  })) {
    // The characters no position took are one refusal, heard once.
    if (Refused > 0) MessageBeepProc(0);
    return;
  }
  FTextEdited = WasEdited;
  FUserEdited = WasUserEdited;
}

// ---------------------------------------------------------------------------------
// Validation

void TdxInplaceDateEdit::DoDateValidateInput(const AnsiString& Text, TDateTime& Date, AnsiString& Message,
                                             bool& Error) {
  if (OnDateValidateInput.Assigned()) OnDateValidateInput(this, Text, Date, Message, Error);
}

void TdxInplaceDateEdit::Validate() {
  if (GetModified() && KeyDownLevel() == 0) {
    TDateTime D = FDateOnError == deToday ? ::Date() : NullDate;
    const AnsiString Text = GetText();
    bool Error = false;
    if (IsMasked() ? EmptyMaskText() : Text.empty())
      D = NullDate;
    else
      Error = !ReadText(Text, D);
    if (FDateValidation || Error) {
      if (RevertOnInvalid) {
        // The host abandons the edit: nothing is stored.
        RevertToSaved();
        SetText("");
        return;
      }
      // A text the user typed that is no date (one left unfinished under the mask,
      // which takes only digits that leave a date) is refused where they see it; only
      // a program's text falls back silently.
      bool RaiseError = Error && (FDateValidation || FUserEdited);
      AnsiString Message = dxEditText(IDS_DXEDIT_INVALIDDATE);
      DoDateValidateInput(Text, D, Message, RaiseError);
      if (RaiseError) RefuseInput(Message);
    }
    SetDate(D);
    SetModified(true);
  }
  inherited::Validate();
}

// ---------------------------------------------------------------------------------
// The calendar

void TdxInplaceDateEdit::DropDown() {
  if (DroppedDown() || !CanEditLinked()) return;
  if (!FDatePopup) FDatePopup = NewObject<TdxGridDatePopup>(this);
  FDatePopup->SetEditor(this);
  FDatePopup->HandleNeeded();
  SetPopup(FDatePopup);
  DoEditButtonClick();
  FDatePopup->SetPopupBorder(ResolvedPopupBorder());
  FDatePopup->SetShadow(Style()->Shadow());
  FDatePopup->Font()->Assign(Font());
  FDatePopup->SetShowToday(FDateButtons.Contains(btnToday));
  FDatePopup->SetShowClear(FDateButtons.Contains(btnClear));
  FDatePopup->OnDateClick = nullptr;

  // A text that is no date leaves no time behind for the pick to keep (the editor is
  // reused from cell to cell).
  FDateTimeValue = NullDate;
  TDateTime Read = NullDate;
  if (!EmptyMaskText() && ReadText(GetText(), Read)) FDateTimeValue = Read;
  const TDateTime Day = FDateTimeValue != NullDate ? DateOfValue(FDateTimeValue) : ::Date();
  FDatePopup->SetFirstDate(Day);
  FDatePopup->SetSelStart(Day);

  FDatePopup->OnDateClick = TNotifyEvent::Bind<&TdxInplaceDateEdit::DatePicked>(this);
  FDatePopup->HandleNeeded();
  PositionPopup(FDatePopup, false);
  SetDroppedDownValue(true);
  FDatePopup->ShowPopup();
}

void TdxInplaceDateEdit::DatePicked(TObject* /*Sender*/) {
  if (!FDatePopup) return;
  TDateTime D = FDatePopup->GetSelStart();
  if (FSaveTime && D != NullDate && FDateTimeValue != NullDate) {
    // The time moves away from the day boundary in the day's direction.
    const TDateTime Time = TimeOfValue(FDateTimeValue);
    D = D < 0 ? D - Time : D + Time;
  }
  SetDate(D);
  SetModified(true);
}

// ---------------------------------------------------------------------------------
// Messages

void TdxInplaceDateEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR: {
      // The user's input, judged by the text it leaves (the control may tell of the
      // change only later); a store during it (Enter) leaves the stored text. An undo or
      // a redo brings back the flags of the state it goes to (HiddenValue).
      const AnsiString Before = HandleAllocated() ? GetText() : AnsiString();
      int SelStart = 0;
      int SelStop = 0;
      GetSel(SelStart, SelStop);
      ++FUserInput;
      auto Done = ScopeExit([this] { --FUserInput; });
      if (Message.Msg == WM_PASTE && DateMaskInForce() && HandleAllocated()) {
        PasteDate();
        Message.Result = 0;
      } else {
        inherited::Dispatch(Message);
      }
      if (!HandleAllocated()) return;
      const AnsiString After = GetText();
      if (After != Before && After != FStoredText) FUserEdited = true;
      NoteYearTyped(Message, Before, SelStart);
      return;
    }
    case WM_SETTEXT:
      // A program's text replaces what the user typed.
      inherited::Dispatch(Message);
      if (FUserInput == 0) {
        FUserEdited = false;
        FYearTyped = false;
      }
      return;
    default: break;
  }
  if (Message.Msg != CM_WININICHANGE) {
    inherited::Dispatch(Message);
    return;
  }
  // What the text says is read in the settings it was written in.
  const TShownDate Shown = ReadShown(FTextSettings);
  inherited::Dispatch(Message);
  InitFormatSettings();
  const TFormatSettings Then = FTextSettings;
  FTextSettings = FormatSettings;
  if (FDatePopup) FDatePopup->Invalidate();
  RebuildMask(Shown);
  // A text kept in the mask it was typed in is still in the settings of then.
  if (FMaskPending) FTextSettings = Then;
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxDateEdit() {
  TPublish<TdxInplaceDateEdit> P;
  P.Prop("UseEditMask", &TdxInplaceDateEdit::UseEditMask, &TdxInplaceDateEdit::SetUseEditMask).Default(false);
  // UseEditMask sets the mask: a kept mask is read after it.
  dxPublishEditMask(P).Moved();
}

void DonedxDateEdit() { UnRegisterPublished(&TdxInplaceDateEdit::StaticClass()); }
