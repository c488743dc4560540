// The graphic editor: the blob helpers, the settings, the commands and their
// dispatcher, the host's value, the popup toolbar's showing, the keys, the double
// click and the context menu. Its cells: dxExEdtr_GraphicPaint.cpp.
#include "editors/dxExEdtr_Graphic.h"

#include <algorithm>
#include <cstdint>

#include "classlib/Clipbrd.h"
#include "classlib/Dialogs.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TMemoryStreamReadOnly)
TCLASS_IMPL(TdxGraphicEditViewData)
TCLASS_IMPL(TdxInplaceGraphicEdit)

namespace {

// The header a blob may start with: one graphic of type 0x0100 and the size of the
// bytes that follow.
#pragma pack(push, 1)
struct TGraphicHeader {
  Word Count;
  Word Type;
  Integer Size;
};
#pragma pack(pop)
static_assert(sizeof(TGraphicHeader) == 8);

constexpr Word GraphicHeaderType = 0x0100;

bool SamePoint(const TPoint& A, const TPoint& B) { return A.x == B.x && A.y == B.y; }

bool OnlyShift(TShiftState Shift, TShiftStateItem Key) {
  for (TShiftStateItem Modifier : {ssShift, ssCtrl, ssAlt})
    if (Shift.Contains(Modifier) != (Modifier == Key)) return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Blob helpers

int TMemoryStreamReadOnly::Write(const void* /*Buffer*/, int /*Count*/) { return 0; }

bool IsPictureEmpty(const TPicture* Picture) {
  return !Picture || !Picture->Graphic() || Picture->Graphic()->Empty();
}

void LoadPictureFromBlob(TPicture* Picture, const Variant& Value, TClass GraphicClass) {
  if (!Picture) return;
  if (!Value.IsString()) {
    Picture->SetGraphic(nullptr);
    return;
  }
  const AnsiString Blob = Value.AsString();
  TOwned<TMemoryStreamReadOnly> Stream(NewObject<TMemoryStreamReadOnly>());
  if (Blob.size() > 7) Stream->SetPointer(const_cast<char*>(Blob.data()), static_cast<int>(Blob.size()));
  if (Stream->Size() == 0) {
    Picture->SetGraphic(nullptr);
    return;
  }
  TGraphicHeader Header{};
  Stream->ReadBuffer(&Header, sizeof(Header));
  if (Header.Count != 1 || Header.Type != GraphicHeaderType ||
      static_cast<Int64>(Header.Size) != Stream->Size() - static_cast<Int64>(sizeof(Header)))
    Stream->SetPosition(0);
  // A blob the graphic cannot read leaves the picture empty: a host paints every cell
  // through here, and one bad cell must not raise at every paint.
  try {
    if (GraphicClass) {
      TOwned<TObject> Object(GraphicClass->NewInstance());
      auto* Graphic = ObjectAs<TGraphic>(Object.get());
      if (!Graphic) {
        Picture->SetGraphic(nullptr);
        return;
      }
      Graphic->LoadFromStream(Stream.get());
      Picture->SetGraphic(Graphic);
    } else {
      Picture->Bitmap()->LoadFromStream(Stream.get());
    }
  } catch (const Exception&) {
    Picture->SetGraphic(nullptr);
  }
}

void SavePictureToBlob(TPicture* Picture, AnsiString& Text) {
  Text.clear();
  if (IsPictureEmpty(Picture)) return;
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Picture->Graphic()->SaveToStream(Stream.get());
  Text.assign(static_cast<const char*>(Stream->Memory()), static_cast<std::size_t>(Stream->Size()));
}

void PastePictureFromClipboard(TPicture* Picture, UINT ClipboardFormat) {
  if (ClipboardFormat == CF_PICTURE && Clipboard()->HasFormat(CF_BITMAP))
    Picture->Bitmap()->Assign(Clipboard());
  else
    Picture->Assign(Clipboard());
}

bool ExecuteOpenPictureDialog(const AnsiString& Filter, AnsiString& FileName) {
  TOwned<TOpenPictureDialog> Dialog(NewObject<TOpenPictureDialog>(nullptr));
  if (!Filter.empty()) Dialog->SetFilter(Filter);
  if (!Dialog->Execute()) return false;
  FileName = Dialog->FileName();
  return true;
}

void SavePictureWithDialog(TPicture* Picture, const AnsiString& Filter) {
  const TClass GraphicClass = Picture->Graphic()->ClassType();
  TOwned<TSavePictureDialog> Dialog(NewObject<TSavePictureDialog>(nullptr));
  Dialog->SetFilter(Filter.empty() ? GraphicFilter(GraphicClass) : Filter);
  Dialog->SetDefaultExt(GraphicExtension(GraphicClass));
  if (Dialog->Execute()) Picture->SaveToFile(Dialog->FileName());
}

// ---------------------------------------------------------------------------------
// Lifetime

TdxInplaceGraphicEdit::TdxInplaceGraphicEdit(TComponent* AOwner) : TdxInplaceEdit(AOwner) {
  FClipboardFormat = CF_PICTURE;
  FPicture = NewObject<TPicture>();
  FSavedPicture = NewObject<TPicture>();
  FPicture->OnChange = TNotifyEvent::Bind<&TdxInplaceGraphicEdit::PictureChanged>(this);
  FToolBar = NewObject<TdxPopupToolBar>(this, CreateNew);
  FToolBar->OnCommand = TdxPopupToolBarCommandEvent::Bind<&TdxInplaceGraphicEdit::ToolBarCommand>(this);
  FToolBar->SetMenuEnabling(true);
  FPopupToolBarSettings = NewObject<TdxPopupToolBarWindow>(FToolBar);
}

TdxInplaceGraphicEdit::~TdxInplaceGraphicEdit() {
  FreeAndNil(FPopupToolBarSettings);
  FreeAndNil(FBuffer);
  FreeAndNil(FPicture);
  FreeAndNil(FSavedPicture);
}

void TdxInplaceGraphicEdit::AfterConstruction() {
  inherited::AfterConstruction();
  TControlStyle Style = ControlStyle();
  Style.Include(csClickEvents);
  Style.Include(csDoubleClicks);
  Style.Include(csSetCaption);
  SetControlStyle(Style);
  SetAutoSize(false);
  SetParentColor(false);
  SetBounds(Left(), Top(), 140, 100);
}

void TdxInplaceGraphicEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  // The toolbar goes before the editor when the editor frees its components.
  if (Operation == opRemove && AComponent == FToolBar) {
    FToolBar = nullptr;
    if (FPopupToolBarSettings) FPopupToolBarSettings->SetToolBar(nullptr);
  }
}

// ---------------------------------------------------------------------------------
// Settings

void TdxInplaceGraphicEdit::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  PictureChanged(this);
}

