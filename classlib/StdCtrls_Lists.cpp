// The edit, and the list controls with their items: the combo box and the list box.
#include <algorithm>

#include "classlib/Lists.h"
#include "classlib/StdCtrls.h"
#include "classlib/StrUtils.h"

TCLASS_IMPL(TCustomEdit)
TCLASS_IMPL(TEdit)
TCLASS_IMPL(TListControlItems)
TCLASS_IMPL(TCustomComboBox)
TCLASS_IMPL(TComboBox)
TCLASS_IMPL(TCustomListBox)
TCLASS_IMPL(TListBox)

namespace {

// The height of a line of text in the font, in pixels.
int LineHeight(TFont* Font) {
  TScreenDC Screen;
  TSelection Selected(Screen.DC(), Font->Handle());
  TEXTMETRICA Metrics{};
  GetTextMetricsA(Screen.DC(), &Metrics);
  return Metrics.tmHeight;
}

const classlib_detail::TListMessages ComboMessages{CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING,
                                                   CB_RESETCONTENT, CB_GETCURSEL,   CB_SETCURSEL};
const classlib_detail::TListMessages ListMessages{LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING,
                                                  LB_RESETCONTENT, LB_GETCURSEL,   LB_SETCURSEL};

}  // namespace

// ---------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks});
  FWidth = 121;
  FHeight = 21;
  SetTabStop(true);
  FParentColor = false;
  FColor = clWindow;
  Brush()->SetColor(clWindow);
  TControl::SetAutoSize(true);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar) SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
  SendMessageA(FHandle, EM_SETMODIFY, FModified, 0);
}

void TCustomEdit::DestroyWnd() {
  FModified = Modified();
  inherited::DestroyWnd();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
  AdjustSize();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) SendMessageA(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (HandleAllocated()) {
    SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(Value), 0);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETREADONLY, Value, 0);
}

bool TCustomEdit::Modified() {
  return HandleAllocated() ? SendMessageA(FHandle, EM_GETMODIFY, 0, 0) != 0 : FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETMODIFY, Value, 0);
}

int TCustomEdit::SelStart() {
  DWORD Start = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), 0);
  return static_cast<int>(Start);
}

void TCustomEdit::SetSelStart(int Value) { SendMessageA(Handle(), EM_SETSEL, Value, Value); }

int TCustomEdit::SelLength() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<int>(End - Start);
}

void TCustomEdit::SetSelLength(int Value) {
  int Start = SelStart();
  SendMessageA(Handle(), EM_SETSEL, Start, Start + Value);
}

AnsiString TCustomEdit::SelText() {
  int Start = SelStart();
  return Text().substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
  SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, 0, -1);
}

// The height of one line of the font with the border around it.
void TCustomEdit::AdjustSize() {
  if (!AutoSize() || ComponentState().Contains(csLoading)) return;
  int Height = LineHeight(Font()) + (FBorderStyle == bsSingle ? 2 * GetSystemMetrics(SM_CYEDGE) + 2 : 2);
  if (Height != FHeight) SetBounds(FLeft, FTop, FWidth, Height);
}

void TCustomEdit::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      // A long text given to a window just made is no change.
      if (HIWORD(Message.WParam) == EN_CHANGE && !ControlState().Contains(csCreating)) Change();
      break;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      // Without a window no EN_CHANGE reports it.
      if (!HandleAllocated()) Change();
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      AdjustSize();
      break;
    case CM_ENTER:
      if (FAutoSelect && !ControlState().Contains(csLButtonDown)) SelectAll();
      inherited::Dispatch(Message);
      break;
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      // Enter and Escape belong to the form's default and cancel buttons.
      Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// TListControlItems

TListControlItems::TListControlItems(TWinControl* AControl, const classlib_detail::TListMessages& AMessages)
    : FControl(AControl), FMessages(AMessages) {}

HWND TListControlItems::Window() const { return FControl->HandleAllocated() ? FControl->Handle() : nullptr; }

AnsiString TListControlItems::Get(int Index) const {
  if (Index < 0 || Index >= GetCount()) throw EStringListError(SListIndexError, {Index});
  return FItems[Index].Text;
}

