// The control base, graphic controls, control canvases, input helpers and the
// module-wide state of the Controls unit. Windowed controls: Controls_WinControl.cpp,
// Controls_Align.cpp, Controls_Focus.cpp and Controls_Paint.cpp.
#include "classlib/Controls.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/ModuleInit.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TSizeConstraints)
TCLASS_IMPL(TControlCanvas)
TCLASS_IMPL(TControl)
TCLASS_IMPL(TGraphicControl)
TCLASS_IMPL(TMouse)

TMouse* Mouse = nullptr;
TControlInsertedHook ControlInsertedHook = nullptr;

// ---------------------------------------------------------------------------------
// Module-wide state

namespace {

ATOM ControlAtomValue = 0;
TControl* MouseControl = nullptr;  // the control the mouse is over
HWND TrackedWindow = nullptr;      // the window TrackMouseEvent watches
std::vector<TControlCanvas*> CanvasList;  // canvases holding a DC of their own

// The control whose own properties a form file is giving, and whether its anchors were
// among them: Align, read later (by a hand-edited file), leaves those anchors alone.
struct TPropertiesRead {
  const TControl* Control = nullptr;
  bool Anchors = false;
};
TPropertiesRead* PropertiesRead = nullptr;

bool AnchorsRead(const TControl* Control) {
  return PropertiesRead && PropertiesRead->Control == Control && PropertiesRead->Anchors;
}

SHORT DefaultGetKeyState(int VirtKey) { return ::GetKeyState(VirtKey); }
BOOL DefaultMessageBeep(UINT Type) { return ::MessageBeep(Type); }

}  // namespace

namespace classlib_detail {

TControl* CaptureControl = nullptr;

ATOM ControlAtom() { return ControlAtomValue; }

void MouseMovedOver(TControl* Control) {
  if (Control != MouseControl) {
    TControl* Old = MouseControl;
    MouseControl = Control;
    if (Old) Old->Perform(CM_MOUSELEAVE, 0, 0);
    if (MouseControl == Control && Control) Control->Perform(CM_MOUSEENTER, 0, 0);
  }
  // The system reports the leaving of the window under the control (a graphic
  // control's parent).
  if (!Control) return;
  TWinControl* Window = ObjectAs<TWinControl>(Control);
  if (!Window) Window = Control->Parent();
  if (Window && Window->HandleAllocated() && TrackedWindow != Window->Handle()) {
    TRACKMOUSEEVENT Track{sizeof(Track), TME_LEAVE, Window->Handle(), 0};
    if (TrackMouseEvent(&Track)) TrackedWindow = Window->Handle();
  }
}

void MouseLeftWindow(TWinControl* Control) {
  if (Control->HandleAllocated() && TrackedWindow == Control->Handle()) TrackedWindow = nullptr;
  if (!MouseControl) return;
  bool Inside = MouseControl == Control ||
                (MouseControl->Parent() == Control && !MouseControl->Is<TWinControl>());
  if (!Inside) return;
  TControl* Old = MouseControl;
  MouseControl = nullptr;
  Old->Perform(CM_MOUSELEAVE, 0, 0);
}

void ControlGone(TControl* Control) {
  if (MouseControl == Control) MouseControl = nullptr;
  if (CaptureControl == Control) CaptureControl = nullptr;
}

void MoveWindowOrg(HDC DC, int DX, int DY) {
  POINT P;
  GetWindowOrgEx(DC, &P);
  SetWindowOrgEx(DC, P.x - DX, P.y - DY, nullptr);
}

}  // namespace classlib_detail

using namespace classlib_detail;

// ---------------------------------------------------------------------------------
// Input helpers

TGetKeyStateProc GetKeyStateProc = DefaultGetKeyState;
TMessageBeepProc MessageBeepProc = DefaultMessageBeep;

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState Result;
  if (GetKeyStateProc(VK_SHIFT) < 0) Result.Include(ssShift);
  if (GetKeyStateProc(VK_CONTROL) < 0) Result.Include(ssCtrl);
  if (KeyData & 0x20000000) Result.Include(ssAlt);
  return Result;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState Result;
  if (Keys & MK_SHIFT) Result.Include(ssShift);
  if (Keys & MK_CONTROL) Result.Include(ssCtrl);
  if (Keys & MK_LBUTTON) Result.Include(ssLeft);
  if (Keys & MK_RBUTTON) Result.Include(ssRight);
  if (Keys & MK_MBUTTON) Result.Include(ssMiddle);
  if (GetKeyStateProc(VK_MENU) < 0) Result.Include(ssAlt);
  return Result;
}

