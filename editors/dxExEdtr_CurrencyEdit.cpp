#include "editors/dxExEdtr_CurrencyEdit.h"

#include <algorithm>
#include <cmath>

#include "classlib/FloatConv.h"
#include "classlib/FormatFloat.h"
#include "classlib/Messages.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxInplaceCurrencyEdit)

TdxInplaceCurrencyEdit::TdxInplaceCurrencyEdit(TComponent* AOwner) : TdxInplaceMaskEdit(AOwner) {
  FDisplayFormat = GetDefaultDisplayFormat();
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
}

// ---------------------------------------------------------------------------------
// The number

bool TdxInplaceCurrencyEdit::TextToDouble(const AnsiString& Text, double& Value) {
  AnsiString Plain = Text;
  // A thousand separator that is the decimal one too is the decimal one.
  const char Thousand = FormatSettings.ThousandSeparator;
  if (Thousand && Thousand != FormatSettings.DecimalSeparator)
    Plain = StringReplaceAll(Plain, AnsiString(1, Thousand), "");
  double Result = 0;
  const bool Read = TryStrToFloat(Plain, Result);
  const double Magnitude = std::fabs(Result);
  if (Read && (Result == 0 || (Magnitude >= 5.0E-324 && Magnitude <= 1.7E308))) {
    Value = Result;
    return true;
  }
  Value = 0;
  return false;
}

double TdxInplaceCurrencyEdit::GetValue() {
  const AnsiString Text = GetText();
  if (Text.empty()) return 0;
  double Value = 0;
  return TextToDouble(Text, Value) ? Value : FMinValue;
}

void TdxInplaceCurrencyEdit::SetValue(double Value) {
  if (FMaxValue != FMinValue) {
    if (Value < FMinValue)
      Value = FMinValue;
    else if (Value > FMaxValue)
      Value = FMaxValue;
  }
  const AnsiString Text = FloatToStr(Value);
  if (Text == GetText()) return;
  TdxKeptModified Kept(*this);
  SetText(Text);
}

// ---------------------------------------------------------------------------------
// Format and limits

void TdxInplaceCurrencyEdit::SetDisplayFormat(const AnsiString& Value) {
  StoreProperty(esvDisplayFormat);
  SetDisplayFormatValue(Value);
}

void TdxInplaceCurrencyEdit::SetDisplayFormatValue(const AnsiString& Value) {
  if (FDisplayFormat == Value) return;
  FDisplayFormat = Value;
  if (HandleAllocated()) Invalidate();
}

AnsiString TdxInplaceCurrencyEdit::GetDefaultDisplayFormat() { return CurrencyDisplayFormat(); }

// A limit applies to a number: an empty text stays empty.
void TdxInplaceCurrencyEdit::SetMaxValue(double Value) {
  if (Value < FMinValue) Value = FMinValue;
  if (Value == FMaxValue) return;
  FMaxValue = Value;
  if (!GetText().empty()) SetValue(GetValue());
}

void TdxInplaceCurrencyEdit::SetMinValue(double Value) {
  if (Value > FMaxValue) Value = FMaxValue;
  if (Value == FMinValue) return;
  FMinValue = Value;
  if (!GetText().empty()) SetValue(GetValue());
}

void TdxInplaceCurrencyEdit::SetMinMaxLimits(double Min, double Max) {
  if (Min > Max) Min = Max;
  FMaxValue = Max;
  FMinValue = Min;
  if (!GetText().empty()) SetValue(GetValue());
}

void TdxInplaceCurrencyEdit::SetMinMaxValues(double Min, double Max) {
  StoreProperty(esvMaxValue);
  StoreProperty(esvMinValue);
  SetMinMaxLimits(Min, Max);
}

void TdxInplaceCurrencyEdit::RefreshDefaults() {
  inherited::RefreshDefaults();
  const TdxEditStoredValues Stored = StoredValues();
  if (!Stored.Contains(esvDisplayFormat)) SetDisplayFormatValue(GetDefaultDisplayFormat());
  if (!Stored.Contains(esvMaxValue) && !Stored.Contains(esvMinValue)) {
    SetMinMaxLimits(GetDefaultMinValue(), GetDefaultMaxValue());
  } else {
    if (!Stored.Contains(esvMaxValue)) SetMaxValue(GetDefaultMaxValue());
    if (!Stored.Contains(esvMinValue)) SetMinValue(GetDefaultMinValue());
  }
}

void TdxInplaceCurrencyEdit::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetDisplayFormatValue(GetDefaultDisplayFormat());
  SetMinMaxLimits(GetDefaultMinValue(), GetDefaultMaxValue());
}

// ---------------------------------------------------------------------------------
// Values

void TdxInplaceCurrencyEdit::GetDisplayValue(Variant& Value) {
  if (FDisplayFormat.empty()) {
    inherited::GetDisplayValue(Value);
    return;
  }
  const AnsiString Text = GetText();
  if (Text.empty() && FEmptyValueNull) {
    Value = Variant(AnsiString());
    return;
  }
  double Number = 0;
  TextToDouble(Text, Number);
  Value = Variant(FormatFloat(FDisplayFormat, Number));
}

Variant TdxInplaceCurrencyEdit::GetEditValue() {
  if (FEmptyValueNull && GetText().empty()) return Null();
  return inherited::GetEditValue();
}

