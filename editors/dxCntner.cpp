#include "editors/dxCntner.h"

#include <windows.h>
#include <commctrl.h>

#include <type_traits>

#include "classlib/FormatSettings.h"
#include "editors/dxCntner_Style.h"

TCLASS_IMPL(TCustomdxContainer)

namespace {

// The flat-scroll-bar functions of comctl32, which its import library leaves out. A
// comctl32 without them gets the plain scroll-bar functions, which is what flat bars
// fall back to anyway.
struct TFlatScrollBarApi {
  BOOL(WINAPI* Initialize)(HWND) = nullptr;
  BOOL(WINAPI* SetScrollProp)(HWND, UINT, INT_PTR, BOOL) = nullptr;
  BOOL(WINAPI* GetScrollInfo)(HWND, int, LPSCROLLINFO) = nullptr;
  int(WINAPI* SetScrollInfo)(HWND, int, LPSCROLLINFO, BOOL) = nullptr;
};

const TFlatScrollBarApi& FlatScrollBars() {
  static TFlatScrollBarApi Api;
  static bool Bound = false;
  if (!Bound) {
    Bound = true;
    if (HMODULE Library = GetModuleHandleA("comctl32.dll")) {
      auto Bind = [Library](auto& Proc, const char* Name) {
        Proc = reinterpret_cast<std::remove_reference_t<decltype(Proc)>>(
            reinterpret_cast<void*>(GetProcAddress(Library, Name)));
      };
      Bind(Api.Initialize, "InitializeFlatSB");
      Bind(Api.SetScrollProp, "FlatSB_SetScrollProp");
      Bind(Api.GetScrollInfo, "FlatSB_GetScrollInfo");
      Bind(Api.SetScrollInfo, "FlatSB_SetScrollInfo");
    }
  }
  return Api;
}

}  // namespace

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
  auto Get = FlatScrollBars().GetScrollInfo;
  return (Get ? Get(Handle(), Bar, &Info) : ::GetScrollInfo(Handle(), Bar, &Info)) != FALSE;
}

int TCustomdxContainer::SetScrollInfo(int Bar, const SCROLLINFO& Info, bool Redraw) {
  SCROLLINFO Copy = Info;
  auto Set = FlatScrollBars().SetScrollInfo;
  return Set ? Set(Handle(), Bar, &Copy, Redraw) : ::SetScrollInfo(Handle(), Bar, &Copy, Redraw);
}

void TCustomdxContainer::SetLookAndFeel(TdxLookAndFeel Value) {
  if (FLookAndFeel == Value) return;
  FLookAndFeel = Value;
  RecreateWnd();
}

void TCustomdxContainer::CreateWnd() {
  inherited::CreateWnd();
  const TFlatScrollBarApi& Api = FlatScrollBars();
  if (!SysLocale.MiddleEast && Api.Initialize) Api.Initialize(FHandle);
  if (Api.SetScrollProp) {
    int Mode = FlatScrollBarMode(FLookAndFeel);
    Api.SetScrollProp(FHandle, WSB_PROP_HSTYLE, Mode, TRUE);
    Api.SetScrollProp(FHandle, WSB_PROP_VSTYLE, Mode, TRUE);
  }
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
