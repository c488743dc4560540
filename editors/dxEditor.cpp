// The text editor: its window (a plain-text rich edit control), the values it keeps,
// the forced case, the selection and clipboard operations, the editing menu and the
// messages. The class-level painting of its cells: dxEditor_Paint.cpp.
#include "editors/dxEditor.h"

#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/SystemLibrary.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxCntner.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"
#include "editors/dxMaskEdit.h"
#include "editors/dxWrapGuard.h"

TCLASS_IMPL(TdxInplaceTextEdit)
TCLASS_IMPL(TdxTextEditViewData)

namespace {

HMODULE RichEdit = nullptr;
// OLE on the window thread, which the rich edit control needs to paste: started with
// the first rich edit window, never from the unit's start (in the DLL that runs under
// the loader lock). It stays on for the thread's life.
bool OleStarted = false;

// The editing menu's captions, from the string table.
enum TMenuText { mtUndo, mtRedo, mtCut, mtCopy, mtPaste, mtDelete, mtSelectAll, mtCount };
AnsiString MenuTexts[mtCount];

// The editing menu's commands, as the items' tags.
enum TMenuCommand { mcUndo = -1, mcRedo = -2, mcCut = -3, mcCopy = -4, mcPaste = -5, mcDelete = -6, mcSelectAll = -7 };

// The rich edit control's callback interface.
constexpr GUID RichEditOleCallbackIid = {0x00020D03, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

constexpr DWORD EditEventMask = ENM_CHANGE | ENM_DRAGDROPDONE | ENM_SELCHANGE;

// The first Count characters of Text, as the control counts them.
AnsiString LeadingCharacters(const AnsiString& Text, LRESULT Count) {
  return Text.substr(
      0,
      CharacterOffset(Text, static_cast<LONG>(std::clamp<LRESULT>(Count, 0, 0x7FFFFFFF))));
}

AnsiString ApplyCase(const AnsiString& Text, TEditCharCase CharCase) {
  switch (CharCase) {
    case ecUpperCase: return AnsiUpperCase(Text);
    case ecLowerCase: return AnsiLowerCase(Text);
    default: return Text;
  }
}

bool IsOneLine(HWND Handle) { return !(GetWindowLongA(Handle, GWL_STYLE) & ES_MULTILINE); }

AnsiString TabsAsSpaces(AnsiString Text) {
  std::replace(Text.begin(), Text.end(), '\t', ' ');
  return Text;
}

}  // namespace

HMODULE RichEditLibrary() { return RichEdit; }

std::size_t CharacterOffset(const AnsiString& Text, LONG Index) {
  std::size_t At = 0;
  for (; Index > 0 && At < Text.size(); --Index) {
    const char Ch = Text[At];
    const bool Pair = (Ch == '\r' && At + 1 < Text.size() && Text[At + 1] == '\n') ||
                      IsDBCSLeadByte(static_cast<BYTE>(Ch));
    At += Pair && At + 1 < Text.size() ? 2 : 1;
  }
  return At;
}

bool UserTextChange(const TMessage& Message, bool Returns, bool Tabs) {
  switch (Message.Msg) {
    case WM_CHAR: {
      // Control characters other than these type nothing.
      const WPARAM Ch = Message.WParam;
      return Ch >= 32 || Ch == '\b' || (Returns && Ch == '\r') || (Tabs && Ch == '\t');
    }
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      return true;
    default:
      return false;
  }
}

TTextSpan HeldSelection(HWND Handle, const AnsiString& Text) {
  CHARRANGE Range{0, 0};
  SendMessageA(Handle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  const LRESULT Shown =
      SendMessageA(Handle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0);
  const std::size_t From = CharacterOffset(Text, Range.cpMin);
  // A selection of everything may take the end of the last paragraph too.
  if (Range.cpMax > Range.cpMin && Range.cpMax >= Shown) return {From, Text.size()};
  return {From, std::max(CharacterOffset(Text, Range.cpMax), From)};
}

// ---------------------------------------------------------------------------------
// The OLE callback

HRESULT TdxTextEditOleCallback::QueryInterface(REFIID Iid, void** Object) {
  if (!Object) return E_POINTER;
  if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, RichEditOleCallbackIid)) {
    *Object = static_cast<IRichEditOleCallback*>(this);
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TdxTextEditOleCallback::AddRef() { return ++FRefCount; }

// The callback lives inside its editor: the count only tracks the control's use.
ULONG TdxTextEditOleCallback::Release() { return FRefCount > 0 ? --FRefCount : 0; }

HRESULT TdxTextEditOleCallback::GetNewStorage(LPSTORAGE* Storage) {
  if (Storage) *Storage = nullptr;
  return E_NOTIMPL;
}

HRESULT TdxTextEditOleCallback::GetInPlaceContext(LPOLEINPLACEFRAME* Frame, LPOLEINPLACEUIWINDOW* Doc,
                                                  LPOLEINPLACEFRAMEINFO /*FrameInfo*/) {
  if (Frame) *Frame = nullptr;
  if (Doc) *Doc = nullptr;
  return E_NOTIMPL;
}

HRESULT TdxTextEditOleCallback::ShowContainerUI(BOOL /*Show*/) { return E_NOTIMPL; }

HRESULT TdxTextEditOleCallback::QueryInsertObject(LPCLSID /*Clsid*/, LPSTORAGE /*Storage*/, LONG /*Cp*/) {
  return E_NOTIMPL;
}

HRESULT TdxTextEditOleCallback::DeleteObject(LPOLEOBJECT /*Object*/) { return E_NOTIMPL; }

HRESULT TdxTextEditOleCallback::QueryAcceptData(LPDATAOBJECT /*Data*/, CLIPFORMAT* /*Format*/, DWORD /*Reco*/,
                                                BOOL /*Really*/, HGLOBAL /*Metafile*/) {
  return E_NOTIMPL;
}

HRESULT TdxTextEditOleCallback::ContextSensitiveHelp(BOOL /*EnterMode*/) { return E_NOTIMPL; }

HRESULT TdxTextEditOleCallback::GetClipboardData(CHARRANGE* /*Range*/, DWORD /*Reco*/, LPDATAOBJECT* Data) {
  if (Data) *Data = nullptr;
  return E_NOTIMPL;
}

HRESULT TdxTextEditOleCallback::GetDragDropEffect(BOOL /*Drag*/, DWORD /*KeyState*/, LPDWORD Effect) {
  if (Effect) *Effect = DROPEFFECT_NONE;
  return S_OK;
}

HRESULT TdxTextEditOleCallback::GetContextMenu(WORD /*SelType*/, LPOLEOBJECT /*Object*/, CHARRANGE* /*Range*/,
                                               HMENU* Menu) {
  if (Menu) *Menu = nullptr;
  return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------
// Lifetime

TdxInplaceTextEdit::TdxInplaceTextEdit(TComponent* AOwner) : TdxInplaceEdit(AOwner) {
  SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks});
  FParentColor = false;
}

TdxInplaceTextEdit::~TdxInplaceTextEdit() = default;

// ---------------------------------------------------------------------------------
// Values

void TdxInplaceTextEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TdxInplaceTextEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TdxInplaceTextEdit::SetOEMConvert(bool Value) {
  if (FOEMConvert == Value) return;
  FOEMConvert = Value;
  RecreateWnd();
}

void TdxInplaceTextEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  RecreateWnd();
}

