// Windowed controls: window creation from CreateParams, the window procedure and
// message handling and reflection, showing, and the child lists.
#include <algorithm>
#include <utility>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/ModuleInit.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TWinControl)

using namespace classlib_detail;

namespace {

// The control whose window is being made: the first message of a new window attaches
// the window to it.
TWinControl* CreationControl = nullptr;
// Child window ids, as WM_MEASUREITEM finds a child by id.
int NextControlId = 100;
std::vector<AnsiString> RegisteredClassNames;
// The nesting of window messages; device contexts of canvases are released when the
// outermost message is done.
int MessageDepth = 0;

constexpr UINT ShowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// The system hands a new window its caption as wide characters counted in a 16-bit
// number of bytes: a caption of 32,767 characters or more makes no window, and one of
// 65,536 or more is cut.
constexpr std::size_t MaxCreationCaption = 32767;

template <class T>
int IndexIn(const std::vector<T*>& List, const TControl* Item) {
  const auto It = std::find(List.begin(), List.end(), Item);
  return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

// Item at Index, or last for an index outside the list.
template <class T>
void PutAt(std::vector<T*>& List, T* Item, int Index) {
  if (Index < 0 || Index > static_cast<int>(List.size()))
    List.push_back(Item);
  else
    List.insert(List.begin() + Index, Item);
}

}  // namespace

// The window procedure of every control window.
LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Control = static_cast<TWinControl*>(GetPropA(Wnd, MAKEINTATOM(ControlAtom())));
  if (!Control) {
    Control = CreationControl;
    if (!Control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
    CreationControl = nullptr;
    Control->AttachHandle(Wnd);
  }
  TMessage Message{Msg, WParam, LParam, 0};
  ++MessageDepth;
  Control->MainWndProc(Message);
  // The control may be gone now (freed by its own handler); only the last message of
  // a window still needs it, and no handler frees a control there.
  if (Msg == WM_NCDESTROY) Control->DetachHandle();
  if (--MessageDepth == 0) FreeDeviceContexts();
  return Message.Result;
}

namespace classlib_detail {
void UnregisterControlClasses() {
  for (const AnsiString& Name : RegisteredClassNames) UnregisterClassA(Name.c_str(), HInstance);
  RegisteredClassNames.clear();
}
}  // namespace classlib_detail

namespace {

void RegisterControlClass(const TCreateParams& Params) {
  WNDCLASSA Existing;
  const char* Name = Params.WinClassName.c_str();
  if (GetClassInfoA(Params.WindowClass.hInstance, Name, &Existing)) {
    if (Existing.lpfnWndProc == ControlWndProc) return;
    UnregisterClassA(Name, Params.WindowClass.hInstance);
  }
  WNDCLASSA Class = Params.WindowClass;
  Class.lpfnWndProc = ControlWndProc;
  Class.lpszClassName = Name;
  Win32Check(RegisterClassA(&Class) != 0);
  if (std::find(RegisteredClassNames.begin(), RegisteredClassNames.end(), Params.WinClassName) ==
      RegisteredClassNames.end())
    RegisteredClassNames.push_back(Params.WinClassName);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Creation and destruction

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FBrush = NewObject<TBrush>();
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
  if (FHandle) {
    // Deleted without Free: the window must not call into the object any more.
    RemovePropA(FHandle, MAKEINTATOM(ControlAtom()));
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
  FreeAndNil(FBrush);
}

void TWinControl::BeforeDestruction() {
  Destroying();
  if (FParent) RemoveFocus(true);
  if (FHandle) DestroyWindowHandle();
  while (!FControls.empty() || !FWinControls.empty()) {
    TControl* Instance = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back())
                                                : FControls.back();
    // Out of the lists first, as a child that leaves its parent.
    if (auto* Window = ObjectAs<TWinControl>(Instance)) {
      FWinControls.erase(std::find(FWinControls.begin(), FWinControls.end(), Window));
      auto Tab = std::find(FTabList.begin(), FTabList.end(), Window);
      if (Tab != FTabList.end()) FTabList.erase(Tab);
    } else {
      FControls.erase(std::find(FControls.begin(), FControls.end(), Instance));
    }
    Instance->FParent = nullptr;
    Instance->Free();
  }
  inherited::BeforeDestruction();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
  // A window made again after it was destroyed from outside shows as before.
  if (FHandle && FParent && FParent->Showing() && FVisible) UpdateShowing();
}

void TWinControl::CreateHandle() {
  if (!FHandle) {
    try {
      CreateWnd();
    } catch (const EOSError& E) {
      // The system refused the window. A window made whose setting up failed is no
      // window owed.
      if (FHandle) throw;
      if (FWindowFailed) throw EAbort(E.Message());
      FWindowFailed = true;
      throw;
    }
    FWindowFailed = false;
    for (TControl* Child : FControls) Child->UpdateAnchorRules();
    for (TWinControl* Child : FWinControls) Child->UpdateAnchorRules();
  }
  if (FParent && FHandle) {
    TWinControl* Above = FParent->PrecedingWindowControl(this);
    SetWindowPos(FHandle, Above ? Above->FHandle : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// The next windowed sibling above Control that has a window.
TWinControl* TWinControl::PrecedingWindowControl(TWinControl* Control) const {
  auto It = std::find(FWinControls.begin(), FWinControls.end(), Control);
  if (It == FWinControls.end()) return nullptr;
  for (++It; It != FWinControls.end(); ++It)
    if ((*It)->FHandle) return *It;
  return nullptr;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle().Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  if (UseRightToLeftReading()) Params.ExStyle |= WS_EX_RTLREADING;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = HInstance;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASSA Class;
  if (!GetClassInfoA(HInstance, ControlClassName, &Class) &&
      !GetClassInfoA(nullptr, ControlClassName, &Class))
    throw EOSError("Window class %s is not registered", {ControlClassName});
  Params.WindowClass = Class;
  Params.WindowClass.hInstance = HInstance;
  Params.WindowClass.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (!Params.WndParent && (Params.Style & WS_CHILD))
    throw EInvalidOperation(SParentRequired, {Name()});
  FDefWndProc = Params.WindowClass.lpfnWndProc ? Params.WindowClass.lpfnWndProc : DefWindowProcA;
  RegisterControlClass(Params);
  // A caption too long to make a window with is the window's text once it is made.
  AnsiString LongCaption;
  if (Params.Caption.size() >= MaxCreationCaption) LongCaption.swap(Params.Caption);
  {
    CreationControl = this;
    auto Created = ScopeExit([] { CreationControl = nullptr; });
    CreateWindowHandle(Params);
  }
  Win32Check(FHandle != nullptr);
  if (!LongCaption.empty()) {
    TStateScope<TControlState, TControlStateItem> Creating(FControlState, csCreating);
    SetWindowTextA(FHandle, LongCaption.c_str());
  }
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
  if (AutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU Id = nullptr;
  if (Params.Style & WS_CHILD) Id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId++));
  HWND Wnd = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                             Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                             Params.WndParent, Id, Params.WindowClass.hInstance, Params.Param);
  if (Wnd && !FHandle && IsWindow(Wnd)) AttachHandle(Wnd);
}

void TWinControl::AttachHandle(HWND Wnd) {
  FHandle = Wnd;
  SetPropA(Wnd, MAKEINTATOM(ControlAtom()), this);
}

void TWinControl::DetachHandle() {
  if (!FHandle) return;
  RemovePropA(FHandle, MAKEINTATOM(ControlAtom()));
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* Child : FWinControls) Child->DestroyHandle();
  // Runs on the way to freeing controls and forms: a failure is reported, never
  // raised, and the window goes even when DestroyWnd stopped before destroying it.
  try {
    DestroyWnd();
  } catch (...) {
    HandleWindowException(this);
  }
  if (FHandle) DestroyWindowHandle();
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  FreeDeviceContexts();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  HWND Wnd = FHandle;
  BOOL Done = DestroyWindow(Wnd);
  DWORD Error = Done ? ERROR_SUCCESS : GetLastError();
  FControlState.Exclude(csDestroyingHandle);
  // WM_NCDESTROY has detached the window; a failure leaves the control without it.
  if (FHandle == Wnd) DetachHandle();
  if (Done) return;
  // Reported, not raised: this runs while controls are freed.
  try {
    SetLastError(Error);
    Win32Check(false);
  } catch (...) {
    HandleWindowException(this);
  }
}

void TWinControl::RecreateWnd() {
  if (FHandle || FWindowFailed) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage& /*Message*/) {
  bool WasFocused = Focused();
  DestroyHandle();
  // The change that asked for the new window is made: a window that cannot be made is
  // reported here, once, and the control keeps its text for the next attempt.
  try {
    UpdateControlState();
  } catch (...) {
    HandleWindowException(this);
  }
  if (WasFocused && FHandle) ::SetFocus(FHandle);
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  // A window the system cannot put the control under (one gone) is refused, and the
  // control stays under the one it had.
  const HWND Old = std::exchange(FParentWindow, Value);
  auto Back = ScopeExit([&] { FParentWindow = Old; });
  if (FHandle && Old && Value)
    Win32Check(::SetParent(FHandle, Value) != nullptr);
  else
    DestroyHandle();
  UpdateControlState();
  Back.Dismiss();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent || !AParent || !FParentWindow) {
    inherited::SetParent(AParent);
    return;
  }
  // A parent replaces the window outside the library, unless the control refuses it.
  const HWND Window = std::exchange(FParentWindow, nullptr);
  auto Keep = ScopeExit([&] { FParentWindow = Window; });
  inherited::SetParent(AParent);
  Keep.Dismiss();
}

AnsiString TWinControl::GetText() const {
  if (!FHandle) return FText;
  int Length = GetWindowTextLengthA(FHandle);
  if (Length <= 0) return AnsiString();
  AnsiString Result(static_cast<std::size_t>(Length) + 1, '\0');
  int Copied = GetWindowTextA(FHandle, Result.data(), Length + 1);
  Result.resize(static_cast<std::size_t>(std::max(Copied, 0)));
  return Result;
}

// ---------------------------------------------------------------------------------
// Showing

void TWinControl::UpdateShowing() {
  bool ShowControl = FVisible && !FControlState.Contains(csReadingState);
  if (ShowControl) {
    if (!FHandle) CreateHandle();
    std::vector<TWinControl*> Children = FWinControls;
    for (TWinControl* Child : Children) Child->UpdateShowing();
  }
  if (FHandle && FShowing != ShowControl) {
    FShowing = ShowControl;
    auto Undo = ScopeExit([&] { FShowing = !ShowControl; });
    Perform(CM_SHOWINGCHANGED, 0, 0);
    Undo.Dismiss();
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* Control = this;
  while (Control->FParent) {
    Control = Control->FParent;
    if (!Control->Showing()) return;
  }
  if (Control->Is<TCustomForm>() || Control->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage& /*Message*/) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, ShowFlags | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& /*Message*/) {
  if (!FVisible && FParent) RemoveFocus(false);
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage& /*Message*/) {
  if (!FEnabled && FParent) RemoveFocus(false);
  if (FHandle) EnableWindow(FHandle, FEnabled);
}

// ---------------------------------------------------------------------------------
// Children

TControl* TWinControl::Controls(int Index) const {
  int Graphic = static_cast<int>(FControls.size());
  if (Index < 0 || Index >= ControlCount()) throw EListError(SListIndexError, {Index});
  if (Index < Graphic) return FControls[Index];
  return FWinControls[Index - Graphic];
}

void TWinControl::InsertControl(TControl* AControl) { InsertControlAt(AControl, TPlace()); }

TWinControl::TPlace TWinControl::PlaceOf(const TControl* AControl) const {
  if (AControl->Is<TWinControl>()) return {IndexIn(FWinControls, AControl), IndexIn(FTabList, AControl)};
  return {IndexIn(FControls, AControl), -1};
}

void TWinControl::InsertControlAt(TControl* AControl, const TPlace& Place) {
  AControl->ValidateContainer(this);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  if (auto* Window = ObjectAs<TWinControl>(AControl)) {
    PutAt(FWinControls, Window, Place.Control);
    PutAt(FTabList, Window, Place.Tab);
  } else {
    PutAt(FControls, AControl, Place.Control);
  }
  AControl->FParent = this;
  if (!AControl->ComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (auto* Window = ObjectAs<TWinControl>(AControl)) {
      Window->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      Window->UpdateControlState();
    }
    else if (FHandle)
      AControl->Invalidate();
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  if (ControlInsertedHook) ControlInsertedHook(AControl);
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  if (auto* Window = ObjectAs<TWinControl>(AControl)) {
    Window->RemoveFocus(true);
    Window->DestroyHandle();
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), Window),
                       FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), Window), FTabList.end());
  } else {
    if (FHandle) AControl->InvalidateControl(AControl->Visible(), false);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  AControl->FParent = nullptr;
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  while (Control && Control != this) Control = Control->Parent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  auto Hits = [&](TControl* C) {
    TRect R = C->BoundsRect();
    if (!C->Visible() || !(C->Enabled() || AllowDisabled) || !PtInRect(&R, Pos)) return false;
    LPARAM P = MAKELPARAM(Pos.x - C->Left(), Pos.y - C->Top());
    return C->Perform(CM_HITTEST, 0, P) != 0;
  };
  if (AllowWinControls)
    for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
      if (Hits(*It)) return *It;
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
    if (Hits(*It)) return *It;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int I = 0; I < ControlCount(); ++I) {
    Controls(I)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* Control = Controls(I);
    if (Control->Owner() == Root) Proc(Control);
  }
}

