// The graphic and blob column kinds.
#include "treelist/dxTLClms_Picture.h"

#include "classlib/Clipbrd.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms_Common.h"

TCLASS_IMPL(TdxInplaceTreeListGraphicEdit)
TCLASS_IMPL(TdxInplaceTreeListBlobEdit)
TCLASS_IMPL(TdxTreeListGraphicColumn)
TCLASS_IMPL(TdxTreeListBlobColumn)

// ---------------------------------------------------------------------------------
// TdxTreeListGraphicColumn

TdxTreeListGraphicColumn::TdxTreeListGraphicColumn(TComponent* AOwner)
    : TdxTreeListColumn(AOwner), FClipboardFormat(CF_PICTURE) {
  FPopupToolBar = NewObject<TdxPopupToolBarWindow>();
  FPicture = NewObject<TPicture>();
  SetHeaderMaxLineCount(0);
}

TdxTreeListGraphicColumn::~TdxTreeListGraphicColumn() {
  FreeAndNil(FPicture);
  FreeAndNil(FPopupToolBar);
}

void TdxTreeListGraphicColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListGraphicColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetCenter(Other->FCenter);
  SetClipboardFormat(Other->FClipboardFormat);
  SetCustomFilter(Other->FCustomFilter);
  SetCustomGraphic(Other->FCustomGraphic);
  SetDblClickActivate(Other->FDblClickActivate);
  SetGraphicTransparency(Other->FGraphicTransparency);
  SetPopupToolBar(Other->FPopupToolBar);
  SetPopupToolbarPos(Other->FPopupToolbarPos);
  SetPopupToolbarPosStored(Other->FPopupToolbarPosStored);
  SetQuickDraw(Other->FQuickDraw);
  SetShadowSelection(Other->FShadowSelection);
  SetStretch(Other->FStretch);
  OnAssignPicture = Other->OnAssignPicture;
  OnCustomClick = Other->OnCustomClick;
  OnGetGraphicClass = Other->OnGetGraphicClass;
}

void TdxTreeListGraphicColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetHeaderMaxLineCount(0);
  FCenter = true;
  FClipboardFormat = CF_PICTURE;
  FCustomFilter.clear();
  FCustomGraphic = false;
  FDblClickActivate = true;
  FGraphicTransparency = gtDefault;
  TOwned<TdxPopupToolBarWindow> Defaults(NewObject<TdxPopupToolBarWindow>());
  FPopupToolBar->Assign(Defaults.get());
  FPopupToolbarPos = dxNoToolbarPos;
  FPopupToolbarPosStored = true;
  FQuickDraw = false;
  FShadowSelection = true;
  FStretch = true;
  Forget();
}

TdxInplaceEditClass TdxTreeListGraphicColumn::GetEditorClass() {
  return &TdxInplaceTreeListGraphicEdit::StaticClass();
}

void TdxTreeListGraphicColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceGraphicEdit>(Editor);
  if (!Edit) return;
  Edit->SetCenter(FCenter);
  Edit->SetClipboardFormat(FClipboardFormat);
  Edit->SetCustomFilter(FCustomFilter);
  Edit->SetCustomGraphic(FCustomGraphic);
  Edit->SetDblClickActivate(FDblClickActivate);
  Edit->SetGraphicTransparency(FGraphicTransparency);
  Edit->SetPopupToolBar(FPopupToolBar);
  Edit->SetPopupToolbarPos(FPopupToolbarPos);
  Edit->SetPopupToolbarPosStored(FPopupToolbarPosStored);
  Edit->SetQuickDraw(FQuickDraw);
  Edit->SetStretch(FStretch);
  Edit->OnAssignPicture =
      TdxGraphicEditAssignPictureEvent::Bind<&TdxTreeListGraphicColumn::EditorAssignPicture>(this);
  Edit->OnCustomClick = TNotifyEvent::Bind<&TdxTreeListGraphicColumn::EditorCustomClick>(this);
  Edit->OnGetGraphicClass =
      TdxGraphicEditGetGraphicClassEvent::Bind<&TdxTreeListGraphicColumn::EditorGetGraphicClass>(
          this);
}

void TdxTreeListGraphicColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceGraphicEdit>(Editor)) {
    Unbind(Edit->OnAssignPicture);
    Unbind(Edit->OnCustomClick);
    Unbind(Edit->OnGetGraphicClass);
  }
}

void TdxTreeListGraphicColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                                  Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceGraphicEdit>(Editor);
  if (!Edit) {
    inherited::AssignNodeToEditor(Node, Editor, Value);
    return;
  }
  Edit->SetText(AnsiString());
  // The editor reads the blob through the column's graphic class; a text that is no
  // picture leaves it empty.
  Value = Variant(Node->Strings(Index()));
  Edit->SetEditValue(Value);
}

void TdxTreeListGraphicColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                      TdxInplaceEdit* Editor, Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceGraphicEdit>(Editor);
  if (!Edit) {
    inherited::SetNodeValueFromEditor(Node, Editor, Value);
    return;
  }
  Node->SetStrings(Index(), VarToStr(Edit->GetBlobValue()));
  Value = Node->Values(Index());
}

TClass TdxTreeListGraphicColumn::GetGraphicClass() {
  TClass Result = nullptr;
  if (OnGetGraphicClass.Assigned()) OnGetGraphicClass(this, Result);
  return Result;
}

TPicture* TdxTreeListGraphicColumn::CellPicture(const AnsiString& Text) {
  if (FLoadedValid && FLoadedText == Text) return FPicture;
  // A blob the graphic cannot read leaves the picture empty instead of raising: the
  // list must stay paintable whatever its cells hold.
  LoadPictureFromBlob(FPicture, Variant(Text), GetGraphicClass());
  ++FPictureLoads;
  FLoadedText = Text;
  FLoadedValid = true;
  return FPicture;
}

void TdxTreeListGraphicColumn::FillViewData(TdxEditViewData* ViewData,
                                            const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  auto* Data = ObjectAs<TdxGraphicEditViewData>(ViewData);
  if (!Data) return;
  Data->Picture = CellPicture(StoredCellText(this, CellInfo));
  Data->Center = FCenter;
  Data->QuickDraw = FQuickDraw;
  Data->Stretch = FStretch;
  Data->Text.clear();
  Data->ShadowSelection = CellInfo.Selected && FShadowSelection;
}

int TdxTreeListGraphicColumn::GetTextWidth(TCanvas* /*Canvas*/, TdxTreeListNode* Node) {
  if (FStretch || !Node) return 0;
  TPicture* Picture = CellPicture(Node->Strings(Index()));
  return IsPictureEmpty(Picture) ? 0 : Picture->Width();
}

void TdxTreeListGraphicColumn::EditorAssignPicture(TObject* /*Sender*/, TPicture*& Picture) {
  if (OnAssignPicture.Assigned()) OnAssignPicture(this, Picture);
}

void TdxTreeListGraphicColumn::EditorCustomClick(TObject* /*Sender*/) {
  if (OnCustomClick.Assigned()) OnCustomClick(this);
}

void TdxTreeListGraphicColumn::EditorGetGraphicClass(TObject* /*Sender*/, TClass& GraphicClass) {
  if (TClass Class = GetGraphicClass()) GraphicClass = Class;
}

