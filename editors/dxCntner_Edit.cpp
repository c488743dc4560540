// The in-place editor: lifetime and style, the values it keeps, the host protocol,
// showing and hiding, validation and the restore point, the keys and the window
// messages. Painting and the class operations: dxCntner_EditPaint.cpp.
#include "editors/dxCntner_Edit.h"

#include <imm.h>
#include <richedit.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCntner.h"
#include "editors/dxCntner_Popup.h"

TCLASS_IMPL(TdxInplaceEdit)
TCLASS_IMPL(EdxEditInvalidInput)

namespace {

bool IsEmptyRect(const TRect& R) { return R.right <= R.left || R.bottom <= R.top; }

bool AnyShift(TShiftState Shift) {
  return Shift.Contains(ssShift) || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Lifetime

TdxInplaceEdit::TdxInplaceEdit(TComponent* AOwner) : TWinControl(AOwner) {}

TdxInplaceEdit::~TdxInplaceEdit() { FreeAndNil(FStyle); }

void TdxInplaceEdit::AfterConstruction() {
  TControl::SetAutoSize(true);
  FDefaultAlignment = GetDefaultAlignment();
  FStyle = CreateStyle();
  if (InPlace()) {
    SetParentColor(false);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetTabStop(false);
  } else {
    SetBounds(Left(), Top(), 121, 24);
    SetTabStop(true);
  }
  inherited::AfterConstruction();
}

void TdxInplaceEdit::BeforeDestruction() {
  Destroying();
  if (FStyleController && !FStyleController->ComponentState().Contains(csDestroying)) {
    FStyleController->RemoveEdit(this);
    FStyleController->RemoveFreeNotification(this);
  }
  FStyleController = nullptr;
  inherited::BeforeDestruction();
}

TdxEditStyle* TdxInplaceEdit::CreateStyle() {
  TCustomdxContainer* Host = GetContainer();
  if (Host) return Host->CreateEditStyle(this);
  return EditClass()->GetStyleClass()->Create(this);
}

TCustomdxContainer* TdxInplaceEdit::GetContainer() const {
  if (!InPlace()) return nullptr;
  return ObjectAs<TCustomdxContainer>(Owner());
}

void TdxInplaceEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FStyleController) SetStyleController(nullptr);
}

// ---------------------------------------------------------------------------------
// Style

void TdxInplaceEdit::SetStyleController(TdxEditStyleController* Value) {
  if (FStyleController == Value) return;
  if (FStyleController) {
    FStyleController->RemoveEdit(this);
    if (!FStyleController->ComponentState().Contains(csDestroying))
      FStyleController->RemoveFreeNotification(this);
  }
  FStyleController = Value;
  if (Value) {
    Value->AddEdit(this);
    Value->FreeNotification(this);
    // Joining re-lays the editor out with the new values, like any change of them.
    Value->EditStyleChanged(this);
  } else if (!ComponentState().Contains(csDestroying)) {
    StyleLayoutChanged();
  }
}

bool TdxInplaceEdit::HotTrackMatters() {
  if (!FStyle) return false;
  TdxEditButtonTransparence Transparence = FStyle->ButtonTransparence();
  return FStyle->HotTrack() || Transparence == ebtInactive || Transparence == ebtAlways ||
         Transparence == ebtHideInactive;
}

void TdxInplaceEdit::StyleChanged() {
  if (ComponentState().Contains(csDestroying)) return;
  if (HotTrackMatters()) Relayout();
  // A linked editor shows its edit text only while it has the focus.
  if (!IsNativeEdit() || HasLink()) Invalidate();
}

void TdxInplaceEdit::StyleLayoutChanged() {
  if (ComponentState().Contains(csDestroying)) return;
  Relayout();
  Invalidate();
}

// ---------------------------------------------------------------------------------
// Values

void TdxInplaceEdit::SetAlignment(TAlignment Value) {
  StoreProperty(esvAlignment);
  SetAlignmentValue(Value);
}

