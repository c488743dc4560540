#include "editors/dxExEdtr_Blob.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "editors/dxCntner.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxBlobEditViewData)
TCLASS_IMPL(TdxInplaceBlobEdit)

TdxInplaceBlobEdit::TdxInplaceBlobEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
  FClipboardFormat = CF_PICTURE;
  // The open popup takes the keyboard; a press anywhere in the cell drops it down.
  SetPopupKeepsEditorFocus(false);
  ClientAreaIsButton = true;
}

TdxInplaceBlobEdit::~TdxInplaceBlobEdit() { FreeAndNil(FPaintPicture); }

// The popup, a child control, would otherwise go with the other children, and an open
// one would call back into an editor on its way out.
void TdxInplaceBlobEdit::BeforeDestruction() {
  if (FBlobPopup) {
    FBlobPopup->OnClose = nullptr;
    FBlobPopup->OnResize = nullptr;
    FBlobPopup->OnTabOut = nullptr;
    FBlobPopup->OnCanModify = nullptr;
    FBlobPopup->SetEditor(nullptr);
    SetPopup(nullptr);
    FreeAndNil(FBlobPopup);
  }
  inherited::BeforeDestruction();
}

void TdxInplaceBlobEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBlobPopup) {
    FBlobPopup = nullptr;
    SetPopup(nullptr);
  }
}

// ---------------------------------------------------------------------------------
// Painting

int TdxInplaceBlobEdit::IconIndex(TdxBlobEditKind Kind, bool Empty) {
  int Index = 1;
  switch (Kind) {
    case bekMemo: Index = 3; break;
    case bekPict: Index = 5; break;
    case bekOle: Index = 7; break;
    case bekBlob: Index = 1; break;
  }
  return Empty ? Index - 1 : Index;
}

bool TdxInplaceBlobEdit::DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow,
                                     TdxEditViewData* ViewData) {
  auto* Data = dynamic_cast<TdxBlobEditViewData*>(ViewData);
  if (!Data || Data->BlobPaintStyle != bpsIcon) {
    if (Data) {
      Data->EndEllipsis = true;
      Data->VerticalLayout = 1;
    }
    return inherited::DrawContent(Self, DC, R, IsWindow, ViewData);
  }
  if (Data->MeasureOnly) return true;
  if (!Data->NoBackground) FillRect(DC, &R, Data->Brush);
  if (TCustomImageList* Images = Data->Images) {
    const int Index = IconIndex(Data->BlobEditKind, Data->IsEmpty);
    if (Index < Images->Count())
      DrawImageListImage(DC, (R.left + R.right - Images->Width()) / 2, (R.top + R.bottom - Images->Height()) / 2,
                         Images, Index);
  }
  return true;
}

TdxEditViewDataClass TdxInplaceBlobEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxBlobEditViewData::StaticClass();
}

TdxEditViewData* TdxInplaceBlobEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  if (InPlace() || IsPopupVisible()) ViewData->Focused = false;
  if (auto* Data = dynamic_cast<TdxBlobEditViewData*>(ViewData.get())) {
    Data->BlobEditKind = FBlobEditKind;
    Data->BlobPaintStyle = FBlobPaintStyle;
    if (FBlobPaintStyle == bpsIcon) {
      Data->Images = BlobImages();
      Data->IsEmpty = FBlobData.empty();
    }
  }
  return ViewData.release();
}

void TdxInplaceBlobEdit::FillButtons(TdxDropDownEditViewData* ViewData) {
  inherited::FillButtons(ViewData);
  if ((FBlobEditKind == bekOle || FBlobEditKind == bekBlob) && ViewData->ButtonCount > 0)
    ViewData->Buttons[0].Kind = bkEllipsis;
}

// ---------------------------------------------------------------------------------
// The value

void TdxInplaceBlobEdit::SetBlobData(const AnsiString& Text) {
  if (Text == FBlobData) return;
  TCustomdxContainer* Container = GetContainer();
  if (Container && Container->ContainerFlag()) {
    FBlobData = Text;
  } else if (CanModify()) {
    FBlobData = Text;
    Change();
  }
  Invalidate();
}

void TdxInplaceBlobEdit::SetDisplayText(const AnsiString& Text) {
  // The text editor's value setter raises its setting flag: no change is reported.
  TdxInplaceMaskEdit::SetEditValue(Variant(Text));
}

void TdxInplaceBlobEdit::SetBlobEditKind(TdxBlobEditKind Value) {
  FBlobEditKind = Value;
  StyleLayoutChanged();
}

void TdxInplaceBlobEdit::SetBlobPaintStyle(TdxBlobPaintStyle Value) {
  FBlobPaintStyle = Value;
  Invalidate();
}