namespace {
const struct {
  TCursor Cursor;
  const char* Name;
} CursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};
}  // namespace

bool CursorToIdent(int Cursor, AnsiString& Ident) {
  for (const auto& Entry : CursorNames)
    if (Entry.Cursor == Cursor) {
      Ident = Entry.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const AnsiString& Ident, int& Cursor) {
  for (const auto& Entry : CursorNames)
    if (SameText(Entry.Name, Ident)) {
      Cursor = Entry.Cursor;
      return true;
    }
  if (SameText(Ident, "crSize")) {
    Cursor = crSize;
    return true;
  }
  return false;
}

char GetHotkey(const AnsiString& Caption) {
  for (std::size_t I = 0; I + 1 < Caption.size(); ++I) {
    if (Caption[I] != '&') continue;
    if (Caption[I + 1] == '&') {
      ++I;
      continue;
    }
    return Caption[I + 1];
  }
  return '\0';
}

bool IsAccel(WPARAM Key, const AnsiString& Caption) {
  char Hotkey = GetHotkey(Caption);
  if (!Hotkey || Key == 0 || Key > 0xFF) return false;
  return AnsiUpperCase(AnsiString(1, Hotkey)) == AnsiUpperCase(AnsiString(1, static_cast<char>(Key)));
}

// ---------------------------------------------------------------------------------
// TSizeConstraints

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TSizeConstraints>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  FMinWidth = Other->FMinWidth;
  FMinHeight = Other->FMinHeight;
  FMaxWidth = Other->FMaxWidth;
  FMaxHeight = Other->FMaxHeight;
  Change();
}

void TSizeConstraints::SetMinWidth(int Value) {
  if (Value == FMinWidth) return;
  FMinWidth = std::max(Value, 0);
  if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMaxWidth = FMinWidth;
  Change();
}

void TSizeConstraints::SetMinHeight(int Value) {
  if (Value == FMinHeight) return;
  FMinHeight = std::max(Value, 0);
  if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMaxHeight = FMinHeight;
  Change();
}

void TSizeConstraints::SetMaxWidth(int Value) {
  if (Value == FMaxWidth) return;
  FMaxWidth = std::max(Value, 0);
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
  Change();
}

void TSizeConstraints::SetMaxHeight(int Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = std::max(Value, 0);
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
  Change();
}

void TSizeConstraints::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

// ---------------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  auto* Window = ObjectAs<TWinControl>(FControl);
  if (Window) {
    FWindowHandle = Window->Handle();
    FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  } else {
    TWinControl* Parent = FControl->Parent();
    if (!Parent) throw EInvalidOperation(SParentRequired, {FControl->Name()});
    FWindowHandle = Parent->Handle();
    FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    SetViewportOrgEx(FDeviceContext, FControl->Left(), FControl->Top(), nullptr);
    IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
  }
  if (!FDeviceContext) return;
  CanvasList.push_back(this);
  SetHandle(FDeviceContext);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
  auto It = std::find(CanvasList.begin(), CanvasList.end(), this);
  if (It != CanvasList.end()) CanvasList.erase(It);
}

void FreeDeviceContexts() {
  while (!CanvasList.empty()) CanvasList.back()->FreeHandle();
}

// ---------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod::Bind<&TControl::WndProc>(this);
  FFont = NewObject<TFont>();
  FFont->OnChange = TNotifyEvent::Bind<&TControl::FontChanged>(this);
  FConstraints = NewObject<TSizeConstraints>(this);
  FConstraints->OnChange = TNotifyEvent::Bind<&TControl::ConstraintsChanged>(this);
}

TControl::~TControl() {
  ControlGone(this);
  FreeAndNil(FConstraints);
  FreeAndNil(FFont);
}

