#include "editors/dxExEdtr_Spin.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "classlib/FloatConv.h"
#include "classlib/Messages.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxCntner.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_Buttons.h"
#include "editors/dxExEdtr_Time.h"

TCLASS_IMPL(TdxSpinEditViewData)
TCLASS_IMPL(TdxInplaceSpinEdit)

namespace {

// 2^63, the first value a 64-bit integer cannot hold.
constexpr double Int64Limit = 9223372036854775808.0;

AnsiString IntegerText(double Value) {
  double Rounded = std::nearbyint(Value);
  if (Rounded >= Int64Limit) Rounded = std::nextafter(Int64Limit, 0.0);
  if (Rounded < -Int64Limit) Rounded = -Int64Limit;
  return IntToStr(static_cast<Int64>(Rounded));
}

}  // namespace

TdxInplaceSpinEdit::TdxInplaceSpinEdit(TComponent* AOwner) : TdxInplaceMaskEdit(AOwner) {
  TControlStyle Style = ControlStyle();
  Style.Exclude(csSetCaption);
  SetControlStyle(Style);
  SetText("0");
}

TdxInplaceSpinEdit::~TdxInplaceSpinEdit() { KillRepeat(); }

// ---------------------------------------------------------------------------------
// Class operations

TdxEditViewDataClass TdxInplaceSpinEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxSpinEditViewData::StaticClass();
}

int TdxInplaceSpinEdit::SpinButtonsWidth(TdxEditViewData* ViewData) {
  auto* Data = ObjectAs<TdxSpinEditViewData>(ViewData);
  if (!Data || !Data->ButtonsVisible) return 0;
  int Width = GetSystemMetrics(SM_CXVSCROLL);
  if (Width % 2 == 0) --Width;
  if (Width < 13) Width = 13;
  if (Data->ButtonStyle == btsFlat || Data->ButtonStyle == btsSimple) --Width;
  return Width;
}

void TdxInplaceSpinEdit::CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                                      TdxEditDrawInfo& DrawInfo) {
  inherited::CalcDrawInfo(Self, ViewData, AutoHeight, DrawInfo);
  DrawInfo.ContentRect.right -= SpinButtonsWidth(ViewData);
}

void TdxInplaceSpinEdit::GetSpinButtonRects(const TdxEditDrawInfo& DrawInfo, TdxEditViewData* ViewData, TRect& Up,
                                            TRect& Down) {
  TRect R = DrawInfo.BorderRect;
  InflateRect(&R, -DrawInfo.BorderSize, -DrawInfo.BorderSize);
  R.left = R.right - SpinButtonsWidth(ViewData);
  int Middle = (R.top + R.bottom) / 2;
  Up = TRect{R.left, R.top, R.right, Middle};
  Down = TRect{R.left, Middle, R.right, R.bottom};
}

void TdxInplaceSpinEdit::DrawBorder(MetaType::TSelf Self, HDC DC, const TdxEditDrawInfo& DrawInfo,
                                    TdxEditViewData* ViewData) {
  inherited::DrawBorder(Self, DC, DrawInfo, ViewData);
  auto* Data = ObjectAs<TdxSpinEditViewData>(ViewData);
  if (!Data || !Data->ButtonsVisible) return;
  TRect Rects[2];
  GetSpinButtonRects(DrawInfo, Data, Rects[0], Rects[1]);
  TdxEditButtonLook Look{Data->ButtonStyle, Data->Brush, Data->Enabled};
  for (TdxSpinButton Button : {sbUp, sbDown}) {
    TdxEditButtonDrawData Face;
    Face.Kind = bkDown;
    Face.SpinArrow = Button;
    Face.Width = Rects[Button - 1].right - Rects[Button - 1].left;
    bool Hot = Data->HotButton == Button;
    DrawEditButton(DC, Rects[Button - 1], Face, Look, Hot && Data->PressedButton == Button, Data->ButtonTransparent,
                   Hot);
  }
}