void TdxInplaceBlobEdit::SetEditValue(const Variant& Value) {
  FBlobData = VarIsNull(Value) || VarIsEmpty(Value) ? AnsiString() : VarToStr(Value);
  Invalidate();
}

Variant TdxInplaceBlobEdit::GetEditValue() {
  if (FBlobEditKind == bekPict) {
    if (!FPaintPicture) FPaintPicture = NewObject<TPicture>();
    LoadPictureFromBlob(FPaintPicture, Variant(FBlobData), GetGraphicClass());
    TPicture* Picture = FPaintPicture;
    DoAssignPicture(Picture);
    TGraphic* Graphic = Picture ? Picture->Graphic() : nullptr;
    return Variant(static_cast<int>(reinterpret_cast<intptr_t>(Graphic)));
  }
  return FBlobData.empty() ? Variant::Null() : Variant(FBlobData);
}

void TdxInplaceBlobEdit::SaveRestorePoint() {
  inherited::SaveRestorePoint();
  FSavedBlobData = FBlobData;
}

void TdxInplaceBlobEdit::RevertToSaved() {
  if (!GetModified()) return;
  FBlobData = FSavedBlobData;
  if (FBlobPaintStyle == bpsText) SetDisplayText(FBlobData);
  Invalidate();
  SetModified(SavedModified());
}

bool TdxInplaceBlobEdit::IsValueEmpty(const Variant& Value) {
  return VarIsNull(Value) || (Value.IsString() && VarToStr(Value).empty());
}

void TdxInplaceBlobEdit::DoAssignPicture(TPicture*& APicture) {
  if (OnAssignPicture.Assigned()) OnAssignPicture(this, APicture);
}

TClass TdxInplaceBlobEdit::GetGraphicClass() {
  TClass Result = FGraphicClass;
  if (OnGetGraphicClass.Assigned()) OnGetGraphicClass(this, Result);
  return Result;
}

void TdxInplaceBlobEdit::PopupResized(int Width, int Height) {
  FPopupWidth = Width;
  FPopupHeight = Height;
  if (OnPopupResized.Assigned()) OnPopupResized(this, Width, Height);
}

void TdxInplaceBlobEdit::PopupClosed() {
  if (!FBlobPopup) return;
  FBlobPopup->SetModified(false);
  if (!CanModify()) return;
  if (FBlobEditKind == bekMemo) {
    const AnsiString Text = FBlobPopup->MemoText();
    SetBlobData(Text);
    if (FBlobPaintStyle == bpsText) SetDisplayText(Text);
  } else if (FBlobEditKind == bekPict) {
    TPicture* Picture = FBlobPopup->Picture();
    if (IsPictureEmpty(Picture)) {
      FGraphicClass = nullptr;
      SetBlobData(AnsiString());
    } else {
      FGraphicClass = Picture->Graphic()->ClassType();
      AnsiString Blob;
      SavePictureToBlob(Picture, Blob);
      SetBlobData(Blob);
    }
  }
  SetModified(true);
}

// ---------------------------------------------------------------------------------
// The popup

void TdxInplaceBlobEdit::PopupClose(TObject* /*Sender*/) { PopupClosed(); }

void TdxInplaceBlobEdit::PopupResize(TObject* /*Sender*/, int Width, int Height) { PopupResized(Width, Height); }

void TdxInplaceBlobEdit::PopupTabOut(TObject* /*Sender*/, bool Backward) {
  if (InPlace()) MoveColumn(Backward);
}

void TdxInplaceBlobEdit::PopupCanModify(TObject* /*Sender*/, bool& Allow) { Allow = CanModify(); }

