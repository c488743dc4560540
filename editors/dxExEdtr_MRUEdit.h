// The most-recently-used editor: a pick editor whose items are the values last
// entered, newest first. Each validated change moves its value to the top, and the
// list is cut to MaxItemCount. A second button beside the arrow (the ellipsis button,
// or the custom glyph's button) and Ctrl+Enter fire OnButtonClick.
#pragma once

#include <windows.h>

#include "editors/dxExEdtr_PickEdit.h"

class TdxMRUEditViewData : public TdxDropDownEditViewData {
  TCLASS_DECL(TdxMRUEditViewData, TdxDropDownEditViewData)
 public:
  bool ShowEllipsis = true;
};

class TdxInplaceMRUEdit : public TdxInplacePickEdit {
  TCLASS_DECL(TdxInplaceMRUEdit, TdxInplacePickEdit)
 public:
  explicit TdxInplaceMRUEdit(TComponent* AOwner);

  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);

  // Most items kept, 0 for no limit; a negative value is 0. A lower limit trims.
  int MaxItemCount() const { return FMaxItemCount; }
  void SetMaxItemCount(int Value);
  bool ShowEllipsis() const { return FShowEllipsis; }
  void SetShowEllipsis(bool Value);

  // Fires OnButtonClick.
  virtual void DoButtonClick();
  // Text moves to the top of the items (inserted there when new, then the list is
  // trimmed); an empty text is never added.
  virtual void AddItem(const AnsiString& Text);

  // The mask editor's validation, then a modified text is added.
  void Validate() override;
  void FillButtons(TdxDropDownEditViewData* ViewData) override;
  // The second button never drops the list down.
  void ButtonDown(bool IsClientClick, int Index) override;
  void ButtonClick(int Index) override;

  TNotifyEvent OnButtonClick;

 protected:
  // The items stay in the order of use whatever ItemsSorted says: a sorted list
  // could take neither the insert at the top nor the move.
  bool SortsItems() override { return false; }
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  void Trim();

  int FMaxItemCount = 7;
  bool FShowEllipsis = true;
};
