#include "editors/dxExEdtr_PickEdit.h"

#include <algorithm>

#include "classlib/Exceptions.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TdxInplacePickEdit)

TdxInplacePickEdit::TdxInplacePickEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
  FPickList = NewObject<TdxPopupPickListBox>(this);
  FPickList->SetEditor(this);
  FPickList->SetIntegralHeight(true);
  FPickList->SetItemHeight(11);
  FPickList->OnMouseUp = TMouseEvent::Bind<&TdxInplaceDropDownEdit::PopupMouseUp>(this);
  SetForwardNavigationKeysOnly(true);
  FItems = NewObject<TStringList>();
}

TdxInplacePickEdit::~TdxInplacePickEdit() { FreeAndNil(FItems); }

// ---------------------------------------------------------------------------------
// Values

void TdxInplacePickEdit::SetDropDownListStyle(bool Value) {
  if (FDropDownListStyle == Value) return;
  FDropDownListStyle = Value;
  SetReadOnlyValue(GetReadOnly());
}

void TdxInplacePickEdit::SetItemsSorted(bool Value) {
  if (FItemsSorted == Value) return;
  SetDroppedDown(false);
  FItemsSorted = Value;
  FItems->SetSorted(Value && SortsItems());
}

void TdxInplacePickEdit::SetReadOnlyValue(bool Value) {
  inherited::SetReadOnlyValue(Value);
  if (FDropDownListStyle && HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, 1, 0);
}

bool TdxInplacePickEdit::CanEditLinked() { return !FDropDownListStyle && inherited::CanEditLinked(); }

// A value set from outside (a newly bound cell) also forgets the item last stepped to:
// stepping starts from the new value.
void TdxInplacePickEdit::SetEditValue(const Variant& Value) {
  inherited::SetEditValue(Value);
  if (!FInternalChange) FItemIndex = -1;
  ResetSearch();
}

void TdxInplacePickEdit::SetEditActive(bool Value) {
  inherited::SetEditActive(Value);
  ResetSearch();
}

void TdxInplacePickEdit::DeleteText() {
  if (!CanModify()) return;
  TFlagScope Internal(FInternalChange);
  SetPickText(AnsiString());
}

void TdxInplacePickEdit::SetPickText(const AnsiString& Text) {
  if (GetText() == Text) return;
  // The user's pick: a text the window cannot take is refused with a beep, as typing it
  // would be, and the old text stays.
  try {
    SetText(Text);
  } catch (const EInvalidOperation&) {
    MessageBeepProc(0);
    return;
  }
  SetModified(true);
}

// ---------------------------------------------------------------------------------
// The search

int TdxInplacePickEdit::FindItem(const AnsiString& Text) {
  if (Text.empty()) return -1;
  // A text that is an item is that item; a prefix only while it is none.
  if (const int Equal = EqualItem(Text); Equal >= 0) return Equal;
  const int Length = static_cast<int>(Text.size());
  for (int I = 0; I < FItems->Count(); ++I) {
    const AnsiString& Item = FItems->Strings(I);
    if (static_cast<int>(Item.size()) < Length) continue;
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Item.data(), Length, Text.data(), Length) ==
        CSTR_EQUAL)
      return I;
  }
  return -1;
}

int TdxInplacePickEdit::EqualItem(const AnsiString& Text) {
  const int Count = FItems->Count();
  if (FItemIndex >= 0 && FItemIndex < Count && FItems->Strings(FItemIndex) == Text) return FItemIndex;
  for (int I = 0; I < Count; ++I)
    if (FItems->Strings(I) == Text) return I;
  for (int I = 0; I < Count; ++I) {
    const AnsiString& Item = FItems->Strings(I);
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Item.data(), static_cast<int>(Item.size()), Text.data(),
                       static_cast<int>(Text.size())) == CSTR_EQUAL)
      return I;
  }
  return -1;
}

int TdxInplacePickEdit::TextItem() { return EqualItem(GetText()); }

void TdxInplacePickEdit::ResetSearch() {
  if (FInternalChange) return;
  FSearching = false;
  FSearchText.clear();
}

bool TdxInplacePickEdit::FindAndComplete(char& Key) {
  const int I = FindItem(FSearchText);
  if (I == -1) return false;
  Key = '\0';
  {
    TFlagScope Internal(FInternalChange);
    if (CanModify()) SetPickText(FItems->Strings(I));
  }
  // The completion is selected, the caret after the typed part.
  const auto Length = static_cast<WPARAM>(GetText().size());
  SendMessageA(Handle(), EM_SETSEL, Length, Length);
  SendMessageA(Handle(), EM_SETSEL, Length, static_cast<LPARAM>(FSearchText.size()));
  return true;
}

// The selection within the text: the control counts the end of its last paragraph
// into a selection of everything.
void TdxInplacePickEdit::GetTextSelection(int Length, int& SelStart, int& SelStop) {
  SelStart = std::min(GetSelStart(), Length);
  SelStop = std::min(GetSelStart() + GetSelLength(), Length);
}

bool TdxInplacePickEdit::WholeTextSelected() {
  const int Length = static_cast<int>(GetText().size());
  int SelStart = 0;
  int SelStop = 0;
  GetTextSelection(Length, SelStart, SelStop);
  return SelStart == 0 && SelStop == Length;
}

