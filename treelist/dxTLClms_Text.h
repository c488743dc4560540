// The tree list's column kinds over text-like editors: memo, check, spin, hyperlink,
// time and currency. The cell stays a text; the check, spin, time and currency kinds
// convert it to and from their editor's value.
#pragma once

#include <windows.h>

#include "editors/dxExEdtr_Check.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "editors/dxExEdtr_Hyperlink.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxExEdtr_Time.h"
#include "editors/dxMemo.h"
#include "treelist/dxTLClms_DropDown.h"

DX_TREELIST_EDITOR(TdxInplaceTreeListMemoEdit, TdxInplaceMemoEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListCheckEdit, TdxInplaceCheckEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListSpinEdit, TdxInplaceSpinEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListHyperLinkEdit, TdxInplaceHyperLinkEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListTimeEdit, TdxInplaceTimeEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListCurrencyEdit, TdxInplaceCurrencyEdit)

class TdxTreeListMemoColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListMemoColumn, TdxTreeListColumn)
 public:
  // The header takes as many lines as its caption needs (HeaderMaxLineCount 0).
  explicit TdxTreeListMemoColumn(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  bool IsMultiLineCell() override { return true; }

  bool HideScrollBars() const { return FHideScrollBars; }
  void SetHideScrollBars(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool SelectionBar() const { return FSelectionBar; }
  void SetSelectionBar(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 private:
  bool FHideScrollBars = true;
  TScrollStyle FScrollBars = ssNone;
  bool FSelectionBar = false;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
};

using TdxToggleEvent =
    TEvent<void(TObject* Sender, const AnsiString& Text, TdxCheckBoxState State)>;

class TdxTreeListCheckColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListCheckColumn, TdxTreeListColumn)
 public:
  // ValueChecked and ValueUnchecked take the unit's "True" and "False".
  explicit TdxTreeListCheckColumn(TComponent* AOwner);
  ~TdxTreeListCheckColumn() override;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  // The editor's state is the state of the cell text.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  // The cell text becomes the text of the editor's state.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;
  // Fires OnToggleClick after the inherited change, unless the editor is being set up.
  void EditChange(TObject* Sender) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // The text of the text's state: an unknown text reads as ValueGrayed.
  void GetDisplayFormatText(TdxTreeListNode* Node, AnsiString& Text) override;
  // The glyph's height, or the system check box's and 2.
  int GetMinRowHeight() override;

  // ValueChecked in any letter case is checked, ValueUnchecked unchecked, anything
  // else grayed.
  TdxCheckBoxState StateOfText(const AnsiString& Text) const;
  const AnsiString& TextOfState(TdxCheckBoxState State) const;

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  bool Border3D() const { return FBorder3D; }
  void SetBorder3D(bool Value);
  // Made on first read.
  TBitmap* Glyph();
  bool HasGlyph() const { return FGlyph && !FGlyph->Empty(); }
  void SetGlyph(TBitmap* Value);
  int GlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int Value);
  TdxShowNullFieldStyle ShowNullFieldStyle() const { return FShowNullFieldStyle; }
  void SetShowNullFieldStyle(TdxShowNullFieldStyle Value);
  const AnsiString& ValueChecked() const { return FValueChecked; }
  void SetValueChecked(const AnsiString& Value);
  const AnsiString& ValueGrayed() const { return FValueGrayed; }
  void SetValueGrayed(const AnsiString& Value);
  const AnsiString& ValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const AnsiString& Value);

  TdxToggleEvent OnToggleClick;

 private:
  bool FAllowGrayed = false;
  bool FBorder3D = false;
  TBitmap* FGlyph = nullptr;
  int FGlyphCount = 6;
  TdxShowNullFieldStyle FShowNullFieldStyle = nsUnchecked;
  AnsiString FValueChecked;
  AnsiString FValueGrayed;
  AnsiString FValueUnchecked;
};

class TdxTreeListSpinColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListSpinColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListSpinColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {}

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  // The text, then the editor's number for it (0 for an empty cell or a text that is
  // no number), limited and formatted by the editor.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  // The editor's number, formatted as the editor formats it.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  bool CanShowEditorOnClick(int /*X*/, int /*Y*/, bool /*WasFocused*/) override { return true; }
  bool IsShowButton(bool Default) override;
  // As the drop-down kinds answer.
  virtual bool ShowEditButton(TdxTreeListNode* Node);

  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value);
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value);
  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value);
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value);
  TdxShowButtonStyle ShowButtonStyle() const { return FShowButtonStyle; }
  void SetShowButtonStyle(TdxShowButtonStyle Value);
  bool UseCtrlIncrement() const { return FUseCtrlIncrement; }
  void SetUseCtrlIncrement(bool Value);
  TdxValueType ValueType() const { return FValueType; }
  void SetValueType(TdxValueType Value);

 private:
  bool FEditorEnabled = true;
  double FIncrement = 1.0;
  double FMinValue = 0;
  double FMaxValue = 0;
  TdxShowButtonStyle FShowButtonStyle = TdxShowButtonStyle::sbDefault;
  bool FUseCtrlIncrement = false;
  TdxValueType FValueType = vtInt;
};

class TdxTreeListHyperLinkColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListHyperLinkColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListHyperLinkColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {}
  ~TdxTreeListHyperLinkColumn() override;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  // The link font; unselected cells in its colour.
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // With SingleClick, the hand over a cell that holds a link.
  TCursor GetCellCursor(TdxTreeListNode* Node) override;
  void FontChanged(TObject* Sender) override;

  // The column's font underlined, in EditFontColor with SingleClick (else in the
  // font's own colour); made on first use and remade when its source changes.
  TFont* LinkFont();

  TColor EditBackgroundColor() const { return FEditBackgroundColor; }
  void SetEditBackgroundColor(TColor Value);
  TColor EditFontColor() const { return FEditFontColor; }
  void SetEditFontColor(TColor Value);
  bool SingleClick() const { return FSingleClick; }
  void SetSingleClick(bool Value);
  TShortCut StartKey() const { return FStartKey; }
  void SetStartKey(TShortCut Value);

  TNotifyEvent OnStartClick;

 private:
  void EditorStartClick(TObject* Sender);
  void LinkChanged();

  TColor FEditBackgroundColor = static_cast<TColor>(0xFFFFFF);
  TColor FEditFontColor = static_cast<TColor>(0xFF0000);
  bool FSingleClick = false;
  TShortCut FStartKey = dxCtrlEnter;
  TFont* FLinkFont = nullptr;
  // The font the link font was made from, to notice a change of it.
  HFONT FLinkSource = nullptr;
  bool FLinkValid = false;
};

class TdxTreeListTimeColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListTimeColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListTimeColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {}

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  // The editor takes the cell's time, not only its text: no time it held for another
  // cell stays behind a text that happens to show it.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  // The editor's text, or "" when its value is 0.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;

  TdxTimeEditFormat TimeEditFormat() const { return FTimeEditFormat; }
  void SetTimeEditFormat(TdxTimeEditFormat Value);
  bool UseCtrlIncrement() const { return FUseCtrlIncrement; }
  void SetUseCtrlIncrement(bool Value);

 private:
  TdxTimeEditFormat FTimeEditFormat = tfHourMinSec;
  bool FUseCtrlIncrement = false;
};

class TdxTreeListCurrencyColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListCurrencyColumn, TdxTreeListColumn)
 public:
  // DisplayFormat starts as the locale's currency format.
  explicit TdxTreeListCurrencyColumn(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  // The editor shows and edits the plain amount: its display format is kept empty.
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  // An empty editor for 0; otherwise the cell read as an amount.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  // The editor's text, or "" when its value is 0.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;
  // The amount through DisplayFormat when there is one.
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;

  // A display format the user never set follows the locale.
  void LocaleChanged() override;

  unsigned DecimalPlaces() const { return FDecimalPlaces; }
  void SetDecimalPlaces(unsigned Value);
  const AnsiString& DisplayFormat() const { return FDisplayFormat; }
  // Marks the format as the user's.
  void SetDisplayFormat(const AnsiString& Value);
  bool DisplayFormatAssigned() const { return FDisplayFormatAssigned; }
  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value);
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value);
  bool UseThousandSeparator() const { return FUseThousandSeparator; }
  void SetUseThousandSeparator(bool Value);

 private:
  unsigned FDecimalPlaces = 2;
  AnsiString FDisplayFormat;
  bool FDisplayFormatAssigned = false;
  double FMinValue = 0;
  double FMaxValue = 0;
  bool FUseThousandSeparator = false;
};

// The check kind's default texts, loaded by the unit's start ("True", "False").
const AnsiString& dxTLCheckTrueText();
const AnsiString& dxTLCheckFalseText();
void LoaddxTLCheckTexts();
void FreedxTLCheckTexts();
