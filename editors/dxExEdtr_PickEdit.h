// The pick editor: a drop-down editor whose popup is a list of strings (Items).
// Typing completes the text to the item it is, else to the first item that starts with
// what was typed (the completed part selected), the list hands the chosen item back as
// the text, and a double click can step to the next item.
#pragma once

#include <windows.h>

#include "classlib/StringLists.h"
#include "editors/dxExEdtr_DropDown.h"
#include "editors/dxExEdtr_PopupList.h"

class TdxInplacePickEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TdxInplacePickEdit, TdxInplaceDropDownEdit)
 public:
  explicit TdxInplacePickEdit(TComponent* AOwner);
  ~TdxInplacePickEdit() override;

  // ----- Values.
  // The text can only be one of the items: the window stays read-only and typing only
  // searches.
  bool DropDownListStyle() const { return FDropDownListStyle; }
  void SetDropDownListStyle(bool Value);
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // In DropDownListStyle, Backspace or Delete with the whole text selected empties it.
  bool CanDeleteText() const { return FCanDeleteText; }
  void SetCanDeleteText(bool Value) { FCanDeleteText = Value; }
  // A left double click steps to the next item, from the last to the first.
  bool Revertable() const { return FRevertable; }
  void SetRevertable(bool Value) { FRevertable = Value; }
  // Items is kept sorted (closes the list).
  bool ItemsSorted() const { return FItemsSorted; }
  void SetItemsSorted(bool Value);
  TdxPopupPickListBox* PickList() const { return FPickList; }

  // ----- The search.
  bool Searching() const { return FSearching; }
  const AnsiString& SearchText() const { return FSearchText; }
  // The item last stepped to, -1 for none.
  int RememberedItemIndex() const { return FItemIndex; }
  // The item Text is (EqualItem), else the first item, in list order, that starts with
  // Text ignoring case; -1 for an empty Text.
  int FindItem(const AnsiString& Text);
  // The item Text is: the item last stepped to while Text is still that item's (of
  // equal items, that one), else the first item equal to Text, case and all, else the
  // first equal to it but for the case; -1 for none.
  int EqualItem(const AnsiString& Text);
  // The item the text is (EqualItem), where a step and the open list start; -1 for none
  // (an item the text only begins is another item: that is the search's).
  // The editor is loaded from cell to cell by its text, which leaves the item stepped to
  // in another cell behind.
  int TextItem();
  // Ends the search unless the editor is changing its own text.
  void ResetSearch();

  // Empties the text when it may change.
  virtual void DeleteText();
  // Sets the text when it differs, and marks the editor modified: the user's pick, refused
  // with a beep when the window cannot take it.
  virtual void SetPickText(const AnsiString& Text);

  void SetEditValue(const Variant& Value) override;
  void SetEditActive(bool Value) override;
  void ScrollValue(int Delta, bool Wrap) override;
  void DropDown() override;
  void CloseUp(bool Accept) override;
  void DropDownTextChanged(const AnsiString& Text) override;

 protected:
  // Whether Items follows ItemsSorted; an editor that keeps its own order answers no.
  virtual bool SortsItems() { return true; }

  bool CanEditLinked() override;
  bool CanRevertText() override { return true; }
  void SetReadOnlyValue(bool Value) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  // Completes the text to the search's item and consumes Key; false when no item
  // starts with the search text.
  bool FindAndComplete(char& Key);
  // The typed character (32..255) and Backspace steps of a key press.
  void SearchChar(char& Key);
  void SearchBackspace(char& Key);
  void GetTextSelection(int Length, int& SelStart, int& SelStop);
  bool WholeTextSelected();

  bool FDropDownListStyle = false;
  bool FSearching = false;
  AnsiString FSearchText;
  int FItemIndex = -1;
  TStringList* FItems = nullptr;
  bool FCanDeleteText = false;
  TdxPopupPickListBox* FPickList = nullptr;
  bool FRevertable = false;
  bool FItemsSorted = false;
  bool FInternalChange = false;
};