void TdxInplaceTextEdit::SetSelectionBar(bool Value) {
  if (FSelectionBar == Value) return;
  FSelectionBar = Value;
  RecreateWnd();
}

void TdxInplaceTextEdit::SetMaxLength(int Value) {
  StoreProperty(esvMaxLength);
  SetMaxLengthValue(Value);
}

void TdxInplaceTextEdit::SetMaxLengthValue(int Value) {
  if (Value < 0) Value = 0;
  if (FMaxLength == Value) return;
  FMaxLength = Value;
  SetWindowMaxLength(Value);
}

void TdxInplaceTextEdit::SetWindowMaxLength(int Value) {
  if (HandleAllocated()) SendMessageA(FHandle, EM_EXLIMITTEXT, 0, Value > 0 ? Value : LargestTextLimit);
}

bool TdxInplaceTextEdit::GetModified() {
  if (HandleAllocated() && IsNativeEdit()) return SendMessageA(FHandle, EM_GETMODIFY, 0, 0) != 0;
  return FSavedModified;
}

void TdxInplaceTextEdit::SetModified(bool Value) {
  if (HandleAllocated() && IsNativeEdit())
    SendMessageA(FHandle, EM_SETMODIFY, Value, 0);
  else
    FSavedModified = Value;
}

void TdxInplaceTextEdit::SetReadOnlyValue(bool Value) {
  inherited::SetReadOnlyValue(Value);
  if (HandleAllocated() && IsNativeEdit()) SendMessageA(FHandle, EM_SETREADONLY, Value || FHolding, 0);
}

void TdxInplaceTextEdit::RefreshDefaults() {
  inherited::RefreshDefaults();
  if (!StoredValues().Contains(esvMaxLength)) SetMaxLengthValue(GetDefaultMaxLength());
  if (HandleAllocated() && IsNativeEdit()) SendMessageA(FHandle, EM_SETREADONLY, !CanEditLinked() || FHolding, 0);
}

void TdxInplaceTextEdit::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetMaxLengthValue(GetDefaultMaxLength());
}

void TdxInplaceTextEdit::SetEditValue(const Variant& Value) {
  {
    FSettingValue = true;
    auto Done = ScopeExit([&] { FSettingValue = false; });
    inherited::SetEditValue(Value);
  }
  ClearUndo();
}

void TdxInplaceTextEdit::Loaded() {
  inherited::Loaded();
  ApplyCharCase();
}

void TdxInplaceTextEdit::SelectionChanged() {
  if (OnSelectionChange.Assigned()) OnSelectionChange(this);
}

// The whole text in the forced case; the selection and Modified stay as they were.
void TdxInplaceTextEdit::ApplyCharCase() {
  if (FCharCase == ecNormal || !HandleAllocated()) return;
  const AnsiString Text = GetText();
  const AnsiString Cased = ApplyCase(Text, FCharCase);
  if (Cased == Text) return;
  FApplyingCase = true;
  auto Done = ScopeExit([&] { FApplyingCase = false; });
  const CHARRANGE Selection = GetSel();
  {
    TdxKeptModified Kept(*this);
    SetText(Cased);
  }
  SetSel(Selection);
}

// ---------------------------------------------------------------------------------
// Selection

CHARRANGE TdxInplaceTextEdit::GetSel() {
  CHARRANGE Range{0, 0};
  if (HandleAllocated()) SendMessageA(FHandle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  return Range;
}

void TdxInplaceTextEdit::SetSel(const CHARRANGE& Range) {
  CHARRANGE Copy = Range;
  SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Copy));
}

int TdxInplaceTextEdit::GetSelLength() {
  const CHARRANGE Range = GetSel();
  return Range.cpMax - Range.cpMin;
}

int TdxInplaceTextEdit::GetSelStart() { return GetSel().cpMin; }