void TdxInplaceEdit::SetAlignmentValue(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

bool TdxInplaceEdit::GetReadOnly() {
  return FStoredValues.Contains(esvReadOnly) ? FReadOnly : GetLinkReadOnly();
}

void TdxInplaceEdit::SetReadOnly(bool Value) {
  StoreProperty(esvReadOnly);
  SetReadOnlyValue(Value);
}

void TdxInplaceEdit::SetOffsets(const TRect& Value) {
  if (EqualRect(&FOffsets, &Value)) return;
  FOffsets = Value;
  RecreateWnd();
}

void TdxInplaceEdit::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  inherited::SetAutoSize(Value);
  StyleLayoutChanged();
}

void TdxInplaceEdit::RestoreDefaults() {
  FStoredValues = {};
  SetAlignmentValue(GetDefaultAlignment());
  SetReadOnlyValue(GetLinkEditing());
}

void TdxInplaceEdit::RefreshDefaults() {
  if (!FStoredValues.Contains(esvReadOnly)) SetReadOnlyValue(GetLinkEditing());
}

void TdxInplaceEdit::ResetFromLink() {
  RefreshDefaults();
  LoadFromLink();
}

void TdxInplaceEdit::PostToLink() { Validate(); }

void TdxInplaceEdit::SetEditValue(const Variant& Value) { SetText(VarIsNull(Value) ? AnsiString() : VarToStr(Value)); }

Variant TdxInplaceEdit::GetEditValue() { return Variant(GetText()); }

void TdxInplaceEdit::GetDisplayValue(Variant& Value) {
  AnsiString Text;
  GetEditText(Text);
  Value = Variant(Text);
}

void TdxInplaceEdit::SetTextIfModifiable(const AnsiString& Text) {
  if (CanModify()) SetText(Text);
  SetModified(true);
}

void TdxInplaceEdit::Change() {
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
  if (OnChange.Assigned()) OnChange(this);
}

// ---------------------------------------------------------------------------------
// Questions to the host

bool TdxInplaceEdit::IsValidChar(char Key) {
  if (TCustomdxContainer* Host = GetContainer()) return Host->CanEditAcceptKey(Key);
  return true;
}

bool TdxInplaceEdit::CanModify() {
  if (GetReadOnly()) return false;
  if (TCustomdxContainer* Host = GetContainer()) return Host->CanEditModify();
  return true;
}

bool TdxInplaceEdit::GetShowButtonAlways() {
  if (TCustomdxContainer* Host = GetContainer()) return Host->ShowButtonAlways();
  return false;
}

void TdxInplaceEdit::MoveColumn(bool Backward) {
  if (TCustomdxContainer* Host = GetContainer()) Host->MoveEditColumn(Backward);
}

bool TdxInplaceEdit::IsEditingKey(Word Key, TShiftState Shift) {
  const bool Ctrl = Shift.Contains(ssCtrl);
  return (Ctrl && (Key == 'V' || Key == 'X')) || Key == VK_BACK || Key == VK_DELETE ||
         (Key == VK_INSERT && Shift.Contains(ssShift));
}

bool TdxInplaceEdit::IsCtrlOnlyDown() {
  return GetKeyStateProc(VK_CONTROL) < 0 && GetKeyStateProc(VK_MENU) >= 0;
}

// ---------------------------------------------------------------------------------
// Showing

void TdxInplaceEdit::ShowAt(const TRect& Rect) {
  if (IsEmptyRect(Rect)) return;
  SetBounds(Rect.left - 2, Rect.top - 2, Rect.right - Rect.left + 4, Rect.bottom - Rect.top + 4);
  const bool WasShown = FShown;
  Show();
  if (GetFocus() != Handle()) ::SetFocus(Handle());
  AfterActivate();
  if (!WasShown && FShowLock == 0) AfterShow();
}

void TdxInplaceEdit::Show() {
  if (!InPlace()) {
    TWinControl::Show();
    return;
  }
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
  FShown = true;
}

void TdxInplaceEdit::Hide() {
  if (!InPlace()) {
    TWinControl::Hide();
    return;
  }
  FShown = false;
  if (!HandleAllocated()) return;
  HWND Wnd = Handle();
  if (IsWindowVisible(Wnd)) {
    ValidateRect(Wnd, nullptr);
    InvalidateRect(Wnd, nullptr, TRUE);
    HWND Parent = GetParent(Wnd);
    if (Parent) {
      RECT R;
      GetWindowRect(Wnd, &R);
      MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&R), 2);
      ValidateRect(Parent, &R);
      InvalidateRect(Parent, &R, FALSE);
    }
  }
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOZORDER);
}

