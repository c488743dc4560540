// Forms and frames: window styles from the border properties, showing and hiding,
// activation and focus bookkeeping, dialog keys, closing, and the modal loop. The
// application and the screen: Forms_Application.cpp.
#include "classlib/Forms.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/ModuleInit.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TCustomForm)
TCLASS_IMPL(TForm)
TCLASS_IMPL(TCustomFrame)
TCLASS_IMPL(TFrame)

namespace {

// The message that asks an MDI client to compute its scroll range again.
constexpr UINT MdiCalcChildScroll = 0x3F;

// Counts focus changes: a handler that moves the focus elsewhere while a change is
// under way ends that change.
int FocusCount = 0;

// Sends a focus notification; false when the handler moved the focus elsewhere or
// raised (the exception goes to Application->HandleException).
bool SendFocusMessage(HWND Window, UINT Msg) {
  int Count = FocusCount;
  if (TWinControl* Control = FindControl(Window)) {
    try {
      Control->Perform(Msg, 0, 0);
    } catch (...) {
      HandleWindowException(Control);
      return false;
    }
  } else {
    SendMessageA(Window, Msg, 0, 0);
  }
  return FocusCount == Count;
}

}  // namespace

TCustomForm* GetParentForm(TControl* Control) {
  if (!Control) return nullptr;
  while (Control->Parent()) Control = Control->Parent();
  return ObjectAs<TCustomForm>(Control);
}

TCustomForm* ValidParentForm(TControl* Control) {
  TCustomForm* Form = GetParentForm(Control);
  if (!Form) throw EInvalidOperation(SParentRequired, {Control ? Control->Name() : AnsiString()});
  return Form;
}

// ---------------------------------------------------------------------------------
// Disabling the other windows of a modal loop

namespace {

struct TDisableContext {
  HWND Except;
  TTaskWindowList* List;
};

// A callback of the system: nothing may leave it.
BOOL CALLBACK DisableWindowProc(HWND Window, LPARAM Data) {
  auto* Context = reinterpret_cast<TDisableContext*>(Data);
  if (Window != Context->Except && IsWindowVisible(Window) && IsWindowEnabled(Window)) {
    try {
      Context->List->push_back(Window);
    } catch (...) {
      return FALSE;
    }
    EnableWindow(Window, FALSE);
  }
  return TRUE;
}

}  // namespace

TTaskWindowList DisableTaskWindows(HWND Except) {
  TTaskWindowList List;
  TDisableContext Context{Except, &List};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindowProc, reinterpret_cast<LPARAM>(&Context));
  // The owner too, even when hidden, except the application's own window.
  HWND Owner = Except ? GetWindow(Except, GW_OWNER) : nullptr;
  bool ApplicationWindow = Application && Application->HandleAllocated() && Owner == Application->Handle();
  if (Owner && !ApplicationWindow && IsWindowEnabled(Owner) &&
      std::find(List.begin(), List.end(), Owner) == List.end()) {
    List.push_back(Owner);
    EnableWindow(Owner, FALSE);
  }
  return List;
}

void EnableTaskWindows(const TTaskWindowList& List) {
  for (HWND Window : List)
    if (IsWindow(Window)) EnableWindow(Window, TRUE);
}

// ---------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  FVisible = false;
  FParentFont = false;
  SetColor(clBtnFace);
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  FIcon = NewObject<TIcon>();
  FIcon->OnChange = TNotifyEvent::Bind<&TCustomForm::IconChanged>(this);
  FCanvas = NewObject<TControlCanvas>(this);
  FFormState.Include(fsCreating);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::TCustomForm(TComponent* AOwner, TCreateNew) : TCustomForm(AOwner) { FCreateNew = true; }

namespace {
// Reads the form files of a form or frame class; a failure frees the components read
// so far (and any the constructors made) before the exception leaves NewObject.
void ReadFormFiles(TComponent* Instance, TClass Base) {
  try {
    InitInheritedComponent(Instance, Base);
  } catch (...) {
    Instance->DestroyComponents();
    throw;
  }
}
}  // namespace

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
  FreeAndNil(FCanvas);
  FreeAndNil(FIcon);
}

void TCustomForm::AfterConstruction() {
  if (!FCreateNew)
    ReadFormFiles(this, Is<TForm>() ? &TForm::StaticClass() : &TCustomForm::StaticClass());
  inherited::AfterConstruction();
  FFormState.Exclude(fsCreating);
  DoCreate();
}