void TdxInplaceTextEdit::SetSelLength(int Value) {
  CHARRANGE Range = GetSel();
  Range.cpMax = Range.cpMin + Value;
  SetSel(Range);
}

void TdxInplaceTextEdit::SetSelStart(int Value) { SetSel(CHARRANGE{Value, Value}); }

// An ANSI window copies bytes: a character of a double-byte code page takes two. The
// buffer has room for two bytes a character and the terminator, and the text ends
// where the control's copy ends.
void TdxInplaceTextEdit::GetSelText(AnsiString& Text) {
  Text.clear();
  if (FHolding) {
    const TTextSpan Span = HeldSelection(FHandle, FHeldText);
    Text = FHeldText.substr(Span.From, Span.To - Span.From);
    return;
  }
  const int Length = GetSelLength();
  if (Length <= 0) return;
  std::vector<char> Buffer(static_cast<std::size_t>(Length) * 2 + 1, '\0');
  SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(Buffer.data()));
  Buffer.back() = '\0';
  Text.assign(Buffer.data(), strnlen(Buffer.data(), Buffer.size()));
}

int TdxInplaceTextEdit::GetSelTextBuf(char* Buffer, int Size) {
  if (!Buffer || Size <= 0) return 0;
  AnsiString Text;
  GetSelText(Text);
  const int Count = std::min(static_cast<int>(Text.size()), Size - 1);
  std::memcpy(Buffer, Text.data(), static_cast<std::size_t>(Count));
  Buffer[Count] = '\0';
  return Count;
}

// ---------------------------------------------------------------------------------
// Plain operations

// A program's clear: the window forgets any edit with its text, as it does for every
// text a program sets.
void TdxInplaceTextEdit::ClearText() { SetWindowTextA(Handle(), ""); }

void TdxInplaceTextEdit::DeleteSelectedText() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }

void TdxInplaceTextEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }

void TdxInplaceTextEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }

void TdxInplaceTextEdit::PasteText() {
  if (CanEditLinked()) PasteRichEditPlainText(FHandle);
}

void TdxInplaceTextEdit::ClearUndo() {
  ForgetHistory();
  if (HandleAllocated()) SendMessageA(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
}

// ---------------------------------------------------------------------------------
// The user's steps

void TdxInplaceTextEdit::WndProc(TMessage& Message) {
  TUserStep Step(IsUserInput(Message.Msg) ? this : nullptr);
  inherited::WndProc(Message);
}

bool TdxInplaceTextEdit::KeepsHistory() { return IsNativeEdit() && HandleAllocated() && OneLine(); }

TdxEditState TdxInplaceTextEdit::CaptureState() {
  TdxEditState State;
  State.Text = GetText();
  State.Hidden = HiddenValue();
  State.Modified = GetModified();
  const CHARRANGE Selection = GetSel();
  State.SelStart = Selection.cpMin;
  State.SelStop = Selection.cpMax;
  return State;
}

void TdxInplaceTextEdit::BeginUserStep() {
  if (FStepLevel++ > 0) return;
  FStepVoid = false;
  if (!KeepsHistory()) return;
  try {
    FStepBefore = CaptureState();
  } catch (const std::bad_alloc&) {
    // No memory to keep the state the step begins from: the step goes on without it.
    ForgetHistory();
  }
}

void TdxInplaceTextEdit::EndUserStep() {
  if (--FStepLevel > 0) return;
  const bool Void = std::exchange(FStepVoid, false);
  const TdxEditState Before = std::exchange(FStepBefore, TdxEditState());
  if (!IsNativeEdit() || !HandleAllocated() || ComponentState().Contains(csDestroying)) return;
  bool Changed = true;
  if (KeepsHistory()) {
    try {
      const AnsiString After = GetText();
      Changed = After != Before.Text;
      if (!Void && Changed) FHistory.Changed(Before, After);
    } catch (const std::bad_alloc&) {
      // The step ends here, as the steps before it: no memory to keep them.
      FHistory.Clear();
    }
  }
  if (!Void) KeepRestorePoint();
  UserStepEnded(Changed);
}

void TdxInplaceTextEdit::KeepRestorePoint() {
  if (FRestorePointHolds && GetText() == SavedText()) RestoreSavedValue();
}

void TdxInplaceTextEdit::SaveRestorePoint() {
  inherited::SaveRestorePoint();
  ForgetHistory();
  FRestorePointHolds = true;
}

void TdxInplaceTextEdit::ValueSetBehindText() {
  if (FStepLevel > 0 || FMovingInHistory) return;
  ForgetHistory();
  if (FRestorePointHolds && GetText() == SavedText())
    SaveHiddenValue();
  else
    FRestorePointHolds = false;
}

void TdxInplaceTextEdit::ForgetHistory() {
  FHistory.Clear();
  // What the step under way began from belongs to another text.
  if (FStepLevel > 0) FStepVoid = true;
}

void TdxInplaceTextEdit::MoveInHistory(bool Redo, TMessage& Message) {
  Message.Result = 0;
  if (!CanModify()) return;
  TdxEditState To;
  if (!(Redo ? FHistory.Redo(CaptureState(), To) : FHistory.Undo(CaptureState(), To))) return;
  // The step of the key that asked for it is no change of its own.
  if (FStepLevel > 0) FStepVoid = true;
  {
    TFlagScope Moving(FMovingInHistory);
    if (GetText() != To.Text) SetText(To.Text);
    RestoreHiddenValue(To.Text, To.Hidden);
    SetModified(To.Modified);
    SetSel(CHARRANGE{To.SelStart, To.SelStop});
  }
  KeepRestorePoint();
  Message.Result = 1;
}

void TdxInplaceTextEdit::AfterActivate() {
  CHARRANGE All{0, -1};
  SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&All));
}

