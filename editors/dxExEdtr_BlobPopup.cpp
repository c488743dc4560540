#include "editors/dxExEdtr_BlobPopup.h"

#include <richedit.h>

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditor.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TCustomdxBlobPopup)

namespace {

// The picture menu's commands (the tags are the toolbar glyphs' indexes).
enum TPictCommand { pcCut, pcCopy, pcPaste, pcDelete, pcLoad, pcSave };

// The accelerator character of a caption ("&OK" gives 'O'), upper case.
char Accelerator(const AnsiString& Caption) {
  const size_t At = Caption.find('&');
  if (At == AnsiString::npos || At + 1 >= Caption.size()) return 0;
  return static_cast<char>(toupper(static_cast<unsigned char>(Caption[At + 1])));
}

}  // namespace

TCustomdxBlobPopup::TCustomdxBlobPopup(TComponent* AOwner) : TdxInplacePopupControl(AOwner) {
  SetIsPopup(true);
  SetDrawFrame(false);
  FPicture = NewObject<TPicture>();
  FPicture->OnChange = TNotifyEvent::Bind<&TCustomdxBlobPopup::PictureChanged>(this);
  SetBounds(0, 0, 185, 89);
  SetVisible(false);
  SetTabStop(true);
  SetParentColor(false);
}

TCustomdxBlobPopup::~TCustomdxBlobPopup() {
  FreeAndNil(FBuffer);
  FreeAndNil(FPicture);
}

// ---------------------------------------------------------------------------------
// Settings

void TCustomdxBlobPopup::SetKind(TdxBlobEditKind Value) {
  if (FKind == Value) return;
  if (HandleAllocated()) DestroyHandle();
  FKind = Value;
}