void TCustomForm::BeforeDestruction() {
  Destroying();
  if (FFormStyle != fsMDIChild && FVisible) Hide();
  DoDestroy();
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  inherited::BeforeDestruction();
}

void TCustomForm::SetFormStateFlag(TFormStateItem Flag, bool On) {
  if (On)
    FFormState.Include(Flag);
  else
    FFormState.Exclude(Flag);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderWidth(int Value) {
  if (Value < 0) Value = 0;
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  // The system asks for the client area again, keeping the window's size.
  if (HandleAllocated())
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  // A form with a window of its own is made an MDI child only where an MDI parent can
  // hold it: refused before its window goes, it keeps its style and its window.
  if (Value == fsMDIChild && HandleAllocated() && !Parent() && !ParentWindow() && !HasMDIParent())
    throw EInvalidOperation(SNoMDIParent, {Name()});
  const bool WasTopMost = FFormStyle == fsStayOnTop;
  const bool WindowKindChanges = FFormStyle == fsMDIChild || FFormStyle == fsMDIForm ||
                                 Value == fsMDIChild || Value == fsMDIForm;
  FFormStyle = Value;
  if (!HandleAllocated()) return;
  if (WindowKindChanges)
    RecreateWnd();
  else if (WasTopMost || Value == fsStayOnTop)
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (HandleAllocated() && Showing()) ShowWindow(FHandle, ShowCommand());
}

int TCustomForm::ShowCommand() const {
  switch (FWindowState) {
    case wsMinimized: return SW_SHOWMINNOACTIVE;
    case wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

// The window styles of the border properties (without the parts of the base class).
void TCustomForm::ComputeWindowStyles(DWORD& Style, DWORD& ExStyle) const {
  TFormBorderStyle CreateStyle = FBorderStyle;
  bool TopLevel = !Parent() && !ParentWindow() && FFormStyle != fsMDIChild;
  switch (CreateStyle) {
    case bsNone:
      if (TopLevel) Style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow: Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Style |= WS_POPUP | WS_CAPTION;
      ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (CreateStyle == bsToolWindow || CreateStyle == bsSizeToolWin) ExStyle |= WS_EX_TOOLWINDOW;
  TBorderIcons Icons = FBorderIcons;
  switch (CreateStyle) {
    case bsNone: Icons = {}; break;
    case bsDialog: Icons = Icons * TBorderIcons{biSystemMenu, biHelp}; break;
    case bsToolWindow:
    case bsSizeToolWin: Icons = Icons * TBorderIcons{biSystemMenu}; break;
    default: break;
  }
  if (CreateStyle == bsSingle || CreateStyle == bsSizeable || CreateStyle == bsNone) {
    if (Icons.Contains(biMinimize)) Style |= WS_MINIMIZEBOX;
    if (Icons.Contains(biMaximize)) Style |= WS_MAXIMIZEBOX;
  }
  if (Icons.Contains(biSystemMenu)) Style |= WS_SYSMENU;
  if (Icons.Contains(biHelp) &&
      (CreateStyle == bsDialog || (!Icons.Contains(biMinimize) && !Icons.Contains(biMaximize))))
    ExStyle |= WS_EX_CONTEXTHELP;
  if (FFormStyle == fsStayOnTop) ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FFormStyle == fsMDIChild && !Parent() && !ParentWindow()) {
    Params.WndParent = MDIChildParentWindow();
    Params.Style = (Params.Style | WS_CHILD) & ~(WS_GROUP | WS_TABSTOP);
    Params.ExStyle |= WS_EX_MDICHILD;
  } else if (!Parent() && !ParentWindow()) {
    Params.WndParent = Application->Handle();
    Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  }
  Params.WindowClass.style = CS_DBLCLKS;
  if (FBorderStyle == bsDialog) Params.WindowClass.style |= CS_SAVEBITS | CS_BYTEALIGNWINDOW;
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
    Params.X = CW_USEDEFAULT;
    Params.Y = CW_USEDEFAULT;
  }
  ComputeWindowStyles(Params.Style, Params.ExStyle);
  // A hidden MDI child's window is made in no state: the client would take a maximized
  // one for its maximized child. Its showing gives it its state.
  const bool HiddenMDIChild = (Params.ExStyle & WS_EX_MDICHILD) && !FVisible;
  if ((FBorderStyle == bsSingle || FBorderStyle == bsSizeable || FBorderStyle == bsNone) && !HiddenMDIChild) {
    if (FWindowState == wsMinimized)
      Params.Style |= WS_MINIMIZE;
    else if (FWindowState == wsMaximized)
      Params.Style |= WS_MAXIMIZE;
  }
}

void TCustomForm::IconChanged(TObject* /*Sender*/) { Perform(CM_ICONCHANGED, 0, 0); }

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  if (!FIcon->Empty()) SendMessageA(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
  if (FFormStyle == fsMDIForm) {
    CreateMDIClient();
    ShowMDIChildren();
  }
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  // The system's MDI child procedure handles the window from its first message on.
  if (Params.ExStyle & WS_EX_MDICHILD) FFormState.Include(fsCreatedMDIChild);
  inherited::CreateWindowHandle(Params);
  if (!FHandle) FFormState.Exclude(fsCreatedMDIChild);
}

void TCustomForm::DestroyWnd() {
  FActiveChildOfOldWindow = ActiveMDIChild();
  for (int I = MDIChildCount() - 1; I >= 0; --I) MDIChildren(I)->DestroyHandle();
  inherited::DestroyWnd();
}

void TCustomForm::DestroyWindowHandle() {
  if (FFormState.Contains(fsCreatedMDIChild)) {
    FFormState.Exclude(fsCreatedMDIChild);
    const HWND Client = GetParent(FHandle);
    if (Client) {
      TStateScope Destroying(FControlState, csDestroyingHandle);
      SendMessageA(Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
    }
    // WM_NCDESTROY has let go of the window; otherwise it is destroyed as any other.
    if (!FHandle) return;
  }
  inherited::DestroyWindowHandle();
}

namespace {
// The id of an MDI parent's first child window (the system numbers them from here).
constexpr UINT MDIFirstChildId = 0xFF00;
}  // namespace

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT Create{nullptr, MDIFirstChildId};
  RECT R;
  ::GetClientRect(FHandle, &R);
  FClientHandle = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL |
                                      WS_VSCROLL | MDIS_ALLCHILDSTYLES,
                                  0, 0, R.right, R.bottom, FHandle, nullptr, HInstance, &Create);
  Win32Check(FClientHandle != nullptr);
  // Below the form's controls: a bar docked at the top stays over it.
  SetWindowPos(FClientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Realign();
}

bool TCustomForm::CanCreateWindow() const { return FFormStyle != fsMDIChild || HasMDIParent(); }

bool TCustomForm::HasMDIParent() const {
  const TCustomForm* Main = Application ? Application->MainForm() : nullptr;
  return Main && Main != this && Main->FFormStyle == fsMDIForm;
}

HWND TCustomForm::MDIChildParentWindow() {
  TCustomForm* Main = CanCreateWindow() ? Application->MainForm() : nullptr;
  if (Main) Main->HandleNeeded();
  if (!Main || !Main->FClientHandle) throw EInvalidOperation(SNoMDIParent, {Name()});
  return Main->FClientHandle;
}

void TCustomForm::ShowMDIChildren() {
  if (!Screen || Application->MainForm() != this) return;
  // Copied: showing a child may reorder the screen's list.
  const std::vector<TCustomForm*> Forms = Screen->FCustomForms;
  for (TCustomForm* Form : Forms)
    if (Form->FFormStyle == fsMDIChild && Form->FVisible && !Form->HandleAllocated()) Form->UpdateShowing();
  // The windows made again have lost the client's activation: the active child gets it
  // back (when it is still one of the screen's forms and shown), else the first shown.
  TCustomForm* Active = std::exchange(FActiveChildOfOldWindow, nullptr);
  const std::vector<TCustomForm*>& Now = Screen->FCustomForms;
  const auto Shown = [](const TCustomForm* Child) {
    return Child->FHandle && Child->FFormState.Contains(fsCreatedMDIChild) &&
           (GetWindowLongA(Child->FHandle, GWL_STYLE) & WS_VISIBLE);
  };
  if (!Active || std::find(Now.begin(), Now.end(), Active) == Now.end() || !Shown(Active)) {
    Active = nullptr;
    for (int I = 0; TCustomForm* Child = MDIChildren(I); ++I)
      if (Shown(Child)) {
        Active = Child;
        break;
      }
  }
  if (Active) SendMessageA(FClientHandle, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Active->FHandle), 0);
}

void TCustomForm::MDIChildShownOrHidden(UINT Flags) {
  if (!(Flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) || !FHandle || !FFormState.Contains(fsCreatedMDIChild) ||
      FControlState.Contains(csDestroyingHandle))
    return;
  const HWND Client = GetParent(FHandle);
  if (!Client) return;
  const auto Active = reinterpret_cast<HWND>(SendMessageA(Client, WM_MDIGETACTIVE, 0, 0));
  if ((Flags & SWP_HIDEWINDOW) && Active == FHandle)
    SendMessageA(Client, WM_MDINEXT, reinterpret_cast<WPARAM>(FHandle), 0);
  else if ((Flags & SWP_SHOWWINDOW) && (!Active || !(GetWindowLongA(Active, GWL_STYLE) & WS_VISIBLE)))
    SendMessageA(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
}

void TCustomForm::MDIChildPlaced(UINT Flags) {
  constexpr UINT Unchanged = SWP_NOMOVE | SWP_NOSIZE;
  if (!FHandle || !FFormState.Contains(fsCreatedMDIChild) ||
      ((Flags & Unchanged) == Unchanged && !(Flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))))
    return;
  if (const HWND Client = GetParent(FHandle)) PostMessageA(Client, MdiCalcChildScroll, 0, 0);
}

int TCustomForm::MDIChildCount() const {
  int Count = 0;
  while (MDIChildren(Count)) ++Count;
  return Count;
}

TCustomForm* TCustomForm::MDIChildren(int Index) const {
  if (!FClientHandle || Index < 0) return nullptr;
  for (HWND Window = GetWindow(FClientHandle, GW_CHILD); Window; Window = GetWindow(Window, GW_HWNDNEXT)) {
    auto* Form = ObjectAs<TCustomForm>(FindControl(Window));
    if (Form && Form->FFormStyle == fsMDIChild && Index-- == 0) return Form;
  }
  return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!FClientHandle) return nullptr;
  const auto Active = reinterpret_cast<HWND>(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  if (!Active || !(GetWindowLongA(Active, GWL_STYLE) & WS_VISIBLE)) return nullptr;
  auto* Form = ObjectAs<TCustomForm>(FindControl(Active));
  return Form && Form->FFormStyle == fsMDIChild ? Form : nullptr;
}

TCustomForm* TCustomForm::MDIParent() const {
  if (!FFormState.Contains(fsCreatedMDIChild) || !FHandle) return nullptr;
  auto* Parent = ObjectAs<TCustomForm>(FindControl(GetParent(GetParent(FHandle))));
  return Parent && Parent->FClientHandle == GetParent(FHandle) ? Parent : nullptr;
}

// Before the window exists the client area is the bounds less the frame the border
// properties give, so that layout does not change when the window is made.
void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  inherited::AlignControls(AControl, Rect);
  if (FClientHandle)
    SetWindowPos(FClientHandle, nullptr, Rect.left, Rect.top, std::max<int>(0, Rect.right - Rect.left),
                 std::max<int>(0, Rect.bottom - Rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect TCustomForm::GetClientRect() {
  if (HandleAllocated() || Parent()) return inherited::GetClientRect();
  DWORD Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS, ExStyle = WS_EX_CONTROLPARENT;
  ComputeWindowStyles(Style, ExStyle);
  RECT Frame{0, 0, 0, 0};
  AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
  return Rect(0, 0, std::max<int>(0, FWidth - (Frame.right - Frame.left) - 2 * FBorderWidth),
              std::max<int>(0, FHeight - (Frame.bottom - Frame.top) - 2 * FBorderWidth));
}

void TCustomForm::Show() {
  // A form visible already whose window was hidden behind its back (ShowWindow) has its
  // window shown again. (A form made visible here was shown by its showing step, or
  // left to whatever took that step over.)
  const bool WasVisible = FVisible;
  SetVisible(true);
  if (WasVisible && FHandle && Showing() && !(GetWindowLongA(FHandle, GWL_STYLE) & WS_VISIBLE))
    ShowWindow(FHandle, ShowCommand());
  BringToFront();
  // An MDI child in front is its client's active child.
  if (FFormState.Contains(fsCreatedMDIChild) && FHandle)
    SendMessageA(GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
}

void TCustomForm::ShowingChanged() {
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation(SVisibleChanged);
  TStateScope ShowingState(FFormState, fsShowing);
  if (Showing()) {
    DoShow();
    switch (FPosition) {
      case poScreenCenter: CentreIn(Rect(0, 0, Screen->Width(), Screen->Height())); break;
      case poDesktopCenter: CentreIn(Screen->DesktopRect()); break;
      case poMainFormCenter:
      case poOwnerFormCenter: {
        TCustomForm* Centre = FPosition == poMainFormCenter ? Application->MainForm() : ObjectAs<TCustomForm>(Owner());
        if (Centre && Centre != this && Centre->HandleAllocated())
          CentreIn(Centre->BoundsRect());
        else
          CentreIn(Rect(0, 0, Screen->Width(), Screen->Height()));
        break;
      }
      default: break;
    }
    ShowWindow(FHandle, ShowCommand());
  } else {
    DoHide();
    // A maximized MDI child is restored first: hidden maximized, the client would still
    // name it in the parent's caption, and restore it (which shows it) when the next
    // child is activated in its place.
    if (FFormState.Contains(fsCreatedMDIChild) && IsZoomed(FHandle)) ShowWindow(FHandle, SW_SHOWNOACTIVATE);
    ShowWindow(FHandle, SW_HIDE);
  }
}

void TCustomForm::CentreIn(const TRect& R) {
  int X = (R.left + R.right - FWidth) / 2;
  int Y = (R.top + R.bottom - FHeight) / 2;
  SetBounds(X, Y, FWidth, FHeight);
}

void TCustomForm::DoCreate() {
  if (OnCreate.Assigned()) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (!OnDestroy.Assigned()) return;
  try {
    OnDestroy(this);
  } catch (...) {
    HandleWindowException(this);
  }
}

void TCustomForm::DoShow() {
  if (OnShow.Assigned()) OnShow(this);
}

void TCustomForm::DoHide() {
  if (!OnHide.Assigned()) return;
  try {
    OnHide(this);
  } catch (...) {
    HandleWindowException(this);
  }
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose.Assigned()) OnClose(this, Action);
}

void TCustomForm::Activate() {
  if (OnActivate.Assigned()) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate.Assigned()) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint.Assigned()) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas, DC);
  Paint();
}

