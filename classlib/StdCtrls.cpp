#include "classlib/StdCtrls.h"

#include "classlib/Forms.h"
#include "classlib/ScopeExit.h"

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
  TSavedTextState Saved(DC);
  Saved.SelectFont(Font()->Handle());
  SetBkMode(DC, TRANSPARENT);
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
  TRect R = ClientRect();
  {
    TScreenDC Screen;
    Canvas()->SetHandle(Screen.DC());
    auto Release = ScopeExit([&] { Canvas()->SetHandle(nullptr); });
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  }
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

// ---------------------------------------------------------------------------------
// TCustomCheckBox

TCLASS_IMPL(TCustomCheckBox)
TCLASS_IMPL(TCheckBox)
TCLASS_IMPL(TRadioButton)

namespace {
constexpr LRESULT CheckOf[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
}  // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetControlStyle({csSetCaption, csDoubleClicks});
  FWidth = 97;
  FHeight = 17;
  SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomCheckBox::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, static_cast<WPARAM>(CheckOf[FState]), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, static_cast<WPARAM>(CheckOf[FState]), 0);
  if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
      } else {
        inherited::Dispatch(Message);
      }
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetControlStyle({csSetCaption, csDoubleClicks});
  FWidth = 113;
  FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TRadioButton::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Value) return;
  // The other radio buttons of the parent are unchecked (without clicks).
  if (TWinControl* Owner = Parent())
    for (int I = 0; I < Owner->ControlCount(); ++I)
      if (auto* Sibling = ObjectAs<TRadioButton>(Owner->Controls(I)); Sibling && Sibling != this)
        Sibling->SetChecked(false);
  if (!ClicksDisabled()) Click();
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case BN_CLICKED: SetChecked(true); break;
        case BN_DOUBLECLICKED: DblClick(); break;
      }
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) SetChecked(true);
        Message.Result = 1;
      } else {
        inherited::Dispatch(Message);
      }
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// The unit's start and end: classes and published properties

void InitStdCtrls() {
  RegisterClass(&TButton::StaticClass());
  RegisterClass(&TLabel::StaticClass());
  RegisterClass(&TCheckBox::StaticClass());
  RegisterClass(&TRadioButton::StaticClass());
  RegisterClass(&TEdit::StaticClass());
  RegisterClass(&TComboBox::StaticClass());
  RegisterClass(&TListBox::StaticClass());
  {
    TPublish<TButton> P;
    P.Prop("Cancel", &TButton::Cancel, &TButton::SetCancel);
    P.Prop("Caption", &TButton::Caption, &TButton::SetCaption);
    P.Prop("Default", &TButton::Default, &TButton::SetDefault);
    P.Prop("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
    P.Prop("TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(true);
  }
  {
    TPublish<TCustomLabel> P;
    P.Prop("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment);
    P.Prop("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
    P.Prop("Caption", &TCustomLabel::Caption, &TCustomLabel::SetCaption);
    P.Prop("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
    P.Prop("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout);
    P.Prop("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
    P.Prop("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent);
    P.Prop("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap);
  }
  {
    TPublish<TCustomCheckBox> P;
    P.Prop("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment).Default(taRightJustify);
    P.Prop("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed);
    P.Prop("Caption", &TCustomCheckBox::Caption, &TCustomCheckBox::SetCaption);
    P.Prop("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState);
    P.Prop("TabStop", &TCustomCheckBox::TabStop, &TCustomCheckBox::SetTabStop).Default(true);
  }
  {
    TPublish<TRadioButton> P;
    P.Prop("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
    P.Prop("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption);
    P.Prop("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
  }
  {
    TPublish<TCustomEdit> P;
    P.Prop("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    P.Prop("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize).Default(true);
    P.Prop("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
    P.Prop("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase);
    P.Prop("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true);
    P.Prop("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
    P.Prop("ParentColor", &TCustomEdit::ParentColor, &TCustomEdit::SetParentColor).Default(false);
    P.Prop("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar);
    P.Prop("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
    P.Prop("TabStop", &TCustomEdit::TabStop, &TCustomEdit::SetTabStop).Default(true);
    P.Prop("Text", &TCustomEdit::Text, &TCustomEdit::SetText);
    P.Prop("OnChange", &TCustomEdit::OnChange);
  }
  {
    TPublish<TCustomComboBox> P;
    P.Prop("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle);
    P.Prop("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
    P.Prop("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength);
    P.Prop("ParentColor", &TCustomComboBox::ParentColor, &TCustomComboBox::SetParentColor).Default(false);
    P.Prop("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted);
    P.Prop("TabStop", &TCustomComboBox::TabStop, &TCustomComboBox::SetTabStop).Default(true);
    // The items before the selection, the selection before the text.
    P.Prop("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
    P.Prop("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
    // A drop-down list's text is its selected item.
    P.Prop("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText)
        .Stored([](TCustomComboBox* Combo) { return Combo->Style() != csDropDownList; });
    P.Prop("OnChange", &TCustomComboBox::OnChange);
    P.Prop("OnCloseUp", &TCustomComboBox::OnCloseUp);
    P.Prop("OnDropDown", &TCustomComboBox::OnDropDown);
  }
  {
    TPublish<TCustomListBox> P;
    P.Prop("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle);
    P.Prop("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight);
    P.Prop("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Default(16);
    P.Prop("ParentColor", &TCustomListBox::ParentColor, &TCustomListBox::SetParentColor).Default(false);
    P.Prop("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted);
    P.Prop("TabStop", &TCustomListBox::TabStop, &TCustomListBox::SetTabStop).Default(true);
    P.Prop("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
    P.Prop("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
    P.Prop("OnDrawItem", &TCustomListBox::OnDrawItem);
    P.Prop("OnMeasureItem", &TCustomListBox::OnMeasureItem);
  }
}

void DoneStdCtrls() {
  for (TClass Class : {&TCustomListBox::StaticClass(), &TCustomComboBox::StaticClass(),
                       &TCustomEdit::StaticClass(), &TRadioButton::StaticClass(),
                       &TCustomCheckBox::StaticClass(), &TCustomLabel::StaticClass(),
                       &TButton::StaticClass()})
    UnRegisterPublished(Class);
  for (TClass Class : {&TListBox::StaticClass(), &TComboBox::StaticClass(), &TEdit::StaticClass(),
                       &TRadioButton::StaticClass(), &TCheckBox::StaticClass(), &TLabel::StaticClass(),
                       &TButton::StaticClass()})
    UnRegisterClass(Class);
}