void TdxInplaceTextEdit::EditKeyF2() { SendMessageA(Handle(), EM_SETSEL, 0x7FFFFFFF, -1); }

// ---------------------------------------------------------------------------------
// The window

void TdxInplaceTextEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (!IsNativeEdit()) {
    Params.WinClassName += "NoEdit";
    return;
  }
  CreateSubClass(Params, "RichEdit20A");
  // The text is given to the window once it is made and in plain-text mode (CreateWnd).
  Params.Caption.clear();
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  switch (Alignment()) {
    case taRightJustify: Params.Style |= ES_RIGHT; break;
    case taCenter: Params.Style |= ES_CENTER; break;
    default: Params.Style |= ES_LEFT; break;
  }
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (!CanEditLinked()) Params.Style |= ES_READONLY;
  // The selection bar's style bit is also the window style WS_MAXIMIZE, which would
  // make the editor fill its parent: it is set as the control's option instead
  // (CreateWnd).
}

void TdxInplaceTextEdit::CreateWnd() {
  if (!IsNativeEdit()) {
    inherited::CreateWnd();
    return;
  }
  StartRichEditOle();
  FCreatingWindow = true;
  auto Done = ScopeExit([&] { FCreatingWindow = false; });
  const AnsiString Kept = GetText();
  inherited::CreateWnd();
  // The text area is laid out before the text comes, which is wrapped in it.
  if (FSelectionBar) {
    SendMessageA(FHandle, EM_SETOPTIONS, ECOOP_OR, ECO_SELECTIONBAR);
    SetWindowRect();
  }
  SetRichEditPlainText(FHandle, Kept);
  FCreatingWindow = false;
  SetWindowMaxLength(FMaxLength);
  SendMessageA(FHandle, EM_SETEVENTMASK, 0, EditEventMask);
  SetBackgroundColor();
  if (FPasswordChar) SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
  if (HasDataLink()) SendMessageA(FHandle, EM_SETOLECALLBACK, 0, reinterpret_cast<LPARAM>(&FOleCallback));
  SetModified(FSavedModified);
}

void TdxInplaceTextEdit::CreateHandle() {
  inherited::CreateHandle();
  SetBackgroundColor();
}

void TdxInplaceTextEdit::DestroyWnd() {
  FSavedModified = GetModified();
  // The text kept is the one held, with its tabs.
  inherited::DestroyWnd();
  FHolding = false;
  FTextRefused = false;
  AnsiString().swap(FHeldText);
  FWindowlessText = FText;
}

void TdxInplaceTextEdit::SetBackgroundColor() {
  if (HandleAllocated() && IsNativeEdit()) SendMessageA(FHandle, EM_SETBKGNDCOLOR, 0, ColorToRGB(Color()));
}

RECT TdxInplaceTextEdit::TextRect() {
  RECT R;
  ::GetClientRect(FHandle, &R);
  InflateRect(&R, -1, -1);
  if (SendMessageA(FHandle, EM_GETOPTIONS, 0, 0) & ECO_SELECTIONBAR) R.left += dxSelectionBarWidth;
  if (Alignment() == taRightJustify) R.right -= 1;
  const TRect& Off = Offsets();
  R.left += Off.left;
  R.top += Off.top;
  R.right -= Off.right;
  return R;
}

void TdxInplaceTextEdit::SetWindowRect() {
  const RECT R = TextRect();
  SendMessageA(FHandle, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&R));
}

void TdxInplaceTextEdit::DoEnter() {
  if (FAutoSelect && !ControlState().Contains(csLButtonDown) && HandleAllocated()) {
    CHARRANGE All{0, -1};
    SendMessageA(FHandle, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&All));
  }
  inherited::DoEnter();
}

void TdxInplaceTextEdit::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const UINT Command = EditKeyMessage(Key, Shift);
  if (Command == 0 && Key == VK_DELETE && FHolding) {
    // The text held is not the user's to delete; its Backspace beeps as a character.
    MessageBeepProc(0);
    Key = 0;
    return;
  }
  if (!IsNativeEdit() || !HandleAllocated()) return;
  if (Command == 0) {
    if (ControlKeyWithheld(Key, Shift)) Key = 0;
    return;
  }
  // A hidden text is never put on the clipboard, as the editing menu says.
  if (!FPasswordChar || (Command != WM_COPY && Command != WM_CUT))
    SendMessageA(FHandle, Command, 0, 0);
  Key = 0;
}

// ---------------------------------------------------------------------------------
// Messages

void TdxInplaceTextEdit::Changed() {
  if (!ComponentState().Contains(csLoading) && !FApplyingCase) ApplyCharCase();
  if (!FCreatingWindow && !FSettingValue) Change();
}

void TdxInplaceTextEdit::MarkedChange(TMessage& Message) {
  if (!HandleAllocated() || !IsNativeEdit()) {
    inherited::Dispatch(Message);
    return;
  }
  dxMarkedChange(*this, [this] { return GetText(); }, [&] { inherited::Dispatch(Message); });
}