void TdxInplacePickEdit::SearchChar(char& Key) {
  const AnsiString Text = GetText();
  const int Length = static_cast<int>(Text.size());
  int SelStart = 0;
  int SelStop = 0;
  GetTextSelection(Length, SelStart, SelStop);
  // The search goes on at the end of its own text; a character typed anywhere else, or
  // over a selection, starts it again from the text the key makes.
  if (SelStart != Length || SelStop != Length || Text.size() != FSearchText.size()) ResetSearch();
  if (FSearching && (MaxLength() == 0 || Length < MaxLength())) {
    FSearchText += Key;
  } else {
    FSearching = true;
    FSearchText = Text.substr(0, static_cast<std::size_t>(SelStart)) + Key +
                  Text.substr(static_cast<std::size_t>(SelStop));
  }
  FindAndComplete(Key);
  if (ImmediateDropDown() && !DroppedDown()) {
    DropDown();
    DropDownTextChanged(GetText());
  }
}

void TdxInplacePickEdit::SearchBackspace(char& Key) {
  const int Length = static_cast<int>(GetText().size());
  int SelStart = 0;
  int SelStop = 0;
  GetTextSelection(Length, SelStart, SelStop);
  if (!FDropDownListStyle && SelStop < Length) ResetSearch();
  if (FDropDownListStyle) {
    if (WholeTextSelected() && FCanDeleteText) {
      // The text is gone: a search still running would complete it back.
      DeleteText();
      ResetSearch();
      Key = '\0';
      return;
    }
    if (!FSearching) {
      FSearching = true;
      FSearchText = GetText();
    }
  }
  if (!FSearching || FSearchText.empty()) return;
  FSearchText.pop_back();
  if (FSearchText.empty() && (!FDropDownListStyle || FCanDeleteText)) {
    DeleteText();
    return;
  }
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(FSearchText.size()), -1);
  FindAndComplete(Key);
}

void TdxInplacePickEdit::KeyPress(char& Key) {
  if (GetReadOnly()) {
    Key = '\0';
  } else if (static_cast<unsigned char>(Key) >= 32) {
    SearchChar(Key);
  } else if (Key == '\b') {
    SearchBackspace(Key);
  }
  inherited::KeyPress(Key);
}

void TdxInplacePickEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) ResetSearch();
  if (Key == VK_DELETE && FDropDownListStyle && FCanDeleteText && WholeTextSelected()) DeleteText();
  if (!InPlace() && FItems->Count() > 0) {
    const int Page = DropDownRows() - 1;
    switch (Key) {
      case VK_PRIOR: ScrollValue(-Page, false); Key = 0; break;
      case VK_NEXT: ScrollValue(Page, false); Key = 0; break;
      case VK_UP: ScrollValue(-1, false); Key = 0; break;
      case VK_DOWN: ScrollValue(1, false); Key = 0; break;
    }
  }
  inherited::KeyDown(Key, Shift);
}

void TdxInplacePickEdit::ScrollValue(int Delta, bool Wrap) {
  if (GetReadOnly() || FItems->Count() == 0) return;
  ResetSearch();
  const int Count = FItems->Count();
  const int Start = TextItem();
  int Next = 0;
  if (Start >= 0 && Start < Count) {
    Next = std::max(Start + Delta, 0);
    if (Next >= Count) Next = Wrap ? 0 : Count - 1;
  }
  FItemIndex = Next;
  if (CanModify()) SetPickText(FItems->Strings(Next));
  AfterActivate();
}

void TdxInplacePickEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Shift.Contains(ssDouble) && FRevertable && FItems->Count() > 1) {
    ScrollValue(1, true);
    DropDownTextChanged(GetText());
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------------
// The list

void TdxInplacePickEdit::DropDown() {
  if (GetLinkEditing() || !HandleAllocated()) return;
  if (GetFocus() != Handle()) ::SetFocus(Handle());
  if (GetFocus() != Handle()) return;
  DoEditButtonClick();
  SetPopup(FPickList);
  if (FItems->Count() == 0) return;
  PrepareList(FPickList);
  FPickList->Items()->Assign(FItems);
  const int Rows = std::min(FPickList->Items()->Count(), DropDownRows());
  const int Height = Rows * FPickList->MeasuredItemHeight();
  if (DropDownWidth() == 0) {
    int Widest = 10;
    for (int I = 0; I < FPickList->Items()->Count(); ++I)
      Widest = std::max(Widest, FPickList->TextWidth(FPickList->Items()->Strings(I)));
    FPickList->SetClientSize(4 + Widest, Height);
  } else {
    FPickList->SetClientHeight(Height);
    FPickList->SetWidth(DropDownWidth());
  }
  FPickList->SetItemIndex(TextItem());
  ShowList(FPickList);
}

void TdxInplacePickEdit::DropDownTextChanged(const AnsiString& Text) {
  if (!DroppedDown() || !FPickList->HandleAllocated()) return;
  FPickList->SetItemIndex(FSearching ? FindItem(Text) : TextItem());
}

void TdxInplacePickEdit::CloseUp(bool Accept) {
  if (!DroppedDown()) return;
  ResetSearch();
  HideList(FPickList);
  const int Selected = FPickList->HandleAllocated() ? FPickList->ItemIndex() : -1;
  Variant Value(Selected >= 0 ? FPickList->Items()->Strings(Selected) : GetText());
  DoCloseUp(Value, Accept);
  if (Accept && CanModify()) {
    SetPickText(VarToStr(Value));
    AfterActivate();
  }
}