void TWinControl::ReadState(TReader* Reader) {
  DisableAlign();
  auto Enable = AtScopeEnd([this] { EnableAlign(); });
  inherited::ReadState(Reader);
  // The children that read a tab order take their places, lowest first; the others
  // keep the order in which they were read.
  std::vector<TWinControl*> Ordered;
  for (TWinControl* Child : FTabList)
    if (Child->FReadTabOrder >= 0) Ordered.push_back(Child);
  MergeSort(Ordered, [](TWinControl* A, TWinControl* B) { return A->FReadTabOrder - B->FReadTabOrder; });
  for (TWinControl* Child : Ordered) {
    int Value = Child->FReadTabOrder;
    Child->FReadTabOrder = -1;
    auto It = std::find(FTabList.begin(), FTabList.end(), Child);
    FTabList.erase(It);
    FTabList.insert(FTabList.begin() + std::clamp<int>(Value, 0, static_cast<int>(FTabList.size())), Child);
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage Message{Msg, 0, 0, 0};
  Broadcast(Message);
}

void TWinControl::SetZOrder(bool TopMost) {
  if (FParent) {
    auto& List = FParent->FWinControls;
    auto It = std::find(List.begin(), List.end(), this);
    if (It != List.end()) {
      List.erase(It);
      if (TopMost)
        List.push_back(this);
      else
        List.insert(List.begin(), this);
    }
  }
  if (FHandle)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------
// Messages

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WindowProc(Message);
  } catch (...) {
    HandleWindowException(this);
  }
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* Form = GetParentForm(this);
      if (Form && !Form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
  }
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && IsControlMouseMsg(Message)) {
    if (Message.Result == 0 && FHandle)
      DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  inherited::WndProc(Message);
}

