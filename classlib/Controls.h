// Controls over real windows: the control base (TControl), the windowed control
// (TWinControl) that owns a window made from CreateParams, the graphic control that
// its parent paints, and the custom control that paints itself.
//
// Messages. Every window of a windowed control goes through one window procedure,
// which finds the control through a window property unique to the module
// (FindControl) and hands each message to WindowProc (by default WndProc). WndProc
// does the work common to all messages (mouse routing to graphic children, capture,
// focus bookkeeping) and calls Dispatch, which sends the message by id to the handler
// of the most derived class that has one, and otherwise to DefaultHandler (the
// window's original procedure). The window procedure catches every exception and
// hands it to Application->HandleException: the compiler's unwinder cannot cross the
// system's frames.
//
// Reflection: WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_*SCROLL and the
// control-colour messages that a parent receives go to the child they are about as
// CN_BASE + the message. Key messages reach the focused control from the message loop
// as CN_KEYDOWN, CN_CHAR, ... before they are translated, which is where dialog keys
// (Tab, Enter, Escape, arrows) and mnemonics are turned into CM_DIALOGKEY and
// CM_DIALOGCHAR for the parent form.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/Messages.h"
#include "classlib/TypInfo.h"
#include "classlib/Types.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TDragObject;
class TDragImageList;

// ---------------------------------------------------------------------------------
// Types of the control properties.

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
TENUM_INFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
TENUM_INFO(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
using TAnchors = TSet<TAnchorKind>;
inline constexpr TAnchors AnchorsDefault = {akLeft, akTop};
inline constexpr TAnchors AnchorsAll = {akLeft, akTop, akRight, akBottom};
// The anchors each alignment implies.
constexpr TAnchors AnchorAlign(TAlign Align) {
  switch (Align) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return AnchorsAll;
    default: return AnchorsDefault;
  }
}

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
TENUM_INFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
TENUM_INFO(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
           "bdRightToLeftReadingOnly")