// ---------------------------------------------------------------------------------
// Validation and the restore point

void TdxInplaceEdit::Validate() {
  if (!GetModified() || FKeyDownLevel != 0) return;
  bool Accept = true;
  AnsiString ErrorText = SdxInvalidInput;
  if (OnValidate.Assigned()) OnValidate(this, ErrorText, Accept);
  if (Accept) return;
  RefuseInput(ErrorText);
}

void TdxInplaceEdit::RefuseInput(const AnsiString& Message) {
  if (!ComponentState().Contains(csDesigning) && HandleAllocated() && IsWindowVisible(Handle()))
    ::SetFocus(Handle());
  MessageBeepProc(0);
  throw EdxEditInvalidInput(Message);
}

void TdxInplaceEdit::SetEditActive(bool Value) {
  if (!InPlace() || !GetContainer() || !GetModified()) SaveRestorePoint();
  if (!InPlace()) FActive = Value;
}

void TdxInplaceEdit::SaveRestorePoint() {
  FSavedModified = GetModified();
  FSavedText = GetText();
  FSavedHidden = HiddenValue();
}

void TdxInplaceEdit::RevertToSaved() {
  if (!GetModified() || !CanRevertText()) return;
  SetText(FSavedText);
  RestoreSavedValue();
}

void TdxInplaceEdit::RestoreSavedValue() {
  RestoreHiddenValue(FSavedText, FSavedHidden);
  SetModified(FSavedModified);
}

void TdxInplaceEdit::DoEnter() {
  SetEditActive(true);
  inherited::DoEnter();
}

void TdxInplaceEdit::DoExit() {
  Validate();
  SetEditActive(false);
  inherited::DoExit();
}

// ---------------------------------------------------------------------------------
// Keys

bool TdxInplaceEdit::IsValidatingKey(Word Key) {
  switch (Key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
    case VK_INSERT:
      return true;
  }
  return false;
}

void TdxInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) RevertToSaved();
  if (!InPlace()) {
    if (IsEditingKey(Key, Shift) && CanEditLinked() && !CanModify()) Key = 0;
    if (Key == VK_RETURN && ValidateOnEnter()) Validate();
    inherited::KeyDown(Key, Shift);
    return;
  }
  // A refused value raises here, before the key goes anywhere.
  if (IsValidatingKey(Key)) Validate();
  ++FKeyDownLevel;
  auto Leave = ScopeExit([&] { --FKeyDownLevel; });
  TCustomdxContainer* Host = GetContainer();
  bool HandOver = false;
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_RETURN:
    case VK_ESCAPE: HandOver = true; break;
    case VK_TAB: HandOver = !Shift.Contains(ssAlt); break;
    case VK_INSERT: HandOver = !AnyShift(Shift); break;
  }
  if (HandOver && Host) {
    Host->KeyDown(Key, Shift);
    Key = 0;
  }
  const bool CanHostModify = !Host || Host->CanEditModify();
  if (Key == VK_INSERT && Shift == TShiftState{ssShift} && !CanHostModify) Key = 0;
  if (Key == VK_F2) {
    if (Host) Host->DoEditKeyDown(Key, Shift);
    if (Key == VK_F2) {
      EditKeyF2();
      return;
    }
  }
  if (Key == VK_DELETE && !CanHostModify) Key = 0;
  if (Key != 0) {
    if (Host) Host->DoEditKeyDown(Key, Shift);
    if (IsEditingKey(Key, Shift) && CanEditLinked() && !CanModify()) Key = 0;
    // A key the host's event consumed never reaches the editor's own.
    if (Key != 0) inherited::KeyDown(Key, Shift);
  }
}

void TdxInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (!InPlace()) {
    inherited::KeyUp(Key, Shift);
    return;
  }
  if (TCustomdxContainer* Host = GetContainer()) Host->KeyUp(Key, Shift);
}

void TdxInplaceEdit::KeyPress(char& Key) {
  if (TCustomdxContainer* Host = GetContainer()) Host->KeyPress(Key);
  const auto Code = static_cast<unsigned char>(Key);
  if (Code >= 32 && !IsValidChar(Key)) {
    Key = '\0';
    MessageBeepProc(0);
  }
  if (InPlace() && Key == '\t' && !WantTabChar()) Key = '\0';
  if (Key == '\x1B')
    Key = '\0';
  else if ((Key == '\t' || static_cast<unsigned char>(Key) >= 32) && IsNativeEdit() && !CanModify())
    Key = '\0';
  if (Key != '\0') inherited::KeyPress(Key);
}