// ---------------------------------------------------------------------------------
// Activation and focus

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (!FActiveControl) {
    TWinControl* First = FindNextControl(nullptr, true, true, false);
    if (First) FActiveControl = First;
  }
  // An MDI child made active in a frame that is not the active window leaves the focus
  // where it is: taking it would activate the frame.
  if (FFormState.Contains(fsCreatedMDIChild) && GetActiveWindow() != GetAncestor(FHandle, GA_ROOT)) return;
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  HWND FocusHandle = FActiveControl ? FActiveControl->Handle() : Handle();
  if (FocusHandle && GetFocus() != FocusHandle) ::SetFocus(FocusHandle);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && !(Control != this && GetParentForm(Control) == this &&
                   (ComponentState().Contains(csLoading) || Control->CanFocus())))
    throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  if (!ComponentState().Contains(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!(FVisible && FEnabled)) throw EInvalidOperation(SCannotFocus);
  SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
  if (Control->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  ++FocusCount;
  FActiveControl = Control != this ? Control : nullptr;
  if (Screen) Screen->FormFocused(this, Control);
  if (Control->ControlState().Contains(csFocusing)) return false;
  TWinControl* ExitFailed = nullptr;
  bool Done = false;
  {
    // Control is marked as focusing meanwhile: a nested change to it stops here.
    struct TFocusing {
      TWinControl* Control;
      explicit TFocusing(TWinControl* C) : Control(C) {
        Control->SetControlState(Control->ControlState() + TControlState{csFocusing});
      }
      ~TFocusing() { Control->SetControlState(Control->ControlState() - TControlState{csFocusing}); }
    } Focusing(Control);
    [&] {
      if (Screen && Screen->FocusedForm() != this) {
        if (TCustomForm* Previous = Screen->FocusedForm()) {
          HWND PreviousHandle = Previous->HandleAllocated() ? Previous->Handle() : nullptr;
          Screen->FFocusedForm = nullptr;
          if (PreviousHandle && !SendFocusMessage(PreviousHandle, CM_DEACTIVATE)) return;
        }
        Screen->FFocusedForm = this;
        if (!SendFocusMessage(Handle(), CM_ACTIVATE)) return;
      }
      if (!FFocusedControl) FFocusedControl = this;
      if (FFocusedControl != Control) {
        // Out of the controls that do not contain the new one, innermost first.
        while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
          TWinControl* Leaving = FFocusedControl;
          FFocusedControl = Leaving->Parent();
          if (!Leaving->HandleAllocated()) continue;
          if (!SendFocusMessage(Leaving->Handle(), CM_EXIT)) {
            ExitFailed = Leaving;
            return;
          }
        }
        // Into the controls that contain it, outermost first.
        while (FFocusedControl != Control) {
          TWinControl* Entering = Control;
          while (Entering->Parent() != FFocusedControl) Entering = Entering->Parent();
          FFocusedControl = Entering;
          if (!SendFocusMessage(Entering->Handle(), CM_ENTER)) return;
        }
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
      }
      Done = true;
    }();
  }
  if (ExitFailed) {
    // The control that could not be left keeps the focus.
    FFocusedControl = ExitFailed;
    FActiveControl = ExitFailed != this ? ExitFailed : nullptr;
    if (ExitFailed->HandleAllocated()) ::SetFocus(ExitFailed->Handle());
  }
  return Done;
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActive && FActiveControl)
    FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool Handled = false;
  if (OnShortCut.Assigned()) OnShortCut(Message, Handled);
  return Handled;
}

