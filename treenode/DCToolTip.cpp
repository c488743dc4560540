#include "treenode/DCToolTip.h"

#include <commctrl.h>

#include "classlib/ModuleInit.h"

namespace {

TOOLINFOA ToolInfo(UINT_PTR Id, HWND Window, bool Subclass, const char* Text,
                   const TRect& Rect) {
  TOOLINFOA Info{};
  Info.cbSize = ToolInfoSize;
  Info.uFlags = Subclass ? TTF_SUBCLASS : 0;
  Info.hwnd = Window;
  Info.uId = Id;
  Info.rect = Rect;
  Info.hinst = HInstance;
  Info.lpszText = const_cast<char*>(Text);
  return Info;
}

LRESULT Send(const TToolTipHolder& Holder, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessageA(Holder.ToolTipHandle(), Msg, WParam, LParam);
}

}  // namespace

void ActivateToolTip(const TToolTipHolder& Holder) {
  Send(Holder, TTM_ACTIVATE, static_cast<WPARAM>(-1), 0);
}

void DeactivateToolTip(const TToolTipHolder& Holder) { Send(Holder, TTM_ACTIVATE, 0, 0); }

bool ToolTipAllocated(const TToolTipHolder& Holder) { return Holder.ToolTipHandle() != nullptr; }

void SetToolTipMaxWidth(const TToolTipHolder& Holder, int Width) {
  Send(Holder, TTM_SETMAXTIPWIDTH, 0, Width);
}

void AddToolTipTool(const TToolTipHolder& Holder, UINT_PTR Id, HWND Window, bool Subclass,
                    const char* Text, const TRect& Rect) {
  TOOLINFOA Info = ToolInfo(Id, Window, Subclass, Text, Rect);
  Send(Holder, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&Info));
}

void SetToolTipToolInfo(const TToolTipHolder& Holder, UINT_PTR Id, HWND Window,
                        bool Subclass, const char* Text, const TRect& Rect) {
  TOOLINFOA Info = ToolInfo(Id, Window, Subclass, Text, Rect);
  Send(Holder, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&Info));
}