TObject* TListControlItems::GetObject(int Index) const {
  if (Index < 0 || Index >= GetCount()) throw EStringListError(SListIndexError, {Index});
  return FItems[Index].Object;
}

void TListControlItems::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= GetCount()) throw EStringListError(SListIndexError, {Index});
  FItems[Index].Object = AObject;
}

int TListControlItems::Add(const AnsiString& S) {
  int Index = GetCount();
  if (FSorted) {
    // After the last item that does not sort after S: equal strings keep their order.
    Index = 0;
    while (Index < GetCount() && AnsiCompareText(FItems[Index].Text, S) <= 0) ++Index;
  }
  Insert(Index, S);
  return Index;
}

void TListControlItems::Insert(int Index, const AnsiString& S) {
  if (Index < 0 || Index > GetCount()) throw EStringListError(SListIndexError, {Index});
  FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
  if (HWND Wnd = Window()) SendMessageA(Wnd, FMessages.InsertString, Index, reinterpret_cast<LPARAM>(S.c_str()));
}

void TListControlItems::Delete(int Index) {
  if (Index < 0 || Index >= GetCount()) throw EStringListError(SListIndexError, {Index});
  FItems.erase(FItems.begin() + Index);
  if (HWND Wnd = Window()) SendMessageA(Wnd, FMessages.DeleteString, Index, 0);
}

void TListControlItems::Clear() {
  FItems.clear();
  if (HWND Wnd = Window()) SendMessageA(Wnd, FMessages.ResetContent, 0, 0);
}

void TListControlItems::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (!Value || FItems.size() < 2) return;
  MergeSort(FItems, [](const TItem& A, const TItem& B) { return AnsiCompareText(A.Text, B.Text); });
  if (HWND Wnd = Window()) FillWindow(Wnd);
}

void TListControlItems::FillWindow(HWND Wnd) const {
  SendMessageA(Wnd, FMessages.ResetContent, 0, 0);
  for (const TItem& Item : FItems) SendMessageA(Wnd, FMessages.AddString, 0, reinterpret_cast<LPARAM>(Item.Text.c_str()));
}

// ---------------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csSetCaption, csDoubleClicks});
  FWidth = 145;
  FHeight = 21;
  SetTabStop(true);
  FParentColor = false;
  FColor = clWindow;
  Brush()->SetColor(clWindow);
  FItems = NewObject<TListControlItems>(this, ComboMessages);
}

TCustomComboBox::~TCustomComboBox() { FreeAndNil(FItems); }

int TCustomComboBox::DroppedHeight() const {
  return FHeight + std::max(FDropDownCount, 1) * (LineHeight(Font()) + 2) + 2;
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  static const DWORD Styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | Styles[FStyle];
  if (FStyle != csSimple) Params.Height = DroppedHeight();
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
  AnsiString SavedText = FText;
  inherited::CreateWnd();
  FItems->FillWindow(FHandle);
  SendMessageA(FHandle, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  if (FStyle != csDropDownList && FItemIndex < 0) SetWindowTextA(FHandle, SavedText.c_str());
}

void TCustomComboBox::DestroyWnd() {
  FItemIndex = static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
  inherited::DestroyWnd();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // The window of a drop-down combo box is as high as its open list; the closed
  // height is the system's own, which the control reads back.
  if (FStyle != csSimple && HandleAllocated()) AHeight = DroppedHeight();
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

AnsiString TCustomComboBox::GetText() const {
  if (!FHandle && FStyle == csDropDownList)
    return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Strings(FItemIndex) : AnsiString();
  return inherited::GetText();
}

int TCustomComboBox::ItemIndex() {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
  return FItemIndex < FItems->Count() ? FItemIndex : -1;
}

void TCustomComboBox::SetItemIndex(int Value) {
  // A form file may give the index before the items: it is kept as read until they come
  // (an index past the items reads as -1).
  if (Value < -1 || (Value >= FItems->Count() && !ComponentState().Contains(csLoading))) Value = -1;
  FItemIndex = Value;
  if (HandleAllocated()) {
    SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
  } else if (FStyle != csDropDownList && Value < FItems->Count()) {
    FText = Value >= 0 ? FItems->Strings(Value) : AnsiString();
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int Value) {
  FDropDownCount = std::max(Value, 1);
  if (HandleAllocated() && FStyle != csSimple) SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TCustomComboBox::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) SendMessageA(FHandle, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) { SendMessageA(Handle(), CB_SHOWDROPDOWN, Value, 0); }

void TCustomComboBox::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE:
          FItemIndex = static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
          Click();
          Change();
          break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN:
          if (OnDropDown.Assigned()) OnDropDown(this);
          break;
        case CBN_CLOSEUP:
          if (OnCloseUp.Assigned()) OnCloseUp(this);
          break;
      }
      break;
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      // Enter and Escape go to the form unless the list is open.
      if (!DroppedDown()) Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      break;
    case CM_WANTSPECIALKEY:
      Message.Result = (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) && DroppedDown();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csSetCaption, csDoubleClicks});
  FWidth = 121;
  FHeight = 97;
  SetTabStop(true);
  FParentColor = false;
  FColor = clWindow;
  Brush()->SetColor(clWindow);
  FItems = NewObject<TListControlItems>(this, ListMessages);
  FCanvas = NewObject<TControlCanvas>(this);
}