void TControl::BeforeDestruction() {
  Destroying();
  // Only a control with a window, or the graphic control that holds its parent's
  // capture, can be the capture control. The system is asked only then: under Wine
  // each question is a round trip to the window server, which for the hundreds of
  // controls of a form being freed costs more than the rest of their freeing.
  auto* Window = ObjectAs<TWinControl>(this);
  const bool MayHoldCapture = CaptureControl == this || (Window && Window->HandleAllocated());
  if (MayHoldCapture && GetCaptureControl() == this) SetCaptureControl(nullptr);
  ControlGone(this);
  SetParent(nullptr);
  inherited::BeforeDestruction();
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  TWinControl* Old = FParent;
  // The move is judged before the control moves: one refused (its new parent's font
  // among others) stays where it was, as it was: its place among its siblings, its
  // window and what the window holds.
  TOwned<TFont> Own;
  if (!Old && TakesFontOf(AParent)) {
    Own.reset(NewObject<TFont>());
    Own->Assign(FFont);
  }
  PrepareParent(AParent);
  const TWinControl::TPlace Place = Old ? Old->PlaceOf(this) : TWinControl::TPlace();
  if (FParent) FParent->RemoveControl(this);
  // A control that the new parent does not take (its window cannot be made there) goes
  // back to the old one, where it was among its siblings and in the tab order, or,
  // without one, to its own font.
  auto Back = ScopeExit([&] {
    if (FParent) FParent->RemoveControl(this);
    try {
      if (Old) {
        Old->InsertControlAt(this, Place);
      } else if (Own) {
        TFlagScope FontChanging(FFontChanging);
        FFont->Assign(Own.get());
      }
    } catch (...) {
    }
  });
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
  Back.Dismiss();
}

bool TControl::TakesFontOf(const TWinControl* AParent) const {
  return AParent && FParentFont && !ComponentState().Contains(csReading) && !FFont->SameAs(AParent->Font());
}

void TControl::PrepareParent(const TWinControl* AParent) {
  if (AParent == this) throw EInvalidOperation(SControlParentSetToSelf);
  // A parent inside the control would make a ring that no walk up the parents leaves.
  if (const auto* Window = ObjectAs<TWinControl>(this); Window && AParent && Window->ContainsControl(AParent))
    throw EInvalidOperation(SControlParentSetToChild);
  if (TakesFontOf(AParent)) Perform(CM_PARENTFONTCHANGED, TRUE, reinterpret_cast<LPARAM>(AParent->Font()));
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* Parent = ObjectAs<TWinControl>(Value)) SetParent(Parent);
}

void TControl::ReadState(TReader* Reader) {
  TStateScope ReadingState(FControlState, csReadingState);
  TPropertiesRead Read{this, false};
  TValueScope Reading(PropertiesRead, &Read);
  inherited::ReadState(Reader);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool Resized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (Resized && !ComponentState().Contains(csLoading)) Resize();
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight) {
  if (FConstraints->MinWidth() > 0 && NewWidth < FConstraints->MinWidth())
    NewWidth = FConstraints->MinWidth();
  if (FConstraints->MaxWidth() > 0 && NewWidth > FConstraints->MaxWidth())
    NewWidth = FConstraints->MaxWidth();
  if (FConstraints->MinHeight() > 0 && NewHeight < FConstraints->MinHeight())
    NewHeight = FConstraints->MinHeight();
  if (FConstraints->MaxHeight() > 0 && NewHeight > FConstraints->MaxHeight())
    NewHeight = FConstraints->MaxHeight();
  return NewWidth >= 0 && NewHeight >= 0;
}

void TControl::ConstraintsChanged(TObject* /*Sender*/) { SetBounds(FLeft, FTop, FWidth, FHeight); }

void TControl::UpdateBoundsRect(const TRect& R) {
  FLeft = R.left;
  FTop = R.top;
  FWidth = R.right - R.left;
  FHeight = R.bottom - R.top;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || ComponentState().Contains(csLoading)) return;
  if (FAnchors == AnchorsDefault || !FParent) {
    FOriginalParentSize = {0, 0};
    return;
  }
  if (FAnchors.Contains(akRight))
    FAnchorRules.x = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  else
    FAnchorRules.x = FLeft + FWidth / 2;
  if (FAnchors.Contains(akBottom))
    FAnchorRules.y = FAnchors.Contains(akTop) ? FHeight : FTop;
  else
    FAnchorRules.y = FTop + FHeight / 2;
  TRect Client = FParent->GetClientRect();
  FOriginalParentSize = {Client.right, Client.bottom};
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::Resize() {
  if (OnResize.Assigned()) OnResize(this);
}