void TdxInplaceGraphicEdit::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  PictureChanged(this);
}

void TdxInplaceGraphicEdit::SetCustomGraphic(bool Value) {
  if (FCustomGraphic == Value) return;
  FCustomGraphic = Value;
  TFlagScope Internal(FInternalChange);
  PictureChanged(this);
}

void TdxInplaceGraphicEdit::SetGraphicTransparency(TdxGraphicEditTransparency Value) {
  if (FGraphicTransparency == Value) return;
  FGraphicTransparency = Value;
  TFlagScope Internal(FInternalChange);
  PictureChanged(this);
}

void TdxInplaceGraphicEdit::SetPopupToolbarPosStored(bool Value) {
  FPopupToolbarPosStored = Value;
  if (!Value) FPopupToolbarPos = dxNoToolbarPos;
}

void TdxInplaceGraphicEdit::PictureChanged(TObject* /*Sender*/) {
  StyleLayoutChanged();
  if (FGraphicTransparency != gtDefault && !IsPictureEmpty(FPicture)) {
    TValueScope<TNotifyEvent> Quiet(FPicture->OnChange, TNotifyEvent());
    FPicture->Graphic()->SetTransparent(FGraphicTransparency == gtTransparent);
  }
  UpdateToolBarState();
  if (!FInternalChange && !ComponentState().Contains(csLoading)) {
    Change();
    SetModified(true);
  }
}

