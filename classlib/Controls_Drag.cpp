// Plain drag and drop: the drag loop with the mouse captured, CM_DRAG to the control
// under the cursor, the drag's picture following the mouse, the drop on release,
// Escape and a lost capture cancelling, the other keys handed to the dragged control,
// and the controls' drag steps and events.
#include <windows.h>

#include <cstdlib>

#include "classlib/Controls.h"
#include "classlib/DragImages.h"
#include "classlib/Forms.h"
#include "classlib/ScopeExit.h"

TCLASS_IMPL(TDragObject)

namespace {

// The drag that runs: one at a time.
struct TActiveDrag {
  TControl* Control = nullptr;
  TDragObject* Object = nullptr;
  HWND CaptureWindow = nullptr;
  bool EndPending = false;
  bool DropPending = false;
  // What the end step hears: the target that took the drop (or nil) and the point, in
  // that target's client coordinates (the dragged control's without one).
  TControl* DroppedOn = nullptr;
  TPoint EndAt{0, 0};
};
TActiveDrag* Active = nullptr;

TPoint ScreenPointOf(const MSG& Msg) {
  POINT P{static_cast<short>(LOWORD(Msg.lParam)), static_cast<short>(HIWORD(Msg.lParam))};
  if (Msg.hwnd) ClientToScreen(Msg.hwnd, &P);
  return TPoint{P.x, P.y};
}

LRESULT SendDrag(TControl* Target, TDragMessage Kind, TDragObject* Object) {
  TDragRec Rec{Object->DragPos, Object, Target};
  return Target->Perform(CM_DRAG, Kind, reinterpret_cast<LPARAM>(&Rec));
}

// The mouse at P: leave and enter when the target changes, then the move; the cursor
// tells whether the target takes the drag.
void DragTo(TActiveDrag& Drag, const TPoint& P) {
  TDragObject* Object = Drag.Object;
  Object->DragPos = P;
  if (TDragImageList* Images = Object->GetDragImages()) Images->DragMove(P.x, P.y);
  TControl* Target = FindDragTarget(P, false);
  if (Target != Object->DragTarget) {
    if (Object->DragTarget) SendDrag(Object->DragTarget, dmDragLeave, Object);
    Object->DragTarget = Target;
    Object->Accepted = Target && SendDrag(Target, dmDragEnter, Object) != 0;
    if (Drag.EndPending) return;
  }
  if (Target) Object->Accepted = SendDrag(Target, dmDragMove, Object) != 0;
  if (Screen) ::SetCursor(Screen->Cursors(Object->GetDragCursor(Object->Accepted, P.x, P.y)));
}

// The end: the drop (or the leave) at the target and the capture given back; the
// dragged control's end step follows when the loop is left.
void Finish(TActiveDrag& Drag, bool Drop) {
  TDragObject* Object = Drag.Object;
  if (TDragImageList* Images = Object->GetDragImages()) Images->EndDrag();
  TControl* Target = Object->DragTarget;
  const bool Dropped = Target && Drop && Object->Accepted;
  if (Target) SendDrag(Target, Dropped ? dmDragDrop : dmDragLeave, Object);
  if (GetCapture() == Drag.CaptureWindow) ReleaseCapture();
  if (Screen) ::SetCursor(Screen->Cursors(crDefault));
  Drag.DroppedOn = Dropped ? Target : nullptr;
  Drag.EndAt = (Dropped ? Target : Drag.Control)->ScreenToClient(Object->DragPos);
  Active = nullptr;
}

// Waits until the mouse has moved Threshold pixels with the button down; false when
// the button comes up or Escape is pressed first.
bool WaitForThreshold(HWND Window, int Threshold) {
  POINT Start;
  GetCursorPos(&Start);
  SetCapture(Window);
  for (;;) {
    MSG Msg;
    if (!GetMessageA(&Msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
    if (Msg.message == WM_MOUSEMOVE) {
      const TPoint P = ScreenPointOf(Msg);
      if (std::abs(P.x - Start.x) >= Threshold || std::abs(P.y - Start.y) >= Threshold) return true;
      continue;
    }
    if (Msg.message == WM_LBUTTONUP || (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE)) break;
    if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) continue;
    DispatchMessageA(&Msg);
    if (GetCapture() != Window) return false;
  }
  if (GetCapture() == Window) ReleaseCapture();
  return false;
}

}  // namespace

TCursor TDragObject::GetDragCursor(bool Accepted, int /*X*/, int /*Y*/) {
  return Accepted && FControl ? FControl->DragCursor() : crNo;
}

TDragImageList* TDragObject::GetDragImages() { return FControl ? FControl->GetDragImages() : nullptr; }

void TDragObject::HideDragImage() {
  if (TDragImageList* Images = GetDragImages()) Images->HideDragImage();
}

void TDragObject::ShowDragImage() {
  if (TDragImageList* Images = GetDragImages()) Images->ShowDragImage();
}

TDragObject* CurrentDrag() { return Active ? Active->Object : nullptr; }

bool TControl::Dragging() const { return Active && Active->Control == this; }

void TControl::BeginDrag(bool Immediate, int Threshold) {
  if (Active) return;
  TWinControl* Window = ObjectAs<TWinControl>(this);
  if (!Window) Window = Parent();
  if (!Window || !Window->HandleAllocated()) return;
  const HWND CaptureWindow = Window->Handle();
  if (!Immediate) {
    if (Threshold < 0) Threshold = GetSystemMetrics(SM_CXDRAG);
    if (!WaitForThreshold(CaptureWindow, Threshold)) return;
  }
  TDragObject* Given = nullptr;
  DoStartDrag(Given);
  TDragObject* Object = Given ? Given : NewObject<TDragObject>(this);
  TActiveDrag Drag{this, Object, CaptureWindow};
  Active = &Drag;
  // A handler that raises ends the drag on its way out.
  TScopeExit Cleanup([&] {
    if (Active == &Drag) Active = nullptr;
    if (GetCapture() == CaptureWindow) ReleaseCapture();
    if (TDragImageList* Images = Object->GetDragImages()) Images->EndDrag();
    if (!Given) Object->Free();
  });
  SetCaptureControl(nullptr);
  SetCapture(CaptureWindow);
  {
    POINT Start;
    GetCursorPos(&Start);
    Object->DragPos = TPoint{Start.x, Start.y};
    if (TDragImageList* Images = Object->GetDragImages()) Images->BeginDrag(nullptr, Start.x, Start.y);
  }
  while (Active == &Drag) {
    if (Drag.EndPending) {
      Finish(Drag, Drag.DropPending);
      break;
    }
    if (GetCapture() != CaptureWindow) {  // another window took the mouse
      Finish(Drag, false);
      break;
    }
    MSG Msg;
    if (!GetMessageA(&Msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      Finish(Drag, false);
      break;
    }
    switch (Msg.message) {
      case WM_MOUSEMOVE: DragTo(Drag, ScreenPointOf(Msg)); break;
      case WM_LBUTTONUP:
        DragTo(Drag, ScreenPointOf(Msg));
        if (!Drag.EndPending) Finish(Drag, true);
        break;
      case WM_KEYDOWN:
        if (Msg.wParam == VK_ESCAPE)
          Finish(Drag, false);
        else
          Drag.Control->Perform(Msg.message, Msg.wParam, Msg.lParam);
        break;
      default:
        if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) break;
        if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) break;
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
        break;
    }
  }
  DoEndDrag(Drag.DroppedOn, Drag.EndAt.x, Drag.EndAt.y);
}