void TCustomdxBlobPopup::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  FMetricsValid = false;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomdxBlobPopup::SetGripCorner(TdxCorner Value) {
  if (FGripCorner == Value) return;
  FGripCorner = Value;
  if (HandleAllocated())
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomdxBlobPopup::SetPictureTransparency(TdxGraphicEditTransparency Value) {
  FPictureTransparency = Value;
  ApplyTransparency();
}

void TCustomdxBlobPopup::ApplyTransparency() {
  if (FPictureTransparency == gtDefault || !FPicture->Graphic()) return;
  TFlagScope Setting(FSettingTransparency);
  FPicture->Graphic()->SetTransparent(FPictureTransparency == gtTransparent);
}

// ---------------------------------------------------------------------------------
// Content

const char* TCustomdxBlobPopup::Refusal(const AnsiString& Text) const {
  return TdxWrapGuard::MemoRefusal(Text, MemoWordWrap);
}

AnsiString TCustomdxBlobPopup::MemoText() {
  return IsMemo() && HandleAllocated() && !FHolding ? TWinControl::GetText() : FKeptText;
}

void TCustomdxBlobPopup::SetMemoText(const AnsiString& Value) {
  if (IsMemo() && !TdxWrapGuard::Takes(Font()->Handle(), Value, MemoWordWrap)) throw EInvalidOperation(Refusal(Value));
  // A program's text: the window forgets any edit with it, as for every text set.
  FKeptText = Value;
  if (std::exchange(FHolding, false) && HandleAllocated())
    ShowKeptText(Font()->Handle());
  else if (IsMemo() && HandleAllocated())
    SetWindowTextA(FHandle, Value.c_str());
}

void TCustomdxBlobPopup::SetMemoValue(const AnsiString& Value) {
  FKeptText = Value;
  FHolding = IsMemo() && !TdxWrapGuard::Takes(Font()->Handle(), Value, MemoWordWrap);
  if (IsMemo() && HandleAllocated()) ShowKeptText(Font()->Handle());
}

AnsiString TCustomdxBlobPopup::ShownText(HFONT Font) {
  // A value held in one font may be held whole in another.
  FHolding = FHolding && !TdxWrapGuard::Takes(Font, FKeptText, MemoWordWrap);
  return FHolding ? FKeptText.substr(
                        0, TdxWrapGuard::LongestTaken(Font, FKeptText, MemoWordWrap))
                  : FKeptText;
}

void TCustomdxBlobPopup::ShowKeptText(HFONT Font) {
  const AnsiString Shown = ShownText(Font);
  {
    TFlagScope Quiet(FCreatingWindow);
    SetWindowTextA(FHandle, Shown.c_str());
  }
  SendMessageA(FHandle, EM_SETREADONLY, FReadOnly || FHolding, 0);
  SendMessageA(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
  SetModified(false);
}

bool TCustomdxBlobPopup::HeldChange(TMessage& Message) {
  if (!FHolding || !IsMemo() || !HandleAllocated()) return false;
  if (Message.Msg == WM_COPY) {
    const TTextSpan Span = HeldSelection(FHandle, FKeptText);
    Clipboard()->SetAsText(FKeptText.substr(Span.From, Span.To - Span.From));
    Message.Result = 0;
    return true;
  }
  const bool Deletes = Message.Msg == WM_KEYDOWN && Message.WParam == VK_DELETE;
  if (!Deletes && Message.Msg != EM_REPLACESEL &&
      !UserTextChange(Message, true, MemoWantTabs))
    return false;
  MessageBeepProc(0);
  Message.Result = 0;
  return true;
}

bool TCustomdxBlobPopup::GetModified() {
  if (!IsMemo()) return FPictureModified;
  return HandleAllocated() ? SendMessageA(FHandle, EM_GETMODIFY, 0, 0) != 0 : FKeptModified;
}

void TCustomdxBlobPopup::SetModified(bool Value) {
  FPictureModified = Value;
  FKeptModified = Value;
  if (IsMemo() && HandleAllocated()) SendMessageA(FHandle, EM_SETMODIFY, Value, 0);
  if (FShownModified != Value) RepaintBar();
}

bool TCustomdxBlobPopup::PictureEmpty() const { return IsPictureEmpty(FPicture); }

void TCustomdxBlobPopup::PictureChanged(TObject* /*Sender*/) {
  if (FSettingTransparency) return;
  ApplyTransparency();
  FScrollPos[0] = FScrollPos[1] = 0;
  UpdateScrollBars();
  if (HandleAllocated()) ::InvalidateRect(FHandle, nullptr, TRUE);
  FPictureModified = true;
  if (OnChange.Assigned()) OnChange(this);
  RepaintBar();
}

// ---------------------------------------------------------------------------------
// The window

void TCustomdxBlobPopup::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (IsMemo()) {
    CreateSubClass(Params, "RichEdit20A");
    // The text is given to the window once it is made and in plain-text mode (CreateWnd).
    Params.Caption.clear();
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (!MemoWordWrap) Params.Style |= ES_AUTOHSCROLL;
    if (MemoScrollBars == ssVertical || MemoScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
    if ((MemoScrollBars == ssHorizontal || MemoScrollBars == ssBoth) && !MemoWordWrap) Params.Style |= WS_HSCROLL;
    if (!MemoHideScrollBars) Params.Style |= ES_DISABLENOSCROLL;
    if (FReadOnly || FHolding) Params.Style |= ES_READONLY;
    if (MemoCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
    if (MemoCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
    if (MemoOEMConvert) Params.Style |= ES_OEMCONVERT;
    Params.WinClassName = AnsiString(ClassName()) + "Memo";
  } else {
    Params.WinClassName = AnsiString(ClassName()) + "Pict";
    if (!PictureAutoSize) Params.Style |= WS_HSCROLL | WS_VSCROLL;
  }
  Params.Style &= ~(WS_BORDER | WS_CHILD);
  Params.Style |= WS_POPUP;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TCustomdxBlobPopup::CreateWnd() {
  FMetricsValid = false;
  if (!IsMemo()) {
    inherited::CreateWnd();
    UpdateScrollBars();
    return;
  }
  StartRichEditOle();
  FWrapGuard.WindowCreated();
  {
    TFlagScope Creating(FCreatingWindow);
    const AnsiString Kept = ShownText(Font()->Handle());
    inherited::CreateWnd();
    // The text area is laid out before the text comes, which is wrapped in it.
    if (MemoSelectionBar) SendMessageA(FHandle, EM_SETOPTIONS, ECOOP_OR, ECO_SELECTIONBAR);
    SetWindowRect();
    SetRichEditPlainText(FHandle, Kept);
  }
  SendMessageA(FHandle, EM_EXLIMITTEXT, 0, MemoMaxLength > 0 ? MemoMaxLength : LargestTextLimit);
  SendMessageA(FHandle, EM_SETEVENTMASK, 0, dxBlobMemoEventMask);
  SendMessageA(FHandle, EM_SETBKGNDCOLOR, 0, ColorToRGB(Color()));
  SetCharFormatColor();
  SendMessageA(FHandle, EM_SETMODIFY, FKeptModified, 0);
  FShownModified = FKeptModified;
  ApplyCharCase();
}

void TCustomdxBlobPopup::DestroyWnd() {
  if (IsMemo()) {
    FKeptText = MemoText();
    FKeptModified = GetModified();
  }
  FMetricsValid = false;
  inherited::DestroyWnd();
}

RECT TCustomdxBlobPopup::TextRect() {
  RECT R;
  ::GetClientRect(FHandle, &R);
  InflateRect(&R, -1, -1);
  if (SendMessageA(FHandle, EM_GETOPTIONS, 0, 0) & ECO_SELECTIONBAR) R.left += dxSelectionBarWidth;
  return R;
}

void TCustomdxBlobPopup::SetWindowRect() {
  const RECT R = TextRect();
  SendMessageA(FHandle, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&R));
}

void TCustomdxBlobPopup::SetCharFormatColor() {
  SetRichEditTextColor(FHandle, Font()->Color(), 0);
}

void TCustomdxBlobPopup::ApplyCharCase() {
  if (!IsMemo() || !HandleAllocated() || MemoCharCase == ecNormal) return;
  const AnsiString Text = MemoText();
  const AnsiString Cased = MemoCharCase == ecUpperCase ? AnsiUpperCase(Text) : AnsiLowerCase(Text);
  if (Cased == Text) return;
  TFlagScope Applying(FApplyingCase);
  CHARRANGE Sel{};
  SendMessageA(FHandle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Sel));
  {
    // The typing that led here stays the user's change.
    TdxKeptModified Kept(*this);
    SetWindowTextA(FHandle, Cased.c_str());
  }
  SendMessageA(FHandle, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Sel));
  SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
}

void TCustomdxBlobPopup::TextChanged() {
  if (FApplyingCase) return;
  ApplyCharCase();
  if (FCreatingWindow) return;
  if (OnChange.Assigned()) OnChange(this);
  if (GetModified() != FShownModified) RepaintBar();
}

void TCustomdxBlobPopup::RepaintBar() {
  FShownModified = GetModified();
  if (HandleAllocated()) SendMessageA(FHandle, WM_NCPAINT, 1, 0);
}

// ---------------------------------------------------------------------------------
// Closing and the hand-back

void TCustomdxBlobPopup::DoHandBack() {
  if (!FCancelled && GetModified() && OnClose.Assigned()) OnClose(this);
  FCancelled = true;
}

void TCustomdxBlobPopup::ClosePopup() {
  if (IsMemo()) FKeptText = MemoText();
  if (HandleAllocated() && IsWindowVisible(FHandle) && OnResize.Assigned()) OnResize(this, Width(), Height());
  inherited::ClosePopup();
  if (AlwaysSaveText) DoHandBack();
}

void TCustomdxBlobPopup::ButtonClick(TdxBlobPopupButton Button) {
  if (Button == bpbCancel || Button == bpbClose) FCancelled = true;
  ClosePopup();
  if (Button == bpbOK) DoHandBack();
}

// ---------------------------------------------------------------------------------
// The picture pane

void TCustomdxBlobPopup::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  C->Brush()->SetColor(Color());
  TGraphic* Graphic = FPicture->Graphic();
  if (PictureEmpty()) {
    C->FillRect(Client);
    return;
  }
  TRect Dest;
  const int PW = FPicture->Width();
  const int PH = FPicture->Height();
  if (PictureAutoSize) {
    // Scaled with its aspect ratio to the client area, anchored top-left.
    const int CW = Client.right - Client.left;
    const int CH = Client.bottom - Client.top;
    int W = CW;
    int H = PW > 0 ? MulDiv(PH, CW, PW) : CH;
    if (H > CH) {
      H = CH;
      W = PH > 0 ? MulDiv(PW, CH, PH) : CW;
    }
    Dest = Rect(0, 0, W, H);
  } else {
    Dest = Rect(-FScrollPos[0], -FScrollPos[1], PW - FScrollPos[0], PH - FScrollPos[1]);
  }
  if (Graphic->Transparent()) {
    if (!FBuffer) FBuffer = NewObject<TBitmap>();
    FBuffer->SetSize(Client.right, Client.bottom);
    TCanvas* Buffer = FBuffer->Canvas();
    Buffer->Brush()->SetColor(Color());
    Buffer->FillRect(Client);
    Buffer->StretchDraw(Dest, Graphic);
    C->Draw(0, 0, FBuffer);
    return;
  }
  C->StretchDraw(Dest, Graphic);
  TSavedDC Saved(C->Handle());
  ExcludeClipRect(C->Handle(), Dest.left, Dest.top, Dest.right, Dest.bottom);
  C->FillRect(Client);
}

// Ranges 0..size - 1, the client size as page, the positions kept in range.
void TCustomdxBlobPopup::UpdateScrollBars() {
  if (IsMemo() || !HandleAllocated() || PictureAutoSize) return;
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  const int Sizes[2] = {FPicture->Width(), FPicture->Height()};
  const int Pages[2] = {Client.right, Client.bottom};
  for (int I = 0; I < 2; ++I) {
    FScrollPos[I] = std::clamp(FScrollPos[I], 0, std::max(0, Sizes[I] - Pages[I]));
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    Info.nMax = Sizes[I] > Pages[I] ? Sizes[I] - 1 : 0;
    Info.nPage = static_cast<UINT>(Pages[I]);
    Info.nPos = FScrollPos[I];
    SCROLLINFO Old{};
    Old.cbSize = sizeof(Old);
    Old.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    ::GetScrollInfo(FHandle, I == 0 ? SB_HORZ : SB_VERT, &Old);
    if (Old.nMax != Info.nMax || Old.nPage != Info.nPage || Old.nPos != Info.nPos || Old.nMin != 0)
      ::SetScrollInfo(FHandle, I == 0 ? SB_HORZ : SB_VERT, &Info, TRUE);
  }
}

void TCustomdxBlobPopup::ScrollTo(int X, int Y) {
  if (IsMemo() || !HandleAllocated()) return;
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  const int Wanted[2] = {std::clamp(X, 0, std::max(0, FPicture->Width() - static_cast<int>(Client.right))),
                         std::clamp(Y, 0, std::max(0, FPicture->Height() - static_cast<int>(Client.bottom)))};
  const int DX = FScrollPos[0] - Wanted[0];
  const int DY = FScrollPos[1] - Wanted[1];
  if (DX == 0 && DY == 0) return;
  FScrollPos[0] = Wanted[0];
  FScrollPos[1] = Wanted[1];
  if (std::abs(DX) < Client.right && std::abs(DY) < Client.bottom)
    ScrollWindowEx(FHandle, DX, DY, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  else
    ::InvalidateRect(FHandle, nullptr, FALSE);
  UpdateScrollBars();
}

void TCustomdxBlobPopup::WMScroll(TMessage& Message, int Bar) {
  if (IsMemo()) {
    DefaultHandler(Message);
    return;
  }
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  const int Size = Bar == SB_HORZ ? FPicture->Width() : FPicture->Height();
  const int Page = Bar == SB_HORZ ? Client.right : Client.bottom;
  const int Line = GetSystemMetrics(Bar == SB_HORZ ? SM_CXHSCROLL : SM_CYVSCROLL);
  int Pos = FScrollPos[Bar == SB_HORZ ? 0 : 1];
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: Pos -= Line; break;
    case SB_LINEDOWN: Pos += Line; break;
    case SB_PAGEUP: Pos -= Page; break;
    case SB_PAGEDOWN: Pos += Page; break;
    case SB_TOP: Pos = 0; break;
    case SB_BOTTOM: Pos = Size; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO Info{};
      Info.cbSize = sizeof(Info);
      Info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(FHandle, Bar, &Info);
      const int T = Info.nTrackPos;
      if (T < 1)
        Pos = 0;
      else if (T >= Size)
        Pos = Size;
      else if (T + 1 + Page >= Size)
        Pos = T + 1;
      else
        Pos = (T + 1) / 4 * 4;
      break;
    }
    default: return;
  }
  if (Bar == SB_HORZ)
    ScrollTo(Pos, FScrollPos[1]);
  else
    ScrollTo(FScrollPos[0], Pos);
}

