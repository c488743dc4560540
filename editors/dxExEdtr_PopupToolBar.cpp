// The popup toolbar: its settings object, the tool window's buttons, layout and
// enabling, its context menu, its placement beside the editor and its window
// behaviour (showing without activation, the clipboard viewer chain, closing).
#include "editors/dxExEdtr_PopupToolBar.h"

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImgList.h"
#include "classlib/ModuleInit.h"
#include "editors/dxDrawing.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxPopupToolBarWindow)
TCLASS_IMPL(TdxPopupToolBar)

namespace {

AnsiString Captions[dxPopupToolBarButtonCount];
AnsiString Hints[dxPopupToolBarButtonCount];

const char* const GlyphNames[dxPopupToolBarButtonCount] = {
    "DXTOOL_CUT", "DXTOOL_COPY", "DXTOOL_PASTE", "DXTOOL_DELETE", "DXTOOL_LOAD", "DXTOOL_SAVE", nullptr};

constexpr int ButtonHeight = 22;
constexpr int ButtonMargin = 4;
const char* const ToolBarCaption = "Toolbox";

// The extent of a caption as a button shows it (the accelerator's "&" takes no room).
SIZE TextExtent(HDC DC, const AnsiString& Text) {
  AnsiString Shown;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '&' && I + 1 < Text.size()) ++I;
    Shown += Text[I];
  }
  SIZE Size{0, 0};
  GetTextExtentPoint32A(DC, Shown.c_str(), static_cast<int>(Shown.size()), &Size);
  return Size;
}

}  // namespace

const AnsiString& dxPopupToolBarCaption(TdxPopupToolBarButton Kind) { return Captions[Kind]; }
const AnsiString& dxPopupToolBarHint(TdxPopupToolBarButton Kind) { return Hints[Kind]; }
const char* dxPopupToolBarGlyphName(TdxPopupToolBarButton Kind) { return GlyphNames[Kind]; }

// ---------------------------------------------------------------------------------
// Settings

TdxPopupToolBarWindow::~TdxPopupToolBarWindow() { FreeAndNil(FCustomButtonGlyph); }

void TdxPopupToolBarWindow::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxPopupToolBarWindow>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  FAlignment = Other->FAlignment;
  FButtons = Other->FButtons;
  FCustomButtonCaption = Other->FCustomButtonCaption;
  SetCustomButtonGlyph(Other->HasCustomButtonGlyph() ? Other->FCustomButtonGlyph : nullptr);
  SetIsPopupMenu(Other->FIsPopupMenu);
  FShowCaptions = Other->FShowCaptions;
  FVisible = Other->FVisible;
}

TBitmap* TdxPopupToolBarWindow::CustomButtonGlyph() const {
  if (!FCustomButtonGlyph) FCustomButtonGlyph = NewObject<TBitmap>();
  return FCustomButtonGlyph;
}

void TdxPopupToolBarWindow::SetCustomButtonGlyph(TBitmap* Value) {
  if (!Value) {
    FreeAndNil(FCustomButtonGlyph);
    return;
  }
  CustomButtonGlyph()->Assign(Value);
}

void TdxPopupToolBarWindow::SetIsPopupMenu(bool Value) {
  FIsPopupMenu = Value;
  if (FToolBar) FToolBar->SetMenuEnabling(Value);
}

// ---------------------------------------------------------------------------------
// The tool window

TdxPopupToolBar::TdxPopupToolBar(TComponent* AOwner, TCreateNew) : TForm(AOwner, CreateNew) {
  FClipboardFormat = CF_PICTURE;
  SetBorderIcons({biSystemMenu});
  SetBorderStyle(bsToolWindow);
  SetCaption(ToolBarCaption);
  SetFormStyle(fsStayOnTop);
  SetShowHint(true);
  for (int I = 0; I < dxPopupToolBarButtonCount; ++I) {
    const auto Kind = static_cast<TdxPopupToolBarButton>(I);
    auto* Button = NewObject<TSpeedButton>(this);
    Button->SetTag(I);
    Button->SetCaption(Captions[I]);
    Button->SetHint(Hints[I]);
    if (GlyphNames[I]) Button->Glyph()->LoadFromResourceName(HInstance, GlyphNames[I]);
    Button->SetFlat(true);
    Button->SetMargin(ButtonMargin);
    Button->SetParent(this);
    Button->OnClick = TNotifyEvent::Bind<&TdxPopupToolBar::ButtonClick>(this);
    FSpeedButtons[Kind] = Button;
  }
  SetCustomGlyph(nullptr);
  Arrange();
}

