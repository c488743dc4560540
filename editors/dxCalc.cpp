// The calculator keypad: buttons and layout, entering and computing, the display and
// its value, clipboard, keys and mouse. Painting: dxCalc_Paint.cpp.
#include "editors/dxCalc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "classlib/Clipbrd.h"
#include "classlib/FloatConv.h"
#include "classlib/Messages.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"

TCLASS_IMPL(TCustomdxCalculator)

namespace {

AnsiString TheErrorText;
TBitmap* TheButtonBitmap = nullptr;

// Caption colours.
constexpr TColor DarkRed = static_cast<TColor>(0x80);
constexpr TColor Red = static_cast<TColor>(0xFF);
constexpr TColor Blue = static_cast<TColor>(0xFF0000);
constexpr TColor Navy = static_cast<TColor>(0x800000);

bool IsArithmetic(TdxCalcButtonKind Kind) { return Kind >= cbDiv && Kind <= cbAdd; }

// The button a typed character presses, or cbNone.
TdxCalcButtonKind CharButton(char Key) {
  if (Key >= '0' && Key <= '9') return static_cast<TdxCalcButtonKind>(cbNum0 + (Key - '0'));
  if (Key == FormatSettings.DecimalSeparator) return cbDecimal;
  switch (Key) {
    case '\b': return cbBack;
    case '/': return cbDiv;
    case '*': return cbMul;
    case '-': return cbSub;
    case '+': return cbAdd;
    case '@': return cbSqrt;
    case '%': return cbPercent;
    case 'r':
    case 'R': return cbRev;
    case '=': return cbEqual;
    case 'c':
    case 'C': return cbClear;
    default: return cbNone;
  }
}

// The button a key press presses, or cbNone.
TdxCalcButtonKind KeyButton(Word Key, TShiftState Shift) {
  // Ctrl with Alt is AltGr, which types a character on many layouts: no memory key.
  const bool Ctrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  switch (Key) {
    case VK_BACK: return cbBack;
    case VK_DELETE: return cbCancel;
    case VK_ESCAPE: return cbClear;
    case VK_RETURN: return cbEqual;
    case VK_F9: return cbSign;
    case 'L': return Ctrl ? cbMC : cbNone;
    case 'R': return Ctrl ? cbMR : cbNone;
    case 'M': return Ctrl ? cbMS : cbNone;
    case 'P': return Ctrl ? cbMP : cbNone;
    default: return cbNone;
  }
}

}  // namespace

const AnsiString& TCustomdxCalculator::ErrorText() { return TheErrorText; }

TBitmap* TCustomdxCalculator::ButtonBitmap() { return TheButtonBitmap; }

TCustomdxCalculator::TCustomdxCalculator(TComponent* AOwner) : TdxInplacePopupControl(AOwner) {
  static const char* const Captions[] = {"Back", "CE", "C", "MC", "MR", "MS", "M+", "0", "1", "2", "3", "4", "5", "6",
                                         "7",    "8",  "9", "+/-", "",  "/",  "*",  "-", "+", "sqrt", "%", "1/x", "="};
  for (int I = 0; I < dxCalcButtonCount; ++I) {
    TdxCalcButton& B = FButtons[I];
    B.Caption = Captions[I];
    if (I <= cbClear)
      B.Color = DarkRed;
    else if (I <= cbMP || (I >= cbDiv && I <= cbAdd) || I == cbEqual)
      B.Color = Red;
    else if (I <= cbDecimal)
      B.Color = Blue;
    else
      B.Color = Navy;
  }
  FButtons[cbDecimal].Caption = AnsiString(1, FormatSettings.DecimalSeparator);
  SetControlStyle(ControlStyle() - TControlStyle{csDoubleClicks});
  SetColor(clBtnFace);
  SetCtl3D(false);
  SetParentCtl3D(false);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(Left(), Top(), 207, 137);
  Layout();
}

void TCustomdxCalculator::SetAutoFontSize(bool Value) {
  if (FAutoFontSize == Value) return;
  FAutoFontSize = Value;
  Invalidate();
}