void TdxTreeListGraphicColumn::SetCenter(bool Value) { if (StoreChanged(FCenter, Value)) Changed(false); }
void TdxTreeListGraphicColumn::SetCustomFilter(const AnsiString& Value) {
  if (StoreChanged(FCustomFilter, Value)) Changed(false);
}
void TdxTreeListGraphicColumn::SetCustomGraphic(bool Value) {
  if (!StoreChanged(FCustomGraphic, Value)) return;
  Forget();
  Changed(false);
}
void TdxTreeListGraphicColumn::SetDblClickActivate(bool Value) {
  if (StoreChanged(FDblClickActivate, Value)) Changed(false);
}
void TdxTreeListGraphicColumn::SetGraphicTransparency(TdxGraphicEditTransparency Value) {
  if (StoreChanged(FGraphicTransparency, Value)) Changed(false);
}
void TdxTreeListGraphicColumn::SetPopupToolbarPosStored(bool Value) {
  FPopupToolbarPosStored = Value;
  if (!Value) FPopupToolbarPos = dxNoToolbarPos;
}
void TdxTreeListGraphicColumn::SetQuickDraw(bool Value) { if (StoreChanged(FQuickDraw, Value)) Changed(false); }
void TdxTreeListGraphicColumn::SetShadowSelection(bool Value) {
  if (StoreChanged(FShadowSelection, Value)) Changed(false);
}
void TdxTreeListGraphicColumn::SetStretch(bool Value) { if (StoreChanged(FStretch, Value)) Changed(true); }

// ---------------------------------------------------------------------------------
// TdxTreeListBlobColumn

TdxTreeListBlobColumn::TdxTreeListBlobColumn(TComponent* AOwner)
    : TdxTreeListDropDownColumn(AOwner), FClipboardFormat(CF_PICTURE) {}

void TdxTreeListBlobColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListBlobColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetAlwaysSaveText(Other->FAlwaysSaveText);
  SetBlobEditKind(Other->FBlobEditKind);
  SetBlobPaintStyle(Other->FBlobPaintStyle);
  SetClipboardFormat(Other->FClipboardFormat);
  SetMaxDisplayLength(Other->FMaxDisplayLength);
  SetMemoCharCase(Other->FMemoCharCase);
  SetMemoHideScrollBars(Other->FMemoHideScrollBars);
  SetMemoMaxLength(Other->FMemoMaxLength);
  SetMemoOEMConvert(Other->FMemoOEMConvert);
  SetMemoScrollBars(Other->FMemoScrollBars);
  SetMemoSelectionBar(Other->FMemoSelectionBar);
  SetMemoWantReturns(Other->FMemoWantReturns);
  SetMemoWantTabs(Other->FMemoWantTabs);
  SetMemoWordWrap(Other->FMemoWordWrap);
  SetPictureAutoSize(Other->FPictureAutoSize);
  SetPictureFilter(Other->FPictureFilter);
  SetPictureTransparency(Other->FPictureTransparency);
  SetPopupHeight(Other->FPopupHeight);
  SetPopupWidth(Other->FPopupWidth);
  SetShowExPopupItems(Other->FShowExPopupItems);
  SetShowPicturePopup(Other->FShowPicturePopup);
  SetSizeablePopup(Other->FSizeablePopup);
  OnAssignPicture = Other->OnAssignPicture;
  OnGetGraphicClass = Other->OnGetGraphicClass;
}

void TdxTreeListBlobColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FAlwaysSaveText = false;
  FBlobEditKind = bekMemo;
  FBlobPaintStyle = bpsIcon;
  FClipboardFormat = CF_PICTURE;
  FMaxDisplayLength = 255;
  FMemoCharCase = ecNormal;
  FMemoHideScrollBars = true;
  FMemoMaxLength = 0;
  FMemoOEMConvert = false;
  FMemoScrollBars = ssBoth;
  FMemoSelectionBar = false;
  FMemoWantReturns = true;
  FMemoWantTabs = true;
  FMemoWordWrap = true;
  FPictureAutoSize = true;
  FPictureFilter.clear();
  FPictureTransparency = gtDefault;
  FPopupHeight = 140;
  FPopupWidth = 200;
  FShowExPopupItems = false;
  FShowPicturePopup = false;
  FSizeablePopup = true;
}

TdxInplaceEditClass TdxTreeListBlobColumn::GetEditorClass() {
  return &TdxInplaceTreeListBlobEdit::StaticClass();
}

void TdxTreeListBlobColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceBlobEdit>(Editor);
  if (!Edit) return;
  Edit->SetAlwaysSaveText(FAlwaysSaveText);
  Edit->SetBlobEditKind(FBlobEditKind);
  Edit->SetBlobPaintStyle(FBlobPaintStyle);
  Edit->MemoCharCase = FMemoCharCase;
  Edit->MemoHideScrollBars = FMemoHideScrollBars;
  Edit->MemoMaxLength = FMemoMaxLength;
  Edit->MemoOEMConvert = FMemoOEMConvert;
  Edit->MemoScrollBars = FMemoScrollBars;
  Edit->MemoSelectionBar = FMemoSelectionBar;
  Edit->MemoWantReturns = FMemoWantReturns;
  Edit->MemoWantTabs = FMemoWantTabs;
  Edit->MemoWordWrap = FMemoWordWrap;
  Edit->SetPictureAutoSize(FPictureAutoSize);
  Edit->SetClipboardFormat(FClipboardFormat);
  Edit->SetPictureFilter(FPictureFilter);
  Edit->SetGraphicClass(GetGraphicClass());
  Edit->SetPictureTransparency(FPictureTransparency);
  Edit->SetPopupHeight(FPopupHeight);
  Edit->SetPopupWidth(FPopupWidth);
  Edit->SetShowExPopupItems(FShowExPopupItems);
  Edit->SetShowPicturePopup(FShowPicturePopup);
  Edit->SetSizeablePopup(FSizeablePopup);
  Edit->OnAssignPicture =
      TdxGraphicEditAssignPictureEvent::Bind<&TdxTreeListBlobColumn::EditorAssignPicture>(this);
  Edit->OnGetGraphicClass =
      TdxGraphicEditGetGraphicClassEvent::Bind<&TdxTreeListBlobColumn::EditorGetGraphicClass>(this);
  Edit->OnPopupResized =
      TdxBlobPopupResizeEvent::Bind<&TdxTreeListBlobColumn::EditorPopupResized>(this);
}

void TdxTreeListBlobColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceBlobEdit>(Editor)) {
    Unbind(Edit->OnAssignPicture);
    Unbind(Edit->OnGetGraphicClass);
    Unbind(Edit->OnPopupResized);
  }
}

void TdxTreeListBlobColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                               Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceBlobEdit>(Editor);
  if (!Edit) {
    inherited::AssignNodeToEditor(Node, Editor, Value);
    return;
  }
  Edit->SetEditValue(Variant(Node->Strings(Index())));
  Edit->SetDisplayText(GetDisplayText(Node));
  Value = Variant(Edit->BlobData());
}

void TdxTreeListBlobColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                   TdxInplaceEdit* Editor, Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceBlobEdit>(Editor);
  if (!Edit) {
    inherited::SetNodeValueFromEditor(Node, Editor, Value);
    return;
  }
  Node->SetStrings(Index(), Edit->BlobData());
  Value = Node->Values(Index());
}

void TdxTreeListBlobColumn::FillViewData(TdxEditViewData* ViewData,
                                         const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  auto* Data = ObjectAs<TdxBlobEditViewData>(ViewData);
  if (!Data) return;
  Data->BlobEditKind = FBlobEditKind;
  Data->BlobPaintStyle = FBlobPaintStyle;
  Data->Images = BlobImages();
  Data->IsEmpty = IsValueEmpty(Variant(StoredCellText(this, CellInfo)));
  if ((FBlobEditKind == bekOle || FBlobEditKind == bekBlob) && Data->ButtonCount > 0) {
    Data->Buttons[0].Kind = bkEllipsis;
    Data->Buttons[0].Glyph = nullptr;
  }
}