TRect TControl::GetClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(int AWidth, int AHeight) {
  TRect Client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - Client.right + AWidth, FHeight - Client.bottom + AHeight);
}

TPoint TControl::ClientOrigin() {
  if (!FParent) throw EInvalidOperation(SParentRequired, {Name()});
  TPoint Origin = FParent->ClientOrigin();
  return Point(Origin.x + FLeft, Origin.y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P) {
  TPoint Origin = ClientOrigin();
  return Point(P.x + Origin.x, P.y + Origin.y);
}

TPoint TControl::ScreenToClient(const TPoint& P) {
  TPoint Origin = ClientOrigin();
  return Point(P.x - Origin.x, P.y - Origin.y);
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  // The anchors the alignment implies, unless a form file gave this control its own.
  if (!AnchorsRead(this)) FAnchors = AnchorAlign(Value);
  if (!ComponentState().Contains(csLoading)) AdjustSize();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (PropertiesRead && PropertiesRead->Control == this) PropertiesRead->Anchors = true;
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value, 0);
  RequestAlign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  FText = Value;
  if (auto* Window = ObjectAs<TWinControl>(this); Window && Window->HandleAllocated())
    SetWindowTextA(Window->Handle(), Value.c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (FShowHint == Value && !FParentShowHint) return;
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  // A parent's font the control refuses leaves it with its own.
  auto Keep = ScopeExit([&] { FParentFont = !Value; });
  FParentFont = Value;
  if (Value) Perform(CM_PARENTFONTCHANGED, 0, 0);
  Keep.Dismiss();
}

void TControl::FontChanged(TObject* /*Sender*/) {
  // A font of the control's own ends its following the parent's, unless the control
  // refuses it, or the font only goes back to what it was.
  auto Keep = ScopeExit([this, Parent = FParentFont] { FParentFont = Parent; });
  if (!FFontChanging && !FFont->Undoing()) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
  Keep.Dismiss();
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  FParentBiDiMode = false;
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  FParentBiDiMode = Value;
  if (Value) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

int TControl::DrawTextBiDiModeFlags(int Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & DT_RIGHT) == DT_RIGHT)
      Flags &= ~DT_RIGHT;
    else if (!(Flags & DT_CENTER))
      Flags |= DT_RIGHT;
  }
  return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

int TControl::DrawTextBiDiModeFlagsReadingOnly() const {
  return UseRightToLeftReading() ? DT_RTLREADING : 0;
}

