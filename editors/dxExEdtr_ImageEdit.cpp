#include "editors/dxExEdtr_ImageEdit.h"

#include <algorithm>

#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "editors/dxDrawing.h"

TCLASS_IMPL(TdxImageEditViewData)
TCLASS_IMPL(TdxInplaceImageEdit)

namespace {

// A decimal image index, or -1 for a text that is not one.
int ImageIndexOf(const AnsiString& Text) {
  int Index = -1;
  return TryStrToInt(Text, Index) ? Index : -1;
}

bool ValidImage(TCustomImageList* Images, int Index) { return Images && Index >= 0 && Index < Images->Count(); }

bool StartsWithText(const AnsiString& Text, const AnsiString& Start) {
  if (Start.empty() || Text.size() < Start.size()) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Text.data(), static_cast<int>(Start.size()),
                        Start.data(), static_cast<int>(Start.size())) == CSTR_EQUAL;
}

}  // namespace

TdxInplaceImageEdit::TdxInplaceImageEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
  TControlStyle Styles = ControlStyle();
  Styles.Include(csCaptureMouse);
  SetControlStyle(Styles);
  ClientAreaIsButton = true;
  FDescriptions = NewObject<TStringList>();
  FImageIndexes = NewObject<TStringList>();
  FValues = NewObject<TStringList>();
  FImagesChangeLink = NewObject<TChangeLink>();
  FImagesChangeLink->OnChange = TNotifyEvent::Bind<&TdxInplaceImageEdit::ImagesChanged>(this);
  FLargeImagesChangeLink = NewObject<TChangeLink>();
  FLargeImagesChangeLink->OnChange = TNotifyEvent::Bind<&TdxInplaceImageEdit::ImagesChanged>(this);
  FPopupList = NewObject<TdxPopupImageListBox>(this);
  FPopupList->SetEditor(this);
  FPopupList->OnMouseUp = TMouseEvent::Bind<&TdxInplaceDropDownEdit::PopupMouseUp>(this);
}

TdxInplaceImageEdit::~TdxInplaceImageEdit() {
  FreeAndNil(FLargeImagesChangeLink);
  FreeAndNil(FImagesChangeLink);
  FreeAndNil(FValues);
  FreeAndNil(FImageIndexes);
  FreeAndNil(FDescriptions);
}

// ---------------------------------------------------------------------------------
// Class operations

void TdxInplaceImageEdit::GetImageIndexByValue(const AnsiString& Value, TStrings* Values, TStrings* Descriptions,
                                               TStrings* ImageIndexes, bool DefaultImages, int& DescriptionIndex,
                                               int& ImageIndex) {
  ImageIndex = Values ? Values->IndexOf(Value) : -1;
  DescriptionIndex = Descriptions && ImageIndex < Descriptions->Count() ? ImageIndex : -1;
  if (!DefaultImages && ImageIndex >= 0 && ImageIndexes && ImageIndex < ImageIndexes->Count())
    ImageIndex = ImageIndexOf(ImageIndexes->Strings(ImageIndex));
}

bool TdxInplaceImageEdit::DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow,
                                      TdxEditViewData* ViewData) {
  auto* Data = dynamic_cast<TdxImageEditViewData*>(ViewData);
  if (!Data) return inherited::DrawContent(Self, DC, R, IsWindow, ViewData);
  int DescriptionIndex = -1;
  int ImageIndex = -1;
  GetImageIndexByValue(Data->Text, Data->Values, Data->Descriptions, Data->ImageIndexes, Data->DefaultImages,
                       DescriptionIndex, ImageIndex);
  const int W = Data->Images ? Data->Images->Width() : 0;
  const int H = Data->Images ? Data->Images->Height() : 0;
  const bool Fill = !Data->MeasureOnly && !Data->NoBackground;
  if (!Data->ShowDescription) {
    if (Data->MeasureOnly) return true;
    if (Fill) FillRect(DC, &R, Data->Brush);
    if (W != 0 && ValidImage(Data->Images, ImageIndex))
      DrawImageListImage(DC, (R.left + R.right - W) / 2, (R.top + R.bottom - H) / 2, Data->Images, ImageIndex);
    return true;
  }
  TRect TextRect = R;
  if (W != 0) {
    TRect Picture{R.left, R.top, std::min<LONG>(R.left + W, R.right), R.bottom};
    if (Fill) FillRect(DC, &Picture, Data->Brush);
    if (!Data->MeasureOnly && ValidImage(Data->Images, ImageIndex))
      DrawImageListImage(DC, R.left, (R.top + R.bottom - H) / 2, Data->Images, ImageIndex);
    TextRect.left = Picture.right;
  }
  // The text routine draws the description in place of the value.
  const AnsiString Value = Data->Text;
  auto Restore = ScopeExit([&] { Data->SetText(Value); });
  if (DescriptionIndex != -1) Data->SetText(Data->Descriptions->Strings(DescriptionIndex));
  return inherited::DrawContent(Self, DC, TextRect, IsWindow, ViewData);
}