TdxEditViewData* TdxInplaceSpinEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  if (auto* Data = ObjectAs<TdxSpinEditViewData>(ViewData.get())) {
    Data->ButtonsVisible = IsHot() || Style()->ButtonTransparence() != ebtHideInactive;
    bool KeyHeld = FPressedButton != sbNone && !(HandleAllocated() && GetCapture() == Handle());
    Data->HotButton = KeyHeld ? FPressedButton : FHotButton;
    Data->PressedButton = FPressedButton;
  }
  return ViewData.release();
}

// ---------------------------------------------------------------------------------
// Values

bool TdxInplaceSpinEdit::ReadNumber(const AnsiString& Text, double& Value) const {
  if (FValueType == vtInt) {
    // 64-bit, so that a step past the largest 32-bit number keeps counting.
    Int64 Whole;
    if (!TryStrToInt64(Text, Whole)) return false;
    Value = static_cast<double>(Whole);
    return true;
  }
  if (Text.find(',') == AnsiString::npos && FormatSettings.DecimalSeparator != '.') {
    TValueScope<char> Point(FormatSettings.DecimalSeparator, '.');
    return TryStrToFloat(Text, Value);
  }
  return TryStrToFloat(Text, Value);
}

AnsiString TdxInplaceSpinEdit::NumberText(const AnsiString& Text) const {
  if (!IsMasked()) return Trim(Text);
  // A blank that is a digit ("0" in the time editor's masks) reads as the digit shown.
  AnsiString Figures;
  for (char Ch : Text)
    if (!Mask().IsBlank(Ch) || (Ch >= '0' && Ch <= '9')) Figures += Ch;
  return Figures;
}

double TdxInplaceSpinEdit::GetValue() {
  const AnsiString Text = NumberText(GetText());
  double Empty = FValueType == vtInt ? std::nearbyint(FMinValue) : FMinValue;
  double Value;
  return !Text.empty() && ReadNumber(Text, Value) ? Value : Empty;
}

bool TdxInplaceSpinEdit::IsValueText(const AnsiString& Text) {
  const AnsiString Figures = NumberText(Text);
  double Value;
  return Figures.empty() || ReadNumber(Figures, Value);
}

bool TdxInplaceSpinEdit::IsValidChar(char Key) {
  bool Allowed = Key == '+' || Key == '-' || (Key >= '0' && Key <= '9') ||
                 (FValueType == vtFloat && Key == FormatSettings.DecimalSeparator);
  bool Control = static_cast<unsigned char>(Key) < 32;
  if (!Allowed && !Control) return false;
  if (!FEditorEnabled) return Control && Key != '\b';
  // A sign, a digit or a separator is judged by the text it leaves where it lands: a
  // sign after a digit, or a digit before a sign, leaves no number, which leaving would
  // turn into the lower limit.
  AnsiString Typed;
  return Control || !TypedText(Key, Typed) || IsNumberTyped(NumberText(Typed));
}

bool TdxInplaceSpinEdit::IsNumberTyped(const AnsiString& Text) const {
  // A number is begun when one more digit makes it one: a sign, a separator, a sign
  // after the exponent's letter, each at its end.
  double Value;
  return Text.empty() || ReadNumber(Text, Value) || ReadNumber(Text + '0', Value);
}

double TdxInplaceSpinEdit::CheckValue(double Value) {
  if (FMinValue != FMaxValue) {
    if (Value < FMinValue) return FMinValue;
    if (Value > FMaxValue) return FMaxValue;
  }
  return Value;
}

// The window forgets that its text was edited when a text is set: a number the user
// typed and this writes in its own form stays edited, so that the host stores it.
void TdxInplaceSpinEdit::SetValue(double Value) {
  Value = CheckValue(Value);
  AnsiString Text = FValueType == vtFloat ? FloatToStrF(Value, ffGeneral, 15, 0) : IntegerText(Value);
  if (Text == GetText()) return;
  TdxKeptModified Kept(*this);
  SetText(Text);
}