bool TControl::MouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() != Value) SetCaptureControl(Value ? this : nullptr);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage Message{Msg, WParam, LParam, 0};
  if (WindowProc.Assigned())
    WindowProc(Message);
  else
    WndProc(Message);
  return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    if (!FControlStyle.Contains(csDoubleClicks)) {
      switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
      }
    }
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        MouseMovedOver(this);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        // Automatic drag mode: a press starts dragging the control once the mouse
        // moves the system's drag distance, in place of the ordinary press.
        if (FDragMode == dmAutomatic) {
          BeginDrag(false);
          return;
        }
        FControlState.Include(csLButtonDown);
        break;
      case WM_LBUTTONUP:
        FControlState.Exclude(csLButtonDown);
        break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      DefaultHandler(Message);
      DoMouseDown(Message, mbRight, Message.Msg == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      DefaultHandler(Message);
      DoMouseDown(Message, mbMiddle, Message.Msg == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
      break;
    case WM_RBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbRight);
      break;
    case WM_MBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbMiddle);
      break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case CM_DRAG: CMDrag(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
    case CM_HITTEST: Message.Result = HTCLIENT; break;
    case CM_MOUSEENTER:
      if (OnMouseEnter.Assigned()) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (OnMouseLeave.Assigned()) OnMouseLeave(this);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// A control without a window keeps its text itself.
void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      if (Message.WParam == 0 || !Message.LParam) break;
      std::size_t Count = std::min<std::size_t>(FText.size(), Message.WParam - 1);
      std::copy_n(FText.data(), Count, reinterpret_cast<char*>(Message.LParam));
      reinterpret_cast<char*>(Message.LParam)[Count] = '\0';
      Message.Result = static_cast<LRESULT>(Count);
      break;
    }
    case WM_GETTEXTLENGTH: Message.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_SETTEXT:
      FText = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      Message.Result = 1;
      break;
  }
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseDown(Button, KeysToShiftState(Message.WParam) + Shift, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseUp(Button, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  bool Clicked = FControlState.Contains(csClicked);
  FControlState.Exclude(csClicked);
  POINT P{Message.XPos(), Message.YPos()};
  TRect R = GetClientRect();
  // The up event comes first: a click may free the control.
  DoMouseUp(Message, mbLeft);
  if (Clicked && PtInRect(&R, P)) Click();
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseMove(KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::WMCancelMode(TMessage& Message) {
  // A graphic child holding this window's capture ends its mode too.
  if (TControl* Captured = GetCaptureControl(); Captured && Captured != this && Captured->Parent() == this) {
    Captured->Perform(WM_CANCELMODE, 0, 0);
  } else if (MouseCapture()) {
    SetMouseCapture(false);
    FControlState.Exclude(csClicked);
  }
  DefaultHandler(Message);
}

// A click in the client area (or the menu key, which sends the point (-1, -1)) is
// offered to OnContextPopup, then opens the control's menu there (below the client
// area's top-left corner for the key); otherwise the default handling passes the
// request to the parent window.
void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  const bool FromKeyboard = Message.XPos() == -1 && Message.YPos() == -1;
  TPoint Pos{Message.XPos(), Message.YPos()};
  TPoint MousePos = Pos;
  if (!FromKeyboard) {
    const TRect R = GetClientRect();
    MousePos = ScreenToClient(Pos);
    if (!PtInRect(&R, MousePos)) {
      DefaultHandler(Message);
      return;
    }
  }
  bool Handled = false;
  DoContextPopup(MousePos, Handled);
  if (Handled) {
    Message.Result = 1;
    return;
  }
  if (!FPopupMenu) {
    DefaultHandler(Message);
    return;
  }
  SendCancelMode(nullptr);
  FPopupMenu->SetPopupComponent(this);
  if (FromKeyboard) Pos = ClientToScreen(Point(0, 0));
  Message.Result = 1;
  FPopupMenu->Popup(Pos.x, Pos.y);
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  if (OnContextPopup.Assigned()) OnContextPopup(this, MousePos, Handled);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::CMVisibleChanged(TMessage& /*Message*/) {
  InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMEnabledChanged(TMessage& /*Message*/) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!FParentFont) return;
  TFont* Source = Message.WParam ? reinterpret_cast<TFont*>(Message.LParam)
                                 : (FParent ? FParent->Font() : nullptr);
  if (!Source) return;
  TFlagScope FontChanging(FFontChanging);
  FFont->Assign(Source);
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor) return;
  TColor NewColor = Message.WParam ? static_cast<TColor>(Message.LParam)
                                   : (FParent ? FParent->Color() : FColor);
  SetColor(NewColor);
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage& /*Message*/) {
  if (FParentShowHint && FParent) {
    SetShowHint(FParent->ShowHint());
    FParentShowHint = true;
  }
}

void TControl::CMParentBiDiModeChanged(TMessage& /*Message*/) {
  if (FParentBiDiMode && FParent) {
    SetBiDiMode(FParent->BiDiMode());
    FParentBiDiMode = true;
  }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown.Assigned()) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove.Assigned()) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp.Assigned()) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  if (OnClick.Assigned()) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick.Assigned()) OnDblClick(this);
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  RECT R = BoundsRect();
  bool Erase = !(IsOpaque || FParent->ControlStyle().Contains(csOpaque));
  InvalidateRect(FParent->Handle(), &R, Erase);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  if (FControlStyle.Contains(csOpaque)) {
    TClientDC DC(FParent->Handle());
    IntersectClipRect(DC.DC(), FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(DC.DC(), this);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  auto& List = FParent->FControls;
  auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  List.erase(It);
  if (TopMost)
    List.push_back(this);
  else
    List.insert(List.begin(), this);
  Invalidate();
}

void TControl::SendCancelMode(TControl* Sender) {
  for (TControl* Control = this; Control; Control = Control->FParent)
    if (auto* Form = ObjectAs<TCustomForm>(Control)) Form->SendCancelMode(Sender);
}

void TControl::ChangeName(const AnsiString& NewName) {
  TComponent* TheOwner = Owner();
  bool FollowName = FControlStyle.Contains(csSetCaption) &&
                    !ComponentState().Contains(csLoading) && Name() == Text() &&
                    (!TheOwner || !TheOwner->Is<TControl>() ||
                     !TheOwner->ComponentState().Contains(csLoading));
  inherited::ChangeName(NewName);
  if (FollowName) SetText(NewName);
}

void TControl::Loaded() {
  inherited::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
  }
  UpdateAnchorRules();
  RequestAlign();
}

