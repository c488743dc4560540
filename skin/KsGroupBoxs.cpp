#include "skin/KsGroupBoxs.h"

#include "classlib/TypInfo.h"

TCLASS_IMPL(TKsCustomGroupBox)

namespace {

// One pass of the frame: the top edge up to the caption, then on from its right end
// around the frame back to the start.
void FramePass(TKsBitmap* B, const TRect& F, const TRect& T, TKsColor Color) {
  B->MoveTo(F.left, F.top);
  B->LineTo(T.left, F.top, Color);
  B->MoveTo(T.right, F.top);
  B->LineTo(F.right, F.top, Color);
  B->LineTo(F.right, F.bottom, Color);
  B->LineTo(F.left, F.bottom, Color);
  B->LineTo(F.left, F.top, Color);
}

}  // namespace

TKsCustomGroupBox::TKsCustomGroupBox(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetTransparent(false);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 90);
}

void TKsCustomGroupBox::SetCaptionMargin(int Value) {
  if (Value == FCaptionMargin) return;
  FCaptionMargin = Value;
  Invalidate();
}

TRect TKsCustomGroupBox::GetFrameRect() {
  Buffer()->SetFont(Font());
  const int TextHeight = Buffer()->TextHeight(Caption());
  return TRect{3, TextHeight / 2 + 1, Width() - 2, Height() - 2};
}

TRect TKsCustomGroupBox::CaptionRect() {
  Buffer()->SetFont(Font());
  const AnsiString Text = Caption();
  TRect T{FCaptionMargin, 0, FCaptionMargin + Buffer()->TextWidth(Text), Buffer()->TextHeight(Text)};
  if (!Text.empty()) {
    T.left -= 3;
    T.right += 3;
  }
  return T;
}

void TKsCustomGroupBox::Loaded() {
  inherited::Loaded();
  Invalidate();
}

void TKsCustomGroupBox::PaintBuffer() {
  inherited::PaintBuffer();
  const TRect F = GetFrameRect();
  const TRect T = CaptionRect();
  FramePass(Buffer(), F, T, ColorToKsColor(clBtnHighlight, 255));
  TRect Shadow = F;
  OffsetRect(&Shadow, -1, -1);
  FramePass(Buffer(), Shadow, T, ColorToKsColor(clBtnShadow, 255));
  Buffer()->DrawText(Caption(), T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  GdiFlush();
}

void TKsCustomGroupBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    auto* First = ControlCount() > 0 ? dynamic_cast<TWinControl*>(Controls(0)) : nullptr;
    if (First && First->CanFocus())
      First->SetFocus();
    else
      SetFocus();
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TKsCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
  }
  inherited::Dispatch(Message);
}

void InitKsGroupBoxs() {
  RegisterClass(&TKsCustomGroupBox::StaticClass());
  TPublish<TKsCustomGroupBox> P;
  P.Prop("Caption", &TKsCustomGroupBox::Caption, &TKsCustomGroupBox::SetCaption);
  P.Prop("CaptionMargin", &TKsCustomGroupBox::CaptionMargin,
         &TKsCustomGroupBox::SetCaptionMargin)
      .NoDefault();
  P.Prop("TabStop", &TKsCustomGroupBox::TabStop, &TKsCustomGroupBox::SetTabStop)
      .Default(false);
  P.Prop("Transparent", &TKsCustomGroupBox::Transparent, &TKsCustomGroupBox::SetTransparent)
      .Default(false);
}

void DoneKsGroupBoxs() {
  UnRegisterPublished(&TKsCustomGroupBox::StaticClass());
  UnRegisterClass(&TKsCustomGroupBox::StaticClass());
}