// ---------------------------------------------------------------------------------
// Commands

void TdxInplaceGraphicEdit::CutToClipboard() {
  CopyToClipboard();
  if (CanEditLinked()) DeletePicture();
}

void TdxInplaceGraphicEdit::CopyToClipboard() {
  if (FPicture->Graphic()) Clipboard()->Assign(FPicture);
}

void TdxInplaceGraphicEdit::PasteFromClipboard() {
  if (!CanEditLinked() || !Clipboard()->HasFormat(FClipboardFormat) || !CanModify()) return;
  PastePictureFromClipboard(FPicture, FClipboardFormat);
}

void TdxInplaceGraphicEdit::DeletePicture() {
  if (CanModify()) FPicture->SetGraphic(nullptr);
}

void TdxInplaceGraphicEdit::LoadFromFile() {
  if (!CanModify()) return;
  // A file that does not load raises and leaves the picture as it was.
  if (AnsiString FileName; ExecuteOpenPictureDialog(FCustomFilter, FileName)) FPicture->LoadFromFile(FileName);
}

void TdxInplaceGraphicEdit::SaveToFile() {
  if (FPicture->Graphic()) SavePictureWithDialog(FPicture, FCustomFilter);
}

void TdxInplaceGraphicEdit::DoCommand(TdxPopupToolBarButton Kind) {
  switch (Kind) {
    case ptbCut: CutToClipboard(); break;
    case ptbCopy: CopyToClipboard(); break;
    case ptbPaste: PasteFromClipboard(); break;
    case ptbDelete: DeletePicture(); break;
    case ptbLoad: LoadFromFile(); break;
    case ptbSave: SaveToFile(); break;
    case ptbCustom: DoCustomClick(); break;
  }
  UpdateToolBarState();
}

void TdxInplaceGraphicEdit::ToolBarCommand(TObject* /*Sender*/, TdxPopupToolBarButton Kind) { DoCommand(Kind); }

void TdxInplaceGraphicEdit::DoCustomClick() {
  if (OnCustomClick.Assigned()) OnCustomClick(this);
}

void TdxInplaceGraphicEdit::DoAssignPicture(TPicture*& APicture) {
  if (OnAssignPicture.Assigned()) OnAssignPicture(this, APicture);
}

TClass TdxInplaceGraphicEdit::GetGraphicClass() {
  TClass GraphicClass = nullptr;
  if (OnGetGraphicClass.Assigned()) OnGetGraphicClass(this, GraphicClass);
  return GraphicClass;
}

// ---------------------------------------------------------------------------------
// The popup toolbar

void TdxInplaceGraphicEdit::UpdateToolBarState() {
  if (!FToolBar) return;
  FToolBar->SetPictureEmpty(IsPictureEmpty(FPicture));
  FToolBar->SetReadOnly(!CanModify());
  FToolBar->SetClipboardFormat(FClipboardFormat);
  FToolBar->EnableButtons();
}

bool TdxInplaceGraphicEdit::ToolBarFocused() {
  if (!FToolBar || !FToolBar->HandleAllocated()) return false;
  HWND Focus = GetFocus();
  return Focus && (Focus == FToolBar->Handle() || IsChild(FToolBar->Handle(), Focus));
}

