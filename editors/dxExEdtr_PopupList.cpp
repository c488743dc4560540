#include "editors/dxExEdtr_PopupList.h"

#include "classlib/GdiScopes.h"
#include "classlib/Messages.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr_DropDown.h"

TCLASS_IMPL(TCustomdxPopupListBox)
TCLASS_IMPL(TdxPopupImageListBox)
TCLASS_IMPL(TCustomdxPopupPickListBox)
TCLASS_IMPL(TdxPopupPickListBox)

namespace {

DWORD SystemTickCount() { return GetTickCount(); }

// Search keys further apart than this start a new search; a search holds at most
// MaxSearchLength characters.
constexpr DWORD SearchPause = 2000;
constexpr std::size_t MaxSearchLength = 32;

}  // namespace

TdxTickCountProc dxTickCountProc = SystemTickCount;

// ---------------------------------------------------------------------------------
// TCustomdxPopupListBox

TCustomdxPopupListBox::TCustomdxPopupListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetVisible(false);
  SetStyle(lbOwnerDrawVariable);
}

void TCustomdxPopupListBox::SetPopupBorder(TdxPopupBorder Value) {
  if (FPopupBorder == Value) return;
  FPopupBorder = Value;
  RecreateWnd();
}

void TCustomdxPopupListBox::SetShadow(bool Value) {
  if (FShadow == Value) return;
  FShadow = Value;
  RecreateWnd();
}

void TCustomdxPopupListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  // The frame is the popup's own (WM_NCCALCSIZE, WM_NCPAINT).
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TCustomdxPopupListBox::CreateWnd() {
  inherited::CreateWnd();
  // Made under the editor, so that the owner-draw requests reach it; shown on its own.
  ::SetParent(Handle(), nullptr);
  // The list box believes it has the focus: it paints as focused and never takes the
  // focus on a press.
  CallWindowProcA(DefWndProc(), Handle(), WM_SETFOCUS, 0, 0);
}

int TCustomdxPopupListBox::TextWidth(const AnsiString& Text) {
  TScreenDC Screen;
  TSelection Selected(Screen.DC(), Font()->Handle());
  SIZE Size{0, 0};
  GetTextExtentPoint32A(Screen.DC(), Text.data(), static_cast<int>(Text.size()), &Size);
  return Size.cx;
}

void TCustomdxPopupListBox::MeasureItem(int /*Index*/, int& Height) {
  TScreenDC Screen;
  TSelection Selected(Screen.DC(), Font()->Handle());
  SIZE Size{0, 0};
  GetTextExtentPoint32A(Screen.DC(), "Wg", 2, &Size);
  Height = Size.cy;
  FItemHeightValue = Height;
}

int TCustomdxPopupListBox::MeasuredItemHeight() {
  int Height = ItemHeight();
  MeasureItem(0, Height);
  return Height;
}

void TCustomdxPopupListBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FHotTrack || !HandleAllocated()) return;
  int Index = ItemAtPos(TPoint{X, Y}, true);
  if (Index != -1 && Index != ItemIndex()) SetItemIndex(Index);
}

void TCustomdxPopupListBox::WndProc(TMessage& Message) {
  TdxInplaceEdit::TUserStep Step(TdxInplaceEdit::IsUserInput(Message.Msg) ? FEditor : nullptr);
  inherited::WndProc(Message);
}

void TCustomdxPopupListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      inherited::Dispatch(Message);
      // Both forms of the message start with the proposed window rectangle.
      if (Message.LParam)
        ShrinkByPopupFrame(*reinterpret_cast<RECT*>(Message.LParam), FPopupBorder, FShadow, FShadowSize);
      break;
    case WM_NCPAINT: {
      inherited::Dispatch(Message);
      TWindowDC DC(Handle());
      if (DC.DC()) DrawPopupFrame(Handle(), DC.DC(), FPopupBorder, FShadow, FShadowSize);
      break;
    }
    case WM_SIZE:
      inherited::Dispatch(Message);
      SetPopupShadowRegion(Handle(), FShadow, FShadowSize);
      break;
    // A press selects without activating the list or taking the focus.
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    // Told to close (its editor is hidden), the list hides.
    case WM_CLOSE:
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
      break;
    case CM_HINTSHOW: Message.Result = 1; break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// TdxPopupImageListBox

void TdxPopupImageListBox::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  RecreateWnd();
}

void TdxPopupImageListBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TdxPopupImageListBox::MeasureItem(int Index, int& Height) {
  inherited::MeasureItem(Index, Height);
  if (FImages && Height < FImages->Height() + 2) Height = FImages->Height() + 2;
}

void TdxPopupImageListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState /*State*/) {
  if (Index == -1) return;
  TCanvas* C = Canvas();
  C->FillRect(Rect);
  int ImageWidth = 0;
  if (FImages) {
    ImageWidth = FImages->Width();
    int ImageIndex = ObjectImageIndex(Items()->Objects(Index));
    if (ImageIndex >= 0 && ImageIndex < FImages->Count())
      DrawImageListImage(C->Handle(), Rect.left + 1, (Rect.top + Rect.bottom - FImages->Height()) / 2, FImages,
                         ImageIndex);
  }
  const AnsiString Text = Items()->Strings(Index);
  const int TextHeight = C->TextHeight("Wg");
  TSavedTextState Saved(C->Handle());
  SetBkMode(C->Handle(), TRANSPARENT);
  if (FMultiLine) {
    RECT R = Rect;
    InflateRect(&R, -2, -2);
    R.left += ImageWidth + 1;
    DrawTextA(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), &R,
              DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS);
  } else {
    ExtTextOutA(C->Handle(), Rect.left + ImageWidth + 3, (Rect.top + Rect.bottom - TextHeight) / 2, 0, nullptr,
                Text.data(), static_cast<UINT>(Text.size()), nullptr);
  }
}

// ---------------------------------------------------------------------------------
// TCustomdxPopupPickListBox

void TCustomdxPopupPickListBox::KeyPress(char& Key) {
  const auto Code = static_cast<unsigned char>(Key);
  if (Key == '\b' || Key == '\x1B') {
    FSearchText.clear();
  } else if (Code >= 32) {
    const DWORD Now = dxTickCountProc();
    if (Now - FSearchTickCount > SearchPause) FSearchText.clear();
    FSearchTickCount = Now;
    if (FSearchText.size() < MaxSearchLength) FSearchText += Key;
    // 0xFFFF: the search starts at the first item.
    if (HandleAllocated() &&
        SendMessageA(Handle(), LB_SELECTSTRING, 0xFFFF, reinterpret_cast<LPARAM>(FSearchText.c_str())) == LB_ERR)
      FSearchText.pop_back();
    Key = '\0';
  }
  inherited::KeyPress(Key);
}

// ---------------------------------------------------------------------------------
// TdxPopupPickListBox

void TdxPopupPickListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && Editor()) Editor()->CloseUp(X >= 0 && X < Width() && Y >= 0 && Y < Height());
}