// ---------------------------------------------------------------------------------
// Closing and the modal loop

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery.Assigned()) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = FFormStyle == fsMDIChild ? caMinimize : caHide;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application->MainForm() == this)
    Application->Terminate();
  else if (Action == caHide)
    Hide();
  else if (Action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageA(FHandle, CM_RELEASE, 0, 0);
}

void TCustomForm::CloseModal() {
  TCloseAction Action = caNone;
  if (CloseQuery()) {
    Action = caHide;
    DoClose(Action);
  }
  if (Action == caNone)
    FModalResult = mrNone;
  else if (Action == caFree)
    Release();
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation(SCannotShowModal);
  if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  HWND Window = Handle();
  HWND ActiveWindow = GetActiveWindow();
  FFormState.Include(fsModal);
  if (Screen) {
    Screen->FSaveFocusedList.insert(Screen->FSaveFocusedList.begin(), Screen->FFocusedForm);
    Screen->FFocusedForm = this;
  }
  TTaskWindowList Disabled = DisableTaskWindows(Window);
  // Undone however the loop ends.
  struct TRestore {
    TCustomForm* Form;
    TTaskWindowList& Disabled;
    HWND& ActiveWindow;
    ~TRestore() {
      EnableTaskWindows(Disabled);
      if (Screen && !Screen->FSaveFocusedList.empty()) {
        Screen->FFocusedForm = Screen->FSaveFocusedList.front();
        Screen->FSaveFocusedList.erase(Screen->FSaveFocusedList.begin());
      }
      if (ActiveWindow && IsWindow(ActiveWindow)) SetActiveWindow(ActiveWindow);
      Form->FFormState.Exclude(fsModal);
    }
  } Restore{this, Disabled, ActiveWindow};

  Show();
  struct THide {
    TCustomForm* Form;
    ~THide() {
      try {
        Form->Hide();
      } catch (...) {
        HandleWindowException(Form);
      }
    }
  } HideAfter{this};

  SendMessageA(Window, CM_ACTIVATE, 0, 0);
  FModalResult = mrNone;
  do {
    Application->HandleMessage();
    if (Application->Terminated())
      FModalResult = mrCancel;
    else if (FModalResult != mrNone)
      CloseModal();
  } while (FModalResult == mrNone);
  TModalResult Result = FModalResult;
  SendMessageA(Window, CM_DEACTIVATE, 0, 0);
  if (GetActiveWindow() != Window) ActiveWindow = nullptr;
  return Result;
}