void TdxInplaceTextEdit::Dispatch(TMessage& Message) {
  if (HeldChange(Message)) return;
  switch (Message.Msg) {
    case WM_CHAR:
      if (FCharCase != ecNormal && Message.WParam >= 32 && Message.WParam <= 255) {
        char C = static_cast<char>(Message.WParam);
        if (FCharCase == ecUpperCase)
          CharUpperBuffA(&C, 1);
        else
          CharLowerBuffA(&C, 1);
        Message.WParam = static_cast<unsigned char>(C);
      }
      inherited::Dispatch(Message);
      break;
    case WM_CUT:
    case WM_CLEAR: MarkedChange(Message); break;
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      if (KeepsHistory())
        MoveInHistory(Message.Msg == EM_REDO, Message);
      else
        MarkedChange(Message);
      break;
    case EM_CANUNDO:
    case EM_CANREDO:
      if (KeepsHistory())
        Message.Result = Message.Msg == EM_CANUNDO ? FHistory.CanUndo() : FHistory.CanRedo();
      else
        inherited::Dispatch(Message);
      break;
    case EM_EMPTYUNDOBUFFER:
      ForgetHistory();
      inherited::Dispatch(Message);
      break;
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      SetBackgroundColor();
      break;
    case WM_SETFONT: WMSetFont(Message); break;
    case CM_FONTCHANGED:
      // With a window, WM_SETFONT refuses the font (WMSetFont).
      if (!HandleAllocated() && !WindowHolds(FText)) throw EInvalidOperation(TextRefusal(FText));
      inherited::Dispatch(Message);
      break;
    case WM_SETTEXT:
      FTextRefused = false;
      inherited::Dispatch(Message);
      if (!FTextRefused) SetWindowMaxLength(FMaxLength);
      // A program's text: the user's steps and the restore point's value are of another.
      if (FStepLevel == 0 && !FMovingInHistory && !FCreatingWindow) {
        ForgetHistory();
        if (!FReverting) FRestorePointHolds = false;
      }
      break;
    case WM_SIZE:
      inherited::Dispatch(Message);
      if (IsNativeEdit() && HandleAllocated()) SetWindowRect();
      break;
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      if (!GetContainer()) Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
      break;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE)
        Changed();
      else
        inherited::Dispatch(Message);
      break;
    case CM_TEXTCHANGED:
      // A text refused is told to the call that gave it: Text's setter follows its
      // WM_SETTEXT with CM_TEXTCHANGED.
      if (std::exchange(FTextRefused, false)) throw EInvalidOperation(FTextRefusal);
      if (!HandleAllocated()) KeepWindowlessText();
      if (IsNativeEdit()) {
        inherited::Dispatch(Message);
      } else {
        Changed();
        Invalidate();
      }
      break;
    case CN_NOTIFY: {
      auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
      if (Header && Header->code == EN_SELCHANGE) {
        if (!ComponentState().Contains(csLoading)) SelectionChanged();
      } else if (Header && Header->code == EN_DRAGDROPDONE) {
        // A text dragged and dropped is the user's change.
        SetModified(true);
      } else {
        inherited::Dispatch(Message);
      }
      break;
    }
    case WM_RBUTTONUP:
      // The control would ask for its menu itself; only a linked editor offers one.
      if (HasDataLink() && HandleAllocated()) {
        POINT P{Message.XPos(), Message.YPos()};
        ::ClientToScreen(FHandle, &P);
        PostMessageA(FHandle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), MAKELPARAM(P.x, P.y));
      }
      break;
    case WM_SETFOCUS:
      // The first systems pass a wParam that may not be a window.
      if ((GetVersion() & 0x80000000) && !IsWindow(reinterpret_cast<HWND>(Message.WParam))) Message.WParam = 0;
      inherited::Dispatch(Message);
      break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: WMMouseDown(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TdxInplaceTextEdit::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_PASTE && IsNativeEdit() && HandleAllocated()) {
    TFlagScope Pasting(FPasting);
    UserChange([this] { PasteText(); });
    Message.Result = 0;
    return;
  }
  if (IsNativeEdit() && HandleAllocated()) {
    if (InsertsText(Message)) EndSelectionAtText(FHandle);
    if (DeletesText(Message)) {
      dxDeletion(*this, FHandle, [&] {
        if (!GuardTabs(Message)) inherited::DefaultHandler(Message);
      });
      return;
    }
  }
  if (GuardTabs(Message)) return;
  inherited::DefaultHandler(Message);
}

AnsiString TdxInplaceTextEdit::GetText() const { return FHolding ? FHeldText : inherited::GetText(); }

// A font in which the control could not place a tab of the text is refused before the
// control lays the text out in it; a host setting up its editor gets the text shown
// without its tabs instead. The undo buffer goes with the old font: an undo would bring
// back a text measured in it.
void TdxInplaceTextEdit::WMSetFont(TMessage& Message) {
  const bool Guarded = HandleAllocated() && OneLine();
  const auto NewFont = reinterpret_cast<HFONT>(Message.WParam);
  const bool Places = !Guarded || PlacesTabs(NewFont, GetText());
  if (!Places && !KeepsText()) throw EInvalidOperation(SdxEditTabTooFar);
  // The text shown without its tabs, or again with them, is the editor's own.
  TdxKeptModified Kept(*this);
  if (!Places && !FHolding) ShowWithoutTabs(GetText());
  const auto OldFont = Guarded ? reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0)) : nullptr;
  inherited::Dispatch(Message);
  if (!IsNativeEdit() || !HandleAllocated()) return;
  SetRichEditTextColor(FHandle, Font()->Color(), SCF_DEFAULT);
  if (!Guarded) return;
  if (Places && FHolding) {
    // The text held is no change.
    TFlagScope Setting(FSettingValue);
    ShowHeldText();
  }
  if (OldFont != NewFont) ClearUndo();
}

bool TdxInplaceTextEdit::OneLine() {
  if (!IsNativeEdit()) return false;
  return HandleAllocated() ? IsOneLine(FHandle) : !MultiLine();
}

