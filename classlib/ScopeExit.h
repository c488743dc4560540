// A clean-up that runs when a scope ends, however it ends:
//
//   auto Closer = ScopeExit([&] { CloseClipboard(); });
//
// Dismiss() cancels it, for a clean-up that only undoes a step when what follows fails:
//
//   auto Undo = ScopeExit([&] { GlobalFree(Data); });
//   Hand(Data);       // may raise
//   Undo.Dismiss();   // the data belongs to its new owner now
//
// The clean-up runs while an exception may be unwinding, so it must not raise.
#pragma once

#include <utility>

template <class TAction>
class TScopeExit {
 public:
  explicit TScopeExit(TAction Action) : FAction(std::move(Action)) {}
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  ~TScopeExit() {
    if (FActive) FAction();
  }

  void Dismiss() { FActive = false; }

 private:
  TAction FAction;
  bool FActive = true;
};

template <class TAction>
[[nodiscard]] TScopeExit<TAction> ScopeExit(TAction Action) {
  return TScopeExit<TAction>(std::move(Action));
}
