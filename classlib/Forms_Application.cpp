// The application (message loop, key routing, exception handling) and the screen
// (forms, monitors, cursors); the Forms unit's start and end.
#include <algorithm>
#include <exception>
#include <new>

#include "classlib/FileUtils.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"

TCLASS_IMPL(TMonitor)
TCLASS_IMPL(TScreen)
TCLASS_IMPL(TApplication)

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

// ---------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  FIcon = NewObject<TIcon>();
  char Path[MAX_PATH] = "";
  GetModuleFileNameA(HInstance, Path, MAX_PATH);
  FTitle = ChangeFileExt(ExtractFileName(Path), "");
}

void TApplication::BeforeDestruction() {
  inherited::BeforeDestruction();  // the owned forms go first
  if (FHandle) {
    DeallocateHWnd(FHandle);
    FHandle = nullptr;
  }
  FreeAndNil(FIcon);
}

HWND TApplication::Handle() {
  if (!FHandle) {
    FHandle = AllocateHWnd(TWndMethod::Bind<&TApplication::WndProc>(this));
    SetWindowTextA(FHandle, FTitle.c_str());
  }
  return FHandle;
}

void TApplication::SetTitle(const AnsiString& Value) {
  FTitle = Value;
  if (FHandle) SetWindowTextA(FHandle, Value.c_str());
}

