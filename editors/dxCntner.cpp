#include "editors/dxCntner.h"

#include <windows.h>
#include <commctrl.h>

#include "classlib/FlatScrollBars.h"
#include "classlib/FormatSettings.h"
#include "editors/dxCntner_Style.h"

TCLASS_IMPL(TCustomdxContainer)

int FlatScrollBarMode(TdxLookAndFeel Value) {
  switch (Value) {
    case lfFlat: return FSB_ENCARTA_MODE;
    case lfUltraFlat: return FSB_FLAT_MODE;
    default: return FSB_REGULAR_MODE;
  }
}

void TCustomdxContainer::MouseWheelScroll(bool Up, int Lines) {
  if (Lines == -1) {
    // WHEEL_PAGESCROLL: a notch scrolls one screen.
    SendMessageA(Handle(), WM_VSCROLL, Up ? SB_PAGEUP : SB_PAGEDOWN, 0);
    return;
  }
  for (int I = 0; I < Lines; ++I) SendMessageA(Handle(), WM_VSCROLL, Up ? SB_LINEUP : SB_LINEDOWN, 0);
}

TdxEditStyle* TCustomdxContainer::CreateEditStyle(TdxInplaceEdit* Edit) {
  return NewObject<TdxEditStyle>(Edit);
}

void TCustomdxContainer::DoEditKeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown.Assigned()) OnKeyDown(this, Key, Shift);
}

bool TCustomdxContainer::GetScrollInfo(int Bar, SCROLLINFO& Info) {
  return FlatSBGetScrollInfo(Handle(), Bar, Info) != FALSE;
}

int TCustomdxContainer::SetScrollInfo(int Bar, const SCROLLINFO& Info, bool Redraw) {
  return FlatSBSetScrollInfo(Handle(), Bar, Info, Redraw);
}

void TCustomdxContainer::SetLookAndFeel(TdxLookAndFeel Value) {
  if (FLookAndFeel == Value) return;
  FLookAndFeel = Value;
  RecreateWnd();
}

void TCustomdxContainer::CreateWnd() {
  inherited::CreateWnd();
  if (!SysLocale.MiddleEast) FlatSBInitialize(FHandle);
  const int Mode = FlatScrollBarMode(FLookAndFeel);
  FlatSBSetScrollProp(FHandle, WSB_PROP_HSTYLE, Mode, TRUE);
  FlatSBSetScrollProp(FHandle, WSB_PROP_VSTYLE, Mode, TRUE);
}

void TCustomdxContainer::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
  }
  inherited::Dispatch(Message);
}

void TCustomdxContainer::WMMouseWheel(TMessage& Message) {
  inherited::Dispatch(Message);
  bool Up = GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0;
  MouseWheelScroll(Up, Mouse->WheelScrollLines());
}