bool TdxInplaceTextEdit::KeepsText() {
  const TCustomdxContainer* Host = GetContainer();
  return FCreatingWindow || FReverting || (Host && Host->ContainerFlag());
}

void TdxInplaceTextEdit::RevertToSaved() {
  TFlagScope Reverting(FReverting);
  inherited::RevertToSaved();
}

const char* TdxInplaceTextEdit::TextRefusal(const AnsiString& Text) const {
  return TdxWrapGuard::TooManyTabs(Text, false) ? SdxEditTooManyTabs : SdxEditTabTooFar;
}

bool TdxInplaceTextEdit::PlacesTabs(HFONT Font, const AnsiString& Text) const {
  if (Text.find('\t') == AnsiString::npos) return true;
  return TdxWrapGuard::PlacesTabs(Font, ApplyCase(Text, FCharCase), false);
}

bool TdxInplaceTextEdit::GuardTabs(TMessage& Message) {
  const UINT Msg = Message.Msg;
  if ((Msg != WM_SETTEXT && Msg != EM_REPLACESEL && Msg != WM_CHAR) || !HandleAllocated() || !OneLine()) return false;
  // A user's paste replaces the selection; any other replacement is a program's.
  const bool UserChange = Msg == WM_CHAR || (Msg == EM_REPLACESEL && FPasting);
  AnsiString Text;
  const bool Refused = TdxWrapGuard::ChangedText(FHandle, Message, Text) &&
                       !PlacesTabs(Font()->Handle(), Text);
  if (Msg == WM_SETTEXT && Refused && KeepsText()) {
    ShowWithoutTabs(Text);
    Message.Result = TRUE;
    return true;
  }
  if (!Refused) {
    if (Msg == WM_SETTEXT) EndHolding();
    return false;
  }
  if (UserChange) {
    MessageBeepProc(0);
  } else if (Msg == WM_SETTEXT) {
    FTextRefused = true;
    FTextRefusal = TextRefusal(Text);
  }
  Message.Result = 0;
  return true;
}

bool TdxInplaceTextEdit::HeldChange(TMessage& Message) {
  if (!FHolding || !HandleAllocated()) return false;
  if (Message.Msg == EM_REPLACESEL && !FPasting) {
    // A program's: the whole text it leaves is judged.
    const char* Inserted = reinterpret_cast<const char*>(Message.LParam);
    const TTextSpan Span = HeldSelection(FHandle, FHeldText);
    const AnsiString Text = FHeldText.substr(0, Span.From) + (Inserted ? Inserted : "") +
                            FHeldText.substr(Span.To);
    Message.Result = 0;
    if (!WindowHolds(Text) && !KeepsText()) return true;
    Message.Result =
        SendMessageA(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
    // A replacement of the selection marks the text edited, as the control marks one.
    if (Message.Result) SetModified(true);
    return true;
  }
  if (Message.Msg == WM_COPY) {
    if (!FPasswordChar) Clipboard()->SetAsText(SelText());
    Message.Result = 0;
    return true;
  }
  // Any other replacement of the selection is the user's paste.
  if (Message.Msg != EM_REPLACESEL &&
      !UserTextChange(Message, MultiLine(), MultiLine() && WantTabChar()))
    return false;
  MessageBeepProc(0);
  Message.Result = 0;
  return true;
}

void TdxInplaceTextEdit::ShowQuietly(const AnsiString& Text) {
  TFlagScope Setting(FSettingValue);
  {
    TdxKeptModified Kept(*this);
    SendMessageA(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  }
  ClearUndo();
}

void TdxInplaceTextEdit::HoldText(const AnsiString& Text) {
  FHeldText = Text;
  FHolding = true;
  ++FHeldVersion;
  SendMessageA(FHandle, EM_SETREADONLY, TRUE, 0);
}

void TdxInplaceTextEdit::EndHolding() {
  if (!FHolding) return;
  FHolding = false;
  AnsiString().swap(FHeldText);
  SendMessageA(FHandle, EM_SETREADONLY, !CanEditLinked(), 0);
}

void TdxInplaceTextEdit::ShowWithoutTabs(const AnsiString& Text) {
  HoldText(Text);
  const AnsiString Shown = TabsAsSpaces(Text);
  TMessage Set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown.c_str())};
  inherited::DefaultHandler(Set);
  SetWindowMaxLength(FMaxLength);
}

void TdxInplaceTextEdit::ShowHeldText() {
  const AnsiString Text = std::exchange(FHeldText, AnsiString());
  FHolding = false;
  SendMessageA(FHandle, EM_SETREADONLY, !CanEditLinked(), 0);
  TMessage Set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str())};
  inherited::DefaultHandler(Set);
  SetWindowMaxLength(FMaxLength);
}

bool TdxInplaceTextEdit::WindowHolds(const AnsiString& Text) {
  return !OneLine() || KeepsText() || PlacesTabs(Font()->Handle(), Text);
}

void TdxInplaceTextEdit::KeepWindowlessText() {
  if (!WindowHolds(FText)) {
    FText = FWindowlessText;
    throw EInvalidOperation(TextRefusal(FText));
  }
  FWindowlessText = FText;
}

void StartRichEditOle() {
  if (OleStarted) return;
  OleStarted = true;
  OleInitialize(nullptr);
}

namespace {

// The letters the control acts on with Ctrl, whatever Shift is, and the messages they
// stand for.
UINT ControlLetterMessage(Word Key) {
  switch (Key) {
    case 'C': return WM_COPY;
    case 'X': return WM_CUT;
    case 'V': return WM_PASTE;
    case 'Z': return EM_UNDO;
    case 'Y': return EM_REDO;
  }
  return 0;
}

}  // namespace