int TdxInplaceImageEdit::GetEditHeight(MetaType::TSelf Self, TdxEditViewData* ViewData) {
  int Height = inherited::GetEditHeight(Self, ViewData);
  auto* Data = dynamic_cast<TdxImageEditViewData*>(ViewData);
  if (Data && Data->Images) Height = std::max(Height, Data->Images->Height());
  return Height;
}

TdxEditViewDataClass TdxInplaceImageEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxImageEditViewData::StaticClass();
}

TdxEditViewData* TdxInplaceImageEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  if (auto* Data = dynamic_cast<TdxImageEditViewData*>(ViewData.get())) {
    Data->DefaultImages = FDefaultImages;
    Data->Descriptions = FDescriptions;
    Data->ImageIndexes = FImageIndexes;
    Data->Images = FImages;
    Data->ShowDescription = FShowDescription;
    Data->Values = FValues;
    if (FMultiLineText) Data->VerticalLayout = 3;
    // Only a standalone editor with its list closed shows the focus.
    Data->Focused = Data->Focused && !InPlace() && !DroppedDown();
  }
  return ViewData.release();
}

// ---------------------------------------------------------------------------------
// Values

void TdxInplaceImageEdit::GetImageIndexByValue(const AnsiString& Value, int& DescriptionIndex, int& ImageIndex) {
  GetImageIndexByValue(Value, FValues, FDescriptions, FImageIndexes, FDefaultImages, DescriptionIndex, ImageIndex);
}

int TdxInplaceImageEdit::EntryImageIndex(int Index) {
  if (FDefaultImages) return Index;
  return Index < FImageIndexes->Count() ? ImageIndexOf(FImageIndexes->Strings(Index)) : -1;
}

void TdxInplaceImageEdit::SetDefaultImages(bool Value) {
  if (FDefaultImages == Value) return;
  FDefaultImages = Value;
  Invalidate();
}

void TdxInplaceImageEdit::SetShowDescription(bool Value) {
  if (FShowDescription == Value) return;
  FShowDescription = Value;
  Invalidate();
}

void TdxInplaceImageEdit::SetDescriptions(TStrings* Value) {
  FDescriptions->Assign(Value);
  StyleLayoutChanged();
}

void TdxInplaceImageEdit::SetImageIndexes(TStrings* Value) {
  FImageIndexes->Assign(Value);
  StyleLayoutChanged();
}

void TdxInplaceImageEdit::SetValues(TStrings* Value) {
  FValues->Assign(Value);
  StyleLayoutChanged();
}

void TdxInplaceImageEdit::SetMultiLineText(bool Value) {
  FMultiLineText = Value;
  StyleLayoutChanged();
}

void TdxInplaceImageEdit::SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value) {
  // Images and LargeImages may be one list: it is still followed in the other role.
  if (ReplaceImageList(this, Field, Link, Value,
                       Field == (&Field == &FImages ? FLargeImages : FImages)))
    StyleLayoutChanged();
}

void TdxInplaceImageEdit::SetImages(TCustomImageList* Value) { SetImageList(FImages, FImagesChangeLink, Value); }

void TdxInplaceImageEdit::SetLargeImages(TCustomImageList* Value) {
  SetImageList(FLargeImages, FLargeImagesChangeLink, Value);
}

void TdxInplaceImageEdit::ImagesChanged(TObject* /*Sender*/) { StyleLayoutChanged(); }

void TdxInplaceImageEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
}

void TdxInplaceImageEdit::SetValueText(const AnsiString& Text) {
  if (Text == GetText() || !CanEditLinked() || !CanModify()) return;
  SetText(Text);
  SetModified(true);
}

void TdxInplaceImageEdit::SetValueIndex(int Index) {
  if (Index >= 0 && Index < FValues->Count()) SetValueText(FValues->Strings(Index));
}