void TCustomdxBlobPopup::WMSize(TMessage& Message) {
  if (!IsMemo()) {
    inherited::Dispatch(Message);
    UpdateScrollBars();
    return;
  }
  auto Resize = [&] {
    inherited::Dispatch(Message);
    SetWindowRect();
  };
  if (MemoWordWrap)
    FWrapGuard.GuardLayout(FHandle, Font()->Handle(),
                           TdxWrapGuard::AreaWidth(FHandle, TextRect()), Resize);
  else
    Resize();
}

bool TCustomdxBlobPopup::WrapGuarded(TMessage& Message) {
  if (!IsMemo() || !HandleAllocated()) return false;
  const auto Handle = [&] { inherited::Dispatch(Message); };
  // A text replacing the selection comes from the clipboard; a whole text, from the
  // editor or the letter case.
  return (MemoWordWrap && FWrapGuard.GuardUndo(FHandle, Font()->Handle(), Message, Handle)) ||
         FWrapGuard.Guard(FHandle, Font()->Handle(), Message, Message.Msg != WM_SETTEXT, MemoWordWrap, Handle);
}

// ---------------------------------------------------------------------------------
// Keys

bool TCustomdxBlobPopup::AcceleratorHit(char Key, TdxBlobPopupButton Button) {
  TdxBlobPopupButton Shown[3];
  const int Count = ShownButtons(Shown);
  if (std::find(Shown, Shown + Count, Button) == Shown + Count) return false;
  const char A = Accelerator(dxBlobButtonCaption(Button));
  return A && toupper(static_cast<unsigned char>(Key)) == A;
}