void TdxInplaceEdit::DblClick() {
  TCustomdxContainer* Host = GetContainer();
  if (InPlace()) {
    if (Host) Host->DblClick();
    return;
  }
  inherited::DblClick();
}

// ---------------------------------------------------------------------------------
// Focus

void TdxInplaceEdit::FocusLost(TMessage& Message) {
  // A window that goes while it has the focus loses it on the way: nobody is told.
  if (ComponentState().Contains(csDestroying)) return;
  if (HotTrackMatters()) Relayout();
  if (IsPainted() || HasLink()) Invalidate();
  TCustomdxContainer* Host = GetContainer();
  if (Host && (!Host->HandleAllocated() || reinterpret_cast<HWND>(Message.WParam) != Host->Handle()))
    Host->EditorFocusChanged();
}

void TdxInplaceEdit::WMSetFocus(TMessage& Message) {
  TCustomdxContainer* Host = GetContainer();
  if (!Host) {
    // Not hosted: the class library's bookkeeping makes this editor the focused
    // control of its form.
    StyleChanged();
    inherited::WndProc(Message);
    return;
  }
  // The host is the focused control of its form; this window only holds the focus.
  TCustomForm* Form = GetParentForm(this) ? GetParentForm(Host) : nullptr;
  if (!Form || Form->SetFocusedControl(Host) || Host->ControlState().Contains(csFocusing))
    Dispatch(Message);
  Host->EditorFocusChanged();
  StyleChanged();
}

// ---------------------------------------------------------------------------------
// Messages

bool TdxInplaceEdit::IsUserInput(UINT Msg) {
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case EM_REPLACESEL:
    // An undo or a redo, which a host's Edit menu sends as the user's Ctrl+Z does.
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_TIMER:
    case WM_COMMAND:
    case WM_CONTEXTMENU:
    case WM_DXPOPUPCLOSED:
      return true;
    default:
      return false;
  }
}

void TdxInplaceEdit::WndProc(TMessage& Message) {
  if (!InPlace()) {
    switch (Message.Msg) {
      case WM_SETFOCUS: StyleChanged(); break;
      case WM_KILLFOCUS: FocusLost(Message); break;
    }
    inherited::WndProc(Message);
    return;
  }
  TCustomdxContainer* Host = GetContainer();
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
      if (Host && Host->SkipEditKeyMessage()) return;
      if (Message.Msg == WM_KEYDOWN) WMKeyDown(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      return;
    case WM_KILLFOCUS:
      FocusLost(Message);
      break;
    case WM_LBUTTONDOWN:
      if (Host && Host->ImmediateEditor(-1) &&
          static_cast<LONG>(GetMessageTime()) - static_cast<LONG>(ClickTime) <
              static_cast<LONG>(GetDoubleClickTime()))
        Message.Msg = WM_LBUTTONDBLCLK;
      ClickTime = 0;
      break;
    case WM_MOUSEWHEEL:
      if (!HandlesWheel()) {
        if (Host && Host->HandleAllocated()) {
          SendMessageA(Host->Handle(), CM_CANCELMODE, 0, 0);
          SendMessageA(Host->Handle(), WM_MOUSEWHEEL, Message.WParam, Message.LParam);
        }
        return;
      }
      break;
  }
  inherited::WndProc(Message);
}

// Enter, and Tab unless the editor takes tab characters, leave no character behind
// for the editor: the host has acted on the key.
void TdxInplaceEdit::WMKeyDown(TMessage& Message) {
  if (Message.WParam != VK_RETURN && !(Message.WParam == VK_TAB && !WantTabChar())) return;
  MSG Removed;
  if (PeekMessageA(&Removed, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE) && Removed.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(Removed.wParam));
}

bool TdxInplaceEdit::ExecuteAction(TBasicAction* Action) {
  return inherited::ExecuteAction(Action);
}

bool TdxInplaceEdit::UpdateAction(TBasicAction* Action) {
  return inherited::UpdateAction(Action);
}

void TdxInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
    // The rich edit control undoes and redoes even while it is read-only.
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      if (CanModify()) inherited::Dispatch(Message);
      break;
    case WM_IME_COMPOSITION:
      if ((Message.LParam & GCS_RESULTSTR) && IsNativeEdit() && !CanModify()) break;
      inherited::Dispatch(Message);
      break;
    case WM_ERASEBKGND:
      if (IsNativeEdit())
        inherited::Dispatch(Message);
      else
        Message.Result = 1;
      break;
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_SIZE:
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      Relayout();
      break;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      StyleLayoutChanged();
      break;
    case CM_MOUSEENTER: CMMouseEnterLeave(Message, true); break;
    case CM_MOUSELEAVE: CMMouseEnterLeave(Message, false); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!IsNativeEdit() && HandleAllocated() && GetFocus() != Handle()) ::SetFocus(Handle());
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TdxInplaceEdit::WMGetDlgCode(TMessage& Message) {
  inherited::Dispatch(Message);
  Message.Result |= DLGC_WANTCHARS;
  if (InPlace()) Message.Result |= DLGC_WANTALLKEYS;
  if (TCustomdxContainer* Host = GetContainer()) {
    if (Host->WantTabs())
      Message.Result |= DLGC_WANTTAB;
    else
      Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
  }
}

void TdxInplaceEdit::WMNCCalcSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!Message.LParam || !FStyle) return;
  TOwned<TdxEditViewData> ViewData(CreateViewData(false));
  TdxEditDrawInfo DrawInfo;
  EditClass()->CalcDrawInfo(ViewData.get(), false, DrawInfo);
  const TRect& Outer = DrawInfo.OuterRect;
  const TRect& Content = DrawInfo.ContentRect;
  // Both forms of the message start with the proposed window rectangle.
  RECT& R = *reinterpret_cast<RECT*>(Message.LParam);
  R.left += Content.left - Outer.left;
  R.top += Content.top - Outer.top;
  R.right -= Outer.right - Content.right;
  R.bottom -= Outer.bottom - Content.bottom;
  if (R.right < R.left) R.right = R.left;
  if (R.bottom < R.top) R.bottom = R.top;
}

void TdxInplaceEdit::WMNCPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!FStyle) return;
  HWND Wnd = Handle();
  TWindowDC WindowDC(Wnd);
  const HDC DC = WindowDC.DC();
  if (!DC) return;
  TOwned<TdxEditViewData> ViewData(CreateViewData(false));
  TdxEditDrawInfo DrawInfo;
  EditClass()->CalcDrawInfo(ViewData.get(), false, DrawInfo);
  EditClass()->DrawBorder(DC, DrawInfo, ViewData.get());
  LONG Style = GetWindowLongA(Wnd, GWL_STYLE);
  if ((Style & WS_HSCROLL) && (Style & WS_VSCROLL)) {
    const TRect& C = DrawInfo.ContentRect;
    RECT Corner{C.right - GetSystemMetrics(SM_CXVSCROLL), C.bottom - GetSystemMetrics(SM_CYHSCROLL), C.right,
                C.bottom};
    FillRect(DC, &Corner, GetSysColorBrush(COLOR_BTNFACE));
  }
}

void TdxInplaceEdit::WMPaint(TMessage& Message) {
  if (FControlState.Contains(csPaintCopy) && Message.WParam) {
    TOwned<TdxEditViewData> ViewData(CreateViewData(true));
    EditClass()->Draw(reinterpret_cast<HDC>(Message.WParam), Rect(0, 0, Width(), Height()), ViewData.get(),
                      nullptr);
    return;
  }
  if (ShowsDisplayValue()) {
    TPaintDC Paint(Handle(), Message.WParam);
    TOwned<TdxEditViewData> ViewData(CreateViewData(false));
    // The paint draws the text itself: the native window's would be the edit text.
    ViewData->NativeEdit = false;
    EditClass()->DrawContent(Paint.DC(), GetClientRect(), true, ViewData.get());
    return;
  }
  if (IsNativeEdit()) {
    inherited::Dispatch(Message);
    return;
  }
  PaintHandler(Message);
}

bool TdxInplaceEdit::ShowsDisplayValue() { return HasLink() && !FActive && !EditFocused(); }