void TdxInplaceGraphicEdit::ShowPopupToolbar() {
  TdxPopupToolBarWindow* Settings = FPopupToolBarSettings;
  if (!FToolBar || Settings->IsPopupMenu() || !Settings->Visible() || !HandleAllocated()) return;
  FToolBar->SetButtons(Settings->Buttons());
  FToolBar->SetShowCaptions(Settings->ShowCaptions());
  FToolBar->SetCustomCaption(Settings->CustomButtonCaption());
  FToolBar->SetCustomGlyph(Settings->HasCustomButtonGlyph() ? Settings->CustomButtonGlyph() : nullptr);
  FToolBar->SetAlignment(Settings->Alignment());
  FToolBar->SetToolBarVisible(Settings->Visible());
  // Where the user moved the toolbar to is kept.
  const TPoint Current = Point(FToolBar->Left(), FToolBar->Top());
  if (!SamePoint(FLastToolbarPos, dxNoToolbarPos) && !SamePoint(Current, FLastToolbarPos))
    FPopupToolbarPos = Current;
  if (FPopupToolbarPosStored && !SamePoint(FPopupToolbarPos, dxNoToolbarPos)) {
    FToolBar->SetBounds(FPopupToolbarPos.x, FPopupToolbarPos.y, FToolBar->Width(), FToolBar->Height());
  } else {
    RECT Window;
    GetWindowRect(Handle(), &Window);
    FToolBar->PlaceBeside(Window);
  }
  FLastToolbarPos = Point(FToolBar->Left(), FToolBar->Top());
  FToolBar->SetClosedByUser(false);
  UpdateToolBarState();
  FToolBar->ShowToolBar();
}

// ---------------------------------------------------------------------------------
// The host's value

void TdxInplaceGraphicEdit::SetEditValue(const Variant& Value) {
  // The host's picture is no change of the user's: an internal change marks nothing.
  TFlagScope Internal(FInternalChange);
  if (VarIsNull(Value) || (Value.IsString() && Value.AsString().empty()))
    FPicture->SetGraphic(nullptr);
  else
    LoadPictureFromBlob(FPicture, Value, GetGraphicClass());
}

void TdxInplaceGraphicEdit::SaveRestorePoint() {
  inherited::SaveRestorePoint();
  FSavedPicture->Assign(FPicture);
}

void TdxInplaceGraphicEdit::RevertToSaved() {
  if (!GetModified()) return;
  {
    TFlagScope Internal(FInternalChange);
    FPicture->Assign(FSavedPicture);
  }
  SetModified(SavedModified());
}

Variant TdxInplaceGraphicEdit::GetEditValue() {
  TPicture* Current = FPicture;
  DoAssignPicture(Current);
  TGraphic* Graphic = Current ? Current->Graphic() : nullptr;
  return Variant(static_cast<int>(reinterpret_cast<std::intptr_t>(Graphic)));
}

Variant TdxInplaceGraphicEdit::GetBlobValue() {
  TPicture* Current = FPicture;
  DoAssignPicture(Current);
  AnsiString Blob;
  SavePictureToBlob(Current, Blob);
  return Variant(Blob);
}

TdxEditViewData* TdxInplaceGraphicEdit::CreateViewData(bool PaintCopy) {
  TdxEditViewData* ViewData = inherited::CreateViewData(PaintCopy);
  if (auto* Data = ObjectAs<TdxGraphicEditViewData>(ViewData)) {
    Data->Center = FCenter;
    Data->Picture = FPicture;
    Data->QuickDraw = FQuickDraw;
    Data->Stretch = FStretch;
    Data->Buffer = nullptr;
    if (!IsPictureEmpty(FPicture) && FPicture->Graphic()->Transparent()) {
      if (!FBuffer) FBuffer = NewObject<TBitmap>();
      Data->Buffer = FBuffer;
    }
  }
  return ViewData;
}

// ---------------------------------------------------------------------------------
// Focus, keys and mouse

void TdxInplaceGraphicEdit::StyleChanged() {
  inherited::StyleChanged();
  if (!FDblClickActivate && !ComponentState().Contains(csDestroying)) ShowPopupToolbar();
}

void TdxInplaceGraphicEdit::FocusLost(TMessage& Message) {
  if (FToolBar) {
    const HWND Target = reinterpret_cast<HWND>(Message.WParam);
    const bool ToToolBar = FToolBar->HandleAllocated() &&
                           (Target == FToolBar->Handle() || (Target && IsChild(FToolBar->Handle(), Target)));
    if (!ToToolBar && !ToolBarFocused()) FToolBar->HideToolBar();
  }
  inherited::FocusLost(Message);
}