UINT EditKeyMessage(Word Key, TShiftState Shift) {
  const bool Ctrl = Shift.Contains(ssCtrl);
  const bool ShiftDown = Shift.Contains(ssShift);
  const bool Alt = Shift.Contains(ssAlt);
  if (Alt) return 0;
  if (Ctrl) {
    if (const UINT Letter = ControlLetterMessage(Key)) return Letter;
  }
  if (Ctrl == ShiftDown) return 0;
  switch (Key) {
    case VK_INSERT: return Ctrl ? WM_COPY : WM_PASTE;
    case VK_DELETE: return ShiftDown ? WM_CUT : 0;
  }
  return 0;
}

bool ControlKeyWithheld(Word Key, TShiftState Shift) {
  return Shift.Contains(ssCtrl) && Shift.Contains(ssAlt) &&
         (ControlLetterMessage(Key) != 0 || Key == VK_INSERT);
}

void EndSelectionAtText(HWND Handle) {
  CHARRANGE Selection{0, 0};
  SendMessageA(Handle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Selection));
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  const auto End = static_cast<LONG>(SendMessageA(Handle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0));
  if (Selection.cpMax <= End) return;
  CHARRANGE Within{std::min(Selection.cpMin, End), End};
  SendMessageA(Handle, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Within));
}

bool InsertsText(const TMessage& Message) {
  if (Message.Msg == EM_REPLACESEL) return true;
  return Message.Msg == WM_CHAR && Message.WParam != '\b' && Message.WParam != 0x7F &&
         (Message.WParam >= ' ' || Message.WParam == '\t' || Message.WParam == '\r');
}

bool DeletesText(const TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN) return Message.WParam == VK_DELETE || Message.WParam == VK_BACK;
  return Message.Msg == WM_CHAR && (Message.WParam == '\b' || Message.WParam == 0x7F);
}

void PasteRichEditPlainText(HWND Handle) {
  AnsiString Text = Clipboard()->AsText();
  if (IsOneLine(Handle)) Text = Text.substr(0, Text.find_first_of("\r\n"));
  EndSelectionAtText(Handle);
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  const LRESULT TextLength = SendMessageA(Handle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0);
  CHARRANGE Selection{0, 0};
  SendMessageA(Handle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Selection));
  const LRESULT Replaced = std::max<LRESULT>(Selection.cpMax - Selection.cpMin, 0);
  const LRESULT Limit = SendMessageA(Handle, EM_GETLIMITTEXT, 0, 0);
  Text = LeadingCharacters(Text, Limit - (TextLength - Replaced));
  if (Text.empty()) return;
  SendMessageA(Handle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
}

// Plain-text mode is taken only by an empty control.
void SetRichEditPlainText(HWND Handle, const AnsiString& Text) {
  SendMessageA(Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  SendMessageA(Handle, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageA(Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
}

void SetRichEditTextColor(HWND Handle, TColor Color, WPARAM Scope) {
  CHARFORMAT2A Format{};
  Format.cbSize = sizeof(Format);
  Format.dwMask = CFM_COLOR;
  if (Color == clWindowText || Color == clDefault)
    Format.dwEffects = CFE_AUTOCOLOR;
  else
    Format.crTextColor = ColorToRGB(Color);
  SendMessageA(Handle, EM_SETCHARFORMAT, Scope, reinterpret_cast<LPARAM>(&Format));
}

AnsiString RichEditRange(HWND Handle, LONG From, LONG To) {
  if (To <= From) return AnsiString();
  // An ANSI window copies bytes: a character of a double-byte code page takes two.
  std::vector<char> Buffer(static_cast<std::size_t>(To - From) * 2 + 1, '\0');
  TEXTRANGEA Range{{From, To}, Buffer.data()};
  const LRESULT Copied =
      SendMessageA(Handle, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&Range));
  return AnsiString(Buffer.data(),
                    static_cast<std::size_t>(std::clamp<LRESULT>(
                        Copied, 0, static_cast<LRESULT>(Buffer.size() - 1))));
}

// A press that did not leave the focus with the editor (the host moved it) must not
// leave the control with the mouse captured.
void TdxInplaceTextEdit::WMMouseDown(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!HandleAllocated() || GetFocus() == FHandle) return;
  if (Message.Msg == WM_MBUTTONDOWN) PostMessageA(FHandle, WM_MBUTTONUP, 0, Message.LParam);
  if (GetCapture() == FHandle) ReleaseCapture();
}

void TdxInplaceTextEdit::WMContextMenu(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Result != 0 || !IsNativeEdit() || !HandleAllocated()) return;
  for (TControl* Control = this; Control; Control = Control->Parent())
    if (Control->PopupMenu()) return;
  TPoint Pos{Message.XPos(), Message.YPos()};
  if (Pos.x == -1 && Pos.y == -1) {
    Pos = dxCaretMenuPoint(FHandle);
  } else {
    const TPoint Local = ScreenToClient(Pos);
    const TRect Client = GetClientRect();
    if (!PtInRect(&Client, Local)) return;
  }
  Message.Result = 1;
  ShowEditingMenu(Pos);
}

