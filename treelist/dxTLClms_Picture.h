// The tree list's picture and blob column kinds. Both keep the cell as a string blob:
// the graphic column stores the editor's picture as a blob, the blob column the blob
// editor's data, never the editor's window text. A cell whose text is no picture
// paints empty and measures 0 wide.
#pragma once

#include <windows.h>

#include "editors/dxExEdtr_Blob.h"
#include "editors/dxExEdtr_Graphic.h"
#include "treelist/dxTLClms_DropDown.h"

DX_TREELIST_EDITOR(TdxInplaceTreeListGraphicEdit, TdxInplaceGraphicEdit)
DX_TREELIST_EDITOR(TdxInplaceTreeListBlobEdit, TdxInplaceBlobEdit)

class TdxTreeListGraphicColumn : public TdxTreeListColumn {
  TCLASS_DECL(TdxTreeListGraphicColumn, TdxTreeListColumn)
 public:
  explicit TdxTreeListGraphicColumn(TComponent* AOwner);
  ~TdxTreeListGraphicColumn() override;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  // An empty text, then the cell's picture.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  // The editor's picture as a blob.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;
  // The cell's picture, with the selection shading on selected cells.
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // 0 with Stretch, else the picture's width (0 for none).
  int GetTextWidth(TCanvas* Canvas, TdxTreeListNode* Node) override;

  // OnGetGraphicClass's answer; none without a handler.
  virtual TClass GetGraphicClass();
  // The picture of a cell, loaded once for consecutive questions about the same cell
  // text; empty when the text is no picture.
  TPicture* CellPicture(const AnsiString& Text);
  // How many times a cell's picture was read (a measure of the paint's work).
  int PictureLoads() const { return FPictureLoads; }

  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  UINT ClipboardFormat() const { return FClipboardFormat; }
  void SetClipboardFormat(UINT Value) { FClipboardFormat = Value; }
  const AnsiString& CustomFilter() const { return FCustomFilter; }
  void SetCustomFilter(const AnsiString& Value);
  bool CustomGraphic() const { return FCustomGraphic; }
  void SetCustomGraphic(bool Value);
  bool DblClickActivate() const { return FDblClickActivate; }
  void SetDblClickActivate(bool Value);
  TdxGraphicEditTransparency GraphicTransparency() const { return FGraphicTransparency; }
  void SetGraphicTransparency(TdxGraphicEditTransparency Value);
  TdxPopupToolBarWindow* PopupToolBar() const { return FPopupToolBar; }
  void SetPopupToolBar(TdxPopupToolBarWindow* Value) { FPopupToolBar->Assign(Value); }
  TPoint PopupToolbarPos() const { return FPopupToolbarPos; }
  void SetPopupToolbarPos(const TPoint& Value) { FPopupToolbarPos = Value; }
  bool PopupToolbarPosStored() const { return FPopupToolbarPosStored; }
  void SetPopupToolbarPosStored(bool Value);
  bool QuickDraw() const { return FQuickDraw; }
  void SetQuickDraw(bool Value);
  bool ShadowSelection() const { return FShadowSelection; }
  void SetShadowSelection(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);

  TdxGraphicEditAssignPictureEvent OnAssignPicture;
  TNotifyEvent OnCustomClick;
  TdxGraphicEditGetGraphicClassEvent OnGetGraphicClass;

 private:
  void EditorAssignPicture(TObject* Sender, TPicture*& Picture);
  void EditorCustomClick(TObject* Sender);
  void EditorGetGraphicClass(TObject* Sender, TClass& GraphicClass);
  void Forget() { FLoadedValid = false; }

  bool FCenter = true;
  UINT FClipboardFormat;
  AnsiString FCustomFilter;
  bool FCustomGraphic = false;
  bool FDblClickActivate = true;
  TdxGraphicEditTransparency FGraphicTransparency = gtDefault;
  TdxPopupToolBarWindow* FPopupToolBar = nullptr;
  TPoint FPopupToolbarPos = dxNoToolbarPos;
  bool FPopupToolbarPosStored = true;
  bool FQuickDraw = false;
  bool FShadowSelection = true;
  bool FStretch = true;
  // The picture painted and measured, and the text it was read from.
  TPicture* FPicture = nullptr;
  AnsiString FLoadedText;
  bool FLoadedValid = false;
  int FPictureLoads = 0;
};

