// The tree list's drop-down column kinds: the drop-down base with its button rule and
// popup settings, and the date, button, image, pick, calc and most-recently-used
// kinds built on it. Each names the in-place editor that edits its cells, keeps the
// editor's settings as its own properties, hands them to the editor when one is set up
// for a cell, and paints cells without an editor through the same view data.
#pragma once

#include <windows.h>

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/StringLists.h"
#include "editors/dxExEdtr_ButtonEdit.h"
#include "editors/dxExEdtr_CalcEdit.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_DropDown.h"
#include "editors/dxExEdtr_ImageEdit.h"
#include "editors/dxExEdtr_MRUEdit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "treelist/dxTL_Columns.h"

// When a column's cells show their edit button. Scoped: the spin editor's button
// constants share a name.
enum class TdxShowButtonStyle : Byte { sbDefault, sbAlways, sbNone };
TENUM_INFO(TdxShowButtonStyle, "sbDefault", "sbAlways", "sbNone")

// The button column's edit style.
enum TdxEditButtonStyle : Byte { ebsSimple, ebsEllipsis, ebsDown, ebsGlyph };
TENUM_INFO(TdxEditButtonStyle, "ebsSimple", "ebsEllipsis", "ebsDown", "ebsGlyph")

// Ctrl+Enter, the default click and start key.
inline constexpr TShortCut dxCtrlEnter = scCtrl | VK_RETURN;

// ---------------------------------------------------------------------------------
// The editor classes: one per kind, so that the tree list keeps one editor per kind.

#define DX_TREELIST_EDITOR(Name, Base)                             \
  class Name : public Base {                                       \
    TCLASS_DECL(Name, Base)                                        \
   public:                                                         \
    explicit Name(TComponent* AOwner) : Base(AOwner) {}            \
  };

DX_TREELIST_EDITOR(TdxInplaceTreeListDropDownEdit, TdxInplaceDropDownEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListDateEdit, TdxInplaceDateEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListButtonEdit, TdxInplaceButtonEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListImageEdit, TdxInplaceImageEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListPickEdit, TdxInplacePickEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListCalcEdit, TdxInplaceCalcEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListMRUEdit, TdxInplaceMRUEdit)

// ---------------------------------------------------------------------------------

class TdxTreeListDropDownColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListDropDownColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListDropDownColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {}
  ~TdxTreeListDropDownColumn() override;
  // ImmediateDropDown takes the kind's default.
  void AfterConstruction() override;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  // The popup settings and the two hooks, for any drop-down editor.
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  // The glyph, and the button hidden unless ShowEditButton answers for the node.
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // The editor opens at a press when buttons are shown always.
  bool CanShowEditorOnClick(int /*X*/, int /*Y*/, bool /*WasFocused*/) override { return true; }
  // False without an editor or for sbNone, true for sbAlways, else the tree list's.
  bool IsShowButton(bool Default) override;

  // ----- The drop-down operations.
  // The editor's close-up, handed on (nothing here).
  virtual void DoCloseUp(Variant& Value, bool& Accept);
  // Fires OnEditButtonClick with the column.
  virtual void DoEditButtonClick();
  // Painted cells: never for sbNone or without aoShowButtonAlways; always for
  // sbAlways; for sbDefault only on the focused node.
  virtual bool ShowEditButton(TdxTreeListNode* Node);

  TdxShowButtonStyle ShowButtonStyle() const { return FShowButtonStyle; }
  void SetShowButtonStyle(TdxShowButtonStyle Value);
  int DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value);
  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value);
  bool ImmediateDropDown() const { return FImmediateDropDown; }
  void SetImmediateDropDown(bool Value);
  bool ImmediatePopup() const { return FImmediatePopup; }
  void SetImmediatePopup(bool Value);
  TAlignment PopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TAlignment Value);
  TdxPopupBorder PopupBorder() const { return FPopupBorder; }
  void SetPopupBorder(TdxPopupBorder Value);
  // Made on first read.
  TBitmap* ButtonGlyph();
  bool HasButtonGlyph() const { return FButtonGlyph && !FButtonGlyph->Empty(); }
  // Copies the picture; none frees the own one.
  void SetButtonGlyph(TBitmap* Value);

  TNotifyEvent OnEditButtonClick;

 protected:
  virtual bool GetDefaultImmediateDropDown() const { return false; }

 private:
  void EditorCloseUp(TObject* Sender, Variant& Value, bool& Accept);
  void EditorButtonClick(TObject* Sender);

  TdxShowButtonStyle FShowButtonStyle = TdxShowButtonStyle::sbDefault;
  int FDropDownRows = 7;
  int FDropDownWidth = 0;
  bool FImmediateDropDown = false;
  bool FImmediatePopup = false;
  TAlignment FPopupAlignment = taLeftJustify;
  TdxPopupBorder FPopupBorder = pbDefault;
  TBitmap* FButtonGlyph = nullptr;
};