void TdxInplaceBlobEdit::DropDown() {
  if (DroppedDown() || IsPopupVisible() || !HandleAllocated()) return;
  DoEditButtonClick();
  if (FBlobEditKind != bekMemo && FBlobEditKind != bekPict) return;
  if (!FBlobPopup) {
    FBlobPopup = NewObject<TCustomdxBlobPopup>(this);
    FBlobPopup->SetEditor(this);
    FBlobPopup->SetParent(this);
  }
  TCustomdxBlobPopup* P = FBlobPopup;
  SetPopup(P);
  // Settings that shape the window take effect in a new one.
  if (P->HandleAllocated()) P->DestroyHandle();
  // The text of the last drop-down is not judged against this one's font.
  P->SetMemoValue("");
  P->SetColor(Color());
  P->Font()->Assign(Font());
  P->SetCancelled(false);
  P->SetKind(FBlobEditKind);
  P->SetPopupBorder(ResolvedPopupBorder());
  P->SetShadow(Style()->Shadow());
  P->AlwaysSaveText = FAlwaysSaveText;
  P->MemoCharCase = MemoCharCase;
  P->MemoHideScrollBars = MemoHideScrollBars;
  P->MemoMaxLength = MemoMaxLength;
  P->MemoOEMConvert = MemoOEMConvert;
  P->MemoScrollBars = MemoScrollBars;
  P->MemoSelectionBar = MemoSelectionBar;
  P->MemoWantReturns = MemoWantReturns;
  P->MemoWantTabs = MemoWantTabs;
  P->MemoWordWrap = MemoWordWrap;
  P->PictureAutoSize = FPictureAutoSize;
  P->ShowExPopupItems = FShowExPopupItems;
  P->ShowPicturePopup = FShowPicturePopup;
  P->ClipboardFormat = FClipboardFormat;
  P->GraphicClass = GetGraphicClass();
  P->PictureFilter = FPictureFilter;
  P->SetSizeablePopup(FSizeablePopup);
  P->SetPictureTransparency(FPictureTransparency);
  if (FBlobEditKind == bekPict)
    LoadPictureFromBlob(P->Picture(), Variant(FBlobData), P->GraphicClass);
  else
    P->SetMemoValue(FBlobData);
  P->SetReadOnly(!CanEditLinked());
  P->SetModified(false);
  P->OnClose = TNotifyEvent::Bind<&TdxInplaceBlobEdit::PopupClose>(this);
  P->OnResize = TdxBlobPopupResizeEvent::Bind<&TdxInplaceBlobEdit::PopupResize>(this);
  P->OnTabOut = TEvent<void(TObject*, bool)>::Bind<&TdxInplaceBlobEdit::PopupTabOut>(this);
  P->OnCanModify = TEvent<void(TObject*, bool&)>::Bind<&TdxInplaceBlobEdit::PopupCanModify>(this);
  PlaceBlobPopup();
  SetDroppedDownValue(true);
  P->ShowPopup();
  ::SetFocus(P->Handle());
  Invalidate();
}

void TdxInplaceBlobEdit::PlaceBlobPopup() {
  TCustomdxBlobPopup* P = FBlobPopup;
  RECT EditWindow;
  GetWindowRect(Handle(), &EditWindow);
  TRect Area;
  GetWorkAreaAt(TPoint{EditWindow.left, EditWindow.bottom}, Area);
  const int AreaWidth = Area.right - Area.left;
  const int AreaHeight = Area.bottom - Area.top;
  int Width = std::min(AreaWidth, std::max(FPopupWidth, static_cast<int>(P->MinTrackSize().x)));
  int Height = std::min(AreaHeight, FPopupHeight);
  if (FBlobEditKind == bekPict && FPictureAutoSize && !IsPictureEmpty(P->Picture())) {
    // The picture's size plus the frame and the bar, scaled down to the work area.
    const int Frame = 2 * TdxInplacePopupControl::BorderWidth(P->PopupBorder()) + (P->Shadow() ? P->ShadowSize() : 0);
    const int PW = P->Picture()->Width();
    const int PH = P->Picture()->Height();
    const int ExtraW = Frame;
    const int ExtraH = Frame + P->BarMetrics().Height();
    int CW = PW;
    int CH = PH;
    if (CW + ExtraW > AreaWidth) {
      CH = MulDiv(CH, AreaWidth - ExtraW, CW);
      CW = AreaWidth - ExtraW;
    }
    if (CH + ExtraH > AreaHeight) {
      CW = MulDiv(CW, AreaHeight - ExtraH, CH);
      CH = AreaHeight - ExtraH;
    }
    Width = std::max(CW + ExtraW, static_cast<int>(P->MinTrackSize().x));
    Height = CH + ExtraH;
  }
  P->SetBounds(P->Left(), P->Top(), Width, Height);
  PositionPopup(P, false);
  // The grip goes to the corner away from the editor.
  const bool Above = P->Top() < EditWindow.top;
  const bool Left = P->Left() < EditWindow.left;
  P->SetGripCorner(Above ? (Left ? coTopLeft : coTopRight) : (Left ? coBottomLeft : coBottomRight));
  P->HandleNeeded();
  SetWindowPos(P->Handle(), HWND_TOP, P->Left(), P->Top(), P->Width(), P->Height(),
               SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------------
// Keys and messages

void TdxInplaceBlobEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (InPlace() && (Key == VK_LEFT || Key == VK_RIGHT)) {
    MoveColumn(Key == VK_LEFT);
    Key = 0;
    return;
  }
  if (Key == VK_DELETE) {
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TdxInplaceBlobEdit::KeyPress(char& Key) {
  if (IsPopupVisible()) {
    PostMessageA(FBlobPopup->Handle(), WM_CHAR, static_cast<unsigned char>(Key), 0);
    Key = 0;
    return;
  }
  inherited::KeyPress(Key);
}

void TdxInplaceBlobEdit::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == WM_GETDLGCODE) Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}