void TdxPopupToolBar::BeforeDestruction() {
  LeaveViewerChain();
  inherited::BeforeDestruction();
}

TWinControl* TdxPopupToolBar::Editor() const { return ObjectAs<TWinControl>(Owner()); }

void TdxPopupToolBar::SetAlignment(TdxPopupToolBarAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Arrange();
}

void TdxPopupToolBar::SetButtons(TdxPopupToolBarButtons Value) {
  if (FButtons == Value) return;
  FButtons = Value;
  Arrange();
}

void TdxPopupToolBar::SetShowCaptions(bool Value) {
  if (FShowCaptions == Value) return;
  FShowCaptions = Value;
  Arrange();
}

void TdxPopupToolBar::SetCustomCaption(const AnsiString& Value) {
  if (FCustomCaption == Value) return;
  FCustomCaption = Value;
  Arrange();
}

void TdxPopupToolBar::SetCustomGlyph(TBitmap* Value) {
  TSpeedButton* Custom = FSpeedButtons[ptbCustom];
  if (Value && !Value->Empty()) {
    Custom->SetGlyph(Value);
  } else {
    // A plain square of the other glyphs' size.
    TBitmap* Model = FSpeedButtons[ptbCut]->Glyph();
    TOwned<TBitmap> Plain(NewObject<TBitmap>(std::max(Model->Width(), 1), std::max(Model->Height(), 1)));
    Plain->Canvas()->Brush()->SetColor(clBtnFace);
    Plain->Canvas()->FillRect(Rect(0, 0, Plain->Width(), Plain->Height()));
    Custom->SetGlyph(Plain.get());
  }
  Arrange();
}

void TdxPopupToolBar::Arrange() {
  const bool Captioned = Vertical() && FShowCaptions;
  int Height = ButtonHeight;
  int Widest = 0;
  int Count = 0;
  {
    TScreenDC Screen;
    TSelection Font(Screen.DC(), this->Font()->Handle());
    if (Captioned) Height = std::max(ButtonHeight, static_cast<int>(TextExtent(Screen.DC(), "Wg").cy) + 9);
    for (int I = 0; I < dxPopupToolBarButtonCount; ++I) {
      const auto Kind = static_cast<TdxPopupToolBarButton>(I);
      if (!FButtons.Contains(Kind)) continue;
      AnsiString Caption;
      if (Captioned) Caption = Kind == ptbCustom ? FCustomCaption : Captions[I];
      FSpeedButtons[I]->SetCaption(Caption);
      if (!Caption.empty()) Widest = std::max(Widest, static_cast<int>(TextExtent(Screen.DC(), Caption).cx));
      ++Count;
    }
  }
  const int Width = Height + 1;
  // A vertical toolbar's buttons take its whole width, so that captions show.
  const int Across = Vertical() ? Width + Widest : Width;
  if (Vertical())
    SetClientSize(Across, Count * Height);
  else
    SetClientSize(Count * Width, Height);
  int Position = 0;
  for (int I = 0; I < dxPopupToolBarButtonCount; ++I) {
    TSpeedButton* Button = FSpeedButtons[I];
    if (!FButtons.Contains(static_cast<TdxPopupToolBarButton>(I))) {
      Button->SetVisible(false);
      continue;
    }
    if (Vertical())
      Button->SetBounds(0, Position * Height, Across, Height);
    else
      Button->SetBounds(Position * Width, 0, Width, Height);
    Button->SetVisible(true);
    ++Position;
  }
  EnableButtons();
}

void TdxPopupToolBar::EnableButtons() {
  bool States[dxPopupToolBarButtonCount];
  States[ptbCut] = !FPictureEmpty && !FReadOnly;
  States[ptbCopy] = !FPictureEmpty;
  States[ptbPaste] = !FReadOnly && Clipboard()->HasFormat(FClipboardFormat);
  States[ptbDelete] = States[ptbCut];
  States[ptbLoad] = !FReadOnly;
  States[ptbSave] = !FPictureEmpty;
  States[ptbCustom] = true;
  for (int I = 0; I < dxPopupToolBarButtonCount; ++I) FSpeedButtons[I]->SetEnabled(States[I]);
  if (FMenuEnabling && FMenu)
    for (int I = ptbCut; I <= ptbSave; ++I) FMenuItems[I]->SetEnabled(States[I]);
}

// ---------------------------------------------------------------------------------
// The context menu