void TCustomdxBlobPopup::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const bool Alt = Shift.Contains(ssAlt);
  const bool Ctrl = Shift.Contains(ssCtrl);
  if (Key == VK_TAB && !MemoWantTabs) {
    ClosePopup();
    if (OnTabOut.Assigned()) OnTabOut(this, Shift.Contains(ssShift));
    MSG Pending;
    PeekMessageA(&Pending, FHandle, WM_CHAR, WM_CHAR, PM_REMOVE);
    Key = 0;
  } else if (((Key == VK_UP || Key == VK_DOWN) && Alt) || Key == VK_F4) {
    ClosePopup();
    SetModified(false);
    Key = 0;
  } else if (Key == VK_ESCAPE) {
    SetModified(false);
    ButtonClick(bpbCancel);
    Key = 0;
  } else if (Key == VK_RETURN && (Ctrl || !MemoWantReturns || !IsMemo())) {
    ButtonClick(bpbOK);
    Key = 0;
  } else if (!IsMemo() && Key == VK_INSERT && Shift.Contains(ssShift)) {
    MenuCommand(pcPaste);
    Key = 0;
  } else if (!IsMemo() && Key == VK_INSERT && Ctrl) {
    MenuCommand(pcCopy);
    Key = 0;
  } else if (!IsMemo() && Key == VK_DELETE && Shift.Contains(ssShift)) {
    MenuCommand(pcCut);
    Key = 0;
  } else if (const UINT Command =
                 IsMemo() && HandleAllocated() ? EditKeyMessage(Key, Shift) : 0) {
    // The memo's editing keys go through the window's messages, the paste to ours.
    SendMessageA(FHandle, Command, 0, 0);
    Key = 0;
  } else if (IsMemo() && ControlKeyWithheld(Key, Shift)) {
    Key = 0;
  }
}