void TdxInplaceCurrencyEdit::Validate() {
  inherited::Validate();
  if (!GetModified()) return;
  const AnsiString Text = GetText();
  if (FEmptyValueNull && Text.empty()) return;
  // An amount left with digits that reads as no number (an exponent begun) is refused
  // where the user sees it rather than taken as the lower limit.
  double Value = 0;
  if (Text.find_first_of("0123456789") != AnsiString::npos && !TextToDouble(Text, Value))
    RefuseInput(SdxInvalidInput);
  SetValue(GetValue());
}

// ---------------------------------------------------------------------------------
// Keys and paste

bool TdxInplaceCurrencyEdit::IsValidChar(char Key) {
  if (!inherited::IsValidChar(Key)) return false;
  const char Decimal = FormatSettings.DecimalSeparator;
  const bool Admitted = Key == '+' || Key == '-' || (Key >= '0' && Key <= '9') || Key == 'E' || Key == 'e' ||
                        Key == Decimal || (FUseThousandSeparator && Key == FormatSettings.ThousandSeparator);
  if (!Admitted) return false;
  AnsiString S = GetText();
  int Start = 0, Stop = 0;
  GetSel(Start, Stop);
  const auto Length = static_cast<int>(S.size());
  Start = std::min(std::max(Start, 0), Length);
  Stop = std::min(std::max(Stop, Start), Length);
  S.erase(static_cast<std::size_t>(Start), static_cast<std::size_t>(Stop - Start));
  if (Key == '-' && S.empty()) return true;
  S.insert(static_cast<std::size_t>(Start), 1, Key);
  const std::size_t Point = S.find(Decimal);
  if (Point != AnsiString::npos) {
    unsigned Decimals = 0;
    for (std::size_t I = Point + 1; I < S.size() && S[I] != 'E' && S[I] != 'e'; ++I)
      if (S[I] >= '0' && S[I] <= '9') ++Decimals;
    if (Decimals > FDecimalPlaces) return false;
  }
  double Value = 0;
  return TextToDouble(S, Value);
}

void TdxInplaceCurrencyEdit::KeyPress(char& Key) {
  const bool Thousand = FUseThousandSeparator && Key == FormatSettings.ThousandSeparator;
  if (!Thousand && (Key == ',' || Key == '.')) Key = FormatSettings.DecimalSeparator;
  if (static_cast<unsigned char>(Key) >= 32 && !IsValidChar(Key)) {
    Key = '\0';
    MessageBeepProc(0);
    return;
  }
  inherited::KeyPress(Key);
}

// A paste that leaves no number, as the value reads one (thousand separators and all),
// is undone with a beep, and the whole text selected; what the user typed before it
// stays theirs.
void TdxInplaceCurrencyEdit::Paste(TMessage& Message) {
  if (!CanEditLinked()) return;
  JudgedPaste([&] { inherited::Dispatch(Message); },
              [](const AnsiString& Before, const AnsiString& After) {
                double Value = 0;
                return After == Before || TextToDouble(After, Value);
              });
}

void TdxInplaceCurrencyEdit::Reseparate(const TFormatSettings& Then) {
  const char OldDecimal = Then.DecimalSeparator, OldThousand = Then.ThousandSeparator;
  const char Decimal = FormatSettings.DecimalSeparator, Thousand = FormatSettings.ThousandSeparator;
  if (OldDecimal == Decimal && OldThousand == Thousand) return;
  const AnsiString Text = GetText();
  double Amount = 0;
  {
    TValueScope<TFormatSettings> Reading(FormatSettings, Then);
    // A text that is no amount, half typed, is left as the user typed it.
    if (!TextToDouble(Text, Amount)) return;
  }
  // A separator of thousands goes where the new settings have one of their own.
  const bool Thousands = Thousand && Thousand != Decimal;
  AnsiString New;
  for (const char Ch : Text) {
    if (Ch == OldDecimal)
      New += Decimal;
    else if (Ch != OldThousand)
      New += Ch;
    else if (Thousands)
      New += Thousand;
  }
  double Again = 0;
  if (!TextToDouble(New, Again) || Again != Amount) New = FloatToStr(Amount);
  if (New == Text) return;
  TdxKeptModified Kept(*this);
  SetText(New);
}

void TdxInplaceCurrencyEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE: Paste(Message); break;
    case CM_WININICHANGE:
      inherited::Dispatch(Message);
      // The text keeps its amount in the new separators.
      InitFormatSettings();
      Reseparate(FTextSettings);
      FTextSettings = FormatSettings;
      if (!StoredValues().Contains(esvDisplayFormat)) SetDisplayFormatValue(GetDefaultDisplayFormat());
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxCurrencyEdit() {
  // The kept values: the limits together (either may be read first), the format
  // whenever it was set, the empty one too.
  TPublish<TdxInplaceCurrencyEdit> P;
  dxPublishLimits<TdxInplaceCurrencyEdit>(P);
  P.Prop("DisplayFormat", &TdxInplaceCurrencyEdit::DisplayFormat, &TdxInplaceCurrencyEdit::SetDisplayFormat)
      .Stored(dxValueKept<esvDisplayFormat>)
      .NoDefault();
}

void DonedxCurrencyEdit() { UnRegisterPublished(&TdxInplaceCurrencyEdit::StaticClass()); }