TPopupMenu* TdxPopupToolBar::Menu() {
  if (FMenu) return FMenu;
  FMenu = NewObject<TPopupMenu>(this);
  FMenu->SetImages(PopupToolImages());
  for (int I = 0; I < dxPopupToolBarButtonCount; ++I) {
    auto* Item = NewObject<TMenuItem>(FMenu);
    Item->SetCaption(I == ptbCustom ? FCustomCaption : Captions[I]);
    if (I != ptbCustom) Item->SetImageIndex(I);
    Item->SetTag(I);
    Item->OnClick = TNotifyEvent::Bind<&TdxPopupToolBar::MenuItemClick>(this);
    FMenu->Items()->Add(Item);
    FMenuItems[I] = Item;
    if (I == ptbDelete || I == ptbSave) {
      auto* Line = NewObject<TMenuItem>(FMenu);
      Line->SetCaption("-");
      FMenu->Items()->Add(Line);
    }
  }
  return FMenu;
}

void TdxPopupToolBar::UpdateMenu(const AnsiString& CustomCaption, TBitmap* CustomGlyph) {
  TPopupMenu* Popup = Menu();
  for (int I = 0; I < dxPopupToolBarButtonCount; ++I)
    FMenuItems[I]->SetVisible(FButtons.Contains(static_cast<TdxPopupToolBarButton>(I)));
  TMenuItem* Custom = FMenuItems[ptbCustom];
  Custom->SetCaption(CustomCaption);
  if (CustomGlyph && !CustomGlyph->Empty()) {
    Custom->SetBitmap(CustomGlyph);
    Custom->Bitmap()->SetTransparent(true);
  } else {
    Custom->SetBitmap(nullptr);
  }
  // A separator shows only between two visible items, and once between them.
  TMenuItem* Pending = nullptr;
  bool ItemSinceLine = false;
  TMenuItem* Items = Popup->Items();
  for (int I = 0; I < Items->Count(); ++I) {
    TMenuItem* Item = Items->Items(I);
    if (Item->IsLine()) {
      Item->SetVisible(false);
      if (ItemSinceLine) Pending = Item;
      ItemSinceLine = false;
    } else if (Item->Visible()) {
      if (Pending) Pending->SetVisible(true);
      Pending = nullptr;
      ItemSinceLine = true;
    }
  }
  EnableButtons();
}

void TdxPopupToolBar::ButtonClick(TObject* Sender) {
  if (auto* Button = ObjectAs<TSpeedButton>(Sender)) Command(Button->Tag());
}

void TdxPopupToolBar::MenuItemClick(TObject* Sender) {
  if (auto* Item = ObjectAs<TMenuItem>(Sender)) Command(Item->Tag());
}

void TdxPopupToolBar::Command(int Tag) {
  if (Tag < 0 || Tag >= dxPopupToolBarButtonCount) return;
  if (OnCommand.Assigned()) OnCommand(this, static_cast<TdxPopupToolBarButton>(Tag));
}

// ---------------------------------------------------------------------------------
// Placing and showing

void TdxPopupToolBar::PlaceBeside(const TRect& R) {
  TRect Area;
  GetWorkAreaAt(Point(R.left, R.top), Area);
  const int ToolWidth = Width();
  const int ToolHeight = Height();
  const int EditWidth = R.right - R.left;
  const int EditHeight = R.bottom - R.top;
  int X = R.left;
  int Y = R.top;
  switch (FAlignment) {
    case ptaLeft:
      X = R.left - ToolWidth;
      if (X < Area.left) X = R.left + EditWidth;
      break;
    case ptaRight:
      X = R.left + EditWidth;
      if (X + ToolWidth > Area.right) X = R.left - ToolWidth;
      break;
    case ptaTop:
      Y = R.top - ToolHeight;
      if (Y < Area.top) Y = R.top + EditHeight;
      break;
    case ptaBottom:
      Y = R.top + EditHeight;
      if (R.top > Area.bottom) Y = R.top - ToolHeight;
      break;
  }
  X = std::max(static_cast<int>(Area.left), std::min(X, static_cast<int>(Area.right) - ToolWidth));
  Y = std::max(static_cast<int>(Area.top), std::min(Y, static_cast<int>(Area.bottom) - ToolHeight));
  SetBounds(X, Y, ToolWidth, ToolHeight);
}

