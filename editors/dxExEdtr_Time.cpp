#include "editors/dxExEdtr_Time.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include "classlib/Clipbrd.h"
#include "classlib/FormatSettings.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxInplaceTimeEdit)

namespace {

const char* const DisplayFormats[] = {"hh:nn:ss", "hh:nn", "hh"};
const char* const EditMasks[] = {"00:00:00;1;0", "00:00;1;0", "00;1;0"};

// Reads Text in a display format: its hours, minutes and seconds of two digits at
// most, with the format's ":" read as the settings' time separator.
bool ReadFormattedTime(const AnsiString& Text, const char* Format, TDateTime& Value) {
  const AnsiString Trimmed = Trim(Text);
  std::size_t Pos = 0;
  int Parts[3] = {0, 0, 0};
  int Part = 0;
  for (const char* F = Format; *F; ++F) {
    if (*F == ':') {
      if (Pos >= Trimmed.size() || Trimmed[Pos] != FormatSettings.TimeSeparator) return false;
      ++Pos;
      ++Part;
      continue;
    }
    if (F[1] == *F) continue;  // the first letter of a pair; the digits go with its second
    int Digits = 0;
    while (Digits < 2 && Pos < Trimmed.size() && Trimmed[Pos] >= '0' && Trimmed[Pos] <= '9') {
      Parts[Part] = Parts[Part] * 10 + (Trimmed[Pos++] - '0');
      ++Digits;
    }
    if (Digits == 0) return false;
  }
  return Pos == Trimmed.size() && TryEncodeTime(Parts[0], Parts[1], Parts[2], 0, Value);
}

}  // namespace

const char* dxTimeDisplayFormat(TdxTimeEditFormat Format) { return DisplayFormats[Format]; }
const char* dxTimeEditMask(TdxTimeEditFormat Format) { return EditMasks[Format]; }

TdxInplaceTimeEdit::TdxInplaceTimeEdit(TComponent* AOwner) : TdxInplaceSpinEdit(AOwner) {
  SetEditMask(EditMasks[FTimeEditFormat]);
  RawText = true;
  // Midnight in place of the spin editor's "0".
  SetValue(0);
}

void TdxInplaceTimeEdit::SetTimeEditFormat(TdxTimeEditFormat Value) {
  if (FTimeEditFormat == Value) return;
  Relaid(FormatSettings, [&] {
    FTimeEditFormat = Value;
    SetEditMask(EditMasks[Value]);
  });
}

template <class TRelay>
void TdxInplaceTimeEdit::Relaid(const TFormatSettings& Then, TRelay&& Relay) {
  const TDateTime Time = FTime;
  bool Written = false;
  {
    TValueScope<TFormatSettings> Reading(FormatSettings, Then);
    Written = GetText() == TimeText(Time);
  }
  Relay();
  if (!Written) return;
  const AnsiString Text = TimeText(Time);
  if (Text != GetText()) {
    TdxKeptModified Kept(*this);
    TdxInplaceMaskEdit::SetEditValue(Variant(Text));
  }
  FTime = Time;
}

namespace {

struct TTimeHidden final : TdxHiddenValue {
  explicit TTimeHidden(TDateTime ATime) : Time(ATime) {}
  TDateTime Time;
};

}  // namespace

TdxHiddenValueRef TdxInplaceTimeEdit::HiddenValue() { return std::make_shared<TTimeHidden>(FTime); }

void TdxInplaceTimeEdit::RestoreHiddenValue(const AnsiString& Text, const TdxHiddenValueRef& Hidden) {
  if (Hidden && GetText() == Text) FTime = static_cast<const TTimeHidden&>(*Hidden).Time;
}

char TdxInplaceTimeEdit::CaretSection() {
  AnsiString Format = UpperCase(DisplayFormats[FTimeEditFormat]);
  int Length = static_cast<int>(Format.size());
  int SelStart = HandleAllocated() ? GetSelStart() : 0;
  int P = std::min(SelStart + 1, Length);
  char Section = Format[P - 1];
  if (Section != 'H' && Section != 'N' && Section != 'S') Section = Format[std::max(P - 1, 1) - 1];
  return Section;
}

double TdxInplaceTimeEdit::GetIncrement() {
  switch (CaretSection()) {
    case 'H': return dxOneHour;
    case 'N': return dxOneMinute;
    case 'S': return dxOneSecond;
  }
  return 0;
}

AnsiString TdxInplaceTimeEdit::TimeDigits(const AnsiString& Text) const {
  if (!IsMasked() || static_cast<int>(Text.size()) != Mask().Length()) return Text;
  AnsiString Digits = Text;
  for (int I = 0; I < Mask().Length(); ++I) {
    char& Ch = Digits[static_cast<std::size_t>(I)];
    if (Mask().Char(I).IsPosition() && Mask().IsBlank(Ch)) Ch = '0';
  }
  return Digits;
}

double TdxInplaceTimeEdit::GetValue() {
  const AnsiString Text = GetText();
  // The text still shown for the time: the time itself, to the second.
  if (Text == TimeText(FTime)) return FTime;
  TDateTime Value;
  return ReadFormattedTime(TimeDigits(Text), DisplayFormats[FTimeEditFormat], Value) ? Value : 0.0;
}

void TdxInplaceTimeEdit::Change() {
  // GetValue reads a text other than the time's own.
  if (GetText() != TimeText(FTime)) FTime = GetValue();
  inherited::Change();
}

bool TdxInplaceTimeEdit::IsValueText(const AnsiString& Text) {
  TDateTime Value;
  return Text == TimeText(FTime) || ReadFormattedTime(TimeDigits(Text), DisplayFormats[FTimeEditFormat], Value);
}