// ---------------------------------------------------------------------------------
// Keys

void TdxInplaceImageEdit::ScrollValue(int Delta, bool /*Wrap*/) {
  if (GetReadOnly() || FValues->Count() == 0) return;
  int I = FValues->IndexOf(GetText());
  I = I == -1 ? 0 : std::clamp(I + Delta, 0, FValues->Count() - 1);
  SetValueIndex(I);
}

void TdxInplaceImageEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!InPlace() || FIncremental) {
    const int Page = DropDownRows() - 1;
    switch (Key) {
      case VK_PRIOR: ScrollValue(-Page, false); Key = 0; break;
      case VK_NEXT: ScrollValue(Page, false); Key = 0; break;
      case VK_HOME:
        if (!GetReadOnly()) SetValueIndex(0);
        Key = 0;
        break;
      case VK_END:
        if (!GetReadOnly()) SetValueIndex(FValues->Count() - 1);
        Key = 0;
        break;
      case VK_LEFT:
      case VK_UP: ScrollValue(-1, false); Key = 0; break;
      case VK_RIGHT:
      case VK_DOWN: ScrollValue(1, false); Key = 0; break;
    }
  }
  if (InPlace()) {
    if (Key == VK_LEFT) MoveColumn(true);
    if (Key == VK_RIGHT) MoveColumn(false);
  }
  inherited::KeyDown(Key, Shift);
}

// A letter jumps to the next entry whose description starts with it, round from the
// entry after the current one. Only descriptions that have a value take part.
void TdxInplaceImageEdit::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (static_cast<unsigned char>(Key) < 32) return;
  const AnsiString Typed(1, Key);
  const int Count = std::min(FDescriptions->Count(), FValues->Count());
  const int Current = FValues->IndexOf(GetText());
  const int Start = Current == -1 ? 0 : Current + 1;
  for (int Step = 0; Step < Count; ++Step) {
    const int I = (Start + Step) % Count;
    if (!StartsWithText(FDescriptions->Strings(I), Typed)) continue;
    if (I != Current) SetValueText(FValues->Strings(I));
    return;
  }
}

// ---------------------------------------------------------------------------------
// The list

void TdxInplaceImageEdit::DropDown() {
  if (!CanEditLinked() || !HandleAllocated()) return;
  if (GetFocus() != Handle()) ::SetFocus(Handle());
  if (GetFocus() != Handle()) return;
  DoEditButtonClick();
  if (FValues->Count() == 0) return;
  SetPopup(FPopupList);
  FPopupList->SetImages(FLargeImages ? FLargeImages : FImages);
  FPopupList->SetMultiLine(FMultiLineText);
  PrepareList(FPopupList);
  TStrings* Items = FPopupList->Items();
  Items->Clear();
  int TextWidth = 0;
  for (int I = 0; I < FValues->Count(); ++I) {
    const AnsiString Text = I < FDescriptions->Count() ? FDescriptions->Strings(I) : AnsiString();
    const int Image = EntryImageIndex(I);
    Items->AddObject(Text, TdxPopupImageListBox::ImageIndexObject(Image < 0 ? -2 : Image));
    TextWidth = std::max(TextWidth, FPopupList->TextWidth(Text));
  }
  const int ItemHeight = FPopupList->MeasuredItemHeight();
  int ClientWidth = DropDownWidth();
  if (ClientWidth == 0) {
    int Picture = ItemHeight;
    if (FLargeImages)
      Picture = FLargeImages->Width();
    else if (FPopupList->Images())
      Picture = FPopupList->Images()->Width();
    ClientWidth = std::max(TextWidth + 2, 10) + 4 + Picture;
  }
  FPopupList->SetClientSize(ClientWidth, std::min(Items->Count(), DropDownRows()) * ItemHeight);
  FPopupList->SetItemIndex(FValues->IndexOf(GetText()));
  ShowList(FPopupList);
}

void TdxInplaceImageEdit::CloseUp(bool Accept) {
  if (!DroppedDown()) return;
  HideList(FPopupList);
  const int Index = FPopupList->ItemIndex();
  if (Index < 0 || Index >= FValues->Count()) return;
  Variant Value(FValues->Strings(Index));
  DoCloseUp(Value, Accept);
  if (Accept) SetValueText(VarToStr(Value));
}

void TdxInplaceImageEdit::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == WM_GETDLGCODE) Message.Result |= DLGC_WANTARROWS;
}
