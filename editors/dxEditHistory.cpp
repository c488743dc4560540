#include "editors/dxEditHistory.h"

#include <utility>

void TdxEditHistory::Changed(TdxEditState Before) {
  FUndone.clear();
  FDone.push_back(std::move(Before));
  if (FDone.size() > Limit) FDone.pop_front();
}

bool TdxEditHistory::Undo(TdxEditState Now, TdxEditState& Back) {
  if (FDone.empty()) return false;
  Back = std::move(FDone.back());
  FDone.pop_back();
  FUndone.push_back(std::move(Now));
  return true;
}

bool TdxEditHistory::Redo(TdxEditState Now, TdxEditState& Forward) {
  if (FUndone.empty()) return false;
  Forward = std::move(FUndone.back());
  FUndone.pop_back();
  FDone.push_back(std::move(Now));
  return true;
}

void TdxEditHistory::Clear() {
  FDone.clear();
  FUndone.clear();
}