AnsiString TdxInplaceTimeEdit::TimeText(TDateTime Value) const {
  try {
    return FormatDateTime(DisplayFormats[FTimeEditFormat], Value);
  } catch (const Exception&) {
    return FormatDateTime(FormatSettings.LongTimeFormat, Time());
  }
}

bool TdxInplaceTimeEdit::IsValidChar(char Key) {
  // A text the user may not edit takes no character, as the spin editor's does not.
  if (!EditorEnabled()) return inherited::IsValidChar(Key);
  // The mask takes only digits; any other character is its to refuse or to take as
  // the separator passed.
  if (Key < '0' || Key > '9') return true;
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  // The digit lands on the first position from the caret on: a caret on a separator
  // puts it on the tens after it. It is judged there.
  const int At = Mask().NextPosition(Start);
  const AnsiString Format = UpperCase(DisplayFormats[FTimeEditFormat]);
  if (At < 0 || At >= static_cast<int>(Format.size())) return true;
  const bool Tens = At == 0 || Format[static_cast<std::size_t>(At) - 1] == ':';
  const AnsiString Text = TimeDigits(GetText());
  auto Shown = [&Text](int I) {
    return I < static_cast<int>(Text.size()) ? Text[static_cast<std::size_t>(I)] : '0';
  };
  if (Format[static_cast<std::size_t>(At)] != 'H') return !Tens || Key <= '5';
  if (!Tens) return Shown(At - 1) != '2' || Key <= '3';
  // A 2 before a units digit above 3 that stays would be no hour; a selection over the
  // units empties them.
  const bool UnitsStay = Stop <= At + 1;
  return Key < '2' || (Key == '2' && !(UnitsStay && Shown(At + 1) > '3'));
}

void TdxInplaceTimeEdit::SetValue(double Value) { WriteTime(Value, false); }

void TdxInplaceTimeEdit::WriteTime(double Value, bool Programs) {
  if (!(Value >= dxMinTime && Value <= dxMaxTime)) return;
  int P = HandleAllocated() ? GetSelStart() : 0;
  P = P < 3 ? 1 : (P < 6 ? 4 : 7);
  const bool Other = Value != FTime;
  FTime = Value;
  const AnsiString Text = TimeText(Value);
  if (Text != GetText()) {
    // A time the user typed and this writes in its own form stays edited.
    TdxKeptModified Kept(*this);
    if (Programs)
      TdxInplaceMaskEdit::SetEditValue(Variant(Text));
    else
      SetText(Text);
  } else if (Other) {
    ValueSetBehindText();
  }
  if (!HandleAllocated()) return;
  // The section's second digit, so that the next step acts on the same section.
  SetSelStart(P);
  SetSelLength(1);
}

// The time's text is written as the editor's own: the modified state stays.
void TdxInplaceTimeEdit::SetEditValue(const Variant& Value) {
  if (VarIsNull(Value) || (Value.IsString() && VarToStr(Value).empty())) {
    FDate = 0;
    WriteTime(0, true);
  } else {
    double V = Value.AsDouble();
    double Sign = V >= 0 ? 1 : -1;
    FDate = std::trunc(V + Sign * 1E-11);
    int Hour, Min, Sec, MSec;
    DecodeTime(V, Hour, Min, Sec, MSec);
    // Whole seconds: a time in the day's last second would otherwise pass the maximum
    // and keep the time shown before.
    WriteTime(EncodeTime(Hour, Min, Sec, 0), true);
  }
  ClearUndo();
}

void TdxInplaceTimeEdit::LoadText(const AnsiString& Text) {
  TDateTime Value = 0;
  const auto Own = static_cast<std::size_t>(FTimeEditFormat);
  // The editor's own form first, then the others.
  bool Read = ReadFormattedTime(Text, DisplayFormats[Own], Value);
  for (std::size_t Other = 0; !Read && Other < std::size(DisplayFormats); ++Other)
    Read = Other != Own && ReadFormattedTime(Text, DisplayFormats[Other], Value);
  if (Read) {
    SetEditValue(Variant(Value));
    return;
  }
  SetEditValue(Variant());
  SetText(Text);
}

Variant TdxInplaceTimeEdit::GetEditValue() {
  if (FTime == 0 && FDate == 0) return Variant(0.0);
  return Variant(FDate < 0 ? FDate - FTime : FDate + FTime);
}

void TdxInplaceTimeEdit::PasteTime() {
  if (!CanEditLinked() || !CanModify()) return;
  const AnsiString Pasted = Clipboard()->AsText();
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  // Over the whole text, a time read in the editor's format goes in as the editor writes
  // it, and any other text is refused; over a part, the paste goes in character by
  // character and must leave a time.
  const bool Whole = Start == 0 && Stop >= static_cast<int>(GetText().size());
  TDateTime Value;
  const bool WholeTime = Whole && ReadFormattedTime(Pasted, DisplayFormats[FTimeEditFormat], Value);
  int Refused = 0;
  JudgedPaste(
      [&] {
        if (WholeTime)
          PasteChars(TimeText(Value));
        else if (!Whole)
          Refused = PasteChars(Pasted);
      },
      [&](const AnsiString& Before, const AnsiString& After) {
        return WholeTime || (!Whole && Refused == 0 && (After == Before || IsValueText(After)));
      });
}

void TdxInplaceTimeEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE:
      if (!IsMasked() || !HandleAllocated()) break;
      if (EditorEnabled()) PasteTime();
      Message.Result = 0;
      return;
    case CM_WININICHANGE:
      Relaid(FTextSettings, [&] {
        inherited::Dispatch(Message);
        InitFormatSettings();
        FTextSettings = FormatSettings;
        RelayMask();
      });
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}
