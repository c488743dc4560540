// The image editor: picks one of a fixed list of values, each shown as a picture from
// an image list and, optionally, a description. The value is the text of the chosen
// entry of Values; Descriptions and ImageIndexes run parallel to it. There is no text
// cursor: a press anywhere drops down a list of the pictures and descriptions, the
// navigation keys step through the values, and a typed letter jumps to the next
// description that starts with it.
#pragma once

#include <windows.h>

#include "classlib/ImgList.h"
#include "classlib/StringLists.h"
#include "editors/dxExEdtr_DropDown.h"
#include "editors/dxExEdtr_PopupList.h"

class TdxImageEditViewData : public TdxDropDownEditViewData {
  TCLASS_DECL(TdxImageEditViewData, TdxDropDownEditViewData)
 public:
  bool DefaultImages = true;
  TStrings* Descriptions = nullptr;
  TStrings* ImageIndexes = nullptr;
  TCustomImageList* Images = nullptr;
  bool ShowDescription = true;
  TStrings* Values = nullptr;
};

class TdxInplaceImageEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TdxInplaceImageEdit, TdxInplaceDropDownEdit)
 public:
  explicit TdxInplaceImageEdit(TComponent* AOwner);
  ~TdxInplaceImageEdit() override;

  // ----- Class operations.
  // The picture of the value (centred, or at the left before the description or the
  // value's own text).
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData);
  // At least as high as an image.
  static int GetEditHeight(MetaType::TSelf Self, TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);

  // The entry of Value: its description (-1 without one) and its image (-1 for a
  // value not in Values, or an image index entry that is not a number).
  static void GetImageIndexByValue(const AnsiString& Value, TStrings* Values, TStrings* Descriptions,
                                   TStrings* ImageIndexes, bool DefaultImages, int& DescriptionIndex,
                                   int& ImageIndex);
  void GetImageIndexByValue(const AnsiString& Value, int& DescriptionIndex, int& ImageIndex);
  // Image I of an entry: I with DefaultImages, else its ImageIndexes entry (-1 when
  // missing or not a number).
  int EntryImageIndex(int Index);

  // ----- Values.
  bool DefaultImages() const { return FDefaultImages; }
  void SetDefaultImages(bool Value);
  TStrings* Descriptions() const { return FDescriptions; }
  void SetDescriptions(TStrings* Value);
  TStrings* ImageIndexes() const { return FImageIndexes; }
  void SetImageIndexes(TStrings* Value);
  TStrings* Values() const { return FValues; }
  void SetValues(TStrings* Value);
  // Not owned: free-notified, and followed through a change link.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The popup's pictures when set.
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  // The navigation keys step through the values also inside a grid.
  bool Incremental() const { return FIncremental; }
  void SetIncremental(bool Value) { FIncremental = Value; }
  bool MultiLineText() const { return FMultiLineText; }
  void SetMultiLineText(bool Value);
  bool ShowDescription() const { return FShowDescription; }
  void SetShowDescription(bool Value);
  TdxPopupImageListBox* PopupList() const { return FPopupList; }

  // Sets the text when it differs and the editor may change it, and marks it modified.
  virtual void SetValueText(const AnsiString& Text);

  void ScrollValue(int Delta, bool Wrap) override;
  void DropDown() override;
  void CloseUp(bool Accept) override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Dispatch(TMessage& Message) override;

 protected:
  bool IsNativeEdit() override { return false; }
  bool CanRevertText() override { return true; }
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ImagesChanged(TObject* Sender);
  void SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);
  void SetValueIndex(int Index);

  bool FDefaultImages = true;
  TStringList* FDescriptions = nullptr;
  TChangeLink* FImagesChangeLink = nullptr;
  TStringList* FImageIndexes = nullptr;
  TCustomImageList* FImages = nullptr;
  bool FIncremental = false;
  TChangeLink* FLargeImagesChangeLink = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  bool FMultiLineText = false;
  TdxPopupImageListBox* FPopupList = nullptr;
  bool FShowDescription = true;
  TStringList* FValues = nullptr;
};
