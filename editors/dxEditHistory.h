// The steps of a one-line editor's text that an undo and a redo move through.
//
// A step of the user's (a character typed over a selection, a paste through a mask, a
// spin step, a choice from a list) may be several edits of the window: the mask blanks
// the selection before the character lands, a refused paste is undone by a text put
// back. The control's own undo takes back only the last of them, and never the part of
// the value the text does not show, nor whether the text was edited. So the editor keeps
// its own steps: the state before each of the user's changes.
//
// A step keeps of the text only the part the change replaced (a key typed into a long
// line keeps one character, not the line), and the steps kept are bounded in number and
// in bytes, the oldest going first. A step the memory cannot hold is no failure of the
// change: the steps are forgotten and the editor goes on without them.
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
  // The most steps kept, and the most bytes of text they keep together: past either, the
  // oldest go first.
  static constexpr std::size_t Limit = 100;
  static constexpr std::size_t ByteLimit = std::size_t{4} << 20;

  bool CanUndo() const { return !FDone.empty(); }
  bool CanRedo() const { return !FUndone.empty(); }
  // Before is the state a change of the user's started from, After the text it left.
  void Changed(const TdxEditState& Before, const AnsiString& After);
  // The state an undo goes back to (Now is the state it leaves, which a redo gives back);
  // false when there is none.
  bool Undo(const TdxEditState& Now, TdxEditState& Back);
  // The state a redo gives back (Now is the state it leaves); false when there is none.
  bool Redo(const TdxEditState& Now, TdxEditState& Forward);
  void Clear();
  // The bytes the steps kept hold.
  std::size_t Bytes() const { return FBytes; }

 private:
  // A state kept against the text of the state next to it: the characters [Start,
  // Start + Length) of that text (Size long) replaced by Text give this state's text.
  struct TStep {
    std::size_t Start = 0;
    std::size_t Length = 0;
    std::size_t Size = 0;
    AnsiString Text;
    TdxHiddenValueRef Hidden;
    bool Modified = false;
    int SelStart = 0;
    int SelStop = 0;
  };
  using TSteps = std::deque<TStep>;

  // State kept as the step that gives it back from the text Next.
  static TStep StepTo(const TdxEditState& State, const AnsiString& Next);
  static std::size_t BytesOf(const TStep& Step) { return sizeof(TStep) + Step.Text.size(); }
  // Step goes on the end of Steps; then the oldest go while the steps are past a bound.
  void Push(TSteps& Steps, TStep Step);
  // The oldest step of Steps goes.
  void Drop(TSteps& Steps);
  // The last step of From gives State back from Now, and Now goes onto To; false when From
  // holds none, or one taken on another text (which forgets every step).
  bool Move(TSteps& From, TSteps& To, const TdxEditState& Now, TdxEditState& State);

  TSteps FDone;
  TSteps FUndone;
  std::size_t FBytes = 0;
};
