#include "editors/dxExEdtr_ButtonEdit.h"

#include "classlib/Classes_Streaming.h"
#include "classlib/TypInfo.h"

TCLASS_IMPL(TdxButtonEditViewData)
TCLASS_IMPL(TdxInplaceEditButtons)
TCLASS_IMPL(TdxInplaceButtonEdit)

void TdxInplaceEditButtons::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (auto* Editor = dynamic_cast<TdxInplaceButtonEdit*>(GetOwner())) Editor->StyleLayoutChanged();
}

TdxInplaceButtonEdit::TdxInplaceButtonEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
  FButtons = NewObject<TdxInplaceEditButtons>(this, &TdxEditButton::StaticClass());
  FButtons->Add();
  FClickKey = ShortCut(VK_RETURN, TShiftState{ssCtrl});
}

TdxInplaceButtonEdit::~TdxInplaceButtonEdit() { FreeAndNil(FButtons); }

// ---------------------------------------------------------------------------------
// Layout and view data

void TdxInplaceButtonEdit::CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                                        TdxEditDrawInfo& DrawInfo) {
  auto* Data = dynamic_cast<TdxButtonEditViewData*>(ViewData);
  if (Data && Data->ButtonsOnly && Data->ButtonCount > 0) {
    // The content before the buttons take their room.
    TdxInplaceMaskEdit::CalcDrawInfo(Self, ViewData, AutoHeight, DrawInfo);
    int Total = 0;
    for (int I = 0; I < Data->ButtonCount; ++I) Total += Data->Buttons[I].Width;
    int Room = DrawInfo.ContentRect.right - DrawInfo.ContentRect.left;
    if (Total < Room) Data->Buttons[Data->ButtonCount - 1].Width += Room - Total;
  }
  inherited::CalcDrawInfo(Self, ViewData, AutoHeight, DrawInfo);
  if (Data && Data->ButtonsOnly) DrawInfo.ContentRect.right = DrawInfo.ContentRect.left;
}

TdxEditViewDataClass TdxInplaceButtonEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxButtonEditViewData::StaticClass();
}

bool TdxInplaceButtonEdit::DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow,
                                       TdxEditViewData* ViewData) {
  auto* Data = dynamic_cast<TdxButtonEditViewData*>(ViewData);
  return inherited::DrawContent(Self, DC, R, IsWindow && !(Data && Data->HideEditCursor), ViewData);
}

TdxEditViewData* TdxInplaceButtonEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  if (auto* Data = dynamic_cast<TdxButtonEditViewData*>(ViewData.get())) {
    Data->ButtonsOnly = FViewStyle == bvsButtonsOnly && FButtons && FButtons->Count() > 0;
    Data->EditButtons = FButtons;
    Data->HideEditCursor = FViewStyle != bvsNormal;
  }
  return ViewData.release();
}

void TdxInplaceButtonEdit::FillButtons(TdxDropDownEditViewData* ViewData) {
  inherited::FillButtons(ViewData);
  if (!FButtons || ViewData->ButtonsHidden) return;
  ViewData->ButtonCount = FButtons->VisibleCount();
  for (int I = 0; I < ViewData->ButtonCount; ++I) {
    TdxEditButton* Button = FButtons->GetVisibleItem(I);
    TdxEditButtonDrawData& Data = ViewData->Buttons[I];
    // A button without a glyph is asked for none: asking would make an empty bitmap.
    Data.Glyph = Button->HasGlyph() ? Button->Glyph() : nullptr;
    Data.Index = I;
    Data.Kind = Button->Kind();
    Data.LeftAlignment = Button->LeftAlignment();
    Data.Width = Button->Width() != 0 ? Button->Width() : DefaultButtonWidth(ViewData, Data);
  }
}

// ---------------------------------------------------------------------------------
// Values and clicks

void TdxInplaceButtonEdit::SetViewStyle(TdxButtonEditViewStyle Value) {
  if (FViewStyle == Value) return;
  FViewStyle = Value;
  RecreateWnd();
}

void TdxInplaceButtonEdit::ClickDefaultButton() {
  for (int I = 0; I < FButtons->VisibleCount(); ++I)
    if (FButtons->GetVisibleItem(I)->Default()) {
      ButtonClick(I);
      return;
    }
}

void TdxInplaceButtonEdit::ButtonClick(int VisibleIndex) {
  if (OnButtonClick.Assigned() && VisibleIndex >= 0 && VisibleIndex < FButtons->VisibleCount())
    OnButtonClick(this, FButtons->VisibleIndexToIndex(VisibleIndex));
  DoEditButtonClick();
}

void TdxInplaceButtonEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!IsNativeEdit()) {
    if (Key == VK_LEFT) MoveColumn(true);
    if (Key == VK_RIGHT) MoveColumn(false);
  }
  if (FButtons->Count() > 0 && ShortCut(Key, Shift) == FClickKey && CanEditLinked()) {
    RemovePendingChar();
    ClickDefaultButton();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TdxInplaceButtonEdit::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == WM_GETDLGCODE && InPlace()) Message.Result |= DLGC_WANTARROWS;
}

// ---------------------------------------------------------------------------------
// Form files

void TdxInplaceButtonEdit::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty("ExistButtons", TReaderProc::Bind<&TdxInplaceButtonEdit::ReadExistButtons>(this),
                        TWriterProc::Bind<&TdxInplaceButtonEdit::WriteExistButtons>(this), FButtons->Count() > 0);
}

void TdxInplaceButtonEdit::ReadExistButtons(TReader* Reader) { FExistButtons = Reader->ReadBoolean(); }

void TdxInplaceButtonEdit::WriteExistButtons(TWriter* Writer) { Writer->WriteBoolean(FButtons->Count() > 0); }

void TdxInplaceButtonEdit::Loaded() {
  inherited::Loaded();
  if (!FExistButtons) FButtons->Clear();
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxButtonEdit() {
  TPublish<TdxEditButton> B;
  B.Prop("Default", &TdxEditButton::Default, &TdxEditButton::SetDefault).Default(false);
  // Written only when the button has a picture (reading it makes the bitmap).
  B.Prop("Glyph", &TdxEditButton::Glyph, &TdxEditButton::SetGlyph).Stored(&TdxEditButton::HasGlyph);
  B.Prop("Kind", &TdxEditButton::Kind, &TdxEditButton::SetKind).Default(bkEllipsis);
  B.Prop("LeftAlignment", &TdxEditButton::LeftAlignment, &TdxEditButton::SetLeftAlignment).Default(false);
  B.Prop("Visible", &TdxEditButton::Visible, &TdxEditButton::SetVisible).Default(true);
  B.Prop("Width", &TdxEditButton::Width, &TdxEditButton::SetWidth).Default(0);
  TPublish<TdxInplaceButtonEdit> E;
  E.Prop("Buttons", &TdxInplaceButtonEdit::Buttons, &TdxInplaceButtonEdit::SetButtons);
  E.Prop("ClickKey", &TdxInplaceButtonEdit::ClickKey, &TdxInplaceButtonEdit::SetClickKey).Default(0x400D);
  E.Prop("ViewStyle", &TdxInplaceButtonEdit::ViewStyle, &TdxInplaceButtonEdit::SetViewStyle).Default(0);
  E.Prop("OnButtonClick", &TdxInplaceButtonEdit::OnButtonClick);
}

void DonedxButtonEdit() {
  UnRegisterPublished(&TdxInplaceButtonEdit::StaticClass());
  UnRegisterPublished(&TdxEditButton::StaticClass());
}