void TdxInplaceSpinEdit::SetMaxValue(double Value) {
  if (Value < FMinValue) Value = FMinValue;
  if (Value == FMaxValue) return;
  FMaxValue = Value;
  SetValue(GetValue());
}

void TdxInplaceSpinEdit::SetMinValue(double Value) {
  if (Value > FMaxValue) Value = FMaxValue;
  if (Value == FMinValue) return;
  FMinValue = Value;
  SetValue(GetValue());
}

void TdxInplaceSpinEdit::SetMinMaxLimits(double Min, double Max) {
  if (Max < Min) Min = Max;
  FMinValue = Min;
  FMaxValue = Max;
  SetValue(GetValue());
}

void TdxInplaceSpinEdit::SetMinMaxValues(double Min, double Max) {
  StoreProperty(esvMaxValue);
  StoreProperty(esvMinValue);
  SetMinMaxLimits(Min, Max);
}

void TdxInplaceSpinEdit::SetValueTypeValue(TdxValueType Value) {
  if (FValueType == Value) return;
  // The number as the old type reads it, written as the new one.
  double Current = GetValue();
  FValueType = Value;
  if (!GetText().empty()) SetValue(Current);
}

void TdxInplaceSpinEdit::SetValueType(TdxValueType Value) {
  StoreProperty(esvValueType);
  SetValueTypeValue(Value);
}

void TdxInplaceSpinEdit::RefreshDefaults() {
  inherited::RefreshDefaults();
  TdxEditStoredValues Kept = StoredValues();
  if (!Kept.Contains(esvValueType)) SetValueTypeValue(GetDefaultValueType());
  bool KeepMax = Kept.Contains(esvMaxValue), KeepMin = Kept.Contains(esvMinValue);
  if (!KeepMax && !KeepMin) {
    SetMinMaxLimits(GetDefaultMinValue(), GetDefaultMaxValue());
  } else {
    if (!KeepMax) SetMaxValue(GetDefaultMaxValue());
    if (!KeepMin) SetMinValue(GetDefaultMinValue());
  }
}

void TdxInplaceSpinEdit::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetMinMaxLimits(GetDefaultMinValue(), GetDefaultMaxValue());
  SetValueTypeValue(GetDefaultValueType());
}

void TdxInplaceSpinEdit::Validate() {
  inherited::Validate();
  if (!GetModified()) return;
  // A text left with digits that reads as no number (an exponent begun, a sign after a
  // digit) is refused where the user sees it: it would read as the lower limit, a
  // value nobody gave. A sign or a separator alone is a number not begun: the empty
  // text's value.
  if (!IsValueText(GetText()) && Trim(GetText()).find_first_of("0123456789") != AnsiString::npos)
    RefuseInput(SdxInvalidInput);
  SetValue(GetValue());
}

// ---------------------------------------------------------------------------------
// Stepping

void TdxInplaceSpinEdit::Step() {
  if (!CanEditLinked()) {
    MessageBeepProc(0);
    return;
  }
  if (!CanModify()) return;
  if (FPressedButton == sbUp)
    SetValue(GetValue() + GetIncrement());
  else if (FPressedButton == sbDown)
    SetValue(GetValue() - GetIncrement());
  SetModified(true);
}

void TdxInplaceSpinEdit::SetHotSpinButton(TdxSpinButton Button) {
  if (FHotButton == Button) return;
  FHotButton = Button;
  if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 0, 0);
}

void TdxInplaceSpinEdit::StopSpinning() {
  // The repeat lives only as long as the press.
  KillRepeat();
  if (FPressedButton == sbNone) return;
  FPressedButton = sbNone;
  FHotButton = sbNone;
  if (!HandleAllocated()) return;
  if (GetCapture() == Handle()) ReleaseCapture();
  SendMessageA(Handle(), WM_NCPAINT, 0, 0);
}

void TdxInplaceSpinEdit::StartRepeat(UINT Delay) {
  if (HandleAllocated()) FRepeatTimer = SetTimer(Handle(), dxSpinRepeatTimerId, Delay, nullptr);
}

