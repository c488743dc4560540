#include "classlib/Spin.h"

#include <commctrl.h>

#include <climits>

#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"

TCLASS_IMPL(TSpinEdit)

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  FText = "0";
}

void TSpinEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The edit must not paint over the arrows inside it.
  Params.Style |= WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWnd() {
  inherited::CreateWnd();
  FUpDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, FHandle, nullptr,
                            HInstance, nullptr);
  Win32Check(FUpDown != nullptr);
  // Up means more: the arrows report their steps, the position itself is not used.
  SendMessageA(FUpDown, UDM_SETRANGE32, 0, 100);
  SendMessageA(FUpDown, UDM_SETPOS32, 0, 50);
  PlaceUpDown();
}

void TSpinEdit::DestroyWnd() {
  // The arrows go with the edit's window.
  FUpDown = nullptr;
  inherited::DestroyWnd();
}

void TSpinEdit::PlaceUpDown() {
  if (!FUpDown) return;
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  int ArrowWidth = GetSystemMetrics(SM_CXVSCROLL);
  MoveWindow(FUpDown, Client.right - ArrowWidth, 0, ArrowWidth, Client.bottom, TRUE);
  SendMessageA(FHandle, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(0, ArrowWidth));
}

void TSpinEdit::SetMinValue(int Value) {
  FMinValue = Value;
  if (!ComponentState().Contains(csLoading)) SetValue(this->Value());
}

void TSpinEdit::SetMaxValue(int Value) {
  FMaxValue = Value;
  if (!ComponentState().Contains(csLoading)) SetValue(this->Value());
}

int TSpinEdit::CheckValue(int NewValue) const {
  if (FMaxValue != FMinValue) {
    if (NewValue < FMinValue) return FMinValue;
    if (NewValue > FMaxValue) return FMaxValue;
  }
  return NewValue;
}

namespace {

// Whether Text is a sign and digits only: a number, however long.
bool IsWholeNumber(const AnsiString& Text) {
  std::size_t I = !Text.empty() && (Text[0] == '-' || Text[0] == '+') ? 1 : 0;
  if (I == Text.size()) return false;
  for (; I < Text.size(); ++I)
    if (Text[I] < '0' || Text[I] > '9') return false;
  return true;
}

}  // namespace

int TSpinEdit::Value() const {
  const AnsiString Digits = Trim(Text());
  int Number = 0;
  if (!TryStrToInt(Digits, Number)) {
    // A number too long for an integer lies past the end of the range on its side.
    if (IsWholeNumber(Digits))
      Number = Digits[0] == '-' ? INT_MIN : INT_MAX;
    else
      Number = FMinValue;
  }
  return CheckValue(Number);
}

void TSpinEdit::SetValue(int NewValue) { SetText(IntToStr(CheckValue(NewValue))); }

void TSpinEdit::SetEditorEnabled(bool Value) { FEditorEnabled = Value; }

void TSpinEdit::UpClick() {
  if (!ReadOnly()) SetValue(Value() + FIncrement);
}

void TSpinEdit::DownClick() {
  if (!ReadOnly()) SetValue(Value() - FIncrement);
}

void TSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP) {
    UpClick();
    Key = 0;
  } else if (Key == VK_DOWN) {
    DownClick();
    Key = 0;
  }
  inherited::KeyDown(Key, Shift);
}

void TSpinEdit::KeyPress(char& Key) {
  bool Valid = (Key >= '0' && Key <= '9') || Key == '-' || Key == '+' ||
               static_cast<unsigned char>(Key) < 0x20;
  if (!Valid || (!FEditorEnabled && static_cast<unsigned char>(Key) >= 0x20)) Key = '\0';
  if (Key != '\0') inherited::KeyPress(Key);
}

void TSpinEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NOTIFY: {
      auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
      if (Header && FUpDown && Header->hwndFrom == FUpDown && Header->code == static_cast<UINT>(UDN_DELTAPOS)) {
        auto* Change = reinterpret_cast<NMUPDOWN*>(Message.LParam);
        if (Change->iDelta > 0)
          UpClick();
        else if (Change->iDelta < 0)
          DownClick();
        Message.Result = 1;  // the arrows keep their position
        return;
      }
      inherited::Dispatch(Message);
      break;
    }
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(Message.LParam) == FUpDown && FUpDown) return;
      inherited::Dispatch(Message);
      break;
    case WM_SIZE:
      inherited::Dispatch(Message);
      PlaceUpDown();
      break;
    case CM_EXIT:
      if (CheckValue(Value()) != Value() || Text() != IntToStr(Value())) SetValue(Value());
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void InitSpin() {
  INITCOMMONCONTROLSEX Controls{sizeof(Controls), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&Controls);
  RegisterClass(&TSpinEdit::StaticClass());
  TPublish<TSpinEdit> P;
  P.Prop("Text", &TSpinEdit::Text, &TSpinEdit::SetText).Stored(false);
  P.Prop("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled).Default(true);
  P.Prop("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement).Default(1);
  P.Prop("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue);
  P.Prop("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue);
  P.Prop("Value", &TSpinEdit::Value, &TSpinEdit::SetValue);
}

void DoneSpin() {
  UnRegisterPublished(&TSpinEdit::StaticClass());
  UnRegisterClass(&TSpinEdit::StaticClass());
}
