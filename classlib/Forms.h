// Forms, frames, the application and the screen.
//
// A form is a top-level window owned by the application's hidden window (or by the
// window its CreateParams names). ShowModal runs a nested message loop until
// ModalResult is set, with the thread's other top-level windows disabled. The
// application runs the message loop (ProcessMessages, HandleMessage), routes key
// messages to the focused control before translation (dialog keys, mnemonics), and
// receives every exception that window-side code catches (HandleException).
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
TENUM_INFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
           "bsSizeToolWin")
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
TENUM_INFO(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
TENUM_INFO(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
// poDesigned (0) keeps the form where its bounds say.
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
TENUM_INFO(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
           "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
TENUM_INFO(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
// Msg is the key message (WParam the key, LParam the key data).
using TShortCutEvent = TEvent<void(TMessage& Msg, bool& Handled)>;

inline constexpr const char* SCannotShowModal = "Cannot make a visible window modal";
inline constexpr const char* SNoMDIParent = "Cannot create MDI child form '%s': the main form is not an MDI parent form";
inline constexpr const char* SVisibleChanged = "Cannot change Visible in OnShow or OnHide";

// Makes a form without reading its form files: NewObject<TMyForm>(Owner, CreateNew).
enum TCreateNew { CreateNew };

// Forms and frames made from form files. A form class whose module holds a form
// resource named after it (or after an ancestor below TForm) reads those resources
// when it is made: in AfterConstruction, the base class's file first, so that the
// C++ constructors of the classes have run and their published fields are bound as
// the components are read. A failed read frees what the form made and raises
// EFormFileError from NewObject.
//
// The component fields of a form or frame class (edtName, btnNext, ...) are therefore
// still null in the body of its constructor. Set-up that needs them goes in DoCreate,
// which runs once the files are read: for a form after Loaded, then OnCreate; for a
// frame made while a form file is read, before the form's values for the frame are
// set, and Loaded follows after the whole form is read.
class TCustomForm : public TWinControl {
  TCLASS_DECL(TCustomForm, TWinControl)
 public:
  // Hidden, 320 x 240, button-face colour; then the form files of the class, if any.
  explicit TCustomForm(TComponent* AOwner);
  // Without reading form files.
  TCustomForm(TComponent* AOwner, TCreateNew);
  ~TCustomForm() override;
  // Reads the form files (unless made with CreateNew), then runs DoCreate.
  void AfterConstruction() override;
  // Hides the form, runs OnDestroy while the children still exist, leaves Screen.
  void BeforeDestruction() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  // A ring of this many pixels between the window's frame and its client area, painted
  // in the form's colour.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // fsMDIForm: the form's window comes with an MDI client window (ClientHandle) that
  // fills what the aligned controls leave of its client area. fsMDIChild: the form's
  // window is made in the main form's MDI client (which must be an MDI parent form).
  // A change between MDI and other styles makes the window again.
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  // An MDI child is maximized, minimized and restored inside its MDI client.
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TIcon* Icon() const { return FIcon; }
  void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
  // Key messages go to the form's key events before the focused control's.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TCanvas* Canvas() const { return FCanvas; }
  TFormState FormState() const { return FFormState; }
  // For descendants that take over a step of showing (fsShowing).
  void SetFormStateFlag(TFormStateItem Flag, bool On);

  // The control that has (or gets, when the form is activated) the focus.
  TWinControl* ActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a
  // control of another form or one that cannot take the focus.
  void SetActiveControl(TWinControl* Control);
  bool Active() const { return FActive; }
  // Focus bookkeeping when Control's window gets the focus: CM_EXIT to the controls
  // left, CM_ENTER to the controls entered, CM_FOCUSCHANGED to the form's controls.
  // False when a handler moved the focus elsewhere or raised; a raise in CM_EXIT
  // (OnExit) puts the focus back on the control that was being left.
  virtual bool SetFocusedControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  void SetFocus() override;
  // Tells the active control to end its modes (CM_CANCELMODE).
  void SendCancelMode(TControl* Sender);
  // A key message the form may take as a shortcut (OnShortCut).
  virtual bool IsShortCut(TMessage& Message);
  // While the form is showing: Update of every action of the action lists the form
  // owns and of every action a visible control of the form follows, each action once.
  void UpdateActions();

  // An MDI parent form's MDI client window (0 otherwise, and before the form's window
  // exists).
  HWND ClientHandle() const { return FClientHandle; }
  // The MDI child forms whose windows are in this form's MDI client, from the top of
  // the client's z-order (the active child first).
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int Index) const;
  // The client's active child while its window is visible (a hidden child keeps the
  // client's activation only when no visible child is left to take it).
  TCustomForm* ActiveMDIChild() const;
  // An MDI child form's parent form: the form whose MDI client holds its window.
  TCustomForm* MDIParent() const;
  // Whether the form's window can be made now: always, but for an MDI child only while
  // the main form (another form) is an MDI parent.
  bool CanCreateWindow() const;
  // Whether the main form (another form) is an MDI parent, which can hold this form's
  // window as a child's.
  bool HasMDIParent() const;

  // Visible and to the front: the window too, when it was hidden behind the form's back.
  void Show();
  // Shows the form and runs a message loop until ModalResult is set (a button with a
  // ModalResult, the close box, or code). The thread's other top-level windows
  // (visible and enabled ones, and the form's owner) are disabled meanwhile and
  // enabled again after; the previously active window is activated again.
  virtual TModalResult ShowModal();
  // Modal: ModalResult := mrCancel. Otherwise CloseQuery, OnClose, then the close
  // action (hide by default).
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now queued are handled.
  void Release();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  // The child controls it owns, then (for itself as root) the owned components that
  // are not controls.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void Dispatch(TMessage& Message) override;
  // An MDI parent form's unhandled messages go to the system's frame procedure, an MDI
  // child's to the system's MDI child procedure.
  void DefaultHandler(TMessage& Message) override;

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnHide;
  TNotifyEvent OnShow;
  TNotifyEvent OnPaint;
  TShortCutEvent OnShortCut;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  // An MDI parent's children go with its window (their windows are in its client).
  void DestroyWnd() override;
  // An MDI child's window is destroyed by its MDI client.
  void DestroyWindowHandle() override;
  TRect GetClientRect() override;
  // The MDI client takes the rectangle that the aligned controls leave.
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void PaintWindow(HDC DC) override;
  virtual void Paint();
  // The set-up step after the form files are read; runs OnCreate. An override that
  // sets up the form's components calls the inherited one where OnCreate should run.
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  // The step that CM_SHOWINGCHANGED runs: OnShow, placement by Position, and the
  // window shown with the command of its state; or OnHide and the window hidden.
  virtual void ShowingChanged();
  // SW_SHOWNORMAL, SW_SHOWMINNOACTIVE or SW_SHOWMAXIMIZED for the window state.
  int ShowCommand() const;
  // Moves the form to the middle of R, keeping its size.
  void CentreIn(const TRect& R);

 private:
  friend class TScreen;
  void ComputeWindowStyles(DWORD& Style, DWORD& ExStyle) const;
  void IconChanged(TObject* Sender);
  void SetActive(bool Value);
  void SetWindowFocus();
  void CloseModal();
  void CreateMDIClient();
  // The main form's MDI client, for the window of an MDI child; raises when there is none.
  HWND MDIChildParentWindow();
  // After the window of an MDI parent is made again: its visible children come back,
  // and the child that was active before is active again.
  void ShowMDIChildren();
  // An MDI child's window has been hidden or shown (Flags of its new position): a hidden
  // active child hands the activation to the next shown child; a child shown where no
  // shown child is active takes it.
  void MDIChildShownOrHidden(UINT Flags);
  // An MDI child's window moved, sized, shown or hidden (Flags of its new position): its
  // client is asked for its scroll range again. The system asks only after a change of
  // size, and not again until the client has passed its last request on to it (a
  // client that sizes its scroll bars itself never does).
  void MDIChildPlaced(UINT Flags);
  void CMDialogKey(TMessage& Message);
  void WMMDIActivate(TMessage& Message);
  // CM_ACTIONEXECUTE, CM_ACTIONUPDATE: the action (LParam) looks for its target among
  // the active control, the form itself and its visible controls; Result 1 when found.
  void CMActionDispatch(TMessage& Message);
  void WMActivate(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = {biSystemMenu, biMinimize, biMaximize};
  int FBorderWidth = 0;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TIcon* FIcon;
  bool FKeyPreview = false;
  TControlCanvas* FCanvas;
  TFormState FFormState;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
  bool FCreateNew = false;
  HWND FClientHandle = nullptr;
  // An MDI parent's active child while its window is made again.
  TCustomForm* FActiveChildOfOldWindow = nullptr;
};

class TForm : public TCustomForm {
  TCLASS_DECL(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  TForm(TComponent* AOwner, TCreateNew) : TCustomForm(AOwner, CreateNew) {}
};

// A reusable group of controls placed on a form (or another frame) as one child. A
// frame class reads its form resources (and its ancestors' below TFrame) when it is
// made, as a form does; a frame made while a form file is read is loaded with that
// form.
class TCustomFrame : public TWinControl {
  TCLASS_DECL(TCustomFrame, TWinControl)
 public:
  explicit TCustomFrame(TComponent* AOwner);
  // Reads the form files of the class, then runs DoCreate.
  void AfterConstruction() override;
  // As a form's: the owned child controls, then the owned components that are not
  // controls.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  // The set-up step after the frame's own files are read, where its component fields
  // are set (see the note above TCustomForm). Does nothing here.
  virtual void DoCreate() {}
};

class TFrame : public TCustomFrame {
  TCLASS_DECL(TFrame, TCustomFrame)
 public:
  explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
};

// The form a control is on (the root of its parents when that is a form), or nullptr.
TCustomForm* GetParentForm(TControl* Control);
// As GetParentForm; raises EInvalidOperation "Control '%s' has no parent window" when
// there is none.
TCustomForm* ValidParentForm(TControl* Control);

// The windows a modal loop disables: the thread's visible and enabled top-level
// windows but Except, and Except's owner when it is enabled.
using TTaskWindowList = std::vector<HWND>;
TTaskWindowList DisableTaskWindows(HWND Except);
void EnableTaskWindows(const TTaskWindowList& List);

// ---------------------------------------------------------------------------------

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

class TMonitor : public TObject {
  TCLASS_DECL(TMonitor, TObject)
 public:
  TMonitor(HMONITOR AHandle, int AMonitorNum) : FHandle(AHandle), FMonitorNum(AMonitorNum) {}

  HMONITOR Handle() const { return FHandle; }
  int MonitorNum() const { return FMonitorNum; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  bool Primary() const;
  int Left() const { return BoundsRect().left; }
  int Top() const { return BoundsRect().top; }
  int Width() const;
  int Height() const;

 private:
  HMONITOR FHandle;
  int FMonitorNum;
};

// The screen: the module's forms, the monitors, and the cursors.
class TScreen : public TComponent {
  TCLASS_DECL(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int CustomFormCount() const { return static_cast<int>(FCustomForms.size()); }
  // Most recently focused first.
  TCustomForm* CustomForms(int Index) const;
  int FormCount() const;
  TForm* Forms(int Index) const;
  TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
  TForm* ActiveForm() const;
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int PixelsPerInch() const { return ScreenLogPixels(); }
  // All monitors together, and the primary monitor's work area.
  TRect DesktopRect() const;
  TRect WorkAreaRect() const;
  int MonitorCount();
  TMonitor* Monitors(int Index);
  TMonitor* PrimaryMonitor();
  TMonitor* MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromWindow(HWND Window, TMonitorDefaultTo Default = mdNearest);

  // The cursor of an id: the system's for the built-in ids, the ones set here for
  // others, the arrow for unknown ids. Setting a cursor takes it over.
  HCURSOR Cursors(TCursor Index);
  void SetCursors(TCursor Index, HCURSOR Handle);
  // A cursor for the whole application (crDefault: each control's own).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void FormFocused(TCustomForm* Form, TWinControl* Control);
  TMonitor* FindMonitor(HMONITOR Handle);

  std::vector<TCustomForm*> FCustomForms;
  std::vector<TCustomForm*> FSaveFocusedList;
  TCustomForm* FActiveCustomForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  std::vector<TMonitor*> FMonitors;
  std::map<TCursor, HCURSOR> FCursors;
  TCursor FCursor = crDefault;
};

// ---------------------------------------------------------------------------------

using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;

class TApplication : public TComponent {
  TCLASS_DECL(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  // Frees the forms it owns and its window.
  void BeforeDestruction() override;

  // The hidden top-level window that owns the forms; made on first request and never
  // shown.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value);
  TIcon* Icon() const { return FIcon; }
  TCustomForm* MainForm() const { return FMainForm; }
  // The form whose closing ends the application (none in a module).
  void SetMainForm(TCustomForm* Value) { FMainForm = Value; }
  bool Active() const { return FActive; }

  // Handles every message now queued, then returns.
  void ProcessMessages();
  // Handles one message, or runs the idle processing and waits for the next one.
  void HandleMessage();
  // The idle processing, which never waits: Hint takes the long hint of the control
  // under the mouse (or of its nearest parent with a hint), OnIdle runs, and unless it
  // cleared Done every showing, enabled form updates its actions. Answers Done: whether
  // the caller may wait for the next message.
  bool DoIdle();
  // HandleMessage until Terminated.
  void Run();
  // Ends Run and every modal loop (they answer mrCancel). A module never posts
  // WM_QUIT: the loop of the process belongs to the host.
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

  // Inside a catch block: the exception goes to OnException when it is set, and is
  // shown through ShowException otherwise; EAbort is dropped silently. Outside a catch
  // block it does nothing.
  void HandleException(TObject* Sender);
  // The default display: ShowExceptionProc (a message box unless a test replaced it).
  void ShowException(const Exception& E);

  void Minimize();
  void Restore();

  const AnsiString& Hint() const { return FHint; }
  // OnHint is told of a change.
  void SetHint(const AnsiString& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnHint;

 private:
  void WndProc(TMessage& Message);
  // CM_ACTIONEXECUTE, CM_ACTIONUPDATE from an action: the active form, then the main
  // form, looks for the action's target; true when one was found.
  bool DispatchAction(UINT Msg, LPARAM Action);
  bool ProcessMessage(MSG& Msg);
  void Idle();
  // Key messages go to the nearest control of this module as CN_BASE + the message;
  // true when it consumed the key.
  bool IsKeyMsg(MSG& Msg);
  // Ctrl+F4, Ctrl+F6 and the other MDI keys of the main form's MDI client (when the
  // main form is an MDI parent); true when the client took the key.
  bool IsMDIMsg(MSG& Msg);

  HWND FHandle = nullptr;
  AnsiString FTitle;
  TIcon* FIcon;
  TCustomForm* FMainForm = nullptr;
  bool FActive = false;
  bool FTerminated = false;
  AnsiString FHint;
  bool FShowHint = true;
};

extern TApplication* Application;
extern TScreen* Screen;

// The Forms unit's start and end (registered in the module's unit table): makes and
// frees Application and Screen (no windows until they are needed).
void InitForms();
void DoneForms();