void TControl::EndDrag(bool Drop) {
  if (!Dragging()) return;
  Active->EndPending = true;
  Active->DropPending = Drop;
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag.Assigned()) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag.Assigned()) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = OnDragOver.Assigned();
  if (Accept) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop.Assigned()) OnDragDrop(this, Source, X, Y);
}

// The events see the dragged control as the source (the drag object when it has none).
void TControl::CMDrag(TMessage& Message) {
  auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
  if (!Rec || !Rec->Source) return;
  TObject* Source = Rec->Source->Control() ? static_cast<TObject*>(Rec->Source->Control()) : Rec->Source;
  const TPoint P = ScreenToClient(Rec->Pos);
  switch (static_cast<TDragMessage>(Message.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      const TDragState State = Message.WParam == dmDragEnter   ? dsDragEnter
                               : Message.WParam == dmDragLeave ? dsDragLeave
                                                               : dsDragMove;
      bool Accept = false;
      DragOver(Source, P.x, P.y, State, Accept);
      Message.Result = Accept ? 1 : 0;
      break;
    }
    case dmDragDrop: DragDrop(Source, P.x, P.y); break;
    case dmFindTarget: Message.Result = reinterpret_cast<LRESULT>(this); break;
    case dmDragCancel: break;
  }
}

void TControl::AdjustSize() {
  if (!AutoSize()) return;
  int W = Width(), H = Height();
  if (CanAutoSize(W, H) && (W != Width() || H != Height())) SetBounds(Left(), Top(), W, H);
}
