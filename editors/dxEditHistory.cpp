#include "editors/dxEditHistory.h"

#include <algorithm>
#include <new>
#include <utility>

TdxEditHistory::TStep TdxEditHistory::StepTo(const TdxEditState& State, const AnsiString& Next) {
  const AnsiString& Text = State.Text;
  const std::size_t Shorter = std::min(Text.size(), Next.size());
  const auto Head = static_cast<std::size_t>(
      std::mismatch(Text.begin(), Text.begin() + static_cast<std::ptrdiff_t>(Shorter), Next.begin()).first -
      Text.begin());
  const auto Tail = static_cast<std::size_t>(
      std::mismatch(Text.rbegin(), Text.rbegin() + static_cast<std::ptrdiff_t>(Shorter - Head), Next.rbegin())
          .first -
      Text.rbegin());
  TStep Step;
  Step.Start = Head;
  Step.Length = Next.size() - Head - Tail;
  Step.Size = Next.size();
  Step.Text = Text.substr(Head, Text.size() - Head - Tail);
  Step.Hidden = State.Hidden;
  Step.Modified = State.Modified;
  Step.SelStart = State.SelStart;
  Step.SelStop = State.SelStop;
  return Step;
}

void TdxEditHistory::Changed(const TdxEditState& Before, const AnsiString& After) {
  while (!FUndone.empty()) Drop(FUndone);
  try {
    Push(FDone, StepTo(Before, After));
  } catch (const std::bad_alloc&) {
    Clear();
  }
}

bool TdxEditHistory::Undo(const TdxEditState& Now, TdxEditState& Back) { return Move(FDone, FUndone, Now, Back); }

bool TdxEditHistory::Redo(const TdxEditState& Now, TdxEditState& Forward) {
  return Move(FUndone, FDone, Now, Forward);
}

void TdxEditHistory::Clear() {
  FDone.clear();
  FUndone.clear();
  FBytes = 0;
}

void TdxEditHistory::Push(TSteps& Steps, TStep Step) {
  const std::size_t Bytes = BytesOf(Step);
  Steps.push_back(std::move(Step));
  FBytes += Bytes;
  if (Steps.size() > Limit) Drop(Steps);
  // The oldest step done goes first, and the furthest undone once none is left.
  while (FBytes > ByteLimit && !(FDone.empty() && FUndone.empty())) Drop(FDone.empty() ? FUndone : FDone);
}

void TdxEditHistory::Drop(TSteps& Steps) {
  FBytes -= BytesOf(Steps.front());
  Steps.pop_front();
}

bool TdxEditHistory::Move(TSteps& From, TSteps& To, const TdxEditState& Now, TdxEditState& State) {
  if (From.empty()) return false;
  const TStep& Step = From.back();
  if (Step.Size != Now.Text.size()) {
    Clear();
    return false;
  }
  try {
    TdxEditState Found;
    Found.Text.reserve(Step.Size - Step.Length + Step.Text.size());
    Found.Text.append(Now.Text, 0, Step.Start).append(Step.Text).append(Now.Text, Step.Start + Step.Length);
    Found.Hidden = Step.Hidden;
    Found.Modified = Step.Modified;
    Found.SelStart = Step.SelStart;
    Found.SelStop = Step.SelStop;
    TStep Back = StepTo(Now, Found.Text);
    FBytes -= BytesOf(Step);
    From.pop_back();
    Push(To, std::move(Back));
    State = std::move(Found);
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  return true;
}
