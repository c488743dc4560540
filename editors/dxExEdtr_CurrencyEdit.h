// The currency editor: an amount edited as free text. Keys are filtered so that the
// text stays a number with at most DecimalPlaces decimals; the value is limited to
// MinValue..MaxValue when it is validated (while the two differ), and shown through
// DisplayFormat (a FormatFloat picture) when one is set. Edit masks are ignored.
#pragma once

#include <windows.h>

#include "classlib/FormatSettings.h"
#include "editors/dxMaskEdit.h"

class TdxInplaceCurrencyEdit : public TdxInplaceMaskEdit {
  TCLASS_DECL(TdxInplaceCurrencyEdit, TdxInplaceMaskEdit)
 public:
  explicit TdxInplaceCurrencyEdit(TComponent* AOwner);

  unsigned DecimalPlaces() const { return FDecimalPlaces; }
  void SetDecimalPlaces(unsigned Value) { FDecimalPlaces = Value; }
  const AnsiString& DisplayFormat() const { return FDisplayFormat; }
  // Kept explicitly (stored value).
  void SetDisplayFormat(const AnsiString& Value);
  double MaxValue() const { return FMaxValue; }
  double MinValue() const { return FMinValue; }
  // Both kept explicitly (stored values); see SetMinMaxLimits.
  void SetMinMaxValues(double Min, double Max);
  // An empty text stands for no value (Null) instead of 0.
  bool EmptyValueNull() const { return FEmptyValueNull; }
  void SetEmptyValueNull(bool Value) { FEmptyValueNull = Value; }
  // The locale's thousand separator may be typed.
  bool UseThousandSeparator() const { return FUseThousandSeparator; }
  void SetUseThousandSeparator(bool Value) { FUseThousandSeparator = Value; }

  // The text without the locale's thousand separators as a number (a thousand
  // separator equal to the decimal one is read as the decimal one); a number beyond a
  // double's range fails too. Value is 0 on failure.
  static bool TextToDouble(const AnsiString& Text, double& Value);
  // The text's number: 0 for an empty text, MinValue for one that is no number.
  double GetValue();
  // The value limited to the range, shown in the general format with 15 digits; the
  // modified state stays as it was.
  void SetValue(double Value);

  // ----- The editor's own operations, in slot order.
  // Whether Key may go into the text at the caret (see the unit's comment).
  bool IsValidChar(char Key) override;
  // A new format repaints.
  virtual void SetDisplayFormatValue(const AnsiString& Value);
  // Below MinValue is MinValue; a change re-applies the value.
  virtual void SetMaxValue(double Value);
  // Above MaxValue is MaxValue; a change re-applies the value.
  virtual void SetMinValue(double Value);
  // A Min above Max becomes Max; both stored, the value re-applied.
  virtual void SetMinMaxLimits(double Min, double Max);
  virtual AnsiString GetDefaultDisplayFormat();
  virtual double GetDefaultMaxValue() { return 0; }
  virtual double GetDefaultMinValue() { return 0; }

  void GetDisplayValue(Variant& Value) override;
  Variant GetEditValue() override;
  void Validate() override;
  void RestoreDefaults() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void RefreshDefaults() override;
  bool HasLink() override { return inherited::HasLink() || !FDisplayFormat.empty(); }
  bool HasDataLink() override { return true; }
  void SetEditMaskValue(const AnsiString& /*Value*/) override {}
  void KeyPress(char& Key) override;

 private:
  void Paste(TMessage& Message);
  // Writes the amount the text held in Then's separators in the locale's own: the
  // same characters with each separator changed, or, where those would read as another
  // amount, the amount in the general format. The modified state stays as it was.
  void Reseparate(const TFormatSettings& Then);

  unsigned FDecimalPlaces = 2;
  AnsiString FDisplayFormat;
  double FMaxValue = 0;
  double FMinValue = 0;
  bool FEmptyValueNull = false;
  bool FUseThousandSeparator = false;
  // The settings the text was written in: a settings change reads it in these,
  // whichever control heard of the change first and read the locale again.
  TFormatSettings FTextSettings = FormatSettings;
};

// The published part of the currency editor.
void InitdxCurrencyEdit();
void DonedxCurrencyEdit();