void TCustomdxCalculator::SetButtonStyle(TdxButtonStyle Value) {
  if (FButtonStyle == Value) return;
  FButtonStyle = Value;
  SetHotButton(cbNone);
  Invalidate();
}

void TCustomdxCalculator::SetBorderStyle(Byte Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomdxCalculator::SetShowButtonFrame(bool Value) {
  if (FShowButtonFrame == Value) return;
  FShowButtonFrame = Value;
  Invalidate();
}

void TCustomdxCalculator::SetShowFocusRect(bool Value) {
  if (FShowFocusRect == Value) return;
  FShowFocusRect = Value;
  Invalidate();
}

void TCustomdxCalculator::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | WS_TABSTOP;
  Params.WindowClass.style &= ~CS_DBLCLKS;
  if (IsPopup()) {
    Params.Style &= ~WS_BORDER;
  } else if (FBorderStyle == 1) {
    if (Ctl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}

// ---------------------------------------------------------------------------------
// Layout

void TCustomdxCalculator::Layout() {
  if (FLayingOut) return;
  TFlagScope LayingOut(FLayingOut);

  const TRect Client = GetClientRect();
  const int W = Client.right - Client.left, H = Client.bottom - Client.top;
  const int Target = std::min(MulDiv(W, 137, 207), H);
  auto Total = [](int Height) {
    const int G = MulDiv(Height, 4, 22);
    return 5 * (Height + G) + G;
  };
  int Height = 22;
  int Best = std::abs(Total(Height) - Target);
  while (std::abs(Total(Height + 1) - Target) < Best) {
    ++Height;
    Best = std::abs(Total(Height) - Target);
  }
  FButtonHeight = Height;
  FButtonWidth = MulDiv(Height, 28, 22);
  FGap = MulDiv(Height, 4, 22);
  FWideWidth = MulDiv(FButtonWidth, 17, 10);
  FFontSize = MulDiv(Height, 8, 22);

  const int Row = FGap + FButtonHeight, Col = FGap + FButtonWidth;
  static const TdxCalcButtonKind Grid[4][6] = {{cbMC, cbNum7, cbNum8, cbNum9, cbDiv, cbSqrt},
                                                {cbMR, cbNum4, cbNum5, cbNum6, cbMul, cbPercent},
                                                {cbMS, cbNum1, cbNum2, cbNum3, cbSub, cbRev},
                                                {cbMP, cbNum0, cbSign, cbDecimal, cbAdd, cbEqual}};
  const int X0 = FGap + FButtonWidth + FGap + 4;
  for (int R = 1; R <= 4; ++R) {
    const int Top = FGap + Row * R, Bottom = Row * (R + 1);
    FButtons[Grid[R - 1][0]].Bounds = TRect{FGap, Top, FGap + FButtonWidth, Bottom};
    for (int C = 0; C < 5; ++C) {
      const int Left = X0 + FGap + C * Col;
      FButtons[Grid[R - 1][C + 1]].Bounds = TRect{Left, Top, Left + FButtonWidth, Bottom};
    }
  }
  int Right = FButtons[cbEqual].Bounds.right;
  for (TdxCalcButtonKind Kind : {cbClear, cbCancel, cbBack}) {
    FButtons[Kind].Bounds = TRect{Right - FWideWidth, FGap, Right, FGap + FButtonHeight};
    Right -= FWideWidth + FGap;
  }

  FMemory = 0;
  FState = calcNew;
  FLastOperator = cbEqual;
  UpdateMemoryButtons();
  SetClientSize(6 * Col + 2 * FGap + 4, Row * 5 + FGap);
  Invalidate();
}

TdxCalcButtonKind TCustomdxCalculator::ButtonAt(int X, int Y) const {
  const POINT P{X, Y};
  for (int I = 0; I < dxCalcButtonCount; ++I)
    if (PtInRect(&FButtons[I].Bounds, P)) return static_cast<TdxCalcButtonKind>(I);
  return cbNone;
}

// ---------------------------------------------------------------------------------
// The display and its value

AnsiString TCustomdxCalculator::DisplayText() {
  AnsiString Text;
  GetDisplayText(Text);
  return Text;
}

void TCustomdxCalculator::ShowText(const AnsiString& Text) {
  if (Text == DisplayText()) return;
  SetDisplayText(Text);
  if (OnDisplayChange.Assigned()) OnDisplayChange(this);
}

long double TCustomdxCalculator::Value() {
  if (FState == calcError) return 0;
  AnsiString Text = Trim(DisplayText());
  if (Text.empty()) Text = "0";
  long double Result = 0;
  if (!TryStrToExtended(Text, Result)) {
    Error();
    return 0;
  }
  return Result;
}

void TCustomdxCalculator::SetValue(long double Value) {
  if (!std::isfinite(Value)) {
    Error();
    return;
  }
  ShowText(ExtendedToStr(Value, DigitLimit()));
}

void TCustomdxCalculator::Error() {
  FState = calcError;
  ShowText(TheErrorText);
  if (FBeepOnError) MessageBeepProc(0);
  if (OnError.Assigned()) OnError(this);
}

void TCustomdxCalculator::StartEntry() {
  if (FState != calcNew) return;
  FState = calcTyping;
  ShowText("0");
}

void TCustomdxCalculator::UpdateMemoryButtons() {
  const bool Empty = FMemory == 0;
  for (TdxCalcButtonKind Kind : {cbMC, cbMR}) {
    FButtons[Kind].Grayed = Empty;
    InvalidateButton(Kind);
  }
}

// ---------------------------------------------------------------------------------
// Entering and computing

void TCustomdxCalculator::ButtonClick(TdxCalcButtonKind Kind) {
  if (OnButtonClick.Assigned()) OnButtonClick(this, Kind);
  if (Kind >= cbNone) return;
  if (FState == calcError && Kind != cbCancel && Kind != cbClear) {
    Error();
    return;
  }
  switch (Kind) {
    case cbDecimal: {
      StartEntry();
      const AnsiString Text = DisplayText();
      // After an exponent ("1E-5") a separator leaves no number.
      if (Text.find_first_of("Ee") != AnsiString::npos) {
        if (FBeepOnError) MessageBeepProc(0);
      } else if (Text.find(FormatSettings.DecimalSeparator) == AnsiString::npos) {
        ShowText(Text + FormatSettings.DecimalSeparator);
      }
      break;
    }
    case cbBack: EnterBack(); break;
    case cbCancel:
    case cbClear:
      FState = calcNew;
      SetValue(0);
      FLastOperator = cbEqual;
      break;
    case cbMC:
    case cbMR:
    case cbMS:
    case cbMP: EnterMemory(Kind); break;
    case cbSign: {
      const long double V = Value();
      if (FState != calcError) SetValue(-V);
      break;
    }
    case cbDiv:
    case cbMul:
    case cbSub:
    case cbAdd:
    case cbPercent:
    case cbEqual: EnterOperator(Kind); break;
    case cbSqrt:
    case cbRev: EnterFunction(Kind); break;
    default: EnterDigit(Kind - cbNum0); break;
  }
}

void TCustomdxCalculator::EnterDigit(int Digit) {
  StartEntry();
  AnsiString Text = DisplayText();
  if (Text == "0") Text.clear();
  const std::size_t Minus = Text.find('-');
  const int Limit = DigitLimit() + (Minus == AnsiString::npos ? 0 : static_cast<int>(Minus) + 1);
  if (static_cast<int>(Text.size()) < Limit)
    ShowText(Text + static_cast<char>('0' + Digit));
  else if (FBeepOnError)
    MessageBeepProc(0);
}

void TCustomdxCalculator::EnterBack() {
  StartEntry();
  const AnsiString Text = DisplayText();
  AnsiString Shorter = Text.size() <= 1 ? AnsiString() : Text.substr(0, Text.size() - 1);
  // The exponent goes with its last digit: "1E-5" leaves 1, where "1E-" is no number.
  const std::size_t Exponent = Shorter.find_first_of("Ee");
  if (Exponent != AnsiString::npos && Shorter.find_first_of("0123456789", Exponent) == AnsiString::npos)
    Shorter.erase(Exponent);
  ShowText(Shorter.empty() || Shorter == "-" ? AnsiString("0") : Shorter);
}

void TCustomdxCalculator::EnterMemory(TdxCalcButtonKind Kind) {
  switch (Kind) {
    case cbMC: FMemory = 0; break;
    case cbMR:
      FState = calcNew;
      StartEntry();
      SetValue(FMemory);
      break;
    case cbMS: {
      FState = calcNew;
      const long double V = Value();
      if (FState != calcError) FMemory = V;
      break;
    }
    default: {
      FState = calcNew;
      const long double V = Value();
      if (FState == calcError) break;
      if (std::isfinite(FMemory + V))
        FMemory += V;
      else
        Error();
      break;
    }
  }
  UpdateMemoryButtons();
}

void TCustomdxCalculator::EnterOperator(TdxCalcButtonKind Kind) {
  if (Kind == cbPercent && IsArithmetic(FLastOperator)) {
    // The percentage becomes the right operand; the operation stays pending.
    long double X = Value();
    if (FState == calcError) return;
    X = FLastOperator == cbDiv || FLastOperator == cbMul ? X / 100 : FOperand * X / 100;
    SetValue(X);
    if (FState != calcError) FState = calcTyping;
    return;
  }
  if (FState == calcTyping) {
    FState = calcNew;
    const long double X = Value();
    if (FState == calcError) return;
    long double Result = X;
    switch (FLastOperator) {
      case cbDiv:
        if (X == 0) {
          Error();
          return;
        }
        Result = FOperand / X;
        break;
      case cbMul: Result = FOperand * X; break;
      case cbSub: Result = FOperand - X; break;
      case cbAdd: Result = FOperand + X; break;
      default: break;
    }
    SetValue(Result);
    if (FState == calcError) return;
  }
  const long double Shown = Value();
  if (FState == calcError) return;
  FLastOperator = Kind;
  FOperand = Shown;
  if ((Kind == cbPercent || Kind == cbEqual) && OnResult.Assigned()) OnResult(this);
}

void TCustomdxCalculator::EnterFunction(TdxCalcButtonKind Kind) {
  FState = IsArithmetic(FLastOperator) ? calcTyping : calcNew;
  const long double V = Value();
  if (FState == calcError) return;
  if ((Kind == cbSqrt && V < 0) || (Kind == cbRev && V == 0)) {
    Error();
    return;
  }
  SetValue(Kind == cbSqrt ? std::sqrt(V) : 1 / V);
}

// ---------------------------------------------------------------------------------
// Clipboard

void TCustomdxCalculator::CopyToClipboard() { Clipboard()->SetAsText(DisplayText()); }

void TCustomdxCalculator::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  AnsiString Text = Clipboard()->AsText();
  if (FormatSettings.ThousandSeparator)
    Text = StringReplaceAll(Text, AnsiString(1, FormatSettings.ThousandSeparator), "");
  long double V = 0;
  if (!TryStrToExtended(Trim(Text), V)) {
    Error();
    return;
  }
  FState = calcTyping;
  SetValue(V);
}

// ---------------------------------------------------------------------------------
// Keys

void TCustomdxCalculator::SetButtonDown(TdxCalcButtonKind Kind, bool Down) {
  if (Kind >= cbNone || FButtons[Kind].Down == Down) return;
  FButtons[Kind].Down = Down;
  InvalidateButton(Kind);
}

void TCustomdxCalculator::PressKeyButton(TdxCalcButtonKind Kind, bool Click) {
  ReleaseKeyButton();
  FKeyButton = Kind;
  SetButtonDown(Kind, true);
  if (Click) ButtonClick(Kind);
}

void TCustomdxCalculator::ReleaseKeyButton() {
  if (FKeyButton == cbNone) return;
  SetButtonDown(FKeyButton, false);
  FKeyButton = cbNone;
}

void TCustomdxCalculator::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key == 0) return;
  // Ctrl with Alt is AltGr, which types a character on many layouts: no copy or paste.
  const bool Alt = Shift.Contains(ssAlt);
  const bool Ctrl = Shift.Contains(ssCtrl) && !Alt;
  if ((Ctrl && Key == 'C') || (Ctrl && Key == VK_INSERT)) {
    CopyToClipboard();
    return;
  }
  if ((Ctrl && Key == 'V') || (Shift.Contains(ssShift) && !Alt && Key == VK_INSERT)) {
    PasteFromClipboard();
    return;
  }
  const TdxCalcButtonKind Kind = KeyButton(Key, Shift);
  // Backspace is clicked by its character.
  if (Kind != cbNone) PressKeyButton(Kind, Kind != cbBack);
}