TCustomListBox::~TCustomListBox() {
  FreeAndNil(FCanvas);
  FreeAndNil(FItems);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  static const DWORD Styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
  Params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | Styles[FStyle];
  if (FStyle != lbStandard) Params.Style |= LBS_HASSTRINGS;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  if (FStyle == lbOwnerDrawFixed) SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  FItems->FillWindow(FHandle);
  SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomListBox::DestroyWnd() {
  FItemIndex = static_cast<int>(SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
  inherited::DestroyWnd();
}

int TCustomListBox::ItemIndex() {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
  return FItemIndex < FItems->Count() ? FItemIndex : -1;
}

void TCustomListBox::SetItemIndex(int Value) {
  // As a combo box's: an index read before the items is kept.
  if (Value < -1 || (Value >= FItems->Count() && !ComponentState().Contains(csLoading))) Value = -1;
  FItemIndex = Value;
  if (HandleAllocated()) SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value < 1 || FItemHeight == Value) return;
  FItemHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

int TCustomListBox::TopIndex() { return static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)); }
void TCustomListBox::SetTopIndex(int Value) { SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0); }

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) {
  int Count = FItems->Count();
  for (int I = TopIndex(); I < Count; ++I) {
    TRect R = ItemRect(I);
    if (R.top >= ClientHeight()) break;
    if (PtInRect(&R, Pos)) return I;
  }
  return Existing ? -1 : Count;
}

TRect TCustomListBox::ItemRect(int Index) {
  RECT R{0, 0, 0, 0};
  SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
  return R;
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem.Assigned()) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count())
    FCanvas->TextOut(Rect.left + 2, Rect.top, FItems->Strings(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem.Assigned()) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  auto* Item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  auto State = TOwnerDrawState::FromBits(Item->itemState);
  FCanvas->FreeHandle();
  FCanvas->SetHandle(Item->hDC);
  struct TRelease {
    TControlCanvas* Canvas;
    ~TRelease() { Canvas->SetHandle(nullptr); }
  } Release{FCanvas};
  FCanvas->Font()->Assign(Font());
  bool Selected = State.Contains(odSelected);
  FCanvas->Brush()->SetColor(Selected ? clHighlight : Color());
  FCanvas->Font()->SetColor(Selected ? clHighlightText : Font()->Color());
  TRect R = Item->rcItem;
  if (static_cast<int>(Item->itemID) >= 0) {
    DrawItem(static_cast<int>(Item->itemID), R, State);
  } else {
    FCanvas->FillRect(R);
  }
  if (State.Contains(odFocused)) DrawFocusRect(Item->hDC, &R);
  Message.Result = TRUE;
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  auto* Item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int Height = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<int>(Item->itemID), Height);
  Item->itemHeight = static_cast<UINT>(std::max(Height, 1));
  Message.Result = TRUE;
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case LBN_SELCHANGE: Click(); break;
        case LBN_DBLCLK: DblClick(); break;
      }
      break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}