void TCustomdxBlobPopup::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  TdxBlobPopupButton Shown[3];
  const bool OKShown = ShownButtons(Shown) > 1;
  if (Key == '\n' && OKShown) Key = 0;
  if (Key == '\t' && !MemoWantTabs) Key = 0;
  if (IsMemo()) return;
  switch (Key) {
    case 3: MenuCommand(pcCopy); Key = 0; break;
    case 22: MenuCommand(pcPaste); Key = 0; break;
    case 24: MenuCommand(pcCut); Key = 0; break;
    default: break;
  }
}

void TCustomdxBlobPopup::WMSysKeyDown(TMessage& Message) {
  const char Key = static_cast<char>(MapVirtualKeyA(static_cast<UINT>(Message.WParam), MAPVK_VK_TO_CHAR));
  TdxBlobPopupButton Button = bpbNone;
  if (AcceleratorHit(Key, bpbOK))
    Button = bpbOK;
  else if (AcceleratorHit(Key, bpbCancel))
    Button = bpbCancel;
  else if (AcceleratorHit(Key, bpbClose))
    Button = bpbClose;
  if (Button == bpbNone) {
    inherited::Dispatch(Message);
    return;
  }
  if (Button != bpbOK) SetModified(false);
  ButtonClick(Button);
  // Made again when the popup opens next.
  DestroyHandle();
  Message.Result = 0;
}

