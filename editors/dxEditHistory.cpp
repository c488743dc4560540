#include "editors/dxEditHistory.h"

#include <utility>

void TdxEditHistory::Changed(TdxEditState Before) {
  FUndone.clear();
  Push(FDone, std::move(Before));
}

bool TdxEditHistory::Undo(TdxEditState Now, TdxEditState& Back) { return Move(FDone, FUndone, std::move(Now), Back); }

bool TdxEditHistory::Redo(TdxEditState Now, TdxEditState& Forward) {
  return Move(FUndone, FDone, std::move(Now), Forward);
}

void TdxEditHistory::Clear() {
  FDone.clear();
  FUndone.clear();
}

void TdxEditHistory::Push(std::deque<TdxEditState>& Steps, TdxEditState State) {
  Steps.push_back(std::move(State));
  if (Steps.size() > Limit) Steps.pop_front();
}

bool TdxEditHistory::Move(std::deque<TdxEditState>& From, std::deque<TdxEditState>& To, TdxEditState Now,
                          TdxEditState& State) {
  if (From.empty()) return false;
  State = std::move(From.back());
  From.pop_back();
  Push(To, std::move(Now));
  return true;
}
