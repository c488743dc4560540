// Shared by the tests of the kit's MDI parent: what its client's scroll bars should
// show for the children it holds, and a bound on a message loop that keeps asking for
// more (a change of size that asks for another, for ever).
#pragma once

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>

namespace mditest {

// What disagrees between the client's scroll bars and its visible children, or
// nothing: a bar shows exactly in a direction in which a visible child lies outside the
// client, none while a child is maximized, and a bar's range reaches as far as the
// children do on either side of the client (so that an arrow stops at the end).
inline std::string ScrollBarDisagreement(HWND Client, bool ChildMaximized) {
  RECT Area;
  GetClientRect(Client, &Area);
  RECT Covered = Area;
  for (HWND Child = GetWindow(Client, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT)) {
    if (!(GetWindowLongA(Child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT R;
    GetWindowRect(Child, &R);
    MapWindowPoints(HWND_DESKTOP, Client, reinterpret_cast<POINT*>(&R), 2);
    UnionRect(&Covered, &Covered, &R);
  }
  const LONG Style = GetWindowLongA(Client, GWL_STYLE);
  const bool Shown[2] = {(Style & WS_HSCROLL) != 0, (Style & WS_VSCROLL) != 0};
  if (ChildMaximized) return Shown[0] || Shown[1] ? "a scroll bar shows while a child is maximized" : "";
  // Per bar: how far the children reach beyond the client before and after it.
  const int Before[2] = {Area.left - Covered.left, Area.top - Covered.top};
  const int After[2] = {Covered.right - Area.right, Covered.bottom - Area.bottom};
  const char* const Names[2] = {"horizontal", "vertical"};
  for (int Bar = 0; Bar < 2; ++Bar) {
    const std::string Name = Names[Bar];
    const bool Outside = Before[Bar] > 0 || After[Bar] > 0;
    if (Shown[Bar] != Outside)
      return "the " + Name + " bar " + (Shown[Bar] ? "shows with no child outside" : "is missing for a child outside") +
             " (" + std::to_string(Before[Bar]) + " before, " + std::to_string(After[Bar]) + " after)";
    if (!Shown[Bar]) continue;
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_ALL;
    GetScrollInfo(Client, Bar == 0 ? SB_HORZ : SB_VERT, &Info);
    const int Last = Info.nMax - std::max<int>(static_cast<int>(Info.nPage) - 1, 0);
    if (Info.nPos - Info.nMin != Before[Bar] || Last - Info.nPos != After[Bar])
      return "the " + Name + " bar's range reaches " + std::to_string(Info.nPos - Info.nMin) + " before and " +
             std::to_string(Last - Info.nPos) + " after, the children " + std::to_string(Before[Bar]) + " and " +
             std::to_string(After[Bar]);
  }
  return "";
}

// While it lives, a message that the thread's queue gives the same window more than
// Limit times is dropped from then on (a waiting paint validated), so that a loop of
// messages asking for one another ends; Tripped() tells that it happened.
class TMessageLoopGuard {
 public:
  explicit TMessageLoopGuard(int ALimit = 200) : FLimit(ALimit) {
    FPrevious = Current;
    Current = this;
    FHook = SetWindowsHookExA(WH_GETMESSAGE, &TMessageLoopGuard::Hook, nullptr, GetCurrentThreadId());
  }
  TMessageLoopGuard(const TMessageLoopGuard&) = delete;
  TMessageLoopGuard& operator=(const TMessageLoopGuard&) = delete;
  ~TMessageLoopGuard() {
    if (FHook) UnhookWindowsHookEx(FHook);
    Current = FPrevious;
  }
  bool Tripped() const { return FTripped; }
  // Counts afresh (for the next step).
  void Reset() {
    FTaken.clear();
    FTripped = false;
  }

 private:
  static LRESULT CALLBACK Hook(int Code, WPARAM Removed, LPARAM LParam) {
    auto* Msg = reinterpret_cast<MSG*>(LParam);
    if (Code == HC_ACTION && Removed == PM_REMOVE && Current &&
        ++Current->FTaken[{Msg->hwnd, Msg->message}] > Current->FLimit) {
      Current->FTripped = true;
      if (Msg->message == WM_PAINT && Msg->hwnd) ValidateRect(Msg->hwnd, nullptr);
      Msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, Code, Removed, LParam);
  }
  static inline TMessageLoopGuard* Current = nullptr;
  TMessageLoopGuard* FPrevious = nullptr;
  HHOOK FHook = nullptr;
  int FLimit;
  std::map<std::pair<HWND, UINT>, int> FTaken;
  bool FTripped = false;
};

}  // namespace mditest
