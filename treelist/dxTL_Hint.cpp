// The tree list's corner-button hint (a delay timer, then a display timer, over the
// container's hint window) and the window messages of keys, timers and destruction.
// Messages that other handlers take too (destruction, the mouse leaving, a cancelled
// mode) are passed on after the hint is hidden.
#include "classlib/GdiScopes.h"
#include "classlib/Messages.h"
#include "editors/dxCntner_Hint.h"
#include "treelist/dxTL.h"

namespace {

constexpr UINT_PTR CornerShowTimerId = 110;
constexpr UINT_PTR CornerHideTimerId = 111;
constexpr UINT CornerShowDelay = 1000;
constexpr UINT CornerShowTime = 5000;

}  // namespace

bool TCustomdxTreeList::GetCornerButtonRect(TRect& Rect) {
  TdxTreeListDrawInfo DI;
  CalcRegions(DI);
  TRect Area = DI.BandButtonRect;
  if (IsRectEmpty(&Area)) Area = DI.HeaderButtonRect;
  if (IsRectEmpty(&Area)) return false;
  const int Left = Area.left + 3;
  const int Top = Area.top + (Area.bottom - Area.top - 11) / 2;
  Rect = TRect(Left, Top, Left + 12, Top + 11);
  return true;
}

void TCustomdxTreeList::ShowCornerHint(bool Now) {
  HideCornerHint();
  if (!HandleAllocated()) return;
  if (!Now) {
    FCornerShowTimer = SetTimer(Handle(), CornerShowTimerId, CornerShowDelay, nullptr);
    return;
  }
  TRect Button;
  if (!GetCornerButtonRect(Button)) return;
  SIZE Extent{0, 0};
  {
    TScreenDC Screen;
    TSelection Font(Screen.DC(), this->Font()->Handle());
    GetTextExtentPoint32A(Screen.DC(), "Wg", 2, &Extent);
  }
  const TPoint Point = ClientToScreen(TPoint(Button.right + 4, Button.top - Extent.cy));
  auto* Hint = NewObject<TdxContainerHintWindow>(nullptr);
  FCornerHint = Hint;
  Hint->ActivateHint(Point, GetHintText(), this->Font());
  FCornerHideTimer = SetTimer(Handle(), CornerHideTimerId, CornerShowTime, nullptr);
}

void TCustomdxTreeList::HideCornerHint() {
  if (FCornerShowTimer) {
    if (HandleAllocated()) KillTimer(Handle(), CornerShowTimerId);
    FCornerShowTimer = 0;
  }
  if (FCornerHideTimer) {
    if (HandleAllocated()) KillTimer(Handle(), CornerHideTimerId);
    FCornerHideTimer = 0;
  }
  if (FCornerHint) {
    TCustomControl* Hint = FCornerHint;
    FCornerHint = nullptr;
    Hint->Free();
  }
}

void TCustomdxTreeList::TrackCornerButton(const TPoint& P, bool Idle) {
  TRect Button;
  const bool Over = GetCornerButtonRect(Button) && PtInRect(&Button, P);
  if (Over == FMouseOverCornerButton) return;
  FMouseOverCornerButton = Over;
  InvalidateArea(Button);
  if (Over && Idle)
    ShowCornerHint(false);
  else
    HideCornerHint();
}

// ---------------------------------------------------------------------------------
// Messages

bool TCustomdxTreeList::DispatchKeyMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: {
      LRESULT Code = DLGC_WANTARROWS;
      if (IsEditing() || FSearching)
        Code |= DLGC_WANTCHARS;
      else if (IsAutoSearch() && GetKeyStateProc(VK_MENU) >= 0)
        Code |= DLGC_WANTCHARS;
      if (WantTabs()) Code |= DLGC_WANTTAB;
      Message.Result = Code;
      return true;
    }
    case WM_DESTROY:
      HideCornerHint();
      return false;
    case WM_TIMER:
      if (Message.WParam != CornerShowTimerId && Message.WParam != CornerHideTimerId) return false;
      inherited::Dispatch(Message);
      if (Message.WParam == CornerShowTimerId)
        ShowCornerHint(true);
      else
        HideCornerHint();
      return true;
    case WM_IME_STARTCOMPOSITION:
      inherited::Dispatch(Message);
      if (IsEditing() && FFocusedNode) ShowEditor();
      return true;
    case CM_DESIGNHITTEST:
      // Never at design time here: the mouse never acts on the control for a designer.
      Message.Result = 0;
      return true;
    case CM_MOUSELEAVE:
      FMouseOverCornerButton = false;
      HideCornerHint();
      return false;
    default:
      return false;
  }
}
