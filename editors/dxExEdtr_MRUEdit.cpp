#include "editors/dxExEdtr_MRUEdit.h"

#include "classlib/Menus.h"

TCLASS_IMPL(TdxMRUEditViewData)
TCLASS_IMPL(TdxInplaceMRUEdit)

TdxInplaceMRUEdit::TdxInplaceMRUEdit(TComponent* AOwner) : TdxInplacePickEdit(AOwner) {
  SetImmediateDropDown(false);
}

TdxEditViewDataClass TdxInplaceMRUEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxMRUEditViewData::StaticClass();
}

void TdxInplaceMRUEdit::SetMaxItemCount(int Value) {
  if (Value < 0) Value = 0;
  if (FMaxItemCount == Value) return;
  FMaxItemCount = Value;
  Trim();
}

void TdxInplaceMRUEdit::SetShowEllipsis(bool Value) {
  if (FShowEllipsis == Value) return;
  FShowEllipsis = Value;
  StyleLayoutChanged();
}

void TdxInplaceMRUEdit::Trim() {
  if (FMaxItemCount <= 0) return;
  while (Items()->Count() > FMaxItemCount) Items()->Delete(Items()->Count() - 1);
}

void TdxInplaceMRUEdit::DoButtonClick() {
  if (OnButtonClick.Assigned()) OnButtonClick(this);
}

void TdxInplaceMRUEdit::AddItem(const AnsiString& Text) {
  if (Text.empty()) return;
  const int I = Items()->IndexOf(Text);
  if (I != -1) {
    Items()->Move(I, 0);
    return;
  }
  Items()->Insert(0, Text);
  Trim();
}

void TdxInplaceMRUEdit::Validate() {
  inherited::Validate();
  if (GetModified()) AddItem(GetText());
}

// ---------------------------------------------------------------------------------
// Buttons

void TdxInplaceMRUEdit::FillButtons(TdxDropDownEditViewData* ViewData) {
  inherited::FillButtons(ViewData);
  auto* Data = dynamic_cast<TdxMRUEditViewData*>(ViewData);
  if (!Data) return;
  Data->ShowEllipsis = FShowEllipsis;
  if (Data->ButtonCount < 1 || !FShowEllipsis) return;
  TdxEditButtonDrawData& Arrow = Data->Buttons[0];
  TdxEditButtonDrawData& Second = Data->Buttons[1];
  Second = TdxEditButtonDrawData{};
  Second.Index = 1;
  Second.LeftAlignment = Arrow.LeftAlignment;
  if (Data->ButtonGlyph) {
    // The glyph moves to the second button; the first is the plain arrow.
    Second.Kind = bkGlyph;
    Second.Glyph = Data->ButtonGlyph;
    Arrow.Kind = bkDown;
    Arrow.Glyph = nullptr;
    Arrow.Width = DefaultButtonWidth(Data, Arrow);
  } else {
    Second.Kind = bkEllipsis;
  }
  Second.Width = DefaultButtonWidth(Data, Second);
  Data->ButtonCount = 2;
}

void TdxInplaceMRUEdit::ButtonDown(bool IsClientClick, int Index) {
  inherited::ButtonDown(IsClientClick, Index == 1 ? -1 : Index);
}

void TdxInplaceMRUEdit::ButtonClick(int Index) {
  if (Index == 1) DoButtonClick();
}

// Ctrl+Enter before the inherited keys: in a grid those hand Enter, with any shift,
// to the host.
void TdxInplaceMRUEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (FShowEllipsis && ShortCut(Key, Shift) == ShortCut(VK_RETURN, TShiftState{ssCtrl}) && CanEditLinked()) {
    RemovePendingChar();
    DoButtonClick();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}
