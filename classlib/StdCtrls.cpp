#include "classlib/StdCtrls.h"

#include "classlib/Forms.h"

TCLASS_IMPL(TButtonControl)
TCLASS_IMPL(TButton)
TCLASS_IMPL(TCustomLabel)
TCLASS_IMPL(TLabel)

// ---------------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TButtonControl::Dispatch(TMessage& Message) {
  // A second press in quick succession is a press too (the system button does not
  // take double clicks as presses by itself).
  if (Message.Msg == WM_LBUTTONDBLCLK && HandleAllocated()) {
    CallWindowProcA(DefWndProc(), FHandle, WM_LBUTTONDOWN, Message.WParam, Message.LParam);
    return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetControlStyle({csSetCaption, csDoubleClicks});
  FWidth = 75;
  FHeight = 25;
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TButton::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault;
  SetButtonStyle(FActive);
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated()) return;
  LONG Style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongA(FHandle, GWL_STYLE) & 0x0F) != Style)
    SendMessageA(FHandle, BM_SETSTYLE, static_cast<WPARAM>(Style), TRUE);
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  if (!HandleAllocated()) return;
  // Every button of the form works out again which one takes Enter.
  if (TCustomForm* Form = GetParentForm(this))
    Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->ActiveControl()));
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  inherited::Click();
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED && !ClicksDisabled()) Click();
      break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
      } else {
        inherited::Dispatch(Message);
      }
      break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TButton::CMDialogKey(TMessage& Message) {
  bool Takes = (Message.WParam == VK_RETURN && FActive) || (Message.WParam == VK_ESCAPE && FCancel);
  if (Takes && KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TButton::CMFocusChanged(TMessage& Message) {
  auto* Sender = reinterpret_cast<TWinControl*>(Message.LParam);
  if (Sender && Sender->Is<TButton>())
    FActive = Sender == this;
  else
    FActive = FDefault;
  SetButtonStyle(FActive);
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable, csOpaque});
  FWidth = 65;
  FHeight = 17;
  TControl::SetAutoSize(true);
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value)
    SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
  else
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  TControl::SetAutoSize(Value);
  Invalidate();
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustSize();
}

void TCustomLabel::DoDrawText(TRect& TextRect, UINT Flags) {
  AnsiString Text = Caption();
  bool Measuring = (Flags & DT_CALCRECT) != 0;
  // An empty caption still measures one line high.
  if (Measuring && (Text.empty() || (FShowAccelChar && Text == "&"))) Text += ' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  Flags = static_cast<UINT>(DrawTextBiDiModeFlags(static_cast<int>(Flags)));
  HDC DC = Canvas()->Handle();
  HGDIOBJ OldFont = SelectObject(DC, Font()->Handle());
  int OldMode = SetBkMode(DC, TRANSPARENT);
  COLORREF OldColor = GetTextColor(DC);
  auto Draw = [&](const TRect& R, TColor Color) {
    TRect Copy = R;
    SetTextColor(DC, ColorToRGB(Color));
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &Copy, Flags);
    if (Measuring) TextRect = Copy;
  };
  if (!Enabled() && !Measuring) {
    // Disabled: embossed, a highlight one pixel down-right under the shadow.
    Draw(Rect(TextRect.left + 1, TextRect.top + 1, TextRect.right + 1, TextRect.bottom + 1),
         clBtnHighlight);
    Draw(TextRect, clBtnShadow);
  } else {
    Draw(TextRect, Font()->Color());
  }
  SetTextColor(DC, OldColor);
  SetBkMode(DC, OldMode);
  SelectObject(DC, OldFont);
}

void TCustomLabel::Paint() {
  TRect R = ClientRect();
  if (!Transparent()) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(R);
  }
  static const UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT Flags = DT_EXPANDTABS | Alignments[FAlignment] | (FWordWrap ? DT_WORDBREAK : 0);
  if (FLayout != tlTop) {
    TRect Measured = R;
    DoDrawText(Measured, Flags | DT_CALCRECT);
    int TextHeight = Measured.bottom - Measured.top;
    int Offset = FLayout == tlBottom ? R.bottom - R.top - TextHeight : (R.bottom - R.top - TextHeight) / 2;
    R.top += Offset;
  }
  DoDrawText(R, Flags);
}

void TCustomLabel::AdjustSize() {
  if (!AutoSize() || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading))
    return;
  HDC ScreenDC = GetDC(nullptr);
  TRect R = ClientRect();
  Canvas()->SetHandle(ScreenDC);
  try {
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  } catch (...) {
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, ScreenDC);
    throw;
  }
  Canvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, ScreenDC);
  int X = Left();
  if (FAlignment == taRightJustify) X += Width() - R.right;
  SetBounds(X, Top(), R.right, R.bottom);
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      AdjustSize();
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(Message.WParam, Caption()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}