void TCustomdxBlobPopup::WMGetDlgCode(TMessage& Message) {
  DefaultHandler(Message);
  if (MemoWantTabs)
    Message.Result |= DLGC_WANTTAB;
  else
    Message.Result &= ~DLGC_WANTTAB;
  if (!MemoWantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
}

// ---------------------------------------------------------------------------------
// Messages

void TCustomdxBlobPopup::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_PASTE && IsMemo() && HandleAllocated()) {
    // The control would replace the whole text: the clipboard's text goes over the
    // selection only.
    if (!FReadOnly && !FHolding) PasteRichEditPlainText(FHandle);
    Message.Result = 0;
    return;
  }
  if (IsMemo() && HandleAllocated()) {
    if (InsertsText(Message)) EndSelectionAtText(FHandle);
    if (DeletesText(Message)) {
      dxDeletion(*this, FHandle, [&] { inherited::DefaultHandler(Message); });
      return;
    }
  }
  inherited::DefaultHandler(Message);
}

void TCustomdxBlobPopup::Dispatch(TMessage& Message) {
  if (FPressedButton != bpbNone && GetCapture() == FHandle) {
    if (Message.Msg == WM_MOUSEMOVE) {
      WMMouseMoveCaptured(Message);
      return;
    }
    if (Message.Msg == WM_LBUTTONUP) {
      WMLButtonUpCaptured(Message);
      return;
    }
  }
  if (HeldChange(Message)) return;
  switch (Message.Msg) {
    case WM_PAINT:
      if (IsMemo())
        DefaultHandler(Message);
      else
        inherited::Dispatch(Message);
      return;
    case WM_ERASEBKGND:
      if (IsMemo())
        inherited::Dispatch(Message);
      else
        Message.Result = 1;
      return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE) TextChanged();
      return;
    case CN_NOTIFY:
      // A text dragged and dropped in the memo is the user's change.
      if (auto* Header = reinterpret_cast<NMHDR*>(Message.LParam); Header && Header->code == EN_DRAGDROPDONE)
        SetModified(true);
      inherited::Dispatch(Message);
      return;
    case CM_FONTCHANGED:
      // Without a window the font is judged against the text the window would be made
      // with; a window judges the font it is given (WM_SETFONT).
      if (IsMemo() && !HandleAllocated() && !FHolding &&
          !TdxWrapGuard::Takes(Font()->Handle(), FKeptText, MemoWordWrap))
        throw EInvalidOperation(Refusal(FKeptText));
      FMetricsValid = false;
      inherited::Dispatch(Message);
      return;
    case WM_SETFONT:
      if (IsMemo() && HandleAllocated() && FHolding) {
        // The value held comes to the new font as the window shows as much of it as
        // the control holds in it; the part shown may be too long for the new font.
        // Nothing marks a pane while it holds a value (read-only, a hold begins with a
        // value given anew, unmarked): the window's text shown anew forgets no edit.
        const auto NewFont = reinterpret_cast<HFONT>(Message.WParam);
        SetWindowTextA(FHandle, "");
        inherited::Dispatch(Message);
        SetCharFormatColor();
        ShowKeptText(NewFont);
        FMetricsValid = false;
        return;
      }
      // A font that puts a tab of the memo's text too far along would hang the control:
      // the pane keeps its font.
      if (IsMemo() && HandleAllocated() &&
          !TdxWrapGuard::TakesFont(FHandle, reinterpret_cast<HFONT>(Message.WParam), MemoText()))
        throw EInvalidOperation(Refusal(MemoText()));
      FMetricsValid = false;
      if (IsMemo() && MemoWordWrap && HandleAllocated()) {
        // A new font keeps the wrapping width the text needs.
        FWrapGuard.GuardLayout(FHandle, reinterpret_cast<HFONT>(Message.WParam),
                               TdxWrapGuard::AreaWidth(FHandle),
                               [&] { inherited::Dispatch(Message); });
      } else {
        inherited::Dispatch(Message);
      }
      if (IsMemo() && HandleAllocated()) SetCharFormatColor();
      return;
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      if (IsMemo() && HandleAllocated()) SendMessageA(FHandle, EM_SETBKGNDCOLOR, 0, ColorToRGB(Color()));
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (GetFocus() != FHandle) {
        ReleaseCapture();
        if (Message.Msg == WM_MBUTTONDOWN) PostMessageA(FHandle, WM_MBUTTONUP, Message.WParam, Message.LParam);
      }
      inherited::Dispatch(Message);
      return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); return;
    case WM_HSCROLL: WMScroll(Message, SB_HORZ); return;
    case WM_VSCROLL: WMScroll(Message, SB_VERT); return;
    case WM_NCCALCSIZE:
      if (IsMemo() && HandleAllocated()) FWrapGuard.NoteClient(FHandle);
      WMNCCalcSize(Message);
      return;
    case WM_WINDOWPOSCHANGED:
      // The control wraps its text again as its window moves (see TdxWrapGuard::GuardMove).
      if (IsMemo() && MemoWordWrap && HandleAllocated())
        FWrapGuard.GuardMove(FHandle, Font()->Handle(),
                             [&] { inherited::Dispatch(Message); });
      else
        inherited::Dispatch(Message);
      return;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDown(Message); return;
    case WM_NCPAINT: WMNCPaint(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); return;
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case WM_CHAR:
    case WM_KEYDOWN:
      if (!WrapGuarded(Message)) inherited::Dispatch(Message);
      return;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      // The control leaves its modification flag as it was for these.
      dxMarkedChange(*this, [this] { return MemoText(); }, [&] {
        if (!WrapGuarded(Message)) inherited::Dispatch(Message);
      });
      return;
    default: inherited::Dispatch(Message); return;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxBlobPopup() {
  // The popup starts hidden, without its parent's colour and as a tab stop: what
  // differs is what a form file has to say.
  TPublish<TCustomdxBlobPopup> P;
  P.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Prop("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);
  P.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

void DonedxBlobPopup() { UnRegisterPublished(&TCustomdxBlobPopup::StaticClass()); }
