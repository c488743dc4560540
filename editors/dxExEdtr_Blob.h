// The blob editor: shows a binary value (a string blob) in a cell as its kind's icon or
// as a display text, and edits memo and picture blobs in a sizeable popup. OLE and
// plain blobs get an ellipsis button that only fires the button-click events.
//
// The value a host stores is the blob data (BlobData, and GetEditValue for memo
// blobs); the window text is only the display text.
#pragma once

#include <windows.h>

#include "classlib/ImgList.h"
#include "editors/dxExEdtr_BlobPopup.h"
#include "editors/dxExEdtr_DropDown.h"

class TdxBlobEditViewData : public TdxDropDownEditViewData {
  TCLASS_DECL(TdxBlobEditViewData, TdxDropDownEditViewData)
 public:
  TdxBlobEditKind BlobEditKind = bekMemo;
  TdxBlobPaintStyle BlobPaintStyle = bpsIcon;
  // The kinds' icons (not owned); set for bpsIcon.
  TCustomImageList* Images = nullptr;
  bool IsEmpty = false;
};

class TdxInplaceBlobEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TdxInplaceBlobEdit, TdxInplaceDropDownEdit)
 public:
  explicit TdxInplaceBlobEdit(TComponent* AOwner);
  ~TdxInplaceBlobEdit() override;
  void BeforeDestruction() override;

  // ----- Class operations.
  // bpsIcon: the background and the kind's icon ("_NULL" for an empty value), no
  // text; otherwise the display text, end-ellipsis, vertically centred.
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  // The index of a kind's icon in BlobImages, one less for an empty value.
  static int IconIndex(TdxBlobEditKind Kind, bool Empty);

  // ----- The value.
  const AnsiString& BlobData() const { return FBlobData; }
  // Nothing when equal. Under a container preparing its editor the text is just
  // stored; otherwise only when the editor may modify, followed by Change.
  void SetBlobData(const AnsiString& Text);
  // The window text, without a change report.
  void SetDisplayText(const AnsiString& Text);

  // ----- Settings.
  TdxBlobEditKind BlobEditKind() const { return FBlobEditKind; }
  void SetBlobEditKind(TdxBlobEditKind Value);
  TdxBlobPaintStyle BlobPaintStyle() const { return FBlobPaintStyle; }
  void SetBlobPaintStyle(TdxBlobPaintStyle Value);
  int PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(int Value) { FPopupWidth = Value; }
  int PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(int Value) { FPopupHeight = Value; }
  bool SizeablePopup() const { return FSizeablePopup; }
  void SetSizeablePopup(bool Value) { FSizeablePopup = Value; }
  bool AlwaysSaveText() const { return FAlwaysSaveText; }
  void SetAlwaysSaveText(bool Value) { FAlwaysSaveText = Value; }
  bool PictureAutoSize() const { return FPictureAutoSize; }
  void SetPictureAutoSize(bool Value) { FPictureAutoSize = Value; }
  UINT ClipboardFormat() const { return FClipboardFormat; }
  void SetClipboardFormat(UINT Value) { FClipboardFormat = Value; }
  TClass GraphicClass() const { return FGraphicClass; }
  void SetGraphicClass(TClass Value) { FGraphicClass = Value; }
  const AnsiString& PictureFilter() const { return FPictureFilter; }
  void SetPictureFilter(const AnsiString& Value) { FPictureFilter = Value; }
  TdxGraphicEditTransparency PictureTransparency() const { return FPictureTransparency; }
  void SetPictureTransparency(TdxGraphicEditTransparency Value) { FPictureTransparency = Value; }
  bool ShowExPopupItems() const { return FShowExPopupItems; }
  void SetShowExPopupItems(bool Value) { FShowExPopupItems = Value; }
  bool ShowPicturePopup() const { return FShowPicturePopup; }
  void SetShowPicturePopup(bool Value) { FShowPicturePopup = Value; }
  // The memo popup's options, as the memo editor's.
  TEditCharCase MemoCharCase = ecNormal;
  bool MemoHideScrollBars = true;
  int MemoMaxLength = 0;
  bool MemoOEMConvert = false;
  TScrollStyle MemoScrollBars = ssNone;
  bool MemoSelectionBar = true;
  bool MemoWantReturns = true;
  bool MemoWantTabs = true;
  bool MemoWordWrap = true;

  // The popup (made on the first drop-down), or none.
  TCustomdxBlobPopup* BlobPopup() const { return FBlobPopup; }

  // ----- Overrides.
  // Null gives an empty blob, anything else its string form.
  void SetEditValue(const Variant& Value) override;
  // bekPict: the picture's graphic as an integer (after OnAssignPicture); otherwise
  // the blob, Null when empty.
  Variant GetEditValue() override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void FillButtons(TdxDropDownEditViewData* ViewData) override;
  void CloseUp(bool /*Accept*/) override {}
  void DropDown() override;
  // The blob at the restore point comes back with Escape, as a text editor's text does:
  // what the popup handed back is no longer the value.
  void SaveRestorePoint() override;
  void RevertToSaved() override;
  void Dispatch(TMessage& Message) override;

  TdxGraphicEditAssignPictureEvent OnAssignPicture;
  TdxGraphicEditGetGraphicClassEvent OnGetGraphicClass;
  TdxBlobPopupResizeEvent OnPopupResized;

  // ----- New operations, in slot order.
  // Null or an empty string.
  virtual bool IsValueEmpty(const Variant& Value);
  virtual void DoAssignPicture(TPicture*& APicture);
  // OnGetGraphicClass's answer, starting from the stored graphic class.
  virtual TClass GetGraphicClass();
  virtual bool BlobQuery() { return true; }
  // Stores the new size, then fires OnPopupResized.
  virtual void PopupResized(int Width, int Height);
  // The popup's close event: the content becomes the blob.
  virtual void PopupClosed();

 protected:
  bool IsNativeEdit() override { return false; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  void PopupClose(TObject* Sender);
  void PopupResize(TObject* Sender, int Width, int Height);
  void PopupTabOut(TObject* Sender, bool Backward);
  void PopupCanModify(TObject* Sender, bool& Allow);
  // Sizes and places the popup and picks the grip corner away from the editor.
  void PlaceBlobPopup();

  TCustomdxBlobPopup* FBlobPopup = nullptr;
  AnsiString FBlobData;
  AnsiString FSavedBlobData;
  TdxBlobEditKind FBlobEditKind = bekMemo;
  TdxBlobPaintStyle FBlobPaintStyle = bpsIcon;
  int FPopupWidth = 200;
  int FPopupHeight = 140;
  bool FSizeablePopup = true;
  bool FAlwaysSaveText = true;
  bool FPictureAutoSize = true;
  UINT FClipboardFormat;
  TClass FGraphicClass = nullptr;
  AnsiString FPictureFilter;
  TdxGraphicEditTransparency FPictureTransparency = gtDefault;
  bool FShowExPopupItems = true;
  bool FShowPicturePopup = true;
  TPicture* FPaintPicture = nullptr;
};