enum TDragMode { dmManual, dmAutomatic };
TENUM_INFO(TDragMode, "dmManual", "dmAutomatic")
// The scroll bars a control shows.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
TENUM_INFO(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
// A scroll bar's axis, the step a scroll request names (the values of WM_HSCROLL and
// WM_VSCROLL), and the size of a scroll bar's line and page steps.
enum TScrollBarKind { sbHorizontal, sbVertical };
TENUM_INFO(TScrollBarKind, "sbHorizontal", "sbVertical")
enum TScrollCode {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
TENUM_INFO(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack",
           "scTop", "scBottom", "scEndScroll")
using TScrollBarInc = std::int16_t;

// Drag and drop: what CM_DRAG asks of a target (wParam; lParam points to a TDragRec),
// and where the mouse is against a target the drag is over.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
struct TDragRec {
  TPoint Pos;  // screen
  TDragObject* Source;
  TControl* Target;
};
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int X, int Y)>;

// How a control behaves (set by its class).
enum TControlStyleItem {
  csAcceptsControls,    // may parent other controls (its window clips its children)
  csCaptureMouse,       // captures the mouse while a button is down
  csDesignInteractive,
  csClickEvents,        // a press and release over it is a Click
  csFramed,
  csSetCaption,         // the caption follows the name until it is set
  csOpaque,             // paints its whole area (the parent need not erase under it)
  csDoubleClicks,       // receives double clicks as such (otherwise as presses)
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,        // no mouse and key events
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;

// What a control is doing right now.
enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem>;

// Cursor ids: the built-in ones are negative; applications add positive ids to
// Screen->Cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = -22;
// The names of the built-in cursors (crDefault ... crSizeAll), for form files.
bool CursorToIdent(int Cursor, AnsiString& Ident);
bool IdentToCursor(const AnsiString& Ident, int& Cursor);

// The result of a modal form, and what a button gives its form when clicked.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = mrNo + 1;
inline constexpr TModalResult mrNoToAll = mrAll + 1;
inline constexpr TModalResult mrYesToAll = mrNoToAll + 1;

inline constexpr const char* SParentRequired = "Control '%s' has no parent window";
inline constexpr const char* SControlParentSetToSelf = "A control cannot have itself as its parent";
inline constexpr const char* SControlParentSetToChild = "A control cannot have a control inside it as its parent";
inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";

// ---------------------------------------------------------------------------------
// Seams and helpers of input.

// The key state as GetKeyState reports it; tests replace it to hold Shift or Ctrl
// without real input.
using TGetKeyStateProc = SHORT (*)(int VirtKey);
extern TGetKeyStateProc GetKeyStateProc;
// The system beep (MessageBeep) that sounds when input is refused; tests replace it to
// hear the beep without a sound.
using TMessageBeepProc = BOOL (*)(UINT Type);
extern TMessageBeepProc MessageBeepProc;
// Shift and Ctrl from the key state, Alt from bit 29 of a key message's data.
TShiftState KeyDataToShiftState(LPARAM KeyData);
// The MK_* flags of a mouse message, Alt from the key state.
TShiftState KeysToShiftState(WPARAM Keys);
// The character after the single "&" of a caption ("&&" is a plain "&"), or '\0'.
char GetHotkey(const AnsiString& Caption);
// True when Key (any case) is the caption's accelerator.
bool IsAccel(WPARAM Key, const AnsiString& Caption);

// ---------------------------------------------------------------------------------

// Smallest and largest sizes a control accepts (0: no limit).
class TSizeConstraints : public TPersistent {
  TCLASS_DECL(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* AControl) : FControl(AControl) {}
  void Assign(TPersistent* Source) override;

  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMinWidth(int Value);
  void SetMinHeight(int Value);
  void SetMaxWidth(int Value);
  void SetMaxHeight(int Value);

  TNotifyEvent OnChange;

 private:
  void Change();

  TControl* FControl;
  int FMinWidth = 0;
  int FMinHeight = 0;
  int FMaxWidth = 0;
  int FMaxHeight = 0;
};

// A canvas on a control's device context, made on first use outside painting and
// released after the message being handled.
class TControlCanvas : public TCanvas {
  TCLASS_DECL(TControlCanvas, TCanvas)
 public:
  explicit TControlCanvas(TControl* AControl) : FControl(AControl) {}
  ~TControlCanvas() override;

  TControl* Control() const { return FControl; }
  // Lets go of a DC this canvas obtained itself.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// Lends a paint DC to a control's canvas for the length of a scope; the canvas lets
// go of it at the end, also when painting raised.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TControlCanvas* ACanvas, HDC DC) : FCanvas(ACanvas) {
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
  }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;
  ~TCanvasPaintScope() { FCanvas->SetHandle(nullptr); }

 private:
  TControlCanvas* FCanvas;
};

// ---------------------------------------------------------------------------------

// A request for a control's menu (WM_CONTEXTMENU): MousePos is in the control's client
// coordinates, (-1, -1) when it came from the keyboard. A handler that sets Handled
// keeps the control's menu closed and the request from going on to the parent.
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
  TCLASS_DECL(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  // Leaves the parent and releases the mouse (capture, mouse-over).
  void BeforeDestruction() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  // Reads with csReadingState set, so that the control is not shown meanwhile.
  void ReadState(TReader* Reader) override;

  // Position and size in the parent's client area (a form's: on the screen).
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }

  TRect ClientRect() { return GetClientRect(); }
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  // The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& P);
  TPoint ScreenToClient(const TPoint& P);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints; }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible on the screen: visible itself and in every parent up to a showing window.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  // Caption and Text are one string; setting it notifies (CM_TEXTCHANGED) only when
  // it changes.
  AnsiString Text() const { return GetText(); }
  void SetText(const AnsiString& Value);
  AnsiString Caption() const { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }

  // The text shown for the control: a short hint, "|", a long hint, or one text for
  // both (GetLongHint).
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  // The action the control follows, or nullptr; a control class that links to
  // actions answers it (the idle processing keeps those actions up to date).
  virtual TBasicAction* Action() const { return nullptr; }

  // The colour; ParentColor follows the parent's until a colour is set.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  // The font; ParentFont follows the parent's until the font changes.
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  bool UseRightToLeftScrollBar() const { return FBiDiMode == bdRightToLeft; }
  // DrawText flags with the reading order (and, for the full form, the alignment)
  // turned for right-to-left.
  int DrawTextBiDiModeFlags(int Flags) const;
  int DrawTextBiDiModeFlagsReadingOnly() const;

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  // The menu a right click or the menu key opens over the control (WM_CONTEXTMENU);
  // without one the request goes on to the parent.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }

  bool MouseCapture();
  void SetMouseCapture(bool Value);

  // Starts dragging the control: at once, or (not Immediate) once the mouse has moved
  // Threshold pixels (-1: the system's drag distance). The drag runs its own loop with
  // the mouse captured, sends CM_DRAG to the control under the cursor, drops on the
  // button's release, and cancels on Escape or a lost capture. Returns when it ends.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Ends this control's drag from inside it (a target may take the control itself):
  // with Drop the target under the cursor gets the drop.
  void EndDrag(bool Drop);
  bool Dragging() const;
  // The picture the drag shows under the mouse while this control is dragged; none by
  // default.
  virtual TDragImageList* GetDragImages() { return nullptr; }

  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  // Where Perform and the window procedure deliver messages; WndProc by default.
  // Replacing it subclasses the control at the object level.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  virtual void Invalidate();
  virtual void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

 protected:
  virtual AnsiString GetText() const { return FText; }
  virtual TRect GetClientRect();
  virtual void SetClientSize(int AWidth, int AHeight);
  // Moves the control in its parent's z-order.
  virtual void SetZOrder(bool TopMost);
  // Clamps a new size to the constraints; false refuses the change.
  virtual bool CheckNewSize(int& NewWidth, int& NewHeight);
  // Stores bounds the window already has (no move).
  void UpdateBoundsRect(const TRect& R);
  // Remembers the distances that the anchors keep when the parent resizes.
  void UpdateAnchorRules();
  // Asks the parent to lay out its children again.
  void RequestAlign();
  // Resizes the control to its content when AutoSize is on: to the size CanAutoSize
  // proposes, when it proposes one.
  virtual void AdjustSize();
  // The size the content asks for; false (the default) leaves the size alone.
  virtual bool CanAutoSize(int& /*NewWidth*/, int& /*NewHeight*/) { return false; }
  virtual void Resize();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // The drag's steps: the dragged control's start (OnStartDrag may give the drag
  // object) and end (OnEndDrag with the target, nil when nothing took the drop); a
  // target's answer whether it takes the source here (OnDragOver; without a handler
  // it refuses) and its drop (OnDragDrop). X and Y are the target's client coordinates.
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  // Runs OnContextPopup (see TContextPopupEvent).
  virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
  // Invalidates the part of the parent under the control.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  // The first step of a move to AParent, before the control leaves anything: a parent
  // that is the control or inside it is refused, and a control that follows its
  // parent's font takes AParent's (one that refuses it raises, its font undone).
  void PrepareParent(const TWinControl* AParent);
  // Tells every form above this control to end modes (menus, drags) of other controls.
  void SendCancelMode(TControl* Sender);
  void ChangeName(const AnsiString& NewName) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  AnsiString FText;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  bool FParentFont = true;
  TControlState FControlState;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;

 private:
  friend class TWinControl;
  void FontChanged(TObject* Sender);
  // Whether a move to AParent changes the font: the control follows its parent's, and
  // AParent's is another.
  bool TakesFontOf(const TWinControl* AParent) const;
  void ConstraintsChanged(TObject* Sender);
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void CMDrag(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMParentBiDiModeChanged(TMessage& Message);

  TWinControl* FParent = nullptr;
  TAlign FAlign = alNone;
  TAnchors FAnchors = AnchorsDefault;
  // What the anchors keep: per axis the original width (both sides anchored), the
  // original left or top (far side only) or the original centre (neither side).
  TPoint FAnchorRules{0, 0};
  TPoint FOriginalParentSize{0, 0};
  bool FAnchorMove = false;
  TSizeConstraints* FConstraints;
  bool FAutoSize = false;
  AnsiString FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  int FHelpContext = 0;
  TFont* FFont;
  bool FFontChanging = false;
  TCursor FCursor = crDefault;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TControlStyle FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
  TPopupMenu* FPopupMenu = nullptr;
};