bool TdxInplaceGraphicEdit::EditFocused() { return inherited::EditFocused() || ToolBarFocused(); }

void TdxInplaceGraphicEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (InPlace() && (Key == VK_LEFT || Key == VK_RIGHT)) MoveColumn(Key == VK_LEFT);
  inherited::KeyDown(Key, Shift);
  if (Key == VK_INSERT && OnlyShift(Shift, ssShift))
    PasteFromClipboard();
  else if (Key == VK_INSERT && OnlyShift(Shift, ssCtrl))
    CopyToClipboard();
  else if (Key == VK_DELETE && OnlyShift(Shift, ssShift))
    CutToClipboard();
}

void TdxInplaceGraphicEdit::KeyPress(char& Key) {
  switch (Key) {
    case 3: CopyToClipboard(); break;
    case 22: PasteFromClipboard(); break;
    case 24: CutToClipboard(); break;
    default: break;
  }
  inherited::KeyPress(Key);
}

void TdxInplaceGraphicEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Shift.Contains(ssDouble) && FDblClickActivate) ShowPopupToolbar();
}

void TdxInplaceGraphicEdit::WMContextMenu(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Result != 0 || !FToolBar || IsNativeEdit() || !FPopupToolBarSettings->IsPopupMenu()) return;
  TPoint At = Point(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  if (At.x == -1 && At.y == -1) At = dxCaretMenuPoint(Handle());
  TdxPopupToolBarWindow* Settings = FPopupToolBarSettings;
  FToolBar->SetButtons(Settings->Buttons());
  UpdateToolBarState();
  FToolBar->UpdateMenu(Settings->CustomButtonCaption(),
                       Settings->HasCustomButtonGlyph() ? Settings->CustomButtonGlyph() : nullptr);
  TPopupMenu* Menu = FToolBar->Menu();
  Menu->SetPopupComponent(this);
  Menu->Popup(At.x, At.y);
  Message.Result = 1;
}

void TdxInplaceGraphicEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      if (InPlace()) Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------

void InitdxGraphicEdit() {
  TPublish<TdxInplaceGraphicEdit> P;
  // The graphic editor starts without its parent's colour, in a container or not.
  P.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Prop("Center", &TdxInplaceGraphicEdit::Center, &TdxInplaceGraphicEdit::SetCenter).Default(true);
  P.Prop("CustomFilter", &TdxInplaceGraphicEdit::CustomFilter, &TdxInplaceGraphicEdit::SetCustomFilter);
  P.Prop("CustomGraphic", &TdxInplaceGraphicEdit::CustomGraphic, &TdxInplaceGraphicEdit::SetCustomGraphic);
  P.Prop("DblClickActivate", &TdxInplaceGraphicEdit::DblClickActivate,
         &TdxInplaceGraphicEdit::SetDblClickActivate)
      .Default(true);
  P.Prop("GraphicTransparency", &TdxInplaceGraphicEdit::GraphicTransparency,
         &TdxInplaceGraphicEdit::SetGraphicTransparency)
      .Default(gtDefault);
  P.Prop("Picture", &TdxInplaceGraphicEdit::Picture, &TdxInplaceGraphicEdit::SetPicture);
  P.Prop("PopupToolBar", &TdxInplaceGraphicEdit::PopupToolBar, &TdxInplaceGraphicEdit::SetPopupToolBar);
  P.Prop("PopupToolbarPosStored", &TdxInplaceGraphicEdit::PopupToolbarPosStored,
         &TdxInplaceGraphicEdit::SetPopupToolbarPosStored)
      .Default(true);
  P.Prop("QuickDraw", &TdxInplaceGraphicEdit::QuickDraw, &TdxInplaceGraphicEdit::SetQuickDraw);
  P.Prop("Stretch", &TdxInplaceGraphicEdit::Stretch, &TdxInplaceGraphicEdit::SetStretch);
  P.Prop("OnCustomClick", &TdxInplaceGraphicEdit::OnCustomClick);
}

void DonedxGraphicEdit() { UnRegisterPublished(&TdxInplaceGraphicEdit::StaticClass()); }