void TdxInplaceSpinEdit::KillRepeat() {
  if (FRepeatTimer == 0) return;
  if (HandleAllocated()) KillTimer(Handle(), dxSpinRepeatTimerId);
  FRepeatTimer = 0;
}

void TdxInplaceSpinEdit::DestroyWnd() {
  KillRepeat();
  inherited::DestroyWnd();
}

void TdxInplaceSpinEdit::SetMouseInside(bool Value) {
  inherited::SetMouseInside(Value);
  if (!Value) SetHotSpinButton(sbNone);
}

void TdxInplaceSpinEdit::HostMouseMove(int X, int Y) {
  inherited::HostMouseMove(X, Y);
  TCustomdxContainer* Host = GetContainer();
  if (!Host || !HandleAllocated()) return;
  TPoint P = Host->ClientToScreen(TPoint{X, Y});
  ReleaseCapture();
  LPARAM Where = MAKELPARAM(P.x, P.y);
  LRESULT Code = SendMessageA(Handle(), WM_NCHITTEST, 0, Where);
  SendMessageA(Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(Code), Where);
}

// ---------------------------------------------------------------------------------
// Keys

void TdxInplaceSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!FEditorEnabled && IsEditingKey(Key, Shift)) Key = 0;
  if (Key != VK_UP && Key != VK_DOWN) {
    inherited::KeyDown(Key, Shift);
    return;
  }
  if (FUseCtrlIncrement && !Shift.Contains(ssCtrl)) {
    inherited::KeyDown(Key, Shift);
  } else {
    // The capture goes first: losing it lets go of any button.
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    FPressedButton = FHotButton = Key == VK_UP ? sbUp : sbDown;
    if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 0, 0);
    Step();
  }
  // The window's own handling never moves the caret by a line.
  Key = 0;
}

void TdxInplaceSpinEdit::KeyPress(char& Key) {
  if (Key == ',' || Key == '.') Key = FormatSettings.DecimalSeparator;
  if (static_cast<unsigned char>(Key) >= 32 || Key == '\b') {
    if (!IsValidChar(Key)) {
      Key = '\0';
      MessageBeepProc(0);
      return;
    }
  }
  inherited::KeyPress(Key);
}

void TdxInplaceSpinEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_UP || Key == VK_DOWN) StopSpinning();
  inherited::KeyUp(Key, Shift);
}

// ---------------------------------------------------------------------------------
// Messages

void TdxInplaceSpinEdit::WMNCHitTest(TMessage& Message) {
  inherited::Dispatch(Message);
  if (ComponentState().Contains(csDesigning) || !HandleAllocated()) return;
  TOwned<TdxEditViewData> ViewData(CreateViewData(false));
  TdxEditDrawInfo DrawInfo;
  EditClass()->CalcDrawInfo(ViewData.get(), false, DrawInfo);
  TRect Up, Down;
  GetSpinButtonRects(DrawInfo, ViewData.get(), Up, Down);
  TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  WindowPointFromScreen(Handle(), P);
  POINT Point{P.x, P.y};
  TRect Area{Up.left, Up.top, Down.right, Down.bottom};
  if (Area.right <= Area.left || !PtInRect(&Area, Point)) {
    SetHotSpinButton(sbNone);
    return;
  }
  HWND Capture = GetCapture();
  if (Capture && FPressedButton == sbNone) return;
  TdxSpinButton Under = PtInRect(&Up, Point) ? sbUp : sbDown;
  SetHotSpinButton(FPressedButton != sbNone && FPressedButton != Under ? sbNone : Under);
  Message.Result = HTBORDER;
}

void TdxInplaceSpinEdit::WMNCLButtonDown(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FHotButton == sbNone || !HandleAllocated()) return;
  FPressedButton = FHotButton;
  SetCapture(Handle());
  SendMessageA(Handle(), WM_NCPAINT, 0, 0);
  Step();
  // A timer still armed by the last press would swallow this one's repeat.
  KillRepeat();
  StartRepeat(dxSpinFirstRepeat);
  if (GetFocus() != Handle()) ::SetFocus(Handle());
}