// ---------------------------------------------------------------------------------
// Actions

namespace {
void AddAction(std::vector<TBasicAction*>& Actions, TBasicAction* Action) {
  if (Action && std::find(Actions.begin(), Actions.end(), Action) == Actions.end()) Actions.push_back(Action);
}

void AddFollowedActions(std::vector<TBasicAction*>& Actions, TWinControl* Container) {
  for (int I = 0; I < Container->ControlCount(); ++I) {
    TControl* Control = Container->Controls(I);
    if (!Control->Visible()) continue;
    AddAction(Actions, Control->Action());
    if (auto* Inner = ObjectAs<TWinControl>(Control)) AddFollowedActions(Actions, Inner);
  }
}
}  // namespace

void TCustomForm::UpdateActions() {
  if (!Showing()) return;
  std::vector<TBasicAction*> Actions;
  for (int I = 0; I < ComponentCount(); ++I)
    if (auto* List = ObjectAs<TCustomActionList>(Components(I)))
      for (int A = 0; A < List->ActionCount(); ++A) AddAction(Actions, List->Actions(A));
  AddFollowedActions(Actions, this);
  for (TBasicAction* Action : Actions) Action->Update();
}

// ---------------------------------------------------------------------------------
// Messages

namespace {
void GetNonControlChildren(TComponent* Self, TGetChildProc Proc, TComponent* Root) {
  if (Root != Self) return;
  for (int I = 0; I < Self->ComponentCount(); ++I) {
    TComponent* Owned = Self->Components(I);
    if (!Owned->HasParent()) Proc(Owned);
  }
}
}  // namespace