// A mouse message over (or captured by) a graphic child goes to the child, in its
// own coordinates.
bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* Control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    if (CaptureControl && CaptureControl->Parent() == this) Control = CaptureControl;
  } else {
    Control = ControlAtPos(Point(Message.XPos(), Message.YPos()), false);
  }
  if (!Control) return false;
  int X = Message.XPos() - Control->Left();
  int Y = Message.YPos() - Control->Top();
  Message.Result = Control->Perform(Message.Msg, Message.WParam, MAKELPARAM(X, Y));
  return true;
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_PRINTCLIENT:
      if (Message.WParam) PaintHandler(Message);
      break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_DRAWITEM: WMDrawItem(Message); break;
    case WM_MEASUREITEM: WMMeasureItem(Message); break;
    case WM_COMPAREITEM:
      if (!DoControlMsg(reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem, Message))
        DefaultHandler(Message);
      break;
    case WM_DELETEITEM:
      if (!DoControlMsg(reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->hwndItem, Message))
        DefaultHandler(Message);
      break;
    case WM_CAPTURECHANGED:
      // Another window took the capture from a graphic child: it ends its mode as it
      // does on a cancel.
      if (CaptureControl && CaptureControl->Parent() == this &&
          reinterpret_cast<HWND>(Message.LParam) != FHandle) {
        TControl* Lost = CaptureControl;
        CaptureControl = nullptr;
        Lost->Perform(WM_CANCELMODE, 0, 0);
      }
      DefaultHandler(Message);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCtlColor(Message); break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(DC, ColorToRGB(FFont->Color()));
      SetBkColor(DC, ColorToRGB(FBrush->Color()));
      Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
      break;
    }
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(Message)) DefaultHandler(Message);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(Message)) DefaultHandler(Message);
      break;
    case WM_CHAR:
      if (!DoKeyPress(Message)) DefaultHandler(Message);
      break;
    case WM_SETTINGCHANGE:
      DefaultHandler(Message);
      Perform(CM_WININICHANGE, Message.WParam, Message.LParam);
      break;
    case WM_SYSCOLORCHANGE:
      DefaultHandler(Message);
      Perform(CM_SYSCOLORCHANGE, 0, 0);
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED: Broadcast(Message); break;
    case CM_WININICHANGE:
    case CM_SYSCOLORCHANGE:
      // Every control of the tree hears of it.
      for (int I = 0; I < ControlCount(); ++I) Controls(I)->Perform(Message.Msg, Message.WParam, Message.LParam);
      break;
    case CM_CHILDKEY: CMChildKey(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); break;
    case CM_BIDIMODECHANGED: NotifyControls(CM_PARENTBIDIMODECHANGED); break;
    case CM_CTL3DCHANGED: NotifyControls(CM_PARENTCTL3DCHANGED); break;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    inherited::DefaultHandler(Message);
    return;
  }
  Message.Result = CallWindowProcA(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::DoControlMsg(HWND ControlHandle, TMessage& Message) {
  TWinControl* Control = FindControl(ControlHandle);
  if (!Control) return false;
  Message.Result = Control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WMCommand(TMessage& Message) {
  if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!Header || !DoControlMsg(Header->hwndFrom, Message)) DefaultHandler(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  auto* Item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (!Item || Item->CtlType == ODT_MENU || !DoControlMsg(Item->hwndItem, Message))
    DefaultHandler(Message);
}

void TWinControl::WMMeasureItem(TMessage& Message) {
  auto* Item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (Item && Item->CtlType != ODT_MENU) {
    // The child is found by its id: it may still be inside CreateWindowEx.
    for (TWinControl* Child : FWinControls) {
      if (Child->FHandle && static_cast<UINT>(GetDlgCtrlID(Child->FHandle)) == Item->CtlID) {
        Message.Result = Child->Perform(CN_MEASUREITEM, Message.WParam, Message.LParam);
        return;
      }
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  TWinControl* Control = FindControl(reinterpret_cast<HWND>(Message.LParam));
  if (Control)
    Message.Result = Control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  else
    DefaultHandler(Message);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle &&
      Message.LParamLo() == HTCLIENT) {
    TCursor Cursor = Screen ? Screen->Cursor() : crDefault;
    if (Cursor == crDefault) {
      POINT P;
      GetCursorPos(&P);
      ::ScreenToClient(FHandle, &P);
      if (TControl* Control = ControlAtPos(P, false)) Cursor = Control->Cursor();
      if (Cursor == crDefault) Cursor = this->Cursor();
    }
    if (Cursor != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(Cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMMouseLeave(TMessage& Message) {
  MouseLeftWindow(this);
  DefaultHandler(Message);
}

// A click over a graphic child goes to the child first; when it has no menu of its
// own, this control's menu opens (or the parent's, through the default handling).
void TWinControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  const bool FromKeyboard = Message.XPos() == -1 && Message.YPos() == -1;
  if (!FromKeyboard) {
    const TPoint Pos = ScreenToClient(Point(Message.XPos(), Message.YPos()));
    if (TControl* Child = ControlAtPos(Pos, false)) {
      Message.Result = Child->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
      if (Message.Result != 0) return;
    }
  }
  TControl::WMContextMenu(Message);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::Dispatch(Message);  // repaint
  FBrush->SetColor(FColor);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::Dispatch(Message);  // repaint
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  FParentCtl3D = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  FParentCtl3D = Value;
  if (Value) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

// WParam non-zero: LParam carries the value to follow; otherwise the parent's.
void TWinControl::CMParentCtl3DChanged(TMessage& Message) {
  if (!FParentCtl3D) return;
  bool Value = Message.WParam ? Message.LParam != 0 : (FParent ? FParent->FCtl3D : FCtl3D);
  SetCtl3D(Value);
  FParentCtl3D = true;
}