void TCustomdxCalculator::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  const TdxCalcButtonKind Kind = CharButton(Key);
  if (Kind != cbNone) PressKeyButton(Kind, true);
}

void TCustomdxCalculator::KeyUp(Word& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  ReleaseKeyButton();
}

// ---------------------------------------------------------------------------------
// Mouse

void TCustomdxCalculator::SetHotButton(TdxCalcButtonKind Kind) {
  if (FHotButton == Kind) return;
  InvalidateButton(FHotButton);
  FHotButton = Kind;
  InvalidateButton(FHotButton);
}

void TCustomdxCalculator::StopTracking() {
  if (!FTracking) return;
  FTracking = false;
  SetButtonDown(FPressedButton, false);
  FPressedButton = cbNone;
  if (MouseCapture()) SetMouseCapture(false);
}

void TCustomdxCalculator::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (!FKeepFocus && CanFocus() && !Focused()) SetFocus();
    const TdxCalcButtonKind Kind = ButtonAt(X, Y);
    if (Kind != cbNone) {
      FPressedButton = Kind;
      FTracking = true;
      SetMouseCapture(true);
      SetButtonDown(Kind, true);
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomdxCalculator::MouseMove(TShiftState Shift, int X, int Y) {
  const TdxCalcButtonKind Kind = ButtonAt(X, Y);
  if (FTracking) SetButtonDown(FPressedButton, Kind == FPressedButton);
  if (FButtonStyle == bsExtraFlat && Enabled()) SetHotButton(Kind);
  inherited::MouseMove(Shift, X, Y);
}

void TCustomdxCalculator::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FTracking) {
    const TdxCalcButtonKind Kind = FPressedButton;
    const bool Over = FButtons[Kind].Down;
    StopTracking();
    if (Over) ButtonClick(Kind);
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------------
// Messages

void TCustomdxCalculator::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; break;
    case WM_SIZE:
      inherited::Dispatch(Message);
      Layout();
      break;
    case WM_CANCELMODE:
      StopTracking();
      inherited::Dispatch(Message);
      break;
    case WM_LBUTTONUP: {
      // The release lets the capture go before its own handling runs.
      TFlagScope Releasing(FReleasing);
      inherited::Dispatch(Message);
      break;
    }
    case WM_CAPTURECHANGED:
      inherited::Dispatch(Message);
      if (!FReleasing && reinterpret_cast<HWND>(Message.LParam) != FHandle) StopTracking();
      break;
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      InvalidateButton(cbEqual);
      break;
    case WM_KILLFOCUS:
      // A key held while the focus goes is let go.
      ReleaseKeyButton();
      InvalidateButton(cbEqual);
      inherited::Dispatch(Message);
      break;
    case CM_MOUSELEAVE:
      SetHotButton(cbNone);
      inherited::Dispatch(Message);
      break;
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxCalc() {
  TheErrorText = dxEditText(IDS_DXEDIT_CALCERROR);
  TheButtonBitmap = NewObject<TBitmap>();
  // The keypad starts with neither flag and as a tab stop: what differs is what a form
  // file has to say.
  TPublish<TCustomdxCalculator> P;
  P.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Prop("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default(false);
  P.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

void DonedxCalc() {
  UnRegisterPublished(&TCustomdxCalculator::StaticClass());
  FreeAndNil(TheButtonBitmap);
  TheErrorText.clear();
}