void TCustomForm::GetChildren(TGetChildProc Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  GetNonControlChildren(this, Proc, Root);
}

void TCustomForm::WMNCCalcSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FBorderWidth == 0) return;
  RECT* Client = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(Message.LParam);
  InflateRect(Client, -FBorderWidth, -FBorderWidth);
  if (Client->right < Client->left) Client->right = Client->left;
  if (Client->bottom < Client->top) Client->bottom = Client->top;
}

void TCustomForm::WMNCPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FBorderWidth == 0 || !HandleAllocated()) return;
  const TWindowDC WindowDC(FHandle);
  const HDC DC = WindowDC.DC();
  if (!DC) return;
  RECT Window, Client;
  GetWindowRect(FHandle, &Window);
  ::GetClientRect(FHandle, &Client);
  MapWindowPoints(FHandle, nullptr, reinterpret_cast<POINT*>(&Client), 2);
  OffsetRect(&Client, -Window.left, -Window.top);
  RECT Ring = Client;
  InflateRect(&Ring, FBorderWidth, FBorderWidth);
  ExcludeClipRect(DC, Client.left, Client.top, Client.right, Client.bottom);
  SetDCBrushColor(DC, static_cast<COLORREF>(ColorToRGB(Color())));
  FillRect(DC, &Ring, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE: Close(); break;
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_MDIACTIVATE: WMMDIActivate(Message); break;
    case WM_NCDESTROY:
      FClientHandle = nullptr;
      FFormState.Exclude(fsCreatedMDIChild);
      inherited::Dispatch(Message);
      break;
    case WM_SIZE: WMSize(Message); break;
    case WM_WINDOWPOSCHANGED:
      inherited::Dispatch(Message);
      MDIChildShownOrHidden(reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags);
      MDIChildPlaced(reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags);
      break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_PAINT:
      if (HandleAllocated() && IsIconic(FHandle)) {
        inherited::Dispatch(Message);
        break;
      }
      {
        TStateScope CustomPainting(FControlState, csCustomPaint);
        inherited::Dispatch(Message);
      }
      break;
    case CM_SHOWINGCHANGED: ShowingChanged(); break;
    case CM_ACTIVATE: Activate(); break;
    case CM_DEACTIVATE: Deactivate(); break;
    case CM_RELEASE: Free(); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE: CMActionDispatch(Message); break;
    case CM_ICONCHANGED:
      if (HandleAllocated())
        SendMessageA(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
      break;
    default: inherited::Dispatch(Message); break;
  }
}