// ---------------------------------------------------------------------------------

// What CreateParams prepares for CreateWnd.
struct TCreateParams {
  AnsiString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  // The class the window is made of; lpfnWndProc is the procedure that unhandled
  // messages go to (DefWindowProc, or a system class's own for a subclassed one).
  WNDCLASSA WindowClass{};
  // The name the class is registered under in this module: by default the control's
  // class name, so each control class has its own window class.
  AnsiString WinClassName;
};

// A control with a window of its own.
class TWinControl : public TControl {
  TCLASS_DECL(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  // Gives up the focus, destroys the window and frees the child controls.
  void BeforeDestruction() override;

  // The window, made on first request (its parents' windows first). The system's
  // refusal to make it raises EOSError; while the window is still owed, the next
  // refusals raise EAbort, which reports nothing, and every request tries again.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys the window (and the children's); the next request makes it again. Never
  // raises: a failure goes to Application->HandleException and the window still goes.
  void DestroyHandle();
  // Destroys the window and makes it again with the current parameters; a window that
  // could not be made is tried again. A failure to make it again is reported (through
  // Application->HandleException), not raised, and the control keeps its text.
  void RecreateWnd();
  void SetParent(TWinControl* AParent) override;
  // A window outside the library to parent this control (instead of Parent).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // The procedure that unhandled messages go to.
  WNDPROC DefWndProc() const { return FDefWndProc; }

  // The child controls: the graphic ones, then the windowed ones, each in z-order
  // (bottom first).
  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // True for this control and its descendants.
  bool ContainsControl(const TControl* Control) const;
  // The topmost child graphic control (or windowed one, when allowed) at a client
  // position, or nullptr.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  // Sends the message to each child until one answers with a non-zero Result.
  void Broadcast(TMessage& Message);
  // Sends the message to every child (NotifyControls: with no parameters).
  void NotifyControls(UINT Msg);

  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel != 0; }
  void Realign();