class TdxTreeListDateColumn : public TdxTreeListDropDownColumn {
  TCLASS_DECL(TdxTreeListDateColumn, TdxTreeListDropDownColumn)
 public:
  explicit TdxTreeListDateColumn(TComponent* AOwner) : TdxTreeListDropDownColumn(AOwner) {}

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  // The cell's text is the editor's value when it reads as a date, in whatever form a
  // program or a file wrote it (see TdxInplaceDateEdit::LoadText).
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  // The editor's text; where it shows a date it holds in a form that reads as another
  // (a mask's two-digit year of another century, a time the mask does not show), the
  // date in the form that reads back.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;

  TDateButtons DateButtons() const { return FDateButtons; }
  void SetDateButtons(TDateButtons Value);
  TDateOnError DateOnError() const { return FDateOnError; }
  void SetDateOnError(TDateOnError Value);
  bool DateValidation() const { return FDateValidation; }
  void SetDateValidation(bool Value);
  bool SaveTime() const { return FSaveTime; }
  void SetSaveTime(bool Value);
  bool UseEditMask() const { return FUseEditMask; }
  void SetUseEditMask(bool Value);

  TdxDateValidateInputEvent OnDateValidateInput;

 private:
  void EditorDateValidateInput(TObject* Sender, const AnsiString& Text, TDateTime& Date,
                               AnsiString& Message, bool& Error);

  TDateButtons FDateButtons{btnToday, btnClear};
  TDateOnError FDateOnError = deToday;
  bool FDateValidation = false;
  bool FSaveTime = true;
  bool FUseEditMask = false;
};

class TdxTreeListButtonColumn;

// The button column's buttons: every change notifies the column.
class TdxColumnEditButtons : public TdxEditButtons {
  TCLASS_DECL(TdxColumnEditButtons, TdxEditButtons)
 public:
  explicit TdxColumnEditButtons(TdxTreeListButtonColumn* AColumn);

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TdxTreeListButtonColumn* FColumn;
};

class TdxTreeListButtonColumn : public TdxTreeListDropDownColumn {
  TCLASS_DECL(TdxTreeListButtonColumn, TdxTreeListDropDownColumn)
  friend class TdxColumnEditButtons;

 public:
  // Holds one default ellipsis button.
  explicit TdxTreeListButtonColumn(TComponent* AOwner);
  ~TdxTreeListButtonColumn() override;

  void Assign(TPersistent* Source) override;
  // Leaves exactly one button, restored to its defaults, as a new column has.
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;

  // Fires OnButtonClick with the column and the button's collection index.
  virtual void DoButtonClick(TObject* Sender, int AbsoluteIndex);

  bool ButtonOnly() const { return FButtonOnly; }
  void SetButtonOnly(bool Value);
  TdxEditButtons* Buttons() const { return FButtons; }
  void SetButtons(TdxEditButtons* Value) { FButtons->Assign(Value); }
  TdxEditButtonStyle EditButtonStyle() const { return FEditButtonStyle; }
  // ebsSimple removes every button; the others keep one and set button 0's kind.
  void SetEditButtonStyle(TdxEditButtonStyle Value);
  TShortCut ClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut Value);
  // Made on first read.
  TBitmap* Glyph();
  bool HasGlyph() const { return FGlyph && !FGlyph->Empty(); }
  // Copies the picture, also into button 0's glyph.
  void SetGlyph(TBitmap* Value);
  bool HideEditCursor() const { return FHideEditCursor; }
  void SetHideEditCursor(bool Value);

  TdxEditButtonClickEvent OnButtonClick;

 private:
  bool FButtonOnly = false;
  TdxColumnEditButtons* FButtons = nullptr;
  TdxEditButtonStyle FEditButtonStyle = ebsEllipsis;
  TShortCut FClickKey = dxCtrlEnter;
  TBitmap* FGlyph = nullptr;
  bool FHideEditCursor = false;
};

using TdxTLImageColumnCloseUp = TEvent<void(TObject* Sender, AnsiString& Value, bool& Accept)>;

class TdxTreeListImageColumn : public TdxTreeListDropDownColumn {
  TCLASS_DECL(TdxTreeListImageColumn, TdxTreeListDropDownColumn)
 public:
  explicit TdxTreeListImageColumn(TComponent* AOwner);
  ~TdxTreeListImageColumn() override;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // The value's description, or the value itself when it has none.
  AnsiString GetDisplayText(TdxTreeListNode* Node) override;
  // The display text's width and the images' width.
  int GetTextWidth(TCanvas* Canvas, TdxTreeListNode* Node) override;
  int GetMinRowHeight() override { return FImages ? FImages->Height() : 0; }
  void DoCloseUp(Variant& Value, bool& Accept) override;