void TdxInplaceSpinEdit::WMTimer(TMessage& Message) {
  if (Message.WParam != dxSpinRepeatTimerId) {
    inherited::Dispatch(Message);
    return;
  }
  KillRepeat();
  if (FPressedButton == sbNone || !HandleAllocated() || GetCapture() != Handle()) return;
  // The cursor off the button pauses the steps, not the timer.
  if (FPressedButton == FHotButton) Step();
  StartRepeat(dxSpinNextRepeat);
}

void TdxInplaceSpinEdit::WMMouseWheel(TMessage& Message) {
  int Delta = static_cast<short>(HIWORD(Message.WParam));
  TValueScope<TdxSpinButton> Pressed(FPressedButton, Delta < 1 ? sbDown : sbUp);
  Step();
  Message.Result = 1;
}

// Typing takes only the characters of a value; a paste can bring any text, which would
// be stored as the lower limit (midnight in the time editor). A paste that leaves a text
// that is no value is undone whole, with a beep and the whole text selected, as the
// currency editor undoes one.
void TdxInplaceSpinEdit::Paste(TMessage& Message) {
  JudgedPaste([&] { inherited::Dispatch(Message); },
              [&](const AnsiString& Before, const AnsiString& After) {
                return After == Before || IsValueText(After);
              });
}

void TdxInplaceSpinEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      if (FEditorEnabled) inherited::Dispatch(Message);
      break;
    case WM_PASTE:
      if (FEditorEnabled) Paste(Message);
      break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); break;
    case WM_NCLBUTTONDBLCLK:
      inherited::Dispatch(Message);
      StopSpinning();
      if (HandleAllocated()) {
        SendMessageA(Handle(), WM_NCLBUTTONDOWN, Message.WParam, Message.LParam);
        SendMessageA(Handle(), WM_NCLBUTTONUP, Message.WParam, Message.LParam);
      }
      break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
      StopSpinning();
      inherited::Dispatch(Message);
      break;
    case WM_CAPTURECHANGED:
      inherited::Dispatch(Message);
      StopSpinning();
      break;
    case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      if (GetKeyStateProc(VK_UP) < 0 || GetKeyStateProc(VK_DOWN) < 0) StopSpinning();
      break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxSpinEdit() {
  TPublish<TdxInplaceSpinEdit> P;
  P.Prop("EditorEnabled", &TdxInplaceSpinEdit::EditorEnabled, &TdxInplaceSpinEdit::SetEditorEnabled).Default(true);
  P.Prop("Increment", &TdxInplaceSpinEdit::Increment, &TdxInplaceSpinEdit::SetIncrement).Default(1.0);
  P.Prop("UseCtrlIncrement", &TdxInplaceSpinEdit::UseCtrlIncrement, &TdxInplaceSpinEdit::SetUseCtrlIncrement)
      .Default(false);
  // Written when kept explicitly; reading it keeps it.
  P.Prop("ValueType", &TdxInplaceSpinEdit::ValueType, &TdxInplaceSpinEdit::SetValueType)
      .Stored(dxValueKept<esvValueType>)
      .NoDefault();
  dxPublishLimits<TdxInplaceSpinEdit>(P);
  TPublish<TdxInplaceTimeEdit> T;
  T.Prop("TimeEditFormat", &TdxInplaceTimeEdit::TimeEditFormat, &TdxInplaceTimeEdit::SetTimeEditFormat)
      .Default(tfHourMinSec);
  // The format sets the mask: a kept mask is read after it.
  dxPublishEditMask(T).Moved();
}

void DonedxSpinEdit() {
  UnRegisterPublished(&TdxInplaceTimeEdit::StaticClass());
  UnRegisterPublished(&TdxInplaceSpinEdit::StaticClass());
}