void TdxPopupToolBar::ShowToolBar() {
  if (!FToolBarVisible || FClosedByUser) return;
  HWND Window = Handle();
  SendMessageA(Window, WM_NCACTIVATE, 1, 0);
  ShowWindow(Window, SW_SHOWNOACTIVATE);
  SetWindowPos(Window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TdxPopupToolBar::HideToolBar() {
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool TdxPopupToolBar::ToolBarShowing() const {
  return HandleAllocated() && IsWindowVisible(const_cast<TdxPopupToolBar*>(this)->Handle());
}

// ---------------------------------------------------------------------------------
// Window behaviour

void TdxPopupToolBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxPopupToolBar::CreateWnd() {
  inherited::CreateWnd();
  FNextViewer = SetClipboardViewer(Handle());
  FInViewerChain = true;
  if (HMENU SystemMenu = GetSystemMenu(Handle(), FALSE)) {
    for (UINT Command : {SC_MAXIMIZE, SC_MINIMIZE, SC_SIZE, SC_RESTORE})
      DeleteMenu(SystemMenu, Command, MF_BYCOMMAND);
  }
}

void TdxPopupToolBar::DestroyWnd() {
  LeaveViewerChain();
  inherited::DestroyWnd();
}

void TdxPopupToolBar::LeaveViewerChain() {
  if (!FInViewerChain) return;
  FInViewerChain = false;
  if (HandleAllocated()) ChangeClipboardChain(Handle(), FNextViewer);
  FNextViewer = nullptr;
}

void TdxPopupToolBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCDESTROY:
      // Also when the window is destroyed from outside.
      LeaveViewerChain();
      break;
    case WM_DRAWCLIPBOARD:
      EnableButtons();
      if (FNextViewer) SendMessageA(FNextViewer, Message.Msg, Message.WParam, Message.LParam);
      return;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(Message.WParam) == FNextViewer)
        FNextViewer = reinterpret_cast<HWND>(Message.LParam);
      else if (FNextViewer)
        SendMessageA(FNextViewer, Message.Msg, Message.WParam, Message.LParam);
      return;
    case WM_ACTIVATE:
      inherited::Dispatch(Message);
      if (TWinControl* Edit = Editor()) {
        if (TCustomForm* Form = GetParentForm(Edit); Form && Form->HandleAllocated())
          SendMessageA(Form->Handle(), WM_NCACTIVATE, 1, 0);
      }
      EnableButtons();
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_KILLFOCUS: {
      inherited::Dispatch(Message);
      TWinControl* Edit = Editor();
      const HWND Target = reinterpret_cast<HWND>(Message.WParam);
      if (!Edit || !Edit->HandleAllocated() || Target != Edit->Handle()) HideToolBar();
      return;
    }
    case WM_CLOSE:
      FClosedByUser = true;
      HideToolBar();
      return;
    case WM_GETMINMAXINFO: {
      // The window may be as small as its frame: an empty toolbar has no client area.
      inherited::Dispatch(Message);
      auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
      Info->ptMinTrackSize = POINT{0, 0};
      return;
    }
    case CM_SHOWINGCHANGED:
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------

void InitdxPopupToolBar() {
  for (int I = ptbCut; I <= ptbSave; ++I) {
    Captions[I] = dxEditText(IDS_DXTOOL_CAPTION_FIRST + I);
    Hints[I] = dxEditText(IDS_DXTOOL_HINT_FIRST + I);
  }
  TPublish<TdxPopupToolBarWindow> P;
  P.Prop("Alignment", &TdxPopupToolBarWindow::Alignment, &TdxPopupToolBarWindow::SetAlignment).Default(ptaBottom);
  P.Prop("Buttons", &TdxPopupToolBarWindow::Buttons, &TdxPopupToolBarWindow::SetButtons)
      .Default(dxDefaultPopupToolBarButtons);
  P.Prop("CustomButtonCaption", &TdxPopupToolBarWindow::CustomButtonCaption,
         &TdxPopupToolBarWindow::SetCustomButtonCaption);
  P.Prop("CustomButtonGlyph", &TdxPopupToolBarWindow::CustomButtonGlyph,
         &TdxPopupToolBarWindow::SetCustomButtonGlyph);
  P.Prop("IsPopupMenu", &TdxPopupToolBarWindow::IsPopupMenu, &TdxPopupToolBarWindow::SetIsPopupMenu)
      .Default(true);
  P.Prop("ShowCaptions", &TdxPopupToolBarWindow::ShowCaptions, &TdxPopupToolBarWindow::SetShowCaptions)
      .Default(true);
  P.Prop("Visible", &TdxPopupToolBarWindow::Visible, &TdxPopupToolBarWindow::SetVisible).Default(true);
}

void DonedxPopupToolBar() {
  UnRegisterPublished(&TdxPopupToolBarWindow::StaticClass());
  for (AnsiString& Text : Captions) Text.clear();
  for (AnsiString& Text : Hints) Text.clear();
}
