#include "classlib/FlatScrollBars.h"

#include <commctrl.h>

namespace {

struct TFlatScrollBarApi {
  BOOL(WINAPI* Initialize)(HWND) = nullptr;
  HRESULT(WINAPI* Uninitialize)(HWND) = nullptr;
  BOOL(WINAPI* SetScrollProp)(HWND, UINT, INT_PTR, BOOL) = nullptr;
  BOOL(WINAPI* GetScrollInfo)(HWND, int, LPSCROLLINFO) = nullptr;
  int(WINAPI* SetScrollInfo)(HWND, int, LPSCROLLINFO, BOOL) = nullptr;
  BOOL(WINAPI* ShowScrollBar)(HWND, int, BOOL) = nullptr;
};

template <class F>
void Resolve(HMODULE Module, const char* Name, F& Function) {
  Function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

const TFlatScrollBarApi& Api() {
  static const TFlatScrollBarApi Bound = [] {
    TFlatScrollBarApi A;
    if (HMODULE Module = GetModuleHandleA("comctl32.dll")) {
      Resolve(Module, "InitializeFlatSB", A.Initialize);
      Resolve(Module, "UninitializeFlatSB", A.Uninitialize);
      Resolve(Module, "FlatSB_SetScrollProp", A.SetScrollProp);
      Resolve(Module, "FlatSB_GetScrollInfo", A.GetScrollInfo);
      Resolve(Module, "FlatSB_SetScrollInfo", A.SetScrollInfo);
      Resolve(Module, "FlatSB_ShowScrollBar", A.ShowScrollBar);
    }
    return A;
  }();
  return Bound;
}

}  // namespace

bool FlatSBAvailable() { return Api().Initialize != nullptr; }

BOOL FlatSBInitialize(HWND Wnd) { return Api().Initialize ? Api().Initialize(Wnd) : FALSE; }

BOOL FlatSBUninitialize(HWND Wnd) { return Api().Uninitialize ? SUCCEEDED(Api().Uninitialize(Wnd)) : FALSE; }

BOOL FlatSBSetScrollProp(HWND Wnd, UINT Index, INT_PTR Value, BOOL Redraw) {
  return Api().SetScrollProp ? Api().SetScrollProp(Wnd, Index, Value, Redraw) : FALSE;
}

BOOL FlatSBGetScrollInfo(HWND Wnd, int Bar, SCROLLINFO& Info) {
  return Api().GetScrollInfo ? Api().GetScrollInfo(Wnd, Bar, &Info) : GetScrollInfo(Wnd, Bar, &Info);
}

int FlatSBSetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO& Info, BOOL Redraw) {
  SCROLLINFO Copy = Info;
  return Api().SetScrollInfo ? Api().SetScrollInfo(Wnd, Bar, &Copy, Redraw) : SetScrollInfo(Wnd, Bar, &Copy, Redraw);
}

BOOL FlatSBShowScrollBar(HWND Wnd, int Bar, BOOL Show) {
  return Api().ShowScrollBar ? Api().ShowScrollBar(Wnd, Bar, Show) : ShowScrollBar(Wnd, Bar, Show);
}