namespace {

// Control (when there is one) handles the action of an action message.
bool HandlesAction(TControl* Control, UINT Msg, TBasicAction* Action) {
  if (!Control) return false;
  return Msg == CM_ACTIONEXECUTE ? Control->ExecuteAction(Action) : Control->UpdateAction(Action);
}

// The visible controls of a showing Container, and the controls inside them, in order.
bool ClientHandlesAction(TWinControl* Container, UINT Msg, TBasicAction* Action) {
  if (!Container->Showing()) return false;
  for (int I = 0; I < Container->ControlCount(); ++I) {
    TControl* Control = Container->Controls(I);
    if (Control->Visible() && HandlesAction(Control, Msg, Action)) return true;
    auto* Inner = ObjectAs<TWinControl>(Control);
    if (Inner && ClientHandlesAction(Inner, Msg, Action)) return true;
  }
  return false;
}

}  // namespace

void TCustomForm::CMActionDispatch(TMessage& Message) {
  auto* Action = reinterpret_cast<TBasicAction*>(Message.LParam);
  // Only a form on the screen brings an action up to date.
  if (Message.Msg == CM_ACTIONUPDATE && !Showing()) return;
  const UINT Msg = Message.Msg;
  if (HandlesAction(FActiveControl, Msg, Action) || HandlesAction(this, Msg, Action) ||
      ClientHandlesAction(this, Msg, Action))
    Message.Result = 1;
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  if (FHandle && FClientHandle) {
    Message.Result = DefFrameProcA(FHandle, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  if (FHandle && FFormState.Contains(fsCreatedMDIChild)) {
    Message.Result = DefMDIChildProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  inherited::DefaultHandler(Message);
}

void TCustomForm::WMActivate(TMessage& Message) {
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

// An MDI child's activation: lParam is the child being activated.
void TCustomForm::WMMDIActivate(TMessage& Message) {
  DefaultHandler(Message);
  if (FFormState.Contains(fsCreatedMDIChild)) SetActive(reinterpret_cast<HWND>(Message.LParam) == FHandle);
}

void TCustomForm::WMSize(TMessage& Message) {
  if (Showing()) {
    switch (Message.WParam) {
      case SIZE_MINIMIZED: FWindowState = wsMinimized; break;
      case SIZE_MAXIMIZED: FWindowState = wsMaximized; break;
      case SIZE_RESTORED: FWindowState = wsNormal; break;
    }
  }
  inherited::Dispatch(Message);
}

// Tab and Shift+Tab move through the tab order, arrows through the siblings of the
// active control; other keys go to the children (default and cancel buttons).
void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyStateProc(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyStateProc(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyStateProc(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(
              FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
    }
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TCustomFrame

TCustomFrame::TCustomFrame(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  FWidth = 320;
  FHeight = 240;
}

void TCustomFrame::AfterConstruction() {
  ReadFormFiles(this, Is<TFrame>() ? &TFrame::StaticClass() : &TCustomFrame::StaticClass());
  inherited::AfterConstruction();
  DoCreate();
}

void TCustomFrame::GetChildren(TGetChildProc Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  GetNonControlChildren(this, Proc, Root);
}

// ---------------------------------------------------------------------------------
// Published properties (from the Forms unit's start)

void RegisterFormsPublished() {
  RegisterClass(&TForm::StaticClass());
  RegisterClass(&TFrame::StaticClass());
  TPublish<TCustomForm> P;
  P.Prop("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
  P.Prop("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).Stored(false);
  P.Prop("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).Stored(false);
  P.Prop("ParentColor", &TCustomForm::ParentColor, &TCustomForm::SetParentColor).Default(false);
  P.Prop("ParentFont", &TCustomForm::ParentFont, &TCustomForm::SetParentFont).Default(false);
  P.Prop("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible).Default(false);
  P.Prop("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
  P.Prop("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  P.Prop("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
  P.Prop("BorderWidth", &TCustomForm::BorderWidth, &TCustomForm::SetBorderWidth);
  P.Prop("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle);
  P.Prop("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
  P.Prop("Position", &TCustomForm::Position, &TCustomForm::SetPosition);
  P.Prop("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState);
  P.Prop("OnActivate", &TCustomForm::OnActivate);
  P.Prop("OnClose", &TCustomForm::OnClose);
  P.Prop("OnCloseQuery", &TCustomForm::OnCloseQuery);
  P.Prop("OnCreate", &TCustomForm::OnCreate);
  P.Prop("OnDeactivate", &TCustomForm::OnDeactivate);
  P.Prop("OnDestroy", &TCustomForm::OnDestroy);
  P.Prop("OnHide", &TCustomForm::OnHide);
  P.Prop("OnPaint", &TCustomForm::OnPaint);
  P.Prop("OnShortCut", &TCustomForm::OnShortCut);
  P.Prop("OnShow", &TCustomForm::OnShow);
}

void UnregisterFormsPublished() {
  UnRegisterPublished(&TCustomForm::StaticClass());
  UnRegisterClass(&TFrame::StaticClass());
  UnRegisterClass(&TForm::StaticClass());
}