  int TabOrder() const;
  // While the control is read from a form file the value is kept, and the parent
  // puts its children in order once they are all read.
  void SetTabOrder(int Value);
  // Whether the control takes controls dragged onto it as its children.
  bool DockSite() const { return FDockSite; }
  void SetDockSite(bool Value) { FDockSite = Value; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // This control's windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // Visible and enabled, with every parent, up to a form.
  virtual bool CanFocus();
  bool Focused() const;
  // Focuses the control through its form; raises EInvalidOperation when it cannot.
  virtual void SetFocus();

  bool Showing() const override { return FShowing; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TPoint ClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;

  // Paints the control and its children into DC at (X, Y), as for printing.
  void PaintTo(HDC DC, int X, int Y);
  // Paints into a memory bitmap of the part to be painted, erased there, and copies it
  // to the window with one BitBlt; the window's own erase is skipped. (A control with
  // csOpaque in ControlStyle never erases: its painting covers its whole area.)
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  // Paints the visible graphic children on DC (from First on, all when null).
  void PaintControls(HDC DC, TControl* First);

  TBrush* Brush() const { return FBrush; }
  // The three-dimensional look; ParentCtl3D follows the parent's until Ctl3D is set.
  // A change is announced with CM_CTL3DCHANGED and passed on to the children.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);

  // The child controls that Root owns, for streaming.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  // Reads the control and its children, then orders the children by the tab orders
  // that were read.
  void ReadState(TReader* Reader) override;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // Entry from the window procedure: WindowProc inside a guard for exceptions.
  void MainWndProc(TMessage& Message);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  AnsiString GetText() const override;
  TRect GetClientRect() override;
  void SetZOrder(bool TopMost) override;
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window of a system class (Params.WindowClass from the class, so that
  // the class's own procedure handles what the control leaves alone).
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  // Lays out the children in Rect: alTop, alBottom, alLeft, alRight, alClient in that
  // order, then the anchored ones.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& /*Rect*/) {}
  void AlignControl(TControl* AControl);
  // Paints the window itself (DefaultHandler with WM_PAINT by default).
  virtual void PaintWindow(HDC DC);
  // BeginPaint unless the message carries a DC, then PaintWindow and the graphic
  // children.
  void PaintHandler(TMessage& Message);
  // Keeps the window shown or hidden with the control and its parents.
  void UpdateShowing();
  void UpdateControlState();
  // Reads the window's bounds into the control.
  void UpdateBounds();
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Key message to the form (with KeyPreview) and then to KeyDown; true when consumed.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  // Sends the message to the child window it is about as CN_BASE + Msg.
  bool DoControlMsg(HWND ControlHandle, TMessage& Message);
  // Hands the focus to the parent form's next candidate when this control is hidden
  // or removed.
  void RemoveFocus(bool Removing);

  HWND FHandle = nullptr;

 private:
  friend class TControl;
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  // Where a child stands: its index among the children of its kind (graphic or
  // windowed) and in the tab order; -1 for last.
  struct TPlace {
    int Control = -1;
    int Tab = -1;
  };
  TPlace PlaceOf(const TControl* AControl) const;
  // InsertControl, with the child put at Place, so that one a new parent did not take
  // goes back to where it was (its window, made again, at its place in the z-order).
  void InsertControlAt(TControl* AControl, const TPlace& Place);
  void AttachHandle(HWND Wnd);
  void DetachHandle();
  bool IsControlMouseMsg(TMessage& Message);
  void UpdateMouseTracking();
  TWinControl* PrecedingWindowControl(TWinControl* Control) const;
  void WMPaint(TMessage& Message);
  void PaintBuffered();
  void WMEraseBkgnd(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMMeasureItem(TMessage& Message);
  void WMCtlColor(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMChildKey(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMParentCtl3DChanged(TMessage& Message);

  std::vector<TControl*> FControls;      // graphic children, z-order
  std::vector<TWinControl*> FWinControls;  // windowed children, z-order
  std::vector<TWinControl*> FTabList;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = DefWindowProcA;
  TBrush* FBrush;
  bool FShowing = false;
  // The system refused the last attempt to make the window, and that was raised: the
  // window is owed, and a refusal of the next attempts is silent.
  bool FWindowFailed = false;
  bool FTabStop = false;
  bool FDockSite = false;
  int FAlignLevel = 0;
  int FReadTabOrder = -1;  // the tab order read from a form file, until it is applied
  bool FDoubleBuffered = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  HDC FPaintBuffer = nullptr;  // the memory DC of a buffered paint, while it runs
};

// A control without a window: its parent paints it (Paint on Canvas) and routes the
// mouse to it.
class TGraphicControl : public TControl {
  TCLASS_DECL(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas* FCanvas;
};

// A windowed control that paints itself on Canvas in Paint.
class TCustomControl : public TWinControl {
  TCLASS_DECL(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  TControlCanvas* FCanvas;
};

// ---------------------------------------------------------------------------------

// The mouse as a whole.
class TMouse : public TObject {
  TCLASS_DECL(TMouse, TObject)
 public:
  TPoint CursorPos() const;
  void SetCursorPos(const TPoint& Value);
  // The window that has the mouse captured, or nullptr.
  HWND Capture() const { return GetCapture(); }
  // Lines to scroll per wheel notch (read from the system on each call).
  int WheelScrollLines() const;
  bool MousePresent() const { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }
};

extern TMouse* Mouse;

// The long part of a hint "Short|Long": the text after the first "|"; a hint without
// "|" is its own long hint.
AnsiString GetLongHint(const AnsiString& Hint);

// The module's control for a window, or nullptr (also for other modules' windows).
TWinControl* FindControl(HWND Handle);
// The module's control under a screen point (graphic children included), or nullptr.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);

// What a drag carries: the dragged control, where the mouse is, and the target under
// it. BeginDrag makes one unless OnStartDrag gives its own (whose owner frees it).
class TDragObject : public TObject {
  TCLASS_DECL(TDragObject, TObject)
 public:
  explicit TDragObject(TControl* AControl = nullptr) : FControl(AControl) {}
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value) { FControl = Value; }
  // The screen point of the mouse, the control under it and whether it takes the
  // drag there.
  TPoint DragPos{0, 0};
  TControl* DragTarget = nullptr;
  bool Accepted = false;
  // The cursor over a target that takes the drag, or refuses it.
  virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
  // The drag's picture (the dragged control's by default) and its hiding and showing
  // around painting under it; they nest.
  virtual TDragImageList* GetDragImages();
  virtual void HideDragImage();
  virtual void ShowDragImage();

 private:
  TControl* FControl;
};

// The drag that runs now, or nil.
TDragObject* CurrentDrag();
// The control that has the mouse captured (a graphic one through its parent).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the mouse is over, as last reported by CM_MOUSEENTER.
TControl* GetMouseControl();
// Releases the DCs that control canvases obtained outside painting.
void FreeDeviceContexts();

// Called at the end of every TWinControl::InsertControl (a hook point: theming of
// controls added after a form is made). Null by default.
using TControlInsertedHook = void (*)(TControl* Control);
extern TControlInsertedHook ControlInsertedHook;

// Shared by the Controls unit's source files.
namespace classlib_detail {
// The graphic control that holds the capture through its parent's window.
extern TControl* CaptureControl;
// The atom of the window property that leads from a window to its control.
ATOM ControlAtom();
// Mouse-over bookkeeping: the mouse moved over Control (CM_MOUSEENTER and
// CM_MOUSELEAVE as it changes), or left the window of Control (WM_MOUSELEAVE).
void MouseMovedOver(TControl* Control);
void MouseLeftWindow(TWinControl* Control);
// Forgets a control that goes away.
void ControlGone(TControl* Control);
// Moves a DC's window origin by (DX, DY), so that drawing at (0, 0) lands there.
void MoveWindowOrg(HDC DC, int DX, int DY);
// Unregisters the window classes the controls registered.
void UnregisterControlClasses();
}  // namespace classlib_detail

// The Controls unit's start and end (registered in the module's unit table). The
// start also publishes the properties of the controls, of their fonts and of their
// size constraints.
void InitControls();
void DoneControls();
