// The kit's check box and radio button: state, keyboard and mouse, the classic glyph
// and the caption.
#include "skin/KsCheckBoxs.h"

#include "classlib/TypInfo.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TKsCustomCheckBox)
TCLASS_IMPL(TKsCustomRadioButton)

namespace {

bool IsLoading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }

// 0 <= X <= Width and 0 <= Y <= Height: a release on the right or bottom edge counts.
bool InsideWithEdges(const TControl* C, int X, int Y) {
  return X >= 0 && X <= C->Width() && Y >= 0 && Y <= C->Height();
}

void CaptureMouse(TWinControl* C) {
  if (C->HandleAllocated()) SetCapture(C->Handle());
}

void ReleaseMouse(TWinControl* C) {
  if (C->HandleAllocated() && GetCapture() == C->Handle()) ReleaseCapture();
}

void TakeFocus(TWinControl* C) {
  if (C->CanFocus()) C->SetFocus();
}

}  // namespace

TRect CenterCheckVertically(TPoint Size, const TRect& Bounds) {
  const int Top = Bounds.top + (RectHeight(Bounds) - Size.y) / 2;
  return TRect{Bounds.left, Top, Bounds.left + Size.x, Top + Size.y};
}

void DrawKsCheckCaption(TKsCustomControl* Control, const TRect& Bounds, int ExtraRight) {
  TKsBitmap* Buffer = Control->Buffer();
  Buffer->SetFont(Control->Font());
  const AnsiString Text = Control->Caption();
  const TPoint Size{Buffer->TextWidth(Text), Buffer->TextHeight(Text)};
  TRect R = CenterCheckVertically(Size, Bounds);
  const UINT Flags = static_cast<UINT>(Control->DrawTextBiDiModeFlags(0));
  if (!Control->Enabled()) {
    Buffer->Font()->SetColor(clBtnHighlight);
    TRect Embossed = R;
    OffsetRect(&Embossed, 1, 1);
    Buffer->DrawText(Text, Embossed, Flags);
    Buffer->Font()->SetColor(clBtnShadow);
  }
  Buffer->DrawText(Text, R, Flags);
  if (!Control->HasFocus()) return;
  R = TRect{R.left - 1, R.top - 2, R.right + 1 + ExtraRight, R.bottom + 2};
  RECT Focus = R;
  ::DrawFocusRect(Buffer->DC(), &Focus);
}

// ---------------------------------------------------------------------------------
// TKsCustomCheckBox

TKsCustomCheckBox::TKsCustomCheckBox(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csSetCaption} - TControlStyle{csClickEvents});
  SetBounds(Left(), Top(), 98, 20);
  SetTransparent(true);
  SetTabStop(true);
}

void TKsCustomCheckBox::SetState(TCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  Click();
  Invalidate();
}

void TKsCustomCheckBox::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TKsCustomCheckBox::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TKsCustomCheckBox::Click() { DoClick(); }

void TKsCustomCheckBox::DoClick() {
  if (!IsLoading(this)) inherited::Click();
}

void TKsCustomCheckBox::Toggle() { SetState(FState == cbChecked ? cbUnchecked : cbChecked); }

TPoint TKsCustomCheckBox::GetCheckSize() { return TPoint{13, 13}; }

void TKsCustomCheckBox::Loaded() {
  inherited::Loaded();
  Invalidate();
}

TRect TKsCustomCheckBox::CheckRect() {
  const TPoint Size = GetCheckSize();
  const TRect Bounds = FAlignment == taRightJustify
                           ? TRect{Width() - Size.x, 0, Width(), Height()}
                           : TRect{0, 0, Width(), Height()};
  return CenterCheckVertically(Size, Bounds);
}

void TKsCustomCheckBox::PaintBuffer() {
  inherited::PaintBuffer();
  DrawCheck();
  DrawCaption();
}

void TKsCustomCheckBox::DrawCheck() {
  RECT R = CheckRect();
  UINT Kind = DFCS_BUTTONCHECK;
  if (FState == cbChecked) Kind |= DFCS_CHECKED;
  if (FState == cbGrayed) Kind = DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!Enabled()) Kind |= DFCS_INACTIVE;
  DrawFrameControl(Buffer()->DC(), &R, DFC_BUTTON, Kind);
  GdiFlush();
}

void TKsCustomCheckBox::DrawCaption() {
  const int Left = FAlignment == taRightJustify ? 2 : GetCheckSize().x + FSpacing;
  DrawKsCheckCaption(this, TRect{Left, 0, Width(), Height()}, 0);
}

void TKsCustomCheckBox::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != VK_SPACE) return;
  FPressed = true;
  Invalidate();
}

void TKsCustomCheckBox::KeyUp(Word& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (Key != VK_SPACE) return;
  SetChecked(!Checked());
  FPressed = false;
  Invalidate();
}

void TKsCustomCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FMouseTracking = true;
  TakeFocus(this);
  CaptureMouse(this);
  FPressed = true;
  Invalidate();
}

void TKsCustomCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FPressed = false;
  Invalidate();
  ReleaseMouse(this);
  if (FMouseTracking && InsideWithEdges(this, X, Y)) SetChecked(!Checked());
  FMouseTracking = false;
  inherited::MouseUp(Button, Shift, X, Y);
}

void TKsCustomCheckBox::MouseEnter() {
  inherited::MouseEnter();
  Invalidate();
}

void TKsCustomCheckBox::MouseLeave() {
  inherited::MouseLeave();
  Invalidate();
}

void TKsCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    SetFocus();
    if (HasFocus()) Toggle();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TKsCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_TEXTCHANGED:
    case WM_SYSCOLORCHANGE:
      inherited::Dispatch(Message);
      Invalidate();
      return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TKsCustomRadioButton

TKsCustomRadioButton::TKsCustomRadioButton(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csSetCaption} - TControlStyle{csClickEvents});
  SetBounds(Left(), Top(), 98, 20);
  SetTransparent(true);
  SetTabStop(false);
}

void TKsCustomRadioButton::SetChecked(bool Value) {
  if (Value == FChecked) return;
  SetTabStop(Value && FItemTabStop);
  FChecked = Value;
  if (Value && !IsLoading(this)) {
    ClearSiblings();
    Click();
  }
  Invalidate();
}

void TKsCustomRadioButton::SetItemTabStop(bool Value) {
  if (Value == FItemTabStop) return;
  FItemTabStop = Value;
  if (!Value)
    SetTabStop(false);
  else if (FChecked)
    SetTabStop(true);
}

void TKsCustomRadioButton::ClearSiblings() {
  TWinControl* TheParent = Parent();
  if (!TheParent) return;
  for (int I = 0; I < TheParent->ControlCount(); ++I) {
    auto* Other = dynamic_cast<TKsCustomRadioButton*>(TheParent->Controls(I));
    if (Other && Other != this && Other->GroupIndex() == FGroupIndex) Other->SetChecked(false);
  }
}

void TKsCustomRadioButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

TPoint TKsCustomRadioButton::GetCheckSize() { return TPoint{13, 13}; }

void TKsCustomRadioButton::Loaded() {
  inherited::Loaded();
  if (FChecked) ClearSiblings();
  Invalidate();
}

TRect TKsCustomRadioButton::CheckRect() {
  return CenterCheckVertically(GetCheckSize(), TRect{0, 0, Width(), Height()});
}

void TKsCustomRadioButton::PaintBuffer() {
  inherited::PaintBuffer();
  DrawCheck();
  DrawCaption();
}

void TKsCustomRadioButton::DrawCheck() {
  RECT R = CheckRect();
  UINT Kind = DFCS_BUTTONRADIO;
  if (FChecked) Kind |= DFCS_CHECKED;
  if (!Enabled()) Kind |= DFCS_INACTIVE;
  DrawFrameControl(Buffer()->DC(), &R, DFC_BUTTON, Kind);
  GdiFlush();
}

void TKsCustomRadioButton::DrawCaption() {
  DrawKsCheckCaption(this, TRect{GetCheckSize().x + FSpacing, 0, Width(), Height()}, 2);
}

void TKsCustomRadioButton::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != VK_SPACE) return;
  FPressed = true;
  Invalidate();
}

void TKsCustomRadioButton::KeyUp(Word& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (Key != VK_SPACE) return;
  if (!FChecked) SetChecked(true);
  FPressed = false;
  Invalidate();
}

void TKsCustomRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TakeFocus(this);
  CaptureMouse(this);
  FPressed = true;
  Invalidate();
}

void TKsCustomRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  Invalidate();
  ReleaseMouse(this);
  if (FPressed && InsideWithEdges(this, X, Y) && !FChecked) SetChecked(true);
  FPressed = false;
  inherited::MouseUp(Button, Shift, X, Y);
}

void TKsCustomRadioButton::MouseEnter() {
  inherited::MouseEnter();
  Invalidate();
}

void TKsCustomRadioButton::MouseLeave() {
  inherited::MouseLeave();
  Invalidate();
}

void TKsCustomRadioButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    SetFocus();
    if (HasFocus() && !FChecked) SetChecked(true);
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TKsCustomRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The unit

namespace {

// What both controls publish besides their own properties.
template <class T>
void PublishCheckControl(TPublish<T>& P) {
  P.Prop("Caption", &T::Caption, &T::SetCaption);
  P.Prop("Checked", &T::Checked, &T::SetChecked).NoDefault();
  P.Prop("Spacing", &T::Spacing, &T::SetSpacing).NoDefault();
  P.Prop("Transparent", &T::Transparent, &T::SetTransparent).Default(true);
}

}  // namespace

void InitKsCheckBoxs() {
  RegisterClass(&TKsCustomCheckBox::StaticClass());
  RegisterClass(&TKsCustomRadioButton::StaticClass());
  {
    TPublish<TKsCustomCheckBox> P;
    PublishCheckControl(P);
    P.Prop("Alignment", &TKsCustomCheckBox::Alignment, &TKsCustomCheckBox::SetAlignment)
        .NoDefault();
    P.Prop("State", &TKsCustomCheckBox::State, &TKsCustomCheckBox::SetState).NoDefault();
    P.Prop("TabStop", &TKsCustomCheckBox::TabStop, &TKsCustomCheckBox::SetTabStop)
        .Default(true);
  }
  {
    TPublish<TKsCustomRadioButton> P;
    PublishCheckControl(P);
    P.Prop("GroupIndex", &TKsCustomRadioButton::GroupIndex,
           &TKsCustomRadioButton::SetGroupIndex)
        .NoDefault();
    P.Prop("ItemTabStop", &TKsCustomRadioButton::ItemTabStop,
           &TKsCustomRadioButton::SetItemTabStop)
        .Default(true);
  }
}

void DoneKsCheckBoxs() {
  UnRegisterPublished(&TKsCustomRadioButton::StaticClass());
  UnRegisterPublished(&TKsCustomCheckBox::StaticClass());
  UnRegisterClass(&TKsCustomRadioButton::StaticClass());
  UnRegisterClass(&TKsCustomCheckBox::StaticClass());
}