void TdxInplaceTextEdit::ShowEditingMenu(TPoint Pos) {
  if (!FPopupMenu) {
    FPopupMenu = NewObject<TPopupMenu>(this);
    const struct {
      int Text;
      int Tag;
    } Items[] = {{mtUndo, mcUndo},    {mtRedo, mcRedo},     {-1, 0},
                 {mtCut, mcCut},      {mtCopy, mcCopy},     {mtPaste, mcPaste},
                 {mtDelete, mcDelete}, {-1, 0},             {mtSelectAll, mcSelectAll}};
    for (const auto& Entry : Items) {
      auto* Item = NewObject<TMenuItem>(FPopupMenu);
      Item->SetCaption(Entry.Text < 0 ? AnsiString("-") : MenuTexts[Entry.Text]);
      Item->SetTag(Entry.Tag);
      if (Entry.Text >= 0) Item->OnClick = TNotifyEvent::Bind<&TdxInplaceTextEdit::EditingMenuClick>(this);
      FPopupMenu->Items()->Add(Item);
    }
  }
  const bool HasSelection = GetSelLength() > 0;
  const bool CanEdit = CanEditLinked() && !FHolding;
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  const LRESULT TextLength = SendMessageA(FHandle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0);
  for (int I = 0; I < FPopupMenu->Items()->Count(); ++I) {
    TMenuItem* Item = FPopupMenu->Items()->Items(I);
    switch (Item->Tag()) {
      case mcUndo:
        Item->SetEnabled(!FHolding && SendMessageA(FHandle, EM_CANUNDO, 0, 0) != 0);
        break;
      case mcRedo:
        Item->SetEnabled(!FHolding && SendMessageA(FHandle, EM_CANREDO, 0, 0) != 0);
        break;
      case mcCut: Item->SetEnabled(HasSelection && CanEdit && !FPasswordChar); break;
      case mcCopy: Item->SetEnabled(HasSelection && !FPasswordChar); break;
      case mcPaste: Item->SetEnabled(CanEdit && SendMessageA(FHandle, EM_CANPASTE, 0, 0) != 0); break;
      case mcDelete: Item->SetEnabled(HasSelection && CanEdit); break;
      // A whole selection may take the end of the last paragraph too.
      case mcSelectAll: Item->SetEnabled(GetSelLength() < TextLength); break;
    }
  }
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(Pos.x, Pos.y);
}

void TdxInplaceTextEdit::EditingMenuClick(TObject* Sender) {
  auto* Item = ObjectAs<TMenuItem>(Sender);
  if (!Item || !HandleAllocated()) return;
  switch (Item->Tag()) {
    case mcUndo: SendMessageA(FHandle, EM_UNDO, 0, 0); break;
    case mcRedo: SendMessageA(FHandle, EM_REDO, 0, 0); break;
    case mcCut: SendMessageA(FHandle, WM_CUT, 0, 0); break;
    case mcCopy: SendMessageA(FHandle, WM_COPY, 0, 0); break;
    case mcPaste: SendMessageA(FHandle, WM_PASTE, 0, 0); break;
    case mcDelete: SendMessageA(FHandle, WM_CLEAR, 0, 0); break;
    case mcSelectAll: {
      CHARRANGE All{0, -1};
      SendMessageA(FHandle, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&All));
      break;
    }
  }
}

// ---------------------------------------------------------------------------------
// View data

TdxEditViewData* TdxInplaceTextEdit::CreateViewData(bool PaintCopy) {
  TdxEditViewData* ViewData = inherited::CreateViewData(PaintCopy);
  if (auto* Text = ObjectAs<TdxTextEditViewData>(ViewData)) {
    Variant Value;
    GetDisplayValue(Value);
    Text->SetText(VarIsNull(Value) ? AnsiString() : VarToStr(Value));
    Text->CharCase = FCharCase;
    Text->PasswordChar = FPasswordChar;
    Text->SelectionBar = FSelectionBar;
    if (!InPlace() && !Text->NativeEdit) Text->FocusRectMode = true;
  }
  return ViewData;
}

TdxEditViewDataClass TdxInplaceTextEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxTextEditViewData::StaticClass();
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxEditor() {
  const UINT SavedMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE Library = LoadSystemLibrary("RICHED20.DLL");
  SetErrorMode(SavedMode);
  // Handles below 32 are the error codes of the first systems.
  RichEdit = reinterpret_cast<UINT_PTR>(Library) >= 32 ? Library : nullptr;
  const UINT Ids[mtCount] = {IDS_DXEDIT_UNDO,  IDS_DXEDIT_REDO,   IDS_DXEDIT_CUT,      IDS_DXEDIT_COPY,
                             IDS_DXEDIT_PASTE, IDS_DXEDIT_DELETE, IDS_DXEDIT_SELECTALL};
  for (int I = 0; I < mtCount; ++I) MenuTexts[I] = dxEditText(Ids[I]);
  // The kept values of the text and mask editors; reading one keeps it again.
  TPublish<TdxInplaceTextEdit> Text;
  Text.Prop("MaxLength", &TdxInplaceTextEdit::MaxLength, &TdxInplaceTextEdit::SetMaxLength)
      .Stored(dxValueKept<esvMaxLength>)
      .NoDefault();
  TPublish<TdxInplaceMaskEdit> Mask;
  // Under a mask the limit asked for is written, not the mask's.
  Mask.Prop("MaxLength", &TdxInplaceMaskEdit::UnmaskedMaxLength, &TdxInplaceTextEdit::SetMaxLength)
      .Stored(dxValueKept<esvMaxLength>)
      .NoDefault();
  dxPublishEditMask(Mask);
}

void DonedxEditor() {
  UnRegisterPublished(&TdxInplaceMaskEdit::StaticClass());
  UnRegisterPublished(&TdxInplaceTextEdit::StaticClass());
  for (AnsiString& Text : MenuTexts) Text.clear();
  if (RichEdit) FreeLibrary(RichEdit);
  RichEdit = nullptr;
}
