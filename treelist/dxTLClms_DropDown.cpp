// The drop-down column kinds: settings, painted buttons and the editors' hooks.
#include "treelist/dxTLClms_DropDown.h"

#include <cmath>

#include "classlib/DateTime.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms_Common.h"

TCLASS_IMPL(TdxInplaceTreeListDropDownEdit)
TCLASS_IMPL(TdxInplaceTreeListDateEdit)
TCLASS_IMPL(TdxInplaceTreeListButtonEdit)
TCLASS_IMPL(TdxInplaceTreeListImageEdit)
TCLASS_IMPL(TdxInplaceTreeListPickEdit)
TCLASS_IMPL(TdxInplaceTreeListCalcEdit)
TCLASS_IMPL(TdxInplaceTreeListMRUEdit)
TCLASS_IMPL(TdxTreeListDropDownColumn)
TCLASS_IMPL(TdxTreeListDateColumn)
TCLASS_IMPL(TdxColumnEditButtons)
TCLASS_IMPL(TdxTreeListButtonColumn)
TCLASS_IMPL(TdxTreeListImageColumn)
TCLASS_IMPL(TdxTreeListPickColumn)
TCLASS_IMPL(TdxTreeListCalcColumn)
TCLASS_IMPL(TdxTreeListMRUColumn)

namespace {

// The arrow button of a painted drop-down cell, or none when hidden.
void FillArrowButton(TdxDropDownEditViewData* Data) {
  for (auto& Button : Data->Buttons) Button = TdxEditButtonDrawData{};
  Data->ButtonCount = 0;
  if (Data->ButtonsHidden) return;
  Data->ButtonCount = 1;
  TdxEditButtonDrawData& Button = Data->Buttons[0];
  Button.Glyph = Data->ButtonGlyph;
  Button.Kind = Data->ButtonGlyph ? bkGlyph : bkDown;
  Button.Width = DefaultEditButtonWidth(Data->ButtonStyle, Button);
}

// Hands a closing value to a handler that reads and may change it as a text.
void CloseUpAsText(TObject* Sender, const TdxTLPickColumnCloseUp& Event, Variant& Value,
                   bool& Accept) {
  if (!Event.Assigned()) return;
  AnsiString Text = VarToStr(Value);
  Event(Sender, Text, Accept);
  Value = Variant(Text);
}

void CopyBitmap(TBitmap*& Own, TBitmap* Value) {
  if (!Value || Value->Empty()) {
    FreeAndNil(Own);
    return;
  }
  if (!Own) Own = NewObject<TBitmap>();
  Own->Assign(Value);
}

}  // namespace

// ---------------------------------------------------------------------------------
// TdxTreeListDropDownColumn

TdxTreeListDropDownColumn::~TdxTreeListDropDownColumn() { FreeAndNil(FButtonGlyph); }

void TdxTreeListDropDownColumn::AfterConstruction() {
  inherited::AfterConstruction();
  FImmediateDropDown = GetDefaultImmediateDropDown();
}

void TdxTreeListDropDownColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListDropDownColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetShowButtonStyle(Other->FShowButtonStyle);
  SetDropDownRows(Other->FDropDownRows);
  SetDropDownWidth(Other->FDropDownWidth);
  SetImmediateDropDown(Other->FImmediateDropDown);
  SetImmediatePopup(Other->FImmediatePopup);
  SetPopupAlignment(Other->FPopupAlignment);
  SetPopupBorder(Other->FPopupBorder);
  SetButtonGlyph(Other->FButtonGlyph);
  OnEditButtonClick = Other->OnEditButtonClick;
}

void TdxTreeListDropDownColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FShowButtonStyle = TdxShowButtonStyle::sbDefault;
  FDropDownRows = 7;
  FDropDownWidth = 0;
  FImmediateDropDown = GetDefaultImmediateDropDown();
  FImmediatePopup = false;
  FPopupAlignment = taLeftJustify;
  FPopupBorder = pbDefault;
  FreeAndNil(FButtonGlyph);
}

TdxInplaceEditClass TdxTreeListDropDownColumn::GetEditorClass() {
  return &TdxInplaceTreeListDropDownEdit::StaticClass();
}

void TdxTreeListDropDownColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceDropDownEdit>(Editor);
  if (!Edit) return;
  Edit->SetButtonGlyph(FButtonGlyph);
  Edit->SetImmediateDropDown(FImmediateDropDown);
  Edit->SetImmediatePopup(FImmediatePopup);
  Edit->SetPopupAlignment(FPopupAlignment);
  Edit->SetPopupBorder(FPopupBorder);
  Edit->SetDropDownRows(FDropDownRows);
  Edit->SetDropDownWidth(FDropDownWidth);
  Edit->OnCloseUpHook = TdxCloseUpEvent::Bind<&TdxTreeListDropDownColumn::EditorCloseUp>(this);
  Edit->OnEditButtonClickHook =
      TNotifyEvent::Bind<&TdxTreeListDropDownColumn::EditorButtonClick>(this);
}

void TdxTreeListDropDownColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceDropDownEdit>(Editor)) {
    Unbind(Edit->OnCloseUpHook);
    Unbind(Edit->OnEditButtonClickHook);
  }
}

void TdxTreeListDropDownColumn::FillViewData(TdxEditViewData* ViewData,
                                             const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  auto* Data = ObjectAs<TdxDropDownEditViewData>(ViewData);
  if (!Data) return;
  Data->ButtonGlyph = HasButtonGlyph() ? FButtonGlyph : nullptr;
  Data->ButtonsHidden = !ShowEditButton(CellInfo.Node);
  Data->HotButton = -1;
  Data->PressedButton = -1;
  FillArrowButton(Data);
}

bool TdxTreeListDropDownColumn::IsShowButton(bool Default) {
  return EditorShowsButton(this, FShowButtonStyle, Default);
}

void TdxTreeListDropDownColumn::DoCloseUp(Variant& /*Value*/, bool& /*Accept*/) {}

void TdxTreeListDropDownColumn::DoEditButtonClick() {
  if (OnEditButtonClick.Assigned()) OnEditButtonClick(this);
}

bool TdxTreeListDropDownColumn::ShowEditButton(TdxTreeListNode* Node) {
  return PaintedCellShowsButton(this, FShowButtonStyle, Node);
}

void TdxTreeListDropDownColumn::EditorCloseUp(TObject* /*Sender*/, Variant& Value, bool& Accept) {
  DoCloseUp(Value, Accept);
}

void TdxTreeListDropDownColumn::EditorButtonClick(TObject* /*Sender*/) { DoEditButtonClick(); }

void TdxTreeListDropDownColumn::SetShowButtonStyle(TdxShowButtonStyle Value) {
  if (StoreChanged(FShowButtonStyle, Value)) Changed(false);
}
void TdxTreeListDropDownColumn::SetDropDownRows(int Value) { if (StoreChanged(FDropDownRows, Value)) Changed(false); }
void TdxTreeListDropDownColumn::SetDropDownWidth(int Value) {
  if (StoreChanged(FDropDownWidth, Value)) Changed(false);
}
void TdxTreeListDropDownColumn::SetImmediateDropDown(bool Value) {
  if (StoreChanged(FImmediateDropDown, Value)) Changed(false);
}
void TdxTreeListDropDownColumn::SetImmediatePopup(bool Value) {
  if (StoreChanged(FImmediatePopup, Value)) Changed(false);
}
void TdxTreeListDropDownColumn::SetPopupAlignment(TAlignment Value) {
  if (StoreChanged(FPopupAlignment, Value)) Changed(false);
}
void TdxTreeListDropDownColumn::SetPopupBorder(TdxPopupBorder Value) {
  if (StoreChanged(FPopupBorder, Value)) Changed(false);
}

TBitmap* TdxTreeListDropDownColumn::ButtonGlyph() {
  if (!FButtonGlyph) FButtonGlyph = NewObject<TBitmap>();
  return FButtonGlyph;
}

void TdxTreeListDropDownColumn::SetButtonGlyph(TBitmap* Value) {
  if (Value == FButtonGlyph) return;
  CopyBitmap(FButtonGlyph, Value);
  Changed(false);
}

// ---------------------------------------------------------------------------------
// TdxTreeListDateColumn

void TdxTreeListDateColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListDateColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetDateButtons(Other->FDateButtons);
  SetDateOnError(Other->FDateOnError);
  SetDateValidation(Other->FDateValidation);
  SetSaveTime(Other->FSaveTime);
  SetUseEditMask(Other->FUseEditMask);
  OnDateValidateInput = Other->OnDateValidateInput;
}

void TdxTreeListDateColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FDateButtons = TDateButtons{btnToday, btnClear};
  FDateOnError = deToday;
  FDateValidation = false;
  FSaveTime = true;
  FUseEditMask = false;
}

TdxInplaceEditClass TdxTreeListDateColumn::GetEditorClass() {
  return &TdxInplaceTreeListDateEdit::StaticClass();
}

void TdxTreeListDateColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceDateEdit>(Editor);
  if (!Edit) return;
  Edit->SetDateButtons(FDateButtons);
  Edit->SetDateOnError(FDateOnError);
  Edit->SetDateValidation(FDateValidation);
  Edit->SetSaveTime(FSaveTime);
  Edit->SetUseEditMask(FUseEditMask);
  Edit->OnDateValidateInput =
      TdxDateValidateInputEvent::Bind<&TdxTreeListDateColumn::EditorDateValidateInput>(this);
}

void TdxTreeListDateColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                               Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceDateEdit>(Editor);
  if (!Edit) {
    inherited::AssignNodeToEditor(Node, Editor, Value);
    return;
  }
  Edit->LoadText(Node->Strings(Index()));
  Value = Variant(Edit->Text());
}

void TdxTreeListDateColumn::SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                                   Variant& Value) {
  inherited::SetNodeValueFromEditor(Node, Editor, Value);
  auto* Edit = ObjectAs<TdxInplaceDateEdit>(Editor);
  if (!Edit || Edit->GetDate() == NullDate || !Edit->ShowsStoredText()) return;
  TDateTime Read = NullDate;
  const double HalfSecond = 500.0 / MSecsPerDay;
  if (TextToDate(Node->Strings(Index()), Read) && std::fabs(Read - Edit->GetDate()) < HalfSecond) return;
  Node->SetStrings(Index(), DateToText(Edit->GetDate()));
  Value = Node->Values(Index());
}

void TdxTreeListDateColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceDateEdit>(Editor)) Unbind(Edit->OnDateValidateInput);
}

void TdxTreeListDateColumn::EditorDateValidateInput(TObject* /*Sender*/, const AnsiString& Text,
                                                    TDateTime& Date, AnsiString& Message,
                                                    bool& Error) {
  if (OnDateValidateInput.Assigned()) OnDateValidateInput(this, Text, Date, Message, Error);
}

void TdxTreeListDateColumn::SetDateButtons(TDateButtons Value) {
  if (StoreChanged(FDateButtons, Value)) Changed(false);
}
void TdxTreeListDateColumn::SetDateOnError(TDateOnError Value) {
  if (StoreChanged(FDateOnError, Value)) Changed(false);
}
void TdxTreeListDateColumn::SetDateValidation(bool Value) {
  if (StoreChanged(FDateValidation, Value)) Changed(false);
}
void TdxTreeListDateColumn::SetSaveTime(bool Value) { if (StoreChanged(FSaveTime, Value)) Changed(false); }
void TdxTreeListDateColumn::SetUseEditMask(bool Value) { if (StoreChanged(FUseEditMask, Value)) Changed(false); }

// ---------------------------------------------------------------------------------
// TdxColumnEditButtons and TdxTreeListButtonColumn

TdxColumnEditButtons::TdxColumnEditButtons(TdxTreeListButtonColumn* AColumn)
    : TdxEditButtons(AColumn, &TdxEditButton::StaticClass()), FColumn(AColumn) {}

void TdxColumnEditButtons::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  FColumn->Changed(false);
}

TdxTreeListButtonColumn::TdxTreeListButtonColumn(TComponent* AOwner)
    : TdxTreeListDropDownColumn(AOwner) {
  FButtons = NewObject<TdxColumnEditButtons>(this);
  FButtons->Add();
}

TdxTreeListButtonColumn::~TdxTreeListButtonColumn() {
  FreeAndNil(FButtons);
  FreeAndNil(FGlyph);
}

void TdxTreeListButtonColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListButtonColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetButtonOnly(Other->FButtonOnly);
  FEditButtonStyle = Other->FEditButtonStyle;
  SetButtons(Other->FButtons);
  SetClickKey(Other->FClickKey);
  if (Other->HasGlyph()) {
    Glyph()->Assign(Other->FGlyph);
    Changed(false);
  }
  SetHideEditCursor(Other->FHideEditCursor);
  OnButtonClick = Other->OnButtonClick;
}

void TdxTreeListButtonColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FButtonOnly = false;
  if (FButtons) {
    // One button restored to its defaults, as a new column holds.
    TUpdateScope Updating(FButtons);
    while (FButtons->Count() > 1) FButtons->Delete(FButtons->Count() - 1);
    if (FButtons->Count() == 0) FButtons->Add();
    FButtons->RestoreDefaults();
  }
  FEditButtonStyle = ebsEllipsis;
  FClickKey = dxCtrlEnter;
  if (FGlyph) FGlyph->Assign(nullptr);
  FHideEditCursor = false;
}

TdxInplaceEditClass TdxTreeListButtonColumn::GetEditorClass() {
  return &TdxInplaceTreeListButtonEdit::StaticClass();
}

void TdxTreeListButtonColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceButtonEdit>(Editor);
  if (!Edit) return;
  Edit->SetButtons(FButtons);
  Edit->SetClickKey(FClickKey);
  Edit->SetViewStyle(FButtonOnly ? bvsButtonsOnly : FHideEditCursor ? bvsHideCursor : bvsNormal);
  Edit->OnButtonClick = TdxEditButtonClickEvent::Bind<&TdxTreeListButtonColumn::DoButtonClick>(this);
}

void TdxTreeListButtonColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceButtonEdit>(Editor)) Unbind(Edit->OnButtonClick);
}

void TdxTreeListButtonColumn::FillViewData(TdxEditViewData* ViewData,
                                           const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  auto* Data = ObjectAs<TdxButtonEditViewData>(ViewData);
  if (!Data) return;
  if (Data->ButtonsHidden) {
    Data->ButtonsOnly = false;
    Data->EditButtons = nullptr;
    Data->HideEditCursor = false;
    return;
  }
  Data->ButtonsOnly = FButtonOnly && FButtons->Count() > 0;
  Data->EditButtons = FButtons;
  Data->HideEditCursor = FHideEditCursor;
  // The buttons the editor would show.
  Data->ButtonCount = FButtons->VisibleCount();
  for (int I = 0; I < Data->ButtonCount; ++I) {
    TdxEditButton* Button = FButtons->GetVisibleItem(I);
    TdxEditButtonDrawData& Draw = Data->Buttons[I];
    Draw = TdxEditButtonDrawData{};
    Draw.Glyph = Button->HasGlyph() ? Button->Glyph() : nullptr;
    Draw.Index = I;
    Draw.Kind = Button->Kind();
    Draw.LeftAlignment = Button->LeftAlignment();
    Draw.Width = Button->Width() != 0 ? Button->Width()
                                      : DefaultEditButtonWidth(Data->ButtonStyle, Draw);
  }
}

void TdxTreeListButtonColumn::DoButtonClick(TObject* /*Sender*/, int AbsoluteIndex) {
  if (OnButtonClick.Assigned()) OnButtonClick(this, AbsoluteIndex);
}

void TdxTreeListButtonColumn::SetButtonOnly(bool Value) { if (StoreChanged(FButtonOnly, Value)) Changed(false); }

void TdxTreeListButtonColumn::SetEditButtonStyle(TdxEditButtonStyle Value) {
  if (Value == FEditButtonStyle) return;
  FEditButtonStyle = Value;
  if (Value == ebsSimple) {
    FButtons->Clear();
  } else {
    TUpdateScope Updating(FButtons);
    if (FButtons->Count() == 0) FButtons->Add();
    static constexpr TdxEditButtonKind Kinds[] = {bkEllipsis, bkEllipsis, bkDown, bkGlyph};
    FButtons->GetItem(0)->SetKind(Kinds[Value]);
  }
  Changed(false);
}

void TdxTreeListButtonColumn::SetClickKey(TShortCut Value) { if (StoreChanged(FClickKey, Value)) Changed(false); }

TBitmap* TdxTreeListButtonColumn::Glyph() {
  if (!FGlyph) FGlyph = NewObject<TBitmap>();
  return FGlyph;
}

void TdxTreeListButtonColumn::SetGlyph(TBitmap* Value) {
  if (Value == FGlyph) return;
  if (Value)
    Glyph()->Assign(Value);
  else
    FreeAndNil(FGlyph);
  if (FButtons->Count() > 0) FButtons->GetItem(0)->SetGlyph(FGlyph);
  Changed(false);
}

