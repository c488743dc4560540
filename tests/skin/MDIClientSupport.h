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

// How far the client's visible children reach beyond its area, per bar (0 horizontal,
// 1 vertical): Before (left, top) and After (right, bottom); 0 when not beyond.
inline void ChildrenReach(HWND Client, int Before[2], int After[2]) {
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
  Before[0] = Area.left - Covered.left;
  Before[1] = Area.top - Covered.top;
  After[0] = Covered.right - Area.right;
  After[1] = Covered.bottom - Area.bottom;
}

// Whether the client shows the scroll bar Bar (0 horizontal, 1 vertical).
inline bool ShowsScrollBar(HWND Client, int Bar) {
  return (GetWindowLongA(Client, GWL_STYLE) & (Bar == 0 ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

// What disagrees between the client's scroll bars and its visible children, or
// nothing: a bar shows exactly in a direction in which a visible child lies outside the
// client, none while a child is maximized, and a bar's range reaches as far as the
// children do on either side of the client (so that an arrow stops at the end).
inline std::string ScrollBarDisagreement(HWND Client, bool ChildMaximized) {
  const bool Shown[2] = {ShowsScrollBar(Client, 0), ShowsScrollBar(Client, 1)};
  if (ChildMaximized) return Shown[0] || Shown[1] ? "a scroll bar shows while a child is maximized" : "";
  int Before[2], After[2];
  ChildrenReach(Client, Before, After);
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