AnsiString TdxTreeListBlobColumn::GetDisplayText(TdxTreeListNode* Node) {
  AnsiString Text = inherited::GetDisplayText(Node);
  if (FMaxDisplayLength > 0 && static_cast<int>(Text.size()) > FMaxDisplayLength)
    Text.resize(FMaxDisplayLength);
  return Text;
}

void TdxTreeListBlobColumn::DoAssignPicture(TPicture*& Picture) {
  if (OnAssignPicture.Assigned()) OnAssignPicture(this, Picture);
}

TClass TdxTreeListBlobColumn::GetGraphicClass() {
  TClass Result = nullptr;
  if (OnGetGraphicClass.Assigned()) OnGetGraphicClass(this, Result);
  return Result;
}

void TdxTreeListBlobColumn::DoPopupResized(int Width, int Height) {
  FPopupWidth = Width;
  FPopupHeight = Height;
}

bool TdxTreeListBlobColumn::IsValueEmpty(const Variant& Value) {
  return VarIsClear(Value) || VarToStr(Value).empty();
}

void TdxTreeListBlobColumn::EditorAssignPicture(TObject* /*Sender*/, TPicture*& Picture) {
  DoAssignPicture(Picture);
}

void TdxTreeListBlobColumn::EditorGetGraphicClass(TObject* /*Sender*/, TClass& GraphicClass) {
  if (TClass Class = GetGraphicClass()) GraphicClass = Class;
}

void TdxTreeListBlobColumn::EditorPopupResized(TObject* /*Sender*/, int Width, int Height) {
  DoPopupResized(Width, Height);
}

void TdxTreeListBlobColumn::SetAlwaysSaveText(bool Value) {
  if (StoreChanged(FAlwaysSaveText, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetBlobEditKind(TdxBlobEditKind Value) {
  if (StoreChanged(FBlobEditKind, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetBlobPaintStyle(TdxBlobPaintStyle Value) {
  if (StoreChanged(FBlobPaintStyle, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMaxDisplayLength(int Value) {
  if (StoreChanged(FMaxDisplayLength, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoCharCase(TEditCharCase Value) {
  if (StoreChanged(FMemoCharCase, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoHideScrollBars(bool Value) {
  if (StoreChanged(FMemoHideScrollBars, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoMaxLength(int Value) { if (StoreChanged(FMemoMaxLength, Value)) Changed(false); }
void TdxTreeListBlobColumn::SetMemoOEMConvert(bool Value) {
  if (StoreChanged(FMemoOEMConvert, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoScrollBars(TScrollStyle Value) {
  if (StoreChanged(FMemoScrollBars, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoSelectionBar(bool Value) {
  if (StoreChanged(FMemoSelectionBar, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoWantReturns(bool Value) {
  if (StoreChanged(FMemoWantReturns, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetMemoWantTabs(bool Value) { if (StoreChanged(FMemoWantTabs, Value)) Changed(false); }
void TdxTreeListBlobColumn::SetMemoWordWrap(bool Value) { if (StoreChanged(FMemoWordWrap, Value)) Changed(false); }
void TdxTreeListBlobColumn::SetPictureAutoSize(bool Value) {
  if (StoreChanged(FPictureAutoSize, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetPictureFilter(const AnsiString& Value) {
  if (StoreChanged(FPictureFilter, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetPictureTransparency(TdxGraphicEditTransparency Value) {
  if (StoreChanged(FPictureTransparency, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetPopupHeight(int Value) { if (StoreChanged(FPopupHeight, Value)) Changed(false); }
void TdxTreeListBlobColumn::SetPopupWidth(int Value) { if (StoreChanged(FPopupWidth, Value)) Changed(false); }
void TdxTreeListBlobColumn::SetShowExPopupItems(bool Value) {
  if (StoreChanged(FShowExPopupItems, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetShowPicturePopup(bool Value) {
  if (StoreChanged(FShowPicturePopup, Value)) Changed(false);
}
void TdxTreeListBlobColumn::SetSizeablePopup(bool Value) { if (StoreChanged(FSizeablePopup, Value)) Changed(false); }