void TdxTreeListButtonColumn::SetHideEditCursor(bool Value) {
  if (StoreChanged(FHideEditCursor, Value)) Changed(false);
}

// ---------------------------------------------------------------------------------
// TdxTreeListImageColumn

TdxTreeListImageColumn::TdxTreeListImageColumn(TComponent* AOwner)
    : TdxTreeListDropDownColumn(AOwner) {
  FDescriptions = NewObject<TStringList>();
  FImageIndexes = NewObject<TStringList>();
  FValues = NewObject<TStringList>();
  for (TStringList* List : {FDescriptions, FImageIndexes, FValues})
    List->OnChange = TNotifyEvent::Bind<&TdxTreeListImageColumn::ListChanged>(this);
  FImagesLink = NewObject<TChangeLink>();
  FImagesLink->OnChange = TNotifyEvent::Bind<&TdxTreeListImageColumn::ImagesChanged>(this);
  FLargeImagesLink = NewObject<TChangeLink>();
  SetMinWidth(16);
}

TdxTreeListImageColumn::~TdxTreeListImageColumn() {
  SetImageList(FImages, FImagesLink, nullptr);
  SetImageList(FLargeImages, FLargeImagesLink, nullptr);
  FreeAndNil(FImagesLink);
  FreeAndNil(FLargeImagesLink);
  FreeAndNil(FDescriptions);
  FreeAndNil(FImageIndexes);
  FreeAndNil(FValues);
}

void TdxTreeListImageColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListImageColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetDefaultImages(Other->FDefaultImages);
  SetDescriptions(Other->FDescriptions);
  SetImageIndexes(Other->FImageIndexes);
  SetValues(Other->FValues);
  SetImages(Other->FImages);
  SetLargeImages(Other->FLargeImages);
  SetIncremental(Other->FIncremental);
  SetMultiLineText(Other->FMultiLineText);
  SetShowDescription(Other->FShowDescription);
  OnCloseUp = Other->OnCloseUp;
}

void TdxTreeListImageColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetMinWidth(16);
  FDefaultImages = true;
  FIncremental = false;
  FMultiLineText = false;
  FShowDescription = false;
}

TdxInplaceEditClass TdxTreeListImageColumn::GetEditorClass() {
  return &TdxInplaceTreeListImageEdit::StaticClass();
}

void TdxTreeListImageColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceImageEdit>(Editor);
  if (!Edit) return;
  Edit->SetDefaultImages(FDefaultImages);
  Edit->SetDescriptions(FDescriptions);
  Edit->SetImages(FImages);
  Edit->SetImageIndexes(FImageIndexes);
  Edit->SetIncremental(FIncremental);
  Edit->SetLargeImages(FLargeImages);
  Edit->SetMultiLineText(FMultiLineText);
  Edit->SetShowDescription(FShowDescription);
  Edit->SetValues(FValues);
}

void TdxTreeListImageColumn::FillViewData(TdxEditViewData* ViewData,
                                          const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  if (FMultiLineText) ViewData->VerticalLayout = 3;
  auto* Data = ObjectAs<TdxImageEditViewData>(ViewData);
  if (!Data) return;
  Data->DefaultImages = FDefaultImages;
  Data->Descriptions = FDescriptions;
  Data->ImageIndexes = FImageIndexes;
  Data->Images = FImages;
  Data->ShowDescription = FShowDescription;
  Data->Values = FValues;
}

AnsiString TdxTreeListImageColumn::GetDisplayText(TdxTreeListNode* Node) {
  AnsiString Value = inherited::GetDisplayText(Node);
  int Description = -1, Image = -1;
  TdxInplaceImageEdit::GetImageIndexByValue(Value, FValues, FDescriptions, FImageIndexes,
                                            FDefaultImages, Description, Image);
  return Description >= 0 ? FDescriptions->Strings(Description) : Value;
}

int TdxTreeListImageColumn::GetTextWidth(TCanvas* Canvas, TdxTreeListNode* Node) {
  return Canvas->TextWidth(GetDisplayText(Node)) + (FImages ? FImages->Width() : 0);
}

void TdxTreeListImageColumn::DoCloseUp(Variant& Value, bool& Accept) {
  CloseUpAsText(this, OnCloseUp, Value, Accept);
}

void TdxTreeListImageColumn::ListChanged(TObject* /*Sender*/) { Changed(false); }