// ---------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = NewObject<TControlCanvas>(this);
}

TGraphicControl::~TGraphicControl() { FreeAndNil(FCanvas); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    // Only the parent paints a graphic control, with the DC in WParam.
    if (Message.WParam) {
      TCanvasPaintScope Scope(FCanvas, reinterpret_cast<HDC>(Message.WParam));
      Paint();
    }
    return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The mouse and the capture

TPoint TMouse::CursorPos() const {
  POINT P{0, 0};
  GetCursorPos(&P);
  return P;
}

void TMouse::SetCursorPos(const TPoint& Value) { ::SetCursorPos(Value.x, Value.y); }

int TMouse::WheelScrollLines() const {
  UINT Lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  return static_cast<int>(Lines);
}

TWinControl* FindControl(HWND Handle) {
  if (!Handle || !ControlAtomValue) return nullptr;
  DWORD ProcessId = 0;
  GetWindowThreadProcessId(Handle, &ProcessId);
  if (ProcessId != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropA(Handle, MAKEINTATOM(ControlAtomValue)));
}

AnsiString GetLongHint(const AnsiString& Hint) {
  const auto Bar = Hint.find('|');
  return Bar == AnsiString::npos ? Hint : Hint.substr(Bar + 1);
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  TWinControl* Window = FindControl(WindowFromPoint(Pos));
  if (!Window) return nullptr;
  TControl* Child = Window->ControlAtPos(Window->ScreenToClient(Pos), AllowDisabled);
  return Child ? Child : Window;
}

TControl* GetCaptureControl() {
  TControl* Result = FindControl(GetCapture());
  if (Result && CaptureControl && CaptureControl->Parent() == Result) Result = CaptureControl;
  return Result;
}

void SetCaptureControl(TControl* Control) {
  // Cleared first: a capture given up on purpose is no capture lost (see the window
  // control's WM_CAPTURECHANGED).
  CaptureControl = nullptr;
  ReleaseCapture();
  if (!Control) return;
  if (!Control->Is<TWinControl>()) {
    if (!Control->Parent()) return;
    CaptureControl = Control;
    Control = Control->Parent();
  }
  SetCapture(static_cast<TWinControl*>(Control)->Handle());
}

TControl* GetMouseControl() { return MouseControl; }

// ---------------------------------------------------------------------------------

void RegisterControlsPublished();
void UnregisterControlsPublished();

void InitControls() {
  RegisterControlsPublished();
  AnsiString AtomName = "TarvikControl" + IntToHex(reinterpret_cast<std::intptr_t>(HInstance), 8) +
                        IntToHex(GetCurrentProcessId(), 8);
  ControlAtomValue = GlobalAddAtomA(AtomName.c_str());
  Mouse = NewObject<TMouse>();
}

void DoneControls() {
  UnregisterControlsPublished();
  FreeDeviceContexts();
  FreeAndNil(Mouse);
  classlib_detail::UnregisterControlClasses();
  if (ControlAtomValue) GlobalDeleteAtom(ControlAtomValue);
  ControlAtomValue = 0;
  MouseControl = nullptr;
  CaptureControl = nullptr;
  TrackedWindow = nullptr;
}