class TdxTreeListBlobColumn : public TdxTreeListDropDownColumn {
  TCLASS_DECL(TdxTreeListBlobColumn, TdxTreeListDropDownColumn)
 public:
  explicit TdxTreeListBlobColumn(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxInplaceEditClass GetEditorClass() override;
  void AssignEditorSettings(TdxInplaceEdit* Editor) override;
  void ReleaseEditor(TdxInplaceEdit* Editor) override;
  // The cell's blob into the editor, with the cell text as its display text.
  void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor, Variant& Value) override;
  // The editor's blob data.
  void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                              Variant& Value) override;
  void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo) override;
  // At most MaxDisplayLength characters of the cell.
  AnsiString GetDisplayText(TdxTreeListNode* Node) override;

  // ----- What the blob editor hands to the column.
  virtual void DoAssignPicture(TPicture*& Picture);
  // OnGetGraphicClass's answer, starting from none.
  virtual TClass GetGraphicClass();
  // Keeps the popup's new size for the next popup.
  virtual void DoPopupResized(int Width, int Height);
  // Whether a cell value counts as empty for the icon: Null, Empty or "".
  virtual bool IsValueEmpty(const Variant& Value);

  bool AlwaysSaveText() const { return FAlwaysSaveText; }
  void SetAlwaysSaveText(bool Value);
  TdxBlobEditKind BlobEditKind() const { return FBlobEditKind; }
  void SetBlobEditKind(TdxBlobEditKind Value);
  TdxBlobPaintStyle BlobPaintStyle() const { return FBlobPaintStyle; }
  void SetBlobPaintStyle(TdxBlobPaintStyle Value);
  UINT ClipboardFormat() const { return FClipboardFormat; }
  void SetClipboardFormat(UINT Value) { FClipboardFormat = Value; }
  int MaxDisplayLength() const { return FMaxDisplayLength; }
  void SetMaxDisplayLength(int Value);
  TEditCharCase MemoCharCase() const { return FMemoCharCase; }
  void SetMemoCharCase(TEditCharCase Value);
  bool MemoHideScrollBars() const { return FMemoHideScrollBars; }
  void SetMemoHideScrollBars(bool Value);
  int MemoMaxLength() const { return FMemoMaxLength; }
  void SetMemoMaxLength(int Value);
  bool MemoOEMConvert() const { return FMemoOEMConvert; }
  void SetMemoOEMConvert(bool Value);
  TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
  void SetMemoScrollBars(TScrollStyle Value);
  bool MemoSelectionBar() const { return FMemoSelectionBar; }
  void SetMemoSelectionBar(bool Value);
  bool MemoWantReturns() const { return FMemoWantReturns; }
  void SetMemoWantReturns(bool Value);
  bool MemoWantTabs() const { return FMemoWantTabs; }
  void SetMemoWantTabs(bool Value);
  bool MemoWordWrap() const { return FMemoWordWrap; }
  void SetMemoWordWrap(bool Value);
  bool PictureAutoSize() const { return FPictureAutoSize; }
  void SetPictureAutoSize(bool Value);
  const AnsiString& PictureFilter() const { return FPictureFilter; }
  void SetPictureFilter(const AnsiString& Value);
  TdxGraphicEditTransparency PictureTransparency() const { return FPictureTransparency; }
  void SetPictureTransparency(TdxGraphicEditTransparency Value);
  int PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(int Value);
  int PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(int Value);
  bool ShowExPopupItems() const { return FShowExPopupItems; }
  void SetShowExPopupItems(bool Value);
  bool ShowPicturePopup() const { return FShowPicturePopup; }
  void SetShowPicturePopup(bool Value);
  bool SizeablePopup() const { return FSizeablePopup; }
  void SetSizeablePopup(bool Value);

  TdxGraphicEditAssignPictureEvent OnAssignPicture;
  TdxGraphicEditGetGraphicClassEvent OnGetGraphicClass;

 private:
  void EditorAssignPicture(TObject* Sender, TPicture*& Picture);
  void EditorGetGraphicClass(TObject* Sender, TClass& GraphicClass);
  void EditorPopupResized(TObject* Sender, int Width, int Height);

  bool FAlwaysSaveText = false;
  TdxBlobEditKind FBlobEditKind = bekMemo;
  TdxBlobPaintStyle FBlobPaintStyle = bpsIcon;
  UINT FClipboardFormat;
  int FMaxDisplayLength = 255;
  TEditCharCase FMemoCharCase = ecNormal;
  bool FMemoHideScrollBars = true;
  int FMemoMaxLength = 0;
  bool FMemoOEMConvert = false;
  TScrollStyle FMemoScrollBars = ssBoth;
  bool FMemoSelectionBar = false;
  bool FMemoWantReturns = true;
  bool FMemoWantTabs = true;
  bool FMemoWordWrap = true;
  bool FPictureAutoSize = true;
  AnsiString FPictureFilter;
  TdxGraphicEditTransparency FPictureTransparency = gtDefault;
  int FPopupHeight = 140;
  int FPopupWidth = 200;
  bool FShowExPopupItems = false;
  bool FShowPicturePopup = false;
  bool FSizeablePopup = true;
};