void TdxTreeListImageColumn::ImagesChanged(TObject* /*Sender*/) { Changed(true); }

void TdxTreeListImageColumn::SetImageList(TCustomImageList*& Field, TChangeLink* Link,
                                          TCustomImageList* Value) {
  // Images and LargeImages may be one list: it is still followed in the other role.
  ReplaceImageList(this, Field, Link, Value,
                   Field == (&Field == &FImages ? FLargeImages : FImages));
}

void TdxTreeListImageColumn::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  SetImageList(FImages, FImagesLink, Value);
  Changed(true);
}

void TdxTreeListImageColumn::SetLargeImages(TCustomImageList* Value) {
  if (Value == FLargeImages) return;
  SetImageList(FLargeImages, FLargeImagesLink, Value);
  Changed(false);
}

void TdxTreeListImageColumn::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
}

void TdxTreeListImageColumn::SetDefaultImages(bool Value) {
  if (StoreChanged(FDefaultImages, Value)) Changed(false);
}
void TdxTreeListImageColumn::SetIncremental(bool Value) { if (StoreChanged(FIncremental, Value)) Changed(false); }
void TdxTreeListImageColumn::SetMultiLineText(bool Value) {
  if (StoreChanged(FMultiLineText, Value)) Changed(false);
}
void TdxTreeListImageColumn::SetShowDescription(bool Value) {
  if (StoreChanged(FShowDescription, Value)) Changed(false);
}

// ---------------------------------------------------------------------------------
// TdxTreeListPickColumn

TdxTreeListPickColumn::TdxTreeListPickColumn(TComponent* AOwner)
    : TdxTreeListDropDownColumn(AOwner) {
  FItems = NewObject<TStringList>();
  FItems->OnChange = TNotifyEvent::Bind<&TdxTreeListPickColumn::ItemsChanged>(this);
}

TdxTreeListPickColumn::~TdxTreeListPickColumn() { FreeAndNil(FItems); }

void TdxTreeListPickColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListPickColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetDropDownListStyle(Other->FDropDownListStyle);
  SetItems(Other->FItems);
  SetItemsSorted(Other->FItemsSorted);
  SetCanDeleteText(Other->FCanDeleteText);
  SetRevertable(Other->FRevertable);
  OnCloseUp = Other->OnCloseUp;
}

void TdxTreeListPickColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FDropDownListStyle = false;
  FItemsSorted = false;
  FCanDeleteText = false;
  FRevertable = false;
}

TdxInplaceEditClass TdxTreeListPickColumn::GetEditorClass() {
  return &TdxInplaceTreeListPickEdit::StaticClass();
}

void TdxTreeListPickColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplacePickEdit>(Editor);
  if (!Edit) return;
  Edit->SetDropDownListStyle(FDropDownListStyle);
  Edit->SetItems(FItems);
  Edit->SetCanDeleteText(FCanDeleteText);
  Edit->SetRevertable(FRevertable);
  Edit->SetItemsSorted(FItemsSorted);
}

void TdxTreeListPickColumn::DoCloseUp(Variant& Value, bool& Accept) {
  CloseUpAsText(this, OnCloseUp, Value, Accept);
}

void TdxTreeListPickColumn::ItemsChanged(TObject* /*Sender*/) { Changed(false); }

void TdxTreeListPickColumn::SetDropDownListStyle(bool Value) {
  if (StoreChanged(FDropDownListStyle, Value)) Changed(false);
}
void TdxTreeListPickColumn::SetItemsSorted(bool Value) {
  if (!StoreChanged(FItemsSorted, Value)) return;
  if (Value) FItems->Sort();
  Changed(false);
}
void TdxTreeListPickColumn::SetCanDeleteText(bool Value) {
  if (StoreChanged(FCanDeleteText, Value)) Changed(false);
}
void TdxTreeListPickColumn::SetRevertable(bool Value) { if (StoreChanged(FRevertable, Value)) Changed(false); }

// ---------------------------------------------------------------------------------
// TdxTreeListCalcColumn

void TdxTreeListCalcColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListCalcColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetBeepOnError(Other->FBeepOnError);
  SetButtonStyle(Other->FButtonStyle);
  SetPrecision(Other->FPrecision);
  SetQuickClose(Other->FQuickClose);
  SetShowButtonFrame(Other->FShowButtonFrame);
}

void TdxTreeListCalcColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FBeepOnError = true;
  FButtonStyle = bsStandard;
  FPrecision = 13;
  FQuickClose = false;
  FShowButtonFrame = false;
}

TdxInplaceEditClass TdxTreeListCalcColumn::GetEditorClass() {
  return &TdxInplaceTreeListCalcEdit::StaticClass();
}

void TdxTreeListCalcColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceCalcEdit>(Editor);
  if (!Edit) return;
  Edit->SetBeepOnError(FBeepOnError);
  Edit->SetButtonStyle(FButtonStyle);
  Edit->SetPrecision(FPrecision);
  Edit->SetQuickClose(FQuickClose);
  Edit->SetShowButtonFrame(FShowButtonFrame);
}

void TdxTreeListCalcColumn::SetBeepOnError(bool Value) { if (StoreChanged(FBeepOnError, Value)) Changed(false); }
void TdxTreeListCalcColumn::SetButtonStyle(TdxButtonStyle Value) {
  if (StoreChanged(FButtonStyle, Value)) Changed(false);
}
void TdxTreeListCalcColumn::SetPrecision(Byte Value) { if (StoreChanged(FPrecision, Value)) Changed(false); }
void TdxTreeListCalcColumn::SetQuickClose(bool Value) { if (StoreChanged(FQuickClose, Value)) Changed(false); }
void TdxTreeListCalcColumn::SetShowButtonFrame(bool Value) {
  if (StoreChanged(FShowButtonFrame, Value)) Changed(false);
}

// ---------------------------------------------------------------------------------
// TdxTreeListMRUColumn

void TdxTreeListMRUColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListMRUColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetMaxItemCount(Other->FMaxItemCount);
  SetShowEllipsis(Other->FShowEllipsis);
  OnButtonClick = Other->OnButtonClick;
}

void TdxTreeListMRUColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FMaxItemCount = 7;
  FShowEllipsis = true;
}

TdxInplaceEditClass TdxTreeListMRUColumn::GetEditorClass() {
  return &TdxInplaceTreeListMRUEdit::StaticClass();
}

void TdxTreeListMRUColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceMRUEdit>(Editor);
  if (!Edit) return;
  Edit->SetMaxItemCount(FMaxItemCount);
  Edit->SetShowEllipsis(FShowEllipsis);
  Edit->OnButtonClick = TNotifyEvent::Bind<&TdxTreeListMRUColumn::DoButtonClick>(this);
}

void TdxTreeListMRUColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceMRUEdit>(Editor)) Unbind(Edit->OnButtonClick);
}

void TdxTreeListMRUColumn::FillViewData(TdxEditViewData* ViewData,
                                        const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  auto* Data = ObjectAs<TdxMRUEditViewData>(ViewData);
  if (!Data) return;
  Data->ShowEllipsis = FShowEllipsis;
  if (Data->ButtonCount < 1 || !FShowEllipsis) return;
  // The second button beside the arrow; a glyph goes to it.
  TdxEditButtonDrawData& Arrow = Data->Buttons[0];
  TdxEditButtonDrawData& Second = Data->Buttons[1];
  Second = TdxEditButtonDrawData{};
  Second.Index = 1;
  Second.Kind = Data->ButtonGlyph ? bkGlyph : bkEllipsis;
  Second.Glyph = Data->ButtonGlyph;
  Arrow.Kind = bkDown;
  Arrow.Glyph = nullptr;
  Arrow.Width = DefaultEditButtonWidth(Data->ButtonStyle, Arrow);
  Second.Width = DefaultEditButtonWidth(Data->ButtonStyle, Second);
  Data->ButtonCount = 2;
}

void TdxTreeListMRUColumn::SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                                  Variant& Value) {
  inherited::SetNodeValueFromEditor(Node, Editor, Value);
  if (auto* Edit = ObjectAs<TdxInplaceMRUEdit>(Editor)) SetItems(Edit->Items());
}

void TdxTreeListMRUColumn::DoButtonClick(TObject* /*Sender*/) {
  if (OnButtonClick.Assigned()) OnButtonClick(this);
}

void TdxTreeListMRUColumn::SetMaxItemCount(int Value) { if (StoreChanged(FMaxItemCount, Value)) Changed(false); }
void TdxTreeListMRUColumn::SetShowEllipsis(bool Value) { if (StoreChanged(FShowEllipsis, Value)) Changed(false); }