void TApplication::SetHint(const AnsiString& Value) {
  if (Value == FHint) return;
  FHint = Value;
  if (OnHint.Assigned()) OnHint(this);
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      FActive = Message.WParam != 0;
      if (FActive && OnActivate.Assigned()) OnActivate(this);
      if (!FActive && OnDeactivate.Assigned()) OnDeactivate(this);
      break;
    case WM_SYSCOMMAND:
      switch (Message.WParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return;
        case SC_RESTORE:
          Restore();
          return;
      }
      break;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE:
      Message.Result = DispatchAction(Message.Msg, Message.LParam) ? 1 : 0;
      return;
  }
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TApplication::DispatchAction(UINT Msg, LPARAM Action) {
  TCustomForm* Form = Screen ? Screen->ActiveCustomForm() : nullptr;
  if (Form && Form->Perform(Msg, 0, Action) == 1) return true;
  return FMainForm && FMainForm != Form && FMainForm->Perform(Msg, 0, Action) == 1;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  TWinControl* Control = FindControl(GetCapture());
  // The nearest control of this module among the window and its parents; windows of
  // other modules do not know the reflected messages.
  for (HWND Wnd = Msg.hwnd; Wnd && !Control;) {
    Control = FindControl(Wnd);
    if (!(GetWindowLongA(Wnd, GWL_STYLE) & WS_CHILD)) break;
    Wnd = GetParent(Wnd);
  }
  if (!Control || !Control->HandleAllocated()) return false;
  return SendMessageA(Control->Handle(), CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsMDIMsg(MSG& Msg) {
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
  if (!FMainForm || FMainForm->FormStyle() != fsMDIForm || !FMainForm->ClientHandle()) return false;
  return TranslateMDISysAccel(FMainForm->ClientHandle(), &Msg) != FALSE;
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool Handled = false;
  if (OnMessage.Assigned()) {
    try {
      OnMessage(Msg, Handled);
    } catch (...) {
      HandleException(this);
    }
  }
  if (!Handled && !IsMDIMsg(Msg) && !IsKeyMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG Msg;
  while (ProcessMessage(Msg)) {
    if (Msg.message == WM_QUIT) {
      // The quit belongs to the loop of the process: it goes back into the queue.
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
  }
}

void TApplication::HandleMessage() {
  MSG Msg;
  if (!ProcessMessage(Msg))
    Idle();
  else if (Msg.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(Msg.wParam));
}

namespace {
// The hint of Control, or of its nearest parent that has one.
AnsiString HintOf(TControl* Control) {
  while (Control && Control->Hint().empty()) Control = Control->Parent();
  return Control ? Control->Hint() : AnsiString();
}
}  // namespace

bool TApplication::DoIdle() {
  bool Done = true;
  try {
    POINT Mouse;
    GetCursorPos(&Mouse);
    SetHint(GetLongHint(HintOf(FindDragTarget(Mouse, true))));
    if (OnIdle.Assigned()) OnIdle(this, Done);
    if (Done && Screen) {
      for (int I = 0; I < Screen->CustomFormCount(); ++I) {
        TCustomForm* Form = Screen->CustomForms(I);
        if (Form->HandleAllocated() && IsWindowVisible(Form->Handle()) && IsWindowEnabled(Form->Handle()))
          Form->UpdateActions();
      }
    }
  } catch (...) {
    HandleException(this);
  }
  return Done;
}

void TApplication::Idle() {
  if (DoIdle()) WaitMessage();
}

void TApplication::Run() {
  while (!FTerminated) HandleMessage();
}

void TApplication::HandleException(TObject* Sender) {
  // Outside a catch block there is nothing to handle (a rethrow would end the process).
  if (!std::current_exception()) return;
  if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
  auto Report = [this, Sender](const Exception& E) {
    if (E.Is<EAbort>()) return;
    try {
      if (OnException.Assigned())
        OnException(Sender, E);
      else
        ShowException(E);
    } catch (...) {
      // The handler failed in turn: its own error is shown, and nothing leaves.
      try {
        ShowCurrentException();
      } catch (...) {
      }
    }
  };
  try {
    throw;
  } catch (const Exception& E) {
    Report(E);
  } catch (const std::bad_alloc&) {
    Report(EOutOfMemory(SOutOfMemory));
  } catch (const std::exception& E) {
    Report(Exception(E.what()));
  } catch (...) {
    Report(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& E) { ::ShowException(E); }

void TApplication::Minimize() {
  if (FMainForm) FMainForm->SetWindowState(wsMinimized);
  if (OnMinimize.Assigned()) OnMinimize(this);
}

void TApplication::Restore() {
  if (FMainForm) FMainForm->SetWindowState(wsNormal);
  if (OnRestore.Assigned()) OnRestore(this);
}

// ---------------------------------------------------------------------------------
// TMonitor

namespace {
MONITORINFO MonitorInfo(HMONITOR Monitor) {
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  GetMonitorInfoA(Monitor, &Info);
  return Info;
}
}  // namespace

TRect TMonitor::BoundsRect() const { return MonitorInfo(FHandle).rcMonitor; }
TRect TMonitor::WorkareaRect() const { return MonitorInfo(FHandle).rcWork; }
bool TMonitor::Primary() const { return (MonitorInfo(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }

int TMonitor::Width() const {
  TRect R = BoundsRect();
  return R.right - R.left;
}

int TMonitor::Height() const {
  TRect R = BoundsRect();
  return R.bottom - R.top;
}

// ---------------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() {
  for (TMonitor* Monitor : FMonitors) FreeObjectSafely(Monitor);
  for (auto& Entry : FCursors) DestroyCursor(Entry.second);
}

TCustomForm* TScreen::CustomForms(int Index) const {
  if (Index < 0 || Index >= CustomFormCount()) throw EListError(SListIndexError, {Index});
  return FCustomForms[Index];
}

TForm* TScreen::Forms(int Index) const {
  int Count = 0;
  for (TCustomForm* Form : FCustomForms) {
    auto* Plain = ObjectAs<TForm>(Form);
    if (!Plain) continue;
    if (Count++ == Index) return Plain;
  }
  throw EListError(SListIndexError, {Index});
}

int TScreen::FormCount() const {
  return static_cast<int>(std::count_if(FCustomForms.begin(), FCustomForms.end(),
                                        [](TCustomForm* F) { return F->Is<TForm>(); }));
}

TForm* TScreen::ActiveForm() const { return ObjectAs<TForm>(FActiveCustomForm); }

void TScreen::AddForm(TCustomForm* Form) { FCustomForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  FCustomForms.erase(std::remove(FCustomForms.begin(), FCustomForms.end(), Form), FCustomForms.end());
  std::replace(FSaveFocusedList.begin(), FSaveFocusedList.end(), Form, static_cast<TCustomForm*>(nullptr));
  if (FActiveCustomForm == Form) {
    FActiveCustomForm = nullptr;
    FActiveControl = nullptr;
  }
  if (FFocusedForm == Form) FFocusedForm = nullptr;
}

void TScreen::FormFocused(TCustomForm* Form, TWinControl* Control) {
  bool FormChanged = FActiveCustomForm != Form;
  bool ControlChanged = FActiveControl != Control;
  FActiveControl = Control;
  FActiveCustomForm = Form;
  auto It = std::find(FCustomForms.begin(), FCustomForms.end(), Form);
  if (It != FCustomForms.end()) {
    FCustomForms.erase(It);
    FCustomForms.insert(FCustomForms.begin(), Form);
  }
  if (ControlChanged && OnActiveControlChange.Assigned()) OnActiveControlChange(this);
  if (FormChanged && OnActiveFormChange.Assigned()) OnActiveFormChange(this);
}

TRect TScreen::DesktopRect() const {
  int X = GetSystemMetrics(SM_XVIRTUALSCREEN), Y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Bounds(X, Y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
  RECT R{0, 0, Width(), Height()};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &R, 0);
  return R;
}

namespace {
// A callback of the system: nothing may leave it.
BOOL CALLBACK AddMonitorProc(HMONITOR Monitor, HDC, LPRECT, LPARAM Data) {
  auto* List = reinterpret_cast<std::vector<TMonitor*>*>(Data);
  try {
    List->reserve(List->size() + 1);
    List->push_back(NewObject<TMonitor>(Monitor, static_cast<int>(List->size())));
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}
}  // namespace

int TScreen::MonitorCount() {
  if (static_cast<int>(FMonitors.size()) != GetSystemMetrics(SM_CMONITORS)) {
    for (TMonitor* Monitor : FMonitors) Monitor->Free();
    FMonitors.clear();
    EnumDisplayMonitors(nullptr, nullptr, AddMonitorProc, reinterpret_cast<LPARAM>(&FMonitors));
  }
  return static_cast<int>(FMonitors.size());
}

TMonitor* TScreen::Monitors(int Index) {
  if (Index < 0 || Index >= MonitorCount()) throw EListError(SListIndexError, {Index});
  return FMonitors[Index];
}

TMonitor* TScreen::PrimaryMonitor() {
  for (int I = 0; I < MonitorCount(); ++I)
    if (FMonitors[I]->Primary()) return FMonitors[I];
  return MonitorCount() > 0 ? FMonitors[0] : nullptr;
}

TMonitor* TScreen::FindMonitor(HMONITOR Handle) {
  if (!Handle) return nullptr;
  for (int Pass = 0; Pass < 2; ++Pass) {
    for (int I = 0; I < MonitorCount(); ++I)
      if (FMonitors[I]->Handle() == Handle) return FMonitors[I];
    // The set of monitors changed without a change of their number.
    for (TMonitor* Monitor : FMonitors) Monitor->Free();
    FMonitors.clear();
  }
  return nullptr;
}

namespace {
DWORD MonitorFlags(TMonitorDefaultTo Default) {
  switch (Default) {
    case mdNull: return MONITOR_DEFAULTTONULL;
    case mdPrimary: return MONITOR_DEFAULTTOPRIMARY;
    default: return MONITOR_DEFAULTTONEAREST;
  }
}
}  // namespace

TMonitor* TScreen::MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromPoint(Point, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromRect(&Rect, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromWindow(HWND Window, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromWindow(Window, MonitorFlags(Default)));
}

namespace {
// The system cursors behind the built-in ids. The drag and split cursors have no
// system counterpart; the nearest system cursor stands in for them.
LPCSTR SystemCursorId(TCursor Index) {
  switch (Index) {
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait: return IDC_WAIT;
    case crNoDrop:
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return IDC_ARROW;
  }
}
}  // namespace

HCURSOR TScreen::Cursors(TCursor Index) {
  auto It = FCursors.find(Index);
  if (It != FCursors.end()) return It->second;
  if (Index == crNone) return nullptr;
  return LoadCursorA(nullptr, SystemCursorId(Index));
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  auto It = FCursors.find(Index);
  if (It != FCursors.end()) {
    if (It->second == Handle) return;
    DestroyCursor(It->second);
    FCursors.erase(It);
  }
  if (Handle) FCursors[Index] = Handle;
}

void TScreen::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  if (Value == crDefault) {
    // The window under the mouse chooses again.
    POINT P;
    GetCursorPos(&P);
    HWND Wnd = WindowFromPoint(P);
    if (Wnd && GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId()) {
      LRESULT Code = SendMessageA(Wnd, WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y));
      SendMessageA(Wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(Wnd), MAKELPARAM(Code, WM_MOUSEMOVE));
      return;
    }
  }
  ::SetCursor(Cursors(Value));
}

// ---------------------------------------------------------------------------------

namespace {
void HandleWithApplication(TObject* Sender) {
  if (Application)
    Application->HandleException(Sender);
  else
    ShowCurrentException();
}
}  // namespace

void RegisterFormsPublished();
void UnregisterFormsPublished();

void InitForms() {
  RegisterFormsPublished();
  Screen = NewObject<TScreen>(nullptr);
  Application = NewObject<TApplication>(nullptr);
  ApplicationHandleException = HandleWithApplication;
}

void DoneForms() {
  ApplicationHandleException = nullptr;
  FreeAndNil(Application);  // with the forms it owns
  // Forms that nobody freed go before the module does: their windows call into it.
  if (Screen) {
    while (Screen->CustomFormCount() > 0) Screen->CustomForms(0)->Free();
  }
  FreeAndNil(Screen);
  UnregisterFormsPublished();
}
