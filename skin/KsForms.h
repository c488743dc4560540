// Process-wide objects of the skinned window frame: the caption fonts, the caption-
// button images, and SharedBitmap, the screen-sized off-screen bitmap that every
// skinned window without a buffer of its own paints its frame into.
//
// A plug-in borrows its host's shared bitmap: when the module is a library and the
// process's executable exports GetGlobalBuffer, SharedBitmap takes over that
// executable's handles (never deleting them). The module exports the same function,
// so a caller can obtain the handles of its shared bitmap.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/KsBitmap.h"
#include "skin/KsEffects.h"
#include "skin/KsHooks.h"

class TKsCustomItem;
class TKsCustomMenuBar;

// The frame a skinned window draws: none, a standard window's or a tool window's.
enum TKsBorderStyle : Byte { kbsNone, kbsStandard, kbsToolWindow };
TENUM_INFO(TKsBorderStyle, "kbsNone", "kbsStandard", "kbsToolWindow")
// The caption buttons, by ordinal.
enum TKsBorderIcon : Byte { kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray };
TENUM_INFO(TKsBorderIcon, "kbiClose", "kbiSystemMenu", "kbiMinimize", "kbiMaximize", "kbiHelp",
           "kbiRollup", "kbiTray")
using TKsBorderIcons = TSet<TKsBorderIcon>;
enum TKsWindowState : Byte { kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray };
TENUM_INFO(TKsWindowState, "kwsNormal", "kwsMaximized", "kwsMinimized", "kwsRollup", "kwsTray")
TENUM_INFO(TKsAnimation, "kaNone", "kaRandom", "kaFade", "kaSlide", "kaRect")

// The published values a frame starts from that depend on its form: a child window's
// frame has no tray icon, snaps closer and leaves the application alone.
struct TKsFrameStart {
  TKsBorderIcons BorderIcons;
  int MagneticValue;
  bool MinimizeApplication;
};
inline TKsFrameStart KsFrameStart(bool ChildWindow) {
  if (ChildWindow) return {TKsBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup}, 9, false};
  return {TKsBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray}, 20, true};
}

// The skinned frame's private messages.
inline constexpr UINT KM_TRAYNOTIFY = 0x56C;
inline constexpr UINT KM_RESTORECAPTION = 0x56D;
inline constexpr UINT KM_MAXIMIZECHILD = 0x56E;

// The system menu's captions, from the kit's string table.
inline constexpr UINT SKsMaximizeId = 65288;
inline constexpr UINT SKsMinimizeId = 65289;
inline constexpr UINT SKsCloseId = 65290;
inline constexpr UINT SKsRollupId = 65291;
inline constexpr UINT SKsRestoreId = 65292;
inline constexpr UINT SKsMinimizeToTrayId = 65293;
AnsiString KsResourceText(UINT Id);

// The frame's own hit codes (WM_NCHITTEST answers with the system's values).
enum TKsHitCode : Byte {
  khtClient,
  khtCaption,
  khtLeft,
  khtTop,
  khtRight,
  khtBottom,
  khtBorder,
  khtTopLeft,
  khtTopRight,
  khtBottomLeft,
  khtBottomRight,
  khtClose,
  khtHelp,
  khtMinimize,
  khtMaximize,
  khtRollup,
  khtTray,
  khtSysMenu
};

// Takes over the non-client area of its owner form (or owner windowed control)
// through a window hook while Active: sizes the frame, answers hit tests, paints the
// borders, caption and caption buttons into an off-screen bitmap and copies them to
// the window, and shapes the window with a region. The mouse on the frame, window
// states, the system menu and the tray come with the window states.
class TKsCustomForm : public TKsHookComponent {
  TCLASS_DECL(TKsCustomForm, TKsHookComponent)
 public:
  // Takes over the owner form: sizeable, no border icons of its own.
  explicit TKsCustomForm(TComponent* AOwner);
  void BeforeDestruction() override;
  ~TKsCustomForm() override;

  TKsBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TKsBorderStyle Value);
  TKsBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TKsBorderIcons Value);
  bool CanMove() const { return FCanMove; }
  void SetCanMove(bool Value);
  bool CanResize() const { return FCanResize; }
  void SetCanResize(bool Value);
  bool Blend() const { return FBlend; }
  void SetBlend(bool Value);
  int BlendValue() const { return FBlendValue; }
  void SetBlendValue(int Value);
  bool DropShadow() const { return FDropShadow; }
  void SetDropShadow(bool Value) { FDropShadow = Value; }
  int ShadowWidth() const { return FShadowWidth; }
  void SetShadowWidth(int Value) { FShadowWidth = Value; }
  bool Magnetic() const { return FMagnetic; }
  void SetMagnetic(bool Value) { FMagnetic = Value; }
  int MagneticValue() const { return FMagneticValue; }
  void SetMagneticValue(int Value) { FMagneticValue = Value; }
  // The menu bar of the form (stored and free-notified).
  TComponent* MenuBar() const { return FMenuBar; }
  void SetMenuBar(TComponent* Value);
  bool MinimizeApplication() const { return FMinimizeApplication; }
  void SetMinimizeApplication(bool Value) { FMinimizeApplication = Value; }
  bool SimpleDrag() const { return FSimpleDrag; }
  void SetSimpleDrag(bool Value) { FSimpleDrag = Value; }
  TKsAnimation ShowAnimation() const { return FShowAnimation; }
  void SetShowAnimation(TKsAnimation Value) { FShowAnimation = Value; }
  int ShowAnimationTime() const { return FShowAnimationTime; }
  void SetShowAnimationTime(int Value) { FShowAnimationTime = Value; }
  bool StayOnTop() const { return FStayOnTop; }
  void SetStayOnTop(bool Value);
  bool SysMenuBlend() const { return FSysMenuBlend; }
  void SetSysMenuBlend(bool Value) { FSysMenuBlend = Value; }
  int SysMenuBlendValue() const { return FSysMenuBlendValue; }
  void SetSysMenuBlendValue(int Value) { FSysMenuBlendValue = Value; }
  bool SysMenuDropShadow() const { return FSysMenuDropShadow; }
  void SetSysMenuDropShadow(bool Value) { FSysMenuDropShadow = Value; }
  int SysMenuShadowWidth() const { return FSysMenuShadowWidth; }
  void SetSysMenuShadowWidth(int Value) { FSysMenuShadowWidth = Value; }
  TKsAnimation SysMenuShowAnimation() const { return FSysMenuShowAnimation; }
  void SetSysMenuShowAnimation(TKsAnimation Value) { FSysMenuShowAnimation = Value; }
  int SysMenuShowAnimationTime() const { return FSysMenuShowAnimationTime; }
  void SetSysMenuShowAnimationTime(int Value) { FSysMenuShowAnimationTime = Value; }
  TPopupMenu* TrayMenu() const { return FTrayMenu; }
  void SetTrayMenu(TPopupMenu* Value);
  TKsWindowState WindowState() const { return FWindowState; }
  // While loading the value waits for Initialize; otherwise the matching change runs.
  void SetWindowState(TKsWindowState Value);
  TKsWindowState PreviousState() const { return FPreviousState; }
  // The bounds the window returns to from the other states.
  const TRect& RestoreBounds() const { return FRestoreBounds; }
  bool Dragging() const { return FDragging; }

  // The window states; each one applied in its own state restores instead.
  void Maximize();
  void Minimize();
  void Rollup();
  void MinimizeToTray();
  void Restore();
  // Sets the form's bounds, then paints every window whose WM_PAINT is waiting.
  void SetBoundsAndFlush(const TRect& R);
  // What the close button does: the form's close query and close event, then hides
  // (or, for the main form, ends the application); a modal form only gets mrCancel.
  void CloseForm();
  void ShowHelp();

  // Multiple-document forms. Whether a shown child window is maximized: for an MDI
  // child, any child of its parent (by the class library's window state or its active
  // kit frame's); for an MDI parent, any of its children by its active kit frame.
  bool IsMDIChildMaximized() const;
  // An MDI child: the parent's caption loses its " - [...]" part and, while this child
  // is maximized, shows its caption as "Parent - [Child]".
  void UpdateMDICaption();
  // Restores the maximized kit frames among the parent's children (an MDI parent's
  // own children), then brings the parent's caption up to date.
  void RestoreMDIChildren();

  // The hooked form is an MDI child in the maximized state: it has no frame.
  bool MaximizedMDIChild() const;
  // The MDI parent's client window this frame has subclassed (0 when none).
  HWND MDIClient() const { return FMDIClient; }

  // The system menu: built from kit items for the current state and border icons.
  TKsCustomItem* SystemMenu() const { return FSystemMenu; }
  void BuildSystemMenu();
  void ShowSystemMenu();
  void SystemMenuClick(TObject* Sender);
  // Moves R onto the parent's client edges (or the work area's) when within MagneticValue.
  void SnapToEdges(TRect& R);
  // The drag outline, XOR-drawn on the desktop; an empty R only erases the last one.
  void DrawDragFrame(const TRect& R);

  // The frame's mouse, in window coordinates (Shift as the system gives it).
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

  // Frame metrics: the caption band's height and the border's width.
  int CaptionHeight() const;
  int FrameBorderWidth() const;
  int FrameWidth() const { return FFrameWidth; }
  int FrameHeight() const { return FFrameHeight; }
  int WindowWidth() const { return FWindowWidth; }
  int WindowHeight() const { return FWindowHeight; }
  HWND TrayWindow() const { return FTrayWindow; }
  bool WindowActive() const { return FWindowActive; }

  // The component's own bitmap when it blends, else the shared one.
  TKsBitmap* GetFrameBuffer() const;
  void DisableFramePaint() { FFramePaintEnabled = false; }
  void EnableFramePaint() { FFramePaintEnabled = true; }
  bool FramePaintEnabled() const { return FFramePaintEnabled; }
  // Makes the system compute the frame again, keeping the client size.
  void UpdateFrame();
  // Paints the frame now (borders, caption, buttons).
  void PaintNonClient();
  // True while the show animation composes the window's first image.
  bool Animating() const { return FAnimating; }

  virtual void UpdateRegion();
  virtual HRGN GetRegion() { return nullptr; }
  virtual TKsCustomItem* CreateItem(TComponent* AOwner);
  // Empty for a kind that is not shown.
  virtual void GetButtonRect(int Kind, TRect& R);
  virtual void GetClientArea(TRect& R);
  virtual void GetRollupRect(TRect& R);
  virtual void GetMinimizedRect(TRect& R);
  virtual void GetMaximizedRect(TRect& R);
  virtual void GetMaxTrackSize(TPoint& P);
  virtual void GetMinTrackSize(TPoint& P);
  virtual void PaintFrame(TKsBitmap* Bitmap);
  virtual void PaintBackground(TKsBitmap* Bitmap);
  // A point in window coordinates: a TKsHitCode.
  virtual Byte HitTest(int X, int Y);

  void Dispatch(TMessage& Message) override;

  TEvent<void(TObject* Sender, TCanvas* Canvas)> OnPaint;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Runs once outside design time: buffers, shortcut forwarding, the frame.
  void Initialize();
  // The icon of the system-menu button: the form's, else the application's, else the
  // system's application icon.
  HICON SystemMenuIcon() const;
  // The hooked form when its form style is Style, else nullptr.
  TCustomForm* HookedFormOf(TFormStyle Style) const;
  // Stores a frame property that changed and, outside loading, lays the frame out again.
  template <typename T>
  void SetFrameValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (!ComponentState().Contains(csLoading)) UpdateFrame();
  }
  // The frame's mouse state, for painters of caption buttons.
  Byte NonClientShift() const { return FNonClientShift; }
  Byte MouseDownCode() const { return FMouseDownCode; }
  Byte HoverCode() const { return FHoverCode; }
  void AfterMessage(TMessage& Message, bool& Handled) override;
  void PaintCaption(TKsBitmap* Bitmap);
  // Copies the screen under R into BackgroundBuffer (only the strips it lacks): the
  // whole of R while that fits the cap of the kit's buffers and the system gives it,
  // else the part of R on the screen, placed there by the buffer's origin.
  void CaptureBackground(const TRect& R);
  // Before every paint into it: a frame buffer that holds only part of the window (one
  // past the cap, or larger than the system gives, or the screen-sized shared bitmap)
  // moved, when it does not hold all of the part of the window on the screen, so that
  // it does. The form's own buffer stays where it is moved; the shared bitmap, which
  // other forms and the host use, goes back when the scope answered ends.
  [[nodiscard]] TKsOriginScope PlaceFrameBuffer();

 private:
  bool VisualStyles() const;
  void TrayWndProc(TMessage& Message);
  void FormShortCut(TMessage& Msg, bool& Handled);
  // Puts FormShortCut in front of the form's own shortcut handler (once), and back.
  void HookShortCuts();
  void UnhookShortCuts();
  void WMNCCalcSize(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCActivate(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMPaint(TMessage& Message);
  void DrawCaptionButton(TKsBitmap* Bitmap, int Kind);
  // Window states, mouse and system menu (KsForms_States.cpp).
  void SaveRestoreBounds();
  // In the tray: the window (or the application's) is shown again and the icon goes.
  // Every move out of the tray starts with it.
  void LeaveTray();
  void AddSystemMenuItem(const AnsiString& Caption, TShortCut ShortCut, int ImageIndex);
  void ApplyPendingState();
  void HookApplication();
  void UnhookApplication();
  void AppMinimize(TObject* Sender);
  void AppRestore(TObject* Sender);
  bool StatesDispatch(TMessage& Message);
  // The end of a left press on the frame: a simple drag's outline goes and the window
  // takes its final bounds; the frame repaints.
  void EndDrag(Byte Pressed, bool WasDragging, int X, int Y);
  // A capture lost in the middle of a press on the frame ends it as a release would.
  void EndPressOnCaptureLoss();
  // The show animation of a window coming up at ScreenRect: its finished image is
  // composed off screen and the effect runs over the screen under it.
  void ShowAnimated(const TRect& ScreenRect);
  void ComposeAnimationImage();
  void WMNCMouse(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  TPoint ToWindow(const TPoint& Screen);
  // Multiple-document forms (KsForms_MDI.cpp). The MDI client of the hooked form is
  // subclassed while this frame is active, again after the form's window was made anew.
  void HookMDIClient();
  void UnhookMDIClient();
  // Keeps a rolled-up or minimized window's bounds through the making of a new one.
  void KeepStateBounds(const TMessage& Message);
  static LRESULT CALLBACK MDIClientEntry(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  // The subclassed client's messages; true when the message stops here.
  bool MDIClientWndProc(TMessage& Message);
  // The client's scroll bars: one only for a direction in which a visible child lies
  // outside the client, none while a child is maximized.
  void SizeMDIClientScrollBars();
  // A scroll bar's request (Bar SB_HORZ or SB_VERT, Code the request's): the children
  // move, no further than the bar's range reaches.
  void ScrollMDIClient(int Bar, WORD Code);
  // An MDI child's steps after it is maximized (its frame, the parent's menu bar and
  // caption), and after it is minimized or restored from maximized (its frame, a
  // WM_SIZE, the bar's buttons hidden, the other children restored).
  void MDIChildMaximized();
  void MDIChildNotMaximized();
  // An MDI child that goes (closed, hidden or freed) takes its buttons off the parent's
  // menu bar and gives the maximized children back their normal bounds.
  void LeaveMDIParent();
  // An MDI child's window was hidden: while maximized, it leaves its parent so.
  void MDIChildHidden();
  void WMMDIActivate(TMessage& Message);
  void KMMaximizeChild();
  // An MDI parent's child form is being freed and its window is gone.
  void MDIChildFreed();
  void AfterMDIParentSize();
  // Whether the hooked form is an MDI child and its client's active child.
  bool IsActiveMDIChild() const;
  // An MDI child that is not its client's active child becomes it (when shown).
  void ActivateMDIChild();
  // An MDI child hidden (by its close event, or by code) is shown, which activates it.
  void ShowHiddenMDIChild();
  // SC_MAXIMIZE, SC_MINIMIZE or SC_RESTORE of an MDI child: the frame's state change.
  void MDISysCommand(WPARAM Command);
  // The system maximized or minimized an MDI child's window: the frame takes the state
  // over.
  void AfterMDIChildSystemSized();
  // The kit menu bar of the MDI parent (nullptr when it has none).
  TKsCustomMenuBar* ParentMenuBar() const;
  // The window a child window's positions are measured in: its parent window's client
  // area (an MDI child's: its MDI client), or the work area for a top-level window.
  TRect ParentArea() const;
  TNotifyEvent FOldOnMinimize;
  TNotifyEvent FOldOnRestore;

  TKsBorderStyle FBorderStyle = kbsStandard;
  TKsBorderIcons FBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray};
  bool FCanResize = true;
  bool FCanMove = true;
  bool FBlend = false;
  int FBlendValue = 150;
  bool FDropShadow = false;
  int FShadowWidth = 4;
  bool FMagnetic = true;
  int FMagneticValue = 20;
  TComponent* FMenuBar = nullptr;
  bool FMinimizeApplication = true;
  bool FSimpleDrag = false;
  TKsAnimation FShowAnimation = kaNone;
  int FShowAnimationTime = 400;
  bool FStayOnTop = false;
  bool FSysMenuBlend = false;
  int FSysMenuBlendValue = 150;
  bool FSysMenuDropShadow = false;
  int FSysMenuShadowWidth = 4;
  TKsAnimation FSysMenuShowAnimation = kaNone;
  int FSysMenuShowAnimationTime = 300;
  TPopupMenu* FTrayMenu = nullptr;

  TKsBitmap* FFrameBuffer = nullptr;
  TKsBitmap* FBackgroundBuffer = nullptr;
  TPoint FDragStart{0, 0};
  TPoint FDragLast{0, 0};
  TRect FRestoreBounds{0, 0, 0, 0};
  TKsWindowState FPreviousState = kwsNormal;
  TKsWindowState FWindowState = kwsNormal;
  TKsWindowState FPendingState = kwsNormal;
  NOTIFYICONDATAA FTrayIconData;
  HWND FTrayWindow = nullptr;
  TKsCustomItem* FSystemMenu = nullptr;
  AnsiString FLastCaption;
  bool FAppHooked = false;
  bool FAnimating = false;
  TPoint FMenuPoint{0, 0};
  TRect FCapturedRect{0, 0, 0, 0};
  bool FUpdatingFrame = false;
  TKsBitmap* FAnimationBitmap = nullptr;
  bool FDragging = false;
  TRect FDragOutline{0, 0, 0, 0};
  bool FDragFromStart = false;
  int FSavedClientWidth = 0;
  int FSavedClientHeight = 0;
  TShortCutEvent FOldOnShortCut;
  bool FInitialized = false;
  bool FFramePaintEnabled = true;
  Byte FMouseDownCode = 0;
  bool FWindowActive = false;
  Byte FHoverCode = 0;
  int FFrameWidth = 0;
  int FFrameHeight = 0;
  int FWindowWidth = 0;
  int FWindowHeight = 0;
  Byte FNonClientShift = 0;
  HWND FMDIClient = nullptr;
  bool FSizingMDIScrollBars = false;
  bool FLeavingTray = false;
  // A window destroyed rolled up or minimized: the window and its bounds, which the
  // next window is given (the system makes it at least its smallest tracking size).
  HWND FStateWindow = nullptr;
  TRect FStateBounds{0, 0, 0, 0};
};

// The active skinned frame of a form (the first among its components), or nullptr.
TKsCustomForm* ActiveKsForm(TCustomForm* Form);

// Runs the effect of a window's show animation (Kind kaFade, kaSlide or kaRect; a slide
// from a random side, a growing rectangle from a random corner or the centre) over the
// screen. It blocks for the animation's time: tests replace it to see the window's
// composed image without waiting.
using TKsShowAnimationProc = void (*)(TKsAnimation Kind, HDC DC, TKsBitmap* Background,
                                      const TRect& BackgroundRect, int Time, const TRect& ScreenRect,
                                      TKsBitmap* Foreground);
extern TKsShowAnimationProc KsShowAnimationProc;
void RunShowAnimation(TKsAnimation Kind, HDC DC, TKsBitmap* Background, const TRect& BackgroundRect, int Time,
                      const TRect& ScreenRect, TKsBitmap* Foreground);

// From the caption font and the small caption font of the system's non-client metrics.
extern TFont* CaptionFont;
extern TFont* SmallCaptionFont;
// 16 x 16 images drawn masked: close, minimize, maximize, restore, roll up, to tray.
extern TImageList* CaptionButtonImages;
enum TKsCaptionImage { ciClose, ciMinimize, ciMaximize, ciRestore, ciRollup, ciTray };
extern TKsBitmap* SharedBitmap;

// The register calling convention shared with the host: the record's address in EAX.
#define KS_REGISTER_CALL __attribute__((regparm(3), stdcall))
using TGetGlobalBufferProc = void(KS_REGISTER_CALL*)(TGlobalBufferInfo* Info);

// Fills Info from SharedBitmap (all zero before the unit has started). The handles
// stay the module's; the caller must not delete them.
extern "C" void KS_REGISTER_CALL GetGlobalBuffer(TGlobalBufferInfo* Info);

// The unit's start and end, counted: only the first start and the last end work.
void InitKsForms();
void DoneKsForms();
