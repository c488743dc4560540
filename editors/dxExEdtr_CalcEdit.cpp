#include "editors/dxExEdtr_CalcEdit.h"

#include "classlib/ScopeExit.h"

TCLASS_IMPL(TdxPopupCalculator)
TCLASS_IMPL(TdxInplaceCalcEdit)

// ---------------------------------------------------------------------------------
// The popup keypad

TdxPopupCalculator::TdxPopupCalculator(TComponent* AOwner) : TCustomdxCalculator(AOwner) { SetIsPopup(true); }

void TdxPopupCalculator::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxPopupCalculator::GetDisplayText(AnsiString& Text) {
  if (FCalcEdit)
    FCalcEdit->GetEditText(Text);
  else
    Text = AnsiString(1, '0');
}

void TdxPopupCalculator::SetDisplayText(const AnsiString& Text) {
  if (!FCalcEdit || !FCalcEdit->CanModify()) return;
  auto Close = ScopeExit([&] { ClosePopup(); });
  FCalcEdit->SetText(Text);
  FCalcEdit->SetModified(true);
  Close.Dismiss();
}

void TdxPopupCalculator::ClosePopup() {
  inherited::ClosePopup();
  if (!FCalcEdit) return;
  AnsiString Text;
  FCalcEdit->GetEditText(Text);
  if (Text != ErrorText()) return;
  FCalcEdit->SetText("0");
  FCalcEdit->SetModified(true);
}

void TdxPopupCalculator::KeyDown(Word& Key, TShiftState Shift) {
  const bool Alt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && Alt) || Key == VK_F4) {
    ClosePopup();
    return;
  }
  if (Key == VK_RETURN) {
    inherited::KeyDown(Key, Shift);
    ClosePopup();
    Key = 0;
    return;
  }
  if (Key == VK_ESCAPE) {
    ClosePopup();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TdxPopupCalculator::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (Key == '=' && FQuickClose) ClosePopup();
}

// ---------------------------------------------------------------------------------
// The calc editor

TdxInplaceCalcEdit::TdxInplaceCalcEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
  SetPopupKeepsEditorFocus(false);
}

TdxInplaceCalcEdit::~TdxInplaceCalcEdit() { FreeAndNil(FCalculator); }

void TdxInplaceCalcEdit::DropDown() {
  if (DroppedDown() || !CanEditLinked()) return;
  if (!FCalculator)
    FCalculator = NewObject<TdxPopupCalculator>(nullptr);
  else
    FCalculator->DestroyHandle();
  FCalculator->SetEditor(this);
  FCalculator->SetCalcEdit(this);
  SetPopup(FCalculator);
  DoEditButtonClick();
  FCalculator->SetPopupBorder(ResolvedPopupBorder());
  FCalculator->SetShadow(Style()->Shadow());
  FCalculator->SetKeepFocus(true);
  FCalculator->SetQuickClose(FQuickClose);
  FCalculator->Font()->Assign(Font());
  FCalculator->SetShowFocusRect(false);
  FCalculator->SetBeepOnError(FBeepOnError);
  FCalculator->SetButtonStyle(FButtonStyle);
  FCalculator->SetShowButtonFrame(FShowButtonFrame);
  FCalculator->SetPrecision(FPrecision);
  FCalculator->HandleNeeded();
  FCalculator->Layout();
  PositionPopup(FCalculator, false);
  SetDroppedDownValue(true);
  FCalculator->ShowPopup();
}