void TdxInplaceEdit::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == Handle() &&
      Message.LParamLo() == HTCLIENT && Screen) {
    POINT P;
    GetCursorPos(&P);
    ::ScreenToClient(Handle(), &P);
    TOwned<TdxEditViewData> ViewData(CreateViewData(false));
    TCursor Cursor = EditClass()->GetCursor(P.x, P.y, ViewData.get());
    if (Cursor != crDefault) {
      ::SetCursor(Screen->Cursors(Cursor));
      Message.Result = 1;
      return;
    }
  }
  inherited::Dispatch(Message);
}

void TdxInplaceEdit::CMMouseEnterLeave(TMessage& /*Message*/, bool Inside) {
  SetMouseInside(Inside);
  if (!ComponentState().Contains(csDestroying) && HotTrackMatters()) {
    Relayout();
    // The hot look is the border's: the frame is painted again.
    if (HandleAllocated())
      RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  }
  if (Inside) {
    if (OnMouseEnter.Assigned()) OnMouseEnter(this);
  } else if (OnMouseLeave.Assigned()) {
    OnMouseLeave(this);
  }
}

// ---------------------------------------------------------------------------------
// Form files: "Height" unless it follows the font, "StoredValues" when the bits the
// file keeps are not all clear.

bool TdxInplaceEdit::HeightStored() { return !(AutoSize() && !InPlace()); }

void TdxInplaceEdit::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty("Height", TReaderProc::Bind<&TdxInplaceEdit::ReadHeight>(this),
                        TWriterProc::Bind<&TdxInplaceEdit::WriteHeight>(this), HeightStored());
  Filer->DefineProperty("StoredValues",
                        TReaderProc::Bind<&TdxInplaceEdit::ReadStoredValues>(this),
                        TWriterProc::Bind<&TdxInplaceEdit::WriteStoredValues>(this),
                        (FStoredValues.Bits() & 0xFF) != 0);
}

void TdxInplaceEdit::ReadHeight(TReader* Reader) { SetHeight(static_cast<int>(Reader->ReadInteger())); }

void TdxInplaceEdit::WriteHeight(TWriter* Writer) { Writer->WriteInteger(Height()); }

// Only the low 8 bits are kept in the file; the others stay as they are.
void TdxInplaceEdit::ReadStoredValues(TReader* Reader) {
  Cardinal Bits = static_cast<Cardinal>(Reader->ReadInteger()) & 0xFF;
  FStoredValues = TdxEditStoredValues::FromBits((FStoredValues.Bits() & ~Cardinal(0xFF)) | Bits);
  FStoredValuesRead = true;
}

void TdxInplaceEdit::ReadState(TReader* Reader) {
  FStoredValuesRead = false;
  inherited::ReadState(Reader);
  if (!FStoredValuesRead)
    FStoredValues = TdxEditStoredValues::FromBits(FStoredValues.Bits() & ~Cardinal(0xFF));
}

void TdxInplaceEdit::WriteStoredValues(TWriter* Writer) { Writer->WriteInteger(FStoredValues.Bits() & 0xFF); }

namespace {
std::vector<std::pair<TClass, TdxEditStartFlags>> StartFlags;
}  // namespace

TdxEditStartFlags dxStartFlags(const TdxInplaceEdit* Edit) {
  const TClass Class = Edit->ClassType();
  for (const auto& [Known, Flags] : StartFlags)
    if (Known == Class) return Flags;
  TOwned<TComponent> Fresh(AsComponentClass(Class)->Create(nullptr));
  const auto* New = static_cast<const TdxInplaceEdit*>(Fresh.get());
  const TdxEditStartFlags Flags{New->ParentColor(), New->ParentCtl3D(), New->TabStop()};
  StartFlags.emplace_back(Class, Flags);
  return Flags;
}

void dxForgetStartFlags() { StartFlags.clear(); }

TPoint dxCaretMenuPoint(HWND Wnd) {
  POINT Caret{0, 0};
  GetCaretPos(&Caret);
  RECT Client{};
  ::GetClientRect(Wnd, &Client);
  POINT At{std::clamp<LONG>(Caret.x, 0, Client.right), Caret.y};
  ::ClientToScreen(Wnd, &At);
  return Point(At.x, At.y);
}