  bool DefaultImages() const { return FDefaultImages; }
  void SetDefaultImages(bool Value);
  TStrings* Descriptions() const { return FDescriptions; }
  void SetDescriptions(TStrings* Value) { FDescriptions->Assign(Value); }
  TStrings* ImageIndexes() const { return FImageIndexes; }
  void SetImageIndexes(TStrings* Value) { FImageIndexes->Assign(Value); }
  TStrings* Values() const { return FValues; }
  void SetValues(TStrings* Value) { FValues->Assign(Value); }
  // Followed through a change link and a free notification.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  bool Incremental() const { return FIncremental; }
  void SetIncremental(bool Value);
  bool MultiLineText() const { return FMultiLineText; }
  void SetMultiLineText(bool Value);
  bool ShowDescription() const { return FShowDescription; }
  void SetShowDescription(bool Value);

  TdxTLImageColumnCloseUp OnCloseUp;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ListChanged(TObject* Sender);
  void ImagesChanged(TObject* Sender);
  void SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);

  bool FDefaultImages = true;
  TStringList* FDescriptions = nullptr;
  TStringList* FImageIndexes = nullptr;
  TStringList* FValues = nullptr;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TChangeLink* FImagesLink = nullptr;
  TChangeLink* FLargeImagesLink = nullptr;
  bool FIncremental = false;
  bool FMultiLineText = false;
  bool FShowDescription = false;
};

using TdxTLPickColumnCloseUp = TEvent<void(TObject* Sender, AnsiString& Value, bool& Accept)>;

class TdxTreeListPickColumn : public TdxTreeListDropDownColumn {
  TCLASS_DECL(TdxTreeListPickColumn, TdxTreeListDropDownColumn)
 public:
  explicit TdxTreeListPickColumn(TComponent* AOwner);
  ~TdxTreeListPickColumn() override;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void DoCloseUp(Variant& Value, bool& Accept) override;

  bool DropDownListStyle() const { return FDropDownListStyle; }
  void SetDropDownListStyle(bool Value);
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  bool ItemsSorted() const { return FItemsSorted; }
  void SetItemsSorted(bool Value);
  bool CanDeleteText() const { return FCanDeleteText; }
  void SetCanDeleteText(bool Value);
  bool Revertable() const { return FRevertable; }
  void SetRevertable(bool Value);

  TdxTLPickColumnCloseUp OnCloseUp;

 protected:
  bool GetDefaultImmediateDropDown() const override { return true; }

 private:
  void ItemsChanged(TObject* Sender);

  bool FDropDownListStyle = false;
  TStringList* FItems = nullptr;
  bool FItemsSorted = false;
  bool FCanDeleteText = false;
  bool FRevertable = false;
};

class TdxTreeListCalcColumn : public TdxTreeListDropDownColumn {
  TCLASS_DECL(TdxTreeListCalcColumn, TdxTreeListDropDownColumn)
 public:
  explicit TdxTreeListCalcColumn(TComponent* AOwner) : TdxTreeListDropDownColumn(AOwner) {}

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;

  bool BeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool Value);
  TdxButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxButtonStyle Value);
  Byte Precision() const { return FPrecision; }
  void SetPrecision(Byte Value);
  bool QuickClose() const { return FQuickClose; }
  void SetQuickClose(bool Value);
  bool ShowButtonFrame() const { return FShowButtonFrame; }
  void SetShowButtonFrame(bool Value);

 private:
  bool FBeepOnError = true;
  TdxButtonStyle FButtonStyle = bsStandard;
  Byte FPrecision = 13;
  bool FQuickClose = false;
  bool FShowButtonFrame = false;
};

class TdxTreeListMRUColumn : public TdxTreeListPickColumn {
  TCLASS_DECL(TdxTreeListMRUColumn, TdxTreeListPickColumn)
 public:
  explicit TdxTreeListMRUColumn(TComponent* AOwner) : TdxTreeListPickColumn(AOwner) {}

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // The inherited store, then the editor's items become the column's: the entries
  // used last stay with the column for the next edit.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;

  // Fires OnButtonClick with the column.
  virtual void DoButtonClick(TObject* Sender);

  int MaxItemCount() const { return FMaxItemCount; }
  void SetMaxItemCount(int Value);
  bool ShowEllipsis() const { return FShowEllipsis; }
  void SetShowEllipsis(bool Value);

  TNotifyEvent OnButtonClick;

 protected:
  bool GetDefaultImmediateDropDown() const override { return false; }

 private:
  int FMaxItemCount = 7;
  bool FShowEllipsis = true;
};
