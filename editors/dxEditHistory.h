// The steps of a one-line editor's text that an undo and a redo move through.
//
// A step of the user's (a character typed over a selection, a paste through a mask, a
// spin step, a choice from a list) may be several edits of the window: the mask blanks
// the selection before the character lands, a refused paste is undone by a text put
// back. The control's own undo takes back only the last of them, and never the part of
// the value the text does not show, nor whether the text was edited. So the editor keeps
// its own steps: the state before each of the user's changes, whole.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>

#include "classlib/SysTypes.h"

// What an editor's value holds that its text does not say (the seconds of a time whose
// format shows none, the date a text was written for), kept beside a text the editor
// showed so that the text brings it back. Each editor kind keeps its own.
class TdxHiddenValue {
 public:
  virtual ~TdxHiddenValue() = default;
};
using TdxHiddenValueRef = std::shared_ptr<const TdxHiddenValue>;

// One state of an editor the user saw: its text, what its value held besides, whether it
// was edited, and the selection.
struct TdxEditState {
  AnsiString Text;
  TdxHiddenValueRef Hidden;
  bool Modified = false;
  int SelStart = 0;
  int SelStop = 0;
};

// The states before the user's changes (to undo them) and after the changes undone (to
// redo them), the latest last. A new change forgets what was undone.
class TdxEditHistory {
 public:
  // The most steps kept: the oldest goes first.
  static constexpr std::size_t Limit = 100;

  bool CanUndo() const { return !FDone.empty(); }
  bool CanRedo() const { return !FUndone.empty(); }
  // Before is the state a change of the user's started from.
  void Changed(TdxEditState Before);
  // The state an undo goes back to (Now is the state it leaves, which a redo gives back);
  // false when there is none.
  bool Undo(TdxEditState Now, TdxEditState& Back);
  // The state a redo gives back (Now is the state it leaves); false when there is none.
  bool Redo(TdxEditState Now, TdxEditState& Forward);
  void Clear();

 private:
  // State goes on the end of Steps, which keeps the latest Limit.
  static void Push(std::deque<TdxEditState>& Steps, TdxEditState State);
  // The last state of From comes off into State, and Now goes onto To; false when From
  // holds none.
  static bool Move(std::deque<TdxEditState>& From, std::deque<TdxEditState>& To, TdxEditState Now,
                   TdxEditState& State);

  std::deque<TdxEditState> FDone;
  std::deque<TdxEditState> FUndone;
};
